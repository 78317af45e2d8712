// Brushes (solid, hatch, texture, linear and path gradients), pens and
// custom line caps.
#include <QLinearGradient>
#include <cmath>

#include "platform/gdiplus/GdiPlusInternal.h"

using namespace gdiplus_internal;

namespace {

GpBrush* B(const GpBrush* b) { return Get(b, TKind::Brush); }
GpBrush* B(const GpBrush* b, GpBrushType type) {
  GpBrush* x = B(b);
  return x && x->Type == type ? x : nullptr;
}
GpPen* Pn(const GpPen* p) { return Get(p, TKind::Pen); }
GpCustomLineCap* Cap(const GpCustomLineCap* c) { return Get(c, TKind::CustomLineCap); }

ARGB Lerp(ARGB a, ARGB b, double t, bool gamma) {
  auto ch = [&](int shift) {
    double x = (a >> shift) & 0xff, y = (b >> shift) & 0xff;
    double v;
    if (gamma && shift != 24) {
      // Interpolate in linear light.
      double lx = std::pow(x / 255.0, 2.2), ly = std::pow(y / 255.0, 2.2);
      v = std::pow(lx + (ly - lx) * t, 1 / 2.2) * 255.0;
    } else {
      v = x + (y - x) * t;
    }
    return ARGB(std::clamp(std::lround(v), 0L, 255L)) << shift;
  };
  return ch(24) | ch(16) | ch(8) | ch(0);
}

double Interp(const std::vector<REAL>& xs, const std::vector<REAL>& ys, double t) {
  if (xs.size() < 2) return t;
  if (t <= xs.front()) return ys.front();
  for (std::size_t i = 1; i < xs.size(); ++i)
    if (t <= xs[i]) {
      double span = xs[i] - xs[i - 1];
      double f = span > 0 ? (t - xs[i - 1]) / span : 1;
      return ys[i - 1] + (ys[i] - ys[i - 1]) * f;
    }
  return ys.back();
}

bool ValidHatch(GpHatchStyle s) { return s >= HatchStyleMin && s <= HatchStyleMax; }

// Bell-shaped or triangular blend as GDI+ builds them: rising to scale at
// focus and falling back on the far side.
void MakeShapeBlend(GpBrush* b, REAL focus, REAL scale, bool bell) {
  b->PresetColors.clear();
  b->PresetPositions.clear();
  std::vector<REAL> pos, fac;
  const int n = bell ? 33 : 3;
  if (!bell) {
    pos = {0, focus, 1};
    fac = {0, scale, 0};
    if (focus <= 0) pos = {0, 1}, fac = {scale, 0};
    else if (focus >= 1) pos = {0, 1}, fac = {0, scale};
  } else {
    for (int i = 0; i < n; ++i) {
      double t = double(i) / (n - 1);
      double d = t < focus ? (focus > 0 ? (focus - t) / focus : 0) : (focus < 1 ? (t - focus) / (1 - focus) : 0);
      pos.push_back(REAL(t));
      fac.push_back(REAL(scale * std::exp(-d * d * 4.5)));  // bell curve, ~0 at the ends
    }
  }
  b->BlendPositions = pos;
  b->BlendFactors = fac;
}

GpStatus SetBlend(GpBrush* b, const REAL* blend, const REAL* positions, INT count) {
  if (!b || !blend || !positions || count <= 0 || count > (1 << 16)) return InvalidParameter;
  if (count >= 2 && (positions[0] != 0 || positions[count - 1] != 1)) return InvalidParameter;
  b->BlendFactors.assign(blend, blend + count);
  b->BlendPositions.assign(positions, positions + count);
  b->PresetColors.clear();
  b->PresetPositions.clear();
  return Ok;
}

GpStatus GetBlend(GpBrush* b, REAL* blend, REAL* positions, INT count) {
  if (!b || !blend || !positions || count <= 0) return InvalidParameter;
  if (std::size_t(count) < b->BlendFactors.size()) return InsufficientBuffer;
  std::copy(b->BlendFactors.begin(), b->BlendFactors.end(), blend);
  std::copy(b->BlendPositions.begin(), b->BlendPositions.end(), positions);
  return Ok;
}

GpStatus SetPreset(GpBrush* b, const ARGB* colors, const REAL* positions, INT count) {
  if (!b || !colors || !positions || count < 2 || count > (1 << 16)) return InvalidParameter;
  if (positions[0] != 0 || positions[count - 1] != 1) return InvalidParameter;
  b->PresetColors.assign(colors, colors + count);
  b->PresetPositions.assign(positions, positions + count);
  return Ok;
}

GpStatus GetPreset(GpBrush* b, ARGB* colors, REAL* positions, INT count) {
  if (!b || !colors || !positions || count < 2) return InvalidParameter;
  if (b->PresetColors.empty()) return GenericError;  // no preset blend set
  if (std::size_t(count) < b->PresetColors.size()) return InsufficientBuffer;
  std::copy(b->PresetColors.begin(), b->PresetColors.end(), colors);
  std::copy(b->PresetPositions.begin(), b->PresetPositions.end(), positions);
  return Ok;
}

GpStatus MulT(QTransform& t, const GpMatrix* m, GpMatrixOrder order) {
  if (!Alive(m, TKind::Matrix) || !ValidMatrixOrder(order)) return InvalidParameter;
  Combine(t, m->M, order);
  return Ok;
}
GpStatus TransT(QTransform& t, REAL dx, REAL dy, GpMatrixOrder order) {
  if (!ValidMatrixOrder(order)) return InvalidParameter;
  Combine(t, QTransform::fromTranslate(dx, dy), order);
  return Ok;
}
GpStatus ScaleT(QTransform& t, REAL sx, REAL sy, GpMatrixOrder order) {
  if (!ValidMatrixOrder(order)) return InvalidParameter;
  Combine(t, QTransform::fromScale(sx, sy), order);
  return Ok;
}
GpStatus RotT(QTransform& t, REAL a, GpMatrixOrder order) {
  if (!ValidMatrixOrder(order)) return InvalidParameter;
  Combine(t, RotationTransform(a), order);
  return Ok;
}
GpStatus SetT(QTransform& t, const GpMatrix* m) {
  if (!Alive(m, TKind::Matrix)) return InvalidParameter;
  if (std::fabs(m->M.determinant()) < 1e-12) return InvalidParameter;
  t = m->M;
  return Ok;
}
GpStatus GetT(const QTransform& t, GpMatrix* m) {
  if (!Alive(m, TKind::Matrix)) return InvalidParameter;
  m->M = t;
  return Ok;
}

// The accessors that several brush kinds share. Each takes the kind its flat
// function stands for and answers InvalidParameter for a brush of another kind.
template <class F>
GpStatus WithBrush(const GpBrush* brush, GpBrushType type, F f) {
  GpBrush* b = B(brush, type);
  return b ? f(*b) : InvalidParameter;
}
GpStatus BrushRect(const GpBrush* brush, GpBrushType type, GpRectF* rect) {
  return WithBrush(brush, type, [&](GpBrush& b) {
    if (!rect) return InvalidParameter;
    *rect = {REAL(b.Rect.x()), REAL(b.Rect.y()), REAL(b.Rect.width()), REAL(b.Rect.height())};
    return Ok;
  });
}
GpStatus BrushRectI(const GpBrush* brush, GpBrushType type, GpRect* rect) {
  return WithBrush(brush, type, [&](GpBrush& b) {
    if (!rect) return InvalidParameter;
    const QRect r = b.Rect.toRect();
    *rect = {r.x(), r.y(), r.width(), r.height()};
    return Ok;
  });
}
GpStatus SetGamma(const GpBrush* brush, GpBrushType type, BOOL use) {
  return WithBrush(brush, type, [&](GpBrush& b) {
    b.Gamma = use != 0;
    return Ok;
  });
}
GpStatus GetGamma(const GpBrush* brush, GpBrushType type, BOOL* use) {
  return WithBrush(brush, type, [&](GpBrush& b) {
    if (!use) return InvalidParameter;
    *use = b.Gamma ? TRUE : FALSE;
    return Ok;
  });
}
GpStatus BlendCount(const GpBrush* brush, GpBrushType type, INT* count) {
  return WithBrush(brush, type, [&](GpBrush& b) {
    if (!count) return InvalidParameter;
    *count = INT(b.BlendFactors.size());
    return Ok;
  });
}
GpStatus PresetCount(const GpBrush* brush, GpBrushType type, INT* count) {
  return WithBrush(brush, type, [&](GpBrush& b) {
    if (!count) return InvalidParameter;
    *count = INT(b.PresetColors.size());
    return Ok;
  });
}
// Sigma (bell) or linear (triangle) blend around focus.
GpStatus ShapeBlend(const GpBrush* brush, GpBrushType type, REAL focus, REAL scale, bool bell) {
  return WithBrush(brush, type, [&](GpBrush& b) {
    if (focus < 0 || focus > 1 || scale < 0 || scale > 1) return InvalidParameter;
    MakeShapeBlend(&b, focus, scale, bell);
    return Ok;
  });
}
GpStatus SetWrap(const GpBrush* brush, GpBrushType type, GpWrapMode wrap, bool clampAllowed) {
  return WithBrush(brush, type, [&](GpBrush& b) {
    if (!ValidWrapMode(wrap) || (!clampAllowed && wrap == WrapModeClamp)) return InvalidParameter;
    b.Wrap = wrap;
    return Ok;
  });
}
GpStatus GetWrap(const GpBrush* brush, GpBrushType type, GpWrapMode* wrap) {
  return WithBrush(brush, type, [&](GpBrush& b) {
    if (!wrap) return InvalidParameter;
    *wrap = b.Wrap;
    return Ok;
  });
}
GpStatus GetTransform(const GpBrush* brush, GpBrushType type, GpMatrix* m) {
  return WithBrush(brush, type, [&](GpBrush& b) { return GetT(b.Transform, m); });
}
GpStatus SetTransform(const GpBrush* brush, GpBrushType type, const GpMatrix* m) {
  return WithBrush(brush, type, [&](GpBrush& b) { return SetT(b.Transform, m); });
}
GpStatus ResetTransform(const GpBrush* brush, GpBrushType type) {
  return WithBrush(brush, type, [&](GpBrush& b) {
    b.Transform.reset();
    return Ok;
  });
}
GpStatus MultiplyTransform(const GpBrush* brush, GpBrushType type, const GpMatrix* m, GpMatrixOrder order) {
  return WithBrush(brush, type, [&](GpBrush& b) { return MulT(b.Transform, m, order); });
}
GpStatus TranslateTransform(const GpBrush* brush, GpBrushType type, REAL dx, REAL dy, GpMatrixOrder order) {
  return WithBrush(brush, type, [&](GpBrush& b) { return TransT(b.Transform, dx, dy, order); });
}
GpStatus ScaleTransform(const GpBrush* brush, GpBrushType type, REAL sx, REAL sy, GpMatrixOrder order) {
  return WithBrush(brush, type, [&](GpBrush& b) { return ScaleT(b.Transform, sx, sy, order); });
}
GpStatus RotateTransform(const GpBrush* brush, GpBrushType type, REAL angle, GpMatrixOrder order) {
  return WithBrush(brush, type, [&](GpBrush& b) { return RotT(b.Transform, angle, order); });
}

// 8x8 ordered dither thresholds, for the percentage hatches.
constexpr int kBayer[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                              {12, 44, 4, 36, 14, 46, 6, 38},  {60, 28, 52, 20, 62, 30, 54, 22},
                              {3, 35, 11, 43, 1, 33, 9, 41},   {51, 19, 59, 27, 49, 17, 57, 25},
                              {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21}};

// Fixed rows (bit 7 = left pixel) of the hatches that are not simple rules.
constexpr Byte kRows[][8] = {
    {0x80, 0x10, 0x02, 0x20, 0x01, 0x08, 0x40, 0x04},  // small confetti
    {0xB1, 0x30, 0x03, 0x1B, 0xD8, 0xC0, 0x0C, 0x8D},  // large confetti
    {0x81, 0x42, 0x24, 0x18, 0x81, 0x42, 0x24, 0x18},  // zigzag
    {0x00, 0x18, 0xA4, 0x03, 0x00, 0x18, 0xA4, 0x03},  // wave
    {0x01, 0x02, 0x04, 0x08, 0x18, 0x24, 0x42, 0x81},  // diagonal brick
    {0xFF, 0x80, 0x80, 0x80, 0xFF, 0x08, 0x08, 0x08},  // horizontal brick
    {0x88, 0x54, 0x22, 0x45, 0x88, 0x14, 0x22, 0x51},  // weave
    {0xAA, 0x55, 0xAA, 0x55, 0xF0, 0xF0, 0xF0, 0xF0},  // plaid
    {0x80, 0x40, 0x80, 0x00, 0x08, 0x04, 0x08, 0x00},  // divot
    {0xAA, 0x00, 0x80, 0x00, 0x80, 0x00, 0x80, 0x00},  // dotted grid
    {0x80, 0x00, 0x22, 0x00, 0x08, 0x00, 0x22, 0x00},  // dotted diamond
    {0x03, 0x84, 0x48, 0x30, 0x0C, 0x02, 0x01, 0x01},  // shingle
    {0xFF, 0x66, 0xFF, 0x99, 0xFF, 0x66, 0xFF, 0x99},  // trellis
    {0x77, 0x89, 0x8F, 0x8F, 0x77, 0x98, 0xF8, 0xF8},  // sphere
};

bool HatchBit(GpHatchStyle s, int x, int y) {
  auto m = [](int v, int n) { return ((v % n) + n) % n; };
  switch (s) {
    case HatchStyleHorizontal: return y == 0;
    case HatchStyleVertical: return x == 0;
    case HatchStyleForwardDiagonal: return x == y;
    case HatchStyleBackwardDiagonal: return x + y == 7;
    case HatchStyleCross: return x == 0 || y == 0;
    case HatchStyleDiagonalCross: return x == y || x + y == 7;
    case HatchStyleLightDownwardDiagonal: return m(x - y, 4) == 0;
    case HatchStyleLightUpwardDiagonal: return m(x + y, 4) == 3;
    case HatchStyleDarkDownwardDiagonal: return m(x - y, 4) <= 1;
    case HatchStyleDarkUpwardDiagonal: return m(x + y, 4) >= 2;
    case HatchStyleWideDownwardDiagonal: return m(x - y, 8) <= 2;
    case HatchStyleWideUpwardDiagonal: return m(x + y, 8) >= 5;
    case HatchStyleLightVertical: return x % 4 == 0;
    case HatchStyleLightHorizontal: return y % 4 == 0;
    case HatchStyleNarrowVertical: return x % 2 == 0;
    case HatchStyleNarrowHorizontal: return y % 2 == 0;
    case HatchStyleDarkVertical: return x % 4 <= 1;
    case HatchStyleDarkHorizontal: return y % 4 <= 1;
    case HatchStyleDashedDownwardDiagonal: return y < 4 && m(x - y, 4) == 0;
    case HatchStyleDashedUpwardDiagonal: return y < 4 && m(x + y, 4) == 3;
    case HatchStyleDashedHorizontal: return (y == 0 && x < 4) || (y == 4 && x >= 4);
    case HatchStyleDashedVertical: return (x == 0 && y < 4) || (x == 4 && y >= 4);
    case HatchStyleSmallGrid: return x % 4 == 0 || y % 4 == 0;
    case HatchStyleSmallCheckerBoard: return ((x / 2) + (y / 2)) % 2 == 0;
    case HatchStyleLargeCheckerBoard: return ((x / 4) + (y / 4)) % 2 == 0;
    case HatchStyleOutlinedDiamond: return std::abs(x - 4) + std::abs(y - 4) == 4;
    case HatchStyleSolidDiamond: return std::abs(x - 3) + std::abs(y - 3) <= 3;
    default: break;
  }
  if (s >= HatchStyle05Percent && s <= HatchStyle90Percent) {
    static constexpr int kPercent[] = {5, 10, 20, 25, 30, 40, 50, 60, 70, 75, 80, 90};
    int pct = kPercent[s - HatchStyle05Percent];
    return kBayer[y][x] < pct * 64 / 100;
  }
  if (s >= HatchStyleSmallConfetti && s <= HatchStyleSphere) return (kRows[s - HatchStyleSmallConfetti][y] >> (7 - x)) & 1;
  return false;
}

}  // namespace

