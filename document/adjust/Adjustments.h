// Every adjustment the layered document applies, directly to a layer's pixels or as an adjustment
// layer: the eight the reference host has always modelled, and the ones added with the layers.
#pragma once

#include <array>
#include <variant>
#include <vector>

#include "document/AdjustmentEvents.h"
#include "document/RowWorkers.h"
#include "imaging/Image.h"

namespace zem::document {

struct GradientStop {
  double location = 0;  // 0..1 along the gradient
  double midpoint = 0.5;  // where, between this stop and the next, the two colours mix half and half
  double rgb[3] = {0, 0, 0};
};

// Each pixel's luma picks a colour of the gradient, dark to light (light to dark when reversed).
struct GradientMapEvent {
  std::vector<GradientStop> stops;  // in increasing location, at least one
  bool reverse = false;
};

// Each output channel a sum of the input channels in percent, plus a constant in percent of 255.
struct ChannelMixerEvent {
  double red[4] = {100, 0, 0, 0};  // from red, green, blue, constant
  double green[4] = {0, 100, 0, 0};
  double blue[4] = {0, 0, 100, 0};
  bool monochrome = false;
  double grey[4] = {40, 40, 20, 0};  // monochrome: the one output
};

// Grey from the colour's parts, each weighted in percent: reds, yellows, greens, cyans, blues,
// magentas.
struct BlackWhiteEvent {
  double weights[6] = {40, 60, 40, 60, 20, 80};
  bool tint = false;
  double tintRgb[3] = {225, 211, 179};
};

// Each colour range (reds, yellows, greens, cyans, blues, magentas, whites, neutrals, blacks)
// given more or less cyan, magenta, yellow and black, percent.
struct SelectiveColorEvent {
  double ranges[9][4] = {};
  bool used[9] = {};  // which ranges were recorded, the others passed over
  bool absolute = false;
};

// Hue/Saturation with colour ranges: each range's hue, saturation and lightness added to the
// master's in proportion to how far a pixel's hue lies inside the range.
struct HueRange {
  double begin = 0, beginFull = 0, endFull = 0, end = 0;  // degrees: the ramp in, the full range, the ramp out
  double hue = 0, saturation = 0, lightness = 0;
};
struct HueSaturationRangesEvent {
  double hue = 0, saturation = 0, lightness = 0;  // the master range
  std::vector<HueRange> ranges;
};

struct InvertEvent {};
// Every pixel grey at its HSL lightness, (max + min) / 2.
struct DesaturateEvent {};
struct ThresholdEvent {
  int level = 128;  // 1..255: from this level up white, below it black
};
struct PosterizeEvent {
  int levels = 4;  // 2..255 per channel
};

using Adjustment = std::variant<hostsim::AdjustmentEvent, GradientMapEvent, ChannelMixerEvent, BlackWhiteEvent,
                                SelectiveColorEvent, HueSaturationRangesEvent, InvertEvent, DesaturateEvent,
                                ThresholdEvent, PosterizeEvent>;

// How much of a hue (degrees) lies inside the range: 1 within its full part, falling linearly to 0
// across its ramps, 0 outside; ranges may wrap around red.
double RangeWeight(const HueRange& range, double hue);

// Applies the adjustment to every pixel of `image`.
void ApplyAdjustment(const Adjustment& adjustment, hostsim::Image& image,
                     const hostsim::RowWorkers& workers = hostsim::SerialRows());

// "Curves", "Gradient Map", ...: the name Photoshop gives a new adjustment layer of the kind.
const char* AdjustmentName(const Adjustment& adjustment);

}  // namespace zem::document
