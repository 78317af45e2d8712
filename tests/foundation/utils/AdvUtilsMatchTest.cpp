#include <gtest/gtest.h>

#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Strings.h"

namespace {

// Sets the process-wide date and number conventions for one test.
class TSettingsScope {
 public:
  TSettingsScope() : FSaved(FormatSettings) {}
  ~TSettingsScope() { FormatSettings = FSaved; }
 private:
  TFormatSettings FSaved;
};

TEST(AdvUtilsMatch, IsDate) {
  TSettingsScope scope;
  FormatSettings.ShortDateFormat = u"dd.MM.yyyy";
  FormatSettings.DateSeparator = u'.';
  FormatSettings.TimeSeparator = u':';
  struct Case { String text; bool ok; TDateTime expected; };
  const Case cases[] = {
      {u"31.12.2024", true, EncodeDate(2024, 12, 31)},
      {u"31.12.2024 10:45", true, EncodeDate(2024, 12, 31) + EncodeTime(10, 45, 0, 0)},
      {u"1.2.2024  23:59:30", true, EncodeDate(2024, 2, 1) + EncodeTime(23, 59, 30, 0)},
      {u"12.13.2024", false, 0},
      {u"32.01.2024", false, 0},
      {u"31.02.2024", false, 0},
      {u"0.1.2024", false, 0},
      {u"31.12", false, 0},
      {u"31/12/2024", false, 0},
      {u"aa.12.2024", false, 0},
      {u"31.12.2024 24:00", false, 0},
      {u"31.12.2024 10:60", false, 0},
      {u"", false, 0},
  };
  for (const auto& c : cases) {
    TDateTime d = -1;
    EXPECT_EQ(TAdvUtils::IsDate(c.text, d), c.ok) << StringToUtf8(c.text);
    if (c.ok) {
      EXPECT_NEAR(d, c.expected, 1e-9) << StringToUtf8(c.text);
    }
  }
  // A time without its separator fails, but the date part is delivered.
  TDateTime d = -1;
  EXPECT_FALSE(TAdvUtils::IsDate(u"31.12.2024 1045", d));
  EXPECT_DOUBLE_EQ(d, EncodeDate(2024, 12, 31));

  FormatSettings.ShortDateFormat = u"M/d/yyyy";
  FormatSettings.DateSeparator = u'/';
  EXPECT_TRUE(TAdvUtils::IsDate(u"12/31/2024", d));
  EXPECT_DOUBLE_EQ(d, EncodeDate(2024, 12, 31));
  EXPECT_EQ(TAdvUtils::StripThousandSep(u"1,234,567.5"), u"1234567.5");
}

TEST(AdvUtilsMatch, Matches) {
  struct Case { String condition, value; bool result; };
  const Case cases[] = {
      // comparisons: numbers, then dates, then text
      {u">=10", u"10", true},    {u">10", u"10", false},     {u">10", u"10.5", true},
      {u"<10", u"9", true},      {u"<=10", u"10", true},     {u"<10", u"100", false},
      {u"> 1,000", u"1,500", true},                          {u">\"b\"", u"c", true},
      {u">b", u"a", false},      {u">9", u"10", true},       // numeric, not textual
      {u">5&<10", u"7", true},   {u">5&<10", u"12", false},  {u"<5^>10", u"12", true},
      {u"<5^>10", u"7", false},  {u"!5", u"6", true},        {u"!5", u"5", false},
      {u">01/02/2024", u"01/03/2024", true},                 {u"<01/02/2024", u"12/31/2023", true},
      // wildcards
      {u"a*c", u"abbbc", true},  {u"a*c", u"abbbd", false},  {u"a?c", u"abc", true},
      {u"a?c", u"ac", false},    {u"!a*", u"abc", false},    {u"!a*", u"xbc", true},
      {u"*", u"anything", true}, {u"abc", u"abcd", false},   {u"abc", u"ab", false},
      {u"\"a b\"", u"a b", true}, {u"*.txt", u"readme.md", false}, {u"*.txt", u"notes.txt", true},
      {u"a*b*c", u"aXbYbZc", true}, {u"ABC", u"abc", false},
      {u"", u"x", true},         {u"x", u"", true},          // an empty side matches
  };
  for (const auto& c : cases)
    EXPECT_EQ(TAdvUtils::Matches(c.condition, c.value), c.result)
        << StringToUtf8(c.condition) << " vs " << StringToUtf8(c.value);
  // Patterns that would take exponential time with naive backtracking.
  EXPECT_FALSE(TAdvUtils::Matches(String(30, u'*') + u"a*a*a*a*a*a*a*a*a*b", String(5000, u'a')));
}

TEST(AdvUtilsMatch, MatchStrAndExpressions) {
  EXPECT_TRUE(TAdvUtils::MatchStr(u"ABC", u"abc", false));
  EXPECT_FALSE(TAdvUtils::MatchStr(u"ABC", u"abc", true));
  EXPECT_TRUE(TAdvUtils::MatchStr(u"\u00C9*", u"\u00E9t\u00E9", false));  // the locale's case rules

  struct Case { String expression, value; bool result; };
  const Case cases[] = {
      {u"a*|b*", u"bx", true},     {u"a*|b*", u"cx", false},  {u"a*&*x", u"abx", true},
      {u"a*&*x", u"aby", false},   {u"a*;b*", u"by", true},   {u"=a*", u"ab", true},
      {u"  a * ", u"ab", true},    {u"", u"", true},          {u"", u"x", false},
      {u"*", u"", false},          {u"*", u"x", true},        {u">1&<5", u"3", true},
      {u"(a*|b*)&*x", u"bx", true}, {u"(a*|b*)&*x", u"by", false}, {u"c*|(a*&*z)", u"abz", true},
      {u"((a*))", u"ab", true},    {u"(a*|b*", u"b", true},   // an unclosed group takes the rest
      {u"\"a|b\"", u"a|b", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TAdvUtils::MatchStrEx(c.expression, c.value, true), c.result)
        << StringToUtf8(c.expression) << " vs " << StringToUtf8(c.value);
  EXPECT_TRUE(TAdvUtils::MatchStrEx(u"A*|B*", u"bx", false));
  // Absurd nesting neither recurses without bound nor crashes.
  EXPECT_FALSE(TAdvUtils::MatchStrEx(String(20000, u'(') + u"a" + String(20000, u')'), u"a", true));
}

TEST(AdvUtilsMatch, Split) {
  TStringList list;
  list.Add(u"old");
  TAdvUtils::Split(u';', u"a;b c;;\"d;e\";", &list, false);
  ASSERT_EQ(list.Count(), 5);
  EXPECT_EQ(list.Strings(0), u"a");
  EXPECT_EQ(list.Strings(1), u"b c");  // blanks do not separate
  EXPECT_EQ(list.Strings(2), u"");
  EXPECT_EQ(list.Strings(3), u"d;e");  // quotes group
  EXPECT_EQ(list.Strings(4), u"");
  TAdvUtils::Split(u';', u"a;b c;;\"d;e\";", &list, true);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Delimiter(), u';');
  EXPECT_TRUE(list.StrictDelimiter());
  TAdvUtils::Split(u',', u"x", nullptr, true);  // harmless
}

TEST(AdvUtilsMatch, FormatBytesAsString) {
  struct Case { Extended size; String text; };
  const Case cases[] = {
      {0, u"0 Bytes"},        {512, u"512 Bytes"},          {1023, u"1023 Bytes"},
      {1536, u"1.50 KB"},     {1048576, u"1.00 MB"},        {1073741824.0 * 3, u"3.00 GB"},
      {1099511627776.0, u"1.00 TB"},  {1099511627776.0 * 2048, u"2048.00 TB"},  // no unit past TB
      {-1, u""},              {-5, u""},
  };
  for (const auto& c : cases) EXPECT_EQ(TAdvUtils::FormatBytesAsString(c.size), c.text) << c.size;
  TSettingsScope scope;
  FormatSettings.DecimalSeparator = u',';
  EXPECT_EQ(TAdvUtils::FormatBytesAsString(1048576), u"1,00 MB");
}

}  // namespace
