// Rays, construction lines, arcs and ellipses: parameters, points, lengths, tight boxes,
// transforms and LIST lines. Arc angles are measured in the object coordinate system of the
// normal (arbitrary-axis rule); ellipse parameters t place a point at centre + cos t major +
// sin t minor, and its angle a satisfies tan a = ratio tan t in the same quadrant.
#include <algorithm>
#include <cmath>

#include "Access.h"
#include "CurveMath.h"
#include "dbarcs.h"
#include "win32/text.h"

using namespace plx::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbRay, AcDbCurve, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, RAY,
                        ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbXline, AcDbCurve, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, XLINE,
                        ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbArc, AcDbCurve, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, ARC,
                        ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbEllipse, AcDbCurve, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0,
                        ELLIPSE, ACAD)

namespace {

double Degrees(double radians) { return radians * 180.0 / kPi; }

// Carries a base point and unit direction through a transform; a matrix that flattens the
// direction gives eInvalidInput.
Acad::ErrorStatus TransformLine(AcGePoint3d& base, AcGeVector3d& dir, const AcGeMatrix3d& matrix) {
  const AcGeVector3d d = matrix * dir;
  if (d.isZeroLength()) return Acad::eInvalidInput;
  base.transformBy(matrix);
  dir = d.normal();
  return Acad::eOk;
}

bool UsableDirection(const AcGeVector3d& v) { return Finite(v) && !v.isZeroLength(); }

}  // namespace

// Rays.

Acad::ErrorStatus AcDbRay::setBasePoint(const AcGePoint3d& point) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(point)) return Acad::eInvalidInput;
  base_ = point;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbRay::setUnitDir(const AcGeVector3d& direction) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!UsableDirection(direction)) return Acad::eInvalidInput;
  dir_ = direction.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbRay::setSecondPoint(const AcGePoint3d& point) {
  return setUnitDir(point - base_);
}

Acad::ErrorStatus AcDbRay::getStartParam(double& param) const {
  param = 0;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbRay::getStartPoint(AcGePoint3d& point) const {
  point = base_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbRay::getPointAtParam(double param, AcGePoint3d& point) const {
  if (!Finite(param) || param < -kParamSlack) return Acad::eInvalidInput;
  point = base_ + dir_ * param;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbRay::getParamAtPoint(const AcGePoint3d& point, double& param) const {
  const double t = (point - base_).dotProduct(dir_);
  if (t < -kParamSlack || !point.isEqualTo(base_ + dir_ * t)) return Acad::ePointNotOnEntity;
  param = std::max(t, 0.0);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbRay::getDistAtParam(double param, double& dist) const {
  if (!Finite(param) || param < -kParamSlack) return Acad::eInvalidInput;
  dist = std::max(param, 0.0);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbRay::getGeomExtents(AcDbExtents&) const { return Acad::eInvalidExtents; }

Acad::ErrorStatus AcDbRay::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  return TransformLine(base_, dir_, matrix);
}

void AcDbRay::ListGeometry() const {
  ListLine(L"              base point, " + ListPoint(base_));
  ListLine(L"            unit direction, " + ListVector(dir_));
}

// Construction lines.

Acad::ErrorStatus AcDbXline::setBasePoint(const AcGePoint3d& point) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(point)) return Acad::eInvalidInput;
  base_ = point;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbXline::setUnitDir(const AcGeVector3d& direction) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!UsableDirection(direction)) return Acad::eInvalidInput;
  dir_ = direction.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbXline::setSecondPoint(const AcGePoint3d& point) {
  return setUnitDir(point - base_);
}

Acad::ErrorStatus AcDbXline::getPointAtParam(double param, AcGePoint3d& point) const {
  if (!Finite(param)) return Acad::eInvalidInput;
  point = base_ + dir_ * param;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbXline::getParamAtPoint(const AcGePoint3d& point, double& param) const {
  const double t = (point - base_).dotProduct(dir_);
  if (!point.isEqualTo(base_ + dir_ * t)) return Acad::ePointNotOnEntity;
  param = t;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbXline::getGeomExtents(AcDbExtents&) const { return Acad::eInvalidExtents; }

Acad::ErrorStatus AcDbXline::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  return TransformLine(base_, dir_, matrix);
}

void AcDbXline::ListGeometry() const {
  ListLine(L"              base point, " + ListPoint(base_));
  ListLine(L"            unit direction, " + ListVector(dir_));
}

// Arcs.

AcDbArc::AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
    : AcDbArc(center, AcGeVector3d::kZAxis, radius, startAngle, endAngle) {}

AcDbArc::AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius,
                 double startAngle, double endAngle)
    : center_(center),
      normal_(normal.isZeroLength() ? AcGeVector3d::kZAxis : normal.normal()),
      radius_(radius),
      start_(NormalizeAngle(startAngle)),
      end_(NormalizeAngle(endAngle)) {}

Acad::ErrorStatus AcDbArc::setCenter(const AcGePoint3d& center) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(center)) return Acad::eInvalidInput;
  center_ = center;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setRadius(double radius) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(radius) || radius <= 0) return Acad::eInvalidInput;
  radius_ = radius;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setNormal(const AcGeVector3d& normal) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!UsableDirection(normal)) return Acad::eInvalidInput;
  normal_ = normal.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setStartAngle(double angle) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(angle)) return Acad::eInvalidInput;
  start_ = NormalizeAngle(angle);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setEndAngle(double angle) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(angle)) return Acad::eInvalidInput;
  end_ = NormalizeAngle(angle);
  return Acad::eOk;
}

