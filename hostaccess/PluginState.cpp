#include "hostaccess/PluginState.h"

namespace zem {

host::SPBasicSuite* HostBasicSuite = nullptr;
host::SPPluginRef HostPluginRef = nullptr;
SplitMode CurrentMode = 0;
int32_t RunStatus = 0;

}  // namespace zem
