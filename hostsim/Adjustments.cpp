#include "Adjustments.h"

#include <algorithm>
#include <cmath>

namespace hostsim {
namespace {

struct Named {
  AdjustmentKind kind;
  const char* name;
  int arity;
};

constexpr Named kAdjustments[] = {
    {AdjustmentKind::Gain, "gain", 3},         {AdjustmentKind::Contrast, "contrast", 1},
    {AdjustmentKind::Brightness, "brightness", 1}, {AdjustmentKind::Saturation, "saturation", 1},
    {AdjustmentKind::Warmth, "warmth", 1},     {AdjustmentKind::Gamma, "gamma", 1},
    {AdjustmentKind::Hue, "hue", 1},
};

const Named& Find(AdjustmentKind kind) {
  for (const Named& named : kAdjustments) {
    if (named.kind == kind) return named;
  }
  return kAdjustments[0];
}

double Luma(const double rgb[3]) { return 0.299 * rgb[0] + 0.587 * rgb[1] + 0.114 * rgb[2]; }

void Adjust(const Adjustment& adjustment, double rgb[3]) {
  const double* v = adjustment.values;
  switch (adjustment.kind) {
    case AdjustmentKind::Gain:
      for (int c = 0; c < 3; ++c) rgb[c] *= v[c];
      break;
    case AdjustmentKind::Contrast:
      for (int c = 0; c < 3; ++c) rgb[c] = (rgb[c] - 128) * v[0] + 128;
      break;
    case AdjustmentKind::Brightness:
      for (int c = 0; c < 3; ++c) rgb[c] += v[0];
      break;
    case AdjustmentKind::Saturation: {
      const double grey = Luma(rgb);
      for (int c = 0; c < 3; ++c) rgb[c] = grey + (rgb[c] - grey) * v[0];
      break;
    }
    case AdjustmentKind::Warmth:
      rgb[0] += v[0];
      rgb[2] -= v[0];
      break;
    case AdjustmentKind::Gamma:
      for (int c = 0; c < 3; ++c) rgb[c] = 255 * std::pow(std::max(0.0, rgb[c]) / 255, v[0]);
      break;
    case AdjustmentKind::Hue: {
      // A rotation about the grey axis.
      const double angle = v[0] * 3.14159265358979323846 / 180;
      const double cosine = std::cos(angle), sine = std::sin(angle);
      const double k = (1 - cosine) / 3, s = sine / std::sqrt(3.0);
      const double r = rgb[0], g = rgb[1], b = rgb[2];
      rgb[0] = r * (cosine + k) + g * (k - s) + b * (k + s);
      rgb[1] = r * (k + s) + g * (cosine + k) + b * (k - s);
      rgb[2] = r * (k - s) + g * (k + s) + b * (cosine + k);
      break;
    }
  }
}

uint8_t ToByte(double value) { return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L)); }

}  // namespace

const char* AdjustmentName(AdjustmentKind kind) { return Find(kind).name; }
int AdjustmentArity(AdjustmentKind kind) { return Find(kind).arity; }

bool AdjustmentByName(const std::string& name, AdjustmentKind& kind) {
  for (const Named& named : kAdjustments) {
    if (name == named.name) {
      kind = named.kind;
      return true;
    }
  }
  return false;
}

void Apply(const Adjustment& adjustment, const Selection& selection, Image& image) {
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const float coverage = selection.At(x, y);
      if (coverage <= 0) continue;
      uint8_t* pixel = image.At(x, y);
      double rgb[3] = {double(pixel[0]), double(pixel[1]), double(pixel[2])};
      Adjust(adjustment, rgb);
      for (int c = 0; c < 3; ++c) pixel[c] = ToByte(pixel[c] + (rgb[c] - pixel[c]) * coverage);
    }
  }
}

}  // namespace hostsim
