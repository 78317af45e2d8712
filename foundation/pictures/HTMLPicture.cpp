#include "foundation/pictures/HTMLPicture.h"

#include <cstring>

#include "foundation/gdiplus/GPGraphics.h"
#include "foundation/gdiplus/PictureDecode.h"
#include "foundation/pictures/HTMLPictureCache.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/Bitmap.h"

using namespace gdiplus;

// The download's way back to its picture. Only the user-interface thread
// reads or clears Picture, so a picture destroyed during a download is
// simply forgotten.
struct THTMLPicture::TDownloadLink {
  THTMLPicture* Picture = nullptr;
};

namespace {

Word LittleEndian16(const TBytes& d, Int64 p) { return Word(d[std::size_t(p)] | (d[std::size_t(p) + 1] << 8)); }

// A graphic control extension followed at once by an image descriptor.
bool IsFrameStart(const TBytes& d, std::size_t p) {
  return p + 9 < d.size() && d[p] == 0x21 && d[p + 1] == 0xF9 && d[p + 2] == 0x04 && d[p + 8] == 0x2C;
}

}  // namespace

THTMLPicture::THTMLPicture() : TEncodedPicture(true), FLink(std::make_shared<TDownloadLink>()) {
  FLink->Picture = this;
  SetTransparent(true);
}

THTMLPicture::~THTMLPicture() { FLink->Picture = nullptr; }

bool THTMLPicture::IsGIF() const { return FDatastream.size() >= 5 && std::memcmp(FDatastream.data(), "GIF8", 4) == 0; }

Int64 THTMLPicture::FrameStart(Integer n) const {
  if (n < 1) return -1;
  Integer seen = 0;
  for (std::size_t p = 0; p + 9 < FDatastream.size(); ++p)
    if (IsFrameStart(FDatastream, p) && ++seen == n) return Int64(p);
  return -1;
}

Integer THTMLPicture::FrameCount() {
  if (FFrameCount != -1) return FFrameCount;
  if (!IsGIF()) return -1;
  Integer count = 0;
  for (std::size_t p = 0; p + 9 < FDatastream.size(); ++p)
    if (IsFrameStart(FDatastream, p)) ++count;
  FFrameCount = count;
  return count;
}

Integer THTMLPicture::GetFrameTime(Integer i) const {
  if (!IsGIF()) return -1;
  const Int64 p = FrameStart(i);
  return p < 0 ? -1 : LittleEndian16(FDatastream, p + 4);
}

void THTMLPicture::UpdateImageInfo() {
  if (HasSVG() || FDatastream.empty()) return;
  FWidth = FHeight = 0;
  FFrameXPos = FFrameYPos = 0;
  if (IsGIF() && FrameCount() > 0) {
    const Int64 p = FrameStart(FFrame);
    // The descriptor's left and top follow its separator; a cut-off descriptor has none.
    if (p >= 0 && std::size_t(p) + 12 < FDatastream.size()) {
      FFrameXPos = LittleEndian16(FDatastream, p + 9);
      FFrameYPos = LittleEndian16(FDatastream, p + 11);
    }
  }
  DecodeRawSize();
}

void THTMLPicture::SetFrame(Integer Value) {
  FFrame = Value;
  if (FDatastream.empty()) return;
  UpdateImageInfo();
  if (OnFrameChange) OnFrameChange(this);
}

void THTMLPicture::FrameNext() {
  if (FFrame < FrameCount()) ++FFrame;
  else FFrame = 1;
}

void THTMLPicture::FramePrev() {
  if (FFrame < 2) FFrame = FrameCount();
  else --FFrame;
}

bool THTMLPicture::Step() {
  if (FFrameCount < 2 || FIsEmpty) return false;
  if (FNextCount == -1) FNextCount = GetFrameTime(FFrame);
  if (FTimerCount * 10 < FNextCount) {
    ++FTimerCount;
    return false;
  }
  FrameNext();
  UpdateImageInfo();
  FNextCount += GetFrameTime(FFrame);
  ++FTimerCount;
  return true;
}

