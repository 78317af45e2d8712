// The caption layer over a pager's caption row: how the pager makes it,
// which presses start a top-edge resize and which reach its own mouse-down
// event, the drag of a maximized window, the sizing cursor per form state,
// the resize with its minimum height, double clicks with their position and
// the text painted through its event.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Monitors.h"
#include "ribbon/CaptionLayer.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/AdvToolBarLayout.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {
namespace caption_layer_test {
namespace {

class CaptionLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    gdiplus::InitializeGdiplusUnit();
    toolbar::InitializeToolBarShared();
    toolbar::SetToolBarTextMeasure([](TCanvas*, const String& Text) { return Integer(Text.size()) * 7; });
    monitors_internal::SetVirtualMonitors({{u"main", TRect{0, 0, 1600, 1000}, TRect{0, 0, 1600, 960}, 96, true}});
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(300, 300, 600, 400);
    Pager = new TZadEdevAziPager(Form.get());
    Pager->SetParent(Form.get());
    Pager->AddAdvPage(u"One");
    Pager->Loaded();
    Pager->SetTabStop(false);
    Layer = Pager->NeedCaptionLayer();
    Layer->SetBounds(100, 0, 300, 26);
    Layer->SetCaption(u"Document");
    Layer->OnMouseDown = [this](TObject*, TMouseButton B, TShiftState, Integer X, Integer Y) {
      Downs.push_back({B, X, Y});
    };
    Form->Show();
    PumpPending();
  }
  void TearDown() override {
    testinput::MouseUp(mbLeft);
    testinput::MouseUp(mbRight);
    Form.reset();
    PumpPending();
    monitors_internal::SetVirtualMonitors({});
    toolbar::SetToolBarTextMeasure(nullptr);
  }
  void Press(TPoint P, TMouseButton B = mbLeft) {
    testinput::MouseMove(Layer, P);
    testinput::MouseDown(B);
  }
  struct TDown {
    TMouseButton Button;
    Integer X, Y;
  };
  std::unique_ptr<TForm> Form;
  TZadEdevAziPager* Pager = nullptr;
  TCaptionLayer* Layer = nullptr;
  std::vector<TDown> Downs;
};

TEST_F(CaptionLayerTest, PagerMakesOneLayerBehindItsOtherChildren) {
  EXPECT_EQ(Pager->CaptionLayer(), Layer);
  EXPECT_EQ(Pager->NeedCaptionLayer(), Layer) << "made once";
  EXPECT_EQ(Layer->Owner(), Pager);
  EXPECT_EQ(Layer->Parent(), Pager);
  EXPECT_EQ(Layer->Align(), alNone);
  Integer firstWindowed = -1;
  for (Integer i = 0; i < Pager->ControlCount() && firstWindowed < 0; ++i)
    if (dynamic_cast<TWinControl*>(Pager->Controls(i)) != nullptr) firstWindowed = i;
  EXPECT_EQ(Pager->Controls(firstWindowed), Layer) << "sent to the back";
  EXPECT_TRUE(Layer->ControlStyle().Contains(csParentBackground));
  EXPECT_FALSE(Layer->ControlStyle().Contains(csOpaque));
  EXPECT_EQ(Layer->BackColor(), clNone);
  TAdvGlowButton* ref = Layer->RefGlowButton();
  ASSERT_NE(ref, nullptr);
  EXPECT_EQ(ref->Parent(), Layer);
  EXPECT_EQ(ref->BoundsRect(), (TRect{1, 1, 2, 2}));
  EXPECT_FALSE(ref->TabStop());
  EXPECT_TRUE(ref->Transparent());
}

struct TPressCase {
  const char* Name;
  TMouseButton Button;
  Integer Y;
  bool Resizes;
  bool FiresMouseDown;
};
void PrintTo(const TPressCase& C, std::ostream* os) { *os << C.Name; }

class CaptionLayerPress : public CaptionLayerTest, public ::testing::WithParamInterface<TPressCase> {};

