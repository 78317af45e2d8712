#include "platform/rtl/StrUtils.h"

#include <QString>

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
