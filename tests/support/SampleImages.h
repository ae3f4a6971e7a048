// Image files for the tests of the image loader, native and under Wine: a small real JPEG, and
// the hostile files that a user may hand the reference host.
#pragma once

#include <cstdint>
#include <string>

namespace sample_images {

// An 8 x 6 baseline JPEG, red at the top to blue at the bottom (written by ImageMagick).
inline std::string SmallJpeg() {
  return std::string(
      "\xff\xd8\xff\xe0\x00\x10\x4a\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xff\xdb\x00\x43"
      "\x00\x06\x04\x05\x06\x05\x04\x06\x06\x05\x06\x07\x07\x06\x08\x0a\x10\x0a\x0a\x09\x09\x0a\x14\x0e"
      "\x0f\x0c\x10\x17\x14\x18\x18\x17\x14\x16\x16\x1a\x1d\x25\x1f\x1a\x1b\x23\x1c\x16\x16\x20\x2c\x20"
      "\x23\x26\x27\x29\x2a\x29\x19\x1f\x2d\x30\x2d\x28\x30\x25\x28\x29\x28\xff\xdb\x00\x43\x01\x07\x07"
      "\x07\x0a\x08\x0a\x13\x0a\x0a\x13\x28\x1a\x16\x1a\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28"
      "\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28"
      "\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\xff\xc0\x00\x11\x08\x00\x06\x00\x08\x03"
      "\x01\x22\x00\x02\x11\x01\x03\x11\x01\xff\xc4\x00\x15\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00"
      "\x00\x00\x00\x00\x00\x00\x00\x07\xff\xc4\x00\x17\x10\x01\x00\x03\x00\x00\x00\x00\x00\x00\x00\x00"
      "\x00\x00\x00\x00\x00\x00\x03\x15\x61\xff\xc4\x00\x15\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00"
      "\x00\x00\x00\x00\x00\x00\x05\x07\xff\xc4\x00\x19\x11\x00\x02\x03\x01\x00\x00\x00\x00\x00\x00\x00"
      "\x00\x00\x00\x00\x00\x00\x05\x01\x16\x53\x02\xff\xda\x00\x0c\x03\x01\x00\x02\x11\x03\x11\x00\x3f"
      "\x00\x89\xdd\xcb\xa0\x2c\x35\x95\x58\x72\x27\x61\x67\xb4\x9f\xff\xd9",
      305);
}

inline void PutBigEndian(std::string& bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(value >> shift);
}

// A PNG signature and IHDR claiming the size (8-bit RGB), `dataBytes` of IDAT and an IEND. Its
// checksums are not filled in: whatever reads it must refuse it before decoding.
inline std::string PngClaiming(uint32_t width, uint32_t height, uint32_t dataBytes = 10) {
  std::string png("\x89PNG\r\n\x1a\n", 8);
  PutBigEndian(png, 13);
  png += "IHDR";
  PutBigEndian(png, width);
  PutBigEndian(png, height);
  png += std::string("\x08\x02\x00\x00\x00", 5);
  PutBigEndian(png, 0);
  PutBigEndian(png, dataBytes);
  png += "IDAT" + std::string(dataBytes, '\0');
  PutBigEndian(png, 0);
  PutBigEndian(png, 0);
  png += "IEND";
  PutBigEndian(png, 0);
  return png;
}

// A 54-byte Windows bitmap header, 24 bits, top-down (negative height), with no pixels at all.
inline std::string TopDownBmpHeader(int32_t width, int32_t height) {
  std::string bmp = "BM";
  auto little = [&](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp += static_cast<char>(value >> (8 * i));
  };
  little(54, 4), little(0, 4), little(54, 4), little(40, 4), little(uint32_t(width), 4), little(uint32_t(height), 4);
  little(1, 2), little(24, 2), little(0, 4), little(0, 4), little(2835, 4), little(2835, 4), little(0, 4), little(0, 4);
  return bmp;
}

// A JPEG that starts a Huffman table whose code counts add up to more than its 256 symbols.
inline std::string OverfullHuffmanJpeg() { return std::string("\xff\xd8\xff\xc4\xff\xff\x00\xff\xff", 9); }

}  // namespace sample_images
