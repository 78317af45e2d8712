#pragma once
// The menu styler and its appearance objects: everything the owner-draw
// engine reads to paint a menu. Each appearance object keeps a reference to
// the menu it serves and only uses it to tell that menu about a change (a
// repaint, or a rebuild so that every item is measured again).
#include <memory>

#include "platform/rtl/Component.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphic.h"
#include "platform/vcl/GraphicsObjects.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

enum TGradientDirection { gdVertical, gdHorizontal };
enum TGradientType { gtLeft, gtRight, gtBoth };
enum TBackgroundPosition {
  bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpTopCenter, bpBottomCenter, bpTiled, bpStretched, bpCenter, bpXY
};
enum TSideBarVisibleIn { viFirstVisible, viFirstLevel, viAnyLevel };
enum TSideBarPosition { spLeft, spRight };
enum TDirection { dDownToUp, dUpToDown };
enum TAntiAlias { aaNone, aaClearType, aaAntiAlias };
enum TResType { rtx1, rtx15, rtx2, rtundefined };
enum TGlyphPosition { gpLeft, gpRight };

// Raised by the indexed colour getters and setters for an index outside their range.
class EInvalidPropertyIndex : public Exception {
 public:
  using Exception::Exception;
};

// Tells an owner-drawn menu of ours that its look changed: repaint, or rebuild
// (every item measured again). Other menus and nullptr: nothing.
void NotifyMenuChanged(TMenu* Menu, bool Rebuild);

// A colour pair with a direction; base of the bar-shaped appearance objects.
class TGradientBar : public TPersistent {
 public:
  explicit TGradientBar(TMenu* AMenu);
  // From a TGradientBar: Color, ColorTo, GradientDirection; other sources: the TPersistent rule.
  void Assign(TPersistent* Source) override;
  TMenu* Menu() const { return FMenu; }
  void SetMenu(TMenu* Value) { FMenu = Value; }

  // Index 0 Color, 1 ColorTo; another index raises EInvalidPropertyIndex.
  TColor GetColor(Integer Index) const;
  void SetColor(Integer Index, TColor Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { SetColor(0, Value); }
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value) { SetColor(1, Value); }
  TGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(TGradientDirection Value) { FGradientDirection = Value; }

 protected:
  void Notify(bool Rebuild) const { NotifyMenuChanged(FMenu, Rebuild); }
  TGradientDirection FGradientDirection = gdVertical;
  TMenu* FMenu;
  TColor FColor = 0x00D8BDAF;
  TColor FColorTo = clNone;
};

// The colours of a check or radio box; shared by the icon bar and the selected item.
struct TCheckRadioColors {
  TColor RadioBorder, CheckBorder, RadioColor, RadioColorTo, CheckColor, CheckColorTo;
  TGradientDirection CheckGradientDirection = gdVertical, RadioGradientDirection = gdVertical;
};

// The vertical strip behind item images and check marks.
class TIconBar : public TGradientBar {
 public:
  explicit TIconBar(TMenu* AMenu);
  void Assign(TPersistent* Source) override;
  // Index 0 CheckColor, 1 CheckColorTo (radio: RadioColor, RadioColorTo); others raise EInvalidPropertyIndex.
  TColor GetCheckColor(Integer Index) const;
  void SetCheckColor(Integer Index, TColor Value);
  TColor GetRadioColor(Integer Index) const;
  void SetRadioColor(Integer Index, TColor Value);
  TColor CheckColor() const { return FCR.CheckColor; }
  void SetCheckColor(TColor V) { SetCheckColor(0, V); }
  TColor CheckColorTo() const { return FCR.CheckColorTo; }
  void SetCheckColorTo(TColor V) { SetCheckColor(1, V); }
  TColor RadioColor() const { return FCR.RadioColor; }
  void SetRadioColor(TColor V) { SetRadioColor(0, V); }
  TColor RadioColorTo() const { return FCR.RadioColorTo; }
  void SetRadioColorTo(TColor V) { SetRadioColor(1, V); }
  TColor CheckBorder() const { return FCR.CheckBorder; }
  void SetCheckBorder(TColor V) { FCR.CheckBorder = V; }
  TColor RadioBorder() const { return FCR.RadioBorder; }
  void SetRadioBorder(TColor V) { FCR.RadioBorder = V; }
  TGradientDirection CheckGradientDirection() const { return FCR.CheckGradientDirection; }
  void SetCheckGradientDirection(TGradientDirection V) { FCR.CheckGradientDirection = V; }
  TGradientDirection RadioGradientDirection() const { return FCR.RadioGradientDirection; }
  void SetRadioGradientDirection(TGradientDirection V) { FCR.RadioGradientDirection = V; }
  TColor SeparatorColor() const { return FSeparatorColor; }
  void SetSeparatorColor(TColor V) { FSeparatorColor = V; }
  // Width at 96 DPI; below 16 stores 16. Rebuilds the menu.
  Integer Size() const { return FSize; }
  void SetSize(Integer Value);

