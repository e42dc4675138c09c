// 3D solids, bodies and regions over the modeller's shapes, and the 2D solid. The body pointer
// handed out by body() is the entity's own shape; setBody copies what it is given, so the
// caller may release its own body at once.
#include <cmath>

#include "Access.h"
#include "CurveMath.h"
#include "aced.h"
#include "arxhost/Modeller.h"
#include "dbarcs.h"
#include "dbents.h"
#include "dbsol3d.h"
#include "dbsolid2d.h"
#include "dbspline.h"
#include "win32/text.h"
#include "win32/transcript.h"

using plx::modeller::Point3;
using plx::modeller::Shape;
using plx::modeller::ShapeKind;

ACRX_DEFINE_MEMBERS(AcDbModelerEntity, AcDbEntity)
ACRX_DXF_DEFINE_MEMBERS(AcDb3dSolid, AcDbModelerEntity, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, 3DSOLID, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbBody, AcDbModelerEntity, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, BODY, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbRegion, AcDbModelerEntity, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, REGION, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbSolid, AcDbEntity, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, SOLID, ACAD)

namespace {

AcGePoint3d ToGe(const Point3& p) { return AcGePoint3d(p.x, p.y, p.z); }

bool Finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

double CurrentFacetRes() {
  resbuf value{};
  if (acedGetVar(L"FACETRES", &value) == RTNORM && value.restype == RTREAL) return value.resval.rreal;
  return 0.5;
}

}  // namespace

AcDbModelerEntity::AcDbModelerEntity() : shape_(std::make_unique<Shape>()) {}

AcDbModelerEntity::AcDbModelerEntity(const AcDbModelerEntity& other)
    : AcDbEntity(other), shape_(std::make_unique<Shape>(*other.shape_)) {}

AcDbModelerEntity::~AcDbModelerEntity() = default;

bool AcDbModelerEntity::isNull() const { return shape_->IsNull(); }

void* AcDbModelerEntity::body() const { return shape_->IsNull() ? nullptr : shape_.get(); }

Acad::ErrorStatus AcDbModelerEntity::setBody(const void* modelerBody) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!modelerBody) {
    *shape_ = Shape();
    return Acad::eOk;
  }
  // A body may be handed back to its own entity: copy before replacing.
  Shape copy(*static_cast<const Shape*>(modelerBody));
  *shape_ = std::move(copy);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbModelerEntity::getGeomExtents(AcDbExtents& extents) const {
  if (shape_->IsNull()) return Acad::eNullExtents;
  Point3 low, high;
  const Acad::ErrorStatus status = shape_->Extents(low, high);
  if (status != Acad::eOk) return status;
  return extents.set(ToGe(low), ToGe(high));
}

Acad::ErrorStatus AcDbModelerEntity::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (shape_->IsNull()) return Acad::eOk;
  return shape_->Transform(matrix.entry);
}

namespace {

AcGeVector3d ToVector(const Point3& p) { return AcGeVector3d(p.x, p.y, p.z); }

// The angle of a point about the normal from the object X axis of the arbitrary-axis rule.
double OcsAngle(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGePoint3d& point) {
  AcGeVector3d x, y;
  plx::db::OcsAxes(normal, x, y);
  const AcGeVector3d d = point - center;
  return std::atan2(d.dotProduct(y), d.dotProduct(x));
}

// An edge of a region as the curve entity the host makes of it; null for an edge that the
// entity refuses (a zero radius, say).
AcDbCurve* CurveEntity(const plx::modeller::Curve& curve) {
  using Type = plx::modeller::Curve::Type;
  switch (curve.type) {
    case Type::kLine: return new AcDbLine(ToGe(curve.start), ToGe(curve.end));
    case Type::kCircle:
      return new AcDbCircle(ToGe(curve.center), ToVector(curve.normal), curve.radius);
    case Type::kArc: {
      const AcGeVector3d normal = ToVector(curve.normal);
      return new AcDbArc(ToGe(curve.center), normal, curve.radius,
                         OcsAngle(ToGe(curve.center), normal, ToGe(curve.start)),
                         OcsAngle(ToGe(curve.center), normal, ToGe(curve.end)));
    }
    case Type::kEllipse: {
      // The edge's angles are ellipse parameters; the entity takes the directions of the points.
      const double ratio = curve.radiusRatio;
      auto angleAt = [ratio](double t) { return std::atan2(ratio * std::sin(t), std::cos(t)); };
      const bool full = curve.endAngle - curve.startAngle >= 2 * M_PI - 1e-12;
      double start = full ? 0.0 : angleAt(curve.startAngle);
      if (start < 0) start += 2 * M_PI;
      double end = full ? 2 * M_PI : angleAt(curve.endAngle);
      while (!full && end <= start) end += 2 * M_PI;
      return new AcDbEllipse(ToGe(curve.center), ToVector(curve.normal).normal(),
                             ToVector(curve.majorAxis), ratio, start, end);
    }
    case Type::kSpline: {
      AcGePoint3dArray points;
      for (const Point3& p : curve.points) points.append(ToGe(p));
      return new AcDbSpline(points);
    }
  }
  return nullptr;
}

}  // namespace

