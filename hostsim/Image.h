// The document's pixels: 8-bit RGB, rows top down, and the PNG files they come from and go to.
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

// The largest document the host takes: no side above 16384 pixels and no more than 64 million.
constexpr int kMaxImageSide = 16384;
constexpr int64_t kMaxImagePixels = 64LL * 1000 * 1000;

// Reads a PNG (or any image stb reads) as RGB. On failure `image` is untouched and `error` says
// why: missing, unreadable or too large.
bool LoadImageFile(const std::string& path, Image& image, std::string& error);

// Writes a PNG; false when the file cannot be written.
bool SavePng(const Image& image, const std::string& path);

// The built-in document: a small landscape with colour patches, the same on every run.
Image BuiltInImage();

}  // namespace hostsim
