// The built module, loaded by a Windows program and called through the real interface.
#include <gtest/gtest.h>

#include <cstdio>

#include "LoadedModule.h"
#include "host/ActionDescriptorSuite.h"
#include "host/ActionReferenceSuite.h"
#include "host/ResultCodes.h"
#include "common/FaultSweep.h"
#include "common/HostChecks.h"
#include "hostsim/Host.h"

namespace {

class ModuleTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (parameters.descriptor != nullptr) sim.FreeDescriptor(parameters.descriptor);
    ExpectNothingLeft(sim);
  }

  void GiveMode(int32_t mode) { parameters.descriptor = sim.NewModeDescriptor(mode); }

  LoadedModule module;
  hostsim::Host sim;
  host::PIActionParameters parameters{host::plugInDialogDontDisplay, host::plugInDialogRequired, nullptr};
};

TEST_F(ModuleTest, LoadsAndExportsItsTwoEntries) {
  ASSERT_NE(module.handle(), nullptr) << module.path() << " error " << GetLastError();
  EXPECT_NE(module.Export("AutoPluginMain"), nullptr);
  EXPECT_NE(module.Export("_GenericProc@16"), nullptr);
  EXPECT_EQ(module.Export("GenericProc"), nullptr);
  EXPECT_EQ(module.Export("_AutoPluginMain"), nullptr);
}

TEST_F(ModuleTest, DoItThroughTheRealInterfaceRecordsTheMode) {
  ASSERT_NE(module.Entry(), nullptr);
  GiveMode(4);

  EXPECT_EQ(sim.CallDoIt(module.Entry(), &parameters), 0);
  EXPECT_EQ(sim.DescriptorText(parameters.descriptor), "Cnt=4");
  EXPECT_EQ(parameters.recordInfo, host::plugInDialogOptional);
  EXPECT_EQ(sim.Use(host::kPSActionDescriptorSuite).acquired, 1);
  EXPECT_EQ(sim.Use(host::kPSActionReferenceSuite).released, 1);
}

TEST_F(ModuleTest, WholeRunPlaysEveryActionInOrderThenClears) {
  ASSERT_NE(module.Entry(), nullptr);
  GiveMode(5);
  EXPECT_EQ(sim.CallDoIt(module.Entry(), &parameters), 0);

  std::vector<std::string> played;
  for (const std::string& line : sim.log()) {
    if (line.rfind("Ply ", 0) != 0) continue;
    const size_t start = line.find('"') + 1;
    played.push_back(line.substr(start, line.find('"', start) - start));
  }
  EXPECT_EQ(played, hostsim::DefaultVariationActions());
  EXPECT_EQ(sim.log().back(), "setd null=[Chnl.fsel] T=enum(Ordn,None)");
  EXPECT_EQ(sim.DescriptorText(parameters.descriptor), "Cnt=5");
}

TEST_F(ModuleTest, MissingActionFailsTheRunAcrossTheBoundary) {
  ASSERT_NE(module.Entry(), nullptr);
  sim.actionSet.actions.pop_back();
  EXPECT_EQ(sim.CallDoIt(module.Entry(), &parameters), hostsim::kErrNoSuchAction);
  EXPECT_EQ(parameters.descriptor, nullptr);
}

// Failures raised inside the module (a refused suite) are caught there: the module is built with
// its own runtime and unwinder, so this is where that is proved.
TEST_F(ModuleTest, EveryHostCallOfAWholeRunFailedInTurn) {
  ASSERT_NE(module.Entry(), nullptr);
  int calls = fault_sweep::Sweep(module.Entry(), 4, [] {});
  std::printf("fault sweep through the module, mode 4: %d host calls\n", calls);
}

TEST_F(ModuleTest, AbandonedCallReturnsTheHostsCodeAcrossTheBoundary) {
  ASSERT_NE(module.Entry(), nullptr);
  sim.RefuseSuite(host::kPSActionDescriptorSuite);
  EXPECT_EQ(sim.CallDoIt(module.Entry(), &parameters), host::kSPSuiteNotFoundError);
  EXPECT_EQ(parameters.descriptor, nullptr);
}

TEST_F(ModuleTest, OtherSelectorsAnswerZeroAndAcquireNothing) {
  ASSERT_NE(module.Entry(), nullptr);
  host::SPMessageData message = sim.BasicMessage();
  EXPECT_EQ(module.Entry()(host::kSPInterfaceCaller, host::kSPInterfaceStartupSelector, &message), 0);
  EXPECT_EQ(module.Entry()(host::kSPAccessCaller, host::kSPAccessUnloadSelector, &message), 0);
  EXPECT_EQ(sim.AcquisitionsTotal(), 0);
}

}  // namespace
