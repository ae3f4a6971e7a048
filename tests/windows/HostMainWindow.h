// A top-level window of the test program standing for the host's main window: by default shown
// without being activated, so that the thread that shows a dialog has no active window, as when a
// script runs the plug-in while the host is in the background; or shown and activated.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/WindowsHandles.h"

class HostMainWindow {
 public:
  HostMainWindow(int x, int y, int width, int height, bool active = false) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    windowClass.lpszClassName = "HostMainWindowStandIn";
    RegisterClassA(&windowClass);  // fails harmlessly once registered
    window_.reset(CreateWindowExA(active ? 0 : WS_EX_NOACTIVATE, windowClass.lpszClassName, "Host", WS_POPUP, x, y,
                                  width, height, nullptr, nullptr, windowClass.hInstance, nullptr));
    ShowWindow(window_.get(), active ? SW_SHOW : SW_SHOWNOACTIVATE);
    if (active) SetActiveWindow(window_.get());
  }

  HWND handle() const { return window_.get(); }
  // As UIHooks' MainAppWindow hands it out.
  intptr_t value() const { return reinterpret_cast<intptr_t>(window_.get()); }

 private:
  zem::UniqueWindow window_;
};
