#pragma once
// TAdvHintInfo: the content of an office-style hint (title, notes, picture,
// help flag).
#include <memory>

#include "foundation/pictures/GDIPPicture.h"
#include "platform/rtl/Strings.h"

class TAdvHintInfo : public TPersistent {
 public:
  TAdvHintInfo();
  ~TAdvHintInfo() override;
  // From another TAdvHintInfo: title, notes, help flag, picture, wide texts;
  // any other source (nullptr included) is ignored.
  void Assign(TPersistent* Source) override;
  // No title and no notes text; the picture and the rest do not count.
  bool IsEmpty() const;

  TGDIPPicture* Picture() const { return FPicture.get(); }
  // Copies the given picture's content.
  void SetPicture(TGDIPPicture* Value) { FPicture->Assign(Value); }
  TStringList* Notes() const { return FNotes.get(); }
  // Copies the given lines.
  void SetNotes(TStrings* Value) { FNotes->Assign(Value); }
  bool ShowHelp() const { return FShowHelp; }
  void SetShowHelp(bool Value) { FShowHelp = Value; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  const String& WideTitle() const { return FWideTitle; }
  void SetWideTitle(const String& Value) { FWideTitle = Value; }
  const String& WideNotes() const { return FWideNotes; }
  void SetWideNotes(const String& Value) { FWideNotes = Value; }

 private:
  std::unique_ptr<TGDIPPicture> FPicture;
  bool FShowHelp = false;
  std::unique_ptr<TStringList> FNotes;
  String FTitle, FWideTitle, FWideNotes;
};

// Declares TAdvHintInfo and its picture class TGDIPPicture to the type
// information (published: Title, Notes, Picture, ShowHelp).
void DeclareAdvHintInfoClass();
