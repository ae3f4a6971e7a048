// The SP Access suite, version 3: 12 slots returning 32-bit codes.
#pragma once

#include <cstddef>

#include "host/HostTypes.h"
#include "host/Messages.h"

namespace host {

constexpr const char kSPAccessSuite[] = "SP Access Suite";
constexpr int32_t kSPAccessSuiteVersion = 3;

// Where the plug-in's code and resources come from, on Windows.
struct SPPlatformAccessInfo {
  void* defaultAccess;   // the plug-in's module handle
  void* resourceAccess;  // null unless the host moved the resources elsewhere
  uint32_t lastAccessTicks;
};

struct SPAccessSuite {
  SPErr(HOST_API* AcquirePlugin)(SPPluginRef plugin, SPAccessRef* access);
  SPErr(HOST_API* ReleasePlugin)(SPAccessRef access);
  SPErr(HOST_API* GetPluginAccess)(SPPluginRef plugin, SPAccessRef* access);
  SPErr(HOST_API* GetAccessPlugin)(SPAccessRef access, SPPluginRef* plugin);
  SPErr(HOST_API* GetAccessEntry)(SPAccessRef access, SPPluginEntryPoint* entry);
  SPErr(HOST_API* GetAccessCount)(SPAccessRef access, int32_t* count);
  SPErr(HOST_API* GetAccessInfo)(SPAccessRef access, SPPlatformAccessInfo* info);
  SPErr(HOST_API* GetPluginResourceAccess)(SPPluginRef plugin, void** resourceAccess);
  SPErr(HOST_API* SetPluginResourceAccess)(SPPluginRef plugin, void* resourceAccess);
  SPErr(HOST_API* CallPlugin)(SPAccessRef access, const char* caller, const char* selector, void* message,
                              SPErr* result);
  SPErr(HOST_API* GetCurrentPlugin)(SPPluginRef* plugin);
  SPErr(HOST_API* SetCurrentPlugin)(SPPluginRef plugin);
};

static_assert(sizeof(SPAccessSuite) == 12 * sizeof(void*), "12 slots");
static_assert(offsetof(SPAccessSuite, GetPluginAccess) == 2 * sizeof(void*), "slot 2");
static_assert(offsetof(SPAccessSuite, GetAccessInfo) == 6 * sizeof(void*), "slot 6");
// Natural alignment: on x64 the tick count is followed by 4 bytes of tail padding, and a host may
// write the whole record.
static_assert(offsetof(SPPlatformAccessInfo, resourceAccess) == ByAbi(4, 8), "resource access second");
static_assert(offsetof(SPPlatformAccessInfo, lastAccessTicks) == ByAbi(8, 16), "tick count after the handles");
static_assert(sizeof(SPPlatformAccessInfo) == ByAbi(12, 24), "access info: 12 bytes on x86, 24 on x64");

}  // namespace host
