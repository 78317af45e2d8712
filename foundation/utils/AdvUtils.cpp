#include "foundation/utils/AdvUtils.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <limits>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "platform/win/Files.h"
#include "platform/win/Resources.h"
#include "platform/win/Shell.h"
#include "platform/win/WinError.h"

namespace {

struct TEntity {
  Char Ch;
  const char16_t* Name;
};

// The markup entity table; the first three names carry no leading "&".
constexpr std::array<TEntity, 86> kEntities = {{
    {0x0026, u"amp;"},     {0x003C, u"lt;"},      {0x003E, u"gt;"},      {0x0022, u"&quot;"},
    {0x0020, u"&nbsp;"},   {0x00E9, u"&eacute;"}, {0x00E8, u"&egrave;"}, {0x00EB, u"&euml;"},
    {0x00EA, u"&ecirc;"},  {0x00F3, u"&oacute;"}, {0x00F2, u"&ograve;"}, {0x00F6, u"&ouml;"},
    {0x00F4, u"&ocirc;"},  {0x00ED, u"&iacute;"}, {0x00EC, u"&igrave;"}, {0x00EF, u"&iuml;"},
    {0x00EE, u"&icirc;"},  {0x00FA, u"&uacute;"}, {0x00F9, u"&ugrave;"}, {0x00FC, u"&uuml;"},
    {0x00FB, u"&ucirc;"},  {0x00E1, u"&aacute;"}, {0x00E0, u"&agrave;"}, {0x00E4, u"&auml;"},
    {0x00E2, u"&acirc;"},  {0x00C9, u"&Eacute;"}, {0x00C8, u"&Egrave;"}, {0x00CB, u"&Euml;"},
    {0x00CA, u"&Ecirc;"},  {0x00D3, u"&Oacute;"}, {0x00D2, u"&Ograve;"}, {0x00D6, u"&Ouml;"},
    {0x00D4, u"&Ocirc;"},  {0x00CD, u"&Iacute;"}, {0x00CC, u"&Igrave;"}, {0x00CF, u"&Iuml;"},
    {0x00CE, u"&Icirc;"},  {0x00DA, u"&Uacute;"}, {0x00D9, u"&Ugrave;"}, {0x00DC, u"&Uuml;"},
    {0x00DB, u"&Ucirc;"},  {0x00C1, u"&Aacute;"}, {0x00C0, u"&Agrave;"}, {0x00C4, u"&Auml;"},
    {0x00C2, u"&Acirc;"},  {0x00E7, u"&ccedil;"}, {0x00C7, u"&Ccedil;"}, {0x00F8, u"&oslash;"},
    {0x00D8, u"&Oslash;"}, {0x00E5, u"&aring;"},  {0x00C5, u"&Aring;"},  {0x00A9, u"&copy;"},
    {0x00AE, u"&reg;"},    {0x20AC, u"&euro;"},   {0x00AB, u"&laquo;"},  {0x00BB, u"&raquo;"},
    {0x00E3, u"&atilde;"}, {0x00C3, u"&Atilde;"}, {0x00F5, u"&otilde;"}, {0x00D5, u"&Otilde"},
    {0x2122, u"&trade;"},  {0x00A7, u"&sect;"},   {0x00B6, u"&para;"},   {0x00DF, u"&szlig;"},
    {0x00A3, u"&pound;"},  {0x0024, u"&#36;"},    {0x00A7, u"&sect;"},   {0x2030, u"&permil;"},
    {0x00B6, u"&para;"},   {0x0027, u"&#39;"},    {0x00A5, u"&yen;"},    {0x00A4, u"&curren;"},
    {0x00A2, u"&cent;"},   {0x00B1, u"&plusmn;"}, {0x00A1, u"&iexcl;"},  {0x00B0, u"&deg;"},
    {0x00FD, u"&#x00FD;"}, {0x00DD, u"&#221;"},   {0x00BC, u"&frac14;"}, {0x00BD, u"&frac12;"},
    {0x00BE, u"&frac34;"}, {0x00C6, u"&AElig;"},  {0x00E6, u"&aelig;"},  {0x00D1, u"&Ntilde;"},
    {0x00F1, u"&ntilde;"}, {0x00D0, u"&ETH;"},
}};

const std::vector<String>& EntityNames() {
  static const std::vector<String> names = [] {
    std::vector<String> v;
    for (const auto& e : kEntities) v.emplace_back(e.Name);
    return v;
  }();
  return names;
}

Char AsciiUpper(Char c) { return (c >= u'a' && c <= u'z') ? static_cast<Char>(c - 32) : c; }

constexpr char kHexUpper[] = "0123456789ABCDEF";

String ReplaceAll(StringView s, StringView from, StringView to) {
  String r;
  if (from.empty()) return String(s);
  std::size_t start = 0;
  for (;;) {
    const std::size_t p = s.find(from, start);
    if (p == StringView::npos) break;
    r.append(s.substr(start, p - start));
    r.append(to);
    start = p + from.size();
  }
  r.append(s.substr(start));
  return r;
}

String ReplaceChar(StringView s, Char ch, StringView to) {
  String r;
  r.reserve(s.size());
  for (Char c : s) {
    if (c == ch) r.append(to);
    else r.push_back(c);
  }
  return r;
}

String Ascii(std::string_view s) { return String(s.begin(), s.end()); }

}  // namespace

// --- searching and replacing -------------------------------------------------

Integer TAdvUtils::IPos(StringView su, StringView s) {
  if (su.empty() || su.size() > s.size()) return -1;
  for (std::size_t i = 0; i + su.size() <= s.size(); ++i) {
    std::size_t k = 0;
    while (k < su.size() && AsciiUpper(s[i + k]) == AsciiUpper(su[k])) ++k;
    if (k == su.size()) return static_cast<Integer>(i);
  }
  return -1;
}

bool TAdvUtils::TagReplaceString(StringView Srch, StringView Repl, String& Dest) {
  const Integer p = IPos(Srch, Dest);
  if (p < 0) return false;
  Dest.replace(static_cast<std::size_t>(p), Srch.size(), Repl);
  return true;
}

