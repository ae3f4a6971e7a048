// The mode dialog of the built module, shown by a "Do It" that asks for it and driven like a user.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/AccessSuite.h"
#include "host/ResultCodes.h"
#include "host/UIHooksSuite.h"
#include "hostsim/Host.h"
#include "tests/support/HostChecks.h"
#include "tests/windows/DialogDriver.h"
#include "tests/windows/HostMainWindow.h"
#include "tests/windows/LoadedModule.h"
#include "tests/windows/Screenshot.h"

namespace {

using dialog_driver::Driver;
namespace driver = dialog_driver;

constexpr int kFirstButton = 4;
constexpr int kLastButton = 10;
constexpr int kHiddenButton = 10;

int ButtonOf(int mode) { return mode + 3; }

class ModeDialogTest : public ::testing::Test {
 protected:
  ModeDialogTest() { sim.accessDefaultModule = module.handle(); }

  void TearDown() override {
    ForgetDescriptor();
    ExpectNothingLeft(sim);
  }

  void GiveMode(int32_t mode) {
    ForgetDescriptor();
    parameters.descriptor = sim.NewModeDescriptor(mode);
  }
  void ForgetDescriptor() {
    if (parameters.descriptor != nullptr) sim.FreeDescriptor(parameters.descriptor);
    parameters.descriptor = nullptr;
  }
  std::string RecordedMode() {
    return parameters.descriptor == nullptr ? "<none>" : sim.DescriptorText(parameters.descriptor);
  }

  // A "Do It" whose dialog the script drives; the script must close it.
  int32_t DoItWithDialog(driver::Script script) {
    Driver driver(std::move(script));
    const int32_t result = sim.CallDoIt(module.Entry(), &parameters);
    driver.Finish();
    EXPECT_TRUE(driver.sawDialog());
    EXPECT_FALSE(driver.leftOpen());
    return result;
  }
  // A "Do It" that must not show the dialog; one that appears anyway is cancelled.
  int32_t DoItWithoutDialog() {
    Driver driver([](HWND dialog) { driver::Click(dialog, IDCANCEL); });
    const int32_t result = sim.CallDoIt(module.Entry(), &parameters);
    driver.Finish();
    EXPECT_FALSE(driver.sawDialog());
    return result;
  }

  // The buttons checked when the dialog opened.
  std::vector<int> CheckedButtons(HWND dialog) {
    std::vector<int> checked;
    for (int id = kFirstButton; id <= kLastButton; ++id) {
      if (driver::IsChecked(dialog, id)) checked.push_back(id);
    }
    return checked;
  }

  int Plays() const {
    return static_cast<int>(std::count_if(sim.log().begin(), sim.log().end(),
                                          [](const std::string& line) { return line.rfind("Ply ", 0) == 0; }));
  }

  // The events of a run in `mode` without the dialog, from a host of its own.
  std::vector<std::string> EventsOfPlainRun(int32_t mode) {
    hostsim::Host plain;
    host::PIActionParameters plainParameters{host::plugInDialogDontDisplay, host::plugInDialogRequired,
                                             plain.NewModeDescriptor(mode)};
    EXPECT_EQ(plain.CallDoIt(module.Entry(), &plainParameters), 0);
    plain.FreeDescriptor(plainParameters.descriptor);
    return plain.log();
  }

