// The reader decodes every field in order (the format stores no record lengths). Each primitive
// read names what it reads, so the first problem is reported with its offset and its meaning.
#include <cstring>
#include <string>

#include "actions/BinaryFormat.h"
#include "actions/TextForm.h"

namespace zem::actions {
namespace {

// The fewest bytes an element can take, to refuse a count that the bytes left cannot hold before
// any element is read.
constexpr size_t kMinAction = 2 + 1 + 1 + 2 + 4 + 1 + 4;
constexpr size_t kMinEvent = 4 + 4 + 4 + 4 + 4;
constexpr size_t kMinId = 5;
constexpr size_t kMinItem = kMinId + 4 + 1;
constexpr size_t kMinListElement = 4 + 1;
constexpr size_t kMinReferenceItem = 4 + 4 + kMinId;

struct Failure {
  size_t offset;
  std::string message;
};

class Reader {
 public:
  Reader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

  size_t offset() const { return offset_; }
  size_t left() const { return size_ - offset_; }

  [[noreturn]] void Fail(size_t at, const std::string& what) const {
    throw Failure{at, "byte " + std::to_string(at) + ": " + what};
  }

  void Need(uint64_t count, const std::string& what) const {
    if (count > left()) {
      Fail(offset_, what + ": " + std::to_string(count) + (count == 1 ? " byte" : " bytes") + " needed, " +
                        std::to_string(left()) + " left");
    }
  }

  uint64_t Unsigned(int count, const std::string& what) {
    Need(size_t(count), what);
    uint64_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 8) | bytes_[offset_ + size_t(i)];
    offset_ += size_t(count);
    return value;
  }
  uint8_t U8(const std::string& what) { return uint8_t(Unsigned(1, what)); }
  uint16_t U16(const std::string& what) { return uint16_t(Unsigned(2, what)); }
  uint32_t U32(const std::string& what) { return uint32_t(Unsigned(4, what)); }
  int32_t I32(const std::string& what) { return int32_t(U32(what)); }
  FourCC Code(const std::string& what) { return U32(what); }

  bool Bool(const std::string& what) {
    const size_t at = offset_;
    const uint8_t value = U8(what);
    if (value > 1) Fail(at, what + ": a boolean byte is 0 or 1, not " + std::to_string(value));
    return value == 1;
  }

  double Double(const std::string& what) {
    const uint64_t bits = Unsigned(8, what);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

  // A count of elements of at least `minimum` bytes each, checked against the bytes left.
  uint32_t Count(size_t minimum, const std::string& what) {
    const size_t at = offset_;
    const uint32_t count = U32(what);
    if (uint64_t(count) * minimum > left()) {
      Fail(at, what + " is " + std::to_string(count) + ", more than the " + std::to_string(left()) +
                   " bytes left can hold");
    }
    return count;
  }

  std::vector<uint8_t> Bytes(size_t count, const std::string& what) {
    Need(count, what);
    std::vector<uint8_t> bytes(bytes_ + offset_, bytes_ + offset_ + count);
    offset_ += count;
    return bytes;
  }

  std::string ByteString(const std::string& what) {
    const uint32_t length = U32(what + " (its length)");
    Need(length, what);
    std::string text(reinterpret_cast<const char*>(bytes_ + offset_), length);
    offset_ += length;
    return text;
  }

  UnicodeString Unicode(const std::string& what) {
    const size_t at = offset_;
    const uint32_t count = U32(what + " (its length)");
    UnicodeString text;
    if (count == 0) {
      text.countedZero = true;
      return text;
    }
    Need(uint64_t(count) * 2, what);
    for (uint32_t i = 0; i + 1 < count; ++i) text.units += char16_t(U16(what));
    if (U16(what) != 0) Fail(at, what + ": the string's last code unit is not its terminator U+0000");
    return text;
  }

  Id ReadId(const std::string& what) {
    const uint32_t length = U32(what + " (its length)");
    if (length == 0) return Id::Code(Code(what));
    Need(length, what);
    Id id = Id::Named(std::string(reinterpret_cast<const char*>(bytes_ + offset_), length));
    offset_ += length;
    return id;
  }

 private:
  const uint8_t* bytes_;
  size_t size_;
  size_t offset_ = 0;
};

class ActionFileReader {
 public:
  ActionFileReader(const uint8_t* bytes, size_t size) : in_(bytes, size) {}

