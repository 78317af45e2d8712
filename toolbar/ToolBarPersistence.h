#pragma once
// Where a dock panel, toolbar or pager keeps its layout (registry or INI
// file, key and section, whether saving is on), how the store is opened, and
// the range-checked list the toolbar family keeps its controls, rows and
// pages in.
#include <memory>

#include "controls/AdvOfficeStatusBar.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/List.h"
#include "platform/rtl/Persistent.h"

namespace toolbar {

enum TPersistenceLocation { plRegistry, plIniFile };

class TPersistence : public TPersistent {
 public:
  explicit TPersistence(TComponent* AOwner) : FOwner(AOwner) {}
  // From a TPersistence: Location, Key, Section and Enabled, without
  // OnChange. Anything else leaves this object as it is.
  void Assign(TPersistent* Source) override;

  TComponent* Owner() const { return FOwner; }
  // Each setter fires OnChange only when the value differs.
  TPersistenceLocation Location() const { return FLocation; }
  void SetLocation(TPersistenceLocation Value);
  // Registry path below HKEY_CURRENT_USER, or INI file name.
  const String& Key() const { return FKey; }
  void SetKey(const String& Value);
  // INI section, or the registry sub-key that holds the values.
  const String& Section() const { return FSection; }
  void SetSection(const String& Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);

  TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  TComponent* FOwner;
  String FKey;
  String FSection;
  TPersistenceLocation FLocation = plRegistry;
  bool FEnabled = false;
};

// The owner's layout store: nullptr when Key or Section is empty or the
// owner is being designed. An INI location is an in-memory INI file on Key
// that saves itself when freed; a registry location maps sections to
// sub-keys of Key. The memory file's own save on destruction cannot report
// a failure, so a writer calls UpdateFile before freeing it: then a file
// that cannot be written raises to the owner, who decides what to report.
std::unique_ptr<TCustomIniFile> OpenPersistenceStore(const TPersistence& Persistence);

// The toolbar family's list: the status bar's range-checked list, plus a
// whole-list copy.
class TDbgList : public officestatusbar::TDbgList {
 public:
  // Clear, then every item of ListA in its order; nullptr just clears.
  void AssignList(const TList* ListA);
};

}  // namespace toolbar
