// The text form: exact in both directions, tolerant of what editors add (a byte-order mark, CR
// LF), precise about errors, and linear in the length of the text.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "actions/BinaryFormat.h"
#include "actions/TextForm.h"
#include "tests/actions/TestFiles.h"

namespace zem::actions {
namespace {

using testing::FromText;

// A text as the writer writes it: every value type, escapes, non-ASCII names, event flags, the
// four-character event form, an event without a descriptor and a class name other than the
// display name.
const char kCanonical[] =
    "# A Photoshop action set, one event a line (atn to-text, atn from-text).\n"
    "set \"S \\\"quoted\\\" \\\\ é 𝄞 \\u0001\\ud800\" expanded\n"
    "action \"a\" fkey 3 shift command colour 6 expanded\n"
    "  event levels \"Levels\" expanded disabled dialog options 2 'Lvls' {'Int ': -2147483648, 'Dbl ': 0.1,"
    " 'Nan ': double(0x7ff8000000000001), 'Neg ': -0.0, 'Big ': 1e+300, 'Unt ': -25.5 '#Prc', 'Bln ': false,"
    " $\"odd key\": presetKindType.presetKindCustom, $\"true\": 'Chnl'.'\\x00\\xff\\'\\\\', 'Txt ': \"\","
    " 'Obj ': 'RGBC' {}, 'GlO ': global \"\"0 'RGBC' {'Rd  ': 1}, 'Lst ': [], 'Ref ': ref(),"
    " 'Cls ': class(\"n\" 'AdjL'), 'GlC ': globalclass(vibrance), 'Cmp ': comp(9223372036854775807),"
    " 'Raw ': data(), 'Als ': alias(00), 'Pth0': path(ff)}\n"
    "  event 'Exps' \"Exposure\" none\n"
    "  event $\"\" \"\" \"Other\" $\"x y\" {}\n"
    "action \"\"\n";

TEST(ActionText, WritesBackTheTextItRead) {
  const ActionSet set = FromText(kCanonical);
  EXPECT_EQ(WriteActionText(set), kCanonical);
  const std::vector<uint8_t> bytes = WriteActionFile(set);
  ActionSet read;
  ReadError error;
  ASSERT_TRUE(ReadActionFile(bytes.data(), bytes.size(), read, error)) << error.message;
  EXPECT_EQ(WriteActionText(read), kCanonical);
  EXPECT_EQ(read.name.units, std::u16string(u"S \"quoted\" \\ é 𝄞 \u0001") + char16_t(0xD800));
}

TEST(ActionText, ReadsByteOrderMarkAndCarriageReturnsAsPlainText) {
  std::string windows = "\xEF\xBB\xBF";
  for (char c : std::string(kCanonical)) {
    if (c == '\n') windows += '\r';
    windows += c;
  }
  EXPECT_EQ(WriteActionText(FromText(windows)), kCanonical);
}

Value Number(double number) { return Value{type::kDouble, number}; }

double FromBits(uint64_t bits) {
  double number;
  std::memcpy(&number, &bits, sizeof number);
  return number;
}

// Codes of every kind of byte, and string IDs of any bytes, in every place a code or an ID
// stands; doubles of every kind, bare, with a unit and in lists. Each must be written so that the
// text reads back to the same file, every double to the same bits, one event to a line.
TEST(ActionText, KeepsCodesOfAnyBytesAndDoublesOfAnyBits) {
  const FourCC codes[] = {MakeFourCC("#R\xff\xff"), 0x00000000u, 0xFFFFFFFFu, MakeFourCC("'\\\"\n"),
                          MakeFourCC("\t\r\x1b\x7f"), MakeFourCC("    "), MakeFourCC("\x80\xc3\xa9$"),
                          MakeFourCC("{}[]"), MakeFourCC("#\x00\x01 ")};
  const std::string names[] = {std::string("\xff\x00z", 3), "a b", "true", "1st", "\n", "\"'\\", "enum", "x.y", "#"};
  const uint64_t doubleBits[] = {
      0x7FF8000000000000u, 0x7FF0000000000001u, 0xFFF8000000000000u, 0x7FFFFFFFFFFFFFFFu, 0xFFF0DEADBEEF0001u,
      0x7FF0000000000000u, 0xFFF0000000000000u, 0x8000000000000000u, 0x0000000000000000u, 0x0000000000000001u,
      0x8000000000000001u, 0x000FFFFFFFFFFFFFu, 0x0010000000000000u, 0x7FEFFFFFFFFFFFFFu, 0xFFEFFFFFFFFFFFFFu,
      0x3FB999999999999Au};

  ActionSet set;
  set.name.units = u"S";
  set.actions.emplace_back();
  std::vector<Id> ids;
  for (FourCC code : codes) ids.push_back(Id::Code(code));
  for (const std::string& name : names) ids.push_back(Id::Named(name));
  for (const Id& id : ids) {
    Event event;
    event.idIsText = !id.isFourCC;
    event.textId = id.name;
    event.codeId = id.code;
    event.displayName = id.isFourCC ? FourCCText(id.code) : id.name;
    event.descriptor.classId = id;
    Descriptor nested;
    nested.className.units = u"n";
    nested.classId = id;
    nested.items.push_back({id, Value{type::kEnumerated, Enumerated{id, id}}});
    event.descriptor.items.push_back({id, Value{type::kObject, nested}});
    event.descriptor.items.push_back({id, Value{type::kClass, ClassValue{{}, id}}});
    Reference reference;
    for (FourCC form : {MakeFourCC("Enmr"), MakeFourCC("prop"), MakeFourCC("Clss")}) {
      ReferenceItem item;
      item.form = form;
      item.classId = id;
      item.enumerated = Enumerated{id, id};
      item.property = id;
      reference.items.push_back(item);
    }
    event.descriptor.items.push_back({id, Value{type::kReference, reference}});
    set.actions[0].events.push_back(event);
  }
  Event numbers;
  numbers.textId = "numbers";
  numbers.displayName = "Numbers";
  List list;
  for (size_t i = 0; i < sizeof doubleBits / sizeof doubleBits[0]; ++i) {
    const double number = FromBits(doubleBits[i]);
    const FourCC unit = codes[i % (sizeof codes / sizeof codes[0])];
    numbers.descriptor.items.push_back({Id::Code(MakeFourCC("doub")), Number(number)});
    numbers.descriptor.items.push_back({Id::Code(MakeFourCC("UntF")), Value{type::kUnitDouble, UnitDouble{unit, number}}});
    list.values.push_back(Value{type::kUnitDouble, UnitDouble{unit, number}});
    list.values.push_back(Number(number));
  }
  numbers.descriptor.items.push_back({Id::Code(MakeFourCC("VlLs")), Value{type::kList, list}});
  set.actions[0].events.push_back(numbers);

  const std::string text = WriteActionText(set);
  const size_t lines = 3 + set.actions[0].events.size();
  EXPECT_EQ(size_t(std::count(text.begin(), text.end(), '\n')), lines) << text;
  for (char c : text) ASSERT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << "byte " << int(uint8_t(c)) << " in\n" << text;
  ActionSet read;
  TextError error;
  ASSERT_TRUE(ReadActionText(text, read, error)) << error.message << "\n" << text;
  EXPECT_EQ(WriteActionFile(read), WriteActionFile(set));
  EXPECT_EQ(WriteActionText(read), text);
  const Descriptor& readNumbers = read.actions[0].events.back().descriptor;
  for (size_t i = 0; i < sizeof doubleBits / sizeof doubleBits[0]; ++i) {
    uint64_t bare, withUnit;
    std::memcpy(&bare, &std::get<double>(readNumbers.items[2 * i].value.data), sizeof bare);
    std::memcpy(&withUnit, &std::get<UnitDouble>(readNumbers.items[2 * i + 1].value.data).value, sizeof withUnit);
    EXPECT_EQ(bare, doubleBits[i]) << std::hex << doubleBits[i];
    EXPECT_EQ(withUnit, doubleBits[i]) << std::hex << doubleBits[i];
  }
}

// A file Photoshop's format allows, found by the fuzzer: a Canvas Size height of a NaN with a
// payload, its unit a code of unprintable bytes. Converted to text and back it stays the same file.
TEST(ActionText, FileWithANonFiniteUnitValueRoundTrips) {
  const std::string path = testing::FuzzFinding("unit-with-unprintable-bytes.atn");
  if (path.empty()) GTEST_SKIP() << "the fuzz findings are not in ../shared/testdata on this machine";
  const std::vector<uint8_t> bytes = testing::ReadBytes(path);
  ActionSet set;
  ReadError error;
  ASSERT_TRUE(ReadActionFile(bytes.data(), bytes.size(), set, error)) << error.message;
  const std::string text = WriteActionText(set);
  EXPECT_NE(text.find("'Hght': double(0xffffffffff560000) '#R\\xff\\xff'"), std::string::npos) << text;
  ActionSet again;
  TextError textError;
  ASSERT_TRUE(ReadActionText(text, again, textError)) << textError.message;
  EXPECT_EQ(WriteActionFile(again), bytes);
  EXPECT_EQ(WriteActionText(again), text);
}

struct BadText {
  const char* text;
  int line;
  int column;
  const char* message;
};

TEST(ActionText, RefusesMalformedTextWithItsLineAndColumn) {
  const BadText cases[] = {
      {"action \"a\"\n", 1, 1, "the text starts with the set"},
      {"set \"S\"\nset \"T\"\n", 2, 4, "the set is named once"},
      {"set \"S\"\n  event levels \"Levels\" 'Lvls' {}\n", 2, 8, "an event comes after its action's line"},
      {"set \"S\"\naction \"a\"\n  event levels \"Levels\" 'Lvls' {'Brgh': 3000000000}\n", 3, 41,
       "a long value must lie between -2147483648 and 2147483647"},
      {"set \"S\"\naction \"a\"\n  event levels \"Levels\" 'Lvls' {'Brgh' 1}\n", 3, 40, "expected ':' after the key"},
      {"set \"S\"\naction \"a\"\n  event levels \"Levels\" 'Lvl' {}\n", 3, 25, "exactly four characters"},
      {"set \"S\"\naction \"a\"\n  event levels \"Levels\" 'Lvls' {'Gmm ': 1e999}\n", 3, 41, "out of range for a double"},
      {"set \"S\"\naction \"a\"\n  event levels \"Levels\" 'Lvls' {'Nm  ': \"\\q\"}\n", 3, 42, "unknown escape \\q"},
      {"set \"S\"\naction \"a\"\n  event levels \"Levels\" 'Lvls' {'Nm  ': \"\xC3\"}\n", 3, 41, "not valid UTF-8"},
      {"set \"S\"\naction \"a\"\n  event levels \"Levels\" 'Lvls' {'Nm  ': ref('Lyr ' index -1)}\n", 3, 58,
       "an index or ID must lie between 0 and 4294967295"},
      {"set \"S\" extra\n", 1, 9, "unexpected text at the end of the line"},
      {"set \"S\"\nactoin \"a\"\n", 2, 1, "expected a line starting with set, action or event"},
      {"", 0, 1, "the text names no action set"},
  };
  for (const BadText& bad : cases) {
    SCOPED_TRACE(bad.text);
    ActionSet set;
    TextError error;
    ASSERT_FALSE(ReadActionText(bad.text, set, error));
    EXPECT_EQ(error.line, bad.line) << error.message;
    EXPECT_EQ(error.column, bad.column) << error.message;
    EXPECT_NE(error.message.find(bad.message), std::string::npos) << error.message;
  }
}

TEST(ActionText, RefusesNestingDeeperThanTheBinaryReaderAccepts) {
  std::string list = "1";
  for (int i = 0; i < 1000; ++i) list = "[" + list + "]";
  ActionSet set;
  TextError error;
  ASSERT_FALSE(ReadActionText("set \"S\"\naction \"a\"\n  event e \"E\" 'E   ' {'L   ': " + list + "}\n", set, error));
  EXPECT_NE(error.message.find("nested more than 64 levels deep"), std::string::npos) << error.message;
}

TEST(ActionText, ReadsAHundredThousandLinesInLinearTime) {
  std::string text = "set \"S\"\n";
  for (int i = 0; i < 50000; ++i) {
    text += "action \"a" + std::to_string(i) + "\"\n";
    text += "  event brightnessEvent \"Brightness/Contrast\" 'BrgC' {'Brgh': 20, 'Cntr': 0, useLegacy: false}\n";
  }
  const auto start = std::chrono::steady_clock::now();
  const ActionSet set = FromText(text);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(set.actions.size(), 50000u);
  // About a second under the sanitizers; reading that compared each line with the lines before
  // it would take hours.
  EXPECT_LT(seconds, 30.0);
}

}  // namespace
}  // namespace zem::actions
