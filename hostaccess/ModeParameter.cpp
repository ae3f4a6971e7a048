#include "hostaccess/ModeParameter.h"

#include "host/Keys.h"
#include "hostaccess/HostObjects.h"
#include "hostaccess/HostSuites.h"
#include "hostaccess/PluginState.h"

namespace zem {

int32_t ReadModeParameter(const host::PIActionParameters* parameters) {
  const host::PSActionDescriptorProcs& suite = DescriptorSuite();
  if (parameters == nullptr || parameters->descriptor == nullptr) return 0;
  return suite.GetInteger(parameters->descriptor, host::kKeyCount, &CurrentMode);
}

int32_t WriteModeParameter(host::PIActionParameters* parameters) {
  const host::PSActionDescriptorProcs& suite = DescriptorSuite();
  OwnedDescriptor fresh;
  if (int32_t error = suite.Make(fresh.Receive())) return error;
  if (int32_t error = suite.PutInteger(fresh.get(), host::kKeyCount, CurrentMode)) return error;
  if (parameters == nullptr) return 0;
  if (parameters->descriptor != nullptr) suite.Free(parameters->descriptor);
  parameters->descriptor = fresh.Release();
  parameters->recordInfo = host::plugInDialogOptional;
  return 0;
}

}  // namespace zem
