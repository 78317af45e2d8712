#include "ribbon/PagerButtonLayout.h"

#include <algorithm>

#include "ribbon/PagerTabLayout.h"

namespace ribbon {

Integer PagerSideMargin(const TPagerButtonLook& Look) { return Look.Tones || Look.Scenic ? 0 : 4; }

Integer CaptionButtonSide(Single Scale) {
  const Integer a = Rnd(16 * double(Scale));
  const Integer b = Rnd(16 * (double(Scale) - 1));
  return std::max(a, a + b / 2);
}

TCaptionButtonsPlacement PlaceCaptionButtons(Integer PagerWidth, Integer CaptionTop, Integer CaptionHeight,
                                             const TPagerButtonLook& Look) {
  TCaptionButtonsPlacement p;
  Integer w, h;
  if (Look.GroupStyle == gsOffice2019) {
    w = Rnd(44 * double(Look.Scale));
    h = CaptionHeight;
    p.Gap = 1;
  } else {
    w = h = CaptionButtonSide(Look.Scale);
    p.Gap = 2;
  }
  const Integer m = PagerSideMargin(Look);
  Integer top = CaptionTop + m;
  if (Look.Tones && Look.GroupStyle != gsOffice2019) top += 4;
  const Integer closeLeft = PagerWidth - m - w;
  const Integer maxLeft = closeLeft - p.Gap - w;
  const Integer minLeft = maxLeft - p.Gap - w;
  p.Close = TRect{closeLeft, top, closeLeft + w, top + h};
  p.Max = TRect{maxLeft, top, maxLeft + w, top + h};
  p.Min = TRect{minLeft, top, minLeft + w, top + h};
  return p;
}

TPoint GlassButtonsSize(const TGlassButtonsInput& In) {
  Integer w = 100;
  if (!In.Designing && In.Win7) w = In.Win10 ? 130 : 110;
  Integer d = 96;
  if (In.ByScreen && In.ScreenPPI > 0) {
    d = In.ScreenPPI;
    w = Rnd(double(w) * d / 96);
  }
  Integer h = Rnd(double(d) * (In.ShadedGlassTabs ? 25 : 22) / 96);
  h = std::min(h, In.ScaledCaptionHeight - 5);
  return TPoint{w, std::max<Integer>(h, 0)};
}

TRect GlassCaptionButtonsRect(Integer PagerWidth, const TGlassButtonsInput& In) {
  const TPoint s = GlassButtonsSize(In);
  return TRect{PagerWidth - s.X, 0, PagerWidth, s.Y};
}

TRect MDIButtonsRect(const TRect& TabsRect, Integer ButtonWidth, Integer Space) {
  return TRect{TabsRect.Right + 2, TabsRect.Top, TabsRect.Right + 2 + 3 * (ButtonWidth + Space), TabsRect.Bottom};
}

TMDIButtonsPlacement PlaceMDIButtons(const TRect& Area, Integer ButtonWidth, Integer Space) {
  const Integer top = Area.Top + (Area.Height() - ButtonWidth) / 2 - 4;
  auto at = [&](Integer left) { return TRect{left, top, left + ButtonWidth, top + ButtonWidth}; };
  TMDIButtonsPlacement p;
  p.Min = at(Area.Left);
  p.Restore = at(p.Min.Right + Space);
  p.Close = at(p.Restore.Right + Space);
  return p;
}

TRect HelpButtonRect(const TRect& TabsArea, const TPagerButtonLook& Look, Integer MDILeft) {
  const Integer a = Rnd(20 * double(Look.Scale));
  const Integer top = TabsArea.Top + (TabsArea.Height() - a) / 2 + 1;
  const Integer right = MDILeft >= 0 ? MDILeft - 2 : TabsArea.Right - (PagerSideMargin(Look) + 2);
  return TRect{right - a, top, right, top + a};
}

}  // namespace ribbon
