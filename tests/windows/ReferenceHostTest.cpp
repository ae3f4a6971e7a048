// The reference host run in-process on the built module: its outputs, its golden contact sheet,
// and every kind of bad input, which must leave nothing behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <fstream>
#include <sstream>

#include <new>

#include "actions/BinaryFormat.h"
#include "actions/TextForm.h"
#include "hostsim/Host.h"
#include "imaging/Image.h"
#include "imaging/PngWriter.h"
#include "platform/ModuleArchitecture.h"
#include "refhost/ContactSheet.h"
#include "refhost/ReferenceHost.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/SampleImages.h"
#include "tests/windows/DialogDriver.h"
#include "tests/windows/LoadedModule.h"

namespace {

namespace driver = dialog_driver;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ReferenceHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    work = ProgramFolder() + "reference_host_work\\" + test->name();
    CreateDirectoryA((ProgramFolder() + "reference_host_work").c_str(), nullptr);
    CreateDirectoryA(work.c_str(), nullptr);
    out = work + "\\out";
    std::remove((out + "\\contact-sheet.png").c_str());
    std::remove((out + "\\event-log.txt").c_str());
    RemoveDirectoryA(out.c_str());
  }

  int Run(std::vector<std::string> arguments) {
    arguments.push_back("--out");
    arguments.push_back(out);
    printed.str("");
    problems.str("");
    return hostsim::RunReferenceHost(arguments, printed, problems);
  }

  std::string File(const std::string& name, const std::string& contents) {
    const std::string path = work + "\\" + name;
    std::ofstream(path, std::ios::binary) << contents;
    return path;
  }

  // The built ZEM_Variations.atn as text, changed by `edit`, written back as an action file.
  std::string EditedActionSet(const std::string& name, const std::function<void(std::string&)>& edit) {
    const std::string bytes = ReadAll(ProgramFolder() + "ZEM_Variations.atn");
    zem::actions::ActionSet set;
    zem::actions::ReadError readError;
    EXPECT_TRUE(zem::actions::ReadActionFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), set,
                                             readError))
        << readError.message;
    std::string text = zem::actions::WriteActionText(set);
    edit(text);
    zem::actions::TextError textError;
    EXPECT_TRUE(zem::actions::ReadActionText(text, set, textError)) << textError.message;
    const std::vector<uint8_t> edited = zem::actions::WriteActionFile(set);
    return File(name, std::string(edited.begin(), edited.end()));
  }

  // Removes the lines from the one starting with `from` to the one before the one starting with `to`.
  static std::function<void(std::string&)> Cut(const std::string& from, const std::string& to) {
    return [from, to](std::string& text) {
      const size_t start = text.find(from);
      text.erase(start, text.find(to, start) - start);
    };
  }

  static std::function<void(std::string&)> Replace(const std::string& what, const std::string& with) {
    return [what, with](std::string& text) { text.replace(text.find(what), what.size(), with); };
  }

  // The built module with its PE header claiming the other architecture, as the loader sees a
  // module built for it.
  std::string ModuleOfTheOtherArchitecture(const zem::ModuleArchitecture& other) {
    std::string bytes = ReadAll(ProgramFolder() + "ZEM_Variations.8li");
    if (bytes.size() < 0x40) return "";
    const uint32_t pe = uint8_t(bytes[0x3C]) | uint8_t(bytes[0x3D]) << 8 | uint8_t(bytes[0x3E]) << 16 |
                        uint32_t(uint8_t(bytes[0x3F])) << 24;
    if (pe + 6 > bytes.size()) return "";
    bytes[pe + 4] = static_cast<char>(other.peMachine & 0xFF);
    bytes[pe + 5] = static_cast<char>(other.peMachine >> 8);
    return File(std::string(other.name) + ".8li", bytes);
  }

  std::string work, out;
  std::ostringstream printed, problems;
};

