// The blend modes of layers and fills: how a layer's colour (the source) combines with the
// composite beneath it (the backdrop), channel values 0..1.
#pragma once

#include <cstdint>
#include <string>

namespace zem::document {

enum class BlendMode {
  Normal,
  Dissolve,  // blended as Normal: the dither Photoshop uses is not modelled
  Darken,
  Multiply,
  ColorBurn,
  LinearBurn,
  DarkerColor,
  Lighten,
  Screen,
  ColorDodge,
  LinearDodge,
  LighterColor,
  Overlay,
  SoftLight,
  HardLight,
  VividLight,
  LinearLight,
  PinLight,
  HardMix,
  Difference,
  Exclusion,
  Subtract,
  Divide,
  Hue,
  Saturation,
  Color,
  Luminosity,
  PassThrough,  // groups only: their layers blend straight into what lies beneath the group
};

// The mode of a 'BlnM' enumeration value ('Nrml', 'Mltp', "linearDodge", ...); false for a value
// that names no mode.
bool BlendModeFromId(bool isFourCC, uint32_t code, const std::string& name, BlendMode& mode);
const char* BlendModeName(BlendMode mode);

// The blended colour B(backdrop, source) of one pixel, each channel 0..1.
void BlendPixel(BlendMode mode, const float backdrop[3], const float source[3], float result[3]);

// Composites `count` pixels of `source` onto the opaque `backdrop` (RGB bytes):
// backdrop + (B(backdrop, source) - backdrop) x weight, where a pixel's weight is `opacity` times
// its `alpha` and `mask` values (each 0..255, null for 255 everywhere).
void BlendRow(BlendMode mode, uint8_t* backdrop, const uint8_t* source, const uint8_t* alpha, const uint8_t* mask,
              float opacity, int count);

}  // namespace zem::document
