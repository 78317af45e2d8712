#include "platform/rtl/Format.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatDecimal.h"
#include "platform/rtl/RtlConsts.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TextInternal.h"

TVarRec::TVarRec(const char* value) : FType(vtUnicodeString), FText(value ? AnsiToString(value) : String()) {}
TVarRec::TVarRec(const std::string& value) : FType(vtUnicodeString), FText(AnsiToString(value)) {}
TVarRec::TVarRec(char value) : FType(vtUnicodeString), FText(1, static_cast<unsigned char>(value)) {}

namespace {

// Widths and precisions beyond this are refused rather than allocated.
constexpr int kMaxWidth = 1 << 16;

[[noreturn]] void InvalidFormat(StringView format) { throw EConvertError(WithValue(SInvalidFormat, format)); }

class Formatter {
 public:
  Formatter(StringView format, const TVarRec* args, std::size_t count, const TFormatSettings& fs)
      : FFormat(format), FArgs(args), FCount(count), FSettings(fs) {}

  String Run() {
    std::size_t i = 0;
    const std::size_t n = FFormat.size();
    while (i < n) {
      const Char c = FFormat[i++];
      if (c != u'%') {
        FOut.push_back(c);
        continue;
      }
      if (i >= n) InvalidFormat(FFormat);
      if (FFormat[i] == u'%') {
        FOut.push_back(u'%');
        ++i;
        continue;
      }
      Specifier(i);
    }
    return std::move(FOut);
  }

 private:
  const TVarRec& NextArg() {
    if (FNext >= FCount) throw EConvertError(WithValue(SArgumentMissing, FFormat));
    return FArgs[FNext++];
  }

  // A number or '*'; -1 when neither is there.
  int Number(std::size_t& i) {
    if (i < FFormat.size() && FFormat[i] == u'*') {
      ++i;
      const TVarRec& a = NextArg();
      if (a.VType() != TVarRec::vtInteger) InvalidFormat(FFormat);
      const Int64 v = a.AsInt64();
      if (v > kMaxWidth || v < -kMaxWidth) InvalidFormat(FFormat);
      return static_cast<int>(v);
    }
    if (i >= FFormat.size() || FFormat[i] < u'0' || FFormat[i] > u'9') return -1;
    int v = 0;
    while (i < FFormat.size() && FFormat[i] >= u'0' && FFormat[i] <= u'9') {
      v = v * 10 + (FFormat[i++] - u'0');
      if (v > kMaxWidth) InvalidFormat(FFormat);
    }
    return v;
  }

  void Specifier(std::size_t& i) {
    bool left = false;
    int width = -1;
    int prec = -1;
    // An index comes first when it is followed by ':'; else the number is the width.
    if (i < FFormat.size() && FFormat[i] == u'-') {
      left = true;
      ++i;
    }
    int first = Number(i);
    if (!left && i < FFormat.size() && FFormat[i] == u':') {
      ++i;
      if (first < 0) first = 0;  // "%:s" is index 0
      FNext = static_cast<std::size_t>(first);
      first = -1;
      if (i < FFormat.size() && FFormat[i] == u'-') {
        left = true;
        ++i;
      }
      first = Number(i);
    }
    width = first;
    if (width < -1) {  // a negative '*' width justifies left, as in C
      left = true;
      width = -width;
    }
    if (i < FFormat.size() && FFormat[i] == u'.') {
      ++i;
      prec = Number(i);
      if (prec < -1) prec = -1;
    }
    if (i >= FFormat.size()) InvalidFormat(FFormat);
    const Char type = FFormat[i++];
    String text = Convert(type, prec);
    if (width > 0 && static_cast<int>(text.size()) < width) {
      const String pad(static_cast<std::size_t>(width) - text.size(), u' ');
      text = left ? text + pad : pad + text;
    }
    FOut += text;
  }

  static String ZeroPadded(String digits, int prec, bool negative) {
    if (prec > 0 && static_cast<int>(digits.size()) < prec)
      digits.insert(0, static_cast<std::size_t>(prec) - digits.size(), u'0');
    return negative ? u"-" + digits : digits;
  }

