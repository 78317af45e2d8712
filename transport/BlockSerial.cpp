#include "transport/BlockSerial.h"

#include <algorithm>

#include "platform/rtl/StrUtils.h"
#include "transport/TransportUtils.h"

namespace {

struct SerialErrorText {
  Integer number;
  const char16_t* text;
};

constexpr SerialErrorText kSerialErrors[] = {
    {0, u"OK"},
    {ErrAlreadyOwned, u"Port owned by other process"},
    {ErrAlreadyInUse, u"Instance already in use"},
    {ErrWrongParameter, u"Wrong parameter at call"},
    {ErrPortNotOpen, u"Instance not yet connected"},
    {ErrNoDeviceAnswer, u"No device answer detected"},
    {ErrMaxBuffer, u"Maximal buffer length exceeded"},
    {ErrTimeout, u"Timeout during operation"},
    {ErrNotRead, u"Reading of data failed"},
    {ErrFrame, u"Receive framing error"},
    {ErrOverrun, u"Receive Overrun Error"},
    {ErrRxOver, u"Receive Queue overflow"},
    {ErrRxParity, u"Receive Parity Error"},
    {ErrTxFull, u"Tranceive Queue is full"},
};

// Decimal value with an optional sign; `fallback` for anything else or an overflow.
Integer DecimalOr(StringView text, Integer fallback) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  if (i == text.size()) return fallback;
  Int64 value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return fallback;
    value = value * 10 + (text[i] - u'0');
    if (value > 0x7FFFFFFFLL) return fallback;
  }
  return static_cast<Integer>(negative ? -value : value);
}

std::string LittleEndian(Integer value) {
  const auto v = static_cast<Cardinal>(value);
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

String MessageOf(Integer code, const String& text) {
  return u"Communication error " + IntToStr(code) + u": " + text;
}

}  // namespace

ESerialError::ESerialError(Integer errorCode, String errorMessage)
    : Exception(MessageOf(errorCode, errorMessage)), ErrorCode(errorCode), ErrorMessage(std::move(errorMessage)) {}

TBlockSerial::TBlockSerial() = default;

TBlockSerial::~TBlockSerial() {
  // A destructor never throws: close quietly whatever RaiseExcept says.
  FRaiseExcept = false;
  CloseSocket();
}

String TBlockSerial::GetErrorDesc(Integer ErrorCode) {
  for (const SerialErrorText& e : kSerialErrors) {
    if (e.number == ErrorCode) return e.text;
  }
  return SystemErrorMessage(static_cast<DWORD>(ErrorCode));
}

String TBlockSerial::GetVersion() { return u"BlockSerial 7.6.0"; }

// ---- errors ----

Integer TBlockSerial::SerialCheck(Integer SerialResult) {
  SetSerialError(SerialResult == -1 ? static_cast<Integer>(::GetLastError()) : 0);
  return FLastError;
}

void TBlockSerial::ExceptCheck() {
  if (FRaiseExcept && FLastError != 0) throw ESerialError(FLastError, FLastErrorDesc);
}

void TBlockSerial::SetSerialError(Integer ErrNumber) {
  FLastError = ErrNumber;
  FLastErrorDesc = GetErrorDesc(ErrNumber);
}

void TBlockSerial::RaiseSerialError(Integer ErrNumber) {
  SetSerialError(ErrNumber);
  ExceptCheck();
}

// The last set flag in this order decides.
Integer TBlockSerial::CommErrorToNumber(DWORD flags) {
  Integer result = 0;
  if (flags & CE_FRAME) result = ErrFrame;
  if (flags & CE_OVERRUN) result = ErrOverrun;
  if (flags & CE_RXOVER) result = ErrRxOver;
  if (flags & CE_RXPARITY) result = ErrRxParity;
  if (flags & CE_TXFULL) result = ErrTxFull;
  return result;
}

// ---- internal ----

// No I/O address and no transmitter register to look at on this system.
Integer TBlockSerial::ReadPortAddress() { return 0; }
bool TBlockSerial::TransmitterEmpty() { return true; }

void TBlockSerial::DoStatus(THookSerialReason Reason, const String& Value) {
  if (OnStatus) OnStatus(this, Reason, Value);
}

