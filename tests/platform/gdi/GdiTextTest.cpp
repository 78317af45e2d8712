// Text geometry: metrics, extents, DrawText's measuring, wrapping, ellipses
// and prefixes. Glyph pixels are never compared exactly.
#include <climits>
#include <string>

#include "tests/platform/gdi/GdiFixture.h"

namespace {

struct FontScope {
  FontScope(HDC dc, const char16_t* face, int height, int weight = FW_NORMAL) : DC(dc) {
    LOGFONTW lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    std::u16string f(face);
    std::copy(f.begin(), f.end(), lf.lfFaceName);
    Font = CreateFontIndirectW(&lf);
    Old = SelectObject(dc, Font);
  }
  ~FontScope() {
    SelectObject(DC, Old);
    DeleteObject(Font);
  }
  HDC DC;
  HFONT Font;
  HGDIOBJ Old;
};

SIZE Extent(HDC dc, std::u16string_view s) {
  SIZE sz{};
  GetTextExtentPoint32W(dc, s.data(), int(s.size()), &sz);
  return sz;
}

RECT Calc(HDC dc, std::u16string_view s, RECT r, UINT flags) {
  DrawTextW(dc, s.data(), int(s.size()), &r, flags | DT_CALCRECT);
  return r;
}

TEST(GdiText, MetricsFollowTheRequestedHeight) {
  GdiSurface s(10, 10);
  for (const char16_t* face : {u"Tahoma", u"Arial", u"Segoe UI", u"Times New Roman", u"Courier New"}) {
    FontScope f(s.DC, face, -11);
    TEXTMETRICW tm;
    ASSERT_TRUE(GetTextMetricsW(s.DC, &tm));
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 11);
    EXPECT_GE(tm.tmHeight, 12);
    EXPECT_LE(tm.tmHeight, 16);
    EXPECT_GT(tm.tmAveCharWidth, 2);
    // A positive height asks for the cell height instead.
    FontScope cell(s.DC, face, 20);
    GetTextMetricsW(s.DC, &tm);
    EXPECT_NEAR(tm.tmHeight, 20, 1) << std::string(face, face + 5).c_str();
  }
  // Wider text is wider; bold is not narrower.
  FontScope f(s.DC, u"Tahoma", -11);
  EXPECT_GT(Extent(s.DC, u"WWWW").cx, Extent(s.DC, u"iiii").cx);
  int normal = Extent(s.DC, u"Firmware").cx;
  FontScope b(s.DC, u"Tahoma", -11, FW_BOLD);
  EXPECT_GE(Extent(s.DC, u"Firmware").cx, normal);
}

TEST(GdiText, CalcRectMatchesExtentsAndPrefixes) {
  GdiSurface s(10, 10);
  FontScope f(s.DC, u"Tahoma", -11);
  SIZE file = Extent(s.DC, u"File");
  RECT r = Calc(s.DC, u"File", {10, 20, 11, 21}, DT_SINGLELINE);
  EXPECT_EQ(r, (RECT{10, 20, 10 + file.cx, 20 + file.cy}));
  // "&" marks a prefix and takes no room; "&&" is one ampersand.
  EXPECT_EQ(Calc(s.DC, u"&File", {0, 0, 1, 1}, DT_SINGLELINE).Right, file.cx);
  EXPECT_EQ(Calc(s.DC, u"A&&B", {0, 0, 1, 1}, DT_SINGLELINE).Right, Extent(s.DC, u"A&B").cx);
  EXPECT_EQ(Calc(s.DC, u"&File", {0, 0, 1, 1}, DT_SINGLELINE | DT_NOPREFIX).Right, Extent(s.DC, u"&File").cx);
  // Line breaks give lines; single-line ignores them.
  RECT two = Calc(s.DC, u"ab\r\ncd", {0, 0, 100, 0}, 0);
  EXPECT_EQ(two.Bottom, 2 * file.cy);
  EXPECT_EQ(Calc(s.DC, u"ab\r\ncd", {0, 0, 100, 0}, DT_SINGLELINE).Bottom, file.cy);
  // Empty text is one empty line.
  EXPECT_EQ(Calc(s.DC, u"", {0, 0, 100, 0}, DT_SINGLELINE), (RECT{0, 0, 0, file.cy}));
  TEXTMETRICW tm;
  GetTextMetricsW(s.DC, &tm);
  EXPECT_EQ(Calc(s.DC, u"x", {0, 0, 100, 0}, DT_EXTERNALLEADING).Bottom, tm.tmHeight + tm.tmExternalLeading);
  // Tabs expand to eight average characters.
  EXPECT_EQ(Calc(s.DC, u"\tx", {0, 0, 1, 1}, DT_SINGLELINE | DT_EXPANDTABS).Right,
            8 * tm.tmAveCharWidth + Extent(s.DC, u"x").cx);
}

