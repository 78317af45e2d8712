#pragma once
// The rows of a dock panel as plain geometry: which row a docked toolbar
// belongs to, where it stands in its row, how toolbars of a row give way to
// each other when one moves or grows, how thick each row is, where the rows
// lie and how large the panel becomes.
//
// The rules see a toolbar through IDockBar and the panel through
// IDockRowsHost, so that tests and benchmarks drive them over plain
// rectangles (TDockBarModel, TDockHostModel) and the dock panel over real
// toolbars. CheckDockRows states the invariants every operation keeps.
//
// Terms: the row axis is x on top and bottom docks and y on left and right
// ones; a toolbar's position and length are taken along it, its thickness
// across it. Row spacing (2) stays free between consecutive toolbars and at
// both ends of a row.
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Collection.h"
#include "platform/rtl/Geometry.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Types.h"
#include "toolbar/AdvToolBarLayout.h"

namespace toolbar {

// A docked toolbar as the rows see it.
class IDockBar {
 public:
  // In the dock panel's client coordinates.
  virtual TRect BarBounds() const = 0;
  // Moves or sizes the toolbar directly: the change does not come back to
  // the rows. Its constraints apply.
  virtual void SetBarBounds(const TRect& R) = 0;
  // Its length constraints along its own side (0: none).
  virtual Integer BarMinLength() const = 0;
  virtual Integer BarMaxLength() const = 0;
  virtual void SetBarLengthConstraints(Integer AMin, Integer AMax) = 0;
  // Its own side is top or bottom (its constraints are widths).
  virtual bool BarHorizontal() const = 0;
  virtual bool BarFullSize() const = 0;
  virtual bool BarVisible() const = 0;
  // The row it stands in, or the one it stood in while hidden; -1 when none.
  virtual Integer BarRow() const = 0;
  virtual void SetBarRow(Integer Value) = 0;
  virtual bool BarDesigning() const = 0;
  virtual bool BarLoading() const = 0;
  // Its length changed under it: it may hide or show rarely used controls.
  virtual void BarLengthFitted() = 0;

 protected:
  ~IDockBar() = default;
};

// The dock panel as the rows see it.
class IDockRowsHost {
 public:
  virtual TDockAlign DockAlign() const = 0;
  // Left, top, right and bottom in the panel's parent.
  virtual TRect DockBounds() const = 0;
  virtual void SetDockBounds(const TRect& R) = 0;
  // LockHeight is on, the panel is loaded and not being designed: no row is
  // added or deleted.
  virtual bool HeightLocked() const = 0;
  virtual bool DockDesigning() const = 0;
  virtual bool DockUseRunTimeHeight() const = 0;
  virtual Integer DockMinimumSize() const = 0;
  // The toolbar family's DPI scale (1.0 at 96 pixels per inch).
  virtual Single DockScale() const = 0;

 protected:
  ~IDockRowsHost() = default;
};

// The panel's own insets around the rows: FOffSetX beside them, FOffSetY
// after the last one.
constexpr Integer DockOffSetX = 1;
constexpr Integer DockOffSetY = 0;
// The gap across the rows and the row spacing.
constexpr Integer RowOffSetY = 1;
constexpr Integer RowOffSetX = 2;
// The thinnest row, before DPI scaling.
constexpr Integer MinRowThickness = 26;

class TRowCollection;

class TRowCollectionItem : public TCollectionItem {
 public:
  explicit TRowCollectionItem(TCollection* Collection);
  // Raises the collection's OnDeleteItem with this row's index.
  ~TRowCollectionItem() override;

  TRowCollection* Rows() const;
  const std::vector<IDockBar*>& ToolBarList() const { return FToolBarList; }
  Integer ToolBarCount() const { return static_cast<Integer>(FToolBarList.size()); }
  Integer IndexOfToolBar(const IDockBar* Bar) const;

  // Thickness: the thickest toolbar, at least MinRowThickness scaled.
  Integer Height() const;
  const TRect& RowRect() const { return FRowRect; }
  void SetRowRect(const TRect& Rect) { FRowRect = Rect; }

