// Block references: the block transform T(position) P(normal) R(rotation) S(scale)
// T(-origin), its decomposition back into those parts, and the boxes and explosions that go
// through it into the block's entities.
#include <cmath>
#include <unordered_map>

#include "Access.h"
#include "CurveMath.h"
#include "dbblkref.h"
#include "dbsymtb.h"
#include "win32/text.h"

using namespace plx::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent,
                        0, INSERT, ACAD)

namespace {

// Nested references deeper than this are taken as a block that holds itself.
constexpr int kMaxNesting = 64;
thread_local int nesting = 0;

// The extents of each reference met during one outermost extents query. A block that inserts
// another twice, which inserts another twice, ... is met 2^depth times by a plain walk; with
// the answers kept, a query costs one visit per reference of the drawing. Kept only for the
// query, so that no change to a block between queries can leave a stale box.
struct KnownExtents {
  Acad::ErrorStatus status;
  AcDbExtents extents;
};
thread_local std::unordered_map<const AcDbBlockReference*, KnownExtents>* known = nullptr;

struct NestingGuard {
  NestingGuard() { ++nesting; }
  ~NestingGuard() { --nesting; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;
};

AcGeMatrix3d ScalingMatrix(const AcGeScale3d& s) {
  AcGeMatrix3d m;
  m.entry[0][0] = s.sx;
  m.entry[1][1] = s.sy;
  m.entry[2][2] = s.sz;
  return m;
}

}  // namespace

AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord)
    : block_(blockTableRecord), position_(position) {}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId block) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (block.isNull()) return Acad::eNullObjectId;
  if (!ObjectAs<AcDbBlockTableRecord>(block)) return Acad::eWrongObjectType;
  block_ = block;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& position) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(position)) return Acad::eInvalidInput;
  position_ = position;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& scale) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  for (unsigned i = 0; i < 3; ++i)
    if (!std::isfinite(scale[i]) || scale[i] == 0) return Acad::eInvalidInput;
  scale_ = scale;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setRotation(double angle) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(angle)) return Acad::eInvalidInput;
  rotation_ = NormalizeAngle(angle);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& normal) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(normal) || normal.isZeroLength()) return Acad::eInvalidInput;
  normal_ = normal.normal();
  return Acad::eOk;
}

AcGeMatrix3d AcDbBlockReference::blockTransform() const {
  const auto* record = ObjectAs<AcDbBlockTableRecord>(block_);
  const AcGePoint3d origin = record ? record->origin() : AcGePoint3d::kOrigin;
  return AcGeMatrix3d::translation(position_.asVector()) * AcGeMatrix3d::planeToWorld(normal_) *
         AcGeMatrix3d::rotation(rotation_, AcGeVector3d::kZAxis) * ScalingMatrix(scale_) *
         AcGeMatrix3d::translation(-origin.asVector());
}

Acad::ErrorStatus AcDbBlockReference::setBlockTransform(const AcGeMatrix3d& transform) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcGePoint3d translation;
  AcGeVector3d c0, c1, c2;
  transform.getCoordSystem(translation, c0, c1, c2);
  if (c0.isZeroLength() || c1.isZeroLength() || c2.isZeroLength() || transform.isSingular())
    return Acad::eInvalidInput;
  if (!transform.isScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  // Z scale positive, so the normal is the third column's direction; a mirror then shows as a
  // negative Y scale.
  const AcGeVector3d normal = c2.normal();
  AcGeVector3d x, y;
  OcsAxes(normal, x, y);
  const double rotation = std::atan2(c0.dotProduct(y), c0.dotProduct(x));
  const AcGeVector3d yAxis = normal.crossProduct(x * std::cos(rotation) + y * std::sin(rotation));
  const auto* record = ObjectAs<AcDbBlockTableRecord>(block_);
  const AcGePoint3d origin = record ? record->origin() : AcGePoint3d::kOrigin;
  normal_ = normal;
  rotation_ = NormalizeAngle(rotation);
  scale_.set(c0.length(), c1.dotProduct(yAxis), c2.length());
  position_ = transform * origin;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::getGeomExtents(AcDbExtents& extents) const {
  if (!known) {
    std::unordered_map<const AcDbBlockReference*, KnownExtents> query;
    known = &query;
    struct Forget {
      ~Forget() { known = nullptr; }
    } forget;
    return BlockExtents(extents);
  }
  if (const auto it = known->find(this); it != known->end()) {
    if (it->second.status == Acad::eOk) extents = it->second.extents;
    return it->second.status;
  }
  AcDbExtents box;
  const Acad::ErrorStatus es = BlockExtents(box);
  known->emplace(this, KnownExtents{es, box});
  if (es == Acad::eOk) extents = box;
  return es;
}

Acad::ErrorStatus AcDbBlockReference::BlockExtents(AcDbExtents& extents) const {
  const auto* record = ObjectAs<AcDbBlockTableRecord>(block_);
  if (!record || nesting >= kMaxNesting) return Acad::eInvalidExtents;
  NestingGuard guard;
  const AcGeMatrix3d transform = blockTransform();
  AcDbExtents box;
  for (const AcDbObjectId& id : record->Entities().ids) {
    const auto* entity = ObjectAs<AcDbEntity>(id);
    if (!entity || entity->isErased()) continue;
    AcDbExtents part;
    if (entity->getGeomExtents(part) != Acad::eOk) continue;
    part.transformBy(transform);
    box.addExt(part);
  }
  if (box.isEmpty()) return Acad::eInvalidExtents;
  extents = box;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  const AcGeMatrix3d composed = matrix * blockTransform();
  if (!composed.isScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  return setBlockTransform(composed);
}

Acad::ErrorStatus AcDbBlockReference::explode(AcDbVoidPtrArray& entities) const {
  if (block_.isNull()) return Acad::eNullObjectId;
  const auto* record = ObjectAs<AcDbBlockTableRecord>(block_);
  if (!record) return Acad::eWrongObjectType;
  const AcGeMatrix3d transform = blockTransform();
  AcDbVoidPtrArray made;
  for (const AcDbObjectId& id : record->Entities().ids) {
    const auto* entity = ObjectAs<AcDbEntity>(id);
    if (!entity || entity->isErased()) continue;
    AcDbEntity* copy = nullptr;
    const Acad::ErrorStatus es = entity->getTransformedCopy(transform, copy);
    if (es != Acad::eOk) {
      for (void* piece : made) delete static_cast<AcDbEntity*>(piece);
      return es;
    }
    made.append(copy);
  }
  entities.append(made);
  return Acad::eOk;
}

void AcDbBlockReference::ListGeometry() const {
  const auto* record = ObjectAs<AcDbBlockTableRecord>(block_);
  ListLine(L"                  Block Name: \"" + (record ? record->Name() : std::wstring()) +
           L"\"");
  ListLine(L"                   at point, " + ListPoint(position_));
  ListLine(plx::FormatWide(L"                   X scale factor: %10.4f", scale_.sx));
  ListLine(plx::FormatWide(L"                   Y scale factor: %10.4f", scale_.sy));
  ListLine(plx::FormatWide(L"                   rotation angle: %10.4f", rotation_ * 180 / kPi));
  ListLine(plx::FormatWide(L"                   Z scale factor: %10.4f", scale_.sz));
}
