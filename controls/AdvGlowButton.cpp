// The glow button: state, painting pipeline, input, animation and key tips.
#include "controls/AdvGlowButton.h"

#include <algorithm>

#include "platform/rtl/DestroyWatch.h"
#include "platform/rtl/Math.h"
#include "platform/vcl/Bitmap.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"

namespace {

// Posted to the button while its drop-up menu shows: the menu is moved to
// end at the button's top edge once its window exists.
constexpr UINT GLOW_PLACE_DROPUP = WM_USER + 0x70;

Integer GlowBtnRound(double v) { return Integer(Round(v)); }

}  // namespace

bool GlowIsClass(const TObject* Object, StringView Name) {
  if (Object == nullptr) return false;
  for (const TClassInfo* c = Object->ClassType(); c != nullptr; c = c->ClassParent())
    if (SameText(c->ClassName(), Name)) return true;
  return false;
}

TAdvCustomGlowButton::TAdvCustomGlowButton(TComponent* AOwner) : TCustomControl(AOwner) {
  TControlStyle cs = ControlStyle();
  cs.Exclude(csDoubleClicks);
  SetControlStyle(cs);
  Font()->SetHeight(-11);
  SetDoubleBuffered(true);
  SetBounds(Left(), Top(), 100, 41);
  FPicture = std::make_unique<TGDIPPicture>();
  FIcon = std::make_unique<TIcon>();
  FDisabledPicture = std::make_unique<TGDIPPicture>();
  FHotPicture = std::make_unique<TGDIPPicture>();
  FDownPicture = std::make_unique<TGDIPPicture>();
  FPicture->OnChange = [this](TObject*) { UpdateAutoSize(); };
  FDisabledPicture->OnChange = [this](TObject*) { UpdateAutoSize(); };
  FAppearance = std::make_unique<TGlowButtonAppearance>();
  FAppearance->OnChange = [this](TObject* s) { AppearanceChanged(s); };
  FOfficeHint = std::make_unique<TAdvHintInfo>();
  FNotes = std::make_unique<TStringList>();
  FNotes->OnChange = [this](TObject*) {
    if (AutoSize()) {
      UpdateAutoSize();
      Invalidate();
    }
  };
  FNotesFont = std::make_unique<TFont>();
  FNotesFont->SetName(u"Tahoma");
  FNotesFont->SetSize(8);
  FImageChangeLink = std::make_unique<TChangeLink>();
  FImageChangeLink->OnChange = [this](TObject*) { if (HandleAllocated()) Invalidate(); };
  FDisabledImageChangeLink = std::make_unique<TChangeLink>();
  FDisabledImageChangeLink->OnChange = [this](TObject*) { Invalidate(); };
  FHotImageChangeLink = std::make_unique<TChangeLink>();
  FHotImageChangeLink->OnChange = [this](TObject*) { Invalidate(); };
}

TAdvCustomGlowButton::~TAdvCustomGlowButton() {
  // No leave notification from here: the events would reach a half-gone
  // button (and owners that are already going).
  FTimer.reset();
  FRepeatTimer.reset();
  if (FImages != nullptr) FImages->UnRegisterChanges(FImageChangeLink.get());
  if (FDisabledImages != nullptr) FDisabledImages->UnRegisterChanges(FDisabledImageChangeLink.get());
  if (FHotImages != nullptr) FHotImages->UnRegisterChanges(FHotImageChangeLink.get());
  FShortCutHint.reset();
  FActionLink.reset();
}

Integer TAdvCustomGlowButton::GetVersionNr() const { return (2 << 24) | (7 << 16) | (3 << 8) | 4; }

String TAdvCustomGlowButton::Version() const {
  const Integer v = GetVersionNr();
  return IntToStr((v >> 24) & 0xFF) + u"." + IntToStr((v >> 16) & 0xFF) + u"." + IntToStr((v >> 8) & 0xFF) + u"." +
         IntToStr(v & 0xFF);
}

bool TAdvCustomGlowButton::ShowFocus() {
  return FHasFocus && (FFocusType == ftBorder || FFocusType == ftHotBorder);
}

Integer TAdvCustomGlowButton::GetScaledDropDownWidth() {
  return GlowBtnRound(FDropDownWidth * GetCanvasDPIScale(HandleAllocated() ? Canvas() : nullptr, nullptr));
}

void TAdvCustomGlowButton::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TAdvCustomGlowButton*>(Source);
  if (s == nullptr) return;
  SetAlign(s->Align());
  SetAnchors(s->Anchors());
  FAntiAlias = s->FAntiAlias;
  SetAutoSize(s->AutoSize());
  FBorderStyle = s->FBorderStyle;
  FCancel = s->FCancel;
  SetCaption(s->Caption());
  Constraints()->Assign(s->Constraints());
  SetDefault(s->FDefault);
  Font()->Assign(s->Font());
  FImageIndex = s->FImageIndex;
  SetImages(s->FImages);
  SetDisabledImages(s->FDisabledImages);
  FDisabledPicture->Assign(s->FDisabledPicture.get());
  FFocusType = s->FFocusType;
  SetHotImages(s->FHotImages);
  FHotPicture->Assign(s->FHotPicture.get());
  FDownPicture->Assign(s->FDownPicture.get());
  FMarginVert = s->FMarginVert;
  FMarginHorz = s->FMarginHorz;
  FModalResult = s->FModalResult;
  FNotes->Assign(s->FNotes.get());
  FNotesFont->Assign(s->FNotesFont.get());
  FOfficeHint->Assign(s->FOfficeHint.get());
  SetParentFont(s->ParentFont());
  FPicture->Assign(s->FPicture.get());
  SetPopupMenu(s->PopupMenu());
  FPosition = s->FPosition;
  FInitRepeatPause = s->FInitRepeatPause;
  FRepeatPause = s->FRepeatPause;
  FRepeatClick = s->FRepeatClick;
  FRounded = s->FRounded;
  FShortCutHintText = s->FShortCutHintText;
  FShortCutHintPos = s->FShortCutHintPos;
  FShowCaption = s->FShowCaption;
  FShowDisabled = s->FShowDisabled;
  FSpacing = s->FSpacing;
  FTransparent = s->FTransparent;
  FTrimming = s->FTrimming;
  FWordWrap = s->FWordWrap;
  SetShowHint(s->ShowHint());
  SetParentShowHint(s->ParentShowHint());
  SetTabStop(s->TabStop());
  SetVisible(s->Visible());
  SetDown(s->Down());
  Invalidate();
}

void TAdvCustomGlowButton::Loaded() {
  TCustomControl::Loaded();
  FLoadedFlag = true;
  if (FHasInitialDown) SetDown(FInitialDown);
  if (AutoSize()) UpdateAutoSize();
}

