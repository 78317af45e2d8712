#include "ribbon/CaptionLayer.h"

#include <algorithm>

#include "platform/vcl/Forms.h"
#include "platform/win/Window.h"
#include "toolbar/ToolBarText.h"

namespace ribbon {

TCaptionLayer::TCaptionLayer(TComponent* AOwner) : TCustomControl(AOwner) {
  TControlStyle cs = ControlStyle();
  cs.Exclude(csOpaque);
  cs.Include(csParentBackground);
  SetControlStyle(cs);
  SetCaption(u"");
  FBackColor = clNone;
  FRefGlowButton = new TAdvGlowButton(this);
  FRefGlowButton->SetParent(this);
  FRefGlowButton->SetAlign(alNone);
  FRefGlowButton->SetBounds(1, 1, 1, 1);
  FRefGlowButton->SetTabStop(false);
  FRefGlowButton->SetTransparent(true);
}

void TCaptionLayer::Loaded() {
  TCustomControl::Loaded();
  FOldCursor = Cursor();
}

// Erasing would wipe the glass under the text.
void TCaptionLayer::WMEraseBkgnd(TMessage& M) { M.Result = 1; }

void TCaptionLayer::WMPaint(TMessage& M) {
  // The handler paints the text (the pager's glass caption); the layer
  // itself draws nothing here.
  String text = Caption();
  TRect r = ClientRect();
  TAlignment a = taLeftJustify;
  PAINTSTRUCT ps;
  BeginPaint(Handle(), &ps);
  if (OnTextPaint) OnTextPaint(this, text, r, a);
  EndPaint(Handle(), &ps);
  M.Result = 0;
}

void TCaptionLayer::Paint() {
  TRect r = ClientRect();
  String text = Caption();
  if (OnTextPaint) {
    TAlignment a = taLeftJustify;
    OnTextPaint(this, text, r, a);
  } else {
    toolbar::DrawGlassText(this, text, false, FBackColor, TRect{}, false, r);
  }
  if (FRef) {
    FRef = false;
    FRefGlowButton->Invalidate();
  } else {
    FRef = true;
  }
}

void TCaptionLayer::WMLButtonDblClk(TMessage& M) {
  TCustomControl::WMLButtonDblClk(M);
  const TPoint p = PointFromLParam(M.LParam);
  if (OnDoubleClick) OnDoubleClick(this, p.X, p.Y);
}

void TCaptionLayer::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Shift.Contains(ssLeft) && Button == mbLeft) {
    if (Y >= 0 && Y <= ResizeBand) {
      FResizing = true;
      FResizingClip = rcTop;
      FResizingDir = 0;
      FMouseY = 0;
      return;
    }
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && form->WindowState() == wsMaximized && form->HandleAllocated())
      SendMessage(form->Handle(), WM_NCLBUTTONDOWN, WPARAM(HTCAPTION), PointToLParam(ClientToScreen(TPoint{X, Y})));
  }
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

Integer TCaptionLayer::MinFormHeight() const {
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr) return 0;
  Integer h = std::max<Integer>(form->Constraints()->MinHeight(), GetSystemMetrics(SM_CYMIN));
  // The layer's bottom edge in the form's window, plus the frame below it.
  const TPoint bottom = form->ScreenToClient(ClientToScreen(TPoint{0, Height()}));
  const TRect frame = form->FrameInsets();
  return std::max(h, bottom.Y + frame.Top + frame.Bottom);
}

void TCaptionLayer::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr || form->WindowState() == wsMaximized) return;
  const TFormBorderStyle bs = form->BorderStyle();
  if (bs == bsSingle || bs == bsDialog || bs == bsToolWindow) return;
  const TCursor want = Y >= 0 && Y <= ResizeBand ? crSizeNS : FOldCursor;
  if (Cursor() != want) SetCursor(want);
  if (!Shift.Contains(ssLeft) || !FResizing) return;
  // The top follows the pointer; the bottom stays where it is, and the form
  // never gets lower than its minimum (the top stops there instead).
  Integer dy = Y - FMouseY;
  const Integer minHeight = MinFormHeight();
  if (form->Height() - dy < minHeight) dy = std::max(0, form->Height() - minHeight);
  if (dy != 0) form->SetBounds(form->Left(), form->Top() + dy, form->Width(), form->Height() - dy);
  FMouseY = 0;
  FResizingDir = 1;
}

void TCaptionLayer::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (FResizing) {
    FResizing = false;
    FResizingDir = 0;
    FMouseY = 0;
  }
}

}  // namespace ribbon