double AcDbArc::totalAngle() const { return Sweep(start_, end_); }

Acad::ErrorStatus AcDbArc::setThickness(double thickness) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  thickness_ = thickness;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getStartParam(double& param) const {
  param = start_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getEndParam(double& param) const {
  param = start_ + totalAngle();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getStartPoint(AcGePoint3d& point) const {
  return getPointAtParam(start_, point);
}

Acad::ErrorStatus AcDbArc::getEndPoint(AcGePoint3d& point) const {
  return getPointAtParam(start_ + totalAngle(), point);
}

Acad::ErrorStatus AcDbArc::getPointAtParam(double param, AcGePoint3d& point) const {
  if (!Finite(param) || param < start_ - kParamSlack || param > start_ + totalAngle() + kParamSlack)
    return Acad::eInvalidInput;
  AcGeVector3d x, y;
  OcsAxes(normal_, x, y);
  point = center_ + x * (radius_ * std::cos(param)) + y * (radius_ * std::sin(param));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getParamAtPoint(const AcGePoint3d& point, double& param) const {
  AcGeVector3d x, y;
  OcsAxes(normal_, x, y);
  const AcGeVector3d d = point - center_;
  const double angle = NormalizeAngle(std::atan2(d.dotProduct(y), d.dotProduct(x)));
  double t = start_ + NormalizeAngle(angle - start_);
  // A point just before the start angle would otherwise come out a whole turn later.
  if (t > start_ + totalAngle() + kParamSlack && t - kTwoPi >= start_ - 1e-9) t -= kTwoPi;
  AcGePoint3d on;
  AcGeTol loose;
  loose.setEqualPoint(1e-9 * std::max(1.0, radius_));
  if (getPointAtParam(t, on) != Acad::eOk || !on.isEqualTo(point, loose)) return Acad::ePointNotOnEntity;
  param = t;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getDistAtParam(double param, double& dist) const {
  if (!Finite(param) || param < start_ - kParamSlack || param > start_ + totalAngle() + kParamSlack)
    return Acad::eInvalidInput;
  dist = std::max(0.0, (param - start_) * radius_);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getGeomExtents(AcDbExtents& extents) const {
  AcGeVector3d x, y;
  OcsAxes(normal_, x, y);
  extents = AcDbExtents();
  AddEllipticExtents(extents, center_, x * radius_, y * radius_, start_, start_ + totalAngle());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!matrix.isUniScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  AcGeVector3d x, y;
  OcsAxes(normal_, x, y);
  const CarriedFrame frame = CarryFrame(matrix, x, y);
  // The old X axis lands at some angle in the new object system: every angle shifts by it.
  AcGeVector3d x2, y2;
  OcsAxes(frame.normal, x2, y2);
  const double shift = std::atan2(frame.xAxis.dotProduct(y2), frame.xAxis.dotProduct(x2));
  const double sweep = totalAngle();
  center_.transformBy(matrix);
  radius_ *= frame.xAxis.length();
  normal_ = frame.normal;
  start_ = NormalizeAngle(start_ + shift);
  // Through the sweep, so that a full turn stays one.
  end_ = NormalizeAngle(start_ + sweep);
  return Acad::eOk;
}

void AcDbArc::ListGeometry() const {
  ListLine(L"            center point, " + ListPoint(center_));
  ListLine(plx::FormatWide(L"            radius %10.4f", radius_));
  ListLine(plx::FormatWide(L"               length %10.4f", length()));
  ListLine(plx::FormatWide(L"            start angle %8.0f", Degrees(start_)));
  ListLine(plx::FormatWide(L"              end angle %8.0f", Degrees(end_)));
  if (!normal_.isEqualTo(AcGeVector3d::kZAxis))
    ListLine(L"           normal, " + ListVector(normal_));
}

// Ellipses.

AcDbEllipse::AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                         const AcGeVector3d& majorAxis, double radiusRatio, double startAngle,
                         double endAngle) {
  // A constructor cannot report: bad data leave a null ellipse, as isNull tells.
  set(center, unitNormal, majorAxis, radiusRatio, startAngle, endAngle);
}

Acad::ErrorStatus AcDbEllipse::set(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                                   const AcGeVector3d& majorAxis, double radiusRatio,
                                   double startAngle, double endAngle) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(center) || !UsableDirection(unitNormal) || !UsableDirection(majorAxis) ||
      !Finite(radiusRatio) || radiusRatio <= 0 || radiusRatio > 1 + 1e-12 || !Finite(startAngle) ||
      !Finite(endAngle))
    return Acad::eInvalidInput;
  const AcGeVector3d n = unitNormal.normal();
  if (std::abs(n.dotProduct(majorAxis.normal())) > 1e-9) return Acad::eInvalidInput;
  center_ = center;
  normal_ = n;
  major_ = majorAxis - n * n.dotProduct(majorAxis);
  ratio_ = std::min(radiusRatio, 1.0);
  start_ = NormalizeAngle(startAngle);
  sweep_ = Sweep(startAngle, endAngle);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::get(AcGePoint3d& center, AcGeVector3d& unitNormal,
                                   AcGeVector3d& majorAxis, double& radiusRatio, double& startAngle,
                                   double& endAngle) const {
  center = center_;
  unitNormal = normal_;
  majorAxis = major_;
  radiusRatio = ratio_;
  startAngle = this->startAngle();
  endAngle = this->endAngle();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::setCenter(const AcGePoint3d& center) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(center)) return Acad::eInvalidInput;
  center_ = center;
  return Acad::eOk;
}

AcGeVector3d AcDbEllipse::minorAxis() const { return normal_.crossProduct(major_) * ratio_; }

Acad::ErrorStatus AcDbEllipse::setRadiusRatio(double ratio) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(ratio) || ratio <= 0 || ratio > 1 + 1e-12) return Acad::eInvalidInput;
  ratio_ = std::min(ratio, 1.0);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::setStartAngle(double angle) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(angle)) return Acad::eInvalidInput;
  const double end = endAngle();
  start_ = NormalizeAngle(angle);
  sweep_ = Sweep(start_, end);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::setEndAngle(double angle) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(angle)) return Acad::eInvalidInput;
  sweep_ = Sweep(start_, angle);
  return Acad::eOk;
}

