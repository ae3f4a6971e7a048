// The action descriptor suite, version 2: 46 slots, every one returning a 16-bit code.
#pragma once

#include <cstddef>

#include "host/HostTypes.h"

namespace host {

constexpr const char kPSActionDescriptorSuite[] = "df135115-c769-11d0-8079-00c04fd7ec47";
constexpr int32_t kPSActionDescriptorSuiteVersion = 2;

struct PSActionDescriptorProcs {
  OSErr(HOST_API* Make)(PIActionDescriptor* descriptor);
  OSErr(HOST_API* Free)(PIActionDescriptor descriptor);
  OSErr(HOST_API* GetType)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorTypeID* type);
  OSErr(HOST_API* GetKey)(PIActionDescriptor descriptor, uint32_t index, DescriptorKeyID* key);
  OSErr(HOST_API* HasKey)(PIActionDescriptor descriptor, DescriptorKeyID key, Boolean* hasKey);
  OSErr(HOST_API* GetCount)(PIActionDescriptor descriptor, uint32_t* count);
  OSErr(HOST_API* IsEqual)(PIActionDescriptor descriptor, PIActionDescriptor other, Boolean* isEqual);
  OSErr(HOST_API* Erase)(PIActionDescriptor descriptor, DescriptorKeyID key);
  OSErr(HOST_API* Clear)(PIActionDescriptor descriptor);
  OSErr(HOST_API* PutInteger)(PIActionDescriptor descriptor, DescriptorKeyID key, int32_t value);
  OSErr(HOST_API* PutFloat)(PIActionDescriptor descriptor, DescriptorKeyID key, double value);
  OSErr(HOST_API* PutUnitFloat)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorUnitID unit,
                                double value);
  OSErr(HOST_API* PutString)(PIActionDescriptor descriptor, DescriptorKeyID key, const char* cstring);
  OSErr(HOST_API* PutBoolean)(PIActionDescriptor descriptor, DescriptorKeyID key, Boolean value);
  OSErr(HOST_API* PutList)(PIActionDescriptor descriptor, DescriptorKeyID key, PIActionList list);
  OSErr(HOST_API* PutObject)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID type,
                             PIActionDescriptor value);
  OSErr(HOST_API* PutGlobalObject)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID type,
                                   PIActionDescriptor value);
  OSErr(HOST_API* PutEnumerated)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorEnumTypeID type,
                                 DescriptorEnumID value);
  OSErr(HOST_API* PutReference)(PIActionDescriptor descriptor, DescriptorKeyID key, PIActionReference value);
  OSErr(HOST_API* PutClass)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID value);
  OSErr(HOST_API* PutGlobalClass)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID value);
  OSErr(HOST_API* PutAlias)(PIActionDescriptor descriptor, DescriptorKeyID key, Handle alias);
  OSErr(HOST_API* GetInteger)(PIActionDescriptor descriptor, DescriptorKeyID key, int32_t* value);
  OSErr(HOST_API* GetFloat)(PIActionDescriptor descriptor, DescriptorKeyID key, double* value);
  OSErr(HOST_API* GetUnitFloat)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorUnitID* unit,
                                double* value);
  OSErr(HOST_API* GetStringLength)(PIActionDescriptor descriptor, DescriptorKeyID key, uint32_t* length);
  OSErr(HOST_API* GetString)(PIActionDescriptor descriptor, DescriptorKeyID key, char* cstring,
                             uint32_t maxLength);
  OSErr(HOST_API* GetBoolean)(PIActionDescriptor descriptor, DescriptorKeyID key, Boolean* value);
  OSErr(HOST_API* GetList)(PIActionDescriptor descriptor, DescriptorKeyID key, PIActionList* list);
  OSErr(HOST_API* GetObject)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID* type,
                             PIActionDescriptor* value);
  OSErr(HOST_API* GetGlobalObject)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID* type,
                                   PIActionDescriptor* value);
  OSErr(HOST_API* GetEnumerated)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorEnumTypeID* type,
                                 DescriptorEnumID* value);
  OSErr(HOST_API* GetReference)(PIActionDescriptor descriptor, DescriptorKeyID key, PIActionReference* value);
  OSErr(HOST_API* GetClass)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID* value);
  OSErr(HOST_API* GetGlobalClass)(PIActionDescriptor descriptor, DescriptorKeyID key, DescriptorClassID* value);
  OSErr(HOST_API* GetAlias)(PIActionDescriptor descriptor, DescriptorKeyID key, Handle* alias);
  OSErr(HOST_API* HasKeys)(PIActionDescriptor descriptor, DescriptorKeyID* requiredKeys, Boolean* hasKeys);
  OSErr(HOST_API* PutIntegers)(PIActionDescriptor descriptor, DescriptorKeyID key, uint32_t count,
                               int32_t* values);
  OSErr(HOST_API* GetIntegers)(PIActionDescriptor descriptor, DescriptorKeyID key, uint32_t count,
                               int32_t* values);
  OSErr(HOST_API* AsHandle)(PIActionDescriptor descriptor, Handle* value);
  OSErr(HOST_API* HandleToDescriptor)(Handle value, PIActionDescriptor* descriptor);
  OSErr(HOST_API* PutZString)(PIActionDescriptor descriptor, DescriptorKeyID key, ASZString zstring);
  OSErr(HOST_API* GetZString)(PIActionDescriptor descriptor, DescriptorKeyID key, ASZString* zstring);
  OSErr(HOST_API* PutData)(PIActionDescriptor descriptor, DescriptorKeyID key, int32_t length, void* value);
  OSErr(HOST_API* GetDataLength)(PIActionDescriptor descriptor, DescriptorKeyID key, int32_t* length);
  OSErr(HOST_API* GetData)(PIActionDescriptor descriptor, DescriptorKeyID key, void* value);
};

static_assert(sizeof(PSActionDescriptorProcs) == 46 * sizeof(void*), "46 slots");
static_assert(offsetof(PSActionDescriptorProcs, PutInteger) == 9 * sizeof(void*), "slot 9");
static_assert(offsetof(PSActionDescriptorProcs, PutUnitFloat) == 11 * sizeof(void*), "slot 11");
static_assert(offsetof(PSActionDescriptorProcs, PutBoolean) == 13 * sizeof(void*), "slot 13");
static_assert(offsetof(PSActionDescriptorProcs, PutList) == 14 * sizeof(void*), "slot 14");
static_assert(offsetof(PSActionDescriptorProcs, PutObject) == 15 * sizeof(void*), "slot 15");
static_assert(offsetof(PSActionDescriptorProcs, PutEnumerated) == 17 * sizeof(void*), "slot 17");
static_assert(offsetof(PSActionDescriptorProcs, PutReference) == 18 * sizeof(void*), "slot 18");
static_assert(offsetof(PSActionDescriptorProcs, PutAlias) == 21 * sizeof(void*), "slot 21");
static_assert(offsetof(PSActionDescriptorProcs, GetInteger) == 22 * sizeof(void*), "slot 22");
static_assert(offsetof(PSActionDescriptorProcs, GetData) == 45 * sizeof(void*), "slot 45");

}  // namespace host
