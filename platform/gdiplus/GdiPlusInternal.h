#pragma once
// Inside view of the GDI+ flat API, for platform/gdiplus/*.cpp only: the
// objects behind the handles, held as Qt values.
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdiplus/GdiPlus.h"

namespace gdiplus_internal {

enum class TKind {
  Graphics, Pen, Brush, Path, Region, Matrix, Image, ImageAttributes, Font, FontFamily, FontCollection,
  StringFormat, CustomLineCap, CachedBitmap
};

struct TObject {
  explicit TObject(TKind kind) : Kind(kind) {}
  virtual ~TObject() = default;
  TKind Kind;
};

// Live-handle registry: a stale or foreign pointer is refused, not followed.
void Track(TObject* o);
void Untrack(TObject* o);
bool Alive(const void* p, TKind kind);
bool Running();

template <class T>
T* Get(const T* p, TKind kind) {
  return Alive(p, kind) ? const_cast<T*>(p) : nullptr;
}
// Registers a new object and hands it out through out; the caller checked out.
template <class T>
GpStatus Hand(std::unique_ptr<T> obj, T** out) {
  Track(obj.get());
  *out = obj.release();
  return Ok;
}
template <class T>
GpStatus Delete(T* p, TKind kind) {
  if (!Alive(p, kind)) return InvalidParameter;
  Untrack(p);
  delete p;  // the handle's owner is the caller of the flat API
  return Ok;
}

// ARGB <-> Qt.
inline QColor ToQColor(ARGB c) { return QColor(int((c >> 16) & 0xff), int((c >> 8) & 0xff), int(c & 0xff), int(c >> 24)); }
inline ARGB FromQColor(const QColor& c) {
  return (ARGB(c.alpha()) << 24) | (ARGB(c.red()) << 16) | (ARGB(c.green()) << 8) | ARGB(c.blue());
}
inline ARGB FromQRgb(QRgb c) { return ARGB(c); }  // QRgb is 0xAARRGGBB, as ARGB

bool ValidMatrixOrder(GpMatrixOrder order);
bool ValidWrapMode(GpWrapMode mode);
// Applies op to m in GDI+'s order: prepend = op first, then m.
void Combine(QTransform& m, const QTransform& op, GpMatrixOrder order);
QTransform RotationTransform(REAL degrees);
bool Finite(REAL v);

}  // namespace gdiplus_internal

struct GpMatrix : gdiplus_internal::TObject {
  GpMatrix() : TObject(gdiplus_internal::TKind::Matrix) {}
  QTransform M;
};

struct GpPath : gdiplus_internal::TObject {
  GpPath() : TObject(gdiplus_internal::TKind::Path) {}
  std::vector<QPointF> Points;
  std::vector<Byte> Types;
  GpFillMode Fill = FillModeAlternate;
  bool StartNew = true;  // the next point starts a figure
  QPainterPath ToQt() const;
  // Appends a figure of points and types (first type Start); connect joins it
  // to the open figure with a line.
  void AddFigure(const std::vector<QPointF>& pts, const std::vector<Byte>& types, bool closed);
  void AddLines(const std::vector<QPointF>& pts);
  void AddBeziers(const std::vector<QPointF>& pts);  // pts[0] is the start point
  void Close();
  void FromQt(const QPainterPath& path, bool flattenCurves);
};

struct GpRegion : gdiplus_internal::TObject {
  GpRegion() : TObject(gdiplus_internal::TKind::Region) {}
  enum TState { Infinite, Empty, Shape } State = Infinite;
  QPainterPath Path;  // for Shape, winding fill
  QPainterPath AsPath() const;  // infinite as a very large rectangle
  void Set(const QPainterPath& p);
};

struct GpCustomLineCap : gdiplus_internal::TObject {
  GpCustomLineCap() : TObject(gdiplus_internal::TKind::CustomLineCap) {}
  std::optional<QPainterPath> FillPath, StrokePath;
  GpLineCap BaseCap = LineCapFlat;
  REAL BaseInset = 0, WidthScale = 1;
  GpLineCap StartCap = LineCapFlat, EndCap = LineCapFlat;
  GpLineJoin Join = LineJoinMiter;
};

struct GpImage : gdiplus_internal::TObject {
  GpImage() : TObject(gdiplus_internal::TKind::Image) {}
  QImage Image;  // ARGB32_Premultiplied, RGB32 or an indexed format
  PixelFormat Format = PixelFormat32bppARGB;
  GUID RawFormat = ImageFormatMemoryBMP;
  REAL DpiX = 96, DpiY = 96;
  std::vector<QImage> Frames;  // animated or multi-page sources; Image is the active one
  UINT ActiveFrame = 0;
  std::vector<PropertyItem> Properties;
  std::vector<std::vector<Byte>> PropertyValues;
  std::vector<GpGraphics*> Users;  // graphics drawing on the image
  bool Locked = false;
  // Lock state.
  QRect LockRect;
  UINT LockFlags = 0;
  PixelFormat LockFormat = 0;
  std::vector<Byte> LockBuffer;
  // Caller-owned rows of GdipCreateBitmapFromScan0, written back after drawing.
  Byte* UserScan0 = nullptr;
  INT UserStride = 0;
  void SyncToUser();
};

