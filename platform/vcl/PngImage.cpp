#include "platform/vcl/PngImage.h"

#include "platform/vcl/ImageCodec.h"

namespace {
std::unique_ptr<TBitmap> NewAlphaBitmap() {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetAlphaFormat(afPremultiplied);
  return b;
}
}  // namespace

TPngImage::TPngImage() : FImage(NewAlphaBitmap()) {}
TPngImage::~TPngImage() = default;

void TPngImage::Assign(TPersistent* Source) {
  if (!Source) {
    FImage = NewAlphaBitmap();
    Changed();
  } else if (auto* p = dynamic_cast<TPngImage*>(Source)) {
    if (p != this) {
      FImage->Assign(p->FImage.get());
      FTransparent = p->FTransparent;
      Changed();
    }
  } else if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    QImage* src = image_codec::BitmapImage(b);
    bool alpha = b->PixelFormat() == pf32bit && b->AlphaFormat() != afIgnored;
    QImage img = src ? *src : QImage();
    if (alpha && b->AlphaFormat() == afDefined)
      img = QImage(src->constBits(), src->width(), src->height(), src->bytesPerLine(), QImage::Format_ARGB32).copy();
    else if (!alpha && src)
      img = src->convertToFormat(QImage::Format_RGB32);
    FImage = NewAlphaBitmap();
    image_codec::SetBitmapImage(FImage.get(), std::move(img), true);
    Changed();
  } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    FImage->Assign(g);
    Changed();
  } else {
    TGraphic::Assign(Source);
  }
}

void TPngImage::AssignTo(TPersistent* Dest) {
  if (auto* b = dynamic_cast<TBitmap*>(Dest)) {
    b->Assign(FImage.get());
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TPngImage::Draw(TCanvas* canvas, const TRect& r) { FImage->Draw(canvas, r); }

void TPngImage::LoadFromBytes(const TBytes& data) {
  QImage img = image_codec::Decode(data, "png");
  FImage = NewAlphaBitmap();
  if (img.isNull()) {
    Changed();
    throw EInvalidGraphic(u"The PNG image is not valid");
  }
  image_codec::SetBitmapImage(FImage.get(), std::move(img), true);
  Changed();
}

void TPngImage::SaveToBytes(TBytes& data) {
  QImage* img = image_codec::BitmapImage(FImage.get());
  if (!img) throw EInvalidGraphicOperation(u"Cannot save an empty PNG image");
  if (!image_codec::Encode(img->convertToFormat(QImage::Format_ARGB32), "png", data))
    throw EInvalidGraphicOperation(u"Cannot save the PNG image");
}
