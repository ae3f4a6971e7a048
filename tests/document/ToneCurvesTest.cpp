// The lookup tables of the channel-separable adjustments against their formulas evaluated in
// double precision for every input value, and the spline's defining properties.
#include <gtest/gtest.h>

#include <cmath>

#include "document/adjust/ColourModels.h"
#include "document/adjust/ToneCurves.h"

namespace {

using namespace hostsim;

void ExpectWithinOneLevel(const ToneCurve& curve, double (*reference)(double, const void*), const void* parameters) {
  for (int v = 0; v < 256; ++v) {
    const double expected = std::min(255.0, std::max(0.0, reference(v, parameters)));
    ASSERT_NEAR(curve[v], expected, 0.5 + 1e-9) << "at " << v;
  }
}

TEST(ToneCurveTest, LevelsAndExposureTablesMatchTheirFormulas) {
  const LevelsEntry levels[] = {
      {ChannelTarget::Composite, 0, 255, 1.2, 0, 255},
      {ChannelTarget::Composite, 30, 220, 0.45, 10, 240},
      {ChannelTarget::Red, 0, 2, 9.99, 255, 0},
  };
  for (const LevelsEntry& entry : levels) {
    ExpectWithinOneLevel(
        LevelsCurve(entry),
        [](double v, const void* p) {
          const LevelsEntry& e = *static_cast<const LevelsEntry*>(p);
          const double x = std::min(1.0, std::max(0.0, (v - e.inputBlack) / (e.inputWhite - e.inputBlack)));
          return e.outputBlack + (e.outputWhite - e.outputBlack) * std::pow(x, 1 / e.gamma);
        },
        &entry);
  }
  const ExposureEvent exposures[] = {{1, 0, 1}, {-2.5, 0.1, 1}, {0.5, -0.02, 1.8}};
  for (const ExposureEvent& event : exposures) {
    ExpectWithinOneLevel(
        ExposureCurve(event),
        [](double v, const void* p) {
          const ExposureEvent& e = *static_cast<const ExposureEvent*>(p);
          const double encoded = v / 255;
          const double linear = encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
          const double out = std::pow(std::max(0.0, linear * std::pow(2.0, e.exposure) + e.offset), 1 / e.gamma);
          return 255 * (out <= 0.0031308 ? 12.92 * out : 1.055 * std::pow(out, 1 / 2.4) - 0.055);
        },
        &event);
  }
}

TEST(ToneCurveTest, TheSplinePassesThroughItsPointsSmoothlyAndFlatBeyondThem) {
  const std::vector<CurvePoint> points = {{40, 30}, {100, 140}, {180, 190}, {230, 220}};
  const ToneCurve curve = SplineCurve(points);
  for (const CurvePoint& point : points) EXPECT_EQ(curve[int(point.input)], point.output) << point.input;
  for (int v = 0; v <= 40; ++v) ASSERT_EQ(curve[v], 30) << v;
  for (int v = 230; v < 256; ++v) ASSERT_EQ(curve[v], 220) << v;
  // No kink at the inner points: the slope changes by little from one level to the next.
  for (int v = 42; v < 229; ++v) {
    const int bend = curve[v + 1] - 2 * curve[v] + curve[v - 1];
    ASSERT_LE(std::abs(bend), 2) << "at " << v;
  }
  // Natural end conditions: with three points the curve's middle value sits above the chord by
  // the amount a natural cubic through (0, 0), (128, 192), (255, 255) has at 64: 108.
  const ToneCurve three = SplineCurve({{0, 0}, {128, 192}, {255, 255}});
  EXPECT_NEAR(three[64], 108, 1);

  EXPECT_EQ(SplineCurve({{0, 0}, {255, 255}}), IdentityCurve());
  const ToneCurve overshoot = SplineCurve({{0, 0}, {30, 250}, {60, 250}, {90, 0}});
  for (int v = 0; v < 256; ++v) ASSERT_LE(overshoot[v], 255);
  EXPECT_EQ(overshoot[45], 255) << "held, not wrapped";
}

TEST(ToneCurveTest, CompositionAndByteConversion) {
  ToneCurve half;
  for (int v = 0; v < 256; ++v) half[v] = static_cast<uint8_t>(v / 2);
  ToneCurve invert;
  for (int v = 0; v < 256; ++v) invert[v] = static_cast<uint8_t>(255 - v);
  EXPECT_EQ(Then(half, invert)[100], 205);
  EXPECT_EQ(Then(invert, half)[100], 77);
  EXPECT_EQ(ToByte(-1e300), 0);
  EXPECT_EQ(ToByte(1e300), 255);
  EXPECT_EQ(ToByte(std::nan("")), 0);
  EXPECT_EQ(ToByte(127.5), 128);
  EXPECT_EQ(ToByte(127.49), 127);
}

}  // namespace
