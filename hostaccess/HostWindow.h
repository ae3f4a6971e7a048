// The host's main window, for a dialog that finds no active window to be owned by.
#pragma once

#include <cstdint>

namespace zem {

// The window UIHooks' MainAppWindow hands out (an HWND on Windows), or 0 when the host has none
// or the suite cannot be had. Uses the suite's holder, acquiring it only when it is still empty;
// the release pass gives it back. Never raises: a missing owner never ends the call.
intptr_t HostMainWindow() noexcept;

}  // namespace zem
