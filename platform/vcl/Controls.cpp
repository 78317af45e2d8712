#include "platform/vcl/Controls.h"

#include <algorithm>
#include <iterator>
#include <numeric>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/ControlsInternal.h"
#include "platform/vcl/FormWindowInternal.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphic.h"
#include "platform/vcl/Menus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"

namespace {

String Quoted(const TControl* c) { return u"'" + c->Name() + u"'"; }

[[noreturn]] void NoParentWindow(const TControl* c) {
  throw EInvalidOperation(u"Control " + Quoted(c) + u" has no parent window");
}

bool IsMouseMsg(UINT m) { return m >= WM_MOUSEFIRST && m <= WM_MOUSELAST && m != WM_MOUSEWHEEL && m != WM_MOUSEHWHEEL; }

}  // namespace

// ---------------------------------------------------------------------------
// Shift states and accelerators

TShiftState KeysToShiftState(WPARAM Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(ssShift);
  if (Keys & MK_CONTROL) s.Include(ssCtrl);
  if (Keys & MK_LBUTTON) s.Include(ssLeft);
  if (Keys & MK_RBUTTON) s.Include(ssRight);
  if (Keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (KeyData & (LPARAM(1) << 29)) s.Include(ssAlt);
  return s;
}

TShiftState GetShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
  return s;
}

bool IsAccel(Word Key, const String& Text) {
  for (std::size_t i = 0; i + 1 < Text.size(); ++i) {
    if (Text[i] != u'&') continue;
    if (Text[i + 1] == u'&') {  // "&&" is a literal ampersand
      ++i;
      continue;
    }
    return AnsiUpperCase(String(1, Text[i + 1])) == AnsiUpperCase(String(1, Char(Key)));
  }
  return false;
}

// ---------------------------------------------------------------------------
// TSizeConstraints

void TSizeConstraints::SetMinWidth(Integer v) {
  v = std::max(v, 0);
  if (v == FMinWidth) return;
  FMinWidth = v;
  if (FMaxWidth > 0 && FMaxWidth < v) FMaxWidth = v;
  Changed();
}
void TSizeConstraints::SetMinHeight(Integer v) {
  v = std::max(v, 0);
  if (v == FMinHeight) return;
  FMinHeight = v;
  if (FMaxHeight > 0 && FMaxHeight < v) FMaxHeight = v;
  Changed();
}
void TSizeConstraints::SetMaxWidth(Integer v) {
  v = std::max(v, 0);
  if (v == FMaxWidth) return;
  FMaxWidth = v;
  if (v > 0 && FMinWidth > v) FMinWidth = v;
  Changed();
}
void TSizeConstraints::SetMaxHeight(Integer v) {
  v = std::max(v, 0);
  if (v == FMaxHeight) return;
  FMaxHeight = v;
  if (v > 0 && FMinHeight > v) FMinHeight = v;
  Changed();
}
void TSizeConstraints::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TSizeConstraints*>(Source)) {
    FMinWidth = s->FMinWidth;
    FMinHeight = s->FMinHeight;
    FMaxWidth = s->FMaxWidth;
    FMaxHeight = s->FMaxHeight;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}
void TSizeConstraints::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), FConstraints(std::make_unique<TSizeConstraints>()), FFont(std::make_unique<TFont>()) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  FFont->OnChange = [this](TObject* s) { FontChanged(s); };
  FConstraints->OnChange = [this](TObject*) {
    SetBounds(FLeft, FTop, FWidth, FHeight);
    // The window manager's limits follow, though the bounds may not have changed.
    if (auto* w = dynamic_cast<TWinControl*>(this); w != nullptr && w->HandleAllocated())
      if (TWindowBridge* b = controls_internal::BridgeOf(w->Handle())) b->UpdateSizeHints();
  };
  // Components made while their owner loads are loaded with it.
  if (AOwner != nullptr && AOwner->ComponentState().Contains(csLoading)) Loading();
}

TControl::~TControl() {
  Destroying();
  if (FParent != nullptr) FParent->RemoveControl(this);
  controls_internal::ForgetControl(this);
  if (FPopupMenu != nullptr) FPopupMenu->RemoveFreeNotification(this);
}

void TControl::SetName(const String& NewName) {
  const bool syncText = FControlStyle.Contains(csSetCaption) && FText == Name();
  TComponent::SetName(NewName);
  // A new control shows its name until given a caption, as the class library does.
  if (syncText && !ComponentState().Contains(csLoading)) SetText(NewName);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation(u"Control " + Quoted(this) + u" cannot have itself as parent");
  if (auto* self = dynamic_cast<TWinControl*>(this); self != nullptr && AParent != nullptr && self->ContainsControl(AParent))
    throw EInvalidOperation(u"Control " + Quoted(this) + u" cannot have itself as parent");
  if (FParent != nullptr) FParent->RemoveControl(this);
  if (AParent != nullptr) AParent->InsertControl(this);
}

bool TControl::CanResize(Integer&, Integer&) { return true; }
bool TControl::CanAutoSize(Integer&, Integer&) { return true; }
void TControl::ConstrainedResize(Integer&, Integer&, Integer&, Integer&) {}

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  Integer minW = FConstraints->MinWidth(), minH = FConstraints->MinHeight();
  Integer maxW = FConstraints->MaxWidth(), maxH = FConstraints->MaxHeight();
  ConstrainedResize(minW, minH, maxW, maxH);
  if (maxW > 0 && AWidth > maxW) AWidth = maxW;
  if (AWidth < minW) AWidth = minW;
  if (maxH > 0 && AHeight > maxH) AHeight = maxH;
  if (AHeight < minH) AHeight = minH;
  if ((AWidth != FWidth || AHeight != FHeight) && !CanResize(AWidth, AHeight)) {
    AWidth = FWidth;
    AHeight = FHeight;
  }
  if (FAutoSize && !ComponentState().Contains(csLoading)) CanAutoSize(AWidth, AHeight);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  const bool resized = AWidth != FWidth || AHeight != FHeight;
  if (FParent != nullptr && FVisible) Invalidate();  // the old place (windowless)
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  UpdateAnchorRules();
  if (FParent != nullptr && FVisible) Invalidate();
  if (resized && !ComponentState().Contains(csLoading)) Resize();
  RequestAlign();
}

namespace {
// Value x Num / Den rounded half away from zero (as MulDiv rounds).
Integer ScaleValue(Integer Value, long long Num, long long Den) {
  const long long p = (long long)Value * Num;
  const long long q = p >= 0 ? (2 * p + Den) / (2 * Den) : -((-2 * p + Den) / (2 * Den));
  return Integer(q);
}
}  // namespace

void TControl::ChangeScale(Integer M, Integer D, bool) {
  if (M <= 0 || D <= 0) return;
  TScaleState& s = FScale;
  // A top-level window keeps its place on the desktop; only its size scales.
  const bool keepPlace = FParent == nullptr;
  const TRect bounds = keepPlace ? Bounds(0, 0, FWidth, FHeight) : Bounds(FLeft, FTop, FWidth, FHeight);
  const Integer limits[4] = {FConstraints->MinWidth(), FConstraints->MinHeight(), FConstraints->MaxWidth(),
                             FConstraints->MaxHeight()};
  // Whatever changed since the last scaling (or was never scaled) starts again from its value now.
  const bool boundsMoved = !s.Started || bounds != s.ScaledBounds;
  const bool limitsMoved = !s.Started || !std::equal(std::begin(limits), std::end(limits), std::begin(s.ScaledLimits));
  // A font taken from the parent follows the parent's scaling.
  const bool fontMoved = !s.Started || (!FParentFont && FFont->Height() != s.ScaledFont);
  if (boundsMoved || limitsMoved || fontMoved) {
    // The ratio is shared: every value that did not move is rebased on its scaled value too.
    s.BaseBounds = bounds;
    std::copy(std::begin(limits), std::end(limits), std::begin(s.BaseLimits));
    s.BaseFont = FFont->Height();
    s.Num = s.Den = 1;
  }
  s.Started = true;
  s.Num *= M;
  s.Den *= D;
  const long long g = std::gcd(s.Num, s.Den);
  s.Num /= g;
  s.Den /= g;
  const TRect& b = s.BaseBounds;
  const Integer left = ScaleValue(b.Left, s.Num, s.Den), top = ScaleValue(b.Top, s.Num, s.Den);
  const Integer width = ScaleValue(b.Right, s.Num, s.Den) - left, height = ScaleValue(b.Bottom, s.Num, s.Den) - top;
  for (int i = 0; i < 4; ++i) s.ScaledLimits[i] = ScaleValue(s.BaseLimits[i], s.Num, s.Den);
  FConstraints->SetMinWidth(s.ScaledLimits[0]);
  FConstraints->SetMinHeight(s.ScaledLimits[1]);
  FConstraints->SetMaxWidth(s.ScaledLimits[2]);
  FConstraints->SetMaxHeight(s.ScaledLimits[3]);
  if (!FParentFont) FFont->SetHeight(ScaleValue(s.BaseFont, s.Num, s.Den));
  SetBounds(keepPlace ? FLeft : left, keepPlace ? FTop : top, width, height);
  s.ScaledBounds = keepPlace ? Bounds(0, 0, FWidth, FHeight) : Bounds(FLeft, FTop, FWidth, FHeight);
  s.ScaledFont = FFont->Height();
}

