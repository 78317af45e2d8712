#include "platform/rtl/StrUtils.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/RtlConsts.h"

namespace {

Char AsciiUpper(Char c) { return (c >= u'a' && c <= u'z') ? static_cast<Char>(c - 32) : c; }
Char AsciiLower(Char c) { return (c >= u'A' && c <= u'Z') ? static_cast<Char>(c + 32) : c; }

QString ToQ(StringView s) { return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size())); }
String FromQ(const QString& q) { return String(reinterpret_cast<const Char*>(q.utf16()), static_cast<std::size_t>(q.size())); }

template <class Map>
int CompareBy(StringView a, StringView b, Map map) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const Char ca = map(a[i]);
    const Char cb = map(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

String UpperCase(StringView s) {
  String r(s);
  for (auto& c : r) c = AsciiUpper(c);
  return r;
}

String LowerCase(StringView s) {
  String r(s);
  for (auto& c : r) c = AsciiLower(c);
  return r;
}

String AnsiUpperCase(StringView s) { return FromQ(ToQ(s).toUpper()); }
String AnsiLowerCase(StringView s) { return FromQ(ToQ(s).toLower()); }

int CompareStr(StringView a, StringView b) { return CompareBy(a, b, [](Char c) { return c; }); }
int CompareText(StringView a, StringView b) { return CompareBy(a, b, AsciiUpper); }
bool SameStr(StringView a, StringView b) { return a == b; }
bool SameText(StringView a, StringView b) { return a.size() == b.size() && CompareText(a, b) == 0; }

int AnsiCompareText(StringView a, StringView b) {
  const int r = QString::compare(ToQ(a), ToQ(b), Qt::CaseInsensitive);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}
bool AnsiSameText(StringView a, StringView b) { return AnsiCompareText(a, b) == 0; }

String Trim(StringView s) { return TrimLeft(TrimRight(s)); }

String TrimLeft(StringView s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] <= u' ') ++i;
  return String(s.substr(i));
}

String TrimRight(StringView s) {
  std::size_t n = s.size();
  while (n > 0 && s[n - 1] <= u' ') --n;
  return String(s.substr(0, n));
}

String IntToStr(Int64 value) { return AnsiToString(std::to_string(value)); }

// ---- Search and pieces -------------------------------------------------------

int Pos(StringView sub, StringView s, int offset) {
  if (sub.empty() || offset < 0 || static_cast<std::size_t>(offset) > s.size()) return -1;
  const auto at = s.find(sub, static_cast<std::size_t>(offset));
  return at == StringView::npos ? -1 : static_cast<int>(at);
}

String Copy(StringView s, int index, int count) {
  if (index < 0) index = 0;
  if (count <= 0 || static_cast<std::size_t>(index) >= s.size()) return {};
  return String(s.substr(static_cast<std::size_t>(index), static_cast<std::size_t>(count)));
}

String Copy(StringView s, int index) {
  if (index < 0) index = 0;
  if (static_cast<std::size_t>(index) >= s.size()) return {};
  return String(s.substr(static_cast<std::size_t>(index)));
}

int LastDelimiter(StringView delimiters, StringView s) {
  for (std::size_t i = s.size(); i-- > 0;)
    if (delimiters.find(s[i]) != StringView::npos) return static_cast<int>(i);
  return -1;
}

String StringOfChar(Char ch, int count) { return count > 0 ? String(static_cast<std::size_t>(count), ch) : String(); }

namespace {

Char SimpleUpper(Char c) {
  if (c < 0x80) return AsciiUpper(c);
  const char32_t u = QChar::toUpper(static_cast<char32_t>(c));
  return u <= 0xFFFF ? static_cast<Char>(u) : c;
}

String SimpleUpperAll(StringView s) {
  String r(s);
  for (auto& c : r) c = SimpleUpper(c);
  return r;
}

}  // namespace

String StringReplace(StringView s, StringView oldPattern, StringView newPattern, TReplaceFlags flags) {
  if (oldPattern.empty()) return String(s);
  const bool ignoreCase = (flags & rfIgnoreCase) != 0;
  // Simple case mapping keeps lengths, so indexes in the folded copy match S.
  const String foldedS = ignoreCase ? SimpleUpperAll(s) : String();
  const String foldedOld = ignoreCase ? SimpleUpperAll(oldPattern) : String();
  const StringView hay = ignoreCase ? StringView(foldedS) : s;
  const StringView needle = ignoreCase ? StringView(foldedOld) : oldPattern;
  String out;
  std::size_t from = 0;
  while (from <= s.size()) {
    const auto at = hay.find(needle, from);
    if (at == StringView::npos) break;
    out.append(s.substr(from, at - from));
    out.append(newPattern);
    from = at + needle.size();
    if ((flags & rfReplaceAll) == 0) break;
  }
  out.append(s.substr(std::min(from, s.size())));
  return out;
}

String AnsiQuotedStr(StringView s, Char quote) {
  String r(1, quote);
  for (Char c : s) {
    r.push_back(c);
    if (c == quote) r.push_back(quote);
  }
  r.push_back(quote);
  return r;
}

String QuotedStr(StringView s) { return AnsiQuotedStr(s, u'\''); }

String AnsiDequotedStr(StringView s, Char quote) {
  if (s.size() < 2 || s.front() != quote) return String(s);
  String r;
  std::size_t i = 1;
  while (i < s.size()) {
    if (s[i] == quote) {
      if (i + 1 < s.size() && s[i + 1] == quote) {
        r.push_back(quote);
        i += 2;
        continue;
      }
      // The closing quote must end the text.
      return i + 1 == s.size() ? r : String(s);
    }
    r.push_back(s[i++]);
  }
  return String(s);  // unterminated
}

