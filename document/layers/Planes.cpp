#include "document/layers/Planes.h"

#include <algorithm>
#include <cmath>

namespace zem::document {
namespace {

// The weights of the input pixels for each output pixel along one axis.
struct Taps {
  std::vector<int> first;         // per output pixel: the first input pixel
  std::vector<int> count;         // and how many follow
  std::vector<float> weights;     // `count` weights per output pixel, from `start`
  std::vector<size_t> start;
};

Taps MakeTaps(int from, int to) {
  Taps taps;
  const double scale = double(from) / to;  // input pixels per output pixel
  const double support = std::max(1.0, scale);
  taps.first.resize(to), taps.count.resize(to), taps.start.resize(to);
  for (int o = 0; o < to; ++o) {
    const double centre = (o + 0.5) * scale - 0.5;
    const int lo = std::max(0, int(std::floor(centre - support)) + 1);
    const int hi = std::min(from - 1, int(std::ceil(centre + support)) - 1);
    taps.first[o] = lo;
    taps.start[o] = taps.weights.size();
    double total = 0;
    const size_t begin = taps.weights.size();
    for (int i = lo; i <= hi; ++i) {
      const double w = std::max(0.0, 1 - std::fabs(i - centre) / support);
      taps.weights.push_back(float(w));
      total += w;
    }
    if (taps.weights.size() == begin || total <= 0) {  // the nearest pixel
      taps.first[o] = std::clamp(int(std::lround(centre)), 0, from - 1);
      taps.weights.resize(begin);
      taps.weights.push_back(1.0f);
      total = 1;
    }
    for (size_t k = begin; k < taps.weights.size(); ++k) taps.weights[k] = float(taps.weights[k] / total);
    taps.count[o] = int(taps.weights.size() - begin);
  }
  return taps;
}

}  // namespace

Plane Resample(const Plane& plane, int width, int height) {
  const int ch = plane.channels;
  const Taps across = MakeTaps(plane.width, width), down = MakeTaps(plane.height, height);
  // A row at a time: down first into one row of floats of the old width, then across, so that
  // the work space is one row whatever the sizes.
  const size_t oldRow = size_t(plane.width) * ch;
  std::vector<float> middle(oldRow);
  Plane result{width, height, ch, std::vector<uint8_t>(size_t(width) * height * ch)};
  for (int y = 0; y < height; ++y) {
    std::fill(middle.begin(), middle.end(), 0.0f);
    for (int k = 0; k < down.count[y]; ++k) {
      const float weight = down.weights[down.start[y] + k];
      const uint8_t* in = &plane.bytes[size_t(down.first[y] + k) * oldRow];
      for (size_t i = 0; i < oldRow; ++i) middle[i] += weight * in[i];
    }
    uint8_t* out = &result.bytes[size_t(y) * width * ch];
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < ch; ++c) {
        float sum = 0;
        for (int k = 0; k < across.count[x]; ++k) {
          sum += across.weights[across.start[x] + k] * middle[size_t(across.first[x] + k) * ch + c];
        }
        out[x * ch + c] = uint8_t(std::clamp(sum, 0.0f, 255.0f) + 0.5f);
      }
    }
  }
  return result;
}

Plane Cut(const Plane& plane, int left, int top, int width, int height, const uint8_t* fill) {
  const int ch = plane.channels;
  Plane result{width, height, ch, std::vector<uint8_t>(size_t(width) * height * ch)};
  for (int y = 0; y < height; ++y) {
    uint8_t* out = &result.bytes[size_t(y) * width * ch];
    const int sy = top + y;
    for (int x = 0; x < width; ++x) {
      const int sx = left + x;
      const bool inside = sx >= 0 && sy >= 0 && sx < plane.width && sy < plane.height;
      for (int c = 0; c < ch; ++c) {
        out[x * ch + c] = inside ? plane.bytes[(size_t(sy) * plane.width + sx) * ch + c] : fill[c];
      }
    }
  }
  return result;
}

Plane Flip(const Plane& plane, bool horizontal) {
  const int ch = plane.channels;
  Plane result = plane;
  for (int y = 0; y < plane.height; ++y) {
    for (int x = 0; x < plane.width; ++x) {
      const int sx = horizontal ? plane.width - 1 - x : x, sy = horizontal ? y : plane.height - 1 - y;
      for (int c = 0; c < ch; ++c) {
        result.bytes[(size_t(y) * plane.width + x) * ch + c] = plane.bytes[(size_t(sy) * plane.width + sx) * ch + c];
      }
    }
  }
  return result;
}

Plane Turn(const Plane& plane, bool clockwise, bool half) {
  if (half) return Flip(Flip(plane, true), false);
  const int ch = plane.channels, w = plane.width, h = plane.height;
  Plane result{h, w, ch, std::vector<uint8_t>(plane.bytes.size())};
  for (int y = 0; y < w; ++y) {
    for (int x = 0; x < h; ++x) {
      // Clockwise, output (x, y) shows input (y, h - 1 - x); anticlockwise input (w - 1 - y, x).
      const int sx = clockwise ? y : w - 1 - y, sy = clockwise ? h - 1 - x : x;
      for (int c = 0; c < ch; ++c) result.bytes[(size_t(y) * h + x) * ch + c] = plane.bytes[(size_t(sy) * w + sx) * ch + c];
    }
  }
  return result;
}

}  // namespace zem::document
