#pragma once
// Internet sessions in the shape of the WinInet calls the program makes: open a
// session, open a URL (http, https or file), ask for a few response headers,
// read the body, close the handles; FTP connections with a current folder,
// a size query and binary downloads.
//
// Requests stream: opening one waits for the response's status and headers,
// and each read waits for the next bytes of the body. A body may hold at most
// kInternetMaxBodySize bytes (INTERNET_OPTION_MAX_BODY_SIZE changes that per
// session): a larger declared length fails the open with
// ERROR_NOT_ENOUGH_MEMORY, a longer body fails the read. Limits, each a
// failure with the error named: connecting takes at most 30 seconds
// (INTERNET_OPTION_CONNECT_TIMEOUT), the status and headers must arrive within
// the connect plus the receive time-out (a server that trickles its headers
// cannot hold a caller), a body that stalls (under 1 byte per second for the
// receive time-out, 60 seconds unless INTERNET_OPTION_RECEIVE_TIMEOUT says
// otherwise) fails with ERROR_INTERNET_TIMEOUT, more than 256 KiB of response
// headers fail with ERROR_HTTP_INVALID_SERVER_RESPONSE, and a body shorter
// than its Content-Length fails the read with ERROR_INTERNET_CONNECTION_ABORTED.
// Redirects (at most 10) are followed to http and https only, never from https
// to http (ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR), and an Authorization line
// of the caller is dropped when a redirect leaves the host. Nothing is cached.
//
// A request handle belongs to one thread at a time; different handles may be
// used from different threads.
//
// Handles are numbers that are never reused: a closed handle stays refused.
// Every call leaves its error in the calling thread's GetLastError, with the
// numbers WinInet uses (ERROR_INTERNET_* from 12000).
#include <cstddef>
#include <cstdint>

#include "platform/rtl/Types.h"
#include "platform/win/KernelHandles.h"

using HINTERNET = void*;
using DWORD_PTR = std::uintptr_t;

// InternetOpen access types.
constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;  // the system's proxy settings (environment)
constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;     // no proxy
constexpr DWORD INTERNET_OPEN_TYPE_PROXY = 3;      // the proxy named in the call

// InternetOpenUrl flags. No cache exists, so RELOAD and NO_CACHE_WRITE change
// nothing; PRAGMA_NOCACHE sends "Pragma: no-cache" so proxies ask the origin.
constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;
constexpr DWORD INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000;
constexpr DWORD INTERNET_FLAG_PRAGMA_NOCACHE = 0x00000100;
// Reuse the session's open connection for the next request to the same server
// (HTTP keep-alive); without it every request gets a connection of its own.
constexpr DWORD INTERNET_FLAG_KEEP_CONNECTION = 0x00400000;
// Accepted; connections are reused only under INTERNET_FLAG_KEEP_CONNECTION.
constexpr DWORD INTERNET_FLAG_EXISTING_CONNECT = 0x20000000;
// Either one switches HTTPS certificate checks off for the request.
constexpr DWORD INTERNET_FLAG_IGNORE_CERT_CN_INVALID = 0x00001000;
constexpr DWORD INTERNET_FLAG_IGNORE_CERT_DATE_INVALID = 0x00002000;
constexpr DWORD INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS = 0x00004000;
// Accepted; there is no cache to fall back on.
constexpr DWORD INTERNET_FLAG_RESYNCHRONIZE = 0x00000800;
constexpr DWORD INTERNET_FLAG_CACHE_IF_NET_FAIL = 0x00010000;
// InternetConnect: passive FTP (otherwise active: the server connects back).
constexpr DWORD INTERNET_FLAG_PASSIVE = 0x08000000;
// FtpOpenFile transfer types.
constexpr DWORD FTP_TRANSFER_TYPE_ASCII = 0x1;
constexpr DWORD FTP_TRANSFER_TYPE_BINARY = 0x2;
constexpr DWORD INET_GENERIC_READ = 0x80000000u;

