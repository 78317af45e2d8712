#include "transport/BlockSocket.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/StrUtils.h"
#include "platform/win/Clock.h"
#include "transport/TransportUtils.h"

using namespace winsock;

namespace {

const TSocketFunctions& Lib() { return SocketFunctions(); }

std::string IntToBytesLE(Integer v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((static_cast<Cardinal>(v) >> (8 * i)) & 0xFF);
  return s;
}
std::string IntToBytesBE(Integer v) {
  std::string s = IntToBytesLE(v);
  std::reverse(s.begin(), s.end());
  return s;
}

// Purge drops at most this many packets, so a peer that never stops
// sending cannot hold the caller.
constexpr int kPurgeLimit = 4096;

struct ErrorText {
  Integer Code;
  const char16_t* Text;
};
constexpr ErrorText kErrorTexts[] = {
    {WSAEINTR, u"Interrupted system call"},
    {WSAEBADF, u"Bad file number"},
    {WSAEACCES, u"Permission denied"},
    {WSAEFAULT, u"Bad address"},
    {WSAEINVAL, u"Invalid argument"},
    {WSAEMFILE, u"Too many open files"},
    {WSAEWOULDBLOCK, u"Operation would block"},
    {WSAEINPROGRESS, u"Operation now in progress"},
    {WSAEALREADY, u"Operation already in progress"},
    {WSAENOTSOCK, u"Socket operation on nonsocket"},
    {WSAEDESTADDRREQ, u"Destination address required"},
    {WSAEMSGSIZE, u"Message too long"},
    {WSAEPROTOTYPE, u"Protocol wrong type for Socket"},
    {WSAENOPROTOOPT, u"Protocol not available"},
    {WSAEPROTONOSUPPORT, u"Protocol not supported"},
    {WSAESOCKTNOSUPPORT, u"Socket not supported"},
    {WSAEOPNOTSUPP, u"Operation not supported on Socket"},
    {WSAEPFNOSUPPORT, u"Protocol family not supported"},
    {WSAEAFNOSUPPORT, u"Address family not supported"},
    {WSAEADDRINUSE, u"Address already in use"},
    {WSAEADDRNOTAVAIL, u"Can't assign requested address"},
    {WSAENETDOWN, u"Network is down"},
    {WSAENETUNREACH, u"Network is unreachable"},
    {WSAENETRESET, u"Network dropped connection on reset"},
    {WSAECONNABORTED, u"Software caused connection abort"},
    {WSAECONNRESET, u"Connection reset by peer"},
    {WSAENOBUFS, u"No Buffer space available"},
    {WSAEISCONN, u"Socket is already connected"},
    {WSAENOTCONN, u"Socket is not connected"},
    {WSAESHUTDOWN, u"Can't send after Socket shutdown"},
    {WSAETOOMANYREFS, u"Too many references:can't splice"},
    {WSAETIMEDOUT, u"Connection timed out"},
    {WSAECONNREFUSED, u"Connection refused"},
    {WSAELOOP, u"Too many levels of symbolic links"},
    {WSAENAMETOOLONG, u"File name is too long"},
    {WSAEHOSTDOWN, u"Host is down"},
    {WSAEHOSTUNREACH, u"No route to host"},
    {WSAENOTEMPTY, u"Directory is not empty"},
    {WSAEPROCLIM, u"Too many processes"},
    {WSAEUSERS, u"Too many users"},
    {WSAEDQUOT, u"Disk quota exceeded"},
    {WSAESTALE, u"Stale NFS file handle"},
    {WSAEREMOTE, u"Too many levels of remote in path"},
    {WSASYSNOTREADY, u"Network subsystem is unusable"},
    {WSAVERNOTSUPPORTED, u"Winsock DLL cannot support this application"},
    {WSANOTINITIALISED, u"Winsock not initialized"},
    {WSAEDISCON, u"Disconnect"},
    {WSAHOST_NOT_FOUND, u"Host not found"},
    {WSATRY_AGAIN, u"Non authoritative - host not found"},
    {WSANO_RECOVERY, u"Non recoverable error"},
    {WSANO_DATA, u"Valid name, no data record of requested type"},
};

}  // namespace

TBlockSocket::TBlockSocket() = default;
TBlockSocket::TBlockSocket(const String&) : TBlockSocket() {}

TBlockSocket::~TBlockSocket() {
  FRaiseExcept = false;  // nothing may leave a destructor
  // Hooks stay silent: what they capture may already be gone.
  OnStatus = nullptr;
  OnMonitor = nullptr;
  OnReadFilter = nullptr;
  OnHeartbeat = nullptr;
  try {
    TBlockSocket::AbortSocket();
  } catch (...) {
  }
}

// ---- hooks

void TBlockSocket::DoStatus(THookSocketReason Reason, const String& Value) {
  if (OnStatus) OnStatus(this, Reason, Value);
}

