// Every object the host hands out, by handle. Handles are never reused, so a second free, a free
// of a handle the host never made, and the use of a freed object are all caught and recorded.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "hostsim/Values.h"

namespace hostsim {

enum class ObjectKind { Descriptor, Reference, List, ZString, Handle };
constexpr int kObjectKindCount = 5;

// The memory of a handle: the handle is the address of `master`, which points at the bytes, as a
// plug-in that dereferences a handle expects.
struct HandleStorage {
  char* master = nullptr;
  std::vector<char> bytes;
};
const char* KindName(ObjectKind kind);

class ObjectRegistry {
 public:
  uintptr_t Make(ObjectKind kind);
  uintptr_t MakeDescriptor(const Descriptor& contents);
  uintptr_t MakeZString(const std::string& text);
  // A handle of `size` zeroed bytes.
  uintptr_t MakeHandle(size_t size);

  // Looks a live object up for use; null (and a recorded violation) when the handle is wrong.
  Descriptor* FindDescriptor(uintptr_t handle, const char* use);
  Reference* FindReference(uintptr_t handle, const char* use);
  List* FindList(uintptr_t handle, const char* use);
  const std::string* FindZString(uintptr_t handle, const char* use);
  HandleStorage* FindHandle(uintptr_t handle, const char* use);

  // Returns false (and records a violation) for a double free, an unknown handle or a wrong kind.
  bool Free(ObjectKind kind, uintptr_t handle, const char* use);

  int Live() const;
  int Live(ObjectKind kind) const;
  int Made(ObjectKind kind) const { return made_[static_cast<int>(kind)]; }
  int Freed(ObjectKind kind) const { return freed_[static_cast<int>(kind)]; }

  // Every successful free, as the object's place in the order of making (1 for the first made).
  const std::vector<int>& FreeOrder() const { return freeOrder_; }

  const std::vector<std::string>& violations() const { return violations_; }
  void AddViolation(const std::string& text) { violations_.push_back(text); }

  // Forgets every object: for a host that starts over.
  void Clear();

 private:
  struct Entry {
    ObjectKind kind;
    int ordinal = 0;
    bool live = true;
    Descriptor descriptor;
    Reference reference;
    List list;
    std::string text;
    HandleStorage* storage = nullptr;
  };

  Entry* FindLive(ObjectKind kind, uintptr_t handle, const char* use);

  std::map<uintptr_t, Entry> entries_;
  std::deque<HandleStorage> handleStorage_;  // a deque keeps every handle's address while it grows
  uintptr_t nextHandle_ = 0x10000;
  int made_[kObjectKindCount] = {};
  int freed_[kObjectKindCount] = {};
  std::vector<int> freeOrder_;
  std::vector<std::string> violations_;
};

}  // namespace hostsim