void TWinControl::ChangeScale(Integer M, Integer D, bool IsDpiChange) {
  if (M <= 0 || D <= 0) return;
  TControl::ChangeScale(M, D, IsDpiChange);
  for (Integer i = 0; i < ControlCount(); ++i) Controls(i)->ChangeScale(M, D, IsDpiChange);
}

void TControl::UpdateBoundsRect(const TRect& R) {
  // Alignment's own moves: the anchors keep their remembered distances.
  const TPoint rules = FAnchorRules, original = FOriginalParentSize;
  FControlState.Include(csAligning);
  SetBounds(R.Left, R.Top, R.Width(), R.Height());
  FControlState.Exclude(csAligning);
  FAnchorRules = rules;
  FOriginalParentSize = original;
}

void TControl::UpdateAnchorRules() {
  if (FControlState.Contains(csAligning) || FParent == nullptr) return;
  const TRect pr = FParent->ClientRect();
  FOriginalParentSize = {pr.Width(), pr.Height()};
  const bool l = FAnchors.Contains(akLeft), r = FAnchors.Contains(akRight);
  const bool t = FAnchors.Contains(akTop), b = FAnchors.Contains(akBottom);
  FAnchorRules.X = (l && r) ? FWidth : (l || r) ? FLeft : FLeft + FWidth / 2;
  FAnchorRules.Y = (t && b) ? FHeight : (t || b) ? FTop : FTop + FHeight / 2;
}

void TControl::RequestAlign() {
  if (FParent != nullptr) FParent->AlignControl(this);
}

TRect TControl::ClientRect() const { return {0, 0, FWidth, FHeight}; }

void TControl::SetClientWidth(Integer v) { SetWidth(FWidth - ClientWidth() + v); }
void TControl::SetClientHeight(Integer v) { SetHeight(FHeight - ClientHeight() + v); }
void TControl::SetClientSize(TPoint v) {
  SetBounds(FLeft, FTop, FWidth - ClientWidth() + v.X, FHeight - ClientHeight() + v.Y);
}

TPoint TControl::ClientOrigin() const {
  if (FParent == nullptr) NoParentWindow(this);
  const TPoint p = FParent->ClientOrigin();
  return {p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint p) const {
  const TPoint o = ClientOrigin();
  return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  const TPoint o = ClientOrigin();
  return {p.X - o.X, p.Y - o.Y};
}

TPoint TControl::ClientToParent(TPoint p, TWinControl* AParent) const {
  if (AParent == nullptr) AParent = FParent;
  if (AParent == nullptr) NoParentWindow(this);
  const TPoint a = ClientToScreen(p);
  return AParent->ScreenToClient(a);
}

TPoint TControl::ParentToClient(TPoint p, TWinControl* AParent) const {
  if (AParent == nullptr) AParent = FParent;
  if (AParent == nullptr) NoParentWindow(this);
  return ScreenToClient(AParent->ClientToScreen(p));
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  const TAlign old = FAlign;
  FAlign = Value;
  FAnchors = (Value == alNone || Value == alCustom) ? TAnchors{akLeft, akTop}
             : Value == alTop    ? TAnchors{akLeft, akTop, akRight}
             : Value == alBottom ? TAnchors{akLeft, akRight, akBottom}
             : Value == alLeft   ? TAnchors{akLeft, akTop, akBottom}
             : Value == alRight  ? TAnchors{akTop, akRight, akBottom}
                                 : TAnchors{akLeft, akTop, akRight, akBottom};
  if (old == alNone || Value != alNone) RequestAlign();
  else UpdateAnchorRules();
}

void TControl::SetAnchors(TAnchors Value) {
  if (FAnchors == Value) return;
  FAnchors = Value;
  UpdateAnchorRules();
}

void TControl::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value) AdjustSize();
}

void TControl::AdjustSize() {
  if (!FAutoSize || ComponentState().Contains(csLoading)) return;
  SetBounds(FLeft, FTop, FWidth, FHeight);
  Integer w = FWidth, h = FHeight;
  if (CanAutoSize(w, h) && (w != FWidth || h != FHeight)) {
    const bool saved = FAutoSize;
    FAutoSize = false;  // the size asked for is already the content's
    SetBounds(FLeft, FTop, w, h);
    FAutoSize = saved;
  }
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  VisibleChanging();
  if (!Value) Invalidate();
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
  RequestAlign();
}

bool TControl::IsVisible() const {
  if (!FVisible) return false;
  if (auto* w = dynamic_cast<const TWinControl*>(this); w != nullptr && FParent == nullptr) return w->Showing();
  return FParent != nullptr && FParent->IsVisible();
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
  if (FColor != Value) {
    FColor = Value;
    Perform(CM_COLORCHANGED, 0, 0);
  }
  FParentColor = false;
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (Value && FParent != nullptr) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::FontChanged(TObject*) {
  FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (Value && FParent != nullptr) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetText(const String& Value) {
  if (FText == Value) return;
  const String copy = Value;  // Value may be FText's own storage
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

Integer TControl::GetTextLen() { return Integer(Perform(WM_GETTEXTLENGTH, 0, 0)); }

void TControl::SetShowHint(bool Value) {
  FParentShowHint = false;
  if (FShowHint == Value) return;
  FShowHint = Value;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (Value && FParent != nullptr) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu != nullptr) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

void TControl::BringToFront() { SetZOrder(true); }
void TControl::SendToBack() { SetZOrder(false); }

void TControl::SetZOrder(bool TopMost) {
  if (FParent == nullptr) return;
  auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (TopMost) list.push_back(this);
  else list.insert(list.begin(), this);
  Invalidate();
}

void TControl::Invalidate() {
  if (FParent == nullptr || !FParent->HandleAllocated()) return;
  const TRect r = BoundsRect();
  InvalidateRect(FParent->Handle(), &r, FControlStyle.Contains(csOpaque) ? FALSE : TRUE);
}

void TControl::Update() {
  if (FParent != nullptr) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (FParent != nullptr) {
    if (FParentColor) Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (FParentFont) Perform(CM_PARENTFONTCHANGED, 0, 0);
    if (FParentShowHint) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  }
  UpdateAnchorRules();
  if (FAutoSize) AdjustSize();
  RequestAlign();
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}
void TControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}
void TControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}
void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}
void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}
bool TControl::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  return handled;
}
void TControl::Resize() {
  if (OnResize) OnResize(this);
}
void TControl::Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this)); }

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  if (WindowProc) WindowProc(m);
  else WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& Message) { Dispatch(Message); }

void TControl::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(M); break;
    case WM_LBUTTONUP: WMLButtonUp(M); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(M); break;
    case WM_RBUTTONDOWN: WMRButtonDown(M); break;
    case WM_RBUTTONUP: WMRButtonUp(M); break;
    case WM_RBUTTONDBLCLK: WMRButtonDown(M); break;
    case WM_MBUTTONDOWN: WMMButtonDown(M); break;
    case WM_MBUTTONUP: WMMButtonUp(M); break;
    case WM_MBUTTONDBLCLK: WMMButtonDown(M); break;
    case WM_MOUSEMOVE: WMMouseMove(M); break;
    case WM_MOUSEWHEEL: WMMouseWheel(M); break;
    case CM_MOUSEWHEEL: CMMouseWheel(M); break;
    case WM_CANCELMODE: WMCancelMode(M); break;
    case WM_SETTEXT: WMSetText(M); break;
    case WM_GETTEXTLENGTH: WMGetTextLength(M); break;
    case WM_CONTEXTMENU: WMContextMenu(M); break;
    case CM_MOUSEENTER: CMMouseEnter(M); break;
    case CM_MOUSELEAVE: CMMouseLeave(M); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(M); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(M); break;
    case CM_TEXTCHANGED: CMTextChanged(M); break;
    case CM_FONTCHANGED: CMFontChanged(M); break;
    case CM_COLORCHANGED: CMColorChanged(M); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(M); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(M); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(M); break;
    case CM_HINTSHOW: CMHintShow(M); break;
    case CM_HITTEST: CMHitTest(M); break;
    case CM_CURSORCHANGED: controls_internal::CursorChanged(this); break;
    default: DefaultHandler(M); break;
  }
}