void TBlockSocket::DoReadFilter(char* Buffer, Integer& Length) {
  if (!OnReadFilter || Length <= 0) return;
  std::string s(Buffer, static_cast<size_t>(Length));
  OnReadFilter(this, s);
  // A longer result is cut to the received length.
  Length = static_cast<Integer>(std::min(s.size(), static_cast<size_t>(Length)));
  std::memcpy(Buffer, s.data(), static_cast<size_t>(Length));
}

void TBlockSocket::DoMonitor(bool Writing, const void* Buffer, Integer Length) {
  if (OnMonitor) OnMonitor(this, Writing, Buffer, Length);
}

void TBlockSocket::DoCreateSocket() {
  if (OnCreateSocket) OnCreateSocket(this);
}

void TBlockSocket::DoHeartbeat() {
  if (OnHeartbeat) OnHeartbeat(this);
}

// ---- errors

void TBlockSocket::ResetLastError() {
  FLastError = 0;
  FLastErrorDesc.clear();
}

Integer TBlockSocket::SockCheck(Integer SockResult) {
  ResetLastError();
  if (SockResult == SOCKET_ERROR) {
    FLastError = Lib().WSAGetLastError();
    FLastErrorDesc = GetErrorDescEx();
  }
  return FLastError;
}

void TBlockSocket::ExceptCheck() {
  FLastErrorDesc = GetErrorDescEx();
  if (FLastError == 0 || FLastError == WSAEWOULDBLOCK || FLastError == WSAEINPROGRESS) return;
  DoStatus(THookSocketReason::HR_Error, IntToStr(FLastError) + u"," + FLastErrorDesc);
  if (FRaiseExcept)
    throw ESocketError(u"TCP/IP Socket error " + IntToStr(FLastError) + u": " + FLastErrorDesc, FLastError,
                       FLastErrorDesc);
}

String TBlockSocket::GetErrorDesc(Integer ErrorCode) {
  if (ErrorCode == 0) return {};
  for (const auto& e : kErrorTexts)
    if (e.Code == ErrorCode) return e.Text;
  return u"Other Winsock error (" + IntToStr(ErrorCode) + u")";
}

String TBlockSocket::GetErrorDescEx() { return GetErrorDesc(FLastError); }

// ---- resolution and creation

int TBlockSocket::FamilyCode() const {
  switch (FFamily) {
    case SF_IP4: return AF_INET;
    case SF_IP6: return AF_INET6;
    default: return AF_UNSPEC;
  }
}

void TBlockSocket::SetSin(TVarSin& Sin, const String& IP, const String& Port) {
  DoStatus(THookSocketReason::HR_ResolvingBegin, IP + u":" + Port);
  ResetLastError();
  int family = FamilyCode();
  if (FSocket == INVALID_SOCKET && FFamily == SF_Any) {
    if (IsIPv4Text(IP)) family = AF_INET;
    else if (IsIPv6Text(IP)) family = AF_INET6;
  }
  FLastError = FillSockAddr(Sin, IP, Port, family, GetSocketProtocol(), GetSocketType(), FPreferIP4);
  DoStatus(THookSocketReason::HR_ResolvingEnd, GetSinIP(Sin) + u":" + IntToStr(GetSinPort(Sin)));
}

String TBlockSocket::GetSinIP(const TVarSin& Sin) { return SockAddrToText(Sin); }
Integer TBlockSocket::GetSinPort(const TVarSin& Sin) { return SockAddrPort(Sin); }

void TBlockSocket::InternalCreateSocket(const TVarSin& Sin) {
  FStopFlag = false;
  FRecvCounter = 0;
  FSendCounter = 0;
  ResetLastError();
  if (FSocket != INVALID_SOCKET) return;
  FBuffer.clear();
  FBinded = false;
  FIP6used = Sin.Family() == AF_INET6;
  FSocket = Lib().socket(Sin.Family(), GetSocketType(), GetSocketProtocol());
  if (FSocket == INVALID_SOCKET) FLastError = Lib().WSAGetLastError();
  FDClear(FFDSet);
  if (FSocket != INVALID_SOCKET) FDAdd(FSocket, FFDSet);
  ExceptCheck();
  if (FSocket == INVALID_SOCKET) return;
  DoStatus(THookSocketReason::HR_SocketCreate, FIP6used ? u"IPv6" : u"IPv4");
  ProcessDelayedOption();
  DoCreateSocket();
}

void TBlockSocket::CreateSocket() {
  if (FSocket != INVALID_SOCKET || FFamily == SF_Any) return;
  TVarSin sin{};
  sin.sin.sin_family = static_cast<short>(FamilyCode());
  InternalCreateSocket(sin);
}

