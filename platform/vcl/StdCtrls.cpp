// Standard controls on hosted Qt widgets, and the label drawn with the text calls.
#include "platform/vcl/StdCtrls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmapCache>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextEdit>
#include <algorithm>
#include <map>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/QtString.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/HostedWidget.h"
#include "platform/vcl/ImageCodec.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Window.h"

namespace {

// "&File" shows as "File" with an underline in Qt's own accelerator syntax,
// which uses the same marker; "&&" is a literal "&" in both.
QString ButtonText(const String& s) { return ToQString(s); }

// Draws a chosen character in place of each character of a password.
class TPasswordStyle : public QProxyStyle {
 public:
  explicit TPasswordStyle(Char Ch) : FCh(Ch) {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* ret) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return FCh;
    return QProxyStyle::styleHint(hint, option, widget, ret);
  }

 private:
  Char FCh;
};

QStyle* PasswordStyle(Char ch) {
  static std::map<Char, QStyle*> styles;  // owned by the application object
  auto it = styles.find(ch);
  if (it != styles.end()) return it->second;
  auto* st = new TPasswordStyle(ch);
  st->setParent(qApp);
  QObject::connect(st, &QObject::destroyed, [ch] { styles.erase(ch); });
  styles[ch] = st;
  return st;
}

void CheckListIndex(Integer Index, Integer Count) {
  if (Index < 0 || Index >= Count)
    throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
}

}  // namespace

// ---------------------------------------------------------------------------
// THostedControl

THostedControl::THostedControl(TComponent* AOwner) : TWinControl(AOwner) {
  FTabStop = true;
  FParentColor = false;
  FControlStyle.Exclude(csClickEvents);  // clicks come from the widget
}

THostedControl::~THostedControl() = default;

void THostedControl::SetHost(std::unique_ptr<THostedWidget> Host) { FHost = std::move(Host); }

void THostedControl::WidgetChanged() { Invalidate(); }

