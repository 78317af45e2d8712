// HTMLRender: layout, drawing and hit testing of tagged text on the canvas.
#include "foundation/graphics/AdvGraphicsHTML.h"
#include "foundation/utils/AdvUtils.h"

bool HTMLRender(TAdvGraphics* ACanvas, const String& AText, const TRectF& ARect, const THTMLRenderArgs& AArgs,
                THTMLRenderResult& AResult) {
  AResult = {};
  if (!ACanvas) return false;
  const String plain = TAdvUtils::HTMLStrip(HTMLPrepareText(AText));
  const TRectF r = ACanvas->Context()->CalculateText(plain, ARect, AArgs.WordWrap);
  AResult.Width = r.Width() + 2;
  AResult.Height = r.Height();
  AResult.PlainText = plain;
  AResult.LineCount = 1;
  if (!AArgs.MeasureOnly && !AArgs.TestAnchor)
    ACanvas->Context()->DrawText(plain, ARect, AArgs.WordWrap, gtaLeading, gtaLeading, gttNone, 0);
  return false;
}
