#include "app/FrmBLSinfo.h"

#include "app/AppResources.h"
#include "app/DialogParts.h"
#include "platform/win/Keyboard.h"

TfrmBLSinfo* frmBLSinfo = nullptr;

TfrmBLSinfo::TfrmBLSinfo(TComponent* AOwner) : TForm(AOwner) {
  SetName(u"frmBLSinfo");
  SetCaption(u"BLS INFO");
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu});
  SetPosition(poDesigned);
  SetColor(clWhite);
  AssignFont(Font(), u"Tahoma", -11, clWindowText, DEFAULT_CHARSET);
  SetScaled(false);
  SetClientWidth(226);
  SetClientHeight(115);
  // Esc reaches the form even while the button has the focus.
  SetKeyPreview(true);
  OnKeyDown = [this](TObject* Sender, Word& Key, TShiftState Shift) { FormKeyDown(Sender, Key, Shift); };

  Label1 = MakeLabel(this, u"Label1", 20, 16, 89, 13, u"Microcontroller:", taRightJustify);
  AssignFont(Label1->Font(), u"Verdana", -11, clGray, EASTEUROPE_CHARSET);
  lbUC = MakeLabel(this, u"lbUC", 118, 14, 0, 0, u"ATmega8(A)", taLeftJustify);
  AssignFont(lbUC->Font(), u"Verdana", -13, clRed, EASTEUROPE_CHARSET, {fsBold});
  Label2 = MakeLabel(this, u"Label2", 67, 48, 42, 13, u"F_CPU:", taRightJustify);
  AssignFont(Label2->Font(), u"Verdana", -11, clGray, EASTEUROPE_CHARSET);
  lbFCPU = MakeLabel(this, u"lbFCPU", 118, 46, 0, 0, u"11.0592 MHz", taLeftJustify);
  AssignFont(lbFCPU->Font(), u"Verdana", -13, clFuchsia, EASTEUROPE_CHARSET, {fsBold});
  Image1 = MakeImage(this, u"Image1", 20, 35, 32, 32, RES_ICON_CHIP, false);
  Label3 = MakeLabel(this, u"Label3", 24, 84, 85, 13, u"Connection OK", taRightJustify);
  AssignFont(Label3->Font(), u"Verdana", -11, clGray, EASTEUROPE_CHARSET);
  Image2 = MakeImage(this, u"Image2", 124, 81, 16, 16, RES_ICON_OK, false);
  AdvGlowButton1 = MakeCloseButton(this, 158, 80, 14811120, 65408, [this](TObject* Sender) { AdvGlowButton1Click(Sender); });
}

void TfrmBLSinfo::AdvGlowButton1Click(TObject*) { Close(); }

void TfrmBLSinfo::FormKeyDown(TObject*, Word& Key, TShiftState) {
  if (Key == VK_ESCAPE) Close();
}
