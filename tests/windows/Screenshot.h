// Pictures of windows as the screen shows them.
#pragma once

#include <windows.h>

#include <string>

#include "imaging/Image.h"

namespace screenshot {

// The screen's pixels under the window, frame and caption included, once the window has been
// painted anew and what it painted has reached the screen.
hostsim::Image CapturePainted(HWND window);

// Writes the picture as a PNG file into the build's screenshot folder, "screenshots" beside the
// test programs' folder, creating it; false when it cannot be written.
bool Save(const hostsim::Image& picture, const std::string& name);

// A 24-bit bitmap resource of a module.
hostsim::Image LoadBitmapResource(HMODULE module, int id);

}  // namespace screenshot
