#pragma once
// TAdvDockPanel: a control on one side of its form that keeps toolbars in
// rows. It owns the rows (DockRows.h holds their rules), keeps the list of
// its docked toolbars and of those that are hidden, paints the dock
// background from its toolbar styler, sizes itself across its rows, and
// saves and restores its toolbars' layout through its Persistence setting.
//
// A stored layout is outside data: every value is checked before it is
// used, and a bad one leaves that toolbar at its default place without
// touching the others.
#include <memory>
#include <vector>

#include "foundation/style/VornStyle.h"
#include "platform/rtl/IniFiles.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Menus.h"
#include "toolbar/DockRows.h"
#include "toolbar/StyledControl.h"
#include "toolbar/ToolBarPersistence.h"
#include "toolbar/ZadEdevAziStyler.h"

namespace toolbar {

class TAdvCustomToolBar;
class TCustomZadEdevAziStyler;

class TAdvDockPanel : public TCustomControl, public IStyledControl, public IVornTones, private IDockRowsHost {
 public:
  explicit TAdvDockPanel(TComponent* AOwner);
  // Saves the layout first when persistence is enabled (a store failure is
  // reported, not raised).
  ~TAdvDockPanel() override;
  void Loaded() override;
  // Raises "Invalid Parent" for a dock panel or a toolbar.
  void SetParent(TWinControl* AParent) override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  // --- IStyledControl ---
  TStyledControlKind StyledControlKind() const override { return TStyledControlKind::DockPanel; }
  void StylerChanged(Integer AKind) override;
  TCustomZadEdevAziStyler* ToolBarStyler() const override { return FToolBarStyler; }
  void SetToolBarStyler(TCustomZadEdevAziStyler* Value) override;
  TCustomZadEdevAziStyler* CurrentToolBarStyler() const { return FCurrentToolBarStyler; }
  TCustomZadEdevAziStyler* InternalToolBarStyler() const { return FInternalToolBarStyler.get(); }

  // --- IVornTones: repaints; the tones themselves are not kept ---
  void SetColorTones(const TColorTones& ATones) override;

  // --- properties ---
  // The side of the form (hides the control alignment, which follows it).
  TDockAlign Align() const { return FDockAlign; }
  void SetAlign(TDockAlign Value);
  Integer MinimumSize() const { return FMinimumSize; }
  void SetMinimumSize(Integer Value);
  bool LockHeight() const { return FLockHeight; }
  void SetLockHeight(bool Value);
  TPersistence* Persistence() const { return FPersistence.get(); }
  void SetPersistence(TPersistence* Value) { FPersistence->Assign(Value); }
  TPopupMenu* PopupMenu() const { return TCustomControl::PopupMenu(); }
  void SetPopupMenu(TPopupMenu* Value);
  bool UseRunTimeHeight() const { return FUseRunTimeHeight; }
  void SetUseRunTimeHeight(bool Value);
  virtual Integer GetVersionNr() const { return 0x06080307; }
  String Version() const;
  void SetVersion(const String&) {}
  bool PropertiesLoaded() const { return FPropertiesLoaded; }

  // --- rows and toolbars ---
  TRowCollection* Rows() const { return FRows.get(); }
  Integer RowCount() const { return FRows->Count(); }
  Integer ZadEdevAziCount() const { return FToolBars->Count(); }
  TAdvCustomToolBar* ZadEdevAzis(Integer Index) const;
  Integer HiddenToolBarCount() const { return FHiddenToolBars->Count(); }
  TAdvCustomToolBar* HiddenToolBars(Integer Index) const;
  // The toolbar as the rows see it, nullptr when it is not docked here.
  IDockBar* DockBarOf(const TAdvCustomToolBar* ToolBar) const;
  // The invariants of the rows over this panel's toolbars (CheckDockRows),
  // plus: every docked toolbar is in the list once, hidden ones in the
  // hidden list; empty when all hold.
  String CheckLayout() const;

