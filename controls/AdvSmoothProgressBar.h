#pragma once
// TAdvSmoothProgressBar: a progress bar painted with the fill painter of the
// component core. New positions are approached in small steps by a 10 ms
// timer, a light band ("glow") crosses the filled part now and then, and in
// marquee mode a coloured band runs across the empty bar.
#include <functional>
#include <memory>

#include "foundation/gdiplus/GDIPProgress.h"
#include "foundation/style/VornStyle.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Timer.h"

enum TProgressBarStyle : Integer { pbstNormal, pbstMarquee };

using TAdvSmoothProgressBarPositionChanged = std::function<void(TObject* Sender, Double Value)>;

class TAdvSmoothProgressBar : public TCustomControl, public IVornTones, public IVornStyle {
 public:
  explicit TAdvSmoothProgressBar(TComponent* AOwner);
  ~TAdvSmoothProgressBar() override;

  // From another TAdvSmoothProgressBar: Step, range, the current value (drawn
  // only), the animation switches, the appearance and the marquee settings;
  // other sources are ignored.
  void Assign(TPersistent* Source) override;

  // True while an animation toward the target is under way.
  bool AnimationInProgress() const;
  // Position := AValue (see SetPosition).
  void GoToValue(Double AValue) { SetPosition(AValue); }
  void GoToStart() { SetPosition(FMinimum); }
  void GoToEnd() { SetPosition(FMaximum); }
  // Target plus (minus) the step; counted from the target, not the drawn value.
  void Next() { Next(FStep); }
  void Next(Double AStep) { SetPosition(FPositionTo + AStep); }
  void Previous() { Previous(FStep); }
  void Previous(Double AStep) { SetPosition(FPositionTo - AStep); }

  // IVornTones: a flat look from the Foreground and Selected tones; empty tones change nothing.
  void SetColorTones(const TColorTones& ATones) override;
  // IVornStyle: UIStyle := AStyle and the preset of that style (tsCustom: nothing more).
  void SetComponentStyle(TVornStyle AStyle) override;
  TVornStyle GetComponentStyle() const { return FVornStyle; }
  // The class name.
  String GetThemeID() const { return u"TAdvSmoothProgressBar"; }
  // Theme files are not kept by this bar: both do nothing.
  void LoadFromTheme(const String&) {}
  void SaveToTheme(const String&) {}

  Double Minimum() const { return FMinimum; }
  // A NaN value is ignored. A position below the new minimum moves up to it.
  void SetMinimum(Double Value);
  Double Maximum() const { return FMaximum; }
  // A NaN value is ignored. A position above the new maximum moves down to it.
  void SetMaximum(Double Value);
  // The current (animated) value.
  Double Position() const { return FPosition; }
  // The value the animated position is moving to.
  Double PositionTo() const { return FPositionTo; }
  // The new target, clamped into Minimum..Maximum; NaN is ignored.
  void SetPosition(Double Value);
  Double Step() const { return FStep; }
  void SetStep(Double Value);
  bool ProgressAnimation() const { return FProgressAnimation; }
  void SetProgressAnimation(bool Value);
  bool GlowAnimation() const { return FGlowAnimation; }
  void SetGlowAnimation(bool Value);
  gdiplus::TGDIPProgress* Appearance() const { return FAppearance.get(); }
  // Assigns another appearance into the owned one (nullptr or itself: nothing).
  void SetAppearance(gdiplus::TGDIPProgress* Value);
  TProgressBarStyle Style() const { return FStyle; }
  void SetStyle(TProgressBarStyle Value);
  Integer MarqueeInterval() const { return FMarqueeInterval; }
  // Intervals below 1 are ignored.
  void SetMarqueeInterval(Integer Value);
  TColor MarqueeColor() const { return FMarqueeColor; }
  void SetMarqueeColor(TColor Value);
  Integer MarqueeSize() const { return FMarqueeSize; }
  void SetMarqueeSize(Integer Value);
  gdiplus::TGDIPProgressDirection Direction() const { return FDirection; }
  void SetDirection(gdiplus::TGDIPProgressDirection Value);
  TVornStyle UIStyle() const { return FVornStyle; }
  void SetUIStyle(TVornStyle Value) { SetComponentStyle(Value); }
  String Version() const { return u"1.10.1.2"; }
  void SetVersion(const String&) {}

  // For tests and the owner: the band's position and wait counter, and
  // whether the timers are running.
  Double GlowPos() const { return FGlowPos; }
  Integer GlowCount() const { return FGlowCount; }
  bool AnimationTimerRunning() const { return FAnimationTimer->Enabled(); }
  bool MarqueeTimerRunning() const { return FMarqueeTimer->Enabled(); }

  TAdvSmoothProgressBarPositionChanged OnPositionChanged;
  gdiplus::TGDIPProgressDrawValueEvent OnDrawValue;
  TNotifyEvent OnChange;  // kept for forms that set it; the bar never fires it

  void Loaded() override;

 protected:
  void Paint() override;
  void Resize() override;
  void CMVisibleChanged(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;

 private:
  bool AnimationActive() const;
  bool GlowActive() const;
  bool NeedsParentBackground() const;
  void AnimationTick(TObject* Sender);
  void MarqueeTick(TObject* Sender);
  // Runs each timer only while it has something to do and the bar is visible.
  void UpdateTimers();
  // The bar, its parents and its form are all visible (the timers run only then).
  bool OnScreen() const;
  void ApplyPreset(TVornStyle AStyle);
  void DrawGlow(gdiplus::TGPGraphics& g, const TRect& r);
  void AppearanceChanged(TObject* Sender);

  Double FMinimum = 0, FMaximum = 100, FStep = 10;
  Double FPositionTo = 0, FPositionTemp = 0, FPosition = 0;
  bool FAnimate = false;
  bool FDoAnimation = false;
  bool FProgressAnimation = true, FGlowAnimation = true;
  Integer FGlowCount = 3000;
  Double FGlowPos = -40.0;
  TRect FRect;
  std::unique_ptr<gdiplus::TGDIPProgress> FAppearance;
  std::unique_ptr<TTimer> FAnimationTimer, FMarqueeTimer;
  TProgressBarStyle FStyle = pbstNormal;
  Integer FMarqueeInterval = 10;
  TColor FMarqueeColor = 0x00FF00;
  Integer FMarqueeSize = 60;
  gdiplus::TGDIPProgressDirection FDirection = gdiplus::pbdHorizontal;
  TVornStyle FVornStyle = tsCustom;
};
