#include "document/blend/BlendModes.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zem::document {
namespace {

constexpr uint32_t Code(const char (&text)[5]) {
  return (uint32_t(uint8_t(text[0])) << 24) | (uint32_t(uint8_t(text[1])) << 16) | (uint32_t(uint8_t(text[2])) << 8) |
         uint32_t(uint8_t(text[3]));
}

struct ModeName {
  BlendMode mode;
  uint32_t code;     // 0 where the mode has only a string ID
  const char* id;    // the string ID
  const char* name;  // as the Layers panel shows it
};

const ModeName kModes[] = {
    {BlendMode::Normal, Code("Nrml"), "normal", "Normal"},
    {BlendMode::Dissolve, Code("Dslv"), "dissolve", "Dissolve"},
    {BlendMode::Darken, Code("Drkn"), "darken", "Darken"},
    {BlendMode::Multiply, Code("Mltp"), "multiply", "Multiply"},
    {BlendMode::ColorBurn, Code("CBrn"), "colorBurn", "Color Burn"},
    {BlendMode::LinearBurn, 0, "linearBurn", "Linear Burn"},
    {BlendMode::DarkerColor, 0, "darkerColor", "Darker Color"},
    {BlendMode::Lighten, Code("Lghn"), "lighten", "Lighten"},
    {BlendMode::Screen, Code("Scrn"), "screen", "Screen"},
    {BlendMode::ColorDodge, Code("CDdg"), "colorDodge", "Color Dodge"},
    {BlendMode::LinearDodge, 0, "linearDodge", "Linear Dodge (Add)"},
    {BlendMode::LighterColor, 0, "lighterColor", "Lighter Color"},
    {BlendMode::Overlay, Code("Ovrl"), "overlay", "Overlay"},
    {BlendMode::SoftLight, Code("SftL"), "softLight", "Soft Light"},
    {BlendMode::HardLight, Code("HrdL"), "hardLight", "Hard Light"},
    {BlendMode::VividLight, 0, "vividLight", "Vivid Light"},
    {BlendMode::LinearLight, 0, "linearLight", "Linear Light"},
    {BlendMode::PinLight, 0, "pinLight", "Pin Light"},
    {BlendMode::HardMix, 0, "hardMix", "Hard Mix"},
    {BlendMode::Difference, Code("Dfrn"), "difference", "Difference"},
    {BlendMode::Exclusion, Code("Xclu"), "exclusion", "Exclusion"},
    {BlendMode::Subtract, 0, "blendSubtraction", "Subtract"},
    {BlendMode::Divide, 0, "blendDivide", "Divide"},
    {BlendMode::Hue, Code("H   "), "hue", "Hue"},
    {BlendMode::Saturation, Code("Strt"), "saturation", "Saturation"},
    {BlendMode::Color, Code("Clr "), "color", "Color"},
    {BlendMode::Luminosity, Code("Lmns"), "luminosity", "Luminosity"},
    {BlendMode::PassThrough, 0, "passThrough", "Pass Through"},
};

float Clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

float ColorDodge(float b, float s) {
  if (b <= 0) return 0;
  if (s >= 1) return 1;
  return std::min(1.0f, b / (1 - s));
}

float ColorBurn(float b, float s) {
  if (b >= 1) return 1;
  if (s <= 0) return 0;
  return 1 - std::min(1.0f, (1 - b) / s);
}

float HardLight(float b, float s) {
  if (s <= 0.5f) return b * 2 * s;
  const float t = 2 * s - 1;
  return b + t - b * t;
}

float SoftLight(float b, float s) {
  if (s <= 0.5f) return b - (1 - 2 * s) * b * (1 - b);
  const float d = b <= 0.25f ? ((16 * b - 12) * b + 4) * b : std::sqrt(b);
  return b + (2 * s - 1) * (d - b);
}

float Separable(BlendMode mode, float b, float s) {
  switch (mode) {
    case BlendMode::Darken: return std::min(b, s);
    case BlendMode::Multiply: return b * s;
    case BlendMode::ColorBurn: return ColorBurn(b, s);
    case BlendMode::LinearBurn: return std::max(0.0f, b + s - 1);
    case BlendMode::Lighten: return std::max(b, s);
    case BlendMode::Screen: return b + s - b * s;
    case BlendMode::ColorDodge: return ColorDodge(b, s);
    case BlendMode::LinearDodge: return std::min(1.0f, b + s);
    case BlendMode::Overlay: return HardLight(s, b);
    case BlendMode::SoftLight: return SoftLight(b, s);
    case BlendMode::HardLight: return HardLight(b, s);
    case BlendMode::VividLight: return s <= 0.5f ? ColorBurn(b, 2 * s) : ColorDodge(b, 2 * s - 1);
    case BlendMode::LinearLight: return Clamp01(b + 2 * s - 1);
    case BlendMode::PinLight: return s <= 0.5f ? std::min(b, 2 * s) : std::max(b, 2 * s - 1);
    case BlendMode::HardMix: return b + s >= 1 ? 1.0f : 0.0f;
    case BlendMode::Difference: return std::fabs(b - s);
    case BlendMode::Exclusion: return b + s - 2 * b * s;
    case BlendMode::Subtract: return std::max(0.0f, b - s);
    case BlendMode::Divide: return s <= 0 ? (b <= 0 ? 0.0f : 1.0f) : std::min(1.0f, b / s);
    default: return s;
  }
}

// The non-separable modes' helpers, on luminosity 0.3 R + 0.59 G + 0.11 B.
float Lum(const float c[3]) { return 0.3f * c[0] + 0.59f * c[1] + 0.11f * c[2]; }

void ClipColor(float c[3]) {
  const float l = Lum(c);
  const float n = std::min({c[0], c[1], c[2]}), x = std::max({c[0], c[1], c[2]});
  if (n < 0 && l - n > 0) {
    for (int i = 0; i < 3; ++i) c[i] = l + (c[i] - l) * l / (l - n);
  }
  if (x > 1 && x - l > 0) {
    for (int i = 0; i < 3; ++i) c[i] = l + (c[i] - l) * (1 - l) / (x - l);
  }
}

void SetLum(const float c[3], float l, float out[3]) {
  const float d = l - Lum(c);
  for (int i = 0; i < 3; ++i) out[i] = c[i] + d;
  ClipColor(out);
}

float Sat(const float c[3]) { return std::max({c[0], c[1], c[2]}) - std::min({c[0], c[1], c[2]}); }

void SetSat(const float c[3], float s, float out[3]) {
  int maxI = 0, minI = 0;
  for (int i = 1; i < 3; ++i) {
    if (c[i] > c[maxI]) maxI = i;
    if (c[i] < c[minI]) minI = i;
  }
  if (maxI == minI) {
    out[0] = out[1] = out[2] = 0;
    return;
  }
  const int midI = 3 - maxI - minI;
  out[midI] = (c[midI] - c[minI]) * s / (c[maxI] - c[minI]);
  out[maxI] = s;
  out[minI] = 0;
}

}  // namespace

