// Painting a toolbar of 20 buttons, each with a 16 x 16 image and a caption
// beside it, into a memory surface, against a QToolBar of 20 QToolButtons
// drawing the same (icon and text beside it) into a QImage, in the same run.
// Both sides render offscreen with the project's font set; the ratio of the
// two times is what to watch.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>

#include <memory>
#include <vector>

#include "bench/BenchSurface.h"
#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"

namespace {

constexpr int kButtons = 20;
constexpr int kWidth = 1400, kHeight = 30;

const char16_t* const kCaptions[] = {u"Open",  u"Save",   u"Read",   u"Write",  u"Verify", u"Erase", u"Fuse",
                                     u"Lock",  u"Port",   u"Reset",  u"Update", u"Check",  u"Info",  u"Log",
                                     u"Clear", u"Export", u"Import", u"Help",   u"About",  u"Quit"};

TColor ImageColour(int i) { return TColor((i * 53) & 0xFF) | TColor((i * 97) & 0xFF) << 8 | TColor(0x80) << 16; }

struct OwnToolBar {
  OwnToolBar() {
    EnsureGuiApplication();
    InitApplication();
    gdiplus::InitializeGdiplusUnit();
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBounds(0, 0, kWidth + 20, 100);
    Images = std::make_unique<TImageList>(nullptr);
    Images->SetSize(16, 16);
    for (int i = 0; i < kButtons; ++i) {
      TBitmap b(16, 16);
      b.Canvas()->Brush()->SetColor(0xFF00FF);
      b.Canvas()->FillRect(TRect{0, 0, 16, 16});
      b.Canvas()->Brush()->SetColor(ImageColour(i));
      b.Canvas()->FillRect(TRect{2, 2, 14, 14});
      Images->AddMasked(&b, 0xFF00FF);
    }
    ToolBar = new toolbar::TZadEdevAzi(Form.get());
    ToolBar->SetParent(Form.get());
    ToolBar->SetImages(Images.get());
    for (int i = 0; i < kButtons; ++i) {
      auto* b = new toolbar::TZadEdevAziButton(Form.get());
      b->SetZadEdevAzi(ToolBar);
      b->SetImageIndex(i);
      b->SetCaption(kCaptions[i]);
      b->SetShowCaption(true);
    }
    ToolBar->SetAutoSize(false);
    ToolBar->SetBounds(0, 0, kWidth, kHeight);
  }
  void Paint(HDC DC) { ToolBar->Perform(WM_PAINT, WPARAM(DC), 0); }
  std::unique_ptr<TForm> Form;
  std::unique_ptr<TImageList> Images;
  toolbar::TZadEdevAzi* ToolBar = nullptr;
};

struct QtToolBar {
  QtToolBar() : Image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied) {
    EnsureGuiApplication();
    Bar = std::make_unique<QToolBar>();
    Bar->setIconSize(QSize(16, 16));
    Bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (int i = 0; i < kButtons; ++i) {
      QPixmap p(16, 16);
      p.fill(Qt::transparent);
      {
        QPainter painter(&p);
        const TColor c = ImageColour(i);
        painter.fillRect(2, 2, 12, 12, QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
      }
      auto* b = new QToolButton(Bar.get());
      b->setIcon(QIcon(p));
      const char16_t* text = kCaptions[i];
      b->setText(QString::fromUtf16(text));
      b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
      Bar->addWidget(b);
    }
    Bar->resize(kWidth, kHeight);
    Bar->ensurePolished();
    Bar->adjustSize();
    Bar->resize(kWidth, kHeight);
  }
  void Paint() {
    Image.fill(Qt::white);
    Bar->render(&Image);
  }
  std::unique_ptr<QToolBar> Bar;
  QImage Image;
};

// How many of the 20 images show whole (12 x 12 pixels of their colour).
template <class PixelAt>
int ImagesShown(PixelAt Pixel) {
  int shown = 0;
  for (int i = 0; i < kButtons; ++i) {
    int n = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (Pixel(x, y) == (ImageColour(i) & 0xFFFFFF)) ++n;
    if (n >= 144) ++shown;
  }
  return shown;
}

void BM_ToolBarOwn(benchmark::State& state) {
  OwnToolBar bar;
  BenchSurface surface(kWidth, kHeight);
  bar.Paint(surface.DC);
  if (ImagesShown([&](int x, int y) { return TColor(GetPixel(surface.DC, x, y)); }) != kButtons) {
    state.SkipWithError("the toolbar does not show its 20 images");
    return;
  }
  for (auto _ : state) {
    bar.Paint(surface.DC);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kButtons);
}
BENCHMARK(BM_ToolBarOwn)->Unit(benchmark::kMicrosecond);

void BM_ToolBarQt(benchmark::State& state) {
  QtToolBar bar;
  bar.Paint();
  const int shown = ImagesShown([&](int x, int y) {
    const QRgb p = bar.Image.pixel(x, y);
    return TColor(qRed(p)) | TColor(qGreen(p)) << 8 | TColor(qBlue(p)) << 16;
  });
  if (shown != kButtons) {
    state.SkipWithError("the QToolBar does not show its 20 icons");
    return;
  }
  for (auto _ : state) {
    bar.Paint();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kButtons);
}
BENCHMARK(BM_ToolBarQt)->Unit(benchmark::kMicrosecond);

}  // namespace
