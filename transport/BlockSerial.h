#pragma once
// The blocking serial port. Every operation leaves an error number and its text
// (LastError, LastErrorDesc; 0 "OK" for none) and raises ESerialError only when
// RaiseExcept is set. One thread uses one object.
#include <algorithm>
#include <functional>
#include <string>

#include "platform/comm/Comm.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Types.h"

// Error numbers of the serial port; other numbers are the system's.
constexpr Integer ErrAlreadyOwned = 9991;
constexpr Integer ErrAlreadyInUse = 9992;
constexpr Integer ErrWrongParameter = 9993;
constexpr Integer ErrPortNotOpen = 9994;
constexpr Integer ErrNoDeviceAnswer = 9995;
constexpr Integer ErrMaxBuffer = 9996;
constexpr Integer ErrTimeout = 9997;
constexpr Integer ErrNotRead = 9998;
constexpr Integer ErrFrame = 9999;
constexpr Integer ErrOverrun = 10000;
constexpr Integer ErrRxOver = 10001;
constexpr Integer ErrRxParity = 10002;
constexpr Integer ErrTxFull = 10003;

// Raised by ExceptCheck: "Communication error %d: %s".
class ESerialError : public Exception {
 public:
  ESerialError(Integer errorCode, String errorMessage);
  Integer ErrorCode;
  String ErrorMessage;
};

enum THookSerialReason { HR_SerialClose, HR_Connect, HR_CanRead, HR_CanWrite, HR_ReadCount, HR_WriteCount, HR_Wait };
using THookSerialStatus = std::function<void(TObject* Sender, THookSerialReason Reason, const String& Value)>;

class TBlockSerial : public TObject {
 public:
  TBlockSerial();
  // CloseSocket, then gone.
  ~TBlockSerial() override;
  TBlockSerial(const TBlockSerial&) = delete;
  TBlockSerial& operator=(const TBlockSerial&) = delete;

  // The text of an error number ("OK" for 0, the system's text for unknown numbers).
  static String GetErrorDesc(Integer ErrorCode);

  // "BlockSerial 7.6.0"
  virtual String GetVersion();
  // Purges, drops RTS and DTR, closes; always ends with error 0 and reports HR_SerialClose.
  virtual void CloseSocket();
  // Applies the line settings; parity letters N O E M S (either case), any other
  // keeps the current parity; stop 0 one, 1 one and a half, 2 two. A setting the
  // line refuses leaves the system's error.
  virtual void Config(Integer baud, Integer bits, char parity, Integer stop, bool softflow, bool hardflow);
  // Opens "COMn", "\\.\COMn", "/dev/ttySn" or any device path and marks the port
  // active; 9992 when already active, the system's error when it cannot be
  // opened (2 unknown, 5 busy), 9995 when TestDSR/TestCTS find the line low.
  virtual void Connect(const String& comport);
  // Writes / reads the device control block (DeviceControlBlock) to / from the port.
  virtual void SetCommState();
  virtual void GetCommState();

  // Writes `length` bytes; answers the bytes written (0 before Connect: 9994).
  // A write still pending after DeadlockTimeout is aborted with 9997.
  virtual Integer SendBuffer(const void* buffer, Integer length);
  virtual void SendByte(Byte data);
  virtual void SendString(const std::string& data);
  // 4 bytes, least significant first.
  virtual void SendInteger(Integer Data);
  // SendInteger of the byte count, then the bytes.
  virtual void SendBlock(const std::string& Data);
  // The stream from its position to its end in chunks of at most 8192 bytes.
  virtual void SendStreamRaw(TStream& Stream);
  // SendInteger of the remaining size, then SendStreamRaw.
  virtual void SendStream(TStream& Stream);
  // The remaining size most significant byte first, then SendStreamRaw.
  virtual void SendStreamIndy(TStream& Stream);

