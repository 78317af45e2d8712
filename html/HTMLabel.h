#pragma once
// THTMLabel: a windowless label that shows the mini-HTML text of HTMLText
// through HTMLRender, with clickable anchors (hover colours, anchor events,
// web and mail links opened by the desktop), anchor hints, an ellipsis mode,
// sizing to the text, a background gradient or gradient line, bevels and a
// border, printing onto another canvas and highlighting of search text.
#include <functional>
#include <memory>

#include "foundation/pictures/HTMLPictureCache.h"
#include "foundation/pictures/PictureContainer.h"
#include "foundation/style/VornStyle.h"
#include "html/HTMLRender.h"
#include "platform/rtl/Strings.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/StdCtrls.h"

enum TAutoSizeType { asVertical, asHorizontal, asBoth };
enum TVAlignment { tvaTop, tvaCenter, tvaBottom };
enum TGradientType { gtFullHorizontal, gtFullVertical, gtBottomLine, gtCenterLine, gtTopLine };

using TAnchorClick = std::function<void(TObject* Sender, const String& Anchor)>;
using TAnchorHintEvent = std::function<void(TObject* Sender, String& Anchor)>;
using TNewSizeEvent = std::function<void(TObject* Sender, Integer NewWidth, Integer NewHeight)>;

class THTMLabel : public TCustomLabel, public IVornStyle {
 public:
  explicit THTMLabel(TComponent* AOwner);
  ~THTMLabel() override;

  // The text list; assigning a list joins its lines without blanks (line
  // breaks vanish). nullptr changes nothing.
  TStringList* HTMLText() const { return FHTMLText.get(); }
  void SetHTMLText(TStrings* Value);
  // The plain text of the joined HTML.
  String Text() const;
  THTMLPictureCache* ImageCache() const { return FImageCache.get(); }
  // The size the text needs in a 4096 × 4096 rectangle.
  TSize HTMLSize();
  // The size the text needs when wrapped at AMaxWidth (up to 4096 high).
  TSize GetSizeWithMaxWidth(Integer AMaxWidth);

  bool AnchorHint() const { return FAnchorHint; }
  void SetAnchorHint(bool Value) { FAnchorHint = Value; }
  bool AutoSizing() const { return FAutoSizing; }
  void SetAutoSizing(bool Value);
  TAutoSizeType AutoSizeType() const { return FAutoSizeType; }
  void SetAutoSizeType(TAutoSizeType Value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  Integer BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(Integer Value);
  Integer BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value);
  bool Ellipsis() const { return FEllipsis; }
  void SetEllipsis(bool Value);
  TGradientType GradientType() const { return FGradientType; }
  void SetGradientType(TGradientType Value);
  bool HintShowFull() const { return FHintShowFull; }
  void SetHintShowFull(bool Value) { FHintShowFull = Value; }
  bool HTMLHint() const { return FHTMLHint; }
  void SetHTMLHint(bool Value) { FHTMLHint = Value; }
  bool Hover() const { return FHover; }
  void SetHover(bool Value) { FHover = Value; }
  TColor HoverColor() const { return FHoverColor; }
  void SetHoverColor(TColor Value) { FHoverColor = Value; }
  TColor HoverFontColor() const { return FHoverFontColor; }
  void SetHoverFontColor(TColor Value) { FHoverFontColor = Value; }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  Integer LineWidth() const { return FLineWidth; }
  void SetLineWidth(Integer Value);
  Integer LineSpacing() const { return FLineSpacing; }
  void SetLineSpacing(Integer Value);
  TPictureContainer* PictureContainer() const { return FContainer; }
  void SetPictureContainer(TPictureContainer* Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  Integer ShadowOffset() const { return FShadowOffset; }
  void SetShadowOffset(Integer Value);
  TColor URLColor() const { return FURLColor; }
  void SetURLColor(TColor Value);
  TVAlignment VAlignment() const { return FVAlignment; }
  void SetVAlignment(TVAlignment Value);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value);
  // The text came from outside the program: "FILE://" pictures and file
  // icons named in it are not read.
  bool ExternalText() const { return FExternalText; }
  void SetExternalText(bool Value);
  // "2.3.0.1"; writing has no effect.
  String Version() const;
  void SetVersion(const String&) {}
  TVornStyle UIStyle() const { return FUIStyle; }
  void SetUIStyle(TVornStyle Value) { SetComponentStyle(Value); }

