// Stand-ins for kernel32's activation-context functions, exported under the system names (see
// the .def file). Each counts its calls, records its arguments and behaves as the state says.
#include "tests/windows/actctx_standin/ActCtxStandIn.h"

namespace {

ActCtxStandInState state;

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

void CopyText(WCHAR* to, size_t capacity, LPCWSTR from) {
  size_t length = 0;
  if (from != nullptr) {
    for (; length + 1 < capacity && from[length] != 0; ++length) to[length] = from[length];
  }
  to[length] = 0;
}

}  // namespace

extern "C" {

ActCtxStandInState* ActCtxStandIn() { return &state; }

BOOL WINAPI StandInQueryActCtxW(DWORD flags, HANDLE actCtx, PVOID subInstance, ULONG infoClass, PVOID buffer,
                                SIZE_T bufferSize, SIZE_T* writtenOrRequired) {
  ++state.queryCalls;
  state.queryFlags = flags;
  state.querySubject = actCtx;
  state.querySubInstance = subInstance;
  state.queryClass = infoClass;
  state.queryBufferSize = bufferSize;
  if (state.queryError != 0) return Fail(state.queryError);
  if (infoClass != 1 || bufferSize < 8 || buffer == nullptr) return Fail(ERROR_INSUFFICIENT_BUFFER);
  HANDLE* information = static_cast<HANDLE*>(buffer);
  information[0] = state.queryContext;
  reinterpret_cast<DWORD*>(information)[1] = 0;
  if (writtenOrRequired != nullptr) *writtenOrRequired = 8;
  return TRUE;
}

BOOL WINAPI StandInGetModuleHandleExW(DWORD flags, LPCWSTR moduleName, HMODULE* module) {
  ++state.moduleHandleCalls;
  state.moduleHandleFlags = flags;
  state.moduleHandleAddress = moduleName;
  if (module == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  *module = nullptr;
  if (state.moduleHandleError != 0) return Fail(state.moduleHandleError);
  *module = state.moduleHandle;
  return TRUE;
}

HANDLE WINAPI StandInCreateActCtxW(PCACTCTXW actCtx) {
  ++state.createCalls;
  state.createRecord = *actCtx;
  CopyText(state.createSource, sizeof state.createSource / sizeof state.createSource[0], actCtx->lpSource);
  if (state.createError != 0) {
    SetLastError(state.createError);
    return INVALID_HANDLE_VALUE;
  }
  return state.createdContext;
}

BOOL WINAPI StandInActivateActCtx(HANDLE actCtx, ULONG_PTR* cookie) {
  ++state.activateCalls;
  state.activatedContext = actCtx;
  if (state.activateError != 0) return Fail(state.activateError);
  if (cookie == nullptr || state.active == 16) return Fail(ERROR_INVALID_PARAMETER);
  *cookie = 0x1000 + static_cast<ULONG_PTR>(state.activateCalls);
  state.lastCookie = *cookie;
  state.activeCookies[state.active++] = *cookie;
  return TRUE;
}

BOOL WINAPI StandInDeactivateActCtx(DWORD flags, ULONG_PTR cookie) {
  ++state.deactivateCalls;
  state.deactivateFlags = flags;
  state.deactivatedCookie = cookie;
  BOOL result = FALSE;
  if (state.active > 0 && state.activeCookies[state.active - 1] == cookie) {
    --state.active;
    result = TRUE;
  } else {
    ++state.misorderedDeactivations;
  }
  SetLastError(state.deactivateLastError);
  return result;
}

BOOL WINAPI StandInFindActCtxSectionStringW(DWORD flags, const GUID* extensionGuid, ULONG sectionId,
                                            LPCWSTR stringToFind, PACTCTX_SECTION_KEYED_DATA returnedData) {
  ++state.findCalls;
  state.findFlags = flags;
  state.findGuid = extensionGuid;
  state.findSection = sectionId;
  CopyText(state.findString, sizeof state.findString / sizeof state.findString[0], stringToFind);
  state.findDataSize = returnedData != nullptr ? returnedData->cbSize : 0;
  state.activeDuringFind = state.active;
  if (!state.redirectsComctl32) return Fail(ERROR_SXS_KEY_NOT_FOUND);
  // Only the fields of the original 40-byte record are written.
  returnedData->ulDataFormatVersion = 1;
  returnedData->hActCtx = state.activatedContext;
  return TRUE;
}

}  // extern "C"
