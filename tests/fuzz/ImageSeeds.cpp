// Writes the image fuzz target's generated seeds: one file of every kind the image tests make, so
// that the fuzzer starts from each decoder path instead of finding its way there.
//   fuzz_image_seeds FOLDER
// PNGs of every colour type and depth, with and without transparency, plain and interlaced; the
// sample JPEGs of every colour space, one with an EXIF orientation; the kinds the loader refuses
// (16-bit palette, 4-bit RGB, 12-bit, lossless and two-component JPEGs, a size it will not take,
// damaged data).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/PngFiles.h"
#include "tests/support/SampleImages.h"
#include "tests/support/SampleJpegs.h"

namespace {

using png_files::PngContent;

PngContent Patterned(int colourType, int depth, int width = 7, int height = 5) {
  PngContent content;
  content.width = width, content.height = height, content.colourType = colourType, content.depth = depth;
  const int channels = png_files::Channels(colourType);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < channels; ++c) {
        const uint32_t spread = uint32_t(x) * 9173 + uint32_t(y) * 20011 + uint32_t(c) * 7919 + uint32_t(x * y) * 613;
        content.samples.push_back(depth == 16 ? spread & 0xFFFF : (spread >> 3) % (1u << depth));
      }
    }
  }
  if (colourType == 3) {
    for (int i = 0; i < 1 << depth; ++i) {
      content.palette.push_back(uint8_t(i * 37 + 11));
      content.palette.push_back(uint8_t(255 - i * 53));
      content.palette.push_back(uint8_t(i * 97 + 5));
    }
  }
  return content;
}

// A tRNS body: the first pixel's samples as the transparent colour, or alpha for half the palette.
std::vector<uint8_t> Transparency(const PngContent& content) {
  std::vector<uint8_t> key;
  if (content.colourType == 3) {
    for (size_t i = 0; i < (content.palette.size() / 3 + 1) / 2; ++i) key.push_back(uint8_t(i * 91 % 256));
    return key;
  }
  for (int c = 0; c < png_files::Channels(content.colourType); ++c) {
    key.push_back(uint8_t(content.samples[size_t(c)] >> 8)), key.push_back(uint8_t(content.samples[size_t(c)]));
  }
  return key;
}

// The colour JPEG with an EXIF segment (big-endian) giving the orientation.
std::string WithOrientation(int orientation) {
  std::string tiff("MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0", 19);
  tiff += char(orientation), tiff += std::string(6, '\0');
  const std::string body = std::string("Exif\0\0", 6) + tiff;
  std::string segment("\xff\xe1", 2);
  segment += char((body.size() + 2) >> 8), segment += char((body.size() + 2) & 0xFF);
  return sample_jpegs::ColourJpeg().insert(2, segment + body);
}

std::string WithByte(std::string bytes, size_t at, char value) {
  if (at < bytes.size()) bytes[at] = value;
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_image_seeds FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  int written = 0;
  auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "fuzz_image_seeds: cannot write %s/%s\n", folder.c_str(), name.c_str());
      std::exit(1);
    }
    ++written;
  };

  const int kinds[][2] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                          {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
  for (const auto& kind : kinds) {
    const std::string name = "png-type" + std::to_string(kind[0]) + "-" + std::to_string(kind[1]) + "bit";
    PngContent content = Patterned(kind[0], kind[1]);
    write(name + ".png", png_files::EncodePng(content));
    content.interlaced = true;
    write(name + "-interlaced.png", png_files::EncodePng(content));
    if (kind[0] == 4 || kind[0] == 6) continue;  // alpha of their own, no tRNS
    content.interlaced = false;
    content.transparency = Transparency(content);
    write(name + "-trns.png", png_files::EncodePng(content));
  }
  PngContent gradient = Patterned(0, 16, 300, 2);
  write("png-gradient-16bit.png", png_files::EncodePng(gradient));
  PngContent palette16 = Patterned(0, 16);
  palette16.colourType = 3;
  write("refused-png-palette-16bit.png", png_files::EncodePng(palette16));
  PngContent rgb4 = Patterned(2, 4);
  write("refused-png-rgb-4bit.png", png_files::EncodePng(rgb4));
  std::string damaged = png_files::EncodePng(Patterned(6, 16));
  write("refused-png-damaged-zlib.png", WithByte(damaged, damaged.find("IDAT") + 4, 0x7F));
  write("refused-png-claiming-size.png", sample_images::PngClaiming(70000, 70000));
  write("refused-bmp-top-down.bmp", sample_images::TopDownBmpHeader(8, -8));

  using namespace sample_jpegs;
  write("jpeg-colour.jpg", ColourJpeg());
  write("jpeg-grey.jpg", GreyJpeg());
  write("jpeg-cmyk.jpg", CmykJpeg());
  write("jpeg-adobe-cmyk.jpg", AdobeCmykJpeg());
  write("jpeg-adobe-ycck.jpg", AdobeYcckJpeg());
  write("jpeg-small.jpg", sample_images::SmallJpeg());
  write("jpeg-exif-orientation-6.jpg", WithOrientation(6));
  const std::string jpeg = ColourJpeg();
  const size_t frame = jpeg.find("\xff\xc0");
  write("refused-jpeg-12bit.jpg", WithByte(jpeg, frame + 4, 12));
  write("refused-jpeg-lossless.jpg", WithByte(jpeg, frame + 1, '\xc3'));
  write("refused-jpeg-two-components.jpg", WithByte(jpeg, frame + 9, 2));
  write("refused-jpeg-overfull-huffman.jpg", sample_images::OverfullHuffmanJpeg());
  std::printf("fuzz_image_seeds: %d image files in %s\n", written, folder.c_str());
  return 0;
}
