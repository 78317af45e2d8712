#include "toolbar/ZadEdevAziCustomizer.h"

#include <algorithm>

#include "controls/AdvGlowButton.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Forms.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/AdvToolBarControl.h"
#include "toolbar/CustomizerForm.h"

namespace toolbar {

// --- commands ---

void TATBCommand::SetCaption(const String& Value) {
  FCaption = Value;
  std::replace(FCaption.begin(), FCaption.end(), u' ', u'_');
}

void TATBCommand::SetAction(TBasicAction* Value) {
  FAction = Value;
  // The layer's actions carry no caption of their own: nothing to take over.
}

void TATBCommand::Assign(TPersistent* Source) {
  if (auto* c = dynamic_cast<TATBCommand*>(Source)) {
    SetCaption(c->Caption());
    OnExecute = c->OnExecute;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TButtonProperties::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TButtonProperties*>(Source)) {
    SetCaption(s->Caption());
    SetGlyph(s->Glyph());
    SetHint(s->Hint());
    SetVisible(s->Visible());
    SetShowCaption(s->ShowCaption());
    return;
  }
  TPersistent::Assign(Source);
}

void TCustomizedOptions::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TCustomizedOptions*>(Source)) {
    SetReOrder(s->ReOrder());
    SetAddButton(s->AddButton());
    SetAddSeparator(s->AddSeparator());
    SetAddGlowButton(s->AddGlowButton());
    SetDelete(s->Delete());
    SetDeleteAll(s->DeleteAll());
    SetEditButton(s->EditButton());
    return;
  }
  TPersistent::Assign(Source);
}

void TDialogSettings::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TDialogSettings*>(Source);
  if (s == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  ToolBarLabel = s->ToolBarLabel;
  CommandLabel = s->CommandLabel;
  CaptionLabel = s->CaptionLabel;
  GlyphPosLabel = s->GlyphPosLabel;
  LargeIconCheck = s->LargeIconCheck;
  TopHint = s->TopHint;
  UpHint = s->UpHint;
  DownHint = s->DownHint;
  BottomHint = s->BottomHint;
  AddHint = s->AddHint;
  AddSeparatorHint = s->AddSeparatorHint;
  DeleteHint = s->DeleteHint;
  DeleteAllHint = s->DeleteAllHint;
  EditHint = s->EditHint;
  Caption = s->Caption;
  ButtonEditCaption = s->ButtonEditCaption;
  ButtonEditCaptionLabel = s->ButtonEditCaptionLabel;
  ButtonEditHintLabel = s->ButtonEditHintLabel;
  ButtonEditIconLabel = s->ButtonEditIconLabel;
  ButtonEditCaptionCheck = s->ButtonEditCaptionCheck;
  ButtonEditVisibleCheck = s->ButtonEditVisibleCheck;
  OKButtonCaption = s->OKButtonCaption;
  OKButtonHint = s->OKButtonHint;
  CancelButtonCaption = s->CancelButtonCaption;
  CancelButtonHint = s->CancelButtonHint;
  ResetButtonCaption = s->ResetButtonCaption;
  ResetButtonHint = s->ResetButtonHint;
  AddGlowButtonHint = s->AddGlowButtonHint;
  GlyphPositionLeftCaption = s->GlyphPositionLeftCaption;
  GlyphPositionTopCaption = s->GlyphPositionTopCaption;
  GlyphPositionRightCaption = s->GlyphPositionRightCaption;
  GlyphPositionBottomCaption = s->GlyphPositionBottomCaption;
  GlyphEditNoneIconCaption = s->GlyphEditNoneIconCaption;
  EditGlyph = s->EditGlyph;
  EditGlyphVisible = s->EditGlyphVisible;
  EditCaption = s->EditCaption;
  EditGlyphPosition = s->EditGlyphPosition;
  LargeIcon = s->LargeIcon;
}

// --- the component ---

