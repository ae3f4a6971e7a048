// The binary reader and writer against files Photoshop saved, and against every kind of
// malformed file: each is refused with the offset of its first problem.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "actions/BinaryFormat.h"
#include "actions/TextForm.h"
#include "tests/actions/TestFiles.h"

namespace zem::actions {
namespace {

using testing::FromText;
using testing::PhotoshopWritten;
using testing::ReadBytes;

size_t EventCount(const ActionSet& set) {
  size_t count = 0;
  for (const Action& action : set.actions) count += action.events.size();
  return count;
}

struct PhotoshopFile {
  const char* name;
  size_t actions;
  size_t events;
};

TEST(PhotoshopWrittenFile, ReadsToItsLastByteAndWritesTheSameBytes) {
  for (const PhotoshopFile& expected :
       {PhotoshopFile{"Bjango Scale Actions.atn", 26, 94}, PhotoshopFile{"Bjango Adjustment Actions.atn", 4, 12},
        PhotoshopFile{"Cross Processing.atn", 2, 13}, PhotoshopFile{"Signynt PS Dust Removal Macro.atn", 1, 23},
        PhotoshopFile{"Trimmer.atn", 4, 62}, PhotoshopFile{"Web Export.atn", 1, 1}}) {
    SCOPED_TRACE(expected.name);
    const std::string path = PhotoshopWritten(expected.name);
    if (path.empty()) GTEST_SKIP() << "the Photoshop-written files are not in ../shared/testdata on this machine";
    const std::vector<uint8_t> bytes = ReadBytes(path);
    ActionSet set;
    ReadError error;
    ASSERT_TRUE(ReadActionFile(bytes.data(), bytes.size(), set, error)) << error.message;
    EXPECT_EQ(set.actions.size(), expected.actions);
    EXPECT_EQ(EventCount(set), expected.events);
    EXPECT_EQ(WriteActionFile(set), bytes);

    // Through the text form and back.
    ActionSet again;
    TextError textError;
    ASSERT_TRUE(ReadActionText(WriteActionText(set), again, textError)) << textError.message;
    EXPECT_EQ(WriteActionFile(again), bytes);
  }
}

TEST(PhotoshopWrittenFile, KeepsEventsClassesAndReferences) {
  const std::string path = PhotoshopWritten("Bjango Adjustment Actions.atn");
  if (path.empty()) GTEST_SKIP() << "the Photoshop-written files are not in ../shared/testdata on this machine";
  const std::vector<uint8_t> bytes = ReadBytes(path);
  ActionSet set;
  ReadError error;
  ASSERT_TRUE(ReadActionFile(bytes.data(), bytes.size(), set, error)) << error.message;
  EXPECT_EQ(set.name.units, u"Bjango Adjustment Actions");

  const Event& make = set.actions[0].events[0];
  EXPECT_TRUE(make.idIsText);
  EXPECT_EQ(make.textId, "make");
  EXPECT_EQ(make.displayName, "Make");
  EXPECT_EQ(make.descriptor.className.units, u"Make");
  EXPECT_TRUE(make.descriptor.classId.Is(MakeFourCC("Mk  ")));
  const Value* target = make.descriptor.Find(Id::Code(MakeFourCC("null")));
  ASSERT_NE(target, nullptr);
  const Reference& reference = std::get<Reference>(target->data);
  ASSERT_EQ(reference.items.size(), 1u);
  EXPECT_EQ(reference.items[0].form, MakeFourCC("Clss"));
  EXPECT_TRUE(reference.items[0].classId.Is(MakeFourCC("AdjL")));

  // "Add Vibrance" makes its layer from a class value with a string ID.
  const Value* usng = set.actions[3].events[0].descriptor.Find(Id::Code(MakeFourCC("Usng")));
  ASSERT_NE(usng, nullptr);
  const Value* layerType = std::get<Descriptor>(usng->data).Find(Id::Code(MakeFourCC("Type")));
  ASSERT_NE(layerType, nullptr);
  EXPECT_EQ(layerType->type, type::kClass);
  EXPECT_TRUE(std::get<ClassValue>(layerType->data).id.Is("vibrance"));
}

// A small set holding every value type, built through the text form.
const char kEveryType[] =
    "set \"S\"\n"
    "action \"a\"\n"
    "  event levels \"Levels\" 'Lvls' {'Int ': -7, 'Dbl ': 0.5, 'Unt ': 25.0 '#Prc', 'Bln ': true,"
    " 'Enm ': 'Chnl'.'Cmps', 'Txt ': \"t\", 'Obj ': 'RGBC' {'Rd  ': 1.0}, 'GlO ': global \"g\" 'RGBC' {},"
    " 'Lst ': [1, [2.0]], 'Ref ': ref('Chnl' enum 'Chnl'.'Rd  ', 'Lyr ' name \"n\", 'Lyr ' index 3, 'Lyr ' id 9,"
    " 'Lyr ' offset -1, 'Lyr ' prop 'Nm  ', \"\"0 'AdjL' class), 'Cls ': class('AdjL'),"
    " 'GlC ': globalclass(\"c\" vibrance), 'Cmp ': comp(-5000000000), 'Raw ': data(00ff),"
    " 'Als ': alias(0102), 'Pth0': path(75747874)}\n";

std::vector<uint8_t> EveryTypeFile() { return WriteActionFile(FromText(kEveryType)); }

ReadError ReadFails(const std::vector<uint8_t>& bytes) {
  ActionSet set;
  ReadError error;
  EXPECT_FALSE(ReadActionFile(bytes.data(), bytes.size(), set, error));
  return error;
}

size_t Find(const std::vector<uint8_t>& bytes, const std::string& needle) {
  const auto at = std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end());
  EXPECT_NE(at, bytes.end()) << needle;
  return size_t(at - bytes.begin());
}

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = uint8_t(value >> (24 - 8 * i));
}

