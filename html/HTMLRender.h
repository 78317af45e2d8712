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

// Renders Text into Bounds on Canvas (its font, brush and pen are used and
// changed; the font returns to its entry state with the last saved colour).
// Answers true when (HitX, HitY) lies on an anchor's word band or on an image
// inside an anchor in the second pass; always false with MeasureOnly.
// HitAnchor and HitAnchorRect are written only when an anchor is hit, so pass
// them cleared. FocusAnchor is 0-based, HoverAnchor and HitAnchorIndex
// 1-based (-1: none). Scale <= 0 takes the canvas's pixels per inch / 96.
// Malformed markup never fails: unknown tags are dropped, a tag without ">"
// drops the rest, unresolvable pictures draw nothing.
bool HTMLRender(TCanvas* Canvas, const String& Text, const TRect& Bounds, TCustomImageList* Images, Integer HitX,
                Integer HitY, Integer FocusAnchor, Integer HoverAnchor, Integer ShadowOffset, bool HitTestPass,
                bool MeasureOnly, bool PrintMode, bool KeepColors, bool BlinkVisible, bool HoverUnderlineOnly,
                bool WrapWords, bool ScaleFontSizes, Double PrintScale, TColor URLColor, TColor HoverColor,
                TColor HoverFontColor, TColor ShadowColor, String& HitAnchor, String& PlainText,
                String& AnchorTitle, Integer& ExtentX, Integer& ExtentY, Integer& AnchorCount,
                Integer& HitAnchorIndex, TRect& HitAnchorRect, THTMLPictureCache* PictureCache,
                TPictureContainer* Container, Integer LineSpacing, TBiDiMode BiDiMode, TColor HighlightColor,
                TColor HighlightTextColor, TFontStyles HighlightStyle, Single Scale,
                const THTMLRenderOptions& Options = THTMLRenderOptions());

}  // namespace html
