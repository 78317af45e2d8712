// Message boxes on Qt's message box, with a replaceable answer provider.
#include "platform/vcl/Dialogs.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "platform/rtl/QtString.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/ControlsInternal.h"
#include "platform/vcl/Forms.h"

namespace {

TMessageBoxAnswerer& Answerer() {
  static TMessageBoxAnswerer a;
  return a;
}

String ButtonCaption(int id) {
  switch (id) {
    case IDOK: return u"OK";
    case IDCANCEL: return u"Cancel";
    case IDABORT: return u"&Abort";
    case IDRETRY: return u"&Retry";
    case IDIGNORE: return u"&Ignore";
    case IDYES: return u"&Yes";
    case IDNO: return u"&No";
    case IDCLOSE: return u"&Close";
    case IDHELP: return u"&Help";
    case IDTRYAGAIN: return u"&Try Again";
    case IDCONTINUE: return u"&Continue";
    case mrAll: return u"&All";
    case mrNoToAll: return u"N&o to All";
    case mrYesToAll: return u"Yes to &All";
    default: return u"?";
  }
}

// The result of closing the box without a button.
int CloseResult(const std::vector<int>& buttons) {
  if (std::find(buttons.begin(), buttons.end(), IDCANCEL) != buttons.end()) return IDCANCEL;
  if (buttons.size() == 1) return buttons.front();
  return IDCANCEL;
}

int Show(const TMessageBoxRequest& r, HWND owner) {
  int answer;
  if (Answerer()) {
    answer = Answerer()(r);
  } else {
    QWidget* parent = nullptr;
    if (owner == nullptr && Application != nullptr && Application->MainForm() != nullptr &&
        Application->MainForm()->HandleAllocated())
      owner = Application->MainForm()->Handle();
    if (TWindowBridge* b = controls_internal::BridgeOf(owner)) parent = b->Widget()->window();
    QMessageBox box(parent);
    box.setWindowTitle(ToQString(r.Caption));
    box.setText(ToQString(r.Text));
    box.setIcon(r.Icon == mtError         ? QMessageBox::Critical
                : r.Icon == mtWarning     ? QMessageBox::Warning
                : r.Icon == mtInformation ? QMessageBox::Information
                : r.Icon == mtConfirmation ? QMessageBox::Question
                                           : QMessageBox::NoIcon);
    std::vector<std::pair<QAbstractButton*, int>> made;
    for (int id : r.Buttons) {
      QPushButton* b = box.addButton(ToQString(ButtonCaption(id)), QMessageBox::ActionRole);
      made.emplace_back(b, id);
      if (id == r.DefaultButton) box.setDefaultButton(b);
    }
    box.exec();
    answer = CloseResult(r.Buttons);
    for (auto& [b, id] : made)
      if (box.clickedButton() == b) answer = id;
  }
  if (std::find(r.Buttons.begin(), r.Buttons.end(), answer) == r.Buttons.end()) answer = CloseResult(r.Buttons);
  return answer;
}

String AppTitle() { return Application != nullptr ? Application->Title() : String(); }

}  // namespace

TMessageBoxAnswerer SetMessageBoxAnswerer(TMessageBoxAnswerer A) {
  std::swap(Answerer(), A);
  return A;
}

TMessageBoxRequest MessageBoxRequest(const String& Text, const String& Caption, UINT Type) {
  TMessageBoxRequest r;
  r.Text = Text;
  // The system's box calls a box without a caption "Error".
  r.Caption = Caption;
  switch (Type & MB_ICONMASK) {
    case MB_ICONERROR: r.Icon = mtError; break;
    case MB_ICONQUESTION: r.Icon = mtConfirmation; break;
    case MB_ICONWARNING: r.Icon = mtWarning; break;
    case MB_ICONINFORMATION: r.Icon = mtInformation; break;
    default: r.Icon = mtCustom; break;
  }
  switch (Type & MB_TYPEMASK) {
    case MB_OKCANCEL: r.Buttons = {IDOK, IDCANCEL}; break;
    case MB_ABORTRETRYIGNORE: r.Buttons = {IDABORT, IDRETRY, IDIGNORE}; break;
    case MB_YESNOCANCEL: r.Buttons = {IDYES, IDNO, IDCANCEL}; break;
    case MB_YESNO: r.Buttons = {IDYES, IDNO}; break;
    case MB_RETRYCANCEL: r.Buttons = {IDRETRY, IDCANCEL}; break;
    case MB_CANCELTRYCONTINUE: r.Buttons = {IDCANCEL, IDTRYAGAIN, IDCONTINUE}; break;
    default: r.Buttons = {IDOK}; break;  // MB_OK and unknown button sets
  }
  const std::size_t def = (Type & MB_DEFMASK) >> 8;
  r.DefaultButton = r.Buttons[def < r.Buttons.size() ? def : 0];
  return r;
}

int MessageBox(HWND Wnd, const String& Text, const String& Caption, UINT Type) {
  TMessageBoxRequest r = MessageBoxRequest(Text, Caption, Type);
  if (r.Caption.empty()) r.Caption = u"Error";
  return Show(r, Wnd);
}

Integer TApplication::MessageBox(const String& Text, const String& Caption, Integer Flags) {
  TMessageBoxRequest r = MessageBoxRequest(Text, Caption.empty() ? FTitle : Caption, UINT(Flags));
  return Show(r, nullptr);
}

int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer) {
  TMessageBoxRequest r;
  r.Text = Msg;
  r.Icon = DlgType;
  switch (DlgType) {
    case mtWarning: r.Caption = u"Warning"; break;
    case mtError: r.Caption = u"Error"; break;
    case mtInformation: r.Caption = u"Information"; break;
    case mtConfirmation: r.Caption = u"Confirm"; break;
    case mtCustom: r.Caption = AppTitle(); break;
  }
  static const std::pair<TMsgDlgBtn, int> kOrder[] = {
      {mbYes, mrYes},     {mbNo, mrNo},         {mbOK, mrOk},           {mbCancel, mrCancel},
      {mbAbort, mrAbort}, {mbRetry, mrRetry},   {mbIgnore, mrIgnore},   {mbAll, mrAll},
      {mbNoToAll, mrNoToAll}, {mbYesToAll, mrYesToAll}, {mbHelp, mrHelp}, {mbClose, mrClose}};
  for (auto [b, result] : kOrder)
    if (Buttons.Contains(b)) r.Buttons.push_back(result);
  if (r.Buttons.empty()) r.Buttons = {mrOk};
  // The first of OK and Yes is the default button, else the first one.
  r.DefaultButton = r.Buttons.front();
  for (int b : r.Buttons)
    if (b == mrOk || b == mrYes) {
      r.DefaultButton = b;
      break;
    }
  return Show(r, nullptr);
}

void ShowMessage(const String& Msg) {
  TMessageBoxRequest r;
  r.Text = Msg;
  r.Caption = AppTitle();
  r.Buttons = {IDOK};
  r.DefaultButton = IDOK;
  Show(r, nullptr);
}
