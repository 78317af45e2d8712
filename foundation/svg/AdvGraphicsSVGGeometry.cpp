// Lengths, angles, transform lists, path data, arcs, point lists and the
// view bounds of the SVG document.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "foundation/svg/AdvGraphicsSVGImport.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/StrUtils.h"

namespace {
constexpr double kSVGGeoPi = 3.14159265358979323846;

bool SVGGeoIsBlank(Char c) { return c <= u' '; }

bool SVGGeoIsCommand(Char c) { return StringView(u"MmLlHhVvCcSsQqTtAaZz").find(c) != StringView::npos; }

std::vector<String> SVGGeoSplitBlank(StringView s, bool ACommas) {
  std::vector<String> parts;
  String cur;
  for (Char c : s) {
    if (SVGGeoIsBlank(c) || (ACommas && c == u',')) {
      if (!cur.empty()) parts.push_back(std::move(cur));
      cur.clear();
    } else {
      cur.push_back(c);
    }
  }
  if (!cur.empty()) parts.push_back(std::move(cur));
  return parts;
}

bool SVGGeoFinite(const TPointF& p) { return std::isfinite(p.X) && std::isfinite(p.Y); }
}  // namespace

bool TAdvGraphicsSVGImport::SVGStrToFloat(StringView AText, Single& AValue) {
  // "." whatever the process-wide decimal separator: documents are not localised.
  std::size_t b = 0, e = AText.size();
  while (b < e && SVGGeoIsBlank(AText[b])) ++b;
  while (e > b && SVGGeoIsBlank(AText[e - 1])) --e;
  double v = 0;
  if (!TAdvUtils::TryStrToFloatDot(AText.substr(b, e - b), v) || !std::isfinite(v) || std::fabs(v) > FLT_MAX)
    return false;
  AValue = Single(v);
  return true;
}

String TAdvGraphicsSVGImport::GetUnitSuffix(StringView AText) {
  if (AText.size() >= 2) {
    const StringView last = AText.substr(AText.size() - 2);
    for (StringView u : {u"px", u"pt", u"pc", u"mm", u"cm", u"in", u"em", u"ex"})
      if (last == u) return String(u);
  }
  if (!AText.empty() && AText.back() == u'%') return u"%";
  return {};
}

Single TAdvGraphicsSVGImport::UnitFactor(StringView AUnit) {
  // 90 user units per inch throughout.
  if (AUnit == u"pt") return 1.25f;
  if (AUnit == u"pc") return 15;
  if (AUnit == u"mm") return 3.543307f;
  if (AUnit == u"cm") return 35.43307f;
  if (AUnit == u"in") return 90;
  return 1;
}

Single TAdvGraphicsSVGImport::ParseLength(StringView AText) {
  if (AText.empty()) return 0;
  const String unit = GetUnitSuffix(AText);
  Single v = 0;
  if (!SVGStrToFloat(AText.substr(0, AText.size() - unit.size()), v)) return 0;
  const double r = double(v) * UnitFactor(unit);
  return std::fabs(r) > FLT_MAX ? 0 : Single(r);
}

Single TAdvGraphicsSVGImport::ParseAngle(StringView AText) {
  Single v = 0;
  std::size_t at;
  if ((at = AText.find(u"deg")) != StringView::npos)
    return SVGStrToFloat(AText.substr(0, at), v) ? Single(v * kSVGGeoPi / 180) : 0;
  if ((at = AText.find(u"grad")) != StringView::npos)
    return SVGStrToFloat(AText.substr(0, at), v) ? Single(v * kSVGGeoPi / 200) : 0;
  if ((at = AText.find(u"rad")) != StringView::npos) return SVGStrToFloat(AText.substr(0, at), v) ? v : 0;
  return SVGStrToFloat(AText, v) ? Single(v * kSVGGeoPi / 180) : 0;
}

