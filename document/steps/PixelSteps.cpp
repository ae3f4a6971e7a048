// The steps that change a layer's pixels: adjustments applied directly, fill, and the filters.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "document/steps/AdjustmentReading.h"
#include "document/steps/Filters.h"
#include "document/steps/Handlers.h"

namespace zem::document::steps {
namespace {

// A radius recorded for a filter, in pixels, within what its dialog allows.
double Radius(const StepContext& step, const char* filter) {
  const Value* value = Find(step.descriptor, "Rds ");
  if (value == nullptr) Refuse(std::string(filter) + " has no radius (Rds)");
  const double radius = PixelsOf(*value, step.document.width(), std::string(filter) + "'s radius (Rds)");
  if (!(radius >= 0.1 && radius <= kMaxFilterRadius)) {
    Refuse(std::string(filter) + "'s radius of " + std::to_string(radius) + " pixels is outside 0.1..1000");
  }
  return radius;
}

}  // namespace

StepOutcome Adjust(StepContext& step, const std::string& id) {
  const Adjustment adjustment = ReadAdjustmentEvent(id, step.descriptor, step.hasDescriptor);
  Layer& layer = CurrentPixelLayer(step.document, AdjustmentName(adjustment));
  ChangePixelsWithinSelection(step.document, layer,
                              [&](hostsim::Image& image) { ApplyAdjustment(adjustment, image, step.workers); });
  return StepOutcome::Played;
}

StepOutcome Fill(StepContext& step) {
  Document& document = step.document;
  const Descriptor& d = step.descriptor;
  // The paint bucket: the fill limited to the colours near the one at its point.
  Mask bucket;
  if (const Value* from = Find(d, "From")) {
    int x = 0, y = 0;
    PointOf(*from, document, x, y);
    const int tolerance = int(NumberIn(Find(d, "Tlrn"), 0, 255, 32, "the tolerance (Tlrn)"));
    bucket = SimilarColour(document, x, y, tolerance, FlagOf(Find(d, "Cntg"), true, "contiguous (Cntg)"), step.workers);
    if (document.selection().active) {
      for (size_t i = 0; i < bucket.size(); ++i) bucket[i] = uint8_t(bucket[i] * document.selection().coverage[i] / 255);
    }
  }
  const Value* using_ = Find(d, "Usng");
  if (using_ == nullptr) Refuse("the fill names no content (Usng)");
  const Id& content = EnumOf(*using_, "the fill's content (Usng)").value;
  uint8_t colour[3];
  if (content.Is(MakeFourCC("FrgC"))) {
    std::memcpy(colour, document.foreground, 3);
  } else if (content.Is(MakeFourCC("BckC"))) {
    std::memcpy(colour, document.backgroundColour, 3);
  } else if (content.Is(MakeFourCC("Blck"))) {
    colour[0] = colour[1] = colour[2] = 0;
  } else if (content.Is(MakeFourCC("Wht "))) {
    colour[0] = colour[1] = colour[2] = 255;
  } else if (content.Is(MakeFourCC("Gry "))) {
    colour[0] = colour[1] = colour[2] = 128;
  } else if (content.Is(MakeFourCC("Clr "))) {
    const Value* value = Find(d, "Clr ");
    if (value == nullptr) Refuse("the fill with a colour has no colour (Clr)");
    double rgb[3];
    ColourOf(*value, rgb, "the fill colour");
    for (int c = 0; c < 3; ++c) colour[c] = uint8_t(std::lround(rgb[c]));
  } else {
    Refuse("a fill with " + KeyText(content) + " is not modelled (colours are)");
  }
  const float opacity = float(NumberIn(Find(d, "Opct"), 0, 100, 100, "the opacity (Opct)") / 100);
  BlendMode mode = BlendMode::Normal;
  if (const Value* modeValue = Find(d, "Md  ")) {
    const Id& id = EnumOf(*modeValue, "the blend mode (Md)").value;
    if (!BlendModeFromId(id.isFourCC, id.code, id.name, mode)) Refuse("the blend mode " + KeyText(id) + " is not known");
  }
  Layer& layer = CurrentPixelLayer(document, "Fill");
  hostsim::Image& pixels = Document::WritablePixels(layer);
  const int w = document.width();
  std::vector<uint8_t> row(size_t(w) * 3);
  for (int x = 0; x < w; ++x) std::memcpy(&row[size_t(x) * 3], colour, 3);
  SelectionMask selection = document.selection();
  if (!bucket.empty()) selection = SelectionMask{true, std::move(bucket)};
  for (int y = 0; y < document.height(); ++y) {
    const uint8_t* coverage = selection.active ? &selection.coverage[size_t(y) * w] : nullptr;
    BlendRow(mode, pixels.At(0, y), row.data(), nullptr, coverage, opacity, w);
  }
  if (layer.alpha) {
    Mask alpha = *layer.alpha;
    for (size_t i = 0; i < alpha.size(); ++i) {
      const float weight = opacity * (selection.active ? selection.coverage[i] / 255.0f : 1.0f);
      alpha[i] = uint8_t(alpha[i] + (255 - alpha[i]) * weight + 0.5f);
    }
    layer.alpha = std::make_shared<const Mask>(std::move(alpha));
  }
  return StepOutcome::Played;
}

StepOutcome Blur(StepContext& step) {
  const double radius = Radius(step, "Gaussian Blur");
  Layer& layer = CurrentPixelLayer(step.document, "Gaussian Blur");
  ChangePixelsWithinSelection(step.document, layer, [&](hostsim::Image& image) { GaussianBlur(image, radius, step.workers); });
  return StepOutcome::Played;
}

StepOutcome Unsharp(StepContext& step) {
  const double radius = Radius(step, "Unsharp Mask");
  const double amount = NumberIn(Find(step.descriptor, "Amnt"), 1, 500, 50, "the amount (Amnt)");
  const int threshold = int(NumberIn(Find(step.descriptor, "Thsh"), 0, 255, 0, "the threshold (Thsh)"));
  Layer& layer = CurrentPixelLayer(step.document, "Unsharp Mask");
  ChangePixelsWithinSelection(step.document, layer,
                              [&](hostsim::Image& image) { UnsharpMask(image, amount, radius, threshold, step.workers); });
  return StepOutcome::Played;
}

StepOutcome HighPassStep(StepContext& step) {
  const double radius = Radius(step, "High Pass");
  Layer& layer = CurrentPixelLayer(step.document, "High Pass");
  ChangePixelsWithinSelection(step.document, layer, [&](hostsim::Image& image) { HighPass(image, radius, step.workers); });
  return StepOutcome::Played;
}

}  // namespace zem::document::steps
