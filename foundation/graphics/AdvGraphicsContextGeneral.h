#pragma once
// TAdvGraphicsContextGeneral: the drawing context that draws with plain GDI
// on the owning canvas's TCanvas. It keeps no fill, stroke or font of its
// own (they live in the TCanvas); transforms, anti-aliasing and text quality
// have no effect, gradients are painted as one-pixel bands, and clipping to
// a path clips to the path's bounds. Float coordinates are rounded (halves
// to even) before they reach GDI; arcs take the floor.
#include <cstdint>

#include "foundation/graphics/AdvGraphicsContext.h"

class TAdvGraphicsContextGeneral : public TAdvGraphicsContext {
 public:
  using TAdvGraphicsContext::TAdvGraphicsContext;

  void* NativeCanvas() override { return Canvas(); }
  std::unique_ptr<TAdvGraphicsNativePath> CreatePath() override { return nullptr; }
  // The canvas brush's colour.
  TColor GetFillColor() override;
  TRectF CalculateText(const String& AText, const TRectF& ARect, bool AWordWrapping) override;
  TRectF SetTextAngle(const TRectF& ARect, Single) override { return ARect; }
  TAdvGraphicsMatrix GetMatrix() override { return TAdvGraphicsMatrix::Identity(); }
  void Render() override {}
  void PathOpen(TAdvGraphicsNativePath*) override {}
  void PathMoveTo(TAdvGraphicsNativePath* APath, const TPointF& APoint) override;
  void PathLineTo(TAdvGraphicsNativePath* APath, const TPointF& APoint) override;
  void SetScale(Single) override {}
  void PathClose(TAdvGraphicsNativePath* APath) override;
  // GDI clips narrow until a saved state is restored: no effect.
  void ResetClip() override {}
  void ResetTransform() override {}
  void ScaleTransform(Single, Single) override {}
  void RotateTransform(Single) override {}
  void TranslateTransform(Single, Single) override {}
  void SetTextQuality(TAdvGraphicsTextQuality) override {}
  void SetAntiAliasing(bool) override {}
  void SetShowAcceleratorChar(bool AShowAcceleratorChar) override { FShowAcceleratorChar = AShowAcceleratorChar; }
  void SetSize(Single, Single) override {}
  void ResetTextAngle(Single) override {}
  void BeginScene() override {}
  void EndScene() override {}
  void BeginPrinting() override { FPrinting = true; }
  void EndPrinting() override { FPrinting = false; }
  // While printing a dotted pen of width 1; on screen a cosmetic pen that
  // sets every other pixel. Calls come in pairs.
  void StartSpecialPen() override;
  void StopSpecialPen() override;
  void RestoreState(TAdvGraphicsSaveState* AState) override;
  void SaveState(TAdvGraphicsSaveState* AState) override;
  void SetFontSize(Integer ASize) override;
  void SetFontColor(TColor AColor) override;
  void SetFontName(const String& AName) override;
  void SetFont(TAdvGraphicsFont* AFont) override;
  void SetFontStyles(TFontStyles AStyle) override;
  void SetMatrix(const TAdvGraphicsMatrix&) override {}
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
  // The polyline's area, as FillPolygon.
  void FillPolyline(TAdvGraphicsFill* AFill, const TAdvGraphicsPathPolygon& APolyline) override;
  // The arc's figure closed by its chord, as the GDI+ context fills it.
  void FillArc(TAdvGraphicsFill* AFill, const TPointF& ACenter, const TPointF& ARadius, Single AStartAngle,
               Single ASweepAngle) override;
  // GDI's counter-clockwise arc: a negative sweep draws the complement.
  void DrawArc(TAdvGraphicsStroke* AStroke, const TPointF& ACenter, const TPointF& ARadius, Single AStartAngle,
               Single ASweepAngle) override;
  // Solid, or two-colour band gradients (halves for mirror colours).
  void FillRect(TAdvGraphicsFill* AFill, const TRectF& ARect,
                TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) override;
  void DrawRect(TAdvGraphicsStroke* AStroke, const TRectF& ARect, TAdvGraphicsSides ASides,
                TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) override;
  void FillRoundRect(TAdvGraphicsFill* AFill, const TRectF& ARect, Single ARounding, TAdvGraphicsCorners ACorners,
                     TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) override;
  void DrawRoundRect(TAdvGraphicsStroke* AStroke, const TRectF& ARect, Single ARounding, TAdvGraphicsCorners ACorners,
                     TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) override;
  void FillEllipse(TAdvGraphicsFill* AFill, const TRectF& ARect,
                   TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) override;
  void DrawEllipse(TAdvGraphicsStroke* AStroke, const TRectF& ARect,
                   TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) override;
  void DrawBitmap(TGraphic* ABitmap, const TRectF& ASrcRect, const TRectF& ADstRect, Single AOpacity) override;
  // Narrows the clip until a saved state is restored.
  void ClipRect(const TRectF& ARect) override;
  // Clips to the path's bounds.
  void ClipPath(TAdvGraphicsPath* APath) override;
  void DrawFocusPath(TAdvGraphicsStroke* AStroke, TAdvGraphicsPath* APath, TColor AColor) override;
  void DrawFocusRectangle(TAdvGraphicsStroke* AStroke, const TRectF& ARect, TColor AColor,
                          TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) override;
  // Angles other than 0 turn the text by quarter turns (DrawRotatedText).
  void DrawText(const String& AText, const TRectF& ARect, bool AWordWrapping, TAdvGraphicsTextAlign AHorizontalAlign,
                TAdvGraphicsTextAlign AVerticalAlign, TAdvGraphicsTextTrimming ATrimming, Single AAngle) override;
  void DrawPath(TAdvGraphicsStroke* AStroke, TAdvGraphicsPath* APath,
                TAdvGraphicsPathDrawMode APathMode = pdmPolygon) override;
  void FillPath(TAdvGraphicsFill* AFill, TAdvGraphicsPath* APath,
                TAdvGraphicsPathDrawMode APathMode = pdmPolygon) override;

 private:
  void CanvasArc(const TPoint& ACenter, const TPoint& ARadius, Single AStartAngle, Single ASweepAngle);

  bool FPrinting = false;
  bool FShowAcceleratorChar = false;
  HGDIOBJ FOldPenHandle = nullptr;
  HPEN FSpecialPen = nullptr;
  TPenStyle FOldPenStyle = psSolid;
  Integer FOldPenWidth = 1;
};

// Draws AText turned by AAngle degrees (a quarter turn either way) in ARect,
// placed by the two alignments.
void DrawRotatedText(TCanvas* ACanvas, const TRect& ARect, TAdvGraphicsTextAlign AVerticalAlign,
                     TAdvGraphicsTextAlign AHorizontalAlign, Single AAngle, const String& AText);
