// Internet sessions, FTP connections and streaming requests over libcurl; see WinInet.h.
#include "platform/net/WinInet.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win/SharedLibrary.h"
#include "platform/win/WinError.h"

namespace {

using TClock = std::chrono::steady_clock;

// libcurl, opened by the first internet session (InternetOpen) rather than at
// start-up; every other call works on a handle that session made.
struct TCurlApi {
  decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
  decltype(&::curl_easy_escape) easy_escape = nullptr;
  decltype(&::curl_easy_getinfo) easy_getinfo = nullptr;
  decltype(&::curl_easy_init) easy_init = nullptr;
  decltype(&::curl_easy_perform) easy_perform = nullptr;
  decltype(&::curl_easy_reset) easy_reset = nullptr;
  decltype(&::curl_easy_setopt) easy_setopt = nullptr;
  decltype(&::curl_free) free = nullptr;
  decltype(&::curl_global_init) global_init = nullptr;
  decltype(&::curl_multi_add_handle) multi_add_handle = nullptr;
  decltype(&::curl_multi_cleanup) multi_cleanup = nullptr;
  decltype(&::curl_multi_info_read) multi_info_read = nullptr;
  decltype(&::curl_multi_init) multi_init = nullptr;
  decltype(&::curl_multi_perform) multi_perform = nullptr;
  decltype(&::curl_multi_poll) multi_poll = nullptr;
  decltype(&::curl_multi_remove_handle) multi_remove_handle = nullptr;
  decltype(&::curl_slist_append) slist_append = nullptr;
  decltype(&::curl_slist_free_all) slist_free_all = nullptr;
  decltype(&::curl_url) url = nullptr;
  decltype(&::curl_url_cleanup) url_cleanup = nullptr;
  decltype(&::curl_url_get) url_get = nullptr;
  decltype(&::curl_url_set) url_set = nullptr;
};

TCurlApi gCurlApi;

const TCurlApi& Curl() { return gCurlApi; }

struct TCurlCleanup {
  void operator()(CURL* h) const { Curl().easy_cleanup(h); }
};
using TCurlEasy = std::unique_ptr<CURL, TCurlCleanup>;

struct TInternetSession {
  std::string Agent;
  DWORD AccessType = INTERNET_OPEN_TYPE_PRECONFIG;
  std::string Proxy;
  std::string ProxyBypass;
  std::string ProxyUser;
  std::string ProxyPassword;
  long ConnectTimeoutMs = 30000;
  long ReceiveTimeoutMs = 60000;
  bool InsecureTls = false;
  curl_off_t MaxBody = static_cast<curl_off_t>(kInternetMaxBodySize);
  // The connection kept for the next request under INTERNET_FLAG_KEEP_CONNECTION.
  std::mutex IdleLock;
  TCurlEasy Idle;
};

// An FTP connection, or (Http) an HTTP one that only names its server: its
// requests connect when they are sent.
struct TFtpConnection {
  std::uintptr_t Session = 0;
  bool Http = false;
  std::shared_ptr<TInternetSession> Owner;
  std::string BaseUrl;  // "ftp://host:port"
  std::string User;
  std::string Password;
  bool Passive = false;
  std::string Cwd = "/";  // absolute, with a trailing "/"
  std::mutex Lock;
  TCurlEasy Easy;  // holds the control connection between calls
  bool Busy = false;
};

// One running transfer and what arrived of it.
struct TStream {
  TCurlEasy Easy;
  CURLM* Multi = nullptr;
  curl_slist* Headers = nullptr;
  bool Http = false;
  bool Ftp = false;
  bool Done = false;
  CURLcode Result = CURLE_OK;
  long Status = 0;
  bool HeadersDone = false;
  std::map<std::string, std::string> ResponseHeaders;  // names in lower case
  std::size_t HeaderBytes = 0;
  bool TooManyHeaders = false;
  bool TooLarge = false;
  bool Excess = false;
  curl_off_t Received = 0;
  curl_off_t MaxBody = 0;
  std::string Buffer;
  std::size_t BufferPos = 0;
  std::string LastReply;
  TClock::time_point HeaderDeadline;

  ~TStream() {
    if (Multi != nullptr) {
      if (Easy) Curl().multi_remove_handle(Multi, Easy.get());
      Curl().multi_cleanup(Multi);
    }
    if (Headers != nullptr) Curl().slist_free_all(Headers);
  }
};

struct TInternetRequest {
  std::uintptr_t Session = 0;
  std::uintptr_t Connection = 0;  // FTP requests: the connection they belong to
  bool KeepConnection = false;
  DWORD_PTR Context = 0;
  std::unique_ptr<TStream> Stream;
  // A request of HttpOpenRequest waiting for HttpSendRequest.
  bool Pending = false;
  bool Post = false;
  std::string Url;
  DWORD Flags = 0;
};

struct TFtpFind {
  std::uintptr_t Connection = 0;
};

// Handles are numbers from a counter that never repeats, so a closed handle
// cannot name a later object.
struct THandleTable {
  std::mutex Lock;
  std::uintptr_t Next = 0x1000;
  std::map<std::uintptr_t, std::shared_ptr<TInternetSession>> Sessions;
  std::map<std::uintptr_t, std::shared_ptr<TFtpConnection>> Connections;
  std::map<std::uintptr_t, std::shared_ptr<TInternetRequest>> Requests;
  std::map<std::uintptr_t, TFtpFind> Finds;
};

THandleTable& Table() {
  static THandleTable table;
  return table;
}

thread_local std::string tLastResponse;

std::uintptr_t Key(HINTERNET handle) { return reinterpret_cast<std::uintptr_t>(handle); }
HINTERNET Handle(std::uintptr_t key) { return reinterpret_cast<HINTERNET>(key); }

TSharedLibrary& CurlLibrary() {
  static TSharedLibrary library("the network library libcurl", {RYX_LIBCURL_SONAME, "libcurl.so.4", "libcurl-gnutls.so.4"});
  return library;
}

// True once libcurl is loaded and initialised; the loader's reason otherwise
// (written to the standard error once and kept for InternetGetLastResponseInfo).
bool EnsureCurl() {
  TSharedLibrary& lib = CurlLibrary();
  const bool ok = lib.Load([](TSharedLibrary& l) {
    l.Bind(gCurlApi.easy_cleanup, "curl_easy_cleanup");
    l.Bind(gCurlApi.easy_escape, "curl_easy_escape");
    l.Bind(gCurlApi.easy_getinfo, "curl_easy_getinfo");
    l.Bind(gCurlApi.easy_init, "curl_easy_init");
    l.Bind(gCurlApi.easy_perform, "curl_easy_perform");
    l.Bind(gCurlApi.easy_reset, "curl_easy_reset");
    l.Bind(gCurlApi.easy_setopt, "curl_easy_setopt");
    l.Bind(gCurlApi.free, "curl_free");
    l.Bind(gCurlApi.global_init, "curl_global_init");
    l.Bind(gCurlApi.multi_add_handle, "curl_multi_add_handle");
    l.Bind(gCurlApi.multi_cleanup, "curl_multi_cleanup");
    l.Bind(gCurlApi.multi_info_read, "curl_multi_info_read");
    l.Bind(gCurlApi.multi_init, "curl_multi_init");
    l.Bind(gCurlApi.multi_perform, "curl_multi_perform");
    l.Bind(gCurlApi.multi_poll, "curl_multi_poll");
    l.Bind(gCurlApi.multi_remove_handle, "curl_multi_remove_handle");
    l.Bind(gCurlApi.slist_append, "curl_slist_append");
    l.Bind(gCurlApi.slist_free_all, "curl_slist_free_all");
    l.Bind(gCurlApi.url, "curl_url");
    l.Bind(gCurlApi.url_cleanup, "curl_url_cleanup");
    l.Bind(gCurlApi.url_get, "curl_url_get");
    l.Bind(gCurlApi.url_set, "curl_url_set");
    if (l.Error().empty()) gCurlApi.global_init(CURL_GLOBAL_DEFAULT);
  });
  if (!ok) {
    static std::once_flag told;
    std::call_once(told, [&] { std::fprintf(stderr, "%s\n", lib.Error().c_str()); });
  }
  return ok;
}

std::string AsciiLower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

std::string TrimSpaces(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r' || s[b] == '\n')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n')) --e;
  return std::string(s.substr(b, e - b));
}

