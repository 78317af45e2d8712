#include "transport/SocketLibrary.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <type_traits>

#include "platform/rtl/StrUtils.h"

using namespace winsock;

namespace {

// What an entry answers when the library lacks the function.
template <class Sig>
struct NotLoaded;
template <class R, class... A>
struct NotLoaded<R(A...)> {
  static R Call(A...) {
    winsock::WSASetLastError(WSANOTINITIALISED);
    if constexpr (std::is_void_v<R>) {
      return;
    } else if constexpr (std::is_pointer_v<R>) {
      return nullptr;
    } else if constexpr (std::is_same_v<R, SOCKET>) {
      return INVALID_SOCKET;
    } else if constexpr (std::is_same_v<R, int>) {
      return SOCKET_ERROR;
    } else {
      return R{};
    }
  }
};
// WSAGetLastError works without the library: it reports the stubs' error.
int NotLoadedLastError() { return winsock::WSAGetLastError(); }

struct LibraryState {
  std::recursive_mutex Lock;  // loading, unloading, the older resolver
  TSocketFunctions Table{};
  int LoadCount = 0;
  HSOCKETMODULE Lib = nullptr;
  HSOCKETMODULE Ip6Lib = nullptr;
  bool ModernInMain = false;
  bool ModernFromIp6 = false;
  WSAData Data{};
  int UnitCount = 0;
};

template <class F>
bool Take(HSOCKETMODULE lib, F*& entry, const char* name) {
  void* p = winsock::GetProcAddress(lib, name);
  if (p == nullptr) {
    entry = &NotLoaded<F>::Call;
    return false;
  }
  entry = reinterpret_cast<F*>(p);
  return true;
}

void ClearTable(TSocketFunctions& t) {
  HSOCKETMODULE none = nullptr;
  Take(none, t.WSAIoctl, "");
  Take(none, t.__WSAFDIsSet, "");
  Take(none, t.closesocket, "");
  Take(none, t.ioctlsocket, "");
  t.WSAGetLastError = &NotLoadedLastError;
  Take(none, t.WSAStartup, "");
  Take(none, t.WSACleanup, "");
  Take(none, t.accept, "");
  Take(none, t.bind, "");
  Take(none, t.connect, "");
  Take(none, t.getpeername, "");
  Take(none, t.getsockname, "");
  Take(none, t.getsockopt, "");
  Take(none, t.htonl, "");
  Take(none, t.htons, "");
  Take(none, t.inet_addr, "");
  Take(none, t.inet_ntoa, "");
  Take(none, t.listen, "");
  Take(none, t.ntohl, "");
  Take(none, t.ntohs, "");
  Take(none, t.recv, "");
  Take(none, t.recvfrom, "");
  Take(none, t.select, "");
  Take(none, t.send, "");
  Take(none, t.sendto, "");
  Take(none, t.setsockopt, "");
  Take(none, t.shutdown, "");
  Take(none, t.socket, "");
  Take(none, t.gethostbyaddr, "");
  Take(none, t.gethostbyname, "");
  Take(none, t.getprotobyname, "");
  Take(none, t.getprotobynumber, "");
  Take(none, t.getservbyname, "");
  Take(none, t.getservbyport, "");
  Take(none, t.gethostname, "");
  Take(none, t.getaddrinfo, "");
  Take(none, t.freeaddrinfo, "");
  Take(none, t.getnameinfo, "");
}

LibraryState& State() {
  static LibraryState* s = [] {
    auto* st = new LibraryState;  // lives for the whole process, like the unit's lock
    ClearTable(st->Table);
    return st;
  }();
  return *s;
}

const TSocketFunctions& T() { return State().Table; }

std::string Utf8(const String& s) { return StringToUtf8(s); }

bool IsDigits(StringView s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](Char c) { return c >= u'0' && c <= u'9'; });
}

// Decimal value of a digits-only text, or -1 (empty, other characters, too big).
Int64 DecimalValue(StringView s) {
  if (!IsDigits(s) || s.size() > 10) return -1;
  Int64 v = 0;
  for (Char c : s) v = v * 10 + (c - u'0');
  return v;
}

// Hex value of 1..4 hex digits, or -1.
int Hex4(StringView s) { return static_cast<int>(HexNumberValue(s, 4)); }

