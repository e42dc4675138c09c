// Polyface meshes: vertices, then face records of up to four 1-based vertex numbers (negative
// for a corner whose following edge is invisible, 0 in the fourth place for a triangle).
#pragma once

#include "dbvertex.h"

class AcDbPolyFaceMeshVertex : public AcDbVertex {
 public:
  ACRX_DECLARE_MEMBERS(AcDbPolyFaceMeshVertex);
  AcDbPolyFaceMeshVertex() = default;
  explicit AcDbPolyFaceMeshVertex(const AcGePoint3d& position) : position_(position) {}
  AcRxObject* clone() const override { return new AcDbPolyFaceMeshVertex(*this); }
  AcGePoint3d position() const { return position_; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& position);
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

 private:
  AcGePoint3d position_;
};

class AcDbFaceRecord : public AcDbVertex {
 public:
  ACRX_DECLARE_MEMBERS(AcDbFaceRecord);
  AcDbFaceRecord() = default;
  AcDbFaceRecord(Adesk::Int16 vtx0, Adesk::Int16 vtx1, Adesk::Int16 vtx2, Adesk::Int16 vtx3);
  AcRxObject* clone() const override { return new AcDbFaceRecord(*this); }
  // faceIndex 0 to 3; eInvalidIndex otherwise.
  Acad::ErrorStatus getVertexAt(Adesk::UInt16 faceIndex, Adesk::Int16& vertexIndex) const;
  Acad::ErrorStatus setVertexAt(Adesk::UInt16 faceIndex, Adesk::Int16 vertexIndex);
  Acad::ErrorStatus makeEdgeInvisibleAt(Adesk::UInt16 faceIndex);
  Acad::ErrorStatus makeEdgeVisibleAt(Adesk::UInt16 faceIndex);
  Acad::ErrorStatus isEdgeVisibleAt(Adesk::UInt16 faceIndex, Adesk::Boolean& visible) const;
  // A face record has no place; it moves with its vertices.
  Acad::ErrorStatus transformBy(const AcGeMatrix3d&) override { return Acad::eOk; }

 private:
  Adesk::Int16 vertices_[4] = {0, 0, 0, 0};
};

class AcDbPolyFaceMesh : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbPolyFaceMesh);
  AcDbPolyFaceMesh() = default;
  AcRxObject* clone() const override { return new AcDbPolyFaceMesh(*this); }

  // The most vertices a face record can number.
  static constexpr size_t kMaxVertices = 32767;

  // Counts of the vertices and face records that are not erased, cut to 16 bits.
  Adesk::Int16 numVertices() const;
  Adesk::Int16 numFaces() const;
  // The mesh must be open for write (eNotOpenForWrite), the vertex or record new
  // (eAlreadyInDb); the new one is the caller's to close. A vertex beyond kMaxVertices is
  // refused with eTooManyVertices. Face records are not checked against the vertex count.
  Acad::ErrorStatus appendVertex(AcDbPolyFaceMeshVertex* vertex);
  Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDbPolyFaceMeshVertex* vertex);
  Acad::ErrorStatus appendFaceRecord(AcDbFaceRecord* face);
  Acad::ErrorStatus appendFaceRecord(AcDbObjectId& id, AcDbFaceRecord* face);
  // Vertices first, then face records; the caller deletes the iterator.
  AcDbObjectIterator* vertexIterator() const;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;
  // A 3D face for every face record (a triangle repeats its third corner).
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;

  const plx::db::VertexList& Vertices() const { return vertices_; }
  const plx::db::VertexList& Faces() const { return faces_; }

 protected:
  void AddOwnedObjects() override;
  void ListGeometry() const override;

 private:
  plx::db::VertexList vertices_;
  plx::db::VertexList faces_;
};
