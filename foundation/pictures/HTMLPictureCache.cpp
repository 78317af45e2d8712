#include "foundation/pictures/HTMLPictureCache.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"

THTMLPictureCache::THTMLPictureCache() = default;
THTMLPictureCache::~THTMLPictureCache() { ClearPictures(); }

THTMLPicture* THTMLPictureCache::AddPicture() {
  FPictures.push_back(std::make_unique<THTMLPicture>());
  THTMLPicture* p = FPictures.back().get();
  Indexed(p);
  return p;
}

THTMLPicture* THTMLPictureCache::FindPicture(const String& ID) const {
  const auto it = FByID.find(ID);
  if (it == FByID.end() || it->second.empty()) return nullptr;
  if (it->second.size() == 1) return it->second.front();
  // A repeated ID: the first in list order.
  for (const auto& p : FPictures)
    if (p->ID() == ID) return p.get();
  return nullptr;
}

void THTMLPictureCache::ClearPictures() {
  for (auto& p : FPictures) {
    p->FCache = nullptr;
    p.reset();
  }
  FPictures.clear();
  FByID.clear();
}

void THTMLPictureCache::Indexed(THTMLPicture* Picture) {
  Picture->FCache = this;
  FByID[Picture->ID()].push_back(Picture);
}

void THTMLPictureCache::Unindexed(THTMLPicture* Picture, const String& ID) {
  const auto it = FByID.find(ID);
  if (it == FByID.end()) return;
  auto& list = it->second;
  list.erase(std::remove(list.begin(), list.end(), Picture), list.end());
  if (list.empty()) FByID.erase(it);
}

void THTMLPictureCache::IDChanged(THTMLPicture* Picture, const String& Old) {
  Unindexed(Picture, Old);
  FByID[Picture->ID()].push_back(Picture);
}

bool THTMLPictureCache::Animate() {
  bool changed = false;
  for (const auto& p : FPictures)
    if (p->Step()) changed = true;
  return changed;
}

void THTMLPictureCache::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
}

THTMLPicture* THTMLPictureCache::GetPicture(Integer Index) const {
  CheckIndex(Index);
  return FPictures[std::size_t(Index)].get();
}

void THTMLPictureCache::SetPicture(Integer Index, std::unique_ptr<THTMLPicture> Value) {
  CheckIndex(Index);
  if (!Value) Value = std::make_unique<THTMLPicture>();
  auto& slot = FPictures[std::size_t(Index)];
  Unindexed(slot.get(), slot->ID());
  slot->FCache = nullptr;
  slot = std::move(Value);
  Indexed(slot.get());
}
