// Whole runs through the entry point, compared event by event with the host's canonical log.
#include <gtest/gtest.h>

#include <map>

#include "host/Keys.h"
#include "host/ResultCodes.h"
#include "tests/support/ExpectedEvents.h"
#include "tests/support/PluginFixture.h"
#include "variations/SplitRegion.h"
#include "variations/VariationRun.h"

using hostsim::Op;
using Lines = std::vector<std::string>;

namespace {

const Lines kNames = {"red_plus",       "red_minus",       "green_plus",      "green_minus",      "blue_plus",
                      "blue_minus",     "contrast_plus",   "contrast_minus",  "brightness_plus",  "brightness_minus",
                      "sat_plus",       "sat_minus",       "warm_plus",       "warm_minus",       "extra1_plus",
                      "extra1_minus",   "extra2_plus",     "extra2_minus"};

// The regions of the worked example, W = 1000 and H = 800.
const Lines kLeftQuarter = {expected::Polygon({{"0", "0"}, {"500", "400"}, {"0", "800"}, {"0", "0"}})};
const Lines kRightQuarter = {expected::Polygon({{"1000", "0"}, {"500", "400"}, {"1000", "800"}, {"1000", "0"}})};
const std::map<int, Lines> kRegions1000x800 = {
    {1, {expected::Polygon({{"0", "0"}, {"1000", "800"}, {"0", "800"}, {"0", "0"}})}},
    {2, {expected::Rectangle("0", "0", "800", "500")}},
    {3, {expected::Rectangle("0", "0", "400", "1000")}},
    {4, {expected::Rectangle("0", "0", "800", "250"), expected::AddRectangle("0", "500", "800", "750")}},
    {5,
     {expected::Rectangle("0", "0", "800", "125"), expected::AddRectangle("0", "250", "800", "375"),
      expected::AddRectangle("0", "500", "800", "625"), expected::AddRectangle("0", "750", "800", "875")}},
    {6, kLeftQuarter},
    {7, kRightQuarter},
};

class VariationRunTest : public PluginFixture {
 protected:
  int32_t RunMode(int32_t mode) {
    parameters.descriptor = sim.NewModeDescriptor(mode);
    return DoIt();
  }

  // One region step of a W × H document: the queries, the clearing, the region's events.
  static Lines Step(int width, int height, const Lines& region) {
    Lines lines = {expected::SizeQuery("docH", height), expected::SizeQuery("docW", width), expected::Deselect()};
    lines.insert(lines.end(), region.begin(), region.end());
    return lines;
  }

  // The first region step of the log: everything before the first play, after the question
  // whether the set is loaded, the queries and the clearing.
  Lines FirstRegion() const {
    Lines lines;
    for (const std::string& line : sim.log()) {
      if (line.rfind("Ply", 0) == 0) break;
      lines.push_back(line);
    }
    return Lines(lines.begin() + 4, lines.end());
  }

