#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "actions/TextForm.h"
#include "actions/TextSyntax.h"

namespace zem::actions {
namespace {

const char kHexDigits[] = "0123456789abcdef";

void AppendHexByte(std::string& out, uint8_t byte) {
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 15];
}

void AppendEscapedByte(std::string& out, uint8_t byte, char quote) {
  if (byte == uint8_t(quote) || byte == '\\') {
    out += '\\';
    out += char(byte);
  } else if (byte >= 0x20 && byte < 0x7F) {
    out += char(byte);
  } else {
    out += "\\x";
    AppendHexByte(out, byte);
  }
}

}  // namespace

std::string QuotedBytes(const std::string& bytes) {
  std::string out = "\"";
  for (char c : bytes) AppendEscapedByte(out, uint8_t(c), '"');
  return out + '"';
}

std::string QuotedCode(FourCC code) {
  std::string out = "'";
  for (char c : FourCCText(code)) AppendEscapedByte(out, uint8_t(c), '\'');
  return out + '\'';
}

std::string QuotedUnicode(const std::u16string& units) {
  std::string out = "\"";
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    const bool high = unit >= 0xD800 && unit < 0xDC00;
    const bool pairs = high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000;
    if (unit == '"' || unit == '\\') {
      out += '\\';
      out += char(unit);
    } else if (unit < 0x20 || unit == 0x7F || (unit >= 0xD800 && unit < 0xE000 && !pairs)) {
      out += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) out += kHexDigits[(unit >> shift) & 15];
    } else {
      out += ToUtf8(units.substr(i, pairs ? 2 : 1));
      if (pairs) ++i;
    }
  }
  return out + '"';
}

namespace {

class TextWriter {
 public:
  std::string out;

  void ByteString(const std::string& bytes) { out += QuotedBytes(bytes); }
  void Code(FourCC code) { out += QuotedCode(code); }

  void Unicode(const UnicodeString& text) {
    out += QuotedUnicode(text.units);
    if (text.countedZero && text.units.empty()) out += '0';
  }

  void StringId(const std::string& name) {
    const bool plain = !name.empty() && text::IsWordStart(name[0]) && !text::IsKeyword(name) &&
                       std::all_of(name.begin(), name.end(), text::IsWordChar);
    if (plain) {
      out += name;
    } else {
      out += '$';
      ByteString(name);
    }
  }

  void WriteId(const Id& id) {
    if (id.isFourCC) {
      Code(id.code);
    } else {
      StringId(id.name);
    }
  }

  void Integer(int64_t value) { out += std::to_string(value); }

  void Double(double value) {
    if (!std::isfinite(value)) {
      uint64_t bits;
      std::memcpy(&bits, &value, sizeof bits);
      out += "double(0x";
      for (int shift = 60; shift >= 0; shift -= 4) out += kHexDigits[(bits >> shift) & 15];
      out += ')';
      return;
    }
    char buffer[64];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    const std::string digits(buffer, result.ptr);
    out += digits;
    if (digits.find_first_of(".e") == std::string::npos) out += ".0";
  }

  void Bytes(const std::vector<uint8_t>& bytes) {
    for (uint8_t byte : bytes) AppendHexByte(out, byte);
  }

  // The class and items of a descriptor; `impliedName` is the class name that goes unsaid.
  void Descriptor(const struct Descriptor& descriptor, const UnicodeString& impliedName) {
    if (!(descriptor.className == impliedName)) {
      Unicode(descriptor.className);
      out += ' ';
    }
    WriteId(descriptor.classId);
    out += " {";
    for (size_t i = 0; i < descriptor.items.size(); ++i) {
      if (i > 0) out += ", ";
      WriteId(descriptor.items[i].key);
      out += ": ";
      WriteValue(descriptor.items[i].value);
    }
    out += '}';
  }

  void Enumerated(const struct Enumerated& enumerated) {
    WriteId(enumerated.type);
    out += '.';
    WriteId(enumerated.value);
  }

