// The action reference suite, version 2: 19 slots, every one returning a 16-bit code.
#pragma once

#include <cstddef>

#include "host/HostTypes.h"

namespace host {

constexpr const char kPSActionReferenceSuite[] = "df135117-c769-11d0-8079-00c04fd7ec47";
constexpr int32_t kPSActionReferenceSuiteVersion = 2;

struct PSActionReferenceProcs {
  OSErr(HOST_API* Make)(PIActionReference* reference);
  OSErr(HOST_API* Free)(PIActionReference reference);
  OSErr(HOST_API* GetForm)(PIActionReference reference, DescriptorFormID* form);
  OSErr(HOST_API* GetDesiredClass)(PIActionReference reference, DescriptorClassID* desiredClass);
  OSErr(HOST_API* PutName)(PIActionReference reference, DescriptorClassID desiredClass, const char* cstrValue);
  OSErr(HOST_API* PutIndex)(PIActionReference reference, DescriptorClassID desiredClass, uint32_t value);
  OSErr(HOST_API* PutIdentifier)(PIActionReference reference, DescriptorClassID desiredClass, uint32_t value);
  OSErr(HOST_API* PutOffset)(PIActionReference reference, DescriptorClassID desiredClass, int32_t value);
  OSErr(HOST_API* PutEnumerated)(PIActionReference reference, DescriptorClassID desiredClass,
                                 DescriptorEnumTypeID type, DescriptorEnumID value);
  OSErr(HOST_API* PutProperty)(PIActionReference reference, DescriptorClassID desiredClass,
                               DescriptorKeyID value);
  OSErr(HOST_API* PutClass)(PIActionReference reference, DescriptorClassID desiredClass);
  OSErr(HOST_API* GetNameLength)(PIActionReference reference, uint32_t* stringLength);
  OSErr(HOST_API* GetName)(PIActionReference reference, char* name, uint32_t maxLength);
  OSErr(HOST_API* GetIndex)(PIActionReference reference, uint32_t* value);
  OSErr(HOST_API* GetIdentifier)(PIActionReference reference, uint32_t* value);
  OSErr(HOST_API* GetOffset)(PIActionReference reference, int32_t* value);
  OSErr(HOST_API* GetEnumerated)(PIActionReference reference, DescriptorEnumTypeID* type,
                                 DescriptorEnumID* enumValue);
  OSErr(HOST_API* GetProperty)(PIActionReference reference, DescriptorKeyID* value);
  OSErr(HOST_API* GetContainer)(PIActionReference reference, PIActionReference* container);
};

static_assert(sizeof(PSActionReferenceProcs) == 19 * sizeof(void*), "19 slots");
static_assert(offsetof(PSActionReferenceProcs, PutName) == 4 * sizeof(void*), "slot 4");
static_assert(offsetof(PSActionReferenceProcs, PutEnumerated) == 8 * sizeof(void*), "slot 8");
static_assert(offsetof(PSActionReferenceProcs, PutProperty) == 9 * sizeof(void*), "slot 9");

}  // namespace host
