#pragma once
// Free routines shared by the serial port, the sockets and the bootloader
// client: ticks, pauses, field splitting and byte packing. All are reentrant.
// Positions given to them are 1-based, as their callers count.
#include <string>

#include "platform/rtl/Streams.h"
#include "platform/rtl/Types.h"

// Suspends the calling thread on the program's clock.
void SleepMs(Integer milliseconds);
// Milliseconds on the program's clock, wrapping at 2^32.
Cardinal TickMs();
// Milliseconds from `older` to `newer`, right across one wrap of the tick.
Cardinal TickSpan(Cardinal older, Cardinal newer);

// Remove leading, trailing or both U+0020 only; tabs and other blanks stay.
String TrimSpacesLeft(const String& value);
String TrimSpacesRight(const String& value);
String TrimSpaces(const String& value);
// The text before / after the first `delimiter`; the whole text when it is
// absent or the delimiter is empty.
String TextBefore(const String& value, const String& delimiter);
String TextAfter(const String& value, const String& delimiter);
// Answers the field before the delimiter and leaves the rest in `value` (empty
// when the delimiter is absent).
String FetchUntrimmed(String& value, const String& delimiter);
// FetchUntrimmed with spaces trimmed from the field and from the rest.
String Fetch(String& value, const String& delimiter);
// Every occurrence of `search` replaced, left to right, replaced parts not
// rescanned; an empty search gives the input.
std::string ReplaceAllBytes(const std::string& value, const std::string& search, const std::string& replacement);
// 1-based position of the first CR or LF, -1 when none; `lineBreak` gets CR LF
// or LF CR when the next byte completes the pair, else the single byte.
Integer FindLineBreak(const std::string& value, std::string& lineBreak);
// Occurrences of the character.
Integer CountChar(const String& value, Char ch);
// 2 bytes, most significant first.
std::string WordToBytesBE(Word value);
// The two bytes at 1-based `position`, most significant first; 0 when fewer
// than two bytes stand there (also for a position below 1).
Word BytesToWordBE(const std::string& value, Integer position);
// 4 bytes, most significant first.
std::string LongToBytesBE(Cardinal value);
// The four bytes in reverse order.
Cardinal ReverseBytes32(Cardinal value);
// The pointer advanced by `count` bytes.
inline const void* OffsetPointer(const void* p, Integer count) { return static_cast<const Byte*>(p) + count; }
inline void* OffsetPointer(void* p, Integer count) { return static_cast<Byte*>(p) + count; }
// Writes the bytes at the stream's position.
void WriteBytesToStream(TStream& stream, const std::string& value);
