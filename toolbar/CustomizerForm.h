#pragma once
// The customizer dialog's rules, apart from its window: the toolbar-items
// list with its records, the side-button handlers, which buttons are enabled
// and the section that OK writes. The dialog's controls only show this state
// and forward their events here, so every rule can be driven without a window.
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Strings.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "toolbar/CustomizerLayoutFile.h"

namespace toolbar {

class TZadEdevAziCustomizer;

// One entry of the toolbar-items list.
class TATBItemProp : public TObject {
 public:
  TControl* VOVItem = nullptr;
  bool CustomizerCreated = false;
  bool IsSeparator = false;
  bool IsVOVButton = false;
  Integer ImageIndex = -1;
  String Caption;
  bool ShowCaption = false;
  String Hint;
  bool Visible = true;
  String ID;
  Integer CommandID = -1;
  bool ForceImageIndex = false;
  bool IsGlowButton = false;
};

struct TCustomizerEntry {
  String Text;
  std::unique_ptr<TATBItemProp> Prop;  // none for a control the dialog does not know
};

// Enabled states of the side buttons (insert separator and insert glow button are always enabled).
struct TCustomizerButtonStates {
  bool Edit = false, Top = false, Up = false, Down = false, Bottom = false, Add = false, Delete = false,
       Clear = false;
  bool operator==(const TCustomizerButtonStates&) const = default;
};

class TCustomizerController {
 public:
  explicit TCustomizerController(TZadEdevAziCustomizer* Customizer);

  // Fills the lists from the customizer and its toolbar.
  void LoadComponents();

  std::vector<TCustomizerEntry>& Items() { return FItems; }
  const std::vector<String>& CommandTexts() const { return FCommandTexts; }
  Integer ItemIndex = -1;     // selected toolbar item, -1 none
  Integer CommandIndex = -1;  // selected command, -1 none
  Integer IconIndex = -1;     // selected icon entry, -1 none
  Integer IconCount() const;  // image entries + the no-image entry
  String ToolBarCaption;
  bool CaptionShown = true;
  Integer GlyphPosition = 0;  // -1: typed text selects no entry
  bool GlyphPositionShown = true;
  bool LargeIcon = false;
  bool LargeIconShown = false;
  bool Modified() const { return FModified; }
  void Changed() {
    if (!FLoading) FModified = true;
  }

  TCustomizerButtonStates UpdateButtons() const;

  void TopButtonClick();
  void UpButtonClick();
  void DownButtonClick();
  void BottomButtonClick();
  void AddButtonClick();
  void AddGlowButtonClick();
  void SeparatorButtonClick();
  void DeleteButtonClick();
  // Confirm answers "Are you sure that you want to clear ToolBar?".
  void ClearButtonClick(const std::function<bool(const String&)>& Confirm);
  void LstBxCommandClick();
  // A drag from the items list onto entry Target, or from the commands list.
  bool DragOverAccepts(bool FromItems, bool FromCommands) const { return FromItems || FromCommands; }
  void DropFromItems(Integer Target);
  void DropFromCommands() { AddButtonClick(); }

  // The section OK writes, with unique names for every new item.
  TLayoutSection BuildLayout() const;
  // Empties the customized section and writes BuildLayout through per-key INI
  // access. A write error is returned as its message (empty on success) so
  // the dialog can show it and stay open.
  String SaveLayout();

 private:
  void InsertEntry(TCustomizerEntry E);
  void AddCommand(bool Glow);

  TZadEdevAziCustomizer* FCustomizer;
  std::vector<TCustomizerEntry> FItems;
  std::vector<String> FCommandTexts;
  bool FModified = false;
  bool FLoading = true;
  bool FCanEditBtn = false;
};

// The glyphs of the dialog's side buttons.
enum class TSideGlyph { Top, Up, Down, Bottom, Add, AddGlow, Separator, Delete, Clear, Edit };

// A flat button with a small drawn glyph: raised while the pointer is over
// it, sunk while pressed, grey when disabled.
class TCustomizerSideButton : public TGraphicControl {
 public:
  TCustomizerSideButton(TComponent* AOwner, TSideGlyph Glyph);
  TSideGlyph Glyph() const { return FGlyph; }

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;

