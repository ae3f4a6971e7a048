// The plug-in's memory, taken from the host's basic suite.
#pragma once

#include <cstddef>

namespace zem {

// Raises HostAllocationFailure: -50 without a basic suite, -108 when the host refuses.
void* HostAllocate(size_t size);

// Hands the block back to the host; a null block, or no basic suite, does nothing.
void HostFree(void* block) noexcept;

// A block of host memory owned by a scope.
class HostBlock {
 public:
  explicit HostBlock(size_t size) : block_(HostAllocate(size)) {}
  ~HostBlock() { HostFree(block_); }
  HostBlock(const HostBlock&) = delete;
  HostBlock& operator=(const HostBlock&) = delete;

  void* get() const { return block_; }

 private:
  void* block_;
};

}  // namespace zem
