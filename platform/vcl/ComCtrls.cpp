// Progress bar, page control and rich edit on hosted Qt widgets.
#include "platform/vcl/ComCtrls.h"

#include <QFrame>
#include <QProgressBar>
#include <QTabBar>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>

#include "platform/gdi/GdiInternal.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/QtString.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/HostedWidget.h"
#include "platform/win/Keyboard.h"

// ---------------------------------------------------------------------------
// TProgressBar

TProgressBar::TProgressBar(TComponent* AOwner) : THostedControl(AOwner) {
  FTabStop = false;
  FColor = clBtnFace;
  SetBounds(0, 0, 150, 16);
  auto* w = new QProgressBar;
  w->setTextVisible(false);
  SetHost(std::make_unique<THostedWidget>(w));
  Apply();
}

TProgressBar::~TProgressBar() = default;

void TProgressBar::Apply() {
  auto* w = static_cast<QProgressBar*>(Host()->Widget());
  w->setRange(FMin, FMax);
  w->setValue(FPosition);
  w->setOrientation(FOrientation == pbHorizontal ? Qt::Horizontal : Qt::Vertical);
  WidgetChanged();
}

void TProgressBar::SetMin(Integer Value) {
  if (Value > FMax) return;
  FMin = Value;
  FPosition = std::max(FPosition, FMin);
  Apply();
}

void TProgressBar::SetMax(Integer Value) {
  if (Value < FMin) return;
  FMax = Value;
  FPosition = std::min(FPosition, FMax);
  Apply();
}

void TProgressBar::SetPosition(Integer Value) {
  const Integer v = std::clamp(Value, FMin, FMax);
  if (v == FPosition) return;
  FPosition = v;
  Apply();
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value) {
  FOrientation = Value;
  Apply();
}

// ---------------------------------------------------------------------------
// TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Include(csAcceptsControls);
  FAlign = alClient;
  FVisible = false;
  FParentColor = true;
}

TTabSheet::~TTabSheet() { SetPageControl(nullptr); }

void TTabSheet::SetPageControl(TPageControl* Value) {
  if (FPageControl == Value) return;
  if (FPageControl != nullptr) FPageControl->RemovePage(this);
  SetParent(Value);
  if (Value != nullptr) Value->InsertPage(this);
}

Integer TTabSheet::PageIndex() const {
  if (FPageControl == nullptr) return -1;
  auto& p = FPageControl->FPages;
  return Integer(std::find(p.begin(), p.end(), this) - p.begin());
}

void TTabSheet::SetPageIndex(Integer Value) {
  if (FPageControl == nullptr) return;
  auto& p = FPageControl->FPages;
  const Integer from = PageIndex();
  const Integer to = std::clamp(Value, 0, Integer(p.size()) - 1);
  p.erase(p.begin() + from);
  p.insert(p.begin() + to, this);
  FPageControl->UpdateTabs();
}

void TTabSheet::SetTabVisible(bool Value) {
  if (FTabVisible == Value) return;
  FTabVisible = Value;
  if (FPageControl != nullptr) FPageControl->UpdateTabs();
}

Integer TTabSheet::TabIndex() const {
  if (FPageControl == nullptr || !FTabVisible) return -1;
  Integer n = 0;
  for (TTabSheet* s : FPageControl->FPages) {
    if (s == this) return n;
    if (s->FTabVisible) ++n;
  }
  return -1;
}

void TTabSheet::CMTextChanged(TMessage& M) {
  TWinControl::CMTextChanged(M);
  if (FPageControl != nullptr) FPageControl->UpdateTabs();
}

void TTabSheet::CMShowingChanged(TMessage& M) {
  TWinControl::CMShowingChanged(M);
  if (FShowing && OnShow) OnShow(this);
  if (!FShowing && OnHide) OnHide(this);
}

// ---------------------------------------------------------------------------
// TPageControl

