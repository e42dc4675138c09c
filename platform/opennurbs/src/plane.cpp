// Lines, planes, circles, arcs and ellipses. The plane through a point with a normal takes
// openNURBS's perpendicular as its x axis (ON_PerpendicularTo), which is not the host's
// arbitrary-axis rule: circles start where openNURBS starts them.
#include "opennurbs/plane.h"

#include <cmath>

#include "opennurbs/nurbs.h"

namespace {

ON_3dVector Unit(ON_3dVector v) {
  v.Unitize();
  return v;
}

// True when some angle a + 2 pi k lies in [t0, t1].
bool AngleInInterval(double a, double t0, double t1) {
  const double k = std::ceil((t0 - a) / (2.0 * ON_PI));
  return a + k * 2.0 * ON_PI <= t1;
}

// Grows box by the points of the circle's arc [t0, t1] that are extreme in x, y or z.
void AddArcExtremes(const ON_Circle& circle, double t0, double t1, ON_BoundingBox& box) {
  box.Set(circle.PointAt(t0), true);
  box.Set(circle.PointAt(t1), true);
  const ON_Plane& p = circle.plane;
  for (int k = 0; k < 3; ++k) {
    if (p.xaxis[k] == 0.0 && p.yaxis[k] == 0.0) continue;
    const double a = std::atan2(p.yaxis[k], p.xaxis[k]);
    if (AngleInInterval(a, t0, t1)) box.Set(circle.PointAt(a), true);
    if (AngleInInterval(a + ON_PI, t0, t1)) box.Set(circle.PointAt(a + ON_PI), true);
  }
}

}  // namespace

bool ON_PerpendicularTo(const ON_3dVector& v, ON_3dVector& perp) {
  const double x = v.x, y = v.y, z = v.z;
  const double ax = std::fabs(x), ay = std::fabs(y), az = std::fabs(z);
  ON_3dVector p;
  if (ay > ax) {
    if (az > ay)
      p = {0.0, z, -y};
    else if (az >= ax)
      p = {0.0, -z, y};
    else
      p = {y, -x, 0.0};
  } else {
    if (az > ax)
      p = {z, 0.0, -x};
    else if (az > ay)
      p = {-z, 0.0, x};
    else
      p = {-y, x, 0.0};
  }
  if (!p.Unitize()) return false;
  perp = p;
  return true;
}

ON_BoundingBox ON_3dPointArray::BoundingBox() const {
  ON_BoundingBox box;
  for (int i = 0; i < Count(); ++i) box.Set((*this)[i], true);
  return box;
}

bool ON_Polyline::IsValid(double tolerance) const {
  if (Count() < 2) return false;
  for (int i = 0; i < Count(); ++i) {
    if (!(*this)[i].IsValid()) return false;
    if (i > 0 && (*this)[i].DistanceTo((*this)[i - 1]) <= tolerance) return false;
  }
  return true;
}

bool ON_Polyline::IsClosed(double tolerance) const {
  return Count() >= 4 && (*this)[0].DistanceTo((*this)[Count() - 1]) <= tolerance;
}

double ON_Polyline::Length() const {
  double length = 0.0;
  for (int i = 1; i < Count(); ++i) length += (*this)[i].DistanceTo((*this)[i - 1]);
  return length;
}

ON_3dVector ON_Line::Tangent() const {
  ON_3dVector d = Direction();
  if (!d.Unitize()) return {};
  return d;
}

ON_3dPoint ON_Line::PointAt(double t) const {
  // Exact at both ends.
  const double s = 1.0 - t;
  return {s * from.x + t * to.x, s * from.y + t * to.y, s * from.z + t * to.z};
}

const ON_Plane ON_Plane::World_xy;

ON_Plane::ON_Plane() : origin(0, 0, 0), xaxis(1, 0, 0), yaxis(0, 1, 0), zaxis(0, 0, 1) {}

ON_Plane::ON_Plane(const ON_3dPoint& o, const ON_3dVector& normal) { CreateFromNormal(o, normal); }

ON_Plane::ON_Plane(const ON_3dPoint& o, const ON_3dVector& x_dir, const ON_3dVector& y_dir) {
  CreateFromFrame(o, x_dir, y_dir);
}

