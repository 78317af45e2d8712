#include "toolbar/CustomizerForm.h"

#include <algorithm>
#include <cstdlib>
#include <set>

#include "controls/AdvGlowButton.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ImgList.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/AdvToolBarControl.h"
#include "toolbar/CusBtnForm.h"
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

// ---------------------------------------------------------------------------
// The dialog's window

namespace toolbar {

namespace {

TCustomizerForm* GActiveForm = nullptr;

// The class library's drag threshold.
constexpr Integer DragThreshold = 5;

}  // namespace

TCustomizerForm* ActiveCustomizerForm() { return GActiveForm; }
void customizer_detail::SetActiveCustomizerForm(TCustomizerForm* Form) { GActiveForm = Form; }

TCustomizerSideButton::TCustomizerSideButton(TComponent* AOwner, TSideGlyph Glyph)
    : TGraphicControl(AOwner), FGlyph(Glyph) {
  SetBounds(0, 0, 23, 22);
  SetShowHint(true);
}

void TCustomizerSideButton::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case CM_MOUSEENTER:
      FHot = true;
      Invalidate();
      break;
    case CM_MOUSELEAVE:
      FHot = false;
      Invalidate();
      break;
    case WM_LBUTTONDOWN:
      FDown = Enabled();
      Invalidate();
      break;
    case WM_LBUTTONUP:
      FDown = false;
      Invalidate();
      break;
    default: break;
  }
  TGraphicControl::Dispatch(M);
}

void TCustomizerSideButton::Paint() {
  TCanvas* c = Canvas();
  const TRect r = ClientRect();
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(r);
  if (Enabled() && (FHot || FDown)) {
    c->Pen()->SetColor(FDown ? clBtnShadow : clBtnHighlight);
    c->MoveTo(r.Left, r.Bottom - 1);
    c->LineTo(r.Left, r.Top);
    c->LineTo(r.Right - 1, r.Top);
    c->Pen()->SetColor(FDown ? clBtnHighlight : clBtnShadow);
    c->LineTo(r.Right - 1, r.Bottom - 1);
    c->LineTo(r.Left, r.Bottom - 1);
  }
  const TColor ink = Enabled() ? clBtnText : clGrayText;
  c->Pen()->SetColor(ink);
  c->Brush()->SetColor(ink);
  const Integer cx = r.Width() / 2 + (FDown ? 1 : 0), cy = r.Height() / 2 + (FDown ? 1 : 0);
  auto up = [&](Integer y) { c->Polygon({TPoint{cx - 4, y + 4}, TPoint{cx + 4, y + 4}, TPoint{cx, y}}); };
  auto down = [&](Integer y) { c->Polygon({TPoint{cx - 4, y}, TPoint{cx + 4, y}, TPoint{cx, y + 4}}); };
  auto bar = [&](Integer y) { c->FillRect(TRect{cx - 4, y, cx + 5, y + 2}); };
  switch (FGlyph) {
    case TSideGlyph::Top: bar(cy - 5); up(cy - 2); break;
    case TSideGlyph::Up: up(cy - 2); break;
    case TSideGlyph::Down: down(cy - 2); break;
    case TSideGlyph::Bottom: down(cy - 3); bar(cy + 3); break;
    case TSideGlyph::Add:
    case TSideGlyph::AddGlow:
      c->FillRect(TRect{cx - 4, cy - 1, cx + 5, cy + 1});
      c->FillRect(TRect{cx - 1, cy - 4, cx + 1, cy + 5});
      if (FGlyph == TSideGlyph::AddGlow) c->FrameRect(TRect{cx - 7, cy - 7, cx + 8, cy + 8});
      break;
    case TSideGlyph::Separator: c->FillRect(TRect{cx - 1, cy - 6, cx + 1, cy + 7}); break;
    case TSideGlyph::Delete:
    case TSideGlyph::Clear:
      for (Integer d = -4; d <= 4; ++d) {
        c->FillRect(TRect{cx + d, cy + d, cx + d + 2, cy + d + 1});
        c->FillRect(TRect{cx + d, cy - d, cx + d + 2, cy - d + 1});
      }
      if (FGlyph == TSideGlyph::Clear) c->FrameRect(TRect{cx - 7, cy - 7, cx + 8, cy + 8});
      break;
    case TSideGlyph::Edit:
      for (Integer d = -4; d <= 4; ++d) c->FillRect(TRect{cx - d - 1, cy + d, cx - d + 2, cy + d + 1});
      break;
  }
}

