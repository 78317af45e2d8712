#pragma once
// The bootloader information dialog: the microcontroller and clock the serial
// bootloader reported. The main window writes lbUC and lbFCPU, centres the
// dialog on itself and shows it modally.
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmBLSinfo : public TForm {
 public:
  // Builds the window and its controls; pictures missing from the program's
  // resources leave their images empty.
  explicit TfrmBLSinfo(TComponent* AOwner);

  TLabel* Label1;
  TLabel* lbUC;
  TLabel* Label2;
  TLabel* lbFCPU;
  TImage* Image1;
  TLabel* Label3;
  TImage* Image2;
  TAdvGlowButton* AdvGlowButton1;

  // Closes the window.
  void AdvGlowButton1Click(TObject* Sender);
  // Esc closes the window.
  void FormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
};

// The dialog made at start-up.
extern TfrmBLSinfo* frmBLSinfo;
