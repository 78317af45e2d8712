#include <gtest/gtest.h>

#include <cerrno>

#include "transport/BlockSocket.h"
#include "transport/SocketLibrary.h"

using namespace winsock;

namespace {

// The socket unit's start-up and exit around every test of the suite, as
// the program's start sequence runs them.
class SocketUnitEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { InitSocketUnit(); }
  void TearDown() override { DoneSocketUnit(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new SocketUnitEnvironment);

TEST(SocketLibrary, LoadsByNameAndCounts) {
  EXPECT_TRUE(LoadSocketLibrary(u"nosuch.dll"));  // already loaded: only counted
  EXPECT_TRUE(UnloadSocketLibrary());
  EXPECT_EQ(SocketFunctions().WSAStartup, &winsock::WSAStartup);  // still loaded
  EXPECT_TRUE(HasModernResolver(AF_INET));
  EXPECT_EQ(SocketWSAData().wVersion, 0x0202);
  EXPECT_NE(winsock::GetProcAddress(winsock::LoadLibrary(u"WS2_32.DLL"), "getaddrinfo"), nullptr);
  EXPECT_EQ(winsock::GetProcAddress(winsock::LoadLibrary(u"ws2_32.dll"), "nosuch"), nullptr);
  EXPECT_EQ(winsock::GetProcAddress(winsock::LoadLibrary(u"wship6.dll"), "socket"), nullptr);
  EXPECT_EQ(winsock::LoadLibrary(u"other.dll"), nullptr);
}

TEST(SocketLibrary, IPv4Forms) {
  struct Case {
    const char16_t* text;
    bool valid;
  } cases[] = {{u"192.168.1.10", true}, {u"0.0.0.0", true},     {u"255.255.255.255", true}, {u"256.1.1.1", false},
               {u"1.2.3", false},       {u"1.2.3.4.5", false},  {u"+1.2.3.4", false},       {u"1. 2.3.4", false},
               {u"1..3.4", false},      {u"a.b.c.d", false},    {u"", false},               {u"01.2.3.4", true}};
  for (const auto& c : cases) EXPECT_EQ(IsIPv4Text(c.text), c.valid) << StringToUtf8(c.text);
  EXPECT_EQ(IPv4TextToNumber(u"192.168.1.10"), 0xC0A8010Au);
  EXPECT_EQ(IPv4TextToNumber(u"1.2"), 0x01020000u);  // missing fields are 0
  EXPECT_EQ(IPv4TextToNumber(u"x.999.3.4"), 0x00000304u);
}

TEST(SocketLibrary, IPv6Forms) {
  struct Case {
    const char16_t* text;
    bool valid;
  } cases[] = {{u"::", true},          {u"::1", true},           {u"1::", true},
               {u"fe80::1%2", true},   {u"1:2:3:4:5:6:7:8", true}, {u"1::2::3", false},
               {u"1:2:3:4:5:6:7:8:9", false}, {u"12345::", false}, {u"g::1", false},
               {u"fe80::1%zz", false}, {u":1:2", false},         {u"1:2:", false},
               {u"", false},           {u"1:::2", false}};
  for (const auto& c : cases) EXPECT_EQ(IsIPv6Text(c.text), c.valid) << StringToUtf8(c.text);

  struct Expand {
    const char16_t* in;
    const char16_t* out;
  } expands[] = {{u"::1", u"0:0:0:0:0:0:0:1"},
                 {u"1::", u"1:0:0:0:0:0:0:0"},
                 {u"::", u"0:0:0:0:0:0:0:0"},
                 {u"1:2::3:4", u"1:2:0:0:0:0:3:4"},
                 {u"1:2:3:4:5:6:7:8", u"1:2:3:4:5:6:7:8"},
                 {u"1:2:3:4:5:6:7:8:9", u""}};
  for (const auto& e : expands) EXPECT_EQ(ExpandIPv6Text(e.in), e.out) << StringToUtf8(e.in);

  struct Round {
    const char16_t* in;
    const char16_t* out;
  } rounds[] = {{u"::1", u"::1"},
                {u"FE80:0:0:0:0:0:0:1", u"fe80::1"},
                {u"1:0:0:2:0:0:0:3", u"1:0:0:2::3"},
                {u"2001:db8::", u"2001:db8::"},
                {u"::", u"::"},
                {u"1:2:3:4:5:6:7:8", u"1:2:3:4:5:6:7:8"},
                {u"xyz::1", u"::"}};  // unreadable: 16 zero bytes
  for (const auto& r : rounds) EXPECT_EQ(IPv6BytesToText(IPv6TextToBytes(r.in)), r.out) << StringToUtf8(r.in);
}

TEST(SocketLibrary, Base64) {
  struct Case {
    std::string in, out;
  } cases[] = {{"", ""}, {"a", "YQ=="}, {"ab", "YWI="}, {"abc", "YWJj"}, {"user:pass", "dXNlcjpwYXNz"},
               {std::string("\xff\x00\xfe", 3), "/wD+"}};
  for (const auto& c : cases) EXPECT_EQ(Base64EncodeBytes(c.in), c.out);
}

TEST(SocketLibrary, FillSockAddrForms) {
  TVarSin sin;
  ASSERT_EQ(FillSockAddr(sin, u"0.0.0.0", u"0", AF_INET, IPPROTO_UDP, SOCK_DGRAM, true), 0);
  EXPECT_EQ(sin.Family(), AF_INET);
  EXPECT_EQ(sin.sin.sin_addr.s_addr, 0u);
  EXPECT_EQ(SockAddrPort(sin), 0);
  EXPECT_EQ(SizeOfVarSin(sin), 16);

  ASSERT_EQ(FillSockAddr(sin, u"255.255.255.255", u"48899", AF_INET, IPPROTO_UDP, SOCK_DGRAM, true), 0);
  EXPECT_EQ(SockAddrToText(sin), u"255.255.255.255");
  EXPECT_EQ(SockAddrPort(sin), 48899);

  ASSERT_EQ(FillSockAddr(sin, u"::1", u"80", AF_INET6, IPPROTO_TCP, SOCK_STREAM, true), 0);
  EXPECT_EQ(sin.Family(), AF_INET6);
  EXPECT_EQ(SizeOfVarSin(sin), 28);
  EXPECT_EQ(SockAddrToText(sin), u"::1");

  // An unspecified family tries IPv4 first, then IPv6.
  ASSERT_EQ(FillSockAddr(sin, u"127.0.0.1", u"7", AF_UNSPEC, IPPROTO_TCP, SOCK_STREAM, true), 0);
  EXPECT_EQ(SockAddrToText(sin), u"127.0.0.1");
  ASSERT_EQ(FillSockAddr(sin, u"localhost", u"7", AF_UNSPEC, IPPROTO_TCP, SOCK_STREAM, false), 0);
  EXPECT_EQ(SizeOfVarSin(sin), sin.Family() == AF_INET6 ? 28 : 16);

  EXPECT_NE(FillSockAddr(sin, u"no such host.invalid", u"1", AF_INET, IPPROTO_TCP, SOCK_STREAM, true), 0);
  EXPECT_EQ(SizeOfVarSin(sin), 0);

  EXPECT_EQ(ResolvePortNumber(u"8080", AF_INET, IPPROTO_TCP, SOCK_STREAM), 8080);
  EXPECT_EQ(ResolvePortNumber(u"", AF_INET, IPPROTO_TCP, SOCK_STREAM), 0);
  std::vector<String> list;
  ResolveNameList(u"127.0.0.1", AF_INET, IPPROTO_TCP, SOCK_STREAM, list);
  EXPECT_EQ(list, std::vector<String>{u"127.0.0.1"});
  ResolveNameList(u"::1", AF_INET, IPPROTO_TCP, SOCK_STREAM, list);
  EXPECT_EQ(list, std::vector<String>{u"0.0.0.0"});
}

TEST(SocketLibrary, ErrorNumbersBothWays) {
  struct Case {
    int err, wsa;
  } cases[] = {{0, 0},
               {EINTR, WSAEINTR},
               {EAGAIN, WSAEWOULDBLOCK},
               {EINPROGRESS, WSAEINPROGRESS},
               {ENOTSOCK, WSAENOTSOCK},
               {EADDRINUSE, WSAEADDRINUSE},
               {ECONNRESET, WSAECONNRESET},
               {ETIMEDOUT, WSAETIMEDOUT},
               {ECONNREFUSED, WSAECONNREFUSED},
               {EHOSTUNREACH, WSAEHOSTUNREACH}};
  for (const auto& c : cases) {
    EXPECT_EQ(WSAErrorFromErrno(c.err), c.wsa) << c.err;
    EXPECT_EQ(ErrnoFromWSAError(c.wsa), c.err) << c.wsa;
  }
  EXPECT_EQ(WSAErrorFromErrno(EPIPE), WSAECONNRESET);
  EXPECT_EQ(ErrnoFromWSAError(99999), EINVAL);

  struct Text {
    int code;
    const char16_t* text;
  } texts[] = {{0, u""},
               {10035, u"Operation would block"},
               {10054, u"Connection reset by peer"},
               {10060, u"Connection timed out"},
               {10061, u"Connection refused"},
               {11004, u"Valid name, no data record of requested type"},
               {12345, u"Other Winsock error (12345)"}};
  for (const auto& t : texts) EXPECT_EQ(TBlockSocket::GetErrorDesc(t.code), t.text) << t.code;
}

TEST(SocketLibrary, CallsOnBadHandlesAnswerWinsockErrors) {
  char buf[4];
  EXPECT_EQ(SocketFunctions().recv(INVALID_SOCKET, buf, 4, 0), SOCKET_ERROR);
  EXPECT_EQ(SocketFunctions().WSAGetLastError(), WSAENOTSOCK);
  int v = 0, len = sizeof v;
  SOCKET s = SocketFunctions().socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  ASSERT_NE(s, INVALID_SOCKET);
  EXPECT_EQ(SocketFunctions().getsockopt(s, SOL_SOCKET, 0x7777, reinterpret_cast<char*>(&v), &len), SOCKET_ERROR);
  EXPECT_EQ(SocketFunctions().WSAGetLastError(), WSAENOPROTOOPT);
  EXPECT_EQ(SocketFunctions().socket(99, SOCK_DGRAM, 0), INVALID_SOCKET);
  EXPECT_EQ(SocketFunctions().WSAGetLastError(), WSAEAFNOSUPPORT);
  SocketFunctions().closesocket(s);
}

}  // namespace