// The scheme of the URL in lower case; empty when it has none.
std::string SchemeOf(const std::string& url) {
  std::size_t colon = url.find(':');
  if (colon == std::string::npos || colon == 0) return {};
  for (std::size_t i = 0; i < colon; ++i) {
    char c = url[i];
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (i > 0 && ((c >= '0' && c <= '9') || c == '+' ||
                                                                              c == '-' || c == '.'));
    if (!ok) return {};
  }
  return AsciiLower(url.substr(0, colon));
}

// The host (with port) of an absolute URL, lower case; empty when it has none.
std::string HostOf(const std::string& url) {
  std::size_t start = url.find("://");
  if (start == std::string::npos) return {};
  start += 3;
  std::size_t end = url.find_first_of("/?#", start);
  std::string authority = url.substr(start, end == std::string::npos ? std::string::npos : end - start);
  if (std::size_t at = authority.rfind('@'); at != std::string::npos) authority.erase(0, at + 1);
  return AsciiLower(authority);
}

// Bytes of response headers a request accepts, redirects included.
constexpr std::size_t kMaxHeaderBytes = 256 * 1024;
constexpr int kMaxRedirects = 10;
// Unread body bytes a stream holds before it stops pumping for more.
constexpr std::size_t kMaxBuffered = 1024 * 1024;

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
  auto* stream = static_cast<TStream*>(user);
  std::size_t n = size * count;
  if (static_cast<curl_off_t>(n) > stream->MaxBody - stream->Received) {
    stream->TooLarge = true;
    return 0;  // aborts the transfer
  }
  stream->Received += static_cast<curl_off_t>(n);
  if (stream->BufferPos > 0 && stream->BufferPos >= stream->Buffer.size() / 2) {
    stream->Buffer.erase(0, stream->BufferPos);
    stream->BufferPos = 0;
  }
  stream->Buffer.append(data, n);
  stream->HeadersDone = true;
  return n;
}

// HTTP: keeps the headers of the last response only (a redirect or an interim
// 1xx response starts a new set). FTP: keeps the server's last reply line.
size_t WriteHeader(char* data, size_t size, size_t count, void* user) {
  auto* stream = static_cast<TStream*>(user);
  std::size_t n = size * count;
  std::string_view line(data, n);
  stream->HeaderBytes += n;
  if (stream->HeaderBytes > kMaxHeaderBytes) {
    stream->TooManyHeaders = true;
    return 0;  // aborts the transfer
  }
  if (!stream->Http) {
    std::string reply = TrimSpaces(line);
    if (!reply.empty()) stream->LastReply = reply;
    return n;
  }
  if (line.substr(0, 5) == "HTTP/") {
    stream->ResponseHeaders.clear();
    std::size_t sp = line.find(' ');
    stream->Status = sp == std::string_view::npos ? 0 : std::atol(std::string(line.substr(sp + 1, 3)).c_str());
    return n;
  }
  if (TrimSpaces(line).empty()) {
    if (stream->Status >= 200) stream->HeadersDone = true;
    return n;
  }
  std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return n;
  std::string name = AsciiLower(TrimSpaces(line.substr(0, colon)));
  if (!name.empty()) stream->ResponseHeaders[name] = TrimSpaces(line.substr(colon + 1));
  return n;
}

// libcurl reports a body longer than its Content-Length only as an info text.
int DebugText(CURL*, curl_infotype type, char* data, size_t size, void* user) {
  if (type == CURLINFO_TEXT && std::string_view(data, size).find("Excess found") != std::string_view::npos)
    static_cast<TStream*>(user)->Excess = true;
  return 0;
}