std::vector<StringView> Split(StringView s, Char sep) {
  std::vector<StringView> out;
  size_t start = 0;
  for (;;) {
    size_t p = s.find(sep, start);
    if (p == StringView::npos) {
      out.push_back(s.substr(start));
      return out;
    }
    out.push_back(s.substr(start, p - start));
    start = p + 1;
  }
}

// One modern-resolver look-up into Sin; the resolver's error number.
int GetAddr(TVarSin& Sin, const String& IP, const String& Port, int Family, int SockProtocol, int SockType) {
  addrinfo hints{};
  hints.ai_family = Family;
  hints.ai_socktype = SockType;
  hints.ai_protocol = SockProtocol;
  std::string ip = Utf8(IP), port = Utf8(Port);
  const char* node = ip.c_str();
  const char* serv = port.empty() ? nullptr : port.c_str();
  if (SockType == SOCK_RAW) {
    hints.ai_socktype = 0;
    hints.ai_protocol = 0;
    serv = nullptr;
  } else if (IP == u"0.0.0.0" || IP == u"::0") {
    hints.ai_flags = AI_PASSIVE;  // the any-address
    node = nullptr;
  } else if (IP == u"127.0.0.1" || IP == u"::1") {
    node = nullptr;  // without the passive flag: the loopback address
  }
  if (node == nullptr && serv == nullptr) serv = "0";
  addrinfo* res = nullptr;
  int r = T().getaddrinfo(node, serv, &hints, &res);
  if (r != 0) return r;
  if (res == nullptr || res->ai_addr == nullptr) return WSAHOST_NOT_FOUND;
  std::memcpy(&Sin, res->ai_addr, std::min(res->ai_addrlen, sizeof Sin));
  T().freeaddrinfo(res);
  return 0;
}

}  // namespace

const TSocketFunctions& SocketFunctions() { return T(); }

bool LoadSocketLibrary(const String& Name) {
  LibraryState& st = State();
  std::lock_guard<std::recursive_mutex> g(st.Lock);
  if (st.LoadCount > 0) {
    ++st.LoadCount;
    return true;
  }
  HSOCKETMODULE lib = winsock::LoadLibrary(Name.empty() ? String(u"ws2_32.dll") : Name);
  if (lib == nullptr) return false;
  TSocketFunctions& t = st.Table;
  Take(lib, t.WSAIoctl, "WSAIoctl");
  Take(lib, t.__WSAFDIsSet, "__WSAFDIsSet");
  Take(lib, t.closesocket, "closesocket");
  Take(lib, t.ioctlsocket, "ioctlsocket");
  if (!Take(lib, t.WSAGetLastError, "WSAGetLastError")) t.WSAGetLastError = &NotLoadedLastError;
  Take(lib, t.WSAStartup, "WSAStartup");
  Take(lib, t.WSACleanup, "WSACleanup");
  Take(lib, t.accept, "accept");
  Take(lib, t.bind, "bind");
  Take(lib, t.connect, "connect");
  Take(lib, t.getpeername, "getpeername");
  Take(lib, t.getsockname, "getsockname");
  Take(lib, t.getsockopt, "getsockopt");
  Take(lib, t.htonl, "htonl");
  Take(lib, t.htons, "htons");
  Take(lib, t.inet_addr, "inet_addr");
  Take(lib, t.inet_ntoa, "inet_ntoa");
  Take(lib, t.listen, "listen");
  Take(lib, t.ntohl, "ntohl");
  Take(lib, t.ntohs, "ntohs");
  Take(lib, t.recv, "recv");
  Take(lib, t.recvfrom, "recvfrom");
  Take(lib, t.select, "select");
  Take(lib, t.send, "send");
  Take(lib, t.sendto, "sendto");
  Take(lib, t.setsockopt, "setsockopt");
  Take(lib, t.shutdown, "shutdown");
  Take(lib, t.socket, "socket");
  Take(lib, t.gethostbyaddr, "gethostbyaddr");
  Take(lib, t.gethostbyname, "gethostbyname");
  Take(lib, t.getprotobyname, "getprotobyname");
  Take(lib, t.getprotobynumber, "getprotobynumber");
  Take(lib, t.getservbyname, "getservbyname");
  Take(lib, t.getservbyport, "getservbyport");
  Take(lib, t.gethostname, "gethostname");
  bool a = Take(lib, t.getaddrinfo, "getaddrinfo");
  bool b = Take(lib, t.freeaddrinfo, "freeaddrinfo");
  bool c = Take(lib, t.getnameinfo, "getnameinfo");
  st.ModernInMain = a && b && c;
  st.ModernFromIp6 = false;
  if (!st.ModernInMain) {
    st.Ip6Lib = winsock::LoadLibrary(u"wship6.dll");
    if (st.Ip6Lib != nullptr) {
      a = Take(st.Ip6Lib, t.getaddrinfo, "getaddrinfo");
      b = Take(st.Ip6Lib, t.freeaddrinfo, "freeaddrinfo");
      c = Take(st.Ip6Lib, t.getnameinfo, "getnameinfo");
      st.ModernFromIp6 = a && b && c;
    }
  }
  st.Lib = lib;
  ++st.LoadCount;
  return true;
}

