#include "platform/ModuleArchitecture.h"

namespace zem {
namespace {

uint32_t Little32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

uint16_t PeMachine(const uint8_t* bytes, size_t size) {
  // The DOS header starts with "MZ" and holds the offset of the "PE\0\0" signature at 0x3C; the
  // machine field follows the signature.
  constexpr size_t kSignatureOffsetField = 0x3C;
  if (bytes == nullptr || size < kSignatureOffsetField + 4 || bytes[0] != 'M' || bytes[1] != 'Z') return 0;
  const uint32_t signature = Little32(bytes + kSignatureOffsetField);
  if (signature > size || size - signature < 6) return 0;
  const uint8_t* pe = bytes + signature;
  if (pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0) return 0;
  return static_cast<uint16_t>(pe[4] | pe[5] << 8);
}

}  // namespace zem
