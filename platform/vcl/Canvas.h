#pragma once
// TCanvas: drawing on a device context with a pen, a brush and a font that
// are selected into it before each drawing call.
#include <memory>
#include <mutex>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/Geometry.h"
#include "platform/rtl/Persistent.h"
#include "platform/vcl/GraphicsObjects.h"

class TGraphic;

// DrawText flags under the class library's names (a set, as bits).
using TTextFormat = UINT;
constexpr TTextFormat tfBottom = DT_BOTTOM, tfCalcRect = DT_CALCRECT, tfCenter = DT_CENTER,
                      tfEditControl = DT_EDITCONTROL, tfEndEllipsis = DT_END_ELLIPSIS,
                      tfPathEllipsis = DT_PATH_ELLIPSIS, tfExpandTabs = DT_EXPANDTABS,
                      tfExternalLeading = DT_EXTERNALLEADING, tfLeft = DT_LEFT, tfModifyString = DT_MODIFYSTRING,
                      tfNoClip = DT_NOCLIP, tfNoPrefix = DT_NOPREFIX, tfRight = DT_RIGHT,
                      tfRtlReading = DT_RTLREADING, tfSingleLine = DT_SINGLELINE, tfTop = DT_TOP,
                      tfVerticalCenter = DT_VCENTER, tfWordBreak = DT_WORDBREAK, tfHidePrefix = DT_HIDEPREFIX,
                      tfNoFullWidthCharBreak = DT_NOFULLWIDTHCHARBREAK, tfPrefixOnly = DT_PREFIXONLY,
                      tfTabStop = DT_TABSTOP, tfWordEllipsis = DT_WORD_ELLIPSIS;

using TCopyMode = Integer;
constexpr TCopyMode cmBlackness = BLACKNESS, cmDstInvert = DSTINVERT, cmMergeCopy = MERGECOPY,
                    cmMergePaint = MERGEPAINT, cmNotSrcCopy = NOTSRCCOPY, cmNotSrcErase = NOTSRCERASE,
                    cmPatCopy = PATCOPY, cmPatInvert = PATINVERT, cmPatPaint = PATPAINT, cmSrcAnd = SRCAND,
                    cmSrcCopy = SRCCOPY, cmSrcErase = SRCERASE, cmSrcInvert = SRCINVERT, cmSrcPaint = SRCPAINT,
                    cmWhiteness = WHITENESS;

class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;

  // The device context; a canvas without one asks CreateHandle, and raises
  // EInvalidOperation "Canvas does not allow drawing" when it still has none.
  // The canvas's font, pen and brush are selected into it first.
  HDC Handle();
  // Uses an outside DC (not owned); nullptr detaches.
  void SetHandle(HDC value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TPen* Pen() { return FPen.get(); }
  TBrush* Brush() { return FBrush.get(); }
  TFont* Font() { return FFont.get(); }
  void SetPen(TPen* value) { FPen->Assign(value); }
  void SetBrush(TBrush* value) { FBrush->Assign(value); }
  void SetFont(TFont* value) { FFont->Assign(value); }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode value) { FCopyMode = value; }
  TPoint PenPos();
  void SetPenPos(TPoint value) { MoveTo(value.X, value.Y); }
  // The visible part in logical coordinates.
  TRect ClipRect();
  TColor Pixels(Integer x, Integer y);
  void SetPixels(Integer x, Integer y, TColor value);
  // ETO_* flags TextOut passes on.
  Integer TextFlags() const { return FTextFlags; }
  void SetTextFlags(Integer value) { FTextFlags = value; }

  void Arc(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4);
  void Chord(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4);
  void Pie(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4);
  void Ellipse(Integer x1, Integer y1, Integer x2, Integer y2);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  void DrawFocusRect(const TRect& r);
  void LineTo(Integer x, Integer y);
  void MoveTo(Integer x, Integer y);
  void Polygon(const std::vector<TPoint>& points);
  void Polyline(const std::vector<TPoint>& points);
  void PolyBezier(const std::vector<TPoint>& points);
  void Rectangle(Integer x1, Integer y1, Integer x2, Integer y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void RoundRect(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3);
  void RoundRect(const TRect& r, Integer cx, Integer cy) { RoundRect(r.Left, r.Top, r.Right, r.Bottom, cx, cy); }

  void TextOut(Integer x, Integer y, const String& text);
  // Text at (x, y) clipped to r (its background filled when the brush is solid).
  void TextRect(const TRect& r, Integer x, Integer y, const String& text);
  // DrawText of text in r with the format; tfCalcRect measures into r.
  void TextRect(TRect& r, String& text, TTextFormat format);
  TSize TextExtent(const String& text);
  Integer TextWidth(const String& text) { return TextExtent(text).cx; }
  Integer TextHeight(const String& text) { return TextExtent(text).cy; }

  // A graphic at its own size; nothing for nullptr or an empty graphic.
  void Draw(Integer x, Integer y, TGraphic* graphic);
  // A graphic scaled into r; nothing for nullptr or an empty graphic.
  void StretchDraw(const TRect& r, TGraphic* graphic);
  // Copies source of canvas into dest with CopyMode (StretchBlt).
  void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);

  // Deselects pen, brush and font (stock objects in their place); they are
  // selected again before the next drawing call.
  void Refresh();
  // Serialises drawing from several threads.
  void Lock();
  bool TryLock();
  void Unlock();
  Integer LockCount() const { return FLockCount; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();
  // Selects the tools the next call needs into the DC.
  enum TState : unsigned { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };
  void RequiredState(unsigned state);
  void DeselectHandles();

 private:
  HDC FHandle = nullptr;
  unsigned FState = 0;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  TCopyMode FCopyMode = cmSrcCopy;
  Integer FTextFlags = 0;
  std::recursive_mutex FLock;
  Integer FLockCount = 0;
};

// A raised or sunken frame of width lines inside r: top and left in topColor,
// bottom and right in bottomColor. r shrinks by width on each side.
void Frame3D(TCanvas* canvas, TRect& r, TColor topColor, TColor bottomColor, Integer width);
