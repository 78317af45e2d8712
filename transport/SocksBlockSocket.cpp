#include "transport/SocksBlockSocket.h"

#include "platform/rtl/StrUtils.h"

using namespace winsock;

namespace {

// The protocol carries these in one length byte.
constexpr size_t kSocksFieldMax = 255;

std::string PortBytes(Word port) {
  return std::string{static_cast<char>(port >> 8), static_cast<char>(port & 0xFF)};
}

String DottedText(const std::string& b) {
  return IntToStr(static_cast<Byte>(b[0])) + u"." + IntToStr(static_cast<Byte>(b[1])) + u"." +
         IntToStr(static_cast<Byte>(b[2])) + u"." + IntToStr(static_cast<Byte>(b[3]));
}

}  // namespace

TSocksBlockSocket::TSocksBlockSocket() = default;

bool TSocksBlockSocket::SocksOpen() {
  FUsingSocks = false;
  if (FSocksType != ST_Socks5) {
    FUsingSocks = true;
    return true;
  }
  std::string user = StringToUtf8(FSocksUsername), pass = StringToUtf8(FSocksPassword);
  if (user.size() > kSocksFieldMax || pass.size() > kSocksFieldMax) {
    ResetLastError();
    FLastError = WSAEINVAL;
    return false;
  }
  bool result = false;
  FBypassFlag = true;
  try {
    SendString(user.empty() ? std::string("\x05\x01\x00", 3) : std::string("\x05\x02\x02\x00", 4));
    if (FLastError == 0) {
      std::string b = RecvBufferStr(2, FSocksTimeout);
      if (FLastError == 0 && b.size() == 2 && b[0] == 0x05) {
        if (b[1] == 0x00) {
          result = true;
        } else if (b[1] == 0x02) {
          std::string auth;
          auth += '\x01';
          auth += static_cast<char>(user.size());
          auth += user;
          auth += static_cast<char>(pass.size());
          auth += pass;
          SendString(auth);
          if (FLastError == 0) {
            b = RecvBufferStr(2, FSocksTimeout);
            result = FLastError == 0 && b.size() == 2 && b[1] == 0x00;
          }
        }
      }
    }
  } catch (...) {
    FBypassFlag = false;
    throw;
  }
  FBypassFlag = false;
  FUsingSocks = result;
  return result;
}

std::string TSocksBlockSocket::SocksCode(const String& IP, const String& Port) {
  std::string result;
  Word port = ResolvePort(Port);
  std::string user = StringToUtf8(FSocksUsername);
  if (FSocksType == ST_Socks4) {
    result = PortBytes(port);
    String ip = IP;
    if (!IsIPv4Text(ip) && !FSocksResolver) ip = ResolveName(ip);
    if (IsIPv4Text(ip)) {
      auto b = IPv4TextToBytes(ip);
      result.append(reinterpret_cast<const char*>(b.data()), 4);
      result += user;
      result += '\0';
    } else {
      result += std::string("\x00\x00\x00\x01", 4);
      result += user;
      result += '\0';
      result += StringToUtf8(ip);
      result += '\0';
    }
    return result;
  }
  String ip = IP;
  if (!IsIPv4Text(ip) && !IsIPv6Text(ip) && !FSocksResolver) ip = ResolveName(ip);
  if (IsIPv4Text(ip)) {
    auto b = IPv4TextToBytes(ip);
    result += '\x01';
    result.append(reinterpret_cast<const char*>(b.data()), 4);
  } else if (IsIPv6Text(ip)) {
    auto b = IPv6TextToBytes(ip);
    result += '\x04';
    result.append(reinterpret_cast<const char*>(b.data()), 16);
  } else {
    std::string name = StringToUtf8(ip);
    result += '\x03';
    result += static_cast<char>(name.size());
    result += name;
  }
  result += PortBytes(port);
  return result;
}

