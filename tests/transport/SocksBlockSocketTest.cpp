#include <gtest/gtest.h>

#include <thread>

#include "platform/rtl/StrUtils.h"
#include "transport/TcpBlockSocket.h"
#include "transport/UdpBlockSocket.h"

using namespace winsock;

namespace {

// A small SOCKS5 proxy on 127.0.0.1 for one client: checks the user name and
// password when it asks for them, records the request, answers ReplyCode,
// and when granted echoes one line.
class SocksPeer {
 public:
  SocksPeer(std::string user, std::string pass, Byte replyCode, Word boundPort = 0x1234)
      : FUser(std::move(user)), FPass(std::move(pass)), FReplyCode(replyCode), FBoundPort(boundPort) {
    FListener.Bind(u"127.0.0.1", u"0");
    FListener.Listen();
    Port = IntToStr(FListener.GetLocalSinPort());
    FThread = std::thread([this] { Serve(); });
  }
  ~SocksPeer() { Join(); }
  // Waits for the proxy to finish; its records are then safe to read.
  void Join() {
    if (FThread.joinable()) FThread.join();
  }

  String Port;
  std::string Greeting, Auth, Request;  // what the client sent

 private:
  void Serve() {
    TTCPBlockSocket p;
    if (!FListener.CanRead(5000)) return;
    p.SetSocket(FListener.Accept());
    Greeting = p.RecvBufferStr(2, 2000);
    if (Greeting.size() != 2) return;
    Greeting += p.RecvBufferStr(static_cast<Byte>(Greeting[1]), 2000);
    bool wantsAuth = Greeting.find('\x02', 2) != std::string::npos;
    if (!FUser.empty()) {
      if (!wantsAuth) return p.SendString("\x05\xff");
      p.SendString("\x05\x02");
      Auth = p.RecvBufferStr(2, 2000);
      if (Auth.size() != 2) return;
      std::string user = p.RecvBufferStr(static_cast<Byte>(Auth[1]), 2000);
      std::string n = p.RecvBufferStr(1, 2000);
      std::string pass = n.empty() ? "" : p.RecvBufferStr(static_cast<Byte>(n[0]), 2000);
      Auth += user + n + pass;
      bool ok = user == FUser && pass == FPass;
      p.SendString(ok ? std::string("\x01\x00", 2) : std::string("\x01\x01", 2));
      if (!ok) return;
    } else {
      p.SendString(std::string("\x05\x00", 2));
    }
    Request = p.RecvBufferStr(4, 2000);
    if (Request.size() != 4) return;
    Byte atyp = static_cast<Byte>(Request[3]);
    if (atyp == 1) Request += p.RecvBufferStr(4, 2000);
    if (atyp == 4) Request += p.RecvBufferStr(16, 2000);
    if (atyp == 3) {
      std::string n = p.RecvBufferStr(1, 2000);
      Request += n + p.RecvBufferStr(static_cast<Byte>(n[0]), 2000);
    }
    Request += p.RecvBufferStr(2, 2000);
    p.SendString(std::string("\x05", 1) + static_cast<char>(FReplyCode) + std::string("\x00\x01\x7f\x00\x00\x01", 6) +
                 static_cast<char>(FBoundPort >> 8) + static_cast<char>(FBoundPort & 0xFF));
    if (FReplyCode == 0) p.SendString("echo:" + p.RecvString(2000) + "\r\n");
  }

