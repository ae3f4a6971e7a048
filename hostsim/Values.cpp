#include "hostsim/Values.h"

#include <cstdio>
#include <cstdlib>

namespace hostsim {

Value Value::Integer(int32_t value) {
  Value v;
  v.kind = Kind::Integer;
  v.integer = value;
  return v;
}

Value Value::UnitFloat(uint32_t unit, double value) {
  Value v;
  v.kind = Kind::UnitFloat;
  v.type = unit;
  v.number = value;
  return v;
}

Value Value::Boolean(bool value) {
  Value v;
  v.kind = Kind::Boolean;
  v.flag = value;
  return v;
}

Value Value::Enumerated(uint32_t type, uint32_t value) {
  Value v;
  v.kind = Kind::Enumerated;
  v.type = type;
  v.enumValue = value;
  return v;
}

Value Value::Object(uint32_t objectClass, const Descriptor& value) {
  Value v;
  v.kind = Kind::Object;
  v.type = objectClass;
  v.object = std::make_shared<const Descriptor>(value);
  return v;
}

Value Value::ListOf(const List& value) {
  Value v;
  v.kind = Kind::List;
  v.list = std::make_shared<const List>(value);
  return v;
}

Value Value::ReferenceTo(const Reference& value) {
  Value v;
  v.kind = Kind::Reference;
  v.reference = std::make_shared<const Reference>(value);
  return v;
}

Value Value::Alias(const std::string& path) {
  Value v;
  v.kind = Kind::Alias;
  v.path = path;
  return v;
}

void Descriptor::Put(uint32_t key, Value value) {
  for (auto& entry : entries) {
    if (entry.first == key) {
      entry.second = std::move(value);
      return;
    }
  }
  entries.emplace_back(key, std::move(value));
}

const Value* Descriptor::Find(uint32_t key) const {
  for (const auto& entry : entries) {
    if (entry.first == key) return &entry.second;
  }
  return nullptr;
}

std::string CodeText(uint32_t code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = static_cast<char>((code >> shift) & 0xFF);
    text += (c >= 0x20 && c < 0x7F) ? c : '?';
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// The shortest fixed-point text that reads back as the same double: 500.5, 1000, 0.1.
std::string NumberText(double value) {
  char buffer[400];
  for (int decimals = 0; decimals <= 17; ++decimals) {
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    if (std::strtod(buffer, nullptr) == value) break;
  }
  return buffer;
}

std::string ToText(const Value& value) {
  switch (value.kind) {
    case Value::Kind::Integer:
      return std::to_string(value.integer);
    case Value::Kind::UnitFloat:
      return NumberText(value.number) + CodeText(value.type);
    case Value::Kind::Boolean:
      return value.flag ? "true" : "false";
    case Value::Kind::Enumerated:
      return "enum(" + CodeText(value.type) + "," + CodeText(value.enumValue) + ")";
    case Value::Kind::Object:
      return CodeText(value.type) + "{" + ToText(*value.object) + "}";
    case Value::Kind::List:
      return ToText(*value.list);
    case Value::Kind::Reference:
      return ToText(*value.reference);
    case Value::Kind::Alias:
      return "alias(" + value.path + ")";
  }
  return "?";
}

std::string ToText(const Descriptor& descriptor) {
  std::string text;
  for (const auto& entry : descriptor.entries) {
    if (!text.empty()) text += ' ';
    text += CodeText(entry.first) + "=" + ToText(entry.second);
  }
  return text;
}

std::string ToText(const List& list) {
  std::string text = "list(";
  for (size_t i = 0; i < list.items.size(); ++i) {
    if (i > 0) text += ", ";
    text += ToText(list.items[i]);
  }
  return text + ")";
}

std::string ToText(const Reference& reference) {
  std::string text = "[";
  for (size_t i = 0; i < reference.elements.size(); ++i) {
    const ReferenceElement& element = reference.elements[i];
    if (i > 0) text += ", ";
    text += CodeText(element.desiredClass);
    switch (element.form) {
      case ReferenceElement::Form::Name:
        text += "=\"" + element.name + "\"";
        break;
      case ReferenceElement::Form::Enumerated:
        text += "(" + CodeText(element.enumType) + "," + CodeText(element.enumValue) + ")";
        break;
      case ReferenceElement::Form::Property:
        text += "." + CodeText(element.property);
        break;
    }
  }
  return text + "]";
}

}  // namespace hostsim
