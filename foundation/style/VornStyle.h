#pragma once
// What every styleable control shares: the style enumeration, the colour-tone
// records, the style interfaces through which the stylers reach components,
// and the small routines the controls call while they are created, scaled
// and painted.
//
// Interfaces are abstract classes with pure virtual operations. A component
// takes part in styling by deriving from one or more of them beside its class
// library base; Supports<I>(object) asks an object for an interface the way
// the class library's interface query does (a dynamic_cast: the answer is the
// interface or nullptr). Components are not reference counted, so neither are
// the interfaces.
#include "platform/rtl/Object.h"
#include "platform/rtl/Types.h"
#include "platform/vcl/Color.h"

class TComponent;
class TControl;
class TCanvas;
class TCustomForm;
class TCustomStyleServices;

// Ordinals are fixed: window resources store them and callers compare them by number.
enum TVornStyle : Byte {
  tsOffice2003Blue = 0,
  tsOffice2003Silver = 1,
  tsOffice2003Olive = 2,
  tsOffice2003Classic = 3,
  tsOffice2007Luna = 4,
  tsOffice2007Obsidian = 5,
  tsWindowsXP = 6,
  tsWhidbey = 7,
  tsCustom = 8,
  tsOffice2007Silver = 9,
  tsWindowsVista = 10,
  tsWindows7 = 11,
  tsTerminal = 12,
  tsOffice2010Blue = 13,
  tsOffice2010Silver = 14,
  tsOffice2010Black = 15,
  tsWindows8 = 16,
  tsOffice2013White = 17,
  tsOffice2013LightGray = 18,
  tsOffice2013Gray = 19,
  tsWindows10 = 20,
  tsOffice2016White = 21,
  tsOffice2016Gray = 22,
  tsOffice2016Black = 23,
  tsOffice2019White = 24,
  tsOffice2019Gray = 25,
  tsOffice2019Black = 26
};

enum TOfficeTheme : Byte {
  ot2003Blue,
  ot2003Silver,
  ot2003Olive,
  ot2003Classic,
  ot2007Blue,
  ot2007Silver,
  ot2007Black,
  ot2010Blue,
  ot2010Silver,
  ot2010Black,
  ot2013White,
  ot2013Silver,
  ot2013Gray,
  ot2016White,
  ot2016Gray,
  ot2016Black,
  ot2019White,
  ot2019Gray,
  ot2019Black,
  otUnknown
};

enum TMetroStyle : Byte { msLight, msDark };

struct TColorTone {
  TColor BrushColor = clNone;
  TColor BorderColor = clNone;
  TColor TextColor = clNone;
  bool operator==(const TColorTone&) const = default;
};

struct TColorTones {
  TColorTone Background;
  TColorTone Foreground;
  TColorTone Selected;
  TColorTone Hover;
  TColorTone Disabled;
  bool operator==(const TColorTones&) const = default;
};

// A style pushed into a component by a form or application styler (or a toolbar).
class IVornStyle {
 public:
  virtual void SetComponentStyle(TVornStyle AStyle) = 0;

 protected:
  ~IVornStyle() = default;
};

// A style with the application colour; callers without one pass clNone.
// IVornStyle is a virtual base, so a class may name both interfaces (as
// "public IVornStyleEx, public virtual IVornStyle") and still has one IVornStyle.
class IVornStyleEx : public virtual IVornStyle {
 public:
  virtual void SetComponentStyleAndAppColor(TVornStyle AStyle, TColor AAppColor) = 0;

 protected:
  ~IVornStyleEx() = default;
};

// A tone set pushed into a component.
class IVornTones {
 public:
  virtual void SetColorTones(const TColorTones& ATones) = 0;

 protected:
  ~IVornTones() = default;
};

// The interface I of AObject, or nullptr when it does not implement it (or is nullptr).
template <class I>
I* Supports(TObject* AObject) {
  return dynamic_cast<I*>(AObject);
}

// --- style routines ---

// The DPI scale of a control (1.0 at 96 DPI): with a top-level form, 1.0 for
// an unscaled one and its monitor's pixels per inch / 96 for a scaled one;
// otherwise the canvas's vertical pixels per inch / 96 (the screen's without
// canvas or device context). Never 0: 0 gives 1.0. AControl may be nullptr.
float GetControlDPIScale(TControl* AControl, TCanvas* ACanvas);
// The factor for sizes given at 96 DPI: 1.0 unless AForm is nullptr or a
// scaled form; then from the canvas's (else the screen's) pixels per inch,
// 96 giving 1.0 and another value the ratio of the height of "0" in a 9-point
// font at that resolution to the same at 96. 0 or less gives 1.0.
float GetCanvasDPIScale(TCanvas* ACanvas, TCustomForm* AForm);
// The Style of the first enabled form styler (Style not tsCustom) owned by
// AComponent's form (AComponent itself when it is a form, else the parent
// form of a control); ADefault without such a form or styler, or for nullptr.
TVornStyle GetFormStylerStyle(TComponent* AComponent, TVornStyle ADefault);
// Class-library styles are never active here: always false.
bool IsVclStyleActive(TCustomStyleServices* AStyleServices, bool ADesigning);
// Background.BrushColor := clNone, the sign that no class-library style
// supplies tones (none ever does here); the rest is left unchanged.
void GetVclStyleColorTones(TColorTones& ATones);
// True: the system counts as Windows 10, which has the call.
bool HasGetLocaleInfoEx();
// True: the system counts as Windows 10.
bool IsWindowsXPOrLater();
// "Segoe UI" when HasGetLocaleInfoEx, else "Tahoma".
String GetDefaultFontName();
// False for tsOffice2016Black, tsOffice2019Gray and tsOffice2019Black; true for any other value.
bool IsLightStyle(TVornStyle AStyle);
// All fifteen colours clNone.
TColorTones EmptyColorTones();
// True when the Background brush, border and text colours are all clNone.
bool IsColorTonesEmpty(const TColorTones& ATones);
// The tones of the system colours (window, highlight, greys).
TColorTones SystemColorTones();
// A flat tone set from one colour, white background with black text when
// ALight, black with white text otherwise. ATextColor is not read.
void GetMetroTones(bool ALight, TColor AColor, TColor ATextColor, TColorTones& ATones);
// Each channel (system colours resolved) times (100 - APercent) / 100,
// rounded half to even and kept within 0..255.
TColor DarkenColorClamped(TColor AColor, Integer APercent);
// Hue (degrees, NaN when S is 0), saturation 0..1 and value (the largest channel).
void RGBtoHSV(double R, double G, double B, double& H, double& S, double& V);
// The inverse of RGBtoHSV. S = 0 needs a NaN hue (R = G = B = V); a hue with
// a value raises Exception "HSVtoRGB: S = 0 and H has a value". A hue outside
// 0..360 leaves the outputs unchanged.
void HSVtoRGB(double H, double S, double V, double& R, double& G, double& B);
// Brightness (value) changed by APercent percent; at full brightness the
// saturation changes instead. Value and saturation stay within their ranges.
TColor ChangeColorBrightness(TColor AColor, Integer APercent);
