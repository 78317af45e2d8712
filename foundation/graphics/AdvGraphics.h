#pragma once
// TAdvGraphics: the library's drawing surface. It wraps a platform canvas
// (or the canvas of a bitmap it owns), keeps its own fill, stroke and font
// and mirrors each change into its drawing context (GDI or GDI+), and draws
// shapes, paths, pictures, text (plain or in the library's mini-HTML
// dialect) and small interface glyphs through that context.
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "foundation/graphics/AdvGraphicsContext.h"

class TAdvBitmap;
class TAdvScaledBitmaps;
class TPictureContainer;
class TCustomImageList;
class TBitmap;
class TStream;

class TAdvGraphics : public TObject {
 public:
  // Draws on ACanvas (not owned) through the GDI+ context when ANative, else
  // the GDI context; the context's size starts at 1 x 1 and it receives the
  // canvas's fill (solid white to grey), stroke (solid silver) and font.
  TAdvGraphics(TCanvas* ACanvas, bool ANative);
  // Draws on ACanvas through the context AContextClass makes (a GDI context
  // or a class derived from it, such as one that also records the calls).
  TAdvGraphics(TCanvas* ACanvas, TAdvGraphicsContextClass AContextClass);
  ~TAdvGraphics() override;
  TAdvGraphics(const TAdvGraphics&) = delete;
  TAdvGraphics& operator=(const TAdvGraphics&) = delete;

  // A canvas drawing through the GDI+ context.
  static std::unique_ptr<TAdvGraphics> CreateNative(TCanvas* ACanvas);
  // A canvas over a bitmap of its own of AWidth x AHeight (sizes below 0
  // count as 0); the context's size is the bitmap's. AHighDPI is not used.
  static std::unique_ptr<TAdvGraphics> CreateBitmapCanvas(Integer AWidth, Integer AHeight, bool ANative = false,
                                                          bool AHighDPI = false);
  static std::unique_ptr<TAdvGraphics> CreateNativeBitmapCanvas(Integer AWidth, Integer AHeight);

  // --- properties ------------------------------------------------------------
  TCanvas* Canvas() const { return FActiveCanvas; }
  bool Native() const { return FNative; }
  TAdvGraphicsContext* Context() const { return FNative ? FContextNative.get() : FContextGeneral.get(); }
  TAdvGraphicsFill* Fill() const { return FFill.get(); }
  TAdvGraphicsStroke* Stroke() const { return FStroke.get(); }
  TAdvGraphicsFont* Font() const { return FFont.get(); }
  // The owned bitmap of a bitmap canvas; nullptr otherwise.
  TBitmap* Bitmap() const { return FBitmap.get(); }

