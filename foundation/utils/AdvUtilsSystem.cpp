// TAdvUtils: DPI scale and font size, file dialogs, the font list, cloning,
// forms of components and the mouse position; the unit's clipboard formats.
#include <algorithm>
#include <array>
#include <typeindex>
#include <vector>

#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Collection.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/RtlConsts.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/FileDialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Clipboard.h"

namespace {

std::array<Word, kAdvClipboardFormatCount> gClipboardFormats{};

// The one monitor's resolution.
Integer MonitorPixelsPerInch() { return Screen != nullptr ? Screen->PixelsPerInch() : 96; }

void CopyProperties(TObject* Source, TObject* Dest);

// One stored property as a stream image of Source would carry it into Dest.
void CopyProperty(TObject* Source, TObject* Dest, PPropInfo Prop) {
  if (!Prop->IsReadable() || !IsStoredProp(Source, Prop)) return;
  switch (Prop->Kind()) {
    case tkClass: {
      TObject* value = GetObjectProp(Source, Prop);
      if (value == nullptr) return;
      if (auto* component = dynamic_cast<TComponent*>(value)) {
        // A reference is stored by name: an unnamed component cannot be referred to.
        if (!component->Name().empty() && Prop->IsWritable()) SetObjectProp(Dest, Prop, component);
        return;
      }
      TObject* target = GetObjectProp(Dest, Prop);
      if (target == nullptr || target == value) return;
      if (auto* strings = dynamic_cast<TStrings*>(value)) {
        if (auto* targetStrings = dynamic_cast<TStrings*>(target)) targetStrings->Assign(strings);
      } else if (auto* collection = dynamic_cast<TCollection*>(value)) {
        auto* targetCollection = dynamic_cast<TCollection*>(target);
        if (targetCollection == nullptr) return;
        targetCollection->BeginUpdate();
        targetCollection->Clear();
        for (Integer i = 0; i < collection->Count(); ++i)
          CopyProperties(collection->Items(i), targetCollection->Add());
        targetCollection->EndUpdate();
      } else if (const TClassInfo* info = ClassInfoOf(value);
                 info != nullptr && info->Type() == std::type_index(typeid(*value))) {
        CopyProperties(value, target);
      } else if (auto* persistent = dynamic_cast<TPersistent*>(target)) {
        // A class without published properties of its own copies itself.
        persistent->Assign(dynamic_cast<TPersistent*>(value));
      }
      return;
    }
    case tkMethod:
      if (Prop->IsWritable() && GetMethodProp(Source, Prop).Assigned())
        SetMethodProp(Dest, Prop, GetMethodProp(Source, Prop));
      return;
    default:
      if (!Prop->IsWritable() || IsDefaultPropertyValue(Source, Prop)) return;
      switch (Prop->Kind()) {
        case tkFloat: SetFloatProp(Dest, Prop, GetFloatProp(Source, Prop)); break;
        case tkString: case tkLString: case tkWString: case tkUString:
          SetStrProp(Dest, Prop, GetStrProp(Source, Prop));
          break;
        case tkInt64: SetInt64Prop(Dest, Prop, GetInt64Prop(Source, Prop)); break;
        case tkInteger: case tkChar: case tkWChar: case tkEnumeration: case tkSet:
          SetOrdProp(Dest, Prop, GetOrdProp(Source, Prop));
          break;
        default: break;
      }
  }
}

void CopyProperties(TObject* Source, TObject* Dest) {
  const TClassInfo* info = ClassInfoOf(Source);
  if (info == nullptr || Dest == nullptr) return;
  for (PPropInfo prop : info->Properties()) {
    // The copy stays unnamed.
    if (dynamic_cast<TComponent*>(Source) != nullptr && SameText(prop->Name(), u"Name")) continue;
    CopyProperty(Source, Dest, prop);
  }
}

String DocumentsFolder() { return IncludeTrailingPathDelimiter(TAdvUtils::GetDocumentsPath()); }

}  // namespace

// --- DPI and fonts ------------------------------------------------------------

Single TAdvUtils::GetDPIScale(TComponent* AOwner, Integer ADefaultDPI) {
  TCustomForm* form = nullptr;
  if (AOwner == nullptr) {
    form = Application != nullptr ? Application->MainForm() : nullptr;
  } else if (auto* ownerForm = dynamic_cast<TCustomForm*>(AOwner); ownerForm != nullptr && ownerForm->Canvas()) {
    form = ownerForm;
  } else if (auto* control = dynamic_cast<TControl*>(AOwner)) {
    form = ::GetParentForm(control);
  } else {
    form = GetOwnerForm(AOwner);
  }
  if (form == nullptr || form->Canvas() == nullptr || !form->Scaled()) return 1.0f;
  const Integer base = ADefaultDPI > 0 ? ADefaultDPI : form->PixelsPerInch();
  return Single(MonitorPixelsPerInch()) / Single(base);
}

bool TAdvUtils::IsHighDPIScale(TComponent* AOwner, Integer ADefaultDPI) {
  return GetDPIScale(AOwner, ADefaultDPI) > 1.0f;
}

