// Versions, the version-check table and the registry records, with control
// files fetched by the file transport.
#include <gtest/gtest.h>

#include "tests/support/TestUtil.h"

#include <filesystem>
#include <fstream>

#include "platform/testing/TempHome.h"
#include "platform/win/Files.h"
#include "webupdate/Checksums.h"
#include "webupdate/WebUpdate.h"

namespace {

TEST(VersionTest, TextsToVersionsAndBack) {
  struct Case {
    const Char* text;
    const Char* expected;
  } cases[] = {
      {u"1.2.3.4", u"1.2.3.4"}, {u"1,3", u"1.3.0.0"},     {u"7", u"7.0.0.0"},   {u"1.2.3", u"1.2.3.0"},
      {u"x", u"65535.65535.65535.65535"}, {u"1.2.3.x", u"1.2.65535.65535"},
  };
  for (const Case& c : cases) EXPECT_EQ(VersionToStr(StrToVersion(c.text)), c.expected) << StringToUtf8(c.text);
}

TEST(VersionTest, ChecksumsAndEncoder) {
  TTempHome home;
  test_support::WriteFileBytes(home.Path() + "/abc", "abc");
  test_support::WriteFileBytes(home.Path() + "/empty", "");
  EXPECT_EQ(CRC32OfFile(Utf8ToString(home.Path() + "/abc")), 1821220161);
  EXPECT_EQ(ByteSumOfFile(Utf8ToString(home.Path() + "/abc")), 293);
  EXPECT_EQ(ByteSumOfFile(Utf8ToString(home.Path() + "/empty")), -1);
  EXPECT_EQ(ByteSumOfFile(u"/nonexistent/x"), -1);
  EXPECT_EQ(CRC32OfFile(u"/nonexistent/x"), 0);
  EXPECT_EQ(Base64Encode("abc"), u"YWJj");
  EXPECT_EQ(Base64Encode("ab"), u"YWI=");
  EXPECT_EQ(Base64Encode(""), u"");
}

class VersionCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    web.UpdateType = fileUpdate;
    web.URL = Utf8ToString(home.Path() + "/server/upd.inf");
    std::filesystem::create_directories(home.Path() + "/server");
    test_support::WriteFileBytes(home.Path() + "/local.bin", "abc");
  }
  Integer Check(const std::string& update, bool* fetched = nullptr) {
    test_support::WriteFileBytes(home.Path() + "/server/upd.inf", "[update]\nsignature=WebUpdate\nlocalversion=" + home.Path() +
                                              "/local.bin\n" + update);
    web.StartConnection();
    Integer got = web.GetControlFile();
    if (fetched != nullptr) *fetched = got == 0;
    Integer result = got == 0 ? web.DoVersionCheck() : -got;
    web.StopConnection();
    return result;
  }

  TTempHome home;
  TWebUpdate web{nullptr};
};

TEST_F(VersionCheckTest, ResultTable) {
  struct Case {
    std::string update;
    Integer expected;
  } cases[] = {
      {"newchecksum=293\n", 7},            // equal byte sum
      {"newchecksum=294\n", 10},
      {"newchecksum=0\n", 10},             // 0 is no proof of equality
      {"newsize=3\n", 7},
      {"newsize=4\n", 9},
      {"newsize=0x100000000\n", 9},        // sizes are 64-bit
      {"newversion=1.0\n", 7},             // the local file has no version record: vcUpdateOnly
      {"unconditional=1\n", 8},
      {"date=01/01/2999\n", 6},
      {"date=01/01/2999\nnewchecksum=293\n", 6},  // a newer date wins; the version keys are not read
      {"", 7},
  };
  for (const Case& c : cases) EXPECT_EQ(Check(c.update), c.expected) << c.update;
}

TEST_F(VersionCheckTest, MissingLocalFileAndCustomValidation) {
  std::filesystem::remove(home.Path() + "/local.bin");
  EXPECT_EQ(Check("newchecksum=294\n"), 7);
  web.VersionCheck = vcAlways;
  EXPECT_EQ(Check("newchecksum=294\n"), 10);
  web.OnCustomValidate = [](TObject*, const String& msg, const String&, bool& allow) { allow = msg == u"yes"; };
  EXPECT_EQ(Check("[custom]\nvalidatemsg=yes\n"), 12);
}

