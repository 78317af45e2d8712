// Float <-> text routines declared in StrUtils.h.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatDecimal.h"
#include "platform/rtl/RtlConsts.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TextInternal.h"

namespace {

bool IsDigit(Char c) { return c >= u'0' && c <= u'9'; }

struct FloatScan {
  std::string ascii;       // the number with '.' as decimal point, for from_chars
  std::size_t end = 0;     // index after the last character taken
  bool complete = false;   // a whole number was read
  int leadingExponent = 0; // rough decimal exponent, to tell overflow from underflow
};

// Sign, digits, separator, digits, exponent; at least one mantissa digit.
FloatScan ScanFloat(StringView s, std::size_t i, Char decimalSeparator) {
  FloatScan r;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
    if (s[i] == u'-') r.ascii.push_back('-');
    ++i;
  }
  int mantissaDigits = 0;
  int intDigits = 0;
  bool seenNonZero = false;
  int zerosAfterPoint = 0;
  while (i < s.size() && IsDigit(s[i])) {
    r.ascii.push_back(static_cast<char>(s[i]));
    if (s[i] != u'0') seenNonZero = true;
    if (seenNonZero) ++intDigits;
    ++mantissaDigits;
    ++i;
  }
  if (i < s.size() && s[i] == decimalSeparator) {
    r.ascii.push_back('.');
    ++i;
    while (i < s.size() && IsDigit(s[i])) {
      r.ascii.push_back(static_cast<char>(s[i]));
      if (!seenNonZero && s[i] == u'0') ++zerosAfterPoint;
      if (s[i] != u'0') seenNonZero = true;
      ++mantissaDigits;
      ++i;
    }
  }
  r.end = i;
  if (mantissaDigits == 0) return r;
  r.complete = true;
  r.leadingExponent = intDigits > 0 ? intDigits : -zerosAfterPoint;
  long exp = 0;
  if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
    std::size_t j = i + 1;
    std::string e = "e";
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) e.push_back(static_cast<char>(s[j++]));
    const std::size_t firstDigit = j;
    while (j < s.size() && IsDigit(s[j])) {
      if (exp < 100000) exp = exp * 10 + (s[j] - u'0');  // bounded: beyond this it is all overflow
      e.push_back(static_cast<char>(s[j++]));
    }
    if (j == firstDigit) return r;  // an exponent mark without digits is not taken
    if (e.size() > 1 && e[1] == '-') exp = -exp;
    r.ascii += e;
    r.end = j;
  }
  r.leadingExponent += static_cast<int>(exp);
  return r;
}

bool Convert(const FloatScan& scan, double& value) {
  double v = 0;
  const char* first = scan.ascii.data();
  const char* last = first + scan.ascii.size();
  const auto res = std::from_chars(first, last, v);
  if (res.ec == std::errc::result_out_of_range) {
    if (scan.leadingExponent > 0) return false;  // overflow
    v = (!scan.ascii.empty() && scan.ascii[0] == '-') ? -0.0 : 0.0;
  } else if (res.ec != std::errc() || res.ptr != last) {
    return false;
  }
  if (std::isinf(v)) return false;
  value = v;
  return true;
}

String Digits(const TFloatRec& rec) { return AnsiToString(rec.Digits); }

String ExponentText(int exponent, int minDigits, bool alwaysSign) {
  String r;
  if (exponent < 0) r.push_back(u'-');
  else if (alwaysSign) r.push_back(u'+');
  String d = IntToStr(exponent < 0 ? -static_cast<Int64>(exponent) : exponent);
  minDigits = std::clamp(minDigits, 0, 4);
  while (static_cast<int>(d.size()) < minDigits) d.insert(d.begin(), u'0');
  return u"E" + r + d;
}

String Special(const TFloatRec& rec) {
  if (rec.Nan) return u"NAN";
  return rec.Negative ? u"-INF" : u"INF";
}

String GeneralText(double value, int precision, int expDigits, const TFormatSettings& fs) {
  precision = std::clamp(precision, 1, 15);
  const TFloatRec rec = FloatToDecimal(value, precision, 9999);
  if (rec.Nan || rec.Infinite) return Special(rec);
  if (rec.Digits.empty()) return u"0";
  const String d = Digits(rec);
  String out = rec.Negative ? u"-" : u"";
  const int e = rec.Exponent;
  if (e <= precision && e >= -4) {
    if (e <= 0) {
      out += u"0";
      out.push_back(fs.DecimalSeparator);
      out.append(static_cast<std::size_t>(-e), u'0');
      out += d;
    } else {
      const auto n = static_cast<std::size_t>(e);
      if (d.size() <= n) {
        out += d;
        out.append(n - d.size(), u'0');
      } else {
        out += d.substr(0, n);
        out.push_back(fs.DecimalSeparator);
        out += d.substr(n);
      }
    }
    return out;
  }
  out.push_back(d[0]);
  if (d.size() > 1) {
    out.push_back(fs.DecimalSeparator);
    out += d.substr(1);
  }
  return out + ExponentText(e - 1, expDigits, false);
}

String ExponentFormText(double value, int precision, int expDigits, const TFormatSettings& fs) {
  // Up to 18 digits may be asked for; those past the 15th are zeros.
  precision = std::clamp(precision, 1, 18);
  const TFloatRec rec = FloatToDecimal(value, precision, 9999);
  if (rec.Nan || rec.Infinite) return Special(rec);
  String d = Digits(rec);
  d.resize(static_cast<std::size_t>(precision), u'0');
  String out = rec.Negative ? u"-" : u"";
  out.push_back(d[0]);
  if (precision > 1) {
    out.push_back(fs.DecimalSeparator);
    out += d.substr(1);
  }
  return out + ExponentText(rec.Digits.empty() ? 0 : rec.Exponent - 1, expDigits, true);
}

