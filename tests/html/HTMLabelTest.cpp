// The HTML label on a form: sizing to its text, anchors under the mouse,
// clicks and the links they open, hints, styles and text joining.
#include <vector>

#include "html/HTMLabel.h"
#include "platform/win/Shell.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

class HTMLabelTest : public VclTest {
 protected:
  void SetUp() override {
    VclTest::SetUp();
    Previous = SetShellOpener([this](const String& target) {
      Opened.push_back(target);
      return true;
    });
    Form = NewForm(300, 200);
    Form->SetLeft(0);
    Form->SetTop(0);
    Label = new THTMLabel(Form);
    Label->SetParent(Form);
    Label->SetBounds(10, 10, 200, 60);
    Label->Font()->SetName(u"Tahoma");
    Label->Font()->SetHeight(-11);
  }
  void TearDown() override {
    SetShellOpener(Previous);
    VclTest::TearDown();
  }
  Integer Tw(const String& s) {
    Label->Canvas()->SetFont(Label->Font());
    return Label->Canvas()->TextWidth(s);
  }
  void SetText(const String& s) {
    Label->HTMLText()->Clear();
    Label->HTMLText()->Add(s);
  }

  TShellOpener Previous;
  std::vector<String> Opened;
  TForm* Form = nullptr;
  THTMLabel* Label = nullptr;
};

TEST_F(HTMLabelTest, AutoSizingSetsTheHeightOnceAndReportsIt) {
  SetText(u"one<br>two<br>three");
  Label->SetAutoSizing(true);
  Integer calls = 0, reported = 0;
  Label->OnNewSize = [&](TObject*, Integer, Integer h) {
    ++calls;
    reported = h;
  };
  Form->Show();
  Label->Doit();
  const Integer th = Label->Canvas()->TextHeight(u"gh");
  EXPECT_EQ(Label->Height(), 3 * th + 6);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(reported, Label->Height());
  Label->Doit();
  EXPECT_EQ(calls, 1);
}

TEST_F(HTMLabelTest, TextListsJoin) {
  TStringList two;
  two.Add(u"first");
  two.Add(u"second");
  Label->SetHTMLText(&two);
  EXPECT_EQ(Label->Text(), u"firstsecond");
  Label->HTMLText()->Clear();
  Label->HTMLText()->Add(u"a");
  Label->HTMLText()->Add(u"b<b>");
  Label->HTMLText()->Add(u"<i>c");
  EXPECT_EQ(Label->Text(), u"a bc");
}

TEST_F(HTMLabelTest, ClicksOpenOnlyWebAndMailLinks) {
  std::vector<String> clicked;
  Label->OnAnchorClick = [&](TObject*, const String& a) { clicked.push_back(a); };
  Form->Show();
  const struct {
    const char16_t* Href;
    bool Opens;
  } cases[] = {{u"https://example.test/a", true}, {u"http://example.test", true}, {u"mailto:x@example.test", true},
               {u"file:///etc/passwd", false},     {u"ftp://example.test", false},  {u"notes.txt", false}};
  for (const auto& c : cases) {
    SetText(u"<a href=\"" + String(c.Href) + u"\">link</a>");
    Opened.clear();
    clicked.clear();
    testinput::Click(Label, {5, 5});
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], c.Href);
    EXPECT_EQ(Opened.size(), c.Opens ? 1u : 0u) << clicked[0].size();
  }
  // A right click or a click beside the link does nothing.
  SetText(u"<a href=\"https://example.test\">link</a>");
  clicked.clear();
  Opened.clear();
  testinput::Click(Label, {5, 5}, mbRight);
  testinput::Click(Label, {150, 5});
  EXPECT_TRUE(clicked.empty());
  EXPECT_TRUE(Opened.empty());
}

TEST_F(HTMLabelTest, MouseOverAnchorEntersAndLeaves) {
  SetText(u"plain <a href=\"target\">link</a>");
  std::vector<String> log;
  Label->OnAnchorEnter = [&](TObject*, const String& a) { log.push_back(u"enter " + a); };
  Label->OnAnchorExit = [&](TObject*, const String&) { log.push_back(u"exit"); };
  Form->Show();
  testinput::MouseMove(Label, {Tw(u"plain ") + 3, 5});
  EXPECT_EQ(Label->Cursor(), crHandPoint);
  EXPECT_EQ(Label->HoverAnchorIndex(), 1);
  testinput::MouseMove(Label, {2, 5});
  EXPECT_EQ(Label->Cursor(), crDefault);
  EXPECT_EQ(log, (std::vector<String>{u"enter target", u"exit"}));
}

