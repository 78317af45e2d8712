#pragma once
// A glow button bound to a data source: one navigator operation on click,
// enabled from the state of the data set, with a built-in 16 x 16 glyph.
#include "controls/AdvGlowButton.h"
#include "platform/rtl/Set.h"
#include "platform/vcl/DB.h"
#include "platform/vcl/Dialogs.h"

enum TDBGlowButtonType {
  dbCustom, dbFirst, dbPrior, dbNext, dbLast, dbInsert, dbAppend, dbDelete, dbEdit, dbPost, dbCancel, dbRefresh
};
enum TDBBDisableControl { drBOF, drEOF, drReadonly, drNotEditing, drEditing, drEmpty, drEvent };
using TDBBDisableControls = TSet<TDBBDisableControl>;

using TBeforeActionEvent = std::function<void(TObject* Sender, bool& DoAction)>;
using TAfterActionEvent = std::function<void(TObject* Sender, bool& ShowException)>;
using TGetConfirmEvent =
    std::function<void(TObject* Sender, String& Question, TMsgDlgButtons& Buttons, Integer& HelpCtx)>;
using TGetEnabledEvent = std::function<void(TObject* Sender, bool& Enabled)>;

class TDBGlowButtonDataLink : public TDataLink {
 public:
  TNotifyEvent OnActiveChanged;
  TNotifyEvent OnDataSetChanged;
  TNotifyEvent OnEditingChanged;

 protected:
  void ActiveChanged() override { if (OnActiveChanged) OnActiveChanged(this); }
  void DataSetChanged() override { if (OnDataSetChanged) OnDataSetChanged(this); }
  void EditingChanged() override { if (OnEditingChanged) OnEditingChanged(this); }
};

class TDBAdvGlowButton : public TAdvCustomGlowButton {
 public:
  explicit TDBAdvGlowButton(TComponent* AOwner);
  ~TDBAdvGlowButton() override;
  // The glow button's click, then the data operation.
  void Click() override;
  void Loaded() override;

  bool AutoDisable() const { return FAutoDisable; }
  void SetAutoDisable(bool Value) { FAutoDisable = Value; }
  bool ConfirmAction() const { return FConfirmAction; }
  void SetConfirmAction(bool Value) { FConfirmAction = Value; }
  const String& ConfirmActionString() const { return FConfirmActionString; }
  void SetConfirmActionString(const String& Value) { FConfirmActionString = Value; }
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  TDBGlowButtonType DBButtonType() const { return FDBButtonType; }
  // Stores the type, draws its glyph and sets its default disabling conditions.
  void SetDBButtonType(TDBGlowButtonType Value);
  TDBBDisableControls DisableControl() const { return FDisableControl; }
  void SetDisableControl(TDBBDisableControls Value) { FDisableControl = Value; }

  TBeforeActionEvent OnBeforeAction;
  TAfterActionEvent OnAfterAction;
  TGetConfirmEvent OnGetConfirm;
  TGetEnabledEvent OnGetEnabled;
  TNotifyEvent OnEnabledChanged;

  // The name of the glyph shown now ("DBIMGFIRST", "DBIMGFIRSTD"...; empty for none).
  const String& GlyphName() const { return FGlyphName; }

 protected:
  virtual void DoBeforeAction(bool& DoAction);
  virtual void GetConfirmQuestion(String& Question, TMsgDlgButtons& Buttons, Integer& HelpCtx);
  virtual bool AskConfirmation();
  virtual void DoDBAction();
  virtual void UpdateEnabledState();
  virtual void UpdateDBGlyph();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMEnabledChanged(TMessage& Message) override;

 private:
  std::unique_ptr<TDBGlowButtonDataLink> FDataLink;
  bool FAutoDisable = true, FConfirmAction = false, FUpdating = false;
  String FConfirmActionString;
  TDBGlowButtonType FDBButtonType = dbCustom;
  TDBBDisableControls FDisableControl;
  String FGlyphName;
};
