// What a control file may make the program do depends on the channel it came
// over: real loopback servers over plain HTTP and HTTPS (a test root trusted
// through SSL_CERT_FILE, a self-signed server, a server for another host
// name), and local files. Also the confinement of the program's name, the
// addresses showURL opens, the private temporary folder and the checks of a
// download against what the control file announced.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/rtl/FileNames.h"
#include "platform/testing/TempHome.h"
#include "platform/win/Files.h"
#include "platform/win/Shell.h"
#include "tests/support/ServerProcess.h"
#include "tests/support/TestTls.h"
#include "tests/support/TestUtil.h"
#include "webupdate/Checksums.h"
#include "webupdate/WebUpdate.h"

namespace {

namespace fs = std::filesystem;
using test_support::ReadFileBytes;
using test_support::TServerProcess;
using test_support::WriteFileBytes;

struct TTrustServers {
  test_support::TTempDir root{"ryx_trust_srv"};
  test_support::TTestTls tls;
  std::unique_ptr<TServerProcess> http, trusted, wrongHost, selfSigned;
  TTrustServers() {
    const std::string script = RYX_WEBUPDATE_SERVERS;
    auto start = [&](std::vector<std::string> extra) {
      std::vector<std::string> argv{"/usr/bin/python3", script, "http", root.Path().string()};
      argv.insert(argv.end(), extra.begin(), extra.end());
      return std::make_unique<TServerProcess>(argv);
    };
    http = start({});
    if (!tls.Ok()) return;
    trusted = start({"--tls", tls.Cert(), tls.Key()});
    wrongHost = start({"--tls", tls.WrongHostCert(), tls.WrongHostKey()});
    selfSigned = start({"--tls", tls.SelfSignedCert(), tls.SelfSignedKey()});
  }
};
TTrustServers* gTrust = nullptr;

class UpdateTrustTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("no_proxy", "127.0.0.1", 1);
    setenv("NO_PROXY", "127.0.0.1", 1);
    gTrust = new TTrustServers();
    if (gTrust->tls.Ok()) setenv("SSL_CERT_FILE", gTrust->tls.Root().c_str(), 1);
  }
  static void TearDownTestSuite() {
    unsetenv("SSL_CERT_FILE");
    delete gTrust;
    gTrust = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(gTrust->http->Port(), 0);
    ASSERT_TRUE(gTrust->tls.Ok()) << "the openssl tool is needed for the test certificates";
    web.UpdateUpdate = wuuSilent;
    web.OnStatus = [this](TObject*, const String& text, Integer, Integer) { statuses.push_back(StringToUtf8(text)); };
    web.SetLogFileName(Utf8ToString(home.Path() + "/wupdate.log"));
    fs::create_directories(target);
    WriteFileBytes(Served("data.bin"), "new data");
  }
  static fs::path Served(const std::string& name) { return gTrust->root.Path(name); }
  static std::string Url(const TServerProcess& server, const std::string& scheme, const std::string& path) {
    return scheme + "://127.0.0.1:" + std::to_string(server.Port()) + path;
  }
  bool Saw(const std::string& text) const {
    for (const std::string& s : statuses)
      if (s.find(text) != std::string::npos) return true;
    return false;
  }
  std::string Log() const { return ReadFileBytes(home.Path() + "/wupdate.log"); }
  // The file entry of data.bin from url, placed in target.
  std::string DataEntry(const std::string& url, const std::string& extra = "") const {
    return "[files]\ncount=1\n[file1]\nurl=" + url + "\ntargetdir=" + target.string() + "\n" + extra;
  }

  TTempHome home;
  TWebUpdate web{nullptr};
  fs::path target = fs::path(home.Path()) / "app";
  std::vector<std::string> statuses;
};

