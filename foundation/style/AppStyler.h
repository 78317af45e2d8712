#pragma once
// Two non-visual components that give a whole form, or a whole application,
// one look. A form styler passes a style (with an application colour) or a
// tone set to its form and to every component of it that implements the
// style interfaces, descending into frames. An application styler holds one
// style for the program and hands it to every form styler registered with it.
// Both can follow the system and Office theme, and both can build a flat
// ("metro") tone set from one colour.
//
// Nothing is applied while a component is loading (made in its form's
// constructor); Loaded does the first application.
#include <functional>
#include <memory>
#include <vector>

#include "foundation/style/VornStyle.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Strings.h"

class TCustomForm;
class TWinControl;
class TThemeNotifierWindow;
class TAdvAppStyler;
class TCustomComboBox;

// Asked before a style or tone set goes to AComponent; Allow starts true.
using TApplyStyleEvent = std::function<void(TObject* Sender, TComponent* AComponent, bool& Allow)>;
// Told after a style or tone set went to AComponent.
using TAppliedStyleEvent = std::function<void(TObject* Sender, TComponent* AComponent)>;

// AComponent as a frame; nullptr for anything else (a control that merely
// owns components, as a toolbar owns its buttons, is not entered).
TWinControl* AsFrame(TComponent* AComponent);

class TAdvFormStyler : public TComponent {
 public:
  explicit TAdvFormStyler(TComponent* AOwner);
  // Unregisters from the application styler.
  ~TAdvFormStyler() override;

  void Loaded() override;
  // Copies AutoThemeAdapt, then Style, from another form styler; other sources are ignored.
  void Assign(TPersistent* Source) override;

  // When Enabled: the owner form or frame gets Style; then OnChange.
  void ApplyStyle();
  // The form's colour for AStyle, then AStyle to the form and its components (frames included).
  void ApplyStyleToForm(TCustomForm* Form, TVornStyle AStyle);
  void ApplyStyleToFrame(TWinControl* Frame, TVornStyle AStyle);
  // ATones to the form (or frame) and every component implementing IVornTones.
  void ApplyColorTonesToForm(TCustomForm* Form, const TColorTones& ATones);
  void ApplyColorTonesToFrame(TWinControl* Frame, const TColorTones& ATones);
  // Metro on and Style tsCustom (nothing applied for them), then ATones to the owner form or frame.
  void SetColorTones(const TColorTones& ATones);
  // The display names of the styles, each with its style as the item's object
  // (TVornStyle cast to a pointer). The caller owns the list.
  std::unique_ptr<TStringList> GetStyles() const;
  Integer GetVersionNr() const { return 0x02040001; }
  String Version() const { return u"2.4.0.1"; }
  void SetVersion(const String&) {}

  TVornStyle Style() const { return FStyle; }
  void SetStyle(TVornStyle Value);
  TColor AppColor() const { return FAppColor; }
  void SetAppColor(TColor Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TAdvAppStyler* AppStyle() const { return FAppStyle; }
  void SetAppStyle(TAdvAppStyler* Value);
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value);
  bool Metro() const { return FMetro; }
  void SetMetro(bool Value);
  TColor MetroColor() const { return FMetroColor; }
  void SetMetroColor(TColor Value);
  TColor MetroTextColor() const { return FMetroTextColor; }
  void SetMetroTextColor(TColor Value);
  TMetroStyle MetroStyle() const { return FMetroStyle; }
  void SetMetroStyle(TMetroStyle Value);
  // A combo box offering the styles: filled with GetStyles, made a drop-down
  // list showing the current style, its OnSelect set to HandleStyleSelect.
  // nullptr detaches the former one. Cleared when the combo box is destroyed.
  TCustomComboBox* ComboBox() const { return FComboBox; }
  void SetComboBox(TCustomComboBox* Value);
  // Style := the object of Sender's selected item; nothing without a selection or for another sender.
  void HandleStyleSelect(TObject* Sender);
  // The hidden window that tells of system theme changes.
  TThemeNotifierWindow* Notifier() const { return FNotifier; }

  TApplyStyleEvent OnApplyStyle;
  TAppliedStyleEvent OnAppliedStyle;
  TApplyStyleEvent OnApplyColorTones;
  TAppliedStyleEvent OnAppliedColorTones;
  TNotifyEvent OnChange;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TAdvAppStyler;
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  void ThemeChanged();
  void UpdateMetro();
  void StyleComponent(TComponent* AComponent, TVornStyle AStyle);
  void TonesToComponent(TComponent* AComponent, const TColorTones& ATones);
  void DetachComboBox();

  TVornStyle FStyle = tsCustom;
  TAdvAppStyler* FAppStyle = nullptr;
  bool FAutoThemeAdapt = false;
  TThemeNotifierWindow* FNotifier = nullptr;
  TMetroStyle FMetroStyle = msLight;
  bool FMetro = false;
  TColor FMetroTextColor = 0;
  TColor FMetroColor = clNone;
  TColorTones FTones;
  bool FEnabled = true;
  TCustomComboBox* FComboBox = nullptr;
  TColor FAppColor = clNone;
};

class TAdvAppStyler : public TComponent {
 public:
  explicit TAdvAppStyler(TComponent* AOwner);
  // Clears AppStyle of every registered form styler.
  ~TAdvAppStyler() override;

  void Loaded() override;
  // Copies Style, then AutoThemeAdapt, from another application styler.
  void Assign(TPersistent* Source) override;

  // Adds the form styler unless it is registered; nothing for nullptr.
  void RegisterFormStyler(TAdvFormStyler* AFormStyler);
  // Removes it; nothing when absent.
  void UnRegisterFormStyler(TAdvFormStyler* AFormStyler);
  Integer FormStylerCount() const { return static_cast<Integer>(FFormStylers.size()); }

  // When Enabled: every registered form styler takes the metro settings, the
  // application colour and the style; then OnChange.
  void ApplyStyle();
  // Stores ATones and passes them to every form styler; Metro on, Style
  // tsCustom, MetroColor and MetroTextColor the Selected brush, MetroStyle
  // msLight for a white and msDark for a black Background brush.
  void SetColorTones(const TColorTones& ATones);
  String Version() const { return u"2.4.0.1"; }
  void SetVersion(const String&) {}

  TVornStyle Style() const { return FStyle; }
  void SetStyle(TVornStyle Value);
  TColor AppColor() const { return FAppColor; }
  void SetAppColor(TColor Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value);
  bool Metro() const { return FMetro; }
  void SetMetro(bool Value);
  TColor MetroColor() const { return FMetroColor; }
  void SetMetroColor(TColor Value);
  TColor MetroTextColor() const { return FMetroTextColor; }
  void SetMetroTextColor(TColor Value);
  TMetroStyle MetroStyle() const { return FMetroStyle; }
  void SetMetroStyle(TMetroStyle Value);
  const TColorTones& Tones() const { return FTones; }
  TThemeNotifierWindow* Notifier() const { return FNotifier; }

  TNotifyEvent OnChange;

 private:
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  void ThemeChanged();
  void UpdateMetro();
  void Changed();

  std::vector<TAdvFormStyler*> FFormStylers;
  TVornStyle FStyle = tsCustom;
  TColorTones FTones;
  bool FMetro = false;
  TMetroStyle FMetroStyle = msLight;
  TColor FMetroColor = clNone;
  TColor FMetroTextColor = 0;
  TColor FAppColor = clNone;
  bool FAutoThemeAdapt = false;
  bool FEnabled = true;
  TThemeNotifierWindow* FNotifier = nullptr;
};
