// The reference host's pictures as PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/Image.h"

namespace hostsim {

// The image as the bytes of a PNG file; empty when it cannot be encoded.
std::vector<uint8_t> EncodePng(const Image& image);

// Writes a PNG to `path` (UTF-8); false when the file cannot be written.
bool SavePng(const Image& image, const std::string& path);

}  // namespace hostsim
