#include "platform/comm/Comm.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/comm/CustomBaud.h"
#include "platform/comm/SerialPorts.h"

namespace {

using SteadyClock = std::chrono::steady_clock;
using TimePoint = SteadyClock::time_point;
using std::chrono::milliseconds;

constexpr TimePoint kNever = TimePoint::max();
// Transmit-empty has no poll event, so its wait looks at the queue this often.
constexpr milliseconds kQueuePollStep{2};
constexpr milliseconds kFlushStallLimit{5000};
constexpr DWORD kMaxBaud = 12000000;

struct BaudEntry {
  DWORD baud;
  speed_t code;
};

constexpr BaudEntry kBauds[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},       {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800}, {500000, B500000},
    {576000, B576000}, {921600, B921600}, {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

struct PendingOp {
  enum class Kind { Read, Write, Wait } kind;
  OVERLAPPED* overlapped = nullptr;
  Byte* readBuffer = nullptr;
  const Byte* writeBuffer = nullptr;
  DWORD length = 0;
  DWORD done = 0;
  DWORD* eventsOut = nullptr;
  COMMTIMEOUTS timeouts;
  TimePoint start;
  TimePoint lastByte;
  bool finished = false;
  DWORD status = ERROR_SUCCESS;
};

DWORD ErrnoToError(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
    case ENXIO:
      return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EWOULDBLOCK:
      return ERROR_ACCESS_DENIED;
    case EIO:
    case ENODEV:
      return ERROR_DEVICE_NOT_CONNECTED;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_GEN_FAILURE;
  }
}

BOOL Fail(DWORD code) {
  SetLastError(code);
  return 0;
}

class TCommPort : public TKernelObject {
 public:
  int fd = -1;
  bool hasModemLines = false;
  DCB dcb;
  COMMTIMEOUTS timeouts;
  DWORD mask = 0;
  bool haveCounts = false;
  serial_icounter_struct counts{};
  std::vector<std::unique_ptr<PendingOp>> pending;

  ~TCommPort() override {
    if (fd >= 0) ::close(fd);  // also drops the flock
  }

  bool SetLines(int bits, bool on) {
    if (!hasModemLines) return true;  // a pseudo-terminal has no modem lines
    return ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &bits) == 0;
  }

  DWORD InQueue() const {
    int n = 0;
    return ::ioctl(fd, FIONREAD, &n) == 0 && n > 0 ? static_cast<DWORD>(n) : 0;
  }

  DWORD OutQueue() const {
    int n = 0;
    return ::ioctl(fd, TIOCOUTQ, &n) == 0 && n > 0 ? static_cast<DWORD>(n) : 0;
  }

  // revents of a poll that does not wait
  short Probe(short events) const {
    pollfd p{fd, events, 0};
    return ::poll(&p, 1, 0) > 0 ? p.revents : 0;
  }

  void Finish(PendingOp& op, DWORD status) {
    op.finished = true;
    op.status = status;
    if (op.kind == PendingOp::Kind::Write && (dcb.Flags & dcb_RtsControlMask) == dcb_RtsControlToggle) {
      DrainOutput();
      SetLines(TIOCM_RTS, false);
    }
  }

  bool DrainOutput() {
    DWORD last = OutQueue();
    TimePoint progress = SteadyClock::now();
    while (last > 0) {
      std::this_thread::sleep_for(kQueuePollStep);
      const DWORD now = OutQueue();
      if (now < last) progress = SteadyClock::now();
      last = now;
      if (last > 0 && SteadyClock::now() - progress > kFlushStallLimit) return false;
    }
    return true;
  }

