// Font families, fonts, string formats and text layout: DrawString,
// MeasureString, character ranges, driver strings and text in paths.
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QRawFont>
#include <QTextLayout>
#include <cmath>

#include "platform/gdi/GdiInternal.h"
#include "platform/gdiplus/GdiPlusInternal.h"
#include "platform/rtl/QtString.h"

using namespace gdiplus_internal;

namespace {

// Windows face names the project's font set maps to installed families,
// reported under the name asked for.
const char16_t* const kMappedFaces[] = {u"Arial", u"Helvetica", u"Times New Roman", u"Courier New", u"Segoe UI",
                                        u"Verdana", u"MS Sans Serif", u"Microsoft Sans Serif", u"Tahoma"};

bool FindFamily(const QString& name, GpFontFamily& out) {
  if (name.isEmpty() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
  for (const char16_t* f : kMappedFaces) {
    QString s = QString::fromUtf16(f);
    if (s.compare(name, Qt::CaseInsensitive) == 0) {
      out.Name = s;
      out.Face = s;
      return true;
    }
  }
  for (const QString& fam : QFontDatabase::families()) {
    if (fam.compare(name, Qt::CaseInsensitive) == 0) {
      out.Name = fam;
      out.Face = fam;
      return true;
    }
  }
  return false;
}

GpFontFamily* Fam(const GpFontFamily* f) { return Get(f, TKind::FontFamily); }
GpFont* Fnt(const GpFont* f) { return Get(f, TKind::Font); }
GpStringFormat* Fmt(const GpStringFormat* f) { return Get(f, TKind::StringFormat); }

GpStatus NewFamily(const QString& name, GpFontFamily** out) {
  if (!out) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  auto f = std::make_unique<GpFontFamily>();
  if (!FindFamily(name, *f)) return FontFamilyNotFound;
  return Hand(std::move(f), out);
}

// Design metrics of a family per em: ascent, descent and line gap (OS/2 table,
// Windows values, as GDI+ reads them).
struct TDesign {
  int Em = 2048, Ascent = 1854, Descent = 434, Spacing = 2355;
};

TDesign Design(const GpFontFamily* f, INT style) {
  TDesign d;
  QFont q(f->Face);
  q.setPixelSize(1000);
  q.setBold(style & FontStyleBold);
  q.setItalic(style & FontStyleItalic);
  QRawFont raw = QRawFont::fromFont(q);
  if (!raw.isValid()) return d;
  d.Em = int(raw.unitsPerEm());
  QByteArray os2 = raw.fontTable("OS/2"), hhea = raw.fontTable("hhea");
  auto u16 = [](const QByteArray& t, int at) { return t.size() >= at + 2 ? (uchar(t[at]) << 8) | uchar(t[at + 1]) : 0; };
  auto s16 = [&](const QByteArray& t, int at) { int v = u16(t, at); return v >= 0x8000 ? v - 0x10000 : v; };
  int winA = u16(os2, 74), winD = u16(os2, 76);
  if (winA + winD > 0) {
    d.Ascent = winA;
    d.Descent = winD;
    int hA = s16(hhea, 4), hD = s16(hhea, 6), gap = s16(hhea, 8);
    d.Spacing = std::max(winA + winD, hA - hD + gap);
  } else {
    d.Ascent = int(raw.ascent() * d.Em / 1000);
    d.Descent = int(raw.descent() * d.Em / 1000);
    d.Spacing = d.Ascent + d.Descent + int(raw.leading() * d.Em / 1000);
  }
  return d;
}

// ---- Layout ---------------------------------------------------------------

struct TLine {
  QString Text;
  int Start = 0;   // index in the source text
  int Length = 0;  // characters of the source consumed (newline included)
  double Width = 0;
  QPointF Pos;     // top-left of the line's text
};

struct TLayout {
  QFont Font;
  double Ascent = 0, LineHeight = 0, Pad = 0;
  std::vector<TLine> Lines;
  QRectF Box;
  int Fitted = 0;
  std::vector<int> Underline;  // hotkey positions in the source text (after prefix removal)
  std::vector<int> SourceIndex;  // source index of each shown character
};

// measure: the caller wants the bounding box. Drawing near-aligned text at a
// point needs no line widths, which saves a shaping pass per line.
TLayout Layout(const QString& rawText, const GpFont* font, const GpStringFormat* fmtIn, const QRectF& rect, REAL dpi,
               bool measure = true) {
  static const GpStringFormat kDefault;
  const GpStringFormat& fmt = fmtIn ? *fmtIn : kDefault;
  TLayout L;
  double em = font->EmPixels(dpi);
  L.Font = font->QtFont(em);
  const QFontMetricsF& fm = font->Metrics(em);
  L.Ascent = fm.ascent();
  L.LineHeight = fm.lineSpacing();
  L.Pad = fmt.Typographic ? 0 : em / 6.0;
  // Hotkey prefixes: '&' marks the next character; "&&" is a literal '&'.
  QString text;
  for (int i = 0; i < rawText.size(); ++i) {
    QChar c = rawText[i];
    if (fmt.Hotkey != HotkeyPrefixNone && c == u'&' && i + 1 < rawText.size()) {
      ++i;
      if (rawText[i] != u'&' && fmt.Hotkey == HotkeyPrefixShow) L.Underline.push_back(int(text.size()));
      L.SourceIndex.push_back(i);
      text += rawText[i];
      continue;
    }
    L.SourceIndex.push_back(i);
    text += c;
  }
  const bool wrap = rect.width() > 0 && !(fmt.Flags & StringFormatFlagsNoWrap);
  const double avail = rect.width() > 0 ? std::max(0.0, rect.width() - 2 * L.Pad) : 1e9;
  const bool trailing = fmt.Flags & StringFormatFlagsMeasureTrailingSpaces;
  GpStringAlignment hAlign = fmt.Align;
  if (fmt.Flags & StringFormatFlagsDirectionRightToLeft) hAlign = GpStringAlignment(2 - hAlign);
  const bool widths = measure || rect.width() > 0 || hAlign != StringAlignmentNear;
  auto widthOf = [&](const QString& s) -> double {
    if (!widths) return 0;
    QString t = s;
    if (!trailing)
      while (!t.isEmpty() && t.back() == u' ') t.chop(1);
    if (!fmt.Tabs.empty() || !t.contains(u'\t')) return fm.horizontalAdvance(t);
    return fm.horizontalAdvance(t);
  };
  // Break into lines: paragraphs at newlines, then Qt's line breaking.
  int at = 0;
  while (at <= text.size()) {
    int nl = text.indexOf(u'\n', at);
    int end = nl < 0 ? int(text.size()) : nl;
    QString para = text.mid(at, end - at);
    if (para.endsWith(u'\r')) para.chop(1);
    if (!wrap || para.isEmpty()) {
      L.Lines.push_back({para, at, end - at + (nl >= 0 ? 1 : 0), widthOf(para), {}});
    } else {
      QTextLayout tl(para, L.Font);
      QTextOption opt;
      opt.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
      if (!fmt.Tabs.empty()) {
        QList<qreal> tabs;
        qreal x = fmt.FirstTab;
        for (REAL t : fmt.Tabs) tabs.append(x += t), (void)0;
        opt.setTabArray(tabs);
      }
      tl.setTextOption(opt);
      tl.beginLayout();
      for (;;) {
        QTextLine line = tl.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(avail);
      }
      tl.endLayout();
      for (int i = 0; i < tl.lineCount(); ++i) {
        QTextLine line = tl.lineAt(i);
        QString s = para.mid(line.textStart(), line.textLength());
        bool last = i + 1 == tl.lineCount();
        L.Lines.push_back({s, at + line.textStart(), line.textLength() + (last && nl >= 0 ? 1 : 0), widthOf(s), {}});
      }
    }
    if (nl < 0) break;
    at = nl + 1;
  }
  // Lines that fit the layout height.
  std::size_t shown = L.Lines.size();
  bool cut = false;
  if (rect.height() > 0) {
    const bool limit = fmt.Flags & StringFormatFlagsLineLimit;
    std::size_t n = 0;
    while (n < L.Lines.size()) {
      double top = n * L.LineHeight, bottom = top + L.LineHeight;
      if (limit ? bottom > rect.height() + 1e-3 : top >= rect.height()) break;
      ++n;
    }
    // GDI+ always shows at least one line unless the line limit forbids it.
    if (n == 0 && !limit && !L.Lines.empty()) n = 1;
    cut = n < L.Lines.size();
    shown = n;
  }
  L.Lines.resize(shown);
  // Trimming: an ellipsis where text is lost.
  if (!L.Lines.empty() && fmt.Trimming >= StringTrimmingEllipsisCharacter) {
    Qt::TextElideMode mode = fmt.Trimming == StringTrimmingEllipsisPath ? Qt::ElideMiddle : Qt::ElideRight;
    for (std::size_t i = 0; i < L.Lines.size(); ++i) {
      TLine& ln = L.Lines[i];
      bool lastCut = cut && i + 1 == L.Lines.size();
      if (ln.Width > avail + 1e-3 || lastCut) {
        // A cut last line stands for all the text that follows it.
        QString src = lastCut ? text.mid(ln.Start).replace(u'\n', u' ') : ln.Text;
        QString e = fm.elidedText(src, mode, avail);
        ln.Text = e;
        ln.Width = widthOf(e);
      }
    }
  }
  L.Fitted = 0;
  for (const TLine& ln : L.Lines) L.Fitted = ln.Start + ln.Length;
  if (!cut && !L.Lines.empty()) L.Fitted = int(text.size());
  // Place the lines.
  double maxW = 0;
  for (const TLine& ln : L.Lines) maxW = std::max(maxW, std::min(ln.Width, rect.width() > 0 ? avail : ln.Width));
  double totalH = L.Lines.size() * L.LineHeight;
  if (rect.height() > 0) totalH = std::min(totalH, rect.height());
  GpStringAlignment align = fmt.Align;
  if (fmt.Flags & StringFormatFlagsDirectionRightToLeft)
    align = align == StringAlignmentNear ? StringAlignmentFar : align == StringAlignmentFar ? StringAlignmentNear : align;
  auto offset = [](GpStringAlignment a, double space) {
    return a == StringAlignmentNear ? 0.0 : a == StringAlignmentCenter ? space / 2 : space;
  };
  double y0 = rect.height() > 0 ? rect.y() + offset(fmt.LineAlign, rect.height() - totalH)
                                : rect.y() - offset(fmt.LineAlign, totalH);
  double boxLeft = 1e300, boxRight = -1e300;
  for (std::size_t i = 0; i < L.Lines.size(); ++i) {
    TLine& ln = L.Lines[i];
    double w = std::min(ln.Width, rect.width() > 0 ? avail : ln.Width);
    double x = rect.width() > 0 ? rect.x() + L.Pad + offset(align, avail - w) : rect.x() + L.Pad - offset(align, w + 2 * L.Pad);
    ln.Pos = QPointF(x, y0 + i * L.LineHeight);
    boxLeft = std::min(boxLeft, x - L.Pad);
    boxRight = std::max(boxRight, x + w + L.Pad);
  }
  if (L.Lines.empty()) L.Box = QRectF(rect.x(), rect.y(), 0, 0);
  else L.Box = QRectF(boxLeft, y0, boxRight - boxLeft, totalH);
  if (text.isEmpty()) L.Box = QRectF(rect.x(), rect.y(), 0, 0);
  (void)maxW;
  return L;
}

REAL GraphicsDpi(const GpGraphics* g) { return g && g->Image ? g->Image->DpiY : 96.0f; }

// Converts the font's em into world units of the graphics (page unit aside).
double WorldPerPixel(const GpGraphics* g) {
  QTransform page = g->PageTransform();
  return 1.0 / std::max(1e-9, page.m11());
}

}  // namespace

// ---- Font model -----------------------------------------------------------

REAL GpFont::EmPixels(REAL dpi) const { return EmSize * (Unit == UnitWorld || Unit == UnitPixel ? 1 : UnitToPixels(Unit, dpi)); }

QFont GpFont::ToQFont(REAL emPixels) const {
  QFont f(Family.Face);
  // Point sizes keep fractional ems; surfaces here are 96 DPI.
  f.setPointSizeF(std::max(0.1, emPixels * 72.0 / 96.0));
  f.setBold(Style & FontStyleBold);
  f.setItalic(Style & FontStyleItalic);
  f.setUnderline(Style & FontStyleUnderline);
  f.setStrikeOut(Style & FontStyleStrikeout);
  return f;
}

const QFont& GpFont::QtFont(REAL emPixels) const {
  if (emPixels != FCachedEm || !FCachedMetrics) {
    FCachedFont = ToQFont(emPixels);
    FCachedMetrics = std::make_unique<QFontMetricsF>(FCachedFont);
    FCachedEm = emPixels;
  }
  return FCachedFont;
}

const QFontMetricsF& GpFont::Metrics(REAL emPixels) const {
  QtFont(emPixels);
  return *FCachedMetrics;
}

// ---- Families and collections ---------------------------------------------

GpStatus GdipCreateFontFamilyFromName(const WCHAR* name, GpFontCollection* fontCollection, GpFontFamily** fontFamily) {
  if (!name || !fontFamily || (fontCollection && !Alive(fontCollection, TKind::FontCollection))) return InvalidParameter;
  return NewFamily(ToQString(name, -1), fontFamily);
}

GpStatus GdipDeleteFontFamily(GpFontFamily* fontFamily) { return Delete(fontFamily, TKind::FontFamily); }

GpStatus GdipCloneFontFamily(GpFontFamily* fontFamily, GpFontFamily** clonedFontFamily) {
  GpFontFamily* f = Fam(fontFamily);
  if (!f || !clonedFontFamily) return InvalidParameter;
  auto c = std::make_unique<GpFontFamily>();
  c->Name = f->Name;
  c->Face = f->Face;
  return Hand(std::move(c), clonedFontFamily);
}

GpStatus GdipGetGenericFontFamilySansSerif(GpFontFamily** nativeFamily) { return NewFamily(u"Microsoft Sans Serif"_qs, nativeFamily); }
GpStatus GdipGetGenericFontFamilySerif(GpFontFamily** nativeFamily) { return NewFamily(u"Times New Roman"_qs, nativeFamily); }
GpStatus GdipGetGenericFontFamilyMonospace(GpFontFamily** nativeFamily) { return NewFamily(u"Courier New"_qs, nativeFamily); }

GpStatus GdipGetFamilyName(const GpFontFamily* family, WCHAR* name, Word) {
  GpFontFamily* f = Fam(family);
  if (!f || !name) return InvalidParameter;
  int n = std::min<int>(int(f->Name.size()), LF_FACESIZE - 1);
  for (int i = 0; i < n; ++i) name[i] = f->Name[i].unicode();
  name[n] = 0;
  return Ok;
}

GpStatus GdipIsStyleAvailable(const GpFontFamily* family, INT style, BOOL* isStyleAvailable) {
  GpFontFamily* f = Fam(family);
  if (!f || !isStyleAvailable) return InvalidParameter;
  (void)style;
  *isStyleAvailable = TRUE;  // missing weights and slants are synthesised
  return Ok;
}

GpStatus GdipGetEmHeight(const GpFontFamily* family, INT style, Word* emHeight) {
  GpFontFamily* f = Fam(family);
  if (!f || !emHeight) return InvalidParameter;
  *emHeight = Word(Design(f, style).Em);
  return Ok;
}
GpStatus GdipGetCellAscent(const GpFontFamily* family, INT style, Word* cellAscent) {
  GpFontFamily* f = Fam(family);
  if (!f || !cellAscent) return InvalidParameter;
  *cellAscent = Word(Design(f, style).Ascent);
  return Ok;
}
GpStatus GdipGetCellDescent(const GpFontFamily* family, INT style, Word* cellDescent) {
  GpFontFamily* f = Fam(family);
  if (!f || !cellDescent) return InvalidParameter;
  *cellDescent = Word(Design(f, style).Descent);
  return Ok;
}
GpStatus GdipGetLineSpacing(const GpFontFamily* family, INT style, Word* lineSpacing) {
  GpFontFamily* f = Fam(family);
  if (!f || !lineSpacing) return InvalidParameter;
  *lineSpacing = Word(Design(f, style).Spacing);
  return Ok;
}

GpStatus GdipGetFontCollectionFamilyCount(GpFontCollection* fontCollection, INT* numFound) {
  if (!Alive(fontCollection, TKind::FontCollection) || !numFound) return InvalidParameter;
  *numFound = INT(QFontDatabase::families().size());
  return Ok;
}

GpStatus GdipGetFontCollectionFamilyList(GpFontCollection* fontCollection, INT numSought, GpFontFamily* gpfamilies[],
                                         INT* numFound) {
  if (!Alive(fontCollection, TKind::FontCollection) || !gpfamilies || !numFound || numSought <= 0) return InvalidParameter;
  const QStringList all = QFontDatabase::families();
  INT n = 0;
  for (const QString& fam : all) {
    if (n >= numSought) break;
    auto f = std::make_unique<GpFontFamily>();
    f->Name = f->Face = fam;
    Hand(std::move(f), &gpfamilies[n++]);
  }
  *numFound = n;
  return Ok;
}

// ---- Fonts ----------------------------------------------------------------

GpStatus GdipCreateFont(const GpFontFamily* fontFamily, REAL emSize, INT style, INT unit, GpFont** font) {
  GpFontFamily* f = Fam(fontFamily);
  if (!f || !font || !(emSize > 0) || !Finite(emSize) || unit < UnitWorld || unit > UnitMillimeter || unit == UnitDisplay)
    return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  auto n = std::make_unique<GpFont>();
  n->Family.Name = f->Name;
  n->Family.Face = f->Face;
  n->EmSize = emSize;
  n->Style = style & 0xF;
  n->Unit = GpUnit(unit);
  return Hand(std::move(n), font);
}

GpStatus GdipCreateFontFromLogfontW(HDC, const LOGFONTW* logfont, GpFont** font) {
  if (!logfont || !font) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  int len = 0;
  while (len < LF_FACESIZE && logfont->lfFaceName[len]) ++len;
  auto n = std::make_unique<GpFont>();
  if (!FindFamily(QString::fromUtf16(logfont->lfFaceName, len), n->Family) && !FindFamily(u"Microsoft Sans Serif"_qs, n->Family))
    return NotTrueTypeFont;
  LONG h = logfont->lfHeight == 0 ? -13 : logfont->lfHeight;
  // A positive height is the cell; the em is the usual 0.8 of it.
  n->EmSize = h < 0 ? REAL(-h) : REAL(h) * 0.8f;
  n->Unit = UnitPixel;
  n->Style = (logfont->lfWeight >= FW_SEMIBOLD ? FontStyleBold : 0) | (logfont->lfItalic ? FontStyleItalic : 0) |
             (logfont->lfUnderline ? FontStyleUnderline : 0) | (logfont->lfStrikeOut ? FontStyleStrikeout : 0);
  return Hand(std::move(n), font);
}

GpStatus GdipCreateFontFromLogfontA(HDC hdc, const void* logfont, GpFont** font) {
  if (!logfont) return InvalidParameter;
  // The 8-bit record: the same fields with a 32-byte face name.
  struct TLogFontA {
    LONG lfHeight, lfWidth, lfEscapement, lfOrientation, lfWeight;
    Byte lfItalic, lfUnderline, lfStrikeOut, lfCharSet, lfOutPrecision, lfClipPrecision, lfQuality, lfPitchAndFamily;
    char lfFaceName[LF_FACESIZE];
  };
  const auto* a = static_cast<const TLogFontA*>(logfont);
  LOGFONTW w;
  w.lfHeight = a->lfHeight;
  w.lfWeight = a->lfWeight;
  w.lfItalic = a->lfItalic;
  w.lfUnderline = a->lfUnderline;
  w.lfStrikeOut = a->lfStrikeOut;
  for (int i = 0; i < LF_FACESIZE; ++i) w.lfFaceName[i] = Byte(a->lfFaceName[i]);
  w.lfFaceName[LF_FACESIZE - 1] = 0;
  return GdipCreateFontFromLogfontW(hdc, &w, font);
}

GpStatus GdipCreateFontFromDC(HDC hdc, GpFont** font) {
  HDC__* d = gdi_internal::LookupDC(hdc);
  if (!d || !font || !d->State.Font) return InvalidParameter;
  return GdipCreateFontFromLogfontW(hdc, &d->State.Font->Log, font);
}

GpStatus GdipCloneFont(GpFont* font, GpFont** cloneFont) {
  GpFont* f = Fnt(font);
  if (!f || !cloneFont) return InvalidParameter;
  auto c = std::make_unique<GpFont>();
  c->Family.Name = f->Family.Name;
  c->Family.Face = f->Family.Face;
  c->EmSize = f->EmSize;
  c->Style = f->Style;
  c->Unit = f->Unit;
  return Hand(std::move(c), cloneFont);
}

GpStatus GdipDeleteFont(GpFont* font) { return Delete(font, TKind::Font); }

GpStatus GdipGetFamily(GpFont* font, GpFontFamily** family) {
  GpFont* f = Fnt(font);
  if (!f || !family) return InvalidParameter;
  auto c = std::make_unique<GpFontFamily>();
  c->Name = f->Family.Name;
  c->Face = f->Family.Face;
  return Hand(std::move(c), family);
}

GpStatus GdipGetFontStyle(GpFont* font, INT* style) {
  GpFont* f = Fnt(font);
  if (!f || !style) return InvalidParameter;
  *style = f->Style;
  return Ok;
}
GpStatus GdipGetFontSize(GpFont* font, REAL* size) {
  GpFont* f = Fnt(font);
  if (!f || !size) return InvalidParameter;
  *size = f->EmSize;
  return Ok;
}
GpStatus GdipGetFontUnit(GpFont* font, GpUnit* unit) {
  GpFont* f = Fnt(font);
  if (!f || !unit) return InvalidParameter;
  *unit = f->Unit;
  return Ok;
}
GpStatus GdipGetFontHeightGivenDPI(const GpFont* font, REAL dpi, REAL* height) {
  GpFont* f = Fnt(font);
  if (!f || !height || !(dpi > 0)) return InvalidParameter;
  TDesign d = Design(&f->Family, f->Style);
  *height = REAL(f->EmPixels(dpi) * d.Spacing / d.Em);
  return Ok;
}
GpStatus GdipGetFontHeight(const GpFont* font, const GpGraphics* graphics, REAL* height) {
  GpFont* f = Fnt(font);
  if (!f || !height || (graphics && !Alive(graphics, TKind::Graphics))) return InvalidParameter;
  REAL px;
  GpStatus s = GdipGetFontHeightGivenDPI(font, 96, &px);
  if (s != Ok) return s;
  *height = graphics ? REAL(px * WorldPerPixel(graphics)) : px;
  return Ok;
}
GpStatus GdipGetLogFontW(GpFont* font, GpGraphics* graphics, LOGFONTW* logfontW) {
  GpFont* f = Fnt(font);
  if (!f || !logfontW || !Alive(graphics, TKind::Graphics)) return InvalidParameter;
  LOGFONTW lf;
  lf.lfHeight = -LONG(std::lround(f->EmPixels(GraphicsDpi(graphics))));
  lf.lfWeight = f->Style & FontStyleBold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = f->Style & FontStyleItalic ? 1 : 0;
  lf.lfUnderline = f->Style & FontStyleUnderline ? 1 : 0;
  lf.lfStrikeOut = f->Style & FontStyleStrikeout ? 1 : 0;
  lf.lfQuality = ANTIALIASED_QUALITY;
  int n = std::min<int>(int(f->Family.Name.size()), LF_FACESIZE - 1);
  for (int i = 0; i < n; ++i) lf.lfFaceName[i] = f->Family.Name[i].unicode();
  *logfontW = lf;
  return Ok;
}
GpStatus GdipGetLogFontA(GpFont* font, GpGraphics* graphics, void* logfontA) {
  if (!logfontA) return InvalidParameter;
  LOGFONTW w;
  GpStatus s = GdipGetLogFontW(font, graphics, &w);
  if (s != Ok) return s;
  auto* b = static_cast<Byte*>(logfontA);
  std::memcpy(b, &w, 5 * sizeof(LONG) + 8);
  for (int i = 0; i < LF_FACESIZE; ++i) b[5 * sizeof(LONG) + 8 + i] = Byte(w.lfFaceName[i] < 0x100 ? w.lfFaceName[i] : '?');
  return Ok;
}

// ---- String formats -------------------------------------------------------

namespace {
GpStringFormat* Generic(bool typographic) {
  static GpStringFormat* def = [] {
    auto* f = new GpStringFormat();  // shared for the life of the process
    f->Shared = true;
    Track(f);
    return f;
  }();
  static GpStringFormat* typo = [] {
    auto* f = new GpStringFormat();
    f->Shared = true;
    f->Typographic = true;
    f->Flags = StringFormatFlagsNoFitBlackBox | StringFormatFlagsLineLimit | StringFormatFlagsNoClip;
    f->Trimming = StringTrimmingNone;
    Track(f);
    return f;
  }();
  return typographic ? typo : def;
}
}  // namespace

GpStatus GdipCreateStringFormat(INT formatAttributes, Word language, GpStringFormat** format) {
  if (!format) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  auto f = std::make_unique<GpStringFormat>();
  f->Flags = formatAttributes;
  f->Language = language;
  return Hand(std::move(f), format);
}
GpStatus GdipStringFormatGetGenericDefault(GpStringFormat** format) {
  if (!format) return InvalidParameter;
  *format = Generic(false);
  return Ok;
}
GpStatus GdipStringFormatGetGenericTypographic(GpStringFormat** format) {
  if (!format) return InvalidParameter;
  *format = Generic(true);
  return Ok;
}
GpStatus GdipDeleteStringFormat(GpStringFormat* format) {
  GpStringFormat* f = Fmt(format);
  if (!f) return InvalidParameter;
  if (f->Shared) return Ok;
  return Delete(format, TKind::StringFormat);
}
GpStatus GdipCloneStringFormat(const GpStringFormat* format, GpStringFormat** newFormat) {
  GpStringFormat* f = Fmt(format);
  if (!f || !newFormat) return InvalidParameter;
  auto c = std::make_unique<GpStringFormat>();
  *c = GpStringFormat();
  c->Flags = f->Flags;
  c->Language = f->Language;
  c->Align = f->Align;
  c->LineAlign = f->LineAlign;
  c->Trimming = f->Trimming;
  c->Hotkey = f->Hotkey;
  c->FirstTab = f->FirstTab;
  c->Tabs = f->Tabs;
  c->DigitLanguage = f->DigitLanguage;
  c->Digits = f->Digits;
  c->Ranges = f->Ranges;
  c->Typographic = f->Typographic;
  return Hand(std::move(c), newFormat);
}

GpStatus GdipSetStringFormatFlags(GpStringFormat* format, INT flags) {
  GpStringFormat* f = Fmt(format);
  if (!f) return InvalidParameter;
  f->Flags = flags;
  return Ok;
}
GpStatus GdipGetStringFormatFlags(const GpStringFormat* format, INT* flags) {
  GpStringFormat* f = Fmt(format);
  if (!f || !flags) return InvalidParameter;
  *flags = f->Flags;
  return Ok;
}
GpStatus GdipSetStringFormatAlign(GpStringFormat* format, GpStringAlignment align) {
  GpStringFormat* f = Fmt(format);
  if (!f || align < StringAlignmentNear || align > StringAlignmentFar) return InvalidParameter;
  f->Align = align;
  return Ok;
}
GpStatus GdipGetStringFormatAlign(const GpStringFormat* format, GpStringAlignment* align) {
  GpStringFormat* f = Fmt(format);
  if (!f || !align) return InvalidParameter;
  *align = f->Align;
  return Ok;
}
GpStatus GdipSetStringFormatLineAlign(GpStringFormat* format, GpStringAlignment align) {
  GpStringFormat* f = Fmt(format);
  if (!f || align < StringAlignmentNear || align > StringAlignmentFar) return InvalidParameter;
  f->LineAlign = align;
  return Ok;
}
GpStatus GdipGetStringFormatLineAlign(const GpStringFormat* format, GpStringAlignment* align) {
  GpStringFormat* f = Fmt(format);
  if (!f || !align) return InvalidParameter;
  *align = f->LineAlign;
  return Ok;
}
GpStatus GdipSetStringFormatTrimming(GpStringFormat* format, GpStringTrimming trimming) {
  GpStringFormat* f = Fmt(format);
  if (!f || trimming < StringTrimmingNone || trimming > StringTrimmingEllipsisPath) return InvalidParameter;
  f->Trimming = trimming;
  return Ok;
}
GpStatus GdipGetStringFormatTrimming(const GpStringFormat* format, GpStringTrimming* trimming) {
  GpStringFormat* f = Fmt(format);
  if (!f || !trimming) return InvalidParameter;
  *trimming = f->Trimming;
  return Ok;
}
GpStatus GdipSetStringFormatHotkeyPrefix(GpStringFormat* format, INT hotkeyPrefix) {
  GpStringFormat* f = Fmt(format);
  if (!f || hotkeyPrefix < HotkeyPrefixNone || hotkeyPrefix > HotkeyPrefixHide) return InvalidParameter;
  f->Hotkey = hotkeyPrefix;
  return Ok;
}
GpStatus GdipGetStringFormatHotkeyPrefix(const GpStringFormat* format, INT* hotkeyPrefix) {
  GpStringFormat* f = Fmt(format);
  if (!f || !hotkeyPrefix) return InvalidParameter;
  *hotkeyPrefix = f->Hotkey;
  return Ok;
}
GpStatus GdipSetStringFormatTabStops(GpStringFormat* format, REAL firstTabOffset, INT count, const REAL* tabStops) {
  GpStringFormat* f = Fmt(format);
  if (!f || count < 0 || count > 1024 || (count > 0 && !tabStops) || firstTabOffset < 0) return InvalidParameter;
  f->FirstTab = firstTabOffset;
  f->Tabs.assign(tabStops, tabStops + count);
  return Ok;
}
GpStatus GdipGetStringFormatTabStops(const GpStringFormat* format, INT count, REAL* firstTabOffset, REAL* tabStops) {
  GpStringFormat* f = Fmt(format);
  if (!f || !firstTabOffset || !tabStops || count < 0) return InvalidParameter;
  *firstTabOffset = f->FirstTab;
  for (INT i = 0; i < count && std::size_t(i) < f->Tabs.size(); ++i) tabStops[i] = f->Tabs[std::size_t(i)];
  return Ok;
}
GpStatus GdipGetStringFormatTabStopCount(const GpStringFormat* format, INT* count) {
  GpStringFormat* f = Fmt(format);
  if (!f || !count) return InvalidParameter;
  *count = INT(f->Tabs.size());
  return Ok;
}
GpStatus GdipSetStringFormatDigitSubstitution(GpStringFormat* format, Word language, GpStringDigitSubstitute substitute) {
  GpStringFormat* f = Fmt(format);
  if (!f || substitute < StringDigitSubstituteUser || substitute > StringDigitSubstituteTraditional) return InvalidParameter;
  f->DigitLanguage = language;
  f->Digits = substitute;
  return Ok;
}
GpStatus GdipGetStringFormatDigitSubstitution(const GpStringFormat* format, Word* language,
                                              GpStringDigitSubstitute* substitute) {
  GpStringFormat* f = Fmt(format);
  if (!f) return InvalidParameter;
  if (language) *language = f->DigitLanguage;
  if (substitute) *substitute = f->Digits;
  return Ok;
}
GpStatus GdipSetStringFormatMeasurableCharacterRanges(GpStringFormat* format, INT rangeCount,
                                                      const GpCharacterRange* ranges) {
  GpStringFormat* f = Fmt(format);
  if (!f || rangeCount < 0 || (rangeCount > 0 && !ranges)) return InvalidParameter;
  if (rangeCount > 32) return ValueOverflow;
  f->Ranges.assign(ranges, ranges + rangeCount);
  return Ok;
}
GpStatus GdipGetStringFormatMeasurableCharacterRangeCount(const GpStringFormat* format, INT* count) {
  GpStringFormat* f = Fmt(format);
  if (!f || !count) return InvalidParameter;
  *count = INT(f->Ranges.size());
  return Ok;
}

// ---- Drawing and measuring ------------------------------------------------

namespace {

struct TTextArgs {
  GpGraphics* G = nullptr;
  GpFont* Font = nullptr;
  GpStringFormat* Format = nullptr;
};

// Glyphs cannot be made under a transform that is not finite or that flattens
// the text to a line or a point (the toolkit's glyph loader then fails hard);
// such text would not be visible anyway, so the call is refused.
bool TextTransformUsable(const QTransform& t) {
  const double m[] = {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()};
  for (double v : m)
    if (!std::isfinite(v)) return false;
  const double det = t.m11() * t.m22() - t.m12() * t.m21();
  return std::isfinite(det) && std::fabs(det) >= 1e-9;
}

GpStatus TextArgs(GpGraphics* graphics, const GpFont* font, const GpStringFormat* format, TTextArgs& a) {
  a.G = Get(graphics, TKind::Graphics);
  a.Font = Fnt(font);
  a.Format = format ? Fmt(format) : nullptr;
  if (!a.G || !a.Font || (format && !a.Format)) return InvalidParameter;
  if (a.G->OutDc) return ObjectBusy;
  return Ok;
}

}  // namespace

GpStatus GdipDrawString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                        const GpRectF* layoutRect, const GpStringFormat* stringFormat, const GpBrush* brush) {
  TTextArgs a;
  if (!string || !layoutRect) return InvalidParameter;
  if (GpStatus s = TextArgs(graphics, font, stringFormat, a); s != Ok) return s;
  GpBrush* b = Get(brush, TKind::Brush);
  if (!b) return InvalidParameter;
  QRectF rect(layoutRect->X, layoutRect->Y, layoutRect->Width, layoutRect->Height);
  if (!TextTransformUsable(a.G->DeviceTransform())) return InvalidParameter;
  TLayout L = Layout(ToQString(string, length), a.Font, a.Format, rect, 96, false);
  if (L.Lines.empty()) return Ok;
  GpGraphics::TPaint p(a.G);
  if (!p) return GenericError;
  const bool noClip = a.Format && (a.Format->Flags & StringFormatFlagsNoClip);
  if (!noClip && rect.width() > 0 && rect.height() > 0) p->setClipRect(rect, Qt::IntersectClip);
  GpTextRenderingHint hint = a.G->State.TextHint;
  QFont qfont = L.Font;
  if (hint == TextRenderingHintSingleBitPerPixel || hint == TextRenderingHintSingleBitPerPixelGridFit)
    qfont.setStyleStrategy(QFont::NoAntialias);
  else if (hint != TextRenderingHintSystemDefault)
    qfont.setStyleStrategy(QFont::PreferAntialias);
  p->setRenderHint(QPainter::TextAntialiasing, hint != TextRenderingHintSingleBitPerPixel &&
                                                   hint != TextRenderingHintSingleBitPerPixelGridFit);
  p->setFont(qfont);
  QBrush qb = b->Type == BrushTypePathGradient ? QBrush(ToQColor(b->CenterColor)) : ToQBrush(b, a.G->State.Origin);
  p->setPen(QPen(qb, 0));
  QFontMetricsF fm(qfont);
  for (const TLine& ln : L.Lines) {
    p->drawText(QPointF(ln.Pos.x(), ln.Pos.y() + L.Ascent), ln.Text);
    for (int u : L.Underline) {
      if (u < ln.Start || u >= ln.Start + int(ln.Text.size())) continue;
      double x = ln.Pos.x() + fm.horizontalAdvance(ln.Text.left(u - ln.Start));
      double w = fm.horizontalAdvance(ln.Text.mid(u - ln.Start, 1));
      p->fillRect(QRectF(x, ln.Pos.y() + L.Ascent + fm.underlinePos(), w, std::max(1.0, fm.lineWidth())), qb);
    }
  }
  return Ok;
}