void THostedControl::Dispatch(TMessage& M) {
  if (M.Msg == WM_GETDLGCODE) {
    M.Result = DialogCode();
    return;
  }
  TWinControl::Dispatch(M);
  switch (M.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A press that opened a pop-up (a combo box's list) hands it the mouse,
      // as the system's list takes the capture: the release goes there.
      if (QApplication::activePopupWidget() != nullptr && MouseCapture()) SetMouseCapture(false);
      break;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case WM_SIZE:
      Invalidate();
      break;
    default: break;
  }
}

void THostedControl::DefaultHandler(TMessage& M) {
  if (FHost == nullptr) {
    TWinControl::DefaultHandler(M);
    return;
  }
  switch (M.Msg) {
    case WM_PAINT: {
      if (M.WParam != 0) {
        FHost->Render(reinterpret_cast<HDC>(M.WParam), this);
      } else {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        if (dc != nullptr) FHost->Render(dc, this);
        EndPaint(Handle(), &ps);
      }
      return;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      if (!Enabled()) return;
      // The capture ends before the release reaches the widget, as the
      // system's controls let go before they report a click: what the click
      // starts (a nested loop, a download that waits for Cancel) gets the mouse.
      if (M.Msg == WM_LBUTTONUP && MouseCapture()) SetMouseCapture(false);
      FHost->Sync(this);
      FHost->ForwardMouse(M);
      if (M.Msg != WM_MOUSEMOVE || (M.WParam & MK_LBUTTON)) Invalidate();
      return;
    case WM_KEYDOWN:
      FHost->ForwardKeyDown(Word(M.WParam), KeyDataToShiftState(M.LParam));
      Invalidate();
      return;
    case WM_SYSKEYDOWN:
      // Alt+Down and Alt+Up open and close a combo box's list.
      if (M.WParam == VK_DOWN || M.WParam == VK_UP) {
        FHost->ForwardKeyDown(Word(M.WParam), KeyDataToShiftState(M.LParam));
        Invalidate();
        return;
      }
      TWinControl::DefaultHandler(M);
      return;
    case WM_CHAR:
      FHost->ForwardChar(Char(M.WParam));
      Invalidate();
      return;
    default: TWinControl::DefaultHandler(M);
  }
}

// ---------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : THostedControl(AOwner) {
  FColor = clWindow;
  FCursor = crIBeam;
  SetBounds(0, 0, 121, 21);
  auto* w = new QLineEdit;
  w->setFrame(true);
  SetHost(std::make_unique<THostedWidget>(w));
  QObject::connect(w, &QLineEdit::textChanged, [this](const QString& t) { WidgetTextChanged(FromQString(t)); });
  QObject::connect(w, &QLineEdit::cursorPositionChanged, [this] { WidgetChanged(); });
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::WidgetTextChanged(const String& Value) {
  if (FSyncing) return;
  FSyncing = true;
  SetText(Value);  // WM_SETTEXT, CM_TEXTCHANGED, OnChange
  FSyncing = false;
  FModified = true;
  WidgetChanged();
}

void TCustomEdit::CMTextChanged(TMessage& M) {
  THostedControl::CMTextChanged(M);
  if (auto* w = qobject_cast<QLineEdit*>(Host()->Widget()); w != nullptr && !FSyncing) {
    FSyncing = true;
    w->setText(ToQString(FText));
    FSyncing = false;
    FModified = false;
  }
  WidgetChanged();
  Change();
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

LRESULT TCustomEdit::DialogCode() const { return DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL; }

void TCustomEdit::SetMaxLength(Integer Value) {
  FMaxLength = std::max(Value, 0);
  if (auto* w = qobject_cast<QLineEdit*>(Host()->Widget())) w->setMaxLength(FMaxLength == 0 ? 32767 : FMaxLength);
}

void TCustomEdit::SetPasswordChar(Char Value) {
  FPasswordChar = Value;
  if (auto* w = qobject_cast<QLineEdit*>(Host()->Widget())) {
    if (Value == 0) {
      w->setEchoMode(QLineEdit::Normal);
      w->setStyle(nullptr);
    } else {
      w->setStyle(PasswordStyle(Value));
      w->setEchoMode(QLineEdit::Password);
    }
  }
  WidgetChanged();
}

void TCustomEdit::SetReadOnly(bool Value) {
  FReadOnly = Value;
  if (auto* w = qobject_cast<QLineEdit*>(Host()->Widget())) w->setReadOnly(Value);
  if (auto* w = qobject_cast<QPlainTextEdit*>(Host()->Widget())) w->setReadOnly(Value);
  if (auto* w = qobject_cast<QTextEdit*>(Host()->Widget())) w->setReadOnly(Value);
}

namespace {
// Selection of either kind of text widget as (start, length).
std::pair<int, int> SelectionOf(QWidget* widget) {
  if (auto* w = qobject_cast<QLineEdit*>(widget)) {
    if (!w->hasSelectedText()) return {w->cursorPosition(), 0};
    return {w->selectionStart(), w->selectionLength()};
  }
  QTextCursor c;
  if (auto* w = qobject_cast<QPlainTextEdit*>(widget)) c = w->textCursor();
  else if (auto* w = qobject_cast<QTextEdit*>(widget)) c = w->textCursor();
  else return {0, 0};
  return {c.selectionStart(), c.selectionEnd() - c.selectionStart()};
}

void Select(QWidget* widget, int start, int length) {
  if (auto* w = qobject_cast<QLineEdit*>(widget)) {
    const int n = int(w->text().size());
    start = std::clamp(start, 0, n);
    length = std::clamp(length, 0, n - start);
    w->setSelection(start, length);
    if (length == 0) w->setCursorPosition(start);
    return;
  }
  auto apply = [&](auto* w) {
    QTextCursor c = w->textCursor();
    const int n = w->document()->characterCount() - 1;
    start = std::clamp(start, 0, n);
    length = std::clamp(length, 0, n - start);
    c.setPosition(start);
    c.setPosition(start + length, QTextCursor::KeepAnchor);
    w->setTextCursor(c);
  };
  if (auto* w = qobject_cast<QPlainTextEdit*>(widget)) apply(w);
  else if (auto* w = qobject_cast<QTextEdit*>(widget)) apply(w);
}
}  // namespace

Integer TCustomEdit::SelStart() const { return SelectionOf(Host()->Widget()).first; }
Integer TCustomEdit::SelLength() const { return SelectionOf(Host()->Widget()).second; }
void TCustomEdit::SetSelStart(Integer Value) { ::Select(Host()->Widget(), Value, 0); }
void TCustomEdit::SetSelLength(Integer Value) { ::Select(Host()->Widget(), SelStart(), Value); }
String TCustomEdit::SelText() const {
  const auto [s, n] = SelectionOf(Host()->Widget());
  return FText.substr(std::min<std::size_t>(std::size_t(s), FText.size()), std::size_t(n));
}
void TCustomEdit::SetSelText(const String& Value) {
  if (auto* w = qobject_cast<QLineEdit*>(Host()->Widget())) w->insert(ToQString(Value));
  else if (auto* w = qobject_cast<QPlainTextEdit*>(Host()->Widget())) w->insertPlainText(ToQString(Value));
  else if (auto* w = qobject_cast<QTextEdit*>(Host()->Widget())) w->insertPlainText(ToQString(Value));
}
void TCustomEdit::SelectAll() { ::Select(Host()->Widget(), 0, Integer(FText.size())); }

// ---------------------------------------------------------------------------
// TCustomMemo

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomMemo(AOwner, false) {}

TCustomMemo::TCustomMemo(TComponent* AOwner, bool Rich) : TCustomEdit(AOwner), FLines(std::make_unique<TStringList>()) {
  SetBounds(0, 0, 185, 89);
  QWidget* w;
  if (Rich) {
    auto* t = new QTextEdit;
    t->setAcceptRichText(false);
    QObject::connect(t, &QTextEdit::textChanged, [this, t] { WidgetTextChanged(FromQString(t->toPlainText())); });
    w = t;
  } else {
    auto* t = new QPlainTextEdit;
    QObject::connect(t, &QPlainTextEdit::textChanged, [this, t] { WidgetTextChanged(FromQString(t->toPlainText())); });
    w = t;
  }
  SetHost(std::make_unique<THostedWidget>(w));
  SetScrollBars(ssNone);
  SetWordWrap(true);
  FLines->OnChange = [this](TObject*) { LinesChanged(); };
}

TCustomMemo::~TCustomMemo() { FLines->OnChange = nullptr; }

TStrings* TCustomMemo::Lines() const { return FLines.get(); }
void TCustomMemo::SetLines(TStrings* Value) { FLines->Assign(Value); }

void TCustomMemo::LinesChanged() {
  if (FSyncing) return;
  String text = FLines->Text();
  // The memo's text has no line break after its last line.
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, u"\r\n") == 0) text.resize(text.size() - 2);
  else if (!text.empty() && text.back() == u'\n') text.pop_back();
  SetText(text);
}

void TCustomMemo::CMTextChanged(TMessage& M) {
  THostedControl::CMTextChanged(M);
  if (!FSyncing) {
    FSyncing = true;
    PushText();
    FSyncing = false;
    FModified = false;
  }
  // The lines follow the text, whoever changed it.
  const bool was = FSyncing;
  FSyncing = true;
  FLines->SetText(FText);
  FSyncing = was;
  WidgetChanged();
  Change();
}

void TCustomMemo::PushText() {
  if (auto* w = qobject_cast<QPlainTextEdit*>(Host()->Widget())) w->setPlainText(ToQString(FText));
  else if (auto* w = qobject_cast<QTextEdit*>(Host()->Widget())) w->setPlainText(ToQString(FText));
}

LRESULT TCustomMemo::DialogCode() const {
  LRESULT r = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
  if (FWantReturns) r |= DLGC_WANTALLKEYS;
  if (FWantTabs) r |= DLGC_WANTTAB;
  return r;
}

void TCustomMemo::SetWordWrap(bool Value) {
  FWordWrap = Value;
  if (auto* w = qobject_cast<QPlainTextEdit*>(Host()->Widget()))
    w->setLineWrapMode(Value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  else if (auto* w = qobject_cast<QTextEdit*>(Host()->Widget()))
    w->setLineWrapMode(Value ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
  WidgetChanged();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  FScrollBars = Value;
  if (auto* w = qobject_cast<QAbstractScrollArea*>(Host()->Widget())) {
    const bool h = Value == TScrollStyle::ssHorizontal || Value == ssBoth, v = Value == ssVertical || Value == ssBoth;
    w->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    w->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  }
  WidgetChanged();
}

// ---------------------------------------------------------------------------
// Buttons

TButtonControl::TButtonControl(TComponent* AOwner) : THostedControl(AOwner) { FColor = clBtnFace; }

void TButtonControl::CMTextChanged(TMessage& M) {
  THostedControl::CMTextChanged(M);
  if (auto* b = qobject_cast<QAbstractButton*>(Host()->Widget())) b->setText(ButtonText(FText));
  else if (auto* g = qobject_cast<QGroupBox*>(Host()->Widget())) g->setTitle(ButtonText(FText));
  WidgetChanged();
}

void TButtonControl::CMDialogChar(TMessage& M) {
  if (IsAccel(Word(M.WParam), FText) && CanFocus()) {
    SetFocus();
    WidgetClicked();
    M.Result = 1;
    return;
  }
  THostedControl::CMDialogChar(M);
}

void TButtonControl::WMKeyUp(TMessage& M) {
  THostedControl::WMKeyUp(M);
  // The space bar presses a focused button, as the system's buttons do.
  if (M.WParam == VK_SPACE) WidgetClicked();
}

LRESULT TButtonControl::DialogCode() const { return DLGC_BUTTON; }

namespace {
template <class W>
W* MakeButton(THostedControl* self, const std::function<void()>& clicked) {
  auto* w = new W;
  // The control keeps the checked state itself.
  if constexpr (!std::is_same_v<W, QPushButton>) {
    w->setAutoExclusive(false);
    w->setCheckable(false);
  }
  QObject::connect(w, &QAbstractButton::clicked, [clicked] { clicked(); });
  (void)self;
  return w;
}
}  // namespace

struct TButtonAccess {
  static void Clicked(TButtonControl* b) { b->WidgetClicked(); }
};

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 75, 25);
  SetHost(std::make_unique<THostedWidget>(MakeButton<QPushButton>(this, [this] { TButtonAccess::Clicked(this); })));
}

TButton::~TButton() = default;

void TButton::SetDefault(bool Value) {
  FDefault = Value;
  if (auto* b = qobject_cast<QPushButton*>(Host()->Widget())) b->setDefault(Value);
  WidgetChanged();
}

void TButton::Click() {
  if (FModalResult != mrNone)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TButtonControl::Click();
}

void TButton::CMDialogKey(TMessage& M) {
  const bool enter = M.WParam == VK_RETURN && FDefault;
  const bool escape = M.WParam == VK_ESCAPE && FCancel;
  if ((enter || escape) && KeyDataToShiftState(M.LParam).Empty() && IsVisible() && Enabled()) {
    // Enter belongs to a focused button that is not the default one.
    TWinControl* focused = nullptr;
    if (TCustomForm* form = GetParentForm(this)) focused = form->ActiveControl();
    if (!(enter && focused != this && dynamic_cast<TButton*>(focused) != nullptr)) {
      Click();
      M.Result = 1;
      return;
    }
  }
  TButtonControl::CMDialogKey(M);
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 97, 17);
  auto* w = MakeButton<QCheckBox>(this, [this] { TButtonAccess::Clicked(this); });
  w->setCheckable(true);
  w->setTristate(true);
  // Qt would toggle on its own; the control decides and writes the state back.
  QObject::connect(w, &QCheckBox::stateChanged, [this, w](int) {
    const Qt::CheckState want = FState == cbChecked ? Qt::Checked : FState == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked;
    if (w->checkState() != want) w->setCheckState(want);
  });
  SetHost(std::make_unique<THostedWidget>(w));
}