  String Convert(Char type, int prec) {
    const TVarRec& a = NextArg();
    const bool isInt = a.VType() == TVarRec::vtInteger || a.VType() == TVarRec::vtInt64;
    switch (type) {
      case u'd': case u'D': {
        if (!isInt) InvalidFormat(FFormat);
        const Int64 v = a.AsInt64();
        const std::uint64_t mag = v < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
        return ZeroPadded(AnsiToString(std::to_string(mag)), prec, v < 0);
      }
      case u'u': case u'U': {
        if (!isInt) InvalidFormat(FFormat);
        const std::uint64_t v = a.VType() == TVarRec::vtInteger
                                    ? static_cast<std::uint32_t>(a.AsInt64())
                                    : static_cast<std::uint64_t>(a.AsInt64());
        return ZeroPadded(AnsiToString(std::to_string(v)), prec, false);
      }
      case u'x': case u'X': {
        if (!isInt) InvalidFormat(FFormat);
        const String hex = a.VType() == TVarRec::vtInteger ? IntToHex(static_cast<int>(a.AsInt64()), 0)
                                                            : IntToHex(static_cast<long long>(a.AsInt64()), 0);
        return ZeroPadded(hex, prec, false);
      }
      case u'e': case u'E':
      case u'f': case u'F':
      case u'g': case u'G':
      case u'n': case u'N':
      case u'm': case u'M':
        if (a.VType() != TVarRec::vtExtended) InvalidFormat(FFormat);
        return FloatText(type, a.AsDouble(), prec);
      case u's': case u'S': {
        if (a.VType() != TVarRec::vtUnicodeString) InvalidFormat(FFormat);
        const String& s = a.AsString();
        if (prec >= 0 && static_cast<std::size_t>(prec) < s.size()) return s.substr(0, static_cast<std::size_t>(prec));
        return s;
      }
      case u'p': case u'P': {
        if (a.VType() != TVarRec::vtPointer) InvalidFormat(FFormat);
        return IntToHex(static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(a.AsPointer())),
                        static_cast<int>(sizeof(void*) * 2));
      }
      default:
        InvalidFormat(FFormat);
    }
  }

  String FloatText(Char type, double v, int prec) {
    switch (type) {
      case u'e': case u'E':
        return FloatToStrF(v, ffExponent, prec < 0 ? 15 : prec, 3, FSettings);
      case u'g': case u'G':
        return FloatToStrF(v, ffGeneral, prec < 0 ? 15 : prec, 3, FSettings);
      case u'f': case u'F':
        return FloatToStrF(v, ffFixed, 15, prec < 0 ? 2 : prec, FSettings);
      case u'n': case u'N':
        return FloatToStrF(v, ffNumber, 15, prec < 0 ? 2 : prec, FSettings);
      default:
        return FloatToStrF(v, ffCurrency, 15, prec < 0 ? FSettings.CurrencyDecimals : prec, FSettings);
    }
  }

  StringView FFormat;
  const TVarRec* FArgs;
  std::size_t FCount;
  const TFormatSettings& FSettings;
  std::size_t FNext = 0;
  String FOut;
};

}  // namespace

String Format(StringView format, std::initializer_list<TVarRec> args, const TFormatSettings& settings) {
  return Formatter(format, args.begin(), args.size(), settings).Run();
}

String Format(StringView format, std::initializer_list<TVarRec> args) { return Format(format, args, FormatSettings); }

String Format(StringView format, const std::vector<TVarRec>& args, const TFormatSettings& settings) {
  return Formatter(format, args.data(), args.size(), settings).Run();
}

String Format(StringView format, const std::vector<TVarRec>& args) { return Format(format, args, FormatSettings); }

namespace {

struct TSection {
  StringView text;
  int intPlaceholders = 0;
  int minInt = 0;
  int fracPlaceholders = 0;
  int minFrac = 0;
  bool thousands = false;
  bool scientific = false;
  bool anyPlaceholder = false;
};

bool IsExponentAt(StringView s, std::size_t i) {
  return (s[i] == u'E' || s[i] == u'e') && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-');
}

std::vector<StringView> SplitSections(StringView f) {
  std::vector<StringView> out;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < f.size() && out.size() < 2) {
    if (f[i] == u'\'' || f[i] == u'"') {
      i = SkipQuoted(f, i);
    } else if (f[i] == u';') {
      out.push_back(f.substr(start, i - start));
      start = ++i;
    } else {
      ++i;
    }
  }
  out.push_back(f.substr(start));
  // A third ';' ends the zero section.
  if (out.size() == 3) {
    StringView& z = out[2];
    std::size_t j = 0;
    while (j < z.size()) {
      if (z[j] == u'\'' || z[j] == u'"') j = SkipQuoted(z, j);
      else if (z[j] == u';') { z = z.substr(0, j); break; }
      else ++j;
    }
  }
  return out;
}

