// TWebUpdate: the file list, the downloads and how they are placed and
// unpacked, and the after-update actions.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
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
#include "webupdate/Checksums.h"
#include "webupdate/ProgressForm.h"
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
  String Path;   // where the download landed (in the entry's stage folder)
  String Stage;  // the entry's stage folder; its "out/" holds what is placed
};

// One file to put in place: Source (staged) becomes Target.
struct TPlacement {
  TPlacement(const String& ASource, const String& ATarget) : Source(ASource), Target(ATarget) {}
  String Source;
  String Target;
  String New;     // the copy beside Target, made before anything is replaced
  String Backup;  // Target's old file while the run can still be undone
  bool Existed = false;
  bool Placed = false;
};

String FileNameOf(const std::filesystem::path& p) { return Utf8ToString(p.string()); }

// Every regular file below dir, with its path relative to dir.
std::vector<std::filesystem::path> FilesBelow(const String& dir) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  const std::filesystem::path root(StringToUtf8(dir));
  for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
    if (it->is_regular_file(ec)) files.push_back(std::filesystem::relative(it->path(), root, ec));
  return files;
}

// Puts every file in place or none: first each new file is copied beside
// its target (nothing is replaced yet), then the targets are swapped in one
// after the other with the old files kept, and a failed swap puts every old
// file back. False with Failed naming the file that could not be placed.
bool PlaceAll(std::vector<TPlacement>& moves, String& Failed) {
  auto dropNew = [&] {
    for (TPlacement& m : moves)
      if (!m.New.empty()) DeleteFile(m.New);
  };
  for (TPlacement& m : moves) {
    const String dir = ExtractFileDir(m.Target);
    if (!dir.empty() && !DirectoryExists(dir)) ForceDirectories(dir);
    const String temp = m.Target + u".wupd-new";
    DeleteFile(temp);
    if (!MoveFileEx(m.Source, temp, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) {
      Failed = m.Target;
      dropNew();
      return false;
    }
    m.New = temp;
  }
  auto undo = [&] {
    for (auto it = moves.rbegin(); it != moves.rend(); ++it) {
      if (!it->Placed) continue;
      if (it->Existed) ::rename(StringToUtf8(it->Backup).c_str(), StringToUtf8(it->Target).c_str());
      else DeleteFile(it->Target);
      it->Placed = false;
    }
    dropNew();
  };
  for (TPlacement& m : moves) {
    const std::string target = StringToUtf8(m.Target);
    // A folder is never replaced by a file.
    if (DirectoryExists(m.Target)) {
      Failed = m.Target;
      undo();
      return false;
    }
    m.Existed = FileExists(m.Target);
    if (m.Existed) {
      m.Backup = m.Target + u".wupd-old";
      const std::string backup = StringToUtf8(m.Backup);
      ::unlink(backup.c_str());
      // A hard link keeps the old file where it is until the new one replaces it.
      if (::link(target.c_str(), backup.c_str()) != 0 && ::rename(target.c_str(), backup.c_str()) != 0) {
        Failed = m.Target;
        undo();
        return false;
      }
    }
    m.Placed = true;  // from here on the backup (or nothing) is what undo restores
    if (::rename(StringToUtf8(m.New).c_str(), target.c_str()) != 0) {
      Failed = m.Target;
      undo();
      return false;
    }
    m.New.clear();
  }
  for (TPlacement& m : moves)
    if (m.Existed) DeleteFile(m.Backup);
  return true;
}

}  // namespace

