#pragma once
// TZadEdevAziForm: the form that hosts a ribbon pager as its caption. It
// gives up its own caption: on glass it extends the frame into its client
// area under the pager's caption and tab row; without glass it keeps its
// own border, answers the resize edges, keeps a maximized window inside the
// work area of its monitor and maximizes when the user drops it at the top.
// The arithmetic is in RibbonFrame.h; this class gathers its inputs.
//
// Its painting, the colour-tones look (a flat frame without the system's
// border and glass) and the switching between a dock panel and a ribbon
// are in ZadEdevAziFormPaint.cpp.
#include <memory>

#include "foundation/style/VornStyle.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Timer.h"
#include "ribbon/RibbonFrame.h"

namespace toolbar {
class TAdvDockPanel;
}

namespace ribbon {

class TZadEdevAziPager;

class TZadEdevAziForm : public TForm, public IVornTones {
 public:
  // Create: reads the system's window-arrangement setting.
  explicit TZadEdevAziForm(TComponent* AOwner);
  // CreateNew: without the setting, so dropping at the top never maximizes.
  TZadEdevAziForm(TComponent* AOwner, Integer Dummy);
  void Loaded() override;
  // Ends the making of the form (see FocusRepostLimit).
  void AfterConstruction() override;
  // On glass, a focus message that reaches the form while it is still being
  // made (before AfterConstruction, and hidden) is put off by posting it
  // again, at most this many times in all; more would keep the queue busy
  // for a form that never gets made.
  static constexpr Integer FocusRepostLimit = 3;

  bool SubclassAsRibbon() const { return FSubClassAsRibbon; }
  void SetSubclassAsRibbon(bool Value);
  bool NoDropShadow() const { return FNoDropShadow; }
  void SetNoDropShadow(bool Value) { FNoDropShadow = Value; }
  bool SingleBorder() const { return FSingleBorder; }
  void SetSingleBorder(bool Value);
  bool ThickBorder() const { return FThickBorder; }
  void SetThickBorder(bool Value);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool Value);
  bool NoAutoMax() const { return FNoAutoMax; }
  void SetNoAutoMax(bool Value) { FNoAutoMax = Value; }
  bool WinArrange() const { return FWinArrange; }

  bool IsAeroVista() const { return FIsAeroVista; }
  bool IsScenicMaximized() const;
  bool UsesSingleBorder() const;
  Integer GetPagerCaptionHeight() const;
  Integer GetGlassTabHeight() const;
  // The top of the glass frame last extended (-1: none).
  Integer GlassFrameTop() const { return FGlassFrameTop; }
  bool DblClickMax() const { return FDblClickMax; }
  Integer MaxX() const { return FMaxX; }
  Integer MaxY() const { return FMaxY; }
  // Re-decides glass mode from the composition state.
  void UpdateGlassState();
  // Brings the system menu's items in line with the window state (what the
  // context-menu refresh message asks for).
  void UpdateSystemMenu();

  // --- colour tones, shadow and switching (ZadEdevAziFormPaint.cpp) ---
  // Enters (or refreshes) the colour-tones look; while loading the tones
  // wait in GlobalColorTones until the form has loaded.
  void SetColorTones(const TColorTones& ATones) override;
  // The default size-grip colour, and the global tones when some are set.
  void InitColorTones();
  // Leaves the colour-tones look (nothing when it is off).
  void RevertColorTones();
  // Keeps the system's shadow window of the flat look below the form.
  void UpdateSysShadow();
  bool ColorTonesMode() const { return FItones; }
  // Tones arrived while loading and are applied once the form has loaded.
  bool ColorTonesDeferred() const { return FDoSetMetro; }
  TColor BorderClr() const { return FBorderClr; }
  TColor SizeGripColor() const { return FSizeGripColor; }
  void SetSizeGripColor(TColor Value);
  // The shadow window in use (nullptr: none).
  HWND SysShadowHandle() const { return FSysShadowHandle; }
  // Pen width of the flat frame's side lines: 2 from Create, 0 from CreateNew.
  Integer SideLineWidth() const { return FBorderWidth; }
  // The flat frame's side-line length (see RibbonSideLineLength).
  Integer SideLineLength() const;
  // Maximized and filling the work area (or free of size limits).
  bool IsMaxSizeConstrained() const;
  bool SwitchingOnXP() const { return FSwitchingOnXP; }
  // The dock panel leaves the form for its owner's keeping, the ribbon
  // comes in, and back. Both keep their toolbars, order and owners.
  void SwitchFromDockPanelToRibbon(toolbar::TAdvDockPanel* ADockPanel, TZadEdevAziPager* ARibbon);
  void SwitchFromRibbonToDockPanel(TZadEdevAziPager* ARibbon, toolbar::TAdvDockPanel* ADockPanel);
  // Prepare switching; end with the ribbon shown, or with the dock panel.
  void InitRibbonAndDockPanel(TZadEdevAziPager* ARibbon, toolbar::TAdvDockPanel* ADockPanel);
  void InitDockPanelAndRibbon(toolbar::TAdvDockPanel* ADockPanel, TZadEdevAziPager* ARibbon);

