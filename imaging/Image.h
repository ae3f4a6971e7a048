// The document's pixels: 8-bit RGB, rows top down, and the image files they come from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hostsim {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // width * height * 3

  Image() = default;
  Image(int w, int h, uint8_t grey = 0) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3, grey) {}
  uint8_t* At(int x, int y) { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
  const uint8_t* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

// The documents the host takes: at least 1 x 1, no side above 16384 pixels and no more than 64
// million pixels; files of at most 512 MiB.
constexpr int kMaxImageSide = 16384;
constexpr int64_t kMaxImagePixels = 64LL * 1000 * 1000;
constexpr size_t kMaxImageFileBytes = size_t(512) << 20;

// Reads a PNG or JPEG file, known by its content, as 8-bit RGB: 16-bit samples rounded to 8 bits,
// grey and palette colours as RGB, transparency composited onto white, CMYK without a colour
// profile, and a JPEG turned upright by its EXIF orientation. On failure `image` is untouched and
// `error` names the file and says why: missing, unreadable, of another format or kind, cut short,
// or outside the limits (which it states).
bool LoadImageFile(const std::string& path, Image& image, std::string& error);

// The same for a file already in memory; `name` is the file named in the error.
bool DecodeImage(const uint8_t* data, size_t size, const std::string& name, Image& image, std::string& error);

// The built-in document: a small landscape with colour patches, the same on every run.
Image BuiltInImage();

}  // namespace hostsim
