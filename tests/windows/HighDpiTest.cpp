// Both dialogs of the built module in a DPI-aware host on a screen at 192 DPI (200 %), in a prefix
// of their own: the dialogs grow with their font, the logo is drawn scaled to fill its control,
// and the screenshots are kept for the README beside the 100 % ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "DialogDriver.h"
#include "LoadedModule.h"
#include "Screenshot.h"
#include "common/HostChecks.h"
#include "hostsim/Host.h"
#include "ui/ImageScaling.h"

namespace {

using dialog_driver::Driver;
namespace driver = dialog_driver;

constexpr int kLogoPicture = 102;
constexpr int kAboutText = 3;

// A DPI-aware host sees the screen's real resolution; declared before any window exists.
const bool dpiAware = SetProcessDPIAware() != FALSE;

class HighDpiTest : public ::testing::Test {
 protected:
  HighDpiTest() { sim.accessDefaultModule = module.handle(); }
  void TearDown() override { ExpectNothingLeft(sim); }

  static int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
  }

  void Drive(driver::Script script, bool about) {
    Driver driver(std::move(script));
    host::PIActionParameters parameters{host::plugInDialogDisplay, host::plugInDialogRequired, nullptr};
    EXPECT_EQ(about ? sim.CallAbout(module.Entry()) : sim.CallDoIt(module.Entry(), &parameters), 0);
    if (parameters.descriptor != nullptr) sim.FreeDescriptor(parameters.descriptor);
    driver.Finish();
    EXPECT_TRUE(driver.sawDialog());
    EXPECT_FALSE(driver.leftOpen());
  }

  LoadedModule module;
  hostsim::Host sim;
};

TEST_F(HighDpiTest, TheModeDialogsLogoFillsItsControlSmoothlyScaled) {
  ASSERT_TRUE(dpiAware);
  ASSERT_EQ(ScreenDpi(), 192) << "the prefix's LogPixels";
  ASSERT_NE(module.Entry(), nullptr);
  hostsim::Image shot;
  RECT dialogBounds{}, logoBounds{};
  Drive(
      [&](HWND dialog) {
        driver::Settle(dialog);
        shot = screenshot::Capture(dialog);
        GetWindowRect(dialog, &dialogBounds);
        GetWindowRect(GetDlgItem(dialog, kLogoPicture), &logoBounds);
        driver::Click(dialog, IDCANCEL);
      },
      false);
  ASSERT_GT(shot.width, 0);
  EXPECT_TRUE(screenshot::Save(shot, "mode-dialog-200.png"));

  const hostsim::Image logo = screenshot::LoadBitmapResource(module.handle(), kLogoPicture);
  ASSERT_EQ(logo.width, 80);
  const zem::PixelSize control{static_cast<int>(logoBounds.right - logoBounds.left),
                               static_cast<int>(logoBounds.bottom - logoBounds.top)};
  const zem::PixelSize fitted = zem::FitInside({logo.width, logo.height}, control);
  EXPECT_GE(fitted.width, logo.width * 3 / 2) << "the control has grown with the dialog, and the logo with it";
  EXPECT_TRUE(fitted.width == control.width || fitted.height == control.height) << "it fills its control";

  // The logo's pixels resampled to that size, centred in the control as the control centres it.
  std::vector<uint32_t> source(static_cast<size_t>(logo.width) * logo.height);
  for (int y = 0; y < logo.height; ++y) {
    for (int x = 0; x < logo.width; ++x) {
      const uint8_t* rgb = logo.At(x, y);
      source[y * logo.width + x] = (uint32_t{rgb[0]} << 16) | (uint32_t{rgb[1]} << 8) | rgb[2];
    }
  }
  std::vector<uint32_t> expected(static_cast<size_t>(fitted.width) * fitted.height);
  zem::ScalePixels(source.data(), {logo.width, logo.height}, expected.data(), fitted);
  const int left = logoBounds.left - dialogBounds.left + (control.width - fitted.width) / 2;
  const int top = logoBounds.top - dialogBounds.top + (control.height - fitted.height) / 2;
  int different = 0;
  int blended = 0;  // pixels of colours the logo itself does not have: the smooth edges
  for (int y = 0; y < fitted.height; ++y) {
    for (int x = 0; x < fitted.width; ++x) {
      const uint32_t want = expected[y * fitted.width + x];
      const uint8_t* got = shot.At(left + x, top + y);
      const uint32_t seen = (uint32_t{got[0]} << 16) | (uint32_t{got[1]} << 8) | got[2];
      different += seen != want;
      blended += std::find(source.begin(), source.end(), want) == source.end();
    }
  }
  EXPECT_EQ(different, 0) << "logo expected at " << left << "," << top << ", " << fitted.width << "x" << fitted.height;
  EXPECT_GT(blended, 0) << "smoothly scaled, not repeated pixels";
}

TEST_F(HighDpiTest, TheAboutBoxGrowsWithItsFont) {
  ASSERT_TRUE(dpiAware);
  ASSERT_EQ(ScreenDpi(), 192);
  ASSERT_NE(module.Entry(), nullptr);
  hostsim::Image shot;
  TEXTMETRICA metrics{};
  RECT text{};
  Drive(
      [&](HWND dialog) {
        driver::Settle(dialog);
        shot = screenshot::Capture(dialog);
        HDC dc = GetDC(dialog);
        HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, previous);
        ReleaseDC(dialog, dc);
        GetClientRect(GetDlgItem(dialog, kAboutText), &text);
        driver::PressKey(dialog, VK_ESCAPE);
      },
      true);
  ASSERT_GT(shot.width, 0);
  EXPECT_TRUE(screenshot::Save(shot, "about-box-200.png"));
  EXPECT_GE(metrics.tmHeight, 2 * 11) << "an 8-point font at 192 DPI";
  EXPECT_GE(text.bottom, 7 * metrics.tmHeight) << "the seven lines still fit";
}

}  // namespace
