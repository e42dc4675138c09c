// Bulged planar paths. A segment from p0 to p1 with bulge b (= tan(theta/4)) lies on the
// circle of radius c (1 + b^2) / (4 |b|), c the chord, whose centre is c (1 - b^2) / (4 b) to
// the left of the chord's midpoint; the arc turns counter-clockwise about the normal for b > 0.
#include "PlanarPath.h"

#include <algorithm>
#include <cmath>

#include "CurveMath.h"
#include "dbarcs.h"
#include "dbents.h"

namespace plx::db {

namespace {
constexpr double kStraight = 1e-12;  // bulges below this are straight
}

bool IsArcSegment(const AcGePoint2d& start, const AcGePoint2d& end, double bulge) {
  return std::abs(bulge) > kStraight && !start.isEqualTo(end);
}

BulgeArc ArcOfBulge(const AcGePoint2d& start, const AcGePoint2d& end, double bulge) {
  BulgeArc arc;
  const AcGeVector2d chord = end - start;
  const double c = chord.length();
  const AcGeVector2d left(-chord.y / c, chord.x / c);
  const AcGePoint2d mid = start + chord * 0.5;
  arc.center = mid + left * (c * (1 - bulge * bulge) / (4 * bulge));
  arc.radius = c * (1 + bulge * bulge) / (4 * std::abs(bulge));
  arc.startAngle = std::atan2(start.y - arc.center.y, start.x - arc.center.x);
  arc.sweep = 4 * std::atan(bulge);
  return arc;
}

size_t PlanarPath::SegmentCount() const {
  if (vertices.empty()) return 0;
  return closed ? vertices.size() : vertices.size() - 1;
}

const PathVertex& PlanarPath::SegmentEnd(size_t segment) const {
  return vertices[(segment + 1) % vertices.size()];
}

AcGePoint3d PlanarPath::World(const AcGePoint2d& p) const {
  return OcsToWorld(normal, AcGePoint3d(p.x, p.y, elevation));
}

double PlanarPath::SegmentLength(size_t segment) const {
  const PathVertex& a = vertices[segment];
  const PathVertex& b = SegmentEnd(segment);
  if (!IsArcSegment(a.point, b.point, a.bulge)) return a.point.distanceTo(b.point);
  const BulgeArc arc = ArcOfBulge(a.point, b.point, a.bulge);
  return arc.radius * std::abs(arc.sweep);
}

AcGePoint2d PlanarPath::PointOnSegment(size_t segment, double fraction) const {
  const PathVertex& a = vertices[segment];
  const PathVertex& b = SegmentEnd(segment);
  if (fraction <= 0) return a.point;
  if (fraction >= 1) return b.point;
  if (!IsArcSegment(a.point, b.point, a.bulge)) return a.point + (b.point - a.point) * fraction;
  const BulgeArc arc = ArcOfBulge(a.point, b.point, a.bulge);
  const double angle = arc.startAngle + arc.sweep * fraction;
  return arc.center + AcGeVector2d(std::cos(angle), std::sin(angle)) * arc.radius;
}

AcGeCircArc3d PlanarPath::WorldArc(size_t segment) const {
  const PathVertex& a = vertices[segment];
  const PathVertex& b = SegmentEnd(segment);
  const BulgeArc arc = ArcOfBulge(a.point, b.point, a.bulge);
  AcGeVector3d x, y;
  OcsAxes(normal, x, y);
  const AcGePoint3d center = World(arc.center);
  const AcGeVector3d n = arc.sweep > 0 ? normal : -normal;
  const AcGeVector3d ref = (World(a.point) - center).normal();
  return AcGeCircArc3d(center, n, ref, arc.radius, 0, std::abs(arc.sweep));
}

Acad::ErrorStatus PlanarPath::PointAtParam(double param, AcGePoint3d& point) const {
  const double end = static_cast<double>(SegmentCount());
  if (vertices.empty() || !std::isfinite(param) || param < -kParamSlack ||
      param > end + kParamSlack)
    return Acad::eInvalidInput;
  if (SegmentCount() == 0) {
    point = World(vertices[0].point);
    return Acad::eOk;
  }
  const double t = std::clamp(param, 0.0, end);
  const size_t segment = std::min(static_cast<size_t>(t), SegmentCount() - 1);
  point = World(PointOnSegment(segment, t - static_cast<double>(segment)));
  return Acad::eOk;
}

Acad::ErrorStatus PlanarPath::DistAtParam(double param, double& dist) const {
  const double end = static_cast<double>(SegmentCount());
  if (vertices.empty() || !std::isfinite(param) || param < -kParamSlack ||
      param > end + kParamSlack)
    return Acad::eInvalidInput;
  const double t = std::clamp(param, 0.0, end);
  dist = 0;
  size_t segment = 0;
  for (; segment < SegmentCount() && static_cast<double>(segment + 1) <= t; ++segment)
    dist += SegmentLength(segment);
  // Length grows in proportion to the parameter within a segment, on arcs as on lines.
  if (segment < SegmentCount()) dist += SegmentLength(segment) * (t - static_cast<double>(segment));
  return Acad::eOk;
}

Acad::ErrorStatus PlanarPath::Extents(AcDbExtents& extents) const {
  if (vertices.empty()) return Acad::eInvalidExtents;
  AcDbExtents box;
  for (const PathVertex& v : vertices) box.addPoint(World(v.point));
  AcGeVector3d x, y;
  OcsAxes(normal, x, y);
  for (size_t s = 0; s < SegmentCount(); ++s) {
    const PathVertex& a = vertices[s];
    const PathVertex& b = SegmentEnd(s);
    if (!IsArcSegment(a.point, b.point, a.bulge)) continue;
    const BulgeArc arc = ArcOfBulge(a.point, b.point, a.bulge);
    const double t0 = arc.sweep > 0 ? arc.startAngle : arc.startAngle + arc.sweep;
    AddEllipticExtents(box, World(arc.center), x * arc.radius, y * arc.radius, t0,
                       t0 + std::abs(arc.sweep));
  }
  extents = box;
  return Acad::eOk;
}

double PlanarPath::SignedArea() const {
  double twice = 0;
  for (size_t i = 0; i < vertices.size(); ++i) {
    const PathVertex& a = vertices[i];
    const PathVertex& b = vertices[(i + 1) % vertices.size()];
    twice += a.point.x * b.point.y - b.point.x * a.point.y;
    // Closing the path as the area does: the last segment's bulge counts when closed.
    if ((closed || i + 1 < vertices.size()) && IsArcSegment(a.point, b.point, a.bulge)) {
      const BulgeArc arc = ArcOfBulge(a.point, b.point, a.bulge);
      // The circular segment between chord and arc, signed with the sweep.
      const double theta = std::abs(arc.sweep);
      const double segment = 0.5 * arc.radius * arc.radius * (theta - std::sin(theta));
      twice += 2 * (arc.sweep > 0 ? segment : -segment);
    }
  }
  return twice;
}

Acad::ErrorStatus PlanarPath::Transform(const AcGeMatrix3d& matrix) {
  bool arcs = false;
  for (size_t s = 0; s < SegmentCount(); ++s)
    if (IsArcSegment(vertices[s].point, SegmentEnd(s).point, vertices[s].bulge)) arcs = true;
  const bool uniform = matrix.isUniScaledOrtho();
  if (arcs && !uniform) return Acad::eCannotScaleNonUniformly;
  AcGeVector3d x, y;
  OcsAxes(normal, x, y);
  const CarriedFrame frame = CarryFrame(matrix, x, y);
  const double areaScale = frame.xAxis.crossProduct(frame.yAxis).length();
  if (!(areaScale > 0) || !std::isfinite(areaScale)) return Acad::eInvalidInput;
  const double widthScale = uniform ? frame.xAxis.length() : std::sqrt(areaScale);
  const AcGeMatrix3d toPlane = AcGeMatrix3d::worldToPlane(frame.normal);
  std::vector<PathVertex> moved = vertices;
  double newElevation = elevation;
  for (size_t i = 0; i < moved.size(); ++i) {
    const AcGePoint3d p = toPlane * (matrix * World(vertices[i].point));
    moved[i].point = AcGePoint2d(p.x, p.y);
    moved[i].startWidth *= widthScale;
    moved[i].endWidth *= widthScale;
    if (i == 0) newElevation = p.z;
  }
  if (moved.empty()) newElevation = (toPlane * (matrix * World(AcGePoint2d()))).z;
  // The new normal keeps the sense of every arc, so bulges stay as they are.
  vertices = std::move(moved);
  elevation = newElevation;
  normal = frame.normal;
  return Acad::eOk;
}

void PlanarPath::Explode(const AcDbEntity& owner, AcDbVoidPtrArray& entities) const {
  for (size_t s = 0; s < SegmentCount(); ++s) {
    const PathVertex& a = vertices[s];
    const PathVertex& b = SegmentEnd(s);
    if (a.point.isEqualTo(b.point)) continue;
    AcDbEntity* piece = nullptr;
    if (IsArcSegment(a.point, b.point, a.bulge)) {
      const BulgeArc arc = ArcOfBulge(a.point, b.point, a.bulge);
      // The arc entity turns counter-clockwise about the polyline's normal: a clockwise
      // segment is the same arc from its end angle to its start angle.
      const double from = arc.sweep > 0 ? arc.startAngle : arc.startAngle + arc.sweep;
      const double to = from + std::abs(arc.sweep);
      piece = new AcDbArc(World(arc.center), normal, arc.radius, from, to);
    } else {
      auto* line = new AcDbLine(World(a.point), World(b.point));
      line->setNormal(normal);
      piece = line;
    }
    piece->setPropertiesFrom(&owner);
    entities.append(piece);
  }
}

}  // namespace plx::db
