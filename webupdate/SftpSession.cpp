#include "webupdate/SftpSession.h"

#include <libssh2.h>
#include <libssh2_sftp.h>

#include <filesystem>
#include <mutex>
#include <string>

#include "platform/net/Winsock.h"
#include "platform/rtl/FileNames.h"
#include "platform/win/SharedLibrary.h"

namespace ws = winsock;

namespace {

// libssh2 (and the crypto library under it), opened by the first SFTP
// connection rather than at start-up.
struct TSshApi {
  decltype(&::libssh2_init) init = nullptr;
  decltype(&::libssh2_session_last_error) session_last_error = nullptr;
  decltype(&::libssh2_knownhost_addc) knownhost_addc = nullptr;
  decltype(&::libssh2_knownhost_checkp) knownhost_checkp = nullptr;
  decltype(&::libssh2_knownhost_free) knownhost_free = nullptr;
  decltype(&::libssh2_knownhost_init) knownhost_init = nullptr;
  decltype(&::libssh2_knownhost_readfile) knownhost_readfile = nullptr;
  decltype(&::libssh2_knownhost_writefile) knownhost_writefile = nullptr;
  decltype(&::libssh2_session_disconnect_ex) session_disconnect_ex = nullptr;
  decltype(&::libssh2_session_free) session_free = nullptr;
  decltype(&::libssh2_session_handshake) session_handshake = nullptr;
  decltype(&::libssh2_session_hostkey) session_hostkey = nullptr;
  decltype(&::libssh2_session_init_ex) session_init_ex = nullptr;
  decltype(&::libssh2_session_set_blocking) session_set_blocking = nullptr;
  decltype(&::libssh2_session_set_timeout) session_set_timeout = nullptr;
  decltype(&::libssh2_sftp_close_handle) sftp_close_handle = nullptr;
  decltype(&::libssh2_sftp_init) sftp_init = nullptr;
  decltype(&::libssh2_sftp_open_ex) sftp_open_ex = nullptr;
  decltype(&::libssh2_sftp_read) sftp_read = nullptr;
  decltype(&::libssh2_sftp_shutdown) sftp_shutdown = nullptr;
  decltype(&::libssh2_sftp_stat_ex) sftp_stat_ex = nullptr;
  decltype(&::libssh2_userauth_authenticated) userauth_authenticated = nullptr;
  decltype(&::libssh2_userauth_list) userauth_list = nullptr;
  decltype(&::libssh2_userauth_password_ex) userauth_password_ex = nullptr;
};
TSshApi gSshApi;
const TSshApi& Ssh() { return gSshApi; }

TSharedLibrary& SshLibrary() {
  static TSharedLibrary library("the SSH library libssh2", {RYX_LIBSSH2_SONAME, "libssh2.so.1"});
  return library;
}

}  // namespace

struct TSftpSession::Impl {
  ws::SOCKET Socket = ws::INVALID_SOCKET;
  bool WsaStarted = false;
  LIBSSH2_SESSION* Session = nullptr;
  LIBSSH2_SFTP* Sftp = nullptr;
  LIBSSH2_SFTP_HANDLE* File = nullptr;

  String LastError() const {
    char* text = nullptr;
    int length = 0;
    if (Session == nullptr || Ssh().session_last_error(Session, &text, &length, 0) == 0 || text == nullptr)
      return u"No error.";
    return Utf8ToString(std::string(text, static_cast<std::size_t>(length)));
  }
};