// ---- Integers ----------------------------------------------------------------

namespace {

String HexOf(std::uint64_t v, int digits) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  String r;
  do {
    r.push_back(kHex[v & 0xF]);
    v >>= 4;
  } while (v != 0);
  if (digits > 32) digits = 32;  // bounded padding for absurd requests
  while (static_cast<int>(r.size()) < digits) r.push_back(u'0');
  return String(r.rbegin(), r.rend());
}

struct IntScan {
  std::uint64_t magnitude = 0;  // digits read so far
  bool negative = false;
  bool ok = false;
  std::size_t errorPos = 0;  // 0-based index of the first character not taken
};

bool IsBlank(Char c) { return c == u' ' || c == u'\t'; }

int HexDigit(Char c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// Scans an integer of `bits` width; on success magnitude and sign give the value.
IntScan ScanInteger(StringView s, int bits) {
  IntScan r;
  std::size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) r.negative = s[i++] == u'-';
  bool hex = false;
  if (i < s.size() && s[i] == u'$') {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
    hex = true;
    i += 2;
  }
  const std::uint64_t unsignedMax = bits == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
  const std::uint64_t signedMax = (std::uint64_t{1} << (bits - 1)) - 1;
  const std::uint64_t limit = hex ? unsignedMax : (r.negative ? signedMax + 1 : signedMax);
  const std::uint64_t base = hex ? 16 : 10;
  const std::size_t first = i;
  for (; i < s.size(); ++i) {
    const int d = hex ? HexDigit(s[i]) : (s[i] >= u'0' && s[i] <= u'9' ? s[i] - u'0' : -1);
    if (d < 0) break;
    if (r.magnitude > (limit - static_cast<std::uint64_t>(d)) / base) break;  // overflow
    r.magnitude = r.magnitude * base + static_cast<std::uint64_t>(d);
  }
  r.errorPos = i;
  r.ok = i == s.size() && i > first;
  return r;
}

template <class T>
bool TryScan(StringView s, T& value) {
  constexpr int bits = sizeof(T) * 8;
  const IntScan r = ScanInteger(s, bits);
  if (!r.ok) return false;
  using U = std::make_unsigned_t<T>;
  U u = static_cast<U>(r.magnitude);
  if (r.negative) u = static_cast<U>(U{0} - u);
  value = static_cast<T>(u);
  return true;
}

[[noreturn]] void RaiseInvalidInteger(StringView s) {
  String msg(SInvalidInteger);
  msg.replace(msg.find(u"%s"), 2, s);
  throw EConvertError(msg);
}

}  // namespace

String IntToHex(int value, int digits) { return HexOf(static_cast<std::uint32_t>(value), digits); }
String IntToHex(unsigned value, int digits) { return HexOf(value, digits); }
String IntToHex(long value, int digits) { return HexOf(static_cast<std::uint64_t>(value), digits); }
String IntToHex(unsigned long value, int digits) { return HexOf(value, digits); }
String IntToHex(long long value, int digits) { return HexOf(static_cast<std::uint64_t>(value), digits); }
String IntToHex(unsigned long long value, int digits) { return HexOf(value, digits); }

bool TryStrToInt(StringView s, Integer& value) { return TryScan(s, value); }
bool TryStrToInt64(StringView s, Int64& value) { return TryScan(s, value); }

Integer StrToInt(StringView s) {
  Integer v = 0;
  if (!TryStrToInt(s, v)) RaiseInvalidInteger(s);
  return v;
}

Int64 StrToInt64(StringView s) {
  Int64 v = 0;
  if (!TryStrToInt64(s, v)) RaiseInvalidInteger(s);
  return v;
}

Integer StrToIntDef(StringView s, Integer defaultValue) {
  Integer v = defaultValue;
  return TryStrToInt(s, v) ? v : defaultValue;
}

Int64 StrToInt64Def(StringView s, Int64 defaultValue) {
  Int64 v = defaultValue;
  return TryStrToInt64(s, v) ? v : defaultValue;
}

namespace {

template <class T>
int ValInteger(StringView s, T& value) {
  if (TryScan(s, value)) return 0;
  const IntScan r = ScanInteger(s, sizeof(T) * 8);
  value = static_cast<T>(r.magnitude);
  return static_cast<int>(std::min<std::size_t>(r.errorPos, s.size())) + 1;
}

}  // namespace

int Val(StringView s, Integer& value) { return ValInteger(s, value); }
int Val(StringView s, Int64& value) { return ValInteger(s, value); }

// ---- Booleans ----------------------------------------------------------------

String BoolToStr(bool value, bool useBoolStrs) {
  if (useBoolStrs) return value ? u"True" : u"False";
  return value ? u"-1" : u"0";
}

bool TryStrToBool(StringView s, bool& value) {
  if (SameText(s, u"True")) { value = true; return true; }
  if (SameText(s, u"False")) { value = false; return true; }
  double d = 0;
  if (TryStrToFloat(s, d)) { value = d != 0; return true; }
  return false;
}

bool StrToBool(StringView s) {
  bool v = false;
  if (!TryStrToBool(s, v)) {
    String msg(SInvalidBoolean);
    msg.replace(msg.find(u"%s"), 2, s);
    throw EConvertError(msg);
  }
  return v;
}

bool StrToBoolDef(StringView s, bool defaultValue) {
  bool v = defaultValue;
  return TryStrToBool(s, v) ? v : defaultValue;
}

bool IsNumber(Char c) {
  switch (QChar::category(char32_t(c))) {
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
      return true;
    default:
      return false;
  }
}
