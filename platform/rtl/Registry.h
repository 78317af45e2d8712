#pragma once
// TRegistry: the class library's object over the registry calls
// (platform/win/WinReg.h). Reads of a value of the wrong type and failed
// reads and writes raise ERegistryException with the class library's texts;
// opening, creating and deleting answer false instead.
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Strings.h"
#include "platform/win/WinReg.h"

class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  Integer DataSize = 0;
};

class TRegistry : public TObject {
 public:
  // Access KEY_ALL_ACCESS, root HKEY_CURRENT_USER, no key open.
  TRegistry();
  explicit TRegistry(LongWord access);
  ~TRegistry() override;

  HKEY RootKey() const { return FRootKey; }
  // Changing the root closes the open key.
  void SetRootKey(HKEY value);
  // The open key's handle; nullptr when none is open.
  HKEY CurrentKey() const { return FCurrentKey; }
  // The open key's path below the root, without a leading "\"; "" when none.
  const String& CurrentPath() const { return FCurrentPath; }
  LongWord Access() const { return FAccess; }
  void SetAccess(LongWord value) { FAccess = value; }
  // Kept for callers; every write reaches the store at once either way.
  bool LazyWrite() const { return FLazyWrite; }
  void SetLazyWrite(bool value) { FLazyWrite = value; }

  void CloseKey();
  // Opens key (a leading "\" starts at the root, otherwise below the open key)
  // with Access, creating it with its parents when canCreate; false when it
  // is missing or access is refused. The open key changes only on success.
  bool OpenKey(const String& key, bool canCreate);
  // Opens key for reading and sets Access to KEY_READ; false when missing.
  bool OpenKeyReadOnly(const String& key);
  // Creates key (and parents) and closes it again; raises "Failed to create
  // key %s" when that is refused.
  bool CreateKey(const String& key);
  // Deletes key with everything below it; false when missing or refused.
  bool DeleteKey(const String& key);
  bool KeyExists(const String& key);
  bool ValueExists(const String& name);
  bool DeleteValue(const String& name);
  bool HasSubKeys();
  // Names of the open key's sub-keys / values; empty when no key is open.
  void GetKeyNames(std::vector<String>& strings);
  void GetValueNames(std::vector<String>& strings);
  // The same into a string list (cleared first; nothing for nullptr).
  void GetKeyNames(TStrings* strings);
  void GetValueNames(TStrings* strings);

  // False (and rdUnknown, size 0) when the value is missing.
  bool GetDataInfo(const String& valueName, TRegDataInfo& value);
  // -1 when the value is missing.
  Integer GetDataSize(const String& valueName);
  TRegDataType GetDataType(const String& valueName);

  // "" when the value is missing; another type than string raises
  // "Invalid data type for '%s'".
  String ReadString(const String& name);
  // A missing value raises "Failed to get data for '%s'"; a value that is not
  // a 32-bit integer raises "Invalid data type for '%s'".
  Integer ReadInteger(const String& name);
  bool ReadBool(const String& name);
  // Copies a binary value into buffer and answers its size; 0 when missing;
  // a value of another type or larger than bufSize raises "Invalid data type".
  Integer ReadBinaryData(const String& name, void* buffer, Integer bufSize);

  // Writes raise "Failed to set data for '%s'" when refused.
  void WriteString(const String& name, const String& value);
  void WriteExpandString(const String& name, const String& value);
  void WriteInteger(const String& name, Integer value);
  void WriteBool(const String& name, bool value);
  void WriteBinaryData(const String& name, const void* buffer, Integer bufSize);

 private:
  HKEY BaseKey(bool relative) const;
  void ChangeKey(HKEY value, const String& path);
  void PutData(const String& name, const void* buffer, DWORD size, DWORD type);
  // Reads into buffer; answers the type; raises "Failed to get data" on failure.
  TRegDataType GetData(const String& name, void* buffer, DWORD size);

  HKEY FRootKey = HKEY_CURRENT_USER;
  HKEY FCurrentKey = nullptr;
  String FCurrentPath;
  LongWord FAccess = KEY_ALL_ACCESS;
  bool FLazyWrite = true;
};
