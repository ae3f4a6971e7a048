// The host model has to catch the faults the plug-in's tests rely on it to catch.
#include <gtest/gtest.h>

#include "host/ActionDescriptorSuite.h"
#include "host/ActionReferenceSuite.h"
#include "host/PropertySuite.h"
#include "host/Keys.h"
#include "host/ResultCodes.h"
#include "hostsim/Host.h"

using hostsim::Op;

namespace {

template <typename Table>
const Table* Acquire(hostsim::Host& sim, const char* name, int32_t version) {
  const void* table = nullptr;
  EXPECT_EQ(sim.basic()->AcquireSuite(name, version, &table), 0);
  return static_cast<const Table*>(table);
}

TEST(HostSimTest, RegistryCatchesDoubleAndUnknownFrees) {
  hostsim::Host sim;
  auto* suite = Acquire<host::PSActionDescriptorProcs>(sim, host::kPSActionDescriptorSuite, 2);
  host::PIActionDescriptor descriptor = nullptr;
  ASSERT_EQ(suite->Make(&descriptor), 0);
  EXPECT_EQ(sim.objects.Live(), 1);
  EXPECT_EQ(suite->Free(descriptor), 0);
  EXPECT_NE(suite->Free(descriptor), 0);
  EXPECT_NE(suite->Free(reinterpret_cast<host::PIActionDescriptor>(uintptr_t{0x42})), 0);
  EXPECT_NE(suite->PutInteger(descriptor, host::kKeyCount, 1), 0) << "use after free";
  EXPECT_EQ(sim.violations().size(), 3u);
  EXPECT_EQ(sim.objects.Live(), 0);
  sim.basic()->ReleaseSuite(host::kPSActionDescriptorSuite, 2);
}

TEST(HostSimTest, PutsCopyTheirValues) {
  hostsim::Host sim;
  auto* descriptors = Acquire<host::PSActionDescriptorProcs>(sim, host::kPSActionDescriptorSuite, 2);
  auto* references = Acquire<host::PSActionReferenceProcs>(sim, host::kPSActionReferenceSuite, 2);
  host::PIActionDescriptor outer = nullptr, inner = nullptr;
  host::PIActionReference reference = nullptr;
  descriptors->Make(&outer);
  descriptors->Make(&inner);
  references->Make(&reference);
  references->PutProperty(reference, host::kClassChannel, host::kKeySelection);
  descriptors->PutReference(outer, host::kKeyNull, reference);
  descriptors->PutUnitFloat(inner, host::kKeyTop, host::kUnitPixels, 500.5);
  descriptors->PutObject(outer, host::kKeyTo, host::kClassRectangle, inner);
  // Changes after the put do not reach the copies.
  descriptors->PutUnitFloat(inner, host::kKeyLeft, host::kUnitPixels, 1);
  references->PutName(reference, host::kClassAction, "x");
  EXPECT_EQ(sim.DescriptorText(outer), "null=[Chnl.fsel] T=Rctn{Top=500.5#Pxl}");
  descriptors->Free(outer);
  descriptors->Free(inner);
  references->Free(reference);
  EXPECT_EQ(sim.violations(), std::vector<std::string>());
  sim.basic()->ReleaseSuite(host::kPSActionDescriptorSuite, 2);
  sim.basic()->ReleaseSuite(host::kPSActionReferenceSuite, 2);
}

TEST(HostSimTest, FaultsHitTheChosenCallOnly) {
  hostsim::Host sim;
  sim.faults.FailCall(2, -7);
  sim.faults.FailOperation(Op::AllocateBlock, 2, -8);
  void* blocks[3] = {};
  EXPECT_EQ(sim.basic()->AllocateBlock(4, &blocks[0]), 0);
  EXPECT_EQ(sim.basic()->AllocateBlock(4, &blocks[1]), -7);
  EXPECT_EQ(sim.basic()->AllocateBlock(4, &blocks[1]), 0) << "the second allocation was call 2";
  EXPECT_EQ(sim.basic()->AllocateBlock(4, &blocks[2]), 0);
  EXPECT_EQ(sim.faults.Fired(), 1) << "the operation's second call was the failed call 2";
  EXPECT_EQ(sim.LiveBlocks(), 3);
  for (void* block : blocks) sim.basic()->FreeBlock(block);
  EXPECT_EQ(sim.LiveBlocks(), 0);
}

TEST(HostSimTest, FaultOnAReleaseReportsButStillReleases) {
  hostsim::Host sim;
  void* block = nullptr;
  sim.basic()->AllocateBlock(1, &block);
  sim.faults.FailOperation(Op::FreeBlock, 1, -9);
  EXPECT_EQ(sim.basic()->FreeBlock(block), -9);
  EXPECT_EQ(sim.LiveBlocks(), 0);
}

TEST(HostSimTest, SuitesAreServedByNameAndVersionAndReleasesAreCounted) {
  hostsim::Host sim;
  const void* table = nullptr;
  EXPECT_EQ(sim.basic()->AcquireSuite(host::kPSActionDescriptorSuite, 1, &table), host::kSPSuiteNotFoundError);
  EXPECT_EQ(sim.basic()->ReleaseSuite(host::kPSPropertySuite, 1), host::kSPBadParameterError)
      << "a release without an acquisition";
  EXPECT_EQ(sim.violations().size(), 1u);
  EXPECT_EQ(sim.basic()->AcquireSuite(host::kPSPropertySuite, 1, &table), 0);
  EXPECT_EQ(sim.SuitesHeld(), 1);
}

TEST(HostSimTest, NumbersPrintShortestExact) {
  EXPECT_EQ(hostsim::NumberText(500.5), "500.5");
  EXPECT_EQ(hostsim::NumberText(1000), "1000");
  EXPECT_EQ(hostsim::NumberText(0.1), "0.1");
  EXPECT_EQ(hostsim::CodeText(host::kKeyTo), "T");
  EXPECT_EQ(hostsim::CodeText(host::kUnitPixels), "#Pxl");
}

}  // namespace
