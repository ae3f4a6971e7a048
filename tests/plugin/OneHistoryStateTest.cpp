// The run as one history state: the same events inside SuspendHistory, today's run where the host
// has no version 3 or does not call back, and nothing raised ever left in the host's callback.
#include <gtest/gtest.h>

#include "host/ActionControlSuite.h"
#include "host/PropertySuite.h"
#include "host/ResultCodes.h"
#include "tests/support/ExpectedEvents.h"
#include "tests/support/PluginFixture.h"

using hostsim::Op;
using Lines = std::vector<std::string>;

namespace {

class OneHistoryStateTest : public PluginFixture {
 protected:
  int32_t RunMode(int32_t mode) {
    parameters.descriptor = sim.NewModeDescriptor(mode);
    return DoIt();
  }

  void WithoutVersion3() {
    sim.RefuseSuiteVersion(host::kPSActionControlSuite, host::kPSActionControlSuiteVersionWithHistory);
  }

  // A run of the mode on a host of its own, with or without version 3.
  struct Run {
    int32_t result;
    Lines log;
    Lines history;
    int suspensions;
    std::string written;
  };
  Run RunOnOwnHost(int32_t mode, bool withVersion3) {
    hostsim::Host other;
    if (!withVersion3) {
      other.RefuseSuiteVersion(host::kPSActionControlSuite, host::kPSActionControlSuiteVersionWithHistory);
    }
    host::PIActionParameters otherParameters{host::plugInDialogDontDisplay, host::plugInDialogRequired,
                                             other.NewModeDescriptor(mode)};
    Run run{other.CallDoIt(AutoPluginMain, &otherParameters), other.log(), other.history(), other.Suspensions(),
            other.DescriptorText(otherParameters.descriptor)};
    other.FreeDescriptor(otherParameters.descriptor);
    ExpectNothingLeft(other);
    ResetPluginState();
    return run;
  }
};

TEST_F(OneHistoryStateTest, WholeRunIsOneStateNamedAfterThePluginWithTodaysEvents) {
  for (int32_t mode : {1, 5}) {
    SCOPED_TRACE("mode " + std::to_string(mode));
    const Run today = RunOnOwnHost(mode, false);
    ASSERT_EQ(today.result, 0);
    EXPECT_EQ(today.suspensions, 0);
    // Mode 1: 18 clearings and 18 triangles, 18 one-event actions, the final clearing.
    if (mode == 1) {
      EXPECT_EQ(today.history.size(), 55u);
    }

    const Run wrapped = RunOnOwnHost(mode, true);
    EXPECT_EQ(wrapped.result, 0);
    // Before the wrapper, whether the set is loaded; inside it, today's events.
    ASSERT_FALSE(wrapped.log.empty());
    EXPECT_EQ(wrapped.log[0], expected::SetFound());
    EXPECT_EQ(Lines(wrapped.log.begin() + 1, wrapped.log.end()), today.log);
    EXPECT_EQ(wrapped.suspensions, 1);
    EXPECT_EQ(wrapped.history, Lines(1, "ZEM_Variations"));
    EXPECT_EQ(wrapped.written, "Cnt=" + std::to_string(mode));
  }
}

TEST_F(OneHistoryStateTest, HostWithoutVersion3GetsTodaysRunThroughVersion2) {
  WithoutVersion3();
  EXPECT_EQ(RunMode(1), 0);
  EXPECT_EQ(sim.Suspensions(), 0);
  EXPECT_EQ(sim.history().size(), 55u);
  const std::string control = host::kPSActionControlSuite;
  const auto& asked = sim.AcquisitionsAsked();
  ASSERT_GE(std::count(asked.begin(), asked.end(), control + "/3"), 1);
  EXPECT_EQ(std::count(asked.begin(), asked.end(), control + "/3"), 1) << "version 3 asked for once";
  EXPECT_EQ(std::count(asked.begin(), asked.end(), control + "/2"), 1) << "then version 2, once";
  EXPECT_EQ(sim.Use(control).acquired, 1);
  EXPECT_EQ(sim.Use(control).released, 1);
}

TEST_F(OneHistoryStateTest, HostThatDoesNotCallBackGetsTheRunWithoutIt) {
  sim.faults.FailOperation(Op::SuspendHistory, 1, -25);
  EXPECT_EQ(RunMode(1), 0);
  EXPECT_EQ(sim.Suspensions(), 0);
  EXPECT_EQ(sim.history().size(), 55u) << "played once, unwrapped";
  EXPECT_EQ(WrittenDescriptor(), "Cnt=1");
}

TEST_F(OneHistoryStateTest, PartialRunIsStillOneStateAndReportsItsFailure) {
  sim.actionSet.actions.erase(sim.actionSet.actions.begin() + 3);  // "green_minus"
  EXPECT_EQ(RunMode(3), host::kErrNoSuchObject);
  EXPECT_EQ(sim.Suspensions(), 1);
  EXPECT_EQ(sim.history(), Lines(1, "ZEM_Variations")) << "the callback reported success";
  EXPECT_EQ(WrittenDescriptor(), "Cnt=3") << "a failed run records nothing";
}

TEST_F(OneHistoryStateTest, FailureRaisedInsideTheCallbackComesBackAsTheResult) {
  // The property suite is first needed inside the run: its refusal is raised there.
  sim.RefuseSuite(host::kPSPropertySuite);
  EXPECT_EQ(RunMode(1), host::kSPSuiteNotFoundError);
  EXPECT_EQ(sim.Suspensions(), 1);
  EXPECT_EQ(sim.violations(), Lines()) << "nothing raised crossed the host's frames";
  EXPECT_EQ(sim.history(), Lines(1, "ZEM_Variations")) << "the callback returned success";
  EXPECT_EQ(WrittenDescriptor(), "Cnt=1") << "an abandoned call records nothing";
  EXPECT_EQ(zem::RunStatus, 0);
}

}  // namespace
