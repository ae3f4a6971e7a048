#include "ui/FittedBitmap.h"

#include <new>
#include <vector>

#include "ui/ImageScaling.h"

namespace zem {
namespace {

constexpr int kDesignDpi = 96;

BITMAPINFO TopDown32(PixelSize size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.width;
  info.bmiHeader.biHeight = -size.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A bitmap of the control's size: the bitmap's pixels resampled to `size` in its centre, the rest
// in the dialog's face colour. Filling the whole control leaves nothing for the control to stretch
// or place on its own. Empty when it cannot be made; raises when the pixels cannot be allocated.
UniqueBitmap Scaled(HDC dc, HBITMAP bitmap, PixelSize from, PixelSize size, PixelSize control) {
  std::vector<uint32_t> pixels(static_cast<size_t>(from.width) * static_cast<size_t>(from.height));
  BITMAPINFO sourceInfo = TopDown32(from);
  if (GetDIBits(dc, bitmap, 0, static_cast<UINT>(from.height), pixels.data(), &sourceInfo, DIB_RGB_COLORS) !=
      from.height) {
    return UniqueBitmap();
  }
  std::vector<uint32_t> resized(static_cast<size_t>(size.width) * static_cast<size_t>(size.height));
  ScalePixels(pixels.data(), from, resized.data(), size);

  BITMAPINFO targetInfo = TopDown32(control);
  void* bits = nullptr;
  UniqueBitmap scaled(CreateDIBSection(dc, &targetInfo, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!scaled || bits == nullptr) return UniqueBitmap();
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const uint32_t background = (uint32_t{GetRValue(face)} << 16) | (uint32_t{GetGValue(face)} << 8) | GetBValue(face);
  auto* target = static_cast<uint32_t*>(bits);
  const int left = (control.width - size.width) / 2;
  const int top = (control.height - size.height) / 2;
  for (int y = 0; y < control.height; ++y) {
    for (int x = 0; x < control.width; ++x) {
      const bool inside = x >= left && x < left + size.width && y >= top && y < top + size.height;
      target[static_cast<size_t>(y) * control.width + x] =
          inside ? resized[static_cast<size_t>(y - top) * size.width + (x - left)] : background;
    }
  }
  GdiFlush();
  return scaled;
}

}  // namespace

void FittedBitmap::Fit(HWND control) {
  if (control == nullptr || scaled_) return;
  const UniqueWindowDc windowDc = GetWindowDc(control);
  if (!windowDc) return;
  const HDC dc = windowDc.get().dc;
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  auto current = reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
  BITMAP shown{};
  RECT client{};
  if (dpi > kDesignDpi && current != nullptr && GetObjectA(current, sizeof shown, &shown) == sizeof shown &&
      GetClientRect(control, &client)) {
    const PixelSize from{static_cast<int>(shown.bmWidth), static_cast<int>(shown.bmHeight)};
    const PixelSize control{static_cast<int>(client.right), static_cast<int>(client.bottom)};
    const PixelSize size = FitInside(from, control);
    if (size.width != from.width || size.height != from.height) {
      try {
        scaled_ = Scaled(dc, current, from, size, control);
      } catch (const std::bad_alloc&) {
        // The host refused the memory: the logo is shown as it is.
      }
    }
  }
  // The control's own bitmap stays its business; only the scaled one is ours.
  if (scaled_) SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled_.get()));
}

}  // namespace zem
