// Circular arcs of the geometry library in two and three dimensions. The end angle is kept
// above the start angle (whole turns are added), so that the interval is the arc's sweep.
#include <cmath>

#include "gearc2d.h"
#include "gearc3d.h"

namespace {

constexpr double kTwoPi = 2 * 3.14159265358979323846;

double EndAbove(double start, double end) {
  if (!std::isfinite(start) || !std::isfinite(end)) return end;
  if (end <= start) end += std::ceil((start - end) / kTwoPi + 1e-15) * kTwoPi;
  if (end <= start) end += kTwoPi;
  return end;
}

}  // namespace

AcGeCircArc3d::AcGeCircArc3d() = default;

AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& center, const AcGeVector3d& normal, double radius) {
  set(center, normal, radius);
}

AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& center, const AcGeVector3d& normal,
                             const AcGeVector3d& refVec, double radius, double startAngle,
                             double endAngle) {
  set(center, normal, refVec, radius, startAngle, endAngle);
}

AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& startPoint, const AcGePoint3d& pnt,
                             const AcGePoint3d& endPoint) {
  set(startPoint, pnt, endPoint);
}

AcGeCircArc3d& AcGeCircArc3d::set(const AcGePoint3d& center, const AcGeVector3d& normal,
                                  double radius) {
  const AcGeVector3d n = normal.isZeroLength() ? AcGeVector3d::kZAxis : normal.normal();
  return set(center, n, n.perpVector(), radius, 0, kTwoPi);
}

AcGeCircArc3d& AcGeCircArc3d::set(const AcGePoint3d& center, const AcGeVector3d& normal,
                                  const AcGeVector3d& refVec, double radius, double startAngle,
                                  double endAngle) {
  center_ = center;
  radius_ = radius;
  setAxes(normal, refVec);
  return setAngles(startAngle, endAngle);
}

AcGeCircArc3d& AcGeCircArc3d::set(const AcGePoint3d& startPoint, const AcGePoint3d& pnt,
                                  const AcGePoint3d& endPoint) {
  // The circumcentre of the triangle; its normal is the triangle's, so that the arc runs
  // counter-clockwise from the start through pnt to the end.
  const AcGeVector3d a = pnt - startPoint, b = endPoint - startPoint;
  const AcGeVector3d n = a.crossProduct(b);
  const double n2 = n.lengthSqrd();
  if (n2 <= 1e-300) {
    center_ = startPoint;
    radius_ = 0;
    startAngle_ = 0;
    endAngle_ = 0;
    return *this;
  }
  const AcGeVector3d toCenter =
      (n.crossProduct(a) * b.lengthSqrd() + b.crossProduct(n) * a.lengthSqrd()) / (2 * n2);
  center_ = startPoint + toCenter;
  radius_ = toCenter.length();
  normal_ = n.normal();
  refVec_ = (startPoint - center_).normal();
  startAngle_ = 0;
  endAngle_ = refVec_.angleTo(endPoint - center_, normal_);
  if (endAngle_ <= 0) endAngle_ = kTwoPi;
  return *this;
}

AcGePoint3d AcGeCircArc3d::evalPoint(double angle) const {
  const AcGeVector3d y = normal_.crossProduct(refVec_);
  return center_ + refVec_ * (radius_ * std::cos(angle)) + y * (radius_ * std::sin(angle));
}

bool AcGeCircArc3d::isClosed(const AcGeTol& tol) const {
  return endAngle_ - startAngle_ >= kTwoPi - tol.equalVector() * 1e3;
}

AcGeCircArc3d& AcGeCircArc3d::setAxes(const AcGeVector3d& normal, const AcGeVector3d& refVec) {
  if (!normal.isZeroLength()) normal_ = normal.normal();
  const AcGeVector3d inPlane = refVec - normal_ * refVec.dotProduct(normal_);
  refVec_ = inPlane.isZeroLength() ? normal_.perpVector() : inPlane.normal();
  return *this;
}

AcGeCircArc3d& AcGeCircArc3d::setAngles(double startAngle, double endAngle) {
  startAngle_ = startAngle;
  endAngle_ = EndAbove(startAngle, endAngle);
  return *this;
}

AcGeCircArc3d& AcGeCircArc3d::transformBy(const AcGeMatrix3d& matrix) {
  // Carry the frame: X and Y of the arc map to X' and Y'; the new normal X' x Y' keeps the
  // arc's sense, a mirror included.
  const AcGeVector3d y = normal_.crossProduct(refVec_);
  const AcGeVector3d x2 = matrix * refVec_, y2 = matrix * y;
  center_.transformBy(matrix);
  radius_ *= x2.length();
  normal_ = x2.crossProduct(y2).normal();
  refVec_ = x2.normal();
  return *this;
}

bool AcGeCircArc3d::isEqualTo(const AcGeCircArc3d& other, const AcGeTol& tol) const {
  return center_.isEqualTo(other.center_, tol) &&
         std::abs(radius_ - other.radius_) <= tol.equalPoint() &&
         startPoint().isEqualTo(other.startPoint(), tol) &&
         endPoint().isEqualTo(other.endPoint(), tol) && normal_.isEqualTo(other.normal_, tol);
}

AcGeCircArc2d::AcGeCircArc2d(const AcGePoint2d& center, double radius, double startAngle,
                             double endAngle, const AcGeVector2d& refVec, bool isClockWise) {
  set(center, radius, startAngle, endAngle, refVec, isClockWise);
}

AcGeCircArc2d::AcGeCircArc2d(const AcGePoint2d& startPoint, const AcGePoint2d& pnt,
                             const AcGePoint2d& endPoint) {
  const AcGeCircArc3d arc(AcGePoint3d(startPoint.x, startPoint.y, 0), AcGePoint3d(pnt.x, pnt.y, 0),
                          AcGePoint3d(endPoint.x, endPoint.y, 0));
  center_ = AcGePoint2d(arc.center().x, arc.center().y);
  radius_ = arc.radius();
  clockwise_ = arc.normal().z < 0;
  refVec_ =
      radius_ > 0 ? AcGeVector2d(arc.refVec().x, arc.refVec().y).normal() : AcGeVector2d::kXAxis;
  startAngle_ = 0;
  endAngle_ = arc.endAng();
}

AcGeCircArc2d& AcGeCircArc2d::set(const AcGePoint2d& center, double radius, double startAngle,
                                  double endAngle, const AcGeVector2d& refVec, bool isClockWise) {
  center_ = center;
  radius_ = radius;
  clockwise_ = isClockWise;
  setRefVec(refVec);
  return setAngles(startAngle, endAngle);
}

AcGePoint2d AcGeCircArc2d::evalPoint(double angle) const {
  const AcGeVector2d y =
      clockwise_ ? AcGeVector2d(refVec_.y, -refVec_.x) : AcGeVector2d(-refVec_.y, refVec_.x);
  return center_ + refVec_ * (radius_ * std::cos(angle)) + y * (radius_ * std::sin(angle));
}

AcGeCircArc2d& AcGeCircArc2d::setRefVec(const AcGeVector2d& refVec) {
  refVec_ = refVec.length() > 0 ? refVec.normal() : AcGeVector2d::kXAxis;
  return *this;
}

AcGeCircArc2d& AcGeCircArc2d::setAngles(double startAngle, double endAngle) {
  startAngle_ = startAngle;
  endAngle_ = EndAbove(startAngle, endAngle);
  return *this;
}

bool AcGeCircArc2d::isClosed(const AcGeTol& tol) const {
  return endAngle_ - startAngle_ >= kTwoPi - tol.equalVector() * 1e3;
}
