#include "foundation/pictures/EncodedPicture.h"

#include "foundation/gdiplus/GPGraphics.h"
#include "foundation/gdiplus/PictureDecode.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Canvas.h"

using namespace gdiplus;

namespace {
constexpr std::u16string_view kResourcePrefix = u"RES://";
constexpr std::u16string_view kFilePrefix = u"FILE://";
}  // namespace

TEncodedPicture::TEncodedPicture(bool SVGDropsRaw) : FSVGDropsRaw(SVGDropsRaw) {}
TEncodedPicture::~TEncodedPicture() = default;

bool TEncodedPicture::Empty() const { return HasSVG() ? TAdvSVGBitmap::Empty() : FIsEmpty; }
Integer TEncodedPicture::Width() const { return HasSVG() ? TAdvSVGBitmap::Width() : FWidth; }
Integer TEncodedPicture::Height() const { return HasSVG() ? TAdvSVGBitmap::Height() : FHeight; }

void TEncodedPicture::SaveToStream(TStream* Stream) {
  if (!Stream) return;
  if (HasSVGData()) TAdvSVGBitmap::SaveToStream(Stream);
  else if (!FDatastream.empty()) Stream->WriteBuffer(FDatastream.data(), Integer(FDatastream.size()));
}

void TEncodedPicture::SaveToBytes(TBytes& data) {
  TBytesStream s;
  SaveToStream(&s);
  data = s.Bytes();
}

void TEncodedPicture::WriteData(TStream* Stream) {
  if (!Stream) return;
  if (HasSVGData()) TAdvSVGBitmap::WriteData(Stream);
  else if (!FDatastream.empty()) Stream->WriteBuffer(FDatastream.data(), Integer(FDatastream.size()));
}

void TEncodedPicture::LoadFromResourceName(HINSTANCE Instance, const String& ResName) {
  std::unique_ptr<TStream> stream = TAdvUtils::GetResourceStream(ResName, Instance);
  if (stream) LoadFromStream(stream.get());
}

void TEncodedPicture::LoadFromResourceID(HINSTANCE Instance, Integer ResID) {
  std::unique_ptr<TStream> stream = TAdvUtils::GetResourceStream(u"#" + IntToStr(ResID), Instance);
  if (!stream) throw EResNotFound(u"Resource " + IntToStr(ResID) + u" not found");
  LoadFromStream(stream.get());
}

bool TEncodedPicture::IsLocalURL(const String& URL) {
  const String upper = UpperCase(URL);
  return upper.starts_with(kResourcePrefix) || upper.starts_with(kFilePrefix);
}

void TEncodedPicture::LoadFromLocalURL(const String& URL) {
  const String upper = UpperCase(URL);
  if (upper.starts_with(kResourcePrefix)) {
    if (URL.size() > kResourcePrefix.size()) LoadFromResourceName(HInstance(), URL.substr(kResourcePrefix.size()));
  } else if (upper.starts_with(kFilePrefix)) {
    if (URL.size() > kFilePrefix.size()) LoadFromFile(URL.substr(kFilePrefix.size()));
  }
}

void TEncodedPicture::TakeContent(TBytes Data) {
  if (IsRasterContent(Data)) {
    ClearSVG();
    FDatastream = std::move(Data);
  } else {
    if (FSVGDropsRaw) FDatastream.clear();
    LoadSVGBytes(std::move(Data));
  }
  MarkEmpty();
}

void TEncodedPicture::TakeFileContent(const String& FileName) {
  TBytes data;
  {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    data = ReadWholeStream(&file);
  }
  if (IsRasterContent(data)) {
    ClearSVG();
    FDatastream = std::move(data);
  } else {
    FDatastream.clear();
    LoadSVGBytesStrict(std::move(data));
  }
  MarkEmpty();
}

void TEncodedPicture::TakeFormData(TStream* Stream) {
  TBytes data = ReadRestOfStream(Stream);
  if (IsRawFormData(data)) {
    ClearSVG();
    FDatastream = std::move(data);
  } else {
    if (FSVGDropsRaw) FDatastream.clear();
    TBytesStream block(std::move(data));
    TAdvSVGBitmap::ReadData(&block);
  }
  MarkEmpty();
}

void TEncodedPicture::ClearContent() {
  ClearSVG();
  FDatastream.clear();
  FIsEmpty = true;
  FWidth = FHeight = 0;
}

bool TEncodedPicture::DecodeRawSize() {
  if (FDatastream.empty()) return false;
  std::unique_ptr<TGPImage> image = DecodePictureBytes(FDatastream);
  if (!image || image->GetLastStatus() != Ok) return false;
  FWidth = Integer(image->GetWidth());
  FHeight = Integer(image->GetHeight());
  return true;
}

void TEncodedPicture::DrawSVGOn(TGPGraphics* Graphics, Single X, Single Y, Single W, Single H) {
  if (!Graphics || !HasSVG()) return;
  HDC dc = Graphics->GetHDC();
  if (!dc) return;
  // The context goes back to the surface however the drawing ends.
  struct TRelease {
    TGPGraphics* Graphics;
    HDC DC;
    TCanvas Canvas;
    ~TRelease() {
      Canvas.SetHandle(nullptr);
      Graphics->ReleaseHDC(DC);
    }
  } release{Graphics, dc, {}};
  release.Canvas.SetHandle(dc);
  SVG()->Draw(&release.Canvas, RectF(X, Y, X + W, Y + H), true);
}
