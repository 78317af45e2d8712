#pragma once
// Windows Sockets 2 as the socket classes call it: Winsock's types, numbers and
// error codes over the system's BSD sockets. Everything sits in namespace
// winsock because the C library already owns the global names (select, fd_set,
// timeval, gethostname) and defines most constants as macros.
//
// Numbers are Winsock's: AF_INET6 is 23, SOL_SOCKET 0xFFFF, errors 10004 and
// up. Socket handles are the system's descriptors. Every call leaves its error
// in the calling thread's WSAGetLastError, as Winsock does.
#include <cstddef>
#include <cstdint>

#include "platform/rtl/Types.h"

namespace winsock {

using u_char = std::uint8_t;
using u_short = std::uint16_t;
using u_int = std::uint32_t;
using u_long = std::uint32_t;  // 32-bit, as on Windows
using SOCKET = std::uintptr_t;

constexpr SOCKET INVALID_SOCKET = ~SOCKET(0);
constexpr int SOCKET_ERROR = -1;

constexpr int AF_UNSPEC = 0;
constexpr int AF_INET = 2;
constexpr int AF_INET6 = 23;
constexpr int PF_INET = AF_INET;
constexpr int PF_INET6 = AF_INET6;

constexpr int SOCK_STREAM = 1;
constexpr int SOCK_DGRAM = 2;
constexpr int SOCK_RAW = 3;

constexpr int IPPROTO_IP = 0;
constexpr int IPPROTO_ICMP = 1;
constexpr int IPPROTO_TCP = 6;
constexpr int IPPROTO_UDP = 17;
constexpr int IPPROTO_IPV6 = 41;

constexpr int SOL_SOCKET = 0xFFFF;
constexpr int SO_DEBUG = 0x0001;
constexpr int SO_REUSEADDR = 0x0004;
constexpr int SO_KEEPALIVE = 0x0008;
constexpr int SO_DONTROUTE = 0x0010;
constexpr int SO_BROADCAST = 0x0020;
constexpr int SO_LINGER = 0x0080;
constexpr int SO_OOBINLINE = 0x0100;
constexpr int SO_SNDBUF = 0x1001;
constexpr int SO_RCVBUF = 0x1002;
constexpr int SO_SNDTIMEO = 0x1005;  // value: DWORD milliseconds
constexpr int SO_RCVTIMEO = 0x1006;  // value: DWORD milliseconds
constexpr int SO_ERROR = 0x1007;     // value: a Winsock error number
constexpr int SO_TYPE = 0x1008;

constexpr int IP_TTL = 4;
constexpr int IP_MULTICAST_IF = 9;
constexpr int IP_MULTICAST_TTL = 10;
constexpr int IP_MULTICAST_LOOP = 11;
constexpr int IP_ADD_MEMBERSHIP = 12;
constexpr int IP_DROP_MEMBERSHIP = 13;

constexpr int IPV6_UNICAST_HOPS = 4;
constexpr int IPV6_MULTICAST_IF = 9;
constexpr int IPV6_MULTICAST_HOPS = 10;
constexpr int IPV6_MULTICAST_LOOP = 11;
constexpr int IPV6_ADD_MEMBERSHIP = 12;
constexpr int IPV6_DROP_MEMBERSHIP = 13;
constexpr int IPV6_V6ONLY = 27;

constexpr int TCP_NODELAY = 1;

constexpr int MSG_OOB = 1;
constexpr int MSG_PEEK = 2;
constexpr int MSG_DONTROUTE = 4;
constexpr int MSG_WAITALL = 8;

constexpr int SD_RECEIVE = 0;
constexpr int SD_SEND = 1;
constexpr int SD_BOTH = 2;

constexpr long FIONREAD = 0x4004667F;
constexpr long FIONBIO = static_cast<long>(0x8004667EU);
constexpr int SOMAXCONN = 0x7FFFFFFF;

constexpr u_long INADDR_ANY = 0;
constexpr u_long INADDR_NONE = 0xFFFFFFFF;
constexpr u_long INADDR_BROADCAST = 0xFFFFFFFF;

constexpr int AI_PASSIVE = 0x01;
constexpr int AI_CANONNAME = 0x02;
constexpr int AI_NUMERICHOST = 0x04;
constexpr int AI_NUMERICSERV = 0x08;
constexpr int AI_ALL = 0x0100;
constexpr int AI_ADDRCONFIG = 0x0400;
constexpr int AI_V4MAPPED = 0x0800;

constexpr int NI_NOFQDN = 0x01;
constexpr int NI_NUMERICHOST = 0x02;
constexpr int NI_NAMEREQD = 0x04;
constexpr int NI_NUMERICSERV = 0x08;
constexpr int NI_DGRAM = 0x10;
constexpr int NI_MAXHOST = 1025;
constexpr int NI_MAXSERV = 32;

// How many sockets one fd_set holds.
constexpr u_int WINSOCK_FD_SETSIZE = 64;

// Winsock error numbers.
constexpr int WSABASEERR = 10000;
constexpr int WSAEINTR = 10004;
constexpr int WSAEBADF = 10009;
constexpr int WSAEACCES = 10013;
constexpr int WSAEFAULT = 10014;
constexpr int WSAEINVAL = 10022;
constexpr int WSAEMFILE = 10024;
constexpr int WSAEWOULDBLOCK = 10035;
constexpr int WSAEINPROGRESS = 10036;
constexpr int WSAEALREADY = 10037;
constexpr int WSAENOTSOCK = 10038;
constexpr int WSAEDESTADDRREQ = 10039;
constexpr int WSAEMSGSIZE = 10040;
constexpr int WSAEPROTOTYPE = 10041;
constexpr int WSAENOPROTOOPT = 10042;
constexpr int WSAEPROTONOSUPPORT = 10043;
constexpr int WSAESOCKTNOSUPPORT = 10044;
constexpr int WSAEOPNOTSUPP = 10045;
constexpr int WSAEPFNOSUPPORT = 10046;
constexpr int WSAEAFNOSUPPORT = 10047;
constexpr int WSAEADDRINUSE = 10048;
constexpr int WSAEADDRNOTAVAIL = 10049;
constexpr int WSAENETDOWN = 10050;
constexpr int WSAENETUNREACH = 10051;
constexpr int WSAENETRESET = 10052;
constexpr int WSAECONNABORTED = 10053;
constexpr int WSAECONNRESET = 10054;
constexpr int WSAENOBUFS = 10055;
constexpr int WSAEISCONN = 10056;
constexpr int WSAENOTCONN = 10057;
constexpr int WSAESHUTDOWN = 10058;
constexpr int WSAETOOMANYREFS = 10059;
constexpr int WSAETIMEDOUT = 10060;
constexpr int WSAECONNREFUSED = 10061;
constexpr int WSAELOOP = 10062;
constexpr int WSAENAMETOOLONG = 10063;
constexpr int WSAEHOSTDOWN = 10064;
constexpr int WSAEHOSTUNREACH = 10065;
constexpr int WSAENOTEMPTY = 10066;
constexpr int WSAEPROCLIM = 10067;
constexpr int WSAEUSERS = 10068;
constexpr int WSAEDQUOT = 10069;
constexpr int WSAESTALE = 10070;
constexpr int WSAEREMOTE = 10071;
constexpr int WSASYSNOTREADY = 10091;
constexpr int WSAVERNOTSUPPORTED = 10092;
constexpr int WSANOTINITIALISED = 10093;
constexpr int WSAEDISCON = 10101;
constexpr int WSATYPE_NOT_FOUND = 10109;
constexpr int WSAHOST_NOT_FOUND = 11001;
constexpr int WSATRY_AGAIN = 11002;
constexpr int WSANO_RECOVERY = 11003;
constexpr int WSANO_DATA = 11004;
constexpr int WSA_NOT_ENOUGH_MEMORY = 8;

struct in_addr {
  u_long s_addr;  // network byte order
};
struct in6_addr {
  u_char s6_addr[16];
};
struct sockaddr {
  u_short sa_family;
  char sa_data[14];
};
struct sockaddr_in {
  short sin_family;
  u_short sin_port;
  in_addr sin_addr;
  char sin_zero[8];
};
struct sockaddr_in6 {
  short sin6_family;
  u_short sin6_port;
  u_long sin6_flowinfo;
  in6_addr sin6_addr;
  u_long sin6_scope_id;
};
static_assert(sizeof(sockaddr_in) == 16 && sizeof(sockaddr_in6) == 28);

struct linger {
  u_short l_onoff;
  u_short l_linger;  // seconds
};
struct timeval {
  std::int32_t tv_sec;
  std::int32_t tv_usec;
};
struct fd_set {
  u_int fd_count;
  SOCKET fd_array[WINSOCK_FD_SETSIZE];
};
struct ip_mreq {
  in_addr imr_multiaddr;
  in_addr imr_interface;
};
struct ipv6_mreq {
  in6_addr ipv6mr_multiaddr;
  u_int ipv6mr_interface;
};

// The older resolver's records. They live in storage of the calling thread
// and stay valid until that thread's next call of the same kind.
struct hostent {
  char* h_name;
  char** h_aliases;
  short h_addrtype;
  short h_length;
  char** h_addr_list;
};
struct servent {
  char* s_name;
  char** s_aliases;
  short s_port;  // network byte order
  char* s_proto;
};
struct protoent {
  char* p_name;
  char** p_aliases;
  short p_proto;
};

struct addrinfo {
  int ai_flags;
  int ai_family;
  int ai_socktype;
  int ai_protocol;
  std::size_t ai_addrlen;
  char* ai_canonname;
  sockaddr* ai_addr;
  addrinfo* ai_next;
};

struct WSAData {
  Word wVersion;
  Word wHighVersion;
  char szDescription[257];
  char szSystemStatus[129];
  u_short iMaxSockets;
  u_short iMaxUdpDg;
  char* lpVendorInfo;
};

// Library start and end. WSAStartup answers 0, or WSAVERNOTSUPPORTED for a
// version below 1.1; calls are counted and WSACleanup without a start answers
// SOCKET_ERROR with WSANOTINITIALISED. Creating a socket needs a start.
int WSAStartup(Word wVersionRequested, WSAData* lpWSAData);
int WSACleanup();
// The calling thread's last Winsock error.
int WSAGetLastError();
void WSASetLastError(int iError);

// Error numbers both ways: errno -> Winsock (unknown values give WSAEINVAL,
// 0 gives 0) and Winsock -> errno (unknown numbers give EINVAL).
int WSAErrorFromErrno(int errnoValue);
int ErrnoFromWSAError(int wsaError);

// The socket calls; SOCKET_ERROR or INVALID_SOCKET with the last error set on
// failure, as Winsock answers. Sends never raise SIGPIPE.
SOCKET socket(int af, int type, int protocol);
int closesocket(SOCKET s);
int shutdown(SOCKET s, int how);
int bind(SOCKET s, const sockaddr* name, int namelen);
int connect(SOCKET s, const sockaddr* name, int namelen);
int listen(SOCKET s, int backlog);
SOCKET accept(SOCKET s, sockaddr* addr, int* addrlen);
int getsockname(SOCKET s, sockaddr* name, int* namelen);
int getpeername(SOCKET s, sockaddr* name, int* namelen);
int send(SOCKET s, const char* buf, int len, int flags);
int recv(SOCKET s, char* buf, int len, int flags);
int sendto(SOCKET s, const char* buf, int len, int flags, const sockaddr* to, int tolen);
int recvfrom(SOCKET s, char* buf, int len, int flags, sockaddr* from, int* fromlen);
// Options by Winsock's levels and numbers; unknown ones answer WSAENOPROTOOPT.
int setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen);
int getsockopt(SOCKET s, int level, int optname, char* optval, int* optlen);
// FIONREAD (bytes waiting) and FIONBIO (non-blocking on/off); others WSAEINVAL.
int ioctlsocket(SOCKET s, long cmd, u_long* argp);
int WSAIoctl(SOCKET s, DWORD dwIoControlCode, void* lpvInBuffer, DWORD cbInBuffer, void* lpvOutBuffer,
             DWORD cbOutBuffer, DWORD* lpcbBytesReturned, void* lpOverlapped, void* lpCompletionRoutine);
