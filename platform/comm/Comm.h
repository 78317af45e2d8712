#pragma once
// Serial ports in the shape of the Win32 communications calls, on termios and
// poll. A port is opened by its alias ("\\.\COM3", "COM3") or by a device path
// ("/dev/ttyUSB0"), always exclusively and always in raw mode: no byte value is
// translated, dropped or inserted in either direction.
//
// Overlapped operations (a non-null OVERLAPPED) start at once and finish inside
// GetOverlappedResult / GetOverlappedResultEx on the calling thread; one thread
// uses one port handle at a time. Driver time-outs run on the system's
// monotonic time, like a driver's, not on the program's replaceable clock.
#include "platform/rtl/Types.h"
#include "platform/win/KernelHandles.h"
#include "platform/win/Clock.h"
#include "platform/win/Files.h"
#include "platform/win/WinError.h"

constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_FLAG_OVERLAPPED = 0x40000000u;
constexpr DWORD MAXDWORD = 0xFFFFFFFFu;

// Line settings. Flags holds the bit fields of the device control block.
struct DCB {
  DWORD DCBlength = sizeof(DCB);
  DWORD BaudRate = 0;
  DWORD Flags = 0;
  Word wReserved = 0;
  Word XonLim = 0;
  Word XoffLim = 0;
  Byte ByteSize = 0;
  Byte Parity = 0;
  Byte StopBits = 0;
  char XonChar = 0;
  char XoffChar = 0;
  char ErrorChar = 0;
  char EofChar = 0;
  char EvtChar = 0;
  Word wReserved1 = 0;
};

constexpr DWORD dcb_Binary = 0x00000001;
constexpr DWORD dcb_ParityCheck = 0x00000002;
constexpr DWORD dcb_OutxCtsFlow = 0x00000004;
constexpr DWORD dcb_OutxDsrFlow = 0x00000008;
constexpr DWORD dcb_DtrControlMask = 0x00000030;
constexpr DWORD dcb_DtrControlDisable = 0x00000000;
constexpr DWORD dcb_DtrControlEnable = 0x00000010;
constexpr DWORD dcb_DtrControlHandshake = 0x00000020;
constexpr DWORD dcb_DsrSensivity = 0x00000040;
constexpr DWORD dcb_TXContinueOnXoff = 0x00000080;
constexpr DWORD dcb_OutX = 0x00000100;
constexpr DWORD dcb_InX = 0x00000200;
constexpr DWORD dcb_ErrorChar = 0x00000400;
constexpr DWORD dcb_NullStrip = 0x00000800;
constexpr DWORD dcb_RtsControlMask = 0x00003000;
constexpr DWORD dcb_RtsControlDisable = 0x00000000;
constexpr DWORD dcb_RtsControlEnable = 0x00001000;
constexpr DWORD dcb_RtsControlHandshake = 0x00002000;
constexpr DWORD dcb_RtsControlToggle = 0x00003000;
constexpr DWORD dcb_AbortOnError = 0x00004000;

constexpr Byte NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3, SPACEPARITY = 4;
constexpr Byte ONESTOPBIT = 0, ONE5STOPBITS = 1, TWOSTOPBITS = 2;

struct COMMTIMEOUTS {
  DWORD ReadIntervalTimeout = 0;
  DWORD ReadTotalTimeoutMultiplier = 0;
  DWORD ReadTotalTimeoutConstant = 0;
  DWORD WriteTotalTimeoutMultiplier = 0;
  DWORD WriteTotalTimeoutConstant = 0;
};

struct COMSTAT {
  DWORD Flags = 0;  // hold reasons (fCtsHold...); always 0 here
  DWORD cbInQue = 0;
  DWORD cbOutQue = 0;
};

// Internal receives the completion status, InternalHigh the byte count.
struct OVERLAPPED {
  NativeUInt Internal = 0;
  NativeUInt InternalHigh = 0;
  DWORD Offset = 0;
  DWORD OffsetHigh = 0;
  HANDLE hEvent = nullptr;
};

// ClearCommError flags
constexpr DWORD CE_RXOVER = 0x0001, CE_OVERRUN = 0x0002, CE_RXPARITY = 0x0004, CE_FRAME = 0x0008,
                CE_BREAK = 0x0010, CE_TXFULL = 0x0100;