// InternetConnect services and default ports.
constexpr DWORD INTERNET_SERVICE_FTP = 1;
constexpr DWORD INTERNET_SERVICE_HTTP = 3;
constexpr Word INTERNET_DEFAULT_FTP_PORT = 21;
constexpr Word INTERNET_DEFAULT_HTTP_PORT = 80;

// InternetSetOption options (on a session).
constexpr DWORD INTERNET_OPTION_CONNECT_TIMEOUT = 2;   // DWORD milliseconds, 0 keeps the default
constexpr DWORD INTERNET_OPTION_RECEIVE_TIMEOUT = 6;   // DWORD milliseconds, 0 keeps the default
constexpr DWORD INTERNET_OPTION_SECURITY_FLAGS = 31;   // DWORD SECURITY_FLAG_* set
constexpr DWORD INTERNET_OPTION_PROXY_USERNAME = 43;   // UTF-16 text (length in characters)
constexpr DWORD INTERNET_OPTION_PROXY_PASSWORD = 44;   // UTF-16 text (length in characters)
// The layer's own: the largest body a request of the session accepts (64-bit bytes).
constexpr DWORD INTERNET_OPTION_MAX_BODY_SIZE = 0x10001;
// Any of these switches HTTPS certificate checks off for the whole session.
constexpr DWORD SECURITY_FLAG_IGNORE_UNKNOWN_CA = 0x00000100;
constexpr DWORD SECURITY_FLAG_IGNORE_CERT_CN_INVALID = 0x00001000;
constexpr DWORD SECURITY_FLAG_IGNORE_CERT_DATE_INVALID = 0x00002000;

// HttpQueryInfo levels (answered as text).
constexpr DWORD HTTP_QUERY_CONTENT_TYPE = 1;
constexpr DWORD HTTP_QUERY_CONTENT_LENGTH = 5;
constexpr DWORD HTTP_QUERY_STATUS_CODE = 19;

constexpr DWORD ERROR_INTERNET_TIMEOUT = 12002;
constexpr DWORD ERROR_INTERNET_INTERNAL_ERROR = 12004;
constexpr DWORD ERROR_INTERNET_INVALID_URL = 12005;
constexpr DWORD ERROR_INTERNET_UNRECOGNIZED_SCHEME = 12006;
constexpr DWORD ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_TYPE = 12018;
constexpr DWORD ERROR_INTERNET_CANNOT_CONNECT = 12029;
constexpr DWORD ERROR_INTERNET_BAD_OPTION_LENGTH = 12010;
constexpr DWORD ERROR_INTERNET_INVALID_OPTION = 12009;
constexpr DWORD ERROR_INTERNET_LOGIN_FAILURE = 12015;
constexpr DWORD ERROR_INTERNET_EXTENDED_ERROR = 12003;
constexpr DWORD ERROR_INTERNET_CONNECTION_ABORTED = 12030;
constexpr DWORD ERROR_INTERNET_CONNECTION_RESET = 12031;
constexpr DWORD ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR = 12040;
constexpr DWORD ERROR_INTERNET_INVALID_CA = 12045;
constexpr DWORD ERROR_FTP_TRANSFER_IN_PROGRESS = 12110;
constexpr DWORD ERROR_HTTP_HEADER_NOT_FOUND = 12150;
constexpr DWORD ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;
constexpr DWORD ERROR_HTTP_INVALID_QUERY_REQUEST = 12153;
constexpr DWORD ERROR_HTTP_REDIRECT_FAILED = 12156;
constexpr DWORD ERROR_INTERNET_SECURITY_CHANNEL_ERROR = 12157;

// Largest body a request accepts unless the session says otherwise.
constexpr std::size_t kInternetMaxBodySize = 64u * 1024u * 1024u;

// What FtpFindFirstFile tells of a remote file.
struct WIN32_FIND_DATA {
  DWORD dwFileAttributes = 0;
  DWORD nFileSizeHigh = 0;
  DWORD nFileSizeLow = 0;
  String cFileName;
};

