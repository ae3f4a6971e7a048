#include "ui/GenericProc.h"

#include "ui/PositionDialog.h"

namespace zem {

ModalDialog* ActiveDialog = nullptr;

namespace {

// Runs a dialog's handler. Nothing it raises may unwind into the system's dialog manager, which
// called us: a failure ends the handler and the message is treated as handled.
template <typename Handler>
void Contained(Handler handler) noexcept {
  try {
    handler();
  } catch (...) {
  }
}

}  // namespace
}  // namespace zem

extern "C" INT_PTR CALLBACK GenericProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  using zem::ActiveDialog;
  switch (message) {
    case WM_INITDIALOG:
      zem::PositionDialog(window);
      ActiveDialog = reinterpret_cast<zem::ModalDialog*>(lParam);
      if (ActiveDialog == nullptr) return FALSE;
      ActiveDialog->window = window;
      zem::Contained([] { ActiveDialog->OnInit(); });
      return TRUE;

    case WM_COMMAND: {
      const int item = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (ActiveDialog != nullptr) zem::Contained([item] { ActiveDialog->OnCommand(item); });
      // Only a plain command ends the dialog, after the dialog has read its controls.
      if ((item == IDOK || item == IDCANCEL) && code == 0) EndDialog(window, item);
      return TRUE;
    }

    case WM_DESTROY:
      ActiveDialog = nullptr;
      return FALSE;

    default:
      if (ActiveDialog != nullptr) {
        zem::Contained([message, wParam, lParam] { ActiveDialog->OnMessage(message, wParam, lParam); });
      } else {
        DefWindowProcA(window, message, wParam, lParam);
      }
      return FALSE;
  }
}
