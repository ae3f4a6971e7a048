// The reference host's image loader on the files a user may hand it: PNG and JPEG known by their
// content, sizes checked against the limits, files cut short or malformed refused with a message
// naming the file.
#include <gtest/gtest.h>

#include <fstream>
#include <cstdio>

#include "imaging/FileAccess.h"
#include "imaging/Image.h"
#include "imaging/PngWriter.h"
#include "tests/support/SampleImages.h"

namespace {

using hostsim::Image;

struct Loaded {
  bool ok;
  Image image;
  std::string error;
};

Loaded Decode(const std::string& bytes, const std::string& name = "photo.png") {
  Loaded loaded{false, Image(), ""};
  loaded.ok = hostsim::DecodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), name, loaded.image,
                                   loaded.error);
  return loaded;
}

std::string PngBytes(const Image& image) {
  const std::vector<uint8_t> bytes = hostsim::EncodePng(image);
  EXPECT_FALSE(bytes.empty());
  return std::string(bytes.begin(), bytes.end());
}

void ExpectRefused(const std::string& bytes, const std::string& message, const std::string& name = "photo.png") {
  const Loaded loaded = Decode(bytes, name);
  EXPECT_FALSE(loaded.ok) << message;
  EXPECT_EQ(loaded.error.rfind("cannot read image " + name + ": ", 0), 0u) << loaded.error;
  EXPECT_NE(loaded.error.find(message), std::string::npos) << loaded.error;
  EXPECT_EQ(loaded.image.width, 0) << message;
}

TEST(ImageLoaderTest, PngAndJpegAreKnownByTheirContentWhateverTheirName) {
  const Image original = hostsim::BuiltInImage();
  const Loaded png = Decode(PngBytes(original), "photo.jpg");
  ASSERT_TRUE(png.ok) << png.error;
  EXPECT_EQ(png.image.rgb, original.rgb);

  const Loaded jpeg = Decode(sample_images::SmallJpeg(), "photo.png");
  ASSERT_TRUE(jpeg.ok) << jpeg.error;
  ASSERT_EQ(jpeg.image.width, 8);
  ASSERT_EQ(jpeg.image.height, 6);
  EXPECT_GT(jpeg.image.At(4, 0)[0], 200) << "red at the top";
  EXPECT_GT(jpeg.image.At(4, 5)[2], 200) << "blue at the bottom";

  ExpectRefused(sample_images::TopDownBmpHeader(16384, -8000), "neither a PNG nor a JPEG file");
  ExpectRefused(std::string(40, '\0'), "neither a PNG nor a JPEG file");
  ExpectRefused("", "neither a PNG nor a JPEG file");
}

TEST(ImageLoaderTest, TheSizeIsCheckedAgainstTheLimitsBeforeDecoding) {
  const std::string limit = "where the limit is 16384 pixels a side and 64 million in all";
  ExpectRefused(sample_images::PngClaiming(60000, 60000), "it is too large: 60000 x 60000 pixels, " + limit);
  ExpectRefused(sample_images::PngClaiming(16385, 1), "it is too large: 16385 x 1 pixels");
  ExpectRefused(sample_images::PngClaiming(8192, 8192), "it is too large: 8192 x 8192 pixels");
  ExpectRefused(sample_images::PngClaiming(0xFFFFFFFF, 2), "it is too large: 4294967295 x 2 pixels");
  ExpectRefused(sample_images::PngClaiming(0, 9990), "it is 0 x 9990 pixels: an image has at least 1 x 1");
  std::string jpeg = sample_images::SmallJpeg();
  const size_t frame = jpeg.find("\xff\xc0");
  ASSERT_NE(frame, std::string::npos);
  jpeg[frame + 7] = jpeg[frame + 8] = 0;  // width 0
  ExpectRefused(jpeg, "it is 0 x 6 pixels");
}

