// Every value of an adjustment event held to the range its dialog allows, so that no value read
// from any file (huge, negative, infinite or not a number) can wrap a pixel or divide by zero.
#pragma once

#include "document/AdjustmentEvents.h"

namespace hostsim {

// `value` held to [low, high]; not a number becomes `fallback`.
double Saturate(double value, double low, double high, double fallback);
int Saturate(int value, int low, int high);

ColorBalanceEvent WithinDialogRange(const ColorBalanceEvent& event);
BrightnessContrastEvent WithinDialogRange(const BrightnessContrastEvent& event);
HueSaturationEvent WithinDialogRange(const HueSaturationEvent& event);
PhotoFilterEvent WithinDialogRange(const PhotoFilterEvent& event);
// Entries for an unknown channel are dropped.
LevelsEvent WithinDialogRange(const LevelsEvent& event);
// Points with a coordinate that is not a number are dropped, the rest held to 0..255 and put in
// increasing input order, a later point replacing an earlier one at the same input; an entry
// left with fewer than two points, or for an unknown channel, is dropped.
CurvesEvent WithinDialogRange(const CurvesEvent& event);
ExposureEvent WithinDialogRange(const ExposureEvent& event);
VibranceEvent WithinDialogRange(const VibranceEvent& event);

}  // namespace hostsim
