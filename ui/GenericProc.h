// The one dialog procedure of the plug-in, and the dialog it is driving.
#pragma once

#include <windows.h>

#include "ui/ModalDialog.h"

namespace zem {

// The dialog whose window is shown: set at WM_INITDIALOG, cleared at WM_DESTROY. The plug-in
// shows one dialog at a time.
extern ModalDialog* ActiveDialog;

}  // namespace zem

// Exported as _GenericProc@16 from the x86 module and as GenericProc from the x64 one. WM_INITDIALOG's lParam is the ModalDialog being shown.
extern "C" INT_PTR CALLBACK GenericProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