  // Reads exactly `length` bytes from the driver (what is waiting); 9997 when
  // they do not come within DeadlockTimeout.
  virtual Integer RecvBuffer(void* buffer, Integer length);
  // Collects packets until `length` bytes are stored; answers the count.
  virtual Integer RecvBufferEx(void* buffer, Integer length, Integer timeout);
  // RecvBufferEx into bytes; empty when Length < 1 or on error.
  virtual std::string RecvBufferStr(Integer Length, Integer Timeout);
  // Whatever is available (line buffer first); empty with 9997 when nothing came.
  virtual std::string RecvPacket(Integer Timeout);
  // The next byte, or 0 with LastError set (9997 on a silent line).
  virtual Byte RecvByte(Integer timeout);
  // The bytes before the terminator; the bytes after it stay in the line
  // buffer. On a time-out (9997) or overlong line (9996) the result is empty and
  // everything collected stays in the line buffer.
  virtual std::string RecvTerminated(Integer Timeout, const std::string& Terminator);
  // RecvTerminated with CR LF.
  virtual std::string Recvstring(Integer timeout);
  // 4 bytes, least significant first; 0 on error.
  virtual Integer RecvInteger(Integer Timeout);
  // RecvInteger as a count, then that many bytes.
  virtual std::string RecvBlock(Integer Timeout);
  // Writes packets to the stream until a receive fails.
  virtual void RecvStreamRaw(TStream& Stream, Integer Timeout);
  // Size bytes in chunks of 8192, each written to the stream; stops at the first error.
  virtual void RecvStreamSize(TStream& Stream, Integer Timeout, Integer Size);
  // The size as RecvInteger (least / most significant byte first), then RecvStreamSize.
  virtual void RecvStream(TStream& Stream, Integer Timeout);
  virtual void RecvStreamIndy(TStream& Stream, Integer Timeout);

  // Bytes in the driver's input queue; 0 with the system's error on failure.
  virtual Integer WaitingData();
  // The line buffer's length when it holds bytes, else WaitingData.
  virtual Integer WaitingDataEx();
  // Bytes in the driver's output queue.
  virtual Integer SendingData();
  // Switches the line settings' RTS control to toggle mode or off.
  virtual void EnableRTSToggle(bool value);
  // Waits until the output queue is sent.
  virtual void Flush();
  // Discards both driver queues and the line buffer.
  virtual void Purge();
  // True when received data waits or arrives within Timeout ms (HR_CanRead).
  virtual bool CanRead(Integer Timeout);
  // True when the output queue is or becomes empty within Timeout ms (HR_CanWrite).
  virtual bool CanWrite(Integer Timeout);
  // True at once when the line buffer holds bytes, else CanRead.
  virtual bool CanReadEx(Integer Timeout);
  // Reads and answers the modem-status word (MS_* bits; 0 on a pseudo-terminal).
  virtual Integer ModemStatus();
  // Break state for Duration ms.
  virtual void SetBreak(Integer Duration);
  // Sends the command with CR, collects the answer lines up to "OK" (ATResult True) or "ERROR".
  // The whole answer must come within AtTimeout ms (else 9997) and hold at
  // most kMaxATAnswer bytes (else 9996); ATResult is then False.
  virtual std::string ATCommand(const std::string& value);
  // As ATCommand within AtTimeout x 90 ms, up to "CONNECT..." or a failure line.
  virtual std::string ATConnect(const std::string& value);
  // -1: the system's last error becomes LastError; otherwise 0. Answers LastError.
  virtual Integer SerialCheck(Integer SerialResult);
  // Raises ESerialError when RaiseExcept is set and LastError is not 0.
  virtual void ExceptCheck();
  // Sets LastError and its text.
  virtual void SetSerialError(Integer ErrNumber);
  // SetSerialError, then ExceptCheck.
  virtual void RaiseSerialError(Integer ErrNumber);

  // Properties
  HANDLE Handle() const { return Fhandle; }
  const std::string& LineBuffer() const { return FBuffer; }
  const String& Device() const { return FDevice; }
  Integer LastError() const { return FLastError; }
  const String& LastErrorDesc() const { return FLastErrorDesc; }
  bool ATResult() const { return FATResult; }
  bool InstanceActive() const { return FInstanceActive; }
  // Raise (True) or drop (False) the line; no error handling, as the driver call has none worth reporting.
  void SetRTS(bool value) { SetRTSLine(value); }
  void SetDTR(bool value) { SetDTRLine(value); }
  bool CTS() { return GetCTS(); }
  bool DSR() { return GetDSR(); }
  bool Carrier() { return GetCarrier(); }
  bool Ring() { return GetRing(); }
  Integer MaxSendBandwidth() const { return FMaxSendBandwidth; }
  void SetMaxSendBandwidth(Integer value) { FMaxSendBandwidth = value; }
  Integer MaxRecvBandwidth() const { return FMaxRecvBandwidth; }
  void SetMaxRecvBandwidth(Integer value) { FMaxRecvBandwidth = value; }
  void SetMaxBandwidth(Integer value) { SetBandwidth(value); }
  Integer SizeRecvBuffer() const { return FRecvBuffer; }
  void SetSizeRecvBuffer(Integer value) { SetRecvBufferSize(value); }
  const DCB& DeviceControlBlock() const { return FDCB; }
  DCB& DeviceControlBlock() { return FDCB; }

