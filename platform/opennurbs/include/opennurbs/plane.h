// ON_Line, ON_Plane, ON_Circle, ON_Arc and ON_Ellipse: the analytic curves and the frame they
// live in. The angle parameter t of a circle or an ellipse runs counter-clockwise about the
// plane's z axis from the plane's x axis.
#pragma once

#include "opennurbs/array.h"
#include "opennurbs/bounding_box.h"
#include "opennurbs/interval.h"
#include "opennurbs/point.h"

class ON_NurbsCurve;

// A unit vector perpendicular to v, chosen from the magnitudes of v's coordinates as openNURBS
// chooses it (so (0, 0, 1) gives (1, 0, 0) and (0, 0, -1) gives (-1, 0, 0)); false, leaving
// perp unchanged, for a zero vector.
bool ON_PerpendicularTo(const ON_3dVector& v, ON_3dVector& perp);

class ON_3dPointArray : public ON_SimpleArray<ON_3dPoint> {
 public:
  using ON_SimpleArray<ON_3dPoint>::ON_SimpleArray;
  ON_BoundingBox BoundingBox() const;
};

// Points joined by straight segments; closed when the last point equals the first.
class ON_Polyline : public ON_3dPointArray {
 public:
  using ON_3dPointArray::ON_3dPointArray;
  int PointCount() const { return Count(); }
  int SegmentCount() const { return Count() > 0 ? Count() - 1 : 0; }
  // At least two points and no segment of zero length.
  bool IsValid(double tolerance = 0.0) const;
  bool IsClosed(double tolerance = 0.0) const;
  double Length() const;
};

class ON_Line {
 public:
  ON_Line() = default;
  ON_Line(const ON_3dPoint& from_pt, const ON_3dPoint& to_pt) : from(from_pt), to(to_pt) {}

  ON_3dPoint& operator[](int i) { return i <= 0 ? from : to; }
  const ON_3dPoint& operator[](int i) const { return i <= 0 ? from : to; }

  // The ends differ and are finite.
  bool IsValid() const { return from != to && from.IsValid() && to.IsValid(); }
  double Length() const { return from.DistanceTo(to); }
  ON_3dVector Direction() const { return to - from; }
  // The unit direction; zero for a line of zero length.
  ON_3dVector Tangent() const;
  // from at 0, to at 1.
  ON_3dPoint PointAt(double t) const;

  ON_3dPoint from;
  ON_3dPoint to;
};

class ON_Plane {
 public:
  // The world xy plane.
  ON_Plane();
  // Through origin with the normal; the x axis is ON_PerpendicularTo(normal).
  ON_Plane(const ON_3dPoint& origin, const ON_3dVector& normal);
  // Through origin with the x axis along x_dir and the y axis in the plane of x_dir and y_dir.
  ON_Plane(const ON_3dPoint& origin, const ON_3dVector& x_dir, const ON_3dVector& y_dir);

  bool CreateFromNormal(const ON_3dPoint& origin, const ON_3dVector& normal);
  bool CreateFromFrame(const ON_3dPoint& origin, const ON_3dVector& x_dir,
                       const ON_3dVector& y_dir);

  // Finite origin and a right-handed orthonormal frame.
  bool IsValid() const;
  const ON_3dPoint& Origin() const { return origin; }
  const ON_3dVector& Xaxis() const { return xaxis; }
  const ON_3dVector& Yaxis() const { return yaxis; }
  const ON_3dVector& Normal() const { return zaxis; }
  void SetOrigin(const ON_3dPoint& p) { origin = p; }
  ON_3dPoint PointAt(double s, double t) const { return origin + s * xaxis + t * yaxis; }
  // The plane coordinates of the point projected onto the plane.
  bool ClosestPointTo(const ON_3dPoint& point, double* s, double* t) const;
  double DistanceTo(const ON_3dPoint& point) const { return ON_DotProduct(point - origin, zaxis); }

  static const ON_Plane World_xy;

  ON_3dPoint origin;
  ON_3dVector xaxis;
  ON_3dVector yaxis;
  ON_3dVector zaxis;
};

