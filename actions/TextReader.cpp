// A recursive-descent reader over one line at a time; every line is read once, so the whole text
// takes time linear in its length.
#include <charconv>
#include <cstring>

#include "actions/BinaryFormat.h"
#include "actions/DecimalDouble.h"
#include "actions/TextForm.h"
#include "actions/TextSyntax.h"

namespace zem::actions {
namespace {

struct Failure {
  size_t column;
  std::string message;
};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class LineReader {
 public:
  explicit LineReader(const std::string& line) : line_(line) {}

  [[noreturn]] void Fail(const std::string& message) const { throw Failure{pos_, message}; }

  void SkipSpaces() {
    while (pos_ < line_.size() && (line_[pos_] == ' ' || line_[pos_] == '\t')) ++pos_;
  }
  bool AtEnd() {
    SkipSpaces();
    return pos_ == line_.size();
  }
  char Peek() {
    SkipSpaces();
    return pos_ < line_.size() ? line_[pos_] : '\0';
  }
  bool Accept(char c) {
    if (Peek() != c) return false;
    ++pos_;
    return true;
  }
  void Expect(char c, const char* what) {
    if (!Accept(c)) Fail(std::string("expected '") + c + "' " + what);
  }
  void ExpectEnd() {
    if (!AtEnd()) Fail("unexpected text at the end of the line");
  }

  // A bare word, or empty when none starts here.
  std::string PeekWord() {
    SkipSpaces();
    size_t end = pos_;
    if (end < line_.size() && text::IsWordStart(line_[end])) {
      while (end < line_.size() && text::IsWordChar(line_[end])) ++end;
    }
    return line_.substr(pos_, end - pos_);
  }
  bool AcceptWord(const char* word) {
    SkipSpaces();
    const size_t length = std::strlen(word);
    if (line_.compare(pos_, length, word) != 0) return false;
    if (pos_ + length < line_.size() && text::IsWordChar(line_[pos_ + length])) return false;
    pos_ += length;
    return true;
  }

  // The body of a quoted literal, its escapes resolved into bytes; \uXXXX only where `units` is
  // given, which then receives the code units in order (UTF-8 runs are decoded by the caller).
  std::string Quoted(char quote, std::u16string* units) {
    if (!Accept(quote)) Fail(std::string("expected a ") + (quote == '"' ? "string" : "four-character code"));
    const size_t start = pos_ - 1;
    std::string bytes;
    std::string run;  // raw UTF-8 not yet converted into `units`
    auto flush = [&] {
      if (units == nullptr || run.empty()) return;
      const std::u16string converted = FromUtf8(run);
      if (ToUtf8(converted) != run) {
        pos_ = start;
        Fail("the string is not valid UTF-8");
      }
      *units += converted;
      run.clear();
    };
    while (true) {
      if (pos_ >= line_.size()) Fail("the quoted text is not closed");
      const char c = line_[pos_++];
      if (c == quote) break;
      if (c != '\\') {
        bytes += c;
        run += c;
        continue;
      }
      if (pos_ >= line_.size()) Fail("the quoted text is not closed");
      const char escape = line_[pos_++];
      if (escape == quote || escape == '\\') {
        bytes += escape;
        run += escape;
      } else if (escape == 'x' && units == nullptr) {
        bytes += char(HexNumber(2));
      } else if (escape == 'u' && units != nullptr) {
        flush();
        *units += char16_t(HexNumber(4));
      } else {
        pos_ -= 2;
        // The character after the backslash is the file's; quoted escaped, it is text whatever it is.
        const std::string after = QuotedBytes(std::string(1, escape));
        Fail("unknown escape \\" + after.substr(1, after.size() - 2));
      }
    }
    flush();
    return bytes;
  }

  uint32_t HexNumber(int digits) {
    uint32_t value = 0;
    for (int i = 0; i < digits; ++i) {
      const int digit = pos_ < line_.size() ? HexValue(line_[pos_]) : -1;
      if (digit < 0) Fail("expected " + std::to_string(digits) + " hexadecimal digits");
      value = value * 16 + uint32_t(digit);
      ++pos_;
    }
    return value;
  }

  std::string ByteString() { return Quoted('"', nullptr); }

  UnicodeString Unicode() {
    UnicodeString text;
    Quoted('"', &text.units);
    if (text.units.empty() && pos_ < line_.size() && line_[pos_] == '0') {
      ++pos_;
      text.countedZero = true;
    }
    return text;
  }

  FourCC Code() {
    const size_t start = (SkipSpaces(), pos_);
    const std::string bytes = Quoted('\'', nullptr);
    if (bytes.size() != 4) {
      pos_ = start;
      Fail("a four-character code has exactly four characters");
    }
    FourCC code = 0;
    for (char c : bytes) code = (code << 8) | uint8_t(c);
    return code;
  }

  bool AtId() {
    const char c = Peek();
    return c == '\'' || c == '$' || (text::IsWordStart(c) && !text::IsKeyword(PeekWord()));
  }

  // A string ID: a bare word or $"...".
  std::string StringId(bool allowEmpty) {
    if (Accept('$')) {
      std::string name = ByteString();
      if (name.empty() && !allowEmpty) Fail("a string ID is not empty");
      return name;
    }
    const std::string word = PeekWord();
    if (word.empty() || text::IsKeyword(word)) Fail("expected an ID: a 'code' or a string ID");
    pos_ += word.size();
    return word;
  }

  Id ReadId() {
    if (Peek() == '\'') return Id::Code(Code());
    return Id::Named(StringId(false));
  }

  // A number as written: digits with an optional sign, fraction and exponent.
  std::string NumberText() {
    SkipSpaces();
    const size_t start = pos_;
    auto digits = [&] {
      const size_t from = pos_;
      while (pos_ < line_.size() && line_[pos_] >= '0' && line_[pos_] <= '9') ++pos_;
      return pos_ > from;
    };
    if (pos_ < line_.size() && (line_[pos_] == '-' || line_[pos_] == '+')) ++pos_;
    if (!digits()) Fail("expected a number");
    if (pos_ < line_.size() && line_[pos_] == '.') {
      ++pos_;
      if (!digits()) Fail("expected digits after the decimal point");
    }
    if (pos_ < line_.size() && (line_[pos_] == 'e' || line_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < line_.size() && (line_[pos_] == '-' || line_[pos_] == '+')) ++pos_;
      if (!digits()) Fail("expected digits in the exponent");
    }
    return line_.substr(start, pos_ - start);
  }

  int64_t Integer(int64_t lowest, int64_t highest, const char* what) {
    const size_t start = (SkipSpaces(), pos_);
    std::string digits = NumberText();
    if (digits.find_first_of(".eE") != std::string::npos) {
      pos_ = start;
      Fail(std::string(what) + " is a whole number");
    }
    if (digits[0] == '+') digits.erase(0, 1);
    int64_t value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc() || value < lowest || value > highest) {
      pos_ = start;
      Fail(std::string(what) + " must lie between " + std::to_string(lowest) + " and " + std::to_string(highest));
    }
    return value;
  }