Integer TBlockSerial::ParseComNumber(const String& name) {
  const String upper = UpperCase(name);
  if (upper.starts_with(u"COM")) return DecimalOr(StringView(upper).substr(3), 0) - 1;
  if (upper.starts_with(u"/DEV/TTYS")) return DecimalOr(StringView(upper).substr(9), -2);
  return -1;
}

bool TBlockSerial::ControlLineTest() {
  if (FTestDSR && !GetDSR()) return false;
  if (FTestCTS && !GetCTS()) return false;
  return true;
}

bool TBlockSerial::PreTransferTest() {
  if (!FInstanceActive) {
    RaiseSerialError(ErrPortNotOpen);
    return false;
  }
  if (!ControlLineTest()) {
    RaiseSerialError(ErrNoDeviceAnswer);
    return false;
  }
  return true;
}

void TBlockSerial::WaitBandwidth(Integer length, Integer limit, Integer& next) {
  if (limit <= 0) return;
  const auto now = static_cast<Integer>(TickMs());
  if (now < next) {
    const Integer wait = next - now;
    DoStatus(HR_Wait, IntToStr(wait));
    SleepMs(wait);
  }
  next = static_cast<Integer>(TickMs()) + static_cast<Integer>(static_cast<Int64>(length) * 1000 / limit);
}

void TBlockSerial::SetBandwidth(Integer value) {
  FMaxSendBandwidth = value;
  FMaxRecvBandwidth = value;
}

void TBlockSerial::SetRecvBufferSize(Integer value) {
  if (Fhandle != INVALID_HANDLE_VALUE) {
    SetupComm(Fhandle, static_cast<DWORD>(std::max(value, 0)), 0);
    GetCommState();
    FDCB.XonLim = static_cast<Word>(value / 4);
    FDCB.XoffLim = static_cast<Word>(value / 4);
    SetCommState();
  }
  FRecvBuffer = value;
}

bool TBlockSerial::GetDSR() { return ModemStatus() & MS_DSR_ON; }
bool TBlockSerial::GetCTS() { return ModemStatus() & MS_CTS_ON; }
bool TBlockSerial::GetCarrier() { return ModemStatus() & MS_RLSD_ON; }
bool TBlockSerial::GetRing() { return ModemStatus() & MS_RING_ON; }
void TBlockSerial::SetDTRLine(bool value) { EscapeCommFunction(Fhandle, value ? SETDTR : CLRDTR); }
void TBlockSerial::SetRTSLine(bool value) { EscapeCommFunction(Fhandle, value ? SETRTS : CLRRTS); }

// ---- open, settings, close ----

void TBlockSerial::Connect(const String& comport) {
  if (FInstanceActive) {
    RaiseSerialError(ErrAlreadyInUse);
    return;
  }
  FBuffer.clear();
  FDevice = comport;
  FComNr = ParseComNumber(comport);
  if (FComNr != -1) FDevice = u"\\\\.\\COM" + IntToStr(static_cast<Int64>(FComNr) + 1);
  Fhandle = CreateFile(FDevice, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED,
                       nullptr);
  if (Fhandle == INVALID_HANDLE_VALUE) {
    SerialCheck(-1);
    ExceptCheck();
    return;
  }
  SetCommMask(Fhandle, 0);
  SetupComm(Fhandle, static_cast<DWORD>(std::max(FRecvBuffer, 0)), 0);
  // 0xFFFF, not MAXDWORD: the latter would make reads return at once.
  COMMTIMEOUTS timeouts;
  timeouts.ReadIntervalTimeout = 0xFFFF;
  SetCommTimeouts(Fhandle, &timeouts);
  FPortAddr = ReadPortAddress();
  SetSerialError(0);
  if (ControlLineTest()) {
    FInstanceActive = true;
    SetRTSLine(true);
    SetDTRLine(true);
    Purge();
  } else {
    SetSerialError(ErrNoDeviceAnswer);
    ::CloseHandle(Fhandle);
    Fhandle = INVALID_HANDLE_VALUE;
    FComNr = -1;
  }
  ExceptCheck();
  DoStatus(HR_Connect, FDevice);
}

