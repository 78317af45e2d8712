// Pop-up windows owned by controls: where they lie, what they stack above,
// and their parent.
#include "platform/vcl/PopupWindows.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "platform/vcl/ControlsInternal.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WinError.h"

using namespace controls_internal;

namespace {

// Without a window system (offscreen) there is no stacking or transient window to ask for.
bool OwnedWindowsStack() { return QGuiApplication::platformName() != QLatin1String("offscreen"); }

// The top-level window in which the owner of Bridge's window shows; nullptr when none.
TWindowBridge* OwnerTopLevel(const TWindowBridge* Bridge) {
  if (Bridge->Owner() == nullptr) return nullptr;
  TWinControl* owner = FindControl(Bridge->Owner());
  return owner != nullptr ? TopLevelBridgeOf(owner) : nullptr;
}

}  // namespace

namespace controls_internal {

bool IsPopupWindow(const TControl* Control) {
  auto* w = dynamic_cast<const TWinControl*>(Control);
  if (w == nullptr || w->Parent() == nullptr || !w->HandleAllocated()) return false;
  const TWindowBridge* b = BridgeOf(const_cast<TWinControl*>(w)->Handle());
  return b != nullptr && b->TopLevel();
}

TWindowBridge* TopLevelBridgeOf(const TControl* Control) {
  for (const TControl* c = Control; c != nullptr; c = c->Parent()) {
    auto* w = dynamic_cast<const TWinControl*>(c);
    if (w == nullptr || !w->HandleAllocated()) continue;
    if (TWindowBridge* b = BridgeOf(const_cast<TWinControl*>(w)->Handle()); b != nullptr && b->TopLevel()) return b;
  }
  return nullptr;
}

void KeepOwnedAboveOwners(std::vector<TWindowBridge*>& TopmostFirst) {
  auto& v = TopmostFirst;
  // An owned window below its owner moves up to lie just above it; chains
  // of owners settle within as many passes as there are windows.
  for (std::size_t pass = 0; pass < v.size(); ++pass) {
    bool moved = false;
    for (std::size_t i = 0; i < v.size(); ++i) {
      TWindowBridge* owner = OwnerTopLevel(v[i]);
      if (owner == nullptr || owner == v[i]) continue;
      const auto above = v.begin() + std::ptrdiff_t(i);
      const auto at = std::find(v.begin(), above, owner);
      if (at == above) continue;  // the owner lies below (or does not show)
      TWindowBridge* b = v[i];
      const std::ptrdiff_t index = at - v.begin();
      v.erase(above);
      v.insert(v.begin() + index, b);
      moved = true;
    }
    if (!moved) break;
  }
}

void PrepareOwnedWindow(TWindowBridge* Bridge) {
  if (!OwnedWindowsStack() || Bridge->Widget() == nullptr) return;
  TWindowBridge* owner = OwnerTopLevel(Bridge);
  if (owner == nullptr || owner->Widget() == nullptr || owner->Widget()->windowHandle() == nullptr) return;
  // The window manager keeps a transient window above the window it belongs to.
  (void)Bridge->Widget()->winId();
  if (QWindow* window = Bridge->Widget()->windowHandle()) window->setTransientParent(owner->Widget()->windowHandle());
}

bool WindowMovedAway(const TWinControl* Control, const TWinControl* OldParent) {
  if (!Control->HandleAllocated() || !OldParent->HandleAllocated()) return false;
  const HWND now = GetParent(const_cast<TWinControl*>(Control)->Handle());
  return now != nullptr && now != const_cast<TWinControl*>(OldParent)->Handle() && !IsPopupWindow(Control);
}

}  // namespace controls_internal

HWND GetParent(HWND Wnd) {
  TWindowBridge* b = BridgeOf(Wnd);
  if (b == nullptr) return nullptr;
  if (b->TopLevel()) return BridgeOf(b->Owner()) != nullptr ? b->Owner() : nullptr;
  return IsWindow(b->ParentWindow()) ? b->ParentWindow() : nullptr;
}

HWND SetParent(HWND Child, HWND NewParent) {
  TWindowBridge* child = BridgeOf(Child);
  TWindowBridge* parent = BridgeOf(NewParent);
  if (child == nullptr || parent == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  const HWND old = GetParent(Child);
  if (child->TopLevel() || old == nullptr || NewParent == Child || parent->Control() == child->Control() ||
      child->Control()->ContainsControl(parent->Control())) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (old == NewParent) return old;
  child->Reparent(parent);
  return old;
}
