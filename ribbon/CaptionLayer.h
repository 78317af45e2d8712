#pragma once
// TCaptionLayer: a borderless, see-through control that a ribbon pager lays
// over its caption row when the form is on glass. It lets the pager paint
// the window caption's text through an event, turns a press on the caption
// of a maximized window into a window drag, lets the user size a normal
// window from the caption's top 6 pixels, and reports double clicks with
// their position.
#include <functional>

#include "controls/AdvGlowButton.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/StdCtrls.h"

namespace ribbon {

using TTextPaintEvent = std::function<void(TObject* Sender, String& Text, TRect& TxtR, TAlignment& Algn)>;
using TDblClickEvent = std::function<void(TObject* Sender, Integer X, Integer Y)>;

enum TResizingClip { rcLeft, rcTop, rcRight, rcBottom };

class TCaptionLayer : public TCustomControl {
 public:
  explicit TCaptionLayer(TComponent* AOwner);
  void Loaded() override;

  TColor BackColor() const { return FBackColor; }
  void SetBackColor(TColor Value) { FBackColor = Value; }
  TAdvGlowButton* RefGlowButton() const { return FRefGlowButton; }
  bool Resizing() const { return FResizing; }
  Integer ResizingDir() const { return FResizingDir; }
  TResizingClip ResizingClip() const { return FResizingClip; }
  // The lowest height a drag on the top edge leaves the form: its own
  // minimum, the system's, and enough to keep this layer whole.
  Integer MinFormHeight() const;

  TTextPaintEvent OnTextPaint;
  TDblClickEvent OnDoubleClick;
  // The layer's own: not fired for a press that starts a resize.
  TMouseEvent OnMouseDown;

 protected:
  void Paint() override;
  void WMEraseBkgnd(TMessage& Message) override;
  void WMPaint(TMessage& Message) override;
  void WMLButtonDblClk(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  // The height of the band at the top that sizes the form.
  static constexpr Integer ResizeBand = 5;
  TColor FBackColor = clNone;
  TAdvGlowButton* FRefGlowButton = nullptr;  // owned (component)
  bool FRef = false;
  bool FResizing = false;
  Integer FMouseY = 0;
  Integer FResizingDir = 0;
  TResizingClip FResizingClip = rcTop;
  TCursor FOldCursor = crDefault;
};

}  // namespace ribbon