TCustomCheckBox::~TCustomCheckBox() = default;

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (FState == Value) return;
  FState = Value;
  if (auto* w = qobject_cast<QCheckBox*>(Host()->Widget()))
    w->setCheckState(Value == cbChecked ? Qt::Checked : Value == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
  WidgetChanged();
  Click();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 113, 17);
  auto* w = MakeButton<QRadioButton>(this, [this] { TButtonAccess::Clicked(this); });
  w->setCheckable(true);
  QObject::connect(w, &QRadioButton::toggled, [this, w](bool on) {
    if (on != FChecked) w->setChecked(FChecked);
  });
  SetHost(std::make_unique<THostedWidget>(w));
}

TRadioButton::~TRadioButton() = default;

void TRadioButton::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  if (auto* w = qobject_cast<QRadioButton*>(Host()->Widget())) w->setChecked(Value);
  WidgetChanged();
  if (!Value) return;
  if (FParent != nullptr)
    for (Integer i = 0; i < FParent->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TRadioButton*>(FParent->Controls(i)); other != nullptr && other != this)
        other->SetChecked(false);
  Click();
}

// ---------------------------------------------------------------------------
// List box and check list box

TCustomListBox::TCustomListBox(TComponent* AOwner) : TCustomListBox(AOwner, false) {}