 private:
  TCheckRadioColors FCR{0x006F4B4B, 0x006F4B4B, 0x006FC0FF, clNone, 0x006FC0FF, clNone};
  Integer FSize = 24;
  TColor FSeparatorColor = clNone;
};

// The highlighted popup item.
class TSelectedItem : public TGradientBar {
 public:
  explicit TSelectedItem(TMenu* AMenu);
  ~TSelectedItem() override;
  void Assign(TPersistent* Source) override;
  TColor GetCheckColor(Integer Index) const;
  void SetCheckColor(Integer Index, TColor Value);
  TColor GetRadioColor(Integer Index) const;
  void SetRadioColor(Integer Index, TColor Value);
  TColor CheckColor() const { return FCR.CheckColor; }
  void SetCheckColor(TColor V) { SetCheckColor(0, V); }
  TColor CheckColorTo() const { return FCR.CheckColorTo; }
  void SetCheckColorTo(TColor V) { SetCheckColor(1, V); }
  TColor RadioColor() const { return FCR.RadioColor; }
  void SetRadioColor(TColor V) { SetRadioColor(0, V); }
  TColor RadioColorTo() const { return FCR.RadioColorTo; }
  void SetRadioColorTo(TColor V) { SetRadioColor(1, V); }
  TColor CheckBorder() const { return FCR.CheckBorder; }
  void SetCheckBorder(TColor V) { FCR.CheckBorder = V; }
  TColor RadioBorder() const { return FCR.RadioBorder; }
  void SetRadioBorder(TColor V) { FCR.RadioBorder = V; }
  TGradientDirection CheckGradientDirection() const { return FCR.CheckGradientDirection; }
  void SetCheckGradientDirection(TGradientDirection V) { FCR.CheckGradientDirection = V; }
  TGradientDirection RadioGradientDirection() const { return FCR.RadioGradientDirection; }
  void SetRadioGradientDirection(TGradientDirection V) { FCR.RadioGradientDirection = V; }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor V) { FBorderColor = V; }
  TColor ColorMirror() const { return FColorMirror; }
  void SetColorMirror(TColor V) { FColorMirror = V; }
  TColor ColorMirrorTo() const { return FColorMirrorTo; }
  void SetColorMirrorTo(TColor V) { FColorMirrorTo = V; }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  TFont* NotesFont() const { return FNotesFont.get(); }
  void SetNotesFont(TFont* Value);
  bool UseSystemFont() const { return FUseSystemFont; }
  void SetUseSystemFont(bool Value);

 private:
  TCheckRadioColors FCR{0x006F4B4B, 0x006F4B4B, 0x003E80FE, clNone, 0x003E80FE, clNone};
  TColor FBorderColor = 0x006F4B4B;
  std::unique_ptr<TFont> FFont;
  bool FUseSystemFont = true;
  TColor FColorMirror = clNone, FColorMirrorTo = clNone;
  std::unique_ptr<TFont> FNotesFont;
};

