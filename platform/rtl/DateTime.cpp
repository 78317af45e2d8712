#include "platform/rtl/DateTime.h"

#include <cmath>
#include <ctime>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/RtlConsts.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TextInternal.h"

const std::array<TDayTable, 2> MonthDays{{{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                          {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}}};

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (and back).
Int64 DaysFromCivil(Int64 y, unsigned m, unsigned d) {
  y -= m <= 2;
  const Int64 era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<Int64>(doe) - 719468;
}

void CivilFromDays(Int64 z, Int64& y, unsigned& m, unsigned& d) {
  z += 719468;
  const Int64 era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<Int64>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

constexpr Int64 kUnixDelta = 25569;  // TDateTime of 1970-01-01

struct Parts {
  bool valid = false;
  Int64 days = 0;     // whole days from 1899-12-30
  Int64 timeMs = 0;   // milliseconds into the day
};

Parts Split(TDateTime value) {
  Parts p;
  if (!(value > MinDateTime - 1 && value < MaxDateTime + 1)) return p;
  const Int64 total = Round(value * MSecsPerDay);
  p.days = total / MSecsPerDay;  // toward zero: the fraction counts from midnight either way
  p.timeMs = (total < 0 ? -total : total) % MSecsPerDay;
  p.valid = p.days >= static_cast<Int64>(MinDateTime) && p.days <= static_cast<Int64>(MaxDateTime);
  return p;
}

TDateTime Compose(TDateTime date, TDateTime time) { return date < 0 ? date - time : date + time; }

}  // namespace

bool IsLeapYear(Word year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

Word DaysInAMonth(Word year, Word month) {
  if (month < 1 || month > 12) return 0;
  return MonthDays[IsLeapYear(year) ? 1 : 0][month - 1];
}

Word DaysInMonth(TDateTime value) {
  Word y, m, d;
  DecodeDate(value, y, m, d);
  return DaysInAMonth(y, m);
}

bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month))
    return false;
  date = static_cast<double>(DaysFromCivil(year, month, day) + kUnixDelta);
  return true;
}

TDateTime EncodeDate(Word year, Word month, Word day) {
  TDateTime d = 0;
  if (!TryEncodeDate(year, month, day, d)) throw EConvertError(SDateEncodeError);
  return d;
}

bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time) {
  if (hour >= 24 || min >= 60 || sec >= 60 || msec >= 1000) return false;
  time = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec) {
  TDateTime t = 0;
  if (!TryEncodeTime(hour, min, sec, msec, t)) throw EConvertError(STimeEncodeError);
  return t;
}

TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word min, Word sec, Word msec) {
  return Compose(EncodeDate(year, month, day), EncodeTime(hour, min, sec, msec));
}

void DecodeDate(TDateTime value, Word& year, Word& month, Word& day) {
  const Parts p = Split(value);
  if (!p.valid) {
    year = month = day = 0;
    return;
  }
  Int64 y;
  unsigned m, d;
  CivilFromDays(p.days - kUnixDelta, y, m, d);
  year = static_cast<Word>(y);
  month = static_cast<Word>(m);
  day = static_cast<Word>(d);
}

void DecodeTime(TDateTime value, Word& hour, Word& min, Word& sec, Word& msec) {
  const Parts p = Split(value);
  const Int64 t = p.valid ? p.timeMs : 0;
  hour = static_cast<Word>(t / 3600000);
  min = static_cast<Word>(t / 60000 % 60);
  sec = static_cast<Word>(t / 1000 % 60);
  msec = static_cast<Word>(t % 1000);
}

void DecodeDateTime(TDateTime value, Word& year, Word& month, Word& day, Word& hour, Word& min, Word& sec,
                    Word& msec) {
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, min, sec, msec);
}

Word DayOfWeek(TDateTime value) {
  const Parts p = Split(value);
  if (!p.valid) return 0;
  // Day 0 (1899-12-30) was a Saturday.
  const Int64 k = ((p.days + 6) % 7 + 7) % 7;
  return static_cast<Word>(k + 1);
}

TDateTime Now() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  const time_t secs = ts.tv_sec;
  tm local{};
  localtime_r(&secs, &local);
  const TDateTime date = static_cast<double>(
      DaysFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1), static_cast<unsigned>(local.tm_mday)) +
      kUnixDelta);
  const double ms = local.tm_hour * 3600000.0 + local.tm_min * 60000.0 + std::min(local.tm_sec, 59) * 1000.0 +
                    static_cast<double>(ts.tv_nsec / 1000000);
  return date + ms / MSecsPerDay;
}

