#pragma once
// String routines of the class library. Positions are 0-based in this code;
// Pos-style searches answer -1 for "not found".
#include "platform/rtl/Types.h"

// ASCII-only case mapping, as the class library's UpperCase/LowerCase.
String UpperCase(StringView s);
String LowerCase(StringView s);
// Full Unicode case mapping.
String AnsiUpperCase(StringView s);
String AnsiLowerCase(StringView s);

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
