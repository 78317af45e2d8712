#pragma once
// THTMLPictureCache: the pictures an HTML-rendering control has loaded from
// addresses, owned by the cache and found by their ID through an index kept
// up to date as IDs change (renderers look every address up on each paint).
#include <memory>
#include <unordered_map>
#include <vector>

#include "foundation/pictures/HTMLPicture.h"

class THTMLPictureCache {
 public:
  THTMLPictureCache();
  ~THTMLPictureCache();
  THTMLPictureCache(const THTMLPictureCache&) = delete;
  THTMLPictureCache& operator=(const THTMLPictureCache&) = delete;

  // A new empty picture at the end, owned by the cache.
  THTMLPicture* AddPicture();
  // The first picture whose ID equals ID exactly (case-sensitive); nullptr when none.
  THTMLPicture* FindPicture(const String& ID) const;
  // Frees every picture in list order and empties the list.
  void ClearPictures();
  // Steps every picture in list order; true when any frame changed.
  bool Animate();

  Integer Count() const { return Integer(FPictures.size()); }
  // A bad index raises EListError "List index out of bounds (<index>)".
  THTMLPicture* GetPicture(Integer Index) const;
  // Puts Value (taken over) at Index, freeing the picture there; a bad index
  // raises EListError and frees Value; nullptr puts an empty picture there.
  void SetPicture(Integer Index, std::unique_ptr<THTMLPicture> Value);

 private:
  friend class THTMLPicture;
  void CheckIndex(Integer Index) const;
  // Index upkeep: Picture joins the entries of its ID, or leaves them.
  void Indexed(THTMLPicture* Picture);
  void Unindexed(THTMLPicture* Picture, const String& ID);
  // Picture's ID changed from Old.
  void IDChanged(THTMLPicture* Picture, const String& Old);

  std::vector<std::unique_ptr<THTMLPicture>> FPictures;
  // The pictures of each ID (more than one only when IDs repeat).
  std::unordered_map<String, std::vector<THTMLPicture*>> FByID;
};
