#include "platform/vcl/ImgList.h"

#include <algorithm>
#include <mutex>
#include <unordered_set>

#include "platform/gdi/GdiInternal.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Icon.h"
#include "platform/vcl/ImageCodec.h"

struct HIMAGELIST__ {
  int Width = 16, Height = 16;
  std::vector<QImage> Images;  // ARGB32_Premultiplied, Width x Height
};

namespace {

std::mutex& ListLock() {
  static std::mutex m;
  return m;
}
std::unordered_set<HIMAGELIST>& Lists() {
  static auto* s = new std::unordered_set<HIMAGELIST>();
  return *s;
}
bool Alive(HIMAGELIST h) {
  std::lock_guard lock(ListLock());
  return h && Lists().count(h);
}

QImage Greyed(const QImage& src) {
  QImage out = src.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      int g = qGray(row[x]);
      row[x] = qRgba(g, g, g, qAlpha(row[x]));
    }
  }
  return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The shape of an image in one colour (the embossed look of disabled images).
QImage Shape(const QImage& src, QColor c) {
  QImage out(src.size(), QImage::Format_ARGB32_Premultiplied);
  out.fill(0);
  for (int y = 0; y < src.height(); ++y) {
    auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    // Dark pixels of the picture form the shape, as the class library's
    // monochrome conversion takes them.
    for (int x = 0; x < src.width(); ++x)
      if (qAlpha(in[x]) > 127 && qGray(qUnpremultiply(in[x])) < 192) row[x] = c.rgba();
  }
  return out;
}

BOOL DrawImage(HIMAGELIST himl, int i, HDC dc, int x, int y, UINT style, DWORD state, COLORREF bk) {
  if (!Alive(himl) || i < 0 || i >= int(himl->Images.size())) return FALSE;
  QPainter* p = gdi_internal::DCPainter(dc);
  HDC__* d = gdi_internal::LookupDC(dc);
  if (!p || !d) return FALSE;
  QPoint at = gdi_internal::ToDevice(d, x, y);
  QImage img = himl->Images[size_t(i)];
  if (state & ILS_SATURATE) img = Greyed(img);
  if (style & ILD_MASK) {
    // The mask: black where the image shows, white elsewhere.
    QImage m(img.size(), QImage::Format_RGB32);
    for (int yy = 0; yy < img.height(); ++yy)
      for (int xx = 0; xx < img.width(); ++xx) m.setPixel(xx, yy, qAlpha(img.pixel(xx, yy)) > 127 ? 0xFF000000u : 0xFFFFFFFFu);
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->drawImage(at, m);
    return TRUE;
  }
  if (!(style & ILD_TRANSPARENT) && bk != CLR_INVALID) p->fillRect(QRect(at, img.size()), gdi_internal::ToQColor(bk));
  if (style & (ILD_BLEND25 | ILD_BLEND50)) p->setOpacity(style & ILD_BLEND50 ? 0.5 : 0.75);
  p->drawImage(at, img);
  p->setOpacity(1.0);
  return TRUE;
}

}  // namespace

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC dc, int x, int y, UINT style) {
  return DrawImage(himl, i, dc, x, y, style, ILS_NORMAL, CLR_INVALID);
}

BOOL ImageList_DrawIndirect(IMAGELISTDRAWPARAMS* params) {
  if (!params) return FALSE;
  return DrawImage(params->himl, params->i, params->hdcDst, params->x, params->y, params->fStyle, params->fState,
                   params->rgbBk);
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  if (!Alive(himl) || !cx || !cy) return FALSE;
  *cx = himl->Width;
  *cy = himl->Height;
  return TRUE;
}

// ---- TChangeLink ----------------------------------------------------------

TChangeLink::~TChangeLink() {
  if (Sender) Sender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(Sender);
}

// ---- TCustomImageList -----------------------------------------------------

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner), FData(std::make_unique<HIMAGELIST__>()) {
  std::lock_guard lock(ListLock());
  Lists().insert(FData.get());
}