bool UnloadSocketLibrary() {
  LibraryState& st = State();
  std::lock_guard<std::recursive_mutex> g(st.Lock);
  if (st.LoadCount > 0) --st.LoadCount;
  if (st.LoadCount == 0 && st.Lib != nullptr) {
    if (st.Ip6Lib != nullptr) winsock::FreeLibrary(st.Ip6Lib);
    winsock::FreeLibrary(st.Lib);
    st.Lib = st.Ip6Lib = nullptr;
    st.ModernInMain = st.ModernFromIp6 = false;
    ClearTable(st.Table);
  }
  return true;
}

bool HasModernResolver(int Family) {
  const LibraryState& st = State();
  return st.ModernInMain || (Family == AF_INET6 && st.ModernFromIp6);
}

void InitSocketUnit() {
  LibraryState& st = State();
  std::lock_guard<std::recursive_mutex> g(st.Lock);
  if (!LoadSocketLibrary(u"ws2_32.dll")) {
    String text = u"Error loading Socket interface (ws2_32.dll)!";
    throw ESocketError(text, 0, text);
  }
  st.Table.WSAStartup(0x0202, &st.Data);
  ++st.UnitCount;
}

void DoneSocketUnit() {
  LibraryState& st = State();
  std::lock_guard<std::recursive_mutex> g(st.Lock);
  if (st.UnitCount <= 0) return;
  --st.UnitCount;
  st.Table.WSACleanup();
  UnloadSocketLibrary();
}

const WSAData& SocketWSAData() { return State().Data; }

int SizeOfVarSin(const TVarSin& sin) {
  switch (sin.Family()) {
    case AF_INET: return sizeof(sockaddr_in);
    case AF_INET6: return sizeof(sockaddr_in6);
    default: return 0;
  }
}

int SockBind(SOCKET s, const TVarSin& addr) {
  return T().bind(s, reinterpret_cast<const sockaddr*>(&addr), SizeOfVarSin(addr));
}
int SockConnect(SOCKET s, const TVarSin& addr) {
  return T().connect(s, reinterpret_cast<const sockaddr*>(&addr), SizeOfVarSin(addr));
}
SOCKET SockAccept(SOCKET s, TVarSin& addr) {
  int len = sizeof addr;
  return T().accept(s, reinterpret_cast<sockaddr*>(&addr), &len);
}
int SockGetSockName(SOCKET s, TVarSin& addr) {
  int len = sizeof addr;
  std::memset(&addr, 0, sizeof addr);
  return T().getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
}
int SockGetPeerName(SOCKET s, TVarSin& addr) {
  int len = sizeof addr;
  std::memset(&addr, 0, sizeof addr);
  return T().getpeername(s, reinterpret_cast<sockaddr*>(&addr), &len);
}
int SockSendTo(SOCKET s, const void* buf, int len, int flags, const TVarSin& addr) {
  return T().sendto(s, static_cast<const char*>(buf), len, flags, reinterpret_cast<const sockaddr*>(&addr),
                    SizeOfVarSin(addr));
}
int SockRecvFrom(SOCKET s, void* buf, int len, int flags, TVarSin& addr) {
  int alen = sizeof addr;
  return T().recvfrom(s, static_cast<char*>(buf), len, flags, reinterpret_cast<sockaddr*>(&addr), &alen);
}
int SockSend(SOCKET s, const void* buf, int len, int flags) {
  return T().send(s, static_cast<const char*>(buf), len, flags);
}
int SockRecv(SOCKET s, void* buf, int len, int flags) { return T().recv(s, static_cast<char*>(buf), len, flags); }

