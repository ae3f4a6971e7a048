#include "platform/ModuleFolder.h"

#include <cstdio>
#include <cstring>

#include "platform/UniqueHandle.h"

#if defined(_WIN32)
#include <windows.h>

#include "platform/PluginInstance.h"
#endif

namespace zem {

const char* ModuleFolderOverride = nullptr;

namespace {

bool Join(const char* folder, const char* fileName, char* path, size_t capacity) {
  const size_t folderLength = std::strlen(folder);
  const size_t nameLength = std::strlen(fileName);
  if (folderLength + nameLength + 1 > capacity) return false;
  std::memcpy(path, folder, folderLength);
  std::memcpy(path + folderLength, fileName, nameLength + 1);
  return true;
}

bool IsReadableFile(const char* path) {
  return static_cast<bool>(zem::UniqueStdioFile(std::fopen(path, "rb")));
}

bool FileInGivenFolder(const char* fileName, char* path, size_t capacity) {
  return Join(ModuleFolderOverride, fileName, path, capacity) && IsReadableFile(path);
}

#if defined(_WIN32)
// The Windows module finds its own folder; this is the one place where the two builds differ.

constexpr DWORD kWidePathCapacity = 1024;

// The ANSI form of a wide path, refused when a character has no exact counterpart (a best-fit or
// default character would name another file).
bool ToAnsi(const wchar_t* wide, char* path, size_t capacity) {
  BOOL usedDefault = FALSE;
  // A UTF-8 code page holds every character, and takes neither the flag nor the question.
  const bool utf8 = GetACP() == CP_UTF8;
  const int written = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, -1, path,
                                          static_cast<int>(capacity), nullptr, utf8 ? nullptr : &usedDefault);
  return written > 0 && !usedDefault;
}

bool FileInModuleFolder(const char* fileName, char* path, size_t capacity) {
  wchar_t wide[kWidePathCapacity];
  const DWORD length = GetModuleFileNameW(static_cast<HMODULE>(OwnModule), wide, kWidePathCapacity);
  if (OwnModule == nullptr || length == 0 || length >= kWidePathCapacity) return false;
  size_t folderEnd = length;
  while (folderEnd > 0 && wide[folderEnd - 1] != L'\\' && wide[folderEnd - 1] != L'/') --folderEnd;
  const size_t nameLength = std::strlen(fileName);
  if (folderEnd == 0 || folderEnd + nameLength + 1 > kWidePathCapacity) return false;
  for (size_t i = 0; i <= nameLength; ++i) wide[folderEnd + i] = static_cast<unsigned char>(fileName[i]);

  const DWORD attributes = GetFileAttributesW(wide);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
  if (ToAnsi(wide, path, capacity)) return true;
  // Short names are ASCII where the volume keeps them; where it does not, the file cannot be named.
  wchar_t shortPath[kWidePathCapacity];
  const DWORD shortLength = GetShortPathNameW(wide, shortPath, kWidePathCapacity);
  return shortLength > 0 && shortLength < kWidePathCapacity && ToAnsi(shortPath, path, capacity);
}
#else
bool FileInModuleFolder(const char*, char*, size_t) { return false; }
#endif

}  // namespace

bool FileBesideModule(const char* fileName, char* path, size_t capacity) noexcept {
  if (capacity == 0) return false;
  const bool found = ModuleFolderOverride != nullptr ? FileInGivenFolder(fileName, path, capacity)
                                                     : FileInModuleFolder(fileName, path, capacity);
  if (!found) path[0] = '\0';
  return found;
}

}  // namespace zem
