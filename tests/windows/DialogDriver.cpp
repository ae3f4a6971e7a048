#include "tests/windows/DialogDriver.h"

#include <cstdlib>

namespace dialog_driver {
namespace {

constexpr DWORD kWaitForDialogMs = 10000;
constexpr DWORD kPollMs = 10;
constexpr DWORD kPointerWaitMs = 2000;
constexpr int kPointerMoves = 3;

struct Search {
  HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM context) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  reinterpret_cast<Search*>(context)->found = window;
  return FALSE;
}

// The dialog, or null when the call that was to show it has returned without one.
HWND WaitForDialog(DWORD thread, HANDLE callReturned) {
  for (DWORD waited = 0; waited < kWaitForDialogMs; waited += kPollMs) {
    Search search;
    EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    if (WaitForSingleObject(callReturned, kPollMs) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

void SendInputs(INPUT* inputs, UINT count) { SendInput(count, inputs, sizeof(INPUT)); }

INPUT MouseInput(POINT screenPoint, DWORD flags) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = (screenPoint.x * 65536 + width / 2) / width;
  input.mi.dy = (screenPoint.y * 65536 + height / 2) / height;
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return input;
}

}  // namespace

Driver::Driver(Script script)
    : script_(std::move(script)),
      dialogThread_(GetCurrentThreadId()),
      callReturned_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
  thread_.reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
}

Driver::~Driver() { Finish(); }

void Driver::Finish() {
  if (!thread_) return;
  SetEvent(callReturned_.get());
  WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
}

DWORD WINAPI Driver::Run(void* self) {
  auto& driver = *static_cast<Driver*>(self);
  HWND dialog = WaitForDialog(driver.dialogThread_, driver.callReturned_.get());
  if (dialog == nullptr) return 0;
  driver.sawDialog_ = true;
  Settle(dialog);
  driver.script_(dialog);
  if (!WaitClosed(dialog)) {
    driver.leftOpen_ = true;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    if (!WaitClosed(dialog)) PostMessageA(dialog, WM_CLOSE, 0, 0);
  }
  return 0;
}

void Click(HWND dialog, int controlId) { SendMessageA(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0); }

void ClickAt(HWND dialog, POINT clientPoint) {
  ClientToScreen(dialog, &clientPoint);
  // The pointer is moved first, and pressed once it is there. Sent together, the press could land
  // where the pointer had been: under Wine on a slow machine, the window system's report of an
  // earlier position can arrive between the move and the press and take the pointer back.
  INPUT move = MouseInput(clientPoint, MOUSEEVENTF_MOVE);
  for (int attempt = 0; attempt < kPointerMoves; ++attempt) {
    SendInputs(&move, 1);
    if (WaitForPointerAt(clientPoint, dialog)) break;
  }
  INPUT press[2] = {MouseInput(clientPoint, MOUSEEVENTF_LEFTDOWN), MouseInput(clientPoint, MOUSEEVENTF_LEFTUP)};
  SendInputs(press, 2);
}

void PressKey(HWND, WORD virtualKey) {
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = virtualKey;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInputs(inputs, 2);
}

void CloseBox(HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool WaitForPointerAt(POINT screenPoint, HWND dialog) {
  int agreeing = 0;
  for (DWORD waited = 0; waited < kPointerWaitMs; waited += kPollMs) {
    if (dialog != nullptr) {
      SendMessageA(dialog, WM_NULL, 0, 0);
    } else {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    POINT now{};
    GetCursorPos(&now);
    const bool there = std::labs(now.x - screenPoint.x) <= 1 && std::labs(now.y - screenPoint.y) <= 1;
    agreeing = there ? agreeing + 1 : 0;
    if (agreeing == 2) return true;
    Sleep(kPollMs);
  }
  return false;
}

void Settle(HWND dialog) {
  Sleep(50);
  SendMessageA(dialog, WM_NULL, 0, 0);
}

bool IsChecked(HWND dialog, int controlId) {
  return SendMessageA(GetDlgItem(dialog, controlId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsShown(HWND dialog, int controlId) { return IsWindowVisible(GetDlgItem(dialog, controlId)) != FALSE; }

std::string ControlText(HWND dialog, int controlId) {
  char text[1024] = {};
  GetDlgItemTextA(dialog, controlId, text, sizeof text);
  return text;
}

bool WaitClosed(HWND dialog, DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += kPollMs) {
    if (!IsWindow(dialog)) return true;
    Sleep(kPollMs);
  }
  return !IsWindow(dialog);
}

}  // namespace dialog_driver