TEST_F(ReferenceHostTest, ARunWritesTheContactSheetAndTheEventLog) {
  ASSERT_EQ(Run({"--mode", "4"}), 0) << problems.str();
  EXPECT_NE(printed.str().find("playing the built-in ZEM_Variations.atn (action set ZEM_Variations, 18 actions)"),
            std::string::npos)
      << printed.str();
  EXPECT_NE(printed.str().find("played 1: red_plus (Color Balance +20 red)"), std::string::npos) << printed.str();
  EXPECT_NE(printed.str().find("played 18: extra2_minus (Vibrance -25)"), std::string::npos) << printed.str();
  EXPECT_NE(printed.str().find("mode 4 (Strips 4 vertical), 18 of 18 actions of the built-in ZEM_Variations.atn "
                               "played, plug-in result 0"),
            std::string::npos)
      << printed.str();

  const std::string log = ReadAll(out + "\\event-log.txt");
  EXPECT_EQ(log.rfind("get [ASet=\"ZEM_Variations\"] -> found\r\n"
                      "get docH -> 320\r\nget docW -> 480\r\nsetd null=[Chnl.fsel] T=enum(Ordn,None)\r\n",
                      0),
            0u);
  size_t plays = 0;
  for (size_t at = log.find("\r\nPly "); at != std::string::npos; at = log.find("\r\nPly ", at + 1)) ++plays;
  EXPECT_EQ(plays, 18u);

  // The golden sheet was made by this program and checked by eye; small differences in rounding
  // between compilers are tolerated, a changed tile or label is not.
  if (std::getenv("ZEM_WRITE_GOLDEN") != nullptr) {
    ASSERT_TRUE(CopyFileA((out + "\\contact-sheet.png").c_str(), ZEM_GOLDEN_SOURCE, FALSE)) << ZEM_GOLDEN_SOURCE;
    CopyFileA((out + "\\contact-sheet.png").c_str(), (ProgramFolder() + "contact-sheet-mode4.png").c_str(), FALSE);
    GTEST_SKIP() << "wrote the golden contact sheet " << ZEM_GOLDEN_SOURCE;
  }
  hostsim::Image sheet, golden;
  std::string error;
  ASSERT_TRUE(hostsim::LoadImageFile(out + "\\contact-sheet.png", sheet, error)) << error;
  ASSERT_TRUE(hostsim::LoadImageFile(ProgramFolder() + "contact-sheet-mode4.png", golden, error)) << error;
  ASSERT_EQ(sheet.width, golden.width);
  ASSERT_EQ(sheet.height, golden.height);
  size_t different = 0;
  for (size_t i = 0; i < sheet.rgb.size(); ++i) different += std::abs(sheet.rgb[i] - golden.rgb[i]) > 2;
  EXPECT_LT(different, sheet.rgb.size() / 1000) << "channel values off by more than 2";
}

TEST_F(ReferenceHostTest, TimingsEndTheRunOnlyWhenAskedFor) {
  ASSERT_EQ(Run({}), 0) << problems.str();
  EXPECT_EQ(printed.str().find("timings:"), std::string::npos) << printed.str();
  ASSERT_EQ(Run({"--timings"}), 0) << problems.str();
  const std::string text = printed.str();
  const size_t line = text.find("timings: decode ");
  ASSERT_NE(line, std::string::npos) << text;
  for (const char* part : {"ms, selections ", "ms, adjustments ", "ms, thumbnails ", "ms, sheet and files ",
                           "ms, peak working set "}) {
    EXPECT_NE(text.find(part, line), std::string::npos) << part << " in " << text;
  }
  const double peak = std::atof(text.c_str() + text.find("peak working set ", line) + 17);
  EXPECT_GT(peak, 1.0) << "megabytes of a process that holds a 480 x 320 image and a plug-in";
  EXPECT_EQ(text.substr(text.size() - 4), " MB\n") << "the last line";
}