Integer TWebUpdate::ProcessFileDetails() {
  for (Integer i = 0; i < FFileList->Count();) {
    TFileDescription* f = FFileList->Items(i);
    String nv = f->NewVersion;
    String lv = f->LocalVersion;
    DoStatus(wsProcessingFile,
             (HideURLInLogFile ? URLtoFile(f->URL) : f->URL) + u"[" + lv + u",nv=" + f->NewVersion + u",nd=" +
                 f->NewDate + u",ns=" + IntToStr(f->NewSize) + u",nc=" + IntToStr(f->NewCheckSum) + u"]",
             0, 0);
    bool keep = true;
    if (!lv.empty() && !f->NewDate.empty()) {
      TDateTime date = ParseDateTime(f->NewDate, f->NewTime);
      TDateTime age = 0;
      keep = !FileExists(lv) || !FileAge(lv, age) || date > age;
    } else if (!CompareFile(nv, lv, f->NewSize, f->NewCheckSum)) {
      DoStatus(wsNoNewVersion, nv + u" removed from update list", 0, 0);
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
  FAppCompPlaced.clear();
  FAppCompIncluded = false;  // this run's components only
  if (FTargetRefused) {
    FDownloadFailed = true;
    return -1;
  }
  const String stageRoot = PrivateDir();
  if (stageRoot.empty()) {
    DoStatus(wsSystemError, SysErrorMessage(GetLastError()), 1, static_cast<Integer>(GetLastError()));
    FDownloadFailed = true;
    return -1;
  }
  for (Integer i = 1; i <= count && !FCancelled; ++i) {
    TFileDescription* f = FFileList->Items(i - 1);
    int answer = IDYES;
    if (mode == wuuPromptAll)
      Ask(WebUpdateStatusText(wsAskDownloadFile) + URLtoFile(f->URL), MB_YESNO | MB_ICONQUESTION, answer);
    else if (mode == wuuPromptOnce)
      Ask(WebUpdateStatusText(wsAskDownloadFiles), MB_YESNO | MB_ICONQUESTION, answer);
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
    const String ext = UpperCase(ExtractFileExt(name));
    const bool archive = ext == u".CAB" || ext == u".ZIP" || ext == u".PAT";
    const bool component = !name.empty() && IsComponent(name, FAppComps);
    // A part of the program comes only from a source that can prove itself.
    if (component && !ChannelVerified(url)) {
      Refuse(wsUnverifiedRefused, url, u"a program component must come over a channel that proves its source");
      result = -1;
      FAppUpdate = false;
      continue;
    }
    // Each entry lands in a stage folder of its own; what it places is in "out/".
    const String stage = stageRoot + IntToStr(i) + u"/";
    const String into = archive || component ? stage : stage + u"out/";
    ForceDirectories(into);
    if (FProgressForm) FProgressForm->Show();
    // A body longer than the control file announced stops as soon as it passes that size.
    FTransferLimit = f->NewSize > 0 ? std::min<Int64>(f->NewSize, MaxDownloadSize) : 0;
    bool ok = !name.empty() && URLGetFile(FHintConnect, url, into, false);
    FTransferLimit = 0;
    if (FProgressForm) FProgressForm->Hide();
    if (!ok) {
      result = -1;
      DoStatus(wsCannotDownload, url, 2, 9);
      FAppUpdate = false;
      continue;
    }
    const String path = into + name;
    // What arrived must be what the control file announced.
    if (f->NewSize > 0 && FileSizeOf(path) != f->NewSize) {
      DoStatus(wsSizeMismatch, HideURLInLogFile ? name : url, 20, 11);
      result = -1;
      FAppUpdate = false;
      continue;
    }
    if (f->NewCheckSum != -1) {
      const Integer sum = UseCRC32 ? CRC32OfFile(path) : ByteSumOfFile(path);
      if (sum != f->NewCheckSum) {
        DoStatus(wsChecksumMismatch, HideURLInLogFile ? name : url, 20, 12);
        result = -1;
        FAppUpdate = false;
        continue;
      }
    }
    downloaded.push_back({f, name, path, stage});
  }
  if (FCancelled) result = -1;
  // A run whose downloads did not all arrive places none of them: the
  // program's files stay one consistent set.
  if (result != 0) {
    FDownloadFailed = true;
    return result;
  }
  // Unpack in the stage folders; nothing of the program's changes yet.
  std::vector<TPlacement> moves;
  std::vector<const TDownloaded*> patches;
  for (const TDownloaded& d : downloaded) {
    TFileDescription* f = d.File;
    const String ext = UpperCase(ExtractFileExt(d.Name));
    const bool archive = ext == u".CAB" || ext == u".ZIP" || ext == u".PAT";
    // Where the entry's files go: its target folder, else the download folder.
    const String dir = !f->TargetDir.empty() ? f->TargetDir : (UseWinTempDir ? WinTempDir() : String());
    const String out = d.Stage + u"out/";
    if (IsComponent(d.Name, FAppComps)) {
      // The restart helper installs it from the download folder.
      const String helperDir = UseWinTempDir ? WinTempDir() : f->TargetDir;
      moves.emplace_back(d.Path, helperDir + d.Name);
      FAppCompPlaced.push_back(helperDir + d.Name);
      FAppCompIncluded = true;
      FAppCompFiles.push_back(d.Name);
      DoStatus(wsAppComponentFound, d.Name, 0, 0);
      continue;
    }
    bool keepArchive = false;
    if (f->Compressed && !archive && (ExtractCAB || ExtractZIP)) {
      LZExpandFile(d.Path);  // a file that is not compressed stays as it is
    } else if (ext == u".CAB" && ExtractCAB && f->Compressed) {
      DoStatus(wsExtractArchive, d.Path, 3, 0);
      if (CabExtract(d.Path, out) != 0) {
        DoStatus(wsCannotExtract, d.Path, 8, 0);
        result = -1;
      }
      keepArchive = KeepIntermediateFiles;
    } else if (ext == u".ZIP" && ExtractZIP && f->Compressed) {
      DoStatus(wsExtractArchive, d.Path, 3, 0);
      if (ZipExtract(d.Path, out) != 0) {
        DoStatus(wsCannotExtract, d.Path, 21, 0);
        result = -1;
      }
      keepArchive = KeepIntermediateFiles;
    } else if (ext == u".PAT" && ApplyPatch && !f->LocalVersion.empty()) {
      patches.push_back(&d);
      continue;
    } else if (archive) {
      keepArchive = true;  // an archive that is not unpacked is the file itself
    }
    if (keepArchive) moves.emplace_back(d.Path, (UseWinTempDir ? WinTempDir() : dir) + d.Name);
    for (const std::filesystem::path& rel : FilesBelow(out))
      moves.emplace_back(out + FileNameOf(rel), dir + FileNameOf(rel));
  }
  if (result == 0) {
    String failed;
    if (!PlaceAll(moves, failed)) {
      DoStatus(wsCannotRename, failed, 19, 7);
      result = -1;
      FAppCompIncluded = false;
      FAppCompFiles.clear();
    }
  }
  // The patch tool changes installed files itself: it runs once the rest is in place.
  for (const TDownloaded* d : patches) {
    if (result != 0) break;
    TFileDescription* f = d->File;
    bool showWindow = true, showAnimation = false;
    String caption, message;
    if (FUtility != nullptr) {
      FPatcherWritten = FPatcherWritten || ExtractPatcher();
      showWindow = FUtility->ShowWindow;
      showAnimation = FUtility->ShowAnimation;
      caption = FUtility->StatusCaption;
      message = FUtility->StatusMessage;
    }
    // Only the patch tool this program wrote into its private folder runs,
    // by its full path; it failing fails the run.
    const String patcher = PatcherFileName();
    String line = AnsiQuotedStr(patcher, u'"') + (Logging ? u" -v " : u" ") + AnsiQuotedStr(d->Path, u'"') + u" " +
                  AnsiQuotedStr(f->LocalVersion, u'"');
    if (!FPatcherWritten || !FileExists(patcher) || !RunAndWait(line, showWindow, showAnimation, caption, message)) {
      DoStatus(wsCannotDownload, d->Path, 2, 9);
      result = -1;
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
    DoStatus(wsRedirectionFound, {}, 3, 0);
    URLPut(next);
  }
  if (FUtility != nullptr && ApplyPatch) FPatcherWritten = ExtractPatcher() || FPatcherWritten;
  String program = ExpandPath(ini->ReadString(u"action", u"runafter"));
  String params = ini->ReadString(u"action", u"runafterparam");
  DoSetAppParamAfter(params);
  if (!program.empty()) StartProgram(program, params);
  DoStatus(wsFinished, {}, 3, 0);
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
    DoStatus(wsCannotConnectPost, {}, 16, 5);
    return;
  }
  const DWORD flags = INTERNET_FLAG_IGNORE_CERT_CN_INVALID | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID |
                      INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
  TPostHandle request(HttpOpenRequest(connection.get(), u"POST", info->Action, u"", u"", nullptr, flags, 1));
  if (!request) {
    DoStatus(wsCannotAccessPost, {}, 17, 5);
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