GpStatus GdipMeasureString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                           const GpRectF* layoutRect, const GpStringFormat* stringFormat, GpRectF* boundingBox,
                           INT* codepointsFitted, INT* linesFilled) {
  TTextArgs a;
  if (!string || !layoutRect || !boundingBox) return InvalidParameter;
  if (GpStatus s = TextArgs(graphics, font, stringFormat, a); s != Ok) return s;
  QRectF rect(layoutRect->X, layoutRect->Y, layoutRect->Width, layoutRect->Height);
  QString text = ToQString(string, length);
  TLayout L = Layout(text, a.Font, a.Format, rect, 96);
  *boundingBox = {REAL(L.Box.x()), REAL(L.Box.y()), REAL(L.Box.width()), REAL(L.Box.height())};
  if (codepointsFitted) {
    // Back to source positions (hotkey prefixes count as fitted characters).
    int fitted = L.Fitted;
    *codepointsFitted = fitted >= int(L.SourceIndex.size()) ? INT(text.size()) : INT(L.SourceIndex[std::size_t(fitted)]);
  }
  if (linesFilled) *linesFilled = INT(L.Lines.size());
  return Ok;
}

GpStatus GdipMeasureCharacterRanges(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                                    const GpRectF* layoutRect, const GpStringFormat* stringFormat, INT regionCount,
                                    GpRegion** regions) {
  TTextArgs a;
  if (!string || !layoutRect || !regions || regionCount <= 0) return InvalidParameter;
  if (GpStatus s = TextArgs(graphics, font, stringFormat, a); s != Ok) return s;
  if (!a.Format || std::size_t(regionCount) < a.Format->Ranges.size()) return InvalidParameter;
  for (std::size_t i = 0; i < a.Format->Ranges.size(); ++i)
    if (!Alive(regions[i], TKind::Region)) return InvalidParameter;
  QString text = ToQString(string, length);
  QRectF rect(layoutRect->X, layoutRect->Y, layoutRect->Width, layoutRect->Height);
  TLayout L = Layout(text, a.Font, a.Format, rect, 96);
  QFontMetricsF fm(L.Font);
  for (std::size_t i = 0; i < a.Format->Ranges.size(); ++i) {
    const GpCharacterRange& r = a.Format->Ranges[i];
    if (r.First < 0 || r.Length < 0 || r.First + r.Length > text.size()) return InvalidParameter;
    QPainterPath area;
    for (const TLine& ln : L.Lines) {
      int s = std::max(r.First, ln.Start), e = std::min(r.First + r.Length, ln.Start + int(ln.Text.size()));
      if (s >= e) continue;
      double x0 = ln.Pos.x() + fm.horizontalAdvance(ln.Text.left(s - ln.Start));
      double x1 = ln.Pos.x() + fm.horizontalAdvance(ln.Text.left(e - ln.Start));
      area.addRect(QRectF(x0, ln.Pos.y(), x1 - x0, L.LineHeight));
    }
    regions[i]->Set(area);
  }
  return Ok;
}

