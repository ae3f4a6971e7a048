// The reference host's adjustment events on known colours: the direction and strength of each,
// values far outside their dialog's range, and the selection's coverage and bounding box.
#include <gtest/gtest.h>

#include <algorithm>

#include <array>
#include <climits>
#include <cmath>
#include <limits>

#include "document/AdjustmentEvents.h"
#include "document/adjust/ColourModels.h"

namespace {

using namespace hostsim;
using Rgb = std::array<int, 3>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

Rgb After(const AdjustmentEvent& event, Rgb colour) {
  Image image(1, 1);
  for (int c = 0; c < 3; ++c) image.rgb[c] = static_cast<uint8_t>(colour[c]);
  Apply(event, Selection{}, image);
  return {image.rgb[0], image.rgb[1], image.rgb[2]};
}

Rgb Grey(int v) { return {v, v, v}; }
float LumaOf(Rgb c) { return Luma(c[0], c[1], c[2]); }
// HSV saturation, 0..1.
float SaturationOf(Rgb c) {
  const int high = std::max(c[0], std::max(c[1], c[2])), low = std::min(c[0], std::min(c[1], c[2]));
  return high == 0 ? 0 : float(high - low) / high;
}

// Every value of one channel 0..255 along a row, the others at 128.
Image Ramp() {
  Image image(256, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 256; ++x) {
      uint8_t* p = image.At(x, y);
      p[0] = p[1] = p[2] = 128;
      p[y] = static_cast<uint8_t>(x);
    }
  }
  return image;
}

Image Applied(const AdjustmentEvent& event, Image image = Ramp()) {
  Apply(event, Selection{}, image);
  return image;
}

LevelsEvent Levels(LevelsEntry entry) { return LevelsEvent{{entry}}; }

TEST(ColorBalanceTest, EachRangeActsMostOnItsOwnTones) {
  ColorBalanceEvent red;
  red.midtones[0] = 20;
  red.preserveLuminosity = false;
  const Rgb mid = After(red, Grey(128)), dark = After(red, Grey(32)), white = After(red, Grey(255));
  EXPECT_EQ(mid[0], 148) << "full weight in the middle";
  EXPECT_EQ(mid[1], 128);
  EXPECT_GT(mid[0] - 128, 2 * (dark[0] - 32)) << "midtones move the shadows much less";
  EXPECT_GT(dark[0], 32);
  EXPECT_EQ(white, Grey(255));

  ColorBalanceEvent highlights;
  highlights.highlights[2] = -40;
  highlights.preserveLuminosity = false;
  EXPECT_EQ(After(highlights, Grey(0)), Grey(0));
  EXPECT_LT(After(highlights, Grey(230))[2], 200) << "less blue is more yellow";

  ColorBalanceEvent shadows;
  shadows.shadows[1] = 30;
  shadows.preserveLuminosity = false;
  EXPECT_EQ(After(shadows, Grey(0))[1], 30);
  EXPECT_EQ(After(shadows, Grey(255)), Grey(255));
}

TEST(ColorBalanceTest, PreserveLuminosityKeepsLumaAndShiftsTheOtherChannels) {
  for (int axis = 0; axis < 3; ++axis) {
    for (int amount : {-20, 20}) {
      ColorBalanceEvent event;
      event.midtones[axis] = amount;
      const Rgb result = After(event, {120, 130, 110});
      EXPECT_NEAR(LumaOf(result), LumaOf({120, 130, 110}), 1.0) << axis << " " << amount;
      const int moved = result[axis] - Rgb{120, 130, 110}[axis];
      EXPECT_EQ(moved > 0, amount > 0) << axis << " " << amount;
      EXPECT_GT(std::abs(moved), 5) << "less what the luma takes back";
    }
  }
}

