// Toolbar buttons on a quick-access toolbar, seen through the interface the
// quick-access toolbar implements: sizing to its controls rectangle, the hot
// look without a toolbar, and the glass painting (GDI+ fills, the GDI+ arrow,
// the white caption on a maximised form).
#include "tests/toolbar/ToolBarButtonFixture.h"

#include "platform/vcl/ImgList.h"
#include "toolbar/ToolBarText.h"

namespace buttontest {

namespace {

using toolbar::IQuickAccessButtonHost;

// A control that answers for a quick-access toolbar.
class TQuickAccessHost : public TCustomControl, public IQuickAccessButtonHost {
 public:
  using TCustomControl::TCustomControl;
  TWinControl* HostControl() override { return this; }
  TCustomImageList* Images() const override { return FImages; }
  TCustomImageList* DisabledImages() const override { return nullptr; }
  toolbar::TCustomZadEdevAziStyler* GetToolBarStyler() override { return nullptr; }
  bool IsAeroVista() const override { return Glass; }
  bool FullSize() const override { return false; }
  TRect GetControlsRect() override { return TRect{0, 2, Width(), Height() - 2}; }
  void UpdateLayout() override { ++Layouts; }
  void HideOverflowWindow() override { ++OverflowHides; }
  ribbon::TAdvQuickAccessToolBar* Token() { return reinterpret_cast<ribbon::TAdvQuickAccessToolBar*>(this); }
  TCustomImageList* FImages = nullptr;
  bool Glass = false;
  int Layouts = 0, OverflowHides = 0;
};

IQuickAccessButtonHost* ResolveHost(ribbon::TAdvQuickAccessToolBar* q) {
  return reinterpret_cast<TQuickAccessHost*>(q);
}

class QuickAccessButtonTest : public ToolBarButtonTest {
 protected:
  void SetUp() override {
    ToolBarButtonTest::SetUp();
    toolbar::SetQuickAccessHostResolver(ResolveHost);
    Host = new TQuickAccessHost(Form.get());
    Host->SetParent(Form.get());
    Host->SetBounds(0, 0, 300, 30);
  }
  void TearDown() override {
    ToolBarButtonTest::TearDown();
    toolbar::SetQuickAccessHostResolver(nullptr);
  }
  TZadEdevAziButton* AddHostedButton() {
    auto* b = new TZadEdevAziButton(Form.get());
    b->SetAdvQuickAccessToolBar(Host->Token());
    b->SetParent(Host);
    return b;
  }
  TQuickAccessHost* Host = nullptr;
};

}  // namespace

TEST_F(QuickAccessButtonTest, SizesWithWiderMarginsAndTheControlsRectangle) {
  TBitmap probe(1, 1);
  probe.Canvas()->Font()->SetName(u"Tahoma");
  probe.Canvas()->Font()->SetHeight(-11);
  const int T = probe.Canvas()->TextWidth(u"Verify");
  auto* b = AddHostedButton();
  auto g = Filled(16, 16, 0x0000FF);
  b->SetGlyph(g.get());
  b->SetCaption(u"Verify");
  b->SetShowCaption(true);
  EXPECT_EQ(b->Width(), 16 + 4 + T + 8 + 8);  // 2 x margin more than on a toolbar
  EXPECT_EQ(b->Height(), std::max(16 + 8, (30 - 2 - 2) - 1));
  Host->SetBounds(0, 0, 300, 60);
  b->AdjustSize();
  EXPECT_EQ(b->Height(), 60 - 4 - 1);
}

TEST_F(QuickAccessButtonTest, HotWithoutAToolBarAndTheClickHidesTheOverflow) {
  auto* b = AddHostedButton();
  b->SetAutoSize(false);
  b->SetBounds(10, 4, 30, 22);
  ShowForm();
  testinput::MouseMove(b, TPoint{3, 3});
  EXPECT_TRUE(b->Hot());
  testinput::MouseMove(TPoint{390, 190});
  EXPECT_FALSE(b->Hot());
  testinput::Click(b, TPoint{3, 3});
  EXPECT_EQ(Host->OverflowHides, 1);
  const int before = Host->Layouts;
  b->SetVisible(false);
  EXPECT_EQ(Host->Layouts, before + 1);
}

TEST_F(QuickAccessButtonTest, GlassFacesUseTheGdiPlusRoutines) {
  Host->Glass = true;
  auto* b = AddHostedButton();
  b->SetAutoSize(false);
  b->SetBounds(0, 0, 40, 24);
  b->SetParentStyler(false);
  b->SetTransparent(false);
  b->Appearance()->SetColorDown(0x778899);
  b->Appearance()->SetColorDownTo(clNone);
  b->Appearance()->SetColorHot(0x445566);
  b->Appearance()->SetColorHotTo(clNone);
  b->Appearance()->SetBorderDownColor(0x303030);
  b->SetDropDownButton(true);
  b->SetState(absDown);
  auto sheet = Filled(40, 24, 0x00FF00);
  b->DrawButton(sheet->Canvas());
  EXPECT_TRUE(Near(sheet->Canvas()->Pixels(10, 12), 0x778899, 2));
  EXPECT_TRUE(Near(sheet->Canvas()->Pixels(30, 3), 0x445566, 2));
  // The arrow of the drop part: 5, 3 and 1 pixels, pointing down.
  const TRect D{28, 0, 40, 24};
  const int ax = D.Left + (D.Width() - 5) / 2, ay = D.Top + (D.Height() - 3) / 2 + 1;
  EXPECT_TRUE(Near(sheet->Canvas()->Pixels(ax + 2, ay), 0x000000, 90));
  EXPECT_TRUE(Near(sheet->Canvas()->Pixels(ax + 2, ay + 5), 0x445566, 2));
}

TEST_F(QuickAccessButtonTest, GlassCaptionTurnsWhiteOnAMaximisedForm) {
  Host->Glass = true;
  auto* b = AddHostedButton();
  b->SetAutoSize(false);
  b->SetBounds(0, 0, 60, 24);
  b->SetParentStyler(false);
  b->SetDropDownButton(true);
  b->Appearance()->SetCaptionTextColor(0x000000);
  auto count = [&](TColor want) {
    auto sheet = Filled(60, 24, 0x808000);
    b->DrawButton(sheet->Canvas());
    int n = 0;
    for (int x = 0; x < 60; ++x)
      for (int y = 0; y < 24; ++y)
        if (Near(sheet->Canvas()->Pixels(x, y), want, 40)) ++n;
    return n;
  };
  EXPECT_EQ(count(0xFFFFFF), 0);
  EXPECT_GT(count(0x000000), 0);  // the arrow
  Form->SetWindowState(wsMaximized);
  EXPECT_GT(count(0xFFFFFF), 0);
  EXPECT_EQ(count(0x000000), 0);
}

}  // namespace buttontest