TEST_F(VersionCheckTest, SignatureIsCheckedBeforeAnythingIsUsed) {
  test_support::WriteFileBytes(home.Path() + "/server/upd.inf", "[update]\nsignature=Other\n[application]\nappupdate=1\nappname=/bin/x\n");
  web.StartConnection();
  EXPECT_EQ(web.GetControlFile(), 5);
  EXPECT_FALSE(web.AppNeedsRestart());
  web.StopConnection();
  web.CertCheck = ccDisable;  // both checks off: the original behaviour
  test_support::WriteFileBytes(home.Path() + "/server/upd.inf",
                               "[update]\nsignature=Other\n[application]\nappupdate=1\nappname=" + home.Path() + "/x\n");
  web.StartConnection();
  EXPECT_EQ(web.GetControlFile(), 0);
  web.StopConnection();
  EXPECT_FALSE(FileExists(web.ControlFileName()));  // the control file does not outlive the session
}

TEST_F(VersionCheckTest, NewVersionAvailableAndTheRegistryRecords) {
  test_support::WriteFileBytes(home.Path() + "/server/upd.inf", "[update]\nsignature=WebUpdate\ndate=02/03/2020\ntime=10:15\n");
  web.LastURLEntry()->Key = u"Software\\RyxTest";
  web.LastURLEntry()->Section = u"Update";
  EXPECT_TRUE(web.NewVersionAvailable(false));  // no date recorded yet
  web.LastURLEntry()->Save = true;
  web.UpdateDatePut(web.NewVersionDate());
  EXPECT_FALSE(web.NewVersionAvailable(false));
  EXPECT_DOUBLE_EQ(web.CurVersionDate(), web.NewVersionDate());

  EXPECT_EQ(web.URLGet(), u"");
  web.URLPut(u"file:///next.inf");
  EXPECT_EQ(web.URLGet(), u"file:///next.inf");
  web.LastURLEntry()->Save = false;
  EXPECT_EQ(web.URLGet(), u"");  // Save off: nothing read
  TWebUpdate other(nullptr);
  other.LastURLEntry()->Key = u"Software\\RyxTest";
  EXPECT_EQ(other.URLGet(), u"");  // no section: nothing
}

TEST_F(VersionCheckTest, FileCopyRefusesItselfAndKeepsTargetsWhole) {
  test_support::WriteFileBytes(home.Path() + "/server/f.bin", "new contents");
  test_support::WriteFileBytes(home.Path() + "/target.bin", "old");
  web.OnStatus = [&](TObject*, const String&, Integer, Integer) {};
  web.OnProgressCancel = [](TObject*, bool& cancel) { cancel = true; };
  EXPECT_FALSE(web.URLGetFile(nullptr, Utf8ToString(home.Path() + "/server/f.bin"),
                              Utf8ToString(home.Path() + "/target.bin"), false));
  EXPECT_TRUE(web.Cancelled());
  std::ifstream in(home.Path() + "/target.bin");
  std::string text((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(text, "old");
  web.OnProgressCancel = nullptr;
  EXPECT_FALSE(web.URLGetFile(nullptr, Utf8ToString(home.Path() + "/server/f.bin"),
                              Utf8ToString(home.Path() + "/server/f.bin"), false));  // source = target
  EXPECT_TRUE(web.URLGetFile(nullptr, Utf8ToString(home.Path() + "/server/f.bin"),
                             Utf8ToString(home.Path() + "/target.bin"), false));
  std::ifstream again(home.Path() + "/target.bin");
  std::string now((std::istreambuf_iterator<char>(again)), {});
  EXPECT_EQ(now, "new contents");
  // No temporary file is left behind.
  for (const auto& e : std::filesystem::directory_iterator(home.Path() + "/tmp"))
    EXPECT_EQ(e.path().filename().string().rfind("WUP", 0), std::string::npos) << e.path();
}

TEST(UrlTest, NamesAndDomains) {
  TWebUpdate w(nullptr);
  EXPECT_EQ(w.URLtoFile(u"http://a/b/c.exe?x=1"), u"c.exe");
  EXPECT_EQ(w.URLtoFile(u"http://a/b/"), u"");
  EXPECT_EQ(w.URLtoFile(u"http://a/b/.."), u"");
  EXPECT_EQ(w.URLtoFile(u"C:\\x\\y.txt"), u"y.txt");
  EXPECT_EQ(URLToDomain(u"https://server:8080/path\\x"), u"server:8080");
  EXPECT_EQ(URLToDomain(u"ftp://server\\share/x"), u"server");
  EXPECT_EQ(MakeProxyUrl(u"https://h/x", u"u", u"p"), u"https://h/x");
  EXPECT_EQ(MakeProxyUrl(u"HTTP://h/x", u"u", u"p"), u"http://u:p@h/x");
}

}  // namespace
