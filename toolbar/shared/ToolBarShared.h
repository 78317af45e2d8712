#pragma once
// What the toolbar family shares process-wide: its DPI state, the two tone
// records through which the pager hands its flat look on, the registered
// window messages, a few system tests, the default caption font, and colour
// arithmetic on TColor values (blend, darken, adjust, opaque ARGB).
// Everything here runs on the user-interface thread.
#include "foundation/style/VornStyle.h"
#include "platform/gdiplus/GdiPlus.h"
#include "platform/rtl/Geometry.h"
#include "platform/vcl/Color.h"

class TFont;
class TControl;
class TWinControl;

namespace toolbar {

// --- DPI state (see UpdateToolBarDPIScale) ---
extern Single ToolBarDPIScale;     // 1.0 at start
extern Integer ToolBarPPI;         // 96
extern Integer ScreenPPI;          // 96
extern Integer ScaledSize16;       // 16
extern Integer ScaledCaptionHeight;  // 26
extern bool ToolBarScaleSet;       // false until the first UpdateToolBarDPIScale
extern bool FormScaled;            // true

// --- tone records (all colours clNone after start-up) ---
extern TColorTones GlobalColorTones;
extern TColorTones GlobalAppButtonTones;

// --- registered messages (0 before start-up) ---
extern Word WM_TBCOMPACTWINHIDE;
extern Word WM_TBSETAEROVISTA;
extern Word WM_TBPSETIGNOREALT;
extern Word WM_TBFUPDATECONTEXTMENU;
extern Word WM_TBSETMETRO;
extern Word WM_TBREVERTMETRO;
extern Word WM_TBSETOFFICE2013;
extern Word WM_TBSHOWSHORTCUTHINT;

// The unit's start-up: empties both tone records, then registers the eight
// messages in their fixed order. Finalisation has nothing to release.
void InitializeToolBarShared();

// The system version (10.0 here: the layer reports Windows 10); the outputs
// are only written on success.
void GetNtVersion(Integer& Major, Integer& Minor);
// Height of "0" in a PointSize font at PPI.
Integer GetZeroTextHeight(Integer PPI, Integer PointSize);
// 1.0 when FormScaled is false or PPI is 96 (nothing measured); else the
// ratio of the "0" heights at PPI and at 96 (9 points).
Single CalcDPIScale(Integer PPI);
// Sets ToolBarPPI, ScreenPPI, ToolBarDPIScale, ToolBarScaleSet and the two
// scaled sizes (rounded half to even).
void UpdateToolBarDPIScale(Integer PPI);
// The class library's current style services: none here (class-library
// styles are never active), so nullptr.
TCustomStyleServices* GetStyleServices();
// Class-library styles are never active here: false.
bool IsStyleServicesEnabled();
// Modern: "Segoe UI", height -12; else "Tahoma", height -11. Nothing for nullptr.
void ApplyDefaultFont(TFont* Font, bool Modern);
// 0 with the scenic-ribbon flag, else 3.
Integer GetCornerRadius();
// True: the common controls are version 6 here.
bool IsComCtl6();
// Desktop composition as the composition library reports it; false when the
// library or its function is missing or fails.
bool IsDwmCompositionActive();
// False: no task bar hides itself here.
bool IsTaskBarAutoHide();
// False for nullptr; true when the control and every parent are Visible.
bool IsControlShowing(const TControl* Control);
// R becomes a W x H rectangle centred in it (div truncating toward zero).
void CenterRect(TRect& R, Integer W, Integer H);
// False unless the control is enabled and has a window; true when the
// focused window lies below it (the focused window itself is not compared);
// gives up after 50 parents.
bool ContainsFocus(TWinControl* Control);

// --- colour arithmetic (system colours resolved first; channels of a TColor) ---
// Percent >= 100: Col1 unchanged; <= 0: Col2 unchanged; else each channel
// Round(x*c1 + (1-x)*c2), at most 255.
TColor BlendColor(TColor Col1, TColor Col2, Integer Percent);
// Each channel Round(c*(100-Percent)/100), kept within 0..255 (negative Percent lightens).
TColor DarkenColor(TColor Color, Integer Percent);
// A zero channel becomes Percent (>= 0) or 0; others Round(c*min(100+Percent,100)/100);
// each cut to 8 bits.
TColor AdjustColor(TColor Color, Integer Percent);
// Opaque ARGB (alpha $FF); clNone comes out as opaque white.
ARGB ColorToARGB(TColor Color);

}  // namespace toolbar
