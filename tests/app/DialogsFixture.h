#pragma once
// The dialogs' fixture: a headless application, a private home (the
// connector guide keeps its place in the registry), forms made as start-up
// makes them, modal showings driven from inside their loop, and a table
// check of labels.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/testing/TempHome.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"
#include "tests/platform/vcl/VclFixture.h"

namespace app_test {

// The controls layer's fixture (application, clean keyboard and pointer).
class DialogsTest : public VclTest {
 protected:
  template <class T>
  std::unique_ptr<T> Make() {
    auto form = std::make_unique<T>(nullptr);
    form->AfterConstruction();
    return form;
  }
  // Shows Form modally and, once the modal loop runs, calls Act inside it.
  static TModalResult ShowModalAnd(TCustomForm& Form, std::function<void()> Act) {
    HWND helper = AllocateHWnd([&](TMessage& m) {
      if (m.Msg == WM_USER) Act();
    });
    PostMessage(helper, WM_USER, 0, 0);
    const TModalResult r = Form.ShowModal();
    DeallocateHWnd(helper);
    return r;
  }
  TTempHome Home;  // the connector guide keeps its place in the registry
};

struct LabelSpec {
  TLabel* Label;
  TRect Bounds;  // Right/Bottom 0: sized to its text
  const char16_t* Text;
  TColor Color;
  const char16_t* Face;
  Integer Height;
  bool Bold;
  TAlignment Alignment;
};

inline void CheckLabels(const std::vector<LabelSpec>& specs) {
  for (const LabelSpec& s : specs) {
    SCOPED_TRACE(StringToUtf8(s.Label->Name()));
    EXPECT_EQ(s.Label->Left(), s.Bounds.Left);
    EXPECT_EQ(s.Label->Top(), s.Bounds.Top);
    if (s.Bounds.Right != 0) {
      EXPECT_EQ(s.Label->Width(), s.Bounds.Right);
      EXPECT_EQ(s.Label->Height(), s.Bounds.Bottom);
    }
    EXPECT_EQ(s.Label->Caption(), s.Text);
    EXPECT_EQ(s.Label->Font()->Color(), s.Color);
    EXPECT_EQ(s.Label->Font()->Name(), s.Face);
    EXPECT_EQ(s.Label->Font()->Height(), s.Height);
    EXPECT_EQ(s.Label->Font()->Style().Contains(fsBold), s.Bold);
    EXPECT_EQ(s.Label->Alignment(), s.Alignment);
  }
}

}  // namespace app_test

