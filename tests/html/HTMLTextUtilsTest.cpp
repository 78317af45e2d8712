// The text utilities of the mini-HTML renderers, as tables of cases.
#include <gtest/gtest.h>

#include "html/HTMLTextUtils.h"

using namespace html;

namespace {

struct TextCase {
  const char16_t* In;
  const char16_t* Out;
};

TEST(HTMLTextUtils, NamedEntitiesDecodeInTableOrderAndCase) {
  const TextCase cases[] = {
      {u"&Eacute;&eacute;", u"\u00C9\u00E9"},
      {u"&euro; &trade; &permil; &dollar; &quot;&apos;", u"\u20AC \u2122 \u2030 $ \"'"},
      {u"&frac34;&ntilde;", u"\u00BE\u00F1"},
      {u"&EACUTE; &unknown; &amp;", u"&EACUTE; &unknown; &amp;"},
      {u"&&eacute;;", u"&\u00E9;"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(HTMLDecodeNamedEntities(c.In), c.Out) << String(c.In).size();
  // The status bar's shorter table keeps the last five names as written.
  EXPECT_EQ(HTMLDecodeNamedEntities(u"&ntilde;&deg;", true), u"&ntilde;\u00B0");
}

TEST(HTMLTextUtils, CharacterReferences) {
  const TextCase cases[] = {
      {u"&#65;&#66;", u"AB"},
      {u"&#x42;", u"B"},
      {u"&#128512;", u"<J \U0001F600 >"},
      {u"&#65 is A;", u"Ais A;"},         // ";" too far: the blank ends the number and goes with it
      {u"&#65 B;", u"&#65 B;"},           // ";" near: the digits hold a blank
      {u"&#;rest", u"&#;rest"},
      {u"&#1234567;", u"&#1234567;"},     // seven digits
      {u"&#65;&&#66;&#67;", u"A&&#66;&#67;"},
      {u"no ref &# here", u"no ref &# here"},
      {u"&#66000;", u"\U000101D0"},       // above U+FFFF and below the emoji range: a pair, not its low bits
      // Mended: no character for these, so the reference stays as written.
      {u"&#0;", u"&#0;"},
      {u"&#55296;x", u"&#55296;x"},       // a lone high surrogate
      {u"&#xDC;", u"\u00DC"},
      {u"&#1114112;", u"&#1114112;"},     // beyond U+10FFFF (also seven digits)
  };
  for (const TextCase& c : cases) EXPECT_EQ(HTMLDecodeCharRefs(c.In), c.Out) << String(c.In).size();
  // Without the emoji tag a reference becomes the plain pair.
  EXPECT_EQ(HTMLDecodeCharRefs(u"&#128512;", false), u"\U0001F600");
  EXPECT_EQ(HTMLCharRefEnd(u"&#12ab", false), 4);
  EXPECT_EQ(HTMLCharRefEnd(u"&#x12ab", true), 3);
  EXPECT_EQ(HTMLCharRefEnd(u"&#123", false), 2);
}

TEST(HTMLTextUtils, HashTagsAndBreaks) {
  EXPECT_EQ(HTMLUnwrapHashTags(u"a<#b>c"), u"a#bc");
  EXPECT_EQ(HTMLUnwrapHashTags(u"<#1> and <#2>"), u"#1 and #2");
  EXPECT_EQ(HTMLUnwrapHashTags(u"<<#x>>"), u"#x");
  EXPECT_EQ(HTMLUnwrapHashTags(u"<>#x"), u"<>#x");
  EXPECT_EQ(HTMLBreaksToBR(u"a\r\nb\nc\r", true), u"a<BR>bc<BR>");
  EXPECT_EQ(HTMLBreaksToBR(u"a\r\nb", false), u"ab");
}

TEST(HTMLTextUtils, NumbersAndColours) {
  EXPECT_EQ(HexPairValue(u"FF"), 255);
  EXPECT_EQ(HexPairValue(u"1A"), 26);
  EXPECT_EQ(HexPairValue(u"F"), 0);
  EXPECT_EQ(HTMLHexColor(u"#FF0080"), TColor(0x8000FF));
  EXPECT_EQ(HTMLHexColor(u"#12"), TColor(0x12));
  EXPECT_EQ(HTMLColorValue(u"#ff0000"), TColor(0x0000FF));
  EXPECT_EQ(HTMLColorName(u"clhighlight"), TColor(0xFF00000D));
  EXPECT_EQ(HTMLColorName(u"clblack"), TColor(0));
  EXPECT_EQ(HTMLColorName(u"nonsense"), TColor(0));
  EXPECT_EQ(HTMLColorValue(u"clRed"), TColor(0x0000FF));
  const struct {
    const char16_t* In;
    Integer Value;
  } ints[] = {{u"12", 12}, {u" 7", 7}, {u"3\"", 3}, {u"-4", -4}, {u"$1F", 31}, {u"0x10", 16}, {u"abc", 0},
              {u"", 0},    {u"99999999999", 2147483647}};
  for (const auto& c : ints) EXPECT_EQ(ValInt(c.In), c.Value) << String(c.In).size();
  EXPECT_DOUBLE_EQ(ValFloat(u"1,5"), 1.5);
  EXPECT_DOUBLE_EQ(ValFloat(u"2x"), 2.0);
}

TEST(HTMLTextUtils, SearchAndReplaceIgnoringCase) {
  String s = u"one &NBSP; two &nbsp;";
  EXPECT_TRUE(ReplaceNoCase(u"&nbsp;", u" ", s));
  EXPECT_EQ(s, u"one   two &nbsp;");
  EXPECT_EQ(ReplaceAllNoCase(u"&lt;", u"<", u"&lt;a&LT;"), u"<a<");
  EXPECT_EQ(PosNoCase(u"B", u"abc"), 1);
  EXPECT_EQ(PosNoCase(u"x", u"abc"), -1);
  Integer p = 0;
  EXPECT_EQ(PosVar(u"c", u"abc", p), 2);
  EXPECT_EQ(p, 2);
  EXPECT_EQ(FindTextFrom(u"A", u"aXa", 1, p, false), 2);
  EXPECT_EQ(FindTextFrom(u"A", u"aXa", 1, p, true), -1);
}

TEST(HTMLTextUtils, PlainTextAndRawIndex) {
  EXPECT_EQ(HTMLToPlainText(u"a<BR>b<z>hidden</z>c<b>d</b>"), u"a\r\nbcd");
  EXPECT_EQ(HTMLToPlainText(u"x<hr>y"), u"x\r\ny");
  EXPECT_EQ(HTMLToPlainText(u"keep <z>open and < rest"), u"keep open and < rest");
  EXPECT_EQ(HTMLStripTags(u"<b>a</b> < b"), u"a < b");
  const String t = u"<b>ab</b>";
  EXPECT_EQ(HTMLRawIndex(t, -1), -1);
  EXPECT_EQ(HTMLRawIndex(t, 0), 0);
  EXPECT_EQ(HTMLRawIndex(t, 1), 4);
  EXPECT_EQ(HTMLRawIndex(t, 2), 5);
  EXPECT_EQ(HTMLRawIndex(t, 3), -1);
  EXPECT_EQ(HTMLRawIndex(u"", 0), 0);
  EXPECT_EQ(HTMLRawIndex(u"ab", 2), 2);
}

TEST(HTMLTextUtils, HighlightWrapsVisibleMatchesAcrossTags) {
  EXPECT_EQ(HTMLHighlight(u"<b>ab</b>c", u"bc", u"hi", false), u"<b>a<hi>b</b>c</hi>");
  EXPECT_EQ(HTMLHighlight(u"Abc abc", u"abc", u"hi", true), u"Abc <hi>abc</hi>");
  EXPECT_EQ(HTMLHighlight(u"Abc abc", u"abc", u"hi", false), u"<hi>Abc</hi> <hi>abc</hi>");
  // Matches that follow each other are each wrapped, never nested.
  EXPECT_EQ(HTMLHighlight(u"aa", u"a", u"e", false), u"<e>a</e><e>a</e>");
  EXPECT_EQ(HTMLHighlight(u"abc", u"", u"hi", false), u"abc");
  EXPECT_EQ(HTMLUnhighlight(u"<HI>a</hi>b<hi>c</HI>", u"hi"), u"abc");
}

}  // namespace