void TBlockSocket::CreateSocketByName(const String& Value) {
  TVarSin sin{};
  SetSin(sin, Value, u"0");
  if (FLastError == 0) InternalCreateSocket(sin);
  ExceptCheck();
}

void TBlockSocket::CloseSocket() { AbortSocket(); }

void TBlockSocket::AbortSocket() {
  if (FSocket != INVALID_SOCKET) Lib().closesocket(FSocket);
  FSocket = INVALID_SOCKET;
  FDClear(FFDSet);
  FBinded = false;
  FDelayedOptions.clear();
  FFamily = FFamilySave;
  DoStatus(THookSocketReason::HR_SocketClose, {});
}

void TBlockSocket::SetFamily(TSocketFamily Value) {
  FFamily = Value;
  FFamilySave = Value;
}

void TBlockSocket::SetSocket(SOCKET Value) {
  FRecvCounter = 0;
  FSendCounter = 0;
  FSocket = Value;
  FDClear(FFDSet);
  if (FSocket != INVALID_SOCKET) FDAdd(FSocket, FFDSet);
  GetSins();
  FIP6used = FRemoteSin.Family() == AF_INET6;
}

// ---- options

void TBlockSocket::DelayedOption(const TSocketOption& Value) {
  if (FSocket == INVALID_SOCKET) {
    FDelayedOptions.push_front(Value);
  } else {
    SetDelayedOption(Value);
  }
}

void TBlockSocket::ProcessDelayedOption() {
  // Queued at the front, so the oldest is at the back and goes first.
  while (!FDelayedOptions.empty()) {
    TSocketOption o = FDelayedOptions.back();
    FDelayedOptions.pop_back();
    SetDelayedOption(o);
  }
}

void TBlockSocket::SetDelayedOption(const TSocketOption& Value) {
  auto setInt = [&](int level, int name, int v) {
    return Lib().setsockopt(FSocket, level, name, reinterpret_cast<const char*>(&v), sizeof v);
  };
  int ipLevel = FIP6used ? IPPROTO_IPV6 : IPPROTO_IP;
  int r = 0;
  switch (Value.Option) {
    case SOT_Linger: {
      linger l{static_cast<u_short>(Value.Enabled ? 1 : 0), static_cast<u_short>(std::max(Value.Value, 0) / 1000)};
      r = Lib().setsockopt(FSocket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l);
      break;
    }
    case SOT_RecvBuff: r = setInt(SOL_SOCKET, SO_RCVBUF, Value.Value); break;
    case SOT_SendBuff: r = setInt(SOL_SOCKET, SO_SNDBUF, Value.Value); break;
    case SOT_NonBlock: {
      FNonBlockMode = Value.Enabled;
      winsock::u_long on = Value.Enabled ? 1 : 0;
      r = Lib().ioctlsocket(FSocket, FIONBIO, &on);
      break;
    }
    case SOT_RecvTimeout: r = setInt(SOL_SOCKET, SO_RCVTIMEO, Value.Value); break;
    case SOT_SendTimeout: r = setInt(SOL_SOCKET, SO_SNDTIMEO, Value.Value); break;
    case SOT_Reuse: r = setInt(SOL_SOCKET, SO_REUSEADDR, Value.Enabled ? 1 : 0); break;
    case SOT_TTL: r = setInt(ipLevel, FIP6used ? IPV6_UNICAST_HOPS : IP_TTL, Value.Value); break;
    case SOT_Broadcast: r = setInt(SOL_SOCKET, SO_BROADCAST, Value.Enabled ? 1 : 0); break;
    case SOT_MulticastTTL: r = setInt(ipLevel, FIP6used ? IPV6_MULTICAST_HOPS : IP_MULTICAST_TTL, Value.Value); break;
    case SOT_MulticastLoop:
      r = setInt(ipLevel, FIP6used ? IPV6_MULTICAST_LOOP : IP_MULTICAST_LOOP, Value.Enabled ? 1 : 0);
      break;
  }
  SockCheck(r);
}

void TBlockSocket::SetLinger(bool Enable, Integer Linger) { DelayedOption({SOT_Linger, Enable, Linger}); }
void TBlockSocket::EnableReuse(bool Value) { DelayedOption({SOT_Reuse, Value, 0}); }
void TBlockSocket::SetTTL(Integer TTL) { DelayedOption({SOT_TTL, false, TTL}); }
void TBlockSocket::SetNonBlockMode(bool Value) { DelayedOption({SOT_NonBlock, Value, 0}); }
void TBlockSocket::SetSizeRecvBuffer(Integer Size) { DelayedOption({SOT_RecvBuff, false, Size}); }
void TBlockSocket::SetSizeSendBuffer(Integer Size) { DelayedOption({SOT_SendBuff, false, Size}); }
void TBlockSocket::SetSendTimeout(Integer Timeout) { DelayedOption({SOT_SendTimeout, false, Timeout}); }
void TBlockSocket::SetRecvTimeout(Integer Timeout) { DelayedOption({SOT_RecvTimeout, false, Timeout}); }
void TBlockSocket::SetTimeout(Integer Timeout) {
  SetSendTimeout(Timeout);
  SetRecvTimeout(Timeout);
}

