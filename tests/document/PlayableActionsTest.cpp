// From action files to the adjustments the reference host plays: every modelled event with its
// values, values held to their dialog's range, and every file or event the host refuses, each
// with a message naming the file, the place and what is wrong.
#include <gtest/gtest.h>

#include <limits>

#include "actions/BinaryFormat.h"
#include "actions/TextForm.h"
#include "document/PlayableActions.h"

namespace {

using hostsim::PlayableSet;

std::vector<uint8_t> FileOf(const std::string& text) {
  zem::actions::ActionSet set;
  zem::actions::TextError error;
  EXPECT_TRUE(zem::actions::ReadActionText(text, set, error)) << error.message;
  return zem::actions::WriteActionFile(set);
}

// A set "ZEM_Variations" with one action "a" holding the given event lines.
std::string SetText(const std::string& events) { return "set \"ZEM_Variations\"\naction \"a\"\n" + events; }

bool Load(const std::string& text, PlayableSet& set, std::string& error) {
  const std::vector<uint8_t> bytes = FileOf(text);
  return hostsim::LoadPlayableSet(bytes.data(), bytes.size(), "mine.atn", "ZEM_Variations", set, error);
}

hostsim::AdjustmentEvent Only(const std::string& event) {
  PlayableSet set;
  std::string error;
  EXPECT_TRUE(Load(SetText(event), set, error)) << error;
  if (set.actions.empty() || set.actions[0].events.size() != 1) {
    ADD_FAILURE() << "one event expected";
    return {};
  }
  return set.actions[0].events[0];
}

TEST(EventConversionTest, ReadsEveryModelledEventWithItsValues) {
  const auto balance = std::get<hostsim::ColorBalanceEvent>(
      Only("  event 'ClrB' \"Color Balance\" 'ClrB' {'ShdL': [1, 2, 3], 'MdtL': [-20, 0, 5.4], 'PrsL': false}\n"));
  EXPECT_EQ(balance.shadows[2], 3);
  EXPECT_EQ(balance.midtones[0], -20);
  EXPECT_EQ(balance.midtones[2], 5);
  EXPECT_EQ(balance.highlights[1], 0);
  EXPECT_FALSE(balance.preserveLuminosity);

  const auto legacy = std::get<hostsim::BrightnessContrastEvent>(
      Only("  event brightnessEvent \"Brightness/Contrast\" 'BrgC' {'Brgh': -120, 'Cntr': -80, useLegacy: true}\n"));
  EXPECT_TRUE(legacy.legacy);
  EXPECT_EQ(legacy.brightness, -100);
  EXPECT_EQ(legacy.contrast, -80);

  const auto hue = std::get<hostsim::HueSaturationEvent>(
      Only("  event hueSaturation \"Hue/Saturation\" 'HStr' {presetKind: presetKindType.presetKindCustom,"
           " 'Clrz': false, 'Adjs': ['Hst2' {'H   ': 30, 'Strt': -20, 'Lght': 10}]}\n"));
  EXPECT_EQ(hue.hue, 30);
  EXPECT_EQ(hue.saturation, -20);
  EXPECT_EQ(hue.lightness, 10);

  const auto lab = std::get<hostsim::PhotoFilterEvent>(
      Only("  event photoFilter \"Photo Filter\" photoFilter {'Clr ': 'LbCl' {'Lmnc': 67.0, 'A   ': 32.0,"
           " 'B   ': 70.0}, 'Dnst': 40}\n"));
  EXPECT_EQ(lab.model, hostsim::PhotoFilterEvent::Model::Lab);
  EXPECT_EQ(lab.colour[2], 70.0);
  EXPECT_EQ(lab.density, 40);
  EXPECT_TRUE(lab.preserveLuminosity);
  const auto hsb = std::get<hostsim::PhotoFilterEvent>(
      Only("  event photoFilter \"Photo Filter\" photoFilter {'Clr ': 'HSBC' {'H   ': 210.0 '#Ang',"
           " 'Strt': 100.0, 'Brgh': 100.0}}\n"));
  EXPECT_EQ(hsb.model, hostsim::PhotoFilterEvent::Model::Hsb);
  EXPECT_EQ(hsb.colour[0], 210.0);
  EXPECT_EQ(hsb.density, 25) << "the dialog's default";

  const auto levels = std::get<hostsim::LevelsEvent>(
      Only("  event levels \"Levels\" 'Lvls' {'Adjs': ['LvlA' {'Chnl': ref('Chnl' enum 'Chnl'.'Cmps'), 'Gmm ': 1.2},"
           " 'LvlA' {'Chnl': ref('Chnl' enum 'Chnl'.'Bl  '), 'Inpt': [10, 240], 'Otpt': [5, 250]}]}\n"));
  ASSERT_EQ(levels.entries.size(), 2u);
  EXPECT_EQ(levels.entries[0].channel, hostsim::ChannelTarget::Composite);
  EXPECT_EQ(levels.entries[0].gamma, 1.2);
  EXPECT_EQ(levels.entries[1].channel, hostsim::ChannelTarget::Blue);
  EXPECT_EQ(levels.entries[1].inputBlack, 10);
  EXPECT_EQ(levels.entries[1].outputWhite, 250);
  EXPECT_EQ(levels.entries[1].gamma, 1.0);

  const auto curves = std::get<hostsim::CurvesEvent>(
      Only("  event curves \"Curves\" 'Crvs' {'Adjs': ['CrvA' {'Chnl': ref('Chnl' enum 'Chnl'.'Rd  '),"
           " 'Crv ': ['Pnt ' {'Hrzn': 0.0, 'Vrtc': 0.0}, 'Pnt ' {'Hrzn': 128.0, 'Vrtc': 150.0},"
           " 'Pnt ' {'Hrzn': 255.0, 'Vrtc': 255.0}]}]}\n"));
  ASSERT_EQ(curves.entries.size(), 1u);
  EXPECT_EQ(curves.entries[0].channel, hostsim::ChannelTarget::Red);
  ASSERT_EQ(curves.entries[0].points.size(), 3u);
  EXPECT_EQ(curves.entries[0].points[1].output, 150.0);

  const auto exposure = std::get<hostsim::ExposureEvent>(
      Only("  event exposure \"Exposure\" 'Exps' {'Exps': 0.5, 'Ofst': -0.01, gammaCorrection: 1.1}\n"));
  EXPECT_EQ(exposure.exposure, 0.5);
  EXPECT_EQ(exposure.offset, -0.01);
  EXPECT_EQ(exposure.gamma, 1.1);

  const auto vibrance =
      std::get<hostsim::VibranceEvent>(Only("  event vibrance \"Vibrance\" vibrance {vibrance: -25, 'Strt': 5}\n"));
  EXPECT_EQ(vibrance.vibrance, -25);
  EXPECT_EQ(vibrance.saturation, 5);
}

TEST(EventConversionTest, HoldsValuesFarOutOfRangeToTheDialogsRange) {
  const auto huge = std::get<hostsim::BrightnessContrastEvent>(
      Only("  event brightnessEvent \"Brightness/Contrast\" 'BrgC' {'Brgh': 1e10, 'Cntr': -2147483648}\n"));
  EXPECT_EQ(huge.brightness, 150);
  EXPECT_EQ(huge.contrast, -50);
  const auto infinite = std::get<hostsim::LevelsEvent>(
      Only("  event levels \"Levels\" 'Lvls' {'Adjs': ['LvlA' {'Gmm ': double(0x7ff0000000000000),"
           " 'Inpt': [-1e300, 1e300]}]}\n"));
  EXPECT_EQ(infinite.entries[0].gamma, 9.99);
  EXPECT_EQ(infinite.entries[0].inputBlack, 0);
  EXPECT_EQ(infinite.entries[0].inputWhite, 255);
  const auto balance = std::get<hostsim::ColorBalanceEvent>(
      Only("  event colorBalance \"Color Balance\" 'ClrB' {'MdtL': [2147483647, -1e18, 100]}\n"));
  EXPECT_EQ(balance.midtones[0], 100);
  EXPECT_EQ(balance.midtones[1], -100);
  const auto filter = std::get<hostsim::PhotoFilterEvent>(
      Only("  event photoFilter \"Photo Filter\" photoFilter {'Clr ': 'RGBC' {'Rd  ': 1e9, 'Grn ': -5.0,"
           " 'Bl  ': 0.0}, 'Dnst': 0}\n"));
  EXPECT_EQ(filter.colour[0], 255.0);
  EXPECT_EQ(filter.colour[1], 0.0);
  EXPECT_EQ(filter.density, 1);
}

TEST(EventConversionTest, RefusesWhatItCannotModelNamingTheActionAndTheEvent) {
  struct Case {
    const char* event;
    const char* message;
  };
  const Case cases[] = {
      {"  event gaussianBlur \"Gaussian Blur\" 'GsnB' {'Rds ': 2.0 '#Pxl'}",
       "\"Gaussian Blur\" cannot be previewed: it is not an adjustment the reference host models; it models "
       "Color Balance, Brightness/Contrast, Hue/Saturation (master range)"},
      {"  event hueSaturation \"Hue/Saturation\" 'HStr' {'Adjs': ['Hst2' {'LclR': 1, 'Strt': 20}]}",
       "Hue/Saturation: an entry for a colour range: only the master range is modelled"},
      {"  event levels \"Levels\" 'Lvls' {'Auto': true}", "Levels holds 'Auto', which is not modelled"},
      {"  event curves \"Curves\" 'Crvs' {'Adjs': ['CrvA' {'Mpng': [0, 255]}]}",
       "a Curves entry has no points (Crv)"},
      {"  event levels \"Levels\" 'Lvls' {'Adjs': ['LvlA' {'Chnl': ref('Chnl' enum 'Ordn'.'Trgt')}]}",
       "does not name a channel by its enumeration"},
      {"  event brightnessEvent \"Brightness/Contrast\" 'BrgC' {'Brgh': \"20\"}",
       "Brightness/Contrast: the brightness (Brgh) is 'TEXT', not a number"},
      {"  event brightnessEvent \"Brightness/Contrast\" 'BrgC' {'Brgh': double(0x7ff8000000000000)}",
       "the brightness (Brgh) is not a number"},
      {"  event vibrance \"Vibrance\" none", "Vibrance has no recorded values"},
      {"  event photoFilter \"Photo Filter\" photoFilter {'Clr ': 'RGBC' {'Rd  ': 1.0}}",
       "the filter colour has no 'Grn '"},
      {"  event levels \"Levels\" 'Lvls' {presetKind: presetKindType.presetKindUserDefined}",
       "names a preset (presetKindUserDefined)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.event);
    PlayableSet set;
    set.name = "untouched";
    std::string error;
    EXPECT_FALSE(Load(SetText("  event colorBalance \"Color Balance\" 'ClrB' {}\n" + std::string(c.event) + "\n"),
                      set, error));
    EXPECT_EQ(set.name, "untouched");
    EXPECT_EQ(error.rfind("mine.atn, byte ", 0), 0u) << error;
    EXPECT_NE(error.find("action \"a\", event 2"), std::string::npos) << error;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

TEST(PlayableSetTest, RefusesSetsThePluginCannotPlay) {
  struct Case {
    std::string text;
    const char* message;
  };
  const std::string balance = "  event colorBalance \"Color Balance\" 'ClrB' {}\n";
  const Case cases[] = {
      {"set \"Other\"\naction \"a\"\n" + balance,
       "mine.atn holds the action set \"Other\"; the plug-in plays the set \"ZEM_Variations\""},
      {"set \"ZEM_Variations\"\n", "mine.atn holds no actions: the set \"ZEM_Variations\" is empty"},
      {"set \"ZEM_Variations\"\naction \"a\"\n" + balance + "action \"b\"\n" + balance + "action \"a\"\n" + balance,
       "mine.atn, byte 259: a second action named \"a\" (the first is at byte 43)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    PlayableSet set;
    std::string error;
    EXPECT_FALSE(Load(c.text, set, error));
    EXPECT_EQ(error, c.message);
  }
  std::vector<uint8_t> truncated = FileOf(SetText(balance));
  truncated.resize(40);
  PlayableSet set;
  std::string error;
  EXPECT_FALSE(hostsim::LoadPlayableSet(truncated.data(), truncated.size(), "mine.atn", "ZEM_Variations", set, error));
  EXPECT_EQ(error.rfind("mine.atn is not a valid action file: byte ", 0), 0u) << error;
}

TEST(PlayableSetTest, SkipsDisabledEventsAndFindsActionsByName) {
  PlayableSet set;
  std::string error;
  ASSERT_TRUE(Load("set \"ZEM_Variations\"\naction \"x\"\n"
                   "  event gaussianBlur \"Gaussian Blur\" disabled 'GsnB' {}\n"
                   "  event vibrance \"Vibrance\" vibrance {vibrance: 25}\n"
                   "  event exposure \"Exposure\" 'Exps' {'Exps': -1.0}\n"
                   "action \"y\"\n  event vibrance \"Vibrance\" disabled vibrance {vibrance: 25}\n",
                   set, error))
      << error;
  ASSERT_NE(set.Find("x"), nullptr);
  EXPECT_EQ(set.Find("x")->events.size(), 2u);
  EXPECT_EQ(set.Find("x")->label, "Vibrance +25 + Exposure -1.00");
  EXPECT_EQ(set.Find("y")->label, "no enabled event");
  EXPECT_EQ(set.Find("z"), nullptr);
}

// True when the message is text a terminal and grep take as such: no control characters and only
// printable ASCII or well-formed UTF-8 sequences.
bool IsPlainText(const std::string& message) {
  for (size_t i = 0; i < message.size();) {
    const auto byte = static_cast<unsigned char>(message[i]);
    if (byte < 0x20 || byte == 0x7F) return false;
    const int length = byte < 0x80 ? 1 : byte >= 0xC2 && byte < 0xE0 ? 2 : byte >= 0xE0 && byte < 0xF0 ? 3
                                   : byte >= 0xF0 && byte < 0xF5      ? 4
                                                                      : 0;
    if (length == 0 || i + size_t(length) > message.size()) return false;
    for (int k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(message[i + size_t(k)]) & 0xC0) != 0x80) return false;
    }
    i += size_t(length);
  }
  return true;
}

TEST(PlayableSetTest, MessagesQuoteTheFilesBytesEscaped) {
  struct Case {
    std::string text;
    const char* quoted;
  };
  const std::string balance = "  event colorBalance \"Color Balance\" 'ClrB' {}\n";
  const Case cases[] = {
      {"set \"Oth\\u0000er\\u001b\"\naction \"a\"\n" + balance, "the action set \"Oth\\u0000er\\u001b\";"},
      {"set \"ZEM_Variations\"\naction \"a\\u0007\u00e9\"\n" + balance + "action \"a\\u0007\u00e9\"\n" + balance,
       "a second action named \"a\\u0007\u00e9\""},
      {"set \"ZEM_Variations\"\naction \"a\\u0000\"\n  event gaussianBlur \"Gau\\x00ss\\xff\" 'GsnB' {}\n",
       "action \"a\\u0000\", event 1 \"Gau\\x00ss\\xff\" cannot be previewed"},
      {"set \"ZEM_Variations\"\naction \"a\"\n  event levels \"Levels\" 'Lvls' {'\\x00\\x01\\xfe\\x0a': true}\n",
       "holds '\\x00\\x01\\xfe\\x0a', which is not modelled"},
      {"set \"ZEM_Variations\"\naction \"a\"\n  event levels \"Levels\" 'Lvls' {$\"bad\\x1bkey\": true}\n",
       "holds \"bad\\x1bkey\", which is not modelled"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    PlayableSet set;
    std::string error;
    EXPECT_FALSE(Load(c.text, set, error));
    EXPECT_NE(error.find(c.quoted), std::string::npos) << error;
    EXPECT_TRUE(IsPlainText(error)) << error;
  }
}

}  // namespace
