// Placement on a display of two monitors, run on an Xvfb of its own with two screens joined by
// Xinerama: a 1024 x 768 one and a 1280 x 1024 one, both at 0,0, so that the part of the second
// beyond the first's extent is on the second monitor only.
#include <gtest/gtest.h>

#include <vector>

#include "hostsim/Host.h"
#include "platform/WindowsHandles.h"
#include "tests/support/HostChecks.h"
#include "tests/windows/DialogDriver.h"
#include "tests/windows/HostMainWindow.h"
#include "tests/windows/LoadedModule.h"
#include "ui/PositionDialog.h"

namespace {

using dialog_driver::Driver;
namespace driver = dialog_driver;

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM context) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(monitor, &info);
  reinterpret_cast<std::vector<MONITORINFO>*>(context)->push_back(info);
  return TRUE;
}

class TwoMonitorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<MONITORINFO> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    ASSERT_EQ(monitors.size(), 2u) << "run on the two-screen display of the two-monitor fixture";
    for (const MONITORINFO& monitor : monitors) {
      if (monitor.rcMonitor.right == 1280) second = monitor;
    }
    ASSERT_EQ(second.rcMonitor.right, 1280);
    ASSERT_EQ(second.rcMonitor.bottom, 1024);
  }

  // A captioned popup window of the given size owned by `owner`, as a dialog is.
  HWND Dialog(HWND owner, int width, int height) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, width, height, owner,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    dialogs_.emplace_back(window);
    return window;
  }
  static RECT Placed(HWND dialog) {
    zem::PositionDialog(dialog);
    RECT bounds{};
    GetWindowRect(dialog, &bounds);
    return bounds;
  }
  MONITORINFO second{};
  const int shift = GetSystemMetrics(SM_CXSIZE);

 private:
  std::vector<zem::UniqueWindow> dialogs_;
};

TEST_F(TwoMonitorTest, AnOwnerOnTheSecondMonitorKeepsTheDialogInsideThatMonitor) {
  const RECT work = second.rcWork;
  HostMainWindow owner(1040, 800, 200, 180);  // beyond the first screen: on the second only
  ASSERT_EQ(MonitorFromWindow(owner.handle(), MONITOR_DEFAULTTONULL),
            MonitorFromPoint(POINT{1100, 900}, MONITOR_DEFAULTTONULL));
  const RECT placed = Placed(Dialog(owner.handle(), 330, 300));
  EXPECT_EQ(placed.left, work.right - 330) << "moved back to the second monitor's right edge, not the first's";
  EXPECT_EQ(placed.top, work.bottom - 300);

  HostMainWindow inside(1030, 780, 240, 230);
  const RECT small = Placed(Dialog(inside.handle(), 100, 60));
  EXPECT_EQ(small.left, 1030 + 70 - shift) << "inside its monitor the rule is unchanged";
  EXPECT_EQ(small.top, 780 + 170 / 3);
}

TEST_F(TwoMonitorTest, WithoutAnOwnerTheMonitorNearestTheCursorIsTheArea) {
  ASSERT_TRUE(SetCursorPos(1200, 950));
  ASSERT_TRUE(driver::WaitForPointerAt(POINT{1200, 950})) << "the pointer did not reach the second screen";
  const RECT placed = Placed(Dialog(nullptr, 330, 300));
  EXPECT_EQ(placed.left, (1280 - 330) / 2 - shift);
  EXPECT_EQ(placed.top, (1024 - 300) / 3);
}

// The built module, run from a script while the host's window is on the second monitor.
TEST_F(TwoMonitorTest, TheModeDialogStaysOnTheMonitorOfTheHostsWindow) {
  LoadedModule module;
  ASSERT_NE(module.Entry(), nullptr);
  hostsim::Host sim;
  sim.accessDefaultModule = module.handle();
  HostMainWindow mainWindow(1040, 800, 240, 224);
  sim.mainWindow = mainWindow.value();
  ASSERT_EQ(GetActiveWindow(), nullptr);
  RECT bounds{};
  {
    Driver driver([&](HWND dialog) {
      GetWindowRect(dialog, &bounds);
      driver::Click(dialog, IDCANCEL);
    });
    host::PIActionParameters parameters{host::plugInDialogDisplay, host::plugInDialogRequired, nullptr};
    EXPECT_EQ(sim.CallDoIt(module.Entry(), &parameters), 0);
    driver.Finish();
    EXPECT_TRUE(driver.sawDialog());
    EXPECT_FALSE(driver.leftOpen());
    if (parameters.descriptor != nullptr) sim.FreeDescriptor(parameters.descriptor);
  }
  EXPECT_EQ(bounds.right, second.rcWork.right);
  EXPECT_EQ(bounds.bottom, second.rcWork.bottom);
  EXPECT_GT(bounds.right, 1024) << "beyond the first screen";
  ExpectNothingLeft(sim);
}

}  // namespace
