#pragma once
// Building blocks the information dialogs share: labels, pictures and the
// "close" button placed as their window resources place them.
#include <functional>

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
// empty when the program lacks it); AutoSize sizes it to the picture.
TImage* MakeImage(TWinControl* Parent, const String& Name, Integer Left, Integer Top, Integer Width, Integer Height,
                  const String& Resource, bool AutoSize);
// The 57 x 17 "close" button at Left, Top of Parent.
TButton* MakeCloseButton(TWinControl* Parent, Integer Left, Integer Top, TNotifyEvent OnClick);