bool BlendModeFromId(bool isFourCC, uint32_t code, const std::string& name, BlendMode& mode) {
  for (const ModeName& entry : kModes) {
    if (isFourCC ? (entry.code != 0 && entry.code == code) : name == entry.id) {
      mode = entry.mode;
      return true;
    }
  }
  return false;
}

const char* BlendModeName(BlendMode mode) {
  for (const ModeName& entry : kModes) {
    if (entry.mode == mode) return entry.name;
  }
  return "?";
}

void BlendPixel(BlendMode mode, const float b[3], const float s[3], float r[3]) {
  float t[3];
  switch (mode) {
    case BlendMode::Normal:
    case BlendMode::Dissolve:
    case BlendMode::PassThrough:
      r[0] = s[0], r[1] = s[1], r[2] = s[2];
      return;
    case BlendMode::DarkerColor:
    case BlendMode::LighterColor: {
      const bool takeSource = mode == BlendMode::DarkerColor ? Lum(s) < Lum(b) : Lum(s) > Lum(b);
      const float* c = takeSource ? s : b;
      r[0] = c[0], r[1] = c[1], r[2] = c[2];
      return;
    }
    case BlendMode::Hue:
      SetSat(s, Sat(b), t);
      SetLum(t, Lum(b), r);
      return;
    case BlendMode::Saturation:
      SetSat(b, Sat(s), t);
      SetLum(t, Lum(b), r);
      return;
    case BlendMode::Color: SetLum(s, Lum(b), r); return;
    case BlendMode::Luminosity: SetLum(b, Lum(s), r); return;
    default:
      for (int i = 0; i < 3; ++i) r[i] = Separable(mode, b[i], s[i]);
  }
}

void BlendRow(BlendMode mode, uint8_t* backdrop, const uint8_t* source, const uint8_t* alpha, const uint8_t* mask,
              float opacity, int count) {
  constexpr float kByte = 1.0f / 255;
  const bool plain = mode == BlendMode::Normal || mode == BlendMode::Dissolve || mode == BlendMode::PassThrough;
  if (plain && alpha == nullptr && mask == nullptr && opacity >= 1) {
    std::memcpy(backdrop, source, size_t(count) * 3);
    return;
  }
  for (int x = 0; x < count; ++x, backdrop += 3, source += 3) {
    float weight = opacity;
    if (alpha != nullptr) weight *= alpha[x] * kByte;
    if (mask != nullptr) weight *= mask[x] * kByte;
    if (weight <= 0) continue;
    float blended[3];
    if (plain) {
      blended[0] = source[0], blended[1] = source[1], blended[2] = source[2];
    } else {
      const float b[3] = {backdrop[0] * kByte, backdrop[1] * kByte, backdrop[2] * kByte};
      const float s[3] = {source[0] * kByte, source[1] * kByte, source[2] * kByte};
      BlendPixel(mode, b, s, blended);
      for (float& v : blended) v = Clamp01(v) * 255;
    }
    for (int i = 0; i < 3; ++i) {
      const float v = backdrop[i] + (blended[i] - backdrop[i]) * std::min(weight, 1.0f);
      backdrop[i] = static_cast<uint8_t>(std::min(255.0f, std::max(0.0f, v)) + 0.5f);
    }
  }
}

}  // namespace zem::document