// ---- Brush model ----------------------------------------------------------

std::unique_ptr<GpBrush> GpBrush::Clone() const {
  auto c = std::make_unique<GpBrush>();
  c->Type = Type;
  c->Color = Color;
  c->Hatch = Hatch;
  c->Fore = Fore;
  c->Back = Back;
  c->Texture = Texture;
  if (TextureImage) {
    c->TextureImage = std::make_unique<GpImage>();
    c->TextureImage->Image = TextureImage->Image;
    c->TextureImage->Format = TextureImage->Format;
    c->TextureImage->RawFormat = TextureImage->RawFormat;
  }
  c->Wrap = Wrap;
  c->Transform = Transform;
  c->Gamma = Gamma;
  c->BlendFactors = BlendFactors;
  c->BlendPositions = BlendPositions;
  c->PresetColors = PresetColors;
  c->PresetPositions = PresetPositions;
  c->P1 = P1;
  c->P2 = P2;
  c->Colors[0] = Colors[0];
  c->Colors[1] = Colors[1];
  c->Rect = Rect;
  c->Boundary = Boundary;
  c->SourcePath.Points = SourcePath.Points;
  c->SourcePath.Types = SourcePath.Types;
  c->SourcePath.Fill = SourcePath.Fill;
  c->CenterColor = CenterColor;
  c->Surround = Surround;
  c->Center = Center;
  c->FocusX = FocusX;
  c->FocusY = FocusY;
  return c;
}

