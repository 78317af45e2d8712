// TWebUpdate: the transports. Every download lands in a temporary file and
// replaces its target by a rename only when its whole length arrived.
#include <fstream>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/Files.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WinError.h"
#include "webupdate/Checksums.h"
#include "webupdate/SftpSession.h"
#include "webupdate/StatusTexts.h"
#include "webupdate/WebUpdate.h"

namespace {

constexpr std::size_t kBlock = 4096;
constexpr std::size_t kCopyBlock = 32768;
// A server that keeps answering 401 cannot keep the user in a login loop.
constexpr int kMaxLoginRetries = 5;

struct TInternetCloser {
  void operator()(void* h) const {
    if (h != nullptr) InternetCloseHandle(h);
  }
};
using TInternetHandle = std::unique_ptr<void, TInternetCloser>;

String QueryText(HINTERNET request, DWORD level) {
  Char buffer[64] = {};
  DWORD length = sizeof buffer;
  if (!HttpQueryInfo(request, level, buffer, &length, nullptr)) return {};
  return String(buffer, length / sizeof(Char));
}

void PumpMessages() { ProcessPendingMessages(); }

}  // namespace

String URLToDomain(const String& AURL) {
  String s = AURL;
  if (std::size_t p = s.find(u"://"); p != String::npos) s = s.substr(p + 3);
  if (std::size_t p = s.find(u'/'); p != String::npos) s = s.substr(0, p);
  if (std::size_t p = s.find(u'\\'); p != String::npos) s = s.substr(0, p);
  return s;
}

String MakeProxyUrl(const String& AURL, const String& ProxyUser, const String& ProxyPwd) {
  if (!UpperCase(AURL).starts_with(u"HTTP://") || ProxyUser.empty()) return AURL;
  return u"http://" + ProxyUser + u":" + ProxyPwd + u"@" + AURL.substr(7);
}

String TWebUpdate::URLtoFile(const String& AURL) {
  String name = AURL;
  if (std::size_t q = name.find(u'?'); q != String::npos) name.resize(q);
  if (std::size_t p = name.find_last_of(u"/\\"); p != String::npos) name = name.substr(p + 1);
  // A folder is never a file name: "x/", "x/." and "x/.." name none.
  if (name == u"." || name == u"..") name.clear();
  if (OnFileNameFromURL) Raise([&] { OnFileNameFromURL(this, AURL, name); });
  if (name == u"." || name == u".." || name.find_first_of(u"/\\") != String::npos) name.clear();
  return name;
}

void TWebUpdate::Error() {
  DWORD code = GetLastError();
  if (code == 0) return;
  String text = SysErrorMessage(code);
  if (code == ERROR_INTERNET_EXTENDED_ERROR) {
    DWORD dummy = 0;
    InternetGetLastResponseInfo(&dummy, text);
    if (text.empty()) return;
  }
  DoStatus(wsSystemError, text, 1, static_cast<Integer>(code));
  if (!OnStatus && UpdateUpdate != wuuSilent) {
    int answer = 0;
    Ask(text, MB_OK | MB_ICONERROR, answer);
  }
}

String TWebUpdate::NewTempFile() {
  String dir = UseWinTempDir ? GetTempPath() : TempDirectory;
  String name;
  if (GetTempFileName(dir.empty() ? String(u".") : dir, u"WUPD", 0, name) == 0) return {};
  return name;
}

String TWebUpdate::ResolvedKnownHosts() const {
  if (!KnownHostsFile.empty()) return KnownHostsFile;
  return IncludeTrailingPathDelimiter(GetShellFolderPath(CSIDL_APPDATA)) + u"RyxUpdater/known_hosts";
}

