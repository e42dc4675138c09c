// Sub-objects of complex entities: the vertex list that an owner keeps (held pointers outside a
// database, ids inside one), its iterator, and the vertex classes.
#include "Access.h"
#include "db3dpolyline.h"
#include "dbpolyfacemesh.h"
#include "dbpolygonmesh.h"

using plx::db::ObjectAccess;

ACRX_DXF_DEFINE_MEMBERS(AcDbVertex, AcDbEntity, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, VERTEX, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbPolyFaceMeshVertex, AcDbVertex, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, VERTEX,
                        ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbFaceRecord, AcDbVertex, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, VERTEX, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbPolygonMeshVertex, AcDbVertex, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, VERTEX,
                        ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDb3dPolylineVertex, AcDbVertex, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, VERTEX,
                        ACAD)

namespace plx::db {

VertexList::VertexList(const VertexList& other) {
  held_.reserve(other.Size());
  for (size_t i = 0; i < other.Size(); ++i) {
    const AcDbEntity* vertex = other.At(i);
    if (!vertex || vertex->isErased()) continue;
    auto* copy = AcDbEntity::cast(vertex->clone());
    if (!copy) continue;
    ObjectAccess::SetHeld(*copy, true);
    held_.push_back(copy);
  }
}

VertexList::~VertexList() {
  for (AcDbEntity* vertex : held_) delete vertex;
}

Acad::ErrorStatus VertexList::Append(AcDbEntity& owner, AcDbEntity* vertex, AcDbObjectId* id) {
  if (!vertex) return Acad::eNullObjectPointer;
  if (!owner.isWriteEnabled()) return Acad::eNotOpenForWrite;
  // Held already, by this entity or another: a second owner would free it twice.
  if (vertex->database() || ObjectAccess::Held(*vertex)) return Acad::eAlreadyInDb;
  if (owner.database()) {
    ObjectAccess::InheritProperties(*vertex, owner);
    if (ids_.size() == ids_.capacity()) ids_.reserve(ids_.empty() ? 16 : ids_.size() * 2);
    const AcDbObjectId newId = ObjectAccess::Add(*owner.database(), vertex, owner.objectId(), true);
    ids_.push_back(newId);
    if (id) *id = newId;
  } else {
    ObjectAccess::SetHeld(*vertex, true);
    held_.push_back(vertex);
    if (id) id->setNull();
  }
  return Acad::eOk;
}

void VertexList::AddToDatabase(AcDbEntity& owner) {
  ids_.reserve(ids_.size() + held_.size());
  for (AcDbEntity* vertex : held_) {
    ObjectAccess::InheritProperties(*vertex, owner);
    ids_.push_back(ObjectAccess::Add(*owner.database(), vertex, owner.objectId(), false));
  }
  held_.clear();
}

size_t VertexList::LiveCount() const {
  size_t n = 0;
  for (size_t i = 0; i < Size(); ++i)
    if (!ErasedAt(i)) ++n;
  return n;
}

AcDbEntity* VertexList::At(size_t index) const {
  if (index >= Size()) return nullptr;
  if (ids_.empty()) return held_[index];
  return static_cast<AcDbEntity*>(ObjectAt(ids_[index]));
}

bool VertexList::ErasedAt(size_t index) const {
  const AcDbEntity* vertex = At(index);
  return !vertex || vertex->isErased();
}

VertexIterator::VertexIterator(const VertexList* first, const VertexList* second) : first_(first), second_(second) {
  start();
}

size_t VertexIterator::Count() const { return (first_ ? first_->Size() : 0) + (second_ ? second_->Size() : 0); }

const VertexList* VertexIterator::ListOf(size_t position, size_t& index) const {
  const size_t firstSize = first_ ? first_->Size() : 0;
  if (position < firstSize) {
    index = position;
    return first_;
  }
  index = position - firstSize;
  return second_;
}

bool VertexIterator::ErasedAt(size_t position) const {
  size_t index = 0;
  const VertexList* list = ListOf(position, index);
  return !list || list->ErasedAt(index);
}

void VertexIterator::start(bool atEnd) {
  position_ = atEnd ? static_cast<long>(Count()) - 1 : 0;
  while (!done() && ErasedAt(static_cast<size_t>(position_))) position_ += atEnd ? -1 : 1;
}

bool VertexIterator::done() const { return position_ < 0 || position_ >= static_cast<long>(Count()); }

void VertexIterator::step(bool backwards, bool skipErasedObjects) {
  if (done()) return;
  position_ += backwards ? -1 : 1;
  while (skipErasedObjects && !done() && ErasedAt(static_cast<size_t>(position_))) position_ += backwards ? -1 : 1;
}

AcDbObjectId VertexIterator::objectId() {
  if (done()) return AcDbObjectId();
  size_t index = 0;
  const VertexList* list = ListOf(static_cast<size_t>(position_), index);
  return list->IdAt(index);
}

AcDbEntity* VertexIterator::entity() {
  if (done()) return nullptr;
  size_t index = 0;
  const VertexList* list = ListOf(static_cast<size_t>(position_), index);
  return list->At(index);
}

void VertexIterator::setPosition(AcDbEntity* target) {
  for (size_t i = 0; i < Count(); ++i) {
    size_t index = 0;
    if (ListOf(i, index)->At(index) == target) {
      position_ = static_cast<long>(i);
      return;
    }
  }
}

void VertexIterator::setPosition(AcDbObjectId id) { setPosition(static_cast<AcDbEntity*>(ObjectAt(id))); }

}  // namespace plx::db

