#pragma once
// The serial road's link: the bootloader protocol over a TBlockSerial.
#include "programmer/BootloadProtocol.h"
#include "transport/BlockSerial.h"

class TSerialBootloadLink : public TBootloadLink {
 public:
  // The port must outlive the link; PortName names it in failure texts.
  TSerialBootloadLink(TBlockSerial& Port, String PortName);

  bool CanRead(Integer TimeoutMs) override { return FPort.CanRead(TimeoutMs); }
  Byte RecvByte(Integer TimeoutMs) override { return FPort.RecvByte(TimeoutMs); }
  std::string RecvPacket(Integer TimeoutMs) override { return FPort.RecvPacket(TimeoutMs); }
  void SendString(const std::string& Data) override { FPort.SendString(Data); }
  Integer LastError() const override { return FPort.LastError(); }
  String LastErrorDesc() const override { return FPort.LastErrorDesc(); }
  bool LastErrorIsTimeout() const override { return FPort.LastError() == ErrTimeout; }

  String PeerName() const override { return FPortName; }
  // The port's DeadlockTimeout.
  Integer AnswerTimeout() const override { return FPort.DeadlockTimeout(); }
  Integer ReadyCounter() const override { return 100; }
  Integer ReadyIdleLimit() const override { return 10; }
  // 50 ms, 'u', 50 ms, the info command; up to 2 s for the first byte and 5 s
  // for the whole reply, at most kMaxDescriptionLength bytes.
  std::string ExchangeDescription(TBootloadHost& Host, char InfoCommand, const std::string& Stop) override;
  // 400 ms, then DTR raised.
  void AfterWriteCommand(TBootloadHost& Host) override;
  // 250 ms, then a 25 ms low pulse on DTR and one on RTS.
  void AfterEndByte(TBootloadHost& Host) override;
  // "Port COM3 error # <transport text>"
  String LineErrorText() const override;

 private:
  TBlockSerial& FPort;
  String FPortName;
};
