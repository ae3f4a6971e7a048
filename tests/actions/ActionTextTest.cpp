// The text form: exact in both directions, tolerant of what editors add (a byte-order mark, CR
// LF), precise about errors, and linear in the length of the text.
#include <gtest/gtest.h>

#include <chrono>

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
