#include "document/EventConversion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "actions/TextForm.h"

namespace hostsim {

using zem::actions::Descriptor;
using zem::actions::Event;
using zem::actions::FourCC;
using zem::actions::Id;
using zem::actions::Item;
using zem::actions::List;
using zem::actions::MakeFourCC;
using zem::actions::Value;
namespace type = zem::actions::type;

const char kModelledEvents[] =
    "Color Balance, Brightness/Contrast, Hue/Saturation (master range), Photo Filter, Levels, Curves (by points), "
    "Exposure and Vibrance";

namespace {

struct Failure {
  std::string message;
};

[[noreturn]] void Fail(const std::string& message) { throw Failure{message}; }

// A key or ID as messages quote it: a code in quotes, a string ID bare when it is a plain word. Both
// come from the file, so anything else is escaped as the text form does.
std::string KeyText(const Id& id) {
  if (id.isFourCC) return zem::actions::QuotedCode(id.code);
  const bool plain = !id.name.empty() && std::all_of(id.name.begin(), id.name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  });
  return plain ? id.name : zem::actions::QuotedBytes(id.name);
}

// The keys of one descriptor, each taken at most once; a key the event does not know is refused,
// since it may change what the event does.
class Keys {
 public:
  Keys(const Descriptor& descriptor, const char* what) : descriptor_(descriptor), what_(what) {
    used_.assign(descriptor.items.size(), false);
  }

  const Value* Take(const Id& key) {
    for (size_t i = 0; i < descriptor_.items.size(); ++i) {
      if (!used_[i] && descriptor_.items[i].key == key) {
        used_[i] = true;
        return &descriptor_.items[i].value;
      }
    }
    return nullptr;
  }
  const Value* Take(const char (&code)[5]) { return Take(Id::Code(MakeFourCC(code))); }
  const Value* TakeNamed(const char* name) { return Take(Id::Named(name)); }

  void CheckAllTaken() const {
    for (size_t i = 0; i < descriptor_.items.size(); ++i) {
      if (!used_[i]) Fail(std::string(what_) + " holds " + KeyText(descriptor_.items[i].key) + ", which is not modelled");
    }
  }

  const char* what() const { return what_; }