TEST(BrightnessContrastTest, NonLegacyBendsTheMiddleAndKeepsBlackAndWhite) {
  for (int brightness : {-150, -20, 20, 150}) {
    const Rgb mid = After(BrightnessContrastEvent{brightness, 0, false}, Grey(128));
    EXPECT_EQ(mid[0] > 128, brightness > 0) << brightness;
    EXPECT_EQ(After(BrightnessContrastEvent{brightness, 0, false}, Grey(0)), Grey(0));
    EXPECT_EQ(After(BrightnessContrastEvent{brightness, 0, false}, Grey(255)), Grey(255));
  }
  EXPECT_NEAR(After(BrightnessContrastEvent{20, 0, false}, Grey(128))[0], 140, 2);

  const BrightnessContrastEvent more{0, 20, false}, less{0, -20, false};
  EXPECT_LT(After(more, Grey(64))[0], 64);
  EXPECT_GT(After(more, Grey(192))[0], 192);
  EXPECT_EQ(After(more, Grey(0)), Grey(0)) << "raising contrast clips nothing";
  EXPECT_EQ(After(more, Grey(255)), Grey(255));
  EXPECT_GT(After(less, Grey(64))[0], 64);
  EXPECT_LT(After(less, Grey(192))[0], 192);
  EXPECT_NEAR(After(more, Grey(128))[0], 128, 1);

  const Image curve = Applied(more);
  for (int x = 1; x < 256; ++x) ASSERT_GE(curve.At(x, 0)[0], curve.At(x - 1, 0)[0]) << "monotone at " << x;
}

TEST(BrightnessContrastTest, LegacyShiftsAndStretches) {
  EXPECT_EQ(After(BrightnessContrastEvent{20, 0, true}, Grey(100)), Grey(120));
  EXPECT_EQ(After(BrightnessContrastEvent{20, 0, true}, Grey(250)), Grey(255)) << "legacy clips";
  EXPECT_EQ(After(BrightnessContrastEvent{0, 50, true}, Grey(100))[0], 73);  // 127.5 - 27.5 * 2
  EXPECT_EQ(After(BrightnessContrastEvent{0, 100, true}, Grey(120)), Grey(0)) << "+100 is a threshold";
  EXPECT_EQ(After(BrightnessContrastEvent{0, 100, true}, Grey(135)), Grey(255));
}

TEST(HueSaturationTest, SaturationScalesTheDistanceFromTheLightness) {
  const Rgb muted{160, 100, 100};
  const Rgb more = After(HueSaturationEvent{0, 20, 0, false}, muted);
  EXPECT_EQ(more, (Rgb{166, 94, 94})) << "lightness 130, spread 30 times 1.2";
  const Rgb less = After(HueSaturationEvent{0, -20, 0, false}, muted);
  EXPECT_EQ(less, (Rgb{154, 106, 106}));
  EXPECT_EQ(After(HueSaturationEvent{0, -100, 0, false}, muted), Grey(130));
  EXPECT_EQ(After(HueSaturationEvent{0, 100, 0, false}, {200, 60, 60}), (Rgb{255, 5, 5})) << "stops at the gamut";
  EXPECT_EQ(After(HueSaturationEvent{0, 100, 0, false}, Grey(77)), Grey(77));
}

TEST(HueSaturationTest, HueLightnessAndColorize) {
  EXPECT_EQ(After(HueSaturationEvent{120, 0, 0, false}, {200, 40, 40}), (Rgb{40, 200, 40}));
  EXPECT_EQ(After(HueSaturationEvent{-120, 0, 0, false}, {200, 40, 40}), (Rgb{40, 40, 200}));
  EXPECT_EQ(After(HueSaturationEvent{0, 0, 100, false}, {200, 40, 40}), Grey(255));
  EXPECT_EQ(After(HueSaturationEvent{0, 0, -100, false}, {200, 40, 40}), Grey(0));
  EXPECT_EQ(After(HueSaturationEvent{0, 0, 50, false}, Grey(100)), Grey(178));
  const Rgb tinted = After(HueSaturationEvent{-120, 50, 0, true}, Grey(128));  // colorize hue 240: blue
  EXPECT_GT(tinted[2], tinted[0]);
  EXPECT_EQ(tinted[0], tinted[1]);
  EXPECT_NEAR((std::max(tinted[2], tinted[0]) + std::min(tinted[2], tinted[0])) / 2.0, 128, 1) << "lightness kept";
}

