// The host calls and host allocations of one "Do It" in every mode, made through the built module
// of this program's architecture: the same figures as the native core's, if the two modules are
// built from the same code.
//
//   module_calls        prints "MODE CALLS ALLOCATIONS RESULT", one line per mode
#include <windows.h>

#include <cstdio>
#include <string>

#include "hostsim/Host.h"
#include "platform/WindowsHandles.h"
#include "tests/support/ProgramFolder.h"

namespace {

constexpr int32_t kModes[] = {1, 2, 3, 4, 5, 6, 7, 0};

}  // namespace

int main() {
  const std::string path = ProgramFolder() + "ZEM_Variations.8li";
  zem::UniqueLibrary module(LoadLibraryA(path.c_str()));
  if (!module) {
    std::fprintf(stderr, "module_calls: %s does not load (error %lu)\n", path.c_str(), GetLastError());
    return 1;
  }
  auto entry = reinterpret_cast<host::SPPluginEntryPoint>(
      reinterpret_cast<void (*)()>(GetProcAddress(module.get(), "AutoPluginMain")));
  for (int32_t mode : kModes) {
    hostsim::Host sim;
    sim.recording = false;
    host::PIActionParameters parameters{host::plugInDialogDontDisplay, host::plugInDialogRequired,
                                        sim.NewModeDescriptor(mode)};
    sim.faults.ResetCounts();
    const int32_t result = sim.CallDoIt(entry, &parameters);
    std::printf("%d %d %d %d\n", static_cast<int>(mode), sim.faults.TotalCalls(),
                static_cast<int>(sim.AllocationRequests().size()), static_cast<int>(result));
    sim.FreeDescriptor(parameters.descriptor);
  }
  module.reset();
  // Each load of the plug-in appended to its load trace; leave no trace of the measurement.
  DeleteFileA("C:\\LoadLogTextFormat.txt");
  return 0;
}
