#include "foundation/svg/AdvSVGBitmap.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/Streams.h"

TAdvSVGBitmap::TAdvSVGBitmap() : FSVG(TAdvSVGImport::CreateDocument()) {}

TAdvSVGBitmap::~TAdvSVGBitmap() = default;

TAdvSVGImport* TAdvSVGBitmap::Document() {
  if (!FSVG) FSVG = TAdvSVGImport::CreateDocument();
  return FSVG.get();
}

void TAdvSVGBitmap::SetFileName(const String& Value) {
  if (Value == FFileName) return;
  LoadFromFile(Value);
  FFileName = Value;
}

void TAdvSVGBitmap::ClearSVG() {
  if (FSVG) FSVG->Clear();
  FStream.clear();
}

void TAdvSVGBitmap::Clear() {
  ClearSVG();
  FFileName.clear();
  Changed();
}

bool TAdvSVGBitmap::HasSVG() const { return FSVG && FSVG->HasElements(); }

bool TAdvSVGBitmap::Empty() const { return !HasSVG(); }

namespace {
// A side of the view rectangle at the screen's scale; 0 for an empty document
// (whose rectangle is the empty marker) and for anything an Integer cannot hold.
Integer SVGBitmapSide(Single AFrom, Single ATo) {
  const double v = double(TAdvUtils::GetDPIScale(nullptr, -1)) * (double(ATo) - double(AFrom));
  if (!std::isfinite(v) || !(v > 0) || v >= double(std::numeric_limits<Integer>::max())) return 0;
  return Integer(Round(v));
}
}  // namespace

Integer TAdvSVGBitmap::Width() const {
  if (!FSVG) return 0;
  return SVGBitmapSide(FSVG->ViewRect.Left, FSVG->ViewRect.Right);
}

Integer TAdvSVGBitmap::Height() const {
  if (!FSVG) return 0;
  return SVGBitmapSide(FSVG->ViewRect.Top, FSVG->ViewRect.Bottom);
}

void TAdvSVGBitmap::Draw(TCanvas* ACanvas, const TRect& r) {
  if (!FSVG || Empty()) return;
  FSVG->Draw(ACanvas, RectF(Single(r.Left), Single(r.Top), Single(r.Right), Single(r.Bottom)), true);
}

void TAdvSVGBitmap::LoadSVGBytesStrict(TBytes Data) {
  FStream = std::move(Data);
  TAdvSVGImport* doc = Document();
  if (!doc) return;
  doc->Clear();
  if (FStream.empty()) return;
  TBytesStream source(FStream);
  doc->LoadFromStream(&source);
}

void TAdvSVGBitmap::LoadSVGBytes(TBytes Data) {
  try {
    LoadSVGBytesStrict(std::move(Data));
  } catch (...) {
    // A document that does not parse leaves the picture empty; the bytes stay.
    if (FSVG) FSVG->Clear();
  }
}

void TAdvSVGBitmap::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TAdvSVGBitmap*>(Source);
  if (!src) return;
  if (src != this) LoadSVGBytes(src->FStream);
  Changed();
}

void TAdvSVGBitmap::AssignTo(TPersistent* Dest) {
  if (auto* dst = dynamic_cast<TAdvSVGBitmap*>(Dest)) dst->Assign(this);
}

void TAdvSVGBitmap::LoadFromStream(TStream* Stream) {
  if (!Stream) return;
  FFileName.clear();
  try {
    LoadSVGBytes(ReadWholeStream(Stream));
  } catch (...) {
    // Too large or unreadable: the picture keeps what it had.
  }
  Changed();
}

void TAdvSVGBitmap::SaveToStream(TStream* Stream) {
  if (Stream && !FStream.empty()) Stream->WriteBuffer(FStream.data(), Integer(FStream.size()));
}

void TAdvSVGBitmap::LoadFromFile(const String& FileName) {
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  LoadSVGBytesStrict(ReadWholeStream(&file));
  Changed();
}

void TAdvSVGBitmap::SaveToFile(const String& FileName) {
  TFileStream file(FileName, fmCreate);
  SaveToStream(&file);
}

void TAdvSVGBitmap::LoadFromBytes(const TBytes& data) {
  TBytesStream s(data);
  LoadFromStream(&s);
}

