#pragma once

#include <windows.h>

namespace zem {

// Places a dialog over its owner's client area (the desktop's when it has none): centred
// horizontally, then moved left by a caption button's width (two thirds of it without a system
// menu); vertically with one third of the spare height above it. A dialog that would reach past
// the screen's right or bottom edge is moved back to it, never to a negative coordinate.
void PositionDialog(HWND dialog);

}  // namespace zem
