#include "toolbar/ZadEdevAziPresets.h"

namespace toolbar::presets {
namespace {

constexpr TColor N = clNone;
constexpr TColor HL = clHighlight;

// The published blue look, constant by constant.
constexpr TGradientPreset kOffice2003Blue{
    .Face = 0xFDEADA, .FaceTo = 0xE4AE88, .Dock = 0xF5BFA0, .DockTo = 0xFADAC4,
    .RightHandle = 0xF1A675, .RightHandleTo = 0x913500, .RightHandleHot = 0xD3F8FF, .RightHandleHotTo = 0x76C1FF,
    .RightHandleDown = 0x087FE8, .RightHandleDownTo = 0x7CDAF7,
    .CaptionColor = HL, .CaptionColorTo = HL, .CaptionBorder = HL,
    .CaptionHot = 0xCCF4FF, .CaptionHotTo = 0x91D0FF, .CaptionText = 0xFFFFFF, .CaptionTextHot = 0,
    .Btn = 0xFDEADA, .BtnTo = 0xE4AE88, .BtnDown = 0x4E91FE, .BtnDownTo = 0x91D3FF, .BtnHot = 0xCCF4FF,
    .BtnHotTo = 0x91D0FF, .BtnChecked = 0x8CD5FF, .BtnCheckedTo = 0x58AFFF, .BtnBorder = 0x800000,
    .FloatBorder = 0x913500, .FloatBorderWidth = 2, .RoundEdges = true, .Grip = dsDots, .Bevel = bvNone,
    .UseBevel = false,
    .Glow = 0xEEDBC8, .GlowTo = 0xF6DDC9, .GlowMirror = 0xEDD4C0, .GlowMirrorTo = 0xF7E1D0, .GlowBorder = 0xE0B99B,
    .HasGroup = true,
    .GroupText = 0, .GroupColor = 0xFDEADA, .GroupColorTo = 0xF1DECC, .GroupMirror = 0xF1DECC,
    .GroupMirrorTo = 0xFDEADA, .GroupBorder = 0xC2C2C2,
    .GTabHot = 0xCCF4FF, .GTabHotTo = 0xCCF4FF, .GTabMirrorHot = 0xCCF4FF, .GTabMirrorHotTo = 0x91D0FF,
    .GTabSel = 0x9EDFFB, .GTabSelTo = 0xBAE8FC, .GTabMirrorSel = 0xBAE8FC, .GTabMirrorSelTo = 0xD4F1FD,
    .GTabTextSel = 0, .GTabBorderSel = 0xA0BFCC, .GTabBorderSelHot = 0xA0BFCC, .GTabBorderHot = HL,
    .GTabBorder = HL, .GTabText = 0, .GTabTextHot = 0,
    .GPage = 0xD6F2FE, .GPageTo = 0xF9F9F9, .GPageBorder = 0xC2C2C2, .GPageMirror = 0xF9F9F9,
    .GPageMirrorTo = 0xF9F9F9,
    .GTbColor = 0xECF8FD, .GTbColorTo = 0xF9F9F9, .GTbBorder = 0xCCD1D3, .GTbHot = 0xEEF4F5, .GTbHotTo = 0xFDFBFA,
    .GTbBorderHot = 0xC7C7C7,
    .GCap = 0xF2DAC2, .GCapTo = 0xF0D9C1, .GCapHot = 0xFFE0C8, .GCapHotTo = 0xFFEDD6, .GCapText = 0,
    .GCapTextHot = 0,
    .TabBack = 0xE4AE88, .TabBackTo = 0xFADAC4, .TabBorder = N, .TabBorderDisabled = N, .TabBorderHot = HL,
    .TabBorderSel = 0, .TabBorderSelHot = 0x60CCF9, .TabText = 0, .TabTextHot = 0, .TabTextSel = 0,
    .TabTextDisabled = 0x808080, .TabSel = 0xFCDCC4, .TabSelTo = 0xFAF1E9, .TabMirrorSel = 0xFAF1E9,
    .TabMirrorSelTo = 0xF6EAE0, .TabDisabled = 0xFFFFFF, .TabDisabledTo = 0xC0C0C0, .TabMirrorDisabled = 0xFFFFFF,
    .TabMirrorDisabledTo = 0xC0C0C0, .TabHot = 0xCCF4FF, .TabHotTo = 0xCCF4FF, .TabMirrorHot = 0xCCF4FF,
    .TabMirrorHotTo = 0x91D0FF, .TabShadow = 0xA3673F, .TabHighLight = 0xFFFABF, .TabHighLightSel = 0x63CCF8,
    .TabHighLightSelHot = 0xBDFFFF, .TabHighLightDown = 0xFFFBD0, .TabHighLightHot = 0xFDF4ED,
    .Mirror = 0xFADAC4, .MirrorTo = 0xFADAC4, .MirrorMirror = 0xF9D2B9, .MirrorMirrorTo = 0xFCE1CE,
    .Border = 0xE0C7AD, .BorderHot = 0xE0C7AD,
    .Hot = 0xFFF1E6, .HotTo = 0xFAEADE, .HotMirror = 0xFBE2D2, .HotMirrorTo = 0xFBE2D2, .HotMirrorMirror = 0xFBDCC8,
    .HotMirrorMirrorTo = 0xFDE7D7,
    .PageBorder = 0xE3B28D, .Page = 0xFADAC4, .PageTo = 0xFADAC4, .PageMirror = 0xF9D2B9, .PageMirrorTo = 0xFDE8D7,
    .PageShadow = 0xCD9D7A, .PageHighLight = 0xFDF9CE,
    .PagerCaption = 0xE4AE88, .PagerCaptionBorder = 0xF0CAAE,
    .Qat = 0xFDEADA, .QatTo = 0xE4AE88, .QatBorder = 0x913500, .QatFull = 0xE4AE88, .QatFullTo = 0xE4AE88,
    .QatFullBorder = 0xE4AE88,
    .UpdateQAT = true, .PagerFontHeight = 0, .SetSysButtonColor = false, .SysButtonColor = 0, .QatSharpCurve = false,
    .TabBackVertical = false, .DisabledTextByWin8 = false, .CompactOwn = false, .CompactHot = N,
    .CompactHotTo = N, .CompactDown = N, .CompactDownTo = N, .CompactChecked = N, .CompactCheckedTo = N};

// The key colours of one of our gradient looks; the rest follows the family:
// light tops and darker bottoms, the accent on borders and frames, the hot,
// down and checked pairs shared by buttons, tabs and captions.
struct TGradientKeys {
  TColor Face, FaceTo, Dock, DockTo, Accent, Hot, HotTo, Down, DownTo, Checked, CheckedTo, Light, Text;
};

constexpr TGradientPreset GradientLook(const TGradientKeys& k) {
  TGradientPreset p = kOffice2003Blue;
  p.Face = k.Face;
  p.FaceTo = k.FaceTo;
  p.Dock = k.Dock;
  p.DockTo = k.DockTo;
  p.RightHandle = k.FaceTo;
  p.RightHandleTo = k.Accent;
  p.RightHandleHot = k.Hot;
  p.RightHandleHotTo = k.HotTo;
  p.RightHandleDown = k.Down;
  p.RightHandleDownTo = k.DownTo;
  p.CaptionColor = p.CaptionColorTo = p.CaptionBorder = k.Accent;
  p.CaptionHot = k.Hot;
  p.CaptionHotTo = k.HotTo;
  p.CaptionText = 0xFFFFFF;
  p.CaptionTextHot = k.Text;
  p.Btn = k.Face;
  p.BtnTo = k.FaceTo;
  p.BtnDown = k.Down;
  p.BtnDownTo = k.DownTo;
  p.BtnHot = k.Hot;
  p.BtnHotTo = k.HotTo;
  p.BtnChecked = k.Checked;
  p.BtnCheckedTo = k.CheckedTo;
  p.BtnBorder = k.Accent;
  p.FloatBorder = k.Accent;
  p.Glow = k.Face;
  p.GlowTo = k.Light;
  p.GlowMirror = k.FaceTo;
  p.GlowMirrorTo = k.Face;
  p.GlowBorder = k.Accent;
  p.GroupText = k.Text;
  p.GroupColor = k.Light;
  p.GroupColorTo = k.Face;
  p.GroupMirror = k.Face;
  p.GroupMirrorTo = k.Light;
  p.GroupBorder = k.Accent;
  p.GTabHot = p.GTabHotTo = p.GTabMirrorHot = k.Hot;
  p.GTabMirrorHotTo = k.HotTo;
  p.GTabSel = k.Checked;
  p.GTabSelTo = p.GTabMirrorSel = k.Light;
  p.GTabMirrorSelTo = k.Light;
  p.GTabTextSel = p.GTabText = p.GTabTextHot = k.Text;
  p.GTabBorderSel = p.GTabBorderSelHot = k.Accent;
  p.GPage = k.Light;
  p.GPageTo = p.GPageMirror = p.GPageMirrorTo = k.Face;
  p.GPageBorder = k.Accent;
  p.GTbColor = k.Light;
  p.GTbColorTo = k.Face;
  p.GTbBorder = k.Accent;
  p.GTbHot = k.Hot;
  p.GTbHotTo = k.HotTo;
  p.GTbBorderHot = k.Accent;
  p.GCap = k.Face;
  p.GCapTo = k.FaceTo;
  p.GCapHot = k.Hot;
  p.GCapHotTo = k.HotTo;
  p.GCapText = p.GCapTextHot = k.Text;
  p.TabBack = k.Dock;
  p.TabBackTo = k.DockTo;
  p.TabBorderSel = k.Accent;
  p.TabBorderSelHot = k.DownTo;
  p.TabText = p.TabTextHot = p.TabTextSel = k.Text;
  p.TabSel = k.Light;
  p.TabSelTo = p.TabMirrorSel = k.Face;
  p.TabMirrorSelTo = k.Light;
  p.TabHot = p.TabHotTo = p.TabMirrorHot = k.Hot;
  p.TabMirrorHotTo = k.HotTo;
  p.TabShadow = k.Accent;
  p.Mirror = p.MirrorTo = k.FaceTo;
  p.MirrorMirror = k.FaceTo;
  p.MirrorMirrorTo = k.Face;
  p.Border = p.BorderHot = k.Accent;
  p.Hot = k.Light;
  p.HotTo = k.Face;
  p.HotMirror = p.HotMirrorTo = k.Face;
  p.HotMirrorMirror = k.FaceTo;
  p.HotMirrorMirrorTo = k.Face;
  p.PageBorder = k.Accent;
  p.Page = p.PageTo = k.Face;
  p.PageMirror = k.FaceTo;
  p.PageMirrorTo = k.Light;
  p.PageShadow = k.Accent;
  p.PagerCaption = k.Dock;
  p.PagerCaptionBorder = k.Accent;
  p.Qat = k.Light;
  p.QatTo = k.Dock;
  p.QatBorder = k.Accent;
  p.QatFull = p.QatFullTo = p.QatFullBorder = k.Dock;
  p.UpdateQAT = false;
  return p;
}

// The 2003 looks share the orange hot, down and checked colours.
constexpr TColor kHot = 0xCCF4FF, kHotTo = 0x91D0FF, kDown = 0x4E91FE, kDownTo = 0x91D3FF, kChecked = 0x8CD5FF,
                 kCheckedTo = 0x58AFFF;
// The 2007 and 2010 looks share theirs.
constexpr TColor kHot7 = 0xEBFDFF, kHotTo7 = 0xACECFF, kDown7 = 0x76AFF1, kDownTo7 = 0x4190F3,
                 kChecked7 = 0xB5DBFB, kCheckedTo7 = 0x78C7FE;

constexpr TGradientPreset With2003(TGradientPreset p) {
  p.UpdateQAT = true;
  return p;
}

constexpr TGradientPreset With2007(TGradientPreset p, TColor SysButton, bool Obsidian, bool CompactOwn) {
  p.UpdateQAT = true;
  p.PagerFontHeight = -13;
  p.SetSysButtonColor = true;
  p.SysButtonColor = SysButton;
  p.FloatBorderWidth = 1;
  p.Grip = dsNone;
  p.QatSharpCurve = Obsidian;
  p.TabBackVertical = Obsidian;
  p.CompactOwn = CompactOwn;
  p.CompactHot = 0xEBFDFF;
  p.CompactHotTo = 0xACECFF;
  p.CompactDown = 0x76AFF1;
  p.CompactDownTo = 0x4190F3;
  p.CompactChecked = 0xB5DBFB;
  p.CompactCheckedTo = 0x78C7FE;
  return p;
}

constexpr TGradientPreset With2010(TGradientPreset p) {
  p.HasGroup = false;
  p.DisabledTextByWin8 = true;
  return p;
}

constexpr TGradientPreset WithXP(TGradientPreset p) {
  p.Grip = dsSingleLine;
  p.RoundEdges = false;
  p.Bevel = bvRaised;
  p.UseBevel = true;
  p.UpdateQAT = true;
  return p;
}

constexpr TGradientPreset WithQAT(TGradientPreset p) {
  p.UpdateQAT = true;
  return p;
}

// Face, FaceTo, Dock, DockTo, Accent, Hot, HotTo, Down, DownTo, Checked, CheckedTo, Light, Text
constexpr TGradientPreset kOffice2003Silver = With2003(GradientLook(
    {0xFAF4F3, 0xB59799, 0xE7DDDF, 0xF7F3F3, 0x947C7C, kHot, kHotTo, kDown, kDownTo, kChecked, kCheckedTo,
     0xFFFAFA, 0}));
constexpr TGradientPreset kOffice2003Olive = With2003(GradientLook(
    {0xCFF0EA, 0x8CC0B1, 0xA8D9D0, 0xDEF2EE, 0x5E8D75, kHot, kHotTo, kDown, kDownTo, kChecked, kCheckedTo,
     0xE4F6F2, 0}));
constexpr TGradientPreset kOffice2003Classic = GradientLook(
    {0xF6F6F6, 0xD9D9D9, 0xD4D0C8, 0xE4E2DD, 0x808080, 0xEED2C1, 0xEED2C1, 0xE2B598, 0xE2B598, 0xE4CBB8,
     0xE4CBB8, 0xFFFFFF, 0});
constexpr TGradientPreset kOffice2007Luna = With2007(
    GradientLook({0xFFEFE3, 0xFFD2AF, 0xFFDBBF, 0xF3E4D5, 0xB9A18B, kHot7, kHotTo7, kDown7, kDownTo7, kChecked7,
                  kCheckedTo7, 0xFFF7F0, 0x8B4215}),
    0x8B4215, false, true);
constexpr TGradientPreset kOffice2007Obsidian = With2007(
    GradientLook({0xF2F1F0, 0xC9C2BD, 0x535353, 0x434343, 0x5C534C, kHot7, kHotTo7, kDown7, kDownTo7, kChecked7,
                  kCheckedTo7, 0xFAFAFA, 0}),
    0xFFFFFF, true, false);
constexpr TGradientPreset kOffice2007Silver = With2007(
    GradientLook({0xF8F7F6, 0xE8E0DD, 0xE7E2DF, 0xF8F7F6, 0x9F9A96, kHot7, kHotTo7, kDown7, kDownTo7, kChecked7,
                  kCheckedTo7, 0xFFFFFF, 0x5C534C}),
    0x5C534C, false, true);
constexpr TGradientPreset kWindowsXP = WithXP(GradientLook(
    {0xF7F8F9, 0xE1E6E8, 0xEBEEEF, 0xF1F3F4, 0x6F4B4B, 0xEFD3C6, 0xEFD3C6, 0xB59284, 0xB59284, 0xE6C5B9,
     0xE6C5B9, 0xFFFFFF, 0}));
constexpr TGradientPreset kWhidbey = With2003(GradientLook(
    {0xF5F9FA, 0xA8C0C0, 0xD3DCDE, 0xF3F5F5, 0x663300, kHot, kHotTo, kDown, kDownTo, kChecked, kCheckedTo,
     0xFAFCFC, 0}));
constexpr TGradientPreset kWindowsVista = WithQAT(GradientLook(
    {0xFDF8F1, 0xFCEFD5, 0xFFFDF9, 0xFAF0E6, 0xCEA27D, 0xFFFDF9, 0xFFFAF0, 0xFEF9F0, 0xFDF0D7, 0xFDE6C1,
     0xFCF2E0, 0xFFFFFF, 0}));
constexpr TGradientPreset kWindows7Scenic = GradientLook(
    {0xFCEBDC, 0xF8DCC2, 0xFAEDE0, 0xF5E3D2, 0xB9A18B, 0xFDFBFA, 0xFDF3EB, 0xFBE9D8, 0xFDF2E6, 0xFBEDD3,
     0xFAE9C6, 0xFFFFFF, 0});
constexpr TGradientPreset kWindows7Classic = GradientLook(
    {0xFFFFFF, 0xF1ECE8, 0xF4EFEB, 0xEDE5DE, 0xA0A0A0, 0xFDFBFA, 0xFDF3EB, 0xFBE9D8, 0xFDF2E6, 0xFBEDD3,
     0xFAE9C6, 0xFFFFFF, 0});
constexpr TGradientPreset kTerminal = GradientLook(
    {0xFFFFFF, 0xFFFFFF, clBtnFace, clBtnFace, 0x808080, 0xFFFFFF, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0,
     0xC0C0C0, 0xFFFFFF, 0});
constexpr TGradientPreset kOffice2010Blue = With2010(GradientLook(
    {0xFDF6EF, 0xF0DAC7, 0xF6EBE0, 0xEFDCCB, 0xC29A7A, 0xD9F9FD, 0x8AE6FE, 0x6CD0FF, 0x3FD7FD, 0xB1F4FE,
     0x55C1F2, 0xFFFFFF, 0x5B391E}));
constexpr TGradientPreset kOffice2010Silver = With2010(GradientLook(
    {0xFFFFFF, 0xEDE5E0, 0xF4F1EF, 0xE4DCD6, 0xB5ACA3, 0xD9F9FD, 0x8AE6FE, 0x6CD0FF, 0x3FD7FD, 0xB1F4FE,
     0x55C1F2, 0xFFFFFF, 0x5D5D5D}));
constexpr TGradientPreset kOffice2010Black = With2010(GradientLook(
    {0xBFBFBF, 0x919191, 0x6D6D6D, 0x474747, 0x474747, 0xD9F9FD, 0x8AE6FE, 0x6CD0FF, 0x3FD7FD, 0xB1F4FE,
     0x55C1F2, 0xD0D0D0, 0}));

// The published white look of 2019.
constexpr TFlatPreset kOffice2019White{
    .Dock = 0xFFFFFF, .DockSteps = 1, .Face = 0xFFFFFF,
    .RightHandle = 0xFFFFFF, .RightHandleHot = 0xF2E1D5, .RightHandleDown = 0xE3BDA3, .Border = 0xC4C6C8,
    .ButtonText = 0x444648,
    .Caption = 0xFFFFFF, .CaptionHot = 0xF2E1D5, .CaptionText = 0x444648, .CaptionTextHot = 0x444648,
    .AppButton = 0xFFAC3C, .AppButtonHover = 0xE29E00, .AppHover = 0xF7E6CD, .AppHoverBorder = 0xE7BE7A,
    .AppSelected = 0xE7BE7A, .AppSelectedBorder = 0xE7BE7A, .ButtonsForeground = 0xD1B9A5,
    .ToneText = 0x444648, .PagerBack = 0xFFFFFF, .TabFace = 0xFFFFFF, .TabBorder = 0xC4C6C8, .TabHover = 0xF8F9FA,
    .TabSelected = 0xFFFFFF, .AppText = 0x262626,
    .GlowFromAppColor = false, .Glow = 0xFFFFFF, .GlowHot = 0xF2E1D5, .GlowDown = 0xE3BDA3, .GlowChecked = 0xF2E1D5,
    .GlowText = 0x444648, .GlowTextChecked = 0x3B3B3B, .GlowTextHot = 0x444648, .GlowTextDown = 0x444648,
    .CopyBackCaptionText = 0x232425, .CopyBackCaptionTextHot = 0, .Group = ribbon::gsOffice2019,
    .SecondSet = false, .Dock2 = N, .Face2 = N, .RightHandle2 = N, .Border2 = N};

// Our flat looks: a face, a frame and text on the white 2019 record's shape.
struct TFlatKeys {
  TColor Dock, Face, Border, Text, Hot, Down, TabHover, AppText;
  ribbon::TGroupStyle Group;
  bool FromAppColor, SecondSet;
  Integer DockSteps;
};

constexpr TFlatPreset FlatLook(const TFlatKeys& k) {
  TFlatPreset p = kOffice2019White;
  p.Dock = k.Dock;
  p.DockSteps = k.DockSteps;
  p.Face = k.Face;
  p.RightHandle = k.Face;
  p.RightHandleHot = k.Hot;
  p.RightHandleDown = k.Down;
  p.Border = k.Border;
  p.ButtonText = k.Text;
  p.Caption = k.Face;
  p.CaptionHot = k.Hot;
  p.CaptionText = p.CaptionTextHot = k.Text;
  p.ToneText = k.Text;
  p.PagerBack = k.Dock;
  p.TabFace = k.Face;
  p.TabBorder = k.Border;
  p.TabHover = k.TabHover;
  p.TabSelected = k.Face;
  p.AppText = k.AppText;
  p.GlowFromAppColor = k.FromAppColor;
  p.Glow = k.Face;
  p.GlowHot = p.GlowChecked = k.Hot;
  p.GlowDown = k.Down;
  p.GlowText = p.GlowTextChecked = p.GlowTextHot = p.GlowTextDown = k.Text;
  p.CopyBackCaptionText = p.CopyBackCaptionTextHot = k.Text;
  p.Group = k.Group;
  p.SecondSet = k.SecondSet;
  p.Dock2 = k.Dock;
  p.Face2 = k.Face;
  p.RightHandle2 = k.Face;
  p.Border2 = k.Border;
  return p;
}

using ribbon::gsOffice2013;
using ribbon::gsOffice2019;
using ribbon::gsWindows8;
// Dock, Face, Border, Text, Hot, Down, TabHover, AppText, group style, hot from AppColor, second set, dock steps
constexpr TFlatPreset kWindows8 =
    FlatLook({0xF7F6F5, 0xFFFFFF, 0xE4DED9, 0, 0xF7EFE8, 0xF7E0C9, 0xF7EFE8, 0xFFFFFF, gsWindows8, false, false, 128});
constexpr TFlatPreset kOffice2013White = FlatLook(
    {0xFFFFFF, 0xFFFFFF, 0xD4D4D4, 0x444444, 0xFCF0E4, 0xFCE2C8, 0xFCF0E4, 0xFFFFFF, gsOffice2013, true, true, 128});
constexpr TFlatPreset kOffice2013LightGray = FlatLook(
    {0xF3F3F3, 0xFAFAFA, 0xC6C6C6, 0x444444, 0xFCF0E4, 0xFCE2C8, 0xFCF0E4, 0xFFFFFF, gsOffice2013, true, true, 128});
constexpr TFlatPreset kOffice2013Gray = FlatLook(
    {0xE5E5E5, 0xF3F3F3, 0xABABAB, 0x262626, 0xFCF0E4, 0xFCE2C8, 0xFCF0E4, 0xFFFFFF, gsOffice2013, true, true, 128});
constexpr TFlatPreset kOffice2016White = FlatLook(
    {0xFFFFFF, 0xFFFFFF, 0xD4D4D4, 0x444444, 0xF2E1D5, 0xE3BDA3, 0xF2E1D5, 0xFFFFFF, gsOffice2013, false, true, 128});
constexpr TFlatPreset kOffice2016Gray = FlatLook(
    {0x444444, 0xD4D4D4, 0xABABAB, 0x262626, 0xB0B0B0, 0x8C8C8C, 0x666666, 0xFFFFFF, gsOffice2013, false, true, 128});
constexpr TFlatPreset kOffice2016Black = FlatLook(
    {0x262626, 0x363636, 0x444444, 0xFFFFFF, 0x505050, 0x666666, 0x505050, 0xFFFFFF, gsOffice2013, false, true, 128});
constexpr TFlatPreset kOffice2019Gray = FlatLook(
    {0x666666, 0xE6E6E6, 0xABABAB, 0x262626, 0xC8C8C8, 0xA0A0A0, 0x808080, 0xFFFFFF, gsOffice2019, false, false, 128});
constexpr TFlatPreset kOffice2019Black = FlatLook(
    {0x262626, 0x363636, 0x505050, 0xFFFFFF, 0x505050, 0x686868, 0x363636, 0xFFFFFF, gsOffice2019, false, false, 1});

}  // namespace

const TGradientPreset* GradientPresetOf(TToolBarStyle Style, bool ScenicOrNoPager) {
  switch (Style) {
    case bsOffice2003Blue: return &kOffice2003Blue;
    case bsOffice2003Silver: return &kOffice2003Silver;
    case bsOffice2003Olive: return &kOffice2003Olive;
    case bsOffice2003Classic: return &kOffice2003Classic;
    case bsOffice2007Luna: return &kOffice2007Luna;
    case bsOffice2007Obsidian: return &kOffice2007Obsidian;
    case bsWindowsXP:
    case bsOfficeXP: return &kWindowsXP;
    case bsWhidbeyStyle: return &kWhidbey;
    case bsOffice2007Silver: return &kOffice2007Silver;
    case bsWindowsVista: return &kWindowsVista;
    case bsWindows7: return ScenicOrNoPager ? &kWindows7Scenic : &kWindows7Classic;
    case bsTerminal: return &kTerminal;
    case bsOffice2010Blue: return &kOffice2010Blue;
    case bsOffice2010Silver: return &kOffice2010Silver;
    case bsOffice2010Black: return &kOffice2010Black;
    default: return nullptr;
  }
}

const TFlatPreset* FlatPresetOf(TToolBarStyle Style) {
  switch (Style) {
    case bsWindows8:
    case bsWindows10: return &kWindows8;
    case bsOffice2013White: return &kOffice2013White;
    case bsOffice2013LightGray: return &kOffice2013LightGray;
    case bsOffice2013Gray: return &kOffice2013Gray;
    case bsOffice2016White: return &kOffice2016White;
    case bsOffice2016Gray: return &kOffice2016Gray;
    case bsOffice2016Black: return &kOffice2016Black;
    case bsOffice2019White: return &kOffice2019White;
    case bsOffice2019Gray: return &kOffice2019Gray;
    case bsOffice2019Black: return &kOffice2019Black;
    default: return nullptr;
  }
}

}  // namespace toolbar::presets