Integer TAdvUtils::VarPos(StringView ASubValue, StringView AValue, Integer& AResult) {
  const auto p = ASubValue.empty() ? StringView::npos : AValue.find(ASubValue);
  AResult = p == StringView::npos ? -1 : static_cast<Integer>(p);
  return AResult;
}

Integer TAdvUtils::VarPosNoCase(StringView ASubValue, StringView AValue, Integer& AResult) {
  AResult = IPos(ASubValue, AValue);
  return AResult;
}

Char TAdvUtils::CharInStr(StringView s, Integer Index) {
  if (Index < 0 || static_cast<std::size_t>(Index) >= s.size()) return 0;
  return s[static_cast<std::size_t>(Index)];
}

// --- markup --------------------------------------------------------------------

String TAdvUtils::FixMarkup(StringView su, bool SpecialChars) {
  // The placeholder step also turns a literal "*amp;" into "&amp;", as stored texts expect.
  String s = ReplaceChar(su, u'&', u"*amp;");
  s = ReplaceAll(s, u"*amp;", u"&amp;");
  s = ReplaceChar(s, u'"', u"&quot;");
  s = ReplaceChar(s, u'<', u"&lt;");
  s = ReplaceChar(s, u'>', u"&gt;");
  if (!SpecialChars) return s;
  for (std::size_t i = 3; i < kEntities.size(); ++i) s = ReplaceChar(s, kEntities[i].Ch, kEntities[i].Name);
  String r;
  r.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c <= 0x100) {
      r.push_back(static_cast<Char>(c));
      continue;
    }
    // A surrogate pair is one character: its reference carries the code point.
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    }
    r += u"&#" + IntToStr(c) + u";";
  }
  return r;
}

namespace {

// "&amp;" replaced by "&" until none is left, in one pass: the output never
// holds the name, so only its end can complete one after each character.
// The name cannot overlap itself, so the result is the one repeated
// replacement reaches.
String CollapseAmp(StringView s) {
  constexpr StringView kAmp = u"&amp;";
  String r;
  r.reserve(s.size());
  for (Char c : s) {
    r.push_back(c);
    if (c == u';' && r.size() >= kAmp.size() && StringView(r).substr(r.size() - kAmp.size()) == kAmp)
      r.erase(r.size() - kAmp.size() + 1);  // keeps the "&"
  }
  return r;
}

bool SameAsciiCaseAt(StringView s, std::size_t at, StringView name) {
  for (std::size_t k = 0; k < name.size(); ++k)
    if (AsciiUpper(s[at + k]) != AsciiUpper(name[k])) return false;
  return true;
}

// The entity loop for one name: while the name occurs with its case, the first
// occurrence in any ASCII case is replaced. A replacement character never
// belongs to a name and a name starts with its only "&", so the loop replaces
// the occurrences in any case from the left up to the last one with case:
// done here in one pass.
String ReplaceEntity(StringView s, StringView name, Char ch) {
  const std::size_t last = s.rfind(name);
  if (last == StringView::npos) return String(s);
  String r;
  r.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    if (i <= last && s[i] == u'&' && i + name.size() <= s.size() && SameAsciiCaseAt(s, i, name)) {
      r.push_back(ch);
      i += name.size();
    } else {
      r.push_back(s[i++]);
    }
  }
  return r;
}

}  // namespace

String TAdvUtils::UnFixMarkup(StringView su, bool SpecialChars, bool SpecialCharsOnly) {
  String s(su);
  if (!SpecialCharsOnly) {
    // One pass each: "<", ">" and the quote are in no name, so replacing them
    // cannot make a new one; "&" can, and has its own pass.
    s = ReplaceAll(s, u"&lt;", u"<");
    s = ReplaceAll(s, u"&gt;", u">");
    s = CollapseAmp(s);
    s = ReplaceAll(s, u"&quot;", u"\"");
  }
  if (SpecialChars) {
    for (std::size_t i = 3; i < kEntities.size(); ++i) s = ReplaceEntity(s, kEntities[i].Name, kEntities[i].Ch);
  }
  return s;
}

Integer TAdvUtils::GetMarkupIndex(StringView Markup) { return IndexOfTextInArray(Markup, EntityNames()); }

Integer TAdvUtils::IndexOfTextInArray(StringView AText, const std::vector<String>& AValues) {
  const String lower = LowerCase(AText);
  bool withCase = false;
  for (StringView accent : {u"cute", u"grave", u"uml", u"circ", u"tilde", u"ring", u"cedil"})
    if (lower.find(accent) != String::npos) withCase = true;
  for (std::size_t i = 0; i < AValues.size(); ++i) {
    if (withCase ? AValues[i] == AText : SameText(AValues[i], AText)) return static_cast<Integer>(i);
  }
  return -1;
}

String TAdvUtils::GetSpecialChar(Integer Value) {
  if (Value < 1 || Value > static_cast<Integer>(kEntities.size())) return {};
  return String(1, kEntities[static_cast<std::size_t>(Value - 1)].Ch);
}

bool TAdvUtils::IsHTML(StringView AValue) {
  return AValue.find(u"</") != StringView::npos || AValue.find(u"/>") != StringView::npos ||
         UpperCase(AValue).find(u"<BR>") != String::npos;
}

bool TAdvUtils::IsHTMLUnicode(StringView AValue) { return IsHTML(AValue); }

String TAdvUtils::HTMLStrip(StringView AHTML) {
  // Single passes keep long texts linear. Replacing <BR> and <HR> never forms
  // a new tag, so one pass gives what replacing them one by one gives.
  String s;
  s.reserve(AHTML.size());
  for (std::size_t i = 0; i < AHTML.size(); ++i) {
    if (AHTML[i] == u'<' && i + 3 < AHTML.size() && AHTML[i + 3] == u'>' && AsciiUpper(AHTML[i + 2]) == u'R' &&
        (AsciiUpper(AHTML[i + 1]) == u'B' || AsciiUpper(AHTML[i + 1]) == u'H')) {
      s += u"\r\n";
      i += 3;
    } else {
      s.push_back(AHTML[i]);
    }
  }
  String result;
  result.reserve(s.size());
  std::size_t pos = 0;
  for (;;) {
    const auto lt = s.find(u'<', pos);
    if (lt == String::npos) break;
    result.append(s, pos, lt - pos);
    const auto gt = s.find(u'>', lt);
    pos = lt;
    if (gt == String::npos) break;  // an unclosed "<" and the rest stay as they are
    pos = gt + 1;
  }
  result.append(s, pos);
  return result;
}