void TControl::DefaultHandler(TMessage& M) {
  switch (M.Msg) {
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<Char*>(M.LParam);
      if (buffer == nullptr || M.WParam == 0) {
        M.Result = 0;
        break;
      }
      const std::size_t n = std::min<std::size_t>(FText.size(), M.WParam - 1);
      std::copy_n(FText.data(), n, buffer);
      buffer[n] = 0;
      M.Result = LRESULT(n);
      break;
    }
    case WM_RBUTTONUP: {
      // The window system follows a right click with a context-menu request.
      const TPoint p = ClientToScreen(PointFromLParam(M.LParam));
      Perform(WM_CONTEXTMENU, 0, PointToLParam(p));
      break;
    }
    default: M.Result = 0; break;
  }
}

void TControl::DoMouseDown(TMessage& M, TMouseButton Button, TShiftState Shift) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  const TPoint p = PointFromLParam(M.LParam);
  MouseDown(Button, KeysToShiftState(M.WParam) + Shift, p.X, p.Y);
}

void TControl::DoMouseUp(TMessage& M, TMouseButton Button) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  const TPoint p = PointFromLParam(M.LParam);
  MouseUp(Button, KeysToShiftState(M.WParam), p.X, p.Y);
}

void TControl::WMLButtonDown(TMessage& M) {
  DefaultHandler(M);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
  DoMouseDown(M, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& M) {
  DefaultHandler(M);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) DblClick();
  DoMouseDown(M, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& M) {
  DefaultHandler(M);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (FControlState.Contains(csClicked)) {
    FControlState.Exclude(csClicked);
    if (ClientRect().Contains(PointFromLParam(M.LParam))) Click();
  }
  DoMouseUp(M, mbLeft);
}

void TControl::WMRButtonDown(TMessage& M) {
  DefaultHandler(M);
  DoMouseDown(M, mbRight, {});
}

void TControl::WMRButtonUp(TMessage& M) {
  DoMouseUp(M, mbRight);
  DefaultHandler(M);
}

void TControl::WMMButtonDown(TMessage& M) {
  DefaultHandler(M);
  DoMouseDown(M, mbMiddle, {});
}

void TControl::WMMButtonUp(TMessage& M) {
  DefaultHandler(M);
  DoMouseUp(M, mbMiddle);
}

void TControl::WMMouseMove(TMessage& M) {
  DefaultHandler(M);
  if (FControlStyle.Contains(csNoStdEvents)) return;
  const TPoint p = PointFromLParam(M.LParam);
  MouseMove(KeysToShiftState(M.WParam), p.X, p.Y);
}

void TControl::WMMouseWheel(TMessage& M) {
  const TShiftState shift = KeysToShiftState(LOWORD(M.WParam));
  TMessage wheel{CM_MOUSEWHEEL, MAKEWPARAM(int(shift.ToBits() & 0xFFFF), GET_WHEEL_DELTA_WPARAM(M.WParam)), M.LParam, 0};
  MouseWheelHandler(wheel);
  M.Result = wheel.Result;
}

void TControl::MouseWheelHandler(TMessage& M) {
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && form != this) {
    form->MouseWheelHandler(M);
    return;
  }
  M.Result = Perform(CM_MOUSEWHEEL, M.WParam, M.LParam);
}

void TControl::CMMouseWheel(TMessage& M) {
  const TShiftState shift = TShiftState::FromBits(LOWORD(M.WParam));
  if (DoMouseWheel(shift, GET_WHEEL_DELTA_WPARAM(M.WParam), PointFromLParam(M.LParam))) {
    M.Result = 1;
    return;
  }
  // Unhandled wheel turns go up to the parent.
  M.Result = FParent != nullptr ? FParent->Perform(CM_MOUSEWHEEL, M.WParam, M.LParam) : 0;
}

void TControl::WMCancelMode(TMessage& M) {
  DefaultHandler(M);
  if (MouseCapture()) {
    SetMouseCapture(false);
    if (FControlState.Contains(csClicked)) FControlState.Exclude(csClicked);
  }
}

void TControl::WMSetText(TMessage& M) {
  const auto* text = reinterpret_cast<const Char*>(M.LParam);
  const String value = text ? String(text) : String();
  M.Result = 1;
  if (value == FText) return;
  FText = value;
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::WMGetTextLength(TMessage& M) { M.Result = LRESULT(FText.size()); }

void TControl::WMContextMenu(TMessage& M) {
  TPoint pos = PointFromLParam(M.LParam);
  bool handled = false;
  if (OnContextPopup) OnContextPopup(this, ScreenToClient(pos), handled);
  if (handled) {
    M.Result = 1;
    return;
  }
  if (FPopupMenu != nullptr && FPopupMenu->AutoPopup()) {
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(pos.X, pos.Y);
    M.Result = 1;
    return;
  }
  if (FParent != nullptr) M.Result = FParent->Perform(WM_CONTEXTMENU, M.WParam, M.LParam);
}

void TControl::CMMouseEnter(TMessage& M) {
  if (M.LParam == 0) MouseEnter();
}

void TControl::CMMouseLeave(TMessage& M) {
  if (M.LParam == 0) MouseLeave();
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMVisibleChanged(TMessage&) { Invalidate(); }
void TControl::CMTextChanged(TMessage&) {}
void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage&) {
  if (!FParentFont || FParent == nullptr) return;
  FFont->Assign(FParent->Font());  // raises CM_FONTCHANGED and clears FParentFont
  FParentFont = true;
}

void TControl::CMParentColorChanged(TMessage&) {
  if (!FParentColor || FParent == nullptr) return;
  SetColor(FParent->Color());
  FParentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (!FParentShowHint || FParent == nullptr) return;
  if (FShowHint != FParent->ShowHint()) {
    FShowHint = FParent->ShowHint();
    Perform(CM_SHOWHINTCHANGED, 0, 0);
  }
}

void TControl::CMHintShow(TMessage& M) { M.Result = 0; }
void TControl::CMHitTest(TMessage& M) { M.Result = HTCLIENT; }

// ---------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), FBrush(std::make_unique<TBrush>()) {
  FBrush->SetColor(FColor);
}

TWinControl::~TWinControl() {
  Destroying();
  // Leaves the parent while this is still a windowed control.
  if (FParent != nullptr) FParent->RemoveControl(this);
  DestroyHandle();
  // A control is destroyed by its parent: the children go first, topmost first.
  while (ControlCount() > 0) {
    TControl* child = Controls(ControlCount() - 1);
    RemoveControl(child);
    delete child;  // leaves its owner's list on the way
  }
}

TControl* TWinControl::Controls(Integer Index) const {
  const auto n = Integer(FControls.size());
  if (Index < 0 || Index >= ControlCount())
    throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
  return Index < n ? FControls[std::size_t(Index)] : FWinControls[std::size_t(Index - n)];
}

bool TWinControl::ContainsControl(const TControl* Control) const {
  for (const TControl* c = Control; c != nullptr; c = c->Parent())
    if (c == this) return true;
  return false;
}

void TWinControl::InsertControl(TControl* AControl) {
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
  AControl->FParent = this;
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    FWinControls.push_back(w);
    FTabList.push_back(w);
  } else {
    FControls.push_back(AControl);
  }
  AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
  AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
  AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  AControl->UpdateAnchorRules();
  if (!ComponentState().Contains(csLoading) && !ComponentState().Contains(csDestroying)) AlignControl(AControl);
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    if (w->FBridge) w->FBridge->UpdateGeometry();  // a window that was kept: placed in its new parent
    w->UpdateControlState();
  } else {
    AControl->Invalidate();
  }
}

void TWinControl::RemoveControl(TControl* AControl) {
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    if (TCustomForm* form = GetParentForm(this)) form->ForgetFocus(w);
    // A window already moved under another window (SetParent of handles) lives on there.
    if (!controls_internal::WindowMovedAway(w, this)) w->DestroyHandle();
    std::erase(FWinControls, w);
    std::erase(FTabList, w);
  } else {
    AControl->Invalidate();
    std::erase(FControls, AControl);
  }
  controls_internal::ForgetControl(AControl);
  AControl->FParent = nullptr;
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
  if (!ComponentState().Contains(csDestroying)) Realign();
}