  // Through the store that Persistence names (nothing without a key and a
  // section, or while designing).
  void SaveToolBarsPosition();
  void LoadToolBarsPosition();
  // The same over a store the caller opened.
  void SaveToolBarsPosition(TCustomIniFile* Ini, const String& Section);
  void LoadToolBarsPosition(TCustomIniFile* Ini, const String& Section);
  void StackToolBars();
  void ArrangeToolBars();

  // --- what the toolbars call ---
  // The toolbar's parent became this panel: a row for it (its list index
  // in the row), -1 when the panel refuses it.
  Integer DockToolBar(TAdvCustomToolBar* ToolBar);
  void UndockToolBar(TAdvCustomToolBar* ToolBar);
  // A docked toolbar's requested bounds through the rows; the left, top and
  // width (height on a left or right dock) reached come back.
  void ToolBarBoundsChanging(TAdvCustomToolBar* ToolBar, Integer& ALeft, Integer& ATop, Integer& AWidth,
                             Integer& AHeight);
  // A docked toolbar sized itself directly (its controls changed): the rows
  // follow.
  void ToolBarBoundsChanged(TAdvCustomToolBar* ToolBar);
  void ToolBarVisibleChanged(TAdvCustomToolBar* ToolBar);
  void ToolBarFullSizeChanged(TAdvCustomToolBar* ToolBar);
  Integer FindRowForToolBar(TAdvCustomToolBar* ToolBar);
  void ArrangeRowsIfNeeded();
  TBitmap* GetMyImage() const { return FMyImage.get(); }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void WMSize(TMessage& Message) override;
  // Toolbars join on becoming children and leave on ceasing to be.
  void Dispatch(TMessage& Message) override;
  // A docked toolbar shown or hidden asks to be aligned.
  void AlignControl(TControl* AControl) override;

 private:
  class TDockedToolBar;

  // --- IDockRowsHost ---
  TDockAlign DockAlign() const override { return FDockAlign; }
  TRect DockBounds() const override { return BoundsRect(); }
  void SetDockBounds(const TRect& R) override { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  bool HeightLocked() const override;
  bool DockDesigning() const override;
  bool DockUseRunTimeHeight() const override { return FUseRunTimeHeight; }
  Integer DockMinimumSize() const override { return FMinimumSize; }
  Single DockScale() const override;

  static void FitHiddenControls(TAdvCustomToolBar* ToolBar);
  void PersistenceChanged();
  // The toolbar's entry (made on docking), nullptr when it has none.
  TDockedToolBar* EntryOf(const TAdvCustomToolBar* ToolBar) const;
  TDockedToolBar* MakeEntry(TAdvCustomToolBar* ToolBar);
  void DropEntry(TAdvCustomToolBar* ToolBar);
  // Turns a toolbar to the panel's side, its glow buttons rotated on the
  // left and right.
  void TurnToolBar(TAdvCustomToolBar* ToolBar);
  // The dock panels of the same form, this one and those inside it excluded.
  std::vector<TAdvDockPanel*> OtherDockPanels();

  // --- fields, in the model's order ---
  // Owned; freed last, after the toolbars, so nothing paints with a dead styler.
  std::unique_ptr<TCustomZadEdevAziStyler> FInternalToolBarStyler;
  TCustomZadEdevAziStyler* FToolBarStyler = nullptr;
  TCustomZadEdevAziStyler* FCurrentToolBarStyler = nullptr;
  TDockAlign FDockAlign = daTop;
  std::unique_ptr<TRowCollection> FRows;
  Integer FOffSetY = DockOffSetY;
  Integer FOffSetX = DockOffSetX;
  std::unique_ptr<TDbgList> FToolBars;
  std::unique_ptr<TDbgList> FHiddenToolBars;
  std::unique_ptr<TBitmap> FMyImage;
  std::unique_ptr<TPersistence> FPersistence;
  Integer FMinimumSize = 3;
  bool FLockHeight = false;
  bool FPropertiesLoaded = false;
  bool FUseRunTimeHeight = false;

  std::vector<std::unique_ptr<TDockedToolBar>> FEntries;
  bool FDestroying = false;
  // A stored layout is being applied: visibility changes are its own.
  bool FApplyingLayout = false;
};

}  // namespace toolbar