Acad::ErrorStatus AcDbModelerEntity::explode(AcDbVoidPtrArray& entities) const {
  if (shape_->IsNull()) return Acad::eNotApplicable;
  // Regions, and bodies of a single face, break into the curves of their edges; a body of one
  // face that broke into itself would never end a recursive explode.
  const ShapeKind kind = shape_->Kind();
  if (kind == ShapeKind::kRegion || kind == ShapeKind::kBody) {
    std::vector<plx::modeller::Curve> curves;
    const Acad::ErrorStatus status = shape_->ExplodeToCurves(curves);
    if (status == Acad::eOk) {
      for (const plx::modeller::Curve& curve : curves) {
        AcDbCurve* entity = CurveEntity(curve);
        if (!entity) continue;
        entity->setPropertiesFrom(this);
        entities.append(entity);
      }
      return Acad::eOk;
    }
    if (kind == ShapeKind::kRegion || status != Acad::eInvalidInput) return status;
  }
  std::vector<Shape> pieces;
  const Acad::ErrorStatus status = shape_->Explode(pieces);
  if (status != Acad::eOk) return status;
  for (Shape& piece : pieces) {
    AcDbModelerEntity* entity = nullptr;
    if (piece.Kind() == ShapeKind::kRegion) entity = new AcDbRegion;
    else if (piece.Kind() == ShapeKind::kBody) entity = new AcDbBody;
    else if (piece.Kind() == ShapeKind::kSolid) entity = new AcDb3dSolid;
    else continue;
    *entity->shape_ = std::move(piece);
    entity->setPropertiesFrom(this);
    entities.append(entity);
  }
  return Acad::eOk;
}

double AcDbModelerEntity::volume() const { return shape_->IsNull() ? 0.0 : shape_->Volume(); }
double AcDbModelerEntity::area() const { return shape_->IsNull() ? 0.0 : shape_->Area(); }

void AcDbModelerEntity::ListGeometry() const {
  AcDbExtents extents;
  if (getGeomExtents(extents) != Acad::eOk) {
    plx::WriteTranscript(L"                  (empty)\n");
    return;
  }
  plx::WriteTranscript(L"                  Bounding Box: Lower Bound " + plx::db::ListPoint(extents.minPoint()) + L"\n");
  plx::WriteTranscript(L"                                Upper Bound " + plx::db::ListPoint(extents.maxPoint()) + L"\n");
  if (isA() == AcDb3dSolid::desc())
    plx::WriteTranscript(plx::FormatWide(L"                  Volume = %.4f\n", volume()));
}

namespace {

Acad::ErrorStatus TakeShape(plx::modeller::ShapeResult result, Shape& target) {
  if (!result.Ok()) return result.status;
  target = std::move(result.shape);
  return Acad::eOk;
}

}  // namespace

Acad::ErrorStatus AcDb3dSolid::createBox(double x, double y, double z) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  return TakeShape(Shape::Box({-x / 2, -y / 2, -z / 2}, {x / 2, y / 2, z / 2}), shape());
}

