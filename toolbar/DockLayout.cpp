#include "toolbar/DockLayout.h"

#include <algorithm>
#include <limits>

#include "platform/rtl/StrUtils.h"

namespace toolbar {

namespace {

// Stands for "absent or not a number": no believable value has it.
constexpr Integer NoValue = std::numeric_limits<Integer>::min();

std::optional<Integer> ReadRange(TCustomIniFile& Ini, const String& Section, const String& Key, Integer Low,
                                 Integer High) {
  const Integer v = Ini.ReadInteger(Section, Key, NoValue);
  if (v == NoValue || v < Low || v > High) return std::nullopt;
  return v;
}

}  // namespace

TStoredDockLayout ReadDockLayout(TCustomIniFile& Ini, const String& Section) {
  TStoredDockLayout layout;
  const Integer stored = Ini.ReadInteger(Section, u"ToolBarCount", 0);
  if (stored <= 0) return layout;
  const Integer n = std::min(stored, MaxStoredToolBars);
  for (Integer i = 1; i <= n; ++i) {
    TStoredToolBar t;
    t.Name = Ini.ReadString(Section, u"Name" + IntToStr(i), u"");
    if (t.Name.empty()) continue;
    const Integer row = Ini.ReadInteger(Section, t.Name + u".Row", -1);
    t.Row = row >= 0 && row < MaxStoredToolBars ? row : -1;
    t.Left = ReadRange(Ini, Section, t.Name + u".Left", -MaxStoredCoordinate, MaxStoredCoordinate);
    t.Top = ReadRange(Ini, Section, t.Name + u".Top", -MaxStoredCoordinate, MaxStoredCoordinate);
    t.Width = ReadRange(Ini, Section, t.Name + u".Width", 0, MaxStoredCoordinate);
    t.Height = ReadRange(Ini, Section, t.Name + u".Height", 0, MaxStoredCoordinate);
    if (const std::optional<Integer> v = ReadRange(Ini, Section, t.Name + u".Visible", 0, 1)) t.Visible = *v == 1;
    layout.ToolBars.push_back(std::move(t));
  }
  // Without entries there is nothing to place: no row count either.
  if (!layout.ToolBars.empty())
    layout.RowCount = ReadRange(Ini, Section, u"RowCount", 0, static_cast<Integer>(layout.ToolBars.size()));
  return layout;
}

void WriteDockLayout(TCustomIniFile& Ini, const String& Section, const TStoredDockLayout& Layout) {
  Ini.WriteInteger(Section, u"ToolBarCount", static_cast<Integer>(Layout.ToolBars.size()));
  if (Layout.RowCount) Ini.WriteInteger(Section, u"RowCount", *Layout.RowCount);
  Integer n = 1;
  for (const TStoredToolBar& t : Layout.ToolBars) {
    Ini.WriteString(Section, u"Name" + IntToStr(n++), t.Name);
    Ini.WriteInteger(Section, t.Name + u".Row", t.Row);
    if (t.Left) Ini.WriteInteger(Section, t.Name + u".Left", *t.Left);
    if (t.Top) Ini.WriteInteger(Section, t.Name + u".Top", *t.Top);
    if (t.Width) Ini.WriteInteger(Section, t.Name + u".Width", *t.Width);
    if (t.Height) Ini.WriteInteger(Section, t.Name + u".Height", *t.Height);
    if (t.Visible) Ini.WriteInteger(Section, t.Name + u".Visible", *t.Visible ? 1 : 0);
  }
}

}  // namespace toolbar