// The items of the menu bar and the bar itself.
class TRootItem : public TGradientBar {
 public:
  explicit TRootItem(TMenu* AMenu);
  ~TRootItem() override;
  void Assign(TPersistent* Source) override;
  // Index 0 colour, 1 its gradient end, 2 mirror, 3 mirror's end; others raise EInvalidPropertyIndex.
  TColor GetSelectedColor(Integer Index) const;
  void SetSelectedColor(Integer Index, TColor Value);
  TColor GetHoverColor(Integer Index) const;
  void SetHoverColor(Integer Index, TColor Value);
  TColor SelectedColor() const { return FSelected[0]; }
  void SetSelectedColor(TColor V) { SetSelectedColor(0, V); }
  TColor SelectedColorTo() const { return FSelected[1]; }
  void SetSelectedColorTo(TColor V) { SetSelectedColor(1, V); }
  TColor SelectedColorMirror() const { return FSelected[2]; }
  void SetSelectedColorMirror(TColor V) { SetSelectedColor(2, V); }
  TColor SelectedColorMirrorTo() const { return FSelected[3]; }
  void SetSelectedColorMirrorTo(TColor V) { SetSelectedColor(3, V); }
  TColor HoverColor() const { return FHover[0]; }
  void SetHoverColor(TColor V) { SetHoverColor(0, V); }
  TColor HoverColorTo() const { return FHover[1]; }
  void SetHoverColorTo(TColor V) { SetHoverColor(1, V); }
  TColor HoverColorMirror() const { return FHover[2]; }
  void SetHoverColorMirror(TColor V) { SetHoverColor(2, V); }
  TColor HoverColorMirrorTo() const { return FHover[3]; }
  void SetHoverColorMirrorTo(TColor V) { SetHoverColor(3, V); }
  TGradientDirection SelectedGradientDirection() const { return FSelectedGradientDirection; }
  void SetSelectedGradientDirection(TGradientDirection V) { FSelectedGradientDirection = V; }
  TGradientDirection HoverGradientDirection() const { return FHoverGradientDirection; }
  void SetHoverGradientDirection(TGradientDirection V) { FHoverGradientDirection = V; }
  TColor SelectedBorderColor() const { return FSelectedBorderColor; }
  void SetSelectedBorderColor(TColor V) { FSelectedBorderColor = V; }
  TColor SelectedTextColor() const { return FSelectedTextColor; }
  void SetSelectedTextColor(TColor V) { FSelectedTextColor = V; }
  TColor HoverBorderColor() const { return FHoverBorderColor; }
  void SetHoverBorderColor(TColor V) { FHoverBorderColor = V; }
  TColor HoverTextColor() const { return FHoverTextColor; }
  void SetHoverTextColor(TColor V) { FHoverTextColor = V; }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  bool UseSystemFont() const { return FUseSystemFont; }
  void SetUseSystemFont(bool Value);
  // Copies the screen's menu font into Font when UseSystemFont; otherwise nothing.
  void UpdateFont();

 private:
  std::unique_ptr<TFont> FFont;
  TColor FSelectedBorderColor = 0x00947C7C, FSelectedTextColor = clWindowText;
  bool FUseSystemFont = true;
  TColor FHoverTextColor = clWindowText, FHoverBorderColor = 0x006F4B4B;
  TColor FSelected[4] = {0x00F2E8E8, 0x00CDB8B9, clNone, clNone};
  TColor FHover[4] = {0x00CFF6FF, 0x009DD8FF, clNone, clNone};
  TGradientDirection FHoverGradientDirection = gdVertical, FSelectedGradientDirection = gdVertical;
};

// The popup background, and each of the side bar's two pictures.
class TBackground : public TGradientBar {
 public:
  explicit TBackground(TMenu* AMenu);
  ~TBackground() override;
  void Assign(TPersistent* Source) override;
  // Made on first read; a held bitmap is made transparent (automatic colour) on every read.
  TPicture* Image();
  // nullptr clears and frees the picture; otherwise assigns. Repaints the menu.
  void SetImage(TPicture* Value);
  // True when a picture with a non-empty graphic is held (does not make one).
  bool HasPicture() const;
  TBackgroundPosition Position() const { return FPosition; }
  void SetPosition(TBackgroundPosition V) { FPosition = V; }
  Integer OffsetX() const { return FOffsetX; }
  void SetOffsetX(Integer V) { FOffsetX = V; }
  Integer OffsetY() const { return FOffsetY; }
  void SetOffsetY(Integer V) { FOffsetY = V; }
  Integer MarginX() const { return FMarginX; }
  void SetMarginX(Integer V) { FMarginX = V; }
  Integer MarginY() const { return FMarginY; }
  void SetMarginY(Integer V) { FMarginY = V; }
  // The top-left corner at which the picture is drawn inside ARect; (Left, Top) without a picture.
  void CalcPicturePosition(const TRect& ARect, Integer& X, Integer& Y) const;
  // The work bitmap (made on first use).
  TBitmap* WorkBitmap();