void TBlockSerial::Config(Integer baud, Integer bits, char parity, Integer stop, bool softflow, bool hardflow) {
  FDCB = DCB{};
  GetCommState();
  FDCB.DCBlength = sizeof(DCB);
  FDCB.BaudRate = static_cast<DWORD>(baud);
  FDCB.ByteSize = static_cast<Byte>(bits);
  switch (parity) {
    case 'N': case 'n': FDCB.Parity = NOPARITY; break;
    case 'O': case 'o': FDCB.Parity = ODDPARITY; break;
    case 'E': case 'e': FDCB.Parity = EVENPARITY; break;
    case 'M': case 'm': FDCB.Parity = MARKPARITY; break;
    case 'S': case 's': FDCB.Parity = SPACEPARITY; break;
    default: break;
  }
  FDCB.StopBits = static_cast<Byte>(stop);
  FDCB.XonChar = 17;
  FDCB.XoffChar = 19;
  FDCB.XonLim = static_cast<Word>(FRecvBuffer / 4);
  FDCB.XoffLim = static_cast<Word>(FRecvBuffer / 4);
  DWORD flags = dcb_Binary;
  if (softflow) flags |= dcb_OutX | dcb_InX;
  flags |= hardflow ? (dcb_OutxCtsFlow | dcb_RtsControlHandshake) : dcb_RtsControlEnable;
  flags |= dcb_DtrControlEnable;
  if (FDCB.Parity > 0) flags |= dcb_ParityCheck;
  FDCB.Flags = flags;
  SetCommState();
}

void TBlockSerial::SetCommState() {
  SetSerialError(0);
  if (!::SetCommState(Fhandle, &FDCB)) SerialCheck(-1);
  ExceptCheck();
}

void TBlockSerial::GetCommState() {
  SetSerialError(0);
  if (!::GetCommState(Fhandle, &FDCB)) SerialCheck(-1);
  ExceptCheck();
}

void TBlockSerial::CloseSocket() {
  if (Fhandle != INVALID_HANDLE_VALUE) {
    Purge();
    SetRTSLine(false);
    SetDTRLine(false);
    ::CloseHandle(Fhandle);
  }
  FInstanceActive = false;
  Fhandle = INVALID_HANDLE_VALUE;
  FComNr = -1;
  SetSerialError(0);
  DoStatus(HR_SerialClose, FDevice);
}

// ---- transfers ----

Integer TBlockSerial::Transfer(bool write, void* buffer, Integer length) {
  if (!PreTransferTest()) return 0;
  if (length < 0) {
    RaiseSerialError(ErrWrongParameter);
    return 0;
  }
  if (write) {
    WaitBandwidth(length, FMaxSendBandwidth, FNextSend);
    if (FRTSToggle) {
      Flush();
      SetRTSLine(true);
    }
  } else {
    WaitBandwidth(length, FMaxRecvBandwidth, FNextRecv);
  }
  SetSerialError(0);
  OVERLAPPED overlapped;
  DWORD count = 0;
  const BOOL done = write ? WriteFile(Fhandle, buffer, static_cast<DWORD>(length), &count, &overlapped)
                          : ReadFile(Fhandle, buffer, static_cast<DWORD>(length), &count, &overlapped);
  if (!done) {
    if (::GetLastError() == ERROR_IO_PENDING) {
      if (!GetOverlappedResultEx(Fhandle, &overlapped, &count, static_cast<DWORD>(std::max(FDeadlockTimeout, 0)),
                                 0)) {
        if (::GetLastError() == WAIT_TIMEOUT) {
          // Abort the stalled direction so the port stays usable.
          PurgeComm(Fhandle, write ? PURGE_TXABORT | PURGE_TXCLEAR : PURGE_RXABORT | PURGE_RXCLEAR);
          SetSerialError(ErrTimeout);
          GetOverlappedResult(Fhandle, &overlapped, &count, 0);
        } else {
          SerialCheck(-1);
        }
      }
    } else {
      SerialCheck(-1);
    }
  }
  DWORD errors = 0;
  COMSTAT stat;
  if (ClearCommError(Fhandle, &errors, &stat) && errors) {
    if (const Integer number = CommErrorToNumber(errors)) SetSerialError(number);
  }
  if (write && FRTSToggle) {
    Flush();
    CanWrite(255);
    SetRTSLine(false);
  }
  ExceptCheck();
  DoStatus(write ? HR_WriteCount : HR_ReadCount, IntToStr(count));
  return static_cast<Integer>(count);
}

