// Internet sessions against a loopback HTTP server started by the test.
#include "platform/net/WinInet.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "platform/win/WinError.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestUtil.h"

namespace {

using test_support::THttpResponse;
using test_support::TLoopbackHttpServer;

constexpr DWORD kNoCacheFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;

std::string ImageBytes() {
  std::string bytes = "\x89PNG\r\n\x1a\n";
  for (int i = 0; i < 5000; ++i) bytes.push_back(static_cast<char>((i * 7) & 0xFF));  // every byte value, zeros too
  return bytes;
}

String U(const std::string& s) { return Utf8ToString(s); }

class WinInetTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // A proxy from the environment must not take loopback requests.
    setenv("no_proxy", "127.0.0.1", 1);
    setenv("NO_PROXY", "127.0.0.1", 1);
  }
  void SetUp() override {
    server.Route("/image.png", {200, "OK", "Content-Type: image/png\r\n", ImageBytes()});
    server.Route("/page.html", {200, "OK", "Content-Type: text/html; charset=utf-8\r\n", "<html></html>"});
    server.Route("/moved", {302, "Found", "Location: /image.png\r\n", ""});
    server.Route("/to-file", {302, "Found", "Location: file:///etc/passwd\r\n", ""});
    server.Route("/huge", {200, "OK", "Content-Type: image/png\r\nContent-Length: 100000000\r\n", "x"});
    session = InternetOpen(u"TAdvUtils", INTERNET_OPEN_TYPE_PRECONFIG, u"", u"", 0);
    ASSERT_NE(session, nullptr);
  }
  void TearDown() override { InternetCloseHandle(session); }

  HINTERNET Open(const std::string& path) {
    return InternetOpenUrl(session, U(server.Url(path)), u"", 0, kNoCacheFlags, 0);
  }
  static String Query(HINTERNET request, DWORD level) {
    Char buffer[256] = {};
    DWORD length = sizeof buffer;
    if (!HttpQueryInfo(request, level, buffer, &length, nullptr)) return u"<error " + U(std::to_string(GetLastError())) + u">";
    return String(buffer, length / sizeof(Char));
  }
  static std::string ReadAll(HINTERNET request, DWORD chunk) {
    std::string out;
    std::vector<char> buffer(chunk);
    for (;;) {
      DWORD read = 0;
      if (!InternetReadFile(request, buffer.data(), chunk, &read)) return "<error>";
      if (read == 0) return out;
      EXPECT_LE(read, chunk);
      out.append(buffer.data(), read);
    }
  }

  TLoopbackHttpServer server;
  HINTERNET session = nullptr;
};

