// A fresh Photoshop without the action set: the plug-in asks for the set before the run, loads the
// file beside its module outside the suspended history once, and runs; whatever Get answers for a
// missing set, whichever handle suite the host serves. Without the file, or when the host cannot
// load, the run ends as it always has, with nothing left behind and never a second copy.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "host/HandleSuite.h"
#include "host/ResultCodes.h"
#include "hostsim/DefaultActionSet.h"
#include "platform/ModuleFolder.h"
#include "tests/support/FaultSweep.h"
#include "tests/support/PluginFixture.h"
#include "variations/ActionSetLoader.h"

using hostsim::Op;
using Lines = std::vector<std::string>;

namespace {

namespace fs = std::filesystem;

class ActionSetLoadTest : public PluginFixture {
 protected:
  void SetUp() override {
    PluginFixture::SetUp();
    folder_ = fs::temp_directory_path() / ("zem-module-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                           "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
    folderText_ = folder_.string() + "/";
    zem::ModuleFolderOverride = folderText_.c_str();
    sim.hasActionSet = false;
  }

  void TearDown() override {
    zem::ModuleFolderOverride = nullptr;
    fs::remove_all(folder_);
    PluginFixture::TearDown();
  }

  void PutFile(const std::vector<uint8_t>& bytes) {
    std::ofstream file(folder_ / zem::kActionSetFileName, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  void PutShippedFile() { PutFile(hostsim::DefaultActionSetBytes()); }

  int32_t RunMode(int32_t mode) {
    if (parameters.descriptor != nullptr) sim.FreeDescriptor(parameters.descriptor);
    parameters.descriptor = sim.NewModeDescriptor(mode);
    return DoIt();
  }

  int Count(const std::string& prefix) const {
    int count = 0;
    for (const std::string& line : sim.log()) count += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
  }

  std::string FilePath() const { return folderText_ + zem::kActionSetFileName; }

  fs::path folder_;
  std::string folderText_;
};

TEST_F(ActionSetLoadTest, FreshHostLoadsTheFileBesideTheModuleOnceThenRunsEverything) {
  PutShippedFile();
  EXPECT_EQ(RunMode(1), 0);
  ASSERT_EQ(sim.loadedSets.size(), 1u);
  EXPECT_EQ(sim.loadedSets[0].name, "ZEM_Variations");
  ASSERT_GE(sim.log().size(), 2u);
  EXPECT_EQ(sim.log()[0], "get [ASet=\"ZEM_Variations\"] -> " + std::to_string(host::kErrNoSuchObject));
  EXPECT_EQ(sim.log()[1], "Opn null=alias(" + FilePath() + ")") << "loaded before the run";
  EXPECT_EQ(Count("Ply "), 18) << "no failed play";
  EXPECT_EQ(sim.history(), Lines(1, "ZEM_Variations"));
  EXPECT_EQ(WrittenDescriptor(), "Cnt=1");
  EXPECT_EQ(sim.objects.Made(hostsim::ObjectKind::Handle), 1);
  EXPECT_EQ(sim.objects.Freed(hostsim::ObjectKind::Handle), 1);

  // With the set loaded, the next run finds it and loads nothing.
  sim.ClearLog();
  EXPECT_EQ(RunMode(2), 0);
  EXPECT_EQ(sim.loadedSets.size(), 1u);
  EXPECT_EQ(Count("get [ASet=\"ZEM_Variations\"] -> found"), 1);
  EXPECT_EQ(Count("Opn "), 0);
  EXPECT_EQ(Count("Ply "), 18);
}

TEST_F(ActionSetLoadTest, WithoutTheFileTheRunEndsAsBefore) {
  EXPECT_EQ(RunMode(1), host::kErrNoSuchObject);
  EXPECT_EQ(Count("Ply "), 1);
  EXPECT_EQ(Count("get [ASet"), 1);
  EXPECT_EQ(Count("Opn "), 0);
  EXPECT_EQ(WrittenDescriptor(), "Cnt=1") << "a failed run records nothing";
  EXPECT_EQ(sim.Use(host::kPSHandleSuite).acquired, 0) << "no handle is made for a file that is not there";
}

TEST_F(ActionSetLoadTest, ASetThatExistsIsNotLoadedAgain) {
  PutShippedFile();
  sim.hasActionSet = true;
  sim.actionSet.actions.erase(sim.actionSet.actions.begin());  // "red_plus"
  EXPECT_EQ(RunMode(1), host::kErrNoSuchObject);
  EXPECT_EQ(Count("get [ASet=\"ZEM_Variations\"] -> found"), 1);
  EXPECT_EQ(Count("Opn "), 0);
  EXPECT_TRUE(sim.loadedSets.empty());
}

TEST_F(ActionSetLoadTest, AHostThatCannotSayGetsTheSetAfterTheFirstPlayFails) {
  PutShippedFile();
  struct Case {
    const char* what;
    Op op;
  } cases[] = {{"Get", Op::ControlGet}, {"the set's reference", Op::ReferencePutName}};
  for (const Case& failure : cases) {
    SCOPED_TRACE(failure.what);
    sim.ClearLog();
    sim.loadedSets.clear();
    sim.faults.Clear();
    sim.faults.ResetCounts();
    // The set's name is the first name put in a call: the run's plays come after.
    sim.faults.FailOperation(failure.op, 1, -77);
    EXPECT_EQ(RunMode(1), 0);
    EXPECT_EQ(sim.faults.Fired(), 1);
    EXPECT_EQ(Count("Opn "), 1);
    EXPECT_EQ(sim.loadedSets.size(), 1u);
    EXPECT_EQ(sim.objects.Live(), 1) << "only the host's own descriptor";
  }
}

TEST_F(ActionSetLoadTest, AHostThatCannotLoadEndsTheRunAsBefore) {
  PutShippedFile();
  struct Case {
    const char* what;
    Op op;
  } cases[] = {{"New", Op::HandleNew}, {"SetLock", Op::HandleSetLock}, {"PutAlias", Op::DescriptorPutAlias}};
  for (const Case& failure : cases) {
    SCOPED_TRACE(failure.what);
    sim.ClearLog();
    sim.faults.Clear();
    sim.faults.ResetCounts();
    sim.faults.FailOperation(failure.op, 1, -77);
    EXPECT_EQ(RunMode(1), host::kErrNoSuchObject);
    EXPECT_EQ(sim.faults.Fired(), 1);
    EXPECT_EQ(Count("Opn "), 0);
    EXPECT_EQ(Count("Ply "), 1) << "asked once, not loaded, so the run ends at its first play";
    EXPECT_TRUE(sim.loadedSets.empty());
    EXPECT_EQ(sim.objects.Live(), 1) << "only the host's own descriptor";
  }
}

TEST_F(ActionSetLoadTest, AFileTheHostRefusesEndsTheRunAsBefore) {
  PutFile({'n', 'o', 't', ' ', 'a', 't', 'n'});
  EXPECT_EQ(RunMode(1), host::kErrNoSuchObject);
  EXPECT_EQ(Count("Opn "), 1);
  EXPECT_TRUE(sim.loadedSets.empty());
  EXPECT_NE(sim.lastOpenError.find(FilePath()), std::string::npos) << sim.lastOpenError;
  EXPECT_NE(sim.lastOpenError.find("is not a valid action file"), std::string::npos) << sim.lastOpenError;
  EXPECT_EQ(sim.objects.Made(hostsim::ObjectKind::Handle), sim.objects.Freed(hostsim::ObjectKind::Handle));
}

TEST_F(ActionSetLoadTest, AHostWithoutTheHandleSuiteEndsTheRunAsBefore) {
  PutShippedFile();
  sim.RefuseSuite(host::kPSHandleSuite);
  EXPECT_EQ(RunMode(1), host::kErrNoSuchObject);
  EXPECT_EQ(Count("Opn "), 0);
}

// Each way a host may answer, on a host of its own: the run's result, its history states, how
// often the set was loaded (never a second copy), and nothing left behind.
struct HostAnswer {
  const char* what;
  std::function<void(hostsim::Host&)> setUp;
  int32_t result;
  size_t states;
  size_t loads;
  int redPlusPlays;  // the first action's plays, failed ones included
};

constexpr int32_t kOtherError = -25922;

void MissingSet(hostsim::Host& host) { host.hasActionSet = false; }

const HostAnswer kHostAnswers[] = {
    {"set present", [](hostsim::Host&) {}, 0, 1, 0, 1},
    {"absent, Get answers no such object", MissingSet, 0, 1, 1, 1},
    {"absent, Get answers another error",
     [](hostsim::Host& host) {
       MissingSet(host);
       host.getErrorForMissingSet = kOtherError;
     },
     0, 2, 1, 2},
    {"present, Get fails", [](hostsim::Host& host) { host.getErrorForHeldSet = kOtherError; }, 0, 1, 0, 1},
    {"present, Get fails, the set's first action missing",
     [](hostsim::Host& host) {
       host.getErrorForHeldSet = kOtherError;
       host.actionSet.actions.erase(host.actionSet.actions.begin());
     },
     host::kErrNoSuchObject, 2, 1, 2},
    {"absent, 'Opn ' refused inside SuspendHistory",
     [](hostsim::Host& host) {
       MissingSet(host);
       host.openErrorWhileSuspended = kOtherError;
     },
     0, 1, 1, 1},
    {"absent, Get answers another error, 'Opn ' refused inside SuspendHistory",
     [](hostsim::Host& host) {
       MissingSet(host);
       host.getErrorForMissingSet = kOtherError;
       host.openErrorWhileSuspended = kOtherError;
     },
     0, 2, 1, 2},
    {"absent, only handle suite version 1",
     [](hostsim::Host& host) {
       MissingSet(host);
       host.RefuseSuiteVersion(host::kPSHandleSuite, host::kPSHandleSuiteVersion);
     },
     0, 1, 1, 1},
    {"absent, Get answers another error, only handle suite version 1",
     [](hostsim::Host& host) {
       MissingSet(host);
       host.getErrorForMissingSet = kOtherError;
       host.RefuseSuiteVersion(host::kPSHandleSuite, host::kPSHandleSuiteVersion);
     },
     0, 2, 1, 2},
    {"absent, no handle suite",
     [](hostsim::Host& host) {
       MissingSet(host);
       host.RefuseSuite(host::kPSHandleSuite);
     },
     host::kErrNoSuchObject, 1, 0, 1},
};

struct Outcome {
  int32_t result;
  Lines history;
  size_t loads;
  int redPlusPlays;
  Lines log;
};

Outcome RunOnHost(const std::function<void(hostsim::Host&)>& setUp) {
  hostsim::Host host;
  setUp(host);
  host::PIActionParameters parameters{host::plugInDialogDontDisplay, host::plugInDialogRequired,
                                      host.NewModeDescriptor(1)};
  Outcome outcome{host.CallDoIt(AutoPluginMain, &parameters), host.history(), host.loadedSets.size(), 0, host.log()};
  for (const std::string& line : host.log()) {
    outcome.redPlusPlays += line.rfind("Ply null=[Actn=\"red_plus\"", 0) == 0 ? 1 : 0;
  }
  // Only what the plug-in made is checked: the host's own descriptor goes first.
  host.FreeDescriptor(parameters.descriptor);
  ExpectNothingLeft(host);
  EXPECT_EQ(host.objects.Made(hostsim::ObjectKind::Handle), host.objects.Freed(hostsim::ObjectKind::Handle));
  return outcome;
}

TEST_F(ActionSetLoadTest, EveryHostAnswerGetsTheSetLoadedAtMostOnceAndOutsideTheSuspendedHistory) {
  PutShippedFile();
  for (const HostAnswer& answer : kHostAnswers) {
    SCOPED_TRACE(answer.what);
    const Outcome outcome = RunOnHost(answer.setUp);
    ResetPluginState();
    EXPECT_EQ(outcome.result, answer.result);
    EXPECT_EQ(outcome.history, Lines(answer.states, "ZEM_Variations"));
    EXPECT_EQ(outcome.loads, answer.loads);
    EXPECT_EQ(outcome.redPlusPlays, answer.redPlusPlays);
    std::printf("%-72s result %6d, %zu history state(s), loaded %zu time(s)\n", answer.what, outcome.result,
                outcome.history.size(), outcome.loads);
  }
}

TEST_F(ActionSetLoadTest, ALoadedSetGivesTheEventsOfARunWithTheSetAlreadyThere) {
  PutShippedFile();
  const Outcome present = RunOnHost([](hostsim::Host&) {});
  ResetPluginState();
  const Outcome loaded = RunOnHost(MissingSet);
  ResetPluginState();
  ASSERT_EQ(present.log.size() + 1, loaded.log.size());
  EXPECT_EQ(present.log[0], "get [ASet=\"ZEM_Variations\"] -> found");
  EXPECT_EQ(loaded.log[0], "get [ASet=\"ZEM_Variations\"] -> " + std::to_string(host::kErrNoSuchObject));
  EXPECT_EQ(loaded.log[1], "Opn null=alias(" + FilePath() + ")");
  EXPECT_EQ(Lines(loaded.log.begin() + 2, loaded.log.end()), Lines(present.log.begin() + 1, present.log.end()));
}

TEST_F(ActionSetLoadTest, AHostThatCannotSayLeavesTheFailedAttemptAsAStateOfItsOwn) {
  PutShippedFile();
  const Outcome outcome = RunOnHost([](hostsim::Host& host) {
    MissingSet(host);
    host.getErrorForMissingSet = kOtherError;
  });
  ResetPluginState();
  ASSERT_EQ(outcome.result, 0);
  // The first attempt holds the first region's selection and the failed play; then the load,
  // outside both states; then the whole run.
  const auto open = std::find_if(outcome.log.begin(), outcome.log.end(),
                                 [](const std::string& line) { return line.rfind("Opn ", 0) == 0; });
  ASSERT_NE(open, outcome.log.end());
  EXPECT_EQ(*(open - 1), "Ply null=[Actn=\"red_plus\", ASet=\"ZEM_Variations\"] -> " +
                             std::to_string(host::kErrNoSuchObject));
  EXPECT_EQ(std::count_if(outcome.log.begin(), open, [](const std::string& line) { return line.rfind("Ply ", 0) == 0; }),
            1);
  EXPECT_EQ(outcome.history.size(), 2u);
}

TEST_F(ActionSetLoadTest, HandleSuiteVersion1IsUsedThroughItsOwnSlots) {
  PutShippedFile();
  sim.hasActionSet = false;
  sim.RefuseSuiteVersion(host::kPSHandleSuite, host::kPSHandleSuiteVersion);
  EXPECT_EQ(RunMode(1), 0);
  EXPECT_EQ(sim.loadedSets.size(), 1u);
  const std::string handles = host::kPSHandleSuite;
  const auto& asked = sim.AcquisitionsAsked();
  EXPECT_EQ(std::count(asked.begin(), asked.end(), handles + "/2"), 1);
  EXPECT_EQ(std::count(asked.begin(), asked.end(), handles + "/1"), 1);
  EXPECT_EQ(sim.objects.Made(hostsim::ObjectKind::Handle), 1);
  EXPECT_EQ(sim.objects.Freed(hostsim::ObjectKind::Handle), 1);
}

TEST_F(ActionSetLoadTest, EveryHostCallOfALoadingRunFailedInTurn) {
  PutShippedFile();
  fault_sweep::HostStyle fresh;
  fresh.withoutActionSet = true;
  int calls = fault_sweep::Sweep(AutoPluginMain, 1, [] { ResetPluginState(); }, fresh);
  std::printf("fault sweep, fresh host, mode 1: %d host calls, each failed in turn\n", calls);
  fresh.withoutHistorySuspension = true;
  calls = fault_sweep::Sweep(AutoPluginMain, 4, [] { ResetPluginState(); }, fresh);
  std::printf("fault sweep, fresh host without version 3, mode 4: %d host calls\n", calls);
}

}  // namespace
