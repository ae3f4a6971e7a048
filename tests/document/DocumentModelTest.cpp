// The host model's document: selections made by the plug-in's real events, the built-in action
// set, images and the contact sheet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "actions/BinaryFormat.h"
#include "actions/TextForm.h"
#include "document/Canvas.h"
#include "document/PlayableActions.h"
#include "host/ResultCodes.h"
#include "hostsim/DefaultActionSet.h"
#include "imaging/Image.h"
#include "imaging/PngWriter.h"
#include "refhost/ContactSheet.h"
#include "tests/support/ExpectedEvents.h"
#include "tests/support/PluginFixture.h"

namespace {

using hostsim::Canvas;
using hostsim::Image;

hostsim::PlayableSet DefaultActions() {
  hostsim::PlayableSet set;
  std::string error;
  const std::vector<uint8_t>& bytes = hostsim::DefaultActionSetBytes();
  EXPECT_TRUE(hostsim::LoadPlayableSet(bytes.data(), bytes.size(), "built-in", "ZEM_Variations", set, error)) << error;
  return set;
}

// A whole run on a small grey document, with the selection of every play kept.
class SelectionMaskTest : public PluginFixture {
 protected:
  struct Played {
    std::string action;
    bool selected;
    int pixels;  // at least half covered
    double area;
    hostsim::Selection selection;
  };

  std::vector<Played> Run(int width, int height, int32_t mode) {
    Canvas canvas(Image(width, height, 100), DefaultActions(), 8);
    sim.canvas = &canvas;
    sim.document.width = width;
    sim.document.height = height;
    std::vector<Played> played;
    sim.afterPlay = [&](const std::string& event) {
      if (event.rfind("Ply ", 0) != 0) return;
      const hostsim::Selection& s = canvas.selection();
      played.push_back({canvas.tiles().back().label, s.active(), s.SelectedPixels(), s.Area(), s});
    };
    if (parameters.descriptor != nullptr) sim.FreeDescriptor(parameters.descriptor);
    parameters.descriptor = sim.NewModeDescriptor(mode);
    EXPECT_EQ(DoIt(), 0);
    sim.canvas = nullptr;
    EXPECT_FALSE(canvas.selection().active()) << "the run ends with nothing selected";
    return played;
  }
};

TEST_F(SelectionMaskTest, RectangleModesCoverTheirStripsExactly) {
  struct Case {
    int32_t mode;
    int width, height;
    std::vector<std::pair<int, int>> columns;  // selected [from, to), over the rows below
    int rows;
  };
  const Case cases[] = {
      {2, 40, 24, {{0, 20}}, 24},
      {3, 40, 24, {{0, 40}}, 12},
      {4, 40, 24, {{0, 10}, {20, 30}}, 24},
      {5, 40, 24, {{0, 5}, {10, 15}, {20, 25}, {30, 35}}, 24},
      {4, 10, 7, {{0, 2}, {5, 8}}, 7},  // W - W/4 = 8, not 3W/4 = 7
      {5, 10, 7, {{0, 1}, {2, 3}, {5, 6}, {7, 8}}, 7},
  };
  for (const Case& c : cases) {
    const std::vector<Played> played = Run(c.width, c.height, c.mode);
    ASSERT_EQ(played.size(), 18u) << "mode " << c.mode;
    std::vector<float> expected(static_cast<size_t>(c.width) * c.height, 0.0f);
    int pixels = 0;
    for (auto [from, to] : c.columns) {
      for (int y = 0; y < c.rows; ++y) {
        for (int x = from; x < to; ++x, ++pixels) expected[static_cast<size_t>(y) * c.width + x] = 1.0f;
      }
    }
    for (const Played& p : played) {
      std::vector<float> mask;
      for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) mask.push_back(p.selection.At(x, y));
      }
      EXPECT_EQ(mask, expected) << "mode " << c.mode << " W " << c.width << " " << p.action;
      EXPECT_EQ(p.pixels, pixels);
    }
  }
}

