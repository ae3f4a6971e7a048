#include "imaging/ImageFormat.h"

#include <cstring>

#include "imaging/Orientation.h"

namespace hostsim {
namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
uint32_t BigEndian16(const uint8_t* p) { return uint32_t(p[0]) << 8 | uint32_t(p[1]); }

std::string At(size_t offset) { return " at byte " + std::to_string(offset); }

// The colour types and depths a PNG may have: grey 1 to 16 bits, palette 1 to 8, the rest 8 or 16.
bool IsPngColourAndDepth(int colour, int depth) {
  switch (colour) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6: return depth == 8 || depth == 16;
    default: return false;
  }
}

bool ReadPngHeader(const uint8_t* data, size_t size, ImageHeader& header, std::string& reason) {
  size_t offset = sizeof kPngSignature;
  bool first = true;
  for (;;) {
    if (size - offset < 12) {
      reason = "the PNG file ends" + At(size) + " before its IEND chunk: it is cut short";
      return false;
    }
    const uint32_t length = BigEndian32(data + offset);
    const uint8_t* type = data + offset + 4;
    if (length > 0x7FFFFFFFu || length > size - offset - 12) {
      reason = "the PNG chunk" + At(offset) + " is longer than the rest of the file: it is cut short";
      return false;
    }
    const uint8_t* body = type + 4;
    if (first) {
      if (std::memcmp(type, "IHDR", 4) != 0 || length < 13) {
        reason = "the PNG file has no IHDR chunk" + At(offset);
        return false;
      }
      header.width = BigEndian32(body);
      header.height = BigEndian32(body + 4);
      header.sized = true;
      const int depth = body[8], colour = body[9];
      if (!IsPngColourAndDepth(colour, depth)) {
        reason = "the PNG file's IHDR chunk" + At(offset) + " gives colour type " + std::to_string(colour) +
                 " at " + std::to_string(depth) + " bits, a kind of PNG the format does not define";
        return false;
      }
      if (body[10] != 0 || body[11] != 0 || body[12] > 1) {
        reason = "the PNG file's IHDR chunk" + At(offset) +
                 " names a compression, filter or interlace method the format does not define";
        return false;
      }
      const int channels = colour == 2 ? 3 : colour == 4 ? 2 : colour == 6 ? 4 : 1;
      header.bitsPerPixel = depth * channels;
      header.bitDepth = depth;
      header.pngColourType = colour;
      first = false;
    } else if (std::memcmp(type, "IDAT", 4) == 0) {
      header.dataBytes += length;
    } else if (std::memcmp(type, "IEND", 4) == 0) {
      break;
    }
    offset += 12 + size_t(length);
  }
  return true;
}