GpStatus GdipDrawDriverString(GpGraphics* graphics, const UINT16* text, INT length, const GpFont* font,
                              const GpBrush* brush, const GpPointF* positions, INT flags, const GpMatrix* matrix) {
  TTextArgs a;
  if (!text || !positions || length < -1) return InvalidParameter;
  if (GpStatus s = TextArgs(graphics, font, nullptr, a); s != Ok) return s;
  GpBrush* b = Get(brush, TKind::Brush);
  if (!b || (matrix && !Alive(matrix, TKind::Matrix))) return InvalidParameter;
  if (!(flags & DriverStringOptionsCmapLookup)) return NotImplemented;  // glyph indexes are not addressed here
  if (!TextTransformUsable(matrix ? matrix->M * a.G->DeviceTransform() : a.G->DeviceTransform()))
    return InvalidParameter;
  QString s = ToQString(reinterpret_cast<const WCHAR*>(text), length);
  GpGraphics::TPaint p(a.G);
  if (!p) return GenericError;
  if (matrix) p->setWorldTransform(matrix->M, true);
  QFont qf = a.Font->ToQFont(a.Font->EmPixels(96));
  p->setFont(qf);
  p->setPen(QPen(ToQBrush(b, a.G->State.Origin), 0));
  QFontMetricsF fm(qf);
  QPointF at(positions[0].X, positions[0].Y);
  for (int i = 0; i < s.size(); ++i) {
    QPointF pos = (flags & DriverStringOptionsRealizedAdvance) ? at : QPointF(positions[i].X, positions[i].Y);
    p->drawText(pos, QString(s[i]));
    at.rx() += fm.horizontalAdvance(s[i]);
  }
  return Ok;
}