TEST(ActionFileReader, ReadsEveryValueTypeBackAsWritten) {
  const std::vector<uint8_t> bytes = EveryTypeFile();
  ActionSet set;
  ReadError error;
  ASSERT_TRUE(ReadActionFile(bytes.data(), bytes.size(), set, error)) << error.message;
  EXPECT_EQ(WriteActionFile(set), bytes);
  EXPECT_EQ(set.actions[0].events[0].descriptor.items.size(), 16u);
}

TEST(ActionFileReader, RefusesEveryTruncationAtOrBeforeItsEnd) {
  const std::vector<uint8_t> bytes = EveryTypeFile();
  for (size_t size = 0; size < bytes.size(); ++size) {
    const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + std::ptrdiff_t(size));
    const ReadError error = ReadFails(prefix);
    EXPECT_LE(error.offset, size);
    EXPECT_NE(error.message.find("byte " + std::to_string(error.offset) + ": "), std::string::npos) << error.message;
  }
}

struct Corruption {
  const char* what;
  std::function<void(std::vector<uint8_t>&)> apply;
  const char* message;
};

TEST(ActionFileReader, RefusesMalformedFilesWithTheOffsetAndWhatWasRead) {
  const std::vector<Corruption> corruptions = {
      {"a count of actions larger than the file", [](auto& b) { PutU32(b, 4 + 4 + 4 + 1, 0xFFFFFFFF); },
       "byte 13: the number of actions is 4294967295, more than the"},
      {"a set name running past the end", [](auto& b) { PutU32(b, 4, 0x10000000); },
       "byte 8: the action set's name: 536870912 bytes needed"},
      {"an unknown value type", [](auto& b) { std::memcpy(&b[Find(b, "long")], "wxyz", 4); },
       "unknown value type 'wxyz'"},
      {"a boolean that is neither 0 nor 1", [](auto& b) { b[Find(b, "bool") + 4] = 2; },
       "a boolean byte is 0 or 1, not 2"},
      {"an event ID of an unknown form", [](auto& b) { std::memcpy(&b[Find(b, "TEXT")], "abcd", 4); },
       "the form of its ID is 'abcd'"},
      {"a descriptor flag other than -1 or 0", [](auto& b) { PutU32(b, Find(b, "Levels") + 6, 5); },
       "the descriptor flag is 5"},
      {"an unknown reference form", [](auto& b) { std::memcpy(&b[Find(b, "indx")], "wxyz", 4); },
       "unknown reference form 'wxyz'"},
      {"a list count larger than the file", [](auto& b) { PutU32(b, Find(b, "VlLs") + 4, 0x7FFFFFFF); },
       "its number of elements is 2147483647, more than the"},
      {"bytes after the last action", [](auto& b) { b.push_back(0); }, "1 bytes follow the last action"},
      {"a non-action file", [](auto& b) { b.assign({0x89, 'P', 'N', 'G', 13, 10, 26, 10}); },
       "byte 0: not an action file of format version 16"},
      {"an empty file", [](auto& b) { b.clear(); }, "byte 0: the format version: 4 bytes needed, 0 left"},
  };
  for (const Corruption& corruption : corruptions) {
    SCOPED_TRACE(corruption.what);
    std::vector<uint8_t> bytes = EveryTypeFile();
    corruption.apply(bytes);
    EXPECT_NE(ReadFails(bytes).message.find(corruption.message), std::string::npos) << ReadFails(bytes).message;
  }
}

