// The two failures that are raised rather than returned: a suite the host will not hand out, and
// memory it will not allocate. Both abandon the call; the entry point turns them into its result.
#pragma once

#include <cstdint>
#include <new>

namespace zem {

struct HostSuiteFailure {
  int32_t code;
};

class HostAllocationFailure : public std::bad_alloc {
 public:
  explicit HostAllocationFailure(int32_t code) : code_(code) {}
  int32_t code() const noexcept { return code_; }
  const char* what() const noexcept override { return "host allocation failed"; }

 private:
  int32_t code_;
};

}  // namespace zem