TEST(PhotoFilterTest, WarmingAndCoolingTintGreyAndKeepItsLuma) {
  PhotoFilterEvent warming;  // 236, 138, 0 at 25 %
  const Rgb warm = After(warming, Grey(128));
  EXPECT_EQ(warm, (Rgb{139, 126, 109})) << "times 0.93, 0.88, 0.75, then 13 levels of luma back";
  EXPECT_GT(warm[0], warm[1]);
  EXPECT_GT(warm[1], warm[2]);
  EXPECT_NEAR(LumaOf(warm), 128, 1.0);

  PhotoFilterEvent cooling;
  cooling.colour[0] = 0, cooling.colour[1] = 109, cooling.colour[2] = 255;
  const Rgb cool = After(cooling, Grey(128));
  EXPECT_GT(cool[2], cool[1]);
  EXPECT_GT(cool[1], cool[0]);
  EXPECT_NEAR(LumaOf(cool), 128, 1.0);

  PhotoFilterEvent full;
  full.density = 100;
  full.preserveLuminosity = false;
  EXPECT_EQ(After(full, Grey(255)), (Rgb{236, 138, 0})) << "white through the filter is its colour";
  EXPECT_EQ(After(full, {200, 100, 50}), (Rgb{185, 54, 0}));
  full.density = 50;
  EXPECT_EQ(After(full, {200, 100, 50}), (Rgb{193, 77, 25}));

  // A blue sky stays blue behind a warming filter, only warmer.
  const Rgb sky{150, 190, 230};
  const Rgb warmSky = After(warming, sky);
  EXPECT_GT(warmSky[2], warmSky[0] + 15);
  EXPECT_LT(warmSky[2] - warmSky[0], sky[2] - sky[0]);
}

TEST(PhotoFilterTest, LabAndHsbColoursAreTheSameFilter) {
  PhotoFilterEvent lab;
  lab.model = PhotoFilterEvent::Model::Lab;
  lab.colour[0] = 50, lab.colour[1] = 0, lab.colour[2] = 0;
  lab.density = 100;
  lab.preserveLuminosity = false;
  const Rgb neutral = After(lab, Grey(255));
  EXPECT_NEAR(neutral[0], 119, 1) << "L 50 is sRGB 119";
  EXPECT_NEAR(neutral[1], neutral[0], 1);
  EXPECT_NEAR(neutral[2], neutral[0], 1);
  lab.colour[0] = 60, lab.colour[1] = 20, lab.colour[2] = 60;  // orange
  const Rgb orange = After(lab, Grey(200));
  EXPECT_GT(orange[0], orange[1]);
  EXPECT_GT(orange[1], orange[2]);

  PhotoFilterEvent hsb;
  hsb.model = PhotoFilterEvent::Model::Hsb;
  hsb.colour[0] = 210, hsb.colour[1] = 100, hsb.colour[2] = 100;
  hsb.density = 100;
  hsb.preserveLuminosity = false;
  EXPECT_EQ(After(hsb, Grey(255)), (Rgb{0, 128, 255}));
  hsb.colour[0] = 210 + 720;
  EXPECT_EQ(After(hsb, Grey(255)), (Rgb{0, 128, 255})) << "an angle";
}

TEST(LevelsTest, GammaInputAndOutputLevels) {
  for (double gamma : {1.2, 1 / 1.2}) {
    const Image image = Applied(Levels({ChannelTarget::Composite, 0, 255, gamma, 0, 255}));
    EXPECT_EQ(image.At(0, 0)[0], 0);
    EXPECT_EQ(image.At(255, 0)[0], 255);
    EXPECT_EQ(image.At(128, 0)[0] > 128, gamma > 1) << gamma;
    EXPECT_EQ(image.At(128, 0)[0], std::lround(255 * std::pow(128 / 255.0, 1 / gamma)));
  }
  const Rgb stretched = After(Levels({ChannelTarget::Composite, 50, 200, 1, 0, 255}), {50, 125, 200});
  EXPECT_EQ(stretched, (Rgb{0, 128, 255}));
  const Rgb output = After(Levels({ChannelTarget::Composite, 0, 255, 1, 20, 220}), {0, 255, 128});
  EXPECT_EQ(output, (Rgb{20, 220, 120}));
  const Rgb inverted = After(Levels({ChannelTarget::Composite, 0, 255, 1, 255, 0}), {0, 255, 55});
  EXPECT_EQ(inverted, (Rgb{255, 0, 200}));
}

