// Scoped owners of host objects: each frees its object exactly once, with the Free of the object's
// own suite, when it goes out of scope. Objects are freed in the reverse order of declaration, so
// an operation declares its owners in the reverse of the order in which they must be freed.
#pragma once

#include "hostaccess/HostSuites.h"

namespace zem {

struct DescriptorKind {
  using Handle = host::PIActionDescriptor;
  using Table = host::PSActionDescriptorProcs;
  static constexpr SuiteId kSuite = SuiteId::ActionDescriptor;
  static void Free(const Table& suite, Handle handle) { suite.Free(handle); }
};

struct ReferenceKind {
  using Handle = host::PIActionReference;
  using Table = host::PSActionReferenceProcs;
  static constexpr SuiteId kSuite = SuiteId::ActionReference;
  static void Free(const Table& suite, Handle handle) { suite.Free(handle); }
};

struct ListKind {
  using Handle = host::PIActionList;
  using Table = host::PSActionListProcs;
  static constexpr SuiteId kSuite = SuiteId::ActionList;
  static void Free(const Table& suite, Handle handle) { suite.Free(handle); }
};

struct ZStringKind {
  using Handle = host::ASZString;
  using Table = host::ASZStringSuite;
  static constexpr SuiteId kSuite = SuiteId::ZString;
  static void Free(const Table& suite, Handle handle) { suite.Release(handle); }
};

struct HandleKind {
  using Handle = host::Handle;
  using Table = HandleSuiteTable;
  static constexpr SuiteId kSuite = SuiteId::Handle;
  static void Free(const Table& suite, Handle handle) {
    HandleProcsOf(suite, Holder(kSuite).heldVersion).Dispose(handle);
  }
};

template <typename Kind>
class HostObject {
 public:
  using Handle = typename Kind::Handle;

  HostObject() = default;
  HostObject(const HostObject&) = delete;
  HostObject& operator=(const HostObject&) = delete;
  ~HostObject() { Reset(); }

  // Frees the object without raising; used on every path out of a scope.
  void Reset() noexcept {
    if (handle_ == nullptr) return;
    if (const auto* suite = OptionalSuite<typename Kind::Table>(Kind::kSuite)) Kind::Free(*suite, handle_);
    handle_ = nullptr;
  }

  Handle get() const { return handle_; }

  // The place a host Make (or any out-parameter) writes the new handle into. What the owner held
  // is freed first, so that receiving into it twice loses nothing.
  Handle* Receive() noexcept {
    Reset();
    return &handle_;
  }

  // Gives the object away: the owner no longer frees it.
  Handle Release() {
    Handle handle = handle_;
    handle_ = nullptr;
    return handle;
  }

  // Frees the object now. Raises when its suite cannot be acquired; the owner then keeps it, and
  // its destructor tries once more.
  void Free() {
    if (handle_ == nullptr) return;
    Kind::Free(UseSuite<typename Kind::Table>(Kind::kSuite), handle_);
    handle_ = nullptr;
  }

 private:
  Handle handle_ = nullptr;
};

using OwnedDescriptor = HostObject<DescriptorKind>;
using OwnedReference = HostObject<ReferenceKind>;
using OwnedList = HostObject<ListKind>;
using OwnedZString = HostObject<ZStringKind>;
using OwnedHandle = HostObject<HandleKind>;

// A row of descriptors freed in index order (a plain array would free them backwards).
template <int N>
class OwnedDescriptorRow {
 public:
  OwnedDescriptorRow() = default;
  OwnedDescriptorRow(const OwnedDescriptorRow&) = delete;
  OwnedDescriptorRow& operator=(const OwnedDescriptorRow&) = delete;
  ~OwnedDescriptorRow() {
    for (OwnedDescriptor& item : items_) item.Reset();
  }

  OwnedDescriptor& operator[](int index) { return items_[index]; }

 private:
  OwnedDescriptor items_[N];
};

}  // namespace zem
