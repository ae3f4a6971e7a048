// The entry point: dispatch, the "Do It" sequence and its outcomes, suite use per call, and the
// calls abandoned by a failure, which must still return a code and leak nothing.
#include <gtest/gtest.h>

#include "host/Keys.h"
#include "host/ResultCodes.h"
#include "tests/support/PluginFixture.h"

using hostsim::Op;
using hostsim::Value;

namespace {

class PluginMainTest : public PluginFixture {
 protected:
  void GiveMode(int32_t mode) { parameters.descriptor = sim.NewModeDescriptor(mode); }

  int32_t Call(const char* caller, const char* selector) {
    host::PSActionsPlugInMessage message = sim.DoItMessage(&parameters);
    return AutoPluginMain(caller, selector, &message);
  }
};

TEST_F(PluginMainTest, AboutShowsTheBoxAndTouchesNoSuite) {
  EXPECT_EQ(sim.CallAbout(AutoPluginMain), 0);
  EXPECT_EQ(fake_dialogs::aboutBox.calls, 1);
  EXPECT_EQ(fake_dialogs::aboutBox.plugin, sim.pluginRef());
  EXPECT_EQ(fake_dialogs::aboutBox.resourceId, 16000);
  EXPECT_EQ(sim.AcquisitionsTotal(), 0);
  EXPECT_EQ(sim.faults.Calls(Op::ReleaseSuite), 0);
  EXPECT_EQ(sim.faults.Calls(Op::IsEqual), 2) << "the strings are compared by the host";
}

TEST_F(PluginMainTest, EveryOtherCallerAndSelectorDoesNothing) {
  const char* const pairs[][2] = {
      {"PS Photoshop", "About"},  {"PS Photoshop", "Startup"}, {"SP Interface", "Do It"},
      {"SP Interface", "Startup"}, {"SP Access", "Unload"},     {"SP Properties", "Do It"},
      {"ps photoshop", "do it"},  {"", ""}};
  for (const auto& pair : pairs) {
    EXPECT_EQ(Call(pair[0], pair[1]), 0) << pair[0] << "/" << pair[1];
  }
  EXPECT_EQ(sim.AcquisitionsTotal(), 0);
  EXPECT_EQ(fake_dialogs::aboutBox.calls, 0);
  EXPECT_EQ(fake_dialogs::modeDialog.calls, 0);
  EXPECT_EQ(parameters.descriptor, nullptr);
}

TEST_F(PluginMainTest, MessageWithoutBasicSuiteIsRefused) {
  host::PSActionsPlugInMessage message = sim.DoItMessage(&parameters);
  message.d.basic = nullptr;
  EXPECT_EQ(AutoPluginMain("PS Photoshop", "Do It", &message), host::kSPBadParameterError);
  EXPECT_EQ(AutoPluginMain("PS Photoshop", "Do It", nullptr), host::kSPBadParameterError);
  EXPECT_EQ(sim.faults.TotalCalls(), 0);
}

TEST_F(PluginMainTest, DoItWithoutDialogRunsAndRecordsModeOne) {
  for (int32_t playInfo : {host::plugInDialogDontDisplay, host::plugInDialogSilent}) {
    parameters.playInfo = playInfo;
    EXPECT_EQ(DoIt(), 0);
    EXPECT_EQ(WrittenDescriptor(), "Cnt=1");
    EXPECT_EQ(parameters.recordInfo, host::plugInDialogOptional);
    sim.FreeDescriptor(parameters.descriptor);
    parameters.descriptor = nullptr;
  }
  EXPECT_EQ(fake_dialogs::modeDialog.calls, 0);
}

TEST_F(PluginMainTest, DoItMakesFillsAndFreesTheTargetReferenceAndReleasesTheName) {
  EXPECT_EQ(DoIt(), 0);
  EXPECT_EQ(sim.objects.Made(hostsim::ObjectKind::Reference), sim.objects.Freed(hostsim::ObjectKind::Reference));
  EXPECT_EQ(sim.faults.Calls(Op::ReferencePutEnumerated), 1);
  EXPECT_EQ(sim.objects.Made(hostsim::ObjectKind::ZString), 1);
  EXPECT_EQ(sim.objects.Freed(hostsim::ObjectKind::ZString), 1);
}

TEST_F(PluginMainTest, DescriptorModeReachesTheDialog) {
  GiveMode(5);
  parameters.playInfo = host::plugInDialogDisplay;
  fake_dialogs::modeDialog.result = 0;
  fake_dialogs::modeDialog.choice = 3;
  EXPECT_EQ(DoIt(), 0);
  EXPECT_EQ(fake_dialogs::modeDialog.modeWhenOpened, 5);
  EXPECT_EQ(WrittenDescriptor(), "Cnt=3");
}

TEST_F(PluginMainTest, CancelledDialogSkipsTheRunButRecordsTheModeRead) {
  GiveMode(4);
  parameters.playInfo = host::plugInDialogDisplay;
  fake_dialogs::modeDialog.result = host::kUserCanceledErr;
  EXPECT_EQ(DoIt(), 0);
  EXPECT_EQ(WrittenDescriptor(), "Cnt=4");
  EXPECT_EQ(sim.log(), std::vector<std::string>()) << "nothing is played or queried";
}

TEST_F(PluginMainTest, DialogResultReplacesTheTargetsGateCode) {
  parameters.playInfo = host::plugInDialogDisplay;
  fake_dialogs::modeDialog.result = 0;
  fake_dialogs::modeDialog.choice = 2;
  sim.faults.FailOperation(Op::ReferencePutEnumerated, 1, -9);
  EXPECT_EQ(DoIt(), 0);
  EXPECT_EQ(WrittenDescriptor(), "Cnt=2");
}

TEST_F(PluginMainTest, FailedTargetFillWithoutDialogSkipsTheRunAndReportsSuccess) {
  GiveMode(7);
  sim.faults.FailOperation(Op::ReferencePutEnumerated, 1, -9);
  EXPECT_EQ(DoIt(), 0);
  EXPECT_EQ(WrittenDescriptor(), "Cnt=7");
}

TEST_F(PluginMainTest, FailedPluginNameEndsTheCallAtOnce) {
  GiveMode(3);
  host::PIActionDescriptor hosts = parameters.descriptor;
  parameters.playInfo = host::plugInDialogDisplay;
  sim.faults.FailOperation(Op::GetPluginName, 1, -4321);
  EXPECT_EQ(DoIt(), -4321);
  EXPECT_EQ(fake_dialogs::modeDialog.calls, 0);
  EXPECT_EQ(sim.faults.Calls(Op::DescriptorGetInteger), 0) << "no mode is read";
  EXPECT_EQ(sim.faults.Calls(Op::ZStringRelease), 0) << "no name is released";
  EXPECT_EQ(parameters.descriptor, hosts);
  EXPECT_EQ(WrittenDescriptor(), "Cnt=3");
}

TEST_F(PluginMainTest, EachCallStartsFromModeOne) {
  parameters.playInfo = host::plugInDialogDisplay;
  fake_dialogs::modeDialog.result = 0;
  fake_dialogs::modeDialog.choice = 5;
  EXPECT_EQ(DoIt(), 0);
  EXPECT_EQ(WrittenDescriptor(), "Cnt=5");
  sim.FreeDescriptor(parameters.descriptor);
  parameters.descriptor = nullptr;

  EXPECT_EQ(DoIt(), 0);
  EXPECT_EQ(fake_dialogs::modeDialog.modeWhenOpened, 1);
}

TEST_F(PluginMainTest, EachSuiteIsAcquiredOnceAndReleasedOncePerCall) {
  for (int call = 1; call <= 2; ++call) {
    EXPECT_EQ(DoIt(), 0);
    sim.FreeDescriptor(parameters.descriptor);
    parameters.descriptor = nullptr;
    for (const char* suite : {host::kPSActionDescriptorSuite, host::kPSActionReferenceSuite, host::kPSUIHooksSuite,
                              host::kASZStringSuite}) {
      EXPECT_EQ(sim.Use(suite).acquired, call) << suite;
      EXPECT_EQ(sim.Use(suite).released, call) << suite;
    }
  }
  EXPECT_EQ(sim.Use(host::kPSGetFileListSuite).acquired, 0);
  EXPECT_EQ(sim.Use(host::kSPAccessSuite).acquired, 0);
}

// Each suite a "Do It" uses, refused by the host: the call returns the host's code, frees what it
// made, releases what it acquired and leaves the host's descriptor alone.
TEST_F(PluginMainTest, RefusedSuiteAbandonsTheCallWithItsCode) {
  for (const char* suite : {host::kPSActionReferenceSuite, host::kPSUIHooksSuite, host::kASZStringSuite,
                            host::kPSActionDescriptorSuite}) {
    hostsim::Host refusing;
    refusing.RefuseSuite(suite);
    host::PIActionParameters own{0, host::plugInDialogRequired, nullptr};
    zem::RunStatus = 0;
    EXPECT_EQ(refusing.CallDoIt(AutoPluginMain, &own), host::kSPSuiteNotFoundError) << suite;
    EXPECT_EQ(own.descriptor, nullptr) << suite;
    EXPECT_EQ(own.recordInfo, host::plugInDialogRequired) << suite;
    EXPECT_EQ(refusing.objects.Live(), 0) << suite;
    EXPECT_EQ(refusing.SuitesHeld(), 0) << suite;
    EXPECT_EQ(refusing.violations(), std::vector<std::string>()) << suite;
    EXPECT_EQ(zem::RunStatus, 0);
  }
}

TEST_F(PluginMainTest, FailedTargetMakeReturnsItsCode) {
  sim.faults.FailOperation(Op::ReferenceMake, 1, -108);
  EXPECT_EQ(DoIt(), -108);
  EXPECT_EQ(sim.faults.Calls(Op::GetPluginName), 0);
  EXPECT_EQ(parameters.descriptor, nullptr);
}

// The name goes back only through the ZString suite; a host that refuses it, however often, gets
// the call abandoned before the name is asked for, and nothing stays with the plug-in.
TEST_F(PluginMainTest, RefusedZStringSuiteEndsTheCallBeforeTheNameIsAskedFor) {
  for (int refusals : {1, 2, hostsim::Host::kAlways}) {
    hostsim::Host refusing;
    refusing.RefuseSuite(host::kASZStringSuite, refusals);
    host::PIActionParameters own{0, host::plugInDialogRequired, nullptr};
    EXPECT_EQ(refusing.CallDoIt(AutoPluginMain, &own), host::kSPSuiteNotFoundError) << refusals;
    EXPECT_EQ(refusing.faults.Calls(Op::GetPluginName), 0) << refusals;
    EXPECT_EQ(refusing.objects.Made(hostsim::ObjectKind::ZString), refusing.objects.Freed(hostsim::ObjectKind::ZString))
        << refusals;
    EXPECT_EQ(own.descriptor, nullptr) << "an abandoned call writes nothing back";
    ExpectNothingLeft(refusing);
  }
}

}  // namespace
