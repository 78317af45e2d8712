// Window regions: shapes by sampled pixels and by where input lands, polygon
// fill modes, and removal.
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/WindowRegion.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

class Regions : public VclTest {
 protected:
  void SetUp() override {
    VclTest::SetUp();
    Form = NewForm(200, 150);
    Form->SetColor(clWhite);
    Panel = new TPanel(Form);
    Panel->SetParent(Form);
    Panel->SetBevelOuter(bvNone);
    Panel->SetColor(clRed);
    Panel->SetBounds(10, 10, 100, 100);
    Panel->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) { Pressed.push_back("panel"); };
    Form->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) { Pressed.push_back("form"); };
    Form->Show();
  }
  TColor At(int x, int y) {
    auto shot = testinput::Grab(Form);
    return PixelOf(shot.get(), x, y);
  }
  void PressAt(TPoint Client) {
    testinput::MouseMove(Form, Client);
    testinput::MouseDown();
    testinput::MouseUp();
  }
  TForm* Form = nullptr;
  TPanel* Panel = nullptr;
  Log Pressed;
};

TEST_F(Regions, RoundRegionShapesTheWindowAndItsInputUntilRemoved) {
  ASSERT_EQ(SetWindowRgn(Panel->Handle(), CreateRoundRectRgn(0, 0, 101, 101, 60, 60), TRUE), 1);
  Settle();
  EXPECT_EQ(At(12, 12), clWhite);  // the cut corner shows the form
  EXPECT_EQ(At(60, 60), clRed);
  EXPECT_EQ(At(60, 11), clRed);  // the straight part of the top edge
  PressAt({12, 12});
  PressAt({60, 60});
  EXPECT_EQ(Pressed, (Log{"form", "panel"}));
  TRect box;
  EXPECT_EQ(GetWindowRgnBox(Panel->Handle(), &box), COMPLEXREGION);

  ASSERT_EQ(SetWindowRgn(Panel->Handle(), nullptr, TRUE), 1);
  Settle();
  EXPECT_EQ(At(12, 12), clRed);
  Pressed.clear();
  PressAt({12, 12});
  EXPECT_EQ(Pressed, (Log{"panel"}));
  EXPECT_EQ(GetWindowRgnBox(Panel->Handle(), &box), ERROR);
}

TEST_F(Regions, PolygonRegionsFollowTheirFillMode) {
  // A five-pointed star drawn in one stroke: its middle is wound round twice.
  const POINT star[] = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
  HRGN winding = CreatePolygonRgn(star, 5, WINDING);
  HRGN alternate = CreatePolygonRgn(star, 5, ALTERNATE);
  ASSERT_NE(winding, nullptr);
  ASSERT_NE(alternate, nullptr);
  EXPECT_TRUE(PtInRegion(winding, 50, 50));
  EXPECT_FALSE(PtInRegion(alternate, 50, 50));
  EXPECT_TRUE(PtInRegion(alternate, 50, 10));  // a point of the star
  EXPECT_FALSE(PtInRegion(winding, 5, 80));
  DeleteObject(alternate);
  // The window takes the star's shape.
  ASSERT_EQ(SetWindowRgn(Panel->Handle(), winding, TRUE), 1);
  Settle();
  EXPECT_EQ(At(10 + 50, 10 + 50), clRed);
  EXPECT_EQ(At(10 + 5, 10 + 80), clWhite);

  EXPECT_EQ(CreatePolygonRgn(nullptr, 5, WINDING), nullptr);
  EXPECT_EQ(CreatePolygonRgn(star, 2, WINDING), nullptr);
  EXPECT_EQ(CreatePolygonRgn(star, 5, 7), nullptr);
}

}  // namespace
