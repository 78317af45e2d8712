#pragma once
// The program's resources and version records.
//
// A program built with ryx_add_resources (cmake/RyxResources.cmake) carries
// its raw-data items, string table and version record in the ELF section
// "ryxres". The running program reads them from memory; the version record
// of any program file is read from the file. Everything read from a file is
// bounds-checked: a damaged or hostile file reads as one without resources.
#include "platform/rtl/Types.h"
#include "platform/win/Files.h"
#include "platform/win/Module.h"

// Resource types and numbered names are texts: "#<n>" names the number n.
String MAKEINTRESOURCE(Word id);
inline const Char* const RT_STRING = u"#6";
inline const Char* const RT_RCDATA = u"#10";
inline const Char* const RT_VERSION = u"#16";

struct TResourceEntry;
using HRSRC = const TResourceEntry*;
using HGLOBAL = const void*;

// Finds a resource of the running program (module nullptr or HInstance()) by
// name and type, without regard to case. nullptr on failure, with the last
// error ERROR_RESOURCE_DATA_NOT_FOUND (the program has no resources),
// ERROR_RESOURCE_TYPE_NOT_FOUND or ERROR_RESOURCE_NAME_NOT_FOUND; any other
// module gives ERROR_INVALID_HANDLE.
HRSRC FindResource(HMODULE module, const String& name, const String& type);
// The resource's data handle; nullptr for a nullptr resource.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
// Pointer to the first byte of the data (valid for the program's lifetime).
const void* LockResource(HGLOBAL data);
// Size of the data in bytes; 0 for nullptr.
DWORD SizeofResource(HMODULE module, HRSRC resource);

// The string table entry id of the running program; "" when there is none.
String LoadStr(Integer ident);
// Win32 form: copies at most bufferMax-1 characters and a NUL into buffer and
// answers the count copied; 0 when the string is missing or the buffer is
// unusable (ERROR_RESOURCE_NAME_NOT_FOUND / ERROR_INVALID_PARAMETER).
Integer LoadString(HINSTANCE instance, UINT id, Char* buffer, Integer bufferMax);

// The fixed part of a version record, as Windows lays it out.
struct VS_FIXEDFILEINFO {
  DWORD dwSignature;  // 0xFEEF04BD
  DWORD dwStrucVersion;
  DWORD dwFileVersionMS;  // major << 16 | minor
  DWORD dwFileVersionLS;  // release << 16 | build
  DWORD dwProductVersionMS;
  DWORD dwProductVersionLS;
  DWORD dwFileFlagsMask;
  DWORD dwFileFlags;
  DWORD dwFileOS;
  DWORD dwFileType;
  DWORD dwFileSubtype;
  DWORD dwFileDateMS;
  DWORD dwFileDateLS;
};
constexpr DWORD VS_FFI_SIGNATURE = 0xFEEF04BD;

// Size of the buffer GetFileVersionInfo needs for the file's version record;
// handle (optional) is set to 0. 0 on failure with the last error:
// ERROR_FILE_NOT_FOUND (or another file error) when the file cannot be read,
// ERROR_RESOURCE_DATA_NOT_FOUND when it is no ELF program with a resource
// section, ERROR_RESOURCE_TYPE_NOT_FOUND when it has resources but no
// version record.
DWORD GetFileVersionInfoSize(const String& fileName, DWORD* handle);
// Fills data (len bytes) with the file's version record; false with the last
// error as above, or ERROR_INSUFFICIENT_BUFFER when len is too small.
bool GetFileVersionInfo(const String& fileName, DWORD handle, DWORD len, void* data);
// Looks up a part of a buffer filled by GetFileVersionInfo: "\" gives the
// VS_FIXEDFILEINFO (len 52), "\VarFileInfo\Translation" the language and
// code page (WORD, WORD; len 4), "\StringFileInfo\<lang><cp>\<Name>" (eight
// hex digits, e.g. "040904E4") a NUL-terminated string (len in characters with
// the NUL). Names compare without regard to case. False when missing or when
// block is not such a buffer.
bool VerQueryValue(const void* block, const String& subBlock, const void** buffer, UINT* len);
