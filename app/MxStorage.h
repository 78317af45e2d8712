#pragma once
// The firmware store: a component that keeps whole files inside the program's
// resources, each held as one zlib stream (or raw), and gives them back as a
// stream or writes them into a folder.
//
// Stored form (the class library's binary form of the component's stored
// properties, "TPF0" first): each item stores its properties and, when it
// holds bytes, the binary property "StoredItem" whose content is the number
// of held bytes (32-bit, little-endian) and the held bytes as they are. A
// compressed item holds one zlib stream whose content is the file's length
// (32-bit, little-endian) and then the file's bytes.
#include <functional>
#include <memory>

#include "platform/rtl/Collection.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/ZLib.h"
#include "app/AppResources.h"
#include "platform/win/Module.h"

class TmxStorage;
class TmxStoredItems;

using TmxExtractError = std::function<void(TObject* Sender, const String& Path, const String& FileName)>;
using TmxBeforeExtract =
    std::function<void(TObject* Sender, String& Path, String& FileName, bool& CanExtract)>;
using TmxAfterExtract = std::function<void(TObject* Sender, const String& Path, const String& FileName)>;
using TmxStreamEvent = std::function<void(TObject* Sender, TStream* Stream)>;

inline constexpr const char16_t* SDuplicatedStoredItemName = u"Duplicated stored item name";

// Largest file an item takes or gives back. A stored length above it, or
// above what its held bytes can inflate to, is refused before anything is
// allocated (a hostile resource cannot make the program reserve gigabytes).
inline constexpr Int64 kMaxStoredFileSize = Int64(256) << 20;

class TmxStoredItem : public TCollectionItem {
 public:
  // Joins Collection with a free default name "mxStoredItem<n>"; empty, clDefault, Tag 0.
  explicit TmxStoredItem(TCollection* Collection);
  // Leaves the collection, then raises OnDestroy.
  ~TmxStoredItem() override;

  // Another TmxStoredItem: its Tag, held bytes, Compression and FileSize
  // (not its names), in one update of the source's collection. Anything
  // else: EConvertError.
  void Assign(TPersistent* Source) override;

  // Writes the file's bytes at Stream's position; nullptr does nothing.
  // Held data that does not inflate, or inflates to fewer bytes than it
  // announces, raises EZDecompressionError (Stream may have part of them).
  void SaveToStream(TStream* Stream);
  // Takes all of Stream's bytes as the item's file; nullptr or an empty
  // stream leaves the item empty with FileSize unchanged. A stream above
  // kMaxStoredFileSize raises EStreamError and leaves the item empty.
  void LoadFromStream(TStream* Stream);
  // Creates or overwrites the file with the file's bytes; file errors as TFileStream.
  void SaveToFile(const String& FileName);
  // Loads the file and takes its name (without folder) as FileName.
  void LoadFromFile(const String& FileName);
  // A stream of the file's bytes at position 0, owned by the item and valid
  // until the item next changes. The item itself (held bytes, Compression,
  // Size) stays as it is. Decompression errors as SaveToStream.
  TStream* AsStream();

  Integer Tag() const { return FTag; }
  void SetTag(Integer Value) { FTag = Value; }
  const String& Name() const { return FName; }
  // Raises EComponentError "Duplicated stored item name" when another item
  // has Value (letter case ignored); the same name in other letters changes nothing.
  void SetName(const String& Value);
  const String& FileName() const { return FFileName; }
  // Only while the storage loads from its resource; ignored otherwise.
  void SetFileName(const String& Value);
  Integer FileSize() const { return FFileSize; }
  // Only while the storage loads from its resource; ignored otherwise.
  void SetFileSize(Integer Value);
  TCompressionLevel Compression() const { return FCompression; }
  // Re-encodes the held bytes at the new level (only recorded while the
  // storage loads). Decompression errors as SaveToStream; the item is unchanged then.
  void SetCompression(TCompressionLevel Value);
  // Number of held bytes.
  Integer Size() const { return static_cast<Integer>(FData->Size()); }
  // Size / FileSize x 100 as "%f" then "%"; "100%" when FileSize is 0.
  String Ratio() const;
  String GetDisplayName() const override { return FName; }

