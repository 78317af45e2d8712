#pragma once
// TStrings, the class library's abstract list of texts with an object per
// line, and TStringList, its concrete form with sorting. Indexes are 0-based;
// a bad index raises EStringListError "List index out of bounds (%d)".
// Objects are not owned: a line carries an opaque pointer (or a small number
// cast to one).
#include <functional>
#include <vector>

#include "platform/rtl/Encoding.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/Streams.h"

class TStrings : public TPersistent {
 public:
  TStrings() = default;

  Integer Count() const { return GetCount(); }
  String Strings(Integer Index) const { return Get(Index); }
  void SetStrings(Integer Index, const String& S) { Put(Index, S); }
  TObject* Objects(Integer Index) const { return GetObject(Index); }
  void SetObjects(Integer Index, TObject* AObject) { PutObject(Index, AObject); }

  // Appends S (a sorted list places it; see TStringList) and answers its index.
  virtual Integer Add(const String& S);
  virtual Integer AddObject(const String& S, TObject* AObject);
  void Append(const String& S) { Add(S); }
  // Adds every line of Strings with its object; a null Strings adds nothing.
  virtual void AddStrings(TStrings* Strings);
  // Index may equal Count (append).
  virtual void Insert(Integer Index, const String& S) = 0;
  virtual void InsertObject(Integer Index, const String& S, TObject* AObject);
  virtual void Delete(Integer Index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(Integer Index1, Integer Index2);
  // Moves the line at CurIndex to NewIndex; both are checked before anything moves.
  virtual void Move(Integer CurIndex, Integer NewIndex);

  // -1 when absent. Comparison follows CompareStrings (case-insensitive here).
  virtual Integer IndexOf(const String& S) const;
  // The first line whose name (text before NameValueSeparator) is Name; -1 when none.
  virtual Integer IndexOfName(const String& Name) const;
  Integer IndexOfObject(TObject* AObject) const;

  // Every line followed by CR LF. SetText splits on CR LF, LF or CR; a last
  // line without a break is kept, an empty text gives no lines.
  String Text() const;
  void SetText(StringView Value);
  // Lines joined by Delimiter; a line is quoted (QuoteChar doubled inside)
  // when it holds the delimiter, the quote, or, unless StrictDelimiter,
  // a character <= ' '. A single empty line is written as two quotes.
  String DelimitedText() const;
  // Replaces the lines; quotes group (a missing closing quote takes the rest),
  // and unless StrictDelimiter, characters <= ' ' separate too.
  void SetDelimitedText(StringView Value);
  // DelimitedText with ',' and '"' and non-strict delimiting, whatever the settings.
  String CommaText() const;
  void SetCommaText(StringView Value);

  Char Delimiter() const { return FDelimiter; }
  void SetDelimiter(Char Value) { FDelimiter = Value; }
  Char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(Char Value) { FQuoteChar = Value; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }
  Char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(Char Value) { FNameValueSeparator = Value; }

  // The name of line Index; empty when the line has no separator.
  String Names(Integer Index) const;
  // The value after the separator of line Index; empty when it has none.
  String ValueFromIndex(Integer Index) const;
  // The value of the first line named Name; empty when there is none.
  String Values(const String& Name) const;
  // Sets or adds "Name=Value"; an empty Value deletes the line.
  void SetValues(const String& Name, const String& Value);

  // Notifications are held back between BeginUpdate and the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }

  // Same count and the same texts, compared exactly; objects are not compared.
  bool Equals(TStrings* Strings) const;
  // From another TStrings: its lines, objects and delimiting settings.
  // Anything else raises EConvertError.
  void Assign(TPersistent* Source) override;

  // Reads from the position to the end. With Encoding null a byte-order mark
  // decides, else valid UTF-8, else ANSI; the encoding found is kept for saving.
  void LoadFromStream(TStream* Stream, TEncoding* Encoding = nullptr);
  // File errors raise EFOpenError.
  void LoadFromFile(const String& FileName, TEncoding* Encoding = nullptr);
  // Writes Text in Encoding, else in the encoding of the last load, else UTF-8
  // without a byte-order mark; the encoding's preamble is written when WriteBOM.
  void SaveToStream(TStream* Stream, TEncoding* Encoding = nullptr) const;
  // Creates or replaces the file; errors raise EFCreateError.
  void SaveToFile(const String& FileName, TEncoding* Encoding = nullptr) const;
  TEncoding* Encoding() const { return FEncoding; }
  bool WriteBOM() const { return FWriteBOM; }
  void SetWriteBOM(bool Value) { FWriteBOM = Value; }

 protected:
  virtual String Get(Integer Index) const = 0;
  virtual Integer GetCount() const = 0;
  virtual TObject* GetObject(Integer Index) const;
  virtual void Put(Integer Index, const String& S);
  virtual void PutObject(Integer Index, TObject* AObject);
  // Called with true by the first BeginUpdate and false by the last EndUpdate.
  virtual void SetUpdateState(bool Updating);
  // Negative, 0 or positive; the base compares without regard to case.
  virtual int CompareStrings(StringView S1, StringView S2) const;
  [[noreturn]] static void Error(const char16_t* Message, Integer Data);
  [[noreturn]] static void IndexError(Integer Index);

 private:
  String DelimitedTextWith(Char delimiter, Char quote, bool strict) const;
  void SetDelimitedTextWith(StringView value, Char delimiter, Char quote, bool strict);

  Integer FUpdateCount = 0;
  Char FDelimiter = u',';
  Char FQuoteChar = u'"';
  Char FNameValueSeparator = u'=';
  bool FStrictDelimiter = false;
  bool FWriteBOM = true;
  TEncoding* FEncoding = nullptr;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
// Negative when the line at Index1 sorts before the line at Index2.
using TStringListSortCompare = std::function<int(TStringList* List, Integer Index1, Integer Index2)>;

class TStringList : public TStrings {
 public:
  TStringList() = default;

  // Sorted: placed by binary search; Duplicates then decides for an equal
  // line: dupIgnore answers the existing index, dupError raises
  // EStringListError "String list does not allow duplicates".
  Integer Add(const String& S) override;
  Integer AddObject(const String& S, TObject* AObject) override;
  // Sorted lists refuse Insert, Exchange, Move and SetStrings with
  // EStringListError "Operation not allowed on sorted list".
  void Insert(Integer Index, const String& S) override;
  void InsertObject(Integer Index, const String& S, TObject* AObject) override;
  void Delete(Integer Index) override;
  void Clear() override;
  void Exchange(Integer Index1, Integer Index2) override;
  void Move(Integer CurIndex, Integer NewIndex) override;
  Integer IndexOf(const String& S) const override;

  // On a sorted list: true when S is present, Index its first position;
  // otherwise false and Index where S would go. On an unsorted list: a linear
  // search, Index -1 when absent.
  bool Find(const String& S, Integer& Index) const;
  // Stable; OnChanging/OnChange around it. Sort follows CompareStrings.
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& Compare);

  bool Sorted() const { return FSorted; }
  // Switching on sorts the list.
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  // A sorted list is sorted again under the new rule.
  void SetCaseSensitive(bool Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  String Get(Integer Index) const override;
  Integer GetCount() const override { return static_cast<Integer>(FList.size()); }
  TObject* GetObject(Integer Index) const override;
  void Put(Integer Index, const String& S) override;
  void PutObject(Integer Index, TObject* AObject) override;
  void SetUpdateState(bool Updating) override;
  int CompareStrings(StringView S1, StringView S2) const override;
  virtual void Changed();
  virtual void Changing();

 private:
  struct TStringItem {
    String FString;
    TObject* FObject = nullptr;
  };
  void CheckIndex(Integer Index) const;
  void CheckUnsorted() const;
  void InsertItem(Integer Index, const String& S, TObject* AObject);

  std::vector<TStringItem> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
};
