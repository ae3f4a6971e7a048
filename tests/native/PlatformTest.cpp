// The load trace's text and the lookup of the module the plug-in's resources come from.
#include <gtest/gtest.h>

#include <cstring>

#include "PluginFixture.h"
#include "host/AccessSuite.h"
#include "platform/LoadTrace.h"
#include "platform/PluginInstance.h"

using hostsim::Op;

namespace {

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

}  // namespace
