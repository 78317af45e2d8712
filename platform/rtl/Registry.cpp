#include "platform/rtl/Registry.h"

#include <cstring>

#include "platform/win/WinError.h"

namespace {

TRegDataType DataTypeToRegData(DWORD type) {
  switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
  }
}

bool IsRelative(const String& key) { return key.empty() || key.front() != u'\\'; }

String Quoted(const char16_t* pattern, const String& name) {
  String text = pattern;
  const auto at = text.find(u"%s");
  if (at != String::npos) text.replace(at, 2, name);
  return text;
}

[[noreturn]] void ReadError(const String& name) {
  throw ERegistryException(Quoted(u"Invalid data type for '%s'", name));
}

std::vector<Byte> ToUtf16Le(const String& text) {
  std::vector<Byte> out;
  out.reserve(text.size() * 2 + 2);
  for (Char c : text) {
    out.push_back(static_cast<Byte>(c & 0xFF));
    out.push_back(static_cast<Byte>(c >> 8));
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

}  // namespace

TRegistry::TRegistry() = default;

TRegistry::TRegistry(LongWord access) : FAccess(access) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY value) {
  if (value == FRootKey) return;
  CloseKey();
  FRootKey = value;
}

void TRegistry::CloseKey() {
  if (FCurrentKey != nullptr) RegCloseKey(FCurrentKey);
  FCurrentKey = nullptr;
  FCurrentPath.clear();
}

HKEY TRegistry::BaseKey(bool relative) const {
  return (FCurrentKey == nullptr || !relative) ? FRootKey : FCurrentKey;
}

void TRegistry::ChangeKey(HKEY value, const String& path) {
  CloseKey();
  FCurrentKey = value;
  FCurrentPath = path;
}

bool TRegistry::OpenKey(const String& key, bool canCreate) {
  String s = key;
  const bool relative = IsRelative(s);
  if (!relative) s.erase(0, 1);
  HKEY temp = nullptr;
  bool ok;
  if (!canCreate || s.empty()) {
    ok = RegOpenKeyEx(BaseKey(relative), s, 0, FAccess, &temp) == static_cast<LSTATUS>(ERROR_SUCCESS);
  } else {
    DWORD disposition = 0;
    ok = RegCreateKeyEx(BaseKey(relative), s, 0, {}, REG_OPTION_NON_VOLATILE, FAccess, nullptr, &temp,
                        &disposition) == static_cast<LSTATUS>(ERROR_SUCCESS);
  }
  if (ok) {
    if (FCurrentKey != nullptr && relative) s = FCurrentPath.empty() ? s : FCurrentPath + u"\\" + s;
    while (!s.empty() && s.back() == u'\\') s.pop_back();
    ChangeKey(temp, s);
  }
  return ok;
}

bool TRegistry::OpenKeyReadOnly(const String& key) {
  String s = key;
  const bool relative = IsRelative(s);
  if (!relative) s.erase(0, 1);
  HKEY temp = nullptr;
  if (RegOpenKeyEx(BaseKey(relative), s, 0, KEY_READ, &temp) != static_cast<LSTATUS>(ERROR_SUCCESS)) return false;
  FAccess = KEY_READ;
  if (FCurrentKey != nullptr && relative) s = FCurrentPath.empty() ? s : FCurrentPath + u"\\" + s;
  while (!s.empty() && s.back() == u'\\') s.pop_back();
  ChangeKey(temp, s);
  return true;
}

bool TRegistry::CreateKey(const String& key) {
  String s = key;
  const bool relative = IsRelative(s);
  if (!relative) s.erase(0, 1);
  HKEY temp = nullptr;
  DWORD disposition = 0;
  const bool ok = RegCreateKeyEx(BaseKey(relative), s, 0, {}, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                 &temp, &disposition) == static_cast<LSTATUS>(ERROR_SUCCESS);
  if (!ok) throw ERegistryException(Quoted(u"Failed to create key %s", key));
  RegCloseKey(temp);
  return true;
}

