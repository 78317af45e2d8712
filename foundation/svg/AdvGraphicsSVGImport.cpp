#include "foundation/svg/AdvGraphicsSVGImport.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "foundation/graphics/AdvGraphics.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/win/Files.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/xml/XMLDocument.h"

namespace {
// Hostile documents: deeper nesting is skipped, and a load stops creating
// elements beyond the budget (the drawing walks the tree recursively).
constexpr int kSVGParseMaxDepth = 64;
constexpr std::size_t kSVGParseMaxElements = 250000;

bool SVGParseIsBlank(Char c) { return c <= u' '; }

String SVGParseTrim(StringView s) {
  std::size_t b = 0, e = s.size();
  while (b < e && SVGParseIsBlank(s[b])) ++b;
  while (e > b && SVGParseIsBlank(s[e - 1])) --e;
  return String(s.substr(b, e - b));
}

bool SVGParseStartsWith(StringView s, StringView p) { return s.substr(0, p.size()) == p; }

int SVGParseHexDigit(Char c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// One channel: decimal or hexadecimal digits with an optional "%"; -1 when unreadable.
Integer SVGParseColorComponent(StringView AText) {
  String s = u"0" + String(AText);
  const bool percent = s.back() == u'%';
  if (percent) s.pop_back();
  const bool dec = std::all_of(s.begin(), s.end(), [](Char c) { return c >= u'0' && c <= u'9'; });
  const bool hex = std::all_of(s.begin(), s.end(), [](Char c) { return SVGParseHexDigit(c) >= 0; });
  if (!dec && !hex) return -1;
  Int64 n = 0;
  for (Char c : s) n = std::min<Int64>(n * (dec ? 10 : 16) + SVGParseHexDigit(c), 100000);
  if (percent) return Integer(Round(double(std::min<Int64>(n, 100)) * 255 / 100));
  return Integer(std::min<Int64>(n, 255));
}

// rgb(r,g,b) or rgba(r,g,b,a); AAlpha receives a in 0..1 (a number or a
// percentage; 1 when absent or unreadable). -1 for a malformed colour.
TColor SVGParseRGBColor(StringView AText, Single& AAlpha) {
  AAlpha = 1;
  const bool rgba = SVGParseStartsWith(AText, u"rgba(");
  if ((!rgba && !SVGParseStartsWith(AText, u"rgb(")) || AText.empty() || AText.back() != u')') return -1;
  const std::size_t open = AText.find(u'(');
  const String inside = SVGParseTrim(AText.substr(open + 1, AText.size() - open - 2));
  std::vector<String> parts;
  std::size_t from = 0;
  for (;;) {
    const std::size_t comma = inside.find(u',', from);
    parts.push_back(TrimLeft(StringView(inside).substr(from, comma == String::npos ? String::npos : comma - from)));
    if (comma == String::npos) break;
    from = comma + 1;
  }
  if (parts.size() != (rgba ? 4u : 3u)) return -1;
  const Integer r = SVGParseColorComponent(parts[0]), g = SVGParseColorComponent(parts[1]),
                b = SVGParseColorComponent(parts[2]);
  if (rgba) {
    String a = SVGParseTrim(parts[3]);
    const bool percent = !a.empty() && a.back() == u'%';
    if (percent) a.pop_back();
    Single v = 1;
    if (TAdvGraphicsSVGImport::SVGStrToFloat(a, v)) AAlpha = std::clamp(percent ? v / 100 : v, 0.0f, 1.0f);
  }
  if (r < 0 || g < 0 || b < 0) return -1;
  return TColor(r | (g << 8) | (b << 16));
}

// A fill, stroke or stop colour text; AAlpha as for rgba().
TColor SVGParseColorText(String& AValue, Single& AAlpha) {
  AAlpha = 1;
  if (SVGParseStartsWith(AValue, u"#")) {
    TColor c = -1;
    return TAdvGraphics::TryHTMLToColor(AValue, c) ? c : TColor(-1);
  }
  if (SVGParseStartsWith(AValue, u"rgb")) {
    const TColor c = SVGParseRGBColor(AValue, AAlpha);
    if (AAlpha == 0) {
      AValue = u"none";
      AAlpha = 1;
      return -1;
    }
    return c;
  }
  return TAdvGraphics::TextToColor(AValue);
}

// "Arial-BoldMT" gives Arial and bold; "Segoe UI, Tahoma" gives Tahoma.
String SVGParseFontFamily(const String& AText, TFontStyles& AStyle) {
  String name = AText;
  auto dropSuffix = [&name](StringView suffix) {
    if (name.size() >= suffix.size() && StringView(name).substr(name.size() - suffix.size()) == suffix) {
      name.resize(name.size() - suffix.size());
      return true;
    }
    return false;
  };
  auto removeWord = [&](StringView word, TFontStyle style) {
    const std::size_t at = name.find(word);
    if (at == String::npos) return;
    AStyle.Include(style);
    name.erase(at, word.size());
    dropSuffix(u"-");
    if (dropSuffix(u"MT")) dropSuffix(u"-");
  };
  if (AText.find(u"Bold") != String::npos) AStyle.Include(fsBold);
  if (AText.find(u"Italic") != String::npos) AStyle.Include(fsItalic);
  removeWord(u"Bold", fsBold);
  removeWord(u"Italic", fsItalic);
  dropSuffix(u"MT");
  dropSuffix(u"-");
  std::vector<String> entries;
  std::size_t from = 0;
  for (;;) {
    const std::size_t comma = name.find(u',', from);
    entries.push_back(name.substr(from, comma == String::npos ? String::npos : comma - from));
    if (comma == String::npos) break;
    from = comma + 1;
  }
  return entries.size() >= 2 ? SVGParseTrim(entries[1]) : name;
}

// Number of an opacity-like value: a plain number, or a percentage when
// APercent; false when unreadable.
bool SVGParseFraction(StringView AText, bool APercent, Single& AValue) {
  String s = SVGParseTrim(AText);
  const bool percent = APercent && !s.empty() && s.back() == u'%';
  if (percent) s.pop_back();
  Single v = 0;
  if (!TAdvGraphicsSVGImport::SVGStrToFloat(s, v)) return false;
  AValue = percent ? v / 100 : v;
  return true;
}

bool SVGParseIsServer(const TAdvGraphicsSVGElement* E) {
  return E && (E->Type() == etLinearGradient || E->Type() == etRadialGradient || E->Type() == etPattern);
}
}  // namespace

// --- document ------------------------------------------------------------------

TAdvGraphicsSVGImport::TAdvGraphicsSVGImport() { Clear(); }

TAdvGraphicsSVGImport::~TAdvGraphicsSVGImport() = default;

void TAdvGraphicsSVGImport::Clear() {
  FElementClassList.clear();
  FElementPatternList.clear();
  FElementClipPathList.clear();
  FElementList.clear();
  FDefsList.clear();
  FCachedBitmaps.clear();
  FXML.reset();
  FMatrix = MatrixIdentity();
  FTextMatrix = MatrixIdentity();
  ViewRect = RectF(kEmptyMarker, kEmptyMarker, -kEmptyMarker, -kEmptyMarker);
  FElementBudget = 0;
}

void TAdvGraphicsSVGImport::LoadFromText(const String& AText) {
  Clear();
  auto xml = std::make_unique<TXMLDocument>();
  xml->LoadFromText(StringToUtf8(AText));
  FXML = std::move(xml);
  const TXMLNode root = FXML->DocumentElement();
  if (root.IsNull() || root.NodeName() != u"svg") return;

  TRectF explicitRect = RectF(kEmptyMarker, kEmptyMarker, -kEmptyMarker, -kEmptyMarker);
  const String viewBox = root.Attribute(u"viewBox");
  if (!viewBox.empty()) {
    ParseViewBox(viewBox, explicitRect);
  } else if (!root.Attribute(u"width").empty() && !root.Attribute(u"height").empty()) {
    explicitRect = RectF(0, 0, ParseLength(root.Attribute(u"width")), ParseLength(root.Attribute(u"height")));
  }

  BuildElements(FElementList, root, nullptr, true, 0);
  ResolveAllReferences();

  if (explicitRect.Left != kEmptyMarker && explicitRect.Top != kEmptyMarker &&
      explicitRect.Right != -kEmptyMarker && explicitRect.Bottom != -kEmptyMarker)
    ViewRect = explicitRect;
  else if (ViewRect.Left == kEmptyMarker && ViewRect.Top == kEmptyMarker && ViewRect.Right == -kEmptyMarker &&
           ViewRect.Bottom == -kEmptyMarker)
    ViewRect = RectF(0, 0, 0, 0);
}

void TAdvGraphicsSVGImport::LoadFromStream(TStream* AStream) {
  if (!AStream) return;
  AStream->SetPosition(0);
  const Int64 size = AStream->Size();
  if (size < 0 || size > kMaxPictureData) throw EReadError(u"SVG data too large");
  std::string bytes(std::size_t(size), '\0');
  if (size > 0) AStream->ReadBuffer(bytes.data(), Integer(size));
  std::string_view text(bytes);
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  // The text goes through a line list: lines rejoined with CR LF, one after the last.
  std::string joined;
  joined.reserve(text.size() + 16);
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t eol = text.find_first_of("\r\n", i);
    joined.append(text.substr(i, eol == std::string_view::npos ? std::string_view::npos : eol - i));
    joined += "\r\n";
    if (eol == std::string_view::npos) break;
    i = eol + 1;
    if (text[eol] == '\r' && i < text.size() && text[i] == '\n') ++i;
  }
  LoadFromText(Utf8ToString(joined));
}

