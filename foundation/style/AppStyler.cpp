#include "foundation/style/AppStyler.h"

#include <algorithm>
#include <cstdint>

#include "foundation/style/ThemeDetection.h"
#include "foundation/style/ThemeNotifier.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

namespace {

// The form's colour for a style.
TColor FormColorOf(TVornStyle AStyle) {
  switch (AStyle) {
    case tsOffice2013White:
    case tsOffice2016White:
    case tsOffice2019White: return 0xFFFFFF;
    case tsOffice2013LightGray: return 0xC0C0C0;
    case tsOffice2013Gray:
    case tsOffice2016Gray: return 0x808080;
    case tsOffice2019Gray: return 0x666666;
    case tsOffice2016Black:
    case tsOffice2019Black: return 0x000000;
    default: return clBtnFace;
  }
}

TCustomForm* AsForm(TComponent* AComponent) { return dynamic_cast<TCustomForm*>(AComponent); }

// The OnSelect a form styler gives its combo box: a named type, so that the
// styler can tell its own handler from one set later by someone else.
struct TStyleSelectHandler {
  TAdvFormStyler* Styler;
  void operator()(TObject* Sender) const { Styler->HandleStyleSelect(Sender); }
};

TObject* StyleObject(TVornStyle AStyle) { return reinterpret_cast<TObject*>(static_cast<std::uintptr_t>(AStyle)); }

}  // namespace

TWinControl* AsFrame(TComponent* AComponent) { return dynamic_cast<TCustomFrame*>(AComponent); }

// ---- TAdvFormStyler ----

TAdvFormStyler::TAdvFormStyler(TComponent* AOwner) : TComponent(AOwner) {
  if (AOwner != nullptr && AOwner->ComponentState().Contains(csLoading)) Loading();
  FTones = SystemColorTones();
  FMetroColor = FTones.Selected.BrushColor;
  FNotifier = new TThemeNotifierWindow(this);
  FNotifier->OnThemeChange = [this](TObject*) { ThemeChanged(); };
}

TAdvFormStyler::~TAdvFormStyler() {
  if (FAppStyle != nullptr) FAppStyle->UnRegisterFormStyler(this);
  // A combo box that outlives the styler must not call into it afterwards.
  DetachComboBox();
}

void TAdvFormStyler::Loaded() {
  TComponent::Loaded();
  if (FAppStyle != nullptr) {
    FStyle = FAppStyle->Style();
    FTones = FAppStyle->Tones();
    FMetro = FAppStyle->Metro();
    FMetroStyle = FAppStyle->MetroStyle();
    FMetroTextColor = FAppStyle->MetroTextColor();
    FMetroColor = FAppStyle->MetroColor();
  }
  if (FStyle != tsCustom) ApplyStyle();
  if (FMetro) SetColorTones(FTones);
  ThemeChanged();
}

void TAdvFormStyler::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TAdvFormStyler*>(Source)) {
    SetAutoThemeAdapt(other->AutoThemeAdapt());
    SetStyle(other->Style());
    return;
  }
  TComponent::Assign(Source);
}

void TAdvFormStyler::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent == FAppStyle) FAppStyle = nullptr;
  if (Operation == opRemove && AComponent == FComboBox) FComboBox = nullptr;
  TComponent::Notification(AComponent, Operation);
}

void TAdvFormStyler::ApplyStyle() {
  if (!FEnabled) return;
  if (TCustomForm* form = AsForm(Owner()))
    ApplyStyleToForm(form, FStyle);
  else if (TWinControl* frame = AsFrame(Owner()))
    ApplyStyleToFrame(frame, FStyle);
  if (OnChange) OnChange(this);
}

void TAdvFormStyler::StyleComponent(TComponent* AComponent, TVornStyle AStyle) {
  IVornStyleEx* styleEx = Supports<IVornStyleEx>(AComponent);
  IVornStyle* style = styleEx != nullptr ? nullptr : Supports<IVornStyle>(AComponent);
  if (styleEx == nullptr && style == nullptr) return;
  bool allow = true;
  if (OnApplyStyle) OnApplyStyle(this, AComponent, allow);
  if (!allow) return;
  if (styleEx != nullptr)
    styleEx->SetComponentStyleAndAppColor(AStyle, FAppColor);
  else
    style->SetComponentStyle(AStyle);
  if (OnAppliedStyle) OnAppliedStyle(this, AComponent);
}

