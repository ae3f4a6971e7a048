// Geometry on planes of bytes: an image (3 channels) or a mask (1 channel), rows top down. Every
// function gives a new plane; sizes are checked by the caller against the document's limits.
#pragma once

#include <cstdint>
#include <vector>

namespace zem::document {

struct Plane {
  int width = 0;
  int height = 0;
  int channels = 1;
  std::vector<uint8_t> bytes;  // width * height * channels
};

// Resampled to `width` x `height`: each output pixel the tent-weighted average of the input pixels
// under it, the tent as wide as an output pixel when shrinking (so that every input pixel counts)
// and as an input pixel when enlarging (bilinear).
Plane Resample(const Plane& plane, int width, int height);
// The box [left, left + width) x [top, top + height) of the plane, which may reach beyond it:
// pixels outside the plane get `fill` (one value per channel).
Plane Cut(const Plane& plane, int left, int top, int width, int height, const uint8_t* fill);
Plane Flip(const Plane& plane, bool horizontal);
// A quarter turn clockwise (`clockwise`) or anticlockwise, or a half turn (`half`).
Plane Turn(const Plane& plane, bool clockwise, bool half);

}  // namespace zem::document
