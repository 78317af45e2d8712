#pragma once
// The button-edit dialog of the customizer: caption, hint, icon, visibility
// and caption display of one toolbar item. The customizer dialog fills it,
// shows it modally and takes its values back on OK.
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

namespace toolbar {

class TZadEdevAziCustomizer;

class TCusBtnForm : public TForm {
 public:
  TCusBtnForm(TComponent* AOwner, TZadEdevAziCustomizer* Customizer);

  TGroupBox* GroupBox1;
  TLabel* LblBtnCaption;
  TEdit* EdtBtnCaption;
  TLabel* LblBtnHint;
  TEdit* EdtBtnHint;
  TLabel* LblGlyph;
  TComboBox* CmBxGlyph;
  TCheckBox* ChkBtnShowCap;
  TCheckBox* ChkBtnVis;
  TButton* BtnOk;
  TButton* BtnCancel;

  TZadEdevAziCustomizer* ToolBarCustomizer() const { return FToolBarCustomizer; }

 private:
  TZadEdevAziCustomizer* FToolBarCustomizer;
};

}  // namespace toolbar
