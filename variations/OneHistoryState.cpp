#include "variations/OneHistoryState.h"

#include "hostaccess/HostFailure.h"
#include "hostaccess/HostSuites.h"
#include "hostaccess/PluginState.h"
#include "variations/ActionSetLoader.h"
#include "variations/VariationRun.h"

namespace zem {
namespace {

struct SuspendedRun {
  bool called = false;
  RunEnd end = RunEnd::Failed;
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
    // Never loads the set: a host may refuse to open a file inside a suspended history.
    run.end = RunVariations(false);
  } catch (...) {
    run.abandoned = CodeOfCaughtFailure();
    if (run.abandoned == 0) run.abandoned = host::kSPBadParameterError;
  }
  return 0;
}

// One attempt at the run as one history state.
SuspendedRun RunSuspended(host::PIActionReference document, host::ASZString historyName) {
  SuspendedRun run;
  // Its result says nothing the run's own outcome does not: a host that refused before calling
  // back is seen by `called`, and the run is then played without the wrapper.
  ControlSuite().SuspendHistory(document, &RunInsideHistoryState, &run, historyName);
  if (!run.called) run.end = RunVariations(false);
  return run;
}

}  // namespace

int32_t RunVariationsAsOneHistoryState(host::PIActionReference document, host::ASZString historyName) {
  const host::PSActionControlProcs& control = ControlSuite();
  if (!ControlSuiteSuspendsHistory() || control.SuspendHistory == nullptr) {
    RunVariations(true);
    return 0;
  }
  // The set is asked for, and loaded when the host says it is missing, before the history is
  // suspended and outside it.
  const SetPresence presence = FindActionSet(kVariationSetName);
  if (presence == SetPresence::Absent) LoadActionSetBesideModule();
  const SuspendedRun run = RunSuspended(document, historyName);
  if (run.abandoned != 0 || presence != SetPresence::Unknown || run.end != RunEnd::FirstPlayFailed) {
    return run.abandoned;
  }
  // A host whose Get failed with anything but "no such object" may lack the set all the same. The
  // attempt stays a history state of its own, holding the first region's selection; the set is
  // loaded outside it and the run played again as a second state. A host that holds the set plays
  // the first action, so it never gets here and never gets a second copy, unless the set it holds
  // has lost that action too: nothing the host says tells that case apart.
  if (!LoadActionSetBesideModule()) return 0;
  RunStatus = 0;
  return RunSuspended(document, historyName).abandoned;
}

}  // namespace zem
