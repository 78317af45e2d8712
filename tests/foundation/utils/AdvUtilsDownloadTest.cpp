// TAdvUtils::DownloadImage against a loopback HTTP server started by the test.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Streams.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestUtil.h"

namespace {

using test_support::MessageOf;
using test_support::TLoopbackHttpServer;

std::string StreamBytes(TMemoryStream& stream) {
  return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

class AdvUtilsDownloadTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // A proxy from the environment must not take loopback requests.
    setenv("no_proxy", "127.0.0.1", 1);
    setenv("NO_PROXY", "127.0.0.1", 1);
  }
  void SetUp() override {
    for (int i = 0; i < 3000; ++i) png.push_back(static_cast<char>(i % 251));  // spans three 1025-byte chunks
    server.Route("/logo.png", {200, "OK", "Content-Type: Image/PNG\r\n", png});
    server.Route("/old-logo", {301, "Moved Permanently", "Location: /logo.png\r\n", ""});
    server.Route("/page.html", {200, "OK", "Content-Type: text/html\r\n", "<html>image</html>"});
    server.Route("/untyped", {200, "OK", "", "\x89PNG"});
  }
  String Url(const std::string& path) { return Utf8ToString(server.Url(path)); }

  TLoopbackHttpServer server;
  std::string png = "\x89PNG\r\n\x1a\n";
};

TEST_F(AdvUtilsDownloadTest, ImageArrivesByteForByte) {
  for (const char* path : {"/logo.png", "/old-logo"}) {
    std::unique_ptr<TMemoryStream> stream = TAdvUtils::DownloadImage(Url(path));
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(StreamBytes(*stream), png) << path;
  }
  EXPECT_NE(server.LastRequest().find("User-Agent: TAdvUtils\r\n"), std::string::npos);
}

TEST_F(AdvUtilsDownloadTest, NonImageResponsesGiveAnEmptyStream) {
  for (const char* path : {"/page.html", "/untyped", "/missing.png"}) {  // the 404 is text/plain
    std::unique_ptr<TMemoryStream> stream = TAdvUtils::DownloadImage(Url(path));
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Size(), 0) << path;
  }
}

TEST_F(AdvUtilsDownloadTest, UnopenableUrlRaisesWithTheUrl) {
  const std::string url = "http://127.0.0.1:" + std::to_string(TLoopbackHttpServer::ClosedPort()) + "/a.png";
  EXPECT_EQ(MessageOf([&] { TAdvUtils::DownloadImage(Utf8ToString(url)); }), u"Exception: Cannot open URL " + Utf8ToString(url));
  EXPECT_EQ(MessageOf([] { TAdvUtils::DownloadImage(u"gopher://127.0.0.1/a.png"); }),
            u"Exception: Cannot open URL gopher://127.0.0.1/a.png");
}

TEST_F(AdvUtilsDownloadTest, BodyCutShortRaisesInsteadOfAPartialPicture) {
  server.Route("/short.png", {200, "OK", "Content-Type: image/png\r\nContent-Length: 5000\r\n", png});
  EXPECT_EQ(MessageOf([&] { TAdvUtils::DownloadImage(Url("/short.png")); }),
            u"Exception: Cannot open URL " + Url("/short.png"));
}

}  // namespace
