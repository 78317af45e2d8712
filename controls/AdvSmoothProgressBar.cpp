#include "controls/AdvSmoothProgressBar.h"

#include <cmath>

#include "foundation/gdiplus/GPBrush.h"
#include "foundation/gdiplus/GPGraphics.h"
#include "foundation/gdiplus/GPRegion.h"
#include "foundation/gdiplus/LookFlags.h"

using namespace gdiplus;

namespace {

// Moves Value a step toward Target; answers false (Value = Target) once it is within Tolerance.
bool SmoothProgressStepToward(Double& Value, Double Target, Double Tolerance, Double StepSize) {
  if (Target - Tolerance < Value && Value < Target + Tolerance) {
    Value = Target;
    return false;
  }
  Double d = std::max(StepSize, Tolerance);
  Value += Value < Target ? d : -d;
  return true;
}

// The colours of one look: background fill, progress fill, and whether the
// glossy overlays and shadows are kept.
struct TSmoothProgressPreset {
  TColor BackColor, BackColorTo, BackBorder;
  TColor Color, ColorTo, ColorMirror, ColorMirrorTo, Border;
  bool Flat;
};

constexpr TColor SPNone = clNone;

// Indexed by TVornStyle; tsCustom's row is never read.
constexpr TSmoothProgressPreset SmoothProgressPresets[] = {
    /* tsOffice2003Blue */ {0xFFD2AF, 0xFFD2AF, 0xC0C0C0, 0xFCE1CB, 0xE0A57D, SPNone, SPNone, 0x962D00, false},
    /* tsOffice2003Silver */ {0xE6D8D8, 0xE6D8D8, 0xC0C0C0, 0xECE2E1, 0xB39698, SPNone, SPNone, 0x947C7C, false},
    /* tsOffice2003Olive */ {0xCFF0EA, 0xCFF0EA, 0xC0C0C0, 0xCFF0EA, 0x8CC0B1, SPNone, SPNone, 0x588060, false},
    /* tsOffice2003Classic */ {0xF2F2F2, 0xF2F2F2, 0xC0C0C0, 0xFFFFFF, 0xC9D1D5, SPNone, SPNone, 0x808080, false},
    /* tsOffice2007Luna */ {0xFFD2AF, 0xFFD2AF, 0xC0C0C0, 0xFFEFE3, 0xFFDDC4, 0xFFD1AD, 0xFFDBC0, 0xFFD1AD, false},
    /* tsOffice2007Obsidian */ {0x5C534C, 0x5C534C, 0x414141, 0xF2F1F0, 0xC9C2BD, 0xB5ACA5, 0xCBC5C1, 0x5C534C, false},
    /* tsWindowsXP */ {0xF0F0F0, 0xF0F0F0, 0xC0C0C0, 0x9CF09C, 0x26B626, 0x26B626, 0x9CF09C, 0x1E901E, false},
    /* tsWhidbey */ {0xEBEEEF, 0xEBEEEF, 0xC0C0C0, 0xF5F9FA, 0xA8C0C0, 0xA8C0C0, 0xF5F9FA, 0x7A9090, false},
    /* tsCustom */ {SPNone, SPNone, SPNone, SPNone, SPNone, SPNone, SPNone, SPNone, false},
    /* tsOffice2007Silver */ {0xF8F3F0, 0xF8F3F0, 0xC0C0C0, 0xF8F7F6, 0xE8E0DB, 0xDCD1CA, 0xE6DED8, 0x766A61, false},
    /* tsWindowsVista */ {0xFDF8F1, 0xFDF8F1, 0xC0C0C0, 0xFCEFD5, 0xFBE7C0, 0xF9DBA6, 0xFCE8C8, 0xDBB97D, false},
    /* tsWindows7 */ {0xF5F5F5, 0xF5F5F5, 0xC0C0C0, 0xFDF4E6, 0xFCE8CC, 0xF8D8A8, 0xFBE6C4, 0xCEA266, false},
    /* tsTerminal */ {0xFFFFFF, 0xFFFFFF, 0x808080, 0xC0C0C0, 0xC0C0C0, SPNone, SPNone, 0x808080, false},
    /* tsOffice2010Blue */ {0xFDF6EF, 0xFDF6EF, 0xC0C0C0, 0xFDEADA, 0xF5D3B6, 0xEFC49F, 0xF6DDC6, 0xA78F79, false},
    /* tsOffice2010Silver */ {0xFFFFFF, 0xFFFFFF, 0xC0C0C0, 0xF5F3F2, 0xE5DFDB, 0xD6CDC7, 0xE8E2DE, 0xA39A93, false},
    /* tsOffice2010Black */ {0x6D6D6D, 0x6D6D6D, 0x2C2C2C, 0xBFBFBF, 0x919191, 0x7F7F7F, 0x9F9F9F, 0x2C2C2C, false},
    /* tsWindows8 */ {0xFFFFFF, 0xFFFFFF, 0xDCDBDA, 0xF7E0C9, 0xF7E0C9, 0xF7E0C9, 0xF7E0C9, 0xE4A262, true},
    /* tsOffice2013White */ {0xFFFFFF, 0xFFFFFF, 0xD4D4D4, 0xFCE2C8, 0xFCE2C8, 0xFCE2C8, 0xFCE2C8, 0xE59D56, true},
    /* tsOffice2013LightGray */ {0xF6F6F6, 0xF6F6F6, 0xC6C6C6, 0xFCE2C8, 0xFCE2C8, 0xFCE2C8, 0xFCE2C8, 0xE59D56, true},
    /* tsOffice2013Gray */ {0xE5E5E5, 0xE5E5E5, 0xABABAB, 0xFCE2C8, 0xFCE2C8, 0xFCE2C8, 0xFCE2C8, 0xE59D56, true},
    /* tsWindows10 */ {0xFFFFFF, 0xFFFFFF, 0xDCDBDA, 0xF7E0C9, 0xF7E0C9, 0xF7E0C9, 0xF7E0C9, 0xE4A262, true},
    /* tsOffice2016White */ {0xFFFFFF, 0xFFFFFF, 0xD4D4D4, 0xF2E1D5, 0xF2E1D5, 0xF2E1D5, 0xF2E1D5, 0xF2E1D5, true},
    /* tsOffice2016Gray */ {0xB2B2B2, 0xB2B2B2, 0x444444, 0xF2E1D5, 0xF2E1D5, 0xF2E1D5, 0xF2E1D5, 0xF2E1D5, true},
    /* tsOffice2016Black */ {0x363636, 0x363636, 0x444444, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, true},
    /* tsOffice2019White */ {0xFFFFFF, 0xFFFFFF, 0xABABAB, 0xE3BDA3, SPNone, SPNone, SPNone, 0xE3BDA3, true},
    /* tsOffice2019Gray */ {0xE5E5E5, 0xE5E5E5, 0x999999, 0xC8A690, SPNone, SPNone, SPNone, 0xC8A690, true},
    /* tsOffice2019Black */ {0x303132, 0x303132, 0x6A6A6A, 0x7A5A44, SPNone, SPNone, SPNone, 0x7A5A44, true},
};

bool SmoothProgressIs2019(TVornStyle s) {
  return s == tsOffice2019White || s == tsOffice2019Gray || s == tsOffice2019Black;
}

}  // namespace