// Documents narrow (or low) enough that a strip of the mode has no width: that strip is left out,
// and where every strip has none the actions apply to the whole image, as with no selection.
TEST_F(SelectionMaskTest, StripsOfNoWidthAreNoSelection) {
  const std::vector<Played> narrow = Run(7, 3, 5);
  ASSERT_EQ(narrow.size(), 18u);
  for (const Played& p : narrow) {
    ASSERT_TRUE(p.selected) << p.action;
    for (int x = 0; x < 7; ++x) {
      EXPECT_EQ(p.selection.At(x, 1), x % 2 == 1 ? 1.0f : 0.0f) << "column " << x << ", " << p.action;
    }
  }
  struct Case {
    int32_t mode;
    int width, height;
  };
  for (const Case c : {Case{5, 1, 4}, Case{5, 2, 4}, Case{5, 4, 4}, Case{2, 1, 4}, Case{3, 4, 1}}) {
    const std::vector<Played> played = Run(c.width, c.height, c.mode);
    ASSERT_EQ(played.size(), 18u);
    for (const Played& p : played) {
      EXPECT_FALSE(p.selected) << "mode " << c.mode << ", " << c.width << " x " << c.height << ", " << p.action;
    }
  }
  const std::vector<Played> quarter = Run(1, 4, 4);
  ASSERT_EQ(quarter.size(), 18u);
  EXPECT_TRUE(quarter[0].selected) << "mode 4 adds a strip of width 1 to its empty first one";
  EXPECT_EQ(quarter[0].pixels, 4);
}

TEST_F(SelectionMaskTest, TriangleModesAreAntiAliasedHalvesAndQuarters) {
  const std::vector<Played> diagonal = Run(40, 24, 1);
  ASSERT_EQ(diagonal.size(), 18u);
  EXPECT_NEAR(diagonal[0].area, 40 * 24 / 2.0, 1.0);
  EXPECT_EQ(diagonal[0].selection.At(1, 22), 1.0f) << "below the diagonal";
  EXPECT_EQ(diagonal[0].selection.At(38, 1), 0.0f);
  int partly = 0;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 40; ++x) {
      const float c = diagonal[0].selection.At(x, y);
      partly += c > 0 && c < 1;
    }
  }
  EXPECT_GT(partly, 24) << "the edge is anti-aliased";

  const std::vector<Played> quarters = Run(40, 24, 6);
  ASSERT_EQ(quarters.size(), 18u);
  for (size_t i = 0; i < quarters.size(); ++i) {
    const bool plus = i % 2 == 0;
    EXPECT_NEAR(quarters[i].area, 40 * 24 / 4.0, 1.0) << quarters[i].action;
    EXPECT_EQ(quarters[i].selection.At(plus ? 1 : 38, 12), 1.0f) << quarters[i].action;
    EXPECT_EQ(quarters[i].selection.At(plus ? 38 : 1, 12), 0.0f) << quarters[i].action;
  }
}

TEST_F(SelectionMaskTest, WithoutARegionEachActionAppliesToTheWholeDocument) {
  const std::vector<Played> played = Run(12, 6, 0);
  ASSERT_EQ(played.size(), 18u);
  for (const Played& p : played) EXPECT_FALSE(p.selected) << p.action;
  hostsim::Selection none;
  none.Resize(4, 4);
  EXPECT_EQ(none.At(3, 3), 1.0f);
}

TEST(BuiltInActionSetTest, HoldsTheEighteenActionsInOrder) {
  const hostsim::PlayableSet set = DefaultActions();
  EXPECT_EQ(set.name, "ZEM_Variations");
  std::vector<std::string> names;
  for (const auto& action : set.actions) {
    names.push_back(action.name);
    EXPECT_EQ(action.events.size(), 1u) << action.name;
  }
  EXPECT_EQ(names, hostsim::DefaultVariationActions());
  EXPECT_EQ(set.Find("red_plus")->label, "Color Balance +20 red");
  EXPECT_EQ(set.Find("warm_minus")->label, "Photo Filter cool 25%");
  EXPECT_EQ(set.Find("extra1_minus")->label, "Levels gamma 0.83");
}

