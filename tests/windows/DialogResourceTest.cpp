// The dialog templates, the logo bitmap and the About text as the system reads them from the
// built module.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "tests/windows/LoadedModule.h"

namespace {

struct Control {
  int id;
  std::string windowClass;  // "button" or "static", however the template names it
  std::string text;         // "#n" for a resource number
  int x, y, width, height;
  DWORD style;
  bool operator==(const Control& o) const {
    return id == o.id && windowClass == o.windowClass && text == o.text && x == o.x && y == o.y &&
           width == o.width && height == o.height && style == o.style;
  }
};

std::ostream& operator<<(std::ostream& out, const Control& c) {
  return out << "{" << c.id << " " << c.windowClass << " \"" << c.text << "\" " << c.x << "," << c.y << " "
             << c.width << "x" << c.height << " style 0x" << std::hex << c.style << std::dec << "}";
}

struct Template {
  bool extended = false;
  DWORD style = 0;
  int x = -1, y = -1, width = 0, height = 0;
  std::string menu, windowClass, title, font;
  int pointSize = 0;
  std::vector<Control> controls;
};

// Reads a dialog template, classic or extended.
class TemplateReader {
 public:
  explicit TemplateReader(const unsigned char* data) : data_(data) {}

  Template Read() {
    Template result;
    result.extended = Word(0) == 1 && Word(2) == 0xFFFF;
    int count;
    if (result.extended) {
      at_ = 12;
      result.style = Dword();
      count = NextWord();
    } else {
      result.style = Dword();
      Dword();  // extended style
      count = NextWord();
    }
    result.x = Short(), result.y = Short(), result.width = Short(), result.height = Short();
    result.menu = NameOrNumber();
    result.windowClass = NameOrNumber();
    result.title = Text();
    if (result.style & DS_SETFONT) {
      result.pointSize = NextWord();
      if (result.extended) at_ += 4;  // weight, italic, character set
      result.font = Text();
    }
    for (int i = 0; i < count; ++i) result.controls.push_back(ReadControl(result.extended));
    return result;
  }

 private:
  Control ReadControl(bool extended) {
    at_ = (at_ + 3) & ~size_t(3);
    Control control{};
    if (extended) {
      Dword();  // help identifier
      Dword();  // extended style
      control.style = Dword();
    } else {
      control.style = Dword();
      Dword();
    }
    control.x = Short(), control.y = Short(), control.width = Short(), control.height = Short();
    control.id = extended ? static_cast<int>(Dword()) : NextWord();
    control.windowClass = NameOrNumber();
    if (control.windowClass == "#128") control.windowClass = "button";
    if (control.windowClass == "#130") control.windowClass = "static";
    for (char& c : control.windowClass) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    control.text = NameOrNumber();
    const uint16_t creationData = NextWord();
    at_ += creationData;
    return control;
  }

  uint16_t Word(size_t at) const { return uint16_t(data_[at] | data_[at + 1] << 8); }
  uint16_t NextWord() {
    at_ += 2;
    return Word(at_ - 2);
  }
  int Short() { return static_cast<int16_t>(NextWord()); }
  DWORD Dword() {
    DWORD low = NextWord();
    return low | DWORD(NextWord()) << 16;
  }
  std::string Text() {
    std::string text;
    for (uint16_t c = NextWord(); c != 0; c = NextWord()) text += c < 0x80 ? static_cast<char>(c) : '?';
    return text;
  }
  std::string NameOrNumber() {
    if (Word(at_) == 0xFFFF) {
      at_ += 2;
      return "#" + std::to_string(NextWord());
    }
    return Text();
  }

  const unsigned char* data_;
  size_t at_ = 0;
};

class DialogResourceTest : public ::testing::Test {
 protected:
  const unsigned char* Find(int id, LPCSTR type, DWORD* size = nullptr) {
    HRSRC found = FindResourceA(module.handle(), MAKEINTRESOURCEA(id), type);
    if (found == nullptr) return nullptr;
    if (size != nullptr) *size = SizeofResource(module.handle(), found);
    return static_cast<const unsigned char*>(LockResource(LoadResource(module.handle(), found)));
  }
  Template Dialog(int id) {
    const unsigned char* data = Find(id, RT_DIALOG);
    return data == nullptr ? Template() : TemplateReader(data).Read();
  }

