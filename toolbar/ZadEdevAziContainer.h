#pragma once
// TZadEdevAziContainer: a group box for toolbars. It holds other controls
// (glow buttons, toolbar controls, any control), shows the toolbar's
// background through itself and draws a thin frame with an optional caption
// set into its top line. The controls inside it are tied to the toolbar
// that holds it, so that they behave like controls on that toolbar.
#include <memory>

#include "foundation/pictures/AdvHintInfo.h"
#include "platform/vcl/Controls.h"
#include "toolbar/shared/ToolBarAppearance.h"

namespace toolbar {

class TAdvCustomToolBar;

class TZadEdevAziContainer : public TCustomControl {
 public:
  explicit TZadEdevAziContainer(TComponent* AOwner);
  ~TZadEdevAziContainer() override;

  // The toolbar that holds the container; every toolbar control inside
  // takes it as its own toolbar.
  TAdvCustomToolBar* ZadEdevAzi() const { return FZadEdevAzi; }
  void SetZadEdevAzi(TAdvCustomToolBar* Value);

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  // Its Color is also the control's Color.
  TGradientBackground* Color() const { return FColor.get(); }
  void SetColor(TGradientBackground* Value);
  TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  void SetOfficeHint(TAdvHintInfo* Value);
  TColor LineColor() const { return FLineColor; }
  void SetLineColor(TColor Value);
  // Take the frame look from the toolbar's styler.
  bool ParentStyler() const { return FParentStyler; }
  void SetParentStyler(bool Value);
  bool Line3D() const { return FLine3D; }
  void SetLine3D(bool Value);
  // Minimum Left and Top of the children and inset of the client area;
  // only 0 to 14 are taken.
  Integer Margins() const { return FMargins; }
  void SetMargins(Integer Value);
  bool ShowBorder() const { return FShowBorder; }
  void SetShowBorder(bool Value);

  void Loaded() override;

 protected:
  void AdjustClientRect(TRect& Rect) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void ColorChanged(TObject* Sender);
  // Moves children that lie left of or above Margins onto it.
  void ClampChildren();
  // A child toolbar control takes the container's toolbar.
  void TieChild(TControl* C);
  void CMControlChange(TMessage& Message);

  TAdvCustomToolBar* FZadEdevAzi = nullptr;
  bool FParentStyler = true;
  bool FLine3D = true;
  String FCaption;
  TColor FLineColor = clBtnShadow;
  std::unique_ptr<TGradientBackground> FColor;
  Integer FMargin = 2;
  std::unique_ptr<TAdvHintInfo> FOfficeHint;
  Integer FMargins = 0;
  bool FInternalUpdating = false;
  bool FShowBorder = true;
};

void RegisterToolBarContainerClass();

}  // namespace toolbar
