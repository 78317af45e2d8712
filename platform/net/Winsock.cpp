// Winsock over BSD sockets. The system headers come first and their constants
// are copied into namespace lx before the macros are dropped, so that the
// Winsock names below can be declared and used unqualified in this file.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace lx {
constexpr int af_unspec = AF_UNSPEC, af_inet = AF_INET, af_inet6 = AF_INET6;
constexpr int sol_socket = SOL_SOCKET;
constexpr int so_debug = SO_DEBUG, so_reuseaddr = SO_REUSEADDR, so_keepalive = SO_KEEPALIVE,
              so_dontroute = SO_DONTROUTE, so_broadcast = SO_BROADCAST, so_linger = SO_LINGER,
              so_oobinline = SO_OOBINLINE, so_sndbuf = SO_SNDBUF, so_rcvbuf = SO_RCVBUF,
              so_sndtimeo = SO_SNDTIMEO, so_rcvtimeo = SO_RCVTIMEO, so_error = SO_ERROR, so_type = SO_TYPE;
constexpr int ip_ttl = IP_TTL, ip_multicast_if = IP_MULTICAST_IF, ip_multicast_ttl = IP_MULTICAST_TTL,
              ip_multicast_loop = IP_MULTICAST_LOOP, ip_add_membership = IP_ADD_MEMBERSHIP,
              ip_drop_membership = IP_DROP_MEMBERSHIP;
constexpr int ipv6_unicast_hops = IPV6_UNICAST_HOPS, ipv6_multicast_if = IPV6_MULTICAST_IF,
              ipv6_multicast_hops = IPV6_MULTICAST_HOPS, ipv6_multicast_loop = IPV6_MULTICAST_LOOP,
              ipv6_add_membership = IPV6_ADD_MEMBERSHIP, ipv6_drop_membership = IPV6_DROP_MEMBERSHIP,
              ipv6_v6only = IPV6_V6ONLY;
constexpr int ipproto_ip = IPPROTO_IP, ipproto_ipv6 = IPPROTO_IPV6, ipproto_tcp = IPPROTO_TCP;
constexpr int tcp_nodelay = TCP_NODELAY;
constexpr int msg_oob = MSG_OOB, msg_peek = MSG_PEEK, msg_dontroute = MSG_DONTROUTE, msg_waitall = MSG_WAITALL,
              msg_nosignal = MSG_NOSIGNAL;
constexpr int shut_rd = SHUT_RD, shut_wr = SHUT_WR, shut_rdwr = SHUT_RDWR;
constexpr unsigned long fionread = FIONREAD;
constexpr int ai_passive = AI_PASSIVE, ai_canonname = AI_CANONNAME, ai_numerichost = AI_NUMERICHOST,
              ai_numericserv = AI_NUMERICSERV, ai_all = AI_ALL, ai_addrconfig = AI_ADDRCONFIG,
              ai_v4mapped = AI_V4MAPPED;
constexpr int ni_nofqdn = NI_NOFQDN, ni_numerichost = NI_NUMERICHOST, ni_namereqd = NI_NAMEREQD,
              ni_numericserv = NI_NUMERICSERV, ni_dgram = NI_DGRAM;
constexpr int eai_noname = EAI_NONAME, eai_again = EAI_AGAIN, eai_fail = EAI_FAIL, eai_nodata = EAI_NODATA,
              eai_addrfamily = EAI_ADDRFAMILY, eai_service = EAI_SERVICE, eai_family = EAI_FAMILY,
              eai_socktype = EAI_SOCKTYPE, eai_badflags = EAI_BADFLAGS, eai_memory = EAI_MEMORY,
              eai_system = EAI_SYSTEM, eai_overflow = EAI_OVERFLOW;
using sockaddr = ::sockaddr;
using sockaddr_in = ::sockaddr_in;
using sockaddr_in6 = ::sockaddr_in6;
using sockaddr_storage = ::sockaddr_storage;
using addrinfo = ::addrinfo;
using linger = ::linger;
using timeval = ::timeval;
using ip_mreq = ::ip_mreq;
using ipv6_mreq = ::ipv6_mreq;
}  // namespace lx

#undef AF_UNSPEC
#undef AF_INET
#undef AF_INET6
#undef PF_INET
#undef PF_INET6
#undef SOCK_STREAM
#undef SOCK_DGRAM
#undef SOCK_RAW
#undef IPPROTO_IP
#undef IPPROTO_ICMP
#undef IPPROTO_TCP
#undef IPPROTO_UDP
#undef IPPROTO_IPV6
#undef SOL_SOCKET
#undef SO_DEBUG
#undef SO_REUSEADDR
#undef SO_KEEPALIVE
#undef SO_DONTROUTE
#undef SO_BROADCAST
#undef SO_LINGER
#undef SO_OOBINLINE
#undef SO_SNDBUF
#undef SO_RCVBUF
#undef SO_SNDTIMEO
#undef SO_RCVTIMEO
#undef SO_ERROR
#undef SO_TYPE
#undef IP_TTL
#undef IP_MULTICAST_IF
#undef IP_MULTICAST_TTL
#undef IP_MULTICAST_LOOP
#undef IP_ADD_MEMBERSHIP
#undef IP_DROP_MEMBERSHIP
#undef IPV6_UNICAST_HOPS
#undef IPV6_MULTICAST_IF
#undef IPV6_MULTICAST_HOPS
#undef IPV6_MULTICAST_LOOP
#undef IPV6_ADD_MEMBERSHIP
#undef IPV6_DROP_MEMBERSHIP
#undef IPV6_V6ONLY
#undef TCP_NODELAY
#undef MSG_OOB
#undef MSG_PEEK
#undef MSG_DONTROUTE
#undef MSG_WAITALL
#undef FIONREAD
#undef FIONBIO
#undef SOMAXCONN
#undef INADDR_ANY
#undef INADDR_NONE
#undef INADDR_BROADCAST
#undef AI_PASSIVE
#undef AI_CANONNAME
#undef AI_NUMERICHOST
#undef AI_NUMERICSERV
#undef AI_ALL
#undef AI_ADDRCONFIG
#undef AI_V4MAPPED
#undef NI_NOFQDN
#undef NI_NUMERICHOST
#undef NI_NAMEREQD
#undef NI_NUMERICSERV
#undef NI_DGRAM
#undef NI_MAXHOST
#undef NI_MAXSERV
#undef htonl
#undef htons
#undef ntohl
#undef ntohs
#undef h_addr
#undef s6_addr

#include "platform/net/Winsock.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/WinError.h"

