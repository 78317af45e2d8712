#include "programmer/BootloadProtocol.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "platform/rtl/StrUtils.h"
#include "platform/win/Clock.h"
#include "transport/TransportUtils.h"

TBootloadHeader SplitOwnerHeader(const String& OwnerHeader) {
  TBootloadHeader h;
  if (OwnerHeader.empty()) return h;
  String rest = OwnerHeader;
  h.hinfo = Fetch(rest, u",");
  h.hstart = Fetch(rest, u",");
  h.hstop = Fetch(rest, u",");
  h.hpage = Fetch(rest, u",");
  h.hadr = Fetch(rest, u",");
  h.hhidden = Fetch(rest, u",");
  h.bOwnHeader = true;
  return h;
}

Integer DecimalToIntDef(const String& Text, Integer Default) {
  const String t = Trim(Text);
  std::size_t i = 0;
  const bool negative = !t.empty() && t[0] == u'-';
  if (!t.empty() && (t[0] == u'-' || t[0] == u'+')) ++i;
  if (i >= t.size()) return Default;
  Int64 value = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < u'0' || t[i] > u'9') return Default;
    value = value * 10 + (t[i] - u'0');
    if (value > Int64{1} << 31) return Default;
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return Default;
  return static_cast<Integer>(value);
}

TBootloadEngine::TBootloadEngine(TBootloadLink& Link, TBootloadHost& Host, TBootloadHeader Header)
    : FLink(Link), FHost(Host), FHeader(std::move(Header)) {}

void TBootloadEngine::Fail(const String& Text, Integer Code) {
  FHost.Post(WM_QVBL_STATUS, &Text, Code);
  FHost.Post(WM_QVBL_ACTION_STATUS, nullptr, -1);
}

bool TBootloadEngine::WaitReady() {
  Integer counter = FLink.ReadyCounter();
  Integer idleLimit = FLink.ReadyIdleLimit();
  Integer idle = 0;
  for (;;) {
    if (FHost.StopRequested()) return false;
    if (FLink.CanRead(100)) {
      const Byte b = FLink.RecvByte(100);
      if (FLink.LastError() == 0 && b == static_cast<Byte>(BL_READY)) return true;
      if (b != 0) idle = 0;
    } else {
      // A silent line gets a longer patience than one that keeps talking.
      idleLimit = 35;
    }
    if (++idle > idleLimit) return false;
    if (--counter < -1) return false;
  }
}

std::string TBootloadEngine::ParseDescription(const std::string& RawReply, const TBootloadHeader& Header,
                                              TBLSINFO& Info) {
  String reply = Trim(AnsiToString(RawReply));
  if (reply.empty()) return {};
  // A reply without the owner's marker comes from some other target: unusable.
  if (Header.bOwnHeader && !Header.hhidden.empty() && reply.find(Header.hhidden) == String::npos) return {};
  const String r = reply;
  String work;
  for (Char c : reply) {
    if (c != u'(' && c != u')') work += c;
  }
  Fetch(work, Header.hstart);
  const String page = Fetch(work, u",");
  String address = Fetch(work, u",");
  const String mcu = Fetch(work, u",");
  const String fcpu = Fetch(work, u",");
  const String version = Fetch(work, u",");
  Integer pageSize = DecimalToIntDef(page, -1);
  if (Header.bOwnHeader) {
    pageSize = DecimalToIntDef(Header.hpage, -1);
    address = Header.hadr;
  }
  Info.PageSize = pageSize;
  if (pageSize < 0) return {};
  Info.BLSAddress = address;
  Info.Microcontroller = mcu;
  Info.F_CPU = fcpu;
  Info.BLSVer = version;
  return StringToAnsi(r);
}

std::string TBootloadEngine::ReadDescription(TBLSINFO& Info) {
  const char info = FHeader.hinfo.empty() ? 'i' : static_cast<char>(FHeader.hinfo[0]);
  const std::string raw = FLink.ExchangeDescription(FHost, info, StringToAnsi(FHeader.hstop));
  return ParseDescription(raw, FHeader, Info);
}

String TBootloadEngine::ElapsedTimeText(UInt64 Ms) {
  char text[40];
  std::snprintf(text, sizeof text, "%02u m %02u s %03u ms", static_cast<unsigned>((Ms / 60000) % 60),
                static_cast<unsigned>((Ms / 1000) % 60), static_cast<unsigned>(Ms % 1000));
  return Utf8ToString(text);
}

