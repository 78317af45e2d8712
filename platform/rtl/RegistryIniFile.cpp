#include "platform/rtl/RegistryIniFile.h"

#include "platform/rtl/StrUtils.h"

TRegistryIniFile::TRegistryIniFile(const String& FileName, LongWord AAccess)
    : TCustomIniFile(FileName), FAccess(AAccess), FRegistry(std::make_unique<TRegistry>(AAccess)) {
  FKeyPath = (!FileName.empty() && FileName.front() == u'\\') ? FileName : u"\\" + FileName;
  FRegistry->OpenKey(FKeyPath, (AAccess & KEY_CREATE_SUB_KEY) != 0);
}

TRegistryIniFile::~TRegistryIniFile() = default;

std::unique_ptr<TRegistry> TRegistryIniFile::OpenSection(const String& Section, bool create) const {
  // A read-only file creates nothing.
  create = create && (FAccess & KEY_CREATE_SUB_KEY) != 0;
  auto reg = std::make_unique<TRegistry>(create ? FAccess : KEY_READ);
  const String path = Section.empty() ? FKeyPath : FKeyPath + u"\\" + Section;
  if (!reg->OpenKey(path, create)) return nullptr;
  return reg;
}

String TRegistryIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  auto reg = OpenSection(Section, false);
  if (!reg) return Default;
  try {
    switch (reg->GetDataType(Ident)) {
      case rdString:
      case rdExpandString:
        return reg->ReadString(Ident);
      case rdInteger:
        return IntToStr(reg->ReadInteger(Ident));
      default:
        return Default;
    }
  } catch (const ERegistryException&) {
    return Default;
  }
}

void TRegistryIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  auto reg = OpenSection(Section, true);
  if (!reg) throw ERegistryException(u"Failed to create key " + FKeyPath.substr(1) + u"\\" + Section);
  reg->WriteString(Ident, Value);
}

void TRegistryIniFile::ReadSection(const String& Section, TStrings* Strings) {
  if (Strings == nullptr) return;
  auto reg = OpenSection(Section, false);
  if (!reg) {
    Strings->Clear();
    return;
  }
  reg->GetValueNames(Strings);
}

void TRegistryIniFile::ReadSections(TStrings* Strings) {
  if (Strings == nullptr) return;
  auto reg = OpenSection({}, false);
  if (!reg) {
    Strings->Clear();
    return;
  }
  reg->GetKeyNames(Strings);
}

void TRegistryIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  if (Strings == nullptr) return;
  std::vector<String> names;
  if (auto reg = OpenSection(Section, false)) reg->GetValueNames(names);
  Strings->BeginUpdate();
  Strings->Clear();
  for (const auto& n : names) Strings->Add(n + u"=" + ReadString(Section, n, {}));
  Strings->EndUpdate();
}

void TRegistryIniFile::EraseSection(const String& Section) {
  if (Section.empty()) return;  // never the file's own key
  TRegistry reg;
  reg.DeleteKey(FKeyPath + u"\\" + Section);
}

void TRegistryIniFile::DeleteKey(const String& Section, const String& Ident) {
  TRegistry writer;
  if (writer.OpenKey(FKeyPath + (Section.empty() ? String{} : u"\\" + Section), false)) writer.DeleteValue(Ident);
}

void TRegistryIniFile::UpdateFile() {}

bool TRegistryIniFile::SectionExists(const String& Section) { return OpenSection(Section, false) != nullptr; }

bool TRegistryIniFile::ValueExists(const String& Section, const String& Ident) {
  auto reg = OpenSection(Section, false);
  return reg && reg->ValueExists(Ident);
}
