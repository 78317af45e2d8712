#include "foundation/json/AdvJSONReader.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "foundation/json/JSONScopes.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"

using TState = TAdvJSONReader::TAdvJSONState;
using TToken = TAdvJSONReader::TAdvJSONToken;

namespace {

constexpr bool IsWhitespace(unsigned char c) { return c == 9 || c == 10 || c == 12 || c == 13 || c == 32; }

constexpr bool IsTerminator(Char c) {
  switch (c) {
    case u'/': case u'\\': case u';': case u'#': case u'{': case u'}': case u'[': case u']':
    case u':': case u',': case u'\'': case u' ': case 13: case 10: case 12: case 9:
      return true;
    default:
      return false;
  }
}

// Decimal integer text (blanks before it allowed) that fits 64 bits.
enum class TIntegerText { Fits, OutOfRange, NotInteger };

// Leading blanks, an optional sign and decimal digits: Fits (the value in out)
// or OutOfRange for such a text beyond 64 bits; NotInteger for any other text.
TIntegerText ParseIntegerText(StringView s, Int64& out) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) negative = s[i++] == u'-';
  if (i >= s.size()) return TIntegerText::NotInteger;
  // Accumulated negatively so that the most negative value fits.
  Int64 v = 0;
  constexpr Int64 kMin = std::numeric_limits<Int64>::min();
  bool overflow = false;
  for (; i < s.size(); ++i) {
    if (s[i] < u'0' || s[i] > u'9') return TIntegerText::NotInteger;
    const int d = s[i] - u'0';
    if (overflow || v < kMin / 10 || (v == kMin / 10 && d > -(kMin % 10))) {
      overflow = true;  // the rest must still be digits for the text to be an integer
      continue;
    }
    v = v * 10 - d;
  }
  if (overflow || (!negative && v == kMin)) return TIntegerText::OutOfRange;
  out = negative ? v : -v;
  return TIntegerText::Fits;
}

bool TryTextToInt64(StringView s, Int64& out) { return ParseIntegerText(s, out) == TIntegerText::Fits; }

String AsciiToString(std::string_view s) { return String(s.begin(), s.end()); }

// Widens raw string bytes and decodes their escapes, with a fast path for
// plain ASCII text.
String DecodeStringValue(std::string_view raw) {
  bool plain = true;
  for (unsigned char c : raw) {
    if (c == '\\' || c >= 0x80) {
      plain = false;
      break;
    }
  }
  if (plain) return AsciiToString(raw);
  return TAdvUtils::UnescapeString(JSONBytesToString(raw));
}

}  // namespace

String JSONBytesToString(std::string_view s) {
  String out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const std::size_t start = i;
    char32_t cp = 0;
    if (DecodeUtf8(s, i, cp)) {
      AppendUtf16(out, cp);
    } else {
      // Not UTF-8: the byte is an 8-bit character of the same code.
      out.push_back(static_cast<unsigned char>(s[start]));
      i = start + 1;
    }
  }
  return out;
}

TAdvJSONStreamReader::TAdvJSONStreamReader(std::string_view aBytes) : FData(aBytes) {}

TAdvJSONStreamReader::TAdvJSONStreamReader(TStream* aStream) {
  if (aStream == nullptr) return;
  const Int64 size = aStream->Size();
  if (size <= 0) return;
  if (size > std::numeric_limits<Integer>::max()) throw EReadError(u"Stream read error");
  FData.resize(static_cast<std::size_t>(size));
  aStream->ReadBuffer(FData.data(), static_cast<Integer>(size));
}

TAdvJSONReader::EInvalidStateException::EInvalidStateException(TAdvJSONState expected)
    : Exception(u"Invalid Json parser state. Expected state: " + IntToStr(static_cast<int>(expected))) {}

TAdvJSONReader::TAdvJSONReader(std::string_view ABytes) : FReader(ABytes) { FStack[0] = kEmptyDocument; }

TAdvJSONReader::TAdvJSONReader(TStream* AStream) : FReader(AStream) { FStack[0] = kEmptyDocument; }

