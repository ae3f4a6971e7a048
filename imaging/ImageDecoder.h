// The platform's image decoder: libpng and libjpeg natively, the Windows Imaging Component on
// Windows (which Wine backs with the same two libraries).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "imaging/Image.h"
#include "imaging/ImageFormat.h"

namespace hostsim {

// Decodes a file whose header has been read and checked against the limits into 8-bit RGB, as
// stored (not yet turned upright). Each decoder hands its 16-bit, CMYK and transparent pixels to
// the same conversions (PixelConversion.h), so both give the same document. False, with a reason
// in the user's terms naming the kind of file, for data the decoder refuses or finds cut short.
// Raises nothing; a failed allocation is a refusal.
bool DecodePixels(const uint8_t* data, size_t size, const ImageHeader& header, Image& image, std::string& reason);

}  // namespace hostsim
