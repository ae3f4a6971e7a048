#include "ui/ModeDialog.h"

#include "host/ResultCodes.h"
#include "resources/ResourceIds.h"
#include "ui/DialogEntry.h"

namespace zem {
namespace {

constexpr int kModeToButton = ZEM_MODE_FIRST_BUTTON - DiagonalSplit;

int ButtonForMode(SplitMode mode) {
  if (mode < HalfVertical || mode > RightQuarter) return ZEM_MODE_FIRST_BUTTON;
  return mode + kModeToButton;
}

}  // namespace

void ModeDialog::OnInit() {
  radios.window = window;
  radios.SetRange(ZEM_MODE_FIRST_BUTTON, ZEM_MODE_LAST_BUTTON);
  radios.Select(ButtonForMode(selectedMode));
  logo.Fit(GetDlgItem(window, ZEM_LOGO_PICTURE));
}

void ModeDialog::OnCommand(int item) {
  if (item != IDOK) return;
  const int button = radios.Selected();
  if (button != -1) selectedMode = button - kModeToButton;
}

int RunModeDialog() {
  ModeDialog dialog;
  if (dialog.RunModal(HostPluginRef, ZEM_MODE_DIALOG) != IDOK) return host::kUserCanceledErr;
  CurrentMode = dialog.selectedMode;
  return 0;
}

}  // namespace zem