  TTCPBlockSocket FListener;
  std::string FUser, FPass;
  Byte FReplyCode;
  Word FBoundPort;
  std::thread FThread;
};

TEST(SocksSocket, ConnectThroughTheProxy) {
  struct Case {
    const char* name;
    std::string proxyUser, proxyPass, user, pass;
    Byte reply;
    Integer error;
  } cases[] = {
      {"no authentication", "", "", "", "", 0, 0},
      {"user and password", "alice", "secret", "alice", "secret", 0, 0},
      {"wrong password", "alice", "secret", "alice", "guess", 0, WSASYSNOTREADY},
      {"request refused", "", "", "", "", 5, WSASYSNOTREADY},
      {"longest fields", std::string(255, 'u'), std::string(255, 'p'), std::string(255, 'u'), std::string(255, 'p'),
       0, 0},
  };
  for (const auto& c : cases) {
    SocksPeer proxy(c.proxyUser, c.proxyPass, c.reply);
    {
    TTCPBlockSocket s;
    s.SetSocksIP(u"127.0.0.1");
    s.SetSocksPort(proxy.Port);
    s.SetSocksUsername(Utf8ToString(c.user));
    s.SetSocksPassword(Utf8ToString(c.pass));
    s.SetSocksTimeout(2000);
    s.Connect(u"10.1.2.3", u"8080");  // only named to the proxy, never reached
    EXPECT_EQ(s.LastError(), c.error) << c.name;
    if (c.error == 0) {
      EXPECT_TRUE(s.UsingSocks()) << c.name;
      EXPECT_EQ(s.GetLocalSinIP(), u"127.0.0.1") << c.name;  // the proxy's bound address
      EXPECT_EQ(s.GetLocalSinPort(), 0x1234) << c.name;
      EXPECT_EQ(s.GetRemoteSinIP(), u"10.1.2.3") << c.name;
      s.SendString("hi\r\n");
      EXPECT_EQ(s.RecvString(2000), "echo:hi") << c.name;
    }
    if (c.reply != 0) {
      EXPECT_EQ(s.SocksLastError(), c.reply) << c.name;
    }
    }
    proxy.Join();
    if (c.error == 0 || c.reply != 0) {
      EXPECT_EQ(proxy.Request.substr(0, 4), std::string("\x05\x01\x00\x01", 4)) << c.name;
    }
    if (!c.proxyUser.empty()) {
      std::string expected = std::string("\x01", 1) + static_cast<char>(c.user.size()) + c.user +
                             static_cast<char>(c.pass.size()) + c.pass;
      EXPECT_EQ(proxy.Auth, expected) << c.name;
    }
  }
}

TEST(SocksSocket, UdpRelayStaysTheDestinationAfterAReply) {
  TUDPBlockSocket relay;
  relay.SetFamily(SF_IP4);
  relay.Bind(u"127.0.0.1", u"0");
  SocksPeer proxy("", "", 0, static_cast<Word>(relay.GetLocalSinPort()));
  TUDPBlockSocket s;
  s.SetSocksIP(u"127.0.0.1");
  s.SetSocksPort(proxy.Port);
  s.SetSocksTimeout(2000);
  s.Connect(u"127.0.0.3", u"9000");  // named to the relay only
  const std::string header("\x00\x00\x00\x01\x7f\x00\x00\x03\x23\x28", 10);
  s.SendString("one");
  ASSERT_EQ(s.LastError(), 0);
  EXPECT_EQ(s.SocksResponseIP(), u"127.0.0.1");
  EXPECT_EQ(relay.RecvPacket(2000), header + "one");
  relay.SendString(header + "back");
  EXPECT_EQ(s.RecvPacket(2000), "back");
  EXPECT_EQ(s.GetRemoteSinIP(), u"127.0.0.3");  // the sender the header names
  EXPECT_EQ(s.GetRemoteSinPort(), 9000);
  s.SendString("two");  // still through the relay
  EXPECT_EQ(relay.RecvPacket(2000), header + "two");
}

TEST(SocksSocket, OverlongUserNameOrPasswordIsRefusedNotWrapped) {
  for (auto [user, pass] : {std::pair{std::string(256, 'u'), std::string("p")},
                            std::pair{std::string("u"), std::string(300, 'p')}}) {
    SocksPeer proxy("u", "p", 0);
    {
    TTCPBlockSocket s;
    s.SetSocksIP(u"127.0.0.1");
    s.SetSocksPort(proxy.Port);
    s.SetSocksUsername(Utf8ToString(user));
    s.SetSocksPassword(Utf8ToString(pass));
    s.SetSocksTimeout(2000);
    s.Connect(u"10.1.2.3", u"80");
    EXPECT_EQ(s.LastError(), WSAEINVAL);
    EXPECT_EQ(s.LastErrorDesc(), u"Invalid argument");
    EXPECT_FALSE(s.UsingSocks());
    }  // the proxy sees the connection end without a greeting
    proxy.Join();
    EXPECT_EQ(proxy.Greeting, "");
  }
}

TEST(SocksSocket, RequestCoding) {
  TTCPBlockSocket s;
  EXPECT_EQ(s.SocksCode(u"1.2.3.4", u"80"), std::string("\x01\x01\x02\x03\x04\x00\x50", 7));
  EXPECT_EQ(s.SocksCode(u"::1", u"80"), std::string("\x04", 1) + std::string(15, '\0') + "\x01" + std::string("\x00\x50", 2));
  EXPECT_EQ(s.SocksCode(u"host", u"258"), std::string("\x03\x04host\x01\x02", 8));
  s.SetSocksType(ST_Socks4);
  s.SetSocksUsername(u"me");
  EXPECT_EQ(s.SocksCode(u"1.2.3.4", u"80"), std::string("\x00\x50\x01\x02\x03\x04me\x00", 9));
  EXPECT_EQ(s.SocksCode(u"host", u"80"), std::string("\x00\x50\x00\x00\x00\x01me\x00host\x00", 14));

  // A name the one length byte cannot carry is refused.
  s.SetSocksType(ST_Socks5);
  EXPECT_FALSE(s.SocksRequest(1, String(256, u'h'), u"80"));
  EXPECT_EQ(s.LastError(), WSAEINVAL);

  EXPECT_EQ(s.SocksDecode(std::string("\x04", 1) + std::string(15, '\0') + "\x02" + std::string("\x00\x15", 2)), 19);
  EXPECT_EQ(s.SocksResponseIP(), u"::2");
  EXPECT_EQ(s.SocksResponsePort(), u"21");
  EXPECT_EQ(s.SocksDecode(std::string("\x03\x05", 2)), 0);  // cut short
  EXPECT_EQ(s.SocksDecode(std::string("\x09\x00\x00", 3)), 0);
}

}  // namespace
