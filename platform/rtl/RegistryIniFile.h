#pragma once
// TRegistryIniFile: the INI-file interface over a registry key. The "file
// name" is a key path below HKEY_CURRENT_USER (a leading "\" is optional);
// sections are its sub-keys and keys are their values. Strings are REG_SZ
// values; the integer, Boolean, float and date forms of the base class travel
// as strings too, and a REG_DWORD value reads as its decimal text. Reads never
// raise: anything missing or of another type gives the default. Writes create
// the key and section as needed and raise ERegistryException when refused.
#include <memory>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"

class TRegistryIniFile : public TCustomIniFile {
 public:
  explicit TRegistryIniFile(const String& FileName, LongWord AAccess = KEY_ALL_ACCESS);
  ~TRegistryIniFile() override;

  // The registry object, open on the file's key when that exists.
  TRegistry* RegIniFile() const { return FRegistry.get(); }

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  // Writes already reached the store: nothing to do.
  void UpdateFile() override;
  bool SectionExists(const String& Section) override;
  bool ValueExists(const String& Section, const String& Ident) override;

 private:
  // Opens Section below the file's key in a fresh registry object; nullptr
  // when it is missing (and create is false) or refused.
  std::unique_ptr<TRegistry> OpenSection(const String& Section, bool create) const;
  String FKeyPath;  // absolute, with a leading "\"
  LongWord FAccess;
  std::unique_ptr<TRegistry> FRegistry;
};
