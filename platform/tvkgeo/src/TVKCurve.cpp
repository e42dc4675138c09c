// TVKCurve: which simple curve a NURBS curve is. Tolerances are relative to the size of the
// curve (the diagonal of its control points' box): a curve within one part in 10^8 of its size
// of a line, circle or arc is taken as one; a curve further off (a cubic through points of a
// circle strays by about one part in a thousand) is not.
//
// A line or polyline is a degree-1 curve: its control points are its vertices. A circle or arc
// is a rational quadratic: it is sampled densely in every knot span, a circle is put through
// three samples far apart, and every sample must lie on it and turn one way round its centre.
#include <algorithm>
#include <cmath>
#include <vector>

#include "TVKGeo.h"

namespace {

constexpr double kRelativeTolerance = 1e-8;
constexpr int kSamplesPerSpan = 16;

double SizeOf(const ON_NurbsCurve& curve) {
  const ON_BoundingBox box = curve.BoundingBox();
  if (!box.IsValid()) return 0.0;
  return box.m_min.DistanceTo(box.m_max);
}

double ToleranceOf(const ON_NurbsCurve& curve) {
  return std::max(SizeOf(curve) * kRelativeTolerance, 1e-12);
}

bool Finite(const ON_3dPoint& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// The degree-1 curve's control points, repeated points dropped; false for another curve.
bool VerticesOf(const ON_Curve* curve, std::vector<ON_3dPoint>& points, double& tolerance) {
  const auto* nurbs = dynamic_cast<const ON_NurbsCurve*>(curve);
  if (!nurbs || nurbs->Degree() != 1 || nurbs->CVCount() < 2 || !nurbs->IsValid()) return false;
  tolerance = ToleranceOf(*nurbs);
  for (int i = 0; i < nurbs->CVCount(); ++i) {
    ON_3dPoint p;
    if (!nurbs->GetCV(i, p) || !Finite(p)) return false;
    if (points.empty() || p.DistanceTo(points.back()) > tolerance) points.push_back(p);
  }
  return points.size() >= 2;
}

// Every point lies on the segment from the first to the last, in order along it.
bool IsStraight(const std::vector<ON_3dPoint>& points, double tolerance) {
  const ON_3dPoint& a = points.front();
  const ON_3dVector d = points.back() - a;
  const double length = d.Length();
  if (length <= tolerance) return false;
  const ON_3dVector u = (1.0 / length) * d;
  double previous = 0.0;
  for (const ON_3dPoint& p : points) {
    const ON_3dVector v = p - a;
    const double along = ON_DotProduct(v, u);
    if ((v - along * u).Length() > tolerance) return false;
    if (along < previous - tolerance || along > length + tolerance) return false;
    previous = along;
  }
  return true;
}

struct CircleFit {
  ON_3dPoint centre;
  ON_3dVector normal;  // the curve runs counter-clockwise about it
  ON_3dVector xaxis;   // towards the start point
  double radius = 0.0;
  double sweep = 0.0;
  bool closed = false;
};

// The circle through three points; false when they are (nearly) collinear.
bool Circumcircle(const ON_3dPoint& a, const ON_3dPoint& b, const ON_3dPoint& c, ON_3dPoint& centre,
                  ON_3dVector& normal) {
  const ON_3dVector ab = b - a, ac = c - a;
  const ON_3dVector n = ON_CrossProduct(ab, ac);
  const double n2 = ON_DotProduct(n, n);
  if (!(n2 > 0.0)) return false;
  const ON_3dVector offset = (1.0 / (2.0 * n2)) * (ON_DotProduct(ac, ac) * ON_CrossProduct(n, ab) +
                                                   ON_DotProduct(ab, ab) * ON_CrossProduct(ac, n));
  centre = a + offset;
  normal = (1.0 / std::sqrt(n2)) * n;
  return true;
}

// A rational quadratic that runs round one circle, one way, less than a full turn more than
// once; false for any other curve.
bool FitCircle(const ON_Curve* curve, CircleFit& fit) {
  const auto* nurbs = dynamic_cast<const ON_NurbsCurve*>(curve);
  if (!nurbs || nurbs->Degree() != 2 || !nurbs->IsRational() || !nurbs->IsValid()) return false;
  const double tolerance = ToleranceOf(*nurbs);

  // Samples at every distinct knot of the domain and evenly between them.
  std::vector<double> knots;
  const ON_Interval domain = nurbs->Domain();
  for (int i = 0; i < nurbs->KnotCount(); ++i) {
    const double k = nurbs->Knot(i);
    if (k >= domain[0] && k <= domain[1] && (knots.empty() || k > knots.back())) knots.push_back(k);
  }
  if (knots.size() < 2) return false;
  std::vector<ON_3dPoint> samples;
  for (size_t s = 0; s + 1 < knots.size(); ++s)
    for (int j = 0; j < kSamplesPerSpan; ++j)
      samples.push_back(nurbs->PointAt(knots[s] + (knots[s + 1] - knots[s]) * j / kSamplesPerSpan));
  samples.push_back(nurbs->PointAt(knots.back()));
  for (const ON_3dPoint& p : samples)
    if (!Finite(p)) return false;

  const ON_3dPoint& start = samples.front();
  const ON_3dPoint& end = samples.back();
  fit.closed = start.DistanceTo(end) <= tolerance;
  const size_t n = samples.size() - 1;
  // A closed curve is fitted through points a third of the way round; an open one through its
  // ends and its middle.
  const ON_3dPoint& b = samples[fit.closed ? n / 3 : n / 2];
  const ON_3dPoint& c = fit.closed ? samples[2 * n / 3] : end;
  if (!Circumcircle(start, b, c, fit.centre, fit.normal)) return false;
  fit.radius = fit.centre.DistanceTo(start);
  if (!(fit.radius > tolerance) || !std::isfinite(fit.radius)) return false;
  fit.xaxis = (1.0 / fit.radius) * (start - fit.centre);
  const ON_3dVector yaxis = ON_CrossProduct(fit.normal, fit.xaxis);

  double previous = 0.0;
  double turned = 0.0;
  for (size_t i = 0; i < samples.size(); ++i) {
    const ON_3dVector v = samples[i] - fit.centre;
    if (std::fabs(ON_DotProduct(v, fit.normal)) > tolerance) return false;
    if (std::fabs(v.Length() - fit.radius) > tolerance) return false;
    if (i == 0) continue;
    double angle = std::atan2(ON_DotProduct(v, yaxis), ON_DotProduct(v, fit.xaxis));
    if (angle < 0.0) angle += 2.0 * ON_PI;
    // The turn since the last sample, which is small: samples are dense.
    double step = angle - previous;
    if (step < -ON_PI) step += 2.0 * ON_PI;
    if (step > ON_PI) step -= 2.0 * ON_PI;
    if (step < -tolerance / fit.radius) return false;  // turning back
    turned += step;
    previous = angle;
  }
  if (fit.closed) {
    if (std::fabs(turned - 2.0 * ON_PI) > 1e-6) return false;
    turned = 2.0 * ON_PI;
  }
  if (!(turned > 0.0) || turned > 2.0 * ON_PI + 1e-6) return false;
  fit.sweep = std::min(turned, 2.0 * ON_PI);
  return true;
}

ON_Plane PlaneOf(const CircleFit& fit) {
  ON_Plane plane;
  plane.origin = fit.centre;
  plane.xaxis = fit.xaxis;
  plane.zaxis = fit.normal;
  plane.yaxis = ON_CrossProduct(fit.normal, fit.xaxis);
  return plane;
}

}  // namespace

int TVKCurve::IsLine(const ON_Curve* curve, ON_Line& line) {
  std::vector<ON_3dPoint> points;
  double tolerance = 0.0;
  if (!VerticesOf(curve, points, tolerance) || !IsStraight(points, tolerance)) return 0;
  line.from = curve->PointAtStart();
  line.to = curve->PointAtEnd();
  return 1;
}

int TVKCurve::IsPolyline(const ON_Curve* curve, ON_Polyline& polyline) {
  std::vector<ON_3dPoint> points;
  double tolerance = 0.0;
  if (!VerticesOf(curve, points, tolerance)) return 0;
  ON_Polyline result;
  for (const ON_3dPoint& p : points) result.Append(p);
  if (curve->IsClosed() && result.Count() >= 3) result[result.Count() - 1] = result[0];
  polyline = result;
  return 1;
}

int TVKCurve::IsCircle(const ON_Curve* curve, ON_Circle& circle) {
  CircleFit fit;
  if (!FitCircle(curve, fit) || !fit.closed) return 0;
  circle.plane = PlaneOf(fit);
  circle.radius = fit.radius;
  return 1;
}

int TVKCurve::IsArc(const ON_Curve* curve, ON_Arc& arc) {
  CircleFit fit;
  if (!FitCircle(curve, fit)) return 0;
  arc.plane = PlaneOf(fit);
  arc.radius = fit.radius;
  arc.m_angle = ON_Interval(0.0, fit.sweep);
  return 1;
}
