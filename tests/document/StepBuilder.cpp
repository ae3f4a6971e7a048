#include "tests/document/StepBuilder.h"

#include <gtest/gtest.h>

#include "actions/TextForm.h"
#include "document/steps/StepPlayer.h"

namespace zem::document::testing {

zem::actions::Event Step(const std::string& line) {
  zem::actions::ActionSet set;
  zem::actions::TextError error;
  const std::string text = "set \"T\"\naction \"a\"\n  " + line + "\n";
  EXPECT_TRUE(zem::actions::ReadActionText(text, set, error)) << error.message << "\n" << line;
  if (set.actions.empty() || set.actions[0].events.empty()) return {};
  return set.actions[0].events[0];
}

std::string Play(Document& document, const std::string& line) {
  const StepResult result = PlayStep(document, Step(line));
  switch (result.outcome) {
    case StepOutcome::Played: return "played";
    case StepOutcome::NoOp: return "no-op";
    default: return "refused: " + result.why;
  }
}

hostsim::Image Plain(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
  hostsim::Image image(width, height);
  for (size_t i = 0; i < image.rgb.size(); i += 3) image.rgb[i] = r, image.rgb[i + 1] = g, image.rgb[i + 2] = b;
  return image;
}

}  // namespace zem::document::testing
