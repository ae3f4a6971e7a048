#include "imaging/Orientation.h"

#include <cstring>
#include <utility>

namespace hostsim {
namespace {

// EXIF data is a TIFF file: its byte order named by its first two bytes, "II" or "MM".
struct TiffReader {
  const uint8_t* data;
  size_t size;
  bool littleEndian;

  bool Has(size_t offset, size_t count) const { return offset <= size && count <= size - offset; }
  uint32_t Read16(size_t offset) const {
    const uint8_t* p = data + offset;
    return littleEndian ? uint32_t(p[0]) | uint32_t(p[1]) << 8 : uint32_t(p[0]) << 8 | uint32_t(p[1]);
  }
  uint32_t Read32(size_t offset) const {
    return littleEndian ? Read16(offset) | Read16(offset + 2) << 16 : Read16(offset) << 16 | Read16(offset + 2);
  }
};

constexpr uint32_t kOrientationTag = 0x0112;
constexpr uint32_t kShortType = 3;

}  // namespace

int ExifOrientation(const uint8_t* segment, size_t size) {
  constexpr size_t kExifName = 6;  // "Exif" and two zero bytes
  if (size < kExifName + 8 || std::memcmp(segment, "Exif\0\0", kExifName) != 0) return 1;
  TiffReader tiff{segment + kExifName, size - kExifName, false};
  if (std::memcmp(tiff.data, "II", 2) == 0) {
    tiff.littleEndian = true;
  } else if (std::memcmp(tiff.data, "MM", 2) != 0) {
    return 1;
  }
  // The first directory: a count, then 12-byte entries of tag, type, count and value.
  const size_t directory = tiff.Read32(4);
  if (!tiff.Has(directory, 2)) return 1;
  const size_t entries = tiff.Read16(directory);
  for (size_t i = 0; i < entries; ++i) {
    const size_t entry = directory + 2 + i * 12;
    if (!tiff.Has(entry, 12)) return 1;
    if (tiff.Read16(entry) != kOrientationTag) continue;
    if (tiff.Read16(entry + 2) != kShortType || tiff.Read32(entry + 4) != 1) return 1;
    const uint32_t value = tiff.Read16(entry + 8);
    return value >= 1 && value <= 8 ? int(value) : 1;
  }
  return 1;
}

void TurnUpright(Image& image, int orientation) {
  if (orientation < 2 || orientation > 8) return;
  const int w = image.width, h = image.height;
  const bool swaps = orientation >= 5;
  Image upright(swaps ? h : w, swaps ? w : h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int ux = x, uy = y;
      switch (orientation) {
        case 2: ux = w - 1 - x; break;
        case 3: ux = w - 1 - x, uy = h - 1 - y; break;
        case 4: uy = h - 1 - y; break;
        case 5: ux = y, uy = x; break;
        case 6: ux = h - 1 - y, uy = x; break;
        case 7: ux = h - 1 - y, uy = w - 1 - x; break;
        case 8: ux = y, uy = w - 1 - x; break;
        default: break;
      }
      std::memcpy(upright.At(ux, uy), image.At(x, y), 3);
    }
  }
  image = std::move(upright);
}

}  // namespace hostsim