DWORD ErrorFor(CURLcode code) {
  switch (code) {
    case CURLE_UNSUPPORTED_PROTOCOL: return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    case CURLE_URL_MALFORMAT: return ERROR_INTERNET_INVALID_URL;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT: return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT: return ERROR_INTERNET_TIMEOUT;
    case CURLE_TOO_MANY_REDIRECTS: return ERROR_HTTP_REDIRECT_FAILED;
    case CURLE_FILE_COULDNT_READ_FILE: return ERROR_FILE_NOT_FOUND;
    case CURLE_OUT_OF_MEMORY:
    case CURLE_FILESIZE_EXCEEDED: return ERROR_NOT_ENOUGH_MEMORY;
    case CURLE_WEIRD_SERVER_REPLY: return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR: return ERROR_INTERNET_CONNECTION_ABORTED;
    case CURLE_SEND_ERROR: return ERROR_INTERNET_CONNECTION_RESET;
    case CURLE_PEER_FAILED_VERIFICATION: return ERROR_INTERNET_INVALID_CA;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE: return ERROR_INTERNET_SECURITY_CHANNEL_ERROR;
    case CURLE_LOGIN_DENIED: return ERROR_INTERNET_LOGIN_FAILURE;
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_PORT_FAILED:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_COULDNT_SET_TYPE:
    case CURLE_QUOTE_ERROR: return ERROR_INTERNET_EXTENDED_ERROR;
    default: return ERROR_INTERNET_INTERNAL_ERROR;
  }
}

DWORD StreamError(const TStream& s) {
  if (s.TooLarge) return ERROR_NOT_ENOUGH_MEMORY;
  if (s.TooManyHeaders) return ERROR_HTTP_INVALID_SERVER_RESPONSE;
  if (s.Excess) return ERROR_HTTP_INVALID_SERVER_RESPONSE;
  return ErrorFor(s.Result);
}

// The options every transfer of the session shares.
void ApplySession(CURL* h, const TInternetSession& session) {
  Curl().easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  Curl().easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, session.ConnectTimeoutMs);
  Curl().easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  Curl().easy_setopt(h, CURLOPT_LOW_SPEED_TIME, std::max(1L, (session.ReceiveTimeoutMs + 999) / 1000));
  if (!session.Agent.empty()) Curl().easy_setopt(h, CURLOPT_USERAGENT, session.Agent.c_str());
  if (session.AccessType == INTERNET_OPEN_TYPE_DIRECT) {
    Curl().easy_setopt(h, CURLOPT_PROXY, "");
  } else if (session.AccessType == INTERNET_OPEN_TYPE_PROXY) {
    Curl().easy_setopt(h, CURLOPT_PROXY, session.Proxy.c_str());
    Curl().easy_setopt(h, CURLOPT_NOPROXY, session.ProxyBypass.c_str());
  }  // INTERNET_OPEN_TYPE_PRECONFIG: libcurl reads the proxy environment itself
  if (!session.ProxyUser.empty()) {
    Curl().easy_setopt(h, CURLOPT_PROXYUSERNAME, session.ProxyUser.c_str());
    Curl().easy_setopt(h, CURLOPT_PROXYPASSWORD, session.ProxyPassword.c_str());
  }
  Curl().easy_setopt(h, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  // The trusted roots may be named as OpenSSL-based tools read them; libcurl
  // itself only knows its built-in bundle.
  if (const char* file = std::getenv("SSL_CERT_FILE"); file != nullptr && *file != '\0')
    Curl().easy_setopt(h, CURLOPT_CAINFO, file);
  if (const char* dir = std::getenv("SSL_CERT_DIR"); dir != nullptr && *dir != '\0')
    Curl().easy_setopt(h, CURLOPT_CAPATH, dir);
  if (session.InsecureTls) {
    Curl().easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 0L);
    Curl().easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 0L);
  }
}

void WireStream(TStream& s) {
  CURL* h = s.Easy.get();
  Curl().easy_setopt(h, CURLOPT_WRITEFUNCTION, &WriteBody);
  Curl().easy_setopt(h, CURLOPT_WRITEDATA, &s);
  Curl().easy_setopt(h, CURLOPT_HEADERFUNCTION, &WriteHeader);
  Curl().easy_setopt(h, CURLOPT_HEADERDATA, &s);
  Curl().easy_setopt(h, CURLOPT_DEBUGFUNCTION, &DebugText);
  Curl().easy_setopt(h, CURLOPT_DEBUGDATA, &s);
  Curl().easy_setopt(h, CURLOPT_VERBOSE, 1L);
  Curl().easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, s.MaxBody);
}

// Runs the transfer until `ready` holds or it ended. The status and headers
// must come before HeaderDeadline.
template <class TReady>
void Pump(TStream& s, TReady ready) {
  while (!s.Done && !ready()) {
    int running = 0;
    Curl().multi_perform(s.Multi, &running);
    int left = 0;
    while (CURLMsg* msg = Curl().multi_info_read(s.Multi, &left)) {
      if (msg->msg == CURLMSG_DONE) {
        s.Done = true;
        s.Result = msg->data.result;
      }
    }
    if (s.Done || ready()) break;
    if (!s.HeadersDone && TClock::now() > s.HeaderDeadline) {
      s.Done = true;
      s.Result = CURLE_OPERATION_TIMEDOUT;
      break;
    }
    Curl().multi_poll(s.Multi, nullptr, 0, 100, nullptr);
  }
}

