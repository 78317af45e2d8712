#pragma once
// TAdvOfficeStatusBar: an owner-drawn status bar whose panels show mini-HTML
// text with anchors, plain text, the time or date, lock-key states, a
// progress gauge, images, a frame animation or shortened text; panels may act
// as buttons. Colours come from a styler (the base styler lives here, the
// office presets in AdvOfficeStatusBarStylers.h). A 100 ms window timer keeps
// clocks and lock keys current and makes <BLINK> text blink.
#include <functional>
#include <memory>

#include "foundation/gdiplus/LookFlags.h"
#include "foundation/pictures/AdvHintInfo.h"
#include "foundation/style/VornStyle.h"
#include "platform/rtl/Collection.h"
#include "platform/rtl/List.h"
#include "platform/rtl/Strings.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

class TAdvOfficeStatusBar;
class TAdvOfficeStatusPanel;
class TAdvOfficeStatusPanels;
class TBasicAction;
class TCustomAdvOfficeStatusBarStyler;
class TPictureContainer;

enum TAdvOfficeStatusPanelStyle : Integer {
  psHTML, psText, psOwnerDraw, psTime, psDate, psNumLock, psCapsLock, psScrollLock, psProgress, psImage,
  psImageList, psAnimation, psEllipsText, psFileEllipsText
};
enum TAdvOfficeStatusPanelBevel : Integer { pbNone, pbLowered, pbRaised };
enum TPanelAppearanceStyle : Integer { psLight, psDark };
enum TVerticalPanelAlignment : Integer { vpaTop, vpaCenter, vpaBottom };
enum TURLStyle : Integer { usUnderline, usNone };
enum TProgressIndication : Integer { piPercentage, piAbsolute, piNone };

using TPanelClick = std::function<void(TObject* Sender, Integer PanelIndex)>;
using TAnchorClick = std::function<void(TObject* Sender, const String& Anchor)>;
using TDrawPanelEvent =
    std::function<void(TAdvOfficeStatusBar* StatusBar, TAdvOfficeStatusPanel* Panel, const TRect& Rect)>;

