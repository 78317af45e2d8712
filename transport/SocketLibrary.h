#pragma once
// The socket library loaded by name into a function table, its start-up and
// exit, and the address helpers the socket classes share: resolution of
// names, ports and addresses into socket-address records, IPv4 and IPv6 text
// forms, and Base64.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/Winsock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Types.h"

// The socket family's exception: "TCP/IP Socket error %d: %s" and the like.
class ESocketError : public Exception {
 public:
  ESocketError(String message, Integer errorCode, String errorMessage)
      : Exception(std::move(message)), ErrorCode(errorCode), ErrorMessage(std::move(errorMessage)) {}
  Integer ErrorCode;
  String ErrorMessage;
};

// Socket address record, large enough for IPv4 (16 bytes used) and IPv6 (28).
union TVarSin {
  winsock::sockaddr_in sin;
  winsock::sockaddr_in6 sin6;
  Byte bytes[28];
  // The address family of the record (0 when empty).
  int Family() const { return sin.sin_family; }
};
static_assert(sizeof(TVarSin) == 28);

// The library's functions, taken by name. An entry the library lacks answers
// SOCKET_ERROR / INVALID_SOCKET / nullptr with WSANOTINITIALISED, so a call
// through it is safe.
struct TSocketFunctions {
  decltype(&winsock::WSAIoctl) WSAIoctl;
  decltype(&winsock::__WSAFDIsSet) __WSAFDIsSet;
  decltype(&winsock::closesocket) closesocket;
  decltype(&winsock::ioctlsocket) ioctlsocket;
  decltype(&winsock::WSAGetLastError) WSAGetLastError;
  decltype(&winsock::WSAStartup) WSAStartup;
  decltype(&winsock::WSACleanup) WSACleanup;
  decltype(&winsock::accept) accept;
  decltype(&winsock::bind) bind;
  decltype(&winsock::connect) connect;
  decltype(&winsock::getpeername) getpeername;
  decltype(&winsock::getsockname) getsockname;
  decltype(&winsock::getsockopt) getsockopt;
  decltype(&winsock::htonl) htonl;
  decltype(&winsock::htons) htons;
  decltype(&winsock::inet_addr) inet_addr;
  decltype(&winsock::inet_ntoa) inet_ntoa;
  decltype(&winsock::listen) listen;
  decltype(&winsock::ntohl) ntohl;
  decltype(&winsock::ntohs) ntohs;
  decltype(&winsock::recv) recv;
  decltype(&winsock::recvfrom) recvfrom;
  decltype(&winsock::select) select;
  decltype(&winsock::send) send;
  decltype(&winsock::sendto) sendto;
  decltype(&winsock::setsockopt) setsockopt;
  decltype(&winsock::shutdown) shutdown;
  decltype(&winsock::socket) socket;
  decltype(&winsock::gethostbyaddr) gethostbyaddr;
  decltype(&winsock::gethostbyname) gethostbyname;
  decltype(&winsock::getprotobyname) getprotobyname;
  decltype(&winsock::getprotobynumber) getprotobynumber;
  decltype(&winsock::getservbyname) getservbyname;
  decltype(&winsock::getservbyport) getservbyport;
  decltype(&winsock::gethostname) gethostname;
  decltype(&winsock::getaddrinfo) getaddrinfo;
  decltype(&winsock::freeaddrinfo) freeaddrinfo;
  decltype(&winsock::getnameinfo) getnameinfo;
};

// The table (every entry a "not loaded" stub before LoadSocketLibrary).
const TSocketFunctions& SocketFunctions();

// Loads the library ("ws2_32.dll" when Name is empty) and fills the table;
// False when it cannot be loaded. A loaded library is only counted again.
bool LoadSocketLibrary(const String& Name = {});
// Counts down (not below 0); at 0 frees the libraries. Always True.
bool UnloadSocketLibrary();
// True when the modern resolver is present for the family (0, 2 or 23).
bool HasModernResolver(int Family);

// Start-up of the socket unit: loads "ws2_32.dll" and starts it for version
// 2.2; raises ESocketError "Error loading Socket interface (ws2_32.dll)!" when
// the library cannot be loaded. Counted: each call needs one DoneSocketUnit.
void InitSocketUnit();
// Exit of the socket unit: WSACleanup, then UnloadSocketLibrary.
void DoneSocketUnit();
// The start-up record WSAStartup filled.
const winsock::WSAData& SocketWSAData();

// The size the library wants for a record: 16 (IPv4), 28 (IPv6), else 0.
int SizeOfVarSin(const TVarSin& sin);
// Thin wrappers with the record size filled in; the library's results.
int SockBind(winsock::SOCKET s, const TVarSin& addr);
int SockConnect(winsock::SOCKET s, const TVarSin& addr);
winsock::SOCKET SockAccept(winsock::SOCKET s, TVarSin& addr);
int SockGetSockName(winsock::SOCKET s, TVarSin& addr);
int SockGetPeerName(winsock::SOCKET s, TVarSin& addr);
int SockSendTo(winsock::SOCKET s, const void* buf, int len, int flags, const TVarSin& addr);
int SockRecvFrom(winsock::SOCKET s, void* buf, int len, int flags, TVarSin& addr);
int SockSend(winsock::SOCKET s, const void* buf, int len, int flags);
int SockRecv(winsock::SOCKET s, void* buf, int len, int flags);
void FDClear(winsock::fd_set& set);
// Adds a socket once; a full set (64) stays as it is.
void FDAdd(winsock::SOCKET s, winsock::fd_set& set);
bool FDIsSet(winsock::SOCKET s, winsock::fd_set& set);
// The local host's name; empty when the library cannot tell.
String GetHostNameText();

// Fills Sin for an address and port given as text (Family 0, 2 or 23);
// answers 0 or the library's error number (the record is then zero).
int FillSockAddr(TVarSin& Sin, const String& IP, const String& Port, int Family, int SockProtocol, int SockType,
                 bool PreferIP4);
// Numeric address text of a record; empty for an empty record.
String SockAddrToText(const TVarSin& Sin);
// Port of a record in host byte order.
int SockAddrPort(const TVarSin& Sin);
// All numeric addresses of a name; "0.0.0.0" alone when none.
void ResolveNameList(const String& Name, int Family, int SockProtocol, int SockType, std::vector<String>& IPList);
// Port number of a number or service name; 0 when unknown.
Word ResolvePortNumber(const String& Port, int Family, int SockProtocol, int SockType);
// Host name of an address; the address itself when it has none.
String ResolveHostName(const String& IP, int Family, int SockProtocol, int SockType);

// Four dot-separated decimal fields of 0..255 (digits only).
bool IsIPv4Text(StringView Value);
// IPv6 text: up to 8 hex fields of 0..FFFF, one "::" shortening, an optional
// hex "%zone" after the last field.
bool IsIPv6Text(StringView Value);
// The four bytes of a dotted text; a missing or unreadable field gives 0.
std::array<Byte, 4> IPv4TextToBytes(StringView Value);
// The dotted text as a number, first field most significant.
Cardinal IPv4TextToNumber(StringView Value);
// The "::" shortening written out in full; empty for more than seven ":".
String ExpandIPv6Text(StringView Value);
// 16 bytes, most significant first; an unreadable text gives 16 zeros.
std::array<Byte, 16> IPv6TextToBytes(StringView Value);
// Lower-case groups without leading zeros, the first longest zero run as "::".
String IPv6BytesToText(const std::array<Byte, 16>& Value);
// Standard Base64 with "=" padding.
std::string Base64EncodeBytes(std::string_view Value);
