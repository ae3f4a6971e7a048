#include "tests/windows/Screenshot.h"

#include <cstdint>
#include <utility>

#include "imaging/PngWriter.h"
#include "platform/WindowsHandles.h"
#include "tests/support/ProgramFolder.h"

namespace screenshot {
namespace {

constexpr int kPaintedPollMs = 100;
constexpr int kPaintedMaxCaptures = 30;

hostsim::Image CaptureScreenUnder(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  if (width <= 0 || height <= 0) return hostsim::Image();

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;

  const zem::UniqueWindowDc screen = zem::GetWindowDc(nullptr);
  const zem::UniqueMemoryDc memory(CreateCompatibleDC(screen.get().dc));
  void* bits = nullptr;
  const zem::UniqueBitmap bitmap(CreateDIBSection(screen.get().dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!screen || !memory || !bitmap || bits == nullptr) return hostsim::Image();
  // The bitmap is selected only while it is drawn into, so that it can be deleted afterwards.
  HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
  BitBlt(memory.get(), 0, 0, width, height, screen.get().dc, bounds.left, bounds.top, SRCCOPY);
  GdiFlush();
  hostsim::Image picture(width, height);
  const auto* bgrx = static_cast<const uint8_t*>(bits);
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
    for (int c = 0; c < 3; ++c) picture.rgb[i * 3 + c] = bgrx[i * 4 + 2 - c];
  }
  SelectObject(memory.get(), previous);
  return picture;
}

bool SamePicture(const hostsim::Image& a, const hostsim::Image& b) {
  return a.width == b.width && a.height == b.height && a.rgb == b.rgb;
}

}  // namespace

hostsim::Image CapturePainted(HWND window) {
  // Painting reaches the screen in two steps: the window's thread paints into its window surface,
  // and Wine copies that surface to the X server later, when the thread next waits for messages.
  // A slow (emulated, loaded) process can be captured between the two. So the whole window is
  // painted now, each round trip lets its thread go idle, and the capture is taken once two in a
  // row agree.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  hostsim::Image previous;
  for (int capture = 0; capture < kPaintedMaxCaptures; ++capture) {
    SendMessageA(window, WM_NULL, 0, 0);
    Sleep(kPaintedPollMs);
    hostsim::Image picture = CaptureScreenUnder(window);
    if (capture > 0 && SamePicture(picture, previous)) return picture;
    previous = std::move(picture);
  }
  return previous;
}

bool Save(const hostsim::Image& picture, const std::string& name) {
  std::string folder = ProgramFolder();
  folder.pop_back();
  folder.erase(folder.find_last_of("\\/") + 1);  // the build folder
  folder += "screenshots";
  CreateDirectoryA(folder.c_str(), nullptr);
  return hostsim::SavePng(picture, folder + "\\" + name);
}

hostsim::Image LoadBitmapResource(HMODULE module, int id) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));  // RT_BITMAP
  if (found == nullptr) return hostsim::Image();
  const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
  if (header->biBitCount != 24 || header->biCompression != BI_RGB) return hostsim::Image();
  const int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  hostsim::Image picture(header->biWidth, height);
  const uint8_t* rows = data + header->biSize;
  const size_t stride = (static_cast<size_t>(picture.width) * 3 + 3) / 4 * 4;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = rows + (header->biHeight > 0 ? height - 1 - y : y) * stride;
    for (int x = 0; x < picture.width; ++x) {
      for (int c = 0; c < 3; ++c) picture.At(x, y)[c] = row[x * 3 + 2 - c];
    }
  }
  return picture;
}

}  // namespace screenshot
