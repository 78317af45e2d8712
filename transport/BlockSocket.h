#pragma once
// TBlockSocket: the base of the blocking sockets. A socket handle with a line
// buffer, receives with time-outs, options that may be set before the socket
// exists, address resolution, a status hook, and the error number and text of
// the last operation. Raises ESocketError only when RaiseExcept is set.
#include <atomic>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Object.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Types.h"
#include "transport/SocketLibrary.h"

enum TSocketFamily { SF_Any, SF_IP4, SF_IP6 };

enum class THookSocketReason {
  HR_ResolvingBegin,
  HR_ResolvingEnd,
  HR_SocketCreate,
  HR_SocketClose,
  HR_Bind,
  HR_Connect,
  HR_CanRead,
  HR_CanWrite,
  HR_Listen,
  HR_Accept,
  HR_ReadCount,
  HR_WriteCount,
  HR_Wait,
  HR_Error
};

using THookSocketStatus = std::function<void(TObject* Sender, THookSocketReason Reason, const String& Value)>;
using THookDataFilter = std::function<void(TObject* Sender, std::string& Value)>;
using THookCreateSocket = std::function<void(TObject* Sender)>;
using THookMonitor = std::function<void(TObject* Sender, bool Writing, const void* Buffer, Integer Len)>;
using THookHeartbeat = std::function<void(TObject* Sender)>;

enum TSocketOptionType {
  SOT_Linger,
  SOT_RecvBuff,
  SOT_SendBuff,
  SOT_NonBlock,
  SOT_RecvTimeout,
  SOT_SendTimeout,
  SOT_Reuse,
  SOT_TTL,
  SOT_Broadcast,
  SOT_MulticastTTL,
  SOT_MulticastLoop
};

struct TSocketOption {
  TSocketOptionType Option;
  bool Enabled = false;
  Integer Value = 0;
};

class TBlockSocket : public TObject {
 public:
  TBlockSocket();
  // Same as the plain constructor; the stub name is ignored.
  explicit TBlockSocket(const String& Stub);
  ~TBlockSocket() override;

  THookSocketStatus OnStatus;
  THookDataFilter OnReadFilter;
  THookCreateSocket OnCreateSocket;
  THookMonitor OnMonitor;
  THookHeartbeat OnHeartbeat;

  // With Family SF_IP4/SF_IP6 and no socket yet, creates it; SF_Any waits for
  // the first Bind or Connect.
  void CreateSocket();
  // Resolves the name with port "0" and creates a socket of its family.
  void CreateSocketByName(const String& Value);
  // Closes the socket (AbortSocket here).
  virtual void CloseSocket();
  // Closes the socket, drops pending options, restores Family; HR_SocketClose.
  virtual void AbortSocket();
  // Binds to a local address; "0.0.0.0":"0" on a fresh SF_Any socket does nothing.
  void Bind(const String& IP, const String& Port);
  // Connects (ConnectionTimeout > 0 limits the wait: WSAETIMEDOUT).
  virtual void Connect(const String& IP, const String& Port);
  virtual void Listen();
  // Accepts a connection; the new handle, INVALID_SOCKET on error.
  virtual winsock::SOCKET Accept();

  // Sends; the bytes sent (an error leaves LastError and may send fewer).
  virtual Integer SendBuffer(const void* Buffer, Integer Length);
  virtual void SendByte(Byte Data);
  virtual void SendString(const std::string& Data);
  // 4 bytes, least significant first.
  virtual void SendInteger(Integer Data);
  // A 4-byte length (least significant first) and the bytes, in one send.
  virtual void SendBlock(const std::string& Data);
  // The stream from its position, in chunks of SendMaxChunk; SendStream
  // prefixes the remaining size least significant first, SendStreamIndy most
  // significant first. A null stream sends nothing.
  virtual void SendStreamRaw(TStream* Stream);
  virtual void SendStream(TStream* Stream);
  virtual void SendStreamIndy(TStream* Stream);

