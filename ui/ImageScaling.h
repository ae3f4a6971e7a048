// Scaling a small picture to the control it is shown in: its size there, and its pixels.
#pragma once

#include <cstdint>

namespace zem {

struct PixelSize {
  int width;
  int height;
};

// The largest size with the picture's aspect that fits inside the box, at least one pixel each
// way; the picture's own size when either is empty.
PixelSize FitInside(PixelSize picture, PixelSize box);

// Resamples 32-bit pixels (rows top down, no padding) by bilinear interpolation between the
// centres of the source pixels, each of the four bytes on its own; the edge pixels are repeated
// beyond the edges. The same size copies the pixels unchanged.
void ScalePixels(const uint32_t* source, PixelSize sourceSize, uint32_t* target, PixelSize targetSize);

}  // namespace zem