void TAdvGraphicsSVGImport::LoadFromFile(const String& AFile) {
  TMemoryStream ms;
  ms.LoadFromFile(AFile);
  LoadFromStream(&ms);
}

void TAdvGraphicsSVGImport::SaveToStream(TStream* AStream) {
  if (!FXML || !AStream) return;
  const std::string text = FXML->SaveToText();
  if (!text.empty()) AStream->WriteBuffer(text.data(), Integer(text.size()));
}

void TAdvGraphicsSVGImport::SaveToFile(const String& AFile) {
  TMemoryStream ms;
  SaveToStream(&ms);
  ms.SaveToFile(AFile);
}

// --- building the tree ------------------------------------------------------------

void TAdvGraphicsSVGImport::BuildElements(TAdvGraphicsSVGElementList& AList, const TXMLNode& ANode,
                                          TAdvGraphicsSVGElement* AParent, bool AGrowBounds, int ADepth) {
  if (ADepth > kSVGParseMaxDepth) return;
  for (TXMLNode child = ANode.FirstChild(); !child.IsNull(); child = child.NextSibling()) {
    const String nodeName = child.NodeName();
    const TAdvGraphicsSVGElementType kind = SVGElementTypeOfName(nodeName);
    if (kind == etUnknown) continue;
    if (kind == etTextSpanChild && SVGParseTrim(child.NodeValue()).empty()) continue;
    if (kind == etDefs) {
      BuildElements(FDefsList, child, nullptr, false, ADepth + 1);
      continue;
    }
    if (kind == etStyle) {
      ParseStyleElement(child.Text());
      continue;
    }
    if (kind == etSwitch || kind == etUse) continue;
    if (++FElementBudget > kSVGParseMaxElements) return;

    auto owned = std::make_unique<TAdvGraphicsSVGElement>();
    TAdvGraphicsSVGElement* E = owned.get();
    E->FParent = AParent;
    AList.push_back(std::move(owned));

    const String transform = child.Attribute(u"transform");
    E->FMatrix = ParseTransform(child.HasAttribute(u"transform") ? &transform : nullptr);
    const String gradientTransform = child.Attribute(u"gradientTransform");
    E->FGradientMatrix = ParseTransform(child.HasAttribute(u"gradientTransform") ? &gradientTransform : nullptr);
    auto len = [&child](StringView name) { return ParseLength(child.Attribute(name)); };
    if (nodeName == u"circle") {
      E->FXV = len(u"cx"), E->FYV = len(u"cy");
      E->FRx = E->FRy = len(u"r");
    } else if (nodeName == u"ellipse") {
      E->FXV = len(u"cx"), E->FYV = len(u"cy"), E->FRx = len(u"rx"), E->FRy = len(u"ry");
    } else if (nodeName == u"line" || nodeName == u"linearGradient") {
      E->FXV = len(u"x1"), E->FYV = len(u"y1"), E->FWidth = len(u"x2"), E->FHeight = len(u"y2");
    } else if (nodeName == u"radialGradient") {
      // Centres are fractions of the filled shape's box: 0.5 and 50% alike.
      E->FHasCX = child.HasAttribute(u"cx");
      E->FHasCY = child.HasAttribute(u"cy");
      if (E->FHasCX) SVGParseFraction(child.Attribute(u"cx"), true, E->FCX);
      if (E->FHasCY) SVGParseFraction(child.Attribute(u"cy"), true, E->FCY);
    } else {
      E->FXV = len(u"x"), E->FYV = len(u"y"), E->FWidth = len(u"width"), E->FHeight = len(u"height");
      E->FRx = len(u"rx"), E->FRy = len(u"ry");
    }
    E->FType = kind;

    // Presentation attributes first, then the style attribute's declarations,
    // which therefore win.
    String decl;
    for (TXMLAttribute a = child.FirstAttribute(); !a.IsNull(); a = a.Next()) {
      if (a.Name() == u"style") continue;
      if (!decl.empty()) decl += u';';
      decl += a.Name() + u":" + a.Value();
    }
    const String style = child.Attribute(u"style");
    if (!style.empty()) decl += u";" + style;
    ParseStyle(E, decl);

    switch (kind) {
      case etContainer:
      case etClipPath:
      case etLinearGradient:
      case etRadialGradient:
      case etPattern:
        BuildElements(E->Elements(), child, E, kind == etContainer && AGrowBounds, ADepth + 1);
        if (kind == etClipPath)
          FElementClipPathList.push_back(E);
        else if (kind != etContainer)
          FElementPatternList.push_back(E);
        break;
      case etImage:
        LoadImage(E, child);
        [[fallthrough]];
      case etRect:
      case etLine:
      case etCircle:
      case etEllipse:
        if (AGrowBounds) {
          TRectF r;
          if (kind == etRect || kind == etImage)
            r = RectF(E->FXV, E->FYV, E->FXV + E->FWidth, E->FYV + E->FHeight);
          else if (kind == etLine)
            r = RectF(std::min(E->FXV, E->FWidth), std::min(E->FYV, E->FHeight), std::max(E->FXV, E->FWidth),
                       std::max(E->FYV, E->FHeight));
          else
            r = RectF(E->FXV - E->FRx, E->FYV - E->FRy, E->FXV + E->FRx, E->FYV + E->FRy);
          GrowViewRect(E, r);
        }
        break;
      case etPolyline:
      case etPolygon:
      case etPath: {
        if (kind == etPath)
          BuildPathData(E, child.Attribute(u"d"));
        else
          BuildPoints(E, child.Attribute(u"points"), kind == etPolygon);
        if (AGrowBounds && E->HasPaths()) {
          TAdvGraphicsMatrix own = MatrixIdentity();
          const bool ownApplies =
              kind == etPath || !E->FParent || IsMatrixEmpty(E->FParent->FMatrix);
          if (ownApplies && !IsMatrixEmpty(E->FMatrix)) own = E->FMatrix;
          for (const auto& p : E->Paths()) GrowViewRectByPath(E, *p, own);
        }
        break;
      }
      case etText:
      case etTextSpan:
      case etTextSpanChild:
      case etTextPath:
        if (kind == etTextSpanChild) {
          E->FText = child.NodeValue();
        } else if (nodeName == u"text" && child.ChildCount() == 1 && child.FirstChild().NodeName() == u"#text") {
          E->FText = child.FirstChild().NodeValue();
        } else {
          BuildElements(E->Elements(), child, E, true, ADepth + 1);
        }
        break;
      default:
        break;
    }
  }
}

