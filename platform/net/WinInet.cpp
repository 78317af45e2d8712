// Internet sessions and requests over libcurl; see WinInet.h.
#include "platform/net/WinInet.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win/WinError.h"

namespace {

struct TInternetSession {
  std::string Agent;
  DWORD AccessType = INTERNET_OPEN_TYPE_PRECONFIG;
  std::string Proxy;
  std::string ProxyBypass;
};

struct TInternetRequest {
  std::uintptr_t Session = 0;  // the handle number of the session it belongs to
  bool Http = false;
  long StatusCode = 0;
  std::map<std::string, std::string> Headers;  // final response's, names in lower case
  std::string Body;
  std::size_t ReadPos = 0;
  DWORD_PTR Context = 0;
};

// Handles are numbers from a counter that never repeats, so a closed handle
// cannot name a later object.
struct THandleTable {
  std::mutex Lock;
  std::uintptr_t Next = 0x1000;
  std::map<std::uintptr_t, std::shared_ptr<TInternetSession>> Sessions;
  std::map<std::uintptr_t, std::unique_ptr<TInternetRequest>> Requests;
};

THandleTable& Table() {
  static THandleTable table;
  return table;
}

std::uintptr_t Key(HINTERNET handle) { return reinterpret_cast<std::uintptr_t>(handle); }
HINTERNET Handle(std::uintptr_t key) { return reinterpret_cast<HINTERNET>(key); }

void EnsureCurl() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
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

// Bytes of response headers a request accepts, redirects included.
constexpr std::size_t kMaxHeaderBytes = 256 * 1024;

struct TTransfer {
  TInternetRequest* Request;
  bool TooLarge = false;
  bool TooManyHeaders = false;
  std::size_t HeaderBytes = 0;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<TTransfer*>(user);
  std::size_t n = size * count;
  std::string& body = transfer->Request->Body;
  if (n > kInternetMaxBodySize - body.size()) {
    transfer->TooLarge = true;
    return 0;  // aborts the transfer
  }
  body.append(data, n);
  return n;
}

// Keeps the headers of the last response only: a redirect, a proxy's CONNECT
// answer or an interim 1xx response starts a new set.
size_t WriteHeader(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<TTransfer*>(user);
  std::size_t n = size * count;
  std::string_view line(data, n);
  transfer->HeaderBytes += n;
  if (transfer->HeaderBytes > kMaxHeaderBytes) {
    transfer->TooManyHeaders = true;
    return 0;  // aborts the transfer
  }
  if (line.substr(0, 5) == "HTTP/") {
    transfer->Request->Headers.clear();
    return n;
  }
  std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return n;
  std::string name = AsciiLower(TrimSpaces(line.substr(0, colon)));
  if (!name.empty()) transfer->Request->Headers[name] = TrimSpaces(line.substr(colon + 1));
  return n;
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
    case CURLE_OUT_OF_MEMORY: return ERROR_NOT_ENOUGH_MEMORY;
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
    default: return ERROR_INTERNET_INTERNAL_ERROR;
  }
}

// Runs the transfer into request; answers 0 or the error number.
DWORD Perform(const TInternetSession& session, const std::string& url, const std::vector<std::string>& extraHeaders,
              TInternetRequest& request) {
  EnsureCurl();
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
  if (!curl) return ERROR_NOT_ENOUGH_MEMORY;
  std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(nullptr, &curl_slist_free_all);
  for (const std::string& line : extraHeaders) {
    curl_slist* grown = curl_slist_append(headers.get(), line.c_str());
    if (grown == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
    headers.release();
    headers.reset(grown);
  }
  TTransfer transfer{&request};
  CURL* h = curl.get();
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https,file");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 20L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 30L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 60L);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kInternetMaxBodySize));
  if (!session.Agent.empty()) curl_easy_setopt(h, CURLOPT_USERAGENT, session.Agent.c_str());
  if (session.AccessType == INTERNET_OPEN_TYPE_DIRECT) {
    curl_easy_setopt(h, CURLOPT_PROXY, "");
  } else if (session.AccessType == INTERNET_OPEN_TYPE_PROXY) {
    curl_easy_setopt(h, CURLOPT_PROXY, session.Proxy.c_str());
    curl_easy_setopt(h, CURLOPT_NOPROXY, session.ProxyBypass.c_str());
  }  // INTERNET_OPEN_TYPE_PRECONFIG: libcurl reads the proxy environment itself
  if (headers) curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &WriteBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &WriteHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);

  CURLcode code = curl_easy_perform(h);
  if (transfer.TooLarge || code == CURLE_FILESIZE_EXCEEDED) return ERROR_NOT_ENOUGH_MEMORY;
  if (transfer.TooManyHeaders) return ERROR_HTTP_INVALID_SERVER_RESPONSE;
  if (code != CURLE_OK) return ErrorFor(code);
  long status = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
  request.StatusCode = status;
  return 0;
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

}  // namespace

