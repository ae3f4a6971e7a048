// The module's activation context, and the wrapper through which every modal dialog is shown.
//
// While a dialog runs, the module's activation context is active, so its controls come from the
// Comctl32.dll version that context selects. The activation-context functions are looked up in
// kernel32 by name at run time and never imported: the module must load on systems that lack
// them, and there its dialogs simply run without activation.
#pragma once

#include <windows.h>

// The isolation-aware wrappers of the SDK redefine CreateActCtxW and DialogBoxParamA as macros,
// which would rename the functions below; this code does its own activation instead.
#if defined(ISOLATION_AWARE_ENABLED) && ISOLATION_AWARE_ENABLED
#error "ActivationContext.h does its own activation; build without ISOLATION_AWARE_ENABLED"
#endif

namespace zem {

// The signatures of the functions looked up in kernel32.
using CreateActCtxWFunction = HANDLE(WINAPI*)(PCACTCTXW actCtx);
using ActivateActCtxFunction = BOOL(WINAPI*)(HANDLE actCtx, ULONG_PTR* cookie);
using DeactivateActCtxFunction = BOOL(WINAPI*)(DWORD flags, ULONG_PTR cookie);
using QueryActCtxWFunction = BOOL(WINAPI*)(DWORD flags, HANDLE actCtx, PVOID subInstance, ULONG infoClass,
                                           PVOID buffer, SIZE_T bufferSize, SIZE_T* writtenOrRequired);
using FindActCtxSectionStringWFunction = BOOL(WINAPI*)(DWORD flags, const GUID* extensionGuid, ULONG sectionId,
                                                       LPCWSTR stringToFind, PACTCTX_SECTION_KEYED_DATA returnedData);
using GetModuleHandleExWFunction = BOOL(WINAPI*)(DWORD flags, LPCWSTR moduleName, HMODULE* module);

// Module-wide state. It lives for the whole life of the module and is never released; it is
// declared here so that tests can reset it.

// INVALID_HANDLE_VALUE until the set-up has succeeded; then the module's context, or null for
// the process default context.
extern HANDLE ModuleActCtx;
// Set once the activation-context functions turned out to be missing; from then on nothing is
// activated or deactivated.
extern bool ContextApiMissing;
// The kernel32 module in which the functions are looked up, kept once found.
extern HMODULE Kernel32Module;
// Each function's address, kept once found; a failed lookup is tried again at the next use.
extern CreateActCtxWFunction CreateActCtxWAddress;
extern ActivateActCtxFunction ActivateActCtxAddress;
extern DeactivateActCtxFunction DeactivateActCtxAddress;
extern QueryActCtxWFunction QueryActCtxWAddress;
extern FindActCtxSectionStringWFunction FindActCtxSectionStringWAddress;

// A function's address in kernel32, or null (with GetProcAddress's last error).
FARPROC GetKernel32Proc(const char* name);

// Calls to the looked-up functions, with the system functions' arguments and results. When a
// function cannot be found, the call fails (INVALID_HANDLE_VALUE for CreateActCtxW, FALSE for the
// others) with the last error the failed lookup left, ERROR_PROC_NOT_FOUND from GetProcAddress.
HANDLE WINAPI CreateActCtxW(PCACTCTXW actCtx);
BOOL WINAPI ActivateActCtx(HANDLE actCtx, ULONG_PTR* cookie);
BOOL WINAPI DeactivateActCtx(DWORD flags, ULONG_PTR cookie);
BOOL WINAPI QueryActCtxW(DWORD flags, HANDLE actCtx, PVOID subInstance, ULONG infoClass, PVOID buffer,
                         SIZE_T bufferSize, SIZE_T* writtenOrRequired);
BOOL WINAPI FindActCtxSectionStringW(DWORD flags, const GUID* extensionGuid, ULONG sectionId, LPCWSTR stringToFind,
                                     PACTCTX_SECTION_KEYED_DATA returnedData);

// Finds the module's context once: the one the loader gave the module, else one created from
// the module's own manifest resource, else (no such resource) the process default context. When
// that context redirects Comctl32.dll, the redirected version is loaded while it is active. TRUE
// once the context is known or the functions are known to be missing; FALSE with the last error
// otherwise, and the next call tries again.
BOOL InitActivationContext();

// Activates the module's context, setting the cookie for the deactivation. TRUE also when the
// functions turn out to be missing (ContextApiMissing is then set and nothing is activated).
BOOL ActivateModuleContext(ULONG_PTR* cookie);

// DialogBoxParamA with the module's context active while the dialog runs. Returns what
// DialogBoxParamA returns, or -1 when the context could not be activated (the dialog is then not
// shown). A failed dialog's last error survives the deactivation.
INT_PTR DialogBoxParamInContext(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC dialogProc,
                                LPARAM initParam);

}  // namespace zem
