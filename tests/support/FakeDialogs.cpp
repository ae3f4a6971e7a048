#include "tests/support/FakeDialogs.h"

#include "ui/DialogEntry.h"

namespace fake_dialogs {

ModeDialog modeDialog;
AboutBox aboutBox;

void Reset() {
  modeDialog = ModeDialog();
  aboutBox = AboutBox();
}

}  // namespace fake_dialogs

namespace zem {

int RunModeDialog() {
  auto& dialog = fake_dialogs::modeDialog;
  ++dialog.calls;
  dialog.modeWhenOpened = CurrentMode;
  if (dialog.result == 0) CurrentMode = dialog.choice;
  return dialog.result;
}

int ShowAboutBox(host::SPPluginRef plugin, int32_t resourceId) {
  auto& box = fake_dialogs::aboutBox;
  ++box.calls;
  box.plugin = plugin;
  box.resourceId = resourceId;
  return 0;
}

}  // namespace zem
