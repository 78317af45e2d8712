#include "foundation/pictures/GDIPPicture.h"

#include <cstring>

#include "foundation/gdiplus/LookFlags.h"
#include "foundation/gdiplus/PictureDecode.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Bitmap.h"

using namespace gdiplus;

TPictureFormat DetectPictureFormat(const TBytes& Data) {
  if (Data.size() < 44) return pfNone;
  const Byte* d = Data.data();
  const Word first = Word(d[0] | (d[1] << 8)), second = Word(d[2] | (d[3] << 8));
  if (first == 0x4949) return second == 0x002A ? pfTiff : pfNone;
  if (first == 0x4D42) return pfBMP;
  if (first == 0x4D4D) return second == 0x2A00 ? pfTiff : pfNone;
  if (first == 0xD8FF) return pfJPG;
  static constexpr Byte kPng[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
  if (std::memcmp(d, kPng, 8) == 0) return pfPNG;
  static constexpr Byte kPlaceable[4] = {0xD7, 0xCD, 0xC6, 0x9A};
  if (std::memcmp(d, kPlaceable, 4) == 0) return pfMetaFile;
  static constexpr Byte kEmfRecord[4] = {1, 0, 0, 0};
  if (std::memcmp(d, kEmfRecord, 4) == 0 && std::memcmp(d + 40, " EMF", 4) == 0) return pfMetaFile;
  if (std::memcmp(d, "GIF", 3) == 0) return pfGIF;
  if (second == 1) return pfICO;
  return pfNone;
}

// SVG read from a stream leaves the raw bytes behind.
TGDIPPicture::TGDIPPicture() : TEncodedPicture(false) {}
TGDIPPicture::~TGDIPPicture() = default;

void TGDIPPicture::Assign(TPersistent* Source) {
  FIsEmpty = true;
  if (!Source) {
    ClearSVG();
    FDatastream.clear();
    RaiseChange();
    RaiseClear();
    return;
  }
  if (auto* src = dynamic_cast<TGDIPPicture*>(Source)) {
    ClearSVG();
    if (src->HasSVGData()) {
      TAdvSVGBitmap::Assign(src);
      FIsEmpty = false;
    } else {
      FDatastream = src->FDatastream;
      FIsEmpty = FDatastream.empty();
    }
    RaiseChange();
  } else if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    // The saved file by its content: another picture's SVG stays SVG.
    TBytes data;
    if (!graphic->Empty()) graphic->SaveToBytes(data);
    FDatastream.clear();
    TakeContent(std::move(data));
    RaiseChange();
  } else if (auto* picture = dynamic_cast<TPicture*>(Source)) {
    TBytes data;
    if (picture->Graphic() && !picture->Graphic()->Empty()) picture->Graphic()->SaveToBytes(data);
    FDatastream.clear();
    TakeContent(std::move(data));
    RaiseChange();
  } else {
    return;
  }
  GetImageSizes();
}

bool TGDIPPicture::GetImageSizes() {
  if (HasSVG()) return true;
  return !FIsEmpty && DecodeRawSize();
}

void TGDIPPicture::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (HasSVG()) {
    TAdvSVGBitmap::Draw(ACanvas, Rect);
    return;
  }
  if (!ACanvas || FIsEmpty || FDatastream.empty()) return;
  std::unique_ptr<TGPImage> image = DecodePictureBytes(FDatastream);
  if (!image || image->GetLastStatus() != Ok) return;
  if (image->GetFormat() == ifBMP && FTransparentBitmap) {
    TBitmap bitmap;
    try {
      bitmap.LoadFromBytes(FDatastream);
    } catch (const Exception&) {
      return;
    }
    bitmap.SetTransparentMode(tmAuto);
    bitmap.SetTransparent(true);
    ACanvas->StretchDraw(Rect, &bitmap);
    return;
  }
  FWidth = Integer(image->GetWidth());
  FHeight = Integer(image->GetHeight());
  TGPGraphics graphics(ACanvas->Handle());
  std::unique_ptr<TGPMatrix> matrix;
  if (FAngle != 0) {
    matrix.reset(new TGPMatrix());
    if (matrix) {
      matrix->RotateAt(Single(FAngle), GPPointF(FWidth / 2.0f + Rect.Left, FHeight / 2.0f + Rect.Top),
                       MatrixOrderPrepend);
      graphics.SetTransform(matrix.get());
    }
  }
  graphics.DrawImageRect(image.get(), Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
  if (matrix) graphics.ResetTransform();
}

void TGDIPPicture::DrawImage(TGPGraphics* Graphics, Integer X, Integer Y) {
  if (!Graphics) return;
  if (HasSVG()) {
    DrawSVG(Graphics, Single(X), Single(Y), Single(Width()), Single(Height()));
    return;
  }
  if (FIsEmpty || FDatastream.empty()) return;
  std::unique_ptr<TGPImage> image = DecodePictureBytes(FDatastream);
  if (image) Graphics->DrawImage(image.get(), X, Y);
}

void TGDIPPicture::DrawImageRect(TGPGraphics* Graphics, Integer X, Integer Y, Integer W, Integer H) {
  if (!Graphics) return;
  if (HasSVG()) {
    DrawSVG(Graphics, Single(X), Single(Y), Single(W), Single(H));
    return;
  }
  if (FIsEmpty || FDatastream.empty()) return;
  std::unique_ptr<TGPImage> image = DecodePictureBytes(FDatastream);
  if (image) Graphics->DrawImageRect(image.get(), X, Y, W, H);
}

void TGDIPPicture::DrawSVG(TGPGraphics* Graphics, Single X, Single Y, Single W, Single H) {
  DrawSVGOn(Graphics, X, Y, W, H);
}

void TGDIPPicture::LoadFromFile(const String& FileName) {
  try {
    TakeFileContent(FileName);
    FFileName = FileName;
    RaiseClear();
    GetImageSizes();
    RaiseChange();
  } catch (...) {
    // The picture is left empty, not half-loaded, and its owner repaints.
    ClearContent();
    RaiseChange();
  }
}

void TGDIPPicture::LoadFromStream(TStream* Stream) {
  if (!Stream) return;
  TakeContent(ReadWholeStream(Stream));
  GetImageSizes();
  RaiseChange();
}

void TGDIPPicture::ReadData(TStream* Stream) {
  if (!Stream) return;
  TakeFormData(Stream);
  GetImageSizes();
}

void TGDIPPicture::LoadFromURL(const String& URL) { LoadFromLocalURL(URL); }
