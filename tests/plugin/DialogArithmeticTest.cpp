// The dialogs' arithmetic without windows: where a dialog is placed inside a monitor's bounds, and
// how a picture is fitted and scaled to its control.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "ui/ImageScaling.h"
#include "ui/Placement.h"

namespace {

using zem::PixelSize;
using zem::ScreenPoint;
using zem::ScreenRect;

// The rule as it was for the one screen it knew, with the screen's size as the far edges.
ScreenPoint SingleScreenRule(const ScreenRect& area, int width, int height, int shift, int screenWidth,
                             int screenHeight) {
  auto notNegative = [](int value) { return value < 0 ? 0 : value; };
  int x = area.left + notNegative(area.right - area.left - width) / 2 - shift;
  if (x + width > screenWidth) x = notNegative(screenWidth - width);
  int y = area.top + notNegative(area.bottom - area.top - height) / 3;
  if (y + height > screenHeight) y = notNegative(screenHeight - height);
  return {x, y};
}

TEST(PlacementTest, OneMonitorAtTheOriginGivesExactlyTheSingleScreenPositions) {
  const int screens[][2] = {{1024, 768}, {1920, 1080}, {800, 600}};
  const int origins[] = {-400, -17, 0, 5, 300, 700, 1000, 1900};
  const int extents[] = {0, 1, 120, 331, 640, 2000};
  const int dialogs[][2] = {{330, 300}, {283, 209}, {1, 1}, {2100, 1200}};
  int compared = 0;
  for (const auto& screen : screens) {
    const ScreenRect bounds{0, 0, screen[0], screen[1]};
    for (int left : origins) {
      for (int top : origins) {
        for (int extent : extents) {
          const ScreenRect area{left, top, left + extent, top + extent * 2 / 3};
          for (const auto& dialog : dialogs) {
            for (int shift : {0, 12, 18}) {
              const ScreenPoint placed = zem::PlaceDialog(area, dialog[0], dialog[1], shift, bounds);
              const ScreenPoint single = SingleScreenRule(area, dialog[0], dialog[1], shift, screen[0], screen[1]);
              ASSERT_EQ(placed.x, single.x) << left << "," << top << " +" << extent << " dialog " << dialog[0];
              ASSERT_EQ(placed.y, single.y) << left << "," << top << " +" << extent << " dialog " << dialog[1];
              ++compared;
            }
          }
        }
      }
    }
  }
  EXPECT_EQ(compared, 3 * 8 * 8 * 6 * 4 * 3);
}

TEST(PlacementTest, TheFarEdgesAreThoseOfTheOwnersMonitorAndTheNearEdgesItsFloor) {
  const int shift = 18;
  // A second monitor to the right of a 1024-pixel one, with a task bar along its bottom.
  const ScreenRect right{1024, 0, 2304, 984};
  const ScreenPoint nearItsEdge = zem::PlaceDialog({2100, 700, 2300, 900}, 330, 300, shift, right);
  EXPECT_EQ(nearItsEdge.x, 2304 - 330);
  EXPECT_EQ(nearItsEdge.y, 984 - 300) << "kept above the task bar";
  const ScreenPoint tooLarge = zem::PlaceDialog({1100, 100, 1300, 300}, 1500, 1100, shift, right);
  EXPECT_EQ(tooLarge.x, 1024) << "stops at the monitor's left edge, not at 0";
  EXPECT_EQ(tooLarge.y, 0);

  // A monitor left of the primary one, at negative coordinates.
  const ScreenRect left{-1280, 0, 0, 1024};
  const ScreenPoint onTheLeft = zem::PlaceDialog({-300, 200, -100, 400}, 330, 300, shift, left);
  EXPECT_EQ(onTheLeft.x, -330);
  EXPECT_EQ(onTheLeft.y, 200);
  const ScreenPoint inside = zem::PlaceDialog({-1200, 100, -400, 700}, 330, 300, shift, left);
  EXPECT_EQ(inside.x, -1200 + 235 - shift) << "inside the bounds nothing moves";
  EXPECT_EQ(inside.y, 100 + 100);
}

TEST(ImageScalingTest, AFittedPictureKeepsItsAspectAndFillsOneSideOfItsBox) {
  struct Case {
    PixelSize picture, box, fitted;
  };
  const Case cases[] = {
      {{80, 33}, {80, 33}, {80, 33}},    // its own size
      {{80, 33}, {159, 65}, {158, 65}},  // the logo's control at 200 %
      {{80, 33}, {100, 41}, {99, 41}},   // at 125 %
      {{80, 33}, {400, 33}, {80, 33}},   // a wide box: the height decides
      {{80, 33}, {40, 300}, {40, 17}},   // a tall one: the width
      {{80, 33}, {1, 1}, {1, 1}},
      {{80, 33}, {0, 20}, {80, 33}},  // an empty box changes nothing
      {{0, 0}, {50, 50}, {0, 0}},
  };
  for (const Case& c : cases) {
    const PixelSize fitted = zem::FitInside(c.picture, c.box);
    EXPECT_EQ(fitted.width, c.fitted.width) << c.box.width << "x" << c.box.height;
    EXPECT_EQ(fitted.height, c.fitted.height) << c.box.width << "x" << c.box.height;
  }
}

TEST(ImageScalingTest, ScalingCopiesAtTheSameSizeAndBlendsEachByteOnItsOwn) {
  std::mt19937 random(7);
  std::vector<uint32_t> noise(80 * 33);
  for (uint32_t& pixel : noise) pixel = static_cast<uint32_t>(random());
  std::vector<uint32_t> copy(noise.size());
  zem::ScalePixels(noise.data(), {80, 33}, copy.data(), {80, 33});
  EXPECT_EQ(copy, noise);

  // Two columns, each byte going the opposite way, doubled: the outer pixels keep their colours,
  // the inner ones lie between them, byte by byte, without carries between the bytes.
  const uint32_t left = 0xFF00FF10u, right = 0x00FF00F0u;
  const std::vector<uint32_t> columns{left, right, left, right};
  std::vector<uint32_t> doubled(4 * 4);
  zem::ScalePixels(columns.data(), {2, 2}, doubled.data(), {4, 4});
  for (int y = 0; y < 4; ++y) {
    const uint32_t* row = &doubled[y * 4];
    EXPECT_EQ(row[0], left);
    EXPECT_EQ(row[3], right);
    EXPECT_EQ(row[1], 0xBF40BF48u) << "a quarter of the way";
    EXPECT_EQ(row[2], 0x40BF40B8u) << "three quarters of the way";
  }

  // A uniform picture stays uniform at any size; a single pixel fills the target.
  const std::vector<uint32_t> grey(5 * 3, 0x00808080u);
  std::vector<uint32_t> large(13 * 7);
  zem::ScalePixels(grey.data(), {5, 3}, large.data(), {13, 7});
  EXPECT_EQ(large, std::vector<uint32_t>(13 * 7, 0x00808080u));
  const uint32_t one = 0x12345678u;
  std::vector<uint32_t> spread(3 * 2);
  zem::ScalePixels(&one, {1, 1}, spread.data(), {3, 2});
  EXPECT_EQ(spread, std::vector<uint32_t>(3 * 2, one));
}

}  // namespace