TAdvSmoothProgressBar::TAdvSmoothProgressBar(TComponent* AOwner)
    : TCustomControl(AOwner),
      FAppearance(std::make_unique<TGDIPProgress>()),
      FAnimationTimer(std::make_unique<TTimer>(nullptr)),
      FMarqueeTimer(std::make_unique<TTimer>(nullptr)) {
  SetDoubleBuffered(true);
  FAppearance->OnChange = [this](TObject* s) { AppearanceChanged(s); };
  FAppearance->OnDrawValue = [this](TObject* Sender, const String& Format, String& Text) {
    if (OnDrawValue) OnDrawValue(Sender, Format, Text);
  };
  FAnimationTimer->SetInterval(10);
  FAnimationTimer->OnTimer = [this](TObject* s) { AnimationTick(s); };
  FMarqueeTimer->SetInterval(Cardinal(FMarqueeInterval));
  FMarqueeTimer->OnTimer = [this](TObject* s) { MarqueeTick(s); };
  SetTabStop(true);
  SetBounds(Left(), Top(), 150, 17);
  UpdateTimers();
}

TAdvSmoothProgressBar::~TAdvSmoothProgressBar() {
  FAnimationTimer->SetEnabled(false);
  FMarqueeTimer->SetEnabled(false);
}

void TAdvSmoothProgressBar::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TAdvSmoothProgressBar*>(Source);
  if (!src) return;
  FStep = src->FStep;
  FMinimum = src->FMinimum;
  FMaximum = src->FMaximum;
  FPosition = src->FPosition;
  FGlowAnimation = src->FGlowAnimation;
  FProgressAnimation = src->FProgressAnimation;
  FAppearance->Assign(src->FAppearance.get());
  FStyle = src->FStyle;
  FMarqueeInterval = src->FMarqueeInterval;
  FMarqueeColor = src->FMarqueeColor;
  FMarqueeSize = src->FMarqueeSize;
  Invalidate();
}