TZadEdevAziCustomizer::TZadEdevAziCustomizer(TComponent* AOwner)
    : TComponent(AOwner),
      FCommands(std::make_unique<TATBCommands>(this)),
      FButtonProperties(std::make_unique<TButtonProperties>()),
      FOptions(std::make_unique<TCustomizedOptions>()),
      FDialogSettings(std::make_unique<TDialogSettings>()) {
  FCommands->OnChange = [](TObject*) {};
  FButtonProperties->OnChange = [](TObject*) {};
  FOptions->OnChange = [](TObject*) {};
}

TZadEdevAziCustomizer::~TZadEdevAziCustomizer() {
  // The toolbar must not keep a link to a customizer that is gone.
  SetZadEdevAzi(nullptr);
  for (TControl* c : FDeleteItems) RemoveFreeNotification(c);
  FDeleteItems.clear();
  SetLargeImages(nullptr);
  SetSmallImages(nullptr);
}

void TZadEdevAziCustomizer::SetZadEdevAzi(TZadEdevAzi* Value) {
  if (Value == FToolBar) return;
  if (FToolBar != nullptr) {
    if (FToolBar->Customizer() == this) FToolBar->SetCustomizer(nullptr);
    RemoveFreeNotification(FToolBar);
  }
  FToolBar = Value;
  if (FToolBar != nullptr) {
    FToolBar->SetCustomizer(this);
    FToolBar->FreeNotification(this);
  }
}

// Image lists are watched so that one freed first leaves no dangling pointer
// here; the watch is dropped when neither slot holds the list any more.
void TZadEdevAziCustomizer::SetLargeImages(TCustomImageList* Value) {
  if (Value == FLargeImages) return;
  TCustomImageList* old = FLargeImages;
  FLargeImages = Value;
  if (old != nullptr && old != FSmallImages) RemoveFreeNotification(old);
  if (Value != nullptr) Value->FreeNotification(this);
}

void TZadEdevAziCustomizer::SetSmallImages(TCustomImageList* Value) {
  if (Value == FSmallImages) return;
  TCustomImageList* old = FSmallImages;
  FSmallImages = Value;
  if (old != nullptr && old != FLargeImages) RemoveFreeNotification(old);
  if (Value != nullptr) Value->FreeNotification(this);
}

void TZadEdevAziCustomizer::SetFileName(const String& Value) {
  if (Value == FFileName) return;
  FFileName = Value;
  if (FFileName.empty() || ComponentState().Contains(csLoading)) return;
  SaveOriginal();
  LoadToolBar();
}

void TZadEdevAziCustomizer::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  // Pointers are dropped even while this customizer is being destroyed: its
  // owner may free the toolbar or an image list before it.
  if (Operation != opRemove) return;
  if (AComponent == FToolBar) FToolBar = nullptr;
  if (AComponent == FLargeImages) FLargeImages = nullptr;
  if (AComponent == FSmallImages) FSmallImages = nullptr;
  std::erase(FDeleteItems, static_cast<TControl*>(dynamic_cast<TControl*>(AComponent)));
}

bool TZadEdevAziCustomizer::LayoutActive() const {
  return FEnablePersistence && !FFileName.empty() && FToolBar != nullptr;
}

TControl* TZadEdevAziCustomizer::FindToolBarControl(const String& Name) const {
  if (Name.empty() || FToolBar == nullptr) return nullptr;
  for (Integer i = 0; i < FToolBar->ToolBarControlCount(); ++i) {
    TControl* c = FToolBar->GetToolBarControls(i);
    if (c != nullptr && SameText(c->Name(), Name)) return c;
  }
  return nullptr;
}

void TZadEdevAziCustomizer::Detach(TControl* C) {
  if (std::find(FDeleteItems.begin(), FDeleteItems.end(), C) == FDeleteItems.end()) {
    FDeleteItems.push_back(C);
    C->FreeNotification(this);
  }
  C->SetParent(nullptr);
}

void TZadEdevAziCustomizer::ReattachDeleted() {
  std::vector<TControl*> items;
  items.swap(FDeleteItems);
  for (TControl* c : items) {
    RemoveFreeNotification(c);
    c->SetParent(FToolBar);
  }
}

