// GDI objects: the handle table, pens, brushes, fonts, regions, bitmaps,
// icons, stock objects and the system colours.
#include <QGuiApplication>
#include <QPolygon>
#include <QRawFont>
#include <cmath>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/gdi/GdiInternal.h"

namespace gdi_internal {
namespace {

std::mutex& TableLock() {
  static std::mutex m;
  return m;
}
std::unordered_map<HGDIOBJ, std::shared_ptr<HGDIOBJ__>>& Table() {
  static auto* t = new std::unordered_map<HGDIOBJ, std::shared_ptr<HGDIOBJ__>>();
  return *t;
}

}  // namespace

bool SizeAllowed(Int64 w, Int64 h) { return w >= 1 && h >= 1 && w <= kMaxDimension && h <= kMaxDimension; }

std::shared_ptr<HGDIOBJ__> LookupObject(HGDIOBJ h) {
  if (!h) return nullptr;
  std::lock_guard lock(TableLock());
  auto it = Table().find(h);
  return it == Table().end() ? nullptr : it->second;
}

HGDIOBJ Register(std::shared_ptr<HGDIOBJ__> object) {
  HGDIOBJ h = object.get();
  std::lock_guard lock(TableLock());
  Table()[h] = std::move(object);
  return h;
}

namespace {

HGDIOBJ Unregister(HGDIOBJ h) {
  std::lock_guard lock(TableLock());
  return Table().erase(h) ? h : nullptr;
}

struct TStock {
  HGDIOBJ Objects[20] = {};
  HBRUSH SysBrushes[31] = {};
};

const COLORREF kSysColors[31] = {
    RGB(0xC8, 0xC8, 0xC8), RGB(0x00, 0x00, 0x00), RGB(0x99, 0xB4, 0xD1), RGB(0xBF, 0xCD, 0xDB),
    RGB(0xF0, 0xF0, 0xF0), RGB(0xFF, 0xFF, 0xFF), RGB(0x64, 0x64, 0x64), RGB(0x00, 0x00, 0x00),
    RGB(0x00, 0x00, 0x00), RGB(0x00, 0x00, 0x00), RGB(0xB4, 0xB4, 0xB4), RGB(0xF4, 0xF7, 0xFC),
    RGB(0xAB, 0xAB, 0xAB), RGB(0x00, 0x78, 0xD7), RGB(0xFF, 0xFF, 0xFF), RGB(0xF0, 0xF0, 0xF0),
    RGB(0xA0, 0xA0, 0xA0), RGB(0x6D, 0x6D, 0x6D), RGB(0x00, 0x00, 0x00), RGB(0x00, 0x00, 0x00),
    RGB(0xFF, 0xFF, 0xFF), RGB(0x69, 0x69, 0x69), RGB(0xE3, 0xE3, 0xE3), RGB(0x00, 0x00, 0x00),
    RGB(0xFF, 0xFF, 0xE1), RGB(0xB5, 0xB5, 0xB5), RGB(0x00, 0x66, 0xCC), RGB(0xB9, 0xD1, 0xEA),
    RGB(0xD7, 0xE4, 0xF2), RGB(0x33, 0x99, 0xFF), RGB(0xF0, 0xF0, 0xF0)};

HBRUSH MakeBrush(UINT style, COLORREF color, int hatch = 0) {
  auto b = std::make_shared<TGdiBrush>();
  b->Style = style;
  b->Color = color & 0xFFFFFF;
  b->Hatch = hatch;
  return static_cast<HBRUSH>(Register(b));
}

HPEN MakePen(UINT style, int width, COLORREF color) {
  auto p = std::make_shared<TGdiPen>();
  p->Style = style;
  p->Width = std::max(1, width);
  p->Color = color & 0xFFFFFF;
  return static_cast<HPEN>(Register(p));
}

HFONT MakeFont(const LOGFONTW& lf) {
  auto f = std::make_shared<TGdiFont>();
  f->Log = lf;
  return static_cast<HFONT>(Register(f));
}

LOGFONTW FaceFont(const char16_t* face, LONG height, LONG weight = FW_NORMAL) {
  LOGFONTW lf;
  lf.lfHeight = height;
  lf.lfWeight = weight;
  for (int i = 0; face[i] && i < LF_FACESIZE - 1; ++i) lf.lfFaceName[i] = face[i];
  return lf;
}

// Stock objects are made once and never freed.
TStock& Stock() {
  static TStock* s = [] {
    auto* st = new TStock();
    st->Objects[WHITE_BRUSH] = MakeBrush(BS_SOLID, RGB(255, 255, 255));
    st->Objects[LTGRAY_BRUSH] = MakeBrush(BS_SOLID, RGB(192, 192, 192));
    st->Objects[GRAY_BRUSH] = MakeBrush(BS_SOLID, RGB(128, 128, 128));
    st->Objects[DKGRAY_BRUSH] = MakeBrush(BS_SOLID, RGB(64, 64, 64));
    st->Objects[BLACK_BRUSH] = MakeBrush(BS_SOLID, 0);
    st->Objects[NULL_BRUSH] = MakeBrush(BS_NULL, 0);
    st->Objects[WHITE_PEN] = MakePen(PS_SOLID, 1, RGB(255, 255, 255));
    st->Objects[BLACK_PEN] = MakePen(PS_SOLID, 1, 0);
    st->Objects[NULL_PEN] = MakePen(PS_NULL, 1, 0);
    st->Objects[SYSTEM_FONT] = MakeFont(FaceFont(u"Tahoma", 16, FW_BOLD));
    st->Objects[DEFAULT_GUI_FONT] = MakeFont(FaceFont(u"Tahoma", -11));
    auto dcBrush = Lookup<TGdiBrush>(MakeBrush(BS_SOLID, RGB(255, 255, 255)));
    dcBrush->DCBrush = true;
    st->Objects[DC_BRUSH] = dcBrush.get();
    auto dcPen = Lookup<TGdiPen>(MakePen(PS_SOLID, 1, 0));
    dcPen->DCPen = true;
    st->Objects[DC_PEN] = dcPen.get();
    for (int i = 0; i < 31; ++i) st->SysBrushes[i] = MakeBrush(BS_SOLID, kSysColors[i]);
    return st;
  }();
  return *s;
}

bool IsStock(HGDIOBJ h) {
  auto& s = Stock();
  for (HGDIOBJ o : s.Objects)
    if (o && o == h) return true;
  for (HBRUSH b : s.SysBrushes)
    if (b == h) return true;
  return false;
}

// A face's vertical metrics per em, as GDI takes them: the OS/2 table's
// Windows ascent and descent, and the line gap that the hhea table adds
// beyond them. Measured once per face and style.
struct TFaceMetrics {
  double Ascent = 0.8, Descent = 0.2, Gap = 0;
};

int BigEndian16(const QByteArray& t, int at, bool isSigned) {
  if (t.size() < at + 2) return 0;
  int v = (uchar(t[at]) << 8) | uchar(t[at + 1]);
  return isSigned && v >= 0x8000 ? v - 0x10000 : v;
}

TFaceMetrics FaceMetrics(const QFont& base) {
  static std::mutex m;
  static auto* cache = new std::unordered_map<QString, TFaceMetrics>();
  QString key = base.family() + u'|' + QString::number(base.weight()) + u'|' + QString::number(base.italic());
  std::lock_guard lock(m);
  if (auto it = cache->find(key); it != cache->end()) return it->second;
  TFaceMetrics fm;
  QFont probe(base);
  probe.setPixelSize(1000);
  QRawFont raw = QRawFont::fromFont(probe);
  if (raw.isValid() && raw.unitsPerEm() > 0) {
    double upm = raw.unitsPerEm();
    QByteArray os2 = raw.fontTable("OS/2"), hhea = raw.fontTable("hhea");
    int winAscent = BigEndian16(os2, 74, false), winDescent = BigEndian16(os2, 76, false);
    if (winAscent + winDescent > 0) {
      fm.Ascent = winAscent / upm;
      fm.Descent = winDescent / upm;
      int hAsc = BigEndian16(hhea, 4, true), hDesc = BigEndian16(hhea, 6, true), gap = BigEndian16(hhea, 8, true);
      fm.Gap = std::max(0, gap - ((winAscent + winDescent) - (hAsc - hDesc))) / upm;
    } else {
      fm.Ascent = raw.ascent() / 1000.0;
      fm.Descent = raw.descent() / 1000.0;
      fm.Gap = raw.leading() / 1000.0;
    }
  }
  (*cache)[key] = fm;
  return fm;
}

}  // namespace

bool TGdiFont::Prepare() {
  if (Ready) return true;
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
  QString face = QString::fromUtf16(Log.lfFaceName, int(std::char_traits<char16_t>::length(Log.lfFaceName) < LF_FACESIZE
                                                          ? std::char_traits<char16_t>::length(Log.lfFaceName)
                                                          : LF_FACESIZE));
  if (face.isEmpty()) face = QStringLiteral("Tahoma");
  Font = QFont(face);
  // Colour emoji are bitmaps in colour, drawn only on the smoothed path.
  const bool colourEmoji = face.compare(QStringLiteral("Segoe UI Emoji"), Qt::CaseInsensitive) == 0 ||
                           face.compare(QStringLiteral("Noto Color Emoji"), Qt::CaseInsensitive) == 0;
  Font.setStyleStrategy(colourEmoji ? QFont::NoSubpixelAntialias
                                    : QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
  Font.setHintingPreference(QFont::PreferFullHinting);
  Font.setKerning(false);
  int weight = Log.lfWeight <= 0 ? FW_NORMAL : std::clamp<int>(Log.lfWeight, 1, 1000);
  Font.setWeight(QFont::Weight(weight));
  Font.setItalic(Log.lfItalic != 0);
  Font.setUnderline(Log.lfUnderline != 0);
  Font.setStrikeOut(Log.lfStrikeOut != 0);
  // Heights beyond a poster's are refused: they would only burn memory.
  LONG h = std::clamp<LONG>(Log.lfHeight, -2000, 2000);
  TFaceMetrics fm = FaceMetrics(Font);
  int em;
  if (h < 0) {
    em = -h;
  } else {
    int cell = h == 0 ? 16 : h;
    em = std::max(1, int(std::lround(cell / (fm.Ascent + fm.Descent))));
  }
  Font.setPixelSize(std::max(1, em));
  Metrics = std::make_unique<QFontMetrics>(Font);
  EmHeight = em;
  Ascent = int(std::lround(fm.Ascent * em));
  Descent = int(std::lround(fm.Descent * em));
  if (h > 0) {
    // A cell height is kept exactly, as GDI does.
    int cell = h;
    Ascent = int(std::lround(cell * fm.Ascent / (fm.Ascent + fm.Descent)));
    Descent = cell - Ascent;
  }
  ExternalLeading = int(std::lround(fm.Gap * em));
  AveWidth = Metrics->averageCharWidth();
  MaxWidth = Metrics->maxWidth();
  Ready = true;
  return true;
}

int TGdiFont::Advance(const QString& text) {
  if (!Prepare() || text.isEmpty()) return 0;
  return Metrics->horizontalAdvance(text);
}

std::shared_ptr<TGdiBitmap> NewBitmap(QImage image, int bitCount, bool dib) {
  auto b = std::make_shared<TGdiBitmap>();
  b->Image = std::move(image);
  b->BitCount = bitCount;
  b->DibSection = dib;
  Register(b);
  return b;
}

QImage* BitmapImage(HBITMAP bitmap) {
  auto b = Lookup<TGdiBitmap>(bitmap);
  return b ? &b->Image : nullptr;
}

}  // namespace gdi_internal

using namespace gdi_internal;

COLORREF GetSysColor(int index) { return index >= 0 && index <= 30 ? kSysColors[index] : 0; }

HBRUSH GetSysColorBrush(int index) { return index >= 0 && index <= 30 ? Stock().SysBrushes[index] : nullptr; }

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index >= 20) return nullptr;
  return Stock().Objects[index];
}

