#pragma once
// A dock panel's stored layout as checked records: read from an INI file or
// registry section field by field, so that a value that cannot be right is
// dropped on its own (its toolbar keeps its default for that field) and
// nothing is allocated by a stored number; and written back in the same
// form. The keys: "ToolBarCount", "RowCount", "Name"n, and per toolbar name
// N: N".Row", N".Left", N".Top", N".Width", N".Height", N".Visible".
#include <optional>
#include <vector>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Types.h"

namespace toolbar {

// No more toolbar entries are read than this, whatever "ToolBarCount" says.
constexpr Integer MaxStoredToolBars = 4096;
// Positions beyond +-this, and sizes beyond it or negative, are not believed.
constexpr Integer MaxStoredCoordinate = 32767;

struct TStoredToolBar {
  String Name;
  // The stored row, -1 when absent or negative; may lie beyond the rows
  // (a hidden toolbar remembers a row that went).
  Integer Row = -1;
  std::optional<Integer> Left, Top, Width, Height;
  std::optional<bool> Visible;
  friend bool operator==(const TStoredToolBar&, const TStoredToolBar&) = default;
};

struct TStoredDockLayout {
  // Entries in stored order; only those whose "Name"n key is present and
  // not empty. Empty: nothing stored (or "ToolBarCount" not positive).
  std::vector<TStoredToolBar> ToolBars;
  // The stored row count, absent when missing, negative or more than the
  // entries read (a valid layout never has an empty row).
  std::optional<Integer> RowCount;
  friend bool operator==(const TStoredDockLayout&, const TStoredDockLayout&) = default;
};

TStoredDockLayout ReadDockLayout(TCustomIniFile& Ini, const String& Section);
// Writes every entry (Row, Left, Top, Width, Height and Visible with their
// current values; absent ones are not written).
void WriteDockLayout(TCustomIniFile& Ini, const String& Section, const TStoredDockLayout& Layout);

}  // namespace toolbar
