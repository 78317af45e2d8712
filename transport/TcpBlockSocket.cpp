#include "transport/TcpBlockSocket.h"

#include "platform/rtl/StrUtils.h"

using namespace winsock;

TTCPBlockSocket::TTCPBlockSocket() : TTCPBlockSocket(TSSLClass{}) {}

TTCPBlockSocket::TTCPBlockSocket(const TSSLClass& SSLPlugin) {
  if (SSLPlugin) FSSL = SSLPlugin(this);
  if (!FSSL) FSSL = std::make_unique<TSSLNone>(this);
}

TTCPBlockSocket::~TTCPBlockSocket() {
  FRaiseExcept = false;
  // Hooks stay silent: what they capture may already be gone.
  OnStatus = nullptr;
  OnMonitor = nullptr;
  OnReadFilter = nullptr;
  OnHeartbeat = nullptr;
  try {
    TTCPBlockSocket::CloseSocket();
  } catch (...) {
  }
}

void TTCPBlockSocket::CloseSocket() {
  if (FSSL && FSSL->SSLEnabled()) FSSL->Shutdown();
  if (FSocket != INVALID_SOCKET && FLastError == 0) {
    SocketFunctions().shutdown(FSocket, SD_SEND);
    Purge();
  }
  TSocksBlockSocket::CloseSocket();
}

void TTCPBlockSocket::Connect(const String& IP, const String& Port) {
  if (!FSocksIP.empty()) SocksDoConnect(IP, Port);
  else if (!FHTTPTunnelIP.empty()) HTTPTunnelDoConnect(IP, Port);
  else TSocksBlockSocket::Connect(IP, Port);
  if (FLastError == 0 && OnAfterConnect) OnAfterConnect(this);
}

void TTCPBlockSocket::SocksDoConnect(const String& IP, const String& Port) {
  TSocksBlockSocket::Connect(FSocksIP, FSocksPort);
  if (FLastError == 0) {
    // A refused session must not look like a connection.
    if (!SocksOpen()) {
      if (FLastError == 0) FLastError = WSASYSNOTREADY;
    } else if (SocksRequest(1, IP, Port)) {
      bool granted = SocksResponse();
      if (!granted && FLastError == 0) FLastError = WSASYSNOTREADY;
      FSocksLocalIP = FSocksResponseIP;
      FSocksLocalPort = FSocksResponsePort;
      FSocksRemoteIP = IP;
      FSocksRemotePort = Port;
    }
  }
  ExceptCheck();
}

void TTCPBlockSocket::HTTPTunnelDoConnect(const String& IP, const String& Port) {
  String port = IntToStr(ResolvePort(Port));
  TSocksBlockSocket::Connect(FHTTPTunnelIP, FHTTPTunnelPort);
  if (FLastError != 0) return;
  FHTTPTunnel = false;
  String host = IsIPv6Text(IP) ? u"[" + IP + u"]" : IP;
  std::string req = "CONNECT " + StringToUtf8(host) + ":" + StringToUtf8(port) + " HTTP/1.0\r\n";
  if (!FHTTPTunnelUser.empty())
    req += "Proxy-Authorization: Basic " + Base64EncodeBytes(StringToUtf8(FHTTPTunnelUser + u":" + FHTTPTunnelPass)) +
           "\r\n";
  req += "\r\n";
  SendString(req);
  // The header ends with an empty line; a bounded count guards against a
  // proxy that never sends one.
  for (int lines = 0; FLastError == 0 && lines < 1000; ++lines) {
    std::string s = RecvTerminated(FHTTPTunnelTimeout, "\n");
    if (FLastError != 0) break;
    if (!s.empty() && s.back() == '\r') s.pop_back();
    if (s.empty()) break;
    if (s.rfind("HTTP/", 0) == 0 && s.size() > 11) FHTTPTunnel = s[9] == '2';
  }
  if (FLastError == 0 && !FHTTPTunnel) FLastError = WSAECONNREFUSED;
  FHTTPTunnelRemoteIP = IP;
  FHTTPTunnelRemotePort = Port;
  ExceptCheck();
}

