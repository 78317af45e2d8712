#include "controls/DBAdvGlowButton.h"

#include "platform/vcl/Bitmap.h"

namespace {

// The glyph names of the types (enabled; the disabled ones end in "D").
const char16_t* DBGlyphBase(TDBGlowButtonType t) {
  switch (t) {
    case dbFirst: return u"DBIMGFIRST";
    case dbPrior: return u"DBIMGPRIOR";
    case dbNext: return u"DBIMGNEXT";
    case dbLast: return u"DBIMGLAST";
    case dbInsert:
    case dbAppend: return u"DBIMGINSERT";
    case dbDelete: return u"DBIMGDELETE";
    case dbEdit: return u"DBIMGEDIT";
    case dbPost: return u"DBIMGPOST";
    case dbCancel: return u"DBIMGCANCEL";
    case dbRefresh: return u"DBIMGREFRESH";
    case dbCustom: break;
  }
  return u"";
}

// The navigator symbols, drawn on the mask colour $FF00FF: black (grey when
// disabled) bars, triangles, plus and minus, a check, a cross and a ring.
void DBDrawGlyph(TCanvas* c, TDBGlowButtonType t, bool enabled) {
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(TRect{0, 0, 16, 16});
  const TColor ink = enabled ? TColor(0x000000) : TColor(0x808080);
  c->Brush()->SetColor(ink);
  c->Pen()->SetColor(ink);
  auto tri = [c](bool left, int x) {
    if (left)
      c->Polygon({TPoint{x + 5, 3}, TPoint{x + 5, 12}, TPoint{x, 7}});
    else
      c->Polygon({TPoint{x, 3}, TPoint{x, 12}, TPoint{x + 5, 7}});
  };
  switch (t) {
    case dbFirst: c->FillRect(TRect{3, 3, 5, 13}); tri(true, 6); break;
    case dbPrior: tri(true, 5); break;
    case dbNext: tri(false, 6); break;
    case dbLast: tri(false, 5); c->FillRect(TRect{11, 3, 13, 13}); break;
    case dbInsert:
    case dbAppend: c->FillRect(TRect{7, 3, 9, 13}); c->FillRect(TRect{3, 7, 13, 9}); break;
    case dbDelete: c->FillRect(TRect{3, 7, 13, 9}); break;
    case dbEdit: c->Polygon({TPoint{3, 12}, TPoint{4, 9}, TPoint{11, 2}, TPoint{13, 4}, TPoint{6, 11}}); break;
    case dbPost: c->Polyline({TPoint{3, 8}, TPoint{6, 11}, TPoint{13, 4}}); break;
    case dbCancel: c->Polyline({TPoint{4, 4}, TPoint{12, 12}}); c->Polyline({TPoint{12, 4}, TPoint{4, 12}}); break;
    case dbRefresh: c->Brush()->SetStyle(bsClear); c->Ellipse(3, 3, 13, 13); c->FillRect(TRect{10, 2, 13, 5}); break;
    case dbCustom: break;
  }
}

}  // namespace

TDBAdvGlowButton::TDBAdvGlowButton(TComponent* AOwner) : TAdvCustomGlowButton(AOwner) {
  FDataLink = std::make_unique<TDBGlowButtonDataLink>();
  auto update = [this](TObject*) { UpdateEnabledState(); };
  FDataLink->OnActiveChanged = update;
  FDataLink->OnDataSetChanged = update;
  FDataLink->OnEditingChanged = update;
}

TDBAdvGlowButton::~TDBAdvGlowButton() {
  FDataLink->OnActiveChanged = nullptr;
  FDataLink->OnDataSetChanged = nullptr;
  FDataLink->OnEditingChanged = nullptr;
  FDataLink.reset();
  FInternalImages.reset();
}

void TDBAdvGlowButton::Click() {
  TAdvCustomGlowButton::Click();
  DoDBAction();
}

void TDBAdvGlowButton::Loaded() {
  TAdvCustomGlowButton::Loaded();
  if (ImageIndex() <= 0) UpdateDBGlyph();
  UpdateEnabledState();
}

void TDBAdvGlowButton::Notification(TComponent* AComponent, TOperation Operation) {
  TAdvCustomGlowButton::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink && AComponent == FDataLink->DataSource()) SetDataSource(nullptr);
}

void TDBAdvGlowButton::CMEnabledChanged(TMessage& Message) {
  TAdvCustomGlowButton::CMEnabledChanged(Message);
  if (!FUpdating && !ComponentState().Contains(csLoading) && !ComponentState().Contains(csDestroying))
    UpdateEnabledState();
}

void TDBAdvGlowButton::SetDataSource(TDataSource* Value) {
  FDataLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
  if (!ComponentState().Contains(csLoading)) UpdateEnabledState();
}

