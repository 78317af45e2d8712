#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Exceptions.h"

namespace {

std::string U8(const String& s) { return StringToUtf8(s); }

TEST(AdvUtilsText, SearchAndReplaceIgnoreAsciiCaseOnly) {
  EXPECT_EQ(TAdvUtils::IPos(u"LO", u"hello"), 3);
  EXPECT_EQ(TAdvUtils::IPos(u"x", u"hello"), -1);
  EXPECT_EQ(TAdvUtils::IPos(u"\u00C9", u"\u00E9"), -1);  // only ASCII letters fold
  EXPECT_EQ(TAdvUtils::IPos(u"", u"abc"), -1);

  String s = u"a <B>bold</b> <b>";
  EXPECT_TRUE(TAdvUtils::TagReplaceString(u"<b>", u"[", s));
  EXPECT_EQ(s, u"a [bold</b> <b>");
  EXPECT_FALSE(TAdvUtils::TagReplaceString(u"<i>", u"[", s));

  Integer r = 99;
  EXPECT_EQ(TAdvUtils::VarPos(u"b", u"abc", r), 1);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(TAdvUtils::VarPos(u"B", u"abc", r), -1);
  EXPECT_EQ(TAdvUtils::VarPosNoCase(u"B", u"abc", r), 1);

  EXPECT_EQ(TAdvUtils::CharInStr(u"abc", 0), u'a');
  EXPECT_EQ(TAdvUtils::CharInStr(u"abc", 2), u'c');
  EXPECT_EQ(TAdvUtils::CharInStr(u"abc", 3), 0);
  EXPECT_EQ(TAdvUtils::CharInStr(u"abc", -1), 0);
}

TEST(AdvUtilsText, FixMarkup) {
  struct Case { String in; bool special; String out; };
  const Case cases[] = {
      {u"a&b<c>\"d\"", false, u"a&amp;b&lt;c&gt;&quot;d&quot;"},
      {u"x*amp;y", false, u"x&amp;y"},  // the placeholder form is taken as an ampersand too
      {u"a b", true, u"a&nbsp;b"},
      {u"\u00E9\u00C9$'", true, u"&eacute;&Eacute;&#36;&#39;"},
      {u"\u00A7", true, u"&sect;"},
      {u"\u0100\u0101", true, u"\u0100&#257;"},
      {u"\u20AC\u2122", true, u"&euro;&trade;"},  // table entries win over numeric references
      {u"\u4E2D", true, u"&#20013;"},
      {u"\U0001F600", true, u"&#128512;"},  // a surrogate pair is one reference
      {u"a b", false, u"a b"},
  };
  for (const auto& c : cases) EXPECT_EQ(TAdvUtils::FixMarkup(c.in, c.special), c.out) << U8(c.in);
}

TEST(AdvUtilsText, UnFixMarkup) {
  struct Case { String in; bool special, specialOnly; String out; };
  const Case cases[] = {
      {u"&lt;b&gt; &amp; &quot;", false, false, u"<b> & \""},
      {u"&amp;amp;", false, false, u"&"},  // repeated until no name is left
      {u"&Otilde", true, false, u"\u00D5"},
      {u"caf&eacute;&nbsp;&copy;", true, false, u"caf\u00E9 \u00A9"},
      {u"&lt;&eacute;", true, true, u"&lt;\u00E9"},
      {u"&#x00FD;&#221;", true, false, u"\u00FD\u00DD"},
      {u"&amp;amp;lt;", false, false, u"&lt;"},  // "&lt;" was done before "&amp;" made this one
      // Any letter case is replaced up to the last occurrence written with case.
      {u"&EACUTE; &eacute; &EACUTE;", true, true, u"\u00E9 \u00E9 &EACUTE;"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TAdvUtils::UnFixMarkup(c.in, c.special, c.specialOnly), c.out) << U8(c.in);
  // Round trip through both directions.
  const String text = u"<p class=\"x\">caf\u00E9 & \u00A9 2024 \u00BD $5</p>";
  EXPECT_EQ(TAdvUtils::UnFixMarkup(TAdvUtils::FixMarkup(text, true), true, false), text);
}

TEST(AdvUtilsText, MarkupIndexAndSpecialChars) {
  EXPECT_EQ(TAdvUtils::GetMarkupIndex(u"&EACUTE;"), -1);  // accent names need their case
  EXPECT_EQ(TAdvUtils::GetMarkupIndex(u"&eacute;"), 5);
  EXPECT_EQ(TAdvUtils::GetMarkupIndex(u"&Eacute;"), 25);
  EXPECT_EQ(TAdvUtils::GetMarkupIndex(u"&COPY;"), 51);
  EXPECT_EQ(TAdvUtils::GetMarkupIndex(u"amp;"), 0);
  EXPECT_EQ(TAdvUtils::GetMarkupIndex(u"&nope;"), -1);
  EXPECT_EQ(TAdvUtils::GetSpecialChar(1), u"&");
  EXPECT_EQ(TAdvUtils::GetSpecialChar(86), u"\u00D0");
  EXPECT_EQ(TAdvUtils::GetSpecialChar(0), u"");
  EXPECT_EQ(TAdvUtils::GetSpecialChar(87), u"");
}

TEST(AdvUtilsText, HtmlDetectionAndStripping) {
  EXPECT_TRUE(TAdvUtils::IsHTML(u"a</b>"));
  EXPECT_TRUE(TAdvUtils::IsHTML(u"<br/>"));
  EXPECT_TRUE(TAdvUtils::IsHTML(u"x<br>y"));
  EXPECT_FALSE(TAdvUtils::IsHTML(u"a < b > c"));
  EXPECT_EQ(TAdvUtils::HTMLStrip(u"x<b>y</b><BR>z"), u"xy\r\nz");
  EXPECT_EQ(TAdvUtils::HTMLStrip(u"a<hr>b<Br>c"), u"a\r\nb\r\nc");
  EXPECT_EQ(TAdvUtils::HTMLStrip(u"ab<c"), u"ab<c");
  EXPECT_EQ(TAdvUtils::HTMLStrip(u"<a href=\"x\">link</a> after <"), u"link after <");
  EXPECT_EQ(TAdvUtils::HTMLStrip(u"<<BR>BR>a>b<<x"), u"a>b<<x");
  EXPECT_EQ(TAdvUtils::HTMLStrip(u"<B<HR>R>"), u"");  // the break splits no tag
  // A long tagged text (rebuilding the text per tag made this grow with the square of its length).
  String big;
  for (int i = 0; i < 200000; ++i) big += i % 2 ? u"<br>x" : u"<i>y";
  const String stripped = TAdvUtils::HTMLStrip(big);
  EXPECT_EQ(stripped.size(), 100000u * 4);
  EXPECT_EQ(stripped.substr(0, 8), u"y\r\nxy\r\nx");
}

TEST(AdvUtilsText, EscapeString) {
  struct Case { String in; String out; };
  const Case cases[] = {
      {u"plain text 1/2", u"plain text 1/2"},
      {u"\"", u"\\u0022"},
      {u"\\", u"\\u005C"},
      {u"\b\f\n\r\t", u"\\u0008\\u000C\\u000A\\u000D\\u0009"},
      {u"\u00E9", u"\\u00E9"},
      {u"\u20AC\uFFFF", u"\\u20AC\\uFFFF"},
      {u"\U0001F600", u"\\uD83D\\uDE00"},
      {String(u"a\0b\x1F", 4), u"a\\u0000b\\u001F"},  // every control character, so the text stays JSON
      {u"\x7F", u"\x7F"},
  };
  for (const auto& c : cases) EXPECT_EQ(TAdvUtils::EscapeString(c.in), c.out) << U8(c.in);
}

TEST(AdvUtilsText, UnescapeString) {
  struct Case { String in; String out; };
  const Case cases[] = {
      {u"a\\\\b\\/c\\\"d", u"a\\b/c\"d"},
      {u"\\b\\f\\n\\r\\t", u"\b\f\n\r\t"},
      {u"\\u00e9\\u00E9", u"\u00E9\u00E9"},
      {u"\\uD800x", String(u"\xD800x", 2)},  // a lone surrogate is kept as it is
      {u"\\u0000", String(1, 0)},
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(TAdvUtils::UnescapeString(c.in), c.out) << U8(c.in);

  struct Bad { String in; String message; };
  const Bad bad[] = {
      {u"abc\\", u"Unexpected end of string"},
      {u"\\x", u"Invalid code at position 1"},
      {u"ab\\q", u"Invalid code at position 3"},
      {u"\\u12", u"Invalid code at position 1"},
      {u"x\\u12G4", u"Invalid code at position 2"},
  };
  for (const auto& b : bad) {
    try {
      TAdvUtils::UnescapeString(b.in);
      ADD_FAILURE() << "no exception for " << U8(b.in);
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), b.message) << U8(b.in);
    }
  }
}

TEST(AdvUtilsText, FloatTextWithDot) {
  struct Case { String in; bool ok; double value; };
  const Case cases[] = {
      {u"1.5", true, 1.5},   {u" -2.25 ", true, -2.25}, {u"1e3", true, 1000},  {u"+.5", true, 0.5},
      {u"5.", true, 5},      {u"1E-2", true, 0.01},     {u"1,5", false, 0},    {u"", false, 0},
      {u"abc", false, 0},    {u"1e", false, 0},         {u"1e400", false, 0},  {u"1e-400", true, 0},
      {u"--1", false, 0},    {u".", false, 0},
  };
  for (const auto& c : cases) {
    double v = -1;
    EXPECT_EQ(TAdvUtils::TryStrToFloatDot(c.in, v), c.ok) << U8(c.in);
    if (c.ok) {
      EXPECT_DOUBLE_EQ(v, c.value) << U8(c.in);
    }
  }
  EXPECT_THROW(TAdvUtils::StrToFloatDot(u"x"), EConvertError);

  struct Out { double v; String text; };
  const Out outs[] = {
      {1.5, u"1.5"},          {-0.25, u"-0.25"},         {0, u"0"},
      {100, u"100"},          {0.1 + 0.2, u"0.3"},       {1e15, u"1E15"},
      {999999999999999, u"999999999999999"},           {0.0001, u"0.0001"},
      {0.00001, u"1E-5"},     {1.5e-7, u"1.5E-7"},       {-1.25e20, u"-1.25E20"},
      {123456.789, u"123456.789"}, {1.0 / 3, u"0.333333333333333"},
  };
  for (const auto& o : outs) EXPECT_EQ(TAdvUtils::FloatToStrDot(o.v), o.text) << o.v;
}

TEST(AdvUtilsText, FloatTextHasTheFifteenDigitsOfTheCorrectRounding) {
  // Against the C library's rounding to 15 significant digits: random bit
  // patterns, short decimals, results of arithmetic, subnormals, the largest
  // values and halfway cases of the 16th digit.
  std::vector<double> values = {5e-324, 2.2250738585072014e-308, 1.797693134862314e308, 0.1 + 0.2,
                                1.0000000000000005, 9.9999999999999995e14, 0.30000000000000004, 123456789012345.65,
                                2.5e-5, 1e23, 8.5e-310};
  std::uint64_t seed = 0x9E3779B97F4A7C15ull;
  for (int i = 0; i < 20000; ++i) {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    double v = 0;
    std::memcpy(&v, &seed, sizeof v);
    if (std::isfinite(v)) values.push_back(v);
    values.push_back(static_cast<double>(seed % 100000000) / 1000.0);
    values.push_back(std::sin(static_cast<double>(i)) * 1000.0);
  }
  // Values whose 16th digit is a 5 and their neighbours, at every scale the
  // quick road takes: the rounding there is decided by the last bits.
  for (int e = -10; e <= 37; ++e) {
    double v = 123456789012345.5 * std::pow(10.0, e - 14);
    for (int step = 0; step < 4; ++step) v = std::nextafter(v, 0);
    for (int step = 0; step < 8; ++step, v = std::nextafter(v, HUGE_VAL)) values.push_back(v);
    values.push_back(std::nextafter(std::pow(10.0, e), 0));
  }
  for (double v : values) {
    if (std::fabs(v) > 1.797693134862315e308) continue;  // kept at 17 digits, as 15 would overflow
    char expected[40];
    std::snprintf(expected, sizeof expected, "%.14e", v);
    const std::string text = StringToUtf8(TAdvUtils::FloatToStrDot(v));
    ASSERT_EQ(std::strtod(text.c_str(), nullptr), std::strtod(expected, nullptr)) << expected << " as " << text;
  }
}

TEST(AdvUtilsText, EpochToDateTime) {
  EXPECT_DOUBLE_EQ(TAdvUtils::EpochToDateTime(u"0"), 25569.0);
  EXPECT_DOUBLE_EQ(TAdvUtils::EpochToDateTime(u"86400"), 25570.0);
  EXPECT_DOUBLE_EQ(TAdvUtils::EpochToDateTime(u"-43200"), 25568.5);
  EXPECT_THROW(TAdvUtils::EpochToDateTime(u"12x"), EConvertError);
  EXPECT_THROW(TAdvUtils::EpochToDateTime(u"4294967296"), EConvertError);  // not a 32-bit number
}

TEST(AdvUtilsText, UrlEncodeAndDecode) {
  struct Case { String in; String out; };
  const Case enc[] = {
      {u"a b~", u"a%20b%7E"},
      {u"AZaz09-._", u"AZaz09-._"},
      {u"a/b?c=d&e+f", u"a%2Fb%3Fc%3Dd%26e%2Bf"},
      {u"\u00E9\u20AC", u"%C3%A9%E2%82%AC"},
  };
  for (const auto& c : enc) EXPECT_EQ(TAdvUtils::URLEncode(c.in), c.out) << U8(c.in);
  const Case dec[] = {
      {u"a%2Fb", u"a/b"},
      {u"a%2fb", u"ab"},  // lower-case digits drop the escape
      {u"%C3%A9t%C3%A9", u"\u00E9t\u00E9"},
      {u"a+b", u"a+b"},
      {u"ab%4", u"ab4"},  // too short: the percent sign is dropped
      {u"ab%", u"ab"},
      {u"  %20x%20 ", u"x"},
      {u"%FF", u"\uFFFD"},
      {u"", u""},
  };
  for (const auto& c : dec) EXPECT_EQ(TAdvUtils::URLDecode(c.in), c.out) << U8(c.in);
  // Everything URLEncode produces decodes back (apart from the outer trim).
  const String sample = u"x:/\u00E9 \u4E2D\U0001F600?&=+%y";
  EXPECT_EQ(TAdvUtils::URLDecode(TAdvUtils::URLEncode(sample)), sample);
}

TEST(AdvUtilsText, HexStrToBytes) {
  EXPECT_EQ(TAdvUtils::HexStrToBytes(u"00ff7Fa0"), (TBytes{0x00, 0xFF, 0x7F, 0xA0}));
  EXPECT_EQ(TAdvUtils::HexStrToBytes(u""), TBytes{});
  EXPECT_THROW(TAdvUtils::HexStrToBytes(u"0g"), EConvertError);
  EXPECT_THROW(TAdvUtils::HexStrToBytes(u"abc"), ERangeError);
}

TEST(AdvUtilsText, CharSetsAndQuotedScanning) {
  EXPECT_EQ(TAdvUtils::NumericCharSet().size(), 10u);
  const auto alpha = TAdvUtils::AlphaCharSet();
  ASSERT_EQ(alpha.size(), 52u);
  EXPECT_EQ(alpha.front(), u'a');
  EXPECT_EQ(alpha[26], u'A');
  const auto both = TAdvUtils::AddCharSet(TAdvUtils::CreateCharSet(u"ab"), TAdvUtils::CreateCharSet(u"ba"));
  EXPECT_EQ(both, (TAdvUtilsCharSet{u'a', u'b', u'b', u'a'}));
  EXPECT_EQ(TAdvUtils::SubCharSet(TAdvUtils::CreateCharSet(u"abcab"), TAdvUtils::CreateCharSet(u"b")),
            (TAdvUtilsCharSet{u'a', u'c', u'a'}));
  EXPECT_TRUE(TAdvUtils::CharInSet(u'c', TAdvUtils::CreateCharSet(u"abc")));
  EXPECT_FALSE(TAdvUtils::CharInSet(u'd', TAdvUtils::CreateCharSet(u"abc")));

  Integer pos = 0;
  const auto ops = TAdvUtils::CreateCharSet(u"&|");
  EXPECT_EQ(TAdvUtils::FirstChar(ops, u"\"a&b\"|c", pos), u'|');
  EXPECT_EQ(pos, 5);
  EXPECT_EQ(TAdvUtils::FirstChar(ops, u"\"a&b\"", pos), 0);
  EXPECT_EQ(pos, -1);
  // A quote in the set: the opening quote is outside (no quote before it), the closing one inside.
  EXPECT_EQ(TAdvUtils::FirstChar(TAdvUtils::CreateCharSet(u"\"x"), u"a\"x\"x", pos), u'"');
  EXPECT_EQ(pos, 1);
  EXPECT_EQ(TAdvUtils::FirstChar(TAdvUtils::CreateCharSet(u"\"x"), u"\"x", pos), u'"');
  EXPECT_EQ(pos, 0);
  EXPECT_EQ(TAdvUtils::StripLogicSpaces(u" a = \"b c\" "), u"a=\"b c\"");
  EXPECT_EQ(TAdvUtils::ClosingParenthesis(u"(a(b)c)d)"), 6);
  EXPECT_EQ(TAdvUtils::ClosingParenthesis(u"((a)"), -1);
  EXPECT_EQ(TAdvUtils::ClosingParenthesis(u"a)"), -1);  // counts never meet: one ")" and no "("
}

}  // namespace