  std::vector<uint8_t> HexBytes() {
    std::vector<uint8_t> bytes;
    SkipSpaces();
    while (pos_ < line_.size() && HexValue(line_[pos_]) >= 0) bytes.push_back(uint8_t(HexNumber(2)));
    return bytes;
  }

  // The items of a descriptor nested `level` deep (an event's own descriptor is level 1).
  void ReadItems(Descriptor& descriptor, int level) {
    CheckDepth(level);
    Expect('{', "to open the descriptor's items");
    if (Accept('}')) return;
    do {
      Item item;
      item.key = ReadId();
      Expect(':', "after the key");
      item.value = ReadValue(level);
      descriptor.items.push_back(std::move(item));
    } while (Accept(','));
    Expect('}', "to close the descriptor's items");
  }

  // A nested descriptor: its class name when it has one, its class ID, its items.
  Descriptor ReadDescriptor(int level) {
    Descriptor descriptor;
    if (Peek() == '"') descriptor.className = Unicode();
    descriptor.classId = ReadId();
    ReadItems(descriptor, level);
    return descriptor;
  }

  Enumerated ReadEnumeratedAfterType(Id type) {
    Enumerated enumerated;
    enumerated.type = std::move(type);
    Expect('.', "between the enumeration's type and value");
    enumerated.value = ReadId();
    return enumerated;
  }

  void CheckDepth(int level) {
    if (level > kMaxNesting) Fail("nested more than " + std::to_string(kMaxNesting) + " levels deep");
  }

  ClassValue ReadClass() {
    Expect('(', "after the class keyword");
    ClassValue classValue;
    if (Peek() == '"') classValue.name = Unicode();
    classValue.id = ReadId();
    Expect(')', "to close the class");
    return classValue;
  }

