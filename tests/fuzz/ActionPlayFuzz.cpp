// Any bytes as an action file, and what reads played on a small image with every unknown step
// skipped: no step may crash, hang or allocate beyond a small document, and every step ends
// with one of the results the report knows.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "actions/BinaryFormat.h"
#include "document/preview/SetPlayer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zem;
  actions::ActionSet set;
  actions::ReadError error;
  if (!actions::ReadActionFile(data, size, set, error)) return 0;
  hostsim::Image image(12, 8);
  for (size_t i = 0; i < image.rgb.size(); ++i) image.rgb[i] = uint8_t(i * 37);
  document::PlayOptions options;
  options.skipUnknown = true;
  options.pixelLimit = 4096;  // every step cheap, whatever size the file asks for
  std::string playError;
  document::PlaySet(set, image, options, [](const document::ActionRecord& record, const hostsim::Image& result) {
    if (result.width < 1 || result.height < 1 || int64_t(result.width) * result.height > 4096) std::abort();
    for (const document::StepRecord& step : record.steps) {
      const std::string& r = step.result;
      if (r != "played" && r != "no-op" && r.rfind("skipped: ", 0) != 0) std::abort();
    }
  }, playError);
  return 0;
}
