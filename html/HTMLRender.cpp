#include "html/HTMLRender.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "html/HTMLDrawing.h"
#include "html/HTMLTextUtils.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"

namespace html {

THTMLRenderOptions HTMLStatusBarOptions() {
  THTMLRenderOptions o;
  o.ParagraphEndResetsAlignment = false;
  o.LineHeightPerLine = false;
  o.Emoji = false;
  o.FullEntityTable = false;
  return o;
}

namespace {

// Markup may ask for anything; these bounds keep fonts, pictures and
// positions drawable.
constexpr Integer HTMLRenderMaxPoints = 400;
constexpr Integer HTMLRenderMaxImage = 4096;
constexpr Integer HTMLRenderMaxOffset = 16384;
constexpr Integer HTMLRenderMaxListLevel = 64;
constexpr Integer HTMLRenderMaxTiles = 4096;

Char HTMLRenderUpperAt(StringView s, size_t i) {
  if (i >= s.size()) return 0;
  const Char c = s[i];
  return (c >= u'a' && c <= u'z') ? Char(c - 32) : c;
}

// The text between the first double quote after the first Name in Upper and
// the next double quote, taken from Source (Upper's original spelling or
// Upper itself); empty without quotes.
String HTMLRenderValue(StringView Upper, StringView Source, StringView Name) {
  const size_t p = Upper.find(Name);
  if (p == StringView::npos) return String();
  const size_t q1 = Upper.find(u'"', p + Name.size());
  if (q1 == StringView::npos) return String();
  const size_t q2 = Upper.find(u'"', q1 + 1);
  if (q2 == StringView::npos) return String();
  return String(Source.substr(q1 + 1, q2 - q1 - 1));
}

bool HTMLRenderHas(StringView Upper, StringView Name) { return Upper.find(Name) != StringView::npos; }

// Copies a font only when it differs: every copy drops the font's handle,
// and making it again is most of a short text's cost.
void HTMLRenderCopyFont(TFont* Dest, TFont* Source) {
  if (Dest->Name() == Source->Name() && Dest->Height() == Source->Height() && Dest->Style() == Source->Style() &&
      Dest->Color() == Source->Color() && Dest->Charset() == Source->Charset() &&
      Dest->Orientation() == Source->Orientation() && Dest->Pitch() == Source->Pitch() &&
      Dest->Quality() == Source->Quality() && Dest->PixelsPerInch() == Source->PixelsPerInch())
    return;
  Dest->Assign(Source);
}

// A picture source resolved.
struct THTMLRenderSource {
  enum { None, Index, SmallIcon, LargeIcon, Picture } Kind = None;
  Integer ImageIndex = -1;
  String IconName;
  TGraphic* Graphic = nullptr;
};

class THTMLRenderRun {
 public:
  // Arguments.
  TCanvas* Canvas;
  TRect Bounds;
  TCustomImageList* Images;
  Integer HitX, HitY, FocusAnchor, HoverAnchor, ShadowOffset;
  bool HitTestPass, MeasureOnly, PrintMode, KeepColors, BlinkVisible, HoverUnderlineOnly, WrapWords,
      ScaleFontSizes;
  Double PrintScale;
  TColor URLColor, HoverColor, HoverFontColor, ShadowColor;
  String& HitAnchor;
  String& PlainText;
  String& AnchorTitle;
  Integer& ExtentX;
  Integer& ExtentY;
  Integer& AnchorCount;
  Integer& HitAnchorIndex;
  TRect& HitAnchorRect;
  THTMLPictureCache* PictureCache;
  TPictureContainer* Container;
  Integer LineSpacing;
  TColor HighlightColor, HighlightTextColor;
  TFontStyles HighlightStyle;
  Single ScaleArg;
  const THTMLRenderOptions& Options;

  THTMLRenderRun(TCanvas* c, const TRect& b, const THTMLRenderArgs& a, THTMLRenderResult& r)
      : Canvas(c), Bounds(b), Images(a.Images), HitX(a.HitX), HitY(a.HitY), FocusAnchor(a.FocusAnchor),
        HoverAnchor(a.HoverAnchor), ShadowOffset(a.ShadowOffset), HitTestPass(a.HitTestPass),
        MeasureOnly(a.MeasureOnly), PrintMode(a.PrintMode), KeepColors(a.KeepColors), BlinkVisible(a.BlinkVisible),
        HoverUnderlineOnly(a.HoverUnderlineOnly), WrapWords(a.WrapWords), ScaleFontSizes(a.ScaleFontSizes),
        PrintScale(a.PrintScale), URLColor(a.URLColor), HoverColor(a.HoverColor), HoverFontColor(a.HoverFontColor),
        ShadowColor(a.ShadowColor), HitAnchor(r.HitAnchor), PlainText(r.PlainText), AnchorTitle(r.AnchorTitle),
        ExtentX(r.ExtentX), ExtentY(r.ExtentY), AnchorCount(r.AnchorCount), HitAnchorIndex(r.HitAnchorIndex),
        HitAnchorRect(r.HitAnchorRect), PictureCache(a.PictureCache), Container(a.Container),
        LineSpacing(a.LineSpacing), HighlightColor(a.HighlightColor), HighlightTextColor(a.HighlightTextColor),
        HighlightStyle(a.HighlightStyle), ScaleArg(a.Scale), Options(a.Options) {}

  bool Run(const String& Text, TBiDiMode BiDiMode);

 private:
  // Render state.
  std::unique_ptr<TFont> BaseFont, MeasureFont, MeasureBase, DrawFont, DrawBase;
  TColor SavedBrush = clNone;
  TBrushStyle SavedBrushStyle = bsSolid;
  Double Scale = 1.0;
  Integer ListUnit = 12;
  UINT Flags = 0;
  Double LineHeightFactor = 1.0;
  bool ParaBackground = false;
  TColor ParaColorSave = clNone, SpanColorSave = clNone;
  TColor HiFontColorSave = clNone, HiBrushSave = clNone;
  TFontStyles HiStyleSave;
  TColor HoverBrushSave = clNone, HoverFontSave = clNone;
  bool InAnchor = false, InATag = false, MouseInAnchor = false;
  String Href, Title;
  TPoint AnchorStart;
  TRect FocusRect;
  bool Shadow = false, Hidden = false, Mark = false, Sub = false, Sup = false;
  Integer ListLevel = 0;
  bool Ordered = false;
  Integer ItemNumber = 1;
  bool ParaEnded = false;
  TRect FloatArea;
  Byte ParaFloat = 0;
  TPoint ParaOrigin;
  Integer ListOffset = 0;
  Byte Alignment = 0;
  Integer Indent = 0;
  HFONT Rotated = nullptr;

  // Per line (the line routine's var arguments).
  Integer W = 0, H = 0, SubH = 0, SupH = 0, ImgAli = 0;
  bool TextHit = false, ImageHit = false;
  Integer NewListOffset = 0;

