// The activation-context wrapper, with its kernel32 lookups pointed at stand-ins that count and
// record every call (actctx_standin.dll) or at a module that has none of the functions
// (actctx_bare.dll), and once at the real kernel32.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>

#include "host/HostTypes.h"
#include "platform/ActivationContext.h"
#include "platform/WindowsHandles.h"
#include "tests/windows/actctx_standin/ActCtxStandIn.h"

namespace {

constexpr WORD kTestDialog = 101;     // ActivationContextTest.rc
constexpr WORD kMissingDialog = 999;  // no such template
constexpr LPARAM kDialogResult = 42;  // the dialog ends at once with its init parameter

// What the dialog procedure saw.
struct DialogRecord {
  int shown;
  int activeDuringDialog;  // the stand-in's open activations while the dialog ran
};
DialogRecord dialogs;
ActCtxStandInState* standIn;

INT_PTR CALLBACK EndAtOnce(HWND dialog, UINT message, WPARAM, LPARAM initParam) {
  if (message != WM_INITDIALOG) return FALSE;
  ++dialogs.shown;
  dialogs.activeDuringDialog = standIn->active;
  EndDialog(dialog, initParam);
  return TRUE;
}

template <typename Function>
Function ToFunction(FARPROC address) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.erase(folder.find_last_of(L"\\/") + 1);
}

HMODULE StandInModule() {
  static HMODULE module = LoadLibraryW(L"actctx_standin.dll");
  return module;
}

HMODULE BareModule() {
  static HMODULE module = LoadLibraryW(L"actctx_bare.dll");
  return module;
}

void ResetWrapper(HMODULE kernel32) {
  zem::ModuleActCtx = INVALID_HANDLE_VALUE;
  zem::ContextApiMissing = false;
  zem::Kernel32Module = kernel32;
  zem::CreateActCtxWAddress = nullptr;
  zem::ActivateActCtxAddress = nullptr;
  zem::DeactivateActCtxAddress = nullptr;
  zem::QueryActCtxWAddress = nullptr;
  zem::FindActCtxSectionStringWAddress = nullptr;
}

class ActivationContextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(StandInModule(), nullptr) << "actctx_standin.dll, error " << GetLastError();
    ASSERT_NE(BareModule(), nullptr) << "actctx_bare.dll, error " << GetLastError();
    auto stateOf = ToFunction<ActCtxStandInFunction>(GetProcAddress(StandInModule(), "ActCtxStandIn"));
    ASSERT_NE(stateOf, nullptr);
    state = standIn = stateOf();
    *state = ActCtxStandInState{};
    state->createdContext = kCreatedContext;
    dialogs = DialogRecord{};
    ResetWrapper(StandInModule());
  }

  void TearDown() override {
    EXPECT_EQ(state->active, 0) << "activations left open";
    EXPECT_EQ(state->misorderedDeactivations, 0);
    ResetWrapper(StandInModule());
  }

  static INT_PTR ShowDialog(WORD templateId = kTestDialog) {
    return zem::DialogBoxParamInContext(GetModuleHandleW(nullptr), MAKEINTRESOURCEA(templateId), nullptr, EndAtOnce,
                                        kDialogResult);
  }

  static HANDLE const kCreatedContext;
  ActCtxStandInState* state = nullptr;
};

HANDLE const ActivationContextTest::kCreatedContext = reinterpret_cast<HANDLE>(0x6000);

// ---------------------------------------------------------------------------------------------
// Looking the functions up.

class ActivationContextLookup : public ActivationContextTest {};

