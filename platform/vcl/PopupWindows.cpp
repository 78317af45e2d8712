// Pop-up windows owned by controls: where they lie, what they stack above,
// and their parent.
#include "platform/vcl/PopupWindows.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "platform/vcl/ControlsInternal.h"

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

}  // namespace controls_internal

HWND GetParent(HWND Wnd) {
  TWindowBridge* b = BridgeOf(Wnd);
  if (b == nullptr) return nullptr;
  if (b->TopLevel()) return BridgeOf(b->Owner()) != nullptr ? b->Owner() : nullptr;
  TWinControl* c = b->Control();
  if (c->Parent() != nullptr) return c->Parent()->HandleAllocated() ? c->Parent()->Handle() : nullptr;
  return c->ParentWindow();
}
