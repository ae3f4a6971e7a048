// The selection events that give each variation its region of the canvas.
#pragma once

#include <cstdint>

#include "hostaccess/PluginState.h"

namespace zem {

// Queries the document size, clears the selection and selects the mode's region. A mode outside
// 1 to 7 selects nothing. The result is also stored in RunStatus.
int32_t SelectSplitRegion(SplitMode mode);

// Clears the selection.
int32_t Deselect();

// Set the selection to a triangle, sent closed as four points.
int32_t SelectDiagonalHalf(double width, double height);
int32_t SelectLeftQuarter(double width, double height);
int32_t SelectRightQuarter(double width, double height);

// Set the selection to the left half of the given width, or the top half of the given height.
int32_t SelectLeftPart(int32_t width, int32_t height);
int32_t SelectTopPart(int32_t width, int32_t height);

// Adds a rectangle to the selection.
int32_t AddRectangle(double top, double left, double bottom, double right);

}  // namespace zem
