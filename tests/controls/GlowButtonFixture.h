#pragma once
// A shown form with glow buttons under the offscreen platform and the
// virtual clock, and sampling of what a button shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "controls/AdvGlowButton.h"
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

class GlowButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    gdiplus::InitializeGdiplusUnit();  // as the program's start-up does
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
    GlowSpeed = 20;
    Form.reset();
    PumpPending();
    Clock.reset();
  }
  TAdvGlowButton* AddButton(TRect r) {
    auto* b = new TAdvGlowButton(Form.get());
    b->SetParent(Form.get());
    b->SetBoundsRect(r);
    return b;
  }
  void ShowForm() {
    Form->Show();
    PumpPending();
    testinput::PaintPending();
  }
  // Moves the clock on by Ms, one glow interval at a time.
  void Advance(Cardinal Ms) {
    for (Cardinal t = 0; t < Ms; t += 10) Clock->Advance(10);
    PumpPending();
  }
  // The pixel the button shows at (x, y), as 0x00BBGGRR.
  TColor Pixel(TControl* c, int x, int y) {
    PumpPending();
    auto bmp = testinput::Grab(c);
    if (bmp->Width() != c->Width()) {
      std::fprintf(stderr, "grab %d x %d of %d x %d\n", bmp->Width(), bmp->Height(), c->Width(), c->Height());
    }
    return bmp->Canvas()->Pixels(x, y);
  }
  static bool Near(TColor a, TColor b, int tol = 6) {
    for (int s = 0; s < 24; s += 8) {
      const int d = int((DWORD(a) >> s) & 0xFF) - int((DWORD(b) >> s) & 0xFF);
      if (d > tol || d < -tol) return false;
    }
    return true;
  }
  std::unique_ptr<TVirtualClock> Clock;
  std::unique_ptr<TForm> Form;
};
