// The run over the eighteen variations of a "Do It" call.
#pragma once

#include <cstdint>

#include "hostaccess/PluginState.h"

namespace zem {

constexpr int kVariationCount = 18;

// In play order; each "plus" variation is followed by its "minus" partner.
extern const char* const VariationNames[kVariationCount];

// The action set all eighteen actions are played from.
extern const char kVariationSetName[];

// The mode of the minus variations: the right quarter where the plus ones take the left.
SplitMode MinusModeFor(SplitMode plusMode);

// How a run ended: its first action could not be played (the set may be missing), or otherwise.
enum class RunEnd { Complete, FirstPlayFailed, Failed };

// Plays every variation's action into its region, in order, and clears the selection after a
// complete run. The outcome is left in RunStatus: 0, or the code of the first failure. With
// `mayLoadSet`, a failed first play loads the action set from beside the module unless the host
// says it holds it, and plays the action again into the region already selected.
RunEnd RunVariations(bool mayLoadSet);

// Plays the named action of the named action set.
int32_t PlayVariationAction(const char* setName, const char* actionName);

}  // namespace zem
