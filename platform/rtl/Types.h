#pragma once
// The class library's basic types. Text is UTF-16 as the class library counts
// characters; byte strings (wire data, 8-bit texts) stay std::string.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using Char = char16_t;
using String = std::u16string;
using StringView = std::u16string_view;
using AnsiString = std::string;      // 8-bit text and raw bytes
using RawByteString = std::string;
using TBytes = std::vector<std::uint8_t>;

using Integer = std::int32_t;
using Cardinal = std::uint32_t;
using LongInt = std::int32_t;
using LongWord = std::uint32_t;
using ShortInt = std::int8_t;
using SmallInt = std::int16_t;
using Byte = std::uint8_t;
using Word = std::uint16_t;
using DWORD = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using NativeInt = std::intptr_t;
using NativeUInt = std::uintptr_t;
using Single = float;
using Double = double;
using Extended = double;
using TDateTime = double;  // days since 1899-12-30, time as the fraction

// UTF-8 <-> UTF-16. Invalid sequences and lone surrogates become U+FFFD; never throws.
String Utf8ToString(std::string_view utf8);
std::string StringToUtf8(StringView text);
// Decodes the UTF-8 sequence at s[pos] (pos < s.size()). A valid sequence
// answers true with its code point and pos after it; an invalid, overlong,
// surrogate or truncated one answers false with pos at the first byte that
// cannot belong to it (always past the old pos).
bool DecodeUtf8(std::string_view s, std::size_t& pos, char32_t& codePoint);
// Appends a code point as UTF-16: a surrogate pair above U+FFFF.
void AppendUtf16(String& out, char32_t codePoint);

// Latin-1 bytes widened one to one (the Parts' 8-bit texts are ASCII in practice).
String AnsiToString(std::string_view bytes);
// Characters above 0xFF become '?'.
std::string StringToAnsi(StringView text);
