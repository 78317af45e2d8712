#pragma once
// Menus under the offscreen platform: a menu that records how its stylers
// reach it, and small helpers shared by the menu suites.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "menus/AdvMenus.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"

// A pop-up menu that logs each refresh its stylers ask for: "repaint" or "rebuild".
class TRecordingPopupMenu : public TAdvPopupMenu {
 public:
  using TAdvPopupMenu::TAdvPopupMenu;
  void DoRefreshMenu(bool Rebuild) override {
    Log.push_back(Rebuild ? "rebuild" : "repaint");
    TAdvPopupMenu::DoRefreshMenu(Rebuild);
  }
  std::vector<std::string> Log;
};

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    ResetKeyboardState();
  }
  void TearDown() override { PumpPending(); }
  // A menu item owned by Owner under Parent.
  static TMenuItem* AddItem(TComponent* Owner, TMenuItem* Parent, const String& Caption) {
    auto* i = new TMenuItem(Owner);
    i->SetCaption(Caption);
    Parent->Add(i);
    return i;
  }
};
