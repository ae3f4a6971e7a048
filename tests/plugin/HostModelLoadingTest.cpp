// The host model's side of loading an action set and of one history state: Get on a set by name,
// 'Opn ' of an alias through the action file reader, the handle suite, the two control suite
// versions, and the count of history states.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "host/ActionControlSuite.h"
#include "host/ActionDescriptorSuite.h"
#include "host/ActionReferenceSuite.h"
#include "host/HandleSuite.h"
#include "host/Keys.h"
#include "host/Messages.h"
#include "host/ResultCodes.h"
#include "hostsim/DefaultActionSet.h"
#include "hostsim/Host.h"
#include "tests/support/HostChecks.h"

namespace {

namespace fs = std::filesystem;

template <typename Table>
const Table* Acquire(hostsim::Host& sim, const char* name, int32_t version) {
  const void* table = nullptr;
  if (sim.basic()->AcquireSuite(name, version, &table) != 0) return nullptr;
  return static_cast<const Table*>(table);
}

class HostModelLoadingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.hasActionSet = false;
    descriptors = Acquire<host::PSActionDescriptorProcs>(sim, host::kPSActionDescriptorSuite, 2);
    references = Acquire<host::PSActionReferenceProcs>(sim, host::kPSActionReferenceSuite, 2);
    control = Acquire<host::PSActionControlProcs>(sim, host::kPSActionControlSuite, 3);
    handles = Acquire<host::PSHandleSuite2>(sim, host::kPSHandleSuite, 2);
    ASSERT_TRUE(descriptors && references && control && handles);
    file = fs::temp_directory_path() /
           ("zem-host-model-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".atn");
  }

  void TearDown() override {
    for (const char* name : {host::kPSActionDescriptorSuite, host::kPSActionReferenceSuite, host::kPSHandleSuite}) {
      sim.basic()->ReleaseSuite(name, 2);
    }
    sim.basic()->ReleaseSuite(host::kPSActionControlSuite, 3);
    ExpectNothingLeft(sim);
    fs::remove(file);
  }

  void Write(const std::vector<uint8_t>& bytes) {
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
  }

  // Get on the set by name: its result code, the result descriptor freed.
  int32_t GetSet(const char* name) {
    host::PIActionReference reference = nullptr;
    EXPECT_EQ(references->Make(&reference), 0);
    EXPECT_EQ(references->PutName(reference, host::kClassActionSet, name), 0);
    host::PIActionDescriptor result = nullptr;
    const int32_t found = control->Get(&result, reference);
    if (result != nullptr) descriptors->Free(result);
    references->Free(reference);
    return found;
  }

  // 'Opn ' with the bytes as the alias's contents (with their zero when `terminated`).
  int32_t Open(const std::string& path, bool terminated = true) {
    const size_t size = path.size() + (terminated ? 1 : 0);
    host::Handle alias = handles->New(static_cast<int32_t>(size));
    char* bytes = nullptr;
    host::Boolean old = 0;
    handles->SetLock(alias, 1, &bytes, &old);
    std::memcpy(bytes, path.c_str(), size);
    host::PIActionDescriptor event = nullptr;
    descriptors->Make(&event);
    int32_t result = descriptors->PutAlias(event, host::kKeyNull, alias);
    if (result == 0) {
      host::PIActionDescriptor played = nullptr;
      result = control->Play(&played, host::kEventOpen, event, host::plugInDialogSilent);
      if (played != nullptr) descriptors->Free(played);
    }
    descriptors->Free(event);
    handles->Dispose(alias);
    return result;
  }

  hostsim::Host sim;
  const host::PSActionDescriptorProcs* descriptors = nullptr;
  const host::PSActionReferenceProcs* references = nullptr;
  const host::PSActionControlProcs* control = nullptr;
  const host::PSHandleSuite2* handles = nullptr;
  fs::path file;
};

TEST_F(HostModelLoadingTest, GetFindsASetOnlyOnceItIsLoadedAndASecondLoadAddsASecondSet) {
  EXPECT_EQ(GetSet("ZEM_Variations"), host::kErrNoSuchObject);
  Write(hostsim::DefaultActionSetBytes());
  EXPECT_EQ(Open(file.string()), 0);
  EXPECT_EQ(GetSet("ZEM_Variations"), 0);
  EXPECT_EQ(GetSet("Default Actions"), host::kErrNoSuchObject);
  ASSERT_EQ(sim.loadedSets.size(), 1u);
  EXPECT_EQ(sim.loadedSets[0].actions, hostsim::DefaultVariationActions());
  EXPECT_EQ(Open(file.string()), 0);
  EXPECT_EQ(sim.loadedSets.size(), 2u);
  EXPECT_TRUE(sim.history().empty()) << "loading actions is no step of the image's history";
}

