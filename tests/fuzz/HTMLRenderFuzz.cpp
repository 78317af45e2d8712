// Fuzz target: the mini-HTML renderer over random markup. The first byte
// picks the renderer's switches; the rest is the text (bytes from 0xF0 on
// join the next byte into one wider character, so surrogates and emoji come
// up). Layout, drawing and hit testing must not crash, hang or grow without
// bound; the text utilities get the same text.
#include <cstdint>
#include <memory>

#include "html/HTMLRender.h"
#include "html/HTMLTextUtils.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TBitmap* surface = [] {
    EnsureGuiApplication();
    return new TBitmap(200, 100);
  }();
  static TPictureContainer* container = [] {
    auto* pc = new TPictureContainer(nullptr);
    TBitmap b(3, 2);
    b.Canvas()->Brush()->SetColor(0x0000FF);
    b.Canvas()->FillRect({0, 0, 3, 2});
    TPictureItem* item = pc->Items()->Add();
    item->SetName(u"p");
    item->SetPicture(&b);
    return pc;
  }();
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  String text;
  for (std::size_t i = 1; i < size; ++i) {
    if (data[i] >= 0xF0 && i + 1 < size) {
      text += char16_t(((data[i] & 0x0F) << 12) | (data[i + 1] << 4) | (data[i + 1] & 0x0F));
      ++i;
    } else {
      text += char16_t(data[i]);
    }
  }
  html::THTMLRenderOptions options = (flags & 1) ? html::HTMLStatusBarOptions() : html::THTMLRenderOptions();
  // Markup from outside never reads the machine's files.
  options.ExternalText = true;
  THTMLPictureCache cache;
  TCanvas* c = surface->Canvas();
  c->Font()->SetName(u"Tahoma");
  c->Font()->SetHeight(-11);
  html::THTMLRenderArgs args;
  args.HitX = (flags >> 4) * 12;
  args.HitY = (flags >> 2 & 3) * 12;
  args.FocusAnchor = (flags & 2) ? 0 : -1;
  args.HoverAnchor = 1;
  args.ShadowOffset = 1;
  args.HitTestPass = (flags & 4) != 0;
  args.MeasureOnly = (flags & 8) != 0;
  args.PrintMode = (flags & 16) != 0;
  args.BlinkVisible = (flags & 32) != 0;
  args.HoverUnderlineOnly = (flags & 64) != 0;
  args.WrapWords = (flags & 128) == 0;
  args.ScaleFontSizes = true;
  args.PrintScale = 1.5;
  args.HoverColor = 0x00FFFF;
  args.HoverFontColor = 0x0000FF;
  args.PictureCache = &cache;
  args.Container = container;
  args.LineSpacing = 1;
  args.Scale = (flags & 1) ? -1.0f : 1.0f;
  args.Options = options;
  html::THTMLRenderResult result;
  html::HTMLRender(c, text, {0, 0, 200, 100}, args, result);
  (void)html::HTMLToPlainText(text);
  (void)html::HTMLHighlight(text, text.substr(0, 3), u"hi", (flags & 2) != 0);
  (void)html::HTMLRawIndex(text, Integer(size / 2));
  cache.ClearPictures();
  return 0;
}