void TWinControl::Broadcast(TMessage& Message) {
  for (Integer i = 0; i < ControlCount(); ++i) {
    Controls(i)->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls, bool AllLevels) {
  auto hit = [&](TControl* c) {
    if (!c->Visible() || (!c->Enabled() && !AllowDisabled) || !c->BoundsRect().Contains(Pos)) return false;
    const TPoint local{Pos.X - c->Left(), Pos.Y - c->Top()};
    return c->Perform(CM_HITTEST, 0, PointToLParam(local)) != 0;
  };
  if (AllowWinControls) {
    for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it) {
      if (controls_internal::IsPopupWindow(*it) || !hit(*it)) continue;  // a pop-up lies elsewhere on the screen
      if (AllLevels) {
        const TRect in = (*it)->FrameInsets();
        const TPoint local{Pos.X - (*it)->Left() - in.Left, Pos.Y - (*it)->Top() - in.Top};
        if (TControl* deeper = (*it)->ControlAtPos(local, AllowDisabled, true, true)) return deeper;
      }
      return *it;
    }
  }
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
    if (hit(*it)) return *it;
  return nullptr;
}

TControl* TWinControl::FindChildControl(StringView ControlName) const {
  for (Integer i = 0; i < ControlCount(); ++i)
    if (SameText(Controls(i)->Name(), ControlName)) return Controls(i);
  return nullptr;
}

// --- handle -----------------------------------------------------------------

HWND TWinControl::Handle() {
  if (FHandle == nullptr) CreateHandle();
  return FHandle;
}

void TWinControl::SetParentWindow(HWND Value) {
  if (FParentWindow == Value) return;
  FParentWindow = Value;
  if (FParent == nullptr && HandleAllocated()) RecreateWnd();
  UpdateControlState();
}

void TWinControl::CreateParams(TCreateParams& P) {
  P.Caption = FText;
  P.Style = WS_CHILD | WS_CLIPSIBLINGS;
  P.ExStyle = 0;
  if (FControlStyle.Contains(csAcceptsControls)) {
    P.Style |= WS_CLIPCHILDREN;
    P.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (!FEnabled) P.Style |= WS_DISABLED;
  if (FTabStop) P.Style |= WS_TABSTOP;
  P.X = FLeft;
  P.Y = FTop;
  P.Width = FWidth;
  P.Height = FHeight;
  P.WndParent = FParent != nullptr ? FParent->Handle() : FParentWindow;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if ((params.Style & WS_CHILD) != 0 && params.WndParent == nullptr) NoParentWindow(this);
  CreateWindowHandle(params);
  if (FHandle == nullptr) throw EOSError(u"Cannot create window", 0);
  Perform(WM_CREATE, 0, 0);
  Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(ClientWidth(), ClientHeight()));
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  FBridge = std::make_unique<TWindowBridge>(this, Params);
  FHandle = FBridge->Handle();
}

void TWinControl::CreateHandle() {
  if (FHandle != nullptr) return;
  FControlState.Include(csCreating);
  try {
    CreateWnd();
  } catch (...) {
    FControlState.Exclude(csCreating);
    throw;
  }
  FControlState.Exclude(csCreating);
  FBridge->SetEnabled(FEnabled);
  // Children keep their stacking order among the new windows.
  for (TWinControl* w : FWinControls)
    if (w->HandleAllocated()) w->FBridge->Raise();
}

void TWinControl::DestroyWnd() { DestroyWindowHandle(); }

void TWinControl::DestroyWindowHandle() {
  if (FHandle == nullptr) return;
  FControlState.Include(csDestroyingHandle);
  Perform(WM_DESTROY, 0, 0);
  FBridge.reset();
  FHandle = nullptr;
  FShowing = false;
  FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::DestroyHandle() {
  if (FHandle == nullptr) return;
  for (TWinControl* w : FWinControls) w->DestroyHandle();
  DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (!HandleAllocated()) return;
  FControlState.Include(csRecreating);
  DestroyHandle();
  FControlState.Exclude(csRecreating);
  UpdateControlState();
}

void TWinControl::UpdateShowing() {
  const bool show = FVisible && !ComponentState().Contains(csLoading) && !ComponentState().Contains(csDestroying);
  if (show) {
    if (FHandle == nullptr) CreateHandle();
    for (TWinControl* w : std::vector<TWinControl*>(FWinControls)) w->UpdateShowing();
  }
  if (FHandle != nullptr && FShowing != show) {
    FShowing = show;
    try {
      Perform(CM_SHOWINGCHANGED, 0, 0);
    } catch (...) {
      FShowing = !show;
      throw;
    }
  }
}

void TWinControl::UpdateControlState() {
  const TWinControl* top = this;
  while (top->FParent != nullptr) {
    top = top->FParent;
    if (!top->Showing()) return;
  }
  if (dynamic_cast<const TCustomForm*>(top) != nullptr || top->FParentWindow != nullptr) UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&) {
  if (FBridge) FBridge->SetVisible(FShowing);
}

void TWinControl::CMVisibleChanged(TMessage& M) {
  TControl::CMVisibleChanged(M);
  if (!FVisible && FParent != nullptr)
    if (TCustomForm* form = GetParentForm(this)) form->ForgetFocus(this);
  UpdateControlState();
}

void TWinControl::CMEnabledChanged(TMessage& M) {
  if (!FEnabled && FParent != nullptr)
    if (TCustomForm* form = GetParentForm(this)) form->ForgetFocus(this);
  if (FBridge) FBridge->SetEnabled(FEnabled);
  TControl::CMEnabledChanged(M);
}

void TWinControl::CMColorChanged(TMessage& M) {
  FBrush->SetColor(FColor);
  TControl::CMColorChanged(M);
  TMessage n{CM_PARENTCOLORCHANGED, 0, 0, 0};
  for (Integer i = 0; i < ControlCount(); ++i) Controls(i)->WindowProc(n);
}

void TWinControl::CMFontChanged(TMessage& M) {
  TControl::CMFontChanged(M);
  TMessage n{CM_PARENTFONTCHANGED, 0, 0, 0};
  for (Integer i = 0; i < ControlCount(); ++i) Controls(i)->WindowProc(n);
}

void TWinControl::CMTextChanged(TMessage& M) {
  TControl::CMTextChanged(M);
  if (FBridge) FBridge->SetTitle(FText);
}

// --- geometry and alignment -------------------------------------------------

void TWinControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const TRect before = BoundsRect();
  TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (BoundsRect() == before) return;
  if (FBridge) FBridge->UpdateGeometry();
  if (before.Width() != FWidth || before.Height() != FHeight)
    Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(ClientWidth(), ClientHeight()));
}

TRect TWinControl::ClientRect() const {
  const TRect in = FrameInsets();
  return {0, 0, std::max(0, FWidth - in.Left - in.Right), std::max(0, FHeight - in.Top - in.Bottom)};
}

TPoint TWinControl::ClientOrigin() const {
  const TRect in = FrameInsets();
  // A pop-up made by a control: its bounds are screen positions as well.
  if (FParent != nullptr && controls_internal::IsPopupWindow(this)) return {FLeft + in.Left, FTop + in.Top};
  if (FParent == nullptr) {
    // A window placed in an outside window, or a top-level one: its bounds are screen positions.
    TPoint o{FLeft + in.Left, FTop + in.Top};
    if (FParentWindow != nullptr) {
      TPoint p{0, 0};
      ::ClientToScreen(FParentWindow, &p);
      o.X += p.X;
      o.Y += p.Y;
    }
    return o;
  }
  const TPoint p = FParent->ClientOrigin();
  return {p.X + FLeft + in.Left, p.Y + FTop + in.Top};
}

void TWinControl::AdjustClientRect(TRect&) {}

