// The plug-in's entry point, called by the host for every message it sends.
#pragma once

#include "host/HostTypes.h"

extern "C" host::SPErr HOST_API AutoPluginMain(const char* caller, const char* selector, void* message);
