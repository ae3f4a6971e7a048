// The module's activation context: found once, activated around every modal dialog.
#include "platform/ActivationContext.h"

#include <cstddef>

#include "host/HostTypes.h"

namespace zem {

HANDLE ModuleActCtx = INVALID_HANDLE_VALUE;
bool ContextApiMissing = false;
HMODULE Kernel32Module = nullptr;
CreateActCtxWFunction CreateActCtxWAddress = nullptr;
ActivateActCtxFunction ActivateActCtxAddress = nullptr;
DeactivateActCtxFunction DeactivateActCtxAddress = nullptr;
QueryActCtxWFunction QueryActCtxWAddress = nullptr;
FindActCtxSectionStringWFunction FindActCtxSectionStringWAddress = nullptr;

namespace {

// QueryActCtxW: the subject is an address inside the module, and no reference is taken on the
// context it reports (the module never releases it).
constexpr DWORD kQueryByAddressNoAddRef = 0x80000000u | 0x00000010u;
constexpr ULONG kBasicInformation = 1;

// What QueryActCtxW reports for the basic-information class.
struct ContextBasicInformation {
  HANDLE context;
  DWORD flags;
};

// GetModuleHandleExW: the module containing an address, without touching its reference count.
constexpr DWORD kFromAddressUnchangedRefCount = 0x00000004u | 0x00000002u;

// The file name buffer: MAX_PATH characters and a terminator, plus one more character whose
// change tells that the name did not fit.
constexpr DWORD kFileNameCapacity = MAX_PATH + 2;

// The manifest resource of a DLL that activates its own context (the loader does not use it).
constexpr WORD kModuleManifestResource = 3;

// The keyed-data record in its original layout, the fields every system knows. Later SDKs append
// fields that older systems reject, so the record handed over is this layout's size, computed for
// the architecture being built: 40 bytes on x86 and 72 on x64, where every pointer is 8 bytes and
// each 32-bit field before a pointer is padded. (x64 Windows refuses the x86 figure as an invalid
// parameter.)
struct OriginalKeyedData {
  ULONG cbSize;
  ULONG ulDataFormatVersion;
  PVOID lpData;
  ULONG ulLength;
  PVOID lpSectionGlobalData;
  ULONG ulSectionGlobalDataLength;
  PVOID lpSectionBase;
  ULONG ulSectionTotalLength;
  HANDLE hActCtx;
  ULONG ulAssemblyRosterIndex;
};
constexpr ULONG kKeyedDataSize = sizeof(OriginalKeyedData);
constexpr ULONG kDllRedirectionSection = 2;

static_assert(sizeof(ACTCTXW) == host::ByAbi(32, 56), "ACTCTXW in its documented layout");
static_assert(sizeof(ContextBasicInformation) == host::ByAbi(8, 16), "a context handle and its flags");
static_assert(kKeyedDataSize == host::ByAbi(40, 72), "the keyed-data record's original layout");
static_assert(offsetof(ACTCTX_SECTION_KEYED_DATA, ulAssemblyRosterIndex) ==
                  offsetof(OriginalKeyedData, ulAssemblyRosterIndex),
              "the system's record starts with the original layout");
static_assert(sizeof(ACTCTX_SECTION_KEYED_DATA) >= kKeyedDataSize, "the keyed-data record holds the original layout");

// Runs an action when the scope ends, however it ends.
template <typename Action>
class ScopeExit {
 public:
  explicit ScopeExit(Action action) : action_(action) {}
  ~ScopeExit() { action_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Action action_;
};

template <typename Function>
Function ToFunction(FARPROC address) {
  // Through the generic function pointer type, which converts to any other without warnings.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

// The function's address, looked up only until it has been found once.
template <typename Function>
Function Resolve(Function& address, const char* name) {
  if (address == nullptr) address = ToFunction<Function>(GetKernel32Proc(name));
  return address;
}

// When the module's context redirects Comctl32.dll, loads that version while the context is
// active, so that the dialogs' control classes are registered from it. It is never freed.
void LoadRedirectedComctl32() {
  ACTCTX_SECTION_KEYED_DATA data;
  ZeroMemory(&data, sizeof data);
  data.cbSize = kKeyedDataSize;
  if (zem::FindActCtxSectionStringW(0, nullptr, kDllRedirectionSection, L"Comctl32.dll", &data)) {
    LoadLibraryW(L"Comctl32.dll");
  }
}

}  // namespace

FARPROC GetKernel32Proc(const char* name) {
  if (Kernel32Module == nullptr) {
    // Systems without the wide functions fail GetModuleHandleW as not implemented.
    HMODULE module = GetModuleHandleW(L"Kernel32.dll");
    if (module == nullptr && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) module = GetModuleHandleA("Kernel32.dll");
    Kernel32Module = module;
    if (module == nullptr) return nullptr;
  }
  return GetProcAddress(Kernel32Module, name);
}

HANDLE WINAPI CreateActCtxW(PCACTCTXW actCtx) {
  CreateActCtxWFunction function = Resolve(CreateActCtxWAddress, "CreateActCtxW");
  return function != nullptr ? function(actCtx) : INVALID_HANDLE_VALUE;
}

BOOL WINAPI ActivateActCtx(HANDLE actCtx, ULONG_PTR* cookie) {
  ActivateActCtxFunction function = Resolve(ActivateActCtxAddress, "ActivateActCtx");
  return function != nullptr ? function(actCtx, cookie) : FALSE;
}

BOOL WINAPI DeactivateActCtx(DWORD flags, ULONG_PTR cookie) {
  DeactivateActCtxFunction function = Resolve(DeactivateActCtxAddress, "DeactivateActCtx");
  return function != nullptr ? function(flags, cookie) : FALSE;
}

BOOL WINAPI QueryActCtxW(DWORD flags, HANDLE actCtx, PVOID subInstance, ULONG infoClass, PVOID buffer,
                         SIZE_T bufferSize, SIZE_T* writtenOrRequired) {
  QueryActCtxWFunction function = Resolve(QueryActCtxWAddress, "QueryActCtxW");
  return function != nullptr ? function(flags, actCtx, subInstance, infoClass, buffer, bufferSize, writtenOrRequired)
                             : FALSE;
}

BOOL WINAPI FindActCtxSectionStringW(DWORD flags, const GUID* extensionGuid, ULONG sectionId, LPCWSTR stringToFind,
                                     PACTCTX_SECTION_KEYED_DATA returnedData) {
  FindActCtxSectionStringWFunction function = Resolve(FindActCtxSectionStringWAddress, "FindActCtxSectionStringW");
  return function != nullptr ? function(flags, extensionGuid, sectionId, stringToFind, returnedData) : FALSE;
}

BOOL InitActivationContext() {
  if (ContextApiMissing || ModuleActCtx != INVALID_HANDLE_VALUE) return TRUE;

  // The context the loader gave this module, if any.
  ContextBasicInformation information = {nullptr, 0};
  if (!zem::QueryActCtxW(kQueryByAddressNoAddRef, &ModuleActCtx, nullptr, kBasicInformation, &information,
                         sizeof information, nullptr)) {
    return FALSE;
  }

  HANDLE context = information.context;
  if (context == nullptr) {
    // None: create one from the module's own manifest resource.
    GetModuleHandleExWFunction getModuleHandleEx = ToFunction<GetModuleHandleExWFunction>(
        GetKernel32Proc("GetModuleHandleExW"));
    HMODULE module = nullptr;
    if (getModuleHandleEx == nullptr ||
        !getModuleHandleEx(kFromAddressUnchangedRefCount, reinterpret_cast<LPCWSTR>(&ModuleActCtx), &module)) {
      return FALSE;
    }

    WCHAR fileName[kFileNameCapacity];
    fileName[kFileNameCapacity - 2] = 0;
    fileName[kFileNameCapacity - 1] = 0;
    if (GetModuleFileNameW(module, fileName, kFileNameCapacity) == 0) return FALSE;
    if (fileName[kFileNameCapacity - 2] != 0) {
      SetLastError(ERROR_BUFFER_OVERFLOW);
      return FALSE;
    }

    ACTCTXW record;
    ZeroMemory(&record, sizeof record);
    record.cbSize = sizeof record;
    record.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
    record.lpSource = fileName;
    record.lpResourceName = MAKEINTRESOURCEW(kModuleManifestResource);
    record.hModule = module;
    context = zem::CreateActCtxW(&record);
    if (context == INVALID_HANDLE_VALUE) {
      // A module without a manifest resource runs with the process default context.
      DWORD error = GetLastError();
      if (error < ERROR_RESOURCE_DATA_NOT_FOUND || error > ERROR_RESOURCE_LANG_NOT_FOUND) return FALSE;
      context = nullptr;
    }
  }
  ModuleActCtx = context;

  ULONG_PTR cookie = 0;
  if (zem::ActivateActCtx(ModuleActCtx, &cookie)) {
    ScopeExit deactivate([&cookie] { zem::DeactivateActCtx(0, cookie); });
    LoadRedirectedComctl32();
  }
  return TRUE;
}

BOOL ActivateModuleContext(ULONG_PTR* cookie) {
  if (ContextApiMissing) return TRUE;
  if (InitActivationContext() && zem::ActivateActCtx(ModuleActCtx, cookie)) return TRUE;
  // A system without the functions runs the dialogs without activation from now on.
  DWORD error = GetLastError();
  if (error == ERROR_PROC_NOT_FOUND || error == ERROR_CALL_NOT_IMPLEMENTED) {
    ContextApiMissing = true;
    return TRUE;
  }
  return FALSE;
}

INT_PTR DialogBoxParamInContext(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC dialogProc,
                                LPARAM initParam) {
  ULONG_PTR cookie = 0;
  INT_PTR result = -1;
  if (!ContextApiMissing && !ActivateModuleContext(&cookie)) return -1;
  {
    ScopeExit deactivate([&result, &cookie] {
      if (ContextApiMissing) return;
      // The caller wants the reason a failed dialog failed, not the deactivation's last error.
      const bool failed = result == -1;
      const DWORD error = failed ? GetLastError() : 0;
      zem::DeactivateActCtx(0, cookie);
      if (failed) SetLastError(error);
    });
    result = DialogBoxParamA(instance, templateName, parent, dialogProc, initParam);
  }
  return result;
}

}  // namespace zem