namespace {

// True once libssh2 is loaded and initialised.
bool EnsureLibssh2() {
  return SshLibrary().Load([](TSharedLibrary& l) {
    l.Bind(gSshApi.init, "libssh2_init");
    l.Bind(gSshApi.session_last_error, "libssh2_session_last_error");
    l.Bind(gSshApi.knownhost_addc, "libssh2_knownhost_addc");
    l.Bind(gSshApi.knownhost_checkp, "libssh2_knownhost_checkp");
    l.Bind(gSshApi.knownhost_free, "libssh2_knownhost_free");
    l.Bind(gSshApi.knownhost_init, "libssh2_knownhost_init");
    l.Bind(gSshApi.knownhost_readfile, "libssh2_knownhost_readfile");
    l.Bind(gSshApi.knownhost_writefile, "libssh2_knownhost_writefile");
    l.Bind(gSshApi.session_disconnect_ex, "libssh2_session_disconnect_ex");
    l.Bind(gSshApi.session_free, "libssh2_session_free");
    l.Bind(gSshApi.session_handshake, "libssh2_session_handshake");
    l.Bind(gSshApi.session_hostkey, "libssh2_session_hostkey");
    l.Bind(gSshApi.session_init_ex, "libssh2_session_init_ex");
    l.Bind(gSshApi.session_set_blocking, "libssh2_session_set_blocking");
    l.Bind(gSshApi.session_set_timeout, "libssh2_session_set_timeout");
    l.Bind(gSshApi.sftp_close_handle, "libssh2_sftp_close_handle");
    l.Bind(gSshApi.sftp_init, "libssh2_sftp_init");
    l.Bind(gSshApi.sftp_open_ex, "libssh2_sftp_open_ex");
    l.Bind(gSshApi.sftp_read, "libssh2_sftp_read");
    l.Bind(gSshApi.sftp_shutdown, "libssh2_sftp_shutdown");
    l.Bind(gSshApi.sftp_stat_ex, "libssh2_sftp_stat_ex");
    l.Bind(gSshApi.userauth_authenticated, "libssh2_userauth_authenticated");
    l.Bind(gSshApi.userauth_list, "libssh2_userauth_list");
    l.Bind(gSshApi.userauth_password_ex, "libssh2_userauth_password_ex");
    if (l.Error().empty()) gSshApi.init(0);
  });
}

// The host key as the known-hosts file must hold it, checked or added.
bool CheckHostKey(LIBSSH2_SESSION* session, const std::string& host, int port, const String& file, bool acceptNew,
                  String& error, bool& known) {
  known = false;
  std::size_t keyLength = 0;
  int keyType = 0;
  const char* key = Ssh().session_hostkey(session, &keyLength, &keyType);
  if (key == nullptr) {
    error = u"The server sent no host key";
    return false;
  }
  LIBSSH2_KNOWNHOSTS* hosts = Ssh().knownhost_init(session);
  if (hosts == nullptr) {
    error = u"Cannot check the host key";
    return false;
  }
  const std::string path = StringToUtf8(file);
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) Ssh().knownhost_readfile(hosts, path.c_str(), LIBSSH2_KNOWNHOST_FILE_OPENSSH);
  int typeMask = LIBSSH2_KNOWNHOST_TYPE_PLAIN | LIBSSH2_KNOWNHOST_KEYENC_RAW;
  int keyBits = 0;
  switch (keyType) {
    case LIBSSH2_HOSTKEY_TYPE_RSA: keyBits = LIBSSH2_KNOWNHOST_KEY_SSHRSA; break;
    case LIBSSH2_HOSTKEY_TYPE_DSS: keyBits = LIBSSH2_KNOWNHOST_KEY_SSHDSS; break;
    case LIBSSH2_HOSTKEY_TYPE_ECDSA_256: keyBits = LIBSSH2_KNOWNHOST_KEY_ECDSA_256; break;
    case LIBSSH2_HOSTKEY_TYPE_ECDSA_384: keyBits = LIBSSH2_KNOWNHOST_KEY_ECDSA_384; break;
    case LIBSSH2_HOSTKEY_TYPE_ECDSA_521: keyBits = LIBSSH2_KNOWNHOST_KEY_ECDSA_521; break;
    case LIBSSH2_HOSTKEY_TYPE_ED25519: keyBits = LIBSSH2_KNOWNHOST_KEY_ED25519; break;
    default: keyBits = LIBSSH2_KNOWNHOST_KEY_UNKNOWN; break;
  }
  libssh2_knownhost* found = nullptr;
  int check = Ssh().knownhost_checkp(hosts, host.c_str(), port, key, keyLength, typeMask | keyBits, &found);
  bool ok = false;
  if (check == LIBSSH2_KNOWNHOST_CHECK_MATCH) {
    ok = true;
    known = true;
  } else if (check == LIBSSH2_KNOWNHOST_CHECK_MISMATCH) {
    error = u"The server's host key differs from the known one";
  } else if (check == LIBSSH2_KNOWNHOST_CHECK_NOTFOUND && acceptNew) {
    std::string name = port == 22 ? host : "[" + host + "]:" + std::to_string(port);
    if (Ssh().knownhost_addc(hosts, name.c_str(), nullptr, key, keyLength, nullptr, 0, typeMask | keyBits,
                               nullptr) == 0) {
      std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
      ok = Ssh().knownhost_writefile(hosts, path.c_str(), LIBSSH2_KNOWNHOST_FILE_OPENSSH) == 0;
      if (!ok) error = u"Cannot write the known hosts file";
    } else {
      error = u"Cannot record the host key";
    }
  } else {
    error = u"The server's host key is not known";
  }
  Ssh().knownhost_free(hosts);
  return ok;
}

}  // namespace