namespace winsock {
namespace {

std::atomic<int> gStartCount{0};

int Fail(int wsaError) {
  WSASetLastError(wsaError);
  return SOCKET_ERROR;
}
// Leaves an error number and answers it (the resolver's way).
int SetError(int wsaError) {
  WSASetLastError(wsaError);
  return wsaError;
}
int FailErrno() { return Fail(WSAErrorFromErrno(errno)); }

int Fd(SOCKET s) { return s > 0x7FFFFFFF ? -1 : static_cast<int>(s); }

bool IsBlocking(int fd) {
  int fl = ::fcntl(fd, F_GETFL);
  return fl >= 0 && (fl & O_NONBLOCK) == 0;
}

// errno of a transfer: a receive or send time-out of a blocking socket shows
// as EAGAIN here but as WSAETIMEDOUT on Winsock.
int FailTransfer(int fd) {
  int e = errno;
  if ((e == EAGAIN || e == EWOULDBLOCK) && IsBlocking(fd)) return Fail(WSAETIMEDOUT);
  return Fail(WSAErrorFromErrno(e));
}

int FamilyToLinux(int af) {
  switch (af) {
    case AF_UNSPEC: return lx::af_unspec;
    case AF_INET: return lx::af_inet;
    case AF_INET6: return lx::af_inet6;
    default: return -1;
  }
}
int FamilyFromLinux(int af) {
  if (af == lx::af_inet) return AF_INET;
  if (af == lx::af_inet6) return AF_INET6;
  if (af == lx::af_unspec) return AF_UNSPEC;
  return -1;
}

struct FlagPair {
  int ws;
  int linux;
};
constexpr FlagPair kAiFlags[] = {{AI_PASSIVE, lx::ai_passive},         {AI_CANONNAME, lx::ai_canonname},
                                 {AI_NUMERICHOST, lx::ai_numerichost}, {AI_NUMERICSERV, lx::ai_numericserv},
                                 {AI_ALL, lx::ai_all},                 {AI_ADDRCONFIG, lx::ai_addrconfig},
                                 {AI_V4MAPPED, lx::ai_v4mapped}};
constexpr FlagPair kNiFlags[] = {{NI_NOFQDN, lx::ni_nofqdn},
                                 {NI_NUMERICHOST, lx::ni_numerichost},
                                 {NI_NAMEREQD, lx::ni_namereqd},
                                 {NI_NUMERICSERV, lx::ni_numericserv},
                                 {NI_DGRAM, lx::ni_dgram}};
constexpr FlagPair kMsgFlags[] = {{MSG_OOB, lx::msg_oob},
                                  {MSG_PEEK, lx::msg_peek},
                                  {MSG_DONTROUTE, lx::msg_dontroute},
                                  {MSG_WAITALL, lx::msg_waitall}};

template <std::size_t N>
int MapFlags(int flags, const FlagPair (&table)[N], bool toLinux) {
  int out = 0;
  for (const auto& p : table)
    if (flags & (toLinux ? p.ws : p.linux)) out |= toLinux ? p.linux : p.ws;
  return out;
}

// Winsock address record -> system record. Answers its length, or 0 with the
// last error set (too short, unknown family).
socklen_t SockAddrToLinux(const sockaddr* name, int namelen, lx::sockaddr_storage& out) {
  std::memset(&out, 0, sizeof out);
  if (name == nullptr || namelen < static_cast<int>(sizeof(u_short))) {
    Fail(WSAEFAULT);
    return 0;
  }
  u_short family;
  std::memcpy(&family, name, sizeof family);
  if (family == AF_INET) {
    if (namelen < static_cast<int>(sizeof(sockaddr_in))) return Fail(WSAEFAULT), 0;
    sockaddr_in in;
    std::memcpy(&in, name, sizeof in);
    auto* l = reinterpret_cast<lx::sockaddr_in*>(&out);
    l->sin_family = lx::af_inet;
    l->sin_port = in.sin_port;
    l->sin_addr.s_addr = in.sin_addr.s_addr;
    return sizeof(lx::sockaddr_in);
  }
  if (family == AF_INET6) {
    if (namelen < static_cast<int>(sizeof(sockaddr_in6))) return Fail(WSAEFAULT), 0;
    sockaddr_in6 in6;
    std::memcpy(&in6, name, sizeof in6);
    auto* l = reinterpret_cast<lx::sockaddr_in6*>(&out);
    l->sin6_family = lx::af_inet6;
    l->sin6_port = in6.sin6_port;
    l->sin6_flowinfo = in6.sin6_flowinfo;
    std::memcpy(&l->sin6_addr, in6.sin6_addr.s6_addr, 16);
    l->sin6_scope_id = in6.sin6_scope_id;
    return sizeof(lx::sockaddr_in6);
  }
  Fail(WSAEAFNOSUPPORT);
  return 0;
}

// System record -> Winsock record of *namelen bytes; false with WSAEFAULT when
// it does not fit. namelen becomes the Winsock length.
bool SockAddrFromLinux(const lx::sockaddr_storage& in, sockaddr* name, int* namelen) {
  if (name == nullptr || namelen == nullptr) return true;  // caller did not ask
  if (in.ss_family == lx::af_inet) {
    if (*namelen < static_cast<int>(sizeof(sockaddr_in))) return Fail(WSAEFAULT), false;
    const auto* l = reinterpret_cast<const lx::sockaddr_in*>(&in);
    sockaddr_in w{};
    w.sin_family = AF_INET;
    w.sin_port = l->sin_port;
    w.sin_addr.s_addr = l->sin_addr.s_addr;
    std::memcpy(name, &w, sizeof w);
    *namelen = sizeof w;
    return true;
  }
  if (in.ss_family == lx::af_inet6) {
    if (*namelen < static_cast<int>(sizeof(sockaddr_in6))) return Fail(WSAEFAULT), false;
    const auto* l = reinterpret_cast<const lx::sockaddr_in6*>(&in);
    sockaddr_in6 w{};
    w.sin6_family = AF_INET6;
    w.sin6_port = l->sin6_port;
    w.sin6_flowinfo = l->sin6_flowinfo;
    std::memcpy(w.sin6_addr.s6_addr, &l->sin6_addr, 16);
    w.sin6_scope_id = l->sin6_scope_id;
    std::memcpy(name, &w, sizeof w);
    *namelen = sizeof w;
    return true;
  }
  // Unnamed (e.g. an unbound socket): a zeroed record of the caller's size.
  std::memset(name, 0, static_cast<std::size_t>(std::max(*namelen, 0)));
  return true;
}

int ResolverError(int eai) {
  if (eai == 0) return 0;
  if (eai == lx::eai_noname) return WSAHOST_NOT_FOUND;
  if (eai == lx::eai_again) return WSATRY_AGAIN;
  if (eai == lx::eai_fail) return WSANO_RECOVERY;
  if (eai == lx::eai_nodata || eai == lx::eai_addrfamily) return WSANO_DATA;
  if (eai == lx::eai_service) return WSATYPE_NOT_FOUND;
  if (eai == lx::eai_family) return WSAEAFNOSUPPORT;
  if (eai == lx::eai_socktype) return WSAESOCKTNOSUPPORT;
  if (eai == lx::eai_badflags) return WSAEINVAL;
  if (eai == lx::eai_memory) return WSA_NOT_ENOUGH_MEMORY;
  if (eai == lx::eai_overflow) return WSAEFAULT;
  if (eai == lx::eai_system) return WSAErrorFromErrno(errno);
  return WSANO_RECOVERY;
}

// One node of a result list: the record and its address in one allocation.
struct AddrNode {
  addrinfo ai;
  sockaddr_in6 addr;  // large enough for either family
};

int ReadIntOpt(const char* optval, int optlen, int& value) {
  if (optval == nullptr || optlen < 1) return Fail(WSAEFAULT);
  if (optlen >= static_cast<int>(sizeof(int))) {
    std::memcpy(&value, optval, sizeof value);
  } else {
    value = static_cast<unsigned char>(optval[0]);  // a one-byte BOOL
  }
  return 0;
}

int WriteIntOpt(char* optval, int* optlen, int value) {
  if (optval == nullptr || optlen == nullptr || *optlen < static_cast<int>(sizeof(int))) return Fail(WSAEFAULT);
  std::memcpy(optval, &value, sizeof value);
  *optlen = sizeof value;
  return 0;
}

// Plain integer options: Winsock (level, name) -> system (level, name).
struct OptPair {
  int wsLevel, wsName, lxLevel, lxName;
};
constexpr OptPair kIntOptions[] = {
    {SOL_SOCKET, SO_DEBUG, lx::sol_socket, lx::so_debug},
    {SOL_SOCKET, SO_REUSEADDR, lx::sol_socket, lx::so_reuseaddr},
    {SOL_SOCKET, SO_KEEPALIVE, lx::sol_socket, lx::so_keepalive},
    {SOL_SOCKET, SO_DONTROUTE, lx::sol_socket, lx::so_dontroute},
    {SOL_SOCKET, SO_BROADCAST, lx::sol_socket, lx::so_broadcast},
    {SOL_SOCKET, SO_OOBINLINE, lx::sol_socket, lx::so_oobinline},
    {SOL_SOCKET, SO_SNDBUF, lx::sol_socket, lx::so_sndbuf},
    {SOL_SOCKET, SO_RCVBUF, lx::sol_socket, lx::so_rcvbuf},
    {SOL_SOCKET, SO_TYPE, lx::sol_socket, lx::so_type},
    {IPPROTO_IP, IP_TTL, lx::ipproto_ip, lx::ip_ttl},
    {IPPROTO_IP, IP_MULTICAST_TTL, lx::ipproto_ip, lx::ip_multicast_ttl},
    {IPPROTO_IP, IP_MULTICAST_LOOP, lx::ipproto_ip, lx::ip_multicast_loop},
    {IPPROTO_IPV6, IPV6_UNICAST_HOPS, lx::ipproto_ipv6, lx::ipv6_unicast_hops},
    {IPPROTO_IPV6, IPV6_MULTICAST_HOPS, lx::ipproto_ipv6, lx::ipv6_multicast_hops},
    {IPPROTO_IPV6, IPV6_MULTICAST_LOOP, lx::ipproto_ipv6, lx::ipv6_multicast_loop},
    {IPPROTO_IPV6, IPV6_MULTICAST_IF, lx::ipproto_ipv6, lx::ipv6_multicast_if},
    {IPPROTO_IPV6, IPV6_V6ONLY, lx::ipproto_ipv6, lx::ipv6_v6only},
    {IPPROTO_TCP, TCP_NODELAY, lx::ipproto_tcp, lx::tcp_nodelay},
};

const OptPair* FindIntOption(int level, int name) {
  for (const auto& o : kIntOptions)
    if (o.wsLevel == level && o.wsName == name) return &o;
  return nullptr;
}

// Storage of the older resolver's records, one set per thread.
struct HostStore {
  std::string name;
  std::vector<std::string> addrs;
  std::vector<char*> addrPtrs;
  char* aliases[1] = {nullptr};
  hostent h{};
};
struct ServStore {
  std::string name, proto;
  char* aliases[1] = {nullptr};
  servent s{};
};
struct ProtoStore {
  std::string name;
  char* aliases[1] = {nullptr};
  protoent p{};
};
thread_local HostStore tHost;
thread_local ServStore tServ;
thread_local ProtoStore tProto;
thread_local char tNtoa[16];

hostent* FillHost(const std::string& name, const std::vector<std::array<unsigned char, 4>>& addrs) {
  HostStore& st = tHost;
  st.name = name;
  st.addrs.clear();
  for (const auto& a : addrs) st.addrs.emplace_back(reinterpret_cast<const char*>(a.data()), 4);
  st.addrPtrs.clear();
  for (auto& a : st.addrs) st.addrPtrs.push_back(a.data());
  st.addrPtrs.push_back(nullptr);
  st.h.h_name = st.name.data();
  st.h.h_aliases = st.aliases;
  st.h.h_addrtype = AF_INET;
  st.h.h_length = 4;
  st.h.h_addr_list = st.addrPtrs.data();
  return &st.h;
}

servent* FillServ(const ::servent& s) {
  ServStore& st = tServ;
  st.name = s.s_name ? s.s_name : "";
  st.proto = s.s_proto ? s.s_proto : "";
  st.s.s_name = st.name.data();
  st.s.s_aliases = st.aliases;
  st.s.s_port = static_cast<short>(s.s_port);  // both network order
  st.s.s_proto = st.proto.data();
  return &st.s;
}

protoent* FillProto(const ::protoent& p) {
  ProtoStore& st = tProto;
  st.name = p.p_name ? p.p_name : "";
  st.p.p_name = st.name.data();
  st.p.p_aliases = st.aliases;
  st.p.p_proto = static_cast<short>(p.p_proto);
  return &st.p;
}

}  // namespace

int WSAStartup(Word wVersionRequested, WSAData* lpWSAData) {
  Byte major = wVersionRequested & 0xFF, minor = wVersionRequested >> 8;
  if (major < 1 || (major == 1 && minor < 1)) return WSAVERNOTSUPPORTED;
  if (lpWSAData == nullptr) return WSAEFAULT;
  std::memset(lpWSAData, 0, sizeof *lpWSAData);
  Word granted = major > 2 || (major == 2 && minor >= 2) ? Word(0x0202) : wVersionRequested;
  lpWSAData->wVersion = granted;
  lpWSAData->wHighVersion = 0x0202;
  std::strcpy(lpWSAData->szDescription, "BSD sockets");
  std::strcpy(lpWSAData->szSystemStatus, "Running");
  ++gStartCount;
  return 0;
}

int WSACleanup() {
  int n = gStartCount.load();
  while (n > 0 && !gStartCount.compare_exchange_weak(n, n - 1)) {
  }
  if (n <= 0) return Fail(WSANOTINITIALISED);
  return 0;
}

// Winsock keeps its error in the thread's last error, as Windows does.
int WSAGetLastError() { return static_cast<int>(GetLastError()); }
void WSASetLastError(int iError) { SetLastError(static_cast<DWORD>(iError)); }

namespace {
struct ErrPair {
  int err, wsa;
};
constexpr ErrPair kErrnoTable[] = {
    {EINTR, WSAEINTR},
    {ENOTSOCK, WSAENOTSOCK},
    {EBADF, WSAENOTSOCK},  // an invalid handle is "not a socket" to Winsock
    {EBADF, WSAEBADF},
    {EACCES, WSAEACCES},
    {EPERM, WSAEACCES},
    {EFAULT, WSAEFAULT},
    {EINVAL, WSAEINVAL},
    {EMFILE, WSAEMFILE},
    {ENFILE, WSAEMFILE},
    {EWOULDBLOCK, WSAEWOULDBLOCK},
    {EINPROGRESS, WSAEINPROGRESS},
    {EALREADY, WSAEALREADY},
    {EDESTADDRREQ, WSAEDESTADDRREQ},
    {EMSGSIZE, WSAEMSGSIZE},
    {EPROTOTYPE, WSAEPROTOTYPE},
    {ENOPROTOOPT, WSAENOPROTOOPT},
    {EPROTONOSUPPORT, WSAEPROTONOSUPPORT},
    {ESOCKTNOSUPPORT, WSAESOCKTNOSUPPORT},
    {EOPNOTSUPP, WSAEOPNOTSUPP},
    {EPFNOSUPPORT, WSAEPFNOSUPPORT},
    {EAFNOSUPPORT, WSAEAFNOSUPPORT},
    {EADDRINUSE, WSAEADDRINUSE},
    {EADDRNOTAVAIL, WSAEADDRNOTAVAIL},
    {ENETDOWN, WSAENETDOWN},
    {ENETUNREACH, WSAENETUNREACH},
    {ENETRESET, WSAENETRESET},
    {ECONNABORTED, WSAECONNABORTED},
    {ECONNRESET, WSAECONNRESET},
    {EPIPE, WSAECONNRESET},  // the peer is gone; Winsock reports a reset
    {ENOBUFS, WSAENOBUFS},
    {ENOMEM, WSAENOBUFS},
    {EISCONN, WSAEISCONN},
    {ENOTCONN, WSAENOTCONN},
    {ESHUTDOWN, WSAESHUTDOWN},
    {ETOOMANYREFS, WSAETOOMANYREFS},
    {ETIMEDOUT, WSAETIMEDOUT},
    {ECONNREFUSED, WSAECONNREFUSED},
    {ELOOP, WSAELOOP},
    {ENAMETOOLONG, WSAENAMETOOLONG},
    {EHOSTDOWN, WSAEHOSTDOWN},
    {EHOSTUNREACH, WSAEHOSTUNREACH},
    {ENOTEMPTY, WSAENOTEMPTY},
    {EUSERS, WSAEUSERS},
    {EDQUOT, WSAEDQUOT},
    {ESTALE, WSAESTALE},
    {EREMOTE, WSAEREMOTE},
};
}  // namespace

int WSAErrorFromErrno(int errnoValue) {
  if (errnoValue == 0) return 0;
  if (errnoValue == EAGAIN) return WSAEWOULDBLOCK;
  for (const auto& p : kErrnoTable)
    if (p.err == errnoValue) return p.wsa;
  return WSAEINVAL;
}

int ErrnoFromWSAError(int wsaError) {
  if (wsaError == 0) return 0;
  for (const auto& p : kErrnoTable)
    if (p.wsa == wsaError) return p.err;  // the first row of a number is its errno
  return EINVAL;
}

SOCKET socket(int af, int type, int protocol) {
  if (gStartCount.load() <= 0) return Fail(WSANOTINITIALISED), INVALID_SOCKET;
  int laf = FamilyToLinux(af);
  if (laf < 0 || laf == lx::af_unspec) return Fail(WSAEAFNOSUPPORT), INVALID_SOCKET;
  if (type != SOCK_STREAM && type != SOCK_DGRAM && type != SOCK_RAW) return Fail(WSAESOCKTNOSUPPORT), INVALID_SOCKET;
  // SOCK_STREAM/DGRAM/RAW have the same numbers on both sides.
  int fd = ::socket(laf, type | SOCK_CLOEXEC, protocol);
  if (fd < 0) return FailErrno(), INVALID_SOCKET;
  if (laf == lx::af_inet6) {
    int on = 1;  // Winsock's IPv6 sockets are IPv6 only unless told otherwise
    ::setsockopt(fd, lx::ipproto_ipv6, lx::ipv6_v6only, &on, sizeof on);
  }
  WSASetLastError(0);
  return static_cast<SOCKET>(fd);
}

int closesocket(SOCKET s) {
  int fd = Fd(s);
  if (fd < 0) return Fail(WSAENOTSOCK);
  if (::close(fd) != 0) return FailErrno();
  return 0;
}

int shutdown(SOCKET s, int how) {
  int lhow = how == SD_RECEIVE ? lx::shut_rd : how == SD_SEND ? lx::shut_wr : how == SD_BOTH ? lx::shut_rdwr : -1;
  if (lhow < 0) return Fail(WSAEINVAL);
  if (::shutdown(Fd(s), lhow) != 0) return FailErrno();
  return 0;
}

int bind(SOCKET s, const sockaddr* name, int namelen) {
  lx::sockaddr_storage ss;
  socklen_t len = SockAddrToLinux(name, namelen, ss);
  if (len == 0) return SOCKET_ERROR;
  if (::bind(Fd(s), reinterpret_cast<lx::sockaddr*>(&ss), len) != 0) return FailErrno();
  return 0;
}

int connect(SOCKET s, const sockaddr* name, int namelen) {
  lx::sockaddr_storage ss;
  socklen_t len = SockAddrToLinux(name, namelen, ss);
  if (len == 0) return SOCKET_ERROR;
  int r;
  do r = ::connect(Fd(s), reinterpret_cast<lx::sockaddr*>(&ss), len);
  while (r != 0 && errno == EINTR && IsBlocking(Fd(s)));
  if (r != 0) {
    // A non-blocking connect under way is "would block" to Winsock.
    if (errno == EINPROGRESS) return Fail(WSAEWOULDBLOCK);
    return FailErrno();
  }
  return 0;
}

int listen(SOCKET s, int backlog) {
  if (::listen(Fd(s), std::clamp(backlog, 0, 4096)) != 0) return FailErrno();
  return 0;
}

SOCKET accept(SOCKET s, sockaddr* addr, int* addrlen) {
  lx::sockaddr_storage ss{};
  socklen_t len = sizeof ss;
  int fd;
  do fd = ::accept4(Fd(s), reinterpret_cast<lx::sockaddr*>(&ss), &len, SOCK_CLOEXEC);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) return FailErrno(), INVALID_SOCKET;
  if (!SockAddrFromLinux(ss, addr, addrlen)) {
    ::close(fd);
    return INVALID_SOCKET;
  }
  return static_cast<SOCKET>(fd);
}

