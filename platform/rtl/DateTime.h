#pragma once
// TDateTime: days since 1899-12-30 with the time of day as the fraction. For a
// negative value the fraction still counts forward from midnight: -1.25 is
// 1899-12-29 06:00.
#include <array>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Types.h"

inline constexpr Integer HoursPerDay = 24;
inline constexpr Integer MinsPerDay = 24 * 60;
inline constexpr Integer SecsPerDay = 24 * 60 * 60;
inline constexpr Integer MSecsPerDay = 24 * 60 * 60 * 1000;
// TDateTime of 0001-01-01 and of 9999-12-31, the range the routines accept.
inline constexpr double MinDateTime = -693593.0;
inline constexpr double MaxDateTime = 2958465.99999999;

using TDayTable = std::array<Word, 12>;
// MonthDays[IsLeapYear(y)][month - 1].
extern const std::array<TDayTable, 2> MonthDays;

bool IsLeapYear(Word year);
// Days of Month (1..12) in Year; 0 for a month outside 1..12.
Word DaysInAMonth(Word year, Word month);
// Days of the month that Value falls in.
Word DaysInMonth(TDateTime value);

// Year 1..9999, month 1..12, day within the month; else EConvertError
// "Invalid argument to date encode" (the Try form answers false).
TDateTime EncodeDate(Word year, Word month, Word day);
bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date);
// Hour < 24, Min < 60, Sec < 60, MSec < 1000; else EConvertError
// "Invalid argument to time encode".
TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec);
bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time);
TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word min, Word sec, Word msec);

// The value is rounded to the millisecond first. Values outside
// MinDateTime..MaxDateTime, NaN and infinities decode as all zeros.
void DecodeDate(TDateTime value, Word& year, Word& month, Word& day);
void DecodeTime(TDateTime value, Word& hour, Word& min, Word& sec, Word& msec);
void DecodeDateTime(TDateTime value, Word& year, Word& month, Word& day, Word& hour, Word& min, Word& sec,
                    Word& msec);
// 1 = Sunday .. 7 = Saturday; 0 for a value outside the accepted range.
Word DayOfWeek(TDateTime value);

// The local wall clock; Date is its day (time 0), Time its time of day (date 0).
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Patterns (letters in either case): y/yy two-digit year, yyyy; m mm month
// number, mmm mmmm month name, but m and mm right after an h or hh token are
// minutes; d dd day, ddd dddd day name, ddddd short date, dddddd long date;
// h hh, n nn, s ss, z zzz; t short time, tt long time; c short date, then
// long time unless the value is midnight; am/pm and a/p (copied in the pattern's
// case) and ampm (the settings' AM/PM strings) switch the hour to 12-hour form;
// '/' and ':' the settings' separators; text in ' or " quotes literal; any other
// character literal. An empty pattern means "c".
String FormatDateTime(StringView format, TDateTime value);
String FormatDateTime(StringView format, TDateTime value, const TFormatSettings& settings);
String DateToStr(TDateTime value);  // "ddddd"
String DateToStr(TDateTime value, const TFormatSettings& settings);
String TimeToStr(TDateTime value);  // "tt"
String TimeToStr(TDateTime value, const TFormatSettings& settings);
String DateTimeToStr(TDateTime value);  // "c"
String DateTimeToStr(TDateTime value, const TFormatSettings& settings);

// Dates: two or three numbers split by the date separator, in the order of the
// short date pattern (day, month, year / month, day, year / year, month, day);
// without a year the current one; a year of one or two digits lands in the
// century window. Times: hour, separator, minute, optionally separator and
// seconds, optionally the decimal separator and a fraction of a second, and an
// AM/PM string before or after (then the hour is 1..12). Blanks around are
// allowed. Failures throw EConvertError "'<text>' is not a valid date" /
// "... valid time" / "... valid date and time".
TDateTime StrToDate(StringView s);
TDateTime StrToDate(StringView s, const TFormatSettings& settings);
bool TryStrToDate(StringView s, TDateTime& value);
bool TryStrToDate(StringView s, TDateTime& value, const TFormatSettings& settings);
TDateTime StrToTime(StringView s);
TDateTime StrToTime(StringView s, const TFormatSettings& settings);
bool TryStrToTime(StringView s, TDateTime& value);
bool TryStrToTime(StringView s, TDateTime& value, const TFormatSettings& settings);
// A date, a time, or a date followed by a time.
TDateTime StrToDateTime(StringView s);
TDateTime StrToDateTime(StringView s, const TFormatSettings& settings);
bool TryStrToDateTime(StringView s, TDateTime& value);
bool TryStrToDateTime(StringView s, TDateTime& value, const TFormatSettings& settings);
