// A whole "Do It" with one host call failed: the run, its leak checks, and the result the failure
// must come back as. Shared by the native tests and the tests of the built module.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/Messages.h"
#include "hostsim/Host.h"

namespace fault_sweep {

constexpr int32_t kInjected = -4242;

struct Outcome {
  int32_t result;
  std::vector<hostsim::Op> trace;
};

// How the host of each run answers.
struct HostStyle {
  // Garbage above every result's declared width (hostsim/DirtyResults.h).
  bool dirtyResults = false;
};

// One "Do It" of the given mode in a fresh host, failing call k (0: none). Checks that the call
// freed exactly what it made and gave back every suite.
inline Outcome RunWithFault(host::SPPluginEntryPoint entry, int32_t mode, int k, HostStyle style = {}) {
  hostsim::Host host;
  host.recording = false;
  host.dirtyResults = style.dirtyResults;
  if (k > 0) host.faults.FailCall(k, kInjected);
  host::PIActionParameters parameters{host::plugInDialogDontDisplay, host::plugInDialogRequired,
                                      host.NewModeDescriptor(mode)};
  Outcome outcome{host.CallDoIt(entry, &parameters), host.faults.Trace()};
  host.FreeDescriptor(parameters.descriptor);

  EXPECT_EQ(host.violations(), std::vector<std::string>()) << "fault at call " << k;
  EXPECT_EQ(host.objects.Live(), 0) << "fault at call " << k;
  EXPECT_EQ(host.SuitesHeld(), 0) << "fault at call " << k;
  EXPECT_EQ(host.LiveBlocks(), 0) << "fault at call " << k;
  if (k > 0) {
    EXPECT_EQ(host.faults.Fired(), 1) << "fault at call " << k;
  }
  return outcome;
}

// What a failure of call k of the complete run (its trace) must come back as.
inline int32_t ExpectedResult(const std::vector<hostsim::Op>& trace, int k) {
  using hostsim::Op;
  const Op op = trace[k - 1];
  const auto ordinal = std::count(trace.begin(), trace.begin() + k, op);
  // The last play is the final clearing; the one before it plays the last action.
  const auto plays = std::count(trace.begin(), trace.end(), Op::Play);
  const auto playsBefore = std::count(trace.begin(), trace.begin() + (k - 1), Op::Play);

  if (op == Op::AcquireSuite) return kInjected;  // abandons the call wherever it happens
  if (hostsim::IsReleaseOp(op) || op == Op::IsEqual) return 0;
  if (op == Op::DescriptorGetInteger || op == Op::ReferencePutEnumerated) return 0;  // results ignored
  if (op == Op::GetProperty && ordinal % 2 == 1) return 0;  // the height query
  if (playsBefore >= plays - 1) return 0;  // the final clearing and the write-back
  return kInjected;
}

// Fails every call of a complete run in turn; returns how many calls the run makes.
template <typename BeforeEachRun>
int Sweep(host::SPPluginEntryPoint entry, int32_t mode, BeforeEachRun beforeEachRun, HostStyle style = {}) {
  beforeEachRun();
  const std::vector<hostsim::Op> clean = RunWithFault(entry, mode, 0, style).trace;
  for (int k = 1; k <= static_cast<int>(clean.size()); ++k) {
    beforeEachRun();
    EXPECT_EQ(RunWithFault(entry, mode, k, style).result, ExpectedResult(clean, k))
        << "mode " << mode << ", call " << k << " (" << hostsim::OpName(clean[k - 1]) << ")";
  }
  return static_cast<int>(clean.size());
}

}  // namespace fault_sweep
