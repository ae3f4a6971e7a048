// The one pixel loop of the adjustments: it visits only the covered span of each row of the
// selection's bounding box (all of the image while nothing is selected) and blends each adjusted
// pixel with the original by its coverage, original + (adjusted - original) * coverage,
// saturated to a byte. The rows are shared out by the host's workers.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "document/RowWorkers.h"
#include "document/Selection.h"
#include "document/adjust/ToneCurves.h"
#include "imaging/Image.h"

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

// Calls `visitRow(uint8_t* pixels, const float* coverage, int count)` for the covered span of each
// row of the selection's bounding box: `count` pixels from `pixels`, `coverage` their coverage
// (some of it 0), or null where all of them are covered whole. `visitRow` is called from the
// workers' threads at once, for different rows.
template <typename VisitRow>
void ForEachCoveredRow(const Selection& selection, Image& image, const RowWorkers& workers, VisitRow visitRow) {
  const PixelBox box = AffectedBox(selection, image);
  if (box.empty()) return;
  workers.Split(box.top, box.bottom, [&](int, int first, int last) {
    for (int y = first; y < last; ++y) {
      const float* coverage = selection.CoverageRow(y);
      const int left = coverage != nullptr ? std::max(box.left, selection.RowLeft(y)) : box.left;
      const int right = coverage != nullptr ? std::min(box.right, selection.RowRight(y)) : box.right;
      if (left >= right) continue;
      if (coverage == nullptr) {
        visitRow(image.At(left, y), nullptr, right - left);
        continue;
      }
      // The row's whole columns, if any, between its partly covered ends.
      const int fullLeft = std::max(left, selection.FullLeft(y)), fullRight = std::min(right, selection.FullRight(y));
      if (fullLeft >= fullRight) {
        visitRow(image.At(left, y), coverage + left, right - left);
        continue;
      }
      if (left < fullLeft) visitRow(image.At(left, y), coverage + left, fullLeft - left);
      visitRow(image.At(fullLeft, y), nullptr, fullRight - fullLeft);
      if (fullRight < right) visitRow(image.At(fullRight, y), coverage + fullRight, right - fullRight);
    }
  });
}

// `adjust(const uint8_t in[3], float out[3])` gives the adjusted pixel, unrounded.
template <typename Adjust>
void AdjustPixels(const Selection& selection, Image& image, const RowWorkers& workers, Adjust adjust) {
  ForEachCoveredRow(selection, image, workers, [&adjust](uint8_t* pixel, const float* coverage, int count) {
    float adjusted[3];
    if (coverage == nullptr) {
      for (int x = 0; x < count; ++x, pixel += 3) {
        adjust(pixel, adjusted);
        pixel[0] = ToByte(adjusted[0]), pixel[1] = ToByte(adjusted[1]), pixel[2] = ToByte(adjusted[2]);
      }
      return;
    }
    for (int x = 0; x < count; ++x, pixel += 3) {
      const float c = coverage[x];
      if (c <= 0) continue;
      adjust(pixel, adjusted);
      if (c >= 1) {
        pixel[0] = ToByte(adjusted[0]), pixel[1] = ToByte(adjusted[1]), pixel[2] = ToByte(adjusted[2]);
      } else {
        for (int i = 0; i < 3; ++i) pixel[i] = Blend(pixel[i], adjusted[i], c);
      }
    }
  });
}

// Each channel through its own curve.
inline void ApplyCurves(const std::array<ToneCurve, 3>& curves, const Selection& selection, Image& image,
                        const RowWorkers& workers) {
  ForEachCoveredRow(selection, image, workers, [&curves](uint8_t* pixel, const float* coverage, int count) {
    const ToneCurve &red = curves[0], &green = curves[1], &blue = curves[2];
    if (coverage == nullptr) {
      for (int x = 0; x < count; ++x, pixel += 3) {
        pixel[0] = red[pixel[0]], pixel[1] = green[pixel[1]], pixel[2] = blue[pixel[2]];
      }
      return;
    }
    for (int x = 0; x < count; ++x, pixel += 3) {
      const float c = coverage[x];
      if (c >= 1) {
        pixel[0] = red[pixel[0]], pixel[1] = green[pixel[1]], pixel[2] = blue[pixel[2]];
      } else if (c > 0) {
        for (int i = 0; i < 3; ++i) pixel[i] = Blend(pixel[i], curves[i][pixel[i]], c);
      }
    }
  });
}

}  // namespace hostsim
