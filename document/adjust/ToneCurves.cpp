#include "document/adjust/ToneCurves.h"

#include <algorithm>
#include <cmath>

#include "document/adjust/ColourModels.h"

namespace hostsim {
namespace {

template <typename Function>
ToneCurve Tabulate(Function function) {
  ToneCurve curve;
  for (int v = 0; v < 256; ++v) curve[v] = ToByte(function(static_cast<double>(v)));
  return curve;
}

// Legacy Brightness/Contrast: brightness shifts every value by its amount in levels; contrast
// scales the distance from the middle, by 1 + c/100 when lowering and by 100 / (100 - c) when
// raising, so that +100 is a threshold.
double LegacyBrightnessContrast(double v, int brightness, int contrast) {
  const double slope = contrast <= 0 ? 1 + contrast / 100.0 : 100.0 / std::max(0.5, 100.0 - contrast);
  return (v + brightness - 127.5) * slope + 127.5;
}

// Non-legacy Brightness/Contrast keeps black and white where they are, as a curve does:
// brightness bends the values by a power of 2^(-b/100) (+150 lifts the middle grey to about 199);
// raising contrast is an S-curve about the middle whose slope there is 1 + c/50 and 0 at the
// ends; lowering contrast scales the distance from the middle by 1 + c/100. Photoshop does not
// document its curve; this one has the documented traits: no clipping, proportionate change.
double BrightnessContrast(double v, int brightness, int contrast) {
  double x = std::pow(v / 255, std::exp2(-brightness / 100.0));
  if (contrast > 0) {
    const double power = 1 + contrast / 50.0;
    x = x < 0.5 ? 0.5 * std::pow(2 * x, power) : 1 - 0.5 * std::pow(2 - 2 * x, power);
  } else {
    x = 0.5 + (x - 0.5) * (1 + contrast / 100.0);
  }
  return 255 * x;
}

}  // namespace

ToneCurve IdentityCurve() {
  ToneCurve curve;
  for (int v = 0; v < 256; ++v) curve[v] = static_cast<uint8_t>(v);
  return curve;
}

ToneCurve Then(const ToneCurve& first, const ToneCurve& second) {
  ToneCurve curve;
  for (int v = 0; v < 256; ++v) curve[v] = second[first[v]];
  return curve;
}

ToneCurve LevelsCurve(const LevelsEntry& entry) {
  const double black = entry.inputBlack, span = entry.inputWhite - entry.inputBlack;
  const double exponent = 1 / entry.gamma;
  return Tabulate([&](double v) {
    const double x = std::min(1.0, std::max(0.0, (v - black) / span));
    return entry.outputBlack + std::pow(x, exponent) * (entry.outputWhite - entry.outputBlack);
  });
}

ToneCurve SplineCurve(const std::vector<CurvePoint>& points) {
  const size_t n = points.size();
  if (n < 2) return IdentityCurve();
  // Second derivatives at the points, zero at both ends, from the tridiagonal system of the
  // spline's continuity (Thomas algorithm).
  std::vector<double> second(n, 0.0), upper(n, 0.0), right(n, 0.0);
  for (size_t i = 1; i + 1 < n; ++i) {
    const double h0 = points[i].input - points[i - 1].input, h1 = points[i + 1].input - points[i].input;
    const double bend =
        (points[i + 1].output - points[i].output) / h1 - (points[i].output - points[i - 1].output) / h0;
    const double diagonal = 2 * (h0 + h1) - h0 * upper[i - 1];
    upper[i] = h1 / diagonal;
    right[i] = (6 * bend - h0 * right[i - 1]) / diagonal;
  }
  for (size_t i = n - 2; i >= 1; --i) second[i] = right[i] - upper[i] * second[i + 1];
  size_t segment = 0;
  return Tabulate([&](double x) {
    if (x <= points.front().input) return points.front().output;
    if (x >= points.back().input) return points.back().output;
    while (x > points[segment + 1].input) ++segment;
    const CurvePoint& a = points[segment];
    const CurvePoint& b = points[segment + 1];
    const double h = b.input - a.input, t = (x - a.input) / h, u = 1 - t;
    return u * a.output + t * b.output +
           h * h / 6 * ((u * u * u - u) * second[segment] + (t * t * t - t) * second[segment + 1]);
  });
}

ToneCurve ExposureCurve(const ExposureEvent& event) {
  const double gain = std::exp2(event.exposure), exponent = 1 / event.gamma;
  return Tabulate([&](double v) {
    const double linear = std::max(0.0, SrgbToLinear(v / 255) * gain + event.offset);
    return 255 * LinearToSrgb(std::min(1.0, std::pow(linear, exponent)));
  });
}

ToneCurve BrightnessContrastCurve(const BrightnessContrastEvent& event) {
  return Tabulate([&](double v) {
    return event.legacy ? LegacyBrightnessContrast(v, event.brightness, event.contrast)
                        : BrightnessContrast(v, event.brightness, event.contrast);
  });
}

}  // namespace hostsim
