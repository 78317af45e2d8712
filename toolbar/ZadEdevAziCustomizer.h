#pragma once
// The toolbar customizer: the settings of its dialog and the layout file road
// between that dialog and the toolbar it serves. The toolbar itself is only
// ever changed from the file, by LoadToolBar and RestoreOriginal.
#include <memory>
#include <vector>

#include "platform/rtl/Collection.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/IniFiles.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ImgList.h"
#include "toolbar/CustomizerLayoutFile.h"

namespace toolbar {

class TAdvCustomToolBar;
class TZadEdevAzi;

class TATBCommand : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
  const String& Caption() const { return FCaption; }
  // Blanks become underscores: the caption names the glow buttons made from it.
  void SetCaption(const String& Value);
  Integer ItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer Value) { FItemIndex = Value; }
  TBasicAction* Action() const { return FAction; }
  void SetAction(TBasicAction* Value);
  TNotifyEvent OnExecute;
  // Caption and OnExecute from another command.
  void Assign(TPersistent* Source) override;

 private:
  String FCaption;
  Integer FItemIndex = -1;
  TBasicAction* FAction = nullptr;
};

class TATBCommands : public TCollection {
 public:
  explicit TATBCommands(TPersistent* AOwner) : TCollection(TCollectionItemClass::Of<TATBCommand>()), FOwner(AOwner) {}
  TATBCommand* Add() { return static_cast<TATBCommand*>(TCollection::Add()); }
  TATBCommand* Insert(Integer Index) { return static_cast<TATBCommand*>(TCollection::Insert(Index)); }
  TATBCommand* Items(Integer Index) const { return static_cast<TATBCommand*>(TCollection::Items(Index)); }
  TNotifyEvent OnChange;

 protected:
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};

// Which button properties the dialog edits and the customized section carries.
class TButtonProperties : public TPersistent {
 public:
  bool Caption() const { return FCaption; }
  void SetCaption(bool V) { Set(FCaption, V); }
  bool Glyph() const { return FGlyph; }
  void SetGlyph(bool V) { Set(FGlyph, V); }
  bool Hint() const { return FHint; }
  void SetHint(bool V) { Set(FHint, V); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool V) { Set(FVisible, V); }
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool V) { Set(FShowCaption, V); }
  void Assign(TPersistent* Source) override;
  TNotifyEvent OnChange;

 private:
  void Set(bool& Field, bool V) {
    if (Field == V) return;
    Field = V;
    if (OnChange) OnChange(this);
  }
  bool FCaption = true, FGlyph = true, FHint = true, FVisible = false, FShowCaption = true;
};

// Which editing operations the dialog offers.
class TCustomizedOptions : public TPersistent {
 public:
  bool ReOrder() const { return FReOrder; }
  void SetReOrder(bool V) { Set(FReOrder, V); }
  bool AddButton() const { return FAddButton; }
  void SetAddButton(bool V) { Set(FAddButton, V); }
  bool AddSeparator() const { return FAddSeparator; }
  void SetAddSeparator(bool V) { Set(FAddSeparator, V); }
  bool AddGlowButton() const { return FAddGlowButton; }
  void SetAddGlowButton(bool V) { Set(FAddGlowButton, V); }
  bool Delete() const { return FDelete; }
  void SetDelete(bool V) { Set(FDelete, V); }
  bool DeleteAll() const { return FDeleteAll; }
  void SetDeleteAll(bool V) { Set(FDeleteAll, V); }
  bool EditButton() const { return FEditButton; }
  void SetEditButton(bool V) { Set(FEditButton, V); }
  void Assign(TPersistent* Source) override;
  TNotifyEvent OnChange;

 private:
  void Set(bool& Field, bool V) {
    if (Field == V) return;
    Field = V;
    if (OnChange) OnChange(this);
  }
  bool FReOrder = true, FAddButton = true, FAddSeparator = true, FAddGlowButton = true, FDelete = true,
       FDeleteAll = false, FEditButton = true;
};