Integer TBlockSerial::SendBuffer(const void* buffer, Integer length) {
  return Transfer(true, const_cast<void*>(buffer), length);
}

void TBlockSerial::SendByte(Byte data) { SendBuffer(&data, 1); }

void TBlockSerial::SendString(const std::string& data) {
  SendBuffer(data.data(), static_cast<Integer>(data.size()));
}

void TBlockSerial::SendInteger(Integer Data) { SendString(LittleEndian(Data)); }

void TBlockSerial::SendBlock(const std::string& Data) {
  SendInteger(static_cast<Integer>(Data.size()));
  if (FLastError == 0) SendString(Data);
}

Integer TBlockSerial::RecvBuffer(void* buffer, Integer length) { return Transfer(false, buffer, length); }

std::string TBlockSerial::RecvPacket(Integer Timeout) {
  std::string result;
  if (!PreTransferTest()) return result;
  SetSerialError(0);
  if (!FBuffer.empty()) {
    result.swap(FBuffer);
  } else {
    SleepMs(0);
    Integer waiting = WaitingData();
    if (waiting > 0) {
      result.resize(static_cast<std::size_t>(waiting));
      result.resize(static_cast<std::size_t>(RecvBuffer(result.data(), waiting)));
    } else if (CanRead(Timeout)) {
      waiting = WaitingData();
      if (waiting > 0) {
        result.resize(static_cast<std::size_t>(waiting));
        result.resize(static_cast<std::size_t>(RecvBuffer(result.data(), waiting)));
      } else {
        SetSerialError(ErrTimeout);
      }
    } else if (FLastError == 0) {
      // A vanished device keeps its own error rather than passing for a time-out.
      SetSerialError(ErrTimeout);
    }
  }
  ExceptCheck();
  return result;
}

Byte TBlockSerial::RecvByte(Integer timeout) {
  Byte result = 0;
  if (!PreTransferTest()) return result;
  SetSerialError(0);
  if (FBuffer.empty()) FBuffer = RecvPacket(timeout);
  if (FLastError == 0 && !FBuffer.empty()) {
    result = static_cast<Byte>(FBuffer[0]);
    FBuffer.erase(0, 1);
  }
  ExceptCheck();
  return result;
}

std::string TBlockSerial::RecvTerminated(Integer Timeout, const std::string& Terminator) {
  std::string result;
  if (!PreTransferTest()) return result;
  SetSerialError(0);
  if (Terminator.empty()) return result;
  const bool convert = FConvertLineEnd && Terminator == "\r\n";
  std::string collected;
  std::size_t lineEnd = std::string::npos, lineEndLength = 0;
  Integer left = Timeout;
  for (;;) {
    const Cardinal started = TickMs();
    collected += RecvPacket(left);
    if (FLastError != 0) break;
    if (!collected.empty()) {
      if (!convert) {
        lineEnd = collected.find(Terminator);
        lineEndLength = Terminator.size();
      } else {
        if (FLastCR && collected[0] == '\n') collected.erase(0, 1);
        if (FLastLF && !collected.empty() && collected[0] == '\r') collected.erase(0, 1);
        FLastCR = FLastLF = false;
        std::string lineBreak;
        const Integer at = FindLineBreak(collected, lineBreak);
        if (at > 0) {
          lineEnd = static_cast<std::size_t>(at - 1);
          lineEndLength = lineBreak.size();
          if (lineBreak == "\r") FLastCR = true;
          if (lineBreak == "\n") FLastLF = true;
        }
      }
    }
    const std::size_t cap = FMaxLineLength > 0 ? static_cast<std::size_t>(FMaxLineLength) : kUnlimitedLineCap;
    if (collected.size() > cap) {
      SetSerialError(ErrMaxBuffer);
      break;
    }
    if (lineEnd != std::string::npos) break;
    if (!FInterPacketTimeout) {
      left -= static_cast<Integer>(std::min<Cardinal>(TickSpan(started, TickMs()), 0x7FFFFFFF));
      if (left <= 0) {
        SetSerialError(ErrTimeout);
        break;
      }
    }
  }
  if (lineEnd != std::string::npos) {
    result = collected.substr(0, lineEnd);
    collected.erase(0, lineEnd + lineEndLength);
  }
  FBuffer = std::move(collected);
  ExceptCheck();
  return result;
}