TCustomImageList::TCustomImageList(TComponent* AOwner, Integer width, Integer height) : TCustomImageList(AOwner) {
  SetSize(width, height);
}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* link : FLinks) link->Sender = nullptr;
  std::lock_guard lock(ListLock());
  Lists().erase(FData.get());
}

void TCustomImageList::Assign(TPersistent* Source) {
  if (auto* l = dynamic_cast<TCustomImageList*>(Source)) {
    if (l == this) return;
    FWidth = l->FWidth;
    FHeight = l->FHeight;
    FColorDepth = l->FColorDepth;
    FBkColor = l->FBkColor;
    FDrawingStyle = l->FDrawingStyle;
    FData->Width = FWidth;
    FData->Height = FHeight;
    FData->Images.clear();
    for (const QImage& img : l->FData->Images) FData->Images.push_back(img.copy());
    Change();
    return;
  }
  TComponent::Assign(Source);
}

void TCustomImageList::SetWidth(Integer value) { SetSize(value, FHeight); }
void TCustomImageList::SetHeight(Integer value) { SetSize(FWidth, value); }

void TCustomImageList::SetSize(Integer w, Integer h) {
  w = std::clamp(w, 1, gdi_internal::kMaxDimension);
  h = std::clamp(h, 1, gdi_internal::kMaxDimension);
  if (w == FWidth && h == FHeight) return;
  FWidth = FData->Width = w;
  FHeight = FData->Height = h;
  FData->Images.clear();
  Change();
}

Integer TCustomImageList::Count() const { return Integer(FData->Images.size()); }

HIMAGELIST TCustomImageList::Handle() const { return FData.get(); }

namespace {

// The picture of a bitmap as premultiplied ARGB, honouring its alpha format.
QImage PictureOf(TBitmap* b) {
  QImage* img = image_codec::BitmapImage(b);
  if (!img) return {};
  if (b->PixelFormat() == pf32bit && b->AlphaFormat() == afDefined)
    return QImage(img->constBits(), img->width(), img->height(), img->bytesPerLine(), QImage::Format_ARGB32)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (b->PixelFormat() == pf32bit && b->AlphaFormat() == afPremultiplied)
    return img->convertToFormat(QImage::Format_ARGB32_Premultiplied).copy();
  return img->convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

Integer TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
  if (!image || image->Empty()) return -1;
  QImage pic = PictureOf(image);
  if (pic.isNull()) return -1;
  if (mask && !mask->Empty()) {
    QImage* m = image_codec::BitmapImage(mask);
    for (int y = 0; y < pic.height() && m && y < m->height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(pic.scanLine(y));
      for (int x = 0; x < pic.width() && x < m->width(); ++x)
        if (qGray(m->pixel(x, y)) > 127) row[x] = 0;
    }
  }
  Integer first = Count();
  // A strip gives one image per Width; a picture narrower than Width gives one.
  int pieces = std::max(1, pic.width() / FWidth);
  for (int i = 0; i < pieces; ++i) {
    QImage piece(FWidth, FHeight, QImage::Format_ARGB32_Premultiplied);
    piece.fill(0);
    QPainter p(&piece);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, pic, i * FWidth, 0, FWidth, FHeight);
    p.end();
    FData->Images.push_back(std::move(piece));
  }
  Change();
  return first;
}

Integer TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
  if (!image || image->Empty()) return -1;
  QImage* img = image_codec::BitmapImage(image);
  if (!img) return -1;
  QRgb key = maskColor == clDefault ? (img->pixel(0, img->height() - 1) & 0xFFFFFF)
                                    : gdi_internal::ToQRgb(COLORREF(ColorToRGB(maskColor))) & 0xFFFFFF;
  TBitmap copy;
  copy.SetPixelFormat(pf32bit);
  copy.SetSize(image->Width(), image->Height());
  QImage* dst = image_codec::BitmapImage(&copy);
  QImage src = img->convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < src.height(); ++y) {
    auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(dst->scanLine(y));
    for (int x = 0; x < src.width(); ++x) out[x] = (in[x] & 0xFFFFFF) == key ? 0 : (in[x] | 0xFF000000u);
  }
  copy.SetAlphaFormat(afPremultiplied);
  return Add(&copy, nullptr);
}