namespace {
struct TTabsWidget : QWidget {
  QTabBar* Bar;
  QFrame* Pane;
  TTabsWidget() {
    Bar = new QTabBar(this);
    Bar->setDrawBase(false);
    Bar->setExpanding(false);
    Pane = new QFrame(this);
    Pane->setFrameShape(QFrame::StyledPanel);
  }
  void Layout(bool tabs) {
    const int th = tabs ? Bar->sizeHint().height() : 0;
    Bar->setVisible(tabs);
    Bar->setGeometry(0, 0, width(), th);
    Pane->setGeometry(0, th > 0 ? th - 1 : 0, width(), height() - (th > 0 ? th - 1 : 0));
  }
};
TTabsWidget* Tabs(THostedWidget* h) { return static_cast<TTabsWidget*>(h->Widget()); }
}  // namespace

TPageControl::TPageControl(TComponent* AOwner) : THostedControl(AOwner) {
  FControlStyle.Include(csAcceptsControls);
  FColor = clBtnFace;
  SetHost(std::make_unique<THostedWidget>(new TTabsWidget));
  SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
  for (TTabSheet* s : FPages) s->FPageControl = nullptr;
}

TTabSheet* TPageControl::Pages(Integer Index) const {
  if (Index < 0 || Index >= PageCount()) throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
  return FPages[std::size_t(Index)];
}

void TPageControl::InsertPage(TTabSheet* Page) {
  FPages.push_back(Page);
  Page->FPageControl = this;
  UpdateTabs();
  if (FActivePage == nullptr) SetActivePage(Page);
}

void TPageControl::RemovePage(TTabSheet* Page) {
  TTabSheet* next = FActivePage == Page ? FindNextPage(Page, true, false) : FActivePage;
  if (next == Page) next = nullptr;
  std::erase(FPages, Page);
  Page->FPageControl = nullptr;
  if (FActivePage == Page) {
    FActivePage = nullptr;
    Page->SetVisible(false);
    SetActivePage(next);
  }
  UpdateTabs();
}

Integer TPageControl::TabHeight() const {
  const bool any = std::any_of(FPages.begin(), FPages.end(), [](TTabSheet* s) { return s->FTabVisible; });
  return any ? Tabs(Host())->Bar->sizeHint().height() : 0;
}

void TPageControl::UpdateTabs() {
  QTabBar* bar = Tabs(Host())->Bar;
  while (bar->count() > 0) bar->removeTab(0);
  for (TTabSheet* s : FPages)
    if (s->FTabVisible) bar->addTab(ToQString(s->Caption()));
  bar->setCurrentIndex(TabIndex());
  Realign();
  WidgetChanged();
}

void TPageControl::AdjustClientRect(TRect& R) {
  THostedControl::AdjustClientRect(R);
  const Integer th = TabHeight();
  R.Top += th > 0 ? th + 3 : 4;
  R.Left += 4;
  R.Right -= 4;
  R.Bottom -= 4;
}

