// Every kind of PNG and JPEG a camera or an editor writes, read into the document's 8-bit RGB and
// compared pixel by pixel with the colours the file was made from. The same tests run on the
// native decoder and on the Windows Imaging Component (under Wine), so both give the same
// document: exactly for every PNG (16 bits rounded to the nearest level, alpha composited onto
// white with rounding); within 4 levels for a JPEG's lossy blocks, as each platform's JPEG codec
// has its own transform.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/Image.h"
#include "tests/support/PngFiles.h"
#include "tests/support/SampleJpegs.h"

namespace {

using hostsim::Image;
using png_files::PngContent;

constexpr int kWidth = 7, kHeight = 5;  // rows of 7 pixels end inside a byte below 8 bits

struct Rgb {
  int r, g, b;
};

bool Read(const std::string& bytes, Image& image, std::string& error) {
  return hostsim::DecodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), "kind.png", image, error);
}

// The largest difference of any sample from the expected colours, and where it is.
struct Difference {
  int most = 0;
  int x = 0, y = 0;
};

template <typename Expected>
Difference Compare(const Image& image, Expected expected) {
  Difference difference;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb want = expected(x, y);
      const uint8_t* got = image.At(x, y);
      const int most = std::max({std::abs(got[0] - want.r), std::abs(got[1] - want.g), std::abs(got[2] - want.b)});
      if (most > difference.most) difference = {most, x, y};
    }
  }
  return difference;
}

// A sample of the pattern every test PNG is filled with, spread over the whole range of the depth.
uint32_t PatternSample(int x, int y, int channel, int depth) {
  const uint32_t spread = uint32_t(x) * 9173 + uint32_t(y) * 20011 + uint32_t(channel) * 7919 + uint32_t(x * y) * 613;
  return depth == 16 ? spread & 0xFFFF : (spread >> 3) % (1u << depth);
}

int EightBits(uint32_t sample, int depth) {
  return static_cast<int>(std::lround(sample * 255.0 / double((1u << depth) - 1)));
}

int OntoWhite(int colour, int alpha) {
  return static_cast<int>(std::lround((colour * alpha + 255.0 * (255 - alpha)) / 255));
}

PngContent Patterned(int colourType, int depth) {
  PngContent content;
  content.width = kWidth, content.height = kHeight, content.colourType = colourType, content.depth = depth;
  const int channels = png_files::Channels(colourType);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      for (int c = 0; c < channels; ++c) content.samples.push_back(PatternSample(x, y, c, depth));
    }
  }
  return content;
}

// The colour a non-palette PNG's pixel must give, from its samples: grey copied to all three
// channels, alpha (or a pixel matching the tRNS colour) composited onto white.
Rgb ExpectedColour(const PngContent& content, int x, int y) {
  const int channels = png_files::Channels(content.colourType);
  const uint32_t* s = &content.samples[(size_t(y) * content.width + x) * channels];
  const bool grey = content.colourType == 0 || content.colourType == 4;
  const int r = EightBits(s[0], content.depth);
  const int g = grey ? r : EightBits(s[1], content.depth), b = grey ? r : EightBits(s[2], content.depth);
  int alpha = 255;
  if (content.colourType == 4 || content.colourType == 6) alpha = EightBits(s[channels - 1], content.depth);
  if (!content.transparency.empty()) {
    bool matches = true;
    for (int c = 0; c < channels; ++c) {
      matches = matches && s[c] == (uint32_t(content.transparency[2 * c]) << 8 | content.transparency[2 * c + 1]);
    }
    if (matches) alpha = 0;
  }
  return {OntoWhite(r, alpha), OntoWhite(g, alpha), OntoWhite(b, alpha)};
}

void ExpectReadAsMade(const PngContent& content, const std::string& kind) {
  Image image;
  std::string error;
  ASSERT_TRUE(Read(png_files::EncodePng(content), image, error)) << kind << ": " << error;
  ASSERT_EQ(image.width, kWidth) << kind;
  ASSERT_EQ(image.height, kHeight) << kind;
  const Difference difference = Compare(image, [&](int x, int y) { return ExpectedColour(content, x, y); });
  EXPECT_EQ(difference.most, 0) << kind << " differs by " << difference.most << " at " << difference.x << ", "
                                << difference.y;
}

