// The restart helper program: its command line, the install transaction
// killed at every step, and a dummy program replaced and started again.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "platform/testing/TempHome.h"
#include "platform/win/Shell.h"
#include "tests/support/TestUtil.h"
#include "webupdate/WebUpdate.h"
#include "webupdate/restart_helper/RestartHelper.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using test_support::ReadFileBytes;

void WriteHelperFile(const fs::path& path, const std::string& bytes, fs::perms perms = fs::perms::owner_read |
                                                                             fs::perms::owner_write) {
  std::ofstream(path, std::ios::binary) << bytes;
  fs::permissions(path, perms);
}

std::map<std::string, std::string> Files(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(dir)) files[e.path().filename().string()] = ReadFileBytes(e.path());
  return files;
}

// Runs the helper with args and the extra environment; answers its wait status.
int RunHelper(const std::vector<std::string>& args, const std::string& env = {}) {
  std::vector<std::string> all{RYX_UPD_PROGRAM};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envs;
  for (char** e = environ; *e != nullptr; ++e) envs.emplace_back(*e);
  if (!env.empty()) envs.push_back(env);
  std::vector<char*> envp;
  for (std::string& e : envs) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

// A process id that has ended (and was reaped).
std::string EndedPid() {
  pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return std::to_string(pid);
}

TEST(RestartCommandLineTest, QuotedArgumentsReadBackTheSame) {
  TRestartRequest r;
  r.Pid = 4711;
  r.Logging = true;
  r.App = u"/opt/My App/app";
  r.Params = u"/s \"q\"";
  r.TempDir = u"/tmp/x y/";
  r.Components = {u"app", u"lib one.so"};
  String line = BuildRestartCommandLine(r);
  EXPECT_EQ(line, u"4711 L \"/opt/My App/app\" \"/s \"\"q\"\"\" \"/tmp/x y/\" \"app\" \"lib one.so\"");
  TRestartRequest back;
  String error;
  ASSERT_TRUE(ParseRestartArguments(CommandLineToArgs(line), back, error)) << StringToUtf8(error);
  EXPECT_EQ(back.App, r.App);
  EXPECT_EQ(back.Params, r.Params);
  EXPECT_EQ(back.TempDir, r.TempDir);
  EXPECT_EQ(back.Components, r.Components);
  EXPECT_TRUE(back.Logging);

  for (const Char* bad : {u"", u"x L a b c", u"0 L a b c", u"1 Q a b c", u"1 L a b", u"1 L a b c ../x",
                          u"1 L a b c sub/x", u"1 L a b c .."})
    EXPECT_FALSE(ParseRestartArguments(CommandLineToArgs(bad), back, error)) << StringToUtf8(bad);
}

class InstallTest : public ::testing::Test {
 protected:
  // The tests move into the program's folder: the suite's folder comes back afterwards.
  void TearDown() override { fs::current_path(startFolder); }
  fs::path startFolder = fs::current_path();
  void SetUp() override {
    fs::create_directories(program);
    fs::create_directories(temp);
    for (const auto& [name, bytes] : oldSet) WriteHelperFile(program / name, bytes);
    for (const auto& [name, bytes] : newFiles) WriteHelperFile(temp / name, bytes);
    newSet = oldSet;
    for (const auto& [name, bytes] : newFiles) newSet[name] = bytes;
  }
  std::vector<std::string> InstallArgs() {
    std::vector<std::string> args{EndedPid(), "X", "null", " ", temp.string() + "/"};
    for (const auto& entry : newFiles) args.push_back(entry.first);
    return args;
  }

  TTempHome home;
  fs::path program = fs::path(home.Path()) / "program";
  fs::path temp = fs::path(home.Path()) / "tmp" / "dl";
  std::map<std::string, std::string> oldSet{{"app", "old app"}, {"lib1", "old lib1"}, {"lib2", "old lib2"},
                                            {"data", "kept"}};
  std::map<std::string, std::string> newFiles{{"app", "new app"}, {"lib1", "new lib1"}, {"lib2", "new lib2"},
                                              {"added", "new file"}, {"lib3", "new lib3"}};
  std::map<std::string, std::string> newSet;
};

TEST_F(InstallTest, KilledAnywhereLeavesTheOldOrTheNewSet) {
  int points = 0;
  bool finished = false;
  for (int k = 1; k <= 100 && !finished; ++k) {
    // Fresh old set each round.
    for (const auto& e : fs::directory_iterator(program)) fs::remove(e.path());
    for (const auto& [name, bytes] : oldSet) WriteHelperFile(program / name, bytes);
    // The helper runs in the program's folder ("null": nothing restarted).
    fs::current_path(program);
    int status = RunHelper(InstallArgs(), "RYX_UPD_KILL_AT=" + std::to_string(k));
    if (WIFSIGNALED(status)) {
      EXPECT_EQ(WTERMSIG(status), SIGKILL);
      ++points;
      // The next helper (or its recovery) finishes the folder one way or the other.
      ASSERT_EQ(RunHelper({"--recover", program.string()}), 0);
    } else {
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
      finished = true;
    }
    auto now = Files(program);
    EXPECT_TRUE(now == oldSet || now == newSet) << "killed at step " << k << ": a mix of old and new files";
    if (finished) {
      EXPECT_EQ(now, newSet);
    }
  }
  EXPECT_TRUE(finished);
  EXPECT_GE(points, 20);
  fs::current_path(home.Path());
}

TEST_F(InstallTest, MissingComponentInstallsNothing) {
  fs::remove(temp / "lib2");
  String error;
  std::vector<String> names;
  for (const auto& entry : newFiles) names.push_back(Utf8ToString(entry.first));
  EXPECT_FALSE(InstallComponents(Utf8ToString(program.string()), Utf8ToString(temp.string()), names, error));
  EXPECT_EQ(Files(program), oldSet);
}

TEST_F(InstallTest, ProgramIsReplacedAndStartedAgain) {
  // The program: a script that leaves its arguments in a marker file.
  const std::string script = "#!/bin/sh\necho \"$0 $1|$2\" > \"" + home.Path() + "/marker\"\n";
  const fs::perms installed = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec;
  WriteHelperFile(program / "app", "#!/bin/sh\nexit 1\n", installed);
  // Downloaded files are private and not executable; the installed program keeps its own mode.
  WriteHelperFile(temp / "app", script);
  WriteHelperFile(temp / "notes", "new notes");
  // A running "program" the helper must wait for.
  pid_t running = ::fork();
  if (running == 0) {
    ::usleep(300000);
    ::_exit(0);
  }
  std::thread reaper([&] { ::waitpid(running, nullptr, 0); });
  int status = RunHelper({std::to_string(running), "L", (program / "app").string(), "-a \"b c\"",
                          temp.string() + "/", "app", "notes"});
  reaper.join();
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const fs::path marker = fs::path(home.Path()) / "marker";
  for (int i = 0; i < 100 && ReadFileBytes(marker).empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(ReadFileBytes(marker), (program / "app").string() + " -a|b c\n");
  EXPECT_EQ(ReadFileBytes(program / "app"), script);
  EXPECT_EQ(fs::status(program / "app").permissions(), installed);
  // A file new to the folder keeps the mode it was downloaded with.
  EXPECT_EQ(fs::status(program / "notes").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_FALSE(fs::exists(temp / "app"));
  // Logged into the default log in Documents.
  EXPECT_NE(ReadFileBytes(fs::path(home.Path()) / "Documents" / "WUPDATE.LOG").find("Installed 2 file(s)"),
            std::string::npos);
}

TEST_F(InstallTest, EndedProgramNotYetReapedCountsAsEnded) {
  // The program has ended, but its parent has not collected it: a zombie.
  pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  for (int i = 0; i < 200; ++i) {
    std::ifstream in("/proc/" + std::to_string(ended) + "/stat");
    std::string stat;
    std::getline(in, stat);
    if (stat.find(") Z") != std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::vector<std::string> args = InstallArgs();
  args[0] = std::to_string(ended);
  fs::current_path(program);
  const int status = RunHelper(args);
  ::waitpid(ended, nullptr, 0);
  fs::current_path(home.Path());
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the helper waited for the zombie and installed nothing";
  EXPECT_EQ(Files(program), newSet);
}

}  // namespace