void TAdvCustomGlowButton::CreateWnd() {
  TCustomControl::CreateWnd();
  FActive = FDefault;
  FGlowState = gsNone;
  FHot = FMouseEnter = FMouseInControl = FHasMouse = FInButton = false;
  FMouseDown = FLeftDown = FDragging = false;
  if (!FHasInitialDown) {
    FState = absUp;
    FDown = false;
  }
  FFirstPaint = true;
  FStepHover = 0;
  if (MouseCapture()) SetMouseCapture(false);
  StopGlowTimer();
  FUsingStyles = false;  // class-library styles are never active here
}

void TAdvCustomGlowButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  if (FOnInternalClick) FOnInternalClick(this);
  // OnClick, or the linked action when no handler of the button's own is set.
  if (OnClick || !FActionLink || FActionLink->Action() == nullptr)
    TCustomControl::Click();
  else
    FActionLink->Execute();
}

void TAdvCustomGlowButton::SetAction(TBasicAction* Value) {
  if (Value == nullptr) {
    if (FActionLink) FActionLink->SetAction(nullptr);
    FActionLink.reset();
    return;
  }
  if (!FActionLink) {
    FActionLink = std::make_unique<TAdvGlowButtonActionLink>();
    FActionLink->AssignClient(this);
    FActionLink->OnChange = [this](TBasicAction* a) { if (a != nullptr) ActionChange(a, false); };
  }
  FActionLink->SetAction(Value);
  Value->FreeNotification(this);
}

void TAdvCustomGlowButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(Sender);
  if (a == nullptr) return;
  if (CheckDefaults || FGroupIndex == 0) SetGroupIndex(a->GroupIndex());
  if (FActionLink) FActionLink->FImageIndex = a->ImageIndex();
  SetImageIndex(a->ImageIndex());
  SetDown(a->Checked());
  if (AutoSize() && Parent() != nullptr && HandleAllocated()) UpdateAutoSize();
}

void TAdvCustomGlowButton::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  // A list being freed is only forgotten: it is past its own part of the
  // destruction and drops its change links itself.
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FDisabledImages) FDisabledImages = nullptr;
  if (AComponent == FHotImages) FHotImages = nullptr;
  Invalidate();
  if (AComponent == FDropDownMenu) FDropDownMenu = nullptr;
  if (FActionLink && AComponent == FActionLink->Action()) SetAction(nullptr);
}

void TAdvCustomGlowButton::SetAppearance(TGlowButtonAppearance* Value) {
  FAppearance->Assign(Value);
  if (FShortCutHint) {
    FShortCutHint->SetColor(clWhite);
    FShortCutHint->SetColorTo(FAppearance->Color());
  }
}

void TAdvCustomGlowButton::AppearanceChanged(TObject*) {
  Invalidate();
  if (FShortCutHint) {
    FShortCutHint->SetColor(clWhite);
    FShortCutHint->SetColorTo(FAppearance->Color());
  }
}

void TAdvCustomGlowButton::SetAutoSize(bool Value) {
  if (AutoSize() == Value) return;
  TCustomControl::SetAutoSize(Value);
  UpdateAutoSize();
}

namespace {
template <class F>
void GlowRelink(TCustomImageList*& field, TCustomImageList* value, TChangeLink* link, TComponent* self, F after) {
  if (field == value) return;
  if (field != nullptr) field->UnRegisterChanges(link);
  field = value;
  if (field != nullptr) {
    field->RegisterChanges(link);
    field->FreeNotification(self);
  }
  after();
}
}  // namespace

void TAdvCustomGlowButton::SetImages(TCustomImageList* Value) {
  GlowRelink(FImages, Value, FImageChangeLink.get(), this, [this] {
    UpdateAutoSize();
    Invalidate();
  });
}

void TAdvCustomGlowButton::SetDisabledImages(TCustomImageList* Value) {
  GlowRelink(FDisabledImages, Value, FDisabledImageChangeLink.get(), this, [this] { Invalidate(); });
}

void TAdvCustomGlowButton::SetHotImages(TCustomImageList* Value) {
  GlowRelink(FHotImages, Value, FHotImageChangeLink.get(), this, [this] { Invalidate(); });
}

