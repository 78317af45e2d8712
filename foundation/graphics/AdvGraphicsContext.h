#pragma once
// TAdvGraphicsContext: the drawing surface behind the vector canvas. The
// canvas keeps fill, stroke and font, hands them over through the setters
// and forwards every primitive here; TAdvGraphicsContextGeneral draws with
// GDI, TAdvGraphicsContextWin with GDI+. Outlines use the stroke given to
// SetStroke, fills the fill given to SetFill. No operation raises for a
// missing surface: it does nothing.
#include <memory>
#include <vector>

#include "foundation/graphics/AdvGraphicsFill.h"
#include "foundation/graphics/AdvGraphicsFont.h"
#include "foundation/graphics/AdvGraphicsMatrix.h"
#include "foundation/graphics/AdvGraphicsPath.h"
#include "foundation/graphics/AdvGraphicsSaveState.h"
#include "foundation/graphics/AdvGraphicsStroke.h"
#include "platform/vcl/Canvas.h"
#include "platform/vcl/Graphic.h"

class TAdvGraphics;
class TStream;

// A native path that a context's CreatePath made; only that context reads it.
class TAdvGraphicsNativePath {
 public:
  virtual ~TAdvGraphicsNativePath() = default;
};

class TAdvGraphicsContext : public TObject {
 public:
  // AGraphics: the canvas that owns the context (not owned; may be nullptr).
  explicit TAdvGraphicsContext(TAdvGraphics* AGraphics);
  ~TAdvGraphicsContext() override;

  TAdvGraphics* Graphics() const { return FGraphics; }
  // The owning canvas's platform canvas; nullptr without one.
  TCanvas* Canvas() const;
  // The context's own surface (the TCanvas or the GDI+ graphics); nullptr when there is none.
  virtual void* NativeCanvas() = 0;

