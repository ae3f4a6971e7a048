// The basic suite that arrives with every message ("SP Basic Suite", version 4).
#pragma once

#include <cstddef>

#include "host/HostTypes.h"

namespace host {

struct SPBasicSuite {
  SPErr(HOST_API* AcquireSuite)(const char* name, int32_t version, const void** suite);
  SPErr(HOST_API* ReleaseSuite)(const char* name, int32_t version);
  SPBoolean(HOST_API* IsEqual)(const char* token1, const char* token2);
  SPErr(HOST_API* AllocateBlock)(size_t size, void** block);
  SPErr(HOST_API* FreeBlock)(void* block);
  SPErr(HOST_API* ReallocateBlock)(void* block, size_t newSize, void** newBlock);
  SPErr(HOST_API* Undefined)();
};

static_assert(sizeof(SPBasicSuite) == 7 * sizeof(void*), "seven slots");
static_assert(offsetof(SPBasicSuite, AllocateBlock) == 3 * sizeof(void*), "slot 3");

}  // namespace host
