#pragma once
// The connector guide: a borderless window showing the programmer's
// connector. The user drags it by the picture and dismisses it with the
// "close" button, Esc or a double click; closing hides it for the next showing.
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "programmer/QvFormSR.h"

class TfrmPinout : public TForm {
 public:
  // Builds the window and its controls; the picture is read from the
  // program's resources when the window first shows (a missing one leaves the
  // image empty).
  explicit TfrmPinout(TComponent* AOwner);

  TPanel* Panel1;
  TImage* Image1;
  TAdvGlowButton* AdvGlowButton1;
  // Restores the window's place and size when it shows, saves them when it is destroyed.
  TQvFormSR* QvFormSR1;

  // Closes the window.
  void AdvGlowButton1Click(TObject* Sender);
  // Esc closes the window.
  void FormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  // Closes the window.
  void Image1DblClick(TObject* Sender);
  // Left button: lets go of the mouse and asks for a caption drag
  // (WM_SYSCOMMAND SC_MOVE + HTCAPTION), so the window follows the pointer
  // until the button is released. Other buttons do nothing.
  void Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);

 protected:
  void DoShow() override;

 private:
  bool FPictureLoaded = false;
};

// The window made at start-up.
extern TfrmPinout* frmPinout;
