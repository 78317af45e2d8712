// Text: metrics, extents, TextOut/ExtTextOut and DrawText's formatting.
#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/gdi/GdiInternal.h"
#include "platform/rtl/QtString.h"

namespace gdi_internal {
namespace {

int TextLength(const WCHAR* text, int count) {
  if (!text) return 0;
  if (count >= 0) return count;
  int n = 0;
  // Bounded: a missing terminator must not run away.
  while (n < (1 << 24) && text[n]) ++n;
  return n;
}

TGdiFont* ReadyFont(HDC__* d) {
  TGdiFont* f = d->State.Font.get();
  return f && f->Prepare() ? f : nullptr;
}

int CellHeight(const TGdiFont* f) { return f->Ascent + f->Descent; }

// Coordinates and sizes beyond this are far outside any surface: callers'
// extreme rectangles, margins and tab lengths are clamped to it, so the
// arithmetic on them cannot overflow.
constexpr Int64 kFar = Int64(1) << 29;  // a QRect at -kFar..kFar of size kFar stays in int
int Far(Int64 v) { return int(std::clamp(v, -kFar, kFar)); }

// x moved over s, tabs expanded to the next multiple of tabWidth when
// tabWidth > 0.
Int64 Advanced(TGdiFont* f, Int64 x, const QString& s, int tabWidth) {
  if (tabWidth <= 0 || !s.contains(u'\t')) return x + f->Advance(s);
  const auto parts = s.split(u'\t');
  for (qsizetype i = 0; i < parts.size(); ++i) {
    x += f->Advance(parts[i]);
    if (i + 1 < parts.size()) x = (x / tabWidth + 1) * tabWidth;
  }
  return x;
}

// Width of a line.
int LineWidth(TGdiFont* f, const QString& s, int tabWidth) { return Far(Advanced(f, 0, s, tabWidth)); }

// The largest n in [0, hi] for which fits(n) holds, 0 when none; fits must
// not turn true again once false (a longer prefix is never narrower).
template <class Fits>
qsizetype LongestFitting(qsizetype hi, Fits fits) {
  qsizetype lo = 0;
  while (lo < hi) {
    const qsizetype mid = lo + (hi - lo + 1) / 2;
    if (fits(mid)) lo = mid;
    else hi = mid - 1;
  }
  return lo;
}

void PrepareTextPainter(QPainter* p, HDC__* d, TGdiFont* f) {
  p->setFont(f->Font);
  p->setPen(ToQColor(d->State.TextColor));
  p->setBrush(Qt::NoBrush);
}

// Draws one line with its top-left at (x, y) in device coordinates.
// underline: ascending indexes.
void DrawLine(QPainter* p, HDC__* d, TGdiFont* f, Int64 x, Int64 y, const QString& s, int tabWidth,
              const std::vector<int>& underline) {
  int width = LineWidth(f, s, tabWidth);
  if (d->State.BkMode == OPAQUE) p->fillRect(QRect(Far(x), Far(y), width, CellHeight(f)), ToQColor(d->State.BkColor));
  PrepareTextPainter(p, d, f);
  const int baseline = Far(y + f->Ascent);
  if (tabWidth > 0 && s.contains(u'\t')) {
    Int64 cx = 0;
    const auto parts = s.split(u'\t');
    for (qsizetype i = 0; i < parts.size(); ++i) {
      p->drawText(QPoint(Far(x + cx), baseline), parts[i]);
      cx += f->Advance(parts[i]);
      if (i + 1 < parts.size()) cx = (cx / tabWidth + 1) * tabWidth;
    }
  } else if (!s.isEmpty()) {
    p->drawText(QPoint(Far(x), baseline), s);
  }
  // Each mark's offset from the previous one: one pass over the line.
  Int64 ux = 0;
  qsizetype measured = 0;
  for (int i : underline) {
    if (i < measured || i >= s.size()) continue;
    ux = Advanced(f, ux, s.mid(measured, i - measured), tabWidth);
    measured = i;
    int uw = std::max(1, f->Advance(s.mid(i, 1)));
    int uy = Far(Int64(baseline) + std::max(1, f->Metrics->underlinePos()));
    p->fillRect(QRect(Far(x + ux), uy, uw, std::max(1, f->Metrics->lineWidth())), ToQColor(d->State.TextColor));
  }
}

struct TLine {
  QString Text;
  std::vector<int> Underline;  // indexes of prefixed characters
  int Width = 0;
};

// Removes prefix characters: "&x" underlines x, "&&" is "&".
void StripPrefixes(const QString& in, QString& out, std::vector<int>& marks, bool keepMarks) {
  out.clear();
  for (qsizetype i = 0; i < in.size(); ++i) {
    if (in[i] == u'&') {
      if (i + 1 >= in.size()) break;  // a lone trailing prefix shows nothing
      ++i;
      if (in[i] != u'&' && keepMarks) marks.push_back(int(out.size()));
    }
    out.append(in[i]);
  }
}

// Fits s into width with an ellipsis according to the flags.
void Ellipsize(TGdiFont* f, TLine& line, int width, UINT format, int tabWidth) {
  if (line.Width <= width) return;
  const QString dots = QStringLiteral("...");
  const QString& s = line.Text;
  QString result;
  if (format & DT_PATH_ELLIPSIS) {
    qsizetype sep = std::max(s.lastIndexOf(u'\\'), s.lastIndexOf(u'/'));
    if (sep > 0) {
      QString tail = s.mid(sep);
      qsizetype keep =
          LongestFitting(sep, [&](qsizetype n) { return LineWidth(f, s.left(n) + dots + tail, tabWidth) <= width; });
      result = s.left(keep) + dots + tail;
    }
  }
  if (result.isEmpty()) {
    qsizetype keep = LongestFitting(s.size(), [&](qsizetype n) { return LineWidth(f, s.left(n) + dots, tabWidth) <= width; });
    if ((format & DT_WORD_ELLIPSIS) && keep < s.size()) {
      qsizetype wordEnd = keep;
      while (wordEnd > 0 && !s[wordEnd].isSpace()) --wordEnd;
      if (wordEnd > 0) keep = wordEnd;
    }
    while (keep > 0 && s[keep - 1].isSpace()) --keep;
    result = s.left(keep) + dots;
    std::erase_if(line.Underline, [&](int i) { return i >= keep; });
  }
  line.Text = result;
  line.Width = LineWidth(f, result, tabWidth);
}

// Splits a paragraph into lines no wider than width, breaking after spaces;
// a word wider than the line stays whole. marks: ascending indexes.
void WrapParagraph(TGdiFont* f, const QString& text, const std::vector<int>& marks, int width, int tabWidth,
                   std::vector<TLine>& out) {
  const qsizetype n = text.size();
  if (n == 0) {
    out.push_back({});
    return;
  }
  // Where words end (a line may break there), the paragraph's end last.
  std::vector<qsizetype> ends;
  for (qsizetype i = 1; i <= n; ++i)
    if (text[i - 1] != u' ' && (i == n || text[i] == u' ')) ends.push_back(i);
  if (ends.empty() || ends.back() != n) ends.push_back(n);
  const qsizetype count = qsizetype(ends.size());
  qsizetype start = 0, first = 0, mark = 0;
  while (start < n) {
    while (ends[first] <= start) ++first;
    auto fits = [&](qsizetype j) {
      qsizetype e = ends[j];
      while (e > start && text[e - 1] == u' ') --e;
      return LineWidth(f, text.mid(start, e - start), tabWidth) <= width;
    };
    // The first word always; then as many as fit, found by doubling and
    // halving so that each line measures little beyond its own length.
    qsizetype last = first;
    if (fits(first)) {
      qsizetype bad = count, step = 1;
      while (last + step < count) {
        if (!fits(last + step)) {
          bad = last + step;
          break;
        }
        last += step;
        step *= 2;
      }
      while (bad - last > 1) {
        const qsizetype mid = last + (bad - last) / 2;
        if (fits(mid)) last = mid;
        else bad = mid;
      }
    }
    const qsizetype end = ends[last];
    TLine line;
    qsizetype visibleEnd = end;
    while (visibleEnd > start && text[visibleEnd - 1] == u' ') --visibleEnd;
    line.Text = text.mid(start, visibleEnd - start);
    while (mark < qsizetype(marks.size()) && marks[size_t(mark)] < start) ++mark;
    for (qsizetype m = mark; m < qsizetype(marks.size()) && marks[size_t(m)] < visibleEnd; ++m)
      line.Underline.push_back(int(marks[size_t(m)] - start));
    line.Width = LineWidth(f, line.Text, tabWidth);
    out.push_back(std::move(line));
    start = end;
    while (start < n && text[start] == u' ') ++start;
  }
}

}  // namespace

int DrawTextImpl(HDC dc, StringView text, RECT* r, UINT format, DRAWTEXTPARAMS* params) {
  HDC__* d = LookupDC(dc);
  if (!d || !r) return 0;
  TGdiFont* f = ReadyFont(d);
  if (!f) return 0;
  // In 64 bits: extreme rectangles and margins must not overflow.
  const Int64 margins = params ? Int64(params->iLeftMargin) + params->iRightMargin : 0;
  const Int64 left = Int64(r->Left) + (params ? params->iLeftMargin : 0);
  const Int64 right = Int64(r->Right) - (params ? params->iRightMargin : 0);
  const Int64 top = r->Top, bottom = r->Bottom;
  if (params) params->uiLengthDrawn = UINT(text.size());
  int tabWidth = 0;
  if (format & DT_EXPANDTABS) {
    int chars = (format & DT_TABSTOP) ? int((format >> 8) & 0xFF) : (params && params->iTabLength > 0 ? params->iTabLength : 8);
    tabWidth = Far(Int64(std::max(1, chars)) * std::max(1, f->AveWidth));
  }
  const bool single = format & DT_SINGLELINE;
  const bool prefixes = !(format & DT_NOPREFIX);
  const int lineHeight = CellHeight(f) + ((format & DT_EXTERNALLEADING) ? f->ExternalLeading : 0);
  const int width = Far(right - left);

  // Paragraphs, prefixes, wrapping and ellipses.
  QString all = QString::fromUtf16(text.data(), qsizetype(text.size()));
  QStringList paragraphs;
  if (single) {
    all.remove(u'\r');
    all.remove(u'\n');
    paragraphs << all;
  } else {
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    all.replace(u'\r', u'\n');
    paragraphs = all.split(u'\n');
  }
  std::vector<TLine> lines;
  for (const QString& para : paragraphs) {
    QString shown;
    std::vector<int> marks;
    if (prefixes) StripPrefixes(para, shown, marks, !(format & DT_HIDEPREFIX));
    else shown = para;
    if ((format & DT_WORDBREAK) && !single) {
      WrapParagraph(f, shown, marks, width, tabWidth, lines);
    } else {
      TLine line{shown, marks, LineWidth(f, shown, tabWidth)};
      lines.push_back(std::move(line));
    }
  }
  if (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS))
    for (TLine& line : lines) Ellipsize(f, line, width, format, tabWidth);

