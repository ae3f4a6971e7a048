// Every adjustment the layered document applies, directly to a layer's pixels or as an adjustment
// layer: the eight the reference host has always modelled, and the ones added with the layers.
#pragma once

#include <array>
#include <variant>
#include <vector>

#include "hostsim/AdjustmentEvents.h"
#include "hostsim/Image.h"
#include "hostsim/RowWorkers.h"

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
                                SelectiveColorEvent, InvertEvent, DesaturateEvent, ThresholdEvent, PosterizeEvent>;

// Applies the adjustment to every pixel of `image`.
void ApplyAdjustment(const Adjustment& adjustment, hostsim::Image& image,
                     const hostsim::RowWorkers& workers = hostsim::SerialRows());

// "Curves", "Gradient Map", ...: the name Photoshop gives a new adjustment layer of the kind.
const char* AdjustmentName(const Adjustment& adjustment);

}  // namespace zem::document