TCustomListBox::TCustomListBox(TComponent* AOwner, bool Checkable)
    : THostedControl(AOwner), FItems(std::make_unique<TStringList>()) {
  FColor = clWindow;
  SetBounds(0, 0, 121, 97);
  auto* w = new QListWidget;
  w->setSelectionMode(QAbstractItemView::SingleSelection);
  SetHost(std::make_unique<THostedWidget>(w));
  FItems->OnChange = [this](TObject*) { ItemsChanged(); };
  QObject::connect(w, &QListWidget::currentRowChanged, [this](int) {
    WidgetChanged();
    if (!FSyncing) Click();
  });
  QObject::connect(w, &QListWidget::itemSelectionChanged, [this] { WidgetChanged(); });
  // A double click on an entry, as the system's list reports it (the control
  // itself takes no click events).
  QObject::connect(w, &QListWidget::itemDoubleClicked, [this](QListWidgetItem*) { DblClick(); });
  if (Checkable)
    QObject::connect(w, &QListWidget::itemChanged, [this](QListWidgetItem*) {
      WidgetChanged();
      if (!FSyncing) static_cast<TCheckListBox*>(this)->OnClickCheck ? static_cast<TCheckListBox*>(this)->OnClickCheck(this) : void();
    });
}

TCustomListBox::~TCustomListBox() { FItems->OnChange = nullptr; }

TStrings* TCustomListBox::Items() const { return FItems.get(); }
void TCustomListBox::SetItems(TStrings* Value) { FItems->Assign(Value); }
Integer TCustomListBox::Count() const { return FItems->Count(); }

void TCustomListBox::ItemsChanged() {
  auto* w = static_cast<QListWidget*>(Host()->Widget());
  FSyncing = true;
  const int row = w->currentRow();
  // Check marks stay with their positions (the list is rebuilt from the texts).
  std::vector<bool> checks, enabled;
  for (int i = 0; i < w->count(); ++i) {
    checks.push_back(w->item(i)->checkState() == Qt::Checked);
    enabled.push_back((w->item(i)->flags() & Qt::ItemIsEnabled) != 0);
  }
  const bool checkable = dynamic_cast<TCheckListBox*>(this) != nullptr;
  w->clear();
  for (Integer i = 0; i < FItems->Count(); ++i) {
    auto* item = new QListWidgetItem(ToQString(FItems->Strings(i)), w);
    if (checkable) {
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(std::size_t(i) < checks.size() && checks[std::size_t(i)] ? Qt::Checked : Qt::Unchecked);
      if (std::size_t(i) < enabled.size() && !enabled[std::size_t(i)])
        item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable));
    }
  }
  w->setCurrentRow(row < w->count() ? row : -1);
  FSyncing = false;
  WidgetChanged();
}

Integer TCustomListBox::ItemIndex() const { return static_cast<QListWidget*>(Host()->Widget())->currentRow(); }

void TCustomListBox::SetItemIndex(Integer Value) {
  auto* w = static_cast<QListWidget*>(Host()->Widget());
  FSyncing = true;
  if (Value < 0 || Value >= w->count()) {
    w->setCurrentRow(-1);
    w->clearSelection();
  } else {
    w->setCurrentRow(Value);
  }
  FSyncing = false;
  WidgetChanged();
}