std::string TBlockSerial::Recvstring(Integer timeout) {
  std::string result = RecvTerminated(timeout, "\r\n");
  if (FLastError != 0) result.clear();
  return result;
}

Integer TBlockSerial::RecvBufferEx(void* buffer, Integer length, Integer timeout) {
  Integer stored = 0;
  if (!PreTransferTest()) return 0;
  SetSerialError(0);
  if (!buffer || length < 1) return 0;
  auto* out = static_cast<char*>(buffer);
  Integer left = timeout;
  while (stored < length) {
    const Cardinal started = TickMs();
    std::string packet = RecvPacket(left);
    if (FLastError != 0) break;
    const auto take = std::min<std::size_t>(packet.size(), static_cast<std::size_t>(length - stored));
    std::copy_n(packet.data(), take, out + stored);
    stored += static_cast<Integer>(take);
    if (take < packet.size()) FBuffer = packet.substr(take) + FBuffer;
    if (stored >= length) break;
    if (!FInterPacketTimeout) {
      left -= static_cast<Integer>(std::min<Cardinal>(TickSpan(started, TickMs()), 0x7FFFFFFF));
      if (left <= 0) {
        SetSerialError(ErrTimeout);
        break;
      }
    }
  }
  ExceptCheck();
  return stored;
}

std::string TBlockSerial::RecvBufferStr(Integer Length, Integer Timeout) {
  std::string result;
  if (Length < 1) return result;
  // Filled in pieces, not sized up front: a length that came off the line
  // (RecvBlock) must not reserve memory for bytes that never arrive.
  constexpr Integer kPiece = 8192;
  const Cardinal started = TickMs();
  for (Integer left = Length, timeout = Timeout; left > 0;) {
    const Integer n = std::min(left, kPiece);
    const std::size_t at = result.size();
    result.resize(at + static_cast<std::size_t>(n));
    Integer got = 0;
    try {
      got = RecvBufferEx(result.data() + at, n, timeout);
    } catch (...) {
      FBuffer.insert(0, result, 0, at);  // a raised error loses no data
      throw;
    }
    result.resize(at + static_cast<std::size_t>(std::max(got, 0)));
    if (FLastError != 0 || got < n) break;
    left -= n;
    if (!FInterPacketTimeout && left > 0) {
      // The time limits the whole receive, not each piece.
      timeout = Timeout - static_cast<Integer>(std::min<Cardinal>(TickSpan(started, TickMs()), 0x7FFFFFFF));
      if (timeout <= 0) {
        SetSerialError(ErrTimeout);
        break;
      }
    }
  }
  if (FLastError != 0) {
    // What came stays buffered for the next receive, as after any time-out.
    FBuffer.insert(0, result);
    result.clear();
    ExceptCheck();
  }
  return result;
}

Integer TBlockSerial::RecvInteger(Integer Timeout) {
  const std::string bytes = RecvBufferStr(4, Timeout);
  if (FLastError != 0 || bytes.size() != 4) return 0;
  Cardinal v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<Byte>(bytes[i]);
  return static_cast<Integer>(v);
}

std::string TBlockSerial::RecvBlock(Integer Timeout) {
  const Integer count = RecvInteger(Timeout);
  if (FLastError != 0) return {};
  return RecvBufferStr(count, Timeout);
}

// ---- streams ----

void TBlockSerial::SendStreamRaw(TStream& Stream) {
  constexpr Integer kChunk = 8192;
  std::string chunk;
  while (Stream.Position() < Stream.Size()) {
    const auto left = Stream.Size() - Stream.Position();
    chunk.resize(static_cast<std::size_t>(std::min<decltype(left)>(left, kChunk)));
    const Integer got = Stream.Read(chunk.data(), static_cast<Integer>(chunk.size()));
    if (got <= 0) break;
    SendBuffer(chunk.data(), got);
    if (FLastError != 0) break;
  }
}