TEST(LevelsTest, TheCompositeComesBeforeEachChannel) {
  LevelsEvent event;
  event.entries.push_back({ChannelTarget::Red, 100, 255, 1, 0, 255});
  event.entries.push_back({ChannelTarget::Composite, 0, 255, 1, 255, 0});
  // Composite first: red 50 inverts to 205, then (205 - 100) / 155 of 255; the other order
  // would give 255.
  EXPECT_EQ(After(event, {50, 50, 50}), (Rgb{173, 205, 205}));
  event.entries.push_back({ChannelTarget::Blue, 0, 255, 1, 0, 100});
  EXPECT_EQ(After(event, {50, 50, 50}), (Rgb{173, 205, 80}));
}

TEST(CurvesTest, IdentityPointsAndChannels) {
  CurvesEvent identity{{{ChannelTarget::Composite, {{0, 0}, {64, 64}, {192, 192}, {255, 255}}}}};
  const Image ramp = Ramp();
  EXPECT_EQ(Applied(identity).rgb, ramp.rgb);
  CurvesEvent green{{{ChannelTarget::Green, {{0, 0}, {128, 170}, {255, 255}}}}};
  const Rgb result = After(green, Grey(128));
  EXPECT_EQ(result, (Rgb{128, 170, 128}));
}

TEST(ExposureTest, StopsOffsetAndGammaInLinearLight) {
  const Image brighter = Applied(ExposureEvent{1, 0, 1});
  for (int v = 10; v < 180; ++v) {
    const double doubled = 2 * SrgbToLinear(v / 255.0);
    const double got = SrgbToLinear(brighter.At(v, 0)[0] / 255.0);
    ASSERT_NEAR(got, doubled, 0.012 * doubled + 0.001) << "at " << v;
  }
  EXPECT_EQ(brighter.At(255, 0)[0], 255);
  const Image darker = Applied(ExposureEvent{-1, 0, 1});
  EXPECT_NEAR(SrgbToLinear(darker.At(200, 0)[0] / 255.0), SrgbToLinear(200 / 255.0) / 2, 0.005);
  const Image offset = Applied(ExposureEvent{0, -0.05, 1});
  EXPECT_EQ(offset.At(60, 0)[0], 0) << "a negative offset crushes the shadows";
  EXPECT_GT(offset.At(250, 0)[0], 240) << "and hardly touches the highlights";
  const Image gamma = Applied(ExposureEvent{0, 0, 2});
  EXPECT_GT(gamma.At(100, 0)[0], 150);
  EXPECT_EQ(gamma.At(0, 0)[0], 0);
}

TEST(VibranceTest, MutedColoursGainMoreThanSaturatedOnesAndSkinLess) {
  const VibranceEvent raise{25, 0};
  const Rgb muted{110, 120, 140}, saturated{30, 60, 200};
  const float mutedGain = SaturationOf(After(raise, muted)) / SaturationOf(muted);
  const float saturatedGain = SaturationOf(After(raise, saturated)) / SaturationOf(saturated);
  EXPECT_GT(mutedGain, 1.15f);
  EXPECT_GT(mutedGain, saturatedGain + 0.1f);
  EXPECT_GE(saturatedGain, 1.0f);
  EXPECT_NEAR(LumaOf(After(raise, muted)), LumaOf(muted), 1.0);

  const Rgb skin{200, 160, 140}, sameSaturationBlue{140, 160, 200};
  EXPECT_LT(SaturationOf(After(raise, skin)), SaturationOf(After(raise, sameSaturationBlue)));

  const float lowered = SaturationOf(After(VibranceEvent{-25, 0}, muted));
  EXPECT_LT(lowered, SaturationOf(muted));
  EXPECT_EQ(After(VibranceEvent{0, -100}, {200, 60, 60}), Grey(102)) << "to its luma";
  const Rgb full = After(VibranceEvent{100, 100}, {250, 20, 20});
  EXPECT_EQ(full[0], 255) << "held at the gamut, not wrapped";
  EXPECT_LE(full[1], 20);
}

