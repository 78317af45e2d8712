#include "programmer/SerialBootloadLink.h"

TSerialBootloadLink::TSerialBootloadLink(TBlockSerial& Port, String PortName)
    : FPort(Port), FPortName(std::move(PortName)) {}

std::string TSerialBootloadLink::ExchangeDescription(TBootloadHost& Host, char InfoCommand, const std::string& Stop) {
  Host.Delay(50);
  FPort.SendString(std::string(1, BL_CMD_PREFIX));
  Host.Delay(50);
  FPort.SendString(std::string(1, InfoCommand));
  if (FPort.LastError() != 0) return {};
  std::string reply;
  if (FPort.CanRead(2000)) {
    FPort.SetDeadlockTimeout(5000);
    // 5 s for the whole reply, and a length no real description reaches: a
    // target that talks without end is cut off in time and in memory.
    FPort.SetInterPacketTimeout(false);
    FPort.SetMaxLineLength(kMaxDescriptionLength);
    reply = FPort.RecvTerminated(5000, Stop);
    FPort.SetMaxLineLength(0);
  }
  if (FPort.LastError() != 0) return {};
  return reply;
}

void TSerialBootloadLink::AfterWriteCommand(TBootloadHost& Host) {
  Host.Delay(400);
  FPort.SetDTR(true);
}

void TSerialBootloadLink::AfterEndByte(TBootloadHost& Host) {
  Host.Delay(250);
  FPort.SetDTR(false);
  Host.Delay(25);
  FPort.SetDTR(true);
  FPort.SetRTS(false);
  Host.Delay(25);
  FPort.SetRTS(true);
}

String TSerialBootloadLink::LineErrorText() const {
  return u"Port " + FPortName + u" error # " + FPort.LastErrorDesc();
}