Integer TPageControl::ActivePageIndex() const { return FActivePage != nullptr ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(Integer Value) {
  SetActivePage(Value >= 0 && Value < PageCount() ? FPages[std::size_t(Value)] : nullptr);
}

Integer TPageControl::TabIndex() const { return FActivePage != nullptr ? FActivePage->TabIndex() : -1; }

void TPageControl::SetTabIndex(Integer Value) {
  for (TTabSheet* s : FPages)
    if (s->TabIndex() == Value && Value >= 0) {
      SetActivePage(s);
      return;
    }
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page != nullptr && Page->FPageControl != this) return;
  if (Page == FActivePage) return;
  TTabSheet* old = FActivePage;
  FActivePage = Page;
  if (Page != nullptr) {
    Page->BringToFront();
    Page->SetVisible(true);
  }
  if (old != nullptr) old->SetVisible(false);
  Tabs(Host())->Bar->setCurrentIndex(TabIndex());
  WidgetChanged();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const {
  const Integer n = PageCount();
  if (n == 0) return nullptr;
  Integer start = CurPage != nullptr ? CurPage->PageIndex() : -1;
  if (start < 0) start = GoForward ? n - 1 : 0;
  Integer i = start;
  for (Integer k = 0; k < n; ++k) {
    i = GoForward ? (i + 1) % n : (i + n - 1) % n;
    TTabSheet* s = FPages[std::size_t(i)];
    if (!CheckTabVisible || s->FTabVisible) return s;
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
  TTabSheet* page = FindNextPage(FActivePage, GoForward, CheckTabVisible);
  if (page != nullptr && page != FActivePage) ChangeActivePage(page);
}

bool TPageControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TPageControl::Change() {
  if (OnChange) OnChange(this);
}

void TPageControl::ChangeActivePage(TTabSheet* Page) {
  if (Page == FActivePage || !CanChange()) return;
  SetActivePage(Page);
  Change();
}

Integer TPageControl::IndexOfTabAt(Integer X, Integer Y) const {
  TTabsWidget* w = Tabs(Host());
  Host()->Sync(const_cast<TPageControl*>(this));
  w->Layout(TabHeight() > 0);
  if (!w->Bar->isVisible()) return -1;
  return w->Bar->tabAt(QPoint(X, Y));
}

void TPageControl::Dispatch(TMessage& M) {
  if (M.Msg == WM_SIZE) Tabs(Host())->Layout(TabHeight() > 0);
  THostedControl::Dispatch(M);
}

void TPageControl::DefaultHandler(TMessage& M) {
  switch (M.Msg) {
    case WM_PAINT:
      Host()->Sync(this);
      Tabs(Host())->Layout(TabHeight() > 0);
      break;
    case WM_LBUTTONDOWN: {
      // The tab row is the page control's own; a press on a tab changes the page.
      const Integer tab = IndexOfTabAt(GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam));
      if (tab >= 0) {
        if (CanFocus()) SetFocus();
        for (TTabSheet* s : FPages)
          if (s->TabIndex() == tab) ChangeActivePage(s);
      }
      return;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_CHAR: return;
    case WM_KEYDOWN:
      if (M.WParam == VK_LEFT || M.WParam == VK_RIGHT) SelectNextPage(M.WParam == VK_RIGHT);
      return;
    default: break;
  }
  THostedControl::DefaultHandler(M);
}

// ---------------------------------------------------------------------------
// Rich text

namespace {

struct TRtfState {
  bool Bold = false, Italic = false, Underline = false;
  int ColorIndex = 0;
  bool Skip = false;  // inside a destination that shows nothing
  int UcSkip = 1;     // characters after \uN standing in for it
};

}  // namespace

std::vector<TRichRun> ParseRichText(const std::string& Rtf) {
  std::vector<TRichRun> runs;
  std::vector<TColor> colors;
  std::vector<TRtfState> stack;
  TRtfState st;
  TColor pendingColor = 0;
  bool inColorTable = false;
  int pendingSkip = 0;
  auto put = [&](Char ch) {
    if (st.Skip) return;
    if (pendingSkip > 0) {
      --pendingSkip;
      return;
    }
    // Entry 0 of the colour table is the automatic colour.
    const TColor c = st.ColorIndex > 0 && std::size_t(st.ColorIndex) < colors.size() ? colors[std::size_t(st.ColorIndex)] : clNone;
    if (runs.empty() || runs.back().Bold != st.Bold || runs.back().Italic != st.Italic ||
        runs.back().Underline != st.Underline || runs.back().Color != c)
      runs.push_back({String(), st.Bold, st.Italic, st.Underline, c});
    runs.back().Text += ch;
  };
  const std::size_t n = Rtf.size();
  std::size_t i = 0;
  while (i < n) {
    const char ch = Rtf[i];
    if (ch == '{') {
      if (stack.size() > 256) break;  // hostile nesting
      stack.push_back(st);
      ++i;
      if (i + 1 < n && Rtf[i] == '\\' && Rtf[i + 1] == '*') st.Skip = true;
      continue;
    }
    if (ch == '}') {
      if (stack.empty()) break;
      if (inColorTable && !st.Skip) inColorTable = false;
      const bool wasTable = inColorTable;
      st = stack.back();
      stack.pop_back();
      inColorTable = wasTable && st.Skip;
      ++i;
      continue;
    }
    if (ch == '\r' || ch == '\n') {
      ++i;
      continue;
    }
    if (ch != '\\') {
      if (inColorTable) {
        if (ch == ';') {
          colors.push_back(pendingColor);
          pendingColor = 0;
        }
      } else {
        put(Char(static_cast<unsigned char>(ch)));
      }
      ++i;
      continue;
    }
    // A control word, symbol or escape.
    ++i;
    if (i >= n) break;
    const char c = Rtf[i];
    if (c == '\\' || c == '{' || c == '}') {
      put(Char(c));
      ++i;
      continue;
    }
    if (c == '\'') {
      if (i + 2 < n) {
        const std::string hex = Rtf.substr(i + 1, 2);
        char* end = nullptr;
        const long v = std::strtol(hex.c_str(), &end, 16);
        const String decoded = AnsiToString(std::string(1, char(v)));
        if (end == hex.c_str() + 2 && !decoded.empty()) put(decoded[0]);
      }
      i += 3;
      continue;
    }
    if (!std::isalpha(static_cast<unsigned char>(c))) {
      if (c == '~') put(u'\u00A0');
      ++i;
      continue;
    }
    std::string word;
    while (i < n && std::isalpha(static_cast<unsigned char>(Rtf[i])) && word.size() < 32) word += Rtf[i++];
    bool hasParam = false;
    long param = 0;
    bool neg = false;
    if (i < n && Rtf[i] == '-') {
      neg = true;
      ++i;
    }
    std::size_t digits = 0;
    while (i < n && std::isdigit(static_cast<unsigned char>(Rtf[i])) && digits < 10) {
      param = param * 10 + (Rtf[i++] - '0');
      hasParam = true;
      ++digits;
    }
    if (neg) param = -param;
    if (i < n && Rtf[i] == ' ') ++i;
    const bool on = !hasParam || param != 0;
    if (word == "par" || word == "line") {
      put(u'\r');
      put(u'\n');
    } else if (word == "tab") {
      put(u'\t');
    } else if (word == "b") {
      st.Bold = on;
    } else if (word == "i") {
      st.Italic = on;
    } else if (word == "ul") {
      st.Underline = on;
    } else if (word == "ulnone") {
      st.Underline = false;
    } else if (word == "plain") {
      st.Bold = st.Italic = st.Underline = false;
      st.ColorIndex = 0;
    } else if (word == "cf") {
      st.ColorIndex = int(param);
    } else if (word == "uc") {
      st.UcSkip = int(std::clamp(param, 0L, 8L));
    } else if (word == "u") {
      put(Char(static_cast<uint16_t>(param < 0 ? param + 65536 : param)));
      pendingSkip = st.UcSkip;
    } else if (word == "colortbl") {
      inColorTable = true;
      st.Skip = true;
    } else if (inColorTable && (word == "red" || word == "green" || word == "blue")) {
      const int shift = word == "red" ? 0 : word == "green" ? 8 : 16;
      pendingColor |= TColor((param & 0xFF) << shift);
    } else if (word == "fonttbl" || word == "stylesheet" || word == "info" || word == "pict" || word == "header" ||
               word == "footer" || word == "object") {
      st.Skip = true;
    }
  }
  // A trailing paragraph mark ends the last line rather than starting another.
  if (!runs.empty()) {
    String& t = runs.back().Text;
    if (t.size() >= 2 && t.compare(t.size() - 2, 2, u"\r\n") == 0) t.resize(t.size() - 2);
    if (t.empty()) runs.pop_back();
  }
  return runs;
}

TRichEdit::TRichEdit(TComponent* AOwner) : TCustomMemo(AOwner, true) {}
TRichEdit::~TRichEdit() = default;

void TRichEdit::PushText() {
  if (auto* w = qobject_cast<QTextEdit*>(Host()->Widget())) w->setPlainText(ToQString(FText));
}

void TRichEdit::LoadFromStream(TStream* Stream) {
  if (Stream == nullptr) return;
  std::string bytes;
  const Int64 left = Stream->Size() - Stream->Position();
  if (left > 0) {
    bytes.resize(std::size_t(std::min<Int64>(left, 64 * 1024 * 1024)));
    bytes.resize(std::size_t(std::max(Stream->Read(bytes.data(), Integer(bytes.size())), 0)));
  }
  std::string head = bytes.substr(0, 5);
  for (char& c : head) c = char(std::toupper(static_cast<unsigned char>(c)));
  auto* w = static_cast<QTextEdit*>(Host()->Widget());
  if (FPlainText || head != "{\\RTF") {
    SetText(AnsiToString(bytes));
    return;
  }
  const std::vector<TRichRun> runs = ParseRichText(bytes);
  String plain;
  for (const TRichRun& r : runs) plain += r.Text;
  // Qt's text keeps one character per line break; the control's text keeps CR LF.
  FSyncing = true;
  w->clear();
  QTextCursor cur(w->document());
  for (const TRichRun& r : runs) {
    QTextCharFormat f;
    f.setFontWeight(r.Bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(r.Italic);
    f.setFontUnderline(r.Underline);
    if (r.Color != clNone) f.setForeground(gdi_internal::ToQColor(ColorToRGB(r.Color)));
    String t = r.Text;
    std::erase(t, u'\r');
    cur.insertText(ToQString(t), f);
  }
  SetText(plain);  // the formatted widget content stays
  FSyncing = false;
  FModified = false;
}

namespace {
QTextCharFormat FormatAt(QTextEdit* w, Integer pos) {
  QTextCursor c(w->document());
  c.setPosition(std::clamp(pos + 1, 0, w->document()->characterCount() - 1));
  return c.charFormat();
}
}  // namespace

bool TRichEdit::IsBoldAt(Integer Position) const {
  return FormatAt(static_cast<QTextEdit*>(Host()->Widget()), Position).fontWeight() >= QFont::Bold;
}
bool TRichEdit::IsItalicAt(Integer Position) const {
  return FormatAt(static_cast<QTextEdit*>(Host()->Widget()), Position).fontItalic();
}

// ---------------------------------------------------------------------------

void RegisterComCtrlsClasses() {
  RegisterEnum<TProgressBarOrientation>(u"TProgressBarOrientation", {u"pbHorizontal", u"pbVertical"});
  TClassInfo::Of<TProgressBar, THostedControl>(u"TProgressBar")
      .Property(u"Max", &TProgressBar::Max, &TProgressBar::SetMax).Default(100)
      .Property(u"Min", &TProgressBar::Min, &TProgressBar::SetMin).Default(0)
      .Property(u"Orientation", &TProgressBar::Orientation, &TProgressBar::SetOrientation).Default(pbHorizontal)
      .Property(u"Position", &TProgressBar::Position, &TProgressBar::SetPosition).Default(0)
      .Property(u"Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth).Default(false)
      .Property(u"Step", &TProgressBar::Step, &TProgressBar::SetStep).Default(10);
  TClassInfo::Of<TTabSheet, TWinControl>(u"TTabSheet")
      .Property(u"ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex).Default(-1)
      .Property(u"PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex)
      .Property(u"TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible).Default(true);
  TClassInfo::Of<TPageControl, THostedControl>(u"TPageControl")
      .Property(u"ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
      .Property(u"TabIndex", &TPageControl::TabIndex, &TPageControl::SetTabIndex)
      .Event(u"OnChange", &TPageControl::OnChange)
      .Event(u"OnChanging", &TPageControl::OnChanging).TypeName(u"TTabChangingEvent");
  TClassInfo::Of<TRichEdit, TCustomMemo>(u"TRichEdit")
      .Property(u"Lines", &TRichEdit::Lines, &TRichEdit::SetLines)
      .Property(u"PlainText", &TRichEdit::PlainText, &TRichEdit::SetPlainText).Default(false)
      .Property(u"ReadOnly", &TRichEdit::ReadOnly, &TRichEdit::SetReadOnly).Default(false)
      .Property(u"ScrollBars", &TRichEdit::ScrollBars, &TRichEdit::SetScrollBars)
      .Property(u"WordWrap", &TRichEdit::WordWrap, &TRichEdit::SetWordWrap).Default(true);
  for (const TClassInfo* c : {ClassInfoOf<TProgressBar>(), ClassInfoOf<TTabSheet>(), ClassInfoOf<TPageControl>(),
                              ClassInfoOf<TRichEdit>()})
    RegisterClass(c);
}