TEST(ImageFileTest, PngRoundTripAndRefusals) {
  const std::string folder = ::testing::TempDir();
  Image image = hostsim::BuiltInImage();
  ASSERT_TRUE(hostsim::SavePng(image, folder + "zem-roundtrip.png"));
  Image back;
  std::string error;
  ASSERT_TRUE(hostsim::LoadImageFile(folder + "zem-roundtrip.png", back, error)) << error;
  EXPECT_EQ(back.width, 480);
  EXPECT_EQ(back.height, 320);
  EXPECT_EQ(back.rgb, image.rgb);

  Image untouched(1, 1, 7);
  EXPECT_FALSE(hostsim::LoadImageFile(folder + "zem-no-such.png", untouched, error));
  EXPECT_EQ(error, "cannot open image " + folder + "zem-no-such.png");
  std::ofstream(folder + "zem-garbage.png") << "not an image";
  EXPECT_FALSE(hostsim::LoadImageFile(folder + "zem-garbage.png", untouched, error));
  EXPECT_EQ(error.rfind("cannot read image", 0), 0u) << error;
  ASSERT_TRUE(hostsim::SavePng(Image(hostsim::kMaxImageSide + 1, 1), folder + "zem-wide.png"));
  EXPECT_FALSE(hostsim::LoadImageFile(folder + "zem-wide.png", untouched, error));
  EXPECT_NE(error.find("too large: 16385 x 1"), std::string::npos) << error;
  EXPECT_EQ(untouched.rgb, std::vector<uint8_t>(3, 7));
}

TEST(ContactSheetTest, TilesInRowsOfFiveWithTheActionAndWhatItDid) {
  std::vector<hostsim::Tile> tiles(19, {"x", "Color Balance +20 red", Image(hostsim::kTileWidth, 100, 200)});
  const Image sheet = hostsim::ContactSheet("title", tiles);
  EXPECT_EQ(sheet.width, 10 + 5 * (hostsim::kTileWidth + 10));
  EXPECT_EQ(sheet.height, 34 + 4 * (100 + 36 + 10));
  EXPECT_EQ(sheet.At(10, 34)[0], 200) << "first tile";
  EXPECT_EQ(sheet.At(10 + 4 * 250, 34 + 3 * 146)[0], 40) << "the twentieth place is empty";
  auto ink = [&](int top, int bottom, int right) {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = 10; x < right; ++x) count += sheet.At(x, y)[0] > 200;
    }
    return count;
  };
  EXPECT_GT(ink(34 + 100, 34 + 122, 40), 10) << "the action's name under the first tile";
  EXPECT_GT(ink(34 + 122, 34 + 136, 10 + 120), 40) << "what it did, below the name";
}

// Pictures fit a square tile whatever the image's proportions: a tall, narrow photo must not make
// a tile (and a contact sheet) thousands of pixels high.
TEST(ContactSheetTest, TextOutsideTheFontIsDrawnAsQuestionMarks) {
  const uint8_t ink[3] = {255, 255, 255};
  Image drawn(60, 20), expected(60, 20);
  hostsim::DrawText(drawn, 1, 1, u8"a\u00C4\tb", 1, ink);  // "aÄ", a tab, "b": four bytes outside the font
  hostsim::DrawText(expected, 1, 1, "a???b", 1, ink);
  EXPECT_EQ(drawn.rgb, expected.rgb);
  EXPECT_NE(drawn.rgb, Image(60, 20).rgb);
}

