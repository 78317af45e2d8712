// Fuzz target: the ribbon pager's stored state. The input is the INI file a
// pager reads "Minimized" and "ShowQATBelow" from when it loads. Whatever it
// holds, the pager ends in one of its states with the height that state
// gives, the state it saves reads back the same, and nothing may crash,
// leak or run without bound.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "platform/rtl/StrUtils.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "ribbon/AdvQuickAccessToolBar.h"
#include "ribbon/ZadEdevAziPager.h"

namespace {

std::string StatePath() {
  static const std::string path = [] {
    char dir[] = "/tmp/ryx-pager-state-XXXXXX";
    const char* made = mkdtemp(dir);
    if (made == nullptr) std::abort();
    return std::string(made) + "/state.ini";
  }();
  return path;
}

struct TLoaded {
  std::unique_ptr<TForm> Form;
  ribbon::TZadEdevAziPager* Pager = nullptr;
  Integer ExpandedHeight = 0;
};

// A form with a pager of two pages and a quick-access toolbar, loaded from the file.
TLoaded Load() {
  TLoaded l;
  l.Form = std::make_unique<TForm>(nullptr);
  l.Form->AfterConstruction();
  l.Form->SetBorderStyle(bsNone);
  l.Form->SetBounds(0, 0, 600, 300);
  auto* p = new ribbon::TZadEdevAziPager(l.Form.get());
  p->SetName(u"Pager");
  p->SetParent(l.Form.get());
  p->AddAdvPage(u"One");
  p->AddAdvPage(u"Two");
  p->SetActivePageIndex(0);
  auto* q = new ribbon::TAdvQuickAccessToolBar(l.Form.get());
  q->SetParent(p);
  l.ExpandedHeight = p->Height();
  const std::string path = StatePath();
  toolbar::TPersistence* ps = p->Persistence();
  ps->SetLocation(toolbar::plIniFile);
  ps->SetKey(String(path.begin(), path.end()));
  ps->SetSection(u"Ribbon");
  ps->SetEnabled(true);
  p->Loaded();
  l.Pager = p;
  return l;
}

void Check(const TLoaded& L) {
  ribbon::TZadEdevAziPager* p = L.Pager;
  const Integer below = p->ShowQATBelow() ? p->GetQATHeight() : 0;
  const Integer want = p->Expanded() ? L.ExpandedHeight + below : p->GetPageRect().Top + below;
  if (p->Height() != want) __builtin_trap();
  if (p->MinimizedRibbonWindow() != nullptr) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = [] {
    EnsureGuiApplication();
    InitApplication();
    return true;
  }();
  (void)ready;
  std::ofstream(StatePath(), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), std::streamsize(size));
  bool expanded = true, below = false;
  {
    TLoaded a = Load();
    Check(a);
    expanded = a.Pager->Expanded();
    below = a.Pager->ShowQATBelow();
    a.Form.reset();  // saves the state it ended in
  }
  // What was saved reads back the same.
  TLoaded b = Load();
  Check(b);
  if (b.Pager->Expanded() != expanded || b.Pager->ShowQATBelow() != below) __builtin_trap();
  b.Pager->Persistence()->SetEnabled(false);
  b.Form.reset();
  return 0;
}
