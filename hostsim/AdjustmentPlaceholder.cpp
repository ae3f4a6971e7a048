// PLACEHOLDER, only on the branch that converts action files: it lets the reference host build
// and run before the adjustment engine (hostsim/AdjustmentEvents.cpp) is merged, and leaves the
// pixels as they are. It is deleted, with its line in CMakeLists.txt, when the engine comes in.
#include "AdjustmentEvents.h"

namespace hostsim {

void Apply(const AdjustmentEvent&, const Selection&, Image&) {}

}  // namespace hostsim
