#include "app/DialogParts.h"

#include "app/AppResources.h"

namespace {
// The dialog owns every control, as its window resource makes them.
TComponent* OwnerFor(TWinControl* Parent) {
  TCustomForm* form = GetParentForm(Parent);
  return form != nullptr ? static_cast<TComponent*>(form) : Parent;
}
}  // namespace

void AssignFont(TFont* Font, const String& Name, Integer Height, TColor Color, Byte Charset, TFontStyles Style) {
  Font->SetName(Name);
  Font->SetHeight(Height);
  Font->SetColor(Color);
  Font->SetCharset(Charset);
  Font->SetStyle(Style);
}

TLabel* MakeLabel(TWinControl* Parent, const String& Name, Integer Left, Integer Top, Integer Width, Integer Height,
                  const String& Caption, TAlignment Alignment) {
  auto* label = new TLabel(OwnerFor(Parent));  // owned and destroyed by the dialog
  label->SetName(Name);
  label->SetParent(Parent);
  label->SetCaption(Caption);
  label->SetAlignment(Alignment);
  if (Width > 0) {
    label->SetAutoSize(false);
    label->SetBounds(Left, Top, Width, Height);
  } else {
    label->SetLeft(Left);
    label->SetTop(Top);
  }
  return label;
}

TImage* MakeImage(TWinControl* Parent, const String& Name, Integer Left, Integer Top, Integer Width, Integer Height,
                  const String& Resource, bool AutoSize) {
  auto* image = new TImage(OwnerFor(Parent));  // owned and destroyed by the dialog
  image->SetName(Name);
  image->SetParent(Parent);
  image->SetBounds(Left, Top, Width, Height);
  if (!Resource.empty()) LoadImagePicture(image, Resource);
  image->SetAutoSize(AutoSize);
  return image;
}

void LoadImagePicture(TImage* Image, const String& Resource) {
  try {
    LoadResourcePicture(Image->Picture(), Resource);
  } catch (const Exception&) {
    // A program built without the dialog pictures still shows its texts.
  }
}

void StyleGlowButton(TAdvGlowButton* Button, TColor Color, TColor ColorTo, TColor ColorMirror, TColor ColorMirrorTo) {
  TGlowButtonAppearance* a = Button->Appearance();
  a->SetColor(Color);
  a->SetColorTo(ColorTo);
  a->SetColorMirror(ColorMirror);
  a->SetColorMirrorTo(ColorMirrorTo);
  a->SetColorHot(16117985);
  a->SetColorHotTo(16372402);
  a->SetColorMirrorHot(16107693);
  a->SetColorMirrorHotTo(16775412);
  a->SetColorDown(16111818);
  a->SetColorDownTo(16367008);
  a->SetColorMirrorDown(16102556);
  a->SetColorMirrorDownTo(16768988);
  a->SetColorChecked(16111818);
  a->SetColorCheckedTo(16367008);
  a->SetColorMirrorChecked(16102556);
  a->SetColorMirrorCheckedTo(16768988);
  a->SetColorDisabled(15921906);
  a->SetColorDisabledTo(15921906);
  a->SetColorMirrorDisabled(11974326);
  a->SetColorMirrorDisabledTo(15921906);
  Button->SetRounded(true);
}

TAdvGlowButton* MakeCloseButton(TWinControl* Parent, Integer Left, Integer Top, TColor Color, TColor ColorMirror,
                                TNotifyEvent OnClick) {
  auto* button = new TAdvGlowButton(OwnerFor(Parent));  // owned and destroyed by the dialog
  button->SetName(u"AdvGlowButton1");
  button->SetParent(Parent);
  button->SetBounds(Left, Top, 57, 17);
  button->SetCaption(u"close");
  StyleGlowButton(button, Color, clWhite, ColorMirror, clWhite);
  button->OnClick = std::move(OnClick);
  return button;
}
