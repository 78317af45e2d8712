#include "platform/rtl/FloatDecimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {
constexpr int kMaxDigits = 15;
}

TFloatRec FloatToDecimal(double value, int precision, int decimals) {
  TFloatRec rec;
  if (std::isnan(value)) { rec.Nan = true; return rec; }
  if (std::isinf(value)) { rec.Infinite = true; rec.Negative = value < 0; return rec; }
  if (value == 0) return rec;
  // 15 significant digits, correctly rounded: "d.dddddddddddddde+XX".
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                                 kMaxDigits - 1);
  std::string text(buf, res.ptr);
  const auto e = text.find('e');
  std::string digits;
  for (std::size_t i = 0; i < e; ++i)
    if (text[i] != '.') digits.push_back(text[i]);
  int exponent = std::atoi(text.c_str() + e + 1) + 1;

  precision = std::clamp(precision, 1, kMaxDigits);
  // Decimals is bounded so that exponent + decimals cannot overflow.
  decimals = std::clamp(decimals, -400, 400);
  const int keep = std::min(precision, exponent + decimals);
  if (keep < 0) return rec;
  if (keep < static_cast<int>(digits.size())) {
    const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
    digits.resize(static_cast<std::size_t>(keep));
    if (up) {
      int i = keep - 1;
      while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') digits[static_cast<std::size_t>(i--)] = '0';
      if (i >= 0) {
        ++digits[static_cast<std::size_t>(i)];
      } else {
        digits.insert(digits.begin(), '1');
        ++exponent;
      }
    }
  }
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (digits.empty()) return rec;
  rec.Digits = std::move(digits);
  rec.Exponent = exponent;
  rec.Negative = value < 0;
  return rec;
}
