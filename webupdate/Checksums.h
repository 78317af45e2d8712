#pragma once
// The two file checksums that control files compare against, and the Base64
// encoder of the HTTP Basic authorization header.
#include <string>

#include "platform/rtl/Types.h"

// The table checksum: CRC-32 table steps added to the running value; 0 when
// the file cannot be opened (and for an empty file).
Integer CRC32OfFile(const String& FileName);
// The byte sum modulo 2^32 starting at -1; -1 when the file cannot be opened.
Integer ByteSumOfFile(const String& FileName);
// Standard Base64 with "=" padding of the bytes.
String Base64Encode(const std::string& Bytes);
// The file's size in bytes, 0 when it cannot be read.
Int64 FileSizeOf(const String& FileName);
