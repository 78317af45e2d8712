#include "menus/AdvMenuStyler.h"

#include <algorithm>

#include "foundation/style/VornStyle.h"
#include "menus/MenuQueries.h"
#include "platform/rtl/Format.h"
#include "platform/vcl/Forms.h"

namespace {

[[noreturn]] void StylerBadIndex(Integer Index) {
  throw EInvalidPropertyIndex(Format(u"Invalid property index %d.", {Index}));
}

// A copy of the screen's menu font (the layer's default font without a screen).
std::unique_ptr<TFont> StylerMenuFont() {
  auto f = std::make_unique<TFont>();
  if (Screen != nullptr && Screen->MenuFont() != nullptr) f->Assign(Screen->MenuFont());
  return f;
}

std::unique_ptr<TFont> StylerItemFont() {
  auto f = StylerMenuFont();
  f->SetHeight(-12);
  return f;
}

std::unique_ptr<TFont> StylerNotesFont(TColor Color) {
  auto f = StylerMenuFont();
  f->SetSize(f->Size() - 2);
  f->SetColor(Color);
  return f;
}

TColor& StylerPairField(TColor& A, TColor& B, Integer Index) {
  if (Index == 0) return A;
  if (Index == 1) return B;
  StylerBadIndex(Index);
}

}  // namespace

// ---------------------------------------------------------------------------
// TGradientBar

TGradientBar::TGradientBar(TMenu* AMenu) : FMenu(AMenu) {}

void TGradientBar::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TGradientBar*>(Source)) {
    SetColor(0, s->FColor);
    SetColor(1, s->FColorTo);
    FGradientDirection = s->FGradientDirection;
    return;
  }
  TPersistent::Assign(Source);
}

TColor TGradientBar::GetColor(Integer Index) const {
  return StylerPairField(const_cast<TColor&>(FColor), const_cast<TColor&>(FColorTo), Index);
}

void TGradientBar::SetColor(Integer Index, TColor Value) { StylerPairField(FColor, FColorTo, Index) = Value; }

// ---------------------------------------------------------------------------
// TIconBar

TIconBar::TIconBar(TMenu* AMenu) : TGradientBar(AMenu) {
  FColor = 0x00FFF9F9;
  FColorTo = 0x00BBA0A1;
  FGradientDirection = gdHorizontal;
}

void TIconBar::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TIconBar*>(Source)) {
    SetCheckColor(0, s->FCR.CheckColor);
    SetCheckColor(1, s->FCR.CheckColorTo);
    FCR.CheckBorder = s->FCR.CheckBorder;
    FCR.CheckGradientDirection = s->FCR.CheckGradientDirection;
    SetRadioColor(0, s->FCR.RadioColor);
    SetRadioColor(1, s->FCR.RadioColorTo);
    FCR.RadioBorder = s->FCR.RadioBorder;
    FCR.RadioGradientDirection = s->FCR.RadioGradientDirection;
    SetSize(s->FSize);
    FSeparatorColor = s->FSeparatorColor;
    // The base copy (colours and direction) comes with it; the source is a bar too.
  }
  TGradientBar::Assign(Source);
}

TColor TIconBar::GetCheckColor(Integer Index) const {
  return StylerPairField(const_cast<TColor&>(FCR.CheckColor), const_cast<TColor&>(FCR.CheckColorTo), Index);
}
void TIconBar::SetCheckColor(Integer Index, TColor Value) {
  StylerPairField(FCR.CheckColor, FCR.CheckColorTo, Index) = Value;
  Notify(false);
}
TColor TIconBar::GetRadioColor(Integer Index) const {
  return StylerPairField(const_cast<TColor&>(FCR.RadioColor), const_cast<TColor&>(FCR.RadioColorTo), Index);
}
void TIconBar::SetRadioColor(Integer Index, TColor Value) {
  StylerPairField(FCR.RadioColor, FCR.RadioColorTo, Index) = Value;
  Notify(false);
}

void TIconBar::SetSize(Integer Value) {
  FSize = std::max(Value, 16);
  Notify(true);
}

// ---------------------------------------------------------------------------
// TSelectedItem

TSelectedItem::TSelectedItem(TMenu* AMenu) : TGradientBar(AMenu) {
  FColor = 0x00C2EEFF;
  FColorTo = clNone;
  FFont = StylerItemFont();
  FFont->SetColor(clWindowText);
  FNotesFont = StylerNotesFont(clWindowText);
}

TSelectedItem::~TSelectedItem() = default;