TEST_F(ReferenceHostTest, TheDialogChoosesTheModeAndAboutShowsTheBox) {
  driver::Driver chooser([](HWND dialog) {
    driver::Click(dialog, 8);
    driver::Click(dialog, IDOK);
  });
  ASSERT_EQ(Run({"--mode", "2", "--dialog"}), 0) << problems.str();
  chooser.Finish();
  EXPECT_TRUE(chooser.sawDialog());
  EXPECT_NE(printed.str().find("mode 5 (Strips 8 vertical)"), std::string::npos) << printed.str();

  driver::Driver canceller([](HWND dialog) { driver::Click(dialog, IDCANCEL); });
  ASSERT_EQ(Run({"--mode", "3", "--dialog"}), 0) << problems.str();
  canceller.Finish();
  EXPECT_NE(printed.str().find("the dialog was cancelled: no variation was played\nmode 3 (Half horizontal), 0 of 18"),
            std::string::npos)
      << printed.str();

  driver::Driver reader([](HWND dialog) { driver::ClickAt(dialog, POINT{5, 5}); });
  EXPECT_EQ(hostsim::RunReferenceHost({"--about"}, printed, problems), 0);
  reader.Finish();
  EXPECT_TRUE(reader.sawDialog());
}

TEST_F(ReferenceHostTest, BadInputIsRefusedWithAClearMessageAndNothingWritten) {
  ASSERT_TRUE(hostsim::SavePng(hostsim::Image(hostsim::kMaxImageSide + 1, 2), work + "\\wide.png"));
  const zem::ModuleArchitecture& other = zem::kThisModule.bits == 64 ? zem::kX86Module : zem::kX64Module;
  const std::string otherModule = ModuleOfTheOtherArchitecture(other);
  ASSERT_FALSE(otherModule.empty());
  const std::string architectures = std::string(" is an ") + other.name + " (" + std::to_string(other.bits) +
                                    "-bit) module, and this reference host is " + zem::kThisModule.name + " (" +
                                    std::to_string(zem::kThisModule.bits) + "-bit)";
  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    std::string message;
  };
  const Case cases[] = {
      {{"--bogus"}, 2, "unknown option '--bogus'"},
      {{"--mode"}, 2, "--mode needs a value"},
      {{"--mode", "four"}, 2, "--mode takes a whole number, not 'four'"},
      {{"--image", work + "\\missing.png"}, 1, "cannot open image " + work + "\\missing.png"},
      {{"--image", File("text.png", "not a picture")}, 1, "cannot read image " + work + "\\text.png"},
      {{"--image", work + "\\wide.png"}, 1, "is too large: 16385 x 2"},
      {{"--image", File("header.png", sample_images::TopDownBmpHeader(16384, -8000))}, 1,
       "cannot read image " + work + "\\header.png: it is neither a PNG nor a JPEG file"},
      {{"--image", File("huge.png", sample_images::PngClaiming(60000, 60000))}, 1,
       "huge.png: it is too large: 60000 x 60000 pixels, where the limit is 16384 pixels a side and 64 million in all"},
      {{"--image", File("empty.png", sample_images::PngClaiming(0, 9990))}, 1,
       "empty.png: it is 0 x 9990 pixels: an image has at least 1 x 1"},
      {{"--image", File("zeros.png", sample_images::PngClaiming(4271, 9990, 303))}, 1,
       "zeros.png: the file holds 303 bytes of pixel data, too few for 4271 x 9990 pixels"},
      {{"--image", File("cut.jpg", sample_images::SmallJpeg().substr(0, 200))}, 1, "cut.jpg: the JPEG file ends"},
      {{"--image", File("tables.jpg", sample_images::OverfullHuffmanJpeg())}, 1, "cannot read image"},
      {{"--plugin", work + "\\none.8li"}, 1, "no plug-in at " + work + "\\none.8li"},
      {{"--plugin", File("fake.8li", "MZ but not really")}, 1, "is not a valid plug-in module"},
      {{"--plugin", ProgramFolder() + "actctx_bare.dll"}, 1, "it does not export AutoPluginMain"},
      {{"--plugin", otherModule}, 1, otherModule + architectures},
      {{"--actions", work + "\\none.atn"}, 1, "cannot open the action file " + work + "\\none.atn; nothing was written"},
      {{"--actions", File("text.atn", "red_plus gain 2 1 1\n")}, 1,
       "text.atn is not a valid action file: byte 0: not an action file of format version 16"},
      {{"--actions", EditedActionSet("blur.atn", Replace("event colorBalance \"Color Balance\" 'ClrB' {'ShdL'",
                                                        "event gaussianBlur \"Gaussian Blur\" 'GsnB' {'ShdL'"))},
       1, "blur.atn, byte 76: action \"red_plus\", event 1 \"Gaussian Blur\" cannot be previewed: it is not an "
          "adjustment the reference host models"},
      {{"--actions", EditedActionSet("short.atn", Cut("action \"green_minus\"", "action \"blue_plus\""))}, 1,
       "the plug-in failed with -1728 (no such object: an action of the run is missing from the action set) "
       "after 3 actions: the action \"green_minus\" of the set \"ZEM_Variations\" is not in " + work +
           "\\short.atn; nothing was written"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.arguments), c.exitCode) << c.arguments[0];
    EXPECT_NE(problems.str().find(c.message), std::string::npos) << problems.str();
    EXPECT_FALSE(Exists(out)) << c.arguments[0];
  }
}

