#include "document/AdjustmentEvents.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "document/adjust/ColourModels.h"
#include "document/adjust/DialogRanges.h"
#include "document/adjust/PixelLoop.h"
#include "document/adjust/ToneCurves.h"

namespace hostsim {
namespace {

// Scales each channel's distance from `pivot` by `factor`; when raising, no further than the
// first channel reaching 0 or 255, so that more saturation never clips a channel. `pivot` lies
// between the pixel's lowest and highest channel.
inline void ScaleFromPivot(float rgb[3], float pivot, float factor) {
  if (factor > 1) {
    for (int c = 0; c < 3; ++c) {
      const float distance = rgb[c] - pivot;
      if (distance > 0) factor = std::min(factor, (255 - pivot) / distance);
      if (distance < 0) factor = std::min(factor, pivot / -distance);
    }
  }
  for (int c = 0; c < 3; ++c) rgb[c] = pivot + (rgb[c] - pivot) * factor;
}

// ScaleFromPivot for a pixel of bytes whose highest and lowest channels are known, `pivot` in
// 0..255. Of the channels above the pivot the highest limits a raise most, and of those below it
// the lowest (a division by a larger distance never gives a larger quotient, rounding included),
// so these two give the same factor as trying all three.
inline float LimitedFactor(float factor, float pivot, float high, float low) {
  if (factor > 1) {
    if (high > pivot) factor = std::min(factor, (255 - pivot) / (high - pivot));
    if (low < pivot) factor = std::min(factor, pivot / (pivot - low));
  }
  return factor;
}

// Each channel through its own table of unrounded values; with `keepLuma`, the pixel's luma then
// put back by moving all three channels alike. The luma's products are tabulated as well: the same
// floats as multiplying each pixel's channels, summed in the same order, so the same result.
void ApplyChannelTables(const float (&table)[3][256], bool keepLuma, const Selection& selection, Image& image,
                        const RowWorkers& workers) {
  float lumaIn[3][256], lumaOut[3][256];
  for (int c = 0; c < 3; ++c) {
    const float weight = Luma(c == 0, c == 1, c == 2);  // channel c's share of the luma
    for (int v = 0; v < 256; ++v) {
      lumaIn[c][v] = weight * static_cast<float>(v);
      lumaOut[c][v] = weight * table[c][v];
    }
  }
  AdjustPixels(selection, image, workers, [&](const uint8_t* in, float* out) {
    out[0] = table[0][in[0]], out[1] = table[1][in[1]], out[2] = table[2][in[2]];
    if (!keepLuma) return;
    const float lost = lumaIn[0][in[0]] + lumaIn[1][in[1]] + lumaIn[2][in[2]] -
                       (lumaOut[0][in[0]] + lumaOut[1][in[1]] + lumaOut[2][in[2]]);
    out[0] += lost, out[1] += lost, out[2] += lost;
  });
}

// Photoshop does not document Color Balance's tonal weights. Here each channel moves by the three
// ranges' settings, each weighted by where the channel's own value x = v / 255 lies: shadows
// (1 - x)^2, midtones 4x(1 - x), highlights x^2, so that each range acts most on its own tones,
// the highlights leave black alone and the shadows white; at full weight a setting of 100 moves
// the channel by 100 levels. Preserve luminosity then puts the pixel's luma back.
void ApplyColorBalance(const ColorBalanceEvent& event, const Selection& selection, Image& image,
                       const RowWorkers& workers) {
  float shifted[3][256];
  for (int v = 0; v < 256; ++v) {
    const float x = v / 255.0f;
    const float shadows = (1 - x) * (1 - x), midtones = 4 * x * (1 - x), highlights = x * x;
    for (int c = 0; c < 3; ++c) {
      const float shift = shadows * event.shadows[c] + midtones * event.midtones[c] + highlights * event.highlights[c];
      shifted[c][v] = v + shift;
    }
  }
  ApplyChannelTables(shifted, event.preserveLuminosity, selection, image, workers);
}

void ApplyBrightnessContrast(const BrightnessContrastEvent& event, const Selection& selection, Image& image,
                             const RowWorkers& workers) {
  const ToneCurve curve = BrightnessContrastCurve(event);
  ApplyCurves({curve, curve, curve}, selection, image, workers);
}

// Lightness +100 is white and -100 black: towards white by its share when raising, towards black
// when lowering.
float Lighten(float value, int lightness) {
  return lightness >= 0 ? value + (255 - value) * (lightness / 100.0f) : value * (1 + lightness / 100.0f);
}

// The master range in HSL: hue turns the HSL hue; saturation scales the HSL saturation by
// 1 + s/100 (no further than the gamut when raising), which for a fixed hue and lightness is the
// same as scaling each channel's distance from the HSL lightness; then lightness. Colorize gives
// every pixel the hue and saturation set, keeping its HSL lightness.
void ApplyHueSaturation(const HueSaturationEvent& event, const Selection& selection, Image& image,
                        const RowWorkers& workers) {
  const float turn = event.hue / 60.0f;
  const float factor = 1 + event.saturation / 100.0f;
  const int lightness = event.lightness;
  if (event.colorize) {
    const float hue = event.hue < 0 ? turn + 6 : turn, saturation = event.saturation / 100.0f;
    AdjustPixels(selection, image, workers, [&](const uint8_t* in, float* out) {
      const float rgb[3] = {float(in[0]), float(in[1]), float(in[2])};
      HslToRgb({hue, saturation, RgbToHsl(rgb).lightness}, out);
      for (int c = 0; c < 3; ++c) out[c] = Lighten(out[c], lightness);
    });
    return;
  }
  if (turn == 0) {
    // The pivot is the mean of the highest and lowest channel, so the factor a pixel can take
    // depends on those two alone: it is looked up, not divided out.
    std::vector<float> limited;
    if (factor > 1) {
      limited.assign(256 * 256, factor);
      for (int high = 0; high < 256; ++high) {
        for (int low = 0; low <= high; ++low) {
          limited[size_t(high) * 256 + low] = LimitedFactor(factor, (float(high) + float(low)) / 2, high, low);
        }
      }
    }
    AdjustPixels(selection, image, workers, [&](const uint8_t* in, float* out) {
      const int high = std::max(in[0], std::max(in[1], in[2])), low = std::min(in[0], std::min(in[1], in[2]));
      const float pivot = (float(high) + float(low)) / 2;
      const float scale = factor > 1 ? limited[size_t(high) * 256 + low] : factor;
      for (int c = 0; c < 3; ++c) {
        out[c] = factor != 1 ? pivot + (in[c] - pivot) * scale : in[c];
        if (lightness != 0) out[c] = Lighten(out[c], lightness);
      }
    });
    return;
  }
  AdjustPixels(selection, image, workers, [&](const uint8_t* in, float* out) {
    for (int c = 0; c < 3; ++c) out[c] = in[c];
    Hsl hsl = RgbToHsl(out);
    hsl.hue += turn;
    HslToRgb(hsl, out);
    if (factor != 1) {
      const float high = std::max(out[0], std::max(out[1], out[2])), low = std::min(out[0], std::min(out[1], out[2]));
      ScaleFromPivot(out, (high + low) / 2, factor);
    }
    if (lightness != 0) {
      for (int c = 0; c < 3; ++c) out[c] = Lighten(out[c], lightness);
    }
  });
}

// A coloured glass filter in front of the lens passes each channel in the share the filter's
// colour gives it: the pixel times the colour, as in the Multiply blend mode, mixed in by the
// density. Preserve luminosity then puts each pixel's luma back, so that only its colour moves.
// (A blend of every pixel towards the colour itself would turn a blue sky grey at 25 %.)
void ApplyPhotoFilter(const PhotoFilterEvent& event, const Selection& selection, Image& image,
                      const RowWorkers& workers) {
  double colour[3];
  const double* recorded = event.colour;
  switch (event.model) {
    case PhotoFilterEvent::Model::Lab: LabToRgb(recorded[0], recorded[1], recorded[2], colour); break;
    case PhotoFilterEvent::Model::Hsb: HsbToRgb(recorded[0], recorded[1], recorded[2], colour); break;
    default: colour[0] = recorded[0], colour[1] = recorded[1], colour[2] = recorded[2]; break;
  }
  // Each channel's factor: 1 - density + density * colour / 255.
  const float density = event.density / 100.0f;
  float pass[3];
  for (int c = 0; c < 3; ++c) pass[c] = 1 - density + density * static_cast<float>(colour[c] / 255);
  float passed[3][256];
  for (int v = 0; v < 256; ++v) {
    for (int c = 0; c < 3; ++c) passed[c][v] = v * pass[c];
  }
  ApplyChannelTables(passed, event.preserveLuminosity, selection, image, workers);
}

void ApplyLevels(const LevelsEvent& event, const Selection& selection, Image& image, const RowWorkers& workers) {
  ApplyCurves(ChannelCurves(event.entries, LevelsCurve), selection, image, workers);
}

void ApplyCurvesEvent(const CurvesEvent& event, const Selection& selection, Image& image, const RowWorkers& workers) {
  ApplyCurves(ChannelCurves(event.entries, [](const CurvesEntry& entry) { return SplineCurve(entry.points); }),
              selection, image, workers);
}

void ApplyExposure(const ExposureEvent& event, const Selection& selection, Image& image, const RowWorkers& workers) {
  const ToneCurve curve = ExposureCurve(event);
  ApplyCurves({curve, curve, curve}, selection, image, workers);
}

// How much of a vibrance boost a pixel takes: less the more saturated it already is (HSV
// saturation), and, for a raise, about half as much at the hues of skin (orange, near 27 degrees,
// red above green above blue). Both parts are tables, worked out once an event: the first by the
// pixel's highest and lowest channel, the skin's by red - blue and green - blue.
class VibranceWeights {
 public:
  explicit VibranceWeights(bool raising) : raising_(raising), unsaturated_(256 * 256, 1.0f), skin_(256 * 256, 1.0f) {
    for (int high = 1; high < 256; ++high) {
      for (int low = 0; low < high; ++low) unsaturated_[size_t(high) * 256 + low] = 1 - float(high - low) / high;
    }
    for (int redLessBlue = 1; redLessBlue < 256; ++redLessBlue) {
      for (int greenLessBlue = 0; greenLessBlue <= redLessBlue; ++greenLessBlue) {
        const float hue = float(greenLessBlue) / redLessBlue;  // 0 red .. 1 yellow
        const float skin = std::max(0.0f, 1 - std::fabs(hue - 0.45f) / 0.3f);
        skin_[size_t(redLessBlue) * 256 + greenLessBlue] = 1 - 0.5f * skin;
      }
    }
  }

