#pragma once
// Where the pager's own buttons stand, as plain geometry: the form's caption
// buttons (close, maximize/restore, minimize) on a caption not drawn on
// glass, the area of the form's own buttons on glass (shared with the glass
// window region so that both cut out the same corner), the MDI child's
// buttons after the tab row, and the help button at the tab area's right
// end. The pager gathers the inputs and places its buttons by the answers.
#include "platform/rtl/Geometry.h"
#include "platform/rtl/Types.h"
#include "ribbon/appearance/AppColor.h"

namespace ribbon {

// What decides the buttons' sizes and margins.
struct TPagerButtonLook {
  Single Scale = 1.0f;  // ToolBarDPIScale
  bool Tones = false;   // colour tones in force
  bool Scenic = false;  // the scenic-ribbon look
  TGroupStyle GroupStyle = gsClassic;
};

// The side margin of the tab row and the buttons: none under tones or the scenic look.
Integer PagerSideMargin(const TPagerButtonLook& Look);
// The square caption button's side: max(A, A + B div 2), A = 16 x s, B = 16 x (s - 1).
Integer CaptionButtonSide(Single Scale);

struct TCaptionButtonsPlacement {
  TRect Close, Max, Min;
  Integer Gap = 2;
};
// The three buttons from the pager's right edge inwards: Office 2019 wide
// and as high as the caption with one pixel between them; otherwise square
// with two pixels between.
TCaptionButtonsPlacement PlaceCaptionButtons(Integer PagerWidth, Integer CaptionTop, Integer CaptionHeight,
                                             const TPagerButtonLook& Look);

// The corner of the form's own caption buttons on glass.
struct TGlassButtonsInput {
  bool Designing = false;
  bool Win7 = true, Win10 = true;
  // On a ribbon form with a window: scaled by the screen's pixels per inch.
  bool ByScreen = false;
  Integer ScreenPPI = 96;
  bool ShadedGlassTabs = false;
  Integer ScaledCaptionHeight = 26;
};
// Width x and height y of the corner: 100 before Windows 7 or while
// designing, 110 on 7 and 8, 130 on 10; 22 (25 with shaded glass tabs)
// pixels high at 96 PPI but at most the caption height less 5.
TPoint GlassButtonsSize(const TGlassButtonsInput& In);
TRect GlassCaptionButtonsRect(Integer PagerWidth, const TGlassButtonsInput& In);

// The MDI buttons' area after the tab row's right end, and the three in it
// (minimize, restore, close from the left).
TRect MDIButtonsRect(const TRect& TabsRect, Integer ButtonWidth, Integer Space);
struct TMDIButtonsPlacement {
  TRect Min, Restore, Close;
};
TMDIButtonsPlacement PlaceMDIButtons(const TRect& Area, Integer ButtonWidth, Integer Space);

// The help button: a square of 20 x scale centred (one pixel low) in the
// tab area, at its right end less the side margin and 2, or 2 pixels left
// of the MDI buttons when they show (MDILeft >= 0).
TRect HelpButtonRect(const TRect& TabsArea, const TPagerButtonLook& Look, Integer MDILeft);

}  // namespace ribbon
