#include "PngWriter.h"

#include <new>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>

#include "FileAccess.h"

namespace hostsim {
namespace {

struct Output {
  std::vector<uint8_t> bytes;
  bool failed = false;
};

// Called by stb with the whole file; an allocation failure is kept, never raised through stb,
// which would then not free its own buffer.
void Append(void* context, void* data, int size) {
  auto* output = static_cast<Output*>(context);
  const auto* first = static_cast<const uint8_t*>(data);
  try {
    output->bytes.insert(output->bytes.end(), first, first + size);
  } catch (const std::bad_alloc&) {
    output->failed = true;
  }
}

}  // namespace

std::vector<uint8_t> EncodePng(const Image& image) {
  Output output;
  if (image.width < 1 || image.height < 1) return output.bytes;
  const int written =
      stbi_write_png_to_func(Append, &output, image.width, image.height, 3, image.rgb.data(), image.width * 3);
  if (written == 0 || output.failed) output.bytes.clear();
  return output.bytes;
}

bool SavePng(const Image& image, const std::string& path) {
  const std::vector<uint8_t> bytes = EncodePng(image);
  return !bytes.empty() && WriteWholeFile(path, bytes.data(), bytes.size());
}

}  // namespace hostsim