void TSelectedItem::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TSelectedItem*>(Source)) {
    FColorMirror = s->FColorMirror;
    FColorMirrorTo = s->FColorMirrorTo;
    FBorderColor = s->FBorderColor;
    FFont->Assign(s->FFont.get());
    SetUseSystemFont(s->FUseSystemFont);
    SetCheckColor(0, s->FCR.CheckColor);
    SetCheckColor(1, s->FCR.CheckColorTo);
    FCR.CheckGradientDirection = s->FCR.CheckGradientDirection;
    SetRadioColor(0, s->FCR.RadioColor);
    SetRadioColor(1, s->FCR.RadioColorTo);
    FCR.RadioBorder = s->FCR.RadioBorder;
    FCR.RadioGradientDirection = s->FCR.RadioGradientDirection;
  }
  TGradientBar::Assign(Source);
}

TColor TSelectedItem::GetCheckColor(Integer Index) const {
  return StylerPairField(const_cast<TColor&>(FCR.CheckColor), const_cast<TColor&>(FCR.CheckColorTo), Index);
}
void TSelectedItem::SetCheckColor(Integer Index, TColor Value) {
  StylerPairField(FCR.CheckColor, FCR.CheckColorTo, Index) = Value;
  Notify(false);
}
TColor TSelectedItem::GetRadioColor(Integer Index) const {
  return StylerPairField(const_cast<TColor&>(FCR.RadioColor), const_cast<TColor&>(FCR.RadioColorTo), Index);
}
void TSelectedItem::SetRadioColor(Integer Index, TColor Value) {
  StylerPairField(FCR.RadioColor, FCR.RadioColorTo, Index) = Value;
  Notify(false);
}

void TSelectedItem::SetFont(TFont* Value) {
  FFont->Assign(Value);
  Notify(true);
}
void TSelectedItem::SetNotesFont(TFont* Value) {
  FNotesFont->Assign(Value);
  Notify(true);
}
void TSelectedItem::SetUseSystemFont(bool Value) {
  FUseSystemFont = Value;
  Notify(true);
}

// ---------------------------------------------------------------------------
// TRootItem

TRootItem::TRootItem(TMenu* AMenu) : TGradientBar(AMenu) {
  FColor = 0x00E5D7D7;
  FColorTo = 0x00F7F2F2;
  FGradientDirection = gdHorizontal;
  FFont = StylerItemFont();
}

TRootItem::~TRootItem() = default;

void TRootItem::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TRootItem*>(Source)) {
    FFont->Assign(s->FFont.get());
    SetUseSystemFont(s->FUseSystemFont);
    SetSelectedColor(0, s->FSelected[0]);
    SetSelectedColor(1, s->FSelected[1]);
    FSelectedGradientDirection = s->FSelectedGradientDirection;
    FSelectedBorderColor = s->FSelectedBorderColor;
    FSelectedTextColor = s->FSelectedTextColor;
    SetHoverColor(0, s->FHover[0]);
    SetHoverColor(1, s->FHover[1]);
    FHoverGradientDirection = s->FHoverGradientDirection;
    FHoverBorderColor = s->FHoverBorderColor;
    FHoverTextColor = s->FHoverTextColor;
    SetSelectedColor(2, s->FSelected[2]);
    SetSelectedColor(3, s->FSelected[3]);
    // The hover mirror colours are not copied, as before.
  }
  TGradientBar::Assign(Source);
}

TColor TRootItem::GetSelectedColor(Integer Index) const {
  if (Index < 0 || Index > 3) StylerBadIndex(Index);
  return FSelected[Index];
}
void TRootItem::SetSelectedColor(Integer Index, TColor Value) {
  if (Index < 0 || Index > 3) StylerBadIndex(Index);
  FSelected[Index] = Value;
  Notify(true);
}
TColor TRootItem::GetHoverColor(Integer Index) const {
  if (Index < 0 || Index > 3) StylerBadIndex(Index);
  return FHover[Index];
}
void TRootItem::SetHoverColor(Integer Index, TColor Value) {
  if (Index < 0 || Index > 3) StylerBadIndex(Index);
  FHover[Index] = Value;
  Notify(true);
}

void TRootItem::SetFont(TFont* Value) {
  FFont->Assign(Value);
  Notify(true);
}
void TRootItem::SetUseSystemFont(bool Value) {
  FUseSystemFont = Value;
  Notify(true);
}
void TRootItem::UpdateFont() {
  if (!FUseSystemFont) return;
  if (Screen != nullptr && Screen->MenuFont() != nullptr) FFont->Assign(Screen->MenuFont());
}

