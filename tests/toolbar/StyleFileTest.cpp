// Toolbar style files: the line format, round trips of every preset, hand
// edits, and hostile files that must leave the styler as it was.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "StylerFixture.h"
#include "platform/rtl/Exceptions.h"
#include "toolbar/ZadEdevAziOfficeStyler.h"

using namespace stylertest;
using namespace toolbar;

namespace {

std::vector<std::string> SplitLines(const std::string& Bytes) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < Bytes.size()) {
    size_t end = Bytes.find("\r\n", pos);
    if (end == std::string::npos) end = Bytes.size();
    lines.push_back(Bytes.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& Lines) {
  std::string out;
  for (const std::string& l : Lines) out += l + "\r\n";
  return out;
}

// The saved file of a styler with Style, with line N (1-based) replaced.
std::string Edited(TToolBarStyle Style, size_t N, const std::string& Line) {
  TZadEdevAziOfficeStyler s(nullptr);
  s.SetStyle(Style);
  std::vector<std::string> lines = SplitLines(s.SaveToBytes());
  lines.at(N - 1) = Line;
  return JoinLines(lines);
}

size_t LineOf(const std::string& Bytes, const std::string& Prefix) {
  const std::vector<std::string> lines = SplitLines(Bytes);
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].rfind(Prefix, 0) == 0 || lines[i].rfind("\"" + Prefix, 0) == 0) return i + 1;
  return 0;
}

String MessageOf(const std::function<void()>& F) {
  try {
    F();
  } catch (const Exception& e) {
    return e.Message();
  }
  return u"(no exception)";
}

class StyleFileTest : public StylerTest {
 protected:
  void SetUp() override {
    StylerTest::SetUp();
    Dir = std::filesystem::temp_directory_path() /
          ("ryx-style-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(Dir);
  }
  void TearDown() override { std::filesystem::remove_all(Dir); }
  String PathOf(const std::string& Name) {
    const std::string p = (Dir / Name).string();
    return String(p.begin(), p.end());
  }
  std::filesystem::path Dir;
};

}  // namespace

TEST_F(StyleFileTest, LineFormat) {
  TZadEdevAziOfficeStyler s(nullptr);
  s.SetStyle(bsOffice2003Blue);
  s.Font()->SetName(u"Segoe UI");
  s.Font()->SetStyle(TFontStyles{fsBold, fsItalic});
  s.ButtonAppearance()->CaptionFont()->SetName(u"Tahoma");
  const std::string bytes = s.SaveToBytes();
  const std::vector<std::string> lines = SplitLines(bytes);
  ASSERT_EQ(lines.size(), 304u);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  EXPECT_EQ(lines[0], "bsOffice2003Blue");
  EXPECT_EQ(lines[1], "AutoThemeAdapt=False");
  EXPECT_EQ(lines[2], "ButtonAppearance.Color=$00FDEADA");
  EXPECT_EQ(lines[14], "ButtonAppearance.GradientDirection=gdVertical");
  EXPECT_EQ(lines[19], "ButtonAppearance.BorderDownColor=clNavy") << "a colour with a name is written by name";
  EXPECT_EQ(lines[25], "ButtonAppearance.CaptionFont.Name=Tahoma");
  EXPECT_EQ(lines[39], "Font.Style=fsBold,fsItalic");
  EXPECT_EQ(lines[41], "\"Font.Name=Segoe UI\"");
  EXPECT_EQ(lines[42], "DragGripStyle=dsDots");
  EXPECT_EQ(lines[51], "CaptionAppearance.CaptionColor=clHighlight");
  EXPECT_EQ(lines[73], "ContainerAppearance.Line3D=True");
  EXPECT_EQ(lines[99], "GlowButtonAppearance.Gradient=ggVertical");
  EXPECT_EQ(lines[296], "QATAppearance.BorderColor=$00913500");
  EXPECT_EQ(lines[302], "QATAppearance.Steps=64");
  EXPECT_EQ(lines[303], "FormBorderColor=clGray");
}

