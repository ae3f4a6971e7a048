// The base of every dialog of the plug-in. A dialog is shown modally by RunModal and driven by the
// one dialog procedure, GenericProc, which hands it its initialisation, its commands and every
// other message while it is the active dialog.
#pragma once

#include <windows.h>

#include <cstdint>

#include "host/HostTypes.h"

namespace zem {

class ModalDialog {
 public:
  ModalDialog() = default;
  virtual ~ModalDialog() = default;
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  // Once, when the window exists and `window` is set.
  virtual void OnInit() {}
  // Every WM_COMMAND, with the control identifier, before OK or Cancel ends the dialog.
  virtual void OnCommand(int item) { (void)item; }
  // Every other message while the dialog is shown, apart from WM_DESTROY.
  virtual void OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    (void)message, (void)wParam, (void)lParam;
  }
  // Shows the dialog from the template `resourceId` of the plug-in's module, owned by the active
  // window, or without one by the host's main window (none when the host gives none). Returns the
  // value the dialog was ended with, or -1 when it could not be shown.
  virtual int RunModal(host::SPPluginRef plugin, int32_t resourceId);

  int32_t resourceId = 0;
  HWND window = nullptr;
  host::SPPluginRef pluginRef = nullptr;
};

}  // namespace zem
