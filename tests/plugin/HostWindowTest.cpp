// The host's main window for an unowned dialog: one MainAppWindow call through the UIHooks
// holder, and every failure on the way an absent window rather than a failed call.
#include <gtest/gtest.h>

#include "host/ResultCodes.h"
#include "hostaccess/HostWindow.h"
#include "tests/support/PluginFixture.h"

using hostsim::Op;
using zem::SuiteId;

namespace {

class HostWindowTest : public PluginFixture {
 protected:
  HostWindowTest() { sim.mainWindow = 0x5A0C4; }
};

TEST_F(HostWindowTest, AHolderFilledByTheCallIsUsedAsItIs) {
  EnterCall();
  zem::UIHooksSuite();  // as the "Do It" does for the plug-in's name
  const int callsBefore = sim.faults.TotalCalls();
  EXPECT_EQ(zem::HostMainWindow(), 0x5A0C4);
  EXPECT_EQ(sim.faults.TotalCalls() - callsBefore, 1) << "MainAppWindow and nothing else";
  EXPECT_EQ(sim.faults.Calls(Op::MainAppWindow), 1);
  EXPECT_EQ(sim.Use(host::kPSUIHooksSuite).acquired, 1);
  zem::ReleaseHostSuites();
}

TEST_F(HostWindowTest, AnEmptyHolderIsFilledOnceAndGivenBackByTheReleasePass) {
  EnterCall();
  EXPECT_EQ(zem::HostMainWindow(), 0x5A0C4);
  EXPECT_EQ(zem::HostMainWindow(), 0x5A0C4);
  EXPECT_EQ(sim.Use(host::kPSUIHooksSuite).acquired, 1);
  EXPECT_EQ(sim.faults.Calls(Op::MainAppWindow), 2);
  zem::ReleaseHostSuites();
  EXPECT_EQ(sim.Use(host::kPSUIHooksSuite).released, 1);
  EXPECT_EQ(zem::Holder(SuiteId::UIHooks).suite, nullptr);
}

TEST_F(HostWindowTest, EveryFailureIsNoWindowAndRaisesNothing) {
  // No basic suite: no host call at all.
  EXPECT_EQ(zem::HostMainWindow(), 0);
  EXPECT_EQ(sim.faults.TotalCalls(), 0);

  EnterCall();
  sim.RefuseSuite(host::kPSUIHooksSuite, 1);
  EXPECT_EQ(zem::HostMainWindow(), 0);
  EXPECT_EQ(zem::Holder(SuiteId::UIHooks).suite, nullptr);
  EXPECT_EQ(zem::Holder(SuiteId::UIHooks).lastError, host::kSPSuiteNotFoundError);
  EXPECT_EQ(sim.faults.Calls(Op::MainAppWindow), 0);

  sim.faults.FailOperation(Op::AcquireSuite, 2, -4242);
  EXPECT_EQ(zem::HostMainWindow(), 0) << "an acquisition that fails";
  sim.faults.FailOperation(Op::MainAppWindow, 1, -4242);
  EXPECT_EQ(zem::HostMainWindow(), 0) << "a MainAppWindow that fails";
  EXPECT_EQ(zem::HostMainWindow(), 0x5A0C4) << "the next call succeeds";
  zem::ReleaseHostSuites();

  sim.mainWindow = 0;
  EXPECT_EQ(zem::HostMainWindow(), 0) << "a host without a main window";
  zem::ReleaseHostSuites();
}

}  // namespace
