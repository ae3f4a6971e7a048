#include "ui/PositionDialog.h"

#include "ui/Placement.h"

namespace zem {
namespace {

ScreenRect FromRect(const RECT& rect) {
  return {static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
          static_cast<int>(rect.bottom)};
}

ScreenRect ClientAreaOnScreen(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT topLeft{client.left, client.top};
  POINT bottomRight{client.right, client.bottom};
  ClientToScreen(window, &topLeft);
  ClientToScreen(window, &bottomRight);
  return {static_cast<int>(topLeft.x), static_cast<int>(topLeft.y), static_cast<int>(bottomRight.x),
          static_cast<int>(bottomRight.y)};
}

}  // namespace

void PositionDialog(HWND dialog) {
  HWND owner = GetParent(dialog);
  HMONITOR monitor = nullptr;
  if (owner != nullptr) {
    monitor = MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
  } else {
    POINT cursor{};
    GetCursorPos(&cursor);
    monitor = MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
  }
  MONITORINFO screen{};
  screen.cbSize = sizeof screen;
  ScreenRect area{};
  ScreenRect bounds{};
  if (monitor != nullptr && GetMonitorInfoA(monitor, &screen)) {
    area = owner != nullptr ? ClientAreaOnScreen(owner) : FromRect(screen.rcMonitor);
    bounds = FromRect(screen.rcWork);
  } else {
    // No monitor to ask: the desktop's area inside the primary screen.
    area = ClientAreaOnScreen(owner != nullptr ? owner : GetDesktopWindow());
    bounds = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }

  int shift = GetSystemMetrics(SM_CXSIZE);
  if ((GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU) == 0) shift -= shift / 3;

  RECT frame{};
  GetWindowRect(dialog, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const ScreenPoint corner = PlaceDialog(area, width, height, shift, bounds);
  SetWindowPos(dialog, nullptr, corner.x, corner.y, width, height, SWP_NOZORDER);
}

}  // namespace zem