void TAdvFormStyler::ApplyStyleToForm(TCustomForm* Form, TVornStyle AStyle) {
  if (Form == nullptr) return;
  Form->SetColor(FormColorOf(AStyle));
  StyleComponent(Form, AStyle);
  // By index, re-checked each turn: a component's handler may change the list.
  for (Integer i = 0; i < Form->ComponentCount(); ++i) {
    TComponent* c = Form->Components(i);
    if (TWinControl* frame = AsFrame(c)) ApplyStyleToFrame(frame, AStyle);
    if (i < Form->ComponentCount() && Form->Components(i) == c) StyleComponent(c, AStyle);
  }
}

void TAdvFormStyler::ApplyStyleToFrame(TWinControl* Frame, TVornStyle AStyle) {
  if (Frame == nullptr) return;
  for (Integer i = 0; i < Frame->ComponentCount(); ++i) {
    TComponent* c = Frame->Components(i);
    StyleComponent(c, AStyle);
    if (TWinControl* frame = AsFrame(c)) ApplyStyleToFrame(frame, AStyle);
  }
}

void TAdvFormStyler::TonesToComponent(TComponent* AComponent, const TColorTones& ATones) {
  IVornTones* tones = Supports<IVornTones>(AComponent);
  if (tones == nullptr) return;
  bool allow = true;
  if (OnApplyColorTones) OnApplyColorTones(this, AComponent, allow);
  if (!allow) return;
  tones->SetColorTones(ATones);
  if (OnAppliedColorTones) OnAppliedColorTones(this, AComponent);
}

void TAdvFormStyler::ApplyColorTonesToForm(TCustomForm* Form, const TColorTones& ATones) {
  if (Form == nullptr) return;
  TonesToComponent(Form, ATones);
  for (Integer i = 0; i < Form->ComponentCount(); ++i) {
    TComponent* c = Form->Components(i);
    if (TWinControl* frame = AsFrame(c)) ApplyColorTonesToFrame(frame, ATones);
    if (i < Form->ComponentCount() && Form->Components(i) == c) TonesToComponent(c, ATones);
  }
}

void TAdvFormStyler::ApplyColorTonesToFrame(TWinControl* Frame, const TColorTones& ATones) {
  if (Frame == nullptr) return;
  for (Integer i = 0; i < Frame->ComponentCount(); ++i) {
    TComponent* c = Frame->Components(i);
    TonesToComponent(c, ATones);
    if (TWinControl* frame = AsFrame(c)) ApplyColorTonesToFrame(frame, ATones);
  }
}

void TAdvFormStyler::SetColorTones(const TColorTones& ATones) {
  FMetro = true;
  FStyle = tsCustom;
  if (TCustomForm* form = AsForm(Owner()))
    ApplyColorTonesToForm(form, ATones);
  else if (TWinControl* frame = AsFrame(Owner()))
    ApplyColorTonesToFrame(frame, ATones);
}

std::unique_ptr<TStringList> TAdvFormStyler::GetStyles() const {
  static const struct {
    const Char* Name;
    TVornStyle Style;
  } kStyles[] = {{u"Office 2003 Blue", tsOffice2003Blue},
                 {u"Office 2003 Silver", tsOffice2003Silver},
                 {u"Office 2003 Olive", tsOffice2003Olive},
                 {u"Office 2003 Classic", tsOffice2003Classic},
                 {u"Office 2007 Blue", tsOffice2007Luna},
                 {u"Office 2007 Silver", tsOffice2007Silver},
                 {u"Office 2007 Black", tsOffice2007Obsidian},
                 {u"Windows XP", tsWindowsXP},
                 {u"Windows Vista", tsWindowsVista},
                 {u"Windows 7", tsWindows7},
                 {u"Windows 8", tsWindows8},
                 {u"Windows 10", tsWindows10},
                 {u"Terminal", tsTerminal},
                 {u"Office 2010 Blue", tsOffice2010Blue},
                 {u"Office 2010 Silver", tsOffice2010Silver},
                 {u"Office 2010 Black", tsOffice2010Black},
                 {u"Office 2013 White", tsOffice2013White},
                 {u"Office 2013 Light gray", tsOffice2013LightGray},
                 {u"Office 2013 Gray", tsOffice2013Gray},
                 {u"Office 2016 White", tsOffice2016White},
                 {u"Office 2016 Gray", tsOffice2016Gray},
                 {u"Office 2016 Black", tsOffice2016Black},
                 {u"Office 2019 White", tsOffice2019White},
                 {u"Office 2019 Gray", tsOffice2019Gray},
                 {u"Office 2019 Black", tsOffice2019Black},
                 {u"Custom", tsCustom}};
  auto list = std::make_unique<TStringList>();
  for (const auto& s : kStyles)
    list->AddObject(s.Name, StyleObject(s.Style));
  return list;
}