int getsockname(SOCKET s, sockaddr* name, int* namelen) {
  lx::sockaddr_storage ss{};
  socklen_t len = sizeof ss;
  if (::getsockname(Fd(s), reinterpret_cast<lx::sockaddr*>(&ss), &len) != 0) return FailErrno();
  if (name == nullptr || namelen == nullptr) return Fail(WSAEFAULT);
  return SockAddrFromLinux(ss, name, namelen) ? 0 : SOCKET_ERROR;
}

int getpeername(SOCKET s, sockaddr* name, int* namelen) {
  lx::sockaddr_storage ss{};
  socklen_t len = sizeof ss;
  if (::getpeername(Fd(s), reinterpret_cast<lx::sockaddr*>(&ss), &len) != 0) return FailErrno();
  if (name == nullptr || namelen == nullptr) return Fail(WSAEFAULT);
  return SockAddrFromLinux(ss, name, namelen) ? 0 : SOCKET_ERROR;
}

int send(SOCKET s, const char* buf, int len, int flags) {
  if (len < 0 || (buf == nullptr && len > 0)) return Fail(WSAEFAULT);
  ssize_t n;
  do n = ::send(Fd(s), buf, static_cast<size_t>(len), MapFlags(flags, kMsgFlags, true) | lx::msg_nosignal);
  while (n < 0 && errno == EINTR);
  if (n < 0) return FailTransfer(Fd(s));
  return static_cast<int>(n);
}

