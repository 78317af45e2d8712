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

}  // namespace toolbar