HPEN CreatePen(int style, int width, COLORREF color) {
  UINT kind = UINT(style) & PS_STYLE_MASK;
  if (kind > PS_INSIDEFRAME) return nullptr;
  // Styled pens are one pixel wide, as GDI draws them.
  if (kind >= PS_DASH && kind <= PS_DASHDOTDOT && width > 1) width = 1;
  return MakePen(kind | (width > 1 ? PS_GEOMETRIC : PS_COSMETIC), width, color);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD, const DWORD*) {
  if (!brush) return nullptr;
  bool cosmetic = (style & PS_TYPE_MASK) == PS_COSMETIC;
  if (cosmetic && width != 1) return nullptr;
  if (!cosmetic && (style & PS_STYLE_MASK) == PS_ALTERNATE) return nullptr;
  if (width > 1000) return nullptr;
  return MakePen(style, int(width), brush->lbStyle == BS_NULL ? 0 : brush->lbColor);
}

HBRUSH CreateSolidBrush(COLORREF color) { return MakeBrush(BS_SOLID, color); }

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
  return MakeBrush(BS_HATCHED, color, hatch);
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  QImage* img = BitmapImage(bitmap);
  if (!img || img->isNull()) return nullptr;
  auto b = std::make_shared<TGdiBrush>();
  b->Style = BS_PATTERN;
  b->Pattern = img->convertToFormat(QImage::Format_RGB32).copy();  // never shares the bitmap's pixels
  return static_cast<HBRUSH>(Register(b));
}

