#pragma once
// The standard controls: label, edit, memo, button, check box, radio button,
// combo box, list box, check list box and group box. The windowed ones keep a
// Qt widget (platform/vcl/HostedWidget.h) that holds their state and draws
// them, as the class library keeps the system's controls; the messages the
// control does not answer itself reach that widget (DefaultHandler).
#include <memory>

#include "platform/rtl/Strings.h"
#include "platform/vcl/Controls.h"

class THostedWidget;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
// ssHorizontal is also a shift state; the scroll style's is TScrollStyle::ssHorizontal.
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
inline constexpr TScrollStyle ssNone = TScrollStyle::ssNone, ssVertical = TScrollStyle::ssVertical,
                              ssBoth = TScrollStyle::ssBoth;
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// A windowed control whose window content is a hosted Qt widget.
class THostedControl : public TWinControl {
 public:
  explicit THostedControl(TComponent* AOwner);
  ~THostedControl() override;

 protected:
  THostedWidget* Host() const { return FHost.get(); }
  void SetHost(std::unique_ptr<THostedWidget> Host);
  // The widget's answer to WM_GETDLGCODE.
  virtual LRESULT DialogCode() const { return 0; }
  void DefaultHandler(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  // Marks the window for repainting after the widget's state changed.
  void WidgetChanged();

 private:
  std::unique_ptr<THostedWidget> FHost;
};

// A text line in a window of its own.
class TCustomEdit : public THostedControl {
 public:
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;
  // 0 is no limit; a negative value counts as 0.
  Integer MaxLength() const { return FMaxLength; }
  void SetMaxLength(Integer Value);
  // The character shown in place of each typed one; 0 shows the text.
  Char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(Char Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // Selection, 0-based; values are clamped to the text.
  Integer SelStart() const;
  void SetSelStart(Integer Value);
  Integer SelLength() const;
  void SetSelLength(Integer Value);
  String SelText() const;
  // Replaces the selection with Value.
  void SetSelText(const String& Value);
  void SelectAll();
  void Clear() { SetText(String()); }
  // True once the user changed the text (set back by the program).
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  TNotifyEvent OnChange;

 protected:
  virtual void Change();
  void CMTextChanged(TMessage& Message) override;
  LRESULT DialogCode() const override;
  // The widget changed the text (typing, pasting).
  void WidgetTextChanged(const String& Value);

  Integer FMaxLength = 0;
  Char FPasswordChar = 0;
  bool FReadOnly = false;
  bool FModified = false;
  bool FSyncing = false;
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

// Lines of text (plain; the rich edit adds simple formatting).
class TCustomMemo : public TCustomEdit {
 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;
  // The text as lines; changing them changes the text.
  TStrings* Lines() const;
  void SetLines(TStrings* Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }

 protected:
  // For the rich edit: a widget of another kind.
  TCustomMemo(TComponent* AOwner, bool Rich);
  void CMTextChanged(TMessage& Message) override;
  LRESULT DialogCode() const override;
  void LinesChanged();
  virtual void PushText();
  std::unique_ptr<TStringList> FLines;
  bool FWordWrap = true;
  TScrollStyle FScrollBars = ssNone;
  bool FWantReturns = true;
  bool FWantTabs = false;
};

class TMemo : public TCustomMemo {
 public:
  explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};

// Push button, check box and radio button share the click through the widget.
class TButtonControl : public THostedControl {
 public:
  explicit TButtonControl(TComponent* AOwner);

 protected:
  void CMTextChanged(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  void WMKeyUp(TMessage& Message) override;
  LRESULT DialogCode() const override;
  // The widget reports a click (mouse released over it, or the space bar).
  virtual void WidgetClicked() { Click(); }
  friend struct TButtonAccess;
};

class TButton : public TButtonControl {
 public:
  explicit TButton(TComponent* AOwner);
  ~TButton() override;
  // Enter on the form presses the default button (unless another button has the focus).
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  // Escape on the form presses the cancel button.
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  // Set into the parent form's ModalResult on a click.
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  void Click() override;

 protected:
  void CMDialogKey(TMessage& Message) override;
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
};

class TCustomCheckBox : public TButtonControl {
 public:
  explicit TCustomCheckBox(TComponent* AOwner);
  ~TCustomCheckBox() override;
  bool Checked() const { return FState == cbChecked; }
  // Changing the state raises OnClick, as the class library does.
  void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }

 protected:
  // A click moves unchecked -> checked -> grayed (when allowed) -> unchecked.
  virtual void Toggle();
  void WidgetClicked() override { Toggle(); }
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
};

class TCheckBox : public TCustomCheckBox {
 public:
  explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};

// Checking a radio button unchecks the other radio buttons of its parent.
class TRadioButton : public TButtonControl {
 public:
  explicit TRadioButton(TComponent* AOwner);
  ~TRadioButton() override;
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);

 protected:
  void WidgetClicked() override { SetChecked(true); }
  bool FChecked = false;
};

// A list of texts with one selected (or, with MultiSelect, several).
class TCustomListBox : public THostedControl {
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;
  TStrings* Items() const;
  void SetItems(TStrings* Value);
  Integer Count() const;
  // -1 when nothing is selected; an index outside the items selects nothing.
  Integer ItemIndex() const;
  void SetItemIndex(Integer Value);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  // A bad index raises EListError "List index out of bounds (<n>)".
  bool Selected(Integer Index) const;
  void SetSelected(Integer Index, bool Value);
  Integer SelCount() const;
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  void Clear();
  // The item at the client point; -1 (or, unless Existing, Count) when none.
  Integer ItemAtPos(TPoint Pos, bool Existing) const;
  // The item's rectangle in client coordinates.
  TRect ItemRect(Integer Index) const;