void TAdvFormStyler::SetComboBox(TCustomComboBox* Value) {
  if (Value != FComboBox) DetachComboBox();
  FComboBox = Value;
  if (FComboBox == nullptr) return;
  FreeNotification(FComboBox);
  const std::unique_ptr<TStringList> styles = GetStyles();
  FComboBox->Items()->Assign(styles.get());
  FComboBox->OnSelect = TStyleSelectHandler{this};
  FComboBox->SetStyle(csDropDownList);
  FComboBox->SetItemIndex(FComboBox->Items()->IndexOfObject(StyleObject(FStyle)));
}

void TAdvFormStyler::DetachComboBox() {
  if (FComboBox == nullptr) return;
  TCustomComboBox* combo = FComboBox;
  FComboBox = nullptr;
  RemoveFreeNotification(combo);
  if (combo->ComponentState().Contains(csDestroying)) return;
  const auto* handler = combo->OnSelect.target<TStyleSelectHandler>();
  if (handler != nullptr && handler->Styler == this) combo->OnSelect = nullptr;
}

void TAdvFormStyler::HandleStyleSelect(TObject* Sender) {
  auto* combo = dynamic_cast<TCustomComboBox*>(Sender);
  if (combo == nullptr) return;
  const Integer index = combo->ItemIndex();
  if (index < 0 || index >= combo->Items()->Count()) return;
  TObject* chosen = combo->Items()->Objects(index);
  // Only the objects GetStyles gives are styles; an item added by others is not.
  if (GetStyles()->IndexOfObject(chosen) < 0) return;
  SetStyle(static_cast<TVornStyle>(reinterpret_cast<std::uintptr_t>(chosen)));
}

void TAdvFormStyler::SetStyle(TVornStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (FStyle != tsCustom && !IsLoading()) ApplyStyle();
}

void TAdvFormStyler::SetAppColor(TColor Value) {
  if (FAppColor == Value) return;
  FAppColor = Value;
  if (FStyle != tsCustom && !IsLoading()) ApplyStyle();
}

void TAdvFormStyler::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  if (FEnabled && !IsLoading()) ApplyStyle();
}

void TAdvFormStyler::SetAppStyle(TAdvAppStyler* Value) {
  if (FAppStyle == Value) return;
  // Leaves the previous application styler too, which would otherwise keep
  // a pointer to this styler after it is gone.
  if (FAppStyle != nullptr) {
    FAppStyle->UnRegisterFormStyler(this);
    RemoveFreeNotification(FAppStyle);
  }
  FAppStyle = Value;
  if (FAppStyle == nullptr) return;
  FreeNotification(FAppStyle);
  if (!IsLoading()) SetStyle(FAppStyle->Style());
  FAppStyle->RegisterFormStyler(this);
}

void TAdvFormStyler::SetAutoThemeAdapt(bool Value) {
  FAutoThemeAdapt = Value;
  ThemeChanged();
}

void TAdvFormStyler::ThemeChanged() {
  if (FAutoThemeAdapt) SetStyle(DetectOfficeStyle(false));
}

void TAdvFormStyler::SetMetro(bool Value) {
  if (FMetro == Value) return;
  FMetro = Value;
  if (FMetro) UpdateMetro();
}

void TAdvFormStyler::SetMetroColor(TColor Value) {
  if (FMetroColor == Value) return;
  FMetroColor = Value;
  UpdateMetro();
}

void TAdvFormStyler::SetMetroTextColor(TColor Value) {
  if (FMetroTextColor == Value) return;
  FMetroTextColor = Value;
  UpdateMetro();
}

void TAdvFormStyler::SetMetroStyle(TMetroStyle Value) {
  if (FMetroStyle == Value) return;
  FMetroStyle = Value;
  UpdateMetro();
}

void TAdvFormStyler::UpdateMetro() {
  if (!FEnabled) return;
  GetMetroTones(FMetroStyle == msLight, FMetroColor, FMetroTextColor, FTones);
  // While loading only the tones are built; Loaded passes them on once.
  if (FStyle == tsCustom && FMetro && !IsLoading()) SetColorTones(FTones);
}

// ---- TAdvAppStyler ----

TAdvAppStyler::TAdvAppStyler(TComponent* AOwner) : TComponent(AOwner) {
  if (AOwner != nullptr && AOwner->ComponentState().Contains(csLoading)) Loading();
  FMetroColor = SystemColorTones().Selected.BrushColor;
  FNotifier = new TThemeNotifierWindow(this);
  FNotifier->OnThemeChange = [this](TObject*) { ThemeChanged(); };
}

