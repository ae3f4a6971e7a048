#include "hostsim/ObjectRegistry.h"

#include <cstdio>

namespace hostsim {

const char* KindName(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::Descriptor:
      return "descriptor";
    case ObjectKind::Reference:
      return "reference";
    case ObjectKind::List:
      return "list";
    case ObjectKind::ZString:
      return "zstring";
    case ObjectKind::Handle:
      return "handle";
  }
  return "object";
}

static std::string HandleText(uintptr_t handle) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(handle));
  return buffer;
}

uintptr_t ObjectRegistry::Make(ObjectKind kind) {
  uintptr_t handle = nextHandle_;
  nextHandle_ += 0x10;
  Entry& entry = entries_[handle];
  entry.kind = kind;
  entry.ordinal = static_cast<int>(entries_.size());
  ++made_[static_cast<int>(kind)];
  return handle;
}

uintptr_t ObjectRegistry::MakeDescriptor(const Descriptor& contents) {
  uintptr_t handle = Make(ObjectKind::Descriptor);
  entries_[handle].descriptor = contents;
  return handle;
}

uintptr_t ObjectRegistry::MakeZString(const std::string& text) {
  uintptr_t handle = Make(ObjectKind::ZString);
  entries_[handle].text = text;
  return handle;
}

uintptr_t ObjectRegistry::MakeHandle(size_t size) {
  HandleStorage& storage = handleStorage_.emplace_back();
  storage.bytes.assign(size == 0 ? 1 : size, '\0');
  storage.bytes.resize(size);
  storage.master = storage.bytes.data();
  const uintptr_t handle = reinterpret_cast<uintptr_t>(&storage.master);
  Entry& entry = entries_[handle];
  entry.kind = ObjectKind::Handle;
  entry.ordinal = static_cast<int>(entries_.size());
  entry.storage = &storage;
  ++made_[static_cast<int>(ObjectKind::Handle)];
  return handle;
}

ObjectRegistry::Entry* ObjectRegistry::FindLive(ObjectKind kind, uintptr_t handle, const char* use) {
  auto found = entries_.find(handle);
  const char* problem = nullptr;
  if (handle == 0) {
    problem = "null";
  } else if (found == entries_.end()) {
    problem = "unknown";
  } else if (found->second.kind != kind) {
    problem = "wrong kind of";
  } else if (!found->second.live) {
    problem = "freed";
  }
  if (problem == nullptr) return &found->second;
  violations_.push_back(std::string(use) + ": " + problem + " " + KindName(kind) + " " + HandleText(handle));
  return nullptr;
}

Descriptor* ObjectRegistry::FindDescriptor(uintptr_t handle, const char* use) {
  Entry* entry = FindLive(ObjectKind::Descriptor, handle, use);
  return entry ? &entry->descriptor : nullptr;
}

Reference* ObjectRegistry::FindReference(uintptr_t handle, const char* use) {
  Entry* entry = FindLive(ObjectKind::Reference, handle, use);
  return entry ? &entry->reference : nullptr;
}

List* ObjectRegistry::FindList(uintptr_t handle, const char* use) {
  Entry* entry = FindLive(ObjectKind::List, handle, use);
  return entry ? &entry->list : nullptr;
}

const std::string* ObjectRegistry::FindZString(uintptr_t handle, const char* use) {
  Entry* entry = FindLive(ObjectKind::ZString, handle, use);
  return entry ? &entry->text : nullptr;
}

HandleStorage* ObjectRegistry::FindHandle(uintptr_t handle, const char* use) {
  Entry* entry = FindLive(ObjectKind::Handle, handle, use);
  return entry ? entry->storage : nullptr;
}

bool ObjectRegistry::Free(ObjectKind kind, uintptr_t handle, const char* use) {
  Entry* entry = FindLive(kind, handle, use);
  if (entry == nullptr) return false;
  entry->live = false;
  freeOrder_.push_back(entry->ordinal);
  entry->descriptor = Descriptor();
  entry->reference = Reference();
  entry->list = List();
  if (entry->storage != nullptr) entry->storage->master = nullptr;
  ++freed_[static_cast<int>(kind)];
  return true;
}

int ObjectRegistry::Live() const {
  int live = 0;
  for (const auto& entry : entries_) live += entry.second.live ? 1 : 0;
  return live;
}

int ObjectRegistry::Live(ObjectKind kind) const {
  return made_[static_cast<int>(kind)] - freed_[static_cast<int>(kind)];
}

void ObjectRegistry::Clear() {
  entries_.clear();
  handleStorage_.clear();
  freeOrder_.clear();
  for (int i = 0; i < kObjectKindCount; ++i) made_[i] = freed_[i] = 0;
  violations_.clear();
}

}  // namespace hostsim
