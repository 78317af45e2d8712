#pragma once
// The common base of the windowless controls a toolbar (or a quick-access
// toolbar) owns, and the separator.
//
// The toolbar reaches its controls only through this base: the virtual
// operations below are what a derived control (the toolbar button) answers
// so that the toolbar need not know its class.
#include "platform/vcl/Controls.h"
#include "toolbar/AdvToolBarLayout.h"

namespace ribbon {
class TAdvQuickAccessToolBar;
}

namespace toolbar {

class TAdvCustomToolBar;
class TZadEdevAziContainer;

class TAdvCustomToolBarControl : public TGraphicControl {
 public:
  // Position daTop, no toolbar, no quick-access toolbar.
  explicit TAdvCustomToolBarControl(TComponent* AOwner);
  ~TAdvCustomToolBarControl() override;

  TAdvCustomToolBar* ZadEdevAzi() const { return FZadEdevAzi; }
  // Nothing when Value is the current toolbar. Otherwise the old toolbar
  // drops the control, the control moves into Value (nullptr: no parent),
  // and Value takes it in, which is what sets ZadEdevAzi. Raises Exception
  // "ZadEdevAzi not set" when Value did not take it.
  virtual void SetZadEdevAzi(TAdvCustomToolBar* Value);
  ribbon::TAdvQuickAccessToolBar* AdvQuickAccessToolBar() const { return FAdvQuickAccessToolBar; }
  void SetAdvQuickAccessToolBar(ribbon::TAdvQuickAccessToolBar* Value) {
    if (FAdvQuickAccessToolBar != Value) FAdvQuickAccessToolBar = Value;
  }

  TDockAlign Position() const { return FPosition; }
  // The dock side of the owning toolbar; a button turns with it.
  virtual void SetPosition(TDockAlign Value) { FPosition = Value; }
  bool Horizontal() const { return FPosition == daTop || FPosition == daBottom; }

  // --- what the toolbar asks of its controls (answered by derived classes) ---
  // A toolbar button (it forgets its toolbar when it leaves the list).
  virtual bool IsToolBarButton() const { return false; }
  // A menu-bar button made for an item of the toolbar's main menu.
  virtual bool IsMenuButton() const { return false; }
  // A separator never counts for the toolbar's thickness.
  virtual bool IsSeparator() const { return false; }
  // A button that turns with a vertical toolbar (its width runs along it).
  virtual bool CanRotate() const { return false; }
  // Rebuilds the shaded image of a button (after the image lists changed).
  virtual void CreateGlyphShade() {}

 protected:
  friend class TAdvCustomToolBar;
  friend class TZadEdevAziContainer;  // ties the controls it holds to its toolbar
  // Forgets a toolbar that is being freed.
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TAdvCustomToolBar* FZadEdevAzi = nullptr;
  TDockAlign FPosition = daTop;
  ribbon::TAdvQuickAccessToolBar* FAdvQuickAccessToolBar = nullptr;
};

enum TAdvSeparatorStyle { ssOffice2003, ssBlank };

class TZadEdevAziSeparator : public TAdvCustomToolBarControl {
 public:
  // AutoSize on, bounds (0, 0, 22, 10).
  explicit TZadEdevAziSeparator(TComponent* AOwner);
  // From a separator: SeparatorStyle and LineColor through their setters.
  void Assign(TPersistent* Source) override;
  bool IsSeparator() const override { return true; }

  TAdvSeparatorStyle SeparatorStyle() const { return FSeparatorStyle; }
  void SetSeparatorStyle(TAdvSeparatorStyle Value);
  TColor LineColor() const { return FLineColor; }
  void SetLineColor(TColor Value);

  // Across the toolbar: 10 along it and the toolbar's thickness less 4
  // (less the caption too on a ribbon page).
  void AdjustSize() override;

 protected:
  void Paint() override;
  // The line in LineColor, then one pixel right and down in white.
  void DrawEtchedLine(TPoint P1, TPoint P2);

 private:
  TAdvSeparatorStyle FSeparatorStyle = ssOffice2003;
  TColor FLineColor = clBtnShadow;
};

}  // namespace toolbar