// --- JSON strings ------------------------------------------------------------------

void TAdvUtils::AppendEscaped(std::string& Out, StringView AValue) {
  for (Char c : AValue) {
    // Every control character is escaped (not just the named ones), so the
    // text stays valid JSON for any reader.
    if (c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\') {
      Out.push_back(static_cast<char>(c));
      continue;
    }
    const char esc[6] = {'\\', 'u', kHexUpper[(c >> 12) & 0xF], kHexUpper[(c >> 8) & 0xF],
                         kHexUpper[(c >> 4) & 0xF], kHexUpper[c & 0xF]};
    Out.append(esc, 6);
  }
}

String TAdvUtils::EscapeString(StringView AValue) {
  std::string out;
  out.reserve(AValue.size() + 8);
  AppendEscaped(out, AValue);
  return Ascii(out);
}

String TAdvUtils::UnescapeString(StringView AValue) {
  String r;
  r.reserve(AValue.size());
  const std::size_t n = AValue.size();
  std::size_t i = 0;
  while (i < n) {
    const Char c = AValue[i];
    if (c != u'\\') {
      r.push_back(c);
      ++i;
      continue;
    }
    if (i + 1 >= n) throw Exception(u"Unexpected end of string");
    const Char e = AValue[i + 1];
    Char out = 0;
    switch (e) {
      case u'\\': out = u'\\'; break;
      case u'/': out = u'/'; break;
      case u'"': out = u'"'; break;
      case u'b': out = 8; break;
      case u'f': out = 12; break;
      case u'n': out = 10; break;
      case u'r': out = 13; break;
      case u't': out = 9; break;
      case u'u': {
        int v = 0;
        bool ok = i + 6 <= n;
        for (std::size_t k = 2; ok && k < 6; ++k) {
          const int h = HexDigitValue(AValue[i + k]);
          if (h < 0) ok = false;
          else v = v * 16 + h;
        }
        if (!ok) throw Exception(u"Invalid code at position " + IntToStr(static_cast<Int64>(i) + 1));
        r.push_back(static_cast<Char>(v));
        i += 6;
        continue;
      }
      default:
        throw Exception(u"Invalid code at position " + IntToStr(static_cast<Int64>(i) + 1));
    }
    r.push_back(out);
    i += 2;
  }
  return r;
}

// --- numbers and dates ---------------------------------------------------------------

bool TAdvUtils::TryStrToFloatDot(StringView AValue, Double& AResult) {
  std::size_t b = 0, e = AValue.size();
  while (b < e && AValue[b] == u' ') ++b;
  while (e > b && AValue[e - 1] == u' ') --e;
  if (b == e || e - b > 1024) return false;
  std::string text;
  text.reserve(e - b);
  std::size_t i = b;
  bool negative = false;
  if (AValue[i] == u'+' || AValue[i] == u'-') negative = AValue[i++] == u'-';
  std::size_t digits = 0;
  auto takeDigits = [&] {
    std::size_t count = 0;
    while (i < e && AValue[i] >= u'0' && AValue[i] <= u'9') {
      text.push_back(static_cast<char>(AValue[i++]));
      ++count;
    }
    return count;
  };
  digits += takeDigits();
  if (i < e && AValue[i] == u'.') {
    text.push_back('.');
    ++i;
    digits += takeDigits();
  }
  if (digits == 0) return false;
  if (i < e && (AValue[i] == u'e' || AValue[i] == u'E')) {
    text.push_back('e');
    ++i;
    if (i < e && (AValue[i] == u'+' || AValue[i] == u'-')) text.push_back(static_cast<char>(AValue[i++]));
    if (takeDigits() == 0) return false;
  }
  if (i != e) return false;
  double v = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; overflow is not a number we can hold.
    const auto ePos = text.find('e');
    if (ePos == std::string::npos || text[ePos + 1] != '-') return false;
    v = 0;
  } else if (res.ec != std::errc() || res.ptr != text.data() + text.size() || !std::isfinite(v)) {
    return false;
  }
  AResult = negative ? -v : v;
  return true;
}

Double TAdvUtils::StrToFloatDot(StringView AValue) {
  Double v = 0;
  if (!TryStrToFloatDot(AValue, v)) throw EConvertError(u"'" + String(AValue) + u"' is not a valid floating point value");
  return v;
}

