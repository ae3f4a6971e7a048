#include "document/steps/Filters.h"

#include <algorithm>
#include <cstddef>
#include <cmath>
#include <vector>

namespace zem::document {
namespace {

using hostsim::Image;

// The half-widths of three box blurs that together come close to a Gaussian of deviation sigma.
void BoxRadii(double sigma, int radii[3]) {
  const double ideal = std::sqrt(12 * sigma * sigma / 3 + 1);
  int lower = int(std::floor(ideal));
  if (lower % 2 == 0) --lower;
  const int upper = lower + 2;
  const double m = std::round((12 * sigma * sigma - 3.0 * lower * lower - 12.0 * lower - 9) / (-4.0 * lower - 4));
  for (int i = 0; i < 3; ++i) radii[i] = ((i < m ? lower : upper) - 1) / 2;
}

// One box blur of half-width r along a line of `count` values `stride` apart, through `scratch`.
void BoxLine(uint8_t* line, int count, std::ptrdiff_t stride, int r, std::vector<float>& scratch) {
  scratch.resize(size_t(count));
  float sum = 0;
  auto at = [&](int i) { return float(line[std::clamp(i, 0, count - 1) * stride]); };
  for (int i = -r; i <= r; ++i) sum += at(i);
  const float scale = 1.0f / float(2 * r + 1);
  for (int i = 0; i < count; ++i) {
    scratch[size_t(i)] = sum * scale;
    sum += at(i + r + 1) - at(i - r);
  }
  for (int i = 0; i < count; ++i) line[i * stride] = uint8_t(scratch[size_t(i)] + 0.5f);
}

}  // namespace

void GaussianBlur(Image& image, double radius, const hostsim::RowWorkers& workers) {
  radius = std::clamp(radius, 0.0, kMaxFilterRadius);
  if (radius < 0.1 || image.width == 0 || image.height == 0) return;
  int radii[3];
  BoxRadii(radius, radii);
  const int w = image.width, h = image.height;
  const size_t rowBytes = size_t(w) * 3;
  Image down(w, h);
  for (int pass = 0; pass < 3; ++pass) {
    const int r = radii[pass];
    if (r <= 0) continue;
    workers.Split(0, h, [&](int, int first, int last) {
      std::vector<float> scratch;
      for (int y = first; y < last; ++y) {
        for (int c = 0; c < 3; ++c) BoxLine(image.At(0, y) + c, w, 3, r, scratch);
      }
    });
    // Down the columns a row at a time, for the cache: each band keeps the running sums of its
    // columns' windows and writes into a second image.
    workers.Split(0, h, [&](int, int first, int last) {
      std::vector<float> sums(rowBytes, 0.0f);
      auto row = [&](int y) { return image.At(0, std::clamp(y, 0, h - 1)); };
      for (int k = first - r; k <= first + r; ++k) {
        const uint8_t* in = row(k);
        for (size_t i = 0; i < rowBytes; ++i) sums[i] += in[i];
      }
      const float scale = 1.0f / float(2 * r + 1);
      for (int y = first; y < last; ++y) {
        uint8_t* out = down.At(0, y);
        const uint8_t* add = row(y + r + 1);
        const uint8_t* drop = row(y - r);
        for (size_t i = 0; i < rowBytes; ++i) {
          out[i] = uint8_t(sums[i] * scale + 0.5f);
          sums[i] += float(add[i]) - float(drop[i]);
        }
      }
    });
    std::swap(image.rgb, down.rgb);
  }
}

void UnsharpMask(Image& image, double amount, double radius, int threshold, const hostsim::RowWorkers& workers) {
  Image blurred = image;
  GaussianBlur(blurred, radius, workers);
  const float gain = float(std::clamp(amount, 0.0, 500.0) / 100);
  for (size_t i = 0; i < image.rgb.size(); ++i) {
    const float difference = float(image.rgb[i]) - float(blurred.rgb[i]);
    if (std::fabs(difference) < float(threshold)) continue;
    image.rgb[i] = uint8_t(std::clamp(image.rgb[i] + gain * difference, 0.0f, 255.0f) + 0.5f);
  }
}

void HighPass(Image& image, double radius, const hostsim::RowWorkers& workers) {
  Image blurred = image;
  GaussianBlur(blurred, std::max(radius, 0.1), workers);
  for (size_t i = 0; i < image.rgb.size(); ++i) {
    image.rgb[i] = uint8_t(std::clamp(int(image.rgb[i]) - int(blurred.rgb[i]) + 128, 0, 255));
  }
}

}  // namespace zem::document
