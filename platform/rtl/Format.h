#pragma once
// The class library's Format and FormatFloat.
#include <concepts>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Types.h"

// One argument of Format, tagged with its kind:
//   Format(u"%d of %s", {3, name})
// Integers up to 32 bits are vtInteger, wider ones vtInt64, floating point
// vtExtended, texts and single characters vtUnicodeString (8-bit texts are
// widened byte for byte, as AnsiToString), pointers vtPointer. bool is refused
// at compile time: the class library's Format accepts no Boolean (use BoolToStr).
class TVarRec {
 public:
  enum TVarType { vtInteger, vtInt64, vtExtended, vtUnicodeString, vtPointer };

  template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, char8_t> &&
             !std::same_as<T, char16_t> && !std::same_as<T, char32_t> && !std::same_as<T, wchar_t>)
  TVarRec(T value) {
    // A Cardinal becomes vtInt64 so that it keeps its value.
    FType = (sizeof(T) < 4 || (sizeof(T) == 4 && std::is_signed_v<T>)) ? vtInteger : vtInt64;
    FInt = static_cast<Int64>(value);
  }
  TVarRec(bool) = delete;
  TVarRec(double value) : FType(vtExtended), FFloat(value) {}
  TVarRec(const String& value) : FType(vtUnicodeString), FText(value) {}
  TVarRec(StringView value) : FType(vtUnicodeString), FText(value) {}
  TVarRec(const Char* value) : FType(vtUnicodeString), FText(value ? String(value) : String()) {}
  TVarRec(Char value) : FType(vtUnicodeString), FText(1, value) {}
  TVarRec(const char* value);
  TVarRec(const std::string& value);
  TVarRec(char value);
  TVarRec(const void* value) : FType(vtPointer), FPointer(value) {}
  TVarRec(std::nullptr_t) : FType(vtPointer) {}

  TVarType VType() const { return FType; }
  Int64 AsInt64() const { return FInt; }
  double AsDouble() const { return FFloat; }
  const String& AsString() const { return FText; }
  const void* AsPointer() const { return FPointer; }

 private:
  TVarType FType;
  Int64 FInt = 0;
  double FFloat = 0;
  String FText;
  const void* FPointer = nullptr;
};

// Specifiers: "%" ["index:"] ["-"] [width] ["." precision] type, where index,
// width and precision may be "*" (taken from the next argument, an integer).
// Types (either case): d u x (upper-case hex) e f g n m (floats) s p, and "%%".
// Precision: minimum digits for d u x, decimals for f n m (default 2, m the
// currency decimals), significant digits for e g (default 15), maximum length for s.
// A type that does not fit its argument, or a malformed specifier, throws
// EConvertError "Format '<fmt>' invalid or incompatible with argument"; a
// missing argument "No argument for format '<fmt>'".
String Format(StringView format, std::initializer_list<TVarRec> args);
String Format(StringView format, std::initializer_list<TVarRec> args, const TFormatSettings& settings);
String Format(StringView format, const std::vector<TVarRec>& args);
String Format(StringView format, const std::vector<TVarRec>& args, const TFormatSettings& settings);

// Picture formatting. Up to three sections split by ';' (positive and zero;
// negative; zero after rounding). In a section: '0' digit or zero, '#' digit or
// nothing, the first '.' the decimal point, ',' anywhere turns on thousand
// grouping, "E+" "E-" "e+" "e-" followed by '0's the exponent, text in ' or "
// quotes literal, anything else literal. An empty pattern or section, or a value
// of more than 18 integer digits without an exponent, gives FloatToStr's text.
String FormatFloat(StringView format, double value);
String FormatFloat(StringView format, double value, const TFormatSettings& settings);
