// The restart helper killed at every step of an install, then the program
// itself started (not the helper's recovery): before it makes a window it
// finishes or undoes the install, so its folder holds exactly the old or the
// new set of files, and it runs.
#include <gtest/gtest.h>
#include <signal.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/testing/TempHome.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestUtil.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> DataFiles(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().filename() != "ryxupdater") files[e.path().filename().string()] = test_support::ReadFileBytes(e.path());
  return files;
}

// Starts argv in folder with extra environment lines; answers the process id (0 on failure).
pid_t Spawn(const std::vector<std::string>& args, const fs::path& folder, const std::vector<std::string>& env) {
  std::vector<std::string> all = args;
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envs;
  for (char** e = environ; *e != nullptr; ++e) envs.emplace_back(*e);
  envs.insert(envs.end(), env.begin(), env.end());
  std::vector<char*> envp;
  for (std::string& e : envs) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : 0;
}

bool Running(pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) == 0; }

TEST(ProgramRecoveryTest, KilledInstallIsFinishedOrUndoneWhenTheProgramStarts) {
  TTempHome home;
  // The program's folder holds a hard link to the program: it must sit on the
  // build's file system, and recovery looks in the folder of the running program.
  test_support::TTempDir folder{"ryx_recover", fs::path(RYX_APP_PROGRAM).parent_path().string()};
  const fs::path program = folder.Path();
  const fs::path temp = fs::path(home.Path()) / "tmp" / "dl";
  fs::create_directories(temp);
  const std::map<std::string, std::string> oldSet{{"lib1", "old lib1"}, {"lib2", "old lib2"}, {"data", "kept"}};
  const std::map<std::string, std::string> newFiles{{"lib1", "new lib1"}, {"lib2", "new lib2"}, {"added", "new"}};
  std::map<std::string, std::string> newSet = oldSet;
  for (const auto& [name, bytes] : newFiles) newSet[name] = bytes;
  fs::create_hard_link(RYX_APP_PROGRAM, program / "ryxupdater");
  test_support::TLoopbackHttpServer closed;  // the start-up check finds nothing
  const std::vector<std::string> programEnv{
      "QT_QPA_PLATFORM=offscreen", "ASAN_OPTIONS=detect_leaks=0",
      "RYX_UPDATE_URL=http://127.0.0.1:" + std::to_string(test_support::TLoopbackHttpServer::ClosedPort()) + "/x"};
  int killed = 0;
  bool finished = false;
  for (int k = 1; k <= 100 && !finished; ++k) {
    SCOPED_TRACE(k);
    for (const auto& e : fs::directory_iterator(program))
      if (e.path().filename() != "ryxupdater") fs::remove_all(e.path());
    for (const auto& [name, bytes] : oldSet) test_support::WriteFileBytes(program / name, bytes);
    for (const auto& [name, bytes] : newFiles) test_support::WriteFileBytes(temp / name, bytes);
    pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    std::vector<std::string> args{RYX_UPD_PROGRAM, std::to_string(ended), "X", "null", " ", temp.string() + "/"};
    for (const auto& entry : newFiles) args.push_back(entry.first);
    pid_t helper = Spawn(args, program, {"RYX_UPD_KILL_AT=" + std::to_string(k)});
    ASSERT_GT(helper, 0);
    int status = 0;
    ::waitpid(helper, &status, 0);
    if (!WIFSIGNALED(status)) {
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
      finished = true;
      EXPECT_EQ(DataFiles(program), newSet);
      continue;
    }
    ++killed;
    // The program, not the helper, puts the folder right.
    pid_t app = Spawn({(program / "ryxupdater").string()}, program, programEnv);
    ASSERT_GT(app, 0);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (fs::exists(program / ".wupdate-journal") && Running(app) && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(fs::exists(program / ".wupdate-journal"));
    EXPECT_TRUE(Running(app)) << "the program goes on after the recovery";
    const auto now = DataFiles(program);
    EXPECT_TRUE(now == oldSet || now == newSet) << "a mix of old and new files";
    ::kill(app, SIGKILL);
    ::waitpid(app, nullptr, 0);
  }
  EXPECT_TRUE(finished);
  EXPECT_GE(killed, 10);
}

}  // namespace
