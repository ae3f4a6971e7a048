// Photoshop's adjustment events as the reference host models them: one parameter record per
// event, with the values an action file carries, and the one function that applies an event to
// the document through its selection.
//
// The records hold the values as recorded, unchecked: Apply saturates every value to the range
// the event's dialog allows, so that no value from any file can wrap a pixel.
#pragma once

#include <variant>
#include <vector>

#include "document/RowWorkers.h"
#include "document/Selection.h"
#include "imaging/Image.h"

namespace hostsim {

// The channel an adjustment entry acts on.
enum class ChannelTarget { Composite, Red, Green, Blue };

struct ColorBalanceEvent {
  // Per tonal range: cyan-red, magenta-green, yellow-blue, each -100..+100.
  int shadows[3] = {0, 0, 0};
  int midtones[3] = {0, 0, 0};
  int highlights[3] = {0, 0, 0};
  bool preserveLuminosity = true;
};

struct BrightnessContrastEvent {
  int brightness = 0;  // -150..+150 (legacy: -100..+100)
  int contrast = 0;    // -50..+100 (legacy: -100..+100)
  bool legacy = false;
};

// The master range only.
struct HueSaturationEvent {
  int hue = 0;         // degrees, -180..+180
  int saturation = 0;  // -100..+100
  int lightness = 0;   // -100..+100
  bool colorize = false;
};

struct PhotoFilterEvent {
  // The filter colour in the model it was recorded in: Lab (L 0..100, a and b -128..+127), RGB
  // (0..255 each) or HSB (hue in degrees, saturation and brightness 0..100).
  enum class Model { Lab, Rgb, Hsb };
  Model model = Model::Rgb;
  double colour[3] = {236, 138, 0};
  int density = 25;  // percent, 1..100
  bool preserveLuminosity = true;
};

struct LevelsEntry {
  ChannelTarget channel = ChannelTarget::Composite;
  int inputBlack = 0, inputWhite = 255;  // 0..255, white - black >= 2
  double gamma = 1.0;                    // 0.10..9.99; above 1 lightens the midtones
  int outputBlack = 0, outputWhite = 255;
};

struct LevelsEvent {
  std::vector<LevelsEntry> entries;  // in the order recorded
};

struct CurvePoint {
  double input;   // 0..255
  double output;  // 0..255
};

struct CurvesEntry {
  ChannelTarget channel = ChannelTarget::Composite;
  std::vector<CurvePoint> points;  // in increasing input order, 2 or more
};

struct CurvesEvent {
  std::vector<CurvesEntry> entries;
};

struct ExposureEvent {
  double exposure = 0;  // stops, -20..+20
  double offset = 0;    // -0.5..+0.5
  double gamma = 1;     // 0.01..9.99
};

struct VibranceEvent {
  int vibrance = 0;    // -100..+100
  int saturation = 0;  // -100..+100
};

using AdjustmentEvent = std::variant<ColorBalanceEvent, BrightnessContrastEvent, HueSaturationEvent, PhotoFilterEvent,
                                     LevelsEvent, CurvesEvent, ExposureEvent, VibranceEvent>;

// Applies the event to the pixels inside the selection, each in proportion to its coverage (all
// of the image while nothing is selected). Only the selection's bounding box is visited.
void Apply(const AdjustmentEvent& event, const Selection& selection, Image& image,
           const RowWorkers& workers = SerialRows());

// The event's name as Photoshop's menu shows it ("Color Balance", "Levels"), e.g. for a label.
const char* EventName(const AdjustmentEvent& event);

}  // namespace hostsim