ARGB GpBrush::Ramp(REAL t, ARGB from, ARGB to) const {
  t = std::clamp(t, 0.0f, 1.0f);
  if (PresetColors.size() >= 2) {
    for (std::size_t i = 1; i < PresetPositions.size(); ++i)
      if (t <= PresetPositions[i] || i + 1 == PresetPositions.size()) {
        double span = PresetPositions[i] - PresetPositions[i - 1];
        double f = span > 0 ? (t - PresetPositions[i - 1]) / span : 1;
        return Lerp(PresetColors[i - 1], PresetColors[i], std::clamp(f, 0.0, 1.0), Gamma);
      }
  }
  double f = BlendFactors.size() >= 2 ? Interp(BlendPositions, BlendFactors, t) : t * BlendFactors[0];
  return Lerp(from, to, std::clamp(f, 0.0, 1.0), Gamma);
}

namespace gdiplus_internal {

QImage HatchImage(GpHatchStyle style, ARGB fore, ARGB back) {
  QImage img(8, 8, QImage::Format_ARGB32_Premultiplied);
  QRgb f = ToQColor(fore).rgba(), b = ToQColor(back).rgba();
  f = qPremultiply(f);
  b = qPremultiply(b);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) img.setPixel(x, y, HatchBit(style, x, y) ? f : b);
  return img;
}

QBrush ToQBrush(const GpBrush* b, const QPoint& origin) {
  switch (b->Type) {
    case BrushTypeSolidColor: return QBrush(ToQColor(b->Color));
    case BrushTypeHatchFill: {
      QBrush q(HatchImage(b->Hatch, b->Fore, b->Back));
      q.setTransform(QTransform::fromTranslate(origin.x(), origin.y()));
      return q;
    }
    case BrushTypeTextureFill: {
      QImage tile = b->Texture;
      if (b->Wrap == WrapModeTileFlipX || b->Wrap == WrapModeTileFlipY || b->Wrap == WrapModeTileFlipXY) {
        bool fx = b->Wrap != WrapModeTileFlipY, fy = b->Wrap != WrapModeTileFlipX;
        QImage big(tile.width() * (fx ? 2 : 1), tile.height() * (fy ? 2 : 1), QImage::Format_ARGB32_Premultiplied);
        big.fill(Qt::transparent);
        QPainter p(&big);
        p.drawImage(0, 0, tile);
        if (fx) p.drawImage(tile.width(), 0, tile.mirrored(true, false));
        if (fy) p.drawImage(0, tile.height(), tile.mirrored(false, true));
        if (fx && fy) p.drawImage(tile.width(), tile.height(), tile.mirrored(true, true));
        p.end();
        tile = big;
      }
      QBrush q(tile);
      q.setTransform(b->Transform);
      return q;
    }
    case BrushTypeLinearGradient: {
      QLinearGradient g(b->P1, b->P2);
      bool simple = b->PresetColors.size() < 2 && b->BlendFactors.size() < 2 && b->BlendFactors[0] == 1 && !b->Gamma;
      if (simple) {
        g.setColorAt(0, ToQColor(b->Colors[0]));
        g.setColorAt(1, ToQColor(b->Colors[1]));
      } else {
        // Sample the ramp: the blend's own positions plus an even grid.
        std::vector<double> at;
        for (int i = 0; i <= 64; ++i) at.push_back(i / 64.0);
        for (REAL p : b->BlendPositions) at.push_back(p);
        for (REAL p : b->PresetPositions) at.push_back(p);
        std::sort(at.begin(), at.end());
        for (double t : at) g.setColorAt(std::clamp(t, 0.0, 1.0), ToQColor(b->Ramp(REAL(t), b->Colors[0], b->Colors[1])));
      }
      g.setSpread(b->Wrap == WrapModeTile ? QGradient::RepeatSpread : QGradient::ReflectSpread);
      QBrush q(g);
      q.setTransform(b->Transform);
      return q;
    }
    default: return QBrush(Qt::NoBrush);
  }
}

}  // namespace gdiplus_internal

// ---- Common brush calls ---------------------------------------------------

GpStatus GdipCloneBrush(GpBrush* brush, GpBrush** cloneBrush) {
  GpBrush* b = B(brush);
  if (!b || !cloneBrush) return InvalidParameter;
  return Hand(b->Clone(), cloneBrush);
}

GpStatus GdipDeleteBrush(GpBrush* brush) { return Delete(brush, TKind::Brush); }

GpStatus GdipGetBrushType(GpBrush* brush, GpBrushType* type) {
  GpBrush* b = B(brush);
  if (!b || !type) return InvalidParameter;
  *type = b->Type;
  return Ok;
}

GpStatus GdipCreateSolidFill(ARGB color, GpSolidFill** brush) {
  if (!brush) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  auto b = std::make_unique<GpBrush>();
  b->Color = color;
  return Hand(std::move(b), brush);
}

GpStatus GdipSetSolidFillColor(GpSolidFill* brush, ARGB color) {
  GpBrush* b = B(brush, BrushTypeSolidColor);
  if (!b) return InvalidParameter;
  b->Color = color;
  return Ok;
}

GpStatus GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color) {
  GpBrush* b = B(brush, BrushTypeSolidColor);
  if (!b || !color) return InvalidParameter;
  *color = b->Color;
  return Ok;
}

GpStatus GdipCreateHatchBrush(GpHatchStyle hatchstyle, ARGB forecol, ARGB backcol, GpHatch** brush) {
  if (!brush || !ValidHatch(hatchstyle)) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  auto b = std::make_unique<GpBrush>();
  b->Type = BrushTypeHatchFill;
  b->Hatch = hatchstyle;
  b->Fore = forecol;
  b->Back = backcol;
  return Hand(std::move(b), brush);
}

GpStatus GdipGetHatchStyle(GpHatch* brush, GpHatchStyle* hatchstyle) {
  GpBrush* b = B(brush, BrushTypeHatchFill);
  if (!b || !hatchstyle) return InvalidParameter;
  *hatchstyle = b->Hatch;
  return Ok;
}
GpStatus GdipGetHatchForegroundColor(GpHatch* brush, ARGB* forecol) {
  GpBrush* b = B(brush, BrushTypeHatchFill);
  if (!b || !forecol) return InvalidParameter;
  *forecol = b->Fore;
  return Ok;
}
GpStatus GdipGetHatchBackgroundColor(GpHatch* brush, ARGB* backcol) {
  GpBrush* b = B(brush, BrushTypeHatchFill);
  if (!b || !backcol) return InvalidParameter;
  *backcol = b->Back;
  return Ok;
}

// ---- Texture --------------------------------------------------------------

static GpStatus CreateTexture(GpImage* image, GpWrapMode wrap, QRectF part, const GpImageAttributes* attrs,
                              GpTexture** texture) {
  GpImage* img = Get(image, TKind::Image);
  if (!img || !texture || !ValidWrapMode(wrap) || (attrs && !Alive(attrs, TKind::ImageAttributes)))
    return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  QRect bounds = img->Image.rect();
  QRect r = part.isNull() ? bounds : part.toAlignedRect();
  if (r.width() <= 0 || r.height() <= 0 || !bounds.contains(r)) return OutOfMemory;  // GDI+'s answer for a bad part
  auto b = std::make_unique<GpBrush>();
  b->Type = BrushTypeTextureFill;
  b->Wrap = wrap;
  QImage tile = img->Image.copy(r).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (attrs) tile = attrs->Apply(tile, ColorAdjustTypeBitmap);
  b->Texture = tile;
  b->TextureImage = std::make_unique<GpImage>();
  b->TextureImage->Image = tile.convertToFormat(QImage::Format_ARGB32);
  return Hand(std::move(b), texture);
}

GpStatus GdipCreateTexture(GpImage* image, GpWrapMode wrapmode, GpTexture** texture) {
  return CreateTexture(image, wrapmode, QRectF(), nullptr, texture);
}
GpStatus GdipCreateTexture2(GpImage* image, GpWrapMode wrapmode, REAL x, REAL y, REAL width, REAL height,
                            GpTexture** texture) {
  return CreateTexture(image, wrapmode, QRectF(x, y, width, height), nullptr, texture);
}
GpStatus GdipCreateTexture2I(GpImage* image, GpWrapMode wrapmode, INT x, INT y, INT width, INT height,
                             GpTexture** texture) {
  return CreateTexture(image, wrapmode, QRectF(x, y, width, height), nullptr, texture);
}
GpStatus GdipCreateTextureIA(GpImage* image, const GpImageAttributes* imageAttributes, REAL x, REAL y, REAL width,
                             REAL height, GpTexture** texture) {
  GpWrapMode wrap = WrapModeTile;
  if (imageAttributes && Alive(imageAttributes, TKind::ImageAttributes)) wrap = imageAttributes->Wrap;
  return CreateTexture(image, wrap, QRectF(x, y, width, height), imageAttributes, texture);
}
GpStatus GdipCreateTextureIAI(GpImage* image, const GpImageAttributes* imageAttributes, INT x, INT y, INT width,
                              INT height, GpTexture** texture) {
  return GdipCreateTextureIA(image, imageAttributes, REAL(x), REAL(y), REAL(width), REAL(height), texture);
}

