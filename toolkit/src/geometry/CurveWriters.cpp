// Curve writers. The host's spline wants the textbook knot vector (order + control points
// knots); openNURBS keeps two fewer, leaving out the first and the last, so those are written
// once more.
#include "toolkit/CurveWriters.h"

#include "TVKGeo.h"
#include "geometry/AppendEntity.h"
#include "geometry/GeometryModule.h"
#include "toolkit/EntityWriters.h"

namespace {

AcGePoint3d ToAcGe(const ON_3dPoint& p) { return AcGePoint3d(p.x, p.y, p.z); }

}  // namespace

int NurbsCurveToSpline(const ON_NurbsCurve& curve, AcDbSpline* spline) {
  AcGePoint3dArray points(curve.CVCount());
  AcGeDoubleArray weights(curve.CVCount());
  for (int i = 0; i < curve.CVCount(); ++i) {
    ON_3dPoint p;
    curve.GetCV(i, p);
    points.append(ToAcGe(p));
    weights.append(curve.Weight(i));
  }
  const int n = curve.KnotCount();
  AcGeDoubleArray knots(n + 2);
  if (n > 0) {
    knots.append(curve.Knot(0));
    for (int i = 0; i < n; ++i) knots.append(curve.Knot(i));
    knots.append(curve.Knot(n - 1));
  }
  spline->setNurbsData(curve.Degree(), curve.IsRational() ? 1 : 0, curve.IsClosed() ? 1 : 0,
                       curve.IsPeriodic() ? 1 : 0, points, knots, weights, 0.0, 0.0);
  if (spline->isNull()) {
    GeometryLastError.Set(L"Enable to create Spline");
    return 0;
  }
  return 1;
}

int CurveToEntity(const ON_NurbsCurve& curve, const CString& layer, const AcCmColor& colour) {
  ON_Line line;
  ON_Circle circle;
  ON_Arc arc;
  ON_Polyline polyline;
  if (TVKCurve::IsLine(&curve, line) == 1) return LineToEntity(line, layer, colour);
  if (TVKCurve::IsCircle(&curve, circle) == 1) return CircleToEntity(circle, layer, colour);
  if (TVKCurve::IsArc(&curve, arc) == 1) return ArcToEntity(arc, layer, colour);
  if (TVKCurve::IsPolyline(&curve, polyline) == 1) return PolylineToEntity(polyline, layer, colour);
  auto* spline = new AcDbSpline;
  NurbsCurveToSpline(curve, spline);
  AppendAndClose(spline, layer, colour);
  return 1;
}

int CurveToEntity(const ON_ClassArray<ON_NurbsCurve>& curves, const CString& layer,
                  const AcCmColor& colour) {
  for (int i = 0; i < curves.Count(); ++i) CurveToEntity(curves[i], layer, colour);
  return 1;
}

int FitPointsToSpline(const ON_3dPointArray& points, const CString& layer,
                      const AcCmColor& colour) {
  AcGePoint3dArray fitPoints(points.Count());
  for (int i = 0; i < points.Count(); ++i) fitPoints.append(ToAcGe(points[i]));
  AppendAndClose(new AcDbSpline(fitPoints, 4, 0.0), layer, colour);
  return 1;
}