void FDClear(winsock::fd_set& set) { set.fd_count = 0; }
void FDAdd(SOCKET s, winsock::fd_set& set) {
  for (winsock::u_int i = 0; i < set.fd_count; ++i)
    if (set.fd_array[i] == s) return;
  if (set.fd_count < WINSOCK_FD_SETSIZE) set.fd_array[set.fd_count++] = s;
}
bool FDIsSet(SOCKET s, winsock::fd_set& set) { return T().__WSAFDIsSet(s, &set) != 0; }

String GetHostNameText() {
  char buf[256] = {};
  if (T().gethostname(buf, sizeof buf) != 0) return {};
  return Utf8ToString(buf);
}

int FillSockAddr(TVarSin& Sin, const String& IP, const String& Port, int Family, int SockProtocol, int SockType,
                 bool PreferIP4) {
  std::memset(&Sin, 0, sizeof Sin);
  if (HasModernResolver(Family)) {
    if (Family != AF_UNSPEC) return GetAddr(Sin, IP, Port, Family, SockProtocol, SockType);
    int first = PreferIP4 ? AF_INET : AF_INET6;
    int r = GetAddr(Sin, IP, Port, first, SockProtocol, SockType);
    if (r != 0) r = GetAddr(Sin, IP, Port, first == AF_INET ? AF_INET6 : AF_INET, SockProtocol, SockType);
    if (r != 0) std::memset(&Sin, 0, sizeof Sin);
    return r;
  }
  // The older resolver: IPv4 only, its calls under the lock.
  LibraryState& st = State();
  std::lock_guard<std::recursive_mutex> g(st.Lock);
  int result = 0;
  Sin.sin.sin_family = AF_INET;
  protoent* pe = T().getprotobynumber(SockProtocol);
  std::string port = Utf8(Port), ip = Utf8(IP);
  servent* se = nullptr;
  if (!IsDigits(Port)) se = T().getservbyname(port.c_str(), pe ? pe->p_name : nullptr);
  if (se != nullptr) {
    Sin.sin.sin_port = static_cast<winsock::u_short>(se->s_port);
  } else {
    Int64 v = DecimalValue(Port);
    Sin.sin.sin_port = T().htons(static_cast<winsock::u_short>(v < 0 || v > 0xFFFF ? 0 : v));
  }
  if (IP == u"255.255.255.255") {
    Sin.sin.sin_addr.s_addr = INADDR_BROADCAST;
  } else {
    Sin.sin.sin_addr.s_addr = T().inet_addr(ip.c_str());
    if (Sin.sin.sin_addr.s_addr == INADDR_NONE) {
      hostent* he = T().gethostbyname(ip.c_str());
      result = T().WSAGetLastError();
      if (he != nullptr && he->h_addr_list != nullptr && he->h_addr_list[0] != nullptr) {
        std::memcpy(&Sin.sin.sin_addr.s_addr, he->h_addr_list[0], 4);
        result = 0;
      }
    }
  }
  return result;
}

String SockAddrToText(const TVarSin& Sin) {
  if (SizeOfVarSin(Sin) == 0) return {};
  if (HasModernResolver(Sin.Family())) {
    char host[NI_MAXHOST] = {}, serv[NI_MAXSERV] = {};
    int r = T().getnameinfo(reinterpret_cast<const sockaddr*>(&Sin), SizeOfVarSin(Sin), host, sizeof host, serv,
                            sizeof serv, NI_NUMERICHOST | NI_NUMERICSERV);
    return r == 0 ? Utf8ToString(host) : String();
  }
  if (Sin.Family() != AF_INET) return {};
  return Utf8ToString(T().inet_ntoa(Sin.sin.sin_addr));
}

int SockAddrPort(const TVarSin& Sin) { return winsock::ntohs(Sin.sin.sin_port); }

