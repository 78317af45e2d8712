// Whole update runs over the file transport: the file list, prompts and
// placement, the last date of failed and good runs, the threaded run, the
// actions and the what's-new and licence texts.
#include <gtest/gtest.h>

#include <sys/vfs.h>

#include <filesystem>
#include <fstream>

#include "platform/rtl/DateTime.h"
#include "platform/testing/TempHome.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/MessageLoop.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestUtil.h"
#include "webupdate/WebUpdate.h"

namespace {

namespace fs = std::filesystem;
using test_support::ReadFileBytes;

class UpdateRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = WebUpdatePrompts();
    web.UpdateType = fileUpdate;
    web.UpdateUpdate = wuuSilent;
    web.URL = Utf8ToString((server / "upd.inf").string());
    web.LastURLEntry()->Key = u"Software\\RyxTest";
    web.LastURLEntry()->Section = u"Update";
    web.LastURLEntry()->Save = true;
    web.OnStatus = [this](TObject*, const String& text, Integer, Integer) {
      statuses.push_back(StringToUtf8(text));
      if (!IsUIThread()) offThread = true;
    };
    test_support::WriteFileBytes(server / "one.bin", "one");
    test_support::WriteFileBytes(server / "two.bin", "two");
  }
  void TearDown() override { WebUpdatePrompts() = saved; }
  void Control(const std::string& extra) {
    test_support::WriteFileBytes(server / "upd.inf", "[update]\nsignature=WebUpdate\ndate=01/01/2030\n[files]\ncount=2\n"
                              "[file1]\nurl=" + (server / "one.bin").string() + "\ntargetdir=" + target.string() +
                                  "\n[file2]\nurl=" + (server / "two.bin").string() + "\ntargetdir=" +
                                  target.string() + "\n" + extra);
  }
  bool DateRecorded() { return web.UpdateDateGet() > EncodeDate(2029, 1, 1); }

  TTempHome home;
  TWebUpdate web{nullptr};
  fs::path server = fs::path(home.Path()) / "server";
  fs::path target = fs::path(home.Path()) / "app";
  std::vector<std::string> statuses;
  bool offThread = false;
  TWebUpdatePrompts saved;
};

TEST_F(UpdateRunTest, FailedRunPlacesNothingAndRecordsNoDate) {
  Control("");
  fs::remove(server / "two.bin");
  web.DoUpdate(false);
  EXPECT_FALSE(fs::exists(target / "one.bin")) << "all of a run's files or none";
  EXPECT_FALSE(DateRecorded());

  test_support::WriteFileBytes(server / "two.bin", "two");
  bool success = false;
  web.OnSuccess = [&](TObject*) { success = true; };
  web.DoUpdate(false);
  EXPECT_TRUE(success);
  EXPECT_EQ(ReadFileBytes(target / "one.bin"), "one");
  EXPECT_EQ(ReadFileBytes(target / "two.bin"), "two");
  EXPECT_TRUE(DateRecorded());
}

TEST_F(UpdateRunTest, PromptsDecideWhatIsDownloaded) {
  web.LastURLEntry()->Save = false;  // each run finds the update again
  Control("");
  std::vector<std::string> asked;
  WebUpdatePrompts().Message = [&](const String& text, UINT) {
    asked.push_back(StringToUtf8(text));
    return asked.size() == 1 ? IDNO : IDYES;
  };
  web.UpdateUpdate = wuuPromptAll;
  web.DoUpdate(false);
  EXPECT_EQ(asked, (std::vector<std::string>{"Download update file : one.bin", "Download update file : two.bin"}));
  EXPECT_FALSE(fs::exists(target / "one.bin"));
  EXPECT_TRUE(fs::exists(target / "two.bin"));

  fs::remove(target / "two.bin");
  asked.clear();
  WebUpdatePrompts().Message = [&](const String& text, UINT) {
    asked.push_back(StringToUtf8(text));
    return IDNO;
  };
  web.UpdateUpdate = wuuPromptOnce;
  web.DoUpdate(false);
  EXPECT_EQ(asked, (std::vector<std::string>{"Download update files ?"}));
  EXPECT_FALSE(fs::exists(target / "two.bin"));
}

TEST_F(UpdateRunTest, ComponentsAreWholeNamesAndStayForTheHelper) {
  Control("[application]\nappupdate=1\nappname=app\nappcomps=TWO.BIN xone.bin\n");
  web.OnAppRestart = [](TObject*, bool& allow) { allow = false; };
  web.DoUpdate(false);
  EXPECT_TRUE(fs::exists(target / "one.bin")) << "\"xone.bin\" does not name one.bin";
  EXPECT_FALSE(fs::exists(target / "two.bin"));
  EXPECT_TRUE(fs::exists(fs::path(home.Path()) / "tmp" / "two.bin"));
  EXPECT_TRUE(web.AppNeedsRestart());
  EXPECT_NE(StringToUtf8(web.RestartCommandLine()).find(" \"two.bin\""), std::string::npos);
}

TEST_F(UpdateRunTest, ThreadedRunRaisesEventsOnTheUserInterfaceThread) {
  Control("");
  bool done = false;
  web.OnThreadUpdateDone = [&](TObject*) { done = true; };
  ASSERT_TRUE(web.DoThreadUpdate(false));
  EXPECT_FALSE(web.DoThreadUpdate(false)) << "one run at a time";
  for (int i = 0; i < 600 && !done; ++i) {
    WaitMessage(50);
    ProcessPendingMessages();
  }
  ASSERT_TRUE(done);
  EXPECT_FALSE(offThread);
  EXPECT_FALSE(statuses.empty());
  EXPECT_EQ(ReadFileBytes(target / "two.bin"), "two");
}

