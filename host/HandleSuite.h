// The handle suite, versions 1 and 2. Only New, Dispose and SetLock are used, to hand the host a
// file's path as an alias handle.
#pragma once

#include <cstddef>

#include "host/HostTypes.h"

namespace host {

constexpr const char kPSHandleSuite[] = "Photoshop Handle Suite for Plug-ins";
constexpr int32_t kPSHandleSuiteVersion = 2;
constexpr int32_t kPSHandleSuiteVersion1 = 1;

// Version 1: six slots.
struct PSHandleSuite1 {
  Handle(HOST_API* New)(int32_t size);
  void(HOST_API* Dispose)(Handle handle);
  void(HOST_API* SetLock)(Handle handle, Boolean lock, char** address, Boolean* oldLock);
  int32_t(HOST_API* GetSize)(Handle handle);
  OSErr(HOST_API* SetSize)(Handle handle, int32_t newSize);
  void(HOST_API* RecoverSpace)(int32_t size);
};

// Version 2 inserts DisposeRegularHandle as the third slot, so SetLock and the slots after it sit
// one place later than in version 1.
struct PSHandleSuite2 {
  Handle(HOST_API* New)(int32_t size);
  void(HOST_API* Dispose)(Handle handle);
  void(HOST_API* DisposeRegularHandle)(Handle handle);
  void(HOST_API* SetLock)(Handle handle, Boolean lock, char** address, Boolean* oldLock);
  int32_t(HOST_API* GetSize)(Handle handle);
  OSErr(HOST_API* SetSize)(Handle handle, int32_t newSize);
  void(HOST_API* RecoverSpace)(int32_t size);
};

static_assert(sizeof(PSHandleSuite1) == 6 * sizeof(void*), "six slots");
static_assert(offsetof(PSHandleSuite1, SetLock) == 2 * sizeof(void*), "SetLock is slot 2 in version 1");
static_assert(sizeof(PSHandleSuite2) == 7 * sizeof(void*), "seven slots");
static_assert(offsetof(PSHandleSuite2, SetLock) == 3 * sizeof(void*), "SetLock is slot 3 in version 2");

}  // namespace host
