#pragma once
// The files an update control file lists: one TFileDescription per [fileN]
// section, kept in a TFileList.
#include "platform/rtl/Collection.h"
#include "platform/rtl/Types.h"

class TFileDescription : public TCollectionItem {
 public:
  explicit TFileDescription(TCollection* Collection) : TCollectionItem(Collection) {}

  String URL;
  String NewVersion;
  Integer NewSize = 0;
  Integer NewCheckSum = -1;
  String NewCustomVer;
  String NewDate;
  String NewTime;
  String LocalVersion;  // the local copy's path, placeholders expanded
  String Description;
  String TargetDir;  // with a trailing delimiter when not empty
  bool Compressed = false;
  Int64 FileSize = 0;  // 64-bit: progress totals of large files must not wrap
  bool Mandatory = false;
  bool Preselect = true;
  bool Hidden = false;
  bool Selected = false;
};

class TFileList : public TCollection {
 public:
  TFileList();

  // The entry at Index; raises EListError for an index out of range.
  TFileDescription* Items(Integer Index) const;
  TFileDescription* Add();
  TFileDescription* Insert(Integer Index);

  // Index of the file being downloaded.
  Integer ActiveItem = 0;
  // Sum of FileSize over all entries.
  Int64 TotalSize() const;
  // Sum of FileSize over the entries before ActiveItem.
  Int64 CompletedSize() const;
};
