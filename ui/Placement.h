// The arithmetic of a dialog's placement, apart from the windows it is measured from.
#pragma once

namespace zem {

struct ScreenRect {
  int left;
  int top;
  int right;
  int bottom;
};

struct ScreenPoint {
  int x;
  int y;
};

// The top-left corner of a dialog of the given size over `area` (the owner's client area):
// centred horizontally, then moved left by `shift`; vertically with one third of the spare height
// above it. A dialog that would reach past the right or bottom edge of `bounds` is moved back to
// that edge, never past its left or top edge. Off the left or top edge is not corrected.
ScreenPoint PlaceDialog(const ScreenRect& area, int width, int height, int shift, const ScreenRect& bounds);

}  // namespace zem
