#include <gtest/gtest.h>

#include "platform/rtl/StrUtils.h"
#include "transport/UdpBlockSocket.h"

using namespace winsock;

namespace {

// A UDP socket bound to 127.0.0.1 on a free port.
std::unique_ptr<TUDPBlockSocket> BoundPeer(String& port, const String& ip = u"127.0.0.1") {
  auto s = std::make_unique<TUDPBlockSocket>();
  s->SetFamily(SF_IP4);  // so that even "0.0.0.0":"0" binds at once
  s->Bind(ip, u"0");
  port = IntToStr(s->GetLocalSinPort());
  return s;
}

TEST(UdpSocket, DatagramsKeepTheirBoundaries) {
  String port;
  auto peer = BoundPeer(port);
  TUDPBlockSocket s;
  s.Connect(u"127.0.0.1", port);
  ASSERT_EQ(s.LastError(), 0);
  s.SendString("ab");
  s.SendString("cd");
  s.SendByte('e');
  EXPECT_EQ(s.SendCounter(), 5);
  EXPECT_EQ(peer->RecvPacket(2000), "ab");
  EXPECT_EQ(peer->RecvPacket(2000), "cd");
  EXPECT_EQ(peer->RecvPacket(2000), "e");  // one datagram of exactly one byte

  s.SendString("ab");
  s.SendString("cd");
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>(peer->RecvByte(2000));
  EXPECT_EQ(bytes, "abcd");
  EXPECT_EQ(peer->LastError(), 0);
}

TEST(UdpSocket, AnEmptyDatagramDoesNotBlockTheOnesBehindIt) {
  String port;
  auto peer = BoundPeer(port);
  TUDPBlockSocket s;
  s.Connect(u"127.0.0.1", port);
  s.SendString("");
  ASSERT_EQ(s.LastError(), 0);
  s.SendString("ab");
  std::string got;
  for (int i = 0; i < 3 && got.empty(); ++i) got = peer->RecvPacket(2000);
  EXPECT_EQ(got, "ab");
  EXPECT_EQ(peer->LastError(), 0);
}

TEST(UdpSocket, ReplyRedirectsTheNextSend) {
  String portA, portB;
  auto a = BoundPeer(portA);
  auto b = BoundPeer(portB);
  TUDPBlockSocket s;
  s.Connect(u"127.0.0.1", portA);
  s.SendString("hello");
  EXPECT_EQ(a->RecvPacket(2000), "hello");
  a->SendString("from a");  // a's destination is now s
  EXPECT_EQ(s.RecvPacket(2000), "from a");
  EXPECT_EQ(IntToStr(s.GetRemoteSinPort()), portA);
  s.GetSinLocal();  // the port the first send bound
  b->Connect(u"127.0.0.1", IntToStr(s.GetLocalSinPort()));
  b->SendString("from b");
  EXPECT_EQ(s.RecvPacket(2000), "from b");
  s.SendString("to b");  // the last sender is the destination
  EXPECT_EQ(b->RecvPacket(2000), "to b");
  EXPECT_FALSE(a->CanRead(50));
}

TEST(UdpSocket, TerminatedAcrossDatagrams) {
  String port;
  auto peer = BoundPeer(port);
  TUDPBlockSocket s;
  s.Connect(u"127.0.0.1", port);
  s.SendString("12");
  s.SendString("3\r\n45");
  EXPECT_EQ(peer->RecvTerminated(2000, "\r\n"), "123");
  EXPECT_EQ(peer->LineBuffer(), "45");
}

TEST(UdpSocket, TimeOutsAndAnUnreachablePeer) {
  String port;
  {
    auto gone = BoundPeer(port);
  }
  TUDPBlockSocket s;
  s.Bind(u"0.0.0.0", u"0");
  EXPECT_EQ(s.Socket(), INVALID_SOCKET);  // deferred to the first send
  s.Connect(u"127.0.0.1", port);
  EXPECT_EQ(s.LastError(), 0);  // nothing is sent, so nothing fails
  s.SendString("anyone?");
  EXPECT_EQ(s.RecvByte(100), 0);
  EXPECT_EQ(s.LastError(), WSAETIMEDOUT);
  EXPECT_EQ(s.LastErrorDesc(), u"Connection timed out");
  EXPECT_EQ(s.RecvPacket(50), "");
  EXPECT_EQ(s.LastError(), WSAETIMEDOUT);
  EXPECT_FALSE(s.CanRead(50));
  EXPECT_EQ(s.LastError(), 0);
}

TEST(UdpSocket, BroadcastOnLoopback) {
  // A receiver bound to the loopback broadcast address gets the broadcast,
  // and nothing from outside the host.
  String port;
  auto listener = BoundPeer(port, u"127.255.255.255");
  TUDPBlockSocket s;
  s.Bind(u"0.0.0.0", u"0");
  s.SetTimeout(20000);
  s.SetMulticastTTL(64);
  s.EnableBroadcast(true);
  s.Connect(u"127.255.255.255", port);
  ASSERT_EQ(s.LastError(), 0);
  EXPECT_EQ(s.MulticastTTL(), 64);
  s.SendString("QX-B27PLANKORDEFT");
  ASSERT_EQ(s.LastError(), 0) << StringToUtf8(s.LastErrorDesc());
  EXPECT_EQ(listener->RecvPacket(2000), "QX-B27PLANKORDEFT");
  listener->SendString("127.0.0.1,MAC,Name");
  EXPECT_EQ(s.RecvPacket(2000), "127.0.0.1,MAC,Name");
  EXPECT_EQ(s.GetRemoteSinIP(), u"127.0.0.1");
  EXPECT_EQ(IntToStr(s.GetRemoteSinPort()), port);
}

TEST(UdpSocket, BroadcastNeedsThePermission) {
  String port;
  auto listener = BoundPeer(port, u"127.255.255.255");
  TUDPBlockSocket s;
  s.Connect(u"127.255.255.255", port);
  s.SendString("x");
  EXPECT_EQ(s.LastError(), WSAEACCES);
  EXPECT_EQ(s.LastErrorDesc(), u"Permission denied");
}

TEST(UdpSocket, GroupCanRead) {
  String portA, portB;
  auto a = BoundPeer(portA);
  auto b = BoundPeer(portB);
  TUDPBlockSocket s;
  s.Connect(u"127.0.0.1", portB);
  s.SendString("x");
  std::vector<TBlockSocket*> ready;
  ASSERT_TRUE(TBlockSocket::GroupCanRead({a.get(), b.get()}, 2000, ready));
  EXPECT_EQ(ready, std::vector<TBlockSocket*>{b.get()});
  b->Purge();
  EXPECT_FALSE(TBlockSocket::GroupCanRead({a.get(), b.get()}, 50, ready));
}

}  // namespace
