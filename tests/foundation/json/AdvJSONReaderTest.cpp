#include <gtest/gtest.h>

#include "foundation/json/AdvJSONReader.h"
#include "foundation/utils/AdvUtils.h"

namespace {

using TToken = TAdvJSONReader::TAdvJSONToken;

// Reads the whole document into a token text such as `{ a: "x" 1 }`; an error
// ends the text with "! message".
std::string Tokens(std::string_view doc) {
  TAdvJSONReader r(doc);
  std::string out;
  auto add = [&](const std::string& t) {
    if (!out.empty()) out += ' ';
    out += t;
  };
  try {
    for (int guard = 0; guard < 100000; ++guard) {
      switch (r.Peek()) {
        case TToken::jstoBeginObject: r.ReadBeginObject(); add("{"); break;
        case TToken::jstoEndObject: r.ReadEndObject(); add("}"); break;
        case TToken::jstoBeginArray: r.ReadBeginArray(); add("["); break;
        case TToken::jstoEndArray: r.ReadEndArray(); add("]"); break;
        case TToken::jstoName: add(StringToUtf8(r.ReadName()) + ":"); break;
        case TToken::jstoBoolean: add(r.ReadBoolean() ? "true" : "false"); break;
        case TToken::jstoNull: r.ReadNull(); add("null"); break;
        case TToken::jstoText: add("\"" + StringToUtf8(r.ReadString()) + "\""); break;
        case TToken::jstoNumber: add(StringToUtf8(r.ReadString())); break;
        case TToken::jstoEOF: add("EOF"); return out;
      }
    }
    add("! runaway");
  } catch (const Exception& e) {
    add("! " + StringToUtf8(e.Message()));
  }
  return out;
}

template <class F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const Exception& e) {
    return StringToUtf8(e.Message());
  }
  return "no error";
}

TEST(AdvJSONReader, TokenSequences) {
  struct Case { std::string doc; std::string tokens; };
  const Case cases[] = {
      {"{}", "{ } EOF"},
      {"[]", "[ ] EOF"},
      {" {} \r\n\t\f", "{ } EOF"},
      {"{\"a\":1,\"b\":[true,false,null],\"c\":{\"d\":\"x\"}}",
       "{ a: 1 b: [ true false null ] c: { d: \"x\" } } EOF"},
      {" [ 1 , \"a\" , { } , [ ] ] ", "[ 1 \"a\" { } [ ] ] EOF"},
      {"[1\t,\n2\r]", "[ 1 2 ] EOF"},
      {"{ \"a\" : 1 , \"b\" : 2 }", "{ a: 1 b: 2 } EOF"},
      {"[TRUE,False,nULL]", "[ true false null ] EOF"},
      {"[0,-0,0.5,1e5,1E+5,-1.25e-3,9223372036854775807,-9223372036854775808]",
       "[ 0 0 0.5 1e5 1E+5 -1.25e-3 9223372036854775807 -9223372036854775808 ] EOF"},
      {"[\"  lead\"]", "[ \"  lead\" ] EOF"},
      {"[\"a\\\\\"]", "[ \"a\\\" ] EOF"},  // an escaped backslash before the closing quote
      {"[\"q\\\"q\"]", "[ \"q\"q\" ] EOF"},
      {"[\"\\u00e9\xC3\xA9\"]", "[ \"\xC3\xA9\xC3\xA9\" ] EOF"},  // escapes and UTF-8 decode alike
      {"[\"\xE9\"]", "[ \"\xC3\xA9\" ] EOF"},                       // a lone 8-bit byte stands for itself
      {"{\"a\\u0041\":\"a\\u0041\"}", "{ a\\u0041: \"aA\" } EOF"},  // names keep their escapes
      {"[1,2", "[ 1 ! End of JSON input reached."},  // a number needs its terminator
      {"[1,2 ", "[ 1 2 ! Unterminated array"},
      {"[1 2]", "[ 1 ! Unterminated array"},
      {"{\"a\":1 \"b\":2}", "{ a: 1 ! Unterminated object"},
      {"[\"abc", "[ \"abc\" ! Unterminated array"},  // an unterminated string ends with the input
  };
  for (const auto& c : cases) EXPECT_EQ(Tokens(c.doc), c.tokens) << c.doc;
}

