#pragma once
// TAdvGraphicsSVGImport: the SVG document of the picture classes. It reads
// SVG text into a tree of TAdvGraphicsSVGElement (geometry already turned
// into paths, presentation values parsed, references resolved) and draws it
// on the vector canvas or into a bitmap. A fixed subset of SVG is read;
// anything else is skipped silently.
#include <memory>
#include <utility>
#include <vector>

#include "foundation/graphics/AdvGraphicsMatrix.h"
#include "foundation/graphics/AdvGraphicsPath.h"
#include "foundation/svg/AdvGraphicsSVGElement.h"
#include "foundation/svg/AdvSVGImport.h"

class TXMLDocument;
class TXMLNode;
class TAdvGraphics;

class TAdvGraphicsSVGImport : public TAdvSVGImport {
 public:
  TAdvGraphicsSVGImport();
  ~TAdvGraphicsSVGImport() override;

  bool HasElements() override { return ElementCount() > 0; }
  Integer ElementCount() override { return Integer(FElementList.size()); }
  // Renders the document into a bitmap of AWidth x AHeight (the natural size
  // when either is -1 or less). The bitmaps of the last kCachedBitmapSizes
  // sizes asked for are kept: one stays valid until the next load, Clear, the
  // document's destruction or until that many other sizes have been asked for
  // since; asking again for a kept size renders into the same bitmap. nullptr
  // for an empty document; an empty picture when the size is not positive or
  // beyond the budget.
  TAdvBitmap* GenerateBitmap(Single AWidth, Single AHeight) override;
  static constexpr std::size_t kCachedBitmapSizes = 8;
  // The number of bitmaps GenerateBitmap keeps now.
  std::size_t CachedBitmapCount() const { return FCachedBitmaps.size(); }
  // Empties the document; ViewRect becomes the empty marker.
  void Clear() override;
  // Draws the document stretched into ARect on a platform canvas; nothing for
  // an empty document or an empty rectangle.
  void Draw(TCanvas* ACanvas, const TRectF& ARect, bool ANative) override;
  // Draws on an existing canvas (ARecreateGraphics false) or on a new canvas
  // over its platform canvas.
  void Draw(TAdvGraphics* AGraphics, const TRectF& ARect, bool ANative, bool ARecreateGraphics);
  // Parses SVG text; malformed XML raises EXMLDocError (the document is then
  // empty); a root other than "svg" gives an empty document.
  void LoadFromText(const String& AText) override;
  // File errors and parse errors pass on.
  void LoadFromFile(const String& AFile) override;
  // The whole stream from its start as UTF-8 (a byte-order mark is skipped).
  void LoadFromStream(TStream* AStream) override;
  // The loaded XML document written out; nothing when none is loaded.
  void SaveToStream(TStream* AStream) override;
  void SaveToFile(const String& AFile) override;

  // Image elements may load local files named by href (never network
  // addresses); off by default, when only data: addresses load.
  bool AllowLocalImages = false;

  const TAdvGraphicsSVGElementList& Elements() const { return FElementList; }
  const TAdvGraphicsSVGElementList& DefsList() const { return FDefsList; }
  const TAdvGraphicsMatrix& DrawMatrix() const { return FMatrix; }

  // --- geometry of the parser --------------------------------------------------
  // A length with an optional unit in user units; 0 for an empty or unreadable text.
  static Single ParseLength(StringView AText);
  // "px", "pt", "pc", "mm", "cm", "in", "em", "ex", "%" or empty.
  static String GetUnitSuffix(StringView AText);
  static Single UnitFactor(StringView AUnit);
  // An angle ("deg", "grad", "rad" or plain degrees) in radians; 0 when unreadable.
  static Single ParseAngle(StringView AText);
  // A transform list in SVG order (the last listed applies first to a point);
  // nullptr (no attribute) gives the all-zero matrix.
  static TAdvGraphicsMatrix ParseTransform(const String* AText);
  // Path data as a flat token list (command letters and numbers), implicit
  // repetitions made explicit.
  static std::vector<String> ParsePathData(StringView AText);
  // One command's numbers as tokens, the command first.
  static std::vector<String> TokenizePathCommand(Char ACommand, StringView AArguments);
  static void SplitRepeatedCommand(std::vector<String>& ATokens);
  // Appends an elliptical arc from AStart to AEnd as cubic curves.
  static void ArcToBezier(TAdvGraphicsPath& APath, TPointF AStart, TPointF AEnd, Single ARx, Single ARy,
                          Single ARotation, bool ALargeArc, bool ASweep);
  // Four numbers separated by white space or commas; ARect unchanged otherwise.
  static bool ParseViewBox(StringView AText, TRectF& ARect);
  // The element's own transform combined with its ancestors' (for drawing).
  static TAdvGraphicsMatrix GetElementMatrix(const TAdvGraphicsSVGElement* AElement);
  // The ancestors' transforms only (for the view bounds).
  static TAdvGraphicsMatrix GetParentMatrix(const TAdvGraphicsSVGElement* AElement);
  // Turns path data into the element's paths (one per sub-path).
  static void BuildPathData(TAdvGraphicsSVGElement* AElement, StringView AText);
  // Turns a point list into one path (closed for a polygon); nothing for an odd count.
  static void BuildPoints(TAdvGraphicsSVGElement* AElement, StringView AText, bool AClose);
  // The colour overrides.
  static TColor GrayColor(TColor AColor);
  static TColor TintedColor(TColor AColor, TColor ATint);
  // A number with "." as decimal separator; false (AValue untouched) when unreadable.
  static bool SVGStrToFloat(StringView AText, Single& AValue);