 private:
  std::unique_ptr<TPicture> FImage;
  Integer FOffsetX = 0, FOffsetY = 0;
  TBackgroundPosition FPosition = bpCenter;
  Integer FMarginX = 0, FMarginY = 0;
  std::unique_ptr<TBitmap> FBitmap;
};

// Separator lines.
class TSeparator : public TGradientBar {
 public:
  explicit TSeparator(TMenu* AMenu);
  void Assign(TPersistent* Source) override;
  TGradientType GradientType() const { return FGradientType; }
  void SetGradientType(TGradientType V) { FGradientType = V; }
  Integer GradientWidth() const { return FGradientWidth; }
  void SetGradientWidth(Integer V) { FGradientWidth = V; }
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer V) { FMargin = V; }
  Integer Width() const { return FWidth; }
  void SetWidth(Integer V) { FWidth = V; }

 private:
  TGradientType FGradientType = gtBoth;
  Integer FGradientWidth = 0, FMargin = 2, FWidth = 1;
};

// The text written along the side bar.
class TBarCaption : public TPersistent {
 public:
  explicit TBarCaption(TMenu* AMenu);
  ~TBarCaption() override;
  void Assign(TPersistent* Source) override;
  TMenu* Menu() const { return FMenu; }
  void SetMenu(TMenu* Value) { FMenu = Value; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& V) { FCaption = V; }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  // The caption's distance from the end of the bar it starts at (no property sets it).
  Integer OffsetY() const { return FOffsetY; }
  TDirection Direction() const { return FDirection; }
  void SetDirection(TDirection V) { FDirection = V; }
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor V) { FShadowColor = V; }
  TColor HighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor V) { FHighlightColor = V; }
  Integer Depth() const { return FDepth; }
  void SetDepth(Integer V) { FDepth = V; }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment V) { FAlignment = V; }

 protected:
  String FCaption;
  std::unique_ptr<TFont> FFont;
  Integer FOffsetY = 6;
  TDirection FDirection = dDownToUp;
  TColor FShadowColor = clNone, FHighlightColor = clNone;
  Integer FDepth = 1;
  TAlignment FAlignment = taLeftJustify;
  TMenu* FMenu;
};

// The bar along one edge of popup windows, with its caption.
class TSideBar : public TBarCaption {
 public:
  explicit TSideBar(TMenu* AMenu);
  ~TSideBar() override;
  void Assign(TPersistent* Source) override;
  bool Visible() const { return FVisible; }
  // Rebuilds a main menu whose window exists.
  void SetVisible(bool Value);
  TSideBarVisibleIn VisibleIn() const { return FVisibleIn; }
  void SetVisibleIn(TSideBarVisibleIn V) { FVisibleIn = V; }
  TBackground* Image() const { return FImage.get(); }
  void SetImage(TBackground* Value);
  TBackground* Background() const { return FBackground.get(); }
  void SetBackground(TBackground* Value);
  TSideBarPosition Position() const { return FPosition; }
  Integer Size() const { return FSize; }
  void SetSize(Integer V) { FSize = V; }
  TColor SplitterColor() const { return FSplitterColor; }
  void SetSplitterColor(TColor V) { FSplitterColor = V; }
  TColor SplitterColorTo() const { return FSplitterColorTo; }
  void SetSplitterColorTo(TColor V) { FSplitterColorTo = V; }
  Integer SplitterWidth() const { return FSplitterWidth; }
  void SetSplitterWidth(Integer V) { FSplitterWidth = V; }
  Integer SplitterMargin() const { return FSplitterMargin; }
  void SetSplitterMargin(Integer V) { FSplitterMargin = V; }
  Integer SplitterGradientWidth() const { return FSplitterGradientWidth; }
  void SetSplitterGradientWidth(Integer V) { FSplitterGradientWidth = V; }
  TGradientType SplitterGradientType() const { return FSplitterGradientType; }
  void SetSplitterGradientType(TGradientType V) { FSplitterGradientType = V; }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor V) { FBorderColor = V; }

 private:
  bool FVisible = false;
  std::unique_ptr<TBackground> FBackground, FImage;
  Integer FSplitterWidth = 1;
  TSideBarPosition FPosition = spLeft;
  Integer FSize = 24, FSplitterMargin = 0, FSplitterGradientWidth = 0;
  TGradientType FSplitterGradientType = gtBoth;
  TColor FBorderColor = 0x00A19D9D, FSplitterColor = 0x00808080, FSplitterColorTo = clNone;
  TSideBarVisibleIn FVisibleIn = viFirstVisible;
};

