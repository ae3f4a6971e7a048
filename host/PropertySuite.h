// The property suite, version 1: the classic property record, a 4-byte header before two procs.
#pragma once

#include <cstddef>

#include "HostTypes.h"

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

static_assert(!kIs32BitAbi || sizeof(PSPropertySuite) == 12, "12-byte record on Win32");
static_assert(!kIs32BitAbi || offsetof(PSPropertySuite, getPropertyProc) == 4, "get proc after the header");
static_assert(!kIs32BitAbi || offsetof(PSPropertySuite, setPropertyProc) == 8, "set proc second");

}  // namespace host