bool TRegistry::DeleteKey(const String& key) {
  String s = key;
  const bool relative = IsRelative(s);
  if (!relative) s.erase(0, 1);
  const HKEY base = BaseKey(relative);
  HKEY temp = nullptr;
  if (RegOpenKeyEx(base, s, 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, &temp) == static_cast<LSTATUS>(ERROR_SUCCESS)) {
    // Children first: the store refuses to delete a key that has sub-keys.
    std::vector<String> children;
    String name;
    for (DWORD i = 0; RegEnumKeyEx(temp, i, &name) == static_cast<LSTATUS>(ERROR_SUCCESS); ++i) children.push_back(name);
    const HKEY oldKey = FCurrentKey;
    FCurrentKey = temp;
    for (const auto& child : children) DeleteKey(child);
    FCurrentKey = oldKey;
    RegCloseKey(temp);
  }
  return RegDeleteKey(base, s) == static_cast<LSTATUS>(ERROR_SUCCESS);
}

bool TRegistry::KeyExists(const String& key) {
  String s = key;
  const bool relative = IsRelative(s);
  if (!relative) s.erase(0, 1);
  HKEY temp = nullptr;
  if (RegOpenKeyEx(BaseKey(relative), s, 0, KEY_READ, &temp) != static_cast<LSTATUS>(ERROR_SUCCESS)) return false;
  RegCloseKey(temp);
  return true;
}

bool TRegistry::GetDataInfo(const String& valueName, TRegDataInfo& value) {
  DWORD type = 0, size = 0;
  value = TRegDataInfo{};
  if (RegQueryValueEx(FCurrentKey, valueName, nullptr, &type, nullptr, &size) != static_cast<LSTATUS>(ERROR_SUCCESS))
    return false;
  value.RegData = DataTypeToRegData(type);
  value.DataSize = static_cast<Integer>(size);
  return true;
}

Integer TRegistry::GetDataSize(const String& valueName) {
  TRegDataInfo info;
  return GetDataInfo(valueName, info) ? info.DataSize : -1;
}

TRegDataType TRegistry::GetDataType(const String& valueName) {
  TRegDataInfo info;
  return GetDataInfo(valueName, info) ? info.RegData : rdUnknown;
}

bool TRegistry::ValueExists(const String& name) {
  TRegDataInfo info;
  return GetDataInfo(name, info);
}

bool TRegistry::DeleteValue(const String& name) {
  return RegDeleteValue(FCurrentKey, name) == static_cast<LSTATUS>(ERROR_SUCCESS);
}

bool TRegistry::HasSubKeys() {
  DWORD count = 0;
  return RegQueryInfoKey(FCurrentKey, &count, nullptr, nullptr, nullptr, nullptr) == static_cast<LSTATUS>(ERROR_SUCCESS) &&
         count > 0;
}

void TRegistry::GetKeyNames(std::vector<String>& strings) {
  strings.clear();
  String name;
  for (DWORD i = 0; RegEnumKeyEx(FCurrentKey, i, &name) == static_cast<LSTATUS>(ERROR_SUCCESS); ++i) strings.push_back(name);
}

void TRegistry::GetValueNames(std::vector<String>& strings) {
  strings.clear();
  String name;
  for (DWORD i = 0;
       RegEnumValue(FCurrentKey, i, &name, nullptr, nullptr, nullptr, nullptr) == static_cast<LSTATUS>(ERROR_SUCCESS); ++i)
    strings.push_back(name);
}

TRegDataType TRegistry::GetData(const String& name, void* buffer, DWORD size) {
  DWORD type = 0;
  DWORD got = size;
  if (RegQueryValueEx(FCurrentKey, name, nullptr, &type, static_cast<Byte*>(buffer), &got) !=
      static_cast<LSTATUS>(ERROR_SUCCESS))
    throw ERegistryException(Quoted(u"Failed to get data for '%s'", name));
  return DataTypeToRegData(type);
}

