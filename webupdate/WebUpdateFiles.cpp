// TWebUpdate: the file list, the downloads and how they are placed and
// unpacked, and the after-update actions.
#include <memory>

#include "platform/net/WinInet.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/Files.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Shell.h"
#include "webupdate/CabFDI.h"
#include "webupdate/ControlFile.h"
#include "webupdate/StatusTexts.h"
#include "webupdate/WebUpdate.h"

namespace {

// The names of a component list: separated by blanks, commas or semicolons
// (quotes group a name with blanks).
std::vector<String> ComponentNames(const String& list) {
  String text = list;
  for (Char& c : text)
    if (c == u',' || c == u';') c = u' ';
  return CommandLineToArgs(text);
}

// A whole-name match without regard to case: "app" is no component of "myapp.exe".
bool IsComponent(const String& name, const String& list) {
  for (const String& c : ComponentNames(list))
    if (SameText(ExtractFileName(c), name)) return true;
  return false;
}

// A downloaded entry waiting to be placed.
struct TDownloaded {
  TFileDescription* File;
  String Name;
  String Path;  // where the download landed
};

}  // namespace

Integer TWebUpdate::ProcessFileDetails() {
  for (Integer i = 0; i < FFileList->Count();) {
    TFileDescription* f = FFileList->Items(i);
    String nv = f->NewVersion;
    String lv = f->LocalVersion;
    DoStatus(971,
             (HideURLInLogFile ? URLtoFile(f->URL) : f->URL) + u"[" + lv + u",nv=" + f->NewVersion + u",nd=" +
                 f->NewDate + u",ns=" + IntToStr(f->NewSize) + u",nc=" + IntToStr(f->NewCheckSum) + u"]",
             0, 0);
    bool keep = true;
    if (!lv.empty() && !f->NewDate.empty()) {
      TDateTime date = ParseDateTime(f->NewDate, f->NewTime);
      TDateTime age = 0;
      keep = !FileExists(lv) || !FileAge(lv, age) || date > age;
    } else if (!CompareFile(nv, lv, f->NewSize, f->NewCheckSum)) {
      DoStatus(930, nv + u" removed from update list", 0, 0);
      keep = false;
    } else if (OnFileVersionCheck && !f->NewCustomVer.empty()) {
      bool allow = true;
      String custom = f->NewCustomVer;
      Raise([&] { OnFileVersionCheck(this, custom, lv, allow); });
      keep = allow;
    }
    if (keep) ++i;
    else FFileList->Delete(i);
  }
  if (OnGetFileList && FFileList->Count() > 0) {
    TStringList list;
    for (Integer i = 0; i < FFileList->Count(); ++i) list.Add(FFileList->Items(i)->Description);
    Raise([&] { OnGetFileList(this, &list); });
    for (Integer i = 0; i < FFileList->Count() && i < list.Count();) {
      if (list.Strings(i).empty() && !FFileList->Items(i)->Mandatory) {
        FFileList->Delete(i);
        list.Delete(i);
      } else {
        ++i;
      }
    }
  }
  return FFileList->Count() == 0 ? -1 : 0;
}

