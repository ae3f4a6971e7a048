// Any text as the text form of an action file: the reader must never crash or recurse without
// bound; what it accepts must survive the binary form and read back to the same text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "actions/BinaryFormat.h"
#include "actions/TextForm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zem::actions;
  ActionSet set;
  TextError error;
  if (!ReadActionText(std::string(reinterpret_cast<const char*>(data), size), set, error)) {
    if (error.message.empty()) std::abort();
    return 0;
  }
  const std::vector<uint8_t> bytes = WriteActionFile(set);
  ActionSet read;
  ReadError readError;
  if (!ReadActionFile(bytes.data(), bytes.size(), read, readError)) std::abort();
  const std::string text = WriteActionText(set);
  if (WriteActionText(read) != text) std::abort();
  ActionSet again;
  if (!ReadActionText(text, again, error)) std::abort();
  if (WriteActionFile(again) != bytes) std::abort();
  return 0;
}
