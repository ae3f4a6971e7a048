#include "platform/PluginInstance.h"

#include "hostaccess/HostSuites.h"

namespace zem {

ModuleHandle PluginInstance = nullptr;
ModuleHandle OwnModule = nullptr;

ModuleHandle GetPluginInstance(host::SPPluginRef plugin) {
  if (plugin == nullptr) return PluginInstance;
  const host::SPAccessSuite& access = AccessSuite();
  host::SPAccessRef accessRef = nullptr;
  if (access.GetPluginAccess(plugin, &accessRef) != 0 || accessRef == nullptr) return PluginInstance;
  host::SPPlatformAccessInfo info{};
  // A host that cannot say where the resources are leaves the module's own handle in place, so
  // dialogs and strings still load from this module.
  if (access.GetAccessInfo(accessRef, &info) != 0) return PluginInstance;
  PluginInstance = info.resourceAccess != nullptr ? info.resourceAccess : info.defaultAccess;
  return PluginInstance;
}

}  // namespace zem