struct GpImageAttributes : gdiplus_internal::TObject {
  GpImageAttributes() : TObject(gdiplus_internal::TKind::ImageAttributes) {}
  struct TAdjust {
    bool Set = false;  // any setting made for this type (else the default type's apply)
    bool NoOp = false;
    bool HasMatrix = false;
    ColorMatrix Matrix{}, Gray{};
    GpColorMatrixFlags MatrixFlags = ColorMatrixFlagsDefault;
    bool HasThreshold = false;
    REAL Threshold = 0;
    bool HasGamma = false;
    REAL Gamma = 1;
    bool HasKey = false;
    ARGB KeyLow = 0, KeyHigh = 0;
    bool HasRemap = false;
    std::vector<ColorMap> Remap;
    bool HasChannel = false;
    GpColorChannelFlags Channel = ColorChannelFlagsC;
  };
  std::array<TAdjust, ColorAdjustTypeCount> Adjust;
  GpWrapMode Wrap = WrapModeClamp;
  ARGB WrapColor = 0;
  const TAdjust& For(GpColorAdjustType type) const;
  ARGB Apply(ARGB c, GpColorAdjustType type) const;
  QImage Apply(const QImage& img, GpColorAdjustType type) const;
};

struct GpBrush : gdiplus_internal::TObject {
  GpBrush() : TObject(gdiplus_internal::TKind::Brush) {}
  GpBrushType Type = BrushTypeSolidColor;
  ARGB Color = 0xff000000;
  // Hatch.
  GpHatchStyle Hatch = HatchStyleHorizontal;
  ARGB Fore = 0, Back = 0;
  // Texture.
  QImage Texture;
  std::unique_ptr<GpImage> TextureImage;  // what GdipGetTextureImage copies
  // Gradients and textures.
  GpWrapMode Wrap = WrapModeTile;
  QTransform Transform;
  bool Gamma = false;
  std::vector<REAL> BlendFactors{1}, BlendPositions{0};  // one entry: no blend
  std::vector<ARGB> PresetColors;
  std::vector<REAL> PresetPositions;
  // Linear gradient: start and end in brush space, the brush rectangle.
  QPointF P1, P2;
  ARGB Colors[2] = {0, 0};
  QRectF Rect;
  // Path gradient.
  std::vector<QPointF> Boundary;  // flattened closed outline
  GpPath SourcePath;
  ARGB CenterColor = 0xff000000;
  std::vector<ARGB> Surround{0xffffffff};
  QPointF Center;
  REAL FocusX = 0, FocusY = 0;
  std::unique_ptr<GpBrush> Clone() const;
  // The colour at t in [0, 1] of the gradient (linear: start to end; path:
  // boundary to centre), blends applied.
  ARGB Ramp(REAL t, ARGB from, ARGB to) const;
};

struct GpPen : gdiplus_internal::TObject {
  GpPen() : TObject(gdiplus_internal::TKind::Pen) {}
  std::unique_ptr<GpBrush> Brush;
  REAL Width = 1;
  GpUnit Unit = UnitWorld;
  GpLineCap StartCap = LineCapFlat, EndCap = LineCapFlat;
  GpDashCap DashCap = DashCapFlat;
  GpLineJoin Join = LineJoinMiter;
  REAL MiterLimit = 10;
  GpPenAlignment Alignment = PenAlignmentCenter;
  GpDashStyle Dash = DashStyleSolid;
  REAL DashOffset = 0;
  std::vector<REAL> DashArray;
  std::vector<REAL> Compound;
  std::unique_ptr<GpCustomLineCap> CustomStart, CustomEnd;
  QTransform Transform;
  std::unique_ptr<GpPen> Clone() const;
  // The dash lengths (in pen widths) of the current style; empty for solid.
  std::vector<REAL> Pattern() const;
};

struct GpFontFamily : gdiplus_internal::TObject {
  GpFontFamily() : TObject(gdiplus_internal::TKind::FontFamily) {}
  QString Name;  // as GDI+ reports it
  QString Face;  // the installed family that draws it
};

struct GpFontCollection : gdiplus_internal::TObject {
  GpFontCollection() : TObject(gdiplus_internal::TKind::FontCollection) {}
};

struct GpFont : gdiplus_internal::TObject {
  GpFont() : TObject(gdiplus_internal::TKind::Font) {}
  GpFontFamily Family;
  REAL EmSize = 0;
  INT Style = 0;
  GpUnit Unit = UnitPoint;
  // Em height in pixels at the given DPI (96 for image and screen surfaces).
  REAL EmPixels(REAL dpi = 96) const;
  QFont ToQFont(REAL emPixels) const;
  // The Qt font and its metrics for an em size, kept between calls.
  const QFont& QtFont(REAL emPixels) const;
  const QFontMetricsF& Metrics(REAL emPixels) const;