namespace buttontest {

TEST_F(QuickAccessButtonTest, GlassDrawsListImagesThroughTheGdiPlusRoutine) {
  Host->Glass = true;
  TImageList images(nullptr);
  auto square = Filled(16, 16, 0xFF00FF);
  square->Canvas()->Brush()->SetColor(0x0000FF);
  square->Canvas()->FillRect(TRect{2, 2, 14, 14});
  images.AddMasked(square.get(), 0xFF00FF);
  Host->FImages = &images;
  auto* b = AddHostedButton();
  b->SetAutoSize(false);
  b->SetBounds(0, 0, 30, 30);
  b->SetImageIndex(0);
  auto sheet = Filled(30, 30, 0x00FF00);
  b->DrawButton(sheet->Canvas());
  EXPECT_TRUE(Near(sheet->Canvas()->Pixels(15, 15), 0x0000FF, 2));
  EXPECT_TRUE(Near(sheet->Canvas()->Pixels(8, 8), 0x00FF00, 2));  // the key colour left out
  Host->FImages = nullptr;
}

}  // namespace buttontest

namespace buttontest {

// On the glass caption the caption is measured as the glass caption routine
// draws it.
TEST_F(QuickAccessButtonTest, GlassCaptionWidthComesFromTheCaptionRoutine) {
  Host->Glass = true;
  TBitmap probe(1, 1);
  probe.Canvas()->Font()->SetName(u"Tahoma");
  probe.Canvas()->Font()->SetHeight(-11);
  TRect r{};
  toolbar::DrawCaptionText(probe.Canvas(), u"Verify all", u"", probe.Canvas()->Font(), TRect{0, 0, 1000, 100},
                           taLeftJustify, DT_SINGLELINE, gdiplus::aaClearType, true, false, false, false, r);
  ASSERT_GT(r.Right - r.Left, 0);
  auto* b = AddHostedButton();
  b->SetCaption(u"Verify all");
  b->SetShowCaption(true);
  EXPECT_EQ(b->Width(), (r.Right - r.Left) + 8 + 8);
}

}  // namespace buttontest
