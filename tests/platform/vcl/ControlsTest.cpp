// Geometry, creation order, painting and the frame metrics of forms.
#include "tests/platform/vcl/VclFixture.h"

namespace {

// A windowed control that logs its life and paints a solid colour.
class TLogged : public TCustomControl {
 public:
  TLogged(TComponent* owner, Log* log, const std::string& name) : TCustomControl(owner), L(log), N(name) {
    L->push_back(N + ".create");
  }
  void Loaded() override {
    TCustomControl::Loaded();
    L->push_back(N + ".Loaded");
  }
  TColor Fill = clRed;

 protected:
  void CreateWnd() override {
    TCustomControl::CreateWnd();
    L->push_back(N + ".CreateWnd");
  }
  void Paint() override {
    L->push_back(N + ".Paint");
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(ClientRect());
  }

 private:
  Log* L;
  std::string N;
};

Log* gFormLog = nullptr;

class TLogForm : public TForm {
 public:
  explicit TLogForm(TComponent* owner) : TForm(owner), L(gFormLog) {
    SetBorderStyle(bsSingle);
    Child = new TLogged(this, L, "child");
    Child->SetParent(this);
    Child->SetBounds(10, 10, 50, 30);
    OnCreate = [this](TObject*) { L->push_back("form.OnCreate"); };
    OnShow = [this](TObject*) { L->push_back("form.OnShow"); };
    OnActivate = [this](TObject*) { L->push_back("form.OnActivate"); };
    OnPaint = [this](TObject*) { L->push_back("form.Paint"); };
  }
  void Loaded() override {
    TForm::Loaded();
    L->push_back("form.Loaded");
  }
  TLogged* Child;

 private:
  Log* L;
};

TEST_F(VclTest, CreationLoadedShowActivateThenFirstPaint) {
  Log log;
  gFormLog = &log;
  TLogForm* form = nullptr;
  Application->CreateForm(&form);
  std::unique_ptr<TLogForm> owned(form);
  Application->FormDestroyed(form);  // the test keeps ownership; no main form afterwards
  EXPECT_EQ(log, (Log{"child.create", "form.Loaded", "child.Loaded", "form.OnCreate"}));
  EXPECT_FALSE(form->HandleAllocated());
  log.clear();
  form->Show();
  EXPECT_EQ(log, (Log{"child.CreateWnd", "form.OnShow", "form.OnActivate"}));
  log.clear();
  Settle();
  // Parents paint before their children; each paints once.
  EXPECT_EQ(log, (Log{"form.Paint", "child.Paint"}));
  log.clear();
  Settle();
  EXPECT_TRUE(log.empty());
  form->Child->Invalidate();
  Settle();
  EXPECT_EQ(log, (Log{"child.Paint"}));
}

TEST_F(VclTest, AlignmentOrderAndAnchorsFollowTheParent) {
  TForm* form = NewForm(300, 200);
  Log sink;
  auto make = [&](TAlign a, int l, int t, int w, int h) {
    auto* p = new TLogged(form, &sink, "x");
    p->SetParent(form);
    p->SetBounds(l, t, w, h);
    p->SetAlign(a);
    return p;
  };
  TControl* top2 = make(alTop, 0, 50, 10, 20);
  TControl* top1 = make(alTop, 0, 0, 10, 30);
  TControl* bottom = make(alBottom, 0, 0, 10, 25);
  TControl* left = make(alLeft, 0, 0, 40, 10);
  TControl* right = make(alRight, 0, 0, 35, 10);
  TControl* client = make(alClient, 0, 0, 1, 1);
  EXPECT_EQ(top1->BoundsRect(), Rect(0, 0, 300, 30));
  EXPECT_EQ(top2->BoundsRect(), Rect(0, 30, 300, 50));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 175, 300, 200));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 50, 40, 175));
  EXPECT_EQ(right->BoundsRect(), Rect(265, 50, 300, 175));
  EXPECT_EQ(client->BoundsRect(), Rect(40, 50, 265, 175));

  auto* br = make(alNone, 250, 150, 20, 10);
  br->SetAnchors({akRight, akBottom});
  auto* stretch = make(alNone, 10, 100, 280, 10);
  stretch->SetAnchors({akLeft, akRight, akTop});
  form->SetBounds(100, 100, 400, 260);
  EXPECT_EQ(client->BoundsRect(), Rect(40, 50, 365, 235));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 235, 400, 260));
  EXPECT_EQ(br->BoundsRect(), Rect(350, 210, 370, 220));
  EXPECT_EQ(stretch->BoundsRect(), Rect(10, 100, 390, 110));
  // Hidden controls give up their place.
  top1->Hide();
  EXPECT_EQ(top2->BoundsRect(), Rect(0, 0, 400, 20));
  // Constraints bound the size alignment hands out.
  left->Constraints()->SetMaxHeight(100);
  EXPECT_EQ(left->Height(), 100);
}

