// The transports against real servers on 127.0.0.1: Python's http.server
// (plain and TLS with a self-signed certificate) and pyftpdlib.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/testing/TempHome.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/Files.h"
#include "tests/support/ServerProcess.h"
#include "tests/support/TestUtil.h"
#include "webupdate/WebUpdate.h"

namespace {

namespace fs = std::filesystem;
using test_support::TServerProcess;

const std::string kTransportPayload = [] {
  std::string s;
  for (int i = 0; i < 20000; ++i) s.push_back(static_cast<char>((i * 31) & 0xFF));
  return s;
}();

// Servers shared by the suite: started once, stopped at its end.
struct TServers {
  test_support::TTempDir root{"ryx_wu_srv"};
  std::unique_ptr<TServerProcess> http, https, ftp;
  TServers() {
    test_support::WriteFileBytes(root.Path("f.bin"), kTransportPayload);
    test_support::WriteFileBytes(root.Path("small.txt"), "hello");
    fs::create_directories(root.Path("sub"));
    test_support::WriteFileBytes(root.Path("sub") / "g.bin", kTransportPayload);
    const std::string script = RYX_WEBUPDATE_SERVERS;
    http = std::make_unique<TServerProcess>(std::vector<std::string>{
        "/usr/bin/python3", script, "http", root.Path().string(), "--user", "us\xC3\xABr", "--password", "p\xC3\xA4ss"});
    const std::string cert = root.Path("cert.pem").string(), key = root.Path("key.pem").string();
    std::string cmd = "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 -keyout " + key +
                      " -out " + cert + " >/dev/null 2>&1";
    if (std::system(cmd.c_str()) == 0)
      https = std::make_unique<TServerProcess>(
          std::vector<std::string>{"/usr/bin/python3", script, "http", root.Path().string(), "--tls", cert, key});
    ftp = std::make_unique<TServerProcess>(
        std::vector<std::string>{"/usr/bin/python3", script, "ftp", root.Path().string(), "--user", "ftpu", "--password", "pw"});
  }
};
TServers* gServers = nullptr;

class TransportTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("no_proxy", "127.0.0.1", 1);
    setenv("NO_PROXY", "127.0.0.1", 1);
    gServers = new TServers();
  }
  static void TearDownTestSuite() {
    delete gServers;
    gServers = nullptr;
  }
  void SetUp() override {
    web.OnStatus = [this](TObject*, const String& text, Integer code, Integer err) {
      statuses.push_back(StringToUtf8(text) + " (" + std::to_string(code) + "," + std::to_string(err) + ")");
    };
    target = Utf8ToString(home.Path() + "/dl/");
    fs::create_directories(home.Path() + "/dl");
    saved = WebUpdatePrompts();
  }
  void TearDown() override {
    if (web.InProgress()) web.StopConnection();
    WebUpdatePrompts() = saved;
  }
  static std::string Http(int port, const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(port) + path;
  }
  std::string HttpUrl(const std::string& path) const { return Http(gServers->http->Port(), path); }
  int Requests(const std::string& path) {
    web.UpdateType = httpUpdate;
    bool opened = !web.InProgress();
    if (opened) web.StartConnection();
    web.URLGetFile(web.HintConnect(), Utf8ToString(HttpUrl("/count" + path)), target, false);
    if (opened) web.StopConnection();
    std::ifstream in(home.Path() + "/dl/" + path.substr(path.rfind('/') + 1));
    int n = -1;
    in >> n;
    return n;
  }
  bool Get(const std::string& url) {
    if (!web.InProgress()) {
      EXPECT_EQ(web.StartConnection(), 0);
    }
    return web.URLGetFile(web.HintConnect(), Utf8ToString(url), target, false);
  }
  std::string Downloaded(const std::string& name) {
    return test_support::ReadFileBytes(home.Path() + "/dl/" + name);
  }
  bool TempFilesLeft() {
    for (const auto& e : fs::directory_iterator(home.Path() + "/tmp"))
      if (e.path().filename().string().rfind("WUP", 0) == 0) return true;
    return false;
  }
  bool Saw(const std::string& text) {
    for (const std::string& s : statuses)
      if (s.find(text) != std::string::npos) return true;
    return false;
  }

  TTempHome home;
  TWebUpdate web{nullptr};
  String target;
  std::vector<std::string> statuses;
  TWebUpdatePrompts saved;
};