  // The moment the operation's own time-out ends it.
  TimePoint OwnDeadline(const PendingOp& op) const {
    const COMMTIMEOUTS& t = op.timeouts;
    if (op.kind == PendingOp::Kind::Read) {
      if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
          t.ReadTotalTimeoutConstant > 0 && t.ReadTotalTimeoutConstant < MAXDWORD) {
        return op.start + milliseconds(t.ReadTotalTimeoutConstant);
      }
      TimePoint deadline = kNever;
      const unsigned long long total =
          static_cast<unsigned long long>(t.ReadTotalTimeoutMultiplier) * op.length + t.ReadTotalTimeoutConstant;
      if (total > 0) deadline = op.start + milliseconds(total);
      if (t.ReadIntervalTimeout > 0 && t.ReadIntervalTimeout != MAXDWORD && op.done > 0) {
        deadline = std::min(deadline, op.lastByte + milliseconds(t.ReadIntervalTimeout));
      }
      return deadline;
    }
    if (op.kind == PendingOp::Kind::Write) {
      const unsigned long long total =
          static_cast<unsigned long long>(t.WriteTotalTimeoutMultiplier) * op.length + t.WriteTotalTimeoutConstant;
      return total > 0 ? op.start + milliseconds(total) : kNever;
    }
    return kNever;
  }

  // One step without blocking; true when the operation is finished.
  bool Step(PendingOp& op) {
    if (op.finished) return true;
    const TimePoint now = SteadyClock::now();
    switch (op.kind) {
      case PendingOp::Kind::Read: {
        const short re = Probe(POLLIN);
        if (re & POLLIN) {
          const ssize_t n = ::read(fd, op.readBuffer + op.done, op.length - op.done);
          if (n > 0) {
            op.done += static_cast<DWORD>(n);
            op.lastByte = now;
          } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            Finish(op, ErrnoToError(errno));
            return true;
          }
        } else if (re & (POLLHUP | POLLERR | POLLNVAL)) {
          Finish(op, ERROR_DEVICE_NOT_CONNECTED);
          return true;
        }
        const COMMTIMEOUTS& t = op.timeouts;
        const bool immediate = t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 &&
                               t.ReadTotalTimeoutConstant == 0;
        const bool firstByte = t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD;
        if (op.done == op.length || immediate || (firstByte && op.done > 0) || now >= OwnDeadline(op)) {
          Finish(op, ERROR_SUCCESS);
        }
        return op.finished;
      }
      case PendingOp::Kind::Write: {
        if (op.done < op.length) {
          const ssize_t n = ::write(fd, op.writeBuffer + op.done, op.length - op.done);
          if (n > 0) {
            op.done += static_cast<DWORD>(n);
          } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            Finish(op, ErrnoToError(errno));
            return true;
          }
        }
        if (op.done == op.length || now >= OwnDeadline(op)) Finish(op, ERROR_SUCCESS);
        return op.finished;
      }
      case PendingOp::Kind::Wait: {
        DWORD events = 0;
        if ((mask & EV_RXCHAR) && InQueue() > 0) events |= EV_RXCHAR;
        if ((mask & EV_TXEMPTY) && OutQueue() == 0) events |= EV_TXEMPTY;
        if (events) {
          if (op.eventsOut) *op.eventsOut = events;
          Finish(op, ERROR_SUCCESS);
        } else if (Probe(POLLIN) & (POLLHUP | POLLERR | POLLNVAL)) {
          Finish(op, ERROR_DEVICE_NOT_CONNECTED);
        }
        return op.finished;
      }
    }
    return op.finished;
  }

  // Drives the operation until it finishes or `until` passes.
  bool Drive(PendingOp& op, TimePoint until) {
    for (;;) {
      if (Step(op)) return true;
      const TimePoint now = SteadyClock::now();
      if (now >= until) return false;
      TimePoint wake = std::min(until, OwnDeadline(op));
      short events = 0;
      if (op.kind == PendingOp::Kind::Read) events = POLLIN;
      if (op.kind == PendingOp::Kind::Write) events = POLLOUT;
      if (op.kind == PendingOp::Kind::Wait) {
        if (mask & EV_RXCHAR) events = POLLIN;
        if (mask & EV_TXEMPTY) wake = std::min(wake, now + kQueuePollStep);
      }
      int waitMs = 0;
      if (wake > now) {
        const auto left = std::chrono::ceil<milliseconds>(wake - now).count();
        waitMs = static_cast<int>(std::min<long long>(left, 1000));
      }
      pollfd p{fd, events, 0};
      ::poll(&p, 1, waitMs);
    }
  }

  PendingOp* Find(const OVERLAPPED* overlapped) {
    for (auto& op : pending) {
      if (op->overlapped == overlapped) return op.get();
    }
    return nullptr;
  }

  // Runs a new operation: to its end without OVERLAPPED, else as far as it goes at once.
  BOOL Start(std::unique_ptr<PendingOp> op, DWORD* transferred) {
    op->timeouts = timeouts;
    op->start = op->lastByte = SteadyClock::now();
    if (transferred) *transferred = 0;
    if (op->kind == PendingOp::Kind::Write && (dcb.Flags & dcb_RtsControlMask) == dcb_RtsControlToggle) {
      SetLines(TIOCM_RTS, true);
    }
    if (!op->overlapped) {
      Drive(*op, kNever);
      if (transferred) *transferred = op->done;
      return op->status == ERROR_SUCCESS ? 1 : Fail(op->status);
    }
    OVERLAPPED* ov = op->overlapped;
    if (Find(ov)) return Fail(ERROR_INVALID_PARAMETER);  // the OVERLAPPED is still in use
    ov->Internal = ERROR_IO_PENDING;
    ov->InternalHigh = 0;
    if (Step(*op)) {
      ov->Internal = op->status;
      ov->InternalHigh = op->done;
      if (transferred) *transferred = op->done;
      return op->status == ERROR_SUCCESS ? 1 : Fail(op->status);
    }
    pending.push_back(std::move(op));
    return Fail(ERROR_IO_PENDING);
  }

  BOOL Collect(OVERLAPPED* overlapped, DWORD* transferred, TimePoint until, DWORD unfinished) {
    PendingOp* op = Find(overlapped);
    if (!op) {
      // Finished at its start: the OVERLAPPED already holds the outcome.
      if (overlapped && overlapped->Internal != ERROR_IO_PENDING) {
        if (transferred) *transferred = static_cast<DWORD>(overlapped->InternalHigh);
        return overlapped->Internal == ERROR_SUCCESS ? 1 : Fail(static_cast<DWORD>(overlapped->Internal));
      }
      return Fail(ERROR_INVALID_PARAMETER);
    }
    if (!Drive(*op, until)) {
      if (transferred) *transferred = op->done;
      return Fail(unfinished);
    }
    overlapped->Internal = op->status;
    overlapped->InternalHigh = op->done;
    if (transferred) *transferred = op->done;
    const DWORD status = op->status;
    std::erase_if(pending, [&](const auto& p) { return p.get() == op; });
    return status == ERROR_SUCCESS ? 1 : Fail(status);
  }

  void Abort(PendingOp::Kind kind, DWORD status) {
    for (auto& op : pending) {
      if (op->kind == kind && !op->finished) Finish(*op, status);
    }
  }
};