void TAdvCustomGlowButton::SetDropDownMenu(TPopupMenu* Value) {
  FDropDownMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TAdvCustomGlowButton::SetDropDownPosition(TDropDownPosition Value) {
  if (FDropDownPosition == Value) return;
  FDropDownPosition = Value;
  if (FDropDownButton) AdjustSize();
  Invalidate();
}

void TAdvCustomGlowButton::SetMaxButtonSizeState(TButtonSizeState Value) {
  if (FMaxButtonSizeState == Value) return;
  FMaxButtonSizeState = Value;
  SetButtonSizeState(Value);
}

void TAdvCustomGlowButton::SetMinButtonSizeState(TButtonSizeState Value) {
  if (FMinButtonSizeState == Value) return;
  FMinButtonSizeState = Value;
  if (FButtonSizeState < Value) SetButtonSizeState(Value);
}

void TAdvCustomGlowButton::SetWideCaption(const String& Value) {
  if (FWideCaption == Value) return;
  FWideCaption = Value;
  if (AutoSize())
    UpdateAutoSize();
  else
    Invalidate();
}

void TAdvCustomGlowButton::SetDrawSplitLineAlways(bool Value) {
  FDrawSplitLineAlways = Value;
  GlobalDrawSplitLineAlways = Value;
  Invalidate();
}

void TAdvCustomGlowButton::SetDoubleClicks(bool Value) {
  TControlStyle cs = ControlStyle();
  if (Value)
    cs.Exclude(csDoubleClicks);
  else
    cs.Include(csDoubleClicks);
  SetControlStyle(cs);
}

void TAdvCustomGlowButton::UpdateAutoSize() {
  if (!AutoSize()) {
    Invalidate();
    return;
  }
  FDoAutoSize = true;
  Invalidate();
  if (Parent() != nullptr && !ComponentState().Contains(csLoading) && HandleAllocated()) Paint();
  FDoAutoSize = false;
}

void TAdvCustomGlowButton::SetButtonSizeState(TButtonSizeState State) {
  if (State == FButtonSizeState) return;
  if (FButtonSizeState == bsLarge) {
    FOldLayout = FLayout;
    FOldDropDownPosition = FDropDownPosition;
  }
  if (AutoSize()) {
    if (State == bsLarge) {
      FLayout = FOldLayout;
      FDropDownPosition = FOldDropDownPosition;
    } else {
      FLayout = blGlyphLeft;
      FDropDownPosition = dpRight;
    }
  }
  FButtonSizeState = State;
  FFirstPaint = true;
  if (HandleAllocated()) Paint();
}

// --- style and tones ---

void TAdvCustomGlowButton::SetColorTones(const TColorTones& ATones) {
  TGlowButtonAppearance* a = FAppearance.get();
  a->SetColor(ATones.Background.BrushColor);
  a->SetColorTo(clNone);
  a->SetColorMirror(ATones.Background.BrushColor);
  a->SetColorMirrorTo(ATones.Background.BrushColor);
  a->SetBorderColor(ATones.Background.BorderColor);
  a->SetColorHot(ATones.Hover.BrushColor);
  a->SetColorHotTo(ATones.Hover.BrushColor);
  a->SetColorMirrorHot(ATones.Hover.BrushColor);
  a->SetColorMirrorHotTo(ATones.Hover.BrushColor);
  a->SetBorderColorHot(ATones.Hover.BorderColor);
  for (auto set : {&TGlowButtonAppearance::SetColorDown, &TGlowButtonAppearance::SetColorDownTo,
                   &TGlowButtonAppearance::SetColorMirrorDown, &TGlowButtonAppearance::SetColorMirrorDownTo,
                   &TGlowButtonAppearance::SetColorChecked, &TGlowButtonAppearance::SetColorCheckedTo,
                   &TGlowButtonAppearance::SetColorMirrorChecked, &TGlowButtonAppearance::SetColorMirrorCheckedTo})
    (a->*set)(ATones.Selected.BrushColor);
  a->SetBorderColorDown(ATones.Selected.BorderColor);
  a->SetBorderColorChecked(ATones.Selected.BorderColor);
  for (auto set : {&TGlowButtonAppearance::SetColorDisabled, &TGlowButtonAppearance::SetColorDisabledTo,
                   &TGlowButtonAppearance::SetColorMirrorDisabled, &TGlowButtonAppearance::SetColorMirrorDisabledTo})
    (a->*set)(ATones.Background.BrushColor);
  a->SetBorderColorDisabled(ATones.Disabled.TextColor);
  a->SetTextColorHot(ATones.Hover.TextColor);
  a->SetTextColorDown(ATones.Selected.TextColor);
  a->SetTextColorChecked(ATones.Selected.TextColor);
  a->SetTextColor(ATones.Background.TextColor);
  a->SetTextColorDisabled(ATones.Disabled.TextColor == ATones.Disabled.BrushColor ? TColor(0x808080)
                                                                                   : ATones.Disabled.TextColor);
  // The tones are flat: this button's own fade ends here. The process-wide
  // interval is left alone so that other buttons keep animating.
  StopGlowTimer();
  SetRounded(false);
  if (!ParentFont()) {
    if (!FLoadedFlag) Font()->SetHeight(GlowBtnRound(GetControlDPIScale(this, nullptr) * -11));
    Font()->SetColor(ATones.Background.TextColor);
    Font()->SetName(GetDefaultFontName());
  }
  Invalidate();
}

// --- painting ---

void TAdvCustomGlowButton::ChooseGlyph(TCustomImageList*& List, bool& ListEnabled, TGDIPPicture*& Pic,
                                       Integer& Index, bool Measure) {
  const bool enabled = Enabled();
  List = nullptr;
  ListEnabled = enabled;
  if (!enabled && FDisabledImages != nullptr) {
    List = FDisabledImages;
    ListEnabled = true;
  } else if (FHot && FHotImages != nullptr) {
    List = FHotImages;
  } else {
    List = FImages;
  }
  if (List == nullptr) List = FInternalImages.get();
  if (auto* a = FActionLink ? dynamic_cast<TCustomAction*>(FActionLink->Action()) : nullptr) {
    if (a->ImageIndex() >= 0 && a->ActionList() != nullptr && a->ActionList()->Images() != nullptr &&
        (List == nullptr || FImageListType == ipActionList) && (!Measure || a->ImageIndex() == FImageIndex)) {
      List = a->ActionList()->Images();
      Index = a->ImageIndex();
    }
  }
  Pic = FPicture.get();
  if (!enabled && !FDisabledPicture->Empty())
    Pic = FDisabledPicture.get();
  else if (FHot && !FHotPicture->Empty())
    Pic = FHotPicture.get();
  else if (FState == absDown || (FState == absExclusive && FDownChecked && FGroupIndex >= 1))
    Pic = FDownPicture->Empty() ? FPicture.get() : FDownPicture.get();
  DoGetPicture(Pic);
}

TGlowFaceParams TAdvCustomGlowButton::FaceParams(TCanvas* C, TFont* TextFont, bool Measure) {
  TGlowButtonAppearance* a = FAppearance.get();
  // 1. State repair (painting only: a measurement changes nothing).
  if (!Measure) {
    if (Enabled()) {
      if (FState == absDisabled) FState = FDownChecked && FGroupIndex != 0 ? absExclusive : absUp;
    } else {
      FState = absDisabled;
      FDragging = false;
    }
    if (FStyle == bsCheck && FDownChecked) FState = absDown;
    if (FKeepDown) {
      FState = absDown;
      FDown = true;
    }
  }
  const bool timer = GlowTimerRunning();
  TGlowFaceParams p;
  struct TSet5 {
    TColor C, CT, M, MT, B;
    TGDIPGradient G, GM;
  };
  const TSet5 normal{a->Color(), a->ColorTo(), a->ColorMirror(), a->ColorMirrorTo(), a->BorderColor(),
                     a->Gradient(), a->GradientMirror()};
  const TSet5 hot{a->ColorHot(), a->ColorHotTo(), a->ColorMirrorHot(), a->ColorMirrorHotTo(), a->BorderColorHot(),
                  a->GradientHot(), a->GradientMirrorHot()};
  const TSet5 down{a->ColorDown(), a->ColorDownTo(), a->ColorMirrorDown(), a->ColorMirrorDownTo(),
                   a->BorderColorDown(), a->GradientDown(), a->GradientMirrorDown()};
  const TSet5 checked{a->ColorChecked(), a->ColorCheckedTo(), a->ColorMirrorChecked(), a->ColorMirrorCheckedTo(),
                      a->BorderColorChecked(), a->GradientChecked(), a->GradientMirrorChecked()};
  const TSet5 disabled{a->ColorDisabled(), a->ColorDisabledTo(), a->ColorMirrorDisabled(),
                       a->ColorMirrorDisabledTo(), a->BorderColorDisabled(), a->GradientDisabled(),
                       a->GradientMirrorDisabled()};
  TSet5 s = normal;
  bool lit = false;
  auto blendFills = [&](const TSet5& x, const TSet5& y, Integer pct) {
    s.C = glowpaint::BlendColor(x.C, y.C, pct);
    s.CT = glowpaint::BlendColor(x.CT, y.CT, pct);
    s.M = glowpaint::BlendColor(x.M, y.M, pct);
    s.MT = glowpaint::BlendColor(x.MT, y.MT, pct);
  };
  // 2. The base set.
  if ((Enabled() && FState != absDisabled) || !FShowDisabled) {
    if (FState == absDown && FStyle == bsButton) {
      s = down;
      lit = true;
    } else if (FState == absExclusive || (FState == absDown && FStyle == bsCheck)) {
      s = checked;
      s.B = FHasMouse && a->BorderColorCheckedHot() != clNone && !FMouseDown ? a->BorderColorCheckedHot()
                                                                               : a->BorderColorChecked();
      if (timer && (FMouseInControl || (FStyle == bsButton && (FGroupIndex < 1 || FState == absDown))))
        blendFills(checked, down, FStepPush);
      if (timer && FMouseEnter && FStyle == bsCheck && FState == absDown) blendFills(checked, down, FStepPush);
    } else if (FHot) {
      s = hot;
      lit = true;
    }
  } else {
    s = disabled;
  }
  // 3.
  if (s.M == clNone) s.M = s.C;
  // 4. Blending while the animation runs.
  if (timer) {
    if (!FDown && !FTransparent && FState != absExclusive && !(FStyle == bsCheck && FState == absDown)) {
      s.C = glowpaint::BlendColor(hot.C, normal.C, FStepHover);
      s.CT = glowpaint::BlendColor(hot.CT, normal.CT, FStepHover);
      s.M = glowpaint::BlendColor(hot.M, normal.M, FStepHover);
      s.MT = glowpaint::BlendColor(hot.MT, normal.MT, FStepHover);
      s.B = glowpaint::BlendColor(hot.B, normal.B, FStepHover);
    } else if (FStyle == bsCheck && FState == absDown && FDown) {
      if (FMouseEnter)
        blendFills(checked, down, FStepPush);
      else
        blendFills(down, checked, FStepPush);
    } else if (FDown && FState != absExclusive && !FKeepDown) {
      blendFills(down, hot, FStepPush);
      s.B = glowpaint::BlendColor(down.B, hot.B, FStepPush);
    }
  }
  // 5. Held group buttons of the older styles keep the normal border.
  if (FPosition != bpStandalone && FDown && FCompStyle < tsOffice2007Luna) s.B = normal.B;
  // 6.
  if ((FState == absDisabled || !Enabled()) && FShowDisabled) s = disabled;
  // 7.
  if (FHasFocus && (FFocusType == ftHot || FFocusType == ftHotBorder) && !FDown) {
    s = hot;
    lit = true;
  }
  p.Color = s.C;
  p.ColorTo = s.CT;
  p.ColorMirror = s.M;
  p.ColorMirrorTo = s.MT;
  p.BorderColor = s.B;
  p.Gradient = s.G;
  p.GradientMirror = s.GM;
  p.Lit = lit;
  p.FocusFrame = ShowFocus();

  // 9. Text colour.
  TextFont->Assign(Font());
  if (a->TextColor() != clNone) TextFont->SetColor(a->TextColor());
  if (TextFont->Color() == clNone) TextFont->SetColor(clWindowText);
  if (FHot) TextFont->SetColor(a->TextColorHot());
  if (FState == absDown) TextFont->SetColor(a->TextColorDown());
  if ((FStyle == bsCheck && FState == absDown) || (FState == absExclusive && FGroupIndex != 0))
    TextFont->SetColor(a->TextColorChecked());
  if (!Enabled()) TextFont->SetColor(a->TextColorDisabled());
  if (a->SystemFont()) TextFont->SetName(HasGetLocaleInfoEx() ? u"Segoe UI" : u"Tahoma");

  p.Button = this;
  p.Canvas = C;
  p.R = ClientRect();
  p.BorderColorFocused = a->BorderColorFocused();
  if (FShowCaption) {
    p.Caption = Caption();
    p.WideCaption = FWideCaption;
  }
  p.DefaultCaptionDrawing = FDefaultCaptionDrawing;
  p.Font = TextFont;
  TGDIPPicture* pic = nullptr;
  Integer index = FImageIndex;
  ChooseGlyph(p.Images, p.ImgEnabled, pic, index, Measure);
  if (!Measure) FImageIndex = index;
  p.DisabledImages = FDisabledImages;
  p.ImageIndex = index;
  p.Picture = pic;
  p.Icon = FIcon.get();
  if (AutoSize() && FButtonSizeState < bsLarge) {
    p.PicSize = TPoint{16, 16};
    if (p.Images != nullptr && index >= 0) p.Picture = nullptr;
    if (FButtonSizeState == bsGlyph) p.Caption.clear(), p.WideCaption.clear();
  } else if (pic != nullptr && !pic->Empty()) {
    if (FPictureWidth > 0 && FPictureHeight > 0) {
      p.PicSize = TPoint{FPictureWidth, FPictureHeight};
    } else if (FPictureWidth == 0 && FPictureHeight == 0) {
      pic->GetImageSizes();
      const Integer h = Height() - 8;
      p.PicSize = TPoint{pic->Height() > 0 ? GlowBtnRound(double(pic->Width()) * h / pic->Height()) : h, h};
    }
  }
  p.Layout = FLayout;
  p.DropDownButton = FDropDownButton;
  p.Enabled = Enabled();
  p.DropDownPosition = FDropDownPosition;
  p.AntiAlias = FAntiAlias;
  p.DefaultPicDrawing = FDefaultPicDrawing;
  if (FDropDownButton && (FMouseInControl || FMouseDown || FHasMouse)) p.DropDownHot = FInButton ? 1 : 2;
  const bool hoverTransparent = a->TranspHover() && !GlowIsClass(Parent(), u"TAdvCustomToolBar");
  p.NoBackground = FStaticButton || (FTransparent && (!FHasMouse || hoverTransparent) &&
                                     !(FHasFocus && (FFocusType == ftHot || FFocusType == ftHotBorder)) &&
                                     FState != absDown);
  p.MouseEnter = FMouseEnter;
  p.Position = FPosition;
  p.DropDownSplit = FDropDownSplit;
  p.HasBorder = HasBorder();
  p.OverlappedText = FOverlappedText;
  p.WordWrap = FWordWrap;
  p.Rounded = FRounded;
  p.DropDownDirection = FDropDownDirection;
  p.Spacing = FSpacing;
  p.Trimming = FTrimming;
  p.Notes = FNotes.get();
  p.NotesFont = FNotesFont.get();
  p.DownChecked = FDownChecked;
  p.DroppedDown = FDroppedDown;
  p.TranspOffice = a->TranspOffice() && FTransparent;
  p.OnGlassQAT = FInternalIsOnGlassQAT;
  p.MarginHorz = FMarginHorz;
  p.MarginVert = FMarginVert;
  p.NoBorderDefault = a->NoBorderDefault();
  p.AlwaysShowAccel = FAlwaysShowAccel;
  p.DropDownWidth = FDropDownWidth;
  p.IsRotated = FIsRotated;
  p.MaxWidth = Constraints()->MaxWidth();
  p.MaxHeight = Constraints()->MaxHeight();
  return p;
}

void TAdvCustomGlowButton::Paint() {
  if (FPainting) return;
  FPainting = true;
  struct TDone {
    bool& F;
    ~TDone() { F = false; }
  } done{FPainting};
  TCanvas* C = Canvas();
  const bool hoverTransparent = FAppearance->TranspHover() && !GlowIsClass(Parent(), u"TAdvCustomToolBar");
  // 1. Transparent background from the parent.
  if (Parent() != nullptr && FTransparent && (hoverTransparent || !FHasMouse || FStaticButton))
    Parent()->PaintParentBackground(C->Handle());
  else if (Parent() != nullptr && FRounded)
    Parent()->PaintParentBackground(C->Handle());  // the corners outside the rounded border

  TFont textFont;
  TGlowFaceParams p = FaceParams(C, &textFont);
  // The hook may draw a glyph of its own; one pixel means it drew none.
  TBitmap glyph;
  glyph.SetSize(1, 1);
  DoGetGlyphBitmap(&glyph);
  p.GlyphBitmap = &glyph;
  const TAdvButtonState paintedState = FState;
  // 5. The measuring pass.
  if (AutoSize() && (FDoAutoSize || FFirstPaint)) {
    TGlowFaceParams m = p;
    m.MeasureOnly = true;
    if (FAutoSizeDirection == asVertical)
      m.R.Bottom = m.R.Top + 4096;
    else
      m.R.Right += 4096;
    TPoint sz;
    glowpaint::DrawGlowButtonFace(m, sz);
    const bool text = !(Caption().empty() && FWideCaption.empty()) && FShowCaption;
    Integer w = text ? sz.X + 3 * FSpacing + 2 * FMarginHorz + 2 : sz.X + 2 * FMarginHorz - 1;
    const bool vert = FLayout == blGlyphTop || FLayout == blGlyphBottom || FLayout == blGlyphTopAdjusted ||
                      FLayout == blGlyphBottomAdjusted;
    Integer h = vert ? sz.Y + 2 * FMarginVert : sz.Y + 2 * FSpacing + 2 * FMarginVert;
    if (FDropDownButton) {
      if (FDropDownPosition == dpBottom)
        h += GetScaledDropDownWidth();
      else
        w += GetScaledDropDownWidth();
    }
    if (FOnSetButtonSize) FOnSetButtonSize(this, w, h);
    FFirstPaint = false;
    if (w != Width() || h != Height()) {
      SetBounds(Left(), Top(), w, h);
      return;  // the new size brings its own paint
    }
    if (Parent() != nullptr) Parent()->PaintParentBackground(C->Handle());
  }
  TPoint size;
  glowpaint::DrawGlowButtonFace(p, size);
  DoAfterPaint();
  DoPaintExtra(C, ClientRect());
  if (OnDrawButton)
    OnDrawButton(this, C, ClientRect(), paintedState == absDown ? gsDown : FMouseEnter ? gsHot : gsNormal);
}

void TAdvCustomGlowButton::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

// --- animation ---

void TAdvCustomGlowButton::StartGlowTimer(Cardinal Interval) {
  if (GlowTimerRunning()) return;
  // The timer object is kept between animations and only switched: a tick
  // may end the animation from inside the timer's own event.
  if (!FTimer) {
    FTimer = std::make_unique<TTimer>(nullptr);
    FTimer->SetEnabled(false);
    FTimer->OnTimer = [this](TObject* s) { GlowTimerTick(s); };
  }
  FTimer->SetInterval(Interval);
  FTimer->SetEnabled(true);
}

void TAdvCustomGlowButton::StopGlowTimer() {
  if (FTimer) FTimer->SetEnabled(false);
}

void TAdvCustomGlowButton::GlowTimerTick(TObject*) {
  auto step = [this](Integer& v) {
    v += FTimeInc;
    if ((FTimeInc > 0 && v > 100) || (FTimeInc < 0 && v < 0)) {
      v = std::clamp(v, 0, 100);
      return true;
    }
    return false;
  };
  switch (FGlowState) {
    case gsHover:
      if (step(FStepHover)) {
        FGlowState = gsNone;
        StopGlowTimer();
      } else {
        Invalidate();
      }
      break;
    case gsPush:
      if (step(FStepPush)) {
        const bool falling = FTimeInc < 0;
        FGlowState = gsNone;
        if (falling && FStyle == bsButton) {
          FDown = FLeftDown = false;
          Perform(CM_MOUSELEAVE, 0, 0);
        }
        StopGlowTimer();
      } else {
        Invalidate();
      }
      break;
    case gsNone: break;
  }
}

void TAdvCustomGlowButton::CMMouseEnter(TMessage& Message) {
  TCustomControl::CMMouseEnter(Message);
  if (OnMouseEnter) OnMouseEnter(this);
  if (FMouseEnter) return;
  FHot = true;
  FDown = FLeftDown;
  if (GlowSpeed > 0) StartGlowTimer(Cardinal(GlowSpeed));
  if (!FDown && FGlowState != gsPush) {
    FTimeInc = 20;
    FGlowState = gsHover;
  }
  Invalidate();
  FMouseInControl = FMouseEnter = FHasMouse = true;
}

void TAdvCustomGlowButton::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  if (OnMouseLeave) OnMouseLeave(this);
  if (!FMouseEnter) return;
  FHasMouse = FMouseEnter = FMouseInControl = FHot = FInButton = false;
  if (FDown && FMouseDown) {
    FDown = false;
    FTimeInc = -20;
    FGlowState = gsHover;
    FLeftDown = true;
  } else {
    FDown = false;
    FStepHover = 100;
    FTimeInc = -20;
    FGlowState = gsHover;
  }
  Invalidate();
  if (GlowSpeed > 0) StartGlowTimer(Cardinal(GlowSpeed));
}