int recv(SOCKET s, char* buf, int len, int flags) {
  if (len < 0 || (buf == nullptr && len > 0)) return Fail(WSAEFAULT);
  ssize_t n;
  do n = ::recv(Fd(s), buf, static_cast<size_t>(len), MapFlags(flags, kMsgFlags, true));
  while (n < 0 && errno == EINTR);
  if (n < 0) return FailTransfer(Fd(s));
  return static_cast<int>(n);
}

int sendto(SOCKET s, const char* buf, int len, int flags, const sockaddr* to, int tolen) {
  if (len < 0 || (buf == nullptr && len > 0)) return Fail(WSAEFAULT);
  lx::sockaddr_storage ss;
  socklen_t sl = 0;
  if (to != nullptr) {
    sl = SockAddrToLinux(to, tolen, ss);
    if (sl == 0) return SOCKET_ERROR;
  }
  ssize_t n;
  do n = ::sendto(Fd(s), buf, static_cast<size_t>(len), MapFlags(flags, kMsgFlags, true) | lx::msg_nosignal,
                  to ? reinterpret_cast<lx::sockaddr*>(&ss) : nullptr, sl);
  while (n < 0 && errno == EINTR);
  if (n < 0) return FailTransfer(Fd(s));
  return static_cast<int>(n);
}

