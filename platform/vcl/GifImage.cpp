#include "platform/vcl/GifImage.h"

#include "platform/vcl/ImageCodec.h"

namespace {
std::unique_ptr<TBitmap> NewAlphaBitmap() {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetAlphaFormat(afPremultiplied);
  return b;
}
}  // namespace

TGIFImage::TGIFImage() : FImage(NewAlphaBitmap()) {}
TGIFImage::~TGIFImage() = default;

void TGIFImage::Assign(TPersistent* Source) {
  if (!Source) {
    FImage = NewAlphaBitmap();
    FData.clear();
    FFrameCount = 0;
    Changed();
  } else if (auto* g = dynamic_cast<TGIFImage*>(Source)) {
    if (g != this) {
      FImage->Assign(g->FImage.get());
      FData = g->FData;
      FFrameCount = g->FFrameCount;
      Changed();
    }
  } else if (auto* other = dynamic_cast<TGraphic*>(Source)) {
    FImage->Assign(other);
    FData.clear();
    FFrameCount = FImage->Empty() ? 0 : 1;
    Changed();
  } else {
    TGraphic::Assign(Source);
  }
}

void TGIFImage::AssignTo(TPersistent* Dest) {
  if (auto* b = dynamic_cast<TBitmap*>(Dest)) {
    b->Assign(FImage.get());
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TGIFImage::Draw(TCanvas* canvas, const TRect& r) { FImage->Draw(canvas, r); }

void TGIFImage::LoadFromBytes(const TBytes& data) {
  QImage img = image_codec::Decode(data, "gif");
  FImage = NewAlphaBitmap();
  FData.clear();
  FFrameCount = 0;
  if (img.isNull()) {
    Changed();
    throw EInvalidGraphic(u"The GIF image is not valid");
  }
  image_codec::SetBitmapImage(FImage.get(), std::move(img), true);
  FData = data;
  FFrameCount = image_codec::FrameCount(data, "gif");
  Changed();
}

void TGIFImage::SaveToBytes(TBytes& data) {
  if (!FData.empty()) {
    data = FData;
    return;
  }
  QImage* img = image_codec::BitmapImage(FImage.get());
  // Qt carries no GIF writer: without the bytes read there is nothing to write.
  if (!img || !image_codec::Encode(*img, "gif", data)) throw EInvalidGraphicOperation(u"Cannot save the GIF image");
}
