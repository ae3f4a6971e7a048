#include "imaging/FileAccess.h"

#include <new>

#include "platform/UniqueHandle.h"

#ifdef _WIN32
#include "imaging/WindowsText.h"
#endif

namespace hostsim {

// Windows' narrow file functions read a path in the ANSI code page, which cannot name most of a
// user's files once their names leave it ("Ääkkönen 写真.png" under a Western code page); there
// the UTF-8 path goes through UTF-16 to the wide function. Elsewhere paths are bytes, UTF-8 by
// convention, and std::fopen takes them as they are.
std::FILE* OpenFile(const std::string& path, const char* mode) {
#ifdef _WIN32
  return _wfopen(Utf16FromUtf8(path).c_str(), Utf16FromUtf8(mode).c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

FileRead ReadWholeFile(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) {
  const zem::UniqueStdioFile file(OpenFile(path, "rb"));
  if (!file) return FileRead::kNotOpened;
  FileRead result = FileRead::kRead;
  bytes.clear();
  try {
    uint8_t chunk[1 << 16];
    size_t got = 0;
    while (bytes.size() <= limit && (got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
      bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (std::ferror(file.get()) != 0) result = FileRead::kFailed;
  } catch (const std::bad_alloc&) {
    result = FileRead::kFailed;
  }
  if (result == FileRead::kRead && bytes.size() > limit) result = FileRead::kTooLarge;
  return result;
}

std::string ReadProblem(FileRead result, const std::string& kind, const std::string& path, size_t limit) {
  switch (result) {
    case FileRead::kRead:
      break;
    case FileRead::kNotOpened:
      return "cannot open " + kind + " " + path;
    case FileRead::kFailed:
      return "cannot read " + kind + " " + path + ": the file cannot be read into memory";
    case FileRead::kTooLarge:
      return "cannot read " + kind + " " + path + ": the file is larger than the limit of " +
             std::to_string(limit >> 20) + " MiB";
  }
  return std::string();
}

bool WriteWholeFile(const std::string& path, const uint8_t* data, size_t size) {
  zem::UniqueStdioFile file(OpenFile(path, "wb"));
  if (!file) return false;
  const bool written = (size == 0 || std::fwrite(data, 1, size, file.get()) == size) && std::fflush(file.get()) == 0;
  return std::fclose(file.release()) == 0 && written;
}

}  // namespace hostsim
