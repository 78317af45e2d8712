#pragma once
// Renders mini-HTML into a white bitmap with the project's fonts and reads
// back what the renderer reported and drew.
#include <gtest/gtest.h>

#include <memory>

#include "html/HTMLRender.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Bitmap.h"

namespace html_test {

using namespace html;

using RenderResult = THTMLRenderResult;

// The renderer's arguments with the rectangle the tests draw into.
struct RenderArgs : THTMLRenderArgs {
  RenderArgs() { Scale = 1.0f; }
  TRect Bounds{0, 0, 300, 200};
};

class HTMLRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    Bitmap = std::make_unique<TBitmap>(300, 200);
    Clear();
  }
  void Clear() {
    TCanvas* c = Bitmap->Canvas();
    c->Brush()->SetColor(clWhite);
    c->Brush()->SetStyle(bsSolid);
    c->FillRect({0, 0, Bitmap->Width(), Bitmap->Height()});
    c->Font()->SetName(u"Tahoma");
    c->Font()->SetHeight(-11);
    c->Font()->SetColor(clBlack);
    c->Font()->SetStyle(TFontStyles());
  }
  RenderResult Render(const String& text, const RenderArgs& a = RenderArgs()) {
    RenderResult r;
    HTMLRender(Bitmap->Canvas(), text, a.Bounds, a, r);
    return r;
  }
  TColor Px(int x, int y) { return Bitmap->Canvas()->Pixels(x, y) & 0xFFFFFF; }
  // Columns and rows of pixels of one colour inside r; Right < Left when none.
  TRect Ink(TColor color, TRect r = {0, 0, 300, 200}) {
    TRect b{100000, 100000, -1, -1};
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (Px(x, y) == color) b = {std::min(b.Left, x), std::min(b.Top, y), std::max(b.Right, x), std::max(b.Bottom, y)};
    return b;
  }
  // Any pixel that is not white.
  TRect AnyInk(TRect r = {0, 0, 300, 200}) {
    TRect b{100000, 100000, -1, -1};
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (Px(x, y) != 0xFFFFFF) b = {std::min(b.Left, x), std::min(b.Top, y), std::max(b.Right, x), std::max(b.Bottom, y)};
    return b;
  }
  Integer Th() { return Bitmap->Canvas()->TextHeight(u"gh"); }
  Integer Tw(const String& s) { return Bitmap->Canvas()->TextWidth(s); }

  std::unique_ptr<TBitmap> Bitmap;
};

}  // namespace html_test