TAdvGraphicsMatrix TAdvGraphicsSVGImport::ParseTransform(const String* AText) {
  if (!AText) return MatrixZero();
  TAdvGraphicsMatrix result = MatrixIdentity();
  StringView text = *AText;
  for (;;) {
    // Blanks and commas may separate the transforms.
    while (!text.empty() && (SVGGeoIsBlank(text.front()) || text.front() == u',')) text.remove_prefix(1);
    const std::size_t open = text.find(u'('), close = text.find(u')');
    if (text.empty() || open == StringView::npos || close == StringView::npos) break;
    if (close < open) {
      // A stray ")" before the next "(": skip to that "(" (keeps the scan linear).
      text.remove_prefix(open);
      continue;
    }
    String name(text.substr(0, open));
    while (!name.empty() && SVGGeoIsBlank(name.back())) name.pop_back();
    const std::vector<String> args = SVGGeoSplitBlank(text.substr(open + 1, close - open - 1), true);
    text.remove_prefix(close + 1);

    auto num = [&args](std::size_t i) {
      Single v = 0;
      return TAdvGraphicsSVGImport::SVGStrToFloat(args[i], v) ? v : 0.0f;
    };
    TAdvGraphicsMatrix t = MatrixIdentity();
    const std::size_t n = args.size();
    if (name == u"matrix") {
      if (n == 6) {
        Single* slots[6] = {&t.m11, &t.m12, &t.m21, &t.m22, &t.m31, &t.m32};
        for (std::size_t i = 0; i < 6; ++i) SVGStrToFloat(args[i], *slots[i]);
      }
    } else if (name == u"translate") {
      if (n == 1 || n == 2) t = MatrixTranslation(num(0), n == 2 ? num(1) : 0);
    } else if (name == u"scale") {
      if (n == 1 || n == 2) t = MatrixScaling(num(0), n == 2 ? num(1) : num(0));
    } else if (name == u"rotate") {
      if (n == 1 || n == 3) {
        const double a = ParseAngle(args[0]);
        const Single cx = n == 3 ? num(1) : 0, cy = n == 3 ? num(2) : 0;
        TAdvGraphicsMatrix r = MatrixIdentity();
        r.m11 = Single(std::cos(a)), r.m12 = Single(std::sin(a));
        r.m21 = Single(-std::sin(a)), r.m22 = Single(std::cos(a));
        t = MatrixMultiply(MatrixMultiply(MatrixTranslation(-cx, -cy), r), MatrixTranslation(cx, cy));
      }
    } else if (name == u"skewX" || name == u"skewY") {
      if (n == 1) {
        const Single k = Single(std::tan(num(0) * kSVGGeoPi / 180));
        (name == u"skewX" ? t.m21 : t.m12) = std::isfinite(k) ? k : 0;
      }
    }
    // The last listed transform applies to a point first.
    result = MatrixMultiply(t, result);
  }
  return result;
}

std::vector<String> TAdvGraphicsSVGImport::TokenizePathCommand(Char ACommand, StringView AArguments) {
  std::vector<String> tokens{String(1, ACommand)};
  String cur;
  bool exp = false, point = false;
  auto flush = [&](bool always) {
    if (always || !cur.empty()) tokens.push_back(cur);
    cur.clear();
  };
  for (Char c : AArguments) {
    if (c == u'\t' || c == u'\n' || c == u'\r' || c == u' ') {
      if (!cur.empty()) {
        flush(false);
        exp = point = false;
      }
    } else if (c == u'+' || c == u'-') {
      if (exp && !cur.empty() && (cur.back() == u'e' || cur.back() == u'E')) {
        cur.push_back(c);
      } else {
        if (!cur.empty()) flush(false);
        exp = point = false;
        cur.push_back(c);
      }
    } else if (c == u'.') {
      if (!point) {
        cur.push_back(c);
        point = true;
      } else {
        flush(true);
        exp = false;
        cur.push_back(c);
      }
    } else if (c >= u'0' && c <= u'9') {
      cur.push_back(c);
    } else if (c == u'e' || c == u'E') {
      if (!exp) {
        cur.push_back(c);
        exp = true;
      } else {
        flush(true);
        point = false;
        cur.push_back(c);
      }
    }
  }
  flush(false);
  // Arc flags are single digits and may be written without separators
  // ("a5 5 0 0110 10"): split them off their neighbours.
  if (ACommand == u'A' || ACommand == u'a') {
    std::vector<String> split{tokens[0]};
    split.reserve(tokens.size() + 8);
    for (std::size_t i = 1; i < tokens.size(); ++i) {
      String t = std::move(tokens[i]);
      for (;;) {
        const std::size_t slot = (split.size() - 1) % 7;
        if ((slot == 3 || slot == 4) && t.size() > 1 && (t[0] == u'0' || t[0] == u'1')) {
          split.push_back(t.substr(0, 1));
          t.erase(0, 1);
        } else {
          split.push_back(std::move(t));
          break;
        }
      }
    }
    tokens = std::move(split);
  }
  return tokens;
}

