#include "document/adjust/ColourModels.h"

#include <algorithm>
#include <cmath>

namespace hostsim {
namespace {

// The RGB of a hue at full saturation and value, each 0..1, with `hue` in sextants.
void PureHue(double hue, double rgb[3]) {
  const double h = hue - 6 * std::floor(hue / 6);
  const double rising = h - std::floor(h);
  const double falling = 1 - rising;
  switch (static_cast<int>(h)) {
    case 0: rgb[0] = 1, rgb[1] = rising, rgb[2] = 0; break;
    case 1: rgb[0] = falling, rgb[1] = 1, rgb[2] = 0; break;
    case 2: rgb[0] = 0, rgb[1] = 1, rgb[2] = rising; break;
    case 3: rgb[0] = 0, rgb[1] = falling, rgb[2] = 1; break;
    case 4: rgb[0] = rising, rgb[1] = 0, rgb[2] = 1; break;
    default: rgb[0] = 1, rgb[1] = 0, rgb[2] = falling; break;
  }
}

double LabInverse(double t) {
  constexpr double kDelta = 6.0 / 29;
  return t > kDelta ? t * t * t : 3 * kDelta * kDelta * (t - 4.0 / 29);
}

}  // namespace

Hsl RgbToHsl(const float rgb[3]) {
  const float r = rgb[0] / 255, g = rgb[1] / 255, b = rgb[2] / 255;
  const float high = std::max(r, std::max(g, b)), low = std::min(r, std::min(g, b));
  const float chroma = high - low;
  Hsl hsl{0, 0, (high + low) / 2};
  if (chroma <= 0) return hsl;
  hsl.saturation = chroma / (1 - std::fabs(2 * hsl.lightness - 1));
  if (high == r) {
    hsl.hue = (g - b) / chroma;
    if (hsl.hue < 0) hsl.hue += 6;
  } else if (high == g) {
    hsl.hue = (b - r) / chroma + 2;
  } else {
    hsl.hue = (r - g) / chroma + 4;
  }
  return hsl;
}

void HslToRgb(const Hsl& hsl, float rgb[3]) {
  const float chroma = (1 - std::fabs(2 * hsl.lightness - 1)) * hsl.saturation;
  const float low = hsl.lightness - chroma / 2;
  double pure[3];
  PureHue(hsl.hue, pure);
  for (int c = 0; c < 3; ++c) rgb[c] = 255 * (low + chroma * static_cast<float>(pure[c]));
}

void HsbToRgb(double hue, double saturation, double brightness, double rgb[3]) {
  const double value = brightness / 100, chroma = value * saturation / 100;
  double pure[3];
  PureHue(hue / 60, pure);
  for (int c = 0; c < 3; ++c) rgb[c] = 255 * (value - chroma + chroma * pure[c]);
}

void LabToRgb(double lightness, double a, double b, double rgb[3]) {
  // D50 white, and XYZ (D50) to linear sRGB with the Bradford adaptation to D65 folded in.
  constexpr double kWhite[3] = {0.96422, 1.0, 0.82521};
  constexpr double kToRgb[3][3] = {{3.1338561, -1.6168667, -0.4906146},
                                   {-0.9787684, 1.9161415, 0.0334540},
                                   {0.0719453, -0.2289914, 1.4052427}};
  const double fy = (lightness + 16) / 116;
  const double xyz[3] = {kWhite[0] * LabInverse(fy + a / 500), kWhite[1] * LabInverse(fy),
                         kWhite[2] * LabInverse(fy - b / 200)};
  for (int c = 0; c < 3; ++c) {
    const double linear = kToRgb[c][0] * xyz[0] + kToRgb[c][1] * xyz[1] + kToRgb[c][2] * xyz[2];
    rgb[c] = 255 * LinearToSrgb(std::min(1.0, std::max(0.0, linear)));
  }
}

double SrgbToLinear(double encoded) {
  return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

double LinearToSrgb(double linear) {
  return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
}

}  // namespace hostsim
