// A circular arc in two dimensions: centre, radius, angle interval from a reference vector,
// counter-clockwise unless isClockWise (then the angles run clockwise from the reference).
#pragma once

#include "gepnt2d.h"

class AcGeCircArc2d {
 public:
  AcGeCircArc2d() = default;  // the unit circle about the origin
  AcGeCircArc2d(const AcGePoint2d& center, double radius, double startAngle = 0,
                double endAngle = 2 * 3.14159265358979323846,
                const AcGeVector2d& refVec = AcGeVector2d::kXAxis, bool isClockWise = false);
  // The arc from startPoint through pnt to endPoint; collinear points give radius 0.
  AcGeCircArc2d(const AcGePoint2d& startPoint, const AcGePoint2d& pnt, const AcGePoint2d& endPoint);

  AcGeCircArc2d& set(const AcGePoint2d& center, double radius, double startAngle, double endAngle,
                     const AcGeVector2d& refVec = AcGeVector2d::kXAxis, bool isClockWise = false);

  AcGePoint2d center() const { return center_; }
  double radius() const { return radius_; }
  double startAng() const { return startAngle_; }
  double endAng() const { return endAngle_; }
  bool isClockWise() const { return clockwise_; }
  AcGeVector2d refVec() const { return refVec_; }
  AcGePoint2d startPoint() const { return evalPoint(startAngle_); }
  AcGePoint2d endPoint() const { return evalPoint(endAngle_); }
  AcGePoint2d evalPoint(double angle) const;
  AcGeCircArc2d& setCenter(const AcGePoint2d& center) {
    center_ = center;
    return *this;
  }
  AcGeCircArc2d& setRadius(double radius) {
    radius_ = radius;
    return *this;
  }
  AcGeCircArc2d& setRefVec(const AcGeVector2d& refVec);
  AcGeCircArc2d& setAngles(double startAngle, double endAngle);
  bool isClosed(const AcGeTol& tol = AcGeContext::gTol) const;

 private:
  AcGePoint2d center_;
  double radius_ = 1;
  double startAngle_ = 0;
  double endAngle_ = 2 * 3.14159265358979323846;
  AcGeVector2d refVec_ = AcGeVector2d::kXAxis;
  bool clockwise_ = false;
};
