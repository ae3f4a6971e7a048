#include "variations/ActionSetLoader.h"

#include <cstring>

#include "host/Keys.h"
#include "host/Messages.h"
#include "host/ResultCodes.h"
#include "hostaccess/HostObjects.h"
#include "platform/ModuleFolder.h"

namespace zem {

const char kActionSetFileName[] = "ZEM_Variations.atn";

namespace {
// Room for any path the ANSI file functions take, in a code page of up to two bytes a character.
constexpr size_t kAnsiPathCapacity = 2 * 1024;

// A handle's bytes, locked for as long as the scope lasts; then the handle is left locked as it was
// before. A lock that gave no bytes has nothing to give back.
class LockedHandle {
 public:
  LockedHandle(const HandleProcs& handles, host::Handle handle) : handles_(handles), handle_(handle) {
    handles_.SetLock(handle_, 1, &bytes_, &wasLocked_);
  }
  ~LockedHandle() {
    if (bytes_ == nullptr) return;
    char* address = nullptr;
    host::Boolean lock = 0;
    handles_.SetLock(handle_, wasLocked_, &address, &lock);
  }
  LockedHandle(const LockedHandle&) = delete;
  LockedHandle& operator=(const LockedHandle&) = delete;

  char* bytes() const { return bytes_; }

 private:
  const HandleProcs& handles_;
  host::Handle handle_;
  char* bytes_ = nullptr;
  host::Boolean wasLocked_ = 0;
};
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
  {
    const LockedHandle locked(handles, alias.get());
    if (locked.bytes() == nullptr) return host::kSPOutOfMemoryError;
    std::memcpy(locked.bytes(), ansiPath, size);
  }

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
