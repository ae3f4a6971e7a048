// PNG files of any colour type and depth, plain or interlaced, written from their samples for the
// tests of the image readers: rows filtered with "none", the deflate stream in stored blocks,
// every checksum right.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace png_files {

struct PngContent {
  int width = 0;
  int height = 0;
  int colourType = 0;                 // 0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA
  int depth = 8;                      // bits per sample
  std::vector<uint32_t> samples;      // width * height * channels, each below 2 to the depth
  std::vector<uint8_t> palette;       // RGB triples, for colour type 3
  std::vector<uint8_t> transparency;  // the tRNS chunk's body, when there is one
  bool interlaced = false;            // Adam7: seven passes over ever finer grids
};

inline int Channels(int colourType) { return colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1; }

inline uint32_t Crc32(const std::string& bytes, size_t from) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = from; i < bytes.size(); ++i) {
    crc ^= static_cast<uint8_t>(bytes[i]);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

inline void PutBigEndian32(std::string& bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(value >> shift);
}

inline void PutChunk(std::string& png, const char* type, const std::string& body) {
  PutBigEndian32(png, static_cast<uint32_t>(body.size()));
  const size_t typeStart = png.size();
  png += type;
  png += body;
  PutBigEndian32(png, Crc32(png, typeStart));
}

// A zlib stream holding `raw` in stored (uncompressed) deflate blocks.
inline std::string StoredZlib(const std::string& raw) {
  std::string z("\x78\x01", 2);
  size_t offset = 0;
  do {
    const size_t length = raw.size() - offset < 65535 ? raw.size() - offset : 65535;
    const bool last = offset + length == raw.size();
    z += static_cast<char>(last ? 1 : 0);
    z += static_cast<char>(length & 0xFF), z += static_cast<char>(length >> 8);
    z += static_cast<char>(~length & 0xFF), z += static_cast<char>((~length >> 8) & 0xFF);
    z += raw.substr(offset, length);
    offset += length;
  } while (offset < raw.size());
  uint32_t a = 1, b = 0;
  for (char c : raw) a = (a + static_cast<uint8_t>(c)) % 65521, b = (b + a) % 65521;
  PutBigEndian32(z, b << 16 | a);
  return z;
}

// The rows of the pixels on a grid (every `stepX`th from `startX`, ...), each filter byte "none"
// and the samples packed from the high bits of each byte.
inline std::string GridRows(const PngContent& content, int startX, int startY, int stepX, int stepY) {
  const int channels = Channels(content.colourType);
  std::string raw;
  if (startX >= content.width) return raw;
  for (int y = startY; y < content.height; y += stepY) {
    raw += '\0';
    uint32_t bits = 0;
    int count = 0;
    for (int x = startX; x < content.width; x += stepX) {
      for (int c = 0; c < channels; ++c) {
        const uint32_t sample = content.samples[(size_t(y) * content.width + x) * channels + c];
        if (content.depth == 16) {
          raw += static_cast<char>(sample >> 8), raw += static_cast<char>(sample & 0xFF);
          continue;
        }
        bits = bits << content.depth | sample, count += content.depth;
        if (count == 8) raw += static_cast<char>(bits), bits = 0, count = 0;
      }
    }
    if (count > 0) raw += static_cast<char>(bits << (8 - count));
  }
  return raw;
}

inline std::string EncodePng(const PngContent& content) {
  std::string raw;
  if (content.interlaced) {
    const int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                              {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto& pass : passes) raw += GridRows(content, pass[0], pass[1], pass[2], pass[3]);
  } else {
    raw = GridRows(content, 0, 0, 1, 1);
  }
  std::string png("\x89PNG\r\n\x1a\n", 8), header;
  PutBigEndian32(header, uint32_t(content.width));
  PutBigEndian32(header, uint32_t(content.height));
  header += static_cast<char>(content.depth), header += static_cast<char>(content.colourType);
  header += std::string(2, '\0');
  header += static_cast<char>(content.interlaced ? 1 : 0);
  PutChunk(png, "IHDR", header);
  if (!content.palette.empty()) PutChunk(png, "PLTE", std::string(content.palette.begin(), content.palette.end()));
  if (!content.transparency.empty()) {
    PutChunk(png, "tRNS", std::string(content.transparency.begin(), content.transparency.end()));
  }
  PutChunk(png, "IDAT", StoredZlib(raw));
  PutChunk(png, "IEND", "");
  return png;
}

}  // namespace png_files