class ON_Circle {
 public:
  // The unit circle in the world xy plane.
  ON_Circle();
  // Centred at the plane's origin.
  ON_Circle(const ON_Plane& plane, double radius);
  // The plane moved to center.
  ON_Circle(const ON_Plane& plane, const ON_3dPoint& center, double radius);
  // About center in the plane through center normal to normal.
  ON_Circle(const ON_3dPoint& center, const ON_3dVector& normal, double radius);

  bool Create(const ON_Plane& plane, double radius);
  bool Create(const ON_Plane& plane, const ON_3dPoint& center, double radius);

  bool IsValid() const;
  const ON_3dPoint& Center() const { return plane.origin; }
  const ON_3dVector& Normal() const { return plane.zaxis; }
  const ON_Plane& Plane() const { return plane; }
  double Radius() const { return radius; }
  double Diameter() const { return 2.0 * radius; }
  double Circumference() const;
  ON_3dPoint PointAt(double t) const;
  ON_3dVector TangentAt(double t) const;
  // The angle, in [0, 2pi), of the point's projection onto the plane; false at the centre.
  bool ClosestPointTo(const ON_3dPoint& point, double* t) const;
  ON_BoundingBox BoundingBox() const;

  ON_Plane plane;
  double radius = 1.0;
};

class ON_Arc : public ON_Circle {
 public:
  // The full unit circle.
  ON_Arc();
  ON_Arc(const ON_Circle& circle, double angle_in_radians);
  ON_Arc(const ON_Circle& circle, const ON_Interval& angle_interval_in_radians);
  ON_Arc(const ON_Plane& plane, const ON_3dPoint& center, double radius, double angle_in_radians);

  // The circle cut to the angle interval. Fails for an interval that is not increasing or is
  // longer than 2pi; the arc is then left as it was.
  bool Create(const ON_Circle& circle, double angle_in_radians);
  bool Create(const ON_Circle& circle, const ON_Interval& angle_interval_in_radians);
  bool Create(const ON_Plane& plane, const ON_3dPoint& center, double radius,
              double angle_in_radians);

  bool IsValid() const;
  // The angle interval spans 2pi (within 2^-32).
  bool IsCircle() const;
  double AngleRadians() const { return m_angle.Length(); }
  double AngleDegrees() const;
  const ON_Interval& Domain() const { return m_angle; }
  const ON_Interval& DomainRadians() const { return m_angle; }
  bool SetAngleRadians(double angle_in_radians);
  bool SetAngleIntervalRadians(const ON_Interval& angle_in_radians);
  ON_3dPoint StartPoint() const { return PointAt(m_angle[0]); }
  ON_3dPoint MidPoint() const { return PointAt(0.5 * (m_angle[0] + m_angle[1])); }
  ON_3dPoint EndPoint() const { return PointAt(m_angle[1]); }
  double Length() const { return radius * m_angle.Length(); }
  ON_BoundingBox BoundingBox() const;

  ON_Interval m_angle{0.0, 2.0 * ON_PI};
};

class ON_Ellipse {
 public:
  ON_Ellipse();
  // Centred at the plane's origin, radius r0 along its x axis and r1 along its y axis.
  ON_Ellipse(const ON_Plane& plane, double r0, double r1);
  bool Create(const ON_Plane& plane, double r0, double r1);

  bool IsValid() const;
  bool IsCircle() const { return radius[0] == radius[1]; }
  const ON_3dPoint& Center() const { return plane.origin; }
  double Radius(int i) const { return radius[i <= 0 ? 0 : 1]; }
  ON_3dPoint PointAt(double t) const;
  // The rational quadratic form: 9 control points starting at the end of the x axis, weights
  // 1 and sqrt(1/2) alternating, double knots at 0, pi/2, pi, 3pi/2 and 2pi, domain [0, 2pi].
  // The parameter of that form equals the ellipse's angle parameter only at multiples of
  // pi/4. Returns 1, or 0 (curve unchanged) for an invalid ellipse.
  int GetNurbForm(ON_NurbsCurve& nurbs_curve) const;

  ON_Plane plane;
  double radius[2] = {1.0, 1.0};
};
