// The canvas's interface glyphs: button faces, check boxes, radio buttons,
// progress bars and the glyph buttons (close, expander, compact, drop-down).
#include <algorithm>
#include <cmath>

#include "foundation/graphics/AdvGraphics.h"
#include "foundation/svg/AdvBitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Math.h"
#include "platform/vcl/Bitmap.h"

namespace {

using TAdvGlyphLines = std::vector<std::pair<TPointF, TPointF>>;

TRectF GlyphsInflate(const TRectF& R, Single D) { return RectF(R.Left - D, R.Top - D, R.Right + D, R.Bottom + D); }

TRectF GlyphsRectF(const TRect& R) { return {Single(R.Left), Single(R.Top), Single(R.Right), Single(R.Bottom)}; }

}  // namespace

void TAdvGraphics::DrawButton(const TRectF& ARect, bool ADown, bool AFocused, bool AEnabled, bool AAdaptToStyle,
                              Single) {
  SetStrokeKind(gskSolid);
  SetStrokeWidth(1);
  SetFillKind(gfkSolid);
  TColor border, face;
  if (AAdaptToStyle) {
    const TAdvGraphicsDefaultColors& d = AdvGraphicsDefaultColors();
    if (!AEnabled) {
      border = d.DisabledBorder;
      face = d.DisabledFace;
    } else if (AFocused) {
      border = d.FocusedBorder;
      face = d.FocusedFace;
    } else {
      border = d.NormalBorder;
      face = d.NormalFace;
    }
  } else if (!AEnabled) {
    border = 0xA9A9A9;
    face = 0xD3D3D3;
  } else if (AFocused) {
    border = RGBToColor(60, 127, 177);
    face = RGBToColor(229, 241, 251);
  } else {
    border = 0xA9A9A9;
    face = RGBToColor(225, 225, 225);
  }
  SetFillColor(face);
  SetStrokeColor(border);
  DrawRectangle(ARect, gcrmShrinkAll);
  SetFillKind(gfkNone);
  SetStrokeColor(ADown ? LightenColor(border, 40) : face);
  DrawRectangle(GlyphsInflate(ARect, -1), gcrmShrinkAll);
}

void TAdvGraphics::DrawButton(const TRect& ARect, bool ADown, bool AFocused, bool AEnabled, bool AAdaptToStyle,
                              Single AScaleFactor) {
  DrawButton(GlyphsRectF(ARect), ADown, AFocused, AEnabled, AAdaptToStyle, AScaleFactor);
}

namespace {
TColor GlyphsMarkColor(bool AFocused, bool AEnabled) {
  if (!AEnabled) return 0xA9A9A9;
  return AFocused ? 0xB48246 : 0;
}
}  // namespace

void TAdvGraphics::DrawCheckBox(const TRectF& ARect, bool AChecked, bool AFocused, bool AEnabled, Single) {
  TRectF r = GlyphsInflate(ARect, -1);
  const TColor mark = GlyphsMarkColor(AFocused, AEnabled);
  SetFillKind(gfkSolid);
  SetFillColor(AEnabled ? LightenColor(0xD3D3D3, 85) : TColor(0xD3D3D3));
  SetStrokeKind(gskSolid);
  SetStrokeColor(mark);
  SetStrokeWidth(1);
  DrawRectangle(r, gcrmShrinkAll);
  const Single dx = r.Width() / 5, dy = r.Height() / 5;
  r = RectF(r.Left + dx, r.Top + dy, r.Right - dx, r.Bottom - dy);
  if (AChecked) {
    SetStrokeWidth(2);
    DrawLine(PointF(r.Left, r.Top), PointF(r.Right - 1, r.Bottom - 1));
    DrawLine(PointF(r.Right - 1, r.Top), PointF(r.Left, r.Bottom - 1));
  }
}

void TAdvGraphics::DrawCheckBox(const TRect& ARect, bool AChecked, bool AFocused, bool AEnabled, Single AScaleFactor) {
  DrawCheckBox(GlyphsRectF(ARect), AChecked, AFocused, AEnabled, AScaleFactor);
}

void TAdvGraphics::DrawRadioButton(const TRectF& ARect, bool AChecked, bool AFocused, bool AEnabled, Single) {
  TRectF r = GlyphsInflate(ARect, -1);
  const TColor mark = GlyphsMarkColor(AFocused, AEnabled);
  SetFillKind(gfkSolid);
  SetFillColor(AEnabled ? LightenColor(0xD3D3D3, 85) : TColor(0xD3D3D3));
  SetStrokeKind(gskSolid);
  SetStrokeColor(mark);
  SetStrokeWidth(1);
  DrawEllipse(r, gcrmShrinkAll);
  const Single dx = r.Width() / 5, dy = r.Height() / 5;
  r = RectF(r.Left + dx, r.Top + dy, r.Right - dx, r.Bottom - dy);
  if (AChecked) {
    SetFillColor(mark);
    DrawEllipse(r, gcrmShrinkAll);
  }
}

