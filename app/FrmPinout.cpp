#include "app/FrmPinout.h"

#include "app/AppResources.h"
#include "app/DialogParts.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"

TfrmPinout* frmPinout = nullptr;

namespace {
// SC_MOVE with the caption hit-test code: "drag as if by the title bar".
constexpr WPARAM kDragByCaption = SC_MOVE | 2;
}  // namespace

TfrmPinout::TfrmPinout(TComponent* AOwner) : TForm(AOwner) {
  SetName(u"frmPinout");
  SetCaption(u"frmPinout");
  SetBorderStyle(bsNone);
  SetPosition(poDesigned);
  SetColor(clBtnFace);
  AssignFont(Font(), u"Tahoma", -11, clWindowText, DEFAULT_CHARSET);
  SetScaled(false);
  SetClientWidth(642);
  SetClientHeight(361);
  SetKeyPreview(true);
  OnKeyDown = [this](TObject* Sender, Word& Key, TShiftState Shift) { FormKeyDown(Sender, Key, Shift); };

  Panel1 = new TPanel(this);  // owned and destroyed by the window
  Panel1->SetName(u"Panel1");
  Panel1->SetParent(this);
  Panel1->SetBounds(0, 0, 642, 361);
  Panel1->SetBevelOuter(bvNone);
  Panel1->SetBorderStyle(bsSingle);
  Panel1->SetShowCaption(false);

  // The picture is read when the window first shows: most runs never show it.
  Image1 = MakeImage(Panel1, u"Image1", -1, -1, 640, 360, u"", true);
  Image1->SetCursor(crSizeAll);
  Image1->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    Image1MouseDown(Sender, Button, Shift, X, Y);
  };
  Image1->OnDblClick = [this](TObject* Sender) { Image1DblClick(Sender); };

  AdvGlowButton1 = MakeCloseButton(Panel1, 564, 8, 15132415, 8421631, [this](TObject* Sender) { AdvGlowButton1Click(Sender); });

  QvFormSR1 = new TQvFormSR(this);  // owned and destroyed by the window
  QvFormSR1->SetName(u"QvFormSR1");
  QvFormSR1->SetIniFileName(u"[ApplicationExeName.ini]");
  QvFormSR1->SetTypeIniName(asAppIniName);
}

void TfrmPinout::DoShow() {
  if (!FPictureLoaded) {
    FPictureLoaded = true;
    LoadImagePicture(Image1, RES_PINOUT);
  }
  TForm::DoShow();
}

void TfrmPinout::AdvGlowButton1Click(TObject*) { Close(); }

void TfrmPinout::FormKeyDown(TObject*, Word& Key, TShiftState) {
  if (Key == VK_ESCAPE) Close();
}

void TfrmPinout::Image1DblClick(TObject*) { Close(); }

void TfrmPinout::Image1MouseDown(TObject*, TMouseButton Button, TShiftState, Integer, Integer) {
  if (Button != mbLeft) return;
  ReleaseCapture();
  SendMessage(Handle(), WM_SYSCOMMAND, kDragByCaption, 0);
}
