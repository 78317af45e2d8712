#pragma once
// A form with a ribbon pager of a few pages, laid out as after loading, and
// a text measure that makes every character 7 pixels wide so that tab
// widths do not depend on installed fonts.
#include <gtest/gtest.h>

#include <memory>

#include "foundation/gdiplus/GdiplusBase.h"
#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/StrUtils.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "ribbon/AdvPage.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/AdvToolBarLayout.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

class PagerFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    gdiplus::InitializeGdiplusUnit();
    toolbar::SetToolBarTextMeasure([](TCanvas*, const String& Text) { return Integer(Text.size()) * 7; });
    OldScale = toolbar::ToolBarDPIScale;
    OldPPI = toolbar::ToolBarPPI;
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 600, 200);
    Pager = new TZadEdevAziPager(Form.get());
    Pager->SetName(u"Pager");
    Pager->SetParent(Form.get());
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
    toolbar::SetToolBarTextMeasure(nullptr);
    toolbar::ToolBarDPIScale = OldScale;
    toolbar::ToolBarPPI = OldPPI;
    toolbar::ScreenPPI = OldPPI;
    toolbar::ScaledCaptionHeight = 26;
    toolbar::ScaledSize16 = 16;
    gdiplus::SetScenicRibbonFlag(false);
  }
  // N pages captioned "Page1".. and the pager as after loading; page 0 active.
  void MakePages(int N, bool Activate = true) {
    for (int i = 0; i < N; ++i) Pager->AddAdvPage(u"Page" + IntToStr(i + 1));
    Pager->Loaded();
    if (Activate) Pager->SetActivePageIndex(0);
  }
  TAdvPage* Page(int i) { return Pager->AdvPages(i); }
  TPoint TabCentre(int i) {
    const TRect r = Pager->GetTabRect(i);
    return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }

  std::unique_ptr<TForm> Form;
  TZadEdevAziPager* Pager = nullptr;
  Single OldScale = 1.0f;
  Integer OldPPI = 96;
};

}  // namespace ribbon
