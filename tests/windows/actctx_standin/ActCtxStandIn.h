// The state shared between the stand-ins for kernel32's activation-context functions
// (actctx_standin.dll) and the tests that point the wrapper's lookups at them: how each stand-in
// behaves, how often it was called and with what.
#pragma once

#include <windows.h>

struct ActCtxStandInState {
  // Behaviour. A zero error means that the call succeeds.
  DWORD queryError;           // QueryActCtxW
  HANDLE queryContext;        // the context QueryActCtxW reports for the module
  DWORD moduleHandleError;    // GetModuleHandleExW
  HMODULE moduleHandle;       // the module GetModuleHandleExW reports
  DWORD createError;          // CreateActCtxW
  HANDLE createdContext;      // what a successful CreateActCtxW returns
  DWORD activateError;        // ActivateActCtx
  BOOL redirectsComctl32;     // FindActCtxSectionStringW's answer
  DWORD deactivateLastError;  // the last error every DeactivateActCtx leaves, success or not

  // Calls.
  int queryCalls;
  int moduleHandleCalls;
  int createCalls;
  int activateCalls;
  int deactivateCalls;
  int findCalls;

  // The activations not yet deactivated, innermost last.
  int active;
  ULONG_PTR activeCookies[16];
  ULONG_PTR lastCookie;       // the cookie of the latest activation
  int misorderedDeactivations;  // deactivations of anything but the innermost activation

  // The arguments of the latest call of each.
  DWORD queryFlags;
  HANDLE querySubject;
  PVOID querySubInstance;
  ULONG queryClass;
  SIZE_T queryBufferSize;
  DWORD moduleHandleFlags;
  LPCWSTR moduleHandleAddress;
  ACTCTXW createRecord;
  WCHAR createSource[600];    // the text createRecord.lpSource pointed to
  HANDLE activatedContext;
  DWORD deactivateFlags;
  ULONG_PTR deactivatedCookie;
  DWORD findFlags;
  const GUID* findGuid;
  ULONG findSection;
  WCHAR findString[64];
  ULONG findDataSize;
  int activeDuringFind;
};

// Exported by actctx_standin.dll as "ActCtxStandIn": the one state of the loaded stand-in.
using ActCtxStandInFunction = ActCtxStandInState* (*)();