void ResolveNameList(const String& Name, int Family, int SockProtocol, int SockType, std::vector<String>& IPList) {
  IPList.clear();
  if (HasModernResolver(Family)) {
    addrinfo hints{};
    hints.ai_family = Family;
    hints.ai_socktype = SockType;
    hints.ai_protocol = SockProtocol;
    std::string name = Utf8(Name);
    addrinfo* res = nullptr;
    if (T().getaddrinfo(name.c_str(), nullptr, &hints, &res) == 0) {
      for (addrinfo* p = res; p != nullptr; p = p->ai_next) {
        if (Family == AF_INET6 && p->ai_family == AF_INET) continue;
        if (Family == AF_INET && p->ai_family == AF_INET6) continue;
        TVarSin sin{};
        std::memcpy(&sin, p->ai_addr, std::min(p->ai_addrlen, sizeof sin));
        String text = SockAddrToText(sin);
        if (!text.empty()) IPList.push_back(text);
      }
      T().freeaddrinfo(res);
    }
  } else {
    LibraryState& st = State();
    std::lock_guard<std::recursive_mutex> g(st.Lock);
    if (IsIPv4Text(Name)) {
      IPList.push_back(Name);
    } else {
      std::string name = Utf8(Name);
      hostent* he = T().gethostbyname(name.c_str());
      if (he != nullptr && he->h_addr_list != nullptr) {
        for (char** a = he->h_addr_list; *a != nullptr; ++a) {
          const auto* b = reinterpret_cast<const Byte*>(*a);
          IPList.push_back(IntToStr(b[0]) + u"." + IntToStr(b[1]) + u"." + IntToStr(b[2]) + u"." + IntToStr(b[3]));
        }
      }
    }
  }
  if (IPList.empty()) IPList.push_back(u"0.0.0.0");
}

Word ResolvePortNumber(const String& Port, int Family, int SockProtocol, int SockType) {
  if (HasModernResolver(Family)) {
    addrinfo hints{};
    hints.ai_family = Family;
    hints.ai_socktype = SockType;
    hints.ai_protocol = SockProtocol;
    hints.ai_flags = AI_PASSIVE;
    std::string port = Utf8(Port);
    addrinfo* res = nullptr;
    Word result = 0;
    if (!port.empty() && T().getaddrinfo(nullptr, port.c_str(), &hints, &res) == 0 && res != nullptr) {
      TVarSin sin{};
      std::memcpy(&sin, res->ai_addr, std::min(res->ai_addrlen, sizeof sin));
      result = static_cast<Word>(SockAddrPort(sin));
    }
    if (res != nullptr) T().freeaddrinfo(res);
    return result;
  }
  LibraryState& st = State();
  std::lock_guard<std::recursive_mutex> g(st.Lock);
  protoent* pe = T().getprotobynumber(SockProtocol);
  std::string port = Utf8(Port);
  servent* se = T().getservbyname(port.c_str(), pe ? pe->p_name : nullptr);
  if (se != nullptr) return winsock::ntohs(static_cast<winsock::u_short>(se->s_port));
  Int64 v = DecimalValue(Port);
  return static_cast<Word>(v < 0 || v > 0xFFFF ? 0 : v);
}

String ResolveHostName(const String& IP, int Family, int SockProtocol, int SockType) {
  if (HasModernResolver(Family)) {
    TVarSin sin{};
    if (FillSockAddr(sin, IP, u"0", Family, SockProtocol, SockType, true) != 0) return IP;
    char host[NI_MAXHOST] = {}, serv[NI_MAXSERV] = {};
    int r = T().getnameinfo(reinterpret_cast<const sockaddr*>(&sin), SizeOfVarSin(sin), host, sizeof host, serv,
                            sizeof serv, NI_NUMERICSERV);
    return r == 0 && host[0] != 0 ? Utf8ToString(host) : IP;
  }
  LibraryState& st = State();
  std::lock_guard<std::recursive_mutex> g(st.Lock);
  std::string ip = Utf8(IP);
  winsock::u_long a = T().inet_addr(ip.c_str());
  hostent* he = T().gethostbyaddr(reinterpret_cast<const char*>(&a), 4, AF_INET);
  return he != nullptr && he->h_name != nullptr ? Utf8ToString(he->h_name) : IP;
}

bool IsIPv4Text(StringView Value) {
  auto fields = Split(Value, u'.');
  if (fields.size() != 4) return false;
  for (StringView f : fields) {
    Int64 v = DecimalValue(f);
    if (v < 0 || v > 255) return false;
  }
  return true;
}

bool IsIPv6Text(StringView Value) {
  if (Value == u"::") return true;
  StringView s = Value;
  size_t pct = s.find(u'%');
  if (pct != StringView::npos) {
    if (Hex4(s.substr(pct + 1)) < 0) return false;
    s = s.substr(0, pct);
  }
  if (s.empty()) return false;
  size_t shortenings = 0;
  for (size_t p = s.find(u"::"); p != StringView::npos; p = s.find(u"::", p + 2)) ++shortenings;
  if (shortenings > 1 || s.find(u":::") != StringView::npos) return false;
  bool leading = s.starts_with(u"::"), trailing = s.ends_with(u"::");
  if ((s.front() == u':' && !leading) || (s.back() == u':' && !trailing)) return false;
  if (leading) s.remove_prefix(1);
  if (trailing) s.remove_suffix(1);
  auto fields = Split(s, u':');
  if (fields.size() > 8) return false;  // with "::" one of them is the empty field
  size_t empty = 0;
  for (StringView f : fields) {
    if (f.empty()) {
      ++empty;
      continue;
    }
    if (Hex4(f) < 0) return false;
  }
  return empty == shortenings;
}

