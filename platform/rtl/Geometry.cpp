#include "platform/rtl/Geometry.h"

int SetRect(TRect* r, int l, int t, int rr, int b) {
  if (!r) return 0;
  *r = {l, t, rr, b};
  return 1;
}

int SetRectEmpty(TRect* r) { return SetRect(r, 0, 0, 0, 0); }

int OffsetRect(TRect* r, int dx, int dy) {
  if (!r) return 0;
  r->Left += dx; r->Right += dx; r->Top += dy; r->Bottom += dy;
  return 1;
}

int InflateRect(TRect* r, int dx, int dy) {
  if (!r) return 0;
  r->Left -= dx; r->Right += dx; r->Top -= dy; r->Bottom += dy;
  return 1;
}

int IntersectRect(TRect* dest, const TRect* a, const TRect* b) {
  if (!dest || !a || !b) return 0;
  TRect r{std::max(a->Left, b->Left), std::max(a->Top, b->Top), std::min(a->Right, b->Right),
          std::min(a->Bottom, b->Bottom)};
  if (r.IsEmpty()) {
    *dest = {};
    return 0;
  }
  *dest = r;
  return 1;
}

int UnionRect(TRect* dest, const TRect* a, const TRect* b) {
  if (!dest || !a || !b) return 0;
  if (a->IsEmpty() && b->IsEmpty()) {
    *dest = {};
    return 0;
  }
  if (a->IsEmpty()) { *dest = *b; return 1; }
  if (b->IsEmpty()) { *dest = *a; return 1; }
  *dest = {std::min(a->Left, b->Left), std::min(a->Top, b->Top), std::max(a->Right, b->Right),
           std::max(a->Bottom, b->Bottom)};
  return 1;
}

int IsRectEmpty(const TRect* r) { return !r || r->IsEmpty(); }
int PtInRect(const TRect* r, TPoint p) { return r && r->Contains(p); }
int EqualRect(const TRect* a, const TRect* b) { return a && b && *a == *b; }

int CopyRect(TRect* dest, const TRect* src) {
  if (!dest || !src) return 0;
  *dest = *src;
  return 1;
}