HINTERNET InternetOpen(StringView agent, DWORD accessType, StringView proxy, StringView proxyBypass, DWORD flags) {
  (void)flags;
  if (accessType != INTERNET_OPEN_TYPE_PRECONFIG && accessType != INTERNET_OPEN_TYPE_DIRECT &&
      accessType != INTERNET_OPEN_TYPE_PROXY) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto session = std::make_shared<TInternetSession>();
  session->Agent = StringToUtf8(agent);
  session->AccessType = accessType;
  if (accessType == INTERNET_OPEN_TYPE_PROXY) {
    session->Proxy = StringToUtf8(proxy);
    session->ProxyBypass = StringToUtf8(proxyBypass);
    if (session->Proxy.empty()) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
  }
  // A zero inside would cut the text where libcurl reads it.
  if (session->Agent.find('\0') != std::string::npos || session->Proxy.find('\0') != std::string::npos ||
      session->ProxyBypass.find('\0') != std::string::npos) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  THandleTable& table = Table();
  std::lock_guard lock(table.Lock);
  std::uintptr_t key = table.Next++;
  table.Sessions[key] = std::move(session);
  SetLastError(ERROR_SUCCESS);
  return Handle(key);
}

HINTERNET InternetOpenUrl(HINTERNET session, StringView url, StringView headers, DWORD headersLength, DWORD flags,
                          DWORD_PTR context) {
  THandleTable& table = Table();
  std::shared_ptr<TInternetSession> owner;
  {
    std::lock_guard lock(table.Lock);
    auto it = table.Sessions.find(Key(session));
    if (it == table.Sessions.end()) {
      SetLastError(table.Requests.count(Key(session)) != 0 ? ERROR_INTERNET_INCORRECT_HANDLE_TYPE
                                                           : ERROR_INVALID_HANDLE);
      return nullptr;
    }
    owner = it->second;
  }
  std::string target = TrimSpaces(StringToUtf8(url));
  if (target.find('\0') != std::string::npos) {
    SetLastError(ERROR_INTERNET_INVALID_URL);
    return nullptr;
  }
  std::string scheme = SchemeOf(target);
  if (scheme != "http" && scheme != "https" && scheme != "file") {
    SetLastError(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
    return nullptr;
  }
  std::vector<std::string> extra = HeaderLines(headers, headersLength);
  if ((flags & INTERNET_FLAG_PRAGMA_NOCACHE) != 0) extra.emplace_back("Pragma: no-cache");

  auto request = std::make_unique<TInternetRequest>();
  request->Session = Key(session);
  request->Http = scheme != "file";
  request->Context = context;
  if (DWORD error = Perform(*owner, target, extra, *request); error != 0) {
    SetLastError(error);
    return nullptr;
  }
  std::lock_guard lock(table.Lock);
  // The session may have been closed while the transfer ran: its requests go with it.
  if (table.Sessions.count(Key(session)) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  std::uintptr_t key = table.Next++;
  table.Requests[key] = std::move(request);
  SetLastError(ERROR_SUCCESS);
  return Handle(key);
}

BOOL HttpQueryInfo(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength, DWORD* index) {
  THandleTable& table = Table();
  std::lock_guard lock(table.Lock);
  auto it = table.Requests.find(Key(request));
  if (it == table.Requests.end())
    return Fail(table.Sessions.count(Key(request)) != 0 ? ERROR_INTERNET_INCORRECT_HANDLE_TYPE : ERROR_INVALID_HANDLE);
  const TInternetRequest& r = *it->second;
  if (!r.Http) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  if (bufferLength == nullptr) return Fail(ERROR_INVALID_PARAMETER);

  std::string value;
  switch (infoLevel) {
    case HTTP_QUERY_STATUS_CODE: value = std::to_string(r.StatusCode); break;
    case HTTP_QUERY_CONTENT_TYPE:
    case HTTP_QUERY_CONTENT_LENGTH: {
      auto header = r.Headers.find(infoLevel == HTTP_QUERY_CONTENT_TYPE ? "content-type" : "content-length");
      if (header == r.Headers.end()) return Fail(ERROR_HTTP_HEADER_NOT_FOUND);
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
  THandleTable& table = Table();
  std::lock_guard lock(table.Lock);
  auto it = table.Requests.find(Key(request));
  if (it == table.Requests.end())
    return Fail(table.Sessions.count(Key(request)) != 0 ? ERROR_INTERNET_INCORRECT_HANDLE_TYPE : ERROR_INVALID_HANDLE);
  if (read == nullptr || (buffer == nullptr && toRead > 0)) return Fail(ERROR_INVALID_PARAMETER);
  TInternetRequest& r = *it->second;
  std::size_t n = std::min<std::size_t>(toRead, r.Body.size() - r.ReadPos);
  if (n > 0) std::memcpy(buffer, r.Body.data() + r.ReadPos, n);
  r.ReadPos += n;
  *read = static_cast<DWORD>(n);
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL InternetCloseHandle(HINTERNET handle) {
  THandleTable& table = Table();
  std::lock_guard lock(table.Lock);
  std::uintptr_t key = Key(handle);
  if (auto it = table.Requests.find(key); it != table.Requests.end()) {
    table.Requests.erase(it);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
  }
  auto it = table.Sessions.find(key);
  if (it == table.Sessions.end()) return Fail(ERROR_INVALID_HANDLE);
  table.Sessions.erase(it);
  std::erase_if(table.Requests, [key](const auto& entry) { return entry.second->Session == key; });
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}
