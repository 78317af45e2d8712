#include "webupdate/UpdateLog.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <mutex>

#include "platform/rtl/FileNames.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/Files.h"

String ResolveLogFileName(const String& logFileName, const String& appFolder) {
  String name = logFileName;
  if (name.find_first_of(u"\\/:") == String::npos)
    name = IncludeTrailingPathDelimiter(GetShellFolderPath(CSIDL_PERSONAL)) + name;
  name = StringReplace(name, u"{APP}", IncludeTrailingPathDelimiter(appFolder), rfReplaceAll | rfIgnoreCase);
  name = StringReplace(name, u"\\", u"/", rfReplaceAll);
  while (name.find(u"//") != String::npos) name = StringReplace(name, u"//", u"/", rfReplaceAll);
  return name;
}

void WriteLogLine(const String& logFileName, const String& appFolder, const String& line) {
  static std::mutex lock;
  try {
    const String name = ResolveLogFileName(logFileName, appFolder);
    const String dir = ExtractFileDir(name);
    if (!dir.empty() && !DirectoryExists(dir) && !ForceDirectories(dir)) return;
    const std::string bytes = StringToUtf8(line) + "\r\n";
    std::lock_guard guard(lock);
    int fd = ::open(StringToUtf8(name).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    ::flock(fd, LOCK_EX);
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    (void)written;  // nothing is reported when writing fails
    ::flock(fd, LOCK_UN);
    ::close(fd);
  } catch (...) {
    // Logging never fails a run.
  }
}
