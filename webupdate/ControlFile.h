#pragma once
// The update control file: an INI text in UTF-8 (other bytes read as the
// default code page), section and key names without regard to case. The file
// comes from a server: it is read with a size budget and every value rule
// below is total (no input raises).
#include <functional>
#include <memory>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Types.h"

// Largest control file read; a larger one reads as empty.
constexpr Int64 kMaxControlFileSize = 4 * 1024 * 1024;

class TControlFile {
 public:
  // Reads FileName; a missing, unreadable or oversized file gives an empty one.
  explicit TControlFile(const String& FileName);
  // From text already in memory (tests, fuzzing).
  static std::unique_ptr<TControlFile> FromBytes(const std::uint8_t* data, std::size_t size);

  // The value as written; Default when the key is absent.
  String ReadString(const String& Section, const String& Key, const String& Default = {}) const;
  // Decimal, or hexadecimal after "$" or "0x"; anything else (or absent) gives Default.
  Integer ReadInteger(const String& Section, const String& Key, Integer Default) const;
  // The same in 64 bits.
  Int64 ReadInt64(const String& Section, const String& Key, Int64 Default) const;
  // The value with every backslash + "n" replaced by one carriage return.
  String ReadLines(const String& Section, const String& Key) const;

 private:
  TControlFile();
  void Load(const std::uint8_t* data, std::size_t size);
  std::unique_ptr<TMemIniFile> FIni;
};

// Decimal, "$hex" or "0xhex" in 64 bits; false (value untouched) otherwise.
bool TryParseControlInteger(const String& Text, Int64& Value);

// Placeholder expansion: each "{NAME}" whose Convert(upper-cased NAME) is not
// empty is replaced by it and scanning goes on inside the inserted text; an
// unknown or unclosed placeholder stays. Bounded: at most 64 replacements and
// a result of at most 32768 characters (the rest is left as it is).
String ExpandPlaceholders(const String& Path, const std::function<String(const String& Name)>& Convert);