std::array<Byte, 4> IPv4TextToBytes(StringView Value) {
  std::array<Byte, 4> out{};
  auto fields = Split(Value, u'.');
  for (size_t i = 0; i < 4 && i < fields.size(); ++i) {
    Int64 v = DecimalValue(fields[i]);
    out[i] = static_cast<Byte>(v >= 0 && v <= 255 ? v : 0);
  }
  return out;
}

Cardinal IPv4TextToNumber(StringView Value) {
  auto b = IPv4TextToBytes(Value);
  return (Cardinal(b[0]) << 24) | (Cardinal(b[1]) << 16) | (Cardinal(b[2]) << 8) | Cardinal(b[3]);
}

String ExpandIPv6Text(StringView Value) {
  String s(Value);
  auto colons = std::count(s.begin(), s.end(), u':');
  if (colons > 7) return {};
  if (!s.empty() && s.front() == u':') s.insert(s.begin(), u'0');
  if (!s.empty() && s.back() == u':') s.push_back(u'0');
  size_t p = s.find(u"::");
  if (p != String::npos) {
    String fill;
    for (long i = 0; i < 8 - colons; ++i) fill += u":0";
    fill += u":";
    s.replace(p, 2, fill);
  }
  return s;
}

std::array<Byte, 16> IPv6TextToBytes(StringView Value) {
  std::array<Byte, 16> out{};
  StringView v = Value;
  size_t pct = v.find(u'%');
  if (pct != StringView::npos) v = v.substr(0, pct);  // the zone is not part of the address
  String expanded = ExpandIPv6Text(v);
  auto fields = Split(expanded, u':');
  for (size_t i = 0; i < 8 && i < fields.size(); ++i) {
    if (fields[i] == u"@") break;
    int g = fields[i].empty() ? 0 : Hex4(fields[i]);
    if (g < 0) return {};
    out[2 * i] = static_cast<Byte>(g >> 8);
    out[2 * i + 1] = static_cast<Byte>(g & 0xFF);
  }
  return out;
}

String IPv6BytesToText(const std::array<Byte, 16>& Value) {
  int groups[8];
  for (int i = 0; i < 8; ++i) groups[i] = (Value[2 * i] << 8) | Value[2 * i + 1];
  int bestStart = -1, bestLen = 0;
  for (int i = 0; i < 8;) {
    if (groups[i] != 0) {
      ++i;
      continue;
    }
    int j = i;
    while (j < 8 && groups[j] == 0) ++j;
    if (j - i > bestLen) bestStart = i, bestLen = j - i;
    i = j;
  }
  static const char16_t* hex = u"0123456789abcdef";
  auto group = [&](int g) {
    String t;
    for (int shift = 12; shift >= 0; shift -= 4) {
      int d = (g >> shift) & 0xF;
      if (d != 0 || !t.empty() || shift == 0) t += hex[d];
    }
    return t;
  };
  String out;
  for (int i = 0; i < 8; ++i) {
    if (i == bestStart) {
      out += u"::";
      i += bestLen - 1;
      continue;
    }
    if (!out.empty() && out.back() != u':') out += u':';
    out += group(groups[i]);
  }
  return out;
}

std::string Base64EncodeBytes(std::string_view Value) {
  static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((Value.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= Value.size(); i += 3) {
    unsigned n = (Byte(Value[i]) << 16) | (Byte(Value[i + 1]) << 8) | Byte(Value[i + 2]);
    out += alphabet[(n >> 18) & 63];
    out += alphabet[(n >> 12) & 63];
    out += alphabet[(n >> 6) & 63];
    out += alphabet[n & 63];
  }
  size_t rest = Value.size() - i;
  if (rest > 0) {
    unsigned n = Byte(Value[i]) << 16;
    if (rest == 2) n |= Byte(Value[i + 1]) << 8;
    out += alphabet[(n >> 18) & 63];
    out += alphabet[(n >> 12) & 63];
    out += rest == 2 ? alphabet[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}
