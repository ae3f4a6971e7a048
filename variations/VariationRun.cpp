#include "variations/VariationRun.h"

#include "host/Keys.h"
#include "host/Messages.h"
#include "hostaccess/HostObjects.h"
#include "variations/ActionSetLoader.h"
#include "variations/SplitRegion.h"

namespace zem {

const char* const VariationNames[kVariationCount] = {
    "red_plus",       "red_minus",       "green_plus",      "green_minus",      "blue_plus", "blue_minus",
    "contrast_plus",  "contrast_minus",  "brightness_plus", "brightness_minus", "sat_plus",  "sat_minus",
    "warm_plus",      "warm_minus",      "extra1_plus",     "extra1_minus",     "extra2_plus", "extra2_minus"};

const char kVariationSetName[] = "ZEM_Variations";

SplitMode MinusModeFor(SplitMode plusMode) { return plusMode == LeftRightQuarter ? RightQuarter : plusMode; }

RunEnd RunVariations(bool mayLoadSet) {
  const SplitMode plusMode = CurrentMode;
  const SplitMode minusMode = MinusModeFor(plusMode);
  for (int i = 0; i < kVariationCount; ++i) {
    const bool isPlus = i % 2 == 0;
    if (int32_t error = SelectSplitRegion(isPlus ? plusMode : minusMode)) {
      RunStatus = error;
      return RunEnd::Failed;
    }
    int32_t played = PlayVariationAction(kVariationSetName, VariationNames[i]);
    // A Photoshop that never had the set loaded fails the first play; the set shipped beside the
    // module is loaded then, and the action played once more into the region already selected.
    if (played != 0 && i == 0 && mayLoadSet && LoadActionSetUnlessPresent(kVariationSetName)) {
      played = PlayVariationAction(kVariationSetName, VariationNames[i]);
    }
    if (played != 0) {
      // A failed play is the run's outcome too, not only a failed region step: reporting success
      // would record a step that did not happen.
      RunStatus = played;
      return i == 0 ? RunEnd::FirstPlayFailed : RunEnd::Failed;
    }
  }
  Deselect();
  return RunEnd::Complete;
}

int32_t PlayVariationAction(const char* setName, const char* actionName) {
  OwnedReference action;
  OwnedDescriptor event;
  OwnedDescriptor result;

  if (int32_t error = DescriptorSuite().Make(event.Receive())) return error;
  const host::PSActionReferenceProcs& references = ReferenceSuite();
  if (int32_t error = references.Make(action.Receive())) return error;
  if (int32_t error = references.PutName(action.get(), host::kClassAction, actionName)) return error;
  if (int32_t error = references.PutName(action.get(), host::kClassActionSet, setName)) return error;
  if (int32_t error = DescriptorSuite().PutReference(event.get(), host::kKeyNull, action.get())) return error;
  return ControlSuite().Play(result.Receive(), host::kEventPlay, event.get(), host::plugInDialogSilent);
}

}  // namespace zem