TEST(GdiText, WordBreakKeepsLinesInsideAndLongWordsWhole) {
  GdiSurface s(10, 10);
  FontScope f(s.DC, u"Tahoma", -11);
  const std::u16string text = u"The quick brown fox jumps over the lazy dog";
  int width = Extent(s.DC, u"The quick brown").cx + 2;
  RECT r = Calc(s.DC, text, {0, 0, width, 0}, DT_WORDBREAK);
  int line = Extent(s.DC, u"x").cy;
  EXPECT_EQ(r.Bottom % line, 0);
  EXPECT_EQ(r.Bottom / line, 3);  // "The quick brown" / "fox jumps over the" / "lazy dog" or similar
  EXPECT_LE(r.Right, width);
  EXPECT_EQ(r.Right, Extent(s.DC, u"The quick brown").cx);
  // A word wider than the rectangle widens the calculated rectangle.
  RECT longWord = Calc(s.DC, u"a Firmwareupdate b", {0, 0, 20, 0}, DT_WORDBREAK);
  EXPECT_EQ(longWord.Right, Extent(s.DC, u"Firmwareupdate").cx);
  EXPECT_EQ(longWord.Bottom, 3 * line);
  // Drawing agrees with measuring: ink stays inside the calculated rectangle.
  GdiSurface big(300, 100);
  FontScope bf(big.DC, u"Tahoma", -11);
  SetBkMode(big.DC, TRANSPARENT);
  RECT draw{5, 5, 5 + width, 95};
  RECT calc = draw;
  DrawTextW(big.DC, text.data(), int(text.size()), &calc, DT_WORDBREAK | DT_CALCRECT);
  int h = DrawTextW(big.DC, text.data(), int(text.size()), &draw, DT_WORDBREAK);
  EXPECT_EQ(h, calc.Bottom - calc.Top);
  RECT ink = big.Ink();
  EXPECT_GE(ink.Left, calc.Left);
  EXPECT_LE(ink.Right, calc.Right + 1);
  EXPECT_LE(ink.Bottom, calc.Bottom);
  EXPECT_GT(ink.Bottom, calc.Bottom - line);  // the last line has ink
}