HFONT CreateFontIndirectW(const LOGFONTW* font) {
  if (!font) return nullptr;
  LOGFONTW lf = *font;
  lf.lfFaceName[LF_FACESIZE - 1] = 0;
  return MakeFont(lf);
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, const WCHAR* faceName) {
  LOGFONTW lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = Byte(italic != 0);
  lf.lfUnderline = Byte(underline != 0);
  lf.lfStrikeOut = Byte(strikeOut != 0);
  lf.lfCharSet = Byte(charSet);
  lf.lfOutPrecision = Byte(outPrecision);
  lf.lfClipPrecision = Byte(clipPrecision);
  lf.lfQuality = Byte(quality);
  lf.lfPitchAndFamily = Byte(pitchAndFamily);
  for (int i = 0; faceName && faceName[i] && i < LF_FACESIZE - 1; ++i) lf.lfFaceName[i] = faceName[i];
  return CreateFontIndirectW(&lf);
}

BOOL DeleteObject(HGDIOBJ object) {
  if (!object) return FALSE;
  if (IsStock(object)) return TRUE;
  // A DC that still has the object selected holds its own reference.
  return Unregister(object) ? TRUE : FALSE;
}

int GetObjectW(HGDIOBJ object, int size, void* buffer) {
  auto obj = LookupObject(object);
  if (!obj) return 0;
  auto copy = [&](const auto& value) -> int {
    int need = int(sizeof(value));
    if (!buffer) return need;
    if (size < need) return 0;
    std::memcpy(buffer, &value, sizeof(value));
    return need;
  };
  if (auto p = std::dynamic_pointer_cast<TGdiPen>(obj)) {
    LOGPEN lp;
    lp.lopnStyle = p->Style & PS_STYLE_MASK;
    lp.lopnWidth = {p->Width, 0};
    lp.lopnColor = p->Color;
    return copy(lp);
  }
  if (auto b = std::dynamic_pointer_cast<TGdiBrush>(obj)) {
    LOGBRUSH lb;
    lb.lbStyle = b->Style;
    lb.lbColor = b->Color;
    lb.lbHatch = ULONG_PTR(b->Hatch);
    return copy(lb);
  }
  if (auto f = std::dynamic_pointer_cast<TGdiFont>(obj)) return copy(f->Log);
  if (auto bm = std::dynamic_pointer_cast<TGdiBitmap>(obj)) {
    BITMAP info;
    info.bmWidth = bm->Image.width();
    info.bmHeight = bm->Image.height();
    info.bmBitsPixel = Word(bm->BitCount);
    info.bmWidthBytes = LONG(bm->Image.bytesPerLine());
    info.bmBits = bm->DibSection ? static_cast<void*>(bm->Image.bits()) : nullptr;
    return copy(info);
  }
  return 0;
}

