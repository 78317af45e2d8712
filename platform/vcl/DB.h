#pragma once
// The data-set abstraction data-aware controls link to: a data set (a
// cursor over rows kept in memory, with the browse, edit and insert
// states), a data source that names it, and the data link through which a
// control hears of activation, changes and editing.
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/Exceptions.h"

class EDatabaseError : public Exception {
 public:
  using Exception::Exception;
};

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

class TDataSource;

class TDataSet : public TComponent {
 public:
  explicit TDataSet(TComponent* AOwner);
  ~TDataSet() override;

  bool Active() const { return FState != dsInactive; }
  // Opening goes to the first row; closing drops any edit.
  void SetActive(bool Value);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return FState; }
  // Rows while closed too (the store); a new count moves the cursor to the first row.
  Integer RecordCount() const { return FRows; }
  void SetRecordCount(Integer Value);
  // 0-based row of the cursor; -1 without rows.
  Integer RecNo() const { return FRows == 0 ? -1 : FCursor; }
  bool Bof() const { return FBof; }
  bool Eof() const { return FEof; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool CanModify() const { return Active() && !FReadOnly; }

  // Cursor moves; each raises EDatabaseError "Dataset not in browse mode"
  // while inactive and posts a pending edit first.
  void First();
  void Prior();
  void Next();
  void Last();
  // A new row before the cursor (Insert) or at the end (Append), in insert state.
  // "Cannot modify a read-only dataset" when read-only.
  void Insert();
  void Append();
  // "Cannot perform this operation on an empty dataset" without rows.
  void Delete();
  void Edit();
  // Ends editing: an inserted row stays. "Dataset not in edit or insert mode" otherwise.
  void Post();
  // Ends editing: an inserted row goes.
  void Cancel();
  // The rows again (nothing changes in memory).
  void Refresh();

 private:
  friend class TDataSource;
  void CheckBrowse();
  void CheckModify();
  void SetState(TDataSetState Value);
  void Changed();
  void PostPending();
  std::vector<TDataSource*> FSources;
  TDataSetState FState = dsInactive;
  Integer FRows = 0, FCursor = 0;
  bool FBof = true, FEof = true, FReadOnly = false;
  bool FInsertedRow = false;
};

class TDataLink;

class TDataSource : public TComponent {
 public:
  explicit TDataSource(TComponent* AOwner);
  ~TDataSource() override;
  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* Value);
  // dsInactive without a data set.
  TDataSetState State() const { return FDataSet != nullptr ? FDataSet->State() : dsInactive; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TDataSet;
  friend class TDataLink;
  void NotifyActive();
  void NotifyChanged();
  void NotifyEditing();
  TDataSet* FDataSet = nullptr;
  std::vector<TDataLink*> FLinks;
};

class TDataLink : public TObject {
 public:
  TDataLink() = default;
  ~TDataLink() override;
  TDataSource* DataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* Value);
  TDataSet* DataSet() const { return FDataSource != nullptr ? FDataSource->DataSet() : nullptr; }
  bool Active() const { return DataSet() != nullptr && DataSet()->Active(); }
  bool Editing() const { return Active() && (DataSet()->State() == dsEdit || DataSet()->State() == dsInsert); }

 protected:
  friend class TDataSource;
  virtual void ActiveChanged() {}
  virtual void DataSetChanged() {}
  virtual void EditingChanged() {}

 private:
  TDataSource* FDataSource = nullptr;
};
