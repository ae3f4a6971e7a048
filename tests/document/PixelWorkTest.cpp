// The reference host's fast pixel work against the plain arithmetic it stands for: the selection's
// coverage against the pixel-by-pixel sum of each scanline's share, Color Balance and Photo Filter
// against the pixel-by-pixel formula, thumbnails against block averages; and the same results
// whatever bands the rows are shared out in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "document/AdjustmentEvents.h"
#include "document/Thumbnail.h"
#include "document/adjust/ColourModels.h"
#include "document/adjust/ToneCurves.h"

namespace {

using namespace hostsim;

// Every value the workers could take: bands of a few rows, handed out last first and to two
// workers in turn, so that a band that reads or writes outside its rows, or scratch space shared
// between workers, changes the result.
class ScrambledRows : public RowWorkers {
 public:
  void Split(int top, int bottom, const Work& work) const override {
    std::vector<std::pair<int, int>> bands;
    for (int first = top; first < bottom; first += 3) bands.emplace_back(first, std::min(bottom, first + 3));
    std::reverse(bands.begin(), bands.end());
    for (size_t i = 0; i < bands.size(); ++i) work(static_cast<int>(i % 2), bands[i].first, bands[i].second);
  }
  int Workers() const override { return 2; }
};

// The coverage of one pixel row as the anti-aliased scanlines give it, pixel by pixel: four
// scanlines, each span's share of each pixel added a quarter at a time and held to 1.
std::vector<float> CoverageByPixel(const std::vector<Point>& points, int width, int y) {
  std::vector<float> row(width, 0.0f);
  for (int line = 0; line < 4; ++line) {
    const double scanY = y + (line + 0.5) / 4;
    std::vector<double> crossings;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const Point& a = points[i];
      const Point& b = points[j];
      if ((a.y > scanY) == (b.y > scanY)) continue;
      crossings.push_back(a.x + (b.x - a.x) * (scanY - a.y) / (b.y - a.y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
      const double from = std::max(0.0, crossings[k]), to = std::min(double(width), crossings[k + 1]);
      for (int x = 0; x < width; ++x) {
        const double share = std::min<double>(x + 1, to) - std::max<double>(x, from);
        if (share > 0) row[x] = std::min(1.0f, row[x] + static_cast<float>(share) * 0.25f);
      }
    }
  }
  return row;
}

const std::vector<std::vector<Point>>& Polygons() {
  static const std::vector<std::vector<Point>> polygons = {
      {{0, 0}, {97, 61}, {0, 61}},                                             // the diagonal split's half
      {{10.3, 5.7}, {80.2, 9.1}, {40.9, 58.4}, {70.5, 30.25}, {3, 50}},        // concave, crossing spans
      {{-50, -20}, {200, 10}, {20, 140}},                                      // past the document's edges
      {{30, 10}, {30.3, 50}, {30.6, 10}},                                      // thinner than a pixel
      {{0, 0}, {97, 61}, {97, 0}, {0, 61}},                                    // a figure eight
      {{5, 5}, {90, 5}, {90, 55}, {5, 55}, {5, 20}, {60, 20}, {60, 40}, {5, 40}},  // a C, two spans a line
  };
  return polygons;
}

TEST(PixelWorkTest, AntiAliasedCoverageIsTheSumOfEachScanlinesShare) {
  constexpr int kWidth = 97, kHeight = 61;
  for (const std::vector<Point>& polygon : Polygons()) {
    const ScrambledRows scrambled;
    for (const RowWorkers* workers : {&SerialRows(), static_cast<const RowWorkers*>(&scrambled)}) {
      Selection selection;
      selection.Resize(kWidth, kHeight);
      selection.SetRectangle(0, 0, kHeight, kWidth);  // what it held before must not show through
      selection.SetPolygon(polygon, true, *workers);
      for (int y = 0; y < kHeight; ++y) {
        const std::vector<float> expected = CoverageByPixel(polygon, kWidth, y);
        int left = kWidth, right = 0;
        for (int x = 0; x < kWidth; ++x) {
          ASSERT_EQ(selection.At(x, y), expected[x]) << "polygon " << polygon[1].x << ", pixel " << x << ", " << y;
          if (expected[x] > 0) left = std::min(left, x), right = std::max(right, x + 1);
        }
        if (left < right) {
          EXPECT_LE(selection.RowLeft(y), left) << y;
          EXPECT_GE(selection.RowRight(y), right) << y;
        }
      }
    }
  }
}

TEST(PixelWorkTest, SelectionsFollowingEachOtherLeaveNothingBehind) {
  constexpr int kWidth = 97, kHeight = 61;
  Selection selection;
  selection.Resize(kWidth, kHeight);
  const std::vector<Point>& diagonal = Polygons()[0];
  const std::vector<Point>& concave = Polygons()[1];
  // A rectangle added to a polygon covers its pixels whole and keeps the polygon's elsewhere.
  selection.SetPolygon(diagonal, true);
  selection.AddRectangle(10, 40, 30, 90);
  double area = 0;
  for (int y = 0; y < kHeight; ++y) {
    const std::vector<float> polygon = CoverageByPixel(diagonal, kWidth, y);
    for (int x = 0; x < kWidth; ++x) {
      const bool inRectangle = y >= 10 && y < 30 && x >= 40 && x < 90;
      ASSERT_EQ(selection.At(x, y), inRectangle ? 1.0f : polygon[x]) << x << ", " << y;
      area += selection.At(x, y);
    }
  }
  EXPECT_DOUBLE_EQ(selection.Area(), area);
  // The next polygon shows none of them; nor does "select none" or a rectangle after it.
  selection.SetPolygon(concave, true);
  int selected = 0;
  for (int y = 0; y < kHeight; ++y) {
    const std::vector<float> expected = CoverageByPixel(concave, kWidth, y);
    for (int x = 0; x < kWidth; ++x) {
      ASSERT_EQ(selection.At(x, y), expected[x]) << x << ", " << y;
      selected += expected[x] >= 0.5f;
    }
  }
  EXPECT_EQ(selection.SelectedPixels(), selected);
  selection.SetRectangle(0, 0, 1, 1);
  EXPECT_EQ(selection.SelectedPixels(), 1);
  EXPECT_EQ(selection.Area(), 1.0);
  selection.Clear();
  selection.SetPolygon({{200, 200}, {300, 200}, {300, 300}}, false);
  EXPECT_EQ(selection.Area(), 0.0) << "a polygon outside the document";
}

// A photo-like patch: every channel value and plenty of colours.
Image Patch(int width, int height) {
  Image image(width, height);
  uint32_t seed = 7;
  for (uint8_t& v : image.rgb) {
    seed = seed * 1664525u + 1013904223u;
    v = static_cast<uint8_t>(seed >> 24);
  }
  return image;
}

// Color Balance and Photo Filter as each pixel's own arithmetic: the channels moved, then the luma
// put back.
Image ByPixel(const Image& original, const float (&factor)[3], const float (&shift)[3][256], bool keepLuma) {
  Image image = original;
  for (size_t i = 0; i < image.rgb.size(); i += 3) {
    const uint8_t* in = &original.rgb[i];
    float out[3];
    for (int c = 0; c < 3; ++c) out[c] = in[c] * factor[c] + shift[c][in[c]];
    if (keepLuma) {
      const float lost = Luma(in[0], in[1], in[2]) - Luma(out[0], out[1], out[2]);
      for (float& v : out) v += lost;
    }
    for (int c = 0; c < 3; ++c) image.rgb[i + c] = ToByte(out[c]);
  }
  return image;
}

TEST(PixelWorkTest, ChannelTablesGiveEachPixelsOwnArithmetic) {
  const Image original = Patch(64, 48);
  for (bool keepLuma : {true, false}) {
    ColorBalanceEvent balance;
    balance.shadows[2] = -30, balance.midtones[0] = 20, balance.highlights[1] = 45;
    balance.preserveLuminosity = keepLuma;
    float shift[3][256];
    for (int v = 0; v < 256; ++v) {
      const float x = v / 255.0f;
      for (int c = 0; c < 3; ++c) {
        shift[c][v] = (1 - x) * (1 - x) * balance.shadows[c] + 4 * x * (1 - x) * balance.midtones[c] +
                      x * x * balance.highlights[c];
      }
    }
    const float one[3] = {1, 1, 1};
    Image balanced = original;
    Apply(balance, Selection{}, balanced, ScrambledRows());
    EXPECT_EQ(balanced.rgb, ByPixel(original, one, shift, keepLuma).rgb) << "Color Balance, keep luma " << keepLuma;

    PhotoFilterEvent filter;
    filter.colour[0] = 236, filter.colour[1] = 138, filter.colour[2] = 0, filter.density = 40;
    filter.preserveLuminosity = keepLuma;
    const float density = 0.4f;
    float pass[3], none[3][256] = {};
    for (int c = 0; c < 3; ++c) pass[c] = 1 - density + density * static_cast<float>(filter.colour[c] / 255);
    Image filtered = original;
    Apply(filter, Selection{}, filtered, ScrambledRows());
    EXPECT_EQ(filtered.rgb, ByPixel(original, pass, none, keepLuma).rgb) << "Photo Filter, keep luma " << keepLuma;
  }
}

Image ThumbnailByPixel(const Image& image, int width, int height) {
  Image small(width, height);
  for (int y = 0; y < height; ++y) {
    const int y0 = static_cast<int>(int64_t(y) * image.height / height);
    const int y1 = std::max(y0 + 1, static_cast<int>(int64_t(y + 1) * image.height / height));
    for (int x = 0; x < width; ++x) {
      const int x0 = static_cast<int>(int64_t(x) * image.width / width);
      const int x1 = std::max(x0 + 1, static_cast<int>(int64_t(x + 1) * image.width / width));
      for (int c = 0; c < 3; ++c) {
        uint64_t sum = 0;
        for (int sy = y0; sy < y1; ++sy) {
          for (int sx = x0; sx < x1; ++sx) sum += image.At(sx, sy)[c];
        }
        const uint64_t count = uint64_t(x1 - x0) * (y1 - y0);
        small.At(x, y)[c] = static_cast<uint8_t>((sum + count / 2) / count);
      }
    }
  }
  return small;
}

TEST(PixelWorkTest, ThumbnailPixelsAreTheRoundedAverageOfTheirBlock) {
  struct Case {
    int width, height, side, thumbWidth, thumbHeight;
  };
  // Shrinking by whole and by uneven blocks, a row wider than a piece of the summing loop, a
  // picture smaller than its tile (blocks of one pixel, repeated) and one of a single row.
  for (const Case& c : {Case{481, 319, 240, 240, 159}, Case{97, 200, 40, 19, 40}, Case{30, 20, 240, 240, 160},
                        Case{300, 1, 50, 50, 1}, Case{7, 700, 240, 2, 240}}) {
    const Image image = Patch(c.width, c.height);
    const Image expected = ThumbnailByPixel(image, c.thumbWidth, c.thumbHeight);
    EXPECT_EQ(Thumbnail(image, c.side).rgb, expected.rgb) << c.width << " x " << c.height;
    EXPECT_EQ(Thumbnail(image, c.side, ScrambledRows()).rgb, expected.rgb) << c.width << " x " << c.height;
  }
}

TEST(PixelWorkTest, EveryAdjustmentIsTheSameWhateverTheBands) {
  ColorBalanceEvent balance;
  balance.midtones[1] = -40;
  const std::vector<AdjustmentEvent> events = {balance,
                                               BrightnessContrastEvent{10, -30, false},
                                               HueSaturationEvent{40, 20, -10, false},
                                               HueSaturationEvent{200, 50, 5, true},
                                               PhotoFilterEvent{},
                                               LevelsEvent{{{ChannelTarget::Green, 10, 240, 1.3, 0, 255}}},
                                               CurvesEvent{{{ChannelTarget::Composite,
                                                             {{0, 20}, {128, 160}, {255, 240}}}}},
                                               ExposureEvent{0.5, 0.01, 1.1},
                                               VibranceEvent{25, 10}};
  Selection selection;
  selection.Resize(97, 61);
  for (const AdjustmentEvent& event : events) {
    for (const std::vector<Point>& polygon : Polygons()) {
      selection.SetPolygon(polygon, true);
      Image serial = Patch(97, 61), banded = Patch(97, 61);
      Apply(event, selection, serial);
      Apply(event, selection, banded, ScrambledRows());
      ASSERT_EQ(banded.rgb, serial.rgb) << EventName(event);
      if (&polygon == &Polygons().front()) {
        ASSERT_NE(serial.rgb, Patch(97, 61).rgb) << EventName(event);
      }
    }
  }
}

}  // namespace
