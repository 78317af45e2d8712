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
  String anchor, plain, title;
  Integer ex = 0, ey = 0, count = 0, index = -1;
  TRect hit{-1, -1, -1, -1};
  html::HTMLRender(c, text, {0, 0, 200, 100}, nullptr, (flags >> 4) * 12, (flags >> 2 & 3) * 12, (flags & 2) ? 0 : -1,
             1, 1, (flags & 4) != 0, (flags & 8) != 0, (flags & 16) != 0, false, (flags & 32) != 0,
             (flags & 64) != 0, (flags & 128) == 0, true, 1.5, 0xFF0000, 0x00FFFF, 0x0000FF, 0x808080, anchor,
             plain, title, ex, ey, count, index, hit, &cache, container, 1, bdLeftToRight, clHighlight,
             clHighlightText, TFontStyles(), (flags & 1) ? -1.0f : 1.0f, options);
  (void)html::HTMLToPlainText(text);
  (void)html::HTMLHighlight(text, text.substr(0, 3), u"hi", (flags & 2) != 0);
  (void)html::HTMLRawIndex(text, Integer(size / 2));
  cache.ClearPictures();
  return 0;
}