TEST_P(CaptionLayerPress, TopSixPixelsResizeElsewhereTheEventFires) {
  const TPressCase c = GetParam();
  Press(TPoint{40, c.Y}, c.Button);
  EXPECT_EQ(Layer->Resizing(), c.Resizes);
  if (c.Resizes) {
    EXPECT_EQ(Layer->ResizingClip(), rcTop);
  }
  ASSERT_EQ(Downs.size(), c.FiresMouseDown ? 1u : 0u);
  if (c.FiresMouseDown) {
    EXPECT_EQ(Downs[0].Button, c.Button);
    EXPECT_EQ(Downs[0].X, 40);
    EXPECT_EQ(Downs[0].Y, c.Y);
  }
  testinput::MouseUp(c.Button);
  EXPECT_FALSE(Layer->Resizing());
}

INSTANTIATE_TEST_SUITE_P(Presses, CaptionLayerPress,
                         ::testing::Values(TPressCase{"LeftAtTheTop", mbLeft, 0, true, false},
                                           TPressCase{"LeftAtFive", mbLeft, 5, true, false},
                                           TPressCase{"LeftAtSix", mbLeft, 6, false, true},
                                           TPressCase{"LeftLower", mbLeft, 20, false, true},
                                           TPressCase{"RightAtTheTop", mbRight, 2, false, true},
                                           TPressCase{"RightLower", mbRight, 20, false, true}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(CaptionLayerTest, PressOnAMaximizedFormHandsTheDragToTheForm) {
  std::vector<TMessage> seen;
  auto inner = Form->WindowProc;
  Form->WindowProc = [&](TMessage& M) {
    if (M.Msg == WM_NCLBUTTONDOWN) {
      seen.push_back(M);  // the window drag itself is not started here
      return;
    }
    inner(M);
  };
  Press(TPoint{40, 12});
  testinput::MouseUp(mbLeft);
  EXPECT_TRUE(seen.empty()) << "a normal form is not dragged from the layer";
  Form->SetWindowState(wsMaximized);
  PumpPending();
  Downs.clear();
  Press(TPoint{40, 12});
  testinput::MouseUp(mbLeft);
  Form->WindowProc = inner;
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].WParam, WPARAM(HTCAPTION));
  EXPECT_EQ(PointFromLParam(seen[0].LParam), Layer->ClientToScreen(TPoint{40, 12}));
  EXPECT_EQ(Downs.size(), 1u) << "the event fires after the drag request";
}

struct TCursorCase {
  const char* Name;
  TFormBorderStyle Border;
  bool Maximized;
  bool Sizes;
};
void PrintTo(const TCursorCase& C, std::ostream* os) { *os << C.Name; }

class CaptionLayerCursor : public CaptionLayerTest, public ::testing::WithParamInterface<TCursorCase> {};

TEST_P(CaptionLayerCursor, SizingCursorOnlyOverTheBandOfASizeableNormalForm) {
  const TCursorCase c = GetParam();
  Form->SetBorderStyle(c.Border);
  if (c.Maximized) Form->SetWindowState(wsMaximized);
  PumpPending();
  testinput::MouseMove(Layer, TPoint{40, 12});
  testinput::MouseMove(Layer, TPoint{40, 3});
  EXPECT_EQ(Layer->Cursor(), c.Sizes ? crSizeNS : crDefault);
  testinput::MouseMove(Layer, TPoint{40, 0});
  EXPECT_EQ(Layer->Cursor(), c.Sizes ? crSizeNS : crDefault);
  testinput::MouseMove(Layer, TPoint{40, 6});
  EXPECT_EQ(Layer->Cursor(), crDefault);
}

