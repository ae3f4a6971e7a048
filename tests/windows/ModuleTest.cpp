// The built module, loaded by a Windows program and called through the real interface.
#include <gtest/gtest.h>

#include <cstdio>

#include "host/ActionControlSuite.h"
#include "host/ActionDescriptorSuite.h"
#include "host/ActionListSuite.h"
#include "host/ActionReferenceSuite.h"
#include "host/PropertySuite.h"
#include "host/ResultCodes.h"
#include "host/UIHooksSuite.h"
#include "hostsim/Host.h"
#include "platform/ModuleArchitecture.h"
#include "tests/support/FaultSweep.h"
#include "tests/support/HostChecks.h"
#include "tests/windows/LoadedModule.h"

namespace {

class ModuleTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (parameters.descriptor != nullptr) sim.FreeDescriptor(parameters.descriptor);
    ExpectNothingLeft(sim);
  }

  void GiveMode(int32_t mode) { parameters.descriptor = sim.NewModeDescriptor(mode); }

  LoadedModule module;
  hostsim::Host sim;
  host::PIActionParameters parameters{host::plugInDialogDontDisplay, host::plugInDialogRequired, nullptr};
};

TEST_F(ModuleTest, LoadsAndExportsItsTwoEntriesUnderThisArchitecturesNames) {
  ASSERT_NE(module.handle(), nullptr) << module.path() << " error " << GetLastError();
  EXPECT_NE(module.Export("AutoPluginMain"), nullptr);
  EXPECT_EQ(module.Export("_AutoPluginMain"), nullptr);
  const zem::ModuleArchitecture& other = zem::kThisModule.bits == 64 ? zem::kX86Module : zem::kX64Module;
  EXPECT_NE(module.Export(zem::kThisModule.dialogProcExport), nullptr) << zem::kThisModule.dialogProcExport;
  EXPECT_EQ(module.Export(other.dialogProcExport), nullptr) << other.dialogProcExport << " is the "
                                                             << other.name << " name";

  const auto* image = reinterpret_cast<const uint8_t*>(module.handle());
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
  EXPECT_EQ(nt->FileHeader.Machine, zem::kThisModule.peMachine);
  EXPECT_EQ(nt->OptionalHeader.Magic, zem::kThisModule.bits == 64 ? IMAGE_NT_OPTIONAL_HDR64_MAGIC
                                                                   : IMAGE_NT_OPTIONAL_HDR32_MAGIC);
}

TEST_F(ModuleTest, DoItThroughTheRealInterfaceRecordsTheMode) {
  ASSERT_NE(module.Entry(), nullptr);
  GiveMode(4);

  EXPECT_EQ(sim.CallDoIt(module.Entry(), &parameters), 0);
  EXPECT_EQ(sim.DescriptorText(parameters.descriptor), "Cnt=4");
  EXPECT_EQ(parameters.recordInfo, host::plugInDialogOptional);
  EXPECT_EQ(sim.Use(host::kPSActionDescriptorSuite).acquired, 1);
  EXPECT_EQ(sim.Use(host::kPSActionReferenceSuite).released, 1);
}

TEST_F(ModuleTest, WholeRunPlaysEveryActionInOrderThenClears) {
  ASSERT_NE(module.Entry(), nullptr);
  GiveMode(5);
  EXPECT_EQ(sim.CallDoIt(module.Entry(), &parameters), 0);

  std::vector<std::string> played;
  for (const std::string& line : sim.log()) {
    if (line.rfind("Ply ", 0) != 0) continue;
    const size_t start = line.find('"') + 1;
    played.push_back(line.substr(start, line.find('"', start) - start));
  }
  EXPECT_EQ(played, hostsim::DefaultVariationActions());
  EXPECT_EQ(sim.log().back(), "setd null=[Chnl.fsel] T=enum(Ordn,None)");
  EXPECT_EQ(sim.DescriptorText(parameters.descriptor), "Cnt=5");
}

TEST_F(ModuleTest, MissingActionFailsTheRunAcrossTheBoundary) {
  ASSERT_NE(module.Entry(), nullptr);
  sim.actionSet.actions.pop_back();
  EXPECT_EQ(sim.CallDoIt(module.Entry(), &parameters), host::kErrNoSuchObject);
  EXPECT_EQ(parameters.descriptor, nullptr);
}

