// Calls into the module with every register its caller may rely on keeping set to a value of its
// own, and tells which came back changed. A callee must preserve them on every path, including a
// failure raised deep inside the module, caught at its entry point and turned into a result: the
// unwinder then restores them from the frames it passes through, and a register it misses is one
// the host finds changed. Written in assembly per architecture (preserved-*.S), since no compiler
// lets C++ choose what those registers hold across a call.
#pragma once

#include <cstdint>
#include <string>

#include "host/Messages.h"

extern "C" {
// Calls entry(caller, selector, message) with each preserved register holding its pattern; sets
// *changed to one bit per register that came back different, in the order of the list below.
host::SPErr HOST_API CallCheckingPreservedRegisters(host::SPPluginEntryPoint entry, const char* caller,
                                                    const char* selector, void* message, uint32_t* changed);
// The names of the registers checked, separated by spaces, one per bit of the mask.
extern const char PreservedRegisterNameList[];
// An entry point that breaks the rule on purpose, changing the first and the last register checked.
host::SPErr HOST_API ClobberPreservedRegistersForTest(const char* caller, const char* selector, void* message);
}

// The names of the registers set in a mask CallCheckingPreservedRegisters wrote, e.g. "d8 d9".
std::string PreservedRegisterNames(uint32_t changed);
