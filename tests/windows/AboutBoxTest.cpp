// The About box of the built module, shown by the host's "About" call and driven like a user.
#include <gtest/gtest.h>

#include "host/GetFileListSuite.h"
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

constexpr int kText = 3;
constexpr int kLink = 4;
const std::string kAddress = std::string("http://") + ZEM_WEB_HOST;

class AboutBoxTest : public ::testing::Test {
 protected:
  AboutBoxTest() { sim.accessDefaultModule = module.handle(); }

  void TearDown() override {
    ExpectNothingLeft(sim);
  }

  // The host's About call, with the box driven by the script, which must close it. The box's own
  // result does not reach the host; the call answers 0.
  void AboutWithBox(driver::Script script) {
    Driver driver(std::move(script));
    EXPECT_EQ(sim.CallAbout(module.Entry()), 0);
    driver.Finish();
    EXPECT_TRUE(driver.sawDialog());
    EXPECT_FALSE(driver.leftOpen());
  }

  static POINT CentreOf(HWND dialog, int control) {
    RECT bounds{};
    GetWindowRect(GetDlgItem(dialog, control), &bounds);
    POINT centre{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    ScreenToClient(dialog, &centre);
    return centre;
  }

  LoadedModule module;
  hostsim::Host sim;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\n') {
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

TEST_F(AboutBoxTest, ShowsItsSevenLinesAndTheLinkAndSavesAScreenshot) {
  ASSERT_NE(module.Entry(), nullptr);
  std::string text, link, title;
  LONG style = 0;
  hostsim::Image shot;
  AboutWithBox([&](HWND dialog) {
    text = driver::ControlText(dialog, kText);
    link = driver::ControlText(dialog, kLink);
    char caption[64] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    title = caption;
    style = GetWindowLongA(dialog, GWL_STYLE);
    shot = screenshot::CapturePainted(dialog);
    driver::ClickAt(dialog, CentreOf(dialog, kText));
  });
  const std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(lines.size(), 7u) << text;
  EXPECT_EQ(lines[0], "ZEM_Variations");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "Version 0.1 Release (12/2004)");
  EXPECT_NE(lines[3], "");
  EXPECT_NE(lines[4], "");
  EXPECT_EQ(lines[5], "");
  EXPECT_NE(lines[6], "");
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(link, ZEM_WEB_HOST);
  EXPECT_EQ(title, "");
  EXPECT_EQ(style & WS_SYSMENU, 0) << "no close box";
  ASSERT_GT(shot.width, 0);
  EXPECT_TRUE(screenshot::Save(shot, "about-box.png"));
}

TEST_F(AboutBoxTest, TheLinkOpensItsCaptionEveryTimeAndTheBoxStaysOpen) {
  ASSERT_NE(module.Entry(), nullptr);
  bool openAfterClicks = false;
  AboutWithBox([&](HWND dialog) {
    for (int click = 0; click < 3; ++click) driver::Click(dialog, kLink);
    openAfterClicks = IsWindowVisible(dialog) != FALSE;
    driver::ClickAt(dialog, POINT{5, 5});  // the empty area of the box
  });
  EXPECT_TRUE(openAfterClicks);
  EXPECT_EQ(sim.BrowsedUrls(), std::vector<std::string>(3, kAddress));
  EXPECT_EQ(sim.AllocationRequests(), std::vector<size_t>(3, 256)) << "one caption buffer per click";
  EXPECT_EQ(sim.Use(host::kPSGetFileListSuite).acquired, 1);
}

TEST_F(AboutBoxTest, TheAddressIsTheSchemeAndTheCaptionExactly) {
  ASSERT_NE(module.Entry(), nullptr);
  const std::string longCaption(300, 'w');
  AboutWithBox([&](HWND dialog) {
    SetDlgItemTextA(dialog, kLink, "");
    driver::Click(dialog, kLink);
    SetDlgItemTextA(dialog, kLink, longCaption.c_str());
    driver::Click(dialog, kLink);
    SetDlgItemTextA(dialog, kLink, "example.org/a b?c=d");
    driver::Click(dialog, kLink);
    driver::PressKey(dialog, VK_ESCAPE);
  });
  EXPECT_EQ(sim.BrowsedUrls(), (std::vector<std::string>{"http://", "http://" + longCaption.substr(0, 255),
                                                         "http://example.org/a b?c=d"}));
}

// The dialog manager takes the Enter key before it can reach the box as a character: the box's
// default button is disabled, so Enter leaves the box open (Wine ignores it; Windows may press the
// focused link instead). Esc is Cancel and closes it.
TEST_F(AboutBoxTest, TheEnterKeyLeavesTheBoxOpenAndEscClosesIt) {
  ASSERT_NE(module.Entry(), nullptr);
  bool openAfterEnter = false;
  AboutWithBox([&](HWND dialog) {
    driver::PressKey(dialog, VK_RETURN);
    driver::Settle(dialog);
    openAfterEnter = IsWindowVisible(dialog) != FALSE;
    driver::PressKey(dialog, VK_ESCAPE);
  });
  EXPECT_TRUE(openAfterEnter);
}

TEST_F(AboutBoxTest, AFailedLinkClickDoesNothingAndTheNextOneWorks) {
  ASSERT_NE(module.Entry(), nullptr);
  sim.RefuseSuite(host::kPSGetFileListSuite, 1);
  bool openAfterFailures = false;
  std::vector<std::string> urlsAfterFailures;
  AboutWithBox([&](HWND dialog) {
    driver::Click(dialog, kLink);  // the browser suite is refused
    sim.faults.FailOperation(hostsim::Op::AllocateBlock, sim.faults.Calls(hostsim::Op::AllocateBlock) + 1, -108);
    driver::Click(dialog, kLink);  // the buffer is refused
    openAfterFailures = IsWindowVisible(dialog) != FALSE;
    urlsAfterFailures = sim.BrowsedUrls();
    driver::Click(dialog, kLink);
    driver::ClickAt(dialog, CentreOf(dialog, kText));
  });
  EXPECT_TRUE(openAfterFailures);
  EXPECT_EQ(urlsAfterFailures, std::vector<std::string>());
  EXPECT_EQ(sim.BrowsedUrls(), std::vector<std::string>{kAddress});
}

// The About call holds no suite yet: the UIHooks suite is acquired for the owner and given back at
// the end of the call; a host that refuses it gets an unowned box.
TEST_F(AboutBoxTest, WithoutAnActiveWindowTheHostsMainWindowOwnsIt) {
  ASSERT_NE(module.Entry(), nullptr);
  HWND owner = nullptr;
  {
    HostMainWindow mainWindow(50, 40, 900, 650);
    sim.mainWindow = mainWindow.value();
    ASSERT_EQ(GetActiveWindow(), nullptr);
    BOOL enabledMeanwhile = TRUE;
    AboutWithBox([&](HWND dialog) {
      owner = GetWindow(dialog, GW_OWNER);
      enabledMeanwhile = IsWindowEnabled(mainWindow.handle());
      driver::PressKey(dialog, VK_ESCAPE);
    });
    EXPECT_EQ(owner, mainWindow.handle());
    EXPECT_FALSE(enabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(mainWindow.handle()));
  }
  EXPECT_EQ(sim.Use(host::kPSUIHooksSuite).acquired, 1);
  EXPECT_EQ(sim.Use(host::kPSUIHooksSuite).released, 1);
  EXPECT_EQ(sim.faults.Calls(hostsim::Op::MainAppWindow), 1);

  // A dialog's owner is activated when the dialog closes: a new main window, not active.
  HostMainWindow mainWindow(50, 40, 900, 650);
  sim.mainWindow = mainWindow.value();
  ASSERT_EQ(GetActiveWindow(), nullptr);
  sim.RefuseSuite(host::kPSUIHooksSuite);
  AboutWithBox([&](HWND dialog) {
    owner = GetWindow(dialog, GW_OWNER);
    driver::PressKey(dialog, VK_ESCAPE);
  });
  EXPECT_EQ(owner, nullptr);
  EXPECT_EQ(sim.faults.Calls(hostsim::Op::MainAppWindow), 1);
}

TEST_F(AboutBoxTest, AHostThatNamesNoModuleShowsNoBox) {
  ASSERT_NE(module.Entry(), nullptr);
  sim.accessDefaultModule = nullptr;
  Driver driver([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(sim.CallAbout(module.Entry()), 0);
  driver.Finish();
  EXPECT_FALSE(driver.sawDialog());
  EXPECT_EQ(sim.Use("SP Access Suite").acquired, 1);
}

}  // namespace
