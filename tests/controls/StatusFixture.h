#pragma once
// Forms for the status bar and progress bar tests: the application object,
// a form owned by the test, and a settle step that delivers and paints.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Window.h"

class StatusFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    gdiplus::InitializeGdiplusUnit();
    ResetKeyboardState();
    testinput::MouseLeaveWindows();
  }
  void TearDown() override {
    ReleaseCapture();
    Forms.clear();
    PumpPending();
  }
  TForm* NewForm(int w, int h, TFormBorderStyle style = bsNone) {
    auto f = std::make_unique<TForm>(nullptr);
    f->AfterConstruction();
    f->SetBorderStyle(style);
    f->SetBounds(100, 100, w, h);
    Forms.push_back(std::move(f));
    return Forms.back().get();
  }
  static void Settle() {
    PumpPending();
    testinput::PaintPending();
  }
  std::vector<std::unique_ptr<TForm>> Forms;
};

// The colour of a grabbed bitmap's pixel as 0x00BBGGRR.
inline TColor StatusPixel(TBitmap* b, int x, int y) { return b->Canvas()->Pixels(x, y); }
inline int StatusRed(TColor c) { return int(c & 0xFF); }
inline int StatusGreen(TColor c) { return int((c >> 8) & 0xFF); }
inline int StatusBlue(TColor c) { return int((c >> 16) & 0xFF); }
// True when every channel of a is within tol of b's.
inline bool StatusNear(TColor a, TColor b, int tol = 8) {
  return std::abs(StatusRed(a) - StatusRed(b)) <= tol && std::abs(StatusGreen(a) - StatusGreen(b)) <= tol &&
         std::abs(StatusBlue(a) - StatusBlue(b)) <= tol;
}