namespace {

// Digits and decimal exponent of a scientific text: "d.ddde-XX", or "de+XX"
// for a single digit (the exponent has a sign and two or three digits).
int SplitScientific(const char* text, const char* end, char* digits, int& exponent) {
  const char* e = end[-4] == 'e' ? end - 4 : end - 5;
  digits[0] = text[0];
  int n = 1;
  if (e - text > 2) {
    std::memcpy(digits + 1, text + 2, static_cast<std::size_t>(e - text - 2));
    n += static_cast<int>(e - text - 2);
  }
  int value = 0;
  for (const char* p = e + 2; p < end; ++p) value = value * 10 + (*p - '0');
  exponent = e[1] == '-' ? -value : value;
  return n;
}

// The significant digits and the decimal exponent of |v| (finite, not 0)
// rounded to 15 digits; near the largest double 15 digits would round past it
// and read back as an overflow, so those few values keep 17.
int RoundedDigits(double v, char* digits, int& exponent) {
  char buf[48];
  if (v > 1.797693134862315e308 || v < std::numeric_limits<double>::min()) {
    // The exact fixed-precision conversion (subnormals carry too few digits for the shortcut below).
    const int precision = v > 1.797693134862315e308 ? 16 : 14;
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, precision);
    return SplitScientific(buf, res.ptr, digits, exponent);
  }
  // Most values: scaled to 15 integer digits by an exact power of ten, in one
  // rounding (under 1/16 of a unit at this size), and rounded to an integer.
  // That is the correct rounding unless the scaled value lies near a half,
  // which the slower roads below settle.
  {
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    const int binary = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
    // 10^e <= 2^binary <= v < 10^(e + 2): the decimal exponent is e or e + 1.
    const double estimate = binary * 0.30102999566398120;
    int e = static_cast<int>(estimate);
    if (estimate < e) --e;  // floor
    auto scale = [&](int s) { return s >= 0 ? v * kPow10[s] : v / kPow10[-s]; };
    if (e >= -8 && e <= 35) {
      double scaled = scale(14 - e);
      if (scaled >= 1e15) scaled = scale(14 - ++e);
      const auto whole = static_cast<std::uint64_t>(scaled);
      const double fraction = scaled - static_cast<double>(whole);
      // The scaling erred by at most half a unit in the last place of
      // scaled, which scaled x 2^-53 bounds.
      const double margin = scaled * 0x1p-53;
      if (whole >= 100000000000000ull && whole < 1000000000000000ull && std::fabs(fraction - 0.5) > margin) {
        std::uint64_t rounded = whole + (fraction > 0.5 ? 1 : 0);
        if (rounded == 1000000000000000ull) {  // 999... rounded up: one more digit in front
          rounded = 100000000000000ull;
          ++e;
        }
        // Trailing zeros go before the digits are made: fewer to make and none to strip.
        while (rounded % 10000 == 0) rounded /= 10000;
        while (rounded % 10 == 0) rounded /= 10;
        exponent = e;
        return static_cast<int>(std::to_chars(digits, digits + 20, rounded).ptr - digits);
      }
    }
  }
  // Short decimals (most numbers people type) come from an integer: M / 10^k
  // that reads back as v is a decimal of at most 15 digits within v's
  // rounding interval, so it is the rounding (argument below).
  if (v < 1e15) {
    static constexpr double kPow10[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    for (int k = 0; k < 7; ++k) {
      const double m = v * kPow10[k];
      if (m >= 1e15) break;
      const auto whole = static_cast<std::uint64_t>(m);
      if (static_cast<double>(whole) == m && static_cast<double>(whole) / kPow10[k] == v) {
        if (whole == 0) break;
        const int n = static_cast<int>(std::to_chars(digits, digits + 20, whole).ptr - digits);
        exponent = n - 1 - k;
        return n;
      }
    }
  }
  // The shortest text that reads back as v is cheaper to make. Within 15
  // digits it is the rounding already: v lies within half its last bit of
  // it, under 11.2 units of the 17th digit, and half a unit of the 15th is 50.
  const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
  const int n = SplitScientific(buf, res.ptr, digits, exponent);
  if (n <= 15) return n;
  // 16 or 17 digits: the tail beyond the 15th, in units of the 17th digit,
  // decides the rounding unless it lies within v's own distance from the
  // text (below (first digit + 1) x 1.12 units) of the midpoint 50.
  const int tail = (digits[15] - '0') * 10 + (n > 16 ? digits[16] - '0' : 0);
  const int margin = tail > 50 ? tail - 50 : 50 - tail;
  if (margin * 100 <= (digits[0] - '0' + 1) * 112) {
    const auto exact = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    return SplitScientific(buf, exact.ptr, digits, exponent);
  }
  if (tail > 50) {
    int i = 14;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0) {
      ++digits[i];
    } else {  // 999... rounded up: one more digit in front
      digits[0] = '1';
      ++exponent;
    }
  }
  return 15;
}

}  // namespace

void TAdvUtils::AppendFloatDot(std::string& Out, Double AValue) {
  if (std::isnan(AValue)) { Out += "NAN"; return; }
  if (std::isinf(AValue)) { Out += AValue < 0 ? "-INF" : "INF"; return; }
  if (AValue == 0) { Out += '0'; return; }
  // 15 significant digits, then the class library's general layout: plain
  // notation for decimal exponents -4..14, else mantissa "E" exponent ("1E-5", "1E15").
  char digits[32] = {};
  int exponent = 0;
  int count = RoundedDigits(std::fabs(AValue), digits, exponent);
  while (count > 1 && digits[count - 1] == '0') --count;
  // The text is laid out on the stack and appended at once. Digit runs are
  // at most 16 long (17 digits only beside an exponent), so each is copied as
  // a fixed 16 bytes (digits has room to read that far, text to take it) and
  // the end moved by the run's length: no call for a few bytes.
  char text[64];
  char* t = text;
  auto run = [&t, &digits](int from, int to) {
    std::memcpy(t, digits + from, 16);
    t += to - from;
  };
  auto zeros = [&t](int n) {
    std::memset(t, '0', 16);
    t += n;
  };
  if (AValue < 0) *t++ = '-';
  if (exponent < -4 || exponent >= 15) {
    *t++ = digits[0];
    if (count > 1) {
      *t++ = '.';
      run(1, count);
    }
    *t++ = 'E';
    t = std::to_chars(t, text + sizeof text, exponent).ptr;
  } else if (exponent < 0) {
    *t++ = '0';
    *t++ = '.';
    zeros(-exponent - 1);
    run(0, count);
  } else if (count <= exponent + 1) {
    run(0, count);
    zeros(exponent + 1 - count);
  } else {
    run(0, exponent + 1);
    *t++ = '.';
    run(exponent + 1, count);
  }
  Out.append(text, t);
}

String TAdvUtils::FloatToStrDot(Double AValue) {
  std::string out;
  AppendFloatDot(out, AValue);
  return Ascii(out);
}

TDateTime TAdvUtils::EpochToDateTime(StringView AEpoch) {
  const String t = Trim(AEpoch);
  std::string a = StringToAnsi(t);
  Integer secs = 0;
  const auto res = std::from_chars(a.data(), a.data() + a.size(), secs);
  if (a.empty() || res.ec != std::errc() || res.ptr != a.data() + a.size())
    throw EConvertError(u"'" + String(AEpoch) + u"' is not a valid integer value");
  return 25569.0 + static_cast<double>(secs) / 86400.0;
}

// --- URL and hex -------------------------------------------------------------