TEST(ImageLoaderTest, FilesShorterThanTheirHeaderClaimsAreRefused) {
  const std::string png = PngBytes(hostsim::BuiltInImage());
  for (size_t cut = 8; cut < png.size(); cut += png.size() / 7) {
    EXPECT_FALSE(Decode(png.substr(0, cut)).ok) << "PNG cut at " << cut;
  }
  EXPECT_FALSE(Decode(png.substr(0, png.size() - 1)).ok) << "PNG without the last byte of IEND";
  ExpectRefused(png.substr(0, 40), "cut short");
  ExpectRefused(sample_images::PngClaiming(4271, 9990, 303),
                "the file holds 303 bytes of pixel data, too few for 4271 x 9990 pixels");

  const std::string jpeg = sample_images::SmallJpeg();
  for (size_t cut = 3; cut < jpeg.size(); cut += 23) {
    EXPECT_FALSE(Decode(jpeg.substr(0, cut)).ok) << "JPEG cut at " << cut;
  }
  ExpectRefused(jpeg.substr(0, jpeg.size() - 2), "without its end-of-image marker");
  // The frame header claims 16000 x 4000 pixels for the scan of 8 x 6.
  std::string large = jpeg;
  const size_t frame = large.find("\xff\xc0");
  large[frame + 5] = '\x0f', large[frame + 6] = '\xa0', large[frame + 7] = '\x3e', large[frame + 8] = '\x80';
  ExpectRefused(large, "too few for 16000 x 4000 pixels");
}

// Malformed tables that overrun a decoder's arrays (UBSan sees the overrun; ASan does not).
TEST(ImageLoaderTest, MalformedJpegTablesAreRefused) {
  ExpectRefused(sample_images::OverfullHuffmanJpeg(), "cut short");
  std::string jpeg = sample_images::SmallJpeg();
  const size_t table = jpeg.find("\xff\xc4");
  ASSERT_NE(table, std::string::npos);
  for (int i = 0; i < 16; ++i) jpeg[table + 5 + i] = '\x20';  // 512 codes for at most 256 symbols
  ExpectRefused(jpeg, "the JPEG decoder refuses this colour JPEG: ");
}

TEST(ImageLoaderTest, FilesAreReadWithTheirNameInEveryMessage) {
  const std::string folder = ::testing::TempDir();
  std::ofstream(folder + "zem-header.png", std::ios::binary) << sample_images::TopDownBmpHeader(16384, -8000);
  Image untouched(1, 1, 7);
  std::string error;
  EXPECT_FALSE(hostsim::LoadImageFile(folder + "zem-header.png", untouched, error));
  EXPECT_EQ(error.rfind("cannot read image " + folder + "zem-header.png: it is neither a PNG nor a JPEG", 0), 0u)
      << error;
  EXPECT_EQ(untouched.rgb, std::vector<uint8_t>(3, 7));
  std::ofstream(folder + "zem-small.jpg", std::ios::binary) << sample_images::SmallJpeg();
  ASSERT_TRUE(hostsim::LoadImageFile(folder + "zem-small.jpg", untouched, error)) << error;
  EXPECT_EQ(untouched.width, 8);
}

// The whole-file reader behind the image and action-file loaders, at the edges of its limit.
TEST(FileAccessTest, AFileIsReadWholeUpToTheLimit) {
  using hostsim::FileRead;
  const std::string path = ::testing::TempDir() + "zem-ten-bytes";
  const std::vector<uint8_t> ten{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  ASSERT_TRUE(hostsim::WriteWholeFile(path, ten.data(), ten.size()));
  std::vector<uint8_t> bytes;
  EXPECT_EQ(hostsim::ReadWholeFile(path, 10, bytes), FileRead::kRead);
  EXPECT_EQ(bytes, ten);
  EXPECT_EQ(hostsim::ReadWholeFile(path, 9, bytes), FileRead::kTooLarge);
  EXPECT_EQ(hostsim::ReadWholeFile(path + "-missing", 10, bytes), FileRead::kNotOpened);
  ASSERT_TRUE(hostsim::WriteWholeFile(path, nullptr, 0)) << "an empty file truncates";
  EXPECT_EQ(hostsim::ReadWholeFile(path, 10, bytes), FileRead::kRead);
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(hostsim::WriteWholeFile(::testing::TempDir() + "zem-no-such-folder/file", ten.data(), ten.size()));
  std::remove(path.c_str());
}

}  // namespace