Integer TBlockSocket::GetTTL() {
  int v = -1, len = sizeof v;
  if (FIP6used) Lib().getsockopt(FSocket, IPPROTO_IPV6, IPV6_UNICAST_HOPS, reinterpret_cast<char*>(&v), &len);
  else Lib().getsockopt(FSocket, IPPROTO_IP, IP_TTL, reinterpret_cast<char*>(&v), &len);
  return v;
}

Integer TBlockSocket::GetSizeRecvBuffer() {
  int v = 0, len = sizeof v;
  if (Lib().getsockopt(FSocket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&v), &len) != 0) return 1024;
  return v;
}

Integer TBlockSocket::GetSizeSendBuffer() {
  int v = 0, len = sizeof v;
  if (Lib().getsockopt(FSocket, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<char*>(&v), &len) != 0) return 1024;
  return v;
}

// ---- bind, connect, listen, accept

void TBlockSocket::Bind(const String& IP, const String& Port) {
  ResetLastError();
  // The OS binds an unbound socket on its first send; nothing to do yet.
  if (FSocket == INVALID_SOCKET && FFamily == SF_Any && IP == u"0.0.0.0" && Port == u"0") return;
  TVarSin sin{};
  SetSin(sin, IP, Port);
  if (FLastError == 0) {
    if (FSocket == INVALID_SOCKET) InternalCreateSocket(sin);
    if (FLastError == 0) {
      SockCheck(SockBind(FSocket, sin));
      Integer err = FLastError;
      GetSinLocal();
      FBuffer.clear();
      FBinded = err == 0;
      FLastError = err;
    }
  }
  ExceptCheck();
  DoStatus(THookSocketReason::HR_Bind, IP + u":" + Port);
}

void TBlockSocket::Connect(const String& IP, const String& Port) {
  TVarSin sin{};
  SetSin(sin, IP, Port);
  if (FLastError == 0) {
    if (FSocket == INVALID_SOCKET) InternalCreateSocket(sin);
    if (FLastError == 0) {
      if (FConnectionTimeout <= 0) {
        SockCheck(SockConnect(FSocket, sin));
      } else {
        bool wasNonBlock = FNonBlockMode;
        SetNonBlockMode(true);
        SockCheck(SockConnect(FSocket, sin));
        if (FLastError == WSAEWOULDBLOCK || FLastError == WSAEINPROGRESS) {
          if (!CanWrite(FConnectionTimeout)) {
            if (FLastError == 0) FLastError = WSAETIMEDOUT;
          } else {
            // Writable also means "failed": the pending error tells which.
            int e = 0, len = sizeof e;
            Lib().getsockopt(FSocket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&e), &len);
            FLastError = e;
          }
        }
        Integer err = FLastError;
        SetNonBlockMode(wasNonBlock);
        FLastError = err;
      }
      if (FLastError == 0) GetSins();
    }
  }
  FBuffer.clear();
  FLastCR = false;
  FLastLF = false;
  ExceptCheck();
  DoStatus(THookSocketReason::HR_Connect, IP + u":" + Port);
}

void TBlockSocket::Listen() {
  SockCheck(Lib().listen(FSocket, SOMAXCONN));
  GetSins();
  ExceptCheck();
  DoStatus(THookSocketReason::HR_Listen, {});
}

SOCKET TBlockSocket::Accept() {
  SOCKET result = SockAccept(FSocket, FRemoteSin);
  SockCheck(result == INVALID_SOCKET ? SOCKET_ERROR : 0);
  ExceptCheck();
  DoStatus(THookSocketReason::HR_Accept, {});
  return result;
}

// ---- addresses

void TBlockSocket::GetSinLocal() {
  if (FSocket != INVALID_SOCKET) SockGetSockName(FSocket, FLocalSin);
}
void TBlockSocket::GetSinRemote() {
  if (FSocket != INVALID_SOCKET) SockGetPeerName(FSocket, FRemoteSin);
}
void TBlockSocket::GetSins() {
  GetSinLocal();
  GetSinRemote();
}
String TBlockSocket::GetLocalSinIP() { return GetSinIP(FLocalSin); }
String TBlockSocket::GetRemoteSinIP() { return GetSinIP(FRemoteSin); }
Integer TBlockSocket::GetLocalSinPort() { return GetSinPort(FLocalSin); }
Integer TBlockSocket::GetRemoteSinPort() { return GetSinPort(FRemoteSin); }

void TBlockSocket::SetRemoteSin(const String& IP, const String& Port) { SetSin(FRemoteSin, IP, Port); }

