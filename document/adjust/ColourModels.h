// Conversions between the colour models the adjustments work in. RGB values are 0..255 as in the
// document; the other models' components are as their comments say.
#pragma once

namespace hostsim {

// Rec. 601 luma, the brightness that "preserve luminosity" keeps.
inline float Luma(float r, float g, float b) { return 0.299f * r + 0.587f * g + 0.114f * b; }

// HSL: hue in sextants, [0, 6); saturation and lightness 0..1.
struct Hsl {
  float hue, saturation, lightness;
};
Hsl RgbToHsl(const float rgb[3]);
void HslToRgb(const Hsl& hsl, float rgb[3]);

// HSB (HSV) as Photoshop's colour picker gives it: hue in degrees, saturation and brightness
// 0..100.
void HsbToRgb(double hue, double saturation, double brightness, double rgb[3]);

// CIE L*a*b* under D50, as Photoshop's Lab (L 0..100), to sRGB through the Bradford-adapted
// matrix; colours outside sRGB are held to its gamut.
void LabToRgb(double lightness, double a, double b, double rgb[3]);

// The sRGB transfer function, 0..1 both ways.
double SrgbToLinear(double encoded);
double LinearToSrgb(double linear);

}  // namespace hostsim
