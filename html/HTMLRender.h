#pragma once
// HTMLRender: lays out, draws and hit-tests a mini-HTML text on a window
// canvas in one call. Each line is laid out twice: a measuring pass that
// decides what fits, then a drawing pass (or a hit-testing pass) over the
// same text in the aligned and indented rectangle. The status bar uses the
// same renderer with HTMLStatusBarOptions().
#include "foundation/pictures/HTMLPictureCache.h"
#include "foundation/pictures/PictureContainer.h"
#include "platform/rtl/Geometry.h"
#include "platform/vcl/Canvas.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Menus.h"

namespace html {

// Where a caller's renderer differs from the standard one.
struct THTMLRenderOptions {
  // A closing paragraph tag returns the following lines to left alignment.
  bool ParagraphEndResetsAlignment = true;
  // "LINE-HEIGHT" applies to its own line only; otherwise it lasts until a
  // closing paragraph tag or another "LINE-HEIGHT".
  bool LineHeightPerLine = true;
  // Numeric references from 126980 on become colour emoji (the J tag);
  // otherwise they are plain characters and the J tag does nothing.
  bool Emoji = true;
  // The full named-entity table; otherwise the shorter one without the
  // n-tilde and fraction names.
  bool FullEntityTable = true;
  // The text came from outside the program (a server, a file): picture
  // sources "FILE://..." and file names after "SSYS:"/"LSYS:" are not read.
  bool ExternalText = false;
};

// The status bar's renderer: alignment and line height last across
// paragraph ends, no emoji, the shorter entity table.
THTMLRenderOptions HTMLStatusBarOptions();

// The inputs of one HTMLRender call besides the canvas, the text and the
// rectangle. The defaults are the label's: wrapped words, blue anchors, grey
// shadows two pixels off, no hover colours.
struct THTMLRenderArgs {
  TCustomImageList* Images = nullptr;  // images for IDX: sources
  Integer HitX = -1;                   // point to hit-test, canvas coordinates
  Integer HitY = -1;
  Integer FocusAnchor = -1;            // 0-based anchor drawn with a focus rectangle; -1 none
  Integer HoverAnchor = -1;            // 1-based hovered anchor; -1 none
  Integer ShadowOffset = 2;
  bool HitTestPass = false;            // the second pass measures and hit-tests instead of drawing
  bool MeasureOnly = false;            // no second pass
  bool PrintMode = false;              // image-list images and system icons stretched by PrintScale
  bool KeepColors = false;             // tags leave text and background colours alone
  bool BlinkVisible = false;
  bool HoverUnderlineOnly = false;     // only the hovered anchor is underlined and hover-coloured
  bool WrapWords = true;               // otherwise lines break at tags only and end in an ellipsis
  bool ScaleFontSizes = false;         // the font tag's SIZE follows Scale
  Double PrintScale = 1.0;
  TColor URLColor = clBlue;
  TColor HoverColor = clNone;
  TColor HoverFontColor = clNone;
  TColor ShadowColor = clGray;
  THTMLPictureCache* PictureCache = nullptr;
  TPictureContainer* Container = nullptr;
  Integer LineSpacing = 0;             // extra pixels per line
  TBiDiMode BiDiMode = bdLeftToRight;
  TColor HighlightColor = clHighlight;
  TColor HighlightTextColor = clHighlightText;
  TFontStyles HighlightStyle;
  Single Scale = -1.0f;                // <= 0: the canvas's pixels per inch / 96
  THTMLRenderOptions Options;
};

// What one HTMLRender call found.
struct THTMLRenderResult {
  bool Hit = false;                    // the hit point lies on an anchor's word band or an anchor picture
  String HitAnchor;                    // href of the anchor under the hit point
  String PlainText;                    // the words laid out, a CR per break
  String AnchorTitle;                  // title of that anchor; a drawing pass gives the focused anchor's href
  Integer ExtentX = 0;                 // widest line + 2
  Integer ExtentY = 0;                 // height the text needs
  Integer AnchorCount = 0;
  Integer HitAnchorIndex = -1;         // 1-based anchor under the hit point; -1 none
  TRect HitAnchorRect{-1, -1, -1, -1}; // that anchor on the line where it ends
};

// Renders Text into Bounds on Canvas (its font, brush and pen are used and
// changed; the font returns to its entry state with the last saved colour).
// Answers Result.Hit: the hit point lies on an anchor's word band or on an
// image inside an anchor in the second pass; always false with MeasureOnly.
// HitAnchor, HitAnchorRect and HitAnchorIndex keep their defaults unless an
// anchor is hit.
// Malformed markup never fails: unknown tags are dropped, a tag without ">"
// drops the rest, unresolvable pictures draw nothing.
bool HTMLRender(TCanvas* Canvas, const String& Text, const TRect& Bounds, const THTMLRenderArgs& Args,
                THTMLRenderResult& Result);

}  // namespace html
