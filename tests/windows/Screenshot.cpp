#include "Screenshot.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace screenshot {

Picture Capture(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  Picture picture;
  picture.width = bounds.right - bounds.left;
  picture.height = bounds.bottom - bounds.top;
  if (picture.width <= 0 || picture.height <= 0) return Picture();

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, picture.width, picture.height, screen, bounds.left, bounds.top, SRCCOPY);
  GdiFlush();
  const auto* source = static_cast<const uint32_t*>(bits);
  picture.pixels.assign(source, source + static_cast<size_t>(picture.width) * picture.height);
  for (uint32_t& pixel : picture.pixels) pixel &= 0xFFFFFF;
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

bool SavePng(const Picture& picture, const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash != std::string::npos) CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
  std::vector<unsigned char> rgb;
  rgb.reserve(picture.pixels.size() * 3);
  for (uint32_t pixel : picture.pixels) {
    rgb.push_back(static_cast<unsigned char>(pixel >> 16));
    rgb.push_back(static_cast<unsigned char>(pixel >> 8));
    rgb.push_back(static_cast<unsigned char>(pixel));
  }
  return stbi_write_png(path.c_str(), picture.width, picture.height, 3, rgb.data(), picture.width * 3) != 0;
}

std::string Folder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.erase(folder.find_last_of("\\/"));          // the programs' folder
  folder.erase(folder.find_last_of("\\/") + 1);      // the build folder
  return folder + "screenshots";
}

Picture LoadBitmapResource(HMODULE module, int id) {
  Picture picture;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));  // RT_BITMAP
  if (found == nullptr) return picture;
  const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
  if (header->biBitCount != 24 || header->biCompression != BI_RGB) return picture;
  picture.width = header->biWidth;
  picture.height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  const unsigned char* rows = data + header->biSize;
  const size_t stride = (static_cast<size_t>(picture.width) * 3 + 3) / 4 * 4;
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    const int sourceRow = header->biHeight > 0 ? picture.height - 1 - y : y;
    const unsigned char* row = rows + sourceRow * stride;
    for (int x = 0; x < picture.width; ++x) {
      picture.pixels[static_cast<size_t>(y) * picture.width + x] =
          uint32_t(row[x * 3 + 2]) << 16 | uint32_t(row[x * 3 + 1]) << 8 | row[x * 3];
    }
  }
  return picture;
}

}  // namespace screenshot
