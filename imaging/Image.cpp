#include "imaging/Image.h"

#include <cmath>
#include <cstdio>
#include <new>
#include <utility>

#include "imaging/FileAccess.h"
#include "imaging/ImageDecoder.h"
#include "imaging/ImageFormat.h"
#include "imaging/Orientation.h"

namespace hostsim {

namespace {

std::string SizeText(int64_t width, int64_t height) { return std::to_string(width) + " x " + std::to_string(height); }

// The limits, in the user's terms; empty when the size is within them.
std::string SizeProblem(int64_t width, int64_t height) {
  if (width < 1 || height < 1) return "it is " + SizeText(width, height) + " pixels: an image has at least 1 x 1";
  if (width > kMaxImageSide || height > kMaxImageSide || width * height > kMaxImagePixels) {
    return "it is too large: " + SizeText(width, height) + " pixels, where the limit is " +
           std::to_string(kMaxImageSide) + " pixels a side and 64 million in all";
  }
  return std::string();
}

}  // namespace

bool DecodeImage(const uint8_t* data, size_t size, const std::string& name, Image& image, std::string& error) {
  ImageHeader header;
  std::string reason;
  const bool whole = ReadImageHeader(data, size, header, reason);
  // A size outside the limits is the first thing to tell, even of a file cut short.
  const std::string sizeProblem = header.sized ? SizeProblem(header.width, header.height) : std::string();
  if (!sizeProblem.empty() || !whole || !HoldsEnoughData(header, reason)) {
    error = "cannot read image " + name + ": " + (sizeProblem.empty() ? reason : sizeProblem);
    return false;
  }
  Image decoded;
  if (!DecodePixels(data, size, header, decoded, reason)) {
    error = "cannot read image " + name + ": " + reason;
    return false;
  }
  if (decoded.width != header.width || decoded.height != header.height ||
      decoded.rgb.size() != size_t(decoded.width) * size_t(decoded.height) * 3) {
    error = "cannot read image " + name + ": its header says " + SizeText(header.width, header.height) +
            " pixels, its data gives " + SizeText(decoded.width, decoded.height);
    return false;
  }
  try {
    TurnUpright(decoded, header.orientation);
  } catch (const std::bad_alloc&) {
    error = "cannot read image " + name + ": there is not enough memory to turn its " +
            SizeText(header.width, header.height) + " pixels upright";
    return false;
  }
  image = std::move(decoded);
  return true;
}

bool LoadImageFile(const std::string& path, Image& image, std::string& error) {
  std::vector<uint8_t> bytes;
  const FileRead read = ReadWholeFile(path, kMaxImageFileBytes, bytes);
  if (read != FileRead::kRead) {
    error = ReadProblem(read, "image", path, kMaxImageFileBytes);
    return false;
  }
  return DecodeImage(bytes.data(), bytes.size(), path, image, error);
}

namespace {

uint8_t Mix(int a, int b, int step, int steps) { return static_cast<uint8_t>(a + (b - a) * step / steps); }

}  // namespace

Image BuiltInImage() {
  constexpr int kWidth = 480, kHeight = 320;
  Image image(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      uint8_t* p = image.At(x, y);
      // Sky, from deep blue to a pale horizon.
      p[0] = Mix(70, 200, y, 200), p[1] = Mix(120, 220, y, 200), p[2] = Mix(190, 240, y, 200);
      // The sun.
      const int dx = x - 360, dy = y - 70;
      if (dx * dx + dy * dy < 32 * 32) p[0] = 250, p[1] = 214, p[2] = 90;
      // Two rows of hills.
      const double far = 190 + 18 * std::sin(x / 41.0);
      const double near = 235 + 22 * std::sin(x / 67.0 + 1.3);
      if (y > far) p[0] = 92, p[1] = 140, p[2] = 88;
      if (y > near) p[0] = Mix(70, 40, y - 235, 85), p[1] = Mix(150, 100, y - 235, 85), p[2] = Mix(60, 40, y - 235, 85);
    }
  }
  // Colour patches along the bottom: red, green, blue, skin, grey ramp.
  const uint8_t patches[5][3] = {{200, 40, 40}, {40, 170, 60}, {50, 70, 200}, {224, 172, 140}, {128, 128, 128}};
  for (int i = 0; i < 5; ++i) {
    for (int y = 280; y < 310; ++y) {
      for (int x = 20 + i * 60; x < 70 + i * 60; ++x) {
        uint8_t* p = image.At(x, y);
        for (int c = 0; c < 3; ++c) p[c] = patches[i][c];
        if (i == 4) p[0] = p[1] = p[2] = static_cast<uint8_t>(40 + (x - 260) * 4);
      }
    }
  }
  return image;
}

}  // namespace hostsim