  void BeginUpdate();
  // Ends an update; repaints when the last one ends. Without BeginUpdate nothing.
  void EndUpdate();
  // Paints now.
  void Doit() { Paint(); }
  // tsCustom keeps the font colour; other styles set the style's text colour.
  void SetComponentStyle(TVornStyle AStyle) override;
  // Draws the text onto Canvas inside R as for printing.
  void HTMLPrint(TCanvas* Canvas, TRect R);
  // Wraps every occurrence of HiText in the highlight tag (case-sensitive with DoCase).
  void HilightText(const String& HiText, bool DoCase);
  void UnHilightText();
  // Wraps every occurrence of HiText in the mark tag (red zigzag underline).
  void MarkText(const String& HiText, bool DoCase);
  void UnMarkText();
  // Stored only when ADPIScale > 0.
  void SetDPIScale(Single ADPIScale);
  // The href (or, with ReturnTitle, the title) of the anchor at (X, Y) in
  // client coordinates; empty when none. HoverRect: that anchor's rectangle
  // on its last line, (-1, -1, -1, -1) when none.
  String AnchorAt(Integer X, Integer Y, TRect& HoverRect, bool ReturnTitle);
  // 1-based index of the hovered anchor; -1 when none.
  Integer HoverAnchorIndex() const { return FHoverHyperLink; }

  TAnchorClick OnAnchorClick;
  TAnchorClick OnAnchorEnter;
  TAnchorClick OnAnchorExit;
  TAnchorHintEvent OnAnchorHint;
  TNewSizeEvent OnNewSize;

 protected:
  virtual Cardinal GetVersionNumber() const { return 0x02030001; }
  virtual String GetHTMLString() const;
  virtual void DoAnchorClick(const String& Anchor);
  virtual void HTMLChanged() { Invalidate(); }
  // The renderer with Args, except what the label decides itself: no focus
  // anchor, wrapping unless Ellipsis, its picture cache, container, line
  // spacing, reading order, highlight colours and DPI scale.
  virtual bool DrawHTML(TCanvas* Canvas, const String& Text, const TRect& R, html::THTMLRenderArgs Args,
                        html::THTMLRenderResult& Result);
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseLeave() override;
  void Dispatch(TMessage& Message) override;

 private:
  void InvalidateArea(const TRect& R);
  void HintShow(THintInfo& Info);
  // Half the border line's width inside the frames (0 when no line is drawn).
  Integer BorderLineInset() const;
  // VAlignment, or top while auto-sizing makes the label as tall as its text.
  TVAlignment TextVAlignment() const;
  // The rectangle Paint lays the text out in before vertical alignment: inside
  // the bevels, the border and the border line, and widened or made taller
  // for auto-sizing. Hit tests use the same one.
  TRect TextBounds() const;
  // R's top moved for the vertical alignment of a text ExtentY high.
  void AlignTextBounds(TRect& R, Integer ExtentY) const;
  // The renderer's arguments every call of the label shares: its images,
  // shadow offset, hover mode and form scaling, hit-testing at (X, Y).
  html::THTMLRenderArgs RenderArgs(Integer X, Integer Y) const;

  std::unique_ptr<TStringList> FHTMLText;
  std::unique_ptr<THTMLPictureCache> FImageCache;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  TCustomImageList* FImages = nullptr;
  TPictureContainer* FContainer = nullptr;
  bool FAnchorHint = false;
  bool FAutoSizing = false;
  TAutoSizeType FAutoSizeType = asVertical;
  TBevelCut FBevelInner = bvNone, FBevelOuter = bvNone;
  Integer FBevelWidth = 1, FBorderWidth = 0;
  TBorderStyle FBorderStyle = bsNone;
  TColor FBorderColor = clBlack;
  TColor FColorTo = clNone;
  bool FEllipsis = false;
  TGradientType FGradientType = gtFullHorizontal;
  bool FHintShowFull = false, FHTMLHint = false;
  bool FHover = false;
  TColor FHoverColor = clNone, FHoverFontColor = clNone;
  Integer FLineWidth = 2, FLineSpacing = 0;
  TColor FShadowColor = 0x808080;
  Integer FShadowOffset = 2;
  TColor FURLColor = 0xFF0000;
  TVAlignment FVAlignment = tvaTop;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FExternalText = false;
  TVornStyle FUIStyle = tsCustom;
  Single FDPIScale = 1.0f;
  Integer FUpdateCount = 0;
  Integer FHoverHyperLink = -1, FOldHoverHyperLink = -1;
  TRect FCurrHoverRect{-1, -1, -1, -1};
  String FOldAnchor;
  bool FFormScaled = true;
};
