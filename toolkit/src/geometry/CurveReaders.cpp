// Point and curve entities to openNURBS objects. Circles take the openNURBS plane through the
// centre with the entity's normal, so they start on the x axis openNURBS picks for that
// normal, not on the host's arbitrary axis. Elliptical arcs are built as rational quadratic
// pieces of at most a quarter turn each, one per span between double knots, which are exact
// for an ellipse (the affine image of a circle) and pin both ends to the entity's own points.
#include "toolkit/CurveReaders.h"

#include <cmath>

#include "toolkit/GeometryConversion.h"

namespace {

constexpr double kTwoPi = 2.0 * ON_PI;

// The arc of the circle about center (in the plane normal to normal) that runs
// counter-clockwise from start to end; a full turn when start and end are the same point.
ON_ArcCurve ArcCurveThrough(const AcGePoint3d& center, const AcGeVector3d& normal, double radius,
                            const AcGePoint3d& start, const AcGePoint3d& end) {
  const ON_Circle circle(ON_Plane(AcGePointToONPoint(center), AcGeVectorToONVector(normal)),
                         AcGePointToONPoint(center), radius);
  double a0 = 0.0, a1 = 0.0;
  circle.ClosestPointTo(AcGePointToONPoint(start), &a0);
  circle.ClosestPointTo(AcGePointToONPoint(end), &a1);
  if (start == end || a1 == a0) a1 = a0 + kTwoPi;
  if (a1 < a0) a1 += kTwoPi;
  ON_Arc arc;
  arc.Create(circle, ON_Interval(a0, a1));
  return ON_ArcCurve(arc);
}

// The elliptical arc of e from parameter p0 to p1 (p0 < p1, at most a turn), as a rational
// quadratic curve over [p0, p1] whose first and last control points are start and end.
void EllipticalArc(const ON_Ellipse& e, double p0, double p1, const ON_3dPoint& start,
                   const ON_3dPoint& end, ON_NurbsCurve& curve) {
  const double sweep = p1 - p0;
  int pieces = static_cast<int>(std::ceil(sweep / (0.5 * ON_PI) - 1e-9));
  if (pieces < 1) pieces = 1;
  const double step = sweep / pieces;
  const double half = 0.5 * step;
  curve.Create(3, true, 3, 2 * pieces + 1);
  const ON_3dVector x = e.radius[0] * e.plane.xaxis;
  const ON_3dVector y = e.radius[1] * e.plane.yaxis;
  for (int k = 0; k <= pieces; ++k) {
    const double t = k == pieces ? p1 : p0 + k * step;
    curve.SetCV(2 * k, k == 0 ? start : (k == pieces ? end : e.PointAt(t)));
    curve.SetKnot(2 * k, t);
    if (2 * k + 1 < curve.KnotCount()) curve.SetKnot(2 * k + 1, t);
    if (k == pieces) break;
    // The middle point of a piece is where the tangents at its ends meet, weighted cos(half).
    const double mid = t + half;
    const double scale = 1.0 / std::cos(half);
    curve.SetCV(2 * k + 1,
                e.plane.origin + (scale * std::cos(mid)) * x + (scale * std::sin(mid)) * y);
    curve.SetWeight(2 * k + 1, std::cos(half));
  }
}

// Repeats the first point at the end of a closed polyline's points (not of an empty list).
void CloseIfClosed(const AcDbCurve* curve, ON_3dPointArray& points) {
  if (curve->isClosed() && points.Count() > 0) points.Append(points[0]);
}

template <class Vertex, class Polyline, class ToPoint>
void ReadVertices(Polyline* polyline, ON_3dPointArray& points, ToPoint toPoint) {
  AcDbObjectIterator* it = polyline->vertexIterator();
  if (!it) return;
  for (; !it->done(); it->step(false, true)) {
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, it->objectId(), AcDb::kForRead, false, Vertex::desc()) !=
        Acad::eOk)
      continue;
    points.Append(toPoint(static_cast<Vertex*>(object)->position()));
    object->close();
  }
  delete it;
}

}  // namespace

int PointToONPoint(AcDbPoint* point, ON_Point& onPoint) {
  onPoint = ON_Point(AcGePointToONPoint(point->position()));
  return 1;
}

int LineToLineCurve(AcDbLine* line, ON_LineCurve& lineCurve) {
  lineCurve =
      ON_LineCurve(AcGePointToONPoint(line->startPoint()), AcGePointToONPoint(line->endPoint()));
  return 1;
}

int RayToLineCurve(AcDbRay* ray, ON_LineCurve& lineCurve) {
  const ON_3dPoint base = AcGePointToONPoint(ray->basePoint());
  const ON_3dVector direction = AcGeVectorToONVector(ray->unitDir());
  lineCurve = ON_LineCurve(base, base + direction);
  return 1;
}

int XlineToLineCurve(AcDbXline* xline, ON_LineCurve& lineCurve) {
  const ON_3dPoint base = AcGePointToONPoint(xline->basePoint());
  const ON_3dVector direction = AcGeVectorToONVector(xline->unitDir());
  lineCurve = ON_LineCurve(base + direction, base - direction);
  return 1;
}