  float operator()(const uint8_t rgb[3], int high, int low) const {
    if (high == low) return 1;
    float weight = unsaturated_[size_t(high) * 256 + low];
    if (raising_ && rgb[0] >= rgb[1] && rgb[1] >= rgb[2]) {
      weight *= skin_[size_t(rgb[0] - rgb[2]) * 256 + (rgb[1] - rgb[2])];
    }
    return weight;
  }

 private:
  bool raising_;
  std::vector<float> unsaturated_, skin_;
};

// Vibrance and saturation both scale each channel's distance from the pixel's luma, so that its
// brightness stays; vibrance by 1 + v/100 times the pixel's weight above, saturation by 1 + s/100
// for every pixel; raising stops at the gamut.
void ApplyVibrance(const VibranceEvent& event, const Selection& selection, Image& image, const RowWorkers& workers) {
  const float vibrance = event.vibrance / 100.0f, saturation = 1 + event.saturation / 100.0f;
  const VibranceWeights weight(event.vibrance > 0);
  AdjustPixels(selection, image, workers, [&](const uint8_t* in, float* out) {
    const int high = std::max(in[0], std::max(in[1], in[2])), low = std::min(in[0], std::min(in[1], in[2]));
    const float pivot = Luma(in[0], in[1], in[2]);
    const float factor = LimitedFactor((1 + vibrance * weight(in, high, low)) * saturation, pivot, high, low);
    for (int c = 0; c < 3; ++c) out[c] = pivot + (in[c] - pivot) * factor;
  });
}

struct Dispatch {
  const Selection& selection;
  Image& image;
  const RowWorkers& workers;
  void operator()(const ColorBalanceEvent& e) const {
    ApplyColorBalance(WithinDialogRange(e), selection, image, workers);
  }
  void operator()(const BrightnessContrastEvent& e) const {
    ApplyBrightnessContrast(WithinDialogRange(e), selection, image, workers);
  }
  void operator()(const HueSaturationEvent& e) const {
    ApplyHueSaturation(WithinDialogRange(e), selection, image, workers);
  }
  void operator()(const PhotoFilterEvent& e) const {
    ApplyPhotoFilter(WithinDialogRange(e), selection, image, workers);
  }
  void operator()(const LevelsEvent& e) const { ApplyLevels(WithinDialogRange(e), selection, image, workers); }
  void operator()(const CurvesEvent& e) const { ApplyCurvesEvent(WithinDialogRange(e), selection, image, workers); }
  void operator()(const ExposureEvent& e) const { ApplyExposure(WithinDialogRange(e), selection, image, workers); }
  void operator()(const VibranceEvent& e) const { ApplyVibrance(WithinDialogRange(e), selection, image, workers); }
};

struct Naming {
  const char* operator()(const ColorBalanceEvent&) const { return "Color Balance"; }
  const char* operator()(const BrightnessContrastEvent&) const { return "Brightness/Contrast"; }
  const char* operator()(const HueSaturationEvent&) const { return "Hue/Saturation"; }
  const char* operator()(const PhotoFilterEvent&) const { return "Photo Filter"; }
  const char* operator()(const LevelsEvent&) const { return "Levels"; }
  const char* operator()(const CurvesEvent&) const { return "Curves"; }
  const char* operator()(const ExposureEvent&) const { return "Exposure"; }
  const char* operator()(const VibranceEvent&) const { return "Vibrance"; }
};

}  // namespace

void Apply(const AdjustmentEvent& event, const Selection& selection, Image& image, const RowWorkers& workers) {
  std::visit(Dispatch{selection, image, workers}, event);
}

const char* EventName(const AdjustmentEvent& event) { return std::visit(Naming{}, event); }

}  // namespace hostsim