void TCustomizerListBox::WMLButtonDown(TMessage& M) {
  TListBox::WMLButtonDown(M);
  const TPoint p = PointFromLParam(M.LParam);
  FPressed = AutoDrag && Enabled() && ItemAtPos(p, true) >= 0;
  FDragging = false;
  FStart = p;
}

void TCustomizerListBox::WMMouseMove(TMessage& M) {
  if (!FPressed) {
    TListBox::WMMouseMove(M);
    return;
  }
  // The held button belongs to the drag: the list's own selection stays put.
  const TPoint p = PointFromLParam(M.LParam);
  if (!FDragging && (std::abs(p.X - FStart.X) >= DragThreshold || std::abs(p.Y - FStart.Y) >= DragThreshold))
    FDragging = true;
  if (FDragging) {
    const bool accepts = OnDragOverAt && OnDragOverAt(this, ClientToScreen(p));
    Screen->SetCursor(accepts ? crDrag : crNoDrop);
  }
}

void TCustomizerListBox::WMLButtonUp(TMessage& M) {
  const bool dropped = FDragging;
  FPressed = FDragging = false;
  if (dropped) Screen->SetCursor(crDefault);
  TListBox::WMLButtonUp(M);
  if (dropped && OnDropAt) OnDropAt(this, ClientToScreen(PointFromLParam(M.LParam)));
}

