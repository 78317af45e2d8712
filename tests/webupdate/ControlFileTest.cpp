// The control-file value rules and placeholder expansion.
#include "webupdate/ControlFile.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/testing/TempHome.h"
#include "webupdate/WebUpdate.h"

namespace {

std::unique_ptr<TControlFile> Parse(const std::string& text) {
  return TControlFile::FromBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

TEST(ControlFileTest, IntegerValuesFollowTheTable) {
  auto ini = Parse(
      "[Update]\nnewchecksum=0x10\nnewsize=abc\nhex=$1F\nneg=-5\nbig=99999999999\nall=$FFFFFFFF\nsp= 42 \n"
      "mixed=12abc\nempty=\n");
  struct Case {
    const Char* key;
    Integer expected;
  } cases[] = {
      {u"newchecksum", 16}, {u"newsize", 7}, {u"hex", 31},   {u"neg", -5},   {u"big", 7},
      {u"all", -1},         {u"sp", 42},     {u"mixed", 7}, {u"empty", 7}, {u"absent", 7},
  };
  for (const Case& c : cases) EXPECT_EQ(ini->ReadInteger(u"update", c.key, 7), c.expected) << StringToUtf8(c.key);
  EXPECT_EQ(ini->ReadInt64(u"UPDATE", u"big", 0), 99999999999LL);  // sizes are 64-bit
}

TEST(ControlFileTest, TextsLineBreaksAndEncodings) {
  auto ini = Parse("\xEF\xBB\xBF[update]\ndescr=one\\ntwo\\n\nname=Zo\xC5\xBC\n");
  EXPECT_EQ(ini->ReadLines(u"update", u"descr"), u"one\rtwo\r");
  EXPECT_EQ(ini->ReadString(u"UPDATE", u"NAME"), u"Zo\u017C");
  auto latin = Parse("[update]\nname=Caf\xE9\n");  // no UTF-8: the default code page
  EXPECT_EQ(latin->ReadString(u"update", u"name"), u"Caf\u00E9");
  std::string huge(static_cast<std::size_t>(kMaxControlFileSize) + 1, 'x');
  EXPECT_EQ(Parse("[update]\nname=a\n" + huge)->ReadString(u"update", u"name"), u"");
}

TEST(ControlFileTest, PlaceholdersExpandAndStayBounded) {
  auto convert = [](const String& name) -> String {
    if (name == u"APP") return u"/opt/app/.";
    if (name == u"LOOP") return u"{LOOP}x";
    if (name == u"NEST") return u"{APP}";
    return {};
  };
  struct Case {
    const Char* in;
    const Char* out;
  } cases[] = {
      {u"{app}/x.exe", u"/opt/app/./x.exe"}, {u"{APP}/x", u"/opt/app/./x"}, {u"{NEST}/y", u"/opt/app/./y"},
      {u"{unknown}f", u"{unknown}f"},        {u"{APP", u"{APP"},             {u"a{{APP}b", u"a{{APP}b"},
      {u"{}", u"{}"},                        {u"", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandPlaceholders(c.in, convert), c.out) << StringToUtf8(c.in);
  String looped = ExpandPlaceholders(u"{LOOP}", convert);  // would never end unbounded
  EXPECT_LE(looped.size(), 32768u + 8);
}

TEST(ControlFileTest, ComponentFoldersAreNormalised) {
  TTempHome home;
  TWebUpdate w(nullptr);
  EXPECT_EQ(w.ExpandPath(u"{XYZ}file"), u".file");
  const String docs = Utf8ToString(home.Path() + "/Documents/.");
  EXPECT_EQ(w.ExpandPath(u"{doc}/a.txt"), docs + u"/a.txt");
  w.OnConvertPrefix = [](TObject*, String& path) { path = u"{TMP}" + path; };
  w.UseWinTempDir = false;
  w.TempDirectory = u"/var/x";
  EXPECT_EQ(w.ExpandPath(u"y"), u"/var/x/.y");
  EXPECT_EQ(w.Version(), u"2.6.4.0");
  w.SetVersion(u"9.9");
  EXPECT_EQ(w.Version(), u"2.6.4.0");
}

TEST(ControlFileTest, DatesIgnoreTheProcessSettings) {
  TWebUpdate w(nullptr);
  TDateTime d = w.ParseDateTime(u"24/12/2022", u"10:30");
  EXPECT_NEAR(d, 44919.0 + 10.5 / 24, 1e-6);
  EXPECT_EQ(w.ParseDateTime(u"not a date", u"bad"), 29221.0);  // 1980-01-01
  w.DateFormat = u"yyyy-mm-dd";
  w.DateSeparator = u'-';
  EXPECT_EQ(w.ParseDateTime(u"2022-12-24", u""), 44919.0);
}

}  // namespace