Integer TCustomImageList::AddIcon(TIcon* icon) {
  if (!icon || icon->Empty()) return -1;
  const QImage* img = gdi_internal::IconImage(icon->Handle());
  if (!img) return -1;
  FData->Images.push_back(img->scaled(FWidth, FHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied));
  Change();
  return Count() - 1;
}

void TCustomImageList::Delete(Integer index) {
  if (index < 0 || index >= Count()) throw EInvalidOperation(u"Invalid ImageList Index");
  FData->Images.erase(FData->Images.begin() + index);
  Change();
}

void TCustomImageList::Clear() {
  FData->Images.clear();
  Change();
}

void TCustomImageList::Draw(TCanvas* canvas, Integer x, Integer y, Integer index, bool enabled) {
  Draw(canvas, x, y, index, FDrawingStyle, itImage, enabled);
}

void TCustomImageList::Draw(TCanvas* canvas, Integer x, Integer y, Integer index, TDrawingStyle, TImageType type,
                            bool enabled) {
  if (!canvas || index < 0 || index >= Count()) return;
  HDC dc = canvas->Handle();
  if (type == itMask) {
    ImageList_Draw(FData.get(), index, dc, x, y, ILD_MASK);
    return;
  }
  if (enabled) {
    ImageList_Draw(FData.get(), index, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  if (FColorDepth == cd32Bit) {
    IMAGELISTDRAWPARAMS p;
    p.himl = FData.get();
    p.i = index;
    p.hdcDst = dc;
    p.x = x;
    p.y = y;
    p.fStyle = ILD_TRANSPARENT;
    p.fState = ILS_SATURATE;
    ImageList_DrawIndirect(&p);
    return;
  }
  QPainter* p = gdi_internal::DCPainter(dc);
  HDC__* d = gdi_internal::LookupDC(dc);
  if (!p || !d) return;
  QPoint at = gdi_internal::ToDevice(d, x, y);
  const QImage& img = FData->Images[size_t(index)];
  p->drawImage(at + QPoint(1, 1), Shape(img, gdi_internal::ToQColor(GetSysColor(COLOR_BTNHIGHLIGHT))));
  p->drawImage(at, Shape(img, gdi_internal::ToQColor(GetSysColor(COLOR_BTNSHADOW))));
}

bool TCustomImageList::GetBitmap(Integer index, TBitmap* image) {
  if (!image || index < 0 || index >= Count()) return false;
  image->SetPixelFormat(pf24bit);
  image->SetSize(FWidth, FHeight);
  // Through the bitmap's own DC: its canvas may be painting already.
  HDC dc = image->Canvas()->Handle();
  QPainter* p = gdi_internal::DCPainter(dc);
  if (!p) return false;
  p->setCompositionMode(QPainter::CompositionMode_Source);
  p->fillRect(QRect(0, 0, FWidth, FHeight),
              FBkColor == clNone ? QColor(Qt::black) : gdi_internal::ToQColor(COLORREF(ColorToRGB(FBkColor))));
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->drawImage(0, 0, FData->Images[size_t(index)]);
  return true;
}

void TCustomImageList::RegisterChanges(TChangeLink* link) {
  if (!link) return;
  link->Sender = this;
  if (std::find(FLinks.begin(), FLinks.end(), link) == FLinks.end()) FLinks.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link) {
  std::erase(FLinks, link);
  if (link && link->Sender == this) link->Sender = nullptr;
}

void TCustomImageList::Change() {
  for (TChangeLink* link : std::vector<TChangeLink*>(FLinks)) link->Change();
  if (OnChange) OnChange(this);
}
