#include "imaging/PngWriter.h"

#include <new>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>

#include "imaging/FileAccess.h"

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
  // One filter for every row (each pixel less the one to its left) and stb's shortest match search:
  // for a contact sheet of photos, trying all five filters a row and searching deeper makes the
  // file about 4 % smaller and takes about twice the time. Both settings are stb's own globals,
  // written here with the same values on every call.
  stbi_write_force_png_filter = 1;
  stbi_write_png_compression_level = 5;
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
