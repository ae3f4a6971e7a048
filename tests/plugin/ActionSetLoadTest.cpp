// A fresh Photoshop without the action set: the plug-in loads the file beside its module once and
// runs; without the file, or when the host cannot say or cannot load, the run ends as it always
// has, with nothing left behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

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
  EXPECT_EQ(Count("Ply "), 19) << "the failed first play, then all eighteen";
  EXPECT_EQ(Count("get [ASet=\"ZEM_Variations\"] -> " + std::to_string(host::kErrNoSuchObject)), 1);
  EXPECT_EQ(Count("Opn null=alias(" + FilePath() + ")"), 1);
  EXPECT_EQ(sim.history(), Lines(1, "ZEM_Variations"));
  EXPECT_EQ(WrittenDescriptor(), "Cnt=1");
  EXPECT_EQ(sim.objects.Made(hostsim::ObjectKind::Handle), 1);
  EXPECT_EQ(sim.objects.Freed(hostsim::ObjectKind::Handle), 1);

  // With the set loaded, the next run asks nothing about it.
  sim.ClearLog();
  EXPECT_EQ(RunMode(2), 0);
  EXPECT_EQ(sim.loadedSets.size(), 1u);
  EXPECT_EQ(Count("get [ASet"), 0);
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

TEST_F(ActionSetLoadTest, AHostThatCannotSayOrCannotLoadEndsTheRunAsBefore) {
  PutShippedFile();
  struct Case {
    const char* what;
    Op op;
  } cases[] = {{"Get", Op::ControlGet},     {"the set's reference", Op::ReferencePutName},
               {"New", Op::HandleNew},      {"SetLock", Op::HandleSetLock},
               {"PutAlias", Op::DescriptorPutAlias}};
  for (const Case& failure : cases) {
    SCOPED_TRACE(failure.what);
    sim.ClearLog();
    sim.faults.Clear();
    sim.faults.ResetCounts();
    // The first play puts two names, the action's and its set's; the third is the Get's.
    sim.faults.FailOperation(failure.op, failure.op == Op::ReferencePutName ? 3 : 1, -77);
    EXPECT_EQ(RunMode(1), host::kErrNoSuchObject);
    EXPECT_EQ(sim.faults.Fired(), 1);
    EXPECT_EQ(Count("Opn "), 0);
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