// The sub-menu arrow, check mark and radio dot bitmaps.
class TMenuGlyphs : public TPersistent {
 public:
  explicit TMenuGlyphs(TMenu* AMenu);
  ~TMenuGlyphs() override;
  // From a TMenuGlyphs: the three bitmaps; other sources are ignored.
  void Assign(TPersistent* Source) override;
  TMenu* Menu() const { return FMenu; }
  void SetMenu(TMenu* Value) { FMenu = Value; }
  TBitmap* SubMenu() const { return FSubMenu.get(); }
  void SetSubMenu(TBitmap* Value);
  TBitmap* Check() const { return FCheck.get(); }
  void SetCheck(TBitmap* Value);
  TBitmap* Radio() const { return FRadio.get(); }
  void SetRadio(TBitmap* Value);
  TResType ResType() const { return FResType; }
  // Loads the glyphs of the scale's resolution class (below 1.5, below 2.0,
  // from 2.0) unless that class is loaded already.
  void UpdateResources(float DPIScale);

 private:
  void SetGlyph(std::unique_ptr<TBitmap>& Held, TBitmap* Value);
  std::unique_ptr<TBitmap> FSubMenu, FCheck, FRadio;
  TMenu* FMenu;
  TResType FResType = rtundefined;
};

// Loads the program's glyph bitmap of that name ("ADVCHECKITEM", "ADVCHECKITEMx15", ...)
// into Bitmap; an unknown name leaves Bitmap empty.
void LoadMenuGlyphResource(const String& Name, TBitmap* Bitmap);

// Button colours and a caption font that the presets fill; the menus do not paint with them.
class TButtonAppearance : public TPersistent {
 public:
  TButtonAppearance();
  ~TButtonAppearance() override;
  // From a TButtonAppearance: the ten colours and the direction, without OnChange.
  void Assign(TPersistent* Source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor V) { SetValue(FColor, V); }
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor V) { SetValue(FColorTo, V); }
  TColor HoverColor() const { return FHoverColor; }
  void SetHoverColor(TColor V) { SetValue(FHoverColor, V); }
  TColor HoverColorTo() const { return FHoverColorTo; }
  void SetHoverColorTo(TColor V) { SetValue(FHoverColorTo, V); }
  TColor DownColor() const { return FDownColor; }
  void SetDownColor(TColor V) { SetValue(FDownColor, V); }
  TColor DownColorTo() const { return FDownColorTo; }
  void SetDownColorTo(TColor V) { SetValue(FDownColorTo, V); }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor V) { SetValue(FBorderColor, V); }
  TColor HoverBorderColor() const { return FHoverBorderColor; }
  void SetHoverBorderColor(TColor V) { SetValue(FHoverBorderColor, V); }
  TColor DownBorderColor() const { return FDownBorderColor; }
  void SetDownBorderColor(TColor V) { SetValue(FDownBorderColor, V); }
  TGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(TGradientDirection V);
  TFont* CaptionFont() const { return FCaptionFont.get(); }
  void SetCaptionFont(TFont* Value);
  TGlyphPosition GlyphPosition() const { return FGlyphPosition; }
  bool UseSystemFont() const { return FUseSystemFont; }
  void SetUseSystemFont(bool Value);
  TNotifyEvent OnChange;

 private:
  void SetValue(TColor& Field, TColor Value);
  void Changed();
  TColor FHoverColor = 0x00D2BDB6, FColorTo = clNone, FColor = clNone, FHoverColorTo = clNone, FDownColorTo = clNone,
         FDownColor = 0x00B59285, FDownBorderColor = 0x006A240A, FBorderColor = clNone,
         FHoverBorderColor = 0x006A240A;
  TGradientDirection FGradientDirection = gdVertical;
  std::unique_ptr<TFont> FCaptionFont;
  TGlyphPosition FGlyphPosition = gpLeft;
  bool FUseSystemFont = true;
};