  // Appends Bar at the row's end; its list index, -1 when refused.
  Integer AddToolBar(IDockBar* Bar);
  // Inserts Bar by its current position; true only for an insertion before
  // another toolbar (false for an append or a refusal).
  bool InsertToolBar(IDockBar* Bar);
  // Takes Bar out (its row index becomes -1) and re-arranges the row; with
  // DeleteIfEmpty an emptied row goes.
  void RemoveToolBar(IDockBar* Bar, bool DeleteIfEmpty);
  bool IsAllowed(const IDockBar* Bar) const;
  // Appends Bar to the list without placing it (a stored layout, a stack:
  // the caller places it); refused like AddToolBar.
  bool AppendToolBar(IDockBar* Bar);
  // Takes Bar out of the list and touches neither it nor the row (the
  // toolbar is going away, or is about to be placed anew).
  void ForgetToolBar(const IDockBar* Bar);
  // Restores the row invariants, giving free length to toolbars that can grow.
  void ArrangeToolBars();
  // A requested move or resize along a top or bottom row
  // (SetToolBarLeftAndWidth) or a left or right one (SetToolBarTopAndHeight);
  // the bounds reached come back. Raises "Invalid ToolBar Index" when Bar is
  // not in this row.
  void SetToolBarLeftAndWidth(IDockBar* Bar, Integer& ALeft, Integer& AWidth);
  void SetToolBarTopAndHeight(IDockBar* Bar, Integer& ATop, Integer& AHeight);
  // Row spacing taken off: negative when the toolbars overlap. nullptr for
  // the row's start or end.
  Integer FreeSpaceBetween(const IDockBar* APrev, const IDockBar* ANext) const;
  bool NeedsArrange() const;

 private:
  friend class TRowCollection;
  bool Horizontal() const;
  Integer RowStart() const;
  Integer RowEnd() const;
  Integer RowLength() const { return RowEnd() - RowStart(); }
  Integer FreeBefore(Integer k) const;
  Integer FreeAfter(Integer k) const;
  void FitFullSize(IDockBar* Bar);
  void MoveInRow(IDockBar* Bar, Integer& P, Integer& L);
  // Gives back overlap e < 0 before the end of bar k: first free space in
  // front, then shrink room, from k toward the start.
  Integer Squeeze(Integer k, Integer e);
  // Guarantees no overlap and no toolbar before the row start.
  void Settle();

  std::vector<IDockBar*> FToolBarList;
  TRect FRowRect{};
};

using TOnDeleteItemEvent = std::function<void(TObject* Sender, Integer Index)>;

class TRowCollection : public TCollection {
 public:
  explicit TRowCollection(IDockRowsHost* AOwner);
  // The rows go while this is still a row collection, without OnDeleteItem.
  ~TRowCollection() override;

  IDockRowsHost* Host() const { return FOwner; }
  TRowCollectionItem* Add();
  TRowCollectionItem* Insert(Integer Index);
  TRowCollectionItem* Items(Integer Index) const;

  bool Horizontal() const;
  Integer Scale(Integer k) const;
  bool HeightLocked() const;

  // The first row that holds Bar, -1 when none.
  Integer IsToolBarAlreadyAdded(const IDockBar* Bar) const;
  // Raises "Invalid Row Index" outside the rows.
  void MoveToolBarToRow(IDockBar* Bar, Integer ARowIndex);
  // The row chosen from a requested cross-axis position, on top and bottom
  // docks (SetToolBarTopAndHeight) or left and right ones
  // (SetToolBarLeftAndWidth); the requested thickness is applied.
  void SetToolBarTopAndHeight(IDockBar* Bar, Integer& ATop, Integer& AHeight);
  void SetToolBarLeftAndWidth(IDockBar* Bar, Integer& ALeft, Integer& AWidth);
  // A docked toolbar's requested bounds, as its bound check hands them over:
  // the rows choose its row and its place in it; the left, top and width
  // reached come back (the height stays as requested).
  void BoundsChanging(IDockBar* Bar, Integer& ALeft, Integer& ATop, Integer& AWidth, Integer& AHeight);
  // BoundsChanging, then the bounds reached applied: what setting a docked
  // toolbar's bounds through its ordinary setters does.
  void RequestBounds(IDockBar* Bar, const TRect& R);
  void UpdateRowRects();
  // Rows rebuilt all at once (a stored layout applied) place their rows and
  // size the dock once, at the last EndRowUpdate, instead of at every row
  // added: each dock resize re-aligns the whole form.
  void BeginRowUpdate() { ++FRowUpdateCount; }
  void EndRowUpdate();
  void UpdateDockSize();
  void DeleteRowIfEmpty(TRowCollectionItem* ARow);
  // Every empty row (unless the height is locked).
  void DeleteEmptyRows();
  void PackToolBars();
  void MoveToolBarToOwnRow(IDockBar* Bar);
  void ToolBarVisibleChanged(IDockBar* Bar);

