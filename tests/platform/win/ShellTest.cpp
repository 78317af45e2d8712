#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/testing/TempHome.h"
#include "platform/win/Files.h"
#include "platform/win/Shell.h"
#include "platform/win/WinError.h"
#include "tests/support/TestUtil.h"

namespace {

using test_support::ReadFileBytes;

// Waits (real time, bounded) for a file a started program writes.
bool WaitForFile(const std::string& path) {
  for (int i = 0; i < 500; ++i) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && st.st_size > 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST(CommandLine, SplitsLikeTheCallersBuildIt) {
  struct Case {
    String Line;
    std::vector<String> Args;
  };
  const Case cases[] = {
      {u"", {}},
      {u"  a\tb  ", {u"a", u"b"}},
      {u"4711 L \"/opt/My App/app\" \" \" \"/tmp/\" app.exe",
       {u"4711", u"L", u"/opt/My App/app", u" ", u"/tmp/", u"app.exe"}},
      {u"\"C:\\Temp\\\" next", {u"C:\\Temp\\", u"next"}},  // a trailing backslash keeps its quote
      {u"\"\" x", {u"", u"x"}},
      {u"\"say \"\"hi\"\"\"", {u"say \"hi\""}},
      {u"ab\"c d\"e", {u"abc de"}},
      {u"\"unterminated arg", {u"unterminated arg"}},
      {u"$HOME `id` ;rm", {u"$HOME", u"`id`", u";rm"}},
  };
  for (const auto& c : cases) EXPECT_EQ(CommandLineToArgs(c.Line), c.Args) << StringToUtf8(c.Line);
}

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetShellOpener([this](const String& target) {
      Opened.push_back(target);
      return OpenerAnswer;
    });
  }
  void TearDown() override { SetShellOpener(nullptr); }
  TTempHome Home;
  std::vector<String> Opened;
  bool OpenerAnswer = true;
};

TEST_F(ShellTest, StartsWithArgumentsVerbatimAndReportsTheExitCode) {
  const std::string out = Home.Path() + "/args.txt";
  TChildProcess p;
  ASSERT_TRUE(p.Start(u"/bin/sh",
                      {u"-c", u"printf '%s|' \"$@\" > \"$0\"; pwd >> \"$0\"; exit 7", Utf8ToString(out), u"a b",
                       u"\"q\"", u"", u"$HOME;`id`", u"\u00FCml"},
                      Utf8ToString(Home.Path())));
  EXPECT_NE(p.ProcessId(), 0u);
  ASSERT_TRUE(p.WaitFor());
  DWORD code = 0;
  ASSERT_TRUE(p.GetExitCode(code));
  EXPECT_EQ(code, 7u);
  EXPECT_EQ(ReadFileBytes(out), "a b|\"q\"||$HOME;`id`|\xC3\xBCml|" + Home.Path() + "\n");
  EXPECT_FALSE(p.Start(u"/bin/true", {}));
  EXPECT_EQ(GetLastError(), ERROR_BUSY);
}

TEST_F(ShellTest, WaitingWithATimeoutAndFailuresToStart) {
  TChildProcess slow;
  ASSERT_TRUE(slow.Start(u"sleep", {u"0.3"}));  // found in PATH
  EXPECT_FALSE(slow.WaitFor(10));
  DWORD code = 0;
  ASSERT_TRUE(slow.GetExitCode(code));
  EXPECT_EQ(code, TChildProcess::StillActive);
  EXPECT_TRUE(slow.WaitFor(10000));
  ASSERT_TRUE(slow.GetExitCode(code));
  EXPECT_EQ(code, 0u);

  TChildProcess killed;
  ASSERT_TRUE(killed.Start(u"/bin/sh", {u"-c", u"kill -9 $$"}));
  ASSERT_TRUE(killed.WaitFor());
  ASSERT_TRUE(killed.GetExitCode(code));
  EXPECT_EQ(code, 128u + 9u);

  struct Case {
    String Program;
    String Directory;
    DWORD Error;
  };
  const Case failures[] = {
      {u"/nonexistent/program", u"", ERROR_FILE_NOT_FOUND},
      {u"no-such-program-ryx", u"", ERROR_FILE_NOT_FOUND},
      {u"/bin/true", u"/nonexistent-dir", ERROR_DIRECTORY},
      {u"", u"", ERROR_FILE_NOT_FOUND},
  };
  for (const auto& f : failures) {
    TChildProcess p;
    EXPECT_FALSE(p.Start(f.Program, {}, f.Directory)) << StringToUtf8(f.Program);
    EXPECT_EQ(GetLastError(), f.Error) << StringToUtf8(f.Program);
    EXPECT_FALSE(p.WaitFor(0));
    EXPECT_EQ(p.ProcessId(), 0u);
  }
}

TEST_F(ShellTest, ShellExecuteOpensDocumentsThroughTheOpenerAndRunsPrograms) {
  EXPECT_GT(ShellExecute(nullptr, u"open", u"https://example.invalid/page?x=1", u"", u"", SW_SHOWNORMAL), 32);
  const std::string doc = Home.Path() + "/readme.txt";
  std::ofstream(doc) << "text";
  EXPECT_GT(ShellExecute(nullptr, u"", Utf8ToString(doc), u"", u"", SW_SHOWNORMAL), 32);
  EXPECT_EQ(Opened, (std::vector<String>{u"https://example.invalid/page?x=1", Utf8ToString(doc)}));

  // A program missing by name gives "file not found", so a caller can fall back.
  EXPECT_EQ(ShellExecute(nullptr, u"open", u"iexplore.exe", u"-new https://x", u"", SW_SHOWDEFAULT), SE_ERR_FNF);
  EXPECT_EQ(ShellExecute(nullptr, u"print", Utf8ToString(doc), u"", u"", SW_SHOWNORMAL), SE_ERR_NOASSOC);
  OpenerAnswer = false;
  EXPECT_EQ(ShellExecute(nullptr, u"open", u"mailto:a@b", u"", u"", SW_SHOWNORMAL), SE_ERR_NOASSOC);
  EXPECT_EQ(Opened.size(), 3u);

  // An executable file is started with its parameters, in the given folder.
  const std::string script = Home.Path() + "/tool.sh";
  std::ofstream(script) << "#!/bin/sh\nprintf '%s|' \"$@\" > out.txt\n";
  chmod(script.c_str(), 0755);
  EXPECT_GT(ShellExecute(nullptr, u"open", u"tool.sh", u"\"two words\" \" \" x", Utf8ToString(Home.Path()), SW_SHOWNORMAL), 32);
  ASSERT_TRUE(WaitForFile(Home.Path() + "/out.txt"));
  EXPECT_EQ(ReadFileBytes(Home.Path() + "/out.txt"), "two words| |x|");
  EXPECT_EQ(Opened.size(), 3u);

  EXPECT_EQ(WinExec("", SW_SHOWNORMAL), 0u);
  EXPECT_EQ(WinExec("/nonexistent/x.exe arg", SW_SHOWNORMAL), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(WinExec("/bin/true \"a b\"", SW_SHOWNORMAL), 33u);
}

}  // namespace
