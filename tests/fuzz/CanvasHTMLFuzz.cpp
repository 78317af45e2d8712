// Fuzz target: HTMLRender over any markup. The first bytes choose the
// rectangle's size, word wrapping, hit point and mode; the rest is the text
// (UTF-16 from byte pairs). No input may crash, hang or grow memory without
// bound; measuring and drawing must both finish.
#include <cstdint>

#include "foundation/graphics/AdvGraphicsHTML.h"
#include "foundation/graphics/AdvNamedColors.h"
#include "platform/testing/GuiTestApp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::unique_ptr<TAdvGraphics> canvas = [] {
    EnsureGuiApplication();
    InitializeNamedColors();
    TAdvGraphics::SetDefaultGraphicColors();
    return TAdvGraphics::CreateBitmapCanvas(200, 120);
  }();
  if (size < 6) return 0;
  const Single w = Single(data[0] % 250), h = Single(data[1] % 150);
  graphics_html::THTMLRenderArgs args;
  args.WordWrap = data[2] & 1;
  args.TestAnchor = data[2] & 2;
  args.MeasureOnly = data[2] & 4;
  args.FocusAnchor = (data[2] >> 3) & 3;
  args.X = data[3] % 220;
  args.Y = data[4] % 140;
  args.LineSpacing = data[5] % 4;
  String text;
  for (std::size_t i = 6; i + 1 < size; i += 2) text += Char(data[i] | (data[i + 1] << 8));
  graphics_html::THTMLRenderResult result;
  graphics_html::HTMLRender(canvas.get(), text, RectF(0, 0, w, h), args, result);
  (void)graphics_html::HTMLHighlight(text, u"a", u"hi", data[2] & 32);
  canvas->DrawText(RectF(0, 0, w, h), text, args.WordWrap, gtaCenter, gtaCenter);
  return 0;
}
