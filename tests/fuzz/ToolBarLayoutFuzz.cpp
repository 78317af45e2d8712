// Fuzz target: stored toolbar layouts. The input is the INI file a dock
// panel and its toolbars read their places from (the panel's keys and the
// toolbars' own floating keys). Whatever it holds, the panel keeps its
// invariants and every floating toolbar stands on the monitor's work area
// with its caption; nothing may crash, leak or run without bound.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "platform/rtl/StrUtils.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Window.h"
#include "platform/vcl/Monitors.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/FloatingWindow.h"

namespace {

std::string LayoutPath() {
  static const std::string path = [] {
    char dir[] = "/tmp/ryx-toolbar-layout-XXXXXX";
    const char* made = mkdtemp(dir);
    if (made == nullptr) std::abort();
    return std::string(made) + "/layout.ini";
  }();
  return path;
}

void Use(toolbar::TPersistence* P, const String& Section) {
  const std::string path = LayoutPath();
  P->SetLocation(toolbar::plIniFile);
  P->SetKey(String(path.begin(), path.end()));
  P->SetSection(Section);
  P->SetEnabled(true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = [] {
    EnsureGuiApplication();
    InitApplication();
    return true;
  }();
  (void)ready;
  std::ofstream(LayoutPath(), std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                       std::streamsize(size));
  auto form = std::make_unique<TForm>(nullptr);
  form->AfterConstruction();
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 600, 400);
  auto* panel = new toolbar::TAdvDockPanel(form.get());
  panel->SetName(u"Dock");
  panel->SetParent(form.get());
  Use(panel->Persistence(), u"Dock");
  toolbar::TZadEdevAzi* bars[3];
  for (int i = 0; i < 3; ++i) {
    auto* tb = new toolbar::TZadEdevAzi(form.get());
    tb->SetName(u"ToolBar" + IntToStr(i + 1));
    tb->SetParent(panel);
    for (int k = 0; k < 3; ++k) {
      auto* c = new TPanel(form.get());
      c->SetName(tb->Name() + u"Button" + IntToStr(k + 1));
      c->SetBounds(0, 0, 22, 22);
      c->SetParent(tb);
    }
    Use(tb->Persistence(), u"UnDockedZadEdevAzis");
    bars[i] = tb;
  }
  form->Show();
  panel->LoadToolBarsPosition();
  if (!panel->CheckLayout().empty()) __builtin_trap();
  for (toolbar::TZadEdevAzi* tb : bars) {
    if (tb->GetToolBarState() != toolbar::tsFloating) continue;
    toolbar::TFloatingWindow* w = tb->FloatingWindow();
    if (w == nullptr || w->Width() <= 0 || w->Height() <= 0) __builtin_trap();
    const TRect r = w->BoundsRect();
    if (MonitorFromPoint(TPoint{r.Left + r.Width() / 2, r.Top}, MONITOR_DEFAULTTONULL) == nullptr) __builtin_trap();
    if (tb->FloatingRows() < 1 || tb->FloatingRows() > tb->GetMaxFloatingRows()) __builtin_trap();
  }
  // Nothing is saved: the next input starts from its own file.
  panel->Persistence()->SetEnabled(false);
  for (toolbar::TZadEdevAzi* tb : bars) tb->Persistence()->SetEnabled(false);
  form.reset();
  return 0;
}
