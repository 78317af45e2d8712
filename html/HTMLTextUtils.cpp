#include "html/HTMLTextUtils.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "platform/rtl/StrUtils.h"

namespace html {

namespace {

struct HTMLTextEntity {
  const char16_t* Name;
  char16_t Value;
};

// In lookup order; the status bar's copy knows the first 70.
constexpr HTMLTextEntity HTMLTextEntities[] = {
    {u"&eacute;", 0xE9}, {u"&egrave;", 0xE8}, {u"&euml;", 0xEB},   {u"&ecirc;", 0xEA},  {u"&oacute;", 0xF3},
    {u"&ograve;", 0xF2}, {u"&ouml;", 0xF6},   {u"&ocirc;", 0xF4},  {u"&iacute;", 0xED}, {u"&igrave;", 0xEC},
    {u"&iuml;", 0xEF},   {u"&icirc;", 0xEE},  {u"&uacute;", 0xFA}, {u"&ugrave;", 0xF9}, {u"&uuml;", 0xFC},
    {u"&ucirc;", 0xFB},  {u"&aacute;", 0xE1}, {u"&agrave;", 0xE0}, {u"&auml;", 0xE4},   {u"&acirc;", 0xE2},
    {u"&Eacute;", 0xC9}, {u"&Egrave;", 0xC8}, {u"&Euml;", 0xCB},   {u"&Ecirc;", 0xCA},  {u"&Oacute;", 0xD3},
    {u"&Ograve;", 0xD2}, {u"&Ouml;", 0xD6},   {u"&Ocirc;", 0xD4},  {u"&Iacute;", 0xCD}, {u"&Igrave;", 0xCC},
    {u"&Iuml;", 0xCF},   {u"&Icirc;", 0xCE},  {u"&Uacute;", 0xDA}, {u"&Ugrave;", 0xD9}, {u"&Uuml;", 0xDC},
    {u"&Ucirc;", 0xDB},  {u"&Aacute;", 0xC1}, {u"&Agrave;", 0xC0}, {u"&Auml;", 0xC4},   {u"&Acirc;", 0xC2},
    {u"&ccedil;", 0xE7}, {u"&Ccedil;", 0xC7}, {u"&oslash;", 0xF8}, {u"&Oslash;", 0xD8}, {u"&aring;", 0xE5},
    {u"&Aring;", 0xC5},  {u"&copy;", 0xA9},   {u"&reg;", 0xAE},    {u"&euro;", 0x20AC}, {u"&laquo;", 0xAB},
    {u"&raquo;", 0xBB},  {u"&atilde;", 0xE3}, {u"&Atilde;", 0xC3}, {u"&otilde;", 0xF5}, {u"&Otilde;", 0xD5},
    {u"&szlig;", 0xDF},  {u"&trade;", 0x2122}, {u"&pound;", 0xA3}, {u"&dollar;", 0x24}, {u"&sect;", 0xA7},
    {u"&permil;", 0x2030}, {u"&para;", 0xB6}, {u"&quot;", 0x22},   {u"&apos;", 0x27},   {u"&yen;", 0xA5},
    {u"&curren;", 0xA4}, {u"&cent;", 0xA2},   {u"&plusmn;", 0xB1}, {u"&iexcl;", 0xA1},  {u"&deg;", 0xB0},
    {u"&ntilde;", 0xF1}, {u"&Ntilde;", 0xD1}, {u"&frac14;", 0xBC}, {u"&frac12;", 0xBD}, {u"&frac34;", 0xBE},
};
constexpr size_t HTMLTextShortEntityCount = 70;

bool HTMLTextStartsWith(StringView s, size_t at, StringView what) {
  return s.size() - std::min(at, s.size()) >= what.size() && s.compare(at, what.size(), what) == 0;
}

Char HTMLTextAsciiUpper(Char c) { return (c >= u'a' && c <= u'z') ? Char(c - 32) : c; }

bool HTMLTextStartsWithNoCase(StringView s, size_t at, StringView what) {
  if (s.size() - std::min(at, s.size()) < what.size()) return false;
  for (size_t i = 0; i < what.size(); ++i)
    if (HTMLTextAsciiUpper(s[at + i]) != HTMLTextAsciiUpper(what[i])) return false;
  return true;
}

bool HTMLTextIsDigit(Char c) { return c >= u'0' && c <= u'9'; }

void HTMLTextAppendCodePoint(String& out, char32_t v) {
  if (v < 0x10000) {
    out += Char(v);
  } else {
    v -= 0x10000;
    out += Char(0xD800 + (v >> 10));
    out += Char(0xDC00 + (v & 0x3FF));
  }
}

}  // namespace

String HTMLDecodeNamedEntities(StringView S, bool Short) {
  if (S.find(u'&') == StringView::npos) return String(S);
  const size_t count = Short ? HTMLTextShortEntityCount : std::size(HTMLTextEntities);
  // A replacement never forms or breaks another name (the characters put in
  // are neither "&" nor letters of a name), so one pass equals replacing
  // first occurrences table entry by table entry.
  String out;
  out.reserve(S.size());
  for (size_t i = 0; i < S.size();) {
    bool done = false;
    if (S[i] == u'&') {
      for (size_t e = 0; e < count; ++e) {
        const StringView name = HTMLTextEntities[e].Name;
        if (HTMLTextStartsWith(S, i, name)) {
          out += HTMLTextEntities[e].Value;
          i += name.size();
          done = true;
          break;
        }
      }
    }
    if (!done) out += S[i++];
  }
  return out;
}

Integer HTMLCharRefEnd(StringView S, bool Hex) {
  const Integer start = Hex ? 3 : 2;
  if (Integer(S.size()) <= start) return start;
  if (Hex) return start;
  for (Integer i = start; i < Integer(S.size()); ++i)
    if (!HTMLTextIsDigit(S[size_t(i)])) return i;
  return start;
}

String HTMLDecodeCharRefs(StringView S, bool EmojiTag) {
  String out;
  out.reserve(S.size());
  const size_t lastSemi = S.rfind(u';');
  size_t pos = 0;
  for (;;) {
    const size_t p = S.find(u"&#", pos);
    if (p == StringView::npos) {
      out.append(S.substr(pos));
      return out;
    }
    // A doubled ampersand escapes the reference and everything after it.
    if (p > pos && S[p - 1] == u'&') {
      out.append(S.substr(pos));
      return out;
    }
    out.append(S.substr(pos, p - pos));
    const StringView r = S.substr(p);
    const bool hex = HTMLTextStartsWith(r, 0, u"&#x");
    // Only whether a ";" follows at all, and whether within the first seven
    // characters, matters: one search from the end serves every reference.
    Integer k = -1;
    if (lastSemi != StringView::npos && lastSemi > p) {
      const size_t semi = r.substr(0, 7).find(u';');
      k = semi == StringView::npos ? HTMLCharRefEnd(r, hex) : Integer(semi);
    }
    bool valid = false;
    char32_t value = 0;
    if (k > 0) {
      const size_t from = hex ? 3 : 2;
      const StringView digits = size_t(k) > from ? r.substr(from, size_t(k) - from) : StringView();
      if (!digits.empty() && digits.size() <= 6) {
        if (hex) {
          const Int64 v = HexNumberValue(digits, 6);
          if (v >= 0) value = char32_t(v), valid = true;
        } else {
          bool all = true;
          for (Char c : digits) all = all && HTMLTextIsDigit(c);
          if (all) {
            Int64 v = 0;
            for (Char c : digits) v = v * 10 + (c - u'0');
            value = char32_t(v);
            valid = true;
          }
        }
      }
      // NUL, lone surrogates and values beyond Unicode are no characters.
      if (valid && (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))) valid = false;
    }
    if (!valid) {
      out += u"&#";
      pos = p + 2;
      continue;
    }
    if (value >= 126980 && EmojiTag) {
      out += u"<J ";
      HTMLTextAppendCodePoint(out, value);
      out += u" >";
    } else {
      HTMLTextAppendCodePoint(out, value);
    }
    pos = p + size_t(k) + 1;
  }
}

