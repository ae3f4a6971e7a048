// Both dialogs of the built module in a DPI-aware host on a screen at 192 DPI (200 %), in a prefix
// of their own: the dialogs grow with their font, the logo is drawn scaled to fill its control,
// and the screenshots are kept for docs/dialogs.md beside the 100 % ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "host/ResultCodes.h"
#include "hostsim/Host.h"
#include "tests/support/HostChecks.h"
#include "tests/windows/DialogDriver.h"
#include "tests/windows/ImportHook.h"
#include "tests/windows/LoadedModule.h"
#include "tests/windows/Screenshot.h"
#include "ui/ImageScaling.h"

namespace {

using dialog_driver::Driver;
namespace driver = dialog_driver;

// The window device contexts the module takes (GetDC) and gives back (ReleaseDC), counted through
// its import table while a DeviceContextCount lives.
struct DeviceContextCalls {
  static int taken;
  static int givenBack;
  static void* takeOriginal;
  static void* giveBackOriginal;

  static HDC WINAPI Take(HWND window) {
    const HDC dc = reinterpret_cast<HDC(WINAPI*)(HWND)>(takeOriginal)(window);
    if (dc != nullptr) ++taken;
    return dc;
  }
  static int WINAPI GiveBack(HWND window, HDC dc) {
    const int result = reinterpret_cast<int(WINAPI*)(HWND, HDC)>(giveBackOriginal)(window, dc);
    if (result != 0) ++givenBack;
    return result;
  }
};
int DeviceContextCalls::taken = 0;
int DeviceContextCalls::givenBack = 0;
void* DeviceContextCalls::takeOriginal = nullptr;
void* DeviceContextCalls::giveBackOriginal = nullptr;

class DeviceContextCount {
 public:
  explicit DeviceContextCount(HMODULE module)
      : take_(module, "user32.dll", "GetDC", reinterpret_cast<void*>(&DeviceContextCalls::Take)),
        giveBack_(module, "user32.dll", "ReleaseDC", reinterpret_cast<void*>(&DeviceContextCalls::GiveBack)) {
    DeviceContextCalls::taken = DeviceContextCalls::givenBack = 0;
    DeviceContextCalls::takeOriginal = take_.original();
    DeviceContextCalls::giveBackOriginal = giveBack_.original();
  }
  bool installed() const { return take_.installed() && giveBack_.installed(); }

 private:
  ImportHook take_;
  ImportHook giveBack_;
};

constexpr int kLogoPicture = 102;
constexpr int kAboutText = 3;

// A DPI-aware host sees the screen's real resolution; declared before any window exists.
const bool dpiAware = SetProcessDPIAware() != FALSE;

class HighDpiTest : public ::testing::Test {
 protected:
  HighDpiTest() { sim.accessDefaultModule = module.handle(); }
  void TearDown() override { ExpectNothingLeft(sim); }

  static int ScreenDpi() {
    const zem::UniqueWindowDc screen = zem::GetWindowDc(nullptr);
    return GetDeviceCaps(screen.get().dc, LOGPIXELSY);
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
        shot = screenshot::CapturePainted(dialog);
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
        shot = screenshot::CapturePainted(dialog);
        const zem::UniqueWindowDc windowDc = zem::GetWindowDc(dialog);
        const HDC dc = windowDc.get().dc;
        HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, previous);
        GetClientRect(GetDlgItem(dialog, kAboutText), &text);
        driver::PressKey(dialog, VK_ESCAPE);
      },
      true);
  ASSERT_GT(shot.width, 0);
  EXPECT_TRUE(screenshot::Save(shot, "about-box-200.png"));
  EXPECT_GE(metrics.tmHeight, 2 * 11) << "an 8-point font at 192 DPI";
  EXPECT_GE(text.bottom, 7 * metrics.tmHeight) << "the seven lines still fit";
}

// Scaling the logo takes the dialog's device context and then allocates its pixels from the host.
// A host that refuses that memory gets the dialog with the logo as it is, and the device context
// back: first the source pixels refused, then the scaled ones.
TEST_F(HighDpiTest, RefusedMemoryForTheLogoGivesTheDeviceContextBackAndShowsTheLogoAsItIs) {
  ASSERT_TRUE(dpiAware);
  ASSERT_EQ(ScreenDpi(), 192);
  ASSERT_NE(module.Entry(), nullptr);
  for (int refused = 1; refused <= 2; ++refused) {
    SCOPED_TRACE(refused == 1 ? "source pixels refused" : "scaled pixels refused");
    DeviceContextCount count(module.handle());
    ASSERT_TRUE(count.installed()) << "the module imports GetDC and ReleaseDC from user32.dll";
    const int firedBefore = sim.faults.Fired();
    sim.faults.FailOperation(hostsim::Op::AllocateBlock, sim.faults.Calls(hostsim::Op::AllocateBlock) + refused,
                             host::kSPOutOfMemoryError);
    bool visible = false;
    BITMAP shown{};
    Drive(
        [&](HWND dialog) {
          driver::Settle(dialog);
          visible = IsWindowVisible(dialog) != FALSE;
          const auto logo = reinterpret_cast<HBITMAP>(SendDlgItemMessageA(dialog, kLogoPicture, STM_GETIMAGE,
                                                                          IMAGE_BITMAP, 0));
          if (logo != nullptr) GetObjectA(logo, sizeof shown, &shown);
          driver::Click(dialog, IDOK);
        },
        false);
    EXPECT_EQ(sim.faults.Fired(), firedBefore + 1) << "the refusal reached the scaling";
    EXPECT_TRUE(visible);
    EXPECT_EQ(shown.bmWidth, 80) << "the logo as it is, not scaled";
    EXPECT_EQ(shown.bmHeight, 33);
    EXPECT_GE(DeviceContextCalls::taken, 1);
    EXPECT_EQ(DeviceContextCalls::givenBack, DeviceContextCalls::taken) << "every device context given back";
  }
}

}  // namespace
