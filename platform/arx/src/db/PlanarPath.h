// A planar path of bulged vertices in the object coordinate system of a normal, at one
// elevation: the geometry shared by the lightweight and the 2D polyline (and hatch loops).
// Segment i runs from vertex i to the next (closed: the last back to the first); parameter k is
// at vertex k; along an arc segment the parameter grows in proportion to the angle.
#pragma once

#include <vector>

#include "dbmain.h"
#include "gearc3d.h"
#include "gepnt2d.h"

namespace plx::db {

struct PathVertex {
  AcGePoint2d point;
  double bulge = 0;
  double startWidth = 0;
  double endWidth = 0;
};

// The circle of a bulged segment in its plane: the arc runs from the start angle through the
// signed sweep (positive counter-clockwise, 4 atan bulge).
struct BulgeArc {
  AcGePoint2d center;
  double radius = 0;
  double startAngle = 0;
  double sweep = 0;
};
BulgeArc ArcOfBulge(const AcGePoint2d& start, const AcGePoint2d& end, double bulge);
bool IsArcSegment(const AcGePoint2d& start, const AcGePoint2d& end, double bulge);

struct PlanarPath {
  std::vector<PathVertex> vertices;
  bool closed = false;
  double elevation = 0;
  AcGeVector3d normal = AcGeVector3d::kZAxis;

  size_t SegmentCount() const;
  const PathVertex& SegmentEnd(size_t segment) const;
  AcGePoint3d World(const AcGePoint2d& p) const;
  double SegmentLength(size_t segment) const;
  AcGePoint2d PointOnSegment(size_t segment, double fraction) const;
  // The arc of an arc segment in world coordinates, counter-clockwise from start to end.
  AcGeCircArc3d WorldArc(size_t segment) const;

  Acad::ErrorStatus PointAtParam(double param, AcGePoint3d& point) const;
  Acad::ErrorStatus DistAtParam(double param, double& dist) const;
  Acad::ErrorStatus Extents(AcDbExtents& extents) const;
  // Twice the signed area enclosed (counter-clockwise positive), arcs included.
  double SignedArea() const;
  // Carries the path through the matrix into the object system of its new normal; widths scale
  // with the plane. eCannotScaleNonUniformly for arcs under a non-uniform map, eInvalidInput for
  // a map that flattens the plane. Nothing changes on failure.
  Acad::ErrorStatus Transform(const AcGeMatrix3d& matrix);
  // New lines and arcs (world coordinates, outside any database), one per segment that has a
  // length; each takes the properties of the owner.
  void Explode(const AcDbEntity& owner, AcDbVoidPtrArray& entities) const;
};

}  // namespace plx::db
