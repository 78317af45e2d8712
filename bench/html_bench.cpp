// The mini-HTML renderer per call: a typical status panel text and a 2 KB
// rich text, drawn (measure and draw passes) on a bitmap, next to a single
// DrawText of the panel's plain text as the reference of the same run.
#include <benchmark/benchmark.h>

#include "html/HTMLRender.h"
#include "platform/rtl/StrUtils.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Bitmap.h"

using namespace html;

namespace {

const String kPanel = u"Port <b>COM3</b>: <font color=\"clgreen\">connected</font> <a href=\"info\">details</a>";

String RichText() {
  String s;
  const String para =
      u"<p align=\"left\"><b>Version 2.1</b> brings <i>faster</i> uploads, <font color=\"#C00000\">fixed</font> "
      u"timeouts and a <a href=\"https://example.test/notes\" title=\"Notes\">changelog</a>.</p>"
      u"<ul><li>New bootloader &amp; checksum<li>Serial port <u>detection</u> &eacute;l&egrave;ve</ul><br>";
  while (s.size() < 2048) s += para;
  return s;
}

struct HTMLBenchCanvas {
  HTMLBenchCanvas(int w, int h) : Bitmap(w, h) {
    EnsureGuiApplication();
    Bitmap.Canvas()->Font()->SetName(u"Tahoma");
    Bitmap.Canvas()->Font()->SetHeight(-11);
  }
  bool Render(const String& text, const TRect& r, const THTMLRenderOptions& o) {
    THTMLRenderArgs args;
    args.ShadowOffset = 1;
    args.BlinkVisible = true;
    args.Options = o;
    THTMLRenderResult result;
    return HTMLRender(Bitmap.Canvas(), text, r, args, result);
  }
  TBitmap Bitmap;
};

void BM_ReferenceDrawText(benchmark::State& state) {
  HTMLBenchCanvas c(300, 22);
  const String plain = u"Port COM3: connected details";
  for (auto _ : state) {
    TRect r{0, 0, 300, 22};
    String t = plain;
    c.Bitmap.Canvas()->TextRect(r, t, DT_SINGLELINE | DT_BOTTOM);
  }
}
BENCHMARK(BM_ReferenceDrawText)->Unit(benchmark::kMicrosecond);

void BM_StatusPanel(benchmark::State& state) {
  HTMLBenchCanvas c(300, 22);
  const THTMLRenderOptions o = HTMLStatusBarOptions();
  for (auto _ : state) benchmark::DoNotOptimize(c.Render(kPanel, {0, 0, 300, 22}, o));
}
BENCHMARK(BM_StatusPanel)->Unit(benchmark::kMicrosecond);

void BM_RichText2K(benchmark::State& state) {
  HTMLBenchCanvas c(400, 1200);
  const String text = RichText();
  for (auto _ : state) benchmark::DoNotOptimize(c.Render(text, {0, 0, 400, 1200}, THTMLRenderOptions()));
  state.SetBytesProcessed(Int64(state.iterations()) * Int64(text.size()));
}
BENCHMARK(BM_RichText2K)->Unit(benchmark::kMicrosecond);

// A hit test over a text of N pictures from N distinct addresses, all in the
// picture cache already: the time per picture should not grow with N (the
// cache finds each address by its index, not by a scan).
void BM_URLPicturesHitTest(benchmark::State& state) {
  HTMLBenchCanvas c(400, 400);
  const Integer n = Integer(state.range(0));
  String text;
  for (Integer i = 0; i < n; ++i) text += u"<img src=\"http://example.invalid/" + IntToStr(i) + u".png\">";
  THTMLPictureCache cache;
  THTMLRenderArgs args;
  args.HitX = 10;
  args.HitY = 10;
  args.HitTestPass = true;
  args.PictureCache = &cache;
  THTMLRenderResult first;
  HTMLRender(c.Bitmap.Canvas(), text, {0, 0, 400, 400}, args, first);
  for (auto _ : state) {
    THTMLRenderResult r;
    benchmark::DoNotOptimize(HTMLRender(c.Bitmap.Canvas(), text, {0, 0, 400, 400}, args, r));
  }
  state.SetItemsProcessed(Int64(state.iterations()) * n);
}
BENCHMARK(BM_URLPicturesHitTest)->Arg(1000)->Arg(8000)->Unit(benchmark::kMillisecond);

}  // namespace
