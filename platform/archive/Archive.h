#pragma once
// Archive readers the update code unpacks with: cabinets (stored, MSZIP and
// the other cabinet methods), ZIP archives and SZDD ("compress.exe") files.
//
// Every name stored in an archive is confined to the target folder: a name
// with "..", an absolute name, a drive prefix ("C:"), a symbolic-link entry,
// or a name whose folders pass through an existing link is refused, and
// nothing is written at all. Entries are written to temporary files beside
// their targets and renamed into place only when the whole archive unpacked,
// so a failed archive leaves the target's files as they were (folders it
// created stay). Declared sizes are checked against kArchiveMaxTotal and
// entry counts against kArchiveMaxEntries before anything is unpacked.
#include <cstdint>

#include "platform/rtl/Types.h"

constexpr std::uint64_t kArchiveMaxTotal = std::uint64_t(4) << 30;  // bytes unpacked per archive
constexpr std::size_t kArchiveMaxEntries = 65536;

// Unpacks every file of the cabinet into targetDir (an existing folder), with
// its sub-folders and the stored times (local time). False with a text in
// error for a file that is not a cabinet, a damaged one, a refused name or a
// write error.
bool ArchiveExtractCabinet(const String& cabFile, const String& targetDir, String& error);
// The same for a ZIP archive (times from the archive; folder entries created).
bool ArchiveExtractZip(const String& zipFile, const String& targetDir, String& error);

enum class TSzddResult { Expanded, NotCompressed, Failed };
// Expands the SZDD file source into target (which may be source itself: the
// expansion replaces it by a rename). NotCompressed for any other file, which
// is left untouched; Failed (nothing written) for a damaged one. storedChar
// gets the last character of the original name's extension the file keeps
// ('\0' when none).
TSzddResult ArchiveExpandSzdd(const String& source, const String& target, char& storedChar);
// Only the header: NotCompressed, Failed or Expanded (= is an SZDD file).
TSzddResult ArchiveProbeSzdd(const String& source, char& storedChar);
