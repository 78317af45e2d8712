#pragma once
// Text encodings for files and byte streams. The set is the few the program
// meets: UTF-8 (with or without a byte-order mark), UTF-16 in both byte
// orders, and "ANSI", the 8-bit system code page, which here is always
// Windows-1252 (Latin-1 with the printable 0x80..0x9F block), so files
// written by the Windows program read back the same on every machine.
#include <cstddef>
#include <cstdint>

#include "platform/rtl/Types.h"

class TEncoding {
 public:
  virtual ~TEncoding() = default;
  TEncoding(const TEncoding&) = delete;
  TEncoding& operator=(const TEncoding&) = delete;

  // Shared instances, never freed. UTF8 carries the byte-order mark as its
  // preamble; UTF8NoBOM has none.
  static TEncoding* UTF8();
  static TEncoding* UTF8NoBOM();
  static TEncoding* Unicode();           // UTF-16 little endian, with BOM
  static TEncoding* BigEndianUnicode();  // UTF-16 big endian, with BOM
  static TEncoding* ANSI();              // Windows-1252, no preamble
  // The system's default code page, as the class library's TEncoding.Default: ANSI.
  static TEncoding* Default();

  // Text to bytes; characters the encoding cannot hold become '?'.
  virtual TBytes GetBytes(StringView text) const = 0;
  // Bytes to text; invalid sequences become U+FFFD, a dangling odd byte of
  // UTF-16 is dropped. Never throws.
  virtual String GetString(const std::uint8_t* bytes, std::size_t count) const = 0;
  String GetString(const TBytes& bytes) const { return GetString(bytes.data(), bytes.size()); }
  // The byte-order mark written before the text (empty for none).
  virtual TBytes GetPreamble() const = 0;
  virtual String EncodingName() const = 0;

  // Chooses the encoding of a buffer and answers the length of its preamble.
  // With AEncoding null: a UTF-8, UTF-16 LE or UTF-16 BE byte-order mark
  // decides; without one the bytes are taken as UTF-8 (UTF8NoBOM) when they
  // are valid UTF-8, else as ANSI. With AEncoding given, it is kept and its
  // preamble is skipped only when the buffer starts with it.
  static std::size_t GetBufferEncoding(const std::uint8_t* buffer, std::size_t count, TEncoding*& AEncoding);

  // True when the bytes are well-formed UTF-8 (no overlongs, no surrogates).
  static bool IsValidUtf8(const std::uint8_t* bytes, std::size_t count);

 protected:
  TEncoding() = default;
};
