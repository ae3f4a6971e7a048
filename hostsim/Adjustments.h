// What the reference host's actions do to the pixels inside the selection.
#pragma once

#include <string>

#include "Image.h"
#include "Selection.h"

namespace hostsim {

enum class AdjustmentKind { Gain, Contrast, Brightness, Saturation, Warmth, Gamma, Hue };

struct Adjustment {
  AdjustmentKind kind = AdjustmentKind::Gain;
  double values[3] = {1, 1, 1};
};

// The adjustment's name in an action file, and how many numbers it takes.
const char* AdjustmentName(AdjustmentKind kind);
int AdjustmentArity(AdjustmentKind kind);
bool AdjustmentByName(const std::string& name, AdjustmentKind& kind);

// Applies the adjustment to every pixel, in proportion to its selection coverage.
void Apply(const Adjustment& adjustment, const Selection& selection, Image& image);

}  // namespace hostsim
