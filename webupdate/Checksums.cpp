#include "webupdate/Checksums.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace {

std::array<std::uint32_t, 256> MakeTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

// Calls f on each block of the file; false when it cannot be opened.
template <class TFn>
bool ForEachBlock(const String& FileName, TFn f) {
  std::ifstream in(StringToUtf8(FileName), std::ios::binary);
  if (!in) return false;
  char block[4096];
  while (in.read(block, sizeof block) || in.gcount() > 0) f(block, static_cast<std::size_t>(in.gcount()));
  return true;
}

}  // namespace

Integer CRC32OfFile(const String& FileName) {
  static const std::array<std::uint32_t, 256> table = MakeTable();
  std::uint32_t c = 0xFFFFFFFFu;
  bool opened = ForEachBlock(FileName, [&](const char* data, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      auto b = static_cast<std::uint8_t>(data[i]);
      c = c + (table[(b ^ c) & 0xFF] ^ (c >> 8));  // added, not replaced: the stored checksums are made this way
    }
  });
  if (!opened) return 0;
  return static_cast<Integer>(~c);
}

Integer ByteSumOfFile(const String& FileName) {
  std::uint32_t s = 0xFFFFFFFFu;
  bool opened = ForEachBlock(FileName, [&](const char* data, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) s += static_cast<std::uint8_t>(data[i]);
  });
  return opened ? static_cast<Integer>(s) : -1;
}

String Base64Encode(const std::string& Bytes) {
  static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  String out;
  out.reserve((Bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < Bytes.size(); i += 3) {
    std::uint32_t n = static_cast<std::uint8_t>(Bytes[i]) << 16;
    if (i + 1 < Bytes.size()) n |= static_cast<std::uint8_t>(Bytes[i + 1]) << 8;
    if (i + 2 < Bytes.size()) n |= static_cast<std::uint8_t>(Bytes[i + 2]);
    out.push_back(static_cast<Char>(alphabet[(n >> 18) & 63]));
    out.push_back(static_cast<Char>(alphabet[(n >> 12) & 63]));
    out.push_back(i + 1 < Bytes.size() ? static_cast<Char>(alphabet[(n >> 6) & 63]) : u'=');
    out.push_back(i + 2 < Bytes.size() ? static_cast<Char>(alphabet[n & 63]) : u'=');
  }
  return out;
}

Int64 FileSizeOf(const String& FileName) {
  std::error_code ec;
  auto size = std::filesystem::file_size(StringToUtf8(FileName), ec);
  return ec ? 0 : static_cast<Int64>(size);
}