String TAdvUtils::URLEncode(StringView AURL) {
  const std::string bytes = StringToUtf8(AURL);
  String r;
  r.reserve(bytes.size() * 3);
  for (unsigned char b : bytes) {
    if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '-' || b == '.' || b == '_') {
      r.push_back(b);
    } else {
      r.push_back(u'%');
      r.push_back(static_cast<Char>(kHexUpper[b >> 4]));
      r.push_back(static_cast<Char>(kHexUpper[b & 0xF]));
    }
  }
  return r;
}

String TAdvUtils::URLDecode(StringView AURL) {
  if (AURL.empty()) return {};
  auto digit = [](Char c) -> int {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;  // lower-case digits are not accepted
  };
  std::string bytes;
  const std::size_t n = AURL.size();
  std::size_t i = 0;
  while (i < n) {
    const Char c = AURL[i];
    if (c != u'%') {
      bytes.push_back(static_cast<char>(c & 0xFF));
      ++i;
      continue;
    }
    if (i + 2 >= n) {
      // Fewer than two characters follow: the "%" is dropped.
      ++i;
      continue;
    }
    const int hi = digit(AURL[i + 1]);
    const int lo = digit(AURL[i + 2]);
    if (hi >= 0 && lo >= 0) bytes.push_back(static_cast<char>(hi * 16 + lo));
    i += 3;
  }
  return Trim(Utf8ToString(bytes));
}

TBytes TAdvUtils::HexStrToBytes(StringView AValue) {
  TBytes r;
  r.reserve(AValue.size() / 2);
  for (std::size_t i = 0; i + 1 < AValue.size(); i += 2) {
    const int hi = HexDigitValue(AValue[i]);
    const int lo = HexDigitValue(AValue[i + 1]);
    if (hi < 0 || lo < 0)
      throw EConvertError(u"'$" + String(AValue.substr(i, 2)) + u"' is not a valid integer value");
    r.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
  }
  if (AValue.size() % 2 != 0) throw ERangeError(u"Range check error");
  return r;
}

// --- character sets ----------------------------------------------------------

TAdvUtilsCharSet TAdvUtils::NumericCharSet() { return CreateCharSet(u"0123456789"); }