GpStatus GdipGetTextureImage(GpTexture* brush, GpImage** image) {
  GpBrush* b = B(brush, BrushTypeTextureFill);
  if (!b || !image || !b->TextureImage) return InvalidParameter;
  auto img = std::make_unique<GpImage>();
  img->Image = b->TextureImage->Image;
  img->Format = PixelFormat32bppARGB;
  return Hand(std::move(img), image);
}

GpStatus GdipSetTextureTransform(GpTexture* brush, const GpMatrix* matrix) { return SetTransform(brush, BrushTypeTextureFill, matrix); }
GpStatus GdipGetTextureTransform(GpTexture* brush, GpMatrix* matrix) { return GetTransform(brush, BrushTypeTextureFill, matrix); }
GpStatus GdipResetTextureTransform(GpTexture* brush) { return ResetTransform(brush, BrushTypeTextureFill); }
GpStatus GdipMultiplyTextureTransform(GpTexture* brush, const GpMatrix* matrix, GpMatrixOrder order) { return MultiplyTransform(brush, BrushTypeTextureFill, matrix, order); }
GpStatus GdipTranslateTextureTransform(GpTexture* brush, REAL dx, REAL dy, GpMatrixOrder order) { return TranslateTransform(brush, BrushTypeTextureFill, dx, dy, order); }
GpStatus GdipScaleTextureTransform(GpTexture* brush, REAL sx, REAL sy, GpMatrixOrder order) { return ScaleTransform(brush, BrushTypeTextureFill, sx, sy, order); }
GpStatus GdipRotateTextureTransform(GpTexture* brush, REAL angle, GpMatrixOrder order) { return RotateTransform(brush, BrushTypeTextureFill, angle, order); }
GpStatus GdipSetTextureWrapMode(GpTexture* brush, GpWrapMode wrapmode) { return SetWrap(brush, BrushTypeTextureFill, wrapmode, true); }
GpStatus GdipGetTextureWrapMode(GpTexture* brush, GpWrapMode* wrapmode) { return GetWrap(brush, BrushTypeTextureFill, wrapmode); }

// ---- Linear gradient ------------------------------------------------------

static GpStatus LineFromPoints(QPointF p1, QPointF p2, ARGB c1, ARGB c2, GpWrapMode wrap, GpLineGradient** out) {
  if (!out || wrap == WrapModeClamp || !ValidWrapMode(wrap)) return InvalidParameter;
  if (p1 == p2) return OutOfMemory;  // GDI+'s answer for a degenerate gradient
  if (!Running()) return GdiplusNotInitialized;
  auto b = std::make_unique<GpBrush>();
  b->Type = BrushTypeLinearGradient;
  b->P1 = p1;
  b->P2 = p2;
  b->Colors[0] = c1;
  b->Colors[1] = c2;
  b->Wrap = wrap;
  b->Rect = QRectF(p1, p2).normalized();
  if (b->Rect.width() == 0) b->Rect.setWidth(b->Rect.height()), b->Rect.moveLeft(p1.x() - b->Rect.width() / 2);
  if (b->Rect.height() == 0) b->Rect.setHeight(b->Rect.width()), b->Rect.moveTop(p1.y() - b->Rect.height() / 2);
  return Hand(std::move(b), out);
}

static GpStatus LineFromRect(QRectF r, ARGB c1, ARGB c2, REAL angle, bool scalable, GpWrapMode wrap,
                             GpLineGradient** out) {
  if (!out || wrap == WrapModeClamp || !ValidWrapMode(wrap) || !Finite(angle)) return InvalidParameter;
  if (r.width() <= 0 || r.height() <= 0) return OutOfMemory;
  if (!Running()) return GdiplusNotInitialized;
  double a = angle * M_PI / 180.0;
  double dx = std::cos(a), dy = std::sin(a);
  // Quarter turns stay exact, so axis-aligned gradients stay axis-aligned.
  if (std::fabs(dx) < 1e-9) dx = 0;
  if (std::fabs(dy) < 1e-9) dy = 0;
  // An angle-scalable gradient keeps its angle relative to the rectangle's shape.
  if (scalable) dx /= r.width(), dy /= r.height();
  double len = std::hypot(dx, dy);
  dx /= len;
  dy /= len;
  QPointF corners[4] = {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()};
  double lo = 1e300, hi = -1e300;
  QPointF start;
  for (const QPointF& c : corners) {
    double proj = c.x() * dx + c.y() * dy;
    if (proj < lo) lo = proj, start = c;
    hi = std::max(hi, proj);
  }
  auto b = std::make_unique<GpBrush>();
  b->Type = BrushTypeLinearGradient;
  b->P1 = start;
  b->P2 = start + QPointF(dx, dy) * (hi - lo);
  b->Colors[0] = c1;
  b->Colors[1] = c2;
  b->Wrap = wrap;
  b->Rect = r;
  return Hand(std::move(b), out);
}

GpStatus GdipCreateLineBrush(const GpPointF* point1, const GpPointF* point2, ARGB color1, ARGB color2,
                             GpWrapMode wrapMode, GpLineGradient** lineGradient) {
  if (!point1 || !point2) return InvalidParameter;
  return LineFromPoints({point1->X, point1->Y}, {point2->X, point2->Y}, color1, color2, wrapMode, lineGradient);
}
GpStatus GdipCreateLineBrushI(const GpPoint* point1, const GpPoint* point2, ARGB color1, ARGB color2,
                              GpWrapMode wrapMode, GpLineGradient** lineGradient) {
  if (!point1 || !point2) return InvalidParameter;
  return LineFromPoints(QPointF(point1->X, point1->Y), QPointF(point2->X, point2->Y), color1, color2, wrapMode,
                        lineGradient);
}
GpStatus GdipCreateLineBrushFromRect(const GpRectF* rect, ARGB color1, ARGB color2, GpLinearGradientMode mode,
                                     GpWrapMode wrapMode, GpLineGradient** lineGradient) {
  if (!rect || mode < LinearGradientModeHorizontal || mode > LinearGradientModeBackwardDiagonal) return InvalidParameter;
  static constexpr REAL kAngle[] = {0, 90, 45, 135};
  return LineFromRect(QRectF(rect->X, rect->Y, rect->Width, rect->Height), color1, color2, kAngle[mode],
                      mode >= LinearGradientModeForwardDiagonal, wrapMode, lineGradient);
}
GpStatus GdipCreateLineBrushFromRectI(const GpRect* rect, ARGB color1, ARGB color2, GpLinearGradientMode mode,
                                      GpWrapMode wrapMode, GpLineGradient** lineGradient) {
  if (!rect) return InvalidParameter;
  GpRectF r{REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height)};
  return GdipCreateLineBrushFromRect(&r, color1, color2, mode, wrapMode, lineGradient);
}
GpStatus GdipCreateLineBrushFromRectWithAngle(const GpRectF* rect, ARGB color1, ARGB color2, REAL angle,
                                              BOOL isAngleScalable, GpWrapMode wrapMode,
                                              GpLineGradient** lineGradient) {
  if (!rect) return InvalidParameter;
  return LineFromRect(QRectF(rect->X, rect->Y, rect->Width, rect->Height), color1, color2, angle, isAngleScalable,
                      wrapMode, lineGradient);
}
GpStatus GdipCreateLineBrushFromRectWithAngleI(const GpRect* rect, ARGB color1, ARGB color2, REAL angle,
                                               BOOL isAngleScalable, GpWrapMode wrapMode,
                                               GpLineGradient** lineGradient) {
  if (!rect) return InvalidParameter;
  GpRectF r{REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height)};
  return GdipCreateLineBrushFromRectWithAngle(&r, color1, color2, angle, isAngleScalable, wrapMode, lineGradient);
}


