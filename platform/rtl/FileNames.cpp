#include "platform/rtl/FileNames.h"

namespace {

bool IsSeparator(Char c) { return c == u'/' || c == u'\\'; }

bool IsDriveColonAt(StringView s, std::size_t i) {
  return i == 1 && s[1] == u':' && ((s[0] >= u'A' && s[0] <= u'Z') || (s[0] >= u'a' && s[0] <= u'z'));
}

// Index just past the folder part (0 when there is none).
std::size_t FolderEnd(StringView s) {
  for (std::size_t i = s.size(); i-- > 0;)
    if (IsSeparator(s[i]) || IsDriveColonAt(s, i)) return i + 1;
  return 0;
}

// Index of the extension's dot, or npos.
std::size_t ExtensionDot(StringView s) {
  const std::size_t folder = FolderEnd(s);
  const std::size_t dot = s.rfind(u'.');
  return (dot == StringView::npos || dot < folder) ? StringView::npos : dot;
}

}  // namespace

String ExtractFilePath(StringView fileName) { return String(fileName.substr(0, FolderEnd(fileName))); }

String ExtractFileDir(StringView fileName) {
  std::size_t end = FolderEnd(fileName);
  // Keep the separator of a root ("/", "C:\") and of a doubled separator.
  if (end > 1 && IsSeparator(fileName[end - 1]) && !IsSeparator(fileName[end - 2]) && !IsDriveColonAt(fileName, end - 2))
    --end;
  return String(fileName.substr(0, end));
}

String ExtractFileName(StringView fileName) { return String(fileName.substr(FolderEnd(fileName))); }

String ExtractFileExt(StringView fileName) {
  const std::size_t dot = ExtensionDot(fileName);
  return dot == StringView::npos ? String() : String(fileName.substr(dot));
}

String ChangeFileExt(StringView fileName, StringView extension) {
  const std::size_t dot = ExtensionDot(fileName);
  String r(fileName.substr(0, dot == StringView::npos ? fileName.size() : dot));
  r += extension;
  return r;
}

String IncludeTrailingPathDelimiter(StringView s) {
  String r(s);
  if (!r.empty() && !IsSeparator(r.back())) r.push_back(PathDelim);
  return r;
}

String ExcludeTrailingPathDelimiter(StringView s) {
  if (!s.empty() && IsSeparator(s.back())) s.remove_suffix(1);
  return String(s);
}