TEST_F(UpdateTrustTest, ChannelDecidesWhatTheControlFileMayDo) {
  enum Channel { PlainHttp, TrustedHttps, TrustedHttpsUnchecked, WrongHostHttps, SelfSignedHttps, LocalFile };
  enum Step { RunProgram, ReplaceProgram, DataFile };
  // 0: the control file is taken; 5: refused with a status; 4: it never arrives.
  struct Case {
    Channel channel;
    Step step;
    Integer expected;
  };
  const Case cases[] = {
      {PlainHttp, RunProgram, 5},          {PlainHttp, ReplaceProgram, 5},          {PlainHttp, DataFile, 0},
      {TrustedHttps, RunProgram, 0},       {TrustedHttps, ReplaceProgram, 0},       {TrustedHttps, DataFile, 0},
      {TrustedHttpsUnchecked, RunProgram, 5}, {TrustedHttpsUnchecked, ReplaceProgram, 5},
      {TrustedHttpsUnchecked, DataFile, 0},
      {WrongHostHttps, RunProgram, 4},     {WrongHostHttps, DataFile, 4},
      {SelfSignedHttps, RunProgram, 4},    {SelfSignedHttps, DataFile, 4},
      {LocalFile, RunProgram, 0},          {LocalFile, ReplaceProgram, 0},          {LocalFile, DataFile, 0},
  };
  const std::string program = home.Path() + "/app/prog";
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "channel " << c.channel << ", step " << c.step);
    statuses.clear();
    std::string text = "[update]\nsignature=WebUpdate\n";
    if (c.step == RunProgram) text += "[action]\nrunafter=" + program + "\n";
    if (c.step == ReplaceProgram) text += "[application]\nappupdate=1\nappname=" + program + "\nappcomps=prog\n";
    WriteFileBytes(Served("upd.inf"), text);
    web.UpdateType = c.channel == LocalFile ? fileUpdate : httpUpdate;
    web.CertCheck = c.channel == TrustedHttpsUnchecked ? ccDisable : ccEnable;
    switch (c.channel) {
      case PlainHttp: web.URL = Utf8ToString(Url(*gTrust->http, "http", "/files/upd.inf")); break;
      case TrustedHttps:
      case TrustedHttpsUnchecked: web.URL = Utf8ToString(Url(*gTrust->trusted, "https", "/files/upd.inf")); break;
      case WrongHostHttps: web.URL = Utf8ToString(Url(*gTrust->wrongHost, "https", "/files/upd.inf")); break;
      case SelfSignedHttps: web.URL = Utf8ToString(Url(*gTrust->selfSigned, "https", "/files/upd.inf")); break;
      case LocalFile: web.URL = Utf8ToString(Served("upd.inf").string()); break;
    }
    ASSERT_EQ(web.StartConnection(), 0);
    EXPECT_EQ(web.GetControlFile(), c.expected);
    if (c.expected != 4) {
      EXPECT_EQ(web.ControlFileVerified(), c.channel == TrustedHttps || c.channel == LocalFile);
    }
    if (c.expected == 5) {
      EXPECT_TRUE(Saw("Refused over an unverified channel")) << "a numbered status says why";
      EXPECT_NE(Log().find(c.step == RunProgram ? "Refused runafter" : "Refused appupdate"), std::string::npos)
          << "and so does the log";
      EXPECT_FALSE(web.AppNeedsRestart());
    }
    web.StopConnection();
  }
}

TEST_F(UpdateTrustTest, DataFilesStillArriveOverPlainHttp) {
  WriteFileBytes(Served("upd.inf"), "[update]\nsignature=WebUpdate\nunconditional=1\n" +
                                        DataEntry(Url(*gTrust->http, "http", "/files/data.bin")));
  web.URL = Utf8ToString(Url(*gTrust->http, "http", "/files/upd.inf"));
  bool success = false;
  web.OnSuccess = [&](TObject*) { success = true; };
  web.DoUpdate(false);
  EXPECT_TRUE(success);
  EXPECT_EQ(ReadFileBytes(target / "data.bin"), "new data");
}

TEST_F(UpdateTrustTest, ComponentsComeOnlyOverAVerifiedChannel) {
  // The control file is trusted, but the component it names would come over plain HTTP.
  WriteFileBytes(Served("upd.inf"),
                 "[update]\nsignature=WebUpdate\nunconditional=1\n[application]\nappupdate=1\nappname=" +
                     target.string() + "/prog\nappcomps=data.bin\n" +
                     DataEntry(Url(*gTrust->http, "http", "/files/data.bin")));
  web.URL = Utf8ToString(Url(*gTrust->trusted, "https", "/files/upd.inf"));
  bool restart = false;
  web.OnAppRestart = [&](TObject*, bool& allow) {
    restart = true;
    allow = false;
  };
  web.DoUpdate(false);
  EXPECT_FALSE(restart);
  EXPECT_TRUE(Saw("Refused over an unverified channel"));
  EXPECT_FALSE(fs::exists(fs::path(home.Path()) / "tmp" / "data.bin"));
}

