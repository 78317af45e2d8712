#include "platform/rtl/Strings.h"

#include <algorithm>
#include <limits>

#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TextInternal.h"

namespace {

bool IsAscii(StringView s) {
  return std::all_of(s.begin(), s.end(), [](Char c) { return c < 0x80; });
}


// Case-insensitive order. ASCII texts take a fast path that folds to lower
// case exactly as the Unicode comparison does, so both paths agree.
int CompareIgnoringCase(StringView a, StringView b) {
  if (!IsAscii(a) || !IsAscii(b)) return AnsiCompareText(a, b);
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const Char ca = AsciiLower(a[i]);
    const Char cb = AsciiLower(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// Stable merge sort of positions. Written out rather than std::stable_sort so
// that a comparison function that is not a strict order cannot make it run off
// the ends of the array.
template <class Less>
void MergeSort(std::vector<Integer>& items, Less less) {
  std::vector<Integer> buffer(items.size());
  for (std::size_t width = 1; width < items.size(); width *= 2) {
    for (std::size_t lo = 0; lo < items.size(); lo += 2 * width) {
      const std::size_t mid = std::min(lo + width, items.size());
      const std::size_t hi = std::min(lo + 2 * width, items.size());
      std::size_t i = lo, j = mid, k = lo;
      while (i < mid && j < hi) buffer[k++] = less(items[j], items[i]) ? items[j++] : items[i++];
      while (i < mid) buffer[k++] = items[i++];
      while (j < hi) buffer[k++] = items[j++];
    }
    items.swap(buffer);
  }
}

}  // namespace

// ---- TStrings ----

void TStrings::Error(const char16_t* Message, Integer Data) {
  String text(Message);
  if (const auto at = text.find(u"%d"); at != String::npos) text.replace(at, 2, IntToStr(Data));
  throw EStringListError(text);
}

void TStrings::IndexError(Integer Index) { Error(u"List index out of bounds (%d)", Index); }

TObject* TStrings::GetObject(Integer) const { return nullptr; }

void TStrings::Put(Integer Index, const String& S) {
  TObject* object = GetObject(Index);
  BeginUpdate();
  try {
    Delete(Index);
    InsertObject(Index, S, object);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::PutObject(Integer, TObject*) {}

void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(StringView S1, StringView S2) const { return CompareIgnoringCase(S1, S2); }

Integer TStrings::Add(const String& S) {
  const Integer index = GetCount();
  Insert(index, S);
  return index;
}

Integer TStrings::AddObject(const String& S, TObject* AObject) {
  const Integer index = Add(S);
  PutObject(index, AObject);
  return index;
}

void TStrings::AddStrings(TStrings* Strings) {
  if (Strings == nullptr) return;
  BeginUpdate();
  try {
    // The count is taken once, so adding a list to itself doubles it and stops.
    const Integer n = Strings->Count();
    for (Integer i = 0; i < n; ++i) AddObject(Strings->Strings(i), Strings->Objects(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::InsertObject(Integer Index, const String& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Exchange(Integer Index1, Integer Index2) {
  const Integer n = GetCount();
  if (Index1 < 0 || Index1 >= n) IndexError(Index1);
  if (Index2 < 0 || Index2 >= n) IndexError(Index2);
  if (Index1 == Index2) return;
  BeginUpdate();
  try {
    const String s1 = Get(Index1);
    TObject* o1 = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, s1);
    PutObject(Index2, o1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(Integer CurIndex, Integer NewIndex) {
  const Integer n = GetCount();
  if (CurIndex < 0 || CurIndex >= n) IndexError(CurIndex);
  if (NewIndex < 0 || NewIndex >= n) IndexError(NewIndex);
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  try {
    const String s = Get(CurIndex);
    TObject* object = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, object);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

Integer TStrings::IndexOf(const String& S) const {
  const Integer n = GetCount();
  for (Integer i = 0; i < n; ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

Integer TStrings::IndexOfName(const String& Name) const {
  const Integer n = GetCount();
  for (Integer i = 0; i < n; ++i) {
    const String s = Get(i);
    const auto at = s.find(FNameValueSeparator);
    if (at != String::npos && CompareStrings(StringView(s).substr(0, at), Name) == 0) return i;
  }
  return -1;
}

Integer TStrings::IndexOfObject(TObject* AObject) const {
  const Integer n = GetCount();
  for (Integer i = 0; i < n; ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

String TStrings::Text() const {
  String result;
  const Integer n = GetCount();
  for (Integer i = 0; i < n; ++i) {
    result += Get(i);
    result += u"\r\n";
  }
  return result;
}

void TStrings::SetText(StringView Value) {
  BeginUpdate();
  try {
    Clear();
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < Value.size()) {
      const Char c = Value[i];
      if (c == u'\r' || c == u'\n') {
        Add(String(Value.substr(start, i - start)));
        i += (c == u'\r' && i + 1 < Value.size() && Value[i + 1] == u'\n') ? 2 : 1;
        start = i;
      } else {
        ++i;
      }
    }
    if (start < Value.size()) Add(String(Value.substr(start)));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

String TStrings::DelimitedTextWith(Char delimiter, Char quote, bool strict) const {
  const Integer n = GetCount();
  if (n == 1 && Get(0).empty()) return String(2, quote);
  String result;
  for (Integer i = 0; i < n; ++i) {
    const String s = Get(i);
    const bool needsQuotes = std::any_of(s.begin(), s.end(), [&](Char c) {
      return c == quote || c == delimiter || c == 0 || (!strict && c <= u' ');
    });
    if (needsQuotes) {
      result += quote;
      for (Char c : s) {
        result += c;
        if (c == quote) result += quote;
      }
      result += quote;
    } else {
      result += s;
    }
    if (i + 1 < n) result += delimiter;
  }
  return result;
}

void TStrings::SetDelimitedTextWith(StringView value, Char delimiter, Char quote, bool strict) {
  const auto blank = [&](Char c) { return !strict && c >= 1 && c <= u' '; };
  BeginUpdate();
  try {
    Clear();
    std::size_t p = 0;
    // The text ends at a NUL character, as the class library reads it; left
    // in, an unquoted NUL would stop every scan and never be consumed.
    const std::size_t n = std::min(value.size(), value.find(u'\0'));
    while (p < n && blank(value[p])) ++p;
    while (p < n) {
      String item;
      if (value[p] == quote) {
        // A doubled quote stands for one; a missing closing quote takes the rest.
        ++p;
        while (p < n) {
          if (value[p] == quote) {
            if (p + 1 < n && value[p + 1] == quote) {
              item += quote;
              p += 2;
              continue;
            }
            ++p;
            break;
          }
          item += value[p++];
        }
      } else {
        const std::size_t start = p;
        while (p < n && value[p] != delimiter && (strict || value[p] > u' ')) ++p;
        item.assign(value.substr(start, p - start));
      }
      Add(item);
      while (p < n && blank(value[p])) ++p;
      if (p < n && value[p] == delimiter) {
        if (p + 1 == n) Add(String());  // a trailing delimiter ends with an empty item
        ++p;
        while (p < n && blank(value[p])) ++p;
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

String TStrings::DelimitedText() const { return DelimitedTextWith(FDelimiter, FQuoteChar, FStrictDelimiter); }
void TStrings::SetDelimitedText(StringView Value) { SetDelimitedTextWith(Value, FDelimiter, FQuoteChar, FStrictDelimiter); }
String TStrings::CommaText() const { return DelimitedTextWith(u',', u'"', false); }
void TStrings::SetCommaText(StringView Value) { SetDelimitedTextWith(Value, u',', u'"', false); }

String TStrings::Names(Integer Index) const {
  const String s = Get(Index);
  const auto at = s.find(FNameValueSeparator);
  return at == String::npos ? String() : s.substr(0, at);
}

String TStrings::ValueFromIndex(Integer Index) const {
  const String s = Get(Index);
  const auto at = s.find(FNameValueSeparator);
  return at == String::npos ? String() : s.substr(at + 1);
}

String TStrings::Values(const String& Name) const {
  const Integer i = IndexOfName(Name);
  return i < 0 ? String() : ValueFromIndex(i);
}

void TStrings::SetValues(const String& Name, const String& Value) {
  const Integer i = IndexOfName(Name);
  if (!Value.empty()) {
    const String line = Name + FNameValueSeparator + Value;
    if (i < 0) Add(line);
    else Put(i, line);
  } else if (i >= 0) {
    Delete(i);
  }
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

bool TStrings::Equals(TStrings* Strings) const {
  if (Strings == nullptr) return false;
  const Integer n = GetCount();
  if (n != Strings->GetCount()) return false;
  for (Integer i = 0; i < n; ++i)
    if (Get(i) != Strings->Get(i)) return false;
  return true;
}

void TStrings::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TStrings*>(Source);
  if (source == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  if (source == this) return;
  BeginUpdate();
  try {
    Clear();
    FDelimiter = source->FDelimiter;
    FQuoteChar = source->FQuoteChar;
    FNameValueSeparator = source->FNameValueSeparator;
    FStrictDelimiter = source->FStrictDelimiter;
    AddStrings(source);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::LoadFromStream(TStream* Stream, TEncoding* Encoding) {
  if (Stream == nullptr) return;
  const Int64 remaining = Stream->Size() - Stream->Position();
  if (remaining > std::numeric_limits<Integer>::max()) throw EReadError(u"Stream read error");
  TBytes bytes;
  Stream->ReadBuffer(bytes, static_cast<Integer>(std::max<Int64>(remaining, 0)));
  const std::size_t skip = TEncoding::GetBufferEncoding(bytes.data(), bytes.size(), Encoding);
  const String text = Encoding->GetString(bytes.data() + skip, bytes.size() - skip);
  SetText(text);
  FEncoding = Encoding;
}

void TStrings::LoadFromFile(const String& FileName, TEncoding* Encoding) {
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&file, Encoding);
}

void TStrings::SaveToStream(TStream* Stream, TEncoding* Encoding) const {
  if (Stream == nullptr) return;
  if (Encoding == nullptr) Encoding = FEncoding != nullptr ? FEncoding : TEncoding::UTF8NoBOM();
  if (FWriteBOM) Stream->WriteBuffer(Encoding->GetPreamble());
  Stream->WriteBuffer(Encoding->GetBytes(Text()));
}

void TStrings::SaveToFile(const String& FileName, TEncoding* Encoding) const {
  TFileStream file(FileName, fmCreate);
  SaveToStream(&file, Encoding);
}

// ---- TStringList ----

void TStringList::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= GetCount()) IndexError(Index);
}

void TStringList::CheckUnsorted() const {
  if (FSorted) Error(u"Operation not allowed on sorted list", 0);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
  // Called while the count is still 0 (BeginUpdate) or already back at 0 (EndUpdate).
  if (Updating) {
    if (OnChanging) OnChanging(this);
  } else {
    if (OnChange) OnChange(this);
  }
}

String TStringList::Get(Integer Index) const {
  CheckIndex(Index);
  return FList[static_cast<std::size_t>(Index)].FString;
}

TObject* TStringList::GetObject(Integer Index) const {
  CheckIndex(Index);
  return FList[static_cast<std::size_t>(Index)].FObject;
}

void TStringList::Put(Integer Index, const String& S) {
  CheckUnsorted();
  CheckIndex(Index);
  Changing();
  FList[static_cast<std::size_t>(Index)].FString = S;
  Changed();
}

void TStringList::PutObject(Integer Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FList[static_cast<std::size_t>(Index)].FObject = AObject;
  Changed();
}

int TStringList::CompareStrings(StringView S1, StringView S2) const {
  return FCaseSensitive ? CompareStr(S1, S2) : CompareIgnoringCase(S1, S2);
}

void TStringList::InsertItem(Integer Index, const String& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

Integer TStringList::Add(const String& S) { return AddObject(S, nullptr); }

Integer TStringList::AddObject(const String& S, TObject* AObject) {
  Integer index;
  if (!FSorted) {
    index = GetCount();
  } else if (Find(S, index)) {
    switch (FDuplicates) {
      case dupIgnore: return index;
      case dupError: Error(u"String list does not allow duplicates", 0);
      case dupAccept: break;
    }
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::Insert(Integer Index, const String& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(Integer Index, const String& S, TObject* AObject) {
  CheckUnsorted();
  if (Index < 0 || Index > GetCount()) IndexError(Index);
  InsertItem(Index, S, AObject);
}

void TStringList::Delete(Integer Index) {
  CheckIndex(Index);
  Changing();
  FList.erase(FList.begin() + Index);
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  FList.clear();
  Changed();
}

void TStringList::Exchange(Integer Index1, Integer Index2) {
  CheckUnsorted();
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[static_cast<std::size_t>(Index1)], FList[static_cast<std::size_t>(Index2)]);
  Changed();
}

void TStringList::Move(Integer CurIndex, Integer NewIndex) {
  CheckUnsorted();
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  if (CurIndex == NewIndex) return;
  Changing();
  TStringItem item = std::move(FList[static_cast<std::size_t>(CurIndex)]);
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, std::move(item));
  Changed();
}

Integer TStringList::IndexOf(const String& S) const {
  Integer index;
  return Find(S, index) ? index : -1;
}

bool TStringList::Find(const String& S, Integer& Index) const {
  if (!FSorted) {
    Index = TStrings::IndexOf(S);
    return Index >= 0;
  }
  // Lower bound: the first equal line, or where S belongs.
  Integer lo = 0;
  Integer hi = GetCount();
  while (lo < hi) {
    const Integer mid = lo + (hi - lo) / 2;
    if (CompareStrings(FList[static_cast<std::size_t>(mid)].FString, S) < 0) lo = mid + 1;
    else hi = mid;
  }
  Index = lo;
  return lo < GetCount() && CompareStrings(FList[static_cast<std::size_t>(lo)].FString, S) == 0;
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  if (FList.size() < 2 || !Compare) return;
  Changing();
  std::vector<Integer> order(FList.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<Integer>(i);
  // The comparison reads the list as it stands; it is rearranged only afterwards.
  MergeSort(order, [&](Integer a, Integer b) { return Compare(this, a, b) < 0; });
  std::vector<TStringItem> sorted;
  sorted.reserve(FList.size());
  for (Integer i : order) sorted.push_back(std::move(FList[static_cast<std::size_t>(i)]));
  FList.swap(sorted);
  Changed();
}

void TStringList::Sort() {
  CustomSort([](TStringList* list, Integer a, Integer b) {
    return list->CompareStrings(list->FList[static_cast<std::size_t>(a)].FString,
                                list->FList[static_cast<std::size_t>(b)].FString);
  });
}

void TStringList::SetSorted(bool Value) {
  if (Value == FSorted) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (Value == FCaseSensitive) return;
  FCaseSensitive = Value;
  if (FSorted) Sort();
}
