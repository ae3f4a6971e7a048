#include "document/steps/StepSupport.h"

#include <algorithm>
#include <cmath>

#include "actions/TextForm.h"
#include "document/adjust/ColourModels.h"

namespace zem::document {

namespace type = zem::actions::type;

void Refuse(const std::string& why) { throw StepRefusal{why}; }

std::string KeyText(const Id& id) {
  if (id.isFourCC) return zem::actions::QuotedCode(id.code);
  const bool plain = !id.name.empty() && std::all_of(id.name.begin(), id.name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  });
  return plain ? id.name : zem::actions::QuotedBytes(id.name);
}

Id Code(const char (&code)[5]) { return Id::Code(MakeFourCC(code)); }

const Value* Find(const Descriptor& descriptor, const char (&code)[5]) { return descriptor.Find(Code(code)); }
const Value* FindNamed(const Descriptor& descriptor, const char* name) { return descriptor.Find(Id::Named(name)); }

double NumberOf(const Value& value, const std::string& what, uint32_t* unit) {
  double number = 0;
  if (unit != nullptr) *unit = 0;
  if (value.type == type::kInteger) {
    number = std::get<int32_t>(value.data);
  } else if (value.type == type::kDouble) {
    number = std::get<double>(value.data);
  } else if (value.type == type::kUnitDouble) {
    const auto& unitDouble = std::get<zem::actions::UnitDouble>(value.data);
    number = unitDouble.value;
    if (unit != nullptr) *unit = unitDouble.unit;
  } else {
    Refuse(what + " is " + zem::actions::QuotedCode(value.type) + ", not a number");
  }
  if (!std::isfinite(number)) Refuse(what + " is not a finite number");
  return number;
}

double NumberIn(const Value* value, double low, double high, double fallback, const std::string& what) {
  if (value == nullptr) return fallback;
  return std::clamp(NumberOf(*value, what), low, high);
}

bool FlagOf(const Value* value, bool fallback, const std::string& what) {
  if (value == nullptr) return fallback;
  if (value->type != type::kBoolean) Refuse(what + " is not a boolean");
  return std::get<bool>(value->data);
}

const zem::actions::Enumerated& EnumOf(const Value& value, const std::string& what) {
  if (value.type != type::kEnumerated) Refuse(what + " is not an enumeration");
  return std::get<zem::actions::Enumerated>(value.data);
}

const Descriptor& ObjectOf(const Value& value, const std::string& what) {
  if (value.type != type::kObject && value.type != type::kGlobalObject) Refuse(what + " is not an object");
  return std::get<Descriptor>(value.data);
}

const zem::actions::List& ListOf(const Value& value, const std::string& what) {
  if (value.type != type::kList) Refuse(what + " is not a list");
  return std::get<zem::actions::List>(value.data);
}

const zem::actions::Reference& ReferenceOf(const Value& value, const std::string& what) {
  if (value.type != type::kReference) Refuse(what + " is not a reference");
  return std::get<zem::actions::Reference>(value.data);
}

std::string TextOf(const Value& value, const std::string& what) {
  if (value.type != type::kText) Refuse(what + " is not text");
  return zem::actions::ToUtf8(std::get<zem::actions::UnicodeString>(value.data).units);
}

void ColourOf(const Value& value, double rgb[3], const std::string& what) {
  const Descriptor& colour = ObjectOf(value, what);
  auto part = [&](const char (&key)[5], double low, double high) {
    const Value* found = Find(colour, key);
    if (found == nullptr) Refuse(what + " has no " + zem::actions::QuotedCode(MakeFourCC(key)));
    return std::clamp(NumberOf(*found, what), low, high);
  };
  if (colour.classId.Is(MakeFourCC("RGBC"))) {
    rgb[0] = part("Rd  ", 0, 255), rgb[1] = part("Grn ", 0, 255);
    // Photoshop writes blue as 'Bl  ' and, in some versions, as "blue".
    const Value* blue = Find(colour, "Bl  ");
    if (blue == nullptr) blue = FindNamed(colour, "blue");
    if (blue == nullptr) Refuse(what + " has no blue");
    rgb[2] = std::clamp(NumberOf(*blue, what), 0.0, 255.0);
  } else if (colour.classId.Is(MakeFourCC("HSBC"))) {
    hostsim::HsbToRgb(part("H   ", -360, 360), part("Strt", 0, 100), part("Brgh", 0, 100), rgb);
  } else if (colour.classId.Is(MakeFourCC("LbCl"))) {
    hostsim::LabToRgb(part("Lmnc", 0, 100), part("A   ", -128, 127), part("B   ", -128, 127), rgb);
  } else if (colour.classId.Is(MakeFourCC("Grsc"))) {
    rgb[0] = rgb[1] = rgb[2] = 255 * (1 - part("Gry ", 0, 100) / 100);
  } else {
    Refuse(what + " is of the colour class " + KeyText(colour.classId) + "; RGB, HSB, Lab and grey are modelled");
  }
}

