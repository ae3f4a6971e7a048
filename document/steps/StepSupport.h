// What the step handlers share: reading a step's descriptor, with every value checked and every
// problem raised as a StepRefusal that names what is wrong, and the handlers' common signature.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "actions/ActionModel.h"
#include "document/RowWorkers.h"
#include "document/layers/Document.h"

namespace zem::document {

// Raised inside a handler, caught by the player: the step is not played, for this reason.
struct StepRefusal {
  std::string why;
};
[[noreturn]] void Refuse(const std::string& why);

enum class StepOutcome { Played, NoOp, Refused };

struct StepContext {
  Document& document;
  const zem::actions::Descriptor& descriptor;  // empty when the step has none
  bool hasDescriptor;
  const hostsim::RowWorkers& workers;
};

// A handler plays the step and says whether it changed the document (Played) or not (NoOp).
using StepHandler = StepOutcome (*)(StepContext&);

using zem::actions::Descriptor;
using zem::actions::Id;
using zem::actions::MakeFourCC;
using zem::actions::Value;

// A key as messages quote it: 'Opct' or a bare string ID.
std::string KeyText(const Id& id);
Id Code(const char (&code)[5]);

const Value* Find(const Descriptor& descriptor, const char (&code)[5]);
const Value* FindNamed(const Descriptor& descriptor, const char* name);

// A number: an integer, a double or a unit double, finite. `unit` receives the unit ('#Pxl', ...)
// or 0.
double NumberOf(const Value& value, const std::string& what, uint32_t* unit = nullptr);
// A number held to [low, high]; `fallback` when absent.
double NumberIn(const Value* value, double low, double high, double fallback, const std::string& what);
bool FlagOf(const Value* value, bool fallback, const std::string& what);
const zem::actions::Enumerated& EnumOf(const Value& value, const std::string& what);
const Descriptor& ObjectOf(const Value& value, const std::string& what);
const zem::actions::List& ListOf(const Value& value, const std::string& what);
const zem::actions::Reference& ReferenceOf(const Value& value, const std::string& what);
std::string TextOf(const Value& value, const std::string& what);

// A colour object (RGBC, HSBC, LbCl, Grsc) as RGB 0..255.
void ColourOf(const Value& value, double rgb[3], const std::string& what);

// A length in pixels: pixels as they are, points ('#Rlt') at 72 per inch, percent of `whole`.
double PixelsOf(const Value& value, double whole, const std::string& what);

// The layers a 'null' reference names: the target, by name, the background, by index, the next
// one up or down. Refused when no such layer exists.
std::vector<Layer*> TargetLayers(Document& document, const Descriptor& descriptor);
Layer& TargetLayer(Document& document, const Descriptor& descriptor);

// The current layer as a pixel layer, refused when it is another kind.
Layer& CurrentPixelLayer(Document& document, const char* step);

// The document's limits for a new size: at least 1 x 1, at most the host's side and the
// document's pixel limit.
void CheckSize(const Document& document, double width, double height, const char* step);

}  // namespace zem::document
