// The module instance from which the plug-in loads its dialog templates and strings.
#pragma once

#include "host/HostTypes.h"

namespace zem {

// A module handle (HINSTANCE on Windows).
using ModuleHandle = void*;

// Set by every loader notification and by every lookup with a plug-in reference.
extern ModuleHandle PluginInstance;

// The module's own handle, as the loader gave it: where the module's file lies, even when the host
// names another module for the resources.
extern ModuleHandle OwnModule;

// Asks the host where the plug-in's resources are: its resource module when the host names one,
// else its default module. Without a reference, or when the host cannot answer, the handle the
// plug-in already had is kept. Raises as every suite use does when the access suite is refused.
ModuleHandle GetPluginInstance(host::SPPluginRef plugin);

}  // namespace zem
