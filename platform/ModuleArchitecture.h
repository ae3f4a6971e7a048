// What tells the plug-in's modules apart, in one place: the 32-bit (x86) one, the 64-bit (x64) one
// and the one for Windows on Arm (ARM64) differ in the PE machine field, the name under which the
// dialog procedure is exported and the key of the property list's code property. Everything else
// about them is the same: ARM64 Windows lays out types and records as x64 does.
//
// The export names differ because C names are decorated on x86 only: the dialog procedure is a
// stdcall function there, exported as "_GenericProc@16" (its 16 bytes of arguments), while x64
// and ARM64 have one calling convention and no decoration, so the same function is "GenericProc".
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "host/FourCC.h"

namespace zem {

struct ModuleArchitecture {
  const char* name;              // "x86", "x64" or "ARM64", as users see it
  int bits;                      // 32 or 64
  uint16_t peMachine;            // IMAGE_FILE_HEADER.Machine
  const char* dialogProcExport;  // the dialog procedure's export name
  uint32_t codePropertyKey;      // the property list's code property
};

inline constexpr ModuleArchitecture kX86Module{"x86", 32, 0x014C, "_GenericProc@16", host::FourCC("wx86")};
inline constexpr ModuleArchitecture kX64Module{"x64", 64, 0x8664, "GenericProc", host::FourCC("8664")};
inline constexpr ModuleArchitecture kArm64Module{"ARM64", 64, 0xAA64, "GenericProc", host::FourCC("wa64")};

// The architecture this code is built for. ARM64 and x64 have the same pointer size, so the
// compiler's own macro tells them apart (_M_ARM64 for MSVC, __aarch64__ for clang and GCC).
#if defined(_M_ARM64) || defined(__aarch64__)
inline constexpr const ModuleArchitecture& kThisModule = kArm64Module;
#else
inline constexpr const ModuleArchitecture& kThisModule = sizeof(void*) == 8 ? kX64Module : kX86Module;
#endif

// The architecture a PE machine field names, or null for any other machine.
constexpr const ModuleArchitecture* ArchitectureOfMachine(uint16_t machine) {
  for (const ModuleArchitecture* architecture : {&kX86Module, &kX64Module, &kArm64Module}) {
    if (architecture->peMachine == machine) return architecture;
  }
  return nullptr;
}

// The machine field of a PE image's first bytes, or 0 when they are not a PE image or too short.
uint16_t PeMachine(const uint8_t* bytes, size_t size);

}  // namespace zem
