// Suite holders, the release passes and the plug-in's memory.
#include <gtest/gtest.h>

#include "host/ResultCodes.h"
#include "hostaccess/HostAllocation.h"
#include "hostaccess/HostFailure.h"
#include "hostaccess/HostObjects.h"
#include "tests/support/PluginFixture.h"

using hostsim::Op;
using zem::SuiteId;

namespace {

class HostSuitesTest : public PluginFixture {};

int32_t AcquisitionFailure(SuiteId id) {
  try {
    zem::AcquireHostSuite(zem::Holder(id));
  } catch (const zem::HostSuiteFailure& failure) {
    return failure.code;
  }
  return 0;
}

TEST_F(HostSuitesTest, AcquisitionFillsTheHolderAndRecordsItsResult) {
  EnterCall();
  zem::HostSuite& holder = zem::Holder(SuiteId::Property);
  sim.faults.FailOperation(Op::AcquireSuite, 1, -1234);

  EXPECT_EQ(AcquisitionFailure(SuiteId::Property), -1234);
  EXPECT_EQ(holder.lastError, -1234);
  EXPECT_EQ(holder.suite, nullptr);

  EXPECT_EQ(AcquisitionFailure(SuiteId::Property), 0);
  EXPECT_EQ(holder.lastError, 0) << "a later success clears the last error";
  EXPECT_NE(holder.suite, nullptr);
  EXPECT_EQ(sim.Use(host::kPSPropertySuite).acquired, 1);
  zem::ReleaseHostSuites();
}

TEST_F(HostSuitesTest, AcquisitionWithoutBasicSuiteFailsWithParmAndLeavesTheHolder) {
  zem::Holder(SuiteId::ActionList).lastError = 77;
  EXPECT_EQ(AcquisitionFailure(SuiteId::ActionList), host::kSPBadParameterError);
  EXPECT_EQ(zem::Holder(SuiteId::ActionList).lastError, 77);
  EXPECT_EQ(sim.faults.TotalCalls(), 0);
}

TEST_F(HostSuitesTest, UnknownSuiteIsTheHostsRefusal) {
  EnterCall();
  sim.RefuseSuite(host::kPSGetFileListSuite);
  EXPECT_EQ(AcquisitionFailure(SuiteId::GetFileList), host::kSPSuiteNotFoundError);
  EXPECT_EQ(zem::Holder(SuiteId::GetFileList).lastError, host::kSPSuiteNotFoundError);
}

TEST_F(HostSuitesTest, RepeatedUseAcquiresOnce) {
  EnterCall();
  for (int i = 0; i < 5; ++i) zem::DescriptorSuite();
  EXPECT_EQ(sim.Use(host::kPSActionDescriptorSuite).acquired, 1);
  zem::ReleaseHostSuites();
  EXPECT_EQ(sim.Use(host::kPSActionDescriptorSuite).released, 1);
}

TEST_F(HostSuitesTest, ReleasePassWalksTheTableInOrderAndEmptiesEveryHolder) {
  EnterCall();
  zem::PropertySuite();
  zem::ZStringSuite();
  zem::DescriptorSuite();
  zem::ReleaseHostSuites();
  std::vector<std::string> releases(sim.SuiteTrail().end() - 3, sim.SuiteTrail().end());
  EXPECT_EQ(releases, (std::vector<std::string>{"release " + std::string(host::kPSActionDescriptorSuite),
                                                "release " + std::string(host::kASZStringSuite),
                                                "release " + std::string(host::kPSPropertySuite)}));
  for (const zem::HostSuite& holder : zem::HostSuites) EXPECT_EQ(holder.suite, nullptr);
  zem::ReleaseHostSuites();
  EXPECT_EQ(sim.faults.Calls(Op::ReleaseSuite), 3) << "empty holders are not released again";
}

TEST_F(HostSuitesTest, ReleasePassWithoutBasicSuiteKeepsHoldersFilled) {
  EnterCall();
  zem::ReferenceSuite();
  zem::HostBasicSuite = nullptr;
  zem::ReleaseHostSuites();
  EXPECT_NE(zem::Holder(SuiteId::ActionReference).suite, nullptr);
  EXPECT_EQ(sim.faults.Calls(Op::ReleaseSuite), 0);

  zem::HostBasicSuite = sim.basic();
  zem::ReleaseHostSuites();
  EXPECT_EQ(zem::Holder(SuiteId::ActionReference).suite, nullptr);
}

TEST_F(HostSuitesTest, ReleaseAtUnloadWalksBackwardsAndNeedsABasicSuite) {
  EnterCall();
  zem::DescriptorSuite();
  zem::PropertySuite();
  zem::HostBasicSuite = nullptr;
  zem::ReleaseHostSuitesAtUnload();
  EXPECT_EQ(sim.faults.Calls(Op::ReleaseSuite), 0);

  zem::HostBasicSuite = sim.basic();
  zem::ReleaseHostSuitesAtUnload();
  std::vector<std::string> releases(sim.SuiteTrail().end() - 2, sim.SuiteTrail().end());
  EXPECT_EQ(releases, (std::vector<std::string>{"release " + std::string(host::kPSPropertySuite),
                                                "release " + std::string(host::kPSActionDescriptorSuite)}));
}

TEST_F(HostSuitesTest, ReleaseResultIsIgnoredAndTheLastErrorKept) {
  EnterCall();
  zem::Holder(SuiteId::Access).lastError = 0;
  zem::AccessSuite();
  sim.faults.FailOperation(Op::ReleaseSuite, 1, -5);
  zem::ReleaseHostSuites();
  EXPECT_EQ(zem::Holder(SuiteId::Access).suite, nullptr);
  EXPECT_EQ(zem::Holder(SuiteId::Access).lastError, 0);
}

TEST_F(HostSuitesTest, AllocationGoesToTheHostUnchanged) {
  EnterCall();
  void* block = zem::HostAllocate(256);
  void* empty = zem::HostAllocate(0);
  EXPECT_NE(block, nullptr);
  EXPECT_EQ(sim.AllocationRequests(), (std::vector<size_t>{256, 0}));
  EXPECT_EQ(sim.LiveBlocks(), 2);
  zem::HostFree(block);
  zem::HostFree(empty);
  zem::HostFree(nullptr);
  EXPECT_EQ(sim.faults.Calls(Op::FreeBlock), 2);
}

TEST_F(HostSuitesTest, AllocationFailuresCarryTheirCodes) {
  auto failure = [] {
    try {
      zem::HostAllocate(16);
    } catch (const zem::HostAllocationFailure& error) {
      return error.code();
    }
    return 0;
  };
  EXPECT_EQ(failure(), -50) << "no basic suite";

  EnterCall();
  sim.faults.FailOperation(Op::AllocateBlock, 1, host::kSPUnimplementedError);
  EXPECT_EQ(failure(), -108) << "the host refused";
}

TEST_F(HostSuitesTest, FreeWithoutBasicSuiteDoesNothing) {
  EnterCall();
  void* block = zem::HostAllocate(8);
  zem::HostBasicSuite = nullptr;
  zem::HostFree(block);
  EXPECT_EQ(sim.LiveBlocks(), 1);
  zem::HostBasicSuite = sim.basic();
  zem::HostFree(block);
}

TEST_F(HostSuitesTest, ReceivingIntoAnOwnerFreesWhatItHeldFirst) {
  EnterCall();
  {
    zem::OwnedDescriptor owner;
    ASSERT_EQ(zem::DescriptorSuite().Make(owner.Receive()), 0);
    const host::PIActionDescriptor first = owner.get();
    ASSERT_EQ(zem::DescriptorSuite().Make(owner.Receive()), 0);
    EXPECT_NE(owner.get(), first);
    EXPECT_EQ(sim.objects.Live(), 1) << "the first descriptor is freed before the second is received";
    EXPECT_EQ(sim.faults.Calls(Op::DescriptorFree), 1);
  }
  EXPECT_EQ(sim.objects.Live(), 0);
  EXPECT_EQ(sim.faults.Calls(Op::DescriptorFree), 2);
  EXPECT_TRUE(sim.violations().empty());
  zem::ReleaseHostSuites();
}

}  // namespace
