#pragma once
// TAdvGraphicsContextWin: the drawing context that draws with GDI+ (the
// run-time bound set) on the device context of the owning canvas's TCanvas.
// It keeps its own fill, stroke and font and turns each into a GDI+ brush,
// pen or font when it changes. Every drawing, clipping, transform and state
// operation does nothing while there is no surface (before SetSize, after
// Render); GDI+ statuses are not inspected.
#include <cstdint>
#include <memory>

#include "foundation/graphics/AdvGraphicsContext.h"
#include "foundation/gdiplus_runtime/GdiplusApi.h"

namespace gdiplus_runtime {
class TGPBrush;
class TGPFont;
class TGPGraphics;
class TGPGraphicsPath;
class TGPImage;
class TGPMatrix;
class TGPPen;
class TGPStringFormat;
}  // namespace gdiplus_runtime

class TAdvGraphicsContextWin : public TAdvGraphicsContext {
 public:
  explicit TAdvGraphicsContextWin(TAdvGraphics* AGraphics);
  ~TAdvGraphicsContextWin() override;

  // The GDI+ graphics (gdiplus_runtime::TGPGraphics); nullptr without a surface.
  void* NativeCanvas() override;
  // A new GDI+ path (alternate fill); nullptr while GDI+ is not started.
  std::unique_ptr<TAdvGraphicsNativePath> CreatePath() override;
  // The Color of the owning canvas's fill (gcNull without a canvas).
  TColor GetFillColor() override;
  // (0, 0, 0, 0) without a surface.
  TRectF CalculateText(const String& AText, const TRectF& ARect, bool AWordWrapping) override;
  TRectF SetTextAngle(const TRectF& ARect, Single AAngle) override;
  TAdvGraphicsMatrix GetMatrix() override;
  // The first call releases the surface; later calls do nothing.
  void Render() override;
  void PathOpen(TAdvGraphicsNativePath* APath) override;
  void PathMoveTo(TAdvGraphicsNativePath* APath, const TPointF& APoint) override;
  void PathLineTo(TAdvGraphicsNativePath* APath, const TPointF& APoint) override;
  void SetScale(Single AScale) override { FScale = AScale; }
  void PathClose(TAdvGraphicsNativePath* APath) override;
  void ResetClip() override;
  // Back to the base state: clips, transforms and saved states since are dropped.
  void ResetTransform() override;
  void ScaleTransform(Single AX, Single AY) override;
  void RotateTransform(Single AAngle) override;
  void TranslateTransform(Single AX, Single AY) override;
  // Takes a new base state (see ResetTransform).
  void SetTextQuality(TAdvGraphicsTextQuality ATextQuality) override;
  // Takes a new base state (see ResetTransform).
  void SetAntiAliasing(bool AAntiAliasing) override;
  void SetShowAcceleratorChar(bool AShowAcceleratorChar) override;
  // A new surface on the canvas's device context, its state the base state.
  void SetSize(Single AWidth, Single AHeight) override;
  void ResetTextAngle(Single AAngle) override;
  void BeginScene() override {}
  // Renders when a surface exists.
  void EndScene() override;
  void BeginPrinting() override {}
  void EndPrinting() override {}
  void StartSpecialPen() override {}
  void StopSpecialPen() override {}
  void RestoreState(TAdvGraphicsSaveState* AState) override;
  void SaveState(TAdvGraphicsSaveState* AState) override;
  void SetFontSize(Integer ASize) override;
  void SetFontColor(TColor AColor) override;
  void SetFontName(const String& AName) override;
  void SetFont(TAdvGraphicsFont* AFont) override;
  void SetFontStyles(TFontStyles AStyle) override;
  void SetMatrix(const TAdvGraphicsMatrix& AMatrix) override;
  void SetFill(TAdvGraphicsFill* AFill) override;
  void SetFillKind(TAdvGraphicsFillKind AKind) override;
  void SetFillColor(TColor AColor) override;
  void SetStroke(TAdvGraphicsStroke* AStroke) override;
  void SetStrokeKind(TAdvGraphicsStrokeKind AKind) override;
  void SetStrokeColor(TColor AColor) override;
  void SetStrokeWidth(Single AWidth) override;
  void DrawLine(TAdvGraphicsStroke* AStroke, const TPointF& AFromPoint, const TPointF& AToPoint,
                TAdvGraphicsModifyPointMode AModifyPointModeFrom = gcpmRightDown,
                TAdvGraphicsModifyPointMode AModifyPointModeTo = gcpmRightDown) override;
  void DrawPolygon(TAdvGraphicsStroke* AStroke, const TAdvGraphicsPathPolygon& APolygon) override;
  void FillPolygon(TAdvGraphicsFill* AFill, const TAdvGraphicsPathPolygon& APolygon) override;
  void DrawPolyline(TAdvGraphicsStroke* AStroke, const TAdvGraphicsPathPolygon& APolyline) override;
  void FillPolyline(TAdvGraphicsFill* AFill, const TAdvGraphicsPathPolygon& APolyline) override;
  void FillArc(TAdvGraphicsFill* AFill, const TPointF& ACenter, const TPointF& ARadius, Single AStartAngle,
               Single ASweepAngle) override;
  void DrawArc(TAdvGraphicsStroke* AStroke, const TPointF& ACenter, const TPointF& ARadius, Single AStartAngle,
               Single ASweepAngle) override;
  void FillRect(TAdvGraphicsFill* AFill, const TRectF& ARect,
                TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) override;
  void DrawRect(TAdvGraphicsStroke* AStroke, const TRectF& ARect, TAdvGraphicsSides ASides,
                TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) override;
  void FillRoundRect(TAdvGraphicsFill* AFill, const TRectF& ARect, Single ARounding, TAdvGraphicsCorners ACorners,
                     TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) override;
  void DrawRoundRect(TAdvGraphicsStroke* AStroke, const TRectF& ARect, Single ARounding, TAdvGraphicsCorners ACorners,
                     TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) override;
  // The ellipse in ARect.
  void FillEllipse(TAdvGraphicsFill* AFill, const TRectF& ARect,
                   TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) override;
  // The ellipse in ARect less one pixel at the right and bottom.
  void DrawEllipse(TAdvGraphicsStroke* AStroke, const TRectF& ARect,
                   TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) override;
  // The whole picture into ADstRect (source rectangle and opacity unused);
  // Exception "Could not allocate memory for image" for a picture beyond the
  // picture budget.
  void DrawBitmap(TGraphic* ABitmap, const TRectF& ASrcRect, const TRectF& ADstRect, Single AOpacity) override;
  void ClipRect(const TRectF& ARect) override;
  void ClipPath(TAdvGraphicsPath* APath) override;
  void DrawFocusPath(TAdvGraphicsStroke* AStroke, TAdvGraphicsPath* APath, TColor AColor) override;
  void DrawFocusRectangle(TAdvGraphicsStroke* AStroke, const TRectF& ARect, TColor AColor,
                          TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) override;
  // AAngle is not used: rotation comes from SetTextAngle.
  void DrawText(const String& AText, const TRectF& ARect, bool AWordWrapping, TAdvGraphicsTextAlign AHorizontalAlign,
                TAdvGraphicsTextAlign AVerticalAlign, TAdvGraphicsTextTrimming ATrimming, Single AAngle) override;
  void DrawPath(TAdvGraphicsStroke* AStroke, TAdvGraphicsPath* APath,
                TAdvGraphicsPathDrawMode APathMode = pdmPolygon) override;
  void FillPath(TAdvGraphicsFill* AFill, TAdvGraphicsPath* APath,
                TAdvGraphicsPathDrawMode APathMode = pdmPolygon) override;

