// Any bytes as an action file: the reader must never crash, read past the end or allocate what a
// count claims; what it accepts must write back to the same bytes, directly and through the text
// form.
#include <cstdint>
#include <cstdlib>

#include "actions/BinaryFormat.h"
#include "actions/TextForm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zem::actions;
  ActionSet set;
  ReadError error;
  if (!ReadActionFile(data, size, set, error)) {
    if (error.offset > size || error.message.empty()) std::abort();
    return 0;
  }
  const std::vector<uint8_t> written = WriteActionFile(set);
  if (written != std::vector<uint8_t>(data, data + size)) std::abort();

  ActionSet fromText;
  TextError textError;
  const std::string text = WriteActionText(set);
  if (!ReadActionText(text, fromText, textError)) std::abort();
  if (WriteActionFile(fromText) != written) std::abort();
  if (WriteActionText(fromText) != text) std::abort();
  return 0;
}
