// The named-colour table against the CSS Color Module Level 3 keyword list.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "foundation/graphics/AdvNamedColors.h"
#include "platform/rtl/StrUtils.h"

namespace {

// The 147 extended colour keywords with their sRGB values, as the
// specification of CSS colours lists them.
constexpr const char* kCssKeywords =
    "aliceblue f0f8ff antiquewhite faebd7 aqua 00ffff aquamarine 7fffd4 azure f0ffff beige f5f5dc bisque ffe4c4 "
    "black 000000 blanchedalmond ffebcd blue 0000ff blueviolet 8a2be2 brown a52a2a burlywood deb887 "
    "cadetblue 5f9ea0 chartreuse 7fff00 chocolate d2691e coral ff7f50 cornflowerblue 6495ed cornsilk fff8dc "
    "crimson dc143c cyan 00ffff darkblue 00008b darkcyan 008b8b darkgoldenrod b8860b darkgray a9a9a9 "
    "darkgreen 006400 darkgrey a9a9a9 darkkhaki bdb76b darkmagenta 8b008b darkolivegreen 556b2f "
    "darkorange ff8c00 darkorchid 9932cc darkred 8b0000 darksalmon e9967a darkseagreen 8fbc8f "
    "darkslateblue 483d8b darkslategray 2f4f4f darkslategrey 2f4f4f darkturquoise 00ced1 darkviolet 9400d3 "
    "deeppink ff1493 deepskyblue 00bfff dimgray 696969 dimgrey 696969 dodgerblue 1e90ff firebrick b22222 "
    "floralwhite fffaf0 forestgreen 228b22 fuchsia ff00ff gainsboro dcdcdc ghostwhite f8f8ff gold ffd700 "
    "goldenrod daa520 gray 808080 grey 808080 green 008000 greenyellow adff2f honeydew f0fff0 hotpink ff69b4 "
    "indianred cd5c5c indigo 4b0082 ivory fffff0 khaki f0e68c lavender e6e6fa lavenderblush fff0f5 "
    "lawngreen 7cfc00 lemonchiffon fffacd lightblue add8e6 lightcoral f08080 lightcyan e0ffff "
    "lightgoldenrodyellow fafad2 lightgray d3d3d3 lightgreen 90ee90 lightgrey d3d3d3 lightpink ffb6c1 "
    "lightsalmon ffa07a lightseagreen 20b2aa lightskyblue 87cefa lightslategray 778899 lightslategrey 778899 "
    "lightsteelblue b0c4de lightyellow ffffe0 lime 00ff00 limegreen 32cd32 linen faf0e6 magenta ff00ff "
    "maroon 800000 mediumaquamarine 66cdaa mediumblue 0000cd mediumorchid ba55d3 mediumpurple 9370db "
    "mediumseagreen 3cb371 mediumslateblue 7b68ee mediumspringgreen 00fa9a mediumturquoise 48d1cc "
    "mediumvioletred c71585 midnightblue 191970 mintcream f5fffa mistyrose ffe4e1 moccasin ffe4b5 "
    "navajowhite ffdead navy 000080 oldlace fdf5e6 olive 808000 olivedrab 6b8e23 orange ffa500 orangered ff4500 "
    "orchid da70d6 palegoldenrod eee8aa palegreen 98fb98 paleturquoise afeeee palevioletred db7093 "
    "papayawhip ffefd5 peachpuff ffdab9 peru cd853f pink ffc0cb plum dda0dd powderblue b0e0e6 purple 800080 "
    "red ff0000 rosybrown bc8f8f royalblue 4169e1 saddlebrown 8b4513 salmon fa8072 sandybrown f4a460 "
    "seagreen 2e8b57 seashell fff5ee sienna a0522d silver c0c0c0 skyblue 87ceeb slateblue 6a5acd "
    "slategray 708090 slategrey 708090 snow fffafa springgreen 00ff7f steelblue 4682b4 tan d2b48c teal 008080 "
    "thistle d8bfd8 tomato ff6347 turquoise 40e0d0 violet ee82ee wheat f5deb3 white ffffff whitesmoke f5f5f5 "
    "yellow ffff00 yellowgreen 9acd32";

class AdvNamedColors : public ::testing::Test {
 protected:
  void SetUp() override { InitializeNamedColors(); }
  void TearDown() override { FinalizeNamedColors(); }
};

TColor Lookup(const char16_t* name) {
  TColor c = -2;
  EXPECT_TRUE(FindNamedColor(name, c)) << std::string(name, name + std::char_traits<char16_t>::length(name));
  return c;
}

TEST_F(AdvNamedColors, EveryCssKeywordWithItsValue) {
  std::istringstream in(kCssKeywords);
  std::string name, hex;
  int count = 0;
  while (in >> name >> hex) {
    ++count;
    const unsigned rgb = std::stoul(hex, nullptr, 16);
    const TColor expected = TColor(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
    TColor actual = -2;
    const String key(name.begin(), name.end());
    ASSERT_TRUE(FindNamedColor(key, actual)) << name;
    EXPECT_EQ(actual, expected) << name;
  }
  EXPECT_EQ(count, 147);
}

TEST_F(AdvNamedColors, TableShape) {
  TStringList* list = GetNamedColors();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Count(), 160);  // 13 basic keywords twice
  EXPECT_EQ(list->Strings(0), u"aliceblue");
  EXPECT_EQ(list->Strings(list->Count() - 1), u"yellowgreen");
  for (Integer i = 1; i < list->Count(); ++i) EXPECT_LE(CompareText(list->Strings(i - 1), list->Strings(i)), 0);
  // Each entry has its own colour object; duplicates agree.
  for (Integer i = 1; i < list->Count(); ++i) {
    EXPECT_NE(list->Objects(i - 1), list->Objects(i));
    if (list->Strings(i - 1) == list->Strings(i)) {
      EXPECT_EQ(static_cast<TAdvGraphicsColorObject*>(list->Objects(i - 1))->Color(),
                static_cast<TAdvGraphicsColorObject*>(list->Objects(i))->Color());
    }
  }
  EXPECT_EQ(Lookup(u"gray"), 0x808080);
  EXPECT_EQ(Lookup(u"GREY"), 0x808080);
  EXPECT_EQ(Lookup(u"darkslategrey"), Lookup(u"darkslategray"));
  EXPECT_EQ(Lookup(u"aqua"), 0xFFFF00);
  EXPECT_EQ(Lookup(u"cyan"), 0xFFFF00);
  EXPECT_EQ(Lookup(u"magenta"), 0xFF00FF);
  TColor c = 0;
  EXPECT_FALSE(FindNamedColor(u"rebeccapurple", c));
  EXPECT_FALSE(FindNamedColor(u"", c));
}

TEST_F(AdvNamedColors, StartsOnceAndEndsWithTheLastFinalisation) {
  TStringList* list = GetNamedColors();
  InitializeNamedColors();  // a second module starting the unit
  EXPECT_EQ(GetNamedColors(), list);
  EXPECT_EQ(list->Count(), 160);
  FinalizeNamedColors();
  EXPECT_EQ(GetNamedColors(), list);  // the fixture still holds it
}

}  // namespace
