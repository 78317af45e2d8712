#pragma once
// TAdvOfficeStatusBarOfficeStyler: a status-bar styler with office and
// system colour presets, optionally following the installed Office theme
// through a hidden notifier window.
#include <memory>

#include "controls/AdvOfficeStatusBar.h"
#include "foundation/style/VornStyle.h"

// Same ordinals as TVornStyle.
enum TOfficeStatusBarStyle : Byte {
  psOffice2003Blue, psOffice2003Silver, psOffice2003Olive, psOffice2003Classic, psOffice2007Luna,
  psOffice2007Obsidian, psWindowsXP, psWhidbey, psCustom, psOffice2007Silver, psWindowsVista, psWindows7,
  psTerminal, psOffice2010Blue, psOffice2010Silver, psOffice2010Black, psWindows8, psOffice2013White,
  psOffice2013LightGray, psOffice2013Gray, psWindows10, psOffice2016White, psOffice2016Gray, psOffice2016Black,
  psOffice2019White, psOffice2019Gray, psOffice2019Black
};

namespace officestatusbar {

// A hidden window that reports the system's and Office's theme changes.
class TNotifierWindow : public TComponent {
 public:
  explicit TNotifierWindow(TComponent* AOwner);
  ~TNotifierWindow() override;
  HWND Handle() const { return FHandle; }
  // Raised for WM_THEMECHANGED and WM_OFFICETHEMECHANGED.
  TNotifyEvent OnThemeChange;

 private:
  void WndProc(TMessage& Message);
  HWND FHandle = nullptr;
};

}  // namespace officestatusbar

class TAdvOfficeStatusBarOfficeStyler : public TCustomAdvOfficeStatusBarStyler, public IVornStyleEx,
                                        public virtual IVornStyle {
 public:
  // Starts at psOffice2003Blue.
  explicit TAdvOfficeStatusBarOfficeStyler(TComponent* AOwner);
  ~TAdvOfficeStatusBarOfficeStyler() override;

  // The Style setter with the style of the same ordinal.
  void SetComponentStyle(TVornStyle AStyle) override;
  // The preset of AStyle with the application colour (only the 2016 white look uses it).
  void SetComponentStyleAndAppColor(TVornStyle AStyle, TColor AAppColor) override;
  // Sets every preset colour of Style and broadcasts once; psCustom only stores the style.
  void ApplyPreset(TOfficeStatusBarStyle AStyle, TColor AAppColor);

  TOfficeStatusBarStyle Style() const { return FOfficeStatusBarStyle; }
  void SetStyle(TOfficeStatusBarStyle Value) { ApplyPreset(Value, clNone); }

  // With AutoThemeAdapt: the preset of the detected Office theme, when it changed.
  void ThemeChanged() override;
  void SetAutoThemeAdapt(bool Value) override;
  void Loaded() override;
  officestatusbar::TNotifierWindow* NotifierWindow() const { return FNotifierWnd; }

 private:
  TOfficeTheme FOldOfficeTheme = otUnknown;
  officestatusbar::TNotifierWindow* FNotifierWnd = nullptr;  // owned as a component
  TOfficeStatusBarStyle FOfficeStatusBarStyle = psOffice2003Blue;
};
