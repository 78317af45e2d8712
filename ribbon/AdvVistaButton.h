#pragma once
// TAdvVistaButton: the small self-drawn arrow button of the quick-access
// toolbar (its customize button and its overflow scroll button). A
// windowless control with a glow-button appearance: it paints its face by
// state and one of a few arrow glyphs, and clicks when the left button is
// released over it.
#include <memory>

#include "controls/GlowButtonAppearance.h"
#include "controls/GlowButtonPainter.h"
#include "platform/vcl/Controls.h"

namespace ribbon {

enum TScrollArrow { saLeft, saTop, saRight, saBottom, saNone };
enum TArrowStyle { asSingle, asDouble, asWithLine };

class TAdvVistaButton : public TGraphicControl {
 public:
  explicit TAdvVistaButton(TComponent* AOwner);
  ~TAdvVistaButton() override;

  TGlowButtonAppearance* Appearance() const { return FAppearance.get(); }
  TScrollArrow ScrollArrow() const { return FScrollArrow; }
  void SetScrollArrow(TScrollArrow Value);
  TArrowStyle ArrowStyle() const { return FArrowStyle; }
  void SetArrowStyle(TArrowStyle Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TButtonPosition ButtonPosition() const { return FButtonPosition; }
  void SetButtonPosition(TButtonPosition Value);
  bool MouseInside() const { return FMouseEnter; }
  bool MousePressed() const { return FMouseDown; }
  // Drawn on the glass caption: the parent quick-access toolbar's glass
  // switch, else the glass and scenic flags together.
  bool IsGlassDrawn() const;
  // Paints the button now (the quick-access toolbar's glass paint asks it).
  void PaintNow() { Paint(); }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  void AppearanceChanged(TObject* Sender);

  bool FMouseEnter = false;
  std::unique_ptr<TGlowButtonAppearance> FAppearance;
  bool FTransparent = false;
  TButtonPosition FButtonPosition = bpStandalone;
  bool FMouseDown = false;
  TScrollArrow FScrollArrow = saLeft;
  TArrowStyle FArrowStyle = asSingle;
  bool FDown = false;
  Single FDPIScale = 1.0f;
};

// The glyphs, drawn on any canvas (tests look at them alone).
// Double right arrow in R: GDI+ filled triangles on glass, GDI strokes else.
void DrawDoubleRightArrow(TCanvas* Canvas, const TRect& R, bool Glass);
// The customize glyph (a bar over a triangle) in R, colour C.
void DrawCustomizeGlyph(TCanvas* Canvas, const TRect& R, TColor C);

}  // namespace ribbon
