#include "platform/rtl/IniFiles.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/AtomicFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <unordered_set>
#include <vector>

#include "platform/rtl/StrUtils.h"

// ---- The parsed file ----

namespace {

bool IsAscii(StringView s) {
  for (Char c : s)
    if (c >= 0x80) return false;
  return true;
}

bool SameName(StringView a, StringView b) {
  if (IsAscii(a) && IsAscii(b)) return SameText(a, b);
  return AnsiSameText(a, b);
}

// A value or name is one line: line breaks inside it would start new keys.
String OneLine(StringView s) {
  String r(s);
  for (Char& c : r)
    if (c == u'\r' || c == u'\n') c = u' ';
  return r;
}

struct TIniLine {
  String Raw;  // the line as it stands in the file
  String Key;
  String Value;
  bool IsKey = false;
};

struct TIniSection {
  String Name;
  String Header;
  bool HasHeader = false;  // false only for the lines before the first section
  std::vector<TIniLine> Lines;
};

TIniLine ParseLine(const String& raw) {
  TIniLine line{raw, {}, {}, false};
  const String trimmed = Trim(raw);
  if (trimmed.empty() || trimmed[0] == u';') return line;
  const auto eq = trimmed.find(u'=');
  if (eq == String::npos) return line;
  line.Key = Trim(StringView(trimmed).substr(0, eq));
  line.Value = Trim(StringView(trimmed).substr(eq + 1));
  line.IsKey = !line.Key.empty();
  return line;
}

bool ParseHeader(const String& raw, String& name) {
  const String trimmed = Trim(raw);
  if (trimmed.empty() || trimmed[0] != u'[') return false;
  const auto close = trimmed.find(u']');
  if (close == String::npos) return false;
  name = Trim(StringView(trimmed).substr(1, close - 1));
  return true;
}

}  // namespace

class TIniImage {
 public:
  TIniImage() { FSections.push_back(TIniSection{}); }

  void Parse(TStrings& lines) {
    FSections.clear();
    FSections.push_back(TIniSection{});
    for (Integer i = 0; i < lines.Count(); ++i) {
      const String raw = lines.Strings(i);
      String name;
      if (ParseHeader(raw, name)) FSections.push_back(TIniSection{name, raw, true, {}});
      else FSections.back().Lines.push_back(ParseLine(raw));
    }
  }

  void Emit(TStrings& out) const {
    out.BeginUpdate();
    out.Clear();
    for (const auto& section : FSections) {
      if (section.HasHeader) out.Add(section.Header);
      for (const auto& line : section.Lines) out.Add(line.Raw);
    }
    out.EndUpdate();
  }

  const TIniLine* Find(StringView section, StringView key) const {
    return const_cast<TIniImage*>(this)->FindLine(section, key);
  }

  bool HasSection(StringView section) const {
    for (const auto& s : FSections)
      if (s.HasHeader && SameName(s.Name, section)) return true;
    return false;
  }

  void Write(StringView section, StringView key, StringView value) {
    const String v = OneLine(value);
    if (TIniLine* line = FindLine(section, key)) {
      line->Value = Trim(v);
      line->Raw = line->Key + u"=" + v;
      return;
    }
    const String k = Trim(OneLine(key));
    TIniLine added{k + u"=" + v, k, Trim(v), !k.empty()};
    for (auto& s : FSections) {
      if (!s.HasHeader || !SameName(s.Name, section)) continue;
      // After the section's last non-blank line, so blank separators stay last.
      std::size_t at = s.Lines.size();
      while (at > 0 && Trim(s.Lines[at - 1].Raw).empty()) --at;
      s.Lines.insert(s.Lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(added));
      return;
    }
    // A blank line between the file's last text and the new section.
    auto& last = FSections.back();
    const bool endsWithText = last.Lines.empty() ? last.HasHeader : !Trim(last.Lines.back().Raw).empty();
    if (endsWithText) last.Lines.push_back(TIniLine{});
    const String name = Trim(OneLine(section));
    FSections.push_back(TIniSection{name, u"[" + name + u"]", true, {std::move(added)}});
  }

  void DeleteKey(StringView section, StringView key) {
    for (auto& s : FSections) {
      if (!s.HasHeader || !SameName(s.Name, section)) continue;
      std::erase_if(s.Lines, [&](const TIniLine& line) { return line.IsKey && SameName(line.Key, key); });
    }
  }

  void EraseSection(StringView section) {
    std::erase_if(FSections, [&](const TIniSection& s) { return s.HasHeader && SameName(s.Name, section); });
  }