bool TAdvSmoothProgressBar::AnimationActive() const {
  return FProgressAnimation && !FComponentState.Contains(csDesigning) && !FComponentState.Contains(csLoading);
}

bool TAdvSmoothProgressBar::GlowActive() const {
  return FGlowAnimation && !FComponentState.Contains(csDesigning) && !FComponentState.Contains(csLoading);
}

bool TAdvSmoothProgressBar::AnimationInProgress() const {
  return AnimationActive() && std::fabs(FPositionTemp - FPositionTo) >= 0.001;
}

void TAdvSmoothProgressBar::SetPosition(Double Value) {
  if (std::isnan(Value)) return;
  const bool wasAnimating = AnimationInProgress();
  Double target = Value;
  if (target < FMinimum) target = FMinimum;
  if (target >= FMaximum) target = FMaximum;
  FPositionTo = target;
  if (wasAnimating) {
    FPosition = FPositionTemp = target;
    Invalidate();
  }
  if (AnimationActive()) {
    FAnimate = true;
  } else {
    FPosition = FPositionTemp = target;
    if (OnPositionChanged) OnPositionChanged(this, target);
    Invalidate();
  }
  UpdateTimers();
}

void TAdvSmoothProgressBar::SetMinimum(Double Value) {
  if (std::isnan(Value) || Value == FMinimum) return;
  FMinimum = Value;
  if (FMinimum > FPosition) {
    if (!AnimationActive()) FPosition = FPositionTemp = FMinimum;
    FPositionTo = FMinimum;
  }
  Invalidate();
  UpdateTimers();
}

void TAdvSmoothProgressBar::SetMaximum(Double Value) {
  if (std::isnan(Value) || Value == FMaximum) return;
  FMaximum = Value;
  if (FMaximum < FPosition) {
    if (!AnimationActive()) FPosition = FPositionTemp = FMaximum;
    FPositionTo = FMaximum;
  }
  Invalidate();
  UpdateTimers();
}

void TAdvSmoothProgressBar::SetStep(Double Value) {
  if (std::isnan(Value) || Value == FStep) return;
  FStep = Value;
  Invalidate();
}

void TAdvSmoothProgressBar::SetProgressAnimation(bool Value) {
  if (Value != FProgressAnimation) {
    FProgressAnimation = Value;
    Invalidate();
  }
  if (!Value) SetPosition(FPositionTo);
  UpdateTimers();
}

void TAdvSmoothProgressBar::SetGlowAnimation(bool Value) {
  if (Value == FGlowAnimation) return;
  FGlowAnimation = Value;
  Invalidate();
  UpdateTimers();
}

void TAdvSmoothProgressBar::SetAppearance(TGDIPProgress* Value) {
  if (Value && Value != FAppearance.get()) FAppearance->Assign(Value);
}

void TAdvSmoothProgressBar::SetStyle(TProgressBarStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Invalidate();
  UpdateTimers();
}

void TAdvSmoothProgressBar::SetMarqueeInterval(Integer Value) {
  if (Value == FMarqueeInterval || Value < 1) return;
  FMarqueeInterval = Value;
  FMarqueeTimer->SetInterval(Cardinal(Value));
  Invalidate();
}

void TAdvSmoothProgressBar::SetMarqueeColor(TColor Value) {
  if (Value == FMarqueeColor) return;
  FMarqueeColor = Value;
  Invalidate();
}

void TAdvSmoothProgressBar::SetMarqueeSize(Integer Value) {
  if (Value == FMarqueeSize) return;
  FMarqueeSize = Value;
  Invalidate();
}

void TAdvSmoothProgressBar::SetDirection(TGDIPProgressDirection Value) {
  if (Value == FDirection) return;
  FDirection = Value;
  Invalidate();
}

void TAdvSmoothProgressBar::UpdateTimers() {
  if (!FAnimationTimer || !FMarqueeTimer) return;
  const bool live = OnScreen() && !FComponentState.Contains(csDestroying) && !FComponentState.Contains(csDesigning);
  const bool moving = (AnimationActive() && FAnimate) || FPositionTo != FPositionTemp;
  const bool glowing = GlowActive() && FPosition > FMinimum;
  FAnimationTimer->SetEnabled(live && FStyle == pbstNormal && (moving || glowing));
  FMarqueeTimer->SetEnabled(live && FStyle == pbstMarquee);
}

