#include "foundation/pictures/ZovIVIDPicture.h"

#include "foundation/gdiplus/ImageSizeReaders.h"
#include "foundation/gdiplus/LookFlags.h"
#include "foundation/gdiplus/PictureDecode.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Canvas.h"

namespace gdiplus {

// SVG read from a stream leaves the raw bytes behind.
TZovIVIDPicture::TZovIVIDPicture() : TEncodedPicture(false) { FTransparent = false; }

TZovIVIDPicture::~TZovIVIDPicture() = default;

void TZovIVIDPicture::Assign(TPersistent* Source) {
  FIsEmpty = true;
  if (!Source) {
    // Emptied completely: SVG content would otherwise still show.
    ClearSVG();
    FDatastream.clear();
    RaiseChange();
    RaiseClear();
    return;
  }
  if (auto* src = dynamic_cast<TZovIVIDPicture*>(Source)) {
    if (src->HasSVGData()) {
      TAdvSVGBitmap::Assign(src);
    } else {
      ClearSVG();
      FDatastream = src->FDatastream;
      FIsEmpty = FDatastream.empty();
      RaiseChange();
    }
  } else if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    // The saved file by its content: another picture's SVG stays SVG.
    TBytes data;
    graphic->SaveToBytes(data);
    FDatastream.clear();
    TakeContent(std::move(data));
    RaiseChange();
  } else if (auto* picture = dynamic_cast<TPicture*>(Source)) {
    TBytes data;
    if (picture->Graphic()) picture->Graphic()->SaveToBytes(data);
    FDatastream.clear();
    TakeContent(std::move(data));
    RaiseChange();
  } else {
    return;
  }
  GetImageSizes();
}

