#pragma once
// A memory DC with a bitmap selected, for the benchmarks that draw.
#include "platform/gdi/Gdi.h"
#include "platform/testing/GuiTestApp.h"

struct BenchSurface {
  BenchSurface(int w, int h) {
    EnsureGuiApplication();
    DC = CreateCompatibleDC(nullptr);
    Bmp = CreateCompatibleBitmap(DC, w, h);
    Old = SelectObject(DC, Bmp);
  }
  ~BenchSurface() {
    SelectObject(DC, Old);
    DeleteObject(Bmp);
    DeleteDC(DC);
  }
  BenchSurface(const BenchSurface&) = delete;
  BenchSurface& operator=(const BenchSurface&) = delete;
  HDC DC;
  HBITMAP Bmp;
  HGDIOBJ Old;
};
