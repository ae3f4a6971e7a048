// The action sets saved by Photoshop in the shared test data, played on a small photo-like image:
// the two the layered document models whole play every step; the others play with --skip-unknown,
// each skipped step named with its offset.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "actions/BinaryFormat.h"
#include "document/preview/SetPlayer.h"
#include "refhost/PreviewRun.h"

#include <filesystem>
#include <sstream>

namespace zem::document {
namespace {

using zem::actions::ActionSet;

bool ReadSet(const std::string& name, ActionSet& set) {
  std::ifstream in(std::string(ZEM_TESTDATA_DIR) + "/photoshop-written/" + name, std::ios::binary);
  if (!in) return false;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  zem::actions::ReadError error;
  EXPECT_TRUE(zem::actions::ReadActionFile(bytes.data(), bytes.size(), set, error)) << error.message;
  return true;
}

hostsim::Image Gradient(int width, int height) {
  hostsim::Image image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = image.At(x, y);
      p[0] = uint8_t(x * 255 / (width - 1)), p[1] = uint8_t(y * 255 / (height - 1)), p[2] = uint8_t((x + y) * 2);
    }
  }
  return image;
}

std::vector<ActionRecord> Play(const ActionSet& set, bool skipUnknown, std::vector<hostsim::Image>* results = nullptr) {
  std::vector<ActionRecord> records;
  std::string error;
  PlayOptions options;
  options.skipUnknown = skipUnknown;
  EXPECT_TRUE(PlaySet(set, Gradient(48, 32), options, [&](const ActionRecord& record, const hostsim::Image& result) {
    records.push_back(record);
    if (results != nullptr) results->push_back(result);
  }, error)) << error;
  return records;
}

std::string Describe(const std::vector<ActionRecord>& records) {
  std::string text;
  for (const ActionRecord& record : records) {
    for (const StepRecord& step : record.steps) {
      text += record.name + " #" + std::to_string(step.index) + " " + step.event + " @" + std::to_string(step.offset) +
              ": " + step.result + "\n";
    }
  }
  return text;
}

TEST(PhotoshopSets, EveryStepOfTheModelledSetsPlays) {
  for (const char* name : {"Bjango Adjustment Actions.atn", "Cross Processing.atn"}) {
    ActionSet set;
    if (!ReadSet(name, set)) GTEST_SKIP() << "the Photoshop-written files are not in ../shared/testdata on this machine";
    const std::vector<ActionRecord> records = Play(set, false);
    EXPECT_EQ(OutcomeOf(records), SetOutcome::AllPlayed) << name << "\n" << Describe(records);
    EXPECT_EQ(records.size(), set.actions.size());
  }
}

TEST(PhotoshopSets, TheOthersPreviewWithEachSkippedStepNamed) {
  for (const char* name : {"Bjango Scale Actions.atn", "Signynt PS Dust Removal Macro.atn", "Trimmer.atn", "Web Export.atn"}) {
    ActionSet set;
    if (!ReadSet(name, set)) GTEST_SKIP() << "the Photoshop-written files are not in ../shared/testdata on this machine";
    const std::vector<ActionRecord> records = Play(set, true);
    EXPECT_NE(OutcomeOf(records), SetOutcome::Refused) << name;
    for (const ActionRecord& record : records) {
      for (const StepRecord& step : record.steps) {
        if (step.result.rfind("skipped: ", 0) == 0) {
          EXPECT_GT(step.offset, 0u) << name;
          EXPECT_GT(step.result.size(), 10u) << name;
        }
      }
    }
    std::printf("%s\n%s", name, Describe(records).c_str());
  }
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(PhotoshopSets, ThePreviewWritesASheetAPictureAnActionAndTheReport) {
  ActionSet set;
  if (!ReadSet("Cross Processing.atn", set)) GTEST_SKIP() << "the Photoshop-written files are not in ../shared/testdata on this machine";
  const std::string folder = (std::filesystem::temp_directory_path() / "zem-preview-test").string();
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  std::ostringstream out, progress, err;
  EXPECT_EQ(PreviewActionSet(set, "Cross Processing.atn", Gradient(40, 30), folder, PlayOptions(), hostsim::SerialRows(),
                             out, progress, err),
            kEveryStepPlayed)
      << out.str() << err.str();
  EXPECT_TRUE(std::filesystem::exists(folder + "/contact-sheet.png"));
  EXPECT_TRUE(std::filesystem::exists(folder + "/01-Cross Process 1 (Dark).png"));
  EXPECT_TRUE(std::filesystem::exists(folder + "/02-Cross Process 2.png"));
  const std::string report = ReadAll(folder + "/report.json");
  // The first step of the first action starts right after the set's and the action's headers.
  EXPECT_NE(report.find("{\"index\": 1, \"event\": \"make\", \"offset\": " + std::to_string(set.actions[0].events[0].offset) +
                        ", \"result\": \"played\"}"),
            std::string::npos)
      << report;
  EXPECT_TRUE(progress.str().empty());  // two actions: no progress lines

  // One action of a set with a step that is not modelled: refused, or played with it skipped.
  ActionSet trimmer;
  ASSERT_TRUE(ReadSet("Trimmer.atn", trimmer));
  PlayOptions one;
  one.only = "Trimmer 10%";
  EXPECT_EQ(PreviewActionSet(trimmer, "Trimmer.atn", Gradient(40, 30), folder, one, hostsim::SerialRows(), out, progress, err),
            kStepsRefused);
  one.skipUnknown = true;
  EXPECT_EQ(PreviewActionSet(trimmer, "Trimmer.atn", Gradient(40, 30), folder, one, hostsim::SerialRows(), out, progress, err),
            kPlayedWithSkips);
  one.only = "no such action";
  EXPECT_EQ(PreviewActionSet(trimmer, "Trimmer.atn", Gradient(40, 30), folder, one, hostsim::SerialRows(), out, progress, err),
            kPreviewFailed);
  std::filesystem::remove_all(folder);
}

// The action player's fuzz seed holds a step of most kinds the document models: each plays.
TEST(PhotoshopSets, TheFuzzSeedOfLayeredStepsPlaysEveryStep) {
  std::ifstream in(std::string(ZEM_FUZZ_SEEDS) + "/action_play/layered-steps.atn", std::ios::binary);
  ASSERT_TRUE(in);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ActionSet set;
  zem::actions::ReadError error;
  ASSERT_TRUE(zem::actions::ReadActionFile(bytes.data(), bytes.size(), set, error)) << error.message;
  std::vector<hostsim::Image> results;
  const std::vector<ActionRecord> records = Play(set, false, &results);
  EXPECT_EQ(OutcomeOf(records), SetOutcome::AllPlayed) << Describe(records);
  ASSERT_EQ(results.size(), 2u);
  // 48 x 32 at half size is 24 x 16; 4 and 2 more, turned: 18 x 28 before the trim.
  EXPECT_LE(results[1].width, 18);
  EXPECT_LE(results[1].height, 28);
}

TEST(PhotoshopSets, PictureNamesHoldNoCharacterWindowsRefuses) {
  EXPECT_EQ(PictureName(3, "a/b:c*?\"<>|d."), "03-a_b_c______d_.png");
  EXPECT_EQ(PictureName(12, "Scale by 50%  (2× to 1×)"), "12-Scale by 50%  (2× to 1×).png");
}

}  // namespace
}  // namespace zem::document
