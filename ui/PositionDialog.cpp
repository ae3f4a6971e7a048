#include "PositionDialog.h"

namespace zem {
namespace {

int NotNegative(LONG value) { return value < 0 ? 0 : static_cast<int>(value); }

}  // namespace

void PositionDialog(HWND dialog) {
  HWND owner = GetParent(dialog);
  if (owner == nullptr) owner = GetDesktopWindow();

  RECT client{};
  GetClientRect(owner, &client);
  POINT areaTopLeft{client.left, client.top};
  POINT areaBottomRight{client.right, client.bottom};
  ClientToScreen(owner, &areaTopLeft);
  ClientToScreen(owner, &areaBottomRight);

  int shift = GetSystemMetrics(SM_CXSIZE);
  if ((GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU) == 0) shift -= shift / 3;

  RECT bounds{};
  GetWindowRect(dialog, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;

  int x = areaTopLeft.x + NotNegative(areaBottomRight.x - areaTopLeft.x - width) / 2 - shift;
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  if (x + width > screenWidth) x = NotNegative(screenWidth - width);

  int y = areaTopLeft.y + NotNegative(areaBottomRight.y - areaTopLeft.y - height) / 3;
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  if (y + height > screenHeight) y = NotNegative(screenHeight - height);

  SetWindowPos(dialog, nullptr, x, y, width, height, SWP_NOZORDER);
}

}  // namespace zem