void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0 && --FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* AControl) {
  if (ComponentState().Contains(csDestroying)) return;
  if (AlignDisabled() || ComponentState().Contains(csLoading)) {
    FControlState.Include(csAlignmentNeeded);
    return;
  }
  if (FControlState.Contains(csAligning)) {
    FControlState.Include(csAlignmentNeeded);
    return;
  }
  FControlState.Exclude(csAlignmentNeeded);
  DisableAlign();
  FControlState.Include(csAligning);
  TRect rect = ClientRect();
  AdjustClientRect(rect);
  try {
    AlignControls(AControl, rect);
  } catch (...) {
    FControlState.Exclude(csAligning);
    --FAlignLevel;
    throw;
  }
  FControlState.Exclude(csAligning);
  --FAlignLevel;
  if (FControlState.Contains(csAlignmentNeeded)) {
    FControlState.Exclude(csAlignmentNeeded);
    AlignControl(nullptr);
  }
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  std::vector<TControl*> all;
  for (Integer i = 0; i < ControlCount(); ++i) all.push_back(Controls(i));

  // Anchored controls first: they keep their distances to the anchored sides.
  const TPoint parentSize{ClientWidth(), ClientHeight()};
  for (TControl* c : all) {
    if (c->FAlign != alNone || !c->FVisible) continue;
    if (c->FAnchors == TAnchors{akLeft, akTop}) continue;
    if (c->FOriginalParentSize.X == 0 && c->FOriginalParentSize.Y == 0) continue;
    TRect r = c->BoundsRect();
    Integer w = r.Width(), h = r.Height(), l = r.Left, t = r.Top;
    const TPoint o = c->FOriginalParentSize;
    const TPoint rules = c->FAnchorRules;
    if (c->FAnchors.Contains(akRight)) {
      if (c->FAnchors.Contains(akLeft)) w = parentSize.X - (o.X - rules.X);
      else l = rules.X + (parentSize.X - o.X);
    } else if (!c->FAnchors.Contains(akLeft) && o.X > 0) {
      l = MulDiv(rules.X, parentSize.X, o.X) - w / 2;
    }
    if (c->FAnchors.Contains(akBottom)) {
      if (c->FAnchors.Contains(akTop)) h = parentSize.Y - (o.Y - rules.Y);
      else t = rules.Y + (parentSize.Y - o.Y);
    } else if (!c->FAnchors.Contains(akTop) && o.Y > 0) {
      t = MulDiv(rules.Y, parentSize.Y, o.Y) - h / 2;
    }
    c->UpdateBoundsRect(Bounds(l, t, std::max(w, 0), std::max(h, 0)));
  }

  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) DoAlign(a, AControl, Rect, all);
}

void TWinControl::DoAlign(TAlign AAlign, TControl* AControl, TRect& Rect, const std::vector<TControl*>& All) {
  std::vector<TControl*> list;
  // The control being moved takes its place first among its alignment's controls.
  auto before = [&](TControl* c1, TControl* c2) {
    switch (AAlign) {
      case alTop: return c1->FTop < c2->FTop;
      case alBottom: return c1->FTop + c1->FHeight >= c2->FTop + c2->FHeight;
      case alLeft: return c1->FLeft < c2->FLeft;
      case alRight: return c1->FLeft + c1->FWidth >= c2->FLeft + c2->FWidth;
      default: return false;
    }
  };
  if (AControl != nullptr && AControl->FAlign == AAlign && AControl->FVisible) list.push_back(AControl);
  for (TControl* c : All) {
    if (c == AControl || c->FAlign != AAlign || !c->FVisible) continue;
    auto pos = list.begin();
    while (pos != list.end() && !before(c, *pos)) ++pos;
    if (pos != list.end() && *pos == AControl && pos == list.begin() && AControl != nullptr) ++pos;
    list.insert(pos, c);
  }
  for (TControl* c : list) {
    Integer w = c->FWidth, h = c->FHeight;
    TRect r;
    switch (AAlign) {
      case alTop:
        r = Bounds(Rect.Left, Rect.Top, Rect.Width(), h);
        break;
      case alBottom:
        r = Bounds(Rect.Left, Rect.Bottom - h, Rect.Width(), h);
        break;
      case alLeft:
        r = Bounds(Rect.Left, Rect.Top, w, Rect.Height());
        break;
      case alRight:
        r = Bounds(Rect.Right - w, Rect.Top, w, Rect.Height());
        break;
      default:
        r = Rect;
        break;
    }
    c->UpdateBoundsRect(Bounds(r.Left, r.Top, std::max(r.Width(), 0), std::max(r.Height(), 0)));
    // The control may have refused part of the size (constraints): the rest of the rectangle follows its real size.
    switch (AAlign) {
      case alTop: Rect.Top += c->FHeight; break;
      case alBottom: Rect.Bottom -= c->FHeight; break;
      case alLeft: Rect.Left += c->FWidth; break;
      case alRight: Rect.Right -= c->FWidth; break;
      default: break;
    }
  }
}

bool TWinControl::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
  // Fits the visible children (those not stretched to the client area).
  Integer right = 0, bottom = 0;
  bool any = false;
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible() || c->Align() == alClient) continue;
    any = true;
    right = std::max(right, c->Left() + c->Width());
    bottom = std::max(bottom, c->Top() + c->Height());
  }
  if (!any) return true;
  const TRect in = FrameInsets();
  NewWidth = right + in.Left + in.Right;
  NewHeight = bottom + in.Top + in.Bottom;
  return true;
}

void TWinControl::Loaded() {
  TControl::Loaded();
  if (FControlState.Contains(csAlignmentNeeded) || ControlCount() > 0) Realign();
}

void TWinControl::SetZOrder(bool TopMost) {
  if (FParent == nullptr) {
    if (TopMost && FBridge) FBridge->Raise();
    return;
  }
  auto& list = FParent->FWinControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (TopMost) list.push_back(this);
  else list.insert(list.begin(), this);
  if (FParent->HandleAllocated())
    for (TWinControl* w : list)
      if (w->FBridge) w->FBridge->Raise();
}

// --- tab order and focus ------------------------------------------------------

Integer TWinControl::TabOrder() const {
  if (FParent == nullptr) return -1;
  const auto& l = FParent->FTabList;
  auto it = std::find(l.begin(), l.end(), this);
  return it == l.end() ? -1 : Integer(it - l.begin());
}

void TWinControl::SetTabOrder(Integer Value) {
  if (FParent == nullptr) return;
  auto& l = FParent->FTabList;
  std::erase(l, this);
  if (Value < 0) return;
  const auto at = std::min<std::size_t>(std::size_t(Value), l.size());
  l.insert(l.begin() + std::ptrdiff_t(at), this);
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* w : FTabList) {
    List.push_back(w);
    w->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const auto n = Integer(list.size());
  Integer start = -1;
  if (CurControl != nullptr)
    if (auto it = std::find(list.begin(), list.end(), CurControl); it != list.end()) start = Integer(it - list.begin());
  if (start < 0) start = GoForward ? n - 1 : 0;
  Integer i = start;
  for (Integer step = 0; step < n; ++step) {
    i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
    TWinControl* c = list[std::size_t(i)];
    if (c == CurControl && step + 1 < n) continue;
    if ((!CheckTabStop || c->TabStop()) && (!CheckParent || c->FParent == this) && c->CanFocus()) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) next->SetFocus();
}

bool TWinControl::CanFocus() const {
  const TCustomForm* form = GetParentForm(this);
  if (form == nullptr) return false;
  for (const TWinControl* c = this; c != nullptr; c = c->FParent) {
    if (!c->FVisible || !c->FEnabled) return false;
    if (c == form) break;
  }
  return true;
}

bool TWinControl::Focused() const { return FHandle != nullptr && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this)) {
    form->FocusControl(this);
  } else if (FParentWindow != nullptr) {
    ::SetFocus(Handle());
  } else {
    ValidParentForm(this);
  }
}

// --- painting -------------------------------------------------------------------

void TWinControl::Invalidate() {
  if (FHandle != nullptr) InvalidateRect(FHandle, nullptr, FControlStyle.Contains(csOpaque) ? FALSE : TRUE);
}

void TWinControl::Update() {
  if (FHandle != nullptr) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::PaintWindow(HDC DC) {
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  std::size_t start = 0;
  if (First != nullptr)
    if (auto it = std::find(FControls.begin(), FControls.end(), First); it != FControls.end())
      start = std::size_t(it - FControls.begin());
  for (std::size_t i = start; i < FControls.size(); ++i) {
    TControl* c = FControls[i];
    if (!c->Visible()) continue;
    TRect clip;
    GetClipBox(DC, &clip);
    TRect overlap;
    const TRect bounds = c->BoundsRect();
    if (!IntersectRect(&overlap, &bounds, &clip)) continue;
    const int saved = SaveDC(DC);
    POINT org{};
    GetWindowOrgEx(DC, &org);
    SetWindowOrgEx(DC, org.X - c->Left(), org.Y - c->Top(), nullptr);
    IntersectClipRect(DC, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    RestoreDC(DC, saved);
  }
}

void TWinControl::PaintHandler(TMessage& M) {
  HDC dc = reinterpret_cast<HDC>(M.WParam);
  PAINTSTRUCT ps;
  const bool own = dc == nullptr;
  if (own) dc = BeginPaint(Handle(), &ps);
  if (dc == nullptr) return;
  try {
    if (FControls.empty()) {
      PaintWindow(dc);
    } else {
      const int saved = SaveDC(dc);
      int clip = SIMPLEREGION;
      for (TControl* c : FControls)
        if (c->Visible() && c->ControlStyle().Contains(csOpaque))
          clip = ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
      if (clip != NULLREGION) PaintWindow(dc);
      RestoreDC(dc, saved);
    }
    PaintControls(dc, nullptr);
  } catch (...) {
    if (own) EndPaint(FHandle, &ps);
    throw;
  }
  if (own) EndPaint(FHandle, &ps);
}

void TWinControl::WMPaint(TMessage& M) {
  if (!FDoubleBuffered || M.WParam != 0) {
    if (!FControlState.Contains(csCustomPaint) && FControls.empty()) DefaultHandler(M);
    else PaintHandler(M);
    return;
  }
  const TRect cr = ClientRect();
  if (cr.IsEmpty()) {
    PAINTSTRUCT ps;
    BeginPaint(Handle(), &ps);
    EndPaint(FHandle, &ps);
    return;
  }
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, cr.Right, cr.Bottom);
  ReleaseDC(nullptr, screen);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, bitmap);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  try {
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), reinterpret_cast<LPARAM>(mem));
    TMessage inner{WM_PAINT, reinterpret_cast<WPARAM>(mem), 0, 0};
    WMPaint(inner);
    BitBlt(dc, 0, 0, cr.Right, cr.Bottom, mem, 0, 0, SRCCOPY);
  } catch (...) {
    EndPaint(FHandle, &ps);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bitmap);
    throw;
  }
  EndPaint(FHandle, &ps);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bitmap);
}

