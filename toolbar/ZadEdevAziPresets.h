#pragma once
// The office styler's colour presets as data. Two families: the gradient
// looks (Office 2003 to 2010, XP, Whidbey, Vista, Windows 7, terminal) and
// the flat looks (Windows 8 and 10, Office 2013 to 2019). Each record holds
// every constant its family assigns; the styler's appliers walk a record.
// Private to the toolbar library.
#include "platform/vcl/Color.h"
#include "platform/vcl/ExtCtrls.h"
#include "ribbon/appearance/AppColor.h"
#include "toolbar/ZadEdevAziOfficeStyler.h"

namespace toolbar::presets {

struct TGradientPreset {
  TColor Face, FaceTo;                 // Color (vertical, 64 steps)
  TColor Dock, DockTo;                 // DockColor (horizontal, 128 steps)
  TColor RightHandle, RightHandleTo, RightHandleHot, RightHandleHotTo, RightHandleDown, RightHandleDownTo;
  TColor CaptionColor, CaptionColorTo, CaptionBorder;  // CaptionAppearance
  TColor CaptionHot, CaptionHotTo, CaptionText, CaptionTextHot;
  TColor Btn, BtnTo, BtnDown, BtnDownTo, BtnHot, BtnHotTo, BtnChecked, BtnCheckedTo, BtnBorder;  // ButtonAppearance
  TColor FloatBorder;
  Integer FloatBorderWidth;
  bool RoundEdges;
  TDragGripStyle Grip;
  TBevelCut Bevel;
  bool UseBevel;
  TColor Glow, GlowTo, GlowMirror, GlowMirrorTo, GlowBorder;  // normal state of the glow buttons
  bool HasGroup;                                             // the Office 2010 looks keep the group colours
  TColor GroupText, GroupColor, GroupColorTo, GroupMirror, GroupMirrorTo, GroupBorder;
  TColor GTabHot, GTabHotTo, GTabMirrorHot, GTabMirrorHotTo, GTabSel, GTabSelTo, GTabMirrorSel, GTabMirrorSelTo,
      GTabTextSel, GTabBorderSel, GTabBorderSelHot, GTabBorderHot, GTabBorder, GTabText, GTabTextHot;
  TColor GPage, GPageTo, GPageBorder, GPageMirror, GPageMirrorTo;
  TColor GTbColor, GTbColorTo, GTbBorder, GTbHot, GTbHotTo, GTbBorderHot;
  TColor GCap, GCapTo, GCapHot, GCapHotTo, GCapText, GCapTextHot;
  TColor TabBack, TabBackTo, TabBorder, TabBorderDisabled, TabBorderHot, TabBorderSel, TabBorderSelHot, TabText,
      TabTextHot, TabTextSel, TabTextDisabled, TabSel, TabSelTo, TabMirrorSel, TabMirrorSelTo, TabDisabled,
      TabDisabledTo, TabMirrorDisabled, TabMirrorDisabledTo, TabHot, TabHotTo, TabMirrorHot, TabMirrorHotTo,
      TabShadow, TabHighLight, TabHighLightSel, TabHighLightSelHot, TabHighLightDown, TabHighLightHot;
  TColor Mirror, MirrorTo, MirrorMirror, MirrorMirrorTo;  // Color.Mirror
  TColor Border, BorderHot;
  TColor Hot, HotTo, HotMirror, HotMirrorTo, HotMirrorMirror, HotMirrorMirrorTo;  // ColorHot and its mirror
  TColor PageBorder, Page, PageTo, PageMirror, PageMirrorTo, PageShadow, PageHighLight;
  TColor PagerCaption, PagerCaptionBorder;
  TColor Qat, QatTo, QatBorder, QatFull, QatFullTo, QatFullBorder;
  // Family extras.
  bool UpdateQAT;               // UpdateQAT of the first pager at the end
  Integer PagerFontHeight;      // 0: the caption font's height stays
  bool SetSysButtonColor;
  TColor SysButtonColor;
  bool QatSharpCurve;
  bool TabBackVertical;          // TabAppearance.BackGround.Direction gdVertical
  bool DisabledTextByWin8;       // TabTextDisabled $C0C0C0 with the Windows-8 switch, else $808080
  bool CompactOwn;               // the compact button gets hot, down and checked colours of its own
  TColor CompactHot, CompactHotTo, CompactDown, CompactDownTo, CompactChecked, CompactCheckedTo;
};

struct TFlatPreset {
  TColor Dock;
  Integer DockSteps;
  TColor Face;
  TColor RightHandle, RightHandleHot, RightHandleDown;  // each with the same "To" colour
  TColor Border;
  TColor ButtonText;      // ButtonAppearance caption text, normal and hot
  TColor Caption, CaptionHot, CaptionText, CaptionTextHot;
  // Application colours taken when AppButtonColor is white or clNone.
  TColor AppButton, AppButtonHover, AppHover, AppHoverBorder, AppSelected, AppSelectedBorder;
  TColor ButtonsForeground;  // tones: the buttons' foreground brush and border with default colours
  TColor ToneText;           // tones: text colour of the buttons, tab and caption
  TColor PagerBack;          // tones: the pager's foreground and background
  TColor TabFace, TabBorder, TabHover, TabSelected;
  TColor AppText;
  bool GlowFromAppColor;     // hot, down and checked from the application colours
  TColor Glow, GlowHot, GlowDown, GlowChecked;
  TColor GlowText, GlowTextChecked, GlowTextHot, GlowTextDown;
  TColor CopyBackCaptionText, CopyBackCaptionTextHot;
  ribbon::TGroupStyle Group;
  // Without a pager the Office 2013 and 2016 looks take this second set.
  bool SecondSet;
  TColor Dock2, Face2, RightHandle2, Border2;
};

// nullptr for bsCustom, the flat styles and values outside the enumeration.
// bsWindows7 has two records: ScenicOrNoPager chooses.
const TGradientPreset* GradientPresetOf(TToolBarStyle Style, bool ScenicOrNoPager);
// nullptr for the gradient styles, bsCustom and values outside the enumeration.
const TFlatPreset* FlatPresetOf(TToolBarStyle Style);

}  // namespace toolbar::presets
