// The status bar's mini-HTML calls: the window-canvas renderer with the
// status bar's options and the arguments the bar always passes.
#include "controls/AdvOfficeStatusBar.h"
#include "html/HTMLRender.h"

namespace officestatusbar {

TStatusHTMLResult StatusHTMLRender(const TStatusHTMLArgs& Args) {
  TStatusHTMLResult res;
  if (!Args.Canvas) return res;
  String anchor, plain, title;
  Integer anchors = 0, hitIndex = -1;
  TRect anchorRect;
  res.Hit = html::HTMLRender(Args.Canvas, Args.Text, Args.R, Args.Images, Args.Hit.X, Args.Hit.Y, -1, -1, 1,
                       Args.HitTestPass, false, false, Args.KeepColors, Args.BlinkVisible, Args.HoverUnderlineOnly,
                       Args.WrapWords, Args.ScaleFontSizes, 1.0, Args.URLColor, clNone, clNone, 0x808080, anchor,
                       plain, title, res.XSize, res.YSize, anchors, hitIndex, anchorRect, nullptr, Args.Container, 0,
                       Args.BiDi, clHighlight, clHighlightText, TFontStyles{}, -1.0f, html::HTMLStatusBarOptions());
  if (res.Hit) {
    res.Anchor = anchor;
    res.Title = title;
  }
  return res;
}

}  // namespace officestatusbar
