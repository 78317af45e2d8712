#pragma once
// The registry calls, over a per-user typed store.
//
// HKEY_CURRENT_USER lives in one file under $XDG_CONFIG_HOME (default
// ~/.config): "RyxUpdater/registry/HKEY_CURRENT_USER.reg". Key and value
// names compare without regard to case and keep the case they were created
// with. Every write replaces the file atomically (temporary file, flush,
// rename) under an exclusive lock on a lock file beside it, after reloading
// what another process may have written, so two processes never lose each
// other's values. HKEY_LOCAL_MACHINE is read-only and holds only the keys that
// parts of the layer publish through RegisterSynthesizedKey; the other roots
// are empty and read-only.
//
// Strings travel as Windows stores them: REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ
// data are UTF-16LE bytes with their terminating NULs.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/rtl/Types.h"

struct HKEY__;
using HKEY = HKEY__*;
using LSTATUS = std::int32_t;
using REGSAM = DWORD;

inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(std::uintptr_t{0x80000000u});
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001u});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002u});
inline HKEY const HKEY_USERS = reinterpret_cast<HKEY>(std::uintptr_t{0x80000003u});
inline HKEY const HKEY_CURRENT_CONFIG = reinterpret_cast<HKEY>(std::uintptr_t{0x80000005u});

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_QWORD = 11;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_EXECUTE = 0x20019;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr DWORD REG_NOTIFY_CHANGE_NAME = 0x1;
constexpr DWORD REG_NOTIFY_CHANGE_ATTRIBUTES = 0x2;
constexpr DWORD REG_NOTIFY_CHANGE_LAST_SET = 0x4;
constexpr DWORD REG_NOTIFY_CHANGE_SECURITY = 0x8;

// All calls answer ERROR_SUCCESS or a Windows error number (WinError.h):
// ERROR_FILE_NOT_FOUND for a missing key or value, ERROR_ACCESS_DENIED for a
// write through a read-only handle or under a read-only root,
// ERROR_INVALID_HANDLE for a closed or unknown handle, ERROR_KEY_DELETED when
// the handle's key was deleted, ERROR_CANTWRITE when the store file could not
// be written (the value is then not changed). Sub-key paths use "\" between
// names; leading and trailing "\" are ignored.

// Opens an existing key; result gets a new handle (nullptr on failure).
LSTATUS RegOpenKeyEx(HKEY key, const String& subKey, DWORD options, REGSAM samDesired, HKEY* result);
// Opens or creates a key with all missing parents. disposition (optional)
// tells REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY. className, options and
// security are accepted and ignored.
LSTATUS RegCreateKeyEx(HKEY key, const String& subKey, DWORD reserved, const String& className, DWORD options,
                       REGSAM samDesired, const void* securityAttributes, HKEY* result, DWORD* disposition);
// Releases a handle; predefined roots are not closed. A change notification
// armed on the handle is signalled.
LSTATUS RegCloseKey(HKEY key);

// Reads a value. type and cbData are optional. With data nullptr only the type
// and size are answered; with a buffer smaller than the value, ERROR_MORE_DATA
// and *cbData = the size needed. valueName "" is the key's default value.
LSTATUS RegQueryValueEx(HKEY key, const String& valueName, DWORD* reserved, DWORD* type, Byte* data, DWORD* cbData);
// Writes a value (replacing one of any type with that name, keeping the stored
// name's case). A size of at most 1 MiB; more gives ERROR_INVALID_PARAMETER.
LSTATUS RegSetValueEx(HKEY key, const String& valueName, DWORD reserved, DWORD type, const Byte* data, DWORD cbData);
LSTATUS RegDeleteValue(HKEY key, const String& valueName);
// Deletes a key that has no sub-keys (ERROR_ACCESS_DENIED when it has some).
LSTATUS RegDeleteKey(HKEY key, const String& subKey);

// Enumerates values in creation order: index past the end gives
// ERROR_NO_MORE_ITEMS. The name comes back whole; type, data and cbData behave
// as in RegQueryValueEx.
LSTATUS RegEnumValue(HKEY key, DWORD index, String* valueName, DWORD* reserved, DWORD* type, Byte* data,
                     DWORD* cbData);
// Enumerates sub-keys in name order (without regard to case).
LSTATUS RegEnumKeyEx(HKEY key, DWORD index, String* name);
// Counts and longest lengths (names in characters, data in bytes); every
// output is optional.
LSTATUS RegQueryInfoKey(HKEY key, DWORD* subKeys, DWORD* maxSubKeyLen, DWORD* values, DWORD* maxValueNameLen,
                        DWORD* maxValueLen);

// Arms a one-shot notification: signal is called once (on the thread that
// made the change) when, in this process, a value of the key (or, with
// watchSubtree, of any key below it) is set or deleted (REG_NOTIFY_CHANGE_LAST_SET)
// or a sub-key is created or deleted (REG_NOTIFY_CHANGE_NAME), or when the
// handle is closed. A filter of 0 watches everything. Call it again to re-arm.
// The signal is typically an event's set operation. Changes made by other
// processes are not seen. asynchronous must be true (a synchronous wait is
// not offered): false gives ERROR_INVALID_PARAMETER.
LSTATUS RegNotifyChangeKeyValue(HKEY key, bool watchSubtree, DWORD notifyFilter, std::function<void()> signal,
                                bool asynchronous);

// ---- Synthesised keys --------------------------------------------------
// A value as the registry holds it.
struct TRegValue {
  String Name;
  DWORD Type = REG_NONE;
  std::vector<Byte> Data;
};
// A REG_SZ / REG_DWORD value, encoded as the registry stores it.
TRegValue RegStringValue(const String& name, const String& text);

using TRegValueProvider = std::function<std::vector<TRegValue>()>;
// Publishes a read-only key under a read-only root (HKEY_LOCAL_MACHINE and the
// other roots but HKEY_CURRENT_USER): every read or enumeration of the key
// asks provider for its current values. The key's parents appear as keys
// without values. Registering the same path again replaces the provider; a
// provider that throws counts as no values. False for HKEY_CURRENT_USER, an
// empty path or an empty provider.
bool RegisterSynthesizedKey(HKEY root, const String& path, TRegValueProvider provider);
// Removes a published key; false when none was registered under that path.
bool UnregisterSynthesizedKey(HKEY root, const String& path);

// The file that holds HKEY_CURRENT_USER for the current environment.
String RegistryHiveFileName();
