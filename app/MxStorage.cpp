#include "app/MxStorage.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/rtl/FileNames.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/Files.h"

namespace {

// Bytes move between streams in blocks of up to 1 MiB.
constexpr Integer kCopyBlock = 1 << 20;
// deflate cannot expand data by more than about 1032:1; a length claimed
// beyond that (plus the zlib framing) cannot be in the held bytes.
constexpr Int64 kMaxInflateRatio = 1032;

// Copies exactly Count bytes from Source to Dest; a Source that runs dry
// raises Short (the bytes already copied stay copied).
template <class EShort>
void CopyBlocks(TStream* Source, TStream* Dest, Int64 Count, const char16_t* Short) {
  std::vector<std::uint8_t> block(static_cast<std::size_t>(std::min<Int64>(Count, kCopyBlock)));
  while (Count > 0) {
    const Integer want = static_cast<Integer>(std::min<Int64>(Count, kCopyBlock));
    Integer got = 0;
    while (got < want) {
      const Integer n = Source->Read(block.data() + got, want - got);
      if (n <= 0) throw EShort(Short);
      got += n;
    }
    Dest->WriteBuffer(block.data(), got);
    Count -= got;
  }
}

String RatioText(Int64 Part, Int64 Whole) {
  if (Whole == 0) return u"100%";
  return Format(u"%f", {static_cast<double>(Part) / static_cast<double>(Whole) * 100.0}) + u"%";
}

// A file name that stays inside the folder it is joined to: relative, no
// ".." step, no empty name.
bool ConfinedName(const String& Name) {
  if (Name.empty() || Name.front() == u'/' || Name.front() == u'\\') return false;
  if (Name.find(u'\0') != String::npos) return false;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = Name.find_first_of(u"/\\", start);
    const String step = Name.substr(start, end == String::npos ? String::npos : end - start);
    if (step == u"..") return false;
    if (end == String::npos) return !step.empty();
    start = end + 1;
  }
}

constexpr std::u16string_view kDefaultName = u"mxStoredItem";

// n for a name "mxStoredItem<n>" in any letter case (n from 1 on), else 0.
Integer DefaultNameNumber(const String& Name) {
  if (Name.size() <= kDefaultName.size() || Name.size() > kDefaultName.size() + 9) return 0;
  for (std::size_t i = 0; i < kDefaultName.size(); ++i) {
    Char a = Name[i], b = kDefaultName[i];
    if (a >= u'a' && a <= u'z') a = static_cast<Char>(a - 32);
    if (b >= u'a' && b <= u'z') b = static_cast<Char>(b - 32);
    if (a != b) return 0;
  }
  Integer n = 0;
  for (std::size_t i = kDefaultName.size(); i < Name.size(); ++i) {
    if (Name[i] < u'0' || Name[i] > u'9') return 0;
    n = n * 10 + (Name[i] - u'0');
  }
  return n;
}

}  // namespace

// --- TmxStoredItem ---

TmxStoredItem::TmxStoredItem(TCollection* Collection)
    : TCollectionItem(Collection), FData(std::make_unique<TMemoryStream>()) {
  if (Collection == nullptr) return;
  // The smallest number no other item's default-style name uses; one pass
  // over the items, so adding stays linear.
  std::vector<bool> used(static_cast<std::size_t>(Collection->Count()) + 2, false);
  for (Integer i = 0; i < Collection->Count(); ++i)
    if (auto* other = dynamic_cast<TmxStoredItem*>(Collection->Items(i)); other != nullptr && other != this) {
      const Integer n = DefaultNameNumber(other->FName);
      if (n > 0 && static_cast<std::size_t>(n) < used.size()) used[static_cast<std::size_t>(n)] = true;
    }
  std::size_t n = 1;
  while (used[n]) ++n;
  FName = u"mxStoredItem" + IntToStr(static_cast<Int64>(n));
}

TmxStoredItem::~TmxStoredItem() {
  SetCollection(nullptr);
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      // Nothing may leave a destructor.
    }
  }
}

TmxStoredItems* TmxStoredItem::Items() const { return dynamic_cast<TmxStoredItems*>(Collection()); }

bool TmxStoredItem::StorageLoading() const {
  const TmxStoredItems* items = Items();
  return items != nullptr && items->Storage() != nullptr &&
         items->Storage()->ComponentState().Contains(csLoading);
}