TEST(ActionFileReader, RefusesDescriptorsNestedTooDeep) {
  for (int levels : {kMaxNesting, kMaxNesting + 1}) {
    SCOPED_TRACE(levels);
    ActionSet set = FromText("set \"S\"\naction \"a\"\n  event levels \"Levels\" 'Lvls' {'Gmm ': 1}\n");
    // The event's descriptor is the first level; build the rest on the model, past what the text
    // reader itself would accept.
    Value value;
    value.data = int32_t(1);
    for (int i = 1; i < levels; ++i) {
      Descriptor descriptor;
      descriptor.classId = Id::Code(MakeFourCC("RGBC"));
      descriptor.items.push_back(Item{Id::Code(MakeFourCC("Rd  ")), value});
      value = Value{type::kObject, std::move(descriptor)};
    }
    set.actions[0].events[0].descriptor.items[0].value = value;
    const std::vector<uint8_t> bytes = WriteActionFile(set);
    ActionSet read;
    ReadError error;
    const bool accepted = ReadActionFile(bytes.data(), bytes.size(), read, error);
    EXPECT_EQ(accepted, levels <= kMaxNesting) << error.message;
    if (!accepted) {
      EXPECT_NE(error.message.find("nested more than 64 levels deep"), std::string::npos);
    }

    ActionSet fromText;
    TextError textError;
    EXPECT_EQ(ReadActionText(WriteActionText(set), fromText, textError), levels <= kMaxNesting) << textError.message;
  }
}

// Bytes of the file that a message quotes are written as the text form writes them, so that a
// message never carries a NUL, a control character or a byte that is not UTF-8.
TEST(ActionFileReader, QuotesTheFilesBytesEscapedInMessages) {
  const std::vector<Corruption> corruptions = {
      {"a value type of control and high bytes", [](auto& b) { std::memcpy(&b[Find(b, "long")], "\0\xff\x1b\x7f", 4); },
       "unknown value type '\\x00\\xff\\x1b\\x7f'"},
      {"an event ID form with a quote and a backslash",
       [](auto& b) { std::memcpy(&b[Find(b, "TEXT")], "a'\\\xe9", 4); },
       "the form of its ID is 'a\\'\\\\\\xe9'"},
  };
  for (const Corruption& corruption : corruptions) {
    SCOPED_TRACE(corruption.what);
    std::vector<uint8_t> bytes = EveryTypeFile();
    corruption.apply(bytes);
    const std::string message = ReadFails(bytes).message;
    EXPECT_NE(message.find(corruption.message), std::string::npos) << message;
    for (char c : message) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << message;
  }
  // A later problem names the action and the event by their names, escaped the same way.
  ActionSet set = FromText("set \"S\"\naction \"a\\u0000b\"\n  event levels \"Lev\\x00\\xffels\" 'Lvls' {'Gmm ': 1}\n");
  std::vector<uint8_t> bytes = WriteActionFile(set);
  PutU32(bytes, Find(bytes, "Gmm ") + 4, MakeFourCC("wxyz"));
  const std::string message = ReadFails(bytes).message;
  EXPECT_NE(message.find("action \"a\\u0000b\", event 1"), std::string::npos) << message;
  EXPECT_NE(message.find("(\"Lev\\x00\\xffels\")"), std::string::npos) << message;
  EXPECT_NE(message.find("item 1 ('Gmm ')"), std::string::npos) << message;
}

TEST(TextFormQuoting, BytesCodesAndUnicodeAsTheWriterWritesThem) {
  EXPECT_EQ(QuotedBytes(std::string("a\"b\\c\0\x7f\xff", 8)), "\"a\\\"b\\\\c\\x00\\x7f\\xff\"");
  EXPECT_EQ(QuotedCode(MakeFourCC("Cnt ")), "'Cnt '");
  EXPECT_EQ(QuotedCode(0x00270A80u), "'\\x00\\'\\x0a\\x80'");
  EXPECT_EQ(QuotedUnicode(u"\u00e9\"\u0001\xD800x\U0001F600"), "\"\u00e9\\\"\\u0001\\ud800x\U0001F600\"");
}

}  // namespace
}  // namespace zem::actions
