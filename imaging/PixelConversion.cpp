#include "imaging/PixelConversion.h"

namespace hostsim {

void FlattenOntoWhite(const uint8_t* colourAndAlpha, bool bgr, uint8_t* rgb, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i) {
    const uint8_t* in = colourAndAlpha + i * 4;
    const uint32_t alpha = in[3], white = 255 * (255 - alpha);
    const uint32_t red = in[bgr ? 2 : 0], green = in[1], blue = in[bgr ? 0 : 2];
    uint8_t* out = rgb + i * 3;
    out[0] = static_cast<uint8_t>((red * alpha + white + 127) / 255);
    out[1] = static_cast<uint8_t>((green * alpha + white + 127) / 255);
    out[2] = static_cast<uint8_t>((blue * alpha + white + 127) / 255);
  }
}

void CmykToRgb(const uint8_t* cmyk, bool inverted, uint8_t* rgb, size_t pixels) {
  const uint32_t flip = inverted ? 0 : 255;  // turns an ink amount into what is left uninked
  for (size_t i = 0; i < pixels; ++i) {
    const uint8_t* in = cmyk + i * 4;
    const uint32_t paper = flip ^ in[3];
    uint8_t* out = rgb + i * 3;
    for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>(((flip ^ in[c]) * paper + 127) / 255);
  }
}

}  // namespace hostsim