  // The held bytes (for the stored form and for tests).
  TMemoryStream* Data() const { return FData.get(); }
  // Replaces the held bytes with Count bytes (the stored form's reader).
  void SetHeldData(const void* Buffer, Integer Count);

  TNotifyEvent OnCreate;  // stored, never raised
  TNotifyEvent OnDestroy;
  TmxStreamEvent OnBeforeLoad;
  TmxStreamEvent OnBeforeSave;
  TNotifyEvent OnAfterLoad;
  TNotifyEvent OnAfterSave;

 private:
  TmxStoredItems* Items() const;
  bool StorageLoading() const;
  // Encodes Stream's bytes into Held at the item's level; answers the file length.
  Integer Encode(TStream* Stream, TMemoryStream& Held) const;
  void Decode(TStream* Stream);

  std::unique_ptr<TMemoryStream> FData;
  std::unique_ptr<TMemoryStream> FView;  // AsStream's copy of the file bytes
  TCompressionLevel FCompression = TCompressionLevel::clDefault;
  Integer FTag = 0;
  String FName;
  String FFileName;
  Integer FFileSize = 0;
};

class TmxStoredItems : public TOwnedCollection {
 public:
  explicit TmxStoredItems(TmxStorage* AStorage);
  TmxStorage* Storage() const { return FStorage; }
  // The item at Index; a bad index raises EListError.
  TmxStoredItem* Items(Integer Index) const { return static_cast<TmxStoredItem*>(TCollection::Items(Index)); }
  // Assigns Value into the item at Index.
  void SetItems(Integer Index, TmxStoredItem* Value) { TCollection::SetItems(Index, Value); }
  TmxStoredItem* Add() { return static_cast<TmxStoredItem*>(TCollection::Add()); }

 private:
  TmxStorage* FStorage;
};

class TmxStorage : public TComponent {
 public:
  explicit TmxStorage(TComponent* AOwner);
  ~TmxStorage() override;

  // The item at Index; nullptr when Index >= Count; a negative index raises EListError.
  TmxStoredItem* ItemByIndex(Integer Index) const;
  TmxStoredItem* GetItem(Integer Index) const { return ItemByIndex(Index); }
  TmxStoredItem* StoredItem(Integer Index) const { return ItemByIndex(Index); }
  // First item whose Name (or FileName) equals the text, letter case ignored; nullptr when none.
  TmxStoredItem* ItemByName(const String& Name) const;
  TmxStoredItem* ItemByFileName(const String& FileName) const;
  // Writes every item's file into Path (see the .cpp); false when any item failed.
  bool ExtractTo(const String& Path);

  // Sum of FileSize, sum of Size (held bytes), and their ratio as Ratio formats it.
  Integer OriginalSize() const;
  Integer Size() const;
  Integer TotalSize() const { return Size(); }
  String Ratio() const;
  // "1.21".
  String Version() const;
  TmxStoredItems* StoredItems() const { return FStoredItems.get(); }
  // Copies Value's items.
  void SetStoredItems(TmxStoredItems* Value);

  // Replaces the items with those of a stored form read from Stream's
  // position. Malformed or truncated data raises EReadError and leaves the
  // store empty; held bytes are taken as they are (nothing is inflated).
  void LoadStore(TStream* Stream);
  // Writes the stored form at Stream's position.
  void SaveStore(TStream* Stream) const;
  // LoadStore from the raw-data resource Name of the program. EResNotFound
  // "Resource <Name> not found" when missing; otherwise as LoadStore.
  void LoadFromResource(HINSTANCE Instance, const String& Name);

  TmxExtractError OnExtractError;
  TmxBeforeExtract OnBeforeExtract;
  TmxAfterExtract OnAfterExtract;

 private:
  std::unique_ptr<TmxStoredItems> FStoredItems;
  Word FVersion = 0x0115;
};