bool TWebUpdate::PlaceDownloaded(const String& temp, const String& target) {
  // Never delete first: the old file stays until the new one is whole.
  if (MoveFileEx(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
    return true;
  DWORD code = GetLastError();
  DoStatus(wsCannotRename, temp + u" to " + target, 19, 7);
  AddToLog(u"Unable to rename file " + temp + u" to " + target + u" (" + SysErrorMessage(code) + u")");
  if (!DeleteFile(temp)) AddToLog(u"Unable to delete file " + temp);
  return false;
}

bool TWebUpdate::URLGetFile(void* hfile, const String& url, const String& tgt, bool uncompress) {
  (void)hfile;  // the component's own handles are used; hfile names the same
  const String name = URLtoFile(url);
  DoStatus(wsDownload, HideURLInLogFile ? name : url, 3, 0);

  if (OnBeforeUrlToFile) {
    bool handled = false, success = false;
    Raise([&] { OnBeforeUrlToFile(FHintConnect, url, tgt, uncompress, handled, success); });
    if (handled && !name.empty() && FileExists(tgt + name)) {
      CustomProcess(tgt + name);
      const String upper = UpperCase(name);
      if (upper.find(u".CAB") != String::npos || upper.find(u".ZIP") != String::npos) DoStatus(wsExtractArchive, tgt + name, 3, 0);
      return ExtractDownloaded(tgt + name, tgt, true) && success;
    }
  }

  if (UpdateType == fileUpdate) {
    String target = ExtractFileName(tgt).empty() ? tgt + name : tgt;
    if (ExtractFileName(target).empty()) {
      DoStatus(wsCopySourceNotFound, url, 2, 1);
      return false;
    }
    if (!CopyLocalFile(url, target)) return false;
    CustomProcess(target);
    return !uncompress || ExtractDownloaded(target, ExtractFilePath(target), true);
  }

  if (name.empty()) {
    DoStatus(wsSourceNotFound, url, 2, 1);
    return false;
  }
  const String target = tgt + name;
  const String temp = NewTempFile();
  if (temp.empty()) {
    DoStatus(wsSystemError, SysErrorMessage(GetLastError()), 1, static_cast<Integer>(GetLastError()));
    return false;
  }
  Int64 total = 0;
  bool cancel = false;
  bool ok = false;
  if (UpdateType == sftpUpdate) ok = TransferSftp(name, temp, target, total, cancel);
  else if (UpdateType == ftpUpdate) ok = TransferFtp(name, temp, target, total, cancel);
  else ok = TransferHttp(url, temp, target, total, cancel);
  if (cancel) FCancelled = true;
  if (!ok || cancel) {
    if (!DeleteFile(temp)) AddToLog(u"Unable to delete file " + temp);
    return false;
  }
  if (!PlaceDownloaded(temp, target)) return false;
  CustomProcess(target);
  return !uncompress || ExtractDownloaded(target, tgt, false);
}

namespace {

// Copies a request's body into the open file; false on a read or write error,
// a cancel, or a body that grows past limit (tooLarge). total counts the bytes written.
template <class TProgress>
bool ReadBody(HINTERNET request, std::ofstream& out, Int64& total, Int64 limit, bool& tooLarge, bool& cancel,
              TProgress progress) {
  char block[kBlock];
  for (;;) {
    PumpMessages();
    DWORD read = 0;
    if (!InternetReadFile(request, block, sizeof block, &read)) return false;
    if (read == 0) return true;
    if (total + read > limit) {
      tooLarge = true;
      return false;
    }
    out.write(block, read);
    if (!out) return false;
    total += read;
    progress();
    if (cancel) return false;
  }
}

}  // namespace

bool TWebUpdate::TransferHttp(const String& url, const String& temp, const String& target, Int64& total,
                              bool& cancel) {
  if (FHintConnect == nullptr) {
    DoStatus(wsSourceNotFound, url, 2, 1);
    return false;
  }
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
  if (HTTPKeepAliveAuthentication) flags |= INTERNET_FLAG_KEEP_CONNECTION;
  if (ExistingConnection) flags |= INTERNET_FLAG_EXISTING_CONNECT;
  if (CertCheck == ccDisable)
    flags |= INTERNET_FLAG_IGNORE_CERT_CN_INVALID | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID |
             INTERNET_FLAG_CACHE_IF_NET_FAIL;
  const String caption = u"Connect to " + URLToDomain(url);
  if (Authenticate == waAlways && (UserID.empty() || Password.empty()) && !AskLogin(caption)) {
    DoStatus(wsAuthCancelled, u"Authentication cancelled", 0, 0);
    return false;
  }
  TInternetHandle request;
  for (int retries = 0;; ++retries) {
    String header;
    if (!UserID.empty() || !Password.empty())
      header = u"Authorization: Basic " + Base64Encode(StringToUtf8(UserID + u":" + Password)) + u"\r\n\r\n";
    request.reset(InternetOpenUrl(FHintConnect, url, header, static_cast<DWORD>(header.size()), flags, 0));
    if (!request) break;
    Integer status = StrToIntDef(QueryText(request.get(), HTTP_QUERY_STATUS_CODE), 0);
    if (status == 401 && Authenticate == waAuto && retries < kMaxLoginRetries) {
      request.reset();
      if (!AskLogin(caption)) {
        DoStatus(wsAuthCancelled, u"Authentication cancelled", 0, 0);
        return false;
      }
      continue;
    }
    if (status >= 300) {
      DoStatus(wsHttpStatus, IntToStr(status), 6, status);
      return false;
    }
    break;
  }
  if (!request) {
    Error();
    DoStatus(wsSourceNotFound, url, 2, 1);
    return false;
  }
  Int64 size = 0;
  String length = QueryText(request.get(), HTTP_QUERY_CONTENT_LENGTH);
  const bool hasLength = TryStrToInt64(length, size) && size >= 0;
  const Int64 limit = TransferCap();
  if (hasLength && size > limit) {
    DoStatus(wsTooLarge, url, 20, 10);
    return false;
  }
  std::ofstream out(StringToUtf8(temp), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  bool tooLarge = false;
  bool ok = ReadBody(request.get(), out, total, limit, tooLarge, cancel, [&] {
    DoFileProgress(target, total, hasLength ? size : 0);
    cancel = FCancelled;
    DoProgressCancel(cancel);
  });
  out.close();
  if (tooLarge) {
    DoStatus(wsTooLarge, url, 20, 10);
    return false;
  }
  if (!ok && !cancel) {
    Error();
    DoStatus(wsLengthMismatch, url, 20, 10);
    return false;
  }
  if (ok && !out) ok = false;
  if (ok && hasLength && total != size) {
    DoStatus(wsLengthMismatch, url, 20, 10);
    return false;
  }
  return ok && (total > 0 || (hasLength && size == 0));
}

bool TWebUpdate::TransferFtp(const String& name, const String& temp, const String& target, Int64& total,
                             bool& cancel) {
  if (FHintConnect == nullptr) {
    DoStatus(wsSourceNotFound, name, 2, 1);
    return false;
  }
  if (!FTPDirectory.empty() && !FFTPDirSet) {
    String dir = ExpandPath(FTPDirectory);
    DoStatus(wsChangeFtpDir, dir, 3, 0);
    if (!FtpSetCurrentDirectory(FHintConnect, dir)) {
      String reply;
      DWORD dummy = 0;
      InternetGetLastResponseInfo(&dummy, reply);
      DoStatus(wsCannotChangeFtpDir, reply.empty() ? dir : dir + u" (" + reply + u")", 3, 8);
      return false;
    }
    FFTPDirSet = true;
  }
  WIN32_FIND_DATA data;
  Int64 size = -1;
  if (TInternetHandle find{FtpFindFirstFile(FHintConnect, name, &data, 0x84000000u, 0)}) {
    size = (static_cast<Int64>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  } else {
    DWORD code = GetLastError();
    String reply;
    DWORD dummy = 0;
    InternetGetLastResponseInfo(&dummy, reply);
    DoStatus(wsControlFileNotFound, reply.empty() ? name : name + u" (" + reply + u")", 11, static_cast<Integer>(code));
  }
  TInternetHandle request{
      FtpOpenFile(FHintConnect, name, INET_GENERIC_READ, 0x84000000u | FTP_TRANSFER_TYPE_BINARY, 0)};
  if (!request) {
    DWORD code = GetLastError();
    String reply;
    DWORD dummy = 0;
    InternetGetLastResponseInfo(&dummy, reply);
    DoStatus(wsCannotDownload, reply.empty() ? name : name + u" (" + reply + u")", 13, static_cast<Integer>(code));
    Error();
    DoStatus(wsSourceNotFound, name, 2, 1);
    return false;
  }
  const Int64 limit = TransferCap();
  if (size > limit) {
    DoStatus(wsTooLarge, name, 20, 10);
    return false;
  }
  std::ofstream out(StringToUtf8(temp), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  bool tooLarge = false;
  bool ok = ReadBody(request.get(), out, total, limit, tooLarge, cancel, [&] {
    DoFileProgress(target, total, std::max<Int64>(size, 0));
    cancel = FCancelled;
    DoProgressCancel(cancel);
  });
  out.close();
  if (tooLarge) {
    DoStatus(wsTooLarge, name, 20, 10);
    return false;
  }
  if (!ok) {
    if (!cancel) Error();
    return false;
  }
  // The server's SIZE is the length that must have arrived.
  if (!out || size < 0 || total != size) {
    DoStatus(wsLengthMismatch, name, 20, 10);
    return false;
  }
  return true;
}

bool TWebUpdate::TransferSftp(const String& name, const String& temp, const String& target, Int64& total,
                              bool& cancel) {
  String dir = u"/";
  if (!FTPDirectory.empty()) {
    dir = ExpandPath(FTPDirectory);
    DoStatus(wsChangeFtpDir, dir, 3, 0);
    if (FSftp && !FSftp->OpenDirectory(dir)) {
      DoStatus(wsCannotChangeFtpDir, dir, 3, 8);
      return false;
    }
  }
  if (!FSftp) {
    DoStatus(wsSourceNotFound, name, 2, 1);
    return false;
  }
  const String path = dir.ends_with(u'/') ? dir + name : dir + u"/" + name;
  Int64 size = -1;
  if (!FSftp->Stat(path, size) || !FSftp->OpenFile(path)) {
    DoStatus(wsCannotDownload, name, 13, 0);
    DoStatus(wsSourceNotFound, name, 2, 1);
    return false;
  }
  if (size > TransferCap()) {
    FSftp->CloseFile();
    DoStatus(wsTooLarge, name, 20, 10);
    return false;
  }
  std::ofstream out(StringToUtf8(temp), std::ios::binary | std::ios::trunc);
  bool ok = static_cast<bool>(out);
  char block[kBlock];
  while (ok) {
    PumpMessages();
    long n = FSftp->Read(block, sizeof block);
    if (n < 0) ok = false;
    if (n <= 0) break;
    out.write(block, n);
    if (!out) ok = false;
    total += n;
    DoFileProgress(target, total, size);
    cancel = FCancelled;
    DoProgressCancel(cancel);
    // A cancel stops the read at once; so does a server that sends more than it announced.
    if (cancel || total > size) break;
  }
  FSftp->CloseFile();
  out.close();
  if (cancel) return false;
  if (!ok || !out || total != size) {
    DoStatus(wsLengthMismatch, name, 20, 10);
    return false;
  }
  return true;
}

bool TWebUpdate::CopyLocalFile(const String& Source, const String& Target) {
  if (Source == Target) {
    DoStatus(wsEqualSourceTarget, Source, 10, 3);
    return false;
  }
  std::ifstream in(StringToUtf8(Source), std::ios::binary);
  if (!in || DirectoryExists(Source)) {
    DoStatus(wsCopySourceNotFound, Source, 2, 1);
    return false;
  }
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size < 0 || !in) {
    DoStatus(wsZeroLengthSource, Source, 10, 2);
    return false;
  }
  if (size > TransferCap()) {
    DoStatus(wsTooLarge, Source, 20, 10);
    return false;
  }
  const String temp = NewTempFile();
  if (temp.empty()) return false;
  bool cancel = false;
  bool error = false;
  Int64 total = 0;
  {
    std::ofstream out(StringToUtf8(temp), std::ios::binary | std::ios::trunc);
    error = !out;
    std::vector<char> block(kCopyBlock);
    while (!error && !cancel) {
      in.read(block.data(), static_cast<std::streamsize>(block.size()));
      std::streamsize n = in.gcount();
      if (n <= 0) {
        error = in.bad();
        break;
      }
      out.write(block.data(), n);
      if (!out) error = true;
      total += n;
      DoFileProgress(Source, total, size);
      DoProgressCancel(cancel);
      PumpMessages();
    }
    out.close();
    if (!out) error = true;
  }
  if (!error && !cancel && total != size) error = true;  // the source changed under the copy
  if (cancel) FCancelled = true;
  if (cancel || error) {
    if (!DeleteFile(temp)) DoStatus(wsCannotDelete, u"Delete error " + IntToStr(GetLastError()) + u" for " + temp, 19, 6);
    return false;
  }
  return PlaceDownloaded(temp, Target);
}

Integer TWebUpdate::FTPConnect() {
  FFTPDirSet = false;
  DoStatus(wsConnectToHost, Host, 3, 0);
  if (UpdateType == sftpUpdate) {
    auto session = std::make_unique<TSftpSession>();
    const Integer timeout = ReceiveTimeOut > 0 ? ReceiveTimeOut : 60000;
    PumpMessages();
    if (!session->Connect(Host, Port, SocketBuffLen, ResolvedKnownHosts(), AcceptNewHostKey, timeout)) {
      DoStatus(wsCannotConnectSftp, session->Error(), 3, 5);
      return -1;
    }
    if (Authenticate == waAlways || (Authenticate == waAuto && (UserID.empty() || Password.empty())))
      if (!AskLogin(u"Connect to " + URLToDomain(URL))) {
        DoStatus(wsAuthCancelled, u"Authentication cancelled", 0, 0);
        return -1;
      }
    if (UserID.empty() || Password.empty() || !session->Login(UserID, Password)) {
      DoStatus(wsCannotConnectSftp, u"Cannot start SSH session", 3, 5);
      return -1;
    }
    PumpMessages();
    if (!session->StartSftp()) {
      DoStatus(wsCannotConnectSftp, session->Error(), 3, 5);
      return -1;
    }
    FSftp = std::move(session);
    DoStatus(wsSftpSessionStarted, u"Succesfull SFTP session", 3, 0);
    return 0;
  }
  if (Authenticate == waAlways || (Authenticate == waAuto && (UserID.empty() || Password.empty())))
    if (!AskLogin(u"Connect to " + URLToDomain(URL))) {
      DoStatus(wsAuthCancelled, u"Authentication cancelled", 0, 0);
      return -1;
    }
  const bool both = !UserID.empty() && !Password.empty();
  FHintConnect = InternetConnect(FSession, Host, static_cast<Word>(Port), both ? UserID : String(),
                                 both ? Password : String(), INTERNET_SERVICE_FTP,
                                 FTPPassive ? INTERNET_FLAG_PASSIVE : 0, 0);
  return FHintConnect != nullptr ? 0 : -1;
}
