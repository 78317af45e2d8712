#pragma once
// Internet sessions in the shape of the WinInet calls the program makes: open a
// session, open a URL (http, https or file), ask for a few response headers,
// read the body, close the handles.
//
// A request transfers its whole body into memory when it is opened (at most
// kInternetMaxBodySize bytes), so reads never block. Connections give up after
// 30 seconds; a transfer that stalls (under 1 byte per second for 60 seconds)
// fails as a time-out; more than 256 KiB of response headers fail with
// ERROR_HTTP_INVALID_SERVER_RESPONSE. Redirects are followed, to http and https
// only. Nothing is cached.
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
constexpr DWORD ERROR_INTERNET_CONNECTION_ABORTED = 12030;
constexpr DWORD ERROR_INTERNET_CONNECTION_RESET = 12031;
constexpr DWORD ERROR_INTERNET_INVALID_CA = 12045;
constexpr DWORD ERROR_HTTP_HEADER_NOT_FOUND = 12150;
constexpr DWORD ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;
constexpr DWORD ERROR_HTTP_INVALID_QUERY_REQUEST = 12153;
constexpr DWORD ERROR_HTTP_REDIRECT_FAILED = 12156;
constexpr DWORD ERROR_INTERNET_SECURITY_CHANNEL_ERROR = 12157;

// Largest body a request holds; a larger one fails the open with ERROR_NOT_ENOUGH_MEMORY.
constexpr std::size_t kInternetMaxBodySize = 64u * 1024u * 1024u;

// A new session with that user agent. accessType is one of the three above
// (else nullptr, ERROR_INVALID_PARAMETER); proxy and proxyBypass count only
// for INTERNET_OPEN_TYPE_PROXY (an empty proxy there: ERROR_INVALID_PARAMETER).
// flags are accepted and ignored: there is no offline or asynchronous mode.
HINTERNET InternetOpen(StringView agent, DWORD accessType, StringView proxy, StringView proxyBypass, DWORD flags);

// A request on the session for the URL, its response fully received. The first
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

// Copies up to toRead further body bytes into buffer; *read := their number,
// 0 at the end of the body. FALSE with ERROR_INVALID_HANDLE (stale handle),
// ERROR_INTERNET_INCORRECT_HANDLE_TYPE (a session), ERROR_INVALID_PARAMETER
// (nullptr read, or nullptr buffer with toRead > 0).
BOOL InternetReadFile(HINTERNET request, void* buffer, DWORD toRead, DWORD* read);

// Closes a session (with the requests opened on it) or a request; the handle
// is refused from then on. FALSE with ERROR_INVALID_HANDLE for an unknown,
// stale or nullptr handle.
BOOL InternetCloseHandle(HINTERNET handle);