int recvfrom(SOCKET s, char* buf, int len, int flags, sockaddr* from, int* fromlen) {
  if (len < 0 || (buf == nullptr && len > 0)) return Fail(WSAEFAULT);
  lx::sockaddr_storage ss{};
  socklen_t sl = sizeof ss;
  ssize_t n;
  do n = ::recvfrom(Fd(s), buf, static_cast<size_t>(len), MapFlags(flags, kMsgFlags, true),
                    reinterpret_cast<lx::sockaddr*>(&ss), &sl);
  while (n < 0 && errno == EINTR);
  if (n < 0) return FailTransfer(Fd(s));
  if (!SockAddrFromLinux(ss, from, fromlen)) return SOCKET_ERROR;
  return static_cast<int>(n);
}

int setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen) {
  int fd = Fd(s);
  if (level == SOL_SOCKET && optname == SO_LINGER) {
    if (optval == nullptr || optlen < static_cast<int>(sizeof(linger))) return Fail(WSAEFAULT);
    linger w;
    std::memcpy(&w, optval, sizeof w);
    lx::linger l{w.l_onoff ? 1 : 0, w.l_linger};
    if (::setsockopt(fd, lx::sol_socket, lx::so_linger, &l, sizeof l) != 0) return FailErrno();
    return 0;
  }
  if (level == SOL_SOCKET && (optname == SO_SNDTIMEO || optname == SO_RCVTIMEO)) {
    int ms = 0;
    if (ReadIntOpt(optval, optlen, ms) != 0) return SOCKET_ERROR;
    DWORD dms = static_cast<DWORD>(ms);
    lx::timeval tv{static_cast<time_t>(dms / 1000), static_cast<suseconds_t>((dms % 1000) * 1000)};
    int name = optname == SO_SNDTIMEO ? lx::so_sndtimeo : lx::so_rcvtimeo;
    if (::setsockopt(fd, lx::sol_socket, name, &tv, sizeof tv) != 0) return FailErrno();
    return 0;
  }
  if ((level == IPPROTO_IP && (optname == IP_ADD_MEMBERSHIP || optname == IP_DROP_MEMBERSHIP)) ||
      (level == IPPROTO_IP && optname == IP_MULTICAST_IF)) {
    if (optname == IP_MULTICAST_IF) {
      if (optval == nullptr || optlen < 4) return Fail(WSAEFAULT);
      ::in_addr a;
      std::memcpy(&a.s_addr, optval, 4);
      if (::setsockopt(fd, lx::ipproto_ip, lx::ip_multicast_if, &a, sizeof a) != 0) return FailErrno();
      return 0;
    }
    if (optval == nullptr || optlen < static_cast<int>(sizeof(ip_mreq))) return Fail(WSAEFAULT);
    ip_mreq w;
    std::memcpy(&w, optval, sizeof w);
    lx::ip_mreq m{};
    m.imr_multiaddr.s_addr = w.imr_multiaddr.s_addr;
    m.imr_interface.s_addr = w.imr_interface.s_addr;
    int name = optname == IP_ADD_MEMBERSHIP ? lx::ip_add_membership : lx::ip_drop_membership;
    if (::setsockopt(fd, lx::ipproto_ip, name, &m, sizeof m) != 0) return FailErrno();
    return 0;
  }
  if (level == IPPROTO_IPV6 && (optname == IPV6_ADD_MEMBERSHIP || optname == IPV6_DROP_MEMBERSHIP)) {
    if (optval == nullptr || optlen < static_cast<int>(sizeof(ipv6_mreq))) return Fail(WSAEFAULT);
    ipv6_mreq w;
    std::memcpy(&w, optval, sizeof w);
    lx::ipv6_mreq m{};
    std::memcpy(&m.ipv6mr_multiaddr, w.ipv6mr_multiaddr.s6_addr, 16);
    m.ipv6mr_interface = w.ipv6mr_interface;
    int name = optname == IPV6_ADD_MEMBERSHIP ? lx::ipv6_add_membership : lx::ipv6_drop_membership;
    if (::setsockopt(fd, lx::ipproto_ipv6, name, &m, sizeof m) != 0) return FailErrno();
    return 0;
  }
  const OptPair* o = FindIntOption(level, optname);
  if (o == nullptr || optname == SO_TYPE) return Fail(WSAENOPROTOOPT);
  int v = 0;
  if (ReadIntOpt(optval, optlen, v) != 0) return SOCKET_ERROR;
  if (::setsockopt(fd, o->lxLevel, o->lxName, &v, sizeof v) != 0) return FailErrno();
  return 0;
}