// --- mouse ---

void TAdvCustomGlowButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  FCheckBeforeAction = FDownChecked;
  TCustomControl::MouseDown(Button, Shift, X, Y);
  const bool touch = Shift.Contains(ssTouch) || Shift.Contains(ssPen);
  if (touch) Perform(CM_MOUSEENTER, 0, 0);
  if (Button != mbLeft) return;
  if (FRepeatClick) {
    if (!FRepeatTimer) {
      FRepeatTimer = std::make_unique<TTimer>(nullptr);
      FRepeatTimer->OnTimer = [this](TObject* s) { RepeatTimerTick(s); };
    }
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->SetInterval(Cardinal(std::max(FInitRepeatPause, 1)));
    FRepeatTimer->SetEnabled(true);
  }
  FDown = FMouseDown = true;
  if (TabStop() && CanFocus()) SetFocus();
  FTimeInc = 20;
  FGlowState = gsPush;
  // One edge for pressing and hovering: the pixel hovering counts as the
  // drop-down part opens the menu too.
  const Integer ddw = GetScaledDropDownWidth();
  const bool onPart = FDropDownPosition == dpRight ? X >= Width() - ddw : Y >= Height() - ddw;
  const bool opensMenu = (!FDropDownButton && IsMenuButton()) || (FDropDownButton && onPart && FDropDownSplit) ||
                         (FDropDownButton && !FDropDownSplit && FStyle == bsButton && FGroupIndex <= 0);
  if (opensMenu) {
    FMouseInControl = false;
    if (OnDropDown) OnDropDown(this);
    if (FDropDownMenu != nullptr) {
      FDown = !FDropDownSplit;
      FDroppedDown = true;
      FMouseEnter = false;
      Repaint();
      FDropDownMenu->SetPopupComponent(this);
      SetMouseCapture(false);
      if (!PopupDropDownMenu()) return;  // an item's handler freed the button
      FDown = FDroppedDown = FMouseEnter = FMouseInControl = FHot = FInButton = false;
      FMouseDown = false;
      FDragging = false;
      if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
      Repaint();
    }
    Invalidate();
    return;
  }
  if (!FDownChecked) {
    FState = absDown;
    Invalidate();
  }
  if (FStyle == bsCheck) {
    FState = absDown;
    Repaint();
  }
  FDragging = true;
  if (touch && !GlowTimerRunning()) StartGlowTimer(20);
}

void TAdvCustomGlowButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (FDropDownButton) {
    const Integer ddw = GetScaledDropDownWidth();
    const bool in = FDropDownPosition == dpRight ? X >= Width() - ddw : Y >= Height() - ddw;
    if (in != FInButton) {
      FInButton = in;
      Invalidate();
    }
  }
  if (FDragging) {
    const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight();
    TAdvButtonState ns = inside ? absDown : absUp;
    if (FDownChecked) ns = absExclusive;
    if (FStyle == bsCheck && FDownChecked) ns = absDown;
    if (ns != FState) {
      FState = ns;
      Invalidate();
    }
  } else if (!FMouseInControl) {
    UpdateTracking();
  }
}

void TAdvCustomGlowButton::UpdateTracking() {
  if (!Enabled()) return;
  TControl* under = FindDragTarget(Mouse->CursorPos(), true);
  const bool old = FMouseInControl;
  FMouseInControl = under != this;
  if (FMouseInControl != old) Perform(FMouseInControl ? CM_MOUSELEAVE : CM_MOUSEENTER, 0, 0);
}

void TAdvCustomGlowButton::WMLButtonDown(TMessage& Message) {
  FGotButtonClick = true;
  TCustomControl::WMLButtonDown(Message);
}

void TAdvCustomGlowButton::WMLButtonUp(TMessage& Message) {
  const TPoint pt = PointFromLParam(Message.LParam);
  const bool inside = pt.X >= 0 && pt.X < ClientWidth() && pt.Y >= 0 && pt.Y < ClientHeight();
  FTimeInc = -10;
  FStepPush = 100;
  if (inside) {
    FGlowState = gsHover;
    FHot = FHasMouse = FMouseEnter = true;
  } else {
    FGlowState = gsNone;
    FHasMouse = FMouseDown = FMouseEnter = FHot = FInButton = false;
  }
  FMouseDown = FLeftDown = false;
  if (FStyle == bsCheck && inside && FDragging) {
    SetDown(!FDownChecked);
    FStepPush = 0;
  }
  if ((FDropDownButton || !IsMenuButton()) && FDragging) {
    FDragging = false;
    if (FGroupIndex != 0) {
      if (inside) {
        SetDown(!FDownChecked);
        if (FDownChecked) Repaint();
      } else if (FDownChecked) {
        FState = absExclusive;
        Repaint();
      }
    } else {
      FState = absUp;
      FMouseInControl = false;
      if (FStyle == bsCheck && !inside && FDownChecked) SetDown(false);
      FMouseInControl = true;
      Repaint();
    }
    UpdateTracking();
  }
  if (FGotButtonClick && inside) {
    TControlState st = ControlState();
    st.Include(csClicked);
    SetControlState(st);
  }
  FGotButtonClick = false;
  TCustomControl::WMLButtonUp(Message);
  Invalidate();
}

void TAdvCustomGlowButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
  FDown = false;
  if (FStyle == bsButton) Invalidate();
}

void TAdvCustomGlowButton::RepeatTimerTick(TObject*) {
  // A button that lost the capture (a dialog, another window) is no longer
  // held: the repeating ends.
  if (!MouseCapture()) {
    FRepeatTimer->SetEnabled(false);
    return;
  }
  FRepeatTimer->SetInterval(Cardinal(std::max(FRepeatPause, 1)));
  if (FDown) {
    try {
      Click();
    } catch (...) {
      FRepeatTimer->SetEnabled(false);
      throw;
    }
  }
}

// --- grouping ---

void TAdvCustomGlowButton::SetDown(bool Value) {
  if (ComponentState().Contains(csLoading) || !HandleAllocated()) {
    FInitialDown = Value;
    FHasInitialDown = true;
  }
  if (FGroupIndex == 0 && FStyle == bsButton) Value = false;
  if (FStyle == bsCheck) {
    FDownChecked = Value;
    FState = Value ? absDown : absUp;
    Repaint();
    return;
  }
  if (Value == FDownChecked) return;
  if (FDownChecked && !FAllowAllUp && !Value) return;
  FDownChecked = Value;
  if (Value) {
    if (FState == absUp) Invalidate();
    FState = absExclusive;
    UpdateExclusive();
  } else {
    FState = absUp;
    Repaint();
  }
}

void TAdvCustomGlowButton::UpdateExclusive() {
  if (FGroupIndex == 0 || Parent() == nullptr) return;
  TMessage m{};
  m.Msg = CM_BUTTONPRESSED;
  m.WParam = WPARAM(FGroupIndex);
  m.LParam = LPARAM(this);
  Parent()->Broadcast(m);
}

void TAdvCustomGlowButton::CMButtonPressed(TMessage& Message) {
  auto* sender = reinterpret_cast<TAdvCustomGlowButton*>(Message.LParam);
  if (Message.WParam != WPARAM(FGroupIndex) || sender == this || sender == nullptr) return;
  if (sender->Down() && FDownChecked) {
    FDownChecked = false;
    FState = absUp;
    Invalidate();
  }
}

// --- keyboard and focus ---

