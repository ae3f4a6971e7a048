#include "ModalDialog.h"

#include "../platform/ActivationContext.h"
#include "../platform/PluginInstance.h"
#include "GenericProc.h"

namespace zem {

int ModalDialog::RunModal(host::SPPluginRef plugin, int32_t id) {
  resourceId = id;
  pluginRef = plugin;
  HWND owner = GetActiveWindow();
  auto instance = static_cast<HINSTANCE>(GetPluginInstance(plugin));
  // A null instance would make the system look for the template in the host's own program.
  if (instance == nullptr) return -1;
  const INT_PTR result =
      DialogBoxParamInContext(instance, MAKEINTRESOURCEA(static_cast<WORD>(id & 0xFFFF)), owner, GenericProc,
                              reinterpret_cast<LPARAM>(this));
  return static_cast<int>(result);
}

}  // namespace zem