  // A value inside a container nested `level` deep.
  Value ReadValue(int level) {
    Value value;
    const char c = Peek();
    if (c == '[') {
      ++pos_;
      CheckDepth(level + 1);
      value.type = type::kList;
      List list;
      if (!Accept(']')) {
        do list.values.push_back(ReadValue(level + 1));
        while (Accept(','));
        Expect(']', "to close the list");
      }
      value.data = std::move(list);
      return value;
    }
    if (c == '-' || c == '+' || (c >= '0' && c <= '9')) return ReadNumber();
    if (c == '"') {
      UnicodeString text = Unicode();
      if (!AtId()) {
        value.type = type::kText;
        value.data = std::move(text);
        return value;
      }
      value.type = type::kObject;
      Descriptor descriptor;
      descriptor.className = std::move(text);
      descriptor.classId = ReadId();
      ReadItems(descriptor, level + 1);
      value.data = std::move(descriptor);
      return value;
    }
    const bool isTrue = AcceptWord("true");
    if (isTrue || AcceptWord("false")) {
      value.type = type::kBoolean;
      value.data = isTrue;
      return value;
    }
    if (AcceptWord("global")) {
      value.type = type::kGlobalObject;
      value.data = ReadDescriptor(level + 1);
      return value;
    }
    if (AcceptWord("ref")) {
      value.type = type::kReference;
      value.data = ReadReference();
      return value;
    }
    if (AcceptWord("class")) {
      value.type = type::kClass;
      value.data = ReadClass();
      return value;
    }
    if (AcceptWord("globalclass")) {
      value.type = type::kGlobalClass;
      value.data = ReadClass();
      return value;
    }
    if (AcceptWord("comp")) {
      value.type = type::kLargeInteger;
      Expect('(', "after comp");
      value.data = Integer(INT64_MIN, INT64_MAX, "a comp value");
      Expect(')', "to close comp");
      return value;
    }
    if (AcceptWord("double")) {
      Expect('(', "after double");
      if (!(Accept('0') && pos_ < line_.size() && line_[pos_] == 'x')) Fail("expected the double's bits as 0x...");
      ++pos_;
      const uint64_t high = HexNumber(8);
      const uint64_t bits = (high << 32) | HexNumber(8);
      double number;
      std::memcpy(&number, &bits, sizeof number);
      Expect(')', "to close double");
      return DoubleWithUnit(number);
    }
    for (const text::CodeWord& raw : text::kRawTypes) {
      if (AcceptWord(raw.word)) {
        value.type = raw.code;
        Expect('(', "before the hexadecimal bytes");
        value.data = RawBytes{HexBytes()};
        Expect(')', "after the hexadecimal bytes");
        return value;
      }
    }
    if (!AtId()) Fail("expected a value");
    Id id = ReadId();
    if (Peek() == '.') {
      value.type = type::kEnumerated;
      value.data = ReadEnumeratedAfterType(std::move(id));
      return value;
    }
    value.type = type::kObject;
    Descriptor descriptor;
    descriptor.classId = std::move(id);
    ReadItems(descriptor, level + 1);
    value.data = std::move(descriptor);
    return value;
  }

  Value ReadNumber() {
    const size_t start = (SkipSpaces(), pos_);
    const std::string number = NumberText();
    Value value;
    const bool whole = number.find_first_of(".eE") == std::string::npos;
    if (whole && Peek() != '\'') {
      pos_ = start;
      value.type = type::kInteger;
      value.data = int32_t(Integer(INT32_MIN, INT32_MAX, "a long value"));
      return value;
    }
    double parsed = 0;
    if (ReadDecimalDouble(number, parsed) != DecimalResult::kOk) {
      pos_ = start;
      Fail("the number " + number + " is out of range for a double");
    }
    return DoubleWithUnit(parsed);
  }

  // A double, written as digits or as its bits, followed by its unit when it has one.
  Value DoubleWithUnit(double number) {
    Value value;
    if (Peek() == '\'') {
      value.type = type::kUnitDouble;
      UnitDouble unit;
      unit.value = number;
      unit.unit = Code();
      value.data = unit;
    } else {
      value.type = type::kDouble;
      value.data = number;
    }
    return value;
  }

