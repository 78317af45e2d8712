#pragma once
// The login dialog of the web-update transfers: user name and password.
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TVornLoginForm : public TForm {
 public:
  // Builds the window with empty fields.
  explicit TVornLoginForm(TComponent* AOwner);

  TImage* Image1;
  TLabel* Label1;
  TLabel* Label2;
  TEdit* Edit1;
  TEdit* Edit2;
  TButton* Button1;
  TButton* Button2;
};

// Asks for a user name and password under Caption. OK: true with the two
// texts; any other end: false, UserName and Password unchanged.
bool ShowLoginDialog(const String& Caption, String& UserName, String& Password);