TCustomizerForm::TCustomizerForm(TComponent* AOwner, TZadEdevAziCustomizer* Customizer)
    : TForm(AOwner), FToolBarCustomizer(Customizer), FController(Customizer) {
  SetBorderStyle(bsToolWindow);
  SetBorderIcons({biSystemMenu});
  SetPosition(poDesigned);
  Font()->SetName(u"MS Sans Serif");
  Font()->SetHeight(-11);
  SetClientWidth(387);
  SetClientHeight(363);
  auto place = [](TControl* C, TWinControl* Parent, Integer L, Integer T, Integer W, Integer H) {
    C->SetParent(Parent);
    C->SetBounds(L, T, W, H);
  };
  auto label = [&](TWinControl* Parent, Integer L, Integer T) {
    auto* l = new TLabel(this);
    l->SetParent(Parent);
    l->SetLeft(L);
    l->SetTop(T);
    return l;
  };
  GroupBox1 = new TGroupBox(this);
  place(GroupBox1, this, 9, 3, 369, 253);
  LblToolbarItems = label(GroupBox1, 9, 10);
  LblCommands = label(GroupBox1, 201, 10);
  LstBxToolBarItems = new TCustomizerListBox(this);
  place(LstBxToolBarItems, GroupBox1, 7, 26, 162, 219);
  LstBxToolBarItems->AutoDrag = true;
  const TSideGlyph glyphs[] = {TSideGlyph::Top,       TSideGlyph::Up,     TSideGlyph::Down,   TSideGlyph::Bottom,
                               TSideGlyph::Add,       TSideGlyph::AddGlow, TSideGlyph::Separator,
                               TSideGlyph::Delete,    TSideGlyph::Clear,  TSideGlyph::Edit};
  TCustomizerSideButton** slots[] = {&TopButton,     &UpButton,        &DownButton,   &BottomButton, &AddButton,
                                     &AddGlowButton, &SeparatorButton, &DeleteButton, &ClearButton,  &BtnEdit};
  for (size_t i = 0; i < 10; ++i) {
    *slots[i] = new TCustomizerSideButton(this, glyphs[i]);
    place(*slots[i], GroupBox1, 173, 26 + 22 * Integer(i), 23, 22);
  }
  LstBxCommand = new TCustomizerListBox(this);
  place(LstBxCommand, GroupBox1, 199, 26, 162, 193);
  LstBxCommand->AutoDrag = true;
  CmBxIcon = new TComboBox(this);
  CmBxIcon->SetStyle(csDropDownList);
  place(CmBxIcon, GroupBox1, 199, 223, 162, 22);
  GroupBox2 = new TGroupBox(this);
  place(GroupBox2, this, 9, 258, 369, 65);
  LblCaption = label(GroupBox2, 7, 20);
  EdtCaption = new TEdit(this);
  place(EdtCaption, GroupBox2, 64, 16, 103, 21);
  LblGlphPos = label(GroupBox2, 200, 21);
  CmBxGlphPos = new TComboBox(this);
  place(CmBxGlphPos, GroupBox2, 301, 16, 60, 21);
  for (const char16_t* t : {u"Left", u"Top", u"Right", u"Bottom"}) CmBxGlphPos->Items()->Add(t);
  ChkLargeIcon = new TCheckBox(this);
  place(ChkLargeIcon, GroupBox2, 7, 43, 162, 16);
  BtnOk = new TButton(this);
  place(BtnOk, this, 122, 333, 75, 25);
  BtnOk->SetDefault(true);
  BtnCancel = new TButton(this);
  place(BtnCancel, this, 197, 333, 75, 25);
  BtnCancel->SetCancel(true);
  BtnCancel->SetModalResult(mrCancel);
  BtnReset = new TButton(this);
  place(BtnReset, this, 303, 334, 75, 24);
  BtnReset->SetModalResult(TZadEdevAziCustomizer::mrResetLayout);
  LblToolbarItems->SetFocusControl(LstBxToolBarItems);
  LblCommands->SetFocusControl(LstBxCommand);
  LblCaption->SetFocusControl(EdtCaption);
  LblGlphPos->SetFocusControl(CmBxGlphPos);
  // Tab order: OK, Cancel, the lower group, the lists, Reset.
  BtnOk->SetTabOrder(0);
  BtnCancel->SetTabOrder(1);
  GroupBox2->SetTabOrder(2);
  GroupBox1->SetTabOrder(3);
  BtnReset->SetTabOrder(4);
  LstBxCommand->SetTabOrder(0);
  LstBxToolBarItems->SetTabOrder(1);
  CmBxIcon->SetTabOrder(2);

  TopButton->OnClick = [this](TObject*) { TopButtonClick(); };
  UpButton->OnClick = [this](TObject*) { UpButtonClick(); };
  DownButton->OnClick = [this](TObject*) { DownButtonClick(); };
  BottomButton->OnClick = [this](TObject*) { BottomButtonClick(); };
  AddButton->OnClick = [this](TObject*) { AddButtonClick(); };
  AddGlowButton->OnClick = [this](TObject*) { AddGlowButtonClick(); };
  SeparatorButton->OnClick = [this](TObject*) { SeparatorButtonClick(); };
  DeleteButton->OnClick = [this](TObject*) { DeleteButtonClick(); };
  ClearButton->OnClick = [this](TObject*) { ClearButtonClick(); };
  BtnEdit->OnClick = [this](TObject*) { BtnEditClick(); };
  LstBxCommand->OnClick = [this](TObject*) { LstBxCommandClick(); };
  LstBxToolBarItems->OnClick = [this](TObject*) { LstBxToolBarItemsClick(); };
  LstBxToolBarItems->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) {
    LstBxToolBarItemsClick();
  };
  LstBxToolBarItems->OnDblClick = [this](TObject*) { LstBxToolBarItemsDblClick(); };
  for (TCustomizerListBox* l : {LstBxToolBarItems, LstBxCommand}) {
    l->OnDragOverAt = [this](TCustomizerListBox* S, TPoint P) { return DragOverAt(S, P); };
    l->OnDropAt = [this](TCustomizerListBox* S, TPoint P) { DropAt(S, P); };
  }
  CmBxIcon->OnChange = [this](TObject*) { FController.IconIndex = CmBxIcon->ItemIndex(); };
  EdtCaption->OnChange = [this](TObject*) { Changed(); };
  CmBxGlphPos->OnChange = [this](TObject*) { Changed(); };
  ChkLargeIcon->OnClick = [this](TObject*) { Changed(); };
  BtnOk->OnClick = [this](TObject*) { OkBitBtnClick(); };
}