  int maxWidth = 0;
  for (const TLine& line : lines) maxWidth = std::max(maxWidth, line.Width);
  const Int64 total = Int64(lines.size()) * lineHeight;
  auto clampInt = [](Int64 v) { return int(std::clamp<Int64>(v, INT_MIN, INT_MAX)); };

  if (format & DT_CALCRECT) {
    r->Right = clampInt(Int64(r->Left) + maxWidth + margins);
    r->Bottom = clampInt(Int64(r->Top) + total);
    return clampInt(total);
  }

  Int64 y = top;
  if (single && (format & DT_VCENTER)) y = top + (bottom - top - lineHeight) / 2;
  else if (single && (format & DT_BOTTOM)) y = bottom - lineHeight;

  QPainter* p = BeginPainting(d);
  if (!p) return 0;
  // Logical to device, in 64 bits.
  const Int64 dx = Int64(d->State.ViewportOrg.x()) - d->State.WindowOrg.x();
  const Int64 dy = Int64(d->State.ViewportOrg.y()) - d->State.WindowOrg.y();
  p->save();
  if (!(format & DT_NOCLIP))
    p->setClipRect(QRect(Far(left + dx), Far(top + dy), Far(right - left), Far(bottom - top)), Qt::IntersectClip);
  if (format & DT_RTLREADING) p->setLayoutDirection(Qt::RightToLeft);
  Int64 ly = y;
  for (const TLine& line : lines) {
    Int64 x = left;
    if (format & DT_CENTER) x = left + (Int64(width) - line.Width) / 2;
    else if (format & DT_RIGHT) x = right - line.Width;
    DrawLine(p, d, f, x + dx, ly + dy, line.Text, tabWidth, line.Underline);
    ly += lineHeight;
  }
  p->restore();
  if (single && (format & (DT_VCENTER | DT_BOTTOM))) return clampInt(y - top + lineHeight);
  return clampInt(total);
}

}  // namespace gdi_internal

