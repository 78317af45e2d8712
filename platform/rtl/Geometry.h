#pragma once
// Points, sizes and rectangles as the class library and Windows lay them out.
// Rectangles are half-open: Right and Bottom are one past the last pixel.
#include <algorithm>

#include "platform/rtl/Types.h"

struct TPoint {
  Integer X = 0;
  Integer Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  Integer cx = 0;
  Integer cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;

  Integer Width() const { return Right - Left; }
  Integer Height() const { return Bottom - Top; }
  TPoint TopLeft() const { return {Left, Top}; }
  TPoint BottomRight() const { return {Right, Bottom}; }
  // True when the rectangle covers no pixel.
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  // True when (X, Y) lies inside, right and bottom edges excluded.
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

// Float points, sizes and rectangles of the class library (vector pictures).
struct TPointF {
  Single X = 0;
  Single Y = 0;
  friend bool operator==(const TPointF&, const TPointF&) = default;
};

struct TSizeF {
  Single cx = 0;
  Single cy = 0;
  friend bool operator==(const TSizeF&, const TSizeF&) = default;
};

struct TRectF {
  Single Left = 0;
  Single Top = 0;
  Single Right = 0;
  Single Bottom = 0;

  Single Width() const { return Right - Left; }
  Single Height() const { return Bottom - Top; }
  friend bool operator==(const TRectF&, const TRectF&) = default;
};

inline TRectF RectF(Single l, Single t, Single r, Single b) { return {l, t, r, b}; }
inline TPointF PointF(Single x, Single y) { return {x, y}; }

using POINT = TPoint;
using SIZE = TSize;
using RECT = TRect;

inline TPoint Point(Integer x, Integer y) { return {x, y}; }
inline TRect Rect(Integer l, Integer t, Integer r, Integer b) { return {l, t, r, b}; }
inline TRect Bounds(Integer l, Integer t, Integer w, Integer h) { return {l, t, l + w, t + h}; }

// The user32 rectangle helpers. Each answers false (0) for a null argument.
int SetRect(TRect* r, int l, int t, int rr, int b);
int SetRectEmpty(TRect* r);
int OffsetRect(TRect* r, int dx, int dy);
int InflateRect(TRect* r, int dx, int dy);
// Dest := the overlap of A and B; an empty overlap gives (0,0,0,0) and answers 0.
int IntersectRect(TRect* dest, const TRect* a, const TRect* b);
// Dest := the smallest rectangle holding both; empty inputs are ignored.
int UnionRect(TRect* dest, const TRect* a, const TRect* b);
int IsRectEmpty(const TRect* r);
int PtInRect(const TRect* r, TPoint p);
int EqualRect(const TRect* a, const TRect* b);
int CopyRect(TRect* dest, const TRect* src);
