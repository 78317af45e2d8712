#pragma once
// Number, currency, date and time conventions used by the conversion routines.
// The process-wide FormatSettings is fixed and "C"-like: it never follows the
// user's locale, so every machine formats and parses the same way.
#include <array>

#include "platform/rtl/Types.h"

struct TFormatSettings {
  Char DecimalSeparator = u'.';
  Char ThousandSeparator = u',';
  Char DateSeparator = u'/';
  Char TimeSeparator = u':';
  Char ListSeparator = u',';
  String ShortDateFormat = u"MM/dd/yyyy";
  String LongDateFormat = u"dddd, MMMM d, yyyy";
  String ShortTimeFormat = u"hh:nn";
  String LongTimeFormat = u"hh:nn:ss";
  String TimeAMString = u"AM";
  String TimePMString = u"PM";
  String CurrencyString = u"$";
  // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
  Byte CurrencyFormat = 0;
  // 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$", 6 "1-$", 7 "1$-",
  // 8 "-1 $", 9 "-$ 1", 10 "1 $-", 11 "$ 1-", 12 "$ -1", 13 "1- $", 14 "($ 1)", 15 "(1 $)".
  Byte NegCurrFormat = 0;
  Byte CurrencyDecimals = 2;
  // A two-digit year read from text lands at most this many years before the
  // current one (otherwise in the next century); 0 keeps the current century.
  Word TwoDigitYearCenturyWindow = 50;
  // Index 0 is January / Sunday.
  std::array<String, 12> ShortMonthNames{u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                         u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
  std::array<String, 12> LongMonthNames{u"January", u"February", u"March",     u"April",
                                        u"May",     u"June",     u"July",      u"August",
                                        u"September", u"October", u"November", u"December"};
  std::array<String, 7> ShortDayNames{u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  std::array<String, 7> LongDayNames{u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                     u"Thursday", u"Friday", u"Saturday"};
};

// The process-wide settings the routines without a settings argument use. Code
// may change a field for a while (and restore it), as the class library allows.
extern TFormatSettings FormatSettings;

