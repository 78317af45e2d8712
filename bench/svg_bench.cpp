// SVG icons: parse and render a 50 KB set of icons to 256 x 256 bitmaps with
// the document engine, and the same set with Qt's SVG renderer and with the
// system's SVG library in the same run (the references exist only here). The
// engine's target: no slower than Qt's renderer.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "foundation/gdiplus_runtime/GdiplusApi.h"
#include "foundation/gdiplus_runtime/GdiplusClasses.h"
#include "foundation/graphics/AdvNamedColors.h"
#include "foundation/svg/AdvGraphicsSVGImport.h"
#include "platform/gdiplus/GdiPlus.h"
#include "platform/testing/GuiTestApp.h"

// After the project's headers (these define TRUE and FALSE as macros) and
// before Qt's (whose keywords clash with their field names).
#include <cairo.h>
#include <librsvg/rsvg.h>

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace {

constexpr int kSide = 256;

// A deterministic icon set of about 50 KB: shapes, paths with curves and
// arcs, transforms, gradients and opacity, as a typical icon font exports.
const std::vector<std::string>& IconSet() {
  static const std::vector<std::string> icons = [] {
    std::vector<std::string> set;
    std::size_t total = 0;
    for (int i = 0; total < 50 * 1024; ++i) {
      const int a = 2 + i % 7, b = 3 + (i * 5) % 11, c = (i * 37) % 360;
      std::string s = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 24 24\" width=\"24\" height=\"24\">";
      s += "<defs><linearGradient id=\"g" + std::to_string(i) +
           "\" x1=\"0\" y1=\"0\" x2=\"1\" y2=\"1\"><stop offset=\"0\" stop-color=\"#1e88e5\"/>"
           "<stop offset=\"1\" stop-color=\"#0d47a1\"/></linearGradient></defs>";
      s += "<rect x=\"1\" y=\"1\" width=\"22\" height=\"22\" rx=\"4\" fill=\"url(#g" + std::to_string(i) + ")\"/>";
      s += "<g transform=\"rotate(" + std::to_string(c) + " 12 12)\" opacity=\"0.9\">";
      s += "<path d=\"M" + std::to_string(a) + " 12 C" + std::to_string(a) + " " + std::to_string(b) +
           " 20 " + std::to_string(b) + " 20 12 S" + std::to_string(a + 4) + " 22 " + std::to_string(a) +
           " 12z\" fill=\"#ffffff\" fill-opacity=\"0.8\"/>";
      s += "<path d=\"M6 18 a6 6 0 0 1 12 0 l-2 0 a4 4 0 0 0 -8 0z\" fill=\"#ffc107\"/>";
      s += "<circle cx=\"" + std::to_string(6 + i % 12) + "\" cy=\"7\" r=\"2.5\" fill=\"#e53935\" stroke=\"#ffffff\""
           " stroke-width=\"1\"/>";
      s += "<polyline points=\"4,20 8,16 12,19 16,14 20,18\" fill=\"none\" stroke=\"#212121\" stroke-width=\"1.5\"/>";
      s += "</g></svg>";
      total += s.size();
      set.push_back(std::move(s));
    }
    return set;
  }();
  return icons;
}

void SVGBenchStart() {
  static const bool started = [] {
    EnsureGuiApplication();
    InitializeNamedColors();
    RegisterGdiplusModule();
    gdiplus_runtime::InitializeGdiplusApi();
    gdiplus_runtime::InitializeGdiplusClasses();
    return true;
  }();
  (void)started;
}

void BM_Engine(benchmark::State& state) {
  SVGBenchStart();
  const auto& icons = IconSet();
  for (auto _ : state) {
    for (const std::string& icon : icons) {
      TAdvGraphicsSVGImport doc;
      doc.LoadFromText(Utf8ToString(icon));
      benchmark::DoNotOptimize(doc.GenerateBitmap(kSide, kSide));
    }
  }
  state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(icons.size()));
}

// The parse alone, to tell the two halves of the engine's time apart.
void BM_EngineParseOnly(benchmark::State& state) {
  SVGBenchStart();
  const auto& icons = IconSet();
  for (auto _ : state) {
    for (const std::string& icon : icons) {
      TAdvGraphicsSVGImport doc;
      doc.LoadFromText(Utf8ToString(icon));
      benchmark::DoNotOptimize(doc.ElementCount());
    }
  }
  state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(icons.size()));
}

void BM_QtSvgRenderer(benchmark::State& state) {
  SVGBenchStart();
  const auto& icons = IconSet();
  for (auto _ : state) {
    for (const std::string& icon : icons) {
      QSvgRenderer renderer(QByteArray::fromRawData(icon.data(), qsizetype(icon.size())));
      QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
      image.fill(Qt::transparent);
      QPainter painter(&image);
      renderer.render(&painter);
      painter.end();
      benchmark::DoNotOptimize(image.constBits());
    }
  }
  state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(icons.size()));
}

void BM_Librsvg(benchmark::State& state) {
  SVGBenchStart();
  const auto& icons = IconSet();
  for (auto _ : state) {
    for (const std::string& icon : icons) {
      RsvgHandle* handle =
          rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(icon.data()), gsize(icon.size()), nullptr);
      cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSide, kSide);
      cairo_t* cr = cairo_create(surface);
      const RsvgRectangle viewport{0, 0, kSide, kSide};
      if (handle) rsvg_handle_render_document(handle, cr, &viewport, nullptr);
      cairo_destroy(cr);
      benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
      cairo_surface_destroy(surface);
      if (handle) g_object_unref(handle);
    }
  }
  state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(icons.size()));
}

}  // namespace

BENCHMARK(BM_Engine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineParseOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtSvgRenderer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Librsvg)->Unit(benchmark::kMillisecond);