String HTMLUnwrapHashTags(StringView S) {
  // One pass: a "<" that comes to stand before "#" goes, and so does the
  // next ">" for each one removed (a removal may join a further "<" to the
  // "#", which then goes too).
  String out;
  out.reserve(S.size());
  size_t pending = 0;
  for (Char c : S) {
    if (c == u'#') {
      while (!out.empty() && out.back() == u'<') {
        out.pop_back();
        ++pending;
      }
      out += c;
    } else if (c == u'>' && pending > 0) {
      --pending;
    } else {
      out += c;
    }
  }
  return out;
}

String HTMLBreaksToBR(StringView S, bool CRToBR) {
  String out;
  out.reserve(S.size());
  for (Char c : S) {
    if (c == u'\n') continue;
    if (c == u'\r') {
      if (CRToBR) out += u"<BR>";
      continue;
    }
    out += c;
  }
  return out;
}

Integer HexPairValue(StringView S) {
  if (S.size() < 2) return 0;
  const auto d = [](Char c) { return c < u'A' ? Integer(c) - Integer(u'0') : Integer(c) - Integer(u'A') + 10; };
  return (16 * d(S[0]) + d(S[1])) & 0xFF;
}

TColor HTMLHexColor(StringView S) {
  const auto pair = [&](size_t at) { return at < S.size() ? HexPairValue(S.substr(at, 2)) : 0; };
  return TColor(pair(1) + pair(3) * 256 + pair(5) * 65536);
}

