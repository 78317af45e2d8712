// Scaling for DPI: ChangeScale of a form with children at 120 and 144 pixels
// per inch and back without drift, and the DPI change of a form moved to a
// monitor of other pixels per inch.
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Monitors.h"
#include "platform/vcl/StdCtrls.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

class Dpi : public VclTest {
 protected:
  void TearDown() override {
    monitors_internal::SetVirtualMonitors({});
    VclTest::TearDown();
  }
  struct TShape {
    TRect Panel, Label;
    Integer Font, MinWidth, Ppi;
    friend bool operator==(const TShape&, const TShape&) = default;
  };
  TShape ShapeOf() const {
    return {Panel->BoundsRect(), Label->BoundsRect(), Panel->Font()->Height(), Panel->Constraints()->MinWidth(),
            Form->PixelsPerInch()};
  }
  void Build() {
    Form = NewForm(400, 300);
    Panel = new TPanel(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(10, 20, 100, 50);
    Panel->SetParentFont(false);
    Panel->Font()->SetHeight(-11);
    Panel->Constraints()->SetMinWidth(37);
    Label = new TPanel(Form);
    Label->SetParent(Panel);
    Label->SetBounds(5, 5, 33, 17);
  }
  TForm* Form = nullptr;
  TPanel* Panel = nullptr;
  TPanel* Label = nullptr;  // a child of the panel
};

TEST_F(Dpi, ChangeScaleThereAndBackComesBackExactly) {
  Build();
  ASSERT_FALSE(Panel->ParentFont());
  const TShape at96 = ShapeOf();
  Form->ChangeScale(120, 96, true);
  EXPECT_EQ(ShapeOf(), (TShape{Bounds(13, 25, 125, 63), Bounds(6, 6, 42, 22), -14, 46, 120}));
  Form->ChangeScale(144, 120, true);
  EXPECT_EQ(ShapeOf(), (TShape{Bounds(15, 30, 150, 75), Bounds(8, 8, 49, 25), -17, 56, 144}));
  Form->ChangeScale(96, 144, true);
  EXPECT_EQ(ShapeOf(), at96);  // step by step from the last values, Left would come back as 11
  EXPECT_EQ(Form->Left(), 100);  // a form keeps its place

  // ScaleBy is the same without touching PixelsPerInch; a value set in between starts afresh.
  Form->ScaleBy(3, 2);
  Panel->SetLeft(40);
  Form->ScaleBy(2, 3);
  EXPECT_EQ(Panel->Left(), 27);
  EXPECT_EQ(Panel->Width(), 100);
  EXPECT_EQ(Form->PixelsPerInch(), 96);
  Form->ChangeScale(0, 96);  // nothing
  EXPECT_EQ(Panel->Width(), 100);
}

TEST_F(Dpi, MovingAFormOntoAMonitorOfOtherDpiScalesItOnce) {
  monitors_internal::SetVirtualMonitors({{u"A", Bounds(0, 0, 1000, 800), {}, 96, true},
                                         {u"B", Bounds(1000, 0, 1000, 800), {}, 144, false}});
  Build();
  Form->Show();
  Form->SetBounds(1200, 100, 400, 300);  // onto B
  EXPECT_EQ(Form->PixelsPerInch(), 144);
  EXPECT_EQ(Panel->BoundsRect(), Bounds(15, 30, 150, 75));
  EXPECT_EQ(Form->Left(), 1200);
  Form->SetBounds(100, 100, Form->Width(), Form->Height());  // back onto A
  EXPECT_EQ(Form->PixelsPerInch(), 96);
  EXPECT_EQ(Panel->BoundsRect(), Bounds(10, 20, 100, 50));

  // B's pixels per inch change under the form: scaled again; an unscaled form never is.
  Form->SetBounds(1200, 100, Form->Width(), Form->Height());
  monitors_internal::SetVirtualMonitors({{u"A", Bounds(0, 0, 1000, 800), {}, 96, true},
                                         {u"B", Bounds(1000, 0, 1000, 800), {}, 120, false}});
  EXPECT_EQ(Form->PixelsPerInch(), 120);
  Form->SetScaled(false);
  Form->SetBounds(100, 100, Form->Width(), Form->Height());
  EXPECT_EQ(Form->PixelsPerInch(), 120);
  EXPECT_EQ(Panel->BoundsRect(), Bounds(13, 25, 125, 63));
}

}  // namespace
