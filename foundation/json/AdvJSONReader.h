#pragma once
// TAdvJSONReader: a pull parser over one JSON document. The caller looks at
// the next token (Peek, HasNext) and consumes it with the matching Read call.
// Every misuse or malformed input raises one of the nested exception classes;
// no input makes it read outside its copy of the text.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Types.h"

class TStream;

// The reader's character source: a private copy of the input bytes.
class TAdvJSONStreamReader : public TObject {
 public:
  class EEndOfInputReached : public Exception {
   public:
    EEndOfInputReached() : Exception(u"End of JSON input reached.") {}
  };

  // Copies Size bytes from the stream's current position (rewind it first):
  // EReadError when fewer are left; a null stream gives an empty copy.
  explicit TAdvJSONStreamReader(TStream* aStream);
  // Copies the given bytes.
  explicit TAdvJSONStreamReader(std::string_view aBytes);

  // The byte at the position, advancing; 0 at the end without advancing.
  Char ReadChar() { return FPos < FData.size() ? static_cast<unsigned char>(FData[FPos++]) : 0; }
  // As ReadChar; raises EEndOfInputReached at the end.
  Char NextChar() {
    if (FPos >= FData.size()) throw EEndOfInputReached();
    return static_cast<unsigned char>(FData[FPos++]);
  }
  // The byte at the position without advancing; 0 at the end.
  Char PeekChar() const { return FPos < FData.size() ? static_cast<unsigned char>(FData[FPos]) : 0; }
  // One position back (never before the start).
  void Backup(Char) {
    if (FPos > 0) --FPos;
  }
  // Count positions forward (never past the end).
  void MoveNext(Integer Count) { FPos = Count <= 0 ? FPos : std::min(FData.size(), FPos + static_cast<std::size_t>(Count)); }
  bool Eof() const { return FPos >= FData.size(); }

  // Direct access for the parser's scanning loops.
  const std::string& Data() const { return FData; }
  std::size_t Position() const { return FPos; }
  void SetPosition(std::size_t p) { FPos = std::min(p, FData.size()); }

 private:
  std::string FData;
  std::size_t FPos = 0;
};

class TAdvJSONReader : public TObject {
 public:
  enum class TAdvJSONState : std::uint8_t {
    jstNone, jstBeginObject, jstEndObject, jstBeginArray, jstEndArray, jstTrue, jstFalse, jstNull,
    jstDoubleQuoted, jstBuffered, jstDoubleQuotedName, jstInt64, jstNumber, jstEOF
  };
  enum class TAdvJSONToken : std::uint8_t {
    jstoBeginObject, jstoEndObject, jstoBeginArray, jstoEndArray, jstoName, jstoBoolean, jstoNull,
    jstoText, jstoNumber, jstoEOF
  };

  class EInvalidStateException : public Exception {
   public:
    explicit EInvalidStateException(TAdvJSONState expected);
  };
  class EUnterminatedArray : public Exception { public: EUnterminatedArray() : Exception(u"Unterminated array") {} };
  class EUnterminatedObject : public Exception { public: EUnterminatedObject() : Exception(u"Unterminated object") {} };
  class ENameExpected : public Exception { public: ENameExpected() : Exception(u"Name expected") {} };
  class EColonExpected : public Exception { public: EColonExpected() : Exception(u"Colon expected") {} };
  class EMultipleRootNotAllowed : public Exception {
   public: EMultipleRootNotAllowed() : Exception(u"Multiple root values not allowed") {}
  };
  class EExpectedValue : public Exception {
   public: EExpectedValue() : Exception(u"Value expected but invalid character found") {}
  };
  class EObjectOrArrayExpected : public Exception {
   public: EObjectOrArrayExpected() : Exception(u"Object or array expected as top-level value") {}
  };
  class ETooManyDepthLevels : public Exception {
   public: ETooManyDepthLevels() : Exception(u"Maximum level of nested structured reached.") {}
  };

  // A reader over a copy of the stream's bytes (see TAdvJSONStreamReader).
  explicit TAdvJSONReader(TStream* AStream);
  // A reader over a copy of the given bytes.
  explicit TAdvJSONReader(std::string_view ABytes);
  ~TAdvJSONReader() override;

  // The next token without consuming it; raises on malformed input.
  TAdvJSONToken Peek();
  // False exactly when the next token ends an object or an array.
  bool HasNext();
  bool IsNull() { return Peek() == TAdvJSONToken::jstoNull; }
  bool Eof() { return Peek() == TAdvJSONToken::jstoEOF; }

  void ReadBeginObject();
  void ReadEndObject();
  void ReadBeginArray();
  void ReadEndArray();
  // The name's text as written between the quotes (escapes not decoded).
  String ReadName();
  // The pending name's text, leaving it pending; EInvalidStateException (10) when no name is next.
  String PeekName();
  // A string value (unescaped), or the text of a number.
  String ReadString();
  bool ReadBoolean();
  void ReadNull();
  // Integers, also from integral numbers and numeric strings; EInvalidStateException (11)
  // when the value has a fraction or does not fit, with its text left for ReadString.
  Integer ReadInteger();
  Int64 ReadInt64();
  // A number, also from an integer or a numeric string; EConvertError on text that is no number.
  Double ReadDouble();
  // Skips one complete value (a pending name alone).
  void SkipValue();

 private:
  static constexpr int kMaxStack = 256;

  TAdvJSONState DoPeek();
  TAdvJSONState PeekValue(std::uint8_t scope);
  TAdvJSONState PeekLiteral(char first);
  TAdvJSONState PeekNumber();
  void Push(std::uint8_t scope);
  void Pop();
  void SkipWhitespace();
  // Consumes up to the closing quote; the raw bytes between the quotes.
  std::string_view ScanString();
  void Expect(TAdvJSONState expected, TAdvJSONState errorState);
  Int64 ReadIntegral(bool thirtyTwo);
  Int64 ConvertBuffered(bool thirtyTwo);

  TAdvJSONStreamReader FReader;
  std::uint8_t FStack[kMaxStack] = {};
  Integer FStackSize = 1;
  TAdvJSONState FPeeked = TAdvJSONState::jstNone;
  Int64 FPeekedInt64 = 0;
  char FPeekedNumber[kMaxStack] = {};
  std::size_t FPeekedNumberLen = 0;
  String FPeekedString;
};

// The bytes of a JSON string or name as text: valid UTF-8 sequences are decoded,
// any other byte stands for the character of the same code (so 8-bit text reads too).
String JSONBytesToString(std::string_view ABytes);