TEST_F(HTMLabelTest, PaintDoesNotFollowTheLivePointer) {
  SetText(u"<a href=\"x\"><img src=\"nothing\" alt=\"y\">link</a> text");
  Form->Show();
  testinput::MouseMove(Label, {150, 40});
  const auto away = testinput::Grab(Label);
  testinput::MouseMove(Label, {5, 5});
  Label->Invalidate();
  const auto over = testinput::Grab(Label);
  ASSERT_EQ(away->Width(), over->Width());
  for (int y = 0; y < away->Height(); ++y)
    for (int x = 0; x < away->Width(); ++x)
      ASSERT_EQ(away->Canvas()->Pixels(x, y), over->Canvas()->Pixels(x, y)) << x << "," << y;
}

// The link is hit wherever it is painted: centred or bottom-aligned text
// taller than the label, and text inside bevels and a border line.
TEST_F(HTMLabelTest, AnchorsAreHitWhereThePaintPutsThem) {
  const struct {
    const char* Name;
    TVAlignment VAlign;
    bool Framed;
    const char16_t* Text;
  } cases[] = {
      {"centre, tall", tvaCenter, false, u"one<br><a href=\"x\">gggg</a><br>three<br>four<br>five"},
      {"bottom, tall", tvaBottom, false, u"one<br><a href=\"x\">gggg</a><br>three<br>four<br>five"},
      {"top, framed", tvaTop, true, u"<a href=\"x\">gggg</a>"},
      {"centre, framed", tvaCenter, true, u"<a href=\"x\">gggg</a>"},
  };
  Form->Show();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Label->SetBounds(10, 10, 200, 30);
    Label->SetVAlignment(c.VAlign);
    Label->SetBevelOuter(c.Framed ? bvRaised : bvNone);
    Label->SetBevelInner(c.Framed ? bvLowered : bvNone);
    Label->SetBevelWidth(2);
    Label->SetBorderWidth(c.Framed ? 3 : 0);
    Label->SetBorderStyle(c.Framed ? bsSingle : bsNone);
    SetText(c.Text);
    const auto shot = testinput::Grab(Label);
    TRect ink{100000, 100000, -1, -1};
    for (int y = 0; y < shot->Height(); ++y)
      for (int x = 0; x < shot->Width(); ++x) {
        const TColor p = PixelOf(shot.get(), x, y) & 0xFFFFFF;
        if ((p & 0xFF) < 0x60 && (p >> 8 & 0xFF) < 0x60 && (p >> 16) > 0xC0)
          ink = {std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x), std::max(ink.Bottom, y)};
      }
    ASSERT_LE(ink.Left, ink.Right) << "the link is painted inside the label";
    for (const TPoint pt : {TPoint{ink.Left, ink.Top}, TPoint{ink.Right, ink.Bottom}, TPoint{ink.Left, ink.Bottom},
                            TPoint{ink.Right, ink.Top}}) {
      testinput::MouseMove(Label, {199, 29});
      testinput::MouseMove(Label, pt);
      EXPECT_EQ(Label->Cursor(), crHandPoint) << pt.X << "," << pt.Y;
      EXPECT_EQ(Label->HoverAnchorIndex(), 1) << pt.X << "," << pt.Y;
    }
  }
}

TEST_F(HTMLabelTest, AnchorHintShowsTheTitle) {
  SetText(u"<a href=\"target\" title=\"Go there\">link</a>");
  Label->SetAnchorHint(true);
  Form->Show();
  THintInfo info;
  info.CursorPos = {5, 5};
  Label->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.HintStr, u"Go there");
  Label->SetHintShowFull(true);
  THintInfo beside;
  beside.CursorPos = {150, 40};
  Label->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&beside));
  EXPECT_EQ(beside.HintStr, u"link");
}

TEST_F(HTMLabelTest, VersionAndStyles) {
  EXPECT_EQ(Label->Version(), u"2.3.0.1");
  Label->Font()->SetColor(0x123456);
  Label->SetComponentStyle(tsCustom);
  EXPECT_EQ(Label->Font()->Color(), TColor(0x123456));
  Label->SetComponentStyle(tsOffice2019Black);
  EXPECT_EQ(Label->Font()->Color(), TColor(0xFFFFFF));
  EXPECT_EQ(Label->UIStyle(), tsOffice2019Black);
}

TEST_F(HTMLabelTest, EllipsisKeepsOneLineAndSizesMeasure) {
  SetText(u"a rather long line of words that cannot fit in the label at all");
  EXPECT_GT(Label->GetSizeWithMaxWidth(100).cy, Label->HTMLSize().cy);
  Label->SetEllipsis(true);
  EXPECT_EQ(Label->GetSizeWithMaxWidth(100).cy, Label->HTMLSize().cy);
}

TEST_F(HTMLabelTest, HighlightAndMarkRoundTrip) {
  SetText(u"find the word here");
  Label->HilightText(u"word", false);
  EXPECT_EQ(Label->HTMLText()->Strings(0), u"find the <hi>word</hi> here");
  Label->UnHilightText();
  Label->MarkText(u"here", true);
  EXPECT_EQ(Label->HTMLText()->Strings(0), u"find the word <e>here</e>");
  Label->UnMarkText();
  EXPECT_EQ(Label->HTMLText()->Strings(0), u"find the word here");
}

}  // namespace