void TmxStoredItem::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TmxStoredItem*>(Source);
  if (source == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  if (source == this) return;
  TCollection* batch = source->Collection();
  if (batch != nullptr) batch->BeginUpdate();
  try {
    FTag = source->FTag;
    auto held = std::make_unique<TMemoryStream>();
    if (source->FData->Size() > 0)
      held->WriteBuffer(source->FData->Memory(), static_cast<Integer>(source->FData->Size()));
    held->SetPosition(0);
    FData = std::move(held);
    FView.reset();
    // The held bytes mean nothing without the level and length they were made with.
    FCompression = source->FCompression;
    FFileSize = source->FFileSize;
  } catch (...) {
    if (batch != nullptr) batch->EndUpdate();
    throw;
  }
  if (batch != nullptr) batch->EndUpdate();
}

Integer TmxStoredItem::Encode(TStream* Stream, TMemoryStream& Held) const {
  const Int64 length = Stream->Size();
  if (length > kMaxStoredFileSize)
    throw EStreamError(Format(u"A stored file may hold at most %d bytes", {static_cast<Integer>(kMaxStoredFileSize)}));
  Stream->SetPosition(0);
  if (FCompression == TCompressionLevel::clNone) {
    CopyBlocks<EReadError>(Stream, &Held, length, u"Stream read error");
  } else {
    TCompressionStream z(FCompression, &Held);
    const std::uint32_t l = static_cast<std::uint32_t>(length);
    const std::uint8_t prefix[4] = {std::uint8_t(l), std::uint8_t(l >> 8), std::uint8_t(l >> 16), std::uint8_t(l >> 24)};
    z.WriteBuffer(prefix, 4);
    CopyBlocks<EReadError>(Stream, &z, length, u"Stream read error");
    z.Finish();
  }
  return static_cast<Integer>(length);
}

void TmxStoredItem::LoadFromStream(TStream* Stream) {
  FData = std::make_unique<TMemoryStream>();
  FView.reset();
  if (Stream == nullptr || Stream->Size() == 0) return;
  Stream->SetPosition(0);
  if (OnBeforeLoad) OnBeforeLoad(this, Stream);
  auto held = std::make_unique<TMemoryStream>();
  const Integer length = Encode(Stream, *held);
  held->SetPosition(0);
  FData = std::move(held);
  // Raw items too: FileSize always tells the file's length.
  FFileSize = length;
  if (OnAfterLoad) OnAfterLoad(this);
}

void TmxStoredItem::Decode(TStream* Stream) {
  FData->SetPosition(0);
  if (FCompression == TCompressionLevel::clNone || FData->Size() == 0) {
    CopyBlocks<EReadError>(FData.get(), Stream, FData->Size(), u"Stream read error");
    return;
  }
  TDecompressionStream z(FData.get());
  std::uint8_t prefix[4] = {0, 0, 0, 0};
  Integer got = 0;
  while (got < 4) {
    const Integer n = z.Read(prefix + got, 4 - got);
    if (n <= 0) throw EZDecompressionError(u"Stored data ends before its length");
    got += n;
  }
  const Int64 length = Int64(prefix[0]) | Int64(prefix[1]) << 8 | Int64(prefix[2]) << 16 | Int64(prefix[3]) << 24;
  if (length > kMaxStoredFileSize || length > FData->Size() * kMaxInflateRatio + 64)
    throw EZDecompressionError(u"Stored length exceeds the stored data");
  CopyBlocks<EZDecompressionError>(&z, Stream, length, u"Stored data ends before the stored length");
}

void TmxStoredItem::SaveToStream(TStream* Stream) {
  if (Stream == nullptr) return;
  FData->SetPosition(0);
  if (OnBeforeSave) OnBeforeSave(this, Stream);
  Decode(Stream);
  if (OnAfterSave) OnAfterSave(this);
}

void TmxStoredItem::SaveToFile(const String& FileName) {
  // Inflate first: damaged data then leaves no truncated file behind.
  TMemoryStream bytes;
  SaveToStream(&bytes);
  TFileStream file(FileName, fmCreate);
  bytes.SetPosition(0);
  CopyBlocks<EReadError>(&bytes, &file, bytes.Size(), u"Stream read error");
}

void TmxStoredItem::LoadFromFile(const String& FileName) {
  TFileStream file(FileName, fmOpenRead | fmShareDenyNone);
  LoadFromStream(&file);
  FFileName = ExtractFileName(FileName);
}

TStream* TmxStoredItem::AsStream() {
  auto view = std::make_unique<TMemoryStream>();
  Decode(view.get());
  view->SetPosition(0);
  FView = std::move(view);
  return FView.get();
}

void TmxStoredItem::SetName(const String& Value) {
  if (AnsiSameText(Value, FName)) return;
  if (TCollection* items = Collection())
    for (Integer i = 0; i < items->Count(); ++i) {
      auto* other = static_cast<TmxStoredItem*>(items->Items(i));
      if (other != this && AnsiSameText(other->FName, Value)) throw EComponentError(SDuplicatedStoredItemName);
    }
  FName = Value;
  Changed(false);
}