TEST_F(UpdateTrustTest, ProgramNameIsConfinedLikeTargetFolders) {
  struct Case {
    std::string appname;
    Integer expected;
  } cases[] = {
      {"{APP}/../../outside/x", 5},
      {"/bin/sh", 5},
      {home.Path() + "/app/../../../x", 5},
      {home.Path() + "/app/prog", 0},
      {"{APP}/prog", 0},
  };
  web.UpdateType = fileUpdate;
  web.URL = Utf8ToString(Served("upd.inf").string());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.appname);
    statuses.clear();
    WriteFileBytes(Served("upd.inf"),
                   "[update]\nsignature=WebUpdate\n[application]\nappupdate=1\nappname=" + c.appname + "\n");
    web.StartConnection();
    EXPECT_EQ(web.GetControlFile(), c.expected);
    EXPECT_EQ(Saw("Folder outside the allowed places"), c.expected == 5);
    web.StopConnection();
  }
}

TEST_F(UpdateTrustTest, ShowURLOpensOnlyWebAndMailAddresses) {
  std::vector<std::string> opened;
  TShellOpener saved = SetShellOpener([&](const String& t) {
    opened.push_back(StringToUtf8(t));
    return true;
  });
  // A program that would run if showURL reached it as a file.
  const std::string marker = home.Path() + "/ran";
  const std::string tool = home.Path() + "/app/tool";
  WriteFileBytes(tool, "#!/bin/sh\ntouch " + marker + "\n");
  fs::permissions(tool, fs::perms::owner_all);
  struct Case {
    std::string url;
    bool opens;
  } cases[] = {
      {"https://example.invalid/news", true}, {"http://example.invalid/", true}, {"mailto:help@example.invalid", true},
      {tool, false},                         {"file://" + tool, false},        {"sh", false},
      {"javascript:alert(1)", false},
  };
  web.UpdateType = fileUpdate;
  web.URL = Utf8ToString(Served("upd.inf").string());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    opened.clear();
    WriteFileBytes(Served("upd.inf"), "[update]\nsignature=WebUpdate\n[action]\nshowURL=" + c.url + "\n");
    web.StartConnection();
    ASSERT_EQ(web.GetControlFile(), 0);
    EXPECT_EQ(web.HandleActions(), c.opens ? 0 : -1);
    EXPECT_EQ(opened, c.opens ? std::vector<std::string>{c.url} : std::vector<std::string>{});
    web.StopConnection();
  }
  SetShellOpener(saved);
  EXPECT_FALSE(fs::exists(marker)) << "showURL never runs a program";
}

