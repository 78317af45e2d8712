#pragma once
// The look of the user's Office installation or of the system, for the
// controls' automatic theme adaptation. Office values are read from the
// current user's registry; there is no Office here, so they are found only
// when someone has written them into this program's registry store.
#include "foundation/style/VornStyle.h"

// The newest Office whose "Software\Microsoft\Office\<n>\Common\General" key
// exists under HKEY_CURRENT_USER: 16.0 gives 4, 15.0 3, 14.0 2, 12.0 1;
// otherwise (11.0 included) 0. Never raises.
Integer GetInstalledOfficeVersion();
// The style that matches Office's colour theme; without Office, the XP colour
// scheme (AXPFallback) or the system's version and light or dark app mode.
// Never raises: missing keys and values take their defaults.
TVornStyle DetectOfficeStyle(bool AXPFallback);
// DetectOfficeStyle(true) as an Office theme (tsCustom gives ot2019Black,
// styles without an Office theme otUnknown).
TOfficeTheme DetectOfficeTheme();
// True when the desktop asks applications for a dark look (see the .cpp for
// what is read). Unreadable settings count as light.
bool DesktopPrefersDarkTheme();