// The status bar unit's own helper classes and drawing routines; other units
// have classes and routines of the same names.
namespace officestatusbar {

// A list whose guarded accessors raise for an index at or beyond Count.
class TDbgList : public TList {
 public:
  // Raises Exception "Index out of bounds in list read access" for Index >= Count.
  void* GetItemsEx(Integer Index) const;
  // Raises Exception "Index out of bounds in list write access" for Index >= Count.
  void SetItemsEx(Integer Index, void* Item);
};

// The colours of one panel look (normal, hot and pressed).
class TVistaBackground : public TPersistent {
 public:
  TVistaBackground() = default;
  // From another TVistaBackground: every property, one OnChange; other sources: the TPersistent rule.
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor v) { Set(FColor, v); }
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor v) { Set(FColorTo, v); }
  TColor ColorMirror() const { return FColorMirror; }
  void SetColorMirror(TColor v) { Set(FColorMirror, v); }
  TColor ColorMirrorTo() const { return FColorMirrorTo; }
  void SetColorMirrorTo(TColor v) { Set(FColorMirrorTo, v); }
  // The hot colours are stored without a change notification.
  TColor ColorHot() const { return FColorHot; }
  void SetColorHot(TColor v) { FColorHot = v; }
  TColor ColorHotTo() const { return FColorHotTo; }
  void SetColorHotTo(TColor v) { FColorHotTo = v; }
  TColor ColorMirrorHot() const { return FColorMirrorHot; }
  void SetColorMirrorHot(TColor v) { FColorMirrorHot = v; }
  TColor ColorMirrorHotTo() const { return FColorMirrorHotTo; }
  void SetColorMirrorHotTo(TColor v) { FColorMirrorHotTo = v; }
  TColor ColorDown() const { return FColorDown; }
  void SetColorDown(TColor v) { Set(FColorDown, v); }
  TColor ColorDownTo() const { return FColorDownTo; }
  void SetColorDownTo(TColor v) { Set(FColorDownTo, v); }
  TColor ColorMirrorDown() const { return FColorMirrorDown; }
  void SetColorMirrorDown(TColor v) { Set(FColorMirrorDown, v); }
  TColor ColorMirrorDownTo() const { return FColorMirrorDownTo; }
  void SetColorMirrorDownTo(TColor v) { Set(FColorMirrorDownTo, v); }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor v) { Set(FBorderColor, v); }
  TColor BorderColorHot() const { return FBorderColorHot; }
  void SetBorderColorHot(TColor v) { FBorderColorHot = v; }
  TColor BorderColorDown() const { return FBorderColorDown; }
  void SetBorderColorDown(TColor v) { Set(FBorderColorDown, v); }
  TColor TextColor() const { return FTextColor; }
  void SetTextColor(TColor v) { Set(FTextColor, v); }
  TColor TextColorHot() const { return FTextColorHot; }
  void SetTextColorHot(TColor v) { FTextColorHot = v; }
  TColor TextColorDown() const { return FTextColorDown; }
  void SetTextColorDown(TColor v) { Set(FTextColorDown, v); }
  // Stored and notified every time.
  TFontStyles TextStyle() const { return FTextStyle; }
  void SetTextStyle(TFontStyles v) {
    FTextStyle = v;
    Changed();
  }
  TColor SeperatorColor() const { return FSeperatorColor; }
  void SetSeperatorColor(TColor v) { Set(FSeperatorColor, v); }
  // Carried and copied; no drawing reads it.
  Integer Steps() const { return FSteps; }
  void SetSteps(Integer v) { Set(FSteps, v); }

  TNotifyEvent OnChange;

 private:
  template <class T>
  void Set(T& f, T v) {
    if (f == v) return;
    f = v;
    Changed();
  }
  void Changed() {
    if (OnChange) OnChange(this);
  }
  TColor FColor = 0xFFFFFF, FColorTo = 0xFFFFFF, FColorMirror = 0xC0C0C0, FColorMirrorTo = 0xFFFFFF;
  TColor FColorHot = 0xFFFFFF, FColorHotTo = 0xFFFFFF, FColorMirrorHot = 0xC0C0C0, FColorMirrorHotTo = 0xFFFFFF;
  TColor FColorDown = 0xFFFFFF, FColorDownTo = 0xFFFFFF, FColorMirrorDown = 0xC0C0C0,
         FColorMirrorDownTo = 0xFFFFFF;
  TColor FBorderColor = clNone, FBorderColorHot = 0x808080, FBorderColorDown = 0x808080;
  TColor FTextColor = 0, FTextColorHot = 0, FTextColorDown = 0;
  TFontStyles FTextStyle;
  TColor FSeperatorColor = 0xFFFFFF;
  Integer FSteps = 64;
};

enum TGaugeOrientation : Integer { goHorizontal, goVertical };

// What the gauge routine draws.
struct TGaugeSettings {
  TColor Level0Color = 0, Level0ColorTo = 0, Level1Color = 0, Level1ColorTo = 0, Level2Color = 0,
         Level2ColorTo = 0, Level3Color = 0, Level3ColorTo = 0;
  Integer Level1Perc = 70, Level2Perc = 90;
  TColor BorderColor = 0;
  bool ShowBorder = false, Stacked = false, ShowPercentage = true;
  TFont* Font = nullptr;  // not owned
  bool CompletionSmooth = false, ShowGradient = true;
  Integer Steps = 11, Position = 0;
  TColor BackgroundColor = clNone;
  TGaugeOrientation Orientation = goHorizontal;
  bool IsPercent = true;
  String Suffix, Prefix, Text;
};

