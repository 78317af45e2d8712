// The SFTP transport against a real OpenSSH server on 127.0.0.1.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/testing/TempHome.h"
#include "tests/support/SshServer.h"
#include "tests/support/TestUtil.h"
#include "webupdate/WebUpdate.h"

namespace {

namespace fs = std::filesystem;

const std::string kSftpPayload = [] {
  std::string s;
  for (int i = 0; i < 50000; ++i) s.push_back(static_cast<char>((i * 7) & 0xFF));
  return s;
}();

struct TSftpFixture {
  test_support::TTempDir files{"ryx_sftp_files"};
  std::unique_ptr<test_support::TSshServer> server;
  TSftpFixture() {
    test_support::WriteFileBytes(files.Path("f.bin"), kSftpPayload);
    server = std::make_unique<test_support::TSshServer>("ryxsftp", "s3cret");
  }
};
TSftpFixture* gSftp = nullptr;

class SftpTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { gSftp = new TSftpFixture(); }
  static void TearDownTestSuite() {
    delete gSftp;
    gSftp = nullptr;
  }
  void SetUp() override {
    if (gSftp->server->Port() == 0) GTEST_SKIP() << "the SSH server cannot start here: " << gSftp->server->Failure();
    web.UpdateType = sftpUpdate;
    web.Host = u"127.0.0.1";
    web.Port = gSftp->server->Port();
    web.UserID = u"ryxsftp";
    web.Password = u"s3cret";
    web.FTPDirectory = Utf8ToString(gSftp->files.Path().string());
    web.KnownHostsFile = Utf8ToString(home.Path() + "/known_hosts");
    test_support::WriteFileBytes(home.Path() + "/known_hosts", gSftp->server->KnownHostsLine() + "\n");
    web.OnStatus = [this](TObject*, const String& text, Integer code, Integer err) {
      statuses.push_back(StringToUtf8(text) + " (" + std::to_string(code) + "," + std::to_string(err) + ")");
    };
    fs::create_directories(home.Path() + "/dl");
    target = Utf8ToString(home.Path() + "/dl/");
  }
  void TearDown() override { web.StopConnection(); }
  Integer Connect() {
    web.StartConnection();
    return web.FTPConnect();
  }
  bool Saw(const std::string& text) const {
    for (const std::string& s : statuses)
      if (s.find(text) != std::string::npos) return true;
    return false;
  }
  bool TempFilesLeft() const {
    for (const auto& e : fs::directory_iterator(home.Path() + "/tmp"))
      if (e.path().filename().string().rfind("WUP", 0) == 0) return true;
    return false;
  }
  std::string Downloaded(const std::string& name) const {
    return test_support::ReadFileBytes(home.Path() + "/dl/" + name);
  }

  TTempHome home;
  TWebUpdate web{nullptr};
  String target;
  std::vector<std::string> statuses;
};

TEST_F(SftpTest, DownloadsWholeFileAndReportsAMissingOne) {
  ASSERT_EQ(Connect(), 0);
  EXPECT_TRUE(Saw("(3,0)"));
  Int64 last = 0;
  web.OnFileProgress = [&](TObject*, const String&, Int64 pos, Int64 size) {
    EXPECT_EQ(size, static_cast<Int64>(kSftpPayload.size()));
    last = pos;
  };
  EXPECT_TRUE(web.URLGetFile(web.HintConnect(), u"sftp://127.0.0.1/f.bin", target, false));
  EXPECT_EQ(Downloaded("f.bin"), kSftpPayload);
  EXPECT_EQ(last, static_cast<Int64>(kSftpPayload.size()));

  statuses.clear();
  EXPECT_FALSE(web.URLGetFile(web.HintConnect(), u"sftp://127.0.0.1/none.bin", target, false));
  EXPECT_TRUE(Saw("File not found : none.bin (2,1)"));
  EXPECT_FALSE(fs::exists(home.Path() + "/dl/none.bin"));
  EXPECT_FALSE(TempFilesLeft());
}

TEST_F(SftpTest, WrongPasswordIsAFailedConnection) {
  web.Password = u"wrong";
  EXPECT_EQ(Connect(), -1);
  EXPECT_TRUE(Saw("Cannot connect to SFTP host"));
  for (const std::string& s : statuses) EXPECT_EQ(s.find("wrong"), std::string::npos) << "no password in a status";
}

TEST_F(SftpTest, UnknownHostKeyIsRefusedUnlessAccepted) {
  test_support::WriteFileBytes(home.Path() + "/known_hosts", "");
  EXPECT_EQ(Connect(), -1);
  EXPECT_TRUE(Saw("Cannot connect to SFTP host"));
  web.StopConnection();

  web.AcceptNewHostKey = true;
  ASSERT_EQ(Connect(), 0);
  web.StopConnection();
  // Now known: accepted without being told.
  web.AcceptNewHostKey = false;
  EXPECT_EQ(Connect(), 0);
  web.StopConnection();

  // A different key for the same host is refused whatever the setting.
  test_support::WriteFileBytes(home.Path() + "/known_hosts",
        "[127.0.0.1]:" + std::to_string(gSftp->server->Port()) +
            " ssh-ed25519 AAAAC3NzaC1lZDI1NTE5AAAAIIvJ1kV9Hs5Vb2m0cC2vVPz8u8ZrPpDqGg9G7m2P3a0c\n");
  web.AcceptNewHostKey = true;
  EXPECT_EQ(Connect(), -1);
}

TEST_F(SftpTest, CancelMidReadStopsAndLeavesNothing) {
  test_support::WriteFileBytes(home.Path() + "/dl/f.bin", "old");
  ASSERT_EQ(Connect(), 0);
  int blocks = 0;
  web.OnFileProgress = [&](TObject*, const String&, Int64, Int64) {
    if (++blocks == 2) web.Cancel();
  };
  EXPECT_FALSE(web.URLGetFile(web.HintConnect(), u"sftp://127.0.0.1/f.bin", target, false));
  EXPECT_EQ(blocks, 2) << "no block is read after the cancel";
  EXPECT_TRUE(web.Cancelled());
  EXPECT_EQ(Downloaded("f.bin"), "old");
  EXPECT_FALSE(TempFilesLeft());
}

}  // namespace

namespace {

// Only a server whose key was already known proves where a control file came from.
TEST_F(SftpTest, OnlyAKnownHostKeyMakesTheChannelVerified) {
  test_support::WriteFileBytes(gSftp->files.Path("upd.inf"),
                               "[update]\nsignature=WebUpdate\n[action]\nrunafter=" + home.Path() + "/prog\n");
  web.URL = u"sftp://127.0.0.1/upd.inf";
  ASSERT_EQ(Connect(), 0);
  EXPECT_EQ(web.GetControlFile(), 0);
  EXPECT_TRUE(web.ControlFileVerified());
  web.StopConnection();
  // A key taken on first sight proves nothing.
  fs::remove(home.Path() + "/known_hosts");
  web.AcceptNewHostKey = true;
  ASSERT_EQ(Connect(), 0);
  EXPECT_EQ(web.GetControlFile(), 5);
  EXPECT_FALSE(web.ControlFileVerified());
  EXPECT_TRUE(Saw("Refused over an unverified channel : runafter"));
  web.StopConnection();
  fs::remove(gSftp->files.Path("upd.inf"));
}

}  // namespace
