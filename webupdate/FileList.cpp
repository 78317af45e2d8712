#include "webupdate/FileList.h"

TFileList::TFileList() : TCollection(TCollectionItemClass::Of<TFileDescription>()) {}

TFileDescription* TFileList::Items(Integer Index) const {
  return static_cast<TFileDescription*>(TCollection::Items(Index));
}

TFileDescription* TFileList::Add() { return static_cast<TFileDescription*>(TCollection::Add()); }

TFileDescription* TFileList::Insert(Integer Index) { return static_cast<TFileDescription*>(TCollection::Insert(Index)); }

Int64 TFileList::TotalSize() const {
  Int64 total = 0;
  for (Integer i = 0; i < Count(); ++i) total += Items(i)->FileSize;
  return total;
}

Int64 TFileList::CompletedSize() const {
  Int64 total = 0;
  for (Integer i = 0; i < Count() && i < ActiveItem; ++i) total += Items(i)->FileSize;
  return total;
}