GpStatus GdipMeasureDriverString(GpGraphics* graphics, const UINT16* text, INT length, const GpFont* font,
                                 const GpPointF* positions, INT flags, const GpMatrix* matrix, GpRectF* boundingBox) {
  TTextArgs a;
  if (!text || !positions || !boundingBox || length < -1) return InvalidParameter;
  if (GpStatus s = TextArgs(graphics, font, nullptr, a); s != Ok) return s;
  if (matrix && !Alive(matrix, TKind::Matrix)) return InvalidParameter;
  if (!(flags & DriverStringOptionsCmapLookup)) return NotImplemented;
  QString s = ToQString(reinterpret_cast<const WCHAR*>(text), length);
  QFontMetricsF fm(a.Font->ToQFont(a.Font->EmPixels(96)));
  QRectF box;
  QPointF at(positions[0].X, positions[0].Y);
  for (int i = 0; i < s.size(); ++i) {
    QPointF pos = (flags & DriverStringOptionsRealizedAdvance) ? at : QPointF(positions[i].X, positions[i].Y);
    double w = fm.horizontalAdvance(s[i]);
    box = box.united(QRectF(pos.x(), pos.y() - fm.ascent(), w, fm.height()));
    at.rx() += w;
  }
  if (matrix) box = matrix->M.mapRect(box);
  *boundingBox = {REAL(box.x()), REAL(box.y()), REAL(box.width()), REAL(box.height())};
  return Ok;
}

