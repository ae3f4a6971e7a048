// Suite tables whose functions leave garbage in the result register above their declared width.
//
// A caller may read only the bits of a function's declared result type: AX of a 16-bit code, EAX
// of a 32-bit one (on x64, RAX bits 32-63 carry nothing). A host is free to leave the rest set,
// and a plug-in that reads more than it should turns a success into an error. These tables prove
// that the plug-in reads only what it may: each function calls the model's own and returns its
// code with every bit above the declared width filled with a pattern.
#pragma once

#include <cstdint>
#include <string>

#include "host/BasicSuite.h"

namespace hostsim {

// What the bits above a result's declared width hold: a pattern that no sign extension produces.
constexpr uintptr_t kResultGarbage = static_cast<uintptr_t>(0x5A5A5A5A5A5A5A5AULL);

// The dirty twin of a suite table the model serves (FindSuiteTable), or null for a suite it has
// no twin for.
const void* FindDirtySuiteTable(const std::string& name, int32_t version);

// The dirty twin of the basic suite.
host::SPBasicSuite DirtyBasicSuiteTable();

}  // namespace hostsim
