#pragma once
// The bootloader protocol, independent of the byte transport: ready wait,
// self-description, page loop and end byte. A road (serial line, UDP through
// a WiFi module) implements TBootloadLink over its transport; the upload thread
// implements TBootloadHost (pauses, posted messages, the user's answer).
#include <atomic>
#include <string>

#include "platform/rtl/Types.h"
#include "platform/win/Messages.h"

// ---- protocol bytes ----
constexpr char BL_READY = '?';
constexpr char BL_CMD_PREFIX = 'u';
constexpr char BL_CMD_WRITE = 'w';
constexpr char BL_REQ_PAGE = '@';
constexpr char BL_PAGE_MARK = 0x01;
constexpr char BL_CMD_END = 0x00;
constexpr char BL_FILL_BYTE = static_cast<char>(0xFF);

// ---- status codes of OnStatus and OnActionEnd ----
constexpr Integer QVBL_ERR_NO_RESPONSE = -100;
constexpr Integer QVBL_ERR_BAD_PAGESIZE = -101;
constexpr Integer QVBL_ERR_BAD_TARGET = -112;
constexpr Integer QVBL_ERR_FAILED = -200;
constexpr Integer QVBL_ERR_SCAN = -201;
constexpr Integer QVBL_ERR_UDP = -202;
constexpr Integer QVBL_ERR_WIFI_OFF = -215;
constexpr Integer QVBL_ERR_BUSY = -250;

// ---- messages the workers post to the component's hidden window. wParam is a
// heap String* (the receiver frees it) or 0; lParam an integer ----
constexpr UINT WM_QVBL_PROGRESS = WM_USER + 101;
constexpr UINT WM_QVBL_BLSINFO = WM_USER + 102;
constexpr UINT WM_QVBL_STATUS = WM_USER + 103;
constexpr UINT WM_QVBL_UPLOAD_OK = WM_USER + 104;
constexpr UINT WM_QVBL_UPLOAD_START = WM_USER + 105;
constexpr UINT WM_QVBL_CLOSE_OWNER = WM_USER + 106;
constexpr UINT WM_QVBL_WIFI_LIST = WM_USER + 107;
constexpr UINT WM_QVBL_WIFI_CONNECT = WM_USER + 108;
constexpr UINT WM_QVBL_ACTION_STATUS = WM_USER + 109;
constexpr UINT WM_QVBL_ACTION = WM_USER + 110;
constexpr UINT WM_QVBL_IS_ESP = WM_USER + 111;

// The client's operations.
enum class TMBaction { _none = 0, _check_bls = 1, _upload = 2, _wifi_list = 3 };

// The bootloader's self-description.
struct TBLSINFO {
  Integer PageSize = 0;
  String Microcontroller;
  String F_CPU;
  String BLSAddress;
  String BLSVer;
};

// Largest page size taken from a description; a bigger one is a broken or
// hostile target (real pages are at most a few hundred bytes), and padding to
// it would allocate without bound.
constexpr Integer kMaxBootloaderPageSize = 65536;
// Longest self-description read; real ones are a few dozen bytes.
constexpr Integer kMaxDescriptionLength = 1024;

// The header characters: the info command, the start and end of the reply's
// fields and, with an owner header, a fixed page size, address and a marker
// the reply must contain.
struct TBootloadHeader {
  String hinfo = u"i";
  String hstart = u"&";
  String hstop = u"*";
  String hpage;
  String hadr;
  String hhidden;
  bool bOwnHeader = false;
};
// Defaults, replaced by the six comma-separated fields of OwnerHeader when it is not empty.
TBootloadHeader SplitOwnerHeader(const String& OwnerHeader);

// A decimal number as the bootloader's texts carry it (page size, baud rate):
// blanks around it, an optional sign, digits, within 32 bits; Default for
// anything else ("0x40", "$40", "64k", "").
Integer DecimalToIntDef(const String& Text, Integer Default);

// What the protocol needs of the thread that runs it.
class TBootloadHost {
 public:
  virtual ~TBootloadHost() = default;
  // Pauses the run; returns early when the run is asked to stop.
  virtual void Delay(Cardinal Ms) = 0;
  // Posts a message to the component's window (text as a heap copy, or none).
  virtual void Post(UINT Msg, const String* Text, LPARAM LParam) = 0;
  // -1 while the user-interface thread has not answered the description, then 0 go on, 1 stop.
  virtual Integer StopBadTarget() = 0;
  virtual void SetStopBadTarget(Integer Value) = 0;
  // True when the run must end at once (its component is being destroyed).
  virtual bool StopRequested() = 0;
};

// A road's byte transport and the steps in which roads differ.
class TBootloadLink {
 public:
  virtual ~TBootloadLink() = default;
  // Transport calls with the serial port's meaning; every call leaves
  // LastError (0 for none) and LastErrorDesc.
  virtual bool CanRead(Integer TimeoutMs) = 0;
  virtual Byte RecvByte(Integer TimeoutMs) = 0;
  virtual std::string RecvPacket(Integer TimeoutMs) = 0;
  virtual void SendString(const std::string& Data) = 0;
  virtual Integer LastError() const = 0;
  virtual String LastErrorDesc() const = 0;
  // True when LastError is the transport's time-out number (a quiet line, not a broken one).
  virtual bool LastErrorIsTimeout() const = 0;

  // The peer as failure texts name it: "COM3", "192.168.4.1:8899".
  virtual String PeerName() const = 0;
  // How long the line waits for a reply (ms): it also bounds the wait for the
  // user-interface thread's answer to the self-description.
  virtual Integer AnswerTimeout() const = 0;
  // The ready wait's attempt counter start and first idle limit.
  virtual Integer ReadyCounter() const = 0;
  virtual Integer ReadyIdleLimit() const = 0;
  // Sends 'u' and the info command and answers the raw reply up to the end
  // character (excluded); empty on any transport error or when nothing came.
  virtual std::string ExchangeDescription(TBootloadHost& Host, char InfoCommand, const std::string& Stop) = 0;
  // After 'w' was sent.
  virtual void AfterWriteCommand(TBootloadHost& Host) = 0;
  // After the end byte was sent.
  virtual void AfterEndByte(TBootloadHost& Host) = 0;
  // The text of a transport failure during the page loop.
  virtual String LineErrorText() const = 0;
};

// One check or upload over an open, reset link. Reports every outcome through
// the host; transport failures never throw, other exceptions (a bad image, no
// memory) leave Run for the road to report with its own prefix.
class TBootloadEngine {
 public:
  TBootloadEngine(TBootloadLink& Link, TBootloadHost& Host, TBootloadHeader Header);

  // Ready wait, description, then for an upload the answer wait, the pages
  // and the end byte. Posts exactly one WM_QVBL_ACTION_STATUS (none when the
  // run was asked to stop).
  void Run(bool CheckOnly, std::string Image);

  // The steps, public for the roads and for tests.
  bool WaitReady();
  // The description as R (parentheses kept; empty when unusable) and Info.
  std::string ReadDescription(TBLSINFO& Info);
  // Steps 4 to 7 of the description read on a raw reply.
  static std::string ParseDescription(const std::string& RawReply, const TBootloadHeader& Header, TBLSINFO& Info);
  // "mm m ss s zzz ms" of a span, whole hours dropped.
  static String ElapsedTimeText(UInt64 Ms);
  // Posts the status and an action status of -1.
  void Fail(const String& Text, Integer Code);

 private:
  bool WaitAnswer();
  void SendPages(std::string Image, Integer PageSize);

  TBootloadLink& FLink;
  TBootloadHost& FHost;
  TBootloadHeader FHeader;
};
