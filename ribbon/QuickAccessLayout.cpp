#include "ribbon/QuickAccessLayout.h"

#include <algorithm>

#include "platform/rtl/Math.h"

namespace ribbon {

namespace {

// The scale rounded to one decimal place, as the button column uses it.
double OneDecimal(Single Scale) { return double(Round(double(Scale) * 10)) / 10; }

bool Contains(const std::vector<int>& V, int Index) { return std::find(V.begin(), V.end(), Index) != V.end(); }

}  // namespace

Integer QATScaledButtonWidth(Single Scale, Integer ButtonWidth) {
  return Integer(Round(OneDecimal(Scale) * ButtonWidth));
}

Integer QATMinWidth(Single Scale) { return Integer(Round(60.0 * Scale)); }

TRect QATBaseRect(const TQATLook& Look, Integer Width, Integer Height) {
  TRect R{0, 0, Width, Height};
  if (Look.FullSize) return R;
  if (Look.IconLook()) {
    R.Top += 1;
    R.Right += 1;
    R.Left -= 1;
  } else {
    R.Right -= QATScaledButtonWidth(Look.Scale) + QATButtonGap;
    R.Top += 3;
  }
  return R;
}

Integer QATLeftMargin(const TQATLook& Look, Integer Height) {
  if (Look.FullSize) return 4;
  if (Look.Flat()) return 11;
  return Height / 2 + 2;  // room for the rounded left end of the classic look
}

Integer QATRightMargin(const TQATLook& Look) {
  if (Look.FullSize) return 4;
  if (Look.Flat()) return 5;
  return 12;
}

TRect QATButtonsRect(const TQATLook& Look, Integer Width, Integer Height) {
  TRect R = QATBaseRect(Look, Width, Height);
  R.Left = QATLeftMargin(Look, Height);
  R.Right -= QATRightMargin(Look);
  R.Bottom -= 1;
  return R;
}

TRect QATCustomizeButtonRect(Single Scale, Integer Width, Integer Height) {
  return TRect{Width - QATScaledButtonWidth(Scale), 1, Width, Height};
}

Integer QATNeededWidth(const TQATLook& Look, Integer Height, Integer ControlsWidth) {
  const Integer extra = QATLeftMargin(Look, Height) + QATRightMargin(Look) + QATButtonWidth + QATButtonGap;
  return ControlsWidth + Integer(Round(extra * OneDecimal(Look.Scale)));
}

void QATBuildControlList(TQATLayout& L) {
  L.Shown.clear();
  const int n = int(L.Items.size());
  for (int i = 0; i < n; ++i) {
    const TQATItem& it = L.Items[i];
    if (!it.Visible || !it.OnToolBar || Contains(L.Hidden, i)) continue;
    auto pos = std::find_if(L.Shown.begin(), L.Shown.end(), [&](int j) { return L.Items[j].Left > it.Left; });
    L.Shown.insert(pos, i);
  }
}

Integer QATOverflowRight(const TQATLayout& L) {
  TRect R = QATButtonsRect(L.Look, L.Width, L.Height);
  if (L.Look.Flat()) R.Right -= QATScaledButtonWidth(L.Look.Scale);
  return R.Right;
}

Integer QATFirstLeft(const TQATLayout& L) {
  Integer X = QATButtonsRect(L.Look, L.Width, L.Height).Left;
  if (L.Look.IconLook() && !L.Look.FullSize) X += Integer(Round(16.0 * L.Look.Scale));  // the application icon
  return X;
}

void QATPlaceControls(TQATLayout& L) {
  const TRect R = QATButtonsRect(L.Look, L.Width, L.Height);
  Integer X = QATFirstLeft(L);
  for (int i : L.Shown) {
    TQATItem& it = L.Items[i];
    it.Left = X;
    it.Top = Contains(L.Hidden, i) ? -it.Height - 2 : (R.Bottom - R.Top - it.Height) / 2 + R.Top;
    X += it.Width;
  }
  for (int i : L.Hidden)
    if (L.Items[i].OnToolBar) L.Items[i].Top = -L.Items[i].Height - 2;  // out of sight above the toolbar
  const TRect cr = QATCustomizeButtonRect(L.Look.Scale, L.Width, L.Height);
  if (L.Customize.Exists && L.Customize.Visible && L.Hidden.empty()) {
    L.Customize.Top = R.Top;
    L.Customize.Height = R.Bottom - R.Top;
    if (L.Look.FullSize)
      L.Customize.Left = X;
    else if (L.Look.IconLook())
      L.Customize.Left = cr.Left;
    else
      L.Customize.Left = L.Width - L.Customize.Width;
  }
  if (L.Scroll.Exists && L.Scroll.Visible && !L.Hidden.empty()) {
    L.Scroll.Top = R.Top;
    L.Scroll.Height = R.Bottom - R.Top;
    L.Scroll.Left = L.Look.FullSize ? X : cr.Left;
  }
}

namespace {

void ShowScroll(TQATLayout& L) {
  if (L.Scroll.Visible) return;
  const TRect cr = QATCustomizeButtonRect(L.Look.Scale, L.Width, L.Height);
  if (!L.Scroll.Exists) {
    L.Scroll.Exists = true;
    L.Scroll.Width = QATScaledButtonWidth(L.Look.Scale);
    L.Scroll.Height = L.Height;
  }
  L.Scroll.Left = cr.Left;
  L.Scroll.Top = cr.Top;
  L.Scroll.Visible = true;
}

// Re-applies the customize option when the button went missing or hidden.
void RestoreCustomize(TQATLayout& L) {
  if (!L.ShowCustomizeOption || (L.Customize.Exists && L.Customize.Visible)) return;
  L.Customize.Exists = true;
  L.Customize.Height = L.Height;
  L.Customize.Width = QATScaledButtonWidth(L.Look.Scale);
  L.Customize.Visible = true;
}

}  // namespace

bool QATUpdateHiddenControls(TQATLayout& L) {
  const Integer right = QATOverflowRight(L);
  auto over = std::find_if(L.Shown.begin(), L.Shown.end(), [&](int i) {
    return L.Items[i].Left + L.Items[i].Width > right;
  });
  if (over != L.Shown.end()) {
    ShowScroll(L);
    // The overflowing controls go in front of those hidden earlier, in their
    // left-to-right order.
    L.Hidden.insert(L.Hidden.begin(), over, L.Shown.end());
    L.Customize.Visible = false;
    QATBuildControlList(L);
    return true;
  }
  if (L.Hidden.empty()) return false;
  // With nothing shown the room starts where the first control goes (after
  // the application icon), or a control that does not fit would come back.
  Integer X = L.Shown.empty() ? QATFirstLeft(L) : L.Items[L.Shown.back()].Left + L.Items[L.Shown.back()].Width;
  Integer Room = right - X;
  bool changed = false;
  const size_t count = L.Hidden.size();
  for (size_t handled = 0; handled < count && Room > 0 && !L.Hidden.empty(); ++handled) {
    TQATItem& it = L.Items[L.Hidden.front()];
    if (Room < it.Width) break;
    if (!it.OnToolBar) {
      it.OnToolBar = true;
      it.Left = X;
      X += it.Width;
    }
    Room -= it.Width;
    L.Hidden.erase(L.Hidden.begin());
    changed = true;
  }
  if (L.Hidden.empty()) {
    L.Scroll.Visible = false;
    RestoreCustomize(L);
  }
  QATBuildControlList(L);
  return changed;
}

void QATRelayout(TQATLayout& L) {
  QATBuildControlList(L);
  QATPlaceControls(L);
  if (QATUpdateHiddenControls(L)) QATPlaceControls(L);
}

std::string CheckQATLayout(const TQATLayout& L) {
  const int n = int(L.Items.size());
  std::vector<int> seen(n, 0);
  for (int i : L.Shown) {
    if (i < 0 || i >= n) return "shown index out of range";
    ++seen[i];
  }
  for (int i : L.Hidden) {
    if (i < 0 || i >= n) return "hidden index out of range";
    ++seen[i];
  }
  for (int i = 0; i < n; ++i) {
    if (seen[i] > 1) return "control " + std::to_string(i) + " listed twice";
    if (L.Items[i].Visible && seen[i] == 0) return "control " + std::to_string(i) + " lost";
  }
  const TRect R = QATButtonsRect(L.Look, L.Width, L.Height);
  const Integer right = QATOverflowRight(L);
  for (size_t k = 0; k < L.Shown.size(); ++k) {
    const TQATItem& it = L.Items[L.Shown[k]];
    if (!it.OnToolBar) return "shown control not on the toolbar";
    if (it.Left < R.Left || it.Left + it.Width > right) return "shown control " + std::to_string(L.Shown[k]) + " outside";
    if (k > 0) {
      const TQATItem& prev = L.Items[L.Shown[k - 1]];
      if (prev.Left + prev.Width > it.Left) return "shown controls overlap";
    }
  }
  for (int i : L.Hidden)
    if (L.Items[i].OnToolBar && L.Items[i].Top + L.Items[i].Height > 0) return "hidden control in sight";
  if (L.Scroll.Visible != !L.Hidden.empty()) return "scroll button does not match the hidden list";
  if (L.Scroll.Visible && L.Customize.Visible) return "customize button beside the scroll button";
  return {};
}

}  // namespace ribbon