// Values no dialog allows give what the nearest allowed value gives; none crashes or wraps.
TEST(DialogRangeTest, AbsurdValuesAreHeldToTheDialogsRange) {
  const Image ramp = Ramp();
  EXPECT_EQ(Applied(BrightnessContrastEvent{INT_MAX, 0, false}).rgb,
            Applied(BrightnessContrastEvent{150, 0, false}).rgb);
  EXPECT_GT(After(BrightnessContrastEvent{INT_MAX, 0, false}, Grey(128))[0], 190) << "white-ish";
  EXPECT_EQ(After(BrightnessContrastEvent{INT_MAX, INT_MAX, true}, Grey(128)), Grey(255));
  EXPECT_EQ(Applied(BrightnessContrastEvent{INT_MIN, INT_MIN, false}).rgb,
            Applied(BrightnessContrastEvent{-150, -50, false}).rgb);

  ColorBalanceEvent balance;
  balance.midtones[0] = INT_MAX, balance.shadows[1] = INT_MIN, balance.highlights[2] = INT_MAX;
  ColorBalanceEvent held;
  held.midtones[0] = 100, held.shadows[1] = -100, held.highlights[2] = 100;
  EXPECT_EQ(Applied(balance).rgb, Applied(held).rgb);

  EXPECT_EQ(Applied(HueSaturationEvent{INT_MAX, INT_MIN, INT_MAX, false}).rgb,
            Applied(HueSaturationEvent{180, -100, 100, false}).rgb);
  EXPECT_EQ(Applied(VibranceEvent{INT_MAX, INT_MIN}).rgb, Applied(VibranceEvent{100, -100}).rgb);

  LevelsEntry wild{ChannelTarget::Composite, INT_MAX, INT_MIN, kNaN, INT_MIN, INT_MAX};
  EXPECT_EQ(Applied(Levels(wild)).rgb, Applied(Levels({ChannelTarget::Composite, 253, 255, 1, 0, 255})).rgb);
  EXPECT_EQ(Applied(Levels({ChannelTarget::Composite, 0, 255, 1e10, 0, 255})).rgb,
            Applied(Levels({ChannelTarget::Composite, 0, 255, 9.99, 0, 255})).rgb);
  EXPECT_EQ(Applied(Levels({ChannelTarget::Composite, 0, 255, -1e10, 0, 255})).rgb,
            Applied(Levels({ChannelTarget::Composite, 0, 255, 0.1, 0, 255})).rgb);
  EXPECT_EQ(Applied(Levels({static_cast<ChannelTarget>(77), 0, 255, 3, 0, 255})).rgb, ramp.rgb);

  EXPECT_EQ(Applied(ExposureEvent{1e10, -1e10, kNaN}).rgb, Applied(ExposureEvent{20, -0.5, 1}).rgb);
  EXPECT_EQ(Applied(ExposureEvent{kNaN, kNaN, -kInfinity}).rgb, Applied(ExposureEvent{0, 0, 0.01}).rgb);
  EXPECT_EQ(After(ExposureEvent{1e10, 0, 1}, Grey(1)), Grey(255));
  EXPECT_EQ(After(ExposureEvent{-1e10, 0, 1}, Grey(254)), Grey(0));

  CurvesEvent curves{{{ChannelTarget::Composite, {{-1e10, kNaN}, {0, -1e10}, {kNaN, 3}, {1e10, 1e10}}}}};
  EXPECT_EQ(Applied(curves).rgb, ramp.rgb) << "(0, 0) and (255, 255) are left";
  CurvesEvent onePoint{{{ChannelTarget::Red, {{kNaN, 0}, {100, 200}}}}};
  EXPECT_EQ(Applied(onePoint).rgb, ramp.rgb) << "fewer than two points leave the channel alone";

  PhotoFilterEvent filter;
  filter.colour[0] = kNaN, filter.colour[1] = 1e10, filter.colour[2] = -kInfinity;
  filter.density = INT_MAX;
  filter.preserveLuminosity = false;
  EXPECT_EQ(After(filter, Grey(255)), (Rgb{128, 255, 0}));
  filter.model = PhotoFilterEvent::Model::Lab;
  filter.colour[0] = 1e10, filter.colour[1] = kNaN, filter.colour[2] = kInfinity;
  const Rgb lab = After(filter, Grey(255));
  EXPECT_GT(lab[0], 200) << "L 100, b +127: a bright yellow";
  EXPECT_LT(lab[2], 60);
  filter.model = static_cast<PhotoFilterEvent::Model>(9);
  filter.colour[0] = 10, filter.colour[1] = 20, filter.colour[2] = 30;
  EXPECT_EQ(After(filter, Grey(255)), (Rgb{10, 20, 30})) << "an unknown model is read as RGB";
}

