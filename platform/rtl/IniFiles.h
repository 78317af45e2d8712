#pragma once
// INI files: "[section]" lines and "key=value" lines. Section and key names
// are compared without regard to case; names and values are trimmed at both
// ends, inner blanks stay. Lines starting with ';', blank lines, lines without
// '=' and lines before the first section are kept when the file is rewritten
// but are never read as keys. When a key occurs twice in a section (or a
// section twice in the file) the first occurrence is read and written, and
// DeleteKey removes them all. Files are UTF-8 unless a byte-order mark says
// otherwise; a file that is not valid UTF-8 is read as ANSI. A rewrite keeps
// the encoding the file was read in.
//
// Every write replaces the file atomically: the new text goes into a
// temporary file in the same folder, is flushed to disk and renamed over the
// old one, so a failed or interrupted write leaves the old file whole. A
// failed write raises EIniFileException "Unable to write to <file name>".
#include <memory>

#include "platform/rtl/Encoding.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"

class TIniImage;

class TCustomIniFile : public TObject {
 public:
  explicit TCustomIniFile(const String& FileName) : FFileName(FileName) {}
  const String& FileName() const { return FFileName; }

  // Default when the section or key is absent.
  virtual String ReadString(const String& Section, const String& Ident, const String& Default) = 0;
  // Line breaks in Value are written as blanks: a value is one line.
  virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
  // Replaces Strings' lines with the key names of Section (each once).
  virtual void ReadSection(const String& Section, TStrings* Strings) = 0;
  // Replaces Strings' lines with the section names, in file order, each once.
  virtual void ReadSections(TStrings* Strings) = 0;
  // Replaces Strings' lines with "key=value" for each key of Section.
  virtual void ReadSectionValues(const String& Section, TStrings* Strings) = 0;
  // Removes the section with its keys; nothing when absent.
  virtual void EraseSection(const String& Section) = 0;
  // Removes the key; nothing when absent.
  virtual void DeleteKey(const String& Section, const String& Ident) = 0;
  // Writes pending changes to the file (nothing pending for a TIniFile).
  virtual void UpdateFile() = 0;

  // True when the section has keys. TIniFile and TMemIniFile answer true for
  // any "[Section]" line, even one with no keys below it.
  virtual bool SectionExists(const String& Section);
  virtual bool ValueExists(const String& Section, const String& Ident);

  // Decimal, or hexadecimal after "$" or "0x"; Default for anything else.
  Integer ReadInteger(const String& Section, const String& Ident, Integer Default);
  void WriteInteger(const String& Section, const String& Ident, Integer Value);
  // "0" is false, another integer true; Default for anything else.
  bool ReadBool(const String& Section, const String& Ident, bool Default);
  // Written as "1" or "0".
  void WriteBool(const String& Section, const String& Ident, bool Value);
  // With '.' as the decimal separator; Default for anything else.
  double ReadFloat(const String& Section, const String& Ident, double Default);
  void WriteFloat(const String& Section, const String& Ident, double Value);
  // Dates as "MM/dd/yyyy", times as "hh:nn:ss", a date-time as both joined
  // by a blank; Default for anything else.
  TDateTime ReadDateTime(const String& Section, const String& Ident, TDateTime Default);
  TDateTime ReadDate(const String& Section, const String& Ident, TDateTime Default);
  TDateTime ReadTime(const String& Section, const String& Ident, TDateTime Default);
  void WriteDateTime(const String& Section, const String& Ident, TDateTime Value);
  void WriteDate(const String& Section, const String& Ident, TDateTime Value);
  void WriteTime(const String& Section, const String& Ident, TDateTime Value);

 protected:
  String FFileName;
};

// Per-key access: each call reads the file as it is on disk and each write
// rewrites it at once. A missing file reads as empty; a missing folder makes
// writes fail. A relative name is taken from the working folder.
class TIniFile : public TCustomIniFile {
 public:
  explicit TIniFile(const String& FileName);
  ~TIniFile() override;

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  void UpdateFile() override;
  bool SectionExists(const String& Section) override;

 private:
  std::unique_ptr<TIniImage> Load() const;
};

// An in-memory image of the file, read when created (a missing file is
// empty; an unreadable one raises EFOpenError) and written by UpdateFile or,
// with AutoSave, when freed after a change.
class TMemIniFile : public TCustomIniFile {
 public:
  // Encoding null: detected from the file as described above.
  explicit TMemIniFile(const String& FileName, TEncoding* Encoding = nullptr);
  // With AutoSave and unsaved changes, writes the file; a failure there is
  // swallowed (a destructor cannot raise), so callers that must know call UpdateFile.
  ~TMemIniFile() override;

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  void UpdateFile() override;
  bool SectionExists(const String& Section) override;

  // Empties the image (the file is untouched until saved).
  void Clear();
  // The image as lines of text, as the file would hold it.
  void GetStrings(TStrings* List);
  // Replaces the image with the lines of List (parsed as a file).
  void SetStrings(TStrings* List);
  // Points the object at another file; with Reload the image is read from it.
  void Rename(const String& FileName, bool Reload);

  bool AutoSave() const { return FAutoSave; }
  void SetAutoSave(bool Value) { FAutoSave = Value; }
  bool Modified() const { return FModified; }
  TEncoding* Encoding() const { return FEncoding; }

 private:
  void LoadValues();

  std::unique_ptr<TIniImage> FImage;
  TEncoding* FEncoding;
  bool FAutoSave = false;
  bool FModified = false;
};
