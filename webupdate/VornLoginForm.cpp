#include "webupdate/VornLoginForm.h"

#include <memory>

#include "platform/vcl/Application.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Canvas.h"

namespace {

template <class T>
T* LoginPut(TVornLoginForm* Form, const String& Name, Integer Left, Integer Top, Integer Width, Integer Height) {
  auto* c = new T(Form);  // owned and destroyed by the dialog
  c->SetName(Name);
  c->SetParent(Form);
  c->SetBounds(Left, Top, Width, Height);
  return c;
}

// The banner: a plain band in the dialog's colours (the picture is the program's own choice).
void LoginBanner(TImage* Image) {
  TBitmap banner(320, 60);
  banner.Canvas()->Brush()->SetColor(TColor(0x00A05020));
  banner.Canvas()->FillRect({0, 0, 320, 60});
  Image->Picture()->SetBitmap(&banner);
}

}  // namespace

TVornLoginForm::TVornLoginForm(TComponent* AOwner) : TForm(AOwner) {
  SetName(u"VornLoginForm");
  SetBorderStyle(bsDialog);
  SetBorderIcons({biSystemMenu});
  SetColor(clBtnFace);
  SetPosition(poScreenCenter);
  Font()->SetName(u"MS Sans Serif");
  Font()->SetHeight(-11);
  SetClientWidth(320);
  SetClientHeight(189);
  Image1 = LoginPut<TImage>(this, u"Image1", 0, 0, 320, 60);
  LoginBanner(Image1);
  Image1->SetAutoSize(true);
  Edit1 = LoginPut<TEdit>(this, u"Edit1", 104, 80, 193, 21);
  Edit1->SetTabOrder(0);
  Edit2 = LoginPut<TEdit>(this, u"Edit2", 104, 112, 193, 21);
  Edit2->SetPasswordChar(u'*');
  Edit2->SetTabOrder(1);
  Label1 = new TLabel(this);
  Label1->SetName(u"Label1");
  Label1->SetParent(this);
  Label1->SetLeft(16);
  Label1->SetTop(80);
  Label1->SetCaption(u"&User name: ");
  Label1->SetFocusControl(Edit1);
  Label2 = new TLabel(this);
  Label2->SetName(u"Label2");
  Label2->SetParent(this);
  Label2->SetLeft(16);
  Label2->SetTop(112);
  Label2->SetCaption(u"&Password:");
  Label2->SetFocusControl(Edit2);
  Button1 = LoginPut<TButton>(this, u"Button1", 144, 152, 75, 25);
  Button1->SetCaption(u"OK");
  Button1->SetDefault(true);
  Button1->SetModalResult(mrOk);
  Button1->SetTabOrder(2);
  Button2 = LoginPut<TButton>(this, u"Button2", 224, 152, 75, 25);
  Button2->SetCaption(u"Cancel");
  Button2->SetCancel(true);
  Button2->SetModalResult(mrCancel);
  Button2->SetTabOrder(3);
  SetActiveControl(Edit1);
  AfterConstruction();
}

bool ShowLoginDialog(const String& Caption, String& UserName, String& Password) {
  auto form = std::make_unique<TVornLoginForm>(Application);
  form->SetCaption(Caption);
  if (form->ShowModal() != mrOk) return false;
  UserName = form->Edit1->Text();
  Password = form->Edit2->Text();
  return true;
}
