// Fuzz target: stored dock-panel layouts. Any section text is read into
// checked records (bounded whatever its numbers say), the records placed in
// the rows of a panel, whose invariants must then hold; records with plain
// names write and read back to the same records. Nothing may crash, leak,
// allocate by a stored number or run without bound.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Strings.h"
#include "toolbar/DockLayout.h"
#include "toolbar/DockRows.h"

using namespace toolbar;

namespace {

bool PlainName(const String& Name) {
  for (const char16_t c : Name)
    if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_')) return false;
  return !Name.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Bytes as Latin-1 characters: names, digits and signs are what matter.
  String text(u"[Dock]\n");
  for (std::size_t i = 0; i < size; ++i) text.push_back(char16_t(data[i]));
  TStringList lines;
  lines.SetText(text);
  TMemIniFile ini(u"");
  ini.SetStrings(&lines);

  const TStoredDockLayout layout = ReadDockLayout(ini, u"Dock");
  if (layout.ToolBars.size() > std::size_t(MaxStoredToolBars)) __builtin_trap();
  if (layout.RowCount && (*layout.RowCount < 0 || *layout.RowCount > Integer(layout.ToolBars.size()))) __builtin_trap();
  bool plain = true;
  for (const TStoredToolBar& t : layout.ToolBars) {
    if (t.Width && (*t.Width < 0 || *t.Width > MaxStoredCoordinate)) __builtin_trap();
    if (t.Left && (*t.Left < -MaxStoredCoordinate || *t.Left > MaxStoredCoordinate)) __builtin_trap();
    plain = plain && PlainName(t.Name);
  }
  if (plain) {
    TMemIniFile again(u"");
    WriteDockLayout(again, u"Dock", layout);
    if (!(ReadDockLayout(again, u"Dock") == layout)) __builtin_trap();
  }

  // Placed as a panel places them: each name once, in its stored row when
  // that row exists, else in a row of its own.
  TDockHostModel host(daTop, TRect{0, 0, 500, 3});
  TRowCollection rows(&host);
  std::vector<std::unique_ptr<TDockBarModel>> bars;
  std::vector<IDockBar*> all;
  std::vector<TDockBarModel*> unplaced;
  const Integer r = layout.RowCount.value_or(0);
  for (Integer i = 0; i < r; ++i) rows.Add();
  for (const TStoredToolBar& t : layout.ToolBars) {
    bool seen = false;
    for (std::size_t k = 0; k < bars.size() && !seen; ++k) seen = SameText(layout.ToolBars[k].Name, t.Name);
    if (seen) continue;
    const Integer w = t.Width.value_or(60), h = t.Height.value_or(26), l = t.Left.value_or(0), top = t.Top.value_or(0);
    bars.push_back(std::make_unique<TDockBarModel>(TRect{l, top, l + w, top + h}, 20, std::max(20, w)));
    TDockBarModel* b = bars.back().get();
    all.push_back(b);
    b->Visible = t.Visible.value_or(true);
    if (!b->Visible) continue;
    if (t.Row >= 0 && t.Row < r && rows.Items(t.Row)->AppendToolBar(b))
      b->Row = t.Row;
    else
      unplaced.push_back(b);
  }
  rows.DeleteEmptyRows();
  for (TDockBarModel* b : unplaced) rows.Add()->AddToolBar(b);
  rows.UpdateRowRects();
  if (!CheckDockRows(rows, all).empty()) __builtin_trap();
  return 0;
}