INSTANTIATE_TEST_SUITE_P(Forms, CaptionLayerCursor,
                         ::testing::Values(TCursorCase{"Borderless", bsNone, false, true},
                                           TCursorCase{"Sizeable", bsSizeable, false, true},
                                           TCursorCase{"Maximized", bsNone, true, false},
                                           TCursorCase{"Single", bsSingle, false, false},
                                           TCursorCase{"Dialog", bsDialog, false, false},
                                           TCursorCase{"ToolWindow", bsToolWindow, false, false}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(CaptionLayerTest, DraggingTheTopEdgeMovesTheTopAndKeepsAMinimumHeight) {
  const TRect start = Form->BoundsRect();
  Press(TPoint{40, 0});
  ASSERT_TRUE(Layer->Resizing());
  // Ten pixels up: the top follows, the bottom stays.
  testinput::MouseMove(Layer, TPoint{40, -10}, TShiftState{ssLeft});
  EXPECT_EQ(Form->Top(), start.Top - 10);
  EXPECT_EQ(Form->Height(), start.Height() + 10);
  EXPECT_EQ(Layer->ResizingDir(), 1);
  EXPECT_EQ(Form->BoundsRect().Bottom, start.Bottom);
  // Far down: the form stops at its minimum, its bottom still in place.
  const Integer minHeight = Layer->MinFormHeight();
  ASSERT_GE(minHeight, Layer->Height());
  testinput::MouseMove(TPoint{Layer->ClientToScreen(TPoint{40, 0}).X, start.Bottom + 200}, TShiftState{ssLeft});
  EXPECT_EQ(Form->Height(), minHeight);
  EXPECT_EQ(Form->BoundsRect().Bottom, start.Bottom);
  testinput::MouseUp(mbLeft);
  EXPECT_FALSE(Layer->Resizing());
  EXPECT_EQ(Layer->ResizingDir(), 0);
  // Without a press the band only shows the cursor.
  const TRect after = Form->BoundsRect();
  testinput::MouseMove(Layer, TPoint{40, 2});
  testinput::MouseMove(Layer, TPoint{40, -5});
  EXPECT_EQ(Form->BoundsRect(), after);
  // The form's own minimum binds too.
  Form->SetBoundsRect(start);
  Form->Constraints()->SetMinHeight(300);
  PumpPending();
  Press(TPoint{40, 0});
  testinput::MouseMove(TPoint{Layer->ClientToScreen(TPoint{40, 0}).X, start.Bottom + 200}, TShiftState{ssLeft});
  EXPECT_EQ(Form->Height(), 300);
  EXPECT_EQ(Form->BoundsRect().Bottom, start.Bottom);
  testinput::MouseUp(mbLeft);
}

TEST_F(CaptionLayerTest, DoubleClickReportsItsPosition) {
  std::vector<TPoint> clicks;
  Layer->OnDoubleClick = [&](TObject* Sender, Integer X, Integer Y) {
    EXPECT_EQ(Sender, Layer);
    clicks.push_back(TPoint{X, Y});
  };
  testinput::MouseMove(Layer, TPoint{57, 14});
  testinput::MouseDown(mbLeft);
  testinput::MouseUp(mbLeft);
  testinput::MouseDoubleClick(mbLeft);
  testinput::MouseUp(mbLeft);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], (TPoint{57, 14}));
}

TEST_F(CaptionLayerTest, PaintingHandsTextRectangleAndAlignmentToTheEvent) {
  std::vector<String> texts;
  TRect rect;
  TAlignment align = taCenter;
  Layer->OnTextPaint = [&](TObject*, String& Text, TRect& R, TAlignment& A) {
    texts.push_back(Text);
    rect = R;
    align = A;
  };
  Layer->Invalidate();
  testinput::PaintPending();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), u"Document");
  EXPECT_EQ(rect, Layer->ClientRect());
  EXPECT_EQ(align, taLeftJustify);
  // Erasing leaves the background alone.
  EXPECT_EQ(Layer->Perform(WM_ERASEBKGND, 0, 0), 1);
}

}  // namespace
}  // namespace caption_layer_test
}  // namespace ribbon