bool ON_Plane::CreateFromNormal(const ON_3dPoint& o, const ON_3dVector& normal) {
  origin = o;
  zaxis = normal;
  if (!zaxis.Unitize() || !ON_PerpendicularTo(zaxis, xaxis)) {
    xaxis = yaxis = zaxis = ON_3dVector();
    return false;
  }
  yaxis = Unit(ON_CrossProduct(zaxis, xaxis));
  return true;
}

bool ON_Plane::CreateFromFrame(const ON_3dPoint& o, const ON_3dVector& x_dir,
                               const ON_3dVector& y_dir) {
  origin = o;
  xaxis = x_dir;
  // The y axis is y_dir made perpendicular to the x axis.
  if (xaxis.Unitize()) {
    yaxis = y_dir - ON_DotProduct(y_dir, xaxis) * xaxis;
    if (yaxis.Unitize()) {
      zaxis = Unit(ON_CrossProduct(xaxis, yaxis));
      return true;
    }
  }
  xaxis = yaxis = zaxis = ON_3dVector();
  return false;
}

bool ON_Plane::IsValid() const {
  if (!origin.IsValid() || !xaxis.IsValid() || !yaxis.IsValid() || !zaxis.IsValid()) return false;
  constexpr double tol = 1e-8;
  if (std::fabs(xaxis.Length() - 1.0) > tol || std::fabs(yaxis.Length() - 1.0) > tol ||
      std::fabs(zaxis.Length() - 1.0) > tol)
    return false;
  if (std::fabs(ON_DotProduct(xaxis, yaxis)) > tol ||
      std::fabs(ON_DotProduct(yaxis, zaxis)) > tol || std::fabs(ON_DotProduct(zaxis, xaxis)) > tol)
    return false;
  return ON_DotProduct(ON_CrossProduct(xaxis, yaxis), zaxis) > 0.0;
}

bool ON_Plane::ClosestPointTo(const ON_3dPoint& point, double* s, double* t) const {
  const ON_3dVector d = point - origin;
  if (s) *s = ON_DotProduct(d, xaxis);
  if (t) *t = ON_DotProduct(d, yaxis);
  return true;
}

ON_Circle::ON_Circle() = default;

ON_Circle::ON_Circle(const ON_Plane& p, double r) { Create(p, r); }

ON_Circle::ON_Circle(const ON_Plane& p, const ON_3dPoint& center, double r) {
  Create(p, center, r);
}

ON_Circle::ON_Circle(const ON_3dPoint& center, const ON_3dVector& normal, double r) {
  Create(ON_Plane(center, normal), r);
}

bool ON_Circle::Create(const ON_Plane& p, double r) {
  plane = p;
  radius = r;
  return IsValid();
}

bool ON_Circle::Create(const ON_Plane& p, const ON_3dPoint& center, double r) {
  plane = p;
  plane.origin = center;
  radius = r;
  return IsValid();
}

bool ON_Circle::IsValid() const { return std::isfinite(radius) && radius > 0.0 && plane.IsValid(); }

double ON_Circle::Circumference() const { return 2.0 * ON_PI * std::fabs(radius); }

ON_3dPoint ON_Circle::PointAt(double t) const {
  return plane.origin + (radius * std::cos(t)) * plane.xaxis + (radius * std::sin(t)) * plane.yaxis;
}

ON_3dVector ON_Circle::TangentAt(double t) const {
  return Unit(-std::sin(t) * plane.xaxis + std::cos(t) * plane.yaxis);
}

bool ON_Circle::ClosestPointTo(const ON_3dPoint& point, double* t) const {
  double u = 0.0, v = 0.0;
  plane.ClosestPointTo(point, &u, &v);
  if (u == 0.0 && v == 0.0) return false;
  double a = std::atan2(v, u);
  if (a < 0.0) a += 2.0 * ON_PI;
  if (a >= 2.0 * ON_PI) a = 0.0;
  if (t) *t = a;
  return true;
}

ON_BoundingBox ON_Circle::BoundingBox() const {
  ON_BoundingBox box;
  AddArcExtremes(*this, 0.0, 2.0 * ON_PI, box);
  return box;
}

ON_Arc::ON_Arc() = default;

ON_Arc::ON_Arc(const ON_Circle& circle, double angle) { Create(circle, angle); }

