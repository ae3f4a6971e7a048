// The dialog framework linked into a test program: placement, the radio-button range, how each
// way of leaving a box ends it, failures to show one, and failures inside the handlers.
#include <gtest/gtest.h>

#include <stdexcept>

#include "host/ResultCodes.h"
#include "hostaccess/HostSuites.h"
#include "hostaccess/PluginState.h"
#include "hostsim/Host.h"
#include "platform/WindowsHandles.h"
#include "tests/windows/DialogDriver.h"
#include "tests/windows/LoadedModule.h"
#include "ui/DialogEntry.h"
#include "ui/GenericProc.h"
#include "ui/ModalDialog.h"
#include "ui/PositionDialog.h"
#include "ui/RadioGroup.h"

namespace {

using dialog_driver::Driver;
namespace driver = dialog_driver;

HMODULE ThisProgram() { return GetModuleHandleA(nullptr); }

// A host call in progress, as the entry point sets it up, with the host naming `resources` as the
// plug-in's module.
class HostCallTest : public ::testing::Test {
 protected:
  void Enter(HMODULE resources) {
    sim.accessDefaultModule = resources;
    zem::HostBasicSuite = sim.basic();
    zem::HostPluginRef = sim.pluginRef();
  }
  void TearDown() override {
    zem::ReleaseHostSuites();
    zem::HostBasicSuite = nullptr;
    EXPECT_EQ(sim.SuitesHeld(), 0);
    EXPECT_EQ(sim.LiveBlocks(), 0);
    EXPECT_EQ(zem::ActiveDialog, nullptr);
  }

  // Shows a box and lets the script drive it; the box's result.
  int Show(driver::Script script, int32_t resourceId) {
    Driver driver(std::move(script));
    const int result = zem::ShowAboutBox(sim.pluginRef(), resourceId);
    driver.Finish();
    EXPECT_TRUE(driver.sawDialog());
    EXPECT_FALSE(driver.leftOpen());
    return result;
  }

  hostsim::Host sim;
};

// ---- placement ----

class PositionDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = ThisProgram();
    windowClass.lpszClassName = "PositionDialogTestWindow";
    RegisterClassA(&windowClass);
  }
  // Owned windows are destroyed before their owners.
  void TearDown() override {
    while (!windows_.empty()) windows_.pop_back();
  }

  // A borderless owner, whose client area is its whole window.
  HWND Owner(int x, int y, int width, int height) {
    return Make(WS_POPUP | WS_VISIBLE, nullptr, x, y, width, height);
  }
  HWND Dialog(HWND owner, int width, int height, bool systemMenu = true) {
    return Make(WS_POPUP | WS_CAPTION | (systemMenu ? WS_SYSMENU : 0), owner, 0, 0, width, height);
  }
  static RECT Placed(HWND dialog) {
    zem::PositionDialog(dialog);
    RECT bounds{};
    GetWindowRect(dialog, &bounds);
    return bounds;
  }

  const int shift = GetSystemMetrics(SM_CXSIZE);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);

 private:
  HWND Make(DWORD style, HWND owner, int x, int y, int width, int height) {
    HWND window = CreateWindowExA(0, "PositionDialogTestWindow", "", style, x, y, width, height, owner, nullptr,
                                  ThisProgram(), nullptr);
    windows_.emplace_back(window);
    return window;
  }
  std::vector<zem::UniqueWindow> windows_;
};

TEST_F(PositionDialogTest, CentredLeftOfCentreByACaptionButtonWithAThirdAbove) {
  HWND owner = Owner(100, 50, 600, 400);
  RECT placed = Placed(Dialog(owner, 300, 210));
  EXPECT_EQ(placed.left, 100 + 150 - shift);
  EXPECT_EQ(placed.top, 50 + 190 / 3);
  EXPECT_EQ(placed.right - placed.left, 300) << "the size is kept";
  EXPECT_EQ(placed.bottom - placed.top, 210);

  RECT withoutMenu = Placed(Dialog(owner, 300, 210, false));
  EXPECT_EQ(withoutMenu.left, 100 + 150 - (shift - shift / 3)) << "two thirds of a button without a system menu";
}

