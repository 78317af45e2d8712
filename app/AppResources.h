#pragma once
// The program's raw-data resources (packed by app_resources in
// app/CMakeLists.txt) and how its windows load pictures from them.
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Graphic.h"

// The main window's firmware store, in the store's stored form.
inline const Char* const RES_FIRMWARE_STORE = u"MXSTORAGE1";
// Pictures of the dialogs: the connector guide, a chip, a tick, a USB plug.
inline const Char* const RES_PINOUT = u"PINOUT_PNG";
inline const Char* const RES_ICON_CHIP = u"ICON_CHIP32";
inline const Char* const RES_ICON_OK = u"ICON_OK16";
inline const Char* const RES_ICON_USB = u"ICON_USB64";
// The main window's header and serial-port pictures, and the update wizard's billboard.
inline const Char* const RES_HEADER = u"HEADER_JPG";
inline const Char* const RES_PORT = u"PORT_PNG";
inline const Char* const RES_BILLBOARD = u"BILLBOARD_PNG";

// Loads the running program's raw-data resource Name into Picture. Raises
// EResNotFound "Resource <Name> not found" when the program lacks it and
// EInvalidGraphic when its bytes are no picture.
void LoadResourcePicture(TPicture* Picture, const String& Name);