// The tRNS body naming one pixel's samples as the transparent colour.
std::vector<uint8_t> KeyOf(const PngContent& content, int x, int y) {
  const int channels = png_files::Channels(content.colourType);
  std::vector<uint8_t> key;
  for (int c = 0; c < channels; ++c) {
    const uint32_t sample = content.samples[(size_t(y) * content.width + x) * channels + c];
    key.push_back(static_cast<uint8_t>(sample >> 8)), key.push_back(static_cast<uint8_t>(sample & 0xFF));
  }
  return key;
}

TEST(ImageKindsTest, GreyPngsOfEveryDepthWithAndWithoutTransparency) {
  for (int depth : {1, 2, 4, 8, 16}) {
    PngContent grey = Patterned(0, depth);
    ExpectReadAsMade(grey, std::to_string(depth) + "-bit grey");
    grey.transparency = KeyOf(grey, 3, 2);
    ExpectReadAsMade(grey, std::to_string(depth) + "-bit grey with a transparent grey");
  }
  for (int depth : {8, 16}) ExpectReadAsMade(Patterned(4, depth), std::to_string(depth) + "-bit grey and alpha");
}

TEST(ImageKindsTest, ColourPngsOfBothDepthsWithAndWithoutTransparency) {
  for (int depth : {8, 16}) {
    PngContent rgb = Patterned(2, depth);
    ExpectReadAsMade(rgb, std::to_string(depth) + "-bit RGB");
    rgb.transparency = KeyOf(rgb, 5, 1);
    ExpectReadAsMade(rgb, std::to_string(depth) + "-bit RGB with a transparent colour");
    ExpectReadAsMade(Patterned(6, depth), std::to_string(depth) + "-bit RGBA");
  }
}

TEST(ImageKindsTest, PalettePngsOfEveryDepthWithAndWithoutTransparency) {
  for (int depth : {1, 2, 4, 8}) {
    PngContent palette = Patterned(3, depth);
    const int entries = 1 << depth;
    for (int i = 0; i < entries; ++i) {
      palette.palette.push_back(static_cast<uint8_t>(i * 37 + 11));
      palette.palette.push_back(static_cast<uint8_t>(255 - i * 53));
      palette.palette.push_back(static_cast<uint8_t>(i * 97 + 5));
    }
    auto expected = [&](int x, int y) {
      const uint32_t index = palette.samples[size_t(y) * kWidth + x];
      const int alpha = index < palette.transparency.size() ? palette.transparency[index] : 255;
      const uint8_t* entry = &palette.palette[index * 3];
      return Rgb{OntoWhite(entry[0], alpha), OntoWhite(entry[1], alpha), OntoWhite(entry[2], alpha)};
    };
    for (bool transparent : {false, true}) {
      // Fewer alpha values than entries: the rest are opaque.
      if (transparent) {
        for (int i = 0; i < (entries + 1) / 2; ++i) palette.transparency.push_back(static_cast<uint8_t>(i * 91 % 256));
      }
      const std::string kind = std::to_string(depth) + "-bit palette" + (transparent ? " with transparency" : "");
      Image image;
      std::string error;
      ASSERT_TRUE(Read(png_files::EncodePng(palette), image, error)) << kind << ": " << error;
      ASSERT_EQ(image.width, kWidth) << kind;
      const Difference difference = Compare(image, expected);
      EXPECT_EQ(difference.most, 0) << kind << " differs by " << difference.most << " at " << difference.x << ", "
                                    << difference.y;
    }
  }
}

TEST(ImageKindsTest, InterlacedPngsOfEachColourType) {
  const int kinds[][2] = {{0, 2}, {0, 16}, {2, 8}, {2, 16}, {4, 8}, {6, 8}, {6, 16}};
  for (const auto& kind : kinds) {
    PngContent interlaced = Patterned(kind[0], kind[1]);
    interlaced.interlaced = true;
    ExpectReadAsMade(interlaced,
                     "interlaced colour type " + std::to_string(kind[0]) + " at " + std::to_string(kind[1]) + " bits");
  }
}

// A gradient of 16-bit grey, as ImageMagick makes for a quick test image, is read at 8 bits.
TEST(ImageKindsTest, SixteenBitGradientIsReadRoundedToEightBits) {
  PngContent gradient;
  gradient.width = 300, gradient.height = 2, gradient.colourType = 0, gradient.depth = 16;
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 300; ++x) gradient.samples.push_back(uint32_t(x) * 65535 / 299);
  }
  Image image;
  std::string error;
  ASSERT_TRUE(Read(png_files::EncodePng(gradient), image, error)) << error;
  EXPECT_EQ(image.At(0, 0)[0], 0);
  EXPECT_EQ(image.At(299, 1)[2], 255);
  const Difference difference = Compare(image, [](int x, int) {
    const int v = static_cast<int>(std::lround(x * 255.0 / 299));
    return Rgb{v, v, v};
  });
  EXPECT_LE(difference.most, 1) << "at " << difference.x;
}