// Starts the configured easy handle of s on a multi handle of its own and
// waits for the status and headers (or the first bytes, or the end).
DWORD Start(TStream& s, const TInternetSession& session) {
  s.Multi = Curl().multi_init();
  if (s.Multi == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
  s.HeaderDeadline = TClock::now() + std::chrono::milliseconds(session.ConnectTimeoutMs + session.ReceiveTimeoutMs);
  if (Curl().multi_add_handle(s.Multi, s.Easy.get()) != CURLM_OK) return ERROR_INTERNET_INTERNAL_ERROR;
  Pump(s, [&] { return s.HeadersDone; });
  // Once the status and headers are in, a failure of the body is the reads' to report.
  if (s.Done && !s.HeadersDone && (s.Result != CURLE_OK || s.TooManyHeaders || s.TooLarge)) return StreamError(s);
  if (s.TooManyHeaders || (s.Done && s.Result == CURLE_FILESIZE_EXCEEDED)) return StreamError(s);
  return 0;
}

bool IsRedirect(long status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Resolves a Location value against the URL it came from; empty on failure.
std::string ResolveLocation(const std::string& base, const std::string& location) {
  CURLU* u = Curl().url();
  if (u == nullptr) return {};
  std::string result;
  if (Curl().url_set(u, CURLUPART_URL, base.c_str(), 0) == CURLUE_OK &&
      Curl().url_set(u, CURLUPART_URL, location.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK) {
    char* text = nullptr;
    if (Curl().url_get(u, CURLUPART_URL, &text, 0) == CURLUE_OK) result = text;
    Curl().free(text);
  }
  Curl().url_cleanup(u);
  return result;
}

TCurlEasy TakeEasy(TInternetSession& session, bool keep) {
  if (keep) {
    std::lock_guard lock(session.IdleLock);
    if (session.Idle) {
      TCurlEasy easy = std::move(session.Idle);
      Curl().easy_reset(easy.get());
      return easy;
    }
  }
  return TCurlEasy(Curl().easy_init());
}

// An HTTP(S) or file request, redirects followed by hand so that each hop is
// checked; answers 0 or the error number.
// With a body the request is a POST, and a redirect is the answer (the body is
// never sent on to another address).
DWORD OpenHttp(TInternetSession& session, std::string url, std::vector<std::string> extra, DWORD flags,
               std::unique_ptr<TStream>& out, const std::string* body = nullptr) {
  if (!EnsureCurl()) return ERROR_MOD_NOT_FOUND;
  const bool keep = (flags & INTERNET_FLAG_KEEP_CONNECTION) != 0;
  for (int hop = 0;; ++hop) {
    auto s = std::make_unique<TStream>();
    const std::string scheme = SchemeOf(url);
    s->Http = scheme != "file";
    s->MaxBody = session.MaxBody;
    s->Easy = TakeEasy(session, keep);
    if (!s->Easy) return ERROR_NOT_ENOUGH_MEMORY;
    for (const std::string& line : extra) {
      curl_slist* grown = Curl().slist_append(s->Headers, line.c_str());
      if (grown == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
      s->Headers = grown;
    }
    CURL* h = s->Easy.get();
    ApplySession(h, session);
    Curl().easy_setopt(h, CURLOPT_URL, url.c_str());
    Curl().easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https,file");
    Curl().easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    if (!keep) Curl().easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
    if ((flags & (INTERNET_FLAG_IGNORE_CERT_CN_INVALID | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID)) != 0) {
      Curl().easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 0L);
      Curl().easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 0L);
    }
    if (s->Headers != nullptr) Curl().easy_setopt(h, CURLOPT_HTTPHEADER, s->Headers);
    if (body != nullptr) {
      Curl().easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body->size()));
      Curl().easy_setopt(h, CURLOPT_COPYPOSTFIELDS, body->data());
    }
    WireStream(*s);
    if (DWORD error = Start(*s, session); error != 0) {
      tLastResponse.clear();
      return error;
    }
    auto location = s->ResponseHeaders.find("location");
    if (!s->Http || body != nullptr || !IsRedirect(s->Status) || location == s->ResponseHeaders.end()) {
      out = std::move(s);
      return 0;
    }
    if (hop >= kMaxRedirects) return ERROR_HTTP_REDIRECT_FAILED;
    std::string next = ResolveLocation(url, location->second);
    const std::string nextScheme = SchemeOf(next);
    if (nextScheme != "http" && nextScheme != "https") return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    if (scheme == "https" && nextScheme == "http") return ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR;
    if (HostOf(next) != HostOf(url))
      std::erase_if(extra, [](const std::string& line) { return AsciiLower(line.substr(0, 14)) == "authorization:"; });
    url = std::move(next);
  }
}