bool TAdvSmoothProgressBar::OnScreen() const {
  const TControl* c = this;
  for (; c->Parent() != nullptr; c = c->Parent())
    if (!c->Visible()) return false;
  return c != this && c->Visible() && static_cast<const TWinControl*>(c)->Showing();
}

void TAdvSmoothProgressBar::AnimationTick(TObject*) {
  // A hidden form tells its children nothing: the first tick after it went
  // away stops the timers, and the next paint (the form shown again) restarts them.
  if (!OnScreen()) {
    UpdateTimers();
    return;
  }
  if ((AnimationActive() && FAnimate) || FPositionTo != FPositionTemp) {
    const Double stepSize = std::fabs(FPositionTo - FPositionTemp) / 15;
    Double v = FPositionTemp;
    FDoAnimation = SmoothProgressStepToward(v, FPositionTo, 0.000001, stepSize);
    if (FDoAnimation) {
      FPosition = FPositionTemp = v;
      if (OnPositionChanged) OnPositionChanged(this, v);
    } else {
      FAnimate = false;
      FPosition = FPositionTemp = FPositionTo;
      if (OnPositionChanged) OnPositionChanged(this, FPosition);
    }
    Invalidate();
  }
  if (FPosition > FMinimum && GlowActive()) {
    if (FGlowCount >= 1500) FGlowPos += 3;
    const TRect r = Rect(0, 0, Width(), Height());
    const TGPRectF pr = FAppearance->CalculateProgressRectangle(r, FMinimum, FMaximum, FPosition, FDirection);
    const Double extent = FDirection == pbdVertical ? pr.Height : pr.Width;
    if (FGlowPos > extent) {
      FGlowCount = 0;
      FGlowPos = -60;
    } else {
      FGlowCount += 10;
    }
    Invalidate();
  }
  UpdateTimers();
}

void TAdvSmoothProgressBar::MarqueeTick(TObject*) {
  if (FComponentState.Contains(csDesigning) || FComponentState.Contains(csDestroying)) return;
  if (!OnScreen()) {
    UpdateTimers();
    return;
  }
  FGlowPos += 8;
  const Integer extent = FDirection == pbdVertical ? Height() : Width();
  if (FGlowPos > extent + 2 * FMarqueeSize) {
    FGlowCount = 0;
    FGlowPos = -2 * FMarqueeSize;
  }
  Invalidate();
}

bool TAdvSmoothProgressBar::NeedsParentBackground() const {
  const TGDIPFill* f = FAppearance->BackGroundFill();
  return FAppearance->Transparent() || f->Opacity() < 255 || f->OpacityTo() < 255 || f->OpacityMirror() < 255 ||
         f->OpacityMirrorTo() < 255 || f->Rounding() > 0;
}

void TAdvSmoothProgressBar::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TAdvSmoothProgressBar::Paint() {
  UpdateTimers();  // painted means shown: timers that rested while the form was hidden go on
  HDC dc = Canvas()->Handle();
  if (NeedsParentBackground() && Parent()) PaintParentBackground(dc);
  TGPGraphics g(dc);
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  g.SetTextRenderingHint(TextRenderingHintClearTypeGridFit);
  const TRect r = Rect(0, 0, Width(), Height());
  FRect = r;
  FAppearance->Draw(&g, r, FMinimum, FMaximum, FStyle == pbstMarquee ? 0.0 : FPosition, FDirection, 1.0f);
  // The band is stepped by the timer only above the minimum, so it is drawn under the same condition.
  if ((GlowActive() && FPosition > FMinimum) || FStyle == pbstMarquee) DrawGlow(g, r);
}