TEST_F(HostModelLoadingTest, ABadFileOrAnUnterminatedAliasIsRefused) {
  Write({'n', 'o', 'p', 'e'});
  EXPECT_NE(Open(file.string()), 0);
  EXPECT_NE(sim.lastOpenError.find(file.string() + " is not a valid action file"), std::string::npos)
      << sim.lastOpenError;
  EXPECT_NE(Open((file.parent_path() / "zem-no-such-file.atn").string()), 0);
  EXPECT_NE(Open(file.string(), false), 0) << "an alias must hold its zero";
  EXPECT_TRUE(sim.loadedSets.empty());
}

TEST_F(HostModelLoadingTest, AHandleDisposedTwiceIsCaught) {
  host::Handle handle = handles->New(4);
  handles->Dispose(handle);
  handles->Dispose(handle);
  ASSERT_EQ(sim.violations().size(), 1u);
  EXPECT_NE(sim.violations()[0].find("Handle Dispose: freed handle"), std::string::npos) << sim.violations()[0];
  sim.objects.Clear();
}

TEST_F(HostModelLoadingTest, OnlyVersion3ServesSuspendHistoryWhichMakesOneState) {
  const auto* version2 = Acquire<host::PSActionControlProcs>(sim, host::kPSActionControlSuite, 2);
  ASSERT_NE(version2, nullptr);
  EXPECT_EQ(version2->SuspendHistory, nullptr);
  sim.basic()->ReleaseSuite(host::kPSActionControlSuite, 2);
  sim.RefuseSuiteVersion(host::kPSActionControlSuite, 3);
  EXPECT_EQ(Acquire<host::PSActionControlProcs>(sim, host::kPSActionControlSuite, 3), nullptr);
  ASSERT_NE(control->SuspendHistory, nullptr);

  sim.hasActionSet = true;
  host::PIActionReference document = nullptr;
  references->Make(&document);
  host::ASZString name = reinterpret_cast<host::ASZString>(sim.objects.MakeZString("ZEM_Variations"));
  struct Played {
    hostsim::Host* sim;
    const host::PSActionDescriptorProcs* descriptors;
    const host::PSActionControlProcs* control;
  } played{&sim, descriptors, control};
  // Two events inside: a selection event and a play, each a state when played outside.
  auto callback = [](void* data) -> host::SPErr {
    auto& p = *static_cast<Played*>(data);
    hostsim::Descriptor clear;
    hostsim::Reference selection;
    selection.elements.push_back({hostsim::ReferenceElement::Form::Property, host::kClassChannel, "", 0, 0,
                                  host::kKeySelection});
    clear.Put(host::kKeyNull, hostsim::Value::ReferenceTo(selection));
    clear.Put(host::kKeyTo, hostsim::Value::Enumerated(host::kTypeOrdinal, host::kEnumNone));
    host::PIActionDescriptor event = p.sim->NewDescriptor(clear);
    host::PIActionDescriptor result = nullptr;
    const host::OSErr played = p.control->Play(&result, host::kEventSet, event, host::plugInDialogSilent);
    if (result != nullptr) p.descriptors->Free(result);
    p.descriptors->Free(event);
    return played;
  };
  EXPECT_EQ(control->SuspendHistory(document, callback, &played, name), 0);
  EXPECT_EQ(sim.history(), std::vector<std::string>{"ZEM_Variations"});
  EXPECT_EQ(callback(&played), 0);
  EXPECT_EQ(sim.history(), (std::vector<std::string>{"ZEM_Variations", "setd"}));

  auto raising = [](void*) -> host::SPErr { throw 1; };
  EXPECT_NE(control->SuspendHistory(document, raising, nullptr, name), 0);
  ASSERT_EQ(sim.violations().size(), 1u);
  EXPECT_NE(sim.violations()[0].find("an exception left the plug-in's callback"), std::string::npos);
  references->Free(document);
  sim.objects.Free(hostsim::ObjectKind::ZString, reinterpret_cast<uintptr_t>(name), "test");
  sim.objects.Clear();
}

}  // namespace