TEST_F(UpdateTrustTest, TextsLandInAPrivateFolderThatGoesAfterwards) {
  WriteFileBytes(Served("whatsnew.txt"), "news");
  WriteFileBytes(Served("upd.inf"), "[update]\nsignature=WebUpdate\n[whatsnew]\nfile=" +
                                        Url(*gTrust->trusted, "https", "/files/whatsnew.txt") + "\n");
  web.URL = Utf8ToString(Url(*gTrust->trusted, "https", "/files/upd.inf"));
  // Something another user left under the fixed name in the shared folder is neither read nor replaced.
  const fs::path shared = fs::path(StringToUtf8(GetTempPath())) / "whatsnew.txt";
  WriteFileBytes(shared, "planted");
  std::string landed;
  web.OnFileDownloaded = [&](TObject*, const String& name) {
    if (ExtractFileName(name) == u"whatsnew.txt") landed = StringToUtf8(ExtractFileDir(name));
  };
  web.StartConnection();
  ASSERT_EQ(web.GetControlFile(), 0);
  std::unique_ptr<TMemoryStream> text = web.GetWhatsNewStream();
  ASSERT_TRUE(text);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(text->Memory()), static_cast<std::size_t>(text->Size())), "news");
  ASSERT_FALSE(landed.empty());
  EXPECT_NE(fs::path(landed), fs::path(StringToUtf8(GetTempPath())).parent_path());
  struct stat st {};
  ASSERT_EQ(::stat(landed.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  web.StopConnection();
  EXPECT_FALSE(fs::exists(landed)) << "the private folder is removed with the session";
  EXPECT_EQ(ReadFileBytes(shared), "planted");
}

TEST_F(UpdateTrustTest, OnlyAPatchToolThisProgramWroteRuns) {
  // A "patcher" planted in the shared temporary folder must never run.
  const std::string marker = home.Path() + "/patched";
  const fs::path planted = fs::path(StringToUtf8(GetTempPath())) / "patcher";
  WriteFileBytes(planted, "#!/bin/sh\ntouch " + marker + "\n");
  fs::permissions(planted, fs::perms::owner_all);
  WriteFileBytes(Served("fix.pat"), "patch");
  WriteFileBytes(target / "prog", "old");
  WriteFileBytes(Served("upd.inf"), "[update]\nsignature=WebUpdate\nunconditional=1\n[files]\ncount=1\n[file1]\nurl=" +
                                        Served("fix.pat").string() + "\nlocalversion=" + (target / "prog").string() +
                                        "\n");
  TWebUpdateUtility utility(nullptr);
  web.SetUtility(&utility);
  web.ApplyPatch = true;
  web.UpdateType = fileUpdate;
  web.URL = Utf8ToString(Served("upd.inf").string());
  bool success = false;
  web.OnSuccess = [&](TObject*) { success = true; };
  web.DoUpdate(false);
  web.SetUtility(nullptr);
  EXPECT_FALSE(fs::exists(marker));
  EXPECT_FALSE(success) << "a patch that cannot be applied fails the run";
}

TEST_F(UpdateTrustTest, DownloadsAreCheckedAgainstTheAnnouncedSizeAndChecksum) {
  WriteFileBytes(target / "data.bin", "old");
  const std::string url = Url(*gTrust->trusted, "https", "/files/data.bin");
  const Integer sum = ByteSumOfFile(Utf8ToString(Served("data.bin").string()));
  struct Case {
    std::string extra;
    bool placed;
    std::string status;
  } cases[] = {
      {"newsize=8\nnewchecksum=" + std::to_string(sum) + "\n", true, ""},
      {"newsize=7\n", false, "File larger than allowed"},          // stopped as soon as it passes 7 bytes
      {"newsize=9\n", false, "Size differs from the update control file"},
      {"newchecksum=" + std::to_string(sum + 1) + "\n", false, "Checksum differs from the update control file"},
  };
  web.URL = Utf8ToString(Url(*gTrust->trusted, "https", "/files/upd.inf"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.extra);
    statuses.clear();
    WriteFileBytes(target / "data.bin", "old");
    // The local copy differs by size and checksum, so the entry stays in the list.
    WriteFileBytes(Served("upd.inf"),
                   "[update]\nsignature=WebUpdate\nunconditional=1\n" + DataEntry(url, c.extra + "localversion=" +
                                                                                 (target / "data.bin").string() + "\n"));
    bool success = false;
    web.OnSuccess = [&](TObject*) { success = true; };
    web.DoUpdate(false);
    EXPECT_EQ(success, c.placed);
    EXPECT_EQ(ReadFileBytes(target / "data.bin"), c.placed ? "new data" : "old");
    if (!c.status.empty()) {
      EXPECT_TRUE(Saw(c.status));
    }
  }
}

TEST_F(UpdateTrustTest, BodiesStopAtTheirCap) {
  // A body without a length stops at the announced size, not at the general limit.
  WriteFileBytes(Served("upd.inf"), "[update]\nsignature=WebUpdate\nunconditional=1\n" +
                                        DataEntry(Url(*gTrust->trusted, "https", "/endless-body/data.bin"),
                                                  "newsize=4096\n"));
  web.URL = Utf8ToString(Url(*gTrust->trusted, "https", "/files/upd.inf"));
  web.DoUpdate(false);
  EXPECT_TRUE(Saw("File larger than allowed"));
  EXPECT_FALSE(fs::exists(target / "data.bin"));
  // The control file itself stops at 4 MiB while it downloads.
  statuses.clear();
  WriteFileBytes(Served("big.inf"), "[update]\nsignature=WebUpdate\n" + std::string(5 << 20, ';'));
  for (const std::string path : {"/endless-body/upd.inf", "/files/big.inf"}) {
    SCOPED_TRACE(path);
    web.URL = Utf8ToString(Url(*gTrust->trusted, "https", path));
    web.StartConnection();
    EXPECT_EQ(web.GetControlFile(), 4);
    EXPECT_TRUE(Saw("File larger than allowed"));
    web.StopConnection();
  }
}

TEST_F(UpdateTrustTest, EmptyOrUnreadableLocalCopiesAreOutOfDate) {
  const String local = Utf8ToString((target / "data.bin").string());
  String version = u"1.0.0.0";
  String file = local;
  WriteFileBytes(target / "data.bin", "");
  EXPECT_TRUE(web.CompareFile(version, file, 0, -1)) << "empty, version check";
  EXPECT_TRUE(web.CompareFile(version, file, 0, 0)) << "empty, checksum check";
  String none;
  EXPECT_TRUE(web.CompareFile(none, file, 5, -1)) << "empty, size check";
  WriteFileBytes(target / "data.bin", "12345");
  fs::permissions(target / "data.bin", fs::perms::none);
  if (::access((target / "data.bin").c_str(), R_OK) == 0) GTEST_SKIP() << "running as a user who reads every file";
  EXPECT_TRUE(web.CompareFile(none, file, 5, -1)) << "unreadable, size check";
}

TEST_F(UpdateTrustTest, RefusedTargetFolderFailsTheRun) {
  WriteFileBytes(Served("upd.inf"),
                 "[update]\nsignature=WebUpdate\nunconditional=1\n[files]\ncount=2\n[file1]\nurl=" +
                     Served("data.bin").string() + "\ntargetdir=" + target.string() + "\n[file2]\nurl=" +
                     Served("data.bin").string() + "\ntargetdir=/etc/ryx-not-allowed\n");
  web.UpdateType = fileUpdate;
  web.URL = Utf8ToString(Served("upd.inf").string());
  bool success = false;
  web.OnSuccess = [&](TObject*) { success = true; };
  web.DoUpdate(false);
  EXPECT_FALSE(success);
  EXPECT_TRUE(Saw("Folder outside the allowed places"));
  EXPECT_FALSE(fs::exists(target / "data.bin")) << "none of the run's files is placed";
}

}  // namespace