TControl* TZadEdevAziCustomizer::CreateItem(const TLayoutItem& It) {
  // A control an earlier load took off the toolbar comes back rather than a
  // second one of the same name.
  for (auto p = FDeleteItems.begin(); p != FDeleteItems.end(); ++p)
    if (SameText((*p)->Name(), It.Name)) {
      TControl* c = *p;
      FDeleteItems.erase(p);
      RemoveFreeNotification(c);
      c->SetParent(FToolBar);
      return c;
    }
  // Another component of the toolbar holds the name: the item cannot be made.
  if (FToolBar->FindComponent(It.Name) != nullptr) return nullptr;
  const Integer k = It.CommandID.value_or(-1);
  TATBCommand* cmd = k >= 0 && k < FCommands->Count() ? FCommands->Items(k) : nullptr;
  switch (It.Kind) {
    case TLayoutItemKind::Button: {
      auto* b = new TZadEdevAziButton(FToolBar);
      b->SetName(It.Name);
      b->SetParent(FToolBar);
      b->FCustomizerCreated = true;
      if (cmd != nullptr) {
        b->OnClick = cmd->OnExecute;
        b->SetAction(cmd->Action());
        b->FCommandID = k;
      }
      return b;
    }
    case TLayoutItemKind::Separator: {
      auto* s = new TZadEdevAziSeparator(FToolBar);
      s->SetName(It.Name);
      s->SetParent(FToolBar);
      return s;
    }
    case TLayoutItemKind::GlowButton: {
      auto* g = new TAdvGlowButton(FToolBar);
      g->SetName(It.Name);
      g->SetParent(FToolBar);
      g->FCustomizerCreated = true;
      if (auto* il = dynamic_cast<TImageList*>(FToolBar->Images())) g->SetImages(il);
      g->SetBounds(g->Left(), g->Top(), 23, 22);
      g->SetAutoSize(true);
      if (cmd != nullptr) {
        g->OnClick = cmd->OnExecute;
        g->SetAction(cmd->Action());
        g->FCommandID = k;
      }
      return g;
    }
    case TLayoutItemKind::Other: break;
  }
  return nullptr;
}

namespace {

void ApplyButton(TAdvCustomToolBarButton* b, const TLayoutItem& It, const TButtonProperties* P, bool Force) {
  if (Force || P->Glyph()) {
    if (It.ImageIndex) b->SetImageIndex(*It.ImageIndex);
    if (!Force && It.ForceImageIndex) b->SetForceImageIndex(*It.ForceImageIndex);
  }
  if ((Force || P->Visible()) && It.Visible) b->SetVisible(*It.Visible);
  if ((Force || P->ShowCaption()) && It.ShowCaption) b->SetShowCaption(*It.ShowCaption);
  if ((Force || P->Caption()) && It.Caption) b->SetCaption(*It.Caption);
  if ((Force || P->Hint()) && It.Hint) b->SetHint(*It.Hint);
}

void ApplyGlow(TAdvCustomGlowButton* g, const TLayoutItem& It, const TButtonProperties* P) {
  if (P->Glyph() && g->FCustomizerCreated && It.ImageIndex) g->SetImageIndex(*It.ImageIndex);
  if (P->Visible() && It.Visible) g->SetVisible(*It.Visible);
  if (P->ShowCaption() && It.ShowCaption) g->SetShowCaption(*It.ShowCaption);
  if (P->Caption() && It.Caption) g->SetCaption(*It.Caption);
  if (P->Hint() && It.Hint) g->SetHint(*It.Hint);
}

}  // namespace

