// TAdvUtils on pictures, apart from the text utilities so that those need no drawing layer.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Graphic.h"
#include "platform/vcl/JpegImage.h"

namespace {

enum class TPictureKind { None, Tiff, Bmp, Jpeg, Png, Metafile, Gif, Icon };

std::uint32_t LittleEndianAt(const std::uint8_t* d, std::size_t at, std::size_t bytes) {
  std::uint32_t v = 0;
  for (std::size_t i = bytes; i-- > 0;) v = (v << 8) | d[at + i];
  return v;
}

bool HasPrefix(const std::uint8_t* d, std::size_t size, std::initializer_list<std::uint8_t> sig) {
  return size >= sig.size() && std::equal(sig.begin(), sig.end(), d);
}

// The format named by the first bytes; every test looks only at bytes that are there.
TPictureKind DetectPicture(const std::uint8_t* d, std::size_t size) {
  if (d == nullptr || size == 0) return TPictureKind::None;
  if (HasPrefix(d, size, {'I', 'I', 42, 0})) return TPictureKind::Tiff;
  if (HasPrefix(d, size, {'B', 'M'})) return TPictureKind::Bmp;
  if (HasPrefix(d, size, {'M', 'M', 0, 42})) return TPictureKind::Tiff;
  if (HasPrefix(d, size, {0xFF, 0xD8})) return TPictureKind::Jpeg;
  if (HasPrefix(d, size, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return TPictureKind::Png;
  if (size >= 4 && LittleEndianAt(d, 0, 4) == 0x9AC6CDD7u) return TPictureKind::Metafile;
  if (size >= 44 && LittleEndianAt(d, 0, 4) == 1 && std::memcmp(d + 40, " EMF", 4) == 0) return TPictureKind::Metafile;
  if (HasPrefix(d, size, {'G', 'I', 'F'})) return TPictureKind::Gif;
  if (size >= 4 && LittleEndianAt(d, 2, 2) == 1) return TPictureKind::Icon;
  return TPictureKind::None;
}

// The picture class registered for the format (the first of its usual extensions).
const TGraphicClass* RegisteredClass(TPictureKind kind) {
  struct TKindExtensions {
    TPictureKind Kind;
    const char16_t* Extensions[2];
  };
  static constexpr TKindExtensions kExtensions[] = {
      {TPictureKind::Tiff, {u"tif", u"tiff"}}, {TPictureKind::Bmp, {u"bmp", nullptr}},
      {TPictureKind::Jpeg, {u"jpg", u"jpeg"}}, {TPictureKind::Png, {u"png", nullptr}},
      {TPictureKind::Metafile, {u"emf", u"wmf"}}, {TPictureKind::Gif, {u"gif", nullptr}},
      {TPictureKind::Icon, {u"ico", nullptr}},
  };
  for (const auto& entry : kExtensions) {
    if (entry.Kind != kind) continue;
    for (const char16_t* ext : entry.Extensions)
      if (ext != nullptr)
        if (const TGraphicClass* c = TPicture::FindExtension(ext)) return c;
  }
  return nullptr;
}

// The saved form of the picture's graphic; empty for no graphic or an empty one.
TBytes SavedPicture(TPicture* APicture) {
  TBytes data;
  TGraphic* graphic = APicture ? APicture->Graphic() : nullptr;
  if (graphic != nullptr && !graphic->Empty()) graphic->SaveToBytes(data);
  return data;
}

TBytes HexDigitsToBytes(StringView AHexStr) {
  return TAdvUtils::HexStrToBytes(AHexStr.substr(0, AHexStr.size() - AHexStr.size() % 2));
}

}  // namespace

String TAdvUtils::GetImageType(TPicture* ABitmap, bool /*AResetPosition*/) {
  const TBytes data = SavedPicture(ABitmap);
  return GetImageTypeOfBytes(data.data(), data.size());
}

bool TAdvUtils::FindGraphicClass(const void* Buffer, Int64 BufferSize, const TGraphicClass*& GraphicClass) {
  GraphicClass = nullptr;
  if (Buffer == nullptr || BufferSize <= 0) return false;
  GraphicClass = RegisteredClass(DetectPicture(static_cast<const std::uint8_t*>(Buffer), static_cast<std::size_t>(BufferSize)));
  return GraphicClass != nullptr;
}

String TAdvUtils::SaveBitmapToBase64(TPicture* ABitmap, bool AURL) {
  const TBytes data = SavedPicture(ABitmap);
  return EncodeBytesToBase64(data.data(), data.size(), AURL);
}

String TAdvUtils::SaveBitmapToHexStr(TPicture* ABitmap) {
  const TBytes data = SavedPicture(ABitmap);
  return BytesToHexStr(data.data(), data.size());
}

void TAdvUtils::LoadBitmapFromBase64(StringView ABase64, TPicture* ABitmap, bool AURL) {
  if (ABitmap == nullptr) return;
  static constexpr StringView kDataUri = u";base64,";
  if (const auto at = ABase64.find(kDataUri); at != StringView::npos) ABase64.remove_prefix(at + kDataUri.size());
  const TBytes data = Decode64ToBytes(ABase64, AURL);
  // Empty text is what an empty picture saves to: nothing to load.
  if (data.empty()) return;
  ABitmap->LoadFromBytes(data);
}

void TAdvUtils::LoadBitmapFromHexStr(StringView AHexStr, TPicture* ABitmap) {
  if (ABitmap == nullptr) return;
  const TBytes data = HexDigitsToBytes(AHexStr);
  static constexpr std::string_view kDataUri = ";base64,";
  if (std::search(data.begin(), data.end(), kDataUri.begin(), kDataUri.end()) != data.end()) return;
  const TGraphicClass* cls = nullptr;
  if (!FindGraphicClass(data.data(), static_cast<Int64>(data.size()), cls)) return;
  auto graphic = cls->Create();
  graphic->LoadFromBytes(data);
  ABitmap->SetGraphic(graphic.get());
}

std::unique_ptr<TPicture> TAdvUtils::CreateBitmapFromHexStr(StringView AHexStr) {
  auto picture = std::make_unique<TPicture>();
  LoadBitmapFromHexStr(AHexStr, picture.get());
  return picture;
}

std::unique_ptr<TPicture> TAdvUtils::CreateBitmapFromBase64(StringView ABase64, bool AURL) {
  auto picture = std::make_unique<TPicture>();
  LoadBitmapFromBase64(ABase64, picture.get(), AURL);
  return picture;
}

std::unique_ptr<TMemoryStream> TAdvUtils::ConvertBitmapToJPEGStream(TPicture* ABitmap, Single AQuality,
                                                                    TColor ABackgroundColor) {
  const TBytes data = SavedPicture(ABitmap);
  const TPictureKind kind = DetectPicture(data.data(), data.size());
  if (kind == TPictureKind::Jpeg) {
    auto copy = std::make_unique<TMemoryStream>();
    copy->WriteBuffer(data);
    copy->SetPosition(0);
    return copy;
  }
  const TGraphicClass* cls = RegisteredClass(kind);
  if (cls == nullptr) return nullptr;

  const Int64 quality = Round(static_cast<double>(AQuality) * 100);
  if (quality < 1 || quality > 100) throw ERangeError(u"Range check error");

  auto graphic = cls->Create();
  graphic->LoadFromBytes(data);
  TBitmap canvas;
  canvas.SetPixelFormat(pf24bit);
  canvas.SetSize(graphic->Width(), graphic->Height());
  canvas.Canvas()->Brush()->SetColor(ABackgroundColor == clNone || ABackgroundColor == -1 ? clWhite : ABackgroundColor);
  canvas.Canvas()->FillRect(TRect{0, 0, canvas.Width(), canvas.Height()});
  canvas.Canvas()->Draw(0, 0, graphic.get());

  TJPEGImage jpeg;
  jpeg.SetCompressionQuality(static_cast<TJPEGQualityRange>(quality));
  jpeg.Assign(&canvas);
  TBytes compressed;
  jpeg.SaveToBytes(compressed);
  auto result = std::make_unique<TMemoryStream>();
  result->WriteBuffer(compressed);
  result->SetPosition(0);
  return result;
}
