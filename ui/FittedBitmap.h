// A picture control's bitmap, redrawn to fill its control when the dialog is shown above 96 DPI.
#pragma once

#include <windows.h>

namespace zem {

class FittedBitmap {
 public:
  FittedBitmap() = default;
  // Deletes the scaled bitmap; the control must be gone by then.
  ~FittedBitmap();
  FittedBitmap(const FittedBitmap&) = delete;
  FittedBitmap& operator=(const FittedBitmap&) = delete;

  // Above 96 DPI, where the dialog has grown with its font, shows the control's bitmap scaled to
  // the largest size of its aspect that fits in the control, smoothly. At 96 DPI or below, or when
  // anything fails, the control keeps the bitmap it has.
  void Fit(HWND control);

 private:
  HBITMAP scaled_ = nullptr;
};

}  // namespace zem
