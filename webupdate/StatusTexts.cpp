#include "webupdate/StatusTexts.h"

namespace {

struct TStatusText {
  TWebUpdateStatus Ident;
  const Char* Text;
};

constexpr TStatusText kTexts[] = {
    {wsAskDownloadFile, u"Download update file : "},
    {wsAskDownloadFiles, u"Download update files ?"},
    {wsAskShutdown, u"Shutdown application to update executable files ?"},
    {wsEqualSourceTarget, u"Equal source and target files : %s"},
    {wsCopySourceNotFound, u"File not found : %s"},
    {wsZeroLengthSource, u"Zero length source file : %s"},
    {wsDownload, u"Download : %s"},
    {wsHttpStatus, u"Http status : %s"},
    {wsSourceNotFound, u"File not found : %s"},
    {wsCheckingConnection, u"Checking for Internet connection"},
    {wsPromptConnection, u"Prompt to open new Internet connection"},
    {wsOpeningConnection, u"Opening Internet connection"},
    {wsFoundConnection, u"Found open Internet connection"},
    {wsCannotOpenConnection, u"Cannot open Internet connection"},
    {wsConnectToHost, u"Connect to host : %s"},
    {wsCannotConnectFtp, u"Cannot connect to FTP host : %s"},
    {wsControlFileNotFound, u"Update control file not found"},
    {wsControlFileFound, u"Update control file found"},
    {wsInvalidSignature, u"Invalid signature in update control file"},
    {wsDateUpdateFound, u"Date based update found"},
    {wsNewVersionFound, u"New version found : %s"},
    {wsNoNewVersion, u"No new version found"},
    {wsChecksumUpdateFound, u"Checksum based update found"},
    {wsSizeUpdateFound, u"File size based update found"},
    {wsVersionUpdateFound, u"Version based update found"},
    {wsMessageFound, u"Found message instruction"},
    {wsHtmlDialogFound, u"Found HTML dialog instruction"},
    {wsQueryFound, u"Found query instruction"},
    {wsWhatsNewFound, u"Found whatsnew instruction"},
    {wsWhatsNewRefused, u"Whatsnew not accepted"},
    {wsLicenseFound, u"Found license agreement instruction"},
    {wsLicenseRefused, u"License agreement not accepted"},
    {wsRedirectionFound, u"Found URL redirection instruction"},
    {wsShowURLFound, u"Found URL show instruction"},
    {wsFileUpdateFound, u"Found file update instruction"},
    {wsVersionCheck, u"Version check : %s"},
    {wsDownloadUpdate, u"Download update : %s"},
    {wsCannotDownload, u"Cannot download update file : %s"},
    {wsCannotExtract, u"Error decompressing CAB file : %s"},
    {wsFinished, u"Finished processing update control file"},
    {wsClosedConnection, u"Closed Internet connection"},
    {wsCannotSpawn, u"Failed to spawn updater process : %s"},
    {wsCannotConnectPost, u"Cannot connect to server for post"},
    {wsCannotAccessPost, u"Cannot access resource for post"},
    {wsDialupFailed, u"Dialup failed"},
    {wsClosedFtp, u"Closed FTP connection"},
    {wsDisconnectDialup, u"Disconnect dialup"},
    {wsAuthCancelled, u"Authentication cancelled"},
    {wsAuthFailed, u"Authentication failed"},
    {wsSpawn, u"Spawn %s"},
    {wsRestartIn, u"Restart app in directory : %s"},
    {wsThreadDone, u"Threaded update execution done"},
    {wsRestartAfterThread, u"Restart after threaded update"},
    {wsAppComponentFound, u"Found application component : %s"},
    {wsStartProcess, u"Start WebUpdate process with version : %s"},
    {wsProcessCancelled, u"WebUpdate process cancelled"},
    {wsExtractArchive, u"Extract CAB file : %s"},
    {wsOSVersion, u"OS version : %s"},
    {wsIEVersion, u"IE version : %s"},
    {wsStartUpdate, u"Start update : %s ---------------------------"},
    {wsCompiler, u"Compiler : %s"},
    {wsInstalledIDEs, u"Installed IDEs : %s"},
    {wsProcessingFile, u"Processing file : %s"},
    {wsCannotDelete, u"Cannot delete file : %s"},
    {wsCannotRename, u"Cannot rename file : %s"},
    {wsChangeFtpDir, u"Change FTP directory to : %s"},
    {wsCannotChangeFtpDir, u"Cannot change FTP directory to : %s"},
    {wsSystemError, u"System error : %s"},
    {wsDownloading, u"Downloading : %s"},
    {wsDownloadingCaption, u"Downloading..."},
    {wsCheckVersions, u"Check versions"},
    {wsCannotConnectSftp, u"Cannot connect to SFTP host : %s"},
    {wsUnverifiedRefused, u"Refused over an unverified channel : %s"},
    {wsSizeMismatch, u"Size differs from the update control file : %s"},
    {wsChecksumMismatch, u"Checksum differs from the update control file : %s"},
    {wsTooLarge, u"File larger than allowed : %s"},
    {wsTargetRefused, u"Folder outside the allowed places : %s"},
    {wsTimedOut, u"Timed out : %s"},
};

}  // namespace

String WebUpdateStatusText(Integer Ident) {
  for (const TStatusText& t : kTexts)
    if (t.Ident == Ident) return t.Text;
  return {};
}

String WebUpdateStatusMessage(Integer Ident, const String& Text) {
  String message = WebUpdateStatusText(Ident);
  // Only the first "%s" takes the argument; a text without one does not show it.
  if (std::size_t at = message.find(u"%s"); at != String::npos) message.replace(at, 2, Text);
  return message;
}
