// The action-file parser on any text: it accepts or names the line it refuses, in linear time.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "hostsim/ActionFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  hostsim::ActionFile file;
  std::string error;
  if (!hostsim::ParseActionFile(std::string(reinterpret_cast<const char*>(data), size), file, error) &&
      error.empty()) {
    std::abort();
  }
  return 0;
}
