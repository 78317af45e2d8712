#pragma once
// A menu styler filled from built-in colour presets, following the shared
// style enumeration and, on request, the desktop's colour scheme.
#include "foundation/style/VornStyle.h"
#include "menus/AdvMenuStyler.h"

enum TOfficeStyle {
  osOffice2003Blue, osOffice2003Silver, osOffice2003Olive, osOfficeXP, osOffice2007Luna, osOffice2007Obsidian,
  osCustom, osOffice2007Silver, osVista, osWhidbey, osWindows7, osTerminal, osOffice2010Blue, osOffice2010Silver,
  osOffice2010Black, osWindows8, osOffice2013White, osOffice2013LightGray, osOffice2013Gray, osWindows10,
  osOffice2016White, osOffice2016Gray, osOffice2016Black, osOffice2019White, osOffice2019Gray, osOffice2019Black
};

// An invisible window that reports theme changes of the desktop.
class TMenuNotifierWindow : public TWinControl {
 public:
  explicit TMenuNotifierWindow(TComponent* AOwner);
  // Raised with the window as sender when WM_THEMECHANGED arrives.
  TNotifyEvent OnThemeChange;

 protected:
  void WndProc(TMessage& Message) override;
};

// The desktop's visual-style colour scheme name ("NormalColor", "HomeStead",
// "Metallic"), empty when there is none.
String GetXPColorScheme();

class TAdvMenuOfficeStyler : public TCustomAdvMenuStyler, public IVornStyle {
 public:
  explicit TAdvMenuOfficeStyler(TComponent* AOwner);
  ~TAdvMenuOfficeStyler() override;
  // Inherited loading, then the automatic theme when AutoThemeAdapt.
  void Loaded() override;

  TOfficeStyle Style() const { return FStyle; }
  // Stores the style and applies its preset; osCustom only resets the font colour and UseSystemFont.
  void SetStyle(TOfficeStyle Value);
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value);
  // Maps the shared style onto a preset; tsCustom and values outside the enumeration change nothing.
  void SetComponentStyle(TVornStyle AStyle) override;
  // With AutoThemeAdapt: the 2003 preset of the desktop's colour scheme, osOfficeXP for any other.
  void ApplyAutoTheme();
  // nullptr once a parent form has freed it.
  TMenuNotifierWindow* NotifierWindow() const { return FNotifierWnd; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TMenuNotifierWindow* FNotifierWnd = nullptr;  // owned as a component
  TOfficeStyle FStyle = osOffice2003Blue;
  bool FAutoThemeAdapt = false;
};