using namespace gdi_internal;

BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* tm) {
  HDC__* d = LookupDC(dc);
  if (!d || !tm) return FALSE;
  TGdiFont* f = ReadyFont(d);
  if (!f) return FALSE;
  *tm = {};
  tm->tmAscent = f->Ascent;
  tm->tmDescent = f->Descent;
  tm->tmHeight = CellHeight(f);
  tm->tmInternalLeading = std::max(0, tm->tmHeight - f->EmHeight);
  tm->tmExternalLeading = f->ExternalLeading;
  tm->tmAveCharWidth = f->AveWidth;
  tm->tmMaxCharWidth = f->MaxWidth;
  tm->tmWeight = f->Log.lfWeight <= 0 ? FW_NORMAL : f->Log.lfWeight;
  tm->tmItalic = f->Log.lfItalic;
  tm->tmUnderlined = f->Log.lfUnderline;
  tm->tmStruckOut = f->Log.lfStrikeOut;
  tm->tmCharSet = f->Log.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : f->Log.lfCharSet;
  // Bit 0 set: variable pitch, as GDI reports it. The project's fonts are all
  // outline fonts, so the vector and TrueType bits are always set.
  tm->tmPitchAndFamily = Byte((f->Font.fixedPitch() ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE);
  tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = ScreenPixelsPerInch();
  return TRUE;
}

BOOL GetTextExtentPoint32W(HDC dc, const WCHAR* text, int count, SIZE* size) {
  HDC__* d = LookupDC(dc);
  if (!d || !size || count < 0 || (count > 0 && !text)) return FALSE;
  TGdiFont* f = ReadyFont(d);
  if (!f) return FALSE;
  size->cx = f->Advance(ToQString(text, count));
  size->cy = CellHeight(f);
  return TRUE;
}

namespace {

// Draws a run at (x, y) (top-left of its cell, device coordinates), turned by
// the font's escapement, with optional per-character advances.
void OutputRun(HDC__* d, TGdiFont* f, QPainter* p, QPoint at, const QString& s, const int* dx, bool fillCell) {
  p->save();
  p->translate(at);
  double angle = f->Log.lfEscapement / 10.0;
  if (angle != 0) p->rotate(-angle);
  int width = 0;
  if (dx) {
    for (qsizetype i = 0; i < s.size(); ++i) width += dx[i];
  } else {
    width = f->Advance(s);
  }
  if (fillCell) p->fillRect(QRect(0, 0, width, CellHeight(f)), ToQColor(d->State.BkColor));
  PrepareTextPainter(p, d, f);
  if (dx) {
    int x = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
      p->drawText(QPoint(x, f->Ascent), s.mid(i, 1));
      x += dx[i];
    }
  } else {
    p->drawText(QPoint(0, f->Ascent), s);
  }
  p->restore();
}

}  // namespace