  LoadedModule module;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

TEST_F(DialogResourceTest, ModeDialogTemplate) {
  const Template mode = Dialog(16001);
  EXPECT_TRUE(mode.extended);
  EXPECT_EQ(mode.style, DWORD(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU));
  EXPECT_EQ(mode.title, "ZEM Variations");
  EXPECT_EQ(mode.pointSize, 8);
  EXPECT_EQ(mode.font, "MS Sans Serif");
  EXPECT_EQ(mode.width, 217);
  EXPECT_EQ(mode.height, 183);
  EXPECT_EQ(mode.menu, "");
  EXPECT_EQ(mode.windowClass, "");

  const DWORD radio = kChild | BS_AUTORADIOBUTTON;
  const std::vector<Control> expected = {
      {1, "button", "&OK", 143, 150, 41, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP},
      {2, "button", "&Cancel", 81, 150, 41, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP},
      {3, "static", "&Mode:", 69, 22, 35, 9, kChild | SS_RIGHT | WS_GROUP},
      {4, "button", "Diagonal Split", 120, 22, 82, 15, radio},
      {5, "button", "Half vertical", 120, 35, 83, 21, radio},
      {6, "button", "Half horizontal", 120, 53, 82, 15, radio},
      {7, "button", "Strips 4 vertical", 120, 68, 72, 15, radio},
      {8, "button", "Strips 8 vertical", 120, 84, 86, 15, radio},
      {102, "static", "#102", 5, 17, 53, 20, kChild | SS_BITMAP | SS_CENTERIMAGE},
      {9, "button", "Left/right quarter", 120, 101, 86, 15, radio},
      {10, "button", "Top/bottom quarter", 120, 118, 86, 15, WS_CHILD | BS_AUTORADIOBUTTON},
  };
  EXPECT_EQ(mode.controls, expected);
}

TEST_F(DialogResourceTest, AboutBoxTemplate) {
  const Template about = Dialog(16000);
  EXPECT_FALSE(about.extended);
  EXPECT_EQ(about.style, DWORD(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION)) << "no system menu";
  EXPECT_EQ(about.title, "");
  EXPECT_EQ(about.pointSize, 8);
  EXPECT_EQ(about.font, "MS Sans Serif");
  EXPECT_EQ(about.width, 189);
  EXPECT_EQ(about.height, 120);

  const DWORD hidden = WS_CHILD | WS_DISABLED | WS_TABSTOP;
  const std::vector<Control> expected = {
      {1, "button", "OK", 171, 7, 11, 14, hidden | BS_DEFPUSHBUTTON},
      {2, "button", "Cancel", 172, 24, 10, 14, hidden | BS_PUSHBUTTON},
      {3, "static", "Static", 16, 7, 148, 83, kChild | SS_LEFT | WS_GROUP},
      {4, "button", ZEM_WEB_HOST, 13, 100, 90, 13, kChild | BS_PUSHBUTTON | WS_TABSTOP},
  };
  EXPECT_EQ(about.controls, expected);
}

TEST_F(DialogResourceTest, LogoIsAnUncompressed24BitBitmapOf80By33) {
  DWORD size = 0;
  const unsigned char* data = Find(102, RT_BITMAP, &size);
  ASSERT_NE(data, nullptr);
  BITMAPINFOHEADER header;
  std::memcpy(&header, data, sizeof header);
  EXPECT_EQ(header.biWidth, 80);
  EXPECT_EQ(header.biHeight, 33);
  EXPECT_EQ(header.biBitCount, 24);
  EXPECT_EQ(header.biCompression, DWORD(BI_RGB));
  EXPECT_EQ(size, sizeof header + 240u * 33u) << "rows of 240 bytes, no palette";
}

TEST_F(DialogResourceTest, AboutTextIsSevenLinesSeparatedByLineFeeds) {
  char text[512] = {};
  const int length = LoadStringA(module.handle(), 16000, text, sizeof text);
  ASSERT_GT(length, 0);
  ASSERT_LT(length, 255) << "it fits the box's buffer";
  const std::string all(text);
  EXPECT_EQ(all.find('\r'), std::string::npos);
  int lineFeeds = 0;
  for (char c : all) lineFeeds += c == '\n';
  EXPECT_EQ(lineFeeds, 6);
  EXPECT_EQ(all.rfind("ZEM_Variations\n\nVersion 0.1 Release (12/2004)\n", 0), 0u);
  EXPECT_EQ(all.find("\n\n", 20), all.rfind("\n\n")) << "the sixth line is the other empty one";
}

}  // namespace
