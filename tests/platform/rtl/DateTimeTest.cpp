#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "tests/support/TestUtil.h"

namespace {

using test_support::U8;

TEST(DateTime, EncodeKnownDays) {
  struct Case { Word y, m, d; double serial; };
  const Case cases[] = {
      {1899, 12, 30, 0}, {1900, 1, 1, 2}, {2000, 1, 1, 36526}, {1980, 1, 1, 29221},
      {1, 1, 1, -693593}, {9999, 12, 31, 2958465}, {1899, 12, 29, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
  EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  EXPECT_DOUBLE_EQ(EncodeDateTime(2000, 1, 1, 12, 0, 0, 0), 36526.5);
  EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);  // time counts forward from midnight
}

TEST(DateTime, DecodeRoundTripsEveryFewDays) {
  for (double serial = -693593; serial <= 2958465; serial += 97) {
    Word y, m, d;
    DecodeDate(serial, y, m, d);
    ASSERT_EQ(EncodeDate(y, m, d), serial);
  }
  Word y, m, d, h, n, s, ms;
  DecodeDateTime(-1.25, y, m, d, h, n, s, ms);
  EXPECT_EQ(std::vector<int>({y, m, d, h, n, s, ms}), std::vector<int>({1899, 12, 29, 6, 0, 0, 0}));
  DecodeDateTime(-0.5, y, m, d, h, n, s, ms);
  EXPECT_EQ(std::vector<int>({y, m, d, h}), std::vector<int>({1899, 12, 30, 12}));
  // Rounded to the millisecond: a hair below 10:00 is 10:00.
  DecodeTime(EncodeTime(10, 0, 0, 0) - 1e-12, h, n, s, ms);
  EXPECT_EQ(std::vector<int>({h, n, s, ms}), std::vector<int>({10, 0, 0, 0}));
  DecodeTime(EncodeTime(23, 59, 59, 999), h, n, s, ms);
  EXPECT_EQ(std::vector<int>({h, n, s, ms}), std::vector<int>({23, 59, 59, 999}));
}

TEST(DateTime, InvalidValues) {
  try {
    EncodeDate(2023, 2, 29);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Invalid argument to date encode");
  }
  const Word bad[][3] = {{0, 1, 1}, {10000, 1, 1}, {2024, 0, 1}, {2024, 13, 1}, {2024, 4, 31}, {2024, 1, 0}};
  for (const auto& b : bad) EXPECT_THROW(EncodeDate(b[0], b[1], b[2]), EConvertError);
  EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
  TDateTime t = 7;
  EXPECT_FALSE(TryEncodeTime(0, 0, 60, 0, t));
  EXPECT_EQ(t, 7);

  // Out-of-range values decode as zeros instead of garbage.
  for (double v : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300, -1e300,
                   2958466.0, -693594.5}) {
    Word y = 1, m = 1, d = 1, h = 1, n = 1, s = 1, ms = 1;
    DecodeDateTime(v, y, m, d, h, n, s, ms);
    EXPECT_EQ(y + m + d + h + n + s + ms, 0) << v;
    EXPECT_EQ(DayOfWeek(v), 0) << v;
    EXPECT_NO_THROW(FormatDateTime(u"c dddd mmmm", v));
  }
}

TEST(DateTime, CalendarHelpers) {
  EXPECT_EQ(DayOfWeek(0), 7);                          // 1899-12-30 was a Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 1)), 2);     // Monday
  EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);
  EXPECT_EQ(DayOfWeek(-1.25), 6);
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_EQ(DaysInAMonth(2024, 2), 29);
  EXPECT_EQ(DaysInAMonth(2023, 2), 28);
  EXPECT_EQ(DaysInAMonth(2023, 13), 0);
  EXPECT_EQ(DaysInMonth(EncodeDate(2023, 4, 10)), 30);
  EXPECT_EQ(MonthDays[1][1], 29);

  const TDateTime now = Now();
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
  EXPECT_LT(std::fabs(now - (Date() + Time())), 1.0 / 24);  // the parts of (nearly) the same moment
  EXPECT_EQ(Date(), std::trunc(Date()));
}