TAdvJSONReader::~TAdvJSONReader() = default;

void TAdvJSONReader::SkipWhitespace() {
  const std::string& d = FReader.Data();
  std::size_t p = FReader.Position();
  while (p < d.size() && IsWhitespace(static_cast<unsigned char>(d[p]))) ++p;
  FReader.SetPosition(p);
}

void TAdvJSONReader::Push(std::uint8_t scope) {
  if (FStackSize >= kMaxStack) throw ETooManyDepthLevels();
  FStack[FStackSize++] = scope;
}

void TAdvJSONReader::Pop() {
  // The document entry is never popped: end tokens only arise inside a scope.
  if (FStackSize > 1) --FStackSize;
}

TState TAdvJSONReader::DoPeek() {
  std::uint8_t& top = FStack[FStackSize - 1];
  switch (top) {
    case kEmptyArray:
      top = kNonEmptyArray;
      return FPeeked = PeekValue(kEmptyArray);
    case kNonEmptyArray: {
      SkipWhitespace();
      const Char c = FReader.PeekChar();
      if (c == u',') {
        FReader.MoveNext(1);
        return FPeeked = PeekValue(kNonEmptyArray);
      }
      if (c == u']') {
        FReader.MoveNext(1);
        return FPeeked = TState::jstEndArray;
      }
      throw EUnterminatedArray();
    }
    case kEmptyObject:
    case kNonEmptyObject: {
      const std::uint8_t old = top;
      top = kDanglingName;
      SkipWhitespace();
      if (old == kNonEmptyObject) {
        const Char c = FReader.PeekChar();
        if (c == u'}') {
          FReader.MoveNext(1);
          return FPeeked = TState::jstEndObject;
        }
        if (c != u',') throw EUnterminatedObject();
        FReader.MoveNext(1);
        SkipWhitespace();
      }
      const Char c = FReader.PeekChar();
      if (c == u'"') {
        FReader.MoveNext(1);
        return FPeeked = TState::jstDoubleQuotedName;
      }
      if (c == u'}' && old == kEmptyObject) {
        FReader.MoveNext(1);
        return FPeeked = TState::jstEndObject;
      }
      throw ENameExpected();
    }
    case kDanglingName:
      top = kNonEmptyObject;
      SkipWhitespace();
      if (FReader.PeekChar() != u':') throw EColonExpected();
      FReader.MoveNext(1);
      return FPeeked = PeekValue(kDanglingName);
    case kEmptyDocument:
      top = kNonEmptyDocument;
      return FPeeked = PeekValue(kEmptyDocument);
    default:  // non-empty document
      SkipWhitespace();
      if (FReader.Eof()) return FPeeked = TState::jstEOF;
      throw EMultipleRootNotAllowed();
  }
}

TState TAdvJSONReader::PeekValue(std::uint8_t scope) {
  SkipWhitespace();
  const bool atEnd = FReader.Eof();
  const Char c = FReader.PeekChar();
  const bool document = FStackSize == 1;
  if (!atEnd) {
    switch (c) {
      case u'"':
        if (document) throw EObjectOrArrayExpected();
        FReader.MoveNext(1);
        return TState::jstDoubleQuoted;
      case u'[':
        FReader.MoveNext(1);
        return TState::jstBeginArray;
      case u'{':
        FReader.MoveNext(1);
        return TState::jstBeginObject;
      case u']':
        if (scope != kEmptyArray) throw EExpectedValue();
        FReader.MoveNext(1);
        return TState::jstEndArray;
      default:
        break;
    }
  }
  if (document || atEnd) {
    if (document) throw EObjectOrArrayExpected();
    throw EExpectedValue();
  }
  switch (c) {
    case u't': case u'T': case u'f': case u'F': case u'n': case u'N':
      return PeekLiteral(static_cast<char>(c | 0x20));
    default:
      break;
  }
  if (c == u'-' || (c >= u'0' && c <= u'9')) return PeekNumber();
  throw EExpectedValue();
}

