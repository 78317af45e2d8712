#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"
#include "tests/support/TestUtil.h"

namespace {

using test_support::U8;

TEST(StrUtils, PosCopyAndPieces) {
  EXPECT_EQ(Pos(u"lo", u"hello lo"), 3);
  EXPECT_EQ(Pos(u"lo", u"hello lo", 4), 6);
  EXPECT_EQ(Pos(u"x", u"hello"), -1);
  EXPECT_EQ(Pos(u"", u"hello"), -1);
  EXPECT_EQ(Pos(u"o", u"hello", 99), -1);
  EXPECT_EQ(Pos(u"h", u"hello", -1), -1);

  struct Case { int index, count; String want; };
  const Case copies[] = {{1, 3, u"bcd"}, {-5, 2, u"ab"}, {3, 100, u"def"}, {6, 1, u""},
                         {99, 1, u""},   {2, -1, u""},   {0, 0, u""}};
  for (const auto& c : copies) EXPECT_EQ(U8(Copy(u"abcdef", c.index, c.count)), U8(c.want)) << c.index;
  EXPECT_EQ(U8(Copy(u"abcdef", 4)), "ef");

  EXPECT_EQ(LastDelimiter(u"\\/.", u"a/b.c\\d"), 5);
  EXPECT_EQ(LastDelimiter(u".", u"abc"), -1);
  EXPECT_EQ(U8(StringOfChar(u'-', 3)), "---");
  EXPECT_EQ(StringOfChar(u'-', -3), u"");
}

TEST(StrUtils, StringReplace) {
  struct Case { String s, from, to; TReplaceFlags flags; String want; };
  const Case cases[] = {
      {u"a-b-c", u"-", u"+", 0, u"a+b-c"},
      {u"a-b-c", u"-", u"+", rfReplaceAll, u"a+b+c"},
      {u"aaa", u"a", u"aa", rfReplaceAll, u"aaaaaa"},       // replaced text is not rescanned
      {u"Hello HELLO", u"hello", u"x", rfReplaceAll | rfIgnoreCase, u"x x"},
      {u"Hello HELLO", u"hello", u"x", rfReplaceAll, u"Hello HELLO"},
      {u"\u00C9t\u00E9", u"\u00E9", u"e", rfReplaceAll | rfIgnoreCase, u"ete"},
      {u"abc", u"", u"x", rfReplaceAll, u"abc"},
      {u"abab", u"ab", u"", rfReplaceAll, u""},
  };
  for (const auto& c : cases) EXPECT_EQ(U8(StringReplace(c.s, c.from, c.to, c.flags)), U8(c.want)) << U8(c.s);
}

TEST(StrUtils, Quoting) {
  EXPECT_EQ(U8(QuotedStr(u"it's")), "'it''s'");
  EXPECT_EQ(U8(AnsiQuotedStr(u"a\"b", u'"')), "\"a\"\"b\"");
  struct Case { String in, want; };
  const Case cases[] = {
      {u"\"a\"\"b\"", u"a\"b"}, {u"\"\"", u""},
      {u"plain", u"plain"},     {u"\"open", u"\"open"},         // unterminated: unchanged
      {u"\"a\"b", u"\"a\"b"},   {u"\"", u"\""},
  };
  for (const auto& c : cases) EXPECT_EQ(U8(AnsiDequotedStr(c.in, u'"')), U8(c.want)) << U8(c.in);
}

TEST(Convert, IntegerText) {
  struct Case { String text; bool ok; Integer value; };
  const Case cases[] = {
      {u"123", true, 123},          {u"  -42", true, -42},       {u"+7", true, 7},
      {u"$FF", true, 255},          {u"0x1f", true, 31},         {u"0X1F", true, 31},
      {u"-$10", true, -16},         {u"$FFFFFFFF", true, -1},    {u"2147483647", true, 2147483647},
      {u"-2147483648", true, std::numeric_limits<Integer>::min()},
      {u"000000000000000000012", true, 12},
      {u"2147483648", false, 0},    {u"$100000000", false, 0},   {u"12 ", false, 0},
      {u"", false, 0},              {u"-", false, 0},            {u"0x", false, 0},
      {u"$", false, 0},             {u"1.5", false, 0},          {u"abc", false, 0},
      {u"--1", false, 0},           {u"99999999999999999999999", false, 0},
  };
  for (const auto& c : cases) {
    Integer v = 777;
    EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << U8(c.text);
    EXPECT_EQ(v, c.ok ? c.value : 777) << U8(c.text);
    EXPECT_EQ(StrToIntDef(c.text, -9), c.ok ? c.value : -9) << U8(c.text);
  }
  Int64 big = 0;
  EXPECT_TRUE(TryStrToInt64(u"-9223372036854775808", big));
  EXPECT_EQ(big, std::numeric_limits<Int64>::min());
  EXPECT_EQ(StrToInt64(u"$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64(u"4294967296"), 4294967296LL);
  EXPECT_EQ(StrToInt64Def(u"9223372036854775808", 5), 5);

  try {
    StrToInt(u"12abc");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'12abc' is not a valid integer value");
  }
  EXPECT_THROW(StrToInt64(u"x"), EConvertError);
}

TEST(Convert, ValReportsTheFirstBadCharacter) {
  struct Case { String text; int code; Int64 value; };
  const Case cases[] = {
      {u"  $1F", 0, 31}, {u"3\"", 2, 3}, {u"-12x", 4, 12}, {u"", 1, 0}, {u"-", 2, 0},
  };
  for (const auto& c : cases) {
    Int64 v = -1;
    EXPECT_EQ(Val(c.text, v), c.code) << U8(c.text);
    EXPECT_EQ(v, c.value) << U8(c.text);
  }
  double d = -1;
  EXPECT_EQ(Val(u"2.5", d), 0);
  EXPECT_EQ(d, 2.5);
  EXPECT_EQ(Val(u"2.5mm", d), 4);
  EXPECT_EQ(d, 2.5);
  EXPECT_EQ(Val(u"x", d), 1);
  EXPECT_EQ(d, 0);
}

TEST(Convert, IntToHex) {
  EXPECT_EQ(U8(IntToHex(255, 4)), "00FF");
  EXPECT_EQ(U8(IntToHex(-1, 2)), "FFFFFFFF");
  EXPECT_EQ(U8(IntToHex(Int64{-1}, 2)), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(U8(IntToHex(0, 0)), "0");
  EXPECT_EQ(IntToHex(1, 1000000).size(), 32u);  // padding is bounded
}

TEST(Convert, HexDigitsAlone) {
  EXPECT_EQ(HexDigitValue(U'7'), 7);
  EXPECT_EQ(HexDigitValue(U'f'), 15);
  EXPECT_EQ(HexDigitValue(U'B'), 11);
  for (char32_t c : {U'g', U'G', U' ', U'/', U':', U'@', U'`', U'\uFF21', char32_t(0xFFFFFFC1)})
    EXPECT_EQ(HexDigitValue(c), -1) << static_cast<unsigned>(c);

  struct Case { std::string in; int max; Int64 value; };
  const Case cases[] = {
      {"03eb", 4, 0x03EB}, {"FFFF", 4, 0xFFFF}, {"0", 4, 0}, {"", 4, -1},    {"12345", 4, -1},
      {"0x12", 4, -1},     {"-1", 4, -1},       {" 1", 4, -1}, {"1g", 4, -1}, {"\xC1", 4, -1},
      {"FFFFFFFFFFFFFFF", 15, 0xFFFFFFFFFFFFFFF}, {"1", 16, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HexNumberValue(std::string_view(c.in), c.max), c.value) << c.in;
    EXPECT_EQ(HexNumberValue(StringView(Utf8ToString(c.in)), c.max), c.value) << c.in;
  }
}

TEST(Convert, FloatText) {
  struct Case { String text; bool ok; double value; };
  const Case cases[] = {
      {u"3.14", true, 3.14},   {u" -1.5e3 ", true, -1500}, {u"+.5", true, 0.5},   {u"5.", true, 5},
      {u"1E-400", true, 0},    {u"1,5", false, 0},         {u"", false, 0},        {u".", false, 0},
      {u"1e", false, 0},       {u"e5", false, 0},          {u"1e400", false, 0},   {u"NaN", false, 0},
      {u"INF", false, 0},      {u"1.2.3", false, 0},       {u"0x10", false, 0},    {u"1 2", false, 0},
  };
  for (const auto& c : cases) {
    double v = 42;
    EXPECT_EQ(TryStrToFloat(c.text, v), c.ok) << U8(c.text);
    EXPECT_EQ(v, c.ok ? c.value : 42) << U8(c.text);
  }
  TFormatSettings comma;
  comma.DecimalSeparator = u',';
  EXPECT_EQ(StrToFloat(u"1,5", comma), 1.5);
  EXPECT_EQ(StrToFloatDef(u"1.5", -1, comma), -1);
  try {
    StrToFloat(u"1..2");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'1..2' is not a valid floating point value");
  }
}

TEST(Convert, FloatToStr) {
  struct Case { double value; String want; };
  const Case cases[] = {
      {0, u"0"},
      {0.1, u"0.1"},
      {-2.5, u"-2.5"},
      {1.0 / 3, u"0.333333333333333"},
      {2.0 / 3, u"0.666666666666667"},
      {123456789012345.0, u"123456789012345"},
      {1e15, u"1E15"},
      {0.00001, u"0.00001"},
      {0.0000015, u"1.5E-6"},
      {1e100, u"1E100"},
      {-1e-100, u"-1E-100"},
      {std::numeric_limits<double>::quiet_NaN(), u"NAN"},
      {std::numeric_limits<double>::infinity(), u"INF"},
      {-std::numeric_limits<double>::infinity(), u"-INF"},
  };
  for (const auto& c : cases) EXPECT_EQ(U8(FloatToStr(c.value)), U8(c.want)) << c.value;

  EXPECT_EQ(U8(FloatToStrF(1234.5678, ffFixed, 6, 2)), "1234.57");
  EXPECT_EQ(U8(FloatToStrF(1234.5678, ffExponent, 4, 2)), "1.235E+03");
  EXPECT_EQ(U8(FloatToStrF(1234567.891, ffNumber, 15, 2)), "1,234,567.89");
  EXPECT_EQ(U8(FloatToStrF(-5, ffCurrency, 15, 2)), "($5.00)");
  TFormatSettings fs;
  fs.DecimalSeparator = u',';
  EXPECT_EQ(U8(FloatToStr(2.5, fs)), "2,5");
  fs.CurrencyString = u"EUR";
  fs.CurrencyFormat = 3;
  fs.NegCurrFormat = 8;
  EXPECT_EQ(U8(FloatToStrF(1.5, ffCurrency, 15, 2, fs)), "1,50 EUR");
  EXPECT_EQ(U8(FloatToStrF(-1.5, ffCurrency, 15, 2, fs)), "-1,50 EUR");
}

TEST(Convert, Booleans) {
  EXPECT_EQ(BoolToStr(true), u"-1");
  EXPECT_EQ(BoolToStr(false), u"0");
  EXPECT_EQ(BoolToStr(true, true), u"True");
  EXPECT_TRUE(StrToBool(u"tRUE"));
  EXPECT_FALSE(StrToBool(u"False"));
  EXPECT_TRUE(StrToBool(u"-1"));
  EXPECT_TRUE(StrToBool(u"2.5"));
  EXPECT_FALSE(StrToBool(u"0"));
  EXPECT_TRUE(StrToBoolDef(u"maybe", true));
  try {
    StrToBool(u"yes");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'yes' is not a valid boolean value");
  }
}

TEST(Math, RoundingHelpers) {
  struct Case { double value; Int64 round, trunc, ceil, floor; };
  const Case cases[] = {
      {0.5, 0, 0, 1, 0},     {1.5, 2, 1, 2, 1},      {2.5, 2, 2, 3, 2},     {-0.5, 0, 0, 0, -1},
      {-1.5, -2, -1, -1, -2}, {-2.5, -2, -2, -2, -3}, {2.4999, 2, 2, 3, 2},  {-16.5, -16, -16, -16, -17},
      {0.49999999999999994, 0, 0, 1, 0},
      {4503599627370497.0, 4503599627370497, 4503599627370497, 4503599627370497, 4503599627370497},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Round(c.value), c.round) << c.value;
    EXPECT_EQ(Trunc(c.value), c.trunc) << c.value;
    EXPECT_EQ(Ceil(c.value), c.ceil) << c.value;
    EXPECT_EQ(Floor(c.value), c.floor) << c.value;
  }
  EXPECT_DOUBLE_EQ(Frac(-2.75), -0.75);
  EXPECT_DOUBLE_EQ(Int(-2.75), -2.0);
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e19, -1e19,
                     9223372036854775808.0}) {
    EXPECT_THROW(Round(bad), EInvalidOp) << bad;
    EXPECT_THROW(Trunc(bad), EInvalidOp) << bad;
  }
  EXPECT_EQ(Trunc(-9223372036854775808.0), std::numeric_limits<Int64>::min());
}

TEST(FileNames, SplitsOnBothSeparators) {
  struct Case { String name, path, dir, file, ext; };
  const Case cases[] = {
      {u"C:\\Program Files\\App\\app.exe", u"C:\\Program Files\\App\\", u"C:\\Program Files\\App", u"app.exe", u".exe"},
      {u"/tmp/a.b/c", u"/tmp/a.b/", u"/tmp/a.b", u"c", u""},
      {u"C:\\x.txt", u"C:\\", u"C:\\", u"x.txt", u".txt"},
      {u"C:x.txt", u"C:", u"C:", u"x.txt", u".txt"},
      {u"/x", u"/", u"/", u"x", u""},
      {u"a\\\\b", u"a\\\\", u"a\\\\", u"b", u""},
      {u"file.tar.gz", u"", u"", u"file.tar.gz", u".gz"},
      {u"dir/", u"dir/", u"dir", u"", u""},
      {u"", u"", u"", u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(U8(ExtractFilePath(c.name)), U8(c.path)) << U8(c.name);
    EXPECT_EQ(U8(ExtractFileDir(c.name)), U8(c.dir)) << U8(c.name);
    EXPECT_EQ(U8(ExtractFileName(c.name)), U8(c.file)) << U8(c.name);
    EXPECT_EQ(U8(ExtractFileExt(c.name)), U8(c.ext)) << U8(c.name);
  }
  EXPECT_EQ(U8(ChangeFileExt(u"a\\b.c\\d.txt", u".ini")), "a\\b.c\\d.ini");
  EXPECT_EQ(U8(ChangeFileExt(u"a.dir/readme", u".md")), "a.dir/readme.md");
  EXPECT_EQ(U8(ChangeFileExt(u"x.old", u"")), "x");
  EXPECT_EQ(U8(IncludeTrailingPathDelimiter(u"/tmp")), "/tmp/");
  EXPECT_EQ(U8(IncludeTrailingPathDelimiter(u"C:\\tmp\\")), "C:\\tmp\\");
  EXPECT_EQ(U8(IncludeTrailingPathDelimiter(u"")), "");
  EXPECT_EQ(U8(ExcludeTrailingPathDelimiter(u"/tmp//")), "/tmp/");
  EXPECT_EQ(U8(ExcludeTrailingPathDelimiter(u"C:\\tmp\\")), "C:\\tmp");
}

}  // namespace
