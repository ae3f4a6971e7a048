#include "Image.h"

#include <cmath>
#include <cstdio>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>

namespace hostsim {

bool LoadImageFile(const std::string& path, Image& image, std::string& error) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = "cannot open image " + path;
    return false;
  }
  int width = 0, height = 0, channels = 0;
  const bool known = stbi_info_from_file(file, &width, &height, &channels) != 0;
  if (!known) {
    std::fclose(file);
    error = "cannot read image " + path + ": " + stbi_failure_reason();
    return false;
  }
  if (width > kMaxImageSide || height > kMaxImageSide || int64_t(width) * height > kMaxImagePixels) {
    std::fclose(file);
    error = "image " + path + " is too large: " + std::to_string(width) + " x " + std::to_string(height) +
            " (at most " + std::to_string(kMaxImageSide) + " pixels a side and 64 million in all)";
    return false;
  }
  unsigned char* pixels = stbi_load_from_file(file, &width, &height, &channels, 3);
  std::fclose(file);
  if (pixels == nullptr) {
    error = "cannot read image " + path + ": " + stbi_failure_reason();
    return false;
  }
  image.width = width;
  image.height = height;
  image.rgb.assign(pixels, pixels + static_cast<size_t>(width) * height * 3);
  stbi_image_free(pixels);
  return true;
}

bool SavePng(const Image& image, const std::string& path) {
  return stbi_write_png(path.c_str(), image.width, image.height, 3, image.rgb.data(), image.width * 3) != 0;
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