BOOL TextOutW(HDC dc, int x, int y, const WCHAR* text, int count) {
  return ExtTextOutW(dc, x, y, 0, nullptr, text, UINT(std::max(0, count)), nullptr);
}

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* r, const WCHAR* text, UINT count, const int* dx) {
  HDC__* d = LookupDC(dc);
  if (!d || count > (1u << 24) || (count && !text)) return FALSE;
  TGdiFont* f = ReadyFont(d);
  QPainter* p = BeginPainting(d);
  if (!p) return FALSE;
  p->save();
  if (r && (options & (ETO_OPAQUE | ETO_CLIPPED))) {
    QPoint a = ToDevice(d, r->Left, r->Top);
    QRect dr(a.x(), a.y(), r->Right - r->Left, r->Bottom - r->Top);
    if (options & ETO_OPAQUE) p->fillRect(dr, ToQColor(d->State.BkColor));
    if (options & ETO_CLIPPED) p->setClipRect(dr, Qt::IntersectClip);
  }
  if (f && count) {
    bool fillCell = d->State.BkMode == OPAQUE && !(r && (options & ETO_OPAQUE));
    OutputRun(d, f, p, ToDevice(d, x, y), ToQString(text, int(count)), dx, fillCell);
  }
  p->restore();
  return f || !count ? TRUE : FALSE;
}

int DrawTextW(HDC dc, const WCHAR* text, int count, RECT* r, UINT format) {
  return DrawTextExW(dc, text, count, r, format, nullptr);
}

int DrawTextExW(HDC dc, const WCHAR* text, int count, RECT* r, UINT format, DRAWTEXTPARAMS* params) {
  int n = TextLength(text, count);
  return DrawTextImpl(dc, StringView(text ? text : u"", size_t(n)), r, format, params);
}
