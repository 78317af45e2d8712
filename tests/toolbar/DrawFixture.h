#pragma once
// Bitmaps to draw on and sampled pixels to compare.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "foundation/gdiplus/GdiplusBase.h"

#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Canvas.h"

namespace drawtest {

// GDI+ runs, as the program's start-up leaves it.
class DrawTest : public ::testing::Test {
 protected:
  void SetUp() override { gdiplus::InitializeGdiplusUnit(); }
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

}  // namespace drawtest
