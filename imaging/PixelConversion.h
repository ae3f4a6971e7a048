// The decoders' pixels as the document's 8-bit RGB: the same arithmetic for every decoder, so
// that a file gives the same document whichever platform reads it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace hostsim {

// A 16-bit sample at 8 bits, rounded to the nearest level.
inline uint8_t EightBits(uint32_t sample16) { return static_cast<uint8_t>((sample16 * 255 + 32767) / 65535); }

// Pixels of four 8-bit samples, colour then alpha, composited onto white as three. `bgr` says the
// colour is stored blue first. `rgb` may be `colourAndAlpha` itself: it is written front to back.
void FlattenOntoWhite(const uint8_t* colourAndAlpha, bool bgr, uint8_t* rgb, size_t pixels);

// Pixels of four 8-bit ink amounts, cyan, magenta, yellow and black (255 full ink), as RGB without
// a colour profile: each channel (255 - ink) * (255 - black) / 255. Adobe's files store the inks
// inverted (0 full ink); `inverted` says so.
void CmykToRgb(const uint8_t* cmyk, bool inverted, uint8_t* rgb, size_t pixels);

}  // namespace hostsim