Integer TWebUpdate::GetFileUpdates() {
  Integer result = 0;
  TWebUpdateUpdate mode = UpdateUpdate;
  const Integer count = FFileList->Count();
  std::vector<TDownloaded> downloaded;
  FAppCompFiles.clear();
  for (Integer i = 1; i <= count && !FCancelled; ++i) {
    TFileDescription* f = FFileList->Items(i - 1);
    int answer = IDYES;
    if (mode == wuuPromptAll)
      Ask(WebUpdateStatusText(909) + URLtoFile(f->URL), MB_YESNO | MB_ICONQUESTION, answer);
    else if (mode == wuuPromptOnce)
      Ask(WebUpdateStatusText(910), MB_YESNO | MB_ICONQUESTION, answer);
    if (answer != IDYES) {
      if (mode == wuuPromptOnce) break;
      continue;
    }
    if (mode == wuuPromptOnce) mode = wuuSilent;
    String url = f->URL;
    FFileList->ActiveItem = i - 1;
    if (OnBeforeFileDownload) Raise([&] { OnBeforeFileDownload(this, i, f->Description, url); });
    // The file is placed under the name it was downloaded as.
    const String name = URLtoFile(url);
    if (!f->TargetDir.empty() && !DirectoryExists(f->TargetDir)) ForceDirectories(f->TargetDir);
    const String dir = UseWinTempDir ? WinTempDir() : f->TargetDir;
    bool ok = !name.empty() && URLGetFile(FHintConnect, url, dir, false);
    if (!ok) {
      result = -1;
      DoStatus(946, url, 2, 9);
      FAppUpdate = false;
      continue;
    }
    downloaded.push_back({f, name, dir + name});
  }
  if (FCancelled) result = -1;
  // A run whose downloads did not all arrive places none of them: the
  // program's files stay one consistent set.
  if (result != 0) {
    if (UseWinTempDir && !KeepIntermediateFiles)
      for (const TDownloaded& d : downloaded) DeleteFile(d.Path);
    FDownloadFailed = true;
    return result;
  }
  for (const TDownloaded& d : downloaded) {
    TFileDescription* f = d.File;
    const String ext = UpperCase(ExtractFileExt(d.Name));
    const bool archive = ext == u".CAB" || ext == u".ZIP" || ext == u".PAT";
    if (IsComponent(d.Name, FAppComps)) {
      FAppCompIncluded = true;
      FAppCompFiles.push_back(d.Name);
      DoStatus(962, d.Name, 0, 0);
      continue;  // the restart helper installs it
    }
    String placed = d.Path;
    if (!archive && UseWinTempDir && !f->TargetDir.empty()) {
      const String target = f->TargetDir + d.Name;
      // Never delete first: the old file stays until the new one is in place.
      if (target != d.Path) {
        if (MoveFileEx(d.Path, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) {
          placed = target;
        } else {
          DoStatus(973, d.Path + u" to " + target, 19, 7);
          result = -1;
          continue;
        }
      }
    }
    const String unpackDir = f->TargetDir.empty() ? ExtractFilePath(d.Path) : f->TargetDir;
    if (f->Compressed && !archive && (ExtractCAB || ExtractZIP)) {
      LZExpandFile(placed);  // a file that is not compressed stays as it is
    } else if (ext == u".CAB" && ExtractCAB && f->Compressed) {
      if (CabExtract(d.Path, unpackDir) != 0) {
        DoStatus(947, d.Path, 8, 0);
        result = -1;
      } else if (!KeepIntermediateFiles) {
        DeleteFile(d.Path);
      }
    } else if (ext == u".ZIP" && ExtractZIP && f->Compressed) {
      if (ZipExtract(d.Path, unpackDir) != 0) {
        DoStatus(947, d.Path, 21, 0);
        result = -1;
      } else if (!KeepIntermediateFiles) {
        DeleteFile(d.Path);
      }
    } else if (ext == u".PAT" && ApplyPatch && !f->LocalVersion.empty()) {
      bool showWindow = true, showAnimation = false;
      String caption, message;
      if (FUtility != nullptr) {
        if (ApplyPatch) ExtractPatcher();
        showWindow = FUtility->ShowWindow;
        showAnimation = FUtility->ShowAnimation;
        caption = FUtility->StatusCaption;
        message = FUtility->StatusMessage;
      }
      // Only the patch tool the program wrote into its temporary folder runs,
      // by its full path; it failing fails the run.
      const String patcher = WinTempDir() + u"patcher";
      String line = AnsiQuotedStr(patcher, u'"') + (Logging ? u" -v " : u" ") + AnsiQuotedStr(d.Path, u'"') + u" " +
                    AnsiQuotedStr(f->LocalVersion, u'"');
      if (!FileExists(patcher) || !RunAndWait(line, showWindow, showAnimation, caption, message)) {
        DoStatus(946, d.Path, 2, 9);
        result = -1;
      }
      if (!KeepIntermediateFiles) DeleteFile(d.Path);
    }
  }
  if (result != 0) FDownloadFailed = true;
  return result;
}

Integer TWebUpdate::UpdateActions() {
  if (FCancelled) return -1;
  if (FPostUpdateInfo->Enabled) {
    bool allowPost = true;
    if (OnBeforePost) Raise([&] { OnBeforePost(this, allowPost); });
    if (allowPost) {
      DoPostUpdateInfo();
      bool allowResult = true;
      if (OnProcessPostResult) Raise([&] { OnProcessPostResult(this, allowResult); });
      if (!allowResult) return -1;
    }
  }
  // Only a run whose files all arrived is recorded as done.
  if (FSaveUpdateDate && !FDownloadFailed) UpdateDatePut(FNewVersionDate);
  std::unique_ptr<TControlFile> ini = OpenControlFile();
  String next = ini->ReadString(u"action", u"updateURL");
  if (!next.empty()) {
    DoStatus(941, {}, 3, 0);
    URLPut(next);
  }
  if (FUtility != nullptr && ApplyPatch) ExtractPatcher();
  String program = ExpandPath(ini->ReadString(u"action", u"runafter"));
  String params = ini->ReadString(u"action", u"runafterparam");
  DoSetAppParamAfter(params);
  if (!program.empty()) StartProgram(program, params);
  DoStatus(948, {}, 3, 0);
  return 0;
}

namespace {

struct TPostHandleCloser {
  void operator()(void* h) const {
    if (h != nullptr) InternetCloseHandle(h);
  }
};
using TPostHandle = std::unique_ptr<void, TPostHandleCloser>;

// "host" or "host:port" (a mirror or a test server on another port); port 80
// unless a port is written.
std::pair<String, Word> PostServer(const String& server) {
  std::size_t colon = server.rfind(u':');
  if (colon == String::npos || server.find(u']', colon) != String::npos || colon + 1 == server.size())
    return {server, INTERNET_DEFAULT_HTTP_PORT};
  unsigned long port = 0;
  for (std::size_t i = colon + 1; i < server.size(); ++i) {
    if (server[i] < u'0' || server[i] > u'9' || port > 65535) return {server, INTERNET_DEFAULT_HTTP_PORT};
    port = port * 10 + (server[i] - u'0');
  }
  if (port == 0 || port > 65535) return {server, INTERNET_DEFAULT_HTTP_PORT};
  return {server.substr(0, colon), static_cast<Word>(port)};
}

}  // namespace

void TWebUpdate::DoPostUpdateInfo() {
  TPostUpdateInfo* info = FPostUpdateInfo.get();
  if (info->Server.empty() || info->Action.empty()) return;
  TPostHandle session(InternetOpen(Agent, INTERNET_OPEN_TYPE_PRECONFIG, u"", u"", 0));
  auto [host, port] = PostServer(info->Server);
  TPostHandle connection(session ? InternetConnect(session.get(), host, port, u"", u"", INTERNET_SERVICE_HTTP, 0, 1)
                                 : nullptr);
  if (!connection) {
    DoStatus(951, {}, 16, 5);
    return;
  }
  const DWORD flags = INTERNET_FLAG_IGNORE_CERT_CN_INVALID | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID |
                      INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
  TPostHandle request(HttpOpenRequest(connection.get(), u"POST", info->Action, u"", u"", nullptr, flags, 1));
  if (!request) {
    DoStatus(952, {}, 17, 5);
    return;
  }
  info->PostResult.clear();
  const String header = u"Content-Type: application/x-www-form-urlencoded";
  if (!HttpSendRequest(request.get(), header, static_cast<DWORD>(header.size()), info->Data.data(),
                       static_cast<DWORD>(info->Data.size())))
    return;
  char block[4096];
  for (;;) {
    ProcessPendingMessages();
    DWORD read = 0;
    if (!InternetReadFile(request.get(), block, sizeof block, &read) || read == 0) break;
    info->PostResult.append(block, read);
  }
}