// A new session with that user agent. accessType is one of the three above
// (else nullptr, ERROR_INVALID_PARAMETER); proxy and proxyBypass count only
// for INTERNET_OPEN_TYPE_PROXY (an empty proxy there: ERROR_INVALID_PARAMETER).
// flags are accepted and ignored: there is no offline or asynchronous mode.
HINTERNET InternetOpen(StringView agent, DWORD accessType, StringView proxy, StringView proxyBypass, DWORD flags);

// Sets a session option (the INTERNET_OPTION_* above) from buffer, bufferLength
// bytes. FALSE with ERROR_INVALID_HANDLE for a handle that is not a live
// session, ERROR_INTERNET_INVALID_OPTION for another option,
// ERROR_INTERNET_BAD_OPTION_LENGTH for a DWORD option of another length, and
// ERROR_INVALID_PARAMETER for a nullptr buffer. Requests opened later use it.
BOOL InternetSetOption(HINTERNET session, DWORD option, const void* buffer, DWORD bufferLength);

// A request on the session for the URL, its status and headers received. The first
// headersLength characters of headers (all of them for DWORD(-1)) are extra
// request lines separated by CR LF. Any HTTP status is a success (ask
// HTTP_QUERY_STATUS_CODE). nullptr on failure: ERROR_INVALID_HANDLE for a
// stale or unknown session, ERROR_INTERNET_INCORRECT_HANDLE_TYPE for a
// request handle, ERROR_INTERNET_UNRECOGNIZED_SCHEME, ERROR_INTERNET_INVALID_URL,
// ERROR_INTERNET_NAME_NOT_RESOLVED, ERROR_INTERNET_CANNOT_CONNECT,
// ERROR_INTERNET_TIMEOUT, ERROR_NOT_ENOUGH_MEMORY for an oversized body,
// ERROR_FILE_NOT_FOUND for a missing file, other ERROR_INTERNET_* for the rest.
// context is kept and not used (no callbacks).
HINTERNET InternetOpenUrl(HINTERNET session, StringView url, StringView headers, DWORD headersLength, DWORD flags,
                          DWORD_PTR context);

// The response's content type, content length or status code as UTF-16 text
// with a closing zero in buffer; *bufferLength is its size in bytes on entry
// and the text's size in bytes (without the zero) on return. index may be
// nullptr; else *index must be 0 and becomes 1. FALSE with:
// ERROR_INSUFFICIENT_BUFFER (*bufferLength := bytes needed, with the zero) when
// the buffer is short or nullptr; ERROR_HTTP_HEADER_NOT_FOUND when the
// response has no such header (or *index is not 0); ERROR_HTTP_INVALID_QUERY_REQUEST
// for another level or a modifier flag; ERROR_INTERNET_INCORRECT_HANDLE_TYPE
// for a session or a file request; ERROR_INVALID_HANDLE for a stale handle;
// ERROR_INVALID_PARAMETER for a nullptr bufferLength.
BOOL HttpQueryInfo(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength, DWORD* index);

// Waits for and copies up to toRead further body bytes into buffer; *read :=
// their number, 0 at the end of the body. FALSE when the transfer failed
// (ERROR_INTERNET_TIMEOUT, ERROR_INTERNET_CONNECTION_ABORTED for a body cut
// short, ERROR_HTTP_INVALID_SERVER_RESPONSE for one longer than announced,
// ERROR_NOT_ENOUGH_MEMORY past the body limit, ERROR_INTERNET_EXTENDED_ERROR
// for an FTP refusal), ERROR_INVALID_HANDLE (stale handle),
// ERROR_INTERNET_INCORRECT_HANDLE_TYPE (a session), ERROR_INVALID_PARAMETER
// (nullptr read, or nullptr buffer with toRead > 0).
BOOL InternetReadFile(HINTERNET request, void* buffer, DWORD toRead, DWORD* read);

