#pragma once
// The library's mini-HTML dialect on the canvas: the helpers that prepare
// and rewrite tagged text, and HTMLRender, which lays out, draws, measures
// and hit-tests it in a rectangle of a TAdvGraphics canvas. Positions are
// UTF-16 units; the helpers that take or give 1-based positions say so.
#include <array>

#include "foundation/graphics/AdvGraphics.h"

namespace graphics_html {

// --- preparation helpers (none raises) -----------------------------------------
// The first "<#" loses its "<" and the first ">" after it is removed.
String HTMLUnwrapHashTags(const String& AText);
// Numeric character references ("&#65;", "&#x42;") replaced by their
// characters; references that cannot be decoded stay as written.
String HTMLDecodeCharRefs(const String& AText);
// Index (0-based, in ARef) of the first character after the digits of the
// reference ARef, which starts with "&#" (with "&#x" when AHex).
Integer HTMLCharRefEnd(const String& ARef, bool AHex);
// The value of the first two hexadecimal digits; 0 with fewer than two
// characters or a non-hex digit.
Integer HexPairValue(const String& ADigits);
// Every LF removed; every CR removed, or replaced by "<BR>" when AConvert.
String HTMLBreaksToBR(const String& AText, bool AConvert);
// The whole number of the (trimmed) text; 0 when unreadable.
Integer ValInt(const String& AText);
// 0-based position of AName in the upper-cased AText (-1 when absent), also
// stored in APos.
Integer PosUpperVar(const String& AName, const String& AText, Integer& APos);
// The value of attribute AName (upper case) in the attribute text of a tag:
// the text between the first two double quotes after the first occurrence
// of the name as a whole word; empty when absent or unquoted. AUpper gives
// the value from the upper-cased text.
String HTMLTagAttr(const String& AAttrText, const String& AName, bool AUpper);
// TYPE (upper-cased), ID, MAXLEN, PROP, HEIGHT, WIDTH, VALUE of a CONTROL
// tag's attribute text; each empty when absent. PROP and VALUE have their
// escaped markup turned back.
std::array<String, 7> HTMLControlAttrs(const String& AAttrText);
// The whole preparation before layout: named references, "&amp;",
// "<#", numeric references and line breaks.
String HTMLPrepareText(const String& AText);

// --- highlight helpers -----------------------------------------------------------
// 0-based position in the tagged text with exactly AIndex visible characters
// before it and before any tags in front of the next one; Length when the
// text holds exactly AIndex visible characters and no such position exists;
// -1 when it holds fewer (or AIndex is negative).
Integer HTMLRawIndex(const String& AText, Integer AIndex);
// AText with every occurrence of AHilight in its visible characters wrapped
// in "<ATag>" and "</ATag>"; occurrences do not overlap.
String HTMLHighlight(const String& AText, const String& AHilight, const String& ATag, bool ACaseSensitive);
// 0-based position of ASearch in AText at or after AOffset (both upper-cased
// unless ACaseSensitive), also stored in APos; -1 when absent or ASearch is empty.
Integer FindTextFrom(const String& ASearch, const String& AText, Integer AOffset, Integer& APos,
                     bool ACaseSensitive);

// --- rendering ----------------------------------------------------------------------
// The inputs of one HTMLRender call (the canvas's own calls fill them from
// the canvas's settings).
struct THTMLRenderArgs {
  Integer X = 0;                 // point to hit-test
  Integer Y = 0;
  Integer FocusAnchor = -1;      // 0-based anchor whose target goes to FocusTarget
  Integer StyledAnchor = -1;     // 1-based anchor styled in anchor-focus mode
  Integer ShadowOffset = 0;
  bool TestAnchor = false;       // the second pass measures instead of drawing
  bool MeasureOnly = false;      // no second pass
  bool NoImageListPictures = false;
  bool ColorsFrozen = false;
  bool BlinkVisible = false;
  bool AnchorFocusMode = false;
  bool WordWrap = false;
  bool ControlFocus = false;
  String FocusedControlID;
  double ControlScale = 1.0;
  TColor AnchorColor = 0xFF0000;
  TColor FocusAnchorBackground = -1;
  TColor FocusAnchorTextColor = -1;
  TColor ShadowColor = -1;
  String TestControlID;          // in test-anchor mode: this control counts as under the point
  Integer LineSpacing = 0;
  TPictureContainer* PictureContainer = nullptr;
  Single Scale = 1.0f;
  bool AnchorUnderline = true;
  TCustomImageList* ImageList = nullptr;
  TColor HighlightColor = 0xFF0000;
  TColor HighlightTextColor = 0xFFFFFF;
  TFontStyles HighlightFontStyles;
  bool AllowLocalFiles = false;  // FILE:// pictures and BODY BACKGROUND files may be read
};

// What one HTMLRender call found.
struct THTMLRenderResult {
  bool Hit = false;              // the point lies over an anchor, a control or an anchor picture
  String Anchor;                 // target under the point, "ctrl" for a control
  String PlainText;              // text of the runs (each line once) with a CR per break
  String FocusTarget;
  Single Width = 0;              // widest line + 2
  Single Height = 0;             // sum of the line heights
  Integer AnchorCount = 0;
  Integer AnchorIndex = -1;
  TRectF AnchorRect;
  TRectF ControlRect;
  String ControlID;
  String ControlValue;
  String ControlType;
  Integer LineCount = 0;
};

// Lays out AText in ARect of ACanvas, draws it (unless AArgs.MeasureOnly or
// AArgs.TestAnchor) and hit-tests AArgs.X, AArgs.Y. The canvas's font, fill
// and stroke are as before afterwards. Malformed markup never raises: bad
// colours keep the current colour, bad numbers read as 0. Nothing for a nil canvas.
bool HTMLRender(TAdvGraphics* ACanvas, const String& AText, const TRectF& ARect, const THTMLRenderArgs& AArgs,
                THTMLRenderResult& AResult);

}  // namespace graphics_html
