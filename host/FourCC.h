// Four-character codes: 'abcd' has the value (a<<24)|(b<<16)|(c<<8)|d.
#pragma once

#include <cstdint>

namespace host {

constexpr uint32_t FourCC(const char (&code)[5]) {
  return (static_cast<uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
         (static_cast<uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
         (static_cast<uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
         static_cast<uint32_t>(static_cast<unsigned char>(code[3]));
}

static_assert(FourCC("SPCk") == 0x5350436Bu, "first character is the most significant byte");

}  // namespace host