TEST_F(StyleFileTest, EveryPresetRoundTripsByteForByte) {
  for (int v = bsOffice2003Blue; v <= bsOffice2019Black; ++v) {
    TZadEdevAziOfficeStyler a(nullptr);
    a.SetStyle(TToolBarStyle(v));
    a.Color()->SetColor(0x00ABCDEF);  // an edit the preset does not make
    a.SetFormBorderColor(clBtnShadow);
    const String file = PathOf("look" + std::to_string(v) + ".txt");
    a.SaveToFile(file);
    TZadEdevAziOfficeStyler b(nullptr);
    b.LoadFromFile(file);
    EXPECT_EQ(b.Style(), TToolBarStyle(v)) << "every style is written as its own name";
    EXPECT_EQ(b.SaveToBytes(), a.SaveToBytes()) << "style " << v;
  }
}

TEST_F(StyleFileTest, HandEditedLines) {
  struct Case {
    const char* What;
    std::string Bytes;
    std::function<void(TZadEdevAziOfficeStyler&)> Check;
  };
  const size_t fontName = LineOf(Edited(bsOffice2003Blue, 1, "bsOffice2003Blue"), "Font.Name=");
  const size_t fontStyle = 40, colorDirection = 29, glowGradient = 100;
  const Case cases[] = {
      {"style name in any case", Edited(bsOffice2003Blue, 1, "BSOFFICE2019WHITE"),
       [](auto& s) { EXPECT_EQ(s.Style(), bsOffice2019White); }},
      {"the old name of a style applies no preset", Edited(bsOffice2010Black, 1, "bsWhidbeyStyle"),
       [](auto& s) {
         EXPECT_EQ(s.Style(), bsOffice2003Blue);
         EXPECT_EQ(s.Color()->Color(), 0xBFBFBF) << "the file's colours still apply";
       }},
      {"an unquoted font name with a blank", Edited(bsOffice2003Blue, fontName, "Font.Name=Segoe UI"),
       [](auto& s) { EXPECT_EQ(s.Font()->Name(), u"Segoe"); }},
      {"font styles in any order", Edited(bsOffice2003Blue, fontStyle, "Font.Style=fsItalic,fsBold"),
       [](auto& s) { EXPECT_EQ(s.Font()->Style(), (TFontStyles{fsBold, fsItalic})); }},
      {"an empty style list", Edited(bsOffice2003Blue, fontStyle, "Font.Style="),
       [](auto& s) { EXPECT_TRUE(s.Font()->Style().Empty()); }},
      {"direction in any case", Edited(bsOffice2003Blue, colorDirection, "Color.Direction=GDHORIZONTAL"),
       [](auto& s) { EXPECT_EQ(s.Color()->Direction(), toolbar::gdHorizontal); }},
      {"an unknown direction", Edited(bsOffice2003Blue, colorDirection, "Color.Direction=sideways"),
       [](auto& s) { EXPECT_EQ(s.Color()->Direction(), toolbar::gdVertical); }},
      {"an unknown gradient", Edited(bsOffice2003Blue, glowGradient, "GlowButtonAppearance.Gradient=ggSpiral"),
       [](auto& s) { EXPECT_EQ(s.GlowButtonAppearance()->Gradient(), ggVertical); }},
      {"a decimal colour", Edited(bsOffice2003Blue, 27, "Color.Color=255"),
       [](auto& s) { EXPECT_EQ(s.Color()->Color(), 255); }},
      {"a missing last line keeps the border colour",
       [] {
         std::vector<std::string> l = SplitLines(Edited(bsOffice2003Blue, 1, "bsOffice2003Blue"));
         l.pop_back();
         return JoinLines(l);
       }(),
       [](auto& s) { EXPECT_EQ(s.FormBorderColor(), 0x808080); }},
  };
  for (const Case& c : cases) {
    TZadEdevAziOfficeStyler s(nullptr);
    SCOPED_TRACE(c.What);
    ASSERT_NO_THROW(s.LoadFromBytes(c.Bytes));
    c.Check(s);
  }
}

