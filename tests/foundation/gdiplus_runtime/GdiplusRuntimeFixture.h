#pragma once
// The run-time GDI+ set bound and started for a test, and a white 32-bit
// bitmap with a graphics drawing on it through the set's wrappers.
#include <gtest/gtest.h>

#include "foundation/gdiplus_runtime/GPGraphics.h"
#include "foundation/gdiplus_runtime/GPImage.h"
#include "foundation/gdiplus_runtime/GdiplusApi.h"
#include "foundation/gdiplus_runtime/GdiplusClasses.h"
#include "platform/testing/GuiTestApp.h"

namespace gdiplus_runtime_test {

// Binds the table to a complete "gdiplus.dll" and starts the set's GDI+.
inline void BindRuntime() {
  RegisterGdiplusModule();
  gdiplus_runtime::InitializeGdiplusApi();
  gdiplus_runtime::InitializeGdiplusClasses();
}

// Ends both units, as the program's shut-down does.
inline void UnbindRuntime() {
  gdiplus_runtime::FinalizeGdiplusClasses();
  gdiplus_runtime::FinalizeGdiplusApi();
}

class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    BindRuntime();
  }
  // A test that unbinds leaves the set bound again for the next one.
  void TearDown() override { BindRuntime(); }
};

struct TCanvas {
  TCanvas(int w, int h) : Bitmap(w, h, PixelFormat32bppARGB), Graphics(&Bitmap) { Graphics.Clear(0xFFFFFFFF); }
  ARGB Px(int x, int y) {
    ARGB c = 0;
    Bitmap.GetPixel(x, y, c);
    return c;
  }
  gdiplus_runtime::TGPBitmap Bitmap;
  gdiplus_runtime::TGPGraphics Graphics;
};

inline int Channel(ARGB c, int shift) { return int((c >> shift) & 0xff); }

}  // namespace gdiplus_runtime_test
