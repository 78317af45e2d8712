// One tab click on a ribbon pager of 10 pages with 6 toolbars each: the
// activation, the tab layout and the repaint of the pager and its new page.
// The reference does the same with a QTabBar over a stack of pages holding
// six QToolBars each, switched and grabbed in the same run.
#include <benchmark/benchmark.h>

#include <QStackedWidget>
#include <QTabBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/rtl/StrUtils.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "ribbon/AdvPage.h"
#include "ribbon/ZadEdevAziPager.h"

namespace {

constexpr int Pages = 10, ToolBars = 6;

void BM_PagerTabClick(benchmark::State& State) {
  EnsureGuiApplication();
  InitApplication();
  gdiplus::InitializeGdiplusUnit();
  auto form = std::make_unique<TForm>(nullptr);
  form->AfterConstruction();
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 1000, 200);
  auto* pager = new ribbon::TZadEdevAziPager(form.get());
  pager->SetName(u"Pager");
  pager->SetParent(form.get());
  for (int p = 0; p < Pages; ++p) {
    pager->AddAdvPage(u"Page " + IntToStr(p + 1));
    for (int t = 0; t < ToolBars; ++t) pager->AdvPages(p)->CreateZadEdevAzi();
  }
  pager->Loaded();
  pager->SetActivePageIndex(0);
  form->Show();
  PumpPending();
  testinput::PaintPending();
  int next = 1;
  for (auto _ : State) {
    pager->SetActivePageIndex(next);
    next = (next + 1) % Pages;
    auto shot = testinput::Grab(pager);
    benchmark::DoNotOptimize(shot);
  }
  form.reset();
  PumpPending();
}
BENCHMARK(BM_PagerTabClick)->Unit(benchmark::kMicrosecond);

void BM_QtTabBarClick(benchmark::State& State) {
  EnsureGuiApplication();
  QWidget window;
  window.resize(1000, 200);
  auto* layout = new QVBoxLayout(&window);
  auto* bar = new QTabBar(&window);
  auto* stack = new QStackedWidget(&window);
  layout->addWidget(bar);
  layout->addWidget(stack);
  for (int p = 0; p < Pages; ++p) {
    bar->addTab(QStringLiteral("Page %1").arg(p + 1));
    auto* page = new QWidget(stack);
    auto* row = new QHBoxLayout(page);
    for (int t = 0; t < ToolBars; ++t) {
      auto* tb = new QToolBar(QStringLiteral("Untitled"), page);
      tb->setFixedWidth(120);
      row->addWidget(tb);
    }
    stack->addWidget(page);
  }
  QObject::connect(bar, &QTabBar::currentChanged, stack, &QStackedWidget::setCurrentIndex);
  window.show();
  int next = 1;
  for (auto _ : State) {
    bar->setCurrentIndex(next);
    next = (next + 1) % Pages;
    QPixmap shot = window.grab();
    benchmark::DoNotOptimize(shot);
  }
}
BENCHMARK(BM_QtTabBarClick)->Unit(benchmark::kMicrosecond);

}  // namespace