bool IsStartOfFrame(uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The frames the decoders read: sequential or progressive, Huffman or arithmetic coded, of 8-bit
// samples in 1 (grey), 3 (YCbCr or RGB) or 4 (CMYK or YCCK) components.
bool CheckJpegFrame(uint8_t marker, const ImageHeader& header, uint32_t length, size_t offset, std::string& reason) {
  const std::string frame = "the JPEG frame header" + At(offset);
  if (marker == 0xC3 || marker == 0xCB || (marker & 0x04) != 0) {
    reason = frame + " is of a lossless or hierarchical JPEG, which the reference host does not read";
  } else if (header.bitDepth != 8) {
    reason = frame + " gives " + std::to_string(header.bitDepth) +
             "-bit samples; the reference host reads JPEGs of 8-bit samples only";
  } else if (header.jpegComponents != 1 && header.jpegComponents != 3 && header.jpegComponents != 4) {
    reason = frame + " gives " + std::to_string(header.jpegComponents) +
             " colour components; the reference host reads grey (1), colour (3) and CMYK (4) JPEGs";
  } else if (length < 8 + 3 * uint32_t(header.jpegComponents)) {
    reason = frame + " is too short for its " + std::to_string(header.jpegComponents) + " components";
  } else {
    return true;
  }
  return false;
}

bool ReadJpegHeader(const uint8_t* data, size_t size, ImageHeader& header, std::string& reason) {
  size_t offset = 2;
  for (;;) {
    if (size - offset < 4 || data[offset] != 0xFF) {
      reason = size - offset < 4 ? "the JPEG file ends" + At(size) + " before its image data: it is cut short"
                                 : "the JPEG file has no segment marker" + At(offset);
      return false;
    }
    const uint8_t marker = data[offset + 1];
    if (marker == 0xFF) {  // fill byte before a marker
      ++offset;
      continue;
    }
    const uint32_t length = BigEndian16(data + offset + 2);
    if (length < 2 || length > size - offset - 2) {
      reason = "the JPEG segment" + At(offset) + " is longer than the rest of the file: it is cut short";
      return false;
    }
    if (IsStartOfFrame(marker)) {
      if (length < 8) {
        reason = "the JPEG frame header" + At(offset) + " is too short";
        return false;
      }
      header.bitDepth = data[offset + 4];
      header.height = BigEndian16(data + offset + 5);
      header.width = BigEndian16(data + offset + 7);
      header.jpegComponents = data[offset + 9];
      header.sized = true;
      if (!CheckJpegFrame(marker, header, length, offset, reason)) return false;
    } else if (marker == 0xE1 && header.orientation == 1) {
      header.orientation = ExifOrientation(data + offset + 4, length - 2);
    } else if (marker == 0xDA) {  // start of scan: the entropy-coded data follows
      if (!header.sized) {
        reason = "the JPEG file's image data" + At(offset) + " comes before its frame header";
        return false;
      }
      offset += 2 + length;
      break;
    }
    offset += 2 + length;
  }
  // Inside entropy-coded data 0xFF is always followed by 0 or a restart marker, so the first
  // end-of-image marker from here ends the image.
  const size_t scanStart = offset;
  size_t end = offset;
  while (end + 1 < size && !(data[end] == 0xFF && data[end + 1] == 0xD9)) ++end;
  if (end + 1 >= size) {
    reason = "the JPEG file ends" + At(size) + " without its end-of-image marker: it is cut short";
    return false;
  }
  header.dataBytes = end - scanStart;
  return true;
}

}  // namespace

ImageFormat SniffImageFormat(const uint8_t* data, size_t size) {
  if (size >= sizeof kPngSignature && std::memcmp(data, kPngSignature, sizeof kPngSignature) == 0) {
    return ImageFormat::Png;
  }
  if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return ImageFormat::Jpeg;
  return ImageFormat::Unknown;
}

bool ReadImageHeader(const uint8_t* data, size_t size, ImageHeader& header, std::string& reason) {
  header = ImageHeader();
  header.format = SniffImageFormat(data, size);
  switch (header.format) {
    case ImageFormat::Png: return ReadPngHeader(data, size, header, reason);
    case ImageFormat::Jpeg: return ReadJpegHeader(data, size, header, reason);
    case ImageFormat::Unknown: break;
  }
  reason = "it is neither a PNG nor a JPEG file (the reference host reads only these, whatever the file's name)";
  return false;
}

std::string ImageKind(const ImageHeader& header) {
  if (header.format == ImageFormat::Png) {
    const char* colours[] = {"grey", "", "RGB", "palette", "grey-and-alpha", "", "RGBA"};
    const bool known = header.pngColourType >= 0 && header.pngColourType <= 6;
    return std::to_string(header.bitDepth) + "-bit " + (known ? colours[header.pngColourType] : "") + " PNG";
  }
  if (header.format == ImageFormat::Jpeg) {
    return header.jpegComponents == 1 ? "grey JPEG" : header.jpegComponents == 4 ? "CMYK JPEG" : "colour JPEG";
  }
  return "file";
}

bool HoldsEnoughData(const ImageHeader& header, std::string& reason) {
  const uint64_t width = uint64_t(header.width), height = uint64_t(header.height);
  uint64_t needed = 0;
  if (header.format == ImageFormat::Png) {
    // Each row is a filter byte and its pixels.
    const uint64_t rowBytes = 1 + (width * uint64_t(header.bitsPerPixel > 0 ? header.bitsPerPixel : 1) + 7) / 8;
    needed = (rowBytes * height + 1031) / 1032;
  } else {
    needed = ((width + 7) / 8 * ((height + 7) / 8) + 7) / 8;
  }
  if (header.dataBytes >= needed) return true;
  reason = "the file holds " + std::to_string(header.dataBytes) + " bytes of pixel data, too few for " +
           std::to_string(header.width) + " x " + std::to_string(header.height) + " pixels: it is cut short";
  return false;
}

}  // namespace hostsim