TSection Analyse(StringView s) {
  TSection sec;
  sec.text = s;
  bool afterPoint = false;
  int firstZero = -1;  // placeholder index of the first '0' before the point
  std::size_t i = 0;
  while (i < s.size()) {
    const Char c = s[i];
    if (c == u'\'' || c == u'"') { i = SkipQuoted(s, i); continue; }
    if (IsExponentAt(s, i)) {
      sec.scientific = true;
      i += 2;
      while (i < s.size() && s[i] == u'0') ++i;
      // Placeholders after the exponent are its digits only.
      break;
    }
    if (c == u'0' || c == u'#') {
      sec.anyPlaceholder = true;
      if (afterPoint) {
        ++sec.fracPlaceholders;
        if (c == u'0') sec.minFrac = sec.fracPlaceholders;
      } else {
        if (c == u'0' && firstZero < 0) firstZero = sec.intPlaceholders;
        ++sec.intPlaceholders;
      }
    } else if (c == u'.') {
      afterPoint = true;
    } else if (c == u',') {
      sec.thousands = true;
    }
    ++i;
  }
  sec.minInt = firstZero < 0 ? 0 : sec.intPlaceholders - firstZero;
  return sec;
}

class PictureFormatter {
 public:
  PictureFormatter(const TSection& sec, const TFormatSettings& fs) : FSec(sec), FSettings(fs) {}

  // Digits of |value|; false when the value does not fit the picture (too many integer digits).
  bool Prepare(double value) {
    const double a = std::fabs(value);
    if (FSec.scientific) {
      const int sig = std::max(1, FSec.intPlaceholders + FSec.fracPlaceholders);
      const TFloatRec rec = FloatToDecimal(a, sig, 9999);
      FZero = rec.Digits.empty();
      String d = AnsiToString(rec.Digits);
      d.resize(static_cast<std::size_t>(sig), u'0');
      const auto ni = static_cast<std::size_t>(FSec.intPlaceholders);
      FInt = d.substr(0, std::min(ni, d.size()));
      FFrac = ni < d.size() ? d.substr(ni) : String();
      FExponent = FZero ? 0 : rec.Exponent - FSec.intPlaceholders;
      // Zero shows one integer digit, as "0E0".
      if (FZero) FInt = FSec.intPlaceholders > 0 ? u"0" : u"";
    } else {
      const TFloatRec rec = FloatToDecimal(a, 15, FSec.fracPlaceholders);
      FZero = rec.Digits.empty();
      if (!FZero && rec.Exponent > 18) return false;
      const String d = AnsiToString(rec.Digits);
      const int e = FZero ? 0 : rec.Exponent;
      if (e > 0) {
        const auto n = static_cast<std::size_t>(e);
        FInt = d.substr(0, std::min(n, d.size()));
        if (d.size() < n) FInt.append(n - d.size(), u'0');
        if (d.size() > n) FFrac = d.substr(n);
      } else if (!FZero) {
        FFrac = String(static_cast<std::size_t>(-e), u'0') + d;
      }
    }
    while (static_cast<int>(FFrac.size()) > FSec.minFrac && !FFrac.empty() && FFrac.back() == u'0') FFrac.pop_back();
    if (static_cast<int>(FFrac.size()) < FSec.minFrac) FFrac.resize(static_cast<std::size_t>(FSec.minFrac), u'0');
    if (static_cast<int>(FInt.size()) < FSec.minInt) FInt.insert(0, static_cast<std::size_t>(FSec.minInt) - FInt.size(), u'0');
    return true;
  }

  bool RoundsToZero() const { return FZero; }