Rgb InksToRgb(const uint8_t* ink) {
  const double paper = (255 - ink[3]) / 255.0;
  return Rgb{int(std::lround((255 - ink[0]) * paper)), int(std::lround((255 - ink[1]) * paper)),
             int(std::lround((255 - ink[2]) * paper))};
}

// The colour each kind of sample JPEG must give for a block.
Rgb BlockRgb(int b) { return Rgb{sample_jpegs::kRgb[b][0], sample_jpegs::kRgb[b][1], sample_jpegs::kRgb[b][2]}; }
Rgb BlockGrey(int b) { return Rgb{sample_jpegs::kGrey[b], sample_jpegs::kGrey[b], sample_jpegs::kGrey[b]}; }
Rgb BlockInks(int b) { return InksToRgb(sample_jpegs::kInks[b]); }

// The block of the sample JPEGs a pixel lies in, 0 to 5.
int BlockAt(int x, int y) { return y / 8 * 3 + x / 8; }

void ExpectJpegBlocks(const std::string& bytes, Rgb (*colour)(int block), const std::string& kind) {
  Image image;
  std::string error;
  ASSERT_TRUE(Read(bytes, image, error)) << kind << ": " << error;
  ASSERT_EQ(image.width, sample_jpegs::kWidth) << kind;
  ASSERT_EQ(image.height, sample_jpegs::kHeight) << kind;
  const Difference difference = Compare(image, [&](int x, int y) { return colour(BlockAt(x, y)); });
  EXPECT_LE(difference.most, 4) << kind << " differs by " << difference.most << " at " << difference.x << ", "
                                << difference.y;
}

TEST(ImageKindsTest, JpegsOfEveryColourSpace) {
  using namespace sample_jpegs;
  ExpectJpegBlocks(ColourJpeg(), BlockRgb, "colour JPEG");
  ExpectJpegBlocks(GreyJpeg(), BlockGrey, "grey JPEG");
  ExpectJpegBlocks(CmykJpeg(), BlockInks, "CMYK JPEG");
  ExpectJpegBlocks(AdobeCmykJpeg(), BlockInks, "Adobe's inverted CMYK JPEG");
  ExpectJpegBlocks(AdobeYcckJpeg(), BlockInks, "Adobe's inverted YCCK JPEG");
}

// The colour JPEG with an EXIF segment, in either byte order, giving the orientation.
std::string WithOrientation(int orientation, bool littleEndian) {
  auto put16 = [&](std::string& s, uint32_t v) {
    s += static_cast<char>(littleEndian ? v & 0xFF : v >> 8), s += static_cast<char>(littleEndian ? v >> 8 : v & 0xFF);
  };
  auto put32 = [&](std::string& s, uint32_t v) {
    put16(s, littleEndian ? v & 0xFFFF : v >> 16);
    put16(s, littleEndian ? v >> 16 : v & 0xFFFF);
  };
  std::string tiff = littleEndian ? "II" : "MM";
  put16(tiff, 42), put32(tiff, 8);
  put16(tiff, 2);  // two entries: the camera's make, then the orientation
  put16(tiff, 0x010F), put16(tiff, 2), put32(tiff, 4), tiff += std::string("Cam", 4);
  put16(tiff, 0x0112), put16(tiff, 3), put32(tiff, 1), put16(tiff, uint32_t(orientation)), put16(tiff, 0);
  put32(tiff, 0);  // no next directory
  const std::string body = std::string("Exif\0\0", 6) + tiff;
  std::string segment("\xff\xe1", 2);
  segment += static_cast<char>((body.size() + 2) >> 8), segment += static_cast<char>((body.size() + 2) & 0xFF);
  std::string jpeg = sample_jpegs::ColourJpeg();
  return jpeg.insert(2, segment + body);
}

