#pragma once
// Recording receivers of the toolbar styler's broadcast: real custom
// controls that take a styler the way dock panels, toolbars and pagers do
// (SetToolBarStyler registers and unregisters them) and write down every
// change kind they hear.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Controls.h"
#include "toolbar/ZadEdevAziStyler.h"

namespace stylertest {

using toolbar::IStyledControl;
using toolbar::IStyledPager;
using toolbar::TCustomZadEdevAziStyler;
using toolbar::TStyledControlKind;

struct THeard {
  std::string Who;
  Integer Kind;
  bool operator==(const THeard&) const = default;
};
using TLog = std::vector<THeard>;

class TRecordingControl : public TCustomControl, public IStyledControl {
 public:
  TRecordingControl(TLog* ALog, const char* AName, TStyledControlKind AKind)
      : TCustomControl(nullptr), FLog(ALog), FWho(AName), FKind(AKind) {
    if (*AName != 0) SetName(String(AName, AName + std::char_traits<char>::length(AName)));
  }
  ~TRecordingControl() override {
    if (FStyler != nullptr) FStyler->RemoveControl(this);
  }
  TStyledControlKind StyledControlKind() const override { return FKind; }
  void StylerChanged(Integer Kind) override {
    FLog->push_back({FWho, Kind});
    if (OnHeard) OnHeard(Kind);
  }
  IStyledControl* CompactClone() override { return Clone; }
  TCustomZadEdevAziStyler* ToolBarStyler() const override { return FStyler; }
  void SetToolBarStyler(TCustomZadEdevAziStyler* Value) override {
    if (FStyler == Value) return;
    if (Value == nullptr) ++Releases;
    if (FStyler != nullptr) FStyler->RemoveControl(this);
    FStyler = Value;
    if (FStyler != nullptr) FStyler->AddControl(this);
  }
  // Runs after each recorded change (to unregister, destroy or raise).
  std::function<void(Integer)> OnHeard;
  IStyledControl* Clone = nullptr;
  // How often the control was told to let go of its styler.
  int Releases = 0;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FStyler) FStyler = nullptr;
  }

 private:
  TLog* FLog;
  std::string FWho;
  TStyledControlKind FKind;
  TCustomZadEdevAziStyler* FStyler = nullptr;
};

// A pager as far as the styler sees one: tab settings, the scenic and shading
// switches, help button and tone calls, and appearances of its own.
class TRecordingPager : public TRecordingControl, public IStyledPager {
 public:
  TRecordingPager(TLog* ALog, const char* AName) : TRecordingControl(ALog, AName, TStyledControlKind::Pager) {}
  ribbon::TATBTabSettings* TabSettings() override { return &Tabs; }
  void SetWin7ScenicRibbon(bool Value) override { Scenic = Value; }
  bool AeroVista() const override { return true; }
  void SetTabBackGroundShaded(bool Value) override { Shaded = Value; }
  void RequestHelpButtonPicture() override { ++HelpPictureRequests; }
  void UpdateHelpButton() override { ++HelpUpdates; }
  void ClearOfficeTones() override { ++ToneClears; }
  void SetOfficeTones(const ribbon::TOfficeTones& Tones, ribbon::TGroupStyle Style) override {
    LastTones = Tones;
    LastGroupStyle = Style;
    ++ToneSets;
  }
  void UpdateQAT() override { ++QATUpdates; }
  ribbon::TVistaBackground* PageAppearance() override { return &Page; }
  ribbon::TCustomTabAppearance* TabAppearance() override { return &Tab; }
  ribbon::TGroupAppearance* GroupAppearance() override { return &Group; }
  ribbon::TCaptionAppearance* CaptionAppearance() override { return &Caption; }
  TGlowButtonAppearance* GlowButtonAppearance() override { return &Glow; }
  ribbon::TVistaTextBackground* PagerCaption() override { return &PagerText; }
  toolbar::TContainerAppearance* ContainerAppearance() override { return &Container; }

  ribbon::TATBTabSettings Tabs;
  bool Scenic = false, Shaded = false;
  int HelpPictureRequests = 0, HelpUpdates = 0, ToneClears = 0, ToneSets = 0, QATUpdates = 0;
  ribbon::TOfficeTones LastTones;
  ribbon::TGroupStyle LastGroupStyle = ribbon::gsClassic;
  ribbon::TVistaPageBackground Page;
  ribbon::TTabAppearance Tab;
  ribbon::TGroupAppearance Group;
  ribbon::TCaptionAppearance Caption;
  TGlowButtonAppearance Glow;
  ribbon::TVistaTextBackground PagerText;
  toolbar::TContainerAppearance Container;
};

class StylerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
  }
  TLog Log;
};

}  // namespace stylertest