int getsockopt(SOCKET s, int level, int optname, char* optval, int* optlen) {
  int fd = Fd(s);
  if (level == SOL_SOCKET && optname == SO_LINGER) {
    lx::linger l{};
    socklen_t len = sizeof l;
    if (::getsockopt(fd, lx::sol_socket, lx::so_linger, &l, &len) != 0) return FailErrno();
    if (optval == nullptr || optlen == nullptr || *optlen < static_cast<int>(sizeof(linger))) return Fail(WSAEFAULT);
    linger w{static_cast<u_short>(l.l_onoff ? 1 : 0), static_cast<u_short>(l.l_linger)};
    std::memcpy(optval, &w, sizeof w);
    *optlen = sizeof w;
    return 0;
  }
  if (level == SOL_SOCKET && (optname == SO_SNDTIMEO || optname == SO_RCVTIMEO)) {
    lx::timeval tv{};
    socklen_t len = sizeof tv;
    if (::getsockopt(fd, lx::sol_socket, optname == SO_SNDTIMEO ? lx::so_sndtimeo : lx::so_rcvtimeo, &tv, &len) != 0)
      return FailErrno();
    return WriteIntOpt(optval, optlen, static_cast<int>(tv.tv_sec * 1000 + tv.tv_usec / 1000));
  }
  if (level == SOL_SOCKET && optname == SO_ERROR) {
    int e = 0;
    socklen_t len = sizeof e;
    if (::getsockopt(fd, lx::sol_socket, lx::so_error, &e, &len) != 0) return FailErrno();
    return WriteIntOpt(optval, optlen, WSAErrorFromErrno(e));
  }
  const OptPair* o = FindIntOption(level, optname);
  if (o == nullptr) return Fail(WSAENOPROTOOPT);
  int v = 0;
  socklen_t len = sizeof v;
  if (::getsockopt(fd, o->lxLevel, o->lxName, &v, &len) != 0) return FailErrno();
  if (len == 1) v = static_cast<unsigned char>(v & 0xFF);
  return WriteIntOpt(optval, optlen, v);
}

int ioctlsocket(SOCKET s, long cmd, u_long* argp) {
  int fd = Fd(s);
  if (argp == nullptr) return Fail(WSAEFAULT);
  if (cmd == FIONREAD) {
    int n = 0;
    if (::ioctl(fd, lx::fionread, &n) != 0) return FailErrno();
    *argp = static_cast<u_long>(std::max(n, 0));
    return 0;
  }
  if (cmd == FIONBIO) {
    int fl = ::fcntl(fd, F_GETFL);
    if (fl < 0) return FailErrno();
    fl = *argp ? (fl | O_NONBLOCK) : (fl & ~O_NONBLOCK);
    if (::fcntl(fd, F_SETFL, fl) != 0) return FailErrno();
    return 0;
  }
  return Fail(WSAEINVAL);
}

int WSAIoctl(SOCKET s, DWORD dwIoControlCode, void* lpvInBuffer, DWORD cbInBuffer, void* lpvOutBuffer,
             DWORD cbOutBuffer, DWORD* lpcbBytesReturned, void* /*lpOverlapped*/, void* /*lpCompletionRoutine*/) {
  long cmd = static_cast<long>(dwIoControlCode);
  u_long v = 0;
  if (cmd == FIONBIO) {
    if (lpvInBuffer == nullptr || cbInBuffer < sizeof v) return Fail(WSAEFAULT);
    std::memcpy(&v, lpvInBuffer, sizeof v);
    if (ioctlsocket(s, cmd, &v) != 0) return SOCKET_ERROR;
    if (lpcbBytesReturned) *lpcbBytesReturned = 0;
    return 0;
  }
  if (cmd == FIONREAD) {
    if (lpvOutBuffer == nullptr || cbOutBuffer < sizeof v) return Fail(WSAEFAULT);
    if (ioctlsocket(s, cmd, &v) != 0) return SOCKET_ERROR;
    std::memcpy(lpvOutBuffer, &v, sizeof v);
    if (lpcbBytesReturned) *lpcbBytesReturned = sizeof v;
    return 0;
  }
  return Fail(WSAEOPNOTSUPP);
}

