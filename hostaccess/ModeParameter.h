// The mode's trip through the scripting descriptor, under the key 'Cnt '.
#pragma once

#include <cstdint>

#include "host/Messages.h"

namespace zem {

// Replaces the current mode with the descriptor's 'Cnt ' when there is one. Returns the host's code,
// or 0 when there was no descriptor to read.
int32_t ReadModeParameter(const host::PIActionParameters* parameters);

// Hands the host a fresh descriptor holding only 'Cnt ' = the current mode, freeing the old one, and
// marks the step optional to record. On any failure the parameters stay as they were.
int32_t WriteModeParameter(host::PIActionParameters* parameters);

}  // namespace zem