TAdvAppStyler::~TAdvAppStyler() {
  const std::vector<TAdvFormStyler*> stylers = FFormStylers;  // each one unregisters itself
  for (TAdvFormStyler* styler : stylers) styler->SetAppStyle(nullptr);
  FFormStylers.clear();
}

void TAdvAppStyler::Loaded() {
  TComponent::Loaded();
  ThemeChanged();
}

void TAdvAppStyler::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TAdvAppStyler*>(Source)) {
    SetStyle(other->Style());
    SetAutoThemeAdapt(other->AutoThemeAdapt());
    return;
  }
  TComponent::Assign(Source);
}

void TAdvAppStyler::RegisterFormStyler(TAdvFormStyler* AFormStyler) {
  if (AFormStyler == nullptr) return;
  if (std::find(FFormStylers.begin(), FFormStylers.end(), AFormStyler) == FFormStylers.end())
    FFormStylers.push_back(AFormStyler);
}

void TAdvAppStyler::UnRegisterFormStyler(TAdvFormStyler* AFormStyler) {
  auto it = std::find(FFormStylers.begin(), FFormStylers.end(), AFormStyler);
  if (it != FFormStylers.end()) FFormStylers.erase(it);
}

void TAdvAppStyler::Changed() {
  if (OnChange) OnChange(this);
}

void TAdvAppStyler::ApplyStyle() {
  if (!FEnabled) return;
  const std::vector<TAdvFormStyler*> stylers = FFormStylers;
  for (TAdvFormStyler* s : stylers) {
    s->SetMetro(FMetro);
    s->SetMetroStyle(FMetroStyle);
    s->SetMetroColor(FMetroColor);
    s->SetMetroTextColor(FMetroTextColor);
    s->SetAppColor(FAppColor);
    s->SetStyle(FStyle);
    s->SetAppColor(FAppColor);
  }
  Changed();
}

void TAdvAppStyler::SetColorTones(const TColorTones& ATones) {
  FTones = ATones;
  FMetro = true;
  FStyle = tsCustom;
  FMetroColor = ATones.Selected.BrushColor;
  FMetroTextColor = ATones.Selected.BrushColor;
  if (ATones.Background.BrushColor == 0xFFFFFF)
    FMetroStyle = msLight;
  else if (ATones.Background.BrushColor == 0)
    FMetroStyle = msDark;
  if (!IsLoading()) {
    const std::vector<TAdvFormStyler*> stylers = FFormStylers;
    for (TAdvFormStyler* s : stylers) s->SetColorTones(ATones);
  }
  Changed();
}

void TAdvAppStyler::SetStyle(TVornStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (!IsLoading()) ApplyStyle();
}

void TAdvAppStyler::SetAppColor(TColor Value) {
  FAppColor = Value;
  if (!IsLoading()) {
    const std::vector<TAdvFormStyler*> stylers = FFormStylers;
    for (TAdvFormStyler* s : stylers) {
      s->SetStyle(FStyle);
      s->SetAppColor(FAppColor);
    }
  }
  Changed();
}

void TAdvAppStyler::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  if (FEnabled) ApplyStyle();
}

void TAdvAppStyler::SetAutoThemeAdapt(bool Value) {
  FAutoThemeAdapt = Value;
  ThemeChanged();
}

void TAdvAppStyler::ThemeChanged() {
  if (FAutoThemeAdapt) SetStyle(DetectOfficeStyle(false));
}

void TAdvAppStyler::SetMetro(bool Value) {
  if (FMetro == Value) return;
  FMetro = Value;
  UpdateMetro();
}

void TAdvAppStyler::SetMetroColor(TColor Value) {
  if (FMetroColor == Value) return;
  FMetroColor = Value;
  UpdateMetro();
}

void TAdvAppStyler::SetMetroTextColor(TColor Value) {
  if (FMetroTextColor == Value) return;
  FMetroTextColor = Value;
  UpdateMetro();
}

void TAdvAppStyler::SetMetroStyle(TMetroStyle Value) {
  if (FMetroStyle == Value) return;
  FMetroStyle = Value;
  UpdateMetro();
}

void TAdvAppStyler::UpdateMetro() {
  TColorTones tones;
  GetMetroTones(FMetroStyle == msLight, FMetroColor, FMetroTextColor, tones);
  if (FStyle != tsCustom || !FMetro) return;
  if (!IsLoading()) {
    const std::vector<TAdvFormStyler*> stylers = FFormStylers;
    for (TAdvFormStyler* s : stylers) s->SetColorTones(tones);
  }
  Changed();
}