 protected:
  TCustomListBox(TComponent* AOwner, bool Checkable);
  LRESULT DialogCode() const override;
  void CheckIndex(Integer Index) const;
  void ItemsChanged();
  std::unique_ptr<TStringList> FItems;
  bool FMultiSelect = false;
  bool FSorted = false;
  bool FSyncing = false;
};

class TListBox : public TCustomListBox {
 public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

// A list box with a check box in front of each item.
class TCheckListBox : public TCustomListBox {
 public:
  explicit TCheckListBox(TComponent* AOwner);
  // A bad index raises EListError.
  bool Checked(Integer Index) const;
  void SetChecked(Integer Index, bool Value);
  // A disabled item shows greyed and its check box cannot be changed by the
  // user (the program still can). A bad index raises EListError.
  bool ItemEnabled(Integer Index) const;
  void SetItemEnabled(Integer Index, bool Value);
  // Raised when the user toggles an item's check box.
  TNotifyEvent OnClickCheck;

 protected:
  friend struct TCheckListAccess;
  void ClickCheck();
};

// An edit line with a drop-down list; csDropDownList allows only the list's texts.
class TCustomComboBox : public THostedControl {
 public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  TStrings* Items() const;
  void SetItems(TStrings* Value);
  // -1 when no item is chosen; an index outside the items chooses none.
  Integer ItemIndex() const;
  void SetItemIndex(Integer Value);
  Integer DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(Integer Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  bool DroppedDown() const;
  void SetDroppedDown(bool Value);
  void Clear();
  // The user changed the text or chose an item.
  TNotifyEvent OnChange;
  // The user chose an item from the list.
  TNotifyEvent OnSelect;
  // The list is about to open (the handler may refill it).
  TNotifyEvent OnDropDown;

 protected:
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  void CMTextChanged(TMessage& Message) override;
  LRESULT DialogCode() const override;
  void ItemsChanged();
  void WidgetIndexChanged(bool ByUser);
  std::unique_ptr<TStringList> FItems;
  TComboBoxStyle FStyle = csDropDown;
  Integer FDropDownCount = 8;
  bool FSorted = false;
  bool FSyncing = false;
  friend struct TComboAccess;
};

class TComboBox : public TCustomComboBox {
 public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};

// A frame with a caption around other controls.
class TGroupBox : public THostedControl {
 public:
  explicit TGroupBox(TComponent* AOwner);

 protected:
  void AdjustClientRect(TRect& Rect) override;
  void CMTextChanged(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
};

// Text drawn on the parent; with AutoSize it fits its text, with WordWrap it
// breaks lines at its width.
class TCustomLabel : public TGraphicControl {
 public:
  explicit TCustomLabel(TComponent* AOwner);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
  void SetTransparent(bool Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  // The control that gets the focus when the label's accelerator is pressed.
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  void SetAutoSize(bool Value) override;
  void AdjustSize() override;

 protected:
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  // Draws or measures (DT_CALCRECT) the caption.
  void DoDrawText(TRect& Rect, UINT Flags);
  void AdjustBounds();
  String LabelText() const;

  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
 public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

// Declares the standard controls and their published properties to the type information.
void RegisterStdCtrlsClasses();