std::shared_ptr<TCommPort> Port(HANDLE handle) {
  auto port = LookupKernelObjectAs<TCommPort>(handle);
  if (!port) SetLastError(ERROR_INVALID_HANDLE);
  return port;
}

DWORD BaudOf(const termios& tio, int fd) {
  const speed_t code = cfgetospeed(&tio);
  for (const BaudEntry& b : kBauds) {
    if (b.code == code) return b.baud;
  }
  return GetCustomBaud(fd);
}

DCB ReadDcb(int fd, const termios& tio) {
  DCB d;
  d.BaudRate = BaudOf(tio, fd);
  switch (tio.c_cflag & CSIZE) {
    case CS5: d.ByteSize = 5; break;
    case CS6: d.ByteSize = 6; break;
    case CS7: d.ByteSize = 7; break;
    default: d.ByteSize = 8; break;
  }
  if (!(tio.c_cflag & PARENB)) {
    d.Parity = NOPARITY;
  } else if (tio.c_cflag & CMSPAR) {
    d.Parity = (tio.c_cflag & PARODD) ? MARKPARITY : SPACEPARITY;
  } else {
    d.Parity = (tio.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
  }
  d.StopBits = (tio.c_cflag & CSTOPB) ? (d.ByteSize == 5 ? ONE5STOPBITS : TWOSTOPBITS) : ONESTOPBIT;
  d.Flags = dcb_Binary | dcb_DtrControlEnable;
  if (tio.c_cflag & CRTSCTS) {
    d.Flags |= dcb_OutxCtsFlow | dcb_RtsControlHandshake;
  } else {
    d.Flags |= dcb_RtsControlEnable;
  }
  if (tio.c_iflag & IXON) d.Flags |= dcb_OutX;
  if (tio.c_iflag & IXOFF) d.Flags |= dcb_InX;
  if (tio.c_iflag & INPCK) d.Flags |= dcb_ParityCheck;
  d.XonChar = static_cast<char>(tio.c_cc[VSTART]);
  d.XoffChar = static_cast<char>(tio.c_cc[VSTOP]);
  return d;
}

// Raw: no byte is translated, stripped, marked or taken as flow control.
void MakeRaw(termios& tio) {
  cfmakeraw(&tio);
  tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK | ISTRIP | ICRNL | INLCR | IGNCR | IUCLC | IMAXBEL);
  tio.c_oflag &= ~(OPOST | ONLCR | OCRNL | ONOCR | ONLRET);
  tio.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cflag &= ~HUPCL;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
}

}  // namespace

