#include "platform/rtl/Encoding.h"

#include <array>
#include <cstring>
#include <string_view>

namespace {

// Windows-1252 0x80..0x9F; the five holes map to the C1 code points, as the
// system's conversion does, so every byte survives a round trip.
constexpr std::array<Char, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

class TUTF8Encoding final : public TEncoding {
 public:
  explicit TUTF8Encoding(bool bom) : FBom(bom) {}
  TBytes GetBytes(StringView text) const override {
    const std::string s = StringToUtf8(text);
    return TBytes(s.begin(), s.end());
  }
  String GetString(const std::uint8_t* bytes, std::size_t count) const override {
    if (count == 0) return {};
    return Utf8ToString(std::string_view(reinterpret_cast<const char*>(bytes), count));
  }
  TBytes GetPreamble() const override { return FBom ? TBytes{0xEF, 0xBB, 0xBF} : TBytes{}; }
  String EncodingName() const override { return u"UTF-8"; }

 private:
  bool FBom;
};

class TUnicodeEncoding final : public TEncoding {
 public:
  explicit TUnicodeEncoding(bool bigEndian) : FBig(bigEndian) {}
  TBytes GetBytes(StringView text) const override {
    TBytes out;
    out.reserve(text.size() * 2);
    for (Char c : text) {
      const auto hi = static_cast<std::uint8_t>(c >> 8);
      const auto lo = static_cast<std::uint8_t>(c & 0xFF);
      if (FBig) { out.push_back(hi); out.push_back(lo); }
      else { out.push_back(lo); out.push_back(hi); }
    }
    return out;
  }
  String GetString(const std::uint8_t* bytes, std::size_t count) const override {
    String out;
    out.reserve(count / 2);
    for (std::size_t i = 0; i + 1 < count; i += 2) {
      const Char c = FBig ? static_cast<Char>((bytes[i] << 8) | bytes[i + 1])
                          : static_cast<Char>((bytes[i + 1] << 8) | bytes[i]);
      out.push_back(c);
    }
    // Unpaired surrogates become U+FFFD, as the UTF-8 decoder does.
    for (std::size_t i = 0; i < out.size(); ++i) {
      const Char c = out[i];
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < out.size() && out[i + 1] >= 0xDC00 && out[i + 1] <= 0xDFFF) {
        ++i;
      } else if (c >= 0xD800 && c <= 0xDFFF) {
        out[i] = 0xFFFD;
      }
    }
    return out;
  }
  TBytes GetPreamble() const override { return FBig ? TBytes{0xFE, 0xFF} : TBytes{0xFF, 0xFE}; }
  String EncodingName() const override { return FBig ? u"Unicode (Big-Endian)" : u"Unicode"; }

 private:
  bool FBig;
};

class TAnsiEncoding final : public TEncoding {
 public:
  TBytes GetBytes(StringView text) const override {
    TBytes out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
      const Char c = text[i];
      if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        out.push_back(static_cast<std::uint8_t>(c));
        continue;
      }
      std::uint8_t b = '?';
      for (std::size_t k = 0; k < kCp1252High.size(); ++k)
        if (kCp1252High[k] == c) { b = static_cast<std::uint8_t>(0x80 + k); break; }
      // A surrogate pair is one character: one '?'.
      if (b == '?' && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
      out.push_back(b);
    }
    return out;
  }
  String GetString(const std::uint8_t* bytes, std::size_t count) const override {
    String out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint8_t b = bytes[i];
      out.push_back((b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : static_cast<Char>(b));
    }
    return out;
  }
  TBytes GetPreamble() const override { return {}; }
  String EncodingName() const override { return u"Windows-1252"; }
};

bool StartsWith(const std::uint8_t* buffer, std::size_t count, const TBytes& prefix) {
  return !prefix.empty() && count >= prefix.size() && std::memcmp(buffer, prefix.data(), prefix.size()) == 0;
}

}  // namespace

TEncoding* TEncoding::UTF8() { static TUTF8Encoding e(true); return &e; }
TEncoding* TEncoding::UTF8NoBOM() { static TUTF8Encoding e(false); return &e; }
TEncoding* TEncoding::Unicode() { static TUnicodeEncoding e(false); return &e; }
TEncoding* TEncoding::BigEndianUnicode() { static TUnicodeEncoding e(true); return &e; }
TEncoding* TEncoding::ANSI() { static TAnsiEncoding e; return &e; }
TEncoding* TEncoding::Default() { return ANSI(); }

bool TEncoding::IsValidUtf8(const std::uint8_t* s, std::size_t n) {
  const std::string_view bytes(reinterpret_cast<const char*>(s), n);
  std::size_t i = 0;
  char32_t cp = 0;
  while (i < n)
    if (!DecodeUtf8(bytes, i, cp)) return false;
  return true;
}

std::size_t TEncoding::GetBufferEncoding(const std::uint8_t* buffer, std::size_t count, TEncoding*& AEncoding) {
  if (AEncoding != nullptr) {
    const TBytes preamble = AEncoding->GetPreamble();
    return StartsWith(buffer, count, preamble) ? preamble.size() : 0;
  }
  for (TEncoding* candidate : {UTF8(), Unicode(), BigEndianUnicode()}) {
    const TBytes preamble = candidate->GetPreamble();
    if (StartsWith(buffer, count, preamble)) {
      AEncoding = candidate;
      return preamble.size();
    }
  }
  AEncoding = IsValidUtf8(buffer, count) ? UTF8NoBOM() : ANSI();
  return 0;
}