GpStatus GdipAddPathString(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family, INT style,
                           REAL emSize, const GpRectF* layoutRect, const GpStringFormat* format) {
  GpPath* p = Get(path, TKind::Path);
  GpFontFamily* f = Fam(family);
  if (!p || !f || !string || !layoutRect || !(emSize > 0) || (format && !Alive(format, TKind::StringFormat)))
    return InvalidParameter;
  GpFont font;
  font.Family.Name = f->Name;
  font.Family.Face = f->Face;
  font.EmSize = emSize;
  font.Style = style;
  font.Unit = UnitPixel;
  QRectF rect(layoutRect->X, layoutRect->Y, layoutRect->Width, layoutRect->Height);
  TLayout L = Layout(ToQString(string, length), &font, format, rect, 96);
  QPainterPath text;
  for (const TLine& ln : L.Lines) text.addText(QPointF(ln.Pos.x(), ln.Pos.y() + L.Ascent), L.Font, ln.Text);
  GpPath add;
  add.FromQt(text, false);
  for (std::size_t i = 0; i < add.Points.size(); ++i) {
    p->Points.push_back(add.Points[i]);
    p->Types.push_back(add.Types[i]);
  }
  if (!add.Points.empty()) p->StartNew = true;
  return Ok;
}

GpStatus GdipAddPathStringI(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family, INT style,
                            REAL emSize, const GpRect* layoutRect, const GpStringFormat* format) {
  if (!layoutRect) return InvalidParameter;
  GpRectF r{REAL(layoutRect->X), REAL(layoutRect->Y), REAL(layoutRect->Width), REAL(layoutRect->Height)};
  return GdipAddPathString(path, string, length, family, style, emSize, &r, format);
}