bool TSocksBlockSocket::SocksRequest(Byte Cmd, const String& IP, const String& Port) {
  if (FSocksType == ST_Socks5 && !IsIPv4Text(IP) && !IsIPv6Text(IP) && FSocksResolver &&
      StringToUtf8(IP).size() > kSocksFieldMax) {
    ResetLastError();
    FLastError = WSAEINVAL;
    return false;
  }
  std::string buf;
  if (FSocksType == ST_Socks4) {
    buf = std::string("\x04", 1) + static_cast<char>(Cmd) + SocksCode(IP, Port);
  } else {
    buf = std::string("\x05", 1) + static_cast<char>(Cmd) + '\0' + SocksCode(IP, Port);
  }
  FBypassFlag = true;
  try {
    SendString(buf);
  } catch (...) {
    FBypassFlag = false;
    throw;
  }
  FBypassFlag = false;
  return FLastError == 0;
}

Integer TSocksBlockSocket::SocksDecode(const std::string& Value) {
  FSocksResponseIP.clear();
  FSocksResponsePort.clear();
  if (FSocksType == ST_Socks4) {
    if (Value.size() < 6) return 0;
    FSocksResponsePort = IntToStr((static_cast<Byte>(Value[0]) << 8) | static_cast<Byte>(Value[1]));
    FSocksResponseIP = DottedText(Value.substr(2, 4));
    return 6;
  }
  if (Value.empty()) return 0;
  size_t used;
  switch (Value[0]) {
    case 1:
      if (Value.size() < 7) return 0;
      FSocksResponseIP = DottedText(Value.substr(1, 4));
      used = 5;
      break;
    case 3: {
      if (Value.size() < 2) return 0;
      size_t n = static_cast<Byte>(Value[1]);
      if (Value.size() < 2 + n + 2) return 0;
      FSocksResponseIP = Utf8ToString(Value.substr(2, n));
      used = 2 + n;
      break;
    }
    case 4: {
      if (Value.size() < 19) return 0;
      std::array<Byte, 16> b;
      for (size_t i = 0; i < 16; ++i) b[i] = static_cast<Byte>(Value[1 + i]);
      FSocksResponseIP = IPv6BytesToText(b);
      used = 17;
      break;
    }
    default: return 0;
  }
  FSocksResponsePort = IntToStr((static_cast<Byte>(Value[used]) << 8) | static_cast<Byte>(Value[used + 1]));
  return static_cast<Integer>(used + 2);
}

bool TSocksBlockSocket::SocksResponse() {
  FSocksLastError = -1;
  bool result = false;
  FBypassFlag = true;
  try {
    if (FSocksType == ST_Socks4) {
      std::string b = RecvBufferStr(8, FSocksTimeout);
      if (FLastError == 0 && b.size() == 8 && b[0] == 0) {
        FSocksLastError = static_cast<Byte>(b[1]);
        result = FSocksLastError == 0 || FSocksLastError == 90;
        if (result) SocksDecode(b.substr(2));
      }
    } else {
      std::string b = RecvBufferStr(4, FSocksTimeout);
      if (FLastError == 0 && b.size() == 4 && b[0] == 0x05) {
        std::string addr(1, b[3]);
        bool known = true;
        switch (b[3]) {
          case 1: addr += RecvBufferStr(4, FSocksTimeout); break;
          case 3: {
            std::string n = RecvBufferStr(1, FSocksTimeout);
            if (FLastError == 0 && n.size() == 1) addr += n + RecvBufferStr(static_cast<Byte>(n[0]), FSocksTimeout);
            break;
          }
          case 4: addr += RecvBufferStr(16, FSocksTimeout); break;
          default: known = false;
        }
        if (known && FLastError == 0) {
          addr += RecvBufferStr(2, FSocksTimeout);
          if (FLastError == 0) {
            FSocksLastError = static_cast<Byte>(b[1]);
            result = (FSocksLastError == 0 || FSocksLastError == 90) && SocksDecode(addr) > 0;
          }
        }
      }
    }
  } catch (...) {
    FBypassFlag = false;
    throw;
  }
  FBypassFlag = false;
  return result;
}
