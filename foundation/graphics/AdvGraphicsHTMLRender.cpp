// HTMLRender: layout, drawing and hit testing of tagged text on the canvas.
// Each line is read twice by HTMLRenderLine: a measuring pass that decides
// what fits, then a pass over exactly that text at the aligned position
// that draws it (or measures again there for hit tests).
#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "foundation/graphics/AdvGraphicsHTML.h"
#include "foundation/pictures/PictureContainer.h"
#include "foundation/svg/AdvBitmap.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/ImgList.h"
#include "platform/win/Files.h"

namespace graphics_html {

namespace {

// A background picture tiles the text rectangle at most this many times, as
// on the window renderer: a tiny picture in a huge rectangle stays cheap.
constexpr Integer HTMLRenderMaxTiles = 4096;

// Layout state of one line, handed between HTMLRender and HTMLRenderLine.
struct THTMLLine {
  TRectF Rect;
  Single Width = 0;
  Single Height = 0;
  Single SubExtra = 0;
  Single SupExtra = 0;
  Single BaseOffset = 0;
  bool AnchorHit = false;
  bool ControlHit = false;
};

// The carried drawing state of one pass.
struct THTMLCarry {
  std::unique_ptr<TAdvGraphicsFont> Font;
  TColor TextColor = 0;
  TColor SavedColor = 0;
  TColor RunColor = 0;
};

Char RenderUpper(Char c) { return (c >= u'a' && c <= u'z') ? Char(c - 32) : c; }

void RenderReplaceAll(String& s, StringView from, StringView to) {
  std::size_t pos = 0;
  while ((pos = s.find(from, pos)) != String::npos) {
    s.replace(pos, from.size(), to);
    pos += to.size();
  }
}

// The first double-quoted value of a tag; empty when none.
String RenderFirstQuoted(const String& ATag) {
  const std::size_t q1 = ATag.find(u'"');
  if (q1 == String::npos) return {};
  const std::size_t q2 = ATag.find(u'"', q1 + 1);
  if (q2 == String::npos) return {};
  return ATag.substr(q1 + 1, q2 - q1 - 1);
}

// Every new face name makes the font system look the family up and keep the
// answer for the life of the process: text from outside could grow that
// without end. The first faces (far more than any real text names) are
// taken; later new names keep the current font.
bool RenderFaceAllowed(const String& AFace) {
  static std::unordered_set<String> faces;
  if (faces.count(AFace)) return true;
  if (faces.size() >= 64) return false;
  faces.insert(AFace);
  return true;
}

class THTMLRenderer {
 public:
  THTMLRenderer(TAdvGraphics* G, const THTMLRenderArgs& A, THTMLRenderResult& R, const TRectF& ARect)
      : G(G), A(A), R(R), FTextRect(ARect) {}

  bool Run(const String& AText);

 private:
  void RenderLine(Integer AFrom, Integer ATo, THTMLLine& L, bool AMeasure, bool AFirstPass, Integer& AEnd);
  bool ReadTag(const String& ATag, THTMLLine& L, bool AMeasure, bool AFirstPass, Integer ARemaining);
  void ReadImage(const String& ATag, THTMLLine& L, bool AMeasure);
  void ReadControl(const String& ATag, THTMLLine& L, bool AMeasure);
  void ReadBody(const String& ATag);
  TColor ColorValue(const String& AValue, TColor ACurrent) const;
  void SetStyle(TFontStyle AStyle, bool AOn);
  void MeasureRun(const String& ARun, Single& AW, Single& AH);
  void FillBox(const TRectF& ARect, TColor AColor);
  void DrawRun(const String& ARun, const TRectF& ARect, TColor AColor);
  void FlushRuns();
  void TileBackground(TGraphic* APicture);
  void LoadPicture(const String& ASource, std::unique_ptr<TAdvBitmap>& AOwned, TGraphic*& APicture);
  void StartPass(THTMLCarry& C);
  // Position of the next "<" from APos (the text's length when none); the
  // last answer is kept so that long texts are scanned once per pass.
  Integer NextTag(Integer APos) {
    if (APos < FNextTagFrom || APos > FNextTag) {
      const std::size_t p = FText.find(u'<', std::size_t(APos));
      FNextTag = p == String::npos ? Integer(FText.size()) : Integer(p);
      FNextTagFrom = APos;
    }
    return FNextTag;
  }
  Integer FNextTagFrom = 1, FNextTag = 0;
  void EndPass(THTMLCarry& C);

  TAdvGraphics* G;
  const THTMLRenderArgs& A;
  THTMLRenderResult& R;
  TRectF FTextRect;
  String FText;
  Single FGh = 0;
  std::unique_ptr<TAdvGraphicsFont> FEntryFont;
  TColor FEntryFill = 0;

