// Stand-ins until the dialogs are built: the mode dialog reports that it was not confirmed, the
// About box that it was not shown, and the dialog procedure handles nothing.
#include <windows.h>

#include "DialogEntry.h"

namespace zem {

int RunModeDialog() { return -128; }

int ShowAboutBox(host::SPPluginRef, int32_t) { return -1; }

}  // namespace zem

extern "C" INT_PTR CALLBACK GenericProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