  Reference ReadReference() {
    Reference reference;
    Expect('(', "after ref");
    if (Accept(')')) return reference;
    do {
      ReferenceItem item;
      if (Peek() == '"') item.className = Unicode();
      item.classId = ReadId();
      const std::string word = PeekWord();
      const text::CodeWord* form = nullptr;
      for (const text::CodeWord& candidate : text::kReferenceForms) {
        if (word == candidate.word) form = &candidate;
      }
      if (form == nullptr) Fail("expected a reference form: enum, prop, class, name, index, id or offset");
      pos_ += word.size();
      item.form = form->code;
      switch (item.form) {
        case MakeFourCC("Enmr"): item.enumerated = ReadEnumeratedAfterType(ReadId()); break;
        case MakeFourCC("prop"): item.property = ReadId(); break;
        case MakeFourCC("name"): item.name = Unicode(); break;
        case MakeFourCC("indx"):
        case MakeFourCC("Idnt"): item.number = Integer(0, UINT32_MAX, "an index or ID"); break;
        case MakeFourCC("rele"): item.number = Integer(INT32_MIN, INT32_MAX, "a relative offset"); break;
        default: break;
      }
      reference.items.push_back(std::move(item));
    } while (Accept(','));
    Expect(')', "to close the reference");
    return reference;
  }

  void ReadEvent(Event& event) {
    if (Peek() == '\'') {
      event.idIsText = false;
      event.codeId = Code();
    } else {
      event.idIsText = true;
      event.textId = StringId(true);
    }
    event.displayName = ByteString();
    while (true) {
      if (AcceptWord("expanded")) {
        event.expanded = true;
      } else if (AcceptWord("disabled")) {
        event.enabled = false;
      } else if (AcceptWord("dialog")) {
        event.withDialog = true;
      } else if (AcceptWord("options")) {
        event.dialogOptions = uint8_t(Integer(0, 255, "the dialog options"));
      } else {
        break;
      }
    }
    if (AcceptWord("none")) {
      event.hasDescriptor = false;
    } else {
      if (Peek() == '"') {
        event.descriptor.className = Unicode();
      } else {
        for (char c : event.displayName) event.descriptor.className.units += char16_t(uint8_t(c));
      }
      event.descriptor.classId = ReadId();
      ReadItems(event.descriptor, 1);
    }
    ExpectEnd();
  }

  void ReadAction(Action& action) {
    action.name = Unicode();
    while (true) {
      if (AcceptWord("fkey")) {
        action.functionKey = uint16_t(Integer(0, UINT16_MAX, "the function key"));
      } else if (AcceptWord("shift")) {
        action.shift = true;
      } else if (AcceptWord("command")) {
        action.command = true;
      } else if (AcceptWord("colour")) {
        action.colour = uint16_t(Integer(0, UINT16_MAX, "the colour"));
      } else if (AcceptWord("expanded")) {
        action.expanded = true;
      } else {
        break;
      }
    }
    ExpectEnd();
  }

  void ReadSet(ActionSet& set) {
    set.name = Unicode();
    if (AcceptWord("expanded")) set.expanded = true;
    ExpectEnd();
  }

 private:
  const std::string& line_;
  size_t pos_ = 0;
};

}  // namespace

bool ReadActionText(const std::string& text, ActionSet& set, TextError& error) {
  ActionSet parsed;
  bool haveSet = false;
  int number = 0;
  size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  std::string line;
  try {
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      line.assign(text, start, end - start);
      start = end + 1;
      ++number;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      LineReader reader(line);
      if (reader.AtEnd() || reader.Peek() == '#') continue;
      if (reader.AcceptWord("set")) {
        if (haveSet) reader.Fail("the set is named once, on its first line");
        reader.ReadSet(parsed);
        haveSet = true;
      } else if (!haveSet) {
        reader.Fail("the text starts with the set: set \"NAME\"");
      } else if (reader.AcceptWord("action")) {
        parsed.actions.emplace_back();
        reader.ReadAction(parsed.actions.back());
      } else if (reader.AcceptWord("event")) {
        if (parsed.actions.empty()) reader.Fail("an event comes after its action's line");
        parsed.actions.back().events.emplace_back();
        reader.ReadEvent(parsed.actions.back().events.back());
      } else {
        reader.Fail("expected a line starting with set, action or event");
      }
    }
  } catch (const Failure& failure) {
    error.line = number;
    error.column = int(failure.column) + 1;
    error.message = "line " + std::to_string(number) + ", column " + std::to_string(error.column) + ": " +
                    failure.message;
    return false;
  }
  if (!haveSet) {
    error.line = number;
    error.column = 1;
    error.message = "the text names no action set (a line set \"NAME\")";
    return false;
  }
  set = std::move(parsed);
  return true;
}

}  // namespace zem::actions