  // A new native path for ConvertToPath; nullptr where the device
  // context's own path bracket is used.
  virtual std::unique_ptr<TAdvGraphicsNativePath> CreatePath() = 0;
  // The colour text and fills currently use.
  virtual TColor GetFillColor() = 0;
  // The box AText occupies from ARect's top left with the current font
  // (wrapped at ARect's width when AWordWrapping).
  virtual TRectF CalculateText(const String& AText, const TRectF& ARect, bool AWordWrapping) = 0;
  // Prepares text turned by AAngle degrees; answers the rectangle to draw it in.
  virtual TRectF SetTextAngle(const TRectF& ARect, Single AAngle) = 0;
  // The current transform (identity where transforms are not supported or
  // there is no surface).
  virtual TAdvGraphicsMatrix GetMatrix() = 0;
  virtual void Render() = 0;
  virtual void PathOpen(TAdvGraphicsNativePath* APath) = 0;
  virtual void PathMoveTo(TAdvGraphicsNativePath* APath, const TPointF& APoint) = 0;
  virtual void PathLineTo(TAdvGraphicsNativePath* APath, const TPointF& APoint) = 0;
  virtual void SetScale(Single AScale) = 0;
  virtual void PathClose(TAdvGraphicsNativePath* APath) = 0;
  virtual void ResetClip() = 0;
  virtual void ResetTransform() = 0;
  virtual void ScaleTransform(Single AX, Single AY) = 0;
  // Degrees.
  virtual void RotateTransform(Single AAngle) = 0;
  virtual void TranslateTransform(Single AX, Single AY) = 0;
  virtual void SetTextQuality(TAdvGraphicsTextQuality ATextQuality) = 0;
  virtual void SetAntiAliasing(bool AAntiAliasing) = 0;
  virtual void SetShowAcceleratorChar(bool AShowAcceleratorChar) = 0;
  virtual void SetSize(Single AWidth, Single AHeight) = 0;
  virtual void ResetTextAngle(Single AAngle) = 0;
  virtual void BeginScene() = 0;
  virtual void EndScene() = 0;
  virtual void BeginPrinting() = 0;
  virtual void EndPrinting() = 0;
  // The focus pen (one-pixel dotted) for the outlines until StopSpecialPen.
  virtual void StartSpecialPen() = 0;
  virtual void StopSpecialPen() = 0;
  virtual void RestoreState(TAdvGraphicsSaveState* AState) = 0;
  virtual void SaveState(TAdvGraphicsSaveState* AState) = 0;
  // Points.
  virtual void SetFontSize(Integer ASize) = 0;
  virtual void SetFontColor(TColor AColor) = 0;
  virtual void SetFontName(const String& AName) = 0;
  virtual void SetFont(TAdvGraphicsFont* AFont) = 0;
  virtual void SetFontStyles(TFontStyles AStyle) = 0;
  virtual void SetMatrix(const TAdvGraphicsMatrix& AMatrix) = 0;
  virtual void SetFill(TAdvGraphicsFill* AFill) = 0;
  virtual void SetFillKind(TAdvGraphicsFillKind AKind) = 0;
  virtual void SetFillColor(TColor AColor) = 0;
  virtual void SetStroke(TAdvGraphicsStroke* AStroke) = 0;
  virtual void SetStrokeKind(TAdvGraphicsStrokeKind AKind) = 0;
  virtual void SetStrokeColor(TColor AColor) = 0;
  virtual void SetStrokeWidth(Single AWidth) = 0;
  virtual void DrawLine(TAdvGraphicsStroke* AStroke, const TPointF& AFromPoint, const TPointF& AToPoint,
                        TAdvGraphicsModifyPointMode AModifyPointModeFrom = gcpmRightDown,
                        TAdvGraphicsModifyPointMode AModifyPointModeTo = gcpmRightDown) = 0;
  virtual void DrawPolygon(TAdvGraphicsStroke* AStroke, const TAdvGraphicsPathPolygon& APolygon) = 0;
  virtual void FillPolygon(TAdvGraphicsFill* AFill, const TAdvGraphicsPathPolygon& APolygon) = 0;
  virtual void DrawPolyline(TAdvGraphicsStroke* AStroke, const TAdvGraphicsPathPolygon& APolyline) = 0;
  virtual void FillPolyline(TAdvGraphicsFill* AFill, const TAdvGraphicsPathPolygon& APolyline) = 0;
  virtual void FillArc(TAdvGraphicsFill* AFill, const TPointF& ACenter, const TPointF& ARadius, Single AStartAngle,
                       Single ASweepAngle) = 0;
  virtual void DrawArc(TAdvGraphicsStroke* AStroke, const TPointF& ACenter, const TPointF& ARadius,
                       Single AStartAngle, Single ASweepAngle) = 0;
  virtual void FillRect(TAdvGraphicsFill* AFill, const TRectF& ARect,
                        TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) = 0;
  virtual void DrawRect(TAdvGraphicsStroke* AStroke, const TRectF& ARect, TAdvGraphicsSides ASides,
                        TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) = 0;
  virtual void FillRoundRect(TAdvGraphicsFill* AFill, const TRectF& ARect, Single ARounding,
                             TAdvGraphicsCorners ACorners, TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) = 0;
  virtual void DrawRoundRect(TAdvGraphicsStroke* AStroke, const TRectF& ARect, Single ARounding,
                             TAdvGraphicsCorners ACorners, TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) = 0;
  virtual void FillEllipse(TAdvGraphicsFill* AFill, const TRectF& ARect,
                           TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) = 0;
  virtual void DrawEllipse(TAdvGraphicsStroke* AStroke, const TRectF& ARect,
                           TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) = 0;
  // The whole graphic into ADstRect; nothing for nullptr.
  virtual void DrawBitmap(TGraphic* ABitmap, const TRectF& ASrcRect, const TRectF& ADstRect, Single AOpacity) = 0;
  virtual void ClipRect(const TRectF& ARect) = 0;
  virtual void ClipPath(TAdvGraphicsPath* APath) = 0;
  virtual void DrawFocusPath(TAdvGraphicsStroke* AStroke, TAdvGraphicsPath* APath, TColor AColor) = 0;
  virtual void DrawFocusRectangle(TAdvGraphicsStroke* AStroke, const TRectF& ARect, TColor AColor,
                                  TAdvGraphicsModifyRectMode AModifyRectMode = gcrmNone) = 0;
  virtual void DrawText(const String& AText, const TRectF& ARect, bool AWordWrapping,
                        TAdvGraphicsTextAlign AHorizontalAlign, TAdvGraphicsTextAlign AVerticalAlign,
                        TAdvGraphicsTextTrimming ATrimming, Single AAngle) = 0;
  virtual void DrawPath(TAdvGraphicsStroke* AStroke, TAdvGraphicsPath* APath,
                        TAdvGraphicsPathDrawMode APathMode = pdmPolygon) = 0;
  virtual void FillPath(TAdvGraphicsFill* AFill, TAdvGraphicsPath* APath,
                        TAdvGraphicsPathDrawMode APathMode = pdmPolygon) = 0;

  // Issues APath as native path commands (curves as lines within Flatness,
  // below 0.05 counting as 0.05) through CreatePath and the path slots;
  // answers the native path (nullptr for the GDI context, whose commands go
  // into the device context's open path bracket). Nothing but CreatePath for
  // a nil or empty path.
  std::unique_ptr<TAdvGraphicsNativePath> ConvertToPath(TAdvGraphicsPath* APath, Single Flatness = 0.25f);

  // --- JSON: the persistence layer's per-object operations on this context ---
  // The context's settings JSON.
  String ToJSON();
  // The same without the named properties (the process-wide exclude list is restored after).
  String ToJSON(const std::vector<String>& AExcludedProperties);
  // Reads JSON text into the context; the reader's exceptions on malformed text pass through.
  void FromJSON(StringView Value);
  // The ToJSON text to the diagnostic log.
  void Log();
  // Creates or replaces the file; EFCreateError when it cannot be written.
  void SaveToJSONFile(const String& AFileName);
  // EFOpenError when the file cannot be read; the reader's exceptions on malformed text.
  void LoadFromJSONFile(const String& AFileName);
  // Writes at the stream's position.
  void SaveToJSONStream(TStream* AStream);
  // Reads from the start of the stream.
  void LoadFromJSONStream(TStream* AStream);
  // The JSON property: read through ToJSON, written through FromJSON.
  String JSON() { return ToJSON(); }
  void SetJSON(StringView Value) { FromJSON(Value); }

 private:
  TAdvGraphics* FGraphics;
};

// A context class: makes a context for a canvas.
using TAdvGraphicsContextClass = std::unique_ptr<TAdvGraphicsContext> (*)(TAdvGraphics* AGraphics);
