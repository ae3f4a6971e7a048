#include "variations/OneHistoryState.h"

#include "hostaccess/HostFailure.h"
#include "hostaccess/HostSuites.h"
#include "variations/VariationRun.h"

namespace zem {
namespace {

struct SuspendedRun {
  bool called = false;
  int32_t abandoned = 0;  // the code of a failure raised inside the run
};

// Called by the host inside SuspendHistory. Nothing raised may unwind into the host's frames, so
// the run's failures are caught here and handed back through `data`. The result is always
// success: the run's own outcome travels in RunStatus, and a host told of a failure could discard
// the state of a partial run that the user should be able to undo in one step.
host::SPErr HOST_API RunInsideHistoryState(void* data) noexcept {
  SuspendedRun& run = *static_cast<SuspendedRun*>(data);
  run.called = true;
  try {
    RunVariations();
  } catch (...) {
    run.abandoned = CodeOfCaughtFailure();
    if (run.abandoned == 0) run.abandoned = host::kSPBadParameterError;
  }
  return 0;
}

}  // namespace

int32_t RunVariationsAsOneHistoryState(host::PIActionReference document, host::ASZString historyName) {
  const host::PSActionControlProcs& control = ControlSuite();
  if (!ControlSuiteSuspendsHistory() || control.SuspendHistory == nullptr) {
    RunVariations();
    return 0;
  }
  SuspendedRun run;
  // Its result says nothing the run's own outcome does not: a host that refused before calling
  // back is seen by `called`, and the run is then played without the wrapper.
  control.SuspendHistory(document, &RunInsideHistoryState, &run, historyName);
  if (!run.called) RunVariations();
  return run.abandoned;
}

}  // namespace zem
