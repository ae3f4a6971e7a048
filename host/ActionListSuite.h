// The action list suite, version 1: 38 slots, every one returning a 16-bit code.
#pragma once

#include <cstddef>

#include "host/HostTypes.h"

namespace host {

constexpr const char kPSActionListSuite[] = "df135116-c769-11d0-8079-00c04fd7ec47";
constexpr int32_t kPSActionListSuiteVersion = 1;

struct PSActionListProcs {
  OSErr(HOST_API* Make)(PIActionList* list);
  OSErr(HOST_API* Free)(PIActionList list);
  OSErr(HOST_API* GetType)(PIActionList list, uint32_t index, DescriptorTypeID* value);
  OSErr(HOST_API* GetCount)(PIActionList list, uint32_t* value);
  OSErr(HOST_API* PutInteger)(PIActionList list, int32_t value);
  OSErr(HOST_API* PutFloat)(PIActionList list, double value);
  OSErr(HOST_API* PutUnitFloat)(PIActionList list, DescriptorUnitID unit, double value);
  OSErr(HOST_API* PutString)(PIActionList list, const char* cstr);
  OSErr(HOST_API* PutBoolean)(PIActionList list, Boolean value);
  OSErr(HOST_API* PutList)(PIActionList list, PIActionList value);
  OSErr(HOST_API* PutObject)(PIActionList list, DescriptorClassID type, PIActionDescriptor value);
  OSErr(HOST_API* PutGlobalObject)(PIActionList list, DescriptorClassID type, PIActionDescriptor value);
  OSErr(HOST_API* PutEnumerated)(PIActionList list, DescriptorEnumTypeID type, DescriptorEnumID value);
  OSErr(HOST_API* PutReference)(PIActionList list, PIActionReference value);
  OSErr(HOST_API* PutClass)(PIActionList list, DescriptorClassID value);
  OSErr(HOST_API* PutGlobalClass)(PIActionList list, DescriptorClassID value);
  OSErr(HOST_API* PutAlias)(PIActionList list, Handle value);
  OSErr(HOST_API* GetInteger)(PIActionList list, uint32_t index, int32_t* value);
  OSErr(HOST_API* GetFloat)(PIActionList list, uint32_t index, double* value);
  OSErr(HOST_API* GetUnitFloat)(PIActionList list, uint32_t index, DescriptorUnitID* unit, double* value);
  OSErr(HOST_API* GetStringLength)(PIActionList list, uint32_t index, uint32_t* stringLength);
  OSErr(HOST_API* GetString)(PIActionList list, uint32_t index, char* cstr, uint32_t maxLength);
  OSErr(HOST_API* GetBoolean)(PIActionList list, uint32_t index, Boolean* value);
  OSErr(HOST_API* GetList)(PIActionList list, uint32_t index, PIActionList* value);
  OSErr(HOST_API* GetObject)(PIActionList list, uint32_t index, DescriptorClassID* type,
                             PIActionDescriptor* value);
  OSErr(HOST_API* GetGlobalObject)(PIActionList list, uint32_t index, DescriptorClassID* type,
                                   PIActionDescriptor* value);
  OSErr(HOST_API* GetEnumerated)(PIActionList list, uint32_t index, DescriptorEnumTypeID* type,
                                 DescriptorEnumID* value);
  OSErr(HOST_API* GetReference)(PIActionList list, uint32_t index, PIActionReference* value);
  OSErr(HOST_API* GetClass)(PIActionList list, uint32_t index, DescriptorClassID* value);
  OSErr(HOST_API* GetGlobalClass)(PIActionList list, uint32_t index, DescriptorClassID* value);
  OSErr(HOST_API* GetAlias)(PIActionList list, uint32_t index, Handle* value);
  OSErr(HOST_API* PutIntegers)(PIActionList list, uint32_t count, int32_t* values);
  OSErr(HOST_API* GetIntegers)(PIActionList list, uint32_t count, int32_t* values);
  OSErr(HOST_API* PutData)(PIActionList list, int32_t length, void* data);
  OSErr(HOST_API* GetDataLength)(PIActionList list, uint32_t index, int32_t* length);
  OSErr(HOST_API* GetData)(PIActionList list, uint32_t index, void* value);
  OSErr(HOST_API* PutZString)(PIActionList list, ASZString zstring);
  OSErr(HOST_API* GetZString)(PIActionList list, uint32_t index, ASZString* zstring);
};

static_assert(sizeof(PSActionListProcs) == 38 * sizeof(void*), "38 slots");
static_assert(offsetof(PSActionListProcs, PutObject) == 10 * sizeof(void*), "slot 10");

}  // namespace host