void TAdvGraphics::DrawRadioButton(const TRect& ARect, bool AChecked, bool AFocused, bool AEnabled,
                                   Single AScaleFactor) {
  DrawRadioButton(GlyphsRectF(ARect), AChecked, AFocused, AEnabled, AScaleFactor);
}

void TAdvGraphics::DrawProgressBar(const TRectF& ARect, Single AValue, const String& AFormat, Single AMax,
                                   TColor AColor, TColor ATextColor, bool AShowText, bool AEnabled, Single) {
  const TColor savedFill = FFill->Color();
  SetFillKind(gfkSolid);
  SetFillColor(AEnabled ? LightenColor(0xD3D3D3, 75) : TColor(0xD3D3D3));
  SetStrokeKind(gskSolid);
  SetStrokeColor(0xA9A9A9);
  DrawRectangle(ARect, gcrmShrinkAll);
  const Single v = std::max<Single>(0, std::min(AValue, AMax));
  if (AMax > 0) {
    TRectF r = GlyphsInflate(ARect, -1);
    r.Right = r.Left + (r.Right - ARect.Left) * v / AMax;
    SetFillColor(AColor);
    SetStrokeColor(AColor);
    DrawRectangle(r, gcrmShrinkAll);
    if (AShowText) {
      const TColor savedText = FFont->Color();
      SetFontColor(ATextColor);
      String text;
      try {
        text = Format(AFormat, {double(v) / AMax * 100});
      } catch (const Exception&) {
        // A format that does not take one number shows nothing.
      }
      DrawText(ARect, text, false, gtaCenter, gtaCenter, gttNone, 0, -1, -1, true);
      SetFontColor(savedText);
    }
  }
  SetFillColor(savedFill);
}

void TAdvGraphics::DrawProgressBar(const TRect& ARect, Single AValue, const String& AFormat, Single AMax,
                                   TColor AColor, TColor ATextColor, bool AShowText, bool AEnabled,
                                   Single AScaleFactor) {
  DrawProgressBar(GlyphsRectF(ARect), AValue, AFormat, AMax, AColor, ATextColor, AShowText, AEnabled, AScaleFactor);
}

void TAdvGraphics::DrawGlyphLines(const TRectF& ARect, Integer ASize, const TAdvGlyphLines& ALines,
                                  Single AStrokeWidth, Single AScale, bool ADropDown, bool ACenter) {
  if (ASize <= 0) return;
  auto bitmap = std::make_unique<TBitmap>(ASize, ASize);
  bitmap->SetTransparent(true);
  bitmap->SetTransparentColor(clWhite);
  bitmap->SetTransparentMode(tmFixed);
  {
    TAdvGraphics g(bitmap->Canvas(), false);
    g.SetFillKind(gfkSolid);
    g.SetFillColor(clWhite);
    g.SetStrokeKind(gskNone);
    g.DrawRectangle(RectF(0, 0, Single(ASize), Single(ASize)), gcrmNone);
    g.SetStrokeKind(gskSolid);
    g.SetStrokeColor(AdvGraphicsDefaultColors().GlyphLine);
    g.SetStrokeWidth(AStrokeWidth);
    for (const auto& [from, to] : ALines)
      g.DrawLine(PointF(from.X * AScale, from.Y * AScale), PointF(to.X * AScale, to.Y * AScale));
  }
  TAdvBitmap picture;
  picture.SetGraphic(bitmap.get());
  TRectF target = ARect;
  if (ADropDown && !ACenter) {
    const Single edge = ARect.Right - ASize - 10 * AScale;
    if (ARect.Left < edge) target.Left = edge;
  }
  DrawBitmap(target, &picture, true, false, true, false);
}

bool TAdvGraphics::DrawGlyphResource(const TRectF& ARect, const String& AName) {
  // The SVG pictures draw only once an SVG document can be made; until then
  // the caller draws the line glyph instead.
  std::unique_ptr<TAdvBitmap> picture;
  try {
    picture = CreateBitmapFromResource(AName);
  } catch (const Exception&) {
    return false;
  }
  if (!picture || !picture->HasSVG()) return false;
  DrawBitmap(ARect, picture.get(), true, false, true, false);
  return true;
}

void TAdvGraphics::DrawCloseButton(const TRectF& ARect, bool ADown, bool AFocused, bool AEnabled, bool AAdaptToStyle,
                                   Single AScaleFactor) {
  DrawButton(ARect, ADown, AFocused, AEnabled, AAdaptToStyle, AScaleFactor);
  const TAdvGlyphLines lines{{{3, 3}, {12, 12}}, {{3, 12}, {12, 3}}};
  if (AAdaptToStyle || !DrawGlyphResource(GlyphsInflate(ARect, -6 * AScaleFactor), u"AdvGRAPHICSCLOSESVG"))
    DrawGlyphLines(ARect, Integer(Round(16 * AScaleFactor)), lines, 2, AScaleFactor, false, true);
}

