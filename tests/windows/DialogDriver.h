// Drives a real dialog like a user: a second thread waits until the test's thread shows a dialog,
// then runs a script against its window (reads controls, clicks, types), while the test's thread
// sits in the dialog's modal loop inside the call that showed it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/WindowsHandles.h"

namespace dialog_driver {

using Script = std::function<void(HWND dialog)>;

class Driver {
 public:
  // Starts watching for a dialog of the calling thread.
  explicit Driver(Script script);
  // Waits for the script to finish. A dialog the script left open is cancelled, so that a failing
  // test cannot hang the run.
  ~Driver();
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  // Called once the call that was to show the dialog has returned: joins the script's thread.
  // Afterwards, whether a dialog was shown and whether it was still open when the script ended.
  void Finish();
  bool sawDialog() const { return sawDialog_; }
  bool leftOpen() const { return leftOpen_; }

 private:
  static DWORD WINAPI Run(void* self);

  Script script_;
  DWORD dialogThread_;
  zem::UniqueKernelObject callReturned_;
  zem::UniqueKernelObject thread_;
  bool sawDialog_ = false;
  bool leftOpen_ = false;
};

// Script steps. Each one returns once the dialog's thread has handled it.
void Click(HWND dialog, int controlId);                // a mouse click on a button
void ClickAt(HWND dialog, POINT clientPoint);          // a mouse click at a point of the client area
void PressKey(HWND dialog, WORD virtualKey);           // a key pressed and released
void CloseBox(HWND dialog);                            // the caption's close box
void Settle(HWND dialog);                              // waits until every queued input is handled
// Waits until the pointer is at the point of the screen (within a pixel of rounding) in two reads
// in a row, each after the window system's reports meanwhile have been handled: by the dialog's
// thread when a dialog is given, else by the calling thread. False after the timeout.
bool WaitForPointerAt(POINT screenPoint, HWND dialog = nullptr);
bool IsChecked(HWND dialog, int controlId);
bool IsShown(HWND dialog, int controlId);
std::string ControlText(HWND dialog, int controlId);
// Waits until the window is gone; false after the timeout.
bool WaitClosed(HWND dialog, DWORD timeoutMs = 5000);

}  // namespace dialog_driver
