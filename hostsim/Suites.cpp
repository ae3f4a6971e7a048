#include "hostsim/Suites.h"

#include <algorithm>
#include <cstring>

#include "host/AccessSuite.h"
#include "host/ActionControlSuite.h"
#include "host/ActionDescriptorSuite.h"
#include "host/ActionListSuite.h"
#include "host/ActionReferenceSuite.h"
#include "host/GetFileListSuite.h"
#include "host/HandleSuite.h"
#include "host/PropertySuite.h"
#include "host/ResultCodes.h"
#include "host/UIHooksSuite.h"
#include "host/ZStringSuite.h"
#include "hostsim/Host.h"
#include "hostsim/SuiteGuard.h"

namespace hostsim {
namespace {

using namespace host;

Host& H() { return Host::Current(); }

template <typename HandleT>
uintptr_t Id(HandleT handle) {
  return reinterpret_cast<uintptr_t>(handle);
}

template <typename HandleT>
HandleT As(uintptr_t id) {
  return reinterpret_cast<HandleT>(id);
}

// A refused call: the plug-in passed something the host cannot use.
constexpr OSErr kRefused = static_cast<OSErr>(kParamErr);

// A code for a 16-bit slot. A failure whose low 16 bits are 0 (0x10000) would read as success
// there, so it becomes -1.
OSErr Short(int32_t code) {
  const OSErr narrow = static_cast<OSErr>(code);
  return code != 0 && narrow == 0 ? OSErr(-1) : narrow;
}

// ---- basic suite ----

SPErr HOST_API AcquireSuite(const char* name, int32_t version, const void** suite) {
  H().NoteAcquisitionAsked(name ? name : "", version);
  if (int32_t fault = H().BeginCall(Op::AcquireSuite)) return fault;
  if (name == nullptr || suite == nullptr) return kSPBadParameterError;
  const void* table = H().AcquireTable(name, version);
  if (table == nullptr) return kSPSuiteNotFoundError;
  *suite = table;
  H().NoteAcquire(name);
  return kSPNoError;
}

SPErr HOST_API ReleaseSuite(const char* name, int32_t version) {
  int32_t fault = H().BeginCall(Op::ReleaseSuite);
  if (name == nullptr || !H().Serves(name, version)) return kSPSuiteNotFoundError;
  if (!H().NoteRelease(name)) return kSPBadParameterError;
  return fault;
}

SPBoolean HOST_API IsEqual(const char* a, const char* b) {
  if (H().BeginCall(Op::IsEqual) != 0) return 0;
  if (a == nullptr || b == nullptr) return a == b;
  return std::strcmp(a, b) == 0;
}

SPErr HOST_API AllocateBlock(size_t size, void** block) {
  if (int32_t fault = H().BeginCall(Op::AllocateBlock)) return fault;
  if (block == nullptr) return kSPBadParameterError;
  *block = H().Allocate(size);
  return *block ? kSPNoError : kSPOutOfMemoryError;
}

SPErr HOST_API FreeBlock(void* block) {
  int32_t fault = H().BeginCall(Op::FreeBlock);
  if (!H().FreeBlock(block)) return kSPBadParameterError;
  return fault;
}

SPErr HOST_API ReallocateBlock(void* block, size_t size, void** newBlock) {
  if (int32_t fault = H().BeginCall(Op::ReallocateBlock)) return fault;
  if (newBlock == nullptr) return kSPBadParameterError;
  void* fresh = H().Allocate(size);
  if (fresh == nullptr) return kSPOutOfMemoryError;
  if (block != nullptr) {
    // The block keeps its contents, as far as both sizes reach.
    std::memcpy(fresh, block, std::min(size, H().BlockSize(block)));
    H().FreeBlock(block);
  }
  *newBlock = fresh;
  return kSPNoError;
}

SPErr HOST_API Undefined() { return kSPUnimplementedError; }

// ---- action descriptor suite ----

OSErr HOST_API DescriptorMake(PIActionDescriptor* descriptor) {
  if (int32_t fault = H().BeginCall(Op::DescriptorMake)) return Short(fault);
  if (descriptor == nullptr) return kRefused;
  *descriptor = As<PIActionDescriptor>(H().objects.Make(ObjectKind::Descriptor));
  return 0;
}

OSErr HOST_API DescriptorFree(PIActionDescriptor descriptor) {
  int32_t fault = H().BeginCall(Op::DescriptorFree);
  if (!H().objects.Free(ObjectKind::Descriptor, Id(descriptor), "Descriptor Free")) return kRefused;
  return Short(fault);
}

// Runs a put: the fault check, the target lookup, then the put itself.
template <typename PutFn>
OSErr PutInto(Op op, PIActionDescriptor descriptor, const char* use, PutFn put) {
  if (int32_t fault = H().BeginCall(op)) return Short(fault);
  Descriptor* target = H().objects.FindDescriptor(Id(descriptor), use);
  if (target == nullptr) return kRefused;
  return put(*target);
}

OSErr HOST_API DescriptorPutInteger(PIActionDescriptor descriptor, DescriptorKeyID key, int32_t value) {
  return PutInto(Op::DescriptorPutInteger, descriptor, "PutInteger", [&](Descriptor& target) {
    target.Put(key, Value::Integer(value));
    return OSErr(0);
  });
}

OSErr HOST_API DescriptorPutUnitFloat(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorUnitID unit,
                                      double value) {
  return PutInto(Op::DescriptorPutUnitFloat, descriptor, "PutUnitFloat", [&](Descriptor& target) {
    target.Put(key, Value::UnitFloat(unit, value));
    return OSErr(0);
  });
}

OSErr HOST_API DescriptorPutBoolean(PIActionDescriptor descriptor, DescriptorKeyID key, Boolean value) {
  return PutInto(Op::DescriptorPutBoolean, descriptor, "PutBoolean", [&](Descriptor& target) {
    target.Put(key, Value::Boolean(value != 0));
    return OSErr(0);
  });
}

OSErr HOST_API DescriptorPutList(PIActionDescriptor descriptor, DescriptorKeyID key, PIActionList list) {
  return PutInto(Op::DescriptorPutList, descriptor, "PutList", [&](Descriptor& target) {
    const List* value = H().objects.FindList(Id(list), "PutList value");
    if (value == nullptr) return kRefused;
    target.Put(key, Value::ListOf(*value));
    return OSErr(0);
  });
}

OSErr HOST_API DescriptorPutObject(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID type,
                                   PIActionDescriptor value) {
  return PutInto(Op::DescriptorPutObject, descriptor, "PutObject", [&](Descriptor& target) {
    const Descriptor* object = H().objects.FindDescriptor(Id(value), "PutObject value");
    if (object == nullptr) return kRefused;
    target.Put(key, Value::Object(type, *object));
    return OSErr(0);
  });
}

OSErr HOST_API DescriptorPutEnumerated(PIActionDescriptor descriptor, DescriptorKeyID key,
                                       DescriptorEnumTypeID type, DescriptorEnumID value) {
  return PutInto(Op::DescriptorPutEnumerated, descriptor, "PutEnumerated", [&](Descriptor& target) {
    target.Put(key, Value::Enumerated(type, value));
    return OSErr(0);
  });
}

OSErr HOST_API DescriptorPutReference(PIActionDescriptor descriptor, DescriptorKeyID key, PIActionReference value) {
  return PutInto(Op::DescriptorPutReference, descriptor, "PutReference", [&](Descriptor& target) {
    const Reference* reference = H().objects.FindReference(Id(value), "PutReference value");
    if (reference == nullptr) return kRefused;
    target.Put(key, Value::ReferenceTo(*reference));
    return OSErr(0);
  });
}

// An alias on Windows is a handle holding the file's zero-terminated path.
OSErr HOST_API DescriptorPutAlias(PIActionDescriptor descriptor, DescriptorKeyID key, Handle alias) {
  return PutInto(Op::DescriptorPutAlias, descriptor, "PutAlias", [&](Descriptor& target) {
    const HandleStorage* storage = H().objects.FindHandle(Id(alias), "PutAlias value");
    if (storage == nullptr) return kRefused;
    const auto end = std::find(storage->bytes.begin(), storage->bytes.end(), '\0');
    if (end == storage->bytes.end()) return kRefused;
    target.Put(key, Value::Alias(std::string(storage->bytes.begin(), end)));
    return OSErr(0);
  });
}

OSErr HOST_API DescriptorGetInteger(PIActionDescriptor descriptor, DescriptorKeyID key, int32_t* value) {
  if (int32_t fault = H().BeginCall(Op::DescriptorGetInteger)) return Short(fault);
  const Descriptor* source = H().objects.FindDescriptor(Id(descriptor), "GetInteger");
  if (source == nullptr || value == nullptr) return kRefused;
  const Value* found = source->Find(key);
  if (found == nullptr) return Short(kPropertyUndefined);
  if (found->kind != Value::Kind::Integer) return kRefused;
  *value = found->integer;
  return 0;
}

// ---- action control suite ----

OSErr HOST_API Play(PIActionDescriptor* result, DescriptorEventID event, PIActionDescriptor descriptor,
                    int32_t options) {
  if (int32_t fault = H().BeginCall(Op::Play)) return Short(fault);
  if (result == nullptr) return kRefused;
  const Descriptor* parameters = nullptr;
  if (descriptor != nullptr) {
    parameters = H().objects.FindDescriptor(Id(descriptor), "Play");
    if (parameters == nullptr) return kRefused;
  }
  int32_t played = H().PlayEvent(event, parameters, options);
  if (played != 0) return Short(played);
  *result = As<PIActionDescriptor>(H().objects.Make(ObjectKind::Descriptor));
  return 0;
}

OSErr HOST_API ControlGet(PIActionDescriptor* result, PIActionReference reference) {
  if (int32_t fault = H().BeginCall(Op::ControlGet)) return Short(fault);
  const Reference* target = H().objects.FindReference(Id(reference), "Get");
  if (result == nullptr || target == nullptr) return kRefused;
  const int32_t found = H().GetObject(*target);
  if (found != 0) return Short(found);
  *result = As<PIActionDescriptor>(H().objects.Make(ObjectKind::Descriptor));
  return 0;
}

OSErr HOST_API SuspendHistory(PIActionReference reference, PIActionSuspendProc callback, void* data,
                              ASZString name) {
  if (int32_t fault = H().BeginCall(Op::SuspendHistory)) return Short(fault);
  const Reference* document = H().objects.FindReference(Id(reference), "SuspendHistory reference");
  const std::string* historyName = H().objects.FindZString(Id(name), "SuspendHistory name");
  if (document == nullptr || historyName == nullptr || callback == nullptr) return kRefused;
  // The state's name is copied before the callback, which may not outlive it.
  return Short(H().SuspendHistory(std::string(*historyName), callback, data));
}

// ---- handle suite ----

Handle HOST_API HandleNew(int32_t size) {
  if (H().BeginCall(Op::HandleNew) != 0 || size < 0) return nullptr;
  return As<Handle>(H().objects.MakeHandle(static_cast<size_t>(size)));
}

// The two slots without a result are served without the guard, so they catch for themselves.
void HOST_API HandleDispose(Handle handle) noexcept {
  try {
    H().BeginCall(Op::HandleDispose);
    H().objects.Free(ObjectKind::Handle, Id(handle), "Handle Dispose");
  } catch (...) {
  }
}

// The slot has no result: a failed call hands out no address.
void HOST_API HandleSetLock(Handle handle, Boolean lock, char** address, Boolean* oldLock) noexcept {
  (void)lock;
  if (address != nullptr) *address = nullptr;
  if (oldLock != nullptr) *oldLock = 0;
  try {
    const bool failed = H().BeginCall(Op::HandleSetLock) != 0;
    HandleStorage* storage = H().objects.FindHandle(Id(handle), "Handle SetLock");
    if (address != nullptr && !failed && storage != nullptr) *address = storage->master;
  } catch (...) {
  }
}

// ---- action reference suite ----

OSErr HOST_API ReferenceMake(PIActionReference* reference) {
  if (int32_t fault = H().BeginCall(Op::ReferenceMake)) return Short(fault);
  if (reference == nullptr) return kRefused;
  *reference = As<PIActionReference>(H().objects.Make(ObjectKind::Reference));
  return 0;
}

OSErr HOST_API ReferenceFree(PIActionReference reference) {
  int32_t fault = H().BeginCall(Op::ReferenceFree);
  if (!H().objects.Free(ObjectKind::Reference, Id(reference), "Reference Free")) return kRefused;
  return Short(fault);
}

template <typename FillFn>
OSErr AddElement(Op op, PIActionReference reference, const char* use, FillFn fill) {
  if (int32_t fault = H().BeginCall(op)) return Short(fault);
  Reference* target = H().objects.FindReference(Id(reference), use);
  if (target == nullptr) return kRefused;
  ReferenceElement element;
  if (!fill(element)) return kRefused;
  target->elements.push_back(element);
  return 0;
}

OSErr HOST_API ReferencePutName(PIActionReference reference, DescriptorClassID desiredClass, const char* name) {
  return AddElement(Op::ReferencePutName, reference, "PutName", [&](ReferenceElement& element) {
    if (name == nullptr) return false;
    element.form = ReferenceElement::Form::Name;
    element.desiredClass = desiredClass;
    element.name = name;
    return true;
  });
}

OSErr HOST_API ReferencePutEnumerated(PIActionReference reference, DescriptorClassID desiredClass,
                                      DescriptorEnumTypeID type, DescriptorEnumID value) {
  return AddElement(Op::ReferencePutEnumerated, reference, "Reference PutEnumerated", [&](ReferenceElement& element) {
    element.form = ReferenceElement::Form::Enumerated;
    element.desiredClass = desiredClass;
    element.enumType = type;
    element.enumValue = value;
    return true;
  });
}

OSErr HOST_API ReferencePutProperty(PIActionReference reference, DescriptorClassID desiredClass,
                                    DescriptorKeyID key) {
  return AddElement(Op::ReferencePutProperty, reference, "PutProperty", [&](ReferenceElement& element) {
    element.form = ReferenceElement::Form::Property;
    element.desiredClass = desiredClass;
    element.property = key;
    return true;
  });
}

// ---- action list suite ----

OSErr HOST_API ListMake(PIActionList* list) {
  if (int32_t fault = H().BeginCall(Op::ListMake)) return Short(fault);
  if (list == nullptr) return kRefused;
  *list = As<PIActionList>(H().objects.Make(ObjectKind::List));
  return 0;
}

OSErr HOST_API ListFree(PIActionList list) {
  int32_t fault = H().BeginCall(Op::ListFree);
  if (!H().objects.Free(ObjectKind::List, Id(list), "List Free")) return kRefused;
  return Short(fault);
}

OSErr HOST_API ListPutObject(PIActionList list, DescriptorClassID type, PIActionDescriptor value) {
  if (int32_t fault = H().BeginCall(Op::ListPutObject)) return Short(fault);
  List* target = H().objects.FindList(Id(list), "List PutObject");
  const Descriptor* object = H().objects.FindDescriptor(Id(value), "List PutObject value");
  if (target == nullptr || object == nullptr) return kRefused;
  target->items.push_back(Value::Object(type, *object));
  return 0;
}

// ---- UIHooks and ZString suites ----

SPErr HOST_API GetPluginName(SPPluginRef plugin, ASZString* name) {
  if (int32_t fault = H().BeginCall(Op::GetPluginName)) return fault;
  if (name == nullptr || plugin != H().pluginRef()) return kSPBadParameterError;
  *name = As<ASZString>(H().objects.MakeZString(H().pluginName));
  return kSPNoError;
}

// The slot has no result code: a failed call hands out no window.
intptr_t HOST_API MainAppWindow() {
  if (H().BeginCall(Op::MainAppWindow) != 0) return 0;
  return H().mainWindow;
}

ASErr HOST_API ZStringRelease(ASZString zstring) {
  int32_t fault = H().BeginCall(Op::ZStringRelease);
  if (!H().objects.Free(ObjectKind::ZString, Id(zstring), "ZString Release")) return kSPBadParameterError;
  return fault;
}

// ---- SP Access suite ----

// The plug-in's access reference; the host keeps it, so the plug-in never frees it.
SPAccessRef AccessOf(SPPluginRef plugin) { return As<SPAccessRef>(Id(plugin) + 1); }

SPErr HOST_API GetPluginAccess(SPPluginRef plugin, SPAccessRef* access) {
  if (int32_t fault = H().BeginCall(Op::GetPluginAccess)) return fault;
  if (access == nullptr || plugin != H().pluginRef()) return kSPBadParameterError;
  *access = AccessOf(plugin);
  return kSPNoError;
}

SPErr HOST_API GetAccessInfo(SPAccessRef access, SPPlatformAccessInfo* info) {
  if (int32_t fault = H().BeginCall(Op::GetAccessInfo)) return fault;
  if (info == nullptr || access != AccessOf(H().pluginRef())) return kSPBadParameterError;
  info->defaultAccess = H().accessDefaultModule;
  info->resourceAccess = H().accessResourceModule;
  info->lastAccessTicks = 0;
  return kSPNoError;
}

// ---- GetFileList and property suites ----

SPErr HOST_API BrowseUrl(const char* url) {
  if (int32_t fault = H().BeginCall(Op::BrowseUrl)) return fault;
  H().Browse(url);
  return kSPNoError;
}

OSErr HOST_API GetProperty(PIType signature, PIType key, int32_t index, intptr_t* simple, Handle* complex) {
  (void)complex;
  if (int32_t fault = H().BeginCall(Op::GetProperty)) return Short(fault);
  if (simple == nullptr) return kRefused;
  return Short(H().QueryProperty(signature, key, index, simple));
}

// ---- the tables ----

PSActionDescriptorProcs MakeDescriptorTable() {
  PSActionDescriptorProcs table{};
  table.Make = Guard<DescriptorMake>::Call;
  table.Free = Guard<DescriptorFree>::Call;
  table.PutInteger = Guard<DescriptorPutInteger>::Call;
  table.PutUnitFloat = Guard<DescriptorPutUnitFloat>::Call;
  table.PutBoolean = Guard<DescriptorPutBoolean>::Call;
  table.PutList = Guard<DescriptorPutList>::Call;
  table.PutObject = Guard<DescriptorPutObject>::Call;
  table.PutEnumerated = Guard<DescriptorPutEnumerated>::Call;
  table.PutReference = Guard<DescriptorPutReference>::Call;
  table.PutAlias = Guard<DescriptorPutAlias>::Call;
  table.GetInteger = Guard<DescriptorGetInteger>::Call;
  return table;
}

// Version 2 leaves SuspendHistory out, so that a plug-in that calls it through a version 2 table
// fails loudly.
PSActionControlProcs MakeControlTable(int32_t version) {
  PSActionControlProcs table{};
  table.Play = Guard<Play>::Call;
  table.Get = Guard<ControlGet>::Call;
  if (version >= kPSActionControlSuiteVersionWithHistory) table.SuspendHistory = Guard<SuspendHistory>::Call;
  return table;
}

// The handle functions have no result code to fail with: a failure hands out nothing.
struct NoHandleOnFailure {
  static constexpr Handle kMemoryFull = nullptr;
  static constexpr Handle kOther = nullptr;
};

// The same functions in either version's slots; the slots the plug-in does not call stay empty,
// so that a call through the other version's layout fails loudly.
template <typename Table>
Table MakeHandleTable() {
  Table table{};
  table.New = Guard<HandleNew, NoHandleOnFailure>::Call;
  table.Dispose = HandleDispose;
  table.SetLock = HandleSetLock;
  return table;
}

PSActionReferenceProcs MakeReferenceTable() {
  PSActionReferenceProcs table{};
  table.Make = Guard<ReferenceMake>::Call;
  table.Free = Guard<ReferenceFree>::Call;
  table.PutName = Guard<ReferencePutName>::Call;
  table.PutEnumerated = Guard<ReferencePutEnumerated>::Call;
  table.PutProperty = Guard<ReferencePutProperty>::Call;
  return table;
}

PSActionListProcs MakeListTable() {
  PSActionListProcs table{};
  table.Make = Guard<ListMake>::Call;
  table.Free = Guard<ListFree>::Call;
  table.PutObject = Guard<ListPutObject>::Call;
  return table;
}

PSUIHooksSuite1 MakeUIHooksTable() {
  PSUIHooksSuite1 table{};
  table.MainAppWindow = Guard<MainAppWindow, NoWindowOnFailure>::Call;
  table.GetPluginName = Guard<GetPluginName>::Call;
  return table;
}

ASZStringSuite MakeZStringTable() {
  ASZStringSuite table{};
  table.Release = Guard<ZStringRelease>::Call;
  return table;
}

SPAccessSuite MakeAccessTable() {
  SPAccessSuite table{};
  table.GetPluginAccess = Guard<GetPluginAccess>::Call;
  table.GetAccessInfo = Guard<GetAccessInfo>::Call;
  return table;
}

PSGetFileListSuite4 MakeGetFileListTable() {
  PSGetFileListSuite4 table{};
  table.BrowseUrl = Guard<BrowseUrl>::Call;
  return table;
}

PSPropertySuite MakePropertyTable() {
  PSPropertySuite table{};
  table.propertyProcsVersion = 1;
  table.numPropertyProcs = 2;
  table.getPropertyProc = Guard<GetProperty>::Call;
  return table;
}

const PSActionDescriptorProcs descriptorTable = MakeDescriptorTable();
const PSActionControlProcs controlTable = MakeControlTable(kPSActionControlSuiteVersion);
const PSActionControlProcs controlTable3 = MakeControlTable(kPSActionControlSuiteVersionWithHistory);
const PSHandleSuite1 handleTable1 = MakeHandleTable<PSHandleSuite1>();
const PSHandleSuite2 handleTable = MakeHandleTable<PSHandleSuite2>();
const PSActionReferenceProcs referenceTable = MakeReferenceTable();
const PSActionListProcs listTable = MakeListTable();
const PSUIHooksSuite1 uiHooksTable = MakeUIHooksTable();
const ASZStringSuite zstringTable = MakeZStringTable();
const SPAccessSuite accessTable = MakeAccessTable();
const PSGetFileListSuite4 getFileListTable = MakeGetFileListTable();
const PSPropertySuite propertyTable = MakePropertyTable();

struct ServedSuite {
  const char* name;
  int32_t version;
  const void* table;
};

const ServedSuite servedSuites[] = {
    {kPSActionDescriptorSuite, kPSActionDescriptorSuiteVersion, &descriptorTable},
    {kPSActionControlSuite, kPSActionControlSuiteVersion, &controlTable},
    {kPSActionControlSuite, kPSActionControlSuiteVersionWithHistory, &controlTable3},
    {kPSActionReferenceSuite, kPSActionReferenceSuiteVersion, &referenceTable},
    {kPSActionListSuite, kPSActionListSuiteVersion, &listTable},
    {kPSUIHooksSuite, kPSUIHooksSuiteVersion, &uiHooksTable},
    {kASZStringSuite, kASZStringSuiteVersion, &zstringTable},
    {kSPAccessSuite, kSPAccessSuiteVersion, &accessTable},
    {kPSGetFileListSuite, kPSGetFileListSuiteVersion, &getFileListTable},
    {kPSPropertySuite, kPSPropertySuiteVersion, &propertyTable},
    {kPSHandleSuite, kPSHandleSuiteVersion1, &handleTable1},
    {kPSHandleSuite, kPSHandleSuiteVersion, &handleTable},
};

}  // namespace

SPBasicSuite BasicSuiteTable() {
  SPBasicSuite table{};
  table.AcquireSuite = Guard<AcquireSuite>::Call;
  table.ReleaseSuite = Guard<ReleaseSuite>::Call;
  table.IsEqual = Guard<IsEqual, NotEqualOnFailure>::Call;
  table.AllocateBlock = Guard<AllocateBlock>::Call;
  table.FreeBlock = Guard<FreeBlock>::Call;
  table.ReallocateBlock = Guard<ReallocateBlock>::Call;
  table.Undefined = Guard<Undefined>::Call;
  return table;
}

const void* FindSuiteTable(const std::string& name, int32_t version) {
  for (const ServedSuite& suite : servedSuites) {
    if (name == suite.name && version == suite.version) return suite.table;
  }
  return nullptr;
}

}  // namespace hostsim