  // Per line routine call.
  TRect LineRect;
  bool Measure = false;
  Integer C = 0, D = 0, E = 0, F = 0;
  Integer H0 = 0;
  bool LineDone = false, LineFull = false, ItemSeen = false;
  // The tag being handled has its ">".
  bool TagClosed = false;

  String RenderLine(StringView& Rest, const TRect& LR, bool AMeasure, Integer AListOffset);
  void Tag(StringView Rest);
  void OpeningTag(StringView Tag, Char Letter);
  void ClosingTag(StringView Tag, Char Letter);
  void Anchor(StringView Tag);
  void AnchorEnd();
  void FontTag(StringView Tag);
  void FontEnd();
  void Paragraph(StringView Tag);
  void ParagraphEnd();
  void ListItem(StringView Tag);
  void Body(StringView Tag);
  void Image(StringView Tag);
  void Span(StringView Tag);
  void Word(const String& Word, size_t N, StringView& Rest, String& Result, Integer& TrailingSpace);

  THTMLRenderSource Resolve(const String& Src);
  Integer Th() { return Canvas->TextHeight(u"gh"); }
  TColor BrushColor() { return Canvas->Brush()->Style() == bsClear ? clNone : Canvas->Brush()->Color(); }
  void SetBrushColor(TColor c) {
    if (c == clNone) {
      Canvas->Brush()->SetStyle(bsClear);
    } else {
      Canvas->Brush()->SetColor(c);
      Canvas->Brush()->SetStyle(bsSolid);
    }
  }
  void AddStyle(TFontStyle s) {
    TFontStyles st = Canvas->Font()->Style();
    st.Include(s);
    Canvas->Font()->SetStyle(st);
  }
  void RemoveStyle(TFontStyle s) {
    TFontStyles st = Canvas->Font()->Style();
    st.Exclude(s);
    Canvas->Font()->SetStyle(st);
  }
  void SetPoints(Integer Points) {
    Canvas->Font()->SetSize(std::clamp(Points, 1, HTMLRenderMaxPoints));
  }
  Integer PpiX() { return std::max(1, GetDeviceCaps(Canvas->Handle(), LOGPIXELSX)); }
  Integer PpiY() { return std::max(1, GetDeviceCaps(Canvas->Handle(), LOGPIXELSY)); }
};

bool THTMLRenderRun::Run(const String& Text, TBiDiMode BiDiMode) {
  Scale = ScaleArg > 0 ? Double(ScaleArg) : PpiY() / 96.0;
  ListUnit = MulDiv(12, PpiX(), 96);
  BaseFont = std::make_unique<TFont>();
  HTMLRenderCopyFont(BaseFont.get(), Canvas->Font());
  MeasureFont = std::make_unique<TFont>();
  HTMLRenderCopyFont(MeasureFont.get(), Canvas->Font());
  MeasureBase = std::make_unique<TFont>();
  HTMLRenderCopyFont(MeasureBase.get(), Canvas->Font());
  DrawFont = std::make_unique<TFont>();
  HTMLRenderCopyFont(DrawFont.get(), Canvas->Font());
  DrawBase = std::make_unique<TFont>();
  HTMLRenderCopyFont(DrawBase.get(), Canvas->Font());
  SavedBrush = Canvas->Brush()->Color();
  SavedBrushStyle = Canvas->Brush()->Style();
  SetBrushColor(clNone);

  TRect Lr = Bounds;
  ExtentX = 0;
  ExtentY = 0;
  AnchorCount = 0;
  PlainText.clear();
  AnchorTitle.clear();
  HitAnchorIndex = -1;
  SetBkMode(Canvas->Handle(), TRANSPARENT);

  Flags = HTMLBiDiFlags(DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING, BiDiMode);
  if (Text.find(u" & ") != String::npos) Flags |= DT_NOPREFIX;
  if (!WrapWords) Flags |= DT_END_ELLIPSIS;

  String text = Text;
  if (text.find(u'&') != String::npos) {
    text = HTMLDecodeNamedEntities(text, !Options.FullEntityTable);
    // "&amp;" becomes "&&" (DrawText's escaped ampersand), again and again:
    // a replacement can only form a new "&amp;" starting at its second "&".
    String out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
      if (text[i] == u'&' && PosNoCase(u"&amp;", StringView(text).substr(i, 5)) == 0) {
        out += u'&';
        i += 5;
        while (PosNoCase(u"amp;", StringView(text).substr(i, 4)) == 0) {
          out += u'&';
          i += 4;
        }
        out += u'&';
      } else {
        out += text[i++];
      }
    }
    text = std::move(out);
  }
  text = HTMLUnwrapHashTags(text);
  text = HTMLDecodeCharRefs(text, Options.Emoji);
  text = HTMLBreaksToBR(text, true);

  bool result = false;
  Integer drawAnchorCount = 0, drawListLevel = 0;
  StringView rest(text);
  while (!rest.empty()) {
    HTMLRenderCopyFont(Canvas->Font(), MeasureFont.get());
    HTMLRenderCopyFont(BaseFont.get(), MeasureBase.get());
    SubH = 0;
    SupH = 0;
    Sub = Sup = false;
    const Integer th = Th();
    H = th;
    while (!rest.empty() && rest.front() <= u' ') rest.remove_prefix(1);
    while (!rest.empty() && rest.back() <= u' ') rest.remove_suffix(1);
    if (Options.LineHeightPerLine) LineHeightFactor = 1.0;
    if (ParaEnded) {
      Alignment = 0;
      ParaEnded = false;
    }
    const bool shadowKeep = Shadow, inAnchorKeep = InAnchor, hiddenKeep = Hidden;
    const String hrefKeep = Href;
    const Byte floatKeep = ParaFloat;

    String lineText = RenderLine(rest, Lr, true, ListOffset);

    Shadow = shadowKeep;
    InAnchor = inAnchorKeep;
    Href = hrefKeep;
    HTMLRenderCopyFont(MeasureFont.get(), Canvas->Font());
    HTMLRenderCopyFont(MeasureBase.get(), BaseFont.get());

    const Integer lineHeight = Integer(Round((H + LineSpacing) * LineHeightFactor));
    if (Options.LineHeightPerLine) LineHeightFactor = 1.0;

    TRect dr = Lr;
    if (Alignment == 1) {
      if (dr.Right - W > dr.Left) dr.Left = dr.Right - W;
    } else if (Alignment == 2) {
      if (dr.Right - dr.Left - W > 0) dr.Left += (dr.Right - dr.Left - W) / 2;
    }
    dr.Left += Indent;
    dr.Bottom = dr.Top + lineHeight + SubH + SupH;

    if (!MeasureOnly) {
      HTMLRenderCopyFont(Canvas->Font(), DrawFont.get());
      HTMLRenderCopyFont(BaseFont.get(), DrawBase.get());
      AnchorCount = drawAnchorCount;
      ListLevel = drawListLevel;
      Hidden = hiddenKeep;
      H = lineHeight;
      StringView lineView(lineText);
      RenderLine(lineView, dr, HitTestPass, ListOffset);
      Lr.Left = Bounds.Left + FloatArea.Left;
      Lr.Right = Bounds.Right - FloatArea.Right;
      // The float area's Bottom is the floating picture's bottom edge.
      if (dr.Top > FloatArea.Bottom) {
        FloatArea.Left = FloatArea.Right = 0;
        Lr.Left = Bounds.Left;
        Lr.Right = Bounds.Right;
      }
      const Integer thNow = Th();
      if ((TextHit && HitY > dr.Bottom - ImgAli - thNow && HitY < dr.Bottom - ImgAli) || ImageHit) result = true;
      HTMLRenderCopyFont(DrawFont.get(), Canvas->Font());
      HTMLRenderCopyFont(DrawBase.get(), BaseFont.get());
      drawAnchorCount = AnchorCount;
      drawListLevel = ListLevel;
    }
    ListOffset = NewListOffset;
    if (ParaFloat != 0 && ParaFloat != floatKeep) {
      Lr.Left = ParaOrigin.X;
      Lr.Top = ParaOrigin.Y;
      ParaFloat = 0;
    } else {
      ImgAli = 0;
      const Integer advance = (MeasureOnly ? lineHeight : H) + SubH + SupH;
      Lr.Top += advance;
      ExtentY += advance;
    }
    if (!MeasureOnly && Lr.Top + th > Lr.Bottom) break;
  }

