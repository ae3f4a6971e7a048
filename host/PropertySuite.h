// The property suite, version 1: the classic property record, a 4-byte header before two procs.
// A simple property is pointer-sized: the host writes 4 bytes on x86 and 8 on x64.
#pragma once

#include <cstddef>

#include "host/HostTypes.h"

namespace host {

constexpr const char kPSPropertySuite[] = "Photoshop Property Suite for Plug-ins";
constexpr int32_t kPSPropertySuiteVersion = 1;

using GetPropertyProc = OSErr(HOST_API*)(PIType signature, PIType key, int32_t index, intptr_t* simpleProperty,
                                         Handle* complexProperty);
using SetPropertyProc = OSErr(HOST_API*)(PIType signature, PIType key, int32_t index, intptr_t simpleProperty,
                                         Handle complexProperty);

struct PSPropertySuite {
  int16_t propertyProcsVersion;  // 1
  int16_t numPropertyProcs;      // 2
  GetPropertyProc getPropertyProc;
  SetPropertyProc setPropertyProc;
};

// Natural alignment: on x64 the two 16-bit header fields are followed by 4 bytes of padding, so
// the procs sit at 8 and 16, not at the x86 offsets 4 and 8.
static_assert(sizeof(PSPropertySuite) == ByAbi(12, 24), "property record: 12 bytes on x86, 24 on x64");
static_assert(offsetof(PSPropertySuite, numPropertyProcs) == 2, "proc count after the version");
static_assert(offsetof(PSPropertySuite, getPropertyProc) == ByAbi(4, 8), "get proc after the header");
static_assert(offsetof(PSPropertySuite, setPropertyProc) == ByAbi(8, 16), "set proc second");

}  // namespace host
