// The wrapper every suite function of the host model is served through: whatever the model
// raises while serving a call (a failed allocation while an action is applied to a large image,
// say) comes back as a host error code, so that no C++ exception unwinds through the plug-in.
#pragma once

#include <cstdint>
#include <new>
#include <type_traits>

#include "host/HostTypes.h"
#include "host/ResultCodes.h"

namespace hostsim {

// The codes of a failed call, by the width of the slot's result: out of memory (memFullErr), and
// anything else. Both are nonzero in the 16 bits that the action suites return.
template <typename Result>
struct FailureCodes {
  static constexpr Result kMemoryFull = static_cast<Result>(host::kSPOutOfMemoryError);
  static constexpr Result kOther = static_cast<Result>(-1);
};

// For a comparison, whose only answer besides "equal" is 0.
struct NotEqualOnFailure {
  static constexpr int32_t kMemoryFull = 0;
  static constexpr int32_t kOther = 0;
};

// For the host's main window, whose only answer besides a window is none.
struct NoWindowOnFailure {
  static constexpr intptr_t kMemoryFull = 0;
  static constexpr intptr_t kOther = 0;
};

template <auto Function, typename Codes = void>
struct Guard;

template <typename Result, typename... Args, Result(HOST_API* Function)(Args...), typename Codes>
struct Guard<Function, Codes> {
  using Failure = std::conditional_t<std::is_void_v<Codes>, FailureCodes<Result>, Codes>;

  static Result HOST_API Call(Args... args) noexcept {
    try {
      return Function(args...);
    } catch (const std::bad_alloc&) {
      return static_cast<Result>(Failure::kMemoryFull);
    } catch (...) {
      return static_cast<Result>(Failure::kOther);
    }
  }
};

}  // namespace hostsim
