#include "foundation/pictures/HTMLPictureCache.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"

THTMLPictureCache::THTMLPictureCache() = default;
THTMLPictureCache::~THTMLPictureCache() { ClearPictures(); }

THTMLPicture* THTMLPictureCache::AddPicture() {
  FPictures.push_back(std::make_unique<THTMLPicture>());
  return FPictures.back().get();
}

THTMLPicture* THTMLPictureCache::FindPicture(const String& ID) const {
  for (const auto& p : FPictures)
    if (p->ID() == ID) return p.get();
  return nullptr;
}

void THTMLPictureCache::ClearPictures() {
  for (auto& p : FPictures) p.reset();
  FPictures.clear();
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
  FPictures[std::size_t(Index)] = std::move(Value);
}