TEST_F(UpdateRunTest, ActionsAndTexts) {
  test_support::WriteFileBytes(server / "news.txt", "line 1\nline 2\n");
  test_support::WriteFileBytes(server / "eula.txt", "terms\n");
  Control("[whatsnew]\nfile=" + (server / "news.txt").string() + "\n[eula]\nfile=" + (server / "eula.txt").string() +
          "\n[action]\nrunbefore=relative/tool\nquery=Go on?\n");
  web.StartConnection();
  ASSERT_EQ(web.GetControlFile(), 0);
  std::unique_ptr<TStringList> news = web.GetWhatsNew();
  ASSERT_TRUE(news);
  EXPECT_EQ(test_support::Lines(*news), (std::vector<String>{u"line 1", u"line 2"}));
  std::unique_ptr<TStringList> eula = web.GetEULA();
  ASSERT_TRUE(eula);
  EXPECT_EQ(eula->Strings(0), u"terms");

  WebUpdatePrompts().Message = [](const String& text, UINT) { return text == u"Go on?" ? IDNO : IDOK; };
  statuses.clear();
  EXPECT_EQ(web.HandleActions(), -1) << "the query answered No";
  bool refused = false;
  for (const std::string& s : statuses) refused |= s.find("relative/tool") != std::string::npos;
  EXPECT_TRUE(refused) << "a relative program is never started";
  WebUpdatePrompts().Message = [](const String&, UINT) { return IDYES; };
  EXPECT_EQ(web.HandleActions(), 0);
  web.StopConnection();

  std::unique_ptr<TStringList> lines = web.NewWhatsNew(false);
  ASSERT_TRUE(lines);
  EXPECT_EQ(lines->Count(), 2);
  test_support::WriteFileBytes(server / "news.txt", "{\\rtf1 x}");
  EXPECT_FALSE(web.NewWhatsNew(false)) << "RTF gives no lines";
}

TEST_F(UpdateRunTest, UpdateInfoIsPostedAfterAGoodRun) {
  setenv("no_proxy", "127.0.0.1", 1);
  setenv("NO_PROXY", "127.0.0.1", 1);
  test_support::TLoopbackHttpServer report;
  report.Route("/stats/update.php", {200, "OK", "Content-Type: text/plain\r\n", "recorded 42"});
  Control("");
  TPostUpdateInfo* info = web.PostUpdateInfo();
  info->Enabled = true;
  info->Server = Utf8ToString("127.0.0.1:" + std::to_string(report.Port()));
  info->Action = u"/stats/update.php";
  info->Data = "product=ryx&version=1.0.0.8";
  std::string seen = "<not asked>";
  web.OnProcessPostResult = [&](TObject*, bool& allow) {
    seen = info->PostResult;
    allow = true;
  };
  bool success = false;
  web.OnSuccess = [&](TObject*) { success = true; };
  web.DoUpdate(false);
  EXPECT_TRUE(success);
  EXPECT_EQ(seen, "recorded 42");
  EXPECT_EQ(report.LastRequest().rfind("POST /stats/update.php HTTP/1.1\r\n", 0), 0u) << report.LastRequest();
  EXPECT_NE(report.LastRequest().find("Content-Type: application/x-www-form-urlencoded"), std::string::npos);
  EXPECT_EQ(report.LastBody(), "product=ryx&version=1.0.0.8");

  // A refused post result ends the actions; OnBeforePost can skip the post.
  web.LastURLEntry()->Save = false;
  report.Route("/stats/update.php", {200, "OK", "", "second"});
  web.OnBeforePost = [](TObject*, bool& allow) { allow = false; };
  info->PostResult = "unchanged";
  web.DoUpdate(false);
  EXPECT_EQ(info->PostResult, "unchanged");
}

TEST_F(UpdateRunTest, HttpRunPlacesFilesFromATemporaryFolderOnAnotherFileSystem) {
  struct statfs shm {}, disk {};
  fs::create_directories(target);
  if (statfs("/dev/shm", &shm) != 0 || statfs(target.c_str(), &disk) != 0 || shm.f_type == disk.f_type)
    GTEST_SKIP() << "no tmpfs at /dev/shm apart from the test's folder";
  setenv("no_proxy", "127.0.0.1", 1);
  setenv("NO_PROXY", "127.0.0.1", 1);
  test_support::TTempDir temp{"ryx_wu_shm", "/dev/shm"};
  test_support::TLoopbackHttpServer http;
  http.Route("/one.bin", {200, "OK", "", "one over http"});
  http.Route("/two.bin", {200, "OK", "", "two over http"});
  http.Route("/upd.inf", {200, "OK", "",
                          "[update]\nsignature=WebUpdate\ndate=01/01/2030\n[files]\ncount=2\n[file1]\nurl=" +
                              http.Url("/one.bin") + "\ntargetdir=" + target.string() + "\n[file2]\nurl=" +
                              http.Url("/two.bin") + "\ntargetdir=" + target.string() + "\n"});
  test_support::WriteFileBytes(target / "one.bin", "old one");
  web.UpdateType = httpUpdate;
  web.URL = Utf8ToString(http.Url("/upd.inf"));
  web.TempDirectory = Utf8ToString(temp.Path().string() + "/");
  bool success = false;
  web.OnSuccess = [&](TObject*) { success = true; };
  web.DoUpdate(false);
  EXPECT_TRUE(success);
  EXPECT_EQ(ReadFileBytes(target / "one.bin"), "one over http") << "the old file replaced across file systems";
  EXPECT_EQ(ReadFileBytes(target / "two.bin"), "two over http");
  for (const auto& e : fs::directory_iterator(temp.Path()))
    EXPECT_NE(e.path().filename().string().rfind("WUPD", 0), 0u) << "temporary file left: " << e.path();
}

}  // namespace
