// What a toolbar paints, by sampled pixels: grip, separators, caption,
// border and right handle, at 96 and at 144 pixels per inch.
#include <gtest/gtest.h>

#include <memory>

#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {
namespace {

constexpr TColor Green = 0x00AA00, Blue = 0xCC0000, Red = 0x0000DD, Grey = 0x808080;

bool Close(TColor a, TColor b, int tol = 8) {
  a = ColorToRGB(a);
  b = ColorToRGB(b);
  for (int s = 0; s < 24; s += 8) {
    const int d = int((DWORD(a) >> s) & 0xFF) - int((DWORD(b) >> s) & 0xFF);
    if (d > tol || d < -tol) return false;
  }
  return true;
}

class ToolBarPaint : public ::testing::TestWithParam<Single> {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    gdiplus::InitializeGdiplusUnit();
    OldScale = ToolBarDPIScale;
    ToolBarDPIScale = GetParam();
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 400, 200);
    Form->SetColor(0xFFFFFF);
    Tb = new TZadEdevAzi(Form.get());
    Tb->SetName(u"Painted");
    Tb->SetParent(Form.get());
    Tb->SetAutoSize(false);  // a fixed size to sample
    Tb->SetBounds(0, 0, 200, 26);
    // A plain background: one colour, no round edges.
    S()->Color()->SetColor(Green);
    S()->Color()->SetColorTo(clNone);
    S()->SetRoundEdges(false);
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
    ToolBarDPIScale = OldScale;
  }
  TCustomZadEdevAziStyler* S() { return Tb->CurrentToolBarStyler(); }
  std::unique_ptr<TBitmap> Shot() {
    Form->Show();
    PumpPending();
    testinput::PaintPending();
    return testinput::Grab(Tb);
  }
  static TColor Px(const std::unique_ptr<TBitmap>& b, int x, int y) { return b->Canvas()->Pixels(x, y); }
  Integer N(Integer k) const { return ScaleToolBarSize(k, GetParam()); }

  std::unique_ptr<TForm> Form;
  TZadEdevAzi* Tb = nullptr;
  Single OldScale = 1.0f;
};

TEST_P(ToolBarPaint, DotsGripDrawsItsDots) {
  auto b = Shot();
  ASSERT_EQ(b->Height(), 26);
  // (26 - 8) div 4 = 4 dots from y = 5, 4 apart, each a shadow square over a white one.
  for (int y : {5, 9, 13, 17}) {
    EXPECT_TRUE(Close(Px(b, 4, y), clBtnShadow)) << y;
    EXPECT_TRUE(Close(Px(b, 6, y + 2), 0xFFFFFF)) << y;
  }
  EXPECT_TRUE(Close(Px(b, 4, 21), Green));  // no fifth dot
  EXPECT_TRUE(Close(Px(b, 40, 12), Green));
}

TEST_P(ToolBarPaint, SeparatorDrawsAnEtchedLine) {
  auto* a = new TButton(Form.get());
  a->SetBounds(50, 3, 30, 20);
  a->SetParent(Tb);
  auto* sep = new TZadEdevAziSeparator(Form.get());
  sep->SetBounds(100, 3, 10, 20);
  sep->SetParent(Tb);
  auto b = Shot();
  const int x = sep->Left() + sep->Width() / 2;
  const int y = sep->Top() + sep->Height() / 2;
  EXPECT_TRUE(Close(Px(b, x, y), clBtnShadow));
  EXPECT_TRUE(Close(Px(b, x + 1, y), 0xFFFFFF));
  EXPECT_TRUE(Close(Px(b, x - 2, y), Green));
  // Ends 3 pixels short of the separator's top.
  EXPECT_TRUE(Close(Px(b, x, sep->Top() + 1), Green));
}

TEST_P(ToolBarPaint, CaptionStripAndControlsBelowIt) {
  Tb->SetShowCaption(true);
  Tb->SetCaption(u"Tools");
  S()->CaptionAppearance()->SetCaptionColor(Grey);
  S()->CaptionAppearance()->SetCaptionColorTo(clNone);
  auto* a = new TButton(Form.get());
  a->SetBounds(50, 3, 150, 20);
  a->SetParent(Tb);
  Tb->SetAutoSize(true);
  auto b = Shot();
  const Integer h = N(16);
  EXPECT_EQ(a->Top(), h + 2);
  EXPECT_EQ(Tb->Height(), 26 + h);
  // The strip's last row is caption colour, the row below is background.
  EXPECT_TRUE(Close(Px(b, 100, h - 1), Grey));
  EXPECT_TRUE(Close(Px(b, 8, h + 1), Green));
  // The caption text (white on grey) is there.
  int light = 0;
  for (int x = 10; x < 60; ++x)
    for (int y = 0; y < h; ++y) light += Close(Px(b, x, y), 0xFFFFFF, 60);
  EXPECT_GT(light, 5);
}

TEST_P(ToolBarPaint, CaptionFillWithOnlyItsToColour) {
  Tb->SetShowCaption(true);
  S()->CaptionAppearance()->SetCaptionColor(clNone);
  S()->CaptionAppearance()->SetCaptionColorTo(Blue);
  auto b = Shot();
  EXPECT_TRUE(Close(Px(b, 150, 2), Blue));
}