String TBlockSocket::LocalName() {
  String name = GetHostNameText();
  return name.empty() ? String(u"127.0.0.1") : name;
}

void TBlockSocket::ResolveNameToIP(const String& Name, std::vector<String>& IPList) {
  ResolveNameList(Name, FamilyCode(), GetSocketProtocol(), GetSocketType(), IPList);
}

String TBlockSocket::ResolveName(const String& Name) {
  std::vector<String> list;
  ResolveNameToIP(Name, list);
  return list.empty() ? String(u"0.0.0.0") : list.front();
}

Word TBlockSocket::ResolvePort(const String& Port) {
  return ResolvePortNumber(Port, FamilyCode(), GetSocketProtocol(), GetSocketType());
}

String TBlockSocket::ResolveIPToName(const String& IP) {
  String ip = IP;
  if (!IsIPv4Text(ip) && !IsIPv6Text(ip)) ip = ResolveName(ip);
  return ResolveHostName(ip, FamilyCode(), GetSocketProtocol(), GetSocketType());
}

// ---- transfers

bool TBlockSocket::TestStopFlag() {
  if (!FStopFlag.exchange(false)) return false;
  FLastError = WSAECONNABORTED;
  ExceptCheck();
  return true;
}

void TBlockSocket::LimitBandwidth(Integer Length, Integer MaxB, Cardinal& Next) {
  if (MaxB <= 0) return;
  Cardinal now = TickMs();
  if (Next != 0 && static_cast<std::int32_t>(Next - now) > 0) {
    Cardinal wait = Next - now;
    DoStatus(THookSocketReason::HR_Wait, IntToStr(wait));
    // In pieces, so a StopFlag from another thread ends the wait.
    while (wait > 0 && !FStopFlag.load()) {
      Cardinal piece = std::min<Cardinal>(wait, 250);
      Sleep(piece);
      wait -= piece;
    }
  }
  Next = TickMs() + static_cast<Cardinal>(static_cast<double>(Length) / MaxB * 1000.0);
}

Integer TBlockSocket::SendBuffer(const void* Buffer, Integer Length) {
  if (TestStopFlag()) return 0;
  if (Length <= 0 || Buffer == nullptr) return 0;
  DoMonitor(true, Buffer, Length);
  const char* p = static_cast<const char*>(Buffer);
  Integer sent = 0;
  ResetLastError();
  while (sent < Length) {
    Integer n = std::min(Length - sent, FSendMaxChunk);
    LimitBandwidth(n, FMaxSendBandwidth, FNextSend);
    Integer r = SockSend(FSocket, p + sent, n, 0);
    SockCheck(r);
    if (FLastError == WSAEWOULDBLOCK) {
      if (CanWrite(FNonblockSendTimeout)) {
        r = SockSend(FSocket, p + sent, n, 0);
        SockCheck(r);
      } else if (FLastError == 0) {
        FLastError = WSAETIMEDOUT;
      }
    }
    if (FLastError != 0 || r <= 0) break;
    sent += r;
    FSendCounter += r;
    DoStatus(THookSocketReason::HR_WriteCount, IntToStr(r));
  }
  ExceptCheck();
  return sent;
}

void TBlockSocket::SendByte(Byte Data) { SendBuffer(&Data, 1); }

void TBlockSocket::SendString(const std::string& Data) {
  SendBuffer(Data.data(), static_cast<Integer>(std::min<size_t>(Data.size(), 0x7FFFFFFF)));
}

void TBlockSocket::SendInteger(Integer Data) { SendString(IntToBytesLE(Data)); }

void TBlockSocket::SendBlock(const std::string& Data) {
  SendString(IntToBytesLE(static_cast<Integer>(Data.size())) + Data);
}

void TBlockSocket::InternalSendStream(TStream* Stream, bool WithSize, bool Indy) {
  if (Stream == nullptr) return;
  Int64 rest = Stream->Size() - Stream->Position();
  if (rest < 0) rest = 0;
  std::string prefix;
  if (WithSize) prefix = Indy ? IntToBytesBE(static_cast<Integer>(rest)) : IntToBytesLE(static_cast<Integer>(rest));
  std::string chunk;
  bool first = true;
  for (;;) {
    chunk.assign(static_cast<size_t>(FSendMaxChunk), '\0');
    Integer n = Stream->Read(chunk.data(), FSendMaxChunk);
    chunk.resize(static_cast<size_t>(std::max(n, 0)));
    if (first) {
      chunk.insert(0, prefix);
      first = false;
    }
    if (chunk.empty()) break;
    SendString(chunk);
    if (FLastError != 0 || n <= 0) break;
  }
}

void TBlockSocket::SendStreamRaw(TStream* Stream) { InternalSendStream(Stream, false, false); }
void TBlockSocket::SendStream(TStream* Stream) { InternalSendStream(Stream, true, false); }
void TBlockSocket::SendStreamIndy(TStream* Stream) { InternalSendStream(Stream, true, true); }

