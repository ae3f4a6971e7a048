#include "document/adjust/DialogRanges.h"

#include <algorithm>
#include <cmath>

namespace hostsim {
namespace {

bool KnownChannel(ChannelTarget channel) {
  switch (channel) {
    case ChannelTarget::Composite:
    case ChannelTarget::Red:
    case ChannelTarget::Green:
    case ChannelTarget::Blue:
      return true;
  }
  return false;
}

void SaturateAll(int (&values)[3], int low, int high) {
  for (int& value : values) value = Saturate(value, low, high);
}

// An angle in degrees taken to [0, 360); infinite or not a number gives 0.
double Degrees(double angle) {
  if (!std::isfinite(angle)) return 0;
  const double turned = std::fmod(angle, 360.0);
  return turned < 0 ? turned + 360 : turned;
}

}  // namespace

double Saturate(double value, double low, double high, double fallback) {
  if (std::isnan(value)) return fallback;
  return std::min(high, std::max(low, value));
}

int Saturate(int value, int low, int high) { return std::min(high, std::max(low, value)); }

ColorBalanceEvent WithinDialogRange(const ColorBalanceEvent& event) {
  ColorBalanceEvent held = event;
  SaturateAll(held.shadows, -100, 100);
  SaturateAll(held.midtones, -100, 100);
  SaturateAll(held.highlights, -100, 100);
  return held;
}

BrightnessContrastEvent WithinDialogRange(const BrightnessContrastEvent& event) {
  BrightnessContrastEvent held = event;
  held.brightness = event.legacy ? Saturate(event.brightness, -100, 100) : Saturate(event.brightness, -150, 150);
  held.contrast = event.legacy ? Saturate(event.contrast, -100, 100) : Saturate(event.contrast, -50, 100);
  return held;
}

HueSaturationEvent WithinDialogRange(const HueSaturationEvent& event) {
  HueSaturationEvent held = event;
  held.hue = Saturate(event.hue, -180, 180);
  // Colorize sets a saturation of 0..100 instead of changing it by -100..+100.
  held.saturation = event.colorize ? Saturate(event.saturation, 0, 100) : Saturate(event.saturation, -100, 100);
  held.lightness = Saturate(event.lightness, -100, 100);
  return held;
}

PhotoFilterEvent WithinDialogRange(const PhotoFilterEvent& event) {
  PhotoFilterEvent held = event;
  double* c = held.colour;
  switch (event.model) {
    case PhotoFilterEvent::Model::Lab:
      c[0] = Saturate(c[0], 0, 100, 50);
      c[1] = Saturate(c[1], -128, 127, 0);
      c[2] = Saturate(c[2], -128, 127, 0);
      break;
    case PhotoFilterEvent::Model::Hsb:
      c[0] = Degrees(c[0]);
      c[1] = Saturate(c[1], 0, 100, 0);
      c[2] = Saturate(c[2], 0, 100, 100);
      break;
    case PhotoFilterEvent::Model::Rgb:
    default:
      held.model = PhotoFilterEvent::Model::Rgb;
      for (int i = 0; i < 3; ++i) c[i] = Saturate(c[i], 0, 255, 128);
      break;
  }
  held.density = Saturate(event.density, 1, 100);
  return held;
}

LevelsEvent WithinDialogRange(const LevelsEvent& event) {
  LevelsEvent held;
  for (const LevelsEntry& entry : event.entries) {
    if (!KnownChannel(entry.channel)) continue;
    LevelsEntry e = entry;
    e.inputBlack = Saturate(entry.inputBlack, 0, 253);
    e.inputWhite = Saturate(entry.inputWhite, e.inputBlack + 2, 255);
    e.gamma = Saturate(entry.gamma, 0.10, 9.99, 1.0);
    // Output black above output white is allowed: it inverts the channel.
    e.outputBlack = Saturate(entry.outputBlack, 0, 255);
    e.outputWhite = Saturate(entry.outputWhite, 0, 255);
    held.entries.push_back(e);
  }
  return held;
}

CurvesEvent WithinDialogRange(const CurvesEvent& event) {
  CurvesEvent held;
  for (const CurvesEntry& entry : event.entries) {
    if (!KnownChannel(entry.channel)) continue;
    CurvesEntry e{entry.channel, {}};
    for (const CurvePoint& point : entry.points) {
      if (std::isnan(point.input) || std::isnan(point.output)) continue;
      e.points.push_back({Saturate(point.input, 0, 255, 0), Saturate(point.output, 0, 255, 0)});
    }
    std::stable_sort(e.points.begin(), e.points.end(),
                     [](const CurvePoint& a, const CurvePoint& b) { return a.input < b.input; });
    // Of the points at one input, the last recorded stays.
    std::vector<CurvePoint> distinct;
    for (const CurvePoint& point : e.points) {
      if (!distinct.empty() && distinct.back().input == point.input) distinct.pop_back();
      distinct.push_back(point);
    }
    e.points = std::move(distinct);
    if (e.points.size() >= 2) held.entries.push_back(std::move(e));
  }
  return held;
}

ExposureEvent WithinDialogRange(const ExposureEvent& event) {
  return {Saturate(event.exposure, -20, 20, 0), Saturate(event.offset, -0.5, 0.5, 0),
          Saturate(event.gamma, 0.01, 9.99, 1)};
}

VibranceEvent WithinDialogRange(const VibranceEvent& event) {
  return {Saturate(event.vibrance, -100, 100), Saturate(event.saturation, -100, 100)};
}

}  // namespace hostsim