TEST_F(VclTest, OuterAndClientSizesPerBorderStyle) {
  struct Case {
    TFormBorderStyle Style;
    int Dw, Dh;
  };
  const Case cases[] = {{bsNone, 0, 0},       {bsSingle, 6, 29},     {bsDialog, 6, 29},
                        {bsSizeable, 8, 31}, {bsToolWindow, 6, 23}, {bsSizeToolWin, 8, 25}};
  for (const Case& c : cases) {
    TForm* f = NewForm(300, 196, c.Style);
    f->SetBounds(50, 60, 300, 196);
    SCOPED_TRACE(int(c.Style));
    EXPECT_EQ(f->ClientWidth(), 300 - c.Dw);
    EXPECT_EQ(f->ClientHeight(), 196 - c.Dh);
    f->Show();
    TRect wr, cr;
    ASSERT_TRUE(GetWindowRect(f->Handle(), &wr));
    ASSERT_TRUE(GetClientRect(f->Handle(), &cr));
    EXPECT_EQ(wr, Bounds(50, 60, 300, 196));
    EXPECT_EQ(cr.Height(), 196 - c.Dh);
    // The client area starts inside the frame, below the caption.
    const TPoint o = f->ClientToScreen({0, 0});
    EXPECT_EQ(o.X - 50, c.Dw / 2);
    EXPECT_EQ(o.Y - 60, c.Dh - c.Dw / 2);
    // Setting the client size keeps the frame.
    f->SetClientHeight(100);
    EXPECT_EQ(f->Height(), 100 + c.Dh);
    f->Hide();
  }
  // A single-border window of outer height 196 has client height 167.
  TForm* main = NewForm(400, 196, bsSingle);
  EXPECT_EQ(main->ClientHeight(), 167);
  // Changing the border style keeps the client area.
  main->SetBorderStyle(bsNone);
  EXPECT_EQ(main->Height(), 167);
}

}  // namespace

namespace {

// Logs the notifications the class library sends on property changes.
class TNotified : public TCustomControl {
 public:
  TNotified(TComponent* owner, Log* log, const std::string& name) : TCustomControl(owner), L(log), N(name) {}

 protected:
  void Dispatch(TMessage& M) override {
    switch (M.Msg) {
      case CM_TEXTCHANGED: L->push_back(N + ".CM_TEXTCHANGED"); break;
      case CM_FONTCHANGED: L->push_back(N + ".CM_FONTCHANGED"); break;
      case CM_COLORCHANGED: L->push_back(N + ".CM_COLORCHANGED"); break;
      case CM_ENABLEDCHANGED: L->push_back(N + ".CM_ENABLEDCHANGED"); break;
      case CM_VISIBLECHANGED: L->push_back(N + ".CM_VISIBLECHANGED"); break;
      default: break;
    }
    TCustomControl::Dispatch(M);
  }

 private:
  Log* L;
  std::string N;
};

TEST_F(VclTest, PropertyChangesNotifyAndParentFontAndColorFlowDown) {
  TForm* form = NewForm();
  Log log;
  auto* parent = new TNotified(form, &log, "parent");
  parent->SetParent(form);
  auto* inherits = new TNotified(form, &log, "inherits");
  inherits->SetParent(parent);
  auto* own = new TNotified(form, &log, "own");
  own->SetParent(parent);
  own->Font()->SetName(u"Arial");
  EXPECT_FALSE(own->ParentFont());
  own->SetColor(clYellow);
  log.clear();

  parent->Font()->SetHeight(-20);
  EXPECT_EQ(inherits->Font()->Height(), -20);
  EXPECT_TRUE(inherits->ParentFont());
  EXPECT_NE(own->Font()->Height(), -20);
  parent->SetColor(clNavy);
  EXPECT_EQ(inherits->Color(), clNavy);
  EXPECT_EQ(own->Color(), clYellow);
  EXPECT_EQ(log, (Log{"parent.CM_FONTCHANGED", "inherits.CM_FONTCHANGED", "parent.CM_COLORCHANGED",
                      "inherits.CM_COLORCHANGED"}));

  // Text goes through WM_SETTEXT; only a real change notifies.
  log.clear();
  parent->SetText(u"Hello");
  parent->SetText(u"Hello");
  EXPECT_EQ(parent->GetTextLen(), 5);
  Char buffer[4];
  EXPECT_EQ(parent->Perform(WM_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)), 3);
  EXPECT_EQ(String(buffer), u"Hel");
  parent->SetEnabled(false);
  parent->SetEnabled(false);
  parent->SetVisible(false);
  EXPECT_EQ(log, (Log{"parent.CM_TEXTCHANGED", "parent.CM_ENABLEDCHANGED", "parent.CM_VISIBLECHANGED"}));
}

TEST_F(VclTest, PopupFormsHaveNoFrameAndStayOnTopForInput) {
  TForm* main = NewForm(300, 200, bsSizeable);
  main->SetBounds(0, 0, 300, 200);
  main->Show();
  TForm* popup = NewForm(80, 40, bsNone);
  popup->SetFormStyle(fsStayOnTop);
  popup->SetBounds(50, 60, 80, 40);
  popup->Show();
  EXPECT_EQ(popup->ClientRect(), Rect(0, 0, 80, 40));
  EXPECT_EQ(popup->ClientToScreen({0, 0}), TPoint(50, 60));
  // Even after the main form is activated again, the pop-up gets the pointer over it.
  main->SetFocus();
  EXPECT_EQ(WindowFromPoint({60, 70}), popup->Handle());
  EXPECT_EQ(WindowFromPoint({200, 150}), main->Handle());
  bool clicked = false;
  popup->OnClick = [&](TObject*) { clicked = true; };
  testinput::Click(popup, {5, 5});
  EXPECT_TRUE(clicked);
}

}  // namespace