  // Key names of the section, each once (its first line), in file order.
  std::vector<const TIniLine*> Keys(StringView section) const {
    std::vector<const TIniLine*> keys;
    std::unordered_set<String> seen;  // folded: SameName is fold equality
    for (const auto& s : FSections) {
      if (!s.HasHeader || !SameName(s.Name, section)) continue;
      for (const auto& line : s.Lines)
        if (line.IsKey && seen.insert(AnsiFoldCase(line.Key)).second) keys.push_back(&line);
    }
    return keys;
  }

  void ReadSection(StringView section, TStrings* strings) const {
    if (strings == nullptr) return;
    strings->BeginUpdate();
    strings->Clear();
    for (const auto* line : Keys(section)) strings->Add(line->Key);
    strings->EndUpdate();
  }

  void ReadSectionValues(StringView section, TStrings* strings) const {
    if (strings == nullptr) return;
    strings->BeginUpdate();
    strings->Clear();
    for (const auto* line : Keys(section)) strings->Add(line->Key + u"=" + line->Value);
    strings->EndUpdate();
  }

  void ReadSections(TStrings* strings) const {
    if (strings == nullptr) return;
    strings->BeginUpdate();
    strings->Clear();
    std::unordered_set<String> seen;
    for (const auto& s : FSections)
      if (s.HasHeader && seen.insert(AnsiFoldCase(s.Name)).second) strings->Add(s.Name);
    strings->EndUpdate();
  }

 private:
  TIniLine* FindLine(StringView section, StringView key) {
    for (auto& s : FSections) {
      if (!s.HasHeader || !SameName(s.Name, section)) continue;
      for (auto& line : s.Lines)
        if (line.IsKey && SameName(line.Key, key)) return &line;
    }
    return nullptr;
  }

  std::vector<TIniSection> FSections;
};

// ---- Files ----

namespace {

[[noreturn]] void WriteFailed(const String& fileName) {
  throw EIniFileException(u"Unable to write to " + fileName);
}

// A reader or a crash sees the old file or the new one, never half.
void WriteFileAtomically(const String& fileName, const TBytes& bytes) {
  const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (fileName.empty() || atomic_file::ReplaceFile(StringToUtf8(fileName), content) != 0) WriteFailed(fileName);
}

bool FileMissing(const String& fileName) {
  struct stat st {};
  return ::stat(StringToUtf8(fileName).c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

// Reads the file into an image; a missing file is empty. Answers the encoding found.
TEncoding* LoadImage(const String& fileName, TEncoding* encoding, TIniImage& image) {
  TStringList lines;
  if (!fileName.empty() && !FileMissing(fileName)) {
    lines.LoadFromFile(fileName, encoding);
    encoding = lines.Encoding();
  }
  image.Parse(lines);
  return encoding;
}

void SaveImage(const String& fileName, TEncoding* encoding, const TIniImage& image) {
  TStringList lines;
  image.Emit(lines);
  TBytesStream bytes;
  lines.SaveToStream(&bytes, encoding != nullptr ? encoding : TEncoding::UTF8NoBOM());
  WriteFileAtomically(fileName, bytes.Bytes());
}

// 0001-01-01 .. 9999-12-31: anything else would be written as a date that reads back differently.
void CheckDateRange(TDateTime value, const char16_t* what) {
  if (!std::isfinite(value) || value < -693593.0 || value >= 2958466.0)
    throw EConvertError(String(u"Invalid argument to ") + what + u" encode");
}

}  // namespace

// ---- TCustomIniFile ----

bool TCustomIniFile::SectionExists(const String& Section) {
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& Section, const String& Ident) {
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.IndexOf(Ident) >= 0;
}

Integer TCustomIniFile::ReadInteger(const String& Section, const String& Ident, Integer Default) {
  return StrToIntDef(ReadString(Section, Ident, String()), Default);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, Integer Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
  WriteString(Section, Ident, Value ? u"1" : u"0");
}

double TCustomIniFile::ReadFloat(const String& Section, const String& Ident, double Default) {
  double value = Default;
  return TryStrToFloat(Trim(ReadString(Section, Ident, String())), value) ? value : Default;
}

void TCustomIniFile::WriteFloat(const String& Section, const String& Ident, double Value) {
  WriteString(Section, Ident, FloatToStr(Value));
}

TDateTime TCustomIniFile::ReadDateTime(const String& Section, const String& Ident, TDateTime Default) {
  TDateTime value;
  return TryStrToDateTime(Trim(ReadString(Section, Ident, String())), value) ? value : Default;
}

TDateTime TCustomIniFile::ReadDate(const String& Section, const String& Ident, TDateTime Default) {
  TDateTime value;
  return TryStrToDate(Trim(ReadString(Section, Ident, String())), value) ? value : Default;
}

TDateTime TCustomIniFile::ReadTime(const String& Section, const String& Ident, TDateTime Default) {
  TDateTime value;
  return TryStrToTime(Trim(ReadString(Section, Ident, String())), value) ? value : Default;
}

void TCustomIniFile::WriteDateTime(const String& Section, const String& Ident, TDateTime Value) {
  CheckDateRange(Value, u"date");
  WriteString(Section, Ident, DateTimeToStr(Value));
}

void TCustomIniFile::WriteDate(const String& Section, const String& Ident, TDateTime Value) {
  CheckDateRange(Value, u"date");
  WriteString(Section, Ident, DateToStr(Value));
}

void TCustomIniFile::WriteTime(const String& Section, const String& Ident, TDateTime Value) {
  CheckDateRange(Value, u"time");
  WriteString(Section, Ident, TimeToStr(Value));
}

// ---- TIniFile ----

TIniFile::TIniFile(const String& FileName) : TCustomIniFile(FileName) {}
TIniFile::~TIniFile() = default;

std::unique_ptr<TIniImage> TIniFile::Load() const {
  auto image = std::make_unique<TIniImage>();
  LoadImage(FFileName, nullptr, *image);
  return image;
}

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  const auto image = Load();
  const TIniLine* line = image->Find(Section, Ident);
  return line != nullptr ? line->Value : Default;
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  TIniImage image;
  TEncoding* encoding = LoadImage(FFileName, nullptr, image);
  image.Write(Section, Ident, Value);
  SaveImage(FFileName, encoding, image);
}

void TIniFile::ReadSection(const String& Section, TStrings* Strings) { Load()->ReadSection(Section, Strings); }
void TIniFile::ReadSections(TStrings* Strings) { Load()->ReadSections(Strings); }
void TIniFile::ReadSectionValues(const String& Section, TStrings* Strings) { Load()->ReadSectionValues(Section, Strings); }
bool TIniFile::SectionExists(const String& Section) { return Load()->HasSection(Section); }

void TIniFile::EraseSection(const String& Section) {
  TIniImage image;
  TEncoding* encoding = LoadImage(FFileName, nullptr, image);
  if (!image.HasSection(Section)) return;
  image.EraseSection(Section);
  SaveImage(FFileName, encoding, image);
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
  TIniImage image;
  TEncoding* encoding = LoadImage(FFileName, nullptr, image);
  if (image.Find(Section, Ident) == nullptr) return;
  image.DeleteKey(Section, Ident);
  SaveImage(FFileName, encoding, image);
}

void TIniFile::UpdateFile() {}

// ---- TMemIniFile ----

TMemIniFile::TMemIniFile(const String& FileName, TEncoding* Encoding)
    : TCustomIniFile(FileName), FImage(std::make_unique<TIniImage>()), FEncoding(Encoding) {
  LoadValues();
}

TMemIniFile::~TMemIniFile() {
  if (FAutoSave && FModified) {
    try {
      UpdateFile();
    } catch (...) {
      // Nothing may leave a destructor; callers that must know call UpdateFile first.
    }
  }
}

void TMemIniFile::LoadValues() {
  auto image = std::make_unique<TIniImage>();
  FEncoding = LoadImage(FFileName, FEncoding, *image);
  FImage = std::move(image);
  FModified = false;
}

String TMemIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  const TIniLine* line = FImage->Find(Section, Ident);
  return line != nullptr ? line->Value : Default;
}

void TMemIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  FImage->Write(Section, Ident, Value);
  FModified = true;
}

void TMemIniFile::ReadSection(const String& Section, TStrings* Strings) { FImage->ReadSection(Section, Strings); }
void TMemIniFile::ReadSections(TStrings* Strings) { FImage->ReadSections(Strings); }
void TMemIniFile::ReadSectionValues(const String& Section, TStrings* Strings) { FImage->ReadSectionValues(Section, Strings); }
bool TMemIniFile::SectionExists(const String& Section) { return FImage->HasSection(Section); }

void TMemIniFile::EraseSection(const String& Section) {
  if (!FImage->HasSection(Section)) return;
  FImage->EraseSection(Section);
  FModified = true;
}

void TMemIniFile::DeleteKey(const String& Section, const String& Ident) {
  if (FImage->Find(Section, Ident) == nullptr) return;
  FImage->DeleteKey(Section, Ident);
  FModified = true;
}

void TMemIniFile::UpdateFile() {
  SaveImage(FFileName, FEncoding, *FImage);
  FModified = false;
}

void TMemIniFile::Clear() {
  FImage = std::make_unique<TIniImage>();
  FModified = true;
}

void TMemIniFile::GetStrings(TStrings* List) {
  if (List != nullptr) FImage->Emit(*List);
}

void TMemIniFile::SetStrings(TStrings* List) {
  auto image = std::make_unique<TIniImage>();
  if (List != nullptr) image->Parse(*List);
  FImage = std::move(image);
  FModified = true;
}

void TMemIniFile::Rename(const String& FileName, bool Reload) {
  FFileName = FileName;
  if (Reload) LoadValues();
}