void TAdvGraphicsSVGImport::SplitRepeatedCommand(std::vector<String>& ATokens) {
  if (ATokens.empty() || ATokens[0].size() != 1) return;
  const Char cmd = ATokens[0][0];
  if (cmd == u'Z' || cmd == u'z') {
    ATokens.resize(1);
    return;
  }
  std::size_t g;
  switch (cmd) {
    case u'A': case u'a': g = 7; break;
    case u'C': case u'c': g = 6; break;
    case u'Q': case u'q': case u'S': case u's': g = 4; break;
    case u'L': case u'l': case u'M': case u'm': case u'T': case u't': g = 2; break;
    case u'H': case u'h': case u'V': case u'v': g = 1; break;
    default: return;
  }
  const std::size_t n = ATokens.size() - 1;
  if (n == g || n % g == 1 || n < g + 1) return;
  const String letter(1, cmd == u'M' ? u'L' : cmd == u'm' ? u'l' : cmd);
  std::vector<String> out;
  out.reserve(ATokens.size() + n / g + 1);
  out.push_back(std::move(ATokens[0]));
  for (std::size_t k = 1; k <= n; ++k) {
    // A command before each full group after the first; a short last group
    // stays with the group before it.
    if (k >= g + 1 && k + g <= n + 1 && (k - 1) % g == 0) out.push_back(letter);
    out.push_back(std::move(ATokens[k]));
  }
  ATokens = std::move(out);
}

std::vector<String> TAdvGraphicsSVGImport::ParsePathData(StringView AText) {
  String text(AText);
  std::replace(text.begin(), text.end(), u',', u' ');
  std::size_t b = 0;
  while (b < text.size() && SVGGeoIsBlank(text[b])) ++b;
  std::vector<String> all;
  std::size_t pos = b;
  while (pos < text.size()) {
    std::size_t next = pos + 1;
    while (next < text.size() && !SVGGeoIsCommand(text[next])) ++next;
    StringView args = StringView(text).substr(pos + 1, next - pos - 1);
    std::vector<String> tokens = TokenizePathCommand(text[pos], args);
    if (SVGGeoIsCommand(text[pos])) SplitRepeatedCommand(tokens);
    for (auto& t : tokens) all.push_back(std::move(t));
    pos = next;
  }
  return all;
}

void TAdvGraphicsSVGImport::ArcToBezier(TAdvGraphicsPath& APath, TPointF AStart, TPointF AEnd, Single ARx,
                                        Single ARy, Single ARotation, bool ALargeArc, bool ASweep) {
  if (AStart == AEnd) return;
  auto line = [&] {
    if (APath.Count() == 0)
      APath.MoveTo(AStart);
    else
      APath.LineTo(AStart);
    APath.LineTo(AEnd);
  };
  if (ARx == 0 || ARy == 0) return line();
  double rx = std::fabs(ARx), ry = std::fabs(ARy);
  const double phi = ARotation * kSVGGeoPi / 180, cosP = std::cos(phi), sinP = std::sin(phi);
  const double x1 = AStart.X, y1 = AStart.Y, x2 = AEnd.X, y2 = AEnd.Y;
  const double dx = (x1 - x2) / 2, dy = (y1 - y2) / 2;
  const double x1p = cosP * dx + sinP * dy, y1p = -sinP * dx + cosP * dy;
  const double rx2 = rx * rx, ry2 = ry * ry;
  const double R = rx2 * ry2 - rx2 * y1p * y1p - ry2 * x1p * x1p;
  double coef = 0;
  if (R >= 0) {
    const double den = rx2 * y1p * y1p + ry2 * x1p * x1p;
    coef = (ALargeArc == ASweep ? -1 : 1) * (den > 0 ? std::sqrt(R / den) : 0);
  } else {
    const double k = std::sqrt(1 - R / (rx2 * ry2));
    rx *= k, ry *= k;
  }
  const double cxp = coef * rx * y1p / ry, cyp = -coef * ry * x1p / rx;
  const double cx = cosP * cxp - sinP * cyp + (x1 + x2) / 2, cy = sinP * cxp + cosP * cyp + (y1 + y2) / 2;
  auto angle = [](double ux, double uy, double vx, double vy) {
    double a = std::atan2(vy, vx) - std::atan2(uy, ux);
    while (a < 0) a += 2 * kSVGGeoPi;
    while (a >= 2 * kSVGGeoPi) a -= 2 * kSVGGeoPi;
    return a;
  };
  const double ux = (x1p - cxp) / rx, uy = (y1p - cyp) / ry, vx = (-x1p - cxp) / rx, vy = (-y1p - cyp) / ry;
  const double theta1 = angle(1, 0, ux, uy);
  double dtheta = angle(ux, uy, vx, vy);
  if (!ASweep && dtheta > 0) dtheta -= 2 * kSVGGeoPi;
  if (ASweep && dtheta < 0) dtheta += 2 * kSVGGeoPi;
  // Non-finite numbers (from extreme coordinates) draw the chord.
  if (!std::isfinite(dtheta) || !std::isfinite(theta1) || !std::isfinite(cx) || !std::isfinite(cy)) return line();
  const int n = int(std::ceil(std::fabs(dtheta) / (kSVGGeoPi / 2)));
  if (n <= 0) return;  // a zero sweep adds nothing
  const double delta = dtheta / n;
  const double t = 8.0 / 3.0 * std::sin(delta / 4) * std::sin(delta / 4) / std::sin(delta / 2);
  double theta = theta1;
  TPointF p0 = AStart;
  for (int i = 0; i < n; ++i) {
    const double th2 = theta + delta;
    const TPointF e{Single(cosP * rx * std::cos(th2) - sinP * ry * std::sin(th2) + cx),
                    Single(sinP * rx * std::cos(th2) + cosP * ry * std::sin(th2) + cy)};
    const TPointF c1{Single(p0.X + t * (-cosP * rx * std::sin(theta) - sinP * ry * std::cos(theta))),
                     Single(p0.Y + t * (-sinP * rx * std::sin(theta) + cosP * ry * std::cos(theta)))};
    const TPointF c2{Single(e.X + t * (cosP * rx * std::sin(th2) + sinP * ry * std::cos(th2))),
                     Single(e.Y + t * (sinP * rx * std::sin(th2) - cosP * ry * std::cos(th2)))};
    if (APath.Count() > 0)
      APath.LineTo(p0);
    else
      APath.MoveTo(p0);
    APath.CurveTo(c1, c2, e);
    p0 = e;
    theta = th2;
  }
}