 private:
  mutable REAL FCachedEm = -1;
  mutable QFont FCachedFont;
  mutable std::unique_ptr<QFontMetricsF> FCachedMetrics;
};

struct GpStringFormat : gdiplus_internal::TObject {
  GpStringFormat() : TObject(gdiplus_internal::TKind::StringFormat) {}
  INT Flags = 0;
  Word Language = 0;
  GpStringAlignment Align = StringAlignmentNear, LineAlign = StringAlignmentNear;
  GpStringTrimming Trimming = StringTrimmingCharacter;
  INT Hotkey = HotkeyPrefixNone;
  REAL FirstTab = 0;
  std::vector<REAL> Tabs;
  Word DigitLanguage = 0;
  GpStringDigitSubstitute Digits = StringDigitSubstituteUser;
  std::vector<GpCharacterRange> Ranges;
  bool Typographic = false;  // no side padding, as the generic typographic format
  bool Shared = false;       // a generic format: never deleted
};

struct GpCachedBitmap : gdiplus_internal::TObject {
  GpCachedBitmap() : TObject(gdiplus_internal::TKind::CachedBitmap) {}
  QImage Image;
};

struct GpGraphics : gdiplus_internal::TObject {
  GpGraphics() : TObject(gdiplus_internal::TKind::Graphics) {}
  ~GpGraphics() override;
  HDC Dc = nullptr;            // drawing on a DC's surface
  GpImage* Image = nullptr;    // or on an image
  std::unique_ptr<QPainter> OwnPainter;
  HDC OutDc = nullptr;         // handed out by GdipGetDC
  struct TState {
    QTransform World;
    QTransform Base;  // the enclosing containers' transform
    GpUnit PageUnit = UnitDisplay;
    REAL PageScale = 1;
    std::optional<QPainterPath> Clip;  // device coordinates; none: unclipped
    GpSmoothingMode Smoothing = SmoothingModeNone;
    GpSmoothingMode SmoothingAsSet = SmoothingModeDefault;
    GpPixelOffsetMode PixelOffset = PixelOffsetModeDefault;
    GpCompositingMode Compositing = CompositingModeSourceOver;
    GpCompositingQuality CompositingQuality = CompositingQualityDefault;
    GpInterpolationMode Interpolation = InterpolationModeBilinear;
    GpTextRenderingHint TextHint = TextRenderingHintSystemDefault;
    UINT TextContrast = 4;
    QPoint Origin;
  } State;
  struct TSaved {
    UINT Token;
    bool Container;
    TState State;
  };
  std::vector<TSaved> Stack;
  UINT NextToken = 1;
  // Base transform from page to device: page unit and scale.
  QTransform PageTransform() const;
  // World -> device.
  QTransform DeviceTransform() const { return State.World * State.Base * PageTransform(); }
  QRectF Bounds() const;  // the surface in device coordinates
  // The painter set up for one drawing call, restored by the destructor.
  class TPaint {
   public:
    explicit TPaint(GpGraphics* g);
    ~TPaint();
    QPainter* operator->() const { return P; }
    QPainter* get() const { return P; }
    explicit operator bool() const { return P != nullptr; }
   private:
    QPainter* P = nullptr;
    GpGraphics* G;
  };
  QPainter* BasePainter();  // the surface's painter, device coordinates
  QTransform BaseTransform();  // device -> painter
};

namespace gdiplus_internal {
// Combines p into r (empty and infinite regions included).
void CombineInto(GpRegion& r, const QPainterPath& p, GpCombineMode mode);
// Ends the painters of graphics drawing on the image (before it changes shape).
void QuiesceImage(GpImage* image);
// Shared by the groups: drawing a filled path or stroking one with a pen.
GpStatus FillQtPath(GpGraphics* g, const GpBrush* brush, const QPainterPath& path);
GpStatus StrokeQtPath(GpGraphics* g, const GpPen* pen, const QPainterPath& path);
// The outline a pen paints around a path (world coordinates).
QPainterPath Outline(const GpPen* pen, const QPainterPath& path);
// Draws src (already adjusted) mapped from srcRect onto the parallelogram.
GpStatus DrawImageMapped(GpGraphics* g, const QImage& src, const QRectF& srcRect, const QPointF dst[3],
                         const GpImageAttributes* attrs);
// The QBrush for a solid, hatch, texture or linear brush (path gradients are
// painted per pixel); deviceTransform maps brush space into device space.
QBrush ToQBrush(const GpBrush* b, const QPoint& origin);
QImage HatchImage(GpHatchStyle style, ARGB fore, ARGB back);
// Bézier points of an elliptical arc (start point included), GDI+'s way.
std::vector<QPointF> ArcPoints(REAL x, REAL y, REAL w, REAL h, REAL start, REAL sweep);
// Cardinal spline through pts as Bézier points (start point included).
std::vector<QPointF> CurvePoints(const std::vector<QPointF>& pts, REAL tension, bool closed);
REAL UnitToPixels(GpUnit unit, REAL dpi);
}  // namespace gdiplus_internal
