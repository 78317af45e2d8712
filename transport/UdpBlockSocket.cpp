#include "transport/UdpBlockSocket.h"

#include <cstring>

#include "platform/rtl/StrUtils.h"

using namespace winsock;

void TDgramBlockSocket::Connect(const String& IP, const String& Port) {
  SetRemoteSin(IP, Port);
  if (FLastError == 0) InternalCreateSocket(FRemoteSin);
  FBuffer.clear();
  ExceptCheck();
  DoStatus(THookSocketReason::HR_Connect, IP + u":" + Port);
}

Integer TDgramBlockSocket::SendBuffer(const void* Buffer, Integer Length) { return SendBufferTo(Buffer, Length); }

Integer TDgramBlockSocket::RecvBuffer(void* Buffer, Integer Length) { return RecvBufferFrom(Buffer, Length); }

TUDPBlockSocket::~TUDPBlockSocket() = default;

bool TUDPBlockSocket::UdpAssociation() {
  if (FUsingSocks) return true;
  ResetLastError();
  if (!FSocksControlSock) FSocksControlSock = std::make_unique<TTCPBlockSocket>();
  TTCPBlockSocket& c = *FSocksControlSock;
  c.CloseSocket();
  c.SetSocksIP({});  // the control socket talks to the proxy directly
  c.SetSocksType(FSocksType);
  c.SetSocksUsername(FSocksUsername);
  c.SetSocksPassword(FSocksPassword);
  c.SetSocksTimeout(FSocksTimeout);
  c.SetSocksResolver(FSocksResolver);
  c.Connect(FSocksIP, FSocksPort);
  bool ok = c.LastError() == 0;
  if (ok) {
    if (!FBinded) Bind(IsIPv6Text(c.GetLocalSinIP()) ? u"::" : u"0.0.0.0", u"0");
    if (FSocket == INVALID_SOCKET) {
      // The deferred any-address binding: make the socket now to learn its port.
      TVarSin sin{};
      sin.sin.sin_family = static_cast<short>(c.IP6used() ? AF_INET6 : AF_INET);
      InternalCreateSocket(sin);
      SockCheck(SockBind(FSocket, sin));
      GetSinLocal();
      FBinded = FLastError == 0;
    }
    ok = FLastError == 0 && c.SocksOpen() && c.SocksRequest(3, GetLocalSinIP(), IntToStr(GetLocalSinPort())) &&
         c.SocksResponse();
    if (ok) {
      FSocksResponseIP = c.SocksResponseIP();
      FSocksResponsePort = c.SocksResponsePort();
      FSocksLocalIP = FSocksResponseIP;
      FSocksLocalPort = FSocksResponsePort;
    }
  }
  if (!ok && FLastError == 0) FLastError = c.LastError() != 0 ? c.LastError() : WSANO_RECOVERY;
  FUsingSocks = ok;
  return ok;
}

Integer TUDPBlockSocket::SendBufferTo(const void* Buffer, Integer Length) {
  if (FSocksIP.empty()) return TDgramBlockSocket::SendBufferTo(Buffer, Length);
  if (Buffer == nullptr || Length < 0) return 0;
  if (!UdpAssociation()) {
    FLastError = WSANO_RECOVERY;
    ExceptCheck();
    return 0;
  }
  // Datagram to the relay: 00 00 00, the coded destination, the data.
  TVarSin dest = FRemoteSin;
  std::string packet = std::string(3, '\0') + SocksCode(GetSinIP(dest), IntToStr(GetSinPort(dest)));
  packet.append(static_cast<const char*>(Buffer), static_cast<size_t>(Length));
  // The relay address kept at association: every received datagram
  // overwrites the response fields with its sender.
  TVarSin relay{};
  SetSin(relay, FSocksLocalIP, FSocksLocalPort);
  if (FLastError != 0) {
    ExceptCheck();
    return 0;
  }
  FRemoteSin = relay;
  Integer r = TDgramBlockSocket::SendBufferTo(packet.data(), static_cast<Integer>(packet.size()));
  FRemoteSin = dest;
  return r > 0 ? std::max<Integer>(r - static_cast<Integer>(packet.size()) + Length, 0) : r;
}

Integer TUDPBlockSocket::RecvBufferFrom(void* Buffer, Integer Length) {
  if (!FUsingSocks) return TDgramBlockSocket::RecvBufferFrom(Buffer, Length);
  if (Buffer == nullptr || Length <= 0) return 0;
  std::string packet(static_cast<size_t>(Length) + 262, '\0');
  Integer r = TDgramBlockSocket::RecvBufferFrom(packet.data(), static_cast<Integer>(packet.size()));
  if (r <= 0) return r;
  packet.resize(static_cast<size_t>(r));
  // Relay header: 2 reserved bytes, a fragment byte, the sender's address.
  Integer used = packet.size() > 3 ? SocksDecode(packet.substr(3)) : 0;
  if (used == 0) {
    FLastError = WSANO_RECOVERY;
    ExceptCheck();
    return 0;
  }
  SetSin(FRemoteSin, FSocksResponseIP, FSocksResponsePort);
  std::string data = packet.substr(3 + static_cast<size_t>(used));
  size_t n = std::min(data.size(), static_cast<size_t>(Length));
  std::memcpy(Buffer, data.data(), n);
  return static_cast<Integer>(n);
}

void TUDPBlockSocket::EnableBroadcast(bool Value) { DelayedOption({SOT_Broadcast, Value, 0}); }
void TUDPBlockSocket::EnableMulticastLoop(bool Value) { DelayedOption({SOT_MulticastLoop, Value, 0}); }
void TUDPBlockSocket::SetMulticastTTL(Integer Value) { DelayedOption({SOT_MulticastTTL, false, Value}); }

Integer TUDPBlockSocket::MulticastTTL() {
  int v = -1, len = sizeof v;
  if (FIP6used)
    SocketFunctions().getsockopt(FSocket, IPPROTO_IPV6, IPV6_MULTICAST_HOPS, reinterpret_cast<char*>(&v), &len);
  else
    SocketFunctions().getsockopt(FSocket, IPPROTO_IP, IP_MULTICAST_TTL, reinterpret_cast<char*>(&v), &len);
  return v;
}

void TUDPBlockSocket::Membership(const String& MCastIP, bool Add) {
  int r;
  if (FIP6used) {
    ipv6_mreq m{};
    auto b = IPv6TextToBytes(MCastIP);
    std::memcpy(m.ipv6mr_multiaddr.s6_addr, b.data(), 16);
    m.ipv6mr_interface = 0;
    r = SocketFunctions().setsockopt(FSocket, IPPROTO_IPV6, Add ? IPV6_ADD_MEMBERSHIP : IPV6_DROP_MEMBERSHIP,
                                     reinterpret_cast<const char*>(&m), sizeof m);
  } else {
    ip_mreq m{};
    m.imr_multiaddr.s_addr = winsock::htonl(IPv4TextToNumber(MCastIP));
    m.imr_interface.s_addr = FLocalSin.sin.sin_addr.s_addr;
    r = SocketFunctions().setsockopt(FSocket, IPPROTO_IP, Add ? IP_ADD_MEMBERSHIP : IP_DROP_MEMBERSHIP,
                                     reinterpret_cast<const char*>(&m), sizeof m);
  }
  SockCheck(r);
  ExceptCheck();
}

void TUDPBlockSocket::AddMulticast(const String& MCastIP) { Membership(MCastIP, true); }
void TUDPBlockSocket::DropMulticast(const String& MCastIP) { Membership(MCastIP, false); }