HANDLE CreateFile(StringView fileName, DWORD /*desiredAccess*/, DWORD shareMode, void* /*securityAttributes*/,
                  DWORD creationDisposition, DWORD /*flagsAndAttributes*/, HANDLE /*templateFile*/) {
  if (shareMode != 0 || creationDisposition != OPEN_EXISTING) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::string device;
  if (SerialPortNumber(fileName) > 0) {
    device = SerialPortDevice(fileName);
  } else if (!fileName.empty() && fileName[0] == u'/') {
    device = StringToUtf8(fileName);
  }
  if (device.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    SetLastError(ErrnoToError(errno));
    return INVALID_HANDLE_VALUE;
  }
  auto port = std::make_shared<TCommPort>();
  port->fd = fd;
  struct stat st {};
  termios tio{};
  if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode) || ::tcgetattr(fd, &tio) != 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);  // not a serial line: never treat a plain file as a port
    return INVALID_HANDLE_VALUE;
  }
  // The lock keeps out our own kind, TIOCEXCL everyone else but root.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  ::ioctl(fd, TIOCEXCL);
  MakeRaw(tio);
  if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
    SetLastError(ErrnoToError(errno));
    return INVALID_HANDLE_VALUE;
  }
  int bits = 0;
  port->hasModemLines = ::ioctl(fd, TIOCMGET, &bits) == 0;
  port->haveCounts = ::ioctl(fd, TIOCGICOUNT, &port->counts) == 0;
  port->dcb = ReadDcb(fd, tio);
  return RegisterKernelObject(std::move(port));
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read, OVERLAPPED* overlapped) {
  auto port = Port(file);
  if (!port) return 0;
  if (!buffer && toRead > 0) return Fail(ERROR_INVALID_PARAMETER);
  auto op = std::make_unique<PendingOp>();
  op->kind = PendingOp::Kind::Read;
  op->overlapped = overlapped;
  op->readBuffer = static_cast<Byte*>(buffer);
  op->length = toRead;
  return port->Start(std::move(op), read);
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written, OVERLAPPED* overlapped) {
  auto port = Port(file);
  if (!port) return 0;
  if (!buffer && toWrite > 0) return Fail(ERROR_INVALID_PARAMETER);
  auto op = std::make_unique<PendingOp>();
  op->kind = PendingOp::Kind::Write;
  op->overlapped = overlapped;
  op->writeBuffer = static_cast<const Byte*>(buffer);
  op->length = toWrite;
  return port->Start(std::move(op), written);
}

BOOL GetOverlappedResult(HANDLE file, OVERLAPPED* overlapped, DWORD* transferred, BOOL wait) {
  auto port = Port(file);
  if (!port) return 0;
  return port->Collect(overlapped, transferred, wait ? kNever : SteadyClock::now(), ERROR_IO_INCOMPLETE);
}

BOOL GetOverlappedResultEx(HANDLE file, OVERLAPPED* overlapped, DWORD* transferred, DWORD milliseconds,
                           BOOL /*alertable*/) {
  auto port = Port(file);
  if (!port) return 0;
  const TimePoint until =
      milliseconds == INFINITE ? kNever : SteadyClock::now() + std::chrono::milliseconds(milliseconds);
  return port->Collect(overlapped, transferred, until, milliseconds == 0 ? ERROR_IO_INCOMPLETE : WAIT_TIMEOUT);
}

BOOL GetCommState(HANDLE file, DCB* dcb) {
  auto port = Port(file);
  if (!port) return 0;
  if (!dcb) return Fail(ERROR_INVALID_PARAMETER);
  *dcb = port->dcb;
  return 1;
}

