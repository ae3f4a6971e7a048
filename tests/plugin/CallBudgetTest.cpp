// The budget of a "Do It": no kind of host call above the least its behaviour needs, and no
// allocation at all.
#include <gtest/gtest.h>

#include "host/ActionControlSuite.h"
#include "tests/support/CallBudget.h"
#include "tests/support/PluginFixture.h"

namespace {

class CallBudgetTest : public PluginFixture {
 protected:
  void ExpectWithinBudget(int32_t mode, bool withDescriptor, bool oneHistoryState = true) {
    if (withDescriptor) parameters.descriptor = sim.NewModeDescriptor(mode);
    sim.faults.ResetCounts();
    ASSERT_EQ(DoIt(), 0);
    const bench::CallCounts calls = bench::CountedCalls(sim.faults);
    const bench::CallCounts least = bench::MinimumCalls(withDescriptor ? mode : 1, withDescriptor, oneHistoryState);
    for (int kind = 0; kind < bench::kCallKindCount; ++kind) {
      EXPECT_LE(calls.byKind[kind], least.byKind[kind])
          << bench::CallKindName(static_cast<bench::CallKind>(kind)) << ", mode " << mode;
    }
    EXPECT_LE(calls.Total(), least.Total()) << "mode " << mode;
    EXPECT_EQ(sim.AllocationRequests().size(), 0u) << "mode " << mode;
  }
};

TEST_F(CallBudgetTest, EveryModeStaysAtTheLeastItNeeds) {
  for (int32_t mode : {1, 2, 3, 4, 5, 6, 7, 0, 8, -1}) {
    ExpectWithinBudget(mode, true);
    sim.FreeDescriptor(parameters.descriptor);
    parameters.descriptor = nullptr;
  }
}

TEST_F(CallBudgetTest, WithoutADescriptorTheDefaultModeStaysAtItsLeast) { ExpectWithinBudget(0, false); }

TEST_F(CallBudgetTest, WithoutVersion3TheRunStaysAtItsLeast) {
  sim.RefuseSuiteVersion(host::kPSActionControlSuite, host::kPSActionControlSuiteVersionWithHistory);
  ExpectWithinBudget(5, true, false);
}

}  // namespace