TDateTime Date() { return std::trunc(Now()); }
TDateTime Time() { return Frac(Now()); }

// ---- Formatting --------------------------------------------------------------

namespace {

Char Upper(Char c) { return (c >= u'a' && c <= u'z') ? static_cast<Char>(c - 32) : c; }

String Padded(unsigned value, int digits) {
  String r = IntToStr(value);
  if (static_cast<int>(r.size()) < digits) r.insert(0, static_cast<std::size_t>(digits) - r.size(), u'0');
  return r;
}

bool StartsNoCase(StringView s, std::size_t i, StringView what) {
  if (s.size() - i < what.size()) return false;
  for (std::size_t k = 0; k < what.size(); ++k)
    if (Upper(s[i + k]) != Upper(what[k])) return false;
  return true;
}

// Whether an am/pm marker follows position i: then hours are shown 12-hour.
bool TwelveHourAhead(StringView f, std::size_t i) {
  while (i < f.size()) {
    if (f[i] == u'\'' || f[i] == u'"') { i = SkipQuoted(f, i); continue; }
    if (StartsNoCase(f, i, u"am/pm") || StartsNoCase(f, i, u"a/p") || StartsNoCase(f, i, u"ampm")) return true;
    ++i;
  }
  return false;
}

class DateFormatter {
 public:
  DateFormatter(TDateTime value, const TFormatSettings& fs) : FSettings(fs) {
    DecodeDateTime(value, FYear, FMonth, FDay, FHour, FMin, FSec, FMSec);
    FDow = DayOfWeek(value);
  }

  void Append(String& out, StringView f, int depth) {
    // Nested patterns (c, ddddd, t...) expand at most two levels deep.
    if (depth > 2) return;
    Char lastToken = 0;
    std::size_t i = 0;
    while (i < f.size()) {
      const Char c = f[i];
      const Char u = Upper(c);
      std::size_t count = 1;
      auto run = [&] {
        while (i + count < f.size() && Upper(f[i + count]) == u) ++count;
      };
      switch (u) {
        case u'Y':
          run();
          out += count <= 2 ? Padded(FYear % 100u, 2) : Padded(FYear, 4);
          break;
        case u'M':
          run();
          if (lastToken == u'H' && count <= 2) {
            out += Padded(FMin, count == 2 ? 2 : 1);
          } else if (count <= 2) {
            out += Padded(FMonth, static_cast<int>(count));
          } else if (FMonth >= 1) {
            out += count == 3 ? FSettings.ShortMonthNames[FMonth - 1u] : FSettings.LongMonthNames[FMonth - 1u];
          }
          break;
        case u'D':
          run();
          if (count <= 2) out += Padded(FDay, static_cast<int>(count));
          else if (count <= 4) {
            if (FDow >= 1) out += count == 3 ? FSettings.ShortDayNames[FDow - 1u] : FSettings.LongDayNames[FDow - 1u];
          } else {
            Append(out, count == 5 ? FSettings.ShortDateFormat : FSettings.LongDateFormat, depth + 1);
          }
          break;
        case u'H': {
          run();
          unsigned h = FHour;
          if (TwelveHourAhead(f, i + count)) {
            h %= 12;
            if (h == 0) h = 12;
          }
          out += Padded(h, count >= 2 ? 2 : 1);
          break;
        }
        case u'N':
          run();
          out += Padded(FMin, count >= 2 ? 2 : 1);
          break;
        case u'S':
          run();
          out += Padded(FSec, count >= 2 ? 2 : 1);
          break;
        case u'Z':
          run();
          out += Padded(FMSec, count >= 2 ? 3 : 1);
          break;
        case u'T':
          run();
          Append(out, count == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat, depth + 1);
          break;
        case u'C':
          Append(out, FSettings.ShortDateFormat, depth + 1);
          if (FHour != 0 || FMin != 0 || FSec != 0 || FMSec != 0) {
            out.push_back(u' ');
            Append(out, FSettings.LongTimeFormat, depth + 1);
          }
          break;
        case u'A':
          if (StartsNoCase(f, i, u"am/pm")) {
            out.append(f.substr(FHour >= 12 ? i + 3 : i, 2));
            count = 5;
          } else if (StartsNoCase(f, i, u"a/p")) {
            out.push_back(f[FHour >= 12 ? i + 2 : i]);
            count = 3;
          } else if (StartsNoCase(f, i, u"ampm")) {
            out += FHour >= 12 ? FSettings.TimePMString : FSettings.TimeAMString;
            count = 4;
          } else {
            out.push_back(c);
          }
          break;
        case u'/':
          out.push_back(FSettings.DateSeparator);
          break;
        case u':':
          out.push_back(FSettings.TimeSeparator);
          break;
        case u'\'':
        case u'"': {
          const std::size_t end = SkipQuoted(f, i);
          const std::size_t stop = (end > i + 1 && f[end - 1] == c) ? end - 1 : end;
          out.append(f.substr(i + 1, stop - (i + 1)));
          count = end - i;
          break;
        }
        default:
          out.push_back(c);
          break;
      }
      if (u >= u'A' && u <= u'Z') lastToken = u;
      i += count;
    }
  }