void TAdvCustomGlowButton::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  FGotDownKey = true;
  if ((Key == VK_RETURN || Key == VK_SPACE) && FGroupIndex == 0) {
    FDown = true;
    Repaint();
  }
  if (Key == VK_F4 && Shift.Empty() && !DropDown()) {
    Key = 0;  // taken; and the button is gone: nothing more may reach it
    return;
  }
  if (FOnInternalKeyDown) FOnInternalKeyDown(this, Key, Shift);
}

void TAdvCustomGlowButton::KeyPress(Char& Key) {
  TCustomControl::KeyPress(Key);
  if ((Key == u' ' || Key == u'\r') && FGroupIndex == 0) {
    // Through Click, so that the modal result, the internal click and the
    // linked handlers all run as for a mouse click.
    Click();
  }
}

void TAdvCustomGlowButton::KeyUp(Word& Key, TShiftState Shift) {
  TCustomControl::KeyUp(Key, Shift);
  if ((Key == VK_RETURN || Key == VK_SPACE) && FGotDownKey) {
    if (FGroupIndex != 0) {
      if (FState == absDown || FState == absExclusive) {
        FDown = false;
        FState = absUp;
      } else {
        FState = absExclusive;
      }
      FDownChecked = !FDownChecked;
      UpdateExclusive();
      Click();
    } else {
      FDown = false;
      FState = absUp;
    }
  }
  FGotDownKey = false;
  Repaint();
}

void TAdvCustomGlowButton::CMDialogKey(TMessage& Message) {
  const Word key = Word(Message.WParam);
  const TShiftState shift = KeyDataToShiftState(Message.LParam);
  if (((key == VK_RETURN && FActive) || (key == VK_ESCAPE && FCancel)) && shift.Empty() && CanFocus()) {
    if (FGroupIndex == 0) FState = absUp;
    if (key == VK_RETURN && FGroupIndex > 0) {
      FDownChecked = !FDownChecked;
      FDown = FDownChecked;
      FState = FDownChecked ? absExclusive : absUp;
      UpdateExclusive();
      Repaint();
    }
    KeyboardClick();
    Message.Result = 1;
    return;
  }
  TCustomControl::CMDialogKey(Message);
}

void TAdvCustomGlowButton::CMDialogChar(TMessage& Message) {
  if (!GetKeyState(VK_MENU) && GlowIsClass(Parent(), u"TZadEdevAzi")) {
    TCustomControl::CMDialogChar(Message);
    return;
  }
  if (!CanFocus()) return;
  const Word key = Word(Message.WParam);
  if (IsAccel(key, Caption())) {
    if (IsMenuButton() || (FDropDownMenu != nullptr && !FDropDownSplit))
      DoDropDown();
    else
      Click();
    Message.Result = 1;
    return;
  }
  if (IsAccel(key, FWideCaption) || IsAccel(key, Hint()) || IsAccel(key, FOfficeHint->Title())) {
    if (IsMenuButton() || FDropDownMenu != nullptr)
      DoDropDown();
    else
      Click();
    Message.Result = 1;
    return;
  }
  TCustomControl::CMDialogChar(Message);
}

void TAdvCustomGlowButton::KeyboardClick() {
  if ((!FDropDownButton && IsMenuButton()) ||
      (FDropDownButton && FStyle == bsButton && FGroupIndex <= 0 && !FDropDownSplit)) {
    if (FDropDownMenu != nullptr)
      DoDropDown();
    else
      Click();
    return;
  }
  if (FStyle == bsCheck) {
    SetDown(!FDownChecked);
    FState = absDown;
    Repaint();
  }
  Click();
}

void TAdvCustomGlowButton::DoEnter() {
  TCustomControl::DoEnter();
  FHasFocus = true;
  Invalidate();
}

void TAdvCustomGlowButton::DoExit() {
  TCustomControl::DoExit();
  FHasFocus = false;
  if (FGroupIndex == 0) {
    FDown = false;
    FState = absUp;
  }
  Invalidate();
}

void TAdvCustomGlowButton::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  FHasFocus = true;
}

void TAdvCustomGlowButton::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  FHasFocus = false;
  Invalidate();
}

void TAdvCustomGlowButton::CMFocusChanged(TMessage& Message) {
  auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
  if (dynamic_cast<TAdvCustomGlowButton*>(focused) != nullptr)
    FActive = focused == this;
  else
    FActive = FDefault;
  TCustomControl::CMFocusChanged(Message);
}

void TAdvCustomGlowButton::WMGetDlgCode(TMessage& Message) {
  if (FOnInternalKeyDown)
    Message.Result = DLGC_WANTARROWS;
  else
    TCustomControl::WMGetDlgCode(Message);
}

void TAdvCustomGlowButton::WMSetText(TMessage& Message) {
  TCustomControl::WMSetText(Message);
  if (AutoSize()) UpdateAutoSize();
}

void TAdvCustomGlowButton::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  Invalidate();
}

void TAdvCustomGlowButton::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  Invalidate();
}

void TAdvCustomGlowButton::CMEnabledChanged(TMessage& Message) {
  TCustomControl::CMEnabledChanged(Message);
  FDown = false;
  FState = absDisabled;
  Invalidate();
}

void TAdvCustomGlowButton::CMStyleChanged(TMessage&) {
  // No class-library style is ever active: a styled toolbar's appearance, if any.
}

void TAdvCustomGlowButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_BUTTONPRESSED: CMButtonPressed(Message); return;
    case CM_STYLECHANGED:
      TCustomControl::Dispatch(Message);
      CMStyleChanged(Message);
      return;
    case CN_COMMAND:
      if (((Message.WParam >> 16) & 0xFFFF) == 0) Click();
      return;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
      break;
    case GLOW_PLACE_DROPUP:
      if (TWinControl* w = ActiveMenuWindow()) {
        const TPoint top = Parent() != nullptr ? Parent()->ClientToScreen(TPoint{Left(), Top()}) : TPoint{0, 0};
        w->SetBounds(w->Left(), top.Y - w->Height(), w->Width(), w->Height());
      }
      return;
    default: break;
  }
  TCustomControl::Dispatch(Message);
}

// --- drop-down and key tips ---

void TAdvCustomGlowButton::DoDropDown() { DropDown(); }

bool TAdvCustomGlowButton::DropDown() {
  if (FDropDownMenu == nullptr) {
    Invalidate();
    return true;
  }
  if (FOnInternalDropDown) FOnInternalDropDown(this);
  FDropDownMenu->SetPopupComponent(this);
  FState = absDown;
  if (OnDropDown) OnDropDown(this);
  Invalidate();
  if (!PopupDropDownMenu()) return false;
  FState = absUp;
  Repaint();
  return true;
}