void TBlockSerial::SendStream(TStream& Stream) {
  SendInteger(static_cast<Integer>(Stream.Size() - Stream.Position()));
  if (FLastError == 0) SendStreamRaw(Stream);
}

void TBlockSerial::SendStreamIndy(TStream& Stream) {
  const auto size = static_cast<Cardinal>(Stream.Size() - Stream.Position());
  const char bytes[4] = {static_cast<char>(size >> 24), static_cast<char>(size >> 16), static_cast<char>(size >> 8),
                         static_cast<char>(size)};
  SendBuffer(bytes, 4);
  if (FLastError == 0) SendStreamRaw(Stream);
}

void TBlockSerial::RecvStreamRaw(TStream& Stream, Integer Timeout) {
  for (;;) {
    const std::string packet = RecvPacket(Timeout);
    if (FLastError != 0) break;
    Stream.Write(packet.data(), static_cast<Integer>(packet.size()));
  }
}

void TBlockSerial::RecvStreamSize(TStream& Stream, Integer Timeout, Integer Size) {
  constexpr Integer kChunk = 8192;
  for (Integer left = Size; left > 0;) {
    const Integer n = std::min(left, kChunk);
    const std::string bytes = RecvBufferStr(n, Timeout);
    if (FLastError != 0) break;
    Stream.Write(bytes.data(), static_cast<Integer>(bytes.size()));
    left -= n;
  }
}

void TBlockSerial::RecvStream(TStream& Stream, Integer Timeout) {
  const Integer size = RecvInteger(Timeout);
  if (FLastError == 0) RecvStreamSize(Stream, Timeout, size);
}

void TBlockSerial::RecvStreamIndy(TStream& Stream, Integer Timeout) {
  const auto raw = static_cast<Cardinal>(RecvInteger(Timeout));
  const Cardinal size = (raw >> 24) | ((raw >> 8) & 0xFF00u) | ((raw << 8) & 0xFF0000u) | (raw << 24);
  if (FLastError == 0) RecvStreamSize(Stream, Timeout, static_cast<Integer>(size));
}

// ---- queues, lines, waits ----

Integer TBlockSerial::WaitingData() {
  DWORD errors = 0;
  COMSTAT stat;
  if (!ClearCommError(Fhandle, &errors, &stat)) {
    SerialCheck(-1);
    ExceptCheck();
    return 0;
  }
  return static_cast<Integer>(stat.cbInQue);
}

Integer TBlockSerial::WaitingDataEx() {
  return FBuffer.empty() ? WaitingData() : static_cast<Integer>(FBuffer.size());
}

Integer TBlockSerial::SendingData() {
  DWORD errors = 0;
  COMSTAT stat;
  SetSerialError(0);
  if (!ClearCommError(Fhandle, &errors, &stat)) {
    SerialCheck(-1);
    ExceptCheck();
    return 0;
  }
  return static_cast<Integer>(stat.cbOutQue);
}

void TBlockSerial::EnableRTSToggle(bool value) {
  SetSerialError(0);
  GetCommState();
  FDCB.Flags &= ~dcb_RtsControlMask;
  if (value) FDCB.Flags |= dcb_RtsControlToggle;
  SetCommState();
}

void TBlockSerial::Flush() {
  SetSerialError(0);
  if (!FlushFileBuffers(Fhandle)) SerialCheck(-1);
  ExceptCheck();
}

void TBlockSerial::Purge() {
  SetSerialError(0);
  if (!PurgeComm(Fhandle, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR)) SerialCheck(-1);
  FBuffer.clear();
  ExceptCheck();
}

// One overlapped wait for a communication event, ended by clearing the mask.
bool TBlockSerial::WaitEvent(DWORD mask, Integer Timeout) {
  SetCommMask(Fhandle, mask);
  SetSerialError(0);
  bool result = false;
  if (mask == EV_RXCHAR && WaitingData() > 0) {
    result = true;
  } else {
    OVERLAPPED overlapped;
    DWORD events = 0, count = 0;
    if (WaitCommEvent(Fhandle, &events, &overlapped)) {
      result = (events & mask) != 0;
    } else if (::GetLastError() == ERROR_IO_PENDING) {
      if (!GetOverlappedResultEx(Fhandle, &overlapped, &count, static_cast<DWORD>(std::max(Timeout, 0)), 0)) {
        if (::GetLastError() == WAIT_TIMEOUT) {
          SetCommMask(Fhandle, 0);
          GetOverlappedResult(Fhandle, &overlapped, &count, 1);
        } else {
          SerialCheck(-1);
        }
      }
      result = (events & mask) != 0;
    } else {
      SerialCheck(-1);
    }
  }
  SetCommMask(Fhandle, 0);
  return result;
}