void TAdvGraphics::DrawCloseButton(const TRect& ARect, bool ADown, bool AFocused, bool AEnabled, bool AAdaptToStyle,
                                   Single AScaleFactor) {
  DrawCloseButton(GlyphsRectF(ARect), ADown, AFocused, AEnabled, AAdaptToStyle, AScaleFactor);
}

void TAdvGraphics::DrawExpanderButton(const TRectF& ARect, TAdvGraphicsExpanderState AState, bool ADown,
                                      bool AFocused, bool AEnabled, bool AAdaptToStyle, Single AScaleFactor) {
  DrawButton(ARect, ADown, AFocused, AEnabled, AAdaptToStyle, AScaleFactor);
  if (AState != gesCollapsed && AState != gesExpanded) return;
  const bool collapsed = AState == gesCollapsed;
  const String name = collapsed ? u"AdvGRAPHICSDOWNSVG" : u"AdvGRAPHICSUPSVG";
  const TAdvGlyphLines lines = collapsed ? TAdvGlyphLines{{{5, 6}, {8, 9}}, {{8, 9}, {11, 6}}}
                                         : TAdvGlyphLines{{{5, 9}, {8, 6}}, {{8, 6}, {11, 9}}};
  if (AAdaptToStyle || !DrawGlyphResource(GlyphsInflate(ARect, -4 * AScaleFactor), name))
    DrawGlyphLines(ARect, Integer(Round(16 * AScaleFactor)), lines, 2, AScaleFactor, false, true);
}

void TAdvGraphics::DrawExpanderButton(const TRect& ARect, TAdvGraphicsExpanderState AState, bool ADown,
                                      bool AFocused, bool AEnabled, bool AAdaptToStyle, Single AScaleFactor) {
  DrawExpanderButton(GlyphsRectF(ARect), AState, ADown, AFocused, AEnabled, AAdaptToStyle, AScaleFactor);
}

void TAdvGraphics::DrawCompactButton(const TRectF& ARect, TAdvGraphicsCompactState AState, bool ADown, bool AFocused,
                                     bool AEnabled, bool AAdaptToStyle, Single AScaleFactor) {
  DrawButton(ARect, ADown, AFocused, AEnabled, AAdaptToStyle, AScaleFactor);
  if (AState != gcsCollapsed && AState != gcsExpanded) return;
  const bool collapsed = AState == gcsCollapsed;
  const String name = collapsed ? u"AdvGRAPHICSRIGHTSVG" : u"AdvGRAPHICSLEFTSVG";
  const TAdvGlyphLines lines = collapsed ? TAdvGlyphLines{{{6, 5}, {9, 8}}, {{9, 8}, {6, 11}}}
                                         : TAdvGlyphLines{{{9, 5}, {6, 8}}, {{6, 8}, {9, 11}}};
  if (AAdaptToStyle || !DrawGlyphResource(GlyphsInflate(ARect, -4 * AScaleFactor), name))
    DrawGlyphLines(ARect, Integer(Round(16 * AScaleFactor)), lines, 2, AScaleFactor, false, true);
}

void TAdvGraphics::DrawCompactButton(const TRect& ARect, TAdvGraphicsCompactState AState, bool ADown, bool AFocused,
                                     bool AEnabled, bool AAdaptToStyle, Single AScaleFactor) {
  DrawCompactButton(GlyphsRectF(ARect), AState, ADown, AFocused, AEnabled, AAdaptToStyle, AScaleFactor);
}

void TAdvGraphics::DrawDropDownButton(const TRectF& ARect, bool ADown, bool AFocused, bool AEnabled, bool ACenter,
                                      bool AAdaptToStyle, Single AScaleFactor) {
  DrawButton(ARect, ADown, AFocused, AEnabled, AAdaptToStyle, 1);
  const String name = u"AdvGRAPHICSEXPANDSVG";
  const TRectF glyphRect =
      ACenter ? GlyphsInflate(ARect, -4 * AScaleFactor)
              : GlyphsInflate(RectF(ARect.Right - 16 * AScaleFactor, ARect.Top, ARect.Right - 2 * AScaleFactor,
                                    ARect.Bottom),
                              -2 * AScaleFactor);
  if (AAdaptToStyle || !DrawGlyphResource(glyphRect, name)) {
    const TAdvGlyphLines lines{{{0, 1}, {6, 1}}, {{0, 2}, {6, 2}}, {{1, 3}, {5, 3}}, {{2, 4}, {4, 4}},
                               {{3, 5}, {3, 5}}};
    DrawGlyphLines(ARect, Integer(Round(7 * AScaleFactor)), lines, 1, AScaleFactor, true, ACenter);
  }
}

void TAdvGraphics::DrawDropDownButton(const TRect& ARect, bool ADown, bool AFocused, bool AEnabled, bool ACenter,
                                      bool AAdaptToStyle, Single AScaleFactor) {
  DrawDropDownButton(GlyphsRectF(ARect), ADown, AFocused, AEnabled, ACenter, AAdaptToStyle, AScaleFactor);
}