double PixelsOf(const Value& value, double whole, const std::string& what) {
  uint32_t unit = 0;
  const double number = NumberOf(value, what, &unit);
  if (unit == MakeFourCC("#Prc")) return number / 100 * whole;
  if (unit == 0 || unit == MakeFourCC("#Pxl") || unit == MakeFourCC("#Rlt")) return number;
  Refuse(what + " is in " + zem::actions::QuotedCode(unit) + "; pixels, points and percent are modelled");
}

namespace {

Layer* ByReference(Document& document, const zem::actions::Reference& reference) {
  if (reference.items.empty()) Refuse("the target reference is empty");
  const zem::actions::ReferenceItem& item = reference.items.front();
  const bool layerClass = item.classId.Is(MakeFourCC("Lyr ")) || item.classId.Is("layer") ||
                          item.classId.Is(MakeFourCC("AdjL")) || item.classId.Is("layerSection") ||
                          item.classId.Is("contentLayer");
  if (!layerClass) Refuse("the target is a " + KeyText(item.classId) + ", not a layer");
  const uint32_t form = item.form;
  if (form == MakeFourCC("Enmr")) {
    const Id& which = item.enumerated.value;
    Layer* current = document.Current();
    if (which.Is(MakeFourCC("Trgt"))) {
      if (current == nullptr) Refuse("there is no current layer");
      return current;
    }
    const std::vector<const Layer*> flat = document.Flat();
    auto at = std::find(flat.begin(), flat.end(), current);
    if (which.Is(MakeFourCC("Frwr")) || which.Is(MakeFourCC("Bckw"))) {
      if (at == flat.end()) Refuse("there is no current layer");
      const bool up = which.Is(MakeFourCC("Frwr"));
      if (up ? at + 1 == flat.end() : at == flat.begin()) Refuse("there is no layer " + std::string(up ? "above" : "beneath") + " the current one");
      return document.FindById((*(up ? at + 1 : at - 1))->id);
    }
    if (which.Is(MakeFourCC("Frnt")) || which.Is(MakeFourCC("Back"))) {
      if (flat.empty()) Refuse("the document has no visible layer");
      return document.FindById((which.Is(MakeFourCC("Frnt")) ? flat.back() : flat.front())->id);
    }
    Refuse("the layer " + KeyText(which) + " is not modelled (the target, forward, backward, front, back are)");
  }
  if (form == MakeFourCC("name")) {
    Layer* layer = document.FindByName(zem::actions::ToUtf8(item.name.units));
    if (layer == nullptr) Refuse("there is no layer " + zem::actions::QuotedUnicode(item.name.units));
    return layer;
  }
  if (form == MakeFourCC("prop") && item.property.Is(MakeFourCC("Bckg"))) {
    Layer* background = document.Background();
    if (background == nullptr) Refuse("the document has no background layer");
    return background;
  }
  if (form == MakeFourCC("indx")) {
    // Counted from the bottom, the background (when there is one) being 0, as scripts count.
    std::vector<const Layer*> visible = document.Flat();
    const int64_t base = document.Background() != nullptr ? 0 : 1;
    const int64_t index = item.number - base;
    if (index < 0 || index >= int64_t(visible.size())) Refuse("there is no layer of index " + std::to_string(item.number));
    return document.FindById(visible[size_t(index)]->id);
  }
  Refuse("a layer picked by " + zem::actions::QuotedCode(form) + " is not modelled");
}

}  // namespace

std::vector<Layer*> TargetLayers(Document& document, const Descriptor& descriptor) {
  const Value* target = Find(descriptor, "null");
  if (target == nullptr) {
    Layer* current = document.Current();
    if (current == nullptr) Refuse("there is no current layer");
    return {current};
  }
  std::vector<Layer*> layers;
  if (target->type == zem::actions::type::kList) {
    for (const Value& value : ListOf(*target, "the targets").values) layers.push_back(ByReference(document, ReferenceOf(value, "a target")));
  } else {
    layers.push_back(ByReference(document, ReferenceOf(*target, "the target")));
  }
  if (layers.empty()) Refuse("the step names no layer");
  return layers;
}

Layer& TargetLayer(Document& document, const Descriptor& descriptor) { return *TargetLayers(document, descriptor).front(); }

Layer& CurrentPixelLayer(Document& document, const char* step) {
  Layer* layer = document.Current();
  if (layer == nullptr) Refuse(std::string(step) + " needs a current layer");
  if (layer->kind != Layer::Kind::Pixels || !layer->pixels) {
    Refuse(std::string(step) + " works on a pixel layer, and " + zem::actions::QuotedUnicode(zem::actions::FromUtf8(layer->name)) + " is not one");
  }
  return *layer;
}

void CheckSize(const Document& document, double width, double height, const char* step) {
  if (!(width >= 1 && height >= 1) || width > hostsim::kMaxImageSide || height > hostsim::kMaxImageSide ||
      width * height > double(document.pixelLimit)) {
    Refuse(std::string(step) + " asks for " + std::to_string(std::lround(std::clamp(width, -1e9, 1e9))) + " x " +
           std::to_string(std::lround(std::clamp(height, -1e9, 1e9))) + " pixels; a document is 1 x 1 to " +
           std::to_string(hostsim::kMaxImageSide) + " a side and at most " + std::to_string(document.pixelLimit) + " pixels");
  }
}

}  // namespace zem::document
