// The host's data model: descriptors, lists and references as real values. Putting a descriptor,
// list or reference into another object copies it, as the host does, so later changes to the
// original do not reach the copy.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace hostsim {

struct Descriptor;
struct List;
struct Reference;

struct Value {
  enum class Kind { Integer, UnitFloat, Boolean, Enumerated, Object, List, Reference, Alias };

  Kind kind = Kind::Integer;
  int32_t integer = 0;
  double number = 0;
  bool flag = false;
  uint32_t type = 0;  // unit, enumeration type or object class
  uint32_t enumValue = 0;
  std::shared_ptr<const Descriptor> object;
  std::shared_ptr<const List> list;
  std::shared_ptr<const Reference> reference;
  std::string path;  // an alias's file, the bytes the plug-in's handle held

  static Value Integer(int32_t value);
  static Value UnitFloat(uint32_t unit, double value);
  static Value Boolean(bool value);
  static Value Enumerated(uint32_t type, uint32_t value);
  static Value Object(uint32_t objectClass, const Descriptor& value);
  static Value ListOf(const List& value);
  static Value ReferenceTo(const Reference& value);
  static Value Alias(const std::string& path);
};

struct Descriptor {
  std::vector<std::pair<uint32_t, Value>> entries;

  // A key put twice keeps its first position and takes the new value.
  void Put(uint32_t key, Value value);
  const Value* Find(uint32_t key) const;
};

struct List {
  std::vector<Value> items;
};

struct ReferenceElement {
  enum class Form { Name, Enumerated, Property };

  Form form = Form::Name;
  uint32_t desiredClass = 0;
  std::string name;
  uint32_t enumType = 0;
  uint32_t enumValue = 0;
  uint32_t property = 0;
};

struct Reference {
  std::vector<ReferenceElement> elements;
};

// The canonical text of the event log: four-character codes with their trailing spaces dropped,
// e.g. "null=[Chnl.fsel] T=enum(Ordn,None)".
std::string CodeText(uint32_t code);
std::string NumberText(double value);
std::string ToText(const Value& value);
std::string ToText(const Descriptor& descriptor);
std::string ToText(const List& list);
std::string ToText(const Reference& reference);

}  // namespace hostsim
