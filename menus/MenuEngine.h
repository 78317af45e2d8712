#pragma once
// The owner-draw engine: measures and paints every item of our main and
// pop-up menus from the menu's current styler and the menu's own settings.
#include "menus/AdvMenuStyler.h"
#include "menus/MenuQueries.h"

// Measures Item on Canvas. Width and Height come in as the layer computed
// them and leave as the engine's size; an invisible item measures 0 x 0. An
// item of another menu is left unchanged. Measuring never rebuilds the menu.
void MeasureMenuItem(TMenuItem* Item, TCanvas* Canvas, Integer& Width, Integer& Height, bool ShowSideBar);
// Paints Item into Rect (for pop-up items the edge allowance is already off
// Rect.Right), then frames its pop-up window. An item of another menu: nothing.
void DrawMenuItem(TMenuItem* Item, TCanvas* Canvas, TRect Rect, bool ShowSideBar, TOwnerDrawState State);
// Paints one caption or shortcut text into R in the styler's fonts; with
// DT_CALCRECT in Format it only measures, turning R into the text's extent.
void DrawMenuItemText(TMenuItem* Item, TCanvas* Canvas, const String& Text, UINT Format, TOwnerDrawState State,
                      TRect& R);
// The colour of disabled text (no themed menus here: clBtnShadow).
TColor GetDisabledTextColor();
// The DPI scale of the item's menu owner when it is a control, else 1.0.
float MenuItemScale(TMenuItem* Item);