void TAdvGraphicsSVGImport::ParseStyle(TAdvGraphicsSVGElement* E, StringView AText) {
  const String text = SVGParseTrim(AText);
  std::size_t from = 0;
  while (from <= text.size()) {
    std::size_t semi = text.find(u';', from);
    if (semi == String::npos) semi = text.size();
    const StringView d = StringView(text).substr(from, semi - from);
    from = semi + 1;
    std::size_t colon = SVGParseStartsWith(SVGParseTrim(d), u"xlink:href") ? d.find(u':', d.find(u"xlink:href") + 10)
                                                                          : d.find(u':');
    if (colon == StringView::npos) continue;
    const String name = SVGParseTrim(d.substr(0, colon));
    String value = SVGParseTrim(d.substr(colon + 1));
    Single v = 0;

    if (name == u"display") {
      E->FDisplayValue = LowerCase(value);
    } else if (name == u"fill" || name == u"stroke") {
      const bool fill = name == u"fill";
      String& valueText = fill ? E->FFillColorValue : E->FStrokeColorValue;
      TColor& color = fill ? E->FFillColor : E->FStrokeColor;
      Single& alpha = fill ? E->FFillColorAlpha : E->FStrokeColorAlpha;
      String& url = fill ? E->FURLRefID : E->FStrokeURLRefID;
      valueText = value;
      alpha = 1;
      url.clear();
      if (!(fill ? E->HasFillColor() : E->HasStrokeColor())) {
        color = -1;
      } else if (SVGParseStartsWith(value, u"url(#")) {
        const std::size_t close = value.find(u')');
        if (close != String::npos) url = value.substr(5, close - 5);
      } else if (SVGParseStartsWith(value, u"url('#")) {
        const std::size_t close = value.find(u"')");
        if (close != String::npos) url = value.substr(6, close - 6);
      } else {
        color = SVGParseColorText(valueText, alpha);
      }
    } else if (name == u"stroke-width") {
      if (value != u"default") {
        // A unit is allowed; an unreadable width keeps the previous one.
        const String unit = GetUnitSuffix(value);
        if (SVGStrToFloat(StringView(value).substr(0, value.size() - unit.size()), v))
          E->FStrokeWidth = v * UnitFactor(unit);
      }
      E->FStrokeWidthValue = value;
    } else if (name == u"font-family") {
      TFontStyles style;
      E->FFontFamily = SVGParseFontFamily(value, style);
      if (E->FFontStyle.Empty()) E->FFontStyle = style;
    } else if (name == u"font-style") {
      if (value == u"italic" && E->FFontStyle.Empty()) E->FFontStyle.Include(fsItalic);
    } else if (name == u"font-size") {
      E->FFontSizeValue = value;
      E->FFontSize = ParseLength(value);
    } else if (name == u"preserveAspectRatio") {
      E->FPreserveAspectRatioValue = value;
      E->FPreserveAspectRatio = value == u"none" ? parNone : parOther;
    } else if (name == u"offset") {
      E->FOffsetValue = value;
      E->FOffset = ParseLength(value);
      if (!value.empty() && value.back() == u'%') E->FOffset /= 100;
    } else if (name == u"stop-opacity") {
      E->FStopOpacityValue = value;
      if (SVGParseFraction(value, true, v)) E->FStopOpacity = v;
    } else if (name == u"stop-color") {
      E->FStopColorValue = value;
      E->FStopColorAlpha = 1;
      if (value == u"none" || value == u"transparent" || value == u"default")
        E->FStopColor = -1;
      else
        E->FStopColor = SVGParseColorText(E->FStopColorValue, E->FStopColorAlpha);
    } else if (name == u"opacity" || name == u"fill-opacity" || name == u"stroke-opacity") {
      const bool plain = name == u"opacity", fill = name == u"fill-opacity";
      (plain ? E->FOpacityValue : fill ? E->FFillOpacityValue : E->FStrokeOpacityValue) = value;
      if (SVGParseFraction(value, !plain, v)) {
        if (!plain) v = std::clamp(v, 0.0f, 1.0f);
        (plain ? E->FOpacity : fill ? E->FFillOpacity : E->FStrokeOpacity) = v;
      }
    } else if (name == u"xlink:href" || name == u"href") {
      const std::size_t hash = value.find(u'#');
      E->FHRefID = hash == String::npos ? value : value.substr(hash + 1);
    } else if (name == u"class") {
      E->FClassRefID = value;
      // An element's declarations are all parsed before the next element is
      // made, so it can only be the last entry already (constant time).
      if (!SVGParseIsServer(E->FParent) && (FElementClassList.empty() || FElementClassList.back() != E))
        FElementClassList.push_back(E);
    } else if (name == u"id") {
      E->FID = value;
    } else if (name == u"clip-path") {
      const std::size_t hash = value.find(u'#');
      if (hash != String::npos) {
        const std::size_t close = value.find(u')', hash);
        E->FClipPathRefID = value.substr(hash + 1, close == String::npos ? String::npos : close - hash - 1);
      } else {
        E->FClipPathRefID.clear();
      }
    }
  }
}

