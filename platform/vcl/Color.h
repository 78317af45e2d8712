#pragma once
// TColor: the class library's colour, 0x00BBGGRR, or a system colour
// 0xFF0000nn resolved through the fixed system-colour table.
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Types.h"

using TColor = Integer;

constexpr TColor clSystemColor = TColor(0xFF000000);
constexpr TColor clScrollBar = TColor(0xFF000000 | COLOR_SCROLLBAR);
constexpr TColor clBackground = TColor(0xFF000000 | COLOR_BACKGROUND);
constexpr TColor clActiveCaption = TColor(0xFF000000 | COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = TColor(0xFF000000 | COLOR_INACTIVECAPTION);
constexpr TColor clMenu = TColor(0xFF000000 | COLOR_MENU);
constexpr TColor clWindow = TColor(0xFF000000 | COLOR_WINDOW);
constexpr TColor clWindowFrame = TColor(0xFF000000 | COLOR_WINDOWFRAME);
constexpr TColor clMenuText = TColor(0xFF000000 | COLOR_MENUTEXT);
constexpr TColor clWindowText = TColor(0xFF000000 | COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = TColor(0xFF000000 | COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = TColor(0xFF000000 | COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = TColor(0xFF000000 | COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = TColor(0xFF000000 | COLOR_APPWORKSPACE);
constexpr TColor clHighlight = TColor(0xFF000000 | COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = TColor(0xFF000000 | COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = TColor(0xFF000000 | COLOR_BTNFACE);
constexpr TColor clBtnShadow = TColor(0xFF000000 | COLOR_BTNSHADOW);
constexpr TColor clGrayText = TColor(0xFF000000 | COLOR_GRAYTEXT);
constexpr TColor clBtnText = TColor(0xFF000000 | COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = TColor(0xFF000000 | COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = TColor(0xFF000000 | COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = TColor(0xFF000000 | COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = TColor(0xFF000000 | COLOR_3DLIGHT);
constexpr TColor clInfoText = TColor(0xFF000000 | COLOR_INFOTEXT);
constexpr TColor clInfoBk = TColor(0xFF000000 | COLOR_INFOBK);
constexpr TColor clHotLight = TColor(0xFF000000 | COLOR_HOTLIGHT);
constexpr TColor clGradientActiveCaption = TColor(0xFF000000 | COLOR_GRADIENTACTIVECAPTION);
constexpr TColor clGradientInactiveCaption = TColor(0xFF000000 | COLOR_GRADIENTINACTIVECAPTION);
constexpr TColor clMenuHighlight = TColor(0xFF000000 | COLOR_MENUHILIGHT);
constexpr TColor clMenuBar = TColor(0xFF000000 | COLOR_MENUBAR);

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clLtGray = 0xC0C0C0,
                 clDkGray = 0x808080, clWhite = 0xFFFFFF, clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6,
                 clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// A system colour becomes its RGB value from the table; any other value is
// answered unchanged (clNone and clDefault included).
TColor ColorToRGB(TColor color);
