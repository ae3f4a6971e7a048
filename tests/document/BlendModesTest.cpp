// Each blend mode on hand-worked values: backdrop (0.25, 0.5, 0.75) under source (0.5, 0.75, 0.25)
// for the separable modes, chosen so that each channel takes another branch of the formulas.
#include <gtest/gtest.h>

#include "document/blend/BlendModes.h"

namespace zem::document {
namespace {

struct Case {
  BlendMode mode;
  float expected[3];
};

void ExpectBlend(BlendMode mode, const float (&b)[3], const float (&s)[3], const float (&expected)[3]) {
  float result[3];
  BlendPixel(mode, b, s, result);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(result[c], expected[c], 1e-4) << BlendModeName(mode) << " channel " << c;
}

TEST(BlendModes, SeparableModesFollowTheirFormulas) {
  const float b[3] = {0.25f, 0.5f, 0.75f}, s[3] = {0.5f, 0.75f, 0.25f};
  const Case cases[] = {
      {BlendMode::Normal, {0.5f, 0.75f, 0.25f}},
      {BlendMode::Multiply, {0.125f, 0.375f, 0.1875f}},
      {BlendMode::Screen, {0.625f, 0.875f, 0.8125f}},
      // Hard light with the layers swapped: the backdrop decides multiply (<= 0.5) or screen.
      {BlendMode::Overlay, {0.25f, 0.75f, 0.625f}},
      {BlendMode::Darken, {0.25f, 0.5f, 0.25f}},
      {BlendMode::Lighten, {0.5f, 0.75f, 0.75f}},
      // b / (1 - s), at most 1.
      {BlendMode::ColorDodge, {0.5f, 1.0f, 1.0f}},
      // 1 - (1 - b) / s, at least 0.
      {BlendMode::ColorBurn, {0.0f, 1.0f / 3, 0.0f}},
      {BlendMode::HardLight, {0.25f, 0.75f, 0.375f}},
      // s <= 0.5: b - (1 - 2s) b (1 - b); above: b + (2s - 1)(sqrt(b) - b) for b > 0.25.
      {BlendMode::SoftLight, {0.25f, 0.5f + 0.5f * (0.70710678f - 0.5f), 0.65625f}},
      {BlendMode::Difference, {0.25f, 0.25f, 0.5f}},
      {BlendMode::Exclusion, {0.5f, 0.5f, 0.625f}},
      {BlendMode::LinearBurn, {0.0f, 0.25f, 0.0f}},
      {BlendMode::LinearDodge, {0.75f, 1.0f, 1.0f}},
      {BlendMode::Subtract, {0.0f, 0.0f, 0.5f}},
      {BlendMode::Divide, {0.5f, 2.0f / 3, 1.0f}},
      // s <= 0.5: min(b, 2s); above: max(b, 2s - 1).
      {BlendMode::PinLight, {0.25f, 0.5f, 0.5f}},
      {BlendMode::LinearLight, {0.25f, 1.0f, 0.25f}},
      {BlendMode::HardMix, {0.0f, 1.0f, 1.0f}},
  };
  for (const Case& c : cases) ExpectBlend(c.mode, b, s, c.expected);
}

TEST(BlendModes, SoftLightDarkBackdropUsesThePolynomial) {
  // b = 0.25, s = 1: D(b) = ((16b - 12)b + 4)b = 0.5, so b + (0.5 - b) = 0.5.
  ExpectBlend(BlendMode::SoftLight, {0.25f, 0.25f, 0.25f}, {1, 1, 1}, {0.5f, 0.5f, 0.5f});
}

TEST(BlendModes, NonSeparableModesMixHueSaturationAndLuminosity) {
  // Red's luminosity 0.3 raised to grey's 0.5 gives (1.2, 0.2, 0.2), clipped about 0.5 into
  // 0.5 + (c - 0.5) x 0.5 / 0.7: (1, 0.2857, 0.2857).
  const float red[3] = {1, 0, 0}, grey[3] = {0.5f, 0.5f, 0.5f};
  const float clipped[3] = {1.0f, 0.5f - 0.3f * 0.5f / 0.7f, 0.5f - 0.3f * 0.5f / 0.7f};
  ExpectBlend(BlendMode::Luminosity, red, grey, clipped);
  ExpectBlend(BlendMode::Color, grey, red, clipped);
  // Saturation from grey is none: the backdrop's luminosity 0.3 x 0.6 + 0.59 x 0.4 + 0.11 x 0.2.
  const float orange[3] = {0.6f, 0.4f, 0.2f};
  ExpectBlend(BlendMode::Saturation, orange, grey, {0.438f, 0.438f, 0.438f});
  // Blue's hue at orange's saturation 0.4 is (0, 0, 0.4), luminosity 0.044, raised by 0.394.
  const float blue[3] = {0, 0, 1};
  ExpectBlend(BlendMode::Hue, orange, blue, {0.394f, 0.394f, 0.794f});
}

TEST(BlendModes, ModesAreReadFromTheirRecordedNames) {
  BlendMode mode = BlendMode::Normal;
  const uint32_t overlay = ('O' << 24) | ('v' << 16) | ('r' << 8) | 'l';
  ASSERT_TRUE(BlendModeFromId(true, overlay, "", mode));
  EXPECT_EQ(mode, BlendMode::Overlay);
  ASSERT_TRUE(BlendModeFromId(false, 0, "linearDodge", mode));
  EXPECT_EQ(mode, BlendMode::LinearDodge);
  EXPECT_FALSE(BlendModeFromId(false, 0, "sparkle", mode));
  EXPECT_FALSE(BlendModeFromId(true, 0x41414141, "", mode));
}

TEST(BlendModes, RowsMixByOpacityAlphaAndMask) {
  // Normal at opacity 0.5, mask 128: weight 0.5 x 128 / 255 = 0.251; 100 + 100 x 0.251 = 125.1.
  uint8_t backdrop[3] = {100, 100, 100};
  const uint8_t source[3] = {200, 200, 200}, alpha[1] = {255}, mask[1] = {128};
  BlendRow(BlendMode::Normal, backdrop, source, alpha, mask, 0.5f, 1);
  EXPECT_EQ(backdrop[0], 125);
  // Multiply at full weight: 200 x 100 / 255 = 78.4.
  uint8_t light[3] = {200, 200, 200};
  const uint8_t dark[3] = {100, 100, 100};
  BlendRow(BlendMode::Multiply, light, dark, nullptr, nullptr, 1, 1);
  EXPECT_EQ(light[0], 78);
  // A transparent source pixel leaves the backdrop as it was.
  uint8_t kept[3] = {10, 20, 30};
  const uint8_t none[1] = {0};
  BlendRow(BlendMode::Screen, kept, source, none, nullptr, 1, 1);
  EXPECT_EQ(kept[0], 10);
  EXPECT_EQ(kept[2], 30);
}

}  // namespace
}  // namespace zem::document
