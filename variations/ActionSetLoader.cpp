#include "ActionSetLoader.h"

#include <cstring>

#include "../entry/HostObjects.h"
#include "../host/Keys.h"
#include "../host/Messages.h"
#include "../host/ResultCodes.h"
#include "../platform/ModuleFolder.h"

namespace zem {

const char kActionSetFileName[] = "ZEM_Variations.atn";

namespace {
// Room for any path the ANSI file functions take, in a code page of up to two bytes a character.
constexpr size_t kAnsiPathCapacity = 2 * 1024;
}  // namespace

SetPresence FindActionSet(const char* setName) {
  OwnedReference set;
  OwnedDescriptor result;
  const host::PSActionReferenceProcs& references = ReferenceSuite();
  if (references.Make(set.Receive()) != 0) return SetPresence::Unknown;
  if (references.PutName(set.get(), host::kClassActionSet, setName) != 0) return SetPresence::Unknown;
  const int32_t found = ControlSuite().Get(result.Receive(), set.get());
  if (found == 0) return SetPresence::Present;
  return found == host::kErrNoSuchObject ? SetPresence::Absent : SetPresence::Unknown;
}

int32_t OpenActionFile(const char* ansiPath) {
  HandleProcs handles;
  if (!OptionalHandleSuite(handles)) return Holder(SuiteId::Handle).lastError;

  // Freed in this order: the result, the event, then the alias.
  OwnedHandle alias;
  OwnedDescriptor event;
  OwnedDescriptor result;

  const size_t size = std::strlen(ansiPath) + 1;
  *alias.Receive() = handles.New(static_cast<int32_t>(size));
  if (alias.get() == nullptr) return host::kSPOutOfMemoryError;
  char* bytes = nullptr;
  host::Boolean wasLocked = 0;
  handles.SetLock(alias.get(), 1, &bytes, &wasLocked);
  if (bytes == nullptr) return host::kSPOutOfMemoryError;
  std::memcpy(bytes, ansiPath, size);
  handles.SetLock(alias.get(), wasLocked, &bytes, &wasLocked);

  if (int32_t error = DescriptorSuite().Make(event.Receive())) return error;
  if (int32_t error = DescriptorSuite().PutAlias(event.get(), host::kKeyNull, alias.get())) return error;
  return ControlSuite().Play(result.Receive(), host::kEventOpen, event.get(), host::plugInDialogSilent);
}

bool LoadActionSetBesideModule() {
  char path[kAnsiPathCapacity];
  if (!FileBesideModule(kActionSetFileName, path, sizeof path)) return false;
  return OpenActionFile(path) == 0;
}

bool LoadActionSetUnlessPresent(const char* setName) {
  return FindActionSet(setName) != SetPresence::Present && LoadActionSetBesideModule();
}

}  // namespace zem
