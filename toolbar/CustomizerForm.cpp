#include "toolbar/CustomizerForm.h"

#include <set>

#include "controls/AdvGlowButton.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/ImgList.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/AdvToolBarControl.h"
#include "toolbar/ZadEdevAziCustomizer.h"

namespace toolbar {

TCustomizerController::TCustomizerController(TZadEdevAziCustomizer* Customizer) : FCustomizer(Customizer) {}

Integer TCustomizerController::IconCount() const {
  TZadEdevAzi* tb = FCustomizer->ZadEdevAzi();
  return (tb != nullptr && tb->Images() != nullptr ? tb->Images()->Count() : 0) + 1;
}

void TCustomizerController::LoadComponents() {
  TZadEdevAzi* tb = FCustomizer->ZadEdevAzi();
  if (tb == nullptr) return;
  FItems.clear();
  bool firstButton = true;
  GlyphPosition = 0;
  for (Integer i = 0; i < tb->ToolBarControlCount(); ++i) {
    TControl* c = tb->GetToolBarControls(i);
    TCustomizerEntry e;
    e.Prop = std::make_unique<TATBItemProp>();
    TATBItemProp& p = *e.Prop;
    p.VOVItem = c;
    if (auto* b = dynamic_cast<TZadEdevAziButton*>(c)) {
      p.CommandID = b->CommandID();
      p.CustomizerCreated = b->FCustomizerCreated;
      p.Caption = b->Caption();
      p.Hint = b->Hint();
      p.Visible = b->Visible();
      p.ImageIndex = b->ImageIndex();
      p.ForceImageIndex = b->ForceImageIndex();
      p.ShowCaption = b->ShowCaption();
      e.Text = b->Caption();
      if (firstButton) GlyphPosition = static_cast<Integer>(b->GlyphPosition());
      firstButton = false;
    } else if (dynamic_cast<TZadEdevAziSeparator*>(c) != nullptr) {
      e.Text = u"Separator";
    } else if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(c)) {
      p.CommandID = g->FCommandID;
      p.CustomizerCreated = g->FCustomizerCreated;
      p.Caption = g->Caption();
      p.Hint = g->Hint();
      p.Visible = g->Visible();
      p.ImageIndex = g->ImageIndex();
      p.ShowCaption = g->ShowCaption();
      e.Text = g->Caption();
    } else {
      e.Prop.reset();
      e.Text = c->Name();
    }
    FItems.push_back(std::move(e));
  }
  FCommandTexts.clear();
  for (Integer i = 0; i < FCustomizer->Commands()->Count(); ++i)
    FCommandTexts.push_back(FCustomizer->Commands()->Items(i)->Caption());
  ToolBarCaption = tb->Caption();
  LargeIcon = FCustomizer->LargeImages() != nullptr && tb->Images() == FCustomizer->LargeImages();
  const TDialogSettings* ds = FCustomizer->DialogSettings();
  CaptionShown = ds->EditCaption;
  GlyphPositionShown = ds->EditGlyphPosition;
  LargeIconShown = ds->LargeIcon && FCustomizer->LargeImages() != nullptr;
  if (!FCommandTexts.empty()) {
    CommandIndex = 0;
    LstBxCommandClick();
  }
  ItemIndex = FItems.empty() ? -1 : 0;
  const TButtonProperties* bp = FCustomizer->ButtonProperties();
  FCanEditBtn = bp->Caption() || bp->Glyph() || bp->Hint() || bp->Visible() || bp->ShowCaption();
  FLoading = false;
}

TCustomizerButtonStates TCustomizerController::UpdateButtons() const {
  TCustomizerButtonStates s;
  const Integer n = static_cast<Integer>(FItems.size());
  const bool sel = ItemIndex >= 0 && ItemIndex < n;
  const bool reorder = FCustomizer->Options()->ReOrder();
  if (sel && FCanEditBtn) {
    const TATBItemProp* p = FItems[static_cast<size_t>(ItemIndex)].Prop.get();
    s.Edit = p != nullptr && (dynamic_cast<TZadEdevAziButton*>(p->VOVItem) != nullptr ||
                              dynamic_cast<TAdvCustomGlowButton*>(p->VOVItem) != nullptr ||
                              (p->VOVItem == nullptr && (p->IsVOVButton || p->IsGlowButton)));
  }
  s.Top = s.Up = sel && ItemIndex > 0 && reorder;
  s.Down = s.Bottom = sel && ItemIndex < n - 1 && reorder;
  s.Add = CommandIndex >= 0 && CommandIndex < static_cast<Integer>(FCommandTexts.size());
  s.Delete = sel;
  s.Clear = n > 0;
  return s;
}

void TCustomizerController::TopButtonClick() {
  if (FItems.empty() || ItemIndex < 0 || ItemIndex >= static_cast<Integer>(FItems.size())) return;
  auto e = std::move(FItems[static_cast<size_t>(ItemIndex)]);
  FItems.erase(FItems.begin() + ItemIndex);
  FItems.insert(FItems.begin(), std::move(e));
  ItemIndex = 0;
  Changed();
}