// A set of another name is previewed without the plug-in: a PNG per action, the sheet and the
// report, and the exit status says whether every step played, some were skipped or one stopped.
TEST_F(ReferenceHostTest, AnotherSetIsPreviewedOnTheLayeredDocument) {
  const std::string mine = EditedActionSet("mine.atn", Replace("set \"ZEM_Variations\"", "set \"Mine\""));
  EXPECT_EQ(Run({"--actions", mine, "--action", "red_plus"}), 0) << problems.str();
  EXPECT_TRUE(Exists(out + "\\contact-sheet.png"));
  EXPECT_TRUE(Exists(out + "\\01-red_plus.png"));
  EXPECT_NE(ReadAll(out + "\\report.json").find("\"name\": \"red_plus\", \"status\": \"played\""), std::string::npos);
  const std::string blur = EditedActionSet(
      "blurred.atn", [](std::string& text) {
        Replace("set \"ZEM_Variations\"", "set \"Mine\"")(text);
        Replace("event colorBalance \"Color Balance\" 'ClrB' {'ShdL'", "event sparkle \"Sparkle\" 'Sprk' {'ShdL'")(text);
      });
  EXPECT_EQ(Run({"--actions", blur, "--action", "red_plus"}), 4);
  EXPECT_NE(printed.str().find("red_plus, step 1 (sparkle, byte "), std::string::npos) << printed.str();
  EXPECT_EQ(Run({"--actions", blur, "--action", "red_plus", "--skip-unknown"}), 3);
  EXPECT_EQ(Run({"--action", "red_plus"}), 2);  // only with another set
  for (const char* name : {"\\contact-sheet.png", "\\01-red_plus.png", "\\report.json"}) std::remove((out + name).c_str());
}

// An output folder that cannot take the files is refused before anything runs.
TEST_F(ReferenceHostTest, AnUnusableOutputFolderIsRefusedBeforeTheRun) {
  const std::string file = File("taken", "a file where the folder should be");
  struct Case {
    std::string folder;
    int exitCode;
    std::string message;
  };
  const Case cases[] = {
      {"", 2, "--out needs a value, not an empty one"},
      {"  ", 2, "--out needs a value, not an empty one"},
      {file, 1, "--out " + file + " is a file, not a folder; nothing was run"},
      {file + "\\below", 1, "--out " + file + "\\below: the folder cannot be created"},
  };
  for (const Case& c : cases) {
    printed.str("");
    problems.str("");
    EXPECT_EQ(hostsim::RunReferenceHost({"--out", c.folder}, printed, problems), c.exitCode) << c.folder;
    EXPECT_NE(problems.str().find(c.message), std::string::npos) << problems.str();
    EXPECT_EQ(printed.str(), "") << "nothing is run";
  }
  EXPECT_FALSE(Exists("\\contact-sheet.png"));
  EXPECT_FALSE(Exists("\\event-log.txt"));
}