void TAdvSmoothProgressBar::DrawGlow(TGPGraphics& g, const TRect& r) {
  const bool marquee = FStyle == pbstMarquee;
  const TColor c = marquee ? FMarqueeColor : TColor(0xFFFFFF);
  const Single s = Single(marquee ? FMarqueeSize : 30);
  std::unique_ptr<TGPRegion> clip;
  if (!marquee) {
    clip = std::make_unique<TGPRegion>(
        FAppearance->CalculateProgressRectangle(r, FMinimum, FMaximum, FPosition, FDirection));
    g.SetClip(clip.get());
  }
  const TGPRectF in = FAppearance->GetInsideRectF(r);
  const Single pos = Single(FGlowPos);
  TGPRectF first, second;
  GpLinearGradientMode mode;
  if (FDirection == pbdHorizontal) {
    first = GPRectF(pos - s, in.Y, s, in.Height);
    second = GPRectF(pos, in.Y, s, in.Height);
    mode = LinearGradientModeHorizontal;
  } else {
    // Measured from the bottom of the inside rectangle, wherever that starts.
    first = GPRectF(in.X, in.Y + in.Height - pos - s, in.Width, s);
    second = GPRectF(in.X, in.Y + in.Height - pos, in.Width, s);
    mode = LinearGradientModeVertical;
  }
  auto grow = [](const TGPRectF& q) { return GPRectF(q.X - 1, q.Y - 1, q.Width + 2, q.Height + 2); };
  TGPLinearGradientBrush b1(grow(first), ColorToAlphaARGB(0, c), ColorToAlphaARGB(120, c), mode);
  g.FillRectangle(&b1, first);
  TGPLinearGradientBrush b2(grow(second), ColorToAlphaARGB(120, c), ColorToAlphaARGB(0, c), mode);
  g.FillRectangle(&b2, second);
  g.ResetClip();
}

void TAdvSmoothProgressBar::Resize() {
  TCustomControl::Resize();
  Invalidate();
}

void TAdvSmoothProgressBar::CMVisibleChanged(TMessage& Message) {
  TCustomControl::CMVisibleChanged(Message);
  UpdateTimers();
}

void TAdvSmoothProgressBar::Loaded() {
  TCustomControl::Loaded();
  UpdateTimers();
}

void TAdvSmoothProgressBar::AppearanceChanged(TObject*) { Invalidate(); }

void TAdvSmoothProgressBar::SetComponentStyle(TVornStyle AStyle) {
  FVornStyle = AStyle;
  if (AStyle == tsCustom) return;
  FAppearance->SetOverlays(true);
  FAppearance->SetShadows(true);
  SetGlowAnimation(true);
  ApplyPreset(AStyle);
}

void TAdvSmoothProgressBar::ApplyPreset(TVornStyle AStyle) {
  if (Integer(AStyle) >= Integer(std::size(SmoothProgressPresets))) return;
  const TSmoothProgressPreset& p = SmoothProgressPresets[AStyle];
  FAppearance->Font()->SetColor(clWindowText);
  if (p.Flat) {
    FAppearance->SetOverlays(false);
    FAppearance->SetShadows(false);
  }
  if (AStyle == tsOffice2019White) FAppearance->Font()->SetColor(0x444648);
  if (AStyle == tsOffice2019Gray) FAppearance->Font()->SetColor(0x232425);
  if (AStyle == tsOffice2019Black) FAppearance->Font()->SetColor(0xFFFFFF);
  TGDIPFill* bg = FAppearance->BackGroundFill();
  bg->SetColor(p.BackColor);
  bg->SetColorTo(p.BackColorTo);
  bg->SetBorderColor(p.BackBorder);
  TGDIPFill* pf = FAppearance->ProgressFill();
  pf->SetColor(p.Color);
  pf->SetColorTo(p.ColorTo);
  pf->SetColorMirror(p.ColorMirror);
  pf->SetColorMirrorTo(p.ColorMirrorTo);
  pf->SetBorderColor(p.Border);
  if (AStyle != tsTerminal) pf->SetGradientMirrorType(SmoothProgressIs2019(AStyle) ? gtNone : gtVertical);
  Invalidate();
}

void TAdvSmoothProgressBar::SetColorTones(const TColorTones& ATones) {
  // An empty tone set means "no tones": keep the current look rather than paint everything clNone.
  if (IsColorTonesEmpty(ATones)) return;
  FAppearance->SetOverlays(false);
  FAppearance->SetShadows(false);
  SetGlowAnimation(false);
  TGDIPFill* bg = FAppearance->BackGroundFill();
  bg->SetColor(ATones.Foreground.BrushColor);
  bg->SetColorTo(ATones.Foreground.BrushColor);
  bg->SetColorMirror(ATones.Foreground.BrushColor);
  bg->SetColorMirrorTo(ATones.Foreground.BrushColor);
  bg->SetBorderColor(ATones.Foreground.BorderColor);
  TGDIPFill* pf = FAppearance->ProgressFill();
  pf->SetColor(ATones.Selected.BrushColor);
  pf->SetColorTo(ATones.Selected.BrushColor);
  pf->SetColorMirror(ATones.Selected.BrushColor);
  pf->SetColorMirrorTo(ATones.Selected.BrushColor);
  pf->SetBorderColor(ATones.Selected.BorderColor);
  FAppearance->Font()->SetColor(ATones.Selected.TextColor);
  Invalidate();
}
