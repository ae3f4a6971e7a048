// A picture control's bitmap, redrawn to fill its control when the dialog is shown above 96 DPI.
#pragma once

#include <windows.h>

#include "platform/WindowsHandles.h"

namespace zem {

class FittedBitmap {
 public:
  // The scaled bitmap is deleted with the FittedBitmap; the control must be gone by then.

  // Above 96 DPI, where the dialog has grown with its font, shows the control's bitmap scaled to
  // the largest size of its aspect that fits in the control, smoothly. At 96 DPI or below, or when
  // anything fails (the host refusing the memory for the pixels included), the control keeps the
  // bitmap it has.
  void Fit(HWND control);

 private:
  UniqueBitmap scaled_;
};

}  // namespace zem
