// A module without any of the activation-context functions: the lookups in it fail as they do
// on a system that lacks them. Copies of it also serve as modules loaded from chosen paths.
#include <windows.h>

extern "C" int ActCtxBareMarker() { return 1; }
