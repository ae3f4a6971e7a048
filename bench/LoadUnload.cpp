// Times loading and unloading the plug-in, against an empty DLL built the same way, in the same
// run: rounds alternate between the two and the fastest round of each counts.
//
//   load_unload [ROUNDS [LOADS_PER_ROUND]]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/WindowsHandles.h"
#include "tests/support/ProgramFolder.h"

namespace {

// Microseconds per load and unload, or a negative value when the module does not load.
double MicrosecondsPerLoad(const std::string& path, int loads) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < loads; ++i) {
    const zem::UniqueLibrary module(LoadLibraryA(path.c_str()));
    if (!module) return -1;
  }
  QueryPerformanceCounter(&end);
  return double(end.QuadPart - start.QuadPart) * 1e6 / double(frequency.QuadPart) / loads;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
  const int loads = argc > 2 ? std::atoi(argv[2]) : 200;
  const std::string plugin = ProgramFolder() + "ZEM_Variations.8li";
  const std::string empty = ProgramFolder() + "empty_module.dll";
  double bestPlugin = 1e30, bestEmpty = 1e30;
  for (int round = 0; round < rounds; ++round) {
    const double p = MicrosecondsPerLoad(plugin, loads);
    const double e = MicrosecondsPerLoad(empty, loads);
    if (p < 0 || e < 0) {
      std::fprintf(stderr, "load_unload: %s does not load\n", p < 0 ? plugin.c_str() : empty.c_str());
      return 1;
    }
    if (p < bestPlugin) bestPlugin = p;
    if (e < bestEmpty) bestEmpty = e;
  }
  // Each load of the plug-in appended to its load trace; leave no trace of the measurement.
  DeleteFileA("C:\\LoadLogTextFormat.txt");
  std::printf("%.1f %.1f %.2f\n", bestPlugin, bestEmpty, bestPlugin / bestEmpty);
  return 0;
}
