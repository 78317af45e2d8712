// A typical 2 KB rich text (paragraphs, bold and italic runs, colours, a
// list, anchors and line breaks) laid out and drawn with word wrapping on a
// 400 x 600 bitmap canvas by the canvas's HTML renderer; in the same run the
// same text laid out and drawn by a plain QTextDocument as the yardstick.
// Target: under 1 ms per call; the ratio Canvas/QTextDocument reads the cost.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>

#include "foundation/graphics/AdvGraphicsHTML.h"
#include "foundation/graphics/AdvNamedColors.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Bitmap.h"

using namespace graphics_html;

namespace {

String RichText() {
  String s;
  const String para =
      u"<p><b>Firmware</b> updates keep the <i>programmer</i> current. Select the <font color=\"#C00000\">serial "
      u"port</font>, press <a href=\"upload\">Upload</a> and wait until the <u>progress bar</u> reaches its end."
      u"<br>Details are in the <a href=\"notes\">release notes</a>.</p>"
      u"<ul><li>Check the cable<li>Keep the board powered</ul>";
  while (s.size() < 2000) s += para;
  return s;
}

std::string ToUtf8(const String& s) {
  return QString::fromUtf16(s.data(), qsizetype(s.size())).toStdString();
}

void BM_CanvasHTMLRender(benchmark::State& state) {
  EnsureGuiApplication();
  InitializeNamedColors();
  auto g = TAdvGraphics::CreateBitmapCanvas(400, 600);
  g->Font()->SetName(u"Tahoma");
  g->Font()->SetHeight(-11);
  const String text = RichText();
  for (auto _ : state) {
    benchmark::DoNotOptimize(g->DrawText(RectF(0, 0, 400, 600), text, true, gtaLeading, gtaLeading));
  }
  state.counters["bytes"] = double(text.size() * 2);
}

// Layout alone (what controls ask before they draw).
void BM_CanvasHTMLMeasure(benchmark::State& state) {
  EnsureGuiApplication();
  InitializeNamedColors();
  auto g = TAdvGraphics::CreateBitmapCanvas(400, 600);
  g->Font()->SetName(u"Tahoma");
  g->Font()->SetHeight(-11);
  const String text = RichText();
  for (auto _ : state) benchmark::DoNotOptimize(g->CalculateText(text, RectF(0, 0, 400, 600), true));
}

void BM_QTextDocumentLayout(benchmark::State& state) {
  EnsureGuiApplication();
  const String text = RichText();
  const QString html = QString::fromStdString(ToUtf8(text));
  QImage image(400, 600, QImage::Format_RGB32);
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(11);
  for (auto _ : state) {
    QTextDocument doc;
    doc.setDefaultFont(font);
    doc.setHtml(html);
    doc.setTextWidth(400);
    QPainter p(&image);
    doc.drawContents(&p, QRectF(0, 0, 400, 600));
  }
}

BENCHMARK(BM_CanvasHTMLRender)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CanvasHTMLMeasure)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QTextDocumentLayout)->Unit(benchmark::kMicrosecond);

}  // namespace