bool TBlockSerial::CanRead(Integer Timeout) {
  bool result = WaitingData() > 0;
  if (!result) {
    result = WaitEvent(EV_RXCHAR, Timeout);
    if (!result) {
      const Integer error = FLastError;
      result = WaitingData() > 0;
      if (!result && error != 0) SetSerialError(error);
    }
  }
  if (result) DoStatus(HR_CanRead, {});
  return result;
}

bool TBlockSerial::CanWrite(Integer Timeout) {
  bool result = SendingData() == 0;
  if (!result) result = WaitEvent(EV_TXEMPTY, Timeout);
  if (result) DoStatus(HR_CanWrite, {});
  return result;
}

bool TBlockSerial::CanReadEx(Integer Timeout) { return !FBuffer.empty() || CanRead(Timeout); }

Integer TBlockSerial::ModemStatus() {
  DWORD status = 0;
  SetSerialError(0);
  if (!GetCommModemStatus(Fhandle, &status)) {
    SerialCheck(-1);
    ExceptCheck();
  }
  FModemWord = static_cast<Integer>(status);
  return FModemWord;
}

void TBlockSerial::SetBreak(Integer Duration) {
  SetSerialError(0);
  if (!SetCommBreak(Fhandle)) {
    SerialCheck(-1);
    ExceptCheck();
    return;
  }
  SleepMs(Duration);
  if (!ClearCommBreak(Fhandle)) SerialCheck(-1);
  ExceptCheck();
}

// ---- modem dialogue ----

std::string TBlockSerial::ATDialogue(const std::string& value, Integer timeout, bool connect) {
  std::string result;
  FATResult = false;
  // The time-out and a size bound hold for the whole answer: a peer that keeps
  // talking (echo loops, line noise) can neither hold the dialogue longer nor
  // make it grow without end. The line settings it changes come back on every exit.
  const bool savedConvert = FConvertLineEnd, savedInterPacket = FInterPacketTimeout;
  const Integer savedMaxLine = FMaxLineLength;
  auto restore = [&] {
    FConvertLineEnd = savedConvert;
    FInterPacketTimeout = savedInterPacket;
    FMaxLineLength = savedMaxLine;
  };
  FConvertLineEnd = true;
  FInterPacketTimeout = false;  // each read's time-out covers the whole read
  try {
    SendString(value + "\r");
    const Cardinal started = TickMs();
    while (FLastError == 0) {
      const Cardinal elapsed = TickSpan(started, TickMs());
      if (elapsed >= static_cast<Cardinal>(std::max<Integer>(timeout, 0))) {
        RaiseSerialError(ErrTimeout);
        break;
      }
      FMaxLineLength = static_cast<Integer>(kMaxATAnswer - std::min(result.size(), kMaxATAnswer - 1));
      const std::string line = Recvstring(timeout - static_cast<Integer>(elapsed));
      if (FLastError != 0) break;
      if (line != value) result += line + "\r\n";
      if (result.size() > kMaxATAnswer) {
        RaiseSerialError(ErrMaxBuffer);
        break;
      }
      if (!connect) {
        if (line == "OK") {
          FATResult = true;
          break;
        }
        if (line == "ERROR") break;
      } else {
        if (line == "NO CARRIER" || line == "ERROR" || line == "BUSY" || line == "NO DIALTONE") break;
        if (line.starts_with("CONNECT")) {
          FATResult = true;
          break;
        }
      }
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return result;
}

std::string TBlockSerial::ATCommand(const std::string& value) { return ATDialogue(value, FAtTimeout, false); }

std::string TBlockSerial::ATConnect(const std::string& value) {
  return ATDialogue(value, static_cast<Integer>(std::min<Int64>(static_cast<Int64>(FAtTimeout) * 90, 0x7FFFFFFF)),
                    true);
}