TEST(ContactSheetTest, ThumbnailsFitASquareTile) {
  struct Case {
    int width, height, tileWidth, tileHeight;
  };
  const Case cases[] = {{480, 320, 240, 160}, {2, 2000, 1, 240}, {1, 16384, 1, 240}, {16384, 1, 240, 1},
                        {300, 300, 240, 240}, {1, 1, 240, 240},  {100, 900, 26, 240}};
  for (const Case& c : cases) {
    const Image tile = hostsim::Thumbnail(Image(c.width, c.height, 90), hostsim::kTileWidth);
    EXPECT_EQ(tile.width, c.tileWidth) << c.width << " x " << c.height;
    EXPECT_EQ(tile.height, c.tileHeight) << c.width << " x " << c.height;
    EXPECT_EQ(tile.At(tile.width - 1, tile.height - 1)[0], 90);
  }
}

TEST_F(SelectionMaskTest, ATallNarrowDocumentRunsWithBoundedTiles) {
  Canvas canvas(Image(2, 2000, 100), DefaultActions(), hostsim::kTileWidth);
  sim.canvas = &canvas;
  sim.document.width = 2;
  sim.document.height = 2000;
  EXPECT_EQ(DoIt(), 0);
  sim.canvas = nullptr;
  ASSERT_EQ(canvas.tiles().size(), 19u);
  for (const hostsim::Tile& tile : canvas.tiles()) {
    EXPECT_LE(tile.picture.width, hostsim::kTileWidth) << tile.label;
    EXPECT_LE(tile.picture.height, hostsim::kTileWidth) << tile.label;
  }
  // Four rows of square tiles, each under a two-line label, below the title.
  EXPECT_LE(hostsim::ContactSheet("tall", canvas.tiles()).height, 34 + 4 * (hostsim::kTileWidth + 36 + 10));
}

// A set of the given name holding one Color Balance action, "red_plus".
hostsim::PlayableSet RedPlusOnly(const std::string& setName) {
  zem::actions::ActionSet file;
  zem::actions::TextError textError;
  EXPECT_TRUE(zem::actions::ReadActionText(
      "set \"" + setName + "\"\naction \"red_plus\"\n  event colorBalance \"Color Balance\" 'ClrB' {}\n", file,
      textError))
      << textError.message;
  const std::vector<uint8_t> bytes = zem::actions::WriteActionFile(file);
  hostsim::PlayableSet set;
  std::string error;
  EXPECT_TRUE(hostsim::LoadPlayableSet(bytes.data(), bytes.size(), "test", setName, set, error)) << error;
  return set;
}

// With a document, its set is the one record of which actions exist: the host's own list of names
// is not consulted, and a play finds its action by set and name in the document's set.
TEST_F(SelectionMaskTest, PlaysFindTheirActionInTheDocumentsSetOnly) {
  sim.actionSet.actions.clear();
  for (const char* setName : {"ZEM_Variations", "Other"}) {
    SCOPED_TRACE(setName);
    sim.ClearLog();
    Canvas canvas(Image(8, 8, 100), RedPlusOnly(setName), 8);
    sim.canvas = &canvas;
    const bool sameSet = std::string(setName) == "ZEM_Variations";
    EXPECT_EQ(DoIt(), host::kErrNoSuchObject);
    sim.canvas = nullptr;
    ASSERT_EQ(canvas.tiles().size(), sameSet ? 2u : 1u) << "the original, then red_plus when the set is the plug-in's";
    const std::string missing = sameSet ? "red_minus" : "red_plus";
    // The failed first play may be followed by the plug-in's look for the set; the last play failed.
    const std::vector<std::string>& log = sim.log();
    const auto lastPlay =
        std::find_if(log.rbegin(), log.rend(), [](const std::string& line) { return line.rfind("Ply ", 0) == 0; });
    ASSERT_NE(lastPlay, log.rend());
    EXPECT_EQ(*lastPlay, expected::Play(missing) + " -> " + std::to_string(host::kErrNoSuchObject));
  }
}

}  // namespace