// Col1 and Col2 mixed: Percent 100 or more gives Col1, 0 or less Col2.
TColor BlendColor(TColor Col1, TColor Col2, Integer Percent);
// Steps bands from FromColor to ToColor across (Horizontal) or down Rect; Steps 0 counts as 1.
void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R, Integer Steps);
// A one- or two-part gradient with an optional frame (nothing filled when Color is clNone).
void DrawMirrorGradient(TCanvas* Canvas, const TRect& R, TColor Color, bool Gradient, TColor BorderColor,
                        bool Vertical, TColor ColorMirrorTo, TColor ColorMirror, TColor ColorTo);
// The gauge of a psProgress panel in R for Percent (0..100); nothing for an empty R.
void DrawGauge(TCanvas* Canvas, const TRect& R, Integer Percent, const TGaugeSettings& Settings);
// Text shortened with "..." to MaxWidth; PathMode shortens a path in the middle. ""
// on failure; a zero or negative character width gives "." rather than a division.
void EllipsisText(bool PathMode, const String& Text, TCanvas* Canvas, String& Result, Integer MaxWidth);
// A path shortened component by component ("C:\...\dir\file") until it fits.
void PathEllipsis(const String& Text, TCanvas* Canvas, Integer MaxWidth, String& Result);
// Drops the first directory of Path, putting "...\" in its place.
void ShortenPathStep(String& Path);
// True when the canvas font is an outline font the screen knows.
bool IsVectorFontInstalled(TCanvas* Canvas);
// Measures (DoDraw false) or draws Text in DrawRect; TextRect receives the
// measured rectangle, (0, 0, 200, 20) when the text cannot be measured.
void DrawPanelText(TCanvas* Canvas, TAlignment Alignment, UINT DTFlags, const TRect& DrawRect, bool NoTrim,
                   bool Ellipsis, gdiplus::TAntiAlias AntiAlias, bool DoDraw, bool Enabled, TFont* Font,
                   const String& Text, TRect& TextRect);

// The status bar's mini-HTML call: measures, draws or hit-tests Text in R.
struct TStatusHTMLArgs {
  TCanvas* Canvas = nullptr;
  String Text;
  TRect R;
  TCustomImageList* Images = nullptr;
  TPoint Hit;
  bool BlinkVisible = true, WrapWords = true, ScaleFontSizes = true;
  bool HitTestPass = false, KeepColors = false, HoverUnderlineOnly = false;
  TColor URLColor = clBlue;
  TPictureContainer* Container = nullptr;
  TBiDiMode BiDi = bdLeftToRight;
};
struct TStatusHTMLResult {
  bool Hit = false;
  Integer XSize = 0, YSize = 0;
  String Anchor, Title;
};
TStatusHTMLResult StatusHTMLRender(const TStatusHTMLArgs& Args);

}  // namespace officestatusbar

// Gauge settings of a psProgress panel.
class TProgressStyle : public TPersistent {
 public:
  explicit TProgressStyle(TAdvOfficeStatusPanel* AOwner) : FOwner(AOwner) {}
  // From another TProgressStyle: every property, no repaint; raises EConvertError for other sources.
  void Assign(TPersistent* Source) override;

