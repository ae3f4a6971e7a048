// The load trace's text, the lookup of the module the plug-in's resources come from, and the owner
// of system handles.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "host/AccessSuite.h"
#include "platform/LoadTrace.h"
#include "platform/ModuleArchitecture.h"
#include "platform/PluginInstance.h"
#include "platform/UniqueHandle.h"
#include "tests/support/PluginFixture.h"

using hostsim::Op;

namespace {

// The first bytes of a PE image: the DOS header pointing at the signature at `signatureAt`.
std::vector<uint8_t> PeHead(uint32_t signatureAt, uint16_t machine, size_t size) {
  std::vector<uint8_t> bytes(size, 0);
  bytes[0] = 'M', bytes[1] = 'Z';
  for (int i = 0; i < 4; ++i) bytes[0x3C + i] = static_cast<uint8_t>(signatureAt >> (8 * i));
  if (signatureAt + 6 <= size) {
    std::memcpy(&bytes[signatureAt], "PE\0\0", 4);
    bytes[signatureAt + 4] = static_cast<uint8_t>(machine);
    bytes[signatureAt + 5] = static_cast<uint8_t>(machine >> 8);
  }
  return bytes;
}

TEST(ModuleArchitectureTest, MachineFieldNamesTheArchitecture) {
  const std::vector<uint8_t> x86 = PeHead(0x80, 0x014C, 512), x64 = PeHead(0x100, 0x8664, 512);
  EXPECT_EQ(zem::ArchitectureOfMachine(zem::PeMachine(x86.data(), x86.size())), &zem::kX86Module);
  EXPECT_EQ(zem::ArchitectureOfMachine(zem::PeMachine(x64.data(), x64.size())), &zem::kX64Module);
  const std::vector<uint8_t> arm64 = PeHead(0x80, 0xAA64, 512);
  EXPECT_EQ(zem::ArchitectureOfMachine(zem::PeMachine(arm64.data(), arm64.size())), &zem::kArm64Module);
  EXPECT_EQ(zem::ArchitectureOfMachine(0x01C4), nullptr) << "32-bit Arm (ARMNT): no module of ours";
  EXPECT_EQ(zem::ArchitectureOfMachine(0), nullptr);
  // The native build is 64-bit x86: its own architecture is the x64 one, not ARM64.
  EXPECT_EQ(&zem::kThisModule, &zem::kX64Module);
  EXPECT_STREQ(zem::kX64Module.dialogProcExport, "GenericProc");
  EXPECT_STREQ(zem::kArm64Module.dialogProcExport, "GenericProc");
  EXPECT_STREQ(zem::kX86Module.dialogProcExport, "_GenericProc@16");
}

TEST(ModuleArchitectureTest, EachModuleHasItsOwnCodePropertyKey) {
  EXPECT_EQ(zem::kX86Module.codePropertyKey, 0x77783836u);    // 'wx86'
  EXPECT_EQ(zem::kX64Module.codePropertyKey, 0x38363634u);    // '8664'
  EXPECT_EQ(zem::kArm64Module.codePropertyKey, 0x77613634u);  // 'wa64'
  EXPECT_STREQ(zem::kArm64Module.name, "ARM64");
  EXPECT_EQ(zem::kArm64Module.bits, 64);
}

TEST(ModuleArchitectureTest, AnythingButAWholePeHeaderHasNoMachine) {
  std::vector<uint8_t> bytes = PeHead(0x80, 0x8664, 512);
  EXPECT_EQ(zem::PeMachine(bytes.data(), 0x80 + 5), 0) << "machine field cut off";
  EXPECT_EQ(zem::PeMachine(bytes.data(), 0x3F), 0) << "signature offset cut off";
  EXPECT_EQ(zem::PeMachine(nullptr, 0), 0);
  const std::vector<uint8_t> past = PeHead(0xFFFFFFF0u, 0x8664, 512);
  EXPECT_EQ(zem::PeMachine(past.data(), past.size()), 0) << "signature offset past the end";
  bytes[1] = 'Y';
  EXPECT_EQ(zem::PeMachine(bytes.data(), bytes.size()), 0) << "no DOS header";
  bytes = PeHead(0x80, 0x8664, 512);
  bytes[0x81] = 'X';
  EXPECT_EQ(zem::PeMachine(bytes.data(), bytes.size()), 0) << "no PE signature";
}

TEST(LoadTraceTest, LinesNameTheNotificationAndPadTheTime) {
  char line[zem::kTraceLineCapacity];
  const zem::CalendarTime early{2026, 1, 2, 5, 3, 4, 9};
  size_t length = zem::FormatTraceLine(1, early, line);
  EXPECT_STREQ(line, "DLL_PROCESS_ATTACH DllMain: Fri Jan 02 03:04:09 2026\n");
  EXPECT_EQ(length, std::strlen("DLL_PROCESS_ATTACH DllMain: ") + 25);

  const zem::CalendarTime late{1999, 12, 31, 0, 23, 59, 58};
  zem::FormatTraceLine(3, late, line);
  EXPECT_STREQ(line, "DLL_THREAD_DETACH DllMain: Sun Dec 31 23:59:58 1999\n");
}

TEST(LoadTraceTest, EveryReasonHasAName) {
  EXPECT_STREQ(zem::DllReasonName(0), "DLL_PROCESS_DETACH");
  EXPECT_STREQ(zem::DllReasonName(2), "DLL_THREAD_ATTACH");
  EXPECT_STREQ(zem::DllReasonName(4), "DLL_PROCESS_VERIFIER");
  EXPECT_STREQ(zem::DllReasonName(5), "DLL_UNKNOWN_REASON");
  EXPECT_STREQ(zem::DllReasonName(0xFFFFFFFFu), "DLL_UNKNOWN_REASON");
}

class PluginInstanceTest : public PluginFixture {
 protected:
  void SetUp() override {
    PluginFixture::SetUp();
    EnterCall();
    zem::PluginInstance = loaderHandle;
  }
  void TearDown() override {
    zem::ReleaseHostSuites();
    zem::PluginInstance = nullptr;
    PluginFixture::TearDown();
  }