void TAdvGraphicsSVGImport::BuildPathData(TAdvGraphicsSVGElement* E, StringView AText) {
  const std::vector<String> tokens = ParsePathData(AText);
  TPointF cur, lastCtrl;
  Char prev = 0;
  Single slot[7] = {0, 0, 0, 0, 0, 0, 0};
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const String& tok = tokens[i];
    if (tok.size() != 1 || !SVGGeoIsCommand(tok[0])) continue;
    const Char cmd = tok[0];
    const bool rel = cmd >= u'a';
    for (std::size_t k = 0; k < 7 && i + 1 + k < tokens.size(); ++k) SVGStrToFloat(tokens[i + 1 + k], slot[k]);
    auto pt = [&](int k) { return rel ? TPointF{cur.X + slot[k], cur.Y + slot[k + 1]} : TPointF{slot[k], slot[k + 1]}; };
    TAdvGraphicsPath* path = E->ActivePath();
    const bool smooth = prev && StringView(u"CcSsQqTt").find(prev) != StringView::npos;
    const TPointF reflected{2 * cur.X - lastCtrl.X, 2 * cur.Y - lastCtrl.Y};
    switch (cmd) {
      case u'M': case u'm': {
        const TPointF p = pt(0);
        E->Paths().push_back(std::make_unique<TAdvGraphicsPath>());
        E->Paths().back()->MoveTo(p);
        cur = p;
        break;
      }
      case u'L': case u'l': {
        const TPointF p = pt(0);
        if (path) path->LineTo(p);
        cur = p;
        break;
      }
      case u'H': case u'h': {
        const TPointF p{rel ? cur.X + slot[0] : slot[0], cur.Y};
        if (path) path->LineTo(p);
        cur = p;
        break;
      }
      case u'V': case u'v': {
        const TPointF p{cur.X, rel ? cur.Y + slot[0] : slot[0]};
        if (path) path->LineTo(p);
        cur = p;
        break;
      }
      case u'C': case u'c': {
        const TPointF c1 = pt(0), c2 = pt(2), p = pt(4);
        if (path) path->CurveTo(c1, c2, p);
        lastCtrl = c2, cur = p;
        break;
      }
      case u'S': case u's': {
        const TPointF c1 = smooth ? reflected : cur, c2 = pt(0), p = pt(2);
        if (path) path->CurveTo(c1, c2, p);
        lastCtrl = c2, cur = p;
        break;
      }
      case u'Q': case u'q': {
        const TPointF c = pt(0), p = pt(2);
        if (path) path->CurveTo(c, c, p);
        lastCtrl = c, cur = p;
        break;
      }
      case u'T': case u't': {
        const TPointF c = smooth ? reflected : cur, p = pt(0);
        if (path) path->CurveTo(c, c, p);
        lastCtrl = c, cur = p;
        break;
      }
      case u'A': case u'a': {
        const TPointF p = pt(5);
        if (path)
          // Flags compared as numbers: any float a document writes is safe here.
          ArcToBezier(*path, cur, p, std::fabs(slot[0]), std::fabs(slot[1]), slot[2], std::trunc(slot[3]) == 1,
                      std::trunc(slot[4]) == 1);
        cur = p;
        break;
      }
      case u'Z': case u'z':
        if (path) {
          path->ClosePath();
          cur = path->LastPoint();
        }
        break;
      default:
        break;
    }
    prev = cmd;
  }
}

