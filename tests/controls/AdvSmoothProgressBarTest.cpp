// The smooth progress bar: targets and clamping, the stepped approach and
// its exact end, the glow band and the marquee band, the timers resting when
// there is nothing to do, presets and tones, and sampled pixels.
#include <cmath>
#include <limits>

#include "controls/AdvSmoothProgressBar.h"
#include "platform/testing/VirtualClock.h"
#include "tests/controls/StatusFixture.h"

using namespace gdiplus;

namespace {

class SmoothProgressTest : public StatusFormTest {
 protected:
  void SetUp() override {
    StatusFormTest::SetUp();
    Form = NewForm(300, 60);
    Bar = new TAdvSmoothProgressBar(Form);
    Bar->SetParent(Form);
    Bar->SetBounds(10, 10, 200, 20);
    Form->Show();
  }
  // Ticks of 10 ms until the drawn value stops changing (at most Limit), answering their number.
  int RunUntilStill(TVirtualClock& clock, int Limit = 1000) {
    int n = 0;
    double last = std::nan("");
    while (n < Limit && Bar->Position() != last) {
      last = Bar->Position();
      clock.Advance(10);
      ++n;
    }
    return n;
  }
  TForm* Form = nullptr;
  TAdvSmoothProgressBar* Bar = nullptr;
};

TEST_F(SmoothProgressTest, TargetsAreClampedAndNaNIsRejected) {
  Bar->SetProgressAnimation(false);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct TCase {
    double Set, Expect;
  } cases[] = {{150, 100}, {-5, 0}, {42.5, 42.5}, {100, 100}, {nan, 100}, {0, 0}, {nan, 0},
               {std::numeric_limits<double>::infinity(), 100}};
  for (const TCase& c : cases) {
    Bar->SetPosition(c.Set);
    EXPECT_EQ(Bar->Position(), c.Expect) << c.Set;
  }
  // NaN bounds are ignored too, so the range stays usable.
  Bar->SetMaximum(nan);
  Bar->SetMinimum(nan);
  EXPECT_EQ(Bar->Maximum(), 100);
  EXPECT_EQ(Bar->Minimum(), 0);
}

TEST_F(SmoothProgressTest, WithoutAnimationThePositionChangesOnce) {
  Bar->SetProgressAnimation(false);
  std::vector<double> seen;
  Bar->OnPositionChanged = [&](TObject*, double v) { seen.push_back(v); };
  Bar->SetPosition(30);
  EXPECT_EQ(seen, (std::vector<double>{30}));
  EXPECT_EQ(Bar->Position(), 30);
}

TEST_F(SmoothProgressTest, AnimationRisesStepByStepAndEndsExactlyAtTheTarget) {
  TVirtualClock clock;
  Bar->SetGlowAnimation(false);
  std::vector<double> seen;
  Bar->OnPositionChanged = [&](TObject*, double v) { seen.push_back(v); };
  Bar->SetPosition(50);
  EXPECT_EQ(Bar->Position(), 0);  // the timer does the moving
  EXPECT_TRUE(Bar->AnimationInProgress());
  clock.Advance(10);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_NEAR(seen[0], 50.0 / 15, 1e-9);  // a fifteenth of the distance per tick
  const int ticks = RunUntilStill(clock);
  EXPECT_LT(ticks, 300);
  ASSERT_GE(seen.size(), 10u);
  for (size_t i = 1; i < seen.size(); ++i) EXPECT_GE(seen[i], seen[i - 1]);
  EXPECT_EQ(seen.back(), 50.0);  // exactly, not merely close
  EXPECT_EQ(Bar->Position(), 50.0);
  EXPECT_FALSE(Bar->AnimationInProgress());
}

TEST_F(SmoothProgressTest, NewTargetDuringAnimationShowsAtOnceAndNextCountsFromTheTarget) {
  TVirtualClock clock;
  Bar->SetPosition(40);
  clock.Advance(30);
  ASSERT_TRUE(Bar->AnimationInProgress());
  ASSERT_LT(Bar->Position(), 40);
  Bar->Next();  // from the target 40, not from the drawn value
  EXPECT_EQ(Bar->Position(), 50);
  Bar->SetPosition(80);
  EXPECT_EQ(Bar->Position(), 50);  // no animation was running any more: approached again
  clock.Advance(20);
  ASSERT_TRUE(Bar->AnimationInProgress());
  Bar->SetPosition(80 + 0);  // same target while moving: shown at once
  EXPECT_EQ(Bar->Position(), 80);
}

TEST_F(SmoothProgressTest, LoweringTheMaximumAnimatesDownToIt) {
  TVirtualClock clock;
  Bar->SetGlowAnimation(false);
  Bar->SetPosition(90);
  RunUntilStill(clock);
  ASSERT_EQ(Bar->Position(), 90);
  Bar->SetMaximum(60);
  EXPECT_EQ(Bar->Position(), 90);  // the drawn value is not jumped
  clock.Advance(10);
  EXPECT_LT(Bar->Position(), 90);
  EXPECT_GT(Bar->Position(), 60);
  RunUntilStill(clock);
  EXPECT_EQ(Bar->Position(), 60);
}

TEST_F(SmoothProgressTest, AnimationTimerRestsWhenIdleOrHidden) {
  TVirtualClock clock;
  Bar->SetGlowAnimation(false);
  EXPECT_FALSE(Bar->AnimationTimerRunning());  // nothing to move at the start
  Bar->SetPosition(20);
  EXPECT_TRUE(Bar->AnimationTimerRunning());
  RunUntilStill(clock);
  EXPECT_FALSE(Bar->AnimationTimerRunning());
  // With the glow on and a position above the minimum the band keeps it running...
  Bar->SetGlowAnimation(true);
  EXPECT_TRUE(Bar->AnimationTimerRunning());
  // ...but not while the bar is hidden; showing it again resumes.
  Bar->Hide();
  EXPECT_FALSE(Bar->AnimationTimerRunning());
  const double before = Bar->GlowPos();
  clock.Advance(100);
  EXPECT_EQ(Bar->GlowPos(), before);
  Bar->Show();
  EXPECT_TRUE(Bar->AnimationTimerRunning());
  // A pending animation waits while hidden and goes on afterwards.
  Bar->Hide();
  Bar->SetPosition(70);
  clock.Advance(100);
  EXPECT_EQ(Bar->Position(), 20);
  Bar->Show();
  RunUntilStill(clock);
  EXPECT_EQ(Bar->Position(), 70);
}

TEST_F(SmoothProgressTest, TimersRestWhileTheFormIsHidden) {
  TVirtualClock clock;
  Bar->SetPosition(50);
  RunUntilStill(clock);
  ASSERT_TRUE(Bar->AnimationTimerRunning());  // the glow keeps it going on a shown form
  Form->Hide();
  clock.Advance(10);
  EXPECT_FALSE(Bar->AnimationTimerRunning());
  const double glow = Bar->GlowPos();
  clock.Advance(500);
  EXPECT_EQ(Bar->GlowPos(), glow);
  // A new target waits too, and is approached once the form shows again.
  Bar->SetPosition(90);
  EXPECT_FALSE(Bar->AnimationTimerRunning());
  clock.Advance(100);
  EXPECT_EQ(Bar->Position(), 50);
  Form->Show();
  Settle();
  EXPECT_TRUE(Bar->AnimationTimerRunning());
  RunUntilStill(clock);
  EXPECT_EQ(Bar->Position(), 90);
  // The marquee rests the same way.
  Bar->SetStyle(pbstMarquee);
  EXPECT_TRUE(Bar->MarqueeTimerRunning());
  Form->Hide();
  clock.Advance(10);
  EXPECT_FALSE(Bar->MarqueeTimerRunning());
  Form->Show();
  Settle();
  EXPECT_TRUE(Bar->MarqueeTimerRunning());
}

TEST_F(SmoothProgressTest, GlowCrossesThenWaitsAndStopsAtTheMinimum) {
  TVirtualClock clock;
  Bar->SetProgressAnimation(false);
  Bar->SetPosition(100);
  // The first pass starts at once: 3 pixels a tick from -40.
  clock.Advance(10);
  EXPECT_EQ(Bar->GlowPos(), -37);
  // Past the filled width the band restarts at -60 and waits 150 ticks.
  clock.Advance(10 * 200);
  EXPECT_EQ(Bar->GlowPos(), -60);
  EXPECT_GT(Bar->GlowCount(), 0);
  EXPECT_LT(Bar->GlowCount(), 1500);
  // At exactly the minimum the band neither steps nor keeps the timer running.
  Bar->SetPosition(0);
  const double pos = Bar->GlowPos();
  clock.Advance(100);
  EXPECT_EQ(Bar->GlowPos(), pos);
  EXPECT_FALSE(Bar->AnimationTimerRunning());
}

TEST_F(SmoothProgressTest, MarqueeMovesEightPixelsAndWraps) {
  TVirtualClock clock;
  Bar->SetMarqueeSize(20);
  Bar->SetStyle(pbstMarquee);
  EXPECT_TRUE(Bar->MarqueeTimerRunning());
  EXPECT_FALSE(Bar->AnimationTimerRunning());
  double last = Bar->GlowPos();
  bool wrapped = false;
  for (int i = 0; i < 40 && !wrapped; ++i) {
    clock.Advance(10);
    if (Bar->GlowPos() < last) {
      wrapped = true;
      EXPECT_GT(last + 8, 200 + 2 * 20);  // passed Width + 2 x size
      EXPECT_EQ(Bar->GlowPos(), -40);     // restarts at -2 x size
    } else {
      EXPECT_EQ(Bar->GlowPos(), last + 8);
    }
    last = Bar->GlowPos();
  }
  EXPECT_TRUE(wrapped);
  Bar->Hide();
  EXPECT_FALSE(Bar->MarqueeTimerRunning());
}

TEST_F(SmoothProgressTest, PaintsBackgroundFilledPartAndMarqueeBand) {
  Bar->SetGlowAnimation(false);
  Bar->SetProgressAnimation(false);
  Bar->Appearance()->SetOverlays(false);
  Bar->Appearance()->SetShadows(false);
  Bar->Appearance()->BackGroundFill()->SetColor(clBlue);
  Bar->Appearance()->BackGroundFill()->SetColorTo(clBlue);
  Bar->Appearance()->ProgressFill()->SetColor(clRed);
  Bar->Appearance()->ProgressFill()->SetColorTo(clRed);
  Bar->Appearance()->ProgressFill()->SetGradientMirrorType(gtNone);
  Bar->SetPosition(50);
  Form->Show();
  Settle();
  auto bmp = testinput::Grab(Bar);
  ASSERT_EQ(bmp->Width(), 200);
  EXPECT_TRUE(StatusNear(StatusPixel(bmp.get(), 40, 10), clRed, 20));
  EXPECT_TRUE(StatusNear(StatusPixel(bmp.get(), 160, 10), clBlue, 20));
  // Marquee: no filled part, a green band where the glow position is.
  TVirtualClock clock;
  Bar->SetMarqueeColor(clLime);
  Bar->SetStyle(pbstMarquee);
  while (Bar->GlowPos() < 100) clock.Advance(10);
  Settle();
  bmp = testinput::Grab(Bar);
  const int at = int(Bar->GlowPos());
  EXPECT_GT(StatusGreen(StatusPixel(bmp.get(), at, 10)), 60);
  EXPECT_LT(StatusRed(StatusPixel(bmp.get(), 40, 10)), 60);  // the red part is gone
}

TEST_F(SmoothProgressTest, GlowIsDrawnWhereverItSteps) {
  // A range below zero: position 0 is above the minimum, so the band both moves and shows.
  TVirtualClock clock;
  Bar->SetProgressAnimation(false);
  Bar->Appearance()->SetOverlays(false);
  Bar->Appearance()->SetShadows(false);
  Bar->Appearance()->ProgressFill()->SetColor(clRed);
  Bar->Appearance()->ProgressFill()->SetColorTo(clRed);
  Bar->Appearance()->ProgressFill()->SetGradientMirrorType(gtNone);
  Bar->SetMinimum(-100);
  Bar->SetPosition(0);  // half the bar
  Form->Show();
  while (Bar->GlowPos() < 60) clock.Advance(10);
  Settle();
  auto bmp = testinput::Grab(Bar);
  const int at = int(Bar->GlowPos());
  EXPECT_GT(StatusGreen(StatusPixel(bmp.get(), at, 10)), 60);  // the white band over the red part
  EXPECT_LT(StatusGreen(StatusPixel(bmp.get(), at + 35, 10)), 30);
}

TEST_F(SmoothProgressTest, PresetsAndTones) {
  Bar->SetComponentStyle(tsOffice2007Luna);
  EXPECT_EQ(Bar->UIStyle(), tsOffice2007Luna);
  EXPECT_EQ(Bar->Appearance()->ProgressFill()->Color(), TColor(0xFFEFE3));
  EXPECT_EQ(Bar->Appearance()->ProgressFill()->ColorMirrorTo(), TColor(0xFFDBC0));
  EXPECT_EQ(Bar->Appearance()->BackGroundFill()->BorderColor(), TColor(0xC0C0C0));
  EXPECT_TRUE(Bar->Appearance()->Overlays());
  Bar->SetComponentStyle(tsOffice2019White);
  EXPECT_EQ(Bar->Appearance()->ProgressFill()->Color(), TColor(0xE3BDA3));
  EXPECT_EQ(Bar->Appearance()->ProgressFill()->GradientMirrorType(), gtNone);
  EXPECT_EQ(Bar->Appearance()->Font()->Color(), TColor(0x444648));
  EXPECT_FALSE(Bar->Appearance()->Overlays());
  // Custom keeps every colour.
  Bar->SetComponentStyle(tsCustom);
  EXPECT_EQ(Bar->Appearance()->ProgressFill()->Color(), TColor(0xE3BDA3));
  // Windows 8 and 10 look the same.
  TAdvSmoothProgressBar other(nullptr);
  Bar->SetComponentStyle(tsWindows8);
  other.SetComponentStyle(tsWindows10);
  EXPECT_EQ(Bar->Appearance()->ProgressFill()->Color(), other.Appearance()->ProgressFill()->Color());
  EXPECT_EQ(Bar->Appearance()->BackGroundFill()->Color(), other.Appearance()->BackGroundFill()->Color());
  // Empty tones change nothing; real tones give a flat look without glow.
  const TColor before = Bar->Appearance()->ProgressFill()->Color();
  Bar->SetColorTones(EmptyColorTones());
  EXPECT_EQ(Bar->Appearance()->ProgressFill()->Color(), before);
  EXPECT_TRUE(Bar->GlowAnimation());
  TColorTones t = EmptyColorTones();
  t.Background.BrushColor = clWhite;
  t.Foreground = {0x101010, 0x202020, 0x303030};
  t.Selected = {0x404040, 0x505050, 0x606060};
  Bar->SetColorTones(t);
  EXPECT_FALSE(Bar->GlowAnimation());
  EXPECT_EQ(Bar->Appearance()->BackGroundFill()->ColorMirrorTo(), TColor(0x101010));
  EXPECT_EQ(Bar->Appearance()->BackGroundFill()->BorderColor(), TColor(0x202020));
  EXPECT_EQ(Bar->Appearance()->ProgressFill()->ColorTo(), TColor(0x404040));
  EXPECT_EQ(Bar->Appearance()->Font()->Color(), TColor(0x606060));
}

}  // namespace
