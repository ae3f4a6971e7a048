// The folder of the running test program, with its trailing separator: the build puts the
// plug-in, the stand-in modules and the test data there.
#pragma once

#include <windows.h>

#include <string>

inline std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}
