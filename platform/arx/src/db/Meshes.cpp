// Complex entities: polyface meshes, polygon meshes and 3D polylines, which own their vertices.
#include <cmath>

#include "Access.h"
#include "db3dpolyline.h"
#include "dbents.h"
#include "dbpolyfacemesh.h"
#include "dbpolygonmesh.h"
#include "win32/text.h"
#include "win32/transcript.h"

using plx::db::ObjectAccess;
using plx::db::VertexList;

ACRX_DXF_DEFINE_MEMBERS(AcDbPolyFaceMesh, AcDbEntity, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, POLYLINE, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbPolygonMesh, AcDbEntity, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, POLYLINE, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDb3dPolyline, AcDbCurve, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, POLYLINE, ACAD)

namespace {

// Positions of the live vertices of a list, in order.
template <class Vertex, class Visit>
void ForEachPosition(const VertexList& list, Visit&& visit) {
  for (size_t i = 0; i < list.Size(); ++i) {
    const Vertex* vertex = Vertex::cast(list.At(i));
    if (vertex && !vertex->isErased()) visit(vertex->position());
  }
}

template <class Vertex>
Acad::ErrorStatus ListExtents(const VertexList& list, AcDbExtents& extents) {
  AcDbExtents box;
  ForEachPosition<Vertex>(list, [&](const AcGePoint3d& p) { box.addPoint(p); });
  if (box.isEmpty()) return Acad::eInvalidExtents;
  extents = box;
  return Acad::eOk;
}

Acad::ErrorStatus TransformList(const AcDbEntity& owner, const VertexList& list, const AcGeMatrix3d& matrix) {
  if (!owner.isWriteEnabled()) return Acad::eNotOpenForWrite;
  for (size_t i = 0; i < list.Size(); ++i)
    if (AcDbEntity* vertex = list.At(i))
      ObjectAccess::AsWriter(*vertex, [&] { return vertex->transformBy(matrix); });
  return Acad::eOk;
}

void Line(const std::wstring& text) { plx::WriteTranscript(text + L"\n"); }

Adesk::Int16 Count16(size_t n) { return static_cast<Adesk::Int16>(static_cast<Adesk::UInt16>(n)); }

}  // namespace

// Polyface meshes.

Adesk::Int16 AcDbPolyFaceMesh::numVertices() const { return Count16(vertices_.LiveCount()); }
Adesk::Int16 AcDbPolyFaceMesh::numFaces() const { return Count16(faces_.LiveCount()); }

Acad::ErrorStatus AcDbPolyFaceMesh::appendVertex(AcDbPolyFaceMeshVertex* vertex) {
  // Face records number the vertices in 16 signed bits: a vertex past 32767 could never be used.
  if (vertex && vertices_.Size() >= kMaxVertices) return Acad::eTooManyVertices;
  return vertices_.Append(*this, vertex, nullptr);
}
Acad::ErrorStatus AcDbPolyFaceMesh::appendVertex(AcDbObjectId& id, AcDbPolyFaceMeshVertex* vertex) {
  if (vertex && vertices_.Size() >= kMaxVertices) return Acad::eTooManyVertices;
  return vertices_.Append(*this, vertex, &id);
}
Acad::ErrorStatus AcDbPolyFaceMesh::appendFaceRecord(AcDbFaceRecord* face) { return faces_.Append(*this, face, nullptr); }
Acad::ErrorStatus AcDbPolyFaceMesh::appendFaceRecord(AcDbObjectId& id, AcDbFaceRecord* face) {
  return faces_.Append(*this, face, &id);
}

AcDbObjectIterator* AcDbPolyFaceMesh::vertexIterator() const {
  return new plx::db::VertexIterator(&vertices_, &faces_);
}

void AcDbPolyFaceMesh::AddOwnedObjects() {
  vertices_.AddToDatabase(*this);
  faces_.AddToDatabase(*this);
}

Acad::ErrorStatus AcDbPolyFaceMesh::getGeomExtents(AcDbExtents& extents) const {
  return ListExtents<AcDbPolyFaceMeshVertex>(vertices_, extents);
}

Acad::ErrorStatus AcDbPolyFaceMesh::transformBy(const AcGeMatrix3d& matrix) {
  return TransformList(*this, vertices_, matrix);
}

Acad::ErrorStatus AcDbPolyFaceMesh::explode(AcDbVoidPtrArray& entities) const {
  std::vector<AcGePoint3d> points;
  ForEachPosition<AcDbPolyFaceMeshVertex>(vertices_, [&](const AcGePoint3d& p) { points.push_back(p); });
  for (size_t i = 0; i < faces_.Size(); ++i) {
    const AcDbFaceRecord* record = AcDbFaceRecord::cast(faces_.At(i));
    if (!record || record->isErased()) continue;
    AcGePoint3d corners[4];
    bool visible[4] = {true, true, true, true};
    int count = 0;
    for (Adesk::UInt16 k = 0; k < 4; ++k) {
      Adesk::Int16 v = 0;
      record->getVertexAt(k, v);
      const int index = std::abs(static_cast<int>(v));
      if (index == 0 || index > static_cast<int>(points.size())) continue;
      corners[count] = points[static_cast<size_t>(index - 1)];
      visible[count++] = v > 0;
    }
    if (count < 3) continue;
    if (count == 3) corners[3] = corners[2];
    auto* face = new AcDbFace(corners[0], corners[1], corners[2], corners[3], visible[0], visible[1], visible[2],
                              visible[3]);
    face->setPropertiesFrom(record);
    entities.append(face);
  }
  return Acad::eOk;
}