namespace {

template <class Vertex>
Acad::ErrorStatus SetPosition(Vertex& vertex, AcGePoint3d& position, const AcGePoint3d& value) {
  if (!vertex.isWriteEnabled()) return Acad::eNotOpenForWrite;
  position = value;
  return Acad::eOk;
}

Acad::ErrorStatus PointExtents(const AcGePoint3d& p, AcDbExtents& extents) {
  extents = AcDbExtents();
  extents.addPoint(p);
  return Acad::eOk;
}

}  // namespace

Acad::ErrorStatus AcDbPolyFaceMeshVertex::setPosition(const AcGePoint3d& p) { return SetPosition(*this, position_, p); }
Acad::ErrorStatus AcDbPolyFaceMeshVertex::getGeomExtents(AcDbExtents& e) const { return PointExtents(position_, e); }
Acad::ErrorStatus AcDbPolyFaceMeshVertex::transformBy(const AcGeMatrix3d& m) {
  return SetPosition(*this, position_, m * position_);
}

Acad::ErrorStatus AcDbPolygonMeshVertex::setPosition(const AcGePoint3d& p) { return SetPosition(*this, position_, p); }
Acad::ErrorStatus AcDbPolygonMeshVertex::getGeomExtents(AcDbExtents& e) const { return PointExtents(position_, e); }
Acad::ErrorStatus AcDbPolygonMeshVertex::transformBy(const AcGeMatrix3d& m) {
  return SetPosition(*this, position_, m * position_);
}

Acad::ErrorStatus AcDb3dPolylineVertex::setPosition(const AcGePoint3d& p) { return SetPosition(*this, position_, p); }
Acad::ErrorStatus AcDb3dPolylineVertex::getGeomExtents(AcDbExtents& e) const { return PointExtents(position_, e); }
Acad::ErrorStatus AcDb3dPolylineVertex::transformBy(const AcGeMatrix3d& m) {
  return SetPosition(*this, position_, m * position_);
}

AcDbFaceRecord::AcDbFaceRecord(Adesk::Int16 vtx0, Adesk::Int16 vtx1, Adesk::Int16 vtx2, Adesk::Int16 vtx3)
    : vertices_{vtx0, vtx1, vtx2, vtx3} {}

Acad::ErrorStatus AcDbFaceRecord::getVertexAt(Adesk::UInt16 faceIndex, Adesk::Int16& vertexIndex) const {
  if (faceIndex > 3) return Acad::eInvalidIndex;
  vertexIndex = vertices_[faceIndex];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFaceRecord::setVertexAt(Adesk::UInt16 faceIndex, Adesk::Int16 vertexIndex) {
  if (faceIndex > 3) return Acad::eInvalidIndex;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  vertices_[faceIndex] = vertexIndex;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFaceRecord::makeEdgeInvisibleAt(Adesk::UInt16 faceIndex) {
  if (faceIndex > 3) return Acad::eInvalidIndex;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (vertices_[faceIndex] > 0) vertices_[faceIndex] = static_cast<Adesk::Int16>(-vertices_[faceIndex]);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFaceRecord::makeEdgeVisibleAt(Adesk::UInt16 faceIndex) {
  if (faceIndex > 3) return Acad::eInvalidIndex;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (vertices_[faceIndex] < 0) vertices_[faceIndex] = static_cast<Adesk::Int16>(-vertices_[faceIndex]);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbFaceRecord::isEdgeVisibleAt(Adesk::UInt16 faceIndex, Adesk::Boolean& visible) const {
  if (faceIndex > 3) return Acad::eInvalidIndex;
  visible = vertices_[faceIndex] >= 0;
  return Acad::eOk;
}
