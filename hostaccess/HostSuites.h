// Lazily acquired holders of the host suites, and the pass that releases them at the end of a call.
#pragma once

#include <cstdint>

#include "host/AccessSuite.h"
#include "host/ActionControlSuite.h"
#include "host/ActionDescriptorSuite.h"
#include "host/ActionListSuite.h"
#include "host/ActionReferenceSuite.h"
#include "host/GetFileListSuite.h"
#include "host/HandleSuite.h"
#include "host/PropertySuite.h"
#include "host/UIHooksSuite.h"
#include "host/ZStringSuite.h"

namespace zem {

struct HostSuite {
  const void* suite;  // null until acquired, null again after the release pass
  int32_t version;    // the version asked for first
  const char* name;
  int32_t lastError;  // result of the latest acquisition attempt
  int32_t olderVersion;  // asked for when the host refuses `version`; 0 for none
  int32_t heldVersion;   // the version of the table held, given back with it
};

// In the order of the release pass; the release at unload walks it backwards.
enum class SuiteId {
  ActionDescriptor,
  ActionControl,
  ActionReference,
  ActionList,
  UIHooks,
  ZString,
  Access,
  GetFileList,
  Property,
  Handle,
};
constexpr int kSuiteCount = 10;

extern HostSuite HostSuites[kSuiteCount];

inline HostSuite& Holder(SuiteId id) { return HostSuites[static_cast<int>(id)]; }

// Asks the basic suite for the holder's table. Raises HostSuiteFailure with 'Parm' when there is
// no basic suite, or with the host's code when it refuses.
void AcquireHostSuite(HostSuite& holder);

// The same acquisition for clean-up paths that must not raise: returns the code instead.
int32_t TryAcquireHostSuite(HostSuite& holder) noexcept;

// Releases every filled holder through the current basic suite; without one, releases nothing.
void ReleaseHostSuites() noexcept;

// The same walk in reverse, for holders an abandoned call left filled when the module goes away.
void ReleaseHostSuitesAtUnload() noexcept;

template <typename Table>
const Table& UseSuite(SuiteId id) {
  HostSuite& holder = Holder(id);
  if (holder.suite == nullptr) AcquireHostSuite(holder);
  return *static_cast<const Table*>(holder.suite);
}

// The table, acquired without raising, or null when the host will not give it: for destructors,
// and for what may go without the suite.
template <typename Table>
const Table* OptionalSuite(SuiteId id) noexcept {
  HostSuite& holder = Holder(id);
  if (holder.suite == nullptr && TryAcquireHostSuite(holder) != 0) return nullptr;
  return static_cast<const Table*>(holder.suite);
}

inline const host::PSActionDescriptorProcs& DescriptorSuite() {
  return UseSuite<host::PSActionDescriptorProcs>(SuiteId::ActionDescriptor);
}
inline const host::PSActionControlProcs& ControlSuite() {
  return UseSuite<host::PSActionControlProcs>(SuiteId::ActionControl);
}
inline const host::PSActionReferenceProcs& ReferenceSuite() {
  return UseSuite<host::PSActionReferenceProcs>(SuiteId::ActionReference);
}
inline const host::PSActionListProcs& ListSuite() { return UseSuite<host::PSActionListProcs>(SuiteId::ActionList); }
inline const host::PSUIHooksSuite1& UIHooksSuite() { return UseSuite<host::PSUIHooksSuite1>(SuiteId::UIHooks); }
inline const host::ASZStringSuite& ZStringSuite() { return UseSuite<host::ASZStringSuite>(SuiteId::ZString); }
inline const host::SPAccessSuite& AccessSuite() { return UseSuite<host::SPAccessSuite>(SuiteId::Access); }
inline const host::PSGetFileListSuite4& GetFileListSuite() {
  return UseSuite<host::PSGetFileListSuite4>(SuiteId::GetFileList);
}
inline const host::PSPropertySuite& PropertySuite() { return UseSuite<host::PSPropertySuite>(SuiteId::Property); }

// The handle functions the plug-in calls, read from the table of the version the host gave, each
// version through its own slot layout: version 2 inserts a slot before SetLock.
struct HandleProcs {
  host::Handle(HOST_API* New)(int32_t size);
  void(HOST_API* Dispose)(host::Handle handle);
  void(HOST_API* SetLock)(host::Handle handle, host::Boolean lock, char** address, host::Boolean* oldLock);
};

// The table of the handle suite as the host served it, version 1 or 2; read only through
// HandleProcsOf, never as a struct of its own.
struct HandleSuiteTable;

HandleProcs HandleProcsOf(const HandleSuiteTable& table, int32_t version) noexcept;

// The handle suite only serves loading the action set, which goes without it when the host
// refuses it. Version 2 where the host serves it, version 1 otherwise; false, nothing raised,
// when it serves neither.
bool OptionalHandleSuite(HandleProcs& procs) noexcept;

// Whether the action control suite held is version 3 or later, with SuspendHistory. Acquires it.
inline bool ControlSuiteSuspendsHistory() {
  ControlSuite();
  return Holder(SuiteId::ActionControl).heldVersion >= host::kPSActionControlSuiteVersionWithHistory;
}

}  // namespace zem
