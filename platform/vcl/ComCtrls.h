#pragma once
// Progress bar, page control with tab sheets, and the rich edit (plain text
// or simple formatted text).
#include <memory>
#include <vector>

#include "platform/rtl/Streams.h"
#include "platform/vcl/StdCtrls.h"

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public THostedControl {
 public:
  explicit TProgressBar(TComponent* AOwner);
  ~TProgressBar() override;
  Integer Min() const { return FMin; }
  Integer Max() const { return FMax; }
  // Min above Max is refused (the value is not taken); Position is clamped into the range.
  void SetMin(Integer Value);
  void SetMax(Integer Value);
  Integer Position() const { return FPosition; }
  // Clamped to Min..Max.
  void SetPosition(Integer Value);
  Integer Step() const { return FStep; }
  void SetStep(Integer Value) { FStep = Value; }
  // Moves Position by Step (by Delta), clamped.
  void StepIt() { SetPosition(FPosition + FStep); }
  void StepBy(Integer Delta) { SetPosition(FPosition + Delta); }
  TProgressBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TProgressBarOrientation Value);
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool Value) { FSmooth = Value; }

 protected:
  void Apply();
  Integer FMin = 0, FMax = 100, FPosition = 0, FStep = 10;
  TProgressBarOrientation FOrientation = pbHorizontal;
  bool FSmooth = false;
};

class TPageControl;

// One page of a page control; its tab can be hidden while the page stays.
class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return FPageControl; }
  // Moves the sheet into the page control (nullptr: out of any).
  void SetPageControl(TPageControl* Value);
  // Position among the page control's pages; out-of-range values are clamped.
  Integer PageIndex() const;
  void SetPageIndex(Integer Value);
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  // Position among the visible tabs, -1 when the tab is hidden.
  Integer TabIndex() const;
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value) { FImageIndex = Value; }
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

 protected:
  friend class TPageControl;
  void CMTextChanged(TMessage& Message) override;
  void CMShowingChanged(TMessage& Message) override;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
  Integer FImageIndex = -1;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// Pages with a row of tabs on top; the tabs of hidden sheets are left out,
// and with no tab shown the pages fill the whole control.
class TPageControl : public THostedControl {
 public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  Integer PageCount() const { return Integer(FPages.size()); }
  // A bad index raises EListError.
  TTabSheet* Pages(Integer Index) const;
  TTabSheet* ActivePage() const { return FActivePage; }
  // Shows the sheet (nullptr: none); a sheet of another control is ignored.
  void SetActivePage(TTabSheet* Page);
  Integer ActivePageIndex() const;
  void SetActivePageIndex(Integer Value);
  // The active page's position among the visible tabs; -1 when none.
  Integer TabIndex() const;
  void SetTabIndex(Integer Value);
  // The next (previous) page, wrapping; with CheckTabVisible only pages with a visible tab.
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
  void SelectNextPage(bool GoForward, bool CheckTabVisible = true);
  // The tab at the client point, -1 when none.
  Integer IndexOfTabAt(Integer X, Integer Y) const;
  // Height of the tab row (0 when no tab shows).
  Integer TabHeight() const;
  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

 protected:
  friend class TTabSheet;
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void UpdateTabs();
  void AdjustClientRect(TRect& Rect) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  LRESULT DialogCode() const override { return DLGC_WANTARROWS; }
  virtual bool CanChange();
  virtual void Change();
  void ChangeActivePage(TTabSheet* Page);
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
};

// A memo that also shows simple formatted text: LoadFromStream reads rich
// text (paragraphs, bold, italic, underline, colours, Unicode escapes) or,
// with PlainText or text that is not rich text, plain lines.
class TRichEdit : public TCustomMemo {
 public:
  explicit TRichEdit(TComponent* AOwner);
  ~TRichEdit() override;
  bool PlainText() const { return FPlainText; }
  void SetPlainText(bool Value) { FPlainText = Value; }
  // Reads from the stream's position to its end; nullptr does nothing.
  void LoadFromStream(TStream* Stream);
  // Bold, italic and underline of the character at the 0-based position (for checks).
  bool IsBoldAt(Integer Position) const;
  bool IsItalicAt(Integer Position) const;

 protected:
  void PushText() override;
  bool FPlainText = false;
};

// The plain text and character formats of rich text, as far as the rich edit shows them.
struct TRichRun {
  String Text;
  bool Bold = false, Italic = false, Underline = false;
  TColor Color = clNone;
};
// Parses rich text ("{\rtf1 ..."); unknown control words and destinations
// are skipped, bad nesting ends the parse. Never throws.
std::vector<TRichRun> ParseRichText(const std::string& Rtf);

void RegisterComCtrlsClasses();