// An FTP connection on the session to server:port (0: port 21), logged in as
// userName with password (anonymous when userName is empty). The login
// happens here: a refused one gives nullptr with ERROR_INTERNET_LOGIN_FAILURE,
// no server ERROR_INTERNET_CANNOT_CONNECT; the server's last reply is kept for
// InternetGetLastResponseInfo; flags may hold INTERNET_FLAG_PASSIVE.
// INTERNET_SERVICE_HTTP gives an HTTP connection to server:port (0: port 80)
// for HttpOpenRequest; nothing is sent until HttpSendRequest (user name and
// password are not used). Another service: ERROR_INVALID_PARAMETER.
HINTERNET InternetConnect(HINTERNET session, StringView serverName, Word serverPort, StringView userName,
                          StringView password, DWORD service, DWORD flags, DWORD_PTR context);

// Changes the connection's current folder (relative to the current one, or
// absolute with a leading "/"). FALSE with ERROR_INTERNET_EXTENDED_ERROR when
// the server refuses (its reply in InternetGetLastResponseInfo),
// ERROR_INVALID_HANDLE or ERROR_INTERNET_INCORRECT_HANDLE_TYPE for a handle
// that is no FTP connection.
BOOL FtpSetCurrentDirectory(HINTERNET connection, StringView directory);

// Looks up one file (no wildcards) in the current folder: a find handle and
// its name and 64-bit size in findData. nullptr with ERROR_NO_MORE_FILES when
// the server knows no such file, other errors as FtpSetCurrentDirectory.
// Close the handle with InternetCloseHandle.
HINTERNET FtpFindFirstFile(HINTERNET connection, StringView searchFile, WIN32_FIND_DATA* findData, DWORD flags,
                           DWORD_PTR context);

// Opens a file of the current folder for reading (INET_GENERIC_READ only) as a
// request that InternetReadFile reads. The connection serves one open file at
// a time (else ERROR_FTP_TRANSFER_IN_PROGRESS). nullptr with
// ERROR_INTERNET_EXTENDED_ERROR when the server refuses the file.
HINTERNET FtpOpenFile(HINTERNET connection, StringView fileName, DWORD access, DWORD flags, DWORD_PTR context);

// A request for objectName ("/path?query"; a missing leading "/" is added) on
// an HTTP connection, with the verb "GET" or "POST" (empty: "GET"); nothing is
// sent yet. version, referrer and acceptTypes (nullptr or a list ending in
// nullptr) are accepted and not used. flags as InternetOpenUrl's. nullptr with
// ERROR_INVALID_HANDLE or ERROR_INTERNET_INCORRECT_HANDLE_TYPE for a handle
// that is no HTTP connection, ERROR_INVALID_PARAMETER for another verb or an
// object with a NUL, space or line break.
HINTERNET HttpOpenRequest(HINTERNET connection, StringView verb, StringView objectName, StringView version,
                          StringView referrer, const Char* const* acceptTypes, DWORD flags, DWORD_PTR context);

// Sends a request from HttpOpenRequest with the extra header lines (as
// InternetOpenUrl takes them) and, for a POST, optionalLength bytes of
// optional as the body (a GET sends none), and waits for the status and headers; HttpQueryInfo and
// InternetReadFile then work on the request. A redirect answer is returned as
// it is (a body is never sent on to another address). FALSE with the errors
// of InternetOpenUrl, ERROR_INVALID_PARAMETER for nullptr optional with a
// length, ERROR_INTERNET_INCORRECT_HANDLE_TYPE for a request that is not an
// unsent one of HttpOpenRequest.
BOOL HttpSendRequest(HINTERNET request, StringView headers, DWORD headersLength, const void* optional,
                     DWORD optionalLength);

// The last server reply that the calling thread's failed call met (FTP) and
// its error number; TRUE with an empty text when there is none.
BOOL InternetGetLastResponseInfo(DWORD* error, String& buffer);

// Closes a session (with the requests opened on it) or a request; the handle
// is refused from then on. FALSE with ERROR_INVALID_HANDLE for an unknown,
// stale or nullptr handle.
BOOL InternetCloseHandle(HINTERNET handle);