  // The empty marker of the view bounds.
  static constexpr Single kEmptyMarker = 2147483648.0f;

 private:
  void BuildElements(TAdvGraphicsSVGElementList& AList, const TXMLNode& ANode, TAdvGraphicsSVGElement* AParent,
                     bool AGrowBounds, int ADepth);
  void ParseStyle(TAdvGraphicsSVGElement* AElement, StringView AText);
  void ParseStyleElement(StringView AText);
  void LoadImage(TAdvGraphicsSVGElement* AElement, const TXMLNode& ANode);
  void GrowViewRect(const TAdvGraphicsSVGElement* AElement, const TRectF& ARect);
  void GrowViewRectByPath(const TAdvGraphicsSVGElement* AElement, const TAdvGraphicsPath& APath,
                          const TAdvGraphicsMatrix& AMatrix);
  void ResolveAllReferences();
  void ResolveReferences(const TAdvGraphicsSVGElementClassList& AList, int ADepth);

  bool ComputeViewTransform(const TRectF& ARect, bool ARoundOffset, Single& ASX, Single& ASY);
  void DrawElements(TAdvGraphicsSVGElementList& AList, TAdvGraphics* AGraphics, Single ASX, Single ASY, int ADepth);
  void ApplyFill(TAdvGraphicsSVGElement* S, TAdvGraphicsSVGElement* E, TAdvGraphics* AGraphics,
                 const TAdvGraphicsMatrix& M, Single AOpacity);
  void ApplyStroke(TAdvGraphicsSVGElement* S, TAdvGraphicsSVGElement* E, TAdvGraphics* AGraphics, Single AOpacity);
  void ApplyStrokeWidth(TAdvGraphicsSVGElement* S, TAdvGraphics* AGraphics, Single ASX);
  Single ElementOpacity(TAdvGraphicsSVGElement* S, TAdvGraphicsSVGElement* E) const;
  TColor OverrideColor(TColor AColor, TColor ACustom) const;
  void DrawText(TAdvGraphicsSVGElement* E, TAdvGraphics* AGraphics, const TAdvGraphicsMatrix& M);
  void DrawImage(TAdvGraphicsSVGElement* E, TAdvGraphics* AGraphics, const TAdvGraphicsMatrix& M);

  std::unique_ptr<TXMLDocument> FXML;
  TAdvGraphicsSVGElementClassList FElementClassList;
  TAdvGraphicsSVGElementClassList FElementPatternList;
  TAdvGraphicsSVGElementClassList FElementClipPathList;
  TAdvGraphicsSVGElementList FElementList;
  TAdvGraphicsSVGElementList FDefsList;
  std::vector<std::pair<std::pair<Integer, Integer>, std::unique_ptr<TAdvBitmap>>> FCachedBitmaps;
  TAdvGraphicsMatrix FMatrix;
  TAdvGraphicsMatrix FTextMatrix;
  // Elements created by the current load; bounded against hostile input.
  std::size_t FElementBudget = 0;
  // The reference index of the load in progress (ResolveAllReferences).
  void* FResolveIndex = nullptr;
};

// The unit's start: registers the document maker with the picture classes,
// so TAdvSVGBitmap and the canvas draw SVG; the end unregisters it.
void InitializeAdvGraphicsSVGEngineUnit();
void FinalizeAdvGraphicsSVGEngineUnit();