  TColor BackGround() const { return FBackGround; }
  void SetBackGround(TColor v) { Set(FBackGround, v); }
  TProgressIndication Indication() const { return FIndication; }
  void SetIndication(TProgressIndication v) { Set(FIndication, v); }
  // Min, Max and Position repaint only when the rounded percentage changes.
  Integer Min() const { return FMin; }
  void SetMin(Integer v);
  Integer Max() const { return FMax; }
  void SetMax(Integer v);
  Integer Position() const { return FPosition; }
  // Clamped into Min..Max (when Max is not below Min).
  void SetPosition(Integer v);
  TColor Level0Color() const { return FLevel0Color; }
  void SetLevel0Color(TColor v) { Set(FLevel0Color, v); }
  TColor Level0ColorTo() const { return FLevel0ColorTo; }
  void SetLevel0ColorTo(TColor v) { Set(FLevel0ColorTo, v); }
  TColor Level1Color() const { return FLevel1Color; }
  void SetLevel1Color(TColor v) { Set(FLevel1Color, v); }
  TColor Level1ColorTo() const { return FLevel1ColorTo; }
  void SetLevel1ColorTo(TColor v) { Set(FLevel1ColorTo, v); }
  TColor Level2Color() const { return FLevel2Color; }
  void SetLevel2Color(TColor v) { Set(FLevel2Color, v); }
  TColor Level2ColorTo() const { return FLevel2ColorTo; }
  void SetLevel2ColorTo(TColor v) { Set(FLevel2ColorTo, v); }
  TColor Level3Color() const { return FLevel3Color; }
  void SetLevel3Color(TColor v) { Set(FLevel3Color, v); }
  TColor Level3ColorTo() const { return FLevel3ColorTo; }
  void SetLevel3ColorTo(TColor v) { Set(FLevel3ColorTo, v); }
  Integer Level1Perc() const { return FLevel1Perc; }
  void SetLevel1Perc(Integer v) { Set(FLevel1Perc, v); }
  Integer Level2Perc() const { return FLevel2Perc; }
  void SetLevel2Perc(Integer v) { Set(FLevel2Perc, v); }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor v) { Set(FBorderColor, v); }
  bool ShowBorder() const { return FShowBorder; }
  void SetShowBorder(bool v) { Set(FShowBorder, v); }
  bool Stacked() const { return FStacked; }
  void SetStacked(bool v) { Set(FStacked, v); }
  bool ShowPercentage() const { return FShowPercentage; }
  void SetShowPercentage(bool v) { Set(FShowPercentage, v); }
  bool CompletionSmooth() const { return FCompletionSmooth; }
  void SetCompletionSmooth(bool v) { Set(FCompletionSmooth, v); }
  bool ShowGradient() const { return FShowGradient; }
  void SetShowGradient(bool v) { Set(FShowGradient, v); }
  const String& Prefix() const { return FPrefix; }
  void SetPrefix(const String& v) { Set(FPrefix, v); }
  const String& Suffix() const { return FSuffix; }
  void SetSuffix(const String& v) { Set(FSuffix, v); }

  // The percentage the gauge shows: (Position - Min) of Max - Min, rounded; 0 when Min = Max.
  Integer Percent() const;

 private:
  template <class T>
  void Set(T& f, const T& v) {
    f = v;
    Invalidate();
  }
  void Invalidate();
  void RangeChanged();
  TAdvOfficeStatusPanel* FOwner;
  TColor FBackGround = clNone;
  TProgressIndication FIndication = piPercentage;
  Integer FMin = 0, FMax = 100, FPosition = 0;
  TColor FLevel0Color = 0x00FF00, FLevel0ColorTo = 0xE1FFE1, FLevel1Color = 0x00FFFF, FLevel1ColorTo = 0xCAFFFF;
  TColor FLevel2Color = 0x53A9FF, FLevel2ColorTo = 0xA8D3FF, FLevel3Color = 0x0000FF, FLevel3ColorTo = 0xCACAFF;
  Integer FLevel1Perc = 70, FLevel2Perc = 90;
  TColor FBorderColor = 0;
  bool FShowBorder = false, FStacked = false, FShowPercentage = true, FCompletionSmooth = false,
       FShowGradient = true;
  String FPrefix, FSuffix;
  Integer FOldPerc = 0;
};

class TAdvOfficeStatusPanel : public TCollectionItem {
 public:
  explicit TAdvOfficeStatusPanel(TCollection* Collection);
  ~TAdvOfficeStatusPanel() override;
  // From another panel: Text, Width, Alignment, bevel, Style, formats, Progress,
  // OfficeHint, AppearanceStyle, AutoSize, MinWidth, VAlignment and Tag.
  void Assign(TPersistent* Source) override;
  String GetDisplayName() const override;