ON_Arc::ON_Arc(const ON_Circle& circle, const ON_Interval& angles) { Create(circle, angles); }

ON_Arc::ON_Arc(const ON_Plane& p, const ON_3dPoint& center, double r, double angle) {
  Create(p, center, r, angle);
}

bool ON_Arc::Create(const ON_Circle& circle, double angle) {
  return Create(circle, ON_Interval(0.0, angle));
}

bool ON_Arc::Create(const ON_Circle& circle, const ON_Interval& angles) {
  if (!angles.IsValid() || !angles.IsIncreasing() ||
      angles.Length() > 2.0 * ON_PI + ON_ZERO_TOLERANCE)
    return false;
  plane = circle.plane;
  radius = circle.radius;
  m_angle = angles;
  return IsValid();
}

bool ON_Arc::Create(const ON_Plane& p, const ON_3dPoint& center, double r, double angle) {
  return Create(ON_Circle(p, center, r), angle);
}

bool ON_Arc::IsValid() const {
  return ON_Circle::IsValid() && m_angle.IsValid() && m_angle.IsIncreasing() &&
         m_angle.Length() <= 2.0 * ON_PI + ON_ZERO_TOLERANCE;
}

bool ON_Arc::IsCircle() const {
  return std::fabs(m_angle.Length() - 2.0 * ON_PI) <= ON_ZERO_TOLERANCE;
}

double ON_Arc::AngleDegrees() const { return AngleRadians() * 180.0 / ON_PI; }

bool ON_Arc::SetAngleRadians(double angle) {
  return SetAngleIntervalRadians(ON_Interval(m_angle[0], m_angle[0] + angle));
}

bool ON_Arc::SetAngleIntervalRadians(const ON_Interval& angles) {
  if (!angles.IsValid() || !angles.IsIncreasing() ||
      angles.Length() > 2.0 * ON_PI + ON_ZERO_TOLERANCE)
    return false;
  m_angle = angles;
  return true;
}

ON_BoundingBox ON_Arc::BoundingBox() const {
  ON_BoundingBox box;
  AddArcExtremes(*this, m_angle[0], m_angle[1], box);
  return box;
}

ON_Ellipse::ON_Ellipse() = default;

ON_Ellipse::ON_Ellipse(const ON_Plane& p, double r0, double r1) { Create(p, r0, r1); }

bool ON_Ellipse::Create(const ON_Plane& p, double r0, double r1) {
  plane = p;
  radius[0] = r0;
  radius[1] = r1;
  return IsValid();
}

bool ON_Ellipse::IsValid() const {
  return plane.IsValid() && std::isfinite(radius[0]) && std::isfinite(radius[1]) &&
         radius[0] > 0.0 && radius[1] > 0.0;
}

ON_3dPoint ON_Ellipse::PointAt(double t) const {
  return plane.origin + (radius[0] * std::cos(t)) * plane.xaxis +
         (radius[1] * std::sin(t)) * plane.yaxis;
}

int ON_Ellipse::GetNurbForm(ON_NurbsCurve& nurbs_curve) const {
  if (!IsValid()) return 0;
  const ON_3dVector x = radius[0] * plane.xaxis;
  const ON_3dVector y = radius[1] * plane.yaxis;
  const ON_3dPoint& c = plane.origin;
  // The corners of the bounding rectangle carry the weight sqrt(1/2).
  const ON_3dPoint cv[9] = {c + x,     c + x + y, c + y,     c - x + y, c - x,
                            c - x - y, c - y,     c + x - y, c + x};
  if (!nurbs_curve.Create(3, true, 3, 9)) return 0;
  for (int i = 0; i < 9; ++i) {
    nurbs_curve.SetCV(i, cv[i]);
    if (i % 2 == 1) nurbs_curve.SetWeight(i, ON_SQRT1_2);
  }
  const double knots[10] = {0.0,   0.0,         0.5 * ON_PI, 0.5 * ON_PI, ON_PI,
                            ON_PI, 1.5 * ON_PI, 1.5 * ON_PI, 2.0 * ON_PI, 2.0 * ON_PI};
  for (int i = 0; i < 10; ++i) nurbs_curve.SetKnot(i, knots[i]);
  return 1;
}