// Texts and switches of the customizer's dialogs.
class TDialogSettings : public TPersistent {
 public:
  String ToolBarLabel = u"ToolBar Items:";
  String CommandLabel = u"Commands";
  String CaptionLabel = u"Caption";
  String GlyphPosLabel = u"Glyph Position";
  String LargeIconCheck = u"Large Icon";
  String TopHint = u"Move to Top";
  String UpHint = u"Move Up";
  String DownHint = u"Move Down";
  String BottomHint = u"Move to Bottom";
  String AddHint = u"Add Item";
  String AddSeparatorHint = u"Add Separator";
  String DeleteHint = u"Delete Item";
  String DeleteAllHint = u"Delete All";
  String EditHint = u"Edit Item";
  String Caption = u"Customizer";
  String ButtonEditCaption = u"Customize Button";
  String ButtonEditCaptionLabel = u"Caption";
  String ButtonEditHintLabel = u"Hint";
  String ButtonEditIconLabel = u"Icon";
  String ButtonEditCaptionCheck = u"Show Caption";
  String ButtonEditVisibleCheck = u"Visible";
  String OKButtonCaption = u"&Ok";
  String OKButtonHint;
  String CancelButtonCaption = u"&Cancel";
  String CancelButtonHint;
  String ResetButtonCaption = u"&Reset";
  String ResetButtonHint;
  String AddGlowButtonHint = u"Insert GlowButton";
  String GlyphPositionLeftCaption = u"Left";
  String GlyphPositionTopCaption = u"Top";
  String GlyphPositionRightCaption = u"Right";
  String GlyphPositionBottomCaption = u"Bottom";
  String GlyphEditNoneIconCaption = u"None";
  bool EditGlyph = true;
  bool EditGlyphVisible = true;
  bool EditCaption = true;
  bool EditGlyphPosition = true;
  bool LargeIcon = false;
  String Customize = u"Customize";
  // Everything but Customize.
  void Assign(TPersistent* Source) override;
};

class TZadEdevAziCustomizer : public TComponent {
 public:
  explicit TZadEdevAziCustomizer(TComponent* AOwner);
  ~TZadEdevAziCustomizer() override;

  TZadEdevAzi* ZadEdevAzi() const { return FToolBar; }
  // Links both ways; the old toolbar's link to this customizer is cleared.
  void SetZadEdevAzi(TZadEdevAzi* Value);
  TCustomImageList* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* Value);
  TCustomImageList* SmallImages() const { return FSmallImages; }
  void SetSmallImages(TCustomImageList* Value);
  TATBCommands* Commands() const { return FCommands.get(); }
  void SetCommands(TATBCommands* Value) { FCommands->Assign(Value); }
  bool EnablePersistence() const { return FEnablePersistence; }
  void SetEnablePersistence(bool Value) { FEnablePersistence = Value; }
  const String& FileName() const { return FFileName; }
  // A run-time change records the toolbar as the initial layout, then applies the customized one.
  void SetFileName(const String& Value);
  TButtonProperties* ButtonProperties() const { return FButtonProperties.get(); }
  void SetButtonProperties(TButtonProperties* Value) { FButtonProperties->Assign(Value); }
  TDialogSettings* DialogSettings() const { return FDialogSettings.get(); }
  void SetDialogSettings(TDialogSettings* Value) { FDialogSettings->Assign(Value); }
  TCustomizedOptions* Options() const { return FOptions.get(); }
  void SetOptions(TCustomizedOptions* Value) { FOptions->Assign(Value); }

  TNotifyEvent OnBeforeDisplay;
  TNotifyEvent OnAfterPost;
  std::function<void(TObject* Sender, Integer& X, Integer& Y, bool& CanShow)> OnCanShow;

  void Show() { ShowDialog(); }
  // Applies the customized section to the toolbar.
  virtual void LoadToolBar();
  virtual void ShowDialog();
  // Applies the initial-layout section and empties the customized one.
  virtual void RestoreOriginal();
  // Records the toolbar's layout as the initial one.
  virtual void SaveOriginal();

  // What a closed dialog leads to: OK in a modified dialog applies the
  // customized section and raises OnAfterPost, but only when the layout was
  // applied (persistence on and a file name); the reset result restores the
  // initial layout; anything else changes nothing.
  static constexpr TModalResult mrResetLayout = mrRetry;
  void PostDialog(TModalResult Result, bool Modified);

  // The toolbar control named Name (without regard to case); nullptr for none.
  TControl* FindToolBarControl(const String& Name) const;
  // The controls that loads took off the toolbar; they live on under their owners.
  const std::vector<TControl*>& DeletedItems() const { return FDeleteItems; }

  // The layout of the toolbar as it stands, as SaveOriginal records it.
  TLayoutSection CurrentLayout() const;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool LayoutActive() const;
  void Detach(TControl* C);
  void ReattachDeleted();
  // Places Order at the front of the toolbar's control list in that order.
  void SettleOrder(const std::vector<TControl*>& Order, bool GlowTakesGlyph, Integer gp);
  void ApplyImages(bool Large);
  TControl* CreateItem(const TLayoutItem& It);

  TZadEdevAzi* FToolBar = nullptr;
  TCustomImageList* FLargeImages = nullptr;
  TCustomImageList* FSmallImages = nullptr;
  std::unique_ptr<TATBCommands> FCommands;
  std::unique_ptr<TButtonProperties> FButtonProperties;
  std::unique_ptr<TCustomizedOptions> FOptions;
  std::unique_ptr<TDialogSettings> FDialogSettings;
  bool FEnablePersistence = true;
  String FFileName = u".\\untitled.ini";
  std::vector<TControl*> FDeleteItems;
};

}  // namespace toolbar
