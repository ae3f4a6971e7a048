// The built-in ZEM_Variations.atn, the file shipped with the plug-in, carried by the host model so
// that tests and the reference host play what the plug-in ships.
#pragma once

#include <cstdint>
#include <vector>

namespace hostsim {

const std::vector<uint8_t>& DefaultActionSetBytes();

}  // namespace hostsim
