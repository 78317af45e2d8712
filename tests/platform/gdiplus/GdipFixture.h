#pragma once
// GDI+ started for a test, and a 32-bit ARGB bitmap with a graphics on it.
#include <gtest/gtest.h>

#include "platform/gdiplus/GdiPlus.h"
#include "platform/testing/GuiTestApp.h"

class GdiplusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    GdiplusStartupInput in;
    ASSERT_EQ(GdiplusStartup(&Token, &in, nullptr), Ok);
  }
  void TearDown() override { GdiplusShutdown(Token); }
  std::uintptr_t Token = 0;
};

// A white bitmap of w x h with a graphics drawing on it.
class GpCanvas {
 public:
  GpCanvas(int w, int h) {
    GdipCreateBitmapFromScan0(w, h, 0, PixelFormat32bppARGB, nullptr, &Bmp);
    GdipGetImageGraphicsContext(Bmp, &G);
    GdipGraphicsClear(G, 0xffffffff);
  }
  ~GpCanvas() {
    GdipDeleteGraphics(G);
    GdipDisposeImage(Bmp);
  }
  ARGB Px(int x, int y) const {
    ARGB c = 0;
    GdipBitmapGetPixel(Bmp, x, y, &c);
    return c;
  }
  GpBitmap* Bmp = nullptr;
  GpGraphics* G = nullptr;
};

inline int Channel(ARGB c, int shift) { return int((c >> shift) & 0xff); }
