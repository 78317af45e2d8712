#pragma once
// Datagram sockets: Connect only records the destination, every send is one
// datagram to it, every receive takes one datagram and makes its sender the
// new destination. TUDPBlockSocket adds broadcast, multicast and the SOCKS5
// UDP relay (used only when SocksIP is set).
#include <memory>

#include "transport/SocksBlockSocket.h"
#include "transport/TcpBlockSocket.h"

class TDgramBlockSocket : public TSocksBlockSocket {
 public:
  // Resolves into RemoteSin and creates the socket of that family; sends
  // nothing, so an unreachable peer shows only as receive time-outs.
  void Connect(const String& IP, const String& Port) override;
  // One datagram of all the bytes to RemoteSin; -1 on error.
  Integer SendBuffer(const void* Buffer, Integer Length) override;
  // One datagram, at most Length bytes; RemoteSin becomes its sender.
  Integer RecvBuffer(void* Buffer, Integer Length) override;
};

class TUDPBlockSocket : public TDgramBlockSocket {
 public:
  ~TUDPBlockSocket() override;

  // Relay path with SocksIP set (relay failure: WSANO_RECOVERY, nothing sent).
  Integer SendBufferTo(const void* Buffer, Integer Length) override;
  Integer RecvBufferFrom(void* Buffer, Integer Length) override;
  Integer GetSocketType() override { return winsock::SOCK_DGRAM; }
  Integer GetSocketProtocol() override { return winsock::IPPROTO_UDP; }

  // Broadcast on or off (may be set before the socket exists).
  void EnableBroadcast(bool Value);
  // Join or leave a multicast group; errors in LastError.
  void AddMulticast(const String& MCastIP);
  void DropMulticast(const String& MCastIP);
  void EnableMulticastLoop(bool Value);
  Integer MulticastTTL();
  void SetMulticastTTL(Integer Value);

 private:
  // Sets up the relay once; False with LastError set when it fails.
  bool UdpAssociation();
  void Membership(const String& MCastIP, bool Add);

  std::unique_ptr<TTCPBlockSocket> FSocksControlSock;
};