void TCustomListBox::SetMultiSelect(bool Value) {
  FMultiSelect = Value;
  static_cast<QListWidget*>(Host()->Widget())
      ->setSelectionMode(Value ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void TCustomListBox::CheckIndex(Integer Index) const { CheckListIndex(Index, Count()); }

bool TCustomListBox::Selected(Integer Index) const {
  CheckIndex(Index);
  return static_cast<QListWidget*>(Host()->Widget())->item(Index)->isSelected();
}

void TCustomListBox::SetSelected(Integer Index, bool Value) {
  CheckIndex(Index);
  auto* w = static_cast<QListWidget*>(Host()->Widget());
  FSyncing = true;
  if (!FMultiSelect && Value) w->setCurrentRow(Index);
  else w->item(Index)->setSelected(Value);
  FSyncing = false;
  WidgetChanged();
}

Integer TCustomListBox::SelCount() const {
  if (!FMultiSelect) return -1;  // as the system's single-selection list answers
  return Integer(static_cast<QListWidget*>(Host()->Widget())->selectedItems().size());
}

void TCustomListBox::SetSorted(bool Value) {
  FSorted = Value;
  FItems->SetSorted(Value);
}

void TCustomListBox::Clear() { FItems->Clear(); }

Integer TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) const {
  auto* w = static_cast<QListWidget*>(Host()->Widget());
  Host()->Sync(const_cast<TCustomListBox*>(this));
  const QPoint vp = w->viewport()->mapFrom(w, QPoint(Pos.X, Pos.Y));
  const QModelIndex i = w->indexAt(vp);
  if (i.isValid()) return i.row();
  return Existing ? -1 : Count();
}

TRect TCustomListBox::ItemRect(Integer Index) const {
  auto* w = static_cast<QListWidget*>(Host()->Widget());
  if (Index < 0 || Index >= w->count()) return {};
  Host()->Sync(const_cast<TCustomListBox*>(this));
  QRect r = w->visualItemRect(w->item(Index));
  r.translate(w->viewport()->mapTo(w, QPoint(0, 0)));
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

LRESULT TCustomListBox::DialogCode() const { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner, true) {}

bool TCheckListBox::Checked(Integer Index) const {
  CheckIndex(Index);
  return static_cast<QListWidget*>(Host()->Widget())->item(Index)->checkState() == Qt::Checked;
}

void TCheckListBox::SetChecked(Integer Index, bool Value) {
  CheckIndex(Index);
  FSyncing = true;
  static_cast<QListWidget*>(Host()->Widget())->item(Index)->setCheckState(Value ? Qt::Checked : Qt::Unchecked);
  FSyncing = false;
  WidgetChanged();
}

bool TCheckListBox::ItemEnabled(Integer Index) const {
  CheckIndex(Index);
  return (static_cast<QListWidget*>(Host()->Widget())->item(Index)->flags() & Qt::ItemIsEnabled) != 0;
}

void TCheckListBox::SetItemEnabled(Integer Index, bool Value) {
  CheckIndex(Index);
  QListWidgetItem* item = static_cast<QListWidget*>(Host()->Widget())->item(Index);
  const Qt::ItemFlags both = Qt::ItemIsEnabled | Qt::ItemIsUserCheckable;
  FSyncing = true;
  item->setFlags(Value ? item->flags() | both : item->flags() & ~both);
  FSyncing = false;
  WidgetChanged();
}

void TCheckListBox::ClickCheck() {
  if (OnClickCheck) OnClickCheck(this);
}

// ---------------------------------------------------------------------------
// Combo box

namespace {
// Tells its control before the list opens, so the list can be refilled first.
class TStdCtrlsComboWidget : public QComboBox {
 public:
  std::function<void()> BeforePopup;
  void showPopup() override {
    if (BeforePopup) BeforePopup();
    QComboBox::showPopup();
  }
};
}  // namespace

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : THostedControl(AOwner), FItems(std::make_unique<TStringList>()) {
  FColor = clWindow;
  SetBounds(0, 0, 145, 21);
  auto* w = new TStdCtrlsComboWidget;
  w->BeforePopup = [this] { DropDown(); };
  w->setEditable(true);
  w->setInsertPolicy(QComboBox::NoInsert);
  SetHost(std::make_unique<THostedWidget>(w));
  FItems->OnChange = [this](TObject*) { ItemsChanged(); };
  QObject::connect(w, &QComboBox::activated, [this](int) { WidgetIndexChanged(true); });
  QObject::connect(w, &QComboBox::currentIndexChanged, [this](int) { WidgetIndexChanged(false); });
  QObject::connect(w, &QComboBox::editTextChanged, [this](const QString& t) {
    if (FSyncing) return;
    FSyncing = true;
    SetText(FromQString(t));
    FSyncing = false;
    WidgetChanged();
    Change();
  });
}

TCustomComboBox::~TCustomComboBox() { FItems->OnChange = nullptr; }

TStrings* TCustomComboBox::Items() const { return FItems.get(); }
void TCustomComboBox::SetItems(TStrings* Value) { FItems->Assign(Value); }

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  FStyle = Value;
  auto* w = static_cast<QComboBox*>(Host()->Widget());
  FSyncing = true;
  w->setEditable(Value == csDropDown || Value == csSimple);
  if (w->isEditable()) w->setInsertPolicy(QComboBox::NoInsert);
  FSyncing = false;
  WidgetChanged();
}

void TCustomComboBox::ItemsChanged() {
  auto* w = static_cast<QComboBox*>(Host()->Widget());
  FSyncing = true;
  const int index = w->currentIndex();
  w->clear();
  for (Integer i = 0; i < FItems->Count(); ++i) w->addItem(ToQString(FItems->Strings(i)));
  w->setCurrentIndex(index < w->count() ? index : -1);
  // An edit line keeps its text when the list changes.
  if (w->isEditable()) w->setEditText(ToQString(FText));
  else FText = w->currentIndex() >= 0 ? FromQString(w->currentText()) : String();
  FSyncing = false;
  WidgetChanged();
}

Integer TCustomComboBox::ItemIndex() const { return static_cast<QComboBox*>(Host()->Widget())->currentIndex(); }

void TCustomComboBox::SetItemIndex(Integer Value) {
  auto* w = static_cast<QComboBox*>(Host()->Widget());
  FSyncing = true;
  w->setCurrentIndex(Value >= 0 && Value < w->count() ? Value : -1);
  if (w->currentIndex() < 0 && w->isEditable()) w->setEditText(QString());
  FText = w->currentIndex() >= 0 ? FromQString(w->currentText()) : (w->isEditable() ? FText : String());
  if (w->currentIndex() < 0) FText.clear();
  FSyncing = false;
  WidgetChanged();
}

void TCustomComboBox::WidgetIndexChanged(bool ByUser) {
  if (FSyncing) return;
  auto* w = static_cast<QComboBox*>(Host()->Widget());
  if (!ByUser) {
    // Keys move the choice without "activated"; both count as the user's choice.
    FSyncing = true;
    FText = w->currentIndex() >= 0 ? FromQString(w->currentText()) : String();
    FSyncing = false;
    WidgetChanged();
    Change();
    Select();
    return;
  }
  WidgetChanged();
}

void TCustomComboBox::CMTextChanged(TMessage& M) {
  THostedControl::CMTextChanged(M);
  if (FSyncing) return;
  auto* w = static_cast<QComboBox*>(Host()->Widget());
  FSyncing = true;
  if (w->isEditable()) {
    w->setEditText(ToQString(FText));
  } else {
    const int i = w->findText(ToQString(FText), Qt::MatchFixedString);
    w->setCurrentIndex(i);
  }
  FSyncing = false;
  WidgetChanged();
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}
void TCustomComboBox::Select() {
  if (OnSelect) OnSelect(this);
}
void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::SetDropDownCount(Integer Value) {
  FDropDownCount = std::max(Value, 1);
  static_cast<QComboBox*>(Host()->Widget())->setMaxVisibleItems(FDropDownCount);
}

void TCustomComboBox::SetSorted(bool Value) {
  FSorted = Value;
  FItems->SetSorted(Value);
}

bool TCustomComboBox::DroppedDown() const { return static_cast<QComboBox*>(Host()->Widget())->view()->isVisible(); }

void TCustomComboBox::SetDroppedDown(bool Value) {
  auto* w = static_cast<QComboBox*>(Host()->Widget());
  Host()->Sync(this);
  if (Value) w->showPopup();
  else w->hidePopup();
}

void TCustomComboBox::Clear() {
  FItems->Clear();
  SetText(String());
}

LRESULT TCustomComboBox::DialogCode() const { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

// ---------------------------------------------------------------------------
// Group box

namespace {

// The toolkit's style draws a group box's frame from a picture it opens by
// file name, and a picture opened by name first asks every image plugin of
// the toolkit (loading them and the libraries behind them: time and memory
// at start). The picture is read once here by its own decoder and put where
// the style looks first, the pixmap cache, under the key the toolkit gives a
// file: its path, then the hexadecimal bytes (low digit first) of its time,
// its size and the pixmap type. Were the key another in some toolkit version,
// the style would read the file itself, as it did.
QString FileHex(const void* Data, int Size) {
  static constexpr char kDigits[] = "0123456789abcdef";
  QString s;
  const auto* p = static_cast<const unsigned char*>(Data);
  for (int i = 0; i < Size; ++i) {
    s += QLatin1Char(kDigits[p[i] & 0xF]);
    s += QLatin1Char(kDigits[p[i] >> 4]);
  }
  return s;
}

void PreloadGroupBoxFrame() {
  static bool tried = false;
  if (tried || QApplication::instance() == nullptr) return;
  tried = true;
  const QString path = QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png");
  const QFileInfo info(path);
  if (!info.exists()) return;
  const uint time = uint(info.lastModified().toSecsSinceEpoch());
  const quint64 size = quint64(info.size());
  const uint pixmapType = 0;
  const QString key = QStringLiteral("qt_pixmap") + info.absoluteFilePath() + FileHex(&time, sizeof time) +
                      FileHex(&size, sizeof size) + FileHex(&pixmapType, sizeof pixmapType);
  QPixmap cached;
  if (QPixmapCache::find(key, &cached)) return;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return;
  const QByteArray bytes = file.readAll();
  QImage image = image_codec::Decode(TBytes(bytes.begin(), bytes.end()), "png");
  if (!image.isNull()) QPixmapCache::insert(key, QPixmap::fromImage(std::move(image)));
}

}  // namespace

TGroupBox::TGroupBox(TComponent* AOwner) : THostedControl(AOwner) {
  PreloadGroupBoxFrame();
  FControlStyle.Include(csAcceptsControls);
  FColor = clBtnFace;
  FParentColor = true;
  FTabStop = false;
  SetBounds(0, 0, 185, 105);
  SetHost(std::make_unique<THostedWidget>(new QGroupBox));
}

void TGroupBox::AdjustClientRect(TRect& R) {
  THostedControl::AdjustClientRect(R);
  const Integer h = std::max(Font()->Height() < 0 ? -Font()->Height() : Font()->Height(), 8) + 4;
  R.Left += 2;
  R.Top += h;
  R.Right -= 2;
  R.Bottom -= 2;
}

void TGroupBox::CMTextChanged(TMessage& M) {
  THostedControl::CMTextChanged(M);
  static_cast<QGroupBox*>(Host()->Widget())->setTitle(ButtonText(FText));
  Realign();
  WidgetChanged();
}

void TGroupBox::CMDialogChar(TMessage& M) {
  if (IsAccel(Word(M.WParam), FText) && CanFocus()) {
    SelectNext(nullptr, true, true);
    M.Result = 1;
    return;
  }
  THostedControl::CMDialogChar(M);
}

// ---------------------------------------------------------------------------
// TCustomLabel

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csOpaque);
  FControlStyle.Include(csReplicatable);
  FColor = clBtnFace;
  FAutoSize = true;
  SetBounds(0, 0, 65, 17);
}