GpStatus GdipSetLineColors(GpLineGradient* brush, ARGB color1, ARGB color2) {
  GpBrush* b = B(brush, BrushTypeLinearGradient);
  if (!b) return InvalidParameter;
  b->Colors[0] = color1;
  b->Colors[1] = color2;
  return Ok;
}
GpStatus GdipGetLineColors(GpLineGradient* brush, ARGB* colors) {
  GpBrush* b = B(brush, BrushTypeLinearGradient);
  if (!b || !colors) return InvalidParameter;
  colors[0] = b->Colors[0];
  colors[1] = b->Colors[1];
  return Ok;
}
GpStatus GdipGetLineRect(GpLineGradient* brush, GpRectF* rect) { return BrushRect(brush, BrushTypeLinearGradient, rect); }
GpStatus GdipGetLineRectI(GpLineGradient* brush, GpRect* rect) { return BrushRectI(brush, BrushTypeLinearGradient, rect); }
GpStatus GdipSetLineGammaCorrection(GpLineGradient* brush, BOOL useGammaCorrection) { return SetGamma(brush, BrushTypeLinearGradient, useGammaCorrection); }
GpStatus GdipGetLineGammaCorrection(GpLineGradient* brush, BOOL* useGammaCorrection) { return GetGamma(brush, BrushTypeLinearGradient, useGammaCorrection); }
GpStatus GdipGetLineBlendCount(GpLineGradient* brush, INT* count) { return BlendCount(brush, BrushTypeLinearGradient, count); }
GpStatus GdipGetLineBlend(GpLineGradient* brush, REAL* blend, REAL* positions, INT count) { return GetBlend(B(brush, BrushTypeLinearGradient), blend, positions, count); }
GpStatus GdipSetLineBlend(GpLineGradient* brush, const REAL* blend, const REAL* positions, INT count) { return SetBlend(B(brush, BrushTypeLinearGradient), blend, positions, count); }
GpStatus GdipGetLinePresetBlendCount(GpLineGradient* brush, INT* count) { return PresetCount(brush, BrushTypeLinearGradient, count); }
GpStatus GdipGetLinePresetBlend(GpLineGradient* brush, ARGB* blend, REAL* positions, INT count) { return GetPreset(B(brush, BrushTypeLinearGradient), blend, positions, count); }
GpStatus GdipSetLinePresetBlend(GpLineGradient* brush, const ARGB* blend, const REAL* positions, INT count) { return SetPreset(B(brush, BrushTypeLinearGradient), blend, positions, count); }
GpStatus GdipSetLineSigmaBlend(GpLineGradient* brush, REAL focus, REAL scale) { return ShapeBlend(brush, BrushTypeLinearGradient, focus, scale, true); }
GpStatus GdipSetLineLinearBlend(GpLineGradient* brush, REAL focus, REAL scale) { return ShapeBlend(brush, BrushTypeLinearGradient, focus, scale, false); }
GpStatus GdipSetLineWrapMode(GpLineGradient* brush, GpWrapMode wrapmode) { return SetWrap(brush, BrushTypeLinearGradient, wrapmode, false); }
GpStatus GdipGetLineWrapMode(GpLineGradient* brush, GpWrapMode* wrapmode) { return GetWrap(brush, BrushTypeLinearGradient, wrapmode); }
GpStatus GdipGetLineTransform(GpLineGradient* brush, GpMatrix* matrix) { return GetTransform(brush, BrushTypeLinearGradient, matrix); }
GpStatus GdipSetLineTransform(GpLineGradient* brush, const GpMatrix* matrix) { return SetTransform(brush, BrushTypeLinearGradient, matrix); }
GpStatus GdipResetLineTransform(GpLineGradient* brush) { return ResetTransform(brush, BrushTypeLinearGradient); }
GpStatus GdipMultiplyLineTransform(GpLineGradient* brush, const GpMatrix* matrix, GpMatrixOrder order) { return MultiplyTransform(brush, BrushTypeLinearGradient, matrix, order); }
GpStatus GdipTranslateLineTransform(GpLineGradient* brush, REAL dx, REAL dy, GpMatrixOrder order) { return TranslateTransform(brush, BrushTypeLinearGradient, dx, dy, order); }
GpStatus GdipScaleLineTransform(GpLineGradient* brush, REAL sx, REAL sy, GpMatrixOrder order) { return ScaleTransform(brush, BrushTypeLinearGradient, sx, sy, order); }
GpStatus GdipRotateLineTransform(GpLineGradient* brush, REAL angle, GpMatrixOrder order) { return RotateTransform(brush, BrushTypeLinearGradient, angle, order); }

// ---- Path gradient --------------------------------------------------------

static GpStatus MakePathGradient(const GpPath& source, GpWrapMode wrap, GpPathGradient** out) {
  if (!out || !ValidWrapMode(wrap)) return InvalidParameter;
  if (source.Points.size() < 2) return OutOfMemory;  // GDI+'s answer for too few points
  if (!Running()) return GdiplusNotInitialized;
  auto b = std::make_unique<GpBrush>();
  b->Type = BrushTypePathGradient;
  b->Wrap = wrap;
  b->SourcePath.Points = source.Points;
  b->SourcePath.Types = source.Types;
  b->SourcePath.Fill = source.Fill;
  QPolygonF poly = source.ToQt().toFillPolygon();
  b->Boundary.assign(poly.begin(), poly.end());
  if (b->Boundary.size() > 1 && b->Boundary.front() == b->Boundary.back()) b->Boundary.pop_back();
  // The centre is the centroid of the boundary.
  double area = 0, cx = 0, cy = 0;
  for (std::size_t i = 0; i < b->Boundary.size(); ++i) {
    QPointF p = b->Boundary[i], q = b->Boundary[(i + 1) % b->Boundary.size()];
    double c = p.x() * q.y() - q.x() * p.y();
    area += c;
    cx += (p.x() + q.x()) * c;
    cy += (p.y() + q.y()) * c;
  }
  if (std::fabs(area) > 1e-9) b->Center = QPointF(cx / (3 * area), cy / (3 * area));
  else b->Center = poly.boundingRect().center();
  b->Rect = poly.boundingRect();
  b->CenterColor = 0xff000000;
  b->Surround = {0xffffffff};
  return Hand(std::move(b), out);
}

GpStatus GdipCreatePathGradient(const GpPointF* points, INT count, GpWrapMode wrapMode, GpPathGradient** polyGradient) {
  if (!points || count < 2 || count > (1 << 20)) return count >= 0 && count < 2 && points ? OutOfMemory : InvalidParameter;
  GpPath p;
  std::vector<QPointF> pts;
  for (INT i = 0; i < count; ++i) pts.emplace_back(points[i].X, points[i].Y);
  p.AddFigure(pts, std::vector<Byte>(pts.size(), PathPointTypeLine), true);
  return MakePathGradient(p, wrapMode, polyGradient);
}
GpStatus GdipCreatePathGradientI(const GpPoint* points, INT count, GpWrapMode wrapMode, GpPathGradient** polyGradient) {
  if (!points || count < 0 || count > (1 << 20)) return InvalidParameter;
  std::vector<GpPointF> f;
  for (INT i = 0; i < count; ++i) f.push_back({REAL(points[i].X), REAL(points[i].Y)});
  return GdipCreatePathGradient(f.data(), count, wrapMode, polyGradient);
}
GpStatus GdipCreatePathGradientFromPath(const GpPath* path, GpPathGradient** polyGradient) {
  GpPath* p = Get(path, TKind::Path);
  if (!p) return InvalidParameter;
  return MakePathGradient(*p, WrapModeClamp, polyGradient);
}