TEST(GdiText, EllipsesFitTheRectangle) {
  GdiSurface s(400, 30);
  FontScope f(s.DC, u"Tahoma", -11);
  SetBkMode(s.DC, TRANSPARENT);
  const std::u16string text = u"Firmware updated successfully";
  int full = Extent(s.DC, text).cx;
  int width = full / 2;
  struct Case { UINT flag; };
  for (UINT flag : {DT_END_ELLIPSIS, DT_WORD_ELLIPSIS, DT_PATH_ELLIPSIS}) {
    RECT r = Calc(s.DC, text, {0, 0, width, 0}, DT_SINGLELINE | flag);
    EXPECT_LE(r.Right, width) << flag;
    EXPECT_GT(r.Right, Extent(s.DC, u"...").cx) << flag;
  }
  // End ellipsis keeps the longest head that fits: "Firmware upd..."
  int head = Calc(s.DC, text, {0, 0, width, 0}, DT_SINGLELINE | DT_END_ELLIPSIS).Right;
  EXPECT_GT(head, width - Extent(s.DC, u"W...").cx);
  // Word ellipsis cuts at a word: "Firmware..."
  EXPECT_EQ(Calc(s.DC, text, {0, 0, width, 0}, DT_SINGLELINE | DT_WORD_ELLIPSIS).Right, Extent(s.DC, u"Firmware...").cx);
  // Path ellipsis keeps the file name.
  const std::u16string path = u"C:\\Program Files\\Ryx\\Updater\\firmware.hex";
  int pw = Extent(s.DC, u"C:\\Pro...\\firmware.hex").cx;
  RECT pr = Calc(s.DC, path, {0, 0, pw, 0}, DT_SINGLELINE | DT_PATH_ELLIPSIS);
  EXPECT_EQ(pr.Right, pw);
  // Text that fits is untouched.
  EXPECT_EQ(Calc(s.DC, text, {0, 0, full + 5, 0}, DT_SINGLELINE | DT_END_ELLIPSIS).Right, full);
  // Drawn text stays inside the rectangle.
  RECT box{10, 5, 10 + width, 25};
  DrawTextW(s.DC, text.data(), int(text.size()), &box, DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_LE(s.Ink().Right, 10 + width);
}

// Rectangles, margins and tab lengths at the ends of the int range: no
// overflow (the sanitizers stop on one), and answers clamped into range.
TEST(GdiText, ExtremeRectanglesMarginsAndTabLengths) {
  GdiSurface s(60, 40);
  FontScope f(s.DC, u"Tahoma", -11);
  const std::u16string text = u"a\tb &c\td\r\nsecond line of text";
  const RECT rects[] = {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MAX, INT_MAX, INT_MIN, INT_MIN},
                        {INT_MAX - 5, 0, INT_MAX, 10}, {INT_MIN, 0, INT_MIN + 5, 10}};
  const DRAWTEXTPARAMS params[] = {{sizeof(DRAWTEXTPARAMS), INT_MAX, INT_MAX, INT_MAX, 0},
                                   {sizeof(DRAWTEXTPARAMS), INT_MAX, INT_MIN, INT_MIN, 0}};
  const UINT formats[] = {DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK,
                          DT_EXPANDTABS | DT_TABSTOP | (0xFF << 8),
                          DT_SINGLELINE | DT_VCENTER | DT_CENTER,
                          DT_SINGLELINE | DT_BOTTOM | DT_RIGHT | DT_EXPANDTABS,
                          DT_WORDBREAK | DT_END_ELLIPSIS | DT_EXPANDTABS,
                          DT_PATH_ELLIPSIS | DT_NOCLIP};
  for (const RECT& rect : rects)
    for (DRAWTEXTPARAMS p : params)
      for (UINT format : formats) {
        RECT r = rect;
        DrawTextExW(s.DC, text.data(), int(text.size()), &r, format, &p);
      }
  RECT far{INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX};
  DRAWTEXTPARAMS wide{sizeof(DRAWTEXTPARAMS), 0, INT_MAX, INT_MAX, 0};
  EXPECT_GT(DrawTextExW(s.DC, text.data(), int(text.size()), &far, DT_CALCRECT, &wide), 0);
  EXPECT_EQ(far.Right, INT_MAX);
  EXPECT_EQ(far.Bottom, INT_MAX);
}