TEST_F(TransportTest, HttpDownloadsWholeFilesAndReportsFailures) {
  ASSERT_NE(gServers->http->Port(), 0) << "python3 http.server did not start";
  int progress = 0;
  web.OnFileProgress = [&](TObject*, const String&, Int64 pos, Int64 size) {
    ++progress;
    EXPECT_EQ(size, static_cast<Int64>(kTransportPayload.size()));
    EXPECT_LE(pos, size);
  };
  EXPECT_TRUE(Get(HttpUrl("/files/f.bin")));
  EXPECT_EQ(Downloaded("f.bin"), kTransportPayload);
  EXPECT_GE(progress, 5);  // one per block
  web.OnFileProgress = nullptr;

  EXPECT_TRUE(Get(HttpUrl("/redirect/small.txt")));
  EXPECT_EQ(Downloaded("small.txt"), "hello");

  test_support::WriteFileBytes(home.Path() + "/dl/keep.bin", "old");
  struct Case {
    std::string path;
    std::string status;
  } failures[] = {
      {"/files/missing.bin", "Http status : 404 (6,404)"},
      {"/short/f.bin", "(20,10)"},  // shorter than announced
      {"/files/", "File not found"},  // no file name: never the folder
  };
  for (const Case& c : failures) {
    statuses.clear();
    EXPECT_FALSE(Get(HttpUrl(c.path))) << c.path;
    EXPECT_TRUE(Saw(c.status)) << c.path;
  }
  EXPECT_EQ(Downloaded("f.bin"), kTransportPayload);  // the good copy was not touched by the short one
  // Bytes past the announced length are not part of the file.
  EXPECT_TRUE(Get(HttpUrl("/long/f.bin")));
  EXPECT_EQ(Downloaded("f.bin"), kTransportPayload);
  EXPECT_FALSE(TempFilesLeft());
}

TEST_F(TransportTest, BasicAuthenticationIsAskedAgainAFewTimesAtMost) {
  ASSERT_NE(gServers->http->Port(), 0);
  web.Authenticate = waAuto;
  int asked = 0;
  WebUpdatePrompts().Login = [&](const String& caption, String& user, String& password) {
    EXPECT_EQ(caption, Utf8ToString("Connect to 127.0.0.1:" + std::to_string(gServers->http->Port())));
    ++asked;
    if (asked == 3) return false;
    user = u"wrong";
    password = u"x";
    return true;
  };
  const int before = Requests("/auth/small.txt");
  EXPECT_FALSE(Get(HttpUrl("/auth/small.txt")));
  EXPECT_TRUE(Saw("Authentication cancelled"));
  EXPECT_EQ(Requests("/auth/small.txt") - before, 3);  // two wrong answers, then cancel

  // Credentials outside Latin-1 travel as UTF-8.
  WebUpdatePrompts().Login = [&](const String&, String& user, String& password) {
    user = Utf8ToString("us\xC3\xABr");
    password = Utf8ToString("p\xC3\xA4ss");
    return true;
  };
  web.UserID.clear();
  web.Password.clear();
  EXPECT_TRUE(Get(HttpUrl("/auth/small.txt")));

  // A server that never accepts cannot keep the user in the loop.
  web.UserID = u"a";
  web.Password = u"b";
  asked = 0;
  WebUpdatePrompts().Login = [&](const String&, String& user, String& password) {
    ++asked;
    user = u"a";
    password = u"b";
    return true;
  };
  EXPECT_FALSE(Get(HttpUrl("/auth/small.txt")));
  EXPECT_LE(asked, 5);
}

TEST_F(TransportTest, CancelMidTransferLeavesNothing) {
  ASSERT_NE(gServers->http->Port(), 0);
  test_support::WriteFileBytes(home.Path() + "/dl/f.bin", "old");
  web.OnFileProgress = [&](TObject*, const String&, Int64 pos, Int64) {
    if (pos >= 20) web.Cancel();
  };
  EXPECT_FALSE(Get(HttpUrl("/trickle/f.bin")));
  EXPECT_TRUE(web.Cancelled());
  EXPECT_EQ(Downloaded("f.bin"), "old");
  EXPECT_FALSE(TempFilesLeft());
}

