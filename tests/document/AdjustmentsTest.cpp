// The adjustments added with the layered document, on single pixels worked out by hand.
#include <gtest/gtest.h>

#include "document/adjust/Adjustments.h"
#include "document/steps/AdjustmentReading.h"
#include "document/steps/StepSupport.h"
#include "tests/document/StepBuilder.h"

namespace zem::document {
namespace {

using testing::Plain;

// The pixel (r, g, b) after the adjustment.
std::array<int, 3> After(const Adjustment& adjustment, uint8_t r, uint8_t g, uint8_t b) {
  hostsim::Image image = Plain(1, 1, r, g, b);
  ApplyAdjustment(adjustment, image);
  return {image.rgb[0], image.rgb[1], image.rgb[2]};
}

using Rgb = std::array<int, 3>;

TEST(Adjustments, GradientMapPicksTheColourOfEachPixelsLuma) {
  GradientMapEvent redToBlue;
  redToBlue.stops = {GradientStop{0, 0.5, {255, 0, 0}}, GradientStop{1, 0.5, {0, 0, 255}}};
  // Grey 51 is 0.2 along: 255 x 0.8 red, 255 x 0.2 blue.
  EXPECT_EQ(After(redToBlue, 51, 51, 51), (Rgb{204, 0, 51}));
  redToBlue.reverse = true;
  EXPECT_EQ(After(redToBlue, 51, 51, 51), (Rgb{51, 0, 204}));
  // With the midpoint at a quarter, 0.2 along is 0.5 x 0.2 / 0.25 = 0.4 of the way.
  redToBlue.reverse = false;
  redToBlue.stops[0].midpoint = 0.25;
  EXPECT_EQ(After(redToBlue, 51, 51, 51), (Rgb{153, 0, 102}));
  // Black to white keeps a grey as it is.
  GradientMapEvent greys;
  greys.stops = {GradientStop{0, 0.5, {0, 0, 0}}, GradientStop{1, 0.5, {255, 255, 255}}};
  EXPECT_EQ(After(greys, 100, 100, 100), (Rgb{100, 100, 100}));
}

TEST(Adjustments, ChannelMixerSumsWeightedChannels) {
  ChannelMixerEvent mixer;
  mixer.red[0] = 50, mixer.red[1] = 50, mixer.red[3] = 10;  // half red, half green, +10% of 255
  // 50 + 100 + 25.5 = 175.5.
  EXPECT_EQ(After(mixer, 100, 200, 50), (Rgb{176, 200, 50}));
  mixer.monochrome = true;  // grey 40/40/20: 40 + 80 + 10
  EXPECT_EQ(After(mixer, 100, 200, 50), (Rgb{130, 130, 130}));
}

TEST(Adjustments, BlackAndWhiteWeighsEachColourPart) {
  const BlackWhiteEvent defaults;  // reds 40, yellows 60, greens 40, cyans 60, blues 20, magentas 80
  EXPECT_EQ(After(defaults, 255, 0, 0), (Rgb{102, 102, 102}));    // red alone: 255 x 0.4
  EXPECT_EQ(After(defaults, 255, 255, 0), (Rgb{153, 153, 153}));  // yellow alone: 255 x 0.6
  // 50 neutral, 50 yellow (red and green above blue), 100 red: 50 + 30 + 40.
  EXPECT_EQ(After(defaults, 200, 100, 50), (Rgb{120, 120, 120}));
}

TEST(Adjustments, InvertDesaturateThresholdPosterize) {
  EXPECT_EQ(After(InvertEvent{}, 0, 100, 255), (Rgb{255, 155, 0}));
  EXPECT_EQ(After(DesaturateEvent{}, 200, 100, 50), (Rgb{125, 125, 125}));  // (200 + 50) / 2
  // Luma of (200, 100, 50): 59.8 + 58.7 + 5.7 = 124.2, below 128.
  EXPECT_EQ(After(ThresholdEvent{128}, 200, 100, 50), (Rgb{0, 0, 0}));
  EXPECT_EQ(After(ThresholdEvent{124}, 200, 100, 50), (Rgb{255, 255, 255}));
  EXPECT_EQ(After(PosterizeEvent{2}, 127, 128, 255), (Rgb{0, 255, 255}));
}

TEST(Adjustments, SelectiveColorRelativeAndAbsolute) {
  SelectiveColorEvent cyanInReds;
  cyanInReds.ranges[0][0] = 100;  // reds: +100% cyan
  cyanInReds.used[0] = true;
  // Relative: the red channel's cyan 1 - 200/255 = 0.2157 doubled; the reds' weight is 200 levels,
  // so red drops by 0.2157 x 200 = 43.1.
  EXPECT_EQ(After(cyanInReds, 200, 0, 0), (Rgb{157, 0, 0}));
  cyanInReds.absolute = true;  // absolute: the whole 100%, held to the ink there is room for (0.7843)
  EXPECT_EQ(After(cyanInReds, 200, 0, 0), (Rgb{43, 0, 0}));
  // A grey has no red: the reds' correction leaves it alone.
  SelectiveColorEvent redsOnly = cyanInReds;
  EXPECT_EQ(After(redsOnly, 0, 0, 0), (Rgb{0, 0, 0}));
}

TEST(Adjustments, AdjustmentLayersAreReadFromTheirRecordedClass) {
  const zem::actions::Event make = testing::Step(
      "event make \"Make\" 'Mk  ' {'null': ref('AdjL' class), 'Usng': 'AdjL' {'Type': 'ChnM' {'Mnch': true, "
      "'Gry ': 'ChMx' {'Rd  ': 100.0 '#Prc', 'Grn ': 0.0 '#Prc', 'Bl  ': 0.0 '#Prc'}}}}");
  const zem::actions::Value* usng = make.descriptor.Find(zem::actions::Id::Code(MakeFourCC("Usng")));
  ASSERT_NE(usng, nullptr);
  const Adjustment adjustment =
      ReadLayerAdjustment(*std::get<zem::actions::Descriptor>(usng->data).Find(zem::actions::Id::Code(MakeFourCC("Type"))));
  EXPECT_EQ(After(adjustment, 90, 10, 200), (Rgb{90, 90, 90}));  // the red channel as grey
  // A class alone gives the adjustment's defaults: vibrance 0 changes nothing.
  const zem::actions::Event vibrance = testing::Step(
      "event make \"Make\" 'Mk  ' {'null': ref('AdjL' class), 'Usng': 'AdjL' {'Type': class(\"Vibrance\" vibrance)}}");
  const auto& settings = std::get<zem::actions::Descriptor>(vibrance.descriptor.Find(zem::actions::Id::Code(MakeFourCC("Usng")))->data);
  EXPECT_EQ(After(ReadLayerAdjustment(*settings.Find(zem::actions::Id::Code(MakeFourCC("Type")))), 90, 10, 200),
            (Rgb{90, 10, 200}));
}

TEST(Adjustments, HueSaturationRangesActInProportionToTheHue) {
  // The reds as Photoshop records them: full from 345 to 15 degrees, ramps of 30 degrees.
  const HueRange reds{315, 345, 15, 45, 0, -100, 0};
  EXPECT_DOUBLE_EQ(RangeWeight(reds, 0), 1);
  EXPECT_DOUBLE_EQ(RangeWeight(reds, 350), 1);
  EXPECT_DOUBLE_EQ(RangeWeight(reds, 30), 0.5);   // half way down the ramp out
  EXPECT_DOUBLE_EQ(RangeWeight(reds, 330), 0.5);  // half way up the ramp in
  EXPECT_DOUBLE_EQ(RangeWeight(reds, 120), 0);
  HueSaturationRangesEvent desaturateReds;
  desaturateReds.ranges = {reds};
  // Red loses all its saturation: grey at its HSL lightness (200 + 0) / 2 = 100; green is outside.
  EXPECT_EQ(After(desaturateReds, 200, 0, 0), (Rgb{100, 100, 100}));
  EXPECT_EQ(After(desaturateReds, 0, 200, 0), (Rgb{0, 200, 0}));
  // Read from a recorded step with a range entry.
  const zem::actions::Event step = testing::Step(
      "event hueSaturation \"Hue/Saturation\" 'HStr' {'Clrz': false, 'Adjs': ['Hst2' {'LclR': 1, 'BgnR': 315, "
      "'BgnS': 345, 'EndS': 15, 'EndR': 45, 'H   ': 0, 'Strt': -100, 'Lght': 0}]}");
  EXPECT_EQ(After(ReadAdjustmentEvent("hueSaturation", step.descriptor, true), 200, 0, 0), (Rgb{100, 100, 100}));
}

TEST(Adjustments, AFreehandCurveIsItsMapping) {
  // Every input mapped to its half, written as the 256 outputs Photoshop records for a drawn curve.
  std::string mapping;
  for (int i = 0; i < 256; ++i) mapping += (i ? ", " : "") + std::to_string(i / 2);
  const zem::actions::Event step = testing::Step(
      "event curves \"Curves\" 'Crvs' {'Adjs': ['CrvA' {'Chnl': ref('Chnl' enum 'Chnl'.'Cmps'), 'Mpng': [" + mapping + "]}]}");
  const Adjustment curve = ReadAdjustmentEvent("curves", step.descriptor, true);
  EXPECT_EQ(After(curve, 200, 101, 7), (Rgb{100, 50, 3}));
  const zem::actions::Event shortMapping = testing::Step(
      "event curves \"Curves\" 'Crvs' {'Adjs': ['CrvA' {'Chnl': ref('Chnl' enum 'Chnl'.'Cmps'), 'Mpng': [1, 2, 3]}]}");
  EXPECT_THROW(ReadAdjustmentEvent("curves", shortMapping.descriptor, true), StepRefusal);
}

}  // namespace
}  // namespace zem::document