bool TAdvCustomGlowButton::PopupDropDownMenu() {
  TPopupMenu* menu = FDropDownMenu;
  if (menu == nullptr) return true;
  TPoint pt = FDropDownDirection == ddRight ? TPoint{Left() + Width(), Top()} : TPoint{Left(), Top() + Height()};
  if (FDropDownDirection == ddUp) pt = TPoint{Left(), Top()};
  if (Parent() != nullptr) pt = Parent()->ClientToScreen(pt);
  if (menu->Alignment() == paRight) pt.X += Width();
  if (menu->Alignment() == paCenter) pt.X += Width() / 2;
  if (FDropDownDirection == ddUp && HandleAllocated()) PostMessage(Handle(), GLOW_PLACE_DROPUP, 0, 0);
  TDestroyWatch watch(this);  // an item's handler may free the button or its form
  menu->Popup(pt.X, pt.Y);
  return !watch.Gone();
}

void TAdvCustomGlowButton::ShowShortCutHint() { ShowShortCutHintText(FShortCutHintText); }

void TAdvCustomGlowButton::ShowShortCutHintText(const String& Text) {
  if (!FShortCutHint) {
    FShortCutHint = std::make_unique<TShortCutHintWindow>(nullptr);
    FShortCutHint->SetVisible(false);
    FShortCutHint->SetColor(clWhite);
    FShortCutHint->SetColorTo(FAppearance->Color());
  }
  FShortCutHint->SetCaption(Text);
  // Measured before the window has a handle (it gets one when shown).
  TBitmap measure;
  measure.SetSize(1, 1);
  measure.Canvas()->Font()->Assign(FShortCutHint->Font());
  const Integer w = std::max(measure.Canvas()->TextWidth(Text) + 8,
                             measure.Canvas()->TextWidth(u"O") + 8);
  const Integer h = measure.Canvas()->TextHeight(u"Og") + 4;
  FShortCutHint->SetBounds(FShortCutHint->Left(), FShortCutHint->Top(), w, h);
  TShortCutHintPos pos = FShortCutHintPos;
  if (FOnGetShortCutHintPos) FOnGetShortCutHintPos(this, FButtonSizeState, pos);
  if (pos == shpAuto) pos = shpTop;
  const TPoint P = ClientToScreen(TPoint{0, 0});
  const Integer W = Width(), H = Height(), hw = FShortCutHint->Width(), hh = FShortCutHint->Height();
  const Integer centre = P.X + (W - hw) / 2;
  Integer x = centre, y = P.Y;
  switch (pos) {
    case shpLeft: x = P.X + 6; y = P.Y + (H - hh) / 2; break;
    case shpTop: case shpAuto: y = P.Y - hh / 2; break;
    case shpRight: x = P.X + W - hw / 2; y = P.Y + (H - hh) / 2; break;
    case shpBottom: y = P.Y + H - hh / 2; break;
    case shpCenter: y = P.Y + (H - hh) / 2; break;
    case shpTopLeft: x = P.X + 6; y = P.Y - hh / 2; break;
    case shpTopRight: x = P.X + W - hw + 1; y = P.Y - hh / 2; break;
    case shpAboveTop: y = P.Y - hh; break;
    case shpAboveTopLeft: x = P.X + 6; y = P.Y - hh; break;
    case shpAboveTopRight: x = P.X + W - hw + 1; y = P.Y - hh; break;
    case shpBottomLeft: x = P.X + 6; y = P.Y + H - hh / 2; break;
    case shpBottomRight: x = P.X + W - hw + 1; y = P.Y + H - hh / 2; break;
    case shpBelowBottom: case shpBelowBottomCenter: y = P.Y + H; break;
    case shpBelowBottomLeft: x = P.X + 6; y = P.Y + H; break;
    case shpBelowBottomRight: x = P.X + W - hw + 1; y = P.Y + H; break;
  }
  FShortCutHint->SetBounds(x, y, hw, hh);
  FShortCutHint->SetVisible(true);
}

void TAdvCustomGlowButton::HideShortCutHint() {
  if (FShortCutHint) FShortCutHint->SetVisible(false);
}

// --- size states ---

void TAdvGlowButton::CalcSizeForState(TButtonSizeState State, TPoint& Size) {
  // Measuring draws nothing: a pixel of canvas carries the text metrics.
  TBitmap scratch;
  scratch.SetSize(1, 1);
  TFont textFont;
  const TButtonLayout layout = FLayout;
  const TDropDownPosition ddpos = FDropDownPosition;
  const TButtonSizeState saved = FButtonSizeState;
  TGlowFaceParams p = FaceParams(scratch.Canvas(), &textFont, true);
  TBitmap glyph;
  glyph.SetSize(1, 1);
  DoGetGlyphBitmap(&glyph);
  p.GlyphBitmap = &glyph;
  if (AutoSize()) {
    p.Layout = State == bsLarge ? (saved == bsLarge ? layout : FOldLayout) : blGlyphLeft;
    p.DropDownPosition = State == bsLarge ? (saved == bsLarge ? ddpos : FOldDropDownPosition) : dpRight;
    if (State < bsLarge) {
      p.PicSize = TPoint{16, 16};
      if (p.Images != nullptr && FImageIndex >= 0) p.Picture = nullptr;
      if (State == bsGlyph) p.Caption.clear(), p.WideCaption.clear();
    } else {
      p.PicSize = TPoint{0, 0};
      p.Caption = FShowCaption ? Caption() : String();
    }
  }
  p.MeasureOnly = true;
  TPoint sz;
  glowpaint::DrawGlowButtonFace(p, sz);
  Size.X = sz.X + 3 * FSpacing + 2 * FMarginHorz + 2;
  Size.Y = sz.Y + 2 * FSpacing + 2 * FMarginVert;
  if (FDropDownButton) {
    if (p.DropDownPosition == dpBottom)
      Size.Y += GetScaledDropDownWidth();
    else
      Size.X += GetScaledDropDownWidth();
  }
}

void RegisterGlowButtonClasses() {
  TClassInfo::Of<TAdvCustomGlowButton, TCustomControl>(u"TAdvCustomGlowButton")
      .Property(u"DisabledPicture", &TAdvCustomGlowButton::DisabledPicture)
      .Property(u"DownPicture", &TAdvCustomGlowButton::DownPicture)
      .Property(u"HotPicture", &TAdvCustomGlowButton::HotPicture)
      .Property(u"OfficeHint", &TAdvCustomGlowButton::OfficeHint)
      .Property(u"Picture", &TAdvCustomGlowButton::Picture, &TAdvCustomGlowButton::SetPicture);
  TClassInfo::Of<TAdvGlowButton, TAdvCustomGlowButton>(u"TAdvGlowButton");
  TClassInfo::Of<TShortCutHintWindow, THintWindow>(u"TShortCutHintWindow");
}