void TZadEdevAziCustomizer::SettleOrder(const std::vector<TControl*>& Order, bool GlowTakesGlyph, Integer gp) {
  for (size_t k = 0; k < Order.size() && static_cast<Integer>(k) < FToolBar->ToolBarControlCount(); ++k) {
    TControl* c = Order[k];
    if (FDialogSettings->EditGlyphPosition) {
      if (auto* b = dynamic_cast<TZadEdevAziButton*>(c)) {
        if (gp >= gpLeft && gp <= gpBottom) b->SetGlyphPosition(static_cast<TGlyphPosition>(gp));
      } else if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(c); g != nullptr && GlowTakesGlyph) {
        static const TButtonLayout layouts[] = {blGlyphLeft, blGlyphTop, blGlyphRight, blGlyphBottom};
        if (gp >= 0 && gp <= 3) g->SetLayout(layouts[gp]);
      }
    }
    const Integer idx = FToolBar->IndexOfToolBarControl(c);
    if (idx >= 0 && idx != static_cast<Integer>(k)) FToolBar->MoveToolBarControl(idx, static_cast<Integer>(k));
  }
}

void TZadEdevAziCustomizer::ApplyImages(bool Large) {
  if (Large && FLargeImages != nullptr) FToolBar->SetImages(FLargeImages);
  else if (FSmallImages != nullptr) FToolBar->SetImages(FSmallImages);
}

void TZadEdevAziCustomizer::LoadToolBar() {
  if (!LayoutActive()) return;
  TMemIniFile ini(FFileName);
  const TLayoutSection L = ReadLayoutSection(ini, Name());
  if (FDialogSettings->EditCaption && L.Caption) FToolBar->SetCaption(*L.Caption);
  const Integer gp = FDialogSettings->EditGlyphPosition ? L.GlyphPosition.value_or(0) : 0;
  const bool large = FDialogSettings->LargeIcon && FLargeImages != nullptr && L.LargeIcon.value_or(0) == 1;
  if (L.Count && *L.Count > 0) {
    std::vector<TControl*> order;
    for (const TLayoutItem& it : L.Items) {
      TControl* c = FindToolBarControl(it.Name);
      if (c == nullptr) c = CreateItem(it);
      if (c == nullptr) continue;
      if (auto* b = dynamic_cast<TZadEdevAziButton*>(c))
        ApplyButton(b, it, FButtonProperties.get(), false);
      else if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(c))
        ApplyGlow(g, it, FButtonProperties.get());
      order.push_back(c);
    }
    SettleOrder(order, true, gp);
    for (Integer i = FToolBar->ToolBarControlCount() - 1; i >= static_cast<Integer>(order.size()); --i)
      Detach(FToolBar->GetToolBarControls(i));
  } else if (L.Count && *L.Count == 0) {
    for (Integer i = FToolBar->ToolBarControlCount() - 1; i >= 0; --i) Detach(FToolBar->GetToolBarControls(i));
  }
  ApplyImages(large);
}

TLayoutSection TZadEdevAziCustomizer::CurrentLayout() const {
  TLayoutSection L;
  L.Caption = FToolBar->Caption();
  L.GlyphPosition = 0;
  L.LargeIcon = FLargeImages != nullptr && FToolBar->Images() == FLargeImages ? 1 : 0;
  bool first = true;
  for (Integer i = 0; i < FToolBar->ToolBarControlCount(); ++i) {
    TControl* c = FToolBar->GetToolBarControls(i);
    TLayoutItem it;
    it.Name = c->Name();
    if (auto* b = dynamic_cast<TZadEdevAziButton*>(c)) {
      if (first) L.GlyphPosition = static_cast<Integer>(b->GlyphPosition());
      first = false;
      it.Kind = TLayoutItemKind::Button;
      it.ImageIndex = b->ImageIndex();
      it.Visible = b->Visible();
      it.ShowCaption = b->ShowCaption();
      it.Caption = b->Caption();
      it.Hint = b->Hint();
    } else if (dynamic_cast<TZadEdevAziSeparator*>(c) != nullptr) {
      it.Kind = TLayoutItemKind::Separator;
    } else if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(c)) {
      it.Kind = TLayoutItemKind::GlowButton;
      it.ImageIndex = g->ImageIndex();
      it.Visible = g->Visible();
      it.ShowCaption = g->ShowCaption();
      it.Caption = g->Caption();
      it.Hint = g->Hint();
    }
    L.Items.push_back(std::move(it));
  }
  return L;
}

