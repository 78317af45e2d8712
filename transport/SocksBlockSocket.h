#pragma once
// TSocksBlockSocket: the SOCKS 4 and 5 client layer of the socket family and
// the settings holder of the UDP socket.
#include "transport/BlockSocket.h"

enum TSocksType { ST_Socks5, ST_Socks4 };

class TSocksBlockSocket : public TBlockSocket {
 public:
  TSocksBlockSocket();

  // Opens a SOCKS5 session (SOCKS4 needs none); sets UsingSocks. A user name
  // or password above 255 bytes is refused with WSAEINVAL before anything is sent.
  bool SocksOpen();
  // Sends a request (1 connect, 2 bind, 3 UDP associate); True without a
  // send error. A host name above 255 bytes is refused with WSAEINVAL.
  bool SocksRequest(Byte Cmd, const String& IP, const String& Port);
  // Reads the proxy's reply into SocksResponseIP/Port; True when granted.
  bool SocksResponse();
  // The address part of a request (SOCKS4 or SOCKS5 form).
  std::string SocksCode(const String& IP, const String& Port);
  // Decodes an address part at the start of Value into SocksResponseIP/Port;
  // answers the bytes used (0 when Value is too short or of unknown type).
  Integer SocksDecode(const std::string& Value);

  const String& SocksIP() const { return FSocksIP; }
  void SetSocksIP(const String& Value) { FSocksIP = Value; }
  const String& SocksPort() const { return FSocksPort; }
  void SetSocksPort(const String& Value) { FSocksPort = Value; }
  const String& SocksUsername() const { return FSocksUsername; }
  void SetSocksUsername(const String& Value) { FSocksUsername = Value; }
  const String& SocksPassword() const { return FSocksPassword; }
  void SetSocksPassword(const String& Value) { FSocksPassword = Value; }
  Integer SocksTimeout() const { return FSocksTimeout; }
  void SetSocksTimeout(Integer Value) { FSocksTimeout = Value; }
  bool SocksResolver() const { return FSocksResolver; }
  void SetSocksResolver(bool Value) { FSocksResolver = Value; }
  TSocksType SocksType() const { return FSocksType; }
  void SetSocksType(TSocksType Value) { FSocksType = Value; }
  bool UsingSocks() const { return FUsingSocks; }
  Integer SocksLastError() const { return FSocksLastError; }
  const String& SocksResponseIP() const { return FSocksResponseIP; }
  const String& SocksResponsePort() const { return FSocksResponsePort; }
  const String& SocksLocalIP() const { return FSocksLocalIP; }
  const String& SocksLocalPort() const { return FSocksLocalPort; }
  const String& SocksRemoteIP() const { return FSocksRemoteIP; }
  const String& SocksRemotePort() const { return FSocksRemotePort; }

 protected:
  String FSocksIP;
  String FSocksPort = u"1080";
  Integer FSocksTimeout = 60000;
  String FSocksUsername;
  String FSocksPassword;
  bool FUsingSocks = false;
  bool FSocksResolver = true;
  Integer FSocksLastError = 0;
  String FSocksResponseIP, FSocksResponsePort;
  String FSocksLocalIP, FSocksLocalPort;
  String FSocksRemoteIP, FSocksRemotePort;
  bool FBypassFlag = false;  // set while the SOCKS exchange itself runs
  TSocksType FSocksType = ST_Socks5;
};
