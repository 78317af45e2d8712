#pragma once
// Rounding and the integer and fraction parts of floats, as the class library has them.
#include "platform/rtl/Types.h"

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). NaN,
// infinities and values outside Int64 throw EInvalidOp.
Int64 Round(double value);
// Toward zero; NaN, infinities and values outside Int64 throw EInvalidOp.
Int64 Trunc(double value);
// Toward plus / minus infinity; bad values throw EInvalidOp.
Int64 Ceil(double value);
Int64 Floor(double value);
// The integer part as a double (toward zero) and the rest with the value's sign.
double Int(double value);
double Frac(double value);