  ActionSet ReadSet() {
    const uint32_t version = in_.U32("the format version");
    if (version != kFormatVersion) {
      in_.Fail(0, "not an action file of format version 16 (the first word is " + std::to_string(version) + ")");
    }
    ActionSet set;
    set.name = in_.Unicode("the action set's name");
    set.expanded = in_.Bool("the set's expanded flag");
    const uint32_t count = in_.Count(kMinAction, "the number of actions");
    for (uint32_t i = 0; i < count; ++i) set.actions.push_back(ReadAction(i + 1));
    if (in_.left() != 0) {
      in_.Fail(in_.offset(), std::to_string(in_.left()) + " bytes follow the last action, where the file should end");
    }
    return set;
  }

 private:
  Action ReadAction(uint32_t number) {
    const std::string what = "action " + std::to_string(number);
    Action action;
    action.offset = in_.offset();
    action.functionKey = in_.U16(what + ", its function key");
    action.shift = in_.Bool(what + ", its shift flag");
    action.command = in_.Bool(what + ", its command flag");
    action.colour = in_.U16(what + ", its colour");
    action.name = in_.Unicode(what + ", its name");
    const std::string named = "action " + QuotedUnicode(action.name.units);
    action.expanded = in_.Bool(named + ", its expanded flag");
    const uint32_t count = in_.Count(kMinEvent, named + ", its number of events");
    for (uint32_t i = 0; i < count; ++i) action.events.push_back(ReadEvent(named + ", event " + std::to_string(i + 1)));
    return action;
  }

  Event ReadEvent(const std::string& what) {
    Event event;
    event.offset = in_.offset();
    event.expanded = in_.Bool(what + ", its expanded flag");
    event.enabled = in_.Bool(what + ", its enabled flag");
    event.withDialog = in_.Bool(what + ", its dialog flag");
    event.dialogOptions = in_.U8(what + ", its dialog options");
    const size_t formAt = in_.offset();
    const FourCC form = in_.Code(what + ", the form of its ID");
    if (form == type::kText) {
      event.idIsText = true;
      event.textId = in_.ByteString(what + ", its string ID");
    } else if (form == type::kInteger) {
      event.idIsText = false;
      event.codeId = in_.Code(what + ", its event code");
    } else {
      in_.Fail(formAt, what + ": the form of its ID is " + QuotedCode(form) + ", not 'TEXT' or 'long'");
    }
    event.displayName = in_.ByteString(what + ", its display name");
    const size_t flagAt = in_.offset();
    const int32_t flag = in_.I32(what + ", its descriptor flag");
    if (flag != -1 && flag != 0) {
      in_.Fail(flagAt, what + ": the descriptor flag is " + std::to_string(flag) + ", not -1 or 0");
    }
    event.hasDescriptor = flag == -1;
    if (event.hasDescriptor) {
      event.descriptor = ReadDescriptor("the descriptor of " + what + " (" + QuotedBytes(event.displayName) + ")", 1);
    }
    return event;
  }

  void CheckDepth(int depth, const std::string& what) {
    if (depth > kMaxNesting) {
      in_.Fail(in_.offset(), what + ": nested more than " + std::to_string(kMaxNesting) + " levels deep");
    }
  }

  Descriptor ReadDescriptor(const std::string& what, int depth) {
    CheckDepth(depth, what);
    Descriptor descriptor;
    descriptor.className = in_.Unicode(what + ", its class name");
    descriptor.classId = in_.ReadId(what + ", its class ID");
    const uint32_t count = in_.Count(kMinItem, what + ", its number of items");
    for (uint32_t i = 0; i < count; ++i) {
      Item item;
      item.key = in_.ReadId(what + ", the key of item " + std::to_string(i + 1));
      item.value = ReadValue(what + ", item " + std::to_string(i + 1) + " (" + IdText(item.key) + ")", depth);
      descriptor.items.push_back(std::move(item));
    }
    return descriptor;
  }

