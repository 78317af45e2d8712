#pragma once
// TCustomZadEdevAziStyler: the component that owns every colour, gradient,
// font, picture and appearance object with which dock panels, toolbars and
// ribbon pagers draw, and tells each registered control of every change with
// a change kind, so that each refreshes only what the kind concerns:
//   1 background and font, 2 general repaint, 4 container, 5 drag grip,
//   6 menu styler, 7 glow-button appearances, 10 tab, page and group,
//   11 pager caption and system buttons, 12 quick-access toolbar.
// Broadcasts are suppressed while loading, while being destroyed and between
// BeginUpdate and EndUpdate; suppressed changes are not queued.
#include <memory>
#include <vector>

#include "controls/GlowButtonAppearance.h"
#include "foundation/style/VornStyle.h"
#include "menus/AdvMenuStyler.h"
#include "platform/rtl/Component.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/GraphicsObjects.h"
#include "ribbon/appearance/AppColor.h"
#include "ribbon/appearance/GroupAppearance.h"
#include "ribbon/appearance/QATAppearance.h"
#include "ribbon/appearance/TabAppearance.h"
#include "ribbon/appearance/VistaBackground.h"
#include "toolbar/StyledControl.h"
#include "toolbar/shared/ToolBarAppearance.h"

namespace toolbar {

enum TBackGroundDisplay { bdTile, bdCenter, bdStretch };
enum TDragGripStyle { dsDots, dsSingleLine, dsDoubleLine, dsFlatDots, dsNone };

// The change kinds of the broadcast (3, 8 and 9 are never sent).
enum : Integer {
  skBackgroundAndFont = 1,
  skGeneral = 2,
  skContainer = 4,
  skDragGrip = 5,
  skMenuStyler = 6,
  skGlowButtons = 7,
  skTabPageGroup = 10,
  skPagerCaption = 11,
  skQuickAccess = 12
};

class TCustomZadEdevAziStyler : public TComponent {
 public:
  explicit TCustomZadEdevAziStyler(TComponent* AOwner);
  // Releases every control that still uses this styler (each gets
  // SetToolBarStyler(nullptr)), then frees what it owns.
  ~TCustomZadEdevAziStyler() override;
  // From another styler: the menu styler, the faces, backgrounds, fonts, grip
  // and handle pictures, floating-window border, caption appearance, form
  // border, button appearance, shadow and 3D flags, each through its setter.
  // Any other source raises the inherited assignment error.
  void Assign(TPersistent* Source) override;

  // Registers a control once (a second call keeps the one entry); nullptr is
  // ignored. The control's destruction unregisters it.
  void AddControl(TCustomControl* AControl);
  // Unregisters the control; nothing when it is not registered.
  void RemoveControl(TCustomControl* AControl);
  bool IsRegistered(const TCustomControl* AControl) const;
  Integer ControlCount() const { return static_cast<Integer>(FControlList.size()); }
  // The broadcast. A receiver that raises is reported through the
  // application's exception handler and the broadcast goes on; receivers
  // unregistered (or destroyed) during it are not called.
  void NotifyChange(Integer Kind);
  // NotifyChange(2).
  void UpdateStyle();
  void BeginUpdate() { ++FUpdateCount; }
  // Decrements when above 0; does not broadcast.
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }
  // Glass and scenic switches of every registered pager, each handled once.
  void UpdatePagerStyle(TVornStyle AStyle);
  // The first registered pager, nullptr when none.
  IStyledPager* GetFirstPager() const;
  // Empty here; the office styler re-applies its preset.
  virtual void RefreshStyle() {}

