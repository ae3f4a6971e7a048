// What the reference host reads as an image: PNG and JPEG, told apart by their content, with the
// size their headers claim and the checks a decoder cannot be trusted to make on hostile files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace hostsim {

enum class ImageFormat { Unknown, Png, Jpeg };

struct ImageHeader {
  ImageFormat format = ImageFormat::Unknown;
  bool sized = false;  // whether the size below was read
  int64_t width = 0;
  int64_t height = 0;
  uint64_t dataBytes = 0;  // the compressed pixel data: a PNG's IDAT chunks, a JPEG's scans
  int bitsPerPixel = 0;    // of a PNG's rows
  int bitDepth = 0;        // a PNG's bits per sample, a JPEG's sample precision
  int pngColourType = -1;  // 0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA
  int jpegComponents = 0;  // 1 grey, 3 YCbCr or RGB, 4 CMYK or YCCK
  int orientation = 1;     // a JPEG's EXIF orientation, 1 to 8: how the stored rows turn upright
};

// The format by the file's first bytes, whatever its name.
ImageFormat SniffImageFormat(const uint8_t* data, size_t size);

// Reads the size from the header and walks the file's structure: a PNG's chunks up to IEND, a
// JPEG's segments up to its first scan and the end-of-image marker after it, with the EXIF
// orientation on the way. False, with a reason in the user's terms, for a file of another format,
// one cut short, one with no size, or one of a kind the reference host does not read (a PNG
// colour type and depth the format does not define; a lossless JPEG, or one of other than 1, 3 or
// 4 components or 8-bit samples). The size is kept when it was read before the fault; it is not
// checked against the limits here.
bool ReadImageHeader(const uint8_t* data, size_t size, ImageHeader& header, std::string& reason);

// The kind of file in the user's terms, e.g. "16-bit RGBA PNG" or "CMYK JPEG".
std::string ImageKind(const ImageHeader& header);

// Whether the compressed data can hold all the pixels the size claims: a PNG's deflate data
// expands at most 1032-fold, a JPEG spends at least one bit on each 8 x 8 block.
bool HoldsEnoughData(const ImageHeader& header, std::string& reason);

}  // namespace hostsim
