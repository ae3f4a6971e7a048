#include "actions/ActionModel.h"

namespace zem::actions {

const Value* Descriptor::Find(const Id& key) const {
  for (const Item& item : items) {
    if (item.key == key) return &item.value;
  }
  return nullptr;
}

std::string ToUtf8(const std::u16string& units) {
  std::string text;
  for (size_t i = 0; i < units.size(); ++i) {
    uint32_t point = units[i];
    if (point >= 0xD800 && point < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
      point = 0x10000 + ((point - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    } else if (point >= 0xD800 && point < 0xE000) {
      point = 0xFFFD;
    }
    if (point < 0x80) {
      text += char(point);
    } else if (point < 0x800) {
      text += char(0xC0 | (point >> 6));
      text += char(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
      text += char(0xE0 | (point >> 12));
      text += char(0x80 | ((point >> 6) & 0x3F));
      text += char(0x80 | (point & 0x3F));
    } else {
      text += char(0xF0 | (point >> 18));
      text += char(0x80 | ((point >> 12) & 0x3F));
      text += char(0x80 | ((point >> 6) & 0x3F));
      text += char(0x80 | (point & 0x3F));
    }
  }
  return text;
}

std::u16string FromUtf8(const std::string& text) {
  std::u16string units;
  for (size_t i = 0; i < text.size();) {
    const uint8_t lead = uint8_t(text[i]);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    uint32_t point = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    bool valid = length != 0 && i + length <= text.size();
    for (int k = 1; valid && k < length; ++k) {
      const uint8_t next = uint8_t(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      point = (point << 6) | (next & 0x3F);
    }
    if (!valid || point > 0x10FFFF || (point >= 0xD800 && point < 0xE000)) {
      units += char16_t(0xFFFD);
      ++i;
      continue;
    }
    i += length;
    if (point >= 0x10000) {
      units += char16_t(0xD800 + ((point - 0x10000) >> 10));
      units += char16_t(0xDC00 + ((point - 0x10000) & 0x3FF));
    } else {
      units += char16_t(point);
    }
  }
  return units;
}

std::string FourCCText(FourCC code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) text += char((code >> shift) & 0xFF);
  return text;
}

}  // namespace zem::actions