  int Plays() const {
    int plays = 0;
    for (const std::string& line : sim.log()) plays += line.rfind("Ply", 0) == 0 ? 1 : 0;
    return plays;
  }
};

TEST_F(VariationRunTest, WholeRunOfEveryModeMatchesTheWorkedExample) {
  for (int mode = 1; mode <= 7; ++mode) {
    SCOPED_TRACE("mode " + std::to_string(mode));
    Lines want = {expected::SetFound()};
    for (size_t i = 0; i < kNames.size(); ++i) {
      const bool minus = i % 2 == 1;
      const Lines& region = (mode == 6 && minus) ? kRightQuarter : kRegions1000x800.at(mode);
      Lines step = Step(1000, 800, region);
      want.insert(want.end(), step.begin(), step.end());
      want.push_back(expected::Play(kNames[i]));
    }
    want.push_back(expected::Deselect());

    sim.ClearLog();
    EXPECT_EQ(RunMode(mode), 0);
    EXPECT_EQ(sim.log(), want);
    EXPECT_EQ(WrittenDescriptor(), "Cnt=" + std::to_string(mode));
    sim.FreeDescriptor(parameters.descriptor);
    parameters.descriptor = nullptr;
  }
}

TEST_F(VariationRunTest, SmallCanvasTruncatesRectanglesButNotPolygons) {
  sim.document.width = 10;
  sim.document.height = 7;
  const std::map<int, Lines> regions = {
      {2, {expected::Rectangle("0", "0", "7", "5")}},
      {3, {expected::Rectangle("0", "0", "3", "10")}},
      {4, {expected::Rectangle("0", "0", "7", "2"), expected::AddRectangle("0", "5", "7", "8")}},
      {5,
       {expected::Rectangle("0", "0", "7", "1"), expected::AddRectangle("0", "2", "7", "3"),
        expected::AddRectangle("0", "5", "7", "6"), expected::AddRectangle("0", "7", "7", "8")}},
      {6, {expected::Polygon({{"0", "0"}, {"5", "3.5"}, {"0", "7"}, {"0", "0"}})}},
  };
  for (const auto& region : regions) {
    SCOPED_TRACE("mode " + std::to_string(region.first));
    sim.ClearLog();
    EXPECT_EQ(RunMode(region.first), 0);
    EXPECT_EQ(FirstRegion(), region.second);
    sim.FreeDescriptor(parameters.descriptor);
    parameters.descriptor = nullptr;
  }
}

TEST_F(VariationRunTest, NarrowCanvasStillSendsTheEmptyFirstStrip) {
  sim.document.width = 3;
  EXPECT_EQ(RunMode(4), 0);
  EXPECT_EQ(FirstRegion(), (Lines{expected::Rectangle("0", "0", "800", "0"), expected::AddRectangle("0", "1", "800", "3")}));
}

TEST_F(VariationRunTest, OddWidthKeepsTheHalfInPolygons) {
  sim.document.width = 1001;
  EXPECT_EQ(RunMode(6), 0);
  EXPECT_EQ(FirstRegion(), (Lines{expected::Polygon({{"0", "0"}, {"500.5", "400"}, {"0", "800"}, {"0", "0"}})}));
  sim.FreeDescriptor(parameters.descriptor);
  parameters.descriptor = nullptr;

  sim.ClearLog();
  EXPECT_EQ(RunMode(7), 0);
  EXPECT_EQ(FirstRegion(),
            (Lines{expected::Polygon({{"1001", "0"}, {"500.5", "400"}, {"1001", "800"}, {"1001", "0"}})}));
}

TEST_F(VariationRunTest, ModeOutsideTheTableOnlyClearsAndStillPlaysEverything) {
  for (int mode : {0, 9}) {
    sim.ClearLog();
    EXPECT_EQ(RunMode(mode), 0);
    Lines want = {expected::SetFound()};
    for (const std::string& name : kNames) {
      Lines step = Step(1000, 800, {});
      want.insert(want.end(), step.begin(), step.end());
      want.push_back(expected::Play(name));
    }
    want.push_back(expected::Deselect());
    EXPECT_EQ(sim.log(), want);
    EXPECT_EQ(WrittenDescriptor(), "Cnt=" + std::to_string(mode)) << "written back unchanged";
    sim.FreeDescriptor(parameters.descriptor);
    parameters.descriptor = nullptr;
  }
}

TEST_F(VariationRunTest, EveryStepMeasuresTheDocumentAnew) {
  sim.afterPlay = [this](const std::string& event) {
    if (event == expected::Play("red_plus")) sim.document.width = 400;
  };
  EXPECT_EQ(RunMode(2), 0);
  int rectangles500 = 0, rectangles200 = 0;
  for (const std::string& line : sim.log()) {
    rectangles500 += line == expected::Rectangle("0", "0", "800", "500") ? 1 : 0;
    rectangles200 += line == expected::Rectangle("0", "0", "800", "200") ? 1 : 0;
  }
  EXPECT_EQ(rectangles500, 1);
  EXPECT_EQ(rectangles200, 17);
}

TEST_F(VariationRunTest, FailedWidthQueryInTheFirstStepPlaysNothing) {
  sim.document.widthKnown = false;
  EXPECT_EQ(RunMode(1), host::kPropertyUndefined);
  EXPECT_EQ(sim.log(), (Lines{expected::SetFound(), "get docH -> 800", "get docW -> error -30901"}));
  EXPECT_EQ(WrittenDescriptor(), "Cnt=1") << "the host's descriptor is left alone";
  EXPECT_EQ(zem::RunStatus, 0) << "reset for the next call";
}

TEST_F(VariationRunTest, FailedHeightQueryUsesThePresetHeight) {
  sim.document.heightKnown = false;
  EXPECT_EQ(RunMode(2), 0);
  EXPECT_EQ(FirstRegion(), (Lines{expected::Rectangle("0", "0", "10000", "500")}));
}

TEST_F(VariationRunTest, FailedClearingEndsTheStepBeforeAnyRegion) {
  sim.faults.FailOperation(Op::Play, 1, -30);
  EXPECT_EQ(RunMode(2), -30);
  EXPECT_EQ(sim.log(), (Lines{expected::SetFound(), "get docH -> 800", "get docW -> 1000"}));
}

TEST_F(VariationRunTest, FailedAddedStripStopsTheLaterStrips) {
  // Plays of the first step in mode 5: clearing, first strip, then the added strips.
  sim.faults.FailOperation(Op::Play, 4, -31);
  EXPECT_EQ(RunMode(5), -31);
  EXPECT_EQ(sim.log(), (Lines{expected::SetFound(), "get docH -> 800", "get docW -> 1000", expected::Deselect(),
                              expected::Rectangle("0", "0", "800", "125"),
                              expected::AddRectangle("0", "250", "800", "375")}));
}

TEST_F(VariationRunTest, MissingActionStopsTheRunAndIsReported) {
  sim.actionSet.actions.erase(sim.actionSet.actions.begin() + 3);  // "green_minus"
  EXPECT_EQ(RunMode(3), host::kErrNoSuchObject);
  EXPECT_EQ(Plays(), 4);
  EXPECT_EQ(sim.log().back(), expected::Play("green_minus") + " -> " + std::to_string(host::kErrNoSuchObject));
  EXPECT_EQ(WrittenDescriptor(), "Cnt=3") << "a failed run records nothing";
}

TEST_F(VariationRunTest, WrongSetNameIsAMissingAction) {
  sim.actionSet.name = "Default Actions";
  EXPECT_EQ(RunMode(1), host::kErrNoSuchObject);
  EXPECT_EQ(Plays(), 1);
}

TEST_F(VariationRunTest, FailedFinalClearingIsIgnored) {
  // 18 region steps clear once each, mode 2 adds one rectangle, and each step plays one action.
  sim.faults.FailOperation(Op::Play, 18 * 3 + 1, -32);
  EXPECT_EQ(RunMode(2), 0);
  EXPECT_EQ(WrittenDescriptor(), "Cnt=2");
  EXPECT_EQ(sim.faults.Fired(), 1);
}

TEST_F(VariationRunTest, PlusAndMinusModes) {
  for (int mode : {-1, 0, 1, 2, 3, 4, 5, 7, 8}) EXPECT_EQ(zem::MinusModeFor(mode), mode);
  EXPECT_EQ(zem::MinusModeFor(6), 7);
}

TEST_F(VariationRunTest, EachOperationFreesWhatItMadeInTheHostsOrder) {
  EnterCall();
  sim.ClearLog();
  EXPECT_EQ(zem::SelectDiagonalHalf(4, 2), 0);
  // Made: event, reference, polygon, list, four points, then the play's result. Handles grow with
  // each object, so the order of frees shows in the order of the handles freed.
  EXPECT_EQ(sim.objects.Made(hostsim::ObjectKind::Descriptor), 7);
  EXPECT_EQ(sim.objects.Live(), 0);
  EXPECT_EQ(sim.objects.FreeOrder(), (std::vector<int>{9, 1, 2, 3, 4, 5, 6, 7, 8}));
  zem::ReleaseHostSuites();
}

}  // namespace
