// Primitive types and opaque handles of the host's plug-in interface on Windows.
#pragma once

#include <cstddef>
#include <cstdint>

// Every host function, callback and the entry point use the C calling convention:
// the caller pops the arguments and names are not decorated.
#if defined(_WIN32)
#define HOST_API __cdecl
#else
#define HOST_API
#endif

namespace host {

using OSErr = int16_t;  // action suites, classic property procs
using SPErr = int32_t;  // basic, access, UIHooks, GetFileList suites, entry point
using ASErr = int32_t;  // ZString suite

using Boolean = unsigned char;  // Photoshop's one-byte flag
using SPBoolean = int32_t;
using ASBoolean = int32_t;
using ASUnicode = uint16_t;

using DescriptorKeyID = uint32_t;
using DescriptorClassID = uint32_t;
using DescriptorEventID = uint32_t;
using DescriptorTypeID = uint32_t;
using DescriptorEnumID = uint32_t;
using DescriptorEnumTypeID = uint32_t;
using DescriptorUnitID = uint32_t;
using DescriptorFormID = uint32_t;
using PIType = uint32_t;
using OSType = uint32_t;

using Handle = char**;

struct ActionDescriptorOpaque;
struct ActionListOpaque;
struct ActionReferenceOpaque;
struct ZStringOpaque;
struct PluginOpaque;
struct AccessOpaque;

using PIActionDescriptor = ActionDescriptorOpaque*;
using PIActionList = ActionListOpaque*;
using PIActionReference = ActionReferenceOpaque*;
using ASZString = ZStringOpaque*;
using SPPluginRef = PluginOpaque*;
using SPAccessRef = AccessOpaque*;

// The records of the interface change layout with the pointer size: on 32-bit Windows (x86)
// every pointer and size is 4 bytes, on 64-bit Windows (x64) 8, with natural alignment on both.
// Layouts are asserted for both: `ByAbi(x86, x64)` is the figure for the architecture being built.
// (The native build of the host model is 64-bit and checks the x64 figures.)
constexpr bool kIs64BitAbi = sizeof(void*) == 8;
static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "a 32-bit or a 64-bit interface");
constexpr size_t ByAbi(size_t x86, size_t x64) { return kIs64BitAbi ? x64 : x86; }

}  // namespace host
