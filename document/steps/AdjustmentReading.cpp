#include "document/steps/AdjustmentReading.h"

#include <algorithm>

#include "actions/TextForm.h"
#include "document/EventConversion.h"
#include "document/steps/StepSupport.h"

namespace zem::document {
namespace {

namespace type = zem::actions::type;
using zem::actions::Event;

enum class Kind { Modelled, GradientMap, ChannelMixer, BlackWhite, SelectiveColor, Invert, Desaturate, Threshold, Posterize };

struct KindName {
  const char* eventId;     // the direct step's string ID
  uint32_t classCode;      // the adjustment layer's class: a code,
  const char* className;   // or a string ID
  Kind kind;
};

constexpr uint32_t C(const char (&code)[5]) { return MakeFourCC(code); }

// A four-character key from a table of C strings.
Id Key(const char* text) {
  return Id::Code((uint32_t(uint8_t(text[0])) << 24) | (uint32_t(uint8_t(text[1])) << 16) |
                  (uint32_t(uint8_t(text[2])) << 8) | uint32_t(uint8_t(text[3])));
}

// The eight that hostsim's conversion reads go to it under their step's string ID.
const KindName kKinds[] = {
    {"curves", C("Crvs"), "curves", Kind::Modelled},
    {"levels", C("Lvls"), "levels", Kind::Modelled},
    {"hueSaturation", C("HStr"), "hueSaturation", Kind::Modelled},
    {"colorBalance", C("ClrB"), "colorBalance", Kind::Modelled},
    {"brightnessEvent", C("BrgC"), "brightnessEvent", Kind::Modelled},
    {"vibrance", 0, "vibrance", Kind::Modelled},
    {"photoFilter", 0, "photoFilter", Kind::Modelled},
    {"exposure", C("Exps"), "exposure", Kind::Modelled},
    {"gradientMapEvent", C("GdMp"), "gradientMapClass", Kind::GradientMap},
    {"channelMixer", C("ChnM"), "channelMixer", Kind::ChannelMixer},
    {"blackAndWhite", 0, "blackAndWhite", Kind::BlackWhite},
    {"selectiveColor", C("SlcC"), "selectiveColor", Kind::SelectiveColor},
    {"invert", C("Invr"), "invert", Kind::Invert},
    {"desaturate", C("Dstt"), "desaturate", Kind::Desaturate},
    {"thresholdClassEvent", C("Thrs"), "thresholdClassEvent", Kind::Threshold},
    {"posterization", C("Pstr"), "posterization", Kind::Posterize},
};

const KindName* ByEvent(const std::string& id) {
  for (const KindName& kind : kKinds) {
    if (id == kind.eventId) return &kind;
  }
  return nullptr;
}

const KindName* ByClass(const Id& id) {
  for (const KindName& kind : kKinds) {
    if (id.isFourCC ? (kind.classCode != 0 && id.code == kind.classCode) : id.name == kind.className) return &kind;
  }
  return nullptr;
}

GradientMapEvent GradientMap(const Descriptor& d) {
  GradientMapEvent event;
  event.reverse = FlagOf(Find(d, "Rvrs"), false, "reverse (Rvrs)");
  const Value* gradientValue = Find(d, "Grad");
  if (gradientValue == nullptr) {  // the default: foreground (black) to background (white)
    event.stops = {GradientStop{0, 0.5, {0, 0, 0}}, GradientStop{1, 0.5, {255, 255, 255}}};
    return event;
  }
  const Descriptor& gradient = ObjectOf(*gradientValue, "the gradient (Grad)");
  if (const Value* form = Find(gradient, "GrdF")) {
    if (!EnumOf(*form, "the gradient's form (GrdF)").value.Is(MakeFourCC("CstS"))) {
      Refuse("the gradient is not one of colour stops (a noise gradient is not modelled)");
    }
  }
  const Value* colours = Find(gradient, "Clrs");
  if (colours == nullptr) Refuse("the gradient has no colour stops (Clrs)");
  for (const Value& stopValue : ListOf(*colours, "the colour stops (Clrs)").values) {
    const Descriptor& stop = ObjectOf(stopValue, "a colour stop");
    GradientStop entry;
    entry.location = NumberIn(Find(stop, "Lctn"), 0, 4096, 0, "a stop's location (Lctn)") / 4096;
    entry.midpoint = NumberIn(Find(stop, "Mdpn"), 0, 100, 50, "a stop's midpoint (Mdpn)") / 100;
    const Value* kind = Find(stop, "Type");
    const bool user = kind == nullptr || EnumOf(*kind, "a stop's kind (Type)").value.Is(MakeFourCC("UsrS"));
    if (user) {
      const Value* colour = Find(stop, "Clr ");
      if (colour == nullptr) Refuse("a colour stop has no colour (Clr)");
      ColourOf(*colour, entry.rgb, "a stop's colour");
    } else {
      // The foreground (black) or background (white) colour of a fresh document.
      const double grey = EnumOf(*kind, "a stop's kind").value.Is(MakeFourCC("BckC")) ? 255 : 0;
      entry.rgb[0] = entry.rgb[1] = entry.rgb[2] = grey;
    }
    event.stops.push_back(entry);
  }
  if (event.stops.empty()) Refuse("the gradient has no colour stops");
  std::stable_sort(event.stops.begin(), event.stops.end(),
                   [](const GradientStop& a, const GradientStop& b) { return a.location < b.location; });
  return event;
}

void MixerRow(const Descriptor& d, const char (&key)[5], double (&row)[4]) {
  const Value* value = Find(d, key);
  if (value == nullptr) return;
  const Descriptor& mix = ObjectOf(*value, "a channel mixer output");
  const char* const keys[4] = {"Rd  ", "Grn ", "Bl  ", "Cnst"};
  for (int i = 0; i < 4; ++i) {
    const Value* part = mix.Find(Key(keys[i]));
    row[i] = part != nullptr ? std::clamp(NumberOf(*part, "a channel mixer weight"), -200.0, 200.0) : 0;
  }
}

ChannelMixerEvent ChannelMixer(const Descriptor& d) {
  ChannelMixerEvent event;
  event.monochrome = FlagOf(Find(d, "Mnch"), false, "monochrome (Mnch)");
  MixerRow(d, "RdOt", event.red);
  MixerRow(d, "GrnO", event.green);
  MixerRow(d, "BlOt", event.blue);
  MixerRow(d, "Gry ", event.grey);
  return event;
}

BlackWhiteEvent BlackWhite(const Descriptor& d) {
  BlackWhiteEvent event;
  const char* const keys[6] = {"Rd  ", "Yllw", "Grn ", "Cyn ", "Bl  ", "Mgnt"};
  for (int i = 0; i < 6; ++i) {
    const Value* value = d.Find(Key(keys[i]));
    event.weights[i] = NumberIn(value, -200, 300, event.weights[i], "a Black & White weight");
  }
  event.tint = FlagOf(FindNamed(d, "useTint"), false, "useTint");
  if (const Value* tint = FindNamed(d, "tintColor")) ColourOf(*tint, event.tintRgb, "the tint colour");
  return event;
}

SelectiveColorEvent SelectiveColor(const Descriptor& d) {
  SelectiveColorEvent event;
  if (const Value* method = Find(d, "Mthd")) event.absolute = EnumOf(*method, "the method (Mthd)").value.Is(MakeFourCC("Absl"));
  const Value* corrections = Find(d, "ClrC");
  if (corrections == nullptr) return event;
  static const char* const kRanges[9] = {"Rds ", "Ylws", "Grns", "Cyns", "Bls ", "Mgnt", "Whts", "Ntrl", "Blks"};
  for (const Value& value : ListOf(*corrections, "the corrections (ClrC)").values) {
    const Descriptor& correction = ObjectOf(value, "a correction");
    const Value* range = Find(correction, "Clrs");
    if (range == nullptr) Refuse("a Selective Color correction names no colour range (Clrs)");
    const Id& which = EnumOf(*range, "a correction's range").value;
    int index = -1;
    for (int i = 0; i < 9; ++i) {
      if (which == Key(kRanges[i])) index = i;
    }
    if (index < 0) Refuse("a Selective Color correction names the range " + KeyText(which) + ", which is not known");
    event.used[index] = true;
    event.ranges[index][0] = NumberIn(Find(correction, "Cyn "), -100, 100, 0, "cyan");
    event.ranges[index][1] = NumberIn(Find(correction, "Mgnt"), -100, 100, 0, "magenta");
    event.ranges[index][2] = NumberIn(Find(correction, "Yllw"), -100, 100, 0, "yellow");
    event.ranges[index][3] = NumberIn(Find(correction, "Blck"), -100, 100, 0, "black");
  }
  return event;
}

// A curve drawn freehand is recorded as its mapping ('Mpng', an output for each of the 256
// inputs): given as 256 points, the spline through them is the mapping itself at every input.
void MappingsAsPoints(Descriptor& curves) {
  for (zem::actions::Item& item : curves.items) {
    if (!item.key.Is(MakeFourCC("Adjs")) || item.value.type != type::kList) continue;
    for (Value& entryValue : std::get<zem::actions::List>(item.value.data).values) {
      if (entryValue.type != type::kObject) continue;
      auto& entry = std::get<Descriptor>(entryValue.data);
      for (zem::actions::Item& part : entry.items) {
        if (!part.key.Is(MakeFourCC("Mpng"))) continue;
        const auto& outputs = ListOf(part.value, "the curve's mapping (Mpng)").values;
        if (outputs.size() != 256) Refuse("a curve's mapping has " + std::to_string(outputs.size()) + " values, not 256");
        zem::actions::List points;
        for (size_t i = 0; i < outputs.size(); ++i) {
          Descriptor point;
          point.classId = Id::Code(MakeFourCC("Pnt "));
          point.items.push_back({Id::Code(MakeFourCC("Hrzn")), Value{type::kDouble, double(i)}});
          point.items.push_back({Id::Code(MakeFourCC("Vrtc")), Value{type::kDouble, NumberIn(&outputs[i], 0, 255, 0, "a mapped value")}});
          points.values.push_back(Value{type::kObject, std::move(point)});
        }
        part.key = Id::Code(MakeFourCC("Crv "));
        part.value = Value{type::kList, std::move(points)};
      }
    }
  }
}

// Hue/Saturation with an entry for a colour range ('LclR'): read here, since the master-only
// conversion refuses them. Null when the event has no such entry.
bool HasColourRanges(const Descriptor& d) {
  const Value* entries = Find(d, "Adjs");
  if (entries == nullptr || entries->type != type::kList) return false;
  for (const Value& entry : std::get<zem::actions::List>(entries->data).values) {
    if (entry.type == type::kObject && Find(std::get<Descriptor>(entry.data), "LclR") != nullptr) return true;
  }
  return false;
}

HueSaturationRangesEvent HueSaturationRanges(const Descriptor& d) {
  if (FlagOf(Find(d, "Clrz"), false, "colorize (Clrz)")) Refuse("colorize with colour ranges is not modelled");
  HueSaturationRangesEvent event;
  for (const Value& value : ListOf(*Find(d, "Adjs"), "the ranges (Adjs)").values) {
    const Descriptor& entry = ObjectOf(value, "a Hue/Saturation range");
    const double hue = NumberIn(Find(entry, "H   "), -180, 180, 0, "the hue (H)");
    const double saturation = NumberIn(Find(entry, "Strt"), -100, 100, 0, "the saturation (Strt)");
    const double lightness = NumberIn(Find(entry, "Lght"), -100, 100, 0, "the lightness (Lght)");
    if (Find(entry, "LclR") == nullptr) {
      event.hue = hue, event.saturation = saturation, event.lightness = lightness;
      continue;
    }
    HueRange range;
    auto edge = [&](const char (&key)[5]) {
      const Value* found = Find(entry, key);
      if (found == nullptr) Refuse(std::string("a colour range has no '") + key + "'");
      return NumberIn(found, -720, 720, 0, "a colour range's edge");
    };
    range.begin = edge("BgnR"), range.beginFull = edge("BgnS"), range.endFull = edge("EndS"), range.end = edge("EndR");
    range.hue = hue, range.saturation = saturation, range.lightness = lightness;
    event.ranges.push_back(range);
  }
  return event;
}

Adjustment Read(const KindName& kind, const Descriptor& d, bool hasDescriptor) {
  switch (kind.kind) {
    case Kind::Modelled: {
      Event event;
      event.idIsText = true;
      event.textId = kind.eventId;
      event.hasDescriptor = true;
      if (hasDescriptor) event.descriptor = d;
      if (event.textId == "curves") MappingsAsPoints(event.descriptor);
      if (event.textId == "hueSaturation" && HasColourRanges(event.descriptor)) return HueSaturationRanges(event.descriptor);
      hostsim::AdjustmentEvent adjustment;
      std::string error;
      if (!hostsim::ConvertEvent(event, adjustment, error)) Refuse(error);
      return adjustment;
    }
    case Kind::GradientMap: return GradientMap(d);
    case Kind::ChannelMixer: return ChannelMixer(d);
    case Kind::BlackWhite: return BlackWhite(d);
    case Kind::SelectiveColor: return SelectiveColor(d);
    case Kind::Invert: return InvertEvent{};
    case Kind::Desaturate: return DesaturateEvent{};
    case Kind::Threshold: return ThresholdEvent{int(NumberIn(Find(d, "Lvl "), 1, 255, 128, "the level (Lvl)"))};
    case Kind::Posterize: return PosterizeEvent{int(NumberIn(Find(d, "Lvls"), 2, 255, 4, "the levels (Lvls)"))};
  }
  Refuse("the adjustment is not modelled");
}

}  // namespace

bool IsAdjustmentEvent(const std::string& id) { return ByEvent(id) != nullptr; }

Adjustment ReadAdjustmentEvent(const std::string& id, const Descriptor& descriptor, bool hasDescriptor) {
  const KindName* kind = ByEvent(id);
  if (kind == nullptr) Refuse("not an adjustment");
  if (!hasDescriptor && kind->kind != Kind::Invert && kind->kind != Kind::Desaturate) {
    Refuse("the adjustment has no recorded values (Photoshop would ask for them in its dialog)");
  }
  return Read(*kind, descriptor, hasDescriptor);
}

Adjustment ReadLayerAdjustment(const Value& typeValue) {
  if (typeValue.type == type::kClass || typeValue.type == type::kGlobalClass) {
    const Id& id = std::get<zem::actions::ClassValue>(typeValue.data).id;
    const KindName* kind = ByClass(id);
    if (kind == nullptr) Refuse("an adjustment layer of the class " + KeyText(id) + ", which is not modelled");
    return Read(*kind, Descriptor(), false);
  }
  const Descriptor& d = ObjectOf(typeValue, "the adjustment (Type)");
  const KindName* kind = ByClass(d.classId);
  if (kind == nullptr) Refuse("an adjustment layer of the class " + KeyText(d.classId) + ", which is not modelled");
  return Read(*kind, d, true);
}

}  // namespace zem::document
