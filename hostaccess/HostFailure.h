// The two failures that are raised rather than returned: a suite the host will not hand out, and
// memory it will not allocate. Both abandon the call; the entry point turns them into its result.
#pragma once

#include <cstdint>
#include <new>

#include "host/ResultCodes.h"

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

// The result code of the failure being handled: to be called only inside a catch block. Anything
// that is not one of the plug-in's own failures is a bad parameter.
inline int32_t CodeOfCaughtFailure() noexcept {
  try {
    throw;
  } catch (const HostSuiteFailure& failure) {
    return failure.code;
  } catch (const HostAllocationFailure& failure) {
    return failure.code();
  } catch (const std::bad_alloc&) {
    return host::kSPOutOfMemoryError;
  } catch (...) {
    return host::kSPBadParameterError;
  }
}

}  // namespace zem