 protected:
  void WndProc(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(TRect& Rect) override;
  void Activate() override;
  // The system's answer, then the resize edges of a non-sizeable form.
  void WMNCHitTest(TMessage& Message) override;
  void Paint() override;

 private:
  void Init(bool ReadSettings);
  TZadEdevAziPager* FirstPager() const;
  void ApplySingleBorder(bool Value);
  void ExtendGlassFrame(Integer CaptionHeight);
  bool GlassBranch(TMessage& Message);
  void WMNCLButtonDown(TMessage& Message);
  void WMGetMinMaxInfo(TMessage& Message);
  void WMWindowPosChanging(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMSizeRibbon();
  // The drop rule at the end of the user's move (the pointer's button up).
  void CheckDropAtTop();
  void DropTimerTick(TObject* Sender);
  // --- ZadEdevAziFormPaint.cpp ---
  void EnterColorTonesMode();
  void DrawSizeGrip();
  void CheckWindowStateChange();
  // Where the switched-out control is kept: its owner when that is a
  // windowed control outside this form, else nowhere (no parent).
  TWinControl* SwitchedOutParent(TControl* Control) const;
  // The registered tone messages; true when handled.
  bool ToneMessage(TMessage& Message);
  // Glass frame margins of the current state, or none (FGlassFrameTop -1).
  void ApplyGlassFrame(bool Enabled);

  bool FIsAeroVista = false;
  bool FDestroying = false;
  TWindowState FOldWndState = wsNormal;
  bool FActivated = false;
  bool FCreated = false;
  bool FIsWin7 = true, FIsWin10 = true, FIsWin11 = false;
  bool FInternalActivate = false;
  bool FSubClassAsRibbon = true;
  bool FNoDropShadow = false;
  Integer FMaxY = 0, FMaxX = 0;
  bool FUpdatingSize = false;
  bool FDoNotSizeWindow = false;
  bool FSingleBorder = false;
  TFormBorderStyle FInitBorderStyle = bsSizeable;
  bool FThickBorder = false;
  bool FItones = false;
  bool FOffice2013 = false;
  bool FSizeGrip = false;
  bool FNoAutoMax = false;
  bool FWinArrange = false;
  Cardinal FLastClick = 0;
  Integer FOldHeight = 0, FOldTop = 0;
  bool FDblClickMax = false;
  Integer FGlassFrameTop = -1;
  // A move the user started with the mouse (cleared when it ends), and the
  // timer that watches for the button's release: the layer's move ends
  // without telling the window.
  bool FUserMove = false;
  std::unique_ptr<TTimer> FDropTimer;
  // Focus messages put off while the form is being made.
  Integer FFocusReposts = 0;
  // Colour tones, shadow and switching.
  bool FSwitchingOnXP = false;
  bool FItonesBeingSet = false;
  bool FOldGlassFrameEnble = false;
  TFormBorderStyle FOldBorderStyle = bsSizeable;
  bool FOldAeroVista = false;
  TColor FBorderClr = clNone;
  TColor FSizeGripColor = 0x00F2BC00;
  HWND FSysShadowHandle = nullptr;
  bool FDoSetMetro = false;
  Integer FBorderWidth = 0;
  // The window class carries CS_DROPSHADOW (the flat look asks for it).
  bool FClassDropShadow = false;
};

}  // namespace ribbon
