#include "ui/Placement.h"

namespace zem {
namespace {

int AtLeast(int floor, int value) { return value < floor ? floor : value; }

}  // namespace

ScreenPoint PlaceDialog(const ScreenRect& area, int width, int height, int shift, const ScreenRect& bounds) {
  int x = area.left + AtLeast(0, area.right - area.left - width) / 2 - shift;
  if (x + width > bounds.right) x = AtLeast(bounds.left, bounds.right - width);

  int y = area.top + AtLeast(0, area.bottom - area.top - height) / 3;
  if (y + height > bounds.bottom) y = AtLeast(bounds.top, bounds.bottom - height);
  return {x, y};
}

}  // namespace zem
