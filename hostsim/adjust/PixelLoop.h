// The one pixel loop of the adjustments: it visits only the covered span of each row of the
// selection's bounding box (all of the image while nothing is selected) and blends each adjusted
// pixel with the original by its coverage, original + (adjusted - original) * coverage,
// saturated to a byte.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "../Image.h"
#include "../Selection.h"
#include "ToneCurves.h"

namespace hostsim {

// The pixels an adjustment may change, within the image.
inline PixelBox AffectedBox(const Selection& selection, const Image& image) {
  PixelBox box = selection.active() ? selection.Bounds() : PixelBox{0, 0, image.width, image.height};
  box.left = std::max(box.left, 0), box.top = std::max(box.top, 0);
  box.right = std::min(box.right, image.width), box.bottom = std::min(box.bottom, image.height);
  return box;
}

// A partly covered pixel's channel.
inline uint8_t Blend(uint8_t original, float adjusted, float coverage) {
  return ToByte(original + (adjusted - original) * coverage);
}

// Calls `visit(uint8_t* pixel, float coverage)` for every pixel with coverage above 0, reading
// only the covered span of each row of the selection's bounding box.
template <typename Visit>
void ForEachCovered(const Selection& selection, Image& image, Visit visit) {
  const PixelBox box = AffectedBox(selection, image);
  for (int y = box.top; y < box.bottom; ++y) {
    const float* coverage = selection.CoverageRow(y);
    const int left = coverage != nullptr ? std::max(box.left, selection.RowLeft(y)) : box.left;
    const int right = coverage != nullptr ? std::min(box.right, selection.RowRight(y)) : box.right;
    if (left >= right) continue;
    uint8_t* pixel = image.At(left, y);
    for (int x = left; x < right; ++x, pixel += 3) {
      const float c = coverage != nullptr ? coverage[x] : 1.0f;
      if (c > 0) visit(pixel, c);
    }
  }
}

// `adjust(const uint8_t in[3], float out[3])` gives the adjusted pixel, unrounded.
template <typename Adjust>
void AdjustPixels(const Selection& selection, Image& image, Adjust adjust) {
  ForEachCovered(selection, image, [&adjust](uint8_t* pixel, float coverage) {
    float adjusted[3];
    adjust(pixel, adjusted);
    if (coverage >= 1) {
      pixel[0] = ToByte(adjusted[0]), pixel[1] = ToByte(adjusted[1]), pixel[2] = ToByte(adjusted[2]);
      return;
    }
    for (int i = 0; i < 3; ++i) pixel[i] = Blend(pixel[i], adjusted[i], coverage);
  });
}

// Each channel through its own curve.
inline void ApplyCurves(const std::array<ToneCurve, 3>& curves, const Selection& selection, Image& image) {
  ForEachCovered(selection, image, [&curves](uint8_t* pixel, float coverage) {
    for (int i = 0; i < 3; ++i) {
      pixel[i] = coverage >= 1 ? curves[i][pixel[i]] : Blend(pixel[i], curves[i][pixel[i]], coverage);
    }
  });
}

}  // namespace hostsim