  // --- properties ---
  ribbon::TAppColor* AppColor() const { return FAppColor.get(); }
  void SetAppColor(ribbon::TAppColor* V) { FAppColor->Assign(V); }
  bool BackGroundTransparent() const { return FBackGroundTransparent; }
  void SetBackGroundTransparent(bool V);
  TBackGroundDisplay BackGroundDisplay() const { return FBackGroundDisplay; }
  void SetBackGroundDisplay(TBackGroundDisplay V);
  TBitmap* BackGround() const { return FBackGround.get(); }
  void SetBackGround(TBitmap* V);
  TVistaGradientBackground* Color() const { return FColor.get(); }
  void SetColor(TVistaGradientBackground* V) { FColor->Assign(V); }
  TGradientBackground* DockColor() const { return FDockColor.get(); }
  void SetDockColor(TGradientBackground* V) { FDockColor->Assign(V); }
  TCustomAdvMenuStyler* AdvMenuStyler() const { return FAdvMenuStyler; }
  void SetAdvMenuStyler(TCustomAdvMenuStyler* V);
  TCustomAdvMenuStyler* CurrentAdvMenuStyler() const { return FCurrentAdvMenuStyler; }
  TCustomAdvMenuStyler* InternalAdvMenuStyler() const { return FInternalAdvMenuStyler; }
  TDragGripStyle DragGripStyle() const { return FDragGripStyle; }
  void SetDragGripStyle(TDragGripStyle V);
  TBitmap* DragGripImage() const { return FDragGripImage.get(); }
  void SetDragGripImage(TBitmap* V) { FDragGripImage->Assign(V); }
  TBitmap* RightHandleImage() const { return FRightHandleImage.get(); }
  void SetRightHandleImage(TBitmap* V);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* V);
  bool Transparent() const { return FTransparent; }
  bool RoundEdges() const { return FRoundEdges; }
  // Broadcasts kind 2 even for an unchanged value.
  void SetRoundEdges(bool V);
  TColor RightHandleColor() const { return FRightHandleColor; }
  void SetRightHandleColor(TColor V) { SetGeneral(FRightHandleColor, V); }
  TColor RightHandleColorHot() const { return FRightHandleColorHot; }
  void SetRightHandleColorHot(TColor V) { SetGeneral(FRightHandleColorHot, V); }
  TColor RightHandleColorTo() const { return FRightHandleColorTo; }
  void SetRightHandleColorTo(TColor V) { SetGeneral(FRightHandleColorTo, V); }
  TColor RightHandleColorHotTo() const { return FRightHandleColorHotTo; }
  void SetRightHandleColorHotTo(TColor V) { SetGeneral(FRightHandleColorHotTo, V); }
  TColor RightHandleColorDown() const { return FRightHandleColorDown; }
  void SetRightHandleColorDown(TColor V) { SetGeneral(FRightHandleColorDown, V); }
  TColor RightHandleColorDownTo() const { return FRightHandleColorDownTo; }
  void SetRightHandleColorDownTo(TColor V) { SetGeneral(FRightHandleColorDownTo, V); }
  Integer FloatingWindowBorderWidth() const { return FFloatingWindowBorderWidth; }
  void SetFloatingWindowBorderWidth(Integer V) { SetGeneral(FFloatingWindowBorderWidth, V); }
  TColor FloatingWindowBorderColor() const { return FFloatingWindowBorderColor; }
  void SetFloatingWindowBorderColor(TColor V) { SetGeneral(FFloatingWindowBorderColor, V); }
  TButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
  void SetButtonAppearance(TButtonAppearance* V) { FButtonAppearance->Assign(V); }
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  virtual void SetAutoThemeAdapt(bool Value) { FAutoThemeAdapt = Value; }
  TBevelCut Bevel() const { return FBevel; }
  void SetBevel(TBevelCut V);
  bool UseBevel() const { return FUseBevel; }
  void SetUseBevel(bool V) { SetGeneral(FUseBevel, V); }
  TColor BorderColorHot() const { return FBorderColorHot; }
  void SetBorderColorHot(TColor V) { SetGeneral(FBorderColorHot, V); }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor V) { SetGeneral(FBorderColor, V); }
  TVistaGradientBackground* ColorHot() const { return FColorHot.get(); }
  void SetColorHot(TVistaGradientBackground* V) { FColorHot->Assign(V); }
  TFont* CaptionFont() const { return FCaptionFont.get(); }
  void SetCaptionFont(TFont* V);
  TVornStyle VornStyle() const { return FVornStyle; }
  TContainerAppearance* ContainerAppearance() const { return FContainerAppearance.get(); }
  void SetContainerAppearance(TContainerAppearance* V) { FContainerAppearance->Assign(V); }
  ribbon::TQATAppearance* QATAppearance() const { return FQATAppearance.get(); }
  void SetQATAppearance(ribbon::TQATAppearance* V) { FQATAppearance->Assign(V); }
  ribbon::TVistaTextBackground* PagerCaption() const { return FPagerCaption.get(); }
  void SetPagerCaption(ribbon::TVistaTextBackground* V) { FPagerCaption->Assign(V); }
  TGlowButtonAppearance* GlowButtonAppearance() const { return FGlowButtonAppearance.get(); }
  void SetGlowButtonAppearance(TGlowButtonAppearance* V) { FGlowButtonAppearance->Assign(V); }
  ribbon::TTabAppearance* TabAppearance() const { return FTabAppearance.get(); }
  void SetTabAppearance(ribbon::TTabAppearance* V) { FTabAppearance->Assign(V); }
  ribbon::TVistaPageBackground* PageAppearance() const { return FPageAppearance.get(); }
  void SetPageAppearance(ribbon::TVistaPageBackground* V) { FPageAppearance->Assign(V); }
  ribbon::TCaptionAppearance* CaptionAppearance() const { return FCaptionAppearance.get(); }
  void SetCaptionAppearance(ribbon::TCaptionAppearance* V) { FCaptionAppearance->Assign(V); }
  ribbon::TGroupAppearance* GroupAppearance() const { return FGroupAppearance.get(); }
  void SetGroupAppearance(ribbon::TGroupAppearance* V) { FGroupAppearance->Assign(V); }
  TGlowButtonAppearance* CompactGlowButtonAppearance() const { return FCompactGlowButtonAppearance.get(); }
  void SetCompactGlowButtonAppearance(TGlowButtonAppearance* V) { FCompactGlowButtonAppearance->Assign(V); }
  bool SystemFont() const { return FSystemFont; }
  // On a change to true the default fonts come back; no broadcast.
  void SetSystemFont(bool V);
  bool QatSharpCurve() const { return FQatSharpCurve; }
  TColor FormBorderColor() const { return FFormBorderColor; }
  // Stores a changed value; no broadcast.
  void SetFormBorderColor(TColor V) { FFormBorderColor = V; }
  TColor SysButtonColor() const { return FSysButtonColor; }
  void SetSysButtonColor(TColor V);
  TVornStyle NewVornStyle() const { return FNewVornStyle; }
  bool ShowShadow() const { return FShowShadow; }
  void SetShowShadow(bool V) { SetGeneral(FShowShadow, V); }
  bool Show3D() const { return FShow3D; }
  void SetShow3D(bool V) { SetGeneral(FShow3D, V); }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Stores a changed value and broadcasts kind 2.
  template <class T>
  void SetGeneral(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    NotifyChange(skGeneral);
  }
  // The default caption font name, "Segoe UI" or "Tahoma".
  static String DefaultFontName();

  std::unique_ptr<ribbon::TAppColor> FAppColor;
  bool FBackGroundTransparent = true;
  TBackGroundDisplay FBackGroundDisplay = bdTile;
  std::unique_ptr<TBitmap> FBackGround;
  std::unique_ptr<TVistaGradientBackground> FColor;
  std::unique_ptr<TGradientBackground> FDockColor;
  TCustomAdvMenuStyler* FInternalAdvMenuStyler = nullptr;  // owned as a component
  TCustomAdvMenuStyler* FAdvMenuStyler = nullptr;
  TCustomAdvMenuStyler* FCurrentAdvMenuStyler = nullptr;
  TDragGripStyle FDragGripStyle = dsDots;
  std::unique_ptr<TBitmap> FDragGripImage;
  std::unique_ptr<TBitmap> FRightHandleImage;
  std::unique_ptr<TFont> FFont;
  bool FTransparent = false;
  std::vector<TCustomControl*> FControlList;
  bool FRoundEdges = true;
  TColor FRightHandleColor = 0x9E9E9E;
  TColor FRightHandleColorHot = 0xD2BDB6;
  TColor FRightHandleColorTo = 0;
  TColor FRightHandleColorHotTo = 0;
  Integer FFloatingWindowBorderWidth = 2;
  TColor FFloatingWindowBorderColor = 0x6D6D6D;
  std::unique_ptr<TButtonAppearance> FButtonAppearance;
  bool FAutoThemeAdapt = false;
  TColor FRightHandleColorDownTo = 0x2DA0FF;
  TColor FRightHandleColorDown = 0x76C1FF;
  TBevelCut FBevel = bvNone;
  bool FUseBevel = false;
  TColor FBorderColorHot = clNone;
  TColor FBorderColor = clNone;
  std::unique_ptr<TVistaGradientBackground> FColorHot;
  std::unique_ptr<TFont> FCaptionFont;
  TVornStyle FVornStyle = tsOffice2003Blue;
  std::unique_ptr<TContainerAppearance> FContainerAppearance;
  std::unique_ptr<ribbon::TQATAppearance> FQATAppearance;
  std::unique_ptr<ribbon::TVistaTextBackground> FPagerCaption;
  std::unique_ptr<TGlowButtonAppearance> FGlowButtonAppearance;
  std::unique_ptr<ribbon::TTabAppearance> FTabAppearance;
  std::unique_ptr<ribbon::TVistaPageBackground> FPageAppearance;
  std::unique_ptr<ribbon::TCaptionAppearance> FCaptionAppearance;
  std::unique_ptr<ribbon::TGroupAppearance> FGroupAppearance;
  std::unique_ptr<TGlowButtonAppearance> FCompactGlowButtonAppearance;
  bool FSystemFont = true;
  bool FQatSharpCurve = false;
  TColor FFormBorderColor = 0x808080;
  TColor FSysButtonColor = 0;
  TVornStyle FNewVornStyle = tsOffice2003Blue;
  bool FShowShadow = true;
  bool FShow3D = true;
  Integer FUpdateCount = 0;
};

}  // namespace toolbar