TState TAdvJSONReader::PeekLiteral(char first) {
  const char* word = first == 't' ? "true" : first == 'f' ? "false" : "null";
  FReader.MoveNext(1);
  for (const char* p = word + 1; *p; ++p) {
    const Char c = FReader.NextChar();
    const Char lower = (c >= u'A' && c <= u'Z') ? static_cast<Char>(c | 0x20) : c;
    if (lower != static_cast<Char>(*p)) throw EExpectedValue();
  }
  if (!FReader.Eof() && !IsTerminator(FReader.PeekChar())) throw EExpectedValue();
  return first == 't' ? TState::jstTrue : first == 'f' ? TState::jstFalse : TState::jstNull;
}

TState TAdvJSONReader::PeekNumber() {
  enum { sStart, sZero, sInt, sDot, sFrac, sE, sESign, sExp } state = sStart;
  bool integral = true;
  bool negative = false;
  std::size_t len = 0;
  constexpr std::size_t kMaxLen = 254;
  for (;;) {
    const Char c = FReader.NextChar();
    if (IsTerminator(c)) {
      FReader.Backup(c);
      break;
    }
    const bool digit = c >= u'0' && c <= u'9';
    switch (state) {
      case sStart:
        if (c == u'-' && len == 0 && !negative) { negative = true; break; }
        if (!digit) throw EExpectedValue();
        state = c == u'0' ? sZero : sInt;
        break;
      case sZero:
      case sInt:
        if (digit && state == sZero) throw EExpectedValue();
        if (digit) break;
        if (c == u'.') { state = sDot; integral = false; break; }
        if (c == u'e' || c == u'E') { state = sE; integral = false; break; }
        throw EExpectedValue();
      case sDot:
        if (!digit) throw EExpectedValue();
        state = sFrac;
        break;
      case sFrac:
        if (digit) break;
        if (c == u'e' || c == u'E') { state = sE; break; }
        throw EExpectedValue();
      case sE:
        if (c == u'+' || c == u'-') { state = sESign; break; }
        if (!digit) throw EExpectedValue();
        state = sExp;
        break;
      case sESign:
        if (!digit) throw EExpectedValue();
        state = sExp;
        break;
      case sExp:
        if (!digit) throw EExpectedValue();
        break;
    }
    if (len >= kMaxLen) throw EExpectedValue();
    FPeekedNumber[len++] = static_cast<char>(c);
  }
  if (state != sZero && state != sInt && state != sFrac && state != sExp) throw EExpectedValue();
  FPeekedNumber[len] = 0;
  FPeekedNumberLen = len;
  if (integral) {
    Int64 v = 0;
    if (TryTextToInt64(AsciiToString(std::string_view(FPeekedNumber, len)), v)) {
      FPeekedInt64 = v;
      return TState::jstInt64;
    }
  }
  return TState::jstNumber;
}

std::string_view TAdvJSONReader::ScanString() {
  const std::string& d = FReader.Data();
  const std::size_t start = FReader.Position();
  std::size_t p = start;
  for (;;) {
    const void* hit = p < d.size() ? std::memchr(d.data() + p, '"', d.size() - p) : nullptr;
    if (hit == nullptr) {
      // Unterminated: the text up to the end of the input.
      FReader.SetPosition(d.size());
      return std::string_view(d).substr(start);
    }
    const std::size_t q = static_cast<std::size_t>(static_cast<const char*>(hit) - d.data());
    std::size_t k = q;
    while (k > start && d[k - 1] == '\\') --k;
    if ((q - k) % 2 == 0) {
      FReader.SetPosition(q + 1);
      return std::string_view(d).substr(start, q - start);
    }
    p = q + 1;
  }
}