Acad::ErrorStatus AcDb3dSolid::createSphere(double radius) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  return TakeShape(Shape::Sphere({0, 0, 0}, radius), shape());
}

Acad::ErrorStatus AcDb3dSolid::createTorus(double majorRadius, double minorRadius) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  return TakeShape(Shape::Torus({0, 0, 0}, majorRadius, minorRadius), shape());
}

Acad::ErrorStatus AcDb3dSolid::createWedge(double x, double y, double z) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  return TakeShape(Shape::Wedge({-x / 2, -y / 2, -z / 2}, {x / 2, y / 2, z / 2}), shape());
}

Acad::ErrorStatus AcDb3dSolid::createFrustum(double height, double xRadius, double, double topXRadius) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!(height > 0) || !std::isfinite(height)) return Acad::eInvalidInput;
  const Point3 base{0, 0, -height / 2};
  if (topXRadius == xRadius) return TakeShape(Shape::Cylinder(base, xRadius, height), shape());
  if (topXRadius != 0) return Acad::eNotYetImplemented;  // truncated cones are not offered
  return TakeShape(Shape::Cone(base, xRadius, height), shape());
}

Acad::ErrorStatus AcDb3dSolid::booleanOper(AcDb::BoolOperType operation, AcDb3dSolid* solid) {
  if (!solid) return Acad::eNullObjectPointer;
  if (!isWriteEnabled() || !solid->isWriteEnabled()) return Acad::eNotOpenForWrite;
  plx::modeller::BoolOp op = plx::modeller::BoolOp::kUnite;
  if (operation == AcDb::kBoolIntersect) op = plx::modeller::BoolOp::kIntersect;
  else if (operation == AcDb::kBoolSubtract) op = plx::modeller::BoolOp::kSubtract;
  plx::modeller::ShapeResult result = shape().Boolean(op, solid->shape());
  if (!result.Ok()) return result.status;
  shape() = std::move(result.shape);
  solid->shape() = Shape();
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dSolid::stlOut(const ACHAR* fileName, Adesk::Boolean asciiFormat, double) const {
  if (!fileName || !*fileName) return Acad::eInvalidInput;
  if (shape().IsNull()) return Acad::eNullExtents;
  const Acad::ErrorStatus inside = plx::modeller::CheckPositiveOctant(shape());
  if (inside != Acad::eOk) {
    plx::WriteTranscript(L"The solid must lie entirely in positive XYZ space.\n");
    return inside;
  }
  return shape().WriteStl(fileName, !asciiFormat, CurrentFacetRes());
}

// 2D solids.

AcDbSolid::AcDbSolid(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2, const AcGePoint3d& pt3)
    : corners_{pt0, pt1, pt2, pt3} {}

AcDbSolid::AcDbSolid(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2)
    : AcDbSolid(pt0, pt1, pt2, pt2) {}

Acad::ErrorStatus AcDbSolid::getPointAt(Adesk::UInt16 index, AcGePoint3d& point) const {
  if (index > 3) return Acad::eInvalidIndex;
  point = corners_[index];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSolid::setPointAt(Adesk::UInt16 index, const AcGePoint3d& point) {
  if (index > 3) return Acad::eInvalidIndex;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(point)) return Acad::eInvalidInput;
  corners_[index] = point;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSolid::setNormal(const AcGeVector3d& normal) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (normal.length() == 0 || !std::isfinite(normal.length())) return Acad::eInvalidInput;
  normal_ = normal.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSolid::setThickness(double thickness) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(thickness)) return Acad::eInvalidInput;
  thickness_ = thickness;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSolid::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  for (const AcGePoint3d& p : corners_) extents.addPoint(p);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSolid::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  for (AcGePoint3d& p : corners_) p.transformBy(matrix);
  normal_ = (matrix * normal_).normal();
  return Acad::eOk;
}

void AcDbSolid::ListGeometry() const {
  for (int i = 0; i < 4; ++i)
    plx::WriteTranscript(plx::FormatWide(L"               point %d, ", i) + plx::db::ListPoint(corners_[i]) + L"\n");
}
