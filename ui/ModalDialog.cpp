#include "ui/ModalDialog.h"

#include "hostaccess/HostWindow.h"
#include "platform/ActivationContext.h"
#include "platform/PluginInstance.h"
#include "ui/GenericProc.h"

namespace zem {

int ModalDialog::RunModal(host::SPPluginRef plugin, int32_t id) {
  resourceId = id;
  pluginRef = plugin;
  auto instance = static_cast<HINSTANCE>(GetPluginInstance(plugin));
  // A null instance would make the system look for the template in the host's own program.
  if (instance == nullptr) return -1;
  // Run from a script while the host is in the background, the thread has no active window: the
  // host's main window is then the owner, so that the host is disabled while the dialog is up.
  HWND owner = GetActiveWindow();
  if (owner == nullptr) owner = reinterpret_cast<HWND>(HostMainWindow());
  if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
  const INT_PTR result =
      DialogBoxParamInContext(instance, MAKEINTRESOURCEA(static_cast<WORD>(id & 0xFFFF)), owner, GenericProc,
                              reinterpret_cast<LPARAM>(this));
  return static_cast<int>(result);
}

}  // namespace zem
