// One owner for every kind of system handle: it gives its handle back exactly once, with the close
// function of the handle's kind, when it goes out of scope or takes another. A kind is a small
// traits type:
//
//   struct Kind {
//     using Handle = ...;                  // the handle type
//     static Handle Empty() noexcept;      // the value that holds nothing
//     static bool Holds(Handle) noexcept;  // whether a value is a handle to close
//     static void Close(Handle) noexcept;  // gives a held handle back
//   };
//
// The kinds of Windows handles are in WindowsHandles.h; the C library's files are here.
#pragma once

#include <cstdio>

namespace zem {

template <typename Kind>
class UniqueHandle {
 public:
  using Handle = typename Kind::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return Kind::Holds(handle_); }

  // Gives back what it holds, then holds `handle`.
  void reset(Handle handle = Kind::Empty()) noexcept {
    const Handle old = handle_;
    handle_ = handle;
    if (Kind::Holds(old)) Kind::Close(old);
  }

  // Gives the handle away: the owner no longer closes it.
  Handle release() noexcept {
    const Handle handle = handle_;
    handle_ = Kind::Empty();
    return handle;
  }

  // The place a system call writes a new handle into. What the owner held is given back first,
  // so that writing into it twice loses nothing.
  Handle* put() noexcept {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Kind::Empty();
};

// A C library file from std::fopen or _wfopen. A writer that must know whether its data reached the
// file closes it itself, once, through release(): std::fclose reports the last write's failure.
struct StdioFileKind {
  using Handle = std::FILE*;
  static Handle Empty() noexcept { return nullptr; }
  static bool Holds(Handle file) noexcept { return file != nullptr; }
  static void Close(Handle file) noexcept { std::fclose(file); }
};
using UniqueStdioFile = UniqueHandle<StdioFileKind>;

}  // namespace zem
