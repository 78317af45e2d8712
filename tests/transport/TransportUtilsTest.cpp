#include <gtest/gtest.h>

#include "transport/TransportUtils.h"

namespace {

TEST(TickSpan, WrapsOnceAndOrdersPlainDistances) {
  struct Case { Cardinal older, newer, span; };
  const Case cases[] = {
      {5, 5, 0},
      {100, 140, 40},
      {100, 40, 60},                 // older above newer without a wrap: plain distance
      {0xFFFFFF00u, 0x00000100u, 0x200},
      {0xFFFFFFFFu, 0, 1},
      {0, 0xFFFFFFFFu, 0xFFFFFFFFu},
  };
  for (const Case& c : cases) EXPECT_EQ(TickSpan(c.older, c.newer), c.span) << c.older << " -> " << c.newer;
}

TEST(Fetch, WalksFieldsAndTrimsOnlySpaces) {
  struct Case { String value, delimiter, result, rest; };
  const Case cases[] = {
      {u"ver: 1.2 bld: 34", u"bld:", u"ver: 1.2", u"34"},
      {u"  a , b", u",", u"a", u"b"},
      {u"", u",", u"", u""},
      {u"abc", u",", u"abc", u""},
      {u"  abc  ", u"x", u"abc", u""},
      {u"a::b::c", u"::", u"a", u"b::c"},
      {u"\ta ,b", u",", u"\ta", u"b"},
      {u",b", u",", u"", u"b"},
  };
  for (const Case& c : cases) {
    String value = c.value;
    EXPECT_EQ(Fetch(value, c.delimiter), c.result);
    EXPECT_EQ(value, c.rest);
  }
}

TEST(Fetch, CommaListThenEmptyForever) {
  String list = u"&128, 1E00 ,atmega88,12000000,2.1";
  EXPECT_EQ(Fetch(list, u"&"), u"");
  const String expected[] = {u"128", u"1E00", u"atmega88", u"12000000", u"2.1", u"", u""};
  for (const String& e : expected) EXPECT_EQ(Fetch(list, u","), e);
}

TEST(FetchUntrimmed, KeepsSpacesAndEmptiesWithoutDelimiter) {
  String value = u" a , b ";
  EXPECT_EQ(FetchUntrimmed(value, u","), u" a ");
  EXPECT_EQ(value, u" b ");
  EXPECT_EQ(FetchUntrimmed(value, u","), u" b ");
  EXPECT_EQ(value, u"");
}

TEST(TextRoutines, TrimBeforeAfterCount) {
  EXPECT_EQ(TrimSpaces(u"\t a \t "), u"\t a \t");
  EXPECT_EQ(TrimSpacesLeft(u"  a "), u"a ");
  EXPECT_EQ(TrimSpacesRight(u"  a "), u"  a");
  EXPECT_EQ(TrimSpaces(u"   "), u"");
  EXPECT_EQ(TextBefore(u"key=value=x", u"="), u"key");
  EXPECT_EQ(TextAfter(u"key=value=x", u"="), u"value=x");
  EXPECT_EQ(TextBefore(u"none", u"="), u"none");
  EXPECT_EQ(TextAfter(u"none", u"="), u"none");
  EXPECT_EQ(CountChar(u"a,b,,c", u','), 3);
}

TEST(ReplaceAllBytes, LeftToRightWithoutRescanning) {
  struct Case { std::string value, search, replacement, result; };
  const Case cases[] = {
      {"aaa", "a", "aa", "aaaaaa"},
      {"abab", "ab", "b", "bb"},
      {"aaaa", "aa", "a", "aa"},
      {"", "a", "b", ""},
      {"abc", "", "x", "abc"},
      {std::string("a\0b\0", 4), std::string("\0", 1), "-", "a-b-"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReplaceAllBytes(c.value, c.search, c.replacement), c.result);
}

TEST(FindLineBreak, PairsAndSingles) {
  struct Case { std::string value; Integer position; std::string lineBreak; };
  const Case cases[] = {
      {"ab\r", 3, "\r"},        // at the very end: single
      {"ab\r\ncd", 3, "\r\n"},
      {"ab\n\rcd", 3, "\n\r"},
      {"a\n\nb", 2, "\n"},      // LF LF is two breaks
      {"abc", -1, ""},
      {"", -1, ""},
  };
  for (const Case& c : cases) {
    std::string lineBreak = "junk";
    EXPECT_EQ(FindLineBreak(c.value, lineBreak), c.position);
    EXPECT_EQ(lineBreak, c.lineBreak);
  }
}

TEST(BytePacking, BigEndianAndBounds) {
  EXPECT_EQ(WordToBytesBE(0x1234), std::string("\x12\x34"));
  EXPECT_EQ(LongToBytesBE(0x01020304u), std::string("\x01\x02\x03\x04"));
  EXPECT_EQ(ReverseBytes32(0x01020304u), 0x04030201u);
  const std::string bytes("\xAB\xCD\xEF", 3);
  EXPECT_EQ(BytesToWordBE(bytes, 1), 0xABCD);
  EXPECT_EQ(BytesToWordBE(bytes, 2), 0xCDEF);
  EXPECT_EQ(BytesToWordBE(bytes, 3), 0);    // one byte left
  EXPECT_EQ(BytesToWordBE(bytes, 0), 0);
  EXPECT_EQ(BytesToWordBE(bytes, -5), 0);
  EXPECT_EQ(BytesToWordBE("\x7F", 1), 0);
  const char data[4] = {};
  EXPECT_EQ(OffsetPointer(data, 3), data + 3);
}

TEST(WriteBytesToStream, WritesAtThePosition) {
  TBytesStream stream(TBytes{'x', 'y', 'z', 'w'});
  stream.SetPosition(1);
  WriteBytesToStream(stream, std::string("a\0", 2));
  WriteBytesToStream(stream, "");
  EXPECT_EQ(stream.Bytes(), (TBytes{'x', 'a', 0, 'w'}));
}

}  // namespace
