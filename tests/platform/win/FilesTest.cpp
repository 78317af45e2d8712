#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "platform/testing/TempHome.h"
#include "platform/win/Files.h"
#include "platform/win/Module.h"
#include "platform/win/WinError.h"
#include "tests/support/TestUtil.h"

namespace {

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

using test_support::ReadFileBytes;

String S(const std::string& s) { return Utf8ToString(s); }

class FilesTest : public ::testing::Test {
 protected:
  TTempHome Home;
  std::string H() const { return Home.Path(); }
};

TEST_F(FilesTest, FoldersComeFromTheEnvironment) {
  EXPECT_EQ(GetTempPath(), S(H() + "/tmp/"));
  struct Case {
    int Csidl;
    std::string Expected;
  };
  const Case cases[] = {
      {CSIDL_PERSONAL, H() + "/Documents"},       {CSIDL_DESKTOPDIRECTORY, H() + "/Desktop"},
      {CSIDL_APPDATA, H() + "/.config"},          {CSIDL_LOCAL_APPDATA, H() + "/.local/share"},
      {CSIDL_COMMON_APPDATA, H() + "/share"},     {CSIDL_PROGRAM_FILES, "/opt"},
  };
  for (const auto& c : cases) EXPECT_EQ(GetShellFolderPath(c.Csidl), S(c.Expected)) << c.Csidl;
  EXPECT_EQ(GetShellFolderPath(0x7F), u"");
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

  // Without the XDG variable the user-dirs file decides, then ~/Documents.
  unsetenv("XDG_DOCUMENTS_DIR");
  WriteText(H() + "/.config/user-dirs.dirs", "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
  EXPECT_EQ(GetShellFolderPath(CSIDL_PERSONAL), S(H() + "/Papers"));
  EXPECT_FALSE(DirectoryExists(S(H() + "/Papers")));
  EXPECT_EQ(GetShellFolderPath(CSIDL_PERSONAL | CSIDL_FLAG_CREATE), S(H() + "/Papers"));
  EXPECT_TRUE(DirectoryExists(S(H() + "/Papers")));
}

TEST_F(FilesTest, ProgramFileAndTemporaryNames) {
  const String exe = GetModuleFileName();
  EXPECT_TRUE(FileExists(exe));
  EXPECT_EQ(ParamStr(0), exe);
  EXPECT_EQ(GetModuleFileName(reinterpret_cast<HMODULE>(0x1234)), u"");
  EXPECT_EQ(ParamStr(ParamCount() + 1), u"");

  std::set<String> names;
  for (int i = 0; i < 20; ++i) {
    String name;
    ASSERT_NE(GetTempFileName(GetTempPath(), u"WUPDATE", 0, name), 0u);
    EXPECT_TRUE(FileExists(name));
    EXPECT_EQ(name.rfind(GetTempPath() + u"WUP", 0), 0u) << StringToUtf8(name);
    EXPECT_EQ(name.substr(name.size() - 4), u".tmp");
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 20u);
  String name;
  EXPECT_EQ(GetTempFileName(S(H() + "/missing"), u"x", 0, name), 0u);
  EXPECT_EQ(GetTempFileName(GetTempPath(), u"ab", 0x1F, name), 0x1Fu);
  EXPECT_EQ(name, GetTempPath() + u"ab1F.tmp");
  EXPECT_FALSE(FileExists(name));  // a given number only names the file
}

TEST_F(FilesTest, FoldersFilesAndTheirErrors) {
  const String deep = S(H() + "/a/b/c/");
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_TRUE(DirectoryExists(S(H() + "/a/b/c")));
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_FALSE(ForceDirectories(u""));
  EXPECT_FALSE(CreateDir(S(H() + "/a")));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(CreateDir(S(H() + "/x/y")));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

  const std::string f = H() + "/a/file.txt";
  WriteText(f, "data");
  EXPECT_TRUE(FileExists(S(f)));
  EXPECT_FALSE(FileExists(S(H() + "/a")));
  EXPECT_FALSE(DirectoryExists(S(f)));
  EXPECT_FALSE(RemoveDir(S(H() + "/a")));
  EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
  EXPECT_FALSE(DeleteFile(S(H() + "/a/b")));

  WriteText(H() + "/a/other.txt", "other");
  EXPECT_FALSE(RenameFile(S(f), S(H() + "/a/other.txt")));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ReadFileBytes(H() + "/a/other.txt"), "other");
  EXPECT_TRUE(RenameFile(S(f), S(H() + "/a/renamed.txt")));
  EXPECT_FALSE(FileExists(S(f)));

  EXPECT_FALSE(CopyFile(S(H() + "/a/renamed.txt"), S(H() + "/a/other.txt"), true));
  EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
  EXPECT_EQ(ReadFileBytes(H() + "/a/other.txt"), "other");
  EXPECT_TRUE(CopyFile(S(H() + "/a/renamed.txt"), S(H() + "/a/other.txt"), false));
  EXPECT_EQ(ReadFileBytes(H() + "/a/other.txt"), "data");
  EXPECT_FALSE(CopyFile(S(H() + "/a/none"), S(H() + "/a/n2"), false));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

  EXPECT_TRUE(DeleteFile(S(H() + "/a/other.txt")));
  EXPECT_FALSE(DeleteFile(S(H() + "/a/other.txt")));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(SysErrorMessage(ERROR_FILE_NOT_FOUND), u"The system cannot find the file specified");
}

TEST_F(FilesTest, TimesAndAttributes) {
  const std::string f = H() + "/t.txt";
  WriteText(f, "x");
  const TDateTime when = 44905.795173611;  // 2022-12-08 19:05:03 local
  ASSERT_TRUE(FileSetDate(S(f), when));
  TDateTime age = 0;
  ASSERT_TRUE(FileAge(S(f), age));
  EXPECT_NEAR(age, when, 1e-8);
  EXPECT_FALSE(FileAge(S(H() + "/none"), age));
  EXPECT_NEAR(UnixTimeToLocalDateTime(LocalDateTimeToUnixTime(when)), when, 1e-9);

  EXPECT_EQ(GetFileAttributes(S(f)) & FILE_ATTRIBUTE_READONLY, 0u);
  ASSERT_TRUE(SetFileAttributes(S(f), FILE_ATTRIBUTE_READONLY));
  EXPECT_NE(FileGetAttr(S(f)) & faReadOnly, 0);
  EXPECT_EQ(FileSetAttr(S(f), 0), 0);
  EXPECT_EQ(FileGetAttr(S(f)) & faReadOnly, 0);
  EXPECT_NE(GetFileAttributes(S(H())) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  WriteText(H() + "/.hidden", "");
  EXPECT_NE(GetFileAttributes(S(H() + "/.hidden")) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(GetFileAttributes(S(H() + "/none")), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(FileGetAttr(S(H() + "/none")), -1);
}

TEST_F(FilesTest, MoveAcrossFileSystems) {
  struct stat shm {}, home {};
  if (stat("/dev/shm", &shm) != 0 || stat(H().c_str(), &home) != 0 || shm.st_dev == home.st_dev)
    GTEST_SKIP() << "no second file system beside the temporary home";
  const std::string src = std::string("/dev/shm/ryx-move-") + std::to_string(getpid());
  const std::string dst = H() + "/moved.bin";
  std::string payload(300000, '\0');
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<char>(i * 31);
  WriteText(src, payload);
  chmod(src.c_str(), 0640);
  ASSERT_TRUE(FileSetDate(S(src), 44000.5));

  // Without permission to copy the move is refused and nothing changes.
  EXPECT_FALSE(MoveFileEx(S(src), S(dst), 0));
  EXPECT_EQ(GetLastError(), ERROR_NOT_SAME_DEVICE);
  EXPECT_TRUE(FileExists(S(src)));
  EXPECT_FALSE(FileExists(S(dst)));

  ASSERT_TRUE(MoveFile(S(src), S(dst)));
  EXPECT_FALSE(FileExists(S(src)));
  EXPECT_EQ(ReadFileBytes(dst), payload);
  struct stat st {};
  ASSERT_EQ(stat(dst.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  TDateTime age = 0;
  ASSERT_TRUE(FileAge(S(dst), age));
  EXPECT_NEAR(age, 44000.5, 1e-8);

  // An existing target stays unless replacing was asked for.
  WriteText(src, "second");
  EXPECT_FALSE(MoveFile(S(src), S(dst)));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ReadFileBytes(dst), payload);
  EXPECT_TRUE(FileExists(S(src)));
  ASSERT_TRUE(MoveFileEx(S(src), S(dst), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED));
  EXPECT_EQ(ReadFileBytes(dst), "second");
  EXPECT_FALSE(FileExists(S(src)));

  // Folders never cross; within one file system they move.
  const std::string dir = std::string("/dev/shm/ryx-dir-") + std::to_string(getpid());
  ASSERT_TRUE(ForceDirectories(S(dir)));
  EXPECT_FALSE(MoveFileEx(S(dir), S(H() + "/dir"), MOVEFILE_COPY_ALLOWED));
  EXPECT_EQ(GetLastError(), ERROR_NOT_SAME_DEVICE);
  EXPECT_TRUE(MoveFile(S(dir), S(dir + "-renamed")));
  EXPECT_TRUE(RemoveDir(S(dir + "-renamed")));
  EXPECT_FALSE(MoveFile(S(H() + "/none"), S(H() + "/n2")));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

}  // namespace
