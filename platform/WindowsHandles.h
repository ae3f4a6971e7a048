// The kinds of Windows handles the plug-in, the reference host and their tests hold, each with the
// function that gives it back, and their owners. Nothing else closes a Windows handle.
#pragma once

#include <windows.h>

#include "platform/UniqueHandle.h"

namespace zem {

// Kinds whose empty value is null.
template <typename H>
struct NullIsEmpty {
  using Handle = H;
  static Handle Empty() noexcept { return nullptr; }
  static bool Holds(Handle handle) noexcept { return handle != nullptr; }
};

// Events, threads, processes, pipes: CloseHandle. They are null when creation failed.
struct KernelObjectKind : NullIsEmpty<HANDLE> {
  static void Close(HANDLE handle) noexcept { CloseHandle(handle); }
};

// Files from CreateFile, which reports failure as INVALID_HANDLE_VALUE instead of null.
struct FileKind {
  using Handle = HANDLE;
  static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static bool Holds(Handle handle) noexcept { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
  static void Close(Handle handle) noexcept { CloseHandle(handle); }
};

// Searches from FindFirstFile, also INVALID_HANDLE_VALUE on failure.
struct FileSearchKind {
  using Handle = HANDLE;
  static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static bool Holds(Handle handle) noexcept { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
  static void Close(Handle handle) noexcept { FindClose(handle); }
};

// Windows made with CreateWindow or CreateDialog, destroyed by the thread that made them.
struct WindowKind : NullIsEmpty<HWND> {
  static void Close(HWND window) noexcept { DestroyWindow(window); }
};

struct LibraryKind : NullIsEmpty<HMODULE> {
  static void Close(HMODULE module) noexcept { FreeLibrary(module); }
};

// Bitmaps, brushes, fonts: DeleteObject. The object must not be selected into a device context.
template <typename GdiObject>
struct GdiObjectKind : NullIsEmpty<GdiObject> {
  static void Close(GdiObject object) noexcept { DeleteObject(object); }
};

// A device context made with CreateCompatibleDC or CreateDC.
struct MemoryDcKind : NullIsEmpty<HDC> {
  static void Close(HDC dc) noexcept { DeleteDC(dc); }
};

// A window's device context from GetDC, given back to that window (null: the screen's).
struct WindowDc {
  HWND window;
  HDC dc;
};
struct WindowDcKind {
  using Handle = WindowDc;
  static Handle Empty() noexcept { return WindowDc{nullptr, nullptr}; }
  static bool Holds(Handle handle) noexcept { return handle.dc != nullptr; }
  static void Close(Handle handle) noexcept { ReleaseDC(handle.window, handle.dc); }
};

// Memory the system allocated for the caller with LocalAlloc (FormatMessage's buffer, say).
template <typename T>
struct LocalMemoryKind : NullIsEmpty<T*> {
  static void Close(T* memory) noexcept { LocalFree(memory); }
};

using UniqueKernelObject = UniqueHandle<KernelObjectKind>;
using UniqueFile = UniqueHandle<FileKind>;
using UniqueFileSearch = UniqueHandle<FileSearchKind>;
using UniqueLibrary = UniqueHandle<LibraryKind>;
using UniqueWindow = UniqueHandle<WindowKind>;
using UniqueBitmap = UniqueHandle<GdiObjectKind<HBITMAP>>;
using UniqueMemoryDc = UniqueHandle<MemoryDcKind>;
using UniqueWindowDc = UniqueHandle<WindowDcKind>;
template <typename T>
using UniqueLocalMemory = UniqueHandle<LocalMemoryKind<T>>;

// The device context of `window` (null: the screen), owned; empty when GetDC fails.
inline UniqueWindowDc GetWindowDc(HWND window) { return UniqueWindowDc(WindowDc{window, GetDC(window)}); }

}  // namespace zem
