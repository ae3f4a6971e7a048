// What every test of a host call ends with: no rule of the host broken, and nothing the plug-in
// was given still held.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostsim/Host.h"

inline void ExpectNothingLeft(const hostsim::Host& sim) {
  EXPECT_EQ(sim.violations(), std::vector<std::string>());
  EXPECT_EQ(sim.objects.Live(), 0) << "host objects left live";
  EXPECT_EQ(sim.LiveBlocks(), 0) << "host blocks left allocated";
  EXPECT_EQ(sim.SuitesHeld(), 0) << "suites left acquired";
}
