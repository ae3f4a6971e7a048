#include "imaging/ImageDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>
#include <png.h>

#include "imaging/PixelConversion.h"

namespace hostsim {
namespace {

// libpng reports errors through a callback that must not return; it jumps back into the function
// that made the call, whose locals are all plain data.
struct PngSource {
  const uint8_t* data;
  size_t size;
  size_t offset;
  char message[160];
};

void PngFail(png_structp png, png_const_charp message) {
  PngSource* source = static_cast<PngSource*>(png_get_error_ptr(png));
  std::snprintf(source->message, sizeof source->message, "%s", message);
  png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

void PngRead(png_structp png, png_bytep out, size_t count) {
  PngSource* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (count > source->size - source->offset) png_error(png, "the file ends before its pixels: it is cut short");
  std::memcpy(out, source->data + source->offset, count);
  source->offset += count;
}

// The read structures, destroyed once whichever way the decoding ends.
class PngReading {
 public:
  explicit PngReading(PngSource& source)
      : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, PngFail, PngWarning)),
        info_(png_ != nullptr ? png_create_info_struct(png_) : nullptr) {
    if (png_ != nullptr) png_set_read_fn(png_, &source, PngRead);
  }
  ~PngReading() { png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr); }
  PngReading(const PngReading&) = delete;
  PngReading& operator=(const PngReading&) = delete;
  bool Made() const { return info_ != nullptr; }
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_;
  png_infop info_;
};

// Reads the header and asks for 8-bit RGB or RGBA rows: a palette expanded, grey below 8 bits
// scaled up and turned to RGB, 16 bits rounded to 8, a transparent colour made alpha. The channels
// per pixel, 0 on failure.
int ReadPngLayout(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png)) != 0) return 0;
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
  png_read_info(png, info);
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return png_get_channels(png, info);
}

bool ReadPngRows(png_structp png, png_infop info, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_read_image(png, rows);
  png_read_end(png, info);
  return true;
}

bool DecodePng(const uint8_t* data, size_t size, const ImageHeader& header, Image& image, std::string& reason) {
  PngSource source{data, size, 0, ""};
  PngReading reading(source);
  if (!reading.Made()) throw std::bad_alloc();
  const int channels = ReadPngLayout(reading.png(), reading.info());
  if (channels != 0 && (png_get_image_width(reading.png(), reading.info()) != uint32_t(image.width) ||
                        png_get_image_height(reading.png(), reading.info()) != uint32_t(image.height))) {
    reason = "the PNG decoder reads another size from its header";
    return false;
  }
  if (channels != 3 && channels != 4) {
    reason = "the PNG decoder refuses this " + ImageKind(header) + ": " +
             (channels == 0 ? source.message : "it cannot turn its colours into RGB");
    return false;
  }
  // The rows are read whole, as an interlaced file's passes each fill part of every row; pixels
  // with alpha are then composited onto white in place.
  std::vector<uint8_t> pixels(size_t(image.width) * size_t(image.height) * size_t(channels));
  std::vector<png_bytep> rows(size_t(image.height));
  for (size_t y = 0; y < rows.size(); ++y) rows[y] = pixels.data() + y * size_t(image.width) * size_t(channels);
  if (!ReadPngRows(reading.png(), reading.info(), rows.data())) {
    reason = "the PNG decoder refuses this " + ImageKind(header) + ": " + source.message;
    return false;
  }
  if (channels == 4) {
    FlattenOntoWhite(pixels.data(), false, pixels.data(), size_t(image.width) * size_t(image.height));
    pixels.resize(size_t(image.width) * size_t(image.height) * 3);
  }
  image.rgb.swap(pixels);
  return true;
}

// The JPEG library reports errors through a callback that must not return; it jumps back to the
// decoding function, whose locals are all plain data.
struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf escape;
  bool cutShort;
  char message[JMSG_LENGTH_MAX];
};

// A progressive file can hold any number of scans, each a pass over the whole image.
constexpr int kMaxJpegScans = 1000;

void JpegFail(j_common_ptr info) {
  JpegErrors* errors = reinterpret_cast<JpegErrors*>(info->err);
  info->err->format_message(info, errors->message);
  std::longjmp(errors->escape, 1);
}

void JpegWarning(j_common_ptr info, int level) {
  JpegErrors* errors = reinterpret_cast<JpegErrors*>(info->err);
  const int code = info->err->msg_code;
  if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) errors->cutShort = true;
}

void JpegProgress(j_common_ptr info) {
  const j_decompress_ptr decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > kMaxJpegScans) {
    JpegErrors* errors = reinterpret_cast<JpegErrors*>(info->err);
    std::snprintf(errors->message, sizeof errors->message, "it has more than %d scans", kMaxJpegScans);
    std::longjmp(errors->escape, 1);
  }
}

// `inks` has room for a row of four samples a pixel, for the CMYK files, which the library does
// not turn into RGB.
bool DecodeJpeg(const uint8_t* data, size_t size, const ImageHeader& header, Image& image, uint8_t* inks,
                std::string& reason) {
  jpeg_decompress_struct info{};
  JpegErrors errors{};
  jpeg_progress_mgr progress{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = JpegFail;
  errors.manager.emit_message = JpegWarning;
  progress.progress_monitor = JpegProgress;
  if (setjmp(errors.escape) != 0) {
    jpeg_destroy_decompress(&info);
    reason = "the JPEG decoder refuses this " + ImageKind(header) + ": " + errors.message;
    return false;
  }
  jpeg_create_decompress(&info);
  info.progress = &progress;
  jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&info);
  if (info.output_components != (cmyk ? 4 : 3) || int64_t(info.output_width) != image.width ||
      int64_t(info.output_height) != image.height) {
    jpeg_destroy_decompress(&info);
    reason = info.output_components != (cmyk ? 4 : 3) ? "the JPEG decoder cannot turn its colours into RGB"
                                                       : "the JPEG decoder reads another size from its header";
    return false;
  }
  // Photoshop writes CMYK inverted and marks its files with Adobe's segment.
  const bool inverted = cmyk && info.saw_Adobe_marker;
  uint8_t* pixels = image.rgb.data();
  const size_t stride = size_t(info.output_width) * 3;
  while (info.output_scanline < info.output_height && !errors.cutShort) {
    uint8_t* out = pixels + size_t(info.output_scanline) * stride;
    JSAMPROW row = cmyk ? inks : out;
    jpeg_read_scanlines(&info, &row, 1);
    if (cmyk) CmykToRgb(inks, inverted, out, info.output_width);
  }
  jpeg_destroy_decompress(&info);
  if (errors.cutShort) {
    reason = "its image data ends before all its pixels: it is cut short";
    return false;
  }
  return true;
}

}  // namespace

bool DecodePixels(const uint8_t* data, size_t size, const ImageHeader& header, Image& image, std::string& reason) {
  try {
    // The header's size is checked against the limits; the decoder must give the same.
    image = Image();
    image.width = static_cast<int>(header.width);
    image.height = static_cast<int>(header.height);
    if (header.format == ImageFormat::Png) return DecodePng(data, size, header, image, reason);
    image.rgb.resize(size_t(image.width) * size_t(image.height) * 3);
    std::vector<uint8_t> inks(size_t(image.width) * 4);
    return DecodeJpeg(data, size, header, image, inks.data(), reason);
  } catch (const std::bad_alloc&) {
    reason = "there is not enough memory for its " + std::to_string(header.width) + " x " +
             std::to_string(header.height) + " pixels";
    return false;
  }
}

}  // namespace hostsim