TToken TAdvJSONReader::Peek() {
  if (FPeeked == TState::jstNone) DoPeek();
  switch (FPeeked) {
    case TState::jstBeginObject: return TToken::jstoBeginObject;
    case TState::jstEndObject: return TToken::jstoEndObject;
    case TState::jstBeginArray: return TToken::jstoBeginArray;
    case TState::jstEndArray: return TToken::jstoEndArray;
    case TState::jstTrue:
    case TState::jstFalse: return TToken::jstoBoolean;
    case TState::jstNull: return TToken::jstoNull;
    case TState::jstDoubleQuoted:
    case TState::jstBuffered: return TToken::jstoText;
    case TState::jstDoubleQuotedName: return TToken::jstoName;
    case TState::jstInt64:
    case TState::jstNumber: return TToken::jstoNumber;
    case TState::jstEOF: return TToken::jstoEOF;
    default:
      assert(false && "no token pending after a peek");
      return TToken::jstoEOF;
  }
}

bool TAdvJSONReader::HasNext() {
  const TToken t = Peek();
  return t != TToken::jstoEndObject && t != TToken::jstoEndArray;
}

void TAdvJSONReader::Expect(TState expected, TState errorState) {
  if (FPeeked == TState::jstNone) DoPeek();
  if (FPeeked != expected) throw EInvalidStateException(errorState);
}

void TAdvJSONReader::ReadBeginObject() {
  Expect(TState::jstBeginObject, TState::jstBeginObject);
  Push(kEmptyObject);
  FPeeked = TState::jstNone;
}

void TAdvJSONReader::ReadEndObject() {
  Expect(TState::jstEndObject, TState::jstEndObject);
  Pop();
  FPeeked = TState::jstNone;
}

void TAdvJSONReader::ReadBeginArray() {
  Expect(TState::jstBeginArray, TState::jstBeginArray);
  Push(kEmptyArray);
  FPeeked = TState::jstNone;
}

void TAdvJSONReader::ReadEndArray() {
  Expect(TState::jstEndArray, TState::jstEndArray);
  Pop();
  FPeeked = TState::jstNone;
}

String TAdvJSONReader::ReadName() {
  Expect(TState::jstDoubleQuotedName, TState::jstDoubleQuotedName);
  FPeeked = TState::jstNone;
  return JSONBytesToString(ScanString());
}

String TAdvJSONReader::PeekName() {
  Expect(TState::jstDoubleQuotedName, TState::jstDoubleQuotedName);
  const std::size_t at = FReader.Position();
  String name = JSONBytesToString(ScanString());
  FReader.SetPosition(at);
  return name;
}

String TAdvJSONReader::ReadString() {
  if (FPeeked == TState::jstNone) DoPeek();
  switch (FPeeked) {
    case TState::jstDoubleQuoted: {
      FPeeked = TState::jstNone;
      return DecodeStringValue(ScanString());
    }
    case TState::jstBuffered:
      FPeeked = TState::jstNone;
      return TAdvUtils::UnescapeString(FPeekedString);
    case TState::jstInt64:
      FPeeked = TState::jstNone;
      return IntToStr(FPeekedInt64);
    case TState::jstNumber:
      FPeeked = TState::jstNone;
      return AsciiToString(std::string_view(FPeekedNumber, FPeekedNumberLen));
    default:
      throw EInvalidStateException(TState::jstDoubleQuoted);
  }
}

bool TAdvJSONReader::ReadBoolean() {
  if (FPeeked == TState::jstNone) DoPeek();
  if (FPeeked != TState::jstTrue && FPeeked != TState::jstFalse) throw EInvalidStateException(TState::jstTrue);
  const bool v = FPeeked == TState::jstTrue;
  FPeeked = TState::jstNone;
  return v;
}

void TAdvJSONReader::ReadNull() {
  Expect(TState::jstNull, TState::jstNull);
  FPeeked = TState::jstNone;
}

Int64 TAdvJSONReader::ConvertBuffered(bool thirtyTwo) {
  FPeeked = TState::jstBuffered;
  // An integer beyond 64 bits must not pass as the limit its float rounds to
  // (-9223372036854775809 is the float -9223372036854775808).
  Int64 unused = 0;
  if (ParseIntegerText(FPeekedString, unused) == TIntegerText::OutOfRange) throw EInvalidStateException(TState::jstInt64);
  const Double f = TAdvUtils::StrToFloatDot(FPeekedString);
  // Out of range (or not finite): no integer to round to.
  if (!(f >= -9223372036854775808.0 && f < 9223372036854775808.0)) throw EInvalidStateException(TState::jstInt64);
  Int64 v = static_cast<Int64>(std::nearbyint(f));  // half to even
  if (thirtyTwo) v = static_cast<Integer>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
  if (static_cast<Double>(v) != f) throw EInvalidStateException(TState::jstInt64);
  FPeeked = TState::jstNone;
  return v;
}

