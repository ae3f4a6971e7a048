// The host model has to catch the faults the plug-in's tests rely on it to catch.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "entry/PluginMain.h"
#include "host/ActionControlSuite.h"
#include "host/ActionDescriptorSuite.h"
#include "host/ActionReferenceSuite.h"
#include "host/Keys.h"
#include "host/Messages.h"
#include "host/PropertySuite.h"
#include "host/ResultCodes.h"
#include "hostsim/Host.h"

#include <new>
#include <stdexcept>

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

TEST(HostSimTest, ReallocatedBlockKeepsItsContentsAsFarAsBothSizesReach) {
  hostsim::Host sim;
  void* block = nullptr;
  ASSERT_EQ(sim.basic()->AllocateBlock(8, &block), 0);
  std::memcpy(block, "ABCDEFGH", 8);
  void* grown = nullptr;
  ASSERT_EQ(sim.basic()->ReallocateBlock(block, 64, &grown), 0);
  EXPECT_EQ(std::string(static_cast<const char*>(grown), 8), "ABCDEFGH");
  void* shrunk = nullptr;
  ASSERT_EQ(sim.basic()->ReallocateBlock(grown, 3, &shrunk), 0);
  EXPECT_EQ(std::string(static_cast<const char*>(shrunk), 3), "ABC");
  EXPECT_EQ(sim.LiveBlocks(), 1) << "each old block was given back";
  EXPECT_EQ(sim.basic()->FreeBlock(shrunk), 0);
  EXPECT_EQ(sim.violations(), std::vector<std::string>());
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

// Whatever the host model raises while serving a call comes back as a code the plug-in reads as a
// failure at its slot's width, never as an exception through the plug-in's frames.
TEST(HostSimTest, SuiteFunctionsAnswerEveryExceptionWithAHostCode) {
  struct Case {
    std::function<void()> raise;
    int16_t code;
  };
  const Case cases[] = {{[] { throw std::bad_alloc(); }, -108}, {[] { throw std::runtime_error("x"); }, -1}, {[] { throw 7; }, -1}};
  for (const Case& c : cases) {
    hostsim::Host sim;
    sim.recording = false;
    auto* control = Acquire<host::PSActionControlProcs>(sim, host::kPSActionControlSuite, 2);
    sim.afterPlay = [&](const std::string&) { c.raise(); };
    host::PIActionDescriptor result = nullptr;
    int16_t played = 0;
    EXPECT_NO_THROW(played = control->Play(&result, host::kEventSet, nullptr, host::plugInDialogSilent));
    EXPECT_EQ(played, c.code);
    EXPECT_EQ(result, nullptr);
    sim.basic()->ReleaseSuite(host::kPSActionControlSuite, 2);
  }
}

// Injected codes stay failures in the 16 bits that the action suites return, whatever their low
// half: the plug-in then stops instead of using a handle it never got.
TEST(HostSimTest, InjectedCodesStayFailuresInSixteenBitSlots) {
  for (int32_t code : {0x10000, -0x10000, 0x7FFF0000, int32_t(0x80000000), -108, 0x12345}) {
    hostsim::Host sim;
    sim.recording = false;
    sim.faults.FailOperation(Op::ReferenceMake, 1, code);
    host::PIActionParameters parameters{host::plugInDialogDontDisplay, host::plugInDialogRequired, nullptr};
    const int32_t result = sim.CallDoIt(AutoPluginMain, &parameters);
    EXPECT_NE(result, 0) << code;
    EXPECT_EQ(int16_t(result), int16_t(code) != 0 ? int16_t(code) : -1) << code;
    EXPECT_EQ(sim.faults.Calls(Op::GetPluginName), 0) << code;
    EXPECT_EQ(sim.violations(), std::vector<std::string>()) << code;
    EXPECT_EQ(sim.objects.Live(), 0) << code;
  }
}

}  // namespace
