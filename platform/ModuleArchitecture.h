// What tells a 32-bit (x86) module of the plug-in from a 64-bit (x64) one, in one place: the PE
// machine field, the name under which the dialog procedure is exported and the key of the
// property list's code property. Everything else about the two modules is the same.
//
// The export names differ because C names are decorated on x86 only: the dialog procedure is a
// stdcall function there, exported as "_GenericProc@16" (its 16 bytes of arguments), while x64
// has one calling convention and no decoration, so the same function is "GenericProc".
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/FourCC.h"

namespace zem {

struct ModuleArchitecture {
  const char* name;              // "x86" or "x64", as users see it
  int bits;                      // 32 or 64
  uint16_t peMachine;            // IMAGE_FILE_HEADER.Machine
  const char* dialogProcExport;  // the dialog procedure's export name
  uint32_t codePropertyKey;      // the property list's code property
};

inline constexpr ModuleArchitecture kX86Module{"x86", 32, 0x014C, "_GenericProc@16", host::FourCC("wx86")};
inline constexpr ModuleArchitecture kX64Module{"x64", 64, 0x8664, "GenericProc", host::FourCC("8664")};

// The architecture this code is built for.
inline constexpr const ModuleArchitecture& kThisModule = sizeof(void*) == 8 ? kX64Module : kX86Module;

// The architecture a PE machine field names, or null for any other machine.
constexpr const ModuleArchitecture* ArchitectureOfMachine(uint16_t machine) {
  return machine == kX86Module.peMachine ? &kX86Module : machine == kX64Module.peMachine ? &kX64Module : nullptr;
}

// The machine field of a PE image's first bytes, or 0 when they are not a PE image or too short.
uint16_t PeMachine(const uint8_t* bytes, size_t size);

}  // namespace zem