void TZadEdevAziCustomizer::SaveOriginal() {
  if (!LayoutActive()) return;
  TMemIniFile ini(FFileName);
  WriteLayoutSection(ini, Name() + u"Org", CurrentLayout());
  // Written here rather than when freed, so a failed write reaches the caller.
  ini.UpdateFile();
}

void TZadEdevAziCustomizer::RestoreOriginal() {
  if (!LayoutActive()) return;
  TMemIniFile ini(FFileName);
  const TLayoutSection L = ReadLayoutSection(ini, Name() + u"Org");
  if (L.Caption) FToolBar->SetCaption(*L.Caption);
  const Integer gp = L.GlyphPosition.value_or(0);
  // Detached controls come back whatever the stored count says: a lost or
  // zero count must not leave the toolbar stripped.
  ReattachDeleted();
  if (L.Count && *L.Count > 0 && !L.Items.empty()) {
    std::vector<TControl*> order;
    for (const TLayoutItem& it : L.Items) {
      TControl* c = FindToolBarControl(it.Name);
      if (c == nullptr || std::find(order.begin(), order.end(), c) != order.end()) continue;
      if (auto* b = dynamic_cast<TZadEdevAziButton*>(c)) ApplyButton(b, it, FButtonProperties.get(), true);
      order.push_back(c);
    }
    SettleOrder(order, false, gp);
    // Controls the initial layout does not name are those loads created.
    if (!order.empty())
      for (Integer i = FToolBar->ToolBarControlCount() - 1; i >= static_cast<Integer>(order.size()); --i) {
        TControl* c = FToolBar->GetToolBarControls(i);
        c->SetParent(nullptr);
        delete c;
      }
  }
  ApplyImages(L.LargeIcon.value_or(0) == 1);
  ini.EraseSection(Name());
  ini.UpdateFile();
}

void TZadEdevAziCustomizer::PostDialog(TModalResult Result, bool Modified) {
  if (Result == mrOk && Modified) {
    if (!LayoutActive()) return;
    LoadToolBar();
    if (OnAfterPost) OnAfterPost(this);
  } else if (Result == mrResetLayout) {
    RestoreOriginal();
  }
}

