// The owners of COM objects and of COM on a thread, of the one owner family (UniqueHandle.h).
#pragma once

#include <objbase.h>

#include "platform/UniqueHandle.h"

namespace zem {

// A COM interface pointer, given back with Release.
template <typename Interface>
struct ComObjectKind {
  using Handle = Interface*;
  static Handle Empty() noexcept { return nullptr; }
  static bool Holds(Handle object) noexcept { return object != nullptr; }
  static void Close(Handle object) noexcept { object->Release(); }
};
template <typename Interface>
using UniqueComObject = UniqueHandle<ComObjectKind<Interface>>;

// COM on the calling thread: CoInitializeEx's result, given back with CoUninitialize when it
// succeeded (S_OK, or S_FALSE for a thread that had COM already). A thread in another apartment
// (RPC_E_CHANGED_MODE) keeps its COM as it is.
struct ComApartmentKind {
  using Handle = HRESULT;
  static Handle Empty() noexcept { return E_FAIL; }
  static bool Holds(Handle result) noexcept { return SUCCEEDED(result); }
  static void Close(Handle) noexcept { CoUninitialize(); }
};
using UniqueComApartment = UniqueHandle<ComApartmentKind>;

}  // namespace zem
