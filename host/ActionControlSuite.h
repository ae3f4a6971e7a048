// The action control suite. Version 3 is asked for first and version 2 where the host has no 3:
// both share slots 0 to 7, but SuspendHistory (slot 6) is used only from a version 3 table. Play,
// Get and SuspendHistory are used.
#pragma once

#include <cstddef>

#include "host/HostTypes.h"

namespace host {

constexpr const char kPSActionControlSuite[] = "bc1e4d70-f953-11d0-8d9f-00c04fd5f7ee";
constexpr int32_t kPSActionControlSuiteVersion = 2;
constexpr int32_t kPSActionControlSuiteVersionWithHistory = 3;

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
static_assert(offsetof(PSActionControlProcs, Get) == 1 * sizeof(void*), "Get is slot 1");
static_assert(offsetof(PSActionControlProcs, SuspendHistory) == 6 * sizeof(void*), "SuspendHistory is slot 6");

}  // namespace host
