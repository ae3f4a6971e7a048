// The UIHooks suite, version 1: 8 slots. GetPluginName (slot 7) and MainAppWindow (slot 4) are used.
#pragma once

#include <cstddef>

#include "host/HostTypes.h"

namespace host {

constexpr const char kPSUIHooksSuite[] = "Photoshop UIHooks Suite for Plug-ins";
constexpr int32_t kPSUIHooksSuiteVersion = 1;

struct PSUIHooksSuite1 {
  void(HOST_API* processEvent)(void* event);
  OSErr(HOST_API* displayPixels)(const void* source, const void* sourceRect, int32_t dstRow, int32_t dstCol,
                                 void* platformContext);
  void(HOST_API* progressBar)(int32_t done, int32_t total);
  Boolean(HOST_API* testAbort)();
  intptr_t(HOST_API* MainAppWindow)();
  SPErr(HOST_API* SetCursor)(const char* cursorId);
  uint32_t(HOST_API* TickCount)();
  SPErr(HOST_API* GetPluginName)(SPPluginRef plugin, ASZString* name);
};

static_assert(sizeof(PSUIHooksSuite1) == 8 * sizeof(void*), "eight slots");
static_assert(offsetof(PSUIHooksSuite1, GetPluginName) == 7 * sizeof(void*), "slot 7");

}  // namespace host