// A photo far taller than wide, and a JPEG, read by the system's decoder: the run completes and
// every tile of the sheet fits its square.
TEST_F(ReferenceHostTest, TallNarrowPhotosAndJpegsRun) {
  ASSERT_TRUE(hostsim::SavePng(hostsim::Image(2, 2000, 120), work + "\\tall.png"));
  ASSERT_EQ(Run({"--image", work + "\\tall.png"}), 0) << problems.str();
  EXPECT_NE(printed.str().find("on a 2 x 2000 image"), std::string::npos) << printed.str();
  hostsim::Image sheet;
  std::string error;
  ASSERT_TRUE(hostsim::LoadImageFile(out + "\\contact-sheet.png", sheet, error)) << error;
  EXPECT_LE(sheet.height, 34 + 4 * (hostsim::kTileWidth + 36 + 10)) << "four rows under two-line labels";

  ASSERT_EQ(Run({"--image", File("small.jpg", sample_images::SmallJpeg())}), 0) << problems.str();
  EXPECT_NE(printed.str().find("on a 8 x 6 image"), std::string::npos) << printed.str();
}

// An exception raised in the host model while it serves the built module's Play comes back to the
// module as a failed Play; it never unwinds through the module's frames.
TEST_F(ReferenceHostTest, AHostThatRaisesInPlayFailsThePlayInsteadOfTheProcess) {
  LoadedModule module;
  ASSERT_NE(module.Entry(), nullptr);
  hostsim::Host host;
  host.recording = false;
  host.afterPlay = [](const std::string&) { throw std::bad_alloc(); };
  host::PIActionParameters parameters{host::plugInDialogDontDisplay, host::plugInDialogRequired, nullptr};
  EXPECT_EQ(host.CallDoIt(module.Entry(), &parameters), -108);
  EXPECT_EQ(parameters.descriptor, nullptr);
  EXPECT_EQ(host.objects.Live(), 0);
  EXPECT_EQ(host.SuitesHeld(), 0);
  EXPECT_EQ(host.violations(), std::vector<std::string>());
}

TEST_F(ReferenceHostTest, AFreshHostLoadsTheSetFromThePluginsFolderAndDrawsTheSameSheet) {
  // Mode 1: a clearing and a triangle for each of 18 one-event actions, and the final clearing.
  ASSERT_EQ(Run({"--no-suspend-history"}), 0) << problems.str();
  EXPECT_NE(printed.str().find("history: 55 states\n"), std::string::npos) << printed.str();
  const std::string loadedSheet = ReadAll(out + "\\contact-sheet.png");

  ASSERT_EQ(Run({"--no-action-set"}), 0) << problems.str();
  EXPECT_NE(printed.str().find("starting with no action set loaded"), std::string::npos) << printed.str();
  EXPECT_NE(printed.str().find("action set ZEM_Variations loaded from the plug-in's folder: " + ProgramFolder() +
                               "ZEM_Variations.atn\n"),
            std::string::npos)
      << printed.str();
  EXPECT_NE(printed.str().find("history: 1 state, ZEM_Variations\n"), std::string::npos) << printed.str();
  EXPECT_EQ(ReadAll(out + "\\contact-sheet.png"), loadedSheet);

  EXPECT_EQ(Run({"--no-action-set", "--actions", ProgramFolder() + "ZEM_Variations.atn"}), 2);
  EXPECT_NE(problems.str().find("--actions and --no-action-set exclude each other"), std::string::npos)
      << problems.str();
}

TEST_F(ReferenceHostTest, AFreshHostWithoutAUsableFileBesideThePluginWritesNothing) {
  const std::string module = work + "\\ZEM_Variations.8li";
  ASSERT_TRUE(CopyFileA((ProgramFolder() + "ZEM_Variations.8li").c_str(), module.c_str(), FALSE));
  std::remove((work + "\\ZEM_Variations.atn").c_str());
  EXPECT_EQ(Run({"--no-action-set", "--plugin", module}), 1);
  EXPECT_NE(problems.str().find("the host has no action set \"ZEM_Variations\", and the plug-in loaded none from "
                                "its folder; nothing was written"),
            std::string::npos)
      << problems.str();
  EXPECT_FALSE(Exists(out + "\\contact-sheet.png"));

  const std::string bad = File("ZEM_Variations.atn", "not an action file");
  EXPECT_EQ(Run({"--no-action-set", "--plugin", module}), 1);
  EXPECT_NE(problems.str().find(bad + " is not a valid action file"), std::string::npos) << problems.str();
  EXPECT_FALSE(Exists(out + "\\contact-sheet.png"));
}

}  // namespace