int CircleToArcCurve(AcDbCircle* circle, ON_ArcCurve& arcCurve) {
  const ON_3dPoint center = AcGePointToONPoint(circle->center());
  const ON_Plane plane(center, AcGeVectorToONVector(circle->normal()));
  arcCurve = ON_ArcCurve(ON_Circle(plane, center, circle->radius()));
  return 1;
}

int ArcToArcCurve(AcDbArc* arc, ON_ArcCurve& arcCurve) {
  AcGePoint3d start, end;
  arc->getStartPoint(start);
  arc->getEndPoint(end);
  arcCurve = ArcCurveThrough(arc->center(), arc->normal(), arc->radius(), start, end);
  return 1;
}

int EllipseToNurbsCurve(AcDbEllipse* ellipse, ON_NurbsCurve& nurbsCurve) {
  const ON_3dVector major = AcGeVectorToONVector(ellipse->majorAxis());
  const ON_3dVector minor = AcGeVectorToONVector(ellipse->minorAxis());
  const ON_Plane plane(AcGePointToONPoint(ellipse->center()), major, minor);
  const ON_Ellipse e(plane, major.Length(), minor.Length());
  e.GetNurbForm(nurbsCurve);
  if (ellipse->isClosed()) return 1;
  const double p0 = ellipse->paramAtAngle(ellipse->startAngle());
  double p1 = ellipse->paramAtAngle(ellipse->endAngle());
  // The arc runs counter-clockwise from p0: an end at or below the start lies a turn further.
  if (!(p1 > p0)) p1 += kTwoPi;
  AcGePoint3d start, end;
  ellipse->getStartPoint(start);
  ellipse->getEndPoint(end);
  EllipticalArc(e, p0, p1, AcGePointToONPoint(start), AcGePointToONPoint(end), nurbsCurve);
  nurbsCurve.SetDomain(p0, p1);
  return 1;
}

int PolylineToPolyCurve(AcDbPolyline* polyline, ON_PolyCurve& polyCurve) {
  AcGeLineSeg3d line;
  AcGeCircArc3d arc;
  for (unsigned int i = 0; i < polyline->numVerts(); ++i) {
    switch (polyline->segType(i)) {
      case AcDbPolyline::kLine:
        polyline->getLineSegAt(i, line);
        polyCurve.Append(new ON_LineCurve(AcGePointToONPoint(line.startPoint()),
                                          AcGePointToONPoint(line.endPoint())));
        break;
      case AcDbPolyline::kArc:
        polyline->getArcSegAt(i, arc);
        polyCurve.Append(new ON_ArcCurve(ArcCurveThrough(arc.center(), arc.normal(), arc.radius(),
                                                         arc.startPoint(), arc.endPoint())));
        break;
      default: break;
    }
  }
  return 1;
}

int SplineToNurbsCurve(AcDbSpline* spline, ON_NurbsCurve& nurbsCurve) {
  int degree = 0;
  Adesk::Boolean rational = false, closed = false, periodic = false;
  AcGePoint3dArray controlPoints;
  AcGeDoubleArray knots, weights;
  double controlPtTol = 0.0, knotTol = 0.0;
  spline->getNurbsData(degree, rational, closed, periodic, controlPoints, knots, weights,
                       controlPtTol, knotTol);
  const int count = controlPoints.length();
  ON_3dPointArray points(static_cast<size_t>(count > 0 ? count : 0));
  for (int i = 0; i < count; ++i) points.Append(AcGePointToONPoint(controlPoints[i]));
  nurbsCurve.CreateClampedUniformNurbs(3, degree + 1, count, points.Array(), 1.0);
  // The host's vector has one knot more at each end than openNURBS keeps.
  for (int j = 1; j <= knots.length() - 2; ++j) nurbsCurve.SetKnot(j - 1, knots[j]);
  return 1;
}

int PolylineToPolylineCurve(AcDbPolyline* polyline, ON_PolylineCurve& polylineCurve) {
  ON_3dPointArray points;
  for (unsigned int i = 0; i < polyline->numVerts(); ++i) {
    AcGePoint3d point;
    polyline->getPointAt(i, point);
    points.Append(AcGePointToONPoint(point));
  }
  CloseIfClosed(polyline, points);
  polylineCurve = ON_PolylineCurve(points);
  return 1;
}

int Polyline2dToPolylineCurve(AcDb2dPolyline* polyline, ON_PolylineCurve& polylineCurve) {
  ON_3dPointArray points;
  const double elevation = polyline->elevation();
  ReadVertices<AcDb2dVertex>(polyline, points, [elevation](const AcGePoint3d& p) {
    return ON_3dPoint(p.x, p.y, elevation);
  });
  CloseIfClosed(polyline, points);
  polylineCurve = ON_PolylineCurve(points);
  return 1;
}

int Polyline3dToPolylineCurve(AcDb3dPolyline* polyline, ON_PolylineCurve& polylineCurve) {
  ON_3dPointArray points;
  ReadVertices<AcDb3dPolylineVertex>(polyline, points, AcGePointToONPoint);
  CloseIfClosed(polyline, points);
  polylineCurve = ON_PolylineCurve(points);
  return 1;
}

ON_3dPointArray PointsToPointArray(const AcGePoint3dArray& points) {
  ON_3dPointArray result(static_cast<size_t>(points.length() > 0 ? points.length() : 0));
  for (int i = 0; i < points.length(); ++i) result.Append(AcGePointToONPoint(points[i]));
  return result;
}