TAdvUtilsCharSet TAdvUtils::AlphaCharSet() {
  return CreateCharSet(u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
}

TAdvUtilsCharSet TAdvUtils::CreateCharSet(StringView AValue) { return TAdvUtilsCharSet(AValue.begin(), AValue.end()); }

TAdvUtilsCharSet TAdvUtils::AddCharSet(const TAdvUtilsCharSet& ACharSet1, const TAdvUtilsCharSet& ACharSet2) {
  TAdvUtilsCharSet r = ACharSet1;
  r.insert(r.end(), ACharSet2.begin(), ACharSet2.end());
  return r;
}

TAdvUtilsCharSet TAdvUtils::SubCharSet(const TAdvUtilsCharSet& ACharSet1, const TAdvUtilsCharSet& ACharSet2) {
  TAdvUtilsCharSet r;
  for (Char c : ACharSet1)
    if (!CharInSet(c, ACharSet2)) r.push_back(c);
  return r;
}

bool TAdvUtils::CharInSet(Char ch, const TAdvUtilsCharSet& ACharSet) {
  for (Char c : ACharSet)
    if (c == ch) return true;
  return false;
}

Char TAdvUtils::FirstChar(const TAdvUtilsCharSet& ACharset, StringView AValue, Integer& spos) {
  bool quoted = false;
  for (std::size_t i = 0; i < AValue.size(); ++i) {
    // Outside means an even number of quotes before this character, so an
    // opening quote in the set is found and a closing one is not.
    if (!quoted && CharInSet(AValue[i], ACharset)) {
      spos = static_cast<Integer>(i);
      return AValue[i];
    }
    if (AValue[i] == u'"') quoted = !quoted;
  }
  spos = -1;
  return 0;
}

String TAdvUtils::StripLogicSpaces(StringView AValue) {
  String r;
  bool quoted = false;
  for (Char c : AValue) {
    if (c == u'"') quoted = !quoted;
    if (c == u' ' && !quoted) continue;
    r.push_back(c);
  }
  return r;
}

Integer TAdvUtils::ClosingParenthesis(StringView s1) {
  Integer open = 0, close = 0;
  for (std::size_t i = 0; i < s1.size(); ++i) {
    if (s1[i] == u'(') ++open;
    if (s1[i] == u')') {
      ++close;
      if (open == close) return static_cast<Integer>(i);
    }
  }
  return -1;
}

// --- Base64 and hex ---------------------------------------------------------------

String TAdvUtils::EncodeBytesToBase64(const std::uint8_t* AData, std::size_t ASize, bool AURL) {
  static constexpr char kStd[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  static constexpr char kUrl[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
  const char* alphabet = AURL ? kUrl : kStd;
  String r;
  r.reserve((ASize + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= ASize; i += 3) {
    const std::uint32_t v = (AData[i] << 16) | (AData[i + 1] << 8) | AData[i + 2];
    for (int s = 18; s >= 0; s -= 6) r.push_back(static_cast<Char>(alphabet[(v >> s) & 0x3F]));
  }
  const std::size_t rest = ASize - i;
  if (rest > 0) {
    std::uint32_t v = AData[i] << 16;
    if (rest == 2) v |= AData[i + 1] << 8;
    r.push_back(static_cast<Char>(alphabet[(v >> 18) & 0x3F]));
    r.push_back(static_cast<Char>(alphabet[(v >> 12) & 0x3F]));
    if (rest == 2) r.push_back(static_cast<Char>(alphabet[(v >> 6) & 0x3F]));
    if (!AURL) r.append(rest == 1 ? u"==" : u"=");
  }
  return r;
}

TBytes TAdvUtils::Decode64ToBytes(StringView AValue, bool AURL) {
  TBytes r;
  if (AValue.empty()) return r;
  r.reserve(AValue.size() / 4 * 3 + 3);
  std::uint32_t acc = 0;
  int bits = 0;
  for (Char c : AValue) {
    int v;
    if (c >= u'A' && c <= u'Z') v = c - u'A';
    else if (c >= u'a' && c <= u'z') v = c - u'a' + 26;
    else if (c >= u'0' && c <= u'9') v = c - u'0' + 52;
    else if (c == u'+' || (AURL && c == u'-')) v = 62;
    else if (c == u'/' || (AURL && c == u'_')) v = 63;
    else if (c == u'=') break;  // padding ends the data
    else continue;              // line breaks and other noise
    acc = (acc << 6) | static_cast<std::uint32_t>(v);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      r.push_back(static_cast<std::uint8_t>((acc >> bits) & 0xFF));
    }
  }
  return r;
}

String TAdvUtils::BytesToHexStr(const std::uint8_t* AData, std::size_t ASize) {
  String r;
  r.reserve(ASize * 2);
  for (std::size_t i = 0; i < ASize; ++i) {
    r.push_back(static_cast<Char>(kHexUpper[AData[i] >> 4]));
    r.push_back(static_cast<Char>(kHexUpper[AData[i] & 0xF]));
  }
  return r;
}

// --- image formats -----------------------------------------------------------------

String TAdvUtils::GetImageTypeOfBytes(const std::uint8_t* AData, std::size_t ASize) {
  struct TSignature {
    const char16_t* Ext;
    std::size_t Count;
    std::uint8_t Bytes[4];
  };
  static constexpr TSignature kSignatures[] = {
      {u".gif", 3, {0x47, 0x49, 0x46, 0}},       {u".bmp", 2, {0x42, 0x4D, 0, 0}},
      {u".png", 4, {0x89, 0x50, 0x4E, 0x47}},    {u".tiff", 3, {0x49, 0x49, 0x2A, 0}},
      {u".tiff", 3, {0x4D, 0x4D, 0x2A, 0}},      {u".jpg", 4, {0xFF, 0xD8, 0xFF, 0xE0}},
      {u".jpg", 4, {0xFF, 0xD8, 0xFF, 0xE1}},    {u".jpg", 4, {0xFF, 0xD8, 0xFF, 0xDB}},
      {u".unknown", 4, {0x00, 0x00, 0x01, 0x00}}, {u".empty", 4, {0x00, 0x00, 0x00, 0x00}},
  };
  if (AData == nullptr || ASize < 4) return {};
  for (const auto& sig : kSignatures)
    if (std::memcmp(AData, sig.Bytes, sig.Count) == 0) return sig.Ext;
  return {};
}

// --- scaling -------------------------------------------------------------------

Integer TAdvUtils::MulDivInt(Integer nNumber, Integer nNumerator, Integer nDenominator) {
  if (nDenominator == 0) return -1;
  const double q = static_cast<double>(static_cast<Int64>(nNumber) * nNumerator) / nDenominator;
  const double r = std::round(q);  // half away from zero
  if (r >= static_cast<double>(std::numeric_limits<Integer>::max())) return std::numeric_limits<Integer>::max();
  if (r <= static_cast<double>(std::numeric_limits<Integer>::min())) return std::numeric_limits<Integer>::min();
  return static_cast<Integer>(r);
}

Single TAdvUtils::MulDivSingle(Single nNumber, Single nNumerator, Single nDenominator) {
  if (nDenominator == 0) return -1;
  return nNumber * nNumerator / nDenominator;
}

// --- paths and system -------------------------------------------------------------

String TAdvUtils::AddBackslash(StringView AValue) {
  String r(AValue);
  if (!r.empty() && r.back() != u'\\') r.push_back(u'\\');
  return r;
}

String TAdvUtils::AddForwardslash(StringView AValue) {
  String r(AValue);
  if (!r.empty() && r.back() != u'/') r.push_back(u'/');
  return r;
}

String TAdvUtils::GetTempPath() { return ::GetTempPath(); }

String TAdvUtils::GetAppPath() {
  const String exe = GetModuleFileName(nullptr);
  const auto slash = exe.rfind(u'/');
  return slash == String::npos ? String(u"./") : exe.substr(0, slash + 1);
}

String TAdvUtils::GetDocumentsPath() {
  const String folder = GetShellFolderPath(CSIDL_PERSONAL);
  if (folder.empty()) throw EOSError(u"The documents folder is unknown", GetLastError());
  return folder;
}

HINSTANCE TAdvUtils::GetHInstance() { return HInstance(); }

void TAdvUtils::OpenFile(StringView AFile, TObject* /*AControlReference*/) {
  ShellExecute(nullptr, u"open", String(AFile), u"", u"", SW_SHOWNORMAL);
}

void TAdvUtils::OpenURL(StringView AURL) { ShellExecute(nullptr, u"open", String(AURL), u"", u"", SW_SHOWNORMAL); }

namespace {

// A read-only stream over resource bytes, which live as long as the program.
class TAdvResourceStream : public TCustomMemoryStream {
 public:
  TAdvResourceStream(const void* data, DWORD size) {
    SetPointer(static_cast<std::uint8_t*>(const_cast<void*>(data)), size);
  }
  Integer Write(const void*, Integer) override { throw EStreamError(u"Can't write to a read-only resource stream"); }
  using TCustomMemoryStream::Write;
};

}  // namespace

std::unique_ptr<TStream> TAdvUtils::GetResourceStream(StringView AResourceName, HINSTANCE AInstance) {
  const HRSRC res = FindResource(AInstance, String(AResourceName), RT_RCDATA);
  if (res == nullptr) return nullptr;
  const void* data = LockResource(LoadResource(AInstance, res));
  if (data == nullptr) return nullptr;
  return std::make_unique<TAdvResourceStream>(data, SizeofResource(AInstance, res));
}

void TAdvUtils::Log(StringView AMessage) { std::cerr << StringToUtf8(AMessage) << '\n'; }

// --- thousands, dates ----------------------------------------------------------

String TAdvUtils::StripThousandSep(StringView ps) {
  String r;
  r.reserve(ps.size());
  for (Char c : ps)
    if (c != FormatSettings.ThousandSeparator) r.push_back(c);
  return r;
}

bool TAdvUtils::IsDate(StringView AValue, TDateTime& ADate) {
  const String fmt = UpperCase(FormatSettings.ShortDateFormat);
  const Char ds = FormatSettings.DateSeparator;
  const Char ts = FormatSettings.TimeSeparator;
  auto numberOf = [](StringView text, Integer& v) { return TryStrToInt(Trim(text), v); };

  const auto p1 = AValue.find(ds);
  if (p1 == StringView::npos) return false;
  const StringView f1 = AValue.substr(0, p1);
  StringView rest = AValue.substr(p1 + 1);
  const auto p2 = rest.find(ds);
  if (p2 == StringView::npos) return false;
  const StringView f2 = rest.substr(0, p2);
  const String tail = Trim(rest.substr(p2 + 1));
  String f3 = tail, timeText;
  bool hasTime = false;
  if (const auto blank = tail.find(u' '); blank != String::npos) {
    f3 = tail.substr(0, blank);
    timeText = tail.substr(blank);
    hasTime = true;
  }
  Integer fields[3];
  if (!numberOf(f1, fields[0]) || !numberOf(f2, fields[1]) || !numberOf(f3, fields[2])) return false;

  // The field order is the order of D, M and Y in the short date format.
  struct TPart { std::size_t At; int Which; };  // 0 day, 1 month, 2 year
  TPart parts[3] = {{fmt.find(u'D'), 0}, {fmt.find(u'M'), 1}, {fmt.find(u'Y'), 2}};
  std::sort(std::begin(parts), std::end(parts), [](const TPart& a, const TPart& b) { return a.At < b.At; });
  Integer dmy[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i) dmy[parts[i].Which] = fields[i];
  const Integer day = dmy[0], month = dmy[1], year = dmy[2];
  if (day >= 32 || month > 12 || day < 0 || month < 0 || year < 0 || year > 9999) return false;
  TDateTime date = 0;
  if (!TryEncodeDate(static_cast<Word>(year), static_cast<Word>(month), static_cast<Word>(day), date)) return false;
  ADate = date;
  if (!hasTime) return true;

  const auto t1 = timeText.find(ts);
  if (t1 == String::npos) return false;
  Integer hour = 0, minute = 0, second = 0;
  if (!numberOf(StringView(timeText).substr(0, t1), hour) || hour < 0 || hour > 23) return false;
  const StringView afterHour = StringView(timeText).substr(t1 + 1);
  if (const auto t2 = afterHour.find(ts); t2 != StringView::npos) {
    if (!numberOf(afterHour.substr(0, t2), minute) || !numberOf(afterHour.substr(t2 + 1), second)) return false;
    if (minute < 0 || minute > 59 || second < 0 || second > 60) return false;
  } else {
    if (!numberOf(afterHour, minute) || minute < 0 || minute > 59) return false;
  }
  TDateTime time = 0;
  if (!TryEncodeTime(static_cast<Word>(hour), static_cast<Word>(minute), static_cast<Word>(second), 0, time))
    return false;
  ADate = date + time;
  return true;
}

// --- matching ------------------------------------------------------------------

namespace {

// The operand after an operator at index `at`: "=" (inclusive), blanks and an
// opening quote skipped; it ends at the end, at a blank, "&", "|" or "^" outside quotes.
String ComparisonOperand(StringView s, std::size_t at, bool& inclusive) {
  inclusive = false;
  std::size_t k = at;
  if (k < s.size() && s[k] == u'=') {
    inclusive = true;
    ++k;
  }
  while (k < s.size() && s[k] == u' ') ++k;
  bool quoted = false;
  if (k < s.size() && s[k] == u'"') {
    quoted = true;
    ++k;
  }
  String op;
  for (; k < s.size(); ++k) {
    const Char c = s[k];
    if (c == u'"') {
      quoted = !quoted;
      continue;
    }
    if (!quoted && (c == u' ' || c == u'&' || c == u'|' || c == u'^')) break;
    op.push_back(c);
  }
  return op;
}

// Negative, 0, positive: as numbers, else as dates, else as texts.
int CompareValues(StringView value, StringView operand) {
  Double a = 0, b = 0;
  if (TAdvUtils::TryStrToFloatDot(TAdvUtils::StripThousandSep(value), a) &&
      TAdvUtils::TryStrToFloatDot(TAdvUtils::StripThousandSep(operand), b))
    return a < b ? -1 : (a > b ? 1 : 0);
  TDateTime da = 0, db = 0;
  if (TAdvUtils::IsDate(value, da) && TAdvUtils::IsDate(operand, db)) return da < db ? -1 : (da > db ? 1 : 0);
  return CompareStr(value, operand);
}

// "*" and "?" matching without backtracking blow-up: the last star is
// retried one character further on each mismatch.
bool WildcardMatch(StringView pattern, StringView value) {
  std::size_t p = 0, v = 0, starP = StringView::npos, starV = 0;
  while (v < value.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      while (p < pattern.size() && pattern[p] == u'*') ++p;
      if (p == pattern.size()) return true;
      starP = p;
      starV = v;
    } else if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == value[v])) {
      ++p;
      ++v;
    } else if (starP != StringView::npos) {
      p = starP;
      v = ++starV;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

constexpr int kMaxGroupDepth = 64;

bool MatchStrExDepth(StringView AValue1, StringView AValue2, bool ACaseSensitive, int depth) {
  String s = TAdvUtils::StripLogicSpaces(Trim(AValue1));
  if (!s.empty() && s[0] == u'=') s.erase(0, 1);
  if (s.empty()) return AValue2.empty();
  if (s == u"*" && AValue2.empty()) return false;
  // Deeper groups than any real filter are taken as not matching.
  if (depth > kMaxGroupDepth) return false;

  const TAdvUtilsCharSet operators = TAdvUtils::CreateCharSet(u"(;^&|");
  bool result = false;
  Char last = 0;
  auto combine = [&](bool r) {
    switch (last) {
      case 0: result = r; break;
      case u'&': result = result && r; break;
      case u'(': break;
      default: result = result || r; break;  // ";", "^", "|"
    }
  };
  for (;;) {
    Integer pos = -1;
    const Char op = TAdvUtils::FirstChar(operators, s, pos);
    if (op == 0) break;
    if (s[0] == u'(') {
      const Integer close = TAdvUtils::ClosingParenthesis(s);
      if (close < 0) {  // unbalanced: the rest is the group
        combine(MatchStrExDepth(StringView(s).substr(1), AValue2, ACaseSensitive, depth + 1));
        s.clear();
      } else {
        combine(MatchStrExDepth(StringView(s).substr(1, static_cast<std::size_t>(close) - 1), AValue2,
                                ACaseSensitive, depth + 1));
        s.erase(0, static_cast<std::size_t>(close) + 1);
      }
      last = u'(';
      continue;
    }
    combine(TAdvUtils::MatchStr(StringView(s).substr(0, static_cast<std::size_t>(pos)), AValue2, ACaseSensitive));
    s.erase(0, static_cast<std::size_t>(pos) + 1);
    last = op;
  }
  combine(TAdvUtils::MatchStr(s, AValue2, ACaseSensitive));
  return result;
}

}  // namespace

bool TAdvUtils::Matches(StringView s0a, StringView s1a) {
  const auto gtAt = s0a.find(u'>');
  const auto ltAt = s0a.find(u'<');
  const auto notAt = s0a.find(u'!');
  bool gtPresent = false, ltPresent = false, greater = false, less = false;
  bool inclusive = false;
  if (gtAt != StringView::npos) {
    const int c = CompareValues(s1a, ComparisonOperand(s0a, gtAt + 1, inclusive));
    greater = c > 0 || (inclusive && c == 0);
    gtPresent = true;
  }
  if (ltAt != StringView::npos) {
    const int c = CompareValues(s1a, ComparisonOperand(s0a, ltAt + 1, inclusive));
    less = c < 0 || (inclusive && c == 0);
    ltPresent = true;
  }
  if (notAt != StringView::npos) {
    const int c = CompareValues(s1a, ComparisonOperand(s0a, notAt + 1, inclusive));
    if (gtAt == StringView::npos) {
      greater = c > 0;
      gtPresent = true;
    }
    if (ltAt == StringView::npos) {
      less = c < 0;
      ltPresent = true;
    }
  }
  if (s0a.find(u'^') != StringView::npos && (gtPresent || ltPresent)) return less || greater;
  if (s0a.find(u'&') != StringView::npos && gtPresent && ltPresent) return less && greater;
  if ((gtAt != StringView::npos && greater) || (ltAt != StringView::npos && less)) return true;

  // Wildcard matching; "!" anywhere negates, quotes are not compared.
  if (s0a.empty() || s1a.empty()) return true;
  String pattern;
  bool negate = false;
  for (Char c : s0a) {
    if (c == u'!') negate = true;
    else if (c != u'"') pattern.push_back(c);
  }
  return WildcardMatch(pattern, s1a) != negate;
}

bool TAdvUtils::MatchStr(StringView AValue1, StringView AValue2, bool ACaseSensitive) {
  if (ACaseSensitive) return Matches(AValue1, AValue2);
  return Matches(AnsiUpperCase(AValue1), AnsiUpperCase(AValue2));
}

bool TAdvUtils::MatchStrEx(StringView AValue1, StringView AValue2, bool ACaseSensitive) {
  return MatchStrExDepth(AValue1, AValue2, ACaseSensitive, 0);
}

void TAdvUtils::Split(Char ADelimiter, StringView AInput, TStrings* AStrings, bool AClearEmptyStrings) {
  if (AStrings == nullptr) return;
  AStrings->BeginUpdate();
  try {
    AStrings->Clear();
    AStrings->SetDelimiter(ADelimiter);
    AStrings->SetStrictDelimiter(true);
    AStrings->SetDelimitedText(AInput);
    if (AClearEmptyStrings)
      for (Integer i = AStrings->Count() - 1; i >= 0; --i)
        if (AStrings->Strings(i).empty()) AStrings->Delete(i);
  } catch (...) {
    AStrings->EndUpdate();
    throw;
  }
  AStrings->EndUpdate();
}

// --- streams -------------------------------------------------------------------

namespace {

TBytes WholeStream(TStream* AStream) {
  TBytes bytes;
  if (AStream == nullptr) return bytes;
  AStream->SetPosition(0);
  const Int64 size = AStream->Size();
  if (size <= 0) return bytes;
  if (size > std::numeric_limits<Integer>::max()) throw EReadError(u"Stream read error");
  AStream->ReadBuffer(bytes, static_cast<Integer>(size));
  return bytes;
}

void WriteBytes(TStream* AStream, const TBytes& bytes) {
  if (AStream == nullptr || bytes.empty()) return;
  AStream->WriteBuffer(bytes);
}

}  // namespace

String TAdvUtils::SaveStreamToBase64(TStream* AStream, bool AURL) {
  const TBytes bytes = WholeStream(AStream);
  return EncodeBytesToBase64(bytes.data(), bytes.size(), AURL);
}

void TAdvUtils::LoadStreamFromBase64(StringView ABase64, TStream* AStream, bool AURL) {
  WriteBytes(AStream, Decode64ToBytes(ABase64, AURL));
}

String TAdvUtils::SaveStreamToHexStr(TStream* AStream) {
  const TBytes bytes = WholeStream(AStream);
  return BytesToHexStr(bytes.data(), bytes.size());
}

void TAdvUtils::LoadStreamFromHexStr(StringView AHexStr, TStream* AStream) {
  WriteBytes(AStream, HexStrToBytes(AHexStr.substr(0, AHexStr.size() - AHexStr.size() % 2)));
}

String TAdvUtils::GetImageType(TStream* AData, bool AResetPosition) {
  if (AData == nullptr) return {};
  const Int64 keep = AData->Position();
  if (AResetPosition) AData->SetPosition(0);
  std::uint8_t head[4];
  const Integer got = AData->Read(head, 4);
  AData->SetPosition(keep);
  return got < 4 ? String() : GetImageTypeOfBytes(head, 4);
}

String TAdvUtils::FormatBytesAsString(Extended ASize) {
  static constexpr const char16_t* kUnits[] = {u"Bytes", u"KB", u"MB", u"GB", u"TB"};
  if (ASize <= -1) return {};
  std::size_t unit = 0;
  while (ASize >= 1024 && unit + 1 < std::size(kUnits)) {
    ASize /= 1024;
    ++unit;
  }
  const String number = unit == 0 ? FloatToStr(ASize) : FormatFloat(u"0.00", ASize);
  return number + u" " + kUnits[unit];
}