void TZadEdevAziCustomizer::ShowDialog() {
  if (FToolBar == nullptr) return;
  // One dialog at a time; it lives only while this runs.
  if (ActiveCustomizerForm() != nullptr) return;
  auto form = std::make_unique<TCustomizerForm>(this, this);
  form->AfterConstruction();
  customizer_detail::SetActiveCustomizerForm(form.get());
  struct TForget {
    ~TForget() { customizer_detail::SetActiveCustomizerForm(nullptr); }
  } forget;
  TCustomizerForm& f = *form;
  const TDialogSettings& ds = *FDialogSettings;
  f.LblToolbarItems->SetCaption(ds.ToolBarLabel);
  f.LblCommands->SetCaption(ds.CommandLabel);
  f.LblCaption->SetCaption(ds.CaptionLabel);
  f.LblGlphPos->SetCaption(ds.GlyphPosLabel);
  f.ChkLargeIcon->SetCaption(ds.LargeIconCheck);
  const std::pair<TControl*, const String*> hints[] = {
      {f.TopButton, &ds.TopHint},          {f.UpButton, &ds.UpHint},
      {f.DownButton, &ds.DownHint},        {f.BottomButton, &ds.BottomHint},
      {f.AddButton, &ds.AddHint},          {f.SeparatorButton, &ds.AddSeparatorHint},
      {f.DeleteButton, &ds.DeleteHint},    {f.ClearButton, &ds.DeleteAllHint},
      {f.BtnEdit, &ds.EditHint},           {f.AddGlowButton, &ds.AddGlowButtonHint},
      {f.BtnOk, &ds.OKButtonHint},         {f.BtnCancel, &ds.CancelButtonHint},
      {f.BtnReset, &ds.ResetButtonHint}};
  for (auto [c, h] : hints) c->SetHint(*h);
  f.SetCaption(ds.Caption);
  f.BtnOk->SetCaption(ds.OKButtonCaption);
  f.BtnCancel->SetCaption(ds.CancelButtonCaption);
  f.BtnReset->SetCaption(ds.ResetButtonCaption);
  TStrings* gp = f.CmBxGlphPos->Items();
  gp->Clear();
  for (const String* t : {&ds.GlyphPositionLeftCaption, &ds.GlyphPositionTopCaption, &ds.GlyphPositionRightCaption,
                          &ds.GlyphPositionBottomCaption})
    gp->Add(*t);
  f.SetCaption(ds.EditCaption);
  f.SetGlyphPosition(ds.EditGlyphPosition);
  f.ChkLargeIcon->SetVisible(ds.LargeIcon && FLargeImages != nullptr);
  f.LoadComponents();
  f.CmBxIcon->SetEnabled(ds.EditGlyph);

  const TCustomizedOptions& o = *FOptions;
  for (TControl* c : {static_cast<TControl*>(f.TopButton), static_cast<TControl*>(f.UpButton),
                      static_cast<TControl*>(f.DownButton), static_cast<TControl*>(f.BottomButton)})
    c->SetVisible(o.ReOrder());
  f.DeleteButton->SetVisible(o.Delete());
  f.ClearButton->SetVisible(o.DeleteAll());
  f.AddButton->SetVisible(o.AddButton() && f.LstBxCommand->Count() > 0);
  f.SeparatorButton->SetVisible(o.AddSeparator());
  f.AddGlowButton->SetVisible(o.AddGlowButton());
  f.BtnEdit->SetVisible(o.EditButton());
  // The shown side buttons stack up under the move buttons (or in their place).
  Integer y = o.ReOrder() ? f.BottomButton->Top() + f.BottomButton->Height() : f.TopButton->Top();
  for (TControl* c : {static_cast<TControl*>(f.AddButton), static_cast<TControl*>(f.AddGlowButton),
                      static_cast<TControl*>(f.SeparatorButton), static_cast<TControl*>(f.DeleteButton),
                      static_cast<TControl*>(f.ClearButton)})
    if (c->Visible()) {
      c->SetTop(y);
      y += c->Height();
    }
  if (f.BtnEdit->Visible()) f.BtnEdit->SetTop(y);
  f.LstBxToolBarItems->AutoDrag = o.ReOrder();

  // Under the toolbar's right end, kept inside the primary work area.
  TPoint p{FToolBar->Left() + FToolBar->Width() - 12, FToolBar->Top() + FToolBar->Height() + 1};
  if (TWinControl* parent = FToolBar->Parent()) p = parent->ClientToScreen(p);
  const TRect work = Screen->WorkAreaRect();
  if (p.Y + f.Height() + 2 > work.Bottom) p.Y = work.Bottom - f.Height() - 2;
  if (p.X + f.Width() > work.Right) {
    if (FToolBar->Position() == daRight) {
      const TPoint left =
          FToolBar->Parent() != nullptr ? FToolBar->Parent()->ClientToScreen(TPoint{FToolBar->Left(), 0}) : TPoint{FToolBar->Left(), 0};
      p.X = left.X - f.Width();
    } else {
      p.X = work.Right - f.Width();
    }
  }
  bool canShow = true;
  if (OnCanShow) OnCanShow(this, p.X, p.Y, canShow);
  if (!canShow) return;
  f.SetBounds(p.X, p.Y, f.Width(), f.Height());
  if (OnBeforeDisplay) OnBeforeDisplay(this);
  const TModalResult result = f.ShowModal();
  const bool modified = f.Modified();
  form.reset();
  customizer_detail::SetActiveCustomizerForm(nullptr);
  PostDialog(result, modified);
}

}  // namespace toolbar