TEST(AdvJSONReader, Errors) {
  struct Case { std::string doc; std::string tokens; };
  const Case cases[] = {
      {"", "! Object or array expected as top-level value"},
      {"   ", "! Object or array expected as top-level value"},
      {"\"text\"", "! Object or array expected as top-level value"},
      {"42", "! Object or array expected as top-level value"},
      {"true", "! Object or array expected as top-level value"},
      {"]", "! Value expected but invalid character found"},
      {"{} x", "{ } ! Multiple root values not allowed"},
      {"{}{}", "{ } ! Multiple root values not allowed"},
      {std::string("{}\0", 3), "{ } ! Multiple root values not allowed"},  // a NUL is not the end
      {std::string("[\0]", 3), "[ ! Value expected but invalid character found"},
      {"[tru]", "[ ! Value expected but invalid character found"},
      {"[truex]", "[ ! Value expected but invalid character found"},
      {"[true\"]", "[ ! Value expected but invalid character found"},
      {"[tr", "[ ! End of JSON input reached."},
      {"[01]", "[ ! Value expected but invalid character found"},
      {"[-01]", "[ ! Value expected but invalid character found"},
      {"[1.]", "[ ! Value expected but invalid character found"},
      {"[-]", "[ ! Value expected but invalid character found"},
      {"[1e]", "[ ! Value expected but invalid character found"},
      {"[1e+]", "[ ! Value expected but invalid character found"},
      {"[.5]", "[ ! Value expected but invalid character found"},
      {"[+1]", "[ ! Value expected but invalid character found"},
      {"[1x]", "[ ! Value expected but invalid character found"},
      {"[1\"]", "[ ! Value expected but invalid character found"},
      {"[1", "[ ! End of JSON input reached."},
      {"[1,]", "[ 1 ! Value expected but invalid character found"},
      {"[,1]", "[ ! Value expected but invalid character found"},
      {"{\"a\":1,}", "{ a: 1 ! Name expected"},
      {"{,}", "{ ! Name expected"},
      {"{a:1}", "{ ! Name expected"},
      {"{\"a\" 1}", "{ a: ! Colon expected"},
      {"{\"a\"", "{ a: ! Colon expected"},
      {"{\"a\":}", "{ a: ! Value expected but invalid character found"},
      {"{\"a\":", "{ a: ! Value expected but invalid character found"},
      {"[", "[ ! Value expected but invalid character found"},
      {"{", "{ ! Name expected"},
  };
  for (const auto& c : cases) EXPECT_EQ(Tokens(c.doc), c.tokens) << c.doc;
}

TEST(AdvJSONReader, NestingLimit) {
  EXPECT_EQ(Tokens(std::string(255, '[') + std::string(255, ']')).substr(0, 4), "[ [ ");
  EXPECT_EQ(Tokens(std::string(255, '[') + std::string(255, ']')).substr(2 * 510 - 2), "] EOF");
  const std::string deep = Tokens(std::string(256, '[') + std::string(256, ']'));
  EXPECT_EQ(deep.substr(deep.find('!')), "! Maximum level of nested structured reached.");
  EXPECT_EQ(deep.find('!'), 2u * 255);
  // Far deeper input fails the same way, without recursion or growth.
  const std::string deeper = Tokens(std::string(1000000, '{'));
  EXPECT_NE(deeper.find("! Name expected"), std::string::npos);
  EXPECT_NE(Tokens(std::string(1000000, '[')).find("! Maximum level"), std::string::npos);
}

TEST(AdvJSONReader, NumberLengthLimit) {
  const std::string ok = "[" + std::string(254, '1') + "]";
  EXPECT_EQ(Tokens(ok), "[ " + std::string(254, '1') + " ] EOF");
  const std::string tooLong = "[" + std::string(255, '1') + "]";
  EXPECT_EQ(Tokens(tooLong), "[ ! Value expected but invalid character found");
}

TEST(AdvJSONReader, IntegerReads) {
  {
    TAdvJSONReader r("[9223372036854775807, 9223372036854775808, 4294967296, 3.0, 3.5, \"42\", 42, 1e400]");
    r.ReadBeginArray();
    EXPECT_EQ(r.ReadInt64(), 9223372036854775807LL);
    EXPECT_EQ(ErrorOf([&] { r.ReadInt64(); }), "Invalid Json parser state. Expected state: 11");
    EXPECT_EQ(r.ReadString(), u"9223372036854775808");  // the text stays available
    EXPECT_EQ(ErrorOf([&] { r.ReadInteger(); }), "Invalid Json parser state. Expected state: 11");
    EXPECT_EQ(r.ReadInt64(), 4294967296LL);
    EXPECT_EQ(r.ReadInteger(), 3);
    EXPECT_EQ(ErrorOf([&] { r.ReadInteger(); }), "Invalid Json parser state. Expected state: 11");
    EXPECT_EQ(r.ReadString(), u"3.5");
    EXPECT_EQ(r.ReadInteger(), 42);
    EXPECT_EQ(r.ReadString(), u"42");
    EXPECT_EQ(ErrorOf([&] { r.ReadInt64(); }), "'1e400' is not a valid floating point value");
    EXPECT_EQ(r.ReadString(), u"1e400");
    r.ReadEndArray();
    EXPECT_TRUE(r.Eof());
  }
  {
    TAdvJSONReader r("[-2147483648, -2147483649, \"abc\", \"7.0\", 1e300, true]");
    r.ReadBeginArray();
    EXPECT_EQ(r.ReadInteger(), -2147483648);
    EXPECT_EQ(ErrorOf([&] { r.ReadInteger(); }), "Invalid Json parser state. Expected state: 11");
    EXPECT_EQ(r.ReadInt64(), -2147483649LL);
    EXPECT_THROW(r.ReadInteger(), EConvertError);
    EXPECT_EQ(r.ReadString(), u"abc");
    EXPECT_EQ(r.ReadInt64(), 7);
    // Far outside the 64-bit range: refused, never an undefined conversion.
    EXPECT_EQ(ErrorOf([&] { r.ReadInt64(); }), "Invalid Json parser state. Expected state: 11");
    EXPECT_EQ(r.ReadString(), u"1e300");
    EXPECT_EQ(ErrorOf([&] { r.ReadInt64(); }), "Invalid Json parser state. Expected state: 11");
    EXPECT_TRUE(r.ReadBoolean());
  }
}

