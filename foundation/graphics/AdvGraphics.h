#pragma once
// TAdvGraphics: the vector canvas over a platform canvas, as far as its
// drawing contexts need it: the canvas drawn on, the current fill, stroke and
// font, the context it forwards to, and the colour channel readers.
#include <memory>

#include "foundation/graphics/AdvGraphicsContext.h"

class TAdvGraphics : public TObject {
 public:
  // Draws on ACanvas (not owned) through the GDI+ context when ANative, else
  // the GDI context; the context's size starts at 1 x 1 and it receives the
  // canvas's fill (solid white to grey), stroke (solid silver) and font.
  TAdvGraphics(TCanvas* ACanvas, bool ANative);
  ~TAdvGraphics() override;

  TCanvas* Canvas() const { return FActiveCanvas; }
  bool Native() const { return FNative; }
  TAdvGraphicsContext* Context() const { return FNative ? FContextNative.get() : FContextGeneral.get(); }
  TAdvGraphicsFill* Fill() const { return FFill.get(); }
  TAdvGraphicsStroke* Stroke() const { return FStroke.get(); }
  TAdvGraphicsFont* Font() const { return FFont.get(); }

  // The red, green and blue bytes of AColor with system colours resolved;
  // the null colour -1 reads as black.
  static Byte GetColorRed(TColor AColor);
  static Byte GetColorGreen(TColor AColor);
  static Byte GetColorBlue(TColor AColor);

 private:
  TCanvas* FActiveCanvas;
  bool FNative;
  std::unique_ptr<TAdvGraphicsContext> FContextNative;
  std::unique_ptr<TAdvGraphicsContext> FContextGeneral;
  std::unique_ptr<TAdvGraphicsFill> FFill;
  std::unique_ptr<TAdvGraphicsStroke> FStroke;
  std::unique_ptr<TAdvGraphicsFont> FFont;
};
