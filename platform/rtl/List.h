#pragma once
// TList: the class library's list of untyped pointers. Every index is checked:
// a bad one raises EListError "List index out of bounds (<index>)".
#include <functional>
#include <vector>

#include "platform/rtl/Object.h"

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// Negative when Item1 sorts before Item2, 0 when equal, positive after.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

class TList : public TObject {
 public:
  // The largest count and capacity a list accepts, as the class library's MaxListSize.
  static constexpr Integer MaxListSize = 0x7FFFFFFF / 16;

  TList() = default;
  ~TList() override;

  // Appends Item; answers its index.
  Integer Add(void* Item);
  // Inserts Item before Index (0..Count).
  void Insert(Integer Index, void* Item);
  // Removes the item at Index.
  void Delete(Integer Index);
  // Removes the first occurrence of Item; answers its former index or -1.
  Integer Remove(void* Item);
  // Index of the first occurrence of Item, -1 when absent.
  Integer IndexOf(void* Item) const;
  // Takes the first occurrence of Item out without deleting it (notified as
  // extracted); answers Item, or nullptr when absent.
  void* Extract(void* Item);
  void Exchange(Integer Index1, Integer Index2);
  // Moves the item at CurIndex so that it ends up at NewIndex.
  void Move(Integer CurIndex, Integer NewIndex);
  // Stable sort with Compare; a compare function that is not an ordering
  // leaves the items in some order but never corrupts the list.
  void Sort(const TListSortCompare& Compare);

  void* Items(Integer Index) const;
  void SetItems(Integer Index, void* Item);
  // First and last item; an empty list raises as for index 0 and -1.
  void* First() const;
  void* Last() const;

  Integer Count() const { return static_cast<Integer>(FList.size()); }
  // Shrinking deletes items from the end; growing appends nullptr items.
  // Beyond 0..MaxListSize raises EListError "List count out of bounds (<n>)".
  void SetCount(Integer NewCount);
  Integer Capacity() const { return FCapacity; }
  // Below Count or above MaxListSize raises EListError "List capacity out of bounds (<n>)".
  void SetCapacity(Integer NewCapacity);

  // Deletes every item (each notified) and frees the storage.
  void Clear();
  // Deletes the nullptr items.
  void Pack();

 protected:
  // Called after an item is added and after one is extracted or deleted;
  // nullptr items are not notified. Owning lists free items here.
  virtual void Notify(void* Ptr, TListNotification Action);
  [[noreturn]] static void Error(const char16_t* Message, Integer Data);

 private:
  void CheckIndex(Integer Index) const;
  void Grow();

  std::vector<void*> FList;
  Integer FCapacity = 0;
};
