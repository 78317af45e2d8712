#include "webupdate/CabFDI.h"

#include "platform/archive/Archive.h"
#include "platform/rtl/FileNames.h"
#include "platform/win/Files.h"

Integer CabExtract(const String& CabFile, const String& TargetDir) {
  if (!FileExists(CabFile)) return -1;
  String dir = TargetDir.empty() ? ExtractFilePath(CabFile) : TargetDir;
  if (dir.empty()) dir = u"./";
  if (!DirectoryExists(dir) && !ForceDirectories(dir)) return -1;
  String error;
  return ArchiveExtractCabinet(CabFile, dir, error) ? 0 : -1;
}