void TDBAdvGlowButton::SetDBButtonType(TDBGlowButtonType Value) {
  if (Value == FDBButtonType) return;
  if (Value == dbDelete && FConfirmActionString.empty()) FConfirmActionString = u"Delete record?";
  FDBButtonType = Value;
  if (!ComponentState().Contains(csLoading)) UpdateDBGlyph();
  switch (Value) {
    case dbFirst:
    case dbPrior: FDisableControl = {drBOF, drEditing, drEmpty}; break;
    case dbNext:
    case dbLast: FDisableControl = {drEOF, drEditing, drEmpty}; break;
    case dbInsert:
    case dbAppend: FDisableControl = {drReadonly, drEditing}; break;
    case dbDelete:
    case dbEdit: FDisableControl = {drReadonly, drEditing, drEmpty}; break;
    case dbPost:
    case dbCancel: FDisableControl = {drNotEditing}; break;
    case dbRefresh: FDisableControl = {drEditing}; break;
    case dbCustom: break;
  }
}

void TDBAdvGlowButton::UpdateEnabledState() {
  if (ComponentState().Contains(csDestroying) || !FAutoDisable || FUpdating) return;
  FUpdating = true;
  struct TClear {
    bool& F;
    ~TClear() { F = false; }
  } clear{FUpdating};
  const bool was = Enabled();
  bool enabled = false;
  if (FDataLink->Active()) {
    TDataSet* ds = FDataLink->DataSet();
    TDBBDisableControls now;
    if (ds->Bof()) now.Include(drBOF);
    if (ds->Eof()) now.Include(drEOF);
    if (!ds->CanModify()) now.Include(drReadonly);
    if (ds->Bof() && ds->Eof()) now.Include(drEmpty);
    now.Include(FDataLink->Editing() ? drEditing : drNotEditing);
    enabled = true;
    for (int c = drBOF; c <= drEmpty; ++c)
      if (FDisableControl.Contains(TDBBDisableControl(c)) && now.Contains(TDBBDisableControl(c))) enabled = false;
    if (FDisableControl.Contains(drEvent) && OnGetEnabled) OnGetEnabled(this, enabled);
  }
  SetEnabled(enabled);
  if (enabled != was && OnEnabledChanged) OnEnabledChanged(this);
  UpdateDBGlyph();
}

void TDBAdvGlowButton::UpdateDBGlyph() {
  if (ComponentState().Contains(csLoading) || Images() != nullptr || (!Enabled() && DisabledImages() != nullptr) ||
      FDBButtonType == dbCustom)
    return;
  if (!FInternalImages) FInternalImages = std::make_unique<TImageList>(nullptr, 16, 16);
  FInternalImages->Clear();
  TBitmap glyph;
  glyph.SetSize(16, 16);
  DBDrawGlyph(glyph.Canvas(), FDBButtonType, Enabled());
  FInternalImages->AddMasked(&glyph, clFuchsia);
  FGlyphName = String(DBGlyphBase(FDBButtonType)) + (Enabled() ? u"" : u"D");
  SetImageIndex(0);
  Invalidate();
}

void TDBAdvGlowButton::GetConfirmQuestion(String& Question, TMsgDlgButtons& Buttons, Integer& HelpCtx) {
  Question.clear();
  if (!FConfirmAction) return;
  Question = FConfirmActionString;
  Buttons = mbOKCancel;
  HelpCtx = 0;
  if (OnGetConfirm) OnGetConfirm(this, Question, Buttons, HelpCtx);
}

bool TDBAdvGlowButton::AskConfirmation() {
  String question;
  TMsgDlgButtons buttons = mbOKCancel;
  Integer help = 0;
  GetConfirmQuestion(question, buttons, help);
  if (question.empty()) return true;
  const int answer = MessageDlg(question, mtConfirmation, buttons, help);
  return answer == mrOk || answer == mrYes;
}

void TDBAdvGlowButton::DoBeforeAction(bool& DoAction) {
  if (OnBeforeAction) OnBeforeAction(this, DoAction);
}

void TDBAdvGlowButton::DoDBAction() {
  if (!AskConfirmation()) return;
  bool doAction = FDBButtonType != dbCustom;
  DoBeforeAction(doAction);
  if (!doAction) return;
  TDataSource* src = DataSource();
  // Without an active data set nothing ran: no after-action report of a
  // success that did not happen.
  if (src == nullptr || src->State() == dsInactive || src->DataSet() == nullptr) return;
  TDataSet* ds = src->DataSet();
  try {
    switch (FDBButtonType) {
      case dbFirst: ds->First(); break;
      case dbPrior: ds->Prior(); break;
      case dbNext: ds->Next(); break;
      case dbLast: ds->Last(); break;
      case dbInsert: ds->Insert(); break;
      case dbAppend: ds->Append(); break;
      case dbDelete: ds->Delete(); break;
      case dbEdit: ds->Edit(); break;
      case dbPost: ds->Post(); break;
      case dbCancel: ds->Cancel(); break;
      case dbRefresh: ds->Refresh(); break;
      case dbCustom: break;
    }
  } catch (...) {
    bool show = true;
    if (OnAfterAction) OnAfterAction(this, show);
    if (show) throw;
    return;
  }
  bool show = false;
  if (OnAfterAction) OnAfterAction(this, show);
}