  // Published
  Integer Tag() const { return FTag; }
  void SetTag(Integer value) { FTag = value; }
  bool RaiseExcept() const { return FRaiseExcept; }
  void SetRaiseExcept(bool value) { FRaiseExcept = value; }
  bool TestDSR() const { return FTestDSR; }
  void SetTestDSR(bool value) { FTestDSR = value; }
  bool TestCTS() const { return FTestCTS; }
  void SetTestCTS(bool value) { FTestCTS = value; }
  Integer MaxLineLength() const { return FMaxLineLength; }
  void SetMaxLineLength(Integer value) { FMaxLineLength = value; }
  Integer DeadlockTimeout() const { return FDeadlockTimeout; }
  void SetDeadlockTimeout(Integer value) { FDeadlockTimeout = value; }
  // Stored only: the exclusive open already keeps other programs out.
  bool LinuxLock() const { return FLinuxLock; }
  void SetLinuxLock(bool value) { FLinuxLock = value; }
  bool ConvertLineEnd() const { return FConvertLineEnd; }
  void SetConvertLineEnd(bool value) { FConvertLineEnd = value; }
  Integer AtTimeout() const { return FAtTimeout; }
  void SetAtTimeout(Integer value) { FAtTimeout = value; }
  bool InterPacketTimeout() const { return FInterPacketTimeout; }
  void SetInterPacketTimeout(bool value) { FInterPacketTimeout = value; }

  THookSerialStatus OnStatus;

  // Collected bytes beyond which RecvTerminated gives up with 9996 when
  // MaxLineLength is 0, so an endless stream cannot grow memory without bound.
  static constexpr std::size_t kUnlimitedLineCap = 1 << 20;
  // Longest answer of the modem dialogue; real answers are a few short lines.
  static constexpr std::size_t kMaxATAnswer = 64 * 1024;

 protected:
  virtual Integer CommErrorToNumber(DWORD flags);
  virtual Integer ReadPortAddress();
  virtual bool TransmitterEmpty();
  virtual void SetRecvBufferSize(Integer value);
  virtual bool GetDSR();
  virtual void SetDTRLine(bool value);
  virtual bool GetCTS();
  virtual void SetRTSLine(bool value);
  virtual bool GetCarrier();
  virtual bool GetRing();
  virtual void DoStatus(THookSerialReason Reason, const String& Value);
  virtual Integer ParseComNumber(const String& name);
  // False (with 9994 or 9995 set) when a transfer may not start.
  virtual bool PreTransferTest();
  // False when TestDSR or TestCTS find their line low.
  virtual bool ControlLineTest();
  virtual void WaitBandwidth(Integer length, Integer limit, Integer& next);
  virtual void SetBandwidth(Integer value);

 private:
  bool WaitEvent(DWORD mask, Integer Timeout);
  Integer Transfer(bool write, void* buffer, Integer length);
  std::string ATDialogue(const std::string& value, Integer timeout, bool connect);

  HANDLE Fhandle = INVALID_HANDLE_VALUE;
  Integer FTag = 0;
  String FDevice;
  Integer FLastError = 0;
  String FLastErrorDesc = u"OK";
  std::string FBuffer;
  bool FRaiseExcept = false;
  Integer FRecvBuffer = 4096;
  Integer FModemWord = 0;
  bool FRTSToggle = false;
  Integer FDeadlockTimeout = 30000;
  bool FInstanceActive = false;
  bool FTestDSR = false;
  bool FTestCTS = false;
  bool FLastCR = false;
  bool FLastLF = false;
  Integer FMaxLineLength = 0;
  bool FLinuxLock = true;
  Integer FMaxSendBandwidth = 0;
  Integer FNextSend = 0;
  Integer FMaxRecvBandwidth = 0;
  Integer FNextRecv = 0;
  bool FConvertLineEnd = false;
  bool FATResult = false;
  Integer FAtTimeout = 1000;
  bool FInterPacketTimeout = true;
  Integer FComNr = -1;
  Integer FPortAddr = 0;
  DCB FDCB;
};