  // One receive into Buffer; the byte count, or -1/0 with LastError set.
  virtual Integer RecvBuffer(void* Buffer, Integer Length);
  // Collects packets until Length bytes are stored; the rest stays buffered.
  // Answers the bytes stored (fewer with LastError set).
  virtual Integer RecvBufferEx(void* Buffer, Integer Length, Integer Timeout);
  // Length bytes as a string; empty when Length < 1 or on error (what came
  // stays in the line buffer).
  virtual std::string RecvBufferStr(Integer Length, Integer Timeout);
  // The next byte, or 0 with LastError set (WSAETIMEDOUT on time-out).
  virtual Byte RecvByte(Integer Timeout);
  // 4 bytes, least significant first; 0 on error.
  virtual Integer RecvInteger(Integer Timeout);
  // A line ended by CR LF; empty on error.
  virtual std::string RecvString(Integer Timeout);
  // Bytes up to the terminator (the rest stays buffered); empty with WSAETIMEDOUT on
  // time-out (what came stays buffered), WSAENOBUFS for a line above MaxLineLength.
  virtual std::string RecvTerminated(Integer Timeout, const std::string& Terminator);
  // The line buffer, else the data waiting, else what arrives within the
  // time; empty with WSAETIMEDOUT when nothing came, WSAECONNRESET when the peer closed.
  virtual std::string RecvPacket(Integer Timeout);
  // A block as SendBlock sends it; empty on error or a negative length.
  virtual std::string RecvBlock(Integer Timeout);
  // Writes packets to the stream until a receive fails.
  virtual void RecvStreamRaw(TStream* Stream, Integer Timeout);
  // Size bytes in chunks of SendMaxChunk; stops at the first error.
  void RecvStreamSize(TStream* Stream, Integer Timeout, Int64 Size);
  virtual void RecvStream(TStream* Stream, Integer Timeout);
  virtual void RecvStreamIndy(TStream* Stream, Integer Timeout);
  // Receives without removing the data.
  virtual Integer PeekBuffer(void* Buffer, Integer Length);
  // The next byte without removing it; 0 with WSAETIMEDOUT when nothing came.
  virtual Byte PeekByte(Integer Timeout);
  // Bytes waiting in the socket (at most 65536; 0 when the query fails).
  virtual Integer WaitingData();
  // The line buffer's length when not empty, else WaitingData.
  Integer WaitingDataEx();
  // Reads and drops everything buffered or waiting; clears the error.
  void Purge();

  // True when data can be read within Timeout ms (-1: no limit).
  virtual bool CanRead(Integer Timeout);
  // True at once with a non-empty line buffer, else CanRead.
  virtual bool CanReadEx(Integer Timeout);
  virtual bool CanWrite(Integer Timeout);
  // One wait over all sockets of the list (at most 64); CanReadList gets the
  // readable ones. False on time-out or error.
  static bool GroupCanRead(const std::vector<TBlockSocket*>& SocketList, Integer Timeout,
                           std::vector<TBlockSocket*>& CanReadList);

  // Options: applied at once with a socket, else queued for its creation.
  void SetLinger(bool Enable, Integer Linger);
  void EnableReuse(bool Value);
  void SetTTL(Integer TTL);
  Integer GetTTL();
  void SetNonBlockMode(bool Value);
  bool NonBlockMode() const { return FNonBlockMode; }
  void SetSizeRecvBuffer(Integer Size);
  void SetSizeSendBuffer(Integer Size);
  // The option read from the socket; 1024 when the query fails.
  Integer GetSizeRecvBuffer();
  Integer GetSizeSendBuffer();
  void SetSendTimeout(Integer Timeout);
  void SetRecvTimeout(Integer Timeout);
  // SetSendTimeout and SetRecvTimeout with the same value.
  void SetTimeout(Integer Timeout);