Integer TBlockSocket::RecvBuffer(void* Buffer, Integer Length) {
  if (TestStopFlag()) return 0;
  if (Length <= 0 || Buffer == nullptr) return 0;
  LimitBandwidth(Length, FMaxRecvBandwidth, FNextRecv);
  Integer r = SockRecv(FSocket, Buffer, Length, 0);
  if (r == 0) {
    ResetLastError();
    FLastError = WSAECONNRESET;  // closed by the peer
  } else {
    SockCheck(r);
  }
  ExceptCheck();
  if (r > 0) {
    FRecvCounter += r;
    DoStatus(THookSocketReason::HR_ReadCount, IntToStr(r));
    DoMonitor(false, Buffer, r);
    DoReadFilter(static_cast<char*>(Buffer), r);
  }
  return r;
}

Integer TBlockSocket::WaitingData() {
  winsock::u_long x = 0;
  if (Lib().ioctlsocket(FSocket, FIONREAD, &x) != 0) return 0;
  return static_cast<Integer>(std::min<winsock::u_long>(x, 65536));
}

Integer TBlockSocket::WaitingDataEx() {
  if (!FBuffer.empty()) return static_cast<Integer>(FBuffer.size());
  return WaitingData();
}

std::string TBlockSocket::RecvPacket(Integer Timeout) {
  std::string result;
  ResetLastError();
  if (!FBuffer.empty()) {
    result.swap(FBuffer);
  } else {
    Sleep(0);
    Integer x = WaitingData();
    if (x > 0) {
      result.resize(static_cast<size_t>(x));
      x = RecvBuffer(result.data(), x);
      result.resize(static_cast<size_t>(std::max(x, 0)));
    } else {
      const Cardinal started = TickMs();
      Integer left = Timeout;
      for (;;) {
        if (!CanRead(left)) {
          if (FLastError == 0) FLastError = WSAETIMEDOUT;
          break;
        }
        x = WaitingData();
        if (x > 0) {
          result.resize(static_cast<size_t>(x));
          x = RecvBuffer(result.data(), x);
          result.resize(static_cast<size_t>(std::max(x, 0)));
          break;
        }
        if (GetSocketType() != SOCK_DGRAM) {
          FLastError = WSAECONNRESET;  // readable with nothing waiting: closed
          break;
        }
        // An empty datagram heads the queue: take it off, or it would stand
        // before every later one, and wait on for the rest of the time.
        char none = 0;
        RecvBuffer(&none, 1);
        if (FLastError != 0) break;
        if (Timeout >= 0) {
          left = Timeout - static_cast<Integer>(std::min<Cardinal>(TickSpan(started, TickMs()), 0x7FFFFFFF));
          if (left <= 0) {
            FLastError = WSAETIMEDOUT;
            break;
          }
        }
      }
    }
  }
  if (FConvertLineEnd && !result.empty()) {
    if (FLastCR && result[0] == '\n') result.erase(0, 1);
    else if (FLastLF && result[0] == '\r') result.erase(0, 1);
    FLastCR = false;
    FLastLF = false;
  }
  ExceptCheck();
  return result;
}

Byte TBlockSocket::RecvByte(Integer Timeout) {
  Byte result = 0;
  ResetLastError();
  if (FBuffer.empty()) FBuffer = RecvPacket(Timeout);
  if (FLastError == 0 && !FBuffer.empty()) {
    result = static_cast<Byte>(FBuffer[0]);
    FBuffer.erase(0, 1);
  }
  ExceptCheck();
  return result;
}

std::string TBlockSocket::CollectBytes(Integer Length, Integer Timeout) {
  std::string collected;
  ResetLastError();
  if (Length <= 0) return collected;
  Integer timeout = Timeout;
  auto size = static_cast<size_t>(Length);
  try {
    while (collected.size() < size) {
      Cardinal t = TickMs();
      std::string s = RecvPacket(timeout);
      if (FLastError != 0) break;
      collected += s;
      if (collected.size() >= size) break;
      if (!FInterPacketTimeout) {
        timeout -= static_cast<Integer>(TickSpan(t, TickMs()));
        if (timeout <= 0) {
          FLastError = WSAETIMEDOUT;
          break;
        }
      }
    }
  } catch (...) {
    FBuffer.insert(0, collected);  // a raised error loses no data
    throw;
  }
  if (collected.size() > size) {
    FBuffer.insert(0, collected.substr(size));
    collected.resize(size);
  }
  return collected;
}

Integer TBlockSocket::RecvBufferEx(void* Buffer, Integer Length, Integer Timeout) {
  if (Buffer == nullptr) return 0;
  std::string s = CollectBytes(Length, Timeout);
  std::memcpy(Buffer, s.data(), s.size());
  ExceptCheck();
  return static_cast<Integer>(s.size());
}

