#include "platform/vcl/Icon.h"

#include <cstdlib>

#include "platform/gdi/GdiInternal.h"
#include "platform/vcl/Canvas.h"
#include "platform/vcl/ImageCodec.h"

TIcon::TIcon() = default;

TIcon::~TIcon() {
  if (FHandle) DestroyIcon(FHandle);
}

void TIcon::Assign(TPersistent* Source) {
  if (!Source) {
    SetHandle(nullptr);
    FData.clear();
    return;
  }
  if (auto* i = dynamic_cast<TIcon*>(Source)) {
    if (i == this) return;
    FData = i->FData;
    FRequestedWidth = i->FRequestedWidth;
    FRequestedHeight = i->FRequestedHeight;
    SetHandle(i->FHandle ? CopyIcon(i->FHandle) : nullptr);
    return;
  }
  TGraphic::Assign(Source);
}

void TIcon::SetHandle(HICON value) {
  if (FHandle && FHandle != value) DestroyIcon(FHandle);
  FHandle = value;
  const QImage* img = value ? gdi_internal::IconImage(value) : nullptr;
  FWidth = img ? img->width() : 0;
  FHeight = img ? img->height() : 0;
  Changed();
}

HICON TIcon::ReleaseHandle() {
  HICON h = FHandle;
  FHandle = nullptr;
  FWidth = FHeight = 0;
  return h;
}

void TIcon::SetSize(Integer w, Integer h) {
  FRequestedWidth = std::max(1, w);
  FRequestedHeight = std::max(1, h);
  if (!FData.empty()) Pick();
}

void TIcon::Draw(TCanvas* canvas, const TRect& r) {
  if (!canvas || !FHandle) return;
  DrawIconEx(canvas->Handle(), r.Left, r.Top, FHandle, r.Width(), r.Height(), 0, nullptr, DI_NORMAL);
}

namespace {

uint32_t Get32(const TBytes& b, size_t at) {
  return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) | (uint32_t(b[at + 3]) << 24);
}

// A one-picture ICO of entry i, for the decoder; empty when the entry
// points outside the file.
TBytes SingleEntry(const TBytes& data, size_t i) {
  size_t e = 6 + 16 * i;
  uint32_t size = Get32(data, e + 8), offset = Get32(data, e + 12);
  if (size == 0 || offset > data.size() || size > data.size() - offset) return {};
  TBytes out(6 + 16);
  out[2] = 1;
  out[4] = 1;
  std::copy(data.begin() + std::ptrdiff_t(e), data.begin() + std::ptrdiff_t(e + 12), out.begin() + 6);
  out[18] = 22;  // the picture follows the one entry
  out.insert(out.end(), data.begin() + std::ptrdiff_t(offset), data.begin() + std::ptrdiff_t(offset + size));
  return out;
}

}  // namespace

void TIcon::Pick() {
  const TBytes& d = FData;
  size_t count = size_t(d[4] | (d[5] << 8));
  size_t best = count;
  long bestScore = 0;
  for (size_t i = 0; i < count; ++i) {
    size_t e = 6 + 16 * i;
    int w = d[e] ? d[e] : 256, h = d[e + 1] ? d[e + 1] : 256;
    int bits = d[e + 6] | (d[e + 7] << 8);
    long score = -(std::labs(long(w) - FRequestedWidth) + std::labs(long(h) - FRequestedHeight)) * 100 + bits;
    if (best == count || score > bestScore) {
      best = i;
      bestScore = score;
    }
  }
  QImage img;
  if (best < count) img = image_codec::Decode(SingleEntry(d, best), "ico");
  if (img.isNull()) throw EInvalidGraphic(u"Icon image is not valid");
  if (FHandle) DestroyIcon(FHandle);
  FHandle = gdi_internal::NewIcon(img);
  FWidth = img.width();
  FHeight = img.height();
  Changed();
}

void TIcon::LoadFromBytes(const TBytes& data) {
  if (FHandle) DestroyIcon(FHandle);
  FHandle = nullptr;
  FWidth = FHeight = 0;
  FData.clear();
  size_t count = data.size() >= 6 ? size_t(data[4] | (data[5] << 8)) : 0;
  bool header = data.size() >= 6 && data[0] == 0 && data[1] == 0 && data[2] == 1 && data[3] == 0;
  if (!header || count == 0 || data.size() < 6 + 16 * count) {
    Changed();
    throw EInvalidGraphic(u"Icon image is not valid");
  }
  FData = data;
  try {
    Pick();
  } catch (...) {
    FData.clear();
    Changed();
    throw;
  }
}

void TIcon::SaveToBytes(TBytes& data) {
  if (!FData.empty()) {
    data = FData;
    return;
  }
  const QImage* img = FHandle ? gdi_internal::IconImage(FHandle) : nullptr;
  if (!img || !image_codec::Encode(img->convertToFormat(QImage::Format_ARGB32), "ico", data))
    throw EInvalidGraphicOperation(u"Cannot save the icon");
}