TCustomizerForm::~TCustomizerForm() = default;

void TCustomizerForm::SetCaption(bool Value) {
  EdtCaption->SetVisible(Value);
  LblCaption->SetVisible(Value);
}

void TCustomizerForm::SetGlyphPosition(bool Value) {
  CmBxGlphPos->SetVisible(Value);
  LblGlphPos->SetVisible(Value);
}

void TCustomizerForm::Changed() {
  if (!FLoading) FController.Changed();
}

void TCustomizerForm::LoadComponents() {
  TZadEdevAzi* tb = FToolBarCustomizer->ZadEdevAzi();
  if (tb == nullptr) return;
  FLoading = true;
  FController.LoadComponents();
  LstBxCommand->Items()->Clear();
  for (const String& t : FController.CommandTexts()) LstBxCommand->Items()->Add(t);
  // The icon entries: one per toolbar image (shown by its number, as the
  // layer's boxes draw no pictures), then the no-image entry.
  CmBxIcon->Items()->Clear();
  const Integer images = FController.IconCount() - 1;
  for (Integer i = 0; i < images; ++i) CmBxIcon->Items()->Add(IntToStr(i));
  CmBxIcon->Items()->Add(FToolBarCustomizer->DialogSettings()->GlyphEditNoneIconCaption);
  const bool icons = images > 0 && FToolBarCustomizer->DialogSettings()->EditGlyphVisible;
  CmBxIcon->SetVisible(icons);
  LstBxCommand->SetHeight(icons ? 193 : 219);
  EdtCaption->SetText(FController.ToolBarCaption);
  CmBxGlphPos->SetItemIndex(FController.GlyphPosition);
  ChkLargeIcon->SetChecked(FController.LargeIcon);
  ShowItems();
  LstBxCommand->SetItemIndex(FController.CommandIndex);
  CmBxIcon->SetItemIndex(FController.IconIndex);
  ArrangeOptionsGroup();
  UpdateButtons();
  FLoading = false;
}

void TCustomizerForm::ArrangeOptionsGroup() {
  LblCaption->SetVisible(EdtCaption->Visible());
  LblGlphPos->SetVisible(CmBxGlphPos->Visible());
  if (ChkLargeIcon->Visible()) ChkLargeIcon->SetBounds(50, 43, ChkLargeIcon->Width(), ChkLargeIcon->Height());
  auto moveCheck = [&](Integer L, Integer T) {
    if (ChkLargeIcon->Visible()) ChkLargeIcon->SetBounds(L, T, ChkLargeIcon->Width(), ChkLargeIcon->Height());
  };
  if (!EdtCaption->Visible()) {
    if (CmBxGlphPos->Visible()) {
      LblGlphPos->SetLeft(6);
      CmBxGlphPos->SetLeft(LblGlphPos->Left() + LblGlphPos->Width() + 5);
      moveCheck(200, 19);
    } else {
      moveCheck(7, 16);
    }
  } else if (!CmBxGlphPos->Visible()) {
    moveCheck(200, 19);
  }
  EdtCaption->SetLeft(LblCaption->Left() + LblCaption->Width() + 5);
  LblGlphPos->SetLeft(CmBxGlphPos->Left() - 5 - LblGlphPos->Width());
  const bool group = EdtCaption->Visible() || CmBxGlphPos->Visible() || ChkLargeIcon->Visible();
  GroupBox2->SetVisible(group);
  if (!group) {
    const Integer h = GroupBox2->Height();
    SetHeight(Height() - h);
    BtnOk->SetTop(BtnOk->Top() - h);
    BtnCancel->SetTop(BtnCancel->Top() - h);
    BtnReset->SetTop(BtnOk->Top());
  }
}