TEST_F(PositionDialogTest, AnOwnerSmallerThanTheDialogGivesItsTopLeftCorner) {
  HWND owner = Owner(300, 200, 120, 80);
  RECT placed = Placed(Dialog(owner, 300, 210));
  EXPECT_EQ(placed.left, 300 - shift);
  EXPECT_EQ(placed.top, 200);

  // Off the left or top edge is not corrected.
  RECT offScreen = Placed(Dialog(Owner(-100, -40, 120, 80), 300, 210));
  EXPECT_EQ(offScreen.left, -100 - shift);
  EXPECT_EQ(offScreen.top, -40);
}

TEST_F(PositionDialogTest, TheFarEdgesAreKeptOnTheScreenButNeverBelowZero) {
  HWND owner = Owner(screenWidth - 150, screenHeight - 100, 150, 100);
  RECT placed = Placed(Dialog(owner, 300, 210));
  EXPECT_EQ(placed.right, screenWidth);
  EXPECT_EQ(placed.bottom, screenHeight);

  RECT huge = Placed(Dialog(owner, screenWidth + 40, screenHeight + 30));
  EXPECT_EQ(huge.left, 0);
  EXPECT_EQ(huge.top, 0);
}

TEST_F(PositionDialogTest, WithoutAnOwnerTheDesktopIsTheArea) {
  RECT placed = Placed(Dialog(nullptr, 300, 210));
  EXPECT_EQ(placed.left, (screenWidth - 300) / 2 - shift);
  EXPECT_EQ(placed.top, (screenHeight - 210) / 3);
}

// ---- radio buttons ----

TEST(RadioGroupTest, SelectsAndReadsOnlyWithinItsRange) {
  const zem::UniqueWindow box(CreateDialogParamA(ThisProgram(), MAKEINTRESOURCEA(200), nullptr, nullptr, 0));
  HWND buttons = box.get();
  ASSERT_NE(buttons, nullptr);

  zem::RadioGroup unset;
  unset.window = buttons;
  unset.Select(5);
  EXPECT_EQ(unset.Selected(), -1) << "no range";
  EXPECT_FALSE(IsDlgButtonChecked(buttons, 5));

  zem::RadioGroup group;
  group.SetRange(4, 10);
  group.Select(5);
  EXPECT_EQ(group.Selected(), -1) << "no window";
  group.window = buttons;
  EXPECT_EQ(group.Selected(), -1) << "nothing checked";

  group.Select(9);
  EXPECT_EQ(group.Selected(), 9);
  group.Select(6);
  EXPECT_EQ(group.Selected(), 6);
  EXPECT_FALSE(IsDlgButtonChecked(buttons, 9)) << "the others are cleared";
  group.Select(11);
  group.Select(3);
  EXPECT_EQ(group.Selected(), 6) << "identifiers outside the range are ignored";

  CheckDlgButton(buttons, 8, BST_CHECKED);
  CheckDlgButton(buttons, 6, BST_UNCHECKED);
  CheckDlgButton(buttons, 10, BST_CHECKED);
  EXPECT_EQ(group.Selected(), 8) << "the first checked one";
}

// ---- how a box ends ----

class AboutBoxEndTest : public HostCallTest {};

