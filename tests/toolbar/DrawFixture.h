#pragma once
// Bitmaps to draw on and sampled pixels to compare.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>

#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Application.h"

#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Canvas.h"

namespace drawtest {

// GDI+ runs, as the program's start-up leaves it, with the project's fonts
// and the application object (which hears of failed pictures).
class DrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    gdiplus::InitializeGdiplusUnit();
  }
};

// A w x h bitmap filled with Background.
inline std::unique_ptr<TBitmap> Sheet(int w, int h, TColor Background) {
  auto b = std::make_unique<TBitmap>(w, h);
  b->Canvas()->Brush()->SetStyle(bsSolid);
  b->Canvas()->Brush()->SetColor(Background);
  b->Canvas()->FillRect(TRect(0, 0, w, h));
  return b;
}

inline TColor Px(TBitmap* b, int x, int y) { return b->Canvas()->Pixels(x, y); }

// True when every channel of a is within tol of b's.
inline bool Near(TColor a, TColor b, int tol) {
  for (int s = 0; s < 24; s += 8)
    if (std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > tol) return false;
  return true;
}

// Where a drawing left pixels unlike Background (beyond Tol in a channel)
// inside Area.
struct TInk {
  int Count = 0;
  int Left = INT_MAX, Top = INT_MAX, Right = -1, Bottom = -1;
  bool Any() const { return Count > 0; }
};

inline TInk InkOf(TBitmap* b, const TRect& Area, TColor Background, int Tol = 40) {
  TInk ink;
  for (int y = Area.Top; y < Area.Bottom; ++y)
    for (int x = Area.Left; x < Area.Right; ++x)
      if (!Near(Px(b, x, y), Background, Tol)) {
        ++ink.Count;
        ink.Left = std::min(ink.Left, x);
        ink.Right = std::max(ink.Right, x);
        ink.Top = std::min(ink.Top, y);
        ink.Bottom = std::max(ink.Bottom, y);
      }
  return ink;
}

// Pixels where two equally sized bitmaps differ by more than Tol.
inline int DifferingPixels(TBitmap* a, TBitmap* b, int Tol = 40) {
  int n = 0;
  for (int y = 0; y < a->Height(); ++y)
    for (int x = 0; x < a->Width(); ++x)
      if (!Near(Px(a, x, y), Px(b, x, y), Tol)) ++n;
  return n;
}

}  // namespace drawtest
