// GoogleTest's Notification is built on std::mutex, which the win32 thread model of MinGW lacks.
// This one, on a Win32 event, takes its place through GoogleTest's GTEST_HAS_NOTIFICATION_ hook.
#pragma once

#include <windows.h>

#include "platform/WindowsHandles.h"

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event_.get()); }
  void WaitForNotification() { WaitForSingleObject(event_.get(), INFINITE); }

 private:
  zem::UniqueKernelObject event_;
};

}  // namespace internal
}  // namespace testing
