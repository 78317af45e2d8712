#pragma once
// The geometry of a ribbon page's toolbars: one line, each as tall as the
// page less 6, 3 pixels apart; button-size steps, compacting and expanding
// to fit the page's width; sideways scrolling when even fully compact
// toolbars do not fit. The rules know no widget: they work on
// IPageToolBar, which the page implements over its real toolbars and
// TToolBarSizeModel implements over plain numbers, and they check their
// invariants after every operation.
#include <memory>
#include <string>
#include <vector>

#include "controls/AdvGlowButton.h"
#include "platform/rtl/Geometry.h"

namespace ribbon {

// One toolbar as the page's passes see it.
class IPageToolBar {
 public:
  // Visible (takes part in the layout and the passes).
  virtual bool IsShown() const = 0;
  virtual TRect Bounds() const = 0;
  virtual void SetBounds(const TRect& R) = 0;
  virtual bool IsCompact() const = 0;
  // False while the application holds the toolbar compact.
  virtual bool AllowAutoCompact() const = 0;
  virtual bool PropertiesLoaded() const = 0;
  // One button-size step: the width it gains (reduce) or needs (enlarge),
  // 0 when none; ANewState receives the state the buttons step to.
  virtual Integer ReduceButtonSizes(TButtonSizeState& ANewState, bool AApply) = 0;
  virtual Integer EnlargeButtonSizes(TButtonSizeState& ANewState, bool AApply) = 0;
  virtual void ChangeCompact(bool ACompact) = 0;
  virtual void SetCompactSmallest(bool Value) = 0;
  virtual Integer GetExpandedWidth() = 0;
  virtual Integer GetCompactWidth() = 0;

 protected:
  ~IPageToolBar() = default;
};

// What the rules need to know of the page.
struct TPageFrame {
  Integer Width = 0, Height = 0;
  // GetPageInset: the extra room an expanded toolbar must find.
  Integer Inset = 4;
  // The page lays its toolbars out now (AutoPosition, not loading, no
  // update pending).
  bool AutoPosition = true;
  // The pager's AutoCompactToolBars (a page without a pager: true).
  bool AutoCompact = true;
};

// The scroll state: the first shown toolbar (by Left) and the scroller's
// range, whose Min is always 0.
struct TToolBarScrollState {
  Integer FirstIndex = 0;
  // How far the toolbars stand left of their unscrolled places; a layout
  // keeps it, so a scrolled page stays scrolled.
  Integer Offset = 0;
  Integer Position = 0;
  Integer Max = 0;
  bool CanGoBack() const { return Position > 0; }
  bool CanGoForward() const { return Position < Max; }
};

class TPageToolBarLayout {
 public:
  static constexpr Integer Margin = 3;

  // The toolbars in the page's list order; the pointers stay the caller's.
  void SetToolBars(std::vector<IPageToolBar*> AToolBars) { FToolBars = std::move(AToolBars); }
  void SetFrame(const TPageFrame& AFrame) { FFrame = AFrame; }
  const TPageFrame& Frame() const { return FFrame; }
  TToolBarScrollState& Scroll() { return FScroll; }
  const TToolBarScrollState& Scroll() const { return FScroll; }

  // Places the shown toolbars of positive width side by side from x = 3
  // (nothing unless Frame().AutoPosition).
  void Arrange();
  // The shown toolbars ordered by Left (ties keep list order).
  std::vector<IPageToolBar*> ToolBarsByLeft() const;
  // Page width less the right edge of the last toolbar by Left, less 2;
  // the page width less 2 with no shown toolbar.
  Integer FreeWidth() const;

  // The compacting passes; each starts unscrolled, works in a bounded loop
  // of single steps and stops when the toolbars fit or nothing can change.
  // A page whose toolbars fit exactly (free width 0) is left alone; a
  // toolbar expanded by GrowToolBars that turns out wider than the room
  // goes back to compact.
  void ShrinkToolBars();
  void GrowToolBars();
  void UpdateAllToolBars();
  // The set of shown toolbars changed (one shown, hidden, added or
  // removed): lays them out again, grows them into the room given back
  // (AFewer: one that showed no longer does), then shrinks them for the
  // room taken (AMore: one more shows), and starts unscrolled.
  void ShownToolBarsChanged(bool AMore, bool AFewer);

