#pragma once
// Internal to platform/rtl: a double as decimal digits, shared by the float
// formatting routines.
#include <string>

struct TFloatRec {
  // Value = 0.Digits x 10^Exponent. Digits are ASCII without leading or trailing
  // zeros; empty for zero (also for a value rounded away to zero).
  std::string Digits;
  int Exponent = 0;
  bool Negative = false;  // never set when Digits is empty
  bool Nan = false;
  bool Infinite = false;
};

// The value rounded (half away from zero) to at most Precision significant
// digits (capped at 15, the digits a double carries) and at most Decimals
// digits after the decimal point.
TFloatRec FloatToDecimal(double value, int precision, int decimals);
