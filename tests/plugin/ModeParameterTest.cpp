// The mode's trip through the scripting descriptor, and the document size queries.
#include <gtest/gtest.h>

#include "host/Keys.h"
#include "host/ResultCodes.h"
#include "hostaccess/DocumentSize.h"
#include "hostaccess/ModeParameter.h"
#include "tests/support/PluginFixture.h"

using hostsim::Descriptor;
using hostsim::Op;
using hostsim::Value;

namespace {

class ModeParameterTest : public PluginFixture {
 protected:
  void SetUp() override {
    PluginFixture::SetUp();
    EnterCall();
  }
  void TearDown() override {
    zem::ReleaseHostSuites();
    PluginFixture::TearDown();
  }

  host::PIActionDescriptor DescriptorWith(uint32_t key, Value value) {
    Descriptor contents;
    contents.Put(key, value);
    return sim.NewDescriptor(contents);
  }
};

TEST_F(ModeParameterTest, ReadTakesWhateverIntegerTheDescriptorHolds) {
  for (int32_t mode : {5, 0, 9, -3}) {
    zem::CurrentMode = 1;
    parameters.descriptor = DescriptorWith(host::kKeyCount, Value::Integer(mode));
    EXPECT_EQ(zem::ReadModeParameter(&parameters), 0);
    EXPECT_EQ(zem::CurrentMode, mode);
    sim.FreeDescriptor(parameters.descriptor);
    parameters.descriptor = nullptr;
  }
}

TEST_F(ModeParameterTest, ReadWithoutDescriptorKeepsTheModeButStillGetsTheSuite) {
  zem::CurrentMode = 1;
  EXPECT_EQ(zem::ReadModeParameter(&parameters), 0);
  EXPECT_EQ(zem::CurrentMode, 1);
  EXPECT_EQ(sim.Use(host::kPSActionDescriptorSuite).acquired, 1);
  EXPECT_EQ(sim.faults.Calls(Op::DescriptorGetInteger), 0);
}

TEST_F(ModeParameterTest, ReadOfAMissingOrWrongTypedKeyReturnsTheHostsCodeAndKeepsTheMode) {
  zem::CurrentMode = 1;
  parameters.descriptor = DescriptorWith(host::kKeyTop, Value::Integer(4));
  EXPECT_NE(zem::ReadModeParameter(&parameters), 0);
  EXPECT_EQ(zem::CurrentMode, 1);
  sim.FreeDescriptor(parameters.descriptor);

  parameters.descriptor = DescriptorWith(host::kKeyCount, Value::UnitFloat(host::kUnitPixels, 4));
  EXPECT_NE(zem::ReadModeParameter(&parameters), 0);
  EXPECT_EQ(zem::CurrentMode, 1);
}

TEST_F(ModeParameterTest, WriteReplacesTheHostsDescriptorWithOneHoldingOnlyTheMode) {
  Descriptor old;
  old.Put(host::kKeyTop, Value::Integer(1));
  old.Put(host::kKeyCount, Value::Integer(3));
  host::PIActionDescriptor oldHandle = sim.NewDescriptor(old);
  parameters.descriptor = oldHandle;
  zem::CurrentMode = 6;

  EXPECT_EQ(zem::WriteModeParameter(&parameters), 0);
  EXPECT_NE(parameters.descriptor, oldHandle);
  EXPECT_EQ(WrittenDescriptor(), "Cnt=6");
  EXPECT_EQ(parameters.recordInfo, host::plugInDialogOptional);
  EXPECT_EQ(sim.objects.Live(hostsim::ObjectKind::Descriptor), 1) << "the old descriptor is freed";
}

TEST_F(ModeParameterTest, WriteIntoNoDescriptorMakesOne) {
  zem::CurrentMode = 9;
  parameters.recordInfo = host::plugInDialogNone;
  EXPECT_EQ(zem::WriteModeParameter(&parameters), 0);
  EXPECT_EQ(WrittenDescriptor(), "Cnt=9");
  EXPECT_EQ(parameters.recordInfo, 0);
}

TEST_F(ModeParameterTest, FailedWriteLeavesTheParametersAndLosesNothing) {
  host::PIActionDescriptor hosts = DescriptorWith(host::kKeyCount, Value::Integer(2));
  parameters.descriptor = hosts;
  zem::CurrentMode = 4;

  sim.faults.FailOperation(Op::DescriptorMake, 1, -25);
  EXPECT_EQ(zem::WriteModeParameter(&parameters), -25);
  EXPECT_EQ(sim.faults.Calls(Op::DescriptorPutInteger), 0) << "nothing is put into a descriptor never made";

  sim.faults.FailOperation(Op::DescriptorPutInteger, 1, -26);
  EXPECT_EQ(zem::WriteModeParameter(&parameters), -26);

  EXPECT_EQ(parameters.descriptor, hosts);
  EXPECT_EQ(parameters.recordInfo, host::plugInDialogRequired);
  EXPECT_EQ(WrittenDescriptor(), "Cnt=2");
  EXPECT_EQ(sim.objects.Live(hostsim::ObjectKind::Descriptor), 1) << "the unused new descriptor is freed";
}

TEST_F(ModeParameterTest, WriteWithoutParametersFreesTheNewDescriptor) {
  EXPECT_EQ(zem::WriteModeParameter(nullptr), 0);
  EXPECT_EQ(sim.objects.Live(), 0);
}

TEST_F(ModeParameterTest, DocumentSizeQueriesAskTheHostEveryTime) {
  sim.document.width = 1001;
  sim.document.height = 7;
  int32_t width = 10000;
  int32_t height = 10000;
  EXPECT_EQ(zem::QueryDocumentHeight(&height), 0);
  EXPECT_EQ(zem::QueryDocumentWidth(&width), 0);
  EXPECT_EQ(height, 7);
  EXPECT_EQ(width, 1001);

  sim.document.width = 640;
  EXPECT_EQ(zem::QueryDocumentWidth(&width), 0);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(sim.log(), (std::vector<std::string>{"get docH -> 7", "get docW -> 1001", "get docW -> 640"}));
  EXPECT_EQ(sim.Use(host::kPSPropertySuite).acquired, 1);
}

TEST_F(ModeParameterTest, FailedSizeQueryKeepsTheCallersValueAndWidensTheCode) {
  sim.document.widthKnown = false;
  int32_t width = 10000;
  EXPECT_EQ(zem::QueryDocumentWidth(&width), host::kPropertyUndefined);
  EXPECT_EQ(width, 10000);

  int32_t height = 10000;
  sim.faults.FailOperation(Op::GetProperty, 2, -2);
  EXPECT_EQ(zem::QueryDocumentHeight(&height), -2) << "a negative 16-bit code keeps its sign";
  EXPECT_EQ(height, 10000);
}

}  // namespace
