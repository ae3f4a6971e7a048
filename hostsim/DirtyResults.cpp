#include "hostsim/DirtyResults.h"

#include <type_traits>

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
#include "hostsim/Suites.h"

namespace hostsim {
namespace {

using namespace host;

// The value the register holds: the code in its declared width, the pattern above it.
template <typename Result>
intptr_t WithGarbage(Result code) {
  using Unsigned = std::make_unsigned_t<Result>;
  const uintptr_t low = static_cast<Unsigned>(code);
  if constexpr (sizeof(Result) >= sizeof(uintptr_t)) {
    return static_cast<intptr_t>(low);
  } else {
    constexpr uintptr_t kLowMask = (uintptr_t{1} << (8 * sizeof(Result))) - 1;
    return static_cast<intptr_t>((kResultGarbage & ~kLowMask) | low);
  }
}

// One slot of one table: `Call` has the slot's arguments and returns a whole register. It is put
// into the slot through a cast of the function pointer; the caller, compiled on its own, reads
// the register as the slot's declared type.
template <auto Slot>
struct DirtySlot;

template <typename Table, typename Result, typename... Args, Result(HOST_API* Table::*Slot)(Args...)>
struct DirtySlot<Slot> {
  static inline const Table* clean = nullptr;

  static intptr_t HOST_API Call(Args... args) { return WithGarbage((clean->*Slot)(args...)); }

  static void Install(Table& dirty, const Table& source) {
    if (source.*Slot == nullptr) return;
    clean = &source;
    // Through the generic function pointer type, which converts to any other without warnings.
    dirty.*Slot = reinterpret_cast<Result(HOST_API*)(Args...)>(reinterpret_cast<void (*)()>(&Call));
  }
};

template <auto... Slots, typename Table>
Table Dirty(const Table& source) {
  Table dirty = source;
  (DirtySlot<Slots>::Install(dirty, source), ...);
  return dirty;
}

template <typename Table>
const Table& Served(const char* name, int32_t version) {
  return *static_cast<const Table*>(FindSuiteTable(name, version));
}

using D = PSActionDescriptorProcs;
using R = PSActionReferenceProcs;
using L = PSActionListProcs;
using C = PSActionControlProcs;

struct DirtyTables {
  PSActionDescriptorProcs descriptor = Dirty<&D::Make, &D::Free, &D::PutInteger, &D::PutUnitFloat, &D::PutBoolean,
                                             &D::PutList, &D::PutObject, &D::PutEnumerated, &D::PutReference,
                                             &D::PutAlias, &D::GetInteger>(
      Served<D>(kPSActionDescriptorSuite, kPSActionDescriptorSuiteVersion));
  PSActionControlProcs control = Dirty<&C::Play, &C::Get>(Served<C>(kPSActionControlSuite, kPSActionControlSuiteVersion));
  PSActionControlProcs control3 = Dirty<&C::Play, &C::Get, &C::SuspendHistory>(
      Served<C>(kPSActionControlSuite, kPSActionControlSuiteVersionWithHistory));
  PSActionReferenceProcs reference = Dirty<&R::Make, &R::Free, &R::PutName, &R::PutEnumerated, &R::PutProperty>(
      Served<R>(kPSActionReferenceSuite, kPSActionReferenceSuiteVersion));
  PSActionListProcs list =
      Dirty<&L::Make, &L::Free, &L::PutObject>(Served<L>(kPSActionListSuite, kPSActionListSuiteVersion));
  PSUIHooksSuite1 uiHooks =
      Dirty<&PSUIHooksSuite1::GetPluginName>(Served<PSUIHooksSuite1>(kPSUIHooksSuite, kPSUIHooksSuiteVersion));
  ASZStringSuite zstring =
      Dirty<&ASZStringSuite::Release>(Served<ASZStringSuite>(kASZStringSuite, kASZStringSuiteVersion));
  SPAccessSuite access = Dirty<&SPAccessSuite::GetPluginAccess, &SPAccessSuite::GetAccessInfo>(
      Served<SPAccessSuite>(kSPAccessSuite, kSPAccessSuiteVersion));
  PSGetFileListSuite4 getFileList = Dirty<&PSGetFileListSuite4::BrowseUrl>(
      Served<PSGetFileListSuite4>(kPSGetFileListSuite, kPSGetFileListSuiteVersion));
  PSPropertySuite property = Dirty<&PSPropertySuite::getPropertyProc>(
      Served<PSPropertySuite>(kPSPropertySuite, kPSPropertySuiteVersion));
};

const DirtyTables& Tables() {
  static const DirtyTables tables;
  return tables;
}

}  // namespace

const void* FindDirtySuiteTable(const std::string& name, int32_t version) {
  const DirtyTables& tables = Tables();
  const struct {
    const char* name;
    int32_t version;
    const void* table;
  } twins[] = {
      {kPSActionDescriptorSuite, kPSActionDescriptorSuiteVersion, &tables.descriptor},
      {kPSActionControlSuite, kPSActionControlSuiteVersion, &tables.control},
      {kPSActionControlSuite, kPSActionControlSuiteVersionWithHistory, &tables.control3},
      // Its results are a handle, a size and nothing: none is narrower than the register.
      {kPSHandleSuite, kPSHandleSuiteVersion1, FindSuiteTable(kPSHandleSuite, kPSHandleSuiteVersion1)},
      {kPSHandleSuite, kPSHandleSuiteVersion, FindSuiteTable(kPSHandleSuite, kPSHandleSuiteVersion)},
      {kPSActionReferenceSuite, kPSActionReferenceSuiteVersion, &tables.reference},
      {kPSActionListSuite, kPSActionListSuiteVersion, &tables.list},
      {kPSUIHooksSuite, kPSUIHooksSuiteVersion, &tables.uiHooks},
      {kASZStringSuite, kASZStringSuiteVersion, &tables.zstring},
      {kSPAccessSuite, kSPAccessSuiteVersion, &tables.access},
      {kPSGetFileListSuite, kPSGetFileListSuiteVersion, &tables.getFileList},
      {kPSPropertySuite, kPSPropertySuiteVersion, &tables.property},
  };
  for (const auto& twin : twins) {
    if (name == twin.name && version == twin.version) return twin.table;
  }
  return nullptr;
}

host::SPBasicSuite DirtyBasicSuiteTable() {
  static const SPBasicSuite clean = BasicSuiteTable();
  using B = SPBasicSuite;
  return Dirty<&B::AcquireSuite, &B::ReleaseSuite, &B::IsEqual, &B::AllocateBlock, &B::FreeBlock,
               &B::ReallocateBlock>(clean);
}

}  // namespace hostsim
