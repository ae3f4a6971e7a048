// A whole "Do It" with one host call failed: the run, its leak checks, and the result the failure
// must come back as. Shared by the native tests and the tests of the built module.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/ActionControlSuite.h"
#include "host/Messages.h"
#include "host/ResultCodes.h"
#include "hostsim/Host.h"

namespace fault_sweep {

constexpr int32_t kInjected = -4242;

struct Outcome {
  int32_t result;
  std::vector<hostsim::Op> trace;
  std::vector<std::string> acquisitionsAsked;  // "NAME/VERSION", in order
};

// How the host of each run answers.
struct HostStyle {
  // Garbage above every result's declared width (hostsim/DirtyResults.h).
  bool dirtyResults = false;
  // A fresh Photoshop: no action set loaded, so the plug-in loads the one beside its module.
  bool withoutActionSet = false;
  // A host without version 3 of the action control suite, and so without SuspendHistory.
  bool withoutHistorySuspension = false;
};

// One "Do It" of the given mode in a fresh host, failing call k (0: none). Checks that the call
// freed exactly what it made and gave back every suite.
inline Outcome RunWithFault(host::SPPluginEntryPoint entry, int32_t mode, int k, HostStyle style = {}) {
  hostsim::Host host;
  host.recording = false;
  host.dirtyResults = style.dirtyResults;
  host.hasActionSet = !style.withoutActionSet;
  if (style.withoutHistorySuspension) {
    host.RefuseSuiteVersion(host::kPSActionControlSuite, host::kPSActionControlSuiteVersionWithHistory);
  }
  if (k > 0) host.faults.FailCall(k, kInjected);
  host::PIActionParameters parameters{host::plugInDialogDontDisplay, host::plugInDialogRequired,
                                      host.NewModeDescriptor(mode)};
  Outcome outcome{host.CallDoIt(entry, &parameters), host.faults.Trace(), host.AcquisitionsAsked()};
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

// The question whether the action set is loaded, in a complete run's trace: the reference made
// for it, the set's name put, and the Get. {-1, -1} when the run asked nothing.
inline std::pair<int, int> SetQueryCalls(const std::vector<hostsim::Op>& trace) {
  const auto get = std::find(trace.begin(), trace.end(), hostsim::Op::ControlGet);
  if (get == trace.end()) return {-1, -1};
  const int index = static_cast<int>(get - trace.begin());
  return {index - 2, index};
}

// The calls of loading the missing set: from the handle suite's acquisition, after the Get's
// reference is freed, to the disposal of the file's alias. {-1, -1} when the run loaded nothing.
inline std::pair<int, int> LoadingCalls(const std::vector<hostsim::Op>& trace) {
  const std::pair<int, int> query = SetQueryCalls(trace);
  const auto dispose = std::find(trace.begin(), trace.end(), hostsim::Op::HandleDispose);
  if (query.second < 0 || dispose == trace.end()) return {-1, -1};
  return {query.second + 2, static_cast<int>(dispose - trace.begin())};
}

// What a failure of call k of the complete run (its trace) must come back as.
inline int32_t ExpectedResult(const Outcome& clean, int k) {
  using hostsim::Op;
  const std::vector<Op>& trace = clean.trace;
  const Op op = trace[k - 1];
  const auto ordinal = std::count(trace.begin(), trace.begin() + k, op);
  // The last play is the final clearing; the one before it plays the last action.
  const auto plays = std::count(trace.begin(), trace.end(), Op::Play);
  const auto playsBefore = std::count(trace.begin(), trace.begin() + (k - 1), Op::Play);

  // The question failed, the host cannot say: one that holds the set plays on, one that does not
  // gets it loaded once its first play fails. The run completes either way.
  const std::pair<int, int> query = SetQueryCalls(trace);
  if (query.first >= 0 && k - 1 >= query.first && k - 1 <= query.second) return 0;
  // Loading the set: a failure ends the run with the code of the first play, as without the file;
  // a refused version 2 of the handle suite gives way to version 1.
  const std::pair<int, int> loading = LoadingCalls(trace);
  if (loading.first >= 0 && k - 1 >= loading.first && k - 1 <= loading.second) {
    if (op == Op::AcquireSuite) return 0;
    if (op == Op::HandleSetLock && ordinal % 2 == 0) return 0;  // the unlock, after the path is in
    return hostsim::IsReleaseOp(op) ? 0 : host::kErrNoSuchObject;
  }
  if (loading.first >= 0) {
    // Without SuspendHistory the set is asked for after the first play fails. The first play's own
    // calls: event made, reference made, two names and the reference put, played. Any of them
    // failed, the play fails as the missing set makes it fail.
    constexpr int kPlayCalls = 6;
    const auto firstPlay = std::find(trace.rbegin() + (trace.size() - query.first), trace.rend(), Op::Play);
    const int firstPlayIndex = static_cast<int>(trace.rend() - firstPlay) - 1;
    if (k - 1 <= firstPlayIndex && k - 1 > firstPlayIndex - kPlayCalls) return 0;
  }

  if (op == Op::AcquireSuite) {
    // Refused, version 3 of the action control suite gives way to version 2, and the run is played
    // without SuspendHistory; any other refusal abandons the call wherever it happens.
    const std::string version3 = std::string(host::kPSActionControlSuite) + "/" +
                                 std::to_string(host::kPSActionControlSuiteVersionWithHistory);
    return clean.acquisitionsAsked[ordinal - 1] == version3 ? 0 : kInjected;
  }
  if (op == Op::SuspendHistory) return 0;  // the run is then played without it
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
  const Outcome clean = RunWithFault(entry, mode, 0, style);
  EXPECT_EQ(clean.result, 0) << "mode " << mode << ", no fault";
  for (int k = 1; k <= static_cast<int>(clean.trace.size()); ++k) {
    beforeEachRun();
    EXPECT_EQ(RunWithFault(entry, mode, k, style).result, ExpectedResult(clean, k))
        << "mode " << mode << ", call " << k << " (" << hostsim::OpName(clean.trace[k - 1]) << ")";
  }
  return static_cast<int>(clean.trace.size());
}

}  // namespace fault_sweep
