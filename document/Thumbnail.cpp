#include "document/Thumbnail.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace hostsim {
namespace {

// The first source pixel of thumbnail pixel `i` of `count` across `size` source pixels, and the
// end of its block: at least one pixel, blocks overlapping when the thumbnail is the larger.
int BlockStart(int i, int size, int count) { return static_cast<int>(int64_t(i) * size / count); }
int BlockEnd(int i, int size, int count) {
  return std::max(BlockStart(i, size, count) + 1, static_cast<int>(int64_t(i + 1) * size / count));
}

// Adds a row's values to the column sums. The row is copied a piece at a time into a buffer of its
// own first: a byte pointer may point anywhere, also into the sums, which would keep the compiler
// from adding a piece's values all at once.
void AddRow(const uint8_t* row, size_t count, uint32_t* sums) {
  constexpr size_t kPiece = 64;
  uint8_t piece[kPiece];
  size_t i = 0;
  for (; i + kPiece <= count; i += kPiece) {
    std::memcpy(piece, row + i, kPiece);
    for (size_t k = 0; k < kPiece; ++k) sums[i + k] += piece[k];
  }
  for (; i < count; ++i) sums[i] += row[i];
}

}  // namespace

Image Thumbnail(const Image& image, int side, const RowWorkers& workers) {
  if (image.width <= 0 || image.height <= 0 || side <= 0) return Image();
  int width = side, height = side;
  if (image.width >= image.height) {
    height = std::max(1, static_cast<int>(int64_t(image.height) * side / image.width));
  } else {
    width = std::max(1, static_cast<int>(int64_t(image.width) * side / image.height));
  }
  Image small(width, height);
  // Each thumbnail row first sums its block of source rows column by column, a pass that reads
  // every row once and adds whole rows at a time; then each pixel sums its block of those columns.
  // The sums are exact, so the averages are the same as adding up each block pixel by pixel.
  const size_t rowValues = static_cast<size_t>(image.width) * 3;
  std::vector<std::vector<uint32_t>> columns(static_cast<size_t>(workers.Workers()), std::vector<uint32_t>(rowValues));
  workers.Split(0, height, [&](int worker, int first, int last) {
    uint32_t* column = columns[size_t(worker)].data();
    for (int y = first; y < last; ++y) {
      const int y0 = BlockStart(y, image.height, height), y1 = BlockEnd(y, image.height, height);
      std::fill(column, column + rowValues, 0u);
      for (int sy = y0; sy < y1; ++sy) AddRow(image.At(0, sy), rowValues, column);
      for (int x = 0; x < width; ++x) {
        const int x0 = BlockStart(x, image.width, width), x1 = BlockEnd(x, image.width, width);
        uint64_t sum[3] = {};
        for (int sx = x0; sx < x1; ++sx) {
          for (int c = 0; c < 3; ++c) sum[c] += column[size_t(sx) * 3 + c];
        }
        const uint64_t count = uint64_t(x1 - x0) * (y1 - y0);
        for (int c = 0; c < 3; ++c) small.At(x, y)[c] = static_cast<uint8_t>((sum[c] + count / 2) / count);
      }
    }
  });
  return small;
}

}  // namespace hostsim