int GetObjectA(HGDIOBJ object, int size, void* buffer) {
  auto f = Lookup<TGdiFont>(object);
  if (!f) return GetObjectW(object, size, buffer);
  if (!buffer) return int(sizeof(LOGFONTA));
  if (size < int(sizeof(LOGFONTA))) return 0;
  const LOGFONTW& w = f->Log;
  LOGFONTA a;
  a.lfHeight = w.lfHeight;
  a.lfWidth = w.lfWidth;
  a.lfEscapement = w.lfEscapement;
  a.lfOrientation = w.lfOrientation;
  a.lfWeight = w.lfWeight;
  a.lfItalic = w.lfItalic;
  a.lfUnderline = w.lfUnderline;
  a.lfStrikeOut = w.lfStrikeOut;
  a.lfCharSet = w.lfCharSet;
  a.lfOutPrecision = w.lfOutPrecision;
  a.lfClipPrecision = w.lfClipPrecision;
  a.lfQuality = w.lfQuality;
  a.lfPitchAndFamily = w.lfPitchAndFamily;
  std::string face = StringToAnsi(StringView(w.lfFaceName, std::char_traits<char16_t>::length(w.lfFaceName)));
  std::memcpy(a.lfFaceName, face.data(), std::min<size_t>(face.size(), LF_FACESIZE - 1));
  std::memcpy(buffer, &a, sizeof(a));
  return int(sizeof(a));
}

