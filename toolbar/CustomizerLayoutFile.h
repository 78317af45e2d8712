#pragma once
// The customizer's layout file: one INI section per layout, "Name<i>" keys per
// item with ".ClassName", ".CommandID", ".ImageIndex", ... beside them. The
// file is stored by the user and read back on every start, so it is hostile
// input: the reader bounds the item count, drops items without a usable name
// or kind and drops a name met twice, before anything touches a toolbar. It
// depends on the run-time library only, so the fuzz target can take it alone.
#include <optional>
#include <vector>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Strings.h"

namespace toolbar {

// More items than any toolbar holds; a larger stored count is cut to it so a
// forged count cannot make a load loop for hours.
constexpr Integer MaxLayoutItems = 1024;

enum class TLayoutItemKind { Button, Separator, GlowButton, Other };

// The kind's stored text ("ZADEDEVAZIBUTTON", ..., "-1" for Other).
String LayoutKindText(TLayoutItemKind Kind);

struct TLayoutItem {
  String Name;
  TLayoutItemKind Kind = TLayoutItemKind::Other;
  // Each attribute is present only when its key was in the file (or is to be written).
  std::optional<Integer> CommandID;
  std::optional<Integer> ImageIndex;
  std::optional<bool> ForceImageIndex;
  std::optional<bool> Visible;
  std::optional<bool> ShowCaption;
  std::optional<String> Caption;
  std::optional<String> Hint;
  bool operator==(const TLayoutItem&) const = default;
};

struct TLayoutSection {
  std::optional<String> Caption;        // "VOVCaption"
  std::optional<Integer> GlyphPosition; // "GlyphPosition"
  std::optional<Integer> LargeIcon;     // "LargeIcon"
  // "ToolBarItemCount"; absent (or negative) when the file has no usable count.
  std::optional<Integer> Count;
  // The usable items, in file order (fewer than Count when some were dropped).
  std::vector<TLayoutItem> Items;
  bool operator==(const TLayoutSection&) const = default;
};

// True for a component name a control can take: a letter or '_' first, then
// letters, digits and '_', at most 255 characters.
bool IsLayoutName(const String& Name);

// Reads Section. Items are read for i below min(count, MaxLayoutItems); an
// item is dropped when its kind is missing or unknown, its name is not a
// component name, or an earlier item had the same name (compared without
// regard to case). ".ShowCaption" counts as set only for the value 1, the
// other Booleans for any non-zero integer.
TLayoutSection ReadLayoutSection(TCustomIniFile& Ini, const String& Section);

// Writes Section in key order: section keys, then item by item. Only present
// values are written; "ToolBarItemCount" is the number of items. Item keys
// of positions at or beyond that number left by an earlier, longer layout are
// removed, so no stale item lingers behind the count.
void WriteLayoutSection(TCustomIniFile& Ini, const String& Section, const TLayoutSection& Layout);

}  // namespace toolbar
