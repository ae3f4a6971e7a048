// The contents of a Photoshop action file: a set of actions, each a list of recorded events, each
// event with its descriptor of typed values. Every value type of the format is kept as read, so
// that a file read and written again gives the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace zem::actions {

// A four-character code, its first character in the most significant byte ('setd' is 0x73657464).
using FourCC = uint32_t;

constexpr FourCC MakeFourCC(const char (&text)[5]) {
  return (FourCC(uint8_t(text[0])) << 24) | (FourCC(uint8_t(text[1])) << 16) | (FourCC(uint8_t(text[2])) << 8) |
         FourCC(uint8_t(text[3]));
}

// A key, class, enumeration type or value: a four-character code or a string ID.
struct Id {
  bool isFourCC = true;
  FourCC code = 0;   // when isFourCC
  std::string name;  // otherwise: the string ID's bytes

  static Id Code(FourCC code) { return Id{true, code, {}}; }
  static Id Named(std::string name) { return Id{false, 0, std::move(name)}; }
  bool Is(FourCC other) const { return isFourCC && code == other; }
  bool Is(const char* other) const { return !isFourCC && name == other; }
  bool operator==(const Id& other) const {
    return isFourCC == other.isFourCC && (isFourCC ? code == other.code : name == other.name);
  }
};

// A counted UTF-16 string, kept without its terminator. `countedZero` marks the empty string
// stored with a count of 0 instead of 1, as some writers do inside references.
struct UnicodeString {
  std::u16string units;
  bool countedZero = false;

  bool operator==(const UnicodeString& other) const {
    return units == other.units && countedZero == other.countedZero;
  }
};

struct Value;
struct Item;

// A descriptor: its class (name and ID) and its keyed items, in file order.
struct Descriptor {
  UnicodeString className;
  Id classId;
  std::vector<Item> items;

  // The value under `key`, or null.
  const Value* Find(const Id& key) const;
};

struct UnitDouble {
  FourCC unit = 0;  // '#Prc', '#Pxl', '#Ang', ...
  double value = 0;
};

struct Enumerated {
  Id type;
  Id value;
};

struct ClassValue {
  UnicodeString name;
  Id id;
};

struct List {
  std::vector<Value> values;
};

// One item of a reference: a class, and how the object of that class is picked.
struct ReferenceItem {
  FourCC form = 0;  // 'Enmr', 'prop', 'Clss', 'name', 'indx', 'Idnt', 'rele'
  UnicodeString className;
  Id classId;
  Enumerated enumerated;  // 'Enmr'
  Id property;            // 'prop'
  UnicodeString name;     // 'name'
  int64_t number = 0;     // 'indx', 'Idnt' (unsigned 32 bits), 'rele' (signed 32 bits)
};

struct Reference {
  std::vector<ReferenceItem> items;
};

// Bytes the format does not interpret: raw data ('tdta'), a Mac alias ('alis'), a file path
// ('Pth ', kept whole after its size).
struct RawBytes {
  std::vector<uint8_t> bytes;
};

namespace type {
constexpr FourCC kInteger = MakeFourCC("long");
constexpr FourCC kDouble = MakeFourCC("doub");
constexpr FourCC kUnitDouble = MakeFourCC("UntF");
constexpr FourCC kBoolean = MakeFourCC("bool");
constexpr FourCC kEnumerated = MakeFourCC("enum");
constexpr FourCC kText = MakeFourCC("TEXT");
constexpr FourCC kObject = MakeFourCC("Objc");
constexpr FourCC kGlobalObject = MakeFourCC("GlbO");
constexpr FourCC kList = MakeFourCC("VlLs");
constexpr FourCC kReference = MakeFourCC("obj ");
constexpr FourCC kClass = MakeFourCC("type");
constexpr FourCC kGlobalClass = MakeFourCC("GlbC");
constexpr FourCC kLargeInteger = MakeFourCC("comp");
constexpr FourCC kRawData = MakeFourCC("tdta");
constexpr FourCC kAlias = MakeFourCC("alis");
constexpr FourCC kPath = MakeFourCC("Pth ");
}  // namespace type

// A typed value. `type` is the OSType as stored; it picks the alternative of `data` (the two
// descriptor types share Descriptor, the two class types ClassValue, the three byte types RawBytes).
struct Value {
  FourCC type = type::kInteger;
  std::variant<int32_t, double, UnitDouble, bool, Enumerated, UnicodeString, Descriptor, List, Reference, ClassValue,
               int64_t, RawBytes>
      data;
};

struct Item {
  Id key;
  Value value;
};

// How the event identifies its command: a string ID ('TEXT' form) or a four-character code.
struct Event {
  bool expanded = false;
  bool enabled = true;
  bool withDialog = false;
  uint8_t dialogOptions = 0;  // 0 optional, 1 always, 2 never, 3 special
  bool idIsText = true;
  std::string textId;  // 'TEXT' form: "colorBalance"
  FourCC codeId = 0;   // 'long' form: 'ClrB'
  std::string displayName;
  bool hasDescriptor = true;
  Descriptor descriptor;
  size_t offset = 0;  // where the event starts in the file it was read from
};

struct Action {
  uint16_t functionKey = 0;
  bool shift = false;
  bool command = false;
  uint16_t colour = 0;
  UnicodeString name;
  bool expanded = false;
  std::vector<Event> events;
  size_t offset = 0;
};

struct ActionSet {
  UnicodeString name;
  bool expanded = false;
  std::vector<Action> actions;
};

constexpr uint32_t kFormatVersion = 16;

// Conversions between a UTF-16 string and UTF-8 (unpaired surrogates become U+FFFD in UTF-8).
std::string ToUtf8(const std::u16string& units);
std::u16string FromUtf8(const std::string& text);

// A four-character code as text, with its spaces: "ClrB", "Gmm ".
std::string FourCCText(FourCC code);

}  // namespace zem::actions