  void WriteValue(const Value& value) {
    switch (value.type) {
      case type::kInteger: Integer(std::get<int32_t>(value.data)); return;
      case type::kDouble: Double(std::get<double>(value.data)); return;
      case type::kUnitDouble: {
        const UnitDouble& unit = std::get<UnitDouble>(value.data);
        Double(unit.value);
        out += ' ';
        Code(unit.unit);
        return;
      }
      case type::kBoolean: out += std::get<bool>(value.data) ? "true" : "false"; return;
      case type::kEnumerated: Enumerated(std::get<struct Enumerated>(value.data)); return;
      case type::kText: Unicode(std::get<UnicodeString>(value.data)); return;
      case type::kObject:
      case type::kGlobalObject:
        if (value.type == type::kGlobalObject) out += "global ";
        Descriptor(std::get<struct Descriptor>(value.data), UnicodeString{});
        return;
      case type::kList: {
        const List& list = std::get<List>(value.data);
        out += '[';
        for (size_t i = 0; i < list.values.size(); ++i) {
          if (i > 0) out += ", ";
          WriteValue(list.values[i]);
        }
        out += ']';
        return;
      }
      case type::kReference: Reference(std::get<struct Reference>(value.data)); return;
      case type::kClass:
      case type::kGlobalClass: {
        const ClassValue& classValue = std::get<ClassValue>(value.data);
        out += value.type == type::kClass ? "class(" : "globalclass(";
        ClassOf(classValue.name, classValue.id);
        out += ')';
        return;
      }
      case type::kLargeInteger:
        out += "comp(";
        Integer(std::get<int64_t>(value.data));
        out += ')';
        return;
      default:
        for (const text::CodeWord& raw : text::kRawTypes) {
          if (raw.code == value.type) out += raw.word;
        }
        out += '(';
        Bytes(std::get<RawBytes>(value.data).bytes);
        out += ')';
        return;
    }
  }

  void ClassOf(const UnicodeString& name, const Id& id) {
    if (!(name == UnicodeString{})) {
      Unicode(name);
      out += ' ';
    }
    WriteId(id);
  }

  void Reference(const struct Reference& reference) {
    out += "ref(";
    for (size_t i = 0; i < reference.items.size(); ++i) {
      const ReferenceItem& item = reference.items[i];
      if (i > 0) out += ", ";
      ClassOf(item.className, item.classId);
      for (const text::CodeWord& form : text::kReferenceForms) {
        if (form.code == item.form) {
          out += ' ';
          out += form.word;
        }
      }
      switch (item.form) {
        case MakeFourCC("Enmr"):
          out += ' ';
          Enumerated(item.enumerated);
          break;
        case MakeFourCC("prop"):
          out += ' ';
          WriteId(item.property);
          break;
        case MakeFourCC("name"):
          out += ' ';
          Unicode(item.name);
          break;
        case MakeFourCC("indx"):
        case MakeFourCC("Idnt"):
        case MakeFourCC("rele"):
          out += ' ';
          Integer(item.number);
          break;
        default: break;
      }
    }
    out += ')';
  }

  void Event(const struct Event& event) {
    out += "  event ";
    if (event.idIsText) {
      StringId(event.textId);
    } else {
      Code(event.codeId);
    }
    out += ' ';
    ByteString(event.displayName);
    if (event.expanded) out += " expanded";
    if (!event.enabled) out += " disabled";
    if (event.withDialog) out += " dialog";
    if (event.dialogOptions != 0) out += " options " + std::to_string(event.dialogOptions);
    out += ' ';
    if (event.hasDescriptor) {
      // Photoshop names an event's descriptor after the event's display name.
      UnicodeString displayName;
      for (char c : event.displayName) displayName.units += char16_t(uint8_t(c));
      Descriptor(event.descriptor, displayName);
    } else {
      out += "none";
    }
    out += '\n';
  }
};

}  // namespace

std::string WriteActionText(const ActionSet& set) {
  TextWriter writer;
  writer.out += "# A Photoshop action set, one event a line (atn to-text, atn from-text).\n";
  writer.out += "set ";
  writer.Unicode(set.name);
  if (set.expanded) writer.out += " expanded";
  writer.out += '\n';
  for (const Action& action : set.actions) {
    writer.out += "action ";
    writer.Unicode(action.name);
    if (action.functionKey != 0) writer.out += " fkey " + std::to_string(action.functionKey);
    if (action.shift) writer.out += " shift";
    if (action.command) writer.out += " command";
    if (action.colour != 0) writer.out += " colour " + std::to_string(action.colour);
    if (action.expanded) writer.out += " expanded";
    writer.out += '\n';
    for (const Event& event : action.events) writer.Event(event);
  }
  return std::move(writer.out);
}

}  // namespace zem::actions
