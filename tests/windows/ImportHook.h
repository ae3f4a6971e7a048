// Sends the calls a loaded module makes to one imported function to a replacement, for as long as
// the hook lives, by rewriting that import's slot in the module's import address table. Lets a
// test count what the module takes from and gives back to the system.
#pragma once

#include <windows.h>

#include <cstdint>

class ImportHook {
 public:
  ImportHook(HMODULE module, const char* dll, const char* function, void* replacement) {
    if (module == nullptr) return;
    auto* base = reinterpret_cast<uint8_t*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return;
    for (auto* library = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name != 0 && slot_ == nullptr; ++library) {
      if (lstrcmpiA(reinterpret_cast<const char*>(base + library->Name), dll) != 0) continue;
      // The names stay in the lookup table; the address table beside it holds the bound addresses.
      const DWORD lookup = library->OriginalFirstThunk != 0 ? library->OriginalFirstThunk : library->FirstThunk;
      const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + lookup);
      auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
      for (; names->u1.AddressOfData != 0; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
        if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
        slot_ = reinterpret_cast<void**>(&slots->u1.Function);
        break;
      }
    }
    if (slot_ == nullptr) return;
    original_ = *slot_;
    if (!Write(replacement)) slot_ = nullptr;
  }
  ~ImportHook() {
    if (slot_ != nullptr) Write(original_);
  }
  ImportHook(const ImportHook&) = delete;
  ImportHook& operator=(const ImportHook&) = delete;

  bool installed() const { return slot_ != nullptr; }
  // The function the module imported, for the replacement to pass the call on to.
  void* original() const { return original_; }

 private:
  bool Write(void* address) {
    DWORD protection = 0;
    if (!VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection)) return false;
    *slot_ = address;
    VirtualProtect(slot_, sizeof *slot_, protection, &protection);
    return true;
  }

  void** slot_ = nullptr;
  void* original_ = nullptr;
};