  // The host name, "127.0.0.1" when the library tells none.
  String LocalName();
  void ResolveNameToIP(const String& Name, std::vector<String>& IPList);
  // The first address of a name ("0.0.0.0" when none).
  String ResolveName(const String& Name);
  Word ResolvePort(const String& Port);
  String ResolveIPToName(const String& IP);
  // Resolves into RemoteSin.
  void SetRemoteSin(const String& IP, const String& Port);
  virtual String GetLocalSinIP();
  virtual String GetRemoteSinIP();
  virtual Integer GetLocalSinPort();
  virtual Integer GetRemoteSinPort();
  void GetSinLocal();
  void GetSinRemote();
  void GetSins();

  // Datagram send to RemoteSin; receive recording the sender in RemoteSin.
  virtual Integer SendBufferTo(const void* Buffer, Integer Length);
  virtual Integer RecvBufferFrom(void* Buffer, Integer Length);

  void ResetLastError();
  // -1: takes the library's error and its text; else clears the error.
  virtual Integer SockCheck(Integer SockResult);
  // Refreshes LastErrorDesc; reports HR_Error and raises (RaiseExcept) for
  // any error but 0, WSAEWOULDBLOCK and WSAEINPROGRESS.
  void ExceptCheck();
  // The text of an error number; "" for 0, "Other Winsock error (N)" for an
  // unlisted one.
  static String GetErrorDesc(Integer ErrorCode);
  virtual String GetErrorDescEx();
  virtual Integer GetSocketType() { return 0; }
  virtual Integer GetSocketProtocol() { return 0; }

  // Properties.
  winsock::SOCKET Socket() const { return FSocket; }
  // Adopts a handle: counters 0, both addresses read, IP6used from the peer.
  void SetSocket(winsock::SOCKET Value);
  Integer LastError() const { return FLastError; }
  const String& LastErrorDesc() const { return FLastErrorDesc; }
  const std::string& LineBuffer() const { return FBuffer; }
  void SetLineBuffer(std::string Value) { FBuffer = std::move(Value); }
  bool RaiseExcept() const { return FRaiseExcept; }
  void SetRaiseExcept(bool Value) { FRaiseExcept = Value; }
  Integer MaxLineLength() const { return FMaxLineLength; }
  void SetMaxLineLength(Integer Value) { FMaxLineLength = Value; }
  Integer MaxSendBandwidth() const { return FMaxSendBandwidth; }
  void SetMaxSendBandwidth(Integer Value) { FMaxSendBandwidth = Value; }
  Integer MaxRecvBandwidth() const { return FMaxRecvBandwidth; }
  void SetMaxRecvBandwidth(Integer Value) { FMaxRecvBandwidth = Value; }
  void SetMaxBandwidth(Integer Value) { FMaxSendBandwidth = FMaxRecvBandwidth = Value; }
  bool ConvertLineEnd() const { return FConvertLineEnd; }
  void SetConvertLineEnd(bool Value) { FConvertLineEnd = Value; }
  TSocketFamily Family() const { return FFamily; }
  virtual void SetFamily(TSocketFamily Value);
  bool IP6used() const { return FIP6used; }
  bool PreferIP4() const { return FPreferIP4; }
  void SetPreferIP4(bool Value) { FPreferIP4 = Value; }
  bool InterPacketTimeout() const { return FInterPacketTimeout; }
  void SetInterPacketTimeout(bool Value) { FInterPacketTimeout = Value; }
  Integer RecvCounter() const { return FRecvCounter; }
  Integer SendCounter() const { return FSendCounter; }
  Integer SendMaxChunk() const { return FSendMaxChunk; }
  void SetSendMaxChunk(Integer Value) { FSendMaxChunk = Value > 0 ? Value : 1; }
  // May be set from another thread to end the current wait or next transfer.
  bool StopFlag() const { return FStopFlag.load(); }
  void SetStopFlag(bool Value) { FStopFlag.store(Value); }
  Integer NonblockSendTimeout() const { return FNonblockSendTimeout; }
  void SetNonblockSendTimeout(Integer Value) { FNonblockSendTimeout = Value; }
  Integer HeartbeatRate() const { return FHeartbeatRate; }
  void SetHeartbeatRate(Integer Value) { FHeartbeatRate = Value; }
  Integer ConnectionTimeout() const { return FConnectionTimeout; }
  void SetConnectionTimeout(Integer Value) { FConnectionTimeout = Value; }
  Integer Tag() const { return FTag; }
  void SetTag(Integer Value) { FTag = Value; }
  TObject* Owner() const { return FOwner; }
  void SetOwner(TObject* Value) { FOwner = Value; }
  const TVarSin& LocalSin() const { return FLocalSin; }
  const TVarSin& RemoteSin() const { return FRemoteSin; }
  TVarSin& RemoteSinRef() { return FRemoteSin; }
  const winsock::WSAData& WSAData() const { return SocketWSAData(); }
  const winsock::fd_set& FDset() const { return FFDSet; }
  bool Binded() const { return FBinded; }