String TCustomLabel::LabelText() const { return FText; }

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
  String text = LabelText();
  if ((Flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == u"&"))) text += u" ";
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  TCanvas* c = Canvas();
  c->SetFont(Font());
  c->Brush()->SetStyle(bsClear);
  if (!Enabled()) {
    OffsetRect(&Rect, 1, 1);
    c->Font()->SetColor(clBtnHighlight);
    DrawTextW(c->Handle(), text.data(), Integer(text.size()), &Rect, Flags);
    OffsetRect(&Rect, -1, -1);
    c->Font()->SetColor(clBtnShadow);
  }
  DrawTextW(c->Handle(), text.data(), Integer(text.size()), &Rect, Flags);
}

void TCustomLabel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  if (!Transparent()) {
    c->Brush()->SetColor(FColor);
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(r);
  }
  UINT flags = DT_EXPANDTABS | (FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT);
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (FLayout != tlTop) {
    TRect calc = r;
    DoDrawText(calc, flags | DT_CALCRECT);
    const Integer h = calc.Height();
    r.Top = FLayout == tlBottom ? r.Bottom - h : r.Top + (r.Height() - h) / 2;
  }
  DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
  TRect r = ClientRect();
  HDC dc = GetDC(nullptr);
  Canvas()->SetHandle(dc);
  UINT flags = DT_EXPANDTABS | DT_CALCRECT;
  if (FWordWrap) flags |= DT_WORDBREAK;
  DoDrawText(r, flags);
  Canvas()->SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  Integer x = FLeft;
  // A right-aligned label keeps its right edge, a centred one its middle.
  if (FAlignment == taRightJustify) x += FWidth - r.Right;
  else if (FAlignment == taCenter) x += (FWidth - r.Right) / 2;
  SetBounds(x, FTop, r.Right, r.Bottom);
}