 private:
  const Descriptor& descriptor_;
  const char* what_;
  std::vector<bool> used_;
};

double Number(const Value& value, const std::string& what) {
  double number;
  if (value.type == type::kInteger) {
    number = std::get<int32_t>(value.data);
  } else if (value.type == type::kDouble) {
    number = std::get<double>(value.data);
  } else if (value.type == type::kUnitDouble) {
    number = std::get<zem::actions::UnitDouble>(value.data).value;
  } else {
    Fail(what + " is " + zem::actions::QuotedCode(value.type) + ", not a number");
  }
  if (std::isnan(number)) Fail(what + " is not a number");
  return number;
}

// A number held to [low, high] before it becomes an int, so that 1e10 cannot overflow.
int WholeNumber(const Value* value, int low, int high, int fallback, const std::string& what) {
  if (value == nullptr) return fallback;
  return int(std::lround(std::clamp(Number(*value, what), double(low), double(high))));
}

double RealNumber(const Value* value, double low, double high, double fallback, const std::string& what) {
  if (value == nullptr) return fallback;
  return std::clamp(Number(*value, what), low, high);
}

bool Flag(const Value* value, bool fallback, const std::string& what) {
  if (value == nullptr) return fallback;
  if (value->type != type::kBoolean) Fail(what + " is not a boolean");
  return std::get<bool>(value->data);
}

const List& ListOf(const Value& value, const std::string& what) {
  if (value.type != type::kList) Fail(what + " is not a list");
  return std::get<List>(value.data);
}

const Descriptor& ObjectOf(const Value& value, const std::string& what) {
  if (value.type != type::kObject && value.type != type::kGlobalObject) Fail(what + " is not an object");
  return std::get<Descriptor>(value.data);
}

void WholeNumbers(const Value* value, int* target, size_t count, int low, int high, const std::string& what) {
  if (value == nullptr) return;
  const List& list = ListOf(*value, what);
  if (list.values.size() != count) Fail(what + " has " + std::to_string(list.values.size()) + " numbers, not " +
                                        std::to_string(count));
  for (size_t i = 0; i < count; ++i) target[i] = WholeNumber(&list.values[i], low, high, 0, what);
}

// presetKind is accepted when it says the values are the event's own.
void TakePresetKind(Keys& keys) {
  const Value* kind = keys.TakeNamed("presetKind");
  if (kind == nullptr) return;
  if (kind->type != type::kEnumerated) Fail(std::string(keys.what()) + ": presetKind is not an enumeration");
  const Id& value = std::get<zem::actions::Enumerated>(kind->data).value;
  if (!value.Is("presetKindCustom") && !value.Is("presetKindDefault")) {
    Fail(std::string(keys.what()) + " names a preset (" + KeyText(value) + "), which is not modelled");
  }
}

ChannelTarget Channel(const Value* value, const std::string& what) {
  if (value == nullptr) return ChannelTarget::Composite;
  if (value->type != type::kReference) Fail(what + " is not a channel reference");
  const auto& items = std::get<zem::actions::Reference>(value->data).items;
  if (items.size() != 1 || items[0].form != MakeFourCC("Enmr") || !items[0].enumerated.type.Is(MakeFourCC("Chnl"))) {
    Fail(what + " does not name a channel by its enumeration (Chnl.Cmps, Rd, Grn or Bl)");
  }
  const Id& channel = items[0].enumerated.value;
  if (channel.Is(MakeFourCC("Cmps"))) return ChannelTarget::Composite;
  if (channel.Is(MakeFourCC("Rd  "))) return ChannelTarget::Red;
  if (channel.Is(MakeFourCC("Grn "))) return ChannelTarget::Green;
  if (channel.Is(MakeFourCC("Bl  "))) return ChannelTarget::Blue;
  Fail(what + " names the channel " + KeyText(channel) + "; only the composite, red, green and blue are modelled");
}

// Calls `read` with the keys of each entry of the event's list of adjustments (Adjs).
template <typename Read>
void ForEachEntry(Keys& keys, const char* what, Read read) {
  const Value* adjustments = keys.Take("Adjs");
  if (adjustments == nullptr) return;
  for (const Value& entryValue : ListOf(*adjustments, "the adjustments (Adjs)").values) {
    Keys entry(ObjectOf(entryValue, "an adjustment (Adjs)"), what);
    read(entry);
    entry.CheckAllTaken();
  }
}

ColorBalanceEvent ColorBalance(Keys& keys) {
  ColorBalanceEvent event;
  WholeNumbers(keys.Take("ShdL"), event.shadows, 3, -100, 100, "the shadows (ShdL)");
  WholeNumbers(keys.Take("MdtL"), event.midtones, 3, -100, 100, "the midtones (MdtL)");
  WholeNumbers(keys.Take("HghL"), event.highlights, 3, -100, 100, "the highlights (HghL)");
  event.preserveLuminosity = Flag(keys.Take("PrsL"), true, "preserve luminosity (PrsL)");
  return event;
}

BrightnessContrastEvent BrightnessContrast(Keys& keys) {
  BrightnessContrastEvent event;
  event.legacy = Flag(keys.TakeNamed("useLegacy"), false, "useLegacy");
  event.brightness = WholeNumber(keys.Take("Brgh"), event.legacy ? -100 : -150, event.legacy ? 100 : 150, 0,
                                 "the brightness (Brgh)");
  event.contrast = WholeNumber(keys.Take("Cntr"), event.legacy ? -100 : -50, 100, 0, "the contrast (Cntr)");
  return event;
}

HueSaturationEvent HueSaturation(Keys& keys) {
  TakePresetKind(keys);
  HueSaturationEvent event;
  event.colorize = Flag(keys.Take("Clrz"), false, "colorize (Clrz)");
  ForEachEntry(keys, "a Hue/Saturation range", [&](Keys& range) {
    if (range.Take("LclR") != nullptr) Fail("an entry for a colour range: only the master range is modelled");
    event.hue = WholeNumber(range.Take("H   "), -180, 180, 0, "the hue (H)");
    event.saturation = WholeNumber(range.Take("Strt"), -100, 100, 0, "the saturation (Strt)");
    event.lightness = WholeNumber(range.Take("Lght"), -100, 100, 0, "the lightness (Lght)");
  });
  return event;
}

PhotoFilterEvent PhotoFilter(Keys& keys) {
  PhotoFilterEvent event;
  if (const Value* colourValue = keys.Take("Clr ")) {
    const Descriptor& colour = ObjectOf(*colourValue, "the filter colour (Clr)");
    Keys parts(colour, "the filter colour");
    auto part = [&](const char (&key)[5], double low, double high) {
      const Value* value = parts.Take(key);
      if (value == nullptr) Fail(std::string("the filter colour has no '") + key + "'");
      return RealNumber(value, low, high, 0, std::string("the filter colour's '") + key + "'");
    };
    if (colour.classId.Is(MakeFourCC("RGBC"))) {
      event.model = PhotoFilterEvent::Model::Rgb;
      event.colour[0] = part("Rd  ", 0, 255);
      event.colour[1] = part("Grn ", 0, 255);
      event.colour[2] = part("Bl  ", 0, 255);
    } else if (colour.classId.Is(MakeFourCC("LbCl"))) {
      event.model = PhotoFilterEvent::Model::Lab;
      event.colour[0] = part("Lmnc", 0, 100);
      event.colour[1] = part("A   ", -128, 127);
      event.colour[2] = part("B   ", -128, 127);
    } else if (colour.classId.Is(MakeFourCC("HSBC"))) {
      event.model = PhotoFilterEvent::Model::Hsb;
      event.colour[0] = part("H   ", -360, 360);
      event.colour[1] = part("Strt", 0, 100);
      event.colour[2] = part("Brgh", 0, 100);
    } else {
      Fail("the filter colour is of class " + KeyText(colour.classId) + "; RGBC, LbCl and HSBC are modelled");
    }
    parts.CheckAllTaken();
  }
  event.density = WholeNumber(keys.Take("Dnst"), 1, 100, 25, "the density (Dnst)");
  event.preserveLuminosity = Flag(keys.Take("PrsL"), true, "preserve luminosity (PrsL)");
  return event;
}

LevelsEvent Levels(Keys& keys) {
  TakePresetKind(keys);
  LevelsEvent event;
  ForEachEntry(keys, "a Levels entry", [&](Keys& entry) {
    LevelsEntry levels;
    levels.channel = Channel(entry.Take("Chnl"), "the channel (Chnl)");
    int input[2] = {0, 255}, output[2] = {0, 255};
    WholeNumbers(entry.Take("Inpt"), input, 2, 0, 255, "the input levels (Inpt)");
    WholeNumbers(entry.Take("Otpt"), output, 2, 0, 255, "the output levels (Otpt)");
    levels.inputBlack = input[0];
    levels.inputWhite = input[1];
    levels.outputBlack = output[0];
    levels.outputWhite = output[1];
    levels.gamma = RealNumber(entry.Take("Gmm "), 0.1, 9.99, 1.0, "the gamma (Gmm)");
    event.entries.push_back(levels);
  });
  return event;
}

CurvesEvent Curves(Keys& keys) {
  TakePresetKind(keys);
  CurvesEvent event;
  ForEachEntry(keys, "a Curves entry", [&](Keys& entry) {
    CurvesEntry curve;
    curve.channel = Channel(entry.Take("Chnl"), "the channel (Chnl)");
    const Value* points = entry.Take("Crv ");
    if (points == nullptr) Fail("a Curves entry has no points (Crv): only curves given by points are modelled");
    for (const Value& pointValue : ListOf(*points, "the curve (Crv)").values) {
      Keys point(ObjectOf(pointValue, "a curve point"), "a curve point");
      const Value* input = point.Take("Hrzn");
      const Value* output = point.Take("Vrtc");
      if (input == nullptr || output == nullptr) Fail("a curve point lacks its input (Hrzn) or output (Vrtc)");
      curve.points.push_back({RealNumber(input, 0, 255, 0, "a point's input (Hrzn)"),
                              RealNumber(output, 0, 255, 0, "a point's output (Vrtc)")});
      point.CheckAllTaken();
    }
    if (curve.points.size() < 2) Fail("a curve has fewer than two points");
    event.entries.push_back(std::move(curve));
  });
  return event;
}

ExposureEvent Exposure(Keys& keys) {
  TakePresetKind(keys);
  ExposureEvent event;
  event.exposure = RealNumber(keys.Take("Exps"), -20, 20, 0, "the exposure (Exps)");
  event.offset = RealNumber(keys.Take("Ofst"), -0.5, 0.5, 0, "the offset (Ofst)");
  event.gamma = RealNumber(keys.TakeNamed("gammaCorrection"), 0.01, 9.99, 1, "gammaCorrection");
  return event;
}

VibranceEvent Vibrance(Keys& keys) {
  VibranceEvent event;
  event.vibrance = WholeNumber(keys.TakeNamed("vibrance"), -100, 100, 0, "the vibrance");
  event.saturation = WholeNumber(keys.Take("Strt"), -100, 100, 0, "the saturation (Strt)");
  return event;
}

struct EventKind {
  const char* textId;
  FourCC code;  // 0 where the event has no four-character code
  const char* name;
  AdjustmentEvent (*convert)(Keys&);
};

template <typename Record, Record (*Convert)(Keys&)>
AdjustmentEvent As(Keys& keys) {
  return Convert(keys);
}

const EventKind kEventKinds[] = {
    {"colorBalance", MakeFourCC("ClrB"), "Color Balance", As<ColorBalanceEvent, ColorBalance>},
    {"brightnessEvent", MakeFourCC("BrgC"), "Brightness/Contrast", As<BrightnessContrastEvent, BrightnessContrast>},
    {"hueSaturation", MakeFourCC("HStr"), "Hue/Saturation", As<HueSaturationEvent, HueSaturation>},
    {"photoFilter", 0, "Photo Filter", As<PhotoFilterEvent, PhotoFilter>},
    {"levels", MakeFourCC("Lvls"), "Levels", As<LevelsEvent, Levels>},
    {"curves", MakeFourCC("Crvs"), "Curves", As<CurvesEvent, Curves>},
    {"exposure", MakeFourCC("Exps"), "Exposure", As<ExposureEvent, Exposure>},
    {"vibrance", 0, "Vibrance", As<VibranceEvent, Vibrance>},
};

std::string Signed(int value) { return (value > 0 ? "+" : "") + std::to_string(value); }

std::string Decimal(double value, const char* format) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

const char* const kAxes[] = {"red", "green", "blue"};

std::string Label(const ColorBalanceEvent& event) {
  std::string label = "Color Balance";
  const struct {
    const int* values;
    const char* range;
  } ranges[] = {{event.midtones, ""}, {event.shadows, " shadows"}, {event.highlights, " highlights"}};
  for (const auto& range : ranges) {
    for (int axis = 0; axis < 3; ++axis) {
      if (range.values[axis] != 0) label += " " + Signed(range.values[axis]) + " " + kAxes[axis] + range.range;
    }
  }
  return label;
}

std::string Label(const BrightnessContrastEvent& event) {
  std::string label = event.legacy ? "Brightness/Contrast (legacy)" : "Brightness/Contrast";
  if (event.brightness != 0) label += " " + Signed(event.brightness) + " brightness";
  if (event.contrast != 0) label += " " + Signed(event.contrast) + " contrast";
  return label;
}

std::string Label(const HueSaturationEvent& event) {
  std::string label = event.colorize ? "Hue/Saturation colorize" : "Hue/Saturation";
  if (event.hue != 0) label += " " + Signed(event.hue) + " hue";
  if (event.saturation != 0) label += " " + Signed(event.saturation) + " saturation";
  if (event.lightness != 0) label += " " + Signed(event.lightness) + " lightness";
  return label;
}

std::string Label(const PhotoFilterEvent& event) {
  // Warm filters are orange, cool ones blue: in RGB red above blue, in Lab a positive b.
  bool warm = event.colour[0] > event.colour[2];
  if (event.model == PhotoFilterEvent::Model::Lab) warm = event.colour[2] > 0;
  if (event.model == PhotoFilterEvent::Model::Hsb) {
    const double hue = std::fmod(std::fmod(event.colour[0], 360) + 360, 360);
    warm = hue < 90 || hue >= 300;
  }
  return std::string("Photo Filter ") + (warm ? "warm " : "cool ") + std::to_string(event.density) + "%";
}

const char* ChannelName(ChannelTarget channel) {
  switch (channel) {
    case ChannelTarget::Red: return " red";
    case ChannelTarget::Green: return " green";
    case ChannelTarget::Blue: return " blue";
    default: return "";
  }
}

std::string Label(const LevelsEvent& event) {
  std::string label = "Levels";
  for (const LevelsEntry& entry : event.entries) {
    label += ChannelName(entry.channel);
    if (entry.gamma != 1.0) label += " gamma " + Decimal(entry.gamma, "%.2f");
    if (entry.inputBlack != 0 || entry.inputWhite != 255) {
      label += " in " + std::to_string(entry.inputBlack) + "-" + std::to_string(entry.inputWhite);
    }
    if (entry.outputBlack != 0 || entry.outputWhite != 255) {
      label += " out " + std::to_string(entry.outputBlack) + "-" + std::to_string(entry.outputWhite);
    }
  }
  return label;
}

std::string Label(const CurvesEvent& event) {
  std::string label = "Curves";
  for (const CurvesEntry& entry : event.entries) {
    label += std::string(ChannelName(entry.channel)) + " " + std::to_string(entry.points.size()) + " points";
  }
  return label;
}

std::string Label(const ExposureEvent& event) {
  std::string label = "Exposure " + Decimal(event.exposure, "%+.2f");
  if (event.offset != 0) label += " offset " + Decimal(event.offset, "%+.4f");
  if (event.gamma != 1) label += " gamma " + Decimal(event.gamma, "%.2f");
  return label;
}

std::string Label(const VibranceEvent& event) {
  std::string label = "Vibrance";
  if (event.vibrance != 0) label += " " + Signed(event.vibrance);
  if (event.saturation != 0) label += " " + Signed(event.saturation) + " saturation";
  return label;
}

}  // namespace

bool ConvertEvent(const Event& event, AdjustmentEvent& adjustment, std::string& error) {
  for (const EventKind& kind : kEventKinds) {
    const bool matches = event.idIsText ? event.textId == kind.textId : kind.code != 0 && event.codeId == kind.code;
    if (!matches) continue;
    if (!event.hasDescriptor) {
      error = std::string(kind.name) + " has no recorded values (Photoshop would ask for them in its dialog)";
      return false;
    }
    try {
      Keys keys(event.descriptor, kind.name);
      adjustment = kind.convert(keys);
      keys.CheckAllTaken();
      return true;
    } catch (const Failure& failure) {
      error = std::string(kind.name) + ": " + failure.message;
      return false;
    }
  }
  error = "it is not an adjustment the reference host models; it models " + std::string(kModelledEvents);
  return false;
}

std::string EventLabel(const AdjustmentEvent& adjustment) {
  return std::visit([](const auto& event) { return Label(event); }, adjustment);
}

}  // namespace hostsim
