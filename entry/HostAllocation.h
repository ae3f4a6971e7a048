// The plug-in's memory, taken from the host's basic suite.
#pragma once

#include <cstddef>

namespace zem {

// Raises HostAllocationFailure: -50 without a basic suite, -108 when the host refuses.
void* HostAllocate(size_t size);

// Hands the block back to the host; a null block, or no basic suite, does nothing.
void HostFree(void* block) noexcept;

}  // namespace zem
