// Files named by UTF-8 paths on every platform, so that a path reaches the file as the user
// typed it, whatever script its names are in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace hostsim {

// Opens a file as std::fopen does, the path taken as UTF-8.
std::FILE* OpenFile(const std::string& path, const char* mode);

enum class FileRead { kRead, kNotOpened, kFailed, kTooLarge };

// Reads a whole file of at most `limit` bytes into `bytes`. A file that cannot be read, or whose
// bytes do not fit in memory, is kFailed; one larger than the limit kTooLarge.
FileRead ReadWholeFile(const std::string& path, size_t limit, std::vector<uint8_t>& bytes);

// What went wrong in reading the file `path`, a `kind` of file such as "image" or "the action
// file": "cannot open image photo.png", "cannot read the action file a.atn: the file is larger
// than the limit of 64 MiB". Empty for kRead.
std::string ReadProblem(FileRead result, const std::string& kind, const std::string& path, size_t limit);

// Creates or truncates the file and writes `size` bytes; false when any of it fails.
bool WriteWholeFile(const std::string& path, const uint8_t* data, size_t size);

}  // namespace hostsim