TEST_F(AboutBoxEndTest, ClicksAndCharactersEndWithZeroCommandsWithTheirNumber) {
  LoadedModule module;
  Enter(module.handle());
  auto post = [](UINT message, WPARAM wParam) {
    return [message, wParam](HWND dialog) { PostMessageA(dialog, message, wParam, 0); };
  };
  EXPECT_EQ(Show(post(WM_CHAR, 0x1B), 16000), 0);
  EXPECT_EQ(Show(post(WM_CHAR, 0x0D), 16000), 0);
  EXPECT_EQ(Show(post(WM_LBUTTONDOWN, MK_LBUTTON), 16000), 0);
  EXPECT_EQ(Show(post(WM_COMMAND, IDOK), 16000), 1);
  EXPECT_EQ(Show(post(WM_COMMAND, IDCANCEL), 16000), 2);
  EXPECT_EQ(Show([](HWND dialog) { driver::PressKey(dialog, VK_ESCAPE); }, 16000), 2)
      << "the dialog manager turns the Esc key into Cancel";

  // Other characters, and OK or Cancel with a notification code, leave it open.
  bool open = false;
  EXPECT_EQ(Show(
                [&](HWND dialog) {
                  SendMessageA(dialog, WM_CHAR, 'a', 0);
                  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_SETFOCUS), 0);
                  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_KILLFOCUS), 0);
                  open = IsWindow(dialog) && IsWindowVisible(dialog);
                  driver::ClickAt(dialog, POINT{5, 5});
                },
                16000),
            0);
  EXPECT_TRUE(open);
}

TEST_F(AboutBoxEndTest, TheTextIsCutAt254CharactersAndAMissingOneLeavesItEmpty) {
  Enter(ThisProgram());
  std::string text = "unread";
  Show(
      [&](HWND dialog) {
        text = driver::ControlText(dialog, 3);
        driver::ClickAt(dialog, POINT{5, 5});
      },
      100);
  std::string expected;
  while (expected.size() < 254) expected += "0123456789abcdefghijklmnopqrstuvwxyz";
  expected.resize(254);
  EXPECT_EQ(text, expected);
  Show(
      [&](HWND dialog) {
        text = driver::ControlText(dialog, 3);
        driver::ClickAt(dialog, POINT{5, 5});
      },
      101);
  EXPECT_EQ(text, "");
}

// ---- failures ----

class ShowFailureTest : public HostCallTest {};

TEST_F(ShowFailureTest, AMissingTemplateOrInstanceIsMinusOneAndTheModeStays) {
  Enter(ThisProgram());
  zem::ModalDialog plain;
  EXPECT_EQ(plain.RunModal(sim.pluginRef(), 16001), -1) << "this program has no such template";
  EXPECT_EQ(plain.resourceId, 16001);
  EXPECT_EQ(plain.pluginRef, sim.pluginRef());
  EXPECT_EQ(plain.window, nullptr);

  zem::CurrentMode = 6;
  EXPECT_EQ(zem::RunModeDialog(), -128);
  EXPECT_EQ(zem::CurrentMode, 6);

  sim.accessDefaultModule = nullptr;
  EXPECT_EQ(plain.RunModal(sim.pluginRef(), 100), -1) << "no instance";
}

// Handlers that raise at every turn: the failures stay in the dialog procedure and the dialog
// still works and ends normally.
class RaisingDialog : public zem::ModalDialog {
 public:
  void OnInit() override {
    ++inits;
    throw std::runtime_error("init");
  }
  void OnCommand(int) override {
    ++commands;
    throw std::runtime_error("command");
  }
  void OnMessage(UINT message, WPARAM, LPARAM) override {
    if (message == WM_APP) {
      ++messages;
      throw 7;
    }
  }
  int inits = 0, commands = 0, messages = 0;
};

TEST_F(ShowFailureTest, FailuresRaisedByHandlersNeverLeaveTheDialogProcedure) {
  LoadedModule module;
  Enter(module.handle());
  RaisingDialog dialog;
  Driver driver([](HWND window) {
    SendMessageA(window, WM_APP, 0, 0);
    driver::Click(window, 4);
    SendMessageA(window, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(dialog.RunModal(sim.pluginRef(), 16000), 1);
  driver.Finish();
  EXPECT_FALSE(driver.leftOpen());
  EXPECT_EQ(dialog.inits, 1);
  EXPECT_EQ(dialog.messages, 1);
  EXPECT_EQ(dialog.commands, 2) << "the link, then OK, which still ends the dialog";
}

}  // namespace