// ---------------------------------------------------------------------------
// TBackground

TBackground::TBackground(TMenu* AMenu) : TGradientBar(AMenu) {
  FColor = 0x00FFFAFD;
  FColorTo = clNone;
}

TBackground::~TBackground() = default;

void TBackground::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TBackground*>(Source)) {
    SetImage(s->FImage.get());
    FOffsetX = s->FOffsetX;
    FOffsetY = s->FOffsetY;
    FPosition = s->FPosition;
    SetColor(0, s->FColor);
    SetColor(1, s->FColorTo);
    return;
  }
  TGradientBar::Assign(Source);
}

TPicture* TBackground::Image() {
  if (!FImage) FImage = std::make_unique<TPicture>();
  if (auto* b = dynamic_cast<TBitmap*>(FImage->Graphic())) {
    b->SetTransparent(true);
    b->SetTransparentMode(tmAuto);
  }
  return FImage.get();
}

void TBackground::SetImage(TPicture* Value) {
  if (Value != nullptr) {
    Image()->Assign(Value);
  } else if (FImage) {
    FImage->SetGraphic(nullptr);
    FImage.reset();
  }
  Notify(false);
}

bool TBackground::HasPicture() const {
  return FImage && FImage->Graphic() != nullptr && !FImage->Graphic()->Empty();
}

void TBackground::CalcPicturePosition(const TRect& ARect, Integer& X, Integer& Y) const {
  X = ARect.Left;
  Y = ARect.Top;
  if (!HasPicture()) return;
  const Integer w = ARect.Width(), h = ARect.Height();
  const Integer pw = FImage->Width(), ph = FImage->Height();
  switch (FPosition) {
    case bpTopLeft:
    case bpBottomLeft: X = ARect.Left + FOffsetX; break;
    case bpTopRight:
    case bpBottomRight: X = ARect.Left + w - pw + FOffsetX; break;
    case bpTopCenter:
    case bpBottomCenter:
    case bpCenter: X = ARect.Left + (w - pw) / 2 + FOffsetX; break;
    default: break;
  }
  switch (FPosition) {
    case bpTopLeft:
    case bpTopRight:
    case bpTopCenter: Y = ARect.Top + FOffsetY; break;
    case bpBottomLeft:
    case bpBottomRight:
    case bpBottomCenter: Y = ARect.Top + h - ph + FOffsetY; break;
    case bpCenter: Y = ARect.Top + (h - ph) / 2 + FOffsetY; break;
    default: break;
  }
}

TBitmap* TBackground::WorkBitmap() {
  if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
  return FBitmap.get();
}

// ---------------------------------------------------------------------------
// TSeparator

TSeparator::TSeparator(TMenu* AMenu) : TGradientBar(AMenu) {
  FColor = 0x008F6D6E;
  FColorTo = clNone;
  FGradientDirection = gdHorizontal;
}

void TSeparator::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TSeparator*>(Source)) {
    FWidth = s->FWidth;
    FGradientType = s->FGradientType;
    FGradientWidth = s->FGradientWidth;
    FMargin = s->FMargin;
  }
  TGradientBar::Assign(Source);
}

// ---------------------------------------------------------------------------
// TBarCaption, TSideBar

TBarCaption::TBarCaption(TMenu* AMenu) : FFont(std::make_unique<TFont>()), FMenu(AMenu) {
  FFont->SetName(u"Tahoma");
  FFont->SetSize(14);
  FFont->SetColor(0x00FFFFFF);
  FFont->SetStyle(TFontStyles{fsBold, fsItalic});
}

TBarCaption::~TBarCaption() = default;

void TBarCaption::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TBarCaption*>(Source)) {
    FOffsetY = s->FOffsetY;
    FAlignment = s->FAlignment;
    FCaption = s->FCaption;
    FFont->Assign(s->FFont.get());
    FShadowColor = s->FShadowColor;
    FHighlightColor = s->FHighlightColor;
    FDepth = s->FDepth;
    FDirection = s->FDirection;
    return;
  }
  TPersistent::Assign(Source);
}

// The two pictures keep no menu: their changes reach the menu through the side bar.
TSideBar::TSideBar(TMenu* AMenu)
    : TBarCaption(AMenu), FBackground(std::make_unique<TBackground>(nullptr)),
      FImage(std::make_unique<TBackground>(nullptr)) {}

TSideBar::~TSideBar() = default;

