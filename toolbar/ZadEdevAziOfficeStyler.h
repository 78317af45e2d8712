#pragma once
// TZadEdevAziOfficeStyler: the toolbar styler that forms place. Choosing a
// Style assigns a complete, consistent set of colours to every appearance
// object at once; the shared style interfaces and, with AutoThemeAdapt, the
// desktop's Office theme choose it too. Style files store and restore a look.
#include "foundation/style/VornStyle.h"
#include "platform/win/Messages.h"
#include "toolbar/ZadEdevAziStyler.h"

namespace toolbar {

// Ordinals are fixed: style files and forms store them.
enum TToolBarStyle : Byte {
  bsOffice2003Blue, bsOffice2003Silver, bsOffice2003Olive, bsOffice2003Classic, bsOffice2007Luna,
  bsOffice2007Obsidian, bsWindowsXP, bsWhidbeyStyle, bsCustom, bsOffice2007Silver, bsOfficeXP, bsWindowsVista,
  bsWindows7, bsTerminal, bsOffice2010Blue, bsOffice2010Silver, bsOffice2010Black, bsWindows8, bsOffice2013White,
  bsOffice2013LightGray, bsOffice2013Gray, bsWindows10, bsOffice2016White, bsOffice2016Gray, bsOffice2016Black,
  bsOffice2019White, bsOffice2019Gray, bsOffice2019Black
};

// The shared style a preset corresponds to (tsCustom for bsCustom and values
// outside the enumeration).
TVornStyle VornStyleOfToolBarStyle(TToolBarStyle Style);

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

class TZadEdevAziOfficeStyler : public TCustomZadEdevAziStyler, public IVornStyleEx, public virtual IVornStyle,
                                public IVornTones {
 public:
  // Style bsOffice2003Blue, not applied: the colours are the base styler's.
  explicit TZadEdevAziOfficeStyler(TComponent* AOwner);
  ~TZadEdevAziOfficeStyler() override;
  // Inherited loading, the current theme, the theme notifier when
  // AutoThemeAdapt; the four early flat presets are applied again.
  void Loaded() override;

  TToolBarStyle Style() const { return FToolBarStyle; }
  // Applies the preset, also when it is the current one, and ends with one
  // kind-2 broadcast. bsCustom changes no colour.
  virtual void SetStyle(TToolBarStyle Value);
  // Applies the current preset again.
  void UpdateAppColors();
  void RefreshStyle() override;
  void SetComponentStyle(TVornStyle AStyle) override;
  // With AAppColor not clNone the application colours follow it first;
  // tsCustom and values outside the enumeration then apply nothing.
  void SetComponentStyleAndAppColor(TVornStyle AStyle, TColor AAppColor) override;
  void SetColorTones(const TColorTones& ATones) override;
  void SetAutoThemeAdapt(bool Value) override;
  // With AutoThemeAdapt and not loading: the preset of the detected Office
  // theme, when it differs from the last one acted upon.
  void ThemeChanged();
  TOfficeTheme OldOfficeTheme() const { return FOldOfficeTheme; }
  TNotifierWindow* NotifierWindow() const { return FNotifierWnd; }

  // Writes the look to a text file (line 1 the style name, then one
  // Path=Value line per setting). Raises Exception "Cannot Create <name>"
  // when the file cannot be written.
  void SaveToFile(const String& FileName);
  // Reads a file written by SaveToFile. The whole file is read and checked
  // before anything changes: a file that cannot be opened raises "Cannot open
  // file <name>", a corrupt, truncated or oversized one "Corrupt file", and
  // in either case the styler stays exactly as it was.
  void LoadFromFile(const String& FileName);
  // The same on text already in memory (the file's bytes); for LoadFromFile
  // and the fuzz target.
  void LoadFromBytes(const std::string& Bytes);
  // The file's bytes as SaveToFile writes them.
  std::string SaveToBytes();

 private:
  void ApplyGradientPreset(TToolBarStyle Value);
  void ApplyFlatPreset(TToolBarStyle Value);
  void ApplyCommonPart(TToolBarStyle Value);
  void WriteStyleProperties(std::vector<String>& Lines);
  void ReadStyleProperties(const std::vector<String>& Lines);

  TOfficeTheme FOldOfficeTheme = otUnknown;
  bool FDesignTime = false;
  TNotifierWindow* FNotifierWnd = nullptr;  // owned as a component
  TToolBarStyle FToolBarStyle = bsOffice2003Blue;
};

}  // namespace toolbar
