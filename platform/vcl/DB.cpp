#include "platform/vcl/DB.h"

#include <algorithm>

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner) {}

TDataSet::~TDataSet() {
  for (TDataSource* s : std::vector<TDataSource*>(FSources)) s->SetDataSet(nullptr);
}

void TDataSet::SetActive(bool Value) {
  if (Active() == Value) return;
  FState = Value ? dsBrowse : dsInactive;
  FInsertedRow = false;
  FCursor = 0;
  FBof = true;
  FEof = FRows == 0 || !Value;
  for (TDataSource* s : std::vector<TDataSource*>(FSources)) s->NotifyActive();
}

void TDataSet::SetRecordCount(Integer Value) {
  FRows = std::max(Value, 0);
  FCursor = 0;
  FBof = true;
  FEof = FRows == 0;
  Changed();
}

void TDataSet::SetReadOnly(bool Value) {
  FReadOnly = Value;
  Changed();
}

void TDataSet::CheckBrowse() {
  if (!Active()) throw EDatabaseError(u"Dataset not in browse mode");
  PostPending();
}

void TDataSet::CheckModify() {
  if (!Active()) throw EDatabaseError(u"Dataset not in browse mode");
  if (FReadOnly) throw EDatabaseError(u"Cannot modify a read-only dataset");
}

void TDataSet::PostPending() {
  if (FState == dsEdit || FState == dsInsert) Post();
}

void TDataSet::SetState(TDataSetState Value) {
  if (FState == Value) return;
  FState = Value;
  for (TDataSource* s : std::vector<TDataSource*>(FSources)) s->NotifyEditing();
}

void TDataSet::Changed() {
  for (TDataSource* s : std::vector<TDataSource*>(FSources)) s->NotifyChanged();
}

void TDataSet::First() {
  CheckBrowse();
  FCursor = 0;
  FBof = true;
  FEof = FRows == 0;
  Changed();
}

void TDataSet::Last() {
  CheckBrowse();
  FCursor = std::max(FRows - 1, 0);
  FEof = true;
  FBof = FRows == 0;
  Changed();
}

void TDataSet::Next() {
  CheckBrowse();
  if (FCursor + 1 < FRows) {
    ++FCursor;
    FBof = false;
  } else {
    FEof = true;
  }
  Changed();
}

void TDataSet::Prior() {
  CheckBrowse();
  if (FCursor > 0) {
    --FCursor;
    FEof = false;
  } else {
    FBof = true;
  }
  Changed();
}

void TDataSet::Insert() {
  CheckModify();
  PostPending();
  ++FRows;
  FInsertedRow = true;
  FBof = FEof = false;
  SetState(dsInsert);
  Changed();
}

void TDataSet::Append() {
  CheckModify();
  PostPending();
  ++FRows;
  FCursor = FRows - 1;
  FInsertedRow = true;
  FBof = false;
  FEof = true;
  SetState(dsInsert);
  Changed();
}

void TDataSet::Delete() {
  CheckModify();
  if (FRows == 0) throw EDatabaseError(u"Cannot perform this operation on an empty dataset");
  if (FState == dsInsert) {
    Cancel();
    return;
  }
  SetState(dsBrowse);
  --FRows;
  FCursor = std::min(FCursor, std::max(FRows - 1, 0));
  FBof = FCursor == 0;
  FEof = FRows == 0 || FCursor == FRows - 1;
  Changed();
}

void TDataSet::Edit() {
  CheckModify();
  if (FRows == 0) throw EDatabaseError(u"Cannot perform this operation on an empty dataset");
  if (FState == dsBrowse) SetState(dsEdit);
}

void TDataSet::Post() {
  if (FState != dsEdit && FState != dsInsert) throw EDatabaseError(u"Dataset not in edit or insert mode");
  FInsertedRow = false;
  SetState(dsBrowse);
  Changed();
}

void TDataSet::Cancel() {
  if (FState != dsEdit && FState != dsInsert) return;
  if (FState == dsInsert && FInsertedRow) {
    --FRows;
    FCursor = std::min(FCursor, std::max(FRows - 1, 0));
    FEof = FRows == 0 || FCursor == FRows - 1;
    FBof = FCursor == 0;
  }
  FInsertedRow = false;
  SetState(dsBrowse);
  Changed();
}

void TDataSet::Refresh() {
  CheckBrowse();
  Changed();
}

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
  SetDataSet(nullptr);
  for (TDataLink* l : std::vector<TDataLink*>(FLinks)) l->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* Value) {
  if (FDataSet == Value) return;
  if (FDataSet != nullptr) {
    auto& v = FDataSet->FSources;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  FDataSet = Value;
  if (FDataSet != nullptr) {
    FDataSet->FSources.push_back(this);
    FDataSet->FreeNotification(this);
  }
  NotifyActive();
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDataSet) SetDataSet(nullptr);
}

void TDataSource::NotifyActive() {
  for (TDataLink* l : std::vector<TDataLink*>(FLinks)) l->ActiveChanged();
}
void TDataSource::NotifyChanged() {
  for (TDataLink* l : std::vector<TDataLink*>(FLinks)) l->DataSetChanged();
}
void TDataSource::NotifyEditing() {
  for (TDataLink* l : std::vector<TDataLink*>(FLinks)) l->EditingChanged();
}

TDataLink::~TDataLink() { SetDataSource(nullptr); }

void TDataLink::SetDataSource(TDataSource* Value) {
  if (FDataSource == Value) return;
  if (FDataSource != nullptr) {
    auto& v = FDataSource->FLinks;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  FDataSource = Value;
  if (FDataSource != nullptr) FDataSource->FLinks.push_back(this);
  ActiveChanged();
}
