// The host's function tables, served to the plug-in by the basic suite's AcquireSuite. Slots the
// plug-in never calls are left null, so a call through a wrong slot fails loudly.
#pragma once

#include <cstdint>
#include <string>

#include "host/BasicSuite.h"

namespace hostsim {

host::SPBasicSuite BasicSuiteTable();

// The table of a suite the model serves, or null for an unknown name or version.
const void* FindSuiteTable(const std::string& name, int32_t version);

}  // namespace hostsim