double AcDbEllipse::paramAtAngle(double angle) const {
  const double turns = std::floor(angle / kTwoPi);
  const double a = angle - turns * kTwoPi;
  return turns * kTwoPi + NormalizeAngle(std::atan2(std::sin(a), ratio_ * std::cos(a)));
}

double AcDbEllipse::angleAtParam(double param) const {
  const double turns = std::floor(param / kTwoPi);
  const double t = param - turns * kTwoPi;
  return turns * kTwoPi + NormalizeAngle(std::atan2(ratio_ * std::sin(t), std::cos(t)));
}

Adesk::Boolean AcDbEllipse::isClosed() const { return sweep_ >= kTwoPi - 1e-12; }

AcGePoint3d AcDbEllipse::PointAt(double param) const {
  return center_ + major_ * std::cos(param) + minorAxis() * std::sin(param);
}

Acad::ErrorStatus AcDbEllipse::getStartParam(double& param) const {
  param = startParam();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getEndParam(double& param) const {
  param = endParam();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getStartPoint(AcGePoint3d& point) const {
  point = PointAt(startParam());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getEndPoint(AcGePoint3d& point) const {
  point = PointAt(endParam());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getPointAtParam(double param, AcGePoint3d& point) const {
  if (!Finite(param) || param < startParam() - kParamSlack || param > endParam() + kParamSlack)
    return Acad::eInvalidInput;
  point = PointAt(param);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getParamAtPoint(const AcGePoint3d& point, double& param) const {
  if (isNull()) return Acad::ePointNotOnEntity;
  const AcGeVector3d d = point - center_;
  const AcGeVector3d minor = minorAxis();
  const double t0 = std::atan2(d.dotProduct(minor) / minor.lengthSqrd(),
                               d.dotProduct(major_) / major_.lengthSqrd());
  const double s = startParam();
  double t = s + NormalizeAngle(t0 - s);
  if (t > endParam() + kParamSlack && t - kTwoPi >= s - 1e-9) t -= kTwoPi;
  AcGeTol loose;
  loose.setEqualPoint(1e-9 * std::max(1.0, majorRadius()));
  if (t > endParam() + kParamSlack || !PointAt(t).isEqualTo(point, loose))
    return Acad::ePointNotOnEntity;
  param = t;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getDistAtParam(double param, double& dist) const {
  const double s = startParam();
  if (!Finite(param) || param < s - kParamSlack || param > endParam() + kParamSlack)
    return Acad::eInvalidInput;
  const AcGeVector3d minor = minorAxis();
  // Panels in proportion to the span keep the error below 1e-12 for ratios down to 0.01.
  const int panels = std::max(8, static_cast<int>(std::ceil((param - s) / kTwoPi * 256)));
  dist = Integrate([&](double t) { return (minor * std::cos(t) - major_ * std::sin(t)).length(); },
                   s, std::max(param, s), panels);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  AddEllipticExtents(extents, center_, major_, minorAxis(), startParam(), endParam());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!matrix.isUniScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  // Both axes map through the matrix; with the normal major' x minor' every parameter keeps
  // its point, so the angles do not change.
  const CarriedFrame frame = CarryFrame(matrix, major_, minorAxis());
  center_.transformBy(matrix);
  major_ = frame.xAxis;
  normal_ = frame.normal;
  return Acad::eOk;
}

void AcDbEllipse::ListGeometry() const {
  ListLine(L"                  Center: " + ListPoint(center_));
  ListLine(L"              Major Axis: " + ListVector(major_));
  ListLine(L"              Minor Axis: " + ListVector(minorAxis()));
  ListLine(plx::FormatWide(L"             Radius Ratio: %10.4f", ratio_));
  if (!isClosed()) {
    ListLine(plx::FormatWide(L"             Start Angle: %10.4f", Degrees(startAngle())));
    ListLine(plx::FormatWide(L"               End Angle: %10.4f", Degrees(endAngle())));
  }
  double length = 0;
  getDistAtParam(endParam(), length);
  ListLine(plx::FormatWide(L"                  Length: %10.4f", length));
}
