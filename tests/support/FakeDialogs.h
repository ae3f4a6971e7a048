// Test doubles for the dialogs, which are Windows code: they record their calls and answer as told.
#pragma once

#include <cstdint>

#include "host/HostTypes.h"
#include "hostaccess/PluginState.h"

namespace fake_dialogs {

struct ModeDialog {
  int result = -128;                 // what RunModeDialog answers
  zem::SplitMode choice = 1;         // the mode stored when it answers 0
  int calls = 0;
  zem::SplitMode modeWhenOpened = -1;  // the current mode the dialog was shown with
};

struct AboutBox {
  int calls = 0;
  host::SPPluginRef plugin = nullptr;
  int32_t resourceId = 0;
};

extern ModeDialog modeDialog;
extern AboutBox aboutBox;

void Reset();

}  // namespace fake_dialogs
