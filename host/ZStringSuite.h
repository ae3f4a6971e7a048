// The ZString suite, version 1: 23 slots returning 32-bit codes. Only Release (slot 13) is used.
#pragma once

#include <cstddef>

#include "host/HostTypes.h"

namespace host {

constexpr const char kASZStringSuite[] = "AS ZString Suite";
constexpr int32_t kASZStringSuiteVersion = 1;

struct ASZStringSuite {
  ASErr(HOST_API* MakeFromUnicode)(const ASUnicode* src, size_t count, ASZString* newZString);
  ASErr(HOST_API* MakeFromCString)(const char* src, size_t byteCount, ASZString* newZString);
  ASErr(HOST_API* MakeFromPascalString)(const unsigned char* src, size_t byteCount, ASZString* newZString);
  ASErr(HOST_API* MakeRomanizationOfInteger)(int32_t value, ASZString* newZString);
  ASErr(HOST_API* MakeRomanizationOfFixed)(int32_t value, int16_t places, ASBoolean trim, ASBoolean isSigned,
                                           ASZString* newZString);
  ASErr(HOST_API* MakeRomanizationOfDouble)(double value, ASZString* newZString);
  ASZString(HOST_API* GetEmpty)();
  ASErr(HOST_API* Copy)(ASZString source, ASZString* copy);
  ASErr(HOST_API* Replace)(ASZString zstr, uint32_t index, ASZString replacement);
  ASErr(HOST_API* TrimEllipsis)(ASZString zstr);
  ASErr(HOST_API* TrimSpaces)(ASZString zstr);
  ASErr(HOST_API* RemoveAccelerators)(ASZString zstr);
  ASErr(HOST_API* AddRef)(ASZString zstr);
  ASErr(HOST_API* Release)(ASZString zstr);
  ASBoolean(HOST_API* IsAllWhiteSpace)(ASZString zstr);
  ASBoolean(HOST_API* IsEmpty)(ASZString zstr);
  ASBoolean(HOST_API* WillReplace)(ASZString zstr, uint32_t index);
  uint32_t(HOST_API* LengthAsUnicodeCString)(ASZString zstr);
  ASErr(HOST_API* AsUnicodeCString)(ASZString zstr, ASUnicode* str, uint32_t strSize, ASBoolean checkStrSize);
  uint32_t(HOST_API* LengthAsCString)(ASZString zstr);
  ASErr(HOST_API* AsCString)(ASZString zstr, char* str, uint32_t strSize, ASBoolean checkStrSize);
  uint32_t(HOST_API* LengthAsPascalString)(ASZString zstr);
  ASErr(HOST_API* AsPascalString)(ASZString zstr, char* str, uint32_t strSize, ASBoolean checkStrSize);
};

static_assert(sizeof(ASZStringSuite) == 23 * sizeof(void*), "23 slots");
static_assert(offsetof(ASZStringSuite, Release) == 13 * sizeof(void*), "slot 13");

}  // namespace host
