// The platform's image decoder: libpng and libjpeg natively, the Windows Imaging Component on
// Windows (which Wine backs with the same two libraries).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Image.h"
#include "ImageFormat.h"

namespace hostsim {

// Decodes a file whose header has been read and checked against the limits into 8-bit RGB.
// False, with a reason in the user's terms, for data the decoder refuses or finds cut short.
// Raises nothing; a failed allocation is a refusal.
bool DecodePixels(const uint8_t* data, size_t size, const ImageHeader& header, Image& image, std::string& reason);

}  // namespace hostsim