void TCustomizerController::BottomButtonClick() {
  if (FItems.empty() || ItemIndex < 0 || ItemIndex >= static_cast<Integer>(FItems.size())) return;
  auto e = std::move(FItems[static_cast<size_t>(ItemIndex)]);
  FItems.erase(FItems.begin() + ItemIndex);
  FItems.push_back(std::move(e));
  ItemIndex = static_cast<Integer>(FItems.size()) - 1;
  Changed();
}

void TCustomizerController::UpButtonClick() {
  const Integer n = static_cast<Integer>(FItems.size());
  if (n == 0) return;
  if (ItemIndex < 0 || ItemIndex >= n) {
    ItemIndex = n - 1;
    return;
  }
  const Integer other = ItemIndex == 0 ? n - 1 : ItemIndex - 1;
  std::swap(FItems[static_cast<size_t>(ItemIndex)], FItems[static_cast<size_t>(other)]);
  ItemIndex = other;
  Changed();
}

void TCustomizerController::DownButtonClick() {
  const Integer n = static_cast<Integer>(FItems.size());
  if (n == 0) return;
  if (ItemIndex < 0 || ItemIndex >= n) {
    ItemIndex = 0;
    return;
  }
  const Integer other = ItemIndex == n - 1 ? 0 : ItemIndex + 1;
  std::swap(FItems[static_cast<size_t>(ItemIndex)], FItems[static_cast<size_t>(other)]);
  ItemIndex = other;
  Changed();
}

void TCustomizerController::InsertEntry(TCustomizerEntry E) {
  const Integer n = static_cast<Integer>(FItems.size());
  const Integer at = ItemIndex >= 0 && ItemIndex < n - 1 ? ItemIndex + 1 : n;
  FItems.insert(FItems.begin() + at, std::move(E));
  ItemIndex = at;
  Changed();
}

void TCustomizerController::AddCommand(bool Glow) {
  if (CommandIndex < 0 || CommandIndex >= static_cast<Integer>(FCommandTexts.size())) return;
  TCustomizerEntry e;
  e.Text = FCommandTexts[static_cast<size_t>(CommandIndex)];
  e.Prop = std::make_unique<TATBItemProp>();
  e.Prop->IsVOVButton = !Glow;
  e.Prop->IsGlowButton = Glow;
  e.Prop->CustomizerCreated = true;
  e.Prop->ImageIndex = IconIndex;
  e.Prop->ForceImageIndex = true;
  e.Prop->Caption = e.Text;
  e.Prop->Hint = e.Text;
  e.Prop->Visible = true;
  e.Prop->CommandID = CommandIndex;
  InsertEntry(std::move(e));
}

void TCustomizerController::AddButtonClick() { AddCommand(false); }
void TCustomizerController::AddGlowButtonClick() { AddCommand(true); }

void TCustomizerController::SeparatorButtonClick() {
  TZadEdevAzi* tb = FCustomizer->ZadEdevAzi();
  // Taken: the toolbar's children and components, and the separators this
  // dialog already named, so two new separators never share a name.
  std::set<String> taken;
  if (tb != nullptr) {
    for (Integer i = 0; i < tb->ControlCount(); ++i) taken.insert(UpperCase(tb->Controls(i)->Name()));
    for (Integer i = 0; i < tb->ComponentCount(); ++i) taken.insert(UpperCase(tb->Components(i)->Name()));
  }
  for (const auto& e : FItems)
    if (e.Prop && e.Prop->VOVItem == nullptr && e.Prop->IsSeparator) taken.insert(UpperCase(e.Prop->Caption));
  String name;
  for (Integer n = 1;; ++n) {
    name = u"ZadEdevAziSeparator" + IntToStr(n);
    if (!taken.contains(UpperCase(name))) break;
  }
  TCustomizerEntry e;
  e.Text = u"Separator";
  e.Prop = std::make_unique<TATBItemProp>();
  e.Prop->IsSeparator = true;
  e.Prop->CustomizerCreated = true;
  e.Prop->Caption = name;
  InsertEntry(std::move(e));
}

void TCustomizerController::DeleteButtonClick() {
  const Integer n = static_cast<Integer>(FItems.size());
  // Nothing selected: nothing deleted and nothing to record.
  if (ItemIndex < 0 || ItemIndex >= n) return;
  FItems.erase(FItems.begin() + ItemIndex);
  if (ItemIndex >= n - 1) ItemIndex = n - 2;
  Changed();
}

void TCustomizerController::ClearButtonClick(const std::function<bool(const String&)>& Confirm) {
  if (!Confirm(u"Are you sure that you want to clear ToolBar?")) return;
  FItems.clear();
  ItemIndex = -1;
  Changed();
}

