// A DLL with nothing in it, built like the plug-in, against which the plug-in's load is measured.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