GpStatus GdipGetPathGradientCenterColor(GpPathGradient* brush, ARGB* colors) {
  GpBrush* b = B(brush, BrushTypePathGradient);
  if (!b || !colors) return InvalidParameter;
  *colors = b->CenterColor;
  return Ok;
}
GpStatus GdipSetPathGradientCenterColor(GpPathGradient* brush, ARGB colors) {
  GpBrush* b = B(brush, BrushTypePathGradient);
  if (!b) return InvalidParameter;
  b->CenterColor = colors;
  return Ok;
}
GpStatus GdipGetPathGradientSurroundColorsWithCount(GpPathGradient* brush, ARGB* color, INT* count) {
  GpBrush* b = B(brush, BrushTypePathGradient);
  if (!b || !color || !count) return InvalidParameter;
  if (*count < INT(b->Surround.size())) return InsufficientBuffer;
  std::copy(b->Surround.begin(), b->Surround.end(), color);
  *count = INT(b->Surround.size());
  return Ok;
}
GpStatus GdipSetPathGradientSurroundColorsWithCount(GpPathGradient* brush, const ARGB* color, INT* count) {
  GpBrush* b = B(brush, BrushTypePathGradient);
  if (!b || !color || !count || *count <= 0 || std::size_t(*count) > b->SourcePath.Points.size()) return InvalidParameter;
  b->Surround.assign(color, color + *count);
  return Ok;
}
GpStatus GdipGetPathGradientPath(GpPathGradient* brush, GpPath* path) {
  GpBrush* b = B(brush, BrushTypePathGradient);
  GpPath* p = Get(path, TKind::Path);
  if (!b || !p) return InvalidParameter;
  p->Points = b->SourcePath.Points;
  p->Types = b->SourcePath.Types;
  p->Fill = b->SourcePath.Fill;
  p->StartNew = true;
  return Ok;
}
GpStatus GdipSetPathGradientPath(GpPathGradient* brush, const GpPath* path) {
  GpBrush* b = B(brush, BrushTypePathGradient);
  GpPath* p = Get(path, TKind::Path);
  if (!b || !p || p->Points.size() < 2) return InvalidParameter;
  b->SourcePath.Points = p->Points;
  b->SourcePath.Types = p->Types;
  b->SourcePath.Fill = p->Fill;
  QPolygonF poly = p->ToQt().toFillPolygon();
  b->Boundary.assign(poly.begin(), poly.end());
  if (b->Boundary.size() > 1 && b->Boundary.front() == b->Boundary.back()) b->Boundary.pop_back();
  b->Rect = poly.boundingRect();
  return Ok;
}
GpStatus GdipGetPathGradientCenterPoint(GpPathGradient* brush, GpPointF* points) {
  GpBrush* b = B(brush, BrushTypePathGradient);
  if (!b || !points) return InvalidParameter;
  *points = {REAL(b->Center.x()), REAL(b->Center.y())};
  return Ok;
}
GpStatus GdipGetPathGradientCenterPointI(GpPathGradient* brush, GpPoint* points) {
  GpBrush* b = B(brush, BrushTypePathGradient);
  if (!b || !points) return InvalidParameter;
  *points = {INT(std::lround(b->Center.x())), INT(std::lround(b->Center.y()))};
  return Ok;
}
GpStatus GdipSetPathGradientCenterPoint(GpPathGradient* brush, const GpPointF* points) {
  GpBrush* b = B(brush, BrushTypePathGradient);
  if (!b || !points) return InvalidParameter;
  b->Center = QPointF(points->X, points->Y);
  return Ok;
}
GpStatus GdipSetPathGradientCenterPointI(GpPathGradient* brush, const GpPoint* points) {
  GpBrush* b = B(brush, BrushTypePathGradient);
  if (!b || !points) return InvalidParameter;
  b->Center = QPointF(points->X, points->Y);
  return Ok;
}
GpStatus GdipGetPathGradientRect(GpPathGradient* brush, GpRectF* rect) { return BrushRect(brush, BrushTypePathGradient, rect); }
GpStatus GdipGetPathGradientRectI(GpPathGradient* brush, GpRect* rect) { return BrushRectI(brush, BrushTypePathGradient, rect); }
GpStatus GdipGetPathGradientPointCount(GpPathGradient* brush, INT* count) {
  GpBrush* b = B(brush, BrushTypePathGradient);
  if (!b || !count) return InvalidParameter;
  *count = INT(b->SourcePath.Points.size());
  return Ok;
}
GpStatus GdipGetPathGradientSurroundColorCount(GpPathGradient* brush, INT* count) {
  GpBrush* b = B(brush, BrushTypePathGradient);
  if (!b || !count) return InvalidParameter;
  *count = INT(b->Surround.size());
  return Ok;
}
GpStatus GdipSetPathGradientGammaCorrection(GpPathGradient* brush, BOOL useGammaCorrection) { return SetGamma(brush, BrushTypePathGradient, useGammaCorrection); }
GpStatus GdipGetPathGradientGammaCorrection(GpPathGradient* brush, BOOL* useGammaCorrection) { return GetGamma(brush, BrushTypePathGradient, useGammaCorrection); }
GpStatus GdipGetPathGradientBlendCount(GpPathGradient* brush, INT* count) { return BlendCount(brush, BrushTypePathGradient, count); }
GpStatus GdipGetPathGradientBlend(GpPathGradient* brush, REAL* blend, REAL* positions, INT count) { return GetBlend(B(brush, BrushTypePathGradient), blend, positions, count); }
GpStatus GdipSetPathGradientBlend(GpPathGradient* brush, const REAL* blend, const REAL* positions, INT count) { return SetBlend(B(brush, BrushTypePathGradient), blend, positions, count); }
GpStatus GdipGetPathGradientPresetBlendCount(GpPathGradient* brush, INT* count) { return PresetCount(brush, BrushTypePathGradient, count); }
GpStatus GdipGetPathGradientPresetBlend(GpPathGradient* brush, ARGB* blend, REAL* positions, INT count) { return GetPreset(B(brush, BrushTypePathGradient), blend, positions, count); }
GpStatus GdipSetPathGradientPresetBlend(GpPathGradient* brush, const ARGB* blend, const REAL* positions, INT count) { return SetPreset(B(brush, BrushTypePathGradient), blend, positions, count); }
GpStatus GdipSetPathGradientSigmaBlend(GpPathGradient* brush, REAL focus, REAL scale) { return ShapeBlend(brush, BrushTypePathGradient, focus, scale, true); }
GpStatus GdipSetPathGradientLinearBlend(GpPathGradient* brush, REAL focus, REAL scale) { return ShapeBlend(brush, BrushTypePathGradient, focus, scale, false); }
GpStatus GdipGetPathGradientWrapMode(GpPathGradient* brush, GpWrapMode* wrapmode) { return GetWrap(brush, BrushTypePathGradient, wrapmode); }
GpStatus GdipSetPathGradientWrapMode(GpPathGradient* brush, GpWrapMode wrapmode) { return SetWrap(brush, BrushTypePathGradient, wrapmode, true); }
GpStatus GdipGetPathGradientTransform(GpPathGradient* brush, GpMatrix* matrix) { return GetTransform(brush, BrushTypePathGradient, matrix); }
GpStatus GdipSetPathGradientTransform(GpPathGradient* brush, GpMatrix* matrix) { return SetTransform(brush, BrushTypePathGradient, matrix); }
GpStatus GdipResetPathGradientTransform(GpPathGradient* brush) { return ResetTransform(brush, BrushTypePathGradient); }
GpStatus GdipMultiplyPathGradientTransform(GpPathGradient* brush, const GpMatrix* matrix, GpMatrixOrder order) { return MultiplyTransform(brush, BrushTypePathGradient, matrix, order); }
GpStatus GdipTranslatePathGradientTransform(GpPathGradient* brush, REAL dx, REAL dy, GpMatrixOrder order) { return TranslateTransform(brush, BrushTypePathGradient, dx, dy, order); }
GpStatus GdipScalePathGradientTransform(GpPathGradient* brush, REAL sx, REAL sy, GpMatrixOrder order) { return ScaleTransform(brush, BrushTypePathGradient, sx, sy, order); }
GpStatus GdipRotatePathGradientTransform(GpPathGradient* brush, REAL angle, GpMatrixOrder order) { return RotateTransform(brush, BrushTypePathGradient, angle, order); }
GpStatus GdipGetPathGradientFocusScales(GpPathGradient* brush, REAL* xScale, REAL* yScale) {
  GpBrush* b = B(brush, BrushTypePathGradient);
  if (!b || !xScale || !yScale) return InvalidParameter;
  *xScale = b->FocusX;
  *yScale = b->FocusY;
  return Ok;
}
GpStatus GdipSetPathGradientFocusScales(GpPathGradient* brush, REAL xScale, REAL yScale) {
  GpBrush* b = B(brush, BrushTypePathGradient);
  if (!b) return InvalidParameter;
  b->FocusX = xScale;
  b->FocusY = yScale;
  return Ok;
}

// ---- Pens -----------------------------------------------------------------

std::unique_ptr<GpPen> GpPen::Clone() const {
  auto c = std::make_unique<GpPen>();
  c->Brush = Brush->Clone();
  c->Width = Width;
  c->Unit = Unit;
  c->StartCap = StartCap;
  c->EndCap = EndCap;
  c->DashCap = DashCap;
  c->Join = Join;
  c->MiterLimit = MiterLimit;
  c->Alignment = Alignment;
  c->Dash = Dash;
  c->DashOffset = DashOffset;
  c->DashArray = DashArray;
  c->Compound = Compound;
  auto copyCap = [](const std::unique_ptr<GpCustomLineCap>& cap) {
    if (!cap) return std::unique_ptr<GpCustomLineCap>();
    auto n = std::make_unique<GpCustomLineCap>();
    n->FillPath = cap->FillPath;
    n->StrokePath = cap->StrokePath;
    n->BaseCap = cap->BaseCap;
    n->BaseInset = cap->BaseInset;
    n->WidthScale = cap->WidthScale;
    n->StartCap = cap->StartCap;
    n->EndCap = cap->EndCap;
    n->Join = cap->Join;
    return n;
  };
  c->CustomStart = copyCap(CustomStart);
  c->CustomEnd = copyCap(CustomEnd);
  c->Transform = Transform;
  return c;
}

std::vector<REAL> GpPen::Pattern() const {
  switch (Dash) {
    case DashStyleDash: return {3, 1};
    case DashStyleDot: return {1, 1};
    case DashStyleDashDot: return {3, 1, 1, 1};
    case DashStyleDashDotDot: return {3, 1, 1, 1, 1, 1};
    case DashStyleCustom: return DashArray;
    default: return {};
  }
}

static bool ValidUnit(GpUnit u) { return u >= UnitWorld && u <= UnitMillimeter && u != UnitDisplay; }

static bool ValidCap(GpLineCap c) {
  return (c >= LineCapFlat && c <= LineCapTriangle) || (c >= LineCapNoAnchor && c <= LineCapArrowAnchor) ||
         c == LineCapCustom;
}

GpStatus GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen) {
  if (!pen || !ValidUnit(unit) || !Finite(width) || width < 0) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  auto p = std::make_unique<GpPen>();
  p->Brush = std::make_unique<GpBrush>();
  p->Brush->Color = color;
  p->Width = width;
  p->Unit = unit;
  return Hand(std::move(p), pen);
}

GpStatus GdipCreatePen2(GpBrush* brush, REAL width, GpUnit unit, GpPen** pen) {
  GpBrush* b = B(brush);
  if (!b || !pen || !ValidUnit(unit) || !Finite(width) || width < 0) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  auto p = std::make_unique<GpPen>();
  p->Brush = b->Clone();
  p->Width = width;
  p->Unit = unit;
  return Hand(std::move(p), pen);
}

