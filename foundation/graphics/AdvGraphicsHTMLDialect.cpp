// The mini-HTML dialect's text helpers: preparation of tagged text,
// attribute reading and the highlight helpers.
#include <algorithm>
#include <utility>

#include "foundation/graphics/AdvGraphicsHTML.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/StrUtils.h"

namespace graphics_html {

namespace {

bool DialectIsDigit(Char c) { return c >= u'0' && c <= u'9'; }

Integer DialectHexDigit(Char c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool DialectIsNameChar(Char c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || DialectIsDigit(c) || c == u'-' || c == u'_';
}

Char DialectUpper(Char c) { return (c >= u'a' && c <= u'z') ? Char(c - 32) : c; }

String DialectUpperText(const String& s) {
  String r(s);
  for (Char& c : r) c = DialectUpper(c);
  return r;
}

// Appends the character AValue (decoded from a reference) to AOut; false when
// it must stay as written (0, a lone surrogate, beyond U+10FFFF).
bool DialectAppendCodePoint(String& AOut, Int64 AValue) {
  if (AValue <= 0 || AValue > 0x10FFFF || (AValue >= 0xD800 && AValue <= 0xDFFF)) return false;
  if (AValue == u'<') {
    // Decoded references are text, never markup.
    AOut += u"&lt;";
  } else if (AValue == u'>') {
    AOut += u"&gt;";
  } else if (AValue > 0xFFFF) {
    const Int64 v = AValue - 0x10000;
    AOut += Char(0xD800 + (v >> 10));
    AOut += Char(0xDC00 + (v & 0x3FF));
  } else {
    AOut += Char(AValue);
  }
  return true;
}

}  // namespace

String HTMLUnwrapHashTags(const String& AText) {
  const std::size_t p = AText.find(u"<#");
  if (p == String::npos) return AText;
  String s = AText;
  s.erase(p, 1);
  const std::size_t q = s.find(u'>', p);
  if (q != String::npos) s.erase(q, 1);
  return s;
}

Integer HexPairValue(const String& ADigits) {
  if (ADigits.size() < 2) return 0;
  const Integer hi = DialectHexDigit(ADigits[0]), lo = DialectHexDigit(ADigits[1]);
  if (hi < 0 || lo < 0) return 0;
  return hi * 16 + lo;
}

Integer HTMLCharRefEnd(const String& ARef, bool AHex) {
  std::size_t i = AHex ? 3 : 2;
  while (i < ARef.size() && (AHex ? DialectHexDigit(ARef[i]) >= 0 : DialectIsDigit(ARef[i]))) ++i;
  return Integer(std::min(i, ARef.size()));
}

String HTMLDecodeCharRefs(const String& AText) {
  if (AText.find(u"&#") == String::npos) return AText;
  String out;
  out.reserve(AText.size());
  std::size_t pos = 0;
  std::size_t nextSemi = AText.find(u';');
  for (;;) {
    const std::size_t amp = AText.find(u"&#", pos);
    if (amp == String::npos) break;
    out.append(AText, pos, amp - pos);
    const bool hex = amp + 2 < AText.size() && AText[amp + 2] == u'x';
    const std::size_t digitsFrom = amp + (hex ? 3 : 2);
    // The digits run to the first ";" when it lies within seven characters
    // of the "&"; otherwise they end at the first non-digit, which is consumed.
    // The next ";" is found once for all references before it.
    if (nextSemi != String::npos && nextSemi < amp) nextSemi = AText.find(u';', amp);
    const std::size_t semi = nextSemi;
    if (semi == String::npos) {
      out += u"&#";
      pos = amp + 2;
      continue;
    }
    std::size_t digitsTo, end;
    if (semi - amp <= 6) {
      digitsTo = semi;
      end = semi + 1;
    } else {
      digitsTo = digitsFrom;
      while (digitsTo < AText.size() && (hex ? DialectHexDigit(AText[digitsTo]) >= 0 : DialectIsDigit(AText[digitsTo])))
        ++digitsTo;
      end = std::min(digitsTo + 1, AText.size());
    }
    const std::size_t n = digitsTo > digitsFrom ? digitsTo - digitsFrom : 0;
    Int64 value = 0;
    bool ok = n > 0 && n <= 6;
    for (std::size_t i = digitsFrom; ok && i < digitsTo; ++i) {
      const Integer d = hex ? DialectHexDigit(AText[i]) : (DialectIsDigit(AText[i]) ? AText[i] - u'0' : -1);
      if (d < 0) ok = false;
      value = value * (hex ? 16 : 10) + d;
    }
    if (!ok || !DialectAppendCodePoint(out, value)) {
      out += u"&#";
      pos = amp + 2;
      continue;
    }
    pos = end;
  }
  out.append(AText, pos, String::npos);
  return out;
}

String HTMLBreaksToBR(const String& AText, bool AConvert) {
  String s;
  s.reserve(AText.size());
  for (Char c : AText) {
    if (c == u'\n') continue;
    if (c == u'\r') {
      if (AConvert) s += u"<BR>";
      continue;
    }
    s += c;
  }
  return s;
}

Integer ValInt(const String& AText) {
  Integer v = 0;
  if (TryStrToInt(Trim(AText), v)) return v;
  return 0;
}

Integer PosUpperVar(const String& AName, const String& AText, Integer& APos) {
  const std::size_t p = AName.empty() ? String::npos : DialectUpperText(AText).find(AName);
  APos = p == String::npos ? -1 : Integer(p);
  return APos;
}

namespace {
// Position of the whole attribute name AName in the upper-cased AUpper; npos when absent.
std::size_t DialectFindAttr(const String& AUpper, const String& AName) {
  std::size_t from = 0;
  while (!AName.empty()) {
    const std::size_t p = AUpper.find(AName, from);
    if (p == String::npos) return p;
    const std::size_t e = p + AName.size();
    const bool startOk = p == 0 || !DialectIsNameChar(AUpper[p - 1]);
    const bool endOk = e >= AUpper.size() || !DialectIsNameChar(AUpper[e]);
    if (startOk && endOk) return p;
    from = p + 1;
  }
  return String::npos;
}

String DialectAttrValue(const String& AText, const String& AUpper, const String& AName) {
  const std::size_t p = DialectFindAttr(AUpper, AName);
  if (p == String::npos) return {};
  const std::size_t q1 = AText.find(u'"', p + AName.size());
  if (q1 == String::npos) return {};
  // Only "=" and blanks may stand between the name and the quote: an
  // unquoted value reads as empty rather than as the next attribute's value.
  for (std::size_t i = p + AName.size(); i < q1; ++i)
    if (AText[i] != u'=' && AText[i] != u' ' && AText[i] != u'\t') return {};
  const std::size_t q2 = AText.find(u'"', q1 + 1);
  if (q2 == String::npos) return {};
  return AText.substr(q1 + 1, q2 - q1 - 1);
}
}  // namespace

String HTMLTagAttr(const String& AAttrText, const String& AName, bool AUpper) {
  const String upper = DialectUpperText(AAttrText);
  return DialectAttrValue(AUpper ? upper : AAttrText, upper, AName);
}

std::array<String, 7> HTMLControlAttrs(const String& AAttrText) {
  const String upper = DialectUpperText(AAttrText);
  std::array<String, 7> r;
  r[0] = DialectUpperText(DialectAttrValue(AAttrText, upper, u"TYPE"));
  r[1] = DialectAttrValue(AAttrText, upper, u"ID");
  r[2] = DialectAttrValue(AAttrText, upper, u"MAXLEN");
  r[3] = TAdvUtils::UnFixMarkup(DialectAttrValue(AAttrText, upper, u"PROP"), true);
  r[4] = DialectAttrValue(AAttrText, upper, u"HEIGHT");
  r[5] = DialectAttrValue(AAttrText, upper, u"WIDTH");
  r[6] = TAdvUtils::UnFixMarkup(DialectAttrValue(AAttrText, upper, u"VALUE"), true);
  return r;
}

String HTMLPrepareText(const String& AText) {
  String s = AText;
  if (s.find(u'&') != String::npos) {
    s = TAdvUtils::UnFixMarkup(s, true, true);
    // "&amp;" becomes "&" until none is left ("&amp;amp;" gives "&"), in one
    // pass: a new "&amp;" can only end at the character just appended.
    String out;
    out.reserve(s.size());
    for (Char c : s) {
      out += c;
      if (c == u';' && out.size() >= 5 && out.compare(out.size() - 5, 5, u"&amp;") == 0) out.erase(out.size() - 4);
    }
    s = std::move(out);
  }
  s = HTMLUnwrapHashTags(s);
  s = HTMLDecodeCharRefs(s);
  return HTMLBreaksToBR(s, true);
}

// --- highlight helpers -------------------------------------------------------------

Integer HTMLRawIndex(const String& AText, Integer AIndex) {
  if (AIndex < 0) return -1;
  Integer count = 0;
  bool inTag = false;
  for (std::size_t p = 0; p < AText.size(); ++p) {
    if (count == AIndex) return Integer(p);
    const Char c = AText[p];
    if (inTag) {
      if (c == u'>') inTag = false;
    } else if (c == u'<') {
      inTag = true;
    } else {
      ++count;
    }
  }
  return count == AIndex ? Integer(AText.size()) : -1;
}

Integer FindTextFrom(const String& ASearch, const String& AText, Integer AOffset, Integer& APos,
                     bool ACaseSensitive) {
  APos = -1;
  if (AOffset < 0 || std::size_t(AOffset) > AText.size() || ASearch.empty()) return -1;
  std::size_t p;
  if (ACaseSensitive) {
    p = AText.find(ASearch, std::size_t(AOffset));
  } else {
    p = DialectUpperText(AText).find(DialectUpperText(ASearch), std::size_t(AOffset));
  }
  if (p == String::npos) return -1;
  APos = Integer(p);
  return APos;
}

String HTMLHighlight(const String& AText, const String& AHilight, const String& ATag, bool ACaseSensitive) {
  if (AHilight.empty()) return AText;
  // The visible characters and, for each count k of visible characters, the
  // first raw position (0-based) with k visible characters before it.
  String visible;
  std::vector<std::size_t> rawPos;
  visible.reserve(AText.size());
  rawPos.reserve(AText.size() + 1);
  bool inTag = false;
  rawPos.push_back(0);
  for (std::size_t p = 0; p < AText.size(); ++p) {
    const Char c = AText[p];
    if (inTag) {
      if (c == u'>') inTag = false;
    } else if (c == u'<') {
      inTag = true;
    } else {
      visible += c;
      rawPos.push_back(p + 1);
    }
  }
  const String open = u"<" + ATag + u">", close = u"</" + ATag + u">";
  // Insertions by raw position; at one position a later insertion stands
  // before an earlier one (each lands at the first position that qualifies).
  std::vector<std::pair<std::size_t, const String*>> inserts;
  const String hay = ACaseSensitive ? visible : DialectUpperText(visible);
  const String needle = ACaseSensitive ? AHilight : DialectUpperText(AHilight);
  std::size_t from = 0;
  for (;;) {
    const std::size_t f = hay.find(needle, from);
    if (f == String::npos) break;
    inserts.emplace_back(rawPos[f], &open);
    inserts.emplace_back(rawPos[f + needle.size()], &close);
    from = f + needle.size();
  }
  if (inserts.empty()) return AText;
  std::stable_sort(inserts.begin(), inserts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  String out;
  out.reserve(AText.size() + inserts.size() * close.size());
  std::size_t pos = 0;
  for (std::size_t i = 0; i < inserts.size();) {
    std::size_t j = i;
    while (j < inserts.size() && inserts[j].first == inserts[i].first) ++j;
    out.append(AText, pos, inserts[i].first - pos);
    pos = inserts[i].first;
    for (std::size_t k = j; k-- > i;) out += *inserts[k].second;
    i = j;
  }
  out.append(AText, pos, String::npos);
  return out;
}

}  // namespace graphics_html