void TAdvGraphicsSVGImport::ParseStyleElement(StringView AText) {
  // Each rule is "selector { declarations }"; the class name is what follows
  // the selector's first "." up to "{". The scan always moves forward.
  const String text = SVGParseTrim(AText);
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t open = text.find(u'{', pos);
    if (open == String::npos) break;
    std::size_t close = text.find(u'}', open);
    const std::size_t bodyEnd = close == String::npos ? text.size() : close;
    StringView selector = StringView(text).substr(pos, open - pos);
    while (!selector.empty() && SVGParseIsBlank(selector.front())) selector.remove_prefix(1);
    const std::size_t dot = selector.find(u'.');
    const String className(dot == StringView::npos ? selector : selector.substr(dot + 1));
    if (!className.empty() && ++FElementBudget <= kSVGParseMaxElements) {
      auto rule = std::make_unique<TAdvGraphicsSVGElement>();
      rule->FType = etStyle;
      rule->FClassRefID = className;
      ParseStyle(rule.get(), StringView(text).substr(open + 1, bodyEnd - open - 1));
      FDefsList.push_back(std::move(rule));
    }
    if (close == String::npos) break;
    pos = close + 1;
  }
}

void TAdvGraphicsSVGImport::LoadImage(TAdvGraphicsSVGElement* E, const TXMLNode& ANode) {
  String value;
  if (ANode.HasAttribute(u"xlink:href"))
    value = ANode.Attribute(u"xlink:href");
  else if (ANode.HasAttribute(u"href"))
    value = ANode.Attribute(u"href");
  else
    return;
  // A broken picture leaves the image empty; it never fails the document.
  try {
    const std::size_t data = value.find(u"data:");
    if (data != String::npos) {
      const std::size_t semi = value.find(u';', data + 5);
      if (semi != String::npos && StringView(value).substr(semi, 8) == u";base64,") {
        TBytes bytes = TAdvUtils::Decode64ToBytes(StringView(value).substr(semi + 8));
        TBytesStream ms(std::move(bytes));
        E->Bitmap()->LoadFromStream(&ms);
      }
      return;
    }
    // Local files only when the caller allows them; never network addresses.
    const String upper = UpperCase(value);
    if (!AllowLocalImages || upper.find(u"://") != String::npos) return;
    if (FileExists(value)) E->Bitmap()->LoadFromFile(value);
  } catch (const Exception&) {
    E->FBitmap.reset();
  }
}

