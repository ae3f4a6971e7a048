#include <cstring>

#include "actions/BinaryFormat.h"

namespace zem::actions {
namespace {

class Writer {
 public:
  std::vector<uint8_t> bytes;

  void Unsigned(uint64_t value, int count) {
    for (int shift = 8 * (count - 1); shift >= 0; shift -= 8) bytes.push_back(uint8_t(value >> shift));
  }
  void U8(uint8_t value) { bytes.push_back(value); }
  void U16(uint16_t value) { Unsigned(value, 2); }
  void U32(uint32_t value) { Unsigned(value, 4); }
  void Bool(bool value) { U8(value ? 1 : 0); }
  void Double(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Unsigned(bits, 8);
  }
  void Bytes(const uint8_t* data, size_t size) { bytes.insert(bytes.end(), data, data + size); }
  void ByteString(const std::string& text) {
    U32(uint32_t(text.size()));
    Bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  }
  void Unicode(const UnicodeString& text) {
    if (text.countedZero && text.units.empty()) {
      U32(0);
      return;
    }
    U32(uint32_t(text.units.size() + 1));
    for (char16_t unit : text.units) U16(unit);
    U16(0);
  }
  void WriteId(const Id& id) {
    if (id.isFourCC) {
      U32(0);
      U32(id.code);
    } else {
      ByteString(id.name);
    }
  }

  void WriteDescriptor(const Descriptor& descriptor) {
    Unicode(descriptor.className);
    WriteId(descriptor.classId);
    U32(uint32_t(descriptor.items.size()));
    for (const Item& item : descriptor.items) {
      WriteId(item.key);
      WriteValue(item.value);
    }
  }

  void WriteEnumerated(const Enumerated& enumerated) {
    WriteId(enumerated.type);
    WriteId(enumerated.value);
  }

  void WriteValue(const Value& value) {
    U32(value.type);
    std::visit([this](const auto& data) { WriteData(data); }, value.data);
  }

  void WriteData(int32_t value) { U32(uint32_t(value)); }
  void WriteData(double value) { Double(value); }
  void WriteData(const UnitDouble& value) {
    U32(value.unit);
    Double(value.value);
  }
  void WriteData(bool value) { Bool(value); }
  void WriteData(const Enumerated& value) { WriteEnumerated(value); }
  void WriteData(const UnicodeString& value) { Unicode(value); }
  void WriteData(const Descriptor& value) { WriteDescriptor(value); }
  void WriteData(const List& list) {
    U32(uint32_t(list.values.size()));
    for (const Value& element : list.values) WriteValue(element);
  }
  void WriteData(const Reference& reference) {
    U32(uint32_t(reference.items.size()));
    for (const ReferenceItem& item : reference.items) {
      U32(item.form);
      Unicode(item.className);
      WriteId(item.classId);
      switch (item.form) {
        case MakeFourCC("Enmr"): WriteEnumerated(item.enumerated); break;
        case MakeFourCC("prop"): WriteId(item.property); break;
        case MakeFourCC("name"): Unicode(item.name); break;
        case MakeFourCC("indx"):
        case MakeFourCC("Idnt"):
        case MakeFourCC("rele"): U32(uint32_t(item.number)); break;
        default: break;  // 'Clss': the class alone
      }
    }
  }
  void WriteData(const ClassValue& value) {
    Unicode(value.name);
    WriteId(value.id);
  }
  void WriteData(int64_t value) { Unsigned(uint64_t(value), 8); }
  void WriteData(const RawBytes& raw) {
    U32(uint32_t(raw.bytes.size()));
    Bytes(raw.bytes.data(), raw.bytes.size());
  }
};

}  // namespace

std::vector<uint8_t> WriteActionFile(const ActionSet& set) {
  Writer out;
  out.U32(kFormatVersion);
  out.Unicode(set.name);
  out.Bool(set.expanded);
  out.U32(uint32_t(set.actions.size()));
  for (const Action& action : set.actions) {
    out.U16(action.functionKey);
    out.Bool(action.shift);
    out.Bool(action.command);
    out.U16(action.colour);
    out.Unicode(action.name);
    out.Bool(action.expanded);
    out.U32(uint32_t(action.events.size()));
    for (const Event& event : action.events) {
      out.Bool(event.expanded);
      out.Bool(event.enabled);
      out.Bool(event.withDialog);
      out.U8(event.dialogOptions);
      if (event.idIsText) {
        out.U32(type::kText);
        out.ByteString(event.textId);
      } else {
        out.U32(type::kInteger);
        out.U32(event.codeId);
      }
      out.ByteString(event.displayName);
      out.U32(event.hasDescriptor ? 0xFFFFFFFFu : 0u);
      if (event.hasDescriptor) out.WriteDescriptor(event.descriptor);
    }
  }
  return std::move(out.bytes);
}

}  // namespace zem::actions
