#pragma once
// TAdvBitmap: the library's picture, which can hold an SVG graphic; and the
// routines that fill a picture from resources, files and web addresses.
#include <memory>

#include "foundation/svg/AdvSVGBitmap.h"
#include "platform/win/Module.h"

class TAdvBitmap : public TPicture {
 public:
  // The graphic is a TAdvSVGBitmap whose document has elements.
  virtual bool HasSVG() const;
  // That graphic's document; nullptr unless HasSVG.
  TAdvSVGImport* SVG() const;
};

// True for nullptr, a picture without graphic, or an empty graphic.
bool IsBitmapEmpty(TPicture* ABitmap);
// The picture's graphic; nullptr for nullptr.
TGraphic* GetPictureGraphic(TPicture* APicture);
// A new picture (owned by the caller) loaded from the raw-data resource;
// left empty when there is no such resource.
std::unique_ptr<TAdvBitmap> CreateBitmapFromResource(const String& AName);
std::unique_ptr<TAdvBitmap> CreateBitmapFromResource(const String& AName, HINSTANCE AInstance);
// Loads the raw-data resource into the picture; an unknown name leaves it as
// it was; undecodable data raises EInvalidGraphic (picture kept).
void LoadBitmapFromResource(TPicture* ABitmap, const String& AName);
void LoadBitmapFromResource(TPicture* ABitmap, const String& AName, HINSTANCE AInstance);
// "http..." addresses are downloaded through the utility class (its errors
// pass on; no picture data leaves the picture as it was); anything else is a
// file name whose load errors pass on.
void LoadBitmapFromURL(TPicture* ABitmap, const String& AURL);