int select(int /*nfds*/, fd_set* readfds, fd_set* writefds, fd_set* exceptfds, const timeval* timeout) {
  std::vector<pollfd> fds;
  auto add = [&](fd_set* set, short events) {
    if (set == nullptr) return true;
    if (set->fd_count > WINSOCK_FD_SETSIZE) return false;
    for (u_int i = 0; i < set->fd_count; ++i) {
      int fd = Fd(set->fd_array[i]);
      if (fd < 0) return false;
      auto it = std::find_if(fds.begin(), fds.end(), [&](const pollfd& p) { return p.fd == fd; });
      if (it == fds.end()) fds.push_back({fd, events, 0});
      else it->events |= events;
    }
    return true;
  };
  if (!add(readfds, POLLIN) || !add(writefds, POLLOUT) || !add(exceptfds, POLLPRI)) return Fail(WSAENOTSOCK);
  if (fds.empty()) return Fail(WSAEINVAL);
  int waitMs = -1;
  if (timeout != nullptr) {
    if (timeout->tv_sec < 0 || timeout->tv_usec < 0) return Fail(WSAEINVAL);
    long long ms = static_cast<long long>(timeout->tv_sec) * 1000 + (timeout->tv_usec + 999) / 1000;
    waitMs = static_cast<int>(std::min<long long>(ms, 0x7FFFFFFF));
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(waitMs, 0));
  int r;
  for (;;) {
    r = ::poll(fds.data(), fds.size(), waitMs);
    if (r >= 0 || errno != EINTR) break;
    if (waitMs >= 0) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      waitMs = static_cast<int>(std::max<long long>(left.count(), 0));
    }
  }
  if (r < 0) return FailErrno();
  for (const auto& p : fds)
    if (p.revents & POLLNVAL) return Fail(WSAENOTSOCK);
  auto keep = [&](fd_set* set, short mask) {
    if (set == nullptr) return 0;
    u_int out = 0;
    for (u_int i = 0; i < set->fd_count; ++i) {
      int fd = Fd(set->fd_array[i]);
      auto it = std::find_if(fds.begin(), fds.end(), [&](const pollfd& p) { return p.fd == fd; });
      if (it != fds.end() && (it->revents & mask)) set->fd_array[out++] = set->fd_array[i];
    }
    set->fd_count = out;
    return static_cast<int>(out);
  };
  // A closed or failed socket counts as readable and writable, as BSD select
  // reports it; the following call then returns the error.
  int total = keep(readfds, POLLIN | POLLHUP | POLLERR);
  total += keep(writefds, POLLOUT | POLLERR | POLLHUP);
  total += keep(exceptfds, POLLPRI);
  WSASetLastError(0);
  return total;
}

int __WSAFDIsSet(SOCKET s, fd_set* set) {
  if (set == nullptr) return 0;
  for (u_int i = 0; i < std::min(set->fd_count, WINSOCK_FD_SETSIZE); ++i)
    if (set->fd_array[i] == s) return 1;
  return 0;
}

u_long htonl(u_long v) { return ::htonl(v); }
u_short htons(u_short v) { return ::htons(v); }
u_long ntohl(u_long v) { return ::ntohl(v); }
u_short ntohs(u_short v) { return ::ntohs(v); }

u_long inet_addr(const char* cp) {
  ::in_addr a;
  if (cp == nullptr || ::inet_aton(cp, &a) == 0) return INADDR_NONE;
  return a.s_addr;
}

