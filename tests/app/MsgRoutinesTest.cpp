// The message-box routines and the program's version text.
#include <gtest/gtest.h>

#include "app/MsgRoutines.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/WinError.h"
#include "tests/app/DialogsFixture.h"

using namespace app_test;

TEST_F(DialogsTest, MessageRoutinesShowTheCallersFlags) {
  std::vector<TMessageBoxRequest> seen;
  TMessageBoxAnswerer previous = SetMessageBoxAnswerer([&](const TMessageBoxRequest& r) {
    seen.push_back(r);
    return r.Buttons.front();
  });
  struct Case {
    Integer (*routine)(const String&, const String&, Integer);
    const char16_t* text;
    const char16_t* caption;
    Integer flags;
    TMsgDlgType icon;
  } cases[] = {
      {ShowErrorMsg, u"Timeout", u" B\u0141\u0104D !", MB_ICONERROR, mtError},
      {ShowInfoMsg, u"Connect programmer into USB port first", u" INFORMACJA", MB_ICONINFORMATION, mtInformation},
      {ShowWarningMsg, u"VORira clone - bad version", u" OSTRZE\u017bENIE", MB_ICONWARNING, mtWarning},
      // The routines are one: the flags decide, not the name.
      {ShowErrorMsg, u"x", u"y", MB_ICONWARNING | MB_YESNO, mtWarning},
  };
  for (const Case& c : cases) {
    seen.clear();
    const Integer answer = c.routine(c.text, c.caption, c.flags);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(answer, seen[0].Buttons.front());
    EXPECT_EQ(seen[0].Text, c.text);
    EXPECT_EQ(seen[0].Caption, c.caption);
    EXPECT_EQ(seen[0].Icon, c.icon);
    const std::vector<int> buttons = (c.flags & MB_TYPEMASK) == MB_OK ? std::vector<int>{IDOK}
                                                                      : std::vector<int>{IDYES, IDNO};
    EXPECT_EQ(seen[0].Buttons, buttons);
  }
  SetMessageBoxAnswerer(std::move(previous));
}
TEST(ProgramVersion, ReadsTheVersionRecord) {
  EXPECT_EQ(GetAppVersion(), u"1.0.0.7");
  try {
    GetFileVersion(Utf8ToString(RYX_RESOURCE_NOVERSION));
    ADD_FAILURE() << "a program without a version record gave one";
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode, ERROR_RESOURCE_TYPE_NOT_FOUND);
    EXPECT_EQ(e.Message(), SysErrorMessage(ERROR_RESOURCE_TYPE_NOT_FOUND));
  }
  EXPECT_THROW(GetFileVersion(u"/nonexistent/program"), EOSError);
}
