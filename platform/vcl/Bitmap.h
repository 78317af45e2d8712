#pragma once
// TBitmap: a picture held as a GDI bitmap, with a canvas to draw on it, scan
// lines, transparency, and the BMP file format.
#include <memory>

#include "platform/gdi/Gdi.h"
#include "platform/vcl/Canvas.h"
#include "platform/vcl/Color.h"
#include "platform/vcl/Graphic.h"

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };
enum TAlphaFormat { afIgnored, afDefined, afPremultiplied };

class TBitmap : public TGraphic {
 public:
  TBitmap();
  TBitmap(Integer width, Integer height);
  ~TBitmap() override;

  // Another TBitmap: a copy of its pixels and settings; another graphic:
  // drawn onto a bitmap of its size; nullptr: empty.
  void Assign(TPersistent* Source) override;

  bool Empty() const override;
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  // Keeps the pixels that still fit; a side above 16384 raises EInvalidGraphic.
  void SetWidth(Integer value) override { SetSize(value, FHeight); }
  void SetHeight(Integer value) override { SetSize(FWidth, value); }
  void SetSize(Integer w, Integer h) override;

  // The canvas over the bitmap (a memory DC made on demand).
  TCanvas* Canvas();
  // The bitmap handle (made on demand for a non-empty size; nullptr when empty).
  HBITMAP Handle();
  // Takes ownership of a bitmap handle; the size and format follow it.
  void SetHandle(HBITMAP value);
  // Gives up the handle to the caller (the bitmap becomes empty).
  HBITMAP ReleaseHandle();

  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // Converts the pixels (24 and 32 bits keep them; the others are kept as
  // 32-bit pixels inside and only remember the format).
  void SetPixelFormat(TPixelFormat value);
  TAlphaFormat AlphaFormat() const { return FAlphaFormat; }
  void SetAlphaFormat(TAlphaFormat value);
  bool Monochrome() const { return FPixelFormat == pf1bit; }
  void SetMonochrome(bool value);

  // Row memory, top row 0: blue, green, red (and alpha for pf32bit); 4 bytes
  // per pixel for formats other than pf24bit. Raises EInvalidGraphicOperation
  // "Scan line index out of range" for a row outside the bitmap.
  void* ScanLine(Integer row);

  // tmAuto: the bottom-left pixel's colour; tmFixed: the set colour.
  TColor TransparentColor();
  // Sets the colour and switches to tmFixed.
  void SetTransparentColor(TColor value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode value);

  void Draw(TCanvas* canvas, const TRect& r) override;
  // BMP: 1/4/8/16/24/32 bits, uncompressed or RLE; damaged data raises
  // EInvalidGraphic and leaves the bitmap empty.
  void LoadFromBytes(const TBytes& data) override;
  // BMP of 24 bits (32 for pf32bit and pfDevice), bottom-up.
  void SaveToBytes(TBytes& data) override;
  void Dormant() {}
  void FreeImage() {}

 private:
  friend struct TBitmapAccess;
  void NewImage(Integer w, Integer h, TPixelFormat format);
  void FreeContext();
  void FreeBitmap();
  HBITMAP FHandle = nullptr;
  HDC FDC = nullptr;
  std::unique_ptr<TCanvas> FCanvas;
  Integer FWidth = 0, FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  TAlphaFormat FAlphaFormat = afIgnored;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
};

// The sizes GetDIB needs: the info header (no colour table: bitmaps are 24 or
// 32 bits) and the pixel rows. Both 0 for a bad handle.
void GetDIBSizes(HBITMAP bitmap, DWORD& infoHeaderSize, DWORD& imageSize);
// Fills bitmapInfo (a BITMAPINFOHEADER, bottom-up) and bits (GetDIBSizes'
// sizes) with the bitmap's pixels; the palette is ignored. false for a bad handle.
bool GetDIB(HBITMAP bitmap, HPALETTE palette, void* bitmapInfo, void* bits);
