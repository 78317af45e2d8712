#include "app/FrmUsbInfo.h"

#include "app/AppResources.h"
#include "app/DialogParts.h"
#include "platform/win/Keyboard.h"

TfrmUsbInfo* frmUsbInfo = nullptr;

namespace {
constexpr TColor kFirmwareBlue = 16744448;
constexpr TColor kValueGrey = 6052956;
}  // namespace

TfrmUsbInfo::TfrmUsbInfo(TComponent* AOwner) : TForm(AOwner) {
  SetName(u"frmUsbInfo");
  SetCaption(u"RYX-VORira info");
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu});
  SetPosition(poDesigned);
  SetColor(clWhite);
  AssignFont(Font(), u"Tahoma", -11, clWindowText, DEFAULT_CHARSET);
  // Designed at 96 pixels per inch and scaled with the screen.
  SetScaled(true);
  SetPixelsPerInch(96);
  SetClientWidth(221);
  SetClientHeight(115);
  SetKeyPreview(true);
  OnKeyDown = [this](TObject* Sender, Word& Key, TShiftState Shift) { FormKeyDown(Sender, Key, Shift); };

  Label1 = MakeLabel(this, u"Label1", 37, 8, 58, 13, u"Firmware:", taRightJustify);
  AssignFont(Label1->Font(), u"Verdana", -11, kFirmwareBlue, DEFAULT_CHARSET);
  lbVer = MakeLabel(this, u"lbVer", 104, 6, 0, 0, u"ver. x.x.x.x", taLeftJustify);
  AssignFont(lbVer->Font(), u"Verdana", -13, clRed, DEFAULT_CHARSET, {fsBold});
  Label2 = MakeLabel(this, u"Label2", 63, 40, 32, 13, u"Date:", taRightJustify);
  Label2->Font()->SetColor(clGray);
  lbDate = MakeLabel(this, u"lbDate", 104, 39, 0, 0, u"xxxx-xx-xx", taLeftJustify);
  AssignFont(lbDate->Font(), u"Verdana", -12, kValueGrey, DEFAULT_CHARSET);
  Label5 = MakeLabel(this, u"Label5", 62, 61, 33, 13, u"Time:", taRightJustify);
  Label5->Font()->SetColor(clGray);
  lbTime = MakeLabel(this, u"lbTime", 104, 60, 0, 0, u"xx:xx:xx", taLeftJustify);
  AssignFont(lbTime->Font(), u"Verdana", -12, kValueGrey, DEFAULT_CHARSET);
  Image1 = MakeImage(this, u"Image1", 1, 26, 64, 64, RES_ICON_USB, true);
  Label3 = MakeLabel(this, u"Label3", 58, 87, 85, 13, u"Connection OK", taRightJustify);
  Label3->Font()->SetColor(clGray);
  Image2 = MakeImage(this, u"Image2", 158, 84, 16, 16, RES_ICON_OK, false);
}

void TfrmUsbInfo::FormKeyDown(TObject*, Word& Key, TShiftState) {
  if (Key == VK_ESCAPE) Close();
}
