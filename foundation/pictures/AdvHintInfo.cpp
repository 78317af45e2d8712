#include "foundation/pictures/AdvHintInfo.h"

#include "platform/rtl/TypInfo.h"

TAdvHintInfo::TAdvHintInfo() : FPicture(std::make_unique<TGDIPPicture>()), FNotes(std::make_unique<TStringList>()) {}

TAdvHintInfo::~TAdvHintInfo() = default;

void TAdvHintInfo::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TAdvHintInfo*>(Source);
  if (!src || src == this) return;
  FTitle = src->FTitle;
  FNotes->Assign(src->FNotes.get());
  FShowHelp = src->FShowHelp;
  FPicture->Assign(src->FPicture.get());
  FWideTitle = src->FWideTitle;
  FWideNotes = src->FWideNotes;
}

bool TAdvHintInfo::IsEmpty() const { return FTitle.empty() && FNotes->Text().empty(); }

void DeclareAdvHintInfoClass() {
  TClassInfo::Of<TGDIPPicture, TGraphic>(u"TGDIPPicture").Event(u"OnClear", &TGDIPPicture::OnClear);
  TClassInfo::Of<TAdvHintInfo, TPersistent>(u"TAdvHintInfo")
      .Property(u"Title", &TAdvHintInfo::Title, &TAdvHintInfo::SetTitle)
      .Property(u"Notes", &TAdvHintInfo::Notes, &TAdvHintInfo::SetNotes)
      .Property(u"Picture", &TAdvHintInfo::Picture, &TAdvHintInfo::SetPicture)
      .Property(u"ShowHelp", &TAdvHintInfo::ShowHelp, &TAdvHintInfo::SetShowHelp)
      .Default(0);
}
