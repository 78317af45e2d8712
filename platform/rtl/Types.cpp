#include "platform/rtl/Types.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

void AppendUtf16(String& out, char32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out.push_back(static_cast<Char>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<Char>(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(static_cast<Char>(cp));
  }
}

bool DecodeUtf8(std::string_view s, std::size_t& pos, char32_t& codePoint) {
  const std::size_t n = s.size();
  const auto b0 = static_cast<unsigned char>(s[pos]);
  if (b0 < 0x80) {
    codePoint = b0;
    ++pos;
    return true;
  }
  int extra;
  char32_t cp;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) { extra = 1; cp = b0 & 0x1F; min = 0x80; }
  else if ((b0 & 0xF0) == 0xE0) { extra = 2; cp = b0 & 0x0F; min = 0x800; }
  else if ((b0 & 0xF8) == 0xF0) { extra = 3; cp = b0 & 0x07; min = 0x10000; }
  else {
    ++pos;
    return false;
  }
  std::size_t j = pos + 1;
  for (int k = 0; k < extra; ++k, ++j) {
    if (j >= n || (static_cast<unsigned char>(s[j]) & 0xC0) != 0x80) {
      pos = j;  // the byte that broke the sequence may start the next one
      return false;
    }
    cp = (cp << 6) | (static_cast<unsigned char>(s[j]) & 0x3F);
  }
  pos = j;
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  codePoint = cp;
  return true;
}

String Utf8ToString(std::string_view s) {
  String out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    char32_t cp = 0;
    AppendUtf16(out, DecodeUtf8(s, i, cp) ? cp : kReplacement);
  }
  return out;
}

std::string StringToUtf8(StringView s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
        ++i;
      } else {
        c = kReplacement;
      }
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

String AnsiToString(std::string_view bytes) {
  String out;
  out.reserve(bytes.size());
  for (char c : bytes) out.push_back(static_cast<unsigned char>(c));
  return out;
}

std::string StringToAnsi(StringView text) {
  std::string out;
  out.reserve(text.size());
  for (Char c : text) out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
  return out;
}
