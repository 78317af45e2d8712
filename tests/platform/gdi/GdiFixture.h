#pragma once
// A memory DC over a white 32-bit bitmap, with pixel reading helpers.
#include <gtest/gtest.h>

#include "platform/gdi/Gdi.h"
#include "platform/testing/GuiTestApp.h"

class GdiSurface {
 public:
  GdiSurface(int w, int h) : W(w), H(h) {
    EnsureGuiApplication();
    DC = CreateCompatibleDC(nullptr);
    Bmp = CreateCompatibleBitmap(DC, w, h);
    Old = SelectObject(DC, Bmp);
    Clear(RGB(255, 255, 255));
  }
  ~GdiSurface() {
    SelectObject(DC, Old);
    DeleteObject(Bmp);
    DeleteDC(DC);
  }
  void Clear(COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    RECT r{0, 0, W, H};
    FillRect(DC, &r, b);
    DeleteObject(b);
  }
  // The pixel at device (x, y), whatever the DC's clip and origins.
  COLORREF Px(int x, int y) const {
    int level = SaveDC(DC);
    SelectClipRgn(DC, nullptr);
    SetViewportOrgEx(DC, 0, 0, nullptr);
    SetWindowOrgEx(DC, 0, 0, nullptr);
    COLORREF c = GetPixel(DC, x, y);
    RestoreDC(DC, level);
    return c;
  }
  // Number of pixels in [l,r)x[t,b) equal to c.
  int Count(COLORREF c, int l, int t, int r, int b) const {
    int n = 0;
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) n += Px(x, y) == c;
    return n;
  }
  int Count(COLORREF c) const { return Count(c, 0, 0, W, H); }
  // Bounding box of pixels that differ from background; empty when none.
  RECT Ink(COLORREF background = RGB(255, 255, 255)) const {
    RECT r{W, H, 0, 0};
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        if (Px(x, y) != background) {
          r.Left = std::min(r.Left, x); r.Top = std::min(r.Top, y);
          r.Right = std::max(r.Right, x + 1); r.Bottom = std::max(r.Bottom, y + 1);
        }
    return r.Left > r.Right ? RECT{} : r;
  }
  int W, H;
  HDC DC;
  HBITMAP Bmp;
  HGDIOBJ Old;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
