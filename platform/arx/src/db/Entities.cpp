// The simple entities: points, lines, circles and 3D faces, with their extents, transforms and
// LIST lines. Circles use the host's arbitrary-axis rule for their object X axis.
#include <cmath>

#include "Access.h"
#include "dbents.h"
#include "win32/text.h"
#include "win32/transcript.h"

ACRX_DEFINE_MEMBERS(AcDbCurve, AcDbEntity)
ACRX_DXF_DEFINE_MEMBERS(AcDbPoint, AcDbEntity, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, POINT, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbLine, AcDbCurve, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, LINE, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbCircle, AcDbCurve, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, CIRCLE, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbFace, AcDbEntity, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, 3DFACE, ACAD)

namespace {

constexpr double kPi = 3.14159265358979323846;

bool Finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
bool Finite(const AcGeVector3d& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

void Line(const std::wstring& text) { plx::WriteTranscript(text + L"\n"); }

// The host's arbitrary axis: the object X axis of a plane with this normal.
AcGeVector3d ArbitraryXAxis(const AcGeVector3d& normal) {
  const AcGeVector3d n = normal.normal();
  const AcGeVector3d world = (std::abs(n.x) < 1.0 / 64 && std::abs(n.y) < 1.0 / 64) ? AcGeVector3d::kYAxis
                                                                                     : AcGeVector3d::kZAxis;
  return world.crossProduct(n).normal();
}

}  // namespace

Acad::ErrorStatus AcDbCurve::getStartParam(double&) const { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbCurve::getEndParam(double&) const { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbCurve::getStartPoint(AcGePoint3d&) const { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbCurve::getEndPoint(AcGePoint3d&) const { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbCurve::getPointAtParam(double, AcGePoint3d&) const { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbCurve::getParamAtPoint(const AcGePoint3d&, double&) const { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbCurve::getDistAtParam(double, double&) const { return Acad::eNotApplicable; }

// Points.

AcDbPoint::AcDbPoint(const AcGePoint3d& position) : position_(position) {}

Acad::ErrorStatus AcDbPoint::setPosition(const AcGePoint3d& position) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(position)) return Acad::eInvalidInput;
  position_ = position;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::setNormal(const AcGeVector3d& normal) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(normal) || normal.isZeroLength()) return Acad::eInvalidInput;
  normal_ = normal.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::setThickness(double thickness) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  thickness_ = thickness;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  extents.addPoint(position_);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  position_.transformBy(matrix);
  normal_ = (matrix * normal_).normal();
  return Acad::eOk;
}

void AcDbPoint::ListGeometry() const { Line(L"                  at point, " + plx::db::ListPoint(position_)); }

// Lines.

AcDbLine::AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : start_(start), end_(end) {}

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& point) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(point)) return Acad::eInvalidInput;
  start_ = point;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& point) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(point)) return Acad::eInvalidInput;
  end_ = point;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setNormal(const AcGeVector3d& normal) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(normal) || normal.isZeroLength()) return Acad::eInvalidInput;
  normal_ = normal.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setThickness(double thickness) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  thickness_ = thickness;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getStartParam(double& param) const {
  param = 0;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getEndParam(double& param) const {
  param = start_.distanceTo(end_);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getStartPoint(AcGePoint3d& point) const {
  point = start_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getEndPoint(AcGePoint3d& point) const {
  point = end_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getPointAtParam(double param, AcGePoint3d& point) const {
  const double length = start_.distanceTo(end_);
  if (param < -1e-10 || param > length + 1e-10) return Acad::eInvalidInput;
  point = length > 0 ? start_ + (end_ - start_) * (param / length) : start_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getDistAtParam(double param, double& dist) const {
  if (param < -1e-10 || param > start_.distanceTo(end_) + 1e-10) return Acad::eInvalidInput;
  dist = param;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  extents.addPoint(start_);
  extents.addPoint(end_);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  start_.transformBy(matrix);
  end_.transformBy(matrix);
  normal_ = (matrix * normal_).normal();
  return Acad::eOk;
}

void AcDbLine::ListGeometry() const {
  Line(L"                  from point, " + plx::db::ListPoint(start_));
  Line(L"                    to point, " + plx::db::ListPoint(end_));
  Line(plx::FormatWide(L"                  Length = %10.4f", start_.distanceTo(end_)));
}

// Circles.

AcDbCircle::AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
    : center_(center), normal_(normal.isZeroLength() ? AcGeVector3d::kZAxis : normal.normal()), radius_(radius) {}

Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& center) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(center)) return Acad::eInvalidInput;
  center_ = center;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setRadius(double radius) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(radius) || radius <= 0) return Acad::eInvalidInput;
  radius_ = radius;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setNormal(const AcGeVector3d& normal) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(normal) || normal.isZeroLength()) return Acad::eInvalidInput;
  normal_ = normal.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setThickness(double thickness) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  thickness_ = thickness;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getStartParam(double& param) const {
  param = 0;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getEndParam(double& param) const {
  param = 2 * kPi;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getStartPoint(AcGePoint3d& point) const { return getPointAtParam(0, point); }
Acad::ErrorStatus AcDbCircle::getEndPoint(AcGePoint3d& point) const { return getPointAtParam(0, point); }

Acad::ErrorStatus AcDbCircle::getPointAtParam(double param, AcGePoint3d& point) const {
  const AcGeVector3d x = ArbitraryXAxis(normal_);
  const AcGeVector3d y = normal_.crossProduct(x);
  point = center_ + x * (radius_ * std::cos(param)) + y * (radius_ * std::sin(param));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getDistAtParam(double param, double& dist) const {
  if (param < -1e-10 || param > 2 * kPi + 1e-10) return Acad::eInvalidInput;
  dist = param * radius_;
  return Acad::eOk;
}

// The tight box of a circle: along each world axis the circle reaches r times the sine of
// the angle between that axis and the normal.
Acad::ErrorStatus AcDbCircle::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  const AcGeVector3d reach(radius_ * std::sqrt(std::max(0.0, 1 - normal_.x * normal_.x)),
                           radius_ * std::sqrt(std::max(0.0, 1 - normal_.y * normal_.y)),
                           radius_ * std::sqrt(std::max(0.0, 1 - normal_.z * normal_.z)));
  extents.addPoint(center_ - reach);
  extents.addPoint(center_ + reach);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!matrix.isUniScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  center_.transformBy(matrix);
  const AcGeVector3d n = matrix * normal_;
  radius_ *= n.length();
  normal_ = n.normal();
  return Acad::eOk;
}

void AcDbCircle::ListGeometry() const {
  Line(L"            center point, " + plx::db::ListPoint(center_));
  Line(plx::FormatWide(L"            radius %10.4f", radius_));
  Line(plx::FormatWide(L"     circumference %10.4f", 2 * kPi * radius_));
  Line(plx::FormatWide(L"              area %10.4f", kPi * radius_ * radius_));
}

// 3D faces.

AcDbFace::AcDbFace(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2, const AcGePoint3d& pt3,
                   Adesk::Boolean e0vis, Adesk::Boolean e1vis, Adesk::Boolean e2vis, Adesk::Boolean e3vis)
    : corners_{pt0, pt1, pt2, pt3}, visible_{e0vis, e1vis, e2vis, e3vis} {}

AcDbFace::AcDbFace(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2, Adesk::Boolean e0vis,
                   Adesk::Boolean e1vis, Adesk::Boolean e2vis, Adesk::Boolean e3vis)
    : AcDbFace(pt0, pt1, pt2, pt2, e0vis, e1vis, e2vis, e3vis) {}

Acad::ErrorStatus AcDbFace::getVertexAt(Adesk::UInt16 index, AcGePoint3d& point) const {
  if (index > 3) return Acad::eInvalidIndex;
  point = corners_[index];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::setVertexAt(Adesk::UInt16 index, const AcGePoint3d& point) {
  if (index > 3) return Acad::eInvalidIndex;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(point)) return Acad::eInvalidInput;
  corners_[index] = point;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::makeEdgeInvisibleAt(Adesk::UInt16 index) {
  if (index > 3) return Acad::eInvalidIndex;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  visible_[index] = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::makeEdgeVisibleAt(Adesk::UInt16 index) {
  if (index > 3) return Acad::eInvalidIndex;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  visible_[index] = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::isEdgeVisibleAt(Adesk::UInt16 index, Adesk::Boolean& visible) const {
  if (index > 3) return Acad::eInvalidIndex;
  visible = visible_[index];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  for (const AcGePoint3d& p : corners_) extents.addPoint(p);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  for (AcGePoint3d& p : corners_) p.transformBy(matrix);
  return Acad::eOk;
}

void AcDbFace::ListGeometry() const {
  static const wchar_t* kNames[4] = {L" first", L"second", L" third", L"fourth"};
  for (int i = 0; i < 4; ++i)
    Line(plx::FormatWide(L"          %ls point, ", kNames[i]) + plx::db::ListPoint(corners_[i]) +
         (visible_[i] ? L"" : L"  (invisible edge)"));
}