void TAdvGraphicsSVGImport::BuildPoints(TAdvGraphicsSVGElement* E, StringView AText, bool AClose) {
  String text;
  text.reserve(AText.size() + 16);
  for (Char c : AText) {
    // A minus starts a new number, except after an exponent's "e".
    if (c == u'-' && !(text.size() && (text.back() == u'e' || text.back() == u'E'))) text.push_back(u' ');
    text.push_back(c == u',' ? u' ' : c);
  }
  const std::vector<String> pieces = SVGGeoSplitBlank(text, false);
  if (pieces.empty() || pieces.size() % 2 != 0) return;
  auto path = std::make_unique<TAdvGraphicsPath>();
  for (std::size_t i = 0; i + 1 < pieces.size(); i += 2) {
    Single x = 0, y = 0;
    SVGStrToFloat(pieces[i], x);
    SVGStrToFloat(pieces[i + 1], y);
    if (i == 0)
      path->MoveTo({x, y});
    else
      path->LineTo({x, y});
  }
  if (AClose) path->ClosePath();
  E->Paths().push_back(std::move(path));
}

bool TAdvGraphicsSVGImport::ParseViewBox(StringView AText, TRectF& ARect) {
  const std::vector<String> parts = SVGGeoSplitBlank(AText, true);
  if (parts.size() != 4) return false;
  Single v[4];
  for (int i = 0; i < 4; ++i)
    if (!SVGStrToFloat(parts[i], v[i])) return false;
  ARect = RectF(v[0], v[1], v[0] + v[2], v[1] + v[3]);
  return true;
}

namespace {
bool SVGGeoPassesTransform(const TAdvGraphicsSVGElement* E) {
  const TAdvGraphicsSVGElementType t = E->Type();
  return t == etContainer || t == etText || t == etTextSpan || t == etTextPath;
}
}  // namespace

TAdvGraphicsMatrix TAdvGraphicsSVGImport::GetParentMatrix(const TAdvGraphicsSVGElement* AElement) {
  TAdvGraphicsMatrix m = MatrixIdentity();
  for (const TAdvGraphicsSVGElement* p = AElement ? AElement->Parent() : nullptr; p && SVGGeoPassesTransform(p);
       p = p->Parent())
    if (!IsMatrixEmpty(p->Matrix())) m = MatrixMultiply(m, p->Matrix());
  return m;
}

TAdvGraphicsMatrix TAdvGraphicsSVGImport::GetElementMatrix(const TAdvGraphicsSVGElement* AElement) {
  TAdvGraphicsMatrix m = MatrixIdentity();
  if (AElement && !IsMatrixEmpty(AElement->Matrix())) m = AElement->Matrix();
  return MatrixMultiply(m, GetParentMatrix(AElement));
}

void TAdvGraphicsSVGImport::GrowViewRect(const TAdvGraphicsSVGElement* AElement, const TRectF& ARect) {
  TAdvGraphicsPath p;
  p.AddRectangle(ARect);
  p.ApplyMatrix(GetParentMatrix(AElement));
  const TRectF b = p.GetBounds();
  if (!SVGGeoFinite({b.Left, b.Top}) || !SVGGeoFinite({b.Right, b.Bottom})) return;
  ViewRect = RectF(std::min(ViewRect.Left, b.Left), std::min(ViewRect.Top, b.Top), std::max(ViewRect.Right, b.Right),
                    std::max(ViewRect.Bottom, b.Bottom));
}

void TAdvGraphicsSVGImport::GrowViewRectByPath(const TAdvGraphicsSVGElement* AElement, const TAdvGraphicsPath& APath,
                                               const TAdvGraphicsMatrix& AMatrix) {
  if (APath.Count() == 0) return;
  TAdvGraphicsPath p;
  p.AddPath(APath);
  p.ApplyMatrix(AMatrix);
  GrowViewRect(AElement, p.GetBounds());
}