void AcDbPolyFaceMesh::ListGeometry() const {
  Line(plx::FormatWide(L"                  Polyface mesh: %d vertices, %d faces", numVertices(), numFaces()));
}

// Polygon meshes.

AcDbPolygonMesh::AcDbPolygonMesh(AcDb::PolyMeshType type, Adesk::Int16 mSize, Adesk::Int16 nSize,
                                 const AcGePoint3dArray& vertices, Adesk::Boolean mClosed, Adesk::Boolean nClosed)
    : type_(type), m_(mSize), n_(nSize), mClosed_(mClosed), nClosed_(nClosed) {
  const int count = std::min(vertices.length(), static_cast<int>(mSize) * static_cast<int>(nSize));
  for (int i = 0; i < count; ++i) vertices_.Append(*this, new AcDbPolygonMeshVertex(vertices[i]), nullptr);
}

Acad::ErrorStatus AcDbPolygonMesh::setPolyMeshType(AcDb::PolyMeshType type) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  type_ = type;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolygonMesh::setMSize(Adesk::Int16 size) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (size < 2 || size > 256) return Acad::eInvalidInput;
  m_ = size;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolygonMesh::setNSize(Adesk::Int16 size) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (size < 2 || size > 256) return Acad::eInvalidInput;
  n_ = size;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolygonMesh::makeMClosed() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  mClosed_ = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolygonMesh::makeMOpen() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  mClosed_ = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolygonMesh::makeNClosed() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  nClosed_ = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolygonMesh::makeNOpen() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  nClosed_ = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolygonMesh::appendVertex(AcDbPolygonMeshVertex* vertex) {
  return vertices_.Append(*this, vertex, nullptr);
}
Acad::ErrorStatus AcDbPolygonMesh::appendVertex(AcDbObjectId& id, AcDbPolygonMeshVertex* vertex) {
  return vertices_.Append(*this, vertex, &id);
}

AcDbObjectIterator* AcDbPolygonMesh::vertexIterator() const { return new plx::db::VertexIterator(&vertices_); }

void AcDbPolygonMesh::AddOwnedObjects() { vertices_.AddToDatabase(*this); }

Acad::ErrorStatus AcDbPolygonMesh::getGeomExtents(AcDbExtents& extents) const {
  return ListExtents<AcDbPolygonMeshVertex>(vertices_, extents);
}

Acad::ErrorStatus AcDbPolygonMesh::transformBy(const AcGeMatrix3d& matrix) {
  return TransformList(*this, vertices_, matrix);
}

void AcDbPolygonMesh::ListGeometry() const {
  Line(plx::FormatWide(L"                  Polygon mesh: M=%d N=%d, %ls in M, %ls in N", m_, n_,
                       mClosed_ ? L"closed" : L"open", nClosed_ ? L"closed" : L"open"));
}

// 3D polylines.

AcDb3dPolyline::AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, Adesk::Boolean closed)
    : type_(type), closed_(closed) {
  for (const AcGePoint3d& p : vertices) vertices_.Append(*this, new AcDb3dPolylineVertex(p), nullptr);
}

Acad::ErrorStatus AcDb3dPolyline::setPolyType(AcDb::Poly3dType type) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  type_ = type;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::makeClosed() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  closed_ = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::makeOpen() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  closed_ = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::appendVertex(AcDb3dPolylineVertex* vertex) {
  return vertices_.Append(*this, vertex, nullptr);
}
Acad::ErrorStatus AcDb3dPolyline::appendVertex(AcDbObjectId& id, AcDb3dPolylineVertex* vertex) {
  return vertices_.Append(*this, vertex, &id);
}

AcDbObjectIterator* AcDb3dPolyline::vertexIterator() const { return new plx::db::VertexIterator(&vertices_); }

void AcDb3dPolyline::AddOwnedObjects() { vertices_.AddToDatabase(*this); }

Acad::ErrorStatus AcDb3dPolyline::getGeomExtents(AcDbExtents& extents) const {
  return ListExtents<AcDb3dPolylineVertex>(vertices_, extents);
}

Acad::ErrorStatus AcDb3dPolyline::transformBy(const AcGeMatrix3d& matrix) {
  return TransformList(*this, vertices_, matrix);
}

void AcDb3dPolyline::ListGeometry() const {
  Line(plx::FormatWide(L"                  3D polyline: %d vertices, %ls", static_cast<int>(vertices_.LiveCount()),
                       closed_ ? L"closed" : L"open"));
  ForEachPosition<AcDb3dPolylineVertex>(
      vertices_, [](const AcGePoint3d& p) { Line(L"                  at point, " + plx::db::ListPoint(p)); });
}
