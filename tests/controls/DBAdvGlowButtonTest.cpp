// The data-aware glow button over the layer's data set, and the glow
// button's action link.
#include "controls/DBAdvGlowButton.h"
#include "tests/controls/GlowButtonFixture.h"

namespace {

class DBGlowButtonTest : public GlowButtonTest {
 protected:
  void SetUp() override {
    GlowButtonTest::SetUp();
    Data = new TDataSet(Form.get());
    Source = new TDataSource(Form.get());
    Source->SetDataSet(Data);
    Data->SetRecordCount(3);
  }
  TDBAdvGlowButton* Add(TDBGlowButtonType t) {
    auto* b = new TDBAdvGlowButton(Form.get());
    b->SetParent(Form.get());
    b->SetDBButtonType(t);
    b->SetDataSource(Source);
    return b;
  }
  TDataSet* Data = nullptr;
  TDataSource* Source = nullptr;
};

}  // namespace

TEST_F(DBGlowButtonTest, EnablingFollowsTheDataSet) {
  auto* next = Add(dbNext);
  auto* post = Add(dbPost);
  auto* first = Add(dbFirst);
  EXPECT_FALSE(next->Enabled());  // inactive
  EXPECT_EQ(first->GlyphName(), u"DBIMGFIRSTD");
  int changes = 0;
  next->OnEnabledChanged = [&](TObject*) { ++changes; };
  Data->Open();
  EXPECT_TRUE(next->Enabled());
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(post->Enabled());
  EXPECT_FALSE(first->Enabled());  // at BOF
  Data->Last();
  EXPECT_FALSE(next->Enabled());  // at EOF
  EXPECT_TRUE(first->Enabled());
  EXPECT_EQ(first->GlyphName(), u"DBIMGFIRST");
  Data->Edit();
  EXPECT_TRUE(post->Enabled());
  EXPECT_FALSE(first->Enabled());  // editing
  Data->Post();
  Data->SetRecordCount(0);
  EXPECT_FALSE(first->Enabled());  // empty
  EXPECT_FALSE(next->Enabled());

  // drEvent gives the event the last word.
  Data->SetRecordCount(3);
  next->SetDisableControl({drEvent});
  next->OnGetEnabled = [](TObject*, bool& e) { e = false; };
  Data->First();
  EXPECT_FALSE(next->Enabled());
}

TEST_F(DBGlowButtonTest, ClicksRunTheOperationAndReportIt) {
  Data->Open();
  auto* next = Add(dbNext);
  int after = 0;
  bool lastShow = true;
  next->OnAfterAction = [&](TObject*, bool& show) {
    ++after;
    lastShow = show;
  };
  next->Click();
  EXPECT_EQ(Data->RecNo(), 1);
  EXPECT_EQ(after, 1);
  EXPECT_FALSE(lastShow);

  // Cancelled before: nothing runs, nothing is reported.
  next->OnBeforeAction = [](TObject*, bool& doAction) { doAction = false; };
  next->Click();
  EXPECT_EQ(Data->RecNo(), 1);
  EXPECT_EQ(after, 1);
  next->OnBeforeAction = nullptr;

  // Without an active data set nothing ran, so no success is reported.
  Data->Close();
  next->Click();
  EXPECT_EQ(after, 1);
  next->SetDataSource(nullptr);
  next->Click();
  EXPECT_EQ(after, 1);

  // A failing operation: the event decides whether the error goes on.
  Data->SetRecordCount(0);
  Data->Open();
  auto* del = Add(dbDelete);
  EXPECT_EQ(del->ConfirmActionString(), u"Delete record?");
  del->SetAutoDisable(false);
  del->SetEnabled(true);
  EXPECT_THROW(del->Click(), EDatabaseError);
  del->OnAfterAction = [](TObject*, bool& show) { show = false; };
  EXPECT_NO_THROW(del->Click());

  // Confirmation: Cancel performs nothing.
  Data->SetRecordCount(2);
  del->SetConfirmAction(true);
  String asked;
  auto old = SetMessageBoxAnswerer([&](const TMessageBoxRequest& r) {
    asked = r.Text;
    return int(mrCancel);
  });
  del->Click();
  EXPECT_EQ(asked, u"Delete record?");
  EXPECT_EQ(Data->RecordCount(), 2);
  SetMessageBoxAnswerer([](const TMessageBoxRequest&) { return int(mrOk); });
  del->Click();
  EXPECT_EQ(Data->RecordCount(), 1);
  SetMessageBoxAnswerer(old);
}

TEST_F(DBGlowButtonTest, OwnImagesKeepTheirGlyph) {
  auto* own = new TImageList(Form.get());
  auto* b = new TDBAdvGlowButton(Form.get());
  b->SetImages(own);
  b->SetDBButtonType(dbFirst);
  EXPECT_EQ(b->FInternalImages, nullptr);
  EXPECT_EQ(b->GlyphName(), u"");
  // Freeing the list clears the reference.
  delete own;
  EXPECT_EQ(b->Images(), nullptr);
}

TEST_F(GlowButtonTest, ActionLinkFollowsTheAction) {
  auto* b = AddButton(Rect(10, 10, 110, 51));
  auto* action = new TAction(Form.get());
  int runs = 0;
  action->OnExecute = [&](TObject*) { ++runs; };
  action->SetGroupIndex(2);
  action->SetImageIndex(4);
  action->SetChecked(true);
  b->SetAction(action);
  EXPECT_EQ(b->GroupIndex(), 2);
  EXPECT_EQ(b->ImageIndex(), 4);
  EXPECT_TRUE(b->Down());

  // The image index follows while it is linked.
  action->SetImageIndex(6);
  EXPECT_EQ(b->ImageIndex(), 6);
  b->SetAllowAllUp(true);  // a grouped button may then go up
  action->SetChecked(false);
  EXPECT_FALSE(b->Down());
  action->SetHelpKeyword(u"topic");  // the help values agree, so they follow
  EXPECT_EQ(b->HelpKeyword(), u"topic");
  b->SetHelpContext(5);  // now they differ: no longer linked
  action->SetHelpKeyword(u"other");
  EXPECT_EQ(b->HelpKeyword(), u"topic");

  // A click without an own handler runs the action, from the keyboard too.
  ShowForm();
  b->SetTabStop(true);
  b->SetFocus();
  testinput::Click(b, {10, 10});
  EXPECT_EQ(runs, 1);
  testinput::KeyPress(VK_SPACE);
  EXPECT_GE(runs, 2);

  delete action;
  EXPECT_EQ(b->Action(), nullptr);
}