  LoadedModule module;
  hostsim::Host sim;
  host::PIActionParameters parameters{host::plugInDialogDisplay, host::plugInDialogRequired, nullptr};
};

TEST_F(ModeDialogTest, OpensOnTheButtonOfTheModeRead) {
  ASSERT_NE(module.Entry(), nullptr);
  struct Case {
    int32_t mode;
    int button;
  };
  const Case cases[] = {{1, 4}, {2, 5}, {3, 6}, {4, 7}, {5, 8}, {6, 9}, {7, 10}, {0, 4}, {8, 4}, {-3, 4}};
  for (const Case& c : cases) {
    GiveMode(c.mode);
    std::vector<int> checked;
    bool hiddenShown = true;
    EXPECT_EQ(DoItWithDialog([&](HWND dialog) {
                checked = CheckedButtons(dialog);
                hiddenShown = driver::IsShown(dialog, kHiddenButton);
                driver::Click(dialog, IDCANCEL);
              }),
              0);
    EXPECT_EQ(checked, std::vector<int>{c.button}) << "mode " << c.mode;
    EXPECT_FALSE(hiddenShown);
    EXPECT_EQ(Plays(), 0) << "a cancelled dialog skips the run";
  }
}

TEST_F(ModeDialogTest, OkWithoutAClickRunsTheModeRead) {
  ASSERT_NE(module.Entry(), nullptr);
  GiveMode(7);
  EXPECT_EQ(DoItWithDialog([](HWND dialog) { driver::Click(dialog, IDOK); }), 0);
  EXPECT_EQ(RecordedMode(), "Cnt=7");
  EXPECT_EQ(sim.log(), EventsOfPlainRun(7)) << "the hidden button's mode runs as scripted";

  sim.ClearLog();
  GiveMode(12);
  EXPECT_EQ(DoItWithDialog([](HWND dialog) { driver::Click(dialog, IDOK); }), 0);
  EXPECT_EQ(RecordedMode(), "Cnt=1") << "a mode without a button becomes the first";
  EXPECT_EQ(sim.log(), EventsOfPlainRun(1));
}

TEST_F(ModeDialogTest, AChoiceConfirmedByOkOrEnterRunsAndIsRecorded) {
  ASSERT_NE(module.Entry(), nullptr);
  struct Case {
    int32_t chosen;
    bool byEnter;
  };
  for (const Case& c : {Case{5, false}, Case{2, true}, Case{6, true}}) {
    GiveMode(3);
    sim.ClearLog();
    EXPECT_EQ(DoItWithDialog([&](HWND dialog) {
                driver::Click(dialog, ButtonOf(c.chosen));
                // Clicking a radio button moves the focus to it, and Enter still means OK.
                if (c.byEnter) {
                  driver::PressKey(dialog, VK_RETURN);
                } else {
                  driver::Click(dialog, IDOK);
                }
              }),
              0);
    EXPECT_EQ(RecordedMode(), "Cnt=" + std::to_string(c.chosen));
    EXPECT_EQ(sim.log(), EventsOfPlainRun(c.chosen)) << "chosen " << c.chosen;
  }
}

TEST_F(ModeDialogTest, AChoiceLeftByCancelEscOrTheCloseBoxChangesNothing) {
  ASSERT_NE(module.Entry(), nullptr);
  const std::function<void(HWND)> ways[] = {
      [](HWND dialog) { driver::Click(dialog, IDCANCEL); },
      [](HWND dialog) { driver::PressKey(dialog, VK_ESCAPE); },
      [](HWND dialog) { driver::CloseBox(dialog); },
  };
  for (const auto& leave : ways) {
    GiveMode(3);
    sim.ClearLog();
    EXPECT_EQ(DoItWithDialog([&](HWND dialog) {
                driver::Click(dialog, ButtonOf(6));
                leave(dialog);
              }),
              0);
    EXPECT_EQ(Plays(), 0);
    EXPECT_EQ(RecordedMode(), "Cnt=3");
  }
}

TEST_F(ModeDialogTest, EachCallWithoutADescriptorOpensOnTheFirstMode) {
  ASSERT_NE(module.Entry(), nullptr);
  std::vector<int> first, second;
  EXPECT_EQ(DoItWithDialog([&](HWND dialog) {
              first = CheckedButtons(dialog);
              driver::Click(dialog, ButtonOf(5));
              driver::Click(dialog, IDOK);
            }),
            0);
  EXPECT_EQ(RecordedMode(), "Cnt=5");
  ForgetDescriptor();
  EXPECT_EQ(DoItWithDialog([&](HWND dialog) {
              second = CheckedButtons(dialog);
              driver::Click(dialog, IDCANCEL);
            }),
            0);
  EXPECT_EQ(first, std::vector<int>{ButtonOf(1)});
  EXPECT_EQ(second, std::vector<int>{ButtonOf(1)});
}

TEST_F(ModeDialogTest, WithoutAnActiveWindowItIsPlacedOverTheDesktop) {
  ASSERT_NE(module.Entry(), nullptr);
  RECT bounds{};
  EXPECT_EQ(DoItWithDialog([&](HWND dialog) {
              GetWindowRect(dialog, &bounds);
              driver::Click(dialog, IDCANCEL);
            }),
            0);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_LT(width, screenWidth);
  EXPECT_EQ(bounds.left, (screenWidth - width) / 2 - GetSystemMetrics(SM_CXSIZE)) << "left of centre by a caption button";
  EXPECT_EQ(bounds.top, (screenHeight - height) / 3);
}

// Run from a script while the host is in the background, the dialog is owned by the host's main
// window, placed over it, and the host is disabled while the dialog is up.
TEST_F(ModeDialogTest, WithoutAnActiveWindowTheHostsMainWindowOwnsItAndIsDisabledMeanwhile) {
  ASSERT_NE(module.Entry(), nullptr);
  HostMainWindow mainWindow(120, 90, 700, 500);
  sim.mainWindow = mainWindow.value();
  ASSERT_EQ(GetActiveWindow(), nullptr);
  GiveMode(3);
  HWND owner = nullptr;
  BOOL enabledMeanwhile = TRUE;
  RECT bounds{};
  EXPECT_EQ(DoItWithDialog([&](HWND dialog) {
              owner = GetWindow(dialog, GW_OWNER);
              enabledMeanwhile = IsWindowEnabled(mainWindow.handle());
              GetWindowRect(dialog, &bounds);
              driver::Click(dialog, ButtonOf(2));
              driver::Click(dialog, IDOK);
            }),
            0);
  EXPECT_EQ(owner, mainWindow.handle());
  EXPECT_FALSE(enabledMeanwhile) << "the host takes no input while the dialog is up";
  EXPECT_TRUE(IsWindowEnabled(mainWindow.handle())) << "and takes it again afterwards";
  EXPECT_EQ(bounds.left, 120 + (700 - (bounds.right - bounds.left)) / 2 - GetSystemMetrics(SM_CXSIZE));
  EXPECT_EQ(bounds.top, 90 + (500 - (bounds.bottom - bounds.top)) / 3);
  EXPECT_EQ(RecordedMode(), "Cnt=2");
  EXPECT_EQ(sim.faults.Calls(hostsim::Op::MainAppWindow), 1);
  EXPECT_EQ(sim.Use(host::kPSUIHooksSuite).acquired, 1) << "the suite the call holds for the plug-in's name";
}

TEST_F(ModeDialogTest, AnActiveWindowOwnsItWithoutAHostCallAndAFailedCallLeavesItUnowned) {
  ASSERT_NE(module.Entry(), nullptr);
  HWND owner = nullptr;
  {
    HostMainWindow mainWindow(120, 90, 700, 500);
    sim.mainWindow = mainWindow.value();
    HostMainWindow active(300, 200, 400, 300, true);
    ASSERT_EQ(GetActiveWindow(), active.handle());
    EXPECT_EQ(DoItWithDialog([&](HWND dialog) {
                owner = GetWindow(dialog, GW_OWNER);
                driver::Click(dialog, IDCANCEL);
              }),
              0);
    EXPECT_EQ(owner, active.handle());
    EXPECT_EQ(sim.faults.Calls(hostsim::Op::MainAppWindow), 0) << "the host is not asked";
  }

  // A dialog's owner is activated when the dialog closes: a new main window, not active.
  HostMainWindow mainWindow(120, 90, 700, 500);
  sim.mainWindow = mainWindow.value();
  ASSERT_EQ(GetActiveWindow(), nullptr);
  sim.faults.FailOperation(hostsim::Op::MainAppWindow, 1, -4242);
  GiveMode(4);
  sim.ClearLog();
  EXPECT_EQ(DoItWithDialog([&](HWND dialog) {
              owner = GetWindow(dialog, GW_OWNER);
              driver::Click(dialog, IDOK);
            }),
            0);
  EXPECT_EQ(owner, nullptr);
  EXPECT_EQ(sim.log(), EventsOfPlainRun(4)) << "the run goes on without an owner";
}

// The picture shown is the module's logo bitmap, at its real size, centred in its control; the
// screenshot is kept for docs/dialogs.md.
TEST_F(ModeDialogTest, ShowsTheLogoAndSavesAScreenshot) {
  ASSERT_NE(module.Entry(), nullptr);
  GiveMode(5);
  hostsim::Image shot;
  RECT dialogBounds{}, logoBounds{};
  EXPECT_EQ(DoItWithDialog([&](HWND dialog) {
              shot = screenshot::CapturePainted(dialog);
              GetWindowRect(dialog, &dialogBounds);
              GetWindowRect(GetDlgItem(dialog, 102), &logoBounds);
              driver::Click(dialog, IDCANCEL);
            }),
            0);
  ASSERT_GT(shot.width, 0);
  EXPECT_TRUE(screenshot::Save(shot, "mode-dialog.png"));

  const hostsim::Image logo = screenshot::LoadBitmapResource(module.handle(), 102);
  ASSERT_EQ(logo.width, 80);
  ASSERT_EQ(logo.height, 33);
  const int left = logoBounds.left - dialogBounds.left + ((logoBounds.right - logoBounds.left) - logo.width) / 2;
  const int top = logoBounds.top - dialogBounds.top + ((logoBounds.bottom - logoBounds.top) - logo.height) / 2;
  int different = 0;
  for (int y = 0; y < logo.height; ++y) {
    for (int x = 0; x < logo.width; ++x) different += !std::equal(logo.At(x, y), logo.At(x, y) + 3, shot.At(left + x, top + y));
  }
  EXPECT_EQ(different, 0) << "logo expected at " << left << "," << top;
}

TEST_F(ModeDialogTest, ADialogThatCannotBeShownSkipsTheRun) {
  ASSERT_NE(module.Entry(), nullptr);
  // The host names no module, then a module without the template: no window opens either time.
  sim.accessDefaultModule = nullptr;
  GiveMode(4);
  EXPECT_EQ(DoItWithoutDialog(), 0);
  EXPECT_EQ(Plays(), 0);
  EXPECT_EQ(RecordedMode(), "Cnt=4");

  sim.accessResourceModule = GetModuleHandleA(nullptr);
  GiveMode(6);
  EXPECT_EQ(DoItWithoutDialog(), 0);
  EXPECT_EQ(Plays(), 0);
  EXPECT_EQ(RecordedMode(), "Cnt=6");
}

TEST_F(ModeDialogTest, ARefusedAccessSuiteAbandonsTheCallBeforeAnyWindow) {
  ASSERT_NE(module.Entry(), nullptr);
  sim.RefuseSuite(host::kSPAccessSuite);
  GiveMode(4);
  host::PIActionDescriptor given = parameters.descriptor;
  EXPECT_EQ(DoItWithoutDialog(), host::kSPSuiteNotFoundError);
  EXPECT_EQ(Plays(), 0);
  EXPECT_EQ(parameters.descriptor, given) << "the descriptor is left as the host gave it";
}

}  // namespace
