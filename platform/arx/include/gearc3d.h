// A circular arc in three dimensions: centre, unit normal, a unit reference vector in the
// plane, radius and an angle interval. Angles (and the parameter, which is the angle) run
// counter-clockwise about the normal from the reference vector; the end angle is above the
// start angle, a full circle spanning 2 pi.
#pragma once

#include "gemat3d.h"
#include "gepnt3d.h"

class AcGeCircArc3d {
 public:
  AcGeCircArc3d();  // the unit circle about the origin in the XY plane
  AcGeCircArc3d(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);
  AcGeCircArc3d(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGeVector3d& refVec,
                double radius, double startAngle = 0, double endAngle = 2 * 3.14159265358979323846);
  // The arc from startPoint through pnt to endPoint; three collinear points give radius 0.
  AcGeCircArc3d(const AcGePoint3d& startPoint, const AcGePoint3d& pnt, const AcGePoint3d& endPoint);

  AcGeCircArc3d& set(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);
  AcGeCircArc3d& set(const AcGePoint3d& center, const AcGeVector3d& normal,
                     const AcGeVector3d& refVec, double radius, double startAngle, double endAngle);
  AcGeCircArc3d& set(const AcGePoint3d& startPoint, const AcGePoint3d& pnt,
                     const AcGePoint3d& endPoint);

  AcGePoint3d center() const { return center_; }
  AcGeVector3d normal() const { return normal_; }
  AcGeVector3d refVec() const { return refVec_; }
  double radius() const { return radius_; }
  double startAng() const { return startAngle_; }
  double endAng() const { return endAngle_; }
  AcGePoint3d startPoint() const { return evalPoint(startAngle_); }
  AcGePoint3d endPoint() const { return evalPoint(endAngle_); }
  // The point at an angle from the reference vector, counter-clockwise about the normal.
  AcGePoint3d evalPoint(double angle) const;
  double length() const { return radius_ * (endAngle_ - startAngle_); }
  bool isClosed(const AcGeTol& tol = AcGeContext::gTol) const;

  AcGeCircArc3d& setCenter(const AcGePoint3d& center) {
    center_ = center;
    return *this;
  }
  AcGeCircArc3d& setRadius(double radius) {
    radius_ = radius;
    return *this;
  }
  // Unit normal and a reference vector made perpendicular to it; zero vectors are ignored.
  AcGeCircArc3d& setAxes(const AcGeVector3d& normal, const AcGeVector3d& refVec);
  // An end angle not above the start angle gains whole turns until it is.
  AcGeCircArc3d& setAngles(double startAngle, double endAngle);
  // Moves, turns and scales uniformly; a mirror keeps the arc by turning its normal over.
  AcGeCircArc3d& transformBy(const AcGeMatrix3d& matrix);
  bool isEqualTo(const AcGeCircArc3d& other, const AcGeTol& tol = AcGeContext::gTol) const;

 private:
  AcGePoint3d center_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  AcGeVector3d refVec_ = AcGeVector3d::kXAxis;
  double radius_ = 1;
  double startAngle_ = 0;
  double endAngle_ = 2 * 3.14159265358979323846;
};
