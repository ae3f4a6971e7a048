#include "entry/PluginMain.h"

#include <new>

#include "host/Keys.h"
#include "host/Messages.h"
#include "host/ResultCodes.h"
#include "hostaccess/HostFailure.h"
#include "hostaccess/HostObjects.h"
#include "hostaccess/HostSuites.h"
#include "hostaccess/ModeParameter.h"
#include "hostaccess/PluginState.h"
#include "ui/DialogEntry.h"
#include "variations/OneHistoryState.h"

namespace zem {
namespace {

constexpr int32_t kAboutResourceId = 16000;

bool HostStringsEqual(const char* a, const char* b) { return HostBasicSuite->IsEqual(a, b) != 0; }

bool IsCall(const char* caller, const char* selector, const char* wantedCaller, const char* wantedSelector) {
  return HostStringsEqual(caller, wantedCaller) && HostStringsEqual(selector, wantedSelector);
}

int32_t DoIt(host::PIActionParameters* parameters) {
  // Declared first so that it is freed last, after the name.
  OwnedReference target;
  if (int32_t error = ReferenceSuite().Make(target.Receive())) return error;

  OwnedZString name;
  host::ASZString receivedName = nullptr;
  const host::PSUIHooksSuite1& uiHooks = UIHooksSuite();
  // Only the ZString suite can give the name back, so it is held before the name is asked for: a
  // host that refuses it then abandons the call before the name exists, not after.
  ZStringSuite();
  if (int32_t error = uiHooks.GetPluginName(HostPluginRef, &receivedName)) return error;
  *name.Receive() = receivedName;

  CurrentMode = DiagonalSplit;
  ReadModeParameter(parameters);

  int32_t gate = ReferenceSuite().PutEnumerated(target.get(), host::kClassDocument, host::kTypeOrdinal,
                                                host::kEnumTarget);
  if (parameters != nullptr && parameters->playInfo == host::plugInDialogDisplay) gate = RunModeDialog();
  if (gate == 0) {
    // A failure raised inside the run could not leave the host's callback; it comes back here.
    if (int32_t abandoned = RunVariationsAsOneHistoryState(target.get(), name.get())) return abandoned;
  }

  int32_t result = RunStatus;
  RunStatus = 0;
  name.Free();
  if (result == 0) WriteModeParameter(parameters);
  return result;
}

}  // namespace
}  // namespace zem

extern "C" host::SPErr HOST_API AutoPluginMain(const char* caller, const char* selector, void* message) {
  using namespace zem;
  const auto* basicMessage = static_cast<const host::SPMessageData*>(message);
  if (basicMessage == nullptr || basicMessage->basic == nullptr) return host::kSPBadParameterError;

  HostBasicSuite = basicMessage->basic;
  HostPluginRef = basicMessage->self;

  int32_t result = 0;
  try {
    if (IsCall(caller, selector, host::kSPInterfaceCaller, host::kSPInterfaceAboutSelector)) {
      ShowAboutBox(basicMessage->self, kAboutResourceId);
    } else if (IsCall(caller, selector, host::kPSPhotoshopCaller, host::kPSDoIt)) {
      result = DoIt(static_cast<host::PSActionsPlugInMessage*>(message)->actionParameters);
    }
  } catch (...) {
    result = CodeOfCaughtFailure();
  }
  // An abandoned run must not leave its status for the next call.
  RunStatus = 0;
  ReleaseHostSuites();
  return result;
}