  TNotifyEvent OnChange;
  TOnDeleteItemEvent OnDeleteItem;

 private:
  friend class TRowCollectionItem;
  void ChooseRow(IDockBar* Bar, Integer& P, Integer Thickness);
  // Takes Bar out of row r and gives it a new row next to Anchor (before or
  // after it); nothing while the height is locked.
  void NewRowBeside(IDockBar* Bar, Integer r, TRowCollectionItem* Anchor, bool After);

  IDockRowsHost* FOwner;
  Integer FOffSetY = RowOffSetY;
  Integer FOffSetX = RowOffSetX;
  bool FUpdatingRects = false;
  Integer FRowUpdateCount = 0;
};

// The invariants of a dock panel's rows: every toolbar of Docked that is
// visible stands in exactly one row and every hidden one in none; no
// toolbar of another panel stands in a row; a row's toolbars know its
// index, stand at its cross-axis start, keep their order without overlap
// and within the row (unless even their smallest lengths do not fit); a
// full-size toolbar fills a row alone; no row is empty unless the height is
// locked; the rows tile the panel from its edge and the panel ends after
// the last one. The first broken one as text, empty when all hold.
String CheckDockRows(const TRowCollection& Rows, const std::vector<IDockBar*>& Docked);

// A toolbar as plain numbers (tests, benchmarks).
class TDockBarModel : public IDockBar {
 public:
  TDockBarModel(TRect Bounds, Integer MinLength, Integer MaxLength, bool Horizontal = true)
      : Bounds(Bounds), MinLength(MinLength), MaxLength(MaxLength), Horizontal(Horizontal) {}
  TRect BarBounds() const override { return Bounds; }
  void SetBarBounds(const TRect& R) override;
  Integer BarMinLength() const override { return MinLength; }
  Integer BarMaxLength() const override { return MaxLength; }
  void SetBarLengthConstraints(Integer AMin, Integer AMax) override {
    MinLength = AMin;
    MaxLength = AMax;
  }
  bool BarHorizontal() const override { return Horizontal; }
  bool BarFullSize() const override { return FullSize; }
  bool BarVisible() const override { return Visible; }
  Integer BarRow() const override { return Row; }
  void SetBarRow(Integer Value) override { Row = Value; }
  bool BarDesigning() const override { return false; }
  bool BarLoading() const override { return false; }
  void BarLengthFitted() override { ++Fitted; }

  TRect Bounds;
  Integer MinLength, MaxLength;
  bool Horizontal;
  bool FullSize = false;
  bool Visible = true;
  Integer Row = -1;
  Integer Fitted = 0;
};

// A dock panel as plain numbers (tests, benchmarks).
class TDockHostModel : public IDockRowsHost {
 public:
  TDockHostModel(TDockAlign Align, TRect Bounds) : Align(Align), Bounds(Bounds) {}
  TDockAlign DockAlign() const override { return Align; }
  TRect DockBounds() const override { return Bounds; }
  void SetDockBounds(const TRect& R) override { Bounds = R; }
  bool HeightLocked() const override { return LockHeight; }
  bool DockDesigning() const override { return false; }
  bool DockUseRunTimeHeight() const override { return false; }
  Integer DockMinimumSize() const override { return MinimumSize; }
  Single DockScale() const override { return Scale; }

  TDockAlign Align;
  TRect Bounds;
  bool LockHeight = false;
  Integer MinimumSize = 3;
  Single Scale = 1.0f;
};

}  // namespace toolbar
