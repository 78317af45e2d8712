#pragma once
// Run-time modules: libraries that the program opens by name and whose
// functions it looks up by name, as LoadLibrary/GetProcAddress do. Here a
// "library" is a table that a part of the layer registers (its name and its
// exports); nothing is loaded from disk.
#include <string>
#include <utility>
#include <vector>

#include "platform/rtl/Types.h"
#include "platform/win/Module.h"

using FARPROC = void*;

struct TModuleExport {
  std::string Name;  // the export's name, case-sensitive as on Windows
  void* Proc = nullptr;
};

// Adds (or replaces) the module `name` ("gdiplus.dll"; the ".dll" suffix and
// letter case do not matter) with its exports. Handles already handed out
// for a replaced module stay valid and see the new table.
void RegisterModule(const String& name, std::vector<TModuleExport> exports);
// Removes the module; later LoadLibrary calls fail. Handles already handed
// out answer nullptr from GetProcAddress. False when it was not registered.
bool UnregisterModule(const String& name);

// A handle of the registered module (paths are reduced to their file name);
// each call counts a reference. nullptr and ERROR_MOD_NOT_FOUND for a
// module nobody registered, or for a null or empty name.
HMODULE LoadLibraryW(const Char* name);
inline HMODULE LoadLibrary(const Char* name) { return LoadLibraryW(name); }
// The export's address; nullptr and ERROR_PROC_NOT_FOUND for an unknown or
// hidden name, ERROR_INVALID_HANDLE for a handle LoadLibrary did not give.
FARPROC GetProcAddress(HMODULE module, const char* name);
// Drops one reference; FALSE (0) and ERROR_INVALID_HANDLE for a bad handle.
int FreeLibrary(HMODULE module);

// Test hook: hides (or shows again) one export of a module, so callers can
// be tried against a library that lacks it. No effect for unknown names.
void SetModuleExportHidden(const String& module, const std::string& exportName, bool hidden);