void TSideBar::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TSideBar*>(Source)) {
    SetVisible(s->FVisible);
    FImage->Assign(s->FImage.get());
    FBackground->Assign(s->FBackground.get());
    FPosition = s->FPosition;
    FSize = s->FSize;
    FSplitterWidth = s->FSplitterWidth;
    FSplitterMargin = s->FSplitterMargin;
    FSplitterGradientWidth = s->FSplitterGradientWidth;
    FSplitterGradientType = s->FSplitterGradientType;
    FBorderColor = s->FBorderColor;
  }
  TBarCaption::Assign(Source);
}

void TSideBar::SetVisible(bool Value) {
  FVisible = Value;
  if (dynamic_cast<TMainMenu*>(FMenu) != nullptr && FMenu->WindowHandle() != nullptr) NotifyMenuChanged(FMenu, true);
}

void TSideBar::SetImage(TBackground* Value) {
  FImage->Assign(Value);
  NotifyMenuChanged(FMenu, true);
}

void TSideBar::SetBackground(TBackground* Value) {
  FBackground->Assign(Value);
  if (auto* b = dynamic_cast<TBitmap*>(FBackground->Image()->Graphic())) {
    (void)b;
    FBackground->WorkBitmap()->SetTransparent(true);
  }
  NotifyMenuChanged(FMenu, true);
}

// ---------------------------------------------------------------------------
// TMenuGlyphs

TMenuGlyphs::TMenuGlyphs(TMenu* AMenu)
    : FSubMenu(std::make_unique<TBitmap>()), FCheck(std::make_unique<TBitmap>()), FRadio(std::make_unique<TBitmap>()),
      FMenu(AMenu) {
  FResType = rtundefined;
  UpdateResources(1.0f);
}

TMenuGlyphs::~TMenuGlyphs() = default;

void TMenuGlyphs::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TMenuGlyphs*>(Source)) {
    FSubMenu->Assign(s->FSubMenu.get());
    FCheck->Assign(s->FCheck.get());
    FRadio->Assign(s->FRadio.get());
  }
}

void TMenuGlyphs::SetGlyph(std::unique_ptr<TBitmap>& Held, TBitmap* Value) {
  Held->Assign(Value);
  Held->SetTransparent(true);
  NotifyMenuChanged(FMenu, false);
}

void TMenuGlyphs::SetSubMenu(TBitmap* Value) { SetGlyph(FSubMenu, Value); }
void TMenuGlyphs::SetCheck(TBitmap* Value) { SetGlyph(FCheck, Value); }
void TMenuGlyphs::SetRadio(TBitmap* Value) { SetGlyph(FRadio, Value); }

void TMenuGlyphs::UpdateResources(float DPIScale) {
  const TResType res = DPIScale < 1.5f ? rtx1 : DPIScale < 2.0f ? rtx15 : rtx2;
  // User bitmaps survive as long as the resolution class does not change.
  if (res == FResType && FSubMenu && !FSubMenu->Empty()) return;
  FResType = res;
  const String suffix = res == rtx15 ? u"x15" : res == rtx2 ? u"x20" : u"";
  std::unique_ptr<TBitmap>* held[] = {&FSubMenu, &FCheck, &FRadio};
  const Char* names[] = {u"ADVSUBMENUITEM", u"ADVCHECKITEM", u"ADVRADIOITEM"};
  for (int i = 0; i < 3; ++i) {
    auto b = std::make_unique<TBitmap>();
    LoadMenuGlyphResource(String(names[i]) + suffix, b.get());
    b->SetTransparent(true);
    *held[i] = std::move(b);
  }
}

// ---------------------------------------------------------------------------
// TButtonAppearance

TButtonAppearance::TButtonAppearance() : FCaptionFont(std::make_unique<TFont>()) {
  FCaptionFont->SetName(GetDefaultFontName());
}

TButtonAppearance::~TButtonAppearance() = default;

void TButtonAppearance::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TButtonAppearance*>(Source)) {
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FHoverColor = s->FHoverColor;
    FHoverColorTo = s->FHoverColorTo;
    FDownColor = s->FDownColor;
    FDownColorTo = s->FDownColorTo;
    FGradientDirection = s->FGradientDirection;
    FBorderColor = s->FBorderColor;
    FHoverBorderColor = s->FHoverBorderColor;
    FDownBorderColor = s->FDownBorderColor;
    return;
  }
  TPersistent::Assign(Source);
}

void TButtonAppearance::Changed() {
  if (OnChange) OnChange(this);
}

