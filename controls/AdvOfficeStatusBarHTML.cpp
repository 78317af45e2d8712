// The status bar's mini-HTML calls: the window-canvas renderer with the
// status bar's options and the arguments the bar always passes.
#include "controls/AdvOfficeStatusBar.h"
#include "html/HTMLRender.h"

namespace officestatusbar {

TStatusHTMLResult StatusHTMLRender(const TStatusHTMLArgs& Args) {
  TStatusHTMLResult res;
  if (!Args.Canvas) return res;
  html::THTMLRenderArgs a;
  a.Images = Args.Images;
  a.HitX = Args.Hit.X;
  a.HitY = Args.Hit.Y;
  a.ShadowOffset = 1;
  a.HitTestPass = Args.HitTestPass;
  a.KeepColors = Args.KeepColors;
  a.BlinkVisible = Args.BlinkVisible;
  a.HoverUnderlineOnly = Args.HoverUnderlineOnly;
  a.WrapWords = Args.WrapWords;
  a.ScaleFontSizes = Args.ScaleFontSizes;
  a.URLColor = Args.URLColor;
  a.Container = Args.Container;
  a.BiDiMode = Args.BiDi;
  a.Options = html::HTMLStatusBarOptions();
  html::THTMLRenderResult out;
  res.Hit = html::HTMLRender(Args.Canvas, Args.Text, Args.R, a, out);
  res.XSize = out.ExtentX;
  res.YSize = out.ExtentY;
  if (res.Hit) {
    res.Anchor = out.HitAnchor;
    res.Title = out.AnchorTitle;
  }
  return res;
}

}  // namespace officestatusbar
