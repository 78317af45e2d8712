#pragma once
// Text routines of the mini-HTML renderers: preparing a text for layout
// (named entities, numeric references, hash tags, line breaks), reading
// numbers and colours from attribute values, and the plain-text, highlight
// and raw-index helpers of the HTML label. All work on UTF-16 text, keep no
// state and never fail: bad input gives the documented fallback.
#include "platform/rtl/Types.h"
#include "platform/vcl/Color.h"

namespace html {

// Every named entity of the renderer's table replaced by its character (exact
// case). Short: the status bar's shorter table (the last five names, the
// n-tilde and fraction entities, stay as written).
String HTMLDecodeNamedEntities(StringView S, bool Short = false);
// Numeric references "&#n;" and "&#xhh;" replaced. Values from 126980 on
// become the emoji tag "<J " + pair + " >" when EmojiTag is set, else the
// surrogate pair itself. A reference that is empty, not a number, longer than
// six digits, zero, a lone surrogate or above U+10FFFF stays as written.
// Everything from the first "&&#" on stays as written.
String HTMLDecodeCharRefs(StringView S, bool EmojiTag = true);
// 0-based end of the digits of the reference at the start of S ("&#..."):
// the first non-digit from the digits' start (at once in hexadecimal mode);
// the digits' start when all the rest are digits.
Integer HTMLCharRefEnd(StringView S, bool Hex);
// Every "<#" loses its "<" and the first ">" after it.
String HTMLUnwrapHashTags(StringView S);
// LF dropped; CR dropped, or replaced by "<BR>" when CRToBR.
String HTMLBreaksToBR(StringView S, bool CRToBR);
// 16 × d(first) + d(second) of upper-case hexadecimal digits; 0 for fewer
// than two characters; other characters give what the formula gives, 0..255.
Integer HexPairValue(StringView S);
// "#RRGGBB" as a TColor ($00BBGGRR); missing pairs read as 0.
TColor HTMLHexColor(StringView S);
// The colour of a lower-case "cl" name; 0 (black) for unknown names.
TColor HTMLColorName(StringView S);
// A "#" value through HTMLHexColor, any other through HTMLColorName (lower-cased).
TColor HTMLColorValue(StringView S);
// Replaces the first occurrence of Old in S, letter case ignored; false when none.
bool ReplaceNoCase(StringView Old, StringView New, String& S);
// Every occurrence of Old in S replaced, letter case ignored, in one pass.
String ReplaceAllNoCase(StringView Old, StringView New, StringView S);
// 0-based position of Sub in S with letter case ignored; -1 when absent.
Integer PosNoCase(StringView Sub, StringView S);
// 0-based position of Sub in S, also stored in P; -1 when absent.
Integer PosVar(StringView Sub, StringView S, Integer& P);
// Upper case that keeps every character's position (characters whose upper
// case is longer keep their ASCII mapping).
String HTMLUpper(StringView S);
// The run-time library's Val for integers, ignoring the error position: the
// value of the leading number (without its sign when more text follows), 0
// when nothing is readable; clamped to the Integer range.
Integer ValInt(StringView S);
// Val for integers with its error position (0 when the whole text was read).
Integer ValLong(StringView S, Integer& ErrorPos);
// Commas read as points; the value of the leading number, 0 when none.
Double ValFloat(StringView S);
// "<BR>"/"<HR>" to CR LF, "<z>...</z>" and "<Z>...</Z>" spans removed, other
// tags stripped; a "<" without a later ">" stays with the rest.
String HTMLToPlainText(StringView S);
// Every "<"..">" span removed; a "<" without a later ">" stays with the rest.
String HTMLStripTags(StringView S);
// Plain text made safe to place inside markup: "&", "<" and ">" become
// references, so text from outside the program shows as written and never
// forms tags.
String HTMLEscapeText(StringView S);
// 0-based position in S with exactly Index visible characters before it and
// before any tags in front of the next one (0 for Index 0); Length(S) when
// nothing follows the last one; -1 when S holds fewer than Index visible
// characters (or Index is negative).
Integer HTMLRawIndex(StringView S, Integer Index);
// 0-based position of Sub in S at or after From (letter case ignored unless
// CaseSensitive), also stored in P; -1 when absent or Sub is empty.
Integer FindTextFrom(StringView Sub, StringView S, Integer From, Integer& P, bool CaseSensitive);
// S with every occurrence of Search in its visible text wrapped in
// "<TagName>" .. "</TagName>"; occurrences do not overlap, and ones that follow
// each other directly are each wrapped. An empty Search changes nothing.
String HTMLHighlight(StringView S, StringView Search, StringView TagName, bool CaseSensitive);
// S without any "<TagName>" and "</TagName>" (letter case ignored).
String HTMLUnhighlight(StringView S, StringView TagName);

}  // namespace html