void TTCPBlockSocket::Listen() {
  if (FSocksIP.empty()) {
    TSocksBlockSocket::Listen();
    return;
  }
  String localIP = GetLocalSinIP(), localPort = IntToStr(GetLocalSinPort());
  if (localIP == u"0.0.0.0") localIP = LocalName();
  TSocksBlockSocket::Connect(FSocksIP, FSocksPort);
  if (FLastError == 0 && SocksOpen() && SocksRequest(2, localIP, localPort)) {
    if (!SocksResponse() && FLastError == 0) FLastError = WSANO_RECOVERY;
    FSocksLocalIP = FSocksResponseIP == u"0.0.0.0" ? FSocksIP : FSocksResponseIP;
    FSocksLocalPort = FSocksResponsePort;
    FSocksRemoteIP.clear();
    FSocksRemotePort.clear();
  } else if (FLastError == 0) {
    FLastError = WSANO_RECOVERY;
  }
  ExceptCheck();
  DoStatus(THookSocketReason::HR_Listen, {});
}

SOCKET TTCPBlockSocket::Accept() {
  if (!FUsingSocks) return TSocksBlockSocket::Accept();
  ResetLastError();
  if (!SocksResponse() && FLastError == 0) FLastError = WSANO_RECOVERY;
  FSocksRemoteIP = FSocksResponseIP;
  FSocksRemotePort = FSocksResponsePort;
  ExceptCheck();
  DoStatus(THookSocketReason::HR_Accept, {});
  return FSocket;
}

Integer TTCPBlockSocket::SendBuffer(const void* Buffer, Integer Length) {
  if (!SSLActive()) return TSocksBlockSocket::SendBuffer(Buffer, Length);
  if (TestStopFlag()) return 0;
  ResetLastError();
  Integer r = FSSL->SendBuffer(Buffer, Length);
  if (FSSL->LastError() != 0) FLastError = WSASYSNOTREADY;
  else if (r > 0) FSendCounter += r;
  ExceptCheck();
  return r;
}

Integer TTCPBlockSocket::RecvBuffer(void* Buffer, Integer Length) {
  if (!SSLActive()) return TSocksBlockSocket::RecvBuffer(Buffer, Length);
  if (TestStopFlag()) return 0;
  ResetLastError();
  Integer r = FSSL->RecvBuffer(Buffer, Length);
  if (FSSL->LastError() != 0) FLastError = WSASYSNOTREADY;
  else if (r > 0) FRecvCounter += r;
  ExceptCheck();
  return r;
}

Integer TTCPBlockSocket::WaitingData() {
  Integer r = 0;
  if (SSLActive()) r = FSSL->WaitingData();
  if (r == 0) r = TSocksBlockSocket::WaitingData();
  return r;
}

String TTCPBlockSocket::GetLocalSinIP() {
  return FUsingSocks ? FSocksLocalIP : TSocksBlockSocket::GetLocalSinIP();
}
String TTCPBlockSocket::GetRemoteSinIP() {
  if (FUsingSocks) return FSocksRemoteIP;
  if (FHTTPTunnel) return FHTTPTunnelRemoteIP;
  return TSocksBlockSocket::GetRemoteSinIP();
}
Integer TTCPBlockSocket::GetLocalSinPort() {
  return FUsingSocks ? static_cast<Integer>(ResolvePort(FSocksLocalPort)) : TSocksBlockSocket::GetLocalSinPort();
}
Integer TTCPBlockSocket::GetRemoteSinPort() {
  if (FUsingSocks) return ResolvePort(FSocksRemotePort);
  if (FHTTPTunnel) return ResolvePort(FHTTPTunnelRemotePort);
  return TSocksBlockSocket::GetRemoteSinPort();
}

String TTCPBlockSocket::GetErrorDescEx() {
  if (FLastError == WSASYSNOTREADY && FSSL && FSSL->LastError() != 0 && !FSSL->LastErrorDesc().empty())
    return FSSL->LastErrorDesc();
  return TSocksBlockSocket::GetErrorDescEx();
}
