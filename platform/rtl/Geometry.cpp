#include "platform/rtl/Geometry.h"

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

int CopyRect(TRect* dest, const TRect* src) {
  if (!dest || !src) return 0;
  *dest = *src;
  return 1;
}