// Digits before and after the point of a fixed-point text; false when the value
// needs more integer digits than Precision allows.
bool FixedParts(double value, int precision, int decimals, TFloatRec& rec, String& intPart, String& fracPart) {
  rec = FloatToDecimal(value, std::clamp(precision, 1, 15), decimals);
  if (rec.Nan || rec.Infinite) return true;
  if (rec.Exponent > std::clamp(precision, 1, 15)) return false;
  const String d = Digits(rec);
  const int e = rec.Digits.empty() ? 0 : rec.Exponent;
  if (e <= 0) {
    intPart = u"0";
    fracPart.assign(static_cast<std::size_t>(std::min(-e, decimals)), u'0');
    fracPart += d;
  } else {
    const auto n = static_cast<std::size_t>(e);
    intPart = d.substr(0, std::min(n, d.size()));
    if (d.size() < n) intPart.append(n - d.size(), u'0');
    if (d.size() > n) fracPart = d.substr(n);
  }
  fracPart.resize(static_cast<std::size_t>(decimals), u'0');
  return true;
}

String Group(const String& intPart, Char sep) {
  if (sep == 0) return intPart;
  String out;
  const std::size_t n = intPart.size();
  for (std::size_t i = 0; i < n; ++i) {
    out.push_back(intPart[i]);
    const std::size_t left = n - i - 1;
    if (left > 0 && left % 3 == 0) out.push_back(sep);
  }
  return out;
}

String CurrencyText(const String& amount, bool negative, const TFormatSettings& fs) {
  const String& c = fs.CurrencyString;
  if (!negative) {
    switch (fs.CurrencyFormat) {
      case 1: return amount + c;
      case 2: return c + u" " + amount;
      case 3: return amount + u" " + c;
      default: return c + amount;
    }
  }
  switch (fs.NegCurrFormat) {
    case 1: return u"-" + c + amount;
    case 2: return c + u"-" + amount;
    case 3: return c + amount + u"-";
    case 4: return u"(" + amount + c + u")";
    case 5: return u"-" + amount + c;
    case 6: return amount + u"-" + c;
    case 7: return amount + c + u"-";
    case 8: return u"-" + amount + u" " + c;
    case 9: return u"-" + c + u" " + amount;
    case 10: return amount + u" " + c + u"-";
    case 11: return c + u" " + amount + u"-";
    case 12: return c + u" -" + amount;
    case 13: return amount + u"- " + c;
    case 14: return u"(" + c + u" " + amount + u")";
    case 15: return u"(" + amount + u" " + c + u")";
    default: return u"(" + c + amount + u")";
  }
}

}  // namespace

bool TryStrToFloat(StringView s, double& value, const TFormatSettings& settings) {
  std::size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  const FloatScan scan = ScanFloat(s, i, settings.DecimalSeparator);
  if (!scan.complete) return false;
  std::size_t j = scan.end;
  while (j < s.size() && IsBlank(s[j])) ++j;
  if (j != s.size()) return false;
  return Convert(scan, value);
}

bool TryStrToFloat(StringView s, double& value) { return TryStrToFloat(s, value, FormatSettings); }

double StrToFloat(StringView s, const TFormatSettings& settings) {
  double v = 0;
  if (!TryStrToFloat(s, v, settings)) {
    String msg(SInvalidFloat);
    msg.replace(msg.find(u"%s"), 2, s);
    throw EConvertError(msg);
  }
  return v;
}

double StrToFloat(StringView s) { return StrToFloat(s, FormatSettings); }

double StrToFloatDef(StringView s, double defaultValue, const TFormatSettings& settings) {
  double v = defaultValue;
  return TryStrToFloat(s, v, settings) ? v : defaultValue;
}

double StrToFloatDef(StringView s, double defaultValue) { return StrToFloatDef(s, defaultValue, FormatSettings); }

int Val(StringView s, double& value) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  const FloatScan scan = ScanFloat(s, i, u'.');
  double v = 0;
  if (!scan.complete || !Convert(scan, v)) {
    value = 0;  // no digits, or out of range
    return static_cast<int>(std::min(scan.end, s.size())) + 1;
  }
  value = v;
  return scan.end == s.size() ? 0 : static_cast<int>(scan.end) + 1;
}

String FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TFormatSettings& fs) {
  switch (format) {
    case ffGeneral: return GeneralText(value, precision, digits, fs);
    case ffExponent: return ExponentFormText(value, precision, digits, fs);
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      digits = std::clamp(digits, 0, 18);
      TFloatRec rec;
      String ip, fp;
      if (!FixedParts(value, precision, digits, rec, ip, fp)) return GeneralText(value, precision, 0, fs);
      if (rec.Nan || rec.Infinite) return Special(rec);
      String amount = format == ffFixed ? ip : Group(ip, fs.ThousandSeparator);
      if (!fp.empty()) {
        amount.push_back(fs.DecimalSeparator);
        amount += fp;
      }
      if (format == ffCurrency) return CurrencyText(amount, rec.Negative, fs);
      return rec.Negative ? u"-" + amount : amount;
    }
  }
  return GeneralText(value, precision, digits, fs);
}

String FloatToStrF(double value, TFloatFormat format, int precision, int digits) {
  return FloatToStrF(value, format, precision, digits, FormatSettings);
}

String FloatToStr(double value, const TFormatSettings& settings) { return GeneralText(value, 15, 0, settings); }
String FloatToStr(double value) { return FloatToStr(value, FormatSettings); }