TEST(CoverageTest, OnlyTheSelectionChangesAndItsEdgesBlend) {
  Image image(40, 20, 100);
  Selection selection;
  selection.Resize(40, 20);
  selection.SetRectangle(5, 10, 15, 30);
  Apply(BrightnessContrastEvent{100, 0, true}, selection, image);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 40; ++x) {
      const bool inside = x >= 10 && x < 30 && y >= 5 && y < 15;
      ASSERT_EQ(image.At(x, y)[1], inside ? 200 : 100) << x << ", " << y;
    }
  }

  Image blended(40, 20, 100);
  selection.SetPolygon({{0, 0}, {40, 0}, {0, 20}}, true);
  Apply(BrightnessContrastEvent{100, 0, true}, selection, blended);
  int partly = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 40; ++x) {
      const float c = selection.At(x, y);
      ASSERT_EQ(blended.At(x, y)[0], std::lround(100 + 100 * c)) << x << ", " << y;
      partly += c > 0 && c < 1;
    }
  }
  EXPECT_GT(partly, 20);

  Image untouched(40, 20, 100);
  selection.SetRectangle(-50, -50, -10, -10);
  ASSERT_TRUE(selection.active());
  Apply(BrightnessContrastEvent{100, 0, true}, selection, untouched);
  EXPECT_EQ(untouched.rgb, Image(40, 20, 100).rgb) << "a selection of nothing is not the whole image";
}

TEST(CoverageTest, EdgesFarOutsideTheDocumentAreHeldToIt) {
  Selection selection;
  selection.Resize(40, 20);
  selection.SetRectangle(-1e10, -1e10, 1e10, 1e10);
  EXPECT_EQ(selection.SelectedPixels(), 40 * 20) << "a rectangle around the document selects all of it";
  EXPECT_EQ(selection.Bounds().right, 40);
  selection.SetRectangle(5, 1e300, 10, -1e300);
  EXPECT_EQ(selection.SelectedPixels(), 0);
  selection.SetRectangle(kNaN, 0, 10, 10);
  EXPECT_EQ(selection.SelectedPixels(), 100) << "not a number is 0";
  selection.SetPolygon({{-1e10, -1e10}, {3e10, -1e10}, {-1e10, 3e10}}, true);
  EXPECT_EQ(selection.SelectedPixels(), 40 * 20);
  selection.SetPolygon({{1e10, 0}, {2e10, 0}, {1e10, 20}}, false);
  EXPECT_EQ(selection.SelectedPixels(), 0);
  selection.SetPolygon({{0, 0}, {kNaN, 5}, {0, 20}, {40, 20}}, true);
  EXPECT_TRUE(selection.active());
  EXPECT_EQ(selection.SelectedPixels(), 0);
  EXPECT_TRUE(selection.Bounds().empty());
}