void TZovIVIDPicture::Draw(TCanvas* ACanvas, const TRect& r) {
  if (HasSVG()) {
    TAdvSVGBitmap::Draw(ACanvas, r);
    return;
  }
  if (!ACanvas || Empty() || FDatastream.empty()) return;
  std::unique_ptr<TGPImage> image = DecodePictureBytes(FDatastream);
  if (!image || image->GetLastStatus() != Ok) return;
  if (image->GetFormat() == ifBMP) {
    TBitmap bitmap;
    try {
      bitmap.LoadFromBytes(FDatastream);
    } catch (const Exception&) {
      return;
    }
    bitmap.SetTransparentMode(tmAuto);
    bitmap.SetTransparent(true);
    ACanvas->Draw(r.Left, r.Top, &bitmap);
    return;
  }
  FWidth = Integer(image->GetWidth());
  FHeight = Integer(image->GetHeight());
  TGPGraphics graphics(ACanvas->Handle());
  graphics.DrawImageRect(image.get(), r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

bool TZovIVIDPicture::DrawRaw(TGPGraphics* Graphics, const TGPRectF& Rect, bool Float) {
  if (Empty() || FDatastream.empty()) return false;
  std::unique_ptr<TGPImage> image = DecodePictureBytes(FDatastream);
  if (!image || image->GetLastStatus() != Ok) return false;
  const auto format = image->GetPixelFormat();
  FPixelFormat = Integer(format);
  FPixelDepth = Integer(image->GetPixelDepth());
  FHasAlpha = image->HasAlphaChannel();
  FHasPalette = image->HasPalette();
  FWidth = Integer(image->GetWidth());
  FHeight = Integer(image->GetHeight());
  if (image->GetFormat() == ifBMP && Transparent()) {
    ARGB key = ColorToAlphaARGB(255, FBitmapTransparentColor);
    if (FBitmapTransparentMode == tmAuto) {
      std::unique_ptr<TGPBitmap> bitmap = DecodePictureBitmap(FDatastream);
      if (bitmap) bitmap->GetPixel(0, FHeight - 1, key);
    }
    TGPImageAttributes attributes;
    attributes.SetColorKey(key, key, ColorAdjustTypeDefault);
    Graphics->DrawImage(image.get(), Rect, 0, 0, Single(FWidth), Single(FHeight), UnitPixel, &attributes);
    return true;
  }
  if (Float) Graphics->DrawImageRect(image.get(), Rect);
  else
    Graphics->DrawImageRect(image.get(), Integer(Rect.X), Integer(Rect.Y), Integer(Rect.Width),
                            Integer(Rect.Height));
  return true;
}

void TZovIVIDPicture::GDIPDraw(TGPGraphics* Graphics, const TRect& Rect) {
  if (!Graphics) return;
  if (HasSVG()) {
    DrawSVG(Graphics, Single(Rect.Left), Single(Rect.Top), Single(Rect.Right - Rect.Left),
            Single(Rect.Bottom - Rect.Top));
    return;
  }
  DrawRaw(Graphics,
          GPRectF(Single(Rect.Left), Single(Rect.Top), Single(Rect.Right - Rect.Left), Single(Rect.Bottom - Rect.Top)),
          false);
}

void TZovIVIDPicture::GDIPDraw(TGPGraphics* Graphics, const TGPRectF& Rect) {
  if (!Graphics) return;
  if (HasSVG()) {
    DrawSVG(Graphics, Rect.X, Rect.Y, Rect.Width, Rect.Height);
    return;
  }
  if (FDrawing) return;
  FDrawing = true;
  struct TReset {
    bool& Flag;
    ~TReset() { Flag = false; }
  } reset{FDrawing};
  DrawRaw(Graphics, Rect, true);
}

void TZovIVIDPicture::DrawSVG(TGPGraphics* Graphics, Single X, Single Y, Single W, Single H) {
  DrawSVGOn(Graphics, X, Y, W, H);
}

void TZovIVIDPicture::FillTexture(TGPGraphics* graphics, const TGPRectF* R, TGPGraphicsPath* Path) {
  if (!graphics || Empty() || FDatastream.empty()) return;
  std::unique_ptr<TGPImage> image = DecodePictureBytes(FDatastream);
  if (!image || image->GetLastStatus() != Ok) return;
  TGPTextureBrush brush(image.get(), WrapModeTile);
  if (R) graphics->FillRectangle(&brush, *R);
  else if (Path) graphics->FillPath(&brush, Path);
}

void TZovIVIDPicture::FillRect(TGPGraphics* graphics, const TGPRectF& R) { FillTexture(graphics, &R, nullptr); }

void TZovIVIDPicture::FillPath(TGPGraphics* graphics, TGPGraphicsPath* Path) {
  FillTexture(graphics, nullptr, Path);
}

bool TZovIVIDPicture::GetImageSizes() {
  if (HasSVG()) return true;
  return !Empty() && DecodeRawSize();
}

bool TZovIVIDPicture::GetImageSizesFromFileName(const String& FileName) {
  if (HasSVG()) return true;
  if (Empty()) return false;
  const String ext = UpperCase(ExtractFileExt(FileName));
  Word w = 0, h = 0;
  if (ext == u".JPG" || ext == u".JPEG") GetJPEGSize(FileName, w, h);
  else if (ext == u".PNG") GetPNGSize(FileName, w, h);
  else if (ext == u".BMP") GetBMPSize(FileName, w, h);
  else if (ext == u".TIFF" || ext == u".TIF") GetTIFFSize(FileName, w, h);
  else if (ext == u".GIF") GetGIFSize(FileName, w, h);
  FWidth = w;
  FHeight = h;
  return false;
}

void TZovIVIDPicture::LoadFromFile(const String& FileName) {
  try {
    TakeFileContent(FileName);
    RaiseClear();
    GetImageSizesFromFileName(FileName);
    RaiseChange();
  } catch (...) {
    // The picture is left empty, not half-loaded, and its owner repaints.
    ClearContent();
    RaiseChange();
  }
}

void TZovIVIDPicture::LoadFromStream(TStream* Stream) {
  if (!Stream || Stream->Size() == 0) return;
  TakeContent(ReadWholeStream(Stream));
  GetImageSizes();
  RaiseChange();
}

void TZovIVIDPicture::ReadData(TStream* Stream) {
  if (!Stream || Stream->Position() >= Stream->Size()) return;
  TakeFormData(Stream);
  GetImageSizes();
}

void TZovIVIDPicture::LoadFromURL(const String& url) { LoadFromLocalURL(url); }

}  // namespace gdiplus
