// The toolbar container: margins and the clamp of its children, its frame
// and caption by sampled pixels, the toolbar's background under it, and the
// tie of the controls inside it to the toolbar.
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
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/ZadEdevAziContainer.h"

namespace toolbar {
namespace container_test {

constexpr TColor Green = 0x00AA00, Red = 0x0000DD, Blue = 0xCC0000;

bool Near(TColor a, TColor b, int tol = 8) {
  a = ColorToRGB(a);
  b = ColorToRGB(b);
  for (int s = 0; s < 24; s += 8) {
    const int d = int((DWORD(a) >> s) & 0xFF) - int((DWORD(b) >> s) & 0xFF);
    if (d > tol || d < -tol) return false;
  }
  return true;
}

class ToolBarContainer : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    gdiplus::InitializeGdiplusUnit();
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 400, 200);
    Tb = new TZadEdevAzi(Form.get());
    Tb->SetParent(Form.get());
    Tb->SetAutoSize(false);
    Tb->SetAutoPositionControls(false);
    Tb->SetBounds(0, 0, 300, 60);
    Tb->CurrentToolBarStyler()->Color()->SetColor(Green);
    Tb->CurrentToolBarStyler()->Color()->SetColorTo(clNone);
    Tb->CurrentToolBarStyler()->SetRoundEdges(false);
    C = new TZadEdevAziContainer(Form.get());
    C->SetParent(Tb);
    C->SetZadEdevAzi(Tb);
    C->SetBounds(40, 4, 120, 50);
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
  }
  std::unique_ptr<TBitmap> Shot() {
    Form->Show();
    PumpPending();
    testinput::PaintPending();
    return testinput::Grab(C);
  }
  static TColor Px(const std::unique_ptr<TBitmap>& b, int x, int y) { return b->Canvas()->Pixels(x, y); }

  std::unique_ptr<TForm> Form;
  TZadEdevAzi* Tb = nullptr;
  TZadEdevAziContainer* C = nullptr;
};

TEST_F(ToolBarContainer, DefaultsAreThoseOfANewContainer) {
  EXPECT_TRUE(C->ParentStyler());
  EXPECT_TRUE(C->Line3D());
  EXPECT_TRUE(C->ShowBorder());
  EXPECT_EQ(C->LineColor(), clBtnShadow);
  EXPECT_EQ(C->Margins(), 0);
  EXPECT_TRUE(C->Caption().empty());
  EXPECT_TRUE(C->ControlStyle().Contains(csAcceptsControls));
  EXPECT_FALSE(C->ControlStyle().Contains(csOpaque));
  EXPECT_TRUE(C->DoubleBuffered());
}

TEST_F(ToolBarContainer, MarginsOutsideZeroToFourteenAreIgnored) {
  struct Case {
    Integer set;
    Integer expect;
  } cases[] = {{15, 0}, {-1, 0}, {14, 14}, {0, 0}, {4, 4}, {100, 4}};
  for (const Case& k : cases) {
    C->SetMargins(k.set);
    EXPECT_EQ(C->Margins(), k.expect) << "set " << k.set;
  }
}

TEST_F(ToolBarContainer, MarginsMoveChildrenAndInsetTheClientArea) {
  auto* atLeft = new TButton(Form.get());
  atLeft->SetParent(C);
  atLeft->SetBounds(0, 10, 20, 10);
  auto* atTop = new TButton(Form.get());
  atTop->SetParent(C);
  atTop->SetBounds(30, 0, 20, 10);
  auto* inside = new TButton(Form.get());
  inside->SetParent(C);
  inside->SetBounds(60, 12, 20, 10);
  C->SetMargins(4);
  EXPECT_EQ(atLeft->Left(), 4);
  EXPECT_EQ(atLeft->Top(), 10);
  EXPECT_EQ(atTop->Left(), 30);
  EXPECT_EQ(atTop->Top(), 4);
  EXPECT_EQ(inside->Left(), 60);
  EXPECT_EQ(inside->Top(), 12);
  // An aligned child fills the client area less the margins.
  auto* client = new TPanel(Form.get());
  client->SetParent(C);
  client->SetAlign(alClient);
  EXPECT_EQ(client->BoundsRect(), (TRect{4, 4, 116, 46}));
  // A child moved later onto the edge is clamped when the container aligns.
  atLeft->SetLeft(0);
  C->Realign();
  EXPECT_EQ(atLeft->Left(), 4);
}