void TWinControl::WMEraseBkgnd(TMessage& M) {
  HDC dc = reinterpret_cast<HDC>(M.WParam);
  if (dc != nullptr) {
    const TRect r = ClientRect();
    ::FillRect(dc, &r, FBrush->Handle());
  }
  M.Result = 1;
}

void TWinControl::WMNCPaint(TMessage& M) { DefaultHandler(M); }

void TWinControl::PaintParentBackground(HDC DC) {
  if (FParent == nullptr || DC == nullptr) return;
  const int saved = SaveDC(DC);
  const TPoint at = ClientToParent({0, 0});
  POINT vp{};
  GetViewportOrgEx(DC, &vp);
  SetViewportOrgEx(DC, vp.X - at.X, vp.Y - at.Y, nullptr);
  IntersectClipRect(DC, 0, 0, FParent->ClientWidth(), FParent->ClientHeight());
  FParent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
  FParent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  RestoreDC(DC, saved);
}

// --- messages -----------------------------------------------------------------

bool TWinControl::IsControlMouseMsg(TMessage& M) {
  TControl* control = nullptr;
  if (GetCapture() == FHandle && FHandle != nullptr) {
    TControl* cap = GetCaptureControl();
    if (cap != nullptr && cap->Parent() == this) control = cap;
  } else {
    control = ControlAtPos(PointFromLParam(M.LParam), false);
  }
  if (control == nullptr) return false;
  const TPoint p = PointFromLParam(M.LParam);
  UINT msg = M.Msg;
  // Windowless controls without double-click handling see a second press.
  if (!control->ControlStyle().Contains(csDoubleClicks)) {
    if (msg == WM_LBUTTONDBLCLK) msg = WM_LBUTTONDOWN;
    else if (msg == WM_RBUTTONDBLCLK) msg = WM_RBUTTONDOWN;
    else if (msg == WM_MBUTTONDBLCLK) msg = WM_MBUTTONDOWN;
  }
  M.Result = control->Perform(msg, M.WParam, PointToLParam({p.X - control->Left(), p.Y - control->Top()}));
  return true;
}

void TWinControl::WndProc(TMessage& M) {
  if (IsMouseMsg(M.Msg) && IsControlMouseMsg(M)) return;
  TControl::WndProc(M);
}

void TWinControl::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_PAINT: WMPaint(M); break;
    case WM_ERASEBKGND: WMEraseBkgnd(M); break;
    case WM_NCPAINT: WMNCPaint(M); break;
    case WM_SETFOCUS: WMSetFocus(M); break;
    case WM_KILLFOCUS: WMKillFocus(M); break;
    case WM_SIZE: WMSize(M); break;
    case WM_KEYDOWN: WMKeyDown(M); break;
    case WM_KEYUP: WMKeyUp(M); break;
    case WM_CHAR: WMChar(M); break;
    case WM_SYSKEYDOWN: WMSysKeyDown(M); break;
    case WM_SYSKEYUP: WMSysKeyUp(M); break;
    case WM_SYSCHAR: WMSysChar(M); break;
    case WM_NCHITTEST: WMNCHitTest(M); break;
    case WM_SETCURSOR: WMSetCursor(M); break;
    case WM_GETDLGCODE: WMGetDlgCode(M); break;
    case WM_QUERYUISTATE: WMQueryUIState(M); break;
    case CN_KEYDOWN: CNKeyDown(M); break;
    case CN_KEYUP: CNKeyUp(M); break;
    case CN_CHAR: CNChar(M); break;
    case CN_SYSKEYDOWN: CNSysKeyDown(M); break;
    case CN_SYSCHAR: CNSysChar(M); break;
    case CM_DIALOGKEY: CMDialogKey(M); break;
    case CM_DIALOGCHAR: CMDialogChar(M); break;
    case CM_ENTER: CMEnter(M); break;
    case CM_EXIT: CMExit(M); break;
    case CM_FOCUSCHANGED: CMFocusChanged(M); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(M); break;
    default: TControl::Dispatch(M); break;
  }
}

void TWinControl::DefaultHandler(TMessage& M) {
  switch (M.Msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      // The caption and sizing edges a window answers move and size its top-level form.
      TCustomForm* form = GetParentForm(this);
      const LRESULT hit = LRESULT(M.WParam);
      if (form != nullptr && form->HandleAllocated() && form->Parent() == nullptr) {
        if (M.Msg == WM_NCLBUTTONDOWN && hit == HTCAPTION)
          SendMessage(form->Handle(), WM_SYSCOMMAND, SC_MOVE | WPARAM(HTCAPTION), M.LParam);
        else if (M.Msg == WM_NCLBUTTONDOWN && hit >= HTLEFT && hit <= HTBOTTOMRIGHT)
          SendMessage(form->Handle(), WM_SYSCOMMAND, SC_SIZE | WPARAM(hit - HTLEFT + 1), M.LParam);
        else if (M.Msg == WM_NCLBUTTONDBLCLK && hit == HTCAPTION)
          SendMessage(form->Handle(), WM_SYSCOMMAND, form->WindowState() == wsMaximized ? SC_RESTORE : SC_MAXIMIZE,
                      M.LParam);
      }
      M.Result = 0;
      break;
    }
    case WM_WINDOWPOSCHANGING: forms_internal::DefWindowPosChanging(this, M); break;
    case WM_NCACTIVATE: M.Result = TRUE; break;  // the frame may change its look
    case WM_SETREDRAW:
      if (FBridge) FBridge->SetRedraw(M.WParam != 0);
      M.Result = 0;
      break;
    case WM_PAINT:
      if (M.WParam == 0 && FHandle != nullptr) {
        PAINTSTRUCT ps;
        BeginPaint(FHandle, &ps);
        EndPaint(FHandle, &ps);
      }
      M.Result = 0;
      break;
    case WM_NCPAINT:
      if (FHandle != nullptr) {
        const TRect in = FrameInsets();
        if (in.Left > 0 || in.Top > 0 || in.Right > 0 || in.Bottom > 0) {
          HDC dc = GetWindowDC(FHandle);
          TRect r{0, 0, FWidth, FHeight};
          if (in.Left >= 2) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
          else FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
          ReleaseDC(FHandle, dc);
        }
      }
      break;
    case WM_NCHITTEST: M.Result = HTCLIENT; break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      // Alt alone, or F10, released unanswered: the form's menu key.
      if ((M.WParam == VK_MENU || (M.WParam == VK_F10 && M.Msg == WM_SYSKEYUP)) &&
          controls_internal::LastKeyDown() == Word(M.WParam) && GetKeyState(VK_SHIFT) >= 0 &&
          GetKeyState(VK_CONTROL) >= 0)
        if (TCustomForm* form = GetParentForm(this)) form->Perform(WM_SYSCOMMAND, SC_KEYMENU, 0);
      break;
    case WM_SYSCHAR:
      // Alt with a letter nobody answered: the form's menu bar looks for the accelerator.
      if (TCustomForm* form = GetParentForm(this)) form->Perform(WM_SYSCOMMAND, SC_KEYMENU, M.WParam);
      break;
    case WM_SETCURSOR:
      // Unanswered: the parent decides, as the window system asks it.
      M.Result = FParent != nullptr ? FParent->Perform(WM_SETCURSOR, M.WParam, M.LParam) : 0;
      break;
    case WM_CONTEXTMENU:
      M.Result = FParent != nullptr ? FParent->Perform(WM_CONTEXTMENU, M.WParam, M.LParam) : 0;
      break;
    default: TControl::DefaultHandler(M); break;
  }
}