TEST_P(ToolBarPaint, BorderSquareAndRounded) {
  S()->SetBorderColor(Red);
  {
    auto b = Shot();
    EXPECT_TRUE(Close(Px(b, 0, 12), Red));
    EXPECT_TRUE(Close(Px(b, 100, 0), Red));
    EXPECT_TRUE(Close(Px(b, Tb->Width() - 1, 12), Red));
    EXPECT_TRUE(Close(Px(b, 0, 0), Red));
  }
  S()->SetRoundEdges(true);
  auto b = Shot();
  EXPECT_TRUE(Close(Px(b, 0, 12), Red));
  EXPECT_FALSE(Close(Px(b, 0, 0), Red));  // the corner is rounded off
}

TEST_P(ToolBarPaint, RightHandleWidthFollowsTheScale) {
  S()->SetRightHandleColor(Blue);
  S()->SetRightHandleColorTo(clNone);
  Tb->SetShowOptionIndicator(false);
  auto b = Shot();
  const int w = Tb->Width();
  const TRect r = Tb->GetRightHandleRect();
  EXPECT_EQ(r.Left, w - N(14) - 1);
  EXPECT_TRUE(Close(Px(b, r.Left + 5, 12), Blue));
  EXPECT_TRUE(Close(Px(b, r.Left + 1, 12), Green));  // the first 3 pixels are not filled
  EXPECT_TRUE(Close(Px(b, w - N(14) - 4, 12), Green));
}

TEST_P(ToolBarPaint, NoneColoursPaintNothing) {
  // A handle whose colours are both clNone leaves the background showing.
  S()->SetRightHandleColor(clNone);
  S()->SetRightHandleColorTo(clNone);
  S()->SetRightHandleColorHot(clNone);
  Tb->SetShowOptionIndicator(false);
  S()->SetBorderColor(clNone);
  auto b = Shot();
  const TRect r = Tb->GetRightHandleRect();
  EXPECT_TRUE(Close(Px(b, r.Left + 6, 12), Green));
  EXPECT_TRUE(Close(Px(b, 0, 12), Green));
}

TEST_P(ToolBarPaint, NothingPaintsInsideAnUpdate) {
  auto before = Shot();
  Tb->BeginUpdate();
  S()->Color()->SetColor(Blue);
  auto during = Shot();
  EXPECT_FALSE(Close(Px(during, 40, 12), Blue));
  Tb->EndUpdate();
  auto after = Shot();
  EXPECT_TRUE(Close(Px(after, 40, 12), Blue));
}

TEST_P(ToolBarPaint, TiledBackgroundPicture) {
  TBitmap tile(4, 4);
  tile.Canvas()->Brush()->SetColor(Red);
  tile.Canvas()->FillRect(TRect{0, 0, 4, 4});
  S()->SetBackGround(&tile);
  S()->SetBackGroundDisplay(bdCenter);
  S()->SetBackGroundDisplay(bdTile);
  auto b = Shot();
  EXPECT_TRUE(Close(Px(b, 40, 12), Red));
  EXPECT_TRUE(Close(Px(b, 150, 20), Red));
}

TEST_P(ToolBarPaint, VerticalCaptionRunsAlongTheSide) {
  Tb->SetShowCaption(true);
  Tb->SetCaption(u"Tools");
  S()->CaptionAppearance()->SetCaptionColor(Grey);
  S()->CaptionAppearance()->SetCaptionColorTo(clNone);
  Tb->SetDockPosition(daLeft);
  // Turning sets length constraints; a fixed toolbar without AutoSize drops them.
  Tb->SetAutoSize(true);
  Tb->SetAutoSize(false);
  Tb->SetBounds(0, 0, 40, 150);
  auto b = Shot();
  const Integer h = N(16);
  EXPECT_EQ(Tb->GetCaptionRect(), (TRect{0, 0, h, 150}));
  EXPECT_TRUE(Close(Px(b, h - 1, 60), Grey));
  int light = 0;
  for (int y = 20; y < 134; ++y)  // below the grip, above the right handle
    for (int x = 0; x < h; ++x) light += Close(Px(b, x, y), 0xFFFFFF, 60);
  EXPECT_GT(light, 5);
}

TEST_P(ToolBarPaint, CaptionOptionIndicatorWhenTheRightHandleIsOff) {
  Tb->SetShowCaption(true);
  Tb->SetShowRightHandle(false);
  S()->GlowButtonAppearance()->SetColorHot(Blue);
  S()->GlowButtonAppearance()->SetColorHotTo(Blue);
  S()->GlowButtonAppearance()->SetColorMirrorHot(Blue);
  S()->GlowButtonAppearance()->SetColorMirrorHotTo(Blue);
  const TRect r = Tb->GetCaptionOptionRect();
  ASSERT_GE(r.Left, 0);
  EXPECT_EQ(r.Right, Tb->Width() - 1);
  Tb->SetCaptionOptionState(true, false);
  auto b = Shot();
  EXPECT_TRUE(Close(Px(b, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), Blue, 40));
  Tb->SetCaptionOptionState(false, false);
  auto normal = Shot();
  EXPECT_FALSE(Close(Px(normal, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), Blue, 40));
}

INSTANTIATE_TEST_SUITE_P(Scales, ToolBarPaint, ::testing::Values(1.0f, 1.5f),
                         [](const ::testing::TestParamInfo<Single>& I) { return I.param > 1.0f ? "PPI144" : "PPI96"; });

}  // namespace
}  // namespace toolbar
