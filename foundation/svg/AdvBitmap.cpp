#include "foundation/svg/AdvBitmap.h"

#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"

bool TAdvBitmap::HasSVG() const {
  auto* svg = dynamic_cast<TAdvSVGBitmap*>(Graphic());
  return svg && svg->HasSVG();
}

TAdvSVGImport* TAdvBitmap::SVG() const {
  return HasSVG() ? static_cast<TAdvSVGBitmap*>(Graphic())->SVG() : nullptr;
}

bool IsBitmapEmpty(TPicture* ABitmap) { return !ABitmap || !ABitmap->Graphic() || ABitmap->Graphic()->Empty(); }

TGraphic* GetPictureGraphic(TPicture* APicture) { return APicture ? APicture->Graphic() : nullptr; }

std::unique_ptr<TAdvBitmap> CreateBitmapFromResource(const String& AName) {
  return CreateBitmapFromResource(AName, TAdvUtils::GetHInstance());
}

std::unique_ptr<TAdvBitmap> CreateBitmapFromResource(const String& AName, HINSTANCE AInstance) {
  auto bitmap = std::make_unique<TAdvBitmap>();
  LoadBitmapFromResource(bitmap.get(), AName, AInstance);
  return bitmap;
}

void LoadBitmapFromResource(TPicture* ABitmap, const String& AName) {
  LoadBitmapFromResource(ABitmap, AName, TAdvUtils::GetHInstance());
}

void LoadBitmapFromResource(TPicture* ABitmap, const String& AName, HINSTANCE AInstance) {
  if (!ABitmap) return;
  std::unique_ptr<TStream> stream = TAdvUtils::GetResourceStream(AName, AInstance);
  if (stream) ABitmap->LoadFromStream(stream.get());
}

void LoadBitmapFromURL(TPicture* ABitmap, const String& AURL) {
  if (!ABitmap) return;
  if (UpperCase(AURL).starts_with(u"HTTP")) {
    std::unique_ptr<TMemoryStream> stream = TAdvUtils::DownloadImage(AURL);
    if (!stream || stream->Size() == 0) return;
    stream->SetPosition(0);
    ABitmap->LoadFromStream(stream.get());
    return;
  }
  ABitmap->LoadFromFile(AURL);
}