 private:
  const TFormatSettings& FSettings;
  Word FYear, FMonth, FDay, FHour, FMin, FSec, FMSec;
  Word FDow;
};

}  // namespace

String FormatDateTime(StringView format, TDateTime value, const TFormatSettings& settings) {
  String out;
  DateFormatter(value, settings).Append(out, format.empty() ? StringView(u"c") : format, 0);
  return out;
}

String FormatDateTime(StringView format, TDateTime value) { return FormatDateTime(format, value, FormatSettings); }
String DateToStr(TDateTime value, const TFormatSettings& s) { return FormatDateTime(u"ddddd", value, s); }
String DateToStr(TDateTime value) { return DateToStr(value, FormatSettings); }
String TimeToStr(TDateTime value, const TFormatSettings& s) { return FormatDateTime(u"tt", value, s); }
String TimeToStr(TDateTime value) { return TimeToStr(value, FormatSettings); }
String DateTimeToStr(TDateTime value, const TFormatSettings& s) { return FormatDateTime(u"c", value, s); }
String DateTimeToStr(TDateTime value) { return DateTimeToStr(value, FormatSettings); }

// ---- Parsing -----------------------------------------------------------------

namespace {

class Scanner {
 public:
  Scanner(StringView s, const TFormatSettings& fs) : FText(s), FSettings(fs) {}

  void Blanks() {
    while (FPos < FText.size() && (FText[FPos] == u' ' || FText[FPos] == u'\t')) ++FPos;
  }
  bool AtEnd() {
    Blanks();
    return FPos >= FText.size();
  }
  bool Take(char16_t c) {
    Blanks();
    if (FPos < FText.size() && FText[FPos] == c) {
      ++FPos;
      return true;
    }
    return false;
  }
  // Up to 9 digits, so the value never overflows.
  bool Number(unsigned& value, int& digits) {
    Blanks();
    value = 0;
    digits = 0;
    while (FPos < FText.size() && FText[FPos] >= u'0' && FText[FPos] <= u'9') {
      if (++digits > 9) return false;
      value = value * 10 + (FText[FPos++] - u'0');
    }
    return digits > 0;
  }
  // The AM or PM marker: 0 AM, 12 PM, -1 none.
  int AmPm() {
    Blanks();
    const StringView rest = FText.substr(FPos);
    for (const auto& [text, base] : {std::pair<StringView, int>{FSettings.TimeAMString, 0},
                                     {FSettings.TimePMString, 12}, {u"AM", 0}, {u"PM", 12}}) {
      if (!text.empty() && rest.size() >= text.size() && AnsiSameText(rest.substr(0, text.size()), text)) {
        FPos += text.size();
        return base;
      }
    }
    return -1;
  }

  bool ReadDate(TDateTime& date) {
    enum { MDY, DMY, YMD } order = MDY;
    const String& sf = FSettings.ShortDateFormat;
    for (std::size_t i = 0; i < sf.size(); ++i) {
      if (sf[i] == u'\'' || sf[i] == u'"') { i = SkipQuoted(sf, i) - 1; continue; }
      const char16_t u = Upper(sf[i]);
      if (u == u'Y') { order = YMD; break; }
      if (u == u'M') { order = MDY; break; }
      if (u == u'D') { order = DMY; break; }
    }
    unsigned n1, n2, n3 = 0;
    int l1, l2, l3 = 0;
    if (!Number(n1, l1) || !Take(FSettings.DateSeparator) || !Number(n2, l2)) return false;
    const bool hasThird = Take(FSettings.DateSeparator);
    if (hasThird && !Number(n3, l3)) return false;
    unsigned y, m, d;
    int yearDigits = 4;
    Word cy, cm, cd;
    DecodeDate(Date(), cy, cm, cd);
    if (!hasThird) {
      y = cy;
      if (order == DMY) { d = n1; m = n2; } else { m = n1; d = n2; }
    } else if (order == YMD) {
      y = n1; yearDigits = l1; m = n2; d = n3;
    } else if (order == DMY) {
      d = n1; m = n2; y = n3; yearDigits = l3;
    } else {
      m = n1; d = n2; y = n3; yearDigits = l3;
    }
    if (hasThird && yearDigits <= 2 && y < 100) {
      const unsigned window = FSettings.TwoDigitYearCenturyWindow;
      const unsigned pivot = cy > window ? cy - window : 0;
      y += pivot / 100 * 100;
      if (window > 0 && y < pivot) y += 100;
    }
    if (y > 9999 || m > 12 || d > 31) return false;
    return TryEncodeDate(static_cast<Word>(y), static_cast<Word>(m), static_cast<Word>(d), date);
  }

