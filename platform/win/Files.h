#pragma once
// Files and folders as the class library and Win32 offer them, on POSIX paths.
// Every call that fails sets the last error (platform/win/WinError.h) to the
// Windows number of the cause.
#include "platform/rtl/Types.h"

using UINT = unsigned int;

constexpr DWORD MAX_PATH = 260;

// The temporary folder: $TMPDIR when it names an existing folder, else "/tmp";
// always with a trailing "/".
String GetTempPath();

// Creates an empty file "<path>/<first 3 chars of prefix><hex>.tmp" that did
// not exist before and answers its number (never 0 on success). With unique
// non-zero the name is built from it and the file is not created. 0 and the
// last error on failure (missing folder, no free name).
UINT GetTempFileName(const String& pathName, const String& prefix, UINT unique, String& tempFileName);

// Shell folder numbers the program asks for.
constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;
constexpr int CSIDL_PERSONAL = 0x0005;  // Documents
constexpr int CSIDL_APPDATA = 0x001A;  // roaming application data
constexpr int CSIDL_LOCAL_APPDATA = 0x001C;
constexpr int CSIDL_COMMON_APPDATA = 0x0023;
constexpr int CSIDL_WINDOWS = 0x0024;
constexpr int CSIDL_SYSTEM = 0x0025;
constexpr int CSIDL_PROGRAM_FILES = 0x0026;
constexpr int CSIDL_FLAG_CREATE = 0x8000;

// The folder for a shell folder number, without a trailing delimiter, mapped
// onto the XDG folders: Documents and Desktop from $XDG_DOCUMENTS_DIR /
// $XDG_DESKTOP_DIR or the user-dirs file, else ~/Documents and ~/Desktop;
// roaming data $XDG_CONFIG_HOME (~/.config); local data $XDG_DATA_HOME
// (~/.local/share); common data the first of $XDG_DATA_DIRS
// (/usr/local/share); program files "/opt"; Windows "/usr"; system "/usr/lib".
// With CSIDL_FLAG_CREATE the folder is created when missing. An unknown number
// or no home folder gives "" and ERROR_FILE_NOT_FOUND.
String GetShellFolderPath(int csidl);

// True for an existing file that is not a folder (links are followed).
bool FileExists(const String& fileName);
// True for an existing folder.
bool DirectoryExists(const String& directory);
// Creates one folder; false when it exists or its parent is missing.
bool CreateDir(const String& directory);
// Creates the folder and every missing parent; true when it exists afterwards.
// An empty name gives false.
bool ForceDirectories(const String& directory);
// Removes an empty folder.
bool RemoveDir(const String& directory);
// Removes a file (not a folder).
bool DeleteFile(const String& fileName);
// Renames on one file system; false (ERROR_ALREADY_EXISTS) when newName exists.
bool RenameFile(const String& oldName, const String& newName);

// Copies a file with its mode and times. failIfExists with an existing target
// gives false (ERROR_FILE_EXISTS). The target appears complete or not at all:
// the data goes to a temporary file beside it, flushed, then renamed.
bool CopyFile(const String& existingFileName, const String& newFileName, bool failIfExists);

constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
constexpr DWORD MOVEFILE_COPY_ALLOWED = 0x2;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x8;

// Moves a file or folder. Across file systems a file is copied (as CopyFile,
// flushed, renamed into place) and the source removed only after that; without
// MOVEFILE_COPY_ALLOWED that gives ERROR_NOT_SAME_DEVICE, and folders never
// cross. An existing target gives ERROR_ALREADY_EXISTS unless
// MOVEFILE_REPLACE_EXISTING. MOVEFILE_WRITE_THROUGH flushes a file's data
// before the rename and the target folder after it.
bool MoveFileEx(const String& existingFileName, const String& newFileName, DWORD flags);
// MoveFileEx with MOVEFILE_COPY_ALLOWED: never replaces an existing target.
bool MoveFile(const String& existingFileName, const String& newFileName);

// Last-write time of a file or folder in local time; false when missing.
bool FileAge(const String& fileName, TDateTime& fileDateTime);
// Sets the last-write (and access) time from a local time; false on failure.
bool FileSetDate(const String& fileName, TDateTime localDateTime);

// Local time <-> seconds since 1970 (UTC); fractions of a second are kept.
TDateTime UnixTimeToLocalDateTime(double unixSeconds);
double LocalDateTimeToUnixTime(TDateTime localDateTime);

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr Integer faReadOnly = 0x01;
constexpr Integer faHidden = 0x02;
constexpr Integer faDirectory = 0x10;
constexpr Integer faArchive = 0x20;
constexpr Integer faNormal = 0x80;

// Attributes from the file's mode and name: read-only when the owner may not
// write, hidden for a name starting with ".", directory, else archive.
// INVALID_FILE_ATTRIBUTES when the file is missing.
DWORD GetFileAttributes(const String& fileName);
// Only the read-only attribute has an effect (it clears or sets the write
// bits); hidden follows the name and is ignored here. False when missing.
bool SetFileAttributes(const String& fileName, DWORD attributes);
// The class library's forms: -1 when missing; 0 on success / an error number.
Integer FileGetAttr(const String& fileName);
Integer FileSetAttr(const String& fileName, Integer attributes);