void TCustomizerForm::UpdateButtons() {
  const TCustomizerButtonStates s = FController.UpdateButtons();
  BtnEdit->SetEnabled(s.Edit);
  TopButton->SetEnabled(s.Top);
  UpButton->SetEnabled(s.Up);
  DownButton->SetEnabled(s.Down);
  BottomButton->SetEnabled(s.Bottom);
  AddButton->SetEnabled(s.Add);
  DeleteButton->SetEnabled(s.Delete);
  ClearButton->SetEnabled(s.Clear);
}

void TCustomizerForm::TakeSelection() {
  FController.ItemIndex = LstBxToolBarItems->ItemIndex();
  FController.CommandIndex = LstBxCommand->ItemIndex();
  FController.IconIndex = CmBxIcon->ItemIndex();
}

void TCustomizerForm::ShowItems() {
  TStrings* items = LstBxToolBarItems->Items();
  items->BeginUpdate();
  items->Clear();
  for (const auto& e : FController.Items()) items->Add(e.Text);
  items->EndUpdate();
  LstBxToolBarItems->SetItemIndex(FController.ItemIndex);
}

void TCustomizerForm::RunHandler(void (TCustomizerController::*Handler)()) {
  TakeSelection();
  (FController.*Handler)();
  ShowItems();
  UpdateButtons();
}

void TCustomizerForm::TopButtonClick() { RunHandler(&TCustomizerController::TopButtonClick); }
void TCustomizerForm::UpButtonClick() { RunHandler(&TCustomizerController::UpButtonClick); }
void TCustomizerForm::DownButtonClick() { RunHandler(&TCustomizerController::DownButtonClick); }
void TCustomizerForm::BottomButtonClick() { RunHandler(&TCustomizerController::BottomButtonClick); }
void TCustomizerForm::AddButtonClick() { RunHandler(&TCustomizerController::AddButtonClick); }
void TCustomizerForm::AddGlowButtonClick() { RunHandler(&TCustomizerController::AddGlowButtonClick); }
void TCustomizerForm::SeparatorButtonClick() { RunHandler(&TCustomizerController::SeparatorButtonClick); }
void TCustomizerForm::DeleteButtonClick() { RunHandler(&TCustomizerController::DeleteButtonClick); }

void TCustomizerForm::ClearButtonClick() {
  TakeSelection();
  FController.ClearButtonClick(
      [](const String& Question) { return MessageDlg(Question, mtConfirmation, mbYesNo, 0) == mrYes; });
  ShowItems();
  UpdateButtons();
}

void TCustomizerForm::LstBxCommandClick() {
  TakeSelection();
  FController.LstBxCommandClick();
  CmBxIcon->SetItemIndex(FController.IconIndex);
  UpdateButtons();
}

void TCustomizerForm::LstBxToolBarItemsClick() {
  TakeSelection();
  UpdateButtons();
}

void TCustomizerForm::LstBxToolBarItemsDblClick() {
  if (BtnEdit->Enabled() && BtnEdit->Visible()) BtnEditClick();
}

bool TCustomizerForm::DragOverAt(TCustomizerListBox* Source, TPoint Screen) {
  TControl* target = FindDragTarget(Screen, false);
  if (target != LstBxToolBarItems) return false;
  return FController.DragOverAccepts(Source == LstBxToolBarItems, Source == LstBxCommand);
}