void TmxStoredItem::SetFileName(const String& Value) {
  if (StorageLoading()) FFileName = Value;
}

void TmxStoredItem::SetFileSize(Integer Value) {
  if (StorageLoading()) FFileSize = Value;
}

void TmxStoredItem::SetCompression(TCompressionLevel Value) {
  if (StorageLoading()) {
    FCompression = Value;
    return;
  }
  if (Value == FCompression) return;
  TMemoryStream bytes;
  SaveToStream(&bytes);
  const TCompressionLevel old = FCompression;
  FCompression = Value;
  try {
    LoadFromStream(&bytes);
  } catch (...) {
    FCompression = old;
    throw;
  }
}

String TmxStoredItem::Ratio() const { return RatioText(Size(), FFileSize); }

void TmxStoredItem::SetHeldData(const void* Buffer, Integer Count) {
  auto held = std::make_unique<TMemoryStream>();
  if (Count > 0) held->WriteBuffer(Buffer, Count);
  held->SetPosition(0);
  FData = std::move(held);
  FView.reset();
}

// --- TmxStoredItems ---

TmxStoredItems::TmxStoredItems(TmxStorage* AStorage)
    : TOwnedCollection(AStorage, TCollectionItemClass::Of<TmxStoredItem>()), FStorage(AStorage) {}

// --- TmxStorage ---

TmxStorage::TmxStorage(TComponent* AOwner)
    : TComponent(AOwner), FStoredItems(std::make_unique<TmxStoredItems>(this)) {}

TmxStorage::~TmxStorage() = default;

TmxStoredItem* TmxStorage::ItemByIndex(Integer Index) const {
  if (Index >= FStoredItems->Count()) return nullptr;
  return FStoredItems->Items(Index);  // a negative index raises the list error
}

TmxStoredItem* TmxStorage::ItemByName(const String& Name) const {
  for (Integer i = 0; i < FStoredItems->Count(); ++i)
    if (AnsiSameText(FStoredItems->Items(i)->Name(), Name)) return FStoredItems->Items(i);
  return nullptr;
}

TmxStoredItem* TmxStorage::ItemByFileName(const String& FileName) const {
  for (Integer i = 0; i < FStoredItems->Count(); ++i)
    if (AnsiSameText(FStoredItems->Items(i)->FileName(), FileName)) return FStoredItems->Items(i);
  return nullptr;
}

// For each item: OnBeforeExtract may change the folder, the name or skip
// it; the folder is created when missing (an item whose folder cannot be
// made is skipped); names that would leave the folder fail. A failure
// raises OnExtractError with the folder and name that were tried.
bool TmxStorage::ExtractTo(const String& Path) {
  bool result = true;
  for (Integer i = 0; i < FStoredItems->Count(); ++i) {
    TmxStoredItem* item = FStoredItems->Items(i);
    String dir = IncludeTrailingPathDelimiter(Path);
    String fileName = item->FileName();
    bool canExtract = true;
    if (OnBeforeExtract) OnBeforeExtract(this, dir, fileName, canExtract);
    if (!canExtract) continue;
    if (!ForceDirectories(dir)) continue;
    dir = IncludeTrailingPathDelimiter(dir);
    bool ok = false;
    try {
      if (ConfinedName(fileName)) {
        const String target = dir + fileName;
        const String folder = ExtractFilePath(target);
        if (folder == dir || ForceDirectories(folder)) {
          item->SaveToFile(target);
          ok = true;
        }
      }
    } catch (const Exception&) {
      ok = false;
    }
    if (!ok) {
      result = false;
      if (OnExtractError) OnExtractError(this, dir, fileName);
      continue;
    }
    if (OnAfterExtract) OnAfterExtract(this, dir, fileName);
  }
  return result;
}

Integer TmxStorage::OriginalSize() const {
  Int64 sum = 0;
  for (Integer i = 0; i < FStoredItems->Count(); ++i) sum += FStoredItems->Items(i)->FileSize();
  return static_cast<Integer>(std::min<Int64>(sum, 0x7FFFFFFF));
}

Integer TmxStorage::Size() const {
  Int64 sum = 0;
  for (Integer i = 0; i < FStoredItems->Count(); ++i) sum += FStoredItems->Items(i)->Size();
  return static_cast<Integer>(std::min<Int64>(sum, 0x7FFFFFFF));
}

String TmxStorage::Ratio() const { return RatioText(Size(), OriginalSize()); }

String TmxStorage::Version() const { return Format(u"%d.%d", {Integer(FVersion >> 8), Integer(FVersion & 0xFF)}); }

void TmxStorage::SetStoredItems(TmxStoredItems* Value) { FStoredItems->Assign(Value); }
