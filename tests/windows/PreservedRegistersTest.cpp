// The registers the host keeps across a call into the module come back as they were, however the
// call ends. A suite refused or a host allocation failed is raised deep inside the module and
// caught at its entry point: the unwinder must then restore every register that the frames it
// passes through had saved, or the host goes on with a value of the module's in one of its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ActionControlSuite.h"
#include "host/ActionDescriptorSuite.h"
#include "host/ActionListSuite.h"
#include "host/ActionReferenceSuite.h"
#include "host/PropertySuite.h"
#include "host/ResultCodes.h"
#include "host/UIHooksSuite.h"
#include "hostsim/Host.h"
#include "tests/support/FaultSweep.h"
#include "tests/support/HostChecks.h"
#include "tests/windows/LoadedModule.h"
#include "tests/windows/preserved/PreservedRegisters.h"

namespace {

// The entry point every call goes to, and the registers any call since the last look changed.
host::SPPluginEntryPoint checkedEntry = nullptr;
uint32_t changedSinceLastLook = 0;

host::SPErr HOST_API CheckingEntry(const char* caller, const char* selector, void* message) {
  uint32_t changed = 0;
  const host::SPErr result = CallCheckingPreservedRegisters(checkedEntry, caller, selector, message, &changed);
  changedSinceLastLook |= changed;
  return result;
}

// The names of the registers changed since the last look ("" for none), and a fresh start.
std::string TakeChanged() {
  const std::string names = PreservedRegisterNames(changedSinceLastLook);
  changedSinceLastLook = 0;
  return names;
}

class PreservedRegistersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(module.Entry(), nullptr) << module.path();
    checkedEntry = module.Entry();
    changedSinceLastLook = 0;
  }

  // Every host call of a whole run failed in turn, the registers looked at after each run.
  void SweepLookingAfterEachRun(int32_t mode, fault_sweep::HostStyle style = {}) {
    std::vector<std::string> changedByRun;
    int run = 0;
    const auto lookAtTheRunBefore = [&] {
      const std::string changed = TakeChanged();
      if (!changed.empty()) {
        changedByRun.push_back((run == 1 ? std::string("the run without a fault")
                                         : "call " + std::to_string(run - 1) + " failed") +
                               ": " + changed);
      }
      ++run;
    };
    const int calls = fault_sweep::Sweep(CheckingEntry, mode, lookAtTheRunBefore, style);
    lookAtTheRunBefore();
    EXPECT_EQ(changedByRun, std::vector<std::string>()) << "mode " << mode << ", " << calls << " host calls a run";
  }

  LoadedModule module;
};

TEST_F(PreservedRegistersTest, TheCheckSeesAnEntryThatChangesThem) {
  checkedEntry = ClobberPreservedRegistersForTest;
  hostsim::Host sim;
  host::SPMessageData message = sim.BasicMessage();
  EXPECT_EQ(CheckingEntry(host::kSPInterfaceCaller, host::kSPInterfaceStartupSelector, &message), 0);
  const std::string changed = TakeChanged();
  const std::string names = PreservedRegisterNameList;
  EXPECT_EQ(changed, names.substr(0, names.find(' ')) + " " + names.substr(names.rfind(' ') + 1));
}

TEST_F(PreservedRegistersTest, WholeRunsOfEveryModeKeepThem) {
  for (int32_t mode = 1; mode <= 7; ++mode) {
    hostsim::Host sim;
    host::PIActionParameters parameters{host::plugInDialogDontDisplay, host::plugInDialogRequired,
                                        sim.NewModeDescriptor(mode)};
    EXPECT_EQ(sim.CallDoIt(CheckingEntry, &parameters), 0) << "mode " << mode;
    EXPECT_EQ(TakeChanged(), "") << "mode " << mode;
    sim.FreeDescriptor(parameters.descriptor);
    ExpectNothingLeft(sim);
  }
}

TEST_F(PreservedRegistersTest, EachSuiteRefusedKeepsThem) {
  for (const char* suite : {host::kPSActionDescriptorSuite, host::kPSActionControlSuite, host::kPSActionReferenceSuite,
                            host::kPSActionListSuite, host::kPSUIHooksSuite, host::kPSPropertySuite}) {
    hostsim::Host refusing;
    refusing.RefuseSuite(suite);
    host::PIActionParameters parameters{host::plugInDialogDontDisplay, host::plugInDialogRequired,
                                        refusing.NewModeDescriptor(1)};
    EXPECT_EQ(refusing.CallDoIt(CheckingEntry, &parameters), host::kSPSuiteNotFoundError) << suite;
    EXPECT_EQ(TakeChanged(), "") << suite << " refused";
    refusing.FreeDescriptor(parameters.descriptor);
    ExpectNothingLeft(refusing);
  }
}

TEST_F(PreservedRegistersTest, EveryHostCallOfAPolygonRunFailedInTurnKeepsThem) { SweepLookingAfterEachRun(1); }

TEST_F(PreservedRegistersTest, EveryHostCallOfALoadingRunFailedInTurnKeepsThem) {
  fault_sweep::HostStyle freshHost;
  freshHost.withoutActionSet = true;
  SweepLookingAfterEachRun(4, freshHost);
}

}  // namespace
