#pragma once
// Firmware images: the Intel HEX reader and the hexadecimal image text that
// the bootloader client carries (two digits per image byte, no separators).
// Images start at flash address 0, the first byte of the first page.
#include <cstddef>
#include <string>

#include "platform/rtl/Types.h"

// Line results of ParseHexLine.
constexpr Integer HEX_LINE_DATA = 0;        // a data record, or a type 2..5 record read and checked
constexpr Integer HEX_LINE_END = 1;         // the end-of-file record
constexpr Integer HEX_LINE_NO_COLON = -1;   // the line does not begin with ':'
constexpr Integer HEX_LINE_BAD_TYPE = -2;   // a record type above 5
constexpr Integer HEX_LINE_CHECKSUM = -3;   // checksum wrong
constexpr Integer HEX_LINE_MALFORMED = -4;  // empty, too short or too long, a non-hex digit, a wrong count for its type

// Highest image size a HEX text may describe; an address beyond it is refused,
// so a hostile file cannot make the reader allocate without bound.
constexpr std::size_t kMaxFirmwareImageSize = 4u << 20;

// One record as read from a line.
struct THexRecord {
  Byte Count = 0;
  Word Address = 0;
  Byte Type = 0;
  std::string DataDigits;  // the data's digit pairs as written
};

// Parses one line (without its line break; blanks, tabs and a carriage return
// after the checksum are ignored) into Record; answers one of the HEX_LINE_*
// results. Never throws.
Integer ParseHexLine(const std::string& RawLine, THexRecord& Record);

// The outcome of HexToImage.
struct THexImage {
  bool Ok = false;
  // The image as digit pairs: each data byte as written in its record, gaps
  // between records as "FF". Empty when !Ok.
  std::string Hex;
  // 1-based line of the first failure (0 when the failure is not a line's),
  // and a text naming it, e.g. "Intel HEX line 3: bad checksum".
  Integer Line = 0;
  String Error;
};

// Converts Intel HEX text (lines ended by CR, LF, CR LF or CR CR LF) into the image
// text. Data records land at their addresses (type 2 segment and type 4
// linear bases honoured; type 3 and 5 start addresses checked and ignored);
// overlapping data keeps the later record. Fails on any bad line, on a count
// of end records other than one, on an address beyond kMaxFirmwareImageSize
// and on a text with no data at all.
THexImage HexToImage(const std::string& Text);

// The image text back into bytes, two digits at a time; raises EConvertError
// naming the offending pair for a non-hex digit or an odd length.
std::string HexTextToBytes(const std::string& HexText);

// Strips a UTF-8 byte-order mark, or turns UTF-16 text with its mark into
// 8-bit text (characters above 0xFF become '?'); other text is answered as is.
std::string DecodeTextBytes(const std::string& Bytes);
