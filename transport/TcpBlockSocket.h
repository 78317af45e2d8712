#pragma once
// TTCPBlockSocket: a stream socket that connects directly, through a SOCKS
// proxy or through an HTTP proxy tunnel, with an SSL plug-in point.
#include <functional>
#include <memory>

#include "transport/CustomSSL.h"
#include "transport/SocksBlockSocket.h"

using THookAfterConnect = std::function<void(TObject* Sender)>;
// Makes the SSL plug-in object of a socket.
using TSSLClass = std::function<std::unique_ptr<TCustomSSL>(TTCPBlockSocket*)>;

class TTCPBlockSocket : public TSocksBlockSocket {
 public:
  // With TSSLNone.
  TTCPBlockSocket();
  // With the plug-in SSLPlugin makes (TSSLNone for an empty one).
  explicit TTCPBlockSocket(const TSSLClass& SSLPlugin);
  ~TTCPBlockSocket() override;

  THookAfterConnect OnAfterConnect;

  // Shuts SSL and sending down, drops what is waiting, closes.
  void CloseSocket() override;
  // Direct, through SocksIP (refused: WSASYSNOTREADY) or through HTTPTunnelIP
  // (no tunnel: WSAECONNREFUSED); OnAfterConnect on success.
  void Connect(const String& IP, const String& Port) override;
  void Listen() override;
  winsock::SOCKET Accept() override;
  Integer SendBuffer(const void* Buffer, Integer Length) override;
  Integer RecvBuffer(void* Buffer, Integer Length) override;
  Integer WaitingData() override;
  String GetLocalSinIP() override;
  String GetRemoteSinIP() override;
  Integer GetLocalSinPort() override;
  Integer GetRemoteSinPort() override;
  Integer GetSocketType() override { return winsock::SOCK_STREAM; }
  Integer GetSocketProtocol() override { return winsock::IPPROTO_TCP; }
  // The plug-in's own text for an SSL failure (WSASYSNOTREADY).
  String GetErrorDescEx() override;

  TCustomSSL* SSL() const { return FSSL.get(); }
  const String& HTTPTunnelIP() const { return FHTTPTunnelIP; }
  void SetHTTPTunnelIP(const String& Value) { FHTTPTunnelIP = Value; }
  const String& HTTPTunnelPort() const { return FHTTPTunnelPort; }
  void SetHTTPTunnelPort(const String& Value) { FHTTPTunnelPort = Value; }
  bool HTTPTunnel() const { return FHTTPTunnel; }
  const String& HTTPTunnelUser() const { return FHTTPTunnelUser; }
  void SetHTTPTunnelUser(const String& Value) { FHTTPTunnelUser = Value; }
  const String& HTTPTunnelPass() const { return FHTTPTunnelPass; }
  void SetHTTPTunnelPass(const String& Value) { FHTTPTunnelPass = Value; }
  Integer HTTPTunnelTimeout() const { return FHTTPTunnelTimeout; }
  void SetHTTPTunnelTimeout(Integer Value) { FHTTPTunnelTimeout = Value; }

 protected:
  void SocksDoConnect(const String& IP, const String& Port);
  void HTTPTunnelDoConnect(const String& IP, const String& Port);
  bool SSLActive() const { return FSSL && FSSL->SSLEnabled() && !FBypassFlag; }

  std::unique_ptr<TCustomSSL> FSSL;
  String FHTTPTunnelIP, FHTTPTunnelPort;
  bool FHTTPTunnel = false;
  String FHTTPTunnelRemoteIP, FHTTPTunnelRemotePort;
  String FHTTPTunnelUser, FHTTPTunnelPass;
  Integer FHTTPTunnelTimeout = 30000;
};
