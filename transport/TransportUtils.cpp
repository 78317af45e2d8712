#include "transport/TransportUtils.h"

#include "platform/win/Clock.h"

void SleepMs(Integer milliseconds) { Sleep(milliseconds > 0 ? static_cast<Cardinal>(milliseconds) : 0); }

Cardinal TickMs() { return GetTickCount(); }

Cardinal TickSpan(Cardinal older, Cardinal newer) {
  if (older == newer) return 0;
  if (older > newer) {
    // Shifting both by half the range makes a wrapped newer tick the larger one.
    older += 0x80000000u;
    newer += 0x80000000u;
  }
  return older <= newer ? newer - older : older - newer;
}

String TrimSpacesLeft(const String& value) {
  const auto first = value.find_first_not_of(u' ');
  return first == String::npos ? String() : value.substr(first);
}

String TrimSpacesRight(const String& value) {
  const auto last = value.find_last_not_of(u' ');
  return last == String::npos ? String() : value.substr(0, last + 1);
}

String TrimSpaces(const String& value) { return TrimSpacesLeft(TrimSpacesRight(value)); }

String TextBefore(const String& value, const String& delimiter) {
  const auto at = delimiter.empty() ? String::npos : value.find(delimiter);
  return at == String::npos ? value : value.substr(0, at);
}

String TextAfter(const String& value, const String& delimiter) {
  const auto at = delimiter.empty() ? String::npos : value.find(delimiter);
  return at == String::npos ? value : value.substr(at + delimiter.size());
}

String FetchUntrimmed(String& value, const String& delimiter) {
  const auto at = delimiter.empty() ? String::npos : value.find(delimiter);
  if (at == String::npos) {
    String result = std::move(value);
    value.clear();
    return result;
  }
  String result = value.substr(0, at);
  value.erase(0, at + delimiter.size());
  return result;
}

String Fetch(String& value, const String& delimiter) {
  String result = TrimSpaces(FetchUntrimmed(value, delimiter));
  value = TrimSpaces(value);
  return result;
}

std::string ReplaceAllBytes(const std::string& value, const std::string& search, const std::string& replacement) {
  if (value.empty() || search.empty()) return value;
  std::string result;
  result.reserve(value.size());
  std::size_t from = 0;
  for (auto at = value.find(search); at != std::string::npos; at = value.find(search, from)) {
    result.append(value, from, at - from);
    result += replacement;
    from = at + search.size();
  }
  result.append(value, from, std::string::npos);
  return result;
}

Integer FindLineBreak(const std::string& value, std::string& lineBreak) {
  lineBreak.clear();
  const auto at = value.find_first_of("\r\n");
  if (at == std::string::npos) return -1;
  lineBreak = value.substr(at, 1);
  if (at + 1 < value.size()) {
    const char next = value[at + 1];
    if ((next == '\r' || next == '\n') && next != value[at]) lineBreak += next;
  }
  return static_cast<Integer>(at) + 1;
}

Integer CountChar(const String& value, Char ch) {
  Integer n = 0;
  for (Char c : value) n += c == ch;
  return n;
}

std::string WordToBytesBE(Word value) {
  return {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
}

Word BytesToWordBE(const std::string& value, Integer position) {
  if (position < 1 || static_cast<std::size_t>(position) + 1 > value.size()) return 0;
  const auto hi = static_cast<Byte>(value[position - 1]);
  const auto lo = static_cast<Byte>(value[position]);
  return static_cast<Word>(hi << 8 | lo);
}

std::string LongToBytesBE(Cardinal value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
          static_cast<char>(value)};
}

Cardinal ReverseBytes32(Cardinal value) {
  return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

void WriteBytesToStream(TStream& stream, const std::string& value) {
  if (!value.empty()) stream.Write(value.data(), static_cast<Integer>(value.size()));
}