void THTMLPicture::Assign(TPersistent* Source) {
  auto* html = dynamic_cast<THTMLPicture*>(Source);
  auto* picture = dynamic_cast<TPicture*>(Source);
  auto* graphic = dynamic_cast<TGraphic*>(Source);
  if (Source && !html && !picture && !graphic) return;
  FIsEmpty = true;
  FFrameCount = FNextCount = FTimerCount = -1;
  SetFrame(1);
  if (!Source) {
    // Emptied completely: SVG content would otherwise still show.
    ClearSVG();
    FDatastream.clear();
    FWidth = FHeight = 0;
    RaiseChange();
    return;
  }
  if (html) {
    FStretched = html->FStretched;
    FFrame = html->FFrame;
    SetID(html->FID);
    if (html->HasSVGData()) {
      FDatastream.clear();
      TAdvSVGBitmap::Assign(html);
    } else {
      ClearSVG();
      FDatastream = html->FDatastream;
    }
    FIsEmpty = FDatastream.empty() && !HasSVGData();
    UpdateImageInfo();
    RaiseChange();
    return;
  }
  TBytes data;
  if (picture) {
    if (picture->Graphic()) picture->Graphic()->SaveToBytes(data);
  } else {
    graphic->SaveToBytes(data);
  }
  LoadFromBytes(data);
}

void THTMLPicture::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (HasSVG()) {
    TAdvSVGBitmap::Draw(ACanvas, Rect);
    return;
  }
  if (!ACanvas || FIsEmpty || FDatastream.empty()) return;
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
    bitmap.SetTransparent(Transparent());
    ACanvas->StretchDraw(Rect, &bitmap);
    return;
  }
  TGPGraphics graphics(ACanvas->Handle());
  graphics.DrawImageRect(image.get(), Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
}

void THTMLPicture::DrawSVG(TCanvas* ACanvas, Single X, Single Y, Single W, Single H) {
  if (!ACanvas || !HasSVG()) return;
  SVG()->Draw(ACanvas, RectF(X, Y, X + W, Y + H), true);
}

void THTMLPicture::LoadFromFile(const String& FileName) {
  try {
    TakeFileContent(FileName);
    UpdateImageInfo();
  } catch (...) {
    // A missing or unreadable file leaves the picture empty, not half-loaded.
    ClearContent();
  }
  RaiseChange();
}

void THTMLPicture::LoadFromStream(TStream* Stream) {
  if (!Stream) return;
  TakeContent(ReadWholeStream(Stream));
  if (FIsEmpty) FWidth = FHeight = 0;
  UpdateImageInfo();
  RaiseChange();
}

void THTMLPicture::ReadData(TStream* Stream) {
  if (!Stream) return;
  TakeFormData(Stream);
  UpdateImageInfo();
}

void THTMLPicture::LoadFromURL(const String& url) {
  if (IsLocalURL(url)) {
    SetID(url);
    LoadFromLocalURL(url);
  } else if (!FAsynch) {
    FURL = url;
    SetID(url);
  } else if (!FThreadBusy) {
    FURL = url;
    FThreadBusy = true;
    new TDownLoadThread(this);  // frees itself when done
  }
}

void THTMLPicture::DownloadDone(TBytes Data, const String& Error) {
  FThreadBusy = false;
  if (Error.empty() && Data.empty()) {
    if (OnDownLoadError) OnDownLoadError(this, u"No picture at " + FURL);
    return;
  }
  if (!Error.empty()) {
    if (OnDownLoadError) OnDownLoadError(this, Error);
    return;
  }
  LoadFromBytes(Data);
  if (OnDownLoadComplete) OnDownLoadComplete(this);
}

TDownLoadThread::TDownLoadThread(THTMLPicture* aHTMLPicture)
    : TThread(true), FLink(aHTMLPicture->FLink), FURL(aHTMLPicture->FURL) {
  SetFreeOnTerminate(true);
  Start();
}

TDownLoadThread::~TDownLoadThread() = default;

void TDownLoadThread::Execute() {
  TBytes data;
  String error;
  try {
    std::unique_ptr<TMemoryStream> stream = TAdvUtils::DownloadImage(FURL);
    if (stream && stream->Size() > 0)
      data.assign(stream->Memory(), stream->Memory() + std::size_t(stream->Size()));
  } catch (const Exception& e) {
    error = e.Message();
  } catch (const std::exception& e) {
    error = Utf8ToString(e.what());
  }
  Synchronize([&] {
    if (FLink->Picture) FLink->Picture->DownloadDone(std::move(data), error);
  });
}

void THTMLPicture::SetID(const String& Value) {
  if (FID == Value) return;
  const String old = std::move(FID);
  FID = Value;
  if (FCache) FCache->IDChanged(this, old);
}

void DeclareHTMLPictureClass() {
  TClassInfo::Of<THTMLPicture, TGraphic>(u"THTMLPicture")
      .Property(u"Stretch", &THTMLPicture::Stretch, &THTMLPicture::SetStretch)
      .Default(0)
      .Property(u"ID", &THTMLPicture::ID, &THTMLPicture::SetID);
}
