#pragma once
// TQvFormSR: remembers a window's size and position (in the registry under
// the current user, or in an INI file) and keeps small typed settings under
// the program's own key; starts the program with the desktop session; tells
// whether the user is an administrator. The registry operations never raise:
// failures give the default or false.
#include <memory>

#include "platform/rtl/Component.h"
#include "platform/rtl/IniFiles.h"
#include "platform/vcl/Forms.h"

enum TApplicationIniName { asAppIniName, asCustom };

// What the component needs of its window. A form is seen through an adapter
// (QvFormAdapters.h); tests may stand any object in for a window.
class IQvFormGeometry {
 public:
  virtual ~IQvFormGeometry() = default;
  virtual String FormName() const = 0;
  virtual Integer Left() const = 0;
  virtual Integer Top() const = 0;
  virtual Integer Width() const = 0;
  virtual Integer Height() const = 0;
  virtual void SetLeft(Integer Value) = 0;
  virtual void SetTop(Integer Value) = 0;
  virtual void SetWidth(Integer Value) = 0;
  virtual void SetHeight(Integer Value) = 0;
  // 0 normal, 1 minimized, 2 maximized.
  virtual Integer WindowState() const = 0;
  virtual void SetWindowState(Integer Value) = 0;
  virtual Integer ScreenWidth() const = 0;
  virtual Integer ScreenHeight() const = 0;
};

class TQvFormSRAdapter;

class TQvFormSR : public TComponent {
 public:
  // The owner is the window whose position is kept: a form (TCustomForm),
  // whose Position becomes poDefaultPosOnly and whose OnShow, OnCloseQuery and
  // OnDestroy Loaded hooks (chaining to the form's own handlers). Any other
  // owner, nullptr included, raises EInvalidCast "Invalid class typecast".
  // Made while the form is being built, the component is loaded with it;
  // made later, its creator calls Loaded.
  explicit TQvFormSR(TComponent* AOwner);
  // Form is the window whose position is kept, with no hooks: the caller
  // calls FormShow and FormDestroy. nullptr raises EInvalidCast.
  TQvFormSR(TComponent* AOwner, IQvFormGeometry* Form);
  // Gives the form its own handlers back (a form being destroyed is left alone).
  ~TQvFormSR() override;

  bool RestoreOnlyPosition() const { return FRestoreOnlyPosition; }
  void SetRestoreOnlyPosition(bool Value) { FRestoreOnlyPosition = Value; }
  const String& IniFileName() const { return FIniFileName; }
  // A name other than "[ApplicationExeName.ini]" switches TypeIniName to asCustom.
  void SetIniFileName(const String& Value);
  TApplicationIniName TypeIniName() const { return FTypeIniName; }
  void SetTypeIniName(TApplicationIniName Value);
  bool UseRegistry() const { return FUseRegistry; }
  void SetUseRegistry(bool Value) { FUseRegistry = Value; }
  // Whether the autostart entry exists.
  bool StartWithWindows();
  // Creates or removes the autostart entry (only on a change).
  void SetStartWithWindows(bool Value);
  const String& Version() const { return FVersion; }

  // Hooks the owner form's events (once) and opens the INI file named by IniFileName.
  void Loaded() override;

  // Restores the stored size and position; a window that would be off the
  // screen is centred instead. Allows SavePos.
  void RestorePos();
  // Stores the size and position, when a restore or reset happened first.
  void SavePos();
  // Centres the window.
  void ResetPos();
  // What the hooks do when the window is first shown / destroyed; a window
  // given through IQvFormGeometry has its owner call them.
  void FormShow();
  void FormDestroy();

  // Typed values under the program's key. Reads give the default for an
  // empty name, a missing key or value, a value of another type or any error.
  bool ReadRegINI(const String& Key, bool Default);
  String ReadRegINI(const String& Key, const String& Default);
  String ReadRegINI(const String& Key, const char16_t* Default) { return ReadRegINI(Key, String(Default)); }
  Integer ReadRegINI(const String& Key, Integer Default);
  // Writes create the key; false for an empty name or any error.
  bool SaveRegINI(const String& Key, bool Value);
  bool SaveRegINI(const String& Key, const String& Value);
  bool SaveRegINI(const String& Key, const char16_t* Value) { return SaveRegINI(Key, String(Value)); }
  bool SaveRegINI(const String& Key, Integer Value);

  // True when the user runs with administrator rights (here: the superuser).
  bool IsWindowsAdmin();

  // The window's key and the program's key.
  const String& AppRegKey() const { return FAppRegKey; }
  const String& MainAppRegKey() const { return FMainAppRegKey; }
  TCustomIniFile* IniFile() const { return FIniFile.get(); }

 private:
  void ComputeKeys();
  String AutostartFile() const;

  void HookShow(TObject* Sender);
  void HookCloseQuery(TObject* Sender, bool& CanClose);
  void HookDestroy(TObject* Sender);

  IQvFormGeometry* FMasterForm = nullptr;
  // The owner form's adapter when the owner is a TCustomForm.
  std::unique_ptr<TQvFormSRAdapter> FFormAdapter;
  TNotifyEvent FSaveFormShow;
  TCloseQueryEvent FSaveFormCloseQuery;
  TNotifyEvent FSaveFormDestroy;
  bool FShown = false;
  String FIniFileName = u"[ApplicationExeName.ini]";
  TApplicationIniName FTypeIniName = asAppIniName;
  bool FUseRegistry = true;
  String FAppRegKey;
  bool FStartWithWindows = false;
  String FMainAppRegKey;
  bool bWasReadPos = false;
  bool FRestoreOnlyPosition = false;
  String FVersion = u"1.3";
  bool bPosCanSave = false;
  std::unique_ptr<TCustomIniFile> FIniFile;
};
