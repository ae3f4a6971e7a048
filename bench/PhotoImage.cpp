#include "bench/PhotoImage.h"

#include <cmath>
#include <cstdint>

namespace bench {
namespace {

uint8_t Byte(double v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

}  // namespace

hostsim::Image PhotoLikeImage(int width, int height) {
  hostsim::Image image(width, height);
  // The picture is drawn in the coordinates of a 4000 x 3000 photo; the grain stays one pixel.
  const double sx = 4000.0 / width, sy = 3000.0 / height;
  uint32_t grain = 12345;
  for (int py = 0; py < height; ++py) {
    const double y = py * sy;
    for (int px = 0; px < width; ++px) {
      const double x = px * sx;
      double rgb[3];
      const double ridge = 0.55 * 3000 + 120 * std::sin(x / 310.0) + 45 * std::sin(x / 53.0 + 1.7);
      if (y < ridge) {
        const double t = y / ridge;
        rgb[0] = 60 + 150 * t, rgb[1] = 110 + 110 * t, rgb[2] = 200 + 40 * t;
      } else {
        const double depth = (y - ridge) / (3000 - ridge);
        const double texture = 18 * std::sin(x / 7.0 + y / 11.0) * std::sin(y / 5.0);
        rgb[0] = 90 - 50 * depth + texture, rgb[1] = 140 - 60 * depth + texture, rgb[2] = 70 - 30 * depth + texture;
      }
      const double fx = (x - 2600.0) / 520, fy = (y - 1300.0) / 700;
      if (fx * fx + fy * fy < 1) {
        const double light = 0.75 + 0.25 * (1 - fx * fx - fy * fy) - 0.15 * fx;
        rgb[0] = 224 * light, rgb[1] = 172 * light, rgb[2] = 140 * light;
      }
      grain = grain * 1664525u + 1013904223u;
      const double noise = static_cast<int>(grain >> 28) - 7.5;
      uint8_t* p = image.At(px, py);
      for (int c = 0; c < 3; ++c) p[c] = Byte(rgb[c] + noise);
    }
  }
  return image;
}

}  // namespace bench