  RestoreAngleFont(Canvas, Rotated);
  if (ExtentY == 0) ExtentY = Th();
  Canvas->Brush()->SetColor(SavedBrush);
  Canvas->Brush()->SetStyle(SavedBrushStyle);
  HTMLRenderCopyFont(Canvas->Font(), BaseFont.get());
  return MeasureOnly ? false : result;
}

String THTMLRenderRun::RenderLine(StringView& Rest, const TRect& LR, bool AMeasure, Integer AListOffset) {
  String result;
  LineRect = LR;
  Measure = AMeasure;
  LineRect.Bottom -= SubH;
  W = 0;
  Integer trailing = 0;
  LineDone = LineFull = ItemSeen = false;
  TextHit = ImageHit = false;
  Title.clear();
  H0 = H;
  H = 0;
  NewListOffset = AListOffset;
  C = LineRect.Left;
  D = LineRect.Top;
  E = LineRect.Right;
  F = LineRect.Bottom;
  if (!Measure) C += AListOffset;

  if (ParaBackground && !Measure) {
    const TColor pen = Canvas->Pen()->Color();
    Canvas->Pen()->SetColor(Canvas->Brush()->Color());
    Canvas->Rectangle(Bounds.Left, LineRect.Top, Bounds.Right, LineRect.Top + H0);
    Canvas->Pen()->SetColor(pen);
  }

  while (!Rest.empty() && !LineDone && !LineFull) {
    // The word runs to the first "<" or, when wrapping, through the first
    // blank before it; one scan finds whichever comes first.
    const size_t q = WrapWords ? Rest.find_first_of(u"< ") : Rest.find(u'<');
    size_t n;
    if (q == StringView::npos)
      n = Rest.size();
    else
      n = Rest[q] == u' ' ? q + 1 : q;
    if (n > 0) {
      String word(Rest.substr(0, n));
      if (word.find(u'&') != String::npos) {
        word = ReplaceAllNoCase(u"&nbsp;", u" ", word);
        word = ReplaceAllNoCase(u"&lt;", u"<", word);
        word = ReplaceAllNoCase(u"&gt;", u">", word);
      }
      Word(word, n, Rest, result, trailing);
      if (Hidden) continue;
    }
    if (!Rest.empty() && Rest.front() == u'<' && Rest.size() <= 2) Rest = StringView();
    if (!LineDone && Rest.size() >= 3 && Rest.front() == u'<') {
      Tag(Rest);
      const size_t q = Rest.find(u'>');
      if (LineFull) break;
      if (q == StringView::npos) {
        Rest = StringView();
      } else {
        result.append(Rest.substr(0, q + 1));
        Rest.remove_prefix(q + 1);
      }
    }
  }
  W -= trailing;
  if (ExtentX < W) ExtentX = W + 2;
  if (!Measure && InAnchor && AnchorCount == FocusAnchor + 1) {
    FocusRect.Right = C;
    FocusRect.Bottom = F;
    InflateRect(&FocusRect, 1, 0);
    Canvas->DrawFocusRect(FocusRect);
    FocusRect.Left = LineRect.Left + 1;
    FocusRect.Top = FocusRect.Bottom;
  }
  return result;
}

void THTMLRenderRun::Word(const String& Word, size_t N, StringView& Rest, String& Result, Integer& TrailingSpace) {
  if (H == 0) H = H0;
  const Integer h = Canvas->TextHeight(Word);
  if (Sub) SubH = std::max(SubH, h / 4);
  if (Sup) SupH = std::max(SupH, h / 4);
  H = std::max(H, h);
  PlainText += Word;
  if (Hidden) {
    Rest.remove_prefix(N);
    return;
  }
  String w = Word;
  Integer ww = 0;
  if (Measure) {
    TRect cr = LineRect;
    Canvas->TextRect(cr, w, Flags | DT_CALCRECT);
    ww = cr.Right - cr.Left;
    W += ww;
    const Integer dx = HitX - LineRect.Left;
    if (InAnchor && W - ww <= dx && dx <= W) {
      TextHit = true;
      if (HitY > LineRect.Top) {
        HitAnchor = Href;
        AnchorTitle = Title;
        MouseInAnchor = true;
      }
    }
  } else {
    if (Sup) F -= SupH;
    if (Sub) F += SubH;
    F -= ImgAli;
    const UINT drawFlags = Flags & ~UINT(DT_EXTERNALLEADING);
    if (Shadow) {
      const TColor keep = Canvas->Font()->Color();
      TRect sr{C + ShadowOffset, D + ShadowOffset, E + ShadowOffset, F + ShadowOffset};
      Canvas->Font()->SetColor(ShadowColor);
      Canvas->TextRect(sr, w, drawFlags);
      Canvas->Font()->SetColor(keep);
    }
    TRect tr{C, D, E, F};
    if (Canvas->Font()->Style().Contains(fsItalic)) tr.Right += 2;
    TRect cr{C, D, E, F};
    Canvas->TextRect(cr, w, Flags | DT_CALCRECT);
    ww = cr.Right - cr.Left;
    if (WrapWords || C < LineRect.Right - Canvas->TextWidth(u"l")) Canvas->TextRect(tr, w, drawFlags);
    if (InAnchor && AnchorCount == FocusAnchor + 1) AnchorTitle = Href;
    if (Mark) {
      const TColor pen = Canvas->Pen()->Color();
      const Integer penWidth = Canvas->Pen()->Width();
      Canvas->Pen()->SetColor(TColor(0x0000FF));
      Canvas->Pen()->SetWidth(1);
      Integer x = C - (((C % 2) + 2) % 2);
      Integer r = (((x % 4) + 4) % 4) == 0 ? 2 : 0;
      Canvas->MoveTo(x, LineRect.Bottom + r - 1);
      while (x < C + ww) {
        r = 2 - r;
        Canvas->LineTo(x + 2, LineRect.Bottom + r - 1);
        x += 2;
      }
      Canvas->Pen()->SetColor(pen);
      Canvas->Pen()->SetWidth(penWidth);
    }
    if (Flags & DT_RTLREADING) {
      E -= ww;
    } else {
      C += ww;
      E = LineRect.Right;
    }
    D = LineRect.Top;
    F = LineRect.Bottom;
  }
  const Integer avail = LineRect.Right - LineRect.Left - ListOffset;
  if (avail > W || avail <= ww || !WrapWords) {
    Result.append(Rest.substr(0, N));
    Rest.remove_prefix(N);
    TrailingSpace = (!Word.empty() && Word.back() == u' ') ? Canvas->TextWidth(u" ") : 0;
  } else {
    LineDone = true;
    W -= ww;
  }
}

void THTMLRenderRun::Tag(StringView Rest) {
  const size_t gt = Rest.find(u'>');
  const StringView tag = Rest.substr(0, gt == StringView::npos ? Rest.size() : gt);
  TagClosed = gt != StringView::npos;
  if (Rest[1] == u'/' && Rest.size() > 3)
    ClosingTag(tag, HTMLRenderUpperAt(Rest, 2));
  else
    OpeningTag(tag, HTMLRenderUpperAt(Rest, 1));
}

// Tag: the tag text from its "<" up to (not including) its ">"; the rest of
// the text when it has none (TagClosed tells the two apart).
void THTMLRenderRun::OpeningTag(StringView Tag, Char Letter) {
  const Char second = HTMLRenderUpperAt(Tag, 2);
  const bool bare = Tag.size() == 2 && TagClosed;  // "<X>"
  switch (Letter) {
    case u'A':
      Anchor(Tag);
      break;
    case u'B':
      if (bare) {
        AddStyle(fsBold);
      } else if (second == u'R') {
        LineDone = true;
        if (H == 0) H = H0;
        PlainText += u'\r';
      } else if (second == u'L') {
        if (!BlinkVisible) Canvas->Font()->SetColor(SavedBrush);
      } else if (second == u'O') {
        Body(Tag);
      }
      break;
    case u'E':
      if (!Measure) Mark = true;
      break;
    case u'F':
      FontTag(Tag);
      break;
    case u'H':
      if (second == u'I') {
        if (!Measure) {
          HiFontColorSave = Canvas->Font()->Color();
          HiStyleSave = Canvas->Font()->Style();
          HiBrushSave = BrushColor();
          SetBrushColor(HighlightColor);
          Canvas->Font()->SetColor(HighlightTextColor);
          Canvas->Font()->SetStyle(HighlightStyle);
        }
      } else if (second == u'R') {
        LineDone = true;
        if (!Measure) {
          const String up = HTMLUpper(Tag.substr(std::min<size_t>(3, Tag.size())));
          const String v = HTMLRenderValue(up, up, u"COLOR");
          const TColor c = v.empty() ? clBlack : HTMLColorValue(v);
          const TColor pen = Canvas->Pen()->Color();
          const Integer penWidth = Canvas->Pen()->Width();
          Canvas->Pen()->SetColor(c);
          Canvas->Pen()->SetWidth(1);
          Canvas->MoveTo(Bounds.Left, F + 1);
          Canvas->LineTo(Bounds.Right, F + 1);
          Canvas->Pen()->SetColor(pen);
          Canvas->Pen()->SetWidth(penWidth);
        }
      }
      break;
    case u'I':
      if (bare) {
        AddStyle(fsItalic);
      } else if (second == u'M') {
        Image(Tag);
      } else if (second == u'N') {
        const String orig(Tag.substr(2));
        const String up = HTMLUpper(orig);
        const size_t x = up.find(u'X');
        if (x != String::npos) {
          Integer err = 0;
          const Integer n =
              ValLong(HTMLRenderValue(StringView(up).substr(x), StringView(orig).substr(x), u"X"), err);
          if (err == 0) {
            const Integer px = Integer(Round(std::clamp(n, 0, HTMLRenderMaxOffset) * Scale));
            if (W < px) {
              W = px;
              C = Bounds.Left + px;
            }
          }
        }
      }
      break;
    case u'J':
      if (Options.Emoji && !Hidden && Tag.size() >= 5) {
        const Char hi = Tag[3], lo = Tag[4];
        if (hi >= 0xD800 && hi <= 0xDBFF && lo >= 0xDC00 && lo <= 0xDFFF) {
          const Integer adv = HTMLDrawEmoji(Canvas, C, D, Measure, String{hi, lo}, Canvas->Font()->Size());
          C += adv;
          // The emoji takes room on the line like a word does.
          W += adv;
        }
      }
      break;
    case u'L':
      ListItem(Tag);
      break;
    case u'O':
      if (second == u'L') {
        ListLevel = std::min(ListLevel + 1, HTMLRenderMaxListLevel);
        if (W > 0) LineDone = true;
        Ordered = true;
        ItemNumber = 1;
      } else if (second == u'F') {
        const String orig(Tag.substr(2));
        const String up = HTMLUpper(orig);
        const size_t x = up.find(u'X');
        Integer n = 0;
        if (x != String::npos) n = ValInt(HTMLRenderValue(StringView(up).substr(x), StringView(orig).substr(x), u"X"));
        n = std::clamp(n, 0, HTMLRenderMaxOffset);
        NewListOffset = n;
        C = Bounds.Left + n;
        W = n;
      }
      break;
    case u'P':
      Paragraph(Tag);
      break;
    case u'R': {
      const String orig(Tag.substr(2));
      const String up = HTMLUpper(orig);
      const size_t a = up.find(u'A');
      Integer angle = 0;
      if (a != String::npos)
        angle = ValInt(HTMLRenderValue(StringView(up).substr(a), StringView(orig).substr(a), u"A"));
      SelectAngleFont(Canvas, angle, Rotated);
      break;
    }
    case u'S':
      if (bare) {
        AddStyle(fsStrikeOut);
      } else if (second == u'T') {
        if (Tag.size() >= 5 && HTMLRenderUpperAt(Tag, 4) == u'O')
          AddStyle(fsBold);
        else
          AddStyle(fsStrikeOut);
      } else if (second == u'U') {
        const String up = HTMLUpper(Tag.substr(0, 4));
        if (up == u"<SUB") Sub = true;
        if (up == u"<SUP") Sup = true;
      } else if (second == u'H') {
        Shadow = true;
      } else if (second == u'P') {
        Span(Tag);
      }
      break;
    case u'U':
      if (bare) {
        AddStyle(fsUnderline);
      } else {
        ListLevel = std::min(ListLevel + 1, HTMLRenderMaxListLevel);
        if (W > 0) LineDone = true;
        Ordered = false;
      }
      break;
    case u'Z':
      Hidden = true;
      break;
    default:
      break;
  }
}

void THTMLRenderRun::ClosingTag(StringView Tag, Char Letter) {
  const bool fourthIsClose = Tag.size() == 3 && TagClosed;  // "</X>"
  const Char third = HTMLRenderUpperAt(Tag, 3);
  switch (Letter) {
    case u'A':
      AnchorEnd();
      break;
    case u'B':
      if (fourthIsClose)
        RemoveStyle(fsBold);
      else
        Canvas->Font()->SetColor(BaseFont->Color());
      break;
    case u'E':
      if (!Measure) Mark = false;
      break;
    case u'F':
      FontEnd();
      break;
    case u'H':
      if (!Measure) {
        Canvas->Font()->SetColor(HiFontColorSave);
        Canvas->Font()->SetStyle(HiStyleSave);
        SetBrushColor(HiBrushSave);
      }
      break;
    case u'I':
      RemoveStyle(fsItalic);
      break;
    case u'L':
      LineDone = true;
      break;
    case u'O':
      if (fourthIsClose || ListLevel < 1) {
        NewListOffset = 0;
      } else {
        --ListLevel;
        if (!Measure) Ordered = false;
      }
      break;
    case u'P':
      ParagraphEnd();
      break;
    case u'R':
      RestoreAngleFont(Canvas, Rotated);
      break;
    case u'S':
      if (third == u'T') {
        if (Tag.size() >= 6 && HTMLRenderUpperAt(Tag, 5) == u'O')
          RemoveStyle(fsBold);
        else
          RemoveStyle(fsStrikeOut);
      } else if (third == u'U') {
        Sub = Sup = false;
      } else if (third == u'H') {
        Shadow = false;
      } else if (third == u'P') {
        SetBrushColor(SpanColorSave);
      } else {
        RemoveStyle(fsStrikeOut);
      }
      break;
    case u'U':
      if (fourthIsClose || ListLevel < 1)
        RemoveStyle(fsUnderline);
      else
        --ListLevel;
      break;
    case u'Z':
      Hidden = false;
      break;
    default:
      break;
  }
}

void THTMLRenderRun::Anchor(StringView Tag) {
  InATag = true;
  BaseFont->SetColor(Canvas->Font()->Color());
  if (AnchorCount == FocusAnchor && !Measure) {
    FocusRect.Left = C;
    FocusRect.Top = D;
  }
  ++AnchorCount;
  if ((!HoverUnderlineOnly || HoverAnchor == AnchorCount) && !Measure) {
    AddStyle(fsUnderline);
    if (HoverColor != clNone) {
      HoverBrushSave = BrushColor();
      SetBrushColor(HoverColor);
    }
    if (HoverFontColor != clNone) {
      HoverFontSave = Canvas->Font()->Color();
      Canvas->Font()->SetColor(HoverFontColor);
    }
  }
  if (!KeepColors && (HoverFontColor == clNone || HoverAnchor != AnchorCount || !HoverUnderlineOnly))
    Canvas->Font()->SetColor(URLColor);
  const StringView orig = Tag.substr(std::min<size_t>(2, Tag.size()));
  const String up = HTMLUpper(orig);
  if (HTMLRenderHas(up, u"HREF")) {
    Href = HTMLRenderValue(up, orig, u"HREF");
    InAnchor = true;
  }
  if (HTMLRenderHas(up, u"TITLE"))
    Title = HTMLRenderValue(up, orig, u"TITLE");
  else
    Title.clear();
  AnchorStart = TPoint{LineRect.Left + W, LineRect.Top};
}

void THTMLRenderRun::AnchorEnd() {
  InATag = false;
  if ((!HoverUnderlineOnly || HoverAnchor == AnchorCount) && !Measure) {
    RemoveStyle(fsUnderline);
    if (HoverColor != clNone) SetBrushColor(HoverBrushSave);
    if (HoverFontColor != clNone) Canvas->Font()->SetColor(HoverFontSave);
  }
  if (!KeepColors) Canvas->Font()->SetColor(BaseFont->Color());
  InAnchor = false;
  if (MouseInAnchor) {
    if (AnchorStart.Y != LineRect.Top) AnchorStart = TPoint{LineRect.Left, LineRect.Top};
    HitAnchorRect = TRect{AnchorStart.X, AnchorStart.Y, LineRect.Left + W, LineRect.Bottom};
    HitAnchorIndex = AnchorCount;
    MouseInAnchor = false;
  }
  if (AnchorCount == FocusAnchor + 1) {
    FocusRect.Right = C;
    FocusRect.Bottom = F - ImgAli;
    FocusRect.Top = FocusRect.Bottom - Th();
    InflateRect(&FocusRect, 1, 0);
    if (!Measure) Canvas->DrawFocusRect(FocusRect);
  }
}

void THTMLRenderRun::FontTag(StringView Tag) {
  if (!TagClosed) return;
  SpanColorSave = BrushColor();
  const String up = HTMLUpper(Tag.substr(std::min<size_t>(5, Tag.size())));
  if (HTMLRenderHas(up, u"FACE")) {
    const String face = HTMLRenderValue(up, up, u"FACE");
    if (!face.empty()) Canvas->Font()->SetName(face);
  }
  if (HTMLRenderHas(up, u" COLOR") && !KeepColors) {
    if (!Measure && !InATag) BaseFont->SetColor(Canvas->Font()->Color());
    const String v = HTMLRenderValue(up, up, u" COLOR");
    if (!v.empty()) Canvas->Font()->SetColor(HTMLColorValue(v));
  }
  if (HTMLRenderHas(up, u"BGCOLOR") && !Measure && !KeepColors) {
    const String v = HTMLRenderValue(up, up, u"BGCOLOR");
    if (!v.empty()) SetBrushColor(HTMLColorValue(v));
  }
  const size_t st = up.find(u"STYLE");
  if (st != String::npos) {
    const size_t eq = up.find(u'=', st);
    if (eq != String::npos) {
      const size_t q = up.find(u'"', eq);
      String v = q == String::npos ? String() : up.substr(q + 1);
      if (v.find(u"FONT-SIZE:") != String::npos) {
        v.erase(0, std::min<size_t>(10, v.size()));
        const size_t pt = v.find(u"PT");
        if (pt != String::npos) SetPoints(ValInt(Trim(StringView(v).substr(0, pt))));
      }
    }
    return;
  }
  const size_t sz = up.find(u"SIZE");
  if (sz != String::npos) {
    const size_t eq = up.find(u'=', sz);
    if (eq == String::npos) return;
    StringView v = StringView(up).substr(eq + 1);
    const size_t q = v.find(u'"');
    if (q != StringView::npos) v = v.substr(q + 1);
    const Integer n = ValInt(v);
    static constexpr Integer steps[] = {1, 2, 4, 6, 8};
    if (n >= 1 && n <= 5) {
      SetPoints(BaseFont->Size() + steps[n - 1]);
    } else {
      const Double pts = std::clamp(n, -HTMLRenderMaxPoints, HTMLRenderMaxPoints);
      Double px;
      if (!ScaleFontSizes)
        px = pts * 96 / 72;
      else if (ScaleArg == -1.0f)
        px = pts * PpiX() / 72;
      else
        px = pts * Scale * 96 / 72;
      Canvas->Font()->SetHeight(-Integer(Round(px)));
    }
  }
}

void THTMLRenderRun::FontEnd() {
  Canvas->Font()->SetName(BaseFont->Name());
  Canvas->Font()->SetHeight(BaseFont->Height());
  if (!Measure && !KeepColors) {
    Canvas->Font()->SetColor(BaseFont->Color());
    SetBrushColor(SpanColorSave);
  }
}

void THTMLRenderRun::Span(StringView Tag) {
  if (!TagClosed) return;
  const String up = HTMLUpper(Tag.substr(std::min<size_t>(5, Tag.size())));
  const size_t st = up.find(u"STYLE");
  if (st == String::npos) return;
  const size_t eq = up.find(u'=', st);
  if (eq == String::npos) return;
  const size_t q = up.find(u'"', eq);
  if (q == String::npos) return;
  String v = up.substr(q + 1);
  if (v.find(u"BACKGROUND-COLOR:") == String::npos) return;
  v.erase(0, std::min<size_t>(17, v.size()));
  if (!v.empty() && v[0] == u'#') {
    SpanColorSave = BrushColor();
    SetBrushColor(HTMLHexColor(v));
  }
}

void THTMLRenderRun::Paragraph(StringView Tag) {
  if (!TagClosed) return;
  const String up = HTMLUpper(Tag.substr(std::min<size_t>(2, Tag.size())));
  if (HTMLRenderHas(up, u"ALIGN")) {
    const String v = HTMLRenderValue(up, up, u"ALIGN");
    if (HTMLRenderHas(v, u"RIGHT")) Alignment = 1;
    if (HTMLRenderHas(v, u"LEFT")) Alignment = 0;
    if (HTMLRenderHas(v, u"CENTER")) Alignment = 2;
  }
  if (HTMLRenderHas(up, u"INDENT"))
    Indent = std::clamp(ValInt(HTMLRenderValue(up, up, u"INDENT")), 0, HTMLRenderMaxOffset);
  if (HTMLRenderHas(up, u"LINE-HEIGHT")) {
    Double f = ValFloat(HTMLRenderValue(up, up, u"LINE-HEIGHT"));
    if (f == 0 || !std::isfinite(f)) f = 1.0;
    LineHeightFactor = std::clamp(f, 0.1, 10.0);
  }
  if (HTMLRenderHas(up, u"FLOAT")) {
    const String v = HTMLRenderValue(up, up, u"FLOAT");
    if (v == u"LEFT") ParaFloat = 1;
    if (v == u"RIGHT") ParaFloat = 2;
    ParaOrigin = TPoint{LineRect.Left, LineRect.Top};
  }
  if (HTMLRenderHas(up, u"BGCOLOR") && !KeepColors) {
    const String v = HTMLRenderValue(up, up, u"BGCOLOR");
    const TColor j = v.empty() ? clNone : HTMLColorValue(v);
    if (!HTMLRenderHas(up, u"BGCOLORTO")) {
      if (!Measure) {
        ParaBackground = true;
        ParaColorSave = BrushColor();
        SetBrushColor(j);
        if (j != clNone) {
          const TColor pen = Canvas->Pen()->Color();
          Canvas->Pen()->SetColor(j);
          Canvas->Rectangle(Bounds.Left, LineRect.Top, Bounds.Right, LineRect.Bottom);
          Canvas->Pen()->SetColor(pen);
        }
      }
    } else if (!Measure) {
      const String v2 = HTMLRenderValue(up, up, u"BGCOLORTO");
      const TColor j2 = v2.empty() ? clNone : HTMLColorValue(v2);
      ParaBackground = true;
      if (j != clNone && j2 != clNone) {
        Canvas->Pen()->SetColor(j);
        HTMLDrawGradient(Canvas, j, j2, true, TRect{Bounds.Left, LineRect.Top, Bounds.Right, LineRect.Bottom + 2},
                         64, clNone);
      }
      Canvas->Brush()->SetStyle(bsClear);
    }
  }
}

void THTMLRenderRun::ParagraphEnd() {
  LineDone = true;
  if (Options.ParagraphEndResetsAlignment) ParaEnded = true;
  if (!Measure) {
    LineHeightFactor = 1.0;
    ParaBackground = false;
    if (Options.ParagraphEndResetsAlignment) Alignment = 0;
    if (!KeepColors) SetBrushColor(ParaColorSave);
  }
}

void THTMLRenderRun::ListItem(StringView Tag) {
  TColor bulletColor = clNone;
  String type, name;
  if (TagClosed) {
    const StringView orig = Tag.substr(std::min<size_t>(2, Tag.size()));
    const String up = HTMLUpper(orig);
    type = HTMLRenderValue(up, up, u"TYPE");
    name = HTMLRenderValue(up, orig, u"NAME");
    const String c = HTMLRenderValue(up, up, u"COLOR");
    if (!c.empty()) bulletColor = HTMLColorValue(c);
  }
  W += ListUnit * ListLevel;
  if (ItemSeen) {
    LineFull = true;
    return;
  }
  ItemSeen = true;
  C += ListUnit * (ListLevel - 1);
  if (!Measure && !Hidden) {
    if (!type.empty()) {
      if (type == u"SQUARE" || type == u"CIRCLE") {
        const TColor pen = Canvas->Pen()->Color();
        const TColor brush = BrushColor();
        Canvas->Pen()->SetColor(bulletColor);
        SetBrushColor(bulletColor);
        if (type == u"SQUARE")
          Canvas->Rectangle(C, D + 2, C + 8, D + 10);
        else
          Canvas->Ellipse(C, D + 2, C + 8, D + 10);
        Canvas->Pen()->SetColor(pen);
        SetBrushColor(brush);
      } else if (type == u"IMAGE" && !name.empty() && Container) {
        THTMLPicture* pic = Container->FindPicture(name);
        if (pic && !pic->Empty()) {
          Canvas->Draw(C, D + 2, pic);
          if (pic->Width() > 12) C += std::min(pic->Width(), HTMLRenderMaxImage) - 12;
        }
      }
      Canvas->Brush()->SetStyle(bsClear);
    } else {
      const String fontName = Canvas->Font()->Name();
      const TColor fontColor = Canvas->Font()->Color();
      if (bulletColor != clNone) Canvas->Font()->SetColor(bulletColor);
      Canvas->Font()->SetName(u"Symbol");
      if (Ordered) {
        String t = IntToStr(ItemNumber) + u". ";
        TRect r{C, D, E, F};
        Canvas->TextRect(r, t, 0);
        ++ItemNumber;
        C += Canvas->TextWidth(t) - 12;
      } else {
        String t = (ListLevel % 2 == 1) ? String(u"\u00B7") : String(u"o");
        TRect r{C, D, E, F};
        Canvas->TextRect(r, t, 0);
      }
      Canvas->Font()->SetName(fontName);
      Canvas->Font()->SetColor(fontColor);
    }
  }
  C += ListUnit;
}

THTMLRenderSource THTMLRenderRun::Resolve(const String& Src) {
  THTMLRenderSource r;
  const String up = HTMLUpper(Src);
  if (HTMLRenderHas(up, u"IDX:")) {
    r.Kind = THTMLRenderSource::Index;
    r.ImageIndex = ValInt(StringView(Src).substr(std::min<size_t>(4, Src.size())));
  } else if (HTMLRenderHas(up, u"SSYS:") || HTMLRenderHas(up, u"LSYS:")) {
    r.IconName = Src.substr(std::min<size_t>(5, Src.size()));
    Integer err = 0;
    ValLong(r.IconName, err);
    // A file name in text from outside is not looked at on this machine.
    if (Options.ExternalText && (err != 0 || r.IconName.empty())) return THTMLRenderSource();
    r.Kind = HTMLRenderHas(up, u"SSYS:") ? THTMLRenderSource::SmallIcon : THTMLRenderSource::LargeIcon;
  } else if (Src.find(u':') == String::npos) {
    if (Container) {
      r.Graphic = Container->FindPicture(Src);
      if (r.Graphic) r.Kind = THTMLRenderSource::Picture;
    }
  } else if (Src.find(u"://") != String::npos) {
    if (!PictureCache) return r;
    if (Options.ExternalText && up.rfind(u"FILE://", 0) == 0) return r;
    THTMLPicture* pic = PictureCache->FindPicture(Src);
    if (!pic) {
      pic = PictureCache->AddPicture();
      pic->SetAsynch(false);
      pic->LoadFromURL(Src);
    }
    r.Graphic = pic;
    r.Kind = THTMLRenderSource::Picture;
  }
  return r;
}

void THTMLRenderRun::Body(StringView Tag) {
  if (Measure || KeepColors) return;
  const StringView orig = Tag.substr(std::min<size_t>(5, Tag.size()));
  const String up = HTMLUpper(orig);
  const auto pictureOf = [](const THTMLRenderSource& s) -> TGraphic* {
    if (s.Kind != THTMLRenderSource::Picture || !s.Graphic || s.Graphic->Empty()) return nullptr;
    if (s.Graphic->Width() <= 0 || s.Graphic->Height() <= 0) return nullptr;
    return s.Graphic;
  };
  TRect area = Bounds;
  const TRect clip = Canvas->ClipRect();
  IntersectRect(&area, &Bounds, &clip);
  const auto drawIndexOrIcon = [&](const THTMLRenderSource& s, Integer x) {
    if (s.Kind == THTMLRenderSource::Index && Images && s.ImageIndex >= 0 && s.ImageIndex < Images->Count()) {
      Images->Draw(Canvas, x, D, s.ImageIndex);
    } else if (s.Kind == THTMLRenderSource::SmallIcon || s.Kind == THTMLRenderSource::LargeIcon) {
      TPoint size;
      HTMLDrawSysIcon(Canvas, x, D, size, PrintScale, PrintMode, true, s.Kind == THTMLRenderSource::LargeIcon,
                      s.IconName);
    }
  };
  for (const char16_t* key : {u"BACKGROUND", u"BGTOPLEFT"}) {
    if (!HTMLRenderHas(up, key)) continue;
    const THTMLRenderSource s = Resolve(HTMLRenderValue(up, orig, key));
    if (TGraphic* g = pictureOf(s)) {
      const Integer gw = g->Width(), gh = g->Height();
      Integer tiles = 0;
      const int save = SaveDC(Canvas->Handle());
      IntersectClipRect(Canvas->Handle(), Bounds.Left, Bounds.Top, Bounds.Right, Bounds.Bottom);
      // Only the tiles that reach the visible part are drawn.
      const Integer y0 = Bounds.Top + std::max(0, (area.Top - Bounds.Top) / gh) * gh;
      const Integer x0 = Bounds.Left + std::max(0, (area.Left - Bounds.Left) / gw) * gw;
      for (Integer y = y0; y < area.Bottom && tiles < HTMLRenderMaxTiles; y += gh) {
        for (Integer x = x0; x < area.Right && tiles < HTMLRenderMaxTiles; x += gw) {
          Canvas->Draw(x, y, g);
          ++tiles;
        }
      }
      RestoreDC(Canvas->Handle(), save);
    } else {
      drawIndexOrIcon(s, C);
    }
  }
  if (HTMLRenderHas(up, u"BGTOPRIGHT")) {
    const THTMLRenderSource s = Resolve(HTMLRenderValue(up, orig, u"BGTOPRIGHT"));
    if (TGraphic* g = pictureOf(s)) {
      const Integer gh = g->Height();
      const Integer y0 = Bounds.Top + std::max(0, (area.Top - Bounds.Top) / gh) * gh;
      Integer tiles = 0;
      for (Integer y = y0; y < area.Bottom && tiles < HTMLRenderMaxTiles; y += gh, ++tiles)
        Canvas->Draw(Bounds.Right - g->Width(), y, g);
    } else {
      const Integer iw = Images ? Images->Width() : (s.Kind == THTMLRenderSource::LargeIcon ? 32 : 16);
      drawIndexOrIcon(s, E - iw);
    }
  }
  if (HTMLRenderHas(up, u"BGCOLOR")) {
    const String v = HTMLRenderValue(up, up, u"BGCOLOR");
    const TColor j = v.empty() ? clNone : HTMLColorValue(v);
    if (!HTMLRenderHas(up, u"BGCOLORTO")) {
      SpanColorSave = BrushColor();
      SetBrushColor(j);
      if (j != clNone) {
        const TColor pen = Canvas->Pen()->Color();
        Canvas->Pen()->SetColor(j);
        Canvas->Rectangle(Bounds.Left - 2, Bounds.Top, Bounds.Right, Bounds.Bottom);
        Canvas->Pen()->SetColor(pen);
      }
    } else {
      const String v2 = HTMLRenderValue(up, up, u"BGCOLORTO");
      const TColor j2 = v2.empty() ? clNone : HTMLColorValue(v2);
      String dir = u"H";
      if (HTMLRenderHas(up, u"DIR")) dir = HTMLRenderValue(up, up, u"DIR");
      if (j != clNone && j2 != clNone) {
        Canvas->Pen()->SetColor(j);
        HTMLDrawGradient(Canvas, j, j2, dir == u"H", Bounds, 64, clNone);
      }
      Canvas->Brush()->SetStyle(bsClear);
    }
  }
}

void THTMLRenderRun::Image(StringView Tag) {
  Integer vOff = 0;
  enum { AlignBottom, AlignMiddle, AlignTop } align = AlignBottom;
  Byte floating = 0;
  const Integer th = Th();
  Integer x = C;
  const Integer y = D;
  const StringView orig = Tag.substr(std::min<size_t>(2, Tag.size()));
  const String up = HTMLUpper(orig);
  const String src = HTMLRenderValue(up, orig, u"SRC");
  const Integer width = std::clamp(ValInt(HTMLRenderValue(up, up, u"WIDTH")), 0, HTMLRenderMaxImage);
  const Integer height = std::clamp(ValInt(HTMLRenderValue(up, up, u"HEIGHT")), 0, HTMLRenderMaxImage);
  const String al = HTMLRenderValue(up, up, u"ALIGN");
  if (al == u"MIDDLE") align = AlignMiddle;
  if (al == u"TOP") align = AlignTop;
  const String fl = HTMLRenderValue(up, up, u"FLOAT");
  if (fl == u"LEFT") {
    floating = 1;
    x = Bounds.Left;
  } else if (fl == u"RIGHT") {
    floating = 2;
  }
  const auto offsetFor = [&](Integer o) {
    if (o >= th) return 0;
    if (align == AlignBottom) return th - o;
    if (align == AlignMiddle) return (th - o) / 2;
    return 0;
  };
  Integer N = 0, O = 0, dw = 0, dh = 0;
  const THTMLRenderSource s = Resolve(src);
  if (s.Kind == THTMLRenderSource::Index) {
    if (Images && s.ImageIndex >= 0 && s.ImageIndex < Images->Count()) {
      N = Images->Width();
      O = Images->Height();
      vOff = offsetFor(O);
      if (!Measure) {
        if (!PrintMode) {
          Images->Draw(Canvas, x, y + vOff, s.ImageIndex);
        } else {
          TBitmap bmp;
          Images->GetBitmap(s.ImageIndex, &bmp);
          const Double ps = std::clamp(PrintScale, 0.0, 64.0);
          StretchBitmapDIB(Canvas,
                           TRect{x, y, x + Integer(Round(N * ps)), y + Integer(Round(O * ps))}, &bmp);
        }
      }
    }
  } else if (s.Kind == THTMLRenderSource::SmallIcon || s.Kind == THTMLRenderSource::LargeIcon) {
    TPoint size;
    HTMLDrawSysIcon(Canvas, x, y, size, PrintScale, PrintMode, !Measure, s.Kind == THTMLRenderSource::LargeIcon,
                    s.IconName);
    N = size.X;
    O = size.Y;
  } else if (s.Kind == THTMLRenderSource::Picture && s.Graphic && !s.Graphic->Empty()) {
    TGraphic* g = s.Graphic;
    auto* hp = dynamic_cast<THTMLPicture*>(g);
    const Integer pw = std::min(g->Width(), HTMLRenderMaxImage), ph = std::min(g->Height(), HTMLRenderMaxImage);
    if (width > 0 && height > 0) {
      dw = width;
      dh = height;
    } else if (width > 0) {
      dw = width;
      dh = pw > 0 ? std::min(Integer(Round(Double(ph) * width / pw)), HTMLRenderMaxImage) : 0;
    } else if (height > 0) {
      dh = height;
      dw = ph > 0 ? std::min(Integer(Round(Double(pw) * height / ph)), HTMLRenderMaxImage) : 0;
    } else {
      dw = pw;
      dh = ph;
    }
    if (floating == 2) x = LineRect.Right - dw;
    const bool sized = width > 0 || height > 0;
    if (!Measure) {
      if (sized) {
        if (hp) hp->SetStretch(true);
        Canvas->StretchDraw(TRect{x, y, x + dw, y + dh}, g);
      } else if (hp && hp->FrameCount() > 1) {
        const TColor pen = Canvas->Pen()->Color();
        const TColor brush = BrushColor();
        Canvas->Pen()->SetColor(SavedBrush);
        Canvas->Brush()->SetColor(SavedBrush);
        Canvas->Rectangle(x, y, x + hp->MaxWidth(), y + hp->MaxHeight());
        Canvas->Pen()->SetColor(pen);
        SetBrushColor(brush);
        vOff = offsetFor(ph);
        Canvas->Draw(x + hp->FrameXPos(), y + hp->FrameYPos() + vOff, g);
      } else {
        vOff = offsetFor(ph);
        Canvas->Draw(x, y + vOff, g);
      }
    }
    if (sized) {
      if (ScaleArg > 0) {
        N = Integer(Round(dw * Double(ScaleArg)));
        O = Integer(Round(dh * Double(ScaleArg)));
      } else {
        N = MulDiv(dw, PpiX(), 96);
        O = MulDiv(dh, PpiY(), 96);
      }
    } else {
      N = pw;
      O = ph;
    }
  }
  const Integer dx = HitX - LineRect.Left;
  if (W < dx && dx < W + N && D < HitY && HitY < D + O && InAnchor) {
    ImageHit = true;
    HitAnchor = Href;
    if (!Title.empty()) AnchorTitle = Title;
  }
  const Integer lineWidth = LineRect.Right - LineRect.Left;
  if (lineWidth < W + N && N < lineWidth) {
    LineFull = true;
    return;
  }
  W += N + 2;
  C += N + 2;
  H = std::max(H, O);
  const Integer th2 = Th();
  if (HTMLRenderHas(up, u"ALIGN")) {
    if (HTMLRenderHas(up, u"\"TOP"))
      ImgAli = th2 < H ? H - th2 : 0;
    else if (HTMLRenderHas(up, u"\"MIDDLE"))
      ImgAli = th2 < H ? (H - th2) / 2 : 0;
  }
  if (HTMLRenderHas(up, u"WRAP")) {
    H = th2;
    ImgAli = 0;
  }
  if (floating == 1) {
    ImgAli = H - th2;
    FloatArea.Left = dw + 2;
    FloatArea.Bottom = y + dh;
    if (!Measure) H = th2;
  } else if (floating == 2) {
    ImgAli = th2 < H ? H - th2 : 0;
    FloatArea.Right = dw + 2;
    FloatArea.Bottom = y + dh;
    if (!Measure) H = th2;
    W = Bounds.Right;
  }
}

}  // namespace

bool HTMLRender(TCanvas* Canvas, const String& Text, const TRect& Bounds, const THTMLRenderArgs& Args,
                THTMLRenderResult& Result) {
  Result.Hit = false;
  if (!Canvas) return false;
  THTMLRenderRun run(Canvas, Bounds, Args, Result);
  Result.Hit = run.Run(Text, Args.BiDiMode);
  return Result.Hit;
}

}  // namespace html
