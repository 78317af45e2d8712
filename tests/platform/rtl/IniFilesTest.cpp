#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/IniFiles.h"
#include "tests/support/TestUtil.h"

namespace {

using test_support::MessageOf;
using test_support::Lines;
using test_support::ReadFileBytes;

namespace fs = std::filesystem;
using namespace std::string_literals;

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "rtl_ini_XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  String File(const std::string& name) const { return Utf8ToString((path_ / name).string()); }
  fs::path Path(const std::string& name = {}) const { return name.empty() ? path_ : path_ / name; }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(path_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  fs::path path_;
};

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

const std::string kOddFile =
    "\xEF\xBB\xBF"
    "orphan=before any section\r\n"
    "; a comment = not a key\r\n"
    "\r\n"
    "[ Update ]\r\n"
    "  Descr  =  two\\nwords  with  gaps  \r\n"
    "just some text\r\n"
    "newsize=abc\r\n"
    "newchecksum=0x10\r\n"
    "dup=first\r\n"
    "DUP=second\r\n"
    "expr==x;y\r\n"
    "=no name\r\n"
    "\n"
    "[files]\n"
    "count=2\n"
    "[UPDATE]\r"
    "late=from the second [update]\r"
    "[empty]\r\n";

// Both kinds of INI object read odd files the same way.
void CheckOddFile(TCustomIniFile& ini) {
  EXPECT_EQ(ini.ReadString(u"update", u"descr", u"-"), u"two\\nwords  with  gaps");
  EXPECT_EQ(ini.ReadString(u"UPDATE", u"DUP", u"-"), u"first");
  EXPECT_EQ(ini.ReadString(u"update", u"expr", u"-"), u"=x;y");
  EXPECT_EQ(ini.ReadString(u"update", u"late", u"-"), u"from the second [update]");
  EXPECT_EQ(ini.ReadString(u"update", u"just some text", u"-"), u"-");
  EXPECT_EQ(ini.ReadString(u"", u"orphan", u"-"), u"-");
  EXPECT_EQ(ini.ReadString(u"update", u"; a comment", u"-"), u"-");
  EXPECT_EQ(ini.ReadString(u"missing", u"count", u"-"), u"-");
  EXPECT_EQ(ini.ReadInteger(u"Files", u"Count", 0), 2);
  EXPECT_EQ(ini.ReadInteger(u"update", u"newsize", 0), 0);
  EXPECT_EQ(ini.ReadInteger(u"update", u"newchecksum", -1), 16);

  TStringList list;
  ini.ReadSections(&list);
  EXPECT_EQ(Lines(list), (std::vector<String>{u"Update", u"files", u"empty"}));
  ini.ReadSection(u"update", &list);
  EXPECT_EQ(Lines(list), (std::vector<String>{u"Descr", u"newsize", u"newchecksum", u"dup", u"expr", u"late"}));
  ini.ReadSectionValues(u"FILES", &list);
  EXPECT_EQ(Lines(list), (std::vector<String>{u"count=2"}));
  EXPECT_TRUE(ini.SectionExists(u"Empty"));
  EXPECT_FALSE(ini.SectionExists(u"nothing"));
  EXPECT_TRUE(ini.ValueExists(u"update", u"LATE"));
  EXPECT_FALSE(ini.ValueExists(u"empty", u"late"));
}

TEST(IniFile, ReadsOddInputTolerantly) {
  TempDir dir;
  WriteBytes(dir.Path("odd.ini"), kOddFile);
  TMemIniFile mem(dir.File("odd.ini"));
  CheckOddFile(mem);
  TIniFile direct(dir.File("odd.ini"));
  CheckOddFile(direct);
}

TEST(IniFile, RewriteKeepsCommentsLayoutAndEncoding) {
  TempDir dir;
  WriteBytes(dir.Path("odd.ini"), kOddFile);
  {
    TMemIniFile ini(dir.File("odd.ini"));
    ini.WriteString(u"update", u"dup", u"changed");
    ini.WriteString(u"FILES", u"url1", u"http://x/y z");
    ini.WriteInteger(u"new section", u"n", -7);
    ini.DeleteKey(u"update", u"newsize");
    ini.UpdateFile();
  }
  const std::string expected =
      "\xEF\xBB\xBF"
      "orphan=before any section\r\n"
      "; a comment = not a key\r\n"
      "\r\n"
      "[ Update ]\r\n"
      "  Descr  =  two\\nwords  with  gaps  \r\n"
      "just some text\r\n"
      "newchecksum=0x10\r\n"
      "dup=changed\r\n"
      "DUP=second\r\n"
      "expr==x;y\r\n"
      "=no name\r\n"
      "\r\n"
      "[files]\r\n"
      "count=2\r\n"
      "url1=http://x/y z\r\n"
      "[UPDATE]\r\n"
      "late=from the second [update]\r\n"
      "[empty]\r\n"
      "\r\n"
      "[new section]\r\n"
      "n=-7\r\n";
  EXPECT_EQ(ReadFileBytes(dir.Path("odd.ini")), expected);

  // DeleteKey takes every copy of a duplicated key; EraseSection every copy of a section.
  TIniFile ini(dir.File("odd.ini"));
  ini.DeleteKey(u"update", u"dup");
  EXPECT_FALSE(ini.ValueExists(u"update", u"dup"));
  ini.EraseSection(u"update");
  EXPECT_FALSE(ini.SectionExists(u"update"));
  EXPECT_EQ(ReadFileBytes(dir.Path("odd.ini")),
            "\xEF\xBB\xBF" "orphan=before any section\r\n; a comment = not a key\r\n\r\n"
            "[files]\r\ncount=2\r\nurl1=http://x/y z\r\n[empty]\r\n\r\n[new section]\r\nn=-7\r\n");
}

TEST(IniFile, KeepsAnsiAndUtf16Files) {
  TempDir dir;
  WriteBytes(dir.Path("ansi.ini"), "[s]\r\nname=caf\xE9\r\n");
  {
    TIniFile ini(dir.File("ansi.ini"));
    EXPECT_EQ(ini.ReadString(u"s", u"name", u""), u"caf\u00E9");
    ini.WriteString(u"s", u"other", u"\u00FC");
  }
  EXPECT_EQ(ReadFileBytes(dir.Path("ansi.ini")), "[s]\r\nname=caf\xE9\r\nother=\xFC\r\n");

  WriteBytes(dir.Path("wide.ini"), "\xFF\xFE[\0s\0]\0\n\0k\0=\0\xAC\x20"s);
  TMemIniFile wide(dir.File("wide.ini"));
  EXPECT_EQ(wide.ReadString(u"S", u"K", u""), u"\u20AC");
  wide.UpdateFile();
  EXPECT_EQ(ReadFileBytes(dir.Path("wide.ini")), "\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0\xAC\x20\r\0\n\0"s);

  // A new file is UTF-8 without a byte-order mark.
  TIniFile fresh(dir.File("new.ini"));
  fresh.WriteString(u"\u00C4", u"k", u"\u4E2D");
  EXPECT_EQ(ReadFileBytes(dir.Path("new.ini")), "[\xC3\x84]\r\nk=\xE4\xB8\xAD\r\n");
  EXPECT_EQ(fresh.ReadString(u"\u00E4", u"K", u""), u"\u4E2D");  // non-ASCII names ignore case too
}

TEST(IniFile, TypedValues) {
  TempDir dir;
  WriteBytes(dir.Path("v.ini"),
             "[v]\nhex1=$1F\nhex2=0x1f\nneg=-12\nbig=2147483648\nallbits=$FFFFFFFF\njunk=12abc\nblank=\n"
             "zero=0\ntwo=2\nminus=-1\nword=true\n"
             "f1=1.5\nf2=-2.5E3\nf3=1,5\nf4=.\n"
             "d=12/31/1999\nt=23:59:58\ndt=01/02/2003 04:05:06\nbaddate=02/30/2001\nbadtime=24:00:00\n");
  TIniFile ini(dir.File("v.ini"));
  struct IntCase { const char16_t* key; Integer expected; };
  for (const auto& c : {IntCase{u"hex1", 31}, {u"hex2", 31}, {u"neg", -12}, {u"big", 99}, {u"allbits", -1},
                        {u"junk", 99}, {u"blank", 99}, {u"none", 99}})
    EXPECT_EQ(ini.ReadInteger(u"v", c.key, 99), c.expected) << StringToUtf8(c.key);

  struct BoolCase { const char16_t* key; bool fallback; bool expected; };
  for (const auto& c : {BoolCase{u"zero", true, false}, {u"two", false, true}, {u"minus", false, true},
                        {u"word", false, false}, {u"word", true, true}, {u"none", true, true}})
    EXPECT_EQ(ini.ReadBool(u"v", c.key, c.fallback), c.expected) << StringToUtf8(c.key);

  EXPECT_DOUBLE_EQ(ini.ReadFloat(u"v", u"f1", 0), 1.5);
  EXPECT_DOUBLE_EQ(ini.ReadFloat(u"v", u"f2", 0), -2500);
  EXPECT_DOUBLE_EQ(ini.ReadFloat(u"v", u"f3", 7), 7);
  EXPECT_DOUBLE_EQ(ini.ReadFloat(u"v", u"f4", 7), 7);

  EXPECT_DOUBLE_EQ(ini.ReadDate(u"v", u"d", 0), 36525);  // 1999-12-31
  EXPECT_NEAR(ini.ReadTime(u"v", u"t", 0), (86400 - 2) / 86400.0, 1e-9);
  EXPECT_NEAR(ini.ReadDateTime(u"v", u"dt", 0), 37623 + (4 * 3600 + 5 * 60 + 6) / 86400.0, 1e-9);
  EXPECT_DOUBLE_EQ(ini.ReadDate(u"v", u"baddate", -1), -1);
  EXPECT_DOUBLE_EQ(ini.ReadTime(u"v", u"badtime", -1), -1);

  TMemIniFile mem(dir.File("w.ini"));
  mem.WriteInteger(u"w", u"i", INT32_MIN);
  mem.WriteBool(u"w", u"b", true);
  mem.WriteFloat(u"w", u"f", 0.1);
  mem.WriteFloat(u"w", u"g", 1.5e20);
  mem.WriteDate(u"w", u"d", 2.75);
  mem.WriteTime(u"w", u"t", 2.75);
  mem.WriteDateTime(u"w", u"dt", 45000.5);
  mem.WriteDateTime(u"w", u"midnight", 45000);
  TStringList values;
  mem.ReadSectionValues(u"w", &values);
  EXPECT_EQ(Lines(values), (std::vector<String>{u"i=-2147483648", u"b=1", u"f=0.1", u"g=1.5E20", u"d=01/01/1900",
                                                u"t=18:00:00", u"dt=03/15/2023 12:00:00", u"midnight=03/15/2023"}));
  EXPECT_EQ(mem.ReadInteger(u"w", u"i", 0), INT32_MIN);
  EXPECT_DOUBLE_EQ(mem.ReadFloat(u"w", u"g", 0), 1.5e20);
  EXPECT_DOUBLE_EQ(mem.ReadDateTime(u"w", u"dt", 0), 45000.5);
  EXPECT_EQ(MessageOf([&] { mem.WriteDate(u"w", u"d", 1e300); }), u"EConvertError: Invalid argument to date encode");
}

TEST(IniFile, WritesReachTheFileAtOnceAndMemImageOnlyWhenSaved) {
  TempDir dir;
  const String name = dir.File("layout.ini");
  TIniFile direct(name);
  direct.WriteString(u"CONFIG", u"LOGFILENAME", u"C:\\logs\\wupdate.log");
  EXPECT_EQ(ReadFileBytes(dir.Path("layout.ini")), "[CONFIG]\r\nLOGFILENAME=C:\\logs\\wupdate.log\r\n");

  // Empty a section key by key, then write keys in a given order.
  direct.WriteString(u"Customizer1", u"Name0", u"old");
  direct.WriteString(u"Customizer1", u"Name1", u"older");
  TStringList keys;
  direct.ReadSection(u"customizer1", &keys);
  for (Integer i = 0; i < keys.Count(); ++i) direct.DeleteKey(u"Customizer1", keys.Strings(i));
  for (const char16_t* key : {u"VOVCaption", u"ToolBarItemCount", u"Name0", u"Name0.ClassName"})
    direct.WriteString(u"Customizer1", key, u"x");
  direct.ReadSection(u"Customizer1", &keys);
  EXPECT_EQ(Lines(keys), (std::vector<String>{u"VOVCaption", u"ToolBarItemCount", u"Name0", u"Name0.ClassName"}));

  {
    TMemIniFile mem(name);
    mem.WriteInteger(u"Dock", u"ToolBarCount", 2);
    EXPECT_TRUE(mem.Modified());
    TIniFile other(name);
    EXPECT_EQ(other.ReadInteger(u"Dock", u"ToolBarCount", -1), -1);  // not yet on disk
  }
  EXPECT_EQ(TIniFile(name).ReadInteger(u"Dock", u"ToolBarCount", -1), -1);  // no AutoSave: dropped
  {
    TMemIniFile mem(name);
    mem.SetAutoSave(true);
    mem.WriteInteger(u"Dock", u"Standard.Row", 1);
  }
  EXPECT_EQ(TIniFile(name).ReadInteger(u"dock", u"standard.row", -1), 1);  // saved when freed

  // Untouched AutoSave images do not rewrite the file.
  const auto before = fs::last_write_time(dir.Path("layout.ini"));
  fs::last_write_time(dir.Path("layout.ini"), before - std::chrono::hours(1));
  { TMemIniFile mem(name); mem.SetAutoSave(true); mem.ReadString(u"Dock", u"x", u""); }
  EXPECT_EQ(fs::last_write_time(dir.Path("layout.ini")), before - std::chrono::hours(1));
}

TEST(IniFile, MemImageAsStringsRenameAndClear) {
  TempDir dir;
  TMemIniFile mem(dir.File("a.ini"));
  TStringList lines;
  lines.SetText(u"[A]\nk=1\n;note\n[B]\nk=2");
  mem.SetStrings(&lines);
  EXPECT_EQ(mem.ReadInteger(u"b", u"k", 0), 2);
  mem.WriteString(u"a", u"j", u"3");
  TStringList out;
  mem.GetStrings(&out);
  EXPECT_EQ(out.Text(), u"[A]\r\nk=1\r\n;note\r\nj=3\r\n[B]\r\nk=2\r\n");

  mem.Rename(dir.File("b.ini"), false);
  mem.UpdateFile();
  EXPECT_FALSE(fs::exists(dir.Path("a.ini")));
  EXPECT_EQ(ReadFileBytes(dir.Path("b.ini")), "[A]\r\nk=1\r\n;note\r\nj=3\r\n[B]\r\nk=2\r\n");
  mem.Clear();
  EXPECT_FALSE(mem.SectionExists(u"A"));
  mem.Rename(dir.File("b.ini"), true);
  EXPECT_EQ(mem.ReadString(u"A", u"J", u""), u"3");
  EXPECT_FALSE(mem.Modified());
}

TEST(IniFile, HostileValuesCannotForgeKeysOrSections) {
  TempDir dir;
  TIniFile ini(dir.File("h.ini"));
  ini.WriteString(u"s", u"caption", u"a\r\n[evil]\r\nappupdate=1");
  EXPECT_FALSE(ini.SectionExists(u"evil"));
  EXPECT_EQ(ini.ReadString(u"s", u"caption", u""), u"a  [evil]  appupdate=1");

  // Arbitrary bytes and very long lines parse without harm.
  std::string junk;
  for (int i = 0; i < 5000; ++i) junk.push_back(static_cast<char>((i * 131) % 256));
  junk += "\n[x]\nk=" + std::string(100000, 'v') + "\n[\n]\n[[]]\n=\n";
  WriteBytes(dir.Path("junk.ini"), junk);
  TMemIniFile mem(dir.File("junk.ini"));
  EXPECT_EQ(mem.ReadString(u"x", u"k", u"").size(), 100000u);
  mem.UpdateFile();
  TMemIniFile again(dir.File("junk.ini"));
  EXPECT_EQ(again.ReadString(u"x", u"k", u"").size(), 100000u);
}

TEST(IniFile, FailedWriteLeavesOldFileWhole) {
  TempDir dir;
  const std::string old = "[keep]\nthis=intact\n";
  WriteBytes(dir.Path("keep.ini"), old);
  const String name = dir.File("keep.ini");

  // A write that runs out of room (as on a full disk) fails midway through
  // the temporary file. The old file stays, and no temporary file is left.
  TMemIniFile mem(name);
  mem.WriteString(u"keep", u"big", String(4096, u'x'));
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1024;
  setrlimit(RLIMIT_FSIZE, &small);
  const String message = MessageOf([&] { mem.UpdateFile(); });
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(message, u"EIniFileException: Unable to write to " + name);
  EXPECT_EQ(ReadFileBytes(dir.Path("keep.ini")), old);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"keep.ini"}));
  EXPECT_TRUE(mem.Modified());

  // A folder that does not exist.
  const String nowhere = dir.File("no/such/folder.ini");
  EXPECT_EQ(MessageOf([&] { TIniFile(nowhere).WriteString(u"a", u"b", u"c"); }),
            u"EIniFileException: Unable to write to " + nowhere);

  // A folder that may not be written (root may write anywhere, so only as a user).
  if (geteuid() != 0) {
    fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(MessageOf([&] { TIniFile(name).WriteString(u"keep", u"this", u"lost"); }),
              u"EIniFileException: Unable to write to " + name);
    fs::permissions(dir.Path(), fs::perms::owner_all);
    EXPECT_EQ(ReadFileBytes(dir.Path("keep.ini")), old);
  }
}

TEST(IniFile, ReplacementKeepsPermissionsAndSymlinks) {
  TempDir dir;
  WriteBytes(dir.Path("real.ini"), "[a]\nk=1\n");
  fs::permissions(dir.Path("real.ini"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(dir.Path("real.ini"), dir.Path("link.ini"));
  TIniFile(dir.File("link.ini")).WriteString(u"a", u"k", u"2");
  EXPECT_TRUE(fs::is_symlink(dir.Path("link.ini")));
  EXPECT_EQ(ReadFileBytes(dir.Path("real.ini")), "[a]\r\nk=2\r\n");
  EXPECT_EQ(fs::status(dir.Path("real.ini")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"link.ini", "real.ini"}));

  // A folder in place of the file is not replaced.
  fs::create_directory(dir.Path("folder.ini"));
  EXPECT_EQ(MessageOf([&] { TMemIniFile(dir.File("folder.ini")); }).substr(0, 12), u"EFOpenError:");
  EXPECT_TRUE(fs::is_directory(dir.Path("folder.ini")));
}

}  // namespace