TColor HTMLColorName(StringView S) {
  struct Named {
    const char16_t* Name;
    TColor Color;
  };
  static constexpr Named names[] = {
      {u"clred", 0x0000FF},      {u"clblack", 0x000000},   {u"clblue", 0xFF0000},   {u"clgreen", 0x008000},
      {u"claqua", 0xFFFF00},     {u"clyellow", 0x00FFFF},  {u"clfuchsia", 0xFF00FF}, {u"clwhite", 0xFFFFFF},
      {u"cllime", 0x00FF00},     {u"clsilver", 0xC0C0C0},  {u"clgray", 0x808080},   {u"clolive", 0x008080},
      {u"clnavy", 0x800000},     {u"clpurple", 0x800080},  {u"clteal", 0x808000},   {u"clmaroon", 0x000080},
      {u"clbackground", TColor(0xFF000001)},        {u"clactivecaption", TColor(0xFF000002)},
      {u"clinactivecaption", TColor(0xFF000003)},   {u"clmenu", TColor(0xFF000004)},
      {u"clwindow", TColor(0xFF000005)},            {u"clwindowframe", TColor(0xFF000006)},
      {u"clmenutext", TColor(0xFF000007)},          {u"clwindowtext", TColor(0xFF000008)},
      {u"clcaptiontext", TColor(0xFF000009)},       {u"clactiveborder", TColor(0xFF00000A)},
      {u"clinactiveborder", TColor(0xFF00000B)},    {u"clappworkspace", TColor(0xFF00000C)},
      {u"clhighlight", TColor(0xFF00000D)},         {u"clhighlighttext", TColor(0xFF00000E)},
      {u"clbtnface", TColor(0xFF00000F)},           {u"clbtnshadow", TColor(0xFF000010)},
      {u"clgraytext", TColor(0xFF000011)},          {u"clbtntext", TColor(0xFF000012)},
      {u"clinactivecaptiontext", TColor(0xFF000013)}, {u"clbtnhighlight", TColor(0xFF000014)},
      {u"cl3ddkshadow", TColor(0xFF000015)},        {u"cl3dlight", TColor(0xFF000016)},
      {u"clinfotext", TColor(0xFF000017)},          {u"clinfobk", TColor(0xFF000018)},
  };
  for (const Named& n : names)
    if (S == n.Name) return n.Color;
  return 0;
}

TColor HTMLColorValue(StringView S) {
  if (!S.empty() && S[0] == u'#') return HTMLHexColor(HTMLUpper(S));
  return HTMLColorName(LowerCase(S));
}

String HTMLUpper(StringView S) {
  String up = AnsiUpperCase(S);
  if (up.size() != S.size()) return UpperCase(S);
  return up;
}

Integer PosNoCase(StringView Sub, StringView S) {
  if (Sub.empty()) return -1;
  const String s = HTMLUpper(S);
  const size_t p = s.find(HTMLUpper(Sub));
  return p == String::npos ? -1 : Integer(p);
}

Integer PosVar(StringView Sub, StringView S, Integer& P) {
  const size_t p = Sub.empty() ? StringView::npos : S.find(Sub);
  P = p == StringView::npos ? -1 : Integer(p);
  return P;
}

bool ReplaceNoCase(StringView Old, StringView New, String& S) {
  const Integer i = PosNoCase(Old, S);
  if (i < 0) return false;
  S.replace(size_t(i), Old.size(), New);
  return true;
}

String ReplaceAllNoCase(StringView Old, StringView New, StringView S) {
  if (Old.empty()) return String(S);
  String out;
  out.reserve(S.size());
  size_t i = 0;
  while (i < S.size()) {
    if (HTMLTextStartsWithNoCase(S, i, Old)) {
      out.append(New);
      i += Old.size();
    } else {
      out += S[i++];
    }
  }
  return out;
}

Integer ValLong(StringView S, Integer& ErrorPos) {
  Int64 v = 0;
  ErrorPos = Val(S, v);
  return Integer(std::clamp<Int64>(v, INT_MIN, INT_MAX));
}

Integer ValInt(StringView S) {
  Integer err = 0;
  return ValLong(S, err);
}

Double ValFloat(StringView S) {
  String s(S);
  std::replace(s.begin(), s.end(), u',', u'.');
  double v = 0;
  Val(s, v);
  return v;
}

String HTMLStripTags(StringView S) {
  String out;
  out.reserve(S.size());
  size_t i = 0;
  while (i < S.size()) {
    if (S[i] == u'<') {
      const size_t q = S.find(u'>', i);
      if (q == StringView::npos) {
        out.append(S.substr(i));
        break;
      }
      i = q + 1;
    } else {
      out += S[i++];
    }
  }
  return out;
}