  // The bar owning the panel, nullptr outside one.
  TAdvOfficeStatusBar* StatusBar() const;
  // The bar's layout rectangle of this panel; (-1, -1, -1, -1) outside a bar.
  TRect Rect() const;
  // Progress.Position + 1 while below Progress.Max.
  void StepIt();
  // The image index of entry Index, -1 beyond the list; a non-number raises EConvertError.
  Integer GetImageIndexes(Integer Index) const;
  // Pads the list with "-1" up to Index, then stores Value (no repaint). Negative Index: nothing.
  void SetImageIndexes(Integer Index, Integer Value);
  void ClearImageIndexes() { FImageIndexes->Clear(); }
  Integer ImageCount() const { return FImageIndexes->Count(); }
  // The system locale is never a bidirectional one here: both answer false.
  bool UseRightToLeftReading() const { return false; }
  bool UseRightToLeftAlignment() const { return false; }
  void ParentBiDiModeChanged();

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  bool Animated() const { return FAnimated; }
  void SetAnimated(bool v);
  TCustomImageList* AnimationImages() const { return FAnimationImages; }
  void SetAnimationImages(TCustomImageList* v);
  Integer AnimationDelay() const { return FAnimationDelay; }
  // Negative values are ignored.
  void SetAnimationDelay(Integer v) { if (v >= 0) FAnimationDelay = v; }
  TPanelAppearanceStyle AppearanceStyle() const { return FAppearanceStyle; }
  void SetAppearanceStyle(TPanelAppearanceStyle v);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode v);
  bool ParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool v);
  bool Button() const { return FButton; }
  void SetButton(bool v);
  const String& DateFormat() const { return FDateFormat; }
  void SetDateFormat(const String& v);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  Integer HTMLOffsetX() const { return FHTMLOffsetX; }
  void SetHTMLOffsetX(Integer v);
  Integer HTMLOffsetY() const { return FHTMLOffsetY; }
  void SetHTMLOffsetY(Integer v);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer v);
  Integer MinWidth() const { return FMinWidth; }
  void SetMinWidth(Integer v) { FMinWidth = v; }
  TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  void SetOfficeHint(TAdvHintInfo* v) { FOfficeHint->Assign(v); }
  TProgressStyle* Progress() const { return FProgress.get(); }
  void SetProgress(TProgressStyle* v);
  TAdvOfficeStatusPanelStyle Style() const { return FStyle; }
  void SetStyle(TAdvOfficeStatusPanelStyle v);
  NativeInt Tag() const { return FTag; }
  void SetTag(NativeInt v) { FTag = v; }
  const String& Text() const { return FText; }
  // Nothing when unchanged; else stores, repaints and re-measures an AutoSize panel.
  void SetText(const String& v);
  const String& TimeFormat() const { return FTimeFormat; }
  void SetTimeFormat(const String& v);
  TVerticalPanelAlignment VAlignment() const { return FVAlignment; }
  void SetVAlignment(TVerticalPanelAlignment v);
  Integer Width() const { return FWidth; }
  void SetWidth(Integer v);
  TAdvOfficeStatusPanelBevel Bevel() const { return FBevel; }

  // The current frame of an animation panel.
  Integer AnimIndex() const { return FAnimIndex; }

 private:
  friend class TAdvOfficeStatusBar;
  friend class TProgressStyle;
  void Repaint();
  // Invalidates only the panel's rectangle of the bar.
  void InvalidatePanel();

  TAlignment FAlignment = taLeftJustify;
  bool FAnimated = false;
  TCustomImageList* FAnimationImages = nullptr;
  Integer FAnimationDelay = 0;
  TPanelAppearanceStyle FAppearanceStyle = psLight;
  bool FAutoSize = false;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FParentBiDiMode = true;
  bool FButton = false;
  String FDateFormat, FTimeFormat;
  bool FEnabled = true;
  Integer FHTMLOffsetX = 1, FHTMLOffsetY = 1;
  Integer FImageIndex = -1;
  Integer FMinWidth = 20;
  std::unique_ptr<TAdvHintInfo> FOfficeHint;
  std::unique_ptr<TProgressStyle> FProgress;
  TAdvOfficeStatusPanelStyle FStyle = psHTML;
  NativeInt FTag = 0;
  String FText;
  TVerticalPanelAlignment FVAlignment = vpaCenter;
  Integer FWidth = 50;
  TAdvOfficeStatusPanelBevel FBevel = pbNone;
  bool FUpdateNeeded = false;
  Integer FAnimIndex = 0;
  std::unique_ptr<TStringList> FImageIndexes;
};