  int defaultModule = 0, resourceModule = 0, loaderModule = 0;
  void* loaderHandle = &loaderModule;
};

TEST_F(PluginInstanceTest, WithoutReferenceTheLoadersHandleIsKept) {
  EXPECT_EQ(zem::GetPluginInstance(nullptr), loaderHandle);
  EXPECT_EQ(sim.AcquisitionsTotal(), 0);
}

TEST_F(PluginInstanceTest, ResourceModuleWinsOverTheDefaultOne) {
  sim.accessDefaultModule = &defaultModule;
  sim.accessResourceModule = &resourceModule;
  EXPECT_EQ(zem::GetPluginInstance(sim.pluginRef()), &resourceModule);
  sim.accessResourceModule = nullptr;
  EXPECT_EQ(zem::GetPluginInstance(sim.pluginRef()), &defaultModule);
  EXPECT_EQ(zem::GetPluginInstance(nullptr), &defaultModule) << "the last lookup is remembered";
  EXPECT_EQ(sim.Use(host::kSPAccessSuite).acquired, 1);
}

TEST_F(PluginInstanceTest, HostThatCannotAnswerLeavesTheHandle) {
  sim.accessDefaultModule = &defaultModule;
  sim.faults.FailOperation(Op::GetPluginAccess, 1, -1);
  EXPECT_EQ(zem::GetPluginInstance(sim.pluginRef()), loaderHandle);
  sim.faults.FailOperation(Op::GetAccessInfo, 1, -2);
  EXPECT_EQ(zem::GetPluginInstance(sim.pluginRef()), loaderHandle);
  EXPECT_EQ(zem::GetPluginInstance(sim.pluginRef()), &defaultModule);
}

// A kind of handle whose close function records what it closes; -1 holds nothing, 0 is a handle.
struct RecordedKind {
  using Handle = int;
  static std::vector<int> closed;
  static Handle Empty() noexcept { return -1; }
  static bool Holds(Handle handle) noexcept { return handle != -1; }
  static void Close(Handle handle) noexcept { closed.push_back(handle); }
};
std::vector<int> RecordedKind::closed;
using RecordedOwner = zem::UniqueHandle<RecordedKind>;

TEST(UniqueHandleTest, ClosesEveryHandleItHeldExactlyOnce) {
  RecordedKind::closed.clear();
  {
    RecordedOwner empty;
    EXPECT_FALSE(empty);
    EXPECT_EQ(empty.get(), -1);

    RecordedOwner first(1);
    RecordedOwner moved(std::move(first));
    EXPECT_FALSE(first) << "a moved-from owner holds nothing";
    EXPECT_EQ(moved.get(), 1);

    RecordedOwner other(2);
    other = std::move(moved);
    EXPECT_EQ(RecordedKind::closed, std::vector<int>{2}) << "assignment closes what the target held";

    other.reset(3);
    EXPECT_EQ(RecordedKind::closed, (std::vector<int>{2, 1}));
    EXPECT_EQ(other.release(), 3) << "released, never closed";
    EXPECT_FALSE(other);

    *other.put() = 4;
    *other.put() = 5;
    EXPECT_EQ(RecordedKind::closed, (std::vector<int>{2, 1, 4})) << "put closes what it held before giving its place";

    RecordedOwner zero(0);
    EXPECT_TRUE(zero) << "only the kind's empty value holds nothing";
  }
  EXPECT_EQ(RecordedKind::closed, (std::vector<int>{2, 1, 4, 0, 5})) << "the rest at the end of the scope, once each";
}

}  // namespace