void TWinControl::WMSetFocus(TMessage& M) {
  DefaultHandler(M);
  if (TCustomForm* form = GetParentForm(this)) form->SetFocusedControl(this);
}

void TWinControl::WMKillFocus(TMessage& M) { DefaultHandler(M); }

void TWinControl::WMSize(TMessage& M) {
  DefaultHandler(M);
  Realign();
  if (FBridge) FBridge->Invalidate(nullptr, true);
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}
void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}
void TWinControl::KeyPress(Char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}
void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

bool TWinControl::DoKeyDown(TMessage& M) {
  const TShiftState shift = KeyDataToShiftState(M.LParam);
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && form != this && form->KeyPreview()) {
    Word k = Word(M.WParam);
    form->KeyDown(k, shift);
    M.WParam = k;
    if (k == 0) return true;
  }
  if (FControlStyle.Contains(csNoStdEvents)) return false;
  Word k = Word(M.WParam);
  KeyDown(k, shift);
  M.WParam = k;
  return k == 0;
}

bool TWinControl::DoKeyUp(TMessage& M) {
  const TShiftState shift = KeyDataToShiftState(M.LParam);
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && form != this && form->KeyPreview()) {
    Word k = Word(M.WParam);
    form->KeyUp(k, shift);
    M.WParam = k;
    if (k == 0) return true;
  }
  if (FControlStyle.Contains(csNoStdEvents)) return false;
  Word k = Word(M.WParam);
  KeyUp(k, shift);
  M.WParam = k;
  return k == 0;
}

bool TWinControl::DoKeyPress(TMessage& M) {
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && form != this && form->KeyPreview()) {
    Char c = Char(M.WParam);
    form->KeyPress(c);
    M.WParam = c;
    if (c == 0) return true;
  }
  if (FControlStyle.Contains(csNoStdEvents)) return false;
  Char c = Char(M.WParam);
  KeyPress(c);
  M.WParam = c;
  return c == 0;
}

void TWinControl::WMKeyDown(TMessage& M) {
  if (!DoKeyDown(M)) DefaultHandler(M);
}
void TWinControl::WMKeyUp(TMessage& M) {
  if (!DoKeyUp(M)) DefaultHandler(M);
}
void TWinControl::WMChar(TMessage& M) {
  if (!DoKeyPress(M)) DefaultHandler(M);
}
void TWinControl::WMSysKeyDown(TMessage& M) {
  if (!DoKeyDown(M)) DefaultHandler(M);
}
void TWinControl::WMSysKeyUp(TMessage& M) {
  if (!DoKeyUp(M)) DefaultHandler(M);
}
void TWinControl::WMSysChar(TMessage& M) { DefaultHandler(M); }

void TWinControl::WMNCHitTest(TMessage& M) { DefaultHandler(M); }

void TWinControl::WMSetCursor(TMessage& M) {
  if (reinterpret_cast<HWND>(M.WParam) == FHandle && std::int16_t(LOWORD(M.LParam)) == HTCLIENT) {
    TCursor cursor = Screen != nullptr ? Screen->Cursor() : crDefault;
    if (cursor == crDefault) {
      TPoint p{};
      GetCursorPos(&p);
      if (TControl* c = ControlAtPos(ScreenToClient(p), false)) cursor = c->Cursor();
      if (cursor == crDefault) cursor = FCursor;
    }
    if (cursor != crDefault) {
      if (TWindowBridge* b = controls_internal::BridgeOf(FHandle)) b->SetCursorShape(cursor);
      M.Result = 1;
      return;
    }
  }
  DefaultHandler(M);
  if (M.Result == 0 && FParent == nullptr)
    if (TWindowBridge* b = controls_internal::BridgeOf(reinterpret_cast<HWND>(M.WParam))) b->SetCursorShape(crDefault);
}

void TWinControl::WMGetDlgCode(TMessage& M) { M.Result = 0; }
void TWinControl::WMQueryUIState(TMessage& M) { M.Result = 0; }

namespace {
TMenuShortCutHook MenuShortCutHook = nullptr;
}  // namespace

void SetMenuShortCutHook(TMenuShortCutHook Hook) { MenuShortCutHook = Hook; }

namespace {
// Alt and F10 going down are dialog keys of the form too (a ribbon arms its
// key tips on them); true when a control of the form took the key.
bool MenuKeyToForm(TWinControl* Control, TMessage& M) {
  if (M.WParam != VK_MENU && M.WParam != VK_F10) return false;
  TCustomForm* form = GetParentForm(Control);
  return form != nullptr && form->Perform(CM_DIALOGKEY, M.WParam, M.LParam) != 0;
}
}  // namespace

void TWinControl::CNKeyDown(TMessage& M) {
  M.Result = 1;
  if (Perform(CM_CHILDKEY, M.WParam, reinterpret_cast<LPARAM>(this)) != 0) return;
  if (MenuShortCutHook != nullptr && MenuShortCutHook(this, Word(M.WParam), KeyDataToShiftState(M.LParam))) return;
  if (MenuKeyToForm(this, M)) return;
  LRESULT mask = 0;
  switch (M.WParam) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: break;
  }
  if (mask != 0 && Perform(CM_WANTSPECIALKEY, M.WParam, 0) == 0 && (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0) {
    if (TCustomForm* form = GetParentForm(this))
      if (form->Perform(CM_DIALOGKEY, M.WParam, M.LParam) != 0) return;
  }
  M.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& M) { M.Result = 0; }

void TWinControl::CNChar(TMessage& M) {
  M.Result = 1;
  if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0)
    if (TCustomForm* form = GetParentForm(this))
      if (form->Perform(CM_DIALOGCHAR, M.WParam, M.LParam) != 0) return;
  M.Result = 0;
}

void TWinControl::CNSysKeyDown(TMessage& M) {
  M.Result = 1;
  if (MenuShortCutHook != nullptr && MenuShortCutHook(this, Word(M.WParam), KeyDataToShiftState(M.LParam))) return;
  if (MenuKeyToForm(this, M)) return;
  M.Result = 0;
}

void TWinControl::CNSysChar(TMessage& M) {
  // Alt with a letter: the form's controls look for the accelerator.
  M.Result = 1;
  if (TCustomForm* form = GetParentForm(this))
    if (form->Perform(CM_DIALOGCHAR, M.WParam, M.LParam) != 0) return;
  M.Result = 0;
}

void TWinControl::CMDialogKey(TMessage& M) { Broadcast(M); }
void TWinControl::CMDialogChar(TMessage& M) { Broadcast(M); }
void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }
void TWinControl::CMFocusChanged(TMessage& M) { Broadcast(M); }

// ---------------------------------------------------------------------------
// TControlCanvas

namespace {
std::vector<TControlCanvas*>& LiveCanvases() {
  static std::vector<TControlCanvas*> list;
  return list;
}
}  // namespace

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* Value) {
  if (FControl == Value) return;
  FreeHandle();
  FControl = Value;
}

void TControlCanvas::CreateHandle() {
  if (FControl == nullptr) return;
  HDC dc = nullptr;
  if (auto* w = dynamic_cast<TWinControl*>(FControl)) {
    if (!w->HandleAllocated() && !w->Showing()) {
      // Drawing needs a window; a control not on a form yet has none.
      if (w->Parent() == nullptr && dynamic_cast<TCustomForm*>(w) == nullptr && w->ParentWindow() == nullptr) return;
    }
    FWindowHandle = w->Handle();
    dc = GetDC(FWindowHandle);
  } else {
    TWinControl* parent = FControl->Parent();
    if (parent == nullptr) return;
    FWindowHandle = parent->Handle();
    dc = GetDC(FWindowHandle);
    if (dc != nullptr) {
      SetViewportOrgEx(dc, FControl->Left(), FControl->Top(), nullptr);
      IntersectClipRect(dc, 0, 0, FControl->Width(), FControl->Height());
    }
  }
  if (dc == nullptr) return;
  FDeviceContext = dc;
  SetHandle(dc);
  LiveCanvases().push_back(this);
  controls_internal::ScheduleCanvasRelease();
}

void TControlCanvas::FreeHandle() {
  if (FDeviceContext == nullptr) return;
  SetHandle(nullptr);
  ReleaseDC(FWindowHandle, FDeviceContext);
  FDeviceContext = nullptr;
  FWindowHandle = nullptr;
  std::erase(LiveCanvases(), this);
}

void TControlCanvas::FreeDeviceContexts() {
  const std::vector<TControlCanvas*> list = LiveCanvases();
  for (TControlCanvas* c : list) c->FreeHandle();
}

// ---------------------------------------------------------------------------
// TGraphicControl and TCustomControl

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() { FCanvas.reset(); }