void TCustomizerForm::DropAt(TCustomizerListBox* Source, TPoint Screen) {
  if (!DragOverAt(Source, Screen)) return;
  TakeSelection();
  if (Source == LstBxToolBarItems)
    FController.DropFromItems(LstBxToolBarItems->ItemAtPos(LstBxToolBarItems->ScreenToClient(Screen), true));
  else if (FController.CommandIndex >= 0)
    FController.DropFromCommands();
  ShowItems();
  // The buttons follow the moved selection.
  UpdateButtons();
}

void TCustomizerForm::OkBitBtnClick() {
  FController.ToolBarCaption = EdtCaption->Text();
  FController.CaptionShown = EdtCaption->Visible();
  FController.GlyphPosition = CmBxGlphPos->ItemIndex();
  FController.GlyphPositionShown = CmBxGlphPos->Visible();
  FController.LargeIcon = ChkLargeIcon->Checked();
  FController.LargeIconShown = ChkLargeIcon->Visible();
  const String error = FController.SaveLayout();
  if (!error.empty()) {
    MessageDlg(error, mtError, {mbOK}, 0);
    return;
  }
  SetModalResult(mrOk);
}

namespace {

// A record the edit dialog may change: a toolbar or glow button, listed or inserted.
bool EditableRecord(const TATBItemProp* P) {
  if (P == nullptr) return false;
  if (P->VOVItem != nullptr)
    return dynamic_cast<TZadEdevAziButton*>(P->VOVItem) != nullptr ||
           dynamic_cast<TAdvCustomGlowButton*>(P->VOVItem) != nullptr;
  return P->IsVOVButton || P->IsGlowButton;
}

}  // namespace