void TRegistry::PutData(const String& name, const void* buffer, DWORD size, DWORD type) {
  if (RegSetValueEx(FCurrentKey, name, 0, type, static_cast<const Byte*>(buffer), size) !=
      static_cast<LSTATUS>(ERROR_SUCCESS))
    throw ERegistryException(Quoted(u"Failed to set data for '%s'", name));
}

String TRegistry::ReadString(const String& name) {
  TRegDataInfo info;
  if (!GetDataInfo(name, info) || info.DataSize <= 0) return {};
  if (info.RegData != rdString && info.RegData != rdExpandString) ReadError(name);
  std::vector<Byte> bytes(static_cast<size_t>(info.DataSize));
  const TRegDataType type = GetData(name, bytes.data(), static_cast<DWORD>(bytes.size()));
  if (type != rdString && type != rdExpandString) ReadError(name);
  String out;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const Char c = static_cast<Char>(bytes[i] | (bytes[i + 1] << 8));
    if (c == 0) break;  // the text ends at its first NUL
    out.push_back(c);
  }
  return out;
}

Integer TRegistry::ReadInteger(const String& name) {
  TRegDataInfo info;
  if (!GetDataInfo(name, info)) throw ERegistryException(Quoted(u"Failed to get data for '%s'", name));
  if (info.RegData != rdInteger || info.DataSize != 4) ReadError(name);
  Byte raw[4] = {};
  GetData(name, raw, sizeof raw);
  return static_cast<Integer>(static_cast<DWORD>(raw[0]) | (static_cast<DWORD>(raw[1]) << 8) |
                              (static_cast<DWORD>(raw[2]) << 16) | (static_cast<DWORD>(raw[3]) << 24));
}

bool TRegistry::ReadBool(const String& name) { return ReadInteger(name) != 0; }

Integer TRegistry::ReadBinaryData(const String& name, void* buffer, Integer bufSize) {
  TRegDataInfo info;
  if (!GetDataInfo(name, info)) return 0;
  if ((info.RegData != rdBinary && info.RegData != rdUnknown) || info.DataSize > bufSize) ReadError(name);
  if (info.DataSize > 0) GetData(name, buffer, static_cast<DWORD>(info.DataSize));
  return info.DataSize;
}

void TRegistry::WriteString(const String& name, const String& value) {
  const auto bytes = ToUtf16Le(value);
  PutData(name, bytes.data(), static_cast<DWORD>(bytes.size()), REG_SZ);
}

void TRegistry::WriteExpandString(const String& name, const String& value) {
  const auto bytes = ToUtf16Le(value);
  PutData(name, bytes.data(), static_cast<DWORD>(bytes.size()), REG_EXPAND_SZ);
}

void TRegistry::WriteInteger(const String& name, Integer value) {
  const DWORD v = static_cast<DWORD>(value);
  const Byte raw[4] = {static_cast<Byte>(v), static_cast<Byte>(v >> 8), static_cast<Byte>(v >> 16),
                       static_cast<Byte>(v >> 24)};
  PutData(name, raw, 4, REG_DWORD);
}

void TRegistry::WriteBool(const String& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TRegistry::WriteBinaryData(const String& name, const void* buffer, Integer bufSize) {
  if (bufSize < 0) throw ERegistryException(Quoted(u"Failed to set data for '%s'", name));
  PutData(name, buffer, static_cast<DWORD>(bufSize), REG_BINARY);
}

namespace {

void Fill(TStrings* strings, const std::vector<String>& names) {
  if (strings == nullptr) return;
  strings->BeginUpdate();
  strings->Clear();
  for (const auto& n : names) strings->Add(n);
  strings->EndUpdate();
}

}  // namespace

void TRegistry::GetKeyNames(TStrings* strings) {
  std::vector<String> names;
  GetKeyNames(names);
  Fill(strings, names);
}

void TRegistry::GetValueNames(TStrings* strings) {
  std::vector<String> names;
  GetValueNames(names);
  Fill(strings, names);
}