// Where each frame line lies in a 120 x 50 container: lines at y = 4
// (margin 2 + 2), x = 0, bottom 48 and right 118, the white 3-D lines one
// pixel inside-below and outside-right.
TEST_F(ToolBarContainer, FrameLinesByPixel) {
  C->SetParentStyler(false);
  C->SetLineColor(Red);
  struct Case {
    bool line3D;
    int x, y;
    TColor expect;
  } cases[] = {
      {true, 60, 4, Red},     {true, 60, 5, clWhite},  {true, 0, 30, Red},      {true, 1, 30, clWhite},
      {true, 60, 48, Red},    {true, 60, 49, clWhite}, {true, 118, 30, Red},    {true, 119, 30, clWhite},
      {true, 60, 3, Green},   {true, 60, 25, Green},   {true, 2, 30, Green},    {true, 117, 30, Green},
      {false, 60, 4, Red},    {false, 60, 5, Green},   {false, 1, 30, Green},   {false, 60, 49, Green},
      {false, 119, 30, Green}, {false, 0, 30, Red},    {false, 118, 30, Red},   {false, 60, 48, Red},
  };
  for (bool l3 : {true, false}) {
    C->SetLine3D(l3);
    auto b = Shot();
    for (const Case& k : cases)
      if (k.line3D == l3) {
        EXPECT_TRUE(Near(Px(b, k.x, k.y), k.expect))
            << "3D " << l3 << " at " << k.x << "," << k.y << " got " << std::hex << Px(b, k.x, k.y);
      }
  }
}

TEST_F(ToolBarContainer, CaptionBreaksTheTopLine) {
  C->SetParentStyler(false);
  C->SetLineColor(Red);
  C->SetLine3D(false);
  C->SetCaption(u"Group");
  auto b = Shot();
  EXPECT_TRUE(Near(Px(b, 0, 4), Red));
  EXPECT_TRUE(Near(Px(b, 8, 4), Red));
  // The caption's own room: no frame colour on the top line there.
  for (int x = 10; x < 20; ++x) EXPECT_FALSE(Near(Px(b, x, 4), Red)) << x;
  EXPECT_TRUE(Near(Px(b, 110, 4), Red));
  // Black text somewhere in the caption's room.
  bool dark = false;
  for (int x = 10; x < 50 && !dark; ++x)
    for (int y = 0; y < 16 && !dark; ++y) dark = ColorToRGB(Px(b, x, y)) == 0;
  EXPECT_TRUE(dark);
}

TEST_F(ToolBarContainer, NoFrameWithoutBorderOrColourButTheBackgroundShows) {
  C->SetParentStyler(false);
  C->SetLineColor(Red);
  for (int k = 0; k < 2; ++k) {
    C->SetShowBorder(k != 0);
    C->SetLineColor(k != 0 ? clNone : Red);
    auto b = Shot();
    for (auto [x, y] : {std::pair{60, 4}, {0, 30}, {118, 30}, {60, 48}, {60, 25}})
      EXPECT_TRUE(Near(Px(b, x, y), Green)) << k << " at " << x << "," << y;
  }
}

TEST_F(ToolBarContainer, ParentStylerTakesTheFrameFromTheToolBarsStyler) {
  C->SetLineColor(Red);
  C->SetLine3D(true);
  Tb->CurrentToolBarStyler()->ContainerAppearance()->SetLineColor(Blue);
  Tb->CurrentToolBarStyler()->ContainerAppearance()->SetLine3D(false);
  auto b = Shot();
  EXPECT_TRUE(Near(Px(b, 60, 4), Blue));
  EXPECT_TRUE(Near(Px(b, 60, 5), Green));
  C->SetParentStyler(false);
  b = Shot();
  EXPECT_TRUE(Near(Px(b, 60, 4), Red));
  EXPECT_TRUE(Near(Px(b, 60, 5), clWhite));
}

TEST_F(ToolBarContainer, ColourObjectSetsTheControlsColour) {
  C->Color()->SetColor(Blue);
  EXPECT_EQ(C->TControl::Color(), Blue);
}

TEST_F(ToolBarContainer, ToolBarControlsInsideJoinTheToolBar) {
  auto* before = new TZadEdevAziButton(Form.get());
  before->SetParent(C);
  auto* other = new TZadEdevAzi(Form.get());
  other->SetParent(Form.get());
  C->SetZadEdevAzi(other);
  EXPECT_EQ(before->ZadEdevAzi(), other);
  EXPECT_EQ(C->ZadEdevAzi(), other);
  auto* later = new TZadEdevAziButton(Form.get());
  later->SetParent(C);
  EXPECT_EQ(later->ZadEdevAzi(), other);
  // The toolbar freed: the container forgets it.
  delete other;
  EXPECT_EQ(C->ZadEdevAzi(), nullptr);
  EXPECT_EQ(before->ZadEdevAzi(), nullptr);
  EXPECT_EQ(later->ZadEdevAzi(), nullptr);
}

}  // namespace container_test
}  // namespace toolbar