TSftpSession::TSftpSession() : FImpl(std::make_unique<Impl>()) {}

TSftpSession::~TSftpSession() {
  CloseFile();
  if (FImpl->Sftp != nullptr) Ssh().sftp_shutdown(FImpl->Sftp);
  if (FImpl->Session != nullptr) {
    Ssh().session_disconnect_ex(FImpl->Session, SSH_DISCONNECT_BY_APPLICATION, "Going to shutdown. Bye.", "");
    Ssh().session_free(FImpl->Session);
  }
  if (FImpl->Socket != ws::INVALID_SOCKET) ws::closesocket(FImpl->Socket);
  if (FImpl->WsaStarted) ws::WSACleanup();
}

bool TSftpSession::Connect(const String& host, Integer port, Integer bufferSize, const String& knownHostsFile,
                           bool acceptNewKey, Integer timeoutMs) {
  if (!EnsureLibssh2()) {
    FError = Utf8ToString(SshLibrary().Error());
    return false;
  }
  ws::WSAData data{};
  if (ws::WSAStartup(0x0202, &data) != 0) {
    FError = u"Invalid winsock version";
    return false;
  }
  FImpl->WsaStarted = true;
  const std::string hostName = StringToUtf8(host);
  const std::string service = std::to_string(port);
  ws::addrinfo hints{};
  hints.ai_family = ws::AF_INET;
  hints.ai_socktype = ws::SOCK_STREAM;
  hints.ai_protocol = ws::IPPROTO_TCP;
  ws::addrinfo* list = nullptr;
  if (ws::getaddrinfo(hostName.c_str(), service.c_str(), &hints, &list) != 0 || list == nullptr) {
    FError = u"Cannot resolve " + host;
    return false;
  }
  for (ws::addrinfo* a = list; a != nullptr; a = a->ai_next) {
    ws::SOCKET s = ws::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
    if (s == ws::INVALID_SOCKET) continue;
    int size = bufferSize;
    int on = 1;
    ws::setsockopt(s, ws::SOL_SOCKET, ws::SO_SNDBUF, reinterpret_cast<const char*>(&size), sizeof size);
    ws::setsockopt(s, ws::SOL_SOCKET, ws::SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size);
    ws::setsockopt(s, ws::SOL_SOCKET, ws::SO_KEEPALIVE, reinterpret_cast<const char*>(&on), sizeof on);
    if (ws::connect(s, a->ai_addr, static_cast<int>(a->ai_addrlen)) == 0) {
      FImpl->Socket = s;
      break;
    }
    ws::closesocket(s);
  }
  ws::freeaddrinfo(list);
  if (FImpl->Socket == ws::INVALID_SOCKET) {
    FError = u"Cannot open socket";
    return false;
  }
  FImpl->Session = Ssh().session_init_ex(nullptr, nullptr, nullptr, this);
  if (FImpl->Session == nullptr) {
    FError = u"Cannot start SSH session";
    return false;
  }
  Ssh().session_set_blocking(FImpl->Session, 1);
  Ssh().session_set_timeout(FImpl->Session, timeoutMs);
  if (Ssh().session_handshake(FImpl->Session, static_cast<libssh2_socket_t>(FImpl->Socket)) != 0) {
    FError = u"Cannot start SSH session";
    return false;
  }
  return CheckHostKey(FImpl->Session, hostName, port, knownHostsFile, acceptNewKey, FError, FHostKeyKnown);
}