TEST_F(StyleFileTest, HostileFilesLeaveTheStylerAsItWas) {
  const std::string good = Edited(bsOffice2010Blue, 1, "bsOffice2010Blue");
  std::vector<std::string> lines = SplitLines(good);
  auto truncated = [&](size_t Keep) {
    return JoinLines(std::vector<std::string>(lines.begin(), lines.begin() + Keep));
  };
  struct Case {
    const char* What;
    std::string Bytes;
  };
  const Case cases[] = {
      {"empty file", ""},
      {"only the style line", "bsOffice2019Black\r\n"},
      {"cut after 100 lines", truncated(100)},
      {"cut in the middle of a line", good.substr(0, good.size() / 2)},
      {"bad colour", Edited(bsOffice2010Blue, 27, "Color.Color=$XYZ")},
      {"empty colour", Edited(bsOffice2010Blue, 28, "Color.ColorTo=")},
      {"colour under another name", Edited(bsOffice2010Blue, 28, "Color.Colour=clRed")},
      {"bad number", Edited(bsOffice2010Blue, 30, "Color.Steps=sixty")},
      {"number out of range", Edited(bsOffice2010Blue, 30, "Color.Steps=99999999999")},
      {"bad last line", Edited(bsOffice2010Blue, 304, "FormBorderColor=grey")},
      {"very long line", Edited(bsOffice2010Blue, 27, "Color.Color=" + std::string(100000, '9'))},
      {"10 MB file", good + std::string(10 * 1024 * 1024, 'x')},
      {"binary", std::string("\x00\xFF\xFE\r\n\x01\x02", 7)},
  };
  for (const Case& c : cases) {
    TZadEdevAziOfficeStyler s(nullptr);
    TRecordingControl panel(&Log, "Panel", TStyledControlKind::DockPanel);
    panel.SetToolBarStyler(&s);
    s.SetStyle(bsOffice2003Olive);
    s.GroupAppearance()->SetColor(0x00C0FFEE);
    const std::string before = s.SaveToBytes();
    Log.clear();
    EXPECT_EQ(MessageOf([&] { s.LoadFromBytes(c.Bytes); }), u"Corrupt file") << c.What;
    EXPECT_EQ(s.SaveToBytes(), before) << c.What;
    EXPECT_EQ(s.Style(), bsOffice2003Olive) << c.What;
    EXPECT_TRUE(Log.empty()) << c.What << ": no control heard of a change";
  }
  // The same through a file.
  const String big = PathOf("big.txt");
  {
    std::ofstream f(std::filesystem::path(std::string(big.begin(), big.end())), std::ios::binary);
    f << good << std::string(10 * 1024 * 1024, 'x');
  }
  TZadEdevAziOfficeStyler s(nullptr);
  const std::string before = s.SaveToBytes();
  EXPECT_EQ(MessageOf([&] { s.LoadFromFile(big); }), u"Corrupt file");
  EXPECT_EQ(s.SaveToBytes(), before);
}

TEST_F(StyleFileTest, FilesThatCannotBeOpenedOrCreated) {
  TZadEdevAziOfficeStyler s(nullptr);
  const std::string before = s.SaveToBytes();
  const String missing = PathOf("missing.txt");
  EXPECT_EQ(MessageOf([&] { s.LoadFromFile(missing); }), u"Cannot open file " + missing);
  const String nowhere = PathOf("no/such/folder/look.txt");
  EXPECT_EQ(MessageOf([&] { s.SaveToFile(nowhere); }), u"Cannot Create " + nowhere);
  EXPECT_EQ(s.SaveToBytes(), before);
}

TEST_F(StyleFileTest, SilverSavedAndLoadedKeepsItsColours) {
  TZadEdevAziOfficeStyler a(nullptr);
  a.SetStyle(bsOffice2007Silver);
  const String file = PathOf("silver.txt");
  a.SaveToFile(file);
  TZadEdevAziOfficeStyler b(nullptr);
  b.LoadFromFile(file);
  EXPECT_EQ(b.Style(), bsOffice2007Silver);
  EXPECT_EQ(b.Color()->Color(), a.Color()->Color());
  EXPECT_EQ(b.SysButtonColor(), a.SysButtonColor()) << "the preset supplies what the file does not carry";
}
