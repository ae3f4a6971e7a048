// The built plug-in, loaded from beside the test program the way the host loads it.
#pragma once

#include <windows.h>

#include <string>

#include "host/Messages.h"
#include "platform/WindowsHandles.h"
#include "tests/support/ProgramFolder.h"

class LoadedModule {
 public:
  LoadedModule() : path_(ProgramFolder() + "ZEM_Variations.8li"), module_(LoadLibraryA(path_.c_str())) {}

  HMODULE handle() const { return module_.get(); }
  const std::string& path() const { return path_; }
  // The address of an export, or null.
  void* Export(const char* name) const { return reinterpret_cast<void*>(GetProcAddress(module_.get(), name)); }
  host::SPPluginEntryPoint Entry() const {
    return reinterpret_cast<host::SPPluginEntryPoint>(Export("AutoPluginMain"));
  }

 private:
  std::string path_;
  zem::UniqueLibrary module_;
};