void TButtonAppearance::SetValue(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TButtonAppearance::SetGradientDirection(TGradientDirection V) {
  if (FGradientDirection == V) return;
  FGradientDirection = V;
  Changed();
}

void TButtonAppearance::SetCaptionFont(TFont* Value) {
  FCaptionFont->Assign(Value);
  Changed();
}

void TButtonAppearance::SetUseSystemFont(bool Value) {
  if (FUseSystemFont == Value) return;
  FUseSystemFont = Value;
  if (Value) FCaptionFont->SetName(GetDefaultFontName());
}

// ---------------------------------------------------------------------------
// TCustomAdvMenuStyler

TCustomAdvMenuStyler::TCustomAdvMenuStyler(TComponent* AOwner) : TComponent(AOwner) {
  FSideBar = std::make_unique<TSideBar>(nullptr);
  FBackground = std::make_unique<TBackground>(nullptr);
  FIconBar = std::make_unique<TIconBar>(nullptr);
  FSelectedItem = std::make_unique<TSelectedItem>(nullptr);
  FRootItem = std::make_unique<TRootItem>(nullptr);
  FGlyphs = std::make_unique<TMenuGlyphs>(nullptr);
  FSeparator = std::make_unique<TSeparator>(nullptr);
  FFont = StylerItemFont();
  FUseSystemFont = true;
  FMenuBorderColor = 0x007C7C94;
  FMenu = nullptr;
  FBackgroundBitmap = std::make_unique<TBitmap>();
  FNotesFont = StylerNotesFont(0x00808080);
  FButtonAppearance = std::make_unique<TButtonAppearance>();
}

TCustomAdvMenuStyler::~TCustomAdvMenuStyler() = default;

void TCustomAdvMenuStyler::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TCustomAdvMenuStyler*>(Source);
  if (s == nullptr) return;
  FBackground->Assign(s->FBackground.get());
  FIconBar->Assign(s->FIconBar.get());
  FSelectedItem->Assign(s->FSelectedItem.get());
  FRootItem->Assign(s->FRootItem.get());
  FGlyphs->Assign(s->FGlyphs.get());
  FSideBar->Assign(s->FSideBar.get());
  FSeparator->Assign(s->FSeparator.get());
  FFont->Assign(s->FFont.get());
  FNotesFont->Assign(s->FNotesFont.get());
  FUseSystemFont = s->FUseSystemFont;
}

void TCustomAdvMenuStyler::Loaded() { TComponent::Loaded(); }

void TCustomAdvMenuStyler::SetMenu(TMenu* Value) {
  if (FMenu != nullptr && FMenu != Value) FMenu->RemoveFreeNotification(this);
  FMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  FBackground->SetMenu(Value);
  FIconBar->SetMenu(Value);
  FSelectedItem->SetMenu(Value);
  FRootItem->SetMenu(Value);
  FGlyphs->SetMenu(Value);
  FSideBar->SetMenu(Value);
  FSeparator->SetMenu(Value);
  Notify(false);
}

void TCustomAdvMenuStyler::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent != nullptr && AComponent == FMenu) SetMenu(nullptr);
}

void TCustomAdvMenuStyler::SetAntiAlias(TAntiAlias Value) {
  FAntiAlias = Value;
  Notify(true);
}
void TCustomAdvMenuStyler::SetBackground(TBackground* Value) {
  FBackground->Assign(Value);
  Notify(false);
}
void TCustomAdvMenuStyler::SetIconBar(TIconBar* Value) {
  FIconBar->Assign(Value);
  Notify(false);
}
void TCustomAdvMenuStyler::SetSelectedItem(TSelectedItem* Value) {
  FSelectedItem->Assign(Value);
  Notify(false);
}
void TCustomAdvMenuStyler::SetRootItem(TRootItem* Value) {
  FRootItem->Assign(Value);
  Notify(false);
}
void TCustomAdvMenuStyler::SetGlyphs(TMenuGlyphs* Value) {
  FGlyphs->Assign(Value);
  Notify(false);
}
void TCustomAdvMenuStyler::SetSideBar(TSideBar* Value) {
  FSideBar->Assign(Value);
  Notify(true);
}
void TCustomAdvMenuStyler::SetSeparator(TSeparator* Value) {
  FSeparator->Assign(Value);
  Notify(false);
}
void TCustomAdvMenuStyler::SetFont(TFont* Value) {
  FFont->Assign(Value);
  Notify(true);
}
void TCustomAdvMenuStyler::SetNotesFont(TFont* Value) {
  FNotesFont->Assign(Value);
  Notify(true);
}
void TCustomAdvMenuStyler::SetUseSystemFont(bool Value) {
  FUseSystemFont = Value;
  Notify(true);
}