 private:
  TSideGlyph FGlyph;
  bool FHot = false;
  bool FDown = false;
};

// A list box that can start a drag by itself: a press on an entry and a move
// past the drag threshold start it, the release ends it. While the button is
// held the list's own selection does not follow the pointer; the pointer
// shows whether the control under it takes the drag.
class TCustomizerListBox : public TListBox {
 public:
  explicit TCustomizerListBox(TComponent* AOwner) : TListBox(AOwner) {}
  // Drags start only while this is set.
  bool AutoDrag = false;
  bool Dragging() const { return FDragging; }
  // Whether the control at the screen point takes a drag from this list.
  std::function<bool(TCustomizerListBox* Source, TPoint Screen)> OnDragOverAt;
  // The drag ended at the screen point.
  std::function<void(TCustomizerListBox* Source, TPoint Screen)> OnDropAt;

 protected:
  void WMLButtonDown(TMessage& Message) override;
  void WMMouseMove(TMessage& Message) override;
  void WMLButtonUp(TMessage& Message) override;

 private:
  bool FPressed = false;
  bool FDragging = false;
  TPoint FStart;
};

// The customizer dialog: the controller's state shown on the layer's
// controls, every control event handed to the controller, the controls
// refreshed after it.
class TCustomizerForm : public TForm {
 public:
  TCustomizerForm(TComponent* AOwner, TZadEdevAziCustomizer* Customizer);
  ~TCustomizerForm() override;

  TGroupBox* GroupBox1;
  TLabel* LblToolbarItems;
  TLabel* LblCommands;
  TCustomizerListBox* LstBxToolBarItems;
  TCustomizerSideButton *TopButton, *UpButton, *DownButton, *BottomButton, *AddButton, *AddGlowButton,
      *SeparatorButton, *DeleteButton, *ClearButton, *BtnEdit;
  TCustomizerListBox* LstBxCommand;
  TComboBox* CmBxIcon;
  TGroupBox* GroupBox2;
  TLabel* LblCaption;
  TEdit* EdtCaption;
  TLabel* LblGlphPos;
  TComboBox* CmBxGlphPos;
  TCheckBox* ChkLargeIcon;
  TButton* BtnOk;
  TButton* BtnCancel;
  TButton* BtnReset;

  // The title stays reachable beside the caption box's switch.
  using TForm::SetCaption;
  // Shows or hides the toolbar-caption box with its label.
  void SetCaption(bool Value);
  // Shows or hides the glyph-position box with its label.
  void SetGlyphPosition(bool Value);
  // Fills both lists and the boxes, arranges the lower group, sets the button states.
  void LoadComponents();
  bool Modified() const { return FController.Modified(); }
  TCustomizerController& Controller() { return FController; }
  TZadEdevAziCustomizer* ToolBarCustomizer() const { return FToolBarCustomizer; }

  void TopButtonClick();
  void UpButtonClick();
  void DownButtonClick();
  void BottomButtonClick();
  void AddButtonClick();
  void AddGlowButtonClick();
  void SeparatorButtonClick();
  void DeleteButtonClick();
  void ClearButtonClick();
  void BtnEditClick();
  void LstBxCommandClick();
  void LstBxToolBarItemsClick();
  void LstBxToolBarItemsDblClick();
  // Writes the customized section and closes with OK; a write error is shown
  // and the dialog stays open.
  void OkBitBtnClick();

 private:
  void ArrangeOptionsGroup();
  void UpdateButtons();
  // Controller selection from the controls, and the controls from the controller.
  void TakeSelection();
  void ShowItems();
  // A side-button handler of the controller between the two.
  void RunHandler(void (TCustomizerController::*Handler)());
  void Changed();
  bool DragOverAt(TCustomizerListBox* Source, TPoint Screen);
  void DropAt(TCustomizerListBox* Source, TPoint Screen);

  TZadEdevAziCustomizer* FToolBarCustomizer;
  TCustomizerController FController;
  bool FLoading = true;
};

// The dialog ShowDialog shows now, nullptr when none.
TCustomizerForm* ActiveCustomizerForm();

namespace customizer_detail {
void SetActiveCustomizerForm(TCustomizerForm* Form);
}

}  // namespace toolbar
