#include "ui/ImageScaling.h"

#include <cstdint>

namespace zem {
namespace {

// Positions and weights in 1/256 of a source pixel.
constexpr int kFraction = 256;

struct Tap {
  int first;   // the source pixel on the left (above)
  int second;  // the one on the right (below)
  int weight;  // of the second, 0 to kFraction
};

// Where the centre of target pixel `i` falls between two source pixels' centres.
Tap TapFor(int i, int sourceLength, int targetLength) {
  const int64_t centre = (static_cast<int64_t>(2 * i + 1) * sourceLength * kFraction) / (2 * targetLength);
  int64_t position = centre - kFraction / 2;
  if (position < 0) position = 0;
  const int64_t last = static_cast<int64_t>(sourceLength - 1) * kFraction;
  if (position > last) position = last;
  Tap tap{static_cast<int>(position / kFraction), 0, static_cast<int>(position % kFraction)};
  tap.second = tap.first + 1 < sourceLength ? tap.first + 1 : tap.first;
  return tap;
}

uint32_t Blend(uint32_t a, uint32_t b, int weightOfB) {
  uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int ca = static_cast<int>((a >> shift) & 0xFF);
    const int cb = static_cast<int>((b >> shift) & 0xFF);
    const int mixed = (ca * (kFraction - weightOfB) + cb * weightOfB + kFraction / 2) / kFraction;
    result |= static_cast<uint32_t>(mixed) << shift;
  }
  return result;
}

}  // namespace

PixelSize FitInside(PixelSize picture, PixelSize box) {
  if (picture.width <= 0 || picture.height <= 0 || box.width <= 0 || box.height <= 0) return picture;
  // Width-limited unless the box is relatively wider than the picture.
  const int64_t widthLimited = static_cast<int64_t>(box.width) * picture.height;
  const int64_t heightLimited = static_cast<int64_t>(box.height) * picture.width;
  PixelSize fitted = box;
  if (widthLimited <= heightLimited) {
    fitted.height = static_cast<int>((widthLimited + picture.width / 2) / picture.width);
  } else {
    fitted.width = static_cast<int>((heightLimited + picture.height / 2) / picture.height);
  }
  if (fitted.width > box.width) fitted.width = box.width;
  if (fitted.height > box.height) fitted.height = box.height;
  if (fitted.width < 1) fitted.width = 1;
  if (fitted.height < 1) fitted.height = 1;
  return fitted;
}

void ScalePixels(const uint32_t* source, PixelSize sourceSize, uint32_t* target, PixelSize targetSize) {
  for (int y = 0; y < targetSize.height; ++y) {
    const Tap row = TapFor(y, sourceSize.height, targetSize.height);
    const uint32_t* above = source + static_cast<int64_t>(row.first) * sourceSize.width;
    const uint32_t* below = source + static_cast<int64_t>(row.second) * sourceSize.width;
    for (int x = 0; x < targetSize.width; ++x) {
      const Tap column = TapFor(x, sourceSize.width, targetSize.width);
      const uint32_t top = Blend(above[column.first], above[column.second], column.weight);
      const uint32_t bottom = Blend(below[column.first], below[column.second], column.weight);
      target[static_cast<int64_t>(y) * targetSize.width + x] = Blend(top, bottom, row.weight);
    }
  }
}

}  // namespace zem
