#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "platform/rtl/Encoding.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Types.h"

namespace {

TEST(Utf, RoundTripsAllPlanes) {
  const std::string text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // A é € 😀
  const String wide = Utf8ToString(text);
  EXPECT_EQ(wide, u"A\u00E9\u20AC\U0001F600");
  EXPECT_EQ(StringToUtf8(wide), text);
}

TEST(Utf, InvalidInputBecomesReplacementCharacters) {
  struct Case { std::string in; String out; };
  const Case cases[] = {
      {"\xFF", u"\uFFFD"},
      {"a\xC3", u"a\uFFFD"},               // truncated sequence
      {"\xC3(", u"\uFFFD("},               // bad continuation keeps the next byte
      {"\xC0\xAF", u"\uFFFD"},             // overlong
      {"\xED\xA0\x80", u"\uFFFD"},         // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD"},     // above U+10FFFF
      {std::string("a\0b", 3), String(u"a\0b", 3)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToString(c.in), c.out) << c.in;
    // Validation and decoding agree on what is UTF-8.
    const bool valid = c.out.find(u'\uFFFD') == String::npos;
    EXPECT_EQ(TEncoding::IsValidUtf8(reinterpret_cast<const std::uint8_t*>(c.in.data()), c.in.size()), valid) << c.in;
  }
  EXPECT_EQ(StringToUtf8(String(1, Char(0xD800))), "\xEF\xBF\xBD");  // lone surrogate
}

TEST(Utf, DecodingOneSequenceSaysWhereTheNextBegins) {
  struct Case { std::string in; bool ok; std::size_t next; char32_t cp; };
  const Case cases[] = {
      {"A", true, 1, U'A'},
      {"\xF0\x9F\x98\x80!", true, 4, U'\U0001F600'},
      {"\x80x", false, 1, 0},             // stray continuation byte
      {"\xE2\x82(", false, 2, 0},         // broken at the third byte: resume there
      {"\xE2\x82", false, 2, 0},          // truncated at the end
      {"\xE0\x80\x80x", false, 3, 0},     // overlong: the whole sequence goes
  };
  for (const auto& c : cases) {
    std::size_t pos = 0;
    char32_t cp = 0;
    EXPECT_EQ(DecodeUtf8(c.in, pos, cp), c.ok) << c.in;
    EXPECT_EQ(pos, c.next) << c.in;
    if (c.ok) {
      EXPECT_EQ(cp, c.cp) << c.in;
    }
  }
}

TEST(Exceptions, CurrentExceptionText) {
  EXPECT_EQ(CurrentExceptionMessage(), u"");  // outside a handler
  const auto textOf = [](const std::function<void()>& raise, bool report) {
    try {
      raise();
    } catch (...) {
      return report ? CurrentExceptionReport() : CurrentExceptionMessage();
    }
    return String(u"nothing raised");
  };
  EXPECT_EQ(textOf([] { throw EConvertError(u"bad \u20AC"); }, false), u"bad \u20AC");
  EXPECT_EQ(textOf([] { throw EConvertError(u"bad \u20AC"); }, true), u"EConvertError: bad \u20AC");
  EXPECT_EQ(textOf([] { throw std::runtime_error("caf\xC3\xA9"); }, true), u"caf\u00E9");
  EXPECT_EQ(textOf([] { throw 42; }, false), u"unknown exception");
}

TEST(StrUtils, CaseAndTrim) {
  EXPECT_EQ(UpperCase(u"abc\u00E9"), u"ABC\u00E9");
  EXPECT_EQ(AnsiUpperCase(u"abc\u00E9"), u"ABC\u00C9");
  EXPECT_TRUE(SameText(u"Hello", u"hELLO"));
  EXPECT_FALSE(SameText(u"Hello", u"Hell"));
  EXPECT_LT(CompareText(u"abc", u"ABD"), 0);
  EXPECT_GT(CompareStr(u"b", u"a"), 0);
  EXPECT_EQ(Trim(u" \t\r\nx y\x01 "), u"x y");
  EXPECT_EQ(TrimLeft(u"  x "), u"x ");
  EXPECT_EQ(TrimRight(u"  x "), u"  x");
}

class TSample : public TObject {};
namespace inner { class TNested : public TSample {}; }

TEST(Object, ClassNamesAndCasts) {
  inner::TNested nested;
  TObject& obj = nested;
  EXPECT_EQ(obj.ClassName(), u"TNested");
  EXPECT_TRUE(obj.ClassNameIs(u"tnested"));
  EXPECT_TRUE(obj.Is<TSample>());
  EXPECT_EQ(As<TSample>(&obj), &nested);
  TObject plain;
  EXPECT_THROW(As<TSample>(&plain), EInvalidCast);
  EXPECT_EQ(As<TSample>(static_cast<TObject*>(nullptr)), nullptr);
  EXPECT_EQ(EConvertError(u"x").ClassName(), u"EConvertError");
}

}  // namespace
