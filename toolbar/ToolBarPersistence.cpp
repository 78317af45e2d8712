#include "toolbar/ToolBarPersistence.h"

#include "platform/rtl/RegistryIniFile.h"

namespace toolbar {

void TPersistence::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TPersistence*>(Source);
  if (s == nullptr) return;
  FLocation = s->FLocation;
  FKey = s->FKey;
  FSection = s->FSection;
  FEnabled = s->FEnabled;
}

void TPersistence::Changed() {
  if (OnChange) OnChange(this);
}

void TPersistence::SetLocation(TPersistenceLocation Value) {
  if (FLocation == Value) return;
  FLocation = Value;
  Changed();
}

void TPersistence::SetKey(const String& Value) {
  if (FKey == Value) return;
  FKey = Value;
  Changed();
}

void TPersistence::SetSection(const String& Value) {
  if (FSection == Value) return;
  FSection = Value;
  Changed();
}

void TPersistence::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Changed();
}

std::unique_ptr<TCustomIniFile> OpenPersistenceStore(const TPersistence& Persistence) {
  if (Persistence.Key().empty() || Persistence.Section().empty()) return nullptr;
  const TComponent* owner = Persistence.Owner();
  if (owner != nullptr && owner->ComponentState().Contains(csDesigning)) return nullptr;
  if (Persistence.Location() == plIniFile) {
    auto ini = std::make_unique<TMemIniFile>(Persistence.Key());
    ini->SetAutoSave(true);
    return ini;
  }
  return std::make_unique<TRegistryIniFile>(Persistence.Key());
}

void TDbgList::AssignList(const TList* ListA) {
  Clear();
  if (ListA == nullptr) return;
  for (Integer i = 0; i < ListA->Count(); ++i) Add(ListA->Items(i));
}

}  // namespace toolbar