class TAdvOfficeStatusPanels : public TCollection {
 public:
  explicit TAdvOfficeStatusPanels(TAdvOfficeStatusBar* StatusBar);
  TAdvOfficeStatusPanel* Add() { return static_cast<TAdvOfficeStatusPanel*>(TCollection::Add()); }
  // A bad index raises EListError.
  TAdvOfficeStatusPanel* Items(Integer Index) const {
    return static_cast<TAdvOfficeStatusPanel*>(TCollection::Items(Index));
  }
  void SetItem(Integer Index, TAdvOfficeStatusPanel* Value) { SetItems(Index, Value); }
  TAdvOfficeStatusBar* StatusBar() const { return FStatusBar; }
  TPersistent* GetOwner() const override;
  TNotifyEvent OnChange;

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TAdvOfficeStatusBar* FStatusBar;
};

// An invisible control that carries the office hint of the panel under the mouse.
class TDummyHintControl : public TControl {
 public:
  explicit TDummyHintControl(TComponent* AOwner);
  TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  void SetOfficeHint(TAdvHintInfo* v) { FOfficeHint->Assign(v); }

 private:
  std::unique_ptr<TAdvHintInfo> FOfficeHint;
};

// The colours of status bars and the registry of the bars that use them.
class TCustomAdvOfficeStatusBarStyler : public TComponent {
 public:
  explicit TCustomAdvOfficeStatusBarStyler(TComponent* AOwner);
  ~TCustomAdvOfficeStatusBarStyler() override;
  // From another styler: the theme flag, both appearances and BorderColor;
  // other sources: the TPersistent rule (EConvertError).
  void Assign(TPersistent* Source) override;

  // Registers a bar (twice when added twice).
  void AddControl(TCustomControl* AControl);
  // Removes every registration of the bar; nothing when absent.
  void RemoveControl(TCustomControl* AControl);
  // Repaints every registered bar (held back while loading, destroying or updating).
  void Changed();
  void BeginUpdate() { ++FUpdateCount; }
  // Ends an update stretch with one broadcast.
  void EndUpdate();
  virtual void ThemeChanged() {}
  virtual void SetAutoThemeAdapt(bool Value);
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }

  TColor BorderColor() const { return FBorderColor; }
  // Broadcasts when the colour differs.
  void SetBorderColor(TColor Value);
  officestatusbar::TVistaBackground* PanelAppearanceLight() const { return FPanelAppearanceLight.get(); }
  void SetPanelAppearanceLight(officestatusbar::TVistaBackground* v) { FPanelAppearanceLight->Assign(v); }
  officestatusbar::TVistaBackground* PanelAppearanceDark() const { return FPanelAppearanceDark.get(); }
  void SetPanelAppearanceDark(officestatusbar::TVistaBackground* v) { FPanelAppearanceDark->Assign(v); }
  // The number of registrations (for the owner and tests).
  Integer ControlCount() const { return FControlList.Count(); }

  void Loaded() override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  officestatusbar::TDbgList FControlList;
  bool FAutoThemeAdapt = false;
  std::unique_ptr<officestatusbar::TVistaBackground> FPanelAppearanceLight, FPanelAppearanceDark;
  TColor FBorderColor = 0x825A3B;
  Integer FUpdateCount = 0;
};

