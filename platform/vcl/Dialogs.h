#pragma once
// Message boxes: MessageBox (the window call), Application->MessageBox,
// MessageDlg and ShowMessage, shown on the window system's message box.
// Tests (and any caller that must not block on a person) install an answer
// provider: it sees what would be shown and answers in the user's place.
#include <functional>
#include <vector>

#include "platform/rtl/Set.h"
#include "platform/vcl/Controls.h"

// Buttons (low 4 bits), icon (bits 4-7), default button (bits 8-11), modality.
constexpr UINT MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
               MB_RETRYCANCEL = 0x5, MB_CANCELTRYCONTINUE = 0x6, MB_TYPEMASK = 0xF;
constexpr UINT MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONSTOP = 0x10, MB_ICONQUESTION = 0x20,
               MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30, MB_ICONASTERISK = 0x40, MB_ICONINFORMATION = 0x40,
               MB_ICONMASK = 0xF0;
constexpr UINT MB_DEFBUTTON1 = 0x000, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200, MB_DEFBUTTON4 = 0x300,
               MB_DEFMASK = 0xF00;
constexpr UINT MB_APPLMODAL = 0x0000, MB_SYSTEMMODAL = 0x1000, MB_TASKMODAL = 0x2000, MB_SETFOREGROUND = 0x10000,
               MB_TOPMOST = 0x40000;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7, IDCLOSE = 8,
              IDHELP = 9, IDTRYAGAIN = 10, IDCONTINUE = 11;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
inline const TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// What a box would show: its texts, its icon kind and its buttons (as the
// results they give, in order), and the result of its default button.
struct TMessageBoxRequest {
  String Text;
  String Caption;
  TMsgDlgType Icon = mtCustom;   // mtCustom: no icon
  std::vector<int> Buttons;      // IDOK... / mrOk... (the same numbers)
  int DefaultButton = 0;
};
// Answers a box in the user's place with one of its buttons' results; the box is then not shown.
using TMessageBoxAnswerer = std::function<int(const TMessageBoxRequest& Request)>;
// Installs the answer provider (an empty one shows boxes again) and answers the one it replaced.
TMessageBoxAnswerer SetMessageBoxAnswerer(TMessageBoxAnswerer Answerer);

// Shows a modal box with Type's buttons (MB_OK...) and icon; answers the
// chosen button's ID (IDOK...). Closing the box answers IDCANCEL when it has
// a Cancel button, else the only button (IDOK). An answer that is not one of
// the box's buttons is taken as closing the box.
int MessageBox(HWND Wnd, const String& Text, const String& Caption, UINT Type);
// The same; the caption defaults to the application's title.
int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx);
// Shows Msg with one OK button and the application's title.
void ShowMessage(const String& Msg);
// What MessageBox would show for its arguments (for the answer provider and tests).
TMessageBoxRequest MessageBoxRequest(const String& Text, const String& Caption, UINT Type);