  TAdvGraphicsFill* Fill() const { return FFill.get(); }
  TAdvGraphicsStroke* Stroke() const { return FStroke.get(); }
  TAdvGraphicsFont* Font() const { return FFont.get(); }
  // The GDI+ objects built from them (nullptr until built).
  gdiplus_runtime::TGPPen* GPPen() const { return FGPPen.get(); }
  gdiplus_runtime::TGPBrush* GPBrush() const { return FGPBrush.get(); }
  gdiplus_runtime::TGPFont* GPFont() const { return FGPFont.get(); }
  gdiplus_runtime::TGPGraphics* GPGraphics() const { return FGPGraphics.get(); }

 private:
  void ReleaseGraphics();
  void FontChanged();
  void FillChanged();
  void StrokeChanged();
  void UpdateBrush(TAdvGraphicsFill* AFill, gdiplus_runtime::TGPGraphicsPath* APath);
  void FillNativePath(gdiplus_runtime::TGPGraphicsPath* APath);
  bool SuspendSmoothing();
  void ResumeSmoothing(bool ASuspended);
  static gdiplus_runtime::TGPGraphicsPath* NativeOf(TAdvGraphicsNativePath* APath);

  bool FShowAcceleratorChar = false;
  std::unique_ptr<gdiplus_runtime::TGPMatrix> FTextMatrix;
  Integer FSmoothingMode = 0;
  std::uint32_t FSaveGP = 0;
  Single FScale;
  TPointF FMovePoint;
  bool FNeedsRendering = true;
  std::unique_ptr<TAdvGraphicsFont> FFont;
  std::unique_ptr<TAdvGraphicsFill> FFill;
  std::unique_ptr<TAdvGraphicsStroke> FStroke;
  std::unique_ptr<gdiplus_runtime::TGPFont> FGPFont;
  TSizeF FContextSize;
  std::unique_ptr<gdiplus_runtime::TGPBrush> FGPBrush;
  std::unique_ptr<gdiplus_runtime::TGPPen> FGPPen;
  std::unique_ptr<gdiplus_runtime::TGPGraphics> FGPGraphics;
};

