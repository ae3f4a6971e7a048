// Every host call of a whole "Do It", failed in turn: whatever fails, the call returns, frees
// exactly what it made, gives back every suite, and reports the failure where it matters.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/FaultSweep.h"
#include "tests/support/PluginFixture.h"

namespace {

class FaultSweepTest : public PluginFixture {};

TEST_F(FaultSweepTest, EveryHostCallOfAWholeRunFailedInTurn) {
  for (int32_t mode : {1, 4, 5}) {
    int calls = fault_sweep::Sweep(AutoPluginMain, mode, [] { ResetPluginState(); });
    std::printf("fault sweep, mode %d: %d host calls, each failed in turn\n", mode, calls);
  }
}

TEST_F(FaultSweepTest, HostWithoutVersion3FailedInTurn) {
  fault_sweep::HostStyle style;
  style.withoutHistorySuspension = true;
  int calls = fault_sweep::Sweep(AutoPluginMain, 5, [] { ResetPluginState(); }, style);
  std::printf("fault sweep, no version 3, mode 5: %d host calls, each failed in turn\n", calls);
}

}  // namespace
