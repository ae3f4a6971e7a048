#include "hostaccess/HostSuites.h"

#include "host/ResultCodes.h"
#include "hostaccess/HostFailure.h"
#include "hostaccess/PluginState.h"

namespace zem {

HostSuite HostSuites[kSuiteCount] = {
    {nullptr, host::kPSActionDescriptorSuiteVersion, host::kPSActionDescriptorSuite, 0, 0, 0},
    // Version 3 adds SuspendHistory; a host without it still plays the run through version 2.
    {nullptr, host::kPSActionControlSuiteVersionWithHistory, host::kPSActionControlSuite, 0,
     host::kPSActionControlSuiteVersion, 0},
    {nullptr, host::kPSActionReferenceSuiteVersion, host::kPSActionReferenceSuite, 0, 0, 0},
    {nullptr, host::kPSActionListSuiteVersion, host::kPSActionListSuite, 0, 0, 0},
    {nullptr, host::kPSUIHooksSuiteVersion, host::kPSUIHooksSuite, 0, 0, 0},
    {nullptr, host::kASZStringSuiteVersion, host::kASZStringSuite, 0, 0, 0},
    {nullptr, host::kSPAccessSuiteVersion, host::kSPAccessSuite, 0, 0, 0},
    {nullptr, host::kPSGetFileListSuiteVersion, host::kPSGetFileListSuite, 0, 0, 0},
    {nullptr, host::kPSPropertySuiteVersion, host::kPSPropertySuite, 0, 0, 0},
    // Version 1 has the same functions, SetLock one slot earlier.
    {nullptr, host::kPSHandleSuiteVersion, host::kPSHandleSuite, 0, host::kPSHandleSuiteVersion1, 0},
};

int32_t TryAcquireHostSuite(HostSuite& holder) noexcept {
  if (HostBasicSuite == nullptr) return host::kSPBadParameterError;
  // A refusing host may still write through the out-pointer; only a success fills the holder.
  const void* table = nullptr;
  int32_t version = holder.version;
  holder.lastError = HostBasicSuite->AcquireSuite(holder.name, version, &table);
  if (holder.lastError != 0 && holder.olderVersion != 0) {
    table = nullptr;
    version = holder.olderVersion;
    holder.lastError = HostBasicSuite->AcquireSuite(holder.name, version, &table);
  }
  if (holder.lastError == 0) {
    holder.suite = table;
    holder.heldVersion = version;
  }
  return holder.lastError;
}

HandleProcs HandleProcsOf(const HandleSuiteTable& table, int32_t version) noexcept {
  if (version == host::kPSHandleSuiteVersion1) {
    const auto& suite = reinterpret_cast<const host::PSHandleSuite1&>(table);
    return {suite.New, suite.Dispose, suite.SetLock};
  }
  const auto& suite = reinterpret_cast<const host::PSHandleSuite2&>(table);
  return {suite.New, suite.Dispose, suite.SetLock};
}

bool OptionalHandleSuite(HandleProcs& procs) noexcept {
  const HandleSuiteTable* table = OptionalSuite<HandleSuiteTable>(SuiteId::Handle);
  if (table == nullptr) return false;
  procs = HandleProcsOf(*table, Holder(SuiteId::Handle).heldVersion);
  return true;
}

void AcquireHostSuite(HostSuite& holder) {
  if (int32_t error = TryAcquireHostSuite(holder)) throw HostSuiteFailure{error};
}

static void ReleaseOne(HostSuite& holder) noexcept {
  if (holder.suite == nullptr || HostBasicSuite == nullptr) return;
  HostBasicSuite->ReleaseSuite(holder.name, holder.heldVersion);
  holder.suite = nullptr;
}

void ReleaseHostSuites() noexcept {
  for (HostSuite& holder : HostSuites) ReleaseOne(holder);
}

void ReleaseHostSuitesAtUnload() noexcept {
  for (int i = kSuiteCount - 1; i >= 0; --i) ReleaseOne(HostSuites[i]);
}

namespace {
// The module's static clean-up: runs when the module is unloaded (or the test program exits).
struct ReleaseAtUnload {
  ~ReleaseAtUnload() { ReleaseHostSuitesAtUnload(); }
} releaseAtUnload;
}  // namespace

}  // namespace zem