TEST(AdvJSONReader, DoubleAndStateChecks) {
  TAdvJSONReader r("{\"a\":1.5,\"b\":7,\"c\":\"2.5\",\"d\":\"x\",\"e\":null}");
  EXPECT_EQ(ErrorOf([&] { r.ReadBeginArray(); }), "Invalid Json parser state. Expected state: 3");
  r.ReadBeginObject();
  EXPECT_EQ(ErrorOf([&] { r.ReadString(); }), "Invalid Json parser state. Expected state: 8");
  EXPECT_EQ(r.PeekName(), u"a");
  EXPECT_EQ(r.PeekName(), u"a");
  EXPECT_EQ(r.ReadName(), u"a");
  EXPECT_EQ(ErrorOf([&] { r.ReadBoolean(); }), "Invalid Json parser state. Expected state: 5");
  EXPECT_DOUBLE_EQ(r.ReadDouble(), 1.5);
  r.ReadName();
  EXPECT_DOUBLE_EQ(r.ReadDouble(), 7.0);
  r.ReadName();
  EXPECT_DOUBLE_EQ(r.ReadDouble(), 2.5);
  r.ReadName();
  EXPECT_THROW(r.ReadDouble(), EConvertError);
  EXPECT_EQ(r.ReadString(), u"x");
  EXPECT_TRUE(r.HasNext());
  r.ReadName();
  EXPECT_TRUE(r.IsNull());
  EXPECT_EQ(ErrorOf([&] { r.ReadDouble(); }), "Invalid Json parser state. Expected state: 12");
  EXPECT_EQ(ErrorOf([&] { r.ReadEndObject(); }), "Invalid Json parser state. Expected state: 2");
  r.ReadNull();
  EXPECT_FALSE(r.HasNext());
  r.ReadEndObject();
  EXPECT_TRUE(r.Eof());
}

TEST(AdvJSONReader, SkipValue) {
  TAdvJSONReader r("{\"a\":{\"x\":[1,{\"y\":\"]}\"}],\"z\":null},\"b\":\"s\\\"}\",\"c\":[],\"d\":2}");
  r.ReadBeginObject();
  EXPECT_EQ(r.ReadName(), u"a");
  r.SkipValue();
  EXPECT_EQ(r.ReadName(), u"b");
  r.SkipValue();
  r.SkipValue();  // a name alone
  r.SkipValue();  // its value
  EXPECT_EQ(r.ReadName(), u"d");
  EXPECT_EQ(r.ReadInteger(), 2);
  r.ReadEndObject();
  EXPECT_TRUE(r.Eof());
  r.SkipValue();  // nothing left: harmless
  EXPECT_TRUE(r.Eof());
}

TEST(AdvJSONReader, StreamReaderPrimitives) {
  TAdvJSONStreamReader s("ab");
  EXPECT_EQ(s.PeekChar(), u'a');
  EXPECT_EQ(s.ReadChar(), u'a');
  EXPECT_EQ(s.NextChar(), u'b');
  EXPECT_TRUE(s.Eof());
  EXPECT_EQ(s.ReadChar(), 0);
  EXPECT_EQ(s.PeekChar(), 0);
  EXPECT_THROW(s.NextChar(), TAdvJSONStreamReader::EEndOfInputReached);
  s.Backup(0);
  EXPECT_EQ(s.PeekChar(), u'b');
  s.MoveNext(100);
  EXPECT_TRUE(s.Eof());
}

}  // namespace