  // Drawing state.
  TColor FTextColor = 0, FSavedColor = 0, FRunColor = 0, FBgColor = -1;
  TColor FSavedFontBg = -1, FSavedParaBg = -1;
  TColor FHiTextColor = 0, FHiBgColor = -1;
  TFontStyles FHiStyles;
  bool FInAnchor = false;
  String FAnchorTarget;
  Integer FAnchorCounter = 0, FListLevel = 0, FPictureCounter = 0, FHoveredPicture = -1;
  bool FSub = false, FSup = false, FShadow = false, FErrorMark = false, FHidden = false, FParaBg = false;
  Integer FAlign = 0;
  Single FIndent = 0, FListOffset = 0, FCarriedListOffset = 0;
  Integer FFloatPara = 0;
  Single FFloatLeft = 0, FFloatTop = 0, FResLeft = 0, FResRight = 0, FResBottom = 0;
  // Anchor start on the line being read, and whether the point is over it.
  Single FAnchorStartX = 0, FAnchorStartTop = 0;
  Integer FAnchorStartLine = -1, FLineIndex = 0;
  bool FAnchorPointHit = false;
  // Per line of the reading loop.
  Single FX = 0, FTrailingBlank = 0;
  bool FLineBreak = false, FLineFull = false, FLISeen = false;
  // The measuring key's font part, rebuilt when the font changes.
  String FKey, FKeyName;
  std::size_t FKeyLength = 0;
  Integer FKeyHeight = 0;
  TFontStyles FKeyStyle;
  // Text of the drawing pass waiting to be drawn in one call.
  String FPending;
  TRectF FPendingRect;
  TColor FPendingColor = 0;
  bool FPendingShadow = false, FPendingAnchor = false;
};

TColor THTMLRenderer::ColorValue(const String& AValue, TColor ACurrent) const {
  if (AValue.empty()) return ACurrent;
  if (AValue[0] == u'#') {
    // A malformed colour keeps the current one.
    TColor c = ACurrent;
    return TAdvGraphics::TryHTMLToColor(AValue, c) ? c : ACurrent;
  }
  return TAdvGraphics::TextToColor(AValue);
}

void THTMLRenderer::SetStyle(TFontStyle AStyle, bool AOn) {
  TFontStyles s = G->Font()->Style();
  if (AOn)
    s.Include(AStyle);
  else
    s.Exclude(AStyle);
  if (s != G->Font()->Style()) G->Font()->SetStyle(s);
}

void THTMLRenderer::MeasureRun(const String& ARun, Single& AW, Single& AH) {
  // Every pass and every call measures the same runs in the same fonts:
  // the canvas keeps each run's size (per font) while its context stays.
  TAdvGraphicsFont* f = G->Font();
  const TFontStyles style = f->Style();
  if (FKeyName != f->Name() || FKeyHeight != f->Height() || FKeyStyle != style || FKeyLength == 0) {
    FKeyName = f->Name();
    FKeyHeight = f->Height();
    FKeyStyle = style;
    FKey = FKeyName;
    FKey += Char(1);
    FKey += Char(FKeyHeight & 0xFFFF);
    FKey += Char(Integer(style.Contains(fsBold)) | Integer(style.Contains(fsItalic)) << 1 |
                 Integer(style.Contains(fsUnderline)) << 2 | Integer(style.Contains(fsStrikeOut)) << 3);
    FKeyLength = FKey.size();
  }
  FKey.erase(std::min(FKeyLength, FKey.size()));
  FKey += ARun;
  auto& cache = G->HTMLMeasureCache();
  if (auto it = cache.find(FKey); it != cache.end()) {
    AW = it->second.first;
    AH = it->second.second;
    return;
  }
  const TRectF r = G->CalculateText(ARun, RectF(0, 0, 10000, 10000), false, false);
  AW = r.Width();
  AH = r.Height();
  // Long runs are rare and would make the kept keys large.
  if (ARun.size() > 256) return;
  if (cache.size() >= 4096) cache.clear();
  cache.emplace(FKey, std::make_pair(AW, AH));
}

void THTMLRenderer::FillBox(const TRectF& ARect, TColor AColor) {
  const TColor fill = G->Fill()->Color(), stroke = G->Stroke()->Color();
  const TAdvGraphicsFillKind fk = G->Fill()->Kind();
  const TAdvGraphicsStrokeKind sk = G->Stroke()->Kind();
  G->SetFillKind(gfkSolid);
  G->SetFillColor(AColor);
  G->SetStrokeKind(gskSolid);
  G->SetStrokeColor(AColor);
  G->DrawRectangle(ARect, gcrmNone);
  G->SetFillKind(fk);
  G->SetFillColor(fill);
  G->SetStrokeKind(sk);
  G->SetStrokeColor(stroke);
}

void THTMLRenderer::FlushRuns() {
  if (FPending.empty()) return;
  // A blank that ends an anchor run is drawn (and underlined) as a no-break space.
  if (FPendingAnchor && FPending.back() == u' ') FPending.back() = u'\u00A0';
  if (FPendingShadow) {
    const Single o = Single(A.ShadowOffset);
    const TRectF& r = FPendingRect;
    DrawRun(FPending, RectF(r.Left + o, r.Top + o, r.Right + o, r.Bottom + o), A.ShadowColor);
  }
  DrawRun(FPending, FPendingRect, FPendingColor);
  FPending.clear();
}

void THTMLRenderer::DrawRun(const String& ARun, const TRectF& ARect, TColor AColor) {
  if (G->Font()->Color() != AColor) G->Font()->SetColor(AColor);
  G->DrawText(ARect, ARun, false, gtaLeading, gtaCenter, gttNone, 0, -1, -1, false, false);
}

void THTMLRenderer::TileBackground(TGraphic* APicture) {
  if (!APicture || APicture->Empty() || APicture->Width() <= 0 || APicture->Height() <= 0) return;
  const Single w = Single(APicture->Width()), h = Single(APicture->Height());
  std::unique_ptr<TAdvGraphicsSaveState> state = G->SaveState(true);
  // The last row and column are cut to the rectangle.
  G->ClipRect(FTextRect);
  Integer tiles = 0;
  for (Single y = 0; y < FTextRect.Height() && tiles < HTMLRenderMaxTiles; y += h)
    for (Single x = 0; x < FTextRect.Width() && tiles < HTMLRenderMaxTiles; x += w, ++tiles) {
      const Single l = Single(Round(FTextRect.Left + x)), t = Single(Round(FTextRect.Top + y));
      G->DrawBitmap(RectF(l, t, l + w, t + h), APicture, true, false, true, false);
    }
  G->RestoreState(std::move(state), true);
}

void THTMLRenderer::LoadPicture(const String& ASource, std::unique_ptr<TAdvBitmap>& AOwned, TGraphic*& APicture) {
  APicture = nullptr;
  const String upper = UpperCase(ASource);
  const std::size_t file = upper.find(u"FILE://");
  if (file != String::npos) {
    // Local files only for text the program itself supplies.
    if (!A.AllowLocalFiles) return;
    const String name = ASource.substr(file + 7);
    if (!FileExists(name)) return;
    AOwned = std::make_unique<TAdvBitmap>();
    try {
      AOwned->LoadFromFile(name);
    } catch (const Exception&) {
      return;
    }
    APicture = AOwned->Graphic();
    return;
  }
  const std::size_t data = upper.find(u"DATA:"), b64 = upper.find(u"BASE64,");
  if (data != String::npos && b64 != String::npos) {
    AOwned = std::make_unique<TAdvBitmap>();
    try {
      TAdvUtils::LoadBitmapFromBase64(ASource.substr(b64 + 7), AOwned.get());
    } catch (const Exception&) {
      return;
    }
    APicture = AOwned->Graphic();
    return;
  }
  if (ASource.find(u':') == String::npos && A.PictureContainer) APicture = A.PictureContainer->FindPicture(ASource);
}

void THTMLRenderer::ReadBody(const String& ATag) {
  String bg = HTMLTagAttr(ATag, u"BACKGROUND", false);
  if (!bg.empty()) {
    if (UpperCase(bg).starts_with(u"IDX:")) bg.erase(0, 4);
    std::unique_ptr<TAdvBitmap> owned;
    TGraphic* picture = nullptr;
    LoadPicture(bg, owned, picture);
    TileBackground(picture);
  }
  for (const auto& [name, right] : {std::pair<String, bool>{u"BGTOPLEFT", false}, {u"BGTOPRIGHT", true}}) {
    const String v = HTMLTagAttr(ATag, name, false);
    if (v.empty() || !A.PictureContainer) continue;
    TGraphic* p = A.PictureContainer->FindPicture(v);
    if (!p || p->Empty() || p->Width() <= 0 || p->Height() <= 0) continue;
    const Single w = Single(p->Width()), h = Single(p->Height());
    const Single l = right ? FTextRect.Right - w : FTextRect.Left;
    G->DrawBitmap(RectF(Single(Round(l)), Single(Round(FTextRect.Top)), Single(Round(l)) + w,
                        Single(Round(FTextRect.Top)) + h),
                  p, true, false, true, false);
  }
  const String bgColor = HTMLTagAttr(ATag, u"BGCOLOR", true);
  if (bgColor.empty()) return;
  const TColor c = ColorValue(bgColor, G->Fill()->Color());
  if (!HTMLTagAttr(ATag, u"BGCOLORTO", true).empty()) {
    G->SetStrokeColor(c);
    return;
  }
  FSavedFontBg = G->Fill()->Color();
  const TColor stroke = G->Stroke()->Color();
  G->SetFillKind(gfkSolid);
  G->SetFillColor(c);
  G->SetStrokeKind(gskSolid);
  G->SetStrokeColor(c);
  G->DrawRectangle(RectF(FTextRect.Left - 2, FTextRect.Top, FTextRect.Right, FTextRect.Bottom), gcrmNone);
  G->SetStrokeColor(stroke);
}

void THTMLRenderer::ReadImage(const String& ATag, THTMLLine& L, bool AMeasure) {
  const Single textH = Single(Round(FGh));
  ++FPictureCounter;
  String src = HTMLTagAttr(ATag, u"SRC", false);
  if (FPictureCounter == FHoveredPicture) {
    const String alt = HTMLTagAttr(ATag, u"ALT", false);
    if (!alt.empty()) src = alt;
  }
  const Integer reqW = ValInt(HTMLTagAttr(ATag, u"WIDTH", true));
  const Integer reqH = ValInt(HTMLTagAttr(ATag, u"HEIGHT", true));
  const String align = HTMLTagAttr(ATag, u"ALIGN", true);
  const String floatV = HTMLTagAttr(ATag, u"FLOAT", true);
  const bool wrap = ATag.size() > 4 && UpperCase(ATag).find(u" WRAP") != String::npos;
  Single picL = FX, picT = L.Rect.Top, w = 0, h = 0;
  bool any = false;
  if (UpperCase(src).starts_with(u"IDX:")) {
    const Integer n = ValInt(src.substr(4));
    if (A.ImageList && n >= 0 && n < A.ImageList->Count()) {
      w = Single(A.ImageList->Width());
      h = Single(A.ImageList->Height());
      any = true;
      Single top = picT;
      if (h < textH) top += align.starts_with(u"MIDDLE") ? Single(std::floor((textH - h) / 2)) : textH - h;
      if (!AMeasure && !A.NoImageListPictures)
        A.ImageList->Draw(G->Canvas(), Integer(Round(picL)), Integer(Round(top)), n, true);
    }
  } else {
    std::unique_ptr<TAdvBitmap> owned;
    TGraphic* picture = nullptr;
    LoadPicture(src, owned, picture);
    if (picture && !picture->Empty() && picture->Width() > 0 && picture->Height() > 0) {
      const Single pw = Single(picture->Width()), ph = Single(picture->Height());
      if (reqW > 0 && reqH > 0) {
        w = Single(reqW);
        h = Single(reqH);
      } else if (reqW > 0) {
        w = Single(reqW);
        h = Single(Round(ph * reqW / pw));
      } else if (reqH > 0) {
        h = Single(reqH);
        w = Single(Round(pw * reqH / ph));
      } else {
        w = pw;
        h = ph;
      }
      any = true;
      if (floatV == u"RIGHT") picL = L.Rect.Right - w;
      if (floatV == u"LEFT") picL = FTextRect.Left;
      if (!AMeasure) {
        const Single l = Single(Round(picL)), t = Single(Round(picT));
        G->DrawBitmap(RectF(l, t, l + w, t + h), picture, true, false, true, false);
      }
    }
  }
  if (!any) return;
  const Single boxL = L.Rect.Left + L.Width;
  if (A.X > boxL && A.X < boxL + w && A.Y > L.Rect.Top && A.Y < L.Rect.Top + h && FInAnchor) {
    L.ControlHit = true;
    R.Anchor = FAnchorTarget;
    FHoveredPicture = FPictureCounter;
  }
  if (L.Rect.Width() >= L.Width + w || L.Rect.Width() <= w) {
    L.Width += w + 2;
    FX += w + 2;
    L.Height = std::max(L.Height, h);
  } else {
    FLineFull = true;
  }
  if (!align.empty()) {
    if (align.starts_with(u"TOP"))
      L.BaseOffset = L.Height - textH;
    else if (align.starts_with(u"MIDDLE"))
      L.BaseOffset = (L.Height - textH) / 2;
  }
  if (wrap) {
    L.Height = textH;
    L.BaseOffset = 0;
  }
  if (floatV == u"LEFT" || floatV == u"RIGHT") {
    L.BaseOffset = L.Height - textH;
    (floatV == u"LEFT" ? FResLeft : FResRight) = w;
    FResBottom = L.Rect.Top + h;
    if (!AMeasure) L.Height = textH;
    if (floatV == u"RIGHT") L.Width = FTextRect.Right;
  }
}

void THTMLRenderer::ReadControl(const String& ATag, THTMLLine& L, bool AMeasure) {
  const std::array<String, 7> at = HTMLControlAttrs(ATag);
  const String& type = at[0];
  const String& id = at[1];
  const String& value = at[6];
  double height = 25;
  if (!at[4].empty() && !TryStrToFloat(at[4], height)) height = 25;
  const bool box = type == u"CHECK" || type == u"RADIO";
  if (at[5].empty() && !box) return;
  Single cw = 0, ch = Single(Round(FGh)) + 10;
  if (!at[5].empty()) cw = Single(ValInt(at[5]));
  L.Height = box ? 16 : 23;
  if (height > 25) L.Height = Single(height - 2);
  const Integer s = Integer(Round(A.ControlScale * 16)) + 2;
  const bool focusedControl = A.ControlFocus && id == A.FocusedControlID;
  const Single runTop = L.Rect.Top, runBottom = L.Rect.Bottom;
  const TPointF point = PointF(Single(A.X), Single(A.Y));
  if (box) {
    if (at[5].empty()) cw = Single(s);
    ch = Single(s);
    if (!AMeasure) {
      const Single top = Single(Round(runTop + (runBottom - runTop - (s - 2)) / 2));
      const TRectF r = RectF(Single(Round(FX + 1)), top, Single(Round(FX + s - 1)), top + s - 2);
      const bool checked = UpperCase(value) == u"TRUE";
      if (type == u"CHECK")
        G->DrawCheckBox(r, checked, focusedControl, true, 1);
      else
        G->DrawRadioButton(r, checked, focusedControl, true, 1);
    }
  } else if (type == u"BUTTON") {
    const Single top = Single(Round(runTop + (runBottom - runTop - 22) / 2));
    const TRectF r = RectF(Single(Round(FX + 2)), top, Single(Round(FX + cw - 2)), top + 22);
    if (!AMeasure) {
      G->DrawButton(r, focusedControl, TAdvGraphics::PointInRect(point, r), true, true, 1);
      G->DrawText(RectF(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2), value, false, gtaCenter, gtaCenter);
    }
    ch = 22;
  } else if (type == u"COMBO") {
    ch = 25;
  }
  const TRectF cbox = RectF(L.Rect.Left + L.Width, L.Rect.Top, L.Rect.Left + L.Width + cw, L.Rect.Top + ch);
  if (TAdvGraphics::PointInRect(point, cbox) || (A.TestAnchor && !A.TestControlID.empty() && A.TestControlID == id)) {
    L.ControlHit = true;
    R.Anchor = u"ctrl";
    R.ControlRect = cbox;
    R.ControlValue = value;
    R.ControlID = id;
    R.ControlType = type;
  }
  if (L.Rect.Width() >= L.Width + cw || L.Rect.Width() <= cw) {
    L.Width += cw;
    FX += cw;
    L.Height = std::max(L.Height, ch);
  } else {
    FLineFull = true;
  }
}

bool THTMLRenderer::ReadTag(const String& ATag, THTMLLine& L, bool AMeasure, bool AFirstPass, Integer ARemaining) {
  // Answers false when the tag must stay in the text for the next line.
  const Char c1 = ATag.size() > 1 ? RenderUpper(ATag[1]) : 0;
  const Char c2 = ATag.size() > 2 ? RenderUpper(ATag[2]) : 0;
  const Char c3 = ATag.size() > 3 ? RenderUpper(ATag[3]) : 0;
  const bool drawing = !AMeasure;
  const bool styled = !A.AnchorFocusMode || A.StyledAnchor == FAnchorCounter;
  if (c1 == u'/' && ARemaining > 3) {
    switch (c2) {
      case u'A':
        if (drawing && styled) SetStyle(fsUnderline, false);
        if (!A.ColorsFrozen) FTextColor = FSavedColor;
        if (FAnchorPointHit) {
          const bool sameLine = FAnchorStartLine == FLineIndex;
          R.AnchorRect = RectF(L.Rect.Left + (sameLine ? FAnchorStartX : 0), sameLine ? FAnchorStartTop : L.Rect.Top,
                               L.Rect.Left + L.Width, L.Rect.Bottom);
          R.AnchorIndex = FAnchorCounter;
          FAnchorPointHit = false;
        }
        FInAnchor = false;
        break;
      case u'B':
        if (c3 == u'>')
          SetStyle(fsBold, false);
        else
          FTextColor = FSavedColor;
        break;
      case u'E':
        if (drawing) FErrorMark = false;
        break;
      case u'F':
        G->Font()->SetName(FEntryFont->Name());
        G->Font()->SetHeight(FEntryFont->Height());
        if (!A.ColorsFrozen) {
          FTextColor = FSavedColor;
          if (drawing && FSavedFontBg != -1) G->SetFillColor(FSavedFontBg);
        }
        break;
      case u'H':
        // The style returns in every pass so that measuring matches drawing.
        G->Font()->SetStyle(FHiStyles);
        if (drawing) {
          FTextColor = FHiTextColor;
          FBgColor = FHiBgColor;
        }
        break;
      case u'I': SetStyle(fsItalic, false); break;
      case u'L': FLineBreak = true; break;
      case u'O': FListOffset = 0; break;
      case u'P':
        FLineBreak = true;
        if (drawing) {
          if (FSavedParaBg != -1) G->SetFillColor(FSavedParaBg);
          FParaBg = false;
        }
        break;
      case u'S':
        if (c3 == u'U') {
          FSub = false;
          FSup = false;
        } else if (c3 == u'H') {
          FShadow = false;
        } else {
          SetStyle(fsStrikeOut, false);
        }
        break;
      case u'U':
        if (UpperCase(ATag) == u"</U>" || FListLevel < 1)
          SetStyle(fsUnderline, false);
        else
          --FListLevel;
        break;
      case u'Z': FHidden = false; break;
      default: break;
    }
    return true;
  }
  switch (c1) {
    case u'A': {
      ++FAnchorCounter;
      FInAnchor = true;
      FAnchorTarget = RenderFirstQuoted(ATag);
      FAnchorStartX = L.Width;
      FAnchorStartTop = L.Rect.Top;
      FAnchorStartLine = FLineIndex;
      const bool styledNow = !A.AnchorFocusMode || A.StyledAnchor == FAnchorCounter;
      if (drawing && styledNow) {
        if (A.AnchorUnderline) SetStyle(fsUnderline, true);
        if (A.FocusAnchorBackground != -1) FBgColor = A.FocusAnchorBackground;
      }
      if (!A.ColorsFrozen) {
        FSavedColor = FTextColor;
        FTextColor = (A.AnchorFocusMode && A.StyledAnchor == FAnchorCounter && A.FocusAnchorTextColor != -1)
                         ? A.FocusAnchorTextColor
                         : A.AnchorColor;
      }
      break;
    }
    case u'B':
      if (c2 == u'>') {
        SetStyle(fsBold, true);
      } else if (c2 == u'L') {
        if (!A.BlinkVisible) FTextColor = FEntryFill;
      } else if (c2 == u'O') {
        if (drawing && !A.ColorsFrozen) ReadBody(ATag);
      } else if (c2 == u'R') {
        FLineBreak = true;
        if (AFirstPass) R.PlainText += u'\r';
      }
      break;
    case u'C': ReadControl(ATag, L, AMeasure); break;
    case u'E':
      if (drawing) FErrorMark = true;
      break;
    case u'F': {
      const String face = HTMLTagAttr(ATag, u"FACE", true);
      if (!face.empty() && RenderFaceAllowed(face)) G->Font()->SetName(face);
      if (!A.ColorsFrozen) {
        const String color = HTMLTagAttr(ATag, u"COLOR", true);
        if (!color.empty() || UpperCase(ATag).find(u" COLOR") != String::npos) {
          FSavedColor = FEntryFill == -1 ? 0 : FRunColor;
          FTextColor = ColorValue(color, FTextColor);
        }
        if (drawing) {
          const String bg = HTMLTagAttr(ATag, u"BGCOLOR", true);
          if (!bg.empty()) FBgColor = ColorValue(bg, FBgColor);
        }
      }
      const String style = HTMLTagAttr(ATag, u"STYLE", true);
      if (!style.empty()) {
        const std::size_t pt = style.find(u"PT");
        if (style.starts_with(u"FONT-SIZE:") && pt != String::npos && pt >= 10) {
          double size = 0;
          if (!TryStrToFloat(Trim(style.substr(10, pt - 10)), size)) size = 0;
          TAdvUtils::SetFontSize(G->Font(), Single(std::clamp(size, 0.0, 1000.0)), 1);
        }
      } else if (UpperCase(ATag).find(u"SIZE") != String::npos) {
        Integer n = ValInt(HTMLTagAttr(ATag, u"SIZE", true));
        static constexpr Integer kSizes[] = {8, 10, 12, 14, 16};
        if (n >= 1 && n <= 5) n = kSizes[n - 1];
        TAdvUtils::SetFontSize(G->Font(), Single(std::clamp(n, 0, 1000)), 1);
      }
      break;
    }
    case u'H':
      if (c2 == u'I') {
        FHiStyles = G->Font()->Style();
        if (drawing) {
          FHiTextColor = FTextColor;
          FHiBgColor = FBgColor;
          FTextColor = A.HighlightTextColor;
          FBgColor = A.HighlightColor;
        }
        G->Font()->SetStyle(A.HighlightFontStyles);
      } else if (c2 == u'R') {
        FLineBreak = true;
        if (drawing) {
          const TColor stroke = G->Stroke()->Color();
          const TAdvGraphicsStrokeKind kind = G->Stroke()->Kind();
          G->SetStrokeKind(gskSolid);
          G->SetStrokeColor(ColorValue(HTMLTagAttr(ATag, u"COLOR", false), 0));
          G->DrawLine(PointF(L.Rect.Left, L.Rect.Bottom + 1), PointF(L.Rect.Right, L.Rect.Bottom + 1));
          G->SetStrokeColor(stroke);
          G->SetStrokeKind(kind);
        }
      }
      break;
    case u'I':
      if (c2 == u'>') {
        SetStyle(fsItalic, true);
      } else if (c2 == u'M') {
        ReadImage(ATag, L, AMeasure);
      } else if (c2 == u'N') {
        const Integer x = ValInt(RenderFirstQuoted(ATag));
        if (L.Width < x) {
          L.Width = Single(x);
          FX = FTextRect.Left + x;
        }
      }
      break;
    case u'L': {
      if (FLISeen) {
        FLineFull = true;
        break;
      }
      FLISeen = true;
      L.Width += 12 * FListLevel;
      FX += 12 * std::max(0, FListLevel - 1);
      if (drawing && !FHidden) {
        const String type = HTMLTagAttr(ATag, u"TYPE", true);
        const String color = HTMLTagAttr(ATag, u"COLOR", true);
        const TRectF sq = RectF(FX, L.Rect.Top + 2, FX + 8, L.Rect.Top + 10);
        if (type == u"SQUARE") {
          FillBox(sq, ColorValue(color, FTextColor));
        } else if (type == u"CIRCLE") {
          const TColor fill = G->Fill()->Color(), stroke = G->Stroke()->Color();
          const TColor c = ColorValue(color, FTextColor);
          G->SetFillKind(gfkSolid);
          G->SetFillColor(c);
          G->SetStrokeColor(c);
          G->DrawEllipse(sq, gcrmNone);
          G->SetFillColor(fill);
          G->SetStrokeColor(stroke);
        } else if (type.empty()) {
          const TFontStyles style = G->Font()->Style();
          G->Font()->SetStyle({});
          DrawRun(FListLevel % 2 ? u"\u2022" : u"o", RectF(FX, L.Rect.Top, L.Rect.Right, L.Rect.Bottom),
                  ColorValue(color, FTextColor));
          G->Font()->SetStyle(style);
        }
      }
      FX += 12;
      break;
    }
    case u'O':
      if (c2 == u'F') {
        const Integer x = ValInt(RenderFirstQuoted(ATag));
        FListOffset = Single(x);
        L.Width = Single(x);
        FX = FTextRect.Left + x;
      }
      break;
    case u'P': {
      const String align = HTMLTagAttr(ATag, u"ALIGN", true);
      if (align.find(u"RIGHT") != String::npos) FAlign = 1;
      if (align.find(u"LEFT") != String::npos) FAlign = 0;
      if (align.find(u"CENTER") != String::npos) FAlign = 2;
      const String indent = HTMLTagAttr(ATag, u"INDENT", true);
      if (!indent.empty()) FIndent = Single(ValInt(indent));
      const String fl = HTMLTagAttr(ATag, u"FLOAT", true);
      if (fl == u"LEFT" || fl == u"RIGHT") {
        FFloatPara = fl == u"LEFT" ? 1 : 2;
        FFloatLeft = Single(Round(L.Rect.Left));
        FFloatTop = Single(Round(L.Rect.Top));
      }
      const String bg = HTMLTagAttr(ATag, u"BGCOLOR", true);
      if (drawing && !bg.empty()) {
        FParaBg = true;
        const TColor c = ColorValue(bg, G->Fill()->Color());
        if (HTMLTagAttr(ATag, u"BGCOLORTO", true).empty()) {
          FSavedParaBg = G->Fill()->Color();
          G->SetFillKind(gfkSolid);
          G->SetFillColor(c);
          G->SetStrokeKind(gskSolid);
          G->SetStrokeColor(c);
          G->DrawRectangle(RectF(FTextRect.Left, L.Rect.Top, FTextRect.Right, L.Rect.Bottom), gcrmNone);
        } else {
          G->SetStrokeColor(c);
        }
      }
      break;
    }
    case u'S': {
      const String up = UpperCase(ATag.substr(0, std::min<std::size_t>(5, ATag.size())));
      if (c2 == u'>')
        SetStyle(fsStrikeOut, true);
      else if (c2 == u'H')
        FShadow = true;
      else if (up == u"<SUB>")
        FSub = true;
      else if (up == u"<SUP>")
        FSup = true;
      break;
    }
    case u'U':
      if (c2 == u'>') {
        SetStyle(fsUnderline, true);
      } else {
        ++FListLevel;
        FLineBreak = true;
      }
      break;
    case u'Z': FHidden = true; break;
    default: break;
  }
  return !FLineFull;
}

void THTMLRenderer::RenderLine(Integer AFrom, Integer ATo, THTMLLine& L, bool AMeasure, bool AFirstPass,
                               Integer& AEnd) {
  const bool drawing = !AMeasure;
  L.Rect.Bottom -= L.SubExtra;
  L.Width = 0;
  FTrailingBlank = 0;
  FLineBreak = FLineFull = FLISeen = false;
  L.AnchorHit = L.ControlHit = false;
  if (drawing) L.Rect.Left += FCarriedListOffset;
  FX = L.Rect.Left;
  if (drawing && FParaBg)
    FillBox(RectF(FTextRect.Left, L.Rect.Top, FTextRect.Right, L.Rect.Top + L.Height), G->Fill()->Color());
  Integer pos = AFrom;
  const Single avail = L.Rect.Width() - FCarriedListOffset;
  while (pos < ATo && !FLineBreak && !FLineFull) {
    // The run: text up to the next tag; under word wrap up to and including a blank.
    Integer runEnd = std::min(NextTag(pos), ATo);
    if (A.WordWrap) {
      const auto first = FText.begin() + pos, last = FText.begin() + runEnd;
      const auto blank = std::find(first, last, u' ');
      if (blank != last) runEnd = Integer(blank - FText.begin()) + 1;
    }
    if (runEnd > pos) {
      String run = FText.substr(std::size_t(pos), std::size_t(runEnd - pos));
      if (run.find(u'&') != String::npos) {
        RenderReplaceAll(run, u"&nbsp;", u" ");
        RenderReplaceAll(run, u"&lt;", u"<");
        RenderReplaceAll(run, u"&gt;", u">");
      }
      Single w = 0, h = 0;
      MeasureRun(run, w, h);
      if (FSub) L.SubExtra = std::max(L.SubExtra, h / 4);
      if (FSup) L.SupExtra = std::max(L.SupExtra, h / 4);
      L.Height = std::max(L.Height, h);
      // Each line's text once, from the pass that decides the line.
      if (AFirstPass) R.PlainText += run;
      if (FHidden) {
        pos = runEnd;
      } else {
        const Single before = L.Width;
        if (AMeasure) {
          L.Width += w;
          const Single dx = Single(A.X) - L.Rect.Left;
          if (FInAnchor && dx >= before && dx <= L.Width) {
            L.AnchorHit = true;
            if (A.Y > L.Rect.Top) {
              R.Anchor = FAnchorTarget;
              FAnchorPointHit = true;
            }
          }
        } else {
          TRectF rr = RectF(FX, L.Rect.Top, L.Rect.Right, L.Rect.Bottom);
          if (FSup) rr.Bottom -= L.SupExtra;
          if (FSub) rr.Bottom += L.SubExtra;
          rr.Bottom -= L.BaseOffset;
          if (FBgColor != -1) {
            FillBox(RectF(FX, L.Rect.Top, FX + w, L.Rect.Top + FGh), FBgColor);
            FBgColor = -1;
          }
          // Runs that follow one another without a tag between them share
          // one state: they are drawn together when the next tag or the line end comes.
          if (FPending.empty()) {
            FPendingRect = rr;
            FPendingColor = FTextColor;
            FPendingShadow = FShadow && A.ShadowColor != -1;
            FPendingAnchor = FInAnchor;
          }
          FPending += run;
          if (FErrorMark) {
            const TColor stroke = G->Stroke()->Color();
            const Single oldWidth = G->Stroke()->Width();
            G->SetStrokeColor(0x0000FF);
            G->SetStrokeWidth(1);
            Integer x = Integer(Round(FX));
            bool low = x % 4 == 0;
            const Single yb = L.Rect.Bottom;
            for (; x + 2 <= Integer(FX + w); x += 2) {
              G->DrawLine(PointF(Single(x), yb + (low ? 1 : -1)), PointF(Single(x + 2), yb + (low ? -1 : 1)));
              low = !low;
            }
            G->SetStrokeColor(stroke);
            G->SetStrokeWidth(oldWidth);
          }
          FX += w;
          if (FInAnchor && A.FocusAnchor >= 0 && FAnchorCounter == A.FocusAnchor + 1) R.FocusTarget = FAnchorTarget;
        }
        FRunColor = FTextColor;
        const bool fits = !AMeasure || L.Width < avail + 1 || w >= avail;
        if (fits || !A.WordWrap) {
          pos = runEnd;
          if (run.back() == u' ') {
            Single bw = 0, bh = 0;
            MeasureRun(u" ", bw, bh);
            FTrailingBlank = bw;
          } else {
            FTrailingBlank = 0;
          }
        } else {
          FLineBreak = true;
          L.Width = before;
        }
      }
    }
    if (FLineBreak || pos >= ATo || FText[std::size_t(pos)] != u'<') continue;
    if (ATo - pos <= 2) {
      pos = ATo;
      break;
    }
    const std::size_t gt = FText.find(u'>', std::size_t(pos));
    const Integer tagEnd = (gt == String::npos || Integer(gt) >= ATo) ? ATo : Integer(gt) + 1;
    const String tag = FText.substr(std::size_t(pos), std::size_t(tagEnd - pos));
    FlushRuns();
    if (!ReadTag(tag, L, AMeasure, AFirstPass, Integer(FText.size()) - pos)) break;
    pos = tagEnd;
  }
  FlushRuns();
  if (AMeasure) {
    L.Width -= FTrailingBlank;
    if (R.Width < L.Width) R.Width = L.Width + 2;
  }
  AEnd = pos;
}

namespace {
bool RenderSameFont(TFont* A, TFont* B) {
  return A->Name() == B->Name() && A->Height() == B->Height() && A->Style() == B->Style() && A->Color() == B->Color();
}
}  // namespace

void THTMLRenderer::StartPass(THTMLCarry& C) {
  // Re-creating the canvas font is costly: only when it differs.
  if (!RenderSameFont(G->Font(), C.Font.get())) G->Font()->Assign(C.Font.get());
  FTextColor = C.TextColor;
  FSavedColor = C.SavedColor;
  FRunColor = C.RunColor;
}

void THTMLRenderer::EndPass(THTMLCarry& C) {
  if (!RenderSameFont(G->Font(), C.Font.get())) C.Font->Assign(G->Font());
  C.TextColor = FTextColor;
  C.SavedColor = FSavedColor;
  C.RunColor = FRunColor;
}

bool THTMLRenderer::Run(const String& AText) {
  FEntryFont = std::make_unique<TAdvGraphicsFont>();
  FEntryFont->Assign(G->Font());
  FEntryFill = G->Fill()->Color();
  const TAdvGraphicsFillKind entryFillKind = G->Fill()->Kind();
  const TColor entryStroke = G->Stroke()->Color();
  const TAdvGraphicsStrokeKind entryStrokeKind = G->Stroke()->Kind();
  THTMLCarry carry[2];
  for (THTMLCarry& c : carry) {
    c.Font = std::make_unique<TAdvGraphicsFont>();
    c.Font->Assign(G->Font());
    c.TextColor = c.SavedColor = c.RunColor = G->Font()->Color();
  }
  R.AnchorRect = {};
  R.ControlValue.clear();
  R.ControlType.clear();
  R.ControlID = A.TestAnchor ? A.TestControlID : String();
  R.AnchorCount = 0;
  R.Width = R.Height = 0;
  R.AnchorIndex = -1;
  R.Anchor.clear();
  R.PlainText.clear();
  R.FocusTarget.clear();
  R.LineCount = 0;

  FText = HTMLPrepareText(AText);
  // Trailing blanks and control characters never make a line.
  while (!FText.empty() && FText.back() <= u' ') FText.pop_back();
  FGh = G->CalculateText(u"gh", RectF(0, 0, 10000, 10000), false, false).Height();
  bool result = false;
  Single top = FTextRect.Top, left = FTextRect.Left, right = FTextRect.Right;
  Integer pos = 0;
  const Integer n = Integer(FText.size());
  while (pos < n) {
    while (pos < n && FText[std::size_t(pos)] <= u' ') ++pos;
    if (pos >= n) break;
    THTMLLine L;
    L.Height = FGh;
    L.Rect = RectF(left, top, right, FTextRect.Bottom);
    FSub = FSup = false;
    StartPass(carry[0]);
    const bool inAnchor = FInAnchor;
    const String target = FAnchorTarget;
    const Integer anchors = FAnchorCounter, level = FListLevel, pictures = FPictureCounter;
    const Integer floatBefore = FFloatPara;
    Integer end = pos;
    RenderLine(pos, n, L, true, true, end);
    EndPass(carry[0]);
    if (end <= pos) {
      // Nothing fitted at all: take the next tag or character so the text always advances.
      const std::size_t gt = FText.find(u'>', std::size_t(pos));
      end = FText[std::size_t(pos)] == u'<' && gt != String::npos ? Integer(gt) + 1 : pos + 1;
    }
    ++R.LineCount;
    L.Height += A.LineSpacing;
    const Single lineHeight = L.Height + L.SubExtra + L.SupExtra;
    TRectF d = L.Rect;
    if (FAlign == 1)
      d.Left = std::max(d.Left, d.Right - L.Width);
    else if (FAlign == 2 && d.Right - d.Left - L.Width > 0)
      d.Left += (d.Right - d.Left - L.Width) / 2;
    d.Left += FIndent;
    d.Right += FIndent;
    d.Bottom = d.Top + lineHeight;
    if (!A.MeasureOnly) {
      FInAnchor = inAnchor;
      FAnchorTarget = target;
      FAnchorCounter = anchors;
      FListLevel = level;
      FPictureCounter = pictures;
      FSub = FSup = false;
      THTMLLine L2 = L;
      L2.Rect = d;
      StartPass(carry[1]);
      Integer end2 = pos;
      RenderLine(pos, end, L2, A.TestAnchor, false, end2);
      EndPass(carry[1]);
      left = FTextRect.Left + FResLeft;
      right = FTextRect.Right - FResRight;
      if (d.Top > FResBottom) {
        FResLeft = FResRight = 0;
        left = FTextRect.Left;
        right = FTextRect.Right;
      }
      const Single b = d.Bottom - L2.BaseOffset;
      if ((L2.AnchorHit && A.Y > b - FGh && A.Y < b) || L2.ControlHit) result = true;
      FCarriedListOffset = FListOffset;
    }
    pos = end;
    ++FLineIndex;
    if (FFloatPara != 0 && FFloatPara != floatBefore) {
      top = FFloatTop;
      left = FFloatLeft;
      FFloatPara = 0;
    } else {
      top += lineHeight;
      R.Height += lineHeight;
    }
    if (!A.MeasureOnly && top + FGh > FTextRect.Bottom + 1) break;
  }
  R.AnchorCount = FAnchorCounter;
  if (R.Height == 0) R.Height = FGh;
  R.Hit = result;
  G->SetStrokeKind(entryStrokeKind);
  G->SetFillKind(entryFillKind);
  G->SetStrokeColor(entryStroke);
  G->SetFillColor(FEntryFill);
  if (!RenderSameFont(G->Font(), FEntryFont.get())) G->Font()->Assign(FEntryFont.get());
  return result;
}

}  // namespace

bool HTMLRender(TAdvGraphics* ACanvas, const String& AText, const TRectF& ARect, const THTMLRenderArgs& AArgs,
                THTMLRenderResult& AResult) {
  AResult = {};
  if (!ACanvas) return false;
  THTMLRenderer renderer(ACanvas, AArgs, AResult, ARect);
  return renderer.Run(AText);
}

}  // namespace graphics_html