TEST(CoverageTest, AShapeOfNoAreaIsNoSelection) {
  Selection selection;
  selection.Resize(40, 20);
  const auto brightened = [&] {
    Image image(40, 20, 100);
    Apply(BrightnessContrastEvent{100, 0, true}, selection, image);
    return std::count(image.rgb.begin(), image.rgb.end(), 200) / 3;
  };
  selection.SetRectangle(0, 0, 20, 0);
  EXPECT_FALSE(selection.active()) << "a rectangle of no width";
  EXPECT_EQ(brightened(), 40 * 20) << "with no selection the whole document changes";
  selection.SetRectangle(3, kNaN, 3, 40);
  EXPECT_FALSE(selection.active()) << "a rectangle of no height";
  selection.AddRectangle(0, 5, 20, 5);
  EXPECT_FALSE(selection.active()) << "adding no area to no selection leaves none";
  selection.AddRectangle(0, 5, 20, 6);
  selection.AddRectangle(0, 10, 20, 10);
  EXPECT_EQ(brightened(), 20) << "adding no area to a selection changes nothing";
  selection.SetPolygon({{0, 0}, {10, 10}, {30, 30}, {0, 0}}, true);
  EXPECT_FALSE(selection.active()) << "a polygon with its corners on one line";
  selection.SetPolygon({{4, 4}, {4, 4}, {4, 4}}, false);
  EXPECT_FALSE(selection.active());
  selection.SetPolygon({{0, 0}, {20, 20}}, false);
  EXPECT_FALSE(selection.active());

  selection.SetPolygon({{0, 0}, {40, 20}, {40, 0}, {0, 20}}, false);
  EXPECT_GT(brightened(), 300) << "a figure eight's halves enclose area, though its signed area is 0";
  selection.SetRectangle(5, 30, 5.4, 30.4);
  EXPECT_TRUE(selection.active());
  EXPECT_EQ(brightened(), 0) << "some area between pixel centres is a selection of no pixels";
  selection.SetPolygon({{0, 0}, {kNaN, 0}, {kNaN, 0}}, false);
  EXPECT_EQ(brightened(), 0) << "a polygon with a corner that is no number selects nothing";
}

TEST(CoverageTest, TheBoundsFollowTheSelection) {
  Selection selection;
  selection.Resize(40, 20);
  EXPECT_TRUE(selection.Bounds().empty());
  selection.SetRectangle(5, 10, 15, 30);
  auto box = [&] {
    const PixelBox& b = selection.Bounds();
    return std::array<int, 4>{b.left, b.top, b.right, b.bottom};
  };
  EXPECT_EQ(box(), (std::array<int, 4>{10, 5, 30, 15}));
  selection.AddRectangle(2, 35, 4, 60);
  EXPECT_EQ(box(), (std::array<int, 4>{10, 2, 40, 15})) << "a union, within the document";
  selection.SetRectangle(1, 1, 2, 2);
  EXPECT_EQ(box(), (std::array<int, 4>{1, 1, 2, 2})) << "a new selection forgets the old bounds";
  selection.SetPolygon({{4.5, 3.2}, {20.5, 3.2}, {12, 17.7}}, true);
  EXPECT_EQ(box(), (std::array<int, 4>{4, 3, 21, 18}));
  selection.SetPolygon({{4.5, 3.2}, {20.5, 3.2}, {12, 17.7}}, false);
  EXPECT_EQ(box(), (std::array<int, 4>{5, 3, 20, 17}));
  for (bool antiAlias : {false, true}) {
    selection.SetPolygon({{4.5, 3.2}, {20.5, 3.2}, {12, 17.7}}, antiAlias);
    for (int y = 0; y < 20; ++y) {
      const int left = selection.RowLeft(y), right = selection.RowRight(y);
      for (int x = 0; x < 40; ++x) {
        if (x < left || x >= right) {
          ASSERT_EQ(selection.At(x, y), 0.0f) << x << ", " << y << " outside the row's span";
        }
      }
      if (left < right) {
        EXPECT_GT(selection.At(left, y), 0.0f) << "the span is tight in row " << y;
        EXPECT_GT(selection.At(right - 1, y), 0.0f) << "the span is tight in row " << y;
      }
    }
  }
  selection.Clear();
  EXPECT_TRUE(selection.Bounds().empty());
}

}  // namespace
