#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

#include "platform/rtl/StrUtils.h"
#include "transport/TcpBlockSocket.h"

using namespace winsock;

namespace {

// A listening socket on 127.0.0.1 whose one connection is served by Body on
// its own thread.
class LoopbackServer {
 public:
  explicit LoopbackServer(std::function<void(TTCPBlockSocket&)> body) {
    FListener.Bind(u"127.0.0.1", u"0");
    FListener.Listen();
    Port = IntToStr(FListener.GetLocalSinPort());
    FThread = std::thread([this, body = std::move(body)] {
      SOCKET s = FListener.Accept();
      if (s == INVALID_SOCKET) return;
      TTCPBlockSocket peer;
      peer.SetSocket(s);
      body(peer);
    });
  }
  ~LoopbackServer() { FThread.join(); }
  String Port;

 private:
  TTCPBlockSocket FListener;
  std::thread FThread;
};

String ClosedPort() {
  TTCPBlockSocket s;
  s.Bind(u"127.0.0.1", u"0");
  return IntToStr(s.GetLocalSinPort());  // closed again when s goes
}

TEST(TcpSocket, ConnectSendAndReceive) {
  LoopbackServer server([](TTCPBlockSocket& peer) {
    std::string line = peer.RecvString(5000);
    peer.SendString("echo:" + line + "\r\n");
    peer.SendInteger(0x01020304);
    peer.SendBlock("block");
  });
  TTCPBlockSocket c;
  std::vector<THookSocketReason> reasons;
  c.OnStatus = [&](TObject*, THookSocketReason r, const String&) { reasons.push_back(r); };
  c.Connect(u"127.0.0.1", server.Port);
  ASSERT_EQ(c.LastError(), 0);
  EXPECT_EQ(c.GetRemoteSinIP(), u"127.0.0.1");
  EXPECT_EQ(IntToStr(c.GetRemoteSinPort()), server.Port);
  c.SendString("hello\r\n");
  EXPECT_EQ(c.RecvString(5000), "echo:hello");
  EXPECT_EQ(c.RecvInteger(5000), 0x01020304);
  EXPECT_EQ(c.RecvBlock(5000), "block");
  EXPECT_EQ(c.LastError(), 0);
  EXPECT_EQ(c.SendCounter(), 7);
  EXPECT_NE(std::find(reasons.begin(), reasons.end(), THookSocketReason::HR_SocketCreate), reasons.end());
  EXPECT_NE(std::find(reasons.begin(), reasons.end(), THookSocketReason::HR_Connect), reasons.end());
}

TEST(TcpSocket, TerminatedReceiveKeepsTheRestAndTimeOutsKeepWhatCame) {
  LoopbackServer server([](TTCPBlockSocket& peer) {
    peer.SendString("abc*def");
    peer.RecvByte(5000);  // wait for the go-ahead
    peer.SendString("gh*");
    peer.RecvByte(5000);
  });
  TTCPBlockSocket c;
  c.Connect(u"127.0.0.1", server.Port);
  EXPECT_EQ(c.RecvTerminated(5000, "*"), "abc");
  EXPECT_EQ(c.LineBuffer(), "def");
  // No terminator within the time: empty, 10060, and "def" still buffered.
  EXPECT_EQ(c.RecvTerminated(200, "*"), "");
  EXPECT_EQ(c.LastError(), WSAETIMEDOUT);
  EXPECT_EQ(c.LastErrorDesc(), u"Connection timed out");
  EXPECT_EQ(c.LineBuffer(), "def");
  c.SendByte('!');
  EXPECT_EQ(c.RecvTerminated(5000, "*"), "defgh");
  EXPECT_EQ(c.RecvTerminated(5000, ""), "");  // empty terminator: at once
  c.SendByte('!');
}

TEST(TcpSocket, LineEndsAndLimits) {
  LoopbackServer server([](TTCPBlockSocket& peer) {
    peer.SendString("a\r");
    peer.RecvByte(5000);
    peer.SendString("\nb\r\n0123456789\r\n");
    peer.RecvByte(5000);
  });
  TTCPBlockSocket c;
  c.SetConvertLineEnd(true);
  c.Connect(u"127.0.0.1", server.Port);
  EXPECT_EQ(c.RecvString(5000), "a");
  c.SendByte('!');
  EXPECT_EQ(c.RecvString(5000), "b");  // the LF completing "a\r" was dropped
  c.SetMaxLineLength(5);
  EXPECT_EQ(c.RecvString(5000), "");
  EXPECT_EQ(c.LastError(), WSAENOBUFS);
  EXPECT_EQ(c.LineBuffer(), "0123456789\r\n");  // nothing lost
  c.SendByte('!');
}

TEST(TcpSocket, AnEndlessLineStopsAtTheCapWhenNoLimitIsSet) {
  const std::size_t flood = TBlockSocket::kUnlimitedLineCap + 4096;
  LoopbackServer server([&](TTCPBlockSocket& peer) {
    peer.SendString(std::string(flood, 'x'));
    peer.RecvByte(5000);
  });
  TTCPBlockSocket c;
  c.Connect(u"127.0.0.1", server.Port);
  EXPECT_EQ(c.RecvTerminated(5000, "*"), "");
  EXPECT_EQ(c.LastError(), WSAENOBUFS);
  EXPECT_GT(c.LineBuffer().size(), TBlockSocket::kUnlimitedLineCap);  // kept, not lost
  c.SendByte('!');
}

TEST(TcpSocket, RecvByteAndPeerClose) {
  LoopbackServer server([](TTCPBlockSocket& peer) {
    peer.SendByte(0);
    peer.RecvByte(5000);
  });
  TTCPBlockSocket c;
  c.Connect(u"127.0.0.1", server.Port);
  EXPECT_EQ(c.RecvByte(5000), 0);
  EXPECT_EQ(c.LastError(), 0);  // a real zero byte
  EXPECT_EQ(c.RecvByte(100), 0);
  EXPECT_EQ(c.LastError(), WSAETIMEDOUT);
  c.SendByte('x');  // the peer ends and closes
  EXPECT_EQ(c.RecvPacket(5000), "");
  EXPECT_EQ(c.LastError(), WSAECONNRESET);
  EXPECT_EQ(c.LastErrorDesc(), u"Connection reset by peer");
}

TEST(TcpSocket, ConnectionRefusedWithAndWithoutTimeLimit) {
  String port = ClosedPort();
  for (Integer limit : {0, 3000}) {
    TTCPBlockSocket c;
    c.SetConnectionTimeout(limit);
    bool after = false;
    c.OnAfterConnect = [&](TObject*) { after = true; };
    c.Connect(u"127.0.0.1", port);
    EXPECT_EQ(c.LastError(), WSAECONNREFUSED) << limit;
    EXPECT_EQ(c.LastErrorDesc(), u"Connection refused");
    EXPECT_FALSE(after);
  }
}

TEST(TcpSocket, RaisesOnlyWhenAsked) {
  TTCPBlockSocket c;
  c.SetRaiseExcept(true);
  try {
    c.Connect(u"127.0.0.1", ClosedPort());
    FAIL() << "no exception";
  } catch (const ESocketError& e) {
    EXPECT_EQ(e.ErrorCode, WSAECONNREFUSED);
    EXPECT_EQ(e.ErrorMessage, u"Connection refused");
    EXPECT_EQ(e.Message(), u"TCP/IP Socket error 10061: Connection refused");
  }
  // 10035 is not an error to report.
  std::vector<String> errors;
  TTCPBlockSocket d;
  d.OnStatus = [&](TObject*, THookSocketReason r, const String& v) {
    if (r == THookSocketReason::HR_Error) errors.push_back(v);
  };
  d.SetRaiseExcept(true);
  EXPECT_NO_THROW(d.SetNonBlockMode(false));
  EXPECT_TRUE(errors.empty());
}

TEST(TcpSocket, ReceiveWithoutASocket) {
  TTCPBlockSocket c;
  EXPECT_EQ(c.RecvPacket(50), "");
  EXPECT_NE(c.LastError(), 0);
  EXPECT_EQ(c.SendBuffer("x", 1), 0);
  EXPECT_EQ(c.LastError(), WSAENOTSOCK);
  EXPECT_EQ(c.LastErrorDesc(), u"Socket operation on nonsocket");
}

TEST(TcpSocket, OptionsSetBeforeTheSocketApplyOnCreation) {
  LoopbackServer server([](TTCPBlockSocket& peer) { peer.RecvByte(5000); });
  TTCPBlockSocket c;
  c.SetTimeout(20000);
  c.SetTTL(33);
  EXPECT_EQ(c.Socket(), INVALID_SOCKET);
  c.Connect(u"127.0.0.1", server.Port);
  ASSERT_EQ(c.LastError(), 0);
  int ms = 0, len = sizeof ms;
  SocketFunctions().getsockopt(c.Socket(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<char*>(&ms), &len);
  EXPECT_EQ(ms, 20000);
  SocketFunctions().getsockopt(c.Socket(), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<char*>(&ms), &len);
  EXPECT_EQ(ms, 20000);
  EXPECT_EQ(c.GetTTL(), 33);
  c.SetTTL(44);  // with a socket: at once
  EXPECT_EQ(c.GetTTL(), 44);
  c.SendByte('!');
}

TEST(TcpSocket, IPv6Loopback) {
  TTCPBlockSocket listener;
  listener.Bind(u"::1", u"0");
  if (listener.LastError() != 0) GTEST_SKIP() << "no IPv6 loopback here";
  listener.Listen();
  String port = IntToStr(listener.GetLocalSinPort());
  std::thread t([&] {
    TTCPBlockSocket peer;
    peer.SetSocket(listener.Accept());
    peer.SendString("six\n");
  });
  TTCPBlockSocket c;
  c.Connect(u"::1", port);
  EXPECT_TRUE(c.IP6used());
  EXPECT_EQ(c.RecvTerminated(5000, "\n"), "six");
  EXPECT_EQ(c.GetRemoteSinIP(), u"::1");
  t.join();
}

TEST(TcpSocket, StopFlagAbortsTheNextTransfer) {
  LoopbackServer server([](TTCPBlockSocket& peer) { peer.RecvByte(5000); });
  TTCPBlockSocket c;
  c.Connect(u"127.0.0.1", server.Port);
  c.SetStopFlag(true);
  EXPECT_EQ(c.SendBuffer("x", 1), 0);
  EXPECT_EQ(c.LastError(), WSAECONNABORTED);
  EXPECT_FALSE(c.StopFlag());
  c.SendByte('!');
  EXPECT_EQ(c.LastError(), 0);
}

TEST(TcpSocket, SslNoneRefuses) {
  TTCPBlockSocket c;
  ASSERT_NE(c.SSL(), nullptr);
  EXPECT_EQ(c.SSL()->LibName(), u"ssl_none");
  EXPECT_EQ(c.SSL()->LibVersion(), u"Without SSL support");
  EXPECT_FALSE(c.SSL()->Connect());
  EXPECT_EQ(c.SSL()->LastError(), -1);
  EXPECT_EQ(c.SSL()->LastErrorDesc(), u"SSL/TLS support is not compiled!");

  LoopbackServer server([](TTCPBlockSocket& peer) { peer.RecvByte(2000); });
  TTCPBlockSocket d;
  d.Connect(u"127.0.0.1", server.Port);
  d.SSL()->SetSSLEnabled(true);
  d.SendString("x");
  EXPECT_EQ(d.LastError(), WSASYSNOTREADY);
  EXPECT_EQ(d.LastErrorDesc(), u"SSL/TLS support is not compiled!");
  d.SSL()->SetSSLEnabled(false);
  d.SendByte('!');
}

TEST(TcpSocket, HttpTunnel) {
  for (const char* status : {"HTTP/1.0 200 Connection established", "HTTP/1.0 407 Proxy auth required"}) {
    std::string request;
    LoopbackServer proxy([&](TTCPBlockSocket& peer) {
      for (std::string l; (l = peer.RecvString(5000)) != "" || peer.LastError() != 0;) {
        if (peer.LastError() != 0) return;
        request += l + "\n";
      }
      peer.SendString(std::string(status) + "\r\nX: y\r\n\r\n");
      peer.RecvByte(2000);
    });
    TTCPBlockSocket c;
    c.SetHTTPTunnelIP(u"127.0.0.1");
    c.SetHTTPTunnelPort(proxy.Port);
    c.SetHTTPTunnelUser(u"user");
    c.SetHTTPTunnelPass(u"pass");
    c.Connect(u"example.invalid", u"443");
    EXPECT_EQ(request, "CONNECT example.invalid:443 HTTP/1.0\nProxy-Authorization: Basic dXNlcjpwYXNz\n");
    if (status[9] == '2') {
      EXPECT_EQ(c.LastError(), 0);
      EXPECT_TRUE(c.HTTPTunnel());
      EXPECT_EQ(c.GetRemoteSinIP(), u"example.invalid");
      c.SendByte('!');
    } else {
      EXPECT_EQ(c.LastError(), WSAECONNREFUSED);
      EXPECT_FALSE(c.HTTPTunnel());
      c.CloseSocket();
    }
  }
}

}  // namespace