TEST_F(ActivationContextLookup, FindsFunctionsInTheSystemKernel32WhenNoneIsSet) {
  HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  ASSERT_NE(kernel32, nullptr);
  zem::Kernel32Module = nullptr;
  EXPECT_EQ(zem::GetKernel32Proc("ActivateActCtx"), GetProcAddress(kernel32, "ActivateActCtx"));
  EXPECT_NE(zem::GetKernel32Proc("ActivateActCtx"), nullptr);
  EXPECT_EQ(zem::Kernel32Module, kernel32);

  SetLastError(0);
  EXPECT_EQ(zem::GetKernel32Proc("NoSuchActivationFunction"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
}

TEST_F(ActivationContextLookup, StandInExportsTheSystemNamesUndecorated) {
  for (const char* name : {"QueryActCtxW", "GetModuleHandleExW", "CreateActCtxW", "ActivateActCtx",
                           "DeactivateActCtx", "FindActCtxSectionStringW"}) {
    EXPECT_NE(GetProcAddress(StandInModule(), name), nullptr) << name;
    EXPECT_EQ(GetProcAddress(BareModule(), name), nullptr) << name;
  }
  EXPECT_EQ(GetProcAddress(StandInModule(), "StandInQueryActCtxW@28"), nullptr);
  EXPECT_EQ(GetProcAddress(StandInModule(), "_StandInQueryActCtxW@28"), nullptr);
}

TEST_F(ActivationContextLookup, MissingFunctionsFailWithTheLookupsLastError) {
  zem::Kernel32Module = BareModule();
  ACTCTXW record{};
  record.cbSize = sizeof record;

  SetLastError(0);
  EXPECT_EQ(zem::CreateActCtxW(&record), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));

  ULONG_PTR cookie = 7;
  SetLastError(0);
  EXPECT_FALSE(zem::ActivateActCtx(nullptr, &cookie));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(cookie, 7u);

  SetLastError(0);
  EXPECT_FALSE(zem::DeactivateActCtx(0, cookie));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));

  EXPECT_EQ(zem::CreateActCtxWAddress, nullptr);
  EXPECT_EQ(zem::ActivateActCtxAddress, nullptr);
  EXPECT_EQ(zem::DeactivateActCtxAddress, nullptr);
}

TEST_F(ActivationContextLookup, FailedLookupIsRetriedAndAFoundAddressIsKept) {
  zem::Kernel32Module = BareModule();
  ULONG_PTR cookie = 0;
  EXPECT_FALSE(zem::ActivateActCtx(nullptr, &cookie));

  zem::Kernel32Module = StandInModule();
  EXPECT_TRUE(zem::ActivateActCtx(nullptr, &cookie));
  EXPECT_EQ(state->activateCalls, 1);

  zem::Kernel32Module = BareModule();
  EXPECT_FALSE(zem::DeactivateActCtx(0, cookie));  // not found yet, and not in this module
  EXPECT_EQ(state->deactivateCalls, 0);
  zem::Kernel32Module = StandInModule();
  EXPECT_TRUE(zem::DeactivateActCtx(0, cookie));
  EXPECT_EQ(state->deactivateCalls, 1);

  // Found once, the addresses no longer depend on the module the lookups go to.
  zem::Kernel32Module = BareModule();
  ULONG_PTR second = 0;
  EXPECT_TRUE(zem::ActivateActCtx(nullptr, &second));
  EXPECT_TRUE(zem::DeactivateActCtx(0, second));
  EXPECT_EQ(state->activateCalls, 2);
  EXPECT_EQ(state->deactivateCalls, 2);
}

