#pragma once
// Access for the toolbar painters to a windowed control's painting of its
// windowless children, so a container, a scroll button or the quick-access
// toolbar can draw a parent's children into its own picture.
#include "platform/vcl/Controls.h"

namespace toolbar {

class TWinCtrl : public TWinControl {
 public:
  using TWinControl::TWinControl;
  // Paints the visible windowless children of Control from First on
  // (nullptr: all) into DC, at their places in Control's client area. Taken
  // as an argument: a control made as another class is never cast to this one.
  static void PaintCtrls(TWinControl* Control, HDC DC, TControl* First) {
    if (Control != nullptr && DC != nullptr) Control->PaintControls(DC, First);
  }
  void PaintCtrls(HDC DC, TControl* First) { PaintCtrls(this, DC, First); }
};

}  // namespace toolbar
