#pragma once
// The USB information dialog: the firmware version, date and time the
// programmer reported over USB. The main window writes lbVer, lbDate and
// lbTime, centres the dialog on itself and shows it modally. It has no
// button: the title bar's close box and Esc close it.
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmUsbInfo : public TForm {
 public:
  // Builds the window and its controls; pictures missing from the program's
  // resources leave their images empty.
  explicit TfrmUsbInfo(TComponent* AOwner);

  TLabel* Label1;
  TLabel* lbVer;
  TLabel* Label2;
  TLabel* lbDate;
  TLabel* Label5;
  TLabel* lbTime;
  TImage* Image1;
  TLabel* Label3;
  TImage* Image2;

  // Esc closes the window.
  void FormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
};

// The dialog made at start-up.
extern TfrmUsbInfo* frmUsbInfo;