TEST_F(WinInetTest, FollowsRedirectAndReadsTheBodyByteForByte) {
  HINTERNET request = Open("/moved");
  ASSERT_NE(request, nullptr) << GetLastError();
  EXPECT_EQ(Query(request, HTTP_QUERY_STATUS_CODE), u"200");  // the final response's
  EXPECT_EQ(Query(request, HTTP_QUERY_CONTENT_TYPE), u"image/png");
  EXPECT_EQ(Query(request, HTTP_QUERY_CONTENT_LENGTH), U(std::to_string(ImageBytes().size())));
  EXPECT_EQ(ReadAll(request, 1025), ImageBytes());
  DWORD read = 99;
  char byte;
  EXPECT_TRUE(InternetReadFile(request, &byte, 1, &read));
  EXPECT_EQ(read, 0u);  // stays at the end

  std::string head = server.LastRequest();
  EXPECT_NE(head.find("GET /image.png "), std::string::npos) << head;
  EXPECT_NE(head.find("User-Agent: TAdvUtils\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("Pragma: no-cache"), std::string::npos) << head;
  EXPECT_TRUE(InternetCloseHandle(request));
}

TEST_F(WinInetTest, ErrorStatusIsAnOpenRequestWithItsCode) {
  HINTERNET request = Open("/nowhere");
  ASSERT_NE(request, nullptr) << GetLastError();
  EXPECT_EQ(Query(request, HTTP_QUERY_STATUS_CODE), u"404");
  EXPECT_EQ(Query(request, HTTP_QUERY_CONTENT_TYPE), u"text/plain");
  EXPECT_EQ(ReadAll(request, 3), "not found");
  EXPECT_EQ(Query(request, 0x1234), u"<error 12153>");  // a level the layer does not answer
  InternetCloseHandle(request);
}

TEST_F(WinInetTest, ShortQueryBufferAsksForTheNeededSize) {
  HINTERNET request = Open("/page.html");
  ASSERT_NE(request, nullptr) << GetLastError();
  const String type = u"text/html; charset=utf-8";
  const DWORD needed = static_cast<DWORD>((type.size() + 1) * sizeof(Char));

  Char buffer[64];
  DWORD length = 4;
  EXPECT_FALSE(HttpQueryInfo(request, HTTP_QUERY_CONTENT_TYPE, buffer, &length, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(length, needed);

  length = needed - 1;  // no room for the closing zero
  EXPECT_FALSE(HttpQueryInfo(request, HTTP_QUERY_CONTENT_TYPE, buffer, &length, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);

  length = 0;
  EXPECT_FALSE(HttpQueryInfo(request, HTTP_QUERY_CONTENT_TYPE, nullptr, &length, nullptr));
  EXPECT_EQ(length, needed);

  DWORD index = 0;
  length = needed;
  ASSERT_TRUE(HttpQueryInfo(request, HTTP_QUERY_CONTENT_TYPE, buffer, &length, &index));
  EXPECT_EQ(length, needed - sizeof(Char));
  EXPECT_EQ(String(buffer), type);
  EXPECT_EQ(index, 1u);
  length = sizeof buffer;
  EXPECT_FALSE(HttpQueryInfo(request, HTTP_QUERY_CONTENT_TYPE, buffer, &length, &index));
  EXPECT_EQ(GetLastError(), ERROR_HTTP_HEADER_NOT_FOUND);
  InternetCloseHandle(request);
}

TEST_F(WinInetTest, FailedOpensReportWinInetErrors) {
  std::string flood;  // over 1 MB of header lines
  for (int i = 0; i < 1200; ++i) flood += "X-" + std::to_string(i) + ": " + std::string(1000, 'a') + "\r\n";
  server.Route("/flood", {200, "OK", flood, "x"});
  const std::string closed = "http://127.0.0.1:" + std::to_string(TLoopbackHttpServer::ClosedPort()) + "/x.png";
  struct Case {
    std::string url;
    DWORD error;
  } cases[] = {
      {closed, ERROR_INTERNET_CANNOT_CONNECT},
      {"ftp://127.0.0.1/x.png", ERROR_INTERNET_UNRECOGNIZED_SCHEME},
      {"no scheme at all", ERROR_INTERNET_UNRECOGNIZED_SCHEME},
      {"", ERROR_INTERNET_UNRECOGNIZED_SCHEME},
      {server.Url("/huge"), ERROR_NOT_ENOUGH_MEMORY},             // over the body cap
      {server.Url("/flood"), ERROR_HTTP_INVALID_SERVER_RESPONSE},
      {server.Url("/to-file"), ERROR_INTERNET_UNRECOGNIZED_SCHEME},  // redirects never reach local files
      {"file:///nonexistent-dir-ryx/none.png", ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(InternetOpenUrl(session, U(c.url), u"", 0, kNoCacheFlags, 0), nullptr) << c.url;
    EXPECT_EQ(GetLastError(), c.error) << c.url;
  }
  String withZero = U(server.Url("/image.png"));
  withZero.insert(10, 1, u'\0');
  EXPECT_EQ(InternetOpenUrl(session, withZero, u"", 0, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INVALID_URL);
}

TEST_F(WinInetTest, FileUrlReadsTheFileButIsNoHttpRequest) {
  test_support::TTempDir dir;
  const std::string bytes = ImageBytes();
  {
    FILE* f = fopen(dir.Path("a.png").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }
  HINTERNET request = InternetOpenUrl(session, u"file://" + dir.File("a.png"), u"", 0, kNoCacheFlags, 0);
  ASSERT_NE(request, nullptr) << GetLastError();
  EXPECT_EQ(Query(request, HTTP_QUERY_CONTENT_TYPE), u"<error 12018>");
  EXPECT_EQ(ReadAll(request, 1025), bytes);
  InternetCloseHandle(request);
}

TEST_F(WinInetTest, StaleAndWrongHandlesAreRefused) {
  HINTERNET request = Open("/page.html");
  ASSERT_NE(request, nullptr);
  char buffer[16];
  DWORD read = 0;
  DWORD length = sizeof buffer;

  // A session where a request belongs, and the other way round.
  EXPECT_FALSE(InternetReadFile(session, buffer, sizeof buffer, &read));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  EXPECT_EQ(InternetOpenUrl(request, U(server.Url("/page.html")), u"", 0, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  EXPECT_FALSE(InternetReadFile(request, nullptr, 4, &read));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

  ASSERT_TRUE(InternetCloseHandle(request));
  EXPECT_FALSE(InternetReadFile(request, buffer, sizeof buffer, &read));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(HttpQueryInfo(request, HTTP_QUERY_STATUS_CODE, buffer, &length, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(InternetCloseHandle(request));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(InternetCloseHandle(nullptr));

  // Closing a session closes its requests; a new handle never reuses an old number.
  HINTERNET other = InternetOpen(u"x", INTERNET_OPEN_TYPE_DIRECT, u"", u"", 0);
  ASSERT_NE(other, nullptr);
  HINTERNET child = InternetOpenUrl(other, U(server.Url("/page.html")), u"", 0, 0, 0);
  ASSERT_NE(child, nullptr) << GetLastError();
  ASSERT_TRUE(InternetCloseHandle(other));
  EXPECT_FALSE(InternetReadFile(child, buffer, sizeof buffer, &read));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  HINTERNET again = InternetOpen(u"x", INTERNET_OPEN_TYPE_PRECONFIG, u"", u"", 0);
  EXPECT_NE(again, other);
  EXPECT_NE(again, child);
  EXPECT_EQ(InternetOpenUrl(other, U(server.Url("/page.html")), u"", 0, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  InternetCloseHandle(again);

  EXPECT_EQ(InternetOpen(u"x", 7, u"", u"", 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace

TEST_F(WinInetTest, PostSendsItsHeaderAndBodyAndReadsTheAnswer) {
  server.Route("/report", {200, "OK", "Content-Type: text/plain\r\n", "thanks"});
  HINTERNET connection =
      InternetConnect(session, u"127.0.0.1", static_cast<Word>(server.Port()), u"", u"", INTERNET_SERVICE_HTTP, 0, 1);
  ASSERT_NE(connection, nullptr) << GetLastError();
  // An HTTP connection is no FTP connection, and only GET and POST are offered.
  EXPECT_FALSE(FtpSetCurrentDirectory(connection, u"/"));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  EXPECT_EQ(HttpOpenRequest(connection, u"PUT", u"/report", u"", u"", nullptr, 0, 1), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(HttpOpenRequest(connection, u"POST", u"/a b", u"", u"", nullptr, 0, 1), nullptr);

  HINTERNET request = HttpOpenRequest(connection, u"POST", u"report", u"", u"", nullptr, 0, 1);
  ASSERT_NE(request, nullptr) << GetLastError();
  EXPECT_EQ(Query(request, HTTP_QUERY_STATUS_CODE), u"<error 12018>");  // not sent yet
  const std::string body = std::string("a=1&b=\0x", 8) + "\xE9";
  const String header = u"Content-Type: application/x-www-form-urlencoded";
  ASSERT_TRUE(HttpSendRequest(request, header, static_cast<DWORD>(header.size()), body.data(),
                              static_cast<DWORD>(body.size())))
      << GetLastError();
  EXPECT_EQ(Query(request, HTTP_QUERY_STATUS_CODE), u"200");
  EXPECT_EQ(ReadAll(request, 4), "thanks");
  std::string head = server.LastRequest();
  EXPECT_EQ(head.rfind("POST /report HTTP/1.1\r\n", 0), 0u) << head;
  EXPECT_NE(head.find("Content-Type: application/x-www-form-urlencoded\r\n"), std::string::npos) << head;
  EXPECT_EQ(server.LastBody(), body) << "every byte of the body, zeros and high bytes too";
  // One send per request.
  EXPECT_FALSE(HttpSendRequest(request, u"", 0, nullptr, 0));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  InternetCloseHandle(request);

  // A redirect is the answer: the body is not carried on to another address.
  request = HttpOpenRequest(connection, u"POST", u"/moved", u"", u"", nullptr, 0, 1);
  ASSERT_TRUE(HttpSendRequest(request, u"", 0, "x=1", 3));
  EXPECT_EQ(Query(request, HTTP_QUERY_STATUS_CODE), u"302");
  EXPECT_EQ(server.LastRequest().rfind("POST /moved ", 0), 0u);
  // Closing the connection closes its requests.
  EXPECT_TRUE(InternetCloseHandle(connection));
  EXPECT_FALSE(InternetCloseHandle(request));
}

TEST_F(WinInetTest, PostToAServerThatIsNotThereFails) {
  HINTERNET connection = InternetConnect(session, u"127.0.0.1", static_cast<Word>(TLoopbackHttpServer::ClosedPort()),
                                         u"", u"", INTERNET_SERVICE_HTTP, 0, 1);
  ASSERT_NE(connection, nullptr);  // nothing is sent before the request
  HINTERNET request = HttpOpenRequest(connection, u"POST", u"/x", u"", u"", nullptr, 0, 1);
  ASSERT_NE(request, nullptr);
  EXPECT_FALSE(HttpSendRequest(request, u"", 0, "a", 1));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_CANNOT_CONNECT);
  InternetCloseHandle(connection);
}
