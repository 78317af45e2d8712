#pragma once
// String routines of the class library. Positions are 0-based in this code;
// Pos-style searches answer -1 for "not found".
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Types.h"

// ASCII-only case mapping, as the class library's UpperCase/LowerCase.
String UpperCase(StringView s);
String LowerCase(StringView s);
// Full Unicode case mapping.
String AnsiUpperCase(StringView s);
String AnsiLowerCase(StringView s);
// The character's Unicode category is a decimal digit, a letter number or
// another number (the class library's TCharacter.IsNumber).
bool IsNumber(Char c);

// Ordinal comparisons; the *Text forms ignore ASCII case. Negative, 0, positive.
int CompareStr(StringView a, StringView b);
int CompareText(StringView a, StringView b);
bool SameStr(StringView a, StringView b);
bool SameText(StringView a, StringView b);
// Unicode case-insensitive comparison.
int AnsiCompareText(StringView a, StringView b);
bool AnsiSameText(StringView a, StringView b);

// Remove characters <= ' ' (spaces and control characters) from the ends.
String Trim(StringView s);
String TrimLeft(StringView s);
String TrimRight(StringView s);

String IntToStr(Int64 value);

// ---- Search and pieces -------------------------------------------------------

// 0-based index of the first Sub in S at or after Offset; -1 when absent, when
// Sub is empty or when Offset is outside S.
int Pos(StringView sub, StringView s, int offset = 0);
// Count characters from Index, clamped to S as the class library's Copy:
// a negative Index starts at 0 (Count unchanged), Count < 0 or Index past the end gives "".
String Copy(StringView s, int index, int count);
// The same from Index to the end.
String Copy(StringView s, int index);
// 0-based index of the last character of S that occurs in Delimiters; -1 when none.
int LastDelimiter(StringView delimiters, StringView s);
// Count copies of Ch; "" when Count <= 0.
String StringOfChar(Char ch, int count);

enum TReplaceFlag : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
using TReplaceFlags = unsigned;  // an OR of TReplaceFlag values
// Replaces the first (or with rfReplaceAll every) OldPattern in S by NewPattern,
// left to right, never rescanning replaced text; an empty OldPattern changes nothing.
// rfIgnoreCase compares with Unicode simple case mapping.
String StringReplace(StringView s, StringView oldPattern, StringView newPattern, TReplaceFlags flags);

// 'text' with each quote doubled.
String QuotedStr(StringView s);
// Quote + S with each Quote doubled + Quote.
String AnsiQuotedStr(StringView s, Char quote);
// Undoes AnsiQuotedStr when S is exactly one quoted token (doubled quotes become
// one); any other text (unquoted, unterminated, text after the closing quote) is returned unchanged.
String AnsiDequotedStr(StringView s, Char quote);

// ---- Integers ----------------------------------------------------------------

// Upper-case hexadecimal with at least Digits digits; negative values are shown
// in two's complement of the argument's width (IntToHex(-1, 2) == "FFFFFFFF").
String IntToHex(int value, int digits);
String IntToHex(unsigned value, int digits);
String IntToHex(long value, int digits);
String IntToHex(unsigned long value, int digits);
String IntToHex(long long value, int digits);
String IntToHex(unsigned long long value, int digits);

// Integer text: leading blanks, an optional sign, decimal digits or hexadecimal
// after "$", "0x" or "0X"; nothing may follow. Decimal values must fit the type;
// hexadecimal ones may use its full unsigned width (StrToInt("$FFFFFFFF") == -1).
// The raising forms throw EConvertError "'<text>' is not a valid integer value".
Integer StrToInt(StringView s);
Integer StrToIntDef(StringView s, Integer defaultValue);
bool TryStrToInt(StringView s, Integer& value);  // value untouched on failure
Int64 StrToInt64(StringView s);
Int64 StrToInt64Def(StringView s, Int64 defaultValue);
bool TryStrToInt64(StringView s, Int64& value);

// The run-time library's Val: the same syntax as StrToInt (floats: blanks, sign,
// digits, "." fraction, exponent). Answers 0 when all of S is a number, else the
// 1-based position of the first character not taken (Length + 1 when the text
// ends too early); Value then holds what the leading characters gave (an integer
// without its sign).
int Val(StringView s, Integer& value);
int Val(StringView s, Int64& value);
int Val(StringView s, double& value);

// ---- Floating point ----------------------------------------------------------

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Float text: leading and trailing blanks, an optional sign, digits with the
// settings' decimal separator, an optional exponent (E or e, optional sign).
// No thousand separators. Overflow is an error; underflow gives 0.
// StrToFloat throws EConvertError "'<text>' is not a valid floating point value".
double StrToFloat(StringView s);
double StrToFloat(StringView s, const TFormatSettings& settings);
double StrToFloatDef(StringView s, double defaultValue);
double StrToFloatDef(StringView s, double defaultValue, const TFormatSettings& settings);
bool TryStrToFloat(StringView s, double& value);  // value untouched on failure
bool TryStrToFloat(StringView s, double& value, const TFormatSettings& settings);

// General text with up to 15 significant digits: fixed-point while the value
// has at most 15 integer digits and is at least 0.00001, else "1.5E20" style.
// NaN and infinities give "NAN", "INF", "-INF". A value that rounds to zero never shows "-0".
String FloatToStr(double value);
String FloatToStr(double value, const TFormatSettings& settings);
// Precision: significant digits (1..15; ffExponent pads up to 18 with zeros).
// Digits: ffGeneral/ffExponent the minimum exponent digits (0..4);
// ffFixed/ffNumber/ffCurrency the decimals (0..18). A fixed form whose integer
// digits exceed Precision falls back to ffGeneral.
String FloatToStrF(double value, TFloatFormat format, int precision, int digits);
String FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                   const TFormatSettings& settings);

// ---- Booleans ----------------------------------------------------------------

// "-1"/"0", or with UseBoolStrs "True"/"False".
String BoolToStr(bool value, bool useBoolStrs = false);
// "True"/"False" in any case, or a number (non-zero is true). StrToBool throws
// EConvertError "'<text>' is not a valid boolean value".
bool StrToBool(StringView s);
bool StrToBoolDef(StringView s, bool defaultValue);
bool TryStrToBool(StringView s, bool& value);