class TAdvOfficeStatusBar : public TCustomControl, public IVornStyleEx, public virtual IVornStyle, public IVornTones {
 public:
  explicit TAdvOfficeStatusBar(TComponent* AOwner);
  ~TAdvOfficeStatusBar() override;

  // The index of the first panel whose layout rectangle holds X (edges
  // inclusive, so a shared edge belongs to the left panel); -1 when none.
  Integer GetPanel(Integer X);
  // The layout rectangle of panel Index; (-1, -1, -1, -1) for a bad index.
  TRect PanelRect(Integer Index);
  // Makes the internal styler current again and repaints.
  void RemoveStyler();
  // Reverses the panel order (with a window, no simple panel and panels).
  void FlipChildren(bool AllLevels);
  // One timer step over every panel (clocks, lock keys, blinking, animation).
  virtual void UpdateStatusBar();
  // OnHint when assigned (true), else false.
  virtual bool DoHint();
  // With AutoHint a hint action's text goes to the simple text (simple
  // panel or no panels) or to panel 0, unless DoHint took it.
  // Reached through CM_ACTIONEXECUTE; other actions: false.
  virtual bool ExecuteAction(TBasicAction* Action);
  // Whether the bar's window is one a size grip can resize.
  virtual bool HasSizeGrip();
  // Whether the grip is drawn now (SizeGrip, HasSizeGrip, parent form not maximized).
  bool SizeGripShown();
  // Recomputes the widths of AutoSize panels.
  void UpdateAutoWidths();
  // The anchor (HREF) and title at the client point; empty when none.
  String AnchorAt(Integer X, Integer Y, String* Title = nullptr);
  // What a styler calls on every registered bar.
  void StylerChanged() { Invalidate(); }

  // Style interfaces.
  void SetComponentStyle(TVornStyle AStyle) override;
  void SetComponentStyleAndAppColor(TVornStyle AStyle, TColor AAppColor) override;
  // A flat look from the tones; empty tones switch it off and keep the colours.
  void SetColorTones(const TColorTones& ATones) override;

