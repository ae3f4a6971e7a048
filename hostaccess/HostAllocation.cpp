#include "hostaccess/HostAllocation.h"

#include "host/ResultCodes.h"
#include "hostaccess/HostFailure.h"
#include "hostaccess/PluginState.h"

namespace zem {

void* HostAllocate(size_t size) {
  if (HostBasicSuite == nullptr) throw HostAllocationFailure(host::kParamErr);
  void* block = nullptr;
  if (HostBasicSuite->AllocateBlock(size, &block) != 0) throw HostAllocationFailure(host::kSPOutOfMemoryError);
  return block;
}

void HostFree(void* block) noexcept {
  if (block != nullptr && HostBasicSuite != nullptr) HostBasicSuite->FreeBlock(block);
}

}  // namespace zem
