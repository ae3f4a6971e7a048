#include "document/steps/StepPlayer.h"

#include <cstring>
#include <new>

#include "actions/TextForm.h"
#include "document/steps/AdjustmentReading.h"
#include "document/steps/Handlers.h"

namespace zem::document {
namespace {

using zem::actions::Event;

struct Route {
  const char* id;
  StepHandler handler;
};

const Route kRoutes[] = {
    {"make", steps::Make},
    {"set", steps::Set},
    {"select", steps::Select},
    {"delete", steps::Delete},
    {"hide", steps::Hide},
    {"show", steps::Show},
    {"duplicate", steps::Duplicate},
    {"copyToLayer", steps::CopyToLayer},
    {"move", steps::Move},
    {"flattenImage", steps::Flatten},
    {"mergeVisible", steps::MergeVisible},
    {"mergeLayersNew", steps::StampVisible},
    {"mergeLayers", steps::MergeDown},
    {"inverse", steps::Inverse},
    {"feather", steps::Feather},
    {"fill", steps::Fill},
    {"gaussianBlur", steps::Blur},
    {"unsharpMask", steps::Unsharp},
    {"highPass", steps::HighPassStep},
    {"imageSize", steps::ImageSize},
    {"canvasSize", steps::CanvasSize},
    {"crop", steps::Crop},
    {"flip", steps::FlipStep},
    {"rotateEventEnum", steps::Rotate},
    {"trim", steps::Trim},
    {"copyEvent", steps::CopyPixels},
    {"copyMerged", steps::CopyMerged},
    {"paste", steps::Paste},
    {"contract", steps::Contract},
    {"expand", steps::Expand},
};

// Steps that change nothing a preview shows.
const char* const kNoOps[] = {"stop", "collapseAllGroupsEvent", "expandAllGroupsEvent", "save", "export", "close",
                              "purge", "revert", "selectNoLayers_", "modalStateChanged", "setHistoryState"};

// Steps that reach outside the document: other files, scripts, other programs.
const char* const kOutside[] = {"AdobeScriptAutomation Scripts", "open", "placeEvent", "placedLayerReplaceContents",
                                "importAnnotation", "print", "batch", "Adobe Script Automation Scripts"};

// The four-character codes of the few events recorded in that form that map to a string ID.
struct CodeRoute {
  const char* code;
  const char* id;
};
const CodeRoute kCodes[] = {{"Mk  ", "make"}, {"setd", "set"}, {"slct", "select"}, {"Dlt ", "delete"},
                            {"Hd  ", "hide"}, {"Shw ", "show"}, {"Dplc", "duplicate"}, {"move", "move"},
                            {"Fl  ", "fill"}, {"GsnB", "gaussianBlur"}, {"UnsM", "unsharpMask"},
                            {"ImgS", "imageSize"}, {"CnvS", "canvasSize"}, {"Crop", "crop"}, {"Invr", "inverse"},
                            {"copy", "copyEvent"}, {"CpyM", "copyMerged"}, {"past", "paste"},
                            {"Cntc", "contract"}, {"Expn", "expand"}};

std::string IdOf(const Event& event) {
  if (event.idIsText) return event.textId;
  for (const CodeRoute& route : kCodes) {
    const auto* c = reinterpret_cast<const unsigned char*>(route.code);
    if (event.codeId == ((uint32_t(c[0]) << 24) | (uint32_t(c[1]) << 16) | (uint32_t(c[2]) << 8) | c[3])) return route.id;
  }
  return std::string();
}

}  // namespace

std::string EventIdText(const Event& event) {
  return event.idIsText ? KeyText(Id::Named(event.textId)) : zem::actions::QuotedCode(event.codeId);
}

StepResult PlayStep(Document& document, const Event& event, const hostsim::RowWorkers& workers) {
  const std::string id = IdOf(event);
  for (const char* noOp : kNoOps) {
    if (id == noOp) return {StepOutcome::NoOp, ""};
  }
  for (const char* outside : kOutside) {
    if (id == outside) return {StepOutcome::Refused, "it reaches outside the document (a script or another file)"};
  }
  // The document as it was, to go back to when a step is refused halfway: its layers share their
  // pixels with it, so that only what the step changes is copied.
  Document before = document;
  try {
    StepContext context{document, event.descriptor, event.hasDescriptor, workers};
    if (IsAdjustmentEvent(id)) return {steps::Adjust(context, id), ""};
    for (const Route& route : kRoutes) {
      if (id == route.id) return {route.handler(context), ""};
    }
    return {StepOutcome::Refused, "the step " + EventIdText(event) + " is not modelled"};
  } catch (const StepRefusal& refusal) {
    document = std::move(before);
    return {StepOutcome::Refused, refusal.why};
  } catch (const std::bad_alloc&) {
    document = std::move(before);
    return {StepOutcome::Refused, "there is not enough memory for it"};
  } catch (const std::exception& failure) {
    document = std::move(before);
    return {StepOutcome::Refused, failure.what()};
  }
}

}  // namespace zem::document
