#pragma once
// Float rectangle arithmetic and conversions of the picture unit. "Rounded"
// is to nearest with halves to even.
#include "platform/rtl/Geometry.h"

// "0".."9" up to code 127; above it the Unicode number categories.
bool CharIsNumber(Char AChar);
bool OffsetRectF(TRectF& ARect, Single ADX, Single ADY);
// Left and Right move outwards by ADX, Top and Bottom by ADY.
void InflateRectF(TRectF& ARect, Single ADX, Single ADY);
// Left and top edges inside, right and bottom outside.
bool PtInRectF(const TRectF& ARect, const TPointF& APoint);
bool IntersectsWithRectF(const TRectF& A, const TRectF& B);
Single RectFWidth(const TRectF& ARect);
Single RectFHeight(const TRectF& ARect);
// ARect moved to ABounds' centre (halves of the size differences rounded).
void CenterRectF(TRectF& ARect, const TRectF& ABounds, TRectF& AResult);
TRectF GetCenteredRectF(const TRectF& ARect, const TRectF& ABounds);
// ARect scaled down to fit ABounds and centred; bounds without positive
// width and height give scale 1 and ARect unchanged.
void FitRectF(const TRectF& ARect, const TRectF& ABounds, Single& AScale, TRectF& AResult);
void FitRectF(const TRectF& ARect, const TRectF& ABounds, TRectF& AResult);
// Snapped to whole pixels at AScale (1 when not positive), moved by half a pixel with AHalfPixel.
void AlignRectFToPixels(const TRectF& ARect, bool AHalfPixel, TRectF& AResult, Single AScale = 1);
// The overlap; an empty one becomes (0, 0, 0, 0).
void IntersectRectF(TRectF& AResult, const TRectF& A, const TRectF& B);
// Right <= Left or Bottom <= Top, with the class library's float tolerance.
bool IsRectFEmpty(const TRectF& ARect);
Single PointFLength(const TPointF& APoint);
TRect RectFToRect(const TRectF& ARect);
TSize SizeFToSize(const TSizeF& ASize);
TRectF RectToRectF(const TRect& ARect);
TPointF PointToPointF(const TPoint& APoint);
void CopyRectI(TRect& ADest, const TRect& ASource);
