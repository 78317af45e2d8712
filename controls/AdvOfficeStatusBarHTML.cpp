// The status bar's mini-HTML calls. Until the window-canvas renderer is
// linked in, panel texts are shown with their tags removed and have no anchors.
#include "controls/AdvOfficeStatusBar.h"

namespace officestatusbar {

namespace {

String StatusHTMLStripTags(const String& Text) {
  String out;
  bool inTag = false;
  for (Char ch : Text) {
    if (ch == u'<') inTag = true;
    else if (ch == u'>') inTag = false;
    else if (!inTag) out += ch;
  }
  return out;
}

}  // namespace

TStatusHTMLResult StatusHTMLRender(const TStatusHTMLArgs& Args) {
  TStatusHTMLResult res;
  if (!Args.Canvas) return res;
  const String plain = StatusHTMLStripTags(Args.Text);
  const TSize ext = Args.Canvas->TextExtent(plain);
  res.XSize = ext.cx;
  res.YSize = ext.cy;
  if (Args.HitTestPass) return res;
  Args.Canvas->Brush()->SetStyle(bsClear);
  TRect r = Args.R;
  Args.Canvas->TextRect(r, r.Left, r.Top, plain);
  return res;
}

}  // namespace officestatusbar