  static std::string IdText(const Id& id) { return id.isFourCC ? QuotedCode(id.code) : QuotedBytes(id.name); }

  Value ReadValue(const std::string& what, int depth) {
    Value value;
    const size_t typeAt = in_.offset();
    value.type = in_.Code(what + ", its value type");
    switch (value.type) {
      case type::kInteger: value.data = in_.I32(what); break;
      case type::kDouble: value.data = in_.Double(what); break;
      case type::kUnitDouble: {
        UnitDouble unit;
        unit.unit = in_.Code(what + ", its unit");
        unit.value = in_.Double(what);
        value.data = unit;
        break;
      }
      case type::kBoolean: value.data = in_.Bool(what); break;
      case type::kEnumerated: value.data = ReadEnumerated(what); break;
      case type::kText: value.data = in_.Unicode(what); break;
      case type::kObject:
      case type::kGlobalObject: value.data = ReadDescriptor(what, depth + 1); break;
      case type::kList: {
        CheckDepth(depth + 1, what);
        List list;
        const uint32_t count = in_.Count(kMinListElement, what + ", its number of elements");
        for (uint32_t i = 0; i < count; ++i) {
          list.values.push_back(ReadValue(what + ", element " + std::to_string(i + 1), depth + 1));
        }
        value.data = std::move(list);
        break;
      }
      case type::kReference: value.data = ReadReference(what); break;
      case type::kClass:
      case type::kGlobalClass: {
        ClassValue classValue;
        classValue.name = in_.Unicode(what + ", its class name");
        classValue.id = in_.ReadId(what + ", its class ID");
        value.data = std::move(classValue);
        break;
      }
      case type::kLargeInteger: value.data = int64_t(in_.Unsigned(8, what)); break;
      case type::kRawData:
      case type::kAlias:
      case type::kPath: {
        const uint32_t size = in_.U32(what + ", its byte count");
        value.data = RawBytes{in_.Bytes(size, what)};
        break;
      }
      default:
        in_.Fail(typeAt, what + ": unknown value type " + QuotedCode(value.type));
    }
    return value;
  }

  Enumerated ReadEnumerated(const std::string& what) {
    Enumerated enumerated;
    enumerated.type = in_.ReadId(what + ", its enumeration type");
    enumerated.value = in_.ReadId(what + ", its enumeration value");
    return enumerated;
  }

  Reference ReadReference(const std::string& what) {
    Reference reference;
    const uint32_t count = in_.Count(kMinReferenceItem, what + ", its number of reference items");
    for (uint32_t i = 0; i < count; ++i) {
      const std::string part = what + ", reference item " + std::to_string(i + 1);
      ReferenceItem item;
      const size_t formAt = in_.offset();
      item.form = in_.Code(part + ", its form");
      item.className = in_.Unicode(part + ", its class name");
      item.classId = in_.ReadId(part + ", its class ID");
      switch (item.form) {
        case MakeFourCC("Enmr"): item.enumerated = ReadEnumerated(part); break;
        case MakeFourCC("prop"): item.property = in_.ReadId(part + ", its property"); break;
        case MakeFourCC("Clss"): break;
        case MakeFourCC("name"): item.name = in_.Unicode(part + ", its name"); break;
        case MakeFourCC("indx"):
        case MakeFourCC("Idnt"): item.number = in_.U32(part + ", its number"); break;
        case MakeFourCC("rele"): item.number = in_.I32(part + ", its offset"); break;
        default:
          in_.Fail(formAt, part + ": unknown reference form " + QuotedCode(item.form));
      }
      reference.items.push_back(std::move(item));
    }
    return reference;
  }

  Reader in_;
};

}  // namespace

bool ReadActionFile(const uint8_t* bytes, size_t size, ActionSet& set, ReadError& error) {
  try {
    ActionFileReader reader(bytes, size);
    set = reader.ReadSet();
    return true;
  } catch (const Failure& failure) {
    error.offset = failure.offset;
    error.message = failure.message;
    return false;
  }
}

}  // namespace zem::actions