GpStatus GdipClonePen(GpPen* pen, GpPen** clonepen) {
  GpPen* p = Pn(pen);
  if (!p || !clonepen) return InvalidParameter;
  return Hand(p->Clone(), clonepen);
}

GpStatus GdipDeletePen(GpPen* pen) { return Delete(pen, TKind::Pen); }

GpStatus GdipSetPenWidth(GpPen* pen, REAL width) {
  GpPen* p = Pn(pen);
  if (!p || !Finite(width) || width < 0) return InvalidParameter;
  p->Width = width;
  return Ok;
}
GpStatus GdipGetPenWidth(GpPen* pen, REAL* width) {
  GpPen* p = Pn(pen);
  if (!p || !width) return InvalidParameter;
  *width = p->Width;
  return Ok;
}
GpStatus GdipSetPenLineCap197819(GpPen* pen, GpLineCap startCap, GpLineCap endCap, GpDashCap dashCap) {
  GpPen* p = Pn(pen);
  if (!p || !ValidCap(startCap) || !ValidCap(endCap)) return InvalidParameter;
  if (dashCap != DashCapFlat && dashCap != DashCapRound && dashCap != DashCapTriangle) return InvalidParameter;
  p->StartCap = startCap;
  p->EndCap = endCap;
  p->DashCap = dashCap;
  return Ok;
}
GpStatus GdipSetPenStartCap(GpPen* pen, GpLineCap startCap) {
  GpPen* p = Pn(pen);
  if (!p || !ValidCap(startCap)) return InvalidParameter;
  p->StartCap = startCap;
  return Ok;
}
GpStatus GdipSetPenEndCap(GpPen* pen, GpLineCap endCap) {
  GpPen* p = Pn(pen);
  if (!p || !ValidCap(endCap)) return InvalidParameter;
  p->EndCap = endCap;
  return Ok;
}
GpStatus GdipSetPenDashCap197819(GpPen* pen, GpDashCap dashCap) {
  GpPen* p = Pn(pen);
  if (!p || (dashCap != DashCapFlat && dashCap != DashCapRound && dashCap != DashCapTriangle)) return InvalidParameter;
  p->DashCap = dashCap;
  return Ok;
}
GpStatus GdipGetPenStartCap(GpPen* pen, GpLineCap* startCap) {
  GpPen* p = Pn(pen);
  if (!p || !startCap) return InvalidParameter;
  *startCap = p->StartCap;
  return Ok;
}
GpStatus GdipGetPenEndCap(GpPen* pen, GpLineCap* endCap) {
  GpPen* p = Pn(pen);
  if (!p || !endCap) return InvalidParameter;
  *endCap = p->EndCap;
  return Ok;
}
GpStatus GdipGetPenDashCap197819(GpPen* pen, GpDashCap* dashCap) {
  GpPen* p = Pn(pen);
  if (!p || !dashCap) return InvalidParameter;
  *dashCap = p->DashCap;
  return Ok;
}
GpStatus GdipSetPenLineJoin(GpPen* pen, GpLineJoin lineJoin) {
  GpPen* p = Pn(pen);
  if (!p || lineJoin < LineJoinMiter || lineJoin > LineJoinMiterClipped) return InvalidParameter;
  p->Join = lineJoin;
  return Ok;
}
GpStatus GdipGetPenLineJoin(GpPen* pen, GpLineJoin* lineJoin) {
  GpPen* p = Pn(pen);
  if (!p || !lineJoin) return InvalidParameter;
  *lineJoin = p->Join;
  return Ok;
}

static GpStatus SetCustomCap(GpPen* pen, GpCustomLineCap* customCap, bool start) {
  GpPen* p = Pn(pen);
  GpCustomLineCap* c = Cap(customCap);
  if (!p || !c) return InvalidParameter;
  auto n = std::make_unique<GpCustomLineCap>();
  n->FillPath = c->FillPath;
  n->StrokePath = c->StrokePath;
  n->BaseCap = c->BaseCap;
  n->BaseInset = c->BaseInset;
  n->WidthScale = c->WidthScale;
  n->StartCap = c->StartCap;
  n->EndCap = c->EndCap;
  n->Join = c->Join;
  (start ? p->CustomStart : p->CustomEnd) = std::move(n);
  (start ? p->StartCap : p->EndCap) = LineCapCustom;
  return Ok;
}

static GpStatus GetCustomCap(GpPen* pen, GpCustomLineCap** customCap, bool start) {
  GpPen* p = Pn(pen);
  if (!p || !customCap) return InvalidParameter;
  const auto& src = start ? p->CustomStart : p->CustomEnd;
  if (!src) {
    *customCap = nullptr;
    return Ok;
  }
  auto n = std::make_unique<GpCustomLineCap>();
  n->FillPath = src->FillPath;
  n->StrokePath = src->StrokePath;
  n->BaseCap = src->BaseCap;
  n->BaseInset = src->BaseInset;
  n->WidthScale = src->WidthScale;
  n->StartCap = src->StartCap;
  n->EndCap = src->EndCap;
  n->Join = src->Join;
  return Hand(std::move(n), customCap);
}

GpStatus GdipSetPenCustomStartCap(GpPen* pen, GpCustomLineCap* customCap) { return SetCustomCap(pen, customCap, true); }
GpStatus GdipGetPenCustomStartCap(GpPen* pen, GpCustomLineCap** customCap) { return GetCustomCap(pen, customCap, true); }
GpStatus GdipSetPenCustomEndCap(GpPen* pen, GpCustomLineCap* customCap) { return SetCustomCap(pen, customCap, false); }
GpStatus GdipGetPenCustomEndCap(GpPen* pen, GpCustomLineCap** customCap) { return GetCustomCap(pen, customCap, false); }