std::string TBlockSocket::RecvBufferStr(Integer Length, Integer Timeout) {
  std::string s = CollectBytes(Length, Timeout);
  if (FLastError != 0) {
    FBuffer.insert(0, s);  // kept for the next receive
    s.clear();
  }
  ExceptCheck();
  return s;
}

Integer TBlockSocket::RecvInteger(Integer Timeout) {
  std::string s = RecvBufferStr(4, Timeout);
  if (FLastError != 0 || s.size() != 4) return 0;
  Cardinal v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<Byte>(s[static_cast<size_t>(i)]);
  return static_cast<Integer>(v);
}

std::string TBlockSocket::RecvBlock(Integer Timeout) {
  Integer n = RecvInteger(Timeout);
  if (FLastError != 0 || n <= 0) return {};
  return RecvBufferStr(n, Timeout);
}

std::string TBlockSocket::RecvTerminated(Integer Timeout, const std::string& Terminator) {
  std::string result;
  ResetLastError();
  if (Terminator.empty()) return result;
  bool convert = FConvertLineEnd && Terminator == "\r\n";
  std::string collected;
  size_t pos = std::string::npos, termLen = 0;
  Integer timeout = Timeout;
  try {
    for (;;) {
      Cardinal t = TickMs();
      collected += RecvPacket(timeout);
      if (FLastError != 0) break;
      if (!collected.empty()) {
        if (convert) {
          std::string lb;
          Integer at = FindLineBreak(collected, lb);  // 1-based, -1 for none
          pos = at > 0 ? static_cast<size_t>(at - 1) : std::string::npos;
          if (pos != std::string::npos) {
            termLen = lb.size();
            FLastCR = lb == "\r";
            FLastLF = lb == "\n";
          }
        } else {
          pos = collected.find(Terminator);
          termLen = Terminator.size();
        }
      }
      size_t lineLen = pos != std::string::npos ? pos : collected.size();
      const size_t cap = FMaxLineLength > 0 ? static_cast<size_t>(FMaxLineLength) : kUnlimitedLineCap;
      if (lineLen > cap) {
        pos = std::string::npos;
        FLastError = WSAENOBUFS;
        break;
      }
      if (pos != std::string::npos) break;
      if (!FInterPacketTimeout) {
        timeout -= static_cast<Integer>(TickSpan(t, TickMs()));
        if (timeout <= 0) {
          FLastError = WSAETIMEDOUT;
          break;
        }
      }
    }
  } catch (...) {
    FBuffer.insert(0, collected);
    throw;
  }
  if (pos != std::string::npos) {
    result = collected.substr(0, pos);
    FBuffer = collected.substr(pos + termLen);
  } else {
    FBuffer = collected;
  }
  ExceptCheck();
  return result;
}

std::string TBlockSocket::RecvString(Integer Timeout) {
  std::string s = RecvTerminated(Timeout, "\r\n");
  if (FLastError != 0) s.clear();
  return s;
}

void TBlockSocket::RecvStreamRaw(TStream* Stream, Integer Timeout) {
  if (Stream == nullptr) return;
  for (;;) {
    std::string s = RecvPacket(Timeout);
    if (FLastError != 0) break;
    Stream->Write(s.data(), static_cast<Integer>(s.size()));
  }
}

void TBlockSocket::RecvStreamSize(TStream* Stream, Integer Timeout, Int64 Size) {
  if (Stream == nullptr) return;
  Int64 rest = Size;
  while (rest > 0) {
    Integer n = static_cast<Integer>(std::min<Int64>(rest, FSendMaxChunk));
    std::string s = RecvBufferStr(n, Timeout);
    if (FLastError != 0) break;
    Stream->Write(s.data(), static_cast<Integer>(s.size()));
    rest -= n;
  }
}

void TBlockSocket::RecvStream(TStream* Stream, Integer Timeout) {
  Integer n = RecvInteger(Timeout);
  if (FLastError == 0) RecvStreamSize(Stream, Timeout, n);
}

void TBlockSocket::RecvStreamIndy(TStream* Stream, Integer Timeout) {
  Cardinal n = static_cast<Cardinal>(RecvInteger(Timeout));
  n = (n >> 24) | ((n >> 8) & 0xFF00) | ((n << 8) & 0xFF0000) | (n << 24);
  if (FLastError == 0) RecvStreamSize(Stream, Timeout, static_cast<Integer>(n));
}

Integer TBlockSocket::PeekBuffer(void* Buffer, Integer Length) {
  if (Buffer == nullptr || Length <= 0) return 0;
  Integer r = SockRecv(FSocket, Buffer, Length, MSG_PEEK);
  SockCheck(r);
  ExceptCheck();
  return r;
}

