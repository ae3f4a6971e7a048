// What the entry point calls of the user interface. Platform-neutral declarations; the dialogs
// themselves are Windows code.
#pragma once

#include <cstdint>

#include "host/HostTypes.h"

namespace zem {

// 0 after OK, with the chosen mode stored as the current mode; -128 when left any other way.
int RunModeDialog();

// Shows the About box from the given dialog template and string; returns how it was ended.
int ShowAboutBox(host::SPPluginRef plugin, int32_t resourceId);

}  // namespace zem