void TAdvUtils::SetFontSize(TFont* AFont, Single ASize, Single AScaleFactor) {
  if (AFont == nullptr) return;
  const Integer points = Integer(Round(double(ASize) / 96.0 * 72.0));
  AFont->SetHeight(-MulDivInt(points, Integer(Round(double(AScaleFactor) * 96.0)), 72));
}

// --- dialogs ------------------------------------------------------------------

bool TAdvUtils::SelectFile(String& AFileName, StringView ADefaultFolder, StringView AFilter,
                           const TAdvUtilsFileCallBackEvent& ACallBack) {
  TOpenDialog dialog(nullptr);
  dialog.SetOptions(TOpenOptions{ofFileMustExist});
  dialog.SetFilter(String(AFilter));
  dialog.SetInitialDir(ADefaultFolder.empty() ? DocumentsFolder() : String(ADefaultFolder));
  const bool result = dialog.Execute();
  if (result) AFileName = dialog.FileName();
  if (ACallBack) ACallBack(AFileName, result);
  return result;
}

bool TAdvUtils::SaveFile(String& AFileName, StringView AFilter, const TAdvUtilsFileCallBackEvent& ACallBack) {
  TSaveDialog dialog(nullptr);
  dialog.SetOptions(TOpenOptions{ofOverwritePrompt});
  dialog.SetFilter(String(AFilter));
  const String folder = ExtractFilePath(AFileName);
  dialog.SetInitialDir(folder.empty() ? DocumentsFolder() : folder);
  dialog.SetFileName(ExtractFileName(AFileName));
  const bool result = dialog.Execute();
  if (result) {
    String chosen = dialog.FileName();
    if (ExtractFileExt(chosen).empty()) chosen += ExtractFileExt(AFileName);
    AFileName = chosen;
  }
  if (ACallBack) ACallBack(AFileName, result);
  return result;
}

Integer TAdvUtils::Message(StringView AMessage) { return Message(AMessage, mtInformation, TMsgDlgButtons{mbOK}, 0); }

Integer TAdvUtils::Message(StringView AMessage, TMsgDlgType ADialogType, TMsgDlgButtons AButtons,
                           Integer AHelpContext) {
  return MessageDlg(String(AMessage), ADialogType, AButtons, AHelpContext);
}

// --- fonts, cloning, forms, mouse -------------------------------------------------

void TAdvUtils::GetFonts(TStrings* FontList) {
  if (FontList == nullptr) return;
  std::vector<String> names;
  if (Screen != nullptr) {
    TStrings* families = Screen->Fonts();
    for (Integer i = 0; i < families->Count(); ++i) {
      const String name = families->Strings(i);
      if (!names.empty() && SameText(names.back(), name)) continue;
      names.push_back(name);
    }
  }
  std::stable_sort(names.begin(), names.end(),
                   [](const String& a, const String& b) { return AnsiCompareText(a, b) < 0; });
  FontList->BeginUpdate();
  FontList->Clear();
  for (const String& name : names) FontList->Add(name);
  FontList->EndUpdate();
}

std::unique_ptr<TComponent> TAdvUtils::Clone(TComponent* AComponent) {
  if (AComponent == nullptr) return nullptr;
  const TClassInfo* info = ClassInfoOf(AComponent);
  // Only the component's own class will do: an ancestor would lose what the class adds.
  if (info == nullptr || info->Type() != std::type_index(typeid(*AComponent)) || !info->CanCreate())
    throw EClassNotFound(Format(u"Class %s not found", {AComponent->ClassName()}));
  std::unique_ptr<TComponent> copy(info->CreateComponent(nullptr));
  if (!copy) throw EClassNotFound(Format(u"Class %s not found", {AComponent->ClassName()}));
  CopyProperties(AComponent, copy.get());
  return copy;
}

TCustomForm* TAdvUtils::GetOwnerForm(TComponent* AComponent) {
  for (TComponent* owner = AComponent != nullptr ? AComponent->Owner() : nullptr; owner != nullptr;
       owner = owner->Owner())
    if (auto* form = dynamic_cast<TCustomForm*>(owner)) return form;
  return nullptr;
}

TCustomForm* TAdvUtils::GetParentForm(TControl* AControl) {
  return AControl != nullptr ? ::GetParentForm(AControl, true) : nullptr;
}

TAdvUtilsPointF TAdvUtils::GetMousePos() {
  const TPoint p = Mouse != nullptr ? Mouse->CursorPos() : TPoint{};
  return {Single(p.X), Single(p.Y)};
}

// --- the unit's start ------------------------------------------------------------

void InitializeAdvUtilsUnit() {
  for (Integer i = 0; i < kAdvClipboardFormatCount; ++i) {
    const UINT number = RegisterClipboardFormat(kAdvClipboardFormatNames[i]);
    if (number > 0xFFFF) throw ERangeError(SRangeError);
    gClipboardFormats[std::size_t(i)] = Word(number);
  }
}

Word AdvClipboardFormat(Integer Index) {
  return Index >= 0 && Index < kAdvClipboardFormatCount ? gClipboardFormats[std::size_t(Index)] : Word(0);
}
