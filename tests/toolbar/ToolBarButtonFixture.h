#pragma once
// A shown form (and, where a test needs one, a toolbar on it) with toolbar
// buttons under the offscreen platform and the virtual clock; pointer input
// injected through the layer's routing.
#include <gtest/gtest.h>

#include <memory>

#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/testing/VirtualClock.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Window.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/shared/ToolBarShared.h"

namespace buttontest {

using toolbar::TAdvCustomToolBarButton;
using toolbar::TZadEdevAziButton;
using toolbar::TZadEdevAziMenuButton;

class ToolBarButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    gdiplus::InitializeGdiplusUnit();
    ResetKeyboardState();
    testinput::MouseLeaveWindows();
    Clock = std::make_unique<TVirtualClock>();
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 400, 200);
    Form->SetColor(0x00FF00);
  }
  void TearDown() override {
    ReleaseCapture();
    Form.reset();
    PumpPending();
    Clock.reset();
    toolbar::ToolBarDPIScale = 1.0f;
  }
  // A button of fixed size r on Parent (the form when nullptr).
  TZadEdevAziButton* AddButton(TRect r, TWinControl* Parent = nullptr) {
    auto* b = new TZadEdevAziButton(Form.get());
    b->SetAutoSize(false);
    b->SetParent(Parent != nullptr ? Parent : Form.get());
    b->SetBoundsRect(r);
    return b;
  }
  void ShowForm() {
    Form->Show();
    PumpPending();
    testinput::PaintPending();
  }
  std::unique_ptr<TVirtualClock> Clock;
  std::unique_ptr<TForm> Form;
};

// A bitmap filled with one colour.
inline std::unique_ptr<TBitmap> Filled(int w, int h, TColor c) {
  auto b = std::make_unique<TBitmap>(w, h);
  b->Canvas()->Brush()->SetStyle(bsSolid);
  b->Canvas()->Brush()->SetColor(c);
  b->Canvas()->FillRect(TRect{0, 0, w, h});
  return b;
}

inline bool Near(TColor a, TColor b, int tol = 4) {
  for (int s = 0; s < 24; s += 8) {
    const int d = int((DWORD(a) >> s) & 0xFF) - int((DWORD(b) >> s) & 0xFF);
    if (d > tol || d < -tol) return false;
  }
  return true;
}

}  // namespace buttontest