// The class the canvas makes its GDI+ context from.
TAdvGraphicsContextClass NativeContextClass();

// AColor (system colours resolved, -1 as black) with alpha AOpacity × 255
// rounded (clamped to 0..255) as a GDI+ ARGB value.
ARGB ColorToGPColor(TColor AColor, Single AOpacity);
// The GDI+ font of AFont: "Arial" for an empty or "DEFAULT" name, 8 points for size 0.
std::unique_ptr<gdiplus_runtime::TGPFont> CreateGPFont(TAdvGraphicsFont* AFont);
// The pen of AStroke: colour, width, dash style, flat caps, clipped miter joins.
std::unique_ptr<gdiplus_runtime::TGPPen> CreateGPPen(TAdvGraphicsStroke* AStroke);
// A solid brush in the font's colour.
std::unique_ptr<gdiplus_runtime::TGPBrush> CreateFontBrush(TAdvGraphicsFont* AFont);
std::unique_ptr<gdiplus_runtime::TGPStringFormat> CreateGPStringFormat(TAdvGraphicsTextAlign AHorizontal,
                                                                       TAdvGraphicsTextAlign AVertical, bool AWordWrap,
                                                                       bool AShowAccelerator,
                                                                       TAdvGraphicsTextTrimming ATrimming);
// The brush that fills APath (may be nil) with AFill.
std::unique_ptr<gdiplus_runtime::TGPBrush> CreateGPBrush(TAdvGraphicsFill* AFill,
                                                         gdiplus_runtime::TGPGraphicsPath* APath);
// The picture as a GDI+ image (raster pictures copied into a 32-bit ARGB
// bitmap); nullptr for nil or an empty picture. Exception "Could not
// allocate memory for image" beyond the picture budget.
std::unique_ptr<gdiplus_runtime::TGPImage> CreateGPImage(TGraphic* ABitmap);
