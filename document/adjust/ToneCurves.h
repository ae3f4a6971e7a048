// The channel-separable adjustments as 8-bit lookup tables: one output value per input value,
// built once per event from parameters already held to their dialog's range.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "document/AdjustmentEvents.h"

namespace hostsim {

using ToneCurve = std::array<uint8_t, 256>;

// Rounded to the nearest byte and held to 0..255; not a number gives 0. Written so that it
// compiles to min and max instructions, without branches, since it runs for every channel of
// every pixel.
inline uint8_t ToByte(float value) {
  value = value > 0.0f ? value : 0.0f;
  return static_cast<uint8_t>((value < 255.0f ? value : 255.0f) + 0.5f);
}
inline uint8_t ToByte(double value) {
  value = value > 0.0 ? value : 0.0;
  return static_cast<uint8_t>((value < 255.0 ? value : 255.0) + 0.5);
}

ToneCurve IdentityCurve();
// `first`, then `second`.
ToneCurve Then(const ToneCurve& first, const ToneCurve& second);

// Input black and white stretched to 0..1, raised to 1 / gamma, spread over output black..white.
ToneCurve LevelsCurve(const LevelsEntry& entry);
// The natural cubic spline through two or more points in increasing input order, held to 0..255
// and flat beyond the first and the last point.
ToneCurve SplineCurve(const std::vector<CurvePoint>& points);
// In linear light: times 2^exposure, plus offset, to the power 1 / gamma.
ToneCurve ExposureCurve(const ExposureEvent& event);
// Brightness, then contrast.
ToneCurve BrightnessContrastCurve(const BrightnessContrastEvent& event);

// The curves of the three channels for the entries of a Levels or Curves event: the composite
// entries first, then each channel's own, each group in the order recorded; an entry for an
// unknown channel is passed over.
template <typename Entry, typename MakeCurve>
std::array<ToneCurve, 3> ChannelCurves(const std::vector<Entry>& entries, MakeCurve makeCurve) {
  ToneCurve composite = IdentityCurve();
  for (const Entry& entry : entries) {
    if (entry.channel == ChannelTarget::Composite) composite = Then(composite, makeCurve(entry));
  }
  std::array<ToneCurve, 3> curves = {composite, composite, composite};
  for (const Entry& entry : entries) {
    const int index = static_cast<int>(entry.channel) - static_cast<int>(ChannelTarget::Red);
    if (index < 0 || index > 2) continue;
    curves[index] = Then(curves[index], makeCurve(entry));
  }
  return curves;
}

}  // namespace hostsim