BOOL SetCommState(HANDLE file, const DCB* dcb) {
  auto port = Port(file);
  if (!port) return 0;
  if (!dcb || dcb->BaudRate == 0 || dcb->BaudRate > kMaxBaud || dcb->ByteSize < 5 || dcb->ByteSize > 8 || dcb->Parity > SPACEPARITY ||
      dcb->StopBits > TWOSTOPBITS || (dcb->StopBits == ONE5STOPBITS && dcb->ByteSize != 5) ||
      (dcb->StopBits == TWOSTOPBITS && dcb->ByteSize == 5)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  termios tio{};
  if (::tcgetattr(port->fd, &tio) != 0) return Fail(ErrnoToError(errno));
  MakeRaw(tio);
  const speed_t* code = nullptr;
  for (const BaudEntry& b : kBauds) {
    if (b.baud == dcb->BaudRate) code = &b.code;
  }
  if (code) {
    cfsetispeed(&tio, *code);
    cfsetospeed(&tio, *code);
  }
  static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
  tio.c_cflag = (tio.c_cflag & ~CSIZE) | kSizes[dcb->ByteSize - 5];
  tio.c_cflag &= ~(PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  switch (dcb->Parity) {
    case ODDPARITY: tio.c_cflag |= PARENB | PARODD; break;
    case EVENPARITY: tio.c_cflag |= PARENB; break;
    case MARKPARITY: tio.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case SPACEPARITY: tio.c_cflag |= PARENB | CMSPAR; break;
    default: break;
  }
  // A byte with a parity error reads as 0, never marked or stripped.
  if ((dcb->Flags & dcb_ParityCheck) && dcb->Parity != NOPARITY) tio.c_iflag |= INPCK;
  if (dcb->StopBits != ONESTOPBIT) tio.c_cflag |= CSTOPB;
  const DWORD rts = dcb->Flags & dcb_RtsControlMask;
  if ((dcb->Flags & dcb_OutxCtsFlow) || rts == dcb_RtsControlHandshake) tio.c_cflag |= CRTSCTS;
  if (dcb->Flags & dcb_OutX) tio.c_iflag |= IXON;
  if (dcb->Flags & dcb_InX) tio.c_iflag |= IXOFF;
  tio.c_cc[VSTART] = static_cast<cc_t>(dcb->XonChar);
  tio.c_cc[VSTOP] = static_cast<cc_t>(dcb->XoffChar);
  if (::tcsetattr(port->fd, TCSANOW, &tio) != 0) return Fail(ErrnoToError(errno));
  if (!code && !SetCustomBaud(port->fd, dcb->BaudRate)) return Fail(ERROR_INVALID_PARAMETER);
  const DWORD dtr = dcb->Flags & dcb_DtrControlMask;
  if (dtr != dcb_DtrControlHandshake) port->SetLines(TIOCM_DTR, dtr == dcb_DtrControlEnable);
  if (rts == dcb_RtsControlEnable || rts == dcb_RtsControlHandshake) port->SetLines(TIOCM_RTS, true);
  if (rts == dcb_RtsControlDisable || rts == dcb_RtsControlToggle) port->SetLines(TIOCM_RTS, false);
  port->dcb = *dcb;
  port->dcb.DCBlength = sizeof(DCB);
  return 1;
}

BOOL SetCommTimeouts(HANDLE file, const COMMTIMEOUTS* timeouts) {
  auto port = Port(file);
  if (!port) return 0;
  if (!timeouts) return Fail(ERROR_INVALID_PARAMETER);
  port->timeouts = *timeouts;
  return 1;
}

BOOL SetupComm(HANDLE file, DWORD /*inQueue*/, DWORD /*outQueue*/) {
  auto port = Port(file);
  return port ? 1 : 0;
}

BOOL SetCommMask(HANDLE file, DWORD eventMask) {
  auto port = Port(file);
  if (!port) return 0;
  port->mask = eventMask;
  for (auto& op : port->pending) {
    if (op->kind == PendingOp::Kind::Wait && !op->finished) {
      if (op->eventsOut) *op->eventsOut = 0;
      port->Finish(*op, ERROR_SUCCESS);
    }
  }
  return 1;
}

BOOL WaitCommEvent(HANDLE file, DWORD* eventMask, OVERLAPPED* overlapped) {
  auto port = Port(file);
  if (!port) return 0;
  if (port->mask == 0) return Fail(ERROR_INVALID_PARAMETER);
  if (eventMask) *eventMask = 0;
  auto op = std::make_unique<PendingOp>();
  op->kind = PendingOp::Kind::Wait;
  op->overlapped = overlapped;
  op->eventsOut = eventMask;
  return port->Start(std::move(op), nullptr);
}

BOOL EscapeCommFunction(HANDLE file, DWORD function) {
  auto port = Port(file);
  if (!port) return 0;
  bool ok = true;
  switch (function) {
    case SETRTS: ok = port->SetLines(TIOCM_RTS, true); break;
    case CLRRTS: ok = port->SetLines(TIOCM_RTS, false); break;
    case SETDTR: ok = port->SetLines(TIOCM_DTR, true); break;
    case CLRDTR: ok = port->SetLines(TIOCM_DTR, false); break;
    case SETBREAK: return SetCommBreak(file);
    case CLRBREAK: return ClearCommBreak(file);
    case SETXOFF: ok = ::tcflow(port->fd, TCOOFF) == 0; break;
    case SETXON: ok = ::tcflow(port->fd, TCOON) == 0; break;
    default: return Fail(ERROR_INVALID_PARAMETER);
  }
  return ok ? 1 : Fail(ErrnoToError(errno));
}

BOOL GetCommModemStatus(HANDLE file, DWORD* modemStat) {
  auto port = Port(file);
  if (!port) return 0;
  if (!modemStat) return Fail(ERROR_INVALID_PARAMETER);
  *modemStat = 0;
  if (!port->hasModemLines) return 1;
  int bits = 0;
  if (::ioctl(port->fd, TIOCMGET, &bits) != 0) return Fail(ErrnoToError(errno));
  if (bits & TIOCM_CTS) *modemStat |= MS_CTS_ON;
  if (bits & TIOCM_DSR) *modemStat |= MS_DSR_ON;
  if (bits & TIOCM_RI) *modemStat |= MS_RING_ON;
  if (bits & TIOCM_CD) *modemStat |= MS_RLSD_ON;
  return 1;
}

BOOL PurgeComm(HANDLE file, DWORD flags) {
  auto port = Port(file);
  if (!port) return 0;
  if (flags == 0 || (flags & ~DWORD{0x0F})) return Fail(ERROR_INVALID_PARAMETER);
  if (flags & PURGE_TXABORT) port->Abort(PendingOp::Kind::Write, ERROR_OPERATION_ABORTED);
  if (flags & PURGE_RXABORT) port->Abort(PendingOp::Kind::Read, ERROR_OPERATION_ABORTED);
  const bool rx = flags & PURGE_RXCLEAR, tx = flags & PURGE_TXCLEAR;
  if ((rx || tx) && ::tcflush(port->fd, rx && tx ? TCIOFLUSH : rx ? TCIFLUSH : TCOFLUSH) != 0) {
    return Fail(ErrnoToError(errno));
  }
  return 1;
}

BOOL ClearCommError(HANDLE file, DWORD* errors, COMSTAT* stat) {
  auto port = Port(file);
  if (!port) return 0;
  DWORD flags = 0;
  if (port->haveCounts) {
    serial_icounter_struct now{};
    if (::ioctl(port->fd, TIOCGICOUNT, &now) == 0) {
      const serial_icounter_struct& was = port->counts;
      if (now.buf_overrun != was.buf_overrun) flags |= CE_RXOVER;
      if (now.overrun != was.overrun) flags |= CE_OVERRUN;
      if (now.parity != was.parity) flags |= CE_RXPARITY;
      if (now.frame != was.frame) flags |= CE_FRAME;
      if (now.brk != was.brk) flags |= CE_BREAK;
      port->counts = now;
    }
  }
  if (errors) *errors = flags;
  if (stat) {
    *stat = COMSTAT{};
    stat->cbInQue = port->InQueue();
    stat->cbOutQue = port->OutQueue();
  }
  return 1;
}

BOOL SetCommBreak(HANDLE file) {
  auto port = Port(file);
  if (!port) return 0;
  if (::ioctl(port->fd, TIOCSBRK) != 0 && port->hasModemLines) return Fail(ErrnoToError(errno));
  return 1;
}

BOOL ClearCommBreak(HANDLE file) {
  auto port = Port(file);
  if (!port) return 0;
  if (::ioctl(port->fd, TIOCCBRK) != 0 && port->hasModemLines) return Fail(ErrnoToError(errno));
  return 1;
}

BOOL FlushFileBuffers(HANDLE file) {
  auto port = Port(file);
  if (!port) return 0;
  return port->DrainOutput() ? 1 : Fail(ERROR_SEM_TIMEOUT);
}
