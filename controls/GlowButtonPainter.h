#pragma once
// The glow button's face painter: one face drawn (or measured) from an
// explicit set of inputs that the button's paint pipeline resolves first,
// and the small drawing and colour routines it uses.
#include "controls/GlowButtonAppearance.h"
#include "foundation/gdiplus/GPGraphics.h"
#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Geometry.h"
#include "platform/rtl/Strings.h"
#include "platform/vcl/Canvas.h"

class TBitmap;
class TControl;
class TCustomImageList;
class TIcon;
class TGDIPPicture;
class TCustomForm;

enum TButtonLayout {
  blGlyphLeft, blGlyphTop, blGlyphRight, blGlyphBottom, blGlyphLeftAdjusted, blGlyphRightAdjusted,
  blGlyphTopAdjusted, blGlyphBottomAdjusted
};
enum TDropDownPosition { dpRight, dpBottom };
enum TDropDownDirection { ddDown, ddRight, ddUp };
enum TButtonPosition { bpStandalone, bpLeft, bpMiddle, bpRight };

// The interval of every glow button's animation timer in ms (20 at start;
// 0 or less switches the animations off), and the switch that makes every
// split drop-down button draw its split line.
extern Integer GlowSpeed;
extern bool GlobalDrawSplitLineAlways;

// Everything one face needs (the button fills it from its state).
struct TGlowFaceParams {
  TControl* Button = nullptr;
  TCanvas* Canvas = nullptr;
  TRect R;
  TColor Color = clNone, ColorTo = clNone, ColorMirror = clNone, ColorMirrorTo = clNone, BorderColor = clNone;
  TColor BorderColorFocused = clNone;
  TGDIPGradient Gradient = ggVertical, GradientMirror = ggVertical;
  String Caption, WideCaption;
  bool DefaultCaptionDrawing = true;
  TFont* Font = nullptr;
  TCustomImageList* Images = nullptr;
  TCustomImageList* DisabledImages = nullptr;
  Integer ImageIndex = -1;
  bool ImgEnabled = true;
  TButtonLayout Layout = blGlyphLeft;
  bool DropDownButton = false;
  bool Lit = false;
  bool Enabled = true;
  bool FocusFrame = false;
  TDropDownPosition DropDownPosition = dpRight;
  TGDIPPicture* Picture = nullptr;
  TIcon* Icon = nullptr;  // drawn for a picture without text, when not empty
  gdiplus::TAntiAlias AntiAlias = gdiplus::aaClearType;
  bool DefaultPicDrawing = true;
  TPoint PicSize{0, 0};
  // What the button's glyph hook drew (1 x 1 when nothing); used when larger.
  TBitmap* GlyphBitmap = nullptr;
  Integer DropDownHot = 0;  // 0 none, 1 drop-down part, 2 main part
  bool NoBackground = false;
  bool MouseEnter = false;
  TButtonPosition Position = bpStandalone;
  bool DropDownSplit = true;
  bool HasBorder = true;
  bool OverlappedText = false;
  bool WordWrap = true;
  bool MeasureOnly = false;
  bool Rounded = true;
  TDropDownDirection DropDownDirection = ddDown;
  Integer Spacing = 2;
  GpStringTrimming Trimming = StringTrimmingNone;
  TStrings* Notes = nullptr;
  TFont* NotesFont = nullptr;
  bool DownChecked = false;
  bool DroppedDown = false;
  bool TranspOffice = false;
  bool OnGlassQAT = false;
  Integer MarginHorz = 1, MarginVert = 1;
  bool NoBorderDefault = false;
  bool AlwaysShowAccel = false;
  Integer DropDownWidth = 14;
  bool IsRotated = false;
  Integer MaxWidth = 0, MaxHeight = 0;  // the button's constraints (0: none)
};

// The painter and its drawing and colour routines have a namespace of their
// own: the toolbar has routines of the same names that do other things.
namespace glowpaint {

// Draws the face, or with MeasureOnly draws nothing and answers the content
// size, into SizeOut.
void DrawGlowButtonFace(const TGlowFaceParams& P, TPoint& SizeOut);

// R filled solid with C1 (upper) or C2 (lower), then with the gradient of
// Kind; a clNone end takes the other colour.
void FillButtonHalf(gdiplus::TGPGraphics* Graphics, const TRect& R, TColor C1, TColor C2, TGDIPGradient Kind,
                    bool Upper);
// Classic stepped gradient (Steps 0 counts as 1).
void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, Integer Steps, const TRect& R,
                  bool Horizontal);
// Per channel: 0 becomes P when P > 0; others Round(c * min(100 + P, 100) / 100).
TColor AdjustColor(TColor Color, Integer Percent);
TColor AdjustColorRGB(TColor Color, Integer PercentR, Integer PercentG, Integer PercentB);
// P >= 100: Col1; P <= 0 or Col1 clNone: Col2; Col2 clNone: Col1; else the blend.
TColor BlendColor(TColor Col1, TColor Col2, Integer Percent);
// A when 0 < A < B, else B.
Integer MinPositive(Integer A, Integer B);

// Outlines; X, Y the top-left, W, H the outline's right and bottom offsets.
void DrawButtonBorder(gdiplus::TGPGraphics* G, TColor Color, Integer X, Integer Y, Integer W, Integer H, Integer Radius);
void DrawFocusBorder(gdiplus::TGPGraphics* G, TColor Color, Integer X, Integer Y, Integer W, Integer H, Integer Radius);
void DrawLeftButtonBorder(gdiplus::TGPGraphics* G, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                          Integer Radius);
void DrawLeftButtonBorderRotated(gdiplus::TGPGraphics* G, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                                 Integer Radius);
void DrawMiddleButtonBorder(gdiplus::TGPGraphics* G, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                            bool HotOrDown);
void DrawRightButtonBorder(gdiplus::TGPGraphics* G, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                           Integer Radius, bool HotOrDown);
void DrawRightButtonBorderRotated(gdiplus::TGPGraphics* G, TColor Color, Integer X, Integer Y, Integer W, Integer H,
                                  Integer Radius, bool HotOrDown);
// The V-shaped arrow (pen 1.4 x scale) and the filled triangle of glass toolbars.
void DrawChevronArrow(TControl* Button, TCanvas* Canvas, TPoint P, TColor Color, TDropDownDirection Direction);
void DrawDropDownArrow(TControl* Button, TCanvas* Canvas, TPoint P, TColor Color);
// DT_HIDEPREFIX when the control's top window hides accelerators, else 0.
UINT GetHidePrefixFlag(TControl* Control);

}  // namespace glowpaint