// Failures raised inside the module (a refused suite) are caught there: the module is built with
// its own runtime and unwinder, so this is where that is proved.
TEST_F(ModuleTest, EveryHostCallOfAWholeRunFailedInTurn) {
  ASSERT_NE(module.Entry(), nullptr);
  int calls = fault_sweep::Sweep(module.Entry(), 4, [] {});
  std::printf("fault sweep through the module, mode 4: %d host calls\n", calls);
}

// A host may leave anything above a result's declared width: the module reads AX of every 16-bit
// code and EAX of every 32-bit one, so nothing changes, on either architecture.
TEST_F(ModuleTest, GarbageAboveEveryResultsWidthChangesNothing) {
  ASSERT_NE(module.Entry(), nullptr);
  GiveMode(6);
  EXPECT_EQ(sim.CallDoIt(module.Entry(), &parameters), 0);
  const std::vector<std::string> cleanLog = sim.log();

  hostsim::Host dirty;
  dirty.dirtyResults = true;
  host::PIActionParameters dirtyParameters{host::plugInDialogDontDisplay, host::plugInDialogRequired,
                                           dirty.NewModeDescriptor(6)};
  EXPECT_EQ(dirty.CallDoIt(module.Entry(), &dirtyParameters), 0);
  EXPECT_EQ(dirty.log(), cleanLog);
  EXPECT_EQ(dirty.DescriptorText(dirtyParameters.descriptor), "Cnt=6");
  dirty.FreeDescriptor(dirtyParameters.descriptor);
  ExpectNothingLeft(dirty);
}

TEST_F(ModuleTest, EveryFailureIsReadAtItsDeclaredWidthUnderGarbage) {
  ASSERT_NE(module.Entry(), nullptr);
  fault_sweep::HostStyle dirty;
  dirty.dirtyResults = true;
  int calls = fault_sweep::Sweep(module.Entry(), 1, [] {}, dirty);
  std::printf("fault sweep through the module with garbage above every result, mode 1: %d host calls\n", calls);
}

// Each suite of a polygon run refused for good. (The ZString suite is refused only once: refused for
// good, the name could not go back to the host.)
TEST_F(ModuleTest, EverySuiteRefusedAbandonsTheCallWithItsCode) {
  ASSERT_NE(module.Entry(), nullptr);
  for (const char* suite : {host::kPSActionDescriptorSuite, host::kPSActionControlSuite, host::kPSActionReferenceSuite,
                            host::kPSActionListSuite, host::kPSUIHooksSuite, host::kPSPropertySuite}) {
    SCOPED_TRACE(suite);
    hostsim::Host refusing;
    refusing.RefuseSuite(suite);
    host::PIActionParameters own{host::plugInDialogDontDisplay, host::plugInDialogRequired,
                                 refusing.NewModeDescriptor(1)};
    EXPECT_EQ(refusing.CallDoIt(module.Entry(), &own), host::kSPSuiteNotFoundError);
    EXPECT_EQ(refusing.DescriptorText(own.descriptor), "Cnt=1") << "the host's descriptor is left alone";
    EXPECT_EQ(own.playInfo, host::plugInDialogDontDisplay);
    EXPECT_EQ(own.recordInfo, host::plugInDialogRequired);
    refusing.FreeDescriptor(own.descriptor);
    ExpectNothingLeft(refusing);
  }
}

TEST_F(ModuleTest, AbandonedCallReturnsTheHostsCodeAcrossTheBoundary) {
  ASSERT_NE(module.Entry(), nullptr);
  sim.RefuseSuite(host::kPSActionDescriptorSuite);
  EXPECT_EQ(sim.CallDoIt(module.Entry(), &parameters), host::kSPSuiteNotFoundError);
  EXPECT_EQ(parameters.descriptor, nullptr);
}

TEST_F(ModuleTest, OtherSelectorsAnswerZeroAndAcquireNothing) {
  ASSERT_NE(module.Entry(), nullptr);
  host::SPMessageData message = sim.BasicMessage();
  EXPECT_EQ(module.Entry()(host::kSPInterfaceCaller, host::kSPInterfaceStartupSelector, &message), 0);
  EXPECT_EQ(module.Entry()(host::kSPAccessCaller, host::kSPAccessUnloadSelector, &message), 0);
  EXPECT_EQ(sim.AcquisitionsTotal(), 0);
}

}  // namespace
