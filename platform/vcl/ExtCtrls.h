#pragma once
// Panel, image, bevel and shape: controls the layer draws itself.
#include <memory>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphic.h"
#include "platform/vcl/StdCtrls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };
enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

// A container with raised or lowered bevels and a centred caption.
class TCustomPanel : public TCustomControl {
 public:
  explicit TCustomPanel(TComponent* AOwner);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  // Negative values count as 0.
  Integer BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(Integer Value);
  Integer BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  bool ParentBackground() const { return FControlStyle.Contains(csParentBackground); }
  void SetParentBackground(bool Value);
  // bsSingle: a flat one-pixel frame in the window-frame colour around the panel.
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TRect FrameInsets() const override;

 protected:
  void Paint() override;
  void AdjustClientRect(TRect& Rect) override;
  void CMTextChanged(TMessage& Message) override;
  Integer BevelExtent() const;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  Integer FBevelWidth = 1;
  Integer FBorderWidth = 0;
  TAlignment FAlignment = taCenter;
  bool FShowCaption = true;
  TBorderStyle FBorderStyle = bsNone;
};

class TPanel : public TCustomPanel {
 public:
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

// Shows a picture: at its natural size, centred, stretched or proportionally fitted.
class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  void SetAutoSize(bool Value) override;
  // Where the picture lands in the client area.
  TRect DestRect() const;

 protected:
  void Paint() override;
  void PictureChanged(TObject* Sender);
  std::unique_ptr<TPicture> FPicture;
  bool FStretch = false, FCenter = false, FProportional = false, FTransparent = false;
};

// Lines and frames with a 3-D look.
class TBevel : public TGraphicControl {
 public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

 protected:
  void Paint() override;
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

// A rectangle, rounded rectangle or ellipse in its pen and brush.
class TShape : public TGraphicControl {
 public:
  explicit TShape(TComponent* AOwner);
  ~TShape() override;
  TShapeType Shape() const { return FShape; }
  void SetShape(TShapeType Value);
  TPen* Pen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }

 protected:
  void Paint() override;
  TShapeType FShape = stRectangle;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
};

// Declares these controls and their published properties to the type information.
void RegisterExtCtrlsClasses();