  bool ReadTime(TDateTime& time) {
    int base = AmPm();
    unsigned h, n = 0, s = 0, ms = 0;
    int digits;
    if (!Number(h, digits)) return false;
    bool minutes = false;
    if (Take(FSettings.TimeSeparator)) {
      if (!Number(n, digits)) return false;
      minutes = true;
      if (Take(FSettings.TimeSeparator)) {
        if (!Number(s, digits)) return false;
        if (Take(FSettings.DecimalSeparator)) {
          // A fraction of a second: ".5" is 500 ms; digits past the third are dropped.
          unsigned frac;
          if (!Number(frac, digits)) return false;
          while (digits > 3) { frac /= 10; --digits; }
          while (digits < 3) { frac *= 10; ++digits; }
          ms = frac;
        }
      }
    }
    if (base < 0) base = AmPm();
    if (base < 0 && !minutes) return false;
    if (base >= 0) {
      if (h == 0 || h > 12) return false;
      h = h % 12 + static_cast<unsigned>(base);
    }
    if (h > 23 || n > 59 || s > 59) return false;
    return TryEncodeTime(static_cast<Word>(h), static_cast<Word>(n), static_cast<Word>(s), static_cast<Word>(ms), time);
  }

 private:
  StringView FText;
  const TFormatSettings& FSettings;
  std::size_t FPos = 0;
};

}  // namespace

bool TryStrToDate(StringView s, TDateTime& value, const TFormatSettings& settings) {
  Scanner sc(s, settings);
  TDateTime d = 0;
  if (!sc.ReadDate(d) || !sc.AtEnd()) return false;
  value = d;
  return true;
}

bool TryStrToTime(StringView s, TDateTime& value, const TFormatSettings& settings) {
  Scanner sc(s, settings);
  TDateTime t = 0;
  if (!sc.ReadTime(t) || !sc.AtEnd()) return false;
  value = t;
  return true;
}

bool TryStrToDateTime(StringView s, TDateTime& value, const TFormatSettings& settings) {
  Scanner sc(s, settings);
  TDateTime d = 0;
  if (sc.ReadDate(d)) {
    if (sc.AtEnd()) {
      value = d;
      return true;
    }
    TDateTime t = 0;
    if (sc.ReadTime(t) && sc.AtEnd()) {
      value = Compose(d, t);
      return true;
    }
    return false;
  }
  return TryStrToTime(s, value, settings);
}

bool TryStrToDate(StringView s, TDateTime& value) { return TryStrToDate(s, value, FormatSettings); }
bool TryStrToTime(StringView s, TDateTime& value) { return TryStrToTime(s, value, FormatSettings); }
bool TryStrToDateTime(StringView s, TDateTime& value) { return TryStrToDateTime(s, value, FormatSettings); }

TDateTime StrToDate(StringView s, const TFormatSettings& settings) {
  TDateTime v = 0;
  if (!TryStrToDate(s, v, settings)) throw EConvertError(WithValue(SInvalidDate, s));
  return v;
}

TDateTime StrToTime(StringView s, const TFormatSettings& settings) {
  TDateTime v = 0;
  if (!TryStrToTime(s, v, settings)) throw EConvertError(WithValue(SInvalidTime, s));
  return v;
}

TDateTime StrToDateTime(StringView s, const TFormatSettings& settings) {
  TDateTime v = 0;
  if (!TryStrToDateTime(s, v, settings)) throw EConvertError(WithValue(SInvalidDateTime, s));
  return v;
}

TDateTime StrToDate(StringView s) { return StrToDate(s, FormatSettings); }
TDateTime StrToTime(StringView s) { return StrToTime(s, FormatSettings); }
TDateTime StrToDateTime(StringView s) { return StrToDateTime(s, FormatSettings); }
