// The dialog in which the user chooses the split mode of a run.
#pragma once

#include "hostaccess/PluginState.h"
#include "ui/FittedBitmap.h"
#include "ui/ModalDialog.h"
#include "ui/RadioGroup.h"

namespace zem {

class ModeDialog : public ModalDialog {
 public:
  ModeDialog() : selectedMode(CurrentMode) {}

  // Checks the button of `selectedMode`; any mode without a button of its own gets the first.
  // Fits the logo to its control.
  void OnInit() override;
  // On OK, takes the mode of the checked button.
  void OnCommand(int item) override;

  RadioGroup radios;
  SplitMode selectedMode;
  FittedBitmap logo;
};

}  // namespace zem
