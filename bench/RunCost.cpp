// The host calls of one "Do It" in every mode, by kind, next to the least the behaviour needs;
// and, for measuring instructions, the same runs repeated with the host's log off.
//
//   run_cost                      prints the table
//   run_cost --repeat N --mode M  runs N calls in mode M and prints nothing
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "entry/PluginMain.h"
#include "hostsim/Host.h"
#include "tests/support/CallBudget.h"

namespace {

constexpr int32_t kModes[] = {1, 2, 3, 4, 5, 6, 7, 0};

struct Run {
  int32_t result;
  bench::CallCounts calls;
  size_t allocations;
};

Run DoIt(int32_t mode, bool recording) {
  hostsim::Host sim;
  sim.recording = recording;
  host::PIActionParameters parameters{host::plugInDialogDontDisplay, host::plugInDialogRequired,
                                      sim.NewModeDescriptor(mode)};
  sim.faults.ResetCounts();
  Run run{sim.CallDoIt(AutoPluginMain, &parameters), {}, 0};
  run.calls = bench::CountedCalls(sim.faults);
  run.allocations = sim.AllocationRequests().size();
  sim.FreeDescriptor(parameters.descriptor);
  return run;
}

void PrintTable() {
  std::printf("| host calls per \"Do It\" (least needed) |");
  for (int32_t mode : kModes) std::printf(" mode %d |", mode);
  std::printf("\n|---|");
  for (size_t i = 0; i < sizeof kModes / sizeof kModes[0]; ++i) std::printf("---|");
  std::printf("\n");
  Run runs[sizeof kModes / sizeof kModes[0]];
  for (size_t i = 0; i < sizeof kModes / sizeof kModes[0]; ++i) runs[i] = DoIt(kModes[i], false);
  for (int kind = 0; kind < bench::kCallKindCount; ++kind) {
    std::printf("| %s |", bench::CallKindName(static_cast<bench::CallKind>(kind)));
    for (size_t i = 0; i < sizeof kModes / sizeof kModes[0]; ++i) {
      const int least = bench::MinimumCalls(kModes[i], true).byKind[kind];
      std::printf(" %d (%d) |", runs[i].calls.byKind[kind], least);
    }
    std::printf("\n");
  }
  std::printf("| **all** |");
  for (size_t i = 0; i < sizeof kModes / sizeof kModes[0]; ++i) {
    std::printf(" **%d** (%d) |", runs[i].calls.Total(), bench::MinimumCalls(kModes[i], true).Total());
  }
  std::printf("\n| result |");
  for (const Run& run : runs) std::printf(" %d |", static_cast<int>(run.result));
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  int repeat = 0;
  int32_t mode = 1;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--repeat") == 0) repeat = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--mode") == 0) mode = std::atoi(argv[i + 1]);
  }
  if (repeat == 0) {
    PrintTable();
    return 0;
  }
  int failed = 0;
  for (int i = 0; i < repeat; ++i) failed += DoIt(mode, false).result != 0;
  return failed == 0 ? 0 : 1;
}