// --- references ----------------------------------------------------------------------

namespace {
struct SVGResolveResult {
  bool computed = false;
  bool setClip = false, setClass = false, setPattern = false, setStrokePattern = false;
  TAdvGraphicsSVGElement* clip = nullptr;
  TAdvGraphicsSVGElement* classRef = nullptr;
  TAdvGraphicsSVGElement* pattern = nullptr;
  TAdvGraphicsSVGElement* strokePattern = nullptr;
};

struct SVGResolveIndex {
  std::unordered_map<String, std::size_t> firstClass;
  std::unordered_map<String, std::size_t> firstRefBy;
  std::unordered_map<String, std::vector<std::size_t>> byID;
  std::vector<SVGResolveResult> results;
  // Elements whose children were resolved already (each subtree once).
  std::unordered_set<TAdvGraphicsSVGElement*> expanded;
};
}  // namespace

void TAdvGraphicsSVGImport::ResolveAllReferences() {
  if (!FDefsList.empty()) {
    SVGResolveIndex index;
    for (std::size_t i = 0; i < FDefsList.size(); ++i) {
      const TAdvGraphicsSVGElement* q = FDefsList[i].get();
      if (!q->FClassRefID.empty()) index.firstClass.try_emplace(q->FClassRefID, i);
      for (const String* id : {&q->FURLRefID, &q->FStrokeURLRefID, &q->FClipPathRefID})
        if (!id->empty()) index.firstRefBy.try_emplace(*id, i);
      if (!q->FID.empty()) index.byID[q->FID].push_back(i);
    }
    index.results.resize(FDefsList.size());
    FResolveIndex = &index;
    ResolveReferences(FElementPatternList, 0);
    ResolveReferences(FElementClipPathList, 0);
    ResolveReferences(FElementClassList, 0);
    FResolveIndex = nullptr;
  }

  std::unordered_map<String, TAdvGraphicsSVGElement*> servers;
  for (TAdvGraphicsSVGElement* g : FElementPatternList)
    if (!g->FID.empty()) servers[g->FID] = g;
  if (servers.empty()) return;
  // Iterative walk over the drawing tree.
  std::vector<TAdvGraphicsSVGElementList*> todo{&FElementList};
  while (!todo.empty()) {
    TAdvGraphicsSVGElementList* list = todo.back();
    todo.pop_back();
    for (const auto& e : *list) {
      if (!e->FURLRefID.empty()) {
        const auto it = servers.find(e->FURLRefID);
        if (it != servers.end()) e->FPatternRef = it->second;
      }
      if (!e->FStrokeURLRefID.empty()) {
        const auto it = servers.find(e->FStrokeURLRefID);
        if (it != servers.end()) e->FStrokePatternRef = it->second;
      }
      if (e->HasElements()) todo.push_back(&e->Elements());
    }
  }
  for (TAdvGraphicsSVGElement* q : FElementPatternList)
    if (!q->FHRefID.empty()) {
      const auto it = servers.find(q->FHRefID);
      if (it != servers.end()) q->FHRefRef = it->second;
    }
}