TEST_F(TransportTest, HostileServersEndInFailuresWithinTheTimeouts) {
  ASSERT_NE(gServers->http->Port(), 0);
  web.ReceiveTimeOut = 2000;
  web.TimeOut = 2000;
  EXPECT_FALSE(Get(HttpUrl("/endless-headers")));
  EXPECT_FALSE(Get(HttpUrl("/slow-headers")));
  web.StopConnection();
  web.MaxDownloadSize = 1000;  // a body past the budget
  EXPECT_FALSE(Get(HttpUrl("/files/f.bin")));
  EXPECT_FALSE(TempFilesLeft());
}

TEST_F(TransportTest, HostileBodiesFailAndLeaveNothing) {
  ASSERT_NE(gServers->http->Port(), 0);
  test_support::WriteFileBytes(home.Path() + "/dl/endless-body", "old");
  test_support::WriteFileBytes(home.Path() + "/dl/f.bin", "old");
  web.ReceiveTimeOut = 2000;
  web.MaxDownloadSize = 1 << 20;
  struct Case {
    std::string path, file;
  } cases[] = {
      {"/endless-body", "endless-body"},  // no length, no end: stopped by the size budget
      {"/slow-body/f.bin", "f.bin"},      // one byte each 3 s: stopped by the receive time-out
  };
  for (const Case& c : cases) {
    statuses.clear();
    EXPECT_FALSE(Get(HttpUrl(c.path))) << c.path;
    EXPECT_TRUE(Saw("(20,10)")) << c.path;
    EXPECT_EQ(Downloaded(c.file), "old") << c.path;
    EXPECT_FALSE(TempFilesLeft()) << c.path;
    web.StopConnection();
  }
}

TEST_F(TransportTest, HttpsChecksCertificatesUnlessTold) {
  if (!gServers->https || gServers->https->Port() == 0) GTEST_SKIP() << "openssl or the TLS server cannot start here";
  const std::string url = "https://127.0.0.1:" + std::to_string(gServers->https->Port()) + "/files/small.txt";
  EXPECT_FALSE(Get(url));  // self-signed: refused
  web.StopConnection();
  web.CertCheck = ccDisable;
  EXPECT_TRUE(Get(url));
  EXPECT_EQ(Downloaded("small.txt"), "hello");
  // Never from https down to http.
  const std::string down = "https://127.0.0.1:" + std::to_string(gServers->https->Port()) + "/redirect-abs/" +
                           HttpUrl("/files/f.bin");
  EXPECT_FALSE(Get(down));
}

TEST_F(TransportTest, FtpActiveAndPassive) {
  ASSERT_NE(gServers->ftp->Port(), 0) << "pyftpdlib did not start";
  web.UpdateType = ftpUpdate;
  web.Host = u"127.0.0.1";
  web.Port = gServers->ftp->Port();
  web.UserID = u"ftpu";
  web.Password = u"pw";
  for (bool passive : {true, false}) {
    web.FTPPassive = passive;
    ASSERT_EQ(web.StartConnection(), 0);
    ASSERT_EQ(web.FTPConnect(), 0);
    EXPECT_TRUE(web.URLGetFile(web.HintConnect(), u"ftp://x/f.bin", target, false)) << passive;
    EXPECT_EQ(Downloaded("f.bin"), kTransportPayload);
    statuses.clear();
    EXPECT_FALSE(web.URLGetFile(web.HintConnect(), u"ftp://x/none.bin", target, false));
    EXPECT_TRUE(Saw("550")) << "the server's reply is in the error text";
    web.StopConnection();
  }
  web.FTPDirectory = u"sub";
  web.StartConnection();
  ASSERT_EQ(web.FTPConnect(), 0);
  EXPECT_TRUE(web.URLGetFile(web.HintConnect(), u"ftp://x/g.bin", target, false));
  web.StopConnection();
  web.FTPDirectory = u"nowhere";
  web.StartConnection();
  ASSERT_EQ(web.FTPConnect(), 0);
  statuses.clear();
  EXPECT_FALSE(web.URLGetFile(web.HintConnect(), u"ftp://x/g.bin", target, false));
  EXPECT_TRUE(Saw("Cannot change FTP directory to : nowhere"));
  web.StopConnection();
  web.Password = u"wrong";
  web.StartConnection();
  EXPECT_EQ(web.FTPConnect(), -1);
}

}  // namespace
