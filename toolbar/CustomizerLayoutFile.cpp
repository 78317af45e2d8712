#include "toolbar/CustomizerLayoutFile.h"

#include <set>

#include "platform/rtl/StrUtils.h"

namespace toolbar {

namespace {

const String kCaption = u"VOVCaption";
const String kGlyphPosition = u"GlyphPosition";
const String kLargeIcon = u"LargeIcon";
const String kCount = u"ToolBarItemCount";

String ItemKey(Integer i) { return u"Name" + IntToStr(i); }

std::optional<Integer> ReadOptInt(TCustomIniFile& Ini, const String& S, const String& K) {
  if (!Ini.ValueExists(S, K)) return std::nullopt;
  // A value that is no integer is as good as absent.
  constexpr Integer kNone = -2147483647 - 1;
  const Integer v = Ini.ReadInteger(S, K, kNone);
  if (v == kNone) return std::nullopt;
  return v;
}

std::optional<String> ReadOptString(TCustomIniFile& Ini, const String& S, const String& K) {
  if (!Ini.ValueExists(S, K)) return std::nullopt;
  return Ini.ReadString(S, K, String());
}

bool ParseKind(const String& Text, TLayoutItemKind& Kind) {
  const String u = UpperCase(Text);
  if (u == u"ZADEDEVAZIBUTTON") Kind = TLayoutItemKind::Button;
  else if (u == u"ZADEDEVAZISEPARATOR") Kind = TLayoutItemKind::Separator;
  else if (u == u"ADVCUSTOMGLOWBUTTON") Kind = TLayoutItemKind::GlowButton;
  else if (u == u"-1") Kind = TLayoutItemKind::Other;
  else return false;
  return true;
}

// The item position of a key "Name<digits>[.suffix]", or -1 for other keys.
Integer ItemPositionOfKey(const String& Key) {
  if (Key.size() < 5 || UpperCase(StringView(Key).substr(0, 4)) != u"NAME") return -1;
  Int64 v = 0;
  size_t i = 4;
  for (; i < Key.size() && Key[i] >= u'0' && Key[i] <= u'9'; ++i) {
    v = v * 10 + (Key[i] - u'0');
    if (v > 0x7FFFFFFF) return -1;
  }
  if (i == 4 || (i < Key.size() && Key[i] != u'.')) return -1;
  return static_cast<Integer>(v);
}

}  // namespace

String LayoutKindText(TLayoutItemKind Kind) {
  switch (Kind) {
    case TLayoutItemKind::Button: return u"ZADEDEVAZIBUTTON";
    case TLayoutItemKind::Separator: return u"ZADEDEVAZISEPARATOR";
    case TLayoutItemKind::GlowButton: return u"ADVCUSTOMGLOWBUTTON";
    case TLayoutItemKind::Other: break;
  }
  return u"-1";
}

bool IsLayoutName(const String& Name) {
  if (Name.empty() || Name.size() > 255) return false;
  auto alpha = [](char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; };
  if (!alpha(Name[0])) return false;
  for (char16_t c : Name)
    if (!alpha(c) && !(c >= u'0' && c <= u'9')) return false;
  return true;
}

TLayoutSection ReadLayoutSection(TCustomIniFile& Ini, const String& Section) {
  TLayoutSection L;
  L.Caption = ReadOptString(Ini, Section, kCaption);
  L.GlyphPosition = ReadOptInt(Ini, Section, kGlyphPosition);
  L.LargeIcon = ReadOptInt(Ini, Section, kLargeIcon);
  const auto n = ReadOptInt(Ini, Section, kCount);
  if (!n || *n < 0) return L;
  L.Count = *n;
  const Integer bound = std::min(*n, MaxLayoutItems);
  std::set<String> seen;
  for (Integer i = 0; i < bound; ++i) {
    const String key = ItemKey(i);
    TLayoutItem it;
    it.Name = Ini.ReadString(Section, key, String());
    if (!ParseKind(Ini.ReadString(Section, key + u".ClassName", String()), it.Kind)) continue;
    if (!IsLayoutName(it.Name) || !seen.insert(UpperCase(it.Name)).second) continue;
    if (it.Kind != TLayoutItemKind::Button && it.Kind != TLayoutItemKind::GlowButton) {
      L.Items.push_back(std::move(it));
      continue;
    }
    it.CommandID = ReadOptInt(Ini, Section, key + u".CommandID");
    it.ImageIndex = ReadOptInt(Ini, Section, key + u".ImageIndex");
    if (auto v = ReadOptInt(Ini, Section, key + u".ForceImageIndex")) it.ForceImageIndex = *v != 0;
    if (auto v = ReadOptInt(Ini, Section, key + u".Visible")) it.Visible = *v != 0;
    if (auto v = ReadOptInt(Ini, Section, key + u".ShowCaption")) it.ShowCaption = *v == 1;
    it.Caption = ReadOptString(Ini, Section, key + u".Caption");
    it.Hint = ReadOptString(Ini, Section, key + u".Hint");
    L.Items.push_back(std::move(it));
  }
  return L;
}

void WriteLayoutSection(TCustomIniFile& Ini, const String& Section, const TLayoutSection& Layout) {
  if (Layout.Caption) Ini.WriteString(Section, kCaption, *Layout.Caption);
  if (Layout.GlyphPosition) Ini.WriteInteger(Section, kGlyphPosition, *Layout.GlyphPosition);
  if (Layout.LargeIcon) Ini.WriteInteger(Section, kLargeIcon, *Layout.LargeIcon);
  const Integer n = static_cast<Integer>(Layout.Items.size());
  Ini.WriteInteger(Section, kCount, n);
  for (Integer i = 0; i < n; ++i) {
    const TLayoutItem& it = Layout.Items[static_cast<size_t>(i)];
    const String key = ItemKey(i);
    Ini.WriteString(Section, key, it.Name);
    Ini.WriteString(Section, key + u".ClassName", LayoutKindText(it.Kind));
    if (it.CommandID) Ini.WriteInteger(Section, key + u".CommandID", *it.CommandID);
    if (it.ImageIndex) Ini.WriteInteger(Section, key + u".ImageIndex", *it.ImageIndex);
    if (it.ForceImageIndex) Ini.WriteBool(Section, key + u".ForceImageIndex", *it.ForceImageIndex);
    if (it.Visible) Ini.WriteBool(Section, key + u".Visible", *it.Visible);
    if (it.ShowCaption) Ini.WriteBool(Section, key + u".ShowCaption", *it.ShowCaption);
    if (it.Caption) Ini.WriteString(Section, key + u".Caption", *it.Caption);
    if (it.Hint) Ini.WriteString(Section, key + u".Hint", *it.Hint);
  }
  // Keys of an earlier layout: stale positions, and attributes this layout
  // does not carry at a position it does (they would be read back as its own).
  TStringList keys;
  Ini.ReadSection(Section, &keys);
  for (Integer k = 0; k < keys.Count(); ++k) {
    const String key = keys.Strings(k);
    const Integer pos = ItemPositionOfKey(key);
    if (pos < 0) continue;
    if (pos >= n) {
      Ini.DeleteKey(Section, key);
      continue;
    }
    const TLayoutItem& it = Layout.Items[static_cast<size_t>(pos)];
    const String suffix = UpperCase(StringView(key).substr(ItemKey(pos).size()));
    const bool keep = suffix.empty() || suffix == u".CLASSNAME" || (suffix == u".COMMANDID" && it.CommandID) ||
                      (suffix == u".IMAGEINDEX" && it.ImageIndex) ||
                      (suffix == u".FORCEIMAGEINDEX" && it.ForceImageIndex) || (suffix == u".VISIBLE" && it.Visible) ||
                      (suffix == u".SHOWCAPTION" && it.ShowCaption) || (suffix == u".CAPTION" && it.Caption) ||
                      (suffix == u".HINT" && it.Hint);
    if (!keep) Ini.DeleteKey(Section, key);
  }
}

}  // namespace toolbar
