#include "platform/rtl/Math.h"

#include <cmath>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/RtlConsts.h"

namespace {

Int64 Checked(double whole) {
  // 2^63 is exactly representable; every double below it fits Int64.
  constexpr double kLimit = 9223372036854775808.0;
  if (!(whole >= -kLimit && whole < kLimit)) throw EInvalidOp(SInvalidOp);
  return static_cast<Int64>(whole);
}

}  // namespace

Int64 Round(double value) {
  // Explicit, so the result never depends on the floating-point environment.
  double whole = std::trunc(value);
  const double rest = std::fabs(value - whole);  // exact for doubles
  if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0)) whole += value < 0 ? -1.0 : 1.0;
  return Checked(whole);
}
Int64 Trunc(double value) { return Checked(std::trunc(value)); }
Int64 Ceil(double value) { return Checked(std::ceil(value)); }
Int64 Floor(double value) { return Checked(std::floor(value)); }
double Int(double value) { return std::trunc(value); }
double Frac(double value) { return value - std::trunc(value); }
