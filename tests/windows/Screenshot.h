// Pictures of windows as the screen shows them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace screenshot {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB, rows top down
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The screen's pixels under the window, frame and caption included.
Picture Capture(HWND window);

// Writes the picture as a PNG file, creating its folder; false when it cannot be written.
bool SavePng(const Picture& picture, const std::string& path);

// The folder of the build that holds the screenshots: "screenshots" beside the test programs'
// folder.
std::string Folder();

// A 24-bit bitmap resource of a module, top down.
Picture LoadBitmapResource(HMODULE module, int id);

}  // namespace screenshot