// The complete look of an owner-drawn menu.
class TCustomAdvMenuStyler : public TComponent {
 public:
  explicit TCustomAdvMenuStyler(TComponent* AOwner);
  ~TCustomAdvMenuStyler() override;
  // From a TCustomAdvMenuStyler: the appearance objects, fonts and
  // UseSystemFont; MenuBorderColor, AntiAlias and ButtonAppearance stay. Other sources: ignored.
  void Assign(TPersistent* Source) override;
  void Loaded() override;

  TMenu* Menu() const { return FMenu; }
  // Hands the menu to the appearance objects and repaints it; nullptr detaches.
  void SetMenu(TMenu* Value);

  TAntiAlias AntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(TAntiAlias Value);
  TBackground* Background() const { return FBackground.get(); }
  void SetBackground(TBackground* Value);
  TIconBar* IconBar() const { return FIconBar.get(); }
  void SetIconBar(TIconBar* Value);
  TSelectedItem* SelectedItem() const { return FSelectedItem.get(); }
  void SetSelectedItem(TSelectedItem* Value);
  TRootItem* RootItem() const { return FRootItem.get(); }
  void SetRootItem(TRootItem* Value);
  TMenuGlyphs* Glyphs() const { return FGlyphs.get(); }
  void SetGlyphs(TMenuGlyphs* Value);
  TSideBar* SideBar() const { return FSideBar.get(); }
  void SetSideBar(TSideBar* Value);
  TSeparator* Separator() const { return FSeparator.get(); }
  void SetSeparator(TSeparator* Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  TFont* NotesFont() const { return FNotesFont.get(); }
  void SetNotesFont(TFont* Value);
  bool UseSystemFont() const { return FUseSystemFont; }
  void SetUseSystemFont(bool Value);
  TColor MenuBorderColor() const { return FMenuBorderColor; }
  void SetMenuBorderColor(TColor Value) { FMenuBorderColor = Value; }
  TButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
  void SetButtonAppearance(TButtonAppearance* Value) { FButtonAppearance->Assign(Value); }
  bool MenuBarUpdating() const { return FMenuBarUpdating; }
  // The rendered popup background, re-rendered by the engine when the popup's size changes.
  TBitmap* BackgroundBitmap() const { return FBackgroundBitmap.get(); }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Notify(bool Rebuild) const { NotifyMenuChanged(FMenu, Rebuild); }

  bool FUseSystemFont = true;
  std::unique_ptr<TSeparator> FSeparator;
  std::unique_ptr<TBackground> FBackground;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TIconBar> FIconBar;
  std::unique_ptr<TMenuGlyphs> FGlyphs;
  std::unique_ptr<TRootItem> FRootItem;
  std::unique_ptr<TSelectedItem> FSelectedItem;
  std::unique_ptr<TSideBar> FSideBar;
  TColor FMenuBorderColor = 0x007C7C94;
  bool FMenuBarUpdating = false;
  TMenu* FMenu = nullptr;
  std::unique_ptr<TBitmap> FBackgroundBitmap;
  std::unique_ptr<TFont> FNotesFont;
  TAntiAlias FAntiAlias = aaNone;
  std::unique_ptr<TButtonAppearance> FButtonAppearance;
};

// The styler forms place: publishes the properties.
class TAdvMenuStyler : public TCustomAdvMenuStyler {
 public:
  using TCustomAdvMenuStyler::TCustomAdvMenuStyler;
};

