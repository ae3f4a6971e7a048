#include "ImageDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <new>

#include <jpeglib.h>
#include <jerror.h>
#include <png.h>

namespace hostsim {
namespace {

bool DecodePng(const uint8_t* data, size_t size, const ImageHeader& header, Image& image, std::string& reason) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&png, data, size) == 0) {
    reason = std::string("the PNG decoder refuses it: ") + png.message;
    return false;
  }
  if (png.width != header.width || png.height != header.height) {
    png_image_free(&png);
    reason = "the PNG decoder reads another size from its header";
    return false;
  }
  png.format = PNG_FORMAT_RGB;
  image = Image(static_cast<int>(png.width), static_cast<int>(png.height));
  // Transparency is composited onto black, as the PNG library does without a background.
  const bool read = png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr) != 0;
  if (!read) reason = std::string("the PNG decoder refuses it: ") + png.message;
  png_image_free(&png);
  return read;
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

bool DecodeJpeg(const uint8_t* data, size_t size, Image& image, std::string& reason) {
  jpeg_decompress_struct info{};
  JpegErrors errors{};
  jpeg_progress_mgr progress{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = JpegFail;
  errors.manager.emit_message = JpegWarning;
  progress.progress_monitor = JpegProgress;
  if (setjmp(errors.escape) != 0) {
    jpeg_destroy_decompress(&info);
    reason = std::string("the JPEG decoder refuses it: ") + errors.message;
    return false;
  }
  jpeg_create_decompress(&info);
  info.progress = &progress;
  jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  if (info.output_components != 3 || int64_t(info.output_width) != image.width ||
      int64_t(info.output_height) != image.height) {
    jpeg_destroy_decompress(&info);
    reason = info.output_components != 3 ? "the JPEG decoder cannot turn its colours into RGB"
                                         : "the JPEG decoder reads another size from its header";
    return false;
  }
  uint8_t* pixels = image.rgb.data();
  const size_t stride = size_t(info.output_width) * 3;
  while (info.output_scanline < info.output_height && !errors.cutShort) {
    JSAMPROW row = pixels + size_t(info.output_scanline) * stride;
    jpeg_read_scanlines(&info, &row, 1);
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
    if (header.format == ImageFormat::Png) return DecodePng(data, size, header, image, reason);
    // The header's size is checked against the limits; the decoder must give the same.
    image = Image(static_cast<int>(header.width), static_cast<int>(header.height));
    return DecodeJpeg(data, size, image, reason);
  } catch (const std::bad_alloc&) {
    reason = "there is not enough memory for its " + std::to_string(header.width) + " x " +
             std::to_string(header.height) + " pixels";
    return false;
  }
}

}  // namespace hostsim