char* inet_ntoa(in_addr in) {
  const auto* b = reinterpret_cast<const unsigned char*>(&in.s_addr);
  std::snprintf(tNtoa, sizeof tNtoa, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
  return tNtoa;
}

hostent* gethostbyname(const char* name) {
  if (name == nullptr) return Fail(WSAEFAULT), nullptr;
  lx::addrinfo hints{};
  hints.ai_family = lx::af_inet;
  hints.ai_flags = lx::ai_canonname;
  lx::addrinfo* res = nullptr;
  int r = ::getaddrinfo(*name ? name : "localhost", nullptr, &hints, &res);
  if (r != 0) return Fail(ResolverError(r)), nullptr;
  std::vector<std::array<unsigned char, 4>> addrs;
  std::string canon = res->ai_canonname ? res->ai_canonname : name;
  for (auto* p = res; p != nullptr; p = p->ai_next) {
    std::array<unsigned char, 4> a;
    std::memcpy(a.data(), &reinterpret_cast<lx::sockaddr_in*>(p->ai_addr)->sin_addr, 4);
    if (std::find(addrs.begin(), addrs.end(), a) == addrs.end()) addrs.push_back(a);
  }
  ::freeaddrinfo(res);
  WSASetLastError(0);
  return FillHost(canon, addrs);
}

hostent* gethostbyaddr(const char* addr, int len, int type) {
  if (addr == nullptr) return Fail(WSAEFAULT), nullptr;
  if (type != AF_INET || len < 4) return Fail(WSAEAFNOSUPPORT), nullptr;
  lx::sockaddr_in sa{};
  sa.sin_family = lx::af_inet;
  std::memcpy(&sa.sin_addr, addr, 4);
  char host[1025];
  int r = ::getnameinfo(reinterpret_cast<lx::sockaddr*>(&sa), sizeof sa, host, sizeof host, nullptr, 0, lx::ni_namereqd);
  if (r != 0) return Fail(ResolverError(r)), nullptr;
  std::array<unsigned char, 4> a;
  std::memcpy(a.data(), addr, 4);
  WSASetLastError(0);
  return FillHost(host, {a});
}

servent* getservbyname(const char* name, const char* proto) {
  if (name == nullptr) return Fail(WSAEFAULT), nullptr;
  ::servent s{}, *out = nullptr;
  char buf[1024];
  if (::getservbyname_r(name, proto, &s, buf, sizeof buf, &out) != 0 || out == nullptr)
    return Fail(WSANO_DATA), nullptr;
  WSASetLastError(0);
  return FillServ(s);
}

servent* getservbyport(int port, const char* proto) {
  ::servent s{}, *out = nullptr;
  char buf[1024];
  if (::getservbyport_r(port, proto, &s, buf, sizeof buf, &out) != 0 || out == nullptr)
    return Fail(WSANO_DATA), nullptr;
  WSASetLastError(0);
  return FillServ(s);
}

protoent* getprotobyname(const char* name) {
  if (name == nullptr) return Fail(WSAEFAULT), nullptr;
  ::protoent p{}, *out = nullptr;
  char buf[1024];
  if (::getprotobyname_r(name, &p, buf, sizeof buf, &out) != 0 || out == nullptr) return Fail(WSANO_DATA), nullptr;
  WSASetLastError(0);
  return FillProto(p);
}

protoent* getprotobynumber(int number) {
  ::protoent p{}, *out = nullptr;
  char buf[1024];
  if (::getprotobynumber_r(number, &p, buf, sizeof buf, &out) != 0 || out == nullptr)
    return Fail(WSANO_DATA), nullptr;
  WSASetLastError(0);
  return FillProto(p);
}

int gethostname(char* name, int namelen) {
  if (name == nullptr || namelen <= 0) return Fail(WSAEFAULT);
  char buf[256] = {};
  if (::gethostname(buf, sizeof buf - 1) != 0) return FailErrno();
  if (std::strlen(buf) + 1 > static_cast<size_t>(namelen)) return Fail(WSAEFAULT);
  std::strcpy(name, buf);
  return 0;
}

int getaddrinfo(const char* nodename, const char* servname, const addrinfo* hints, addrinfo** res) {
  if (res == nullptr) return SetError(WSAEINVAL);
  *res = nullptr;
  lx::addrinfo h{};
  if (hints != nullptr) {
    h.ai_family = FamilyToLinux(hints->ai_family);
    if (h.ai_family < 0) return SetError(WSAEAFNOSUPPORT);
    h.ai_socktype = hints->ai_socktype;
    h.ai_protocol = hints->ai_protocol;
    h.ai_flags = MapFlags(hints->ai_flags, kAiFlags, true);
  }
  lx::addrinfo* lres = nullptr;
  int r = ::getaddrinfo(nodename, servname, hints ? &h : nullptr, &lres);
  if (r != 0) return SetError(ResolverError(r));
  addrinfo* head = nullptr;
  addrinfo** tail = &head;
  for (auto* p = lres; p != nullptr; p = p->ai_next) {
    int fam = FamilyFromLinux(p->ai_family);
    if (fam != AF_INET && fam != AF_INET6) continue;
    auto* node = new AddrNode{};
    lx::sockaddr_storage ss{};
    std::memcpy(&ss, p->ai_addr, std::min<size_t>(p->ai_addrlen, sizeof ss));
    int len = sizeof node->addr;
    SockAddrFromLinux(ss, reinterpret_cast<sockaddr*>(&node->addr), &len);
    node->ai.ai_flags = MapFlags(p->ai_flags, kAiFlags, false);
    node->ai.ai_family = fam;
    node->ai.ai_socktype = p->ai_socktype;
    node->ai.ai_protocol = p->ai_protocol;
    node->ai.ai_addrlen = static_cast<std::size_t>(len);
    node->ai.ai_addr = reinterpret_cast<sockaddr*>(&node->addr);
    if (p->ai_canonname != nullptr) {
      size_t n = std::strlen(p->ai_canonname);
      node->ai.ai_canonname = new char[n + 1];
      std::memcpy(node->ai.ai_canonname, p->ai_canonname, n + 1);
    }
    *tail = &node->ai;
    tail = &node->ai.ai_next;
  }
  ::freeaddrinfo(lres);
  if (head == nullptr) return SetError(WSANO_DATA);
  *res = head;
  WSASetLastError(0);
  return 0;
}

void freeaddrinfo(addrinfo* ai) {
  while (ai != nullptr) {
    addrinfo* next = ai->ai_next;
    delete[] ai->ai_canonname;
    delete reinterpret_cast<AddrNode*>(ai);  // ai is the node's first member
    ai = next;
  }
}

int getnameinfo(const sockaddr* sa, int salen, char* host, DWORD hostlen, char* serv, DWORD servlen, int flags) {
  lx::sockaddr_storage ss;
  socklen_t len = SockAddrToLinux(sa, salen, ss);
  if (len == 0) return WSAGetLastError();
  int r = ::getnameinfo(reinterpret_cast<lx::sockaddr*>(&ss), len, host, host ? hostlen : 0, serv, serv ? servlen : 0,
                        MapFlags(flags, kNiFlags, true));
  return SetError(ResolverError(r));
}

namespace {
struct ProcEntry {
  const char* name;
  void* proc;
};

template <class F>
void* Proc(F* f) {
  return reinterpret_cast<void*>(f);
}

const std::vector<ProcEntry>& Ws2Procs() {
  static const std::vector<ProcEntry> procs = {
      {"WSAIoctl", Proc(&WSAIoctl)},
      {"__WSAFDIsSet", Proc(&__WSAFDIsSet)},
      {"closesocket", Proc(&closesocket)},
      {"ioctlsocket", Proc(&ioctlsocket)},
      {"WSAGetLastError", Proc(&WSAGetLastError)},
      {"WSASetLastError", Proc(&WSASetLastError)},
      {"WSAStartup", Proc(&WSAStartup)},
      {"WSACleanup", Proc(&WSACleanup)},
      {"accept", Proc(&accept)},
      {"bind", Proc(&bind)},
      {"connect", Proc(&connect)},
      {"getpeername", Proc(&getpeername)},
      {"getsockname", Proc(&getsockname)},
      {"getsockopt", Proc(&getsockopt)},
      {"htonl", Proc(&htonl)},
      {"htons", Proc(&htons)},
      {"inet_addr", Proc(&inet_addr)},
      {"inet_ntoa", Proc(&inet_ntoa)},
      {"listen", Proc(&listen)},
      {"ntohl", Proc(&ntohl)},
      {"ntohs", Proc(&ntohs)},
      {"recv", Proc(&recv)},
      {"recvfrom", Proc(&recvfrom)},
      {"select", Proc(&select)},
      {"send", Proc(&send)},
      {"sendto", Proc(&sendto)},
      {"setsockopt", Proc(&setsockopt)},
      {"shutdown", Proc(&shutdown)},
      {"socket", Proc(&socket)},
      {"gethostbyaddr", Proc(&gethostbyaddr)},
      {"gethostbyname", Proc(&gethostbyname)},
      {"getprotobyname", Proc(&getprotobyname)},
      {"getprotobynumber", Proc(&getprotobynumber)},
      {"getservbyname", Proc(&getservbyname)},
      {"getservbyport", Proc(&getservbyport)},
      {"gethostname", Proc(&gethostname)},
      {"getaddrinfo", Proc(&getaddrinfo)},
      {"freeaddrinfo", Proc(&freeaddrinfo)},
      {"getnameinfo", Proc(&getnameinfo)},
  };
  return procs;
}

const std::vector<ProcEntry>& Ip6Procs() {
  static const std::vector<ProcEntry> procs = {
      {"getaddrinfo", Proc(&getaddrinfo)},
      {"freeaddrinfo", Proc(&freeaddrinfo)},
      {"getnameinfo", Proc(&getnameinfo)},
  };
  return procs;
}
}  // namespace

HSOCKETMODULE LoadLibrary(const String& name) {
  if (SameText(name, u"ws2_32.dll") || SameText(name, u"ws2_32")) return &Ws2Procs();
  if (SameText(name, u"wship6.dll") || SameText(name, u"wship6")) return &Ip6Procs();
  return nullptr;
}

void* GetProcAddress(HSOCKETMODULE module, const char* procName) {
  if (module == nullptr || procName == nullptr) return nullptr;
  if (module != &Ws2Procs() && module != &Ip6Procs()) return nullptr;
  for (const auto& e : *static_cast<const std::vector<ProcEntry>*>(module))
    if (std::strcmp(e.name, procName) == 0) return e.proc;
  return nullptr;
}

bool FreeLibrary(HSOCKETMODULE module) { return module == &Ws2Procs() || module == &Ip6Procs(); }

}  // namespace winsock