TEST(FormatDateTime, PatternTable) {
  const TDateTime v = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);
  struct Case { String fmt; String want; };
  const Case cases[] = {
      {u"yyyy-mm-dd hh:nn:ss.zzz", u"2024-03-05 14:07:09.045"},
      {u"yy/m/d", u"24/3/5"},
      {u"d mmm yyyy", u"5 Mar 2024"},
      {u"dddd, mmmm d", u"Tuesday, March 5"},
      {u"ddd DD", u"Tue 05"},
      {u"h:mm", u"14:07"},                 // m after h is minutes
      {u"hh:mm:ss", u"14:07:09"},
      {u"h:m", u"14:7"},
      {u"mm:ss", u"03:09"},                // no hour before: month
      {u"h:nn am/pm", u"2:07 pm"},
      {u"h:nn AM/PM", u"2:07 PM"},
      {u"h:nn a/p", u"2:07 p"},
      {u"h:nn ampm", u"2:07 PM"},
      {u"\"Date:\" dd", u"Date: 05"},
      {u"'it''s'", u"its"},
      {u"'open", u"open"},                 // unterminated literal runs to the end
      {u"c", u"03/05/2024 14:07:09"},
      {u"", u"03/05/2024 14:07:09"},
      {u"ddddd", u"03/05/2024"},
      {u"dddddd", u"Tuesday, March 5, 2024"},
      {u"t|tt", u"14:07|14:07:09"},
      {u"z|zzz", u"45|045"},
      {u"nn\" m \"ss\" s \"zzz\" ms\"", u"07 m 09 s 045 ms"},
      {u"x#q", u"x#q"},
  };
  for (const auto& c : cases) EXPECT_EQ(U8(FormatDateTime(c.fmt, v)), U8(c.want)) << U8(c.fmt);

  EXPECT_EQ(U8(DateTimeToStr(EncodeDate(2024, 3, 5))), "03/05/2024");  // midnight shows no time
  EXPECT_EQ(U8(FormatDateTime(u"h:nn am/pm", EncodeTime(0, 30, 0, 0))), "12:30 am");
  EXPECT_EQ(U8(FormatDateTime(u"hh:nn AMPM", EncodeTime(12, 0, 0, 0))), "12:00 PM");
  EXPECT_EQ(U8(FormatDateTime(u"dd/mm/yyyy", -1.25)), "29/12/1899");

  TFormatSettings fs;
  fs.DateSeparator = u'.';
  fs.TimeSeparator = u'-';
  fs.ShortDateFormat = u"c";  // self-reference stays bounded
  EXPECT_EQ(U8(FormatDateTime(u"dd/mm/yyyy hh:nn", v, fs)), "05.03.2024 14-07");
  EXPECT_NO_THROW(FormatDateTime(u"c", v, fs));
  EXPECT_EQ(U8(DateToStr(v)), "03/05/2024");
  EXPECT_EQ(U8(TimeToStr(v)), "14:07:09");
}

TEST(StrToDateTime, ParsesInTheSettingsOrder) {
  EXPECT_EQ(StrToDate(u"03/05/2024"), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDate(u" 3 / 5 / 2024 "), EncodeDate(2024, 3, 5));
  TFormatSettings dmy;
  dmy.ShortDateFormat = u"dd/mm/yyyy";
  EXPECT_EQ(StrToDate(u"21/11/2023", dmy), EncodeDate(2023, 11, 21));
  TFormatSettings ymd;
  ymd.ShortDateFormat = u"yyyy-mm-dd";
  ymd.DateSeparator = u'-';
  EXPECT_EQ(StrToDate(u"2024-02-29", ymd), EncodeDate(2024, 2, 29));

  Word y, m, d;
  DecodeDate(StrToDate(u"1/2/24"), y, m, d);
  EXPECT_EQ(y, 2024);  // inside the two-digit window until 2074
  DecodeDate(StrToDate(u"1/2/0024"), y, m, d);
  EXPECT_EQ(y, 24);    // four digits are taken as written
  DecodeDate(StrToDate(u"12/25"), y, m, d);
  Word cy, cm, cd;
  DecodeDate(Date(), cy, cm, cd);
  EXPECT_EQ(std::vector<int>({y, m, d}), std::vector<int>({cy, 12, 25}));

  struct TimeCase { String text; Word h, n, s, ms; };
  const TimeCase times[] = {
      {u"14:07", 14, 7, 0, 0},    {u"14:07:09", 14, 7, 9, 0},   {u"2:07 pm", 14, 7, 0, 0},
      {u"12:00 AM", 0, 0, 0, 0},  {u"12:30 pm", 12, 30, 0, 0},  {u"PM 2:07", 14, 7, 0, 0},
      {u"2 pm", 14, 0, 0, 0},     {u"14:07:09.5", 14, 7, 9, 500}, {u"0:0:0.0451", 0, 0, 0, 45},
  };
  for (const auto& t : times) {
    TDateTime v = -1;
    ASSERT_TRUE(TryStrToTime(t.text, v)) << U8(t.text);
    EXPECT_DOUBLE_EQ(v, EncodeTime(t.h, t.n, t.s, t.ms)) << U8(t.text);
  }

  EXPECT_DOUBLE_EQ(StrToDateTime(u"03/05/2024 14:07"), EncodeDateTime(2024, 3, 5, 14, 7, 0, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime(u"14:07"), EncodeTime(14, 7, 0, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime(u"12/29/1899 6:00"), -1.25);
}

TEST(StrToDateTime, BadTextIsRefused) {
  const String badDates[] = {u"2/30/2024", u"13/1/2024", u"abc", u"", u"1/2/3/4", u"1//2", u"1/2/",
                             u"99999999999/1/1", u"1/1/10000", u"03/05/2024 x"};
  for (const auto& s : badDates) {
    TDateTime v = 9;
    EXPECT_FALSE(TryStrToDate(s, v)) << U8(s);
    EXPECT_EQ(v, 9) << U8(s);
  }
  const String badTimes[] = {u"25:00", u"13:00 pm", u"0:30 am", u"14", u"14:60", u"14:07:60",
                             u"14:07:", u"14:07 junk", u":30", u""};
  for (const auto& s : badTimes) {
    TDateTime v = 9;
    EXPECT_FALSE(TryStrToTime(s, v)) << U8(s);
  }
  try {
    StrToDate(u"2/30/2024");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'2/30/2024' is not a valid date");
  }
  try {
    StrToTime(u"25:00");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'25:00' is not a valid time");
  }
  try {
    StrToDateTime(u"03/05/2024 junk");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'03/05/2024 junk' is not a valid date and time");
  }
}

}  // namespace