void TAdvGraphicsSVGImport::ResolveReferences(const TAdvGraphicsSVGElementClassList& AList, int ADepth) {
  if (ADepth > kSVGParseMaxDepth) return;
  SVGResolveIndex& index = *static_cast<SVGResolveIndex*>(FResolveIndex);
  constexpr std::size_t none = std::numeric_limits<std::size_t>::max();
  for (TAdvGraphicsSVGElement* p : AList) {
    std::size_t byClass = none, byRef = none;
    if (!p->FClassRefID.empty()) {
      const auto it = index.firstClass.find(p->FClassRefID);
      if (it != index.firstClass.end()) byClass = it->second;
    }
    if (!p->FID.empty()) {
      const auto it = index.firstRefBy.find(p->FID);
      if (it != index.firstRefBy.end()) byRef = it->second;
    }
    if (byClass == none && byRef == none) continue;
    if (byClass <= byRef) {
      // The result depends on the rule only: computed once per rule.
      SVGResolveResult& r = index.results[byClass];
      if (!r.computed) {
        r.computed = true;
        TAdvGraphicsSVGElement* q = FDefsList[byClass].get();
        auto targets = [&](const String& id) -> const std::vector<std::size_t>* {
          const auto it = index.byID.find(id);
          return it == index.byID.end() ? nullptr : &it->second;
        };
        if (!q->FClipPathRefID.empty()) {
          if (const auto* ids = targets(q->FClipPathRefID))
            for (std::size_t i : *ids) {
              TAdvGraphicsSVGElement* t = FDefsList[i].get();
              if (t->HasElements() && !t->Elements().empty()) {
                r.setClip = r.setClass = true;
                r.clip = t->Elements().back().get();
                r.classRef = r.clip->FClassRef;
              }
            }
        } else if (!q->FURLRefID.empty() || !q->FStrokeURLRefID.empty()) {
          const bool fill = !q->FURLRefID.empty();
          if (const auto* ids = targets(fill ? q->FURLRefID : q->FStrokeURLRefID))
            for (std::size_t i : *ids) {
              TAdvGraphicsSVGElement* t = FDefsList[i].get();
              if (t->FType == etLinearGradient || t->FType == etRadialGradient) {
                (fill ? r.setPattern : r.setStrokePattern) = true;
                (fill ? r.pattern : r.strokePattern) = t;
              } else if (t->HasElements() && !t->Elements().empty()) {
                r.setClass = true;
                r.classRef = t->Elements().back()->FClassRef;
              }
            }
        } else {
          r.setClass = true;
          r.classRef = q;
        }
      }
      if (r.setClip) p->FClipPathRef = r.clip;
      if (r.setClass) p->FClassRef = r.classRef;
      if (r.setPattern) p->FPatternRef = r.pattern;
      if (r.setStrokePattern) p->FStrokePatternRef = r.strokePattern;
    } else if (p->HasElements() && index.expanded.insert(p).second) {
      TAdvGraphicsSVGElementClassList children;
      for (const auto& c : p->Elements()) children.push_back(c.get());
      ResolveReferences(children, ADepth + 1);
    }
  }
}

// --- start-up -----------------------------------------------------------------------------

void InitializeAdvGraphicsSVGEngineUnit() {
  TAdvSVGImport::RegisterFactory([] { return std::make_unique<TAdvGraphicsSVGImport>(); });
}

void FinalizeAdvGraphicsSVGEngineUnit() { TAdvSVGImport::RegisterFactory({}); }