TEST(GdiText, AlignmentClippingAndPrefixUnderline) {
  GdiSurface s(200, 40);
  FontScope f(s.DC, u"Tahoma", -11);
  SetBkMode(s.DC, TRANSPARENT);
  SIZE e = Extent(s.DC, u"Go");
  RECT r{0, 0, 200, 40};
  int h = DrawTextW(s.DC, u"Go", 2, &r, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
  EXPECT_EQ(h, 40);
  RECT ink = s.Ink();
  EXPECT_LE(ink.Right, 200);
  EXPECT_GE(ink.Left, 200 - e.cx);
  EXPECT_GE(ink.Top, 40 - e.cy);
  s.Clear(kWhite);
  DrawTextW(s.DC, u"Go", 2, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  ink = s.Ink();
  EXPECT_NEAR((ink.Left + ink.Right) / 2, 100, 3);
  EXPECT_NEAR((ink.Top + ink.Bottom) / 2, 20, 4);
  // Clipped to the rectangle unless DT_NOCLIP.
  s.Clear(kWhite);
  RECT small{0, 0, 5, 40};
  DrawTextW(s.DC, u"WWWW", 4, &small, DT_SINGLELINE);
  EXPECT_LE(s.Ink().Right, 5);
  s.Clear(kWhite);
  DrawTextW(s.DC, u"WWWW", 4, &small, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(s.Ink().Right, 5);
  // "&x" underlines x: more ink below the baseline than with the prefix hidden.
  auto inkBelowBaseline = [&](UINT flags) {
    s.Clear(kWhite);
    RECT t{0, 0, 200, 40};
    DrawTextW(s.DC, u"&xxx", 4, &t, DT_SINGLELINE | flags);
    TEXTMETRICW tm;
    GetTextMetricsW(s.DC, &tm);
    return s.Count(kBlack, 0, tm.tmAscent + 1, 200, tm.tmHeight);
  };
  int shown = inkBelowBaseline(0), hidden = inkBelowBaseline(DT_HIDEPREFIX);
  EXPECT_GT(shown, hidden);
  EXPECT_EQ(hidden, 0);
  // Opaque background fills the text cell.
  s.Clear(kWhite);
  SetBkMode(s.DC, OPAQUE);
  SetBkColor(s.DC, kRed);
  TextOutW(s.DC, 3, 4, u"Go", 2);
  EXPECT_EQ(s.Px(3, 4), kRed);
  EXPECT_EQ(s.Count(kRed) + s.Count(kBlack), e.cx * e.cy);
}

TEST(GdiText, RotatedTextRunsAlongTheEscapement) {
  GdiSurface s(60, 120);
  LOGFONTW lf;
  lf.lfHeight = -11;
  lf.lfEscapement = 900;  // reads upwards
  std::u16string face = u"Tahoma";
  std::copy(face.begin(), face.end(), lf.lfFaceName);
  HFONT font = CreateFontIndirectW(&lf);
  SelectObject(s.DC, font);
  SetBkMode(s.DC, TRANSPARENT);
  TextOutW(s.DC, 10, 100, u"Firmware", 8);
  RECT ink = s.Ink();
  EXPECT_GT(ink.Bottom - ink.Top, ink.Right - ink.Left);
  EXPECT_LE(ink.Bottom, 101);
  EXPECT_GE(ink.Left, 9);
  SelectObject(s.DC, GetStockObject(SYSTEM_FONT));
  DeleteObject(font);
}

}  // namespace

namespace {

// An opaque hatch fill must not leave the painter opaque for later text or
// styled lines drawn in transparent mode.
TEST(GdiText, TransparentTextAfterOpaqueHatchPaintsNoBackground) {
  GdiSurface s(80, 30);
  FontScope font(s.DC, u"Tahoma", -11);
  HBRUSH hatch = CreateHatchBrush(HS_CROSS, kBlack);
  HGDIOBJ old = SelectObject(s.DC, hatch);
  SetBkMode(s.DC, OPAQUE);
  SetBkColor(s.DC, kRed);
  PatBlt(s.DC, 0, 0, 4, 4, PATCOPY);
  SelectObject(s.DC, old);
  DeleteObject(hatch);
  SetBkMode(s.DC, TRANSPARENT);
  SetBkColor(s.DC, kBlue);
  TextOutW(s.DC, 10, 10, u"M M", 3);
  RECT r{10, 10, 80, 30};
  DrawTextW(s.DC, u"W W", 3, &r, DT_SINGLELINE);
  // No background at all: neither the hatch's nor the DC's colour.
  EXPECT_EQ(s.Count(kBlue), 0);
  EXPECT_EQ(s.Count(kRed, 8, 8, 80, 30), 0);
}

}  // namespace

namespace {

TEST(GdiObjects, GetObjectAAnswersTheEightBitFontRecord) {
  EnsureGuiApplication();
  HFONT f = CreateFontW(-13, 0, 900, 900, FW_BOLD, 1, 0, 1, DEFAULT_CHARSET, 0, 0, 0, 0, u"Arial");
  static_assert(sizeof(LOGFONTA) == 60);
  EXPECT_EQ(GetObjectA(f, 0, nullptr), 60);
  LOGFONTA a;
  EXPECT_EQ(GetObjectA(f, 59, &a), 0);
  ASSERT_EQ(GetObjectA(f, sizeof(a), &a), 60);
  EXPECT_EQ(a.lfHeight, -13);
  EXPECT_EQ(a.lfEscapement, 900);
  EXPECT_EQ(a.lfWeight, FW_BOLD);
  EXPECT_EQ(a.lfItalic, 1);
  EXPECT_EQ(a.lfStrikeOut, 1);
  EXPECT_STREQ(a.lfFaceName, "Arial");
  // Other objects answer as GetObjectW does.
  HPEN pen = CreatePen(PS_DOT, 1, RGB(1, 2, 3));
  LOGPEN lp;
  EXPECT_EQ(GetObjectA(pen, sizeof(lp), &lp), int(sizeof(lp)));
  EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
  DeleteObject(pen);
  DeleteObject(f);
  EXPECT_EQ(GetObjectA(f, sizeof(a), &a), 0);
}

}  // namespace