TEST(ImageKindsTest, CameraJpegsAreTurnedUprightByTheirExifOrientation) {
  // The stored blocks at the upright image's corners (top left, top right, bottom left, bottom
  // right) by orientation, stored as 0 1 2 over 3 4 5; orientation 0 does not exist.
  const int corners[9][4] = {{0, 0, 0, 0}, {0, 2, 3, 5}, {2, 0, 5, 3}, {5, 3, 2, 0}, {3, 5, 0, 2},
                             {0, 3, 2, 5}, {3, 0, 5, 2}, {5, 2, 3, 0}, {2, 5, 0, 3}};
  for (int orientation = 1; orientation <= 8; ++orientation) {
    for (bool littleEndian : {true, false}) {
      const std::string kind = "orientation " + std::to_string(orientation) + (littleEndian ? " (II)" : " (MM)");
      Image image;
      std::string error;
      ASSERT_TRUE(Read(WithOrientation(orientation, littleEndian), image, error)) << kind << ": " << error;
      const bool turned = orientation >= 5;
      ASSERT_EQ(image.width, turned ? 16 : 24) << kind;
      ASSERT_EQ(image.height, turned ? 24 : 16) << kind;
      const int at[4][2] = {{1, 1}, {image.width - 2, 1}, {1, image.height - 2}, {image.width - 2, image.height - 2}};
      for (int corner = 0; corner < 4; ++corner) {
        const uint8_t* want = sample_jpegs::kRgb[corners[orientation][corner]];
        const uint8_t* got = image.At(at[corner][0], at[corner][1]);
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], want[c], 4) << kind << ", corner " << corner;
      }
    }
  }
  // An orientation outside 1 to 8, or EXIF data cut short, leaves the image as stored.
  Image image;
  std::string error;
  ASSERT_TRUE(Read(WithOrientation(9, true), image, error)) << error;
  EXPECT_EQ(image.width, 24);
  std::string cut = WithOrientation(6, false);
  cut[5] = 20;  // the APP1 segment ends inside the EXIF directory
  cut.erase(4 + 20, cut.find("\xff\xdb") - (4 + 20));
  ASSERT_TRUE(Read(cut, image, error)) << error;
  EXPECT_EQ(image.width, 24);
}

void ExpectRefused(const std::string& bytes, const std::string& message) {
  Image image;
  std::string error;
  EXPECT_FALSE(Read(bytes, image, error)) << message;
  EXPECT_NE(error.find(message), std::string::npos) << error;
}

TEST(ImageKindsTest, KindsNoDecoderReadsAreRefusedSayingWhich) {
  PngContent palette16 = Patterned(0, 16);
  palette16.colourType = 3;
  ExpectRefused(png_files::EncodePng(palette16),
                "gives colour type 3 at 16 bits, a kind of PNG the format does not define");
  PngContent rgb4 = Patterned(2, 4);
  ExpectRefused(png_files::EncodePng(rgb4), "gives colour type 2 at 4 bits");

  const std::string jpeg = sample_jpegs::ColourJpeg();
  const size_t frame = jpeg.find("\xff\xc0");
  ASSERT_NE(frame, std::string::npos);
  std::string twelveBit = jpeg;
  twelveBit[frame + 4] = 12;
  ExpectRefused(twelveBit, "gives 12-bit samples; the reference host reads JPEGs of 8-bit samples only");
  std::string lossless = jpeg;
  lossless[frame + 1] = '\xc3';
  ExpectRefused(lossless, "is of a lossless or hierarchical JPEG");
  std::string twoComponents = jpeg;
  twoComponents[frame + 9] = 2;
  ExpectRefused(twoComponents, "gives 2 colour components");
}

// Files whose structure is whole but whose data a decoder refuses: the message names the kind of
// file and the decoder's reason, on either platform.
TEST(ImageKindsTest, DamagedDataIsRefusedNamingTheKindOfFile) {
  std::string png = png_files::EncodePng(Patterned(6, 16));
  const size_t data = png.find("IDAT") + 4;
  ASSERT_NE(data, std::string::npos + 4);
  png[data] = 0x7F;  // a zlib header no decoder accepts
  ExpectRefused(png, "refuses this 16-bit RGBA PNG");

  std::string jpeg = sample_jpegs::CmykJpeg();
  const size_t table = jpeg.find("\xff\xc4");
  ASSERT_NE(table, std::string::npos);
  for (int i = 0; i < 16; ++i) jpeg[table + 5 + i] = '\x20';  // 512 codes for at most 256 symbols
  ExpectRefused(jpeg, "refuses this CMYK JPEG");
}

}  // namespace
