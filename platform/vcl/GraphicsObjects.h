#pragma once
// TFont, TPen and TBrush: the drawing tools of a canvas. Each owns the GDI
// handle it describes, made on demand and dropped on every change, and raises
// OnChange after a change.
#include <cstdint>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/Set.h"
#include "platform/vcl/Color.h"

class TBitmap;

// Windows' rounding multiply-divide; -1 when c is 0.
Integer MulDiv(Integer a, Integer b, Integer c);

class TGraphicsObject : public TPersistent {
 public:
  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of font styles (a set type, so the type information can publish it).
using TFontStyles = TSet<TFontStyle>;

enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural };
using TFontCharset = Byte;
using TFontName = String;

class TFont : public TGraphicsObject {
 public:
  TFont();
  ~TFont() override;

  // Copies every property from another TFont; a font made for another pixel
  // density keeps its point size. Other classes: the TPersistent rule.
  void Assign(TPersistent* Source) override;

  HFONT Handle();
  // Takes over a font handle (its description becomes the properties).
  void SetHandle(HFONT value);

  const String& Name() const { return FName; }
  void SetName(const String& value);
  // Points: -MulDiv(Height, 72, PixelsPerInch).
  Integer Size() const;
  void SetSize(Integer value);
  // Pixels; negative is the character height, positive the cell height.
  Integer Height() const { return FHeight; }
  void SetHeight(Integer value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset value);
  // Tenths of a degree, counter-clockwise.
  Integer Orientation() const { return FOrientation; }
  void SetOrientation(Integer value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch value);
  TFontQuality Quality() const { return FQuality; }
  void SetQuality(TFontQuality value);
  Integer PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(Integer value);

 protected:
  void Changed() override;

 private:
  void FreeHandle();
  HFONT FHandle = nullptr;
  bool FOwnsHandle = false;
  String FName = u"Tahoma";
  Integer FHeight = -11;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  TFontCharset FCharset = DEFAULT_CHARSET;
  Integer FOrientation = 0;
  TFontPitch FPitch = fpDefault;
  TFontQuality FQuality = fqDefault;
  Integer FPixelsPerInch;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
// The SetROP2 code of a pen mode.
int PenModeToRop2(TPenMode mode);

class TPen : public TGraphicsObject {
 public:
  TPen() = default;
  ~TPen() override;
  void Assign(TPersistent* Source) override;
  HPEN Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  Integer Width() const { return FWidth; }
  // Negative widths are ignored; 0 draws as 1 pixel, as GDI does.
  void SetWidth(Integer value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode value);

 protected:
  void Changed() override;

 private:
  void FreeHandle();
  HPEN FHandle = nullptr;
  TColor FColor = clBlack;
  Integer FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
 public:
  TBrush() = default;
  ~TBrush() override;
  void Assign(TPersistent* Source) override;
  HBRUSH Handle();
  TColor Color() const { return FColor; }
  // Setting a colour makes a clear brush solid, as the class library does.
  void SetColor(TColor value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle value);
  // A pattern bitmap (not owned; copied into the handle when it is made).
  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* value);

 protected:
  void Changed() override;

 private:
  void FreeHandle();
  HBRUSH FHandle = nullptr;
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  TBitmap* FBitmap = nullptr;
};
