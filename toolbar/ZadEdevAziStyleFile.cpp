// Style files of the office toolbar styler: line 1 names the preset, then one
// Path=Value line per setting in a fixed order, 8-bit text with CR LF ends.
// A file is outside data: it is read whole (bounded), every line is checked
// and converted first, and only a file that passed is applied.
#include <optional>
#include <variant>

#include "platform/rtl/Encoding.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "toolbar/ZadEdevAziOfficeStyler.h"

namespace toolbar {

namespace {

using S = TZadEdevAziOfficeStyler;

// A style file is about 12 KB; anything far beyond that is not one.
constexpr Int64 kMaxStyleFileBytes = 1 << 20;
// The longest legitimate line is a font name line.
constexpr size_t kMaxStyleLineChars = 4096;
constexpr Integer kPropertyLines = 303;

// --- colour names (the class library's standard table) ---

struct TColorName {
  const char16_t* Name;
  TColor Value;
};

constexpr TColorName kColorNames[] = {
    {u"clBlack", 0x000000}, {u"clMaroon", 0x000080}, {u"clGreen", 0x008000}, {u"clOlive", 0x008080},
    {u"clNavy", 0x800000}, {u"clPurple", 0x800080}, {u"clTeal", 0x808000}, {u"clGray", 0x808080},
    {u"clSilver", 0xC0C0C0}, {u"clRed", 0x0000FF}, {u"clLime", 0x00FF00}, {u"clYellow", 0x00FFFF},
    {u"clBlue", 0xFF0000}, {u"clFuchsia", 0xFF00FF}, {u"clAqua", 0xFFFF00}, {u"clWhite", 0xFFFFFF},
    {u"clMoneyGreen", 0xC0DCC0}, {u"clSkyBlue", 0xF0CAA6}, {u"clCream", 0xF0FBFF}, {u"clMedGray", 0xA4A0A0},
    {u"clActiveBorder", clActiveBorder}, {u"clActiveCaption", clActiveCaption},
    {u"clAppWorkSpace", clAppWorkSpace}, {u"clBackground", clBackground}, {u"clBtnFace", clBtnFace},
    {u"clBtnHighlight", clBtnHighlight}, {u"clBtnShadow", clBtnShadow}, {u"clBtnText", clBtnText},
    {u"clCaptionText", clCaptionText}, {u"clDefault", clDefault},
    {u"clGradientActiveCaption", clGradientActiveCaption},
    {u"clGradientInactiveCaption", clGradientInactiveCaption}, {u"clGrayText", clGrayText},
    {u"clHighlight", clHighlight}, {u"clHighlightText", clHighlightText}, {u"clHotLight", clHotLight},
    {u"clInactiveBorder", clInactiveBorder}, {u"clInactiveCaption", clInactiveCaption},
    {u"clInactiveCaptionText", clInactiveCaptionText}, {u"clInfoBk", clInfoBk}, {u"clInfoText", clInfoText},
    {u"clMenu", clMenu}, {u"clMenuBar", clMenuBar}, {u"clMenuHighlight", clMenuHighlight},
    {u"clMenuText", clMenuText}, {u"clNone", clNone}, {u"clScrollBar", clScrollBar},
    {u"cl3DDkShadow", cl3DDkShadow}, {u"cl3DLight", cl3DLight}, {u"clWindow", clWindow},
    {u"clWindowFrame", clWindowFrame}, {u"clWindowText", clWindowText}};

String StyleColorToString(TColor Color) {
  for (const TColorName& n : kColorNames)
    if (n.Value == Color) return n.Name;
  return u"$" + IntToHex(static_cast<unsigned>(Color), 8);
}

std::optional<TColor> StyleStringToColor(StringView Text) {
  for (const TColorName& n : kColorNames)
    if (SameText(Text, n.Name)) return n.Value;
  Integer v = 0;
  if (!TryStrToInt(Text, v)) return std::nullopt;
  return v;
}

// --- style names of line 1 ---

struct TStyleName {
  TToolBarStyle Style;
  const char16_t* Text;
};

// Every style is written as its own name, so a reload applies the same preset.
constexpr TStyleName kStyleNames[] = {
    {bsOffice2003Blue, u"bsOffice2003Blue"}, {bsOffice2003Silver, u"bsOffice2003Silver"},
    {bsOffice2003Olive, u"bsOffice2003Olive"}, {bsOffice2003Classic, u"bsOffice2003Classic"},
    {bsOffice2007Luna, u"bsOffice2007Luna"}, {bsOffice2007Obsidian, u"bsOffice2007Obsidian"},
    {bsWindowsXP, u"bsWindowsXP"}, {bsWhidbeyStyle, u"bsWhidbey"}, {bsCustom, u"bsCustom"},
    {bsOffice2007Silver, u"bsOffice2007Silver"}, {bsOfficeXP, u"bsOfficeXP"},
    {bsWindowsVista, u"bsWindowsVista"}, {bsWindows7, u"bsWindows7"}, {bsTerminal, u"bsTerminal"},
    {bsOffice2010Blue, u"bsOffice2010Blue"}, {bsOffice2010Silver, u"bsOffice2010Silver"},
    {bsOffice2010Black, u"bsOffice2010Black"}, {bsWindows8, u"bsWindows8"},
    {bsOffice2013White, u"bsOffice2013White"}, {bsOffice2013LightGray, u"bsOffice2013LightGray"},
    {bsOffice2013Gray, u"bsOffice2013Gray"}, {bsWindows10, u"bsWindows10"},
    {bsOffice2016White, u"bsOffice2016White"}, {bsOffice2016Gray, u"bsOffice2016Gray"},
    {bsOffice2016Black, u"bsOffice2016Black"}, {bsOffice2019White, u"bsOffice2019White"},
    {bsOffice2019Gray, u"bsOffice2019Gray"}, {bsOffice2019Black, u"bsOffice2019Black"}};

// --- the property lines ---

enum class K { Colour, Int, Bool, Dir, Gdip, Grip, FontStyle, FontName };

struct TProp {
  String Path;
  K Kind;
  std::function<Integer(S&)> Get;
  std::function<void(S&, Integer)> Set;
  std::function<String(S&)> GetName = {};
  std::function<void(S&, const String&)> SetName = {};
};

using TProps = std::vector<TProp>;

template <class O>
using TObj = std::function<O*(S&)>;

// Colour, integer and enumeration members of an object reached from the styler.
template <class O, class V>
void Add(TProps& L, const String& Path, K Kind, TObj<O> Obj, V (O::*Get)() const, void (O::*Set)(V)) {
  L.push_back({Path, Kind, [=](S& s) { return Integer((Obj(s)->*Get)()); },
               [=](S& s, Integer v) { (Obj(s)->*Set)(static_cast<V>(v)); }});
}

template <class O>
void AddColours(TProps& L, const String& Prefix, TObj<O> Obj,
                std::initializer_list<std::pair<const char16_t*, std::pair<TColor (O::*)() const, void (O::*)(TColor)>>>
                    Members) {
  for (const auto& [name, m] : Members) Add<O, TColor>(L, Prefix + name, K::Colour, Obj, m.first, m.second);
}

void AddFont(TProps& L, const String& Prefix, TObj<TFont> Font, bool WithName = true) {
  Add<TFont, TColor>(L, Prefix + u"Color", K::Colour, Font, &TFont::Color, &TFont::SetColor);
  L.push_back({Prefix + u"Style", K::FontStyle,
               [=](S& s) {
                 Integer bits = 0;
                 for (int i = fsBold; i <= fsStrikeOut; ++i)
                   if (Font(s)->Style().Contains(TFontStyle(i))) bits |= 1 << i;
                 return bits;
               },
               [=](S& s, Integer bits) {
                 TFontStyles st;
                 for (int i = fsBold; i <= fsStrikeOut; ++i)
                   if (bits & (1 << i)) st.Include(TFontStyle(i));
                 Font(s)->SetStyle(st);
               }});
  Add<TFont, Integer>(L, Prefix + u"Size", K::Int, Font, &TFont::Size, &TFont::SetSize);
  if (WithName)
    L.push_back({Prefix + u"Name", K::FontName, {}, {}, [=](S& s) { return Font(s)->Name(); },
                 [=](S& s, const String& v) { Font(s)->SetName(v); }});
}

template <class O>
void AddGradient(TProps& L, const String& Prefix, TObj<O> Obj) {
  AddColours<O>(L, Prefix, Obj, {{u"Color", {&O::Color, &O::SetColor}}, {u"ColorTo", {&O::ColorTo, &O::SetColorTo}}});
  Add<O, TGradientDirection>(L, Prefix + u"Direction", K::Dir, Obj, &O::Direction, &O::SetDirection);
  Add<O, Integer>(L, Prefix + u"Steps", K::Int, Obj, &O::Steps, &O::SetSteps);
}

template <class O>
void AddMirror(TProps& L, const String& Prefix, TObj<O> Obj) {
  TObj<TMirrorGradient> m = [=](S& s) { return Obj(s)->Mirror(); };
  AddColours<TMirrorGradient>(L, Prefix, m,
                              {{u"Color", {&TMirrorGradient::Color, &TMirrorGradient::SetColor}},
                               {u"ColorTo", {&TMirrorGradient::ColorTo, &TMirrorGradient::SetColorTo}},
                               {u"ColorMirror", {&TMirrorGradient::ColorMirror, &TMirrorGradient::SetColorMirror}},
                               {u"ColorMirrorTo",
                                {&TMirrorGradient::ColorMirrorTo, &TMirrorGradient::SetColorMirrorTo}}});
}

template <class O>
void AddGdip(TProps& L, const String& Prefix, TObj<O> Obj,
             std::initializer_list<std::pair<const char16_t*, std::pair<TGDIPGradient (O::*)() const,
                                                                        void (O::*)(TGDIPGradient)>>>
                 Members) {
  for (const auto& [name, m] : Members) Add<O, TGDIPGradient>(L, Prefix + name, K::Gdip, Obj, m.first, m.second);
}

#define RYX_C(Class, Name) {u## #Name, {&Class::Name, &Class::Set##Name}}

void AddGlow(TProps& L, const String& P, TObj<TGlowButtonAppearance> G) {
  using A = TGlowButtonAppearance;
  AddColours<A>(L, P, G,
                {RYX_C(A, BorderColor), RYX_C(A, BorderColorHot), RYX_C(A, BorderColorDown),
                 RYX_C(A, BorderColorChecked), RYX_C(A, BorderColorDisabled), RYX_C(A, Color), RYX_C(A, ColorTo),
                 RYX_C(A, ColorChecked), RYX_C(A, ColorCheckedTo), RYX_C(A, ColorDisabled),
                 RYX_C(A, ColorDisabledTo), RYX_C(A, ColorDown), RYX_C(A, ColorDownTo), RYX_C(A, ColorHot),
                 RYX_C(A, ColorHotTo), RYX_C(A, ColorMirror), RYX_C(A, ColorMirrorTo), RYX_C(A, ColorMirrorHot),
                 RYX_C(A, ColorMirrorHotTo), RYX_C(A, ColorMirrorDown), RYX_C(A, ColorMirrorDownTo),
                 RYX_C(A, ColorMirrorChecked), RYX_C(A, ColorMirrorCheckedTo), RYX_C(A, ColorMirrorDisabled),
                 RYX_C(A, ColorMirrorDisabledTo)});
  AddGdip<A>(L, P, G,
             {RYX_C(A, Gradient), RYX_C(A, GradientMirror), RYX_C(A, GradientHot), RYX_C(A, GradientMirrorHot),
              RYX_C(A, GradientDown), RYX_C(A, GradientMirrorDown), RYX_C(A, GradientChecked),
              RYX_C(A, GradientMirrorChecked), RYX_C(A, GradientDisabled), RYX_C(A, GradientMirrorDisabled)});
}

void AddTab(TProps& L, const String& P, TObj<ribbon::TCustomTabAppearance> T) {
  using A = ribbon::TCustomTabAppearance;
  AddColours<A>(L, P, T,
                {RYX_C(A, BorderColor), RYX_C(A, BorderColorHot), RYX_C(A, BorderColorSelected),
                 RYX_C(A, BorderColorSelectedHot), RYX_C(A, BorderColorDown), RYX_C(A, BorderColorDisabled),
                 RYX_C(A, Color), RYX_C(A, ColorTo), RYX_C(A, ColorSelected), RYX_C(A, ColorSelectedTo),
                 RYX_C(A, ColorDisabled), RYX_C(A, ColorDisabledTo), RYX_C(A, ColorHot), RYX_C(A, ColorHotTo),
                 RYX_C(A, ColorMirror), RYX_C(A, ColorMirrorTo), RYX_C(A, ColorMirrorHot),
                 RYX_C(A, ColorMirrorHotTo), RYX_C(A, ColorMirrorSelected), RYX_C(A, ColorMirrorSelectedTo),
                 RYX_C(A, ColorMirrorDisabled), RYX_C(A, ColorMirrorDisabledTo)});
  AddFont(L, P + u"Font.", [=](S& s) { return T(s)->Font(); });
  AddGdip<A>(L, P, T,
             {RYX_C(A, Gradient), RYX_C(A, GradientMirror), RYX_C(A, GradientHot), RYX_C(A, GradientMirrorHot),
              RYX_C(A, GradientSelected), RYX_C(A, GradientMirrorSelected), RYX_C(A, GradientDisabled),
              RYX_C(A, GradientMirrorDisabled)});
  AddColours<A>(L, P, T,
                {RYX_C(A, TextColor), RYX_C(A, TextColorHot), RYX_C(A, TextColorSelected),
                 RYX_C(A, TextColorDisabled), RYX_C(A, ShadowColor), RYX_C(A, HighLightColor),
                 RYX_C(A, HighLightColorHot), RYX_C(A, HighLightColorSelected), RYX_C(A, HighLightColorSelectedHot),
                 RYX_C(A, HighLightColorDown)});
}

template <class B>
void AddBackground(TProps& L, const String& P, TObj<B> V, bool WithShadow) {
  using A = ribbon::TVistaBackground;
  TObj<A> base = [=](S& s) -> A* { return V(s); };
  AddColours<A>(L, P, base,
                {RYX_C(A, BorderColor), RYX_C(A, Color), RYX_C(A, ColorTo), RYX_C(A, ColorMirror),
                 RYX_C(A, ColorMirrorTo)});
  if constexpr (std::is_same_v<B, ribbon::TVistaPageBackground>)
    if (WithShadow)
      AddColours<B>(L, P, V, {RYX_C(ribbon::TVistaPageBackground, ShadowColor)});
  AddGdip<A>(L, P, base, {RYX_C(A, Gradient), RYX_C(A, GradientMirror)});
  Add<A, Integer>(L, P + u"Steps", K::Int, base, &A::Steps, &A::SetSteps);
}

void AddCaption(TProps& L, const String& P, TObj<ribbon::TCaptionAppearance> C) {
  using A = ribbon::TCaptionAppearance;
  AddColours<A>(L, P, C,
                {RYX_C(A, CaptionColor), RYX_C(A, CaptionColorTo), RYX_C(A, CaptionTextColor),
                 RYX_C(A, CaptionBorderColor), RYX_C(A, CaptionColorHot), RYX_C(A, CaptionColorHotTo),
                 RYX_C(A, CaptionTextColorHot), RYX_C(A, CaptionBorderColorHot)});
}

const TProps& StyleProperties() {
  static const TProps props = [] {
    // Lines 2 to 304, in the order of the file.
    TProps L;
    L.push_back({u"AutoThemeAdapt", K::Bool, [](S& s) { return Integer(s.AutoThemeAdapt()); },
                 [](S& s, Integer v) { s.SetAutoThemeAdapt(v != 0); }});
    using B = TButtonAppearance;
    TObj<B> btn = [](S& s) { return s.ButtonAppearance(); };
    AddColours<B>(L, u"ButtonAppearance.", btn,
                  {RYX_C(B, Color), RYX_C(B, ColorTo), RYX_C(B, ColorChecked), RYX_C(B, ColorCheckedTo),
                   RYX_C(B, ColorDown), RYX_C(B, ColorDownTo), RYX_C(B, ColorHot), RYX_C(B, ColorHotTo),
                   RYX_C(B, CaptionTextColor), RYX_C(B, CaptionTextColorHot), RYX_C(B, CaptionTextColorDown),
                   RYX_C(B, CaptionTextColorChecked)});
    for (auto [name, get, set] :
         {std::tuple{u"GradientDirection", &B::GradientDirection, &B::SetGradientDirection},
          std::tuple{u"GradientDirectionHot", &B::GradientDirectionHot, &B::SetGradientDirectionHot},
          std::tuple{u"GradientDirectionDown", &B::GradientDirectionDown, &B::SetGradientDirectionDown},
          std::tuple{u"GradientDirectionChecked", &B::GradientDirectionChecked, &B::SetGradientDirectionChecked}})
      Add<B, TGradientDirection>(L, String(u"ButtonAppearance.") + name, K::Dir, btn, get, set);
    AddColours<B>(L, u"ButtonAppearance.", btn,
                  {RYX_C(B, BorderColor), RYX_C(B, BorderDownColor), RYX_C(B, BorderHotColor),
                   RYX_C(B, BorderCheckedColor)});
    AddFont(L, u"ButtonAppearance.CaptionFont.", [](S& s) { return s.ButtonAppearance()->CaptionFont(); });
    TObj<TVistaGradientBackground> face = [](S& s) { return s.Color(); };
    AddGradient<TVistaGradientBackground>(L, u"Color.", face);
    AddMirror<TVistaGradientBackground>(L, u"Color.Mirror.", face);
    AddGradient<TGradientBackground>(L, u"DockColor.", [](S& s) { return s.DockColor(); });
    AddFont(L, u"Font.", [](S& s) { return s.Font(); });
    L.push_back({u"DragGripStyle", K::Grip, [](S& s) { return Integer(s.DragGripStyle()); },
                 [](S& s, Integer v) { s.SetDragGripStyle(TDragGripStyle(v)); }});
    using C = TCustomZadEdevAziStyler;
    TObj<C> base = [](S& s) -> C* { return &s; };
    AddColours<C>(L, u"", base,
                  {RYX_C(C, RightHandleColor), RYX_C(C, RightHandleColorHot), RYX_C(C, RightHandleColorTo),
                   RYX_C(C, RightHandleColorHotTo), RYX_C(C, RightHandleColorDown), RYX_C(C, RightHandleColorDownTo),
                   RYX_C(C, FloatingWindowBorderColor)});
    Add<C, Integer>(L, u"FloatingWindowBorderWidth", K::Int, base, &C::FloatingWindowBorderWidth,
                    &C::SetFloatingWindowBorderWidth);
    AddCaption(L, u"CaptionAppearance.", [](S& s) { return s.CaptionAppearance(); });
    AddColours<C>(L, u"", base, {RYX_C(C, BorderColor), RYX_C(C, BorderColorHot)});
    TObj<TVistaGradientBackground> hot = [](S& s) { return s.ColorHot(); };
    AddGradient<TVistaGradientBackground>(L, u"ColorHot.", hot);
    AddMirror<TVistaGradientBackground>(L, u"ColorHot.Mirror.", hot);
    AddFont(L, u"CaptionFont.", [](S& s) { return s.CaptionFont(); }, false);
    TObj<TContainerAppearance> cont = [](S& s) { return s.ContainerAppearance(); };
    AddColours<TContainerAppearance>(L, u"ContainerAppearance.", cont, {RYX_C(TContainerAppearance, LineColor)});
    Add<TContainerAppearance, bool>(L, u"ContainerAppearance.Line3D", K::Bool, cont, &TContainerAppearance::Line3D,
                                    &TContainerAppearance::SetLine3D);
    AddGlow(L, u"GlowButtonAppearance.", [](S& s) { return s.GlowButtonAppearance(); });
    using TB = ribbon::TVistaTextBackground;
    TObj<TB> pc = [](S& s) { return s.PagerCaption(); };
    AddBackground<TB>(L, u"PagerCaption.", pc, false);
    AddColours<TB>(L, u"PagerCaption.", pc, {RYX_C(TB, TextColor)});
    AddFont(L, u"PagerCaption.Font.", [](S& s) { return s.PagerCaption()->Font(); });
    AddGradient<TGradientBackground>(L, u"TabAppearance.BackGround.",
                                     [](S& s) { return s.TabAppearance()->BackGround(); });
    AddTab(L, u"TabAppearance.", [](S& s) -> ribbon::TCustomTabAppearance* { return s.TabAppearance(); });
    AddBackground<ribbon::TVistaPageBackground>(L, u"PageAppearance.", [](S& s) { return s.PageAppearance(); }, true);
    using G = ribbon::TGroupAppearance;
    TObj<G> grp = [](S& s) { return s.GroupAppearance(); };
    AddColours<G>(L, u"GroupAppearance.", grp,
                  {RYX_C(G, BorderColor), RYX_C(G, Color), RYX_C(G, ColorTo), RYX_C(G, ColorMirror),
                   RYX_C(G, ColorMirrorTo)});
    AddFont(L, u"GroupAppearance.Font.", [](S& s) { return s.GroupAppearance()->Font(); });
    AddGdip<G>(L, u"GroupAppearance.", grp, {RYX_C(G, Gradient), RYX_C(G, GradientMirror)});
    AddColours<G>(L, u"GroupAppearance.", grp, {RYX_C(G, TextColor)});
    AddCaption(L, u"GroupAppearance.CaptionAppearance.", [](S& s) { return s.GroupAppearance()->CaptionAppearance(); });
    AddBackground<ribbon::TVistaPageBackground>(L, u"GroupAppearance.PageAppearance.",
                                                [](S& s) { return s.GroupAppearance()->PageAppearance(); }, false);
    AddTab(L, u"GroupAppearance.TabAppearance.", [](S& s) { return s.GroupAppearance()->TabAppearance(); });
    using T = ribbon::TToolBarAppearance;
    TObj<T> tb = [](S& s) { return s.GroupAppearance()->ToolBarAppearance(); };
    AddColours<T>(L, u"GroupAppearance.ToolBarAppearance.", tb, {RYX_C(T, BorderColor), RYX_C(T, BorderColorHot)});
    AddGradient<TGradientBackground>(L, u"GroupAppearance.ToolBarAppearance.Color.",
                                     [](S& s) { return s.GroupAppearance()->ToolBarAppearance()->Color(); });
    AddGradient<TGradientBackground>(L, u"GroupAppearance.ToolBarAppearance.ColorHot.",
                                     [](S& s) { return s.GroupAppearance()->ToolBarAppearance()->ColorHot(); });
    AddGlow(L, u"CompactGlowButtonAppearance.", [](S& s) { return s.CompactGlowButtonAppearance(); });
    using Q = ribbon::TQATAppearance;
    TObj<Q> qat = [](S& s) { return s.QATAppearance(); };
    AddColours<Q>(L, u"QATAppearance.", qat,
                  {RYX_C(Q, BorderColor), RYX_C(Q, Color), RYX_C(Q, ColorTo), RYX_C(Q, FullSizeBorderColor),
                   RYX_C(Q, FullSizeColor), RYX_C(Q, FullSizeColorTo)});
    Add<Q, Integer>(L, u"QATAppearance.Steps", K::Int, qat, &Q::Steps, &Q::SetSteps);
    AddColours<C>(L, u"", base, {RYX_C(C, FormBorderColor)});
    return L;
  }();
  return props;
}

#undef RYX_C

const char16_t* const kFontStyleNames[] = {u"fsBold", u"fsItalic", u"fsUnderline", u"fsStrikeOut"};
const char16_t* const kGripNames[] = {u"dsDots", u"dsSingleLine", u"dsDoubleLine", u"dsFlatDots", u"dsNone"};
const char16_t* const kGdipNames[] = {u"ggRadial", u"ggVertical", u"ggDiagonalForward", u"ggDiagonalBackward"};

// One comma-text item, quoted when the text needs it.
String CommaItem(const String& Text) {
  TStringList l;
  l.Add(Text);
  return l.CommaText();
}

String EncodeValue(const TProp& p, S& s) {
  const Integer v = p.Kind == K::FontName ? 0 : p.Get(s);
  switch (p.Kind) {
    case K::Colour: return StyleColorToString(v);
    case K::Int: return IntToStr(v);
    case K::Bool: return v != 0 ? u"True" : u"False";
    case K::Dir: return v == gdHorizontal ? u"gdHorizontal" : u"gdVertical";
    case K::Gdip: return v >= 0 && v < 4 ? kGdipNames[v] : kGdipNames[ggVertical];
    case K::Grip: return v >= 0 && v < 5 ? kGripNames[v] : kGripNames[dsDots];
    case K::FontStyle: {
      String out;
      for (int i = 0; i < 4; ++i)
        if (v & (1 << i)) out += (out.empty() ? u"" : u",") + String(kFontStyleNames[i]);
      return out;
    }
    case K::FontName: return p.GetName(s);
  }
  return {};
}

// A checked value of one line: an Integer, a font name, or "leave as it is".
using TParsed = std::variant<std::monostate, Integer, String>;

[[noreturn]] void Corrupt() { throw Exception(u"Corrupt file"); }

// The value of the item named Path in the line's comma text; empty when none.
String LineValue(const String& Line, const String& Path, bool& AnyItem) {
  TStringList items;
  items.SetCommaText(Line);
  AnyItem = items.Count() > 0;
  for (Integer i = 0; i < items.Count(); ++i) {
    const String item = items.Strings(i);
    const size_t eq = item.find(u'=');
    if (eq == String::npos) continue;
    if (SameText(StringView(item).substr(0, eq), Path)) return item.substr(eq + 1);
  }
  return {};
}

TParsed ParseLine(const TProp& p, const String& Line, bool LastLine) {
  if (p.Kind == K::FontStyle) {
    // The key is not checked: the styles are the comma text after the first "=".
    const size_t eq = Line.find(u'=');
    TStringList items;
    items.SetCommaText(eq == String::npos ? String() : Line.substr(eq + 1));
    Integer bits = 0;
    for (int i = 0; i < 4; ++i)
      for (Integer k = 0; k < items.Count(); ++k)
        if (items.Strings(k) == kFontStyleNames[i]) bits |= 1 << i;
    return bits;
  }
  bool any = false;
  const String value = LineValue(Line, p.Path, any);
  switch (p.Kind) {
    case K::Colour: {
      // A missing last line leaves the form border colour as it is.
      if (LastLine && !any) return std::monostate{};
      const auto c = StyleStringToColor(value);
      if (!c) Corrupt();
      return *c;
    }
    case K::Int: {
      Integer v = 0;
      if (!TryStrToInt(value, v)) Corrupt();
      return v;
    }
    case K::Bool: return Integer(SameText(value, u"TRUE"));
    case K::Dir: return Integer(SameText(value, u"gdHorizontal") ? gdHorizontal : gdVertical);
    case K::Gdip:
      for (int i = 0; i < 4; ++i)
        if (SameText(value, kGdipNames[i])) return Integer(i);
      return std::monostate{};
    case K::Grip:
      for (int i = 0; i < 5; ++i)
        if (SameText(value, kGripNames[i])) return Integer(i);
      return std::monostate{};
    case K::FontName: return value;
    case K::FontStyle: break;
  }
  return std::monostate{};
}

}  // namespace

std::string TZadEdevAziOfficeStyler::SaveToBytes() {
  std::vector<String> lines;
  String name = u"bsOffice2003Blue";
  for (const TStyleName& n : kStyleNames)
    if (n.Style == FToolBarStyle) name = n.Text;
  lines.push_back(name);
  WriteStyleProperties(lines);
  String text;
  for (const String& l : lines) text += l + u"\r\n";
  const TBytes bytes = TEncoding::ANSI()->GetBytes(text);
  return std::string(bytes.begin(), bytes.end());
}

void TZadEdevAziOfficeStyler::WriteStyleProperties(std::vector<String>& Lines) {
  for (const TProp& p : StyleProperties()) {
    const String pair = p.Path + u"=" + EncodeValue(p, *this);
    // Font names and the Boolean lines go through comma-text writing, so a
    // name with a blank is quoted and reads back whole.
    if (p.Kind == K::FontName || p.Kind == K::Bool)
      Lines.push_back(CommaItem(pair));
    else
      Lines.push_back(pair);
  }
}

void TZadEdevAziOfficeStyler::SaveToFile(const String& FileName) {
  const std::string bytes = SaveToBytes();
  try {
    TFileStream file(FileName, fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
  } catch (const Exception&) {
    throw Exception(u"Cannot Create " + FileName);
  }
}

void TZadEdevAziOfficeStyler::LoadFromFile(const String& FileName) {
  std::string bytes;
  try {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    const Int64 size = file.Size();
    if (size > kMaxStyleFileBytes) Corrupt();
    bytes.resize(static_cast<size_t>(size));
    if (size > 0) file.ReadBuffer(bytes.data(), static_cast<Integer>(size));
  } catch (const EFOpenError&) {
    throw Exception(u"Cannot open file " + FileName);
  }
  LoadFromBytes(bytes);
}

void TZadEdevAziOfficeStyler::LoadFromBytes(const std::string& Bytes) {
  if (Bytes.size() > static_cast<size_t>(kMaxStyleFileBytes)) Corrupt();
  const String text =
      TEncoding::ANSI()->GetString(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size());
  // Split into at most 304 lines (CR LF, LF or CR); a short file reads as empty lines.
  std::vector<String> lines;
  size_t pos = 0;
  while (lines.size() < size_t(kPropertyLines) + 1 && pos < text.size()) {
    size_t end = text.find_first_of(u"\r\n", pos);
    if (end == String::npos) end = text.size();
    if (end - pos > kMaxStyleLineChars) Corrupt();
    lines.push_back(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == u'\r') ++pos;
    if (pos < text.size() && text[pos] == u'\n') ++pos;
  }
  lines.resize(size_t(kPropertyLines) + 1);
  ReadStyleProperties(lines);
}

void TZadEdevAziOfficeStyler::ReadStyleProperties(const std::vector<String>& Lines) {
  const TProps& props = StyleProperties();
  // Every line is checked and converted before anything changes.
  std::vector<TParsed> values;
  values.reserve(props.size());
  for (size_t i = 0; i < props.size(); ++i)
    values.push_back(ParseLine(props[i], Lines[i + 1], i + 1 == props.size()));
  std::optional<TToolBarStyle> style;
  for (const TStyleName& n : kStyleNames)
    if (SameText(Lines[0], n.Text)) style = n.Style;
  // The preset first, so what the file does not carry takes its values.
  if (style) SetStyle(*style);
  for (size_t i = 0; i < props.size(); ++i) {
    if (const Integer* v = std::get_if<Integer>(&values[i]))
      props[i].Set(*this, *v);
    else if (const String* n = std::get_if<String>(&values[i]))
      props[i].SetName(*this, *n);
  }
}

}  // namespace toolbar
