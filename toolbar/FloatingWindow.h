#pragma once
// TFloatingWindow: the caption-less, stay-on-top form that carries a
// floating toolbar. It draws its own border, sizes itself around the
// toolbar and lets the user drag any edge to flow the toolbar's controls
// into more or fewer rows; closing it hides the toolbar. The toolbar makes
// it, moves it by its caption, and frees it when it docks again.
#include "platform/vcl/Forms.h"

namespace toolbar {

class TAdvCustomToolBar;

enum TResizingClip { rcLeft, rcTop, rcRight, rcBottom };

class TFloatingWindow : public TCustomForm {
 public:
  explicit TFloatingWindow(TComponent* AOwner);
  void Loaded() override;

  TAdvCustomToolBar* AdvCustomToolBar() const { return FAdvCustomToolBar; }
  void SetAdvCustomToolBar(TAdvCustomToolBar* Value) { FAdvCustomToolBar = Value; }
  Integer BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer Value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value) { FBorderColor = Value; }
  bool SizeInit() const { return FSizeInit; }
  void SetSizeInit(bool Value) { FSizeInit = Value; }
  bool Resizing() const { return FResizing; }

  // The gap between the window's edge and the toolbar: the border width and
  // one pixel more, at the pixels per inch of the window's monitor.
  Integer Margin() const;
  // Fits the window around its toolbar (nothing without one).
  void SetWindowSize();

 protected:
  void Paint() override;
  void WMClose(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  // Takes ARows rows on the toolbar when that is a change; the edge named by
  // KeepRightOrBottom stays where it was. True when the rows changed.
  bool TakeRows(Integer ARows, bool KeepRight, bool KeepBottom);

  TAdvCustomToolBar* FAdvCustomToolBar = nullptr;
  TComponent* FOwner = nullptr;
  Integer FBorderWidth = 2;
  TColor FBorderColor = TColor(0x006D6D6D);
  TCursor FOldCursor = crDefault;
  bool FResizing = false;
  Integer FMouseX = 0, FMouseY = 0;
  Integer FResizingDir = 0;
  TResizingClip FResizingClip = rcLeft;
  bool FSizeInit = false;
};

}  // namespace toolbar