TEST_F(ActivationContextLookup, EntriesPassArgumentsAndResultsThrough) {
  ACTCTXW record{};
  record.cbSize = sizeof record;
  record.lpSource = L"C:\\module.dll";
  EXPECT_EQ(zem::CreateActCtxW(&record), kCreatedContext);
  EXPECT_EQ(state->createCalls, 1);
  EXPECT_EQ(std::wstring(state->createSource), L"C:\\module.dll");

  state->createError = ERROR_ACCESS_DENIED;
  SetLastError(0);
  EXPECT_EQ(zem::CreateActCtxW(&record), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

  ULONG_PTR cookie = 0;
  EXPECT_TRUE(zem::ActivateActCtx(kCreatedContext, &cookie));
  EXPECT_EQ(state->activatedContext, kCreatedContext);
  EXPECT_EQ(cookie, state->lastCookie);
  EXPECT_NE(cookie, 0u);
  EXPECT_TRUE(zem::DeactivateActCtx(0, cookie));
  EXPECT_EQ(state->deactivatedCookie, cookie);
}

// ---------------------------------------------------------------------------------------------
// Systems without the functions.

class ActivationContextMissingApi : public ActivationContextTest {};

TEST_F(ActivationContextMissingApi, DialogsRunWithoutActivationWhenTheFunctionsCannotBeFound) {
  zem::Kernel32Module = BareModule();
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(dialogs.shown, 1);
  EXPECT_TRUE(zem::ContextApiMissing);
  EXPECT_EQ(zem::ModuleActCtx, INVALID_HANDLE_VALUE);

  // Once known to be missing, the functions are not even looked for again.
  zem::Kernel32Module = StandInModule();
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(dialogs.shown, 3);
  EXPECT_TRUE(zem::ContextApiMissing);
  EXPECT_EQ(state->queryCalls, 0);
  EXPECT_EQ(state->activateCalls, 0);
  EXPECT_EQ(state->deactivateCalls, 0);
}

TEST_F(ActivationContextMissingApi, QueryNotImplementedCountsAsMissing) {
  state->queryError = ERROR_CALL_NOT_IMPLEMENTED;
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(dialogs.shown, 1);
  EXPECT_EQ(dialogs.activeDuringDialog, 0);
  EXPECT_TRUE(zem::ContextApiMissing);
  EXPECT_EQ(state->queryCalls, 1);

  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(dialogs.shown, 2);
  EXPECT_EQ(state->queryCalls, 1);
  EXPECT_EQ(state->moduleHandleCalls, 0);
  EXPECT_EQ(state->createCalls, 0);
  EXPECT_EQ(state->activateCalls, 0);
  EXPECT_EQ(state->deactivateCalls, 0);
}

TEST_F(ActivationContextMissingApi, ActivationNotImplementedRunsTheDialogWithoutDeactivating) {
  state->activateError = ERROR_CALL_NOT_IMPLEMENTED;
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(dialogs.shown, 1);
  EXPECT_TRUE(zem::ContextApiMissing);
  // One attempt inside the set-up (its look-up skipped), one for the dialog; nothing to undo.
  EXPECT_EQ(state->activateCalls, 2);
  EXPECT_EQ(state->findCalls, 0);
  EXPECT_EQ(state->deactivateCalls, 0);
}

TEST_F(ActivationContextMissingApi, ActivateModuleContextReportsSuccessWithoutActivating) {
  zem::ContextApiMissing = true;
  ULONG_PTR cookie = 0;
  EXPECT_TRUE(zem::ActivateModuleContext(&cookie));
  EXPECT_TRUE(zem::InitActivationContext());
  EXPECT_EQ(cookie, 0u);
  EXPECT_EQ(state->queryCalls, 0);
  EXPECT_EQ(state->activateCalls, 0);
}

// ---------------------------------------------------------------------------------------------
// Finding or creating the module's context.

class ActivationContextSetUp : public ActivationContextTest {};

TEST_F(ActivationContextSetUp, AsksForTheContextOfTheModuleContainingItsState) {
  state->queryContext = reinterpret_cast<HANDLE>(0x5000);
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(state->queryCalls, 1);
  EXPECT_EQ(state->queryFlags, 0x80000010u);
  EXPECT_EQ(state->querySubject, static_cast<HANDLE>(&zem::ModuleActCtx));
  EXPECT_EQ(state->querySubInstance, nullptr);
  EXPECT_EQ(state->queryClass, 1u);
  EXPECT_EQ(state->queryBufferSize, host::ByAbi(8, 16)) << "a context handle and its flags";
}

TEST_F(ActivationContextSetUp, ContextTheLoaderGaveTheModuleIsUsedAsItIs) {
  HANDLE given = reinterpret_cast<HANDLE>(0x5000);
  state->queryContext = given;
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(zem::ModuleActCtx, given);
  EXPECT_EQ(state->activatedContext, given);
  EXPECT_EQ(state->moduleHandleCalls, 0);
  EXPECT_EQ(state->createCalls, 0);
}

TEST_F(ActivationContextSetUp, CreatesAContextFromTheModulesManifestResource) {
  HMODULE program = GetModuleHandleW(nullptr);
  state->moduleHandle = program;
  EXPECT_EQ(ShowDialog(), kDialogResult);

  EXPECT_EQ(state->moduleHandleCalls, 1);
  EXPECT_EQ(state->moduleHandleFlags, 6u);
  EXPECT_EQ(state->moduleHandleAddress, reinterpret_cast<LPCWSTR>(&zem::ModuleActCtx));

  wchar_t programPath[MAX_PATH] = {};
  ASSERT_NE(GetModuleFileNameW(program, programPath, MAX_PATH), 0u);
  ASSERT_EQ(state->createCalls, 1);
  const ACTCTXW& record = state->createRecord;
  EXPECT_EQ(record.cbSize, host::ByAbi(32, 56)) << "the record's size on this architecture";
  EXPECT_EQ(record.dwFlags, 0x88u);
  EXPECT_EQ(std::wstring(state->createSource), programPath);
  EXPECT_EQ(record.lpResourceName, MAKEINTRESOURCEW(3));
  EXPECT_EQ(record.hModule, program);
  EXPECT_EQ(record.wProcessorArchitecture, 0);
  EXPECT_EQ(record.wLangId, 0);
  EXPECT_EQ(record.lpAssemblyDirectory, nullptr);
  EXPECT_EQ(record.lpApplicationName, nullptr);

  EXPECT_EQ(zem::ModuleActCtx, kCreatedContext);
  EXPECT_EQ(state->activatedContext, kCreatedContext);
}

TEST_F(ActivationContextSetUp, WithoutAManifestResourceTheProcessDefaultIsUsed) {
  for (DWORD error : {ERROR_RESOURCE_DATA_NOT_FOUND, ERROR_RESOURCE_TYPE_NOT_FOUND, ERROR_RESOURCE_NAME_NOT_FOUND,
                      ERROR_RESOURCE_LANG_NOT_FOUND}) {
    SCOPED_TRACE(error);
    *state = ActCtxStandInState{};
    state->moduleHandle = GetModuleHandleW(nullptr);
    state->createError = error;
    dialogs = DialogRecord{};
    ResetWrapper(StandInModule());

    EXPECT_EQ(ShowDialog(), kDialogResult);
    EXPECT_EQ(dialogs.shown, 1);
    EXPECT_EQ(dialogs.activeDuringDialog, 1);
    EXPECT_EQ(zem::ModuleActCtx, nullptr);
    EXPECT_FALSE(zem::ContextApiMissing);
    EXPECT_EQ(state->activatedContext, nullptr);
    EXPECT_EQ(state->activateCalls, 2);

    // The null context is a result: it is not looked for again.
    EXPECT_EQ(ShowDialog(), kDialogResult);
    EXPECT_EQ(state->createCalls, 1);
    EXPECT_EQ(state->queryCalls, 1);
  }
}

TEST_F(ActivationContextSetUp, OtherCreationFailuresFailTheDialogAndAreRetried) {
  state->moduleHandle = GetModuleHandleW(nullptr);
  state->createError = ERROR_ACCESS_DENIED;
  SetLastError(0);
  EXPECT_EQ(ShowDialog(), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(dialogs.shown, 0);
  EXPECT_EQ(zem::ModuleActCtx, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(zem::ContextApiMissing);
  EXPECT_EQ(state->activateCalls, 0);

  state->createError = 0;
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(dialogs.shown, 1);
  EXPECT_EQ(state->queryCalls, 2);
  EXPECT_EQ(state->moduleHandleCalls, 2);
  EXPECT_EQ(state->createCalls, 2);
  EXPECT_EQ(zem::ModuleActCtx, kCreatedContext);
}

TEST_F(ActivationContextSetUp, QueryAndModuleHandleFailuresFailTheDialog) {
  state->queryError = ERROR_INVALID_PARAMETER;
  SetLastError(0);
  EXPECT_EQ(ShowDialog(), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(state->moduleHandleCalls, 0);

  state->queryError = 0;
  state->moduleHandleError = ERROR_MOD_NOT_FOUND;
  SetLastError(0);
  EXPECT_EQ(ShowDialog(), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(state->moduleHandleCalls, 1);
  EXPECT_EQ(state->createCalls, 0);

  EXPECT_EQ(dialogs.shown, 0);
  EXPECT_FALSE(zem::ContextApiMissing);
  EXPECT_EQ(zem::ModuleActCtx, INVALID_HANDLE_VALUE);
}

TEST_F(ActivationContextSetUp, GetModuleHandleExWIsLookedUpAtEveryUse) {
  state->moduleHandle = GetModuleHandleW(nullptr);
  state->createError = ERROR_ACCESS_DENIED;
  EXPECT_FALSE(zem::InitActivationContext());
  EXPECT_EQ(state->moduleHandleCalls, 1);

  // QueryActCtxW stays found; GetModuleHandleExW is looked for again, and now is missing.
  zem::Kernel32Module = BareModule();
  SetLastError(0);
  EXPECT_FALSE(zem::InitActivationContext());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(state->queryCalls, 2);
  EXPECT_EQ(state->moduleHandleCalls, 1);
  EXPECT_EQ(state->createCalls, 1);
}

TEST_F(ActivationContextSetUp, FailedActivationFailsTheDialogButKeepsTheContext) {
  state->queryContext = reinterpret_cast<HANDLE>(0x5000);
  state->activateError = ERROR_INVALID_HANDLE;
  SetLastError(0);
  EXPECT_EQ(ShowDialog(), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(dialogs.shown, 0);
  EXPECT_FALSE(zem::ContextApiMissing);
  EXPECT_EQ(zem::ModuleActCtx, reinterpret_cast<HANDLE>(0x5000));
  EXPECT_EQ(state->activateCalls, 2);
  EXPECT_EQ(state->findCalls, 0);
  EXPECT_EQ(state->deactivateCalls, 0);

  state->activateError = 0;
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(state->queryCalls, 1);
  EXPECT_EQ(state->activateCalls, 3);
  EXPECT_EQ(state->deactivateCalls, 1);
}

BOOL WINAPI ThrowingFind(DWORD, const GUID*, ULONG, LPCWSTR, PACTCTX_SECTION_KEYED_DATA) {
  throw std::runtime_error("section look-up failed");
}

TEST_F(ActivationContextSetUp, LookUpEndingByAnExceptionStillDeactivates) {
  state->queryContext = reinterpret_cast<HANDLE>(0x5000);
  zem::FindActCtxSectionStringWAddress = ThrowingFind;
  EXPECT_THROW(zem::InitActivationContext(), std::runtime_error);
  EXPECT_EQ(state->activateCalls, 1);
  EXPECT_EQ(state->deactivateCalls, 1);
  EXPECT_EQ(state->deactivatedCookie, state->lastCookie);
  EXPECT_EQ(zem::ModuleActCtx, reinterpret_cast<HANDLE>(0x5000));
}

// ---------------------------------------------------------------------------------------------
// The module's file name: a name of MAX_PATH characters fits, a longer one does not.

class ActivationContextModulePath : public ActivationContextTest {
 protected:
  // Loads a copy of actctx_bare.dll from a path of exactly `length` characters, in folders
  // beside the test program.
  void LoadCopyAt(size_t length) {
    std::wstring path = ProgramFolder() + L"actctx_path" + std::to_wstring(length);
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    path += L'\\';
    ASSERT_LT(path.size() + 5, length);
    while (length - path.size() > 120) {
      path.append(100, L'd');
      ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
          << "folder of " << path.size() << " characters, error " << GetLastError();
      path += L'\\';
    }
    path.append(length - path.size() - 4, L'm');
    path += L".dll";
    ASSERT_EQ(path.size(), length);
    ASSERT_TRUE(CopyFileW((ProgramFolder() + L"actctx_bare.dll").c_str(), path.c_str(), FALSE))
        << "error " << GetLastError();
    copy_.reset(LoadLibraryW(path.c_str()));
    ASSERT_TRUE(copy_) << "load from " << length << " characters, error " << GetLastError();
    path_ = path;
  }

  void TearDown() override {
    copy_.reset();
    ActivationContextTest::TearDown();
  }

  zem::UniqueLibrary copy_;
  std::wstring path_;
};

TEST_F(ActivationContextModulePath, NameOfMaxPathCharactersIsUsed) {
  ASSERT_NO_FATAL_FAILURE(LoadCopyAt(260));
  wchar_t name[300] = {};
  ASSERT_EQ(GetModuleFileNameW(copy_.get(), name, 300), 260u) << "the loader reports another name";

  state->moduleHandle = copy_.get();
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(dialogs.shown, 1);
  ASSERT_EQ(state->createCalls, 1);
  EXPECT_EQ(std::wstring(state->createSource), path_);
  EXPECT_EQ(state->createRecord.hModule, copy_.get());
}

TEST_F(ActivationContextModulePath, LongerNameFailsWithBufferOverflow) {
  ASSERT_NO_FATAL_FAILURE(LoadCopyAt(261));
  wchar_t name[300] = {};
  ASSERT_EQ(GetModuleFileNameW(copy_.get(), name, 300), 261u) << "the loader reports another name";

  state->moduleHandle = copy_.get();
  SetLastError(0);
  EXPECT_EQ(ShowDialog(), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
  EXPECT_EQ(dialogs.shown, 0);
  EXPECT_EQ(state->createCalls, 0);
  EXPECT_EQ(state->activateCalls, 0);
  EXPECT_EQ(zem::ModuleActCtx, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(zem::ContextApiMissing);
}

// ---------------------------------------------------------------------------------------------
// Activation around the dialogs.

class ActivationContextDialogs : public ActivationContextTest {};

TEST_F(ActivationContextDialogs, FirstDialogActivatesTwiceThenOncePerDialog) {
  state->queryContext = reinterpret_cast<HANDLE>(0x5000);
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(dialogs.activeDuringDialog, 1);
  EXPECT_EQ(state->activateCalls, 2);
  EXPECT_EQ(state->deactivateCalls, 2);
  EXPECT_EQ(state->deactivateFlags, 0u);
  EXPECT_EQ(state->deactivatedCookie, state->lastCookie);

  for (int dialog = 2; dialog <= 4; ++dialog) {
    SCOPED_TRACE(dialog);
    dialogs.activeDuringDialog = 0;
    EXPECT_EQ(ShowDialog(), kDialogResult);
    EXPECT_EQ(dialogs.activeDuringDialog, 1);
    EXPECT_EQ(state->activateCalls, dialog + 1);
    EXPECT_EQ(state->deactivateCalls, dialog + 1);
    EXPECT_EQ(state->activatedContext, reinterpret_cast<HANDLE>(0x5000));
    EXPECT_EQ(state->deactivateFlags, 0u);
    EXPECT_EQ(state->deactivatedCookie, state->lastCookie);
  }
  EXPECT_EQ(dialogs.shown, 4);
  EXPECT_EQ(state->queryCalls, 1);
  EXPECT_EQ(state->findCalls, 1);
  EXPECT_EQ(state->createCalls, 0);
}

TEST_F(ActivationContextDialogs, SetUpAfterCreationAlsoRunsOnce) {
  state->moduleHandle = GetModuleHandleW(nullptr);
  for (int dialog = 1; dialog <= 3; ++dialog) EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(dialogs.shown, 3);
  EXPECT_EQ(state->queryCalls, 1);
  EXPECT_EQ(state->moduleHandleCalls, 1);
  EXPECT_EQ(state->createCalls, 1);
  EXPECT_EQ(state->activateCalls, 4);
  EXPECT_EQ(state->deactivateCalls, 4);
}

TEST_F(ActivationContextDialogs, FailedDialogKeepsItsOwnLastError) {
  state->deactivateLastError = ERROR_INVALID_HANDLE;

  // The error DialogBoxParamA itself leaves for a template that does not exist.
  SetLastError(0);
  ASSERT_EQ(DialogBoxParamA(GetModuleHandleW(nullptr), MAKEINTRESOURCEA(kMissingDialog), nullptr, EndAtOnce,
                            kDialogResult),
            -1);
  const DWORD dialogError = GetLastError();
  ASSERT_NE(dialogError, 0u);
  ASSERT_NE(dialogError, static_cast<DWORD>(ERROR_INVALID_HANDLE));

  SetLastError(0);
  EXPECT_EQ(ShowDialog(kMissingDialog), -1);
  EXPECT_EQ(GetLastError(), dialogError);
  EXPECT_EQ(state->deactivateCalls, 2);
  EXPECT_EQ(dialogs.shown, 0);

  // The deactivation does overwrite the last error: after a dialog that ran, it shows.
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// ---------------------------------------------------------------------------------------------
// The redirected Comctl32.dll.

// The loader's notifications of loaded modules: how often Comctl32.dll was loaded, and how many
// stand-in activations were open then.
struct CountedString {
  USHORT length;
  USHORT capacity;
  PWSTR text;
};
struct LoadNotification {
  ULONG flags;
  const CountedString* fullName;
  const CountedString* baseName;
  PVOID base;
  ULONG size;
};
using LoadNotificationFunction = VOID(CALLBACK*)(ULONG reason, const LoadNotification* data, PVOID context);
using RegisterFunction = LONG(NTAPI*)(ULONG flags, LoadNotificationFunction function, PVOID context, PVOID* cookie);
using UnregisterFunction = LONG(NTAPI*)(PVOID cookie);

int comctl32Loads;
int activeAtComctl32Load;

VOID CALLBACK CountComctl32Loads(ULONG reason, const LoadNotification* data, PVOID) {
  if (reason != 1 || data == nullptr || data->baseName == nullptr) return;
  std::wstring name(data->baseName->text, data->baseName->length / sizeof(wchar_t));
  if (CompareStringOrdinal(name.c_str(), -1, L"comctl32.dll", -1, TRUE) != CSTR_EQUAL) return;
  ++comctl32Loads;
  activeAtComctl32Load = standIn->active;
}

class ActivationContextComctl32 : public ActivationContextTest {
 protected:
  void SetUp() override {
    ActivationContextTest::SetUp();
    comctl32Loads = 0;
    activeAtComctl32Load = -1;
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto registerNotification = ToFunction<RegisterFunction>(GetProcAddress(ntdll, "LdrRegisterDllNotification"));
    ASSERT_NE(registerNotification, nullptr);
    ASSERT_EQ(registerNotification(0, CountComctl32Loads, nullptr, &cookie_), 0);
  }
  void TearDown() override {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto unregister = ToFunction<UnregisterFunction>(GetProcAddress(ntdll, "LdrUnregisterDllNotification"));
    if (cookie_ != nullptr && unregister != nullptr) unregister(cookie_);
    ActivationContextTest::TearDown();
  }

  PVOID cookie_ = nullptr;
};

TEST_F(ActivationContextComctl32, LookUpAsksWhileTheContextIsActive) {
  state->queryContext = reinterpret_cast<HANDLE>(0x5000);
  EXPECT_EQ(ShowDialog(), kDialogResult);
  ASSERT_EQ(state->findCalls, 1);
  EXPECT_EQ(state->findFlags, 0u);
  EXPECT_EQ(state->findGuid, nullptr);
  EXPECT_EQ(state->findSection, 2u);
  EXPECT_EQ(std::wstring(state->findString), L"Comctl32.dll");
  EXPECT_EQ(state->findDataSize, host::ByAbi(40, 72)) << "the original layout on this architecture";
  EXPECT_EQ(state->activeDuringFind, 1);
}

// These two need a process that has not loaded Comctl32.dll yet: ctest runs every case in a
// process of its own, and no earlier case in this program loads it.
TEST_F(ActivationContextComctl32, NotLoadedWithoutRedirection) {
  ASSERT_EQ(GetModuleHandleW(L"comctl32.dll"), nullptr) << "loaded before the case";
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(state->findCalls, 1);
  EXPECT_EQ(comctl32Loads, 0);
  EXPECT_EQ(GetModuleHandleW(L"comctl32.dll"), nullptr);
}

TEST_F(ActivationContextComctl32, RedirectedVersionIsLoadedOnceWhileTheContextIsActive) {
  ASSERT_EQ(GetModuleHandleW(L"comctl32.dll"), nullptr) << "loaded before the case";
  state->redirectsComctl32 = TRUE;
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(comctl32Loads, 1);
  EXPECT_EQ(activeAtComctl32Load, 1);
  EXPECT_NE(GetModuleHandleW(L"comctl32.dll"), nullptr);

  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(state->findCalls, 1);
  EXPECT_EQ(comctl32Loads, 1);
  EXPECT_EQ(dialogs.shown, 3);
  // Never freed: still loaded after all the dialogs.
  EXPECT_NE(GetModuleHandleW(L"comctl32.dll"), nullptr);
}

// ---------------------------------------------------------------------------------------------
// The system's own functions.

class ActivationContextSystem : public ActivationContextTest {};

TEST_F(ActivationContextSystem, DialogRunsUnderTheSystemFunctions) {
  ResetWrapper(nullptr);
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(dialogs.shown, 1);
  EXPECT_FALSE(zem::ContextApiMissing);
  EXPECT_NE(zem::ModuleActCtx, INVALID_HANDLE_VALUE);
  EXPECT_EQ(zem::Kernel32Module, GetModuleHandleW(L"kernel32.dll"));
  // The program has no manifest resource for its own code, so it runs in the process default.
  EXPECT_EQ(zem::ModuleActCtx, nullptr);
  EXPECT_EQ(ShowDialog(), kDialogResult);
  EXPECT_EQ(dialogs.shown, 2);
  // None of it went to the stand-ins.
  EXPECT_EQ(state->queryCalls + state->activateCalls + state->deactivateCalls, 0);
}

}  // namespace
