#pragma once

#include <windows.h>

namespace zem {

// Places a dialog by PlaceDialog's rule over its owner's client area, kept inside the work area
// of the monitor that holds the owner. Without an owner, the area is the monitor nearest the
// cursor and the bounds its work area. On a single monitor whose work area is the whole screen,
// that is the owner's (or the desktop's) client area kept inside the screen.
void PositionDialog(HWND dialog);

}  // namespace zem