void TCustomizerForm::BtnEditClick() {
  TakeSelection();
  TZadEdevAzi* tb = FToolBarCustomizer->ZadEdevAzi();
  const TDialogSettings* ds = FToolBarCustomizer->DialogSettings();
  const TButtonProperties* bp = FToolBarCustomizer->ButtonProperties();
  auto f = std::make_unique<TCusBtnForm>(this, FToolBarCustomizer);
  f->AfterConstruction();
  f->LblBtnCaption->SetCaption(ds->ButtonEditCaptionLabel);
  f->LblBtnHint->SetCaption(ds->ButtonEditHintLabel);
  f->LblGlyph->SetCaption(ds->ButtonEditIconLabel);
  f->ChkBtnShowCap->SetCaption(ds->ButtonEditCaptionCheck);
  f->ChkBtnVis->SetCaption(ds->ButtonEditVisibleCheck);
  f->SetCaption(ds->ButtonEditCaption);
  f->BtnOk->SetCaption(ds->OKButtonCaption);
  f->BtnOk->SetHint(ds->OKButtonHint);
  f->BtnCancel->SetCaption(ds->CancelButtonCaption);
  f->BtnCancel->SetHint(ds->CancelButtonHint);

  f->CmBxGlyph->SetVisible(false);
  const Integer images = tb != nullptr && tb->Images() != nullptr ? tb->Images()->Count() : 0;
  if (bp->Glyph() && tb != nullptr && tb->Images() != nullptr) {
    for (Integer i = 0; i < images; ++i) f->CmBxGlyph->Items()->Add(IntToStr(i));
    f->CmBxGlyph->Items()->Add(ds->GlyphEditNoneIconCaption);
    f->CmBxGlyph->SetVisible(true);
  }
  auto& items = FController.Items();
  const Integer sel = FController.ItemIndex;
  TATBItemProp* rec = sel >= 0 && sel < Integer(items.size()) ? items[size_t(sel)].Prop.get() : nullptr;
  if (rec != nullptr) {
    f->EdtBtnCaption->SetText(rec->Caption);
    f->EdtBtnHint->SetText(rec->Hint);
    f->ChkBtnShowCap->SetChecked(rec->ShowCaption);
    f->ChkBtnVis->SetChecked(rec->Visible);
    f->CmBxGlyph->SetEnabled(true);
    // A glow button placed at design time keeps its own picture.
    if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(rec->VOVItem); g != nullptr && !g->FCustomizerCreated) {
      f->CmBxGlyph->SetEnabled(false);
      f->CmBxGlyph->SetText(String());
    }
    if (f->CmBxGlyph->Enabled() && rec->ImageIndex >= 0 && rec->ImageIndex < f->CmBxGlyph->Items()->Count())
      f->CmBxGlyph->SetItemIndex(rec->ImageIndex);
  }
  f->EdtBtnCaption->SetEnabled(bp->Caption());
  f->EdtBtnHint->SetVisible(bp->Hint());
  f->LblBtnHint->SetVisible(bp->Hint());
  // Without a toolbar image list a shown icon box stays empty.
  f->CmBxGlyph->SetVisible(bp->Glyph());
  f->LblGlyph->SetVisible(bp->Glyph());
  f->ChkBtnShowCap->SetVisible(bp->ShowCaption());
  f->ChkBtnVis->SetVisible(bp->Visible());
  if (!f->ChkBtnShowCap->Visible() && f->ChkBtnVis->Visible()) f->ChkBtnVis->SetBounds(139, 11, f->ChkBtnVis->Width(), f->ChkBtnVis->Height());

  // The label column: the boxes line up after the widest shown label.
  Integer w = 0;
  if (f->EdtBtnCaption->Visible()) w = std::max(w, f->LblBtnCaption->Width());
  if (f->EdtBtnHint->Visible()) w = std::max(w, f->LblBtnHint->Width());
  if (f->CmBxGlyph->Visible()) w = std::max(w, f->LblGlyph->Width());
  if (w > 0) {
    const std::pair<TControl*, TLabel*> rows[] = {
        {f->EdtBtnCaption, f->LblBtnCaption}, {f->EdtBtnHint, f->LblBtnHint}, {f->CmBxGlyph, f->LblGlyph}};
    for (auto [box, lbl] : rows) {
      box->SetLeft(w + 12);
      lbl->SetLeft(box->Left() - 5 - lbl->Width());
    }
    f->ChkBtnShowCap->SetLeft(std::max(f->ChkBtnShowCap->Left(), w + 12 + f->EdtBtnCaption->Width() + 4));
    f->ChkBtnVis->SetLeft(f->ChkBtnShowCap->Left());
    const Integer reach = f->ChkBtnShowCap->Left() + f->EdtBtnCaption->Width();
    if (reach >= f->GroupBox1->Width()) {
      f->GroupBox1->SetWidth(reach + 3);
      if (f->GroupBox1->Left() + f->GroupBox1->Width() >= f->Width())
        f->SetWidth(f->GroupBox1->Left() + f->GroupBox1->Width() + 6);
    }
    f->BtnOk->SetLeft(f->Width() / 2 - f->BtnOk->Width());
    f->BtnCancel->SetLeft(f->BtnOk->Left() + f->BtnOk->Width());
  }
  const TPoint at = ClientToScreen(TPoint{75, 120});
  f->SetBounds(at.X, at.Y, f->Width(), f->Height());

  const Integer remembered = sel;
  if (f->ShowModal() == mrOk && remembered >= 0 && remembered < Integer(items.size())) {
    TATBItemProp* r = items[size_t(remembered)].Prop.get();
    if (EditableRecord(r)) {
      r->Caption = f->EdtBtnCaption->Text();
      r->Hint = f->EdtBtnHint->Text();
      r->Visible = f->ChkBtnVis->Checked();
      r->ShowCaption = f->ChkBtnShowCap->Checked();
      if (bp->Glyph() && f->CmBxGlyph->Enabled()) {
        const Integer chosen = f->CmBxGlyph->ItemIndex();
        if (chosen != r->ImageIndex) r->ForceImageIndex = true;
        r->ImageIndex = chosen >= 0 && chosen < images ? chosen : -1;
      }
      items[size_t(remembered)].Text = r->Caption;
      FController.Changed();
    }
  }
  ShowItems();
  UpdateButtons();
}

}  // namespace toolbar
