// A windowed control's windowless children painted into another picture.
#include <gtest/gtest.h>

#include <memory>

#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "toolbar/WinCtrl.h"

namespace {

// Fills itself with one colour.
class TSwatch : public TGraphicControl {
 public:
  TSwatch(TComponent* AOwner, TColor C) : TGraphicControl(AOwner), FColor(C) {}

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(FColor);
    Canvas()->FillRect(ClientRect());
  }

 private:
  TColor FColor;
};

TEST(WinCtrl, PaintsTheChildrenFromTheGivenOneOn) {
  EnsureGuiApplication();
  InitApplication();
  auto form = std::make_unique<TForm>(nullptr);
  form->AfterConstruction();
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(0, 0, 100, 40);
  auto* red = new TSwatch(form.get(), clRed);
  red->SetParent(panel);
  red->SetBounds(10, 10, 20, 20);
  auto* blue = new TSwatch(form.get(), clBlue);
  blue->SetParent(panel);
  blue->SetBounds(50, 10, 20, 20);
  struct Case {
    TControl* First;
    TColor AtRed, AtBlue;
  };
  for (const Case k : {Case{nullptr, clRed, clBlue}, Case{blue, clWhite, clBlue}}) {
    TBitmap bmp;
    bmp.SetSize(100, 40);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(TRect{0, 0, 100, 40});
    toolbar::TWinCtrl::PaintCtrls(panel, bmp.Canvas()->Handle(), k.First);
    EXPECT_EQ(bmp.Canvas()->Pixels(15, 15), k.AtRed);
    EXPECT_EQ(bmp.Canvas()->Pixels(55, 15), k.AtBlue);
    EXPECT_EQ(bmp.Canvas()->Pixels(40, 15), clWhite);
  }
  toolbar::TWinCtrl::PaintCtrls(nullptr, nullptr, nullptr);
}

}  // namespace