// ---- Regions ------------------------------------------------------------

namespace {

HRGN MakeRegion(QRegion r) {
  auto rg = std::make_shared<TGdiRegion>();
  rg->Region = std::move(r);
  return static_cast<HRGN>(Register(rg));
}

int RegionKind(const QRegion& r) {
  if (r.isEmpty()) return NULLREGION;
  return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QRect NormalRect(int l, int t, int r, int b) {
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  return QRect(l, t, r - l, b - t);
}

}  // namespace

namespace gdi_internal {
// Rows of a rectangle with elliptic corners (w x h); right and bottom excluded.
QRegion RoundRectRegion(int l, int t, int r, int b, int w, int h) {
  QRect box = NormalRect(l, t, r, b);
  if (box.isEmpty()) return {};
  double a = std::min(std::abs(w), box.width()) / 2.0;
  double c = std::min(std::abs(h), box.height()) / 2.0;
  QRegion out;
  if (a < 0.5 || c < 0.5) return QRegion(box);
  std::vector<QRect> rects;
  for (int y = box.top(); y <= box.bottom(); ++y) {
    double py = y + 0.5;
    double dy = 0;
    if (py < box.top() + c) dy = box.top() + c - py;
    else if (py > box.top() + box.height() - c) dy = py - (box.top() + box.height() - c);
    double inset = 0;
    if (dy > 0) {
      double q = 1.0 - (dy / c) * (dy / c);
      inset = q <= 0 ? a : a - a * std::sqrt(q);
    }
    int x0 = box.left() + int(std::lround(inset));
    int x1 = box.left() + box.width() - int(std::lround(inset));
    if (x1 <= x0) continue;
    // Rows with the same extent merge into one band, as QRegion keeps them.
    if (!rects.empty() && rects.back().left() == x0 && rects.back().right() == x1 - 1 &&
        rects.back().bottom() == y - 1)
      rects.back().setBottom(y);
    else
      rects.emplace_back(x0, y, x1 - x0, 1);
  }
  out.setRects(rects.data(), int(rects.size()));
  return out;
}
}  // namespace gdi_internal

HRGN CreateRectRgn(int l, int t, int r, int b) { return MakeRegion(QRegion(NormalRect(l, t, r, b))); }
HRGN CreateRoundRectRgn(int l, int t, int r, int b, int w, int h) { return MakeRegion(RoundRectRegion(l, t, r, b, w, h)); }

HRGN CreatePolygonRgn(const POINT* Points, int Count, int Mode) {
  if (Points == nullptr || Count < 3 || Count > 65536 || (Mode != WINDING && Mode != ALTERNATE)) return nullptr;
  QPolygon polygon;
  polygon.reserve(Count);
  for (int i = 0; i < Count; ++i) polygon << QPoint(Points[i].X, Points[i].Y);
  return MakeRegion(QRegion(polygon, Mode == WINDING ? Qt::WindingFill : Qt::OddEvenFill));
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode) {
  auto d = Lookup<TGdiRegion>(dest);
  auto ra = Lookup<TGdiRegion>(a);
  if (!d || !ra) return ERROR;
  if (mode == RGN_COPY) {
    d->Region = ra->Region;
    return RegionKind(d->Region);
  }
  auto rb = Lookup<TGdiRegion>(b);
  if (!rb) return ERROR;
  switch (mode) {
    case RGN_AND: d->Region = ra->Region.intersected(rb->Region); break;
    case RGN_OR: d->Region = ra->Region.united(rb->Region); break;
    case RGN_XOR: d->Region = ra->Region.xored(rb->Region); break;
    case RGN_DIFF: d->Region = ra->Region.subtracted(rb->Region); break;
    default: return ERROR;
  }
  return RegionKind(d->Region);
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
  auto r = Lookup<TGdiRegion>(rgn);
  return r && r->Region.contains(QPoint(x, y));
}

// ---- Bitmaps ------------------------------------------------------------

namespace {

QImage::Format FormatFor(int bitCount, bool dib) {
  if (bitCount == 24) return QImage::Format_BGR888;
  if (bitCount == 32 && dib) return QImage::Format_ARGB32_Premultiplied;
  return QImage::Format_RGB32;
}

QImage NewImage(int w, int h, QImage::Format f) {
  QImage img(w, h, f);
  if (!img.isNull()) img.fill(f == QImage::Format_ARGB32_Premultiplied ? 0u : 0xFF000000u);
  return img;
}

bool ValidBitCount(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

}  // namespace

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  if (!SizeAllowed(width, height)) return nullptr;
  QImage img = NewImage(width, height, QImage::Format_RGB32);
  if (img.isNull()) return nullptr;
  return NewBitmap(std::move(img), 32, false).get();
}

namespace gdi_internal {
// Reads packed DIB rows (top row first when topDown) into an image.
QImage DecodeDibRows(const BITMAPINFO* info, const void* bits, bool* ok);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits) {
  if (planes != 1 || !ValidBitCount(int(bitCount)) || !SizeAllowed(width, height)) return nullptr;
  QImage img = NewImage(width, height, FormatFor(int(bitCount), false));
  if (img.isNull()) return nullptr;
  if (bits) {
    // Device-dependent bitmaps: word-aligned rows, top first, monochrome 1 = white.
    struct {
      BITMAPINFO info;
      RGBQUAD rest[255];
    } hdr{};
    hdr.info.bmiHeader.biWidth = width;
    hdr.info.bmiHeader.biHeight = -height;
    hdr.info.bmiHeader.biBitCount = Word(bitCount);
    if (bitCount == 1) hdr.rest[0] = {255, 255, 255, 0};
    bool ok = false;
    QImage decoded = DecodeDibRows(&hdr.info, bits, &ok);
    if (ok) {
      QPainter p(&img);
      p.setCompositionMode(QPainter::CompositionMode_Source);
      p.drawImage(0, 0, decoded);
    }
  }
  return NewBitmap(std::move(img), int(bitCount), false).get();
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT, void** bits, void*, DWORD) {
  if (bits) *bits = nullptr;
  if (!info) return nullptr;
  const auto& h = info->bmiHeader;
  if ((h.biBitCount != 24 && h.biBitCount != 32) || h.biPlanes > 1) return nullptr;
  if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return nullptr;
  Int64 height = h.biHeight < 0 ? -Int64(h.biHeight) : Int64(h.biHeight);
  if (!SizeAllowed(h.biWidth, height)) return nullptr;
  QImage img = NewImage(h.biWidth, int(height), FormatFor(h.biBitCount, true));
  if (img.isNull()) return nullptr;
  auto b = NewBitmap(std::move(img), h.biBitCount, true);
  if (bits) *bits = b->Image.bits();
  return b.get();
}

// ---- Icons --------------------------------------------------------------

namespace gdi_internal {
namespace {
std::mutex& IconLock() {
  static std::mutex m;
  return m;
}
std::unordered_map<HICON, std::unique_ptr<TGdiIcon>>& Icons() {
  static auto* t = new std::unordered_map<HICON, std::unique_ptr<TGdiIcon>>();
  return *t;
}
}  // namespace

HICON NewIcon(QImage image) {
  auto icon = std::make_unique<TGdiIcon>();
  // A private copy: a DIB's pixel pointer must never end up in shared memory.
  icon->Image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied).copy();
  HICON h = reinterpret_cast<HICON>(icon.get());
  std::lock_guard lock(IconLock());
  Icons()[h] = std::move(icon);
  return h;
}

const QImage* IconImage(HICON icon) {
  std::lock_guard lock(IconLock());
  auto it = Icons().find(icon);
  return it == Icons().end() ? nullptr : &it->second->Image;
}
}  // namespace gdi_internal

HICON CopyIcon(HICON icon) {
  const QImage* img = IconImage(icon);
  return img ? NewIcon(img->copy()) : nullptr;
}

BOOL DestroyIcon(HICON icon) {
  std::lock_guard lock(IconLock());
  return Icons().erase(icon) ? TRUE : FALSE;
}