  String Render(bool minus) {
    String out = minus ? u"-" : u"";
    const StringView s = FSec.text;
    int intIndex = 0;
    int fracIndex = 0;
    bool afterPoint = false;
    bool intEmitted = false;
    std::size_t i = 0;
    while (i < s.size()) {
      const Char c = s[i];
      if (c == u'\'' || c == u'"') {
        const std::size_t end = SkipQuoted(s, i);
        const std::size_t stop = (end > i + 1 && end <= s.size() && s[end - 1] == c) ? end - 1 : end;
        out.append(s.substr(i + 1, stop - (i + 1)));
        i = end;
        continue;
      }
      if (FSec.scientific && IsExponentAt(s, i)) {
        if (!intEmitted) { EmitAllInt(out); intEmitted = true; }
        out.push_back(c);
        if (FExponent < 0) out.push_back(u'-');
        else if (s[i + 1] == u'+') out.push_back(u'+');
        i += 2;
        int digits = 0;
        while (i < s.size() && s[i] == u'0') { ++digits; ++i; }
        String e = IntToStr(FExponent < 0 ? -static_cast<Int64>(FExponent) : FExponent);
        if (static_cast<int>(e.size()) < digits) e.insert(0, static_cast<std::size_t>(digits) - e.size(), u'0');
        out += e;
        out.append(s.substr(i));  // the rest is literal
        return out;
      }
      if (c == u'0' || c == u'#') {
        if (afterPoint) {
          if (fracIndex < static_cast<int>(FFrac.size())) out.push_back(FFrac[static_cast<std::size_t>(fracIndex)]);
          ++fracIndex;
        } else {
          EmitIntPlaceholder(out, intIndex++);
          intEmitted = true;
        }
      } else if (c == u'.') {
        if (!afterPoint) {
          if (!intEmitted) { EmitAllInt(out); intEmitted = true; }
          if (!FFrac.empty()) out.push_back(FSettings.DecimalSeparator);
          afterPoint = true;
        }
      } else if (c != u',') {
        out.push_back(c);
      }
      ++i;
    }
    if (!intEmitted) EmitAllInt(out);
    return out;
  }

 private:
  void EmitDigit(String& out, std::size_t j) {
    out.push_back(FInt[j]);
    const std::size_t left = FInt.size() - 1 - j;
    if (FSec.thousands && FSettings.ThousandSeparator != 0 && left > 0 && left % 3 == 0)
      out.push_back(FSettings.ThousandSeparator);
  }

  // Placeholder k takes the digit aligned to it from the right; the first one
  // also takes every digit that has no placeholder of its own.
  void EmitIntPlaceholder(String& out, int k) {
    const int offset = static_cast<int>(FInt.size()) - FSec.intPlaceholders;
    if (k == 0) {
      for (int j = 0; j <= offset; ++j) EmitDigit(out, static_cast<std::size_t>(j));
    } else if (k + offset >= 0) {
      EmitDigit(out, static_cast<std::size_t>(k + offset));
    }
  }

  void EmitAllInt(String& out) {
    if (FSec.intPlaceholders > 0) return;
    for (std::size_t j = 0; j < FInt.size(); ++j) EmitDigit(out, j);
  }

  const TSection& FSec;
  const TFormatSettings& FSettings;
  String FInt;
  String FFrac;
  int FExponent = 0;
  bool FZero = false;
};

}  // namespace

String FormatFloat(StringView format, double value, const TFormatSettings& settings) {
  if (std::isnan(value) || std::isinf(value)) return FloatToStr(value, settings);
  const std::vector<StringView> sections = SplitSections(format);
  std::size_t pick = 0;
  bool minus = false;
  if (value < 0) {
    if (sections.size() >= 2 && !sections[1].empty()) pick = 1;
    else minus = true;
  }
  if (sections[pick].empty()) return FloatToStr(value, settings);
  TSection sec = Analyse(sections[pick]);
  PictureFormatter pf(sec, settings);
  if (!pf.Prepare(value)) return FloatToStr(value, settings);
  if (pf.RoundsToZero()) {
    if (sections.size() >= 3 && !sections[2].empty()) {
      TSection zero = Analyse(sections[2]);
      PictureFormatter zf(zero, settings);
      zf.Prepare(0.0);
      return zf.Render(false);
    }
    minus = false;  // no "-0"
  }
  return pf.Render(minus);
}

String FormatFloat(StringView format, double value) { return FormatFloat(format, value, FormatSettings); }