  bool OptimizedHTMLDrawing() const { return FOptimizedHTMLDrawing; }
  void SetOptimizedHTMLDrawing(bool Value) { FOptimizedHTMLDrawing = Value; }
  TColor HighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor Value) { FHighlightColor = Value; }
  TColor HighlightTextColor() const { return FHighlightTextColor; }
  void SetHighlightTextColor(TColor Value) { FHighlightTextColor = Value; }
  TFontStyles HighlightFontStyle() const { return FHighlightFontStyles; }
  void SetHighlightFontStyle(TFontStyles Value) { FHighlightFontStyles = Value; }
  TCustomImageList* ImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value) { FImageList = Value; }
  TPictureContainer* PictureContainer() const { return FPictureContainer; }
  void SetPictureContainer(TPictureContainer* Value) { FPictureContainer = Value; }
  TColor URLColor() const { return FURLColor; }
  void SetURLColor(TColor Value) { FURLColor = Value; }
  bool URLUnderline() const { return FURLUnderline; }
  void SetURLUnderline(bool Value) { FURLUnderline = Value; }
  // Whether tagged text may read local files (IMG "FILE://" sources and BODY
  // BACKGROUND files). Off by default: text from outside the program must
  // not make the canvas open files.
  bool HTMLAllowLocalFiles() const { return FHTMLAllowLocalFiles; }
  void SetHTMLAllowLocalFiles(bool Value) { FHTMLAllowLocalFiles = Value; }

  // --- matrix, scenes, state -------------------------------------------------
  TAdvGraphicsMatrix GetMatrix();
  void SetMatrix(const TAdvGraphicsMatrix& AMatrix);
  void BeginPrinting();
  void EndPrinting();
  void BeginScene();
  void EndScene();
  void StartSpecialPen();
  void StopSpecialPen();
  // Clips further drawing to ARect (until a state is restored).
  void ClipRect(const TRectF& ARect);
  void ClipRect(const TRect& ARect);
  // Fill, stroke and font from another canvas (nothing for nullptr).
  void Assign(TAdvGraphics* Source);
  // A new state (owned by the caller until handed to RestoreState) holding
  // fill, stroke and font (unless ACanvasOnly) and the context's own state.
  std::unique_ptr<TAdvGraphicsSaveState> SaveState(bool ACanvasOnly = false);
  // Restores and frees AState; nothing for nullptr.
  void RestoreState(std::unique_ptr<TAdvGraphicsSaveState> AState, bool ACanvasOnly = false);

  // --- setters (each passes the value to the context, then copies it into
  // the own object; nested calls from change events are ignored) ------------
  void SetFill(TAdvGraphicsFill* AFill);
  void SetStroke(TAdvGraphicsStroke* AStroke);
  void SetFont(TAdvGraphicsFont* AFont);
  void SetFillKind(TAdvGraphicsFillKind AKind);
  void SetFillColor(TColor AColor);
  void SetFontColor(TColor AColor);
  void SetFontName(const String& AName);
  // Points.
  void SetFontSize(Integer ASize);
  void SetFontStyles(TFontStyles AStyle);
  void SetStrokeKind(TAdvGraphicsStrokeKind AKind);
  void SetStrokeColor(TColor AColor);
  void SetStrokeWidth(Single AWidth);

  // --- lines and shapes: closed shapes are filled (fill colour not -1 and
  // kind not none, or a texture fill) and then outlined (stroke colour not
  // -1 and kind not none) ----------------------------------------------------
  void DrawLine(const TPointF& AFromPoint, const TPointF& AToPoint,
                TAdvGraphicsModifyPointMode AModifyPointModeFrom = gcpmRightDown,
                TAdvGraphicsModifyPointMode AModifyPointModeTo = gcpmRightDown);
  void DrawLine(const TPoint& AFromPoint, const TPoint& AToPoint,
                TAdvGraphicsModifyPointMode AModifyPointModeFrom = gcpmRightDown,
                TAdvGraphicsModifyPointMode AModifyPointModeTo = gcpmRightDown);
  void DrawFocusRectangle(double ALeft, double ATop, double ARight, double ABottom, TColor AColor = clBlack,
                          TAdvGraphicsModifyRectMode AModifyRectMode = gcrmShrinkAll);
  void DrawFocusRectangle(const TRectF& ARect, TColor AColor = clBlack,
                          TAdvGraphicsModifyRectMode AModifyRectMode = gcrmShrinkAll);
  void DrawFocusRectangle(const TRect& ARect, TColor AColor = clBlack,
                          TAdvGraphicsModifyRectMode AModifyRectMode = gcrmShrinkAll);
  void DrawFocusPath(TAdvGraphicsPath* APath, TColor AColor = clBlack);
  void DrawPolygon(const TAdvGraphicsPathPolygon& APolygon);
  void DrawPolyline(const TAdvGraphicsPathPolygon& APolyline);
  // Nothing for nullptr.
  void DrawPath(TAdvGraphicsPath* APath, TAdvGraphicsPathDrawMode APathMode = pdmPolygon);
  // Degrees.
  void DrawArc(const TPointF& ACenter, const TPointF& ARadius, Single AStartAngle, Single ASweepAngle);
  void DrawArc(const TPoint& ACenter, const TPoint& ARadius, Integer AStartAngle, Integer ASweepAngle);
  void DrawRectangle(double ALeft, double ATop, double ARight, double ABottom, TAdvGraphicsSides ASides,
                     TAdvGraphicsModifyRectMode AModifyRectMode = gcrmShrinkAll);
  void DrawRectangle(double ALeft, double ATop, double ARight, double ABottom,
                     TAdvGraphicsModifyRectMode AModifyRectMode = gcrmShrinkAll);
  void DrawRectangle(const TRectF& ARect, TAdvGraphicsModifyRectMode AModifyRectMode = gcrmShrinkAll);
  void DrawRectangle(const TRectF& ARect, TAdvGraphicsSides ASides,
                     TAdvGraphicsModifyRectMode AModifyRectMode = gcrmShrinkAll);
  void DrawRectangle(const TRect& ARect, TAdvGraphicsModifyRectMode AModifyRectMode = gcrmShrinkAll);
  void DrawRectangle(const TRect& ARect, TAdvGraphicsSides ASides,
                     TAdvGraphicsModifyRectMode AModifyRectMode = gcrmShrinkAll);
  void DrawEllipse(double ALeft, double ATop, double ARight, double ABottom,
                   TAdvGraphicsModifyRectMode AModifyRectMode = gcrmShrinkAll);
  void DrawEllipse(const TRectF& ARect, TAdvGraphicsModifyRectMode AModifyRectMode = gcrmShrinkAll);
  void DrawEllipse(const TRect& ARect, TAdvGraphicsModifyRectMode AModifyRectMode = gcrmShrinkAll);
  void DrawRoundRectangle(double ALeft, double ATop, double ARight, double ABottom, Single ARounding = 10,
                          TAdvGraphicsCorners ACorners = AllGraphicsCorners,
                          TAdvGraphicsModifyRectMode AModifyRectMode = gcrmShrinkAll);
  void DrawRoundRectangle(const TRectF& ARect, Single ARounding = 10, TAdvGraphicsCorners ACorners = AllGraphicsCorners,
                          TAdvGraphicsModifyRectMode AModifyRectMode = gcrmShrinkAll);
  void DrawRoundRectangle(const TRect& ARect, Integer ARounding = 10, TAdvGraphicsCorners ACorners = AllGraphicsCorners,
                          TAdvGraphicsModifyRectMode AModifyRectMode = gcrmShrinkAll);

  // --- pictures: nothing for nullptr, empty pictures or empty rectangles ------
  // The rectangle a picture takes in ARect under the flags; empty for nullptr.
  TRectF GetBitmapDrawRectangle(const TRectF& ARect, TGraphic* ABitmap, bool AAspectRatio, bool AStretch,
                                bool ACenter, bool ACropping);
  TRectF GetBitmapDrawRectangle(const TRectF& ARect, TPicture* ABitmap, bool AAspectRatio, bool AStretch,
                                bool ACenter, bool ACropping);
  // SVG pictures are drawn through the SVG document onto this canvas.
  void DrawBitmap(const TRectF& ARect, TPicture* ABitmap, bool AAspectRatio = true, bool AStretch = false,
                  bool ACenter = true, bool ACropping = false);
  void DrawBitmap(const TRect& ARect, TPicture* ABitmap, bool AAspectRatio = true, bool AStretch = false,
                  bool ACenter = true, bool ACropping = false);
  void DrawBitmap(double ALeft, double ATop, double ARight, double ABottom, TPicture* ABitmap,
                  bool AAspectRatio = true, bool AStretch = false, bool ACenter = true, bool ACropping = false);
  // At the picture's own size.
  void DrawBitmap(Single ALeft, Single ATop, TPicture* ABitmap);
  // A raster graphic directly (the same placement rules).
  void DrawBitmap(const TRectF& ARect, TGraphic* ABitmap, bool AAspectRatio = true, bool AStretch = false,
                  bool ACenter = true, bool ACropping = false);
  // The ASource part of the picture into ADestination.
  void DrawBitmapPart(const TRectF& ASource, const TRectF& ADestination, TPicture* ABitmap, bool AAspectRatio = true,
                      bool AStretch = false, bool ACenter = true, bool ACropping = false);
  // That part as a new picture; nullptr for empty rectangles, empty or SVG pictures.
  std::unique_ptr<TAdvBitmap> DrawBitmapPartSync(const TRectF& ASource, TPicture* ABitmap);
  // The container's picture named AName (with "_<scale>" first when
  // AApplyScale); nullptr without a container or name, or when none matches.
  static TPicture* GetBitmapFromPictureContainer(TPictureContainer* APictureContainer, const String& AName,
                                                 bool AApplyScale = false, Single AScale = 0);
  void DrawBitmapWithName(const TRectF& ARect, const String& ABitmapName, bool AApplyScale = false, Single AScale = 0,
                          bool AAspectRatio = true, bool AStretch = false, bool ACenter = true,
                          bool ACropping = false);
  // The picture of the item for the scale (AScale when positive, else the
  // DPI scale); nullptr when there is none.
  static TPicture* GetScaledBitmap(TAdvScaledBitmaps* ABitmaps, Single AScale = 0,
                                   TPictureContainer* APictureContainer = nullptr);
  void DrawScaledBitmap(const TRectF& ARect, TAdvScaledBitmaps* ABitmaps, Single AScale = 0, bool AAspectRatio = true,
                        bool AStretch = false, bool ACenter = true, bool ACropping = false);
  // The size of an AOriginal picture placed in an ANew box under the flags.
  static void GetAspectSize(Single& AWidth, Single& AHeight, Single AOriginalWidth, Single AOriginalHeight,
                            Single ANewWidth, Single ANewHeight, bool AAspectRatio, bool AStretch, bool ACropping);

  // --- text ------------------------------------------------------------------
  // The box AText takes from ARect's top left (tagged text laid out as
  // HTML when ASupportHTML); a rectangle without positive width gives zero height.
  TRectF CalculateText(const String& AText, const TRectF& ARect, bool AWordWrapping = false, bool ASupportHTML = true);
  TRectF CalculateText(const String& AText);
  TPointF CalculateTextSize(const String& AText, const TRectF& ARect, bool AWordWrapping = false,
                            bool ASupportHTML = true);
  TPointF CalculateTextSize(const String& AText);
  Single CalculateTextWidth(const String& AText, const TRectF& ARect, bool AWordWrapping = false,
                            bool ASupportHTML = true);
  Single CalculateTextWidth(const String& AText);
  Single CalculateTextHeight(const String& AText, const TRectF& ARect, bool AWordWrapping = false,
                             bool ASupportHTML = true);
  Single CalculateTextHeight(const String& AText);
  TRect CalculateTextInt(const String& AText, const TRect& ARect, bool AWordWrapping = false,
                         bool ASupportHTML = true);
  TRect CalculateTextInt(const String& AText);
  TPoint CalculateTextSizeInt(const String& AText);
  Integer CalculateTextWidthInt(const String& AText);
  Integer CalculateTextHeightInt(const String& AText);

  // Draws AText in ARect; tagged text (with ASupportHTML) is laid out as
  // HTML. Answers the target of the anchor under (AX, AY) ("ctrl" for a
  // control), empty when none; with ATestAnchor nothing is drawn.
  String DrawText(const TRectF& ARect, const String& AText, bool AWordWrapping = false,
                  TAdvGraphicsTextAlign AHorizontalAlign = gtaLeading,
                  TAdvGraphicsTextAlign AVerticalAlign = gtaCenter, TAdvGraphicsTextTrimming ATrimming = gttNone,
                  Single AAngle = 0, Single AMinWidth = -1, Single AMinHeight = -1, bool ASupportHTML = true,
                  bool ATestAnchor = false, Single AX = -1, Single AY = -1);
  // The same with the control under the point: its ID, VALUE and TYPE.
  String DrawText(const TRectF& ARect, const String& AText, String& AControlID, String& AControlValue,
                  String& AControlType, bool AWordWrapping = false, TAdvGraphicsTextAlign AHorizontalAlign = gtaLeading,
                  TAdvGraphicsTextAlign AVerticalAlign = gtaCenter, TAdvGraphicsTextTrimming ATrimming = gttNone,
                  Single AAngle = 0, Single AMinWidth = -1, Single AMinHeight = -1, bool ASupportHTML = true,
                  bool ATestAnchor = false, Single AX = -1, Single AY = -1);
  String DrawText(const TRect& ARect, const String& AText, bool AWordWrapping = false,
                  TAdvGraphicsTextAlign AHorizontalAlign = gtaLeading,
                  TAdvGraphicsTextAlign AVerticalAlign = gtaCenter, TAdvGraphicsTextTrimming ATrimming = gttNone,
                  Single AAngle = 0, Single AMinWidth = -1, Single AMinHeight = -1, bool ASupportHTML = true,
                  bool ATestAnchor = false, Single AX = -1, Single AY = -1);
  // From APoint, without wrapping, leading alignment both ways.
  String DrawText(const TPointF& APoint, const String& AText, Single AAngle = 0, bool ASupportHTML = true,
                  bool ATestAnchor = false, Single AX = -1, Single AY = -1);

  // --- interface glyphs --------------------------------------------------------
  void DrawButton(const TRectF& ARect, bool ADown = false, bool AFocused = false, bool AEnabled = true,
                  bool AAdaptToStyle = true, Single AScaleFactor = 1.0f);
  void DrawButton(const TRect& ARect, bool ADown = false, bool AFocused = false, bool AEnabled = true,
                  bool AAdaptToStyle = true, Single AScaleFactor = 1.0f);
  void DrawCheckBox(const TRectF& ARect, bool AChecked = false, bool AFocused = false, bool AEnabled = true,
                    Single AScaleFactor = 1.0f);
  void DrawCheckBox(const TRect& ARect, bool AChecked = false, bool AFocused = false, bool AEnabled = true,
                    Single AScaleFactor = 1.0f);
  void DrawRadioButton(const TRectF& ARect, bool AChecked = false, bool AFocused = false, bool AEnabled = true,
                       Single AScaleFactor = 1.0f);
  void DrawRadioButton(const TRect& ARect, bool AChecked = false, bool AFocused = false, bool AEnabled = true,
                       Single AScaleFactor = 1.0f);
  // AFormat takes one floating-point argument, the percentage.
  void DrawProgressBar(const TRectF& ARect, Single AValue, const String& AFormat = u"%.0f%%", Single AMax = 100,
                       TColor AColor = 0xB48246, TColor ATextColor = clBlack, bool AShowText = true,
                       bool AEnabled = true, Single AScaleFactor = 1.0f);
  void DrawProgressBar(const TRect& ARect, Single AValue, const String& AFormat = u"%.0f%%", Single AMax = 100,
                       TColor AColor = 0xB48246, TColor ATextColor = clBlack, bool AShowText = true,
                       bool AEnabled = true, Single AScaleFactor = 1.0f);
  void DrawCloseButton(const TRectF& ARect, bool ADown = false, bool AFocused = false, bool AEnabled = true,
                       bool AAdaptToStyle = true, Single AScaleFactor = 1.0f);
  void DrawCloseButton(const TRect& ARect, bool ADown = false, bool AFocused = false, bool AEnabled = true,
                       bool AAdaptToStyle = true, Single AScaleFactor = 1.0f);
  void DrawExpanderButton(const TRectF& ARect, TAdvGraphicsExpanderState AState = gesCollapsed, bool ADown = false,
                          bool AFocused = false, bool AEnabled = true, bool AAdaptToStyle = true,
                          Single AScaleFactor = 1.0f);
  void DrawExpanderButton(const TRect& ARect, TAdvGraphicsExpanderState AState = gesCollapsed, bool ADown = false,
                          bool AFocused = false, bool AEnabled = true, bool AAdaptToStyle = true,
                          Single AScaleFactor = 1.0f);
  void DrawCompactButton(const TRectF& ARect, TAdvGraphicsCompactState AState = gcsCollapsed, bool ADown = false,
                         bool AFocused = false, bool AEnabled = true, bool AAdaptToStyle = true,
                         Single AScaleFactor = 1.0f);
  void DrawCompactButton(const TRect& ARect, TAdvGraphicsCompactState AState = gcsCollapsed, bool ADown = false,
                         bool AFocused = false, bool AEnabled = true, bool AAdaptToStyle = true,
                         Single AScaleFactor = 1.0f);
  void DrawDropDownButton(const TRectF& ARect, bool ADown = false, bool AFocused = false, bool AEnabled = true,
                          bool ACenter = false, bool AAdaptToStyle = true, Single AScaleFactor = 1.0f);
  void DrawDropDownButton(const TRect& ARect, bool ADown = false, bool AFocused = false, bool AEnabled = true,
                          bool ACenter = false, bool AAdaptToStyle = true, Single AScaleFactor = 1.0f);
  // The process-wide default graphic colours (button faces and borders,
  // glyph lines) set to their standard values; also done at start-up.
  static void SetDefaultGraphicColors();

  // --- class helpers -----------------------------------------------------------
  // Draws a sample ("Sample" on a gradient) into ARect of ACanvas; nothing for nullptr.
  static void DrawSample(TCanvas* ACanvas, const TRect& ARect);
  // Left and top inclusive, right and bottom exclusive.
  static bool PointInRect(const TPointF& APoint, const TRectF& ARect);
  static bool PointInRect(const TPoint& APoint, const TRect& ARect);
  // False for a radius of 0 or less.
  static bool PointInCircle(const TPointF& APoint, const TPointF& ACenter, Single ARadius);
  static bool PointInPolygon(const TPointF& APoint, const TAdvGraphicsPathPolygon& APolygon);
  static bool PointInPolygon(const TPoint& APoint, const std::vector<TPoint>& APolygon);
  // False for nullptr.
  static bool PointInPath(const TPointF& APoint, TAdvGraphicsPath* APath);
  static bool PointInPath(const TPoint& APoint, TAdvGraphicsPath* APath);
  // The red, green and blue bytes of AColor with system colours resolved;
  // the null colour -1 reads as black.
  static Byte GetColorRed(TColor AColor);
  static Byte GetColorGreen(TColor AColor);
  static Byte GetColorBlue(TColor AColor);
  // "#RRGGBB", upper-case digits, system colours resolved.
  static String ColorToHTML(TColor AColor);
  // "#RRGGBB" (characters 2-7; later ones ignored) or "#RGB"; -1 for an
  // empty text; EConvertError for a text too short or with a non-hex digit.
  static TColor HTMLToColor(const String& AHTML);
  // HTMLToColor without raising: false (AColor untouched) where it would raise or answer -1.
  static bool TryHTMLToColor(const String& AHTML, TColor& AColor);
  // A colour name ("red", "clRed", "gcRed" ...) from the named-colour
  // table; black for an unknown name.
  static TColor TextToColor(const String& AText);
  // The tagged text with every visible occurrence of AHilight wrapped in ATag.
  static String ApplyHilight(const String& AText, const String& AHilight, const String& ATag, bool ADoCase);

  // Sizes of text runs already measured by the HTML layout, keyed by font and
  // text (bounded; emptied when the context's text settings may change).
  std::unordered_map<String, std::pair<Single, Single>>& HTMLMeasureCache() { return FHTMLMeasureCache; }

  // --- JSON (the library's per-object operations) -----------------------------
  String ToJSON();
  String ToJSON(const std::vector<String>& AExcludedProperties);
  void FromJSON(const String& Value);
  String JSON() { return ToJSON(); }
  void SetJSON(const String& Value) { FromJSON(Value); }
  void Log();
  void SaveToJSONFile(const String& AFileName);
  void LoadFromJSONFile(const String& AFileName);
  void SaveToJSONStream(TStream* AStream);
  void LoadFromJSONStream(TStream* AStream);

 protected:
  // HTML-aware measuring and drawing behind CalculateText and DrawText.
  virtual TRectF InternalCalculateText(const String& AText, const TRectF& ARect, bool AWordWrapping,
                                       bool ASupportHTML);
  virtual String InternalDrawText(const TRectF& ARect, const String& AText, String& AControlID,
                                  String& AControlValue, String& AControlType, bool AWordWrapping,
                                  TAdvGraphicsTextAlign AHorizontalAlign, TAdvGraphicsTextAlign AVerticalAlign,
                                  TAdvGraphicsTextTrimming ATrimming, Single AAngle, Single AMinWidth,
                                  Single AMinHeight, bool ASupportHTML, bool ATestAnchor, Single AX, Single AY);
  // The texture of AFill drawn into ARect by its texture mode.
  void DrawTexture(const TRectF& ARect, TAdvGraphicsFill* AFill);

 private:
  TAdvGraphics(TCanvas* ACanvas, bool ANative, std::unique_ptr<TBitmap> ABitmap);
  void Init();
  bool FillActive(bool ATextureToo) const;
  bool StrokeActive() const;
  // Runs AApply unless a setter is already running (the context's notifications
  // call back into the setters); the setters share this guard.
  template <class TApply>
  void WhileUnblocked(TApply AApply);
  void DrawGlyphLines(const TRectF& ARect, Integer ASize, const std::vector<std::pair<TPointF, TPointF>>& ALines,
                      Single AStrokeWidth, Single AScale, bool ADropDown, bool ACenter);
  // False when the resource picture cannot be drawn (missing, or no SVG engine).
  bool DrawGlyphResource(const TRectF& ARect, const String& AName);

  TCanvas* FActiveCanvas;
  Integer FBlockUpdate = 0;
  bool FNative;
  TAdvGraphicsContextClass FContextClass = nullptr;
  std::unique_ptr<TAdvGraphicsContext> FContextNative;
  std::unique_ptr<TAdvGraphicsContext> FContextGeneral;
  std::unique_ptr<TBitmap> FBitmap;
  std::unique_ptr<TAdvGraphicsFill> FFill;
  std::unique_ptr<TAdvGraphicsStroke> FStroke;
  std::unique_ptr<TAdvGraphicsFont> FFont;
  TColor FHighlightColor = 0xFF0000;
  bool FOptimizedHTMLDrawing = false;
  TColor FHighlightTextColor = 0xFFFFFF;
  TFontStyles FHighlightFontStyles;
  bool FURLUnderline = true;
  TColor FURLColor = 0xFF0000;
  bool FHTMLAllowLocalFiles = false;
  TPictureContainer* FPictureContainer = nullptr;
  TCustomImageList* FImageList = nullptr;
  std::unordered_map<String, std::pair<Single, Single>> FHTMLMeasureCache;
};

// The default graphic colours the glyphs use (0 until SetDefaultGraphicColors runs).
struct TAdvGraphicsDefaultColors {
  TColor GlyphLine = 0;
  TColor FocusedBorder = 0;
  TColor FocusedFace = 0;
  TColor DisabledBorder = 0;
  TColor DisabledFace = 0;
  TColor NormalBorder = 0;
  TColor NormalFace = 0;
};
// The current set (read-only view of the process-wide values).
const TAdvGraphicsDefaultColors& AdvGraphicsDefaultColors();
// Start-up: the default graphic colours take their standard values.
void InitializeAdvGraphicsUnit();