// PurgeComm flags
constexpr DWORD PURGE_TXABORT = 0x0001, PURGE_RXABORT = 0x0002, PURGE_TXCLEAR = 0x0004, PURGE_RXCLEAR = 0x0008;
// EscapeCommFunction codes
constexpr DWORD SETXOFF = 1, SETXON = 2, SETRTS = 3, CLRRTS = 4, SETDTR = 5, CLRDTR = 6, SETBREAK = 8, CLRBREAK = 9;
// GetCommModemStatus bits
constexpr DWORD MS_CTS_ON = 0x0010, MS_DSR_ON = 0x0020, MS_RING_ON = 0x0040, MS_RLSD_ON = 0x0080;
// Communication events (SetCommMask / WaitCommEvent); the layer reports EV_RXCHAR and EV_TXEMPTY.
constexpr DWORD EV_RXCHAR = 0x0001, EV_RXFLAG = 0x0002, EV_TXEMPTY = 0x0004, EV_CTS = 0x0008, EV_DSR = 0x0010,
                EV_RLSD = 0x0020, EV_BREAK = 0x0040, EV_ERR = 0x0080, EV_RING = 0x0100;

// Opens a serial port for reading and writing, exclusively. Answers
// INVALID_HANDLE_VALUE with ERROR_FILE_NOT_FOUND for an unknown name or a file
// that is not a terminal, ERROR_ACCESS_DENIED when another process has the port
// open, ERROR_INVALID_PARAMETER for a share mode other than 0 or a disposition
// other than OPEN_EXISTING. The other arguments are accepted as Windows takes them.
HANDLE CreateFile(StringView fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                  DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);

// Reads up to `toRead` bytes under the port's time-outs. Without OVERLAPPED it
// returns when done; with one it answers TRUE when done at once, else FALSE
// with ERROR_IO_PENDING. A vanished device answers ERROR_DEVICE_NOT_CONNECTED.
BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read, OVERLAPPED* overlapped);
// Writes `toWrite` bytes under the port's write time-outs; otherwise as ReadFile.
BOOL WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written, OVERLAPPED* overlapped);
// Waits for the overlapped operation (wait: without limit), then answers its
// outcome and byte count. Without waiting, an unfinished operation answers
// FALSE with ERROR_IO_INCOMPLETE; once collected, the OVERLAPPED keeps the outcome.
BOOL GetOverlappedResult(HANDLE file, OVERLAPPED* overlapped, DWORD* transferred, BOOL wait);
// As GetOverlappedResult, waiting at most `milliseconds`: FALSE with
// WAIT_TIMEOUT when the operation is still running then.
BOOL GetOverlappedResultEx(HANDLE file, OVERLAPPED* overlapped, DWORD* transferred, DWORD milliseconds,
                           BOOL alertable);

// Line settings: read or apply. SetCommState refuses a baud rate of 0 or above 12000000, a byte
// size outside 5..8, a parity above SPACEPARITY, a stop-bit code above
// TWOSTOPBITS or a pairing the hardware cannot do (1.5 stop bits need 5 data
// bits, 2 need 6 or more) with ERROR_INVALID_PARAMETER.
BOOL GetCommState(HANDLE file, DCB* dcb);
BOOL SetCommState(HANDLE file, const DCB* dcb);
BOOL SetCommTimeouts(HANDLE file, const COMMTIMEOUTS* timeouts);
// Records the queue sizes the caller wants (the kernel keeps its own sizes).
BOOL SetupComm(HANDLE file, DWORD inQueue, DWORD outQueue);
// Sets the events to wait for; a pending WaitCommEvent ends with mask 0.
BOOL SetCommMask(HANDLE file, DWORD eventMask);
// Waits for one of the masked events; with OVERLAPPED as ReadFile. A mask of 0
// answers ERROR_INVALID_PARAMETER.
BOOL WaitCommEvent(HANDLE file, DWORD* eventMask, OVERLAPPED* overlapped);
// DTR, RTS, break and software flow. A line without modem lines (a
// pseudo-terminal) accepts DTR and RTS and does nothing.
BOOL EscapeCommFunction(HANDLE file, DWORD function);
// The modem-status bits; 0 on a line without modem lines.
BOOL GetCommModemStatus(HANDLE file, DWORD* modemStat);
// Discards queued bytes and/or aborts pending operations (PURGE_* flags).
BOOL PurgeComm(HANDLE file, DWORD flags);
// Reports and clears the line errors since the last call (CE_* flags) and the queue counts.
BOOL ClearCommError(HANDLE file, DWORD* errors, COMSTAT* stat);
BOOL SetCommBreak(HANDLE file);
BOOL ClearCommBreak(HANDLE file);
// Waits until the output queue is sent; FALSE with ERROR_SEM_TIMEOUT when it
// stops draining for five seconds (flow control holding it).
BOOL FlushFileBuffers(HANDLE file);