bool TBootloadEngine::WaitAnswer() {
  // The user-interface thread answers the description through StopBadTarget.
  // Its handler may take a while (the main window lays itself out there), so
  // the wait lasts as long as the line waits for a reply; silence for that
  // long counts as a refusal.
  const UInt64 deadline = GetTickCount64() + static_cast<UInt64>(std::max<Integer>(FLink.AnswerTimeout(), 1));
  for (;;) {
    FHost.Delay(1);
    if (FHost.StopRequested()) return false;
    const Integer seen = FHost.StopBadTarget();
    if (seen >= 0) return seen != 1;
    if (GetTickCount64() >= deadline) return false;
  }
}

void TBootloadEngine::SendPages(std::string Image, Integer PageSize) {
  const std::size_t page = static_cast<std::size_t>(PageSize);
  if (Image.size() % page != 0) Image.append(page - Image.size() % page, BL_FILL_BYTE);
  const std::size_t padded = Image.size();
  FHost.Post(WM_QVBL_UPLOAD_START, nullptr, static_cast<LPARAM>(padded));
  const UInt64 started = GetTickCount64();

  FLink.RecvPacket(1000);  // the ready prompts still on their way
  FLink.SendString(std::string(1, BL_CMD_WRITE));
  FLink.AfterWriteCommand(FHost);

  Integer failedReads = 0;  // one budget for the whole run, not per page
  std::string frame;
  frame.reserve(page + 1);
  for (std::size_t sent = 0; sent < padded; sent += page) {
    for (;;) {
      if (FHost.StopRequested()) return;
      const Byte b = FLink.RecvByte(200);
      if (FLink.LastError() == 0 && b == static_cast<Byte>(BL_REQ_PAGE)) break;
      // A broken line will not bring the request; waiting out the budget would only hide why.
      if (FLink.LastError() != 0 && !FLink.LastErrorIsTimeout()) {
        Fail(FLink.LineErrorText(), FLink.LastError());
        return;
      }
      if (++failedReads > 50) {
        Fail(u"Timeout", QVBL_ERR_FAILED);
        return;
      }
    }
    frame.assign(1, BL_PAGE_MARK);
    frame.append(Image, sent, page);
    FLink.SendString(frame);
    // A page that did not go out leaves the flash incomplete: never report success after it.
    if (FLink.LastError() != 0) {
      Fail(FLink.LineErrorText(), FLink.LastError());
      return;
    }
    const std::size_t done = sent + page;
    const Integer progress = static_cast<Integer>(done * 100 / padded);
    const String elapsed = ElapsedTimeText(GetTickCount64() - started);
    FHost.Post(WM_QVBL_PROGRESS, &elapsed, progress);
  }

  FLink.SendString(std::string(1, BL_CMD_END));
  if (FLink.LastError() != 0) {
    Fail(FLink.LineErrorText(), FLink.LastError());
    return;
  }
  FLink.AfterEndByte(FHost);
  FHost.Post(WM_QVBL_UPLOAD_OK, nullptr, 0);
  FHost.Post(WM_QVBL_ACTION_STATUS, nullptr, 0);
}

void TBootloadEngine::Run(bool CheckOnly, std::string Image) {
  if (!WaitReady()) {
    if (FHost.StopRequested()) return;
    const String text = FLink.PeerName() + u" - no response from BLS";
    FHost.Post(WM_QVBL_STATUS, &text, QVBL_ERR_NO_RESPONSE);
    // The failure belongs to the operation that was asked for: an upload that
    // found no bootloader is a failed upload, not a failed check.
    const TMBaction action = CheckOnly ? TMBaction::_check_bls : TMBaction::_upload;
    FHost.Post(WM_QVBL_ACTION, nullptr, static_cast<LPARAM>(action));
    FHost.Post(WM_QVBL_ACTION_STATUS, nullptr, -1);
    return;
  }
  TBLSINFO info;
  const std::string reply = ReadDescription(info);
  if (FHost.StopRequested()) return;
  const String r = AnsiToString(reply);
  if (info.PageSize <= 0 || info.PageSize > kMaxBootloaderPageSize) {
    Fail(u"ERROR - Bad PageSize from BLS [" + r + u"]", QVBL_ERR_BAD_PAGESIZE);
    return;
  }
  FHost.Post(WM_QVBL_BLSINFO, &r, CheckOnly ? 1 : 2);
  if (CheckOnly) {
    FHost.Post(WM_QVBL_ACTION_STATUS, nullptr, 0);
    return;
  }
  const bool goOn = WaitAnswer();
  if (FHost.StopRequested()) return;
  if (!goOn) {
    FHost.SetStopBadTarget(-1);
    String rest = r;
    Fetch(rest, FHeader.hstart);
    Fetch(rest, u",");
    Fetch(rest, u",");
    const String name = Fetch(rest, u",");
    Fail(u"\"Stop Bad Target - " + name + u"\"", QVBL_ERR_BAD_TARGET);
    return;
  }
  SendPages(std::move(Image), info.PageSize);
}
