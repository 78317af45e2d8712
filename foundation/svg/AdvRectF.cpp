#include "foundation/svg/AdvRectF.h"

#include <cmath>

#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"

namespace {
// The class library's tolerance for comparing singles.
constexpr Single kSingleResolution = 1e-7f * 1000;

bool SameSingle(Single a, Single b) {
  const Single eps = std::max(std::min(std::fabs(a), std::fabs(b)) * kSingleResolution, kSingleResolution);
  return std::fabs(a - b) <= eps;
}

Single RoundToSingle(double v) { return Single(Round(v)); }
}  // namespace

bool CharIsNumber(Char AChar) {
  if (AChar <= 127) return AChar >= u'0' && AChar <= u'9';
  return IsNumber(AChar);
}

bool OffsetRectF(TRectF& ARect, Single ADX, Single ADY) {
  ARect.Left += ADX;
  ARect.Right += ADX;
  ARect.Top += ADY;
  ARect.Bottom += ADY;
  return true;
}

void InflateRectF(TRectF& ARect, Single ADX, Single ADY) {
  ARect.Left -= ADX;
  ARect.Right += ADX;
  ARect.Top -= ADY;
  ARect.Bottom += ADY;
}

bool PtInRectF(const TRectF& ARect, const TPointF& APoint) {
  return APoint.X >= ARect.Left && APoint.X < ARect.Right && APoint.Y >= ARect.Top && APoint.Y < ARect.Bottom;
}

bool IntersectsWithRectF(const TRectF& A, const TRectF& B) {
  return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

Single RectFWidth(const TRectF& ARect) { return ARect.Right - ARect.Left; }
Single RectFHeight(const TRectF& ARect) { return ARect.Bottom - ARect.Top; }

void CenterRectF(TRectF& ARect, const TRectF& ABounds, TRectF& AResult) {
  OffsetRectF(ARect, -ARect.Left, -ARect.Top);
  OffsetRectF(ARect, RoundToSingle((RectFWidth(ABounds) - RectFWidth(ARect)) / 2.0),
              RoundToSingle((RectFHeight(ABounds) - RectFHeight(ARect)) / 2.0));
  OffsetRectF(ARect, ABounds.Left, ABounds.Top);
  AResult = ARect;
}

TRectF GetCenteredRectF(const TRectF& ARect, const TRectF& ABounds) {
  TRectF r = ARect, result;
  CenterRectF(r, ABounds, result);
  return result;
}

void FitRectF(const TRectF& ARect, const TRectF& ABounds, Single& AScale, TRectF& AResult) {
  if (RectFWidth(ABounds) > 0 && RectFHeight(ABounds) > 0) {
    AScale = std::max(RectFHeight(ARect) / RectFHeight(ABounds), RectFWidth(ARect) / RectFWidth(ABounds));
    TRectF r = RectF(0, 0, RectFWidth(ARect) / AScale, RectFHeight(ARect) / AScale);
    CenterRectF(r, ABounds, AResult);
  } else {
    AScale = 1;
    AResult = ARect;
  }
}

void FitRectF(const TRectF& ARect, const TRectF& ABounds, TRectF& AResult) {
  Single scale = 1;
  FitRectF(ARect, ABounds, scale, AResult);
}

void AlignRectFToPixels(const TRectF& ARect, bool AHalfPixel, TRectF& AResult, Single AScale) {
  const double s = AScale > 0 ? AScale : 1;
  const double w = double(Round(RectFWidth(ARect) * s)) / s;
  const double h = double(Round(RectFHeight(ARect) * s)) / s;
  AResult.Left = Single(double(Trunc(ARect.Left * s)) / s);
  AResult.Top = Single(double(Trunc(ARect.Top * s)) / s);
  AResult.Right = Single(AResult.Left + w);
  AResult.Bottom = Single(AResult.Top + h);
  if (AHalfPixel) OffsetRectF(AResult, Single(1 / (2 * s)), Single(1 / (2 * s)));
}

void IntersectRectF(TRectF& AResult, const TRectF& A, const TRectF& B) {
  AResult = RectF(std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
                  std::min(A.Bottom, B.Bottom));
  if (IsRectFEmpty(AResult)) AResult = TRectF{};
}

bool IsRectFEmpty(const TRectF& ARect) {
  return ARect.Right < ARect.Left || SameSingle(ARect.Right, ARect.Left) || ARect.Bottom < ARect.Top ||
         SameSingle(ARect.Bottom, ARect.Top);
}

Single PointFLength(const TPointF& APoint) { return std::sqrt(APoint.X * APoint.X + APoint.Y * APoint.Y); }

TRect RectFToRect(const TRectF& ARect) {
  return {Integer(Round(ARect.Left)), Integer(Round(ARect.Top)), Integer(Round(ARect.Right)),
          Integer(Round(ARect.Bottom))};
}

TSize SizeFToSize(const TSizeF& ASize) { return {Integer(Round(ASize.cx)), Integer(Round(ASize.cy))}; }

TRectF RectToRectF(const TRect& ARect) {
  return RectF(Single(ARect.Left), Single(ARect.Top), Single(ARect.Right), Single(ARect.Bottom));
}

TPointF PointToPointF(const TPoint& APoint) { return PointF(Single(APoint.X), Single(APoint.Y)); }

void CopyRectI(TRect& ADest, const TRect& ASource) { ADest = ASource; }
