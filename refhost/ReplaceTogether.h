// New versions of several files put in place together or not at all. Windows only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hostsim {

struct NewFile {
  std::string path;  // UTF-8
  std::vector<uint8_t> bytes;
};

// Writes every file beside its target first ("<path>.part"), moves each old file aside
// ("<path>.previous"), moves the new ones in and deletes the old ones. When a step fails,
// whatever was moved is moved back, so that the old files are left exactly as they were (a
// missing one stays missing), and `error` names the file that could not be written or replaced,
// with the system's reason, and says that no file was replaced. Should an old file then refuse to
// go back, `error` says where it is kept instead: no old file is ever deleted before the new
// ones are all in place.
bool ReplaceTogether(const std::vector<NewFile>& files, std::string& error);

}  // namespace hostsim
