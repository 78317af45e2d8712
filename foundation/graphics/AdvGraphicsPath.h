#pragma once
// TAdvGraphicsPath: the vector path of the graphics library (moves, lines,
// cubic curves and closes) with builders for curves, arcs, ellipses and
// rounded rectangles, an affine transform, bounds, hit tests and flattening.
// Angles are degrees, positive turning clockwise on the screen.
#include <array>
#include <cstdint>
#include <vector>

#include "foundation/graphics/AdvGraphicsMatrix.h"
#include "foundation/graphics/AdvGraphicsTypes.h"
#include "platform/rtl/Persistent.h"

enum TAdvGraphicsPathPointKind : std::uint8_t { gppMoveTo, gppLineTo, gppCurveTo, gppClose };
enum TAdvGraphicsPathDrawMode { pdmPolygon, pdmPolyline, pdmPath };

struct TAdvGraphicsPathPoint {
  TAdvGraphicsPathPointKind Kind = gppMoveTo;
  bool Dummy = false;
  TPointF Point;
};

using TAdvGraphicsPathPoints = std::vector<TAdvGraphicsPathPoint>;
using TAdvGraphicsPathPolygon = std::vector<TPointF>;
// Start, control point 1, control point 2, end.
using TAdvGraphicsPathCubicBezier = std::array<TPointF, 4>;

class TAdvGraphicsPath : public TPersistent {
 public:
  // An empty path: no points, start (0, 0), not clippable.
  TAdvGraphicsPath() = default;

  // From another path: copies of its points (start point and clippable flag
  // stay); anything else as TPersistent (EConvertError).
  void Assign(TPersistent* Source) override;

  // Removes all points; start point and clippable flag stay.
  void Clear() { FPoints.clear(); }
  Integer Count() const { return Integer(FPoints.size()); }
  // The point at AIndex; an index outside 0..Count-1 raises EArgumentOutOfRangeException.
  const TAdvGraphicsPathPoint& GetPoint(Integer AIndex) const;
  const TAdvGraphicsPathPoints& PathData() const { return FPoints; }
  // The last point, (0, 0) for an empty path.
  TPointF LastPoint() const;
  bool IsClippable() const { return FClippable; }
  bool Clippable() const { return FClippable; }
  void SetClippable(bool Value) { FClippable = Value; }

  void MoveTo(const TPointF& P);
  // Back to the exact start point makes the path clippable.
  void LineTo(const TPointF& P);
  void CurveTo(const TPointF& ControlPoint1, const TPointF& ControlPoint2, const TPointF& EndPoint);
  // The exact cubic form of a quadratic curve from LastPoint.
  void QuadCurveTo(const TPointF& ControlPoint, const TPointF& EndPoint);
  // Control point 1 reflects the previous control point through LastPoint
  // (ControlPoint2 itself on a path of fewer than 3 points).
  void SmoothCurveTo(const TPointF& ControlPoint2, const TPointF& EndPoint);
  // Back to the figure's start; the path becomes clippable.
  void ClosePath();
  void AddLine(const TPointF& StartPoint, const TPointF& EndPoint);
  // LineTo each point (no move, no close).
  void AddPolygon(const TAdvGraphicsPathPolygon& APolygon);
  void AddPath(const TAdvGraphicsPath& APath);
  // Four curves around the ellipse inscribed in ARect; clippable.
  void AddEllipse(const TRectF& ARect);
  // A closed rectangle, with all four corners rounded when a radius is not 0.
  void AddRectangle(const TRectF& ARect, Single ARoundingX = 0, Single ARoundingY = 0);
  // The rounded-rectangle outline rounding only the corners in ACorners.
  void AddRoundRectangle(const TRectF& ARect, Single ARoundingX, Single ARoundingY, TAdvGraphicsCorners ACorners);
  // An elliptical arc in quarter-turn curves; the sweep is clamped to one
  // turn either way, a zero sweep adds nothing.
  void AddArc(const TPointF& Center, const TPointF& Radius, Single StartAngle, Single SweepAngle);

  // Every point, start and close points included, through AMatrix.
  void ApplyMatrix(const TAdvGraphicsMatrix& AMatrix);
  // The box of all points but closes; (0, 0, 0, 0) when empty; a side no
  // longer than 0.001 becomes 0.001.
  TRectF GetBounds() const;

  static TPointF PointOnBezier(const TPointF& StartPoint, double AX, double BX, double CX, double AY, double BY,
                               double CY, double T);
  // PointCount samples at evenly spaced parameters 0..1; 0 leaves Result
  // untouched, 1 gives the start point.
  static void CreateBezier(const TAdvGraphicsPathCubicBezier& Bezier, Integer PointCount,
                           TAdvGraphicsPathPolygon& Result);
  // How many samples a curve needs at this flatness (below 0.05 counts as
  // 0.05): its estimated length over the flatness, rounded.
  static Integer CurvePointCount(const TAdvGraphicsPathCubicBezier& Bezier, Single Flatness);

  // Curves replaced by lines in place.
  void Flatten(Single Flatness = 0.25f);
  // The whole path as one polygon (consecutive points within 0.001 dropped).
  void FlattenToPolygon(TAdvGraphicsPathPolygon& Polygon, Single Flatness = 0.25f) const;
  // Even-odd hit test of the flattened path.
  bool IsPointVisible(const TPointF& P) const;
  // True when R overlaps the flattened path's area: a vertex in R, a corner
  // of R inside the shape, or an edge crossing R.
  bool IsRectVisible(const TRectF& R) const;

 private:
  void AddArcSegment(const TPointF& Center, const TPointF& Radius, Single StartAngle, Single SweepAngle, bool AConnect);

  TPointF FStartPoint;
  bool FClippable = false;
  TAdvGraphicsPathPoints FPoints;
};

// Even-odd rule with a ray towards positive x; false for an empty polygon
// or a point outside its bounding box (edges of the box count as inside).
bool PathPointInPolygon(const TPointF& P, const TAdvGraphicsPathPolygon& APolygon);
// True when a vertex lies in R (left and top edges inside, right and bottom
// outside); false for an empty polygon.
bool AnyPointInRect(const TAdvGraphicsPathPolygon& APolygon, const TRectF& R);
// The working flatness of the flattening routines: Flatness above 0.05, else 0.05.
Single WorkingFlatness(Single Flatness);