String HTMLEscapeText(StringView S) {
  String out;
  out.reserve(S.size());
  for (const Char c : S) {
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

String HTMLToPlainText(StringView S) {
  // Breaks first, then hidden spans, then the remaining tags.
  String s;
  s.reserve(S.size());
  for (size_t i = 0; i < S.size();) {
    if (HTMLTextStartsWithNoCase(S, i, u"<BR>") || HTMLTextStartsWithNoCase(S, i, u"<HR>")) {
      s += u"\r\n";
      i += 4;
    } else {
      s += S[i++];
    }
  }
  String t;
  t.reserve(s.size());
  // Once a closing tag is missing from some point on, it is missing further on.
  bool noLower = false, noUpper = false;
  for (size_t i = 0; i < s.size();) {
    if (HTMLTextStartsWith(s, i, u"<z>") || HTMLTextStartsWith(s, i, u"<Z>")) {
      const bool lower = s[i + 1] == u'z';
      const StringView close = lower ? u"</z>" : u"</Z>";
      const size_t e = (lower ? noLower : noUpper) ? String::npos : s.find(close, i + 3);
      if (e != String::npos) {
        i = e + close.size();
        continue;
      }
      (lower ? noLower : noUpper) = true;
    }
    t += s[i++];
  }
  return HTMLStripTags(t);
}

namespace {

// Raw positions (0-based) of the first character after each count of visible
// characters: Result[n] follows the n-th visible character (Result[0] = 0).
std::vector<Integer> HTMLTextVisibleStarts(StringView S) {
  std::vector<Integer> starts{0};
  size_t i = 0;
  while (i < S.size()) {
    if (S[i] == u'<') {
      const size_t q = S.find(u'>', i);
      if (q == StringView::npos) {
        // A "<" without ">": the rest is not a tag.
        for (; i < S.size(); ++i) starts.push_back(Integer(i + 1));
        break;
      }
      i = q + 1;
    } else {
      ++i;
      starts.push_back(Integer(i));
    }
  }
  return starts;
}

}  // namespace

Integer HTMLRawIndex(StringView S, Integer Index) {
  if (Index < 0) return -1;
  const std::vector<Integer> starts = HTMLTextVisibleStarts(S);
  if (size_t(Index) >= starts.size()) return -1;
  return starts[size_t(Index)];
}

Integer FindTextFrom(StringView Sub, StringView S, Integer From, Integer& P, bool CaseSensitive) {
  P = -1;
  if (Sub.empty() || From < 0 || size_t(From) > S.size()) return -1;
  size_t p;
  if (CaseSensitive) {
    p = S.find(Sub, size_t(From));
  } else {
    const String s = HTMLUpper(S);
    p = s.find(HTMLUpper(Sub), size_t(From));
  }
  if (p == StringView::npos) return -1;
  P = Integer(p);
  return P;
}

String HTMLHighlight(StringView S, StringView Search, StringView TagName, bool CaseSensitive) {
  if (Search.empty()) return String(S);
  const String plain = HTMLStripTags(S);
  const std::vector<Integer> starts = HTMLTextVisibleStarts(S);
  const String hs = CaseSensitive ? plain : HTMLUpper(plain);
  const String hq = CaseSensitive ? String(Search) : HTMLUpper(Search);
  // Raw insertion points: an opening tag before the match's first visible
  // character (after the tags before it), a closing one right after its last.
  std::vector<std::pair<Integer, bool>> marks;  // position, opening
  size_t from = 0;
  for (;;) {
    const size_t p = hs.find(hq, from);
    if (p == String::npos || p + hq.size() >= starts.size()) break;
    marks.emplace_back(starts[p], true);
    marks.emplace_back(starts[p + hq.size()], false);
    from = p + hq.size();
  }
  const String open = u"<" + String(TagName) + u">";
  const String close = u"</" + String(TagName) + u">";
  String out;
  out.reserve(S.size() + marks.size() * (open.size() + 1));
  size_t m = 0;
  for (size_t i = 0; i <= S.size(); ++i) {
    // At one position a previous match's end comes before the next start.
    for (size_t k = m; k < marks.size() && size_t(marks[k].first) == i; ++k)
      if (!marks[k].second) out += close;
    for (; m < marks.size() && size_t(marks[m].first) == i; ++m)
      if (marks[m].second) out += open;
    if (i < S.size()) out += S[i];
  }
  return out;
}

String HTMLUnhighlight(StringView S, StringView TagName) {
  const String open = u"<" + String(TagName) + u">";
  const String close = u"</" + String(TagName) + u">";
  return ReplaceAllNoCase(close, u"", ReplaceAllNoCase(open, u"", S));
}

}  // namespace html
