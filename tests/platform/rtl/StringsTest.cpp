#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Strings.h"
#include "tests/support/TestUtil.h"

namespace {

using test_support::MessageOf;
using test_support::Lines;

using namespace std::string_literals;

TEST(StringList, TextSplitsOnEveryLineBreakAndJoinsWithCrLf) {
  struct Case { String text; std::vector<String> lines; };
  const Case cases[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\nb\nc\rd", {u"a", u"b", u"c", u"d"}},
      {u"a\r\n", {u"a"}},
      {u"\r\n", {u""}},
      {u"a\r\n\r\n", {u"a", u""}},
      {u"a\n\rb", {u"a", u"", u"b"}},   // LF CR is two breaks
      {u"\r\r\n\n", {u"", u"", u""}},
      {String(u"x\0y\nz", 5), {String(u"x\0y", 3), u"z"}},  // NUL is an ordinary character
  };
  for (const auto& c : cases) {
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(Lines(list), c.lines) << StringToUtf8(c.text);
  }
  TStringList list;
  list.SetText(u"a\nb");
  EXPECT_EQ(list.Text(), u"a\r\nb\r\n");
}

TEST(StringList, CommaTextQuotesWhatWouldNotSurviveAndRoundTrips) {
  struct Case { std::vector<String> lines; String comma; };
  const Case cases[] = {
      {{}, u""},
      {{u""}, u"\"\""},
      {{u"a", u"b"}, u"a,b"},
      {{u"a", u"", u"b"}, u"a,,b"},
      {{u"a", u""}, u"a,"},
      {{u"", u""}, u","},
      {{u"a b", u"c,d", u"say \"hi\""}, u"\"a b\",\"c,d\",\"say \"\"hi\"\"\""},
      {{u" lead", u"tab\t"}, u"\" lead\",\"tab\t\""},
  };
  for (const auto& c : cases) {
    TStringList list;
    for (const auto& s : c.lines) list.Add(s);
    EXPECT_EQ(list.CommaText(), c.comma);
    TStringList back;
    back.SetCommaText(c.comma);
    EXPECT_EQ(Lines(back), c.lines) << StringToUtf8(c.comma);
  }
}

TEST(StringList, DelimitedTextParsing) {
  struct Case { String text; Char delimiter; bool strict; std::vector<String> lines; };
  const Case cases[] = {
      {u"a b,c", u',', false, {u"a", u"b", u"c"}},          // blanks separate when not strict
      {u"a b,c", u',', true, {u"a b", u"c"}},
      {u"  a ,  b  ", u',', false, {u"a", u"b"}},
      {u" a ; b ", u';', true, {u" a ", u" b "}},
      {u"\"unterminated, still", u',', false, {u"unterminated, still"}},
      {u"\"a\"b,c", u',', false, {u"a", u"b", u"c"}},       // text after a closing quote starts a new item
      {u"x:\"y:z\":", u':', true, {u"x", u"y:z", u""}},
      {u"\"\"", u',', false, {u""}},
      {String(u"a,b\0c,d", 7), u',', false, {u"a", u"b"}},  // a NUL ends the text
      {String(u"\0", 1), u',', true, {}},
  };
  for (const auto& c : cases) {
    TStringList list;
    list.SetDelimiter(c.delimiter);
    list.SetStrictDelimiter(c.strict);
    list.SetDelimitedText(c.text);
    EXPECT_EQ(Lines(list), c.lines) << StringToUtf8(c.text);
  }
  TStringList strict;
  strict.SetDelimiter(u';');
  strict.SetStrictDelimiter(true);
  strict.Add(u"a b");
  strict.Add(u"c;d");
  EXPECT_EQ(strict.DelimitedText(), u"a b;\"c;d\"");
  EXPECT_EQ(strict.CommaText(), u"\"a b\",c;d");  // CommaText ignores the settings
}

TEST(StringList, NamesAndValues) {
  TStringList list;
  list.SetText(u"Port=COM3\nnovalue\nspeed=115200\nempty=\nport=COM9\nexpr=a=b");
  EXPECT_EQ(list.Values(u"PORT"), u"COM3");  // first match, case-insensitive
  EXPECT_EQ(list.IndexOfName(u"speed"), 2);
  EXPECT_EQ(list.IndexOfName(u"novalue"), -1);
  EXPECT_EQ(list.Names(1), u"");
  EXPECT_EQ(list.ValueFromIndex(1), u"");
  EXPECT_EQ(list.Names(5), u"expr");
  EXPECT_EQ(list.ValueFromIndex(5), u"a=b");
  EXPECT_EQ(list.Values(u"empty"), u"");
  EXPECT_EQ(list.Values(u"missing"), u"");

  list.SetValues(u"speed", u"9600");
  EXPECT_EQ(list.Strings(2), u"speed=9600");
  list.SetValues(u"new", u"1");
  EXPECT_EQ(list.Strings(list.Count() - 1), u"new=1");
  list.SetValues(u"port", u"");  // removes the first "port" line only
  EXPECT_EQ(list.Values(u"port"), u"COM9");
  list.SetValues(u"absent", u"");
  EXPECT_EQ(list.Count(), 6);

  list.SetNameValueSeparator(u':');
  list.SetText(u"a:1\nb=2");
  EXPECT_EQ(list.Values(u"a"), u"1");
  EXPECT_EQ(list.Values(u"b"), u"");
}

TEST(StringList, SortedListsPlaceFindAndRefuse) {
  TStringList list;
  list.SetSorted(true);
  for (const char16_t* s : {u"delta", u"Alpha", u"charlie", u"bravo"}) list.Add(s);
  EXPECT_EQ(Lines(list), (std::vector<String>{u"Alpha", u"bravo", u"charlie", u"delta"}));

  Integer index = -7;
  EXPECT_TRUE(list.Find(u"CHARLIE", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find(u"b", index));
  EXPECT_EQ(index, 1);  // where it would go
  EXPECT_FALSE(list.Find(u"zulu", index));
  EXPECT_EQ(index, 4);
  EXPECT_EQ(list.IndexOf(u"ALPHA"), 0);
  EXPECT_EQ(list.IndexOf(u"echo"), -1);

  // dupIgnore (the default) answers the existing index and adds nothing.
  EXPECT_EQ(list.Add(u"BRAVO"), 1);
  EXPECT_EQ(list.Count(), 4);
  list.SetDuplicates(dupError);
  EXPECT_EQ(MessageOf([&] { list.Add(u"Delta"); }), u"EStringListError: String list does not allow duplicates");
  list.SetDuplicates(dupAccept);
  list.Add(u"Bravo");
  EXPECT_EQ(list.Count(), 5);
  EXPECT_TRUE(list.Find(u"bravo", index));
  EXPECT_EQ(index, 1);  // the first of the equal lines

  const String refused = u"EStringListError: Operation not allowed on sorted list";
  EXPECT_EQ(MessageOf([&] { list.Insert(0, u"x"); }), refused);
  EXPECT_EQ(MessageOf([&] { list.SetStrings(0, u"x"); }), refused);
  EXPECT_EQ(MessageOf([&] { list.Exchange(0, 1); }), refused);
  EXPECT_EQ(MessageOf([&] { list.Move(0, 1); }), refused);
  EXPECT_EQ(list.Count(), 5);  // nothing lost by a refused Move

  list.SetCaseSensitive(true);  // re-sorted ordinally: upper case first
  EXPECT_EQ(list.Strings(0), u"Alpha");
  EXPECT_EQ(list.Strings(1), u"Bravo");
  EXPECT_EQ(list.IndexOf(u"ALPHA"), -1);
}

TEST(StringList, UnsortedListsAcceptDuplicatesAndSortStably) {
  TStringList list;
  list.SetDuplicates(dupError);  // only matters when sorted
  list.Add(u"b");
  list.Add(u"B");
  list.Add(u"a");
  list.Add(u"b");
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.IndexOf(u"B"), 0);
  list.Sort();
  EXPECT_EQ(Lines(list), (std::vector<String>{u"a", u"b", u"B", u"b"}));

  // Custom order: by length, longest first; the comparison sees the list as it stands.
  list.SetText(u"ccc\na\nbb\ndddd");
  list.CustomSort([](TStringList* l, Integer i, Integer j) {
    return static_cast<int>(l->Strings(j).size()) - static_cast<int>(l->Strings(i).size());
  });
  EXPECT_EQ(Lines(list), (std::vector<String>{u"dddd", u"ccc", u"bb", u"a"}));
  // A comparison that is no order at all must not break anything.
  list.CustomSort([](TStringList*, Integer, Integer) { return -1; });
  EXPECT_EQ(list.Count(), 4);
}

TEST(StringList, EditingAndIndexErrors) {
  TStringList list;
  int tag1 = 1, tag2 = 2;
  auto* o1 = reinterpret_cast<TObject*>(&tag1);
  auto* o2 = reinterpret_cast<TObject*>(&tag2);
  list.AddObject(u"one", o1);
  list.Add(u"two");
  list.InsertObject(0, u"zero", o2);
  list.Insert(3, u"three");
  EXPECT_EQ(Lines(list), (std::vector<String>{u"zero", u"one", u"two", u"three"}));
  EXPECT_EQ(list.IndexOfObject(o1), 1);
  list.Exchange(0, 3);
  EXPECT_EQ(list.Objects(3), o2);
  list.Move(0, 2);
  EXPECT_EQ(Lines(list), (std::vector<String>{u"one", u"two", u"three", u"zero"}));
  EXPECT_EQ(list.Objects(0), o1);
  list.Delete(1);
  EXPECT_EQ(list.Text(), u"one\r\nthree\r\nzero\r\n");

  const struct { const char* what; std::function<void()> fn; String message; } errors[] = {
      {"get", [&] { list.Strings(3); }, u"EStringListError: List index out of bounds (3)"},
      {"get negative", [&] { list.Strings(-1); }, u"EStringListError: List index out of bounds (-1)"},
      {"insert past end", [&] { list.Insert(4, u"x"); }, u"EStringListError: List index out of bounds (4)"},
      {"delete", [&] { list.Delete(3); }, u"EStringListError: List index out of bounds (3)"},
      {"objects", [&] { list.Objects(9); }, u"EStringListError: List index out of bounds (9)"},
      {"move target", [&] { list.Move(0, 3); }, u"EStringListError: List index out of bounds (3)"},
      {"exchange", [&] { list.Exchange(2, 5); }, u"EStringListError: List index out of bounds (5)"},
  };
  for (const auto& e : errors) EXPECT_EQ(MessageOf(e.fn), e.message) << e.what;
  EXPECT_EQ(list.Count(), 3);  // a refused Move loses nothing
}

TEST(StringList, ChangeEventsAndUpdateBrackets) {
  TStringList list;
  std::vector<std::string> events;
  list.OnChanging = [&](TObject* sender) { EXPECT_EQ(sender, &list); events.push_back("changing"); };
  list.OnChange = [&](TObject*) { events.push_back("change"); };
  list.Add(u"a");
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change"}));
  events.clear();
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add(u"b");
  list.SetText(u"x\ny\nz");
  list.EndUpdate();
  EXPECT_EQ(events, (std::vector<std::string>{"changing"}));
  list.EndUpdate();
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change"}));
  events.clear();
  list.EndUpdate();  // unbalanced: ignored
  list.Clear();
  list.Clear();  // already empty: no events
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change"}));
}

TEST(StringList, AssignEqualsAndAddStrings) {
  TStringList a;
  a.SetText(u"x\ny");
  a.SetDelimiter(u';');
  TStringList b;
  b.Add(u"old");
  b.Assign(&a);
  EXPECT_TRUE(b.Equals(&a));
  EXPECT_EQ(b.Delimiter(), u';');
  b.SetStrings(1, u"Y");
  EXPECT_FALSE(b.Equals(&a));  // exact comparison
  b.AddStrings(&b);
  EXPECT_EQ(b.Count(), 4);
  EXPECT_EQ(MessageOf([&] { TStringList c; c.Assign(nullptr); }),
            u"EConvertError: Cannot assign a nil to a TStringList");
}

TEST(StringList, LoadDetectsEncodingAndSaveKeepsIt) {
  struct Case { std::string bytes; std::vector<String> lines; std::string saved; };
  const Case cases[] = {
      {"a\xC3\xA9\r\nb"s, {u"a\u00E9", u"b"s}, "a\xC3\xA9\r\nb\r\n"s},                     // UTF-8, no BOM
      {"\xEF\xBB\xBFz\n"s, {u"z"s}, "\xEF\xBB\xBFz\r\n"s},                                // UTF-8 BOM kept
      {"\xFF\xFE" "a\0\n\0\xAC\x20"s, {u"a", u"\u20AC"s}, "\xFF\xFE" "a\0\r\0\n\0\xAC\x20\r\0\n\0"s},
      {"\xFE\xFF\0a\0\n\0b"s, {u"a", u"b"s}, "\xFE\xFF\0a\0\r\0\n\0b\0\r\0\n"s},
      {"caf\xE9 \x80"s, {u"caf\u00E9 \u20AC"s}, "caf\xE9 \x80\r\n"s},                     // not UTF-8: ANSI
  };
  for (const auto& c : cases) {
    const std::string bytes(c.bytes.data(), c.bytes.size());
    TBytesStream in(TBytes(bytes.begin(), bytes.end()));
    TStringList list;
    list.LoadFromStream(&in);
    EXPECT_EQ(Lines(list), c.lines);
    TBytesStream out;
    list.SaveToStream(&out);
    EXPECT_EQ(std::string(out.Bytes().begin(), out.Bytes().end()), c.saved);
  }
}

TEST(StringList, SaveEncodingChoices) {
  TStringList list;
  list.Add(u"\u00E9\u20AC\u4E2D");
  const auto save = [&](TEncoding* encoding) {
    TBytesStream out;
    list.SaveToStream(&out, encoding);
    return std::string(out.Bytes().begin(), out.Bytes().end());
  };
  EXPECT_EQ(save(nullptr), "\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD\r\n");
  EXPECT_EQ(save(TEncoding::UTF8()), "\xEF\xBB\xBF\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD\r\n");
  EXPECT_EQ(save(TEncoding::ANSI()), "\xE9\x80?\r\n");
  list.SetWriteBOM(false);
  EXPECT_EQ(save(TEncoding::UTF8()), "\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD\r\n");

  // An explicit encoding skips its own BOM but does not take another's.
  const std::string bytes = "\xEF\xBB\xBFx";
  TBytesStream in(TBytes(bytes.begin(), bytes.end()));
  list.LoadFromStream(&in, TEncoding::ANSI());
  EXPECT_EQ(list.Strings(0), u"\u00EF\u00BB\u00BFx");
}

}  // namespace