void TCustomLabel::AdjustSize() { AdjustBounds(); }

void TCustomLabel::SetAutoSize(bool Value) {
  TGraphicControl::SetAutoSize(Value);
  AdjustBounds();
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Invalidate();
}
void TCustomLabel::SetLayout(TTextLayout Value) {
  FLayout = Value;
  Invalidate();
}
void TCustomLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}
void TCustomLabel::SetTransparent(bool Value) {
  if (Value) FControlStyle.Exclude(csOpaque);
  else FControlStyle.Include(csOpaque);
  Invalidate();
}
void TCustomLabel::SetShowAccelChar(bool Value) {
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl != nullptr) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      Invalidate();
      AdjustBounds();
      break;
    case CM_DIALOGCHAR:
      if (FFocusControl != nullptr && Enabled() && FShowAccelChar && IsAccel(Word(M.WParam), FText) &&
          FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        M.Result = 1;
        return;
      }
      break;
    default: break;
  }
  TGraphicControl::Dispatch(M);
}

// ---------------------------------------------------------------------------

void RegisterStdCtrlsClasses() {
  RegisterEnum<TAlignment>(u"TAlignment", {u"taLeftJustify", u"taRightJustify", u"taCenter"});
  RegisterEnum<TTextLayout>(u"TTextLayout", {u"tlTop", u"tlCenter", u"tlBottom"});
  RegisterEnum<TScrollStyle>(u"TScrollStyle", {u"ssNone", u"ssHorizontal", u"ssVertical", u"ssBoth"});
  RegisterEnum<TCheckBoxState>(u"TCheckBoxState", {u"cbUnchecked", u"cbChecked", u"cbGrayed"});
  RegisterEnum<TComboBoxStyle>(u"TComboBoxStyle", {u"csDropDown", u"csSimple", u"csDropDownList", u"csOwnerDrawFixed",
                                                   u"csOwnerDrawVariable"});
  TClassInfo::Of<THostedControl, TWinControl>(u"THostedControl");
  TClassInfo::Of<TCustomEdit, THostedControl>(u"TCustomEdit");
  TClassInfo::Of<TEdit, TCustomEdit>(u"TEdit")
      .Property(u"MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength).Default(0)
      .Property(u"PasswordChar", &TEdit::PasswordChar, &TEdit::SetPasswordChar).Default(Char(0))
      .Property(u"ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(false)
      .Property(u"Text", &TEdit::Text, &TEdit::SetText).TypeName(u"TCaption")
      .Event(u"OnChange", &TEdit::OnChange);
  TClassInfo::Of<TCustomMemo, TCustomEdit>(u"TCustomMemo");
  TClassInfo::Of<TMemo, TCustomMemo>(u"TMemo")
      .Property(u"Lines", &TMemo::Lines, &TMemo::SetLines)
      .Property(u"ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly).Default(false)
      .Property(u"ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars).Default(ssNone)
      .Property(u"WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns).Default(true)
      .Property(u"WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs).Default(false)
      .Property(u"WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap).Default(true)
      .Event(u"OnChange", &TMemo::OnChange);
  TClassInfo::Of<TButtonControl, THostedControl>(u"TButtonControl");
  TClassInfo::Of<TButton, TButtonControl>(u"TButton")
      .Property(u"Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false)
      .Property(u"Default", &TButton::Default, &TButton::SetDefault).Default(false)
      .Property(u"ModalResult", &TButton::ModalResult, &TButton::SetModalResult).TypeName(u"TModalResult").Default(0);
  TClassInfo::Of<TCustomCheckBox, TButtonControl>(u"TCustomCheckBox");
  TClassInfo::Of<TCheckBox, TCustomCheckBox>(u"TCheckBox")
      .Property(u"AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(false)
      .Property(u"Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Default(false)
      .Property(u"State", &TCheckBox::State, &TCheckBox::SetState).Default(cbUnchecked);
  TClassInfo::Of<TRadioButton, TButtonControl>(u"TRadioButton")
      .Property(u"Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false);
  TClassInfo::Of<TCustomListBox, THostedControl>(u"TCustomListBox");
  TClassInfo::Of<TListBox, TCustomListBox>(u"TListBox")
      .Property(u"Items", &TListBox::Items, &TListBox::SetItems)
      .Property(u"ItemIndex", &TListBox::ItemIndex, &TListBox::SetItemIndex)
      .Property(u"MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect).Default(false)
      .Property(u"Sorted", &TListBox::Sorted, &TListBox::SetSorted).Default(false);
  TClassInfo::Of<TCheckListBox, TCustomListBox>(u"TCheckListBox")
      .Property(u"Items", &TCheckListBox::Items, &TCheckListBox::SetItems)
      .Event(u"OnClickCheck", &TCheckListBox::OnClickCheck);
  TClassInfo::Of<TCustomComboBox, THostedControl>(u"TCustomComboBox");
  TClassInfo::Of<TComboBox, TCustomComboBox>(u"TComboBox")
      .Property(u"DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount).Default(8)
      .Property(u"ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex)
      .Property(u"Items", &TComboBox::Items, &TComboBox::SetItems)
      .Property(u"Sorted", &TComboBox::Sorted, &TComboBox::SetSorted).Default(false)
      .Property(u"Style", &TComboBox::Style, &TComboBox::SetStyle).Default(csDropDown)
      .Property(u"Text", &TComboBox::Text, &TComboBox::SetText).TypeName(u"TCaption")
      .Event(u"OnChange", &TComboBox::OnChange)
      .Event(u"OnSelect", &TComboBox::OnSelect)
      .Event(u"OnDropDown", &TComboBox::OnDropDown);
  TClassInfo::Of<TGroupBox, THostedControl>(u"TGroupBox");
  TClassInfo::Of<TCustomLabel, TGraphicControl>(u"TCustomLabel");
  TClassInfo::Of<TLabel, TCustomLabel>(u"TLabel")
      .Property(u"Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify)
      .Property(u"AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(true)
      .Property(u"FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl)
      .Property(u"Layout", &TLabel::Layout, &TLabel::SetLayout).Default(tlTop)
      .Property(u"ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(true)
      .Property(u"Transparent", &TLabel::Transparent, &TLabel::SetTransparent)
      .Property(u"WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(false);
  for (const TClassInfo* c : {ClassInfoOf<TEdit>(), ClassInfoOf<TMemo>(), ClassInfoOf<TButton>(), ClassInfoOf<TCheckBox>(),
                              ClassInfoOf<TRadioButton>(), ClassInfoOf<TListBox>(), ClassInfoOf<TCheckListBox>(),
                              ClassInfoOf<TComboBox>(), ClassInfoOf<TGroupBox>(), ClassInfoOf<TLabel>()})
    RegisterClass(c);
}
