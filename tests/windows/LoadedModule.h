// The built plug-in, loaded from beside the test program the way the host loads it.
#pragma once

#include <windows.h>

#include <string>

#include "ProgramFolder.h"
#include "host/Messages.h"

class LoadedModule {
 public:
  LoadedModule() : path_(ProgramFolder() + "ZEM_Variations.8li") { module_ = LoadLibraryA(path_.c_str()); }
  ~LoadedModule() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  HMODULE handle() const { return module_; }
  const std::string& path() const { return path_; }
  // The address of an export, or null.
  void* Export(const char* name) const { return reinterpret_cast<void*>(GetProcAddress(module_, name)); }
  host::SPPluginEntryPoint Entry() const {
    return reinterpret_cast<host::SPPluginEntryPoint>(Export("AutoPluginMain"));
  }

 private:
  std::string path_;
  HMODULE module_ = nullptr;
};
