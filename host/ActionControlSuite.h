// The action control suite. Version 2 is asked for; slots 0 to 7 are shared by versions 2 and 3,
// and only Play (slot 0) is used.
#pragma once

#include <cstddef>

#include "HostTypes.h"

namespace host {

constexpr const char kPSActionControlSuite[] = "bc1e4d70-f953-11d0-8d9f-00c04fd5f7ee";
constexpr int32_t kPSActionControlSuiteVersion = 2;

using PIActionNotifyProc = void(HOST_API*)(DescriptorEventID event, PIActionDescriptor descriptor,
                                           int32_t recordOptions, void* data);
using PIActionSuspendProc = SPErr(HOST_API*)(void* data);

struct PSActionControlProcs {
  OSErr(HOST_API* Play)(PIActionDescriptor* result, DescriptorEventID event, PIActionDescriptor descriptor,
                        int32_t playOptions);
  OSErr(HOST_API* Get)(PIActionDescriptor* result, PIActionReference reference);
  OSErr(HOST_API* StringIDToTypeID)(const char* stringID, DescriptorTypeID* typeID);
  OSErr(HOST_API* TypeIDToStringID)(DescriptorTypeID typeID, char* stringID, uint32_t stringLength);
  OSErr(HOST_API* AddNotify)(SPPluginRef plugin, DescriptorEventID event, PIActionNotifyProc notifier,
                             void* data);
  OSErr(HOST_API* RemoveNotify)(SPPluginRef plugin, DescriptorEventID event);
  OSErr(HOST_API* SuspendHistory)(PIActionReference reference, PIActionSuspendProc callback, void* data,
                                  ASZString name);
  OSErr(HOST_API* MakeStringAlias)(const char* newStringID, const char* existingStringID);
};

static_assert(sizeof(PSActionControlProcs) == 8 * sizeof(void*), "eight slots");
static_assert(offsetof(PSActionControlProcs, Play) == 0, "Play is slot 0");

}  // namespace host
