#include <gtest/gtest.h>

#include "platform/testing/TempHome.h"
#include "platform/vcl/VclUnits.h"
#include "platform/win/WinReg.h"
#include "platform/win/WinError.h"
#include "programmer/ProgrammerUnits.h"
#include "platform/rtl/TypInfo.h"
#include "transport/TransportUnits.h"

namespace {

TEST(ProgramUnits, TransportProgrammerAndClassLibraryStartInOrder) {
  TTempHome home;
  TUnitSequence units;
  AddVclUnits(units);
  AddTransportUnits(units);
  AddProgrammerUnits(units);
  EXPECT_EQ(units.Names(),
            (std::vector<String>{u"Controls", u"Forms", u"StdCtrls", u"ExtCtrls", u"ComCtrls", u"Menus", u"HintWindow",
                                 u"SocketLibrary", u"Devices", u"QvBootload"}));
  units.Initialize();
  EXPECT_NE(GetClass(u"TQvBootload"), nullptr);
  EXPECT_NE(GetClass(u"TComboBox"), nullptr);
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key), ERROR_SUCCESS);
  if (key != nullptr) RegCloseKey(key);
  units.Finalize();
  EXPECT_NE(RegOpenKeyEx(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key), ERROR_SUCCESS);
}

}  // namespace
