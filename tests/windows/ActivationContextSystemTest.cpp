// The activation-context wrapper under the system's own functions, in a program that carries a
// manifest resource asking for version 6 of the common controls: the context is created from it,
// and the look-up of its Comctl32.dll redirection must be accepted (its keyed-data record has this
// architecture's size), so the redirected version is loaded while the context is active.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwctype>
#include <string>

#include "platform/ActivationContext.h"

namespace {

constexpr WORD kTestDialog = 101;  // ActivationContextSystemTest.rc
constexpr LPARAM kDialogResult = 42;

INT_PTR CALLBACK EndAtOnce(HWND dialog, UINT message, WPARAM, LPARAM initParam) {
  if (message == WM_INITDIALOG) EndDialog(dialog, initParam);
  return message == WM_INITDIALOG;
}

// The set-up alone, before any dialog: a dialog's controls would load the redirected library
// themselves through the context's window-class redirection.
TEST(ActivationContextSystemTest, RedirectionLookUpIsAcceptedAndLoadsTheRedirectedVersion) {
  ASSERT_EQ(GetModuleHandleW(L"comctl32.dll"), nullptr) << "loaded before the set-up";

  ASSERT_TRUE(zem::InitActivationContext()) << "error " << GetLastError();
  EXPECT_FALSE(zem::ContextApiMissing);
  ASSERT_NE(zem::ModuleActCtx, INVALID_HANDLE_VALUE);
  EXPECT_NE(zem::ModuleActCtx, nullptr) << "created from the program's manifest resource";

  HMODULE comctl32 = GetModuleHandleW(L"comctl32.dll");
  ASSERT_NE(comctl32, nullptr) << "the look-up of the redirection was refused";
  // The redirected version comes from the side-by-side store, not from the system folder.
  wchar_t path[MAX_PATH] = {};
  ASSERT_NE(GetModuleFileNameW(comctl32, path, MAX_PATH), 0u);
  std::wstring file(path);
  for (wchar_t& c : file) c = static_cast<wchar_t>(towlower(c));
  EXPECT_NE(file.find(L"\\winsxs\\"), std::wstring::npos) << "loaded from " << std::string(file.begin(), file.end());
  EXPECT_NE(file.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6."), std::wstring::npos);
}

TEST(ActivationContextSystemTest, DialogsRunInTheCreatedContext) {
  EXPECT_EQ(zem::DialogBoxParamInContext(GetModuleHandleW(nullptr), MAKEINTRESOURCEA(kTestDialog), nullptr,
                                         EndAtOnce, kDialogResult),
            kDialogResult)
      << "error " << GetLastError();
  EXPECT_NE(zem::ModuleActCtx, nullptr);
}

}  // namespace
