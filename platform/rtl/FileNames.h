#pragma once
// File-name string routines. Both '/' and '\' separate folders when a name is
// taken apart (stored names may come from Windows); a leading "X:" drive counts
// as a folder part. New separators are PathDelim.
#include "platform/rtl/Types.h"

inline constexpr Char PathDelim = u'/';

// Folder part with its trailing separator ("a/b/c.txt" -> "a/b/"); "" when none.
String ExtractFilePath(StringView fileName);
// Folder part without the trailing separator, except for a root
// ("a\b\c.txt" -> "a\b", "C:\x" -> "C:\", "/x" -> "/").
String ExtractFileDir(StringView fileName);
// Name after the last separator.
String ExtractFileName(StringView fileName);
// Extension with its dot ("c.tar.gz" -> ".gz"); "" when the name has no dot.
String ExtractFileExt(StringView fileName);
// Replaces the extension (or appends Extension when there is none); Extension includes its dot.
String ChangeFileExt(StringView fileName, StringView extension);
// Appends PathDelim unless S already ends with '/' or '\'. An empty S stays
// empty, so a relative name never turns into one at the file-system root.
String IncludeTrailingPathDelimiter(StringView s);
// Drops one trailing '/' or '\'.
String ExcludeTrailingPathDelimiter(StringView s);
