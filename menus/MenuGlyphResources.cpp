// The nine glyph bitmaps the styler loads by name. They are drawn here, one
// dark colour on white (the white becomes transparent), so every program that
// links the menus carries them without a resource file.
#include <cmath>

#include "menus/AdvMenuStyler.h"
#include "platform/rtl/StrUtils.h"

namespace {

constexpr TColor kGlyphInk = 0x00000000;
constexpr TColor kGlyphPaper = 0x00FFFFFF;

void GlyphClear(TBitmap* B, Integer W, Integer H) {
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) B->Canvas()->SetPixels(x, y, kGlyphPaper);
}

// A solid triangle pointing right: column x covers the rows within the
// shrinking half-height around the middle.
void GlyphArrow(TBitmap* B, Integer W, Integer H) {
  GlyphClear(B, W, H);
  for (Integer x = 0; x < W; ++x)
    for (Integer y = 0; y < H; ++y)
      if (std::fabs(y + 0.5 - H / 2.0) <= (H / 2.0) * (1.0 - double(x) / W)) B->Canvas()->SetPixels(x, y, kGlyphInk);
}

// A check mark: two strokes of about an eighth of the size.
void GlyphCheck(TBitmap* B, Integer S) {
  GlyphClear(B, S, S);
  const double t = std::max(1.0, S / 8.0);
  auto near = [t](double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    double u = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
    u = std::clamp(u, 0.0, 1.0);
    const double ex = ax + u * dx - px, ey = ay + u * dy - py;
    return ex * ex + ey * ey <= (t / 2) * (t / 2) + 0.25;
  };
  const double s = S;
  for (Integer y = 0; y < S; ++y)
    for (Integer x = 0; x < S; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      if (near(px, py, 0.27 * s, 0.50 * s, 0.42 * s, 0.66 * s) || near(px, py, 0.42 * s, 0.66 * s, 0.73 * s, 0.32 * s))
        B->Canvas()->SetPixels(x, y, kGlyphInk);
    }
}

// A filled dot of D pixels across at the centre.
void GlyphRadio(TBitmap* B, Integer S, Integer D) {
  GlyphClear(B, S, S);
  const double c = S / 2.0, r = D / 2.0;
  for (Integer y = 0; y < S; ++y)
    for (Integer x = 0; x < S; ++x) {
      const double dx = x + 0.5 - c, dy = y + 0.5 - c;
      // The corners of the square of side D are cut to make it round.
      if (std::fabs(dx) < r && std::fabs(dy) < r && dx * dx + dy * dy <= r * r + r * 0.5)
        B->Canvas()->SetPixels(x, y, kGlyphInk);
    }
}

}  // namespace

void LoadMenuGlyphResource(const String& Name, TBitmap* Bitmap) {
  if (Bitmap == nullptr) return;
  const String n = UpperCase(Name);
  if (n == u"ADVSUBMENUITEM") GlyphArrow(Bitmap, 4, 7);
  else if (n == u"ADVSUBMENUITEMX15") GlyphArrow(Bitmap, 6, 10);
  else if (n == u"ADVSUBMENUITEMX20") GlyphArrow(Bitmap, 8, 14);
  else if (n == u"ADVCHECKITEM") GlyphCheck(Bitmap, 16);
  else if (n == u"ADVCHECKITEMX15") GlyphCheck(Bitmap, 24);
  else if (n == u"ADVCHECKITEMX20") GlyphCheck(Bitmap, 32);
  else if (n == u"ADVRADIOITEM") GlyphRadio(Bitmap, 16, 6);
  else if (n == u"ADVRADIOITEMX15") GlyphRadio(Bitmap, 24, 9);
  else if (n == u"ADVRADIOITEMX20") GlyphRadio(Bitmap, 32, 12);
  // The white is what becomes transparent (the arrow's corner pixel is ink).
  if (!Bitmap->Empty()) Bitmap->SetTransparentColor(kGlyphPaper);
}
