#pragma once
// Actions: a command object (caption, checked state, group, image, help)
// that controls link to through an action link. The action tells its links
// of each change; a linked control executes the action when clicked.
// Controls that take actions hold their own link (TControl has none here).
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/win/Messages.h"

class TBasicActionLink;
class TCustomImageList;

enum THelpType { htKeyword, htContext };

class TBasicAction : public TComponent {
 public:
  explicit TBasicAction(TComponent* AOwner);
  ~TBasicAction() override;
  // Runs OnExecute; false when it is not set.
  virtual bool Execute();
  TNotifyEvent OnExecute;

 protected:
  friend class TBasicActionLink;
  std::vector<TBasicActionLink*> FClients;
};

class TCustomActionList : public TComponent {
 public:
  using TComponent::TComponent;
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value) { FImages = Value; }

 private:
  TCustomImageList* FImages = nullptr;
};

class TActionList : public TCustomActionList {
 public:
  using TCustomActionList::TCustomActionList;
};

class TCustomAction : public TBasicAction {
 public:
  using TBasicAction::TBasicAction;
  // An enabled action only; AutoCheck toggles Checked first.
  bool Execute() override;
  TCustomActionList* ActionList() const { return FActionList; }
  void SetActionList(TCustomActionList* Value) { FActionList = Value; }
  bool Checked() const { return FChecked; }
  // Each setter tells the links of a change.
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  Integer HelpContext() const { return FHelpContext; }
  void SetHelpContext(Integer Value);
  const String& HelpKeyword() const { return FHelpKeyword; }
  void SetHelpKeyword(const String& Value);
  THelpType HelpType() const { return FHelpType; }
  void SetHelpType(THelpType Value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }

 private:
  TCustomActionList* FActionList = nullptr;
  bool FChecked = false, FEnabled = true, FAutoCheck = false;
  Integer FGroupIndex = 0, FImageIndex = -1, FHelpContext = 0;
  String FHelpKeyword;
  THelpType FHelpType = htKeyword;
};

class TAction : public TCustomAction {
 public:
  using TCustomAction::TCustomAction;
};

// Offers a control an action that looks for a target: LParam the
// TBasicAction; a control that carried it out answers 1.
constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;

// What the application sends out for a new hint when it has no OnHint: the
// visible controls of the active form, then of the main form, are offered it
// (CM_ACTIONEXECUTE) until one takes it (a status bar with AutoHint shows it).
class THintAction : public TCustomAction {
 public:
  using TCustomAction::TCustomAction;
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }

 private:
  String FHint;
};

class TBasicActionLink : public TObject {
 public:
  TBasicActionLink() = default;
  ~TBasicActionLink() override;
  TBasicAction* Action() const { return FAction; }
  // Moves the link to another action (nullptr: none) and runs OnChange.
  void SetAction(TBasicAction* Value);
  // The action's Execute; false without an action.
  virtual bool Execute();
  virtual void AssignClient(TObject*) {}
  // Raised when the link is tied to another action.
  std::function<void(TBasicAction*)> OnChange;

  // What the action tells its links; each does nothing here.
  virtual void SetChecked(bool) {}
  virtual void SetEnabled(bool) {}
  virtual void SetGroupIndex(Integer) {}
  virtual void SetImageIndex(Integer) {}
  virtual void SetHelpContext(Integer) {}
  virtual void SetHelpKeyword(const String&) {}
  virtual void SetHelpType(THelpType) {}

 protected:
  TBasicAction* FAction = nullptr;
};

class TActionLink : public TBasicActionLink {
 public:
  // Whether the client's value follows the action's; true while an action is set.
  virtual bool IsCheckedLinked();
  virtual bool IsEnabledLinked();
  virtual bool IsGroupIndexLinked();
  virtual bool IsImageIndexLinked();
  virtual bool IsHelpLinked();
};

class TControl;
// The link of a control; the client is the control.
class TControlActionLink : public TActionLink {
 public:
  void AssignClient(TObject* AClient) override;
  TControl* Client() const { return FClientControl; }

 protected:
  TControl* FClientControl = nullptr;
};
