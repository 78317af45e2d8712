// Dock panels against Qt's main-window toolbar areas, in the same run:
// - restoring a stored layout of 50 toolbars of 20 buttons in the four dock
//   panels (every toolbar moves: the two layouts swap rows and places),
//   against QMainWindow::restoreState of as many QToolBars of 20 buttons in
//   its four areas, switching between two states likewise;
// - one pointer move of a toolbar drag that takes a toolbar from the first
//   row to the last and back, with 25, 50, 100 and 200 toolbars in the
//   panel (five to a row), against QMainWindow::insertToolBar moving a
//   QToolBar between the first and the last row of as many, with the layout
//   done. The drag's time per move over the toolbar count shows whether the
//   work grows linearly with the toolbars of the panel.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLayout>
#include <QMainWindow>
#include <QToolBar>
#include <QToolButton>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/IniFiles.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/DockLayout.h"

namespace {

constexpr int kRestoreToolBars = 50;
constexpr int kButtonsPerToolBar = 20;
constexpr int kPerRow = 5;

toolbar::TZadEdevAzi* NewToolBar(TForm* Form, TWinControl* Parent, const String& Name, int Buttons) {
  auto* tb = new toolbar::TZadEdevAzi(Form);
  tb->SetName(Name);
  tb->SetCaption(Name);
  tb->SetParent(Parent);
  for (int i = 0; i < Buttons; ++i) {
    auto* b = new toolbar::TZadEdevAziButton(Form);
    b->SetAutoSize(false);
    b->SetBounds(10000, 10000, 23, 22);
    b->SetZadEdevAzi(tb);
  }
  return tb;
}

struct OwnDocks {
  OwnDocks() : Path(std::filesystem::temp_directory_path() / ("dock-bench-" + std::to_string(getpid()) + ".ini")),
               Ini(String(Path.u16string())) {
    EnsureGuiApplication();
    InitApplication();
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 2400, 2400);
    const toolbar::TDockAlign sides[4] = {toolbar::daTop, toolbar::daBottom, toolbar::daLeft, toolbar::daRight};
    for (int p = 0; p < 4; ++p) {
      auto* panel = new toolbar::TAdvDockPanel(Form.get());
      panel->SetName(u"Dock" + IntToStr(p));
      panel->SetParent(Form.get());
      panel->SetAlign(sides[p]);
      Panels.push_back(panel);
    }
    for (int i = 0; i < kRestoreToolBars; ++i)
      NewToolBar(Form.get(), Panels[size_t(i % 4)], u"ToolBar" + IntToStr(i), kButtonsPerToolBar);
    Form->Show();
    Application->ProcessMessages();
    // Layout A as built; layout B puts each panel's toolbars in the reverse
    // row order and shifts them along their rows.
    for (int p = 0; p < 4; ++p) {
      const String a = u"A" + IntToStr(p), b = u"B" + IntToStr(p);
      Panels[size_t(p)]->SaveToolBarsPosition(&Ini, a);
      toolbar::TStoredDockLayout l = toolbar::ReadDockLayout(Ini, a);
      Integer rows = 0;
      for (const auto& t : l.ToolBars) rows = std::max(rows, t.Row + 1);
      for (auto& t : l.ToolBars) {
        if (t.Row >= 0) t.Row = rows - 1 - t.Row;
        if (t.Left) *t.Left += 7;
        if (t.Top) *t.Top += 7;
      }
      toolbar::WriteDockLayout(Ini, b, l);
    }
  }
  void Restore(bool B) {
    for (int p = 0; p < 4; ++p) Panels[size_t(p)]->LoadToolBarsPosition(&Ini, (B ? u"B" : u"A") + IntToStr(p));
  }
  std::unique_ptr<TForm> Form;
  ~OwnDocks() {
    std::error_code ec;
    std::filesystem::remove(Path, ec);
  }
  std::vector<toolbar::TAdvDockPanel*> Panels;
  std::filesystem::path Path;
  TMemIniFile Ini;
};

QToolBar* NewQtToolBar(QMainWindow* W, int I, int Buttons) {
  auto* tb = new QToolBar(QString("ToolBar%1").arg(I), W);
  tb->setObjectName(QString("ToolBar%1").arg(I));
  for (int b = 0; b < Buttons; ++b) {
    auto* btn = new QToolButton(tb);
    btn->setText(QString::number(b));
    btn->setFixedSize(23, 22);
    tb->addWidget(btn);
  }
  return tb;
}

struct QtDocks {
  QtDocks() {
    EnsureGuiApplication();
    Window = std::make_unique<QMainWindow>();
    Window->resize(2400, 2400);
    const Qt::ToolBarArea areas[4] = {Qt::TopToolBarArea, Qt::BottomToolBarArea, Qt::LeftToolBarArea,
                                      Qt::RightToolBarArea};
    std::vector<QToolBar*> bars;
    for (int i = 0; i < kRestoreToolBars; ++i) {
      const Qt::ToolBarArea area = areas[i % 4];
      // Rows of five as in the dock panels.
      if (i >= 4 && (i / 4) % kPerRow == 0) Window->addToolBarBreak(area);
      QToolBar* tb = NewQtToolBar(Window.get(), i, kButtonsPerToolBar);
      Window->addToolBar(area, tb);
      bars.push_back(tb);
    }
    Window->show();
    QApplication::processEvents();
    StateA = Window->saveState();
    // State B: each area's toolbars in the reverse order.
    for (int i = kRestoreToolBars - 1; i >= 0; --i) {
      QToolBar* tb = bars[size_t(i)];
      Window->addToolBar(Window->toolBarArea(tb), tb);
    }
    Window->layout()->activate();
    StateB = Window->saveState();
  }
  void Restore(bool B) {
    Window->restoreState(B ? StateB : StateA);
    Window->layout()->activate();
  }
  std::unique_ptr<QMainWindow> Window;
  QByteArray StateA, StateB;
};