// Splits the caller's extra header text into lines; blank lines are dropped.
std::vector<std::string> HeaderLines(StringView headers, DWORD headersLength) {
  if (headersLength != DWORD(-1)) headers = headers.substr(0, std::min<std::size_t>(headersLength, headers.size()));
  std::vector<std::string> lines;
  std::string text = StringToUtf8(headers);
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string line = TrimSpaces(std::string_view(text).substr(start, end - start));
    if (!line.empty() && line.find('\0') == std::string::npos) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

HINTERNET FailHandle(DWORD error) {
  SetLastError(error);
  return nullptr;
}

DWORD WrongHandle(const THandleTable& table, std::uintptr_t key) {
  return table.Sessions.count(key) + table.Connections.count(key) + table.Requests.count(key) +
                     table.Finds.count(key) !=
                 0
             ? ERROR_INTERNET_INCORRECT_HANDLE_TYPE
             : ERROR_INVALID_HANDLE;
}

std::shared_ptr<TFtpConnection> FindConnection(HINTERNET handle, DWORD& error) {
  THandleTable& table = Table();
  std::lock_guard lock(table.Lock);
  auto it = table.Connections.find(Key(handle));
  if (it != table.Connections.end() && it->second->Http) {
    error = ERROR_INTERNET_INCORRECT_HANDLE_TYPE;
    return nullptr;
  }
  if (it == table.Connections.end()) {
    error = WrongHandle(table, Key(handle));
    return nullptr;
  }
  return it->second;
}

// A path of the connection's folder as a URL: every segment escaped.
std::string FtpUrl(const TFtpConnection& c, const std::string& path) {
  std::string url = c.BaseUrl;
  std::size_t start = 0;
  // The first "/" after the host names the login folder's root; "%2F" makes it the server's root.
  url += "/%2F";
  std::string rest = path.substr(path.find_first_not_of('/') == std::string::npos ? path.size()
                                                                                   : path.find_first_not_of('/'));
  bool first = true;
  while (start <= rest.size()) {
    std::size_t end = rest.find('/', start);
    if (end == std::string::npos) end = rest.size();
    std::string segment = rest.substr(start, end - start);
    char* escaped = Curl().easy_escape(nullptr, segment.c_str(), static_cast<int>(segment.size()));
    if (!first) url += '/';
    if (escaped != nullptr) url += escaped;
    Curl().free(escaped);
    first = false;
    start = end + 1;
  }
  return url;
}

// Joins a folder name to the connection's current folder; ".." steps up.
std::string FtpJoin(const std::string& cwd, const std::string& name) {
  std::vector<std::string> parts;
  std::string all = (!name.empty() && name[0] == '/') ? name : cwd + name;
  std::size_t start = 0;
  while (start <= all.size()) {
    std::size_t end = all.find('/', start);
    if (end == std::string::npos) end = all.size();
    std::string seg = all.substr(start, end - start);
    if (seg == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!seg.empty() && seg != ".") {
      parts.push_back(seg);
    }
    start = end + 1;
  }
  std::string path = "/";
  for (const std::string& p : parts) path += p + "/";
  return path;
}

// Sets up the connection's handle for one FTP exchange.
void PrepareFtp(TFtpConnection& c, TStream& s) {
  CURL* h = s.Easy.get();
  Curl().easy_reset(h);
  ApplySession(h, *c.Owner);
  Curl().easy_setopt(h, CURLOPT_PROTOCOLS_STR, "ftp");
  Curl().easy_setopt(h, CURLOPT_USERNAME, c.User.empty() ? "anonymous" : c.User.c_str());
  Curl().easy_setopt(h, CURLOPT_PASSWORD, c.User.empty() ? "guest@" : c.Password.c_str());
  Curl().easy_setopt(h, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
  Curl().easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, std::max(1L, (c.Owner->ReceiveTimeoutMs + 999) / 1000));
  if (!c.Passive) Curl().easy_setopt(h, CURLOPT_FTPPORT, "-");
  s.Http = false;
  s.Ftp = true;
  s.MaxBody = c.Owner->MaxBody;
  WireStream(s);
}

// One FTP exchange without a body (login, folder change, size), run to its
// end on the connection's handle; answers 0 or the error number and leaves
// the server's last reply in tLastResponse.
DWORD FtpExchange(TFtpConnection& c, const std::string& url, curl_off_t* size) {
  TStream s;
  s.Easy = std::move(c.Easy);
  PrepareFtp(c, s);
  CURL* h = s.Easy.get();
  Curl().easy_setopt(h, CURLOPT_URL, url.c_str());
  Curl().easy_setopt(h, CURLOPT_NOBODY, 1L);
  Curl().easy_setopt(h, CURLOPT_TIMEOUT_MS, c.Owner->ConnectTimeoutMs + c.Owner->ReceiveTimeoutMs);
  s.Result = Curl().easy_perform(h);
  if (size != nullptr) {
    curl_off_t length = -1;
    Curl().easy_getinfo(h, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    *size = length;
  }
  tLastResponse = s.LastReply;
  c.Easy = std::move(s.Easy);
  if (s.Result != CURLE_OK) return StreamError(s);
  return 0;
}

std::shared_ptr<TInternetRequest> FindRequest(HINTERNET handle, DWORD& error) {
  THandleTable& table = Table();
  std::lock_guard lock(table.Lock);
  auto it = table.Requests.find(Key(handle));
  if (it == table.Requests.end()) {
    error = WrongHandle(table, Key(handle));
    return nullptr;
  }
  return it->second;
}

// Ends a request: a finished keep-alive HTTP transfer hands its connection to
// the session, an FTP transfer hands its handle back to its connection.
void Retire(const std::shared_ptr<TInternetRequest>& request, THandleTable& table) {
  TStream* s = request->Stream.get();
  if (s == nullptr) return;
  if (s->Multi != nullptr && s->Easy) {
    Curl().multi_remove_handle(s->Multi, s->Easy.get());
    Curl().multi_cleanup(s->Multi);
    s->Multi = nullptr;
  }
  if (s->Ftp) {
    auto it = table.Connections.find(request->Connection);
    if (it != table.Connections.end()) {
      std::lock_guard lock(it->second->Lock);
      it->second->Easy = std::move(s->Easy);
      it->second->Busy = false;
    }
  } else if (request->KeepConnection && s->Done && s->Result == CURLE_OK) {
    auto it = table.Sessions.find(request->Session);
    if (it != table.Sessions.end()) {
      std::lock_guard lock(it->second->IdleLock);
      it->second->Idle = std::move(s->Easy);
    }
  }
  request->Stream.reset();
}

HINTERNET Register(std::shared_ptr<TInternetRequest> request, std::uintptr_t parent, bool connection) {
  THandleTable& table = Table();
  std::lock_guard lock(table.Lock);
  // The parent may have been closed while the transfer started.
  if ((connection ? table.Connections.count(parent) : table.Sessions.count(parent)) == 0) {
    Retire(request, table);
    return FailHandle(ERROR_INVALID_HANDLE);
  }
  std::uintptr_t key = table.Next++;
  table.Requests[key] = std::move(request);
  SetLastError(ERROR_SUCCESS);
  return Handle(key);
}

}  // namespace

HINTERNET InternetOpen(StringView agent, DWORD accessType, StringView proxy, StringView proxyBypass, DWORD flags) {
  (void)flags;
  if (accessType != INTERNET_OPEN_TYPE_PRECONFIG && accessType != INTERNET_OPEN_TYPE_DIRECT &&
      accessType != INTERNET_OPEN_TYPE_PROXY)
    return FailHandle(ERROR_INVALID_PARAMETER);
  auto session = std::make_shared<TInternetSession>();
  session->Agent = StringToUtf8(agent);
  session->AccessType = accessType;
  if (accessType == INTERNET_OPEN_TYPE_PROXY) {
    session->Proxy = StringToUtf8(proxy);
    session->ProxyBypass = StringToUtf8(proxyBypass);
    if (session->Proxy.empty()) return FailHandle(ERROR_INVALID_PARAMETER);
  }
  // A zero inside would cut the text where libcurl reads it.
  if (session->Agent.find('\0') != std::string::npos || session->Proxy.find('\0') != std::string::npos ||
      session->ProxyBypass.find('\0') != std::string::npos)
    return FailHandle(ERROR_INVALID_PARAMETER);
  // Without libcurl no session is made; the reason is the session's last response.
  if (!EnsureCurl()) {
    tLastResponse = CurlLibrary().Error();
    return FailHandle(ERROR_MOD_NOT_FOUND);
  }
  THandleTable& table = Table();
  std::lock_guard lock(table.Lock);
  std::uintptr_t key = table.Next++;
  table.Sessions[key] = std::move(session);
  SetLastError(ERROR_SUCCESS);
  return Handle(key);
}

BOOL InternetSetOption(HINTERNET session, DWORD option, const void* buffer, DWORD bufferLength) {
  std::shared_ptr<TInternetSession> s;
  {
    THandleTable& table = Table();
    std::lock_guard lock(table.Lock);
    auto it = table.Sessions.find(Key(session));
    if (it == table.Sessions.end()) return Fail(ERROR_INVALID_HANDLE);
    s = it->second;
  }
  if (buffer == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  auto dword = [&](DWORD& value) {
    if (bufferLength != sizeof(DWORD)) return false;
    std::memcpy(&value, buffer, sizeof value);
    return true;
  };
  DWORD value = 0;
  switch (option) {
    case INTERNET_OPTION_CONNECT_TIMEOUT:
    case INTERNET_OPTION_RECEIVE_TIMEOUT:
      if (!dword(value)) return Fail(ERROR_INTERNET_BAD_OPTION_LENGTH);
      if (value != 0) {
        long ms = static_cast<long>(std::min<DWORD>(value, 0x7FFFFFFF));
        (option == INTERNET_OPTION_CONNECT_TIMEOUT ? s->ConnectTimeoutMs : s->ReceiveTimeoutMs) = ms;
      }
      break;
    case INTERNET_OPTION_SECURITY_FLAGS:
      if (!dword(value)) return Fail(ERROR_INTERNET_BAD_OPTION_LENGTH);
      s->InsecureTls = (value & (SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
                                 SECURITY_FLAG_IGNORE_CERT_DATE_INVALID)) != 0;
      break;
    case INTERNET_OPTION_PROXY_USERNAME:
    case INTERNET_OPTION_PROXY_PASSWORD: {
      std::string text = StringToUtf8(StringView(static_cast<const Char*>(buffer), bufferLength));
      if (text.find('\0') != std::string::npos) return Fail(ERROR_INVALID_PARAMETER);
      (option == INTERNET_OPTION_PROXY_USERNAME ? s->ProxyUser : s->ProxyPassword) = std::move(text);
      break;
    }
    case INTERNET_OPTION_MAX_BODY_SIZE: {
      std::uint64_t limit = 0;
      if (bufferLength != sizeof limit) return Fail(ERROR_INTERNET_BAD_OPTION_LENGTH);
      std::memcpy(&limit, buffer, sizeof limit);
      s->MaxBody = static_cast<curl_off_t>(std::min<std::uint64_t>(limit, 0x7FFFFFFFFFFFFFFFull));
      break;
    }
    default: return Fail(ERROR_INTERNET_INVALID_OPTION);
  }
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

HINTERNET InternetOpenUrl(HINTERNET session, StringView url, StringView headers, DWORD headersLength, DWORD flags,
                          DWORD_PTR context) {
  THandleTable& table = Table();
  std::shared_ptr<TInternetSession> owner;
  {
    std::lock_guard lock(table.Lock);
    auto it = table.Sessions.find(Key(session));
    if (it == table.Sessions.end()) return FailHandle(WrongHandle(table, Key(session)));
    owner = it->second;
  }
  std::string target = TrimSpaces(StringToUtf8(url));
  if (target.find('\0') != std::string::npos) return FailHandle(ERROR_INTERNET_INVALID_URL);
  std::string scheme = SchemeOf(target);
  if (scheme != "http" && scheme != "https" && scheme != "file") return FailHandle(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
  std::vector<std::string> extra = HeaderLines(headers, headersLength);
  if ((flags & INTERNET_FLAG_PRAGMA_NOCACHE) != 0) extra.emplace_back("Pragma: no-cache");

  auto request = std::make_shared<TInternetRequest>();
  request->Session = Key(session);
  request->Context = context;
  request->KeepConnection = (flags & INTERNET_FLAG_KEEP_CONNECTION) != 0;
  if (DWORD error = OpenHttp(*owner, target, std::move(extra), flags, request->Stream); error != 0)
    return FailHandle(error);
  return Register(std::move(request), Key(session), false);
}

HINTERNET InternetConnect(HINTERNET session, StringView serverName, Word serverPort, StringView userName,
                          StringView password, DWORD service, DWORD flags, DWORD_PTR context) {
  (void)context;
  THandleTable& table = Table();
  auto c = std::make_shared<TFtpConnection>();
  {
    std::lock_guard lock(table.Lock);
    auto it = table.Sessions.find(Key(session));
    if (it == table.Sessions.end()) return FailHandle(WrongHandle(table, Key(session)));
    c->Owner = it->second;
  }
  if (service != INTERNET_SERVICE_FTP && service != INTERNET_SERVICE_HTTP) return FailHandle(ERROR_INVALID_PARAMETER);
  std::string host = StringToUtf8(serverName);
  c->User = StringToUtf8(userName);
  c->Password = StringToUtf8(password);
  if (host.empty() || host.find_first_of(std::string("/?#@ \0", 6)) != std::string::npos ||
      c->User.find('\0') != std::string::npos || c->Password.find('\0') != std::string::npos)
    return FailHandle(ERROR_INVALID_PARAMETER);
  if (host.find(':') != std::string::npos && host.front() != '[') host = "[" + host + "]";  // IPv6 literal
  c->Session = Key(session);
  if (service == INTERNET_SERVICE_HTTP) {
    c->Http = true;
    c->BaseUrl = "http://" + host + ":" + std::to_string(serverPort == 0 ? INTERNET_DEFAULT_HTTP_PORT : serverPort);
  } else {
    c->BaseUrl = "ftp://" + host + ":" + std::to_string(serverPort == 0 ? INTERNET_DEFAULT_FTP_PORT : serverPort);
    c->Passive = (flags & INTERNET_FLAG_PASSIVE) != 0;
    if (!EnsureCurl()) return FailHandle(ERROR_MOD_NOT_FOUND);
    c->Easy.reset(Curl().easy_init());
    if (!c->Easy) return FailHandle(ERROR_NOT_ENOUGH_MEMORY);
    if (DWORD error = FtpExchange(*c, c->BaseUrl + "/", nullptr); error != 0) return FailHandle(error);
  }
  std::lock_guard lock(table.Lock);
  if (table.Sessions.count(Key(session)) == 0) return FailHandle(ERROR_INVALID_HANDLE);
  std::uintptr_t key = table.Next++;
  table.Connections[key] = std::move(c);
  SetLastError(ERROR_SUCCESS);
  return Handle(key);
}

BOOL FtpSetCurrentDirectory(HINTERNET connection, StringView directory) {
  DWORD error = 0;
  std::shared_ptr<TFtpConnection> c = FindConnection(connection, error);
  if (!c) return Fail(error);
  std::string name = StringToUtf8(directory);
  if (name.find('\0') != std::string::npos) return Fail(ERROR_INVALID_PARAMETER);
  std::lock_guard lock(c->Lock);
  if (c->Busy) return Fail(ERROR_FTP_TRANSFER_IN_PROGRESS);
  std::string path = FtpJoin(c->Cwd, name);
  if (DWORD failed = FtpExchange(*c, FtpUrl(*c, path) + "/", nullptr); failed != 0)
    return Fail(failed == ERROR_INTERNET_EXTENDED_ERROR || failed == ERROR_INTERNET_INTERNAL_ERROR
                    ? ERROR_INTERNET_EXTENDED_ERROR
                    : failed);
  c->Cwd = path;
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

HINTERNET FtpFindFirstFile(HINTERNET connection, StringView searchFile, WIN32_FIND_DATA* findData, DWORD flags,
                           DWORD_PTR context) {
  (void)flags;
  (void)context;
  DWORD error = 0;
  std::shared_ptr<TFtpConnection> c = FindConnection(connection, error);
  if (!c) return FailHandle(error);
  std::string name = StringToUtf8(searchFile);
  if (name.empty() || name.find('\0') != std::string::npos || name.find_first_of("*?") != std::string::npos)
    return FailHandle(ERROR_INVALID_PARAMETER);
  curl_off_t size = -1;
  {
    std::lock_guard lock(c->Lock);
    if (c->Busy) return FailHandle(ERROR_FTP_TRANSFER_IN_PROGRESS);
    std::string path = c->Cwd + name;
    if (DWORD failed = FtpExchange(*c, FtpUrl(*c, path), &size); failed != 0)
      return FailHandle(failed == ERROR_INTERNET_EXTENDED_ERROR ? ERROR_NO_MORE_FILES : failed);
  }
  if (size < 0) return FailHandle(ERROR_NO_MORE_FILES);
  if (findData != nullptr) {
    *findData = WIN32_FIND_DATA{};
    findData->dwFileAttributes = 0x80;  // FILE_ATTRIBUTE_NORMAL
    findData->nFileSizeHigh = static_cast<DWORD>(static_cast<std::uint64_t>(size) >> 32);
    findData->nFileSizeLow = static_cast<DWORD>(static_cast<std::uint64_t>(size) & 0xFFFFFFFFu);
    findData->cFileName = Utf8ToString(name.substr(name.rfind('/') == std::string::npos ? 0 : name.rfind('/') + 1));
  }
  THandleTable& table = Table();
  std::lock_guard lock(table.Lock);
  if (table.Connections.count(Key(connection)) == 0) return FailHandle(ERROR_INVALID_HANDLE);
  std::uintptr_t key = table.Next++;
  table.Finds[key] = TFtpFind{Key(connection)};
  SetLastError(ERROR_SUCCESS);
  return Handle(key);
}

HINTERNET FtpOpenFile(HINTERNET connection, StringView fileName, DWORD access, DWORD flags, DWORD_PTR context) {
  DWORD error = 0;
  std::shared_ptr<TFtpConnection> c = FindConnection(connection, error);
  if (!c) return FailHandle(error);
  std::string name = StringToUtf8(fileName);
  if (access != INET_GENERIC_READ || name.empty() || name.find('\0') != std::string::npos)
    return FailHandle(ERROR_INVALID_PARAMETER);
  auto request = std::make_shared<TInternetRequest>();
  request->Session = c->Session;
  request->Connection = Key(connection);
  request->Context = context;
  auto s = std::make_unique<TStream>();
  {
    std::lock_guard lock(c->Lock);
    if (c->Busy || !c->Easy) return FailHandle(ERROR_FTP_TRANSFER_IN_PROGRESS);
    s->Easy = std::move(c->Easy);
    c->Busy = true;
    PrepareFtp(*c, *s);
    Curl().easy_setopt(s->Easy.get(), CURLOPT_URL, FtpUrl(*c, c->Cwd + name).c_str());
    Curl().easy_setopt(s->Easy.get(), CURLOPT_TRANSFERTEXT, (flags & FTP_TRANSFER_TYPE_ASCII) != 0 ? 1L : 0L);
  }
  DWORD failed = Start(*s, *c->Owner);
  tLastResponse = s->LastReply;
  request->Stream = std::move(s);
  if (failed != 0) {
    THandleTable& table = Table();
    std::lock_guard lock(table.Lock);
    Retire(request, table);
    return FailHandle(failed);
  }
  return Register(std::move(request), Key(connection), true);
}

HINTERNET HttpOpenRequest(HINTERNET connection, StringView verb, StringView objectName, StringView version,
                          StringView referrer, const Char* const* acceptTypes, DWORD flags, DWORD_PTR context) {
  (void)version;
  (void)referrer;
  (void)acceptTypes;
  THandleTable& table = Table();
  std::lock_guard lock(table.Lock);
  auto it = table.Connections.find(Key(connection));
  if (it == table.Connections.end()) return FailHandle(WrongHandle(table, Key(connection)));
  if (!it->second->Http) return FailHandle(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  const std::string method = StringToUtf8(verb);
  if (!method.empty() && method != "GET" && method != "POST") return FailHandle(ERROR_INVALID_PARAMETER);
  std::string object = StringToUtf8(objectName);
  if (object.find_first_of(std::string(" \r\n\0", 4)) != std::string::npos) return FailHandle(ERROR_INVALID_PARAMETER);
  if (object.empty() || object.front() != '/') object.insert(0, "/");
  auto request = std::make_shared<TInternetRequest>();
  request->Session = it->second->Session;
  request->Connection = Key(connection);
  request->KeepConnection = (flags & INTERNET_FLAG_KEEP_CONNECTION) != 0;
  request->Context = context;
  request->Pending = true;
  request->Post = method == "POST";
  request->Url = it->second->BaseUrl + object;
  request->Flags = flags;
  std::uintptr_t key = table.Next++;
  table.Requests[key] = std::move(request);
  SetLastError(ERROR_SUCCESS);
  return Handle(key);
}

BOOL HttpSendRequest(HINTERNET request, StringView headers, DWORD headersLength, const void* optional,
                     DWORD optionalLength) {
  if (optional == nullptr && optionalLength > 0) return Fail(ERROR_INVALID_PARAMETER);
  THandleTable& table = Table();
  std::shared_ptr<TInternetRequest> r;
  std::shared_ptr<TInternetSession> owner;
  {
    std::lock_guard lock(table.Lock);
    auto it = table.Requests.find(Key(request));
    if (it == table.Requests.end()) return Fail(WrongHandle(table, Key(request)));
    if (!it->second->Pending) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    r = it->second;
    auto session = table.Sessions.find(r->Session);
    if (session == table.Sessions.end()) return Fail(ERROR_INVALID_HANDLE);
    owner = session->second;
    r->Pending = false;  // one send per request
  }
  std::string body;
  if (optionalLength > 0) body.assign(static_cast<const char*>(optional), optionalLength);
  std::unique_ptr<TStream> stream;
  if (DWORD error = OpenHttp(*owner, r->Url, HeaderLines(headers, headersLength), r->Flags, stream,
                             r->Post ? &body : nullptr);
      error != 0)
    return Fail(error);
  std::lock_guard lock(table.Lock);
  // The request may have been closed while it was being sent.
  if (table.Requests.count(Key(request)) == 0) return Fail(ERROR_INVALID_HANDLE);
  r->Stream = std::move(stream);
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL InternetGetLastResponseInfo(DWORD* error, String& buffer) {
  if (error != nullptr) *error = tLastResponse.empty() ? 0 : ERROR_INTERNET_EXTENDED_ERROR;
  buffer = Utf8ToString(tLastResponse);
  return TRUE;
}

BOOL HttpQueryInfo(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength, DWORD* index) {
  DWORD error = 0;
  std::shared_ptr<TInternetRequest> r = FindRequest(request, error);
  if (!r) return Fail(error);
  if (!r->Stream || !r->Stream->Http) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  if (bufferLength == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  const TStream& s = *r->Stream;

  std::string value;
  switch (infoLevel) {
    case HTTP_QUERY_STATUS_CODE: value = std::to_string(s.Status); break;
    case HTTP_QUERY_CONTENT_TYPE:
    case HTTP_QUERY_CONTENT_LENGTH: {
      auto header = s.ResponseHeaders.find(infoLevel == HTTP_QUERY_CONTENT_TYPE ? "content-type" : "content-length");
      if (header == s.ResponseHeaders.end()) return Fail(ERROR_HTTP_HEADER_NOT_FOUND);
      value = header->second;
      break;
    }
    default: return Fail(ERROR_HTTP_INVALID_QUERY_REQUEST);
  }
  if (index != nullptr && *index != 0) return Fail(ERROR_HTTP_HEADER_NOT_FOUND);

  // Header bytes are Latin-1 text on the wire.
  String text;
  text.reserve(value.size());
  for (char c : value) text.push_back(static_cast<Char>(static_cast<unsigned char>(c)));
  const std::size_t bytes = text.size() * sizeof(Char);
  const std::size_t needed = bytes + sizeof(Char);
  if (buffer == nullptr || *bufferLength < needed) {
    *bufferLength = static_cast<DWORD>(needed);
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  text.push_back(u'\0');
  std::memcpy(buffer, text.data(), needed);
  *bufferLength = static_cast<DWORD>(bytes);
  if (index != nullptr) *index = 1;
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL InternetReadFile(HINTERNET request, void* buffer, DWORD toRead, DWORD* read) {
  DWORD error = 0;
  std::shared_ptr<TInternetRequest> r = FindRequest(request, error);
  if (!r) return Fail(error);
  if (read == nullptr || (buffer == nullptr && toRead > 0)) return Fail(ERROR_INVALID_PARAMETER);
  *read = 0;
  if (!r->Stream) return Fail(ERROR_INVALID_HANDLE);
  TStream& s = *r->Stream;
  if (toRead > 0) Pump(s, [&] { return s.Buffer.size() > s.BufferPos; });
  std::size_t n = std::min<std::size_t>(toRead, s.Buffer.size() - s.BufferPos);
  if (n > 0) {
    std::memcpy(buffer, s.Buffer.data() + s.BufferPos, n);
    s.BufferPos += n;
    *read = static_cast<DWORD>(n);
  } else if (toRead > 0 && s.Done && (s.Result != CURLE_OK || s.TooLarge || s.Excess)) {
    if (s.Ftp) tLastResponse = s.LastReply;
    return Fail(StreamError(s));
  }
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL InternetCloseHandle(HINTERNET handle) {
  THandleTable& table = Table();
  std::vector<std::shared_ptr<TInternetRequest>> closing;
  std::vector<std::shared_ptr<TFtpConnection>> closingConnections;
  std::shared_ptr<TInternetSession> closingSession;
  {
    std::lock_guard lock(table.Lock);
    std::uintptr_t key = Key(handle);
    if (auto it = table.Requests.find(key); it != table.Requests.end()) {
      Retire(it->second, table);
      closing.push_back(std::move(it->second));
      table.Requests.erase(it);
    } else if (auto find = table.Finds.find(key); find != table.Finds.end()) {
      table.Finds.erase(find);
    } else if (auto conn = table.Connections.find(key); conn != table.Connections.end()) {
      for (auto r = table.Requests.begin(); r != table.Requests.end();) {
        if (r->second->Connection == key) {
          Retire(r->second, table);
          closing.push_back(std::move(r->second));
          r = table.Requests.erase(r);
        } else {
          ++r;
        }
      }
      std::erase_if(table.Finds, [key](const auto& entry) { return entry.second.Connection == key; });
      closingConnections.push_back(std::move(conn->second));
      table.Connections.erase(conn);
    } else if (auto session = table.Sessions.find(key); session != table.Sessions.end()) {
      for (auto r = table.Requests.begin(); r != table.Requests.end();) {
        if (r->second->Session == key) {
          closing.push_back(std::move(r->second));
          r = table.Requests.erase(r);
        } else {
          ++r;
        }
      }
      for (auto c = table.Connections.begin(); c != table.Connections.end();) {
        if (c->second->Session == key) {
          std::uintptr_t ck = c->first;
          std::erase_if(table.Finds, [ck](const auto& entry) { return entry.second.Connection == ck; });
          closingConnections.push_back(std::move(c->second));
          c = table.Connections.erase(c);
        } else {
          ++c;
        }
      }
      closingSession = std::move(session->second);
      table.Sessions.erase(session);
    } else {
      return Fail(ERROR_INVALID_HANDLE);
    }
  }
  // The objects die here, outside the table lock (closing a connection may talk to a server).
  closing.clear();
  closingConnections.clear();
  closingSession.reset();
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}
