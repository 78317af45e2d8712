#pragma once
// Forms and controls under the offscreen platform: the application object,
// a log that controls write their messages to, and pixel helpers.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Window.h"

using Log = std::vector<std::string>;

inline std::string Utf8(const String& s) { return StringToUtf8(s); }

class VclTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    ResetKeyboardState();
    testinput::MouseLeaveWindows();
  }
  void TearDown() override {
    ReleaseCapture();
    Forms.clear();
    PumpPending();
  }
  // A shown-able form owned by the test.
  TForm* NewForm(int w = 300, int h = 200, TFormBorderStyle style = bsNone) {
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
inline TColor PixelOf(TBitmap* b, int x, int y) { return b->Canvas()->Pixels(x, y); }