void TAdvSVGBitmap::SaveToBytes(TBytes& data) { data = FStream; }

void TAdvSVGBitmap::ReadData(TStream* Stream) {
  if (!Stream) return;
  std::int32_t length = 0;
  Stream->ReadData(length);
  FStream.clear();
  if (length <= 0) {
    if (FSVG) FSVG->Clear();
    return;
  }
  if (Int64(length) > Stream->Size() - Stream->Position() || Int64(length) > kMaxPictureData)
    throw EReadError(u"Stream read error");
  TBytes data;
  Stream->ReadBuffer(data, length);
  LoadSVGBytesStrict(std::move(data));
}

void TAdvSVGBitmap::WriteData(TStream* Stream) {
  if (!Stream) return;
  const std::int32_t length = std::int32_t(FStream.size());
  Stream->WriteData(length);
  if (length > 0) Stream->WriteBuffer(FStream.data(), length);
}

bool TAdvSVGBitmap::CanLoadFromStream(TStream* Stream) {
  return Stream && TAdvUtils::GetImageType(Stream, false).empty();
}

TBytes TAdvSVGBitmap::ReadWholeStream(TStream* Stream) {
  Stream->Seek(0, soBeginning);
  return ReadRestOfStream(Stream);
}

TBytes TAdvSVGBitmap::ReadRestOfStream(TStream* Stream) {
  const Int64 left = Stream->Size() - Stream->Position();
  if (left > kMaxPictureData) throw EInvalidGraphic(u"Picture data too large");
  TBytes data;
  if (left > 0) Stream->ReadBuffer(data, Integer(left));
  return data;
}

bool TAdvSVGBitmap::IsImageSignature(const TBytes& Data) {
  return !TAdvUtils::GetImageTypeOfBytes(Data.data(), Data.size()).empty();
}

bool TAdvSVGBitmap::LooksLikeSVG(const TBytes& Data) {
  std::size_t i = 0;
  std::size_t step = 1;  // bytes per character
  std::size_t low = 0;   // offset of the character's low byte
  if (Data.size() >= 3 && Data[0] == 0xEF && Data[1] == 0xBB && Data[2] == 0xBF) {
    i = 3;
  } else if (Data.size() >= 2 && Data[0] == 0xFF && Data[1] == 0xFE) {
    i = 2, step = 2;
  } else if (Data.size() >= 2 && Data[0] == 0xFE && Data[1] == 0xFF) {
    i = 2, step = 2, low = 1;
  }
  for (; i + step <= Data.size(); i += step) {
    if (step == 2 && Data[i + 1 - low] != 0) return false;
    const Byte c = Data[i + low];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    return c == '<';
  }
  return false;
}

bool TAdvSVGBitmap::IsRasterContent(const TBytes& Data) { return IsImageSignature(Data) || !LooksLikeSVG(Data); }

namespace {
std::int32_t StoredLength(const TBytes& Data) {
  std::int32_t length = 0;
  std::memcpy(&length, Data.data(), sizeof length);
  return length;
}
}  // namespace

bool TAdvSVGBitmap::IsStoredSVGBlock(const TBytes& Data) {
  if (Data.size() < 4) return false;
  const std::int32_t length = StoredLength(Data);
  if (length < 0 || std::size_t(length) + 4 != Data.size()) return false;
  return length == 0 || LooksLikeSVG(TBytes(Data.begin() + 4, Data.end()));
}

bool TAdvSVGBitmap::IsRawFormData(const TBytes& Data) {
  if (IsStoredSVGBlock(Data)) return false;
  if (IsImageSignature(Data)) return true;
  // A block whose length matches keeps being read as SVG; anything else is
  // picture data no signature names, kept raw rather than lost.
  return !(Data.size() >= 4 && StoredLength(Data) >= 0 && std::size_t(StoredLength(Data)) + 4 == Data.size());
}

void InitializeAdvTypesUnit() {
  TPicture::RegisterFileFormat<TAdvSVGBitmap>(u"svg", u"Scalable Vector Graphics (VCL)", [](const TBytes& data) {
    return !TAdvSVGBitmap::IsImageSignature(data);
  });
}

void FinalizeAdvTypesUnit() { TPicture::UnregisterGraphicClass(ClassNameOf(typeid(TAdvSVGBitmap))); }