  // Line length beyond which RecvTerminated gives up with WSAENOBUFS when
  // MaxLineLength is 0, so a peer that never sends the terminator cannot grow
  // memory without bound.
  static constexpr std::size_t kUnlimitedLineCap = 1 << 20;

 protected:
  void DoStatus(THookSocketReason Reason, const String& Value);
  void DoReadFilter(char* Buffer, Integer& Length);
  void DoMonitor(bool Writing, const void* Buffer, Integer Length);
  void DoCreateSocket();
  void DoHeartbeat();
  // Resolves IP and Port into Sin; the result is LastError.
  void SetSin(TVarSin& Sin, const String& IP, const String& Port);
  String GetSinIP(const TVarSin& Sin);
  Integer GetSinPort(const TVarSin& Sin);
  // Creates the OS socket for the record's family when there is none.
  void InternalCreateSocket(const TVarSin& Sin);
  void DelayedOption(const TSocketOption& Value);
  void ProcessDelayedOption();
  void SetDelayedOption(const TSocketOption& Value);
  // The transfer guard: True (and WSAECONNABORTED) when StopFlag was set.
  bool TestStopFlag();
  void LimitBandwidth(Integer Length, Integer MaxB, Cardinal& Next);
  // One wait for the socket; the select result.
  Integer InternalCanRead(Integer Timeout);
  // Sends the stream with an optional 4-byte size prefix.
  void InternalSendStream(TStream* Stream, bool WithSize, bool Indy);
  // Collects Length bytes (line buffer first) without sizing ahead.
  std::string CollectBytes(Integer Length, Integer Timeout);
  int FamilyCode() const;

  TVarSin FLocalSin{};
  TVarSin FRemoteSin{};
  Integer FTag = 0;
  std::string FBuffer;
  bool FRaiseExcept = false;
  bool FNonBlockMode = false;
  Integer FMaxLineLength = 0;
  Integer FMaxSendBandwidth = 0;
  Cardinal FNextSend = 0;
  Integer FMaxRecvBandwidth = 0;
  Cardinal FNextRecv = 0;
  bool FConvertLineEnd = false;
  bool FLastCR = false;
  bool FLastLF = false;
  bool FBinded = false;
  TSocketFamily FFamily = SF_Any;
  TSocketFamily FFamilySave = SF_Any;
  bool FIP6used = false;
  bool FPreferIP4 = true;
  std::deque<TSocketOption> FDelayedOptions;
  bool FInterPacketTimeout = true;
  winsock::fd_set FFDSet{};
  Integer FRecvCounter = 0;
  Integer FSendCounter = 0;
  Integer FSendMaxChunk = 65536;
  std::atomic<bool> FStopFlag{false};
  Integer FNonblockSendTimeout = 15000;
  Integer FHeartbeatRate = 0;
  Integer FConnectionTimeout = 0;
  winsock::SOCKET FSocket = winsock::INVALID_SOCKET;
  Integer FLastError = 0;
  String FLastErrorDesc;
  TObject* FOwner = nullptr;
};
