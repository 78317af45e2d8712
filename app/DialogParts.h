#pragma once
// Building blocks the information dialogs share: labels, pictures and the
// "close" button placed as their window resources place them.
#include <functional>

#include "controls/AdvGlowButton.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

// Sets a font's face, height (negative: pixels of the character), colour,
// character set and styles.
void AssignFont(TFont* Font, const String& Name, Integer Height, TColor Color, Byte Charset, TFontStyles Style = {});
// A label on Parent at Left, Top; Width 0 sizes it to its text.
TLabel* MakeLabel(TWinControl* Parent, const String& Name, Integer Left, Integer Top, Integer Width, Integer Height,
                  const String& Caption, TAlignment Alignment);
// An image on Parent holding the program's picture resource Resource (left
// empty when the program lacks it, or when Resource is empty: the picture
// comes later); AutoSize sizes it to the picture.
TImage* MakeImage(TWinControl* Parent, const String& Name, Integer Left, Integer Top, Integer Width, Integer Height,
                  const String& Resource, bool AutoSize);
// Loads the program's picture resource Resource into Image; a missing one
// leaves it as it was.
void LoadImagePicture(TImage* Image, const String& Resource);
// Gives a glow button the windows' shared rounded scheme with its own resting
// colour and mirror colour (hot, down, checked and disabled are shared).
void StyleGlowButton(TAdvGlowButton* Button, TColor Color, TColor ColorTo, TColor ColorMirror, TColor ColorMirrorTo);
// The 57 x 17 glow button "close" at Left, Top of Parent in its colours.
TAdvGlowButton* MakeCloseButton(TWinControl* Parent, Integer Left, Integer Top, TColor Color, TColor ColorMirror,
                                TNotifyEvent OnClick);