namespace {

TEST_F(UpdateTrustTest, APlacementThatFailsLateUndoesTheEarlierOnes) {
  WriteFileBytes(Served("one.bin"), "new one");
  WriteFileBytes(target / "one.bin", "old one");
  // The second file's place is taken by a folder: it cannot be placed, after the first one was.
  fs::create_directories(target / "data.bin");
  WriteFileBytes(Served("upd.inf"), "[update]\nsignature=WebUpdate\nunconditional=1\n[files]\ncount=2\n[file1]\nurl=" +
                                        Served("one.bin").string() + "\ntargetdir=" + target.string() +
                                        "\n[file2]\nurl=" + Served("data.bin").string() + "\ntargetdir=" +
                                        target.string() + "\n");
  for (bool useTemp : {true, false}) {
    SCOPED_TRACE(useTemp);
    web.UseWinTempDir = useTemp;
    web.UpdateType = fileUpdate;
    web.URL = Utf8ToString(Served("upd.inf").string());
    bool success = false;
    web.OnSuccess = [&](TObject*) { success = true; };
    web.DoUpdate(false);
    EXPECT_FALSE(success);
    EXPECT_EQ(ReadFileBytes(target / "one.bin"), "old one");
    EXPECT_TRUE(fs::is_directory(target / "data.bin"));
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(target)) left.push_back(e.path().filename().string());
    EXPECT_EQ(left.size(), 2u) << "no staged or backup files stay behind";
  }
}

}  // namespace