bool TSftpSession::Login(const String& user, const String& password) {
  if (FImpl->Session == nullptr) return false;
  const std::string name = StringToUtf8(user);
  const std::string secret = StringToUtf8(password);
  char* methods = Ssh().userauth_list(FImpl->Session, name.c_str(), static_cast<unsigned>(name.size()));
  if (Ssh().userauth_authenticated(FImpl->Session) > 0) return true;
  if (methods == nullptr) {
    FError = u"Could not get auth list";
    return false;
  }
  // One attempt: repeating the same credentials only runs into the server's limit.
  if (Ssh().userauth_password_ex(FImpl->Session, name.c_str(), static_cast<unsigned>(name.size()), secret.c_str(),
                                   static_cast<unsigned>(secret.size()), nullptr) == 0 &&
      Ssh().userauth_authenticated(FImpl->Session) > 0)
    return true;
  FError = FImpl->LastError();
  return false;
}

bool TSftpSession::StartSftp() {
  if (FImpl->Session == nullptr) return false;
  FImpl->Sftp = Ssh().sftp_init(FImpl->Session);
  if (FImpl->Sftp == nullptr) FError = u"Could not initialize SFTP session";
  return FImpl->Sftp != nullptr;
}

bool TSftpSession::OpenDirectory(const String& path) {
  if (FImpl->Sftp == nullptr) return false;
  const std::string p = StringToUtf8(path);
  LIBSSH2_SFTP_HANDLE* h =
      Ssh().sftp_open_ex(FImpl->Sftp, p.c_str(), static_cast<unsigned>(p.size()), 0, 0, LIBSSH2_SFTP_OPENDIR);
  if (h == nullptr) return false;
  Ssh().sftp_close_handle(h);
  return true;
}

bool TSftpSession::Stat(const String& path, Int64& size) {
  if (FImpl->Sftp == nullptr) return false;
  const std::string p = StringToUtf8(path);
  LIBSSH2_SFTP_ATTRIBUTES attrs{};
  if (Ssh().sftp_stat_ex(FImpl->Sftp, p.c_str(), static_cast<unsigned>(p.size()), LIBSSH2_SFTP_STAT, &attrs) != 0)
    return false;
  if ((attrs.flags & LIBSSH2_SFTP_ATTR_SIZE) == 0) return false;
  size = static_cast<Int64>(attrs.filesize);
  return true;
}

bool TSftpSession::OpenFile(const String& path) {
  if (FImpl->Sftp == nullptr) return false;
  CloseFile();
  const std::string p = StringToUtf8(path);
  FImpl->File = Ssh().sftp_open_ex(FImpl->Sftp, p.c_str(), static_cast<unsigned>(p.size()), LIBSSH2_FXF_READ, 0,
                                     LIBSSH2_SFTP_OPENFILE);
  if (FImpl->File == nullptr) FError = FImpl->LastError();
  return FImpl->File != nullptr;
}

long TSftpSession::Read(char* buffer, std::size_t count) {
  if (FImpl->File == nullptr) return -1;
  return static_cast<long>(Ssh().sftp_read(FImpl->File, buffer, count));
}

void TSftpSession::CloseFile() {
  if (FImpl->File != nullptr) Ssh().sftp_close_handle(FImpl->File);
  FImpl->File = nullptr;
}