  TAdvOfficeStatusPanels* Panels() const { return FPanels.get(); }
  void SetPanels(TAdvOfficeStatusPanels* v) { FPanels->Assign(v); }
  bool AnchorHint() const { return FAnchorHint; }
  void SetAnchorHint(bool v) { FAnchorHint = v; }
  gdiplus::TAntiAlias AntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(gdiplus::TAntiAlias v);
  bool AutoHint() const { return FAutoHint; }
  void SetAutoHint(bool v) { FAutoHint = v; }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* v);
  TCustomImageList* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* v);
  TPictureContainer* PictureContainer() const { return FPictureContainer; }
  void SetPictureContainer(TPictureContainer* v);
  bool ShowSplitter() const { return FShowSplitter; }
  void SetShowSplitter(bool v);
  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool v);
  const String& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const String& v);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool v);
  Integer StretchPanel() const { return FStretchPanel; }
  // Only -1 .. Count - 1; other values are ignored.
  void SetStretchPanel(Integer v);
  TCustomAdvOfficeStatusBarStyler* Styler() const { return FOfficeStatusBarStyler; }
  void SetStyler(TCustomAdvOfficeStatusBarStyler* v);
  // The styler in use: the external one when assigned, else the internal one.
  TCustomAdvOfficeStatusBarStyler* CurrentStyler() const { return FCurrentOfficeStatusBarStyler; }
  TCustomAdvOfficeStatusBarStyler* InternalStyler() const { return FInternalOfficeStatusBarStyler; }
  bool UseSystemFont() const { return FUseSystemFont; }
  void SetUseSystemFont(bool v);
  TColor URLColor() const { return FURLColor; }
  void SetURLColor(TColor v) { FURLColor = v; Invalidate(); }
  TURLStyle URLStyle() const { return FURLStyle; }
  void SetURLStyle(TURLStyle v) { FURLStyle = v; Invalidate(); }
  TVornStyle UIStyle() const { return FVornStyle; }
  void SetUIStyle(TVornStyle v);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode v);
  String Version() const { return u"1.7.3.4"; }
  void SetVersion(const String&) {}
  bool Metro() const { return FMetro; }
  // The blink counter 0..10.
  Integer TimerCount() const { return FTimerCount; }
  Integer HotPanelIndex() const { return FHotPanelIndex; }
  Integer DownPanelIndex() const { return FDownPanelIndex; }
  TDummyHintControl* DummyHintControl() const { return FDummyHintControl; }

  TPanelClick OnPanelClick, OnPanelRightClick, OnPanelDblClick;
  TAnchorClick OnAnchorClick, OnAnchorEnter, OnAnchorExit;
  TDrawPanelEvent OnDrawPanel;
  TNotifyEvent OnHint;

  void Loaded() override;

  // The window timer's identifier.
  static constexpr UINT_PTR StatusTimerID = 111;

 protected:
  friend class TAdvOfficeStatusPanel;
  friend class TAdvOfficeStatusPanels;
  void Paint() override;
  virtual void DrawPanel(TAdvOfficeStatusPanel* Panel, const TRect& R);
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void Resize() override;
  void WMEraseBkgnd(TMessage& Message) override;
  void WMNCHitTest(TMessage& Message) override;
  void CMHintShow(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void WMLButtonDblClk(TMessage& Message) override;

 private:
  // The layout walk: the rectangle of panel Index for the layout (Paint false) or the paint pass.
  TRect PanelWalk(Integer Index, bool Paint);
  void DrawPanelBackground(TAdvOfficeStatusPanel* Panel, const TRect& R);
  void DrawHTMLPanel(TAdvOfficeStatusPanel* Panel, const TRect& R, TAlignment Alignment);
  void DrawSimplePanel();
  void DrawSizeGrip(const TRect& G);
  officestatusbar::TStatusHTMLArgs HTMLArgs(const String& Text, const TRect& R) const;
  void PanelChanged(TAdvOfficeStatusPanel* Panel);
  void SetHotPanel(Integer Index, Integer Y);
  void SetDownPanel(Integer Index, Integer Y);
  void ApplySystemFont();
  TCustomForm* ParentTForm() const;

  std::unique_ptr<TAdvOfficeStatusPanels> FPanels;
  TCustomAdvOfficeStatusBarStyler* FInternalOfficeStatusBarStyler = nullptr;  // owned as a component
  TCustomAdvOfficeStatusBarStyler* FOfficeStatusBarStyler = nullptr;
  TCustomAdvOfficeStatusBarStyler* FCurrentOfficeStatusBarStyler = nullptr;
  UINT_PTR FTimerID = 0;
  Integer FTimerCount = 0;
  Integer FMousePanel = -1;
  String FAnchor;
  Integer FHotPanelIndex = -1, FDownPanelIndex = -1;
  TDummyHintControl* FDummyHintControl = nullptr;  // owned as a component
  TCursor FOldCursor = crDefault;
  Integer FDTHeight = 19;
  bool FMetro = false;
  bool FFormScaled = true;
  TVornStyle FVornStyle = tsCustom;
  Single FDPIScale = 1.0f;
  bool FAnchorHint = false;
  gdiplus::TAntiAlias FAntiAlias = gdiplus::aaClearType;
  bool FAutoHint = false;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FDisabledImages = nullptr;
  TPictureContainer* FPictureContainer = nullptr;
  bool FShowSplitter = true;
  bool FSimplePanel = false;
  String FSimpleText;
  bool FSizeGrip = true;
  Integer FStretchPanel = -1;
  bool FUseSystemFont = false;
  TColor FURLColor = clBlue;
  TURLStyle FURLStyle = usUnderline;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FDestroying = false;
};

// Declares the bar, its panel collection and the panels' office hints to the
// type information, so persistence reaches them. Part of the start-up sequence.
void RegisterStatusBarClasses();