GpStatus GdipSetPenMiterLimit(GpPen* pen, REAL miterLimit) {
  GpPen* p = Pn(pen);
  if (!p || !Finite(miterLimit)) return InvalidParameter;
  p->MiterLimit = std::max(1.0f, miterLimit);
  return Ok;
}
GpStatus GdipGetPenMiterLimit(GpPen* pen, REAL* miterLimit) {
  GpPen* p = Pn(pen);
  if (!p || !miterLimit) return InvalidParameter;
  *miterLimit = p->MiterLimit;
  return Ok;
}
GpStatus GdipSetPenMode(GpPen* pen, GpPenAlignment penMode) {
  GpPen* p = Pn(pen);
  if (!p || (penMode != PenAlignmentCenter && penMode != PenAlignmentInset)) return InvalidParameter;
  p->Alignment = penMode;
  return Ok;
}
GpStatus GdipGetPenMode(GpPen* pen, GpPenAlignment* penMode) {
  GpPen* p = Pn(pen);
  if (!p || !penMode) return InvalidParameter;
  *penMode = p->Alignment;
  return Ok;
}
GpStatus GdipSetPenTransform(GpPen* pen, GpMatrix* matrix) {
  GpPen* p = Pn(pen);
  return p ? SetT(p->Transform, matrix) : InvalidParameter;
}
GpStatus GdipGetPenTransform(GpPen* pen, GpMatrix* matrix) {
  GpPen* p = Pn(pen);
  return p ? GetT(p->Transform, matrix) : InvalidParameter;
}
GpStatus GdipResetPenTransform(GpPen* pen) {
  GpPen* p = Pn(pen);
  if (!p) return InvalidParameter;
  p->Transform.reset();
  return Ok;
}
GpStatus GdipMultiplyPenTransform(GpPen* pen, const GpMatrix* matrix, GpMatrixOrder order) {
  GpPen* p = Pn(pen);
  return p ? MulT(p->Transform, matrix, order) : InvalidParameter;
}
GpStatus GdipTranslatePenTransform(GpPen* pen, REAL dx, REAL dy, GpMatrixOrder order) {
  GpPen* p = Pn(pen);
  return p ? TransT(p->Transform, dx, dy, order) : InvalidParameter;
}
GpStatus GdipScalePenTransform(GpPen* pen, REAL sx, REAL sy, GpMatrixOrder order) {
  GpPen* p = Pn(pen);
  return p ? ScaleT(p->Transform, sx, sy, order) : InvalidParameter;
}
GpStatus GdipRotatePenTransform(GpPen* pen, REAL angle, GpMatrixOrder order) {
  GpPen* p = Pn(pen);
  return p ? RotT(p->Transform, angle, order) : InvalidParameter;
}
GpStatus GdipSetPenColor(GpPen* pen, ARGB argb) {
  GpPen* p = Pn(pen);
  if (!p) return InvalidParameter;
  if (p->Brush->Type != BrushTypeSolidColor) p->Brush = std::make_unique<GpBrush>();
  p->Brush->Color = argb;
  return Ok;
}
GpStatus GdipGetPenColor(GpPen* pen, ARGB* argb) {
  GpPen* p = Pn(pen);
  if (!p || !argb) return InvalidParameter;
  if (p->Brush->Type != BrushTypeSolidColor) return WrongState;
  *argb = p->Brush->Color;
  return Ok;
}
GpStatus GdipSetPenBrushFill(GpPen* pen, GpBrush* brush) {
  GpPen* p = Pn(pen);
  GpBrush* b = B(brush);
  if (!p || !b) return InvalidParameter;
  p->Brush = b->Clone();
  return Ok;
}
GpStatus GdipGetPenBrushFill(GpPen* pen, GpBrush** brush) {
  GpPen* p = Pn(pen);
  if (!p || !brush) return InvalidParameter;
  return Hand(p->Brush->Clone(), brush);
}
GpStatus GdipGetPenFillType(GpPen* pen, GpPenType* type) {
  GpPen* p = Pn(pen);
  if (!p || !type) return InvalidParameter;
  *type = GpPenType(p->Brush->Type);
  return Ok;
}
GpStatus GdipGetPenDashStyle(GpPen* pen, GpDashStyle* dashstyle) {
  GpPen* p = Pn(pen);
  if (!p || !dashstyle) return InvalidParameter;
  *dashstyle = p->Dash;
  return Ok;
}
GpStatus GdipSetPenDashStyle(GpPen* pen, GpDashStyle dashstyle) {
  GpPen* p = Pn(pen);
  if (!p || dashstyle < DashStyleSolid || dashstyle > DashStyleCustom) return InvalidParameter;
  if (dashstyle == DashStyleCustom && p->DashArray.empty()) p->DashArray = {1, 1};
  p->Dash = dashstyle;
  return Ok;
}
GpStatus GdipGetPenDashOffset(GpPen* pen, REAL* offset) {
  GpPen* p = Pn(pen);
  if (!p || !offset) return InvalidParameter;
  *offset = p->DashOffset;
  return Ok;
}
GpStatus GdipSetPenDashOffset(GpPen* pen, REAL offset) {
  GpPen* p = Pn(pen);
  if (!p || !Finite(offset)) return InvalidParameter;
  p->DashOffset = offset;
  return Ok;
}
GpStatus GdipGetPenDashCount(GpPen* pen, INT* count) {
  GpPen* p = Pn(pen);
  if (!p || !count) return InvalidParameter;
  *count = INT(p->Pattern().size());
  return Ok;
}
GpStatus GdipSetPenDashArray(GpPen* pen, const REAL* dash, INT count) {
  GpPen* p = Pn(pen);
  if (!p || !dash || count <= 0 || count > 1024) return InvalidParameter;
  for (INT i = 0; i < count; ++i)
    if (!(dash[i] > 0) || !Finite(dash[i])) return InvalidParameter;
  p->DashArray.assign(dash, dash + count);
  p->Dash = DashStyleCustom;
  return Ok;
}
GpStatus GdipGetPenDashArray(GpPen* pen, REAL* dash, INT count) {
  GpPen* p = Pn(pen);
  if (!p || !dash || count <= 0) return InvalidParameter;
  auto pat = p->Pattern();
  if (std::size_t(count) < pat.size()) return InsufficientBuffer;
  std::copy(pat.begin(), pat.end(), dash);
  return Ok;
}
GpStatus GdipGetPenCompoundCount(GpPen* pen, INT* count) {
  GpPen* p = Pn(pen);
  if (!p || !count) return InvalidParameter;
  *count = INT(p->Compound.size());
  return Ok;
}
GpStatus GdipSetPenCompoundArray(GpPen* pen, const REAL* dash, INT count) {
  GpPen* p = Pn(pen);
  if (!p || !dash || count < 2 || count % 2 || count > 1024) return InvalidParameter;
  for (INT i = 0; i < count; ++i)
    if (dash[i] < 0 || dash[i] > 1 || (i > 0 && dash[i] < dash[i - 1])) return InvalidParameter;
  p->Compound.assign(dash, dash + count);
  return Ok;
}
GpStatus GdipGetPenCompoundArray(GpPen* pen, REAL* dash, INT count) {
  GpPen* p = Pn(pen);
  if (!p || !dash || count <= 0) return InvalidParameter;
  if (std::size_t(count) < p->Compound.size()) return InsufficientBuffer;
  std::copy(p->Compound.begin(), p->Compound.end(), dash);
  return Ok;
}

// ---- Custom line caps -----------------------------------------------------

GpStatus GdipCreateCustomLineCap(GpPath* fillPath, GpPath* strokePath, GpLineCap baseCap, REAL baseInset,
                                 GpCustomLineCap** customCap) {
  if (!customCap || (!fillPath && !strokePath)) return InvalidParameter;
  if ((fillPath && !Alive(fillPath, TKind::Path)) || (strokePath && !Alive(strokePath, TKind::Path))) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  auto c = std::make_unique<GpCustomLineCap>();
  if (fillPath) c->FillPath = fillPath->ToQt();
  if (strokePath) c->StrokePath = strokePath->ToQt();
  c->BaseCap = (baseCap >= LineCapFlat && baseCap <= LineCapTriangle) ? baseCap : LineCapFlat;
  c->BaseInset = baseInset;
  return Hand(std::move(c), customCap);
}
GpStatus GdipDeleteCustomLineCap(GpCustomLineCap* customCap) { return Delete(customCap, TKind::CustomLineCap); }
GpStatus GdipCloneCustomLineCap(GpCustomLineCap* customCap, GpCustomLineCap** clonedCap) {
  GpCustomLineCap* c = Cap(customCap);
  if (!c || !clonedCap) return InvalidParameter;
  auto n = std::make_unique<GpCustomLineCap>();
  *n = GpCustomLineCap();
  n->FillPath = c->FillPath;
  n->StrokePath = c->StrokePath;
  n->BaseCap = c->BaseCap;
  n->BaseInset = c->BaseInset;
  n->WidthScale = c->WidthScale;
  n->StartCap = c->StartCap;
  n->EndCap = c->EndCap;
  n->Join = c->Join;
  return Hand(std::move(n), clonedCap);
}
GpStatus GdipSetCustomLineCapStrokeCaps(GpCustomLineCap* customCap, GpLineCap startCap, GpLineCap endCap) {
  GpCustomLineCap* c = Cap(customCap);
  if (!c || !ValidCap(startCap) || !ValidCap(endCap)) return InvalidParameter;
  c->StartCap = startCap;
  c->EndCap = endCap;
  return Ok;
}
GpStatus GdipGetCustomLineCapStrokeCaps(GpCustomLineCap* customCap, GpLineCap* startCap, GpLineCap* endCap) {
  GpCustomLineCap* c = Cap(customCap);
  if (!c || !startCap || !endCap) return InvalidParameter;
  *startCap = c->StartCap;
  *endCap = c->EndCap;
  return Ok;
}
GpStatus GdipSetCustomLineCapStrokeJoin(GpCustomLineCap* customCap, GpLineJoin lineJoin) {
  GpCustomLineCap* c = Cap(customCap);
  if (!c || lineJoin < LineJoinMiter || lineJoin > LineJoinMiterClipped) return InvalidParameter;
  c->Join = lineJoin;
  return Ok;
}
GpStatus GdipGetCustomLineCapStrokeJoin(GpCustomLineCap* customCap, GpLineJoin* lineJoin) {
  GpCustomLineCap* c = Cap(customCap);
  if (!c || !lineJoin) return InvalidParameter;
  *lineJoin = c->Join;
  return Ok;
}
GpStatus GdipSetCustomLineCapBaseCap(GpCustomLineCap* customCap, GpLineCap baseCap) {
  GpCustomLineCap* c = Cap(customCap);
  if (!c || baseCap < LineCapFlat || baseCap > LineCapTriangle) return InvalidParameter;
  c->BaseCap = baseCap;
  return Ok;
}
GpStatus GdipGetCustomLineCapBaseCap(GpCustomLineCap* customCap, GpLineCap* baseCap) {
  GpCustomLineCap* c = Cap(customCap);
  if (!c || !baseCap) return InvalidParameter;
  *baseCap = c->BaseCap;
  return Ok;
}
GpStatus GdipSetCustomLineCapBaseInset(GpCustomLineCap* customCap, REAL inset) {
  GpCustomLineCap* c = Cap(customCap);
  if (!c || !Finite(inset)) return InvalidParameter;
  c->BaseInset = inset;
  return Ok;
}
GpStatus GdipGetCustomLineCapBaseInset(GpCustomLineCap* customCap, REAL* inset) {
  GpCustomLineCap* c = Cap(customCap);
  if (!c || !inset) return InvalidParameter;
  *inset = c->BaseInset;
  return Ok;
}
GpStatus GdipSetCustomLineCapWidthScale(GpCustomLineCap* customCap, REAL widthScale) {
  GpCustomLineCap* c = Cap(customCap);
  if (!c || !Finite(widthScale)) return InvalidParameter;
  c->WidthScale = widthScale;
  return Ok;
}
GpStatus GdipGetCustomLineCapWidthScale(GpCustomLineCap* customCap, REAL* widthScale) {
  GpCustomLineCap* c = Cap(customCap);
  if (!c || !widthScale) return InvalidParameter;
  *widthScale = c->WidthScale;
  return Ok;
}