void TGraphicControl::Dispatch(TMessage& M) {
  if (M.Msg == WM_PAINT) WMPaint(M);
  else TControl::Dispatch(M);
}

void TGraphicControl::WMPaint(TMessage& M) {
  HDC dc = reinterpret_cast<HDC>(M.WParam);
  if (dc == nullptr) return;
  FCanvas->FreeHandle();
  FCanvas->Lock();
  FCanvas->SetHandle(dc);
  try {
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() { FCanvas->FreeHandle(); }

void TCustomControl::PaintWindow(HDC DC) {
  controls_internal::PaintOnCanvas(*FCanvas, DC, [this] { Paint(); });
}

void TCustomControl::WMPaint(TMessage& M) {
  controls_internal::WithControlState(FControlState, csCustomPaint, [&] { TWinControl::WMPaint(M); });
}

namespace controls_internal {

void PaintOnCanvas(TControlCanvas& Canvas, HDC DC, const std::function<void()>& Paint) {
  Canvas.FreeHandle();
  Canvas.Lock();
  Canvas.SetHandle(DC);
  struct Release {
    TControlCanvas& C;
    ~Release() {
      C.SetHandle(nullptr);
      C.Unlock();
    }
  } release{Canvas};
  Paint();
}

void WithControlState(TControlState& State, TControlStateItem Flag, const std::function<void()>& Body) {
  State.Include(Flag);
  struct Clear {
    TControlState& S;
    TControlStateItem F;
    ~Clear() { S.Exclude(F); }
  } clear{State, Flag};
  Body();
}

}  // namespace controls_internal

// ---------------------------------------------------------------------------
// Free functions

TControl* GetCaptureControl() {
  HWND cap = controls_internal::CaptureWindow();
  if (cap == nullptr) return nullptr;
  TWinControl* w = FindControl(cap);
  if (w == nullptr) return nullptr;
  TControl* inner = controls_internal::CaptureChild();
  if (inner != nullptr && inner->Parent() == w) return inner;
  return w;
}

void SetCaptureControl(TControl* Control) {
  if (Control == nullptr) {
    controls_internal::SetCaptureChild(nullptr);
    ReleaseCapture();
    return;
  }
  if (auto* w = dynamic_cast<TWinControl*>(Control)) {
    controls_internal::SetCaptureChild(nullptr);
    if (w->HandleAllocated()) SetCapture(w->Handle());
    return;
  }
  TWinControl* parent = Control->Parent();
  if (parent == nullptr || !parent->HandleAllocated()) return;
  SetCapture(parent->Handle());
  controls_internal::SetCaptureChild(Control);
}

TWinControl* FindControl(HWND Handle) {
  TWindowBridge* b = controls_internal::BridgeOf(Handle);
  return b != nullptr ? b->Control() : nullptr;
}

TCustomForm* GetParentForm(const TControl* Control, bool TopForm) {
  if (Control == nullptr) return nullptr;
  if (TopForm) {
    // An MDI child is a form of its own, though its window lies in its frame's client.
    auto mdiChild = [](const TControl* c) {
      const auto* f = dynamic_cast<const TCustomForm*>(c);
      return f != nullptr && f->FormStyle() == fsMDIChild;
    };
    while (Control->Parent() != nullptr && !mdiChild(Control)) Control = Control->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(Control));
  }
  for (const TControl* c = Control; c != nullptr; c = c->Parent())
    if (auto* f = dynamic_cast<const TCustomForm*>(c)) return const_cast<TCustomForm*>(f);
  return nullptr;
}

TCustomForm* ValidParentForm(const TControl* Control) {
  TCustomForm* f = GetParentForm(Control);
  if (f == nullptr) NoParentWindow(Control);
  return f;
}

TControl* FindDragTarget(TPoint Pos, bool AllowDisabled) {
  TWinControl* w = controls_internal::WindowAt(Pos, !AllowDisabled);
  if (w == nullptr) return nullptr;
  if (TControl* c = w->ControlAtPos(w->ScreenToClient(Pos), AllowDisabled)) return c;
  return w;
}

namespace {
TMouse gMouse;
}
TMouse* Mouse = &gMouse;

TPoint TMouse::CursorPos() const { return controls_internal::CursorPos(); }
void TMouse::SetCursorPos(TPoint Value) { ::SetCursorPos(Value.X, Value.Y); }
TControl* TMouse::Capture() const { return GetCaptureControl(); }

// ---------------------------------------------------------------------------
// Type information

void RegisterControlClasses() {
  RegisterGraphicsClasses();  // a control publishes its font
  RegisterEnum<TAlign>(u"TAlign", {u"alNone", u"alTop", u"alBottom", u"alLeft", u"alRight", u"alClient", u"alCustom"});
  RegisterEnum<TAnchorKind>(u"TAnchorKind", {u"akLeft", u"akTop", u"akRight", u"akBottom"});
  RegisterEnum<TMouseButton>(u"TMouseButton", {u"mbLeft", u"mbRight", u"mbMiddle"});
  TClassInfo::Of<TSizeConstraints, TPersistent>(u"TSizeConstraints")
      .Property(u"MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight).Default(0)
      .Property(u"MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth).Default(0)
      .Property(u"MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight).Default(0)
      .Property(u"MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth).Default(0);
  TClassInfo::Of<TControl, TComponent>(u"TControl")
      .Property(u"Left", &TControl::Left, &TControl::SetLeft)
      .Property(u"Top", &TControl::Top, &TControl::SetTop)
      .Property(u"Width", &TControl::Width, &TControl::SetWidth)
      .Property(u"Height", &TControl::Height, &TControl::SetHeight)
      .Property(u"Align", &TControl::Align, &TControl::SetAlign).Default(alNone)
      .Property(u"Anchors", &TControl::Anchors, &TControl::SetAnchors).TypeName(u"TAnchors").Default(TAnchors{akLeft, akTop})
      .Property(u"AutoSize", &TControl::AutoSize, &TControl::SetAutoSize).Default(false)
      .Property(u"Caption", &TControl::Caption, &TControl::SetCaption).TypeName(u"TCaption")
      .Property(u"Color", &TControl::Color, &TControl::SetColor).TypeName(u"TColor")
      .Property(u"Constraints", &TControl::Constraints)
      .Property(u"Cursor", &TControl::Cursor, &TControl::SetCursor).TypeName(u"TCursor").Default(crDefault)
      .Property(u"Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true)
      .Property(u"Font", &TControl::Font, &TControl::SetFont)
      .Property(u"Hint", &TControl::Hint, &TControl::SetHint)
      .Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
      .Property(u"ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true)
      .Property(u"ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true)
      .Property(u"PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
      .Property(u"ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
      .Property(u"Visible", &TControl::Visible, &TControl::SetVisible).Default(true)
      .Event(u"OnClick", &TControl::OnClick)
      .Event(u"OnContextPopup", &TControl::OnContextPopup).TypeName(u"TContextPopupEvent")
      .Event(u"OnDblClick", &TControl::OnDblClick)
      .Event(u"OnMouseDown", &TControl::OnMouseDown).TypeName(u"TMouseEvent")
      .Event(u"OnMouseEnter", &TControl::OnMouseEnter)
      .Event(u"OnMouseLeave", &TControl::OnMouseLeave)
      .Event(u"OnMouseMove", &TControl::OnMouseMove).TypeName(u"TMouseMoveEvent")
      .Event(u"OnMouseUp", &TControl::OnMouseUp).TypeName(u"TMouseEvent")
      .Event(u"OnMouseWheel", &TControl::OnMouseWheel).TypeName(u"TMouseWheelEvent")
      .Event(u"OnResize", &TControl::OnResize);
  TClassInfo::Of<TWinControl, TControl>(u"TWinControl")
      .Property(u"DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered).Default(false)
      .Property(u"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).TypeName(u"TTabOrder")
      .Property(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false)
      .Event(u"OnEnter", &TWinControl::OnEnter)
      .Event(u"OnExit", &TWinControl::OnExit)
      .Event(u"OnKeyDown", &TWinControl::OnKeyDown).TypeName(u"TKeyEvent")
      .Event(u"OnKeyPress", &TWinControl::OnKeyPress).TypeName(u"TKeyPressEvent")
      .Event(u"OnKeyUp", &TWinControl::OnKeyUp).TypeName(u"TKeyEvent");
  TClassInfo::Of<TGraphicControl, TControl>(u"TGraphicControl");
  TClassInfo::Of<TCustomControl, TWinControl>(u"TCustomControl");
  RegisterClasses({ClassInfoOf<TControl>(), ClassInfoOf<TWinControl>(), ClassInfoOf<TGraphicControl>(),
                   ClassInfoOf<TCustomControl>()});
}