Int64 TAdvJSONReader::ReadIntegral(bool thirtyTwo) {
  if (FPeeked == TState::jstNone) DoPeek();
  auto fits = [&](Int64 v) {
    return !thirtyTwo || (v >= std::numeric_limits<Integer>::min() && v <= std::numeric_limits<Integer>::max());
  };
  switch (FPeeked) {
    case TState::jstInt64:
      if (!fits(FPeekedInt64)) throw EInvalidStateException(TState::jstInt64);
      FPeeked = TState::jstNone;
      return FPeekedInt64;
    case TState::jstDoubleQuoted:
    case TState::jstNumber: {
      String text = FPeeked == TState::jstNumber ? AsciiToString(std::string_view(FPeekedNumber, FPeekedNumberLen))
                                                 : JSONBytesToString(ScanString());
      Int64 v = 0;
      if (TryTextToInt64(text, v) && fits(v)) {
        FPeeked = TState::jstNone;
        return v;
      }
      FPeekedString = std::move(text);
      return ConvertBuffered(thirtyTwo);
    }
    case TState::jstBuffered:
      return ConvertBuffered(thirtyTwo);
    default:
      throw EInvalidStateException(TState::jstInt64);
  }
}

Integer TAdvJSONReader::ReadInteger() { return static_cast<Integer>(ReadIntegral(true)); }

Int64 TAdvJSONReader::ReadInt64() { return ReadIntegral(false); }

Double TAdvJSONReader::ReadDouble() {
  if (FPeeked == TState::jstNone) DoPeek();
  switch (FPeeked) {
    case TState::jstInt64:
      FPeeked = TState::jstNone;
      return static_cast<Double>(FPeekedInt64);
    case TState::jstNumber: {
      // The text has JSON number syntax already: parse it in place.
      Double v = 0;
      const auto res = std::from_chars(FPeekedNumber, FPeekedNumber + FPeekedNumberLen, v);
      if (res.ec == std::errc() && res.ptr == FPeekedNumber + FPeekedNumberLen) {
        FPeeked = TState::jstNone;
        return v;
      }
      String text = AsciiToString(std::string_view(FPeekedNumber, FPeekedNumberLen));
      if (TAdvUtils::TryStrToFloatDot(text, v)) {  // underflow reads as zero there
        FPeeked = TState::jstNone;
        return v;
      }
      FPeekedString = std::move(text);
      break;
    }
    case TState::jstDoubleQuoted:
      FPeekedString = JSONBytesToString(ScanString());
      break;
    case TState::jstBuffered:
      break;
    default:
      throw EInvalidStateException(TState::jstNumber);
  }
  FPeeked = TState::jstBuffered;
  const Double v = TAdvUtils::StrToFloatDot(FPeekedString);
  FPeeked = TState::jstNone;
  return v;
}

void TAdvJSONReader::SkipValue() {
  int depth = 0;
  do {
    if (FPeeked == TState::jstNone) DoPeek();
    switch (FPeeked) {
      case TState::jstBeginObject:
        Push(kEmptyObject);
        ++depth;
        break;
      case TState::jstBeginArray:
        Push(kEmptyArray);
        ++depth;
        break;
      case TState::jstEndObject:
      case TState::jstEndArray:
        Pop();
        --depth;
        break;
      case TState::jstDoubleQuoted:
      case TState::jstDoubleQuotedName:
        ScanString();
        break;
      case TState::jstEOF:
        // Nothing more to skip: a truncated document ends here.
        FPeeked = TState::jstNone;
        return;
      default:
        break;
    }
    FPeeked = TState::jstNone;
  } while (depth > 0);
}