void TCustomizerController::LstBxCommandClick() {
  if (CommandIndex < 0 || CommandIndex >= static_cast<Integer>(FCommandTexts.size())) return;
  const Integer ii = FCustomizer->Commands()->Items(CommandIndex)->ItemIndex();
  const Integer k = ii >= 0 ? ii + 1 : IconCount();
  if (k - 1 >= 0 && k - 1 < IconCount()) IconIndex = k - 1;
}

void TCustomizerController::DropFromItems(Integer Target) {
  const Integer n = static_cast<Integer>(FItems.size());
  if (!FCustomizer->Options()->ReOrder()) return;
  if (ItemIndex < 0 || ItemIndex >= n || Target < 0 || Target >= n) return;
  auto e = std::move(FItems[static_cast<size_t>(ItemIndex)]);
  FItems.erase(FItems.begin() + ItemIndex);
  FItems.insert(FItems.begin() + Target, std::move(e));
  ItemIndex = Target;
  Changed();
}

namespace {

// A component name made from a command caption: other characters dropped.
String NameFromCaption(const String& Caption) {
  String r;
  for (char16_t c : Caption)
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_') r += c;
  if (r.empty() || (r[0] >= u'0' && r[0] <= u'9')) r = u"AdvGlowButton" + r;
  return r.substr(0, 200);
}

}  // namespace

TLayoutSection TCustomizerController::BuildLayout() const {
  TZadEdevAzi* tb = FCustomizer->ZadEdevAzi();
  const TButtonProperties* bp = FCustomizer->ButtonProperties();
  std::set<String> taken;
  for (const auto& e : FItems) {
    if (e.Prop && e.Prop->VOVItem != nullptr) taken.insert(UpperCase(e.Prop->VOVItem->Name()));
    if (e.Prop && e.Prop->VOVItem == nullptr && e.Prop->IsSeparator) taken.insert(UpperCase(e.Prop->Caption));
  }
  auto isFree = [&](const String& n) {
    return !taken.contains(UpperCase(n)) && (tb == nullptr || tb->FindComponent(n) == nullptr);
  };
  auto unique = [&](const String& Base, bool NumberFirst) {
    Integer k = 1;
    String n = NumberFirst ? Base + IntToStr(k) : Base;
    while (!isFree(n)) n = Base + IntToStr(++k);
    taken.insert(UpperCase(n));
    return n;
  };
  TLayoutSection L;
  if (CaptionShown) L.Caption = ToolBarCaption;
  if (GlyphPositionShown) L.GlyphPosition = GlyphPosition;
  if (LargeIconShown) L.LargeIcon = LargeIcon ? 1 : 0;
  for (const auto& e : FItems) {
    TLayoutItem it;
    const TATBItemProp* p = e.Prop.get();
    auto attrs = [&](bool WithCommand) {
      if (WithCommand) it.CommandID = p->CommandID;
      if (bp->Glyph()) {
        it.ImageIndex = p->ImageIndex;
        it.ForceImageIndex = p->ForceImageIndex;
      }
      if (bp->Visible()) it.Visible = p->Visible;
      if (bp->ShowCaption()) it.ShowCaption = p->ShowCaption;
      if (bp->Caption()) it.Caption = p->Caption;
      if (bp->Hint()) it.Hint = p->Hint;
    };
    if (p == nullptr) {
      it.Name = e.Text;
    } else if (p->VOVItem != nullptr) {
      it.Name = p->VOVItem->Name();
      if (dynamic_cast<TZadEdevAziButton*>(p->VOVItem) != nullptr) {
        it.Kind = TLayoutItemKind::Button;
        attrs(p->CustomizerCreated);
      } else if (dynamic_cast<TZadEdevAziSeparator*>(p->VOVItem) != nullptr) {
        it.Kind = TLayoutItemKind::Separator;
      } else if (dynamic_cast<TAdvCustomGlowButton*>(p->VOVItem) != nullptr) {
        it.Kind = TLayoutItemKind::GlowButton;
        attrs(p->CustomizerCreated);
      }
    } else if (p->IsVOVButton) {
      it.Name = unique(u"ZADEDEVAZIBUTTON", true);
      it.Kind = TLayoutItemKind::Button;
      attrs(true);
    } else if (p->IsGlowButton) {
      // Two glow buttons from one command get distinct names.
      it.Name = unique(NameFromCaption(e.Text), false);
      it.Kind = TLayoutItemKind::GlowButton;
      attrs(true);
    } else {
      it.Name = p->Caption;
      it.Kind = TLayoutItemKind::Separator;
    }
    L.Items.push_back(std::move(it));
  }
  return L;
}

String TCustomizerController::SaveLayout() {
  if (!FCustomizer->EnablePersistence() || FCustomizer->FileName().empty()) return String();
  try {
    TIniFile ini(FCustomizer->FileName());
    ini.EraseSection(FCustomizer->Name());
    WriteLayoutSection(ini, FCustomizer->Name(), BuildLayout());
  } catch (const Exception& e) {
    return e.Message();
  }
  return String();
}

}  // namespace toolbar
