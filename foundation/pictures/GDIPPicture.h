#pragma once
// TGDIPPicture: the picture of buttons and toolbars. It holds an encoded
// image file byte for byte (decoded by GDI+ for each use) or SVG content
// through its base; the form property Data stores either the bare file or
// the base's length-prefixed SVG block.
#include "foundation/gdiplus/GPGraphics.h"
#include "foundation/pictures/EncodedPicture.h"

enum TPictureFormat { pfBMP, pfGIF, pfJPG, pfPNG, pfICO, pfTiff, pfMetaFile, pfNone };

// The format of raw picture bytes by their first bytes; pfNone below 44 bytes.
TPictureFormat DetectPictureFormat(const TBytes& Data);

class TGDIPPicture : public TEncodedPicture {
 public:
  TGDIPPicture();
  ~TGDIPPicture() override;

  // nullptr: emptied (OnChange, then OnClear). A TGDIPPicture: its SVG or
  // bytes. A bitmap, a TPicture's graphic, or any other graphic: its saved
  // file. Other classes copy nothing and leave the picture marked empty.
  void Assign(TPersistent* Source) override;
  // SVG through the base; a BMP with TransparentBitmap stretched with its
  // bottom-left colour transparent; anything else scaled (rotated by Angle).
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // At (X, Y) at the image's own size.
  void DrawImage(gdiplus::TGPGraphics* Graphics, Integer X, Integer Y);
  // Scaled into (X, Y, W, H).
  void DrawImageRect(gdiplus::TGPGraphics* Graphics, Integer X, Integer Y, Integer W, Integer H);
  // The SVG content into (X, Y, X + W, Y + H); nothing without SVG.
  virtual void DrawSVG(gdiplus::TGPGraphics* Graphics, Single X, Single Y, Single W, Single H);
  // SVG: true. Raw bytes: their decoded size; false when empty or undecodable.
  bool GetImageSizes();
  const String& GetFileName() const { return FFileName; }

  // Never raises: a failure leaves the picture empty and raises OnChange.
  void LoadFromFile(const String& FileName) override;
  // A known image signature: raw bytes; SVG text: the base; other data is
  // kept raw. nullptr: nothing.
  void LoadFromStream(TStream* Stream) override;
  void ReadData(TStream* Stream) override;
  // "RES://name" and "FILE://path" in any letter case; other addresses do nothing.
  void LoadFromURL(const String& URL);

  // Computed from the raw bytes on every read.
  TPictureFormat PictureFormat() const { return DetectPictureFormat(FDatastream); }
  TGraphic* Graphic() { return this; }
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
  TColor BackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor Value) { FBackgroundColor = Value; }
  bool TransparentBitmap() const { return FTransparentBitmap; }
  void SetTransparentBitmap(bool Value) { FTransparentBitmap = Value; }
  Integer Angle() const { return FAngle; }
  void SetAngle(Integer Value) { FAngle = Value; }

  TNotifyEvent OnClear;

 private:
  void RaiseClear() { if (OnClear) OnClear(this); }

  String FFileName;
  bool FDoubleBuffered = false;
  TColor FBackgroundColor = 0;
  bool FTransparentBitmap = true;
  Integer FAngle = 0;
};