void BM_RestoreLayoutOwn(benchmark::State& state) {
  OwnDocks docks;
  // Layout B really moves the toolbars, and both leave sound rows.
  const Integer before = docks.Panels[0]->ZadEdevAzis(0)->Row();
  docks.Restore(true);
  const Integer after = docks.Panels[0]->ZadEdevAzis(0)->Row();
  for (auto* p : docks.Panels)
    if (p->CheckLayout() != u"" || before == after) {
      state.SkipWithError("the stored layouts are not applied soundly");
      return;
    }
  bool b = false;
  for (auto _ : state) {
    b = !b;
    docks.Restore(b);
  }
  state.counters["toolbars"] = kRestoreToolBars;
}
BENCHMARK(BM_RestoreLayoutOwn)->Unit(benchmark::kMillisecond);

void BM_RestoreLayoutQt(benchmark::State& state) {
  QtDocks docks;
  bool b = false;
  for (auto _ : state) {
    b = !b;
    docks.Restore(b);
  }
  state.counters["toolbars"] = kRestoreToolBars;
}
BENCHMARK(BM_RestoreLayoutQt)->Unit(benchmark::kMillisecond);

// N toolbars of 5 buttons in one top panel, five to a row; the last toolbar
// of the first row is dragged to the last row and back, one move each.
struct OwnDrag {
  explicit OwnDrag(int N) {
    EnsureGuiApplication();
    InitApplication();
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 1400, 1200);
    Panel = new toolbar::TAdvDockPanel(Form.get());
    Panel->SetParent(Form.get());
    Panel->SetAlign(toolbar::daTop);
    for (int i = 0; i < N; ++i) {
      toolbar::TZadEdevAzi* tb = NewToolBar(Form.get(), Panel, u"T" + IntToStr(i), 5);
      Bars.push_back(tb);
    }
    Form->Show();
    Application->ProcessMessages();
    // Five to a row: each toolbar moved to its row and place as a drag would.
    for (int i = 0; i < N; ++i) {
      toolbar::TZadEdevAzi* tb = Bars[size_t(i)];
      tb->SetTop((i / kPerRow) * (tb->Height() + 2) + 1);
      tb->SetLeft((i % kPerRow) * (tb->Width() + 4) + 2);
    }
    Dragged = Bars[kPerRow - 1];
  }
  // One pointer move of the drag: what the drag loop does on a move of a
  // docked toolbar (along the row, then across rows).
  void Move(bool Down) {
    const Integer step = Dragged->Height() + 2;
    const Integer y = Down ? Panel->Height() - step / 2 : 1;
    Dragged->SetLeft(Down ? 300 : 200);
    Dragged->SetTop(y);
  }
  std::unique_ptr<TForm> Form;
  toolbar::TAdvDockPanel* Panel = nullptr;
  std::vector<toolbar::TZadEdevAzi*> Bars;
  toolbar::TZadEdevAzi* Dragged = nullptr;
};

void BM_DragMoveOwn(benchmark::State& state) {
  OwnDrag drag(int(state.range(0)));
  const Integer row0 = drag.Dragged->Row();
  drag.Move(true);
  const Integer rowDown = drag.Dragged->Row();
  drag.Move(false);
  if (rowDown == row0 || drag.Dragged->Row() != row0 || drag.Panel->CheckLayout() != u"") {
    state.SkipWithError("the dragged toolbar does not change rows");
    return;
  }
  bool down = false;
  for (auto _ : state) {
    down = !down;
    drag.Move(down);
  }
  state.counters["rows"] = drag.Panel->RowCount();
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DragMoveOwn)->Arg(25)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond)->Complexity();

struct QtDrag {
  explicit QtDrag(int N) {
    EnsureGuiApplication();
    Window = std::make_unique<QMainWindow>();
    Window->resize(1400, 1200);
    for (int i = 0; i < N; ++i) {
      if (i > 0 && i % kPerRow == 0) Window->addToolBarBreak(Qt::TopToolBarArea);
      QToolBar* tb = NewQtToolBar(Window.get(), i, 5);
      Window->addToolBar(Qt::TopToolBarArea, tb);
      Bars.push_back(tb);
    }
    Window->show();
    QApplication::processEvents();
    Dragged = Bars[kPerRow - 1];
    First = Bars[0];
    Last = Bars[size_t(N - 1)];
  }
  void Move(bool Down) {
    Window->insertToolBar(Down ? Last : First, Dragged);
    Window->layout()->activate();
  }
  std::unique_ptr<QMainWindow> Window;
  std::vector<QToolBar*> Bars;
  QToolBar *Dragged = nullptr, *First = nullptr, *Last = nullptr;
};

void BM_DragMoveQt(benchmark::State& state) {
  QtDrag drag(int(state.range(0)));
  bool down = false;
  for (auto _ : state) {
    down = !down;
    drag.Move(down);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DragMoveQt)->Arg(25)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond)->Complexity();

}  // namespace
