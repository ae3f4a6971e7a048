// Routes every dynamic allocation of the plug-in module through the host. Linked into the module
// only, so that test programs keep their own allocator.
#include <cstddef>
#include <new>

#include "hostaccess/HostAllocation.h"

void* operator new(std::size_t size) { return zem::HostAllocate(size); }
void* operator new[](std::size_t size) { return zem::HostAllocate(size); }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return zem::HostAllocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }

void operator delete(void* block) noexcept { zem::HostFree(block); }
void operator delete[](void* block) noexcept { zem::HostFree(block); }
void operator delete(void* block, std::size_t) noexcept { zem::HostFree(block); }
void operator delete[](void* block, std::size_t) noexcept { zem::HostFree(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { zem::HostFree(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { zem::HostFree(block); }