  // How many toolbars by Left fit from Index forward (or backward to 0);
  // 0 for an Index outside the list.
  Integer CountFittingToolBars(Integer Index, bool AForward) const;
  bool AllToolBarsCompact() const;
  Integer VisibleToolBarCount() const;
  // Recounts the scroller's range; the position stays within it.
  void UpdateToolBarScroller();
  // Back to the unscrolled state (after every width change).
  void ResetToolBarScroller();
  // Scrolls by ADelta screens (negative: back); answers the screens moved.
  Integer ScrollToolBars(Integer ADelta);
  // Moves the toolbars so that the toolbar Index (by Left) shows first.
  void ScrollToToolBar(Integer Index);

  // Empty when the state is sound, else what is wrong: toolbars that
  // overlap or stand out of list order, a wrong top or height, a scroll
  // state out of range. Run after every operation; the first fault found
  // is kept in Violation().
  std::string CheckInvariants() const;
  const std::string& Violation() const { return FViolation; }

 private:
  struct TCandidate {
    IPageToolBar* ToolBar = nullptr;
    Integer Width = 0;
    TButtonSizeState State = bsLarge;
  };
  bool Eligible(IPageToolBar* T, bool TestWidth) const;
  bool PassesAllowed() const;
  void Check();
  // Back to the unscrolled places: a pass changes widths, which any scroll
  // state was counted for.
  void Unscroll();
  // Re-places after one step so that the free width is current.
  void Relayout();

  std::vector<IPageToolBar*> FToolBars;
  TPageFrame FFrame;
  TToolBarScrollState FScroll;
  // The toolbars have been scrolled sideways since the last layout.
  bool FScrolled = false;
  std::string FViolation;
};

// A toolbar described by numbers: its width at each button-size level
// (level 0 the largest) with the state each reduction steps to, its compact
// width, and whether it is shown, loaded or held compact. The page rules
// run over it without any window.
class TToolBarSizeModel : public IPageToolBar {
 public:
  struct TLevel {
    Integer Width;
    // The state of the buttons at this level (level 0: bsLarge).
    TButtonSizeState State;
  };
  TToolBarSizeModel(std::vector<TLevel> ALevels, Integer ACompactWidth);

  bool IsShown() const override { return Shown; }
  TRect Bounds() const override { return FBounds; }
  void SetBounds(const TRect& R) override { FBounds = R; }
  bool IsCompact() const override { return FCompact; }
  bool AllowAutoCompact() const override { return !HeldCompact; }
  bool PropertiesLoaded() const override { return Loaded; }
  Integer ReduceButtonSizes(TButtonSizeState& ANewState, bool AApply) override;
  Integer EnlargeButtonSizes(TButtonSizeState& ANewState, bool AApply) override;
  void ChangeCompact(bool ACompact) override;
  void SetCompactSmallest(bool Value) override { FCompactSmallest = Value; }
  // Like a real compact toolbar, the first ask after compacting settles on
  // the smallest level.
  Integer GetExpandedWidth() override;
  Integer GetCompactWidth() override { return FCompactWidth; }

  Integer Level() const { return FLevel; }
  bool CompactSmallest() const { return FCompactSmallest; }
  // What the application's Compact property does: held compact, or handed
  // back to the passes.
  void HoldCompact(bool Value);

  bool Shown = true;
  bool Loaded = true;
  // The application set Compact: the passes leave it alone.
  bool HeldCompact = false;

 private:
  void SetWidth(Integer W) { FBounds.Right = FBounds.Left + W; }
  std::vector<TLevel> FLevels;
  Integer FLevel = 0;
  Integer FCompactWidth;
  bool FCompact = false;
  bool FCompactSmallest = false;
  TRect FBounds{0, 0, 0, 0};
};

}  // namespace ribbon
