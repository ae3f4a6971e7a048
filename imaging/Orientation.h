// A camera's JPEG is stored as the sensor saw it, with an EXIF tag saying how to turn it upright.
// The document is the upright image, as Photoshop opens it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/Image.h"

namespace hostsim {

// The orientation tag (1 to 8) of the EXIF data in the body of a JPEG's APP1 segment; 1 (as
// stored) when the segment holds no EXIF data, no such tag, or a value outside 1 to 8.
int ExifOrientation(const uint8_t* segment, size_t size);

// Turns an image stored with the orientation upright: mirrored (2, 4), half turned (3),
// transposed (5, 7) or turned a quarter (6 clockwise, 8 anticlockwise), as EXIF defines them.
// Width and height swap for 5 to 8. Raises std::bad_alloc when there is no room for the copy.
void TurnUpright(Image& image, int orientation);

}  // namespace hostsim
