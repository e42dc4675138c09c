// Polygon meshes: an M x N grid of vertices, row after row (N varies fastest), open or closed
// in each direction.
#pragma once

#include "gept3dar.h"
#include "dbvertex.h"

class AcDbPolygonMeshVertex : public AcDbVertex {
 public:
  ACRX_DECLARE_MEMBERS(AcDbPolygonMeshVertex);
  AcDbPolygonMeshVertex() = default;
  explicit AcDbPolygonMeshVertex(const AcGePoint3d& position) : position_(position) {}
  AcRxObject* clone() const override { return new AcDbPolygonMeshVertex(*this); }
  AcGePoint3d position() const { return position_; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& position);
  AcDb::Vertex3dType vertexType() const { return type_; }
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

 private:
  AcGePoint3d position_;
  AcDb::Vertex3dType type_ = AcDb::k3dSimpleVertex;
};

class AcDbPolygonMesh : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbPolygonMesh);
  AcDbPolygonMesh() = default;
  // The grid from mSize x nSize points, row after row; fewer points than that leave the rest
  // of the grid unfilled.
  AcDbPolygonMesh(AcDb::PolyMeshType type, Adesk::Int16 mSize, Adesk::Int16 nSize, const AcGePoint3dArray& vertices,
                  Adesk::Boolean mClosed = true, Adesk::Boolean nClosed = true);
  AcRxObject* clone() const override { return new AcDbPolygonMesh(*this); }

  AcDb::PolyMeshType polyMeshType() const { return type_; }
  Acad::ErrorStatus setPolyMeshType(AcDb::PolyMeshType type);
  Adesk::Int16 mSize() const { return m_; }
  Acad::ErrorStatus setMSize(Adesk::Int16 size);  // 2 to 256, else eInvalidInput
  Adesk::Int16 nSize() const { return n_; }
  Acad::ErrorStatus setNSize(Adesk::Int16 size);
  Adesk::Boolean isMClosed() const { return mClosed_; }
  Acad::ErrorStatus makeMClosed();
  Acad::ErrorStatus makeMOpen();
  Adesk::Boolean isNClosed() const { return nClosed_; }
  Acad::ErrorStatus makeNClosed();
  Acad::ErrorStatus makeNOpen();

  Acad::ErrorStatus appendVertex(AcDbPolygonMeshVertex* vertex);
  Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDbPolygonMeshVertex* vertex);
  AcDbObjectIterator* vertexIterator() const;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

  const plx::db::VertexList& Vertices() const { return vertices_; }

 protected:
  void AddOwnedObjects() override;
  void ListGeometry() const override;

 private:
  plx::db::VertexList vertices_;
  AcDb::PolyMeshType type_ = AcDb::kSimpleMesh;
  Adesk::Int16 m_ = 0, n_ = 0;
  bool mClosed_ = false, nClosed_ = false;
};
