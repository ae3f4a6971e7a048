// One whole "Do It" of the plug-in against the host model, with every host answer taken from the
// input: the document's size (any 32-bit value, or not known), the scripting descriptor ('Cnt '
// of any value or type, or none), the dialog's answer, refused suites and faults at any call.
// After each call nothing may be live, leaked or misused; a second call follows on the same
// process-wide state.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "document/Canvas.h"
#include "document/PlayableActions.h"
#include "entry/PluginMain.h"
#include "host/Keys.h"
#include "host/Messages.h"
#include "hostaccess/HostSuites.h"
#include "hostaccess/PluginState.h"
#include "hostsim/DefaultActionSet.h"
#include "hostsim/Host.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/support/FakeDialogs.h"

namespace {

const char* const kSuites[] = {host::kPSActionDescriptorSuite, host::kPSActionControlSuite,
                               host::kPSActionReferenceSuite,  host::kPSActionListSuite,
                               host::kPSUIHooksSuite,          host::kASZStringSuite,
                               host::kSPAccessSuite,           host::kPSGetFileListSuite,
                               host::kPSPropertySuite};

void Fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::abort();
}

hostsim::Value ModeValue(FuzzInput& input) {
  switch (input.Below(4)) {
    case 0: return hostsim::Value::UnitFloat(input.Word(), static_cast<double>(input.Int()) / 3);
    case 1: return hostsim::Value::Boolean(input.Byte() & 1);
    case 2: return hostsim::Value::Enumerated(input.Word(), input.Word());
    default: return hostsim::Value::Integer(input.Int());
  }
}

void SetUpHost(FuzzInput& input, hostsim::Host& host) {
  host.recording = (input.Byte() & 1) != 0;
  host.document.width = input.Int();
  host.document.height = input.Int();
  const uint8_t known = input.Byte();
  host.document.widthKnown = (known & 1) == 0;
  host.document.heightKnown = (known & 2) == 0;
  for (const char* suite : kSuites) {
    const uint8_t refusal = input.Byte();
    if (refusal >= 0xF0) host.RefuseSuite(suite);
    else if (refusal >= 0xE0) host.RefuseSuite(suite, refusal & 3);
  }
  for (int faults = input.Below(4); faults > 0; --faults) {
    const int32_t code = input.Int();
    if (input.Byte() & 1) {
      host.faults.FailCall(1 + static_cast<int>(input.Word() % 1600), code);
    } else {
      const auto op = static_cast<hostsim::Op>(input.Below(hostsim::kOpCount));
      host.faults.FailOperation(op, 1 + input.Below(256) * 2 + input.Below(2), code);
    }
  }
}

void CheckNothingLeft(const hostsim::Host& host, int call) {
  const std::string where = "after call " + std::to_string(call) + ": ";
  for (const std::string& violation : host.violations()) Fail(where + violation);
  if (host.objects.Live() != 0) Fail(where + std::to_string(host.objects.Live()) + " host objects live");
  if (host.SuitesHeld() != 0) Fail(where + std::to_string(host.SuitesHeld()) + " suites held");
  if (host.LiveBlocks() != 0) Fail(where + std::to_string(host.LiveBlocks()) + " blocks live");
}

const hostsim::PlayableSet& Actions() {
  static const hostsim::PlayableSet actions = [] {
    hostsim::PlayableSet set;
    std::string error;
    const std::vector<uint8_t>& bytes = hostsim::DefaultActionSetBytes();
    if (!hostsim::LoadPlayableSet(bytes.data(), bytes.size(), "ZEM_Variations.atn", "ZEM_Variations", set, error)) {
      Fail(error);
    }
    return set;
  }();
  return actions;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  zem::HostBasicSuite = nullptr;
  zem::HostPluginRef = nullptr;
  zem::CurrentMode = 0;
  zem::RunStatus = 0;
  for (zem::HostSuite& holder : zem::HostSuites) {
    holder.suite = nullptr;
    holder.lastError = 0;
  }

  for (int call = 1; call <= 2; ++call) {
    fake_dialogs::Reset();
    hostsim::Host host;
    SetUpHost(input, host);
    std::unique_ptr<hostsim::Canvas> canvas;
    if (input.Byte() & 1) {
      canvas.reset(new hostsim::Canvas(hostsim::Image(1 + input.Below(8), 1 + input.Below(8), 128), Actions(), 4));
      host.canvas = canvas.get();
    }
    host::PIActionParameters parameters{input.Below(3), input.Below(3), nullptr};
    fake_dialogs::modeDialog.result = input.Byte() & 1 ? 0 : -128;
    fake_dialogs::modeDialog.choice = input.Int();
    if (input.Byte() & 1) {
      hostsim::Descriptor contents;
      contents.Put(input.Byte() & 1 ? host::kKeyCount : input.Word(), ModeValue(input));
      parameters.descriptor = host.NewDescriptor(contents);
    }
    host.CallDoIt(AutoPluginMain, &parameters);
    if (parameters.descriptor != nullptr) host.FreeDescriptor(parameters.descriptor);
    CheckNothingLeft(host, call);
    if (zem::RunStatus != 0) Fail("RunStatus left at " + std::to_string(zem::RunStatus));
  }
  return 0;
}
