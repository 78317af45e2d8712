#include <gtest/gtest.h>

#include <limits>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"
#include "tests/support/TestUtil.h"

namespace {

using test_support::U8;

TEST(Format, IntegersStringsAndPadding) {
  const String name = u"port";
  struct Case { String got; String want; };
  const Case cases[] = {
      {Format(u"%d of %s", {3, name}), u"3 of port"},
      {Format(u"%5d|%-5d|", {42, 42}), u"   42|42   |"},
      {Format(u"%.5d", {-12}), u"-00012"},
      {Format(u"%d", {std::numeric_limits<Int64>::min()}), u"-9223372036854775808"},
      {Format(u"%u", {-1}), u"4294967295"},
      {Format(u"%u", {Int64{-1}}), u"18446744073709551615"},
      {Format(u"%x %X %.4x", {255, 255, 255}), u"FF FF 00FF"},
      {Format(u"%x", {-1}), u"FFFFFFFF"},
      {Format(u"%x", {Cardinal{0xFFFFFFFF}}), u"FFFFFFFF"},
      {Format(u"%s|%.2s|%5s|%-5s|", {u"abc", u"abc", u"abc", u"abc"}), u"abc|ab|  abc|abc  |"},
      {Format(u"%s%s%s", {u'x', "8bit", std::string("\xE9")}), u"x8bit\u00E9"},
      {Format(u"100%%", {}), u"100%"},
      {Format(u"%1:s %0:s %s", {u"a", u"b", u"c"}), u"b a b"},
      {Format(u"%*d|%-*d|%.*f", {4, 7, 3, 7, 1, 2.25}), u"   7|7  |2.3"},
      {Format(u"%d.%d", {0x0115 >> 8, 0x0115 & 0xFF}), u"1.21"},
      {Format(u"%p", {reinterpret_cast<const void*>(std::uintptr_t{0xABC})}), u"0000000000000ABC"},
  };
  for (const auto& c : cases) EXPECT_EQ(U8(c.got), U8(c.want));
}

TEST(Format, Floats) {
  struct Case { String got; String want; };
  const Case cases[] = {
      {Format(u"%f", {3.14159}), u"3.14"},
      {Format(u"%.3f|%.0f", {3.14159, 2.5}), u"3.142|3"},
      {Format(u"%.0f%%", {45.5}), u"46%"},
      {Format(u"%f", {-0.001}), u"0.00"},  // no "-0.00"
      {Format(u"%8.2f|%-8.2f|", {-1.5, 1.5}), u"   -1.50|1.50    |"},
      {Format(u"%e", {1234.5}), u"1.23450000000000E+003"},
      {Format(u"%.3e", {-0.000123456}), u"-1.23E-004"},
      {Format(u"%.18e", {0.5}), u"5.00000000000000000E-001"},
      {Format(u"%g|%g|%g", {1234.5, 0.5, 100.0}), u"1234.5|0.5|100"},
      {Format(u"%n", {1234567.891}), u"1,234,567.89"},
      {Format(u"%.0n", {999.5}), u"1,000"},
      {Format(u"%m|%m", {1234.5, -1234.5}), u"$1,234.50|($1,234.50)"},
      {Format(u"%f", {std::numeric_limits<double>::quiet_NaN()}), u"NAN"},
      {Format(u"%f", {-std::numeric_limits<double>::infinity()}), u"-INF"},
  };
  for (const auto& c : cases) EXPECT_EQ(U8(c.got), U8(c.want));

  TFormatSettings german;
  german.DecimalSeparator = u',';
  german.ThousandSeparator = u'.';
  EXPECT_EQ(U8(Format(u"%f|%n", {2.5, 1234.5}, german)), "2,50|1.234,50");
}

TEST(Format, BadSpecifiersAndArgumentsRaise) {
  const auto message = [](StringView fmt, std::initializer_list<TVarRec> args) -> std::string {
    try {
      Format(fmt, args);
    } catch (const EConvertError& e) {
      return e.what();
    }
    return "no error";
  };
  EXPECT_EQ(message(u"%d", {u"x"}), "Format '%d' invalid or incompatible with argument");
  EXPECT_EQ(message(u"n=%d %d", {1}), "No argument for format 'n=%d %d'");
  const struct { String fmt; std::initializer_list<TVarRec> args; } bad[] = {
      {u"%f", {1}},                // an integer is no float
      {u"%s", {1.5}},
      {u"%x", {1.5}},
      {u"%p", {u"x"}},
      {u"%*d", {u"w", 1}},         // width must be an integer
      {u"abc%", {1}},              // dangling percent
      {u"%5", {1}},                // no type
      {u"%k", {1}},                // unknown type
      {u"%3:d", {1}},              // index past the arguments
      {u"%999999999d", {1}},       // absurd width is refused, not allocated
  };
  for (const auto& b : bad) EXPECT_THROW(Format(b.fmt, b.args), EConvertError) << U8(b.fmt);
}

TEST(FormatFloat, DocumentedPictureTable) {
  // Columns: 1234, -1234, 0.5, 0.
  struct Row { String fmt; String out[4]; };
  const Row rows[] = {
      {u"", {u"1234", u"-1234", u"0.5", u"0"}},
      {u"0", {u"1234", u"-1234", u"1", u"0"}},
      {u"0.00", {u"1234.00", u"-1234.00", u"0.50", u"0.00"}},
      {u"#.##", {u"1234", u"-1234", u".5", u""}},
      {u"#,##0.00", {u"1,234.00", u"-1,234.00", u"0.50", u"0.00"}},
      {u"#,##0.00;(#,##0.00)", {u"1,234.00", u"(1,234.00)", u"0.50", u"0.00"}},
      {u"#,##0.00;;Zero", {u"1,234.00", u"-1,234.00", u"0.50", u"Zero"}},
      {u"0.000E+00", {u"1.234E+03", u"-1.234E+03", u"5.000E-01", u"0.000E+00"}},
      {u"#.###E-0", {u"1.234E3", u"-1.234E3", u"5E-1", u"0E0"}},
  };
  const double values[4] = {1234, -1234, 0.5, 0};
  for (const auto& r : rows)
    for (int i = 0; i < 4; ++i) EXPECT_EQ(U8(FormatFloat(r.fmt, values[i])), U8(r.out[i])) << U8(r.fmt) << " " << values[i];
}

TEST(FormatFloat, PicturesLiteralsAndRounding) {
  struct Case { String fmt; double value; String want; };
  const Case cases[] = {
      {u"##.000 MHz", 16000000 / 1e6, u"16.000 MHz"},
      {u"##.000 MHz", 11059200 / 1e6, u"11.059 MHz"},
      {u"000", 5, u"005"},
      {u"#,##0", 1234567, u"1,234,567"},
      {u"#,##0", 999.6, u"1,000"},
      {u"0.00", 1.005, u"1.01"},                 // 15 significant digits first, then half away from zero
      {u"0", -0.4, u"0"},                        // no "-0"
      {u"0.0;-0.0;zero", -0.04, u"zero"},        // zero section after rounding
      {u"\"$\"#,##0.00", 1234.5, u"$1,234.50"},
      {u"'x;y' 0", 7, u"x;y 7"},                 // quoted ';' does not split sections
      {u"0.00E+00", 123456, u"1.23E+05"},
      {u"00.0E+0", 12345, u"12.3E+3"},
      {u"0.0", 1e20, u"1E20"},                   // too many integer digits: general form
      {u"0.##", 1, u"1"},
      {u".00", 12.5, u"12.50"},
  };
  for (const auto& c : cases) EXPECT_EQ(U8(FormatFloat(c.fmt, c.value)), U8(c.want)) << U8(c.fmt);

  TFormatSettings fs;
  fs.DecimalSeparator = u',';
  fs.ThousandSeparator = u'.';
  EXPECT_EQ(U8(FormatFloat(u"##.000 MHz", 11.0592, fs)), "11,059 MHz");
  EXPECT_EQ(U8(FormatFloat(u"#,##0.00", 1234567.5, fs)), "1.234.567,50");
  EXPECT_EQ(U8(FormatFloat(u"0.00", std::numeric_limits<double>::quiet_NaN())), "NAN");
}

}  // namespace