Byte TBlockSocket::PeekByte(Integer Timeout) {
  Byte result = 0;
  ResetLastError();
  if (CanRead(Timeout)) {
    Integer r = SockRecv(FSocket, &result, 1, MSG_PEEK);
    if (r == 0) FLastError = WSAECONNRESET;
    else SockCheck(r);
    if (r != 1) result = 0;
  } else if (FLastError == 0) {
    FLastError = WSAETIMEDOUT;
  }
  ExceptCheck();
  return result;
}

void TBlockSocket::Purge() {
  Sleep(1);
  for (int i = 0; i < kPurgeLimit && (!FBuffer.empty() || WaitingData() > 0); ++i) {
    RecvPacket(0);
    if (FLastError != 0) break;
  }
  ResetLastError();
}

// ---- waits

Integer TBlockSocket::InternalCanRead(Integer Timeout) {
  winsock::fd_set set;
  FDClear(set);
  FDAdd(FSocket, set);
  winsock::timeval tv{Timeout / 1000, (Timeout % 1000) * 1000};
  return Lib().select(0, &set, nullptr, nullptr, Timeout < 0 ? nullptr : &tv);
}

bool TBlockSocket::CanRead(Integer Timeout) {
  Integer x;
  if (FHeartbeatRate <= 0 || Timeout == -1) {
    x = InternalCanRead(Timeout);
  } else {
    x = InternalCanRead(Timeout % FHeartbeatRate);
    for (Integer n = Timeout / FHeartbeatRate + 1; x == 0 && n > 0; --n) {
      DoHeartbeat();
      if (FStopFlag.exchange(false)) break;
      x = InternalCanRead(FHeartbeatRate);
    }
  }
  SockCheck(x);
  bool result = FLastError == 0 && x > 0;
  ExceptCheck();
  if (result) DoStatus(THookSocketReason::HR_CanRead, {});
  return result;
}

bool TBlockSocket::CanReadEx(Integer Timeout) {
  if (!FBuffer.empty()) return true;
  return CanRead(Timeout);
}

bool TBlockSocket::CanWrite(Integer Timeout) {
  winsock::fd_set set;
  FDClear(set);
  FDAdd(FSocket, set);
  winsock::timeval tv{Timeout / 1000, (Timeout % 1000) * 1000};
  Integer x = Lib().select(0, nullptr, &set, nullptr, Timeout < 0 ? nullptr : &tv);
  SockCheck(x);
  bool result = FLastError == 0 && x > 0;
  ExceptCheck();
  if (result) DoStatus(THookSocketReason::HR_CanWrite, {});
  return result;
}

bool TBlockSocket::GroupCanRead(const std::vector<TBlockSocket*>& SocketList, Integer Timeout,
                                std::vector<TBlockSocket*>& CanReadList) {
  CanReadList.clear();
  winsock::fd_set set;
  FDClear(set);
  for (TBlockSocket* s : SocketList)
    if (s != nullptr && s->Socket() != INVALID_SOCKET) FDAdd(s->Socket(), set);
  if (set.fd_count == 0) return false;
  winsock::timeval tv{Timeout / 1000, (Timeout % 1000) * 1000};
  Integer x = Lib().select(0, &set, nullptr, nullptr, Timeout < 0 ? nullptr : &tv);
  if (x <= 0) return false;
  for (TBlockSocket* s : SocketList)
    if (s != nullptr && s->Socket() != INVALID_SOCKET && FDIsSet(s->Socket(), set)) CanReadList.push_back(s);
  return !CanReadList.empty();
}

// ---- datagrams

Integer TBlockSocket::SendBufferTo(const void* Buffer, Integer Length) {
  if (TestStopFlag()) return 0;
  if (Buffer == nullptr && Length > 0) return 0;
  DoMonitor(true, Buffer, Length);
  LimitBandwidth(Length, FMaxSendBandwidth, FNextSend);
  Integer r = SockSendTo(FSocket, Buffer, std::max(Length, 0), 0, FRemoteSin);
  SockCheck(r);
  ExceptCheck();
  if (r > 0) {
    FSendCounter += r;
    DoStatus(THookSocketReason::HR_WriteCount, IntToStr(r));
  }
  return r;
}

Integer TBlockSocket::RecvBufferFrom(void* Buffer, Integer Length) {
  if (TestStopFlag()) return 0;
  if (Buffer == nullptr || Length <= 0) return 0;
  LimitBandwidth(Length, FMaxRecvBandwidth, FNextRecv);
  Integer r = SockRecvFrom(FSocket, Buffer, Length, 0, FRemoteSin);
  SockCheck(r);
  ExceptCheck();
  if (r > 0) {
    FRecvCounter += r;
    DoStatus(THookSocketReason::HR_ReadCount, IntToStr(r));
    DoMonitor(false, Buffer, r);
  }
  return r;
}
