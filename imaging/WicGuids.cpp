// The Windows Imaging Component's GUIDs (its factory's class and interfaces, the pixel formats),
// defined here for toolchains whose Windows libraries do not carry them: Zig's MinGW-w64 runtime
// has no import library with their data. The system headers come first, so that only the imaging
// header's own GUIDs are defined here; each is a selectany definition.
#include <windows.h>
#include <ole2.h>

#include <initguid.h>

#include <wincodec.h>
