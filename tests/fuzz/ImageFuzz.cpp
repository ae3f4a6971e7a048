// The reference host's image loader on any bytes: a file it accepts has the size it reports and
// lies within the limits; every other file is refused with a message naming it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "imaging/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  hostsim::Image image;
  std::string error;
  if (hostsim::DecodeImage(data, size, "input", image, error)) {
    const bool sound = image.width >= 1 && image.height >= 1 && image.width <= hostsim::kMaxImageSide &&
                       image.height <= hostsim::kMaxImageSide &&
                       int64_t(image.width) * image.height <= hostsim::kMaxImagePixels &&
                       image.rgb.size() == size_t(image.width) * size_t(image.height) * 3;
    if (!sound || !error.empty()) std::abort();
  } else if (error.rfind("cannot read image input: ", 0) != 0 || image.width != 0) {
    std::abort();
  }
  return 0;
}
