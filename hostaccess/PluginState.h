// The plug-in's process-wide values. The host never overlaps two calls of the entry point,
// so none of them is guarded.
#pragma once

#include <cstdint>

#include "host/BasicSuite.h"
#include "host/HostTypes.h"

namespace zem {

// The split layout of a run. Any integer is carried through unchanged; only 1 to 7 select a region.
using SplitMode = int32_t;
constexpr SplitMode DiagonalSplit = 1;
constexpr SplitMode HalfVertical = 2;
constexpr SplitMode HalfHorizontal = 3;
constexpr SplitMode Strips4Vertical = 4;
constexpr SplitMode Strips8Vertical = 5;
constexpr SplitMode LeftRightQuarter = 6;
constexpr SplitMode RightQuarter = 7;

// Copied from the message at the start of every call.
extern host::SPBasicSuite* HostBasicSuite;
extern host::SPPluginRef HostPluginRef;

// 0 at load, 1 at the start of every "Do It", then read from the descriptor or chosen in the dialog.
extern SplitMode CurrentMode;

// The result of the latest region step; read and reset by the entry point after the run.
extern int32_t RunStatus;

}  // namespace zem