// Waits on up to 64 sockets per set; a null timeout waits without limit. The
// sets are rewritten to hold the ready sockets; answers their total count.
int select(int nfds, fd_set* readfds, fd_set* writefds, fd_set* exceptfds, const timeval* timeout);
int __WSAFDIsSet(SOCKET s, fd_set* set);

u_long htonl(u_long hostlong);
u_short htons(u_short hostshort);
u_long ntohl(u_long netlong);
u_short ntohs(u_short netshort);
// Dotted IPv4 text to a network-order address; INADDR_NONE when unreadable.
u_long inet_addr(const char* cp);
// Dotted text of an address, in storage of the calling thread.
char* inet_ntoa(in_addr in);

// The older resolver (IPv4 only); nullptr with the last error on failure.
hostent* gethostbyname(const char* name);
hostent* gethostbyaddr(const char* addr, int len, int type);
servent* getservbyname(const char* name, const char* proto);
servent* getservbyport(int port, const char* proto);
protoent* getprotobyname(const char* name);
protoent* getprotobynumber(int number);
int gethostname(char* name, int namelen);

// The modern resolver: answers 0 or a Winsock error number (WSAHOST_NOT_FOUND,
// WSATYPE_NOT_FOUND...), which is also left as the last error.
int getaddrinfo(const char* nodename, const char* servname, const addrinfo* hints, addrinfo** res);
void freeaddrinfo(addrinfo* ai);
int getnameinfo(const sockaddr* sa, int salen, char* host, DWORD hostlen, char* serv, DWORD servlen, int flags);

// Run-time loading by name. "ws2_32.dll" offers every call above,
// "wship6.dll" the three modern resolver calls; names are compared without
// case. Any other name answers nullptr. GetProcAddress answers nullptr for a
// name the library lacks.
using HSOCKETMODULE = const void*;
HSOCKETMODULE LoadLibrary(const String& name);
void* GetProcAddress(HSOCKETMODULE module, const char* procName);
bool FreeLibrary(HSOCKETMODULE module);

}  // namespace winsock
