// The variation run as one step of the document's history, where the host can make it one.
#pragma once

#include <cstdint>

#include "host/HostTypes.h"

namespace zem {

// Runs the variations inside the action control suite's SuspendHistory, so that the whole run is
// one history state named `historyName`, undone in one step. A host without version 3 of the suite,
// or one that does not call back, gets the run as it is, one state per event. The action set is
// asked for first and, when the host says it is missing, loaded outside the suspended history; a
// host that cannot say gets it loaded only when the first play fails, and the run once more. The
// run's outcome is left in RunStatus either way. Returns 0, or the code of a failure that abandoned
// the run inside the host's callback (a refused suite, memory the host would not give), which the
// caller must treat as it treats such a failure raised.
int32_t RunVariationsAsOneHistoryState(host::PIActionReference document, host::ASZString historyName);

}  // namespace zem
