#include "toolbar/CusBtnForm.h"

namespace toolbar {

TCusBtnForm::TCusBtnForm(TComponent* AOwner, TZadEdevAziCustomizer* Customizer)
    : TForm(AOwner), FToolBarCustomizer(Customizer) {
  SetBorderStyle(bsToolWindow);
  SetBorderIcons({biSystemMenu});
  SetPosition(poDesigned);
  Font()->SetName(u"MS Sans Serif");
  Font()->SetHeight(-11);
  SetClientWidth(248);
  SetClientHeight(140);
  auto place = [](TControl* C, TWinControl* Parent, Integer L, Integer T, Integer W, Integer H) {
    C->SetParent(Parent);
    C->SetBounds(L, T, W, H);
  };
  auto label = [&](Integer L, Integer T) {
    auto* l = new TLabel(this);
    l->SetParent(GroupBox1);
    l->SetLeft(L);
    l->SetTop(T);
    return l;
  };
  GroupBox1 = new TGroupBox(this);
  place(GroupBox1, this, 8, 0, 233, 102);
  LblBtnCaption = label(9, 17);
  EdtBtnCaption = new TEdit(this);
  place(EdtBtnCaption, GroupBox1, 50, 14, 73, 21);
  LblBtnHint = label(26, 42);
  EdtBtnHint = new TEdit(this);
  place(EdtBtnHint, GroupBox1, 50, 38, 73, 21);
  LblGlyph = label(23, 67);
  CmBxGlyph = new TComboBox(this);
  CmBxGlyph->SetStyle(csDropDownList);
  place(CmBxGlyph, GroupBox1, 50, 62, 74, 19);
  ChkBtnShowCap = new TCheckBox(this);
  place(ChkBtnShowCap, GroupBox1, 129, 17, 100, 17);
  ChkBtnVis = new TCheckBox(this);
  place(ChkBtnVis, GroupBox1, 129, 38, 99, 17);
  BtnOk = new TButton(this);
  place(BtnOk, this, 49, 109, 75, 25);
  BtnOk->SetDefault(true);
  BtnOk->SetModalResult(mrOk);
  BtnCancel = new TButton(this);
  place(BtnCancel, this, 124, 109, 75, 25);
  BtnCancel->SetCancel(true);
  BtnCancel->SetModalResult(mrCancel);
  LblBtnCaption->SetFocusControl(EdtBtnCaption);
  LblBtnHint->SetFocusControl(EdtBtnHint);
  LblGlyph->SetFocusControl(CmBxGlyph);
}

}  // namespace toolbar
