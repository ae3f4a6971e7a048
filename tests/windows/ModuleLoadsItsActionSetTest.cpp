// The built module on a fresh host: it loads the action set from its own folder, plays the run as
// one history state, and keeps every failure of that inside the module, on either architecture.
#include <gtest/gtest.h>

#include <cstdio>

#include "host/ActionControlSuite.h"
#include "host/PropertySuite.h"
#include "host/ResultCodes.h"
#include "hostsim/Host.h"
#include "platform/WindowsHandles.h"
#include "tests/support/FaultSweep.h"
#include "tests/support/HostChecks.h"
#include "tests/windows/LoadedModule.h"

namespace {

using Lines = std::vector<std::string>;

struct Outcome {
  int32_t result;
  Lines log;
};

// One fresh-host run of mode 1 through an entry point, its host checked for leaks.
Outcome FreshRun(host::SPPluginEntryPoint entry, hostsim::Host& sim) {
  sim.hasActionSet = false;
  host::PIActionParameters parameters{host::plugInDialogDontDisplay, host::plugInDialogRequired,
                                      sim.NewModeDescriptor(1)};
  Outcome outcome{sim.CallDoIt(entry, &parameters), sim.log()};
  sim.FreeDescriptor(parameters.descriptor);
  ExpectNothingLeft(sim);
  return outcome;
}

std::string OpenedFile(const Lines& log) {
  for (const std::string& line : log) {
    const std::string prefix = "Opn null=alias(";
    if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size(), line.size() - prefix.size() - 1);
  }
  return "";
}

TEST(ModuleLoadsItsActionSetTest, FreshHostLoadsTheFileBesideTheModuleAndRunsAsOneState) {
  LoadedModule module;
  ASSERT_NE(module.Entry(), nullptr);
  hostsim::Host sim;
  const Outcome run = FreshRun(module.Entry(), sim);
  EXPECT_EQ(run.result, 0);
  ASSERT_EQ(sim.loadedSets.size(), 1u);
  EXPECT_EQ(OpenedFile(run.log), ProgramFolder() + "ZEM_Variations.atn");
  EXPECT_EQ(sim.history(), Lines(1, "ZEM_Variations"));
  EXPECT_EQ(sim.objects.Made(hostsim::ObjectKind::Handle), 1);
}

TEST(ModuleLoadsItsActionSetTest, EveryHostCallOfALoadingRunFailedInTurn) {
  LoadedModule module;
  ASSERT_NE(module.Entry(), nullptr);
  fault_sweep::HostStyle fresh;
  fresh.withoutActionSet = true;
  int calls = fault_sweep::Sweep(module.Entry(), 1, [] {}, fresh);
  std::printf("fault sweep through the module, fresh host, mode 1: %d host calls\n", calls);
}

TEST(ModuleLoadsItsActionSetTest, HostWithoutVersion3GetsTheRunUnwrapped) {
  LoadedModule module;
  ASSERT_NE(module.Entry(), nullptr);
  fault_sweep::HostStyle old;
  old.withoutHistorySuspension = true;
  int calls = fault_sweep::Sweep(module.Entry(), 4, [] {}, old);
  std::printf("fault sweep through the module without version 3, mode 4: %d host calls\n", calls);
}

// A suite refused inside the host's callback raises inside the module; it must come back as the
// call's result without unwinding through the host's frames.
TEST(ModuleLoadsItsActionSetTest, FailureRaisedInsideTheCallbackStaysInTheModule) {
  LoadedModule module;
  ASSERT_NE(module.Entry(), nullptr);
  hostsim::Host sim;
  sim.RefuseSuite(host::kPSPropertySuite);
  host::PIActionParameters parameters{host::plugInDialogDontDisplay, host::plugInDialogRequired,
                                      sim.NewModeDescriptor(1)};
  EXPECT_EQ(sim.CallDoIt(module.Entry(), &parameters), host::kSPSuiteNotFoundError);
  EXPECT_EQ(sim.Suspensions(), 1);
  EXPECT_EQ(sim.DescriptorText(parameters.descriptor), "Cnt=1");
  sim.FreeDescriptor(parameters.descriptor);
  ExpectNothingLeft(sim);
}

// A folder whose name the ANSI code page cannot hold: the module names the file by its short name,
// where the volume has one, and otherwise ends the run as without the file.
TEST(ModuleLoadsItsActionSetTest, FolderOutsideTheAnsiCodePageIsNamedByItsShortName) {
  wchar_t programPath[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, programPath, MAX_PATH);
  std::wstring base(programPath);
  base = base.substr(0, base.find_last_of(L"\\/") + 1);
  const std::wstring copy = base + L"\u6a21\u5757-\u043c\u043e\u0434\u0443\u043b\u044c\\";
  CreateDirectoryW(copy.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW((base + L"ZEM_Variations.8li").c_str(), (copy + L"ZEM_Variations.8li").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW((base + L"ZEM_Variations.atn").c_str(), (copy + L"ZEM_Variations.atn").c_str(), FALSE));

  zem::UniqueLibrary module(LoadLibraryW((copy + L"ZEM_Variations.8li").c_str()));
  ASSERT_TRUE(module);
  auto entry =
      reinterpret_cast<host::SPPluginEntryPoint>(reinterpret_cast<void*>(GetProcAddress(module.get(), "AutoPluginMain")));
  hostsim::Host sim;
  const Outcome run = FreshRun(entry, sim);
  module.reset();

  wchar_t shortPath[MAX_PATH] = {};
  const DWORD shortLength = GetShortPathNameW((copy + L"ZEM_Variations.atn").c_str(), shortPath, MAX_PATH);
  bool shortIsAscii = shortLength > 0 && shortLength < MAX_PATH;
  for (DWORD i = 0; i < shortLength; ++i) shortIsAscii = shortIsAscii && shortPath[i] < 0x80;
  if (shortIsAscii) {
    EXPECT_EQ(run.result, 0);
    const std::string opened = OpenedFile(run.log);
    EXPECT_EQ(opened.size(), shortLength);
    for (DWORD i = 0; i < shortLength && i < opened.size(); ++i) EXPECT_EQ(opened[i], char(shortPath[i])) << i;
  } else {
    EXPECT_EQ(run.result, host::kErrNoSuchObject);
    EXPECT_EQ(OpenedFile(run.log), "") << "no file named by characters the code page replaced";
  }
  std::printf("short name %s: %s\n", shortIsAscii ? "in ASCII" : "not available", OpenedFile(run.log).c_str());
}

}  // namespace
