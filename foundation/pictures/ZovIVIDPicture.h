#pragma once
// TZovIVIDPicture: the picture of the gradient fill object. It holds an
// encoded image file byte for byte (decoded by GDI+ for each use) or SVG
// content through its base; it draws on a canvas or a GDI+ surface and
// fills rectangles and paths as a tiled texture.
#include "foundation/gdiplus/GPGraphics.h"
#include "foundation/pictures/EncodedPicture.h"
#include "platform/vcl/Bitmap.h"

namespace gdiplus {

class TZovIVIDPicture : public TEncodedPicture {
 public:
  TZovIVIDPicture();
  ~TZovIVIDPicture() override;

  // nullptr: emptied (OnChange, then OnClear). Another TZovIVIDPicture: its
  // SVG or bytes; any other graphic or a TPicture: its saved file. Other
  // classes copy nothing.
  void Assign(TPersistent* Source) override;
  // SVG through the base; a BMP unscaled with its bottom-left colour
  // transparent; anything else scaled into r.
  void Draw(TCanvas* ACanvas, const TRect& r) override;
  void GDIPDraw(TGPGraphics* Graphics, const TRect& Rect);
  // As above on a float rectangle; a nested call draws nothing for raw content.
  void GDIPDraw(TGPGraphics* Graphics, const TGPRectF& Rect);
  // The SVG content into (X, Y, X + W, Y + H); nothing without SVG.
  virtual void DrawSVG(TGPGraphics* Graphics, Single X, Single Y, Single W, Single H);
  // The raw image as a texture tiled from the surface's origin.
  void FillRect(TGPGraphics* graphics, const TGPRectF& R);
  void FillPath(TGPGraphics* graphics, TGPGraphicsPath* Path);
  // SVG: true. Raw bytes: decodes them for their size; false when empty or undecodable.
  bool GetImageSizes();
  // SVG: true. Otherwise the size from the file's header by its extension,
  // and false; empty content: false, sizes untouched.
  bool GetImageSizesFromFileName(const String& FileName);

  // Never raises: a failure leaves the picture empty and raises OnChange.
  void LoadFromFile(const String& FileName) override;
  // A known image signature: raw bytes; SVG text: the base; other data is
  // kept raw. nullptr or an empty stream: nothing.
  void LoadFromStream(TStream* Stream) override;
  // Raw content is the bare file; SVG the base's length-prefixed block.
  // No data: nothing.
  void ReadData(TStream* Stream) override;
  // "RES://name" and "FILE://path" in any letter case; other addresses do nothing.
  void LoadFromURL(const String& url);

  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
  TTransparentMode TransparentMode() const { return FBitmapTransparentMode; }
  void SetTransparentMode(TTransparentMode Value) { FBitmapTransparentMode = Value; }
  TColor TransparentColor() const { return FBitmapTransparentColor; }
  void SetTransparentColor(TColor Value) { FBitmapTransparentColor = Value; }
  Integer PixelDepth() const { return FPixelDepth; }
  bool HasAlpha() const { return FHasAlpha; }
  bool HasPalette() const { return FHasPalette; }
  Integer PixelFormat() const { return FPixelFormat; }

  TNotifyEvent OnClear;

 private:
  void RaiseClear() { if (OnClear) OnClear(this); }
  bool DrawRaw(TGPGraphics* Graphics, const TGPRectF& Rect, bool Float);
  void FillTexture(TGPGraphics* graphics, const TGPRectF* R, TGPGraphicsPath* Path);

  bool FDrawing = false;
  bool FDoubleBuffered = false;
  TTransparentMode FBitmapTransparentMode = tmAuto;
  TColor FBitmapTransparentColor = 0xFFFFFF;
  Integer FPixelDepth = 0;
  bool FHasAlpha = false, FHasPalette = false;
  Integer FPixelFormat = 0;
};

}  // namespace gdiplus
